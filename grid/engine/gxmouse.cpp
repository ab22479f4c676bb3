// Mouse handling: presses start selecting cells, resizing a row or column, or moving selected rows
// or columns by their header; moves and releases report to the click hooks, which make cells
// current and hand presses to their controls.
#include "afxseam.h"
#include "afxwin.h"
#include "gxaxis.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxutil.h"
#include "gxwnd.h"

using namespace gxaxis;

namespace {
enum { kLeft = 0, kMiddle = 1, kRight = 2 };

BOOL HasCapture(const CGXGridEngine& e)
{
    HWND h = e.GetGridHwnd();
    return h != nullptr && ::GetCapture() == h;
}

void CancelMode(const CGXGridEngine& e)
{
    if (HWND h = e.GetGridHwnd())
        ::SendMessageA(h, WM_CANCELMODE, 0, 0);
}

void UpdateGrid(const CGXGridEngine& e)
{
    if (HWND h = e.GetGridHwnd())
        ::UpdateWindow(h);
}

// The cell is current and its control holds it.
BOOL HoldsCell(CGXGridEngine& e, ROWCOL nRow, ROWCOL nCol)
{
    if (!e.IsCurrentCellAt(nRow, nCol))
        return FALSE;
    CGXControl* c = e.GetCurrentCellControl();
    return c != nullptr && c->IsInit();
}

void ReleaseGridCapture(const CGXGridEngine& e)
{
    if (HasCapture(e))
        ::ReleaseCapture();
}
} // namespace

void CGXGridEngine::CaptureMouse()
{
    if (HWND h = GetGridHwnd())
        ::SetCapture(h);
}

CPoint CGXGridEngine::ClampTrackPoint(CPoint pt)
{
    CRect g;
    GetGridRect(&g);
    pt.x = std::max(0L, std::min(static_cast<long>(pt.x), static_cast<long>(g.right - m_nPointMargin)));
    pt.y = std::max(0L, std::min(static_cast<long>(pt.y), static_cast<long>(g.bottom - m_nPointMargin)));
    return pt;
}

// The cell under a point: beyond the last row (column) the last one.
static void CellAtPoint(CGXGridEngine& e, CPoint pt, ROWCOL& nRow, ROWCOL& nCol)
{
    const ROWCOL cr = e.CalcClientRowFromPt(pt), cc = e.CalcClientColFromPt(pt);
    nRow = cr == GX_INVALID ? e.GetRowCount() : std::min(e.ClientRowToRow(cr), e.GetRowCount());
    nCol = cc == GX_INVALID ? e.GetColCount() : std::min(e.ClientColToCol(cc), e.GetColCount());
}

void CGXGridEngine::ClampCellToCounts(ROWCOL& nRow, ROWCOL& nCol, BOOL bInner)
{
    nRow = std::min(nRow, GetRowCount());
    nCol = std::min(nCol, GetColCount());
    if (!bInner)
        return;
    // Not into the headers: the first row (column) after them on screen.
    if (nRow <= GetHeaderRows())
        nRow = std::min(GetRowCount(), std::max(GetHeaderRows() + 1, ClientRowToRow(GetHeaderRows() + 1)));
    if (nCol <= GetHeaderCols())
        nCol = std::min(GetColCount(), std::max(GetHeaderCols() + 1, ClientColToCol(GetHeaderCols() + 1)));
}

namespace {
// The extent a selection drag from an anchor to a cell covers (0 stands for "whole", as in
// SetSelectionRange): whole rows from a row header, whole columns from a column header, else cells
// that never reach into the headers.
void DragExtent(CGXGridEngine& e, ROWCOL aRow, ROWCOL aCol, ROWCOL nRow, ROWCOL nCol, ROWCOL& t, ROWCOL& l,
                ROWCOL& b, ROWCOL& r)
{
    CGXGridParam* p = e.GetParam();
    const ROWCOL HR = e.GetHeaderRows(), HC = e.GetHeaderCols();
    const WORD lb = p->m_wOptionG & 3;
    if (aRow <= HR && aCol <= HC) {
        t = l = b = r = 0;
    } else if (lb == 1 || aCol <= HC) {
        t = std::max(aRow, HR + 1), b = std::max(nRow, HR + 1), l = r = 0;
        if (lb == 1)
            t = b;
    } else if (aRow <= HR) {
        l = std::max(aCol, HC + 1), r = std::max(nCol, HC + 1), t = b = 0;
    } else {
        t = std::max(aRow, HR + 1), l = std::max(aCol, HC + 1);
        b = std::max(nRow, HR + 1), r = std::max(nCol, HC + 1);
    }
    if (t > b)
        std::swap(t, b);
    if (l > r)
        std::swap(l, r);
}

CGXRange ExtentRange(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r)
{
    CGXRange range;
    if (t == 0 && l == 0)
        range.SetTable();
    else if (l == 0)
        range.SetRows(t, b);
    else if (t == 0)
        range.SetCols(l, r);
    else
        range.SetCells(t, l, b, r);
    return range;
}
} // namespace

void CGXGridEngine::StartMouseLoop(BOOL bRows, BOOL bCols)
{
    if (HasCapture(*this))
        return;
    if (!m_bUseScrollLoop) {
        CaptureMouse();
        return;
    }
    m_bMouseTracking = TRUE;
    AutoScrollLoop(WM_LBUTTONUP, bRows, bCols);
    m_bMouseTracking = FALSE;
    // The loop ended without the release (a second button, Escape, the capture taken away):
    // the mode ends too.
    if (m_bMovingRowCol)
        CancelRowColMoveDrag();
    else if (m_wTracking & 1)
        HandleCancelMode();
}

BOOL CGXGridEngine::HandleLButtonDown(UINT nFlags, CPoint pt)
{
    if (!m_bInitDone || m_pParam == nullptr || GetGridHwnd() == nullptr)
        return FALSE;
    m_nButtonFlags = nFlags;
    m_bGridActive = TRUE;
    if (HasCapture(*this) || (nFlags & (MK_RBUTTON | MK_MBUTTON))) {
        CancelMode(*this);
        return TRUE;
    }
    UpdateGrid(*this);
    ROWCOL row = 0, col = 0;
    int zone = HitTest(pt, &row, &col);
    if (zone == GX_HIT_SELEDGE) {
        CGXRange covered;
        if (GetCoveredCellsRowCol(row, col, covered))
            row = covered.top, col = covered.left;
        if (m_bDragEnabled && StartCellDrag(row, col, pt))
            return TRUE;
        zone = GX_HIT_CELL;
    }
    const ROWCOL HR = GetHeaderRows(), HC = GetHeaderCols();
    CGXRangeList& sel = m_pParam->m_selRanges;
    const WORD perm = m_pParam->m_wOptionA;
    const WORD lb = m_pParam->m_wOptionG & 3;
    if (zone == GX_HIT_CELL || zone == GX_HIT_HEADER) {
        row = std::min(row, GetRowCount());
        col = std::min(col, GetColCount());
        const BOOL bHolds = HoldsCell(*this, row, col);
        if (row == 0 && col == 0) {
            m_wTracking = 1 | (bHolds ? 0x100 : 0);
            m_nStartRow = m_nStartCol = 0;
            if ((perm & 0x04) && OnStartSelection(0, 0, nFlags, pt) && CanChangeSelection(nullptr, FALSE, FALSE)) {
                SetSelectionRange(nullptr, 0, 0, 0, 0);
                CGXRange table;
                table.SetTable();
                SelectRange(table, TRUE, TRUE);
            }
            m_nLastRow = m_nLastCol = 0;
            if (!OnCellLeftClick(0, 0, 0, 0, pt, nFlags, static_cast<WORD>(m_wTracking | 0x44))) {
                CancelMode(*this);
                return TRUE;
            }
            if ((m_wTracking & 1) && !HasCapture(*this))
                CaptureMouse();
            return TRUE;
        }
        const BOOL bRowHeader = col <= HC && row > HR;
        const BOOL bColHeader = row <= HR && col > HC;
        const BOOL bInner = row > HR && col > HC;
        BOOL bCtrl = (nFlags & MK_CONTROL) && (perm & 0x10);
        BOOL bShift = (nFlags & MK_SHIFT) && (perm & 0x20);
        if (lb == 2)
            bCtrl = (nFlags & MK_CONTROL) != 0, bShift = (nFlags & MK_SHIFT) != 0;
        else if (lb == 1)
            bCtrl = bShift = FALSE;

        // Pressed on the header of selected rows or columns: they are moved.
        if ((bColHeader || bRowHeader) && HeaderPressMoves(row, col, bRowHeader)) {
            m_bMovingRowCol = TRUE;
            if (StartRowColMoveDrag(bRowHeader ? row : 0, bRowHeader ? 0 : col)) {
                StartMouseLoop(bRowHeader && !IsFrozenRow(row), bColHeader && !IsFrozenCol(col));
                return TRUE;
            }
            m_bMovingRowCol = FALSE;
            m_nMoveMode = 0;
            CancelMode(*this);
        }

        m_nStartRow = row;
        m_nStartCol = col;
        m_wTracking = static_cast<WORD>(1 | (bHolds ? 0x100 : 0) | (bCtrl ? 0x80 : 0));
        if ((perm & 0xFF) != 0 && OnStartSelection(row, col, nFlags, pt)) {
            ROWCOL cr, cc;
            if (!bCtrl && !bShift) {
                if (CanChangeSelection(nullptr, FALSE, FALSE)) {
                    SetSelectionRange(nullptr, 0, 0, 0, 0);
                    OnChangedSelection(nullptr, FALSE, FALSE);
                }
            } else if (bCtrl && !bShift && sel.IsEmpty() && GetCurrentCellPos(cr, cc) && !(cr == row && cc == col) &&
                       lb == 0) {
                CGXRange cur(cr, cc);
                if (CanChangeSelection(&cur, FALSE, FALSE)) {
                    SelectRange(cur, TRUE, TRUE);
                    OnChangedSelection(&cur, FALSE, FALSE);
                }
            }
            if ((bRowHeader && (perm & 0x01)) || (bColHeader && (perm & 0x02)) || (bInner && (perm & 0x08))) {
                if (!bShift || sel.IsEmpty() || !AnchorIsValid()) {
                    if (bShift && GetCurrentCellPos(cr, cc)) {
                        m_nAnchorRow = cr;
                        m_nAnchorCol = cc;
                    } else {
                        m_nAnchorRow = row;
                        m_nAnchorCol = col;
                    }
                    m_posAnchor = sel.AddTail(new CGXRange(m_nAnchorRow, m_nAnchorCol));
                    // A cell range shows once the mouse moves; header presses and list boxes
                    // select whole rows or columns at once.
                    if (bShift || !bInner || lb != 0) {
                        ROWCOL t, l, b, r;
                        DragExtent(*this, m_nAnchorRow, m_nAnchorCol, row, col, t, l, b, r);
                        sel.GetRangeAt(m_posAnchor)->SetCells(0, 0, 0, 0);
                        sel.GetRangeAt(m_posAnchor)->valid = FALSE;
                        SetSelectionRange(m_posAnchor, t, l, b, r);
                        OnChangedSelection(sel.GetRangeAt(m_posAnchor), FALSE, FALSE);
                    }
                } else {
                    ROWCOL t, l, b, r;
                    DragExtent(*this, m_nAnchorRow, m_nAnchorCol, row, col, t, l, b, r);
                    CGXRange next = ExtentRange(t, l, b, r);
                    if (CanChangeSelection(&next, FALSE, FALSE)) {
                        SetSelectionRange(m_posAnchor, t, l, b, r);
                        OnChangedSelection(sel.GetRangeAt(m_posAnchor), FALSE, FALSE);
                    }
                }
                m_wTracking |= 0x02;
            }
        }
        m_nLastRow = row;
        m_nLastCol = col;
        if (!OnCellLeftClick(row, col, row, col, pt, nFlags, static_cast<WORD>(m_wTracking | 0x44))) {
            CancelMode(*this);
            return TRUE;
        }
        if (m_wTracking & 1)
            StartMouseLoop(row != 0 && !IsFrozenRow(row), col != 0 && !IsFrozenCol(col));
        return TRUE;
    }
    const BOOL bColEdge = zone == GX_HIT_COLEDGE && (m_pParam->m_wOptionD & 3);
    if (bColEdge || (zone == GX_HIT_ROWEDGE && (m_pParam->m_wOptionE & 3))) {
        if (StartTracking(row, col, bColEdge ? GX_TRACK_WIDTH : GX_TRACK_HEIGHT)) {
            // The edge follows the mouse by the distance moved, wherever in the zone it was pressed.
            m_ptTrackOffset = CPoint(m_rectTrackStart.left - pt.x, m_rectTrackStart.top - pt.y);
            if (!HasCapture(*this))
                CaptureMouse();
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CGXGridEngine::HandleOtherButtonDown(int nButton, UINT nFlags, CPoint pt)
{
    if (!m_bInitDone || m_pParam == nullptr || GetGridHwnd() == nullptr)
        return FALSE;
    m_nButtonFlags = nFlags;
    m_bGridActive = TRUE;
    const UINT others = nButton == kMiddle ? (MK_LBUTTON | MK_RBUTTON) : (MK_LBUTTON | MK_MBUTTON);
    if (HasCapture(*this) || (nFlags & others)) {
        CancelMode(*this);
        if (nButton == kMiddle)
            HandleCancelMode();
        return TRUE;
    }
    UpdateGrid(*this);
    ROWCOL row = 0, col = 0;
    const int zone = HitTest(pt, &row, &col);
    if (zone != GX_HIT_CELL && zone != GX_HIT_HEADER)
        return FALSE;
    row = std::min(row, GetRowCount());
    col = std::min(col, GetColCount());
    const BOOL bHolds = HoldsCell(*this, row, col);
    m_nStartRow = m_nLastRow = row;
    m_nStartCol = m_nLastCol = col;
    m_wTracking = static_cast<WORD>(1 | (bHolds ? 0x100 : 0) | ((nFlags & MK_CONTROL) ? 0x80 : 0));
    if (!CellClick(nButton, row, col, row, col, pt, nFlags, static_cast<WORD>(m_wTracking | 0x44))) {
        CancelMode(*this);
        return TRUE;
    }
    if ((m_wTracking & 1) && !HasCapture(*this))
        CaptureMouse();
    return TRUE;
}

BOOL CGXGridEngine::HandleMButtonDown(UINT nFlags, CPoint pt) { return HandleOtherButtonDown(kMiddle, nFlags, pt); }
BOOL CGXGridEngine::HandleRButtonDown(UINT nFlags, CPoint pt) { return HandleOtherButtonDown(kRight, nFlags, pt); }

BOOL CGXGridEngine::CellClick(int nButton, ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                              UINT nFlags, WORD nHitState)
{
    switch (nButton) {
    case kLeft: return OnCellLeftClick(nStartRow, nStartCol, nRow, nCol, pt, nFlags, nHitState);
    case kMiddle: return OnCellMiddleClick(nStartRow, nStartCol, nRow, nCol, pt, nFlags, nHitState);
    default: return OnCellRightClick(nStartRow, nStartCol, nRow, nCol, pt, nFlags, nHitState);
    }
}

BOOL CGXGridEngine::HandleMouseMove(UINT nFlags, CPoint pt)
{
    if (!m_bInitDone || m_pParam == nullptr || GetGridHwnd() == nullptr)
        return FALSE;
    pt = ClampTrackPoint(pt);
    if (m_bMovingRowCol) {
        const ROWCOL cr = CalcClientRowFromPt(pt), cc = CalcClientColFromPt(pt);
        ROWCOL r = cr == GX_INVALID ? GetRowCount() + 1 : std::max<ROWCOL>(1, ClientRowToRow(cr));
        ROWCOL c = cc == GX_INVALID ? GetColCount() + 1 : std::max<ROWCOL>(1, ClientColToCol(cc));
        if (m_nMoveMode == 2)
            c = 0;
        else
            r = 0;
        TrackRowColMoveDrag(m_rangeMove.top, m_rangeMove.left, r, c);
        return TRUE;
    }
    if (!(m_wTracking & 1)) {
        if (m_bTracking) {
            MoveTracking(m_nTrackRow, m_nTrackCol, nFlags, pt);
            return TRUE;
        }
        if (!m_bCursorOnly) {
            ROWCOL r, c;
            CellAtPoint(*this, pt, r, c);
            CGXRange covered;
            if (GetCoveredCellsRowCol(r, c, covered))
                r = covered.top, c = covered.left;
            CGXControl* pControl = GetCellControl(r, c);
            if (pControl != nullptr && pControl->OnMouseMoveOver(r, c, nFlags, pt))
                return TRUE;
        }
        UpdateCursor(pt);
        return TRUE;
    }
    if (!HasCapture(*this))
        return FALSE;
    ROWCOL r, c;
    CellAtPoint(*this, pt, r, c);
    ClampCellToCounts(r, c, TRUE);
    WORD ev = static_cast<WORD>(m_wTracking | 0x08);
    if (r == m_nStartRow && c == m_nStartCol)
        ev |= 0x40;
    else if (m_nLastRow == m_nStartRow && m_nLastCol == m_nStartCol)
        ev |= 0x20;
    const int nButton = (m_nButtonFlags & MK_LBUTTON) ? kLeft : (m_nButtonFlags & MK_MBUTTON) ? kMiddle : kRight;
    CellClick(nButton, m_nStartRow, m_nStartCol, r, c, pt, nFlags, ev);
    if (r == m_nLastRow && c == m_nLastCol)
        return TRUE;
    if ((m_wTracking & 2) && (m_pParam->m_wOptionA & 0xFF) && AnchorIsValid()) {
        ROWCOL t, l, b, rr;
        DragExtent(*this, m_nAnchorRow, m_nAnchorCol, r, c, t, l, b, rr);
        CGXRange next = ExtentRange(t, l, b, rr);
        if (CanChangeSelection(&next, TRUE, FALSE)) {
            SetSelectionRange(m_posAnchor, t, l, b, rr);
            OnChangedSelection(m_pParam->m_selRanges.GetRangeAt(m_posAnchor), TRUE, FALSE);
        }
    }
    m_nLastRow = r;
    m_nLastCol = c;
    return TRUE;
}

BOOL CGXGridEngine::HandleButtonUp(int nButton, UINT nFlags, CPoint pt)
{
    if (!HasCapture(*this) || m_pParam == nullptr)
        return FALSE;
    pt = ClampTrackPoint(pt);
    if (nButton == kLeft && m_bMovingRowCol) {
        ReleaseGridCapture(*this);
        const ROWCOL cr = CalcClientRowFromPt(pt), cc = CalcClientColFromPt(pt);
        ROWCOL r = cr == GX_INVALID ? GetRowCount() + 1 : ClientRowToRow(cr);
        ROWCOL c = cc == GX_INVALID ? GetColCount() + 1 : ClientColToCol(cc);
        if (m_nMoveMode == 2)
            c = 0;
        else
            r = 0;
        m_bMovingRowCol = FALSE;
        EndRowColMoveDrag(m_rangeMove.top, m_rangeMove.left, r, c);
        return TRUE;
    }
    if (nButton == kLeft && m_bTracking && !(m_wTracking & 1)) {
        EndTracking(m_nTrackRow, m_nTrackCol, nFlags, pt);
        ReleaseGridCapture(*this);
        return TRUE;
    }
    if (!(m_wTracking & 1)) {
        ReleaseGridCapture(*this);
        return FALSE;
    }
    // Cleared first: releasing the capture may end a scroll loop that looks at them.
    const WORD tracking = m_wTracking;
    m_wTracking = 0;
    ReleaseGridCapture(*this);
    const WORD lb = m_pParam->m_wOptionG & 3;
    WORD state = tracking;
    if (nButton == kLeft && (state & 2) && AnchorIsValid()) {
        CGXRangeList& sel = m_pParam->m_selRanges;
        if (m_nLastRow == m_nAnchorRow && m_nLastCol == m_nAnchorCol && m_nAnchorRow != 0 && m_nAnchorCol != 0 &&
            lb == 0) {
            // A click without a drag leaves no range of its own behind (a Ctrl click one cell).
            if (!(state & 0x80)) {
                if (!m_pParam->m_bSelectionFollowsCell)
                    SetSelectionRange(nullptr, 0, 0, 0, 0);
                state &= ~0x02;
            } else {
                CGXRange one(m_nAnchorRow, m_nAnchorCol);
                if (CanChangeSelection(&one, FALSE, FALSE)) {
                    SetSelectionRange(m_posAnchor, m_nAnchorRow, m_nAnchorCol, m_nAnchorRow, m_nAnchorCol);
                    OnChangedSelection(sel.GetRangeAt(m_posAnchor), FALSE, FALSE);
                }
            }
        } else {
            OnChangedSelection(sel.GetRangeAt(m_posAnchor), FALSE, FALSE);
        }
    }
    ROWCOL r, c;
    CellAtPoint(*this, pt, r, c);
    WORD ev = static_cast<WORD>(state | 0x10);
    if (r == m_nStartRow && c == m_nStartCol)
        ev |= 0x40;
    else if (m_nLastRow == m_nStartRow && m_nLastCol == m_nStartCol)
        ev |= 0x20;
    CellClick(nButton, m_nStartRow, m_nStartCol, r, c, pt, nFlags, ev);
    return TRUE;
}

BOOL CGXGridEngine::HandleLButtonUp(UINT nFlags, CPoint pt) { return HandleButtonUp(kLeft, nFlags, pt); }
BOOL CGXGridEngine::HandleMButtonUp(UINT nFlags, CPoint pt) { return HandleButtonUp(kMiddle, nFlags, pt); }
BOOL CGXGridEngine::HandleRButtonUp(UINT nFlags, CPoint pt) { return HandleButtonUp(kRight, nFlags, pt); }

BOOL CGXGridEngine::HandleLButtonDblClk(UINT nFlags, CPoint pt)
{
    if (!m_bInitDone || m_pParam == nullptr || GetGridHwnd() == nullptr)
        return FALSE;
    if (HasCapture(*this) || (nFlags & (MK_RBUTTON | MK_MBUTTON))) {
        CancelMode(*this);
        return TRUE;
    }
    UpdateGrid(*this);
    ROWCOL row = 0, col = 0;
    const int zone = HitTest(pt, &row, &col);
    if (zone == GX_HIT_COLEDGE || zone == GX_HIT_ROWEDGE) {
        const BOOL bRows = zone == GX_HIT_ROWEDGE;
        const WORD opt = bRows ? m_pParam->m_wOptionE : m_pParam->m_wOptionD;
        const ROWCOL n = bRows ? row : col;
        if (!(opt & 3) || !(bRows ? CanChangeRowHeight(n, 0) : CanChangeColWidth(n, 0)))
            return TRUE;
        if (n != 0 && (opt & 1))
            return TRUE;
        auto hidden = [&](ROWCOL k) { return bRows ? IsRowHidden(k) : IsColHidden(k); };
        auto resizable = [&](ROWCOL k) { return bRows ? CanChangeRowHeight(k, 0) : CanChangeColWidth(k, 0); };
        const ROWCOL nCount = bRows ? GetRowCount() : GetColCount();
        if (!hidden(n) && !(n + 1 <= nCount && hidden(n + 1))) {
            CDWordArray starts, ends;
            CGXRangeList& sel = m_pParam->m_selRanges;
            BOOL bSelected = FALSE, bTable = FALSE;
            if (bRows ? sel.GetRowSpans(nCount, starts, ends) : sel.GetColSpans(nCount, starts, ends))
                for (INT_PTR i = 0; i < starts.GetSize(); ++i)
                    bSelected |= starts[i] <= n && n <= ends[i];
            for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;)
                bTable |= sel.GetRangeAt(pos)->IsTable(), sel.GetNext(pos);
            if (n == 0 || !bSelected) {
                bRows ? SetRowHeight(n, n, -1) : SetColWidth(n, n, -1);
            } else if (!bTable) {
                for (INT_PTR i = starts.GetSize() - 1; i >= 0; --i) {
                    const ROWCOL a = std::max<ROWCOL>(1, starts[i]), b = ends[i];
                    if (hidden(a))
                        bRows ? HideRows(a, b, FALSE) : HideCols(a, b, FALSE);
                    else
                        bRows ? SetRowHeight(a, b, -1) : SetColWidth(a, b, -1);
                }
            }
        } else {
            // The whole run of hidden rows (columns) around the edge comes back.
            ROWCOL a = n, b = n + 1;
            while (a > 1 && hidden(a - 1) && resizable(a - 1))
                --a;
            if (!hidden(a))
                a = std::min(a + 1, b);
            while (b + 1 <= nCount && hidden(b + 1) && resizable(b + 1))
                ++b;
            if (!hidden(b))
                b = std::max(a, b - 1);
            bRows ? HideRows(a, b, FALSE) : HideCols(a, b, FALSE);
        }
        return TRUE;
    }
    if (zone == GX_HIT_CELL || zone == GX_HIT_HEADER) {
        row = std::min(row, GetRowCount());
        col = std::min(col, GetColCount());
        CGXRange covered;
        if (GetCoveredCellsRowCol(row, col, covered))
            row = covered.top, col = covered.left;
        if (!(HoldsCell(*this, row, col)))
            PlaceCurrentCell(row, col, 0x0a);
        BOOL bHandled;
        if (HoldsCell(*this, row, col))
            bHandled = GetCurrentCellControl()->OnLButtonDblClk(nFlags, pt);
        else
            bHandled = OnLButtonDblClkRowCol(row, col, nFlags, pt);
        if (!bHandled)
            return HandleLButtonDown(nFlags, pt);
        return TRUE;
    }
    return FALSE;
}

BOOL CGXGridEngine::HandleOtherDblClk(int nButton, UINT nFlags, CPoint pt)
{
    if (!m_bInitDone || m_pParam == nullptr || GetGridHwnd() == nullptr)
        return FALSE;
    ROWCOL row = 0, col = 0;
    const int zone = HitTest(pt, &row, &col);
    if (zone != GX_HIT_CELL && zone != GX_HIT_HEADER)
        return FALSE;
    row = std::min(row, GetRowCount());
    col = std::min(col, GetColCount());
    PlaceCurrentCell(row, col, 0x0a);
    BOOL bHandled;
    if (CGXControl* c = HoldsCell(*this, row, col) ? GetCurrentCellControl() : nullptr)
        bHandled = nButton == kMiddle ? c->OnMButtonDblClk(nFlags, pt) : c->OnRButtonDblClk(nFlags, pt);
    else
        bHandled = nButton == kMiddle ? OnMButtonDblClkRowCol(row, col, nFlags, pt)
                                      : OnRButtonDblClkRowCol(row, col, nFlags, pt);
    if (!bHandled)
        return HandleOtherButtonDown(nButton, nFlags, pt);
    return TRUE;
}

BOOL CGXGridEngine::HandleMButtonDblClk(UINT nFlags, CPoint pt) { return HandleOtherDblClk(kMiddle, nFlags, pt); }
BOOL CGXGridEngine::HandleRButtonDblClk(UINT nFlags, CPoint pt) { return HandleOtherDblClk(kRight, nFlags, pt); }

BOOL CGXGridEngine::OnMButtonDblClkRowCol(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }
BOOL CGXGridEngine::OnRButtonDblClkRowCol(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }
BOOL CGXGridEngine::OnMButtonClickedRowCol(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }
BOOL CGXGridEngine::OnRButtonClickedRowCol(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }
BOOL CGXGridEngine::OnMouseMoveOver(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }

BOOL CGXGridEngine::OnSelectHeaderWithCtrl(ROWCOL nRow, ROWCOL nCol, UINT, CPoint)
{
    if (m_pParam == nullptr || (::GetKeyState(VK_CONTROL) & 0x8000) == 0)
        return FALSE;
    CGXRangeList& sel = m_pParam->m_selRanges;
    const BOOL bOther = sel.AnyRangeContains(nRow, nCol, AnchorIsValid() ? m_posAnchor : nullptr);
    if (!bOther)
        return FALSE;
    CGXRange range;
    if (nCol <= GetHeaderCols() && nRow > GetHeaderRows())
        range.SetRows(nRow, nRow);
    else if (nRow <= GetHeaderRows() && nCol > GetHeaderCols())
        range.SetCols(nCol, nCol);
    else
        return FALSE;
    m_posAnchor = nullptr;
    SelectRange(range, TRUE, TRUE);
    return TRUE;
}

namespace {
BOOL ClickHook(CGXGridEngine& e, int nButton, ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol,
               CPoint pt, UINT nFlags, WORD ev, BOOL& bMoved)
{
    CGXGridParam* p = e.GetParam();
    if (p == nullptr)
        return FALSE;
    CGXRange covered;
    if (e.GetCoveredCellsRowCol(nStartRow, nStartCol, covered))
        nStartRow = covered.top, nStartCol = covered.left;
    auto holds = [&]() { return HoldsCell(e, nStartRow, nStartCol); };
    if (ev & 0x04) {
        const BOOL bFollow = nButton == kLeft && p->m_bSelectionFollowsCell;
        if (!(ev & 0x100) || bFollow) {
            e.m_bWarningShown = FALSE;
            e.PlaceCurrentCell(nStartRow, nStartCol, nButton == kLeft && (ev & 0x80) ? 0x84 : 0x04);
            if (e.m_bWarningShown)
                return FALSE;
        }
        if (holds()) {
            CGXControl* c = e.GetCurrentCellControl();
            nButton == kLeft ? c->OnLButtonDown(nFlags, pt)
                             : nButton == kMiddle ? c->OnMButtonDown(nFlags, pt) : c->OnRButtonDown(nFlags, pt);
        }
        bMoved = FALSE;
        return TRUE;
    }
    if (ev & 0x08) {
        if (holds())
            e.GetCurrentCellControl()->OnMouseMove(nFlags, pt);
        if (nRow != nStartRow || nCol != nStartCol)
            bMoved = TRUE;
        return TRUE;
    }
    if (ev & 0x10) {
        if (holds()) {
            CGXControl* c = e.GetCurrentCellControl();
            nButton == kLeft ? c->OnLButtonUp(nFlags, pt)
                             : nButton == kMiddle ? c->OnMButtonUp(nFlags, pt) : c->OnRButtonUp(nFlags, pt);
        } else {
            nButton == kLeft ? e.OnSelectHeaderWithCtrl(nStartRow, nStartCol, nFlags, pt)
                             : nButton == kMiddle ? e.OnMButtonClickedRowCol(nStartRow, nStartCol, nFlags, pt)
                                                  : e.OnRButtonClickedRowCol(nStartRow, nStartCol, nFlags, pt);
        }
        if (!bMoved) {
            if (e.BringCellIntoView(nStartRow, nStartCol, GX_UPDATENOW, FALSE) && holds())
                e.GetCurrentCellControl()->Invalidate();
            return TRUE;
        }
        if (p->m_wOptionG & 3)
            return e.PlaceCurrentCell(nRow, nCol, 0x04);
        return TRUE;
    }
    return TRUE;
}
} // namespace

BOOL CGXGridEngine::OnCellLeftClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                                    UINT nFlags, WORD nHitState)
{
    return ClickHook(*this, kLeft, nStartRow, nStartCol, nRow, nCol, pt, nFlags, nHitState, m_bMovedSincePress);
}

BOOL CGXGridEngine::OnCellMiddleClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                                      UINT nFlags, WORD nHitState)
{
    return ClickHook(*this, kMiddle, nStartRow, nStartCol, nRow, nCol, pt, nFlags, nHitState, m_bMovedSincePress);
}

BOOL CGXGridEngine::OnCellRightClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt,
                                     UINT nFlags, WORD nHitState)
{
    return ClickHook(*this, kRight, nStartRow, nStartCol, nRow, nCol, pt, nFlags, nHitState, m_bMovedSincePress);
}

BOOL CGXGridEngine::HandleCancelMode()
{
    // Ends what the mouse runs: a resize, else the selection drag, else a header drag. A button of
    // the current cell lets go.
    if (CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr)
        pControl->CancelChildPresses();
    if (m_bTracking) {
        CancelTracking();
    } else if (m_wTracking & 1) {
        m_wTracking = 0;
        SetSelectionRange(nullptr, 0, 0, 0, 0);
    } else if (m_bMovingRowCol) {
        CancelRowColMoveDrag();
    }
    m_bMouseTracking = FALSE;
    if (m_nOverrideCursor != 0)
        SetOverrideCursor(0);
    ReleaseGridCapture(*this);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Scrolling while something is dragged over the grid.

BOOL CGXGridEngine::IsPointOutsideMainWindow(CPoint ptScreen)
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || pMain->GetSafeHwnd() == nullptr)
        return FALSE;
    CRect r;
    pMain->GetWindowRect(&r);
    return !r.PtInRect(ptScreen);
}

BOOL CGXGridEngine::AutoScrollStep(CPoint ptScreen)
{
    HWND h = GetGridHwnd();
    CPoint pt = ptScreen;
    if (h != nullptr)
        ::ScreenToClient(h, &pt);
    CRect outer;
    GetGridRect(&outer);
    CRect inner(outer);
    inner.DeflateRect(m_nAutoScrollBorder, m_nAutoScrollBorder);
    const BOOL bInOuter = outer.PtInRect(pt);
    int dirH = 0, dirV = 0;
    if ((bInOuter && !inner.PtInRect(pt)) || (!bInOuter && (m_dwDragFlags & 0x40))) {
        dirH = pt.x < inner.left ? 2 : pt.x >= inner.right ? 4 : 0;
        dirV = pt.y < inner.top ? 1 : pt.y >= inner.bottom ? 3 : 0;
    }
    const BOOL bDirection = dirH != 0 || dirV != 0;
    ROWCOL nRows = 1, nCols = 1;
    if (!bInOuter) {
        const int H = std::max(1, GetScaleHeight()) + 1;
        const int dy = dirV == 1 ? inner.top - pt.y : dirV == 3 ? pt.y - inner.bottom : 0;
        const int dx = dirH == 2 ? inner.left - pt.x : dirH == 4 ? pt.x - inner.right : 0;
        nRows = std::max<ROWCOL>(1, static_cast<ROWCOL>(std::max(0, dy) / H) * std::max(1, m_nAutoScrollRowFactor));
        nCols = std::max<ROWCOL>(1, static_cast<ROWCOL>(std::max(0, dx) / H) * std::max(1, m_nAutoScrollColFactor));
    }
    if (bDirection) {
        const DWORD now = AfxGetTickCount();
        if (dirH != m_nAutoDirH || dirV != m_nAutoDirV || bInOuter != m_bAutoInside) {
            m_dwAutoDelay = bInOuter ? m_nAutoScrollFirstDelay : m_nAutoScrollOutsideDelay;
            m_dwAutoLast = now;
        } else if (now - m_dwAutoLast > m_dwAutoDelay) {
            m_dwAutoLast = now;
            m_dwAutoDelay = m_nAutoScrollRepeatDelay;
            if (dirH != 0) {
                ScrollCells(dirH, nCols);
                UpdateGrid(*this);
            }
            if (dirV != 0) {
                ScrollCells(dirV, nRows);
                UpdateGrid(*this);
            }
        }
    }
    m_nAutoDirH = dirH;
    m_nAutoDirV = dirV;
    m_bAutoInside = bInOuter;
    return bDirection;
}

BOOL CGXGridEngine::HandleTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != 23998 && nIDEvent != 23999)
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    if (nIDEvent == 23998 || (m_bGridActive && !IsPointOutsideMainWindow(pt))) {
        AutoScrollStep(pt);
    } else {
        m_nAutoDirH = m_nAutoDirV = 0;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Moving selected rows or columns by dragging their header.

BOOL CGXGridEngine::CanStartRowMoveDrag(ROWCOL, ROWCOL) { return (::GetKeyState(VK_CONTROL) & 0x8000) == 0; }
BOOL CGXGridEngine::CanStartColMoveDrag(ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridEngine::CanMoveRowsTo(ROWCOL, ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridEngine::CanMoveColsTo(ROWCOL, ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridEngine::CanDropRowsAt(ROWCOL, ROWCOL, ROWCOL) { return TRUE; }
BOOL CGXGridEngine::CanDropColsAt(ROWCOL, ROWCOL, ROWCOL) { return TRUE; }

ROWCOL CGXGridEngine::DropDestination(ROWCOL nFrom, ROWCOL nTo, ROWCOL nTarget)
{
    // Released inside the block or just below it (the line above the target is in it): no move.
    if (nTarget == 0 || (nTarget >= nFrom && nTarget <= nTo + 1))
        return GX_INVALID;
    return nTarget > nFrom ? nTarget - (nTo - nFrom + 1) : nTarget;
}

void CGXGridEngine::DestroyMarker()
{
    if (m_pMarkerWnd != nullptr) {
        if (m_pMarkerWnd->GetSafeHwnd() != nullptr)
            m_pMarkerWnd->DestroyWindow();
        delete m_pMarkerWnd;
        m_pMarkerWnd = nullptr;
    }
}

BOOL CGXGridEngine::StartRowColMoveDrag(ROWCOL nRow, ROWCOL nCol)
{
    if (m_pParam == nullptr)
        return FALSE;
    m_nMoveLastRow = std::max<ROWCOL>(nRow, 1);
    m_nMoveLastCol = std::max<ROWCOL>(nCol, 1);
    if (nRow == 0 && nCol == 0)
        return FALSE;
    CGXRangeList& sel = m_pParam->m_selRanges;
    POSITION pos = sel.FindRange(nRow == 0 ? GetHeaderRows() + 1 : nRow, nCol == 0 ? GetHeaderCols() + 1 : nCol);
    if (pos == nullptr)
        return FALSE;
    CGXRange range = *sel.GetRangeAt(pos);
    range.ExpandToCells(1, 1, GetRowCount(), GetColCount());
    BOOL bAllowed;
    if (nRow == 0) {
        m_nMoveMode = 1;
        bAllowed = CanStartColMoveDrag(range.left, range.right);
    } else {
        m_nMoveMode = 2;
        bAllowed = CanStartRowMoveDrag(range.top, range.bottom);
    }
    if (!bAllowed)
        return FALSE;
    m_rangeMove = range;
    SetOverrideCursor(GX_IDC_SELDRAG);
    m_bMovingRowCol = TRUE;
    return TRUE;
}

void CGXGridEngine::TrackRowColMoveDrag(ROWCOL, ROWCOL, ROWCOL nRow, ROWCOL nCol)
{
    if (m_pParam == nullptr)
        return;
    nRow = std::max<ROWCOL>(nRow, 1);
    nCol = std::max<ROWCOL>(nCol, 1);
    const BOOL bRows = m_nMoveMode == 2;
    if (bRows ? nRow == m_nMoveLastRow : nCol == m_nMoveLastCol)
        return;
    if (m_pMarkerWnd != nullptr && m_pMarkerWnd->GetSafeHwnd() != nullptr)
        m_pMarkerWnd->ShowWindow(SW_HIDE);
    m_nMoveLastRow = nRow;
    m_nMoveLastCol = nCol;
    if (!(bRows ? CanMoveRowsTo(m_rangeMove.top, m_rangeMove.bottom, nRow)
                : CanMoveColsTo(m_rangeMove.left, m_rangeMove.right, nCol))) {
        SetOverrideCursor(GX_IDC_NODROP);
        return;
    }
    SetOverrideCursor(GX_IDC_SELDRAG);
    UpdateGrid(*this);
    CWnd* pGrid = m_pGridWnd;
    if (pGrid == nullptr || pGrid->GetSafeHwnd() == nullptr)
        return;
    if (m_pMarkerWnd == nullptr) {
        auto* pLine = new GXFrameLineWnd(this);
        if (m_pParam->GetProperties() != nullptr && m_pParam->GetProperties()->GetColorCount() > 3)
            pLine->m_logPen.lopnColor = m_pParam->GetProperties()->GetColor(3);
        if (!pLine->Create(pGrid)) {
            delete pLine;
            return;
        }
        m_pMarkerWnd = pLine;
    }
    CRect g;
    GetGridRect(&g);
    CRect line;
    if (bRows) {
        const ROWCOL cr = RowToClientRow(nRow);
        const int y = nRow > GetRowCount() ? g.top + SumClient(*this, TRUE, 0, ToClient(*this, TRUE, GetRowCount()), g.Height())
                                           : g.top + (cr == 0 ? 0 : SumClient(*this, TRUE, 0, cr - 1, g.Height()));
        const int w = std::min(g.Width(), SumClient(*this, FALSE, 0, ToClient(*this, FALSE, GetColCount()), g.Width()));
        line.SetRect(g.left, y, g.left + w, y + 1);
    } else {
        const ROWCOL cc = ColToClientCol(nCol);
        const int x = nCol > GetColCount() ? g.left + SumClient(*this, FALSE, 0, ToClient(*this, FALSE, GetColCount()), g.Width())
                                           : g.left + (cc == 0 ? 0 : SumClient(*this, FALSE, 0, cc - 1, g.Width()));
        const int h = std::min(g.Height(), SumClient(*this, TRUE, 0, ToClient(*this, TRUE, GetRowCount()), g.Height()));
        line.SetRect(x, g.top, x + 1, g.top + h);
    }
    m_pMarkerWnd->MoveWindow(&line, FALSE);
    m_pMarkerWnd->ShowWindow(SW_SHOWNA);
    m_pMarkerWnd->UpdateWindow();
}

BOOL CGXGridEngine::EndRowColMoveDrag(ROWCOL, ROWCOL, ROWCOL nRow, ROWCOL nCol)
{
    m_bMovingRowCol = FALSE;
    SetOverrideCursor(0);
    const BOOL bRows = m_nMoveMode == 2;
    DestroyMarker();
    if (bRows ? nRow == 0 : nCol == 0)
        return FALSE;
    nRow = std::max<ROWCOL>(nRow, 1);
    nCol = std::max<ROWCOL>(nCol, 1);
    const ROWCOL a = bRows ? m_rangeMove.top : m_rangeMove.left;
    const ROWCOL b = bRows ? m_rangeMove.bottom : m_rangeMove.right;
    const ROWCOL target = bRows ? nRow : nCol;
    if (bRows ? !(CanMoveRowsTo(a, b, target) && CanDropRowsAt(a, b, target))
              : !(CanMoveColsTo(a, b, target) && CanDropColsAt(a, b, target)))
        return FALSE;
    m_nMoveLastRow = nRow;
    m_nMoveLastCol = nCol;
    const ROWCOL dest = DropDestination(a, b, target);
    if (dest == GX_INVALID)
        return FALSE;
    return bRows ? MoveRows(a, b, dest, GX_UPDATENOW, gxDo) : MoveCols(a, b, dest, GX_UPDATENOW, gxDo);
}

void CGXGridEngine::CancelRowColMoveDrag()
{
    m_bMovingRowCol = FALSE;
    DestroyMarker();
    SetOverrideCursor(0);
    m_wTracking = 0;
    m_bMouseTracking = FALSE;
}
