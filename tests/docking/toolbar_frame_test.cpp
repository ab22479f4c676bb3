// Toolbars in a docking main frame with a manager: clicks, check buttons, hot tracking,
// prompts, and the whole set found again after the frame is made anew.
#include "DockingFixture.h"
#include "SECToolBarMgr.h"
#include "SECToolBarDlgs.h"
#include "toolbar_test_ids.h"
#include <algorithm>

using afxtest::Text;

namespace {

const UINT ID_BAR_STANDARD = 0xE805;
const UINT ID_BAR_SECOND = 0xE806;

SECToolBarBtn* NewPlainButton() { return new SECToolBarBtn; }

const SECBtnMapEntry g_btnMap[] = {
    {NewPlainButton, ID_TB_CHECK, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {nullptr, 0, 0, {0, 0, 0, 0, 0}},
};

// A frame that handles the test commands (all but ID_TB_OFF enabled) and records them.
class CCmdFrame : public docktest::CTestMainFrame
{
public:
    std::vector<UINT> m_commands;
    std::vector<std::pair<WPARAM, LPARAM>> m_wndNotify;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID >= ID_TB_A && nID <= ID_TB_NOIMAGE) {
            if (nCode == CN_COMMAND) {
                if (pHandlerInfo == nullptr)
                    m_commands.push_back(nID);
                return TRUE;
            }
            if (nCode == (int)CN_UPDATE_COMMAND_UI) {
                static_cast<CCmdUI*>(pExtra)->Enable(nID != ID_TB_OFF);
                return TRUE;
            }
        }
        return docktest::CTestMainFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == wmSECToolBarWndNotify)
            m_wndNotify.push_back({wParam, lParam});
        return docktest::CTestMainFrame::WindowProc(message, wParam, lParam);
    }
};

class ToolBarFrame : public testing::Test
{
protected:
    void SetUp() override { Make(); }
    void TearDown() override { Destroy(); }

    void Make()
    {
        m_pFrame = new CCmdFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_DOCK_MAIN, WS_OVERLAPPEDWINDOW));
        m_pFrame->SetWindowPos(nullptr, 60, 40, 820, 620, SWP_NOZORDER | SWP_NOACTIVATE);
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_pManager = new SECToolBarManager(m_pFrame);
        m_pFrame->SetControlBarManager(m_pManager);
        ASSERT_TRUE(m_pManager->SetToolBarResource(IDR_TEST_TOOLBAR, IDR_TEST_LARGEBAR));
        m_pManager->SetButtonMap(g_btnMap);
        static const UINT s_standard[] = {ID_TB_A, ID_TB_B, 0, ID_TB_CHECK, ID_TB_OFF};
        static const UINT s_second[] = {ID_TB_CHECK, ID_TB_A};
        m_pManager->DefineDefaultToolBar(ID_BAR_STANDARD, "Standard", 5, s_standard, CBRS_ALIGN_ANY,
                                         AFX_IDW_DOCKBAR_TOP);
        m_pManager->DefineDefaultToolBar(ID_BAR_SECOND, "Second", 2, s_second, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP,
                                         ID_BAR_STANDARD);
        m_pFrame->ShowWindow(SW_SHOW);
        afxtest::PumpMessages();
    }
    void Destroy()
    {
        if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();
        m_pFrame = nullptr;
        delete m_pManager;
        m_pManager = nullptr;
        afxtest::PumpMessages();
        afxtest::DrainQuit();
    }
    SECCustomToolBar* Bar(UINT nID) { return dynamic_cast<SECCustomToolBar*>(m_pFrame->GetControlBar(nID)); }
    void Idle()
    {
        m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        afxtest::PumpMessages();
    }
    CPoint ButtonCentre(SECCustomToolBar* pBar, int nIndex)
    {
        CRect rect;
        pBar->GetButtonRect(nIndex, &rect);
        pBar->ClientToScreen(&rect);
        return rect.CenterPoint();
    }
    BOOL Click(CPoint pt)
    {
        afxtest::InputScript script;
        script.MoveTo(pt).Click().Pause(50);
        return script.Run();
    }

    CCmdFrame* m_pFrame = nullptr;
    SECToolBarManager* m_pManager = nullptr;
};

TEST_F(ToolBarFrame, DefaultToolBarsDockSideBySide)
{
    m_pManager->LoadState("ToolBarState");     // nothing saved: the defaults are made
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    ASSERT_NE(pStandard, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_TRUE(m_pManager->ToolTipsEnabled());
    EXPECT_FALSE(m_pManager->CoolLookEnabled());
    EXPECT_FALSE(m_pManager->LargeButtonsEnabled());
    EXPECT_EQ(pStandard->GetButtonCount(), 5);
    EXPECT_EQ(pStandard->GetBarStyle() & (CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC),
              (DWORD)(CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC));
    CRect rect1 = docktest::DockingFrame::RectIn(pStandard, m_pFrame);
    CRect rect2 = docktest::DockingFrame::RectIn(pSecond, m_pFrame);
    EXPECT_EQ(rect1.top, rect2.top);
    EXPECT_GE(rect2.left, rect1.right - 2);
    EXPECT_FALSE(pStandard->m_bDirtyHorz);
}

TEST_F(ToolBarFrame, ClicksSendCommandsAndCheckButtonsFollowEverywhere)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    ASSERT_TRUE(pStandard != nullptr && pSecond != nullptr);
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    Idle();
    EXPECT_TRUE(pStandard->GetButtonStyle(4) & TBBS_DISABLED);
    EXPECT_FALSE(pStandard->GetButtonStyle(0) & TBBS_DISABLED);

    m_pFrame->m_prompts.clear();
    ASSERT_TRUE(Click(ButtonCentre(pStandard, 0)));
    ASSERT_TRUE(Click(ButtonCentre(pStandard, 4)));     // disabled: nothing
    EXPECT_EQ(m_pFrame->m_commands, (std::vector<UINT>{ID_TB_A}));
    // The press shows the button's prompt, the release the idle one.
    auto itPrompt = std::find(m_pFrame->m_prompts.begin(), m_pFrame->m_prompts.end(), (UINT)ID_TB_A);
    ASSERT_NE(itPrompt, m_pFrame->m_prompts.end());
    EXPECT_NE(std::find(itPrompt, m_pFrame->m_prompts.end(), (UINT)AFX_IDS_IDLEMESSAGE), m_pFrame->m_prompts.end());

    ASSERT_TRUE(Click(ButtonCentre(pSecond, 0)));
    EXPECT_TRUE(pStandard->GetButtonStyle(3) & TBBS_CHECKED);
    EXPECT_TRUE(pSecond->GetButtonStyle(0) & TBBS_CHECKED);
    ASSERT_TRUE(Click(ButtonCentre(pStandard, 3)));
    EXPECT_FALSE(pStandard->GetButtonStyle(3) & TBBS_CHECKED);
    EXPECT_FALSE(pSecond->GetButtonStyle(0) & TBBS_CHECKED);
    EXPECT_EQ(m_pFrame->m_commands, (std::vector<UINT>{ID_TB_A, ID_TB_CHECK, ID_TB_CHECK}));

    // A press dragged off the button sends nothing.
    afxtest::InputScript script;
    script.MoveTo(ButtonCentre(pStandard, 1)).Down().MoveInSteps(ButtonCentre(pStandard, 1) + CPoint(0, 80), 4).Up();
    ASSERT_TRUE(script.Run());
    EXPECT_EQ(m_pFrame->m_commands.size(), 3u);
    EXPECT_EQ(pStandard->GetSelectedIndex(), -1);
}

TEST_F(ToolBarFrame, HotTrackingFollowsTheMouseInTheFlatLook)
{
    m_pManager->CreateDefaultToolBars();
    m_pManager->EnableCoolLook(TRUE);
    m_pFrame->RecalcLayout();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    ASSERT_NE(pStandard, nullptr);
    EXPECT_EQ(pStandard->m_dwExStyle & (CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER), (DWORD)(CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER));
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    Idle();
    afxtest::InputScript script;
    script.MoveTo(ButtonCentre(pStandard, 1)).Pause(50);
    ASSERT_TRUE(script.Run());
    EXPECT_EQ(pStandard->GetHotIndex(), 1);
    EXPECT_TRUE(pStandard->GetButtonStyle(1) & SEC_TBBS_HOT);
    // Over the disabled button: nothing is hot; leaving the bar clears it by the timer.
    afxtest::InputScript away;
    away.MoveTo(ButtonCentre(pStandard, 1) + CPoint(0, 200)).Pause(50);
    ASSERT_TRUE(away.Run());
    EXPECT_TRUE(afxtest::WaitFor([&] { return pStandard->GetHotIndex() == -1; }, 2000));
    EXPECT_FALSE(pStandard->GetButtonStyle(1) & SEC_TBBS_HOT);
}

TEST_F(ToolBarFrame, ControlNotificationsReachTheFrameAlsoWhenFloating)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    ASSERT_NE(pSecond, nullptr);
    pSecond->SendMessage(wmSECToolBarWndNotify, MAKEWPARAM(7, 257), 0x1234);
    m_pFrame->FloatControlBar(pSecond, CPoint(300, 300));
    ASSERT_TRUE(pSecond->IsFloating());
    pSecond->SendMessage(wmSECToolBarWndNotify, MAKEWPARAM(7, 513), 0x1234);
    ASSERT_EQ(m_pFrame->m_wndNotify.size(), 2u);
    EXPECT_EQ(m_pFrame->m_wndNotify[0].first, (WPARAM)MAKEWPARAM(7, 257));
    EXPECT_EQ(m_pFrame->m_wndNotify[1].first, (WPARAM)MAKEWPARAM(7, 513));
}

// Everything a user sees of the toolbars, as text.
std::vector<std::string> Snapshot(CFrameWnd* pFrame, SECToolBarManager* pManager)
{
    std::vector<std::string> s;
    for (SECCustomToolBar* pBar : pManager->GetToolBars()) {
        CString title;
        pBar->GetWindowText(title);
        std::string text = std::to_string(::GetDlgCtrlID(pBar->m_hWnd)) + " '" + (LPCSTR)title + "'";
        for (int i = 0; i < pBar->GetButtonCount(); i++)
            text += " " + std::to_string(pBar->GetButtonID(i));
        text += pBar->IsVisible() ? " visible" : " hidden";
        text += pBar->IsFloating() ? " floating" : " docked";
        char sz[64];
        snprintf(sz, sizeof sz, " ex %#lx image %dx%d", pBar->m_dwExStyle & 0xF00, pBar->m_cxImage, pBar->m_cyImage);
        text += sz;
        text += (pBar->GetBarStyle() & CBRS_TOOLTIPS) ? " tips" : " notips";
        if (!pBar->IsFloating() && pBar->IsVisible())
            text += " " + Text(docktest::DockingFrame::RectIn(pBar, pFrame));
        s.push_back(text);
    }
    std::sort(s.begin(), s.end());
    return s;
}

TEST_F(ToolBarFrame, EverythingIsFoundAgainAfterARestart)
{
    afxtest::RegistryProfile profile;
    m_pManager->CreateDefaultToolBars();
    m_pFrame->LoadBarState("ToolBarState");
    m_pManager->LoadState("ToolBarState");
    ASSERT_EQ(m_pManager->GetToolBars().size(), 2u);

    m_pManager->EnableToolTips(FALSE);
    m_pManager->EnableCoolLook(TRUE);
    ASSERT_TRUE(m_pManager->EnableLargeButtons(TRUE));
    SECCustomToolBar* pUser = m_pManager->CreateUserToolBar("Mine");
    ASSERT_NE(pUser, nullptr);
    EXPECT_EQ((UINT)::GetDlgCtrlID(pUser->m_hWnd), (UINT)SEC_IDW_USERTOOLBAR_FIRST);
    pUser->InsertButton(0, ID_TB_B);
    pUser->InsertButton(1, ID_TB_A);
    m_pFrame->FloatControlBar(pUser, CPoint(400, 300));
    m_pFrame->ShowControlBar(Bar(ID_BAR_SECOND), FALSE, FALSE);
    m_pFrame->RecalcLayout();
    afxtest::PumpMessages();
    std::vector<std::string> before = Snapshot(m_pFrame, m_pManager);

    m_pFrame->SaveBarState("ToolBarState");
    m_pManager->SaveState("ToolBarState");
    CWinApp* pApp = AfxGetApp();
    EXPECT_EQ(pApp->GetProfileInt("ToolBarState-ToolBarManager", "ToolTips", -1), 0u);
    EXPECT_EQ(pApp->GetProfileInt("ToolBarState-ToolBarManager", "CoolLook", -1), 1u);
    EXPECT_EQ(pApp->GetProfileInt("ToolBarState-ToolBarManager", "LargeButtons", -1), 1u);
    // The user toolbar's own section.
    CString section;
    for (int i = 0; i < 10 && section.IsEmpty(); i++) {
        CString s;
        s.Format("ToolBarState-Bar%d", i);
        if (pApp->GetProfileInt(s, "BarID", 0) == SEC_IDW_USERTOOLBAR_FIRST)
            section = s;
    }
    ASSERT_FALSE(section.IsEmpty());
    EXPECT_STREQ((LPCSTR)pApp->GetProfileString(section, "Title", ""), "Mine");
    EXPECT_EQ(pApp->GetProfileInt(section, "TypeID", 0), (UINT)SEC_TOOLBAR_TYPEID);
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(pApp->GetProfileBinary(section, "Buttons", &pData, &nBytes));
    std::vector<BYTE> bytes(pData, pData + nBytes);
    delete[] pData;
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x42, 0x9C, 0, 0, 0, 0x41, 0x9C, 0, 0, 0}));

    Destroy();
    Make();
    m_pManager->CreateDefaultToolBars();
    m_pFrame->LoadBarState("ToolBarState");
    m_pManager->LoadState("ToolBarState");
    m_pFrame->RecalcLayout();
    afxtest::PumpMessages();
    EXPECT_EQ(Snapshot(m_pFrame, m_pManager), before);
}

TEST_F(ToolBarFrame, UserToolBarsTakeTheFirstFreeIdAndNumber)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* p1 = m_pManager->CreateUserToolBar(nullptr);
    SECCustomToolBar* p2 = m_pManager->CreateUserToolBar("");
    ASSERT_TRUE(p1 != nullptr && p2 != nullptr);
    CString title;
    p2->GetWindowText(title);
    EXPECT_STREQ((LPCSTR)title, "ToolBar2");
    p1->InsertButton(0, ID_TB_A);
    // Its last button removed: the user toolbar goes.
    EXPECT_FALSE(p1->RemoveButton(0));
    afxtest::PumpMessages();
    SECCustomToolBar* p3 = m_pManager->CreateUserToolBar(nullptr);
    ASSERT_NE(p3, nullptr);
    EXPECT_EQ((UINT)::GetDlgCtrlID(p3->m_hWnd), (UINT)SEC_IDW_USERTOOLBAR_FIRST);
    p3->GetWindowText(title);
    EXPECT_STREQ((LPCSTR)title, "ToolBar1");
}

} // namespace

// ---- The customisation dialogs ------------------------------------------------------------------

namespace {

CString ItemText(HWND hList, int nIndex)
{
    char sz[128] = "";
    ::SendMessageA(hList, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)sz);
    return sz;
}

void Notify(HWND hDlg, int nID, UINT nCode)
{
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, nCode), (LPARAM)::GetDlgItem(hDlg, nID));
}

CString Text(HWND hDlg, int nID)
{
    char sz[128] = "";
    ::GetDlgItemTextA(hDlg, nID, sz, sizeof sz);
    return sz;
}

} // namespace

TEST_F(ToolBarFrame, TheToolbarsDialogListsShowsRenamesAndDeletes)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pUser = m_pManager->CreateUserToolBar("Mine");
    ASSERT_NE(pUser, nullptr);
    pUser->InsertButton(0, ID_TB_A);
    m_pFrame->FloatControlBar(pUser, CPoint(300, 300));
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    AfxSeamDrive([&](AfxModalCall& c) {
        HWND hDlg = c.hWnd;
        HWND hList = ::GetDlgItem(hDlg, IDC_SEC_TOOLBARLIST);
        auto* pList = dynamic_cast<CCheckListBox*>(CWnd::FromHandlePermanent(hList));
        ASSERT_NE(pList, nullptr);
        ASSERT_EQ(pList->GetCount(), 3);
        EXPECT_STREQ((LPCSTR)ItemText(hList, 0), "Standard");
        EXPECT_STREQ((LPCSTR)ItemText(hList, 2), "Mine");
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(pList->GetCheck(i), 1);
        EXPECT_TRUE(m_pManager->IsCustomizing());
        EXPECT_TRUE(pSecond->IsCustomizeMode());
        // A default toolbar: "&Reset", no renaming.
        EXPECT_STREQ((LPCSTR)Text(hDlg, IDC_SEC_RESET), "&Reset");
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_SEC_TOOLBARNAME)));
        // Unchecking hides; a bar hidden by itself is unchecked.
        pList->SetCheck(1, 0);
        Notify(hDlg, IDC_SEC_TOOLBARLIST, CLBN_CHKCHANGE);
        EXPECT_FALSE(pSecond->IsVisible());
        m_pFrame->ShowControlBar(pSecond, TRUE, FALSE);
        EXPECT_EQ(pList->GetCheck(1), 1);
        m_pFrame->ShowControlBar(pSecond, FALSE, FALSE);
        EXPECT_EQ(pList->GetCheck(1), 0);
        // The frame does not close meanwhile, nor take menu commands.
        m_pFrame->SendMessage(WM_CLOSE);
        EXPECT_TRUE(::IsWindow(m_pFrame->m_hWnd));
        m_pFrame->m_commands.clear();
        m_pFrame->SendMessage(WM_COMMAND, ID_TB_A);
        EXPECT_TRUE(m_pFrame->m_commands.empty());
        // The user toolbar: "&Delete", renamed on leaving the edit.
        pList->SetCurSel(2);
        Notify(hDlg, IDC_SEC_TOOLBARLIST, LBN_SELCHANGE);
        EXPECT_STREQ((LPCSTR)Text(hDlg, IDC_SEC_RESET), "&Delete");
        HWND hEdit = ::GetDlgItem(hDlg, IDC_SEC_TOOLBARNAME);
        EXPECT_TRUE(::IsWindowEnabled(hEdit));
        ::SetWindowTextA(hEdit, "Yours");
        ::SendMessageA(hEdit, EM_SETMODIFY, TRUE, 0);
        Notify(hDlg, IDC_SEC_TOOLBARNAME, EN_KILLFOCUS);
        CString title;
        pUser->GetWindowText(title);
        EXPECT_STREQ((LPCSTR)title, "Yours");
        EXPECT_STREQ((LPCSTR)ItemText(hList, 2), "Yours");
        // Tool tips off at once.
        ::CheckDlgButton(hDlg, IDC_SEC_TOOLTIPS, BST_UNCHECKED);
        Notify(hDlg, IDC_SEC_TOOLTIPS, BN_CLICKED);
        EXPECT_FALSE(m_pManager->ToolTipsEnabled());
        // Delete: the last item goes, the new last one is selected.
        AfxSeamPressButton(hDlg, IDC_SEC_RESET);
        afxtest::PumpMessages();
        EXPECT_EQ(pList->GetCount(), 2);
        EXPECT_EQ(pList->GetCurSel(), 1);
        EXPECT_EQ(Bar(SEC_IDW_USERTOOLBAR_FIRST), nullptr);
        // Reset: the default buttons come back.
        Bar(ID_BAR_STANDARD)->RemoveButton(0);
        pList->SetCurSel(0);
        Notify(hDlg, IDC_SEC_TOOLBARLIST, LBN_SELCHANGE);
        AfxSeamPressButton(hDlg, IDC_SEC_RESET);
        EXPECT_EQ(Bar(ID_BAR_STANDARD)->GetButtonCount(), 5);
        AfxSeamPressButton(hDlg, IDCANCEL);
    });
    EXPECT_EQ(m_pManager->ExecViewToolBarsDlg(), IDCANCEL);
    EXPECT_FALSE(m_pManager->IsCustomizing());
    EXPECT_FALSE(pSecond->IsCustomizeMode());
    EXPECT_FALSE(m_pManager->ToolTipsEnabled());    // Escape keeps what was clicked
}

TEST_F(ToolBarFrame, NewMakesAnEmptyFloatingUserToolBar)
{
    m_pManager->CreateDefaultToolBars();
    AfxSeamDrive([&](AfxModalCall& c) { AfxSeamPressButton(c.hWnd, IDC_SEC_NEWTOOLBAR); });
    bool bOKWhileEmpty = true;
    AfxSeamDrive([&](AfxModalCall& c) {
        bOKWhileEmpty = ::IsWindowEnabled(::GetDlgItem(c.hWnd, IDOK)) != FALSE;
        ::SetDlgItemTextA(c.hWnd, IDC_SEC_NEWNAME, "Fresh");
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(c.hWnd, IDOK)));
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(m_pManager->ExecViewToolBarsDlg(), IDC_SEC_CUSTOMIZE);
    EXPECT_FALSE(bOKWhileEmpty);
    SECCustomToolBar* pNew = Bar(SEC_IDW_USERTOOLBAR_FIRST);
    ASSERT_NE(pNew, nullptr);
    EXPECT_TRUE(pNew->IsFloating());
    EXPECT_EQ(pNew->GetButtonCount(), 0);
    CString title;
    pNew->GetWindowText(title);
    EXPECT_STREQ((LPCSTR)title, "Fresh");
}

TEST_F(ToolBarFrame, ThePagesCancelRestoresTheSettingsAndTheCommandPageHasPalettes)
{
    m_pManager->CreateDefaultToolBars();
    CPropertySheet sheet("Customize", m_pFrame);
    SECToolBarCmdPage cmdPage;
    cmdPage.SetManager(m_pManager);
    static const UINT s_file[] = {ID_TB_A, ID_TB_B};
    static const UINT s_mode[] = {ID_TB_CHECK};
    cmdPage.DefineBtnGroup("File", 2, s_file);
    cmdPage.DefineBtnGroup("Mode", 1, s_mode);
    SECToolBarsPage page(m_pManager);
    sheet.AddPage(&cmdPage);
    sheet.AddPage(&page);
    size_t nBars = m_pManager->GetToolBars().size();
    AfxSeamDrive([&](AfxModalCall& c) {
        ASSERT_EQ(cmdPage.GetCategoryCount(), 2);
        SECCustomizeToolBar* p0 = cmdPage.GetPalette(0);
        SECCustomizeToolBar* p1 = cmdPage.GetPalette(1);
        ASSERT_TRUE(p0 != nullptr && p1 != nullptr);
        EXPECT_EQ(::GetDlgCtrlID(p0->m_hWnd), 0xE8FF);
        EXPECT_EQ(::GetDlgCtrlID(p1->m_hWnd), 0xE8FE);
        EXPECT_TRUE(p0->IsWindowVisible());
        EXPECT_FALSE(p1->IsWindowVisible());
        EXPECT_EQ(p0->GetButtonCount(), 2);
        EXPECT_EQ(m_pManager->GetToolBars().size(), nBars);     // palettes are no toolbars of the frame
        HWND hCategories = ::GetDlgItem(cmdPage.m_hWnd, IDC_SEC_TOOLBARLIST);
        ::SendMessageA(hCategories, LB_SETCURSEL, 1, 0);
        Notify(cmdPage.m_hWnd, IDC_SEC_TOOLBARLIST, LBN_SELCHANGE);
        EXPECT_FALSE(p0->IsWindowVisible());
        EXPECT_TRUE(p1->IsWindowVisible());
        EXPECT_TRUE(p1->IsCustomizeMode());
        EXPECT_TRUE(m_pManager->IsCustomizing());

        sheet.SetActivePage(1);
        ::CheckDlgButton(page.m_hWnd, IDC_SEC_COOLLOOK, BST_CHECKED);
        Notify(page.m_hWnd, IDC_SEC_COOLLOOK, BN_CLICKED);
        EXPECT_TRUE(m_pManager->CoolLookEnabled());
        EXPECT_EQ(p1->m_dwExStyle & 0x300, 0x300u);     // the other page heard of it
        AfxSeamPressButton(c.hWnd, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_FALSE(m_pManager->CoolLookEnabled());
    EXPECT_FALSE(m_pManager->IsCustomizing());
}
