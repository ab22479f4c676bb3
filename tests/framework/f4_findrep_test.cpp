// The modeless Find and Replace dialogs: notifications to the owner, their flags, self-deletion.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "afxdlgs.h"
#include "afxtest.h"
#include "afxwin.h"

namespace {
int g_nDeleted = 0;

class CCountedFindDialog : public CFindReplaceDialog
{
public:
    ~CCountedFindDialog() override { ++g_nDeleted; }
};

// What the owner heard: the dialog, its flags and texts at the time.
struct Heard
{
    CFindReplaceDialog* pDialog;
    bool findNext, replace, replaceAll, terminating, down, matchCase;
    std::string find, replaceWith;
    bool alive;
};

class COwnerWnd : public CWnd
{
public:
    std::vector<Heard> heard;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == ::RegisterWindowMessageA(FINDMSGSTRINGA)) {
            CFindReplaceDialog* p = CFindReplaceDialog::GetNotifier(lParam);
            if (p == nullptr) {
                heard.push_back({nullptr, false, false, false, false, false, false, "", "", false});
                return 0;
            }
            heard.push_back({p, p->FindNext() != 0, p->ReplaceCurrent() != 0, p->ReplaceAll() != 0,
                             p->IsTerminating() != 0, p->SearchDown() != 0, p->MatchCase() != 0,
                             (LPCSTR)p->GetFindString(), (LPCSTR)p->GetReplaceString(),
                             ::IsWindow(p->GetSafeHwnd()) != FALSE});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class FindReplaceDialog : public ::testing::Test
{
protected:
    COwnerWnd owner;
    void SetUp() override
    {
        g_nDeleted = 0;
        ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                   200, nullptr, nullptr));
    }
    void TearDown() override
    {
        if (owner.GetSafeHwnd() != nullptr)
            owner.DestroyWindow();
        afxtest::PumpMessages();
    }
};

void Press(HWND hDlg, int nId)
{
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nId));
    afxtest::PumpMessages();
}
} // namespace

TEST_F(FindReplaceDialog, FindNotifiesItsOwnerAndDeletesItself)
{
    auto* dlg = new CCountedFindDialog;
    ASSERT_TRUE(dlg->Create(TRUE, "abc", nullptr, FR_DOWN | FR_MATCHCASE, &owner));
    HWND hDlg = dlg->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hDlg));
    EXPECT_EQ(::GetWindow(hDlg, GW_OWNER), owner.GetSafeHwnd());
    char text[32] = "";
    ::GetDlgItemTextA(hDlg, edt1, text, sizeof text);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(::IsDlgButtonChecked(hDlg, chx2), BST_CHECKED);   // Match Case

    ::SetDlgItemTextA(hDlg, edt1, "xyz");
    Press(hDlg, IDOK);   // Find Next
    ASSERT_EQ(owner.heard.size(), 1u);
    EXPECT_EQ(owner.heard[0].pDialog, dlg);
    EXPECT_TRUE(owner.heard[0].findNext);
    EXPECT_TRUE(owner.heard[0].down);
    EXPECT_TRUE(owner.heard[0].matchCase);
    EXPECT_EQ(owner.heard[0].find, "xyz");

    // Cancel: the owner hears the end while the dialog is still there, then it is gone.
    Press(hDlg, IDCANCEL);
    ASSERT_EQ(owner.heard.size(), 2u);
    EXPECT_TRUE(owner.heard[1].terminating);
    EXPECT_TRUE(owner.heard[1].alive);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(g_nDeleted, 1);
}

TEST_F(FindReplaceDialog, ReplaceButtonsAndAForeignRequest)
{
    auto* dlg = new CCountedFindDialog;
    ASSERT_TRUE(dlg->Create(FALSE, "light", "lamp", FR_DOWN | FR_HIDEWHOLEWORD, &owner));
    HWND hDlg = dlg->GetSafeHwnd();
    Press(hDlg, psh1);   // Replace
    Press(hDlg, psh2);   // Replace All
    ASSERT_EQ(owner.heard.size(), 2u);
    EXPECT_TRUE(owner.heard[0].replace);
    EXPECT_FALSE(owner.heard[0].replaceAll);
    EXPECT_TRUE(owner.heard[1].replaceAll);
    EXPECT_EQ(owner.heard[1].find, "light");
    EXPECT_EQ(owner.heard[1].replaceWith, "lamp");

    // A request that is no dialog's: no notifier.
    FINDREPLACEA foreign = {};
    foreign.lStructSize = sizeof foreign;
    foreign.lCustData = reinterpret_cast<LPARAM>(dlg);
    EXPECT_EQ(CFindReplaceDialog::GetNotifier(reinterpret_cast<LPARAM>(&foreign)), nullptr);
    EXPECT_EQ(CFindReplaceDialog::GetNotifier(0), nullptr);

    // The owner going takes the dialog with it.
    owner.DestroyWindow();
    afxtest::PumpMessages();
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(g_nDeleted, 1);
}

TEST_F(FindReplaceDialog, WithoutAnOwnerNothingIsMade)
{
    CWinThread* pThread = AfxGetThread();
    CWnd* pOldMain = pThread != nullptr ? pThread->m_pMainWnd : nullptr;
    if (pThread != nullptr)
        pThread->m_pMainWnd = nullptr;
    auto* dlg = new CCountedFindDialog;
    EXPECT_FALSE(dlg->Create(TRUE, "x"));
    EXPECT_EQ(dlg->GetSafeHwnd(), nullptr);
    EXPECT_EQ(g_nDeleted, 0);   // still the caller's
    delete dlg;
    if (pThread != nullptr)
        pThread->m_pMainWnd = pOldMain;
}
