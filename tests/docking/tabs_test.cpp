// Tab windows: tab records, the 2D strip's geometry and buttons, the 2D window's shared scroll
// bars and sizer, the 3D strip's layout, tips and clicks. Real windows under the test main.
#include "afxtest.h"
#include "afxwndtest.h"
#include "SEC3DTabWnd.h"
#include "SECTabWnd.h"
#include "afxdc.h"
#include "afxframe.h"
#include "afxview.h"
#include <vector>

using afxtest::Text;

namespace {

// A top-level window that records what its tab window tells it.
class CSpyWnd : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> m_msgs;
    BOOL Make(BOOL bVisible, CRect rect = CRect(40, 40, 640, 440))
    {
        return CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                        "Tabs", WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | (bVisible ? WS_VISIBLE : 0),
                        rect.left, rect.top, rect.Width(), rect.Height(), nullptr, nullptr);
    }
    int Count(UINT nMsg) const
    {
        int n = 0;
        for (auto& m : m_msgs)
            n += m.first == nMsg;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SEC_TCM_TABSEL || message == SEC_TCM_TABDBLCLK || message == SEC_TCM_TABSELCLR)
            m_msgs.push_back({message, wParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

LPARAM Pt(int x, int y)
{
    return MAKELPARAM(x, y);
}

// ---- Tab records ------------------------------------------------------------------------------

struct Strip
{
    CSpyWnd spy;
    SECTabControlBase ctrl;
    Strip(int nTabs)
    {
        EXPECT_TRUE(spy.Make(FALSE));
        EXPECT_TRUE(ctrl.Create(0, CRect(0, 0, 100, 20), &spy, SEC_IDW_TABCTRL));
        for (int i = 0; i < nTabs; i++)
            ctrl.AddTab(CString("t") + char('0' + i), nullptr, i, 0);
    }
    ~Strip() { spy.DestroyWindow(); }
    // The label of the active tab, "-" when none; selected tabs' labels in order.
    std::string Active() const
    {
        int n;
        return ctrl.GetActiveTab(n) ? std::string(ctrl.GetTab(n)->m_csLabel) : "-";
    }
    std::string Selected() const
    {
        std::string s;
        for (int i = 0; i < ctrl.GetTabCount(); i++)
            if (ctrl.GetTab(i)->m_bSelected)
                s += ctrl.GetTab(i)->m_csLabel;
        return s;
    }
};

TEST(TabRecords, InsertingAndRemovingKeepTheActiveTabOnItsRecord)
{
    {
        SECTabControlBase ctrl;
        EXPECT_EQ(ctrl.GetTabCount(), 0);
        SECTabWndBase wnd;
        EXPECT_EQ(wnd.GetTabCount(), 0);
        EXPECT_EQ(wnd.GetActiveTab(), nullptr);
    }
    struct Case
    {
        const char* name;
        int nActivate;
        std::function<void(SECTabControlBase&)> op;
        const char* active;
        const char* selected;
        int nCount;
    };
    const Case cases[] = {
        {"insert before", 2, [](SECTabControlBase& c) { c.InsertTab(0, "new"); }, "t2", "t2", 5},
        {"insert at", 2, [](SECTabControlBase& c) { c.InsertTab(2, "new"); }, "t2", "t2", 5},
        {"insert after", 2, [](SECTabControlBase& c) { c.InsertTab(3, "new"); }, "t2", "t2", 5},
        {"insert clamped", 2, [](SECTabControlBase& c) { c.InsertTab(-5, "new"); }, "t2", "t2", 5},
        {"remove before", 2, [](SECTabControlBase& c) { c.DeleteTab(0); }, "t2", "t2", 3},
        {"remove after", 2, [](SECTabControlBase& c) { c.DeleteTab(3); }, "t2", "t2", 3},
        {"remove active", 2, [](SECTabControlBase& c) { c.DeleteTab(2); }, "t3", "t3", 3},
        {"remove active last", 3, [](SECTabControlBase& c) { c.DeleteTab(3); }, "t2", "t2", 3},
        {"bad indices", 1,
         [](SECTabControlBase& c) {
             EXPECT_FALSE(c.DeleteTab(4));
             EXPECT_FALSE(c.DeleteTab(-1));
             EXPECT_FALSE(c.RenameTab(4, "x"));
             EXPECT_FALSE(c.ActivateTab(-1));
             EXPECT_FALSE(c.SelectTab(4));
             EXPECT_FALSE(c.ScrollToTab(9));
             EXPECT_FALSE(c.InvalidateTab(-2));
             EXPECT_EQ(c.GetTab(4), nullptr);
             CString s;
             BOOL b = 7;
             CObject* p = nullptr;
             DWORD_PTR d1 = 9, d2 = 9;
             EXPECT_FALSE(c.GetTabInfo(4, s, b, p, d1, d2));
             EXPECT_EQ(b, 7);
             EXPECT_EQ(d1, 9u);
         },
         "t1", "t1", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Strip s(4);
        s.ctrl.ActivateTab(c.nActivate);
        c.op(s.ctrl);
        EXPECT_EQ(s.Active(), c.active);
        EXPECT_EQ(s.Selected(), c.selected);
        EXPECT_EQ(s.ctrl.GetTabCount(), c.nCount);
    }
}

TEST(TabRecords, TheOnlyTabRemovedLeavesNoneAndLookupsFindTheLaterDuplicate)
{
    Strip s(0);
    SECTab client, other;
    s.ctrl.AddTab("a", &client);
    s.ctrl.ActivateTab(0);
    EXPECT_TRUE(s.ctrl.DeleteTab(0));
    EXPECT_EQ(s.Active(), "-");
    EXPECT_EQ(s.ctrl.GetTabCount(), 0);

    s.ctrl.AddTab("a", &client);
    s.ctrl.AddTab("b", &other);
    s.ctrl.AddTab("c", &client);
    int n = -1;
    EXPECT_TRUE(s.ctrl.FindTab(&client, n));
    EXPECT_EQ(n, 2);
    EXPECT_FALSE(s.ctrl.FindTab(nullptr, n));

    // Activating the active tab again tells the parent nothing; a bad wParam does nothing.
    s.spy.m_msgs.clear();
    s.ctrl.ActivateTab(1);
    s.ctrl.ActivateTab(1);
    EXPECT_EQ(s.spy.Count(SEC_TCM_TABSEL), 1);
    s.ctrl.ClearSelection();
    EXPECT_EQ(s.Active(), "-");
    EXPECT_EQ(s.Selected(), "");
    EXPECT_EQ(s.spy.Count(SEC_TCM_TABSELCLR), 1);
}

// ---- 2D strip ---------------------------------------------------------------------------------

struct Strip2D
{
    CSpyWnd spy;
    SECTabControl ctrl;
    // A strip of the given width with all four buttons and tabs of the given widths.
    Strip2D(int nWidth, std::vector<int> widths, DWORD dwButtonStyle = 2)
    {
        EXPECT_TRUE(spy.Make(FALSE));
        EXPECT_TRUE(ctrl.Create(dwButtonStyle, CRect(0, 0, nWidth, 18), &spy, SEC_IDW_TABCTRL));
        for (size_t i = 0; i < widths.size(); i++)
            ctrl.AddTab("tab");
        SetWidths(widths);
    }
    void SetWidths(const std::vector<int>& widths)
    {
        for (size_t i = 0; i < widths.size(); i++)
            ctrl.GetTab((int)i)->m_nWidth = widths[i];
    }
    ~Strip2D() { spy.DestroyWindow(); }
    std::string Poly(int i)
    {
        POINT pts[4];
        ctrl.GetTabPolygon(i, pts);
        std::string s;
        for (auto& p : pts)
            s += Text(p);
        return s;
    }
};

TEST(TabStrip2D, TabsAreTrapezoidsOverlappingByFivePixelsFromTheScrollOffset)
{
    Strip2D s(400, {40, 60, 30});
    int b = s.ctrl.ButtonsAreaWidth();
    EXPECT_EQ(b, 4 * (::GetSystemMetrics(SM_CYHSCROLL) + 1));
    auto poly = [&](int x0, int w) {
        return Text(CPoint(x0, 0)) + Text(CPoint(x0 + 6, 18)) + Text(CPoint(x0 + w - 6, 18)) + Text(CPoint(x0 + w, 0));
    };
    EXPECT_EQ(s.Poly(0), poly(b, 40));
    EXPECT_EQ(s.Poly(1), poly(b + 35, 60));
    EXPECT_EQ(s.Poly(2), poly(b + 35 + 55, 30));
    s.ctrl.m_nScrollOffset = -20;
    EXPECT_EQ(s.Poly(1), poly(b + 15, 60));
    // Hits: the middle of a tab, not the slanted corner outside it, the first tab where two overlap.
    s.ctrl.m_nScrollOffset = 0;
    EXPECT_EQ(s.ctrl.TabFromPoint(CPoint(b + 20, 9)), 0);
    EXPECT_EQ(s.ctrl.TabFromPoint(CPoint(b + 36, 1)), 0);
    EXPECT_EQ(s.ctrl.TabFromPoint(CPoint(b + 50, 9)), 1);
    EXPECT_EQ(s.ctrl.TabFromPoint(CPoint(b + 1, 17)), -1);
    EXPECT_EQ(s.ctrl.TabFromPoint(CPoint(b + 300, 9)), -1);
    // Button places: present buttons side by side in bit order; the previous/next style has two.
    CRect rect;
    int w = s.ctrl.m_nButtonWidth;
    EXPECT_TRUE(s.ctrl.GetButtonRect(SEC_TABBTN_NEXT, rect));
    EXPECT_EQ(Text(rect), Text(CRect(2 * w, 0, 3 * w, w)));
    Strip2D two(400, {40}, 1);
    EXPECT_EQ(two.ctrl.ButtonsAreaWidth(), 2 * w);
    EXPECT_FALSE(two.ctrl.GetButtonRect(SEC_TABBTN_FIRST, rect));
    EXPECT_TRUE(two.ctrl.GetButtonRect(SEC_TABBTN_NEXT, rect));
    EXPECT_EQ(rect.left, w);
    Strip2D none(400, {40}, 0);
    EXPECT_EQ(none.ctrl.ButtonsAreaWidth(), 0);
}

TEST(TabStrip2D, ScrollButtonsFollowTheOffsetAndTheRoomLeft)
{
    const DWORD all = SEC_TABBTN_FIRST | SEC_TABBTN_PREV | SEC_TABBTN_NEXT | SEC_TABBTN_LAST;
    const DWORD left = SEC_TABBTN_FIRST | SEC_TABBTN_PREV, right = SEC_TABBTN_NEXT | SEC_TABBTN_LAST;
    {
        Strip2D s(300, {});
        s.ctrl.UpdateScrollButtons();
        EXPECT_EQ(s.ctrl.m_dwDisabled, all);
    }
    Strip2D s(300, {50, 50, 50});   // the tabs end at buttons + 140
    int b = s.ctrl.ButtonsAreaWidth();
    int nOverflow = b + 7 * 45 + 50 - 300;
    struct Case
    {
        std::vector<int> widths;
        int nOffset;
        DWORD dwDisabled;
        int nOffsetAfter;
    } cases[] = {
        {{50, 50, 50}, 0, all, 0},             // all fit
        {{50, 50, 50}, -30, right, 0},         // fit again after scrolling: back to 0
        {{50, 50, 50, 50, 50, 50, 50, 50}, 0, left, 0},   // overflow at the start
        {{50, 50, 50, 50, 50, 50, 50, 50}, -20, 0, -20},  // in the middle
        {{50, 50, 50, 50, 50, 50, 50, 50}, -1000, right, -nOverflow},   // past the end: corrected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nOffset);
        while (s.ctrl.GetTabCount() < (int)c.widths.size())
            s.ctrl.AddTab("tab");
        while (s.ctrl.GetTabCount() > (int)c.widths.size())
            s.ctrl.DeleteTab(0);
        s.SetWidths(c.widths);
        s.ctrl.m_nScrollOffset = c.nOffset;
        s.ctrl.UpdateScrollButtons();
        EXPECT_EQ(s.ctrl.m_dwDisabled, c.dwDisabled);
        EXPECT_EQ(s.ctrl.m_nScrollOffset, c.nOffsetAfter);
    }
}

TEST(TabStrip2D, ScrollingToATabKeepsAMarginUnlessTheTabIsWiderThanTheStrip)
{
    Strip2D s(300, {100, 100, 100, 100});
    int b = s.ctrl.ButtonsAreaWidth();
    CRect rect;
    s.ctrl.GetTabsRect(rect);
    EXPECT_TRUE(s.ctrl.ScrollToTab(2));
    EXPECT_EQ(s.ctrl.TabLeft(2) + 100, 300 - 20);
    // The last tab cannot scroll past the right edge: the margin gives way.
    EXPECT_TRUE(s.ctrl.ScrollToTab(3));
    EXPECT_EQ(s.ctrl.TabLeft(3) + 100, 300);
    EXPECT_TRUE(s.ctrl.ScrollToTab(0));
    EXPECT_EQ(s.ctrl.m_nScrollOffset, 0);
    // A tab wider than the strip: flush with the buttons area.
    s.SetWidths({100, 500, 100, 100});
    EXPECT_TRUE(s.ctrl.ScrollToTab(1));
    EXPECT_EQ(s.ctrl.TabLeft(1), b);
}

TEST(TabStrip2D, ControlAndShiftClicksSelectAndDoubleClicksOnNothingSendNothing)
{
    Strip2D s(600, {60, 60, 60, 60});
    int b = s.ctrl.ButtonsAreaWidth();
    auto mid = [&](int i) { return Pt(s.ctrl.TabLeft(i) + 30, 9); };
    s.ctrl.SendMessage(WM_LBUTTONDOWN, 0, mid(1));
    EXPECT_EQ(s.ctrl.m_nActiveTab, 1);
    // Ctrl-click on the active tab: no tab active any more.
    s.ctrl.SendMessage(WM_LBUTTONDOWN, MK_CONTROL, mid(1));
    int n;
    EXPECT_FALSE(s.ctrl.GetActiveTab(n));
    EXPECT_FALSE(s.ctrl.GetTab(1)->m_bSelected);
    // Shift-click now: only the hit tab, not a range from the stale index.
    s.ctrl.SendMessage(WM_LBUTTONDOWN, MK_SHIFT, mid(3));
    EXPECT_TRUE(s.ctrl.GetActiveTab(n));
    EXPECT_EQ(n, 3);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(s.ctrl.GetTab(i)->m_bSelected, i == 3) << i;
    // With an active tab a Shift-click selects the range; activating the hit tab unselects the
    // tab that was active.
    s.ctrl.SendMessage(WM_LBUTTONDOWN, MK_SHIFT, mid(1));
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(s.ctrl.GetTab(i)->m_bSelected, i == 1 || i == 2) << i;
    s.spy.m_msgs.clear();
    s.ctrl.SendMessage(WM_LBUTTONDBLCLK, 0, Pt(b + 500, 9));
    EXPECT_TRUE(s.spy.m_msgs.empty());
    s.ctrl.SendMessage(WM_LBUTTONDBLCLK, 0, mid(2));
    ASSERT_EQ(s.spy.m_msgs.size(), 1u);
    EXPECT_EQ(s.spy.m_msgs[0].first, (UINT)SEC_TCM_TABDBLCLK);
    EXPECT_EQ(s.spy.m_msgs[0].second, 2u);
}

TEST(TabStrip2D, NextHeldDownScrollsAtOnceAfter300MsThenEvery20MsUntilTheEnd)
{
    Strip2D s(300, {60, 60, 60, 60, 60, 60, 60, 60});
    CRect rect;
    ASSERT_TRUE(s.ctrl.GetButtonRect(SEC_TABBTN_NEXT, rect));
    s.ctrl.UpdateScrollButtons();
    int nEnd = -(s.ctrl.TabLeft(7) + 60 - 300);
    ASSERT_LT(nEnd, -60);
    // The injected clock advances 5 ms each time it is read, and the button goes up at 2000 ms.
    DWORD nNow = 1000;
    std::vector<std::pair<DWORD, int>> steps;   // the clock at each change of the offset
    int nLast = 0;
    AfxSeamSetTickCount([&]() {
        nNow += 5;
        if (s.ctrl.m_nScrollOffset != nLast) {
            steps.push_back({nNow, s.ctrl.m_nScrollOffset});
            nLast = s.ctrl.m_nScrollOffset;
        }
        if (nNow == 3000)   // read once per idle turn of the loop: reached once
            s.ctrl.PostMessage(WM_LBUTTONUP, 0, Pt(rect.CenterPoint().x, rect.CenterPoint().y));
        return nNow;
    });
    s.ctrl.SendMessage(WM_LBUTTONDOWN, 0, Pt(rect.CenterPoint().x, rect.CenterPoint().y));
    AfxSeamSetTickCount(nullptr);
    ASSERT_GE(steps.size(), 3u);
    // Once at once (seen at the first reading), once at 300 ms, then every 20 ms.
    EXPECT_EQ(steps[0].second, -10);
    EXPECT_EQ(steps[0].first, 1005u);
    DWORD t0 = 1005;
    for (size_t i = 1; i < steps.size(); i++) {
        EXPECT_EQ(steps[i].first, t0 + 300 + 20 * (i - 1) + 5) << i;
        EXPECT_EQ(steps[i].second, std::max(nEnd, -10 * (int)(i + 1))) << i;
    }
    EXPECT_EQ(s.ctrl.m_nScrollOffset, nEnd);
    EXPECT_TRUE(s.ctrl.m_dwDisabled & SEC_TABBTN_NEXT);
    EXPECT_EQ(s.ctrl.m_dwPressed, 0u);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST(TabStrip2D, ASystemColourChangeRepaintsTabsInTheNewFace)
{
    CSpyWnd spy;
    ASSERT_TRUE(spy.Make(TRUE));
    SECTabWnd wnd;
    ASSERT_TRUE(wnd.Create(&spy, WS_CHILD | WS_VISIBLE | 0x2, 0xE900));
    wnd.MoveWindow(0, 0, 400, 200);
    CEdit edits[2];
    for (int i = 0; i < 2; i++) {
        edits[i].Create(WS_CHILD, CRect(0, 0, 10, 10), &wnd, 100 + i);
        wnd.AddTab(&edits[i], i == 0 ? "Messages" : "Build");
    }
    wnd.ActivateTab(0);
    auto* pCtrl = static_cast<SECTabControl*>(wnd.GetTabControl());
    auto facePixel = [&] {
        pCtrl->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        CClientDC dc(pCtrl);
        return dc.GetPixel(pCtrl->TabLeft(1) + 8, 3);    // inside the inactive tab, left of its label
    };
    EXPECT_EQ(facePixel(), ::GetSysColor(COLOR_BTNFACE));
    INT nIndex = COLOR_BTNFACE;
    COLORREF clrOld = ::GetSysColor(COLOR_BTNFACE), clrNew = RGB(190, 170, 110);
    ASSERT_TRUE(::SetSysColors(1, &nIndex, &clrNew));
    pCtrl->SendMessage(WM_SYSCOLORCHANGE);
    COLORREF clrSeen = facePixel();
    ::SetSysColors(1, &nIndex, &clrOld);
    pCtrl->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(clrSeen, clrNew);
    spy.DestroyWindow();
}

// ---- 2D window --------------------------------------------------------------------------------

struct Window2D
{
    CSpyWnd spy;
    SECTabWnd wnd;
    CEdit edits[3];
    Window2D(BOOL bVisible = TRUE)
    {
        EXPECT_TRUE(spy.Make(bVisible));
        EXPECT_TRUE(wnd.Create(&spy, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | 0x12, 0xE900));
        CRect rect;
        spy.GetClientRect(&rect);
        wnd.MoveWindow(&rect);
        for (int i = 0; i < 3; i++) {
            edits[i].Create(WS_CHILD | ES_MULTILINE | ES_READONLY, CRect(0, 0, 10, 10), &wnd, 100 + i);
            static const char* labels[] = {"Messages", "Build", "Third"};
            wnd.AddTab(&edits[i], labels[i]);
        }
    }
    ~Window2D() { spy.DestroyWindow(); }
    CRect Rect(CWnd* p) const
    {
        CRect r;
        p->GetWindowRect(&r);
        wnd.ScreenToClient(&r);
        return r;
    }
};

TEST(TabWindow2D, ActivationShowsHidesAndFocusesAndRemovalHidesWithoutDestroying)
{
    Window2D w;
    ASSERT_TRUE(afxtest::Activate(&w.spy));
    EXPECT_TRUE(w.wnd.ActivateTab(0));
    EXPECT_TRUE(w.edits[0].IsWindowVisible());
    EXPECT_EQ(CWnd::GetFocus(), &w.edits[0]);
    w.spy.m_msgs.clear();
    EXPECT_TRUE(w.wnd.ActivateTab(1));
    EXPECT_FALSE(w.edits[0].IsWindowVisible());
    EXPECT_TRUE(w.edits[1].IsWindowVisible());
    EXPECT_EQ(CWnd::GetFocus(), &w.edits[1]);
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[1]);
    EXPECT_EQ(w.spy.Count(SEC_TCM_TABSEL), 1);
    CRect inside;
    w.wnd.GetInsideRect(inside);
    EXPECT_EQ(Text(w.Rect(&w.edits[1])), Text(inside));

    EXPECT_FALSE(w.wnd.ActivateTab(3));
    EXPECT_FALSE(w.wnd.RemoveTab(-1));
    EXPECT_EQ(w.wnd.SendMessage(SEC_TCM_TABSEL, 7, 0), 0);
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[1]);

    // Removing the shown tab: the next one shows, the removed one is hidden, not destroyed.
    EXPECT_TRUE(w.wnd.RemoveTab(1));
    EXPECT_NE(w.edits[1].m_hWnd, nullptr);
    EXPECT_FALSE(w.edits[1].IsWindowVisible());
    EXPECT_TRUE(w.edits[2].IsWindowVisible());
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[2]);
    EXPECT_EQ(w.wnd.GetTabCount(), 2);
    EXPECT_TRUE(w.wnd.RemoveTabWnd(&w.edits[2]));
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[0]);
    EXPECT_TRUE(w.edits[0].IsWindowVisible());
    EXPECT_FALSE(w.edits[2].IsWindowVisible());
    EXPECT_TRUE(w.wnd.RemoveTab(0));
    EXPECT_EQ(w.wnd.GetActiveTab(), nullptr);
    EXPECT_EQ(w.wnd.m_pActiveWnd, nullptr);
}

// Windows made visible and added behind the active tab stay out of sight: only the active tab's
// window shows (a list box left visible at its creation size showed as a small box in a corner).
TEST(TabWindow2D, VisibleWindowsAddedBehindTheActiveTabAreHidden)
{
    CSpyWnd spy;
    ASSERT_TRUE(spy.Make(TRUE));
    SECTabWnd wnd;
    ASSERT_TRUE(wnd.Create(&spy, WS_CHILD | WS_VISIBLE | 0x12, 0xE900));
    CEdit edits[3];
    for (int i = 0; i < 3; i++) {
        edits[i].Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 10, 10), &wnd, 100 + i);
        wnd.AddTab(&edits[i], i == 0 ? "Maps" : "More");
        if (i == 0) {
            EXPECT_TRUE(wnd.ActivateTab(0));
        }
    }
    EXPECT_TRUE(edits[0].IsWindowVisible());
    EXPECT_FALSE(edits[1].IsWindowVisible());
    EXPECT_FALSE(edits[2].IsWindowVisible());
    EXPECT_TRUE(wnd.ActivateTab(2));
    EXPECT_TRUE(edits[2].IsWindowVisible());
    EXPECT_FALSE(edits[0].IsWindowVisible());
    spy.DestroyWindow();
}

TEST(TabWindow2D, SharedScrollBarsKeepEachTabsThumb)
{
    Window2D w;
    w.wnd.OnTabInserted(0, WS_HSCROLL);
    w.wnd.OnTabInserted(1, WS_HSCROLL | WS_VSCROLL);
    EXPECT_EQ(w.wnd.GetTabScrollBar(0, &w.edits[0]), &w.wnd.m_wndHScroll);
    EXPECT_EQ(w.wnd.GetTabScrollBar(1, &w.edits[0]), nullptr);
    EXPECT_EQ(w.wnd.GetTabScrollBar(1, &w.edits[1]), &w.wnd.m_wndVScroll);
    EXPECT_EQ(w.wnd.GetTabScrollBar(0, &w.edits[2]), nullptr);
    EXPECT_EQ(w.wnd.GetTabScrollBar(0), nullptr);   // no active window

    auto setPos = [&](int nPos) {
        SCROLLINFO si = {sizeof si, SIF_ALL, 0, 100, 10, nPos, 0};
        w.wnd.m_wndHScroll.SetScrollInfo(&si);
    };
    auto pos = [&] { return w.wnd.m_wndHScroll.GetScrollPos(); };
    w.wnd.ActivateTab(0);
    EXPECT_TRUE(w.wnd.m_wndHScroll.IsWindowVisible());
    EXPECT_FALSE(w.wnd.m_wndVScroll.IsWindowVisible());
    setPos(30);
    w.wnd.ActivateTab(1);
    EXPECT_TRUE(w.wnd.m_wndVScroll.IsWindowVisible());
    EXPECT_EQ(pos(), 0);
    setPos(70);
    w.wnd.ActivateTab(2);
    EXPECT_FALSE(w.wnd.m_wndHScroll.IsWindowVisible());
    EXPECT_FALSE(w.wnd.m_wndVScroll.IsWindowVisible());
    w.wnd.ActivateTab(0);
    EXPECT_EQ(pos(), 30);
    w.wnd.ActivateTab(1);
    EXPECT_EQ(pos(), 70);
    // Inside: less the strip at the bottom and the vertical bar at the right.
    CRect client, inside;
    w.wnd.GetClientRect(&client);
    w.wnd.GetInsideRect(inside);
    EXPECT_EQ(Text(inside), Text(CRect(0, 0, client.right - w.wnd.m_cxVScroll, client.bottom - w.wnd.m_nStripHeight)));
}

TEST(TabWindow2D, TheSizerDragsBetweenNothingAndSixtyPixelsBeforeTheRightEdge)
{
    Window2D w;
    ASSERT_TRUE(afxtest::Activate(&w.spy));
    w.wnd.OnTabInserted(0, WS_HSCROLL);
    w.wnd.ActivateTab(0);
    w.wnd.m_nTabWidth = 200;
    w.wnd.RecalcLayout();
    w.wnd.UpdateWindow();
    CRect inside, sizer;
    w.wnd.GetInsideRect(inside);
    w.wnd.GetSizerRect(sizer);
    CPoint pt = sizer.CenterPoint();
    w.wnd.ClientToScreen(&pt);
    CPoint ptLeft(pt.x - 400, pt.y), ptRight(pt.x + 2000, pt.y);
    ASSERT_TRUE(afxtest::Drag(pt, ptLeft));
    EXPECT_EQ(w.wnd.m_nTabWidth, 0);
    EXPECT_EQ(w.Rect(w.wnd.GetTabControl()).Width(), 0);
    w.wnd.GetSizerRect(sizer);
    pt = sizer.CenterPoint();
    w.wnd.ClientToScreen(&pt);
    // The far right of the screen lies outside the window: the drag stops at the clamp.
    CRect rectScreen;
    w.spy.GetWindowRect(&rectScreen);
    ptRight.x = std::min(rectScreen.right + 100, (LONG)::GetSystemMetrics(SM_CXSCREEN) - 2);
    ASSERT_TRUE(afxtest::Drag(pt, ptRight));
    EXPECT_EQ(w.wnd.m_nTabWidth, inside.right - 60);
    EXPECT_EQ(w.Rect(w.wnd.GetTabControl()).Width(), inside.right - 60);
    EXPECT_EQ(w.Rect(&w.wnd.m_wndHScroll).left, inside.right - 60 + 5);
    EXPECT_FALSE(w.wnd.m_bDragging);
}

TEST(TabWindow2D, ControlClickOnTheActiveTabLeavesItsWindowShown)
{
    Window2D w;
    w.wnd.ActivateTab(0);
    SECTabControl* pCtrl = static_cast<SECTabControl*>(w.wnd.GetTabControl());
    pCtrl->SendMessage(WM_LBUTTONDOWN, MK_CONTROL, Pt(pCtrl->TabLeft(0) + 10, 5));
    int n;
    EXPECT_FALSE(pCtrl->GetActiveTab(n));
    EXPECT_TRUE(w.edits[0].IsWindowVisible());
    pCtrl->SendMessage(WM_LBUTTONDOWN, MK_SHIFT, Pt(pCtrl->TabLeft(2) + 10, 5));
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[2]);
    EXPECT_FALSE(pCtrl->GetTab(0)->m_bSelected);
    EXPECT_FALSE(w.edits[0].IsWindowVisible());
}

// A view class for tabs holding views.
class CTabTestView : public CView
{
    DECLARE_DYNCREATE(CTabTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CTabTestView, CView)

TEST(TabWindow2D, ViewsMadeForTabsGetNumberedIdsAndBecomeTheFramesActiveView)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Views", WS_OVERLAPPEDWINDOW, CRect(30, 30, 530, 430)));
    SECTabWnd* pTabs = new SECTabWnd;
    ASSERT_TRUE(pTabs->Create(pFrame, WS_CHILD | WS_VISIBLE | 0x2, AFX_IDW_PANE_FIRST));
    pFrame->ShowWindow(SW_SHOW);
    CCreateContext context;
    CWnd* pFirst = pTabs->AddTabView(RUNTIME_CLASS(CTabTestView), "First", &context);
    CWnd* pSecond = pTabs->AddTabView(RUNTIME_CLASS(CTabTestView), "Second", &context);
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pFirst->GetDlgCtrlID(), 0xEB00);
    EXPECT_EQ(pSecond->GetDlgCtrlID(), 0xEB01);
    EXPECT_EQ(pTabs->AddTabView(RUNTIME_CLASS(CWinThread), "No window", &context), nullptr);
    EXPECT_EQ(pTabs->GetTabCount(), 2);
    pTabs->ActivateTab(1);
    EXPECT_EQ(pFrame->GetActiveView(), pSecond);
    pTabs->ActivateTab(0);
    EXPECT_EQ(pFrame->GetActiveView(), pFirst);
    pFrame->DestroyWindow();
    delete pTabs;
}

// ---- 3D window --------------------------------------------------------------------------------

struct Window3D
{
    CSpyWnd spy;
    SEC3DTabWnd wnd;
    CEdit edits[4];
    Window3D(DWORD dwPos, int nWidth = 500, int nTabs = 3)
    {
        EXPECT_TRUE(spy.Make(TRUE, CRect(40, 40, 40 + nWidth, 440)));
        EXPECT_TRUE(wnd.Create(&spy, WS_CHILD | WS_VISIBLE | dwPos, 0xE900));
        Fit();
        static const char* labels[] = {"Maps", "Objects", "Textures", "Entities"};
        for (int i = 0; i < nTabs; i++) {
            edits[i].Create(WS_CHILD, CRect(0, 0, 10, 10), &wnd, 100 + i);
            wnd.AddTab(&edits[i], labels[i]);
        }
    }
    void Fit()
    {
        CRect rect;
        spy.GetClientRect(&rect);
        wnd.MoveWindow(&rect);
    }
    ~Window3D() { spy.DestroyWindow(); }
    SEC3DTabControl* Ctrl() { return wnd.Get3DTabControl(); }
    CRect TabRect(int i)
    {
        CRect r;
        Ctrl()->GetTabRect(i, r);
        return r;
    }
};

TEST(TabWindow3D, LabelsShowExactlyWhenTheyFitAndIconsWidenTabs)
{
    Window3D w(SEC_TABS_BOTTOM);
    SEC3DTabControl* pCtrl = w.Ctrl();
    HICON hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    int nTotal = 0;
    for (int i = 0; i < 3; i++)
        nTotal += 6 + pCtrl->LabelWidth(i) + 6;
    int nPlain = w.TabRect(1).Width();
    EXPECT_EQ(nPlain, 6 + pCtrl->LabelWidth(1) + 6);
    EXPECT_TRUE(w.wnd.SetTabIcon(1, hIcon));
    EXPECT_EQ(w.TabRect(1).Width(), nPlain + 19);
    nTotal += 19;
    EXPECT_FALSE(w.wnd.SetTabIcon(3, hIcon));
    // The strip's client length around the total: shown only when it exceeds it.
    for (int nLength : {nTotal + 1, nTotal}) {
        w.Ctrl()->MoveWindow(0, 0, nLength, 30);
        EXPECT_EQ(pCtrl->m_bLabelsShown, nLength > nTotal) << nLength;
    }
    // Icons only: 6 or 25 wide.
    EXPECT_EQ(w.TabRect(0).Width(), 6);
    EXPECT_EQ(w.TabRect(1).Width(), 25);
}

TEST(TabWindow3D, TheActiveTabGrowsByThreeUnlessAskedNotTo)
{
    for (DWORD dwPos : {(DWORD)SEC_TABS_BOTTOM, (DWORD)SEC_TABS_TOP, (DWORD)SEC_TABS_LEFT, (DWORD)SEC_TABS_RIGHT,
                        (DWORD)(SEC_TABS_BOTTOM | SEC_TABS_NOENLARGE)}) {
        SCOPED_TRACE(dwPos);
        Window3D w(dwPos);
        CRect plain0 = w.TabRect(0), plain1 = w.TabRect(1);
        w.wnd.ActivateTab(0);
        CRect grown = w.TabRect(0), expect = plain0;
        if (!(dwPos & SEC_TABS_NOENLARGE)) {
            if (dwPos & (SEC_TABS_BOTTOM | SEC_TABS_TOP))
                expect.InflateRect(3, 0);
            else
                expect.InflateRect(0, 3);
            if (dwPos & SEC_TABS_BOTTOM)
                expect.bottom += 3;
            else if (dwPos & SEC_TABS_TOP)
                expect.top -= 3;
            else if (dwPos & SEC_TABS_LEFT)
                expect.left -= 3;
            else
                expect.right += 3;
        }
        EXPECT_EQ(Text(grown), Text(expect));
        // Activating the next one shrinks the first back.
        w.wnd.ActivateTab(1);
        EXPECT_EQ(Text(w.TabRect(0)), Text(plain0));
        if (dwPos & SEC_TABS_NOENLARGE)
            EXPECT_EQ(Text(w.TabRect(1)), Text(plain1));
        else
            EXPECT_NE(Text(w.TabRect(1)), Text(plain1));
    }
}

TEST(TabWindow3D, TheInsideRectangleAndStripForEachPosition)
{
    struct Case
    {
        DWORD dwPos;
        CRect inside;   // from a client rectangle of 0, 0, W, H
    };
    Window3D probe(SEC_TABS_BOTTOM);
    CRect rc;
    probe.wnd.GetClientRect(&rc);
    int W = rc.right, H = rc.bottom;
    const Case cases[] = {
        {SEC_TABS_BOTTOM, CRect(6, 4, W - 7, H - 31)},
        {SEC_TABS_TOP, CRect(6, 31, W - 7, H - 4)},
        {SEC_TABS_LEFT, CRect(31, 4, W - 7, H - 6)},
        {SEC_TABS_RIGHT, CRect(6, 4, W - 31, H - 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwPos);
        Window3D w(c.dwPos);
        CRect inside;
        w.wnd.GetInsideRect(inside);
        EXPECT_EQ(Text(inside), Text(c.inside));
        w.wnd.ActivateTab(0);
        CRect page;
        w.edits[0].GetWindowRect(&page);
        w.wnd.ScreenToClient(&page);
        EXPECT_EQ(Text(page), Text(CRect(inside.left, inside.top, inside.right - 1, inside.bottom)));
        // The border around the page and the strip's page edge, probed on the screen.
        w.wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        CClientDC dc(&w.wnd);
        int y = (inside.top + inside.bottom) / 2;
        EXPECT_EQ(dc.GetPixel(inside.left - 4, y), RGB(255, 255, 255));
        EXPECT_EQ(dc.GetPixel(inside.left - 1, y), RGB(0, 0, 0));
        EXPECT_EQ(dc.GetPixel(inside.right + 2, y), ::GetSysColor(COLOR_BTNSHADOW));
        CClientDC dcStrip(w.Ctrl());
        CRect strip;
        w.Ctrl()->GetClientRect(&strip);
        // The strip's page edge continues the border: its white line, away from the active tab.
        CRect active = w.TabRect(0);
        CPoint ptEdge = c.dwPos == SEC_TABS_BOTTOM ? CPoint(strip.right - 3, 0)
                      : c.dwPos == SEC_TABS_TOP    ? CPoint(strip.right - 3, strip.bottom - 4)
                      : c.dwPos == SEC_TABS_LEFT   ? CPoint(strip.right - 4, strip.bottom - 3)
                                                   : CPoint(0, strip.bottom - 3);
        ASSERT_FALSE(active.PtInRect(ptEdge));
        EXPECT_EQ(dcStrip.GetPixel(ptEdge), RGB(255, 255, 255));
    }
}

TEST(TabWindow3D, DisabledTabsIgnoreClicksAndAClickOnTheActiveOverlapStaysThere)
{
    Window3D w(SEC_TABS_BOTTOM);
    SEC3DTabControl* pCtrl = w.Ctrl();
    w.wnd.ActivateTab(1);
    w.spy.m_msgs.clear();
    EXPECT_TRUE(w.wnd.EnableTab(2, FALSE));
    EXPECT_FALSE(w.wnd.IsTabEnabled(2));
    EXPECT_FALSE(w.wnd.EnableTab(5, FALSE));
    CPoint pt2 = w.TabRect(2).CenterPoint();
    pCtrl->SendMessage(WM_LBUTTONDOWN, 0, Pt(pt2.x, pt2.y));
    pCtrl->SendMessage(WM_LBUTTONDBLCLK, 0, Pt(pt2.x, pt2.y));
    EXPECT_TRUE(w.spy.m_msgs.empty());
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[1]);
    // The active tab's enlarged left edge covers the end of tab 0.
    CRect active = w.TabRect(1);
    CPoint ptOverlap(active.left + 1, active.top + 5);
    ASSERT_TRUE(w.TabRect(0).PtInRect(ptOverlap));
    pCtrl->SendMessage(WM_LBUTTONDOWN, 0, Pt(ptOverlap.x, ptOverlap.y));
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[1]);
    EXPECT_TRUE(w.spy.m_msgs.empty());
    pCtrl->SendMessage(WM_LBUTTONDOWN, 0, Pt(w.TabRect(0).left + 3, active.top + 5));
    EXPECT_EQ(w.wnd.GetActiveTab(), &w.edits[0]);
    ASSERT_EQ(w.spy.m_msgs.size(), 1u);
    EXPECT_EQ(w.spy.m_msgs[0].second, 0u);

    // Drawn embossed: the disabled label has no black ink, the enabled ones have.
    pCtrl->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CClientDC dc(pCtrl);
    auto inkIn = [&](CRect r, COLORREF clr) {
        int n = 0;
        r.DeflateRect(3, 3);
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++)
                n += dc.GetPixel(x, y) == clr;
        return n;
    };
    EXPECT_GT(inkIn(w.TabRect(1), RGB(0, 0, 0)), 5);
    EXPECT_EQ(inkIn(w.TabRect(2), RGB(0, 0, 0)), 0);
    EXPECT_GT(inkIn(w.TabRect(2), ::GetSysColor(COLOR_BTNSHADOW)), 5);
    EXPECT_GT(inkIn(w.TabRect(2), ::GetSysColor(COLOR_BTNHIGHLIGHT)), 5);
}

TEST(TabWindow3D, TipsGiveLabelsOnlyWhileLabelsAreHidden)
{
    Window3D w(SEC_TABS_BOTTOM, 500, 4);
    SEC3DTabControl* pCtrl = w.Ctrl();
    CPoint pt = w.TabRect(2).CenterPoint();
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ASSERT_TRUE(pCtrl->m_bLabelsShown);
    EXPECT_EQ(pCtrl->OnToolHitTest(pt, &ti), -1);
    // Narrowed: icons only, and the label comes as the tip.
    w.spy.MoveWindow(40, 40, 80, 300);
    w.Fit();
    ASSERT_FALSE(pCtrl->m_bLabelsShown);
    pt = w.TabRect(2).CenterPoint();
    EXPECT_EQ(pCtrl->OnToolHitTest(pt, &ti), 3);
    EXPECT_EQ(ti.uId, 3u);
    EXPECT_EQ(ti.hwnd, pCtrl->m_hWnd);
    ASSERT_NE(ti.lpszText, nullptr);
    EXPECT_STREQ(ti.lpszText, "Textures");
    free(ti.lpszText);
    // A record too small to hold the fields up to lParam is left alone.
    TOOLINFOA small = {};
    small.cbSize = offsetof(TOOLINFOA, lParam);
    EXPECT_EQ(pCtrl->OnToolHitTest(pt, &small), 3);
    EXPECT_EQ(small.lpszText, nullptr);
    // Widened again: labels back, tips stop.
    w.spy.MoveWindow(40, 40, 600, 300);
    w.Fit();
    EXPECT_TRUE(pCtrl->m_bLabelsShown);
    EXPECT_EQ(pCtrl->OnToolHitTest(w.TabRect(2).CenterPoint(), &ti), -1);
}

// The text of the thread's tip when one is on screen, else "".
std::string ShownTip()
{
    std::string text;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            char szClass[64] = "";
            ::GetClassNameA(hWnd, szClass, sizeof szClass);
            if (lstrcmpiA(szClass, TOOLTIPS_CLASSA) != 0 || !::IsWindowVisible(hWnd))
                return TRUE;
            char szText[128] = "";
            TOOLINFOA ti = {};
            ti.cbSize = TTTOOLINFOA_V2_SIZE;
            ti.lpszText = szText;
            if (::SendMessageA(hWnd, TTM_GETCURRENTTOOLA, 0, (LPARAM)&ti))
                *reinterpret_cast<std::string*>(lParam) = szText;
            return FALSE;
        },
        (LPARAM)&text);
    return text;
}

TEST(TabWindow3D, HoveringATabWithoutItsLabelShowsTheLabelAsATip)
{
    Window3D w(SEC_TABS_BOTTOM, 90, 4);
    ASSERT_FALSE(w.Ctrl()->m_bLabelsShown);
    ASSERT_TRUE(afxtest::Activate(&w.spy));
    auto hover = [&](int nTab) {
        CPoint pt = w.TabRect(nTab).CenterPoint();
        w.Ctrl()->ClientToScreen(&pt);
        afxtest::InputScript script;
        script.MoveTo(CPoint(pt.x, pt.y - 1)).MoveTo(pt).Pause(100);
        return script.Run();
    };
    ASSERT_TRUE(hover(2));
    EXPECT_TRUE(afxtest::WaitFor([] { return ShownTip() == "Textures"; }, 3000)) << ShownTip();
    // Widened: the labels are back and the tips stop.
    w.spy.MoveWindow(40, 40, 600, 400);
    w.Fit();
    ASSERT_TRUE(w.Ctrl()->m_bLabelsShown);
    ASSERT_TRUE(hover(1));
    EXPECT_FALSE(afxtest::WaitFor([] { return !ShownTip().empty(); }, 1000)) << ShownTip();
}

} // namespace
