// The editor's main window.
#include "MainFrame.h"

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style &= ~FWS_ADDTOTITLE;
    return CMDIFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    return 0;
}
