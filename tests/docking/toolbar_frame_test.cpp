// Toolbars in a docking main frame with a manager: clicks, check buttons, hot tracking,
// prompts, and the whole set found again after the frame is made anew.
#include "DockingFixture.h"
#include "SECToolBarMgr.h"
#include "SECToolBarDlgs.h"
#include "toolbar_test_ids.h"
#include <algorithm>
#include <functional>
#include <memory>

using afxtest::Text;

namespace {

const UINT ID_BAR_STANDARD = 0xE805;
const UINT ID_BAR_SECOND = 0xE806;

SECToolBarBtn* NewPlainButton() { return new SECToolBarBtn; }

const SECBtnMapEntry g_btnMap[] = {
    {NewPlainButton, ID_TB_CHECK, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {SECToolBarComboBox::CreateButton, ID_TB_COMBO, 0, {IDC_TB_COMBOCTRL, CBS_DROPDOWN, MAKELONG(100, 150), 0, 0}},
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
    m_pFrame->FloatControlBar(p1, CPoint(300, 300));
    HWND hFloating = p1->GetParentFrame()->m_hWnd;
    // Its last button removed: the user toolbar goes, with its floating frame.
    EXPECT_FALSE(p1->RemoveButton(0));
    afxtest::PumpMessages();
    EXPECT_FALSE(::IsWindow(hFloating));
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
    HWND hUserFrame = pUser->GetParentFrame()->m_hWnd;
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    AfxSeamDrive([&](AfxModalCall& c) {
        HWND hDlg = c.hWnd;
        // Nothing answers Help.
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_SEC_HELP)));
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
        EXPECT_FALSE(::IsWindow(hUserFrame));      // its floating frame went with it
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
    bool bHelp = true;
    AfxSeamDrive([&](AfxModalCall& c) {
        bOKWhileEmpty = ::IsWindowEnabled(::GetDlgItem(c.hWnd, IDOK)) != FALSE;
        bHelp = ::IsWindowEnabled(::GetDlgItem(c.hWnd, IDC_SEC_HELP)) != FALSE;
        ::SetDlgItemTextA(c.hWnd, IDC_SEC_NEWNAME, "Fresh");
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(c.hWnd, IDOK)));
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(m_pManager->ExecViewToolBarsDlg(), IDC_SEC_CUSTOMIZE);
    EXPECT_FALSE(bOKWhileEmpty);
    EXPECT_FALSE(bHelp);
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
        // A palette's selection ends with its category: its description goes too.
        p0->SelectButton(1);
        EXPECT_STREQ((LPCSTR)Text(cmdPage.m_hWnd, IDC_SEC_DESCRIPTION), "Does the second thing");
        ::SendMessageA(hCategories, LB_SETCURSEL, 1, 0);
        Notify(cmdPage.m_hWnd, IDC_SEC_TOOLBARLIST, LBN_SELCHANGE);
        EXPECT_FALSE(p0->IsWindowVisible());
        EXPECT_TRUE(p1->IsWindowVisible());
        EXPECT_TRUE(p1->IsCustomizeMode());
        EXPECT_TRUE(m_pManager->IsCustomizing());
        EXPECT_STREQ((LPCSTR)Text(cmdPage.m_hWnd, IDC_SEC_DESCRIPTION), "");
        // A selected button's prompt is the description; no selection, none.
        p1->SelectButton(0);
        EXPECT_STREQ((LPCSTR)Text(cmdPage.m_hWnd, IDC_SEC_DESCRIPTION), "Switches the mode");
        p1->DeselectButton();
        EXPECT_STREQ((LPCSTR)Text(cmdPage.m_hWnd, IDC_SEC_DESCRIPTION), "");

        sheet.SetActivePage(1);
        // A toolbar reset ends its selection: the command page's description goes.
        SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
        pStandard->SelectButton(0);
        EXPECT_STREQ((LPCSTR)Text(cmdPage.m_hWnd, IDC_SEC_DESCRIPTION), "Does the first thing");
        ASSERT_EQ(::SendDlgItemMessageA(page.m_hWnd, IDC_SEC_TOOLBARLIST, LB_GETCURSEL, 0, 0), 0);  // "Standard"
        AfxSeamPressButton(page.m_hWnd, IDC_SEC_RESET);
        EXPECT_EQ(pStandard->GetSelectedIndex(), -1);
        EXPECT_EQ(m_pManager->m_pSelectedToolBar, nullptr);
        EXPECT_STREQ((LPCSTR)Text(cmdPage.m_hWnd, IDC_SEC_DESCRIPTION), "");
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

// ---- Customise mode -----------------------------------------------------------------------------

namespace {

std::vector<UINT> IDs(SECCustomToolBar* pBar)
{
    std::vector<UINT> ids;
    for (int i = 0; i < pBar->GetButtonCount(); i++)
        ids.push_back(pBar->GetButtonID(i));
    return ids;
}

CRect ScreenButton(SECCustomToolBar* pBar, int nIndex)
{
    CRect rect;
    pBar->GetButtonRect(nIndex, &rect);
    pBar->ClientToScreen(&rect);
    return rect;
}

// The Customize sheet with a command page of one category, "File" (A and B).
struct CommandSheet
{
    CPropertySheet sheet;
    SECToolBarCmdPage cmdPage;
    CommandSheet(CFrameWnd* pFrame, SECToolBarManager* pManager) : sheet("Customize", pFrame)
    {
        cmdPage.SetManager(pManager);
        static const UINT s_file[] = {ID_TB_A, ID_TB_B};
        cmdPage.DefineBtnGroup("File", 2, s_file);
        sheet.AddPage(&cmdPage);
    }
};

} // namespace

TEST_F(ToolBarFrame, DropsWithinAToolBar)
{
    const UINT A = ID_TB_A, B = ID_TB_B, C = ID_TB_CHECK, O = ID_TB_OFF;
    struct Case
    {
        const char* what;
        int nIndex;                          // the dragged button
        std::function<CRect(SECCustomToolBar*)> to;
        std::vector<UINT> after;
    } cases[] = {
        {"1 px: nothing", 1, [](SECCustomToolBar* p) { return ScreenButton(p, 1) + CPoint(1, 0); }, {A, B, 0, C, O}},
        {"right: a separator before", 1, [](SECCustomToolBar* p) { return ScreenButton(p, 1) + CPoint(5, 0); },
         {A, 0, B, 0, C, O}},
        {"first, right: nothing", 0, [](SECCustomToolBar* p) { return ScreenButton(p, 0) + CPoint(5, 0); },
         {A, B, 0, C, O}},
        {"left after a separator: it goes", 3, [](SECCustomToolBar* p) { return ScreenButton(p, 3) - CPoint(5, 0); },
         {A, B, C, O}},
        {"left: a separator after", 0, [](SECCustomToolBar* p) { return ScreenButton(p, 0) - CPoint(5, 0); },
         {A, 0, B, 0, C, O}},
        {"onto a later button", 0,
         [](SECCustomToolBar* p) {
             CRect r = ScreenButton(p, 0);
             return r + CPoint(ScreenButton(p, 3).left + 2 - r.left, 0);
         },
         {B, 0, C, A, O}},
        {"covering a separator", 0,
         [](SECCustomToolBar* p) {
             CRect r = ScreenButton(p, 0);
             return r + CPoint(ScreenButton(p, 2).left - 5 - r.left, 0);
         },
         {B, A, C, O}},
    };
    m_pManager->CreateDefaultToolBars();
    m_pManager->SetCustomizeMode(TRUE);
    SECCustomToolBar* pBar = Bar(ID_BAR_STANDARD);
    static const UINT s_standard[] = {ID_TB_A, ID_TB_B, 0, ID_TB_CHECK, ID_TB_OFF};
    for (const Case& c : cases) {
        pBar->SetButtons(s_standard, 5);
        m_pFrame->RecalcLayout();
        EXPECT_TRUE(pBar->DropDragged(c.nIndex, c.to(pBar), FALSE)) << c.what;
        m_pFrame->RecalcLayout();
        EXPECT_EQ(IDs(pBar), c.after) << c.what;
    }
    // Above the rows: first, then a new separator; below them: a separator, then it.
    CRect rectClient;
    pBar->GetClientRect(&rectClient);
    pBar->SetButtons(s_standard, 5);
    pBar->DropButton(CRect(40, -25, 63, 0), pBar, 4, FALSE);
    EXPECT_EQ(IDs(pBar), (std::vector<UINT>{O, 0, A, B, 0, C}));
    pBar->SetButtons(s_standard, 5);
    m_pFrame->RecalcLayout();
    pBar->DropButton(CRect(40, rectClient.bottom, 63, rectClient.bottom + 22), pBar, 0, FALSE);
    EXPECT_EQ(IDs(pBar), (std::vector<UINT>{B, 0, C, O, 0, A}));
}

TEST_F(ToolBarFrame, DropsBetweenToolBarsPalettesAndTheDialog)
{
    m_pManager->CreateDefaultToolBars();
    m_pManager->SetCustomizeMode(TRUE);
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    // To another toolbar: moved.
    pStandard->DropDragged(1, ScreenButton(pSecond, 0) + CPoint(2, 0), FALSE);
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_A, 0, ID_TB_CHECK, ID_TB_OFF}));
    EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_B, ID_TB_A}));
    EXPECT_EQ(m_pManager->m_pSelectedToolBar, pSecond);
    EXPECT_EQ(pSecond->GetSelectedIndex(), 1);
    // Off every toolbar: removed.
    CRect rectAway = ScreenButton(pStandard, 0) + CPoint(200, 300);
    pStandard->DropDragged(0, rectAway, FALSE);
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_CHECK, ID_TB_OFF}));
    // With Ctrl: a floating "ToolBar1" with a copy.
    pStandard->DropDragged(1, rectAway, TRUE);
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_CHECK, ID_TB_OFF}));
    SECCustomToolBar* pUser = Bar(SEC_IDW_USERTOOLBAR_FIRST);
    ASSERT_NE(pUser, nullptr);
    EXPECT_TRUE(pUser->IsFloating());
    EXPECT_EQ(IDs(pUser), (std::vector<UINT>{ID_TB_OFF}));
    CString title;
    pUser->GetWindowText(title);
    EXPECT_STREQ((LPCSTR)title, "ToolBar1");
    // The user toolbar's last button away: the toolbar and its floating frame go once the drag
    // is over.
    HWND hUserFrame = pUser->GetParentFrame()->m_hWnd;
    pUser->DropDragged(0, ScreenButton(pSecond, 0) + CPoint(2, 0), FALSE);
    afxtest::PumpMessages();
    EXPECT_EQ(Bar(SEC_IDW_USERTOOLBAR_FIRST), nullptr);
    EXPECT_FALSE(::IsWindow(hUserFrame));
    EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_OFF, ID_TB_B, ID_TB_A}));

    // Onto the customisation window: nothing.
    CWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, AfxRegisterWndClass(0), "Customize", WS_POPUP | WS_VISIBLE,
                                CRect(600, 500, 800, 650), m_pFrame, 0));
    m_pManager->SetCustomizeWindow(&dialog);
    pStandard->DropDragged(0, CRect(650, 550, 673, 572), FALSE);
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_CHECK, ID_TB_OFF}));
    m_pManager->SetCustomizeWindow(nullptr);

    // A palette: its buttons are copies; nothing can be dropped onto it.
    SECCustomizeToolBar palette;
    static const UINT s_palette[] = {ID_TB_A, ID_TB_B};
    ASSERT_TRUE(palette.Create(0, &dialog, 0x50000085, 0xE8FF, "File"));
    palette.SetManager(m_pManager);
    m_pManager->ApplyBitmap(&palette);
    palette.SetButtons(s_palette, 2);
    palette.CalcDynamicLayout(150, LM_HORZ | LM_COMMIT);
    palette.SetWindowPos(nullptr, 0, 0, 150, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(palette.IsCtrlKeyDown());
    palette.DropDragged(0, ScreenButton(pStandard, 1) + CPoint(2, 0), palette.IsCtrlKeyDown());
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_CHECK, ID_TB_OFF, ID_TB_A}));
    EXPECT_EQ(IDs(&palette), (std::vector<UINT>{ID_TB_A, ID_TB_B}));
    pStandard->DropDragged(0, ScreenButton(&palette, 1), TRUE);
    EXPECT_EQ(IDs(&palette), (std::vector<UINT>{ID_TB_A, ID_TB_B}));
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_CHECK, ID_TB_OFF, ID_TB_A}));
    palette.DestroyWindow();
    dialog.DestroyWindow();
}

TEST_F(ToolBarFrame, RealDragsSelectAndMoveButtons)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    m_pManager->SetCustomizeMode(TRUE);
    // A click selects; a drag off every toolbar removes.
    afxtest::InputScript click;
    click.MoveTo(ScreenButton(pStandard, 1).CenterPoint()).Click().Pause(50);
    ASSERT_TRUE(click.Run());
    EXPECT_EQ(pStandard->GetSelectedIndex(), 1);
    EXPECT_TRUE(pStandard->GetButtonStyle(1) & SEC_TBBS_SELECTED);
    EXPECT_TRUE(m_pFrame->m_commands.empty());
    ASSERT_TRUE(afxtest::Drag(ScreenButton(pStandard, 1).CenterPoint(), ScreenButton(pStandard, 1).CenterPoint() + CPoint(0, 250)));
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_A, 0, ID_TB_CHECK, ID_TB_OFF}));
    m_pManager->SetCustomizeMode(FALSE);
    EXPECT_TRUE(m_pFrame->m_commands.empty());
}

TEST_F(ToolBarFrame, ADragFollowsTheMouseFromWhereTheButtonWasPressed)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    m_pManager->SetCustomizeMode(TRUE);
    // The press reaches the toolbar when the cursor has moved on already (a busy machine): the
    // button still lands where the mouse lets go, after the second toolbar's first button.
    CPoint ptPress = ScreenButton(pStandard, 1).CenterPoint();
    CPoint ptDrop = ScreenButton(pSecond, 0).CenterPoint() + CPoint(4, 0);
    ::SetCursorPos(ptPress.x + 300, ptPress.y + 300);
    pStandard->ScreenToClient(&ptPress);
    pStandard->ScreenToClient(&ptDrop);
    pStandard->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptDrop.x, ptDrop.y));
    pStandard->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptDrop.x, ptDrop.y));
    pStandard->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptPress.x, ptPress.y));
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_A, 0, ID_TB_CHECK, ID_TB_OFF}));
    EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_B, ID_TB_A}));
    m_pManager->SetCustomizeMode(FALSE);
}

// A modifier key held for this thread while the object lives. Set as the thread's key state,
// not typed: Wine may take a typed modifier back when the synthesized mouse moves, and a typed
// Alt alone would put the frame into menu mode when it is let go.
class KeyHeld
{
public:
    explicit KeyHeld(BYTE vk) : m_vk(vk) { Set(0x80); }
    ~KeyHeld() { Set(0); }

private:
    void Set(BYTE state)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[m_vk] = state;
        if (m_vk == VK_MENU)
            keys[VK_LMENU] = state;
        if (m_vk == VK_CONTROL)
            keys[VK_LCONTROL] = state;
        ::SetKeyboardState(keys);
    }
    BYTE m_vk;
};

namespace {

// The cursors seen while a drag runs: a thread timer samples the cursor from inside the drag's
// own loop.
std::vector<HCURSOR>* g_pCursors = nullptr;

void CALLBACK SampleCursor(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pCursors != nullptr)
        g_pCursors->push_back(::GetCursor());
}

} // namespace

TEST_F(ToolBarFrame, RealDragsCopyWithCtrlEmptyAUserToolBarAndMoveWithAlt)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    m_pManager->SetCustomizeMode(TRUE);

    // With Ctrl, off every toolbar: a floating "ToolBar1" with a copy; the drag shows the copy
    // cursor meanwhile.
    std::vector<HCURSOR> cursors;
    g_pCursors = &cursors;
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 10, SampleCursor);
    CPoint ptFrom = ScreenButton(pStandard, 1).CenterPoint();
    BOOL bRan;
    {
        KeyHeld ctrl(VK_CONTROL);
        bRan = afxtest::Drag(ptFrom, ptFrom + CPoint(40, 300));
    }
    ::KillTimer(nullptr, nTimer);
    g_pCursors = nullptr;
    ASSERT_TRUE(bRan);
    EXPECT_NE(std::find(cursors.begin(), cursors.end(), SECGetSysData().DragCopyCursor()), cursors.end());
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_A, ID_TB_B, 0, ID_TB_CHECK, ID_TB_OFF}));
    SECCustomToolBar* pUser = Bar(SEC_IDW_USERTOOLBAR_FIRST);
    ASSERT_NE(pUser, nullptr);
    EXPECT_TRUE(pUser->IsFloating());
    EXPECT_EQ(IDs(pUser), (std::vector<UINT>{ID_TB_B}));
    CString title;
    pUser->GetWindowText(title);
    EXPECT_STREQ((LPCSTR)title, "ToolBar1");
    m_pFrame->RecalcLayout();
    afxtest::PumpMessages();

    // Its only button onto the second toolbar: moved there, the user toolbar goes.
    ASSERT_TRUE(afxtest::Drag(ScreenButton(pUser, 0).CenterPoint(), ScreenButton(pSecond, 1).CenterPoint() + CPoint(4, 0)));
    afxtest::PumpMessages();
    EXPECT_EQ(Bar(SEC_IDW_USERTOOLBAR_FIRST), nullptr);
    EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A, ID_TB_B}));
    m_pManager->SetCustomizeMode(FALSE);

    // Outside customise mode, with Alt held: the button moves, no command runs, nothing stays
    // selected.
    m_pFrame->m_commands.clear();
    {
        KeyHeld alt(VK_MENU);
        ASSERT_TRUE(afxtest::Drag(ScreenButton(pStandard, 0).CenterPoint(),
                                  ScreenButton(pSecond, 2).CenterPoint() + CPoint(6, 0)));
    }
    EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_B, 0, ID_TB_CHECK, ID_TB_OFF}));
    EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A, ID_TB_B, ID_TB_A}));
    EXPECT_TRUE(m_pFrame->m_commands.empty());
    EXPECT_EQ(m_pManager->m_pSelectedToolBar, nullptr);
    EXPECT_EQ(pSecond->GetSelectedIndex(), -1);
    EXPECT_FALSE(pSecond->m_bDragging);

    // Customising again: a button dragged 1 px stays as it was, a few pixels right gets a
    // separator before it.
    m_pManager->SetCustomizeMode(TRUE);
    CPoint ptB = ScreenButton(pSecond, 2).CenterPoint();
    ASSERT_TRUE(afxtest::Drag(ptB, ptB + CPoint(1, 0), 1));
    EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A, ID_TB_B, ID_TB_A}));
    EXPECT_EQ(pSecond->GetSelectedIndex(), 2);
    ASSERT_TRUE(afxtest::Drag(ptB, ptB + CPoint(6, 0), 3));
    EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A, 0, ID_TB_B, ID_TB_A}));
    m_pManager->SetCustomizeMode(FALSE);
}

TEST_F(ToolBarFrame, RealDragsOutOfAPaletteCopyAndDropsOnTheSheetDoNothing)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    CommandSheet customize(m_pFrame, m_pManager);
    CPropertySheet& sheet = customize.sheet;
    SECToolBarCmdPage& cmdPage = customize.cmdPage;
    AfxSeamDrive([&](AfxModalCall& c) {
        // The sheet below the toolbars.
        ::SetWindowPos(c.hWnd, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        afxtest::PumpMessages();
        SECCustomizeToolBar* pPalette = cmdPage.GetPalette(0);
        ASSERT_NE(pPalette, nullptr);
        ASSERT_TRUE(pPalette->IsWindowVisible());
        // Out of the palette onto a toolbar: a copy there, the palette as it was.
        ASSERT_TRUE(afxtest::Drag(ScreenButton(pPalette, 1).CenterPoint(),
                                  ScreenButton(pSecond, 1).CenterPoint() + CPoint(4, 0)));
        EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A, ID_TB_B}));
        EXPECT_EQ(IDs(pPalette), (std::vector<UINT>{ID_TB_A, ID_TB_B}));
        EXPECT_EQ(m_pManager->m_pSelectedToolBar, pSecond);
        // A toolbar button dropped on the sheet (off the palette): nothing changes.
        CRect rectSheet;
        ::GetWindowRect(c.hWnd, &rectSheet);
        CRect rectPalette;
        pPalette->GetWindowRect(&rectPalette);
        CPoint ptOnSheet(rectSheet.CenterPoint().x, rectSheet.bottom - 20);
        ASSERT_FALSE(rectPalette.PtInRect(ptOnSheet));
        ASSERT_TRUE(afxtest::Drag(ScreenButton(pSecond, 0).CenterPoint(), ptOnSheet));
        EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A, ID_TB_B}));
        AfxSeamPressButton(c.hWnd, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST_F(ToolBarFrame, TheSheetOverAFloatingToolBarKeepsClicksAndDropsToItself)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    m_pFrame->FloatControlBar(pSecond, CPoint(400, 400));
    afxtest::PumpMessages();
    CFrameWnd* pFloating = pSecond->GetParentFrame();
    ASSERT_NE(pFloating, nullptr);
    CommandSheet customize(m_pFrame, m_pManager);
    CPropertySheet& sheet = customize.sheet;
    SECToolBarCmdPage& cmdPage = customize.cmdPage;
    AfxSeamDrive([&](AfxModalCall& c) {
        SECCustomizeToolBar* pPalette = cmdPage.GetPalette(0);
        ASSERT_NE(pPalette, nullptr);
        // The floating toolbar lies under the palette, the sheet over it.
        CPoint ptButton = ScreenButton(pPalette, 1).CenterPoint();
        CRect rectFloating;
        pFloating->GetWindowRect(&rectFloating);
        pFloating->SetWindowPos(nullptr, ptButton.x - rectFloating.Width() / 2, ptButton.y - rectFloating.Height() / 2,
                                0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        afxtest::PumpMessages();
        pFloating->GetWindowRect(&rectFloating);
        ASSERT_TRUE(rectFloating.PtInRect(ptButton));
        ASSERT_TRUE(pSecond->IsWindowVisible());
        ASSERT_EQ(::WindowFromPoint(ptButton), pPalette->m_hWnd);

        // A click on a palette button selects it and shows its description, nothing more.
        afxtest::InputScript click;
        click.MoveTo(ptButton).Click().Pause(50);
        ASSERT_TRUE(click.Run());
        EXPECT_EQ(pPalette->GetSelectedIndex(), 1);
        EXPECT_STREQ((LPCSTR)Text(cmdPage.m_hWnd, IDC_SEC_DESCRIPTION), "Does the second thing");
        EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A}));
        EXPECT_EQ(IDs(pPalette), (std::vector<UINT>{ID_TB_A, ID_TB_B}));

        // A toolbar button dragged back onto the sheet there: every toolbar stays as it was.
        ASSERT_TRUE(afxtest::Drag(ScreenButton(pStandard, 0).CenterPoint(), ptButton));
        EXPECT_EQ(IDs(pStandard), (std::vector<UINT>{ID_TB_A, ID_TB_B, 0, ID_TB_CHECK, ID_TB_OFF}));
        EXPECT_EQ(IDs(pSecond), (std::vector<UINT>{ID_TB_CHECK, ID_TB_A}));
        EXPECT_EQ(IDs(pPalette), (std::vector<UINT>{ID_TB_A, ID_TB_B}));
        AfxSeamPressButton(c.hWnd, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST_F(ToolBarFrame, AButtonsTipIsTheTipHalfOfItsCommandsString)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    CRect rect;
    pStandard->GetButtonRect(0, &rect);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ASSERT_EQ(pStandard->OnToolHitTest(rect.CenterPoint(), &ti), (INT_PTR)ID_TB_A);
    EXPECT_EQ(ti.hwnd, pStandard->m_hWnd);
    EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACKA);
    // The frame answers the tip control's question for that tool.
    NMTTDISPINFOA info = {};
    info.hdr.idFrom = ti.uId;
    info.hdr.code = TTN_NEEDTEXTA;
    HWND hTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, m_pFrame->m_hWnd, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(hTip, nullptr);
    info.hdr.hwndFrom = hTip;
    m_pFrame->SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_STREQ(info.szText, "First");
    ::DestroyWindow(hTip);     // "Does the first thing\nFirst"
    // Separators are no tools.
    pStandard->GetButtonRect(2, &rect);
    EXPECT_EQ(pStandard->OnToolHitTest(rect.CenterPoint(), nullptr), -1);
}

// ---- Painting -----------------------------------------------------------------------------------

namespace {

// A bar painted into a bitmap whose pixels were the given background first.
class PaintedBar
{
public:
    PaintedBar(SECCustomToolBar* pBar, COLORREF clrBackground)
    {
        CRect rect;
        pBar->GetClientRect(&rect);
        HDC hScreen = ::GetDC(nullptr);
        m_hbm = ::CreateCompatibleBitmap(hScreen, rect.Width(), rect.Height());
        m_dc.Attach(::CreateCompatibleDC(hScreen));
        ::ReleaseDC(nullptr, hScreen);
        m_hOld = ::SelectObject(m_dc.m_hDC, m_hbm);
        m_dc.FillSolidRect(rect, clrBackground);
        pBar->DoPaint(&m_dc);
    }
    ~PaintedBar()
    {
        ::SelectObject(m_dc.m_hDC, m_hOld);
        m_dc.DeleteDC();
        ::DeleteObject(m_hbm);
    }
    COLORREF Pixel(int x, int y) const { return m_dc.GetPixel(x, y); }

private:
    CDC m_dc;
    HBITMAP m_hbm;
    HGDIOBJ m_hOld;
};

} // namespace

TEST_F(ToolBarFrame, ButtonsPaintThroughTheSharedCacheAndTransparentOnesShowTheBackground)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    m_pFrame->RecalcLayout();
    pStandard->RedrawWindow();
    pSecond->RedrawWindow();
    // The manager's cache served both and holds nothing between paints.
    EXPECT_TRUE(m_pManager->m_paintCache.IsCreated());
    EXPECT_FALSE(m_pManager->m_paintCache.IsPrepared());
    EXPECT_EQ(pStandard->m_pPaintCache, nullptr);
    EXPECT_EQ(pSecond->m_pPaintCache, nullptr);

    const COLORREF clrMagenta = RGB(255, 0, 255), clrFace = ::GetSysColor(COLOR_BTNFACE),
                   clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    CRect rectA, rectSep, rectCheck;
    pStandard->GetButtonRect(0, &rectA);
    pStandard->GetButtonRect(2, &rectSep);
    pStandard->GetButtonRect(3, &rectCheck);
    pStandard->ModifyExBarStyle(0, CBRS_EX_FLATLOOK, FALSE);
    CPoint ptImage = rectA.CenterPoint();
    COLORREF clrImage;
    {
        PaintedBar opaque(pStandard, clrMagenta);
        EXPECT_EQ(opaque.Pixel(rectA.left + 1, rectA.top + 1), clrFace);
        EXPECT_EQ(opaque.Pixel(rectSep.left, rectSep.top + 3), clrFace);
        clrImage = opaque.Pixel(ptImage.x, ptImage.y);
    }
    ASSERT_NE(clrImage, clrFace);   // the test image has a pixel of its own there
    {
        pStandard->ModifyExBarStyle(0, CBRS_EX_TRANSPARENT, FALSE);
        PaintedBar transparent(pStandard, clrMagenta);
        EXPECT_EQ(transparent.Pixel(rectA.left + 1, rectA.top + 1), clrMagenta);
        EXPECT_EQ(transparent.Pixel(rectSep.left, rectSep.top + 3), clrMagenta);
        EXPECT_EQ(transparent.Pixel(ptImage.x, ptImage.y), clrImage);
        pStandard->ModifyExBarStyle(CBRS_EX_TRANSPARENT, 0, FALSE);
    }
    // Without the flat look the bit does nothing.
    {
        pStandard->ModifyExBarStyle(CBRS_EX_FLATLOOK, CBRS_EX_TRANSPARENT, FALSE);
        PaintedBar plain(pStandard, clrMagenta);
        EXPECT_NE(plain.Pixel(rectA.left + 3, rectA.top + 3), clrMagenta);
        pStandard->ModifyExBarStyle(CBRS_EX_TRANSPARENT, 0, FALSE);
    }
    // A checked button: the dither of face and highlight, pixel by pixel.
    pStandard->SetButtonStyle(3, pStandard->GetButtonStyle(3) | TBBS_CHECKED);
    {
        PaintedBar checked(pStandard, clrMagenta);
        COLORREF c1 = checked.Pixel(rectCheck.left + 3, rectCheck.top + 3);
        COLORREF c2 = checked.Pixel(rectCheck.left + 4, rectCheck.top + 3);
        COLORREF c3 = checked.Pixel(rectCheck.left + 4, rectCheck.top + 2);
        EXPECT_TRUE((c1 == clrFace && c2 == clrHilite) || (c1 == clrHilite && c2 == clrFace));
        EXPECT_EQ(c3, c1);
    }

    // A toolbar without a manager paints with a cache of its own.
    SECCustomToolBar solo;
    ASSERT_TRUE(solo.Create(0, m_pFrame, WS_CHILD | CBRS_TOP, 0xE8F0, "Solo"));
    ASSERT_TRUE(solo.LoadToolBar(IDR_TEST_TOOLBAR));
    static const UINT s_ids[] = {ID_TB_A, ID_TB_B};
    solo.SetButtons(s_ids, 2);
    solo.CalcDynamicLayout(200, LM_HORZ | LM_COMMIT);
    solo.SetWindowPos(nullptr, 0, 0, 200, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    {
        PaintedBar painted(&solo, clrMagenta);
        CRect rectSoloA;
        solo.GetButtonRect(0, &rectSoloA);
        EXPECT_EQ(painted.Pixel(rectSoloA.CenterPoint().x, rectSoloA.CenterPoint().y), clrImage);
    }
    ASSERT_NE(solo.m_pPaintCache, nullptr);
    EXPECT_TRUE(solo.m_pPaintCache->IsCreated());
    solo.DestroyWindow();
}

TEST_F(ToolBarFrame, AColourChangeGivesTheToolbarsAndAnOpenSheetsPalettesOneNewStrip)
{
    m_pManager->CreateDefaultToolBars();
    CommandSheet customize(m_pFrame, m_pManager);
    CPropertySheet& sheet = customize.sheet;
    SECToolBarCmdPage& cmdPage = customize.cmdPage;
    INT nIndex = COLOR_BTNFACE;
    const COLORREF clrOld = ::GetSysColor(COLOR_BTNFACE), clrNew = RGB(200, 180, 120), clrRed = RGB(255, 0, 0);
    AfxSeamDrive([&](AfxModalCall& c) {
        ::SetWindowPos(c.hWnd, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        afxtest::PumpMessages();
        SECCustomizeToolBar* pPalette = cmdPage.GetPalette(0);
        ASSERT_NE(pPalette, nullptr);
        // The palette shows its buttons (it lies over the group box around it): the first image
        // is red inside, light grey (the button face) around it.
        CRect rectA;
        pPalette->GetButtonRect(0, &rectA);
        const CPoint ptRed = rectA.CenterPoint(), ptGrey(rectA.left + 4, rectA.top + 4);
        auto pixel = [&](CPoint pt) {
            pPalette->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            CClientDC dc(pPalette);
            return dc.GetPixel(pt.x, pt.y);
        };
        ASSERT_EQ(pixel(ptRed), clrRed);
        ASSERT_EQ(pixel(ptGrey), clrOld);

        // The system tells the top-level windows; the frame and the sheet pass it on to every
        // toolbar and palette.
        ASSERT_TRUE(::SetSysColors(1, &nIndex, &clrNew));
        m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
        ::SendMessageA(c.hWnd, WM_SYSCOLORCHANGE, 0, 0);
        afxtest::PumpMessages();
        const COLORREF clrRedSeen = pixel(ptRed), clrGreySeen = pixel(ptGrey);
        const HBITMAP hStrip = m_pManager->GetBitmap();
        std::vector<bool> shown;
        for (SECCustomToolBar* pBar : {(SECCustomToolBar*)pPalette, Bar(ID_BAR_STANDARD), Bar(ID_BAR_SECOND)})
            shown.push_back(pBar->m_hbmImages == hStrip);
        // Told again without a change, nothing is loaded.
        m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
        const HBITMAP hAgain = m_pManager->GetBitmap();

        ::SetSysColors(1, &nIndex, &clrOld);
        m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
        ::SendMessageA(c.hWnd, WM_SYSCOLORCHANGE, 0, 0);
        afxtest::PumpMessages();
        EXPECT_EQ(clrRedSeen, clrRed);
        EXPECT_EQ(clrGreySeen, clrNew);
        EXPECT_EQ(shown, (std::vector<bool>{true, true, true}));
        EXPECT_EQ(hAgain, hStrip);
        EXPECT_EQ(pixel(ptGrey), clrOld);
        AfxSeamPressButton(c.hWnd, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

// While customising, a disabled button shows its own image, not an empty face: the user picks
// and drags buttons by their pictures.
TEST_F(ToolBarFrame, ADisabledButtonShowsItsImageWhileCustomising)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    m_pFrame->RecalcLayout();
    const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    CRect rectA;
    pStandard->GetButtonRect(0, &rectA);
    const CPoint pt = rectA.CenterPoint();
    COLORREF clrImage;
    {
        PaintedBar enabled(pStandard, RGB(255, 0, 255));
        clrImage = enabled.Pixel(pt.x, pt.y);
    }
    ASSERT_NE(clrImage, clrFace);
    pStandard->SetButtonStyle(0, pStandard->GetButtonStyle(0) | TBBS_DISABLED);
    m_pManager->SetCustomizeMode(TRUE);
    {
        PaintedBar customising(pStandard, RGB(255, 0, 255));
        EXPECT_EQ(customising.Pixel(pt.x, pt.y), clrImage);
    }
    m_pManager->SetCustomizeMode(FALSE);
    pStandard->SetButtonStyle(0, pStandard->GetButtonStyle(0) & ~TBBS_DISABLED);
}

// ---- Control buttons ----------------------------------------------------------------------------

TEST_F(ToolBarFrame, AComboShowsAsAnImageButtonAtASideAndComesBackWithItsWidth)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pBar = m_pManager->CreateUserToolBar("Combos");
    ASSERT_NE(pBar, nullptr);
    m_pFrame->m_wndNotify.clear();
    pBar->InsertButton(0, ID_TB_A);
    pBar->InsertButton(1, ID_TB_COMBO);
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    auto* pCombo = dynamic_cast<SECToolBarComboBox*>(pBar->GetButton(1));
    ASSERT_NE(pCombo, nullptr);
    HWND hCombo = ::GetDlgItem(pBar->m_hWnd, IDC_TB_COMBOCTRL);
    ASSERT_EQ(hCombo, pCombo->CComboBox::m_hWnd);
    // Its creation reached the frame (code 257), and Enter in its edit too (513).
    ASSERT_FALSE(m_pFrame->m_wndNotify.empty());
    EXPECT_EQ(m_pFrame->m_wndNotify[0].first, (WPARAM)MAKEWPARAM(IDC_TB_COMBOCTRL, 257));
    EXPECT_EQ(m_pFrame->m_wndNotify[0].second, (LPARAM)hCombo);
    ASSERT_NE(pCombo->m_edit.m_hWnd, nullptr);
    pCombo->m_edit.SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(m_pFrame->m_wndNotify.back().first, (WPARAM)MAKEWPARAM(IDC_TB_COMBOCTRL, 513));

    EXPECT_EQ(pCombo->m_cx, 100);
    EXPECT_TRUE(::IsWindowVisible(hCombo));
    CRect rectButton, rectCombo;
    pBar->GetButtonRect(1, &rectButton);
    ::GetWindowRect(hCombo, &rectCombo);
    pBar->ScreenToClient(&rectCombo);
    EXPECT_EQ(rectCombo.left, rectButton.left);
    EXPECT_EQ(rectCombo.Width(), 100);

    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    EXPECT_FALSE(::IsWindowVisible(hCombo));
    EXPECT_EQ(pCombo->m_cx, 23);
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(::IsWindowVisible(hCombo));
    EXPECT_EQ(pCombo->m_cx, 100);

    // Its width is part of the saved buttons; only two bytes give it back.
    std::unique_ptr<SECControlBarInfoEx> pInfo(pBar->GetBarInfoEx());
    auto* pToolInfo = dynamic_cast<SECCustomToolBarInfoEx*>(pInfo.get());
    ASSERT_NE(pToolInfo, nullptr);
    EXPECT_EQ(pToolInfo->ButtonsToBytes(), (std::vector<BYTE>{0x41, 0x9C, 0, 0, 0, 0x46, 0x9C, 0, 0, 2, 100, 0}));
    // A stored width stays between two scroll arrows and the width of the screen's work area.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromWindow(m_pFrame->m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const int nWorkWidth = monitor.rcWork.right - monitor.rcWork.left, nNarrowest = 2 * ::GetSystemMetrics(SM_CXVSCROLL);
    struct
    {
        std::vector<BYTE> state;
        int nWidth;
    } widths[] = {
        {{130, 0}, 130},
        {{1, 2, 3}, 130},           // not a width: no change
        {{0xFF, 0xFF}, nWorkWidth},
        {{0, 0}, nNarrowest},
        {{1, 0}, nNarrowest},
        {{130, 0}, 130},
    };
    for (const auto& w : widths) {
        pCombo->SetState((BYTE)w.state.size(), w.state.data());
        EXPECT_EQ(pCombo->m_nWidth, w.nWidth) << (int)w.state[0];
    }
    m_pFrame->RecalcLayout();
    ::GetWindowRect(hCombo, &rectCombo);
    EXPECT_EQ(rectCombo.Width(), 130);
}

// ---- The Toolbars dialog's caption and hiding while customising ----------------------------------

namespace {

// Every WM_NCACTIVATE sent in this thread: (window, active flag).
std::vector<std::pair<HWND, BOOL>>* g_pNcActivates = nullptr;

LRESULT CALLBACK RecordNcActivate(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* pMsg = (const CWPSTRUCT*)lParam;
    if (nCode == HC_ACTION && g_pNcActivates != nullptr && pMsg->message == WM_NCACTIVATE)
        g_pNcActivates->push_back({pMsg->hwnd, pMsg->wParam != 0});
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The last active flag a window was sent, or -1.
int LastNcActivate(const std::vector<std::pair<HWND, BOOL>>& sent, HWND hWnd)
{
    int nLast = -1;
    for (const auto& item : sent)
        if (item.first == hWnd)
            nLast = item.second;
    return nLast;
}

} // namespace

TEST_F(ToolBarFrame, TheToolbarsDialogsCaptionFollowsTheFrameAndItsPalettes)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    m_pFrame->FloatControlBar(pSecond, CPoint(400, 400));
    CFrameWnd* pMiniFrame = pSecond->GetParentFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    HWND hMiniFrame = pMiniFrame->m_hWnd;
    std::vector<std::pair<HWND, BOOL>> sent;
    AfxSeamDrive([&](AfxModalCall& c) {
        HWND hDlg = c.hWnd;
        g_pNcActivates = &sent;
        HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, RecordNcActivate, nullptr, ::GetCurrentThreadId());
        // The user clicks the frame (customising enabled it): the dialog's caption stays active
        // with the frame's, and so does the floating toolbar's.
        ASSERT_TRUE(afxtest::Activate(m_pFrame));
        EXPECT_EQ(::GetActiveWindow(), m_pFrame->m_hWnd);
        EXPECT_EQ(LastNcActivate(sent, hDlg), 1);
        EXPECT_EQ(LastNcActivate(sent, hMiniFrame), 1);
        // Another program's window takes the activation: all of them inactive.
        CWnd other;
        ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "Other", WS_POPUP | WS_VISIBLE | WS_CAPTION,
                                   CRect(700, 600, 800, 650), nullptr, 0));
        ASSERT_TRUE(afxtest::Activate(&other));
        EXPECT_EQ(LastNcActivate(sent, hDlg), 0);
        EXPECT_EQ(LastNcActivate(sent, hMiniFrame), 0);
        EXPECT_EQ(LastNcActivate(sent, m_pFrame->m_hWnd), 0);
        // The dialog active again: the frame and the floating toolbar follow it.
        ASSERT_TRUE(afxtest::Activate(CWnd::FromHandle(hDlg)));
        EXPECT_EQ(LastNcActivate(sent, hDlg), 1);
        EXPECT_EQ(LastNcActivate(sent, hMiniFrame), 1);
        EXPECT_EQ(LastNcActivate(sent, m_pFrame->m_hWnd), 1);
        other.DestroyWindow();
        // Other news from the frame leaves the caption alone.
        sent.clear();
        ::SendMessageA(hDlg, WM_FLOATSTATUS, FS_ENABLE, 0);
        EXPECT_TRUE(sent.empty());
        ::UnhookWindowsHookEx(hHook);
        g_pNcActivates = nullptr;
        AfxSeamPressButton(hDlg, IDCANCEL);
    });
    EXPECT_EQ(m_pManager->ExecViewToolBarsDlg(), IDCANCEL);
}

TEST_F(ToolBarFrame, AFloatingToolBarHiddenWhileCustomisingGoesAtOnce)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pSecond = Bar(ID_BAR_SECOND);
    m_pFrame->FloatControlBar(pSecond, CPoint(400, 400));
    afxtest::PumpMessages();
    CWnd* pMiniFrame = pSecond->GetParentFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    ASSERT_TRUE(pSecond->IsWindowVisible());
    SECRegisterMessages();
    auto takePosted = [&]() {
        int nPosted = 0;
        MSG msg;
        while (::PeekMessageA(&msg, pSecond->m_hWnd, wmSECNoDelayHide, wmSECNoDelayHide, PM_REMOVE)) {
            nPosted++;
            ::DispatchMessageA(&msg);
        }
        return nPosted;
    };

    // Outside a customise phase the hiding waits for the frame's layout: nothing is posted.
    pSecond->DelayShow(FALSE);
    EXPECT_EQ(takePosted(), 0);
    EXPECT_TRUE(pSecond->IsWindowVisible());
    pSecond->DelayShow(TRUE);

    // Customising: asked twice, posted once; handled, the bar and its frame are hidden.
    m_pManager->BeginCustomize();
    pSecond->DelayShow(FALSE);
    pSecond->DelayShow(FALSE);
    EXPECT_TRUE(pSecond->m_bNoDelayHidePending);
    EXPECT_TRUE(pSecond->IsWindowVisible());
    EXPECT_EQ(takePosted(), 1);
    EXPECT_FALSE(pSecond->m_bNoDelayHidePending);
    EXPECT_FALSE(pSecond->IsWindowVisible());
    EXPECT_FALSE(pMiniFrame->IsWindowVisible());
    // Shown again before the message came: it stays.
    m_pFrame->ShowControlBar(pSecond, TRUE, FALSE);
    pSecond->DelayShow(FALSE);
    pSecond->DelayShow(TRUE);
    EXPECT_EQ(takePosted(), 1);
    EXPECT_TRUE(pSecond->IsWindowVisible());
    // A docked bar waits for the layout as always.
    SECCustomToolBar* pStandard = Bar(ID_BAR_STANDARD);
    pStandard->DelayShow(FALSE);
    EXPECT_FALSE(pStandard->m_bNoDelayHidePending);
    pStandard->DelayShow(TRUE);
    m_pManager->EndCustomize();
}

TEST_F(ToolBarFrame, AComboIsResizedByDraggingItsRightEdgeInCustomiseModeOrWithAlt)
{
    m_pManager->CreateDefaultToolBars();
    SECCustomToolBar* pBar = m_pManager->CreateUserToolBar("Combos");
    ASSERT_NE(pBar, nullptr);
    pBar->InsertButton(0, ID_TB_COMBO);
    pBar->InsertButton(1, ID_TB_A);
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    afxtest::PumpMessages();
    auto* pCombo = dynamic_cast<SECToolBarComboBox*>(pBar->GetButton(0));
    ASSERT_NE(pCombo, nullptr);
    HWND hCombo = pCombo->CComboBox::m_hWnd;
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    auto comboRect = [&]() {
        CRect rect;
        ::GetWindowRect(hCombo, &rect);
        return rect;
    };
    CRect rect = comboRect();
    ASSERT_EQ(rect.Width(), 100);
    int y = rect.CenterPoint().y;
    // Docking gave the bar its border lines: the buttons start inside them.
    CRect rectInside, rectFirst;
    pBar->GetClientRect(&rectInside);
    pBar->CalcInsideRect(rectInside, TRUE, TRUE);
    pBar->GetButtonRect(0, &rectFirst);
    EXPECT_EQ(afxtest::Text(rectFirst.TopLeft()), afxtest::Text(rectInside.TopLeft()));

    // Customising: the edge shows its own cursor, the rest the arrow.
    m_pManager->SetCustomizeMode(TRUE);
    afxtest::InputScript hover;
    hover.MoveTo(CPoint(rect.right - 2, y)).Pause(50);
    ASSERT_TRUE(hover.Run());
    EXPECT_EQ(::GetCursor(), SECGetSysData().SizeControlCursor());
    EXPECT_NE(SECGetSysData().SizeControlCursor(), ::LoadCursorA(nullptr, IDC_SIZEWE));   // our own
    afxtest::InputScript hoverMiddle;
    hoverMiddle.MoveTo(CPoint(rect.left + 20, y)).Pause(50);
    ASSERT_TRUE(hoverMiddle.Run());
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));

    // Dragging the edge 30 px right widens the control; the next button moves along.
    CRect rectNext;
    pBar->GetButtonRect(1, &rectNext);
    ASSERT_TRUE(afxtest::Drag(CPoint(rect.right - 2, y), CPoint(rect.right + 28, y)));
    EXPECT_EQ(pCombo->m_nWidth, 130);
    EXPECT_EQ(comboRect().Width(), 130);
    CRect rectNextNow;
    pBar->GetButtonRect(1, &rectNextNow);
    EXPECT_EQ(rectNextNow.left, rectNext.left + 30);
    EXPECT_EQ(pBar->GetButtonCount(), 2);
    // The saved state holds the new width.
    std::unique_ptr<SECControlBarInfoEx> pInfo(pBar->GetBarInfoEx());
    auto* pToolInfo = dynamic_cast<SECCustomToolBarInfoEx*>(pInfo.get());
    ASSERT_NE(pToolInfo, nullptr);
    EXPECT_EQ(pToolInfo->ButtonsToBytes(), (std::vector<BYTE>{0x46, 0x9C, 0, 0, 2, 130, 0, 0x41, 0x9C, 0, 0, 0}));
    // A press in the middle selects the button; its width stays.
    afxtest::InputScript click;
    click.MoveTo(CPoint(comboRect().left + 20, y)).Click().Pause(50);
    ASSERT_TRUE(click.Run());
    EXPECT_EQ(pBar->GetSelectedIndex(), 0);
    EXPECT_EQ(pCombo->m_nWidth, 130);
    // Far left: never narrower than two scroll arrows.
    rect = comboRect();
    ASSERT_TRUE(afxtest::Drag(CPoint(rect.right - 2, y), CPoint(rect.left - 50, y)));
    EXPECT_EQ(pCombo->m_nWidth, 2 * ::GetSystemMetrics(SM_CXVSCROLL));
    m_pManager->SetCustomizeMode(FALSE);

    // Outside customise mode, with Alt held.
    rect = comboRect();
    {
        KeyHeld alt(VK_MENU);
        ASSERT_TRUE(afxtest::Drag(CPoint(rect.right - 2, y), CPoint(rect.right + 58, y)));
    }
    EXPECT_EQ(pCombo->m_nWidth, 2 * ::GetSystemMetrics(SM_CXVSCROLL) + 60);
    EXPECT_TRUE(m_pFrame->m_commands.empty());
}

// ---- The saved buttons --------------------------------------------------------------------------

TEST_F(ToolBarFrame, ADamagedButtonsValueKeepsTheDefinedButtonsAndAnEmptyOneAnEmptyToolBar)
{
    const UINT A = ID_TB_A, B = ID_TB_B, C = ID_TB_CHECK, O = ID_TB_OFF;
    struct Case
    {
        const char* what;
        std::function<void(CWinApp*, LPCSTR)> store;     // the Standard toolbar's "Buttons"
        std::vector<UINT> after;
    } cases[] = {
        {"missing", [](CWinApp* p, LPCSTR s) { p->WriteProfileString(s, "Buttons", nullptr); }, {A, B, 0, C, O}},
        {"a string", [](CWinApp* p, LPCSTR s) { p->WriteProfileString(s, "Buttons", "ABCDEFGHIJ"); }, {A, B, 0, C, O}},
        {"a number", [](CWinApp* p, LPCSTR s) { p->WriteProfileInt(s, "Buttons", 40002); }, {A, B, 0, C, O}},
        {"a record cut short",
         [](CWinApp* p, LPCSTR s) {
             BYTE bytes[] = {0x42, 0x9C, 0, 0, 0, 0x41, 0x9C, 0};
             p->WriteProfileBinary(s, "Buttons", bytes, sizeof bytes);
         },
         {A, B, 0, C, O}},
        {"a state running past the end",
         [](CWinApp* p, LPCSTR s) {
             BYTE bytes[] = {0x42, 0x9C, 0, 0, 2, 100};
             p->WriteProfileBinary(s, "Buttons", bytes, sizeof bytes);
         },
         {A, B, 0, C, O}},
        {"whole records",
         [](CWinApp* p, LPCSTR s) {
             BYTE bytes[] = {0x42, 0x9C, 0, 0, 0, 0, 0, 0, 0, 0, 0x41, 0x9C, 0, 0, 0};
             p->WriteProfileBinary(s, "Buttons", bytes, sizeof bytes);
         },
         {B, 0, A}},
        {"no bytes: an empty toolbar",
         [](CWinApp* p, LPCSTR s) {
             BYTE none = 0;
             p->WriteProfileBinary(s, "Buttons", &none, 0);
         },
         {}},
    };
    afxtest::RegistryProfile profile;
    CWinApp* pApp = AfxGetApp();
    auto restart = [&]() {
        Destroy();
        Make();
        m_pManager->CreateDefaultToolBars();
        m_pFrame->LoadBarState("ToolBarState");
        m_pManager->LoadState("ToolBarState");
    };
    auto standardSection = [&]() {
        for (int i = 0; i < 10; i++) {
            CString s;
            s.Format("ToolBarState-Bar%d", i);
            if (pApp->GetProfileInt(s, "BarID", 0) == ID_BAR_STANDARD)
                return s;
        }
        return CString();
    };
    for (const Case& c : cases) {
        m_pManager->CreateDefaultToolBars();
        m_pFrame->SaveBarState("ToolBarState");
        m_pManager->SaveState("ToolBarState");
        CString section = standardSection();
        ASSERT_FALSE(section.IsEmpty()) << c.what;
        c.store(pApp, section);
        restart();
        ASSERT_NE(Bar(ID_BAR_STANDARD), nullptr) << c.what;
        EXPECT_EQ(IDs(Bar(ID_BAR_STANDARD)), c.after) << c.what;
        Destroy();
        Make();
    }

    // An emptied toolbar is saved as no bytes of raw data, and comes back empty.
    m_pManager->CreateDefaultToolBars();
    Bar(ID_BAR_STANDARD)->SetButtons(nullptr, 0);
    m_pFrame->SaveBarState("ToolBarState");
    m_pManager->SaveState("ToolBarState");
    BYTE* pData = nullptr;
    UINT nBytes = 99;
    ASSERT_TRUE(pApp->GetProfileBinary(standardSection(), "Buttons", &pData, &nBytes));
    delete[] pData;
    EXPECT_EQ(nBytes, 0u);
    restart();
    EXPECT_EQ(Bar(ID_BAR_STANDARD)->GetButtonCount(), 0);

    // A settings file keeps it as an empty line, which also gives an empty toolbar back.
    {
        char szDir[MAX_PATH] = "", szFile[MAX_PATH] = "";
        ASSERT_TRUE(::GetTempPathA(MAX_PATH, szDir) && ::GetTempFileNameA(szDir, "tbs", 0, szFile));
        LPCSTR lpszKey = pApp->m_pszRegistryKey, lpszProfile = pApp->m_pszProfileName;
        pApp->m_pszRegistryKey = nullptr;
        pApp->m_pszProfileName = szFile;
        Bar(ID_BAR_STANDARD)->SetButtons(nullptr, 0);
        m_pFrame->SaveBarState("ToolBarState");
        restart();
        int nCount = Bar(ID_BAR_STANDARD)->GetButtonCount();
        pApp->m_pszRegistryKey = lpszKey;
        pApp->m_pszProfileName = lpszProfile;
        ::DeleteFileA(szFile);
        EXPECT_EQ(nCount, 0);
    }
}

namespace {

// The frame's shown top-level windows (floating frames).
int ShownOwnedWindows(CFrameWnd* pFrame)
{
    struct Count
    {
        HWND hOwner;
        int n;
    } count = {pFrame->m_hWnd, 0};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
            auto* p = reinterpret_cast<Count*>(l);
            if (::GetWindow(h, GW_OWNER) == p->hOwner && ::IsWindowVisible(h))
                p->n++;
            return TRUE;
        },
        (LPARAM)&count);
    return count.n;
}

// The section of the saved layout that holds the bar, or -1.
int SectionOf(UINT nBarID)
{
    CWinApp* pApp = AfxGetApp();
    int nBars = (int)pApp->GetProfileInt("ToolBarState-Summary", "Bars", 0);
    for (int i = 0; i < nBars; i++) {
        CString s;
        s.Format("ToolBarState-Bar%d", i);
        if (pApp->GetProfileInt(s, "BarID", 0) == nBarID)
            return i;
    }
    return -1;
}

CString Section(int nIndex)
{
    CString s;
    s.Format("ToolBarState-Bar%d", nIndex);
    return s;
}

} // namespace

// One damaged bar section drops that bar alone: the user toolbars saved after a default toolbar's
// section without "BarID", or after a section that is not there at all, come back, and are saved
// again at the next exit.
TEST_F(ToolBarFrame, ADamagedBarSectionDropsThatBarAlone)
{
    const UINT A = ID_TB_A, B = ID_TB_B, C = ID_TB_CHECK;
    const UINT USER1 = SEC_IDW_USERTOOLBAR_FIRST, USER2 = SEC_IDW_USERTOOLBAR_FIRST + 1;
    const struct
    {
        const char* what;
        std::function<void(CWinApp*, LPCSTR)> damage;     // the Standard toolbar's section
    } cases[] = {
        {"no BarID", [](CWinApp* p, LPCSTR s) { p->WriteProfileString(s, "BarID", nullptr); }},
        {"BarID 0", [](CWinApp* p, LPCSTR s) { p->WriteProfileInt(s, "BarID", 0); }},
        {"no section", [](CWinApp* p, LPCSTR s) { p->WriteProfileString(s, nullptr, nullptr); }},
    };
    afxtest::RegistryProfile profile;
    CWinApp* pApp = AfxGetApp();
    auto restart = [&]() {
        Destroy();
        Make();
        m_pManager->CreateDefaultToolBars();
        m_pFrame->LoadBarState("ToolBarState");
        m_pManager->LoadState("ToolBarState");
        m_pFrame->RecalcLayout();
        afxtest::PumpMessages();
    };
    for (const auto& c : cases) {
        // Two user toolbars, one floating and one docked at the bottom.
        m_pManager->CreateDefaultToolBars();
        SECCustomToolBar* p1 = m_pManager->CreateUserToolBar("Mine");
        SECCustomToolBar* p2 = m_pManager->CreateUserToolBar("Other");
        ASSERT_TRUE(p1 != nullptr && p2 != nullptr) << c.what;
        p1->InsertButton(0, B);
        p1->InsertButton(1, A);
        p2->InsertButton(0, C);
        m_pFrame->FloatControlBar(p1, CPoint(400, 300));
        m_pFrame->DockControlBar(p2, AFX_IDW_DOCKBAR_BOTTOM);
        m_pFrame->RecalcLayout();
        m_pFrame->SaveBarState("ToolBarState");
        m_pManager->SaveState("ToolBarState");
        const int nStandard = SectionOf(ID_BAR_STANDARD);
        ASSERT_GE(nStandard, 0) << c.what;
        ASSERT_GT(SectionOf(USER1), nStandard) << c.what;
        ASSERT_GT(SectionOf(USER2), nStandard) << c.what;
        c.damage(pApp, Section(nStandard));

        restart();
        SECCustomToolBar* pMine = Bar(USER1);
        SECCustomToolBar* pOther = Bar(USER2);
        ASSERT_NE(pMine, nullptr) << c.what;
        ASSERT_NE(pOther, nullptr) << c.what;
        EXPECT_EQ(IDs(pMine), (std::vector<UINT>{B, A})) << c.what;
        EXPECT_EQ(IDs(pOther), (std::vector<UINT>{C})) << c.what;
        CString title;
        pMine->GetWindowText(title);
        EXPECT_STREQ((LPCSTR)title, "Mine") << c.what;
        EXPECT_TRUE(pMine->IsFloating() && pMine->IsWindowVisible()) << c.what;
        EXPECT_EQ(pOther->m_pDockBar, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM)) << c.what;
        // The default toolbar whose section was damaged is there as it was made.
        ASSERT_NE(Bar(ID_BAR_STANDARD), nullptr) << c.what;
        EXPECT_EQ(IDs(Bar(ID_BAR_STANDARD)), (std::vector<UINT>{A, B, 0, C, ID_TB_OFF})) << c.what;

        // The next exit saves them again.
        m_pFrame->SaveBarState("ToolBarState");
        m_pManager->SaveState("ToolBarState");
        EXPECT_GE(SectionOf(USER1), 0) << c.what;
        EXPECT_GE(SectionOf(USER2), 0) << c.what;
        EXPECT_GE(SectionOf(ID_BAR_STANDARD), 0) << c.what;
        Destroy();
        Make();
        pApp->WriteProfileString("ToolBarState-Summary", nullptr, nullptr);
        for (int i = 0; i < 32; i++)
            pApp->WriteProfileString(Section(i), nullptr, nullptr);
    }
}

// A user toolbar whose "Buttons" value is damaged keeps the whole button records before the
// damage; one whose value gives no whole record is not made again (no empty frame on the screen).
TEST_F(ToolBarFrame, AUserToolBarKeepsTheWholeButtonsBeforeADamagedValue)
{
    const UINT A = ID_TB_A, B = ID_TB_B, C = ID_TB_CHECK;
    const UINT USER = SEC_IDW_USERTOOLBAR_FIRST;
    const struct
    {
        const char* what;
        std::function<void(CWinApp*, LPCSTR)> store;     // the user toolbar's "Buttons"
        bool made;
        std::vector<UINT> after;
    } cases[] = {
        {"the third record cut short",
         [](CWinApp* p, LPCSTR s) {
             BYTE bytes[] = {0x42, 0x9C, 0, 0, 0, 0x41, 0x9C, 0, 0, 0, 0x43, 0x9C};
             p->WriteProfileBinary(s, "Buttons", bytes, sizeof bytes);
         },
         true, {B, A}},
        {"a state running past the end of the second",
         [](CWinApp* p, LPCSTR s) {
             BYTE bytes[] = {0x42, 0x9C, 0, 0, 0, 0, 0, 0, 0, 0, 0x41, 0x9C, 0, 0, 3, 7};
             p->WriteProfileBinary(s, "Buttons", bytes, sizeof bytes);
         },
         true, {B, 0}},
        {"a first record cut short",
         [](CWinApp* p, LPCSTR s) {
             BYTE bytes[] = {0x42, 0x9C, 0};
             p->WriteProfileBinary(s, "Buttons", bytes, sizeof bytes);
         },
         false, {}},
        {"a string", [](CWinApp* p, LPCSTR s) { p->WriteProfileString(s, "Buttons", "ABCDEFGHIJ"); }, false, {}},
        {"missing", [](CWinApp* p, LPCSTR s) { p->WriteProfileString(s, "Buttons", nullptr); }, false, {}},
        {"whole",
         [](CWinApp* p, LPCSTR s) {
             BYTE bytes[] = {0x43, 0x9C, 0, 0, 0, 0x41, 0x9C, 0, 0, 0};
             p->WriteProfileBinary(s, "Buttons", bytes, sizeof bytes);
         },
         true, {C, A}},
    };
    afxtest::RegistryProfile profile;
    CWinApp* pApp = AfxGetApp();
    for (const auto& c : cases) {
        m_pManager->CreateDefaultToolBars();
        SECCustomToolBar* pUser = m_pManager->CreateUserToolBar("Mine");
        ASSERT_NE(pUser, nullptr) << c.what;
        pUser->InsertButton(0, A);
        m_pFrame->FloatControlBar(pUser, CPoint(400, 300));
        m_pFrame->RecalcLayout();
        m_pFrame->SaveBarState("ToolBarState");
        m_pManager->SaveState("ToolBarState");
        const int nUser = SectionOf(USER);
        ASSERT_GE(nUser, 0) << c.what;
        c.store(pApp, Section(nUser));

        Destroy();
        Make();
        m_pManager->CreateDefaultToolBars();
        m_pFrame->LoadBarState("ToolBarState");
        m_pManager->LoadState("ToolBarState");
        m_pFrame->RecalcLayout();
        afxtest::PumpMessages();
        SECCustomToolBar* pBack = Bar(USER);
        if (c.made) {
            ASSERT_NE(pBack, nullptr) << c.what;
            EXPECT_EQ(IDs(pBack), c.after) << c.what;
            EXPECT_TRUE(pBack->IsFloating() && pBack->IsWindowVisible()) << c.what;
            EXPECT_EQ(ShownOwnedWindows(m_pFrame), 1) << c.what;
        } else {
            EXPECT_EQ(pBack, nullptr) << c.what;
            EXPECT_EQ(ShownOwnedWindows(m_pFrame), 0) << c.what << ": a floating frame on the screen";
        }
        // The default toolbars are there as they were made.
        ASSERT_NE(Bar(ID_BAR_STANDARD), nullptr) << c.what;
        EXPECT_EQ(IDs(Bar(ID_BAR_STANDARD)), (std::vector<UINT>{A, B, 0, C, ID_TB_OFF})) << c.what;
        Destroy();
        Make();
        pApp->WriteProfileString("ToolBarState-Summary", nullptr, nullptr);
        for (int i = 0; i < 32; i++)
            pApp->WriteProfileString(Section(i), nullptr, nullptr);
    }
}
