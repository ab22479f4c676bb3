#include "AppServices.h"
#include "TextureAdjustDlg.h"
#include "EditorApp.h"
#include "EntityClasses.h"
#include "EntityEditorDlg.h"
#include "MainFrame.h"
#include "Map.h"

BOOL CAppServices::HasMainFrame()
{
    return AfxGetMainWnd() != nullptr;
}

Map* CAppServices::GetActiveMap()
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return CViewServices::GetActiveMap();
    CMDIChildWnd* pChild = static_cast<CMDIFrameWnd*>(pMain)->MDIGetActive();
    CDocument* pDoc = pChild ? pChild->GetActiveDocument() : nullptr;
    Map* pMap = pDoc && pDoc->IsKindOf(RUNTIME_CLASS(Map)) ? static_cast<Map*>(pDoc) : nullptr;
    SetActiveMap(pMap);
    return pMap;
}

CString CAppServices::GetProfileString(LPCSTR section, LPCSTR key, LPCSTR def)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetProfileString(section, key, def) : CViewServices::GetProfileString(section, key, def);
}

int CAppServices::GetProfileInt(LPCSTR section, LPCSTR key, int def)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? static_cast<int>(pApp->GetProfileInt(section, key, def)) : CViewServices::GetProfileInt(section, key, def);
}

void CAppServices::WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileString(section, key, value);
    else
        CViewServices::WriteProfileString(section, key, value);
}

void CAppServices::WriteProfileInt(LPCSTR section, LPCSTR key, int value)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(section, key, value);
    else
        CViewServices::WriteProfileInt(section, key, value);
}

BOOL CAppServices::LookupEntityClass(LPCSTR name, const EntityClass*& pClass)
{
    if (!m_pEntityClasses)
        return CViewServices::LookupEntityClass(name, pClass);
    const EntityClass* rec = m_pEntityClasses->Lookup(name);
    if (!rec)
        return FALSE;
    // A class built from brushes keeps the record's default box (32 units), so a point entity of
    // it (trigger_counter with an origin) is sized without a complaint.
    pClass = rec;
    return TRUE;
}

static CEntityEditorDlg* Editor()
{
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    return pFrame ? pFrame->GetEntityEditor() : nullptr;
}

CPen* CAppServices::GetEntityPen(LPCSTR className)
{
    CEntityEditorDlg* pEditor = Editor();
    return pEditor ? pEditor->GetEntityPen(className) : CViewServices::GetEntityPen(className);
}

COLORREF CAppServices::GetEntityColor(LPCSTR className)
{
    if (CPen* pen = GetEntityPen(className)) {
        LOGPEN lp;
        if (::GetObjectA(pen->m_hObject, sizeof lp, &lp))
            return lp.lopnColor & 0x00FFFFFF;
    }
    return GetPenColor(className && lstrcmpA(className, "worldspawn") == 0 ? PEN_BRUSH : PEN_ENTITY);
}

BOOL CAppServices::HasUnappliedEntityChanges()
{
    CEntityEditorDlg* pEditor = Editor();
    return pEditor && pEditor->HasUnappliedChanges();
}

void CAppServices::ApplyEntityChanges()
{
    if (CEntityEditorDlg* pEditor = Editor())
        pEditor->Apply();
}

void CAppServices::UpdateEntityOrigin(LPCSTR origin)
{
    if (CEntityEditorDlg* pEditor = Editor())
        pEditor->UpdateOrigin(origin);
}

void CAppServices::SetCurrentEntity(Entity* pEntity)
{
    if (CEntityEditorDlg* pEditor = Editor())
        pEditor->SetEntity(pEntity);
}

int CAppServices::IsEntityVisible(LPCSTR className)
{
    CEntityEditorDlg* pEditor = Editor();
    if (pEditor && pEditor->IsReady())
        return pEditor->IsEntityVisible(className);
    if (!m_pEntityClasses)
        return CViewServices::IsEntityVisible(className);
    // Until the Entity Editor keeps its own switches, every known class (or class family) shows.
    CString name(className ? className : "");
    for (;;) {
        if (m_pEntityClasses->Lookup(name))
            return 1;
        int cut = name.ReverseFind('_');
        if (cut < 0)
            return -1;
        name = name.Left(cut);
    }
}

static CMainFrame* ShellFrame()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

void CAppServices::UpdateTextureAdjustment(Face* pFace)
{
    CMainFrame* pFrame = ShellFrame();
    if (CTextureAdjustDlg* pDlg = pFrame ? pFrame->GetTextureAdjust() : nullptr; pDlg && pDlg->m_hWnd)
        pDlg->Update(pFace);
}

void CAppServices::MapSavedAs(LPCSTR path)
{
    if (CMainFrame* pFrame = ShellFrame())
        pFrame->m_wndResourceBar.m_mapList.AddSavedMap(path);
}

void CAppServices::PrintMessage(LPCSTR text)
{
    CMainFrame* pFrame = ShellFrame();
    if (!pFrame || !pFrame->m_wndOutputBar.m_messages.m_hWnd) {
        CViewServices::PrintMessage(text);
        return;
    }
    CString line(text ? text : "");
    line += "\r\n";
    pFrame->m_wndOutputBar.PrintToTab("Messages", line);
}

void CAppServices::SetStatusAndMessage(LPCSTR text)
{
    CString line(text ? text : "");
    if (CMainFrame* pFrame = ShellFrame())
        pFrame->ShowStatus(line);
    PrintMessage(line);
}

int CAppServices::MessageBox(LPCSTR text, UINT type)
{
    if (CMainFrame* pFrame = ShellFrame())
        pFrame->ShowWaitingOutput();
    return CViewServices::MessageBox(text, type);
}

CString CAppServices::GetRememberedDirectory(int which)
{
    CEditorApp* pApp = AfxGetEditorApp();
    if (!pApp)
        return CViewServices::GetRememberedDirectory(which);
    return which == DIR_MAPS ? pApp->m_strLastMapDir : pApp->m_strLastObjectDir;
}

void CAppServices::SetRememberedDirectory(int which, LPCSTR dir)
{
    CEditorApp* pApp = AfxGetEditorApp();
    if (!pApp) {
        CViewServices::SetRememberedDirectory(which, dir);
        return;
    }
    (which == DIR_MAPS ? pApp->m_strLastMapDir : pApp->m_strLastObjectDir) = dir;
}

CDocTemplate* CAppServices::GetCameraTemplate()
{
    CEditorApp* pApp = AfxGetEditorApp();
    return pApp ? pApp->GetCameraTemplate() : nullptr;
}

void CAppServices::UpdateSelectionIndicator()
{
    if (CMainFrame* pFrame = ShellFrame())
        pFrame->UpdateSelectionIndicator();
}
