// Path pickers, the current-directory keeper and the user tool record.
#include "afxtest.h"
#include "afxwndtest.h"
#include "SECBrowse.h"
#include "SECUserTool.h"
#include "toolbar_test_ids.h"
#include <dlgs.h>
#include <cstdio>

using afxtest::Text;

namespace {

// A fresh folder with one file in it, under the temporary folder.
class TempTree
{
public:
    TempTree()
    {
        char szTemp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, szTemp);
        m_strDir = CString(szTemp) + "morvane_picker_test";
        ::CreateDirectoryA(m_strDir, nullptr);
        m_strFile = m_strDir + "\\tool.txt";
        FILE* pFile = fopen(m_strFile, "wb");
        if (pFile != nullptr)
            fclose(pFile);
        char szCurrent[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, szCurrent);
        m_strCurrent = szCurrent;
    }
    ~TempTree()
    {
        ::SetCurrentDirectoryA(m_strCurrent);
        ::DeleteFileA(m_strFile);
        ::RemoveDirectoryA(m_strDir);
    }
    CString m_strDir, m_strFile, m_strCurrent;
};

CString CurrentDir()
{
    char sz[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, sz);
    return sz;
}

TEST(CurrentDirKeeper, RestoreWithOrWithoutATrailingBackslash)
{
    TempTree tree;
    SECCurrentDirKeeper keeper;
    EXPECT_STREQ((LPCSTR)keeper.Save(), (LPCSTR)CurrentDir());
    ASSERT_TRUE(keeper.Restore(tree.m_strDir + "\\"));
    EXPECT_EQ(CurrentDir().CompareNoCase(tree.m_strDir), 0);
    ASSERT_TRUE(keeper.Restore(tree.m_strCurrent));
    ASSERT_TRUE(keeper.Restore(tree.m_strDir));
    EXPECT_EQ(CurrentDir().CompareNoCase(tree.m_strDir), 0);
    // A root keeps its backslash (without it, it would name the drive's current directory).
    ASSERT_TRUE(keeper.Restore("C:\\"));
    EXPECT_STREQ((LPCSTR)CurrentDir(), "C:\\");
    EXPECT_STREQ((LPCSTR)keeper.GetCurrentDrive(), "c:\\");
    EXPECT_FALSE(keeper.Restore(tree.m_strDir + "\\missing"));
    EXPECT_STREQ((LPCSTR)CurrentDir(), "C:\\");
    EXPECT_TRUE(SECCurrentDirKeeper::FileExists(tree.m_strFile));
    EXPECT_FALSE(SECCurrentDirKeeper::FileExists(tree.m_strDir + "\\missing.txt"));
    EXPECT_TRUE(SECCurrentDirKeeper::PathExists(tree.m_strDir));
}

TEST(FilePicker, WhereTheChooserStarts)
{
    TempTree tree;
    struct Case
    {
        CString path, dir, file;
    } cases[] = {
        {"", "", ""},
        {tree.m_strDir + "\\", tree.m_strDir + "\\", ""},     // a folder: opened there, no name
        {tree.m_strDir, tree.m_strDir, ""},
        {tree.m_strFile, "", tree.m_strFile},                 // an existing file is preselected
        {tree.m_strDir + "\\missing.txt", "", ""},            // no such file: no name
    };
    for (const Case& c : cases) {
        CString dir, file;
        SECBrowseFileEdit::GetStartFile(c.path, dir, file);
        EXPECT_STREQ((LPCSTR)dir, (LPCSTR)c.dir) << (LPCSTR)c.path;
        EXPECT_STREQ((LPCSTR)file, (LPCSTR)c.file) << (LPCSTR)c.path;
    }
}

class Pickers : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create(IDD_TEST_PICKERS, nullptr));
        m_dlg.ShowWindow(SW_SHOW);
        for (UINT nID : {IDC_TEST_FILEEDIT, IDC_TEST_DIREDIT, IDC_TEST_SHELLEDIT}) {
            CRect rect;
            ::GetWindowRect(::GetDlgItem(m_dlg.m_hWnd, nID), &rect);
            m_dlg.ScreenToClient(&rect);
            m_rects.push_back(rect);
        }
        ASSERT_TRUE(m_file.Initialize(IDC_TEST_FILEEDIT, &m_dlg));
        ASSERT_TRUE(m_dir.Initialize(IDC_TEST_DIREDIT, &m_dlg));
        m_shell.m_nMode = SECBrowseDirEdit::modeShellBrowser;
        ASSERT_TRUE(m_shell.Initialize(IDC_TEST_SHELLEDIT, &m_dlg));
    }
    void TearDown() override
    {
        m_dlg.DestroyWindow();
        afxtest::PumpMessages();
    }
    void Click(SECBrowseEdit& edit) { AfxSeamPressButton(m_dlg.m_hWnd, (int)edit.GetBrowseButton()->m_nID); }

    CDialog m_dlg;
    SECBrowseFileEdit m_file;
    SECBrowseDirEdit m_dir;
    SECBrowseDirEdit m_shell;
    std::vector<CRect> m_rects;
};

TEST_F(Pickers, TheButtonSitsBesideTheNarrowedEditAndFollowsIt)
{
    CRect rectEdit, rectButton;
    m_file.GetWindowRect(&rectEdit);
    m_dlg.ScreenToClient(&rectEdit);
    m_file.GetBrowseButton()->GetWindowRect(&rectButton);
    m_dlg.ScreenToClient(&rectButton);
    EXPECT_EQ(Text(rectEdit), Text(CRect(m_rects[0].left, m_rects[0].top, m_rects[0].right - 26, m_rects[0].bottom)));
    EXPECT_EQ(Text(rectButton), Text(CRect(m_rects[0].right - 25, m_rects[0].top, m_rects[0].right, m_rects[0].bottom)));
    EXPECT_EQ(m_file.GetBrowseButton()->m_nID, 32766u);
    EXPECT_EQ(m_dir.GetBrowseButton()->m_nID, 32765u);
    EXPECT_EQ(::GetWindow(m_file.m_hWnd, GW_HWNDNEXT), m_file.GetBrowseButton()->m_hWnd);
    CString text;
    m_file.GetBrowseButton()->GetWindowText(text);
    EXPECT_STREQ((LPCSTR)text, "...");
    m_file.EnableWindow(FALSE);
    EXPECT_FALSE(m_file.GetBrowseButton()->IsWindowEnabled());
    m_file.EnableWindow(TRUE);
    EXPECT_TRUE(m_file.GetBrowseButton()->IsWindowEnabled());
}

TEST_F(Pickers, TheFileChooserRunsWithTheFilePreselected)
{
    TempTree tree;
    m_file.SetWindowText(tree.m_strFile);
    CString initial, title;
    AfxSeamDrive([&](AfxModalCall& c) {
        initial = c.text;
        title = c.caption;
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    Click(m_file);
    EXPECT_EQ(initial.CompareNoCase(tree.m_strFile), 0);
    EXPECT_STREQ((LPCSTR)title, "Select File");
    CString text;
    m_file.GetWindowText(text);
    EXPECT_EQ(text.CompareNoCase(tree.m_strFile), 0) << (LPCSTR)text;
    EXPECT_EQ(CurrentDir().CompareNoCase(tree.m_strCurrent), 0);    // the current directory is kept
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_STREQ((LPCSTR)AfxSeamCalls()[0].className, "CFileDialog");

    // Cancel leaves the edit as it was.
    m_file.SetWindowText("unchanged");
    AfxSeamAnswer(IDCANCEL);
    Click(m_file);
    m_file.GetWindowText(text);
    EXPECT_STREQ((LPCSTR)text, "unchanged");
}

TEST_F(Pickers, TheDirectoryChooserShowsOnlyFolders)
{
    TempTree tree;
    m_dir.SetWindowText(tree.m_strDir);
    bool bFileNameHidden = false, bFoldersShown = false;
    AfxSeamDrive([&](AfxModalCall& c) {
        // The dialog itself shows once its loop is idle: the controls' own style says it.
        bFileNameHidden = !(::GetWindowLongA(::GetDlgItem(c.hWnd, 1152), GWL_STYLE) & WS_VISIBLE);
        bFoldersShown = (::GetWindowLongA(::GetDlgItem(c.hWnd, 1121), GWL_STYLE) & WS_VISIBLE) != 0;
        AfxSeamPressButton(c.hWnd, IDOK);
    });
    Click(m_dir);
    EXPECT_TRUE(bFileNameHidden);
    EXPECT_TRUE(bFoldersShown);
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_STREQ((LPCSTR)AfxSeamCalls()[0].className, "SECDirFileDialog");
    EXPECT_EQ(AfxSeamCalls()[0].nIDTemplate, 2000u);
    CString text;
    m_dir.GetWindowText(text);
    EXPECT_EQ(text.CompareNoCase(tree.m_strDir + "\\"), 0) << (LPCSTR)text;
}

TEST_F(Pickers, TheShellFolderBrowserStartsAtTheEditsFolder)
{
    TempTree tree;
    m_shell.SetWindowText(tree.m_strDir);
    AfxSeamDrive([&](AfxModalCall& c) { ::PostMessageA(c.hWnd, WM_COMMAND, IDOK, 0); });
    Click(m_shell);
    CString text;
    m_shell.GetWindowText(text);
    EXPECT_EQ(text.CompareNoCase(tree.m_strDir), 0) << (LPCSTR)text;
    // A script answers with a folder of its own.
    AfxSeamScript([](AfxModalCall& c) {
        c.text = "C:\\elsewhere";
        return (INT_PTR)IDOK;
    });
    Click(m_shell);
    m_shell.GetWindowText(text);
    EXPECT_STREQ((LPCSTR)text, "C:\\elsewhere");
}

// ---- The user tool record ----------------------------------------------------------------------

std::vector<BYTE> Store(SECUserTool& tool)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        tool.Serialize(ar);
    }
    std::vector<BYTE> bytes(file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

TEST(UserTool, TheRecordRoundTrips)
{
    SECUserTool tool;
    tool.m_strMenuText = "T";
    tool.m_strCommand = "c";
    tool.m_strDirectory = "d";
    EXPECT_EQ(Store(tool), (std::vector<BYTE>{1, 0, 0, 0, 1, 'T', 1, 'c', 0, 1, 'd', 1, 0, 0, 0}));

    for (int nLength : {0, 255, 70000}) {
        SECUserTool original;
        original.m_dwFirst = 7;
        original.m_dwLast = 9;
        original.m_strMenuText = CString('m', nLength);
        original.m_strCommand = CString('c', nLength / 2);
        original.m_strArgs = "$(File)";
        original.m_strDirectory = CString('d', nLength);
        std::vector<BYTE> bytes = Store(original);
        CMemFile file(bytes.data(), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load);
        SECUserTool copy;
        copy.Serialize(ar);
        EXPECT_EQ(copy.m_dwFirst, 7u);
        EXPECT_EQ(copy.m_dwLast, 9u);
        EXPECT_TRUE(copy.m_strMenuText == original.m_strMenuText) << nLength;
        EXPECT_TRUE(copy.m_strCommand == original.m_strCommand) << nLength;
        EXPECT_TRUE(copy.m_strArgs == original.m_strArgs) << nLength;
        EXPECT_TRUE(copy.m_strDirectory == original.m_strDirectory) << nLength;
    }
    CObArray tools;
    SECUserTool::DeleteToolList(tools);
    EXPECT_EQ(tools.GetSize(), 0);
    tools.Add(new SECUserTool);
    tools.Add(new SECUserTool);
    SECUserTool::DeleteToolList(tools);
    EXPECT_EQ(tools.GetSize(), 0);
}

} // namespace
