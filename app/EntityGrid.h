// The Entity Editor's key/value grid: one row per pair of the working entity, the value cell's
// control chosen by its key, and the framed panel with the "New" and "Delete" caption buttons
// that hosts it on the "Key/Value" page.
#pragma once
#include "afxwin.h"
#include "afxctrl.h"
#include "gxwnd.h"

class CGridPanel;
class Entity;

class CEntityGrid : public CGXGridWnd
{
public:
    explicit CEntityGrid(CGridPanel* pPanel = nullptr) : m_pPanel(pPanel) {}

    // Registers the cell controls, sets the two columns and their styles.
    void Initialize() override;

    // An empty row at the end; TRUE.
    virtual BOOL AddRow();
    // Removes the current cell's row and tells the frame; FALSE without a current cell.
    virtual BOOL RemoveRow();

    // The last column fills the window (the stored width while printing).
    int GetColWidth(ROWCOL nCol) override;
    BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol) override;
    void OnCellModified(ROWCOL nRow, ROWCOL nCol) override;

    // The editor's messages: an entity (or none) shown, its origin moved, the rows written back
    // (wParam nonzero: silently, leaving invalid rows out without a word).
    LRESULT OnLoadEntity(WPARAM wParam, LPARAM lParam);
    LRESULT OnOriginChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnApply(WPARAM wParam, LPARAM lParam);

    // A cell's text: what its control holds while it is edited, else the stored value.
    CString GetCellText(ROWCOL nRow, ROWCOL nCol);
    CGridPanel* GetPanel() const { return m_pPanel; }

    // The key choices of column 1, one per line.
    static const char s_keyChoices[];

protected:
    // Tells the main frame (which tells the editor) that the working entity changed.
    void NotifyModified();
    CGridPanel* m_pPanel;
    DECLARE_MESSAGE_MAP()
};

// A framed window over a dialog's placeholder control: a caption strip with the window's text
// and two buttons, and below it the placeholder, on which the grid lives.
class CGridPanel : public CWnd
{
public:
    enum { btnNew, btnDelete, btnCount };

    CGridPanel() = default;
    ~CGridPanel() override;

    // Takes the place of the parent's placeholder control and makes the grid on it.
    BOOL Create(CWnd* pParent, UINT nPlaceholderId);
    // The caption strip's height: a text line of the panel font or a button bitmap, whichever is
    // taller, with their margins.
    int LoadCaption();
    // Lays out the caption buttons, the placeholder and the grid in the panel's client area.
    void LayoutChildren();
    // A button's action, as a release inside it runs it.
    void RunButton(int nButton);

    CEntityGrid* GetGrid() const { return m_pGrid; }
    CWnd* GetPlaceholder() const { return CWnd::FromHandle(m_hPlaceholder); }
    CRect GetButtonRect(int nButton) const { return m_rectButtons[nButton]; }
    // Set while a caption button is held down with the pointer inside it.
    BOOL IsButtonDrawnPressed(int nButton) const { return m_nTracked == nButton && m_bInside; }
    CToolTipCtrl m_tips;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    void OnPaintCaption();
    void OnButtonDown(CPoint point);
    void DrawButton(CDC* pDC, int nButton);

    CEntityGrid* m_pGrid = nullptr;
    HWND m_hPlaceholder = nullptr;
    CBitmap m_bitmaps[btnCount];
    CBitmap m_pressed[btnCount];
    CRect m_rectButtons[btnCount];
    int m_nCaption = 0;
    int m_nTracked = -1;            // the button being pressed, -1 for none
    BOOL m_bInside = FALSE;         // the pointer is inside the tracked button
    BOOL m_bReleasedInside = FALSE; // the press ended inside the button
};
