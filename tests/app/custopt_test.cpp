// Tools > Customize and Tools > Options: the saved shortcuts, the Keyboard page, the toolbar combo
// boxes and the Option Settings sheet, live in the editor's own main frame.
#include "afxtest.h"
#include "afxwndtest.h"
#include "shell_fixture.h"
#include "CustOptRes.h"
#include "CustomizeSheet.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include "OptionsSheet.h"
#include "SECButton.h"
#include "SECRes.h"
#include "SECToolBarMgr.h"
#include "ShellRes.h"
#include "ViewServices.h"
#include "Map.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "MapZView.h"
#include "RecordingServices.h"
#include <cstdio>
#include "../res/resource.h"
#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <string>
#include <cstring>
#include <fstream>

namespace {

const char* const kSections[] = {"Accelerators", "Colors", "Options", "Map Window", "Map Bar", "Cool Look"};

void ClearSections(CEditorApp& app)
{
    for (const char* s : kSections)
        app.RegDeleteSection(s);
}

// ---- Pure pieces ------------------------------------------------------------------------------

TEST(SavedShortcuts, EntriesAreSixLittleEndianBytesWithZeroPadding)
{
    const struct
    {
        BYTE fVirt;
        WORD key, cmd;
        BYTE bytes[6];
    } cases[] = {
        {FVIRTKEY | FCONTROL, 'S', 32788, {0x09, 0, 'S', 0, 0x14, 0x80}},
        {FVIRTKEY | FNOINVERT | FSHIFT | FALT, VK_F5, 0xE123, {0x17, 0, 0x74, 0, 0x23, 0xE1}},
        {0, 0x0141, 0x0102, {0x00, 0, 0x41, 0x01, 0x02, 0x01}},
    };
    for (const auto& c : cases) {
        ACCEL a = {};
        a.fVirt = c.fVirt, a.key = c.key, a.cmd = c.cmd;
        BYTE out[6];
        std::memset(out, 0xCC, sizeof out);
        CAcceleratorTable::EncodeEntry(a, out);
        EXPECT_EQ(0, std::memcmp(out, c.bytes, 6)) << c.key;
        ACCEL back = CAcceleratorTable::DecodeEntry(c.bytes);
        EXPECT_EQ(c.fVirt, back.fVirt);
        EXPECT_EQ(c.key, back.key);
        EXPECT_EQ(c.cmd, back.cmd);
    }
}

TEST(ShortcutKeys, ReservedAndRefusedKeys)
{
    const struct
    {
        BYTE fVirt;
        WORD key;
        bool reserved;
    } cases[] = {
        {FVIRTKEY, VK_F1, true},           {FVIRTKEY | FALT, VK_F4, true},  {FVIRTKEY | FCONTROL, VK_F4, true},
        {FVIRTKEY | FSHIFT, VK_F6, true},  {FVIRTKEY, VK_F4, false},        {FVIRTKEY, VK_F6, false},
        {FVIRTKEY | FCONTROL, VK_F5, false}, {FVIRTKEY | FCONTROL, 'S', false},
    };
    for (const auto& c : cases) {
        ACCEL a = {};
        a.fVirt = c.fVirt, a.key = c.key;
        EXPECT_EQ(c.reserved, !!CShortcutsPage::IsReservedKey(a)) << c.key << " " << int(c.fVirt);
    }
    for (WORD vk : {VK_PAUSE, VK_NUMLOCK, VK_SCROLL})
        EXPECT_TRUE(CShortcutsPage::IsRefusedKey(vk));
    EXPECT_FALSE(CShortcutsPage::IsRefusedKey('A'));
    EXPECT_FALSE(CShortcutsPage::IsRefusedKey(VK_F4));
}

TEST(OptionPages, ColourConversionCoolLookBitsAndTheMoveMargin)
{
    // Settings keep red in bits 16-23; the system keeps it in the low byte.
    EXPECT_EQ(0xFF0000u, CColorPage::SettingColor(RGB(255, 0, 0)));
    EXPECT_EQ(0x0000FFu, CColorPage::SettingColor(RGB(0, 0, 255)));
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), CColorPage::WellColor(0x123456));
    EXPECT_EQ(0x123456u, CColorPage::SettingColor(CColorPage::WellColor(0x123456)));

    const struct
    {
        CoolLookGroup g;
        BOOL bToolBar;
        DWORD bits;
        BOOL enabled[4];
    } cases[] = {
        {{TRUE, TRUE, TRUE, TRUE, TRUE}, TRUE, 0x700, {TRUE, TRUE, TRUE, TRUE}},
        {{TRUE, TRUE, TRUE, TRUE, TRUE}, FALSE, 0xF00, {TRUE, TRUE, TRUE, TRUE}},
        {{FALSE, TRUE, TRUE, TRUE, TRUE}, TRUE, 0, {FALSE, FALSE, FALSE, FALSE}},
        // Fixed Toolbar Size needs only the cool look; the expand button needs the gripper.
        {{TRUE, FALSE, FALSE, FALSE, TRUE}, TRUE, 0, {TRUE, FALSE, FALSE, TRUE}},
        {{TRUE, FALSE, FALSE, FALSE, TRUE}, FALSE, 0x800, {TRUE, FALSE, FALSE, FALSE}},
        {{TRUE, TRUE, FALSE, FALSE, FALSE}, FALSE, 0x100, {TRUE, TRUE, FALSE, FALSE}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bits, c.g.ExBits(c.bToolBar));
        BOOL enabled[4];
        c.g.Enabling(c.bToolBar, enabled);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.enabled[i], enabled[i]) << i;
    }
    CoolLookGroup g = CoolLookGroup::FromBits(0x300, TRUE, TRUE);
    EXPECT_TRUE(g.bCool && g.bBorders && g.bGripper && !g.bClose && g.bLast);
    EXPECT_FALSE(CoolLookGroup::FromBits(0x800, TRUE, FALSE).bCool);

    const struct
    {
        const char* text;
        int margin;
        BOOL outOfRange;
    } margins[] = {{"", 0, FALSE}, {"0", 0, FALSE}, {"7", 7, FALSE}, {"15", 15, FALSE}, {"20", 15, TRUE},
                   {"-3", 15, TRUE}};
    for (const auto& m : margins) {
        BOOL out = -1;
        EXPECT_EQ(m.margin, CMapPage::MarginFromText(m.text, &out)) << m.text;
        EXPECT_EQ(m.outOfRange, out) << m.text;
    }
}

TEST(OptionPages, AutoSaveValidation)
{
    const struct
    {
        BOOL enabled;
        int interval;
        const char* path;
        const char* ext;
        BOOL valid;
        int boxes;
        const char* first;
    } cases[] = {
        {FALSE, 0, "", "", TRUE, 0, ""},
        {TRUE, 0, "C:\\a", "map", FALSE, 1, "You have enabled auto save, but the time\ninterval is invalid."},
        {TRUE, 32769, "C:\\a", "map", FALSE, 1, "You have enabled auto save, but the time\ninterval is invalid."},
        {TRUE, 32768, "C:\\a", "map", TRUE, 0, ""},
        {TRUE, 5, "", "map", FALSE, 1, "You need to specify an output path for the\nauto saved files."},
        {TRUE, 5, "C:\\a", "", TRUE, 1, "No extension was defined.  The extension 'map' will be used."},
        // A plain extension only: the clean-up at exit must never read it as a pattern.
        {TRUE, 5, "C:\\a", "Sav2", TRUE, 0, ""},
        {TRUE, 5, "C:\\a", "*", FALSE, 1, "The file extension may hold letters and digits only."},
        {TRUE, 5, "C:\\a", "ma?", FALSE, 1, "The file extension may hold letters and digits only."},
        {TRUE, 5, "C:\\a", ".map", FALSE, 1, "The file extension may hold letters and digits only."},
        {TRUE, 5, "C:\\a", "a\\b", FALSE, 1, "The file extension may hold letters and digits only."},
        {TRUE, 5, "C:\\a", "a/b", FALSE, 1, "The file extension may hold letters and digits only."},
        {TRUE, 5, "C:\\a", "a:b", FALSE, 1, "The file extension may hold letters and digits only."},
    };
    for (const auto& c : cases) {
        AfxSeamReset();
        CSettingsAutoSavePage page;
        page.m_bEnabled = c.enabled, page.m_nInterval = c.interval, page.m_strPath = c.path,
        page.m_strExtension = c.ext;
        for (int i = 0; i < c.boxes; ++i)
            AfxSeamAnswer(IDOK);
        EXPECT_EQ(c.valid, page.Validate()) << c.interval << c.path << c.ext;
        ASSERT_EQ((size_t)c.boxes, AfxSeamCalls().size());
        if (c.boxes) {
            EXPECT_STREQ(c.first, AfxSeamCalls()[0].text);
        }
    }
    AfxSeamReset();
}

// ---- The editor itself --------------------------------------------------------------------------

class CustOptFixture : public testing::Test
{
protected:
    BOOL Start()
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        return m_app.InitInstance();
    }
    void SetUp() override
    {
        AfxSeamReset();
        shelltest::QuietStart(m_app);
        ClearSections(m_app);
        ASSERT_TRUE(Start());
        m_pFrame = m_app.GetMainFrame();
        ASSERT_NE(m_pFrame, nullptr);
    }
    void Close()
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
    }
    void TearDown() override
    {
        Close();
        ClearSections(m_app);
        AfxSeamReset();
    }
    // The command of a key in a table, -1 when the key has none.
    static int CommandOf(HACCEL hAccel, WORD key, BYTE mods)
    {
        int n = ::CopyAcceleratorTableA(hAccel, nullptr, 0);
        std::vector<ACCEL> table(static_cast<size_t>(n));
        ::CopyAcceleratorTableA(hAccel, table.data(), n);
        for (const ACCEL& a : table)
            if (a.key == key && (a.fVirt & (FCONTROL | FSHIFT | FALT)) == mods)
                return a.cmd;
        return -1;
    }
    static int ListIndexOfData(HWND hList, LPARAM data)
    {
        int n = (int)::SendMessageA(hList, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i)
            if (::SendMessageA(hList, LB_GETITEMDATA, i, 0) == data)
                return i;
        return -1;
    }
    static void Command(HWND hDlg, int nID, int code)
    {
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, code), (LPARAM)::GetDlgItem(hDlg, nID));
    }
    CString MessagesText()
    {
        CString text;
        m_pFrame->m_wndOutputBar.m_messages.GetWindowText(text);
        return text;
    }
    CEditorApp m_app;
    CMainFrame* m_pFrame = nullptr;
};

// Keyboard page: Ctrl+Shift+K to the command 32788 ("Save"), through the live sheet.
void AssignKey(AfxModalCall& call, WORD hotKey, UINT nCommand, CString* pShown)
{
    auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
    ASSERT_EQ(4, pSheet->GetPageCount());
    ASSERT_TRUE(pSheet->SetActivePage(3));
    HWND hPage = pSheet->GetActivePage()->m_hWnd;
    HWND hCommands = ::GetDlgItem(hPage, IDC_SHORTCUT_COMMANDS);
    int index = -1;
    int n = (int)::SendMessageA(hCommands, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n && index < 0; ++i)
        if ((UINT)::SendMessageA(hCommands, LB_GETITEMDATA, i, 0) == nCommand)
            index = i;
    ASSERT_GE(index, 0);
    ::SendMessageA(hCommands, LB_SETCURSEL, index, 0);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_SHORTCUT_COMMANDS, LBN_SELCHANGE), (LPARAM)hCommands);
    HWND hHotKey = ::GetDlgItem(hPage, IDC_SHORTCUT_HOTKEY);
    ::SendMessageA(hHotKey, HKM_SETHOTKEY, hotKey, 0);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_SHORTCUT_HOTKEY, EN_CHANGE), (LPARAM)hHotKey);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hPage, IDC_SHORTCUT_ASSIGN)));
    AfxSeamPressButton(hPage, IDC_SHORTCUT_ASSIGN);
    HWND hAssigned = ::GetDlgItem(hPage, IDC_SHORTCUT_ASSIGNED);
    int count = (int)::SendMessageA(hAssigned, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count && pShown; ++i) {
        char sz[128] = "";
        ::SendMessageA(hAssigned, LB_GETTEXT, i, (LPARAM)sz);
        *pShown += CString(sz) + ";";
    }
}

const WORD kCtrlShiftK = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT);

TEST_F(CustOptFixture, AssignedShortcutsAreSavedInstalledEverywhereAndLoadedAtTheNextStart)
{
    ASSERT_EQ(-1, CommandOf(m_pFrame->m_hAccelTable, 'K', FCONTROL | FSHIFT));
    CString shown;
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_STREQ("Customize", call.caption);
        AssignKey(call, kCtrlShiftK, 32788, &shown);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    // The key as the keyboard names it ("Ctrl+Shift+K"; the names of the modifiers vary).
    EXPECT_NE(-1, shown.Find(GetKeyText(kCtrlShiftK) + ";")) << (LPCSTR)shown;
    EXPECT_NE(-1, shown.Find("+Shift+K;")) << (LPCSTR)shown;

    // Saved: the whole table, each entry 6 bytes, and the new key among them.
    BYTE bytes[8];
    DWORD size = sizeof bytes;
    ASSERT_TRUE(m_app.GetProfileBinary("Accelerators", "Accel #1", bytes, &size));
    EXPECT_EQ(6u, size);
    int saved = 0;
    bool found = false;
    for (int n = 1;; ++n, ++saved) {
        CString name;
        name.Format("Accel #%d", n);
        size = sizeof bytes;
        if (!m_app.GetProfileBinary("Accelerators", name, bytes, &size))
            break;
        ACCEL a = CAcceleratorTable::DecodeEntry(bytes);
        found |= a.key == 'K' && (a.fVirt & (FCONTROL | FSHIFT | FALT)) == (FCONTROL | FSHIFT) && a.cmd == 32788;
    }
    EXPECT_TRUE(found);
    EXPECT_GT(saved, 10);
    // Installed in the frame and in the map windows' templates (whose tables they translate with).
    EXPECT_EQ(32788, CommandOf(m_pFrame->m_hAccelTable, 'K', FCONTROL | FSHIFT));
    EXPECT_EQ(32788, CommandOf(m_app.GetMapTemplate()->m_hAccelTable, 'K', FCONTROL | FSHIFT));
    EXPECT_EQ(32788, CommandOf(m_app.GetCameraTemplate()->m_hAccelTable, 'K', FCONTROL | FSHIFT));

    // The next start loads and installs them.
    Close();
    ASSERT_TRUE(Start());
    m_pFrame = m_app.GetMainFrame();
    ASSERT_NE(m_pFrame, nullptr);
    EXPECT_EQ(32788, CommandOf(m_pFrame->m_hAccelTable, 'K', FCONTROL | FSHIFT));
    EXPECT_EQ(32788, CommandOf(m_app.GetMapTemplate()->m_hAccelTable, 'K', FCONTROL | FSHIFT));
}

TEST_F(CustOptFixture, CancelSavesNothingAndAReservedKeyIsRefused)
{
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
        ASSERT_TRUE(pSheet->SetActivePage(3));
        HWND hPage = pSheet->GetActivePage()->m_hWnd;
        // Alt+F4: the message, nothing assigned, the field cleared.
        AfxSeamAnswer(IDOK);
        AssignKey(call, MAKEWORD(VK_F4, HOTKEYF_ALT), 32788, nullptr);
        EXPECT_EQ(0, (int)::SendDlgItemMessageA(hPage, IDC_SHORTCUT_HOTKEY, HKM_GETHOTKEY, 0, 0));
        // Pause never stays in the field.
        HWND hHotKey = ::GetDlgItem(hPage, IDC_SHORTCUT_HOTKEY);
        ::SendMessageA(hHotKey, HKM_SETHOTKEY, VK_PAUSE, 0);
        Command(hPage, IDC_SHORTCUT_HOTKEY, EN_CHANGE);
        EXPECT_EQ(0, (int)::SendMessageA(hHotKey, HKM_GETHOTKEY, 0, 0));
        AssignKey(call, kCtrlShiftK, 32788, nullptr);
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    std::vector<CString> boxes;
    for (const AfxModalCall& c : AfxSeamCalls())
        if (c.kind == AFX_MODAL_MESSAGEBOX)
            boxes.push_back(c.text);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_STREQ("That key combination is reserved and may not be reassigned.", boxes[0]);
    BYTE bytes[8];
    DWORD size = sizeof bytes;
    EXPECT_FALSE(m_app.GetProfileBinary("Accelerators", "Accel #1", bytes, &size));
    EXPECT_EQ(-1, CommandOf(m_pFrame->m_hAccelTable, 'K', FCONTROL | FSHIFT));
    EXPECT_EQ(-1, CommandOf(m_pFrame->m_hAccelTable, VK_F4, FALT));
}

// Keyboard page: Remove takes Ctrl+S from Save; Reset All gives the built-in table back.
TEST_F(CustOptFixture, RemoveAndResetAll)
{
    ASSERT_EQ(32788, CommandOf(m_pFrame->m_hAccelTable, 'S', FCONTROL));
    auto selectSave = [](HWND hPage) {
        HWND hCommands = ::GetDlgItem(hPage, IDC_SHORTCUT_COMMANDS);
        int n = (int)::SendMessageA(hCommands, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i)
            if (::SendMessageA(hCommands, LB_GETITEMDATA, i, 0) == 32788)
                ::SendMessageA(hCommands, LB_SETCURSEL, i, 0);
        Command(hPage, IDC_SHORTCUT_COMMANDS, LBN_SELCHANGE);
        return ::GetDlgItem(hPage, IDC_SHORTCUT_ASSIGNED);
    };
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
        ASSERT_TRUE(pSheet->SetActivePage(3));
        HWND hPage = pSheet->GetActivePage()->m_hWnd;
        HWND hAssigned = selectSave(hPage);
        ASSERT_EQ(1, (int)::SendMessageA(hAssigned, LB_GETCOUNT, 0, 0));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hPage, IDC_SHORTCUT_REMOVE)));
        ::SendMessageA(hAssigned, LB_SETCURSEL, 0, 0);
        Command(hPage, IDC_SHORTCUT_ASSIGNED, LBN_SELCHANGE);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hPage, IDC_SHORTCUT_REMOVE)));
        AfxSeamPressButton(hPage, IDC_SHORTCUT_REMOVE);
        EXPECT_EQ(0, (int)::SendMessageA(hAssigned, LB_GETCOUNT, 0, 0));
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    EXPECT_EQ(-1, CommandOf(m_pFrame->m_hAccelTable, 'S', FCONTROL));
    EXPECT_EQ(-1, CommandOf(m_app.GetMapTemplate()->m_hAccelTable, 'S', FCONTROL));

    AfxSeamReset();
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
        ASSERT_TRUE(pSheet->SetActivePage(3));
        HWND hPage = pSheet->GetActivePage()->m_hWnd;
        HWND hAssigned = selectSave(hPage);
        EXPECT_EQ(0, (int)::SendMessageA(hAssigned, LB_GETCOUNT, 0, 0));
        AfxSeamAnswer(IDOK);   // "Reset All will set all shortcuts back..."
        AfxSeamPressButton(hPage, IDC_SHORTCUT_RESET_ALL);
        EXPECT_EQ(1, (int)::SendMessageA(hAssigned, LB_GETCOUNT, 0, 0));
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    ASSERT_EQ(2u, AfxSeamCalls().size());
    EXPECT_EQ(0, AfxSeamCalls()[1].text.Find("Reset All will set all shortcuts back to their defaults."));
    EXPECT_EQ(32788, CommandOf(m_pFrame->m_hAccelTable, 'S', FCONTROL));
    EXPECT_EQ(32788, CommandOf(m_app.GetMapTemplate()->m_hAccelTable, 'S', FCONTROL));
}

// Removing every shortcut takes them all away at once, and the empty table is the one the next
// start installs: an empty saved table is not "no table".
TEST_F(CustOptFixture, RemovingEveryShortcutStaysSoAfterARestart)
{
    ASSERT_EQ(32788, CommandOf(m_pFrame->m_hAccelTable, 'S', FCONTROL));
    int removed = 0;
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
        ASSERT_TRUE(pSheet->SetActivePage(3));
        HWND hPage = pSheet->GetActivePage()->m_hWnd;
        HWND hCommands = ::GetDlgItem(hPage, IDC_SHORTCUT_COMMANDS);
        HWND hAssigned = ::GetDlgItem(hPage, IDC_SHORTCUT_ASSIGNED);
        int n = (int)::SendMessageA(hCommands, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            ::SendMessageA(hCommands, LB_SETCURSEL, i, 0);
            Command(hPage, IDC_SHORTCUT_COMMANDS, LBN_SELCHANGE);
            while (::SendMessageA(hAssigned, LB_GETCOUNT, 0, 0) > 0) {
                ::SendMessageA(hAssigned, LB_SETCURSEL, 0, 0);
                Command(hPage, IDC_SHORTCUT_ASSIGNED, LBN_SELCHANGE);
                AfxSeamPressButton(hPage, IDC_SHORTCUT_REMOVE);
                ++removed;
            }
        }
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    EXPECT_GT(removed, 10);
    EXPECT_EQ(-1, CommandOf(m_pFrame->m_hAccelTable, 'S', FCONTROL));
    EXPECT_EQ(-1, CommandOf(m_app.GetMapTemplate()->m_hAccelTable, 'S', FCONTROL));

    Close();
    ASSERT_TRUE(Start());
    m_pFrame = m_app.GetMainFrame();
    ASSERT_NE(m_pFrame, nullptr);
    EXPECT_EQ(nullptr, m_pFrame->m_hAccelTable);
    EXPECT_EQ(-1, CommandOf(m_app.GetMapTemplate()->m_hAccelTable, 'S', FCONTROL));
}

TEST_F(CustOptFixture, TheSettingsKeepExactlyTheSavedEntriesAndLoadingStopsAtAGapAndRefusesAShortValue)
{
    BYTE e[6] = {FVIRTKEY | FCONTROL, 0, 'A', 0, 0x14, 0x80};
    for (int n = 1; n <= 5; ++n) {
        CString name;
        name.Format("Accel #%d", n);
        m_app.WriteProfileBinary("Accelerators", name, e, 6);
    }
    CAcceleratorTable table(m_pFrame);
    table.RemoveAll();
    table.Load();
    EXPECT_EQ(5, table.GetCount());
    while (table.GetCount() > 3)
        table.RemoveAt(table.GetCount() - 1);
    ASSERT_TRUE(table.Save());
    DWORD size = 8;
    BYTE got[8];
    EXPECT_TRUE(m_app.GetProfileBinary("Accelerators", "Accel #3", got, &size));
    size = 8;
    EXPECT_FALSE(m_app.GetProfileBinary("Accelerators", "Accel #4", got, &size));

    // 1, 2 and 4: two entries.
    m_app.RegDeleteSection("Accelerators");
    for (int n : {1, 2, 4}) {
        CString name;
        name.Format("Accel #%d", n);
        m_app.WriteProfileBinary("Accelerators", name, e, 6);
    }
    table.RemoveAll();
    table.Load();
    EXPECT_EQ(2, table.GetCount());
    // A 5-byte value spoils the saved table: the load refuses it and the table stays as it was.
    m_app.WriteProfileBinary("Accelerators", "Accel #2", e, 5);
    table.RemoveAll();
    ACCEL kept = {FVIRTKEY, VK_F9, 0x1234};
    table.SetShortcut(AccelToHotKey(kept), kept.cmd);
    EXPECT_FALSE(table.Load());
    ASSERT_EQ(1, table.GetCount());
    EXPECT_EQ(0x1234, table.GetAt(0).cmd);
}

// A saved value that is there but is not one whole entry makes the whole saved table unused at
// the next start: the built-in shortcuts stay (Ctrl+S saves). A gap still ends the list.
TEST_F(CustOptFixture, ADamagedSavedShortcutLeavesTheBuiltInShortcuts)
{
    // Ctrl+Shift+K to Save, then Ctrl+Shift+L to Save: two whole entries, as the settings hold them.
    const BYTE first[6] = {FVIRTKEY | FCONTROL | FSHIFT, 0, 'K', 0, 0x14, 0x80};
    const BYTE second[6] = {FVIRTKEY | FCONTROL | FSHIFT, 0, 'L', 0, 0x14, 0x80};
    const struct
    {
        const char* what;
        std::function<void(HKEY)> damage;   // writes "Accel #2" (or leaves a gap there)
        bool builtIn;                        // the built-in table stays
    } cases[] = {
        {"five bytes", [&](HKEY h) { ::RegSetValueExA(h, "Accel #2", 0, REG_BINARY, second, 5); }, true},
        {"seven bytes",
         [&](HKEY h) {
             const BYTE seven[7] = {FVIRTKEY | FCONTROL | FSHIFT, 0, 'L', 0, 0x14, 0x80, 0};
             ::RegSetValueExA(h, "Accel #2", 0, REG_BINARY, seven, 7);
         },
         true},
        {"forty bytes",
         [&](HKEY h) {
             BYTE forty[40] = {};
             ::RegSetValueExA(h, "Accel #2", 0, REG_BINARY, forty, sizeof forty);
         },
         true},
        {"a string", [&](HKEY h) { ::RegSetValueExA(h, "Accel #2", 0, REG_SZ, (const BYTE*)"12345", 6); }, true},
        {"a number",
         [&](HKEY h) {
             DWORD n = 0x80144B09;
             ::RegSetValueExA(h, "Accel #2", 0, REG_DWORD, (const BYTE*)&n, sizeof n);
         },
         true},
        {"six bytes of text", [&](HKEY h) { ::RegSetValueExA(h, "Accel #2", 0, REG_SZ, second, 6); }, true},
        {"a gap before #3", [&](HKEY h) { ::RegSetValueExA(h, "Accel #3", 0, REG_BINARY, second, 6); }, false},
        {"whole", [&](HKEY h) { ::RegSetValueExA(h, "Accel #2", 0, REG_BINARY, second, 6); }, false},
    };
    for (const auto& c : cases) {
        Close();
        m_app.RegDeleteSection("Accelerators");
        HKEY hSection = m_app.GetSectionKey("Accelerators");
        ASSERT_NE(nullptr, hSection);
        ::RegSetValueExA(hSection, "Accel #1", 0, REG_BINARY, first, 6);
        c.damage(hSection);
        ::RegCloseKey(hSection);
        ASSERT_TRUE(Start()) << c.what;
        m_pFrame = m_app.GetMainFrame();
        ASSERT_NE(m_pFrame, nullptr);
        if (c.builtIn) {
            EXPECT_EQ(32788, CommandOf(m_pFrame->m_hAccelTable, 'S', FCONTROL)) << c.what;
            EXPECT_EQ(32788, CommandOf(m_app.GetMapTemplate()->m_hAccelTable, 'S', FCONTROL)) << c.what;
            EXPECT_EQ(-1, CommandOf(m_pFrame->m_hAccelTable, 'K', FCONTROL | FSHIFT)) << c.what;
        } else {
            // The saved table alone: what it holds, nothing after a gap, no built-in Ctrl+S.
            EXPECT_EQ(32788, CommandOf(m_pFrame->m_hAccelTable, 'K', FCONTROL | FSHIFT)) << c.what;
            EXPECT_EQ(c.what == std::string("whole") ? 32788 : -1,
                      CommandOf(m_pFrame->m_hAccelTable, 'L', FCONTROL | FSHIFT))
                << c.what;
            EXPECT_EQ(-1, CommandOf(m_pFrame->m_hAccelTable, 'S', FCONTROL)) << c.what;
        }
        // Nothing was written back: the damaged value stays for the user to see.
        BYTE bytes[64];
        DWORD size = sizeof bytes;
        EXPECT_TRUE(m_app.GetProfileBinary("Accelerators", "Accel #1", bytes, &size)) << c.what;
    }
}

TEST_F(CustOptFixture, TheCustomizeSheetsPagesAndTheToolbarsDialogLeadingToIt)
{
    std::vector<CString> titles;
    int groups = -1;
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
        for (int i = 0; i < pSheet->GetPageCount(); ++i) {
            pSheet->SetActivePage(i);
            char sz[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = sz;
            item.cchTextMax = sizeof sz;
            ::SendMessageA(::GetDlgItem(call.hWnd, 0x3020), TCM_GETITEMA, i, (LPARAM)&item);
            titles.push_back(sz);
        }
        groups = static_cast<SECToolBarCmdPage*>(pSheet->GetPage(1))->GetCategoryCount();
        HWND hToolbarsPage = pSheet->GetPage(0)->m_hWnd;
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hToolbarsPage, IDC_SEC_COOLLOOK)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hToolbarsPage, IDC_SEC_LARGEBUTTONS)));
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    ASSERT_EQ(4u, titles.size());
    EXPECT_STREQ("Toolbars", titles[0]);
    EXPECT_STREQ("Commands", titles[1]);
    EXPECT_STREQ("Tools", titles[2]);
    EXPECT_STREQ("Keyboard", titles[3]);
    EXPECT_EQ(8, groups);

    // The toolbars dialog's customise button leads to the sheet.
    AfxSeamReset();
    AfxSeamAnswer(IDC_SEC_CUSTOMIZE);
    AfxSeamAnswer(IDCANCEL);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    ASSERT_EQ(2u, AfxSeamCalls().size());
    EXPECT_EQ(AFX_MODAL_PROPERTYSHEET, AfxSeamCalls()[1].kind);
}

TEST_F(CustOptFixture, TheToolbarCombosHoldTheirListsAndAreDisabledWithoutAMapWindow)
{
    const struct
    {
        UINT nCombo, nCommand;
        int count;
        const char* first;
        const char* last;
    } combos[] = {{1058, 32951, 8, "1", "128"}, {1060, 32950, 8, "1", "90"},
                  {1075, 32952, 9, "12.5%", "300%"}, {1076, 32953, 9, "12.5%", "300%"}};
    for (const auto& c : combos) {
        std::vector<HWND> found;
        GetViewServices()->FindCombos(c.nCombo, found);
        ASSERT_EQ(1u, found.size()) << c.nCombo;
        HWND h = found[0];
        EXPECT_EQ(c.count, (int)::SendMessageA(h, CB_GETCOUNT, 0, 0));
        char sz[32] = "";
        ::SendMessageA(h, CB_GETLBTEXT, 0, (LPARAM)sz);
        EXPECT_STREQ(c.first, sz);
        ::SendMessageA(h, CB_GETLBTEXT, c.count - 1, (LPARAM)sz);
        EXPECT_STREQ(c.last, sz);
        EXPECT_EQ((HFONT)::GetStockObject(DEFAULT_GUI_FONT), (HFONT)::SendMessageA(h, WM_GETFONT, 0, 0));
        ::EnableWindow(h, TRUE);
        CCmdUI ui;
        ui.m_nID = c.nCommand;
        ui.DoUpdate(m_pFrame, FALSE);
        EXPECT_FALSE(::IsWindowEnabled(h)) << c.nCombo;
    }

    // Floated, the "Map Window" toolbar's combos are still found and disabled.
    CControlBar* pBar = m_pFrame->GetControlBar(IDW_TOOLBAR_MAP_WINDOW);
    ASSERT_NE(nullptr, pBar);
    m_pFrame->FloatControlBar(pBar, CPoint(300, 300));
    afxtest::PumpMessages();
    ASSERT_TRUE(pBar->IsFloating());
    int nFound = 0;
    for (const auto& c : combos) {
        std::vector<HWND> found;
        GetViewServices()->FindCombos(c.nCombo, found);
        for (HWND h : found) {
            if (::GetParent(h) != pBar->m_hWnd)
                continue;
            ++nFound;
            ::EnableWindow(h, TRUE);
            CCmdUI ui;
            ui.m_nID = c.nCommand;
            ui.DoUpdate(m_pFrame, FALSE);
            EXPECT_FALSE(::IsWindowEnabled(h)) << c.nCombo;
        }
    }
    EXPECT_GT(nFound, 0);
}

// ---- Options -----------------------------------------------------------------------------------

HWND OptionsPage(AfxModalCall& call, int index)
{
    auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
    pSheet->SetActivePage(index);
    return pSheet->GetActivePage()->m_hWnd;
}

TEST_F(CustOptFixture, AutoSaveOptionsAreValidatedSavedAndStartTheTimer)
{
    ASSERT_FALSE(m_pFrame->IsAutoSaveRunning());
    // Interval 0 with auto save on: the message, and the sheet again (left with Cancel).
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_STREQ("Option Settings", call.caption);
        HWND h = OptionsPage(call, 0);
        ::CheckDlgButton(h, IDC_AUTOSAVE_ENABLED, BST_CHECKED);
        Command(h, IDC_AUTOSAVE_ENABLED, BN_CLICKED);
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_MINUTES, "0");
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_PATH, "C:\\saves");
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_EXTENSION, "bak");
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    AfxSeamAnswer(IDOK);
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = OptionsPage(call, 0);
        char sz[16] = "";
        ::GetDlgItemTextA(h, IDC_AUTOSAVE_MINUTES, sz, sizeof sz);
        EXPECT_STREQ("0", sz);   // the user's entries come back
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    ASSERT_EQ(3u, AfxSeamCalls().size());
    EXPECT_STREQ("You have enabled auto save, but the time\ninterval is invalid.", AfxSeamCalls()[1].text);
    EXPECT_EQ(0, m_app.GetProfileInt("Options", "Auto Save", 0));
    EXPECT_FALSE(m_pFrame->IsAutoSaveRunning());

    // 10 minutes, a path, no extension: the notice, the five keys, the timer.
    AfxSeamReset();
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = OptionsPage(call, 0);
        ::CheckDlgButton(h, IDC_AUTOSAVE_ENABLED, BST_CHECKED);
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_MINUTES, "10");
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_PATH, "C:\\saves");
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_EXTENSION, "");
        ::CheckDlgButton(h, IDC_AUTOSAVE_DELETE, BST_UNCHECKED);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    AfxSeamAnswer(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    ASSERT_EQ(2u, AfxSeamCalls().size());
    EXPECT_STREQ("No extension was defined.  The extension 'map' will be used.", AfxSeamCalls()[1].text);
    EXPECT_EQ(1, m_app.GetProfileInt("Options", "Auto Save", 0));
    EXPECT_EQ(10, m_app.GetProfileInt("Options", "Auto Save Interval", 0));
    EXPECT_STREQ("C:\\saves", m_app.GetProfileString("Options", "Auto Save Path", "x"));
    EXPECT_STREQ("", m_app.GetProfileString("Options", "Auto Save Extension", "x"));
    EXPECT_EQ(0, m_app.GetProfileInt("Options", "Delete Auto Save Files", 1));
    EXPECT_TRUE(m_pFrame->IsAutoSaveRunning());
    EXPECT_EQ(600000u, m_pFrame->GetAutoSavePeriod());
    // It did not run before, so nothing said it stopped.
    EXPECT_EQ(-1, MessagesText().Find("AutoSave feature stopped"));
    EXPECT_NE(-1, MessagesText().Find("AutoSave feature started"));

    // Turned off again: the timer stops.
    AfxSeamReset();
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = OptionsPage(call, 0);
        ::CheckDlgButton(h, IDC_AUTOSAVE_ENABLED, BST_UNCHECKED);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    EXPECT_EQ(1u, AfxSeamCalls().size());
    EXPECT_EQ(0, m_app.GetProfileInt("Options", "Auto Save", 1));
    EXPECT_FALSE(m_pFrame->IsAutoSaveRunning());
    EXPECT_NE(-1, MessagesText().Find("AutoSave feature stopped"));
}

// The auto save's folder may hold any bytes: the byte 0x98 after a digit, a punctuation mark or a
// symbol makes Wine 8's edit controls fault in some fonts. The page shows it, and OK
// without a change keeps it.
TEST_F(CustOptFixture, AnAutoSaveFolderOfAnyBytesShowsAndIsKeptUnlessTyped)
{
    m_app.WriteProfileString("Options", "Auto Save Path", "C:\\saves\\=\x98");
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = OptionsPage(call, 0);
        char sz[MAX_PATH] = "";
        ::GetDlgItemTextA(h, IDC_AUTOSAVE_PATH, sz, sizeof sz);
        EXPECT_STREQ("C:\\saves\\=\x98", sz);
        ::RedrawWindow(call.hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    EXPECT_EQ(1u, AfxSeamCalls().size());
    EXPECT_STREQ("C:\\saves\\=\x98", m_app.GetProfileString("Options", "Auto Save Path", "x"));
}

// Watches the messages sent to one window on this thread.
class SentMessageCounter
{
public:
    SentMessageCounter(HWND hWnd, UINT message)
    {
        s_hWnd = hWnd;
        s_message = message;
        s_count = 0;
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~SentMessageCounter()
    {
        if (m_hHook)
            ::UnhookWindowsHookEx(m_hHook);
    }
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        auto* p = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && p->hwnd == s_hWnd && p->message == s_message)
            ++s_count;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hHook;
    static HWND s_hWnd;
    static UINT s_message;
    static int s_count;
};
HWND SentMessageCounter::s_hWnd;
UINT SentMessageCounter::s_message;
int SentMessageCounter::s_count;

TEST_F(CustOptFixture, OkRefreshesTheResourceWindowAndTheSettingsSurviveARestart)
{
    SentMessageCounter refreshes(m_pFrame->m_wndResourceBar.m_hWnd, WM_RESOURCE_REFRESH);
    AfxSeamAnswer(IDCANCEL);
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    EXPECT_EQ(0, refreshes.Count());

    AfxSeamReset();
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = OptionsPage(call, 0);
        ::CheckDlgButton(h, IDC_AUTOSAVE_ENABLED, BST_CHECKED);
        Command(h, IDC_AUTOSAVE_ENABLED, BN_CLICKED);
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_MINUTES, "7");
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_PATH, "C:\\saves");
        ::SetDlgItemTextA(h, IDC_AUTOSAVE_EXTENSION, "bak");
        HWND hMap = OptionsPage(call, 3);
        ::SetDlgItemTextA(hMap, IDC_MOVE_MARGIN, "9");
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    EXPECT_EQ(1, refreshes.Count());
    EXPECT_EQ(420000u, m_pFrame->GetAutoSavePeriod());

    // The next start shows them again, and the views read the margin they were given.
    Close();
    ASSERT_TRUE(Start());
    m_pFrame = m_app.GetMainFrame();
    EXPECT_EQ(9, GetEditorServices()->GetProfileInt("Map Window", "Move Margin", 2));
    CString minutes, path, extension, margin;
    int enabled = -1;
    AfxSeamReset();
    AfxSeamDrive([&](AfxModalCall& call) {
        char sz[MAX_PATH] = "";
        HWND h = OptionsPage(call, 0);
        enabled = (int)::IsDlgButtonChecked(h, IDC_AUTOSAVE_ENABLED);
        ::GetDlgItemTextA(h, IDC_AUTOSAVE_MINUTES, sz, sizeof sz);
        minutes = sz;
        ::GetDlgItemTextA(h, IDC_AUTOSAVE_PATH, sz, sizeof sz);
        path = sz;
        ::GetDlgItemTextA(h, IDC_AUTOSAVE_EXTENSION, sz, sizeof sz);
        extension = sz;
        ::GetDlgItemTextA(OptionsPage(call, 3), IDC_MOVE_MARGIN, sz, sizeof sz);
        margin = sz;
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    EXPECT_EQ(BST_CHECKED, enabled);
    EXPECT_STREQ("7", minutes);
    EXPECT_STREQ("C:\\saves", path);
    EXPECT_STREQ("bak", extension);
    EXPECT_STREQ("9", margin);
}

TEST_F(CustOptFixture, CustomizeOkSavesTheUserToolsAndCancelDoesNot)
{
    m_app.RegDeleteSection("Tools");
    m_app.WriteProfileString("Tools", "Menu Text #1", "&Lister");
    m_app.WriteProfileString("Tools", "Command #1", "lister.exe");
    m_app.WriteProfileString("Tools", "Arguments #1", "$(File)");
    m_app.WriteProfileString("Tools", "Initial Directory #1", "C:\\");
    m_app.WriteProfileInt("Tools", "Output To Window #1", 0);
    m_app.WriteProfileString("Tools", "Menu Text #7", "stale");   // past the gap: never loaded
    m_pFrame->LoadUserTools();
    ASSERT_EQ(1, m_pFrame->GetUserTools().GetCount());

    AfxSeamAnswer(IDCANCEL);
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    EXPECT_STREQ("stale", m_app.GetProfileString("Tools", "Menu Text #7", ""));

    AfxSeamReset();
    AfxSeamAnswer(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    EXPECT_STREQ("", m_app.GetProfileString("Tools", "Menu Text #7", ""));
    EXPECT_STREQ("&Lister", m_app.GetProfileString("Tools", "Menu Text #1", ""));
    EXPECT_STREQ("lister.exe", m_app.GetProfileString("Tools", "Command #1", ""));
    EXPECT_STREQ("$(File)", m_app.GetProfileString("Tools", "Arguments #1", ""));
    m_app.RegDeleteSection("Tools");
}

// Stored settings outside their ranges are brought into range when read: the page shows what OK
// writes back, and the auto-save period never wraps.
TEST_F(CustOptFixture, StoredSettingsOutOfRangeAreReadIntoRange)
{
    struct
    {
        int margin, doubleClick, interval;
        const char* extension;
        const char* shownMargin;
        int savedMargin, savedDoubleClick, savedInterval;
        UINT period;
    } cases[] = {
        {99, 7, 71583, "*", "15", 15, 3, 32768, 32768u * 60000u},
        {-4, -1, 0, "a.b", "0", 0, 0, 1, 60000u},
        {3, 2, 7, "sav", "3", 3, 2, 7, 420000u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.margin);
        AfxSeamReset();
        m_app.WriteProfileInt("Map Window", "Move Margin", c.margin);
        m_app.WriteProfileInt("Map Bar", "Double Click", c.doubleClick);
        m_app.WriteProfileInt("Options", "Auto Save", 1);
        m_app.WriteProfileInt("Options", "Auto Save Interval", c.interval);
        m_app.WriteProfileString("Options", "Auto Save Path", "C:\\saves");
        m_app.WriteProfileString("Options", "Auto Save Extension", c.extension);
        CString shownMargin, shownMinutes, shownExtension;
        AfxSeamDrive([&](AfxModalCall& call) {
            char sz[32] = "";
            HWND hAuto = OptionsPage(call, 0);
            ::GetDlgItemTextA(hAuto, IDC_AUTOSAVE_MINUTES, sz, sizeof sz);
            shownMinutes = sz;
            ::GetDlgItemTextA(hAuto, IDC_AUTOSAVE_EXTENSION, sz, sizeof sz);
            shownExtension = sz;
            HWND hMap = OptionsPage(call, 3);
            ::GetDlgItemTextA(hMap, IDC_MOVE_MARGIN, sz, sizeof sz);
            shownMargin = sz;
            AfxSeamPressButton(call.hWnd, IDOK);
        });
        for (int i = 0; i < 3; ++i)
            AfxSeamAnswer(IDOK); // the notice of an empty extension
        m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
        EXPECT_STREQ(c.shownMargin, shownMargin);
        EXPECT_EQ(c.savedMargin, (int)m_app.GetProfileInt("Map Window", "Move Margin", -9));
        EXPECT_EQ(c.savedDoubleClick, (int)m_app.GetProfileInt("Map Bar", "Double Click", -9));
        CString minutes;
        minutes.Format("%d", c.savedInterval);
        EXPECT_STREQ(minutes, shownMinutes);
        EXPECT_EQ(c.savedInterval, (int)m_app.GetProfileInt("Options", "Auto Save Interval", -9));
        const bool plain = std::string(c.extension) == "sav";
        EXPECT_STREQ(plain ? c.extension : "", shownExtension);
        EXPECT_STREQ(plain ? c.extension : "", m_app.GetProfileString("Options", "Auto Save Extension", "x"));
        EXPECT_TRUE(m_pFrame->IsAutoSaveRunning());
        EXPECT_EQ(c.period, m_pFrame->GetAutoSavePeriod());
        // The timer started from the stored value directly (a project load) has the same period.
        AfxSeamReset();
        shelltest::TolerateLoadReports();
        m_app.WriteProfileInt("Options", "Auto Save Interval", c.interval);
        CTempDir dir;
        std::ofstream(static_cast<LPCSTR>(dir.Path("p.prj"))) << "[Paths]\n";
        m_app.WriteProfileString("Project Settings", "Root Path", dir.Path());
        ASSERT_TRUE(m_pFrame->OpenProject(dir.Path("p.prj")));
        EXPECT_EQ(c.period, m_pFrame->GetAutoSavePeriod());
        ASSERT_TRUE(m_pFrame->CloseProject());
    }
}

TEST_F(CustOptFixture, ColoursLooksAndMapSettingsAreAppliedOnOkOnly)
{
    // Cancel writes nothing, the typed move margin included.
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND h = OptionsPage(call, 3);
        ::SetDlgItemTextA(h, IDC_MOVE_MARGIN, "7");
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    EXPECT_EQ(-1, m_app.GetProfileInt("Map Window", "Move Margin", -1));

    // "Entity" as pure red, Traditional toolbars, margin 20 (the message, then 15), Front view,
    // reload on.
    AfxSeamReset();
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND hColors = OptionsPage(call, 1);
        HWND hList = ::GetDlgItem(hColors, IDC_COLOR_LIST);
        ::SendMessageA(hList, LB_SETCURSEL, ListIndexOfData(hList, 4), 0);
        Command(hColors, IDC_COLOR_LIST, LBN_SELCHANGE);
        ::SendMessageA(hColors, SEC_WM_COLORCHOSEN, IDC_COLOR_WELL, RGB(255, 0, 0));
        HWND hLook = OptionsPage(call, 2);
        EXPECT_EQ(BST_CHECKED, (int)::IsDlgButtonChecked(hLook, IDC_TB_COOL));
        ::CheckRadioButton(hLook, IDC_TB_COOL, IDC_TB_TRADITIONAL, IDC_TB_TRADITIONAL);
        Command(hLook, IDC_TB_TRADITIONAL, BN_CLICKED);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hLook, IDC_TB_BORDERS)));
        HWND hMap = OptionsPage(call, 3);
        AfxSeamAnswer(IDOK);
        ::SetDlgItemTextA(hMap, IDC_MOVE_MARGIN, "20");
        char sz[8] = "";
        ::GetDlgItemTextA(hMap, IDC_MOVE_MARGIN, sz, sizeof sz);
        EXPECT_STREQ("15", sz);
        ::CheckRadioButton(hMap, IDC_DOUBLE_CLICK_XY, IDC_DOUBLE_CLICK_ALL, IDC_DOUBLE_CLICK_XZ);
        HWND hWork = OptionsPage(call, 4);
        ::CheckDlgButton(hWork, IDC_RELOAD_LAST_PROJECT, BST_CHECKED);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    ASSERT_GE(AfxSeamCalls().size(), 2u);
    EXPECT_STREQ("The move margin value must be between 0 and 15", AfxSeamCalls()[1].text);
    EXPECT_EQ(0xFF0000, m_app.GetProfileInt("Colors", "Entity", 0));
    EXPECT_EQ(0xE0E0E0, m_app.GetProfileInt("Colors", "Grid", 0));
    EXPECT_EQ(RGB(255, 0, 0), m_app.m_services.GetPenColor(CViewServices::PEN_ENTITY));
    LOGPEN lp = {};
    ASSERT_TRUE(::GetObjectA(m_app.m_services.GetPen(CViewServices::PEN_ENTITY)->m_hObject, sizeof lp, &lp));
    EXPECT_EQ(RGB(255, 0, 0), lp.lopnColor & 0xFFFFFF);
    EXPECT_FALSE(m_pFrame->GetToolBarManager()->CoolLookEnabled());
    EXPECT_EQ(0, m_app.GetProfileInt("Cool Look", "Ex-Tool Styles", -1));
    EXPECT_EQ(15, m_app.GetProfileInt("Map Window", "Move Margin", -1));
    EXPECT_EQ(1, m_app.GetProfileInt("Map Bar", "Double Click", -1));
    EXPECT_EQ(1, m_app.GetProfileInt("Options", "Reload", -1));

    // They survive a restart.
    Close();
    ASSERT_TRUE(Start());
    m_pFrame = m_app.GetMainFrame();
    EXPECT_EQ(RGB(255, 0, 0), m_app.m_services.GetPenColor(CViewServices::PEN_ENTITY));
    EXPECT_FALSE(m_pFrame->GetToolBarManager()->CoolLookEnabled());
    EXPECT_TRUE(m_app.m_bReload);
}

} // namespace

namespace {

// A project and a one-brush map opened into its windows, an XY window active.
class CustOptMapFixture : public CustOptFixture
{
protected:
    void SetUp() override
    {
        CustOptFixture::SetUp();
        if (HasFatalFailure())
            return;
        shelltest::TolerateLoadReports();
        char dir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        m_project = shelltest::OpenEmptyProject(m_app, "morvane_custopt.prj", dir);
        ASSERT_FALSE(m_project.IsEmpty());
        m_path = CString(dir) + "morvane_custopt.map";
        FILE* f = fopen(m_path, "wb");
        ASSERT_NE(f, nullptr);
        fputs("{\n\"classname\" \"worldspawn\"\n{\n"
              "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\n( 64 0 0 ) ( 64 0 64 ) ( 64 64 0 ) WALL 0 0 0 1 1\n"
              "( 0 0 0 ) ( 0 0 64 ) ( 64 0 0 ) WALL 0 0 0 1 1\n( 0 64 0 ) ( 64 64 0 ) ( 0 64 64 ) WALL 0 0 0 1 1\n"
              "( 0 0 0 ) ( 64 0 0 ) ( 0 64 0 ) WALL 0 0 0 1 1\n( 0 0 64 ) ( 0 64 64 ) ( 64 0 64 ) WALL 0 0 0 1 1\n"
              "}\n}\n",
              f);
        fclose(f);
        AfxSeamSetUnexpectedHandler(nullptr);
        ASSERT_TRUE(m_pFrame->OpenMap(m_path, 255));
        afxtest::PumpMessages();
        m_pChild = m_pFrame->MDIGetActive();
        ASSERT_NE(m_pChild, nullptr);
        ASSERT_TRUE(m_pChild->IsKindOf(RUNTIME_CLASS(CMapFrame)));
        AfxSeamReset();
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        CustOptFixture::TearDown();
        ::DeleteFileA(m_path);
        ::DeleteFileA(m_project);
    }
    // Ctrl+Shift+K pressed in the active map view, through the application's translation.
    BOOL PressCtrlShiftK()
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        BYTE saved[256];
        std::memcpy(saved, keys, sizeof keys);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0x80;
        ::SetKeyboardState(keys);
        CView* pView = m_pChild->GetActiveView();
        MSG msg = {};
        msg.hwnd = pView ? pView->m_hWnd : m_pChild->m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = 'K';
        BOOL bDone = m_app.PreTranslateMessage(&msg);
        ::SetKeyboardState(saved);
        return bDone;
    }
    // Each toolbar combo's command, what it sets in the map window, the entry a new window shows
    // and the one after it in the list.
    struct ComboChoice
    {
        UINT nCommand;
        std::function<double()> value;
        double before, after;
    };
    static std::vector<ComboChoice> ComboChoices(CMapXYView* pXY, CMapZView* pZ)
    {
        return {
            {32950, [pXY] { return pXY->m_snapAngle; }, 22.5, 30},
            {32951, [pXY] { return (double)pXY->m_nGrid; }, 16, 32},
            {32952, [pXY] { return (double)pXY->m_scale; }, 0.375, 0.5},
            {32953, [pZ] { return (double)pZ->m_scale; }, 0.375, 0.5},
        };
    }
    CString m_path, m_project;
    CMDIChildWnd* m_pChild = nullptr;
};

TEST_F(CustOptMapFixture, ANewShortcutRunsItsCommandInAMapWindowAndTheCombosFollowTheMapWindow)
{
    Map* pMap = static_cast<Map*>(m_pChild->GetActiveDocument());
    ASSERT_NE(pMap, nullptr);
    EXPECT_EQ(0, pMap->GetShowTargetPaths());
    ASSERT_TRUE(m_pFrame->IsWindowEnabled());
    AfxSeamDrive([&](AfxModalCall& call) {
        AssignKey(call, kCtrlShiftK, ID_TOGGLE_TARGET_PATHS, nullptr);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    // The toolbar pages' customising leaves the frame as the modal run found it.
    ASSERT_TRUE(m_pFrame->IsWindowEnabled());
    EXPECT_TRUE(PressCtrlShiftK());
    afxtest::PumpMessages();
    EXPECT_NE(0, pMap->GetShowTargetPaths());

    // The active map frame answers the combos' updates: enabled.
    for (UINT nCommand : {32950u, 32951u, 32952u, 32953u}) {
        HWND h = GetViewServices()->FindCombo(CMainFrame::ComboIdOfCommand(nCommand));
        ASSERT_NE(h, nullptr);
        CCmdUI ui;
        ui.m_nID = nCommand;
        ui.DoUpdate(m_pFrame, FALSE);
        EXPECT_TRUE(::IsWindowEnabled(h)) << nCommand;
    }
}

// The user closes the map, then opens it in its four windows. The editor's idle time greys the
// four toolbar combos while no map window is active and brings them back whenever one is; a
// choice made in a combo, by mouse and keys, goes to the active map window.
TEST_F(CustOptMapFixture, TheToolbarCombosAreEnabledWhileAMapWindowIsActiveAndSetItsGridSnapAndScales)
{
    static const UINT kCommands[] = {32950, 32951, 32952, 32953};
    // How many of the four combos are enabled; every combo window of a command counts.
    auto EnabledCombos = [] {
        int n = 0;
        for (UINT nCommand : kCommands) {
            std::vector<HWND> found;
            GetViewServices()->FindCombos(CMainFrame::ComboIdOfCommand(nCommand), found);
            EXPECT_FALSE(found.empty()) << nCommand;
            n += std::all_of(found.begin(), found.end(), [](HWND h) { return ::IsWindowEnabled(h) != 0; }) ? 1 : 0;
        }
        return n;
    };
    ASSERT_TRUE(m_pFrame->IsWindowVisible());
    m_app.CloseAllDocuments(FALSE);
    afxtest::PumpMessages();
    m_app.OnIdle(0);
    EXPECT_EQ(0, EnabledCombos()) << "no map window";

    AfxSeamSetUnexpectedHandler(nullptr);
    ASSERT_TRUE(m_pFrame->OpenMap(m_path, VIEW_ALL_FOUR));
    afxtest::PumpMessages();
    AfxSeamReset();
    std::vector<CMapFrame*> plans;
    CMDIChildWnd* pCamera = nullptr;
    for (CWnd* pChild = CWnd::FromHandle(::GetWindow(m_pFrame->m_hWndMDIClient, GW_CHILD)); pChild;
         pChild = pChild->GetNextWindow()) {
        if (auto* pPlan = dynamic_cast<CMapFrame*>(pChild))
            plans.push_back(pPlan);
        else if (pChild->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
            pCamera = static_cast<CMDIChildWnd*>(pChild);
    }
    ASSERT_EQ(3u, plans.size());
    ASSERT_NE(nullptr, pCamera);

    // The active window changes (camera, plan, camera, another plan), then the loop idles.
    const struct
    {
        CMDIChildWnd* pActive;
        int enabled;
    } steps[] = {{pCamera, 0}, {plans[0], 4}, {pCamera, 0}, {plans[1], 4}};
    for (const auto& step : steps) {
        m_pFrame->MDIActivate(step.pActive);
        afxtest::PumpMessages();
        m_app.OnIdle(0);
        EXPECT_EQ(step.enabled, EnabledCombos()) << (step.pActive == pCamera ? "camera" : "plan");
    }

    // A click drops a combo's list, Down and Enter take the entry after the shown one.
    CMapFrame* pPlan = plans[1];
    ASSERT_EQ(pPlan, m_pFrame->MDIGetActive());
    CMapXYView* pXY = pPlan->GetXYView();
    CMapZView* pZ = pPlan->GetZView();
    ASSERT_NE(nullptr, pXY);
    ASSERT_NE(nullptr, pZ);
    const std::vector<ComboChoice> choices = ComboChoices(pXY, pZ);
    for (const auto& c : choices) {
        HWND hCombo = GetViewServices()->FindCombo(CMainFrame::ComboIdOfCommand(c.nCommand));
        ASSERT_NE(nullptr, hCombo);
        CRect rect;
        ::GetWindowRect(hCombo, &rect);
        // A disabled combo takes no clicks: the point would be the toolbar's.
        ASSERT_EQ(hCombo, ::WindowFromPoint(rect.CenterPoint())) << c.nCommand;
        EXPECT_DOUBLE_EQ(c.before, c.value()) << c.nCommand;
        afxtest::InputScript choose;
        choose.MoveTo(rect.CenterPoint()).Click().Pause(50).Key(VK_DOWN).Key(VK_RETURN).Pause(50);
        ASSERT_TRUE(choose.Run());
        EXPECT_DOUBLE_EQ(c.after, c.value()) << c.nCommand;
    }
    EXPECT_EQ(32, pZ->m_nGrid) << "the grid is the depth view's too";
}

// Customize's Commands page puts a toolbar combo on a second toolbar (here the Edit toolbar), as
// a second box of its command. The new box shows the active map window's entry, like the first;
// a choice made in the one that the editor's search for the command's box does not find first,
// by mouse and keys, sets the window's grid, snap angle or scale, and the other box shows it too.
TEST_F(CustOptMapFixture, ACombosSecondBoxShowsAndSetsTheActiveMapWindowsEntry)
{
    auto* pPlan = dynamic_cast<CMapFrame*>(m_pChild);
    ASSERT_NE(nullptr, pPlan);
    CMapXYView* pXY = pPlan->GetXYView();
    CMapZView* pZ = pPlan->GetZView();
    ASSERT_NE(nullptr, pXY);
    ASSERT_NE(nullptr, pZ);
    auto* pEdit = dynamic_cast<SECCustomToolBar*>(m_pFrame->GetControlBar(IDW_TOOLBAR_EDIT));
    ASSERT_NE(nullptr, pEdit);
    // What a box shows on the screen: the ink of its text, left of its button.
    auto Shown = [](HWND hCombo) {
        CRect rect;
        ::GetClientRect(hCombo, &rect);
        rect.right -= ::GetSystemMetrics(SM_CXVSCROLL) + 1;
        rect.DeflateRect(2, 2);
        return afxtest::ScreenShot(CWnd::FromHandle(hCombo)).Ink(rect);
    };
    const std::vector<ComboChoice> choices = ComboChoices(pXY, pZ);
    for (const auto& c : choices) {
        SCOPED_TRACE(c.nCommand);
        const UINT nCombo = CMainFrame::ComboIdOfCommand(c.nCommand);
        std::vector<HWND> before;
        GetViewServices()->FindCombos(nCombo, before);
        ASSERT_EQ(1u, before.size());
        const HWND hFirst = before[0];
        const int nIndex = pEdit->GetButtonCount();
        ASSERT_TRUE(pEdit->InsertButton(nIndex, c.nCommand));
        afxtest::PumpMessages();
        m_app.OnIdle(0);
        afxtest::PumpMessages();
        std::vector<HWND> boxes;
        GetViewServices()->FindCombos(nCombo, boxes);
        ASSERT_EQ(2u, boxes.size());
        const HWND hSecond = boxes[0] == hFirst ? boxes[1] : boxes[0];
        ASSERT_TRUE(::IsWindowVisible(hSecond));
        ASSERT_TRUE(::IsWindowEnabled(hSecond));
        pXY->SetFocus();
        afxtest::PumpMessages();
        ASSERT_NE("", Shown(hFirst));
        EXPECT_EQ(Shown(hFirst), Shown(hSecond)) << "the new box shows the window's entry";

        // The choice, in the box that the search does not find first.
        const HWND hChosen = boxes[1];
        CRect rect;
        ::GetWindowRect(hChosen, &rect);
        ASSERT_EQ(hChosen, ::WindowFromPoint(rect.CenterPoint()));
        EXPECT_DOUBLE_EQ(c.before, c.value());
        afxtest::InputScript choose;
        choose.MoveTo(rect.CenterPoint()).Click().Pause(50).Key(VK_DOWN).Key(VK_RETURN).Pause(50);
        ASSERT_TRUE(choose.Run());
        EXPECT_DOUBLE_EQ(c.after, c.value());
        pXY->SetFocus();
        afxtest::PumpMessages();
        m_app.OnIdle(0);
        afxtest::PumpMessages();
        EXPECT_EQ(Shown(hFirst), Shown(hSecond)) << "both boxes show the choice";

        ASSERT_TRUE(pEdit->RemoveButton(nIndex));
        afxtest::PumpMessages();
    }
}

} // namespace

// ---- The frame's own windows above it --------------------------------------------------------

namespace {

// The top-level window under the centre of a window's rectangle on the screen.
HWND RootUnderCentre(HWND hWnd)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return ::GetAncestor(::WindowFromPoint(rect.CenterPoint()), GA_ROOT);
}

BOOL ClickAt(CPoint pt)
{
    afxtest::InputScript click;
    click.MoveTo(pt).Click().Pause(50);
    return click.Run();
}

// The frame's caption, left of its title and buttons.
CPoint CaptionPoint(CWnd* pFrame)
{
    CRect rect;
    pFrame->GetWindowRect(&rect);
    return CPoint(rect.left + 120, rect.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2);
}

} // namespace

// A click on the frame's caption leaves every window the frame owns above it, as on Windows: a
// floating toolbar restored at start, the Customize sheet and a toolbar made by dragging a palette
// button out of it. The sheet still answers afterwards: clicked, Escape closes it and the frame is
// enabled again.
TEST_F(CustOptFixture, EveryWindowTheFrameOwnsStaysAboveItWhenTheFrameIsClicked)
{
    // The Align toolbar floats when the editor closes; the next start restores it floating.
    CControlBar* pAlign = m_pFrame->GetControlBar(IDW_TOOLBAR_ALIGN);
    ASSERT_NE(nullptr, pAlign);
    m_pFrame->ShowControlBar(pAlign, TRUE, FALSE);
    m_pFrame->FloatControlBar(pAlign, CPoint(40, 640));
    afxtest::PumpMessages();
    Close();
    ASSERT_TRUE(Start());
    m_pFrame = m_app.GetMainFrame();
    ASSERT_NE(nullptr, m_pFrame);
    m_pFrame->ShowWindow(SW_SHOWMAXIMIZED);
    afxtest::PumpMessages();
    pAlign = m_pFrame->GetControlBar(IDW_TOOLBAR_ALIGN);
    ASSERT_NE(nullptr, pAlign);
    ASSERT_TRUE(pAlign->IsFloating());
    ASSERT_TRUE(pAlign->IsWindowVisible());
    HWND hAlignFrame = pAlign->GetParentFrame()->m_hWnd;
    ASSERT_EQ(m_pFrame->m_hWnd, ::GetWindow(hAlignFrame, GW_OWNER));

    // A click on the frame, then the loop's idle time: the toolbar is on the screen above it.
    ASSERT_TRUE(ClickAt(CaptionPoint(m_pFrame)));
    EXPECT_TRUE(afxtest::WaitFor([&] { return ::GetForegroundWindow() == m_pFrame->m_hWnd; }, 2000));
    m_app.OnIdle(0);
    EXPECT_EQ(hAlignFrame, RootUnderCentre(hAlignFrame)) << "the restored floating toolbar";

    HWND hMade = nullptr;
    BOOL bEnded = FALSE;
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pSheet = static_cast<CPropertySheet*>(call.pObject);
        ASSERT_TRUE(pSheet->SetActivePage(1));
        auto* pPage = static_cast<SECToolBarCmdPage*>(pSheet->GetActivePage());
        SECCustomizeToolBar* pPalette = pPage->GetPalette(pPage->GetCurrentPalette());
        ASSERT_NE(nullptr, pPalette);
        // A palette button dropped on the empty map area makes a floating toolbar of its own.
        CRect button, client;
        pPalette->GetButtonRect(0, &button);
        pPalette->ClientToScreen(&button);
        ::GetWindowRect(m_pFrame->m_hWndMDIClient, &client);
        std::vector<HWND> before;
        for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT))
            before.push_back(h);
        ASSERT_TRUE(afxtest::Drag(button.CenterPoint(), CPoint(client.right - 150, client.top + 60)));
        for (HWND h = ::GetTopWindow(nullptr); h && !hMade; h = ::GetWindow(h, GW_HWNDNEXT))
            if (::IsWindowVisible(h) && ::GetWindow(h, GW_OWNER) == m_pFrame->m_hWnd && h != call.hWnd &&
                std::find(before.begin(), before.end(), h) == before.end())
                hMade = h;
        ASSERT_NE(nullptr, hMade) << "a floating toolbar made from the palette";

        // A click on the frame's caption, then what the sheet's modal loop tells its owner when
        // it waits again: every window the frame owns is on the screen above it.
        ASSERT_TRUE(ClickAt(CaptionPoint(m_pFrame)));
        EXPECT_TRUE(afxtest::WaitFor([&] { return ::GetForegroundWindow() == m_pFrame->m_hWnd; }, 2000));
        m_pFrame->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)call.hWnd);
        const struct
        {
            const char* name;
            HWND hWnd;
        } owned[] = {{"the Customize sheet", call.hWnd}, {"the restored floating toolbar", hAlignFrame},
                     {"the toolbar made from the palette", hMade}};
        for (const auto& o : owned)
            EXPECT_EQ(o.hWnd, RootUnderCentre(o.hWnd)) << o.name << " is under the frame";

        // The sheet still answers: clicked on its caption, Escape closes it.
        CRect sheet;
        ::GetWindowRect(call.hWnd, &sheet);
        ASSERT_TRUE(ClickAt(CPoint(sheet.left + 40, sheet.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2)));
        afxtest::InputScript escape;
        escape.Key(VK_ESCAPE).Pause(50);
        ASSERT_TRUE(escape.Run());
        bEnded = !::IsWindow(call.hWnd) || !pSheet->ContinueModal();
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_TOOLS_CUSTOMIZE);
    EXPECT_TRUE(bEnded) << "Escape closed the sheet";
    EXPECT_TRUE(m_pFrame->IsWindowEnabled());
    EXPECT_TRUE(::IsWindow(hMade) && ::IsWindowVisible(hMade));
}
