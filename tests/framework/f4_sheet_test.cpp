// Property sheets and pages: the live sheet driven through the test seam, page data exchange,
// OK and Cancel on the pages, repeated runs of one sheet.
#include "afxtest.h"
#include "afxsheet.h"
#include "f4_test_ids.h"

namespace {

std::vector<std::string> g_log;

CString ItemText(CWnd* pDlg, int nID)
{
    char sz[256] = "";
    if (pDlg != nullptr && pDlg->m_hWnd != nullptr)
        ::GetDlgItemTextA(pDlg->m_hWnd, nID, sz, sizeof sz);
    return sz;
}

class CNamePage : public CPropertyPage
{
public:
    CNamePage() : CPropertyPage(IDD_F4_PAGE1) {}
    CString m_strName = "start";
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
