// Tools > Options: the "Option Settings" sheet and its pages (auto save, colours, the looks of
// bars, the map windows' settings, the workspace).
#pragma once
#include "SECButton.h"
#include "afxsheet.h"

class CMainFrame;

class CSettingsAutoSavePage : public CPropertyPage
{
    DECLARE_DYNAMIC(CSettingsAutoSavePage)
public:
    CSettingsAutoSavePage();
    void Load();
    void Save();
    // Shows the messages of what is wrong; FALSE when auto save is on with a bad interval or
    // without a path. An empty extension is only a notice.
    BOOL Validate();

    BOOL m_bEnabled = FALSE;
    int m_nInterval = 5;
    CString m_strExtension;
    CString m_strPath;
    BOOL m_bDeleteFiles = TRUE;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnOK() override;
    void OnEnable();
    void OnBrowse();

protected:
    void ReadControls();
    void EnableControls();
    DECLARE_MESSAGE_MAP()
};

class CColorPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CColorPage)
public:
    CColorPage();
    enum { COLOR_COUNT = 15 };
    struct Entry
    {
        const char* key;
        DWORD def;      // 0xRRGGBB
    };
    static const Entry s_entries[COLOR_COUNT];
    // Between the settings' 0xRRGGBB and the system's colour (red in the low byte).
    static COLORREF WellColor(DWORD setting);
    static DWORD SettingColor(COLORREF color);

    DWORD m_values[COLOR_COUNT];   // 0xRRGGBB
    BOOL m_bShown = FALSE;         // only a page that was shown writes its colours

    // Writes every colour and remakes the display pens from them.
    void SaveColors();

    BOOL OnInitDialog() override;
    void OnSelChange();
    LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
    SECWellButton m_well;

protected:
    DECLARE_MESSAGE_MAP()
};

// One group of the Cool Look page (toolbars or the other docking windows).
struct CoolLookGroup
{
    BOOL bCool = FALSE;
    BOOL bBorders = FALSE;
    BOOL bGripper = FALSE;
    BOOL bClose = FALSE;
    BOOL bLast = FALSE;     // toolbars: Fixed Toolbar Size; docking windows: Gripper Expand Button

    // The extended bar style bits (none for Traditional); for toolbars "Fixed Toolbar Size" is
    // not among them (it is the bar style bit 0x2).
    DWORD ExBits(BOOL bToolBar) const;
    // Which of Cool Borders, Gripper, Gripper Close Button and the last box may be used.
    void Enabling(BOOL bToolBar, BOOL enabled[4]) const;
    static CoolLookGroup FromBits(DWORD exBits, BOOL bToolBar, BOOL bFixed);
};

class CCoolLookPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CCoolLookPage)
public:
    explicit CCoolLookPage(CMainFrame* pFrame);
    CoolLookGroup m_toolBars, m_dockingWindows;
    BOOL m_bRead = FALSE;

    // Gives the frame's bars the chosen looks and lets the frame save them.
    void ApplyLooks();

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    void ReadControls();
    void EnableControls();
    CMainFrame* m_pFrame;
};

class CMapPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CMapPage)
public:
    CMapPage();
    // The margin of a typed text: empty counts as 0; above 15 (or negative) gives 15 and sets
    // *pOutOfRange.
    static int MarginFromText(LPCSTR text, BOOL* pOutOfRange);
    void SaveSettings();

    int m_nMargin;
    int m_nDoubleClick;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void OnOK() override;
    void OnMarginChange();

protected:
    BOOL m_bSettingText = FALSE;
    DECLARE_MESSAGE_MAP()
};

class CSettingsWorkspacePage : public CPropertyPage
{
    DECLARE_DYNAMIC(CSettingsWorkspacePage)
public:
    CSettingsWorkspacePage();
    void Save();
    BOOL m_bReload;
    BOOL OnInitDialog() override;
    void OnOK() override;
};

class COptionsSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(COptionsSheet)
public:
    COptionsSheet(UINT nIDCaption, CMainFrame* pFrame);
    BOOL Validate();
    void Apply();
    BOOL IsAutoSaveEnabled() const { return m_autoSave.m_bEnabled; }
    int GetAutoSaveInterval() const { return m_autoSave.m_nInterval; }

    CSettingsAutoSavePage m_autoSave;
    CColorPage m_colors;
    CCoolLookPage m_coolLook;
    CMapPage m_map;
    CSettingsWorkspacePage m_workspace;
};
