// Dialogs, data exchange and validation, and the test seam of message boxes and modal dialogs.
#include "afxtest.h"
#include <stdexcept>
#include "f1_test_ids.h"
#include <string>
#include <vector>

namespace {

// ---- Message boxes --------------------------------------------------------------------------

TEST(Seam, MessageBoxesAreAnsweredAndRecordedWithWhatWasAsked)
{
    AfxSeamAnswer(IDNO);
    AfxSeamAnswer(IDRETRY);
    AfxSeamAnswer(IDOK);
    EXPECT_EQ(AfxMessageBox("Save the map?", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC, MB_RETRYCANCEL | MB_ICONSTOP), IDRETRY);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.MessageBox("Direct", "Caption"), IDOK);

    const auto& calls = AfxSeamCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_STREQ(calls[0].text, "Save the map?");
    EXPECT_STREQ(calls[0].caption, AfxGetAppName());
    EXPECT_EQ(calls[0].nType, (UINT)(MB_YESNOCANCEL | MB_ICONQUESTION));   // the usual icon is added
    EXPECT_EQ(calls[0].nResult, IDNO);
    EXPECT_TRUE(calls[0].bScripted);
    EXPECT_STREQ(calls[1].text, "Failed to open document.");
    EXPECT_EQ(calls[1].nIDHelp, (UINT)AFX_IDP_FAILED_TO_OPEN_DOC);
    EXPECT_EQ(calls[1].nType, (UINT)(MB_RETRYCANCEL | MB_ICONSTOP));
    EXPECT_STREQ(calls[2].caption, "Caption");
    EXPECT_EQ(calls[2].hWndOwner, wnd.m_hWnd);
}

TEST(Seam, UnscriptedRequestsGetTheSafeChoiceAndAreReported)
{
    std::vector<AfxModalCall> unexpected;
    AfxSeamSetUnexpectedHandler([&](const AfxModalCall& call) { unexpected.push_back(call); });
    EXPECT_EQ(AfxMessageBox("a", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("b", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox("c", MB_OK), IDOK);
    CDialog dlg(IDD_F1_VALUES);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // The core's exceptions report through the same path.
    CFileException e(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "missing.map");
    e.m_bAutoDelete = FALSE;
    e.ReportError();
    ASSERT_EQ(unexpected.size(), 5u);
    EXPECT_FALSE(unexpected[0].bScripted);
    EXPECT_EQ(unexpected[3].kind, AFX_MODAL_DIALOG);
    EXPECT_EQ(unexpected[4].kind, AFX_MODAL_MESSAGEBOX);
    EXPECT_EQ(AfxSeamCalls().size(), 5u);
    AfxSeamSetUnexpectedHandler([](const AfxModalCall& call) {
        ADD_FAILURE() << "unexpected modal request: " << (LPCSTR)call.text;
    });
}

// The seam only gives the user's answer: the code around it runs as without it. A box asked for
// while a popup of the main window is active is owned by that popup, and the main window stays
// disabled until the box is answered; resetting the seam drops the handlers a test installed.
TEST(Seam, TheCodeAroundAMessageBoxRunsAsWithoutTheSeam)
{
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300,
                              nullptr, nullptr));
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), "popup", WS_POPUP | WS_VISIBLE, 20, 20, 100, 100,
                               main.m_hWnd, nullptr));
    ::SetActiveWindow(popup.m_hWnd);
    CWnd* pOldMain = AfxGetApp()->m_pMainWnd;
    AfxGetApp()->m_pMainWnd = &main;
    HWND hWndOwner = nullptr;
    BOOL bMainEnabledDuring = TRUE;
    AfxSeamScript([&](AfxModalCall& call) -> INT_PTR {
        hWndOwner = call.hWndOwner;
        bMainEnabledDuring = ::IsWindowEnabled(main.m_hWnd);
        return IDYES;
    });
    EXPECT_EQ(AfxMessageBox("Go on?", MB_YESNO), IDYES);
    AfxGetApp()->m_pMainWnd = pOldMain;
    EXPECT_EQ(hWndOwner, popup.m_hWnd);
    EXPECT_FALSE(bMainEnabledDuring);
    EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
    popup.DestroyWindow();
    main.DestroyWindow();

    int nSeen = 0;
    AfxSeamSetUnexpectedHandler([&](const AfxModalCall&) { ++nSeen; });
    AfxSeamReset();
    EXPECT_EQ(AfxMessageBox("nobody answers", MB_OK), IDOK);
    EXPECT_EQ(nSeen, 0) << "the reset dropped the test's handler";
}

// ---- Dialogs ----------------------------------------------------------------------------------

class CValuesDlg : public CDialog
{
public:
    CValuesDlg() : CDialog(IDD_F1_VALUES) {}

    CString m_strName = "brush";
    int m_nCount = 4;
    float m_fScale = 1.5f;
    int m_nCheck = 1;
    int m_nRadio = 2;
    int m_nInits = 0;
    int m_nCancels = 0;
    BOOL m_bCancelEnds = TRUE;
    int m_nEndInInit = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_F1_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 5);
        DDX_Text(pDX, IDC_F1_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 10);
        DDX_Text(pDX, IDC_F1_SCALE, m_fScale);
        DDV_MinMaxFloat(pDX, m_fScale, 0.5f, 2.5f);
        DDX_Check(pDX, IDC_F1_CHECK, m_nCheck);
        DDX_Radio(pDX, IDC_F1_RADIO_A, m_nRadio);
    }
    BOOL OnInitDialog() override
    {
        ++m_nInits;
        BOOL bResult = CDialog::OnInitDialog();
        if (m_nEndInInit != 0)
            EndDialog(m_nEndInInit);
        return bResult;
    }
    void OnCancel() override
    {
        ++m_nCancels;
        if (m_bCancelEnds)
            CDialog::OnCancel();
    }
};

CString ItemText(HWND hDlg, int nID)
{
    char sz[128] = "";
    ::GetDlgItemTextA(hDlg, nID, sz, sizeof sz);
    return sz;
}

TEST(Dialogs, AScriptCanAnswerUnseenAfterSettingTheDialogsFields)
{
    CValuesDlg dlg;
    AfxSeamScript([](AfxModalCall& call) {
        auto* pDlg = static_cast<CValuesDlg*>(call.pObject);
        pDlg->m_nCount = 9;
        return (INT_PTR)IDOK;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nCount, 9);
    EXPECT_EQ(dlg.m_nInits, 0);     // never created
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].kind, AFX_MODAL_DIALOG);
    EXPECT_EQ(AfxSeamCalls()[0].nIDTemplate, (UINT)IDD_F1_VALUES);
    EXPECT_STREQ(AfxSeamCalls()[0].className, "CDialog");
    EXPECT_EQ(AfxSeamCalls()[0].pObject, nullptr);
}

TEST(Dialogs, ADrivenDialogShowsTheMembersAndTakesTheFieldsBackOnOK)
{
    CValuesDlg dlg;
    AfxSeamDrive([](AfxModalCall& call) {
        HWND h = call.hWnd;
        EXPECT_STREQ(call.caption, "Values");
        // The members were transferred into the controls.
        EXPECT_STREQ(ItemText(h, IDC_F1_NAME), "brush");
        EXPECT_STREQ(ItemText(h, IDC_F1_COUNT), "4");
        EXPECT_STREQ(ItemText(h, IDC_F1_SCALE), "1.5");
        EXPECT_EQ(::IsDlgButtonChecked(h, IDC_F1_CHECK), 1u);
        EXPECT_EQ(::IsDlgButtonChecked(h, IDC_F1_RADIO_C), 1u);     // index 2 in tab order
        ::SetDlgItemTextA(h, IDC_F1_NAME, "wall");
        ::SetDlgItemTextA(h, IDC_F1_COUNT, " 7 ");
        ::SetDlgItemTextA(h, IDC_F1_SCALE, "2.25");
        ::CheckDlgButton(h, IDC_F1_CHECK, BST_UNCHECKED);
        ::CheckRadioButton(h, IDC_F1_RADIO_B, IDC_F1_RADIO_B, IDC_F1_RADIO_B);
        ::CheckDlgButton(h, IDC_F1_RADIO_C, BST_UNCHECKED);
        AfxSeamPressButton(h, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strName, "wall");
    EXPECT_EQ(dlg.m_nCount, 7);
    EXPECT_FLOAT_EQ(dlg.m_fScale, 2.25f);
    EXPECT_EQ(dlg.m_nCheck, 0);
    EXPECT_EQ(dlg.m_nRadio, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialogs, FailedValidationTellsTheUserAndKeepsTheDialogOpenAtTheField)
{
    struct Case
    {
        int nID;
        const char* bad;
        const char* good;
        const char* message;
    } cases[] = {
        {IDC_F1_COUNT, "11", "10", "Please enter an integer between 1 and 10."},
        {IDC_F1_COUNT, "abc", "3", "Please enter an integer."},
        {IDC_F1_COUNT, "99999999999", "3", "Please enter an integer."},
        {IDC_F1_SCALE, "3", "2", "Please enter a number between 0.5 and 2.5."},
        {IDC_F1_SCALE, "1.5x", "2", "Please enter a number."},
        {IDC_F1_NAME, "toolong", "short", "Please enter no more than 5 characters."},
    };
    for (const Case& c : cases) {
        AfxSeamReset();
        CValuesDlg dlg;
        bool bStayedOpen = false;
        bool bFocusOnField = false;
        AfxSeamDrive([&](AfxModalCall& call) {
            HWND h = call.hWnd;
            ::SetDlgItemTextA(h, c.nID, c.bad);
            AfxSeamPressButton(h, IDOK);
            bStayedOpen = ::IsWindow(h) && ::IsWindowVisible(h);
            bFocusOnField = ::GetFocus() == ::GetDlgItem(h, c.nID);
            ::SetDlgItemTextA(h, c.nID, c.good);
            AfxSeamPressButton(h, IDOK);
        });
        AfxSeamAnswer(IDOK);    // the validation message
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.bad;
        EXPECT_TRUE(bStayedOpen) << c.bad;
        EXPECT_TRUE(bFocusOnField) << c.bad;
        auto texts = afxtest::MessageBoxTexts();
        ASSERT_EQ(texts.size(), 1u) << c.bad;
        EXPECT_STREQ(texts[0], c.message);
    }
}

TEST(Dialogs, TheCloseBoxAndEscapeReachOnCancelWhichMayKeepTheDialogOpen)
{
    CValuesDlg dlg;
    dlg.m_bCancelEnds = FALSE;
    int nCancelsSeen = 0;
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = call.hWnd;
        ::SendMessageA(h, WM_CLOSE, 0, 0);
        HWND hEdit = ::GetDlgItem(h, IDC_F1_NAME);
        ::SetFocus(hEdit);
        ::PostMessageA(hEdit, WM_KEYDOWN, VK_ESCAPE, 0);
        afxtest::PumpMessages();
        nCancelsSeen = dlg.m_nCancels;
        EXPECT_TRUE(::IsWindowVisible(h));
        AfxSeamPressButton(h, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(nCancelsSeen, 2);
}

TEST(Dialogs, EndDialogDuringInitialisationEndsAtOnce)
{
    CValuesDlg dlg;
    dlg.m_nEndInInit = 77;
    AfxSeamDrive([](AfxModalCall&) { ADD_FAILURE() << "the dialog should not be driven"; });
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_EQ(dlg.m_nInits, 1);
}

// ---- The framework's own modal loop, for real ---------------------------------------------

class CSelfClosingDlg : public CValuesDlg
{
public:
    int m_nKicks = 0;
    BOOL m_bSawKey = FALSE;
    BOOL m_bEnding = FALSE;
    HWND m_hWndOwnerDuring = nullptr;
    BOOL m_bOwnerDisabled = FALSE;

    BOOL OnInitDialog() override
    {
        CValuesDlg::OnInitDialog();
        m_hWndOwnerDuring = ::GetWindow(m_hWnd, GW_OWNER);
        m_bOwnerDisabled = m_hWndOwnerDuring != nullptr && !::IsWindowEnabled(m_hWndOwnerDuring);
        ::PostMessageA(::GetDlgItem(m_hWnd, IDC_F1_NAME), WM_KEYDOWN, VK_F2, 0);
        // Only a safety net: the dialog ends itself from its first idle moment after the key,
        // so a slow machine cannot let the timer win over the idle message.
        SetTimer(1, 10000);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F2)
            m_bSawKey = TRUE;
        return CValuesDlg::PreTranslateMessage(pMsg);
    }
    LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        ++m_nKicks;
        if (m_bSawKey && !m_bEnding) {
            m_bEnding = TRUE;
            EndDialog(IDRETRY);
        }
        return FALSE;
    }
    void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        EndDialog(IDABORT);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfClosingDlg, CValuesDlg)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Dialogs, DoModalRunsTheFrameworksOwnLoopWithTheOwnerDisabled)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                               nullptr));
    owner.ShowWindow(SW_SHOWNA);
    CSelfClosingDlg dlg;
    dlg.m_pParentWnd = &owner;
    BOOL bWasActive = AfxSeamSetActive(FALSE);
    INT_PTR nResult = dlg.DoModal();
    AfxSeamSetActive(bWasActive);
    EXPECT_EQ(nResult, IDRETRY);
    EXPECT_EQ(dlg.m_hWndOwnerDuring, owner.m_hWnd);
    EXPECT_TRUE(dlg.m_bOwnerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_TRUE(dlg.m_bSawKey);
    EXPECT_GE(dlg.m_nKicks, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// A driven dialog runs the user's modal loop: its owner is disabled and the dialog shown when the
// test's user acts, the loop's idle updates have run, and keys the user leaves behind are taken
// by the loop's key filtering (Enter presses the default button, Escape cancels).
class CKickCountingDlg : public CValuesDlg
{
public:
    int m_nKicks = 0;
    LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        ++m_nKicks;
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CKickCountingDlg, CValuesDlg)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

TEST(Dialogs, ADrivenDialogRunsTheUsersModalLoop)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                               nullptr));
    owner.ShowWindow(SW_SHOWNA);
    struct Case
    {
        BYTE vk;
        INT_PTR nResult;
        const char* name;
        int nCancels;
    } cases[] = {{VK_RETURN, IDOK, "typed", 0}, {VK_ESCAPE, IDCANCEL, "brush", 1}};
    for (const Case& c : cases) {
        CKickCountingDlg dlg;
        dlg.m_pParentWnd = &owner;
        BOOL bOwnerDisabled = FALSE, bShown = FALSE;
        int nKicks = 0;
        AfxSeamDrive([&](AfxModalCall& call) {
            bOwnerDisabled = !::IsWindowEnabled(owner.m_hWnd);
            bShown = ::IsWindowVisible(call.hWnd);
            nKicks = dlg.m_nKicks;
            HWND hEdit = ::GetDlgItem(call.hWnd, IDC_F1_NAME);
            ::SetWindowTextA(hEdit, "typed");
            ::SetFocus(hEdit);
            ::PostMessageA(hEdit, WM_KEYDOWN, c.vk, 0);
        });
        EXPECT_EQ(dlg.DoModal(), c.nResult) << c.vk;
        EXPECT_TRUE(bOwnerDisabled) << c.vk;
        EXPECT_TRUE(bShown) << c.vk;
        EXPECT_GE(nKicks, 1) << c.vk;
        EXPECT_STREQ((LPCSTR)dlg.m_strName, c.name);
        EXPECT_EQ(dlg.m_nCancels, c.nCancels) << c.vk;
        EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd)) << c.vk;
        EXPECT_EQ(dlg.m_hWnd, nullptr);
    }
    owner.DestroyWindow();
}

// A dialog whose message filter fails with an exception that is not the framework's.
class CFailingDlg : public CValuesDlg
{
public:
    BOOL OnInitDialog() override
    {
        CValuesDlg::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_KEYDOWN, VK_F3, 0);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F3)
            throw std::runtime_error("filter failed");
        return CValuesDlg::PreTranslateMessage(pMsg);
    }
};

// Any exception out of a modal dialog leaves its owner enabled and the dialog gone; any exception
// out of a data exchange gives the notification lock back.
TEST(Dialogs, ExceptionsOfAnyKindLeaveTheOwnerEnabledAndTheLockReleased)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                               nullptr));
    owner.ShowWindow(SW_SHOWNA);
    CFailingDlg dlg;
    dlg.m_pParentWnd = &owner;
    BOOL bWasActive = AfxSeamSetActive(FALSE);
    EXPECT_THROW(dlg.DoModal(), std::runtime_error);
    AfxSeamSetActive(bWasActive);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    struct CFailingExchange : public CWnd
    {
        void DoDataExchange(CDataExchange*) override { throw std::runtime_error("exchange failed"); }
    } failing;
    HWND hWndBefore = AfxGetThreadState()->m_hLockoutNotifyWindow;
    failing.m_hWnd = owner.m_hWnd; // borrowed for the lock, given back below
    EXPECT_THROW(failing.UpdateData(TRUE), std::runtime_error);
    failing.m_hWnd = nullptr;
    EXPECT_EQ(AfxGetThreadState()->m_hLockoutNotifyWindow, hWndBefore);
    owner.DestroyWindow();
}

// ---- Modeless dialogs and templates with controls of their own class ----------------------

TEST(Dialogs, AModelessDialogCanBeAChildPanelOfAnotherWindow)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    class CPanel : public CDialog
    {
    public:
        CString m_strText = "panel";
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_F1_PANEL_EDIT, m_strText); }
    } panel;
    ASSERT_TRUE(panel.Create(IDD_F1_PANEL, &host));
    EXPECT_NE(panel.GetStyle() & WS_CHILD, 0u);
    EXPECT_EQ(::GetParent(panel.m_hWnd), host.m_hWnd);
    EXPECT_STREQ(ItemText(panel.m_hWnd, IDC_F1_PANEL_EDIT), "panel");
    ::SetDlgItemTextA(panel.m_hWnd, IDC_F1_PANEL_EDIT, "edited");
    EXPECT_TRUE(panel.UpdateData(TRUE));
    EXPECT_STREQ(panel.m_strText, "edited");
    host.DestroyWindow();
    EXPECT_EQ(panel.m_hWnd, nullptr);
}

// A control class whose windows made from a dialog template get their object from the class
// procedure, as the grid's do.
class CCustomControl : public CWnd
{
public:
    static int s_nMade;
    static int s_nDeleted;
    UINT m_nFirstMsgSeen = 0;
    ~CCustomControl() override { ++s_nDeleted; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (m_nFirstMsgSeen == 0)
            m_nFirstMsgSeen = message;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }

    static LRESULT CALLBACK ClassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (CWnd::FromHandlePermanent(hWnd) == nullptr) {
            CCustomControl* pControl = new CCustomControl;
            ++s_nMade;
            pControl->Attach(hWnd);
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
        }
        return ::CallWindowProcA(AfxWndProc, hWnd, message, wParam, lParam);
    }
};
int CCustomControl::s_nMade = 0;
int CCustomControl::s_nDeleted = 0;

class CFirstMessageDlg : public CDialog
{
public:
    CFirstMessageDlg() : CDialog(IDD_F1_CUSTOM) {}
    UINT m_nFirstMsg = 0;
    BOOL m_bAttachedAtFirst = FALSE;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (m_nFirstMsg == 0) {
            m_nFirstMsg = message;
            m_bAttachedAtFirst = m_hWnd != nullptr && CWnd::FromHandlePermanent(m_hWnd) == this;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

TEST(Dialogs, TemplateWindowsAndTheirCustomClassControlsAreAttachedFromTheirFirstMessage)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CCustomControl::ClassProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = "F1CustomControl";
    AfxRegisterClass(&wc);
    CCustomControl::s_nMade = CCustomControl::s_nDeleted = 0;

    CFirstMessageDlg dlg;
    bool bControlAttached = false;
    UINT nControlFirstMsg = 0;
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pControl = dynamic_cast<CCustomControl*>(CWnd::FromHandlePermanent(::GetDlgItem(call.hWnd, IDC_F1_CUSTOM)));
        bControlAttached = pControl != nullptr;
        if (pControl)
            nControlFirstMsg = pControl->m_nFirstMsgSeen;
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_NE(dlg.m_nFirstMsg, 0u);
    EXPECT_TRUE(dlg.m_bAttachedAtFirst);
    EXPECT_TRUE(bControlAttached);
    EXPECT_EQ(nControlFirstMsg, (UINT)WM_NCCREATE);
    EXPECT_EQ(CCustomControl::s_nMade, 1);
    EXPECT_EQ(CCustomControl::s_nDeleted, 1);
}

} // namespace

namespace {

TEST(Seam, TheTickCountLeadBytesAndDisplayResolutionCanBeReplaced)
{
    AfxSeamSetTickCount([] { return (DWORD)1234; });
    AfxSeamSetLeadByte([](BYTE ch) { return (BOOL)(ch == 0x81); });
    AfxSeamSetDisplayResolution([] { return SIZE{640, 480}; });
    EXPECT_EQ(AfxGetTickCount(), 1234u);
    EXPECT_TRUE(AfxIsLeadByte(0x81));
    EXPECT_FALSE(AfxIsLeadByte('a'));
    EXPECT_EQ(AfxGetDisplayResolution().cx, 640);
    AfxSeamReset();
    EXPECT_NE(AfxGetTickCount(), 1234u);
    EXPECT_FALSE(AfxIsLeadByte(0x81));      // code page 1252 has none
    SIZE real = AfxGetDisplayResolution();
    EXPECT_EQ(real.cx, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(real.cy, ::GetSystemMetrics(SM_CYSCREEN));
}

TEST(Dialogs, AModelessDialogNavigatesWithTheKeyboardThroughTheLoop)
{
    CValuesDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_F1_VALUES));
    dlg.ShowWindow(SW_SHOWNA);
    HWND hName = ::GetDlgItem(dlg.m_hWnd, IDC_F1_NAME);
    HWND hCount = ::GetDlgItem(dlg.m_hWnd, IDC_F1_COUNT);
    ::SetFocus(hName);
    ASSERT_EQ(::GetFocus(), hName);
    ::PostMessageA(hName, WM_KEYDOWN, VK_TAB, 0);
    afxtest::PumpMessages();
    EXPECT_EQ(::GetFocus(), hCount);
    dlg.DestroyWindow();
}

} // namespace
