// Property sheets and pages: the live sheet driven through the test seam, page data exchange,
// OK and Cancel on the pages, repeated runs of one sheet.
#include "afxtest.h"
#include "afxsheet.h"
#include "f4_test_ids.h"
#include <functional>
#include <stdexcept>

namespace {

std::vector<std::string> g_log;

CString ItemText(CWnd* pDlg, int nID)
{
    char sz[256] = "";
    if (pDlg != nullptr && pDlg->m_hWnd != nullptr)
        ::GetDlgItemTextA(pDlg->m_hWnd, nID, sz, sizeof sz);
    return sz;
}

// What a page's failure throws.
enum Failure { noFailure, refuses, frameworkException, foreignException, plainValue };

[[noreturn]] void Throw(Failure failure)
{
    if (failure == frameworkException)
        AfxThrowNotSupportedException();
    if (failure == foreignException)
        throw std::runtime_error("disk full");
    throw 7;
}

class CNamePage : public CPropertyPage
{
public:
    CNamePage() : CPropertyPage(IDD_F4_PAGE1) {}
    CString m_strName = "start";
    Failure m_keyFailure = noFailure;   // thrown by the key filter when F3 comes
    int m_nIdleUpdates = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_keyFailure != noFailure && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F3)
            Throw(m_keyFailure);
        return CPropertyPage::PreTranslateMessage(pMsg);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_IDLEUPDATECMDUI)
            ++m_nIdleUpdates;
        return CPropertyPage::WindowProc(message, wParam, lParam);
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_F4_NAME, m_strName); }
    BOOL OnSetActive() override
    {
        g_log.push_back("name:set");
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        g_log.push_back("name:kill");
        return CPropertyPage::OnKillActive();
    }
    void OnOK() override { g_log.push_back("name:ok"); }
    void OnCancel() override { g_log.push_back("name:cancel"); }
};

class CCountPage : public CPropertyPage
{
public:
    CCountPage() : CPropertyPage(IDD_F4_PAGE2, IDS_F4_SHEET) {}
    int m_nCount = 3;
    Failure m_applyFailure = noFailure;
    BOOL OnApply() override
    {
        if (m_applyFailure == refuses)
            return FALSE;
        if (m_applyFailure != noFailure)
            Throw(m_applyFailure);
        return CPropertyPage::OnApply();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_F4_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 0, 10);
    }
    void OnOK() override { g_log.push_back("count:ok"); }
    void OnCancel() override { g_log.push_back("count:cancel"); }
};

class SheetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        m_sheet.AddPage(&m_name);
        m_sheet.AddPage(&m_count);
    }
    CPropertySheet m_sheet{IDS_F4_SHEET};
    CNamePage m_name;
    CCountPage m_count;
};

TEST_F(SheetTest, PagesAndTheirSheetFindEachOther)
{
    EXPECT_EQ(m_sheet.GetPageCount(), 2);
    EXPECT_EQ(m_sheet.GetPage(1), &m_count);
    EXPECT_EQ(m_sheet.GetPage(2), nullptr);
    EXPECT_EQ(m_sheet.GetActivePage(), &m_name);
    m_sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    AfxSeamDrive([&](AfxModalCall& c) {
        EXPECT_STREQ((LPCSTR)c.caption, "Settings");
        HWND hWndApply = ::GetDlgItem(c.hWnd, 0x3021);
        EXPECT_TRUE(hWndApply == nullptr || !::IsWindowVisible(hWndApply));     // no Apply button
        CWnd* pParent = m_name.GetParent();
        ASSERT_NE(pParent, nullptr);
        EXPECT_EQ(pParent->m_hWnd, m_sheet.m_hWnd);
        EXPECT_EQ(dynamic_cast<CPropertySheet*>(pParent), &m_sheet);
        EXPECT_EQ(m_sheet.GetActivePage(), &m_name);
        EXPECT_EQ(m_count.m_hWnd, nullptr);     // not visited: no window yet
        EXPECT_STREQ((LPCSTR)ItemText(&m_name, IDC_F4_NAME), "start");
    });
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(g_log, (std::vector<std::string>{"name:set", "name:cancel"}));
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].kind, AFX_MODAL_PROPERTYSHEET);
}

TEST_F(SheetTest, OkExchangesTheDataOfCreatedPagesAndTheSheetRunsAgain)
{
    AfxSeamDrive([&](AfxModalCall& c) {
        m_name.SetDlgItemText(IDC_F4_NAME, "first");
        m_sheet.SetActivePage(1);
        EXPECT_EQ(m_sheet.GetActivePage(), &m_count);
        EXPECT_STREQ((LPCSTR)m_name.m_strName, "first");    // exchanged on leaving the page
        m_count.SetDlgItemText(IDC_F4_COUNT, "7");
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_EQ(m_count.m_nCount, 7);
    EXPECT_EQ(m_name.m_hWnd, nullptr);
    EXPECT_EQ(g_log, (std::vector<std::string>{"name:set", "name:kill", "name:ok", "count:ok"}));

    // Again: new windows, the data kept.
    g_log.clear();
    AfxSeamDrive([&](AfxModalCall& c) {
        EXPECT_STREQ((LPCSTR)ItemText(&m_name, IDC_F4_NAME), "first");
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_EQ(g_log, (std::vector<std::string>{"name:set", "name:kill", "name:ok"}));
}

TEST_F(SheetTest, AFailingExchangeKeepsThePage)
{
    AfxSeamDrive([&](AfxModalCall& c) {
        m_sheet.SetActivePage(1);
        m_count.SetDlgItemText(IDC_F4_COUNT, "99");
        EXPECT_FALSE(m_sheet.SetActivePage(0));
        EXPECT_EQ(m_sheet.GetActivePage(), &m_count);
        AfxSeamPressButton(c.hWnd, IDCANCEL);
    });
    AfxSeamAnswer(IDOK);    // the validation message, asked while the sheet runs
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    ASSERT_EQ(AfxSeamCalls().size(), 2u);
    EXPECT_EQ(AfxSeamCalls()[1].kind, AFX_MODAL_MESSAGEBOX);
}

TEST_F(SheetTest, AModalSheetComesUpCentredOnItsOwner)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 700,
                               500, nullptr, nullptr));
    m_sheet.m_pParentWnd = &owner;
    CRect rectSheet;
    AfxSeamDrive([&](AfxModalCall& c) { ::GetWindowRect(c.hWnd, &rectSheet); });
    m_sheet.DoModal();
    CRect rectOwner;
    owner.GetWindowRect(&rectOwner);
    EXPECT_NEAR(rectSheet.CenterPoint().x, rectOwner.CenterPoint().x, 1);
    EXPECT_NEAR(rectSheet.CenterPoint().y, rectOwner.CenterPoint().y, 1);
    owner.DestroyWindow();
}

TEST_F(SheetTest, ADrivenSheetRunsTheUsersModalLoop)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 700,
                               500, nullptr, nullptr));
    m_sheet.m_pParentWnd = &owner;
    BOOL bOwnerDisabled = FALSE, bShown = FALSE;
    int nIdleUpdates = 0;
    AfxSeamDrive([&](AfxModalCall& c) {
        bOwnerDisabled = !owner.IsWindowEnabled();
        bShown = ::IsWindowVisible(c.hWnd);
        nIdleUpdates = m_name.m_nIdleUpdates;
        // The user types a name and presses Enter; the loop's key filtering takes it.
        HWND hEdit = ::GetDlgItem(m_name.m_hWnd, IDC_F4_NAME);
        ::SetWindowTextA(hEdit, "typed");
        ::SetFocus(hEdit);
        ::PostMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_TRUE(bOwnerDisabled);
    EXPECT_TRUE(bShown);
    EXPECT_GE(nIdleUpdates, 1);
    EXPECT_STREQ((LPCSTR)m_name.m_strName, "typed");
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(m_sheet.m_hWnd, nullptr);
    owner.DestroyWindow();
}

TEST_F(SheetTest, WhateverEndsTheRunTheOwnerIsEnabledAgain)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 700,
                               500, nullptr, nullptr));
    m_sheet.m_pParentWnd = &owner;
    for (Failure failure : {foreignException, plainValue, frameworkException}) {
        m_name.m_keyFailure = failure;
        size_t nCallsBefore = AfxSeamCalls().size();
        // The user presses F3, whose filtering fails.
        AfxSeamDrive([&](AfxModalCall&) {
            ::PostMessageA(::GetDlgItem(m_name.m_hWnd, IDC_F4_NAME), WM_KEYDOWN, VK_F3, 0);
        });
        if (failure == foreignException) {
            EXPECT_THROW(m_sheet.DoModal(), std::runtime_error);
        }
        else if (failure == plainValue) {
            EXPECT_THROW(m_sheet.DoModal(), int);
        }
        else {
            AfxSeamAnswer(IDOK);    // the framework's own failure is told to the user
            EXPECT_EQ(m_sheet.DoModal(), -1);
            EXPECT_EQ(AfxSeamCalls().size(), nCallsBefore + 2);
        }
        EXPECT_TRUE(owner.IsWindowEnabled()) << failure;
        EXPECT_EQ(m_sheet.m_hWnd, nullptr) << failure;
    }
    m_name.m_keyFailure = noFailure;
    owner.DestroyWindow();
}

TEST_F(SheetTest, APageThatCannotApplyKeepsTheSheetOpenOnItAndTheSheetNeverEndsWithOK)
{
    struct Case
    {
        Failure failure;
        size_t nMessages;   // what the user is told (a page that refuses said why itself)
    } cases[] = {{refuses, 0}, {frameworkException, 1}, {foreignException, 1}};
    for (const Case& c : cases) {
        m_count.m_applyFailure = c.failure;
        size_t nMessagesBefore = afxtest::MessageBoxTexts().size();
        BOOL bOpen = FALSE;
        CPropertyPage* pFront = nullptr;
        AfxSeamDrive([&](AfxModalCall& call) {
            m_sheet.SetActivePage(1);
            m_sheet.SetActivePage(0);
            AfxSeamPressButton(call.hWnd, IDOK);
            bOpen = ::IsWindowVisible(call.hWnd);
            pFront = m_sheet.GetActivePage();
            // The user gives up: the sheet is cancelled.
        });
        for (size_t i = 0; i < c.nMessages; ++i)
            AfxSeamAnswer(IDOK);
        EXPECT_EQ(m_sheet.DoModal(), IDCANCEL) << c.failure;
        EXPECT_TRUE(bOpen) << c.failure;
        EXPECT_EQ(pFront, &m_count) << c.failure;
        EXPECT_EQ(afxtest::MessageBoxTexts().size(), nMessagesBefore + c.nMessages) << c.failure;
    }
    // Once the page can apply, OK ends the sheet with IDOK.
    m_count.m_applyFailure = noFailure;
    AfxSeamDrive([&](AfxModalCall& call) {
        m_sheet.SetActivePage(1);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
}

TEST_F(SheetTest, AModelessSheetGoesWhenOKOrCancelEndsIt)
{
    struct Case
    {
        const char* how;
        std::function<void(HWND)> end;
    } cases[] = {
        {"OK", [](HWND h) { AfxSeamPressButton(h, IDOK); }},
        {"Cancel", [](HWND h) { AfxSeamPressButton(h, IDCANCEL); }},
        {"close box", [](HWND h) { ::SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"PressButton", [this](HWND) { m_sheet.PressButton(PSBTN_OK); }},
    };
    for (const Case& c : cases) {
        g_log.clear();
        ASSERT_TRUE(m_sheet.Create());
        HWND hWnd = m_sheet.m_hWnd;
        m_sheet.ShowWindow(SW_SHOWNA);
        // Apply leaves it open.
        ::SendMessageA(hWnd, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        EXPECT_TRUE(::IsWindow(hWnd)) << c.how;
        c.end(hWnd);
        EXPECT_FALSE(::IsWindow(hWnd)) << c.how;
        EXPECT_EQ(m_sheet.m_hWnd, nullptr) << c.how;
    }
}

TEST_F(SheetTest, AScriptAnswersWithoutWindows)
{
    AfxSeamAnswer(IDOK);
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_TRUE(g_log.empty());
}

TEST(PropertyPage, WorksAsAPlainChildDialog)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200),
                                nullptr, 0));
    CNamePage page;
    page.m_strName = "child";
    ASSERT_TRUE(page.Create(IDD_F4_PAGE1, &parent));
    EXPECT_STREQ((LPCSTR)ItemText(&page, IDC_F4_NAME), "child");
    page.SetDlgItemText(IDC_F4_NAME, "changed");
    EXPECT_TRUE(page.UpdateData(TRUE));
    EXPECT_STREQ((LPCSTR)page.m_strName, "changed");
    page.DestroyWindow();
    parent.DestroyWindow();
}

} // namespace
