// Inserting, removing and moving rows and columns and the other changing operations, each done,
// undone and redone against a snapshot of every structure the grid keeps by row and column.
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include "afxseam.h"
#include "afxwin.h"
#include "grid_test_util.h"
#include "gxundo.h"
#include "gxutil.h"

namespace {
class StructureTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    std::unique_ptr<CGXGridEngine> m_pGrid;
    CGXGridEngine& G() { return *m_pGrid; }

    // 8 rows x 5 columns: values "r.c", a row style on row 3, a column style on column 4, a height
    // of its own on row 4, a width on column 2, row 6 hidden, cells (2,2)-(3,3) selected, one
    // frozen row and the current cell at (5,3).
    void SetUp() override
    {
        AfxSeamReset();
        m_pGrid.reset(new CGXGridEngine(nullptr));
        G().InitObjects();
        CGXGridParam* p = G().GetParam();
        p->GetData()->StoreRowCount(8);
        p->GetData()->StoreColCount(5);
        for (ROWCOL r = 1; r <= 8; ++r)
            for (ROWCOL c = 1; c <= 5; ++c)
                G().SetValueRange(CGXRange(r, c), (std::to_string(r) + "." + std::to_string(c)).c_str());
        CGXStyle s;
        s.SetValue("row3");
        G().SetStyleRange(CGXRange().SetRows(3), &s, gxOverride, -1);
        s.SetValue("col4");
        G().SetStyleRange(CGXRange().SetCols(4), &s, gxOverride, -1);
        G().SetRowHeight(4, 4, 30);
        G().SetColWidth(2, 2, 90);
        G().HideRows(6, 6, TRUE);
        G().SetFrozenRows(1, 0);
        G().SelectRange(CGXRange(2, 2, 3, 3));
        G().SetCurrentCellState(TRUE, 5, 3);
        p->EmptyUndoList();
        p->EmptyRedoList();
    }

    std::string Value(ROWCOL r, ROWCOL c, int nType = 0)
    {
        CGXStyle s;
        return G().ReadCellStyle(r, c, s, gxCopy, nType) ? std::string((LPCSTR)s.GetValue()) : "-";
    }

    // Every structure, one labelled line each.
    std::map<std::string, std::string> Snap()
    {
        std::map<std::string, std::string> m;
        const ROWCOL R = G().GetRowCount(), C = G().GetColCount();
        std::ostringstream cells, rows, cols, heights, widths, hidden, sel;
        for (ROWCOL r = 1; r <= R; ++r) {
            for (ROWCOL c = 1; c <= C; ++c)
                cells << Value(r, c) << (c < C ? "," : "");
            cells << (r < R ? " " : "");
            rows << Value(r, 0, -1) << (r < R ? " " : "");
            heights << G().GetRowHeight(r) << (r < R ? " " : "");
            if (G().IsRowHidden(r))
                hidden << "r" << r << " ";
        }
        for (ROWCOL c = 1; c <= C; ++c) {
            cols << Value(0, c, -1) << (c < C ? " " : "");
            widths << G().GetColWidth(c) << (c < C ? " " : "");
            if (G().IsColHidden(c))
                hidden << "c" << c << " ";
        }
        CGXRangeList& list = G().GetParam()->m_selRanges;
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            const CGXRange* r = list.GetRangeAt(pos);
            list.GetNext(pos);
            sel << r->type << ":" << r->top << "," << r->left << "-" << r->bottom << "," << r->right << " ";
        }
        ROWCOL cr = 0, cc = 0;
        m["count"] = std::to_string(R) + "x" + std::to_string(C);
        m["cells"] = cells.str();
        m["rowstyles"] = rows.str();
        m["colstyles"] = cols.str();
        m["heights"] = heights.str();
        m["widths"] = widths.str();
        m["hidden"] = hidden.str();
        m["sel"] = sel.str();
        m["current"] = G().GetCurrentCellPos(cr, cc) ? std::to_string(cr) + "," + std::to_string(cc) : "none";
        m["frozen"] = std::to_string(G().GetFrozenRows()) + "/" + std::to_string(G().GetFrozenCols());
        m["defaults"] = std::to_string(G().GetDefaultRowHeight()) + "/" + std::to_string(G().GetDefaultColWidth());
        m["standard"] = std::string((LPCSTR)G().GetStandardStyle()->GetValue());
        return m;
    }

    static std::string Diff(const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b)
    {
        std::string s;
        for (const auto& kv : a)
            if (b.at(kv.first) != kv.second)
                s += kv.first + ": [" + kv.second + "] vs [" + b.at(kv.first) + "]\n";
        return s;
    }
};

struct Case
{
    const char* name;
    std::function<BOOL(CGXGridEngine&)> op;
    std::map<std::string, std::string> expect;   // the lines the operation changes, as they read after it
    std::vector<std::string> notRestored = {};     // what undo does not bring back (besides the selection)
};
} // namespace

// The fixture's lines, for reading the table below:
//   cells: rows "r.1,...,r.5", heights "20 20 20 30 20 0 20 20", widths "50 90 50 50 50" (defaults)
TEST_F(StructureTest, EachOperationUndoesAndRedoesToTheSameState)
{
    const auto before = Snap();
    const int H = G().GetDefaultRowHeight(), W = G().GetDefaultColWidth();
    auto h = [&](std::vector<int> v) {
        std::string s;
        for (size_t i = 0; i < v.size(); ++i)
            s += std::to_string(v[i] < 0 ? H : v[i]) + (i + 1 < v.size() ? " " : "");
        return s;
    };
    auto w = [&](std::vector<int> v) {
        std::string s;
        for (size_t i = 0; i < v.size(); ++i)
            s += std::to_string(v[i] < 0 ? W : v[i]) + (i + 1 < v.size() ? " " : "");
        return s;
    };
    auto col1 = [&](std::map<std::string, std::string>& m) {
        // The first value of each row tells the rows' order.
        std::istringstream in(m["cells"]);
        std::string row, out;
        while (in >> row)
            out += row.substr(0, row.find(',')) + " ";
        return out;
    };
    const Case cases[] = {
        {"insert rows", [](CGXGridEngine& g) { return g.InsertRows(3, 2); },
         {{"count", "10x5"}, {"rowstyles", "- - - - row3 - - - - -"}, {"current", "7,3"},
          {"heights", h({-1, -1, -1, -1, -1, 30, -1, 0, -1, -1})}, {"hidden", "r8 "}, {"sel", "0:2,2-5,3 "}}},
        {"remove rows", [](CGXGridEngine& g) { return g.RemoveRows(2, 3); },
         {{"count", "6x5"}, {"rowstyles", "- - - - - -"}, {"current", "3,3"}, {"sel", ""},
          {"heights", h({-1, 30, -1, 0, -1, -1})}, {"hidden", "r4 "}}},
        {"remove the current row", [](CGXGridEngine& g) { return g.RemoveRows(5, 5); },
         {{"count", "7x5"}, {"current", "none"}, {"sel", ""}, {"heights", h({-1, -1, -1, 30, 0, -1, -1})},
          {"hidden", "r5 "}},
         {"current"}},
        {"move rows down", [](CGXGridEngine& g) { return g.MoveRows(2, 3, 5); },
         {{"rowstyles", "- - - - - row3 - -"}, {"heights", h({-1, 30, -1, 0, -1, -1, -1, -1})},
          {"hidden", "r4 "}, {"current", "3,3"}}},
        {"move rows up", [](CGXGridEngine& g) { return g.MoveRows(6, 7, 2); },
         {{"rowstyles", "- - - - row3 - - -"}, {"heights", h({-1, 0, -1, -1, -1, 30, -1, -1})},
          {"hidden", "r2 "}, {"current", "7,3"}}},
        {"insert columns", [](CGXGridEngine& g) { return g.InsertCols(2, 1); },
         {{"count", "8x6"}, {"colstyles", "- - - - col4 -"}, {"widths", w({-1, -1, 90, -1, -1, -1})},
          {"current", "5,4"}}},
        {"remove columns", [](CGXGridEngine& g) { return g.RemoveCols(3, 4); },
         {{"count", "8x3"}, {"colstyles", "- - -"}, {"current", "none"}, {"sel", ""}},
         {"current"}},
        {"move columns", [](CGXGridEngine& g) { return g.MoveCols(1, 2, 4); },
         {{"colstyles", "- col4 - - -"}, {"widths", w({-1, -1, -1, -1, 90})}, {"current", "5,1"}}},
        {"more rows", [](CGXGridEngine& g) { return g.SetRowCount(10); },
         {{"count", "10x5"}, {"rowstyles", "- - row3 - - - - - - -"},
          {"heights", h({-1, -1, -1, 30, -1, 0, -1, -1, -1, -1})}}},
        {"fewer rows", [](CGXGridEngine& g) { return g.SetRowCount(4); },
         {{"count", "4x5"}, {"current", "none"}, {"heights", h({-1, -1, -1, 30})}, {"hidden", ""}, {"sel", ""}},
         // The hidden row 6 comes back hidden.
         {"current"}},
        {"style range", [](CGXGridEngine& g) {
             CGXStyle s;
             s.SetValue("X");
             return g.SetStyleRange(CGXRange(2, 2, 3, 4), &s, gxOverride);
         },
         {}},
        {"base style", [](CGXGridEngine& g) {
             CGXStyle s;
             s.SetValue("base");
             return g.ChangeBaseStyle(g.GetParam()->GetStylesMap()->GetStandardStyleId(), s, gxOverride);
         },
         {{"standard", "base"}}},
        {"row heights", [](CGXGridEngine& g) { return g.SetRowHeight(3, 4, 40); },
         {{"heights", h({-1, -1, 40, 40, -1, 0, -1, -1})}}},
        {"column width", [](CGXGridEngine& g) { return g.SetColWidth(2, 3, 70); },
         {{"widths", w({-1, 70, 70, -1, -1})}}},
        {"hide rows", [](CGXGridEngine& g) { return g.HideRows(2, 3); }, {{"hidden", "r2 r3 r6 "}}},
        {"hide a column", [](CGXGridEngine& g) { return g.HideCols(3, 3); }, {{"hidden", "r6 c3 "}}},
        {"show", [](CGXGridEngine& g) { return g.HideRows(6, 6, FALSE); },
         {{"hidden", ""}, {"heights", h({-1, -1, -1, 30, -1, -1, -1, -1})}}},
        {"default height", [](CGXGridEngine& g) { return g.SetDefaultRowHeight(25); }, {}},
        {"frozen rows", [](CGXGridEngine& g) { return g.SetFrozenRows(3, 0); }, {{"frozen", "3/0"}}},
    };
    for (const Case& c : cases) {
        SetUp();
        const auto start = Snap();
        ASSERT_EQ(Diff(start, before), "") << c.name;
        ASSERT_TRUE(c.op(G())) << c.name;
        auto done = Snap();
        for (const auto& kv : c.expect)
            EXPECT_EQ(done[kv.first], kv.second) << c.name << ": " << kv.first;
        EXPECT_NE(Diff(start, done), "") << c.name;
        // Some moves read by their first column.
        if (std::string(c.name) == "move rows down") {
            EXPECT_EQ(col1(done), "1.1 4.1 5.1 6.1 2.1 3.1 7.1 8.1 ") << c.name;
        }
        if (std::string(c.name) == "move rows up") {
            EXPECT_EQ(col1(done), "1.1 6.1 7.1 2.1 3.1 4.1 5.1 8.1 ") << c.name;
        }
        // One undo step takes the whole change back, one redo does it again.
        EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), 1) << c.name;
        ASSERT_TRUE(G().Undo()) << c.name;
        auto undone = Snap();
        // Undo keeps no selection; what it does not restore is listed per case.
        undone["sel"] = start.at("sel");
        for (const std::string& key : c.notRestored)
            undone[key] = start.at(key);
        EXPECT_EQ(Diff(start, undone), "") << c.name << " undone";
        ASSERT_TRUE(G().Redo()) << c.name;
        auto redone = Snap();
        // Redo makes the remembered cell current again; compare the rest.
        redone["current"] = done["current"];
        redone["sel"] = done["sel"];
        EXPECT_EQ(Diff(done, redone), "") << c.name << " redone";
    }
}

// Removed hidden rows (columns) come back hidden, with the sizes of their own, and with their
// contents and styles; redo removes them again.
TEST_F(StructureTest, RemovedHiddenRowsAndColumnsComeBackHidden)
{
    G().SetRowHeight(6, 6, 33);
    G().SetColWidth(3, 3, 70);
    G().HideCols(3, 3);
    G().GetParam()->EmptyUndoList();
    const auto start = Snap();
    ASSERT_TRUE(G().RemoveRows(5, 7));
    ASSERT_TRUE(G().RemoveCols(2, 3));
    ASSERT_TRUE(G().Undo());
    ASSERT_TRUE(G().Undo());
    auto m = Snap();
    EXPECT_EQ(m["hidden"], "r6 c3 ");
    m["sel"] = start.at("sel");
    m["current"] = start.at("current");
    EXPECT_EQ(Diff(start, m), "");
    EXPECT_EQ(Value(6, 3), "6.3");
    ASSERT_TRUE(G().Redo());
    EXPECT_EQ(Snap()["hidden"], "c3 ");
    ASSERT_TRUE(G().Undo());
    ASSERT_TRUE(G().HideRows(6, 6, FALSE));
    ASSERT_TRUE(G().HideCols(3, 3, FALSE));
    EXPECT_EQ(G().GetRowHeight(6), 33);
    EXPECT_EQ(G().GetColWidth(3), 70);
}

// Insert, remove and move stay inside the data rows (columns): what lies before the first one or
// past the count is cut off, and undo takes back exactly what was done.
TEST_F(StructureTest, StructureChangesStayInsideTheGrid)
{
    // Column 1 top to bottom, or row 1 left to right.
    auto order = [&](bool bCols) {
        std::string s;
        const ROWCOL n = bCols ? G().GetColCount() : G().GetRowCount();
        for (ROWCOL i = 1; i <= n; ++i)
            s += (bCols ? Value(1, i) : Value(i, 1)) + " ";
        return s;
    };
    const struct
    {
        const char* name;
        std::function<BOOL(CGXGridEngine&)> op;
        BOOL ok;
        const char* count;
        std::string order;   // column 1 top to bottom, or row 1 left to right for the column cases
    } cases[] = {
        {"remove past the count", [](CGXGridEngine& g) { return g.RemoveRows(7, 20); }, TRUE, "6x5",
         "1.1 2.1 3.1 4.1 5.1 6.1 "},
        {"remove from the header row", [](CGXGridEngine& g) { return g.RemoveRows(0, 2); }, TRUE, "6x5",
         "3.1 4.1 5.1 6.1 7.1 8.1 "},
        {"remove wholly past the count", [](CGXGridEngine& g) { return g.RemoveRows(9, 12); }, FALSE, "8x5",
         "1.1 2.1 3.1 4.1 5.1 6.1 7.1 8.1 "},
        {"move to past the count", [](CGXGridEngine& g) { return g.MoveRows(2, 3, 8); }, TRUE, "8x5",
         "1.1 4.1 5.1 6.1 7.1 8.1 2.1 3.1 "},
        {"move the header row", [](CGXGridEngine& g) { return g.MoveRows(0, 1, 3); }, TRUE, "8x5",
         "2.1 3.1 1.1 4.1 5.1 6.1 7.1 8.1 "},
        {"move onto the header row", [](CGXGridEngine& g) { return g.MoveRows(4, 5, 0); }, TRUE, "8x5",
         "4.1 5.1 1.1 2.1 3.1 6.1 7.1 8.1 "},
        {"move rows past the count", [](CGXGridEngine& g) { return g.MoveRows(7, 10, 2); }, TRUE, "8x5",
         "1.1 7.1 8.1 2.1 3.1 4.1 5.1 6.1 "},
        {"insert before the header row", [](CGXGridEngine& g) { return g.InsertRows(0, 1); }, TRUE, "9x5",
         "- 1.1 2.1 3.1 4.1 5.1 6.1 7.1 8.1 "},
        {"insert past the count", [](CGXGridEngine& g) { return g.InsertRows(20, 2); }, TRUE, "10x5",
         "1.1 2.1 3.1 4.1 5.1 6.1 7.1 8.1 - - "},
        {"remove columns past the count", [](CGXGridEngine& g) { return g.RemoveCols(4, 9); }, TRUE, "8x3",
         "1.1 1.2 1.3 "},
        {"remove columns from the header", [](CGXGridEngine& g) { return g.RemoveCols(0, 1); }, TRUE, "8x4",
         "1.2 1.3 1.4 1.5 "},
        {"move columns to past the count", [](CGXGridEngine& g) { return g.MoveCols(1, 2, 5); }, TRUE, "8x5",
         "1.3 1.4 1.5 1.1 1.2 "},
    };
    for (const auto& c : cases) {
        SetUp();
        // The corner cell stays in place while the header row and column do.
        G().SetValueRange(CGXRange(0, 0), "h");
        G().GetParam()->EmptyUndoList();
        const auto start = Snap();
        EXPECT_EQ(c.op(G()), c.ok) << c.name;
        EXPECT_EQ(Value(0, 0), "h") << c.name;
        EXPECT_EQ(Snap()["count"], c.count) << c.name;
        const bool bCols = std::string(c.name).find("columns") != std::string::npos;
        EXPECT_EQ(order(bCols), c.order) << c.name;
        if (!c.ok) {
            EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), 0) << c.name;
            continue;
        }
        ASSERT_TRUE(G().Undo()) << c.name;
        auto undone = Snap();
        undone["sel"] = start.at("sel");
        undone["current"] = start.at("current");
        EXPECT_EQ(Diff(start, undone), "") << c.name << " undone";
    }
}

// A move onto itself and a move of a read-only grid change nothing; a removal that keeps no undo
// information empties both lists, since older commands name rows by number.
TEST_F(StructureTest, RefusedMovesAndRemovalsWithoutHistory)
{
    const auto before = Snap();
    EXPECT_FALSE(G().MoveRows(3, 4, 3));
    EXPECT_EQ(Diff(before, Snap()), "");
    EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), 0);

    G().SetRowHeight(2, 2, 33);
    G().Undo();
    ASSERT_EQ(G().GetParam()->GetRedoList().GetCount(), 1);
    G().SetColWidth(1, 1, 60);
    ASSERT_EQ(G().GetParam()->GetUndoList().GetCount(), 1);
    G().GetParam()->m_wUndoRowOptions = 0;
    EXPECT_TRUE(G().RemoveRows(2, 2));
    EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), 0);
    EXPECT_EQ(G().GetParam()->GetRedoList().GetCount(), 0);
    EXPECT_EQ(G().GetParam()->m_nUndoCount, 0u);
}

// Removing more rows than undo can keep asks first: Cancel changes nothing, OK removes them and
// empties both lists.
TEST_F(StructureTest, TooLargeForUndoAsks)
{
    G().GetParam()->GetData()->StoreRowCount(40000);
    G().SetRowHeight(2, 2, 33);
    const ROWCOL n = G().GetRowCount();
    AfxSeamAnswer(IDCANCEL);
    EXPECT_FALSE(G().RemoveRows(2, 32769 + 1));
    EXPECT_EQ(G().GetRowCount(), n);
    EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), 1);
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_STREQ((LPCSTR)AfxSeamCalls()[0].text, "Operation is too large for the undo buffer. Do you want to continue?");
    AfxSeamAnswer(IDOK);
    EXPECT_TRUE(G().RemoveRows(2, 32769 + 1));
    EXPECT_EQ(G().GetRowCount(), n - 32769);
    EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), 0);
    EXPECT_EQ(G().GetParam()->GetRedoList().GetCount(), 0);
}

// Where a row lands when a block moves; where a block released on a row goes.
TEST(StructureRules, MovedIndexAndDropDestination)
{
    struct M
    {
        ROWCOL n, from, to, dest, expect;
    } moves[] = {
        {2, 2, 3, 5, 5}, {3, 2, 3, 5, 6}, {4, 2, 3, 5, 2}, {6, 2, 3, 5, 4}, {7, 2, 3, 5, 7}, {1, 2, 3, 5, 1},
        {6, 6, 7, 2, 2}, {2, 6, 7, 2, 4}, {5, 6, 7, 2, 7}, {8, 6, 7, 2, 8},
    };
    for (const M& m : moves)
        EXPECT_EQ(CGXGridEngine::MovedIndex(m.n, m.from, m.to, m.dest), m.expect) << m.n << " " << m.dest;
    struct D
    {
        ROWCOL from, to, target, expect;
    } drops[] = {
        {3, 4, 5, GX_INVALID}, {3, 4, 3, GX_INVALID}, {3, 4, 8, 6}, {3, 4, 1, 1}, {3, 4, 0, GX_INVALID},
        {3, 4, 11, 9},   // past the end of 10 rows: the block goes to the end
    };
    for (const D& d : drops)
        EXPECT_EQ(CGXGridEngine::DropDestination(d.from, d.to, d.target), d.expect) << d.target;
}

// Freezing rows 5..7 moves them behind the header, freezes them and remembers where they came
// from, as one undo step; unfreezing moves them back.
TEST_F(StructureTest, FreezingASelectedBlockOfRows)
{
    G().SetFrozenRows(0, 0);
    G().GetParam()->m_selRanges.DeleteAll();
    G().GetParam()->EmptyUndoList();
    EXPECT_FALSE(G().CanFreezeRows());
    G().SelectRange(CGXRange().SetRows(5, 7));
    ASSERT_TRUE(G().CanFreezeRows());
    G().FreezeRows();
    EXPECT_EQ(G().GetFrozenRows(), 3u);
    EXPECT_EQ(Value(1, 1), "5.1");
    EXPECT_EQ(Value(3, 1), "7.1");
    CGXGridParam* p = G().GetParam();
    EXPECT_EQ(p->m_nFreezeRowsTarget, 1u);
    EXPECT_EQ(p->m_nFreezeRowsCount, 3u);
    EXPECT_EQ(p->m_nFreezeRowsOrigin, 5u);
    ASSERT_EQ(p->GetUndoList().GetCount(), 1);
    EXPECT_STREQ((LPCSTR) static_cast<CGXCommand*>(p->GetUndoList().GetHead())->GetDescription(), "Freeze Rows");
    EXPECT_FALSE(G().CanFreezeRows());
    ASSERT_TRUE(G().CanUnfreezeRows());
    G().UnfreezeRows();
    EXPECT_EQ(G().GetFrozenRows(), 0u);
    EXPECT_EQ(Value(5, 1), "5.1");
    EXPECT_EQ(Value(1, 1), "1.1");
    // Freezing again and undoing it in one step.
    G().SelectRange(CGXRange().SetRows(5, 7));
    G().FreezeRows();
    ASSERT_TRUE(G().Undo());
    EXPECT_EQ(G().GetFrozenRows(), 0u);
    EXPECT_EQ(Value(5, 1), "5.1");
    // Two separate blocks cannot be frozen.
    G().GetParam()->m_selRanges.DeleteAll();
    G().SelectRange(CGXRange().SetRows(2, 2));
    G().SelectRange(CGXRange().SetRows(4, 4));
    EXPECT_FALSE(G().CanFreezeRows());
}

// Inserting rows above a scrolled-away top row keeps the same rows on screen: only the top row
// changes. Removing rows above it does the reverse.
TEST_F(StructureTest, RowsAboveTheTopRowShiftItOnly)
{
    G().m_nTopRow = 5;
    ASSERT_TRUE(G().InsertRows(3, 2));
    EXPECT_EQ(G().m_nTopRow, 7u);
    ASSERT_TRUE(G().RemoveRows(2, 3));
    EXPECT_EQ(G().m_nTopRow, 5u);
}

// A block moved across the top row (left column) from one side to the other leaves the rows that
// were on screen there: the top row follows them instead of the view jumping by the block.
TEST_F(StructureTest, BlocksMovedAcrossTheTopRowKeepTheView)
{
    const struct
    {
        const char* name;
        BOOL bRows;
        ROWCOL from, to, dest, top, expect;
    } cases[] = {
        {"rows from above to below", TRUE, 2, 3, 6, 5, 3},
        {"rows from below to above", TRUE, 7, 8, 2, 5, 7},
        {"rows wholly below", TRUE, 6, 7, 8, 5, 5},
        {"columns from left to right", FALSE, 1, 2, 4, 4, 2},
        {"columns from right to left", FALSE, 5, 5, 1, 3, 4},
    };
    for (const auto& c : cases) {
        SetUp();
        ROWCOL& first = c.bRows ? G().m_nTopRow : G().m_nLeftCol;
        first = c.top;
        const std::string shown = c.bRows ? Value(c.top, 1) : Value(1, c.top);
        ASSERT_TRUE(c.bRows ? G().MoveRows(c.from, c.to, c.dest) : G().MoveCols(c.from, c.to, c.dest)) << c.name;
        EXPECT_EQ(first, c.expect) << c.name;
        EXPECT_EQ(c.bRows ? Value(first, 1) : Value(1, first), shown) << c.name;
    }
}

// Redo with a pending edit first stores it; the store is a new change, so the redo list empties
// and Redo answers FALSE, with the typing kept in the cell.
TEST_F(StructureTest, RedoStoresAPendingEditFirst)
{
    auto* ctl = new CScriptedControl(&G(), 52512);
    G().SetControlForId(52512, ctl, TRUE);
    ASSERT_TRUE(G().SetRowHeight(2, 2, 40));
    ASSERT_TRUE(G().Undo());
    ASSERT_EQ(G().GetParam()->GetRedoList().GetCount(), 1);
    ASSERT_TRUE(G().PlaceCurrentCell(7, 2));
    ctl->m_bActive = ctl->m_bModified = TRUE;
    ctl->m_strText = "typed";
    EXPECT_FALSE(G().Redo());
    EXPECT_EQ(Value(7, 2), "typed");
    EXPECT_EQ(G().GetParam()->GetRedoList().GetCount(), 0);
    EXPECT_NE(G().GetRowHeight(2), 40);
    // The stored edit is one undo step of its own.
    ASSERT_TRUE(G().Undo());
    EXPECT_EQ(Value(7, 2), "7.2");
}

namespace {
// A data store that has no memory left for new rows or columns.
class CExhaustedData : public CGXData
{
public:
    BOOL StoreInsertRows(ROWCOL, ROWCOL) override
    {
        AfxThrowMemoryException();
        return FALSE;
    }
    BOOL StoreInsertCols(ROWCOL, ROWCOL) override
    {
        AfxThrowMemoryException();
        return FALSE;
    }
};
} // namespace

// Counts that would pass 0x7FFFFFFF rows (columns), and insertions the memory does not suffice
// for, are refused: nothing escapes the call and the grid is as it was, an edit being typed and
// the undo list included.
TEST_F(StructureTest, InsertionsThatDoNotFitAreRefused)
{
    auto* ctl = new CScriptedControl(&G(), 52513);
    G().SetControlForId(52513, ctl, TRUE);
    G().SetStyleRange(CGXRange(5, 3), &CGXStyle().SetControl(52513), gxOverride, 0, nullptr, 0);
    G().SetRowHeight(2, 2, 33);
    G().SetCurrentCellState(FALSE);
    ASSERT_TRUE(G().PlaceCurrentCell(5, 3));
    ctl->m_bActive = ctl->m_bModified = TRUE;
    ctl->m_strText = "typing";
    const auto before = Snap();
    const INT_PTR nUndo = G().GetParam()->GetUndoList().GetCount();
    auto check = [&](const char* name, const std::function<BOOL()>& op) {
        BOOL ok = TRUE;
        EXPECT_NO_THROW(ok = op()) << name;
        EXPECT_FALSE(ok) << name;
        // Compared line by line only when the counts held: a grid of 2^31 rows is not walked.
        ASSERT_EQ(std::to_string(G().GetRowCount()) + "x" + std::to_string(G().GetColCount()), before.at("count")) << name;
        EXPECT_EQ(Diff(before, Snap()), "") << name;
        EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), nUndo) << name;
        EXPECT_EQ(ctl->m_bModified, ctl->m_bActive) << name;
        EXPECT_EQ(Value(5, 3), "5.3") << name;
    };
    check("rows, the count wraps", [&] { return G().InsertRows(2, 0xFFFFFFFF); });
    check("rows, past the signed range", [&] { return G().InsertRows(2, 0x80000000); });
    check("rows, one past the limit", [&] { return G().InsertRows(9, 0x7FFFFFF8); });
    check("row count past the limit", [&] { return G().SetRowCount(0x80000000); });
    check("columns, the count wraps", [&] { return G().InsertCols(2, 0xFFFFFFFF); });
    check("columns, one past the limit", [&] { return G().InsertCols(6, 0x7FFFFFFB); });

    // Memory running out in the data store: the hidden row 6 moved its flag and gets it back. (An
    // edit being typed is stored before any insertion, as a change of its own: none is pending.)
    ctl->m_bActive = ctl->m_bModified = FALSE;
    auto* pData = new CExhaustedData;
    static_cast<CGXData&>(*pData) = *G().GetParam()->GetData();
    G().GetParam()->SetData(pData, TRUE);
    check("rows, no memory", [&] { return G().InsertRows(2, 3); });
    check("columns, no memory", [&] { return G().InsertCols(2, 3); });
}

// Rows up to the limit are inserted; with the grid full, one more is refused.
TEST_F(StructureTest, RowsFillUpToTheLimit)
{
    EXPECT_TRUE(G().InsertRows(9, 0x7FFFFFFFu - 8));
    EXPECT_EQ(G().GetRowCount(), 0x7FFFFFFFu);
    EXPECT_EQ(Value(8, 5), "8.5");
    const INT_PTR nUndo = G().GetParam()->GetUndoList().GetCount();
    EXPECT_FALSE(G().InsertRows(2, 1));
    EXPECT_FALSE(G().SetRowCount(0x80000000));
    EXPECT_EQ(G().GetRowCount(), 0x7FFFFFFFu);
    EXPECT_EQ(Value(2, 1), "2.1");
    EXPECT_EQ(G().GetParam()->GetUndoList().GetCount(), nUndo);
}
