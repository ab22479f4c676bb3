// The main frame's part of the Entity Editor: it owns the editor, shows it (F2) and forwards the
// grid's and controls' messages to it; class colour and visibility changes redraw every map.
#include "MainFrame.h"
#include "EditorApp.h"
#include "EntityEditorDlg.h"
#include "EntityClasses.h"
#include "Map.h"

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
    if (m_pEntityEditor->IsWindowVisible()) {
        m_pEntityEditor->ShowWindow(SW_HIDE);
        return;
    }
    m_pEntityEditor->ShowWindow(SW_SHOW);
    m_pEntityEditor->SetFocus();
}

LRESULT CMainFrame::OnEntityModified(WPARAM wParam, LPARAM lParam)
{
    return m_pEntityEditor && m_pEntityEditor->m_hWnd ? m_pEntityEditor->SendMessage(WM_ENTITY_MODIFIED, wParam, lParam)
                                                      : 0;
}

LRESULT CMainFrame::OnEntityQuery(WPARAM wParam, LPARAM lParam)
{
    return m_pEntityEditor && m_pEntityEditor->m_hWnd ? m_pEntityEditor->SendMessage(WM_ENTITY_QUERY, wParam, lParam)
                                                      : 0;
}

LRESULT CMainFrame::OnEntityStylesChanged(WPARAM, LPARAM)
{
    CEditorApp* pApp = dynamic_cast<CEditorApp*>(AfxGetApp());
    CDocTemplate* pTemplate = pApp ? pApp->GetMapTemplate() : nullptr;
    if (!pTemplate)
        return 0;
    for (POSITION pos = pTemplate->GetFirstDocPosition(); pos;) {
        CDocument* pDoc = pTemplate->GetNextDoc(pos);
        if (pDoc && pDoc->IsKindOf(RUNTIME_CLASS(Map)))
            static_cast<Map*>(pDoc)->UpdateViews(HINT_DOCUMENTS);
    }
    return 0;
}

void CMainFrame::LoadProjectEntityClasses()
{
    if (m_pEntityEditor)
        m_pEntityEditor->LoadEntityClasses();
    else if (CEditorApp* pApp = dynamic_cast<CEditorApp*>(AfxGetApp()))
        LoadEntityClasses(pApp->m_entityClasses);
}
