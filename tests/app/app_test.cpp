// The editor's start-up and end, run in the test program with an application object of its own.
#include "afxtest.h"
#include "shell_fixture.h"
#include "EditorApp.h"
#include "MainFrame.h"

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
