// The docking library's test fixture.
#include "DockingFixture.h"

namespace docktest {

void DockingFrame::MakeFrame()
{
    m_pFrame = new CTestMainFrame;
    ASSERT_TRUE(m_pFrame->LoadFrame(IDR_DOCK_MAIN, WS_OVERLAPPEDWINDOW));
    m_pFrame->SetWindowPos(nullptr, 60, 40, 820, 620, SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->ShowWindow(SW_SHOW);
    m_pFrame->RecalcLayout();
    afxtest::PumpMessages();
}

void DockingFrame::DestroyFrame()
{
    if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
        m_pFrame->DestroyWindow();
    m_pFrame = nullptr;
    afxtest::PumpMessages();
    afxtest::DrainQuit();
}

SECControlBar* DockingFrame::AddBar(UINT nID, LPCSTR lpszTitle, DWORD dwExStyle)
{
    auto* pBar = new SECControlBar;
    pBar->m_bAutoDelete = TRUE;
    EXPECT_TRUE(pBar->Create(m_pFrame, lpszTitle, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS,
                             dwExStyle, nID));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}

SECDockBar* DockingFrame::Side(UINT nID)
{
    return dynamic_cast<SECDockBar*>(m_pFrame->GetControlBar(nID));
}

CRect DockingFrame::FrameClient()
{
    CRect rect;
    m_pFrame->GetClientRect(&rect);
    return rect;
}

CRect DockingFrame::MDIClientRect()
{
    CRect rect;
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &rect);
    m_pFrame->ScreenToClient(&rect);
    return rect;
}

CRect DockingFrame::RectIn(CWnd* pWnd, CWnd* pParent)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    return rect;
}

CRect DockingFrame::ScreenRect(CWnd* pWnd)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return rect;
}

std::vector<std::vector<UINT>> DockingFrame::Rows(CDockBar* pDockBar)
{
    std::vector<std::vector<UINT>> rows;
    std::vector<UINT> row;
    for (int i = 1; i < pDockBar->m_arrBars.GetSize(); i++) {
        void* p = pDockBar->m_arrBars[i];
        if (p == nullptr) {
            if (!row.empty())
                rows.push_back(row);
            row.clear();
        }
        else if (AfxIsDockPlaceholder(p))
            row.push_back(AfxDockPlaceholderID(p) | 0x10000);
        else
            row.push_back((UINT)::GetDlgCtrlID(static_cast<CControlBar*>(p)->m_hWnd));
    }
    return rows;
}

CRect DockingFrame::ButtonRect(SECControlBar* pBar, BOOL bHide)
{
    pBar->UpdateWindow();
    CRect rect = bHide ? pBar->m_rectClose : pBar->m_rectExpand;
    pBar->ClientToScreen(&rect);
    return rect;
}

bool DockingFrame::CaptionPoint(CWnd* pFrame, CPoint& pt)
{
    CRect rect;
    pFrame->GetWindowRect(&rect);
    for (int y = rect.top; y < rect.top + 30; y++) {
        for (int x = rect.left + 4; x < rect.right; x++) {
            if (pFrame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCAPTION &&
                pFrame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x + 4, y)) == HTCAPTION) {
                pt = CPoint(x + 2, y);
                return true;
            }
        }
    }
    return false;
}

void DockingFrame::Layout()
{
    m_pFrame->RecalcLayout();
    afxtest::PumpMessages();
}

} // namespace docktest
