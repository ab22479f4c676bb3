// Tools > Customize: the sheet with the toolbars, the toolbar commands, the user tools and the
// keyboard shortcuts; the shortcuts as the settings keep them.
#pragma once
#include "SECAccel.h"
#include "SECToolBarDlgs.h"
#include "afxsheet.h"

// The editable shortcuts, kept in the settings section "Accelerators" as "Accel #1", "Accel #2",
// ... without gaps, each the 6 bytes of one entry: flags, a zero byte, key and command (both
// little-endian).
class CAcceleratorTable : public SECAccelTable
{
    DECLARE_DYNAMIC(CAcceleratorTable)
public:
    explicit CAcceleratorTable(CFrameWnd* pFrame = nullptr);

    enum { ENTRY_BYTES = 6 };
    static void EncodeEntry(const ACCEL& accel, BYTE bytes[ENTRY_BYTES]);
    static ACCEL DecodeEntry(const BYTE bytes[ENTRY_BYTES]);

    // Appends the saved entries up to the first value that is missing. A value that is there but
    // is not exactly 6 bytes of binary data makes the whole saved table unusable: FALSE, and the
    // table stays as it was.
    BOOL Load() override;
    // Replaces the whole section by the table's entries; stops at the first write that fails.
    // A table of no entries is saved as the section without values: it is still a saved table.
    BOOL Save() override;
    // Whether a table was saved at all (an empty one included).
    static BOOL IsSaved();
    void RemoveAll() { m_entries.clear(); }
    // The entry with the key and modifiers of the accelerator, or -1.
    int FindKey(const ACCEL& accel) const;
};

// The "Keyboard" page: commands, their shortcuts, a new shortcut typed into a hot-key control.
class CShortcutsPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CShortcutsPage)
public:
    CShortcutsPage(SECCommandList* pCommands, CAcceleratorTable* pTable);

    // Keys that stay with the system or the windows: F1, and F4 or F6 with Shift, Ctrl or Alt.
    static BOOL IsReservedKey(const ACCEL& accel);
    // Keys the hot-key control never keeps: Pause, Num Lock, Scroll Lock.
    static BOOL IsRefusedKey(WORD wHotKey);

    BOOL IsModified() const { return m_bModified; }
    CAcceleratorTable* GetTable() const { return m_pTable; }

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

    void OnSelectCommand();
    void OnSelectShortcut();
    void OnHotKeyChange();
    void OnAssign();
    void OnRemove();
    void OnResetAll();

protected:
    // Reads the hot-key control; FALSE (with the message, the control cleared) for a reserved
    // key.
    BOOL ReadHotKey();
    void RefreshShortcuts();
    void ShowCurrentAssignment(BOOL bShow, LPCSTR lpszName = "");
    int SelectedCommand() const;   // the command id, 0 when none
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

    SECCommandList* m_pCommands;
    CAcceleratorTable* m_pTable;
    WORD m_wHotKey = 0;
    ACCEL m_hotKeyAccel = {};
    BOOL m_bModified = FALSE;
    CString m_strDescription;

    DECLARE_MESSAGE_MAP()
};

// The docking library's toolbars page without its "C&ool Look" and "&Large Buttons" boxes: the
// Options sheet owns the looks.
class CCustomizePage : public SECToolBarsPage
{
    DECLARE_DYNAMIC(CCustomizePage)
public:
    explicit CCustomizePage(SECToolBarManager* pManager) : SECToolBarsPage(pManager) {}
    BOOL OnInitDialog() override;
};

// The toolbar command page's groups, in the order the page shows them.
struct CustomizeButtonGroup
{
    const char* name;
    int count;
    const UINT* ids;
};
extern const CustomizeButtonGroup g_customizeButtonGroups[8];
