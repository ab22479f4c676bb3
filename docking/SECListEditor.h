// An editable list for dialogs: a strip over a list box with its caption and New, Delete, Move Up
// and Move Down buttons; items are edited in place, added, deleted and moved with the keyboard,
// the strip or by dragging, and every change is reported through overridable hooks.
#pragma once
#include "afxwin.h"

class SECListEditor;

// Style bits of SECListEditor::Initialize.
#define LBEDIT_BROWSE       0x01    // F2 edits; the edit gets a "..." button (id 101)
#define LBEDIT_TYPETOEDIT   0x02    // a typed character starts editing with it
#define LBEDIT_BUTTONS      0x04    // the strip's four buttons
#define LBEDIT_TOOLTIPS     0x08    // tips for them
#define LBEDIT_KEYS         0x10    // Insert, Delete, Alt+Up, Alt+Down
#define LBEDIT_DRAG         0x20    // items are reordered by dragging

class SECListEditorEdit : public CEdit
{
public:
    SECListEditor* m_pEditor = nullptr;
    int m_nItem = -1;
    BOOL m_bAdding = FALSE;
    int m_nPrevSel = -1;
    UINT m_nBrowseID = 0;
    UINT m_nBrowseNotify = BN_CLICKED;
    BOOL m_bEnding = FALSE;     // an end is on its way: nothing more ends it

    // Posts the end of editing (the edit may not destroy itself from inside its own messages).
    void PostEnd(BOOL bCancel);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class SECListEditorListBox : public CListBox
{
public:
    SECListEditor* m_pEditor = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The window that shows the dragged item's text beside the cursor while an item is dragged; a
// window class of its own ("SECListBoxDragWnd").
class SECListBoxDragWnd : public CWnd
{
public:
    static const char s_szClassName[];
    // Registers the class once.
    static BOOL RegisterClass();
    // A popup owned by the list, as large as the item, showing its text.
    BOOL Create(CListBox* pList, int nItem);
    // The window's top-left corner follows the cursor (screen coordinates).
    void MoveTo(CPoint ptCursor);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HFONT m_hFont = nullptr;
};

class SECListEditor : public CWnd
{
    DECLARE_DYNAMIC(SECListEditor)
public:
    SECListEditor();
    ~SECListEditor() override;

    enum { btnNew, btnDelete, btnUp, btnDown, btnCount };
    enum { editID = 100, browseID = 101 };

    virtual BOOL Initialize(CWnd* pDlg, UINT nListID, DWORD dwStyle = 0x3E);
    virtual void EndEdit(BOOL bCancel);
    virtual void OnItemRenamed(int nIndex, const CString& strOld, const CString& strNew);
    virtual void OnItemAdded(int nIndex, const CString& strText);
    virtual void OnItemMoved(int nOldIndex, int nNewIndex, const CString& strText);
    virtual void OnItemDeleted(int nOldIndex, int nNewSel);
    virtual BOOL OnDeletingItem(int nIndex, const CString& strText);
    virtual BOOL NewItem();
    virtual BOOL DeleteItem();
    virtual BOOL MoveItemDown();
    virtual BOOL MoveItemUp();
    virtual BOOL StartEdit(char chFirst = 0);
    virtual int GetButtonStripHeight();
    virtual void LoadButtonBitmaps();

    SECListEditorListBox* GetListBox() const { return m_pList; }
    SECListEditorEdit* GetEdit() const { return m_pEdit; }
    BOOL IsAdding() const { return m_bAdding; }
    DWORD GetEditorStyle() const { return m_dwStyle; }
    CRect GetButtonRect(int nButton) const { return m_rectButtons[nButton]; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // A press on an item of the list: a drag only when the button is held more than 250 ms.
    void OnListButtonDown(CPoint point);
    // Moves an item (text and data) to another place; the selection follows it.
    void MoveItem(int nFrom, int nTo);

    CButton m_btnBrowse;
    CToolTipCtrl m_tips;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaintStrip();
    void OnStripButtonDown(CPoint point);
    void RunDragLoop(int nItem);
    // The insertion mark before item nIndex (the count: after the last); -1 draws nothing.
    CRect InsertMarkRect(int nIndex) const;
    void DrawInsertMark(int nIndex);

    SECListEditorEdit* m_pEdit;
    SECListEditorListBox* m_pList;
    CRect m_rectButtons[btnCount];
    DWORD m_dwStyle;
    BOOL m_bAdding;
    CString m_strStartText;
    CBitmap m_bitmaps[btnCount];
    int m_nMarkIndex;

    friend class SECListEditorEdit;
    friend class SECListEditorListBox;
};
