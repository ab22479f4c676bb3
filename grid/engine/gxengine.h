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
    virtual BOOL PlaceCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT nFlags = 0);
    BOOL GetCurrentCellPos(ROWCOL& nRow, ROWCOL& nCol) const;
    BOOL IsCurrentCellAt(ROWCOL nRow, ROWCOL nCol) const;

    // ---- Control notification hooks (the controls call them with their cell)
    virtual BOOL OnValidateCell(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnStartEditing(ROWCOL nRow, ROWCOL nCol);
    virtual void OnCellModified(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnCancelEditing(ROWCOL nRow, ROWCOL nCol);
    virtual void OnCanceledEditing(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnEndEditing(ROWCOL nRow, ROWCOL nCol);
    virtual BOOL OnLeftCell(ROWCOL nRow, ROWCOL nCol, ROWCOL nNewRow, ROWCOL nNewCol);

    // ---- Cell controls
    virtual CGXControl* GetControlForId(WORD nID);
    // The engine owns the control from now on; registering the object that
    // is already registered under the id only updates its flags.
    void SetControlForId(WORD nID, CGXControl* pControl, BOOL bDefault = FALSE, BOOL bAddName = FALSE);
    CGXControl* GetDefaultControl() const { return m_pDefaultControl; }

    // ---- Redrawing (whole-window invalidation until cell geometry exists)
    virtual void RedrawRange(const CGXRange& range, UINT nFlags = GX_UPDATENOW, const CGXStyle* pStyle = nullptr);
    virtual void Redraw(UINT nFlags = GX_UPDATENOW);
    virtual void OnGridDraw(CDC* pDC);

    // ---- Window messages, handed over by the grid window. FALSE (or null)
    // lets the framework's default handling run.
    virtual HBRUSH HandleCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual BOOL HandleDestroy();
    virtual BOOL HandleHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual BOOL HandleVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
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
    virtual BOOL HandleMsg7A3(WPARAM wParam, LPARAM lParam);
    virtual void LockSizeRedraw(WPARAM wParam);
    virtual void OnFindReplace(CFindReplaceDialog* pDialog);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    // Scroll-bar modes (vertical and horizontal), set by the window's InitGrid.
    virtual void SetScrollBarMode(int nBar, int nMode, BOOL bRedraw = TRUE);

    // ---- Non-virtual services
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
};
