// Inserting, removing and moving whole rows and columns, with everything keyed by their numbers,
// and freezing a selected block of rows or columns.
#include "afxwin.h"
#include "gxaxis.h"
#include "gxhint.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxundo.h"
#include "gxutil.h"
#include <climits>
#include <new>
#include <vector>

using namespace gxaxis;

ROWCOL CGXGridEngine::MovedIndex(ROWCOL n, ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest)
{
    const ROWCOL count = nTo - nFrom + 1;
    const ROWCOL d = nDest > nFrom ? nDest + count : nDest;
    if (n >= nFrom && n <= nTo)
        return n - nFrom + nDest;
    if (n > nTo && n < d)
        return n - count;
    if (n >= d && n < nFrom)
        return n + count;
    return n;
}

namespace {
// The hidden flags of one byte per row (column), kept in step with the rows. FALSE, with the
// flags as they were, when they cannot make room for the new rows (more than an index reaches,
// or no memory left).
BOOL InsertFlags(CByteArray& a, ROWCOL nAt, ROWCOL nCount)
{
    if (nAt >= static_cast<ROWCOL>(a.GetSize()) || nCount == 0)
        return TRUE;
    if (nCount > static_cast<ROWCOL>(INT_MAX - a.GetSize()))
        return FALSE;
    try {
        a.InsertAt(static_cast<INT_PTR>(nAt), static_cast<BYTE>(0), static_cast<INT_PTR>(nCount));
    } catch (CMemoryException* e) {
        e->Delete();
        return FALSE;
    } catch (std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

void RemoveFlags(CByteArray& a, ROWCOL nFrom, ROWCOL nTo)
{
    const ROWCOL size = static_cast<ROWCOL>(a.GetSize());
    if (nFrom >= size)
        return;
    a.RemoveAt(static_cast<INT_PTR>(nFrom), static_cast<INT_PTR>(std::min(nTo, size - 1) - nFrom + 1));
}

void MoveFlags(CByteArray& a, ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest)
{
    const ROWCOL size = static_cast<ROWCOL>(a.GetSize());
    const ROWCOL last = std::max(nTo, nDest + (nTo - nFrom));
    if (size == 0)
        return;
    std::vector<BYTE> v(static_cast<size_t>(std::max(size, last + 1)), 0);
    for (ROWCOL i = 0; i < size; ++i)
        v[CGXGridEngine::MovedIndex(i, nFrom, nTo, nDest)] = a[static_cast<INT_PTR>(i)];
    ROWCOL n = static_cast<ROWCOL>(v.size());
    while (n > 0 && v[n - 1] == 0)
        --n;
    a.SetSize(static_cast<INT_PTR>(n));
    for (ROWCOL i = 0; i < n; ++i)
        a[static_cast<INT_PTR>(i)] = v[i];
}

// Covered ranges whose top row (left column) lies in the removed block lose their value cell
// with it: they are uncovered, not shifted onto the rows that follow.
void UncoverStartingIn(CGXRangeList& list, BOOL bRows, ROWCOL nFrom, ROWCOL nTo)
{
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        const CGXRange* r = list.GetRangeAt(pos);
        list.GetNext(pos);
        const ROWCOL lo = bRows ? r->top : r->left;
        if (lo >= nFrom && lo <= nTo) {
            delete r;
            list.RemoveAt(at);
        }
    }
}

BOOL ReadOnlyGuard(CGXGridEngine& e)
{
    CGXGridParam* p = e.GetParam();
    return p == nullptr || (p->m_bLockStructureReadOnly && e.IsReadOnly());
}

// The size a removed row (column) had of its own or by default, hidden or not: undo gives it
// back as a stored size.
int SizeOfOwn(CGXGridEngine& e, BOOL bRows, ROWCOL n)
{
    CGXGridParam* p = e.GetParam();
    LONG v = 0;
    if ((bRows ? p->m_rowHeights : p->m_colWidths).Lookup(n, v))
        return GXStoredToPixels(v, bRows ? e.GetScaleHeight() : e.GetScaleFactor(), bRows);
    return bRows ? e.GetDefaultRowHeight() : e.GetDefaultColWidth();
}

// The hidden flags of rows (columns) nFrom..nTo, for undo to hide them again; null when none of
// them is hidden.
BOOL* HiddenFlags(CGXGridParam* p, BOOL bRows, ROWCOL nFrom, ROWCOL nTo)
{
    const CByteArray& a = bRows ? p->m_hiddenRows : p->m_hiddenCols;
    BOOL* pHides = nullptr;
    for (ROWCOL n = nFrom; n <= nTo && n < static_cast<ROWCOL>(a.GetSize()); ++n)
        if (a[static_cast<INT_PTR>(n)] != 0) {
            if (pHides == nullptr)
                pHides = new BOOL[nTo - nFrom + 1]();
            pHides[n - nFrom] = TRUE;
        }
    return pHides;
}

void DeleteStyleArray(CObArray*& a)
{
    if (a == nullptr)
        return;
    for (INT_PTR i = 0; i < a->GetSize(); ++i)
        delete a->GetAt(i);
    delete a;
    a = nullptr;
}

// The selection highlight stays hidden while a structure change runs.
class FrameLockScope
{
public:
    explicit FrameLockScope(CGXGridEngine& e) : m_e(e), m_bOld(e.SetSelectionFrameLock(TRUE, TRUE)) {}
    ~FrameLockScope() { m_e.SetSelectionFrameLock(m_bOld, TRUE); }
    FrameLockScope(const FrameLockScope&) = delete;
    FrameLockScope& operator=(const FrameLockScope&) = delete;

private:
    CGXGridEngine& m_e;
    BOOL m_bOld;
};

void SendStructureHint(CGXGridEngine& e, UINT nHint, BOOL bRows, ROWCOL a, ROWCOL b, DWORD c, const int* pSizes,
                       UINT nFlags)
{
    CGXGridHint hint(nHint, e.m_nHintTag);
    if (bRows) {
        hint.nRow1 = a;
        hint.nRow2 = b;
    } else {
        hint.nCol1 = a;
        hint.nCol2 = b;
    }
    hint.lParam = c;
    hint.pObject1 = const_cast<int*>(pSizes);
    hint.flags = nFlags;
    e.SendHint(hint);
}

// The part of an insertion that needs room in proportion to the count: the hidden flags and the
// data store's slots. A count the grid cannot hold is refused before anything; room that cannot
// be had (the data store refuses or runs out of memory) refuses the insertion with the flags
// given back, so that the grid is as it was.
BOOL MakeRoomForLines(CGXGridEngine& e, BOOL bRows, ROWCOL nAt, ROWCOL nCount, BOOL bProcessed)
{
    CGXGridParam* p = e.GetParam();
    if (!CGXData::CountFits(Count(e, bRows), nCount))
        return FALSE;
    CByteArray& flags = bRows ? p->m_hiddenRows : p->m_hiddenCols;
    if (!InsertFlags(flags, nAt, nCount))
        return FALSE;
    CGXData* pData = p->GetData();
    BOOL bStored = FALSE;
    try {
        bStored = (pData != nullptr &&
                   (bRows ? pData->StoreInsertRows(nAt, nCount) : pData->StoreInsertCols(nAt, nCount))) ||
                  bProcessed;
    } catch (CMemoryException* ex) {
        ex->Delete();
        bStored = FALSE;
    } catch (std::bad_alloc&) {
        bStored = FALSE;
    }
    if (!bStored)
        RemoveFlags(flags, nAt, nAt + nCount - 1);
    return bStored;
}
} // namespace

// ---------------------------------------------------------------------------
// Store halves

BOOL CGXGridEngine::StoreInsertRows(ROWCOL nRow, ROWCOL nCount, BOOL bProcessed)
{
    if (ReadOnlyGuard(*this) || !MakeRoomForLines(*this, TRUE, nRow, nCount, bProcessed))
        return FALSE;
    SetModifiedFlag(TRUE);
    m_pParam->m_rowHeights.InsertKeys(nRow, nCount);
    m_pParam->m_selRanges.InsertRows(nRow, nCount);
    m_pParam->m_coveredRanges.InsertRows(nRow, nCount);
    SpansFollowStructure(0, TRUE, nRow, nCount);
    FreeStyleCache();
    return TRUE;
}

BOOL CGXGridEngine::StoreInsertCols(ROWCOL nCol, ROWCOL nCount, BOOL bProcessed)
{
    if (ReadOnlyGuard(*this) || !MakeRoomForLines(*this, FALSE, nCol, nCount, bProcessed))
        return FALSE;
    SetModifiedFlag(TRUE);
    m_pParam->m_colWidths.InsertKeys(nCol, nCount);
    m_pParam->m_selRanges.InsertCols(nCol, nCount);
    m_pParam->m_coveredRanges.InsertCols(nCol, nCount);
    SpansFollowStructure(0, FALSE, nCol, nCount);
    FreeStyleCache();
    return TRUE;
}

BOOL CGXGridEngine::StoreRemoveRows(ROWCOL nFrom, ROWCOL nTo, BOOL bProcessed)
{
    if (ReadOnlyGuard(*this))
        return FALSE;
    CGXData* pData = m_pParam->GetData();
    const ROWCOL nOldCount = GetRowCount();
    if (!((pData != nullptr && pData->StoreRemoveRows(nFrom, nTo)) || bProcessed))
        return FALSE;
    SetModifiedFlag(TRUE);
    RemoveFlags(m_pParam->m_hiddenRows, nFrom, nTo);
    m_pParam->m_rowHeights.RemoveKeys(nFrom, nTo);
    m_pParam->m_selRanges.RemoveRows(nFrom, nTo, nOldCount);
    UncoverStartingIn(m_pParam->m_coveredRanges, TRUE, nFrom, nTo);
    m_pParam->m_coveredRanges.RemoveRows(nFrom, nTo, nOldCount);
    SpansFollowStructure(1, TRUE, nFrom, nTo);
    FreeStyleCache();
    return TRUE;
}

BOOL CGXGridEngine::StoreRemoveCols(ROWCOL nFrom, ROWCOL nTo, BOOL bProcessed)
{
    if (ReadOnlyGuard(*this))
        return FALSE;
    CGXData* pData = m_pParam->GetData();
    const ROWCOL nOldCount = GetColCount();
    if (!((pData != nullptr && pData->StoreRemoveCols(nFrom, nTo)) || bProcessed))
        return FALSE;
    SetModifiedFlag(TRUE);
    RemoveFlags(m_pParam->m_hiddenCols, nFrom, nTo);
    m_pParam->m_colWidths.RemoveKeys(nFrom, nTo);
    m_pParam->m_selRanges.RemoveCols(nFrom, nTo, nOldCount);
    UncoverStartingIn(m_pParam->m_coveredRanges, FALSE, nFrom, nTo);
    m_pParam->m_coveredRanges.RemoveCols(nFrom, nTo, nOldCount);
    SpansFollowStructure(1, FALSE, nFrom, nTo);
    FreeStyleCache();
    return TRUE;
}

BOOL CGXGridEngine::StoreMoveRows(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, BOOL bProcessed)
{
    if (m_pParam == nullptr || nFrom == nDest || nTo < nFrom)
        return FALSE;
    CGXData* pData = m_pParam->GetData();
    if (!((pData != nullptr && pData->StoreMoveRows(nFrom, nTo, nDest)) || bProcessed))
        return FALSE;
    SetModifiedFlag(TRUE);
    MoveFlags(m_pParam->m_hiddenRows, nFrom, nTo, nDest);
    m_pParam->m_rowHeights.MoveKeys(nFrom, nTo, nDest);
    m_pParam->m_selRanges.MoveRows(nFrom, nTo, nDest, GetRowCount());
    m_pParam->m_coveredRanges.MoveRows(nFrom, nTo, nDest, GetRowCount());
    SpansFollowStructure(2, TRUE, nFrom, nTo, nDest);
    FreeStyleCache();
    return TRUE;
}

BOOL CGXGridEngine::StoreMoveCols(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, BOOL bProcessed)
{
    if (m_pParam == nullptr || nFrom == nDest || nTo < nFrom)
        return FALSE;
    CGXData* pData = m_pParam->GetData();
    if (!((pData != nullptr && pData->StoreMoveCols(nFrom, nTo, nDest)) || bProcessed))
        return FALSE;
    SetModifiedFlag(TRUE);
    MoveFlags(m_pParam->m_hiddenCols, nFrom, nTo, nDest);
    m_pParam->m_colWidths.MoveKeys(nFrom, nTo, nDest);
    m_pParam->m_selRanges.MoveCols(nFrom, nTo, nDest, GetColCount());
    m_pParam->m_coveredRanges.MoveCols(nFrom, nTo, nDest, GetColCount());
    SpansFollowStructure(2, FALSE, nFrom, nTo, nDest);
    FreeStyleCache();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Update halves: the current cell follows its row (column), the first scrolled row stays on the
// rows it showed, and the grid is repainted.

namespace {
void TellControl(CGXGridEngine& e)
{
    ROWCOL r, c;
    if (e.GetCurrentCellPos(r, c) && e.m_pCurrentControl != nullptr)
        e.m_pCurrentControl->Init(r, c);
}

void RepaintAfterStructure(CGXGridEngine& e, UINT nFlags)
{
    // A record beam shows the row count whatever the flags: nothing later would tell it.
    e.UpdateRecordWindow();
    CGXGridParam* p = e.GetParam();
    if (p == nullptr || p->m_bLockUpdate || (nFlags & 7) == 0)
        return;
    const BOOL bLock = e.LockScrollBars(TRUE);
    e.Redraw(nFlags & 7, FALSE);
    e.LockScrollBars(bLock);
    e.RefreshScrollBars(FALSE, FALSE);
}
} // namespace

void CGXGridEngine::UpdateInsertRows(ROWCOL nRow, ROWCOL nCount, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleRow = GX_INVALID;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c, TRUE) && nRow <= r) {
        SetCurrentCellState(TRUE, r + nCount, c);
        TellControl(*this);
    }
    if (m_nTopRow <= GetFrozenRows())
        m_nTopRow = GetFrozenRows() + 1;
    else if (nRow < m_nTopRow && !IsFrozenRow(nRow) && nRow != 0)
        m_nTopRow += nCount;   // the rows on screen stay on screen
    RepaintAfterStructure(*this, nFlags);
    if (bCreateHint)
        SendStructureHint(*this, 8, TRUE, nRow, nCount, 0, nullptr, nFlags);
}

void CGXGridEngine::UpdateInsertCols(ROWCOL nCol, ROWCOL nCount, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleCol = GX_INVALID;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c, TRUE) && nCol <= c) {
        SetCurrentCellState(TRUE, r, c + nCount);
        TellControl(*this);
    }
    if (m_nLeftCol <= GetFrozenCols())
        m_nLeftCol = GetFrozenCols() + 1;
    else if (nCol < m_nLeftCol && !IsFrozenCol(nCol) && nCol != 0)
        m_nLeftCol += nCount;
    RepaintAfterStructure(*this, nFlags);
    if (bCreateHint)
        SendStructureHint(*this, 7, FALSE, nCol, nCount, 0, nullptr, nFlags);
}

void CGXGridEngine::UpdateRemoveRows(ROWCOL nFrom, ROWCOL nTo, const int* pOld, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleRow = GX_INVALID;
    const ROWCOL n = nTo - nFrom + 1;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c, TRUE) && r >= nFrom) {
        if (r <= nTo) {
            HideCurrentCellControl();
            SetCurrentCellState(FALSE);
        } else {
            SetCurrentCellState(TRUE, r - n, c);
            TellControl(*this);
        }
    }
    const ROWCOL nCount = GetRowCount();
    if (nCount == 0)
        m_nTopRow = 1;
    else if (nTo < m_nTopRow && nFrom > GetFrozenRows())
        m_nTopRow -= n;
    else if (nFrom <= m_nTopRow && m_nTopRow <= nTo)
        m_nTopRow = std::max<ROWCOL>(nFrom, 1);
    m_nTopRow = std::max(std::min(m_nTopRow, std::max<ROWCOL>(nCount, 1)), GetFrozenRows() + 1);
    RepaintAfterStructure(*this, nFlags);
    if (bCreateHint)
        SendStructureHint(*this, 10, TRUE, nFrom, nTo, 0, pOld, nFlags);
}

void CGXGridEngine::UpdateRemoveCols(ROWCOL nFrom, ROWCOL nTo, const int* pOld, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleCol = GX_INVALID;
    const ROWCOL n = nTo - nFrom + 1;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c, TRUE) && c >= nFrom) {
        if (c <= nTo) {
            HideCurrentCellControl();
            SetCurrentCellState(FALSE);
        } else {
            SetCurrentCellState(TRUE, r, c - n);
            TellControl(*this);
        }
    }
    const ROWCOL nCount = GetColCount();
    if (nCount == 0)
        m_nLeftCol = 1;
    else if (nTo < m_nLeftCol && nFrom > GetFrozenCols())
        m_nLeftCol -= n;
    else if (nFrom <= m_nLeftCol && m_nLeftCol <= nTo)
        m_nLeftCol = std::max<ROWCOL>(nFrom, 1);
    m_nLeftCol = std::max(std::min(m_nLeftCol, std::max<ROWCOL>(nCount, 1)), GetFrozenCols() + 1);
    RepaintAfterStructure(*this, nFlags);
    if (bCreateHint)
        SendStructureHint(*this, 9, FALSE, nFrom, nTo, 0, pOld, nFlags);
}

void CGXGridEngine::UpdateMoveRows(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleRow = GX_INVALID;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c, TRUE)) {
        SetCurrentCellState(TRUE, MovedIndex(r, nFrom, nTo, nDest), c);
        TellControl(*this);
    }
    // The rows shown at the top stay there when a block passes them: the top row follows its
    // row instead of the view jumping by the block's height.
    if ((m_nTopRow < nFrom || m_nTopRow > nTo) && m_nTopRow > GetFrozenRows() + 1)
        m_nTopRow = std::max(MovedIndex(m_nTopRow, nFrom, nTo, nDest), GetFrozenRows() + 1);
    RepaintAfterStructure(*this, nFlags);
    if (bCreateHint)
        SendStructureHint(*this, 12, TRUE, nFrom, nTo, nDest, nullptr, nFlags);
}

void CGXGridEngine::UpdateMoveCols(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags, BOOL bCreateHint)
{
    m_nLastVisibleCol = GX_INVALID;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c, TRUE)) {
        SetCurrentCellState(TRUE, r, MovedIndex(c, nFrom, nTo, nDest));
        TellControl(*this);
    }
    if ((m_nLeftCol < nFrom || m_nLeftCol > nTo) && m_nLeftCol > GetFrozenCols() + 1)
        m_nLeftCol = std::max(MovedIndex(m_nLeftCol, nFrom, nTo, nDest), GetFrozenCols() + 1);
    RepaintAfterStructure(*this, nFlags);
    if (bCreateHint)
        SendStructureHint(*this, 11, FALSE, nFrom, nTo, nDest, nullptr, nFlags);
}

// ---------------------------------------------------------------------------
// Public operations

namespace {
// Rows (columns) from..to cut to the data lines: the header ones are never removed or moved, and
// none lies past the count, so that the undo record holds what was really done. FALSE when
// nothing is left.
BOOL ClipToDataLines(CGXGridEngine& e, BOOL bRows, ROWCOL& nFrom, ROWCOL& nTo)
{
    nFrom = std::max(nFrom, Headers(e, bRows) + 1);
    nTo = std::min(nTo, Count(e, bRows));
    return nFrom <= nTo;
}

// Inserting rows (bRows) or columns with what a removal kept of them.
BOOL InsertLines(CGXGridEngine& e, BOOL bRows, ROWCOL nAt, ROWCOL nCount, const int* pSizes,
                 const CObArray* pCellStyles, const CObArray* pLineStyles, ROWCOL nOther, UINT nFlags, int nCommand)
{
    // A count the grid cannot hold is refused before anything, the pending edit included.
    if (e.GetParam() == nullptr || nCount == 0 || !CGXData::CountFits(Count(e, bRows), nCount))
        return FALSE;
    // New rows (columns) go between the header and one past the last.
    nAt = std::min(std::max(nAt, Headers(e, bRows) + 1), Count(e, bRows) + 1);
    CGXLongOperation theOp;
    if (!e.TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE))
        return FALSE;
    FrameLockScope lock(e);
    BOOL bStored = FALSE;
    try {
        bStored = bRows ? e.StoreInsertRows(nAt, nCount, FALSE) : e.StoreInsertCols(nAt, nCount, FALSE);
    } catch (CMemoryException* ex) {
        // The store half refuses, with the grid as it was, what it cannot make room for; memory
        // running out later in it (while covered cells and spans are indexed again) is not let
        // out of the call either.
        ex->Delete();
    } catch (std::bad_alloc&) {
    }
    if (!bStored)
        return FALSE;
    if (pSizes != nullptr)
        for (ROWCOL i = 0; i < nCount; ++i)
            bRows ? e.StoreRowHeight(nAt + i, pSizes[i]) : e.StoreColWidth(nAt + i, pSizes[i]);
    if (pCellStyles != nullptr) {
        // Rows: nCount rows of nOther cells; columns: nOther rows of nCount cells.
        const ROWCOL nRowsOf = bRows ? nCount : nOther, nColsOf = bRows ? nOther : nCount;
        for (ROWCOL r = 0; r < nRowsOf; ++r)
            for (ROWCOL c = 0; c < nColsOf; ++c) {
                const INT_PTR i = static_cast<INT_PTR>(r * nColsOf + c);
                if (i >= pCellStyles->GetSize())
                    break;
                if (auto* p = static_cast<const CGXStyle*>(pCellStyles->GetAt(i)))
                    e.StoreStyleRowCol(bRows ? nAt + r : r, bRows ? c : nAt + c, p, gxCopy, 0);
                theOp.NeedMessages();
            }
    }
    if (pLineStyles != nullptr)
        for (ROWCOL i = 0; i < nCount && static_cast<INT_PTR>(i) < pLineStyles->GetSize(); ++i)
            if (auto* p = static_cast<const CGXStyle*>(pLineStyles->GetAt(static_cast<INT_PTR>(i))))
                e.StoreStyleRowCol(bRows ? nAt + i : 0, bRows ? 0 : nAt + i, p, gxCopy, -1);
    if (bRows)
        e.UpdateInsertRows(nAt, nCount, nFlags, TRUE);
    else
        e.UpdateInsertCols(nAt, nCount, nFlags, TRUE);
    if (e.IsRecording(nCommand)) {
        if (bRows)
            e.PushCommand(new CGXRemoveRowsCmd(nAt, nAt + nCount - 1), nCommand);
        else
            e.PushCommand(new CGXRemoveColsCmd(nAt, nAt + nCount - 1), nCommand);
        if (nCommand == gxUndo || nCommand == gxRedo)
            bRows ? e.RestoreCurrentCell(nAt, e.GetLeftCol(), FALSE) : e.RestoreCurrentCell(e.GetTopRow(), nAt, FALSE);
    }
    return TRUE;
}

BOOL RemoveLines(CGXGridEngine& e, BOOL bRows, ROWCOL nFrom, ROWCOL nTo, UINT nFlags, int nCommand)
{
    CGXGridParam* p = e.GetParam();
    if (p == nullptr || !ClipToDataLines(e, bRows, nFrom, nTo))
        return FALSE;
    if (!e.TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE))
        return FALSE;
    FrameLockScope lock(e);
    CGXLongOperation theOp;
    GX_APP_STATE* state = GXGetAppState();
    theOp.SetStatusText(state->sGenUndo, FALSE);
    const ROWCOL nCount = nTo - nFrom + 1;
    // The other axis with its header: columns + 1 for rows, rows + 1 for columns.
    const ROWCOL nOther = (bRows ? e.GetColCount() : e.GetRowCount()) + 1;
    CObArray* pCellStyles = nullptr;
    CObArray* pLineStyles = nullptr;
    BOOL bWentOnWithout = FALSE;
    const WORD options = bRows ? p->m_wUndoRowOptions : p->m_wUndoColOptions;
    if (e.IsRecording(nCommand)) {
        auto tooLarge = [&]() {
            DeleteStyleArray(pCellStyles);
            DeleteStyleArray(pLineStyles);
            bWentOnWithout = TRUE;
            return AfxMessageBox(GX_IDS_UNDOTOOLARGE, MB_OKCANCEL) != IDCANCEL;
        };
        // The limits are computed in 64 bits: a count times the columns can pass 32 bits.
        const unsigned long long cells = static_cast<unsigned long long>(nOther) * nCount;
        const unsigned long long total = cells + nCount;
        unsigned long long done = 0;
        BOOL bAbort = FALSE;
        auto progress = [&]() {
            ++done;
            theOp.SetPercentDone(static_cast<int>(std::min<unsigned long long>(100, done * 100 / total)));
            theOp.ShowProgress(bAbort);
            return !bAbort;
        };
        try {
            if (options & 2) {
                if (cells < 2147483647ULL && nOther < 32768 && nCount < 32768) {
                    pCellStyles = new CObArray;
                    pCellStyles->SetSize(static_cast<INT_PTR>(cells));
                    for (ROWCOL a = 0; a < (bRows ? nCount : nOther) && !bAbort; ++a)
                        for (ROWCOL b = 0; b < (bRows ? nOther : nCount) && !bAbort; ++b) {
                            CGXStyle* s = e.CreateStyle();
                            const ROWCOL r = bRows ? nFrom + a : a, c = bRows ? b : nFrom + b;
                            if (e.ReadCellStyle(r, c, *s, gxCopy, 0))
                                pCellStyles->SetAt(static_cast<INT_PTR>(a * (bRows ? nOther : nCount) + b), s);
                            else
                                e.RecycleStyle(s);
                            progress();
                        }
                } else if (!tooLarge()) {
                    return FALSE;
                }
            }
            if ((options & 1) && !bWentOnWithout && !bAbort) {
                if (nCount < 32768) {
                    pLineStyles = new CObArray;
                    pLineStyles->SetSize(static_cast<INT_PTR>(nCount));
                    for (ROWCOL i = 0; i < nCount && !bAbort; ++i) {
                        CGXStyle* s = e.CreateStyle();
                        if (e.ReadCellStyle(bRows ? nFrom + i : 0, bRows ? 0 : nFrom + i, *s, gxCopy, -1))
                            pLineStyles->SetAt(static_cast<INT_PTR>(i), s);
                        else
                            e.RecycleStyle(s);
                        progress();
                    }
                } else if (!tooLarge()) {
                    return FALSE;
                }
            }
        } catch (CMemoryException* ex) {
            ex->Delete();
            if (!tooLarge())
                return FALSE;
        }
        if (bAbort) {
            DeleteStyleArray(pCellStyles);
            DeleteStyleArray(pLineStyles);
            return FALSE;
        }
    }
    const BOOL bUndoable = pCellStyles != nullptr || pLineStyles != nullptr;
    if (nCommand == gxDo)
        e.OpenBlockCommand(bRows ? state->sRemovingRows : state->sRemovingCols);
    theOp.SetStatusText(bRows ? state->sRemovingRows : state->sRemovingCols, FALSE);
    int* pSizes = nullptr;
    if (bUndoable || ((nFlags & 7) == GX_UPDATENOW && !p->m_bLockUpdate)) {
        pSizes = new int[nCount];
        for (ROWCOL i = 0; i < nCount; ++i)
            pSizes[i] = SizeOfOwn(e, bRows, nFrom + i);
    }
    BOOL* pHides = bUndoable ? HiddenFlags(p, bRows, nFrom, nTo) : nullptr;
    if (bUndoable && nCommand == gxDo)
        e.RecordCoveredCellsBeforeRemove(bRows, nFrom, nTo, nCommand);
    const BOOL bStored = bRows ? e.StoreRemoveRows(nFrom, nTo, FALSE) : e.StoreRemoveCols(nFrom, nTo, FALSE);
    if (!bStored) {
        delete[] pSizes;
        delete[] pHides;
        DeleteStyleArray(pCellStyles);
        DeleteStyleArray(pLineStyles);
    } else {
        if (bRows)
            e.UpdateRemoveRows(nFrom, nTo, pSizes, nFlags, TRUE);
        else
            e.UpdateRemoveCols(nFrom, nTo, pSizes, nFlags, TRUE);
        if (!bUndoable) {
            delete[] pSizes;
            // Without a command for this removal, older commands would name the wrong rows (the
            // open block of this removal goes with them).
            if (nCommand == gxDo && e.IsRecording(nCommand)) {
                p->EmptyUndoList();
                p->EmptyRedoList();
                e.m_pOpenBlock = nullptr;
            }
        } else {
            if (bRows)
                e.PushCommand(new CGXInsertRowsCmd(nFrom, nCount, pSizes, pCellStyles, pLineStyles, nOther, pHides),
                              nCommand);
            else
                e.PushCommand(new CGXInsertColsCmd(nFrom, nCount, pSizes, pCellStyles, pLineStyles, nOther, pHides),
                              nCommand);
            if (nCommand == gxUndo || nCommand == gxRedo)
                bRows ? e.RestoreCurrentCell(nFrom, e.GetLeftCol(), FALSE)
                      : e.RestoreCurrentCell(e.GetTopRow(), nFrom, FALSE);
        }
        e.SetSelectionRange(nullptr, 0, 0, 0, 0);
    }
    if (nCommand == gxDo && p->m_nUndoCount > 0)
        e.CloseBlockCommand();
    return bStored;
}

// A move shifts each covered range with its top row (left column); one that comes to lie over
// another is dropped, one pushed past the last row is cut. Those are recorded as they were
// before the move, ahead of the move's own command, so that undo, once the rows are back, covers
// them again; ranges that came through whole come back whole with the rows.
void RecordCoveringsTheMoveChanged(CGXGridEngine& e, const std::vector<CGXRange>& before, BOOL bRows, ROWCOL nFrom,
                                   ROWCOL nTo, ROWCOL nDest)
{
    for (const CGXRange& r : before) {
        CGXRange moved(r);
        ROWCOL& lo = bRows ? moved.top : moved.left;
        ROWCOL& hi = bRows ? moved.bottom : moved.right;
        const ROWCOL to = CGXGridEngine::MovedIndex(lo, nFrom, nTo, nDest);
        hi = hi - lo + to;
        lo = to;
        CGXRange now;
        if (!e.GetCoveredCellsRowCol(moved.top, moved.left, now) || now.top != moved.top || now.left != moved.left ||
            now.bottom != moved.bottom || now.right != moved.right)
            e.PushCommand(new CGXSetCoveredCellsCmd(r.top, r.left, r.bottom, r.right), gxDo);
    }
}

BOOL MoveLines(CGXGridEngine& e, BOOL bRows, ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags, int nCommand)
{
    CGXGridParam* p = e.GetParam();
    if (p == nullptr || !ClipToDataLines(e, bRows, nFrom, nTo))
        return FALSE;
    // The block lands where it fits whole between the header and the last row (column).
    nDest = std::min(std::max(nDest, Headers(e, bRows) + 1), Count(e, bRows) - (nTo - nFrom));
    if (!e.TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE))
        return FALSE;
    FrameLockScope lock(e);
    GX_APP_STATE* state = GXGetAppState();
    if (nCommand == gxDo)
        e.OpenBlockCommand(bRows ? state->sMoveRows : state->sMoveCols);
    std::vector<CGXRange> coveredBefore;
    if (nCommand == gxDo && e.IsRecording(nCommand))
        for (POSITION pos = p->m_coveredRanges.GetHeadPosition(); pos != nullptr; p->m_coveredRanges.GetNext(pos))
            coveredBefore.push_back(*p->m_coveredRanges.GetRangeAt(pos));
    const BOOL bStored = bRows ? e.StoreMoveRows(nFrom, nTo, nDest, FALSE) : e.StoreMoveCols(nFrom, nTo, nDest, FALSE);
    if (bStored) {
        if (bRows)
            e.UpdateMoveRows(nFrom, nTo, nDest, nFlags, TRUE);
        else
            e.UpdateMoveCols(nFrom, nTo, nDest, nFlags, TRUE);
        if (e.IsRecording(nCommand)) {
            RecordCoveringsTheMoveChanged(e, coveredBefore, bRows, nFrom, nTo, nDest);
            const ROWCOL nBack = nDest + nTo - nFrom;
            if (bRows)
                e.PushCommand(new CGXMoveRowsCmd(nDest, nBack, nFrom), nCommand);
            else
                e.PushCommand(new CGXMoveColsCmd(nDest, nBack, nFrom), nCommand);
            if (nCommand == gxUndo || nCommand == gxRedo)
                bRows ? e.RestoreCurrentCell(nDest, e.GetLeftCol(), FALSE)
                      : e.RestoreCurrentCell(e.GetTopRow(), nDest, FALSE);
        }
    }
    if (nCommand == gxDo)
        e.CloseBlockCommand();
    return bStored;
}
} // namespace

BOOL CGXGridEngine::InsertRows(ROWCOL nRow, ROWCOL nCount, const int* pHeights, const CObArray* pCellStyles,
                               const CObArray* pRowStyles, ROWCOL nColumns, UINT nFlags, int nCommand)
{
    return InsertLines(*this, TRUE, nRow, nCount, pHeights, pCellStyles, pRowStyles, nColumns, nFlags, nCommand);
}

BOOL CGXGridEngine::InsertCols(ROWCOL nCol, ROWCOL nCount, const int* pWidths, const CObArray* pCellStyles,
                               const CObArray* pColStyles, ROWCOL nRows, UINT nFlags, int nCommand)
{
    return InsertLines(*this, FALSE, nCol, nCount, pWidths, pCellStyles, pColStyles, nRows, nFlags, nCommand);
}

BOOL CGXGridEngine::RemoveRows(ROWCOL nFrom, ROWCOL nTo, UINT nFlags, int nCommand)
{
    return RemoveLines(*this, TRUE, nFrom, nTo, nFlags, nCommand);
}

BOOL CGXGridEngine::RemoveCols(ROWCOL nFrom, ROWCOL nTo, UINT nFlags, int nCommand)
{
    return RemoveLines(*this, FALSE, nFrom, nTo, nFlags, nCommand);
}

BOOL CGXGridEngine::MoveRows(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags, int nCommand)
{
    return MoveLines(*this, TRUE, nFrom, nTo, nDest, nFlags, nCommand);
}

BOOL CGXGridEngine::MoveCols(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest, UINT nFlags, int nCommand)
{
    return MoveLines(*this, FALSE, nFrom, nTo, nDest, nFlags, nCommand);
}


// ---------------------------------------------------------------------------
// Freezing a selected block: it moves behind the header rows (columns), is frozen there, and
// unfreezing moves it back to where it came from.

namespace {
BOOL OneLineSpan(CGXGridEngine& e, BOOL bRows, ROWCOL& s, ROWCOL& t)
{
    CGXGridParam* p = e.GetParam();
    if (p == nullptr)
        return FALSE;
    CDWordArray starts, ends;
    // Only whole rows (columns) count: a block of cells is no row.
    BOOL bWhole = !p->m_selRanges.IsEmpty();
    for (POSITION pos = p->m_selRanges.GetHeadPosition(); pos != nullptr;) {
        const CGXRange* r = p->m_selRanges.GetRangeAt(pos);
        p->m_selRanges.GetNext(pos);
        bWhole = bWhole && (bRows ? r->IsRows() : r->IsCols());
    }
    if (!bWhole)
        return FALSE;
    const BOOL bAny = bRows ? p->m_selRanges.GetRowSpans(e.GetRowCount(), starts, ends)
                            : p->m_selRanges.GetColSpans(e.GetColCount(), starts, ends);
    if (!bAny || starts.GetSize() != 1)
        return FALSE;
    s = starts[0];
    t = ends[0];
    return s >= 1 && s <= t;
}

void Freeze(CGXGridEngine& e, BOOL bRows)
{
    ROWCOL s = 0, t = 0;
    if (!(bRows ? e.CanFreezeRows() : e.CanFreezeCols()) || !OneLineSpan(e, bRows, s, t))
        return;
    CGXGridParam* p = e.GetParam();
    const ROWCOL h = bRows ? e.GetHeaderRows() : e.GetHeaderCols();
    CWaitCursor wait;
    CString name;
    name.LoadString(bRows ? GX_IDS_FREEZEROWS : GX_IDS_FREEZECOLS);
    e.OpenBlockCommand(name);
    const BOOL bLock = p->m_bLockUpdate;
    p->m_bLockUpdate = TRUE;
    e.SetSelectionRange(nullptr, 0, 0, 0, 0);
    s = std::max(s, h + 1);
    if (s > t) {
        p->m_bLockUpdate = bLock;
        e.CloseBlockCommand();
        return;
    }
    if (s > h + 1)
        bRows ? e.MoveRows(s, t, h + 1, GX_UPDATENOW, gxDo) : e.MoveCols(s, t, h + 1, GX_UPDATENOW, gxDo);
    const ROWCOL n = t - s + 1;
    if (bRows) {
        p->m_nFreezeRowsTarget = h + 1, p->m_nFreezeRowsCount = n, p->m_nFreezeRowsOrigin = s;
        e.SetFrozenRows(h + n, h, GX_UPDATENOW, gxDo);
    } else {
        p->m_nFreezeColsTarget = h + 1, p->m_nFreezeColsCount = n, p->m_nFreezeColsOrigin = s;
        e.SetFrozenCols(h + n, h, GX_UPDATENOW, gxDo);
    }
    p->m_bLockUpdate = bLock;
    e.Redraw(GX_UPDATENOW, TRUE);
    e.CloseBlockCommand();
}

void Unfreeze(CGXGridEngine& e, BOOL bRows)
{
    CGXGridParam* p = e.GetParam();
    if (p == nullptr || !(bRows ? e.CanUnfreezeRows() : e.CanUnfreezeCols()))
        return;
    const ROWCOL h = bRows ? e.GetHeaderRows() : e.GetHeaderCols();
    const ROWCOL target = bRows ? p->m_nFreezeRowsTarget : p->m_nFreezeColsTarget;
    const ROWCOL count = bRows ? p->m_nFreezeRowsCount : p->m_nFreezeColsCount;
    const ROWCOL origin = bRows ? p->m_nFreezeRowsOrigin : p->m_nFreezeColsOrigin;
    const ROWCOL nLines = bRows ? e.GetRowCount() : e.GetColCount();
    // The block goes back as target..target + count - 1; a memory that no longer fits the grid
    // moves nothing.
    const BOOL bMove = count > 0 && target != origin && target + count - 1 <= nLines && origin + count - 1 <= nLines;
    if (bRows) {
        // Rows: unfrozen, then moved back, two steps of their own.
        e.SetFrozenRows(h, h, GX_UPDATENOW, gxDo);
        if (bMove)
            e.MoveRows(target, target + count - 1, origin, GX_UPDATENOW, gxDo);
        return;
    }
    CString name;
    name.LoadString(GX_IDS_FREEZECOLS);
    const BOOL bLock = p->m_bLockUpdate;
    p->m_bLockUpdate = TRUE;
    e.OpenBlockCommand(name);
    if (bMove)
        e.MoveCols(target, target + count - 1, origin, GX_UPDATENOW, gxDo);
    e.SetFrozenCols(h, h, GX_UPDATENOW, gxDo);
    p->m_bLockUpdate = bLock;
    e.Redraw(GX_UPDATENOW, TRUE);
    e.CloseBlockCommand();
}
} // namespace

BOOL CGXGridEngine::CanFreezeRows()
{
    ROWCOL s, t;
    return m_pParam != nullptr && GetFrozenRows() <= GetHeaderRows() && OneLineSpan(*this, TRUE, s, t);
}
BOOL CGXGridEngine::CanFreezeCols()
{
    ROWCOL s, t;
    return m_pParam != nullptr && GetFrozenCols() <= GetHeaderCols() && OneLineSpan(*this, FALSE, s, t);
}
BOOL CGXGridEngine::CanUnfreezeRows() { return m_pParam != nullptr && GetFrozenRows() > GetHeaderRows(); }
BOOL CGXGridEngine::CanUnfreezeCols() { return m_pParam != nullptr && GetFrozenCols() > GetHeaderCols(); }
void CGXGridEngine::FreezeRows() { Freeze(*this, TRUE); }
void CGXGridEngine::FreezeCols() { Freeze(*this, FALSE); }
void CGXGridEngine::UnfreezeRows() { Unfreeze(*this, TRUE); }
void CGXGridEngine::UnfreezeCols() { Unfreeze(*this, FALSE); }
