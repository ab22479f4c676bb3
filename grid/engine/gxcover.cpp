// Covered cells: blocks of cells shown as one, kept as a list of ranges in the parameter object
// and an index from each cell to its range.
#include "gxengine.h"
#include "gxhint.h"
#include "gxspan.h"
#include "gxundo.h"
#include <algorithm>

namespace {
const ROWCOL kLimit = 0x7FFFFFFF;

CGXCoveredCellPool* Index(CGXGridParam* p, BOOL bCreate)
{
    CGXCoveredCellPool* pIndex = dynamic_cast<CGXCoveredCellPool*>(p->m_pSpanIndex);
    if (pIndex == nullptr && bCreate) {
        delete p->m_pSpanIndex;
        p->m_pSpanIndex = pIndex = new CGXCoveredCellPool;
    }
    return pIndex;
}
} // namespace

void CGXGridEngine::RebuildCoveredCellsIndex()
{
    if (m_pParam == nullptr)
        return;
    CGXCoveredCellPool* pIndex = Index(m_pParam, TRUE);
    pIndex->Empty();
    CGXRangeList& list = m_pParam->m_coveredRanges;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        const CGXRange* r = list.GetRangeAt(pos);
        list.GetNext(pos);
        if (r->IsValid())
            pIndex->SetRange(r->top, r->left, r->bottom, r->right, at);
    }
}

BOOL CGXGridEngine::GetCoveredCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range)
{
    if (m_pParam == nullptr || nRow >= kLimit || nCol >= kLimit || m_pParam->m_coveredRanges.IsEmpty())
        return FALSE;
    // A list without an index was just read from an archive or set from outside.
    if (Index(m_pParam, FALSE) == nullptr)
        RebuildCoveredCellsIndex();
    const POSITION pos = Index(m_pParam, FALSE)->Lookup(nRow, nCol);
    if (pos == nullptr)
        return FALSE;
    range = *m_pParam->m_coveredRanges.GetRangeAt(pos);
    return TRUE;
}

void CGXGridEngine::ExpandRangeByCoveredCells(CGXRange& range)
{
    if (m_pParam == nullptr || m_pParam->m_coveredRanges.IsEmpty())
        return;
    // The bounds are read again as the range grows.
    GXExpandRangeBySpans(range, TRUE, [&](ROWCOL r, ROWCOL c, CGXRange& span) { return GetCoveredCellsRowCol(r, c, span); });
}

BOOL CGXGridEngine::StoreCoveredCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, BOOL bSet)
{
    if (m_pParam == nullptr || nBottom >= kLimit || nRight >= kLimit || nTop >= kLimit || nLeft >= kLimit)
        return FALSE;
    const CGXStyle* pStandard = GetStandardStyle();
    if (m_pParam->m_bLockStructureReadOnly &&
        (IsReadOnly() || (pStandard != nullptr && pStandard->GetIncludeReadOnly() && pStandard->GetReadOnly())))
        return FALSE;
    CGXRangeList& list = m_pParam->m_coveredRanges;
    CGXCoveredCellPool* pIndex = Index(m_pParam, FALSE);
    if (pIndex == nullptr) {
        RebuildCoveredCellsIndex();
        pIndex = Index(m_pParam, FALSE);
    }
    const POSITION pos = pIndex->Lookup(nTop, nLeft);
    CGXRange* pOld = pos != nullptr ? list.GetRangeAt(pos) : nullptr;
    const BOOL bStartsHere = pOld != nullptr && pOld->top == nTop && pOld->left == nLeft;
    if (!bSet) {
        if (!bStartsHere)
            return FALSE;
        pIndex->SetRange(pOld->top, pOld->left, pOld->bottom, pOld->right, nullptr);
        delete pOld;
        list.RemoveAt(pos);
        return TRUE;
    }
    CGXRange range(std::min(nTop, nBottom), std::min(nLeft, nRight), std::max(nTop, nBottom), std::max(nLeft, nRight));
    // The range may touch no other covered range; the one starting here is being resized.
    for (ROWCOL r = range.top; r <= range.bottom; ++r)
        for (ROWCOL c = range.left; c <= range.right; ++c) {
            const POSITION other = pIndex->Lookup(r, c);
            if (other != nullptr && !(bStartsHere && other == pos))
                return FALSE;
        }
    if (bStartsHere) {
        if (pOld->top == range.top && pOld->left == range.left && pOld->bottom == range.bottom &&
            pOld->right == range.right)
            return FALSE;
        // The old extent leaves the index before the new one is entered.
        pIndex->SetRange(pOld->top, pOld->left, pOld->bottom, pOld->right, nullptr);
        *pOld = range;
        pIndex->SetRange(range.top, range.left, range.bottom, range.right, pos);
        return TRUE;
    }
    if (pos != nullptr)
        return FALSE;   // (top, left) lies inside another covered range
    const POSITION added = list.AddTail(new CGXRange(range));
    pIndex->SetRange(range.top, range.left, range.bottom, range.right, added);
    return TRUE;
}

BOOL CGXGridEngine::SetCoveredCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT nFlags,
                                    int nCommand)
{
    if (m_pParam == nullptr)
        return FALSE;
    ROWCOL nOldBottom = nTop, nOldRight = nLeft;
    CGXRange old;
    if (GetCoveredCellsRowCol(nTop, nLeft, old) && old.top == nTop && old.left == nLeft) {
        nOldBottom = old.bottom;
        nOldRight = old.right;
    }
    if (!StoreCoveredCellsRowCol(nTop, nLeft, nBottom, nRight, nBottom != nTop || nRight != nLeft))
        return FALSE;
    CGXRange affected(nTop, nLeft, std::max(std::max(nBottom, nTop), nOldBottom),
                      std::max(std::max(nRight, nLeft), nOldRight));
    DelaySpanRecalcA(affected);
    DelaySpanRecalcB(affected);
    // Spans evaluated at once may now reach beyond the affected cells (both chains are asked).
    CGXRange grown = affected;
    BOOL bGrown = m_pParam->m_wFloatCells == 2 && RecalcSpansA(affected, nFlags, grown);
    bGrown |= (m_pParam->m_wMergeCells & 3) == 2 && RecalcSpansB(affected, nFlags, grown);
    if (bGrown)
        affected.Union(affected, grown);
    UpdateCoveredCellsRowCol(affected.top, affected.left, affected.bottom, affected.right, nFlags, TRUE);
    if (IsRecording(nCommand)) {
        PushCommand(new CGXSetCoveredCellsCmd(nTop, nLeft, nOldBottom, nOldRight), nCommand);
        if (nCommand == gxUndo || nCommand == gxRedo)
            RestoreCurrentCell(nTop, nLeft, TRUE);
    }
    return TRUE;
}

void CGXGridEngine::UpdateCoveredCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, UINT nFlags,
                                             BOOL bCreateHint)
{
    if (m_pParam == nullptr)
        return;
    FreeStyleCache();
    if (!m_pParam->m_bLockUpdate) {
        CGXRange covered;
        if (GetCoveredCellsRowCol(nTop, nLeft, covered)) {
            nBottom = std::max(nBottom, covered.bottom);
            nRight = std::max(nRight, covered.right);
            ROWCOL r = 0, c = 0;
            if (GetCurrentCellPos(r, c) && covered.Contains(r, c) && (r != covered.top || c != covered.left))
                PlaceCurrentCell(covered.top, covered.left, nFlags | 8);
        }
        RedrawRange(nTop, nLeft, nBottom, nRight, nFlags, FALSE);
    }
    if (bCreateHint) {
        CGXGridHint hint(18, m_nHintTag);
        hint.m_range.SetCells(nTop, nLeft, nBottom, nRight);
        hint.flags = nFlags;
        SendHint(hint);
    }
}

// After rows or columns were inserted, removed or moved: covered ranges that went or shrank to
// one cell leave the list, the index is built again, and the span pools follow.
void CGXGridEngine::SpansFollowStructure(int nOp, BOOL bRows, ROWCOL a, ROWCOL b, ROWCOL c)
{
    if (m_pParam == nullptr)
        return;
    CGXRangeList& list = m_pParam->m_coveredRanges;
    CGXCoveredCellPool* pIndex = Index(m_pParam, TRUE);
    pIndex->Empty();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        CGXRange* r = list.GetRangeAt(pos);
        list.GetNext(pos);
        // A range moved half with a block of rows may now lie over another: it goes.
        BOOL bKeep = r->IsValid() && (r->top != r->bottom || r->left != r->right);
        for (ROWCOL row = r->top; bKeep && row <= r->bottom; ++row)
            for (ROWCOL col = r->left; bKeep && col <= r->right; ++col)
                bKeep = pIndex->Lookup(row, col) == nullptr;
        if (bKeep) {
            pIndex->SetRange(r->top, r->left, r->bottom, r->right, at);
        } else {
            delete r;
            list.RemoveAt(at);
        }
    }
    ShiftSpanPools(nOp, bRows, a, b, c);
}

// Before rows or columns are removed, the covered ranges they cut are recorded as they are, so
// that undo, after the rows are back, restores their extent. A range reaching across the whole
// block comes back whole with the rows: recording it would ask undo to set what is already set.
void CGXGridEngine::RecordCoveredCellsBeforeRemove(BOOL bRows, ROWCOL nFrom, ROWCOL nTo, int nCommand)
{
    if (m_pParam == nullptr || !IsRecording(nCommand))
        return;
    CGXRangeList& list = m_pParam->m_coveredRanges;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const CGXRange* r = list.GetRangeAt(pos);
        list.GetNext(pos);
        const ROWCOL lo = bRows ? r->top : r->left, hi = bRows ? r->bottom : r->right;
        if (r->IsValid() && hi >= nFrom && lo <= nTo && !(lo < nFrom && hi > nTo))
            PushCommand(new CGXSetCoveredCellsCmd(r->top, r->left, r->bottom, r->right), nCommand);
    }
}
