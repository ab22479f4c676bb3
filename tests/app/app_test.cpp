// The editor's start-up and end, run in the test program with an application object of its own.
#include "afxtest.h"
#include "shell_fixture.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include <vector>

namespace {

class StartFixture : public testing::Test
{
protected:
    // Runs the start-up with a show command; the main frame is left for the test to look at.
    BOOL Start(int nCmdShow)
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), nCmdShow);
        shelltest::QuietStart(m_app);
        return m_app.InitInstance();
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
    }
    CEditorApp m_app;
};

TEST_F(StartFixture, TheMainFrameComesUpMaximisedWithTheEditorsTitleAndMenu)
{
    ASSERT_TRUE(Start(SW_SHOWNORMAL));
    CMainFrame* pFrame = m_app.GetMainFrame();
    ASSERT_NE(pFrame, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), pFrame);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_TRUE(pFrame->IsZoomed());
    CString title;
    pFrame->GetWindowText(title);
    EXPECT_STREQ(title, "Morvane");
    EXPECT_EQ(pFrame->GetStyle() & FWS_ADDTOTITLE, 0u);
    EXPECT_NE(pFrame->m_hWndMDIClient, nullptr);
    EXPECT_NE(pFrame->m_hAccelTable, nullptr);
    EXPECT_EQ(pFrame->MDIGetActive(), nullptr);
    EXPECT_STREQ(AfxGetAppName(), "Morvane");
    CMenu* pMenu = pFrame->GetMenu();
    ASSERT_NE(pMenu, nullptr);
    CString first;
    pMenu->GetMenuString(0, first, MF_BYPOSITION);
    EXPECT_STREQ(first, "&File");
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);     // nothing is opened at start

    // Closing the main window ends the loop with exit code 0.
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(afxtest::DrainQuit(), 0);
}

TEST_F(StartFixture, AMinimisedStartStaysMinimisedAndTheSavedStateIsHonoured)
{
    ASSERT_TRUE(Start(SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(m_app.GetMainFrame()->IsIconic());
    m_app.m_pMainWnd->SendMessage(WM_CLOSE);
    afxtest::DrainQuit();

    m_app.WriteProfileInt("Main Window", "Maximized", 0);
    ASSERT_TRUE(Start(SW_SHOWNORMAL));
    EXPECT_FALSE(m_app.GetMainFrame()->IsZoomed());
    EXPECT_FALSE(m_app.GetMainFrame()->IsIconic());
}

TEST(EditorApp, TimerMessagesNeverRestartIdleProcessing)
{
    CEditorApp app;
    MSG msg = {};
    msg.message = WM_TIMER;
    EXPECT_FALSE(app.IsIdleMessage(&msg));
    msg.message = WM_KEYDOWN;
    EXPECT_TRUE(app.IsIdleMessage(&msg));
}

} // namespace

// The editing commands' shortcuts in the main accelerator table, and Space typed into an edit
// field stays a space.
TEST_F(StartFixture, EditingShortcutsAndSpaceInAnEditField)
{
    ASSERT_TRUE(Start(SW_SHOWNORMAL));
    CMainFrame* pFrame = m_app.GetMainFrame();
    ASSERT_NE(pFrame, nullptr);
    int n = ::CopyAcceleratorTableA(pFrame->m_hAccelTable, nullptr, 0);
    std::vector<ACCEL> table(static_cast<size_t>(n));
    ::CopyAcceleratorTableA(pFrame->m_hAccelTable, table.data(), n);
    auto command = [&](WORD key, BYTE mods) -> int {
        for (const ACCEL& a : table)
            if (a.key == key && (a.fVirt & (FCONTROL | FSHIFT | FALT)) == mods)
                return a.cmd;
        return -1;
    };
    const struct
    {
        WORD key;
        BYTE mods;
        int cmd;
    } shortcuts[] = {
        {'X', FCONTROL, 57635},         {'C', FCONTROL, 57634},         {'V', FCONTROL, 57637},
        {VK_SPACE, 0, 32867},           {'R', FCONTROL, 32840},         {'W', FCONTROL, 32857},
        {'I', FCONTROL | FSHIFT, 32846}, {'E', FCONTROL | FSHIFT, 32847}, {'A', FCONTROL | FSHIFT, 32895},
        {'R', FCONTROL | FSHIFT, 32908}, {'F', FCONTROL, 32896},         {'P', FCONTROL, 32902},
        {'T', FCONTROL, 32889},         {'S', FCONTROL, 32788},         {'U', FCONTROL, 32869},
        {'I', FCONTROL, 32870},
    };
    for (const auto& s : shortcuts)
        EXPECT_EQ(s.cmd, command(s.key, s.mods)) << s.key << " " << int(s.mods);
    // The File menu's map commands carry the map's own ids.
    CMenu* pMenu = pFrame->GetMenu();
    ASSERT_NE(pMenu, nullptr);
    CString text;
    for (UINT id : {32787u, 32788u, 32789u, 32790u, 32796u, 32799u})
        EXPECT_TRUE(pMenu->GetMenuString(id, text, MF_BYCOMMAND) > 0) << id;

    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, pFrame->m_hWnd, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    ::SetFocus(edit);
    MSG msg = {};
    msg.hwnd = edit;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_SPACE;
    EXPECT_FALSE(pFrame->PreTranslateMessage(&msg)) << "the edit field gets its space";
    ::DestroyWindow(edit);
}

// Before the first idle update (a tip of the day up at start keeps it away) the status bar's
// entity, size and position panes show nothing: not the texts that only size them.
TEST_F(StartFixture, TheStatusBarPanesAreBlankBeforeTheFirstIdleUpdate)
{
    ASSERT_TRUE(Start(SW_SHOWNORMAL));
    CMainFrame* pFrame = m_app.GetMainFrame();
    ASSERT_NE(pFrame, nullptr);
    HWND hBar = ::GetDlgItem(pFrame->m_hWnd, AFX_IDW_STATUS_BAR);
    ASSERT_NE(hBar, nullptr);
    auto* pBar = dynamic_cast<SECPaneStatusBar*>(CWnd::FromHandlePermanent(hBar));
    ASSERT_NE(pBar, nullptr);
    for (int pane = 1; pane <= 3; ++pane) {
        // The bar draws its panes itself and draws no text for a disabled one.
        EXPECT_NE(0u, pBar->GetPaneStyle(pane) & SBPS_DISABLED) << "pane " << pane;
        RECT rc = {};
        ::SendMessageA(hBar, SB_GETRECT, pane, reinterpret_cast<LPARAM>(&rc));
        EXPECT_GT(rc.right - rc.left, 50) << "pane " << pane << " keeps its width";
    }
}

// The selection indicator (the last status pane) shows its bitmap on the screen after the idle
// update, as the vertex warning tells the user to look at it.
TEST_F(StartFixture, TheSelectionIndicatorShowsItsBitmap)
{
    ASSERT_TRUE(Start(SW_SHOWMAXIMIZED));
    CMainFrame* pFrame = m_app.GetMainFrame();
    ASSERT_NE(pFrame, nullptr);
    afxtest::PumpMessages();
    m_app.OnIdle(0);
    pFrame->m_wndStatusBar.UpdateWindow();
    afxtest::PumpMessages();
    // Where the status bar control draws the pane.
    CRect pane;
    pFrame->m_wndStatusBar.SendMessage(SB_GETRECT, 4, reinterpret_cast<LPARAM>(&pane));
    pFrame->m_wndStatusBar.ClientToScreen(&pane);
    // The bitmap's own pixels, as the screen's format shows them.
    HBITMAP hBitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(255));
    ASSERT_NE(nullptr, hBitmap);
    BITMAP bm = {};
    ::GetObjectA(hBitmap, sizeof bm, &bm);
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    int differ = 0, drawn = 0;
    const COLORREF corner = ::GetPixel(hMem, 0, 0);
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x) {
            COLORREF want = ::GetPixel(hMem, x, y);
            COLORREF got = ::GetPixel(hScreen, pane.left + x, pane.top + y);
            differ += want != got;
            drawn += want != corner;
        }
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    ::DeleteObject(hBitmap);
    EXPECT_GT(drawn, 20) << "the bitmap draws a frame";
    EXPECT_EQ(0, differ) << "pixels of the pane that are not the bitmap's";
}
