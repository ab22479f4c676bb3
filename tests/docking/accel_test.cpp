// Keyboard shortcuts: hot-key codes and key names, the command list, the editable table, its
// file, and a reassigned key at work in a frame with a document window.
#include "DockingFixture.h"
#include "SECAccel.h"
#include "toolbar_test_ids.h"
#include <cstdio>
#include <string>

namespace {

TEST(Shortcuts, HotKeyCodesAndAccelerators)
{
    ACCEL accel = {FVIRTKEY | FCONTROL | FALT | FSHIFT, VK_PRIOR, 0};
    WORD wCode = AccelToHotKey(accel);
    EXPECT_EQ(wCode, 0x0F21);
    ACCEL back = {};
    HotKeyToAccel(wCode, back);
    EXPECT_EQ(back.fVirt, 0x1F);
    EXPECT_EQ(back.key, VK_PRIOR);
    struct Case
    {
        UINT vk;
        BOOL bExtended;
    } cases[] = {{32, FALSE}, {33, TRUE}, {47, TRUE}, {48, FALSE}, {90, FALSE}, {91, TRUE},
                 {93, TRUE}, {94, FALSE}, {110, FALSE}, {111, TRUE}, {112, FALSE}};
    for (const Case& c : cases) {
        EXPECT_EQ(SECIsExtendedKey(c.vk), c.bExtended) << c.vk;
        ACCEL a = {FVIRTKEY, (WORD)c.vk, 0};
        EXPECT_EQ((AccelToHotKey(a) >> 8) & SEC_HOTKEYF_EXT, c.bExtended ? SEC_HOTKEYF_EXT : 0) << c.vk;
    }
}

CString KeyName(UINT vk, bool bExtended)
{
    char sz[64] = "";
    ::GetKeyNameTextA((LONG)((::MapVirtualKeyA(vk, 0) << 16) | 1 | (bExtended ? 1 << 24 : 0)), sz, sizeof sz);
    return sz;
}

TEST(Shortcuts, KeyTextsAreTheKeyboardsNames)
{
    EXPECT_STREQ((LPCSTR)GetKeyText(0), "");
    CString expected = KeyName(VK_CONTROL, false) + "+" + KeyName(VK_MENU, false) + "+" + KeyName(VK_SHIFT, false) +
                       "+" + KeyName(VK_PRIOR, true);
    EXPECT_STREQ((LPCSTR)GetKeyText(0x0F21), (LPCSTR)expected);
    EXPECT_STREQ((LPCSTR)GetKeyText(VK_F2), (LPCSTR)KeyName(VK_F2, false));
    EXPECT_FALSE(GetKeyText(VK_F2).IsEmpty());
    EXPECT_STREQ((LPCSTR)GetKeyText(MAKEWORD('S', SEC_HOTKEYF_CONTROL)),
                 (LPCSTR)(KeyName(VK_CONTROL, false) + "+" + KeyName('S', false)));
}

TEST(Shortcuts, MenuTextsBecomeCommandNames)
{
    struct Case
    {
        const char* text;
        const char* name;
    } cases[] = {
        {"&Save As...\tCtrl+S", "Save As"}, {"E&xit", "Exit"}, {"Open (&O)", "Open "},
        {"Plain", "Plain"}, {"A&&B", "A&B"}, {"&Undo\tCtrl+Z", "Undo"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ((LPCSTR)SECCleanMenuText(c.text), c.name) << c.text;
}

TEST(Shortcuts, ExcludedCommands)
{
    SECCommandList list(nullptr, FALSE);
    for (UINT nID : {0xE110u, 0xE11Fu, 0xFF00u, 0xFFFFu, 0xE150u, 0xE151u})
        EXPECT_TRUE(list.IsExcluded(nID)) << nID;
    for (UINT nID : {0xE10Fu, 0xE120u, 0xFEFFu, 0xE152u, (UINT)ID_TB_A})
        EXPECT_FALSE(list.IsExcluded(nID)) << nID;
}

// A command list with fixed entries, to archive.
class CFixedCommands : public SECCommandList
{
public:
    CFixedCommands() : SECCommandList(nullptr, FALSE) {}
    void CollectCommands() override
    {
        m_entries = {{0x9C41, "File:Save As", "Saves"}, {0xE100, "", ""}};
    }
    void Describe() override {}
    std::string Text() const
    {
        std::string text;
        for (const Entry& entry : m_entries)
            text += std::to_string(entry.nID) + "=" + (LPCSTR)entry.strName + "/" + (LPCSTR)entry.strDescription + ";";
        return text;
    }
};

TEST(Shortcuts, TheCommandListArchivesItsEntries)
{
    CFixedCommands list;
    list.Build();
    const std::vector<BYTE> expected = {2, 0,
                                        0x41, 0x9C, 0, 0, 12, 'F', 'i', 'l', 'e', ':', 'S', 'a', 'v', 'e', ' ', 'A', 's',
                                        5, 'S', 'a', 'v', 'e', 's',
                                        0x00, 0xE1, 0, 0, 0, 0};
    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        list.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> written(out.GetLength());
    out.SeekToBegin();
    out.Read(written.data(), (UINT)written.size());
    EXPECT_EQ(written, expected);

    // Read back into an empty list.
    std::vector<BYTE> bytes = expected;
    CFixedCommands loaded;
    {
        CMemFile in(bytes.data(), (UINT)bytes.size());
        CArchive ar(&in, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(loaded.Text(), "40001=File:Save As/Saves;57600=/;");

    // A count the data cannot hold: an archive error, the list as it was.
    bytes[0] = 0xE8;
    bytes[1] = 0x03;
    bool bThrown = false;
    try {
        CMemFile in(bytes.data(), (UINT)bytes.size());
        CArchive ar(&in, CArchive::load);
        loaded.Serialize(ar);
    }
    catch (CArchiveException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(loaded.Text(), "40001=File:Save As/Saves;57600=/;");
}

TEST(Shortcuts, SettingAKeyMovesItAndRemovingForgetsIt)
{
    SECAccelTable table;    // no main window: empty
    table.SetShortcut(MAKEWORD('S', SEC_HOTKEYF_CONTROL), ID_TB_A);
    table.SetShortcut(VK_F5, ID_TB_B);
    table.SetShortcut(VK_F6, ID_TB_A);
    ASSERT_EQ(table.GetCount(), 3);
    table.SetShortcut(MAKEWORD('S', SEC_HOTKEYF_CONTROL), ID_TB_B);
    ASSERT_EQ(table.GetCount(), 3);
    EXPECT_EQ(table.GetAt(0).cmd, ID_TB_B);
    EXPECT_EQ(table.GetAt(0).fVirt, FVIRTKEY | FNOINVERT | FCONTROL);
    EXPECT_EQ(table.FindCommand(ID_TB_A), 2);
    // Ctrl+Shift+S is another key.
    table.SetShortcut(MAKEWORD('S', SEC_HOTKEYF_CONTROL | SEC_HOTKEYF_SHIFT), ID_TB_CHECK);
    EXPECT_EQ(table.GetCount(), 4);
    table.RemoveAt(2);
    EXPECT_EQ(table.FindCommand(ID_TB_A), -1);
    table.RemoveAt(10);
    EXPECT_EQ(table.GetCount(), 3);
}

// A table whose file lies in the temporary folder.
class TempAccelTable : public SECAccelTable
{
public:
    CString m_strPath;
    TempAccelTable()
    {
        char szDir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, szDir);
        m_strPath = CString(szDir) + "morvane_accel_test.MAC";
        ::DeleteFileA(m_strPath);
    }
    ~TempAccelTable() override { ::DeleteFileA(m_strPath); }
    void GetFileName(CString& strPath, BOOL) const override { strPath = m_strPath; }
    void Write(const std::vector<BYTE>& bytes)
    {
        FILE* pFile = fopen(m_strPath, "wb");
        ASSERT_NE(pFile, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), pFile);
        fclose(pFile);
    }
};

TEST(Shortcuts, TheShortcutFile)
{
    TempAccelTable table;
    table.SetShortcut(MAKEWORD('S', SEC_HOTKEYF_CONTROL), 0x9C41);
    table.SetShortcut(VK_F5, 0x9C42);
    std::vector<BYTE> expected = {'M', 'A', 'C', 'R', 1, 0, 2, 0,
                                  0x0B, 0, 'S', 0, 0x41, 0x9C,
                                  0x03, 0, VK_F5, 0, 0x42, 0x9C};
    EXPECT_EQ(table.ToBytes(), expected);

    // Missing: FALSE, the table as it was.
    EXPECT_FALSE(table.Load());
    EXPECT_EQ(table.GetCount(), 2);
    ASSERT_TRUE(table.Save());
    TempAccelTable other;
    other.Write(expected);
    ASSERT_TRUE(other.Load());
    EXPECT_EQ(other.ToBytes(), expected);

    // Broken files: the default table and FALSE.
    SECAccelTable defaults;
    defaults.LoadDefault();
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"magic", {'M', 'A', 'C', 'X', 1, 0, 0, 0}},
        {"version", {'M', 'A', 'C', 'R', 2, 0, 0, 0}},
        {"truncated", {'M', 'A', 'C', 'R', 1, 0, 2, 0, 0x0B, 0, 'S', 0, 0x41, 0x9C, 0x03}},
        {"huge count", {'M', 'A', 'C', 'R', 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6}},
        {"short", {'M', 'A', 'C'}},
    };
    for (const Case& c : cases) {
        TempAccelTable broken;
        broken.SetShortcut(VK_F9, 1);
        broken.Write(c.bytes);
        EXPECT_FALSE(broken.Load()) << c.what;
        EXPECT_EQ(broken.ToBytes(), defaults.ToBytes()) << c.what;
    }
    // The long count form.
    std::vector<ACCEL> entries;
    std::vector<BYTE> longForm = {'M', 'A', 'C', 'R', 1, 0, 0xFF, 0xFF, 1, 0, 0, 0, 0x03, 0, VK_F5, 0, 0x42, 0x9C};
    ASSERT_TRUE(SECAccelTable::FromBytes(longForm.data(), longForm.size(), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].cmd, 0x9C42);
}

TEST(Shortcuts, TheFileLiesBesideTheModuleOrInTheWindowsDirectory)
{
    SECAccelTable table;
    CString beside, windows;
    table.GetFileName(beside, FALSE);
    table.GetFileName(windows, TRUE);
    char szModule[MAX_PATH];
    ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    CString module = szModule;
    EXPECT_STREQ((LPCSTR)beside, (LPCSTR)(module.Left(module.ReverseFind('.') + 1) + "MAC"));
    EXPECT_EQ(windows.Right(beside.GetLength() - beside.ReverseFind('\\')), beside.Mid(beside.ReverseFind('\\')));
    char szWindows[MAX_PATH];
    ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    EXPECT_EQ(windows.Find(szWindows), 0);
}

// ---- In a frame -----------------------------------------------------------------------------

class CKeyDoc : public CDocument
{
    DECLARE_DYNCREATE(CKeyDoc)
};
IMPLEMENT_DYNCREATE(CKeyDoc, CDocument)

class CKeyView : public CView
{
    DECLARE_DYNCREATE(CKeyView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CKeyView, CView)

class CKeyFrame : public docktest::CTestMainFrame
{
public:
    std::vector<UINT> m_commands;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID >= ID_TB_A && nID <= ID_TB_NOIMAGE) {
            if (nCode == CN_COMMAND) {
                if (pHandlerInfo == nullptr)
                    m_commands.push_back(nID);
                return TRUE;
            }
            if (nCode == (int)CN_UPDATE_COMMAND_UI) {
                static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
                return TRUE;
            }
        }
        return docktest::CTestMainFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

CString ItemText(HMENU hMenu, UINT nID)
{
    char sz[128] = "";
    ::GetMenuStringA(hMenu, nID, sz, sizeof sz, MF_BYCOMMAND);
    return sz;
}

class ShortcutFrame : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CKeyFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TEST_ACCEL, WS_OVERLAPPEDWINDOW));
        m_app.m_pMainWnd = m_pFrame;
        m_pFrame->SetWindowPos(nullptr, 40, 40, 700, 500, SWP_NOZORDER);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pTemplate = new CMultiDocTemplate(IDR_TEST_ACCELDOC, RUNTIME_CLASS(CKeyDoc), RUNTIME_CLASS(CMDIChildWnd),
                                            RUNTIME_CLASS(CKeyView));
        m_app.AddDocTemplate(m_pTemplate);
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        if (m_pFrame->m_hWnd != nullptr)
            m_pFrame->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        afxtest::PumpMessages();
        afxtest::DrainQuit();
    }
    BOOL PressCtrlS()
    {
        // Ctrl first, until the thread sees it down: under Wine a key typed right after an
        // activation now and then never reaches the window, so it is typed again then.
        bool bCtrl = false;
        for (int nTry = 0; nTry < 3 && !bCtrl; nTry++) {
            afxtest::InputScript ctrl;
            ctrl.KeyDown(VK_CONTROL).Pause(30);
            if (!ctrl.Run())
                return FALSE;
            bCtrl = afxtest::WaitFor([] { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }, 1000);
            if (!bCtrl) {
                afxtest::InputScript release;
                release.KeyUp(VK_CONTROL).Pause(30);
                release.Run();
            }
        }
        if (!bCtrl)
            return FALSE;
        afxtest::InputScript script;
        script.Key('S').KeyUp(VK_CONTROL).Pause(50);
        if (!script.Run())
            return FALSE;
        // On a busy machine the accelerator's command can arrive after the script's queue ran
        // empty: wait for it (every press here is expected to run exactly one command).
        afxtest::WaitFor([this] { return !m_pFrame->m_commands.empty(); });
        return TRUE;
    }

    CWinApp m_app;
    CKeyFrame* m_pFrame = nullptr;
    CMultiDocTemplate* m_pTemplate = nullptr;
};

TEST_F(ShortcutFrame, TheCommandListNamesAndDescribesEveryReachableCommand)
{
    SECCommandList list(m_pFrame);
    int nA = list.FindCommand(ID_TB_A), nB = list.FindCommand(ID_TB_B), nCheck = list.FindCommand(ID_TB_CHECK);
    ASSERT_GE(nA, 0);
    ASSERT_GE(nB, 0);
    ASSERT_GE(nCheck, 0);
    EXPECT_STREQ((LPCSTR)list.GetAt(nA).strName, "File:Save As");
    EXPECT_STREQ((LPCSTR)list.GetAt(nA).strDescription, "Does the first thing");
    EXPECT_STREQ((LPCSTR)list.GetAt(nB).strName, "Second");     // only a key: the tip names it
    EXPECT_STREQ((LPCSTR)list.GetAt(nCheck).strName, "File:Mode");
    EXPECT_EQ(list.FindCommand(ID_FILE_MRU_FILE1), -1);
    EXPECT_GE(list.FindCommand(ID_APP_EXIT), 0);
    // Each command once.
    std::set<UINT> ids;
    for (int i = 0; i < list.GetCount(); i++)
        EXPECT_TRUE(ids.insert(list.GetAt(i).nID).second);
}

TEST_F(ShortcutFrame, AReassignedKeyWorksInEveryWindowAndTheMenusShowIt)
{
    SECAccelTable table(m_pFrame);
    int nEntry = table.FindCommand(ID_TB_A);
    ASSERT_GE(nEntry, 0);
    table.SetShortcut(AccelToHotKey(table.GetAt(nEntry)), ID_TB_CHECK);
    ASSERT_TRUE(table.Apply());
    CString keyText = GetKeyText(MAKEWORD('S', SEC_HOTKEYF_CONTROL));
    EXPECT_STREQ((LPCSTR)ItemText(m_pFrame->m_hMenuDefault, ID_TB_A), "&Save As...");
    EXPECT_STREQ((LPCSTR)ItemText(m_pTemplate->m_hMenuShared, ID_TB_A), "&Save As...");
    EXPECT_STREQ((LPCSTR)ItemText(m_pTemplate->m_hMenuShared, ID_TB_CHECK), (LPCSTR)("&Mode\t" + keyText));
    EXPECT_EQ(m_pTemplate->m_hAccelTable, m_pFrame->m_hAccelTable);

    // With a document window active, Ctrl+S runs the new command only.
    ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr);
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    ASSERT_NE(m_pFrame->MDIGetActive(), nullptr);
    ::SetFocus(m_pFrame->MDIGetActive()->m_hWnd);
    m_pFrame->m_commands.clear();
    ASSERT_TRUE(PressCtrlS());
    EXPECT_EQ(m_pFrame->m_commands, (std::vector<UINT>{ID_TB_CHECK}));

    // Applied again while the window is open: it takes the newer table too.
    table.SetShortcut(MAKEWORD('S', SEC_HOTKEYF_CONTROL), ID_TB_B);
    ASSERT_TRUE(table.Apply());
    m_pFrame->m_commands.clear();
    ASSERT_TRUE(PressCtrlS());
    EXPECT_EQ(m_pFrame->m_commands, (std::vector<UINT>{ID_TB_B}));
    EXPECT_STREQ((LPCSTR)ItemText(m_pTemplate->m_hMenuShared, ID_TB_CHECK), "&Mode");
}

} // namespace
