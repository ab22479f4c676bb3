// Rectangles of grid cells (cells, whole rows, whole columns, the table) and
// owning lists of them that follow row and column changes.
#pragma once
#include "afx.h"

typedef DWORD ROWCOL;

enum GXRangeType : DWORD
{
    GX_RANGE_CELLS = 0,
    GX_RANGE_ROWS = 1,
    GX_RANGE_COLS = 2,
    GX_RANGE_TABLE = 3,
};

class CGXRange
{
public:
    DWORD type = GX_RANGE_CELLS;
    ROWCOL top = 0;
    ROWCOL left = 0;
    ROWCOL bottom = 0;
    ROWCOL right = 0;
    BOOL valid = FALSE;

    CGXRange() = default;
    CGXRange(const CGXRange&) = default;
    // An invalid cells range when none is given.
    explicit CGXRange(const CGXRange* pRange);
    CGXRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight) { SetCells(nTop, nLeft, nBottom, nRight); }
    CGXRange(ROWCOL nRow, ROWCOL nCol) { SetCells(nRow, nCol, nRow, nCol); }
    CGXRange& operator=(const CGXRange&) = default;

    CGXRange& SetCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight);
    CGXRange& SetCells(ROWCOL nRow, ROWCOL nCol) { return SetCells(nRow, nCol, nRow, nCol); }
    CGXRange& SetRows(ROWCOL nFirst, ROWCOL nLast);
    CGXRange& SetRows(ROWCOL nRow) { return SetRows(nRow, nRow); }
    CGXRange& SetCols(ROWCOL nFirst, ROWCOL nLast);
    CGXRange& SetCols(ROWCOL nCol) { return SetCols(nCol, nCol); }
    CGXRange& SetTable();

    BOOL IsCells() const { return type == GX_RANGE_CELLS; }
    BOOL IsRows() const { return type == GX_RANGE_ROWS; }
    BOOL IsCols() const { return type == GX_RANGE_COLS; }
    BOOL IsTable() const { return type == GX_RANGE_TABLE; }
    BOOL IsValid() const { return valid; }

    // Turns rows, columns or the table into cells within the given extent.
    CGXRange& ExpandToCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight);
    BOOL Contains(ROWCOL nRow, ROWCOL nCol) const;
    // Both work on the stored bounds alone; expand other kinds to cells first.
    BOOL Intersect(const CGXRange& a, const CGXRange& b);
    BOOL Union(const CGXRange& a, const CGXRange& b);

    ROWCOL GetHeight() const { return bottom - top + 1; }
    ROWCOL GetWidth() const { return right - left + 1; }

    bool operator==(const CGXRange& r) const
    {
        return type == r.type && top == r.top && left == r.left && bottom == r.bottom && right == r.right &&
               (valid != 0) == (r.valid != 0);
    }
    bool operator!=(const CGXRange& r) const { return !(*this == r); }
};

CArchive& operator<<(CArchive& ar, const CGXRange& range);
CArchive& operator>>(CArchive& ar, CGXRange& range);

// An ordered list of owned ranges.
class CGXRangeList : public CPtrList
{
    DECLARE_SERIAL(CGXRangeList)
public:
    CGXRangeList() : CPtrList(10) {}
    ~CGXRangeList() override;
    CGXRangeList(const CGXRangeList&) = delete;
    CGXRangeList& operator=(const CGXRangeList&) = delete;
    // Replaces the contents with copies of the other list's ranges.
    void CopyFrom(const CGXRangeList& src);

    CGXRange* GetRangeAt(POSITION pos) const { return static_cast<CGXRange*>(const_cast<CGXRangeList*>(this)->GetAt(pos)); }

    void DeleteAll();
    POSITION FindRange(ROWCOL nRow, ROWCOL nCol) const;
    BOOL AnyRangeContains(ROWCOL nRow, ROWCOL nCol, POSITION posSkip = nullptr) const;

    void InsertRows(ROWCOL nFirst, ROWCOL nCount);
    void InsertCols(ROWCOL nFirst, ROWCOL nCount);
    void RemoveRows(ROWCOL nFirst, ROWCOL nLast, ROWCOL nMaxRow);
    void RemoveCols(ROWCOL nFirst, ROWCOL nLast, ROWCOL nMaxCol);
    void MoveRows(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest, ROWCOL nMaxRow);
    void MoveCols(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest, ROWCOL nMaxCol);

    // Covered rows (columns) as sorted, merged spans; FALSE when no range counted.
    BOOL GetRowSpans(ROWCOL nRowCount, CDWordArray& starts, CDWordArray& ends, BOOL bAnyKind = FALSE) const;
    BOOL GetColSpans(ROWCOL nColCount, CDWordArray& starts, CDWordArray& ends, BOOL bAnyKind = FALSE) const;

    void Serialize(CArchive& ar) override;
};
