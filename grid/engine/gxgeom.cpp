// Row and column counts, frozen rows and columns, client and absolute
// coordinates, row heights and column widths, hidden rows and columns and the
// geometry that turns row and column numbers into pixels and back.
#include "afxwin.h"
#include "afxsplit.h"
#include "afxview.h"
#include "gxaxis.h"
#include "gxhint.h"
#include "gxresrc.h"
#include "gxundo.h"
#include "gxutil.h"
#include <vector>

using namespace gxaxis;

int GXSizeQuotient(int nFactor, BOOL bRows)
{
    if (nFactor <= 0)
        nFactor = bRows ? 15 : 10;
    return std::max(1, 1000 / nFactor);
}

BOOL CGXGridEngine::IsWindowShown()
{
    return m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr && m_pGridWnd->IsWindowVisible();
}

CSplitterWnd* CGXGridEngine::GetSplitter(int* pRow, int* pCol)
{
    if (m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr)
        return nullptr;
    CSplitterWnd* pSplitter = CView::GetParentSplitter(m_pGridWnd, TRUE);
    if (pSplitter == nullptr || !pSplitter->IsChildPane(m_pGridWnd, pRow, pCol))
        return nullptr;
    return pSplitter;
}

// ---------------------------------------------------------------------------
// Counts

BOOL CGXGridEngine::SetRowCount(ROWCOL nRows, UINT nFlags)
{
    const ROWCOL nOld = GetRowCount();
    if (nRows == nOld)
        return TRUE;
    if (nRows < nOld)
        return RemoveRows(nRows + 1, nOld, nFlags, gxDo);
    return InsertRows(nOld + 1, nRows - nOld, nullptr, nullptr, nullptr, 0, nFlags, gxDo);
}

BOOL CGXGridEngine::SetColCount(ROWCOL nCols, UINT nFlags)
{
    const ROWCOL nOld = GetColCount();
    if (nCols == nOld)
        return TRUE;
    if (nCols < nOld)
        return RemoveCols(nCols + 1, nOld, nFlags, gxDo);
    return InsertCols(nOld + 1, nCols - nOld, nullptr, nullptr, nullptr, 0, nFlags, gxDo);
}

BOOL CGXGridEngine::StoreRowCount(ROWCOL nRows)
{
    if (m_pParam == nullptr || m_pParam->GetData() == nullptr)
        return FALSE;
    if (m_pParam->m_bLockStructureReadOnly && IsReadOnly())
        return FALSE;
    if (!m_pParam->GetData()->StoreRowCount(nRows))
        return FALSE;
    FreeStyleCache();
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CGXGridEngine::StoreColCount(ROWCOL nCols)
{
    if (m_pParam == nullptr || m_pParam->GetData() == nullptr)
        return FALSE;
    if (m_pParam->m_bLockStructureReadOnly && IsReadOnly())
        return FALSE;
    if (!m_pParam->GetData()->StoreColCount(nCols))
        return FALSE;
    FreeStyleCache();
    SetModifiedFlag(TRUE);
    return TRUE;
}

namespace {
void RefreshAfterCount(CGXGridEngine& e, BOOL bRows, ROWCOL n, UINT nFlags)
{
    nFlags &= 7;
    const ROWCOL nCount = Count(e, bRows);
    ROWCOL r, c;
    if (e.GetCurrentCellPos(r, c) && (bRows ? r : c) > nCount)
        e.m_bCurrentCellValid = FALSE;
    if (bRows)
        e.UpdateRecordWindow();
    CGXGridParam* pParam = e.GetParam();
    if (pParam == nullptr || pParam->m_bLockUpdate)
        return;
    n = std::min(n, nCount);
    if (nFlags != 0)
        e.RefreshScrollBars(FALSE, FALSE);
    if (nFlags == 0 || !e.IsInitDone() || e.GridWnd() == nullptr || e.GridWnd()->GetSafeHwnd() == nullptr)
        return;
    const ROWCOL nLast = bRows ? e.GetLastVisibleRow() : e.GetLastVisibleCol();
    if (n > nLast)
        return;
    CRect rect;
    e.GetGridRect(&rect);
    if (bRows)
        e.CalcRectBelowRow(rect, n);
    else
        e.CalcRectRightOfCol(rect, n);
    e.InvalidateGrid(rect, nFlags);
}
} // namespace

void CGXGridEngine::RefreshAfterRowCountChange(ROWCOL nRow, UINT nFlags, BOOL bCreateHint)
{
    RefreshAfterCount(*this, TRUE, nRow, nFlags);
    if (bCreateHint) {
        CGXGridHint hint(3, m_nHintTag);
        hint.nRow1 = nRow;
        hint.flags = nFlags;
        SendHint(hint);
    }
}

void CGXGridEngine::RefreshAfterColCountChange(ROWCOL nCol, UINT nFlags, BOOL bCreateHint)
{
    RefreshAfterCount(*this, FALSE, nCol, nFlags);
    if (bCreateHint) {
        CGXGridHint hint(4, m_nHintTag);
        hint.nCol1 = nCol;
        hint.flags = nFlags;
        SendHint(hint);
    }
}

// ---------------------------------------------------------------------------
// Frozen rows and columns

BOOL CGXGridEngine::SetFrozenRows(ROWCOL nFrozen, ROWCOL nHeader, UINT nFlags, int nCommand)
{
    if (m_pParam == nullptr)
        return FALSE;
    const ROWCOL nOld = m_pParam->m_nFrozenRows, nOldHeader = m_pParam->m_nFrozenRowsExtra;
    if (!StoreFrozenRows(nFrozen, nHeader))
        return FALSE;
    UpdateFrozenRows(nOld, nOldHeader, nFlags, TRUE);
    if (IsRecording(nCommand))
        PushCommand(new CGXSetFrozenRowsCmd(nOld, nOldHeader), nCommand);
    return TRUE;
}

BOOL CGXGridEngine::SetFrozenCols(ROWCOL nFrozen, ROWCOL nHeader, UINT nFlags, int nCommand)
{
    if (m_pParam == nullptr)
        return FALSE;
    const ROWCOL nOld = m_pParam->m_nFrozenCols, nOldHeader = m_pParam->m_nFrozenColsExtra;
    if (!StoreFrozenCols(nFrozen, nHeader))
        return FALSE;
    UpdateFrozenCols(nOld, nOldHeader, nFlags, TRUE);
    if (IsRecording(nCommand))
        PushCommand(new CGXSetFrozenColsCmd(nOld, nOldHeader), nCommand);
    return TRUE;
}

BOOL CGXGridEngine::StoreFrozenRows(ROWCOL nFrozen, ROWCOL nHeader)
{
    if (m_pParam == nullptr || (m_pParam->m_bLockStructureReadOnly && IsReadOnly()))
        return FALSE;
    m_pParam->m_nFrozenRows = nFrozen;
    m_pParam->m_nFrozenRowsExtra = nHeader;
    FreeStyleCache();
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CGXGridEngine::StoreFrozenCols(ROWCOL nFrozen, ROWCOL nHeader)
{
    if (m_pParam == nullptr || (m_pParam->m_bLockStructureReadOnly && IsReadOnly()))
        return FALSE;
    m_pParam->m_nFrozenCols = nFrozen;
    m_pParam->m_nFrozenColsExtra = nHeader;
    FreeStyleCache();
    SetModifiedFlag(TRUE);
    return TRUE;
}

void CGXGridEngine::UpdateFrozenRows(ROWCOL nOldFrozen, ROWCOL nOldHeader, UINT nFlags, BOOL bCreateHint)
{
    m_nTopRow = std::max(m_nTopRow, GetFrozenRows() + 1);
    // Header rows are no records: the beam counts again whatever the flags.
    UpdateRecordWindow();
    if (m_bCurrentCellValid && m_pCurrentControl != nullptr && m_pCurrentControl->IsActive())
        m_pCurrentControl->Hide();
    if (m_pParam != nullptr && !m_pParam->m_bLockUpdate)
        Redraw(nFlags, FALSE);
    if (bCreateHint) {
        CGXGridHint hint(15, m_nHintTag);
        hint.nRow1 = nOldFrozen;
        hint.nRow2 = nOldHeader;
        hint.flags = nFlags;
        SendHint(hint);
    }
}

void CGXGridEngine::UpdateFrozenCols(ROWCOL nOldFrozen, ROWCOL nOldHeader, UINT nFlags, BOOL bCreateHint)
{
    m_nLeftCol = std::max(m_nLeftCol, GetFrozenCols() + 1);
    if (m_bCurrentCellValid && m_pCurrentControl != nullptr && m_pCurrentControl->IsActive())
        m_pCurrentControl->Hide();
    if (m_pParam != nullptr && !m_pParam->m_bLockUpdate)
        Redraw(nFlags, FALSE);
    if (bCreateHint) {
        CGXGridHint hint(16, m_nHintTag);
        hint.nCol1 = nOldFrozen;
        hint.nCol2 = nOldHeader;
        hint.flags = nFlags;
        SendHint(hint);
    }
}

// ---------------------------------------------------------------------------
// Client and absolute coordinates. Client index 0 is row 0, 1..F the frozen
// rows, F + 1 on the top row and those after it.

namespace {
ROWCOL Distance(ROWCOL nTop, ROWCOL nFrozen) { return nTop > nFrozen ? nTop - nFrozen : 1; }

ROWCOL ToClientIndex(ROWCOL r, ROWCOL F, ROWCOL T)
{
    if (r == GX_INVALID || r <= F)
        return r;
    if (r < T)
        return 0;
    return r - Distance(T, F) + 1;
}

ROWCOL FromClientIndex(ROWCOL c, ROWCOL F, ROWCOL T)
{
    if (c == GX_INVALID || c <= F)
        return c;
    return c + Distance(T, F) - 1;
}
} // namespace

ROWCOL CGXGridEngine::RowToClientRow(ROWCOL nRow) { return ToClientIndex(nRow, GetFrozenRows(), GetTopRow()); }
ROWCOL CGXGridEngine::ColToClientCol(ROWCOL nCol) { return ToClientIndex(nCol, GetFrozenCols(), GetLeftCol()); }
ROWCOL CGXGridEngine::ClientRowToRow(ROWCOL nClient) { return FromClientIndex(nClient, GetFrozenRows(), GetTopRow()); }
ROWCOL CGXGridEngine::ClientColToCol(ROWCOL nClient) { return FromClientIndex(nClient, GetFrozenCols(), GetLeftCol()); }

BOOL CGXGridEngine::CanChangeTopRow(ROWCOL) { return TRUE; }
BOOL CGXGridEngine::CanChangeLeftCol(ROWCOL) { return TRUE; }
void CGXGridEngine::OnTopRowChanged() {}
void CGXGridEngine::OnLeftColChanged() {}

// Tells the pane beside this one in its splitter to follow (hints 25, 26).
void GXSendPaneHint(CGXGridEngine& e, BOOL bRows, ROWCOL n, UINT nFlags)
{
    int nRow = 0, nCol = 0;
    CSplitterWnd* pSplitter = e.GetSplitter(&nRow, &nCol);
    if (pSplitter == nullptr)
        return;
    CWnd* pOther = nullptr;
    if (bRows && pSplitter->GetColumnCount() > 1)
        pOther = pSplitter->GetPane(nRow, nCol == 0 ? 1 : 0);
    else if (!bRows && pSplitter->GetRowCount() > 1)
        pOther = pSplitter->GetPane(nRow == 0 ? 1 : 0, nCol);
    if (pOther == nullptr)
        return;
    CGXGridHint hint(bRows ? 25 : 26, e.m_nHintTag);
    (bRows ? hint.nRow1 : hint.nCol1) = n;
    hint.flags = nFlags;
    hint.pObject1 = e.GridWnd();
    hint.pObject2 = pOther;
    e.SendHint(hint);
}

void CGXGridEngine::SetTopRow(ROWCOL nRow, UINT nFlags, BOOL bCreateHint)
{
    nRow = std::min(nRow, GetRowCount());
    if (nRow == 0)
        nRow = 1;
    m_nLastVisibleRow = GX_INVALID;
    const ROWCOL F = GetFrozenRows();
    if (m_bPrinting) {
        m_nPrintTopRow = nRow;
    } else if (m_pParam != nullptr && m_pParam->m_bLockUpdate) {
        nRow = std::max(nRow, F + 1);
        if (!CanChangeTopRow(nRow))
            return;
        m_nTopRow = nRow;
        OnTopRowChanged();
    } else {
        nRow = std::max(nRow, F + 1);
        nFlags &= 7;
        if (nFlags & (GX_UPDATENOW | GX_SMART)) {
            if (nRow < m_nTopRow)
                DoScroll(1, m_nTopRow - nRow);
            else if (nRow > m_nTopRow)
                DoScroll(3, nRow - m_nTopRow);
            if ((nFlags & GX_UPDATENOW) && m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
                m_pGridWnd->UpdateWindow();
        } else {
            if (!CanChangeTopRow(nRow))
                return;
            m_nTopRow = nRow;
            if (nFlags & GX_INVALIDATE) {
                RefreshScrollBars(FALSE, FALSE);
                if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr) {
                    CRect r;
                    GetGridRect(&r);
                    m_pGridWnd->InvalidateRect(&r, FALSE);
                }
            }
            OnTopRowChanged();
        }
    }
    if (bCreateHint)
        GXSendPaneHint(*this, TRUE, nRow, nFlags);
}

void CGXGridEngine::SetLeftCol(ROWCOL nCol, UINT nFlags, BOOL bCreateHint)
{
    nCol = std::min(nCol, GetColCount());
    if (nCol == 0)
        nCol = 1;
    m_nLastVisibleCol = GX_INVALID;
    const ROWCOL F = GetFrozenCols();
    if (m_bPrinting) {
        m_nPrintLeftCol = nCol;
    } else if (m_pParam != nullptr && m_pParam->m_bLockUpdate) {
        nCol = std::max(nCol, F + 1);
        if (!CanChangeLeftCol(nCol))
            return;
        m_nLeftCol = nCol;
        OnLeftColChanged();
    } else {
        nCol = std::max(nCol, F + 1);
        nFlags &= 7;
        if (nFlags & (GX_UPDATENOW | GX_SMART)) {
            if (nCol < m_nLeftCol)
                DoScroll(2, m_nLeftCol - nCol);
            else if (nCol > m_nLeftCol)
                DoScroll(4, nCol - m_nLeftCol);
            if ((nFlags & GX_UPDATENOW) && m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
                m_pGridWnd->UpdateWindow();
        } else {
            if (!CanChangeLeftCol(nCol))
                return;
            m_nLeftCol = nCol;
            if (nFlags & GX_INVALIDATE) {
                if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr) {
                    CRect r;
                    GetGridRect(&r);
                    m_pGridWnd->InvalidateRect(&r, FALSE);
                }
                RefreshScrollBars(FALSE, FALSE);
            }
            OnLeftColChanged();
        }
    }
    if (bCreateHint)
        GXSendPaneHint(*this, FALSE, nCol, nFlags);
}

// ---------------------------------------------------------------------------
// Sizes

BOOL CGXGridEngine::IsRowHidden(ROWCOL nRow)
{
    if (m_bHideHeaders && !m_bPrinting && !m_bShowRowHeadersAnyway && nRow <= GetHeaderRows())
        return TRUE;
    if (nRow == 0 && m_bPrinting && m_pParam != nullptr && m_pParam->GetProperties() != nullptr &&
        !m_pParam->GetProperties()->GetPrintColHeaders())
        return TRUE;
    if (m_pParam == nullptr || nRow >= static_cast<ROWCOL>(m_pParam->m_hiddenRows.GetSize()))
        return FALSE;
    return m_pParam->m_hiddenRows[nRow] != 0;
}

BOOL CGXGridEngine::IsColHidden(ROWCOL nCol)
{
    if (m_bHideHeaders && !m_bPrinting && !m_bShowColHeadersAnyway && nCol <= GetHeaderCols())
        return TRUE;
    if (nCol == 0 && m_bPrinting && m_pParam != nullptr && m_pParam->GetProperties() != nullptr &&
        !m_pParam->GetProperties()->GetPrintRowHeaders())
        return TRUE;
    if (m_pParam == nullptr || nCol >= static_cast<ROWCOL>(m_pParam->m_hiddenCols.GetSize()))
        return FALSE;
    return m_pParam->m_hiddenCols[nCol] != 0;
}

int CGXGridEngine::GetDefaultRowHeight()
{
    return m_pParam != nullptr ? GXStoredToPixels(m_pParam->m_nDefaultRowHeight, GetScaleHeight(), TRUE) : 0;
}

int CGXGridEngine::GetDefaultColWidth()
{
    return m_pParam != nullptr ? GXStoredToPixels(m_pParam->m_nDefaultColWidth, GetScaleFactor(), FALSE) : 0;
}

int CGXGridEngine::GetRowHeight(ROWCOL nRow)
{
    if (m_pParam == nullptr || IsRowHidden(nRow))
        return 0;
    LONG v = 0;
    int h = m_pParam->m_rowHeights.Lookup(nRow, v) ? GXStoredToPixels(v, GetScaleHeight(), TRUE)
                                                   : GetDefaultRowHeight();
    const ROWCOL F = GetFrozenRows();
    if (m_bLimitSizeToWindow && nRow > F && IsWindowShown()) {
        CRect r;
        GetGridRect(&r);
        const int room = std::max(0, r.Height() - CalcSumOfRowHeights(0, F));
        h = std::min(h, room);
    }
    return h;
}

int CGXGridEngine::GetColWidth(ROWCOL nCol)
{
    if (m_pParam == nullptr || IsColHidden(nCol))
        return 0;
    LONG v = 0;
    int w = m_pParam->m_colWidths.Lookup(nCol, v) ? GXStoredToPixels(v, GetScaleFactor(), FALSE)
                                                  : GetDefaultColWidth();
    const ROWCOL F = GetFrozenCols();
    if (m_bLimitSizeToWindow && nCol > F && IsWindowShown()) {
        CRect r;
        GetGridRect(&r);
        const int room = std::max(0, r.Width() - CalcSumOfColWidths(0, F));
        w = std::min(w, room);
    }
    return w;
}

BOOL CGXGridEngine::StoreHideRow(ROWCOL nRow, BOOL bHide)
{
    // No array grows to a row that does not exist.
    if (m_pParam == nullptr || nRow > GetRowCount())
        return FALSE;
    CByteArray& a = m_pParam->m_hiddenRows;
    if (nRow >= static_cast<ROWCOL>(a.GetSize())) {
        if (!bHide)
            return TRUE;
        a.SetSize(static_cast<INT_PTR>(nRow) + 1);
    }
    a[nRow] = bHide ? 1 : 0;
    return TRUE;
}

BOOL CGXGridEngine::StoreHideCol(ROWCOL nCol, BOOL bHide)
{
    if (m_pParam == nullptr || nCol > GetColCount())
        return FALSE;
    CByteArray& a = m_pParam->m_hiddenCols;
    if (nCol >= static_cast<ROWCOL>(a.GetSize())) {
        if (!bHide)
            return TRUE;
        a.SetSize(static_cast<INT_PTR>(nCol) + 1);
    }
    a[nCol] = bHide ? 1 : 0;
    return TRUE;
}

BOOL CGXGridEngine::StoreDefaultRowHeight(int nHeight)
{
    if (m_pParam == nullptr || nHeight < 1)
        return FALSE;
    m_pParam->m_nDefaultRowHeight = GXPixelsToStored(nHeight, GetScaleHeight(), TRUE);
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CGXGridEngine::StoreDefaultColWidth(int nWidth)
{
    if (m_pParam == nullptr || nWidth < 1)
        return FALSE;
    m_pParam->m_nDefaultColWidth = GXPixelsToStored(nWidth, GetScaleFactor(), FALSE);
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CGXGridEngine::StoreRowHeight(ROWCOL nRow, int nHeight)
{
    if (m_pParam == nullptr)
        return FALSE;
    if (nHeight >= 0)
        m_pParam->m_rowHeights.SetAt(nRow, GXPixelsToStored(nHeight, GetScaleHeight(), TRUE));
    else
        m_pParam->m_rowHeights.RemoveKey(nRow);
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CGXGridEngine::StoreColWidth(ROWCOL nCol, int nWidth)
{
    if (m_pParam == nullptr)
        return FALSE;
    if (nWidth >= 0)
        m_pParam->m_colWidths.SetAt(nCol, GXPixelsToStored(nWidth, GetScaleFactor(), FALSE));
    else
        m_pParam->m_colWidths.RemoveKey(nCol);
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CGXGridEngine::CanChangeRowHeight(ROWCOL, int) { return TRUE; }
BOOL CGXGridEngine::CanChangeColWidth(ROWCOL, int) { return TRUE; }

namespace {
// The setters of sizes and hidden states: the old sizes are read, each row
// (column) is stored, and the screen is brought up to date once.
template <class Store>
BOOL ChangeSizes(CGXGridEngine& e, BOOL bRows, ROWCOL nFrom, ROWCOL nTo, UINT nFlags, Store store)
{
    if (nTo == 0)
        nTo = nFrom;
    if (nTo < nFrom)
        return FALSE;
    CGXLongOperation theOp;
    CArray<int, int> old;
    if (bRows)
        e.GetRowHeights(nFrom, nTo, old);
    else
        e.GetColWidths(nFrom, nTo, old);
    BOOL bChanged = FALSE;
    for (ROWCOL n = nFrom;; ++n) {
        bChanged |= store(n, n - nFrom);
        theOp.NeedMessages();
        if (n == nTo)
            break;
    }
    if (!bChanged)
        return FALSE;
    if (bRows)
        e.UpdateChangedRowHeights(nFrom, nTo, old.GetData(), nFlags, TRUE);
    else
        e.UpdateChangedColWidths(nFrom, nTo, old.GetData(), nFlags, TRUE);
    return TRUE;
}
} // namespace

namespace {
// The sizes rows (columns) nFrom..nTo store, in pixels, -1 where one has no size of its own;
// hidden rows keep their size, so that undo gives back exactly what was there.
int* SavedSizes(CGXGridEngine& e, BOOL bRows, ROWCOL nFrom, ROWCOL nTo)
{
    CGXGridParam* p = e.GetParam();
    const ROWCOL n = nTo - nFrom + 1;
    int* a = new int[n];
    for (ROWCOL i = 0; i < n; ++i) {
        LONG v = 0;
        a[i] = (bRows ? p->m_rowHeights : p->m_colWidths).Lookup(nFrom + i, v)
                   ? GXStoredToPixels(v, bRows ? e.GetScaleHeight() : e.GetScaleFactor(), bRows)
                   : -1;
    }
    return a;
}

BOOL* SavedHides(CGXGridEngine& e, BOOL bRows, ROWCOL nFrom, ROWCOL nTo)
{
    CGXGridParam* p = e.GetParam();
    const CByteArray& h = bRows ? p->m_hiddenRows : p->m_hiddenCols;
    const ROWCOL n = nTo - nFrom + 1;
    BOOL* a = new BOOL[n];
    for (ROWCOL i = 0; i < n; ++i)
        a[i] = nFrom + i < static_cast<ROWCOL>(h.GetSize()) && h[static_cast<INT_PTR>(nFrom + i)] != 0;
    return a;
}
} // namespace

BOOL CGXGridEngine::SetRowHeight(ROWCOL nFrom, ROWCOL nTo, int nHeight, const int* pHeights, UINT nFlags, int nCommand)
{
    if (nTo == 0)
        nTo = nFrom;
    if (nTo < nFrom || m_pParam == nullptr)
        return FALSE;
    int* pOld = IsRecording(nCommand) ? SavedSizes(*this, TRUE, nFrom, nTo) : nullptr;
    const BOOL bDone = ChangeSizes(*this, TRUE, nFrom, nTo, nFlags, [&](ROWCOL n, ROWCOL i) {
        return StoreRowHeight(n, pHeights != nullptr ? pHeights[i] : nHeight);
    });
    if (bDone && pOld != nullptr)
        PushCommand(new CGXSetRowHeightCmd(nFrom, nTo, pOld), nCommand);
    else
        delete[] pOld;
    return bDone;
}

BOOL CGXGridEngine::SetColWidth(ROWCOL nFrom, ROWCOL nTo, int nWidth, const int* pWidths, UINT nFlags, int nCommand)
{
    if (nTo == 0)
        nTo = nFrom;
    if (nTo < nFrom || m_pParam == nullptr)
        return FALSE;
    int* pOld = IsRecording(nCommand) ? SavedSizes(*this, FALSE, nFrom, nTo) : nullptr;
    const BOOL bDone = ChangeSizes(*this, FALSE, nFrom, nTo, nFlags, [&](ROWCOL n, ROWCOL i) {
        return StoreColWidth(n, pWidths != nullptr ? pWidths[i] : nWidth);
    });
    if (bDone && pOld != nullptr)
        PushCommand(new CGXSetColWidthCmd(nFrom, nTo, pOld), nCommand);
    else
        delete[] pOld;
    return bDone;
}

BOOL CGXGridEngine::HideRows(ROWCOL nFrom, ROWCOL nTo, BOOL bHide, const BOOL* pHides, UINT nFlags, int nCommand)
{
    if (nTo == 0)
        nTo = nFrom;
    if (nTo < nFrom || m_pParam == nullptr)
        return FALSE;
    BOOL* pOld = IsRecording(nCommand) ? SavedHides(*this, TRUE, nFrom, nTo) : nullptr;
    const BOOL bDone = ChangeSizes(*this, TRUE, nFrom, nTo, nFlags, [&](ROWCOL n, ROWCOL i) {
        return StoreHideRow(n, pHides != nullptr ? pHides[i] : bHide);
    });
    if (bDone && pOld != nullptr)
        PushCommand(new CGXHideRowsCmd(nFrom, nTo, pOld), nCommand);
    else
        delete[] pOld;
    return bDone;
}

BOOL CGXGridEngine::HideCols(ROWCOL nFrom, ROWCOL nTo, BOOL bHide, const BOOL* pHides, UINT nFlags, int nCommand)
{
    if (nTo == 0)
        nTo = nFrom;
    if (nTo < nFrom || m_pParam == nullptr)
        return FALSE;
    BOOL* pOld = IsRecording(nCommand) ? SavedHides(*this, FALSE, nFrom, nTo) : nullptr;
    const BOOL bDone = ChangeSizes(*this, FALSE, nFrom, nTo, nFlags, [&](ROWCOL n, ROWCOL i) {
        return StoreHideCol(n, pHides != nullptr ? pHides[i] : bHide);
    });
    if (bDone && pOld != nullptr)
        PushCommand(new CGXHideColsCmd(nFrom, nTo, pOld), nCommand);
    else
        delete[] pOld;
    return bDone;
}

BOOL CGXGridEngine::SetDefaultRowHeight(int nHeight, UINT nFlags, int nCommand)
{
    const int nOld = GetDefaultRowHeight();
    if (!StoreDefaultRowHeight(nHeight))
        return FALSE;
    UpdateChangedRowHeights(1, std::max<ROWCOL>(1, GetRowCount()), nullptr, nFlags, TRUE);
    if (IsRecording(nCommand))
        PushCommand(new CGXSetDefaultRowHeightCmd(nOld), nCommand);
    return TRUE;
}

BOOL CGXGridEngine::SetDefaultColWidth(int nWidth, UINT nFlags, int nCommand)
{
    const int nOld = GetDefaultColWidth();
    if (!StoreDefaultColWidth(nWidth))
        return FALSE;
    UpdateChangedColWidths(1, std::max<ROWCOL>(1, GetColCount()), nullptr, nFlags, TRUE);
    if (IsRecording(nCommand))
        PushCommand(new CGXSetDefaultColWidthCmd(nOld), nCommand);
    return TRUE;
}

namespace {
// The screen after a size change: everything from the first changed row
// (column) on is repainted.
void UpdateChangedSizes(CGXGridEngine& e, BOOL bRows, ROWCOL nFrom, ROWCOL nTo, UINT nFlags)
{
    nFlags &= 7;
    if (nTo == 0)
        nTo = nFrom;
    ROWCOL r, c;
    if (e.GetCurrentCellPos(r, c) && e.m_pCurrentControl != nullptr) {
        const ROWCOL n = bRows ? r : c;
        if (n >= nFrom && n <= nTo && e.m_pCurrentControl->IsActive())
            e.m_pCurrentControl->Hide();
    }
    CWnd* pWnd = e.GridWnd();
    if (nFlags == 0 || pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
        return;
    const ROWCOL F = Frozen(e, bRows), T = First(e, bRows);
    if (nFrom > F && nTo < T)
        return;   // only rows scrolled away above the top row changed
    const ROWCOL nLast = bRows ? e.GetLastVisibleRow() : e.GetLastVisibleCol();
    if (nFrom > nLast)
        return;
    CRect rect;
    e.GetGridRect(&rect);
    ROWCOL nClient = ToClient(e, bRows, nFrom);
    if (nFrom > F && nFrom < T)
        nClient = F + 1;
    const int nStart = Start(rect, bRows) + (nClient == 0 ? 0 : SumClient(e, bRows, 0, nClient - 1, Length(rect, bRows)));
    (bRows ? rect.top : rect.left) = std::min(nStart, End(rect, bRows));
    pWnd->InvalidateRect(&rect, TRUE);
    if (nFlags & GX_UPDATENOW) {
        pWnd->UpdateWindow();
        e.RefreshScrollBars(FALSE, FALSE);
    }
}
} // namespace

void CGXGridEngine::UpdateChangedRowHeights(ROWCOL nFrom, ROWCOL nTo, const int* pOld, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleRow = GX_INVALID;
    FreeStyleCache();
    if (m_pParam != nullptr && !m_pParam->m_bLockUpdate)
        UpdateChangedSizes(*this, TRUE, nFrom, nTo, nFlags);
    if (bCreateHint) {
        CGXGridHint hint(5, m_nHintTag);
        hint.nRow1 = nFrom;
        hint.nRow2 = nTo;
        hint.pObject1 = const_cast<int*>(pOld);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

void CGXGridEngine::UpdateChangedColWidths(ROWCOL nFrom, ROWCOL nTo, const int* pOld, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleCol = GX_INVALID;
    FreeStyleCache();
    // Float spans across these columns depend on their widths.
    DelaySpanRecalcA(CGXRange().SetCols(nFrom, nTo));
    if (m_pParam != nullptr && !m_pParam->m_bLockUpdate)
        UpdateChangedSizes(*this, FALSE, nFrom, nTo, nFlags);
    if (bCreateHint) {
        CGXGridHint hint(6, m_nHintTag);
        hint.nCol1 = nFrom;
        hint.nCol2 = nTo;
        hint.pObject1 = const_cast<int*>(pOld);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

// ---------------------------------------------------------------------------
// Geometry

void CGXGridEngine::GetRowHeights(ROWCOL nFrom, ROWCOL nTo, CArray<int, int>& a)
{
    const ROWCOL n = std::max(nFrom, nTo) - nFrom + 1;
    a.SetSize(n);
    for (ROWCOL i = 0; i < n; ++i)
        a[i] = GetRowHeight(nFrom + i);
}

void CGXGridEngine::GetColWidths(ROWCOL nFrom, ROWCOL nTo, CArray<int, int>& a)
{
    const ROWCOL n = std::max(nFrom, nTo) - nFrom + 1;
    a.SetSize(n);
    for (ROWCOL i = 0; i < n; ++i)
        a[i] = GetColWidth(nFrom + i);
}

namespace {
// Sums sizes from..to (an empty span, also "0 to -1", sums to 0); stops
// before adding the next one once the sum exceeds a nonzero limit.
template <class F> int SumSizes(ROWCOL nFrom, ROWCOL nTo, int nLimit, F size)
{
    if (nTo == GX_INVALID || nTo < nFrom)
        return 0;
    int sum = 0;
    for (ROWCOL n = nFrom;; ++n) {
        if (nLimit > 0 && sum > nLimit)
            break;
        sum += size(n);
        if (n == nTo)
            break;
    }
    return sum;
}
} // namespace

int CGXGridEngine::CalcSumOfRowHeights(ROWCOL nFrom, ROWCOL nTo, int nLimit)
{
    return SumSizes(nFrom, nTo, nLimit, [this](ROWCOL r) { return GetRowHeight(r); });
}

int CGXGridEngine::CalcSumOfColWidths(ROWCOL nFrom, ROWCOL nTo, int nLimit)
{
    return SumSizes(nFrom, nTo, nLimit, [this](ROWCOL c) { return GetColWidth(c); });
}

int CGXGridEngine::SumRowHeights(ROWCOL nFrom, ROWCOL nTo, int nLimit)
{
    return SumSizes(nFrom, nTo, nLimit, [this](ROWCOL c) { return GetRowHeight(ClientRowToRow(c)); });
}

int CGXGridEngine::SumColWidths(ROWCOL nFrom, ROWCOL nTo, int nLimit)
{
    return SumSizes(nFrom, nTo, nLimit, [this](ROWCOL c) { return GetColWidth(ClientColToCol(c)); });
}

int CGXGridEngine::CalcClientRowTop(ROWCOL nClient)
{
    CRect r;
    GetGridRect(&r);
    return r.top + (nClient == 0 ? 0 : SumRowHeights(0, nClient - 1));
}

int CGXGridEngine::CalcClientColLeft(ROWCOL nClient)
{
    CRect r;
    GetGridRect(&r);
    return r.left + (nClient == 0 ? 0 : SumColWidths(0, nClient - 1));
}

void CGXGridEngine::CalcRectBelowRow(CRect& rect, ROWCOL nRow)
{
    GetGridRect(&rect);
    rect.top = nRow == 0 ? rect.top + GetRowHeight(0) : CalcClientRowTop(RowToClientRow(nRow)) + GetRowHeight(nRow);
    rect.top = std::min(rect.top, rect.bottom);
}

void CGXGridEngine::CalcRectRightOfCol(CRect& rect, ROWCOL nCol)
{
    GetGridRect(&rect);
    rect.left = nCol == 0 ? rect.left + GetColWidth(0) : CalcClientColLeft(ColToClientCol(nCol)) + GetColWidth(nCol);
    rect.left = std::min(rect.left, rect.right);
}

namespace {
ROWCOL ClientFromPt(CGXGridEngine& e, BOOL bRows, CPoint pt, int* pEdge)
{
    CRect g;
    e.GetGridRect(&g);
    const ROWCOL nCount = Count(e, bRows);
    const int p = Coord(pt, bRows);
    int edge = Start(g, bRows);
    for (ROWCOL c = 0;; ++c) {
        const ROWCOL n = FromClient(e, bRows, c);
        if (n > nCount || n == GX_INVALID)
            break;
        const int s = Size(e, bRows, n);
        if (p < edge + s) {
            if (pEdge != nullptr)
                *pEdge = edge;
            return c;
        }
        edge += s;
    }
    if (pEdge != nullptr)
        *pEdge = edge;
    return GX_INVALID;
}
} // namespace

ROWCOL CGXGridEngine::CalcClientRowFromPt(CPoint pt, int* pTop) { return ClientFromPt(*this, TRUE, pt, pTop); }
ROWCOL CGXGridEngine::CalcClientColFromPt(CPoint pt, int* pLeft) { return ClientFromPt(*this, FALSE, pt, pLeft); }

ROWCOL CGXGridEngine::CalcBottomRowFromRect(const CRect& rect, BOOL* pbBeyond)
{
    ROWCOL c = CalcClientRowFromPt(CPoint(rect.left, rect.bottom));
    if (pbBeyond != nullptr)
        *pbBeyond = c == GX_INVALID;
    return c == GX_INVALID ? GetRowCount() : ClientRowToRow(c);
}

ROWCOL CGXGridEngine::CalcRightColFromRect(const CRect& rect, BOOL* pbBeyond)
{
    ROWCOL c = CalcClientColFromPt(CPoint(rect.right, rect.top));
    if (pbBeyond != nullptr)
        *pbBeyond = c == GX_INVALID;
    return c == GX_INVALID ? GetColCount() : ClientColToCol(c);
}

void CGXGridEngine::CalcBottomRightRowColFromRect(const CRect& rect, ROWCOL& nRow, ROWCOL& nCol)
{
    nRow = CalcBottomRowFromRect(rect);
    nCol = CalcRightColFromRect(rect);
}

CRect CGXGridEngine::CalcRectFromRowColEx(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, BOOL bOutside)
{
    if (nTop > nBottom)
        std::swap(nTop, nBottom);
    if (nLeft > nRight)
        std::swap(nLeft, nRight);
    CRect g;
    GetGridRect(&g);
    const int maxRight = g.right * 2, maxBottom = g.bottom * 2;
    const ROWCOL FR = GetFrozenRows(), FC = GetFrozenCols(), TR = GetTopRow(), LC = GetLeftCol();
    if ((nLeft > FC && nRight < LC) || (nTop > FR && nBottom < TR))
        return CRect(0, 0, 0, 0);
    ROWCOL ct = (nTop > FR && nTop < TR) ? RowToClientRow(TR) : RowToClientRow(nTop);
    ROWCOL cl = (nLeft > FC && nLeft < LC) ? ColToClientCol(LC) : ColToClientCol(nLeft);
    if (!m_bPrinting) {
        if (ct > RowToClientRow(GetLastVisibleRow()) || cl > ColToClientCol(GetLastVisibleCol()))
            return CRect(0, 0, 0, 0);
    }
    ROWCOL cb = nBottom > FR ? std::max(RowToClientRow(nBottom), FR) : nBottom;
    ROWCOL cr = nRight > FC ? std::max(ColToClientCol(nRight), FC) : nRight;
    const int x = g.left + (cl == 0 ? 0 : SumColWidths(0, cl - 1, bOutside ? 0 : maxRight));
    const int y = g.top + (ct == 0 ? 0 : SumRowHeights(0, ct - 1, bOutside ? 0 : maxBottom));
    const int right = x + (cr < cl ? 0 : SumColWidths(cl, cr, bOutside ? 0 : maxRight));
    const int bottom = y + (cb < ct ? 0 : SumRowHeights(ct, cb, bOutside ? 0 : maxBottom));
    return CRect(x, y, right, bottom);
}

CRect CGXGridEngine::CalcRectFromRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    // The range grows to the covered cells at its corners.
    CGXRange range(std::min(nTop, nBottom), std::min(nLeft, nRight), std::max(nTop, nBottom), std::max(nLeft, nRight));
    const ROWCOL corners[4][2] = {{range.top, range.left}, {range.top, range.right}, {range.bottom, range.left},
                                  {range.bottom, range.right}};
    for (const auto& corner : corners) {
        CGXRange covered;
        if (GetCoveredCellsRowCol(corner[0], corner[1], covered))
            range.Union(range, covered);
    }
    return CalcRectFromRowColEx(range.top, range.left, range.bottom, range.right);
}

CRect CGXGridEngine::CalcRectFromRowColClipped(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    return CalcRectFromRowCol(nTop, nLeft, nBottom, nRight);
}

BOOL CGXGridEngine::GetClientRowColFromPoint(CPoint pt, ROWCOL& nRow, ROWCOL& nCol, CRect* pRect)
{
    if (pt.x < 0 || pt.y < 0) {
        nRow = nCol = 0;
        return FALSE;
    }
    int top = 0, left = 0;
    nRow = CalcClientRowFromPt(pt, &top);
    nCol = CalcClientColFromPt(pt, &left);
    if (nRow == GX_INVALID || nCol == GX_INVALID)
        return FALSE;
    if (pRect != nullptr)
        *pRect = CRect(left, top, left + GetColWidth(ClientColToCol(nCol)), top + GetRowHeight(ClientRowToRow(nRow)));
    return TRUE;
}

void CGXGridEngine::GetClientRowColFromPointEx(CPoint pt, ROWCOL& nRow, ROWCOL& nCol)
{
    nRow = CalcClientRowFromPt(pt);
    nCol = CalcClientColFromPt(pt);
    if (nRow == GX_INVALID)
        nRow = RowToClientRow(GetRowCount());
    if (nCol == GX_INVALID)
        nCol = ColToClientCol(GetColCount());
}

CRect CGXGridEngine::CalcClientCellRect(ROWCOL nRow, ROWCOL nCol)
{
    CRect g;
    GetGridRect(&g);
    m_nRunClientRow = 0;
    m_nRunClientCol = 0;
    m_nRunTop = g.top;
    m_nRunLeft = g.left;
    return CalcClientCellRectNext(nRow, nCol);
}

CRect CGXGridEngine::CalcClientCellRectNext(ROWCOL nRow, ROWCOL nCol)
{
    CRect g;
    GetGridRect(&g);
    if (nRow < m_nRunClientRow) {
        m_nRunClientRow = 0;
        m_nRunTop = g.top;
    }
    if (nCol < m_nRunClientCol) {
        m_nRunClientCol = 0;
        m_nRunLeft = g.left;
    }
    const int maxBottom = g.top + 2 * g.Height(), maxRight = g.left + 2 * g.Width();
    while (m_nRunClientRow < nRow && m_nRunTop <= maxBottom)
        m_nRunTop += GetRowHeight(ClientRowToRow(m_nRunClientRow++));
    while (m_nRunClientCol < nCol && m_nRunLeft <= maxRight)
        m_nRunLeft += GetColWidth(ClientColToCol(m_nRunClientCol++));
    return CRect(m_nRunLeft, m_nRunTop, m_nRunLeft + GetColWidth(ClientColToCol(nCol)),
                 m_nRunTop + GetRowHeight(ClientRowToRow(nRow)));
}

namespace {
ROWCOL LastVisible(CGXGridEngine& e, BOOL bRows)
{
    CRect g;
    e.GetGridRect(&g);
    const ROWCOL nCount = Count(e, bRows);
    const int len = Length(g, bRows);
    int sum = 0;
    ROWCOL last = 0;
    for (ROWCOL c = 0;; ++c) {
        const ROWCOL n = FromClient(e, bRows, c);
        if (n > nCount || sum >= len)
            break;
        last = n;
        sum += Size(e, bRows, n);
    }
    return last;
}
} // namespace

ROWCOL CGXGridEngine::GetLastVisibleRow() { return m_nLastVisibleRow = LastVisible(*this, TRUE); }
ROWCOL CGXGridEngine::GetLastVisibleCol() { return m_nLastVisibleCol = LastVisible(*this, FALSE); }

// ---------------------------------------------------------------------------
// Sizes that fit the cells

namespace {
struct SavedSize
{
    ROWCOL n;
    BOOL bHadEntry;
    LONG stored;
};

BOOL ResizeToFit(CGXGridEngine& e, BOOL bRows, CGXRange range, BOOL bSpan, UINT nFlags)
{
    CGXGridParam* pParam = e.GetParam();
    CWnd* pWnd = e.GridWnd();
    if (pParam == nullptr || pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr || !range.IsValid())
        return FALSE;
    CClientDC dc(pWnd);
    e.PrepareDC(&dc, nullptr);
    const CGXStyle* pStandard = e.GetStandardStyle();
    CFont* pOldFont = pStandard != nullptr ? e.SelectStyleFont(&dc, *pStandard) : nullptr;
    range.ExpandToCells(0, 0, e.GetRowCount(), e.GetColCount());

    CGXLongOperation theOp;
    CString status;
    status.LoadString(bRows ? GX_IDS_RESIZINGROWS : GX_IDS_RESIZINGCOLS);
    theOp.SetStatusText(status);

    // The room: the grid, else the parent's client area, else the top child's.
    CRect room;
    e.GetGridRect(&room);
    if (Length(room, bRows) == 0) {
        CWnd* pParent = pWnd->GetParent();
        HWND hTop = ::GetTopWindow(pWnd->GetSafeHwnd());
        if (pParent != nullptr)
            pParent->GetClientRect(&room);
        else if (hTop != nullptr)
            ::GetClientRect(hTop, &room);
        else
            room.SetRect(0, 0, 32767, 32767);
    }
    const int length = Length(room, bRows);
    const ROWCOL F = Frozen(e, bRows);
    CGXMapDWordToLong& map = bRows ? pParam->m_rowHeights : pParam->m_colWidths;
    std::vector<SavedSize> saved;
    const ROWCOL first = bRows ? range.top : range.left, last = bRows ? range.bottom : range.right;
    const ROWCOL otherFirst = bRows ? range.left : range.top, otherLast = bRows ? range.right : range.bottom;
    BOOL bAborted = FALSE;
    for (ROWCOL n = first; n <= last && !bAborted; ++n) {
        int largest = n == 0 ? length - 1
                      : n <= F ? length - SumAbs(e, bRows, 0, n - 1) - 1
                               : length - SumAbs(e, bRows, 0, F) - 1;
        largest = std::max(0, largest);
        int needed = 0;
        for (ROWCOL m = otherFirst; m <= otherLast;) {
            const ROWCOL r = bRows ? n : m, c = bRows ? m : n;
            CGXRange span;
            const BOOL bInSpan = e.GetCellRangeRowCol(r, c, span);
            BOOL bMeasure;
            if (!bInSpan)
                bMeasure = Size(e, !bRows, m) > 0;
            else if (bRows)
                bMeasure = bSpan && r == span.bottom && c == span.left && span.top >= range.top && span.right <= range.right;
            else
                bMeasure = bSpan && r == span.top && c == span.right && span.left >= range.left && span.bottom <= range.bottom;
            if (bMeasure) {
                const ROWCOL sr = bInSpan ? span.top : r, sc = bInSpan ? span.left : c;
                CGXStyle* pStyle = e.CreateStyle();
                e.ComposeCellStyle(sr, sc, *pStyle, TRUE);
                if (CGXControl* pControl = e.GetControlForId(static_cast<WORD>(pStyle->GetControl()))) {
                    pControl->LoadCurrentText(sr, sc, *pStyle);
                    const CSize size = pControl->CalcSize(&dc, sr, sc, *pStyle, pStandard, bRows);
                    int s = bRows ? size.cy : size.cx;
                    const ROWCOL spanStart = bRows ? span.top : span.left;
                    if (bInSpan && spanStart < n)
                        s -= SumAbs(e, bRows, spanStart, n - 1);
                    needed = std::max(needed, s);
                }
                e.RecycleStyle(pStyle);
            }
            BOOL bAbort = FALSE;
            theOp.ShowProgress(bAbort);
            if (bAbort) {
                bAborted = TRUE;
                break;
            }
            const ROWCOL next = bInSpan ? GXNextAfterSpan(bRows ? span.right : span.bottom) : m + 1;
            if (next <= m)
                break;
            m = next;
        }
        if (bAborted)
            break;
        needed = std::min(needed, largest);
        const int current = Size(e, bRows, n);
        const BOOL bSet = (nFlags & 8) ? needed > current : (needed != current && needed > 0);
        if (bSet) {
            LONG v = 0;
            const BOOL bHad = map.Lookup(n, v);
            saved.push_back({n, bHad, v});
            if (bRows)
                e.SetRowHeight(n, n, needed, nullptr, nFlags & 7, gxDo);
            else
                e.SetColWidth(n, n, needed, nullptr, nFlags & 7, gxDo);
        }
        if (n == last)
            break;
    }
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    if (bAborted) {
        // Every size set so far goes back.
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->bHadEntry)
                map.SetAt(it->n, it->stored);
            else
                map.RemoveKey(it->n);
        }
        if (!saved.empty()) {
            if (bRows)
                e.UpdateChangedRowHeights(saved.front().n, last, nullptr, nFlags & 7, TRUE);
            else
                e.UpdateChangedColWidths(saved.front().n, last, nullptr, nFlags & 7, TRUE);
        }
        return FALSE;
    }
    return TRUE;
}
} // namespace

BOOL CGXGridEngine::ResizeRowHeightsToFit(CGXRange range, BOOL bSpan, UINT nFlags)
{
    return ResizeToFit(*this, TRUE, range, bSpan, nFlags);
}

BOOL CGXGridEngine::ResizeColWidthsToFit(CGXRange range, BOOL bSpan, UINT nFlags)
{
    return ResizeToFit(*this, FALSE, range, bSpan, nFlags);
}
