// The scroll-bar messages of the grid window.
#include <algorithm>
#include "afxwin.h"
#include "gxengine.h"

// Thumb positions arrive in 16 bits; the scroll-unit scheme keeps bar positions at or below 32767,
// so the position times the unit is the target row (column).
BOOL CGXGridEngine::HandleBarMessage(BOOL bRows, UINT nSBCode, UINT nPos)
{
    if (!m_bInitDone || m_pParam == nullptr || m_bLockScrollBars)
        return FALSE;
    if (CGXControl* pControl = GetCurrentCellControl())
        pControl->OnGridScroll(bRows ? WM_VSCROLL : WM_HSCROLL);
    const ROWCOL nCount = bRows ? GetRowCount() : GetColCount();
    const ROWCOL F = bRows ? GetFrozenRows() : GetFrozenCols();
    if (nCount == 0 || nCount - 1 <= F)
        return FALSE;
    const ROWCOL T = bRows ? m_nTopRow : m_nLeftCol;
    const int nBack = bRows ? 1 : 2, nForward = bRows ? 3 : 4;
    auto sum = [this, bRows](ROWCOL a, ROWCOL b) { return bRows ? CalcSumOfRowHeights(a, b) : CalcSumOfColWidths(a, b); };
    auto size = [this, bRows](ROWCOL n) { return bRows ? GetRowHeight(n) : GetColWidth(n); };
    CRect g;
    GetGridRect(&g);
    const int nRoom = (bRows ? g.Height() : g.Width()) - sum(0, F);
    switch (nSBCode) {
    case SB_LINEUP: ScrollCells(nBack, 1); break;
    case SB_LINEDOWN: ScrollCells(nForward, 1); break;
    case SB_PAGEUP: {
        if (T < 2)
            break;
        ROWCOL k = 0;
        int nSum = 0;
        for (ROWCOL n = T - 1; n > F; --n) {
            nSum += size(n);
            if (nSum > nRoom)
                break;
            ++k;
        }
        ScrollCells(nBack, std::max<ROWCOL>(k, 1));
        break;
    }
    case SB_PAGEDOWN: {
        if (T >= nCount)
            break;
        // The last row shown whole.
        ROWCOL nLast = T;
        int nSum = 0;
        while (nLast <= nCount && nSum + size(nLast) <= nRoom)
            nSum += size(nLast++);
        if (nLast <= T)
            break;
        ScrollCells(nForward, std::max<ROWCOL>(nLast - 1 - T, 1));
        break;
    }
    case SB_THUMBTRACK:
        if (!m_pParam->m_bThumbTracking)
            break;
        [[fallthrough]];
    case SB_THUMBPOSITION: {
        const ROWCOL nTarget = static_cast<ROWCOL>(nPos) * static_cast<ROWCOL>(GetScrollUnit(bRows ? SB_VERT : SB_HORZ));
        if (nTarget < T && nTarget > F && sum(nTarget, T - 1) > 0)
            ScrollCells(nBack, T - nTarget);
        else if (nTarget > T && nTarget <= nCount && sum(T, nTarget - 1) > 0)
            ScrollCells(nForward, nTarget - T);
        break;
    }
    case SB_TOP:
        if (T > 1)
            ScrollCells(nBack, T - 1);
        break;
    case SB_BOTTOM:
        if (T < nCount)
            ScrollCells(nForward, nCount - T);
        break;
    default: break;
    }
    return TRUE;
}

BOOL CGXGridEngine::HandleVScroll(UINT nSBCode, UINT nPos, CScrollBar*) { return HandleBarMessage(TRUE, nSBCode, nPos); }
BOOL CGXGridEngine::HandleHScroll(UINT nSBCode, UINT nPos, CScrollBar*) { return HandleBarMessage(FALSE, nSBCode, nPos); }
