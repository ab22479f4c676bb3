// Float and merge cells: spans computed from the cells' styles and controls, stored in span
// pools and evaluated lazily for the cells about to be drawn.
#include "gxengine.h"
#include "gxhint.h"
#include "gxspan.h"
#include <algorithm>

namespace {
// The pool a parameter slot holds; anything else found there (an archive may hold any object)
// is replaced.
template <class T>
T* Pool(CObject*& slot, BOOL bCreate = TRUE)
{
    T* p = dynamic_cast<T*>(slot);
    if (p == nullptr && bCreate) {
        delete slot;
        slot = p = new T;
    }
    return p;
}

// A composed style of a cell, released when it goes.
class CComposed
{
public:
    CComposed(CGXGridEngine& e, ROWCOL nRow, ROWCOL nCol) : m_e(e), m_p(e.CreateStyle())
    {
        e.ComposeCellStyle(nRow, nCol, *m_p);
    }
    ~CComposed() { m_e.RecycleStyle(m_p); }
    CComposed(const CComposed&) = delete;
    CComposed& operator=(const CComposed&) = delete;
    const CGXStyle& operator*() const { return *m_p; }

private:
    CGXGridEngine& m_e;
    CGXStyle* m_p;
};

BOOL IsSpan(const CGXRange& r) { return r.top != r.bottom || r.left != r.right; }

// Redraws a changed span here and has the other views redraw it (hint 28 float, 29 merge).
void RedrawSpan(CGXGridEngine& e, UINT nHint, const CGXRange& r, UINT nFlags)
{
    e.RedrawRange(r.top, r.left, r.bottom, r.right, nFlags, FALSE);
    CGXGridHint hint(nHint, e.m_nHintTag);
    hint.m_range = r;
    hint.nRow1 = r.top;
    hint.nCol1 = r.left;
    hint.nRow2 = r.bottom;
    hint.nCol2 = r.right;
    hint.flags = nFlags;
    e.SendHint(hint);
}

// The cells of a range within the table (float cells: after the headers); FALSE when none.
BOOL SpanCells(CGXGridEngine& e, const CGXRange& range, BOOL bClipHeaders, CGXRange& r)
{
    const ROWCOL nRows = e.GetRowCount(), nCols = e.GetColCount();
    r = range;
    r.ExpandToCells(0, 0, nRows, nCols);
    if (bClipHeaders) {
        r.top = std::max(r.top, e.GetHeaderRows() + 1);
        r.left = std::max(r.left, e.GetHeaderCols() + 1);
    }
    r.bottom = std::min(r.bottom, nRows);
    r.right = std::min(r.right, nCols);
    return r.top <= r.bottom && r.left <= r.right;
}

void Grow(CGXRange& out, BOOL& bAny, const CGXRange& r)
{
    if (!bAny) {
        out = r;
        bAny = TRUE;
    } else {
        out.Union(out, r);
    }
}
} // namespace

CGXSpanCellPool* CGXGridEngine::FloatPool()
{
    if (m_pParam == nullptr)
        return nullptr;
    return IsPrinting() ? Pool<CGXSpanCellPool>(m_pParam->m_pPrintObjectA) : Pool<CGXSpanCellPool>(m_pParam->m_pFloatSpans);
}

CGXSpanCellPool* CGXGridEngine::MergePool(int nDirection)
{
    if (m_pParam == nullptr)
        return nullptr;
    return Pool<CGXSpanCellPool>(nDirection == 0 ? m_pParam->m_pMergeSpansA : m_pParam->m_pMergeSpansB);
}

// ---------------------------------------------------------------------------
// Marking

void CGXGridEngine::DelaySpanRecalcA(const CGXRange& range, ROWCOL nNewColCount)
{
    if (m_pParam == nullptr || m_pParam->m_wFloatCells != 1)
        return;
    CGXRange r;
    if (!SpanCells(*this, range, TRUE, r))
        return;
    if (!IsPrinting()) {
        CGXDelayedRangePool* pPool = Pool<CGXDelayedRangePool>(m_pParam->m_pFloatDelayed);
        pPool->AddRange(r);
        if (nNewColCount != 0xFFFFFFFF)
            pPool->LimitCols(nNewColCount);
    }
    if (CGXDelayedRangePool* pPrint = Pool<CGXDelayedRangePool>(m_pParam->m_pPrintObjectB, FALSE)) {
        pPrint->AddRange(r);
        if (nNewColCount != 0xFFFFFFFF)
            pPrint->LimitCols(nNewColCount);
    }
}

void CGXGridEngine::DelaySpanRecalcB(const CGXRange& range, ROWCOL nNewRowCount, ROWCOL nNewColCount)
{
    if (m_pParam == nullptr || (m_pParam->m_wMergeCells & 3) != 1)
        return;
    CGXRange r;
    if (!SpanCells(*this, range, FALSE, r))
        return;
    CGXDelayedRangePool* pPool = Pool<CGXDelayedRangePool>(m_pParam->m_pMergeDelayed);
    pPool->AddRange(r);
    if (nNewRowCount != 0xFFFFFFFF)
        pPool->LimitRows(nNewRowCount);
    if (nNewColCount != 0xFFFFFFFF)
        pPool->LimitCols(nNewColCount);
}

// ---------------------------------------------------------------------------
// Float cells

BOOL CGXGridEngine::GetFloatCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range)
{
    range.SetCells(nRow, nCol);
    if (m_pParam == nullptr || m_pParam->m_wFloatCells == 0)
        return FALSE;
    CGXSpanCellPool* p = FloatPool();
    return p != nullptr && p->GetSpanCellsRowCol(nRow, nCol, range) && IsSpan(range);
}

BOOL CGXGridEngine::SetFloatCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT nFlags)
{
    CGXSpanCellPool* p = FloatPool();
    if (p == nullptr)
        return FALSE;
    // Only a span of this cell's own is taken back; a span over it from the left stays.
    CGXRange old(nTop, nLeft);
    ROWCOL nOldRight = nLeft;
    BOOL bChanged = FALSE;
    if (p->GetSpanCellsRowCol(nTop, nLeft, old) && old.left == nLeft) {
        nOldRight = old.right;
        bChanged = p->SetSpanCellsRowCol(old.top, old.left, old.bottom, old.right, FALSE);
    }
    if (nRight > nLeft || nBottom > nTop)
        bChanged |= p->SetSpanCellsRowCol(nTop, nLeft, nBottom, nRight, TRUE);
    if (!bChanged)
        return FALSE;
    RedrawSpan(*this, 28, CGXRange(nTop, nLeft, nBottom, std::max(nRight, nOldRight)), nFlags);
    return TRUE;
}

BOOL CGXGridEngine::CanFloatCell(CGXControl* pControl, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                                 BOOL bFloat)
{
    if (m_pParam == nullptr || m_pParam->m_wFloatCells == 0 || pControl == nullptr)
        return FALSE;
    CGXRange r;
    if (GetCoveredCellsRowCol(nRow, nCol, r) || GetMergedCellsRowCol(nRow, nCol, r, -1))
        return FALSE;
    if (bFloat) {
        if (!style.GetIncludeFloatCell() || !style.GetFloatCell())
            return FALSE;
    } else if (!style.GetIncludeFloodCell() || !style.GetFloodCell() || nCol == GetFrozenCols() + 1) {
        return FALSE;
    }
    return pControl->CanFloatCell(nRow, nCol, style, bFloat);
}

BOOL CGXGridEngine::FloatSpanOf(ROWCOL nRow, ROWCOL nFirst, UINT nFlags, CGXRange& changed, BOOL& bAny)
{
    ROWCOL nLast = nFirst;
    {
        CComposed style(*this, nRow, nFirst);
        CGXControl* pControl = GetCellControl(nRow, nFirst);
        if (CanFloatCell(pControl, nRow, nFirst, *style, TRUE)) {
            CDC* pDC = GetFontDC();
            long nNeeded = pControl->CalcSize(pDC, nRow, nFirst, *style, GetStandardStyle(), FALSE).cx;
            const ROWCOL nCols = GetColCount();
            while (nNeeded > GetColWidth(nLast) && nLast < nCols) {
                CComposed next(*this, nRow, nLast + 1);
                if (!CanFloatCell(GetCellControl(nRow, nLast + 1), nRow, nLast + 1, *next, FALSE))
                    break;
                nNeeded -= GetColWidth(nLast);
                ++nLast;
            }
        }
    }
    CGXRange stored;
    ROWCOL nOldLast = nFirst;
    if (GetFloatCellsRowCol(nRow, nFirst, stored) && stored.left == nFirst)
        nOldLast = stored.right;
    if (nLast == nOldLast)
        return FALSE;
    if (!SetFloatCellsRowCol(nRow, nFirst, nRow, nLast, nFlags))
        return FALSE;
    Grow(changed, bAny, CGXRange(nRow, nFirst, nRow, std::max(nLast, nOldLast)));
    return TRUE;
}

BOOL CGXGridEngine::EvaluateFloatCell(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CGXRange& changed, BOOL& bAny)
{
    BOOL bCan;
    {
        CComposed style(*this, nRow, nCol);
        bCan = CanFloatCell(GetCellControl(nRow, nCol), nRow, nCol, *style, TRUE);
    }
    // The span reaching the left neighbour, from its first column.
    ROWCOL nNeighbour = 0;
    if (nCol > GetHeaderCols() + 1) {
        CGXRange left;
        GetFloatCellsRowCol(nRow, nCol - 1, left);
        nNeighbour = left.left;
    }
    BOOL bChanged = FALSE;
    if (bCan && nNeighbour != 0)
        bChanged |= FloatSpanOf(nRow, nNeighbour, nFlags, changed, bAny);
    bChanged |= FloatSpanOf(nRow, nCol, nFlags, changed, bAny);
    if (!bCan && nNeighbour != 0)
        bChanged |= FloatSpanOf(nRow, nNeighbour, nFlags, changed, bAny);
    return bChanged;
}

namespace {
// Runs fnCell over the range (mode 2, skipping hidden rows and columns) or over what the delayed
// pool still holds of it (mode 1), with the drawing lock held in mode 2.
template <class Fn>
BOOL EvaluateRange(CGXGridEngine& e, int nMode, CObject*& delayedSlot, CGXRange r, Fn fnCell)
{
    CGXGridParam* p = e.GetParam();
    BOOL bChanged = FALSE;
    if (nMode == 2) {
        const BOOL bLock = p->m_bLockUpdate;
        p->m_bLockUpdate = TRUE;
        for (ROWCOL row = r.top; row <= r.bottom; ++row) {
            if (e.IsRowHidden(row))
                continue;
            for (ROWCOL col = r.left; col <= r.right; ++col)
                if (!e.IsColHidden(col))
                    bChanged |= fnCell(row, col);
        }
        p->m_bLockUpdate = bLock;
    } else if (nMode == 1) {
        CGXDelayedRangePool* pPool = Pool<CGXDelayedRangePool>(delayedSlot);
        CDWordArray firsts, lasts;
        pPool->ExtractPending(r, firsts, lasts);
        for (int i = 0; i < firsts.GetSize(); ++i) {
            if (firsts[i] == 0 && lasts[i] == 0)
                continue;
            const ROWCOL row = r.top + static_cast<ROWCOL>(i);
            for (ROWCOL col = firsts[i]; col <= lasts[i]; ++col)
                bChanged |= fnCell(row, col);
        }
        pPool->RemoveDone();
    }
    return bChanged;
}
} // namespace

BOOL CGXGridEngine::RecalcSpansA(const CGXRange& range, UINT nFlags, CGXRange& rangeChanged)
{
    if (m_pParam == nullptr || m_bLockFloatSpans || m_pParam->m_wFloatCells == 0)
        return FALSE;
    CGXRange r;
    if (!SpanCells(*this, range, TRUE, r))
        return FALSE;
    BOOL bAny = FALSE;
    CGXRange changed;
    CObject*& slot = IsPrinting() ? m_pParam->m_pPrintObjectB : m_pParam->m_pFloatDelayed;
    if (IsPrinting() && m_pParam->m_wFloatCells == 1 && dynamic_cast<CGXDelayedRangePool*>(slot) == nullptr) {
        // A printout starts with print pools of its own: everything is pending there.
        CGXRange all(GetHeaderRows() + 1, GetHeaderCols() + 1, GetRowCount(), GetColCount());
        Pool<CGXDelayedRangePool>(slot)->AddRange(all);
    }
    const BOOL bChanged = EvaluateRange(*this, m_pParam->m_wFloatCells, slot, r, [&](ROWCOL row, ROWCOL col) {
        return EvaluateFloatCell(row, col, nFlags, changed, bAny);
    });
    if (bAny)
        rangeChanged.Union(rangeChanged.IsValid() ? rangeChanged : changed, changed);
    return bChanged;
}

void CGXGridEngine::ExpandRangeByFloatCells(CGXRange& range)
{
    if (m_pParam != nullptr && m_pParam->m_wFloatCells != 0)
        GXExpandRangeBySpans(range, TRUE, [&](ROWCOL r, ROWCOL c, CGXRange& span) { return GetFloatCellsRowCol(r, c, span); });
}

// ---------------------------------------------------------------------------
// Merge cells

BOOL CGXGridEngine::GetMergedCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range, int nDirection)
{
    range.SetCells(nRow, nCol);
    if (m_pParam == nullptr || (m_pParam->m_wMergeCells & 3) == 0)
        return FALSE;
    if (nDirection == 0 || nDirection == 1) {
        CGXSpanCellPool* p = MergePool(nDirection);
        return p->GetSpanCellsRowCol(nRow, nCol, range) && IsSpan(range);
    }
    // Both directions: a run within the row first; a run within the column counts only where
    // none of its cells lies in a row run, so that spans never overlap.
    if (GetMergedCellsRowCol(nRow, nCol, range, 0))
        return TRUE;
    CGXRange column;
    if (!GetMergedCellsRowCol(nRow, nCol, column, 1))
        return FALSE;
    for (ROWCOL r = column.top; r <= column.bottom; ++r) {
        CGXRange row;
        if (GetMergedCellsRowCol(r, nCol, row, 0)) {
            range.SetCells(nRow, nCol);
            return FALSE;
        }
    }
    range = column;
    return TRUE;
}

BOOL CGXGridEngine::StoreMergedCells(int nDirection, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight,
                                     BOOL bSet, UINT nFlags)
{
    CGXSpanCellPool* p = MergePool(nDirection);
    if (p == nullptr)
        return FALSE;
    const BOOL bLong = nBottom > nTop || nRight > nLeft;
    // Clearing takes back only a run that starts at this cell, never the tail of another.
    CGXRange run;
    if (!(bSet && bLong) && (!p->GetSpanCellsRowCol(nTop, nLeft, run) || run.top != nTop || run.left != nLeft))
        return FALSE;
    if (!p->SetSpanCellsRowCol(nTop, nLeft, nBottom, nRight, bSet && bLong))
        return FALSE;
    const CGXRange block(nTop, nLeft, nBottom, nRight);
    DelaySpanRecalcA(block);
    RedrawSpan(*this, 29, block, nFlags);
    return TRUE;
}

BOOL CGXGridEngine::CanMergeCell(CGXControl* pControl, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                                 int nDirection)
{
    if (m_pParam == nullptr || pControl == nullptr)
        return FALSE;
    const WORD w = m_pParam->m_wMergeCells;
    if ((w & 3) == 0 || !style.GetIncludeMergeCell())
        return FALSE;
    if (!(style.GetMergeCell() & (nDirection == 0 ? 1 : 2)) || (w & (nDirection == 0 ? 8 : 4)))
        return FALSE;
    CGXRange r;
    if (GetCoveredCellsRowCol(nRow, nCol, r))
        return FALSE;
    return pControl->CanMergeCell(nRow, nCol, style, nDirection);
}

BOOL CGXGridEngine::CanMergeCells(const CGXStyle& a, const CGXStyle& b)
{
    if (!a.GetIncludeMergeCell() || !b.GetIncludeMergeCell())
        return FALSE;
    if ((a.GetMergeCell() & 4) && (b.GetMergeCell() & 4))
        return a.GetValue() == b.GetValue();
    return a.IsSubSet(b) && b.IsSubSet(a);
}

BOOL CGXGridEngine::ExamineMergePair(int nDir, ROWCOL r1, ROWCOL c1, ROWCOL r2, ROWCOL c2, UINT nFlags,
                                     CGXRange& changed, BOOL& bAny, BOOL& bChanged)
{
    CGXRange run1, run2;
    GetMergedCellsRowCol(r1, c1, run1, nDir);
    GetMergedCellsRowCol(r2, c2, run2, nDir);
    BOOL bMerge;
    {
        CComposed s1(*this, r1, c1), s2(*this, r2, c2);
        bMerge = CanMergeCell(GetCellControl(r1, c1), r1, c1, *s1, nDir) &&
                 CanMergeCell(GetCellControl(r2, c2), r2, c2, *s2, nDir) && CanMergeCells(*s1, *s2);
    }
    auto store = [&](const CGXRange& r, BOOL bSet) {
        if (StoreMergedCells(nDir, r.top, r.left, r.bottom, r.right, bSet, 2)) {
            Grow(changed, bAny, r);
            bChanged = TRUE;
        }
    };
    if (bMerge) {
        if (run1.Contains(r2, c2))
            return TRUE;
        if (IsSpan(run2))
            store(run2, FALSE);
        store(CGXRange(run1.top, run1.left, run2.bottom, run2.right), TRUE);
        return TRUE;
    }
    // The pair lies within one run: the run splits between the two cells, and each part that
    // still spans more than one cell stays merged (its own cells are still equal).
    const CGXRange& run = IsSpan(run1) && run1.Contains(r2, c2) ? run1 : run2;
    if (IsSpan(run) && run.Contains(r1, c1) && run.Contains(r2, c2)) {
        const CGXRange whole(run);
        store(whole, FALSE);
        if (r1 != whole.top || c1 != whole.left)
            store(CGXRange(whole.top, whole.left, r1, c1), TRUE);
        if (r2 != whole.bottom || c2 != whole.right)
            store(CGXRange(r2, c2, whole.bottom, whole.right), TRUE);
    }
    return FALSE;
}

BOOL CGXGridEngine::EvaluateMergeCell(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CGXRange& changed, BOOL& bAny)
{
    const WORD w = m_pParam->m_wMergeCells;
    BOOL bChanged = FALSE;
    for (int nDir = 0; nDir <= 1; ++nDir) {
        if (w & (nDir == 0 ? 8 : 4))
            continue;
        const ROWCOL nCount = nDir == 0 ? GetColCount() : GetRowCount();
        const ROWCOL n = nDir == 0 ? nCol : nRow;
        auto at = [&](ROWCOL k, ROWCOL& r, ROWCOL& c) {
            r = nDir == 0 ? nRow : k;
            c = nDir == 0 ? k : nCol;
        };
        // Leftwards (upwards) while pairs merge, from the start of the run; index 0 starts no span.
        for (ROWCOL k = n; k > 1;) {
            ROWCOL r1, c1, r2, c2;
            at(k - 1, r1, c1);
            at(k, r2, c2);
            if (!ExamineMergePair(nDir, r1, c1, r2, c2, nFlags, changed, bAny, bChanged))
                break;
            CGXRange run;
            GetMergedCellsRowCol(r1, c1, run, nDir);
            const ROWCOL start = nDir == 0 ? run.left : run.top;
            if (start >= k)
                break;
            k = start;
        }
        // Rightwards (downwards) up to the count, on past each pair that merges.
        for (ROWCOL k = std::max<ROWCOL>(n, 1); k < nCount;) {
            ROWCOL r1, c1, r2, c2;
            at(k, r1, c1);
            at(k + 1, r2, c2);
            if (!ExamineMergePair(nDir, r1, c1, r2, c2, nFlags, changed, bAny, bChanged))
                break;
            CGXRange run;
            GetMergedCellsRowCol(r2, c2, run, nDir);
            const ROWCOL end = nDir == 0 ? run.right : run.bottom;
            k = std::max(end, k + 1);
        }
    }
    return bChanged;
}

BOOL CGXGridEngine::RecalcSpansB(const CGXRange& range, UINT nFlags, CGXRange& rangeChanged)
{
    if (m_pParam == nullptr || m_bLockMergeSpans || (m_pParam->m_wMergeCells & 3) == 0)
        return FALSE;
    CGXRange r;
    if (!SpanCells(*this, range, FALSE, r))
        return FALSE;
    BOOL bAny = FALSE;
    CGXRange changed;
    const BOOL bChanged =
        EvaluateRange(*this, m_pParam->m_wMergeCells & 3, m_pParam->m_pMergeDelayed, r,
                      [&](ROWCOL row, ROWCOL col) { return EvaluateMergeCell(row, col, nFlags, changed, bAny); });
    if (bAny)
        rangeChanged.Union(rangeChanged.IsValid() ? rangeChanged : changed, changed);
    return bChanged;
}

void CGXGridEngine::ExpandRangeByMergedCells(CGXRange& range)
{
    if (m_pParam == nullptr || (m_pParam->m_wMergeCells & 3) == 0)
        return;
    for (int nDir = 0; nDir <= 1; ++nDir)
        GXExpandRangeBySpans(range, nDir == 0,
                             [&](ROWCOL r, ROWCOL c, CGXRange& span) { return GetMergedCellsRowCol(r, c, span, nDir); });
}

// ---------------------------------------------------------------------------
// Both chains

BOOL CGXGridEngine::GetCellRangeRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range)
{
    return GetCoveredCellsRowCol(nRow, nCol, range) || GetMergedCellsRowCol(nRow, nCol, range, -1) ||
           GetFloatCellsRowCol(nRow, nCol, range);
}

BOOL CGXGridEngine::EvaluateVisibleSpans(CGXRange& rangeChanged)
{
    if (m_pParam == nullptr || (m_pParam->m_wFloatCells == 0 && (m_pParam->m_wMergeCells & 3) == 0))
        return FALSE;
    const ROWCOL FR = GetFrozenRows(), FC = GetFrozenCols();
    const ROWCOL TR = std::max(GetTopRow(), FR + 1), LC = std::max(GetLeftCol(), FC + 1);
    const ROWCOL BR = GetLastVisibleRow(), RC = GetLastVisibleCol();
    const CGXRange parts[4] = {CGXRange(0, 0, FR, FC), CGXRange(0, LC, FR, RC), CGXRange(TR, 0, BR, FC),
                               CGXRange(TR, LC, BR, RC)};
    BOOL bChanged = FALSE;
    for (const CGXRange& part : parts) {
        if (part.top > part.bottom || part.left > part.right)
            continue;
        bChanged |= RecalcSpansB(part, GX_INVALIDATE, rangeChanged);
        bChanged |= RecalcSpansA(part, GX_INVALIDATE, rangeChanged);
    }
    return bChanged;
}

// Rows or columns were inserted (nOp 0: a = first, b = count), removed (1: a..b) or moved (2: a..b
// to c): the span pools follow and what they showed is evaluated again.
void CGXGridEngine::ShiftSpanPools(int nOp, BOOL bRows, ROWCOL a, ROWCOL b, ROWCOL c)
{
    if (m_pParam == nullptr)
        return;
    for (CObject* pSlot : {m_pParam->m_pFloatSpans, m_pParam->m_pPrintObjectA, m_pParam->m_pMergeSpansA,
                           m_pParam->m_pMergeSpansB}) {
        CGXSpanCellPool* p = dynamic_cast<CGXSpanCellPool*>(pSlot);
        if (p == nullptr)
            continue;
        if (nOp == 0)
            bRows ? p->InsertRows(a, b) : p->InsertCols(a, b);
        else if (nOp == 1)
            bRows ? p->RemoveRows(a, b) : p->RemoveCols(a, b);
        else
            bRows ? p->MoveRows(a, b, c) : p->MoveCols(a, b, c);
    }
    const ROWCOL nFirst = nOp == 2 ? std::min(a, c) : a;
    CGXRange rest;
    if (bRows)
        rest.SetRows(nFirst, std::max<ROWCOL>(GetRowCount(), nFirst));
    else
        rest.SetCols(nFirst, std::max<ROWCOL>(GetColCount(), nFirst));
    DelaySpanRecalcA(rest, nOp == 1 && !bRows ? GetColCount() : 0xFFFFFFFF);
    DelaySpanRecalcB(rest, nOp == 1 && bRows ? GetRowCount() : 0xFFFFFFFF,
                     nOp == 1 && !bRows ? GetColCount() : 0xFFFFFFFF);
}
