// The rectangle tracker: its handles and the modal loop driven by synthesized input.
#include "afxtest.h"
#include "afxwndtest.h"
#include "afxtrack.h"

namespace {

TEST(RectTracker, HandlesAreHitWhereTheyAreDrawn)
{
    CRectTracker tracker(CRect(50, 50, 150, 130), CRectTracker::resizeOutside | CRectTracker::solidLine);
    // Handles of 4 pixels outside the line around the rectangle.
    struct Case
    {
        CPoint pt;
        int nHit;
    } cases[] = {
        {CPoint(46, 46), CRectTracker::hitTopLeft},     {CPoint(153, 46), CRectTracker::hitTopRight},
        {CPoint(153, 133), CRectTracker::hitBottomRight}, {CPoint(46, 133), CRectTracker::hitBottomLeft},
        {CPoint(100, 46), CRectTracker::hitTop},          {CPoint(153, 90), CRectTracker::hitRight},
        {CPoint(100, 133), CRectTracker::hitBottom},      {CPoint(46, 90), CRectTracker::hitLeft},
        {CPoint(100, 90), CRectTracker::hitMiddle},       {CPoint(30, 30), CRectTracker::hitNothing},
        {CPoint(70, 46), CRectTracker::hitNothing},     // between two handles, outside the line
    };
    for (const Case& c : cases)
        EXPECT_EQ(tracker.HitTest(c.pt), c.nHit) << afxtest::Text(c.pt);
    // A rectangle turned inside out swaps its handles.
    tracker.m_rect.SetRect(150, 50, 50, 130);
    EXPECT_EQ(tracker.NormalizeHit(CRectTracker::hitTopLeft), (int)CRectTracker::hitTopRight);
}

TEST(RectTracker, TrackingMovesAndSizesAndEscapeRestores)
{
    afxtest::TrackingWnd<CRectTracker> wnd(CRect(50, 50, 150, 130),
                                           CRectTracker::resizeOutside | CRectTracker::solidLine);
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1)),
                             "tracker", WS_POPUP | WS_VISIBLE, 200, 200, 400, 300, nullptr, nullptr));
    ASSERT_TRUE(afxtest::Activate(&wnd));
    CPoint origin(0, 0);
    wnd.ClientToScreen(&origin);
    auto screen = [&](int x, int y) { return CPoint(origin.x + x, origin.y + y); };

    // The bottom-right handle dragged by (30, 20).
    ASSERT_TRUE(afxtest::Drag(screen(153, 133), screen(183, 153)));
    EXPECT_TRUE(wnd.m_bChanged);
    EXPECT_EQ(afxtest::Text(wnd.m_tracker.m_rect), afxtest::Text(CRect(50, 50, 180, 150)));

    // Dragged past the opposite corner without inversion: the minimum size stays.
    ASSERT_TRUE(afxtest::Drag(screen(183, 153), screen(20, 20)));
    EXPECT_EQ(afxtest::Text(wnd.m_tracker.m_rect), afxtest::Text(CRect(50, 50, 58, 58)));

    // Moved from the middle, then a move cancelled by Escape.
    wnd.m_tracker.m_rect.SetRect(50, 50, 150, 130);
    ASSERT_TRUE(afxtest::Drag(screen(100, 90), screen(140, 100)));
    EXPECT_EQ(afxtest::Text(wnd.m_tracker.m_rect), afxtest::Text(CRect(90, 60, 190, 140)));
    afxtest::InputScript script;
    script.MoveTo(screen(120, 100)).Down().MoveInSteps(screen(200, 200), 3).Key(VK_ESCAPE).Up();
    ASSERT_TRUE(script.Run());
    EXPECT_FALSE(wnd.m_bChanged);
    EXPECT_EQ(afxtest::Text(wnd.m_tracker.m_rect), afxtest::Text(CRect(90, 60, 190, 140)));
    EXPECT_EQ(::GetCapture(), nullptr);
    wnd.DestroyWindow();
}

} // namespace
