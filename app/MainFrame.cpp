// The editor's main window.
#include "MainFrame.h"
#include "../res/resource.h"
#include "EditorApp.h"

IMPLEMENT_DYNAMIC(CMainFrame, SECMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, SECMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

const char CMainFrame::szBarState[] = "ToolBarState";

CMainFrame::CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style &= ~FWS_ADDTOTITLE;
    // Where the window was when the editor last ended (checked against the screen at start).
    if (CEditorApp* pApp = dynamic_cast<CEditorApp*>(AfxGetApp()); pApp && !pApp->m_rcMain.IsRectEmpty()) {
        cs.x = pApp->m_rcMain.left;
        cs.y = pApp->m_rcMain.top;
        cs.cx = pApp->m_rcMain.Width();
        cs.cy = pApp->m_rcMain.Height();
    }
    return SECMDIFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (SECMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);

    // The Output window: docked at the left, it may dock left or right.
    if (!m_wndOutputBar.Create(this, "Output Window",
                               WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                               CBRS_EX_EXPANDBUTTON | CBRS_EX_HIDEBUTTON | CBRS_EX_GRIPPER | CBRS_EX_FLATLOOK |
                                   CBRS_EX_MDIFLOAT | CBRS_EX_BORDERSPACE | CBRS_EX_CONTEXTMENU,
                               IDW_OUTPUT_WINDOW))
        return -1;
    m_wndOutputBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBarEx(&m_wndOutputBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);

    EnableGradientCaption(TRUE, TRUE);
    // Where the user left the bars last time.
    LoadBarState(szBarState);
    return 0;
}

void CMainFrame::OnClose()
{
    SaveBarState(szBarState);
    // The window's state for the next start (written at exit).
    if (CEditorApp* pApp = dynamic_cast<CEditorApp*>(AfxGetApp())) {
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        if (::GetWindowPlacement(m_hWnd, &wp)) {
            pApp->m_rcMain = wp.rcNormalPosition;
            pApp->m_bMaximized = wp.showCmd == SW_SHOWMAXIMIZED || IsZoomed();
        }
    }
    SECMDIFrameWnd::OnClose();
}
