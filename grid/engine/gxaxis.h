// Rows and columns are twins in the engine's geometry: these helpers take
// the direction as an argument so that every rule is written once.
#pragma once
#include "gxengine.h"

namespace gxaxis {

inline ROWCOL Count(CGXGridEngine& e, BOOL bRows) { return bRows ? e.GetRowCount() : e.GetColCount(); }
inline ROWCOL Frozen(CGXGridEngine& e, BOOL bRows) { return bRows ? e.GetFrozenRows() : e.GetFrozenCols(); }
inline ROWCOL Headers(CGXGridEngine& e, BOOL bRows) { return bRows ? e.GetHeaderRows() : e.GetHeaderCols(); }
inline ROWCOL First(CGXGridEngine& e, BOOL bRows) { return bRows ? e.GetTopRow() : e.GetLeftCol(); }
inline int Size(CGXGridEngine& e, BOOL bRows, ROWCOL n) { return bRows ? e.GetRowHeight(n) : e.GetColWidth(n); }
inline ROWCOL ToClient(CGXGridEngine& e, BOOL bRows, ROWCOL n)
{
    return bRows ? e.RowToClientRow(n) : e.ColToClientCol(n);
}
inline ROWCOL FromClient(CGXGridEngine& e, BOOL bRows, ROWCOL n)
{
    return bRows ? e.ClientRowToRow(n) : e.ClientColToCol(n);
}
inline int SumAbs(CGXGridEngine& e, BOOL bRows, ROWCOL a, ROWCOL b, int nLimit = 0)
{
    return bRows ? e.CalcSumOfRowHeights(a, b, nLimit) : e.CalcSumOfColWidths(a, b, nLimit);
}
inline int SumClient(CGXGridEngine& e, BOOL bRows, ROWCOL a, ROWCOL b, int nLimit = 0)
{
    return bRows ? e.SumRowHeights(a, b, nLimit) : e.SumColWidths(a, b, nLimit);
}
// The grid rectangle's start and length along the direction.
inline int Start(const CRect& r, BOOL bRows) { return bRows ? r.top : r.left; }
inline int End(const CRect& r, BOOL bRows) { return bRows ? r.bottom : r.right; }
inline int Length(const CRect& r, BOOL bRows) { return bRows ? r.Height() : r.Width(); }
inline int Coord(CPoint pt, BOOL bRows) { return bRows ? pt.y : pt.x; }

} // namespace gxaxis

// The engine's "no particular row or column".
const ROWCOL GX_INVALID = 0xFFFFFFFF;

// Stored sizes are pixels times the whole quotient 1000 / f, f the standard
// font's line height (rows) or character width (columns); a factor of 0 or
// below uses the fallback factors and the quotient is never below 1.
int GXSizeQuotient(int nFactor, BOOL bRows);
inline LONG GXPixelsToStored(int nPixels, int nFactor, BOOL bRows)
{
    return static_cast<LONG>(nPixels) * GXSizeQuotient(nFactor, bRows);
}
inline int GXStoredToPixels(LONG nStored, int nFactor, BOOL bRows)
{
    return static_cast<int>(nStored / GXSizeQuotient(nFactor, bRows));
}

// Tells the pane beside this grid in its splitter to show the same top row
// (bRows) or left column (hints 25 and 26).
void GXSendPaneHint(CGXGridEngine& e, BOOL bRows, ROWCOL n, UINT nFlags);

// Where a scan across a row (column) goes on after a cell that lies in a
// span ending at nSpanLast: the cell right after the span.
inline ROWCOL GXNextAfterSpan(ROWCOL nSpanLast) { return nSpanLast + 1; }
