#include "gxspan.h"
#include "gxengine.h"
#include <algorithm>
#include <vector>

namespace {
const DWORD kMaxIndex = 0x7FFFFFFF;
}

// ---------------------------------------------------------------------------
// Owned arrays of lines

CPtrArray* CGXPtrArrayPtrArray::LineOnDemand(int n)
{
    if (n >= GetSize())
        SetSize(n + 1);
    if (GetAt(n) == nullptr)
        SetAt(n, new CPtrArray);
    return static_cast<CPtrArray*>(GetAt(n));
}

void CGXPtrArrayPtrArray::DeleteAll()
{
    for (int i = 0; i < GetSize(); ++i)
        delete static_cast<CPtrArray*>(GetAt(i));
    RemoveAll();
}

IMPLEMENT_SERIAL(CGXDWordArrayPtrArray, CPtrArray, 1)

CDWordArray* CGXDWordArrayPtrArray::LineOnDemand(int n)
{
    if (n >= GetSize())
        SetSize(n + 1);
    if (GetAt(n) == nullptr)
        SetAt(n, new CDWordArray);
    return static_cast<CDWordArray*>(GetAt(n));
}

void CGXDWordArrayPtrArray::DeleteAll()
{
    for (int i = 0; i < GetSize(); ++i)
        delete static_cast<CDWordArray*>(GetAt(i));
    RemoveAll();
}

void CGXDWordArrayPtrArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(1) << static_cast<DWORD>(GetSize());
        for (int i = 0; i < GetSize(); ++i) {
            if (CDWordArray* p = GetLine(i)) {
                ar << static_cast<DWORD>(i);
                p->Serialize(ar);
            }
        }
        ar << static_cast<DWORD>(0xFFFFFFFF);
        return;
    }
    WORD wSchema = 0;
    ar >> wSchema;
    if (wSchema != 1)
        AfxThrowArchiveException(CArchiveException::badSchema);
    DWORD nCount = 0;
    ar >> nCount;
    if (nCount > kMaxIndex)
        AfxThrowArchiveException(CArchiveException::badIndex);
    DeleteAll();
    // Lines arrive in rising order below the count; the array grows only as they arrive.
    DWORD nNext = 0;
    for (;;) {
        DWORD nIndex = 0;
        ar >> nIndex;
        if (nIndex == 0xFFFFFFFF)
            break;
        if (nIndex >= nCount || nIndex < nNext)
            AfxThrowArchiveException(CArchiveException::badIndex);
        CDWordArray* p = new CDWordArray;
        try {
            p->Serialize(ar);
        } catch (...) {
            delete p;
            throw;
        }
        SetAtGrow(static_cast<int>(nIndex), p);
        nNext = nIndex + 1;
    }
}

// ---------------------------------------------------------------------------
// Covered-cell index

POSITION CGXCoveredCellPool::Lookup(ROWCOL nRow, ROWCOL nCol)
{
    if (nRow > kMaxIndex || nCol > kMaxIndex)
        return nullptr;
    CPtrArray* p = m_rows.GetLine(static_cast<int>(nRow));
    if (p == nullptr || static_cast<int>(nCol) >= p->GetSize())
        return nullptr;
    return static_cast<POSITION>(p->GetAt(static_cast<int>(nCol)));
}

BOOL CGXCoveredCellPool::SetRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, POSITION pos)
{
    if (nBottom >= kMaxIndex || nRight >= kMaxIndex || nTop > nBottom || nLeft > nRight)
        return FALSE;
    for (ROWCOL r = nTop; r <= nBottom; ++r) {
        if (pos == nullptr && m_rows.GetLine(static_cast<int>(r)) == nullptr)
            continue;
        CPtrArray* p = m_rows.LineOnDemand(static_cast<int>(r));
        if (pos == nullptr && static_cast<int>(nLeft) >= p->GetSize())
            continue;
        if (static_cast<int>(nRight) >= p->GetSize())
            p->SetSize(static_cast<int>(nRight) + 1);
        for (ROWCOL c = nLeft; c <= nRight; ++c)
            p->SetAt(static_cast<int>(c), pos);
        if (pos != nullptr)
            for (int c = static_cast<int>(nRight) + 1; c < p->GetSize() && p->GetAt(c) == pos; ++c)
                p->SetAt(c, nullptr);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Span pools

IMPLEMENT_SERIAL(CGXSpanCellPool, CObject, 1)

void CGXSpanCellPool::Serialize(CArchive& ar)
{
    m_colTable.Serialize(ar);
    m_rowTable.Serialize(ar);
}

namespace {
DWORD Entry(const CDWordArray* p, DWORD n)
{
    return p != nullptr && n < static_cast<DWORD>(p->GetSize()) ? p->GetAt(static_cast<int>(n)) : 0;
}

// The run of entries holding the same first index as entry n: first..last; FALSE when none.
BOOL Run(const CDWordArray* p, DWORD n, DWORD& first, DWORD& last)
{
    const DWORD v = Entry(p, n);
    // A span starts at or before the cell (a damaged archive may say otherwise).
    if (v == 0 || v > n)
        return FALSE;
    first = v;
    last = n;
    while (Entry(p, last + 1) == v)
        ++last;
    return TRUE;
}

// Marks (or clears) first..last in the lines lo..hi of a table.
BOOL MarkAxis(CGXDWordArrayPtrArray& table, DWORD lo, DWORD hi, DWORD first, DWORD last, BOOL bSet)
{
    BOOL bChanged = FALSE;
    for (DWORD line = lo; line <= hi; ++line) {
        if (!bSet && table.GetLine(static_cast<int>(line)) == nullptr)
            continue;
        CDWordArray* p = table.LineOnDemand(static_cast<int>(line));
        const DWORD remembered = Entry(p, first);
        if (bSet) {
            if (static_cast<int>(last) >= p->GetSize())
                p->SetSize(static_cast<int>(last) + 1);
            for (DWORD i = first; i <= last; ++i) {
                bChanged = bChanged || p->GetAt(static_cast<int>(i)) != first;
                p->SetAt(static_cast<int>(i), first);
            }
            // What followed of the former span, or of spans that began inside the new one, goes.
            for (DWORD i = last + 1;; ++i) {
                const DWORD v = Entry(p, i);
                if (v == 0 || !(v == remembered || (v > first && v <= last)))
                    break;
                p->SetAt(static_cast<int>(i), 0);
                bChanged = TRUE;
            }
        } else if (remembered != 0) {
            for (DWORD i = first; Entry(p, i) == remembered; ++i) {
                p->SetAt(static_cast<int>(i), 0);
                bChanged = TRUE;
            }
        }
    }
    return bChanged;
}

// Removes entries that no longer belong to a run starting at their stored index, and runs of
// a single cell, after lines were inserted, removed or moved.
void NormalizeLine(CDWordArray& a)
{
    const DWORD n = static_cast<DWORD>(a.GetSize());
    for (DWORD i = 0; i < n; ++i) {
        const DWORD v = a[static_cast<int>(i)];
        if (v == 0)
            continue;
        const BOOL bStart = v == i;
        const BOOL bFollows = v < i && (a[static_cast<int>(i - 1)] == v);
        if (!bStart && !bFollows)
            a[static_cast<int>(i)] = 0;
    }
    for (DWORD i = 0; i < n; ++i) {
        const DWORD v = a[static_cast<int>(i)];
        if (v == i && v != 0 && Entry(&a, i + 1) != v)
            a[static_cast<int>(i)] = 0;
    }
}

// The entries of every line: where an index goes (0: removed) and how entries shift.
template <class Map>
void RemapEntries(CGXDWordArrayPtrArray& table, DWORD nNewSizeHint, Map map)
{
    for (int l = 0; l < table.GetSize(); ++l) {
        CDWordArray* p = table.GetLine(l);
        if (p == nullptr)
            continue;
        std::vector<DWORD> out(std::max<DWORD>(static_cast<DWORD>(p->GetSize()), nNewSizeHint), 0);
        DWORD nUsed = 0;
        for (DWORD i = 0; i < static_cast<DWORD>(p->GetSize()); ++i) {
            const DWORD v = (*p)[static_cast<int>(i)];
            DWORD vi = 0, vv = 0;
            if (!map(i, v, vi, vv))
                continue;
            if (vi >= out.size())
                out.resize(vi + 1, 0);
            out[vi] = vv;
            nUsed = std::max(nUsed, vi + 1);
        }
        p->SetSize(static_cast<int>(nUsed));
        for (DWORD i = 0; i < nUsed; ++i)
            (*p)[static_cast<int>(i)] = out[i];
        NormalizeLine(*p);
    }
}

BOOL InsertAxis(CGXDWordArrayPtrArray& lines, CGXDWordArrayPtrArray& cells, DWORD nFirst, DWORD nCount)
{
    if (nFirst > kMaxIndex || nCount > kMaxIndex - nFirst || (lines.GetSize() == 0 && cells.GetSize() == 0))
        return FALSE;
    if (static_cast<int>(nFirst) < lines.GetSize())
        lines.InsertAt(static_cast<int>(nFirst), nullptr, static_cast<int>(nCount));
    RemapEntries(cells, 0, [&](DWORD i, DWORD v, DWORD& ni, DWORD& nv) {
        ni = i >= nFirst ? i + nCount : i;
        nv = v >= nFirst && v != 0 ? v + nCount : v;
        return TRUE;
    });
    return TRUE;
}

BOOL RemoveAxis(CGXDWordArrayPtrArray& lines, CGXDWordArrayPtrArray& cells, DWORD nFirst, DWORD nLast)
{
    if (nLast > kMaxIndex || nFirst > nLast || (lines.GetSize() == 0 && cells.GetSize() == 0))
        return FALSE;
    const DWORD n = nLast - nFirst + 1;
    for (int i = static_cast<int>(nFirst); i <= static_cast<int>(nLast) && i < lines.GetSize(); ++i)
        delete lines.GetLine(i);
    lines.RemoveAt(static_cast<int>(nFirst), static_cast<int>(n));
    RemapEntries(cells, 0, [&](DWORD i, DWORD v, DWORD& ni, DWORD& nv) {
        if (i >= nFirst && i <= nLast)
            return FALSE;
        ni = i > nLast ? i - n : i;
        // A span that began in the removed lines lost its first cell: what is left of it goes.
        nv = v > nLast ? v - n : (v >= nFirst ? 0 : v);
        return TRUE;
    });
    return TRUE;
}

BOOL MoveAxis(CGXDWordArrayPtrArray& lines, CGXDWordArrayPtrArray& cells, DWORD nFirst, DWORD nLast, DWORD nDest)
{
    if (nLast > kMaxIndex || nFirst > nLast || nDest > kMaxIndex - (nLast - nFirst) ||
        (lines.GetSize() == 0 && cells.GetSize() == 0))
        return FALSE;
    auto moved = [&](DWORD i) { return CGXGridEngine::MovedIndex(i, nFirst, nLast, nDest); };
    const DWORD nSize = static_cast<DWORD>(lines.GetSize());
    if (nSize > 0) {
        const DWORD nNew = std::max(nSize, std::max(moved(nSize - 1), nDest + (nLast - nFirst)) + 1);
        std::vector<void*> out(nNew, nullptr);
        for (DWORD i = 0; i < nSize; ++i)
            out[moved(i)] = lines.GetAt(static_cast<int>(i));
        lines.SetSize(static_cast<int>(nNew));
        for (DWORD i = 0; i < nNew; ++i)
            lines.SetAt(static_cast<int>(i), out[i]);
    }
    RemapEntries(cells, 0, [&](DWORD i, DWORD v, DWORD& ni, DWORD& nv) {
        ni = moved(i);
        nv = v != 0 ? moved(v) : 0;
        return TRUE;
    });
    return TRUE;
}
} // namespace

BOOL CGXSpanCellPool::GetSpanCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range)
{
    if (nRow >= 0x80000000 || nCol >= 0x80000000)
        return FALSE;
    DWORD left = nCol, right = nCol, top = nRow, bottom = nRow;
    const BOOL bRow = Run(m_rowTable.GetLine(static_cast<int>(nRow)), nCol, left, right);
    const BOOL bCol = Run(m_colTable.GetLine(static_cast<int>(nCol)), nRow, top, bottom);
    if (!bRow && !bCol)
        return FALSE;
    range.SetCells(top, left, bottom, right);
    return TRUE;
}

BOOL CGXSpanCellPool::SetSpanCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, BOOL bSet)
{
    if (nBottom >= 0x80000000 || nRight >= 0x80000000 || nTop > nBottom || nLeft > nRight)
        return FALSE;
    BOOL bChanged = FALSE;
    // A span counts only along an axis where it is longer than one cell; clearing clears both.
    // Index 0 starts no span along its axis (a header row may still hold one across columns).
    if ((!bSet || nRight > nLeft) && nLeft != 0)
        bChanged |= MarkAxis(m_rowTable, nTop, nBottom, nLeft, nRight, bSet);
    if ((!bSet || nBottom > nTop) && nTop != 0)
        bChanged |= MarkAxis(m_colTable, nLeft, nRight, nTop, nBottom, bSet);
    return bChanged;
}

BOOL CGXSpanCellPool::InsertRows(ROWCOL nFirst, ROWCOL nCount) { return InsertAxis(m_rowTable, m_colTable, nFirst, nCount); }
BOOL CGXSpanCellPool::InsertCols(ROWCOL nFirst, ROWCOL nCount) { return InsertAxis(m_colTable, m_rowTable, nFirst, nCount); }
BOOL CGXSpanCellPool::RemoveRows(ROWCOL nFirst, ROWCOL nLast) { return RemoveAxis(m_rowTable, m_colTable, nFirst, nLast); }
BOOL CGXSpanCellPool::RemoveCols(ROWCOL nFirst, ROWCOL nLast) { return RemoveAxis(m_colTable, m_rowTable, nFirst, nLast); }
BOOL CGXSpanCellPool::MoveRows(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest)
{
    return MoveAxis(m_rowTable, m_colTable, nFirst, nLast, nDest);
}
BOOL CGXSpanCellPool::MoveCols(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest)
{
    return MoveAxis(m_colTable, m_rowTable, nFirst, nLast, nDest);
}

// ---------------------------------------------------------------------------
// Delayed ranges

IMPLEMENT_SERIAL(CGXDelayedRange, CObject, 1)

void CGXDelayedRange::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_range;
    else
        ar >> m_range;
    m_firsts.Serialize(ar);
    m_lasts.Serialize(ar);
    if (ar.IsLoading()) {
        if (m_firsts.GetSize() != m_lasts.GetSize())
            AfxThrowArchiveException(CArchiveException::badIndex);
        m_bDone = FALSE;
    }
}

DWORD CGXDelayedRange::CellCount() const
{
    const unsigned long long n =
        static_cast<unsigned long long>(m_range.GetHeight()) * static_cast<unsigned long long>(m_range.GetWidth());
    return n > 0xFFFFFFFFULL ? 0xFFFFFFFF : static_cast<DWORD>(n);
}

void CGXDelayedRange::AddInterval(DWORD nFirst, DWORD nLast)
{
    if (m_bDone || nFirst > nLast)
        return;
    // Merge with every interval that overlaps or touches, then keep the list sorted.
    int i = 0;
    while (i < m_firsts.GetSize() && m_lasts[i] != 0xFFFFFFFF && m_lasts[i] + 1 < nFirst)
        ++i;
    while (i < m_firsts.GetSize() && (nLast == 0xFFFFFFFF || m_firsts[i] <= nLast + 1)) {
        nFirst = std::min(nFirst, m_firsts[i]);
        nLast = std::max(nLast, m_lasts[i]);
        m_firsts.RemoveAt(i);
        m_lasts.RemoveAt(i);
    }
    m_firsts.InsertAt(i, nFirst);
    m_lasts.InsertAt(i, nLast);
    if (m_firsts.GetSize() == 1 && m_firsts[0] == 0 && m_lasts[0] >= CellCount() - 1 && CellCount() != 0xFFFFFFFF) {
        m_firsts.RemoveAll();
        m_lasts.RemoveAll();
        m_bDone = TRUE;
    }
}

BOOL CGXDelayedRange::IsEvaluated(DWORD n) const
{
    if (m_bDone)
        return TRUE;
    for (int i = 0; i < m_firsts.GetSize(); ++i)
        if (n >= m_firsts[i] && n <= m_lasts[i])
            return TRUE;
    return FALSE;
}

IMPLEMENT_SERIAL(CGXDelayedRangePool, CObject, 1)

void CGXDelayedRangePool::Serialize(CArchive& ar)
{
    if (ar.IsLoading())
        Empty();
    m_ranges.Serialize(ar);
    if (ar.IsLoading()) {
        // Anything else than delayed ranges is dropped, not trusted.
        for (int i = m_ranges.GetSize() - 1; i >= 0; --i) {
            CObject* p = m_ranges.GetAt(i);
            if (p == nullptr || !p->IsKindOf(RUNTIME_CLASS(CGXDelayedRange))) {
                delete p;
                m_ranges.RemoveAt(i);
            }
        }
    }
}

namespace {
BOOL Inside(const CGXRange& inner, const CGXRange& outer)
{
    return inner.top >= outer.top && inner.bottom <= outer.bottom && inner.left >= outer.left &&
           inner.right <= outer.right;
}
} // namespace

void CGXDelayedRangePool::AddRange(const CGXRange& range)
{
    if (range.top > range.bottom || range.left > range.right)
        return;
    int nSlot = -1;
    for (int i = 0; i < GetCount(); ++i) {
        CGXDelayedRange* d = GetAt(i);
        if (!d->m_bDone && Inside(d->m_range, range))
            d->m_bDone = TRUE;
        if (d->m_bDone) {
            if (nSlot < 0)
                nSlot = i;
            continue;
        }
        if (!d->NothingEvaluated())
            continue;
        CGXRange& r = d->m_range;
        if (Inside(range, r))
            return;
        // A pending range just left of (above) the new one, as tall (wide) or more, grows over it.
        if (r.right != 0xFFFFFFFF && r.right + 1 == range.left && r.top <= range.top && r.bottom >= range.bottom) {
            r.right = range.right;
            return;
        }
        if (r.bottom != 0xFFFFFFFF && r.bottom + 1 == range.top && r.left <= range.left && r.right >= range.right) {
            r.bottom = range.bottom;
            return;
        }
    }
    CGXRange cells;
    cells.SetCells(range.top, range.left, range.bottom, range.right);
    if (nSlot >= 0) {
        delete m_ranges.GetAt(nSlot);
        m_ranges.SetAt(nSlot, new CGXDelayedRange(cells));
    } else {
        m_ranges.Add(new CGXDelayedRange(cells));
    }
}

void CGXDelayedRangePool::ExtractPending(const CGXRange& range, CDWordArray& firsts, CDWordArray& lasts)
{
    const int nRows = range.bottom >= range.top ? static_cast<int>(range.bottom - range.top + 1) : 0;
    firsts.SetSize(nRows);
    lasts.SetSize(nRows);
    for (int k = 0; k < nRows; ++k) {
        const ROWCOL row = range.top + static_cast<ROWCOL>(k);
        DWORD first = 0, last = 0;
        for (int i = 0; i < GetCount(); ++i) {
            CGXDelayedRange* d = GetAt(i);
            const CGXRange& r = d->m_range;
            if (d->m_bDone || row < r.top || row > r.bottom)
                continue;
            const ROWCOL l = std::max(range.left, r.left), rr = std::min(range.right, r.right);
            if (l > rr)
                continue;
            const unsigned long long base = static_cast<unsigned long long>(row - r.top) * r.GetWidth();
            const BOOL bTracked = base + (rr - r.left) < 0xFFFFFFFFULL;
            for (ROWCOL c = l;; ++c) {
                if (!bTracked || !d->IsEvaluated(static_cast<DWORD>(base + (c - r.left)))) {
                    first = first == 0 ? c : std::min<DWORD>(first, c);
                    last = std::max<DWORD>(last, c);
                }
                if (c == rr)
                    break;
            }
            if (bTracked)
                d->AddInterval(static_cast<DWORD>(base + (l - r.left)), static_cast<DWORD>(base + (rr - r.left)));
        }
        firsts[k] = first;
        lasts[k] = last;
    }
}

namespace {
void Limit(CGXDelayedRangePool& pool, BOOL bRows, ROWCOL n)
{
    for (int i = 0; i < pool.GetCount(); ++i) {
        CGXDelayedRange* d = pool.GetAt(i);
        CGXRange& r = d->m_range;
        ROWCOL& a = bRows ? r.top : r.left;
        ROWCOL& b = bRows ? r.bottom : r.right;
        if (a <= n && b <= n)
            continue;
        a = std::min(a, n);
        b = std::min(b, n);
        // The evaluated cells were counted in the old shape: evaluate all of it again.
        d->m_firsts.RemoveAll();
        d->m_lasts.RemoveAll();
    }
}
} // namespace

void CGXDelayedRangePool::LimitRows(ROWCOL nRow) { Limit(*this, TRUE, nRow); }
void CGXDelayedRangePool::LimitCols(ROWCOL nCol) { Limit(*this, FALSE, nCol); }

void CGXDelayedRangePool::RemoveDone()
{
    for (int i = GetCount() - 1; i >= 0; --i)
        if (GetAt(i)->m_bDone) {
            delete GetAt(i);
            m_ranges.RemoveAt(i);
        }
}

void CGXDelayedRangePool::Empty()
{
    for (int i = 0; i < GetCount(); ++i)
        delete GetAt(i);
    m_ranges.RemoveAll();
}
