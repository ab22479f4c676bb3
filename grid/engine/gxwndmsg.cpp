// Window messages besides keys, mouse buttons and focus: size and show, mouse activation, the
// splitter's shared scroll bars and record navigation.
#include "afxwin.h"
#include "afxsplit.h"
#include "afxview.h"
#include "gxaxis.h"
#include "gxinit.h"

using namespace gxaxis;

namespace {
// Where the last column (row) that shows whole within nLength pixels ends.
int EndOfWholeLines(CGXGridEngine& e, BOOL bRows, int nStart, int nLength)
{
    const ROWCOL nCount = Count(e, bRows);
    const ROWCOL nLast = ToClient(e, bRows, nCount);
    int pos = nStart;
    for (ROWCOL i = 0; i <= nLast && nLast != GX_INVALID; ++i) {
        const int size = bRows ? e.GetRowHeight(e.ClientRowToRow(i)) : e.GetColWidth(e.ClientColToCol(i));
        if (pos + size > nStart + nLength)
            break;
        pos += size;
    }
    return pos;
}
} // namespace

BOOL CGXGridEngine::HandleSize(UINT nType, int cx, int cy)
{
    m_nLastVisibleRow = m_nLastVisibleCol = GX_INVALID;
    HWND hWnd = GetGridHwnd();
    CWnd* pFrame = hWnd != nullptr ? m_pGridWnd->GetParentFrame() : nullptr;
    const BOOL bMax = pFrame != nullptr && pFrame->IsZoomed();
    if (nType != SIZE_RESTORED) {
        m_bParentMaximized = bMax;
        return FALSE;
    }
    if (hWnd == nullptr)
        return FALSE;
    if (m_bSizeLock) {
        if (bMax == m_bParentMaximized)
            ::ValidateRect(hWnd, nullptr);
        return TRUE;
    }
    CRect rectWindow;
    ::GetWindowRect(hWnd, &rectWindow);
    // Growing in place redraws only what the window gained: the strip beyond the last whole
    // column (row) at the old size.
    if (m_pParam != nullptr && m_pParam->m_bSmartResize && !m_bNoSmartResize && pFrame != nullptr && m_nLastCx > 0 &&
        m_nLastCy > 0 && rectWindow.TopLeft() == m_rectLastWindow.TopLeft() && !m_bRefreshingBars) {
        if (bMax == m_bParentMaximized) {
            ::ValidateRect(hWnd, nullptr);
            CRect g;
            GetGridRect(&g);
            if (cx > m_nLastCx) {
                CRect strip(EndOfWholeLines(*this, FALSE, g.left, m_nLastCx - g.left), 0, cx, cy);
                ::InvalidateRect(hWnd, &strip, TRUE);
                ::UpdateWindow(hWnd);
            }
            if (cy > m_nLastCy) {
                CRect strip(0, EndOfWholeLines(*this, TRUE, g.top, m_nLastCy - g.top), cx, cy);
                ::InvalidateRect(hWnd, &strip, TRUE);
                ::UpdateWindow(hWnd);
            }
        } else {
            ::InvalidateRect(hWnd, nullptr, TRUE);
            ::UpdateWindow(hWnd);
        }
    } else if (!m_bRefreshingBars) {
        // Moved, or no earlier size to compare with: everything is drawn again.
        ::InvalidateRect(hWnd, nullptr, TRUE);
    }
    if (m_bInitDone && !m_bRefreshingBars) {
        UpdateFontMetrics();
        ::UpdateWindow(hWnd);
        RefreshScrollBars();
    }
    const BOOL bVisible = ::IsWindowVisible(hWnd);
    m_nLastCx = bVisible ? cx : 0;
    m_nLastCy = bVisible ? cy : 0;
    m_rectLastWindow = rectWindow;
    m_bParentMaximized = bMax;
    return TRUE;
}

BOOL CGXGridEngine::HandleShowWindow(BOOL bShow, UINT)
{
    if (!bShow) {
        m_nLastVisibleRow = m_nLastVisibleCol = GX_INVALID;
        m_nLastCx = m_nLastCy = 0;
    }
    return TRUE;
}

BOOL CGXGridEngine::HandleMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message, int* pResult)
{
    HWND hWnd = GetGridHwnd();
    if (m_pParam != nullptr && m_pParam->m_bViewFocusOnClick && hWnd != nullptr &&
        dynamic_cast<CView*>(m_pGridWnd) != nullptr && nHitTest == HTCLIENT && m_hLastFocusWnd != nullptr &&
        m_hLastFocusWnd != hWnd) {
        HWND hFocus = ::GetFocus();
        const CFrameWnd* pFocusFrame = nullptr;
        if (CWnd* pFocus = hFocus != nullptr ? CWnd::FromHandlePermanent(hFocus) : nullptr)
            pFocusFrame = pFocus->GetParentFrame();
        if (!::IsChild(hWnd, m_hLastFocusWnd) || hFocus == nullptr || pFocusFrame != m_pGridWnd->GetParentFrame()) {
            ::SetFocus(hWnd);
            m_hLastFocusWnd = hWnd;
            if (pResult != nullptr)
                *pResult = MA_ACTIVATEANDEAT;
            return TRUE;
        }
    }
    ROWCOL r, c;
    CGXControl* pControl = GetCurrentCellPos(r, c) ? GetCellControl(r, c) : nullptr;
    int result = 0;
    if (pControl != nullptr && pControl->OnMouseActivate(pDesktopWnd, nHitTest, message, result)) {
        if (pResult != nullptr)
            *pResult = result;
        return TRUE;
    }
    return FALSE;
}

CScrollBar* CGXGridEngine::GetScrollBarCtrl(int nBar) const
{
    // A grid without a bar of its own in a parent that shares its bars uses the parent's; in a
    // splitter the bar of its own pane (0xEA00 + pane column, 0xEA10 + pane row).
    if (m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr)
        return nullptr;
    const DWORD style = m_pGridWnd->GetStyle();
    if ((nBar == SB_HORZ && (style & WS_HSCROLL)) || (nBar == SB_VERT && (style & WS_VSCROLL)))
        return nullptr;
    auto* self = const_cast<CGXGridEngine*>(this);
    if (!GXIsInScrollParent(self))
        return nullptr;
    int nPaneRow = 0, nPaneCol = 0;
    self->GetSplitter(&nPaneRow, &nPaneCol);
    CWnd* pParent = m_pGridWnd->GetParent();
    const int nID = nBar == SB_HORZ ? 0xEA00 + nPaneCol : 0xEA10 + nPaneRow;
    CWnd* pBar = pParent != nullptr ? pParent->GetDlgItem(nID) : nullptr;
    return dynamic_cast<CScrollBar*>(pBar);
}

BOOL CGXGridEngine::HandleRecordNavigate(WPARAM wParam, LPARAM lParam)
{
    if (m_pParam == nullptr)
        return FALSE;
    switch (wParam) {
    case 0: return MoveCurrentCell(7, 1, TRUE);
    case 1: return MoveCurrentCell(1, 1, TRUE);
    case 2: return MoveCurrentCell(3, 1, TRUE);
    case 3: return MoveCurrentCell(8, 1, TRUE);
    case 4: {
        const ROWCOL nRows = GetRowCount(), H = GetHeaderRows();
        if (nRows <= H)
            return FALSE;
        // A typed 0, a negative or an overflowing record number lands on the nearest record,
        // never on a header row.
        const long long typed = static_cast<long long>(static_cast<int>(lParam));
        const ROWCOL nRecords = nRows - H;
        const ROWCOL n = typed < 1 ? 1 : typed > static_cast<long long>(nRecords) ? nRecords : static_cast<ROWCOL>(typed);
        OnAccessRowCol(H + n, 0);
        const BOOL bPlaced = PlaceCurrentCell(std::min(H + n, GetRowCount()),
                                              std::min(GetHeaderCols() + 1, GetColCount()), 0x0a);
        if (HWND h = GetGridHwnd())
            ::SetFocus(h);
        return bPlaced;
    }
    default: return FALSE;
    }
}

BOOL CGXGridEngine::HandleSettingChange(LPCSTR lpszSection)
{
    GXGetSysData()->Update();
    ForEachControl([&](CGXControl* c) { c->OnGridWinIniChange(lpszSection); });
    if (HWND h = GetGridHwnd())
        ::InvalidateRect(h, nullptr, TRUE);
    return FALSE;
}
