// The main frame's docking bars: where they start and that their places survive a restart.
#include "afxtest.h"
#include "shell_fixture.h"
#include "afxwndtest.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include "SECDockBar.h"
#include "../../res/resource.h"

namespace {

class MainFrameBars : public testing::Test
{
protected:
    CMainFrame* Start()
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        if (!m_app.InitInstance())
            return nullptr;
        m_app.GetMainFrame()->RecalcLayout();
        afxtest::PumpMessages();
        return m_app.GetMainFrame();
    }
    void Close()
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::PumpMessages();
        afxtest::DrainQuit();
    }
    void TearDown() override { Close(); }
    CEditorApp m_app;
};

TEST_F(MainFrameBars, TheOutputWindowStartsDockedLeftAndComesBackWhereItWasLeft)
{
    CMainFrame* pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    SECControlBar& bar = pFrame->m_wndOutputBar;
    ASSERT_NE(bar.m_hWnd, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(bar.m_hWnd), IDW_OUTPUT_WINDOW);
    CString strTitle;
    bar.GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "Output Window");
    ASSERT_NE(bar.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(bar.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(bar.IsWindowVisible());
    CRect rect;
    bar.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 150);
    EXPECT_TRUE(pFrame->m_impl.m_bGradientCaption);

    // Moved to the right side and made wider, then the editor ends.
    pFrame->DockControlBarEx(&bar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 210);
    pFrame->RecalcLayout();
    Close();

    // The next start puts it there again.
    pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    ASSERT_NE(pFrame->m_wndOutputBar.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(pFrame->m_wndOutputBar.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_RIGHT);
    pFrame->m_wndOutputBar.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 210);

    // Floated, it floats again after a restart, and still docks back to the right.
    pFrame->FloatControlBar(&pFrame->m_wndOutputBar, CPoint(200, 200));
    Close();
    pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    EXPECT_TRUE(pFrame->m_wndOutputBar.IsFloating());
    pFrame->m_wndOutputBar.m_pDockContext->ToggleDocking();
    ASSERT_NE(pFrame->m_wndOutputBar.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(pFrame->m_wndOutputBar.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_RIGHT);
}

} // namespace
