// Frames: prompts on the status line (commands, menus, child frames) and the frame's floating
// windows following its activation and enabled state.
#include "afxtest.h"
#include "afxwndtest.h"
#include "f1_test_ids.h"
#include "f2_test_ids.h"
#include <vector>

namespace {

// Records how the system was asked to draw the caption.
class CPromptFrame : public CMDIFrameWnd
{
public:
    std::vector<BOOL> m_ncActive;
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_NCACTIVATE)
            m_ncActive.push_back((BOOL)wParam);
        return CMDIFrameWnd::DefWindowProc(nMsg, wParam, lParam);
    }
};

// A floating frame owned by the main frame; it keeps the frame drawn active when bSync is set.
class CPaletteWnd : public CFrameWnd
{
public:
    BOOL m_bSync = TRUE;
    std::vector<DWORD> m_flags;
    LRESULT OnFloatStatus(WPARAM wParam, LPARAM)
    {
        if (wParam == FS_SYNCACTIVE)
            return m_bSync;
        m_flags.push_back((DWORD)wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPaletteWnd, CFrameWnd)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

// A shown MDI frame with a stand-in status bar (a static control with the status bar's id).
class FrameFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pMain = new CPromptFrame;
        ASSERT_TRUE(m_pMain->LoadFrame(IDR_F2_MAIN, WS_OVERLAPPEDWINDOW));
        m_app.m_pMainWnd = m_pMain;
        ASSERT_TRUE(m_bar.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), m_pMain,
                                   AFX_IDW_STATUS_BAR));
        m_pMain->ShowWindow(SW_SHOW);
        afxtest::PumpMessages();    // the frame's first prompt was posted
    }
    void TearDown() override
    {
        if (m_pMain->m_hWnd != nullptr)
            m_pMain->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        afxtest::DrainQuit();
    }
    CString BarText()
    {
        CString text;
        m_bar.GetWindowText(text);
        return text;
    }
    CPaletteWnd* CreatePalette(BOOL bSync)
    {
        auto* pPalette = new CPaletteWnd;
        pPalette->m_bSync = bSync;
        if (!pPalette->Create(nullptr, "palette", WS_POPUP | WS_CAPTION | WS_VISIBLE, CRect(20, 20, 140, 100), m_pMain,
                              nullptr, WS_EX_TOOLWINDOW))
            return nullptr;
        return pPalette;
    }
    BOOL Activate(CWnd& wnd)
    {
        wnd.SetActiveWindow();
        return afxtest::WaitFor([&] { return ::GetActiveWindow() == wnd.m_hWnd; });
    }

    CWinApp m_app;
    CPromptFrame* m_pMain = nullptr;
    CWnd m_bar;
};

TEST_F(FrameFixture, PromptsOfCommandsAndTextsGoToTheStatusLine)
{
    EXPECT_STREQ(BarText(), "Ready");
    EXPECT_EQ(m_pMain->SendMessage(WM_SETMESSAGESTRING, ID_F2_PROMPT), AFX_IDS_IDLEMESSAGE);
    EXPECT_STREQ(BarText(), "Does a thing");    // the prompt, not the tip after "\n"
    EXPECT_EQ(m_pMain->SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM) "Loading e1m1.map"), ID_F2_PROMPT);
    EXPECT_STREQ(BarText(), "Loading e1m1.map");
    m_pMain->SetMessageText(ID_F2_NOPROMPT);
    EXPECT_STREQ(BarText(), "");

    // A child frame has no bar of its own: its prompts show in the main frame's.
    auto* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(nullptr, "child"));
    pChild->SendMessage(WM_SETMESSAGESTRING, ID_F2_EDIT);
    EXPECT_STREQ(BarText(), "Edits the thing");
    EXPECT_EQ(m_pMain->m_nIDLastMessage, (UINT)ID_F2_EDIT);
    pChild->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_STREQ(BarText(), "Ready");
}

TEST_F(FrameFixture, MenuPromptsShowWhileTheMenuIsOpenAndReadyAfterwards)
{
    HMENU hMenu = ::GetMenu(m_pMain->m_hWnd);
    auto select = [&](UINT nID, UINT nFlags) {
        m_pMain->SendMessage(WM_MENUSELECT, MAKEWPARAM(nID, nFlags), (LPARAM)hMenu);
        m_pMain->SendMessage(WM_ENTERIDLE, MSGF_MENU, (LPARAM)m_pMain->m_hWnd);
        return BarText();
    };
    EXPECT_STREQ(select(ID_F2_PROMPT, MF_STRING), "Does a thing");
    // Fly-by prompts of toolbars do not pop the menu's prompt away.
    m_pMain->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_STREQ(BarText(), "Does a thing");
    EXPECT_STREQ(select(0, MF_POPUP), "");
    EXPECT_STREQ(select(AFX_IDM_FIRST_MDICHILD + 2, MF_STRING), "Activate this window");
    EXPECT_STREQ(select(SC_CLOSE, MF_STRING), "");

    m_pMain->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);   // the menu closed
    EXPECT_STREQ(BarText(), "Ready");
    m_pMain->SendMessage(WM_SETMESSAGESTRING, ID_F2_PROMPT);
    m_pMain->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_STREQ(BarText(), "Ready");
}

TEST_F(FrameFixture, PalettesFollowTheFramesEnabledState)
{
    CPaletteWnd* pPalette = CreatePalette(TRUE);
    ASSERT_NE(pPalette, nullptr);
    pPalette->m_flags.clear();
    m_pMain->EnableWindow(FALSE);
    m_pMain->EnableWindow(TRUE);
    std::vector<DWORD> expected = {FS_DISABLE, FS_ENABLE};
    EXPECT_EQ(pPalette->m_flags, expected);
    pPalette->DestroyWindow();
}

TEST_F(FrameFixture, AFrameStaysDrawnActiveWhileItsPaletteIsActive)
{
    CPaletteWnd* pPalette = CreatePalette(TRUE);
    CPaletteWnd* pPlain = CreatePalette(FALSE);     // does not keep the frame active
    ASSERT_NE(pPalette, nullptr);
    ASSERT_NE(pPlain, nullptr);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 100,
                               100, nullptr, nullptr));
    auto lastCaption = [&] { return m_pMain->m_ncActive.empty() ? -1 : (int)m_pMain->m_ncActive.back(); };

    ASSERT_TRUE(Activate(*m_pMain));
    EXPECT_EQ(lastCaption(), 1);
    ASSERT_TRUE(Activate(*pPalette));
    EXPECT_TRUE(m_pMain->m_bStayActive);
    EXPECT_EQ(lastCaption(), 1);
    ASSERT_FALSE(pPalette->m_flags.empty());
    EXPECT_EQ(pPalette->m_flags.back(), (DWORD)FS_ACTIVATE);

    // From the palette to a window outside the frame's family: frame and palettes look inactive.
    ASSERT_TRUE(Activate(other));
    EXPECT_FALSE(m_pMain->m_bStayActive);
    EXPECT_EQ(lastCaption(), 0);
    EXPECT_EQ(pPalette->m_flags.back(), (DWORD)FS_DEACTIVATE);

    ASSERT_TRUE(Activate(*m_pMain));
    EXPECT_EQ(pPalette->m_flags.back(), (DWORD)FS_ACTIVATE);
    ASSERT_TRUE(Activate(*pPlain));
    EXPECT_FALSE(m_pMain->m_bStayActive);
    EXPECT_EQ(lastCaption(), 0);
    ASSERT_TRUE(Activate(*pPalette));
    EXPECT_TRUE(m_pMain->m_bStayActive);
    EXPECT_EQ(lastCaption(), 1);

    other.DestroyWindow();
    pPlain->DestroyWindow();
    pPalette->DestroyWindow();
}

// The top-level window under the centre of a window's rectangle on the screen.
HWND RootUnderCentre(CWnd& wnd)
{
    CRect rect;
    wnd.GetWindowRect(&rect);
    return ::GetAncestor(::WindowFromPoint(rect.CenterPoint()), GA_ROOT);
}

// A click on the frame's caption stacks it over its windows; when a dialog's modal loop next
// waits for its user (here a dialog opened by a dialog of the frame), every window the frame owns
// is above it again: the palette, the first dialog and the second.
TEST_F(FrameFixture, TheFramesWindowsComeBackAboveItWhenADialogOfADialogWaits)
{
    m_pMain->SetWindowPos(nullptr, 60, 60, 800, 620, SWP_NOZORDER | SWP_NOACTIVATE);
    CPaletteWnd* pPalette = CreatePalette(TRUE);
    ASSERT_NE(pPalette, nullptr);
    pPalette->SetWindowPos(nullptr, 120, 460, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CDialog first(IDD_F1_VALUES, m_pMain);
    std::vector<std::pair<const char*, HWND>> wrong;
    BOOL bSecondRan = FALSE;
    AfxSeamDrive([&](AfxModalCall& outer) {
        first.SetWindowPos(nullptr, 420, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // A sheet that lets its user work in the frame meanwhile enables it again.
        m_pMain->EnableWindow(TRUE);
        CRect frame;
        m_pMain->GetWindowRect(&frame);
        afxtest::InputScript click;
        click.MoveTo(CPoint(frame.left + 120, frame.top + ::GetSystemMetrics(SM_CYFRAME) +
                                                  ::GetSystemMetrics(SM_CYCAPTION) / 2))
            .Click()
            .Pause(50);
        ASSERT_TRUE(click.Run());
        afxtest::WaitFor([&] { return ::GetForegroundWindow() == m_pMain->m_hWnd; }, 2000);
        CDialog second(IDD_F1_VALUES, &first);
        AfxSeamDrive([&](AfxModalCall& inner) {
            bSecondRan = TRUE;
            CWnd* pSecond = CWnd::FromHandle(inner.hWnd);
            pSecond->SetWindowPos(nullptr, 420, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            const std::pair<const char*, CWnd*> owned[] = {
                {"palette", pPalette}, {"first dialog", &first}, {"second dialog", pSecond}};
            for (const auto& o : owned)
                if (RootUnderCentre(*o.second) != o.second->m_hWnd)
                    wrong.push_back({o.first, RootUnderCentre(*o.second)});
            AfxSeamPressButton(inner.hWnd, IDCANCEL);
        });
        second.DoModal();
        AfxSeamPressButton(outer.hWnd, IDCANCEL);
    });
    first.DoModal();
    EXPECT_TRUE(bSecondRan);
    for (const auto& w : wrong)
        ADD_FAILURE() << "the " << w.first << " lies under " << (w.second == m_pMain->m_hWnd ? "the frame" : "another window");
    EXPECT_TRUE(m_pMain->IsWindowEnabled());
    pPalette->DestroyWindow();
}

} // namespace
