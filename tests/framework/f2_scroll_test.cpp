// Scrolling views: bars, scroll codes, positions and the mode without scroll bars.
#include "afxtest.h"

namespace {

class CCanvasView : public CScrollView
{
    DECLARE_DYNCREATE(CCanvasView)
public:
    CPoint m_ptPaintOrigin;
    int m_nPaints = 0;
    int m_nSizes = 0;
    void OnSize(UINT nType, int cx, int cy)
    {
        ++m_nSizes;
        CScrollView::OnSize(nType, cx, cy);
    }
    DECLARE_MESSAGE_MAP()
    void OnDraw(CDC* pDC) override
    {
        m_ptPaintOrigin = pDC->GetViewportOrg();
        ++m_nPaints;
    }
};
IMPLEMENT_DYNCREATE(CCanvasView, CScrollView)
BEGIN_MESSAGE_MAP(CCanvasView, CScrollView)
    ON_WM_SIZE()
END_MESSAGE_MAP()

// A borderless frame whose one scrolling view (made from the creation context) fills it: the
// view's client area is 300 x 200 before any bar takes room.
class ScrollFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CCanvasView);
        ASSERT_TRUE(m_pFrame->Create(nullptr, "scroll", WS_POPUP | WS_VISIBLE, CRect(0, 0, 304, 204), nullptr,
                                     nullptr, 0, &context));
        m_pView = dynamic_cast<CCanvasView*>(m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        ASSERT_NE(m_pView, nullptr);
        ASSERT_EQ(Client(), CSize(300, 200));
    }
    void TearDown() override
    {
        if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr)
            m_pFrame->DestroyWindow();
    }
    void Resize(int cx, int cy)
    {
        m_pFrame->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    CSize Client() const
    {
        CRect rect;
        m_pView->GetClientRect(&rect);
        return rect.Size();
    }
    BOOL HasBar(DWORD dwStyle) const { return (m_pView->GetStyle() & dwStyle) != 0; }
    CPoint Origin() const
    {
        CClientDC dc(m_pView);
        m_pView->OnPrepareDC(&dc);
        return dc.GetViewportOrg();
    }

    CFrameWnd* m_pFrame = nullptr;
    CCanvasView* m_pView = nullptr;
};

TEST_F(ScrollFixture, BarsAppearWhereTheCanvasIsLargerAndEachBarTakesRoomFromTheOther)
{
    struct Case
    {
        int cx, cy;
        BOOL bHorz, bVert;
    };
    int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
    int cyBar = ::GetSystemMetrics(SM_CYHSCROLL);
    const Case cases[] = {
        {1000, 150, TRUE, FALSE},
        {1000, 200 - cyBar + 1, TRUE, TRUE},    // the horizontal bar makes a vertical one needed
        {250, 1000, FALSE, TRUE},
        {300 - cxBar + 1, 1000, TRUE, TRUE},
        {300, 200, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << " x " << c.cy);
        m_pView->SetScrollSizes(MM_TEXT, CSize(c.cx, c.cy));
        EXPECT_EQ(HasBar(WS_HSCROLL), c.bHorz);
        EXPECT_EQ(HasBar(WS_VSCROLL), c.bVert);
        EXPECT_EQ(Client(), CSize(300 - (c.bVert ? cxBar : 0), 200 - (c.bHorz ? cyBar : 0)));
        EXPECT_EQ(m_pView->GetTotalSize(), CSize(c.cx, c.cy));
        if (c.bHorz) {
            SCROLLINFO si = {sizeof si};
            ASSERT_TRUE(m_pView->GetScrollInfo(SB_HORZ, &si, SIF_ALL));
            EXPECT_EQ(si.nMax, c.cx - 1);
            EXPECT_EQ((int)si.nPage, Client().cx);
        }
    }
}

TEST_F(ScrollFixture, BothBarsComingOrGoingTogetherResizeTheViewOnce)
{
    int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
    int cyBar = ::GetSystemMetrics(SM_CYHSCROLL);
    m_pView->m_nSizes = 0;
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 1000));
    EXPECT_TRUE(HasBar(WS_HSCROLL) && HasBar(WS_VSCROLL));
    EXPECT_EQ(Client(), CSize(300 - cxBar, 200 - cyBar));
    EXPECT_EQ(m_pView->m_nSizes, 1);
    m_pView->SetScrollSizes(MM_TEXT, CSize(100, 100));
    EXPECT_FALSE(HasBar(WS_HSCROLL) || HasBar(WS_VSCROLL));
    EXPECT_EQ(Client(), CSize(300, 200));
    EXPECT_EQ(m_pView->m_nSizes, 2);
}

TEST_F(ScrollFixture, ScrollCodesMoveWithinTheRangeAndTheOriginFollows)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 800), CSize(100, 80), CSize(10, 8));
    int nMaxY = 800 - Client().cy;
    struct Step
    {
        UINT nCode;
        UINT nPos;
        int y;
    };
    const Step steps[] = {
        {SB_LINEDOWN, 0, 8},  {SB_PAGEDOWN, 0, 88}, {SB_THUMBPOSITION, 500, 500}, {SB_LINEUP, 0, 492},
        {SB_BOTTOM, 0, nMaxY}, {SB_LINEDOWN, 0, nMaxY}, {SB_PAGEUP, 0, nMaxY - 80}, {SB_TOP, 0, 0},
        {SB_LINEUP, 0, 0},
    };
    for (const Step& step : steps) {
        m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(step.nCode, step.nPos));
        EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(0, step.y)) << "code " << step.nCode;
        EXPECT_EQ(m_pView->GetScrollPos(SB_VERT), step.y);
    }
    m_pView->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0));
    m_pView->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(110, 0));

    // Positions outside the range are brought into it; the drawing origin is minus the position.
    m_pView->ScrollToPosition(CPoint(5000, -5));
    CPoint ptMax(1000 - Client().cx, 0);
    EXPECT_EQ(m_pView->GetScrollPosition(), ptMax);
    EXPECT_EQ(Origin(), CPoint(-ptMax.x, 0));
    EXPECT_FALSE(m_pView->OnScrollBy(CSize(20, 0)));
    EXPECT_TRUE(m_pView->OnScrollBy(CSize(-20, 30)));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(ptMax.x - 20, 30));
    EXPECT_EQ(m_pView->GetScrollPos(SB_HORZ), ptMax.x - 20);
    // Asking only whether it would move changes nothing.
    EXPECT_TRUE(m_pView->OnScrollBy(CSize(0, 10), FALSE));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(ptMax.x - 20, 30));
}

TEST_F(ScrollFixture, ResizingKeepsThePositionInsideTheNewRange)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 800));
    m_pView->ScrollToPosition(CPoint(5000, 5000));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(1000 - Client().cx, 800 - Client().cy));

    Resize(504, 404);   // larger window: the largest position shrinks
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(1000 - Client().cx, 800 - Client().cy));
    Resize(1104, 904);  // everything fits: no bars, back at the origin
    EXPECT_FALSE(HasBar(WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(0, 0));
    Resize(304, 204);
    EXPECT_TRUE(HasBar(WS_HSCROLL));
    EXPECT_TRUE(HasBar(WS_VSCROLL));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(0, 0));
}

TEST_F(ScrollFixture, WithoutScrollBarsThePositionStaysInTheView)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(1000, 800));
    m_pView->SetShowScrollBars(FALSE);
    EXPECT_FALSE(HasBar(WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(Client(), CSize(300, 200));

    m_pView->ScrollToPosition(CPoint(400, 300));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(400, 300));
    EXPECT_TRUE(m_pView->OnScrollBy(CSize(-50, -50)));     // a pan with the right button
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(350, 250));
    m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(350, 258));

    m_pView->SetScrollSizes(MM_TEXT, CSize(1200, 900));
    Resize(404, 304);
    EXPECT_FALSE(HasBar(WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(350, 258));
    EXPECT_EQ(Origin(), CPoint(-350, -258));
    // Painting draws with the same origin.
    m_pView->m_nPaints = 0;
    m_pView->Invalidate();
    m_pView->UpdateWindow();
    EXPECT_EQ(m_pView->m_nPaints, 1);
    EXPECT_EQ(m_pView->m_ptPaintOrigin, CPoint(-350, -258));
    Resize(1004, 704);
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(200, 200));
}

TEST_F(ScrollFixture, SizesSetWhileTheHandleIsHiddenShowNoBars)
{
    // The view's owner may set the sizes with the window handle hidden from the scroll code:
    // nothing but the sizes change, and the view scrolls by code afterwards.
    HWND hWnd = m_pView->m_hWnd;
    m_pView->m_hWnd = nullptr;
    m_pView->SetScrollSizes(MM_TEXT, CSize(3072, 3072));
    m_pView->m_hWnd = hWnd;
    EXPECT_FALSE(HasBar(WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(m_pView->GetTotalSize(), CSize(3072, 3072));
    m_pView->ScrollToPosition(CPoint(1536 - 150, 1536 - 100));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(1386, 1436));
}

} // namespace
