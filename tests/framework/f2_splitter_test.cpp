// Static splitters: pane layout, split bar dragging, active panes and commands from panes.
#include "afxtest.h"
#include "f2_test_ids.h"

namespace {

class CPaneView : public CView
{
    DECLARE_DYNCREATE(CPaneView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

class CSplitHost : public CFrameWnd
{
public:
    int m_nPaneCommands = 0;
    void OnPaneCommand() { ++m_nPaneCommands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSplitHost, CFrameWnd)
    ON_COMMAND(ID_F2_PANE_CMD, OnPaneCommand)
END_MESSAGE_MAP()

// A splitter whose bars cannot be dragged: the mouse goes straight to the default handling.
class CFixedSplitter : public CSplitterWnd
{
public:
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFixedSplitter, CSplitterWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

// A borderless 300 x 200 frame holding a 1 x 2 splitter of two views.
template <class TSplitter> class SplitterFixtureT : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CSplitHost;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "split", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200)));
        ASSERT_TRUE(m_splitter.CreateStatic(m_pFrame, 1, 2));
        ASSERT_TRUE(m_splitter.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(100, 1), nullptr));
        ASSERT_TRUE(m_splitter.CreateView(0, 1, RUNTIME_CLASS(CPaneView), CSize(1, 1), nullptr));
        m_splitter.SetColumnInfo(0, 100, 20);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        if (m_pFrame->m_hWnd != nullptr)
            m_pFrame->DestroyWindow();
    }
    int Column(int col)
    {
        int cxCur, cxMin;
        m_splitter.GetColumnInfo(col, cxCur, cxMin);
        return cxCur;
    }
    CRect PaneRect(int col)
    {
        CRect rect;
        m_splitter.GetPane(0, col)->GetWindowRect(&rect);
        m_splitter.ScreenToClient(&rect);
        return rect;
    }
    void Drag(int xFrom, int xTo)
    {
        m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xFrom, 50));
        m_splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(xTo, 50));
        m_splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(xTo, 50));
    }

    CSplitHost* m_pFrame = nullptr;
    TSplitter m_splitter;
};
using SplitterFixture = SplitterFixtureT<CSplitterWnd>;
using FixedSplitterFixture = SplitterFixtureT<CFixedSplitter>;

TEST_F(SplitterFixture, PanesTakeTheirIdealSizesAndTheLastColumnTheRest)
{
    EXPECT_EQ(m_splitter.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(m_splitter.GetRowCount(), 1);
    EXPECT_EQ(m_splitter.GetColumnCount(), 2);
    EXPECT_EQ(m_splitter.IdFromRowCol(1, 2), AFX_IDW_PANE_FIRST + 18);
    EXPECT_EQ(m_splitter.GetPane(0, 1)->GetDlgCtrlID(), AFX_IDW_PANE_FIRST + 1);
    EXPECT_EQ(m_splitter.GetPane(1, 0), nullptr);

    // Two-pixel borders round each pane and a seven-pixel bar between them.
    struct Case
    {
        int nIdeal, cx0, cx1;
    };
    const Case cases[] = {{239, 239, 50}, {100, 100, 189}, {500, 296, 0}, {0, 0, 289}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nIdeal);
        m_splitter.SetColumnInfo(0, c.nIdeal, 0);
        m_splitter.RecalcLayout();
        EXPECT_EQ(Column(0), c.cx0);
        EXPECT_EQ(Column(1), c.cx1);
        EXPECT_EQ(PaneRect(0), CRect(2, 2, 2 + c.cx0, 198));
        EXPECT_EQ(PaneRect(1).left, 2 + c.cx0 + 7);
        EXPECT_EQ(PaneRect(1).Width(), c.cx1);
    }

    // The bar is painted in the button face.
    m_splitter.SetColumnInfo(0, 100, 0);
    m_splitter.RecalcLayout();
    m_splitter.UpdateWindow();
    {
        CClientDC dc(&m_splitter);
        EXPECT_EQ(dc.GetPixel(2 + 100 + 3, 100), ::GetSysColor(COLOR_BTNFACE));
    }

    // A resized frame lays the splitter out again.
    m_splitter.SetColumnInfo(0, 100, 0);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 400, 100, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_EQ(Column(1), 400 - 4 - 7 - 100);
    EXPECT_EQ(PaneRect(0).Height(), 96);
}

TEST_F(SplitterFixture, TheBarFollowsADragButNotBelowTheMinimum)
{
    ASSERT_EQ(Column(0), 100);
    Drag(105, 155);     // taken 3 pixels into the bar, which starts at 102
    EXPECT_EQ(Column(0), 150);
    EXPECT_EQ(::GetCapture(), nullptr);
    Drag(155, 10);
    EXPECT_EQ(Column(0), 20);
    Drag(60, 200);      // inside a pane: nothing moves
    EXPECT_EQ(Column(0), 20);
}

TEST_F(FixedSplitterFixture, ADerivedMapLeavingTheMouseToDefaultFixesTheBars)
{
    Drag(105, 155);
    EXPECT_EQ(Column(0), 100);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(SplitterFixture, ActivePanesAreTheFramesActiveViewAndCommandsReachTheFrame)
{
    int row = -1, col = -1;
    EXPECT_EQ(m_splitter.GetActivePane(&row, &col), nullptr);
    m_splitter.SetActivePane(0, 1);
    CWnd* pPane = m_splitter.GetPane(0, 1);
    EXPECT_EQ(m_pFrame->GetActiveView(), pPane);
    EXPECT_EQ(m_splitter.GetActivePane(&row, &col), pPane);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 1);
    EXPECT_TRUE(m_splitter.IsChildPane(pPane, &row, &col));
    EXPECT_FALSE(m_splitter.IsChildPane(m_pFrame, &row, &col));
    EXPECT_EQ(CView::GetParentSplitter(pPane, FALSE), &m_splitter);
    EXPECT_EQ(CView::GetParentSplitter(&m_splitter, TRUE), nullptr);

    // A pane's command or notification goes to the splitter, which passes it to the frame.
    EXPECT_EQ(m_splitter.SendMessage(WM_COMMAND, ID_F2_PANE_CMD, 0), 1);
    EXPECT_EQ(m_pFrame->m_nPaneCommands, 1);
}

} // namespace
