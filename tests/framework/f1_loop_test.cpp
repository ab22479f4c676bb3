// The message loop: pre-translation walk, accelerators, idle processing, windowless timers and
// WM_QUIT in nested loops.
#include "afxtest.h"
#include "f1_test_ids.h"
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_walk;

class CWalkWnd : public CWnd
{
public:
    std::string m_name;
    BOOL m_bEat = FALSE;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_walk.push_back(m_name);
        return m_bEat;
    }
};

// An application object of the test's own (the program's plain one comes back afterwards).
class CLoopApp : public CWinApp
{
public:
    BOOL m_bTimerIsIdle = TRUE;
    std::vector<LONG> m_idleCounts;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (CWinApp::PreTranslateMessage(pMsg))
            return TRUE;
        if (pMsg->message == WM_KEYDOWN)
            g_walk.push_back("app");
        return FALSE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        m_idleCounts.push_back(lCount);
        return CWinApp::OnIdle(lCount);
    }
    BOOL IsIdleMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TIMER && !m_bTimerIsIdle)
            return FALSE;
        return CWinApp::IsIdleMessage(pMsg);
    }
};

TEST(PreTranslate, WalksFromTheTargetUpToTheMainWindowThenTheApplication)
{
    CLoopApp app;
    CWalkWnd owner, main, child, grandchild;
    owner.m_name = "owner";
    main.m_name = "main";
    child.m_name = "child";
    grandchild.m_name = "grandchild";
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "o", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "m", WS_POPUP, 0, 0, 100, 100, owner.m_hWnd, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD, CRect(0, 0, 50, 50), &main, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, "g", WS_CHILD, CRect(0, 0, 20, 20), &child, 2));
    app.m_pMainWnd = &main;

    g_walk.clear();
    ::PostMessageA(grandchild.m_hWnd, WM_KEYDOWN, VK_F2, 0);
    ASSERT_TRUE(app.PumpMessage());
    std::vector<std::string> expected = {"grandchild", "child", "main", "app"};
    EXPECT_EQ(g_walk, expected);

    // A window on the way that takes the message ends the walk.
    g_walk.clear();
    child.m_bEat = TRUE;
    ::PostMessageA(grandchild.m_hWnd, WM_KEYDOWN, VK_F2, 0);
    ASSERT_TRUE(app.PumpMessage());
    expected = {"grandchild", "child"};
    EXPECT_EQ(g_walk, expected);
    app.m_pMainWnd = nullptr;
}

// A frame with its own accelerators and update handlers.
class CAccelFrame : public CFrameWnd
{
public:
    std::vector<UINT> m_commands;
    void OnAccel(UINT nID) { m_commands.push_back(nID); }
    void OnUpdateAccelOff(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CAccelFrame, CFrameWnd)
    ON_COMMAND_RANGE(ID_F1_ACCEL, ID_F1_ACCEL_OFF, OnAccel)
    ON_UPDATE_COMMAND_UI(ID_F1_ACCEL_OFF, OnUpdateAccelOff)
END_MESSAGE_MAP()

TEST(PreTranslate, TheFrameTranslatesItsAcceleratorsAndRefusesDisabledCommands)
{
    CLoopApp app;
    CAccelFrame* pFrame = new CAccelFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_F1_FRAME, WS_OVERLAPPEDWINDOW));
    ASSERT_NE(pFrame->m_hAccelTable, nullptr);
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), pFrame, 5));
    app.m_pMainWnd = pFrame;

    ::PostMessageA(child.m_hWnd, WM_KEYDOWN, VK_F5, 0);
    ::PostMessageA(child.m_hWnd, WM_KEYDOWN, VK_F6, 0);
    afxtest::PumpMessages();
    std::vector<UINT> expected = {ID_F1_ACCEL};     // F6's command is disabled: refused
    EXPECT_EQ(pFrame->m_commands, expected);

    // The same refusal for a menu command.
    pFrame->SendMessage(WM_COMMAND, ID_F1_ACCEL_OFF, 0);
    EXPECT_EQ(pFrame->m_commands, expected);
    // A control's notification with that id is not a menu command and is not refused.
    pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_F1_ACCEL_OFF, BN_CLICKED), (LPARAM)child.m_hWnd);
    expected.push_back(ID_F1_ACCEL_OFF);
    EXPECT_EQ(pFrame->m_commands, expected);

    app.m_pMainWnd = nullptr;
    pFrame->DestroyWindow();
    afxtest::DrainQuit();
}

// ---- Idle -------------------------------------------------------------------------------------

class CTickWnd : public CWnd
{
public:
    int m_nTicks = 0;
    void OnTimer(UINT_PTR)
    {
        if (++m_nTicks == 3) {
            KillTimer(1);
            ::PostQuitMessage(5);
        }
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTickWnd, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Idle, TimerMessagesRestartIdleProcessingOnlyWhenTheApplicationSaysSo)
{
    for (BOOL bTimerIsIdle : {TRUE, FALSE}) {
        CLoopApp app;
        app.m_bTimerIsIdle = bTimerIsIdle;
        CTickWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        afxtest::PumpMessages();
        wnd.SetTimer(1, 20);
        EXPECT_EQ(app.Run(), 5);   // the loop ends with the code of WM_QUIT
        EXPECT_EQ(wnd.m_nTicks, 3);
        int nStarts = 0;
        for (LONG lCount : app.m_idleCounts)
            nStarts += lCount == 0;
        if (bTimerIsIdle)
            EXPECT_GE(nStarts, 3) << "each tick restarts idle processing";
        else
            EXPECT_EQ(nStarts, 1) << "ticks never restart idle processing";
    }
}

TEST(Idle, RepeatedMouseMovesAndPaintingDoNotRestartIdle)
{
    CWinThread* pThread = AfxGetThread();
    MSG msg = {};
    msg.message = WM_MOUSEMOVE;
    msg.pt = {10, 10};
    pThread->IsIdleMessage(&msg);
    EXPECT_FALSE(pThread->IsIdleMessage(&msg));
    msg.pt = {11, 10};
    EXPECT_TRUE(pThread->IsIdleMessage(&msg));
    msg.message = WM_PAINT;
    EXPECT_FALSE(pThread->IsIdleMessage(&msg));
    msg.message = WM_KEYDOWN;
    EXPECT_TRUE(pThread->IsIdleMessage(&msg));
}

class CIdleCountFrame : public CFrameWnd
{
public:
    int m_nIdleUpdates = 0;
    LRESULT OnIdleUpdate(WPARAM wParam, LPARAM lParam)
    {
        ++m_nIdleUpdates;
        return CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CIdleCountFrame, CFrameWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class CIdleCountWnd : public CWnd
{
public:
    int m_nIdleUpdates = 0;
    LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++m_nIdleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CIdleCountWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

TEST(Idle, CommandUpdatesReachTheMainFrameItsDescendantsAndFloatingFrames)
{
    CLoopApp app;
    CIdleCountFrame* pMain = new CIdleCountFrame;
    ASSERT_TRUE(pMain->Create(nullptr, "main", WS_OVERLAPPEDWINDOW));
    pMain->ShowWindow(SW_SHOWNA);
    CIdleCountWnd bar;
    ASSERT_TRUE(bar.Create(nullptr, "bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pMain, 9));
    // A floating frame: owned by the main frame, not its descendant.
    CIdleCountFrame* pFloating = new CIdleCountFrame;
    ASSERT_TRUE(pFloating->Create(nullptr, "floating", WS_POPUP | WS_CAPTION, CFrameWnd::rectDefault, pMain));
    pFloating->ShowWindow(SW_SHOWNA);
    CIdleCountWnd floatingBar;
    ASSERT_TRUE(floatingBar.Create(nullptr, "fbar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pFloating, 9));
    app.m_pMainWnd = pMain;

    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_EQ(pMain->m_nIdleUpdates, 1);
    EXPECT_EQ(bar.m_nIdleUpdates, 1);
    EXPECT_EQ(pFloating->m_nIdleUpdates, 1);
    EXPECT_EQ(floatingBar.m_nIdleUpdates, 1);
    EXPECT_FALSE(app.OnIdle(1));    // frees the temporary maps; nothing more to do

    // Delayed layout work is done at idle time.
    pMain->DelayRecalcLayout();
    EXPECT_NE(pMain->m_nIdleFlags & CFrameWnd::idleLayout, 0u);
    app.OnIdle(0);
    EXPECT_EQ(pMain->m_nIdleFlags, 0u);

    app.m_pMainWnd = nullptr;
    pFloating->DestroyWindow();
    pMain->DestroyWindow();
    afxtest::DrainQuit();
}

// ---- Nested loops and WM_QUIT -----------------------------------------------------------------

TEST(NestedLoops, AQuitSeenByANestedPumpIsPostedAgainWithItsCode)
{
    ::PostQuitMessage(9);
    EXPECT_FALSE(AfxPumpWaitingMessages());
    EXPECT_EQ(afxtest::DrainQuit(), 9);
}

// A window running its own modal loop until told to stop.
class CModalWnd : public CWnd
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_walk.push_back("modal");
        return FALSE;
    }
    LRESULT OnKickIdle(WPARAM, LPARAM lCount)
    {
        // Three kicks, then no more idle work; a timer without a window ends the loop later.
        if (++m_nKicks == 3)
            ::SetTimer(nullptr, 0, 1, EndFromTimer);
        return lCount < 2;
    }
    static void CALLBACK EndFromTimer(HWND, UINT, UINT_PTR id, DWORD);
    int m_nKicks = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

CModalWnd* g_pModal = nullptr;
bool g_bTimerFired = false;

void CALLBACK CModalWnd::EndFromTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_bTimerFired = true;
    g_pModal->EndModalLoop(42);
}

TEST(NestedLoops, ModalLoopsWalkKickIdleDispatchWindowlessTimersAndRepostQuit)
{
    CLoopApp app;
    CModalWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "modal", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    g_pModal = &wnd;
    g_walk.clear();
    g_bTimerFired = false;
    ::PostMessageA(wnd.m_hWnd, WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(wnd.RunModalLoop(0), 42);
    EXPECT_TRUE(g_bTimerFired);
    EXPECT_EQ(wnd.m_nKicks, 3);
    std::vector<std::string> expected = {"modal", "app"};
    EXPECT_EQ(g_walk, expected);

    // A WM_QUIT ends the modal loop and is posted again with its own code.
    wnd.m_nKicks = 100;
    ::PostQuitMessage(17);
    EXPECT_EQ(wnd.RunModalLoop(0), -1);
    EXPECT_EQ(afxtest::DrainQuit(), 17);
    g_pModal = nullptr;
}

} // namespace
