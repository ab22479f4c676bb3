// The selection: adding and cutting ranges, inverting on screen only the
// cells whose state changed, the selection frame and its drag edge.
#include "afxwin.h"
#include "gxaxis.h"
#include "gxdraw.h"
#include "gxhint.h"
#include "gxutil.h"

namespace {
// A client device context of the grid clipped to the grid rectangle, or
// none while the grid is locked or hidden.
class CGridDC
{
public:
    explicit CGridDC(CGXGridEngine& e)
    {
        CWnd* pWnd = e.GridWnd();
        if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr || !pWnd->IsWindowVisible() || e.GetParam() == nullptr ||
            e.GetParam()->m_bLockUpdate)
            return;
        m_pDC = new CClientDC(pWnd);
        e.PrepareDC(m_pDC, nullptr);
        CRect g;
        e.GetGridRect(&g);
        m_pDC->IntersectClipRect(&g);
    }
    ~CGridDC() { delete m_pDC; }
    CGridDC(const CGridDC&) = delete;
    CGridDC& operator=(const CGridDC&) = delete;
    CDC* Get() const { return m_pDC; }

private:
    CClientDC* m_pDC = nullptr;
};

CGXRange CellForm(const CGXRange& r, ROWCOL nTop, ROWCOL nLeft, ROWCOL nRows, ROWCOL nCols)
{
    CGXRange c(r);
    c.ExpandToCells(nTop, nLeft, nRows, nCols);
    return c;
}
} // namespace

BOOL CGXGridEngine::IsCellInRangeList(ROWCOL nRow, ROWCOL nCol, const CGXRangeList* pList)
{
    return pList != nullptr && pList->AnyRangeContains(nRow, nCol);
}

void CGXGridEngine::OnChangedSelection(const CGXRange*, BOOL, BOOL) {}

BOOL CGXGridEngine::CopySelectedRanges(CGXRangeList& list, BOOL bAddCurrentCell)
{
    if (m_pParam != nullptr) {
        const CGXRangeList& sel = m_pParam->m_selRanges;
        for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;)
            list.AddTail(new CGXRange(*static_cast<CGXRange*>(const_cast<CGXRangeList&>(sel).GetNext(pos))));
        ROWCOL r, c;
        if (sel.IsEmpty() && bAddCurrentCell && GetCurrentCellPos(r, c))
            list.AddTail(new CGXRange(r, c));
    }
    return !list.IsEmpty();
}

BOOL CGXGridEngine::SelectRange(const CGXRange& range, BOOL bSelect, BOOL bRedraw)
{
    if (m_pParam == nullptr || !range.IsValid())
        return FALSE;
    CGXRangeList copy;
    CopySelectedRanges(copy, FALSE);
    if (ChangeSelectionList(range, bSelect)) {
        OnChangedSelection(&range, FALSE, FALSE);
        if (!m_pParam->m_bLockUpdate && bRedraw)
            InvertChangedSelection(range, &copy, TRUE);
    }
    return TRUE;
}

BOOL CGXGridEngine::ChangeSelectionList(const CGXRange& range, BOOL bSelect)
{
    if (m_pParam == nullptr)
        return FALSE;
    CGXRangeList& list = m_pParam->m_selRanges;
    if (bSelect) {
        list.AddTail(new CGXRange(range));
        return TRUE;
    }
    const ROWCOL nRows = GetRowCount(), nCols = GetColCount();
    const CGXRange X = CellForm(range, 1, 1, nRows, nCols);
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        POSITION posThis = pos;
        CGXRange* pR = static_cast<CGXRange*>(list.GetNext(pos));
        const CGXRange R = CellForm(*pR, 1, 1, nRows, nCols);
        CGXRange I;
        if (!I.Intersect(R, X))
            continue;
        const BOOL bRowPieces = range.IsRows() && (pR->IsRows() || pR->IsTable());
        const BOOL bColPieces = range.IsCols() && (pR->IsCols() || pR->IsTable());
        auto addRows = [&](ROWCOL a, ROWCOL b) {
            CGXRange* p = new CGXRange;
            if (bRowPieces)
                p->SetRows(a, b);
            else
                p->SetCells(a, R.left, b, R.right);
            list.AddTail(p);
        };
        auto addCols = [&](ROWCOL a, ROWCOL b) {
            CGXRange* p = new CGXRange;
            if (bColPieces)
                p->SetCols(a, b);
            else
                p->SetCells(R.top, a, R.bottom, b);
            list.AddTail(p);
        };
        if (I.top > R.top)
            addRows(R.top, I.top - 1);
        if (I.bottom < R.bottom)
            addRows(I.bottom + 1, R.bottom);
        if (I.left > R.left)
            addCols(R.left, I.left - 1);
        if (I.right < R.right)
            addCols(I.right + 1, R.right);
        // Pieces were added behind: the walk reaches them and keeps them.
        POSITION next = posThis;
        list.GetNext(next);
        pos = next;
        delete pR;
        list.RemoveAt(posThis);
    }
    return TRUE;
}

void CGXGridEngine::InvertChangedSelection(const CGXRange& range, const CGXRangeList* pOld, BOOL bUpdateViews)
{
    if (m_pParam == nullptr)
        return;
    const CGXRangeList& list = m_pParam->m_selRanges;
    {
        CGridDC dc(*this);
        if (CDC* pDC = dc.Get()) {
            UpdateSelectionFrame(pDC, TRUE, nullptr);
            m_bFrameShown = FALSE;
            if (!list.IsEmpty())
                UpdateSelectionFrame(pDC, FALSE, list.GetRangeAt(list.GetTailPosition()));
            const CGXRange area = CellForm(range, 0, 0, GetRowCount(), GetColCount());
            const ROWCOL lastRow = RowToClientRow(GetLastVisibleRow()), lastCol = ColToClientCol(GetLastVisibleCol());
            CalcClientCellRect(0, 0);
            for (ROWCOL i = 0; i <= lastRow; ++i) {
                const ROWCOL r = ClientRowToRow(i);
                if (r < area.top || r > area.bottom)
                    continue;
                for (ROWCOL j = 0; j <= lastCol; ++j) {
                    const ROWCOL c = ClientColToCol(j);
                    if (c < area.left || c > area.right)
                        continue;
                    if (IsCellInRangeList(r, c, pOld) != IsCellInRangeList(r, c, &list))
                        InvertCell(pDC, r, c, CalcClientCellRectNext(i, j));
                }
            }
        }
    }
    if (!list.IsEmpty())
        m_selRange = *list.GetRangeAt(list.GetTailPosition());
    if (bUpdateViews) {
        CGXGridHint hint(23, m_nHintTag);
        hint.m_range = range;
        hint.pObject3 = const_cast<CGXRangeList*>(pOld);
        SendHint(hint);
    }
}

void CGXGridEngine::RedrawSelectionChange(POSITION pos, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight,
                                          BOOL bUpdateViews)
{
    if (m_pParam == nullptr)
        return;
    CGXRangeList& list = m_pParam->m_selRanges;
    const ROWCOL nRows = GetRowCount(), nCols = GetColCount();
    const ROWCOL lastRow = GetLastVisibleRow(), lastCol = GetLastVisibleCol();
    CGXRange old;
    if (pos != nullptr && list.GetRangeAt(pos)->IsValid())
        old = CellForm(*list.GetRangeAt(pos), 0, 0, nRows, nCols);
    else
        pos = nullptr;
    // The new extent as cells (0 stands for all rows or columns). Built from its four values at
    // once: SetCells orders its corners, so placeholders would widen it to the whole table.
    const ROWCOL nowTop = std::min(nTop, nBottom), nowLeft = std::min(nLeft, nRight);
    CGXRange now;
    now.SetCells(nowTop, nowLeft, nowTop == 0 ? nRows : std::max(nTop, nBottom),
                 nowLeft == 0 ? nCols : std::max(nLeft, nRight));
    CGXRange area(now);
    if (pos != nullptr)
        area.Union(now, old);
    const ROWCOL FR = GetFrozenRows(), FC = GetFrozenCols(), TR = GetTopRow(), LC = GetLeftCol();
    if (area.top > FR && area.top <= TR)
        area.top = TR;
    if (area.left > FC && area.left <= LC)
        area.left = LC;
    area.bottom = std::min(area.bottom, lastRow);
    area.right = std::min(area.right, lastCol);
    ROWCOL ct = RowToClientRow(area.top), cl = ColToClientCol(area.left);
    ROWCOL cb = RowToClientRow(area.bottom), cr = ColToClientCol(area.right);
    if (cb == 0)
        cb = FR;
    if (cr == 0)
        cr = FC;
    {
        CGridDC dc(*this);
        if (CDC* pDC = dc.Get()) {
            CalcClientCellRect(0, 0);
            const CGXRange frame(nTop, nLeft, nBottom, nRight);
            UpdateSelectionFrame(pDC, TRUE, &frame);
            for (ROWCOL i = ct; i <= cb && area.top <= area.bottom; ++i) {
                for (ROWCOL j = cl; j <= cr && area.left <= area.right; ++j) {
                    const ROWCOL r = ClientRowToRow(i), c = ClientColToCol(j);
                    const BOOL was = IsCellInRangeList(r, c, &list);
                    const BOOL isNow = now.Contains(r, c) || list.AnyRangeContains(r, c, pos);
                    if (was != isNow)
                        InvertCell(pDC, r, c, CalcClientCellRectNext(i, j));
                }
            }
        }
    }
    if (bUpdateViews) {
        CGXGridHint hint(13, m_nHintTag);
        hint.nRow1 = nTop;
        hint.nRow2 = nBottom;
        hint.nCol1 = nLeft;
        hint.nCol2 = nRight;
        hint.pObject3 = pos;
        SendHint(hint);
    }
}

void CGXGridEngine::RedrawAllSelections(BOOL bUpdateViews)
{
    if (m_pParam == nullptr)
        return;
    {
        CGridDC dc(*this);
        if (CDC* pDC = dc.Get()) {
            UpdateSelectionFrame(pDC, TRUE, nullptr);
            m_bFrameShown = FALSE;
            const ROWCOL lastRow = RowToClientRow(GetLastVisibleRow()), lastCol = ColToClientCol(GetLastVisibleCol());
            CalcClientCellRect(0, 0);
            for (ROWCOL i = 0; i <= lastRow; ++i)
                for (ROWCOL j = 0; j <= lastCol; ++j) {
                    const ROWCOL r = ClientRowToRow(i), c = ClientColToCol(j);
                    if (IsCellInRangeList(r, c, &m_pParam->m_selRanges))
                        InvertCell(pDC, r, c, CalcClientCellRectNext(i, j));
                }
        }
    }
    if (bUpdateViews) {
        CGXGridHint hint(14, m_nHintTag);
        SendHint(hint);
    }
}

void CGXGridEngine::SetSelectionRange(POSITION pos, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    if (m_pParam == nullptr)
        return;
    CGXRangeList& list = m_pParam->m_selRanges;
    if (pos == nullptr) {
        if (!list.IsEmpty())
            RedrawAllSelections(TRUE);
        list.DeleteAll();
        m_posAnchor = nullptr;
        return;
    }
    if (m_pParam->HasOptionGBits(3))
        nLeft = nRight = 0;
    if (nTop > nBottom)
        std::swap(nTop, nBottom);
    if (nLeft > nRight)
        std::swap(nLeft, nRight);
    if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->UpdateWindow();
    RedrawSelectionChange(pos, nTop, nLeft, nBottom, nRight, TRUE);
    CGXRange* p = list.GetRangeAt(pos);
    if (nTop == 0 && nLeft == 0)
        p->SetTable();
    else if (nLeft == 0)
        p->SetRows(nTop, nBottom);
    else if (nTop == 0)
        p->SetCols(nLeft, nRight);
    else
        p->SetCells(nTop, nLeft, nBottom, nRight);
}

BOOL CGXGridEngine::SetSelectionFrameLock(BOOL bLock, BOOL bUpdateViews)
{
    if (m_pParam == nullptr)
        return FALSE;
    const BOOL old = m_bSelFrameLock;
    if ((bLock != 0) != (old != 0)) {
        if (m_pParam->m_bSelectionFrame) {
            CGridDC dc(*this);
            m_bSelFrameLock = FALSE;
            if (bLock)
                UpdateSelectionFrame(dc.Get(), TRUE, nullptr);
            else if (!m_pParam->m_selRanges.IsEmpty())
                UpdateSelectionFrame(dc.Get(), FALSE,
                                     m_pParam->m_selRanges.GetRangeAt(m_pParam->m_selRanges.GetTailPosition()));
        }
        m_bSelFrameLock = bLock;
    }
    if (bUpdateViews) {
        CGXGridHint hint(30, m_nHintTag);
        hint.lParam = static_cast<DWORD>(bLock);
        SendHint(hint);
    }
    return old;
}

void CGXGridEngine::UpdateSelectionFrame(CDC* pDC, BOOL bErase, const CGXRange* pNew)
{
    if (m_pParam == nullptr || !m_pParam->m_bSelectionFrame || m_bSelFrameLock)
        return;
    if (bErase && m_bFrameShown && pDC != nullptr) {
        DrawSelectionFrame(pDC, m_rangeFrame, m_nFrameType);
        m_bFrameShown = FALSE;
    }
    if (pNew == nullptr)
        return;
    CGXRange r;
    CGXRange cells(*pNew);
    cells.ExpandToCells(0, 0, 0, 0);
    if (cells.top == 0 && cells.left == 0)
        r.SetTable();
    else if (cells.left == 0)
        r.SetRows(cells.top, cells.bottom);
    else if (cells.top == 0)
        r.SetCols(cells.left, cells.right);
    else
        r.SetCells(cells.top, cells.left, cells.bottom, cells.right);
    m_nFrameType = r.IsCols() ? 7 : r.IsRows() ? 2 : 0;
    r.ExpandToCells(GetHeaderRows() + 1, GetHeaderCols() + 1, GetRowCount(), GetColCount());
    m_rangeFrame = r;
    if (pDC != nullptr) {
        if (bErase && m_bFrameShown)
            DrawSelectionFrame(pDC, m_rangeFrame, m_nFrameType);
        DrawSelectionFrame(pDC, m_rangeFrame, m_nFrameType);
        m_bFrameShown = TRUE;
    }
}

void CGXGridEngine::DrawSelectionFrame(CDC* pDC, const CGXRange& range, int nType)
{
    if (m_pParam == nullptr || m_pParam->m_bLockUpdate || !range.IsValid())
        return;
    const ROWCOL t = range.top, l = range.left, b = range.bottom, r = range.right;
    const ROWCOL FR = GetFrozenRows(), FC = GetFrozenCols(), TR = GetTopRow(), LC = GetLeftCol();
    ROWCOL PR = TR - 1;
    while (PR > FR && GetRowHeight(PR) == 0)
        --PR;
    PR = std::max(PR, FR);
    ROWCOL PC = LC - 1;
    while (PC > FC && GetColWidth(PC) == 0)
        --PC;
    PC = std::max(PC, FC);
    if (!((l <= FC || (r >= PC && l <= GetLastVisibleCol())) && (t <= FR || (b >= PR && t <= GetLastVisibleRow()))))
        return;
    const BOOL bBottomAtBoundary = (PR <= b && b < TR) || (b == FR && FR + 1 == TR);
    const BOOL bRightAtBoundary = (PC <= r && r < LC) || (r == FC && FC + 1 == LC);
    const BOOL bTopShown = t <= FR || t > TR || (t == TR && FR + 1 == TR);
    const BOOL bLeftShown = l <= FC || l > LC || (l == LC && FC + 1 == LC);
    const BOOL bTopAtTop = !bTopShown && t == TR;
    const BOOL bLeftAtLeft = !bLeftShown && l == LC;
    CRect G;
    GetGridRect(&G);
    const int W = G.Width(), H = G.Height();
    const int fw = CalcSumOfColWidths(0, FC, W), fh = CalcSumOfRowHeights(0, FR, H);
    auto rows = [&](ROWCOL a, ROWCOL z) { return a == 0 && z == GX_INVALID ? 0 : CalcSumOfRowHeights(a, z, H); };
    auto cols = [&](ROWCOL a, ROWCOL z) { return a == 0 && z == GX_INVALID ? 0 : CalcSumOfColWidths(a, z, W); };
    const int scrollTop = (bTopShown || bTopAtTop) ? SumRowHeights(0, RowToClientRow(t) - 1, H) : fh;
    const int scrollLeft = (bLeftShown || bLeftAtLeft) ? SumColWidths(0, ColToClientCol(l) - 1, W) : fw;
    auto part = [&](int L, int T, int R, int B, CRect clip, BOOL bTop, BOOL bLeft) {
        CRect frame(L, T, R, B);
        frame.OffsetRect(G.left, G.top);
        clip.OffsetRect(G.left, G.top);
        DrawSelectionFramePart(pDC, frame, clip, bTop, bLeft, nType);
    };
    if (l <= FC && t < TR) {
        const int L = cols(0, l - 1), T = rows(0, t - 1);
        part(L, T, L + cols(l, std::min(r, FC)), T + rows(t, std::min(b, FR)), CRect(0, 0, fw, fh), TRUE, TRUE);
    }
    if (l <= FC && b >= TR) {
        const int L = cols(0, l - 1);
        part(L, scrollTop, L + cols(l, r), fh + rows(TR, b), CRect(0, fh, fw, G.bottom), t >= TR, TRUE);
    }
    if (t <= FR && r >= LC) {
        const int T = rows(0, t - 1);
        part(scrollLeft, T, fw + cols(LC, r), T + rows(t, b), CRect(fw, 0, G.right, fh), TRUE, l >= LC);
    }
    if ((b >= TR || bBottomAtBoundary) && (r >= LC || bRightAtBoundary)) {
        part(scrollLeft, scrollTop, fw + (r < LC ? 0 : cols(LC, r)), fh + (b < TR ? 0 : rows(TR, b)),
             CRect(fw, fh, G.right, G.bottom), t >= TR, l >= LC);
    }
}

void CGXGridEngine::DrawSelectionFramePart(CDC* pDC, const CRect& rectFrame, const CRect& clip, BOOL bTopEdge,
                                           BOOL bLeftEdge, int nType)
{
    const BOOL bRB = m_pParam != nullptr && m_pParam->m_bLinesAtRightBottom;
    CRect f(rectFrame);
    if (bRB)
        f.OffsetRect(-1, -1);
    const int L = f.left, T = f.top, R = f.right, B = f.bottom;
    auto inv = [&](int a, int b, int c, int d) { GXInvertRect(pDC, CRect(a, b, c, d), clip); };
    CRect next;
    BOOL bNext = FALSE;
    if (bTopEdge) {
        inv(L - 1, T - 1, R + 2, bRB ? T + 1 : T);
        next.SetRect(L + 2, T + 2, R - 2, T + 3);
        bNext = TRUE;
    } else if (bLeftEdge && B > T) {
        inv(L + 2, T, L + 3, T + 3);
        next.SetRect(R - 2, T, R - 1, T + 1);
        bNext = TRUE;
    }
    if (bNext)
        GXInvertRect(pDC, next, clip);
    if (bLeftEdge) {
        if (bRB)
            inv(L - 1, T + 1, L + 1, B + 2);
        else
            inv(L - 1, T, L, B + 2);
        inv(L + 2, T + 3, L + 3, B - 2);
    } else if (bTopEdge && R > L) {
        inv(L, B - 2, L + 2, B - 1);
        inv(L, T + 2, L + 2, T + 3);
    }
    if (bRB) {
        inv(L + 1, B + 1, R + 1, B + 2);
        inv(R + 1, T + 1, R + 2, B + 2);
    } else {
        inv(L, B, R, B + 2);
        inv(R, T, R + 2, B + 2);
    }
    inv(L + 2, B - 2, R - 2, B - 1);
    if (bTopEdge)
        inv(R - 2, T + 2, R - 1, B - 1);
    else
        inv(R - 2, T + 1, R - 1, B - 1);
    switch (nType) {
    case 0:
        inv(R - 1, B - 2, R + 2, B + 3);
        inv(R - 2, B - 1, R + 3, B + 2);
        inv(R + 2, B + 2, R + 3, B + 3);
        break;
    case 2:
        inv(L + 2, B - 1, L + 7, B + 2);
        inv(L + 3, B - 3, L + 7, B - 2);
        inv(L + 1, B - 2, L + 6, B + 3);
        inv(L + 1, B + 2, L + 2, B + 3);
        break;
    case 7:
        inv(R - 1, T + 2, R + 2, T + 7);
        inv(R - 3, T + 3, R - 2, T + 7);
        inv(R - 2, T + 1, R + 3, T + 6);
        inv(R + 2, T + 1, R + 3, T + 2);
        break;
    default:
        break;
    }
}

int CGXGridEngine::HitTestSelectionEdge(ROWCOL nRow, ROWCOL nCol, CPoint pt, const CRect& rect)
{
    if (!m_bDragEnabled || m_pParam == nullptr)
        return 0;
    const CGXRangeList& list = m_pParam->m_selRanges;
    if (list.AnyRangeContains(0, 0)) {
        if (nRow == 0 && nCol == 0 &&
            ((pt.x >= rect.left && pt.x < rect.left + 5) || (pt.y >= rect.top && pt.y < rect.top + 5)))
            return GX_HIT_SELEDGE;
        return 0;
    }
    CGXRange range;
    POSITION pos = list.FindRange(nRow, nCol);
    if (pos != nullptr) {
        range = *list.GetRangeAt(pos);
    } else if (list.IsEmpty()) {
        ROWCOL r, c;
        if (!GetCurrentCellPos(r, c))
            return 0;
        if (!GetCoveredCellsRowCol(r, c, range))
            range.SetCells(r, c);
        if (!range.Contains(nRow, nCol))
            return 0;
    } else {
        return 0;
    }
    if (pt.x >= rect.left && pt.x < rect.left + 5 && !range.IsRows() && range.left == nCol)
        return GX_HIT_SELEDGE;
    if (pt.x > rect.right - 5 && pt.x <= rect.right && !range.IsRows() && range.right == nCol)
        return GX_HIT_SELEDGE;
    if (pt.y >= rect.top && pt.y < rect.top + 5 && !range.IsCols() && range.top == nRow)
        return GX_HIT_SELEDGE;
    if (pt.y >= rect.bottom - 4 && pt.y <= rect.bottom && !range.IsCols() && range.bottom == nRow)
        return GX_HIT_SELEDGE;
    return 0;
}
