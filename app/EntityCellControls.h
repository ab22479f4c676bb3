// The value cells of the entity key/value grid that know their key: compass angles, the map's
// target names, spawn flags labelled from the entity's class, number-only edits, and a mangle
// edit whose button opens a small grid of three angles. One object of each serves every cell
// of its control id on its grid.
#pragma once
#include "gxctrli.h"
#include "gxwnd.h"
#include "EntityGridRules.h"
#include <vector>

class Entity;

// Registers the six controls on a grid under their ids (GX_IDS_CTRL_ENTITY_*); the grid owns them.
void RegisterEntityCellControls(CGXGridEngine* pGrid);

// The compass angles and the two special values for up and down.
class CGridAngleComboBox : public CGXComboBox
{
    DECLARE_DYNAMIC(CGridAngleComboBox)
    GX_DECLARE_CONTROL(CGridAngleComboBox)
public:
    CGridAngleComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags);
    // A value that is not in the list opens it with nothing selected.
    void ShowDropList(BOOL bShow) override;
    void FillDropList(CListBox* pList) override;
    void TakeListSelection(CListBox* pList) override;

protected:
    BOOL m_bMatched = FALSE;    // the open list selected the cell's text
};

// The "targetname" values of the active map, each once.
class CGridTargetComboBox : public CGXComboBox
{
    DECLARE_DYNAMIC(CGridTargetComboBox)
    GX_DECLARE_CONTROL(CGridTargetComboBox)
public:
    CGridTargetComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags);
    // The names are collected and their messages shown before the list window exists: a message
    // box while the list is being built would take its focus and close it half made.
    void ShowDropList(BOOL bShow) override;
    void FillDropList(CListBox* pList) override;
    void TakeListSelection(CListBox* pList) override;

    const std::vector<CString>& GetTargetNames() const { return m_names; }

protected:
    void CollectNames();
    std::vector<CString> m_names;
    BOOL m_bMatched = FALSE;
};

// Twelve check items: the class's eight spawn flags and the four skill and mode flags. The cell
// shows its number; closing the list stores the ticks and keeps the bits above them.
class CGridSpawnFlagsComboBox : public CGXCheckListComboBox
{
    DECLARE_DYNAMIC(CGridSpawnFlagsComboBox)
    GX_DECLARE_CONTROL(CGridSpawnFlagsComboBox)
public:
    CGridSpawnFlagsComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID);
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    void FillDropList(CListBox* pList) override;
    void TakeListSelection(CListBox* pList) override;
    CRect GetDropDownRect(const CRect& rectCell) override;

    enum { kItems = 12, kListHeight = 200 };
    const CString& GetShownValue() const { return m_strShownValue; }

protected:
    int m_nItems = kItems;
    CString m_strShownValue;    // the value the open list was filled with
};

// Digits and "." only.
class CGridNumberEdit : public CGXEditControl
{
    DECLARE_DYNAMIC(CGridNumberEdit)
    GX_DECLARE_CONTROL(CGridNumberEdit)
public:
    CGridNumberEdit(CGXGridEngine* pGrid, UINT nID) : CGXEditControl(pGrid, nID) {}
    BOOL ValidateString(const CString& sEdit) override;
};

// Digits and "." with a leading "-".
class CGridNegativeNumberEdit : public CGXEditControl
{
    DECLARE_DYNAMIC(CGridNegativeNumberEdit)
    GX_DECLARE_CONTROL(CGridNegativeNumberEdit)
public:
    CGridNegativeNumberEdit(CGXGridEngine* pGrid, UINT nID) : CGXEditControl(pGrid, nID) {}
    BOOL ValidateString(const CString& sEdit) override;
};

class CGridMangleControl;

// The mangle control's pop-up: Roll, Pitch and Yaw, each an angle combo box.
class CGridMangle : public CGXGridWnd
{
    DECLARE_DYNAMIC(CGridMangle)
public:
    explicit CGridMangle(CGridMangleControl* pOwner) : m_pOwner(pOwner) {}

    enum { kRoll = 1, kPitch = 2, kYaw = 3 };
    void Initialize() override;
    BOOL OnCellLeftClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt, UINT nFlags,
                         WORD nHitState) override;
    BOOL DispatchKeyMessage(CWnd* pWnd, UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    // "<Pitch> <Yaw> <Roll>", the order the game reads a mangle in.
    CString GetMangleText();
    // The three angles from a mangle text; words that are missing stay "0".
    void SetMangleText(LPCSTR text);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostToOwner(UINT message);
    CGridMangleControl* m_pOwner;
};

// An edit with a button at the right that opens the three-angle pop-up below the cell.
class CGridMangleControl : public CGXEditControl
{
    DECLARE_DYNAMIC(CGridMangleControl)
    GX_DECLARE_CONTROL(CGridMangleControl)
public:
    CGridMangleControl(CGXGridEngine* pGrid, UINT nID, DWORD dwFlags = 0);
    ~CGridMangleControl() override;

    void Init(ROWCOL nRow, ROWCOL nCol) override;
    void Reset() override;
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    BOOL OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message, int& retval) override;
    void OnClickedButton(GXCellChild* pChild) override;
    void LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;

    CGridMangle* GetPopup() const { return m_pPopup; }
    GXCellButton* GetButton() const { return m_pButton; }
    void OpenPopup();
    // Closes the pop-up; with bStore its angles become the cell's text.
    void ClosePopup(BOOL bStore);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    GXCellButton* m_pButton;
    CGridMangle* m_pPopup = nullptr;
    DWORD m_dwMangleFlags;
};
