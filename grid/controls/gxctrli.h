// The cell controls of the library.
#pragma once
#include "gxcontrol.h"
#include "gxctllogic.h"
#include "afxctrl.h"
#include "gxwnd.h"
#include <vector>

// Shared by the controls' drawing.
// Whether the grid prints in black and white.
BOOL GXIsBlackWhite(CGXGridEngine* pGrid);
// The DrawText format of a cell's text: the style's alignments, word breaks
// when it wraps text, else one line; no prefix characters.
UINT GXCellTextFormat(const CGXStyle& style);
// Saves the device context (the caller restores it with RestoreDC and the
// answer) and sets it up for a cell's text: the style's font, the colour,
// transparent background.
int GXBeginCellText(CGXGridEngine* pGrid, CDC* pDC, const CGXStyle& style, COLORREF clrText);
// The grid's device context for measuring the cell a control holds as the grid shows it, saved
// (the caller restores it with RestoreDC and nSaved) with the cell's font selected; null when the
// control holds no cell or its grid has no window, which leaves nothing to measure with.
CDC* GXBeginOwnCellMeasure(CGXControl* pControl, int& nSaved);

// Shows a cell's text with the style's font, colours, alignment and wrapping;
// the drawing base of the editing controls.
class CGXStatic : public CGXControl
{
    GX_DECLARE_CONTROL(CGXStatic)
public:
    explicit CGXStatic(CGXGridEngine* pGrid) : CGXControl(pGrid) {}

    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    CSize AddBorders(CSize size, const CGXStyle& style) override;
    BOOL CanFloatCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, BOOL bFloatCell) override;
    CSize CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                   BOOL bHeight) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;

    // The text margin: half the window frame, at least 3, else 2.
    static int TextMargin();
};

// Draws the cell's number as a bar between two bounds (user attributes) with
// a caption made from the number.
class CGXProgressCtrl : public CGXControl
{
    GX_DECLARE_CONTROL(CGXProgressCtrl)
public:
    explicit CGXProgressCtrl(CGXGridEngine* pGrid) : CGXControl(pGrid) {}

    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;

    virtual CString GetCaption(const CGXStyle& style);
    // The bar's colour (TRUE) or the background's (FALSE).
    virtual COLORREF GetBarColor(const CGXStyle& style, BOOL bBar);
    // The caption's colour over the bar (TRUE) or beside it (FALSE).
    virtual COLORREF GetCaptionColor(const CGXStyle& style, BOOL bOverBar);
};

// Draws the header cells of a grid: raised, or pressed while the row or
// column is shown selected.
class CGXHeader : public CGXStatic
{
    GX_DECLARE_CONTROL(CGXHeader)
public:
    explicit CGXHeader(CGXGridEngine* pGrid) : CGXStatic(pGrid) {}

    void InvertArea(CDC* pDC, const CRect& rect) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
};

// A check box drawn from a strip of box images, with the cell's choice list
// as its label; a click or the space bar toggles the cell's value between the
// checked and unchecked texts (user attributes, "1" and "0" by default).
class CGXCheckBox : public CGXControl
{
    GX_DECLARE_CONTROL(CGXCheckBox)
public:
    CGXCheckBox(CGXGridEngine* pGrid, BOOL bDraw3d = FALSE, UINT nStripId = 0, UINT nPrintStripId = 0);
    ~CGXCheckBox() override;

    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    BOOL OnMouseMove(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDown(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDblClk(UINT nFlags, CPoint pt) override;
    BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnClickedButton(GXCellChild* pChild) override;
    void OnGridSysColorChange() override;

    virtual UINT GetState(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style);
    virtual void DrawCheckBox(CDC* pDC, const CRect& rectCell, UINT nState, const CString& sLabel, const CGXStyle& style);
    virtual CRect GetCheckBoxRect(CDC* pDC, const CRect& rectCell, const CString& sLabel, const CGXStyle& style);
    virtual COLORREF MapStripColor(COLORREF color, BOOL bPrint);
    virtual BOOL LoadStrips();

    BOOL IsPressed() const { return m_button.Pressed(); }
    UINT GetStripId() const { return m_nStripId; }
    // Where the box was placed last in the control's own cell: drawn there, or placed for a press.
    const CRect& GetLastBoxRect() const { return m_rectBox; }

protected:
    // Places the box in the control's own cell as the grid shows that cell now.
    void PlaceBox();
    void FreeStrips();
    HGLOBAL LoadStrip(UINT nID, BOOL bPrint);
    void CheckedTexts(CString& sChecked, CString& sUnchecked);

    BOOL m_bDraw3d;
    HGLOBAL m_hStrip = nullptr;
    HGLOBAL m_hPrintStrip = nullptr;
    UINT m_nStripId;
    UINT m_nPrintStripId;
    int m_nBoxSize = 13;
    GXButtonState m_button;   // a press that began in the box
    CRect m_rectBox;
};

// One round button per non-empty line of the cell's choice list; the value is
// the chosen line's index among them, empty for none.
class CGXRadioButton : public CGXControl
{
    GX_DECLARE_CONTROL(CGXRadioButton)
public:
    CGXRadioButton(CGXGridEngine* pGrid, BOOL bDraw3d = FALSE) : CGXControl(pGrid), m_bDraw3d(bDraw3d) {}

    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // The line under the point as placed last in the control's own cell, or -1.
    int HitTest(CPoint pt) const;
    int GetChoiceCount() const { return m_nCount; }

protected:
    // Lays the lines out in the control's own cell as the grid shows that cell now.
    void PlaceLines();
    void Choose(int nIndex);

    BOOL m_bDraw3d;
    int m_nCount = 0;
    std::vector<CRect> m_lineRects;   // per choice: button and text, drawn last in the control's cell
};

// ---------------------------------------------------------------------------
// Cell buttons

// A push button inside a cell with a caption: pressed by the left button or
// the space bar, it reports a click to its control on release.
class GXCellButton : public GXCellChild
{
public:
    explicit GXCellButton(CGXControl* pControl) : GXCellChild(pControl) {}

    void Draw(CDC* pDC, BOOL bActive) override;
    BOOL OnMouseMove(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDown(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void CancelPress() override;

    BOOL IsPressed() const { return m_state.Pressed(); }
    BOOL m_bRedrawOnChange = TRUE;

protected:
    // The face and edge; answers the content rectangle (moved by a pressed look).
    CRect DrawFace(CDC* pDC, BOOL bActive);
    void Changed(BOOL bWasPressed);
    GXButtonState m_state;
};

// A button that clicks at the press and again while held, on the repeat
// schedule: checked at every mouse move and by a timer, so that a button held
// still repeats too.
class CGXRepeatButton : public GXCellButton
{
public:
    explicit CGXRepeatButton(CGXControl* pControl) : GXCellButton(pControl) {}
    ~CGXRepeatButton() override;

    BOOL OnMouseMove(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDown(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    void CancelPress() override;
    // A repeat when one is due now (the timer's and the mouse move's check).
    void CheckRepeat();

protected:
    void StopTimer();
    GXRepeatSchedule m_schedule;
    UINT_PTR m_nTimer = 0;
};

// The drop-down arrow of the combo boxes: drawn in the current cell, and in
// every cell when its control asks for it.
class GXBitmapCellButton : public GXCellButton
{
public:
    explicit GXBitmapCellButton(CGXControl* pControl) : GXCellButton(pControl) {}
    void Draw(CDC* pDC, BOOL bActive) override;

protected:
    virtual BOOL ShowInInactiveCells();
    void DrawArrow(CDC* pDC, BOOL bActive);
};

// The arrow of the combo-box window controls, hidden behind the window's own
// button while the window shows.
class CGXComboArrowButton : public GXBitmapCellButton
{
public:
    explicit CGXComboArrowButton(CGXControl* pControl) : GXBitmapCellButton(pControl) {}
    void Draw(CDC* pDC, BOOL bActive) override;
    // Set by the window control: the arrow shows in every cell.
    BOOL m_bShowInInactiveCells = FALSE;
};

class CGXHotSpotButton : public GXCellButton
{
public:
    explicit CGXHotSpotButton(CGXControl* pControl) : GXCellButton(pControl) {}
    void Draw(CDC* pDC, BOOL bActive) override;
};

class CGXSpinUpButton : public CGXRepeatButton
{
public:
    explicit CGXSpinUpButton(CGXControl* pControl) : CGXRepeatButton(pControl) {}
    void Draw(CDC* pDC, BOOL bActive) override;
};

class CGXSpinDownButton : public CGXRepeatButton
{
public:
    explicit CGXSpinDownButton(CGXControl* pControl) : CGXRepeatButton(pControl) {}
    void Draw(CDC* pDC, BOOL bActive) override;
};

// The glyphs of the hot-spot and spin buttons, drawn in black into rect
// (already moved for a pressed look).
void GXDrawHotSpotGlyph(CDC* pDC, const CRect& rect);
void GXDrawSpinGlyph(CDC* pDC, const CRect& rect, BOOL bUp);

// ---------------------------------------------------------------------------
// Edit control

// Adds the lines of a cell's choice list to a list or combo box window with its
// add message (LB_ADDSTRING or CB_ADDSTRING), from line nFirst on; answers how
// many it added.
int GXAddChoiceLines(CWnd* pWnd, UINT nAddMessage, const CGXStyle& style, int nFirst = 0);

// The active flag of a window-based control: activation needs the window, and
// a control that turns active re-reads its cell's style.
void GXSetWindowControlActive(CGXControl* pControl, HWND hWnd, BOOL& bActiveFlag, BOOL bActive);

// Where the window of an active cell control was shown: the cell rectangle it was shown over and
// the place the window got (its parent's client coordinates). A remembered cell rectangle alone
// is not enough: a scroll carries the window along with the pixels without drawing the cell, so
// the cell can later come back to that rectangle while the window is elsewhere.
class GXShownOver
{
public:
    void Remember(CWnd* pWnd, const CRect& rectCell);
    // TRUE while the window is visible and still where it was put over this cell rectangle.
    BOOL Holds(CWnd* pWnd, const CRect& rectCell) const;
    // Hides a cell control's window, parked without a size at ptPark of its parent, and has the
    // parent draw again what the window covered: moved without drawing, the window would leave
    // its pixels on the grid (a wrapped edit reaches over the rows below its cell).
    static void HideWindow(CWnd* pWnd, CPoint ptPark = CPoint(0, 0));

private:
    static CRect Place(CWnd* pWnd);
    CRect m_rectCell;
    CRect m_rectWnd;
};

// Opens the clipboard for a paste unless a window of this program holds it
// open already (that window then keeps it open for us); bOpened says whether
// the caller closes it.
BOOL GXOpenClipboardForPaste(HWND hWnd, BOOL& bOpened);

// Set while an input method composes text: drawing leaves the edit window where it is.
extern BOOL g_bImeComposing;

// Edits the current cell in an edit window laid over it; every other cell is
// drawn as static text. Keys that would leave the text move the current cell.
class CGXEditControl : public CEdit, public CGXStatic
{
    DECLARE_DYNAMIC(CGXEditControl)
    GX_DECLARE_CONTROL(CGXEditControl)
public:
    CGXEditControl(CGXGridEngine* pGrid, UINT nID);
    ~CGXEditControl() override;
    using CGXControl::IsKindOf;
    using CObject::IsKindOf;
    using CGXControl::GetStyle;

    CRuntimeClass* GetWndRuntimeClass() const override { return RUNTIME_CLASS(CGXEditControl); }
    CWnd* GetWnd() override { return this; }
    void SetActive(BOOL bActive) override;
    BOOL IsActive() override { return m_bActive; }
    void SetModify(BOOL bModified) override;
    BOOL GetModify() override;
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    int Store() override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void GetValue(CString& strResult) override;
    void SetCurrentText(const CString& str) override;
    BOOL GetCurrentText(CString& strResult) override;
    void SetValue(LPCSTR lpszValue) override;
    void Hide() override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDblClk(UINT nFlags, CPoint pt) override;
    BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridDoubleByteChar(const CString& sChar, UINT nRepCnt, UINT nFlags) override;
    BOOL Copy() override { return CGXControl::Copy(); }
    BOOL Paste() override { return CGXControl::Paste(); }
    BOOL Cut() override { return CGXControl::Cut(); }
    BOOL FindText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol, BOOL bCurrentPos, BOOL bSetCell) override;
    void ReplaceSel(LPCSTR lpszNewText) override;
    BOOL ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol) override;
    BOOL GetSelectedText(CString& sWindowText) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void Invalidate() override { CGXStatic::Invalidate(); }

    // Window side: whether the edit window processes a typed character itself.
    virtual BOOL HandleEditKey(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL CreateEditWindow(DWORD dwStyle, const CRect& rect);
    virtual DWORD CalcEditStyle(CRect& rect, int& nHeight);
    int CharIndexFromPoint(CPoint pt);
    void UpdateCaret();
    // The window text, and the text the window shows for a cell's value.
    CString GetEditText() const;
    void SetEditText(LPCSTR lpszText);
    // The text a typed candidate would produce in place of the selection.
    CString TextWithInsertion(const CString& sCandidate);
    const CString& GetPendingText() const { return m_strPending; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void OnEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnEditSetFocus();
    // Store's last step: the text GetCurrentText converted goes into the cell.
    virtual BOOL StoreCurrentText(const CString& sText);
    // Hands a key message to the grid; TRUE when the grid took it.
    BOOL ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);
    // Starts editing with the caret at the start (Home) or after the end (End).
    BOOL StartWithCaret(BOOL bEnd);
    void ShowWindowOver(CDC* pDC, const CRect& rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style);
    // Scrolls the text back to its start and then just far enough to show the caret.
    void ScrollFromStartToCaret();
    // A new window of another style in place of the current one, keeping its
    // text, selection, modified mark, read-only state, font and focus.
    void RecreateEditWindow(DWORD dwStyle, const CRect& rect);

    BOOL m_bActive = FALSE;
    BOOL m_bRecreating = FALSE;   // the old window's loss of focus is no leaving
    BOOL m_bAutoSize = FALSE;
    BOOL m_bWantReturn = FALSE;
    BOOL m_bVertScroll = FALSE;
    int m_nHorzAlign = DT_LEFT;
    BOOL m_bWrapText = TRUE;
    UINT m_nID;
    BOOL m_bReplacing = FALSE;
    CFont m_font;
    COLORREF m_rgbHighlightText;
    CString m_strPending;
    BOOL m_bResetSelection = FALSE;
    int m_nLineHeight = 0;
    int m_nAvgCharWidth = 0;
    GXShownOver m_shownOver;   // where the window was last shown
};

// ---------------------------------------------------------------------------
// Combo boxes

enum
{
    GXCOMBO_TEXTFIT = 1,
    GXCOMBO_NOTEXTFIT = 2,
    GXCOMBO_ZEROBASED = 4,
    GXCOMBO_ONEBASED = 8,
    GXCOMBO_DISPLAYCHOICE = 16,
};

// Messages between the drop-down list and its control's edit window.
enum
{
    GXM_LISTCHOOSE = 0x7AD,
    GXM_LISTCLOSE = 0x7B8,
    GXM_LISTSELCHANGE = 0x7C3,
    GXM_LISTKILLFOCUS = 0x7C4,
};
// wParam of GXM_LISTCLOSE when the list was cancelled (Escape): the cell gets back the text it
// had when the list opened.
const WPARAM GXLISTCLOSE_CANCEL = 1;

// The pure conversions of a combo box's value modes.
// The text a cell shows for a value in display mode (empty when no choice
// matches, or for an index out of range); other modes show the value.
CString GXComboDisplayText(UINT nMode, LPCSTR lpszValue, LPCSTR lpszChoices);
// What a typed text stores: TRUE with the stored text, or FALSE when the text
// fits no choice in text-fit or display mode (an empty text stores empty).
BOOL GXComboStoredText(UINT nMode, LPCSTR lpszTyped, LPCSTR lpszChoices, CString& sStored);
// Where the list opens for a cell (screen coordinates) on a desktop: below
// the cell, moved left at the right edge, above the cell at the bottom edge,
// clipped to the desktop. nContent is the list's content height.
CRect GXComboDropDownRect(const CRect& rectCell, int nMaxHeight, int nContent, const CRect& rectDesktop);
// The check-list mask of a value: checks of items from index 32 on are never set.
BOOL GXCheckListIsChecked(LPCSTR lpszValue, int nItem);

class CGXComboBox;

// The list of an open combo box.
class CGXComboListBox : public CListBox
{
public:
    CGXComboListBox(CWnd* pOwner) : m_pOwner(pOwner) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL m_bKeyDown = FALSE;
    BOOL m_bButtonDown = FALSE;
    CWnd* m_pOwner;
    int m_nSelAtStart = -1;
    UINT m_nLastKey = 0;
    int m_nRepeat = 0;
};

class CGXComboBox : public CGXEditControl
{
    DECLARE_DYNAMIC(CGXComboBox)
    GX_DECLARE_CONTROL(CGXComboBox)
public:
    CGXComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID, UINT nValueMode);
    ~CGXComboBox() override;

    void Init(ROWCOL nRow, ROWCOL nCol) override;
    void SetActive(BOOL bActive) override;
    void Reset() override;
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    CSize AddBorders(CSize size, const CGXStyle& style) override;
    CSize CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                   BOOL bHeight) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    BOOL GetCurrentText(CString& strResult) override;
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    BOOL SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle) override;
    BOOL OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message, int& retval) override;
    BOOL OnGridSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void ReplaceSel(LPCSTR lpszNewText) override;
    void OnClickedButton(GXCellChild* pChild) override;
    void OnGridScroll(UINT nMessage) override;
    void LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    BOOL ValidateString(const CString& sEdit) override;

    virtual CWnd* CreateDropDownWnd(const CRect& rect);
    virtual CListBox* CreateListBox(CWnd* pParent);
    virtual void ShowDropList(BOOL bShow);
    virtual BOOL IsDropListVisible() const { return m_pDropDownWnd != nullptr; }
    virtual void TakeListSelection(CListBox* pList);
    virtual void FillDropList(CListBox* pList);
    virtual CRect GetDropDownRect(const CRect& rectCell);
    virtual void DestroyDropDown();
    CListBox* GetListBox() const { return m_pListBox; }
    UINT GetValueMode() const { return m_nValueMode; }

    BOOL m_bFillFromChoiceList = TRUE;
    BOOL m_bFullWidthWhenInactive = FALSE;
    BOOL m_bButtonInInactiveCells = FALSE;
    UINT m_nValueMode;
    DWORD m_dwListBoxStyle = 0;
    BOOL m_bStaticWhenActive = FALSE;
    BOOL m_bSizeButtonToText = TRUE;
    GXBitmapCellButton* m_pArrowButton;
    UINT m_nListBoxID;
    GXBrushWnd* m_pDropDownWnd = nullptr;
    CFont m_ListFont;
    int m_nTextHeight = 0;
    int m_nButtonFrame = 1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual LRESULT OnListChoose();
    virtual LRESULT OnListClose(BOOL bKeepFocus, BOOL bCancel = FALSE);
    virtual LRESULT OnListSelChange();
    virtual LRESULT OnListKillFocus();
    // Closes an open list at once: flags cleared, popup gone.
    void CloseList();
    // Closes an open list at once, keeping what the user changed in it (a check list's ticks).
    virtual void CloseListKeepingChanges();
    // The edit text and modified mark the control had when the list opened.
    void RestoreTextAtOpen();
    CListBox* m_pListBox = nullptr;
    BOOL m_bOpenedActive = FALSE;
    CString m_strTextAtOpen;
    BOOL m_bModifiedAtOpen = FALSE;
};

// The list of a check-list combo box.
class CGXCheckListComboLBox : public CCheckListBox
{
public:
    CGXCheckListComboLBox(CWnd* pOwner) : m_pOwner(pOwner) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL m_bKeyDown = FALSE;
    BOOL m_bButtonDown = FALSE;
    CWnd* m_pOwner;
};

// A caption and a drop-down check list whose checks the cell stores as a bit mask.
class CGXCheckListComboBox : public CGXComboBox
{
    DECLARE_DYNAMIC(CGXCheckListComboBox)
    GX_DECLARE_CONTROL(CGXCheckListComboBox)
public:
    CGXCheckListComboBox(CGXGridEngine* pGrid, UINT nEditID = 0, UINT nListBoxID = 0);

    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void SetActive(BOOL) override {}
    BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL HandleEditKey(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    CListBox* CreateListBox(CWnd* pParent) override;
    void FillDropList(CListBox* pList) override;
    void TakeListSelection(CListBox* pList) override;
    int GetCheckCount() const { return m_nCheckCount; }

protected:
    LRESULT OnListChoose() override;
    LRESULT OnListClose(BOOL bKeepFocus, BOOL bCancel = FALSE) override;
    void CloseListKeepingChanges() override;
    LRESULT OnListSelChange() override { return 0; }
    LRESULT OnListKillFocus() override;
    void OnEditSetFocus() override;
    int m_nCheckCount = 0;
};

// ---------------------------------------------------------------------------
// Edit variants

// Shows and edits the text masked.
class CGXPasswordControl : public CGXEditControl
{
    DECLARE_DYNAMIC(CGXPasswordControl)
    GX_DECLARE_CONTROL(CGXPasswordControl)
public:
    CGXPasswordControl(CGXGridEngine* pGrid, UINT nID);

    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    void SetValue(LPCSTR lpszValue) override;
    // The text never reaches the clipboard or a search.
    BOOL Copy() override { return TRUE; }
    BOOL Cut() override { return TRUE; }
    void GetCopyText(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, CString& sResult) override;
    BOOL FindText(const FindReplaceState&, ROWCOL, ROWCOL, BOOL, BOOL) override { return FALSE; }
    DWORD CalcEditStyle(CRect& rect, int& nHeight) override;

    BOOL m_bHideText = TRUE;
    char m_chPassword = '*';

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// An edit whose wrapped text gets a vertical scroll bar when it does not fit.
class CGXVScrollEdit : public CGXEditControl
{
    DECLARE_DYNAMIC(CGXVScrollEdit)
    GX_DECLARE_CONTROL(CGXVScrollEdit)
public:
    CGXVScrollEdit(CGXGridEngine* pGrid, UINT nID) : CGXEditControl(pGrid, nID) {}
    DWORD CalcEditStyle(CRect& rect, int& nHeight) override;
};

// An edit with a small button at the cell's right; its click reaches the grid's hook.
class CGXHotSpotEdit : public CGXEditControl
{
    DECLARE_DYNAMIC(CGXHotSpotEdit)
    GX_DECLARE_CONTROL(CGXHotSpotEdit)
public:
    CGXHotSpotEdit(CGXGridEngine* pGrid, UINT nID);
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    CSize AddBorders(CSize size, const CGXStyle& style) override;
    void LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    CGXHotSpotButton* m_pHotSpot;
};

// A whole number with up and down buttons that step it within bounds read
// from the cell's user attributes.
class CGXSpinEdit : public CGXEditControl
{
    DECLARE_DYNAMIC(CGXSpinEdit)
    GX_DECLARE_CONTROL(CGXSpinEdit)
public:
    CGXSpinEdit(CGXGridEngine* pGrid, UINT nID);
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    CSize AddBorders(CSize size, const CGXStyle& style) override;
    BOOL OnLButtonDown(UINT nFlags, CPoint pt) override;
    void OnClickedButton(GXCellChild* pChild) override;
    void LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    // The bounds of the held cell's attributes.
    GXSpinBounds ReadBounds();

    CGXSpinUpButton* m_pUpArrow;
    CGXSpinDownButton* m_pDownArrow;
    GXSpinBounds m_bounds;
};

// ---------------------------------------------------------------------------
// Push button and list box

// The cell drawn as one push button captioned with the cell's choice list;
// a click reaches the grid's button hook.
class CGXPushbutton : public CGXControl
{
    GX_DECLARE_CONTROL(CGXPushbutton)
public:
    explicit CGXPushbutton(CGXGridEngine* pGrid);
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    CSize CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                   BOOL bHeight) override;
    void InvertArea(CDC*, const CRect&) override {}
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    GXCellButton* m_pButton;
};

// The cell's choice list as lines, the chosen line's text the value: a real
// list in the current cell, drawn lines elsewhere.
class CGXListBox : public CListBox, public CGXControl
{
    DECLARE_DYNAMIC(CGXListBox)
    GX_DECLARE_CONTROL(CGXListBox)
public:
    CGXListBox(CGXGridEngine* pGrid, UINT nID);
    ~CGXListBox() override;
    using CGXControl::IsKindOf;
    using CObject::IsKindOf;
    using CGXControl::GetStyle;

    CRuntimeClass* GetWndRuntimeClass() const override { return RUNTIME_CLASS(CGXListBox); }
    CWnd* GetWnd() override { return this; }
    void SetActive(BOOL bActive) override;
    BOOL IsActive() override { return m_bActive; }
    void SetModify(BOOL bModified) override { m_bModified = bModified; }
    BOOL GetModify() override { return m_bModified; }
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    int Store() override;
    CSize CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                   BOOL bHeight) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void GetValue(CString& strResult) override;
    void SetValue(LPCSTR lpszValue) override;
    void Hide() override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDblClk(UINT nFlags, CPoint pt) override;
    BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void Invalidate() override { CGXControl::Invalidate(); }

    void FillList();
    BOOL CreateListWindow();
    // The line drawn inverted for a value: the exact line, or -1.
    static int ChosenLine(LPCSTR lpszChoices, LPCSTR lpszValue);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL ActivateForClick(UINT nFlags, CPoint pt);
    BOOL ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);

    UINT m_nID;
    CFont m_font;
    COLORREF m_rgbHighlightText;
    COLORREF m_rgbBack = RGB(255, 255, 255);
    HBRUSH m_hBackBrush = nullptr;
    BOOL m_bActive = FALSE;
    BOOL m_bModified = FALSE;
    GXShownOver m_shownOver;   // where the window was last shown
};

// ---------------------------------------------------------------------------
// Tabbed combo box

// The engine's entry lookup GXFindTabListEntry (gxutil.h) in the order the
// tabbed combo boxes pass their arguments: the index (the title line not
// counted when skipped) of the first entry whose column equals the key
// exactly (case-sensitive) or, not exact, begins with it ignoring case; -1
// and an empty entry when none.
int GXFindTabEntry(LPCSTR lpszKey, int nColumn, LPCSTR lpszList, BOOL bSkipTitle, BOOL bExact, CString& sEntry);
// One field of an entry, cut at 127 characters.
CString GXTabField(LPCSTR lpszEntry, int nColumn);

// The attributes and the column layout of a tabbed choice list.
struct GXTabbedList
{
    int nKeyCol = 0;
    int nTextCol = 0;
    BOOL bShowAllCols = TRUE;
    BOOL bDispTitles = FALSE;
    int nSortCol = -1;
    CString strColWidths;
    std::vector<CString> items;   // as a list holds them: the text column first
    CString title;
    std::vector<int> stops;       // running right edges of the columns but the last
    int nTotalWidth = 0;

    void ReadAttributes(const CGXStyle& style);
    // Sorts the entries once when asked (the sorted list and "-1" go back into
    // the style), measures them in the device context's font and lays out
    // the columns (at most 10): given widths first, else measured ones.
    void Build(CDC* pDC, CGXStyle& style);
};

class CGXTabbedComboBox;

class CGXTabbedComboListBox : public CGXComboListBox
{
public:
    CGXTabbedComboListBox(CWnd* pOwner, CGXTabbedComboBox* pCombo) : CGXComboListBox(pOwner), m_pCombo(pCombo) {}
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    int CompareItem(LPCOMPAREITEMSTRUCT) override { return -1; }

protected:
    CGXTabbedComboBox* m_pCombo;
};

// The column titles above (or below) an open tabbed list.
class CGXTabbedPopupWnd : public CWnd
{
public:
    BOOL m_bShowAllCols = TRUE;
    int m_nTextCol = 0;
    std::vector<int> m_stops;
    HFONT m_hFont = nullptr;
    CString m_strTitle;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A combo box over a table: the cell stores one column of the chosen entry
// (the key) and shows and edits another (the text); the list shows columns.
class CGXTabbedComboBox : public CGXComboBox
{
    DECLARE_DYNAMIC(CGXTabbedComboBox)
    GX_DECLARE_CONTROL(CGXTabbedComboBox)
public:
    CGXTabbedComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID);
    ~CGXTabbedComboBox() override;

    void Init(ROWCOL nRow, ROWCOL nCol) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void SetValue(LPCSTR lpszValue) override;
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    BOOL GetCurrentText(CString& strResult) override;
    BOOL SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle) override;
    BOOL ValidateString(const CString& sEdit) override;
    BOOL OnValidate() override;
    BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    CListBox* CreateListBox(CWnd* pParent) override;
    void ShowDropList(BOOL bShow) override;
    void TakeListSelection(CListBox* pList) override;
    void FillDropList(CListBox* pList) override;
    CRect GetDropDownRect(const CRect& rectCell) override;
    void DestroyDropDown() override;
    virtual void AutoComplete();

    // The attributes as the held cell gives them.
    void ReadAttributes(const CGXStyle& style);
    const std::vector<int>& GetStops() const { return m_stops; }
    CGXTabbedPopupWnd* GetTitleWnd() const { return m_pTitleWnd; }

    int m_nKeyCol = 0;
    int m_nTextCol = 0;
    BOOL m_bShowAllCols = TRUE;
    BOOL m_bDispTitles = TRUE;
    int m_nSortCol = -1;
    CString m_strColWidths;
    COLORREF m_rgbBack = RGB(255, 255, 255);
    COLORREF m_rgbText = RGB(0, 0, 0);
    COLORREF m_rgbGridLine = RGB(192, 192, 192);
    BOOL m_bAutoComplete = TRUE;
    int m_nItemHeight = 10;
    int m_nTotalWidth = 0;

protected:
    void OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL StoreCurrentText(const CString& sKey) override;
    // The entry list of a style (its choice list) and whether its first line is titles.
    CString Choices(const CGXStyle* pStyle) const;
    std::vector<int> m_stops;
    CGXTabbedPopupWnd* m_pTitleWnd;
    BOOL m_bListFilled = FALSE;
};

// ---------------------------------------------------------------------------
// Combo box window control

class CGXComboBoxWnd;

// The edit child of a drop-down system combo box: its keys go to the control first.
class CGXComboBoxWndEdit : public CEdit
{
public:
    CGXComboBoxWnd* m_pCombo = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A real system combo box in the active cell; static text elsewhere.
class CGXComboBoxWnd : public CComboBox, public CGXStatic
{
    DECLARE_DYNAMIC(CGXComboBoxWnd)
    GX_DECLARE_CONTROL(CGXComboBoxWnd)
public:
    explicit CGXComboBoxWnd(CGXGridEngine* pGrid);
    ~CGXComboBoxWnd() override;
    using CGXControl::IsKindOf;
    using CObject::IsKindOf;
    using CGXControl::GetStyle;

    // Makes the arrow button and the combo box window; FALSE without a window.
    virtual BOOL CreateControl(DWORD dwStyle, UINT nID);

    CRuntimeClass* GetWndRuntimeClass() const override { return RUNTIME_CLASS(CGXComboBoxWnd); }
    CWnd* GetWnd() override { return this; }
    void SetActive(BOOL bActive) override;
    BOOL IsActive() override { return m_bActive; }
    void SetModify(BOOL bModified) override { m_bModified = bModified; }
    BOOL GetModify() override { return m_bModified; }
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    CSize AddBorders(CSize size, const CGXStyle& style) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    void GetValue(CString& strResult) override;
    void SetValue(LPCSTR lpszValue) override;
    BOOL GetCurrentText(CString& strResult) override;
    void SetCurrentText(const CString& str) override;
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    BOOL ValidateString(const CString& sEdit) override;
    void Hide() override;
    int Store() override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridDoubleByteChar(const CString& sChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnGridSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL GetSelectedText(CString& sWindowText) override;
    void ReplaceSel(LPCSTR lpszNewText) override;
    void OnClickedButton(GXCellChild* pChild) override;
    void LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void Invalidate() override { CGXControl::Invalidate(); }

    // A key of the combo box or its edit: TRUE when it was taken (by the grid or here).
    virtual BOOL HandleComboKey(UINT nChar, UINT nRepCnt, UINT nFlags);
    // A character typed into the edit: TRUE when the control took it.
    virtual BOOL HandleComboEditChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    // The text the edit shows for a window text: all of it here.
    virtual CString EditTextFor(LPCSTR lpszText) { return lpszText != nullptr ? CString(lpszText) : CString(); }
    // Puts the cell's choices into the combo box.
    virtual void FillComboBox();
    BOOL IsDropDownList() const;
    // The text the combo box holds: its edit's, else the selected item's.
    CString GetComboText();

    int m_nButtonFrame;
    BOOL m_bFillFromChoiceList = TRUE;
    BOOL m_bWantArrowKeys = FALSE;
    BOOL m_bSizeButtonToText = FALSE;
    int m_nIndexBase = -1;
    BOOL m_bDispChoice = FALSE;
    BOOL m_bDropOnClick = TRUE;
    BOOL m_bButtonInInactiveCells = FALSE;
    BOOL m_bFullWidthWhenInactive = TRUE;
    BOOL m_bDefaultDraw = TRUE;
    CGXComboBoxWndEdit m_wndEdit;
    CGXComboArrowButton* m_pArrowButton = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL Activate();
    BOOL ToGrid(UINT nChar, UINT nRepCnt, UINT nFlags);
    void RestoreSaved();
    // Store's last step: the text GetCurrentText converted goes into the cell.
    virtual BOOL StoreCurrentText(const CString& sText);

    BOOL m_bActive = FALSE;
    BOOL m_bModified = FALSE;
    CFont m_Font;
    int m_nTextHeight = 0;
    CString m_strSaved;
    int m_nSavedSel = -1;
    GXShownOver m_shownOver;   // where the window was last shown
};

// A system combo box over a tabbed choice list: owner-drawn columns, the text
// column in the field, the key column stored.
class CGXTabbedComboBoxWnd : public CGXComboBoxWnd
{
    DECLARE_DYNAMIC(CGXTabbedComboBoxWnd)
    GX_DECLARE_CONTROL(CGXTabbedComboBoxWnd)
public:
    explicit CGXTabbedComboBoxWnd(CGXGridEngine* pGrid);
    ~CGXTabbedComboBoxWnd() override;

    BOOL CreateControl(DWORD dwStyle, UINT nID) override;
    void Init(ROWCOL nRow, ROWCOL nCol) override;
    void GetValue(CString& strResult) override;
    void SetValue(LPCSTR lpszValue) override;
    BOOL GetCurrentText(CString& strResult) override;
    BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                        const CGXStyle* pStyle) override;
    BOOL SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle) override;
    BOOL ValidateString(const CString& sEdit) override;
    void Hide() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL HandleComboEditChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    CString EditTextFor(LPCSTR lpszText) override;
    void FillComboBox() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    int CompareItem(LPCOMPAREITEMSTRUCT) override { return -1; }

    const GXTabbedList& GetTabbedList() const { return m_tab; }
    CGXTabbedPopupWnd* GetTitleWnd() const { return m_pTitleWnd; }
    COLORREF m_rgbGridLine = RGB(192, 192, 192);
    int m_nItemHeight = 16;

protected:
    BOOL StoreCurrentText(const CString& sKey) override;
    // The key of the entry the item at an index of the combo box shows.
    CString KeyOfItem(int nIndex);
    void ShowTitles();
    GXTabbedList m_tab;
    CGXTabbedPopupWnd* m_pTitleWnd;
};
