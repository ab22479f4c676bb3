// The boundary between the grid engine and its cell controls.
//
// A cell control draws, edits and interprets the cells of one kind. The engine
// keeps one control object per control id (CGXGridEngine::SetControlForId and
// GetControlForId) and owns it; that one object serves every cell with that id
// and holds one cell at a time (Init .. Reset).
//
// This header fixes the interface both sides program against: the control
// base class CGXControl with its operations in their fixed order, the control
// class records, the control factory interface and the name mapping below.
//
// Names. The controls' own operations carry the control class's names; the
// engine-side descriptions sometimes name the same operation differently:
//
//   engine-side name               control operation (this header)
//   ----------------------------   -------------------------------------------
//   Refresh                        Reset
//   SetControlText                 SetCellText
//   ApplyCurrentText               LoadCurrentText
//   MouseMoveWhilePressed          OnMouseMove (flags, x, y)
//   MouseMove (row, col, ...)      OnMouseMoveOver (row, col, flags, x, y)
//   LButtonDown .. RButtonDblClk   OnLButtonDown .. OnRButtonDblClk
//   GetSearchText                  GetSelectedText
//   ReplaceSelection               ReplaceSel
//   ReplaceAllInCell               ReplaceText
//   OnGridWindowMessage            OnGridScroll (message)
//   OnCtlColor                     OnGridCtlColor
//   holds-a-cell flag              m_bInit (IsInit)
//   deferral switch                m_bDeferInvalidate (added here)
//   OnCancelEditing, GetSortKey    added here: only the engine side names them
//
// Engine functions the controls call, where the two descriptions differ, take
// the engine's form:
//
//   control-side name              engine function
//   ----------------------------   -------------------------------------------
//   CanSelectCurrentCell           CheckCurrentCellChange (bEnter, newRow,
//                                    newCol, oldRow, oldCol)
//   engine SetCellText             PasteTextToCell (row, col, text, flags, style)
//   OnLButtonClickedRowCol         OnSelectHeaderWithCtrl (row, col, flags, x, y)
//   OnMButtonClickedRowCol,        the middle and right click hooks of the
//     OnRButtonClickedRowCol         same form (answer FALSE)
//   OnMouseMoveOver (engine)       the mouse-over hook OnMouseMoveOver
//                                    (row, col, flags, x, y), answers FALSE
//   OnClickedButtonRowCol          the empty hook the controls call with
//                                    their cell: OnClickedButtonRowCol (row, col)
//   OnLeavingCell, OnDeleteCell    no engine hooks: the control defaults
//                                    CanLeaveCell and OnDeleteCell answer TRUE
//   GetCellValue                   returns the composed value text
//                                    (const CString&), not a style
//   ResizeRowHeightsToFit,         (range, bSpan, flags): the span switch is
//     ResizeColWidthsToFit           the second argument
//   GXGetNextLine                  (text in/out, line out) -> line length;
//                                    splits at "\r\n" (gxutil.h)
//   GXFindTabListEntry             (key, column, list, bSkipTitle, entry out,
//                                    bExact) -> index, or (key, column, list,
//                                    bExact) over every line (gxutil.h)
//   OnTextDragStart                (point of the press) -> BOOL: drags the
//                                    current cell's selected text (the
//                                    engine's cell drag, gxdragdrop.cpp)
//   GXInit (a, b, c)               lives with the control factory; the
//                                    engine's start-up is GXInitLibrary
//                                    (nVersion, pFactory) (gxinit.h)
//   GXRegisterClasses              GXRegisterClasses (instance), the start-up's
//                                    registration step (gxinit.h); the factory's
//                                    RegisterWindowClasses registers
//                                    "CGXGridWnd", "CGXTabBeam", "CGXTabWnd"
//
// Store answers an int whose bit 0 means success: 0 nothing stored, odd
// stored, even and nonzero a refused store.
#pragma once
#include "afx.h"
#include "gxrange.h"

class CDC;
class CWnd;
class CBrush;
class CGXGridEngine;
class CGXStyle;
class CGXStylesMap;
class GXCellChild;
struct FindReplaceState;
struct CGXSortInfo;

// The class record of a control class: its name and its base's record.
struct GXControlClass
{
    LPCSTR name;
    const GXControlClass* parent;
};

#define GX_DECLARE_CONTROL(class_name) \
public: \
    static const GXControlClass classRecord##class_name; \
    const GXControlClass* GetClassRecord() const override { return &classRecord##class_name; }

#define GX_IMPLEMENT_CONTROL(class_name, base_class_name) \
    const GXControlClass class_name::classRecord##class_name = {#class_name, &base_class_name::classRecord##base_class_name};

#define GX_CONTROL_CLASS(class_name) (&class_name::classRecord##class_name)

class CGXControl
{
public:
    explicit CGXControl(CGXGridEngine* pGrid);
    CGXControl(const CGXControl&) = delete;
    CGXControl& operator=(const CGXControl&) = delete;

    static const GXControlClass classRecordCGXControl;

    // 0 .. 3: identity
    virtual ~CGXControl();
    virtual const GXControlClass* GetClassRecord() const { return &classRecordCGXControl; }
    virtual CRuntimeClass* GetWndRuntimeClass() const { return nullptr; }
    virtual CWnd* GetWnd() { return nullptr; }
    // 4 .. 7: active and modified
    virtual void SetActive(BOOL bActive);
    virtual BOOL IsActive();
    virtual void SetModify(BOOL bModified);
    virtual BOOL GetModify();
    // 8 .. 18: the cell the control holds and the editing protocol
    virtual void Init(ROWCOL nRow, ROWCOL nCol);
    virtual void Reset();
    virtual int Store();
    virtual BOOL OnValidate();
    virtual BOOL OnStartEditing();
    virtual void OnModifyCell();
    virtual BOOL OnEndEditing();
    virtual void OnCanceledEditing();
    virtual BOOL CanLeaveCell();
    virtual BOOL OnLeftCell(ROWCOL nNewRow, ROWCOL nNewCol);
    virtual BOOL OnDeleteCell();
    // 19 .. 25: geometry and drawing
    virtual CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr);
    virtual CSize AddBorders(CSize size, const CGXStyle& style);
    virtual CSize CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                           BOOL bHeight);
    virtual BOOL CanFloatCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, BOOL bFloatCell);
    virtual BOOL CanMergeCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, int nDirection);
    virtual void InvertArea(CDC* pDC, const CRect& rect);
    virtual void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                      const CGXStyle* pStandardStyle);
    // 26 .. 35: values and texts
    virtual void GetValue(CString& strResult);
    virtual void SetCurrentText(const CString& str);
    virtual BOOL GetCurrentText(CString& strResult);
    virtual void SetValue(LPCSTR lpszValue);
    virtual BOOL GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                                const CGXStyle* pStyle);
    virtual BOOL SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle);
    virtual BOOL StoreStyle(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType,
                            const CGXStyle* pOldStyle);
    virtual BOOL LoadCurrentText(ROWCOL nRow, ROWCOL nCol, CGXStyle& style);
    virtual void GetChoiceListItem(const CString& sChoices, CString& sItem, int nIndex);
    virtual int FindChoiceListItem(LPCSTR lpszText, const CString& sChoices, BOOL bExact);
    // 36, 37: hiding and redrawing
    virtual void Hide();
    virtual void Invalidate();
    // 38 .. 50: mouse
    virtual BOOL OnMouseMove(UINT nFlags, CPoint pt);
    virtual BOOL OnMouseMoveOver(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonDown(UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonUp(UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonDblClk(UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonDown(UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonUp(UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonDblClk(UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonDown(UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonUp(UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonDblClk(UINT nFlags, CPoint pt);
    virtual BOOL OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message, int& retval);
    virtual BOOL OnReserved(LPARAM lParam);
    // 51 .. 60: keys
    virtual BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridDoubleByteChar(const CString& sChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    // 61 .. 67: clipboard
    virtual BOOL Copy();
    virtual BOOL Paste();
    virtual BOOL Cut();
    virtual BOOL CanCopy();
    virtual BOOL CanCut();
    virtual BOOL CanPaste();
    virtual void GetCopyText(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, CString& sResult);
    // 68 .. 71: find and replace
    virtual BOOL FindText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol, BOOL bCurrentPos, BOOL bSetCell);
    virtual void ReplaceSel(LPCSTR lpszNewText);
    virtual BOOL ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol);
    virtual BOOL GetSelectedText(CString& sWindowText);
    // 72 .. 78: notifications from the grid window
    virtual void OnClickedButton(GXCellChild* pChild);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnGridScroll(UINT nMessage);
    virtual CBrush* OnGridCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual void OnGridWinIniChange(LPCSTR lpszSection);
    virtual void OnGridSysColorChange();
    virtual BOOL IsReadOnly();
    // 79 .. 84: cell children
    virtual void AppendChild(GXCellChild* pChild);
    virtual GXCellChild* GetChild(int nIndex);
    virtual int GetChildCount();
    virtual GXCellChild* GetCapturedChild();
    virtual void SetCapturedChild(GXCellChild* pChild);
    virtual void LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect);
    // 85 .. 89: background, frame, validation, drawing state
    virtual void DrawBackground(CDC* pDC, const CRect& rect, const CGXStyle& style, BOOL bErase = FALSE);
    virtual void Draw3dFrame(CDC* pDC, const CRect& rect, const CGXStyle& style);
    virtual BOOL ValidateString(const CString& sEdit);
    virtual void OnInvalidKeyPressed(LPCSTR lpszChar);
    virtual UINT GetCellDrawState(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style);
    // Only the engine side names these two: asked before a pending edit is
    // thrown away, and the text a cell sorts by.
    virtual BOOL OnCancelEditing();
    virtual void GetSortKey(ROWCOL nRow, ROWCOL nCol, const CGXSortInfo& sortInfo, const CGXStyle& style,
                            CString& sKey);

    // The user attributes every control understands (min, max, warning).
    static void RegisterUserAttributes(CGXStylesMap* pStylesMap);

    CGXGridEngine* Grid() const { return m_pGrid; }
    CWnd* GetGridWindow() const;
    BOOL IsInit() const { return m_bInit; }
    void SetInit(BOOL b) { m_bInit = b; }
    BOOL IsActiveAt(ROWCOL nRow, ROWCOL nCol) const { return m_bInit && m_nRow == nRow && m_nCol == nCol; }
    // The held copy of the cell's composed style, fetched on first use.
    const CGXStyle& GetStyle();
    void FreeStyle(BOOL bNotify = FALSE);
    BOOL IsKindOf(const GXControlClass* pClass) const;
    BOOL IsWndKindOf(CRuntimeClass* pClass);
    // Collects a double-byte character from two character messages.
    static BOOL GXCombineDBCSChar(UINT nChar, CString& sText, BOOL& bPending, BYTE& chLead);
    // Tells the grid window that the focus left the cell for pNewWnd (unless
    // that is the grid itself or the grid has the notification switched off).
    void NotifyKillFocus(CWnd* pNewWnd);
    // Keeps an area for the engine to repaint after the current drawing.
    void AddInvalidRect(const CRect& rect);
    // Colours that may name a system colour, resolved.
    COLORREF GetStyleTextColor(const CGXStyle& style);
    static COLORREF GetBrushBkColor(COLORREF color);
    // Side 0 left, 1 right, 2 top, 3 bottom: whether the style draws a border there.
    static BOOL HasBorder(const CGXStyle& style, int nSide);
    // Cancel mode or a lost capture: no child stays pressed.
    void CancelChildPresses();
    // The one-cell range of the control's cell.
    CGXRange CellRange() const { return CGXRange(m_nRow, m_nCol); }

    DWORD m_dwFlags = 0;
    ROWCOL m_nRow;
    ROWCOL m_nCol;
    BOOL m_bInit = FALSE;
    // When set the engine redraws a newly entered cell through Invalidate
    // instead of drawing its marking at once.
    BOOL m_bDeferInvalidate = FALSE;

protected:
    CGXGridEngine* m_pGrid;
    CGXStyle* m_pStyle = nullptr;
    CPtrList* m_pChildren = nullptr;
    GXCellChild* m_pCapturedChild = nullptr;
    BOOL m_bDBCSPending = FALSE;
    BYTE m_chDBCSLead = 0;
};

// A windowless element inside a cell (a button): its rectangle in the grid
// window, a caption, and its own mouse and key handling. Its control owns it,
// places it before every draw and mouse event, and is told of its clicks
// through OnClickedButton.
class GXCellChild
{
public:
    explicit GXCellChild(CGXControl* pControl) : m_pControl(pControl) {}
    virtual ~GXCellChild() = default;
    GXCellChild(const GXCellChild&) = delete;
    GXCellChild& operator=(const GXCellChild&) = delete;

    virtual void SetRect(const CRect& rect) { m_rect = rect; }
    virtual CRect GetRect() { return m_rect; }
    virtual BOOL HitTest(CPoint pt) { return m_rect.PtInRect(pt); }
    virtual BOOL HasFocus();
    virtual void SetText(const CString& s) { m_strText = s; }
    virtual void GetText(CString& s) { s = m_strText; }
    virtual void Draw(CDC* pDC, BOOL bActive) = 0;
    // Invalidates (with erase) the child's rectangle in the grid window.
    virtual void Refresh();
    virtual BOOL OnMouseMove(UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonDown(UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonUp(UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonDblClk(UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonDown(UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonUp(UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonDblClk(UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonDown(UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonUp(UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonDblClk(UINT nFlags, CPoint pt);
    virtual BOOL OnMouseMoveOver(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnDoubleByteChar(const CString& sChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnSysDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnGridWinIniChange(LPCSTR lpszSection);
    virtual void OnGridSysColorChange();
    // Capture lost or cancel mode: nothing stays pressed (buttons).
    virtual void CancelPress() {}

    CGXControl* Control() const { return m_pControl; }

protected:
    CGXControl* m_pControl;
    CRect m_rect;
    CString m_strText;
    BOOL m_bDBCSPending = FALSE;
    BYTE m_chDBCSLead = 0;
};

class CFindReplaceDialog;
// What the grid's find and replace hands to a control's search operations, and the search the
// program's grids share: one dialog at a time, owned by the active search grid.
struct FindReplaceState
{
    CString strFind;
    CString strReplace;
    BOOL bMatchCase = FALSE;
    const CGXStyle* pStyle = nullptr;   // the cell under test while a scan runs, else null
    CString strFindUpper;               // strFind upper-cased, made unless the search matches case
    BOOL bDown = TRUE;                  // towards higher rows
    BOOL bReplaceAllBlock = TRUE;       // Replace All runs as one block command (one undo step)
    CFindReplaceDialog* pDialog = nullptr;
    BOOL bFindOnly = FALSE;             // the open dialog is a Find, not a Replace dialog
    CGXGridEngine* pActiveGrid = nullptr;
};
// The library's one find-and-replace state.
FindReplaceState* GXGetFindReplaceState();

// The library's control factory: makes a control for an id and registers the
// library's window classes. The cell-control library derives the factory that
// knows every control.
class CGXAbstractControlFactory
{
public:
    virtual ~CGXAbstractControlFactory() = default;
    // A new control for the id built for the engine, or null for an id this
    // factory does not know. The engine owns what it receives.
    virtual CGXControl* CreateControl(UINT nID, CGXGridEngine* pGrid);
    virtual void RegisterAllControls(CGXStylesMap* pStylesMap);
    virtual void RegisterUserAttributes(CGXStylesMap* pStylesMap);
    virtual void RegisterWindowClasses(HINSTANCE hInstance);
    virtual void UnregisterWindowClasses(HINSTANCE hInstance);
};
