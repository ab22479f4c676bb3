// Everything about one grid that is data rather than window: settings,
// frozen rows and columns, sizes, hidden rows and columns, selected and
// covered ranges, undo lists and the grid's owned objects.
#pragma once
#include "gxcoll.h"
#include "gxdata.h"
#include "gxprndev.h"
#include "gxprop.h"
#include "gxrange.h"
#include "gxstymap.h"

class CGXGridParam : public CObject
{
    DECLARE_SERIAL(CGXGridParam)
public:
    CGXGridParam();
    ~CGXGridParam() override;
    CGXGridParam(const CGXGridParam&) = delete;
    CGXGridParam& operator=(const CGXGridParam&) = delete;

    void Serialize(CArchive& ar) override;

    // Each deletes the current object first when it owns it.
    void SetProperties(CGXProperties* pProperties, BOOL bOwn = TRUE);
    void SetData(CGXData* pData, BOOL bOwn = TRUE);
    void SetStylesMap(CGXStylesMap* pStylesMap, BOOL bOwn = TRUE);
    void SetPrintDevice(CGXPrintDevice* pPrintDevice, BOOL bOwn = TRUE);
    CGXProperties* GetProperties() const { return m_pProperties; }
    CGXData* GetData() const { return m_pData; }
    CGXStylesMap* GetStylesMap() const { return m_pStylesMap; }
    // A number that changes whenever the styles map is replaced (set or loaded), unique over all
    // parameter objects: users that keep pointers into the map compare it, not the map's address
    // (a new map can be made where a freed one was).
    DWORD GetStylesMapStamp() const { return m_dwStylesMapStamp; }
    CGXPrintDevice* GetPrintDevice() const { return m_pPrintDevice; }

    CObList& GetUndoList() { return m_undoList; }
    CObList& GetRedoList() { return m_redoList; }
    void EmptyUndoList();
    void EmptyRedoList();
    BOOL EnableUndo(BOOL bEnable) { return m_bUndoEnabled = bEnable; }
    BOOL IsUndoEnabled() const { return m_bUndoEnabled; }

    void SetOptionA(WORD w) { m_wOptionA = w; }
    void SetOptionB(DWORD dw) { m_dwOptionB = dw; }
    void SetOptionC(DWORD dw) { m_dwOptionC = dw; }
    void SetOptionD(WORD w) { m_wOptionD = w; }
    void SetOptionE(WORD w) { m_wOptionE = w; }
    void SetOptionF(int n) { m_nOptionF = n; }
    void SetOptionG(WORD w) { m_wOptionG = w; }
    DWORD GetOptionB() const { return m_dwOptionB; }
    DWORD GetOptionC() const { return m_dwOptionC; }
    BOOL GetOptionH() const { return m_bOptionH; }
    int GetOptionF() const { return m_nOptionF; }
    BOOL HasOptionABits(WORD mask) const { return (m_wOptionA & mask) != 0; }
    BOOL HasOptionDBits(WORD mask) const { return (m_wOptionD & mask) != 0; }
    BOOL HasOptionEBits(WORD mask) const { return (m_wOptionE & mask) != 0; }
    BOOL HasOptionGBits(WORD mask) const { return (m_wOptionG & mask) != 0; }

    BOOL IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(BOOL b) { m_bReadOnly = b; }
    BOOL IsLockReadOnly() const { return m_bLockStructureReadOnly; }
    const CString& GetName() const { return m_strName; }
    void SetName(LPCSTR lpszName) { m_strName = lpszName; }

    // Members, in the order of the grid's settings.
    BOOL m_bNumberRowHeaders = TRUE;
    BOOL m_bLetterColHeaders = TRUE;
    int m_nValue100 = 100;
    BOOL m_bViewFocusOnClick = FALSE;
    BOOL m_bAreaBackground = FALSE;
    WORD m_wUndoRowOptions = 3;
    WORD m_wUndoColOptions = 3;
    int m_nTrackMinY = 0;
    int m_nTrackMinX = 0;
    WORD m_wValueE = 1;
    WORD m_wOptionA = 255;
    DWORD m_dwOptionB = 1;
    DWORD m_dwOptionC = 1;
    // Column and row option words of hit testing and size tracking (values): 1 or 2 lets
    // edges be dragged (1 also makes a drag set the default width or height), 4 also the
    // edges beside the cells, 8 keeps the header columns (rows) fixed, 0x10 no repaint when
    // tracking starts, 0x20 no tracking window, 0x40 no inverted line, 0x80 the header
    // follows the drag, 0x100 the whole grid follows the drag.
    WORD m_wOptionD = 178;
    WORD m_wOptionE = 178;
    WORD m_wOptionG = 0;
    BOOL m_bOptionH = TRUE;
    BOOL m_bLockStructureReadOnly = TRUE;
    BOOL m_bSmartResize = TRUE;
    WORD m_wFloatCells = 0;
    WORD m_wMergeCells = 0;
    BOOL m_bNoZoom = FALSE;
    WORD m_wCurrentCellMarking = 2;
    WORD m_wComposeAhead = 0;
    ROWCOL m_nFrozenRowsExtra = 0;   // header rows
    ROWCOL m_nFrozenColsExtra = 0;   // header columns
    BOOL m_bScrollPastFrozen = TRUE;
    CString m_strName;
    ROWCOL m_nFrozenRows = 0;
    ROWCOL m_nFrozenCols = 0;
    DWORD m_nValueH = 0, m_nValueI = 0, m_nValueJ = 0;
    BOOL m_bRememberCurrentCell = FALSE;
    ROWCOL m_nCurrentRow = 1;
    ROWCOL m_nCurrentCol = 1;
    DWORD m_nMaxUndo = 512;
    WORD m_wEnterDirection = 4;
    CGXRangeList m_selRanges;
    CGXRangeList m_coveredRanges;
    CObject* m_pSpanIndex = nullptr;      // index of covered cells by row; owned
    CObject* m_pFloatSpans = nullptr;     // float-cell state; owned
    CObject* m_pFloatDelayed = nullptr;
    CObject* m_pPrintObjectA = nullptr;   // printing state; owned
    CObject* m_pPrintObjectB = nullptr;
    CObject* m_pMergeSpansA = nullptr;    // merge-cell state; owned
    CObject* m_pMergeSpansB = nullptr;
    CObject* m_pMergeDelayed = nullptr;
    BOOL m_bOwnProperties = FALSE;
    CGXProperties* m_pProperties = nullptr;
    BOOL m_bOwnStylesMap = FALSE;
    CGXStylesMap* m_pStylesMap = nullptr;
    DWORD m_dwStylesMapStamp = 0;
    void StylesMapReplaced();
    BOOL m_bOwnData = FALSE;
    CGXData* m_pData = nullptr;
    BOOL m_bOwnPrintDevice = FALSE;
    CGXPrintDevice* m_pPrintDevice = nullptr;
    BOOL m_bReadOnly = FALSE;
    int m_nOptionF = 1;
    CObList m_undoList{10};   // newest first
    CObList m_redoList{10};
    DWORD m_nUndoCount = 0;
    BOOL m_bUndoEnabled = TRUE;
    CByteArray m_hiddenRows;
    CByteArray m_hiddenCols;
    CGXMapDWordToLong m_rowHeights{10};
    CGXMapDWordToLong m_colWidths{10};
    LONG m_nDefaultRowHeight = 1200;
    LONG m_nDefaultColWidth = 10000;
    BOOL m_bLockUpdate = FALSE;
    BOOL m_bLinesAtRightBottom;
    WORD m_wLibraryValue;
    BOOL m_bSelectionFollowsCell = FALSE;
    BOOL m_bSelectionFrame = FALSE;
    BOOL m_bSortColsByHeader = FALSE;
    BOOL m_bSortRowsByHeader = FALSE;
    // The last sort: its key row (-1 for a row sort), key column (-1 for a column sort), and 1 when
    // its first key was ascending. A double click on that header again sorts the other way.
    long m_nSortedRow = -1, m_nSortedCol = -1;
    BOOL m_bSortedAscending = FALSE;
    BOOL m_bInitialised = FALSE;
    long m_nWork4[6] = {};

    // Settings of drawing and sizing that are not archived (the archive stays version 6).
    // The current cell's highlight: 0 leaves the current cell uninverted inside a selection,
    // 1 inverts it with the selection.
    WORD m_wCurrentCellHighlight = 0;
    // When set, the engine inverts a frame inside the current cell itself.
    BOOL m_bCurrentCellFrame = FALSE;
    // Nonzero: a zoom change in one view of the document zooms the other views too.
    WORD m_wSharedZoom = 0;
    // Where a block of frozen rows came from: the row it was moved to, its row count and the
    // row it came from, so that unfreezing can move it back. Columns the same.
    ROWCOL m_nFreezeRowsTarget = 0, m_nFreezeRowsCount = 0, m_nFreezeRowsOrigin = 0;
    ROWCOL m_nFreezeColsTarget = 0, m_nFreezeColsCount = 0, m_nFreezeColsOrigin = 0;
    // Input settings (not archived). The activation options: 1 a click on the text activates the
    // current cell's control, 2 a click beside the text, 4 any click and also on Init and when the
    // grid gains the focus, 8 on the button release, 0x80000 on a double click.
    DWORD m_dwActivateOptions = 0;
    BOOL m_bPasteStyles = FALSE;          // whole-cell clipboard: controls leave paste and Delete to the grid
    BOOL m_bCheckReadOnlyOnStore = FALSE; // stores from outside are checked for read-only cells
    BOOL m_bDirectDraw = FALSE;           // an entered cell is drawn at once through a client DC
    BOOL m_bThumbTracking = FALSE;        // scroll while the thumb is dragged
    BOOL m_bPrinterLayout = FALSE;        // lay out with the printer's metrics
    BOOL m_bCurrentCellHint = FALSE;      // tell the other views every move of the current cell
    BOOL m_bAllowRowMoving = FALSE;       // rows can be moved by dragging their headers
    BOOL m_bAllowColMoving = FALSE;       // columns likewise
    BOOL m_bClearSelectionOnMove = FALSE; // a selecting move clears the selection first
    // Cell drag and drop: the block being dragged and where it may land (reset when a drag ends).
    // Locks are 0xFFFFFFFE when free, else the only row (column) the block may land on.
    BOOL m_bDndFromHere = FALSE;
    ROWCOL m_nDndBlockTop = 0, m_nDndBlockLeft = 0;
    CGXRangeList* m_pDndRanges = nullptr;
    ROWCOL m_nDndColLock = 0xFFFFFFFE, m_nDndRowLock = 0xFFFFFFFE;
    ROWCOL m_nDndGrabRow = 0, m_nDndGrabCol = 0;
    BOOL m_bDndControlText = FALSE;
    class CGXControl* m_pDndControl = nullptr;

    // The library-wide defaults of the lines-at-right-bottom option and of the library value.
    static BOOL s_bDefaultLinesAtRightBottom;
    static WORD s_wDefaultLibraryValue;

    // The archive version this code writes.
    enum { nArchiveVersion = 6 };

protected:
    static void DeleteCommands(CObList& list);
};
