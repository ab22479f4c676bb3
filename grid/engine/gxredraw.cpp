// Redraw requests, the update hints between the views of one document and
// the drawing primitives (borders, brushes, grid lines, border arithmetic).
#include "afxwin.h"
#include "afxsplit.h"
#include "afxview.h"
#include "gxaxis.h"
#include "gxhint.h"
#include "gxinit.h"
#include "gxutil.h"
#include "gxwnd.h"

IMPLEMENT_DYNAMIC(CGXGridHint, CObject)

BOOL g_bGXSimplePens = FALSE;

// Indexes of the properties' colours.
enum { GX_COLOR_GRIDLINES = 0, GX_COLOR_FIXEDLINES = 1, GX_COLOR_TRACKING = 2, GX_COLOR_DRAGGING = 3, GX_COLOR_BACKGROUND = 4 };

namespace {
COLORREF PropColor(CGXGridParam* pParam, int nIndex, COLORREF fallback)
{
    if (pParam == nullptr || pParam->GetProperties() == nullptr || nIndex >= pParam->GetProperties()->GetColorCount())
        return fallback;
    return ResolveSysColor(pParam->GetProperties()->GetColor(nIndex));
}

// The pixels a border side takes: 0 without one (or with the null pen), else its width, at least 1.
int BorderWidth(const CGXStyle& style, int side)
{
    if (!style.HasBorder(side) || style.GetBorders(side).lopnStyle == PS_NULL)
        return 0;
    return std::max(1, style.GetBorders(side).lopnWidth);
}

BOOL BlackWhite(CGXGridParam* pParam)
{
    return pParam != nullptr && pParam->GetProperties() != nullptr && pParam->GetProperties()->GetBlackWhite();
}
} // namespace

// ---------------------------------------------------------------------------
// Redraw requests

void CGXGridEngine::SendHint(CGXGridHint& hint)
{
    if (m_bLinkedToDocument && m_pDocument != nullptr)
        UpdateAllViews(m_pGridWnd, hint.m_nHint, &hint);
}

void CGXGridEngine::InvalidateGrid(const CRect& rect, UINT nFlags)
{
    if (m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr)
        return;
    m_pGridWnd->InvalidateRect(&rect, TRUE);
    if (nFlags & GX_UPDATENOW)
        m_pGridWnd->UpdateWindow();
}

void CGXGridEngine::RedrawRange(const CGXRange& range, UINT nFlags, const CGXStyle*)
{
    if (!range.IsValid())
        return;
    CGXRange r(range);
    r.ExpandToCells(0, 0, GetRowCount(), GetColCount());
    RedrawRange(r.top, r.left, r.bottom, r.right, nFlags, TRUE);
}

void CGXGridEngine::RedrawRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT nFlags,
                                BOOL bCreateHint)
{
    nFlags &= 7;
    if (nFlags == 0)
        return;
    if (IsWindowShown() && m_pParam != nullptr && !m_pParam->m_bLockUpdate) {
        CRect rect = CalcRectFromRowColEx(nTop, nLeft, nBottom, nRight);
        if (!rect.IsRectEmpty())
            InvalidateGrid(rect, nFlags);
    }
    if (bCreateHint) {
        CGXGridHint hint(2, m_nHintTag);
        hint.nRow1 = nTop;
        hint.nCol1 = nLeft;
        hint.nRow2 = nBottom;
        hint.nCol2 = nRight;
        hint.flags = nFlags;
        SendHint(hint);
    }
}

void CGXGridEngine::Redraw(UINT nFlags, BOOL bCreateHint)
{
    nFlags &= 7;
    if (nFlags == 0)
        return;
    if (m_pParam != nullptr && !m_pParam->m_bLockUpdate) {
        // Rows or columns that went leave no top row beyond the count.
        const ROWCOL nRows = GetRowCount(), nCols = GetColCount();
        if (m_nTopRow > nRows)
            m_nTopRow = std::max(std::max<ROWCOL>(nRows, 1), GetFrozenRows() + 1);
        if (m_nLeftCol > nCols)
            m_nLeftCol = std::max(std::max<ROWCOL>(nCols, 1), GetFrozenCols() + 1);
        FreeObjectCache();
        FreeStyleCache();
        if (IsWindowShown()) {
            CRect r;
            GetGridRect(&r);
            InvalidateGrid(r, nFlags);
        }
    }
    if (bCreateHint) {
        CGXGridHint hint(1, m_nHintTag);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

void CGXGridEngine::RedrawHeaderMarks(ROWCOL nRow, ROWCOL nCol, int nWhich, UINT nFlags)
{
    if (m_pParam == nullptr || m_pParam->m_bLockUpdate || !IsWindowShown())
        return;
    CGXProperties* pProp = m_pParam->GetProperties();
    if (pProp == nullptr)
        return;
    const BOOL bKeep = m_bKeepDrawingObjects;
    m_bKeepDrawingObjects = TRUE;
    auto invalidate = [this, nFlags](const CRect& r) {
        if (r.Width() > 1 && r.Height() > 1) {
            m_pGridWnd->InvalidateRect(&r, TRUE);
            if (nFlags & (GX_UPDATENOW | GX_SMART))
                m_pGridWnd->UpdateWindow();
        }
    };
    const BOOL bRowOnScreen = IsFrozenRow(nRow) || (nRow >= GetTopRow() && nRow <= GetLastVisibleRow());
    if ((nWhich == 0 || nWhich == 1) && pProp->GetMarkRowHeader() && bRowOnScreen)
        invalidate(CalcRectFromRowColEx(nRow, 0, nRow, GetHeaderCols()));
    const BOOL bColOnScreen = IsFrozenCol(nCol) || (nCol >= GetLeftCol() && nCol <= GetLastVisibleCol());
    if ((nWhich == 0 || nWhich == 2) && pProp->GetMarkColHeader() && bColOnScreen)
        invalidate(CalcRectFromRowColEx(0, nCol, GetHeaderRows(), nCol));
    m_bKeepDrawingObjects = bKeep;
}

void CGXGridEngine::OnGridUpdate(CWnd* pSender, LPARAM, CObject* pHintObject)
{
    CGXGridHint* h = dynamic_cast<CGXGridHint*>(pHintObject);
    if (m_pParam == nullptr || h == nullptr)
        return;
    if (h->m_nSenderTag != -1 && h->m_nSenderTag != m_nHintTag)
        return;
    const UINT f = h->flags;
    switch (h->m_nHint) {
    case 1: Redraw(f, FALSE); break;
    case 2: RedrawRange(h->nRow1, h->nCol1, h->nRow2, h->nCol2, f, FALSE); break;
    case 3: RefreshAfterRowCountChange(h->nRow1, f, FALSE); break;
    case 4: RefreshAfterColCountChange(h->nCol1, f, FALSE); break;
    case 5: UpdateChangedRowHeights(h->nRow1, h->nRow2, static_cast<const int*>(h->pObject1), f, FALSE); break;
    case 6: UpdateChangedColWidths(h->nCol1, h->nCol2, static_cast<const int*>(h->pObject1), f, FALSE); break;
    case 7: UpdateInsertCols(h->nCol1, h->nCol2, f, FALSE); break;
    case 8: UpdateInsertRows(h->nRow1, h->nRow2, f, FALSE); break;
    case 9: UpdateRemoveCols(h->nCol1, h->nCol2, static_cast<const int*>(h->pObject1), f, FALSE); break;
    case 10: UpdateRemoveRows(h->nRow1, h->nRow2, static_cast<const int*>(h->pObject1), f, FALSE); break;
    case 11: UpdateMoveCols(h->nCol1, h->nCol2, static_cast<ROWCOL>(h->lParam), f, FALSE); break;
    case 12: UpdateMoveRows(h->nRow1, h->nRow2, static_cast<ROWCOL>(h->lParam), f, FALSE); break;
    case 13:
        RedrawSelectionChange(static_cast<POSITION>(h->pObject3), h->nRow1, h->nCol1, h->nRow2, h->nCol2, FALSE);
        break;
    case 14: RedrawAllSelections(FALSE); break;
    case 15: UpdateFrozenRows(h->nRow1, h->nRow2, f, FALSE); break;
    case 16: UpdateFrozenCols(h->nCol1, h->nCol2, f, FALSE); break;
    case 17:
        UpdateStyleRange(h->m_range, static_cast<const CGXStyle*>(h->pObject1), static_cast<int>(h->lParam),
                         static_cast<int>(h->nCol1), f, FALSE);
        break;
    case 18:
        UpdateCoveredCellsRowCol(h->m_range.top, h->m_range.left, h->m_range.bottom, h->m_range.right, f, FALSE);
        break;
    case 28:
    case 29: RedrawRange(h->nRow1, h->nCol1, h->nRow2, h->nCol2, f, FALSE); break;
    case 31: UpdateMoveDataRows(h->m_range, f, FALSE); break;
    case 32: UpdateMoveDataCols(h->m_range, f, FALSE); break;
    // 24 (the current cell's transfer) belongs to an operation still to come.
    case 19:
    case 20: {
        int r = 0, c = 0;
        CSplitterWnd* pMine = GetSplitter(&r, &c);
        const BOOL bFromSplitter = pMine != nullptr && pSender != nullptr && pSender->GetSafeHwnd() != nullptr &&
                                   CView::GetParentSplitter(pSender, TRUE) == pMine;
        if (m_pParam->m_wSharedZoom == 0 && !bFromSplitter)
            break;
        if (h->m_nHint == 19)
            UpdateZoom(static_cast<int>(h->lParam), f, FALSE);
        else
            StoreZoom(static_cast<int>(h->lParam), FALSE);
        break;
    }
    case 21: UpdateReadOnly(static_cast<BOOL>(h->lParam), FALSE); break;
    case 22:
        if (CGXRegisterGridHook* hook = GXGetAppState()->m_pRegisterGridHook)
            hook->Register(dynamic_cast<CGXGridWnd*>(this), m_pParam->m_strName, TRUE);
        break;
    case 23: InvertChangedSelection(h->m_range, static_cast<const CGXRangeList*>(h->pObject3), FALSE); break;
    case 25:
    case 26: {
        int r = 0, c = 0;
        CSplitterWnd* pSplitter = GetSplitter(&r, &c);
        if (pSplitter == nullptr || h->pObject2 != m_pGridWnd)
            break;
        if (h->m_nHint == 25 && pSplitter->GetColumnCount() > 1)
            SetTopRow(h->nRow1, f, FALSE);
        else if (h->m_nHint == 26 && pSplitter->GetRowCount() > 1)
            SetLeftCol(h->nCol1, f, FALSE);
        break;
    }
    case 24: TransferCurrentCell(static_cast<BOOL>(h->lParam), f, FALSE); break;
    case 27: PlaceCurrentCell(h->nRow1, h->nCol1, f); break;
    case 30: SetSelectionFrameLock(static_cast<BOOL>(h->lParam), FALSE); break;
    case 33: UpdateProperties(f, FALSE); break;
    case 34: UpdateStylesMap(f, FALSE); break;
    case 35: UpdateBaseStyle(static_cast<WORD>(h->lParam), f, FALSE); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Primitives

void CGXGridEngine::FillRectWithBrush(CDC* pDC, const CRect& rect, const GXBrushRecord& brush)
{
    if (rect.IsRectEmpty())
        return;
    if (brush.lbStyle == BS_SOLID) {
        FillRectColor(pDC, rect.left, rect.top, rect.Width(), rect.Height(), brush.lbColor);
        return;
    }
    if (brush.lbStyle == BS_HOLLOW)
        return;
    CBrush* pBrush = LookupBrush(brush);
    if (pBrush == nullptr)
        return;
    pDC->SetTextColor(ResolveSysColor(brush.lbColor));
    pDC->SetBkColor(ResolveSysColor(brush.lbBkColor));
    pDC->SetBkMode(OPAQUE);
    ::FillRect(pDC->GetSafeHdc(), &rect, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

void CGXGridEngine::DrawBorder(const GXPenRecord& pen, const CRect& rect, int nSide, CDC* pDC,
                               const GXBrushRecord* pInterior)
{
    if (pen.lopnStyle == PS_NULL)
        return;
    const int w = std::max(1, pen.lopnWidth);
    CRect strip(rect);
    switch (nSide) {
    case gxBorderLeft: strip.right = std::min(rect.right, rect.left + w); break;
    case gxBorderRight: strip.left = std::max(rect.left, rect.right - w); break;
    case gxBorderTop: strip.bottom = std::min(rect.bottom, rect.top + w); break;
    default: strip.top = std::max(rect.top, rect.bottom - w); break;
    }
    const BOOL bBW = BlackWhite(m_pParam);
    GXBrushRecord br;
    if (pInterior != nullptr && GXGetBorderBrush(pen, *pInterior, FALSE, bBW, br)) {
        FillRectWithBrush(pDC, strip, br);
        return;
    }
    if (w == 1 && pen.lopnStyle != PS_SOLID) {
        GXPenRecord p(pen);
        if (bBW)
            p.lopnColor = 0;
        CPen* pPen = LookupPen(p);
        if (pPen == nullptr)
            return;
        HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), pPen->GetSafeHandle());
        switch (nSide) {
        case gxBorderLeft: pDC->MoveTo(rect.left, rect.top); pDC->LineTo(rect.left, rect.bottom - 1); break;
        case gxBorderRight: pDC->MoveTo(rect.right - 1, rect.top); pDC->LineTo(rect.right - 1, rect.bottom - 1); break;
        case gxBorderTop: pDC->MoveTo(rect.left, rect.top); pDC->LineTo(rect.right - 1, rect.top); break;
        default: pDC->MoveTo(rect.left, rect.bottom - 1); pDC->LineTo(rect.right - 1, rect.bottom - 1); break;
        }
        ::SelectObject(pDC->GetSafeHdc(), hOld);
        return;
    }
    FillRectColor(pDC, strip.left, strip.top, strip.Width(), strip.Height(), bBW ? 0 : pen.lopnColor);
}

void CGXGridEngine::DrawGridLine(CDC* pDC, int x, int y, int cx, int cy, int nDirection, int, int nMode)
{
    const BOOL bBW = BlackWhite(m_pParam);
    const COLORREF grid = bBW ? 0 : PropColor(m_pParam, GX_COLOR_GRIDLINES, RGB(128, 128, 128));
    switch (nMode) {
    case 0: FillRectColor(pDC, x, y, cx, cy, grid); break;
    case 1: FillRectColor(pDC, x, y, cx, cy, bBW ? 0 : PropColor(m_pParam, GX_COLOR_TRACKING, RGB(255, 0, 0))); break;
    case 2: {
        FillRectColor(pDC, x, y, cx, cy, grid);
        GXPenRecord p(static_cast<UINT>(m_nDragPenStyle), 1, PropColor(m_pParam, GX_COLOR_DRAGGING, RGB(255, 0, 0)));
        CPen* pPen = LookupPen(p);
        if (pPen == nullptr)
            break;
        HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), pPen->GetSafeHandle());
        pDC->SetBkMode(OPAQUE);
        pDC->MoveTo(x, y);
        if (nDirection == 1)
            pDC->LineTo(x, y + cy);
        else
            pDC->LineTo(x + cx, y);
        ::SelectObject(pDC->GetSafeHdc(), hOld);
        break;
    }
    case 4:
    case 8: {
        CRect r(x, y, x + cx, y + cy);
        pDC->InvertRect(&r);
        break;
    }
    default: break;
    }
}

CRect CGXGridEngine::SubtractBorders(const CRect& rect, const CGXStyle& style, BOOL bGridLines)
{
    CRect r(rect);
    CGXProperties* pProp = m_pParam != nullptr ? m_pParam->GetProperties() : nullptr;
    const BOOL bRB = m_pParam != nullptr && m_pParam->m_bLinesAtRightBottom;
    const BOOL bHorz = pProp != nullptr && pProp->GetDisplayHorzLines();
    const BOOL bVert = pProp != nullptr && pProp->GetDisplayVertLines();
    if (bGridLines && style.GetIncludeDraw3dFrame() && style.GetDraw3dFrame() != 0)
        r.DeflateRect(1, 1);
    auto width = [&style](int side) { return BorderWidth(style, side); };
    int w;
    w = width(gxBorderTop);
    r.top += w != 0 ? w : (bGridLines && bHorz && !bRB ? 1 : 0);
    w = width(gxBorderBottom);
    r.bottom -= w != 0 ? w : (bGridLines && bHorz && bRB ? 1 : 0);
    w = width(gxBorderLeft);
    r.left += w != 0 ? w : (bGridLines && bVert && !bRB ? 1 : 0);
    w = width(gxBorderRight);
    r.right -= w != 0 ? w : (bGridLines && bVert && bRB ? 1 : 0);
    return r;
}

CSize CGXGridEngine::AddBorders(CSize size, const CGXStyle& style)
{
    CGXProperties* pProp = m_pParam != nullptr ? m_pParam->GetProperties() : nullptr;
    const BOOL bRB = m_pParam != nullptr && m_pParam->m_bLinesAtRightBottom;
    const BOOL bHorz = pProp != nullptr && pProp->GetDisplayHorzLines();
    const BOOL bVert = pProp != nullptr && pProp->GetDisplayVertLines();
    if (style.GetIncludeDraw3dFrame() && style.GetDraw3dFrame() != 0) {
        size.cx += 2;
        size.cy += 2;
    }
    auto width = [&style](int side) { return BorderWidth(style, side); };
    int w;
    w = width(gxBorderTop);
    size.cy += w != 0 ? w : (bHorz && !bRB ? 1 : 0);
    w = width(gxBorderBottom);
    size.cy += w != 0 ? w : (bHorz && bRB ? 1 : 0);
    w = width(gxBorderLeft);
    size.cx += w != 0 ? w : (bVert && !bRB ? 1 : 0);
    w = width(gxBorderRight);
    size.cx += w != 0 ? w : (bVert && bRB ? 1 : 0);
    return size;
}
