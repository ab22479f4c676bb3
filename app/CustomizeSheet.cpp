#include "CustomizeSheet.h"
#include "CustOptRes.h"
#include "EditorApp.h"
#include "SECRes.h"
#include <commctrl.h>

// ---------------------------------------------------------------------------
// Saved shortcuts

IMPLEMENT_DYNAMIC(CAcceleratorTable, SECAccelTable)

static const char szAccelSection[] = "Accelerators";

CAcceleratorTable::CAcceleratorTable(CFrameWnd* pFrame) : SECAccelTable(pFrame) {}

void CAcceleratorTable::EncodeEntry(const ACCEL& accel, BYTE bytes[ENTRY_BYTES])
{
    bytes[0] = accel.fVirt;
    bytes[1] = 0;
    bytes[2] = static_cast<BYTE>(accel.key & 0xFF);
    bytes[3] = static_cast<BYTE>(accel.key >> 8);
    bytes[4] = static_cast<BYTE>(accel.cmd & 0xFF);
    bytes[5] = static_cast<BYTE>(accel.cmd >> 8);
}

ACCEL CAcceleratorTable::DecodeEntry(const BYTE bytes[ENTRY_BYTES])
{
    ACCEL accel = {};
    accel.fVirt = bytes[0];
    accel.key = static_cast<WORD>(bytes[2] | (bytes[3] << 8));
    accel.cmd = static_cast<WORD>(bytes[4] | (bytes[5] << 8));
    return accel;
}

BOOL CAcceleratorTable::Load()
{
    CEditorApp* pApp = AfxGetEditorApp();
    HKEY hApp = pApp ? pApp->GetAppRegistryKey() : nullptr;
    if (!hApp)
        return TRUE;
    HKEY hSection = nullptr;
    LONG opened = ::RegOpenKeyExA(hApp, szAccelSection, 0, KEY_READ, &hSection);
    ::RegCloseKey(hApp);
    if (opened != ERROR_SUCCESS)
        return TRUE;
    std::vector<ACCEL> loaded;
    BOOL damaged = FALSE;
    for (int n = 1;; ++n) {
        CString name;
        name.Format("Accel #%d", n);
        BYTE bytes[ENTRY_BYTES + 1] = {};
        DWORD size = sizeof bytes;
        DWORD type = 0;
        LONG result = ::RegQueryValueExA(hSection, name, nullptr, &type, bytes, &size);
        // A value that is not there ends the list.
        if (result == ERROR_FILE_NOT_FOUND)
            break;
        // One that is there but is not one whole entry spoils the table: any of it could bind a
        // key to the wrong command, or leave out keys the user kept.
        if (result != ERROR_SUCCESS || type != REG_BINARY || size != ENTRY_BYTES) {
            damaged = TRUE;
            break;
        }
        loaded.push_back(DecodeEntry(bytes));
    }
    ::RegCloseKey(hSection);
    if (damaged)
        return FALSE;
    m_entries.insert(m_entries.end(), loaded.begin(), loaded.end());
    return TRUE;
}

BOOL CAcceleratorTable::Save()
{
    CEditorApp* pApp = AfxGetEditorApp();
    if (!pApp)
        return FALSE;
    pApp->RegDeleteSection(szAccelSection);
    // The section itself tells a table with every shortcut removed from no saved table.
    HKEY hSection = pApp->GetSectionKey(szAccelSection);
    if (!hSection)
        return FALSE;
    ::RegCloseKey(hSection);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        CString name;
        name.Format("Accel #%d", static_cast<int>(i + 1));
        BYTE bytes[ENTRY_BYTES];
        EncodeEntry(m_entries[i], bytes);
        if (!pApp->WriteProfileBinary(szAccelSection, name, bytes, ENTRY_BYTES))
            return FALSE;
    }
    return TRUE;
}

BOOL CAcceleratorTable::IsSaved()
{
    CEditorApp* pApp = AfxGetEditorApp();
    HKEY hApp = pApp ? pApp->GetAppRegistryKey() : nullptr;
    if (!hApp)
        return FALSE;
    HKEY hSection = nullptr;
    LONG result = ::RegOpenKeyExA(hApp, szAccelSection, 0, KEY_READ, &hSection);
    if (result == ERROR_SUCCESS)
        ::RegCloseKey(hSection);
    ::RegCloseKey(hApp);
    return result == ERROR_SUCCESS;
}

int CAcceleratorTable::FindKey(const ACCEL& accel) const
{
    const BYTE mods = FSHIFT | FCONTROL | FALT;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].key == accel.key && (m_entries[i].fVirt & mods) == (accel.fVirt & mods) &&
            (m_entries[i].fVirt & FVIRTKEY) == (accel.fVirt & FVIRTKEY))
            return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------
// Keyboard page

IMPLEMENT_DYNAMIC(CShortcutsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CShortcutsPage, CPropertyPage)
    ON_LBN_SELCHANGE(IDC_SHORTCUT_COMMANDS, OnSelectCommand)
    ON_LBN_DBLCLK(IDC_SHORTCUT_COMMANDS, OnAssign)
    ON_LBN_SELCHANGE(IDC_SHORTCUT_ASSIGNED, OnSelectShortcut)
    ON_EN_CHANGE(IDC_SHORTCUT_HOTKEY, OnHotKeyChange)
    ON_BN_CLICKED(IDC_SHORTCUT_ASSIGN, OnAssign)
    ON_BN_CLICKED(IDC_SHORTCUT_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_SHORTCUT_RESET_ALL, OnResetAll)
END_MESSAGE_MAP()

CShortcutsPage::CShortcutsPage(SECCommandList* pCommands, CAcceleratorTable* pTable)
    : CPropertyPage(IDD_SHORTCUTS_PAGE), m_pCommands(pCommands), m_pTable(pTable)
{
}

BOOL CShortcutsPage::IsReservedKey(const ACCEL& accel)
{
    if (!(accel.fVirt & FVIRTKEY))
        return FALSE;
    if (accel.key == VK_F1)
        return TRUE;
    return (accel.key == VK_F4 || accel.key == VK_F6) && (accel.fVirt & (FSHIFT | FCONTROL | FALT));
}

BOOL CShortcutsPage::IsRefusedKey(WORD wHotKey)
{
    BYTE vk = LOBYTE(wHotKey);
    return vk == VK_PAUSE || vk == VK_NUMLOCK || vk == VK_SCROLL;
}

BOOL CShortcutsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    HWND hList = Item(IDC_SHORTCUT_COMMANDS);
    if (m_pCommands)
        for (int i = 0; i < m_pCommands->GetCount(); ++i) {
            const SECCommandList::Entry& entry = m_pCommands->GetAt(i);
            int index = (int)::SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)entry.strName);
            if (index >= 0)
                ::SendMessageA(hList, LB_SETITEMDATA, index, (LPARAM)entry.nID);
        }
    ::SendMessageA(Item(IDC_SHORTCUT_HOTKEY), HKM_SETRULES, 0, 0);
    ShowCurrentAssignment(FALSE);
    RefreshShortcuts();
    ::EnableWindow(Item(IDC_SHORTCUT_ASSIGN), FALSE);
    return TRUE;
}

int CShortcutsPage::SelectedCommand() const
{
    HWND hList = ::GetDlgItem(m_hWnd, IDC_SHORTCUT_COMMANDS);
    int index = (int)::SendMessageA(hList, LB_GETCURSEL, 0, 0);
    if (index < 0)
        return 0;
    return (int)::SendMessageA(hList, LB_GETITEMDATA, index, 0);
}

void CShortcutsPage::ShowCurrentAssignment(BOOL bShow, LPCSTR lpszName)
{
    ::SetWindowTextA(Item(IDC_SHORTCUT_CURRENT_NAME), lpszName);
    ::ShowWindow(Item(IDC_SHORTCUT_CURRENT_LABEL), bShow ? SW_SHOW : SW_HIDE);
    ::ShowWindow(Item(IDC_SHORTCUT_CURRENT_NAME), bShow ? SW_SHOW : SW_HIDE);
}

void CShortcutsPage::RefreshShortcuts()
{
    HWND hAssigned = Item(IDC_SHORTCUT_ASSIGNED);
    ::SendMessageA(hAssigned, LB_RESETCONTENT, 0, 0);
    UINT nCommand = SelectedCommand();
    if (nCommand == 0) {
        ::EnableWindow(hAssigned, FALSE);
        ::EnableWindow(Item(IDC_SHORTCUT_HOTKEY), FALSE);
        ::EnableWindow(Item(IDC_SHORTCUT_ASSIGN), FALSE);
        ::EnableWindow(Item(IDC_SHORTCUT_REMOVE), FALSE);
        m_strDescription = "Nothing Selected";
        ::SetWindowTextA(Item(IDC_SHORTCUT_DESCRIPTION), m_strDescription);
        return;
    }
    ::EnableWindow(hAssigned, TRUE);
    ::EnableWindow(Item(IDC_SHORTCUT_HOTKEY), TRUE);
    int nEntry = m_pCommands ? m_pCommands->FindCommand(nCommand) : -1;
    m_strDescription = nEntry >= 0 ? m_pCommands->GetAt(nEntry).strDescription : CString();
    ::SetWindowTextA(Item(IDC_SHORTCUT_DESCRIPTION), m_strDescription);
    for (int i = 0; m_pTable && i < m_pTable->GetCount(); ++i) {
        const ACCEL& accel = m_pTable->GetAt(i);
        if (accel.cmd != nCommand)
            continue;
        CString text = GetKeyText(AccelToHotKey(accel));
        int index = (int)::SendMessageA(hAssigned, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)text);
        if (index >= 0)
            ::SendMessageA(hAssigned, LB_SETITEMDATA, index, i);
    }
    ::EnableWindow(Item(IDC_SHORTCUT_REMOVE), FALSE);
}

void CShortcutsPage::OnSelectCommand()
{
    RefreshShortcuts();
}

void CShortcutsPage::OnSelectShortcut()
{
    int index = (int)::SendMessageA(Item(IDC_SHORTCUT_ASSIGNED), LB_GETCURSEL, 0, 0);
    ::EnableWindow(Item(IDC_SHORTCUT_REMOVE), index >= 0);
}

void CShortcutsPage::OnHotKeyChange()
{
    HWND hHotKey = Item(IDC_SHORTCUT_HOTKEY);
    WORD wHotKey = (WORD)::SendMessageA(hHotKey, HKM_GETHOTKEY, 0, 0);
    if (wHotKey != 0 && IsRefusedKey(wHotKey)) {
        ::SendMessageA(hHotKey, HKM_SETHOTKEY, 0, 0);
        wHotKey = 0;
    }
    if (LOBYTE(wHotKey) == 0) {
        ::EnableWindow(Item(IDC_SHORTCUT_ASSIGN), FALSE);
        ShowCurrentAssignment(FALSE);
        return;
    }
    ::EnableWindow(Item(IDC_SHORTCUT_ASSIGN), TRUE);
    ACCEL accel = {};
    HotKeyToAccel(wHotKey, accel);
    int nEntry = m_pTable ? m_pTable->FindKey(accel) : -1;
    int nCommand = nEntry >= 0 && m_pCommands ? m_pCommands->FindCommand(m_pTable->GetAt(nEntry).cmd) : -1;
    if (nCommand >= 0)
        ShowCurrentAssignment(TRUE, m_pCommands->GetAt(nCommand).strName);
    else
        ShowCurrentAssignment(FALSE);
}

BOOL CShortcutsPage::ReadHotKey()
{
    HWND hHotKey = Item(IDC_SHORTCUT_HOTKEY);
    m_wHotKey = (WORD)::SendMessageA(hHotKey, HKM_GETHOTKEY, 0, 0);
    m_hotKeyAccel = ACCEL{};
    if (m_wHotKey != 0)
        HotKeyToAccel(m_wHotKey, m_hotKeyAccel);
    if (m_wHotKey == 0 || !IsReservedKey(m_hotKeyAccel))
        return TRUE;
    AfxMessageBox("That key combination is reserved and may not be reassigned.", MB_OK | MB_ICONEXCLAMATION);
    // Refused, not only reported: nothing of it stays to be assigned.
    ::SendMessageA(hHotKey, HKM_SETHOTKEY, 0, 0);
    m_wHotKey = 0;
    m_hotKeyAccel = ACCEL{};
    ::EnableWindow(Item(IDC_SHORTCUT_ASSIGN), FALSE);
    ShowCurrentAssignment(FALSE);
    ::SetFocus(hHotKey);
    return FALSE;
}

BOOL CShortcutsPage::OnKillActive()
{
    return ReadHotKey();
}

void CShortcutsPage::OnAssign()
{
    UINT nCommand = SelectedCommand();
    if (nCommand == 0) {
        AfxMessageBox("You must select a macro before clicking Create.", MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(Item(IDC_SHORTCUT_HOTKEY));
        return;
    }
    if (!ReadHotKey() || LOBYTE(m_wHotKey) == 0 || !m_pTable)
        return;
    m_pTable->SetShortcut(m_wHotKey, nCommand);
    m_bModified = TRUE;
    ::EnableWindow(Item(IDC_SHORTCUT_ASSIGN), FALSE);
    ::SendMessageA(Item(IDC_SHORTCUT_HOTKEY), HKM_SETHOTKEY, 0, 0);
    ShowCurrentAssignment(FALSE);
    RefreshShortcuts();
}

void CShortcutsPage::OnRemove()
{
    HWND hAssigned = Item(IDC_SHORTCUT_ASSIGNED);
    int index = (int)::SendMessageA(hAssigned, LB_GETCURSEL, 0, 0);
    if (index < 0 || !m_pTable) {
        AfxMessageBox("You must select a shortcut before clicking Remove.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int nEntry = (int)::SendMessageA(hAssigned, LB_GETITEMDATA, index, 0);
    if (nEntry >= 0 && nEntry < m_pTable->GetCount())
        m_pTable->RemoveAt(nEntry);
    RefreshShortcuts();
    ::EnableWindow(Item(IDC_SHORTCUT_REMOVE), FALSE);
    m_bModified = TRUE;
}

void CShortcutsPage::OnResetAll()
{
    if (AfxMessageBox("Reset All will set all shortcuts back to their defaults.  Any shortcuts you have created "
                      "will be forgotten.  Are you sure you want to do this?",
                      MB_OKCANCEL) != IDOK)
        return;
    if (m_pTable)
        m_pTable->LoadDefault();
    RefreshShortcuts();
    m_bModified = TRUE;
}

// ---------------------------------------------------------------------------
// Toolbars page

IMPLEMENT_DYNAMIC(CCustomizePage, SECToolBarsPage)

BOOL CCustomizePage::OnInitDialog()
{
    BOOL bResult = SECToolBarsPage::OnInitDialog();
    for (int nID : {IDC_SEC_COOLLOOK, IDC_SEC_LARGEBUTTONS})
        if (HWND hWnd = ::GetDlgItem(m_hWnd, nID)) {
            ::ShowWindow(hWnd, SW_HIDE);
            ::EnableWindow(hWnd, FALSE);
        }
    return bResult;
}

// ---------------------------------------------------------------------------
// The command page's button groups (0 separates)

static const UINT s_align[] = {32993, 32994, 32995, 32996, 32998, 32997};
static const UINT s_brush[] = {32855, 32853, 32854, 0, 33003, 0, 32920, 0, 32871, 33001, 33002, 0, 32915, 0, 33006};
static const UINT s_edit[] = {57635, 57634, 57637, 0, 32867};
static const UINT s_map[] = {32785, 32786, 32788, 32790, 0, 32796, 32797, 32798, 32799};
static const UINT s_mapWindow[] = {32942, 0, 32843, 32951, 32949, 0, 32950, 32954, 0, 32952, 32953};
static const UINT s_project[] = {32779, 32778, 32780};
static const UINT s_tools[] = {45102, 45103, 45104, 45105, 45106, 45107, 45108, 45109, 45110};
static const UINT s_window[] = {57651, 57652, 57650, 0, 32929};

const CustomizeButtonGroup g_customizeButtonGroups[8] = {
    {"Align", 6, s_align},     {"Brush", 15, s_brush},    {"Edit", 5, s_edit},   {"Map", 9, s_map},
    {"Map Window", 11, s_mapWindow}, {"Project", 3, s_project}, {"Tools", 9, s_tools}, {"Window", 5, s_window},
};

// ---------------------------------------------------------------------------
// The main frame's Customize, Toolbars, combo boxes and shortcuts at start

#include "MainFrame.h"
#include "MapFrame.h"
#include "ShellRes.h"
#include "ToolsPage.h"
#include "ViewServices.h"
#include "../res/resource.h"

void CMainFrame::OnCustomize()
{
    SECToolBarManager* pManager = GetToolBarManager();
    CPropertySheet sheet("Customize", this);
    CCustomizePage toolBarsPage(pManager);
    SECToolBarCmdPage commandPage(IDD_SEC_TOOLBARCMDPAGE, IDS_COMMANDS_PAGE);
    commandPage.SetManager(pManager);
    for (const CustomizeButtonGroup& group : g_customizeButtonGroups)
        commandPage.DefineBtnGroup(group.name, group.count, group.ids);
    CCustomizeToolsPage toolsPage(m_userTools);
    SECCommandList commands(this);
    CAcceleratorTable table(this);
    CShortcutsPage shortcutsPage(&commands, &table);
    sheet.AddPage(&toolBarsPage);
    sheet.AddPage(&commandPage);
    sheet.AddPage(&toolsPage);
    sheet.AddPage(&shortcutsPage);
    if (sheet.DoModal() != IDOK)
        return;
    SaveUserTools();
    if (shortcutsPage.IsModified() && table.Save())
        table.Apply();
}

void CMainFrame::OnViewToolbars()
{
    SECToolBarManager* pManager = GetToolBarManager();
    if (pManager && pManager->ExecViewToolBarsDlg() == IDC_SEC_CUSTOMIZE)
        OnCustomize();
}

BOOL CMainFrame::InstallSavedShortcuts()
{
    // Made before anything is installed, so the built-in table stays the one Reset All returns to.
    CAcceleratorTable table(this);
    table.RemoveAll();
    // A damaged saved table is not used: the built-in shortcuts stay.
    if (!table.Load())
        return FALSE;
    if (table.GetCount() == 0 && !CAcceleratorTable::IsSaved())
        return FALSE;
    return table.Apply();
}

UINT CMainFrame::ComboIdOfCommand(UINT nCommand)
{
    switch (nCommand) {
    case 32950: return IDC_SNAP_COMBO;
    case 32951: return IDC_GRID_COMBO;
    case 32952: return IDC_PLANE_SCALE_COMBO;
    case 32953: return IDC_DEPTH_SCALE_COMBO;
    }
    return 0;
}

LRESULT CMainFrame::OnToolBarWndNotify(WPARAM wParam, LPARAM lParam)
{
    static const char* const s_grid[] = {"1", "2", "4", "8", "16", "32", "64", "128"};
    static const char* const s_snap[] = {"1", "5", "10", "22.5", "30", "45", "60", "90"};
    static const char* const s_scale[] = {"12.5%", "25%", "37.5%", "50%", "75%", "100%", "150%", "200%", "300%"};
    HWND hCombo = reinterpret_cast<HWND>(lParam);
    if (HIWORD(wParam) != 257 || !::IsWindow(hCombo))
        return 0;
    const char* const* items = nullptr;
    int count = 0;
    switch (LOWORD(wParam)) {
    case IDC_GRID_COMBO: items = s_grid, count = 8; break;
    case IDC_SNAP_COMBO: items = s_snap, count = 8; break;
    case IDC_PLANE_SCALE_COMBO:
    case IDC_DEPTH_SCALE_COMBO: items = s_scale, count = 9; break;
    default: return 0;
    }
    ::SendMessageA(hCombo, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
    ::SendMessageA(hCombo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i)
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, (LPARAM)items[i]);
    // A box made while a map window is active (put on a toolbar by Customize, or its toolbar
    // reset) shows that window's entry, as the boxes made before it do.
    if (auto* pMapFrame = dynamic_cast<CMapFrame*>(MDIGetActive()))
        pMapFrame->RestoreComboEntries();
    return 0;
}

void CMainFrame::OnUpdateComboDisable(CCmdUI* pCmdUI)
{
    UINT nCombo = ComboIdOfCommand(pCmdUI->m_nID);
    if (nCombo == 0)
        return;
    GetViewServices()->EnableCombos(nCombo, FALSE);
    pCmdUI->Enable(FALSE);
}
