// The status bar: pane edges, the message pane, texts sent once, owner-drawn panes.
#include "DockingFixture.h"
#include "SECStatusBar.h"
#include "toolbar_test_ids.h"

using afxtest::Text;

namespace {

TEST(StatusBarPanes, StretchPanesShareTheExtraWidth)
{
    std::vector<SECStatusBar::Pane> panes(3);
    panes[0].cxText = 10;
    panes[0].nStyle = SBPS_STRETCH;
    panes[1].cxText = 20;
    panes[2].cxText = 30;
    panes[2].nStyle = SBPS_STRETCH;
    // Extra = 300 + 2 - (16 + 2 + 26 + 2 + 36 + 2) = 218: the first takes 109, the second the rest.
    EXPECT_EQ(SECStatusBar::PaneEdges(panes, 0, 300, 2), (std::vector<int>{125, 153, 300}));
    panes[0].nStyle = 0;
    EXPECT_EQ(SECStatusBar::PaneEdges(panes, 5, 300, 2), (std::vector<int>{21, 49, 305}));
    // No room: nothing stretches.
    EXPECT_EQ(SECStatusBar::PaneEdges(panes, 0, 50, 2), (std::vector<int>{16, 44, 82}));
}

// Counts what reaches the control.
WNDPROC g_pfnStatus = nullptr;
std::vector<std::pair<WPARAM, std::string>> g_setText;
LRESULT CALLBACK CountingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SB_SETTEXTA)
        g_setText.push_back({wParam, lParam != 0 ? (LPCSTR)lParam : "(null)"});
    return ::CallWindowProcA(g_pfnStatus, hWnd, message, wParam, lParam);
}

class StatusBarFrame : public docktest::DockingFrame
{
protected:
    void SetUp() override
    {
        AfxSeamSetDisplayResolution([] { return SIZE{1000, 800}; });
        DockingFrame::SetUp();
        m_pBar = new SECPaneStatusBar;
        m_pBar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(m_pBar->Create(m_pFrame));
        static const UINT s_ids[] = {0, ID_INDICATOR_A, ID_INDICATOR_B};
        ASSERT_TRUE(m_pBar->SetIndicators(s_ids, 3));
        m_pFrame->RecalcLayout();
        afxtest::PumpMessages();
        g_setText.clear();
        g_pfnStatus = (WNDPROC)::SetWindowLongPtrA(m_pBar->m_hWnd, GWLP_WNDPROC, (LONG_PTR)CountingProc);
    }
    void TearDown() override
    {
        DockingFrame::TearDown();
        AfxSeamSetDisplayResolution(nullptr);
    }
    SECPaneStatusBar* m_pBar = nullptr;
};

TEST_F(StatusBarFrame, TheMessagePaneStretchesAndTakesThePrompts)
{
    UINT nID, nStyle;
    int cx;
    m_pBar->GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_EQ(nID, 0u);
    EXPECT_EQ(nStyle & (SBPS_NOBORDERS | SBPS_STRETCH | SBT_OWNERDRAW), (UINT)(SBPS_NOBORDERS | SBPS_STRETCH | SBT_OWNERDRAW));
    EXPECT_EQ(cx, 250);     // a quarter of the display
    EXPECT_STREQ((LPCSTR)m_pBar->GetPaneText(1), "CAPS");
    EXPECT_EQ(m_pBar->CommandToIndex(ID_INDICATOR_B), 2);
    EXPECT_EQ(m_pBar->CommandToIndex(12345), -1);

    // WM_SETTEXT and WM_GETTEXT are pane 0's; the frame's prompts land there.
    EXPECT_EQ(m_pBar->SendMessage(WM_SETTEXT, 0, (LPARAM) "Ready to go"), 0);
    CString text;
    m_pBar->GetWindowText(text);
    EXPECT_STREQ((LPCSTR)text, "Ready to go");
    m_pFrame->SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM) "Working");
    EXPECT_STREQ((LPCSTR)m_pBar->GetPaneText(0), "Working");

    // The same text twice reaches the control once.
    g_setText.clear();
    EXPECT_TRUE(m_pBar->SetPaneText(1, "NUM"));
    EXPECT_TRUE(m_pBar->SetPaneText(1, "NUM"));
    ASSERT_EQ(g_setText.size(), 1u);
    EXPECT_EQ(g_setText[0].first, (WPARAM)(1 | SBT_OWNERDRAW));
    EXPECT_EQ(g_setText[0].second, "NUM");
    // Bad indexes do nothing.
    EXPECT_FALSE(m_pBar->SetPaneText(7, "x"));
    CRect rect(1, 2, 3, 4);
    m_pBar->GetPaneRect(3, &rect);
    EXPECT_TRUE(rect.IsRectNull());
    m_pBar->GetPaneRect(40, &rect);
    EXPECT_TRUE(rect.IsRectNull());
}

TEST_F(StatusBarFrame, PaneEdgesFollowTheWindowAndTheGrip)
{
    CRect rect0, rect2, rectClient;
    m_pBar->GetPaneRect(0, &rect0);
    m_pBar->GetPaneRect(2, &rect2);
    m_pBar->GetClientRect(&rectClient);
    EXPECT_EQ(rect0.left, 0);
    EXPECT_GT(rect0.Width(), 250);          // stretched
    EXPECT_LT(rect2.right, rectClient.right);   // room for the grip
    m_pFrame->ShowWindow(SW_MAXIMIZE);
    afxtest::PumpMessages();
    m_pFrame->RecalcLayout();
    m_pBar->UpdateAllPanes(TRUE, FALSE);
    m_pBar->GetPaneRect(2, &rect2);
    m_pBar->GetClientRect(&rectClient);
    EXPECT_EQ(rect2.right, rectClient.right);   // maximised: no grip
}

TEST_F(StatusBarFrame, ATallBitmapRaisesTheMinimumHeight)
{
    CBitmap bitmap;
    {
        CClientDC dc(m_pFrame);
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 30, 40));
    }
    SECPaneInfo info;
    info.nIndex = 2;
    info.pBitmap = &bitmap;
    info.nMask = SEC_PANE_BITMAP;
    m_pBar->SetPaneInfoEx(info, 3);
    EXPECT_EQ(m_pBar->GetMinHeight(), 46);
    UINT nID, nStyle;
    int cx;
    m_pBar->GetPaneInfo(2, nID, nStyle, cx);
    EXPECT_EQ(cx, 30);
    EXPECT_EQ(nID, (UINT)ID_INDICATOR_B);
    m_pFrame->RecalcLayout();
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    EXPECT_GE(rect.Height(), 46);
}

TEST_F(StatusBarFrame, OwnerDrawnTextIsPlacedByItsAlignment)
{
    SECPaneInfo info;
    info.nIndex = 1;
    info.strText = "W";
    info.nAlign = TA_RIGHT;
    info.clrText = RGB(255, 0, 0);
    info.clrBk = RGB(0, 0, 255);
    info.nMask = SEC_PANE_TEXT | SEC_PANE_ALIGN | SEC_PANE_TEXTCOLOR | SEC_PANE_BKCOLOR;
    m_pBar->SetPaneInfoEx(info);
    // Draw into a bitmap: the background fills the pane, the text ends one pixel from the right.
    CClientDC dcScreen(m_pBar);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&dcScreen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dcScreen, 100, 20));
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 100, 20, RGB(255, 255, 255));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_STATIC;
    dis.itemID = 1;
    dis.hDC = dc.m_hDC;
    dis.rcItem = CRect(0, 0, 100, 20);
    m_pBar->DrawItem(&dis);
    EXPECT_EQ(dc.GetPixel(2, 10), RGB(0, 0, 255));
    int nRightmostRed = -1, nLeftmostRed = 100;
    for (int x = 0; x < 100; x++)
        for (int y = 0; y < 20; y++)
            if (dc.GetPixel(x, y) == RGB(255, 0, 0)) {
                nRightmostRed = std::max(nRightmostRed, x);
                nLeftmostRed = std::min(nLeftmostRed, x);
            }
    EXPECT_GT(nLeftmostRed, 70);
    EXPECT_LE(nRightmostRed, 98);
    dc.SelectObject(pOld);
}

} // namespace
