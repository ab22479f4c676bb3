// The pure rules of grid drawing and geometry, on engines without windows.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "grid_test_util.h"
#include "gxaxis.h"
#include "gxdraw.h"
#include "gxhint.h"
#include "gxutil.h"
#include <map>

namespace {
// An engine without a window on an explicit grid rectangle, with the
// fallback size factors (rows 1200 / 66 = 18 px, columns 10000 / 100 = 100 px).
class DrawRulesTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CGXGridEngine grid{nullptr};
    void SetUp() override
    {
        AfxSeamReset();
        grid.InitObjects();
        grid.GetParam()->GetData()->StoreRowCount(100);
        grid.GetParam()->GetData()->StoreColCount(20);
        CRect r(0, 0, 400, 300);
        grid.SetGridRect(TRUE, &r);
    }
    CGXGridParam* Param() { return grid.GetParam(); }
};
} // namespace

TEST(DrawRules, CellLineFlags)
{
    struct Case
    {
        BOOL borders[4];   // left, right, top, bottom
        BOOL bRB;
        ROWCOL row, col, headerRows, headerCols, frozenRows, frozenCols;
        WORD expected;
    } cases[] = {
        // Lines at left/top: the grid lines go where no left or top border is.
        {{0, 0, 0, 0}, FALSE, 3, 3, 0, 0, 0, 0, GX_CF_VLINE | GX_CF_HLINE},
        {{1, 0, 1, 0}, FALSE, 3, 3, 0, 0, 0, 0, GX_CF_BORDER_LEFT | GX_CF_BORDER_TOP},
        {{0, 1, 0, 1}, FALSE, 3, 3, 0, 0, 0, 0, GX_CF_BORDER_RIGHT | GX_CF_BORDER_BOTTOM | GX_CF_VLINE | GX_CF_HLINE},
        // Lines at right/bottom: the right and bottom sides decide.
        {{0, 1, 0, 1}, TRUE, 3, 3, 0, 0, 0, 0, GX_CF_BORDER_RIGHT | GX_CF_BORDER_BOTTOM},
        {{1, 0, 1, 0}, TRUE, 3, 3, 0, 0, 0, 0, GX_CF_BORDER_LEFT | GX_CF_BORDER_TOP | GX_CF_VLINE | GX_CF_HLINE},
        // The last frozen row and column carry the dividers, after the headers only.
        {{0, 0, 0, 0}, FALSE, 2, 2, 0, 0, 2, 2, GX_CF_VLINE | GX_CF_HLINE | GX_CF_FROZENCOL | GX_CF_FROZENROW},
        {{0, 0, 0, 0}, FALSE, 1, 1, 1, 1, 1, 1, GX_CF_VLINE | GX_CF_HLINE},
        {{0, 0, 0, 0}, FALSE, 2, 3, 1, 1, 2, 2, GX_CF_VLINE | GX_CF_HLINE | GX_CF_FROZENROW},
        {{0, 1, 0, 1}, FALSE, 2, 2, 0, 0, 2, 2, GX_CF_BORDER_RIGHT | GX_CF_BORDER_BOTTOM | GX_CF_VLINE | GX_CF_HLINE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GXCellLineFlags(c.borders, c.bRB, c.row, c.col, c.headerRows, c.headerCols, c.frozenRows, c.frozenCols),
                  c.expected)
            << "row " << c.row << " col " << c.col << " rb " << c.bRB;
    }
}

TEST(DrawRules, BackgroundRuns)
{
    const GXBrushRecord red(BS_SOLID, RGB(255, 0, 0)), blue(BS_SOLID, RGB(0, 0, 255));
    struct Case
    {
        std::vector<const GXBrushRecord*> interiors;
        std::vector<WORD> flags;
        std::vector<std::pair<int, int>> runs;
        std::vector<bool> fillsItself;
    } cases[] = {
        {{&red, &red, &red}, {0, 0, 0}, {{0, 2}}, {false, false, false}},
        {{&red}, {0}, {}, {true}},
        {{&red, &blue, &blue, &red}, {0, 0, 0, 0}, {{1, 2}}, {true, false, false, true}},
        // A span cell breaks a run; a cell without style joins one.
        {{&red, &red, &red}, {0, GX_CF_SPAN, 0}, {}, {true, true, true}},
        {{&red, nullptr, &red}, {0, 0, 0}, {{0, 2}}, {false, false, false}},
    };
    for (Case& c : cases) {
        const int n = static_cast<int>(c.flags.size());
        std::vector<int> first(n), last(n);
        const int runs = GXMergeBackgroundRuns(c.flags.data(), c.interiors.data(), n, first.data(), last.data());
        ASSERT_EQ(runs, static_cast<int>(c.runs.size()));
        for (int i = 0; i < runs; ++i)
            EXPECT_EQ(std::make_pair(first[i], last[i]), c.runs[i]);
        for (int i = 0; i < n; ++i) {
            if (!(c.flags[i] & GX_CF_SPAN)) {
                EXPECT_EQ((c.flags[i] & GX_CF_BACKGROUND) != 0, c.fillsItself[i]) << i;
            }
        }
    }
}

TEST(DrawRules, CurrentCellFrameBands)
{
    CRect b[4];
    GXCurrentCellFrameBands(CRect(10, 20, 50, 40), FALSE, b);
    // 3 pixels at top and left, 2 at bottom and right, no overlaps.
    EXPECT_EQ(b[0], CRect(10, 20, 48, 23));
    EXPECT_EQ(b[1], CRect(10, 23, 13, 38));
    EXPECT_EQ(b[2], CRect(10, 38, 48, 40));
    EXPECT_EQ(b[3], CRect(48, 20, 50, 40));
    GXCurrentCellFrameBands(CRect(10, 20, 50, 40), TRUE, b);
    EXPECT_EQ(b[0], CRect(10, 20, 50, 22));
    EXPECT_EQ(b[1], CRect(10, 22, 12, 40));
    EXPECT_EQ(b[2], CRect(47, 22, 50, 37));
    EXPECT_EQ(b[3], CRect(12, 37, 50, 40));
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            CRect x;
            EXPECT_FALSE(x.IntersectRect(b[i], b[j])) << i << "," << j;
        }
}

TEST_F(DrawRulesTest, SubtractAndAddBorders)
{
    CGXStyle plain, bordered;
    bordered.SetBorders(gxBorderTop, GXPenRecord(PS_SOLID, 2, 0));
    bordered.SetBorders(gxBorderRight, GXPenRecord(PS_SOLID, 0, 0));   // width 0 counts 1
    CGXStyle nullPen;
    nullPen.SetBorders(gxBorderLeft, GXPenRecord(PS_NULL, 3, 0));
    const CRect r(0, 0, 100, 20);
    struct Case
    {
        const CGXStyle* style;
        BOOL bRB;
        CRect inner;
        CSize grown;
    } cases[] = {
        {&plain, FALSE, CRect(1, 1, 100, 20), CSize(11, 11)},
        {&plain, TRUE, CRect(0, 0, 99, 19), CSize(11, 11)},
        {&bordered, FALSE, CRect(1, 2, 99, 20), CSize(12, 12)},
        {&nullPen, FALSE, CRect(1, 1, 100, 20), CSize(11, 11)},
    };
    for (const Case& c : cases) {
        Param()->m_bLinesAtRightBottom = c.bRB;
        EXPECT_EQ(grid.SubtractBorders(r, *c.style, TRUE), c.inner);
        EXPECT_EQ(grid.AddBorders(CSize(10, 10), *c.style), c.grown);
    }
    Param()->m_bLinesAtRightBottom = FALSE;
    EXPECT_EQ(grid.SubtractBorders(r, plain, FALSE), r);
}

TEST_F(DrawRulesTest, ClientAndAbsoluteRows)
{
    struct Case
    {
        ROWCOL F, T;
        std::vector<std::pair<ROWCOL, ROWCOL>> rowToClient;
    } cases[] = {
        {2, 10, {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {9, 0}, {10, 3}, {11, 4}, {GX_INVALID, GX_INVALID}}},
        {2, 3, {{0, 0}, {2, 2}, {3, 3}, {50, 50}}},
        // A top row at or above the frozen count (the drawing lock lets it be set so) wraps nowhere.
        {5, 4, {{3, 3}, {5, 5}, {6, 6}, {7, 7}}},
        // A lower splitter pane has no frozen rows: the distance is the top row.
        {0, 10, {{0, 0}, {9, 0}, {10, 1}, {12, 3}}},
    };
    for (const Case& c : cases) {
        Param()->m_nFrozenRows = c.F;
        grid.m_nTopRow = c.T;
        for (auto [row, client] : c.rowToClient) {
            EXPECT_EQ(grid.RowToClientRow(row), client) << "F " << c.F << " T " << c.T << " row " << row;
            if (client != 0 || row == 0) {
                EXPECT_EQ(grid.ClientRowToRow(client), row) << "F " << c.F << " T " << c.T;
            }
        }
    }
}

TEST_F(DrawRulesTest, SetTopRowClamps)
{
    Param()->m_nFrozenRows = 3;
    grid.SetTopRow(2, 0);
    EXPECT_EQ(grid.m_nTopRow, 4u);
    grid.SetTopRow(0, 0);
    EXPECT_EQ(grid.m_nTopRow, 4u);
    grid.SetTopRow(500, 0);
    EXPECT_EQ(grid.m_nTopRow, 100u);
    // Under the drawing lock the top row still stays after the frozen rows.
    Param()->m_bLockUpdate = TRUE;
    grid.SetTopRow(1, 0);
    EXPECT_EQ(grid.m_nTopRow, 4u);
    Param()->m_bLockUpdate = FALSE;
    // While printing only the page's top row moves.
    grid.SetPrinting(TRUE);
    grid.SetTopRow(20, 0);
    EXPECT_EQ(grid.GetTopRow(), 20u);
    grid.SetPrinting(FALSE);
    EXPECT_EQ(grid.GetTopRow(), 4u);
}

TEST_F(DrawRulesTest, ScrollUnitKeepsPositionsIn16Bits)
{
    grid.SetScrollBarMode(SB_VERT, 1, FALSE);
    grid.SetGridScrollRange(SB_VERT, 1, 100000, FALSE);
    EXPECT_EQ(grid.GetScrollUnit(SB_VERT), 4);
    grid.SetGridScrollRange(SB_VERT, 1, 32766, FALSE);
    EXPECT_EQ(grid.GetScrollUnit(SB_VERT), 1);
}

TEST_F(DrawRulesTest, SizeConversions)
{
    struct Case
    {
        int factor;
        BOOL bRows;
        int pixels;
        LONG stored;
    } cases[] = {
        {15, TRUE, 20, 1320},   // 1000 / 15 = 66
        {0, TRUE, 20, 1320},    // no factor: the row fallback 15
        {-3, FALSE, 20, 2000},  // the column fallback 10
        {10, FALSE, 100, 10000},
        {1500, TRUE, 20, 20},   // a factor above 1000 keeps the quotient at 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GXPixelsToStored(c.pixels, c.factor, c.bRows), c.stored) << c.factor;
        EXPECT_EQ(GXStoredToPixels(c.stored, c.factor, c.bRows), c.pixels) << c.factor;
    }
    EXPECT_EQ(GXStoredToPixels(1200, 15, TRUE), 18);   // not 18.18
    // The engine's defaults with the fallback factors.
    EXPECT_EQ(grid.GetRowHeight(0), 21);
    EXPECT_EQ(grid.GetRowHeight(5), 18);
    EXPECT_EQ(grid.GetColWidth(0), 60);
    EXPECT_EQ(grid.GetColWidth(5), 100);
    EXPECT_TRUE(grid.SetRowHeight(5, 0, 20, nullptr, 0));
    LONG stored = 0;
    ASSERT_TRUE(Param()->m_rowHeights.Lookup(5, stored));
    EXPECT_EQ(stored, 1320);
    EXPECT_EQ(grid.GetRowHeight(5), 20);
    EXPECT_EQ(grid.GetRowHeight(6), 18);
    EXPECT_TRUE(grid.StoreColWidth(5, -1));
    EXPECT_EQ(grid.GetColWidth(5), 100);
    EXPECT_FALSE(grid.SetDefaultRowHeight(0, 0));
}

TEST_F(DrawRulesTest, HiddenRowsStayWithinTheTable)
{
    EXPECT_TRUE(grid.HideRows(4, 5, TRUE, nullptr, 0));
    EXPECT_EQ(grid.GetRowHeight(4), 0);
    EXPECT_TRUE(grid.IsRowHidden(5));
    EXPECT_FALSE(grid.IsRowHidden(6));
    // A row beyond the count is refused and grows nothing.
    const INT_PTR before = Param()->m_hiddenRows.GetSize();
    EXPECT_FALSE(grid.StoreHideRow(1000000, TRUE));
    EXPECT_EQ(Param()->m_hiddenRows.GetSize(), before);
    EXPECT_FALSE(grid.HideCols(21, 21, TRUE, nullptr, 0));
    EXPECT_TRUE(grid.HideRows(4, 4, FALSE, nullptr, 0));
    EXPECT_EQ(grid.GetRowHeight(4), 18);
}

TEST_F(DrawRulesTest, GeometryWithFrozenAndScrolledRows)
{
    // Rows: 0 is 21 px, the others 18; columns: 0 is 60 px, the others 100.
    Param()->m_nFrozenRows = 2;
    grid.m_nTopRow = 10;
    struct PtCase
    {
        int y;
        ROWCOL client;
        int top;
    } pts[] = {{0, 0, 0}, {20, 0, 0}, {21, 1, 21}, {38, 1, 21}, {39, 2, 39}, {57, 3, 57}, {299, 16, 291}};
    for (const PtCase& c : pts) {
        int top = -1;
        EXPECT_EQ(grid.CalcClientRowFromPt(CPoint(5, c.y), &top), c.client) << c.y;
        EXPECT_EQ(top, c.top) << c.y;
    }
    // Client row 3 is row 10, right below the frozen rows.
    EXPECT_EQ(grid.CalcRectFromRowColEx(10, 1, 10, 1), CRect(60, 57, 160, 75));
    EXPECT_EQ(grid.CalcRectFromRowColEx(1, 1, 2, 2), CRect(60, 21, 260, 57));
    // Rows scrolled away above the top row take no room.
    EXPECT_EQ(grid.CalcRectFromRowColEx(4, 1, 8, 1), CRect(0, 0, 0, 0));
    EXPECT_EQ(grid.CalcRectFromRowColEx(2, 1, 11, 1), CRect(60, 39, 160, 93));
    // A range starting in the scrolled-away part begins at the top row.
    EXPECT_EQ(grid.CalcRectFromRowColEx(5, 1, 10, 1), CRect(60, 57, 160, 75));
    // Beyond the last column: no column.
    EXPECT_EQ(grid.CalcClientColFromPt(CPoint(399, 5)), 4u);
    Param()->GetData()->StoreColCount(2);
    EXPECT_EQ(grid.CalcClientColFromPt(CPoint(399, 5)), GX_INVALID);
    EXPECT_EQ(grid.CalcClientColFromPt(CPoint(0, 5)), 0u);
}

TEST_F(DrawRulesTest, CuttingRangesOutOfTheSelection)
{
    CGXRangeList& sel = Param()->m_selRanges;
    auto cells = [&](ROWCOL nRows, ROWCOL nCols) {
        std::vector<std::pair<ROWCOL, ROWCOL>> v;
        for (ROWCOL r = 0; r <= nRows; ++r)
            for (ROWCOL c = 0; c <= nCols; ++c)
                if (sel.AnyRangeContains(r, c))
                    v.emplace_back(r, c);
        return v;
    };
    // A cell out of a 3 x 3 block: four pieces, the block without the cell.
    grid.ChangeSelectionList(CGXRange(2, 2, 4, 4), TRUE);
    grid.ChangeSelectionList(CGXRange(3, 3), FALSE);
    EXPECT_EQ(sel.GetCount(), 4);
    std::vector<std::pair<ROWCOL, ROWCOL>> expected;
    for (ROWCOL r = 2; r <= 4; ++r)
        for (ROWCOL c = 2; c <= 4; ++c)
            if (!(r == 3 && c == 3))
                expected.emplace_back(r, c);
    EXPECT_EQ(cells(6, 6), expected);
    sel.DeleteAll();

    // Row 5 out of the table: row ranges 1-4 and 6-100.
    grid.ChangeSelectionList(CGXRange().SetTable(), TRUE);
    grid.ChangeSelectionList(CGXRange().SetRows(5), FALSE);
    ASSERT_EQ(sel.GetCount(), 2);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange().SetRows(1, 4));
    EXPECT_EQ(*sel.GetRangeAt(sel.GetTailPosition()), CGXRange().SetRows(6, 100));
    sel.DeleteAll();

    // Columns out of columns stay columns.
    grid.ChangeSelectionList(CGXRange().SetCols(2, 8), TRUE);
    grid.ChangeSelectionList(CGXRange().SetCols(4, 5), FALSE);
    ASSERT_EQ(sel.GetCount(), 2);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange().SetCols(2, 3));
    EXPECT_EQ(*sel.GetRangeAt(sel.GetTailPosition()), CGXRange().SetCols(6, 8));
    sel.DeleteAll();
}

TEST_F(DrawRulesTest, StyleCacheIndexes)
{
    struct Case
    {
        ROWCOL frozen, top, row;
        int index;   // -1 outside
    } cases[] = {
        {0, 1, 0, 0},     {0, 1, 1, 1},      {0, 1, 91, 91},   {0, 1, 92, -1},
        {2, 30, 1, 1},    {2, 30, 14, 3},    {2, 30, 13, -1},  {2, 30, 102, 91}, {2, 30, 103, -1},
        // 100 frozen rows: frozen rows past the capacity and every scrolled row lie outside.
        {100, 101, 50, 50}, {100, 101, 91, 91}, {100, 101, 95, -1}, {100, 101, 101, -1},
    };
    Param()->GetData()->StoreRowCount(1000);
    for (const Case& c : cases) {
        grid.FreeStyleCache();
        Param()->m_nFrozenRows = c.frozen;
        grid.m_nTopRow = c.top;
        int ri = -1, ci = -1;
        const BOOL in = grid.GetStyleCacheIndex(c.row, 1, ri, ci);
        EXPECT_EQ(in ? ri : -1, c.index) << "frozen " << c.frozen << " top " << c.top << " row " << c.row;
    }
    // Composing through the cache gives the cell's own style, inside and outside.
    Param()->m_nFrozenRows = 100;
    grid.m_nTopRow = 101;
    grid.FreeStyleCache();
    grid.SetValueRange(CGXRange(95, 1), "ninety-five", gxOverride, 0, 0);
    grid.SetValueRange(CGXRange(50, 1), "fifty", gxOverride, 0, 0);
    EXPECT_EQ(grid.GetCellStyle(95, 1).GetValue(), "ninety-five");
    EXPECT_EQ(grid.GetCellStyle(50, 1).GetValue(), "fifty");
}

TEST_F(DrawRulesTest, SelectionDragEdge)
{
    grid.m_bDragEnabled = TRUE;
    const CRect cell(100, 50, 200, 70);
    Param()->m_selRanges.AddTail(new CGXRange(3, 3, 5, 5));
    struct Case
    {
        ROWCOL row, col;
        CPoint pt;
        int zone;
    } cases[] = {
        {3, 3, CPoint(104, 60), 5}, // 4 px inside the left edge
        {3, 3, CPoint(105, 60), 0}, // 5 px: inside the cell
        {4, 3, CPoint(150, 54), 0}, // not the range's top row
        {3, 4, CPoint(150, 54), 5}, // the top edge
        {5, 5, CPoint(199, 60), 5}, // the right edge
        {5, 4, CPoint(150, 66), 5}, // the bottom edge
        {7, 7, CPoint(101, 51), 0}, // not selected
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.HitTestSelectionEdge(c.row, c.col, c.pt, cell), c.zone) << c.row << "," << c.col;
    // Rows have no side edges.
    Param()->m_selRanges.DeleteAll();
    Param()->m_selRanges.AddTail(new CGXRange(CGXRange().SetRows(3, 5)));
    EXPECT_EQ(grid.HitTestSelectionEdge(3, 1, CPoint(101, 60), cell), 0);
    EXPECT_EQ(grid.HitTestSelectionEdge(3, 1, CPoint(150, 51), cell), 5);
    // The whole table: only the corner cell answers.
    Param()->m_selRanges.DeleteAll();
    Param()->m_selRanges.AddTail(new CGXRange(CGXRange().SetTable()));
    EXPECT_EQ(grid.HitTestSelectionEdge(1, 1, CPoint(101, 51), cell), 0);
    EXPECT_EQ(grid.HitTestSelectionEdge(0, 0, CPoint(101, 60), cell), 5);
    // Dragging disabled.
    grid.m_bDragEnabled = FALSE;
    EXPECT_EQ(grid.HitTestSelectionEdge(0, 0, CPoint(101, 60), cell), 0);
    Param()->m_selRanges.DeleteAll();
}

namespace {
// Records which update half a hint reaches, with its arguments.
class CHintRecordingEngine : public CGXGridEngine
{
public:
    CHintRecordingEngine() : CGXGridEngine(nullptr) {}
    std::vector<std::string> calls;
    int nHintsSent = 0;
    void Log(const std::string& s) { calls.push_back(s); }
    static std::string N(DWORD n) { return std::to_string(n); }
    void UpdateAllViews(CWnd*, LPARAM, CObject*) override { ++nHintsSent; }
    void Redraw(UINT f, BOOL) override { Log("Redraw " + N(f)); }
    void RedrawRange(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r, UINT f, BOOL) override
    {
        Log("RedrawRange " + N(t) + " " + N(l) + " " + N(b) + " " + N(r) + " " + N(f));
    }
    void RefreshAfterRowCountChange(ROWCOL r, UINT f, BOOL) override { Log("RowCount " + N(r) + " " + N(f)); }
    void RefreshAfterColCountChange(ROWCOL c, UINT f, BOOL) override { Log("ColCount " + N(c) + " " + N(f)); }
    void UpdateChangedRowHeights(ROWCOL a, ROWCOL b, const int* p, UINT f, BOOL) override
    {
        Log("Heights " + N(a) + " " + N(b) + (p ? " old" : "") + " " + N(f));
    }
    void UpdateChangedColWidths(ROWCOL a, ROWCOL b, const int* p, UINT f, BOOL) override
    {
        Log("Widths " + N(a) + " " + N(b) + (p ? " old" : "") + " " + N(f));
    }
    void RedrawSelectionChange(POSITION, ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r, BOOL) override
    {
        Log("SelectionChange " + N(t) + " " + N(l) + " " + N(b) + " " + N(r));
    }
    void RedrawAllSelections(BOOL) override { Log("AllSelections"); }
    void UpdateFrozenRows(ROWCOL a, ROWCOL b, UINT f, BOOL) override { Log("FrozenRows " + N(a) + " " + N(b) + " " + N(f)); }
    void UpdateFrozenCols(ROWCOL a, ROWCOL b, UINT f, BOOL) override { Log("FrozenCols " + N(a) + " " + N(b) + " " + N(f)); }
    void UpdateStyleRange(const CGXRange& r, const CGXStyle*, int m, int t, UINT f, BOOL) override
    {
        Log("StyleRange " + N(r.top) + " " + N(m) + " " + N(t) + " " + N(f));
    }
    void UpdateZoom(int z, UINT f, BOOL) override { Log("Zoom " + N(z) + " " + N(f)); }
    BOOL StoreZoom(int z, BOOL) override
    {
        Log("StoreZoom " + N(z));
        return TRUE;
    }
    void UpdateReadOnly(BOOL b, BOOL) override { Log("ReadOnly " + N(b)); }
    void UpdateCoveredCellsRowCol(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r, UINT f, BOOL) override
    {
        Log("Covered " + N(t) + " " + N(l) + " " + N(b) + " " + N(r) + " " + N(f));
    }
    void InvertChangedSelection(const CGXRange& r, const CGXRangeList* p, BOOL) override
    {
        Log("InvertChanged " + N(r.top) + (p ? " old" : ""));
    }
    BOOL PlaceCurrentCell(ROWCOL r, ROWCOL c, UINT f) override
    {
        Log("Place " + N(r) + " " + N(c) + " " + N(f));
        return TRUE;
    }
    void UpdateProperties(UINT f, BOOL) override { Log("Properties " + N(f)); }
    void UpdateStylesMap(UINT f, BOOL) override { Log("StylesMap " + N(f)); }
    void UpdateBaseStyle(WORD id, UINT f, BOOL) override { Log("BaseStyle " + N(id) + " " + N(f)); }
};
} // namespace

TEST(DrawRules, HintTable)
{
    CProfileTestRoot root;
    CHintRecordingEngine e;
    e.InitObjects();
    e.m_nHintTag = 7;
    e.m_bLinkedToDocument = TRUE;
    int oldSizes[2] = {1, 2};
    CGXRangeList oldList;
    const std::map<UINT, std::string> expected = {
        {1, "Redraw 2"}, {2, "RedrawRange 3 4 5 6 2"}, {3, "RowCount 3 2"}, {4, "ColCount 4 2"},
        {5, "Heights 3 5 old 2"}, {6, "Widths 4 6 old 2"}, {13, "SelectionChange 3 4 5 6"}, {14, "AllSelections"},
        {15, "FrozenRows 3 5 2"}, {16, "FrozenCols 4 6 2"}, {17, "StyleRange 8 9 4 2"}, {21, "ReadOnly 9"},
        {23, "InvertChanged 8 old"}, {27, "Place 3 4 2"}, {33, "Properties 2"}, {34, "StylesMap 2"},
        {35, "BaseStyle 9 2"}, {18, "Covered 8 8 8 8 2"}, {28, "RedrawRange 3 4 5 6 2"},
        {29, "RedrawRange 3 4 5 6 2"},
    };
    for (UINT n = 0; n <= 36; ++n) {
        CGXGridHint hint(n, 7);
        hint.nRow1 = 3;
        hint.nCol1 = 4;
        hint.nRow2 = 5;
        hint.nCol2 = 6;
        hint.flags = 2;
        hint.lParam = 9;
        hint.m_range = CGXRange(8, 8);
        hint.pObject1 = oldSizes;
        hint.pObject3 = &oldList;
        e.calls.clear();
        e.OnGridUpdate(nullptr, n, &hint);
        auto it = expected.find(n);
        if (it != expected.end()) {
            ASSERT_EQ(e.calls.size(), 1u) << "hint " << n;
            EXPECT_EQ(e.calls[0], it->second) << "hint " << n;
        } else if (n == 0 || n == 36 || n == 19 || n == 20) {
            EXPECT_TRUE(e.calls.empty()) << "hint " << n;
        }
    }
    // No hint goes on from a receiver.
    EXPECT_EQ(e.nHintsSent, 0);
    // Zoom hints act with the shared-zoom word set.
    e.GetParam()->m_wSharedZoom = 1;
    CGXGridHint zoom(19, 7);
    zoom.lParam = 150;
    zoom.flags = 2;
    e.calls.clear();
    e.OnGridUpdate(nullptr, 19, &zoom);
    zoom.m_nHint = 20;
    e.OnGridUpdate(nullptr, 20, &zoom);
    EXPECT_EQ(e.calls, (std::vector<std::string>{"Zoom 150 2", "StoreZoom 150"}));
    // Another grid's hint and a foreign object do nothing; tag -1 reaches every grid.
    e.calls.clear();
    CGXGridHint other(1, 8);
    e.OnGridUpdate(nullptr, 1, &other);
    CGXRangeList notAHint;
    e.OnGridUpdate(nullptr, 1, &notAHint);
    EXPECT_TRUE(e.calls.empty());
    CGXGridHint any(1, -1);
    any.flags = 4;
    e.OnGridUpdate(nullptr, 1, &any);
    EXPECT_EQ(e.calls, (std::vector<std::string>{"Redraw 4"}));
}
