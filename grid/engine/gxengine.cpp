#include "gxengine.h"
#include "gxundo.h"
#include "afxwin.h"
#include "gxhint.h"
#include "gxinit.h"
#include "gxutil.h"
#include "gxwnd.h"

CGXGridEngine::CGXGridEngine(CWnd* pGridWnd, CDocument* pDocument, void* pOwner)
    : m_pGridWnd(pGridWnd), m_pDocument(pDocument), m_pOwner(pOwner)
{
    m_nCxFrame = ::GetSystemMetrics(SM_CXFRAME);
    m_nCyFrame = ::GetSystemMetrics(SM_CYFRAME);
    m_nCxBorder = ::GetSystemMetrics(SM_CXBORDER);
    m_nCyBorder = ::GetSystemMetrics(SM_CYBORDER);
    m_hArrowCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    m_nPointMargin = m_nCyFrame;
}

CGXGridEngine::~CGXGridEngine()
{
    // The program's active grid must not outlive its engine.
    if (GXGetAppState()->m_pActiveGrid == this)
        GXGetAppState()->m_pActiveGrid = nullptr;
    // Nor the active search grid: a dialog left open would search a dead engine.
    if (GXGetFindReplaceState()->pActiveGrid == this)
        GXGetFindReplaceState()->pActiveGrid = nullptr;
    DestroyMarker();
    SetDragDataSource(nullptr);
    ReleaseGridObjects();
    FreeStyleCache();
    m_bKeepDrawingObjects = FALSE;
    FreeObjectCache();
    while (!m_tempObjects.IsEmpty())
        delete static_cast<CObject*>(m_tempObjects.RemoveHead());
    delete m_pCurrentStyle;
    m_pCurrentStyle = nullptr;
    delete m_pValueStyle;
    m_pValueStyle = nullptr;
    while (!m_styleFreeList.IsEmpty())
        delete static_cast<CGXStyle*>(m_styleFreeList.RemoveHead());
    m_awRowBreaks.RemoveAll();
    m_awColBreaks.RemoveAll();
}

void CGXGridEngine::ReleaseGridObjects()
{
    for (POSITION pos = m_mapControls.GetStartPosition(); pos;) {
        DWORD id;
        void* p;
        m_mapControls.GetNextAssoc(pos, id, p);
        delete static_cast<CGXControl*>(p);
    }
    m_mapControls.RemoveAll();
    m_pCachedControl = nullptr;
    m_nCachedControlId = 0;
    m_pDefaultControl = nullptr;
    m_pCurrentControl = nullptr;
    FreeStyleCache();
    if (m_bOwnParam)
        delete m_pParam;
    m_pParam = nullptr;
    m_bOwnParam = FALSE;
    delete m_pStyleA;
    delete m_pStyleB;
    delete m_pStyleC;
    m_pStyleA = m_pStyleB = m_pStyleC = nullptr;
    m_pStyleClass = nullptr;
    m_pStyleStandard = m_pStyleRowHeader = m_pStyleColHeader = nullptr;
}

// ---------------------------------------------------------------------------
// Core

void CGXGridEngine::SetParam(CGXGridParam* pParam, BOOL bOwn)
{
    if (pParam != nullptr && pParam == m_pParam) {
        m_bOwnParam = bOwn;
        return;
    }
    if (pParam == nullptr)
        pParam = new CGXGridParam;
    if (m_bOwnParam)
        delete m_pParam;
    m_pParam = pParam;
    m_bOwnParam = bOwn;
    // The old map's styles are gone with it.
    ReadBaseStylePointers();
    FreeStyleCache();
    FreeCurrentStyle();
}

BOOL CGXGridEngine::CheckStylesMap()
{
    DWORD dwStamp = m_pParam != nullptr ? m_pParam->GetStylesMapStamp() : 0;
    if (dwStamp == m_dwStylesMapStampSeen)
        return FALSE;
    ReadBaseStylePointers();
    return TRUE;
}

void CGXGridEngine::ReadBaseStylePointers()
{
    m_pStyleStandard = m_pStyleRowHeader = m_pStyleColHeader = nullptr;
    CGXStylesMap* map = m_pParam != nullptr ? m_pParam->GetStylesMap() : nullptr;
    m_dwStylesMapStampSeen = m_pParam != nullptr ? m_pParam->GetStylesMapStamp() : 0;
    if (map == nullptr)
        return;
    map->LookupStyle(map->GetStandardStyleId(), m_pStyleStandard);
    map->LookupStyle(map->GetColHeaderStyleId(), m_pStyleColHeader);
    map->LookupStyle(map->GetRowHeaderStyleId(), m_pStyleRowHeader);
}

void CGXGridEngine::FreeStyleCache()
{
    for (int i = 0; i < m_styleCache.GetSize(); ++i)
        delete static_cast<CGXStyle*>(m_styleCache[i]);
    m_styleCache.RemoveAll();
    m_nCacheRowOrigin = m_nCacheColOrigin = 0;
    m_nCacheShiftRows = m_nCacheShiftCols = 0;
    // Styles handed out during a paint stay valid until its end.
    if (m_nDrawDepth == 0)
        while (!m_afterPaintStyles.IsEmpty())
            delete static_cast<CGXStyle*>(m_afterPaintStyles.RemoveHead());
}

void CGXGridEngine::FreeCurrentStyle()
{
    delete m_pCurrentStyle;
    m_pCurrentStyle = nullptr;
    m_pCurrentControl = nullptr;
}

void CGXGridEngine::InitObjects()
{
    WNDCLASSA wc;
    if (!::GetClassInfoA(AfxGetInstanceHandle(), "GXWND", &wc))
        AfxThrowNotSupportedException();   // the library was never started
    GXSetGlobalValue(FALSE);

    if (m_pStyleA == nullptr)
        m_pStyleA = CreateStyle();
    if (m_pStyleB == nullptr)
        m_pStyleB = CreateStyle();
    m_pStyleClass = m_pStyleA->GetRuntimeClass();
    if (m_pStyleC == nullptr)
        m_pStyleC = CreateStyle();

    if (m_pParam == nullptr)
        SetParam(new CGXGridParam, TRUE);

    if (m_pParam->GetProperties() == nullptr) {
        CGXProperties* p = new CGXProperties;
        p->AddDefaultUserProperties();
        p->LoadFromProfile();
        m_pParam->SetProperties(p, TRUE);
    }
    if (m_pParam->GetStylesMap() == nullptr) {
        CGXStylesMap* map = new CGXStylesMap(m_pStyleClass);
        try {
            map->CreateStandardStyles();
            map->LoadFromProfile();
        } catch (...) {
            delete map;
            throw;
        }
        m_pParam->SetStylesMap(map, TRUE);
    }
    ReadBaseStylePointers();

    CGXAbstractControlFactory* factory = GXGetAppState()->m_pControlFactory;
    if (factory != nullptr && m_pStyleStandard != nullptr && m_pStyleStandard->GetIncludeControl()) {
        WORD id = static_cast<WORD>(m_pStyleStandard->GetControl());
        void* existing = nullptr;
        if (!m_mapControls.Lookup(id, existing)) {
            if (CGXControl* c = factory->CreateControl(id, this))
                SetControlForId(id, c);
        }
    }

    if (m_pParam->GetData() == nullptr)
        m_pParam->SetData(new CGXData, TRUE);

    m_pParam->m_bInitialised = TRUE;
    m_nZoom = m_pParam->GetProperties()->GetZoom();
    UpdateFontMetrics();
    m_bInitDone = TRUE;

    m_nTopRow = std::max(m_nTopRow, GetFrozenRows() + 1);
    m_nLeftCol = std::max(m_nLeftCol, GetFrozenCols() + 1);

    if (CGXRegisterGridHook* hook = GXGetAppState()->m_pRegisterGridHook) {
        CGXGridWnd* pGrid = dynamic_cast<CGXGridWnd*>(this);
        hook->Register(pGrid, m_pParam->m_strName, !m_pParam->m_strName.IsEmpty());
    }

    if (m_pParam->m_bRememberCurrentCell && m_pParam->m_nCurrentRow <= GetRowCount() &&
        m_pParam->m_nCurrentCol <= GetColCount())
        PlaceCurrentCell(m_pParam->m_nCurrentRow, m_pParam->m_nCurrentCol);

    m_selRange = CGXRange();
    if (!m_pParam->m_selRanges.IsEmpty())
        m_selRange = *m_pParam->m_selRanges.GetRangeAt(m_pParam->m_selRanges.GetTailPosition());
}

void CGXGridEngine::GetGridRect(LPRECT lpRect)
{
    CRect r;
    if (m_bPrinting)
        r = m_rectPrinting;
    else if (m_bExplicitRect)
        r = m_rectExplicit;
    else if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->GetClientRect(&r);
    if (r.right < r.left || r.bottom < r.top)
        r.SetRectEmpty();
    *lpRect = r;
}

void CGXGridEngine::SetGridRect(BOOL bSet, LPCRECT lpRect)
{
    m_bExplicitRect = bSet;
    if (bSet && lpRect != nullptr)
        m_rectExplicit = *lpRect;
}

void CGXGridEngine::SetPrinting(int nPrinting, BOOL bClientRect)
{
    if (nPrinting && m_bCurrentCellValid && m_pCurrentControl != nullptr) {
        if (m_pCurrentControl->IsActive() && m_pCurrentControl->GetModify())
            m_pCurrentControl->Store();
        m_pCurrentControl->SetActive(FALSE);
    }
    m_bPrinting = nPrinting;
    if (bClientRect) {
        m_rectPrinting.SetRectEmpty();
        if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
            m_pGridWnd->GetClientRect(&m_rectPrinting);
        m_nPrintTopRow = GetFrozenRows() + 1;
        m_nPrintLeftCol = GetFrozenCols() + 1;
    }
    if (m_pParam != nullptr && m_pParam->GetProperties() != nullptr)
        m_pParam->GetProperties()->SetPrinting(nPrinting);
}

void CGXGridEngine::SetModifiedFlag(BOOL bModified)
{
    if (m_bLinkedToDocument && m_pDocument != nullptr)
        m_pDocument->SetModifiedFlag(bModified);
}

void CGXGridEngine::UpdateAllViews(CWnd* pSender, LPARAM lHint, CObject* pHint)
{
    if (m_bLinkedToDocument && m_pDocument != nullptr)
        m_pDocument->UpdateAllViews(dynamic_cast<CView*>(pSender), lHint, pHint);
}

void CGXGridEngine::PrepareDC(CDC*, CPrintInfo*) {}

// ---------------------------------------------------------------------------
// Counts

ROWCOL CGXGridEngine::GetRowCount()
{
    return m_pParam != nullptr && m_pParam->GetData() != nullptr ? m_pParam->GetData()->GetRowCount() : 0;
}

ROWCOL CGXGridEngine::GetColCount()
{
    return m_pParam != nullptr && m_pParam->GetData() != nullptr ? m_pParam->GetData()->GetColCount() : 0;
}

// A lower (right) pane of a splitter shows no frozen rows (columns): they
// stay in the first pane row (column).
ROWCOL CGXGridEngine::GetFrozenRows()
{
    if (m_pParam == nullptr)
        return 0;
    if (!m_bPrinting && PanePosition().y > 0)
        return 0;
    return m_pParam->m_nFrozenRows;
}

ROWCOL CGXGridEngine::GetFrozenCols()
{
    if (m_pParam == nullptr)
        return 0;
    if (!m_bPrinting && PanePosition().x > 0)
        return 0;
    return m_pParam->m_nFrozenCols;
}

CPoint CGXGridEngine::PanePosition()
{
    // A pane keeps its place in a static splitter: looked up once per window.
    HWND hWnd = m_pGridWnd != nullptr ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (hWnd != m_hPaneWnd) {
        m_hPaneWnd = hWnd;
        int r = 0, c = 0;
        m_ptPane = GetSplitter(&r, &c) != nullptr ? CPoint(c, r) : CPoint(0, 0);
    }
    return m_ptPane;
}
ROWCOL CGXGridEngine::GetHeaderRows() { return m_pParam != nullptr ? m_pParam->m_nFrozenRowsExtra : 0; }
ROWCOL CGXGridEngine::GetHeaderCols() { return m_pParam != nullptr ? m_pParam->m_nFrozenColsExtra : 0; }

// ---------------------------------------------------------------------------
// Zoom and read-only

BOOL CGXGridEngine::SetZoom(int nZoom, UINT nFlags)
{
    int old = GetZoom();
    if (!StoreZoom(nZoom))
        return FALSE;
    UpdateZoom(old, nFlags, TRUE);
    return TRUE;
}

BOOL CGXGridEngine::SetReadOnly(BOOL bReadOnly)
{
    BOOL old = IsReadOnly();
    if (!StoreReadOnly(bReadOnly))
        return FALSE;
    UpdateReadOnly(old, TRUE);
    return TRUE;
}

int CGXGridEngine::GetZoom()
{
    if (m_bPrinting || m_pParam == nullptr || m_pParam->m_bNoZoom)
        return 100;
    return m_nZoom;
}

BOOL CGXGridEngine::IsReadOnly() { return m_pParam != nullptr && m_pParam->m_bReadOnly; }

BOOL CGXGridEngine::StoreZoom(int nZoom, BOOL bCreateHint)
{
    if (nZoom <= 0)
        return FALSE;
    m_nZoom = nZoom;
    if (m_pParam != nullptr && m_pParam->GetProperties() != nullptr)
        m_pParam->GetProperties()->SetZoom(nZoom);
    if (bCreateHint) {
        CGXGridHint hint(20, m_nHintTag);
        hint.lParam = static_cast<DWORD>(nZoom);
        SendHint(hint);
    }
    return TRUE;
}

BOOL CGXGridEngine::StoreReadOnly(BOOL bReadOnly)
{
    if (m_pParam == nullptr)
        return FALSE;
    m_pParam->m_bReadOnly = bReadOnly;
    return TRUE;
}

void CGXGridEngine::UpdateZoom(int nOldZoom, UINT nFlags, BOOL bCreateHint)
{
    UpdateFontMetrics();
    FreeStyleCache();
    if (m_pParam != nullptr && !m_pParam->m_bLockUpdate && GetZoom() != nOldZoom)
        Redraw(nFlags, FALSE);
    if (bCreateHint) {
        CGXGridHint hint(19, m_nHintTag);
        hint.lParam = static_cast<DWORD>(nOldZoom);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

void CGXGridEngine::UpdateReadOnly(BOOL bOldReadOnly, BOOL bCreateHint)
{
    if (m_bCurrentCellValid && m_pCurrentControl != nullptr && m_pCurrentControl->IsActive()) {
        CGXControl* c = m_pCurrentControl;
        c->Reset();
        c->Init(m_nCurrentRow, m_nCurrentCol);
    }
    if (bCreateHint) {
        CGXGridHint hint(21, m_nHintTag);
        hint.lParam = static_cast<DWORD>(bOldReadOnly);
        SendHint(hint);
    }
}

int CGXGridEngine::GetParamOptionF() { return m_pParam != nullptr ? m_pParam->GetOptionF() : 0; }

// ---------------------------------------------------------------------------
// Current cell

BOOL CGXGridEngine::OnValidateCell(ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridEngine::OnStartEditing(ROWCOL, ROWCOL) { return TRUE; }
void CGXGridEngine::OnCellModified(ROWCOL, ROWCOL) { SetModifiedFlag(TRUE); }
BOOL CGXGridEngine::OnCancelEditing(ROWCOL, ROWCOL) { return TRUE; }
void CGXGridEngine::OnCanceledEditing(ROWCOL, ROWCOL) {}
BOOL CGXGridEngine::OnEndEditing(ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridEngine::OnLeftCell(ROWCOL, ROWCOL, ROWCOL, ROWCOL) { return TRUE; }

// ---------------------------------------------------------------------------
// Styles

CGXStyle* CGXGridEngine::CreateStyle()
{
    if (!m_styleFreeList.IsEmpty())
        return static_cast<CGXStyle*>(m_styleFreeList.RemoveHead());
    if (m_pStyleClass != nullptr) {
        CObject* p = m_pStyleClass->CreateObject();
        if (p != nullptr && p->IsKindOf(RUNTIME_CLASS(CGXStyle)))
            return static_cast<CGXStyle*>(p);
        delete p;
    }
    return new CGXStyle;
}

void CGXGridEngine::RecycleStyle(CGXStyle* pStyle)
{
    if (pStyle == nullptr)
        return;
    pStyle->FreeMembers();
    m_styleFreeList.AddHead(pStyle);
}

BOOL CGXGridEngine::ReadCellStyle(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, int nMode, int nType)
{
    CGXData* data = m_pParam != nullptr ? m_pParam->GetData() : nullptr;
    if (data == nullptr)
        return FALSE;
    return data->GetStyleRowCol(nRow, nCol, style, nMode, nType);
}

const CGXStyle& CGXGridEngine::GetCellStyle(ROWCOL nRow, ROWCOL nCol)
{
    if (CheckStylesMap()) {
        FreeStyleCache();
        delete m_pCurrentStyle;
        m_pCurrentStyle = nullptr;
    }
    if (IsCurrentCellAt(nRow, nCol)) {
        if (m_pCurrentStyle == nullptr) {
            m_pCurrentStyle = CreateStyle();
            ComposeCellStyle(nRow, nCol, *m_pCurrentStyle);
        }
        return *m_pCurrentStyle;
    }
    // Composed styles of on-screen cells stay until the next paint frees them.
    if (m_styleCache.GetSize() == 0)
        m_styleCache.SetSize(nCacheRows * nCacheCols);
    int ri = 0, ci = 0;
    if (GetStyleCacheIndex(nRow, nCol, ri, ci)) {
        void*& slot = m_styleCache[ri * nCacheCols + ci];
        if (slot == nullptr) {
            CGXStyle* s = CreateStyle();
            ComposeCellStyle(nRow, nCol, *s);
            SetStyleReadOnly(*s, IsReadOnly());
            slot = s;
        }
        return *static_cast<CGXStyle*>(slot);
    }
    // Outside the cache: kept until the end of the paint; outside a paint
    // the oldest is reused once many have gathered.
    CGXStyle* s;
    if (m_nDrawDepth == 0 && m_afterPaintStyles.GetCount() >= 256)
        s = static_cast<CGXStyle*>(m_afterPaintStyles.RemoveHead());
    else
        s = CreateStyle();
    ComposeCellStyle(nRow, nCol, *s);
    m_afterPaintStyles.AddTail(s);
    return *s;
}

void CGXGridEngine::ComposeCellStyle(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, BOOL bResolve)
{
    CheckStylesMap();
    style.FreeMembers();
    ReadCellStyle(nRow, nCol, style, gxCopy, 0);
    if (m_bValueOnly && style.GetIncludeValue())
        return;
    const ROWCOL headerRows = GetHeaderRows(), headerCols = GetHeaderCols();
    // Row 0 and column 0 have no whole-row or whole-column style of their
    // own: their slots hold the column styles and the table style.
    if (nCol > headerCols && nRow != 0)
        ReadCellStyle(nRow, 0, style, gxApplyNew, -1);
    if (nRow > headerRows) {
        if (nCol != 0)
            ReadCellStyle(0, nCol, style, gxApplyNew, -1);
        if (nCol > headerCols)
            ReadCellStyle(0, 0, style, gxApplyNew, -1);
    }
    if (m_pParam != nullptr)
        style.ResolveBaseStyle(m_pParam->GetStylesMap());
    if (nRow <= headerRows && m_pStyleColHeader != nullptr)
        style.ChangeStyle(*m_pStyleColHeader, gxApplyNew);
    if (nCol <= headerCols && m_pStyleRowHeader != nullptr)
        style.ChangeStyle(*m_pStyleRowHeader, gxApplyNew);
    if (nRow != 0 && nCol != 0) {
        if (bResolve && m_pStyleStandard != nullptr)
            style.ChangeStyle(*m_pStyleStandard, gxApplyNew);
        return;
    }
    ComposeHeaderCell(nRow, nCol, style, bResolve);
}

void CGXGridEngine::ComposeHeaderCell(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, BOOL bResolve)
{
    // The corner cell gets no automatic value.
    if (!style.GetIncludeValue() && m_pParam != nullptr && !(nRow == 0 && nCol == 0)) {
        if (nRow == 0 && m_pParam->m_bLetterColHeaders) {
            style.SetValue(GXGetColumnLetters(nCol));
        } else if (nCol == 0 && m_pParam->m_bNumberRowHeaders) {
            style.SetValueNumber(nRow);
        }
    }
    if (bResolve && m_pStyleStandard != nullptr)
        style.ChangeStyle(*m_pStyleStandard, gxApplyNew);
}

BOOL CGXGridEngine::StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType)
{
    if (m_pParam == nullptr || m_pParam->GetData() == nullptr)
        return FALSE;
    if (m_pParam->m_bLockStructureReadOnly && IsReadOnly())
        return FALSE;
    BOOL ok = m_pParam->GetData()->StoreStyleRowCol(nRow, nCol, nMode == gxRemove ? nullptr : pStyle, nMode, nType);
    if (ok && (IsCurrentCellAt(nRow, nCol) ||
               (nType == -1 && m_bCurrentCellValid &&
                ((nRow == 0 && nCol == 0) || (nRow != 0 && nRow == m_nCurrentRow) ||
                 (nRow == 0 && nCol == m_nCurrentCol)))))
        FreeCurrentStyle();
    if (ok)
        FreeStyleCache();
    return ok;
}

void CGXGridEngine::UpdateStyleRange(const CGXRange& range, const CGXStyle* pStyle, int nMode, int nType,
                                     UINT nFlags, BOOL bCreateHint)
{
    if (m_pParam == nullptr || !range.IsValid())
        return;
    CGXRange cells(range);
    cells.ExpandToCells(0, 0, GetRowCount(), GetColCount());
    DelaySpanRecalcA(cells);
    DelaySpanRecalcB(cells);
    RedrawRange(cells.top, cells.left, cells.bottom, cells.right, nFlags, FALSE);
    if (bCreateHint && (nFlags & 7) != 0) {
        CGXGridHint hint(17, m_nHintTag);
        hint.m_range = range;
        hint.pObject1 = const_cast<CGXStyle*>(pStyle);
        hint.lParam = static_cast<DWORD>(nMode);
        hint.nCol1 = static_cast<DWORD>(nType);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

namespace {
// The cells a range addresses in the store: whole rows live in column 0,
// whole columns in row 0 and the table at (0, 0).
void StoreExtent(const CGXRange& r, int nType, ROWCOL rowCount, ROWCOL colCount, ROWCOL& top, ROWCOL& left,
                 ROWCOL& bottom, ROWCOL& right)
{
    if (nType == -1) {
        switch (r.type) {
        case GX_RANGE_ROWS:
            top = r.top, bottom = r.bottom, left = right = 0;
            return;
        case GX_RANGE_COLS:
            left = r.left, right = r.right, top = bottom = 0;
            return;
        case GX_RANGE_TABLE:
            top = bottom = left = right = 0;
            return;
        default:
            break;
        }
    }
    CGXRange cells(r);
    cells.ExpandToCells(1, 1, rowCount, colCount);
    top = cells.top, left = cells.left, bottom = cells.bottom, right = cells.right;
}
} // namespace

BOOL CGXGridEngine::SetStyleRange(const CGXRange& range, const CGXStyle* pStyle, int nMode, int nType,
                                  const CPtrArray* pStyles, UINT nFlags, int nCommand)
{
    if (m_pParam == nullptr || !range.IsValid())
        return FALSE;
    if (!range.IsCells() && nType == 0)
        nType = -1;
    ROWCOL top, left, bottom, right;
    StoreExtent(range, nType, GetRowCount(), GetColCount(), top, left, bottom, right);
    if (bottom < top || right < left)
        return FALSE;

    CGXLongOperation theOp;
    theOp.SetStatusText(GXGetAppState()->sGenUndo, FALSE);

    // A change too large to record for undo asks first; the old styles are kept otherwise.
    CPtrArray* pOldStyles = nullptr;
    if (IsRecording(nCommand)) {
        const ROWCOL nRows = bottom - top + 1, nCols = right - left + 1;
        const double cells = static_cast<double>(nRows) * nCols;
        if (cells >= 0x7FFFFFFF || nRows > 0x7FFF || nCols > 0x7FFF) {
            if (AfxMessageBox(GX_IDS_UNDOTOOLARGE, MB_OKCANCEL) == IDCANCEL)
                return FALSE;
        } else {
            pOldStyles = new CPtrArray;
            pOldStyles->SetSize(static_cast<INT_PTR>(nRows * nCols));
            INT_PTR i = 0;
            for (ROWCOL r = top; r <= bottom; ++r)
                for (ROWCOL c = left; c <= right; ++c, ++i) {
                    CGXStyle* p = CreateStyle();
                    if (ReadCellStyle(r, c, *p, gxCopy, nType))
                        pOldStyles->SetAt(i, p);
                    else
                        RecycleStyle(p);
                }
        }
    }
    auto dropOldStyles = [&]() {
        if (pOldStyles == nullptr)
            return;
        for (INT_PTR i = 0; i < pOldStyles->GetSize(); ++i)
            delete static_cast<CGXStyle*>(pOldStyles->GetAt(i));
        delete pOldStyles;
        pOldStyles = nullptr;
    };

    GX_APP_STATE* state = GXGetAppState();
    theOp.SetStatusText(nCommand == gxDo ? state->sStoringCells : state->sRestoringCells, FALSE);

    BOOL bChanged = FALSE, bAborted = FALSE;
    const double total = (static_cast<double>(bottom - top) + 1) * (static_cast<double>(right - left) + 1);
    double done = 0;
    int index = 0;
    for (ROWCOL r = top; r <= bottom && !bAborted; ++r) {
        for (ROWCOL c = left; c <= right; ++c, ++index, ++done) {
            const CGXStyle* pCellStyle = pStyle;
            int nCellMode = nMode;
            if (pStyles != nullptr) {
                pCellStyle = index < pStyles->GetSize() ? static_cast<const CGXStyle*>(pStyles->GetAt(index)) : nullptr;
                nCellMode = pCellStyle != nullptr ? gxCopy : gxRemove;
            }
            BOOL bCell;
            if (nType == 0) {
                CGXStyle* pComposed = nullptr;
                const CGXStyle* pOld = pStyles == nullptr ? m_pPreparedStyle : nullptr;
                if (pOld == nullptr) {
                    pComposed = CreateStyle();
                    ComposeCellStyle(r, c, *pComposed);
                    pOld = pComposed;
                }
                WORD id = static_cast<WORD>(pCellStyle != nullptr && pCellStyle->GetIncludeControl()
                                                ? pCellStyle->GetControl()
                                                : pOld->GetControl());
                CGXControl* pControl = GetControlForId(id);
                if (pControl != nullptr)
                    bCell = pControl->StoreStyle(r, c, pCellStyle, nCellMode, 0, pOld);
                else
                    bCell = StoreStyleRowCol(r, c, pCellStyle, nCellMode, 0);
                if (pComposed != nullptr)
                    RecycleStyle(pComposed);
            } else {
                bCell = StoreStyleRowCol(r, c, pCellStyle, nCellMode, -1);
            }
            bChanged = bChanged || bCell;
            if (total > 1) {
                theOp.SetPercentDone(static_cast<int>(done * 100 / total));
                BOOL bAbort = FALSE;
                theOp.ShowProgress(bAbort);
                if (bAbort) {
                    bAborted = TRUE;
                    break;
                }
            }
        }
    }

    if (bAborted) {
        // What was stored before the abort is taken back.
        if (pOldStyles != nullptr && bChanged) {
            CGXRange whole(range);
            SetStyleRange(whole, nullptr, gxCopy, nType, pOldStyles, 0, gxRollback);
        }
        dropOldStyles();
        Redraw(nFlags);
        return FALSE;
    }
    if (bChanged) {
        UpdateStyleRange(range, pStyle, nMode, nType, nFlags, TRUE);
        SetModifiedFlag(TRUE);
        if (pOldStyles != nullptr) {
            PushCommand(new CGXSetStyleRangeCmd(range, nType, pOldStyles), nCommand);
            pOldStyles = nullptr;
        }
    }
    dropOldStyles();
    return bChanged;
}

BOOL CGXGridEngine::SetValueRange(const CGXRange& range, LPCSTR lpszValue, int nMode, int nType, UINT nFlags)
{
    if (m_pValueStyle == nullptr)
        m_pValueStyle = CreateStyle();
    m_pValueStyle->FreeMembers();
    m_pValueStyle->SetValue(lpszValue);
    return SetStyleRange(range, m_pValueStyle, nMode, nType, nullptr, nFlags, gxDo);
}

const CString& CGXGridEngine::GetCellValue(ROWCOL nRow, ROWCOL nCol)
{
    if (m_pValueStyle == nullptr)
        m_pValueStyle = CreateStyle();
    m_pValueStyle->SetIncludeValue(FALSE);
    m_bValueOnly = TRUE;
    ComposeCellStyle(nRow, nCol, *m_pValueStyle, TRUE);
    m_bValueOnly = FALSE;
    return m_pValueStyle->GetValue();
}

const CGXStyle* CGXGridEngine::GetStandardStyle()
{
    if (!CheckStylesMap() && m_pStyleStandard == nullptr)
        ReadBaseStylePointers();
    return m_pStyleStandard;
}

const CGXStyle& CGXGridEngine::LookupBaseStyle(WORD nID)
{
    const CGXStyle* p = nullptr;
    CGXStylesMap* map = m_pParam != nullptr ? m_pParam->GetStylesMap() : nullptr;
    if (map == nullptr || !map->LookupStyle(nID, p) || p == nullptr)
        AfxThrowNotSupportedException();
    return *p;
}

BOOL CGXGridEngine::ChangeStylesMap(const CGXStylesMap& stylesMap, UINT nFlags, int nCommand)
{
    if (m_pParam == nullptr || (m_pParam->m_bLockStructureReadOnly && IsReadOnly()))
        return FALSE;
    if (IsRecording(nCommand) && m_pParam->GetStylesMap() != nullptr && m_pParam->GetStylesMap() != &stylesMap)
        PushCommand(new CGXChangeStylesMapCmd(*m_pParam->GetStylesMap()), nCommand);
    if (m_pParam->GetStylesMap() == nullptr)
        m_pParam->SetStylesMap(new CGXStylesMap(stylesMap), TRUE);
    else if (m_pParam->GetStylesMap() != &stylesMap)
        *m_pParam->GetStylesMap() = stylesMap;
    SetModifiedFlag(TRUE);
    UpdateStylesMap(nFlags, TRUE);
    return TRUE;
}

void CGXGridEngine::UpdateStylesMap(UINT nFlags, BOOL bCreateHint)
{
    ReadBaseStylePointers();
    FreeStyleCache();
    FreeCurrentStyle();
    UpdateFontMetrics();
    Redraw(nFlags, FALSE);
    if (bCreateHint) {
        CGXGridHint hint(34, m_nHintTag);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

BOOL CGXGridEngine::ChangeProperties(const CGXProperties& properties, UINT nFlags, int nCommand)
{
    if (m_pParam == nullptr || (m_pParam->m_bLockStructureReadOnly && IsReadOnly()))
        return FALSE;
    if (IsRecording(nCommand) && m_pParam->GetProperties() != nullptr && m_pParam->GetProperties() != &properties)
        PushCommand(new CGXChangePropertiesCmd(*m_pParam->GetProperties()), nCommand);
    if (m_pParam->GetProperties() == nullptr) {
        CGXProperties* p = new CGXProperties;
        *p = properties;
        m_pParam->SetProperties(p, TRUE);
    } else if (m_pParam->GetProperties() != &properties) {
        *m_pParam->GetProperties() = properties;
    }
    SetModifiedFlag(TRUE);
    UpdateProperties(nFlags, TRUE);
    return TRUE;
}

void CGXGridEngine::UpdateProperties(UINT nFlags, BOOL bCreateHint)
{
    Redraw(nFlags, FALSE);
    if (bCreateHint) {
        CGXGridHint hint(33, m_nHintTag);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

BOOL CGXGridEngine::ChangeBaseStyle(WORD nID, const CGXStyle& style, int nMode, UINT nFlags, int nCommand)
{
    if (m_pParam == nullptr || m_pParam->GetStylesMap() == nullptr)
        return FALSE;
    if (m_pParam->m_bLockStructureReadOnly && IsReadOnly())
        return FALSE;
    CGXStyle& base = const_cast<CGXStyle&>(LookupBaseStyle(nID));
    if (IsRecording(nCommand)) {
        UINT nRes = 0;
        PushCommand(new CGXChangeBaseStyleCmd(nID, base, m_pParam->GetStylesMap()->GetStyleName(nID, nRes)), nCommand);
    }
    base.ChangeStyle(style, nMode);
    SetModifiedFlag(TRUE);
    UpdateBaseStyle(nID, nFlags, TRUE);
    return TRUE;
}

void CGXGridEngine::UpdateBaseStyle(WORD nID, UINT nFlags, BOOL bCreateHint)
{
    if (!m_bInitDone)
        return;
    ReadBaseStylePointers();
    FreeStyleCache();
    FreeCurrentStyle();
    UpdateFontMetrics();
    Redraw(nFlags, FALSE);
    if (bCreateHint) {
        CGXGridHint hint(35, m_nHintTag);
        hint.lParam = nID;
        hint.flags = nFlags;
        SendHint(hint);
    }
}

// ---------------------------------------------------------------------------
// Cell controls

CGXControl* CGXGridEngine::GetControlForId(WORD nID)
{
    if (nID == 0)
        return m_pDefaultControl;
    if (m_pCachedControl != nullptr && nID == m_nCachedControlId)
        return m_pCachedControl;
    void* p = nullptr;
    CGXControl* pControl = nullptr;
    if (m_mapControls.Lookup(nID, p)) {
        pControl = static_cast<CGXControl*>(p);
    } else if (CGXAbstractControlFactory* factory = GXGetAppState()->m_pControlFactory) {
        pControl = factory->CreateControl(nID, this);
        if (pControl != nullptr)
            SetControlForId(nID, pControl, FALSE, FALSE);
    }
    if (pControl == nullptr)
        return m_pDefaultControl;
    m_nCachedControlId = nID;
    m_pCachedControl = pControl;
    return pControl;
}

void CGXGridEngine::SetControlForId(WORD nID, CGXControl* pControl, BOOL bDefault, BOOL bAddName)
{
    void* p = nullptr;
    CGXControl* pOld = m_mapControls.Lookup(nID, p) ? static_cast<CGXControl*>(p) : nullptr;
    if (pOld != pControl) {
        if (pOld != nullptr) {
            // Nothing may keep pointing at the control that goes.
            if (m_pDefaultControl == pOld)
                m_pDefaultControl = nullptr;
            if (m_pCurrentControl == pOld)
                m_pCurrentControl = nullptr;
            if (m_pCachedControl == pOld) {
                m_pCachedControl = nullptr;
                m_nCachedControlId = 0;
            }
            delete pOld;
        }
        if (pControl != nullptr)
            m_mapControls.SetAt(nID, pControl);
        else
            m_mapControls.RemoveKey(nID);
    }
    if (pControl == nullptr)
        return;
    if (bAddName && m_pParam != nullptr && m_pParam->GetStylesMap() != nullptr)
        m_pParam->GetStylesMap()->AddControl(nID);
    if (bDefault || m_pDefaultControl == nullptr)
        m_pDefaultControl = pControl;
}

// ---------------------------------------------------------------------------
// Redrawing

// ---------------------------------------------------------------------------
// Window messages: what the engine answers until the input, scrolling,
// focus and printing layers take them over.

HBRUSH CGXGridEngine::HandleCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // A child window of the current cell (its control's edit, list or button) takes the cell's
    // colours, unless the control answers itself.
    ROWCOL r, c;
    CGXControl* pControl = GetCurrentCellPos(r, c) ? GetCellControl(r, c) : nullptr;
    if (pControl == nullptr || pDC == nullptr)
        return nullptr;
    if (CBrush* pBrush = pControl->OnGridCtlColor(pDC, pWnd, nCtlColor))
        return static_cast<HBRUSH>(pBrush->GetSafeHandle());
    const CGXStyle& style = GetCellStyle(r, c);
    const GXBrushRecord& interior = style.GetInterior();
    pDC->SetBkColor(ResolveSysColor(interior.lbStyle == BS_SOLID ? interior.lbColor : interior.lbBkColor));
    pDC->SetTextColor(ResolveSysColor(style.GetTextColor()));
    CBrush* pBrush = LookupBrush(interior);
    return pBrush != nullptr ? static_cast<HBRUSH>(pBrush->GetSafeHandle()) : nullptr;
}
BOOL CGXGridEngine::HandleDestroy() { return FALSE; }

BOOL CGXGridEngine::HandleSetCursor(CWnd* pWnd, UINT nHitTest, UINT)
{
    // The grid's class has no cursor of its own.
    if (!m_bInitDone || pWnd != m_pGridWnd || nHitTest != HTCLIENT)
        return FALSE;
    ::SetCursor(m_hArrowCursor);
    return TRUE;
}

UINT CGXGridEngine::HandleGetDlgCode(UINT nCode) { return nCode | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; }

BOOL CGXGridEngine::HandleSysColorChange()
{
    GXGetSysData()->Update();
    ForEachControl([](CGXControl* c) { c->OnGridSysColorChange(); });
    return FALSE;
}


BOOL CGXGridEngine::HandleCommand(WPARAM wParam, LPARAM lParam)
{
    // The cached pointer may have been dropped with the cached style: ask for the control.
    if (CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr)
        return pControl->OnCommand(wParam, lParam);
    return FALSE;
}

BOOL CGXGridEngine::HandlePreTranslateMessage(MSG*) { return FALSE; }


void CGXGridEngine::LockSizeRedraw(WPARAM wParam)
{
    m_bSizeLock = static_cast<BOOL>(wParam);
    if (wParam == 0 && m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->Invalidate(TRUE);
}


void CGXGridEngine::SetScrollBarMode(int nBar, int nMode, BOOL bRedraw)
{
    if (nBar == SB_VERT || nBar == SB_BOTH)
        m_nVScrollMode = nMode;
    if (nBar == SB_HORZ || nBar == SB_BOTH)
        m_nHScrollMode = nMode;
    if (!bRedraw || m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr)
        return;
    if (nMode == 0 || (nMode & 1))
        ::ShowScrollBar(m_pGridWnd->GetSafeHwnd(), nBar, nMode != 0);
    else if (nMode & 2)
        RefreshScrollBars(TRUE, FALSE);
}
