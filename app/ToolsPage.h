// The "Tools" page of the Customize sheet: the user tools edited on copies, given back to the main
// frame's list on OK. The list of tools is edited by a list-box editor that tells the page what it
// did with the messages below (wParam the item's index).
#pragma once
#include "afxsheet.h"
#include "SECBrowse.h"
#include "SECListEditor.h"
#include "UserTools.h"

#define WM_TOOLS_ITEM_RENAMED   (WM_USER + 1)
#define WM_TOOLS_ITEM_ADDED     (WM_USER + 2)
#define WM_TOOLS_ITEM_DELETED   (WM_USER + 3)   // wParam the new selection
#define WM_TOOLS_ITEM_MOVED     (WM_USER + 4)
#define WM_TOOLS_ITEM_DELETING  (WM_USER + 5)

// The page's list of tools: each change is reported to the page (its parent) at once.
class CToolsListEditor : public SECListEditor
{
public:
    void OnItemRenamed(int nIndex, const CString& strOld, const CString& strNew) override;
    void OnItemAdded(int nIndex, const CString& strText) override;
    void OnItemMoved(int nOldIndex, int nNewIndex, const CString& strText) override;
    void OnItemDeleted(int nOldIndex, int nNewSel) override;
    BOOL OnDeletingItem(int nIndex, const CString& strText) override;

private:
    void Report(UINT message, int nIndex);
};

class CCustomizeToolsPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CCustomizeToolsPage)
public:
    // The page edits copies of the tools; OK hands them to the list (whose caller saves them).
    explicit CCustomizeToolsPage(CUserTools& tools);
    ~CCustomizeToolsPage() override;

    // The tool shown in the fields (null when none).
    CUserTool* GetShownTool() const { return m_pShown; }
    CToolsListEditor& GetListEditor() { return m_listEditor; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy();

    void OnSelChange();
    LRESULT OnItemRenamed(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemAdded(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemDeleted(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnItemDeleting(WPARAM wParam, LPARAM lParam);
    void OnArgumentsMenu();
    void OnDirectoryMenu();

    // Keeps the fields of the shown tool, then shows the selected one.
    void ShowSelection();
    void StoreShown();
    void EnableFields(BOOL bEnable);
    // Pops up the menu's pop-up and puts the chosen macro into the edit at its caret.
    void InsertMacro(int nPopup, int nEditID, int nButtonID);
    // Deletes the tool copies the list still holds.
    void DeleteCopies();

    HWND List() const;
    CUserTool* ItemTool(int nIndex) const;

    CUserTools& m_tools;
    CUserTool* m_pShown;
    CToolsListEditor m_listEditor;
    SECBrowseFileEdit m_editCommand;
    SECBrowseDirEdit m_editDirectory;

    DECLARE_MESSAGE_MAP()
};
