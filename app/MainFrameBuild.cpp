// The main frame's Build command and user tools: the commands, their completion messages, the
// Tools menu's tool entries and the "Tools" settings.
#include "MainFrame.h"
#include "../res/resource.h"
#include "AppServices.h"
#include "Map.h"

namespace {

// The active map window's map (null when none is active); the services remember it as the
// frame's active map.
Map* ActiveMap()
{
    CEditorServices* services = GetEditorServices();
    return services != nullptr ? services->GetActiveMap() : nullptr;
}

} // namespace

void CMainFrame::OnBuild()
{
    m_buildCommand.SetNotifyWindow(m_hWnd);
    m_buildCommand.OnBuild(ActiveMap());
}

void CMainFrame::OnUpdateBuild(CCmdUI* pCmdUI)
{
    m_buildCommand.OnUpdateBuild(pCmdUI, ActiveMap() != nullptr);
}

LRESULT CMainFrame::OnBuildStep(WPARAM wParam, LPARAM lParam)
{
    m_buildCommand.OnBuildStep(wParam, lParam);
    return 0;
}

void CMainFrame::OnUserTool(UINT nID)
{
    CStringList macros;
    ExpandToolVariables(GatherToolMacroValues(ActiveMap()), macros);
    m_userTools.SetNotifyWindow(m_hWnd);
    m_userTools.OnUserTool(nID, macros);
}

void CMainFrame::OnUpdateUserTool(CCmdUI* pCmdUI)
{
    m_userTools.OnUpdateUserTool(pCmdUI);
}

LRESULT CMainFrame::OnToolProcessFinished(WPARAM wParam, LPARAM lParam)
{
    m_userTools.OnToolProcessFinished(wParam, lParam);
    return 0;
}

void CMainFrame::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu)
{
    // The Tools pop-up of whichever menu the frame shows (its own or a map window's), found by
    // what it holds: a maximised map window's system menu shifts the places.
    if (!bSysMenu && pMenu != nullptr) {
        CMenu* pTools = FindToolsMenu(GetMenu());
        if (pTools != nullptr && pTools->m_hMenu == pMenu->m_hMenu)
            m_userTools.BuildMenu(pMenu);
    }
    SECMDIFrameWnd::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
}

void CMainFrame::LoadUserTools()
{
    m_userTools.SetNotifyWindow(m_hWnd);
    m_buildCommand.SetNotifyWindow(m_hWnd);
    if (CWinApp* pApp = AfxGetApp())
        m_userTools.Load(*pApp);
}

void CMainFrame::SaveUserTools()
{
    if (CWinApp* pApp = AfxGetApp())
        m_userTools.Save(*pApp);
}

void CMainFrame::StopAllRuns()
{
    m_buildCommand.Stop();
    m_userTools.StopAll();
}
