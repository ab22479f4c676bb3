// The Tools page, live in a sheet of its own, its list editor worked as its buttons do.
#include "BuildRes.h"
#include "ToolsPage.h"
#include "afxwndtest.h"
#include "buildtools_util.h"

namespace {

CString Text(HWND hWnd, int nID)
{
    char sz[512] = "";
    ::GetDlgItemTextA(hWnd, nID, sz, sizeof sz);
    return sz;
}

std::vector<std::string> ListTexts(HWND hList)
{
    std::vector<std::string> texts;
    int n = (int)::SendMessageA(hList, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char sz[256] = "";
        ::SendMessageA(hList, LB_GETTEXT, i, (LPARAM)sz);
        texts.push_back(sz);
    }
    return texts;
}

class ToolsPageTest : public testing::Test
{
protected:
    ToolsPageTest() : tools(notify.hWnd, &output)
    {
        notify.onCompletion = [this](UINT, WPARAM w, LPARAM l) { tools.OnToolProcessFinished(w, l); };
        CUserToolArray list;
        const char* const names[][3] = {{"&Compile", "pid sleep forever", ""}, {"&View", "out v", "C:\\maps"}};
        for (auto& n : names) {
            CUserTool* pTool = new CUserTool;
            pTool->m_strMenuText = n[0];
            pTool->m_strCommand = bt::StandinPath();
            pTool->m_strArguments = n[1];
            pTool->m_strInitialDirectory = n[2];
            list.Add(pTool);
        }
        list.GetAt(1)->m_bOutputToWindow = FALSE;
        tools.Replace(list);
        output.AddTab("Compile");
    }
    // A user's click on an item.
    static void Select(HWND hPage, int index)
    {
        ::SendDlgItemMessageA(hPage, IDC_TOOLS_LIST, LB_SETCURSEL, index, 0);
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_TOOLS_LIST, LBN_SELCHANGE),
                       (LPARAM)::GetDlgItem(hPage, IDC_TOOLS_LIST));
    }
    // The list editor's New, a name typed, Enter.
    static void AddItem(CCustomizeToolsPage& page, LPCSTR text)
    {
        ASSERT_TRUE(page.GetListEditor().NewItem());
        ASSERT_NE(page.GetListEditor().GetEdit(), nullptr);
        page.GetListEditor().GetEdit()->SetWindowText(text);
        page.GetListEditor().EndEdit(FALSE);
    }
    static void MoveUp(CCustomizeToolsPage& page, int index)
    {
        Select(page.m_hWnd, index);
        EXPECT_TRUE(page.GetListEditor().MoveItemUp());
    }
    static void Rename(CCustomizeToolsPage& page, int index, LPCSTR text)
    {
        Select(page.m_hWnd, index);
        ASSERT_TRUE(page.GetListEditor().StartEdit());
        page.GetListEditor().GetEdit()->SetWindowText(text);
        page.GetListEditor().EndEdit(FALSE);
    }
    static void Delete(CCustomizeToolsPage& page, int index)
    {
        Select(page.m_hWnd, index);
        EXPECT_TRUE(page.GetListEditor().DeleteItem());
    }
    // The "..." button that the picker put beside an edit.
    static int BrowseButton(HWND hPage, int nEditID)
    {
        HWND hButton = ::GetWindow(::GetDlgItem(hPage, nEditID), GW_HWNDNEXT);
        return hButton != nullptr ? ::GetDlgCtrlID(hButton) : 0;
    }

    bt::TempDir dir;
    bt::Recorder notify;
    bt::FakeOutput output;
    CUserTools tools;
};

TEST_F(ToolsPageTest, EditsOnTheCopiesReachTheListAndTheSettingsOnOK)
{
    afxtest::RegistryProfile registry;
    // A tool runs while the page is edited.
    CStringList macros;
    tools.OnUserTool(ID_USER_TOOL_FIRST, macros);
    HANDLE hChild = bt::OpenPrintedProcess(output.Text("Compile"));
    ASSERT_NE(hChild, nullptr);

    CPropertySheet sheet("Customize");
    CCustomizeToolsPage page(tools);
    sheet.AddPage(&page);
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = page.m_hWnd;
        ASSERT_NE(h, nullptr);
        HWND hList = ::GetDlgItem(h, IDC_TOOLS_LIST);
        EXPECT_EQ(ListTexts(hList), (std::vector<std::string>{"&Compile", "&View"}));
        // The list editor's strip draws its caption as it is (no mnemonic): no "&" in it.
        CString caption;
        page.GetListEditor().GetWindowText(caption);
        EXPECT_STREQ(caption, "Tool Item:");
        EXPECT_EQ(::SendMessageA(hList, LB_GETCURSEL, 0, 0), 0);
        EXPECT_STREQ(Text(h, IDC_TOOLS_ARGUMENTS), "pid sleep forever");
        EXPECT_EQ(::IsDlgButtonChecked(h, IDC_TOOLS_OUTPUT), 1u);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_TOOLS_COMMAND)));

        // Edit the first tool, then look at the second: the first keeps its edits.
        ::SetDlgItemTextA(h, IDC_TOOLS_ARGUMENTS, "out edited");
        Select(h, 1);
        EXPECT_STREQ(Text(h, IDC_TOOLS_ARGUMENTS), "out v");
        EXPECT_STREQ(Text(h, IDC_TOOLS_DIRECTORY), "C:\\maps");
        EXPECT_EQ(::IsDlgButtonChecked(h, IDC_TOOLS_OUTPUT), 0u);
        Select(h, 0);
        EXPECT_STREQ(Text(h, IDC_TOOLS_ARGUMENTS), "out edited");

        // A new item without a text is refused; one with a text becomes a tool with the defaults.
        AddItem(page, "");
        EXPECT_EQ(ListTexts(hList).size(), 2u);
        AddItem(page, "&Lint");
        EXPECT_EQ(::SendMessageA(hList, LB_GETCURSEL, 0, 0), 2);
        EXPECT_STREQ(Text(h, IDC_TOOLS_COMMAND), "");
        EXPECT_EQ(::IsDlgButtonChecked(h, IDC_TOOLS_OUTPUT), 1u);
        ::SetDlgItemTextA(h, IDC_TOOLS_COMMAND, "lint.exe");
        ::SetDlgItemTextA(h, IDC_TOOLS_ARGUMENTS, "-a ");
        // The macro menu puts its macro at the caret.
        ::SendDlgItemMessageA(h, IDC_TOOLS_ARGUMENTS, EM_SETSEL, 3, 3);
        AfxSeamScript([](AfxModalCall& menu) {
            EXPECT_EQ(menu.kind, AFX_MODAL_POPUPMENU);
            EXPECT_EQ(menu.menuItems.size(), 18u);     // 13 macros, 5 separators
            return (INT_PTR)ID_ARGS_MAP_NAME;
        });
        AfxSeamPressButton(h, IDC_TOOLS_ARGUMENTS_MENU);
        EXPECT_STREQ(Text(h, IDC_TOOLS_ARGUMENTS), "-a ${MapName}");
        AfxSeamScript([](AfxModalCall&) { return (INT_PTR)ID_DIR_PROJECT_DIR; });
        AfxSeamPressButton(h, IDC_TOOLS_DIRECTORY_MENU);
        EXPECT_STREQ(Text(h, IDC_TOOLS_DIRECTORY), "${ProjectDir}");
        // The browse buttons: a program, a directory.
        AfxSeamScript([](AfxModalCall& file) {
            EXPECT_EQ(file.kind, AFX_MODAL_COMMONDIALOG);
            EXPECT_STREQ(file.className, "CFileDialog");
            file.text = "C:\\tools\\lint2.exe";
            return (INT_PTR)IDOK;
        });
        CString cwd = bt::CurrentDirectory();
        AfxSeamPressButton(h, BrowseButton(h, IDC_TOOLS_COMMAND));
        EXPECT_STREQ(Text(h, IDC_TOOLS_COMMAND), "C:\\tools\\lint2.exe");
        EXPECT_STREQ(bt::CurrentDirectory(), cwd);
        AfxSeamScript([](AfxModalCall& folder) {
            EXPECT_STREQ(folder.caption, "Select Initial Directory");
            folder.text = "C:\\work";
            return (INT_PTR)IDOK;
        });
        AfxSeamPressButton(h, BrowseButton(h, IDC_TOOLS_DIRECTORY));
        EXPECT_STREQ(Text(h, IDC_TOOLS_DIRECTORY), "C:\\work");
        ::SetDlgItemTextA(h, IDC_TOOLS_DIRECTORY, "${ProjectDir}");

        // Reorder and rename: the new tool goes first.
        MoveUp(page, 2);
        MoveUp(page, 1);
        EXPECT_STREQ(Text(h, IDC_TOOLS_COMMAND), "C:\\tools\\lint2.exe");
        Rename(page, 0, "&Lint it");
        EXPECT_EQ(ListTexts(hList), (std::vector<std::string>{"&Lint it", "&Compile", "&View"}));

        // Delete the shown "&View", then look at another: nothing is stored into the deleted one.
        Delete(page, 2);
        EXPECT_EQ(page.GetShownTool(), (CUserTool*)::SendMessageA(hList, LB_GETITEMDATA, 1, 0));
        EXPECT_STREQ(Text(h, IDC_TOOLS_ARGUMENTS), "out edited");
        Select(h, 0);
        EXPECT_STREQ(Text(h, IDC_TOOLS_COMMAND), "C:\\tools\\lint2.exe");
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    ASSERT_EQ(sheet.DoModal(), IDOK);

    // The running tool was stopped, with its line, before the list changed.
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    EXPECT_NE(output.Text("Compile").find("Operation canceled at user's request"), std::string::npos);
    ASSERT_EQ(tools.GetCount(), 2);
    EXPECT_STREQ(tools.GetTool(0)->m_strMenuText, "&Lint it");
    EXPECT_STREQ(tools.GetTool(0)->m_strCommand, "C:\\tools\\lint2.exe");
    EXPECT_STREQ(tools.GetTool(0)->m_strArguments, "-a ${MapName}");
    EXPECT_STREQ(tools.GetTool(0)->m_strInitialDirectory, "${ProjectDir}");
    EXPECT_STREQ(tools.GetTool(1)->m_strMenuText, "&Compile");
    EXPECT_STREQ(tools.GetTool(1)->m_strArguments, "out edited");
    EXPECT_FALSE(tools.GetTool(1)->IsRunning());

    // The caller saves: the settings follow.
    tools.Save(*AfxGetApp());
    EXPECT_STREQ(AfxGetApp()->GetProfileString("Tools", "Menu Text #1"), "&Lint it");
    EXPECT_STREQ(AfxGetApp()->GetProfileString("Tools", "Arguments #2"), "out edited");
    EXPECT_STREQ(AfxGetApp()->GetProfileString("Tools", "Menu Text #3", "none"), "none");
    EXPECT_EQ(output.calls.back(), "add Compile");
    bt::Settle(100);
    EXPECT_TRUE(notify.completions.empty());
}

TEST_F(ToolsPageTest, CancelLeavesTheListAsItWasAndDeletingTheLastToolDisablesTheFields)
{
    CPropertySheet sheet("Customize");
    CCustomizeToolsPage page(tools);
    sheet.AddPage(&page);
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = page.m_hWnd;
        Delete(page, 0);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_TOOLS_COMMAND)));
        Delete(page, 0);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_TOOLS_COMMAND)));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_TOOLS_ARGUMENTS_MENU)));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_TOOLS_OUTPUT)));
        EXPECT_EQ(page.GetShownTool(), nullptr);
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    ASSERT_EQ(tools.GetCount(), 2);
    EXPECT_STREQ(tools.GetTool(1)->m_strMenuText, "&View");

    // Without tools the fields start disabled.
    CUserToolArray none;
    tools.Replace(none);
    CPropertySheet empty("Customize");
    CCustomizeToolsPage emptyPage(tools);
    empty.AddPage(&emptyPage);
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(emptyPage.m_hWnd, IDC_TOOLS_ARGUMENTS)));
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(empty.DoModal(), IDOK);
    EXPECT_EQ(tools.GetCount(), 0);
}

} // namespace
