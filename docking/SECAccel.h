// Keyboard shortcuts the user can reassign: the list of commands a user can reach, with their
// names and descriptions, and an editable accelerator table that is installed in the frame,
// written into the menus, and loaded and saved.
#pragma once
#include "afxwin.h"
#include <vector>

// Hot-key codes (the hot-key control's form): low byte the virtual key, high byte the flags.
#define SEC_HOTKEYF_SHIFT       0x01
#define SEC_HOTKEYF_CONTROL     0x02
#define SEC_HOTKEYF_ALT         0x04
#define SEC_HOTKEYF_EXT         0x08

WORD AccelToHotKey(const ACCEL& accel);
void HotKeyToAccel(WORD wHotKey, ACCEL& accel);
// "Ctrl+Alt+Shift+" and the key's name, as the keyboard names them; empty for 0.
CString GetKeyText(WORD wHotKey);
CString GetVirtualKeyName(UINT nVirtKey, BOOL bExtended);
// Whether a virtual key is one of the extended keys (page up to help, the Windows and
// application keys, numeric divide).
BOOL SECIsExtendedKey(UINT nVirtKey);
// A menu item's text as a command name: cut at "...", at "(&" and at the tab; the first "&" goes.
CString SECCleanMenuText(LPCSTR lpszText);

class SECCommandList : public CObject
{
    DECLARE_DYNAMIC(SECCommandList)
public:
    struct Entry
    {
        UINT nID;
        CString strName;
        CString strDescription;
    };

    // Builds the list from the frame (the main window when null): its menu, its accelerators and
    // the menus of the multi-document templates.
    explicit SECCommandList(CFrameWnd* pFrame = nullptr, BOOL bBuild = TRUE);

    int GetCount() const { return (int)m_entries.size(); }
    const Entry& GetAt(int nIndex) const { return m_entries[(size_t)nIndex]; }
    int FindCommand(UINT nID) const;

    virtual BOOL IsExcluded(UINT nID) const;
    virtual void Describe();
    virtual void CollectCommands();
    void Build();
    // The compact count, then per entry DWORD id, name and description as archive strings.
    // Loading replaces the list only when the whole of it was read.
    void Serialize(CArchive& ar) override;

protected:
    void CollectMenu(HMENU hMenu);
    void NameMenu(HMENU hMenu, const CString& strPrefix);
    std::vector<HMENU> TemplateMenus() const;

    CFrameWnd* m_pFrame;
    std::vector<Entry> m_entries;
};

class SECAccelTable : public CObject
{
    DECLARE_DYNAMIC(SECAccelTable)
public:
    // A copy of the frame's current table (the main window's when null). The first table made
    // remembers that table as the program's default.
    explicit SECAccelTable(CFrameWnd* pFrame = nullptr);

    enum { magic = 0x5243414D, version = 1 };

    int GetCount() const { return (int)m_entries.size(); }
    const ACCEL& GetAt(int nIndex) const { return m_entries[(size_t)nIndex]; }
    // The first entry of a command, or -1.
    int FindCommand(UINT nID) const;
    // Gives the key to the command; the key leaves any other command.
    void SetShortcut(WORD wHotKey, UINT nCmdID);
    // Removes one assignment.
    void RemoveAt(int nIndex);
    void LoadDefault();
    void Serialize(CArchive& ar) override;

    // The shortcut file beside the module, or in the Windows directory.
    virtual void GetFileName(CString& strPath, BOOL bWindowsDir) const;
    virtual BOOL Load();
    virtual BOOL Save();
    // Installs the table in the frame, its templates and their open windows, and writes the key
    // names into the menus; FALSE (nothing changed) when the system refuses the table.
    virtual BOOL Apply();

    // The file's bytes (magic, version, compact count, entries) and their parsing; FALSE for
    // another magic or version or data that does not hold the count.
    std::vector<BYTE> ToBytes() const;
    static BOOL FromBytes(const BYTE* pData, size_t nBytes, std::vector<ACCEL>& entries);

    static HACCEL GetDefaultTable() { return s_hDefault; }

protected:
    static std::vector<ACCEL> TableEntries(HACCEL hAccel);
    void RewriteMenu(HMENU hMenu) const;

    CFrameWnd* m_pFrame;
    std::vector<ACCEL> m_entries;
    static HACCEL s_hDefault;
    static BOOL s_bDefaultSet;
};
