#include "OptionsSheet.h"
#include "CustOptRes.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include "Map.h"
#include "SECToolBar.h"
#include "ShellRes.h"
#include "Services.h"
#include <commctrl.h>
#include <cstdlib>

static CEditorServices* Settings()
{
    return GetEditorServices();
}

static CString ItemText(HWND hDlg, int nID)
{
    char sz[512] = "";
    ::GetDlgItemTextA(hDlg, nID, sz, sizeof sz);
    return sz;
}

// ---------------------------------------------------------------------------
// Auto Save

IMPLEMENT_DYNAMIC(CSettingsAutoSavePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CSettingsAutoSavePage, CPropertyPage)
    ON_BN_CLICKED(IDC_AUTOSAVE_ENABLED, OnEnable)
    ON_BN_CLICKED(IDC_AUTOSAVE_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CSettingsAutoSavePage::CSettingsAutoSavePage() : CPropertyPage(IDD_OPTIONS_AUTOSAVE)
{
    Load();
}

void CSettingsAutoSavePage::Load()
{
    CEditorServices* s = Settings();
    m_bEnabled = s->GetProfileInt("Options", "Auto Save", 0) != 0;
    m_nInterval = s->GetProfileIntInRange("Options", "Auto Save Interval", 5, 1, 32768);
    m_strExtension = s->GetProfileString("Options", "Auto Save Extension", "");
    // A stored extension that is not a plain one is read as none ("map").
    if (!Map::IsPlainExtension(m_strExtension))
        m_strExtension.Empty();
    m_strPath = s->GetProfileString("Options", "Auto Save Path", "");
    m_bDeleteFiles = s->GetProfileInt("Options", "Delete Auto Save Files", 1) != 0;
}

void CSettingsAutoSavePage::Save()
{
    CEditorServices* s = Settings();
    s->WriteProfileInt("Options", "Auto Save", m_bEnabled ? 1 : 0);
    s->WriteProfileInt("Options", "Auto Save Interval", m_nInterval);
    s->WriteProfileString("Options", "Auto Save Extension", m_strExtension);
    s->WriteProfileString("Options", "Auto Save Path", m_strPath);
    s->WriteProfileInt("Options", "Delete Auto Save Files", m_bDeleteFiles ? 1 : 0);
}

BOOL CSettingsAutoSavePage::Validate()
{
    if (!m_bEnabled)
        return TRUE;
    BOOL bValid = TRUE;
    if (m_nInterval < 1 || m_nInterval > 32768) {
        AfxMessageBox("You have enabled auto save, but the time\ninterval is invalid.", MB_OK);
        bValid = FALSE;
    }
    if (m_strPath.IsEmpty()) {
        AfxMessageBox("You need to specify an output path for the\nauto saved files.", MB_OK);
        bValid = FALSE;
    }
    if (m_strExtension.IsEmpty())
        AfxMessageBox("No extension was defined.  The extension 'map' will be used.", MB_OK);
    else if (!Map::IsPlainExtension(m_strExtension)) {
        // The extension names the auto save's files: no wildcard, dot or folder in it.
        AfxMessageBox("The file extension may hold letters and digits only.", MB_OK);
        bValid = FALSE;
    }
    return bValid;
}

BOOL CSettingsAutoSavePage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ::CheckDlgButton(m_hWnd, IDC_AUTOSAVE_ENABLED, m_bEnabled ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_AUTOSAVE_DELETE, m_bDeleteFiles ? BST_CHECKED : BST_UNCHECKED);
    CString minutes;
    minutes.Format("%d", m_nInterval);
    ::SetDlgItemTextA(m_hWnd, IDC_AUTOSAVE_MINUTES, minutes);
    ::SetDlgItemTextA(m_hWnd, IDC_AUTOSAVE_EXTENSION, m_strExtension);
    ::SetDlgItemTextA(m_hWnd, IDC_AUTOSAVE_PATH, m_strPath);
    EnableControls();
    return TRUE;
}

void CSettingsAutoSavePage::ReadControls()
{
    if (!m_hWnd)
        return;
    m_bEnabled = ::IsDlgButtonChecked(m_hWnd, IDC_AUTOSAVE_ENABLED) == BST_CHECKED;
    m_bDeleteFiles = ::IsDlgButtonChecked(m_hWnd, IDC_AUTOSAVE_DELETE) == BST_CHECKED;
    // No range check here: the minutes are checked with auto save on only (an empty field is 0).
    CString minutes = ItemText(m_hWnd, IDC_AUTOSAVE_MINUTES);
    long value = std::strtol(minutes, nullptr, 10);
    m_nInterval = value > 1000000 ? 1000000 : value < -1 ? -1 : static_cast<int>(value);
    m_strExtension = ItemText(m_hWnd, IDC_AUTOSAVE_EXTENSION);
    m_strPath = ItemText(m_hWnd, IDC_AUTOSAVE_PATH);
}

void CSettingsAutoSavePage::EnableControls()
{
    BOOL bOn = ::IsDlgButtonChecked(m_hWnd, IDC_AUTOSAVE_ENABLED) == BST_CHECKED;
    for (int nID : {IDC_AUTOSAVE_MINUTES, IDC_AUTOSAVE_EXTENSION, IDC_AUTOSAVE_PATH, IDC_AUTOSAVE_BROWSE,
                    IDC_AUTOSAVE_DELETE})
        ::EnableWindow(::GetDlgItem(m_hWnd, nID), bOn);
}

BOOL CSettingsAutoSavePage::OnSetActive()
{
    EnableControls();
    return CPropertyPage::OnSetActive();
}

BOOL CSettingsAutoSavePage::OnKillActive()
{
    ReadControls();
    return TRUE;
}

void CSettingsAutoSavePage::OnOK()
{
    ReadControls();
}

void CSettingsAutoSavePage::OnEnable()
{
    EnableControls();
}

void CSettingsAutoSavePage::OnBrowse()
{
    CString path = ItemText(m_hWnd, IDC_AUTOSAVE_PATH);
    CEditorApp* pApp = AfxGetEditorApp();
    if (pApp && pApp->BrowseForFolder("Choose the Auto Save Folder", path, this))
        ::SetDlgItemTextA(m_hWnd, IDC_AUTOSAVE_PATH, path);
}

// ---------------------------------------------------------------------------
// Colors

IMPLEMENT_DYNAMIC(CColorPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CColorPage, CPropertyPage)
    ON_LBN_SELCHANGE(IDC_COLOR_LIST, OnSelChange)
    ON_MESSAGE(SEC_WM_COLORCHOSEN, OnColorChosen)
END_MESSAGE_MAP()

const CColorPage::Entry CColorPage::s_entries[COLOR_COUNT] = {
    {"Grid", 0xE0E0E0},         {"Tile", 0xC0C0C0},          {"Texture Background", 0x000000},
    {"Brush", 0x000000},        {"Entity", 0x0000FF},        {"Selected Object", 0xFF0000},
    {"Rotate", 0x008000},       {"Selected Texture", 0xFF0000}, {"Brush Scale", 0x000000},
    {"Map Background", 0xFFFFFF}, {"Texture Name", 0xFF0000}, {"Camera Eye", 0xFF8000},
    {"Vertex Point", 0xFFFF00}, {"Edge Point", 0x00FF00},    {"Face Point", 0x0000FF},
};

CColorPage::CColorPage() : CPropertyPage(IDD_OPTIONS_COLORS)
{
    for (int i = 0; i < COLOR_COUNT; ++i)
        m_values[i] = static_cast<DWORD>(Settings()->GetProfileInt("Colors", s_entries[i].key,
                                                                   static_cast<int>(s_entries[i].def))) &
                      0xFFFFFF;
}

COLORREF CColorPage::WellColor(DWORD setting)
{
    return ColorFromSetting(setting) & 0xFFFFFF;
}

DWORD CColorPage::SettingColor(COLORREF color)
{
    return (static_cast<DWORD>(GetRValue(color)) << 16) | (static_cast<DWORD>(GetGValue(color)) << 8) |
           GetBValue(color);
}

BOOL CColorPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bShown = TRUE;
    m_well.AttachButton(IDC_COLOR_WELL, this);
    HWND hList = ::GetDlgItem(m_hWnd, IDC_COLOR_LIST);
    for (int i = 0; i < COLOR_COUNT; ++i) {
        int index = (int)::SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)s_entries[i].key);
        if (index >= 0)
            ::SendMessageA(hList, LB_SETITEMDATA, index, i);
    }
    ::SendMessageA(hList, LB_SETCURSEL, 0, 0);
    OnSelChange();
    return TRUE;
}

void CColorPage::OnSelChange()
{
    HWND hList = ::GetDlgItem(m_hWnd, IDC_COLOR_LIST);
    int index = (int)::SendMessageA(hList, LB_GETCURSEL, 0, 0);
    if (index < 0)
        return;
    int entry = (int)::SendMessageA(hList, LB_GETITEMDATA, index, 0);
    if (entry >= 0 && entry < COLOR_COUNT && m_well.m_hWnd) {
        m_well.SetColor(WellColor(m_values[entry]));
        m_well.Invalidate();
    }
}

LRESULT CColorPage::OnColorChosen(WPARAM, LPARAM lParam)
{
    HWND hList = ::GetDlgItem(m_hWnd, IDC_COLOR_LIST);
    int index = (int)::SendMessageA(hList, LB_GETCURSEL, 0, 0);
    if (index < 0)
        return 0;
    int entry = (int)::SendMessageA(hList, LB_GETITEMDATA, index, 0);
    if (entry >= 0 && entry < COLOR_COUNT)
        m_values[entry] = SettingColor(static_cast<COLORREF>(lParam));
    return 0;
}

void CColorPage::SaveColors()
{
    if (!m_bShown)
        return;
    for (int i = 0; i < COLOR_COUNT; ++i)
        Settings()->WriteProfileInt("Colors", s_entries[i].key, static_cast<int>(m_values[i]));
    // The views draw with the application's pens: made anew, then everything redrawn.
    if (CEditorApp* pApp = AfxGetEditorApp()) {
        pApp->m_services.CreateColors();
        if (CWnd* pMain = pApp->m_pMainWnd; pMain && pMain->m_hWnd)
            ::RedrawWindow(pMain->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
}

// ---------------------------------------------------------------------------
// Cool Look

DWORD CoolLookGroup::ExBits(BOOL bToolBar) const
{
    if (!bCool)
        return 0;
    DWORD bits = 0;
    if (bBorders)
        bits |= 0x100;
    if (bGripper)
        bits |= 0x200;
    if (bClose)
        bits |= 0x400;
    if (!bToolBar && bLast)
        bits |= 0x800;
    return bits;
}

void CoolLookGroup::Enabling(BOOL bToolBar, BOOL enabled[4]) const
{
    enabled[0] = bCool;
    enabled[1] = bCool && bBorders;
    enabled[2] = bCool && bBorders && bGripper;
    // Fixed Toolbar Size depends on the group's look only; Gripper Expand Button needs Gripper.
    enabled[3] = bToolBar ? bCool : enabled[2];
}

CoolLookGroup CoolLookGroup::FromBits(DWORD exBits, BOOL bToolBar, BOOL bFixed)
{
    CoolLookGroup g;
    g.bCool = (exBits & 0x700) != 0;
    g.bBorders = (exBits & 0x100) != 0;
    g.bGripper = (exBits & 0x200) != 0;
    g.bClose = (exBits & 0x400) != 0;
    g.bLast = bToolBar ? bFixed : (exBits & 0x800) != 0;
    return g;
}

IMPLEMENT_DYNAMIC(CCoolLookPage, CPropertyPage)

static const int s_toolBarIds[] = {IDC_TB_COOL, IDC_TB_BORDERS, IDC_TB_GRIPPER, IDC_TB_CLOSE, IDC_TB_FIXED,
                                   IDC_TB_TRADITIONAL};
static const int s_dockingIds[] = {IDC_CB_COOL, IDC_CB_BORDERS, IDC_CB_GRIPPER, IDC_CB_CLOSE, IDC_CB_EXPAND,
                                   IDC_CB_TRADITIONAL};

CCoolLookPage::CCoolLookPage(CMainFrame* pFrame) : CPropertyPage(IDD_OPTIONS_COOLLOOK), m_pFrame(pFrame) {}

// The docking bars of the frame (dock bars themselves are not among them).
static std::vector<SECControlBar*> LookBars(CMainFrame* pFrame)
{
    std::vector<SECControlBar*> bars;
    if (!pFrame)
        return bars;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (pBar && !pBar->IsDockBar() && pBar->IsKindOf(RUNTIME_CLASS(SECControlBar)))
            bars.push_back(static_cast<SECControlBar*>(pBar));
    }
    return bars;
}

BOOL CCoolLookPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    DWORD exTool = 0, exDock = 0;
    BOOL bFixed = FALSE;
    for (SECControlBar* pBar : LookBars(m_pFrame)) {
        if (pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) {
            exTool |= pBar->GetExBarStyle() & 0xF00;
            bFixed |= (pBar->GetBarStyle() & 0x2) != 0;
        } else {
            exDock |= pBar->GetExBarStyle() & 0xF00;
        }
    }
    m_toolBars = CoolLookGroup::FromBits(exTool, TRUE, bFixed);
    m_dockingWindows = CoolLookGroup::FromBits(exDock, FALSE, FALSE);
    m_bRead = TRUE;
    for (int side = 0; side < 2; ++side) {
        const CoolLookGroup& g = side == 0 ? m_toolBars : m_dockingWindows;
        const int* ids = side == 0 ? s_toolBarIds : s_dockingIds;
        ::CheckDlgButton(m_hWnd, ids[0], g.bCool ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, ids[5], g.bCool ? BST_UNCHECKED : BST_CHECKED);
        ::CheckDlgButton(m_hWnd, ids[1], g.bBorders ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, ids[2], g.bGripper ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, ids[3], g.bClose ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, ids[4], g.bLast ? BST_CHECKED : BST_UNCHECKED);
    }
    EnableControls();
    return TRUE;
}

void CCoolLookPage::ReadControls()
{
    if (!m_hWnd)
        return;
    for (int side = 0; side < 2; ++side) {
        CoolLookGroup& g = side == 0 ? m_toolBars : m_dockingWindows;
        const int* ids = side == 0 ? s_toolBarIds : s_dockingIds;
        g.bCool = ::IsDlgButtonChecked(m_hWnd, ids[0]) == BST_CHECKED;
        g.bBorders = ::IsDlgButtonChecked(m_hWnd, ids[1]) == BST_CHECKED;
        g.bGripper = ::IsDlgButtonChecked(m_hWnd, ids[2]) == BST_CHECKED;
        g.bClose = ::IsDlgButtonChecked(m_hWnd, ids[3]) == BST_CHECKED;
        g.bLast = ::IsDlgButtonChecked(m_hWnd, ids[4]) == BST_CHECKED;
    }
}

void CCoolLookPage::EnableControls()
{
    for (int side = 0; side < 2; ++side) {
        const CoolLookGroup& g = side == 0 ? m_toolBars : m_dockingWindows;
        const int* ids = side == 0 ? s_toolBarIds : s_dockingIds;
        BOOL enabled[4];
        g.Enabling(side == 0, enabled);
        for (int i = 0; i < 4; ++i)
            ::EnableWindow(::GetDlgItem(m_hWnd, ids[i + 1]), enabled[i]);
    }
}

BOOL CCoolLookPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= IDC_TB_COOL && LOWORD(wParam) <= IDC_CB_TRADITIONAL) {
        ReadControls();
        EnableControls();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CCoolLookPage::ApplyLooks()
{
    if (!m_bRead || !m_pFrame)
        return;
    ReadControls();
    const DWORD looks = 0xF00;
    DWORD toolBits = m_toolBars.ExBits(TRUE);
    DWORD dockBits = m_dockingWindows.ExBits(FALSE);
    BOOL bFixed = m_toolBars.bCool && m_toolBars.bLast;
    for (SECControlBar* pBar : LookBars(m_pFrame)) {
        if (pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) {
            pBar->ModifyExBarStyle(looks & ~toolBits, toolBits, TRUE);
            DWORD style = pBar->GetBarStyle();
            pBar->SetBarStyle(bFixed ? (style | 0x2) : (style & ~0x2u));
        } else {
            pBar->ModifyExBarStyle(looks & ~dockBits, dockBits, TRUE);
        }
        if (pBar->m_hWnd)
            pBar->Invalidate();
    }
    if (!(toolBits & 0x100))
        m_pFrame->TurnOffCoolLook();
    m_pFrame->SaveToolbarStyles();
}

// ---------------------------------------------------------------------------
// Map

IMPLEMENT_DYNAMIC(CMapPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CMapPage, CPropertyPage)
    ON_EN_CHANGE(IDC_MOVE_MARGIN, OnMarginChange)
END_MESSAGE_MAP()

CMapPage::CMapPage() : CPropertyPage(IDD_OPTIONS_MAP)
{
    m_nMargin = Settings()->GetProfileIntInRange("Map Window", "Move Margin", 2, 0, 15);
    m_nDoubleClick = Settings()->GetProfileIntInRange("Map Bar", "Double Click", 3, 0, 3);
}

int CMapPage::MarginFromText(LPCSTR text, BOOL* pOutOfRange)
{
    *pOutOfRange = FALSE;
    long value = (text && *text) ? std::strtol(text, nullptr, 10) : 0;
    if (value < 0 || value > 15) {
        *pOutOfRange = TRUE;
        return 15;
    }
    return static_cast<int>(value);
}

void CMapPage::SaveSettings()
{
    Settings()->WriteProfileInt("Map Window", "Move Margin", m_nMargin);
    Settings()->WriteProfileInt("Map Bar", "Double Click", m_nDoubleClick);
}

BOOL CMapPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bSettingText = TRUE;
    CString text;
    text.Format("%d", m_nMargin);
    ::SetDlgItemTextA(m_hWnd, IDC_MOVE_MARGIN, text);
    m_bSettingText = FALSE;
    int nRadio = m_nDoubleClick >= 0 && m_nDoubleClick <= 3 ? m_nDoubleClick : 3;
    ::CheckRadioButton(m_hWnd, IDC_DOUBLE_CLICK_XY, IDC_DOUBLE_CLICK_ALL, IDC_DOUBLE_CLICK_XY + nRadio);
    return TRUE;
}

BOOL CMapPage::OnSetActive()
{
    HWND hSpin = ::GetDlgItem(m_hWnd, IDC_MOVE_MARGIN_SPIN);
    ::SendMessageA(hSpin, UDM_SETRANGE, 0, MAKELONG(15, 0));
    m_bSettingText = TRUE;
    ::SendMessageA(hSpin, UDM_SETPOS, 0, MAKELONG(m_nMargin, 0));
    m_bSettingText = FALSE;
    return CPropertyPage::OnSetActive();
}

void CMapPage::OnMarginChange()
{
    if (m_bSettingText)
        return;
    BOOL bOutOfRange = FALSE;
    int margin = MarginFromText(ItemText(m_hWnd, IDC_MOVE_MARGIN), &bOutOfRange);
    m_bSettingText = TRUE;
    if (bOutOfRange) {
        AfxMessageBox("The move margin value must be between 0 and 15", MB_OK);
        ::SetDlgItemTextA(m_hWnd, IDC_MOVE_MARGIN, "15");
    }
    m_nMargin = margin;
    ::SendDlgItemMessageA(m_hWnd, IDC_MOVE_MARGIN_SPIN, UDM_SETPOS, 0, MAKELONG(m_nMargin, 0));
    m_bSettingText = FALSE;
    // Written with the other settings on OK only, so Cancel cancels it.
}

void CMapPage::OnOK()
{
    if (!m_hWnd)
        return;
    for (int i = 0; i < 4; ++i)
        if (::IsDlgButtonChecked(m_hWnd, IDC_DOUBLE_CLICK_XY + i) == BST_CHECKED)
            m_nDoubleClick = i;
}

// ---------------------------------------------------------------------------
// Workspace

IMPLEMENT_DYNAMIC(CSettingsWorkspacePage, CPropertyPage)

CSettingsWorkspacePage::CSettingsWorkspacePage() : CPropertyPage(IDD_OPTIONS_WORKSPACE)
{
    m_bReload = Settings()->GetProfileInt("Options", "Reload", 0) != 0;
}

void CSettingsWorkspacePage::Save()
{
    Settings()->WriteProfileInt("Options", "Reload", m_bReload ? 1 : 0);
    if (CEditorApp* pApp = AfxGetEditorApp())
        pApp->m_bReload = m_bReload;
}

BOOL CSettingsWorkspacePage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ::CheckDlgButton(m_hWnd, IDC_RELOAD_LAST_PROJECT, m_bReload ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CSettingsWorkspacePage::OnOK()
{
    if (m_hWnd)
        m_bReload = ::IsDlgButtonChecked(m_hWnd, IDC_RELOAD_LAST_PROJECT) == BST_CHECKED;
}

// ---------------------------------------------------------------------------
// The sheet

IMPLEMENT_DYNAMIC(COptionsSheet, CPropertySheet)

COptionsSheet::COptionsSheet(UINT nIDCaption, CMainFrame* pFrame)
    : CPropertySheet(nIDCaption, pFrame), m_coolLook(pFrame)
{
    AddPage(&m_autoSave);
    AddPage(&m_colors);
    AddPage(&m_coolLook);
    AddPage(&m_map);
    AddPage(&m_workspace);
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
}

BOOL COptionsSheet::Validate()
{
    return m_autoSave.Validate();
}

void COptionsSheet::Apply()
{
    m_map.SaveSettings();
    m_workspace.Save();
    m_coolLook.ApplyLooks();
    m_autoSave.Save();
    m_colors.SaveColors();
}

void CMainFrame::OnOptions()
{
    COptionsSheet sheet(IDS_OPTION_SETTINGS, this);
    if (sheet.DoModal() != IDOK)
        return;
    while (!sheet.Validate())
        if (sheet.DoModal() != IDOK)
            return;
    sheet.Apply();
    StopAutoSave();
    if (sheet.IsAutoSaveEnabled())
        StartAutoSave();
    if (m_wndResourceBar.m_hWnd)
        m_wndResourceBar.SendMessage(WM_RESOURCE_REFRESH);
}
