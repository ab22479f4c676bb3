// Containers of spans: the index of covered cells, the span pools of float
// and merge cells, and the pool of ranges whose spans wait for evaluation.
#pragma once
#include "afx.h"
#include "afxcoll.h"
#include "gxaxis.h"
#include "gxrange.h"

// Owned pointer arrays of pointer arrays (or of DWORD arrays), one element per line; null where
// nothing was stored.
class CGXPtrArrayPtrArray : public CPtrArray
{
public:
    CGXPtrArrayPtrArray() = default;
    ~CGXPtrArrayPtrArray() override { DeleteAll(); }
    CGXPtrArrayPtrArray(const CGXPtrArrayPtrArray&) = delete;
    CGXPtrArrayPtrArray& operator=(const CGXPtrArrayPtrArray&) = delete;
    CPtrArray* GetLine(int n) const { return n >= 0 && n < GetSize() ? static_cast<CPtrArray*>(GetAt(n)) : nullptr; }
    CPtrArray* LineOnDemand(int n);
    void DeleteAll();
};

class CGXDWordArrayPtrArray : public CPtrArray
{
    DECLARE_SERIAL(CGXDWordArrayPtrArray)
public:
    CGXDWordArrayPtrArray() = default;
    ~CGXDWordArrayPtrArray() override { DeleteAll(); }
    CGXDWordArrayPtrArray(const CGXDWordArrayPtrArray&) = delete;
    CGXDWordArrayPtrArray& operator=(const CGXDWordArrayPtrArray&) = delete;
    CDWordArray* GetLine(int n) const
    {
        return n >= 0 && n < GetSize() ? static_cast<CDWordArray*>(GetAt(n)) : nullptr;
    }
    CDWordArray* LineOnDemand(int n);
    void DeleteAll();
    // WORD schema 1, DWORD count, then index and array of every line held, last 0xFFFFFFFF.
    // Loading checks the count and that the indexes rise below it before it allocates; empty
    // lines at the end are not kept (a missing line reads as empty).
    void Serialize(CArchive& ar) override;
};

// Which covered range each cell lies in: per row, per column, the range's list position.
class CGXCoveredCellPool : public CObject
{
public:
    CGXCoveredCellPool() = default;
    virtual POSITION Lookup(ROWCOL nRow, ROWCOL nCol);
    // Enters pos into the cells of the range (null clears them); entries right of the range that
    // held the same position are cleared. FALSE for indexes beyond 0x7FFFFFFF.
    virtual BOOL SetRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, POSITION pos);
    void Empty() { m_rows.DeleteAll(); }

protected:
    CGXPtrArrayPtrArray m_rows;
};

// Spans kept per line: the column table holds, per column and row, the first row of the span
// covering the cell (vertical extent); the row table, per row and column, the first column.
// 0 means none, so headers cannot start a span.
class CGXSpanCellPool : public CObject
{
    DECLARE_SERIAL(CGXSpanCellPool)
public:
    CGXSpanCellPool() = default;
    void Serialize(CArchive& ar) override;
    virtual BOOL GetSpanCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range);
    virtual BOOL SetSpanCellsRowCol(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, BOOL bSet);
    virtual BOOL InsertRows(ROWCOL nFirst, ROWCOL nCount);
    virtual BOOL RemoveRows(ROWCOL nFirst, ROWCOL nLast);
    virtual BOOL MoveRows(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest);
    virtual BOOL InsertCols(ROWCOL nFirst, ROWCOL nCount);
    virtual BOOL RemoveCols(ROWCOL nFirst, ROWCOL nLast);
    virtual BOOL MoveCols(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest);
    BOOL IsEmpty() const { return m_colTable.GetSize() == 0 && m_rowTable.GetSize() == 0; }

    CGXDWordArrayPtrArray m_colTable;
    CGXDWordArrayPtrArray m_rowTable;
};

// A rectangle whose spans wait for evaluation, with the intervals of it already evaluated.
class CGXDelayedRange : public CObject
{
    DECLARE_SERIAL(CGXDelayedRange)
public:
    CGXDelayedRange() = default;
    explicit CGXDelayedRange(const CGXRange& range) : m_range(range) {}
    void Serialize(CArchive& ar) override;
    // Records first..last (indexes of the rectangle's cells, row-major from 0) as evaluated.
    void AddInterval(DWORD nFirst, DWORD nLast);
    BOOL IsEvaluated(DWORD n) const;
    BOOL NothingEvaluated() const { return !m_bDone && m_firsts.GetSize() == 0; }
    DWORD CellCount() const;

    CGXRange m_range;
    CDWordArray m_firsts, m_lasts;
    BOOL m_bDone = FALSE;
};

class CGXDelayedRangePool : public CObject
{
    DECLARE_SERIAL(CGXDelayedRangePool)
public:
    CGXDelayedRangePool() = default;
    ~CGXDelayedRangePool() override { Empty(); }
    CGXDelayedRangePool(const CGXDelayedRangePool&) = delete;
    CGXDelayedRangePool& operator=(const CGXDelayedRangePool&) = delete;
    void Serialize(CArchive& ar) override;
    void AddRange(const CGXRange& range);
    // For each row of the range, the first and last column still pending inside it (0: none);
    // they count as evaluated afterwards.
    void ExtractPending(const CGXRange& range, CDWordArray& firsts, CDWordArray& lasts);
    void LimitRows(ROWCOL nRow);
    void LimitCols(ROWCOL nCol);
    void RemoveDone();
    void Empty();
    int GetCount() const { return static_cast<int>(m_ranges.GetSize()); }
    CGXDelayedRange* GetAt(int i) const { return static_cast<CGXDelayedRange*>(m_ranges.GetAt(i)); }

    CObArray m_ranges;
};

// Grows a range by the spans found in it, line by line (rows when bRows, else columns); a line's
// scan resumes right after each span found. lookup(row, col, span) answers a cell's span.
template <class Lookup>
void GXExpandRangeBySpans(CGXRange& range, BOOL bRows, Lookup lookup)
{
    ROWCOL& lineLo = bRows ? range.top : range.left;
    ROWCOL& lineHi = bRows ? range.bottom : range.right;
    ROWCOL& cellHi = bRows ? range.right : range.bottom;
    const ROWCOL cellLo = bRows ? range.left : range.top;
    for (ROWCOL n = lineLo; n <= lineHi && n < 0x7FFFFFFF; ++n)
        for (ROWCOL k = cellLo; k <= cellHi && k < 0x7FFFFFFF;) {
            CGXRange span;
            if (lookup(bRows ? n : k, bRows ? k : n, span)) {
                range.Union(range, span);
                k = GXNextAfterSpan(bRows ? span.right : span.bottom);
            } else {
                ++k;
            }
        }
}
