// The grid engine: everything a grid knows and does except being a window.
// It lives as the second part of a grid window and reaches its window only
// through m_pGridWnd. Applications change a grid by overriding its virtual
// operations.
#pragma once
#include "gxcontrol.h"
#include "gxparam.h"

class CWnd;
class CDC;
class CDocument;
class CScrollBar;
class CFindReplaceDialog;
struct CPrintInfo;
class CFont;
class CBrush;
class CPen;
class CClientDC;
class CGXGridHint;
class CGXCommand;
class CCmdUI;
class CGXBlockCmd;
class CGXSortInfoArray;
struct CGXSortRecord;
struct GXDrawContext;
class CFile;
class CArchive;
class COleDataSource;
class COleDataObject;
typedef DWORD DROPEFFECT;

// What copy, cut and paste exchange (m_nClipboardFlags).
enum
{
    GX_CLIP_COLHEADERS = 0x0001,
    GX_CLIP_ROWHEADERS = 0x0002,
    GX_CLIP_TEXT = 0x0008,
    GX_CLIP_STYLES = 0x0010,
    GX_CLIP_COMPOSED = 0x0020,
    GX_CLIP_ASKSIZE = 0x0100,
    GX_CLIP_NOGROWROWS = 0x0200,
    GX_CLIP_NOGROWCOLS = 0x0400,
};
// What a drag out of a grid offers (source word) and a drop accepts (target word).
enum
{
    GX_DND_COLHEADERS = 0x01,
    GX_DND_ROWHEADERS = 0x02,
    GX_DND_MULTIAREA = 0x04,
    GX_DND_TEXT = 0x08,
    GX_DND_STYLES = 0x10,
    GX_DND_COMPOSED = 0x20,
    GX_DND_SOURCESCROLL = 0x40,
    GX_DND_TARGETSCROLL = 0x80,
    GX_DND_NOGROWROWS = 0x200,
    GX_DND_NOGROWCOLS = 0x400,
};
// The block a grid of this program drags, so that a target need not read the data.
extern ROWCOL g_nDndRows, g_nDndCols;
extern BOOL g_bDndInProgress;
// TRUE when CF_TEXT, CF_OEMTEXT or "Grid Styles" is on the clipboard.
BOOL GXIsPasteFormatAvailable();

// Hit zones of a point in the grid.
enum
{
    GX_HIT_NONE = 0,
    GX_HIT_COLEDGE = 1,
    GX_HIT_ROWEDGE = 2,
    GX_HIT_CELL = 3,
    GX_HIT_HEADER = 4,
    GX_HIT_SELEDGE = 5,
};

// Size tracking modes.
enum { GX_TRACK_HEIGHT = 1, GX_TRACK_WIDTH = 2 };

// Draws borders with plain pens instead of geometric ones (library-wide, off).
extern BOOL g_bGXSimplePens;
// How often a grid cursor was loaded from the resources.
int GXGetCursorLoadCount();

// Redraw flags of the changing operations: only the three low bits count.
enum
{
    GX_INVALIDATE = 0x0001,   // a full redraw instead of a scrolling one
    GX_UPDATENOW = 0x0002,    // update the window at once
    GX_SMART = 0x0004,        // invalidate
};

// Command modes of changing operations.
enum
{
    gxDo = 0,
    gxRollback = 1,
    gxUndo = 2,
    gxRedo = 3,
};

class CGXGridEngine
{
public:
    CGXGridEngine(CWnd* pGridWnd, CDocument* pDocument = nullptr, void* pOwner = nullptr);
    CGXGridEngine(const CGXGridEngine&) = delete;
    CGXGridEngine& operator=(const CGXGridEngine&) = delete;
    virtual ~CGXGridEngine();

    // ---- Core
    virtual void SetPrinting(int nPrinting, BOOL bClientRect = FALSE);
    virtual void SetModifiedFlag(BOOL bModified = TRUE);
    virtual void PrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void UpdateAllViews(CWnd* pSender, LPARAM lHint, CObject* pHint);
    // Creates what is missing of the grid's objects; safe to call again.
    virtual void InitObjects();

    // ---- Styles
    // nType 0 cell styles, -1 styles of whole rows, columns or the table.
    // pStyles: per-cell styles of the range, row by row (undo); an empty
    // entry removes the stored style.
    virtual BOOL SetStyleRange(const CGXRange& range, const CGXStyle* pStyle, int nMode, int nType = 0,
                               const CPtrArray* pStyles = nullptr, UINT nFlags = GX_UPDATENOW,
                               int nCommand = gxDo);
    virtual BOOL ReadCellStyle(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, int nMode = gxCopy, int nType = 0);
    // The composed style a cell is drawn with, owned by the engine.
    virtual const CGXStyle& GetCellStyle(ROWCOL nRow, ROWCOL nCol);
    virtual void ComposeCellStyle(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, BOOL bResolve = TRUE);
    virtual BOOL StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType = 0);
    virtual void UpdateStyleRange(const CGXRange& range, const CGXStyle* pStyle, int nMode, int nType,
                                  UINT nFlags, BOOL bCreateHint);
    virtual CGXStyle* CreateStyle();
    virtual void RecycleStyle(CGXStyle* pStyle);
    virtual BOOL ChangeStylesMap(const CGXStylesMap& stylesMap, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual void UpdateStylesMap(UINT nFlags, BOOL bCreateHint);
    virtual BOOL ChangeProperties(const CGXProperties& properties, UINT nFlags = GX_UPDATENOW,
                                  int nCommand = gxDo);
    virtual void UpdateProperties(UINT nFlags, BOOL bCreateHint);
    virtual BOOL ChangeBaseStyle(WORD nID, const CGXStyle& style, int nMode = gxOverride,
                                 UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual void UpdateBaseStyle(WORD nID, UINT nFlags, BOOL bCreateHint);

    // ---- Counts
    virtual ROWCOL GetRowCount();
    virtual ROWCOL GetColCount();
    virtual ROWCOL GetFrozenRows();
    virtual ROWCOL GetFrozenCols();
    virtual ROWCOL GetHeaderRows();
    virtual ROWCOL GetHeaderCols();

    // ---- Zoom and read-only
    virtual BOOL SetZoom(int nZoom, UINT nFlags = GX_UPDATENOW);
    virtual BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    virtual int GetZoom();
    virtual BOOL IsReadOnly();
    virtual BOOL StoreZoom(int nZoom, BOOL bCreateHint = TRUE);
    virtual BOOL StoreReadOnly(BOOL bReadOnly);
    virtual void UpdateZoom(int nOldZoom, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateReadOnly(BOOL bOldReadOnly, BOOL bCreateHint);
    virtual int GetParamOptionF();

    // ---- Current cell (the protocol with the cell's control comes with
    // current-cell handling; here the cell is only recorded)
    // Flags of PlaceCurrentCell: 0x02/0x04 update at once, 0x08 bring into view, 0x10 activate the
    // control, 0x20 keep the focus where it is, 0x40 no hint to other views, 0x80 keep the selection.
    virtual BOOL PlaceCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT nFlags = 0);
    // Stores (bStore) or throws away the pending edit of the current cell.
    virtual BOOL TransferCurrentCell(BOOL bStore = TRUE, UINT nFlags = GX_UPDATENOW, BOOL bCreateHint = TRUE);
    virtual void RefreshCurrentCell(BOOL bStore = TRUE);
    virtual void HideCurrentCellControl();
    // Shows the warning a validation left (once), then empties it.
    virtual void ShowWarningText();
    // bEnter FALSE: may the old cell be left; TRUE: may (nRow, nCol) become current.
    virtual BOOL CheckCurrentCellChange(BOOL bEnter, ROWCOL nRow, ROWCOL nCol, ROWCOL nOldRow, ROWCOL nOldCol);
    virtual CGXControl* GetCellControl(ROWCOL nRow, ROWCOL nCol);
    // Told the row and column about to be reached (-2: the last one); empty here.
    virtual void OnAccessRowCol(ROWCOL nRow, ROWCOL nCol);
    BOOL GetCurrentCellPos(ROWCOL& nRow, ROWCOL& nCol, BOOL bIgnorePrinting = FALSE);
    BOOL IsCurrentCellAt(ROWCOL nRow, ROWCOL nCol, BOOL bIgnorePrinting = FALSE);
    void SetCurrentCellState(BOOL bValid, ROWCOL nRow = 0, ROWCOL nCol = 0);
    CGXControl* GetCurrentCellControl();
    BOOL IsCurrentCellActive();

    // ---- Keyboard. Directions: 1 up, 2 left, 3 down, 4 right, 5 page down, 6 page up,
    // 7 first row, 8 last row, 9 first column, 10 last column, 11 first cell, 12 last cell.
    virtual BOOL FindEnabledCell(int nDirection, ROWCOL& nRow, ROWCOL& nCol);
    virtual BOOL MoveCurrentCell(int nDirection, ROWCOL nCount = 1, BOOL bSelect = TRUE);
    virtual BOOL MoveCurrentCellEx(int nDirection, ROWCOL nCount = 1);
    virtual void ScrollCellsBy(int nDirection, ROWCOL nCount);
    virtual BOOL OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridDBCSChar(const CString& sChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL OnGridSysDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    // The selection hooks a keyboard or mouse extension asks first.
    virtual BOOL OnStartSelection(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL CanChangeSelection(CGXRange* pRange, BOOL bIsDragging, BOOL bKey);
    // FALSE (and the anchor forgotten) when the anchor's range left the selection list.
    BOOL AnchorIsValid();
    // The grid window's handle (null without a window); whether a window is it or its child.
    HWND GetGridHwnd() const;
    BOOL IsGridOrChildWnd(HWND hWnd) const;
    // Throws away key messages typed ahead for a window, so that they reach no other cell.
    static void DiscardKeyMessages(HWND hWnd);

    // ---- Undo and redo. Modes: gxDo files to the undo list (the redo list emptied), gxUndo to the
    // redo list, gxRedo to the undo list, gxRollback records nothing.
    virtual BOOL Undo();
    virtual BOOL Redo();
    virtual void OpenBlockCommand(LPCSTR lpszName = nullptr);
    virtual void CloseBlockCommand();
    virtual void RollbackBlockCommand();
    // The engine owns the command from now on.
    virtual void PushCommand(CGXCommand* pCmd, int nMode);
    virtual void RemoveLastCommand(int nMode);
    virtual void RestoreCurrentCell(ROWCOL nRow, ROWCOL nCol, BOOL bPlace);
    // Command-update handlers of the Undo and Redo items: "Undo %1" with the newest command's
    // name; the result is the enabled state.
    virtual BOOL UpdateUndoMenuText(CCmdUI* pCmdUI);
    virtual BOOL UpdateRedoMenuText(CCmdUI* pCmdUI);
    // Runs a block's members (newest first); a failing member takes back those that ran.
    BOOL ExecuteBlockCommand(CGXBlockCmd* pBlock, int nMode);
    // The list a command of this mode goes to (with bMembers: the open or executing block's).
    CObList* CommandListFor(int nMode, BOOL bMembers);
    // ---- The clipboard: what the keys call (the transfer block below does the work).
    virtual BOOL Copy();
    virtual BOOL Paste();
    virtual BOOL Cut();
    virtual BOOL CanCopy();
    virtual BOOL CanPaste();
    virtual BOOL CanCut();
    virtual BOOL CanClear();
    virtual BOOL ClearSelection(BOOL bStyles);

    // ---- Control notification hooks (the controls call them with their cell)
    virtual BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnStartEditing(ROWCOL nRow, ROWCOL nCol);
    virtual void OnCellModified(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnCancelEditing(ROWCOL nRow, ROWCOL nCol);
    virtual void OnCanceledEditing(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnLeftCell(ROWCOL nRow, ROWCOL nCol, ROWCOL nNewRow, ROWCOL nNewCol);
    virtual BOOL OnControlNotify(ROWCOL nRow, ROWCOL nCol, UINT nID, int nCode);
    // A button inside the cell was clicked (empty here).
    virtual void OnClickedButtonRowCol(ROWCOL nRow, ROWCOL nCol);
    // State the cell controls set around their windows and drop-down lists: a list is open;
    // a control hides its window; areas a control's window covers, to repaint after drawing.
    BOOL IsDropDownOpen() const { return m_bDropDownOpen; }
    void SetDropDownOpen(BOOL b) { m_bDropDownOpen = b; }
    BOOL m_bDropDownOpen = FALSE;
    BOOL m_bHidingControl = FALSE;
    CArray<CRect, const CRect&> m_controlInvalidRects;

    // ---- Cell controls
    virtual CGXControl* GetControlForId(WORD nID);
    // The engine owns the control from now on; registering the object that
    // is already registered under the id only updates its flags.
    void SetControlForId(WORD nID, CGXControl* pControl, BOOL bDefault = FALSE, BOOL bAddName = FALSE);
    CGXControl* GetDefaultControl() const { return m_pDefaultControl; }

    // ---- Redrawing. Requests made under the lock-update flag (m_bLockUpdate) are not
    // queued: callers Redraw after unlocking. Their hints go out all the same.
    virtual void RedrawRange(const CGXRange& range, UINT nFlags = GX_UPDATENOW, const CGXStyle* pStyle = nullptr);
    virtual void Redraw(UINT nFlags = GX_UPDATENOW, BOOL bCreateHint = TRUE);
    virtual void OnGridDraw(CDC* pDC);

    // ---- Window messages, handed over by the grid window. FALSE (or null)
    // lets the framework's default handling run.
    // The grid gains (TRUE) or loses the focus: the current cell's control is activated or its
    // edit stored and deactivated; FALSE when the edit could not be stored.
    virtual BOOL ActivateGrid(BOOL bActive);
    virtual HBRUSH HandleCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual BOOL HandleDestroy();
    virtual BOOL HandleHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual BOOL HandleVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // Both bars' messages: scrolls rows (bRows) or columns by the code.
    BOOL HandleBarMessage(BOOL bRows, UINT nSBCode, UINT nPos);
    virtual BOOL DispatchKeyMessage(CWnd* pWnd, UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual BOOL HandleLButtonDown(UINT nFlags, CPoint point);
    virtual BOOL HandleLButtonUp(UINT nFlags, CPoint point);
    virtual BOOL HandleLButtonDblClk(UINT nFlags, CPoint point);
    virtual BOOL HandleMButtonDown(UINT nFlags, CPoint point);
    virtual BOOL HandleMButtonUp(UINT nFlags, CPoint point);
    virtual BOOL HandleMButtonDblClk(UINT nFlags, CPoint point);
    virtual BOOL HandleRButtonDown(UINT nFlags, CPoint point);
    virtual BOOL HandleRButtonUp(UINT nFlags, CPoint point);
    virtual BOOL HandleRButtonDblClk(UINT nFlags, CPoint point);
    virtual BOOL HandleMouseMove(UINT nFlags, CPoint point);
    virtual BOOL HandleSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    virtual BOOL HandleSize(UINT nType, int cx, int cy);
    virtual BOOL HandleShowWindow(BOOL bShow, UINT nStatus);
    virtual BOOL HandleSetFocus(CWnd* pOldWnd);
    virtual BOOL HandleKillFocus(CWnd* pNewWnd);
    virtual UINT HandleGetDlgCode(UINT nCode);
    virtual BOOL HandleCancelMode();
    virtual BOOL HandleMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message, int* pResult);
    virtual BOOL HandleSettingChange(LPCSTR lpszSection);
    virtual BOOL HandleSysColorChange();
    virtual BOOL HandleTimer(UINT_PTR nIDEvent);
    virtual BOOL HandleCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL HandlePreTranslateMessage(MSG* pMsg);
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
    virtual void UpdateTabName(WPARAM wParam);
    virtual BOOL HandleMsg792(WPARAM wParam);
    virtual BOOL HandleRecordNavigate(WPARAM wParam, LPARAM lParam);
    virtual void LockSizeRedraw(WPARAM wParam);
    virtual void OnFindReplace(CFindReplaceDialog* pDialog);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    // Scroll-bar modes (vertical and horizontal), set by the window's InitGrid.
    virtual void SetScrollBarMode(int nBar, int nMode, BOOL bRedraw = TRUE);

    // ---- Counts and frozen rows and columns
    virtual BOOL SetRowCount(ROWCOL nRows, UINT nFlags = GX_UPDATENOW);
    virtual BOOL SetColCount(ROWCOL nCols, UINT nFlags = GX_UPDATENOW);
    virtual BOOL StoreRowCount(ROWCOL nRows);
    virtual BOOL StoreColCount(ROWCOL nCols);
    virtual void RefreshAfterRowCountChange(ROWCOL nRow, UINT nFlags, BOOL bCreateHint);
    virtual void RefreshAfterColCountChange(ROWCOL nCol, UINT nFlags, BOOL bCreateHint);
    virtual BOOL SetFrozenRows(ROWCOL nFrozen, ROWCOL nHeader = 0, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL SetFrozenCols(ROWCOL nFrozen, ROWCOL nHeader = 0, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL StoreFrozenRows(ROWCOL nFrozen, ROWCOL nHeader);
    virtual BOOL StoreFrozenCols(ROWCOL nFrozen, ROWCOL nHeader);
    virtual void UpdateFrozenRows(ROWCOL nOldFrozen, ROWCOL nOldHeader, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateFrozenCols(ROWCOL nOldFrozen, ROWCOL nOldHeader, UINT nFlags, BOOL bCreateHint);
    BOOL IsFrozenRow(ROWCOL nRow) { return nRow >= 1 && nRow <= GetFrozenRows(); }
    BOOL IsFrozenCol(ROWCOL nCol) { return nCol >= 1 && nCol <= GetFrozenCols(); }

    // ---- Client and absolute rows and columns
    ROWCOL RowToClientRow(ROWCOL nRow);
    ROWCOL ColToClientCol(ROWCOL nCol);
    ROWCOL ClientRowToRow(ROWCOL nClientRow);
    ROWCOL ClientColToCol(ROWCOL nClientCol);
    virtual void SetTopRow(ROWCOL nRow, UINT nFlags = GX_UPDATENOW, BOOL bCreateHint = TRUE);
    virtual void SetLeftCol(ROWCOL nCol, UINT nFlags = GX_UPDATENOW, BOOL bCreateHint = TRUE);
    virtual BOOL CanChangeTopRow(ROWCOL nRow);
    virtual BOOL CanChangeLeftCol(ROWCOL nCol);
    virtual void OnTopRowChanged();
    virtual void OnLeftColChanged();
    // The first scrollable row and column on screen (the page's while printing).
    ROWCOL GetTopRow() const { return m_bPrinting ? m_nPrintTopRow : m_nTopRow; }
    ROWCOL GetLeftCol() const { return m_bPrinting ? m_nPrintLeftCol : m_nLeftCol; }

    // ---- Row heights, column widths, hidden rows and columns
    virtual BOOL SetRowHeight(ROWCOL nFrom, ROWCOL nTo, int nHeight, const int* pHeights = nullptr,
                              UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL SetColWidth(ROWCOL nFrom, ROWCOL nTo, int nWidth, const int* pWidths = nullptr,
                             UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL SetDefaultRowHeight(int nHeight, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL SetDefaultColWidth(int nWidth, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual int GetRowHeight(ROWCOL nRow);
    virtual int GetColWidth(ROWCOL nCol);
    virtual int GetDefaultRowHeight();
    virtual int GetDefaultColWidth();
    virtual BOOL HideRows(ROWCOL nFrom, ROWCOL nTo, BOOL bHide = TRUE, const BOOL* pHides = nullptr,
                          UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL HideCols(ROWCOL nFrom, ROWCOL nTo, BOOL bHide = TRUE, const BOOL* pHides = nullptr,
                          UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL IsRowHidden(ROWCOL nRow);
    virtual BOOL IsColHidden(ROWCOL nCol);
    // Gives each row (column) of the range the size its cells need; with
    // flag 8 sizes only grow. FALSE when the user aborted (sizes restored).
    virtual BOOL ResizeRowHeightsToFit(CGXRange range, BOOL bSpan = FALSE, UINT nFlags = GX_UPDATENOW);
    virtual BOOL ResizeColWidthsToFit(CGXRange range, BOOL bSpan = FALSE, UINT nFlags = GX_UPDATENOW);
    virtual BOOL StoreHideRow(ROWCOL nRow, BOOL bHide);
    virtual BOOL StoreHideCol(ROWCOL nCol, BOOL bHide);
    virtual BOOL StoreDefaultRowHeight(int nHeight);
    virtual BOOL StoreDefaultColWidth(int nWidth);
    virtual BOOL StoreColWidth(ROWCOL nCol, int nWidth);
    virtual BOOL StoreRowHeight(ROWCOL nRow, int nHeight);
    // pOldSizes: the sizes before the change, one per row (column) from nFrom, or null.
    virtual void UpdateChangedColWidths(ROWCOL nFrom, ROWCOL nTo, const int* pOldSizes, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateChangedRowHeights(ROWCOL nFrom, ROWCOL nTo, const int* pOldSizes, UINT nFlags, BOOL bCreateHint);
    // The sizing checks a derived grid may override to refuse a size.
    virtual BOOL CanChangeRowHeight(ROWCOL nRow, int nPos);
    virtual BOOL CanChangeColWidth(ROWCOL nCol, int nPos);

    // Geometry (rows as absolute numbers or client indexes; limits 0 = none).
    void GetRowHeights(ROWCOL nFrom, ROWCOL nTo, CArray<int, int>& heights);
    void GetColWidths(ROWCOL nFrom, ROWCOL nTo, CArray<int, int>& widths);
    int CalcSumOfRowHeights(ROWCOL nFrom, ROWCOL nTo, int nLimit = 0);
    int CalcSumOfColWidths(ROWCOL nFrom, ROWCOL nTo, int nLimit = 0);
    int SumRowHeights(ROWCOL nClientFrom, ROWCOL nClientTo, int nLimit = 0);
    int SumColWidths(ROWCOL nClientFrom, ROWCOL nClientTo, int nLimit = 0);
    int CalcClientRowTop(ROWCOL nClientRow);
    int CalcClientColLeft(ROWCOL nClientCol);
    void CalcRectBelowRow(CRect& rect, ROWCOL nRow);
    void CalcRectRightOfCol(CRect& rect, ROWCOL nCol);
    // The client index at the point, or GX_INVALID beyond the last row (column).
    ROWCOL CalcClientRowFromPt(CPoint pt, int* pTop = nullptr);
    ROWCOL CalcClientColFromPt(CPoint pt, int* pLeft = nullptr);
    ROWCOL CalcBottomRowFromRect(const CRect& rect, BOOL* pbBeyond = nullptr);
    ROWCOL CalcRightColFromRect(const CRect& rect, BOOL* pbBeyond = nullptr);
    void CalcBottomRightRowColFromRect(const CRect& rect, ROWCOL& nRow, ROWCOL& nCol);
    CRect CalcRectFromRowColEx(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, BOOL bOutside = FALSE);
    CRect CalcRectFromRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight);
    CRect CalcRectFromRowColClipped(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight);
    CRect CalcCellRect(ROWCOL nRow, ROWCOL nCol) { return CalcRectFromRowCol(nRow, nCol, nRow, nCol); }
    CRect CalcCellRectClipped(ROWCOL nRow, ROWCOL nCol) { return CalcRectFromRowColClipped(nRow, nCol, nRow, nCol); }
    BOOL GetClientRowColFromPoint(CPoint pt, ROWCOL& nClientRow, ROWCOL& nClientCol, CRect* pRect = nullptr);
    void GetClientRowColFromPointEx(CPoint pt, ROWCOL& nClientRow, ROWCOL& nClientCol);
    CRect CalcClientCellRect(ROWCOL nClientRow, ROWCOL nClientCol);
    CRect CalcClientCellRectNext(ROWCOL nClientRow, ROWCOL nClientCol);
    // The last row (column) that shows in the grid rectangle, partly or fully.
    ROWCOL GetLastVisibleRow();
    ROWCOL GetLastVisibleCol();

    // ---- Covered, merged and floated spans
    virtual BOOL GetCoveredCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range);
    // The covered, merged or floated span a cell lies in.
    virtual BOOL GetCellRangeRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range);

    // ---- Drawing
    virtual void DrawCellRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, CDC* pDC);
    virtual void DrawCell(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CRect& rect, const CGXStyle& style);
    virtual void InvertCell(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CRect& rect);
    // 0 draws straight into the paint device context, 1 through a memory one; returns the old.
    int SetDrawingTechnique(int nTechnique);
    int GetDrawingTechnique() const { return m_nDrawingTechnique; }
    // Set while a cell is drawn whose background the engine left to its control.
    BOOL IsCellBackgroundToDraw() const { return m_bCellBackground; }
    // Primitives.
    void DrawBorder(const GXPenRecord& pen, const CRect& rect, int nSide, CDC* pDC,
                    const GXBrushRecord* pInterior = nullptr);
    void FillRectWithBrush(CDC* pDC, const CRect& rect, const GXBrushRecord& brush);
    virtual void DrawGridLine(CDC* pDC, int x, int y, int cx, int cy, int nDirection, int nIndex, int nMode);
    CRect SubtractBorders(const CRect& rect, const CGXStyle& style, BOOL bGridLines = TRUE);
    CSize AddBorders(CSize size, const CGXStyle& style);

    // ---- Cached drawing objects, metrics, hit testing and cursors
    virtual CFont* SelectStyleFont(CDC* pDC, const CGXStyle& style, const CGXStyle* pPrevious = nullptr);
    virtual void FreeObjectCache();
    virtual void CalcTextMetrics(CDC* pDC, int& nWidth, int& nHeight);
    virtual HCURSOR SetGridCursor(UINT nID, LPCSTR lpszSysID = nullptr);
    virtual HCURSOR UpdateCursor(CPoint pt);
    // Whether a press on the header cell (nRow, nCol) of a row (bRowHeader) or column drags the
    // selected rows or columns: the cell is selected, the whole table is not, and moving is on.
    BOOL HeaderPressMoves(ROWCOL nRow, ROWCOL nCol, BOOL bRowHeader);
    virtual void SetOverrideCursor(UINT nID);
    CFont* LookupFont(const CGXFont& font);
    CBrush* LookupBrush(const GXBrushRecord& brush);
    CPen* LookupPen(const GXPenRecord& pen);
    CDC* GetFontDC();
    void ReleaseFontDC();
    int GetScaleFactor() const { return m_bPrinting ? m_nPrintCharWidth : m_nCharWidth; }
    int GetScaleHeight() const { return m_bPrinting ? m_nPrintLineHeight : m_nLineHeight; }
    void UpdateFontMetrics();
    int HitTest(CPoint pt, ROWCOL* pRow = nullptr, ROWCOL* pCol = nullptr, CRect* pRect = nullptr);
    void SetStyleReadOnly(CGXStyle& style, BOOL bReadOnly);
    // Where a cell's composed style sits in the style cache: FALSE when outside it.
    BOOL GetStyleCacheIndex(ROWCOL nRow, ROWCOL nCol, int& nRowIndex, int& nColIndex);

    // ---- Redraw requests and update hints
    virtual void OnGridUpdate(CWnd* pSender, LPARAM lHint, CObject* pHint);
    virtual void RedrawRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight,
                             UINT nFlags = GX_UPDATENOW, BOOL bCreateHint = TRUE);
    virtual void RedrawHeaderMarks(ROWCOL nRow, ROWCOL nCol, int nWhich, UINT nFlags);
    // Invalidates (with erase) a part of the grid window; flag 2 updates it at once.
    void InvalidateGrid(const CRect& rect, UINT nFlags);
    // Sends a hint to the other views of the document (nothing when not linked).
    void SendHint(CGXGridHint& hint);

    // ---- Selection
    BOOL IsCellInRangeList(ROWCOL nRow, ROWCOL nCol, const CGXRangeList* pList);
    virtual BOOL SelectRange(const CGXRange& range, BOOL bSelect = TRUE, BOOL bRedraw = TRUE);
    virtual BOOL ChangeSelectionList(const CGXRange& range, BOOL bSelect);
    virtual void OnChangedSelection(const CGXRange* pRange, BOOL bIsDragging, BOOL bKey);
    virtual void InvertChangedSelection(const CGXRange& range, const CGXRangeList* pOldList, BOOL bUpdateViews);
    virtual void RedrawSelectionChange(POSITION pos, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight,
                                       BOOL bUpdateViews);
    virtual void RedrawAllSelections(BOOL bUpdateViews);
    void SetSelectionRange(POSITION pos, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight);
    BOOL CopySelectedRanges(CGXRangeList& list, BOOL bAddCurrentCell);
    BOOL SetSelectionFrameLock(BOOL bLock, BOOL bUpdateViews);
    void UpdateSelectionFrame(CDC* pDC, BOOL bErase, const CGXRange* pNewRange);
    void DrawSelectionFrame(CDC* pDC, const CGXRange& range, int nType);
    virtual void DrawSelectionFramePart(CDC* pDC, const CRect& rect, const CRect& rectClip, BOOL bTopEdge,
                                        BOOL bLeftEdge, int nType);
    virtual int HitTestSelectionEdge(ROWCOL nRow, ROWCOL nCol, CPoint pt, const CRect& rect);

    // ---- Size tracking
    virtual BOOL StartTracking(ROWCOL nRow, ROWCOL nCol, int nMode);
    virtual void MoveTracking(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual void EndTracking(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual void CancelTracking();
    BOOL GetDrawState(int* pMode, ROWCOL* pRowCol) const;
    // The splitter this grid is a pane of, with the pane's row and column.
    class CSplitterWnd* GetSplitter(int* pRow, int* pCol);
    BOOL IsTracking() const { return m_bTracking; }

    // ---- Scrolling
    int GetScrollUnit(int nBar) const { return nBar == SB_VERT ? m_nVScrollUnit : m_nHScrollUnit; }
    void SetGridScrollRange(int nBar, int nMin, int nMax, BOOL bRedraw = TRUE);
    int SetGridScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetGridScrollPos(int nBar);
    void GetGridScrollRange(int nBar, int* pMin, int* pMax);
    virtual void RefreshScrollBars(BOOL bNoRedraw = FALSE, BOOL bOnlyIfCountsChanged = FALSE);
    BOOL LockScrollBars(BOOL bLock);
    void ScrollGridWindow(int dx, int dy, LPCRECT pScrollRect, LPCRECT pClipRect);
    virtual BOOL BringCellIntoView(ROWCOL nRow, ROWCOL nCol, UINT nFlags = GX_UPDATENOW, BOOL bFloatMerge = FALSE);
    virtual BOOL DoScroll(int nDirection, ROWCOL nCount);
    virtual BOOL ScrollCells(int nDirection, ROWCOL nCount);
    // Scrolls while the mouse is held beyond the cells, until nEndMessage arrives.
    virtual void AutoScrollLoop(UINT nEndMessage, BOOL bVert, BOOL bHorz);
    // Set while the mouse selects or drags (the auto-scroll loop runs only then).
    BOOL m_bMouseTracking = FALSE;
    // Set while the selection may be dragged by its edge.
    BOOL m_bDragEnabled = FALSE;

    // ---- Inserting, removing and moving rows and columns. Each records its inverse for undo;
    // store halves change the data and everything keyed by row (column) number, update halves
    // the screen. Destinations are the number the first moved row has after the move.
    // InsertRows: pHeights, pCellStyles (nColumns per row, row-major, null entries skipped) and
    // pRowStyles are optional and stay the caller's.
    virtual BOOL InsertRows(ROWCOL nRow, ROWCOL nCount, const int* pHeights = nullptr,
                            const CObArray* pCellStyles = nullptr, const CObArray* pRowStyles = nullptr,
                            ROWCOL nColumns = 0, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL InsertCols(ROWCOL nCol, ROWCOL nCount, const int* pWidths = nullptr,
                            const CObArray* pCellStyles = nullptr, const CObArray* pColStyles = nullptr,
                            ROWCOL nRows = 0, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL RemoveRows(ROWCOL nFrom, ROWCOL nTo, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL RemoveCols(ROWCOL nFrom, ROWCOL nTo, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL MoveRows(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL MoveCols(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);
    virtual BOOL StoreInsertRows(ROWCOL nRow, ROWCOL nCount, BOOL bProcessed = FALSE);
    virtual BOOL StoreInsertCols(ROWCOL nCol, ROWCOL nCount, BOOL bProcessed = FALSE);
    virtual BOOL StoreRemoveRows(ROWCOL nFrom, ROWCOL nTo, BOOL bProcessed = FALSE);
    virtual BOOL StoreRemoveCols(ROWCOL nFrom, ROWCOL nTo, BOOL bProcessed = FALSE);
    virtual BOOL StoreMoveRows(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, BOOL bProcessed = FALSE);
    virtual BOOL StoreMoveCols(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, BOOL bProcessed = FALSE);
    virtual void UpdateInsertRows(ROWCOL nRow, ROWCOL nCount, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateInsertCols(ROWCOL nCol, ROWCOL nCount, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateRemoveRows(ROWCOL nFrom, ROWCOL nTo, const int* pOldHeights, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateRemoveCols(ROWCOL nFrom, ROWCOL nTo, const int* pOldWidths, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateMoveRows(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags, BOOL bCreateHint);
    virtual void UpdateMoveCols(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags, BOOL bCreateHint);
    // Where a row (column) n lands when nFrom..nTo moves to nDest.
    static ROWCOL MovedIndex(ROWCOL n, ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest);
    // Freezing the one selected block of rows (columns) and taking it back.
    virtual void FreezeRows();
    virtual BOOL CanFreezeRows();
    virtual void UnfreezeRows();
    virtual BOOL CanUnfreezeRows();
    virtual void FreezeCols();
    virtual BOOL CanFreezeCols();
    virtual void UnfreezeCols();
    virtual BOOL CanUnfreezeCols();
    // Covering a range (a one-cell range takes the covering back).
    virtual BOOL SetCoveredCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight,
                                 UINT nFlags = GX_UPDATENOW, int nCommand = gxDo);

    // ---- Find and replace (gxfind.cpp). The program's grids share one search
    // (GXGetFindReplaceState); the grid that opened the dialog is the active search grid and answers
    // it (OnFindReplace). A search walks the current cell's column, without wrapping around.
    virtual BOOL FindText(LPCSTR lpszFind, BOOL bDown, BOOL bMatchCase);
    virtual void Replace(LPCSTR lpszFind, BOOL bDown, BOOL bMatchCase, LPCSTR lpszReplace);
    // From the current row down; one undo step unless the state's block switch is off. FALSE when
    // the user aborted.
    virtual BOOL ReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bMatchCase);
    // A miss: the system's beep.
    virtual void Beep();
    virtual void ShowFindReplaceDialog(BOOL bFindOnly);
    // The next hit from the current cell on (its control first, then the cells), beeping at a miss.
    BOOL FindNextStep(BOOL bBeep);
    // The cells after nRow (before it searching up) in column nCol; a hit becomes current when
    // bSetCell.
    BOOL FindInCells(ROWCOL nRow, ROWCOL nCol, BOOL bSetCell);
    ROWCOL m_nFindStartRow = 0;   // the row the last search started at
    BOOL m_bFindAborted = FALSE;  // the user ended the last scan with Escape

    // ---- Sorting and moving data (gxsort.cpp). The order of a move: entry i is the position,
    // within the range, of the row (column) that goes to position i.
    virtual void SortRows(CGXRange sortRange, CGXSortInfoArray& sortInfo, UINT nFlags = GX_UPDATENOW);
    virtual BOOL MoveDataRows(const CGXRange& sortRange, const CDWordArray& order, UINT nFlags = GX_UPDATENOW,
                              int nCommand = gxDo);
    virtual BOOL StoreMoveDataRows(const CGXRange& sortRange, const CDWordArray& order);
    virtual void UpdateMoveDataRows(const CGXRange& sortRange, UINT nFlags, BOOL bCreateHint);
    virtual void GetSortKeys(ROWCOL nRow, const CGXSortInfoArray& sortInfo, CGXSortRecord& record);
    virtual void SortCols(CGXRange sortRange, CGXSortInfoArray& sortInfo, UINT nFlags = GX_UPDATENOW);
    virtual BOOL MoveDataCols(const CGXRange& sortRange, const CDWordArray& order, UINT nFlags = GX_UPDATENOW,
                              int nCommand = gxDo);
    virtual BOOL StoreMoveDataCols(const CGXRange& sortRange, const CDWordArray& order);
    virtual void UpdateMoveDataCols(const CGXRange& sortRange, UINT nFlags, BOOL bCreateHint);
    virtual void GetSortKeysCol(ROWCOL nCol, const CGXSortInfoArray& sortInfo, CGXSortRecord& record);
    virtual void SortRecords(const CGXSortInfoArray& sortInfo, CGXSortRecord** ppRecords, int nCount);
    virtual void GetSortKeyText(CGXControl* pControl, ROWCOL nRow, ROWCOL nCol, const CGXSortInfo& sortInfo,
                                const CGXStyle& style, CString& sKey);

    // ---- Moving selected rows or columns by dragging their headers
    virtual BOOL StartRowColMoveDrag(ROWCOL nRow, ROWCOL nCol);
    virtual void TrackRowColMoveDrag(ROWCOL nAnchorRow, ROWCOL nAnchorCol, ROWCOL nRow, ROWCOL nCol);
    virtual BOOL EndRowColMoveDrag(ROWCOL nAnchorRow, ROWCOL nAnchorCol, ROWCOL nRow, ROWCOL nCol);
    virtual void CancelRowColMoveDrag();
    virtual BOOL CanStartRowMoveDrag(ROWCOL nFrom, ROWCOL nTo);
    virtual BOOL CanStartColMoveDrag(ROWCOL nFrom, ROWCOL nTo);
    virtual BOOL CanMoveRowsTo(ROWCOL nFrom, ROWCOL nTo, ROWCOL nTarget);
    virtual BOOL CanMoveColsTo(ROWCOL nFrom, ROWCOL nTo, ROWCOL nTarget);
    virtual BOOL CanDropRowsAt(ROWCOL nFrom, ROWCOL nTo, ROWCOL nTarget);
    virtual BOOL CanDropColsAt(ROWCOL nFrom, ROWCOL nTo, ROWCOL nTarget);
    // The destination a block nFrom..nTo gets when released on nTarget; GX_INVALID: no move.
    static ROWCOL DropDestination(ROWCOL nFrom, ROWCOL nTo, ROWCOL nTarget);

    // ---- Covered cells, float cells and merge cells (spans)
    virtual BOOL StoreCoveredCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, BOOL bSet);
    virtual void UpdateCoveredCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT nFlags,
                                          BOOL bCreateHint);
    virtual void ExpandRangeByCoveredCells(CGXRange& range);
    void RebuildCoveredCellsIndex();
    // Float cells (A) and merge cells (B): marking for later evaluation (a new count, not
    // 0xFFFFFFFF, clamps the pending ranges), evaluation (TRUE when a span changed; the changed
    // spans are added to rangeChanged), lookups and stores.
    virtual void DelaySpanRecalcA(const CGXRange& range, ROWCOL nNewColCount = 0xFFFFFFFF);
    virtual BOOL RecalcSpansA(const CGXRange& range, UINT nFlags, CGXRange& rangeChanged);
    virtual BOOL GetFloatCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range);
    virtual BOOL SetFloatCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT nFlags = 2);
    virtual BOOL CanFloatCell(CGXControl* pControl, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, BOOL bFloat);
    virtual void ExpandRangeByFloatCells(CGXRange& range);
    virtual void DelaySpanRecalcB(const CGXRange& range, ROWCOL nNewRowCount = 0xFFFFFFFF,
                                  ROWCOL nNewColCount = 0xFFFFFFFF);
    virtual BOOL RecalcSpansB(const CGXRange& range, UINT nFlags, CGXRange& rangeChanged);
    // nDirection 0 within a row, 1 within a column, -1 either (never overlapping).
    virtual BOOL GetMergedCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range, int nDirection = -1);
    // Sets (or clears) a merged run; a run of one cell clears. Marks the float spans again,
    // redraws and tells the other views.
    virtual BOOL StoreMergedCells(int nDirection, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight,
                                  BOOL bSet, UINT nFlags = 2);
    virtual BOOL CanMergeCell(CGXControl* pControl, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, int nDirection);
    virtual BOOL CanMergeCells(const CGXStyle& style, const CGXStyle& other);
    virtual void ExpandRangeByMergedCells(CGXRange& range);
    // Both chains for the frozen and scrolling parts on screen; TRUE when a span changed.
    virtual BOOL EvaluateVisibleSpans(CGXRange& rangeChanged);
    // Structure changes (nOp 0 insert a, count b; 1 remove a..b; 2 move a..b to c).
    void SpansFollowStructure(int nOp, BOOL bRows, ROWCOL a, ROWCOL b, ROWCOL c = 0);
    void RecordCoveredCellsBeforeRemove(BOOL bRows, ROWCOL nFrom, ROWCOL nTo, int nCommand);
    // Suppress the evaluation of a chain while set.
    BOOL m_bLockFloatSpans = FALSE;
    BOOL m_bLockMergeSpans = FALSE;
protected:
    class CGXSpanCellPool* FloatPool();
    class CGXSpanCellPool* MergePool(int nDirection);
    void ShiftSpanPools(int nOp, BOOL bRows, ROWCOL a, ROWCOL b, ROWCOL c);
    BOOL FloatSpanOf(ROWCOL nRow, ROWCOL nFirst, UINT nFlags, CGXRange& changed, BOOL& bAny);
    BOOL EvaluateFloatCell(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CGXRange& changed, BOOL& bAny);
    BOOL ExamineMergePair(int nDir, ROWCOL r1, ROWCOL c1, ROWCOL r2, ROWCOL c2, UINT nFlags, CGXRange& changed,
                          BOOL& bAny, BOOL& bChanged);
    BOOL EvaluateMergeCell(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CGXRange& changed, BOOL& bAny);
public:

    // ---- Mouse: click hooks and tracking. Tracking flags: 0x01 a press is tracked, 0x02 it builds
    // a selection, 0x04 down, 0x08 moved, 0x10 up, 0x20 just left the start cell, 0x40 on the start
    // cell, 0x80 Ctrl at the press, 0x100 the press was on the current cell held by its control.
    virtual BOOL OnSelectHeaderWithCtrl(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonClickedRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnMButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnRButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnMouseMoveOver(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt);
    virtual BOOL OnCellLeftClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                                 UINT nFlags, WORD nHitState);
    virtual BOOL OnCellMiddleClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                                   UINT nFlags, WORD nHitState);
    virtual BOOL OnCellRightClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                                  UINT nFlags, WORD nHitState);
    // The starting of a cell drag (taken over by the transfer code): FALSE, not started.
    virtual BOOL StartCellDrag(ROWCOL nRow, ROWCOL nCol, CPoint pt);
    void CaptureMouse();
    BOOL IsPointOutsideMainWindow(CPoint ptScreen);
    // One step of scrolling while something is dragged over the grid (screen point); TRUE while
    // the point asks for scrolling. The time comes from the seam's tick count.
    BOOL AutoScrollStep(CPoint ptScreen);
    WORD GetTrackingFlags() const { return m_wTracking; }
    BOOL IsMovingRowsCols() const { return m_bMovingRowCol; }
    // 1 (default): a selection drag runs the auto-scroll loop; 0 it only takes the capture.
    BOOL m_bUseScrollLoop = TRUE;
    // Auto-scroll parameters (the drag code sets them): border width, delays in ms, step factors,
    // and 0x40 in the drag flags scrolls also while the point is outside the grid.
    int m_nAutoScrollBorder = 16;
    DWORD m_nAutoScrollFirstDelay = 300, m_nAutoScrollRepeatDelay = 50, m_nAutoScrollOutsideDelay = 50;
    int m_nAutoScrollRowFactor = 1, m_nAutoScrollColFactor = 1;
    DWORD m_dwDragFlags = 0;

    // ---- Tab and record windows: a grid inside a record window keeps its record beam up to date
    // (record count and current record, 1-based after the header rows).
    virtual void UpdateRecordWindow();

    // ---- Clipboard, text transfer and cell drag and drop
    // Text export and import shared by the clipboard and drops: the text layout is cells
    // separated by m_strCopySeparator (tab when empty), rows by CR LF; "Grid Styles" is the
    // block's rows and columns as two DWORDs and a CObArray of its styles, row by row.
    virtual BOOL CopyRangesToClipboard(const CGXRangeList& list);
    virtual BOOL WriteRangesAsText(CFile& file, const CGXRangeList& list);
    virtual BOOL WriteRangesAsStyles(CArchive& ar, const CGXRangeList& list, BOOL bComposed);
    virtual BOOL CutRanges(const CGXRangeList& list, BOOL bStyles);
    virtual BOOL ClearCells(const CGXRangeList& list, BOOL bStyles);
    virtual BOOL PasteStylesFromArchive(CArchive& ar, const CGXRange& target, BOOL bNoAsk);
    virtual BOOL PasteTextFromBuffer(LPCSTR lpszText, DWORD dwSize, const CGXRange& target);
    virtual BOOL CalcTextBlockSize(LPCSTR lpszText, DWORD dwSize, ROWCOL& nRows, ROWCOL& nCols);
    virtual BOOL PasteTextToCell(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags,
                                 const CGXStyle* pStyle);
    // Pastes what the open clipboard offers into the range.
    virtual BOOL GetClipboardBuffer(const CGXRange& target);
    virtual BOOL ConfirmPasteSizeMismatch();
    // The two blocks as memory handles (null when nothing was written), and a styles block
    // pasted from a handle that stays its owner's.
    HGLOBAL WriteTextBlock(const CGXRangeList& list);
    HGLOBAL WriteStylesBlock(const CGXRangeList& list, BOOL bComposed);
    BOOL PasteStylesFromHandle(HGLOBAL hBlock, const CGXRange& target, BOOL bNoAsk);
    BOOL CopyTextToClipboard(const CGXRangeList& list);
    BOOL CopyStylesToClipboard(const CGXRangeList& list, BOOL bComposed);
    BOOL CopyCellRange(const CGXRange& range);
    BOOL CutCellRange(const CGXRange& range, BOOL bStyles);
    DWORD m_nClipboardFlags = 0x38;
    CString m_strPasteSeparators;
    CString m_strCopySeparator;
    ROWCOL m_nLastCopyRows = 0, m_nLastCopyCols = 0;
    // Drag and drop: the source side needs m_pDragDataSource (the engine owns it and releases
    // it when it goes); the target operations follow a drop target's calls.
    virtual BOOL StartDragDrop(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL FillDragDataSource(COleDataSource* pSource, const CGXRangeList& list, ROWCOL& nRows,
                                    ROWCOL& nCols);
    virtual BOOL GetDropBlockSize(COleDataObject* pDataObject, ROWCOL& nRows, ROWCOL& nCols);
    virtual BOOL CanDropData(COleDataObject* pDataObject);
    virtual BOOL PasteFromDataObject(COleDataObject* pDataObject, ROWCOL nRow, ROWCOL nCol);
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDragLeave();
    virtual DROPEFFECT OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual DROPEFFECT OnDropEx();
    virtual DROPEFFECT OnDragScroll(DWORD dwKeyState, CPoint point);
    virtual BOOL DrawDragFeedback(int x, int y, BOOL bErase, BOOL bDraw);
    // An edit window's press fell into its selected text: drags the current cell's text.
    virtual BOOL OnTextDragStart(CPoint point);
    // Where a block from this grid lands when the mouse is on (nRow, nCol); FALSE outside.
    BOOL CalcDropTarget(ROWCOL& nRow, ROWCOL& nCol);
    void SetDragDataSource(COleDataSource* pSource);
    DWORD m_nDndSourceFlags = 0;
    DWORD m_nDndTargetFlags = 0;
    COleDataSource* m_pDragDataSource = nullptr;
    ROWCOL m_nDndRow = 0xFFFFFFFF, m_nDndCol = 0xFFFFFFFF;
    CRect m_rcDndFeedback;
    ROWCOL m_nDndRows = 0, m_nDndCols = 0;
    BOOL m_bDndSourceTimer = FALSE;
    BOOL m_bDndTargetTimer = FALSE;
    DWORD m_dwDndForcedEffect = 0;
    BOOL m_bDndSource = FALSE;
    // ---- Printing: page breaks, one page at a time, header and footer
    // The page rectangle less the properties' margins.
    virtual void SubtractPageMargins(CDC* pDC, CPrintInfo* pInfo);
    virtual void DrawHeaderFooter(CDC* pDC, CPrintInfo* pInfo);
    // Entry i: the first row (column) of the i-th band of pages; the last entry is one beyond the
    // last printed row (column). Valid from OnBeginPrinting to OnEndPrinting.
    const CDWordArray& GetRowBreaks() const { return m_awRowBreaks; }
    const CDWordArray& GetColBreaks() const { return m_awColBreaks; }
    // The page rectangle of the job (logical units of the printer) and the page band that holds
    // the screen's top row and left column.
    CRect m_rectPage;
    ROWCOL m_nScreenPageRow = 0, m_nScreenPageCol = 0;
    // The job prints the first selected range, or (nothing selected) the window's part.
    BOOL m_bPrintSelection = FALSE, m_bPrintVisibleOnly = FALSE;
    // Appends the page starts of one direction from nStart on, up to nLast, and nLast + 1.
    void CalcPageBreaks(BOOL bRows, CDWordArray& breaks, ROWCOL nStart, ROWCOL nLast);
    // The page band and page of the job for a 1-based page number, by the properties' page order.
    void GetPageBands(UINT nPage, ROWCOL& nPageRow, ROWCOL& nPageCol);

    // ---- Non-virtual services
    // Whether an operation in this command mode records its inverse.
    BOOL IsRecording(int nCommand) const
    {
        return m_pParam != nullptr && nCommand != gxRollback && m_pParam->IsUndoEnabled();
    }
    void SetParam(CGXGridParam* pParam, BOOL bOwn = TRUE);
    CGXGridParam* GetParam() const { return m_pParam; }
    CWnd* GridWnd() const { return m_pGridWnd; }
    void GetGridRect(LPRECT lpRect);
    void SetGridRect(BOOL bSet, LPCRECT lpRect = nullptr);
    int GetScrollBarMode(int nBar) const { return nBar == SB_VERT ? m_nVScrollMode : m_nHScrollMode; }
    BOOL IsInitDone() const { return m_bInitDone; }
    BOOL IsPrinting() const { return m_bPrinting != 0; }
    // Stores a value text into every cell of the range.
    BOOL SetValueRange(const CGXRange& range, LPCSTR lpszValue, int nMode = gxOverride, int nType = 0,
                       UINT nFlags = GX_UPDATENOW);
    // The composed value of a cell; valid until the next call.
    const CString& GetCellValue(ROWCOL nRow, ROWCOL nCol);
    const CGXStyle* GetStandardStyle();
    // A base style of the styles map; an id the map does not hold throws
    // the not-supported exception.
    const CGXStyle& LookupBaseStyle(WORD nID);
    // The style a control is storing with (null outside such a store).
    const CGXStyle* GetPreparedStyle() const { return m_pPreparedStyle; }
    void SetPreparedStyle(const CGXStyle* pStyle) { m_pPreparedStyle = pStyle; }
    // Forgets the current cell's composed style and control.
    void FreeCurrentStyle();
    // The warning text a control's validation leaves for the user (null empties it).
    virtual void SetTextField(LPCSTR lpszText) { m_strWarningText = lpszText != nullptr ? lpszText : ""; }
    const CString& GetWarningText() const { return m_strWarningText; }
    // Drops the composed styles cached for drawing.
    void FreeStyleCache();

    // ---- Members
    BOOL m_bLinkedToDocument = FALSE;
    int m_nHintTag = 0;
    CWnd* m_pGridWnd;
    CDocument* m_pDocument;
    void* m_pOwner;
    int m_nZoom = 100;
    ROWCOL m_nCurrentRow = 0;
    ROWCOL m_nCurrentCol = 0;
    ROWCOL m_nTopRow = 1;
    ROWCOL m_nLeftCol = 1;
    BOOL m_bCurrentCellValid = FALSE;
    CGXControl* m_pCurrentControl = nullptr;
    CGXRange m_selRange;
    BOOL m_bSizeLock = FALSE;
    CString m_strWarningText;
    // Current-cell state the focus and mouse handlers read.
    BOOL m_bLeavingCell = FALSE;    // a cell is being left or a warning shows: focus handlers wait
    BOOL m_bWarningShown = FALSE;   // a warning box was shown
    BOOL m_bGridActive = FALSE;     // the grid window or one of its children has the focus
    BOOL m_bSettingFocus = FALSE;   // the engine itself is moving the focus
    BOOL m_bDeferMarking = FALSE;   // redraw an entered cell through its control's Invalidate
    BOOL m_bFastMove = TRUE;        // keyboard moves keep the cached styles
    HWND m_hLastFocusWnd = nullptr; // the window that had the focus before the grid got it
    BOOL m_bInvalidateOnFocus = FALSE;
    // Undo state: the block this engine opened, the block being executed, the current cell that
    // a command asked for while a block executes.
    CString m_strBlockName;
    CString m_strUndoTemplate, m_strRedoTemplate;
    CGXBlockCmd* m_pOpenBlock = nullptr;
    CGXBlockCmd* m_pExecutingBlock = nullptr;
    BOOL m_bExecutingBlock = FALSE;
    BOOL m_bDeferredCell = FALSE, m_bDeferredPlace = FALSE;
    ROWCOL m_nDeferredRow = 0, m_nDeferredCol = 0;   // a validation on 0x792 failed: redraw at the next focus
    // The selection range an extension grows (a position in the selection list), its anchor
    // cell and the last cell it reached.
    POSITION m_posAnchor = nullptr;
    ROWCOL m_nAnchorRow = 0, m_nAnchorCol = 0, m_nLastRow = 0, m_nLastCol = 0;

protected:
    void ReleaseGridObjects();
    void ReadBaseStylePointers();
    // Re-reads the base-style pointers when the styles map was replaced
    // (parameters loaded from an archive); TRUE when it did.
    BOOL CheckStylesMap();
    // Applies header values and the standard style to a header cell.
    void ComposeHeaderCell(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, BOOL bResolve);

    CPtrList m_styleFreeList{10};
    CGXStyle* m_pStyleA = nullptr;
    CGXStyle* m_pStyleB = nullptr;
    CGXStyle* m_pStyleC = nullptr;
    CRuntimeClass* m_pStyleClass = nullptr;
    int m_nVScrollMode = 0;
    int m_nHScrollMode = 0;
    CGXCollMapDWordToPtr m_mapControls{10};   // id -> control
    WORD m_nCachedControlId = 0;
    CGXControl* m_pCachedControl = nullptr;
    CGXControl* m_pDefaultControl = nullptr;
    const CGXStyle* m_pStyleRowHeader = nullptr;
    const CGXStyle* m_pStyleColHeader = nullptr;
    const CGXStyle* m_pStyleStandard = nullptr;
    DWORD m_dwStylesMapStampSeen = 0;   // the parameter's styles-map stamp the pointers were read from
    CPtrArray m_styleCache;                   // composed styles of drawing
    CGXStyle* m_pCurrentStyle = nullptr;      // the current cell's composed style
    CGXStyle* m_pValueStyle = nullptr;        // scratch of GetCellValue and SetValueRange
    BOOL m_bValueOnly = FALSE;
    const CGXStyle* m_pPreparedStyle = nullptr;
    CGXGridParam* m_pParam = nullptr;
    BOOL m_bOwnParam = FALSE;
    BOOL m_bInitDone = FALSE;
    int m_bPrinting = 0;
    CRect m_rectPrinting;
    ROWCOL m_nPrintTopRow = 1;
    ROWCOL m_nPrintLeftCol = 1;
    CDWordArray m_awRowBreaks;
    CDWordArray m_awColBreaks;
    BOOL m_bExplicitRect = FALSE;
    CRect m_rectExplicit;
    int m_nCxFrame, m_nCyFrame, m_nCxBorder, m_nCyBorder;
    HCURSOR m_hArrowCursor;

    // ---- Drawing state
    BOOL m_bHideHeaders = FALSE;          // hides the header rows and columns (not while printing)
    BOOL m_bShowRowHeadersAnyway = FALSE; // exception: the header rows stay while headers are hidden
    BOOL m_bShowColHeadersAnyway = FALSE; // exception: the header columns stay
    BOOL m_bLimitSizeToWindow = FALSE;    // no scrollable row (column) is larger than the room left
    int m_nDrawingTechnique = 0;
    BOOL m_bCellBackground = FALSE;
    BOOL m_bDrawingSpan = FALSE;
    int m_nDrawDepth = 0;
    GXDrawContext* m_pDrawContext = nullptr;
    BOOL m_bAreaMode = FALSE;
    BOOL m_bKeepDrawingObjects = FALSE;
    BOOL m_bKeepCurrentStyle = FALSE;
    BOOL m_bDBCSPending = FALSE;   // a lead byte waits for its trail byte
    BYTE m_chDBCSLead = 0;
    BOOL m_bInvertCurrentOnce = FALSE;    // the next InvertCell inverts the current cell too
    CPtrList m_tempObjects;
    BOOL m_bScrollBarsChanged = FALSE;
    int m_nCharWidth = 10, m_nLineHeight = 15;
    int m_nPrintCharWidth = 10, m_nPrintLineHeight = 15;
    ROWCOL m_nLastVisibleRow = 0xFFFFFFFF, m_nLastVisibleCol = 0xFFFFFFFF;
    ROWCOL m_nRunClientRow = 0, m_nRunClientCol = 0;   // running sums of CalcClientCellRectNext
    int m_nRunTop = 0, m_nRunLeft = 0;
    int m_nDragPenStyle = PS_DOT;
    // Caches of drawing objects and composed styles.
    CMapStringToPtr m_fontCache{10};
    CMapStringToPtr m_brushCache{10};
    CMapStringToPtr m_penCache{10};
    CClientDC* m_pFontDC = nullptr;
    HGDIOBJ m_hOldFontDCFont = nullptr;
    enum { nCacheRows = 92, nCacheCols = 64, nCacheReserve = 16 };
    ROWCOL m_nCacheRowOrigin = 0, m_nCacheColOrigin = 0;
    int m_nCacheShiftRows = 0, m_nCacheShiftCols = 0;
    CPtrList m_afterPaintStyles;
    UINT m_nOverrideCursor = 0;
    int m_nHitTolerance = 8;
    // Selection frame.
    CGXRange m_rangeFrame;
    int m_nFrameType = 0;
    BOOL m_bFrameShown = FALSE;
    BOOL m_bSelFrameLock = FALSE;
    // Scroll bars.
    int m_nVScrollUnit = 2, m_nHScrollUnit = 2;
    ROWCOL m_nLastBarRows = 0, m_nLastBarCols = 0;
    BOOL m_bRefreshingBars = FALSE;
    BOOL m_bLockScrollBars = FALSE;
    // Size tracking.
    int m_nTrackMode = 0;
    ROWCOL m_nTrackRow = 0, m_nTrackCol = 0;
    BOOL m_bTracking = FALSE;
    BOOL m_bTrackMoved = FALSE;
    CRect m_rectTrackStart, m_rectTrackLine;
    int m_nTrackLimit = 0;
    CPoint m_ptTrackOffset;
    BOOL m_bTrackLiveGrid = FALSE, m_bTrackLiveHeader = FALSE, m_bTrackInvert = FALSE;
    // Which inverted lines are on the screen: the start line (not when the start area was
    // repainted instead) and the moving line (not where it lies on the start line shown).
    BOOL m_bTrackStartShown = FALSE, m_bTrackLineShown = FALSE;
    int m_nTrackStartSize = 0;
    BOOL m_bTrackStoredBefore = FALSE;
    LONG m_nTrackStoredValue = 0;

    void ReleaseStyleCacheEntries(BOOL bAll);
    void InvertSelectionOfCells(CDC* pDC, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight,
                                const CGXRangeList* pOld, POSITION posSkip, const CGXRange* pNew);
    void DrawStraight(CDC* pDC, BOOL bMemory);
    // The steps of DrawCellRange, in their order (gxdraw.cpp).
    void BeginDrawContext(GXDrawContext& ctx, CDC* pDC);
    BOOL LayOutDrawBlock(GXDrawContext& ctx, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight);
    void ForgetCurrentCellStyle(GXDrawContext& ctx);
    void PrepareDrawCells(GXDrawContext& ctx);
    void MarkSpanCells(GXDrawContext& ctx, ROWCOL i, ROWCOL j, const CGXRange& span, BOOL bCovered);
    void DrawBlockByRows(GXDrawContext& ctx);
    void DrawBlockOverArea(GXDrawContext& ctx);
    void FillBackgroundRuns(GXDrawContext& ctx, ROWCOL i);
    void DrawRowCells(GXDrawContext& ctx, ROWCOL i);
    void DrawSpanPart(GXDrawContext& ctx, ROWCOL i, ROWCOL j);
    void DrawStyleBorders(CDC* pDC, const CGXStyle& style, const CRect& rect);
    BOOL NoteCurrentControl(GXDrawContext& ctx, const CGXStyle& style, const CRect& rect);
    void FillBeyondLastRowCol(GXDrawContext& ctx);
    void InvertSelectedCells(GXDrawContext& ctx);
    int MaxTopRow(int nRoom);
    int MaxLeftCol(int nRoom);
    void SetTrackedSize(int nSize, BOOL bRestoreEntry);
    BOOL TrackLineInvert(const CRect& rect);
    void TrackLinesErase();
    CRect TrackLineAt(int nPos) const;
    int TrackPos() const;
    BOOL IsWindowShown();
    CPoint PanePosition();
    HWND m_hPaneWnd = nullptr;
    // Calls fn for every control registered with the grid.
    template <class Fn> void ForEachControl(Fn fn)
    {
        for (POSITION pos = m_mapControls.GetStartPosition(); pos != nullptr;) {
            DWORD id = 0;
            void* p = nullptr;
            m_mapControls.GetNextAssoc(pos, id, p);
            if (p != nullptr)
                fn(static_cast<CGXControl*>(p));
        }
    }
    // Mouse tracking.
    UINT m_nButtonFlags = 0;
    WORD m_wTracking = 0;
    ROWCOL m_nStartRow = 0, m_nStartCol = 0;
    BOOL m_bMovedSincePress = FALSE;
    BOOL m_bCursorOnly = TRUE;   // a mouse move only sets the cursor; no control is offered it
    int m_nPointMargin = 0;
    CPoint ClampTrackPoint(CPoint pt);
    void StartMouseLoop(BOOL bRows, BOOL bCols);
    BOOL CellClick(int nButton, ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                   UINT nFlags, WORD nHitState);
    BOOL HandleOtherButtonDown(int nButton, UINT nFlags, CPoint pt);
    BOOL HandleButtonUp(int nButton, UINT nFlags, CPoint pt);
    BOOL HandleOtherDblClk(int nButton, UINT nFlags, CPoint pt);
    void ClampCellToCounts(ROWCOL& nRow, ROWCOL& nCol, BOOL bInner);
    // Header drags of rows or columns.
    BOOL m_bMovingRowCol = FALSE;
    int m_nMoveMode = 0;   // 2 rows, 1 columns
    CGXRange m_rangeMove;
    ROWCOL m_nMoveLastRow = 0, m_nMoveLastCol = 0;
    CWnd* m_pMarkerWnd = nullptr;
    void DestroyMarker();
    // Auto-scroll state.
    int m_nAutoDirH = 0, m_nAutoDirV = 0;
    BOOL m_bAutoInside = FALSE;
    DWORD m_dwAutoLast = 0, m_dwAutoDelay = 0;
    // Window size memory.
    int m_nLastCx = 0, m_nLastCy = 0;
    CRect m_rectLastWindow;
    BOOL m_bParentMaximized = FALSE;
    BOOL m_bNoSmartResize = FALSE;
    CPoint m_ptPane;
};
