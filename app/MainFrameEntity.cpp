// The main frame's part of the Entity Editor: it owns the editor, shows it (F2) and loads the
// project's classes through it.
#include "MainFrame.h"
#include "EditorApp.h"
#include "EntityEditorDlg.h"
#include "EntityClasses.h"

void CMainFrame::CreateEntityEditor()
{
    CEditorApp* pApp = dynamic_cast<CEditorApp*>(AfxGetApp());
    if (!pApp || m_pEntityEditor)
        return;
    m_pEntityEditor.reset(new CEntityEditorDlg(pApp->m_entityClasses, this));
    if (!m_pEntityEditor->Create())
        m_pEntityEditor.reset();
}

void CMainFrame::OnEntityEditor()
{
    if (!m_pEntityEditor)
        CreateEntityEditor();
    if (!m_pEntityEditor || !m_pEntityEditor->m_hWnd)
        return;
    m_pEntityEditor->ShowWindow(SW_SHOW);
    m_pEntityEditor->SetFocus();
}

void CMainFrame::LoadProjectEntityClasses()
{
    if (m_pEntityEditor)
        m_pEntityEditor->LoadEntityClasses();
    else if (CEditorApp* pApp = dynamic_cast<CEditorApp*>(AfxGetApp()))
        LoadEntityClasses(pApp->m_entityClasses);
}
