// Message maps: handler signatures, base chaining, commands, notifications and reflection.
#include "afxtest.h"
#include <commctrl.h>
#include <string>
#include <vector>

namespace {

UINT g_nRegisteredMsg = 0;  // registered after the map below was built

class CCrackWnd : public CWnd
{
public:
    std::vector<std::string> m_log;

    void Log(const char* fmt, ...)
    {
        char sz[256];
        va_list args;
        va_start(args, fmt);
        vsnprintf(sz, sizeof sz, fmt, args);
        va_end(args);
        m_log.push_back(sz);
    }

    void OnSize(UINT nType, int cx, int cy) { Log("size %u %d %d", nType, cx, cy); }
    void OnMove(int x, int y) { Log("move %d %d", x, y); }
    void OnLButtonDown(UINT nFlags, CPoint pt) { Log("ldown %u %d %d", nFlags, pt.x, pt.y); }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Log("key %u %u %u", nChar, nRepCnt, nFlags); }
    void OnTimer(UINT_PTR nIDEvent) { Log("timer %llx", (unsigned long long)nIDEvent); }
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        Log("wheel %u %d %d %d", nFlags, zDelta, pt.x, pt.y);
        return TRUE;
    }
    void OnContextMenu(CWnd* pWnd, CPoint pos) { Log("context %d %d %d", pWnd == this, pos.x, pos.y); }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        Log("cursor %d %d %u", pWnd == this, (int)(short)nHitTest, message);
        return TRUE;
    }
    LRESULT OnNcHitTest(CPoint pt)
    {
        Log("hittest %d %d", pt.x, pt.y);
        return HTCAPTION;
    }
    HBRUSH OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor)
    {
        Log("ctlcolor %u %d", nCtlColor, pDC != nullptr);
        return (HBRUSH)::GetStockObject(GRAY_BRUSH);
    }
    LRESULT OnUser(WPARAM wParam, LPARAM lParam)
    {
        Log("user %llu %lld", (unsigned long long)wParam, (long long)lParam);
        return 77;
    }
    LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        Log("registered %llu", (unsigned long long)wParam);
        return 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCrackWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_TIMER()
    ON_WM_MOUSEWHEEL()
    ON_WM_CONTEXTMENU()
    ON_WM_SETCURSOR()
    ON_WM_NCHITTEST()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_USER + 5, OnUser)
    ON_REGISTERED_MESSAGE(g_nRegisteredMsg, OnRegistered)
END_MESSAGE_MAP()

class CrackFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, AfxRegisterWndClass(0), "crack", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
        m_wnd.m_log.clear();
    }
    CCrackWnd m_wnd;
};

TEST_F(CrackFixture, HandlersGetTheirArgumentsInTheirOwnTypes)
{
    HWND h = m_wnd.m_hWnd;
    struct Case
    {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* logged;
    } cases[] = {
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), 0, "size 2 640 480"},
        {WM_MOVE, 0, MAKELPARAM(-20, -5), 0, "move -20 -5"},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-3, 7), 0, "ldown 5 -3 7"},
        {WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0x4001), 0, "key 116 3 16385"},
        {WM_TIMER, (WPARAM)0x123456789ull, 0, 0, "timer 123456789"},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-120), MAKELPARAM(10, 20), 1, "wheel 8 -120 10 20"},
        {WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1), 0, "context 0 -1 -1"},
        {WM_NCHITTEST, 0, MAKELPARAM(-8, 300), HTCAPTION, "hittest -8 300"},
        {WM_USER + 5, 9, -2, 77, "user 9 -2"},
    };
    for (const Case& c : cases) {
        m_wnd.m_log.clear();
        EXPECT_EQ(::SendMessageA(h, c.msg, c.wParam, c.lParam), c.result) << c.logged;
        ASSERT_EQ(m_wnd.m_log.size(), 1u) << c.logged;
        EXPECT_EQ(m_wnd.m_log[0], c.logged);
    }
    m_wnd.m_log.clear();
    EXPECT_EQ(::SendMessageA(h, WM_SETCURSOR, (WPARAM)h, MAKELPARAM(HTERROR, WM_LBUTTONDOWN)), 1);
    EXPECT_EQ(m_wnd.m_log[0], "cursor 1 -2 513");
}

TEST_F(CrackFixture, RegisteredMessagesAreLookedUpWhenTheyArrive)
{
    g_nRegisteredMsg = ::RegisterWindowMessageA("MorvaneFrameworkTestMessage");
    ASSERT_GE(g_nRegisteredMsg, 0xC000u);
    EXPECT_EQ(::SendMessageA(m_wnd.m_hWnd, g_nRegisteredMsg, 11, 0), 5);
    ASSERT_EQ(m_wnd.m_log.size(), 1u);
    EXPECT_EQ(m_wnd.m_log[0], "registered 11");
}

TEST_F(CrackFixture, EveryControlColourMessageReachesOneHandler)
{
    HDC hdc = ::GetDC(m_wnd.m_hWnd);
    const UINT msgs[] = {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR,
                         WM_CTLCOLORSTATIC};
    for (UINT msg : msgs) {
        m_wnd.m_log.clear();
        EXPECT_EQ((HBRUSH)::SendMessageA(m_wnd.m_hWnd, msg, (WPARAM)hdc, 0), (HBRUSH)::GetStockObject(GRAY_BRUSH));
        ASSERT_EQ(m_wnd.m_log.size(), 1u);
        char expected[32];
        sprintf(expected, "ctlcolor %u 1", msg - WM_CTLCOLORMSGBOX);
        EXPECT_EQ(m_wnd.m_log[0], expected);
    }
    ::ReleaseDC(m_wnd.m_hWnd, hdc);
}

// ---- Base chaining --------------------------------------------------------------------------

class CDerivedCrackWnd : public CCrackWnd
{
public:
    void OnSize(UINT nType, int cx, int cy)
    {
        Log("derived size");
        CCrackWnd::OnSize(nType, cx, cy);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedCrackWnd, CCrackWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

TEST(MessageMaps, DerivedEntriesComeFirstAndBaseEntriesStillWork)
{
    CDerivedCrackWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "d", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.m_log.clear();
    ::SendMessageA(wnd.m_hWnd, WM_SIZE, 0, MAKELPARAM(1, 2));
    ::SendMessageA(wnd.m_hWnd, WM_MOVE, 0, MAKELPARAM(3, 4));
    std::vector<std::string> expected = {"derived size", "size 0 1 2", "move 3 4"};
    EXPECT_EQ(wnd.m_log, expected);
    // Unmapped messages get the system's handling.
    EXPECT_TRUE(::SendMessageA(wnd.m_hWnd, WM_SETTEXT, 0, (LPARAM) "changed"));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(text, "changed");
}

// ---- Commands and notifications -------------------------------------------------------------

class CCommandWnd : public CWnd
{
public:
    std::vector<std::string> m_log;
    BOOL m_bExHandles = FALSE;

    void OnOne() { m_log.push_back("one"); }
    void OnRange(UINT nID) { m_log.push_back("range " + std::to_string(nID)); }
    BOOL OnEx(UINT nID)
    {
        m_log.push_back("ex " + std::to_string(nID));
        return m_bExHandles;
    }
    void OnClicked() { m_log.push_back("clicked"); }
    void OnNotifyOne(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_log.push_back("notify " + std::to_string((int)pNMHDR->code));
        *pResult = 99;
    }
    void OnNotifyRange(UINT nID, NMHDR*, LRESULT*) { m_log.push_back("notify range " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCommandWnd, CWnd)
    ON_COMMAND(100, OnOne)
    ON_COMMAND_RANGE(200, 210, OnRange)
    ON_COMMAND_EX(300, OnEx)
    ON_BN_CLICKED(400, OnClicked)
    ON_NOTIFY(NM_CLICK, 500, OnNotifyOne)
    ON_NOTIFY_RANGE(NM_DBLCLK, 500, 510, OnNotifyRange)
END_MESSAGE_MAP()

TEST(Commands, MenuCommandsRangesAndExtendedHandlers)
{
    CCommandWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "c", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND h = wnd.m_hWnd;
    EXPECT_EQ(::SendMessageA(h, WM_COMMAND, 100, 0), 1);
    ::SendMessageA(h, WM_COMMAND, 205, 0);
    ::SendMessageA(h, WM_COMMAND, 211, 0);  // outside the range: not handled
    ::SendMessageA(h, WM_COMMAND, 300, 0);
    std::vector<std::string> expected = {"one", "range 205", "ex 300"};
    EXPECT_EQ(wnd.m_log, expected);

    // An extended handler answering FALSE leaves the command unhandled; TRUE handles it.
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    EXPECT_TRUE(wnd.OnCmdMsg(300, CN_COMMAND, nullptr, &info));  // a handler exists
    EXPECT_EQ(info.pTarget, &wnd);
    EXPECT_FALSE(wnd.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));
    wnd.m_bExHandles = TRUE;
    EXPECT_TRUE(wnd.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(wnd.OnCmdMsg(999, CN_COMMAND, nullptr, &info));
}

TEST(Commands, ControlNotificationsReachTheParentWithTheirCode)
{
    CCommandWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 50, 20,
                                     parent.m_hWnd, (HMENU)400, nullptr, nullptr);
    ::SendMessageA(hButton, BM_CLICK, 0, 0);
    ASSERT_EQ(parent.m_log.size(), 1u);
    EXPECT_EQ(parent.m_log[0], "clicked");

    HWND hOther = ::CreateWindowExA(0, "STATIC", "s", WS_CHILD, 0, 0, 5, 5, parent.m_hWnd, (HMENU)505, nullptr, nullptr);
    NMHDR nm = {hOther, 505, (UINT)NM_DBLCLK};
    ::SendMessageA(parent.m_hWnd, WM_NOTIFY, 505, (LPARAM)&nm);
    HWND hList = ::CreateWindowExA(0, "STATIC", "l", WS_CHILD, 0, 0, 5, 5, parent.m_hWnd, (HMENU)500, nullptr, nullptr);
    NMHDR nm2 = {hList, 500, (UINT)NM_CLICK};
    EXPECT_EQ(::SendMessageA(parent.m_hWnd, WM_NOTIFY, 500, (LPARAM)&nm2), 99);
    std::vector<std::string> expected = {"clicked", "notify range 505", "notify " + std::to_string((int)NM_CLICK)};
    EXPECT_EQ(parent.m_log, expected);
}

// ---- Reflection -----------------------------------------------------------------------------

class CReflectingButton : public CWnd
{
public:
    std::vector<std::string> m_log;
    BOOL m_bEatClick = TRUE;
    BOOL OnReflectedClick()
    {
        m_log.push_back("reflected click");
        return m_bEatClick;
    }
    HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        m_log.push_back("reflected ctlcolor " + std::to_string(nCtlColor));
        return (HBRUSH)::GetStockObject(BLACK_BRUSH);
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) { m_log.push_back("drawitem " + std::to_string(lpDIS->CtlID)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

TEST(Reflection, ControlsHandleTheirOwnNotificationsFirst)
{
    CCommandWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr));
    CReflectingButton button;
    ASSERT_TRUE(button.Create("BUTTON", "b", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 50, 20), &parent, 400));

    // Eaten by the control: the parent never sees the click.
    ::SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(400, BN_CLICKED), (LPARAM)button.m_hWnd);
    EXPECT_TRUE(parent.m_log.empty());
    // Passed on: the parent routes it as usual.
    button.m_bEatClick = FALSE;
    ::SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(400, BN_CLICKED), (LPARAM)button.m_hWnd);
    ASSERT_EQ(parent.m_log.size(), 1u);
    EXPECT_EQ(parent.m_log[0], "clicked");

    HDC hdc = ::GetDC(parent.m_hWnd);
    EXPECT_EQ((HBRUSH)::SendMessageA(parent.m_hWnd, WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)button.m_hWnd),
              (HBRUSH)::GetStockObject(BLACK_BRUSH));
    ::ReleaseDC(parent.m_hWnd, hdc);

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 400;
    dis.hwndItem = button.m_hWnd;
    EXPECT_EQ(::SendMessageA(parent.m_hWnd, WM_DRAWITEM, 400, (LPARAM)&dis), TRUE);
    std::vector<std::string> expected = {"reflected click", "reflected click",
                                         "reflected ctlcolor " + std::to_string(CTLCOLOR_BTN), "drawitem 400"};
    EXPECT_EQ(button.m_log, expected);
}

// ---- Descendants, colour changes, scroll bar redirection ------------------------------------

class CColourWnd : public CWnd
{
public:
    int m_nColourChanges = 0;
    void OnSysColorChange()
    {
        ++m_nColourChanges;
        CWnd::OnSysColorChange();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColourWnd, CWnd)
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

TEST(Descendants, ColourChangesOfATopLevelWindowReachEveryChildOnce)
{
    CColourWnd top, child, grandchild;
    ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), "t", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD, CRect(0, 0, 50, 50), &top, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, "g", WS_CHILD, CRect(0, 0, 20, 20), &child, 77));
    ::SendMessageA(top.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(top.m_nColourChanges, 1);
    EXPECT_EQ(child.m_nColourChanges, 1);
    EXPECT_EQ(grandchild.m_nColourChanges, 1);
    // A child passes nothing on.
    ::SendMessageA(child.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(grandchild.m_nColourChanges, 1);

    EXPECT_EQ(top.GetDescendantWindow(77, TRUE), &grandchild);
    EXPECT_EQ(top.GetDescendantWindow(78), nullptr);
}

// A window whose scroll bars are separate controls.
class CSharedScrollWnd : public CWnd
{
public:
    CWnd m_bar;
    CScrollBar* GetScrollBarCtrl(int nBar) const override
    {
        return nBar == SB_VERT ? reinterpret_cast<CScrollBar*>(const_cast<CWnd*>(&m_bar)) : nullptr;
    }
};

TEST(Descendants, ScrollOperationsGoToTheScrollBarControl)
{
    CSharedScrollWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "s", WS_POPUP | WS_VSCROLL, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(wnd.m_bar.Create("SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, CRect(80, 0, 96, 100), &wnd, 9));
    wnd.SetScrollRange(SB_VERT, 0, 50);
    wnd.SetScrollPos(SB_VERT, 20);
    int nMin = -1, nMax = -1;
    ::GetScrollRange(wnd.m_bar.m_hWnd, SB_CTL, &nMin, &nMax);
    EXPECT_EQ(nMax, 50);
    EXPECT_EQ(::GetScrollPos(wnd.m_bar.m_hWnd, SB_CTL), 20);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 20);
    EXPECT_EQ(::GetScrollPos(wnd.m_hWnd, SB_VERT), 0);  // the window's own bar is untouched
}

} // namespace
