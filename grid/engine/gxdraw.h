// The pure rules of grid drawing: the flags each drawn cell carries, the
// merging of equal backgrounds into runs, and the current cell's frame.
#pragma once
#include "gxengine.h"
#include <vector>

// Flags of a drawn cell.
enum
{
    GX_CF_BORDER_LEFT = 0x0001,
    GX_CF_BORDER_RIGHT = 0x0002,
    GX_CF_BORDER_TOP = 0x0004,
    GX_CF_BORDER_BOTTOM = 0x0008,
    GX_CF_SELECTED = 0x0010,
    GX_CF_BACKGROUND = 0x0020,   // background not yet filled
    GX_CF_SPAN = 0x0040,
    GX_CF_COVERED = 0x0080,
    GX_CF_SPANFOLLOW = 0x0100,
    GX_CF_HLINE = 0x0200,
    GX_CF_VLINE = 0x0400,
    GX_CF_FROZENCOL = 0x0800,    // the right edge is the frozen columns' divider
    GX_CF_FROZENROW = 0x1000,    // the bottom edge is the frozen rows' divider
};

// The border and line flags of a cell outside spans. bBorders: left, right,
// top, bottom.
WORD GXCellLineFlags(const BOOL bBorders[4], BOOL bLinesAtRightBottom, ROWCOL nRow, ROWCOL nCol, ROWCOL nHeaderRows,
                     ROWCOL nHeaderCols, ROWCOL nFrozenRows, ROWCOL nFrozenCols);

// Merges the backgrounds of one row of cells: every cell is marked
// GX_CF_BACKGROUND first; runs of two or more cells of equal interior
// (cells without style join any run) lose the mark and are reported as
// (first, last) pairs to fill at once; a lone cell keeps it and fills itself.
// ppInterior[i] is null for a cell without style. Returns the number of runs.
int GXMergeBackgroundRuns(WORD* pFlags, const GXBrushRecord* const* ppInterior, int nCount, int* pFirst,
                          int* pLast);

// The four non-overlapping bands of the frame the engine inverts inside the
// current cell.
void GXCurrentCellFrameBands(const CRect& rect, BOOL bLinesAtRightBottom, CRect bands[4]);

// The part of a covered, merged or floated span within one frozen pane of a
// block: drawn once, from the block cell (i, j) where it is first met, to the
// block's row iLast and column jLast.
struct GXDrawSpanPart
{
    CGXRange span;
    ROWCOL iLast, jLast;
};

// What one block drawing works with.
struct GXDrawContext
{
    // The paint: grid rectangle, counts, line settings and colours.
    CRect rectGrid;
    ROWCOL nRowCount = 0, nColCount = 0;
    BOOL bLinesAtRightBottom = FALSE, bHorzLines = FALSE, bVertLines = FALSE;
    COLORREF background = 0, fixedColor = 0;   // beyond the last row and column, frozen dividers
    // The block's on-screen rows and columns.
    ROWCOL nRows = 0, nCols = 0;
    ROWCOL nTopRow = 0, nLeftCol = 0;
    ROWCOL nFrozenRows = 0, nFrozenCols = 0, nHeaderRows = 0, nHeaderCols = 0;
    CArray<int, int> rowHeights, colWidths, rowTops, colLefts;
    CDWordArray rows, cols;
    CPtrArray styles;
    CWordArray flags;
    CGXControl* pCurrentControl = nullptr;
    CRect rectCurrent;
    BOOL bSelection = FALSE;
    BOOL bColor = TRUE;
    CDC* pDC = nullptr;
    CRect rectClip;
    // The span parts of the block, and for each block cell the part it starts (-1: none).
    std::vector<GXDrawSpanPart> spanParts;
    std::vector<int> spanPartAt;

    BOOL HasLastRow() const { return rows[nRows - 1] == nRowCount; }
    BOOL HasLastCol() const { return cols[nCols - 1] == nColCount; }
    int BlockRight() const { return colLefts[nCols - 1] + colWidths[nCols - 1]; }
    int BlockBottom() const { return rowTops[nRows - 1] + rowHeights[nRows - 1]; }

    const CGXStyle* Style(ROWCOL i, ROWCOL j) const { return static_cast<const CGXStyle*>(styles[i * nCols + j]); }
    WORD& Flags(ROWCOL i, ROWCOL j) { return flags[i * nCols + j]; }
    CRect CellRect(ROWCOL i, ROWCOL j) const
    {
        return CRect(colLefts[j], rowTops[i], colLefts[j] + colWidths[j], rowTops[i] + rowHeights[i]);
    }
};
