// Scrolling: scroll bars that follow the grid's size, scrolling by rows and
// columns without disturbing the frozen panes, bringing a cell into view
// and the loop that scrolls while the mouse is held beyond the cells.
#include "afxseam.h"
#include "afxwin.h"
#include "gxaxis.h"
#include "gxhint.h"
#include "gxutil.h"

using namespace gxaxis;

namespace {
HWND BarWindow(CGXGridEngine& e, int nBar, int& nKind)
{
    nKind = nBar;
    if (CScrollBar* p = e.GetScrollBarCtrl(nBar)) {
        if (p->GetSafeHwnd() != nullptr) {
            nKind = SB_CTL;
            return p->GetSafeHwnd();
        }
    }
    return e.GridWnd() != nullptr ? e.GridWnd()->GetSafeHwnd() : nullptr;
}

// The largest first scrollable row (column) that still fills the room.
ROWCOL LargestFirst(CGXGridEngine& e, BOOL bRows, int room)
{
    const ROWCOL first = Frozen(e, bRows) + 1, nCount = Count(e, bRows);
    if (nCount <= first || room <= 0)
        return first;
    ROWCOL n = nCount;
    int sum = 0;
    for (;;) {
        sum += Size(e, bRows, n);
        if (sum > room) {
            if (n < nCount)
                ++n;
            break;
        }
        if (n == first)
            break;
        --n;
    }
    return std::max(n, first);
}

int ScrollRoom(CGXGridEngine& e, BOOL bRows)
{
    CRect g;
    e.GetGridRect(&g);
    return Length(g, bRows) - SumAbs(e, bRows, 0, Frozen(e, bRows));
}
} // namespace

int CGXGridEngine::MaxTopRow(int nRoom) { return static_cast<int>(LargestFirst(*this, TRUE, nRoom)); }
int CGXGridEngine::MaxLeftCol(int nRoom) { return static_cast<int>(LargestFirst(*this, FALSE, nRoom)); }

void CGXGridEngine::SetGridScrollRange(int nBar, int nMin, int nMax, BOOL bRedraw)
{
    const int mode = GetScrollBarMode(nBar);
    if (mode == 0)
        return;
    int& unit = nBar == SB_VERT ? m_nVScrollUnit : m_nHScrollUnit;
    unit = nMax / 32767 + 1;
    int kind = 0;
    HWND hWnd = BarWindow(*this, nBar, kind);
    if (hWnd == nullptr)
        return;
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    UINT page = 0;
    if (mode & 8) {
        const int nCount = static_cast<int>(nBar == SB_VERT ? GetRowCount() : GetColCount());
        page = static_cast<UINT>(std::max(1, (nCount + 1 - nMax) / unit));
        nMax = nCount;
    }
    si.nMin = nMin;
    si.nMax = nMax / unit;
    si.nPage = page;
    if (si.nMax < nMin) {
        si.nMin = si.nMax;
        si.nPage = 1;
    }
    // Setting what the bar shows already would only repaint it.
    SCROLLINFO cur = {};
    cur.cbSize = sizeof(cur);
    cur.fMask = SIF_RANGE | SIF_PAGE;
    if (::GetScrollInfo(hWnd, kind, &cur) && cur.nMin == si.nMin && cur.nMax == si.nMax && cur.nPage == si.nPage)
        return;
    if (!::SetScrollInfo(hWnd, kind, &si, bRedraw))
        ::SetScrollRange(hWnd, kind, si.nMin, si.nMax, bRedraw);
}

int CGXGridEngine::SetGridScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    if (GetScrollBarMode(nBar) == 0)
        return 0;
    const int unit = GetScrollUnit(nBar);
    int kind = 0;
    HWND hWnd = BarWindow(*this, nBar, kind);
    if (hWnd == nullptr)
        return 0;
    const int pos = nPos < unit ? 0 : nPos / unit;
    const int previous = ::GetScrollPos(hWnd, kind);
    if (previous == pos)
        return previous * unit;
    return ::SetScrollPos(hWnd, kind, pos, bRedraw) * unit;
}

int CGXGridEngine::GetGridScrollPos(int nBar)
{
    int kind = 0;
    HWND hWnd = BarWindow(*this, nBar, kind);
    return hWnd != nullptr ? ::GetScrollPos(hWnd, kind) * GetScrollUnit(nBar) : 0;
}

void CGXGridEngine::GetGridScrollRange(int nBar, int* pMin, int* pMax)
{
    int kind = 0, a = 0, b = 0;
    HWND hWnd = BarWindow(*this, nBar, kind);
    if (hWnd != nullptr)
        ::GetScrollRange(hWnd, kind, &a, &b);
    if (pMin != nullptr)
        *pMin = a * GetScrollUnit(nBar);
    if (pMax != nullptr)
        *pMax = b * GetScrollUnit(nBar);
}

BOOL CGXGridEngine::LockScrollBars(BOOL bLock)
{
    const BOOL old = m_bLockScrollBars;
    m_bLockScrollBars = bLock;
    if (!bLock)
        RefreshScrollBars(TRUE, FALSE);
    return old;
}

void CGXGridEngine::RefreshScrollBars(BOOL bNoRedraw, BOOL bOnlyIfCountsChanged)
{
    if (!m_bInitDone || m_bRefreshingBars || m_bLockScrollBars || m_pParam == nullptr || m_pParam->m_bLockUpdate)
        return;
    if (m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr)
        return;
    HWND hWnd = m_pGridWnd->GetSafeHwnd();
    if (m_bPrinting) {
        ::ShowScrollBar(hWnd, SB_BOTH, FALSE);
        return;
    }
    CRect client;
    m_pGridWnd->GetClientRect(&client);
    if ((m_nVScrollMode == 0 && m_nHScrollMode == 0) || client.IsRectEmpty())
        return;
    const ROWCOL nRows = m_nVScrollMode ? GetRowCount() : 0, nCols = m_nHScrollMode ? GetColCount() : 0;
    if (bOnlyIfCountsChanged && nRows == m_nLastBarRows && nCols == m_nLastBarCols)
        return;
    m_bRefreshingBars = TRUE;
    const DWORD styleBefore = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
    for (int pass = 0; pass < 2; ++pass) {
        const BOOL bRows = pass == 0;
        const int nBar = bRows ? SB_VERT : SB_HORZ;
        const int mode = bRows ? m_nVScrollMode : m_nHScrollMode;
        const ROWCOL first = Frozen(*this, bRows) + 1;
        const ROWCOL largest = LargestFirst(*this, bRows, ScrollRoom(*this, bRows));
        ROWCOL& top = bRows ? m_nTopRow : m_nLeftCol;
        if ((mode & 8) && top > first && top > largest) {
            top = largest;
            if (bRows)
                m_nLastVisibleRow = GX_INVALID;
            else
                m_nLastVisibleCol = GX_INVALID;
            CRect g;
            GetGridRect(&g);
            m_pGridWnd->InvalidateRect(&g, FALSE);
        }
        const DWORD wsBar = bRows ? WS_VSCROLL : WS_HSCROLL;
        // Showing a bar that is shown already costs a frame recalculation.
        auto show = [&](BOOL bShow) {
            const BOOL bShown = (static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)) & wsBar) != 0;
            if (bShown != bShow)
                ::ShowScrollBar(hWnd, nBar, bShow);
        };
        switch (mode & 7) {
        case 0:
            show(FALSE);
            break;
        case 2:
            if (top == first && largest == first) {
                show(FALSE);
                break;
            }
            [[fallthrough]];
        case 1:
            SetGridScrollRange(nBar, static_cast<int>(first), static_cast<int>(largest), FALSE);
            SetGridScrollPos(nBar, static_cast<int>(top), FALSE);
            show(TRUE);
            break;
        default:
            SetGridScrollRange(nBar, static_cast<int>(first), static_cast<int>(largest), FALSE);
            break;
        }
    }
    const DWORD styleAfter = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
    if ((styleBefore ^ styleAfter) & (WS_VSCROLL | WS_HSCROLL)) {
        m_bScrollBarsChanged = TRUE;
        m_nLastVisibleRow = m_nLastVisibleCol = GX_INVALID;
        if (!bNoRedraw)
            m_pGridWnd->Invalidate(TRUE);
    }
    SetGridScrollPos(SB_VERT, static_cast<int>(m_nTopRow), TRUE);
    SetGridScrollPos(SB_HORZ, static_cast<int>(m_nLeftCol), TRUE);
    m_bRefreshingBars = FALSE;
    m_nLastBarRows = nRows;
    m_nLastBarCols = nCols;
}

void CGXGridEngine::ScrollGridWindow(int dx, int dy, LPCRECT pScrollRect, LPCRECT pClipRect)
{
    if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        ::ScrollWindowEx(m_pGridWnd->GetSafeHwnd(), dx, dy, pScrollRect, pClipRect, nullptr, nullptr,
                         SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

BOOL CGXGridEngine::DoScroll(int nDirection, ROWCOL nCount)
{
    const BOOL bRows = nDirection == 1 || nDirection == 3;
    const BOOL bBack = nDirection == 1 || nDirection == 2;
    if (m_pParam == nullptr || nCount == 0)
        return FALSE;
    const ROWCOL F = Frozen(*this, bRows), first = F + 1;
    ROWCOL& top = bRows ? m_nTopRow : m_nLeftCol;
    const ROWCOL T = top;
    CRect area;
    if (bRows)
        CalcRectBelowRow(area, F);
    else
        CalcRectRightOfCol(area, F);
    const int h = Length(area, bRows);
    ROWCOL newTop = T;
    int d = 0;
    int edge = End(area, bRows);   // the top of the partly shown last row, before the move
    if (bBack) {
        const ROWCOL target = T > nCount && T - nCount > first ? T - nCount : first;
        if (target >= T)
            return FALSE;
        ROWCOL n = T;
        while (d < h && n > first) {
            --n;
            d += Size(*this, bRows, n);
            if (n <= target && (n - 1 <= F || Size(*this, bRows, n - 1) > 0))
                break;
        }
        newTop = std::max(std::min(n, target), first);
        if (d < h)
            d = SumAbs(*this, bRows, newTop, T - 1);
    } else {
        const ROWCOL largest = LargestFirst(*this, bRows, h);
        const ROWCOL room = largest > T ? largest - T : 0;
        ROWCOL count = std::min(nCount, room);
        if (count == 0)
            return FALSE;
        // No hidden row becomes the first one shown.
        while (count < room && Size(*this, bRows, T + count) == 0)
            ++count;
        newTop = T + count;
        for (ROWCOL n = T; n < newTop && d < h; ++n)
            d += Size(*this, bRows, n);
        int e = 0;
        const CPoint ptBottom(area.right - 1, area.bottom - 1);
        if ((bRows ? CalcClientRowFromPt(ptBottom, &e) : CalcClientColFromPt(ptBottom, &e)) != GX_INVALID)
            edge = e;
    }
    if (bRows ? !CanChangeTopRow(newTop) : !CanChangeLeftCol(newTop))
        return FALSE;

    m_bKeepDrawingObjects = TRUE;
    // The cached styles of rows still on screen follow the scroll.
    if ((bRows ? m_nCacheRowOrigin : m_nCacheColOrigin) != 0) {
        const long shift = static_cast<long>(std::max<ROWCOL>(newTop, nCacheReserve + 1)) -
                           static_cast<long>(std::max<ROWCOL>(T, nCacheReserve + 1));
        (bRows ? m_nCacheShiftRows : m_nCacheShiftCols) += static_cast<int>(shift);
    }
    top = newTop;
    if (bRows)
        m_nLastVisibleRow = GX_INVALID;
    else
        m_nLastVisibleCol = GX_INVALID;

    ROWCOL r, c;
    if (GetCurrentCellPos(r, c) && m_pCurrentControl != nullptr && m_pCurrentControl->IsActive() &&
        !(bRows ? IsFrozenRow(r) : IsFrozenCol(c)))
        m_pCurrentControl->Hide();

    if (d >= h || h <= 0) {
        if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
            m_pGridWnd->InvalidateRect(&area, TRUE);
    } else if (bBack) {
        ScrollGridWindow(bRows ? 0 : d, bRows ? d : 0, &area, &area);
    } else {
        CRect moved(area);
        (bRows ? moved.bottom : moved.right) = edge;
        ScrollGridWindow(bRows ? 0 : -d, bRows ? -d : 0, &moved, &moved);
        CRect strip(area);
        (bRows ? strip.top : strip.left) = std::max(Start(area, bRows), edge - d);
        if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
            m_pGridWnd->InvalidateRect(&strip, TRUE);
    }

    const int nBar = bRows ? SB_VERT : SB_HORZ;
    SetGridScrollPos(nBar, static_cast<int>(newTop), TRUE);
    if (bBack && (GetScrollBarMode(nBar) & 2) && newTop == first)
        RefreshScrollBars(TRUE, FALSE);
    if (bRows)
        OnTopRowChanged();
    else
        OnLeftColChanged();
    if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->UpdateWindow();
    m_bKeepDrawingObjects = FALSE;
    return TRUE;
}

BOOL CGXGridEngine::ScrollCells(int nDirection, ROWCOL nCount)
{
    if (!DoScroll(nDirection, nCount))
        return FALSE;
    const BOOL bRows = nDirection == 1 || nDirection == 3;
    GXSendPaneHint(*this, bRows, bRows ? m_nTopRow : m_nLeftCol, GX_UPDATENOW);
    return TRUE;
}

BOOL CGXGridEngine::BringCellIntoView(ROWCOL nRow, ROWCOL nCol, UINT nFlags, BOOL)
{
    CGXRange covered;
    if (GetCoveredCellsRowCol(nRow, nCol, covered)) {
        if (covered.top > GetFrozenRows() && IsFrozenRow(nRow))
            nRow = GetFrozenRows() + 1;
        if (covered.left > GetFrozenCols() && IsFrozenCol(nCol))
            nCol = GetFrozenCols() + 1;
    }
    CRect g;
    GetGridRect(&g);
    BOOL bScrolled = FALSE;
    for (int pass = 0; pass < 2; ++pass) {
        const BOOL bRows = pass == 0;
        const ROWCOL n = bRows ? nRow : nCol;
        const ROWCOL F = Frozen(*this, bRows), T = First(*this, bRows);
        if (n <= F || n > Count(*this, bRows))
            continue;
        ROWCOL newTop = T;
        if (n < T) {
            newTop = n;
        } else if (n != T) {
            const ROWCOL client = ToClient(*this, bRows, n);
            const int end = Start(g, bRows) + SumClient(*this, bRows, 0, client);
            if (end <= End(g, bRows))
                continue;   // already fully shown
            if (m_bCurrentCellValid && m_pCurrentControl != nullptr && m_pCurrentControl->IsActive())
                m_pCurrentControl->OnGridScroll(bRows ? WM_VSCROLL : WM_HSCROLL);
            int sum = Size(*this, bRows, n) + SumAbs(*this, bRows, 0, F);
            ROWCOL r = n;
            while (r > F + 1) {
                const int s = Size(*this, bRows, r - 1);
                if (sum + s > Length(g, bRows))
                    break;
                sum += s;
                --r;
            }
            newTop = r;
        }
        if (newTop == T)
            continue;
        if (bRows)
            SetTopRow(newTop, nFlags);
        else
            SetLeftCol(newTop, nFlags);
        bScrolled = TRUE;
    }
    if (bScrolled && (nFlags & (GX_UPDATENOW | GX_SMART)) && m_pGridWnd != nullptr &&
        m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->UpdateWindow();
    return bScrolled;
}

void CGXGridEngine::AutoScrollLoop(UINT nEndMessage, BOOL bVert, BOOL bHorz)
{
    if (!m_bMouseTracking || m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr)
        return;
    HWND hWnd = m_pGridWnd->GetSafeHwnd();
    CRect inner;
    GetGridRect(&inner);
    inner.top += CalcSumOfRowHeights(0, GetFrozenRows());
    inner.left += CalcSumOfColWidths(0, GetFrozenCols());
    const DWORD dwStart = AfxGetTickCount();
    CPoint ptStart;
    ::GetCursorPos(&ptStart);
    ::ScreenToClient(hWnd, &ptStart);
    ::SetCapture(hWnd);
    for (;;) {
        if (!::IsWindow(hWnd) || ::GetCapture() != hWnd)
            break;
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            CPoint pt;
            ::GetCursorPos(&pt);
            ::ScreenToClient(hWnd, &pt);
            BOOL bScrolled = FALSE;
            const int vUnit = std::max(1, GetScaleHeight()), hUnit = std::max(1, GetScaleFactor());
            if (bVert && pt.y < inner.top)
                bScrolled = ScrollCells(1, static_cast<ROWCOL>((inner.top - pt.y) / vUnit + 1));
            else if (bVert && pt.y >= inner.bottom)
                bScrolled = ScrollCells(3, static_cast<ROWCOL>((pt.y - inner.bottom) / vUnit + 1));
            if (!bScrolled && bHorz) {
                if (pt.x < inner.left)
                    ScrollCells(2, static_cast<ROWCOL>((inner.left - pt.x) / (5 * hUnit) + 1));
                else if (pt.x >= inner.right)
                    ScrollCells(4, static_cast<ROWCOL>((pt.x - inner.right) / (5 * hUnit) + 1));
            }
            const BOOL bEarly = AfxGetTickCount() - dwStart < 750 &&
                                std::abs(pt.x - ptStart.x) + std::abs(pt.y - ptStart.y) < 6;
            if ((bScrolled || !bEarly) && ::IsWindow(hWnd))
                ::SendMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
            // One pass per period of the grid's drag timers.
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 25, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) {
            ::SendMessageA(hWnd, WM_CANCELMODE, 0, 0);
            break;
        }
        if (msg.message == WM_CANCELMODE || msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
            msg.message == WM_MBUTTONDOWN)
            break;
        if ((msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) || msg.message == WM_MOUSEMOVE)
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (msg.message == nEndMessage || msg.message == WM_CAPTURECHANGED)
            break;
    }
    if (::IsWindow(hWnd) && ::GetCapture() == hWnd)
        ::ReleaseCapture();
}
