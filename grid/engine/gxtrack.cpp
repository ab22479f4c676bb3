// Size tracking: a row or column edge dragged to a new place, shown by an
// inverted line or by resizing the header or the whole grid live.
#include "afxwin.h"
#include "gxaxis.h"
#include "gxutil.h"

using namespace gxaxis;

BOOL CGXGridEngine::GetDrawState(int* pMode, ROWCOL* pRowCol) const
{
    if (pMode != nullptr)
        *pMode = m_nTrackMode;
    if (pRowCol != nullptr)
        *pRowCol = (m_nTrackMode & 1) ? m_nTrackRow : m_nTrackCol;
    return m_bTracking;
}

CRect CGXGridEngine::TrackLineAt(int nPos) const
{
    CRect r(m_rectTrackStart);
    if (m_nTrackMode == GX_TRACK_WIDTH)
        r.OffsetRect(nPos - r.left, 0);
    else
        r.OffsetRect(0, nPos - r.top);
    return r;
}

int CGXGridEngine::TrackPos() const
{
    return m_nTrackMode == GX_TRACK_WIDTH ? m_rectTrackLine.left : m_rectTrackLine.top;
}

BOOL CGXGridEngine::TrackLineInvert(const CRect& rect)
{
    if (!m_bTrackInvert || m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr || m_pParam == nullptr ||
        m_pParam->m_bLockUpdate)
        return FALSE;
    CClientDC dc(m_pGridWnd);
    PrepareDC(&dc, nullptr);
    dc.InvertRect(&rect);
    return TRUE;
}

// Takes the inverted lines off the screen: the moving one, and the start line where it shows.
void CGXGridEngine::TrackLinesErase()
{
    if (m_bTrackLineShown)
        TrackLineInvert(m_rectTrackLine);
    if (m_bTrackStartShown)
        TrackLineInvert(m_rectTrackStart);
    m_bTrackLineShown = m_bTrackStartShown = FALSE;
}

// Stores a size for the tracked row or column; bRestoreEntry puts back the
// entry (or its absence) the row or column had at the start.
void CGXGridEngine::SetTrackedSize(int nSize, BOOL bRestoreEntry)
{
    if (m_pParam == nullptr)
        return;
    const BOOL bRows = m_nTrackMode == GX_TRACK_HEIGHT;
    CGXMapDWordToLong& map = bRows ? m_pParam->m_rowHeights : m_pParam->m_colWidths;
    const ROWCOL n = bRows ? m_nTrackRow : m_nTrackCol;
    if (bRestoreEntry) {
        if (m_bTrackStoredBefore)
            map.SetAt(n, m_nTrackStoredValue);
        else
            map.RemoveKey(n);
        return;
    }
    map.SetAt(n, GXPixelsToStored(nSize, bRows ? GetScaleHeight() : GetScaleFactor(), bRows));
}

BOOL CGXGridEngine::StartTracking(ROWCOL nRow, ROWCOL nCol, int nMode)
{
    if (m_pParam == nullptr)
        return FALSE;
    const BOOL bRows = nMode == GX_TRACK_HEIGHT;
    if (bRows ? !CanChangeRowHeight(nRow, 0) : !CanChangeColWidth(nCol, 0))
        return FALSE;
    if (bRows)
        nCol = 0;
    else
        nRow = 0;
    m_nTrackMode = nMode;
    m_nTrackRow = nRow;
    m_nTrackCol = nCol;
    const WORD opt = bRows ? m_pParam->m_wOptionE : m_pParam->m_wOptionD;
    m_bTrackLiveGrid = (opt & 0x100) != 0;
    m_bTrackLiveHeader = (opt & 0x80) != 0 && !m_bTrackLiveGrid;
    const BOOL bLive = m_bTrackLiveGrid || m_bTrackLiveHeader;
    m_bTrackInvert = (opt & 0x40) == 0 && !bLive;

    CRect g;
    GetGridRect(&g);
    const ROWCOL n = bRows ? nRow : nCol;
    CRect cell = bRows ? CalcRectFromRowColEx(nRow, 0, nRow, 0) : CalcRectFromRowColEx(0, nCol, 0, nCol);
    // The line runs across the rows (columns) on screen.
    const int extent = std::min(bRows ? g.right : g.bottom,
                                (bRows ? g.left : g.top) +
                                    SumClient(*this, !bRows, 0, ToClient(*this, !bRows, Count(*this, !bRows)),
                                              Length(g, !bRows)));
    if (bRows)
        m_rectTrackStart.SetRect(g.left, cell.bottom, extent, cell.bottom + 1);
    else
        m_rectTrackStart.SetRect(cell.right, g.top, cell.right + 1, extent);
    if (m_pParam->m_bLinesAtRightBottom)
        m_rectTrackStart.OffsetRect(-1, -1);
    m_nTrackLimit = (bRows ? cell.top : cell.left) + 1;
    m_ptTrackOffset = CPoint(0, 0);
    m_nTrackStartSize = Size(*this, bRows, n);
    LONG v = 0;
    m_bTrackStoredBefore = (bRows ? m_pParam->m_rowHeights : m_pParam->m_colWidths).Lookup(n, v);
    m_nTrackStoredValue = v;
    m_rectTrackLine = m_rectTrackStart;
    m_bTracking = TRUE;
    m_bTrackMoved = FALSE;
    // The start area is either repainted (and shows no line) or marked by the inverted start line.
    // The repaint happens now, so that no line inverted later is painted over.
    m_bTrackStartShown = m_bTrackLineShown = FALSE;
    if ((opt & 0x10) == 0 && !bLive) {
        if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr) {
            m_pGridWnd->InvalidateRect(&m_rectTrackStart, FALSE);
            m_pGridWnd->UpdateWindow();
        }
    } else {
        m_bTrackStartShown = TrackLineInvert(m_rectTrackStart);
    }
    return TRUE;
}

void CGXGridEngine::MoveTracking(ROWCOL, ROWCOL, UINT, CPoint pt)
{
    if (!m_bTracking || m_pParam == nullptr)
        return;
    m_bTrackMoved = TRUE;
    const BOOL bRows = m_nTrackMode == GX_TRACK_HEIGHT;
    if (bRows)
        pt.y = std::max(pt.y, static_cast<LONG>(m_pParam->m_nTrackMinY));
    else
        pt.x = std::max(pt.x, static_cast<LONG>(m_pParam->m_nTrackMinX));
    const ROWCOL n = bRows ? m_nTrackRow : m_nTrackCol;
    if (bRows ? !CanChangeRowHeight(n, pt.y) : !CanChangeColWidth(n, pt.x))
        return;
    CRect g;
    GetGridRect(&g);
    int pos = Coord(pt + m_ptTrackOffset, bRows);
    pos = std::min(pos, End(g, bRows) - 7);
    pos = std::max(pos, m_nTrackLimit);
    const CRect line = TrackLineAt(pos);
    if (line == m_rectTrackLine)
        return;
    if (m_bTrackLineShown)
        TrackLineInvert(m_rectTrackLine);
    m_rectTrackLine = line;
    m_bTrackLineShown = !(line == m_rectTrackStart && m_bTrackStartShown) && TrackLineInvert(line);
    const int size = std::max(0, m_nTrackStartSize + pos - Coord(m_rectTrackStart.TopLeft(), bRows));
    if (m_bTrackLiveGrid) {
        const int old = SetDrawingTechnique(1);
        SetTrackedSize(size, FALSE);
        if (bRows)
            UpdateChangedRowHeights(n, n, nullptr, GX_UPDATENOW, FALSE);
        else
            UpdateChangedColWidths(n, n, nullptr, GX_UPDATENOW, FALSE);
        SetDrawingTechnique(old);
    } else if (m_bTrackLiveHeader && IsWindowShown() && !m_pParam->m_bLockUpdate) {
        const int old = SetDrawingTechnique(1);
        SetTrackedSize(size, FALSE);
        CRect strip;
        GetGridRect(&strip);
        if (bRows) {
            strip.top = CalcRectFromRowColEx(n, 0, n, 0).top;
            strip.right = std::min(strip.right, strip.left + CalcSumOfColWidths(0, GetHeaderCols()));
        } else {
            strip.left = CalcRectFromRowColEx(0, n, 0, n).left;
            strip.bottom = std::min(strip.bottom, strip.top + CalcSumOfRowHeights(0, GetHeaderRows()));
        }
        m_pGridWnd->InvalidateRect(&strip, FALSE);
        m_pGridWnd->UpdateWindow();
        SetTrackedSize(0, TRUE);
        SetDrawingTechnique(old);
    }
}

void CGXGridEngine::EndTracking(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt)
{
    if (!m_bTracking || m_pParam == nullptr)
        return;
    if (m_bTrackMoved)
        MoveTracking(nRow, nCol, nFlags, pt);
    const BOOL bRows = m_nTrackMode == GX_TRACK_HEIGHT;
    m_bTracking = FALSE;
    TrackLinesErase();
    if (m_bTrackLiveGrid || m_bTrackLiveHeader)
        SetTrackedSize(0, TRUE);
    const ROWCOL n = bRows ? m_nTrackRow : m_nTrackCol;
    const int change = TrackPos() - Coord(m_rectTrackStart.TopLeft(), bRows);
    const int pos = Coord(pt, bRows);
    auto refresh = [&]() {
        if (bRows)
            UpdateChangedRowHeights(n, n, nullptr, GX_UPDATENOW, FALSE);
        else
            UpdateChangedColWidths(n, n, nullptr, GX_UPDATENOW, FALSE);
    };
    if ((bRows ? !CanChangeRowHeight(n, pos) : !CanChangeColWidth(n, pos)) || std::abs(change) < 2 || !m_bTrackMoved) {
        refresh();
        return;
    }
    const int size = Size(*this, bRows, n) + change;
    const WORD opt = bRows ? m_pParam->m_wOptionE : m_pParam->m_wOptionD;
    auto setSize = [&](ROWCOL a, ROWCOL b) {
        if (size < 1)
            return bRows ? HideRows(a, b, TRUE) : HideCols(a, b, TRUE);
        return bRows ? SetRowHeight(a, b, size) : SetColWidth(a, b, size);
    };
    auto setDefault = [&]() { return bRows ? SetDefaultRowHeight(size) : SetDefaultColWidth(size); };
    CDWordArray starts, ends;
    CGXRangeList& sel = m_pParam->m_selRanges;
    BOOL bSelected = FALSE;
    if (n != 0 && (bRows ? sel.GetRowSpans(GetRowCount(), starts, ends) : sel.GetColSpans(GetColCount(), starts, ends)))
        for (INT_PTR i = 0; i < starts.GetSize(); ++i)
            bSelected |= starts[i] <= n && n <= ends[i];
    if (n != 0 && (opt & 1)) {
        setDefault();
    } else if (n == 0 || !bSelected) {
        setSize(n, n);
    } else if (!sel.IsEmpty() && sel.GetRangeAt(sel.GetHeadPosition())->IsTable()) {
        setDefault();
    } else {
        CWaitCursor wait;
        for (INT_PTR i = starts.GetSize() - 1; i >= 0; --i)
            setSize(std::max<ROWCOL>(1, starts[i]), ends[i]);
    }
    if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->UpdateWindow();
    RefreshScrollBars(FALSE, FALSE);
}

void CGXGridEngine::CancelTracking()
{
    if (!m_bTracking)
        return;
    m_bTracking = FALSE;
    TrackLinesErase();
    if (m_bTrackLiveGrid || m_bTrackLiveHeader) {
        SetTrackedSize(0, TRUE);
        const ROWCOL n = m_nTrackMode == GX_TRACK_HEIGHT ? m_nTrackRow : m_nTrackCol;
        if (m_nTrackMode == GX_TRACK_HEIGHT)
            UpdateChangedRowHeights(n, n, nullptr, GX_UPDATENOW, FALSE);
        else
            UpdateChangedColWidths(n, n, nullptr, GX_UPDATENOW, FALSE);
    }
}
