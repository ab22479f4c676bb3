// The main frame's docking bars: where they start and that their places survive a restart.
#include "afxtest.h"
#include "shell_fixture.h"
#include "afxwndtest.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include "SECDockBar.h"
#include "../../res/resource.h"
#include "TextureBrowser.h"
#include <string>

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

// At the first start the docked windows fit what they show: the Output window a whole build line
// of 80 characters, the Resource window's texture browser a column of 64-pixel thumbnails.
TEST_F(MainFrameBars, TheFirstSizesFitTheContent)
{
    CMainFrame* pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    COutputTabBar& output = pFrame->m_wndOutputBar;
    ASSERT_NE(output.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(output.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_LEFT);
    const std::string line = "Processing start.map: 1432 brushes, 8754 faces, 212 entities; wrote start.bsp ok";
    ASSERT_EQ(80u, line.size());
    output.ActivateTab("Build");
    output.PrintToTab("Build", line.c_str());
    afxtest::PumpMessages();
    COutputEdit& pane = output.m_build;
    ASSERT_TRUE(pane.IsWindowVisible());
    CRect client;
    pane.GetClientRect(&client);
    // The line's first and last characters are inside the pane, the pane not scrolled sideways.
    LRESULT first = pane.SendMessage(EM_POSFROMCHAR, 0);
    LRESULT last = pane.SendMessage(EM_POSFROMCHAR, 79);
    EXPECT_GE(static_cast<short>(LOWORD(first)), 0);
    CClientDC dc(&pane);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, reinterpret_cast<HGDIOBJ>(pane.SendMessage(WM_GETFONT)));
    SIZE end = {};
    ::GetTextExtentPoint32A(dc.m_hDC, line.c_str() + 79, 1, &end);
    ::SelectObject(dc.m_hDC, old);
    EXPECT_LE(static_cast<short>(LOWORD(last)) + end.cx, client.right) << "the line's end is cut";
    // The window keeps most of the frame to the maps.
    CRect frame, bar;
    pFrame->GetClientRect(&frame);
    output.GetWindowRect(&bar);
    EXPECT_LT(bar.Width(), frame.Width() / 2);

    // The texture browser at its thumbnail size of 64 shows a column of them.
    CProjectBar& resource = pFrame->m_wndResourceBar;
    CTextureBrowser& browser = resource.m_textureBrowser;
    resource.m_tabWnd.ActivateTab(2);
    afxtest::PumpMessages();
    ASSERT_TRUE(browser.IsWindowVisible());
    EXPECT_EQ(64, browser.GetThumbnailSize());
    EXPECT_GE(browser.GetGrid().columns, 1);
    EXPECT_EQ(64, browser.GetGrid().size);
    CRect textures;
    browser.GetTextureWnd()->GetClientRect(&textures);
    EXPECT_GE(textures.Width(), 64 + 18);

    // A narrower window shows one column of smaller thumbnails.
    pFrame->DockControlBarEx(&resource, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 100);
    pFrame->RecalcLayout();
    afxtest::PumpMessages();
    EXPECT_EQ(1, browser.GetGrid().columns);
    EXPECT_LT(browser.GetGrid().size, 64);
    EXPECT_EQ(browser.GetGrid().size, browser.GetTextureWnd()->m_size);
}

} // namespace
