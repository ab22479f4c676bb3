// Covered cells, the span pools, delayed ranges, float cells and merge cells, on a grid without
// a window; the drawing of spans is checked in the window tests.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "afxseam.h"
#include "afxwin.h"
#include "archive_util.h"
#include "grid_test_util.h"
#include "gxspan.h"
#include "gxundo.h"

namespace {
std::string Str(const CGXRange& r)
{
    return std::to_string(r.top) + "," + std::to_string(r.left) + "-" + std::to_string(r.bottom) + "," +
           std::to_string(r.right);
}

std::string List(const CGXRangeList& list)
{
    std::string s;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        s += (s.empty() ? "" : " ") + Str(*list.GetRangeAt(pos));
        list.GetNext(pos);
    }
    return s;
}

// Floats text as wide as the number it holds over empty neighbours.
class CFloatControl : public CGXControl
{
public:
    using CGXControl::CGXControl;
    CSize CalcSize(CDC*, ROWCOL, ROWCOL, const CGXStyle& style, const CGXStyle*, BOOL) override
    {
        ++nMeasured;
        const int n = std::atoi(style.GetValue());
        return CSize(n, 10);
    }
    BOOL CanFloatCell(ROWCOL, ROWCOL, const CGXStyle& style, BOOL bFloat) override
    {
        return bFloat ? !style.GetValue().IsEmpty() : style.GetValue().IsEmpty();
    }
    int nMeasured = 0;
};

class SpanTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    std::unique_ptr<CGXGridEngine> m_pGrid;
    CGXGridEngine& G() { return *m_pGrid; }
    CFloatControl* pControl = nullptr;

    void SetUp() override
    {
        AfxSeamReset();
        m_pGrid.reset(new CGXGridEngine(nullptr));
        G().InitObjects();
        G().GetParam()->GetData()->StoreRowCount(12);
        G().GetParam()->GetData()->StoreColCount(8);
        pControl = new CFloatControl(m_pGrid.get());
        G().SetControlForId(52512, pControl, TRUE);
        G().SetColWidth(1, 8, 50, nullptr, 0);
        G().GetParam()->EmptyUndoList();
    }
    CGXGridParam& P() { return *G().GetParam(); }
    std::string Covered(ROWCOL r, ROWCOL c)
    {
        CGXRange range;
        return G().GetCoveredCellsRowCol(r, c, range) ? Str(range) : "-";
    }
    // Every cell's lookup, to compare the index kept by the operations with one built anew.
    std::string IndexSnapshot()
    {
        std::string s;
        for (ROWCOL r = 0; r <= 14; ++r)
            for (ROWCOL c = 0; c <= 10; ++c)
                s += Covered(r, c) + ";";
        return s;
    }
    void ExpectIndexRebuilt()
    {
        const std::string kept = IndexSnapshot();
        G().RebuildCoveredCellsIndex();
        EXPECT_EQ(kept, IndexSnapshot());
    }
    std::string Float(ROWCOL r, ROWCOL c)
    {
        CGXRange range;
        return G().GetFloatCellsRowCol(r, c, range) ? Str(range) : "-";
    }
    std::string Merged(ROWCOL r, ROWCOL c, int nDir)
    {
        CGXRange range;
        return G().GetMergedCellsRowCol(r, c, range, nDir) ? Str(range) : "-";
    }
    BOOL RecalcAll()
    {
        CGXRange changed;
        const BOOL a = G().RecalcSpansB(CGXRange().SetTable(), 0, changed);
        return G().RecalcSpansA(CGXRange().SetTable(), 0, changed) || a;
    }
};
} // namespace

// ---------------------------------------------------------------------------
// Covered cells

TEST_F(SpanTest, CoveringOperationsKeepListAndIndex)
{
    struct Case
    {
        ROWCOL t, l, b, r;
        BOOL bReadOnly;
        BOOL bResult;
        const char* list;
    } cases[] = {
        {2, 2, 3, 3, FALSE, TRUE, "2,2-3,3"},
        {3, 3, 4, 4, FALSE, FALSE, "2,2-3,3"},           // overlaps: refused, the first stays
        {2, 2, 4, 4, FALSE, TRUE, "2,2-4,4"},            // resizing keeps one entry
        {2, 2, 3, 3, FALSE, TRUE, "2,2-3,3"},            // shrinking: the old extent leaves the index
        {2, 2, 3, 3, FALSE, FALSE, "2,2-3,3"},           // identical
        {2, 4, 3, 5, FALSE, TRUE, "2,2-3,3 2,4-3,5"},    // a neighbour
        {3, 4, 4, 6, FALSE, FALSE, "2,2-3,3 2,4-3,5"},   // starts inside another
        {2, 2, 2, 2, FALSE, TRUE, "2,4-3,5"},            // one cell takes the covering back
        {6, 6, 7, 7, TRUE, FALSE, "2,4-3,5"},            // read-only grid
        {0x7FFFFFFF, 1, 0x7FFFFFFF, 2, FALSE, FALSE, "2,4-3,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Str(CGXRange(c.t, c.l, c.b, c.r)));
        G().SetReadOnly(c.bReadOnly);
        EXPECT_EQ(G().SetCoveredCells(c.t, c.l, c.b, c.r, 0), c.bResult);
        EXPECT_EQ(List(P().m_coveredRanges), c.list);
        ExpectIndexRebuilt();
    }
    G().SetReadOnly(FALSE);
    EXPECT_EQ(Covered(4, 4), "-");
    EXPECT_EQ(Covered(3, 5), "2,4-3,5");
    // Every covering was one undo step: undoing them all leaves nothing covered.
    while (G().Undo()) {
    }
    EXPECT_EQ(List(P().m_coveredRanges), "");
    ExpectIndexRebuilt();
}

TEST_F(SpanTest, ExpandingResumesRightAfterASpan)
{
    G().SetCoveredCells(2, 2, 2, 3, 0);
    G().SetCoveredCells(2, 4, 3, 4, 0);
    CGXRange range(2, 2, 2, 4);
    G().ExpandRangeByCoveredCells(range);
    EXPECT_EQ(Str(range), "2,2-3,4");
}

TEST_F(SpanTest, CoveredRangesFollowRowsAndColumns)
{
    auto cover = [&]() {
        P().m_coveredRanges.DeleteAll();
        G().RebuildCoveredCellsIndex();
        P().GetData()->StoreRowCount(12);
        P().GetData()->StoreColCount(8);
        G().SetCoveredCells(3, 2, 8, 3, 0);
        G().SetCoveredCells(10, 5, 11, 6, 0);
        P().EmptyUndoList();
    };
    struct Case
    {
        const char* name;
        std::function<void()> op;
        const char* list;
    } cases[] = {
        {"insert rows", [&] { G().InsertRows(4, 2, nullptr, nullptr, nullptr, 0, 0); }, "3,2-10,3 12,5-13,6"},
        {"insert cols", [&] { G().InsertCols(1, 1, nullptr, nullptr, nullptr, 0, 0); }, "3,3-8,4 10,6-11,7"},
        // The range starting in row 10 loses its value cell with the rows: it is uncovered.
        {"remove rows 5-10", [&] { G().RemoveRows(5, 10, 0); }, "3,2-4,3"},
        {"remove the rows of one", [&] { G().RemoveRows(10, 11, 0); }, "3,2-8,3"},
        {"remove col 6", [&] { G().RemoveCols(6, 6, 0); }, "3,2-8,3 10,5-11,5"},
        {"remove row 11 and col 6", [&] { G().RemoveRows(11, 11, 0), G().RemoveCols(6, 6, 0); }, "3,2-8,3"},
        {"move rows", [&] { G().MoveRows(10, 11, 1, 0); }, "5,2-10,3 1,5-2,6"},
        // Half of a range moved onto another: the moved one goes, the index stays whole.
        {"move onto another",
         [&] {
             G().SetCoveredCells(10, 2, 11, 3, 0);
             G().MoveRows(7, 8, 10, 0);
         },
         "3,2-8,3 8,5-9,6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cover();
        c.op();
        EXPECT_EQ(List(P().m_coveredRanges), c.list);
        ExpectIndexRebuilt();
    }
}

TEST_F(SpanTest, RemovingRowsOfACoveredRangeUndoesInOneStep)
{
    G().SetCoveredCells(3, 2, 8, 3, 0);
    P().EmptyUndoList();
    ASSERT_TRUE(G().RemoveRows(5, 10, 0));
    EXPECT_EQ(List(P().m_coveredRanges), "3,2-4,3");
    ASSERT_TRUE(G().Undo());
    EXPECT_EQ(List(P().m_coveredRanges), "3,2-8,3");
    EXPECT_EQ(Covered(8, 3), "3,2-8,3");
    EXPECT_FALSE(G().Undo());
    ASSERT_TRUE(G().Redo());
    EXPECT_EQ(List(P().m_coveredRanges), "3,2-4,3");
    ExpectIndexRebuilt();
}

namespace {
std::string Sorted(const CGXRangeList& list)
{
    std::vector<std::string> v;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr; list.GetNext(pos))
        v.push_back(Str(*list.GetRangeAt(pos)));
    std::sort(v.begin(), v.end());
    std::string s;
    for (const std::string& r : v)
        s += (s.empty() ? "" : " ") + r;
    return s;
}
} // namespace

// Removals and moves that drop or cut covered ranges are one undo step that brings every range
// back as it was; redo gives the changed list again.
TEST_F(SpanTest, UndoGivesBackTheCoveringsAStructureChangeTook)
{
    struct Case
    {
        const char* name;
        std::vector<CGXRange> cover;
        std::function<BOOL()> op;
        const char* after;
    } cases[] = {
        {"move half of one onto another",
         {CGXRange(3, 2, 8, 3), CGXRange(10, 5, 11, 6), CGXRange(10, 2, 11, 3)},
         [&] { return G().MoveRows(7, 8, 10, 0); }, "3,2-8,3 8,5-9,6"},
        {"the columns' twin",
         {CGXRange(2, 3, 3, 8), CGXRange(5, 10, 6, 11), CGXRange(2, 10, 3, 11)},
         [&] { return G().MoveCols(7, 8, 10, 0); }, "2,3-3,8 5,8-6,9"},
        {"a moved range grown over one outside the moved rows",
         {CGXRange(5, 1, 9, 1), CGXRange(11, 1, 12, 1)}, [&] { return G().MoveRows(5, 6, 8, 0); }, "8,1-12,1"},
        {"a range cut at the last row", {CGXRange(2, 4, 6, 4)}, [&] { return G().MoveRows(2, 3, 11, 0); },
         "11,4-12,4"},
        {"removing the top row of one", {CGXRange(6, 1, 12, 2)}, [&] { return G().RemoveRows(5, 10, 0); }, ""},
        {"removing the left column of one", {CGXRange(1, 3, 2, 8)}, [&] { return G().RemoveCols(2, 3, 0); }, ""},
        {"removing rows inside one", {CGXRange(3, 4, 12, 4)}, [&] { return G().RemoveRows(5, 10, 0); },
         "3,4-6,4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        P().GetData()->StoreColCount(12);
        for (const CGXRange& r : c.cover)
            ASSERT_TRUE(G().SetCoveredCells(r.top, r.left, r.bottom, r.right, 0));
        const std::string before = Sorted(P().m_coveredRanges);
        P().EmptyUndoList();
        ASSERT_TRUE(c.op());
        EXPECT_EQ(Sorted(P().m_coveredRanges), c.after);
        ASSERT_EQ(P().GetUndoList().GetCount(), 1);
        ASSERT_TRUE(G().Undo());
        EXPECT_EQ(Sorted(P().m_coveredRanges), before);
        ExpectIndexRebuilt();
        ASSERT_TRUE(G().Redo());
        EXPECT_EQ(Sorted(P().m_coveredRanges), c.after);
        ASSERT_TRUE(G().Undo());
        EXPECT_EQ(Sorted(P().m_coveredRanges), before);
    }
}

TEST_F(SpanTest, TheCurrentCellGoesToTheTopLeft)
{
    G().SetCurrentCellState(TRUE, 3, 3);
    ASSERT_TRUE(G().SetCoveredCells(2, 2, 4, 4, 0));
    ROWCOL r = 0, c = 0;
    ASSERT_TRUE(G().GetCurrentCellPos(r, c));
    EXPECT_EQ(Str(CGXRange(r, c)), "2,2-2,2");
    // Undoing the removal of a covering brings it back and the current cell to its top-left.
    ASSERT_TRUE(G().SetCoveredCells(2, 2, 2, 2, 0));
    G().SetCurrentCellState(TRUE, 7, 7);
    ASSERT_TRUE(G().Undo());
    EXPECT_EQ(Covered(4, 4), "2,2-4,4");
    ASSERT_TRUE(G().GetCurrentCellPos(r, c));
    EXPECT_EQ(Str(CGXRange(r, c)), "2,2-2,2");
}

TEST_F(SpanTest, CoveredRangesTravelWithTheParameters)
{
    G().SetCoveredCells(2, 2, 3, 4, 0);
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { P().Serialize(ar); });
    CGXGridEngine other(nullptr);
    other.InitObjects();
    LoadBytes(bytes, [&](CArchive& ar) { other.GetParam()->Serialize(ar); });
    CGXRange range;
    ASSERT_TRUE(other.GetCoveredCellsRowCol(3, 4, range));
    EXPECT_EQ(Str(range), "2,2-3,4");
}

TEST_F(SpanTest, SpanPoolsTravelWithTheParameters)
{
    P().m_wFloatCells = 1;
    CGXSpanCellPool* pFloat = new CGXSpanCellPool;
    pFloat->SetSpanCellsRowCol(2, 2, 2, 5, TRUE);
    P().m_pFloatSpans = pFloat;
    // A foreign object where a span pool belongs is replaced, not used.
    P().m_pMergeSpansA = new CGXDelayedRangePool;
    P().m_wMergeCells = 1;
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { P().Serialize(ar); });
    CGXGridEngine other(nullptr);
    other.InitObjects();
    LoadBytes(bytes, [&](CArchive& ar) { other.GetParam()->Serialize(ar); });
    CGXRange range;
    ASSERT_TRUE(other.GetFloatCellsRowCol(2, 4, range));
    EXPECT_EQ(Str(range), "2,2-2,5");
    EXPECT_FALSE(other.GetMergedCellsRowCol(2, 2, range, 0));
    EXPECT_TRUE(other.StoreMergedCells(0, 3, 2, 3, 5, TRUE));
    EXPECT_TRUE(other.GetMergedCellsRowCol(3, 3, range, -1));
    // Clearing inside a run leaves it alone; clearing at its start takes it back.
    EXPECT_FALSE(other.StoreMergedCells(0, 3, 4, 3, 4, FALSE));
    EXPECT_TRUE(other.GetMergedCellsRowCol(3, 5, range, 0));
    EXPECT_EQ(Str(range), "3,2-3,5");
    EXPECT_TRUE(other.StoreMergedCells(0, 3, 2, 3, 2, TRUE));
    EXPECT_FALSE(other.GetMergedCellsRowCol(3, 5, range, 0));
}

TEST(DelayedRangePool, ArchiveForm)
{
    CGXDelayedRange d(CGXRange(2, 3, 4, 5));
    d.AddInterval(0, 2);
    std::vector<BYTE> expected;
    for (DWORD v : {2, 3, 4, 5})
        PutDWord(expected, v);
    expected.push_back(0);   // cells
    expected.push_back(1);   // valid
    PutWord(expected, 1);
    PutDWord(expected, 0);
    PutWord(expected, 1);
    PutDWord(expected, 2);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { d.Serialize(ar); }), expected);
    CGXDelayedRange back;
    LoadBytes(expected, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_TRUE(back.IsEvaluated(2));
    EXPECT_FALSE(back.IsEvaluated(3));
    // Interval lists of different lengths are refused.
    expected.resize(expected.size() - 6);
    PutWord(expected, 0);
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(expected, [&](CArchive& ar) { back.Serialize(ar); }); }),
              CArchiveException::badIndex);
}

// ---------------------------------------------------------------------------
// Containers

TEST(SpanPool, SpansAlongBothAxesFollowLines)
{
    CGXSpanCellPool pool;
    CGXRange r;
    EXPECT_FALSE(pool.InsertRows(1, 1));   // nothing held
    ASSERT_TRUE(pool.SetSpanCellsRowCol(2, 2, 2, 4, TRUE));
    ASSERT_TRUE(pool.SetSpanCellsRowCol(3, 5, 5, 5, TRUE));
    EXPECT_FALSE(pool.SetSpanCellsRowCol(2, 2, 2, 4, TRUE));   // nothing changed
    EXPECT_FALSE(pool.SetSpanCellsRowCol(1, 0, 1, 3, TRUE));   // index 0 starts no span
    EXPECT_FALSE(pool.SetSpanCellsRowCol(0, 6, 3, 6, TRUE));
    EXPECT_TRUE(pool.SetSpanCellsRowCol(0, 1, 0, 3, TRUE));    // but a header row holds one
    EXPECT_TRUE(pool.GetSpanCellsRowCol(0, 2, r));
    EXPECT_EQ(Str(r), "0,1-0,3");
    EXPECT_FALSE(pool.GetSpanCellsRowCol(0x80000000, 1, r));
    struct Case
    {
        const char* name;
        std::function<void(CGXSpanCellPool&)> op;
        ROWCOL hr, hc;   // a cell of the horizontal span afterwards
        const char* horizontal;
        ROWCOL vr, vc;
        const char* vertical;
    } cases[] = {
        {"as set", [](CGXSpanCellPool&) {}, 2, 3, "2,2-2,4", 4, 5, "3,5-5,5"},
        {"insert rows above", [](CGXSpanCellPool& p) { p.InsertRows(2, 1); }, 3, 3, "3,2-3,4", 5, 5, "4,5-6,5"},
        {"remove a row inside", [](CGXSpanCellPool& p) { p.RemoveRows(4, 4); }, 2, 3, "2,2-2,4", 4, 5, "3,5-4,5"},
        // A span whose first row goes is no span any more.
        {"remove the first row", [](CGXSpanCellPool& p) { p.RemoveRows(3, 3); }, 2, 3, "2,2-2,4", 3, 5, "-"},
        {"remove the first column", [](CGXSpanCellPool& p) { p.RemoveCols(2, 2); }, 2, 2, "-", 4, 4, "3,4-5,4"},
        {"insert cols inside", [](CGXSpanCellPool& p) { p.InsertCols(3, 1); }, 2, 2, "-", 4, 6, "3,6-5,6"},
        {"move rows", [](CGXSpanCellPool& p) { p.MoveRows(2, 2, 7); }, 7, 4, "7,2-7,4", 3, 5, "2,5-4,5"},
        {"clear", [](CGXSpanCellPool& p) { p.SetSpanCellsRowCol(2, 2, 2, 2, FALSE); }, 2, 3, "-", 3, 5, "3,5-5,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGXSpanCellPool p;
        p.SetSpanCellsRowCol(2, 2, 2, 4, TRUE);
        p.SetSpanCellsRowCol(3, 5, 5, 5, TRUE);
        c.op(p);
        EXPECT_EQ(p.GetSpanCellsRowCol(c.hr, c.hc, r) ? Str(r) : "-", c.horizontal);
        EXPECT_EQ(p.GetSpanCellsRowCol(c.vr, c.vc, r) ? Str(r) : "-", c.vertical);
    }
    // A span set over the start of another takes its place.
    pool.SetSpanCellsRowCol(2, 4, 2, 7, TRUE);
    pool.SetSpanCellsRowCol(2, 1, 2, 5, TRUE);
    EXPECT_FALSE(pool.GetSpanCellsRowCol(2, 6, r));
}

TEST(SpanPool, LinesArchiveInTheirOwnForm)
{
    CGXDWordArrayPtrArray table;
    table.LineOnDemand(0)->Add(5);
    table.LineOnDemand(0)->Add(6);
    table.LineOnDemand(2)->Add(9);
    std::vector<BYTE> expected;
    PutWord(expected, 1);
    PutDWord(expected, 3);
    PutDWord(expected, 0);
    PutWord(expected, 2);
    PutDWord(expected, 5);
    PutDWord(expected, 6);
    PutDWord(expected, 2);
    PutWord(expected, 1);
    PutDWord(expected, 9);
    PutDWord(expected, 0xFFFFFFFF);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { table.Serialize(ar); }), expected);
    CGXDWordArrayPtrArray back;
    LoadBytes(expected, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetSize(), 3);
    EXPECT_EQ(back.GetLine(1), nullptr);
    EXPECT_EQ(back.GetLine(2)->GetAt(0), 9u);

    // Damaged forms: schema, counts and indexes are checked before anything is kept.
    auto form = [](WORD schema, DWORD count, std::vector<DWORD> indexes) {
        std::vector<BYTE> v;
        PutWord(v, schema);
        PutDWord(v, count);
        for (DWORD i : indexes) {
            PutDWord(v, i);
            PutWord(v, 0);
        }
        PutDWord(v, 0xFFFFFFFF);
        return v;
    };
    struct Case
    {
        const char* name;
        std::vector<BYTE> bytes;
        int cause;
    } cases[] = {
        {"schema 2", form(2, 1, {0}), CArchiveException::badSchema},
        {"index at the count", form(1, 3, {3}), CArchiveException::badIndex},
        {"falling indexes", form(1, 3, {2, 0}), CArchiveException::badIndex},
        {"huge count", form(1, 0x80000000, {}), CArchiveException::badIndex},
        {"no end mark", std::vector<BYTE>(expected.begin(), expected.end() - 4), CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGXDWordArrayPtrArray t;
        EXPECT_EQ(ArchiveCause([&] { LoadBytes(c.bytes, [&](CArchive& ar) { t.Serialize(ar); }); }), c.cause);
    }
}

TEST(DelayedRangePool, MergingAndClamping)
{
    struct Case
    {
        const char* name;
        std::vector<CGXRange> added;
        const char* ranges;
    } cases[] = {
        {"one", {CGXRange(2, 2, 4, 4)}, "2,2-4,4"},
        {"inside an older one", {CGXRange(2, 2, 4, 4), CGXRange(3, 3, 3, 3)}, "2,2-4,4"},
        {"right of it", {CGXRange(2, 2, 4, 4), CGXRange(2, 5, 4, 6)}, "2,2-4,6"},
        {"below it", {CGXRange(2, 2, 4, 4), CGXRange(5, 2, 6, 4)}, "2,2-6,4"},
        {"right, but taller", {CGXRange(2, 2, 4, 4), CGXRange(2, 5, 5, 6)}, "2,2-4,4 2,5-5,6"},
        {"covering older ones", {CGXRange(3, 3, 3, 3), CGXRange(6, 6, 6, 6), CGXRange(2, 2, 7, 7)}, "2,2-7,7"},
        {"apart", {CGXRange(2, 2, 2, 2), CGXRange(6, 6, 7, 7)}, "2,2-2,2 6,6-7,7"},
    };
    auto dump = [](CGXDelayedRangePool& pool) {
        pool.RemoveDone();
        std::string s;
        for (int i = 0; i < pool.GetCount(); ++i)
            s += (s.empty() ? "" : " ") + Str(pool.GetAt(i)->m_range);
        return s;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGXDelayedRangePool pool;
        for (const CGXRange& r : c.added)
            pool.AddRange(r);
        EXPECT_EQ(dump(pool), c.ranges);
    }
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(2, 2, 8, 8));
    pool.LimitCols(5);
    pool.LimitRows(6);
    EXPECT_EQ(dump(pool), "2,2-6,5");

    // Pending columns per row, each handed out once; a range evaluated whole is done.
    CGXDelayedRangePool p;
    p.AddRange(CGXRange(2, 2, 3, 4));
    CDWordArray firsts, lasts;
    p.ExtractPending(CGXRange(2, 1, 3, 3), firsts, lasts);
    EXPECT_EQ(std::vector<DWORD>({firsts[0], lasts[0], firsts[1], lasts[1]}), std::vector<DWORD>({2, 3, 2, 3}));
    // A range already partly evaluated does not grow over a new neighbour.
    p.AddRange(CGXRange(2, 5, 3, 5));
    EXPECT_EQ(p.GetCount(), 2);
    p.ExtractPending(CGXRange(2, 1, 3, 9), firsts, lasts);
    EXPECT_EQ(std::vector<DWORD>({firsts[0], lasts[0], firsts[1], lasts[1]}), std::vector<DWORD>({4, 5, 4, 5}));
    p.ExtractPending(CGXRange(2, 1, 3, 9), firsts, lasts);
    EXPECT_EQ(std::vector<DWORD>({firsts[0], lasts[0]}), std::vector<DWORD>({0, 0}));
    EXPECT_EQ(dump(p), "");
}

// ---------------------------------------------------------------------------
// Float cells

TEST_F(SpanTest, LongTextsFloatOverEmptyNeighbours)
{
    CGXStyle floating;
    floating.SetFloatCell(TRUE).SetFloodCell(TRUE);
    G().SetStyleRange(CGXRange().SetTable(), &floating, gxOverride, -1, nullptr, 0);
    G().SetValueRange(CGXRange(2, 2), "120", gxOverride, 0, 0);
    ASSERT_EQ(G().GetColWidth(3), 50);
    // Mode 0 computes nothing; a cell is its own range.
    EXPECT_FALSE(RecalcAll());
    CGXRange r;
    EXPECT_FALSE(G().GetFloatCellsRowCol(2, 2, r));
    EXPECT_EQ(Str(r), "2,2-2,2");
    EXPECT_EQ(pControl->nMeasured, 0);
    for (WORD mode : {1, 2}) {
        SCOPED_TRACE(mode);
        P().m_wFloatCells = mode;
        G().SetValueRange(CGXRange(2, 2), "120", gxOverride, 0, 0);
        G().SetValueRange(CGXRange(2, 3, 2, 8), "", gxOverride, 0, 0);
        G().DelaySpanRecalcA(CGXRange().SetTable());
        EXPECT_TRUE(RecalcAll());
        EXPECT_EQ(Float(2, 3), "2,2-2,4");
        EXPECT_FALSE(RecalcAll());   // nothing left to do
        // A cell that may not be flooded stops the text.
        G().SetStyleRange(CGXRange(2, 4), &CGXStyle().SetFloodCell(FALSE), gxOverride, 0, nullptr, 0);
        RecalcAll();
        EXPECT_EQ(Float(2, 3), "2,2-2,3");
        G().SetStyleRange(CGXRange(2, 4), &CGXStyle().SetFloodCell(TRUE), gxOverride, 0, nullptr, 0);
        RecalcAll();
        EXPECT_EQ(Float(2, 2), "2,2-2,4");
        // Typing into a flooded cell shortens the span; emptying it again lets the text back.
        G().SetValueRange(CGXRange(2, 3), "x", gxOverride, 0, 0);
        RecalcAll();
        EXPECT_EQ(Float(2, 2), "-");
        G().SetValueRange(CGXRange(2, 3), "", gxOverride, 0, 0);
        RecalcAll();
        EXPECT_EQ(Float(2, 2), "2,2-2,4");
        // A wider column needs fewer neighbours.
        G().SetColWidth(2, 2, 100, nullptr, 0);
        RecalcAll();
        EXPECT_EQ(Float(2, 2), "2,2-2,3");
        G().SetColWidth(2, 2, 50, nullptr, 0);
        RecalcAll();
        // Covered cells neither float nor are flooded.
        ASSERT_TRUE(G().SetCoveredCells(2, 4, 3, 4, 0));
        RecalcAll();
        EXPECT_EQ(Float(2, 2), "2,2-2,3");
        ASSERT_TRUE(G().SetCoveredCells(2, 4, 2, 4, 0));
    }
    // Two spans side by side: expanding resumes right after the first.
    G().SetValueRange(CGXRange(2, 2), "60", gxOverride, 0, 0);
    G().SetValueRange(CGXRange(2, 4), "60", gxOverride, 0, 0);
    RecalcAll();
    CGXRange range(2, 2, 2, 4);
    G().ExpandRangeByFloatCells(range);
    EXPECT_EQ(Str(range), "2,2-2,5");
}

// ---------------------------------------------------------------------------
// Merge cells

TEST_F(SpanTest, EqualNeighboursMergeAndSplit)
{
    CGXStyle merging;
    merging.SetMergeCell(6);   // within columns, on equal values
    G().SetStyleRange(CGXRange().SetTable(), &merging, gxOverride, -1, nullptr, 0);
    for (WORD mode : {2, 1}) {
        SCOPED_TRACE(mode);
        P().m_wMergeCells = mode;
        G().SetValueRange(CGXRange(2, 2, 4, 2), "a", gxOverride, 0, 0);
        G().SetValueRange(CGXRange(2, 3, 3, 3), "b", gxOverride, 0, 0);
        G().DelaySpanRecalcB(CGXRange().SetTable());
        if (mode == 2) {
            // Evaluating the top cell alone goes on down past the first pair.
            CGXRange changed;
            EXPECT_TRUE(G().RecalcSpansB(CGXRange(2, 2), 0, changed));
            EXPECT_EQ(Str(changed), "2,2-4,2");
        }
        RecalcAll();
        EXPECT_EQ(Merged(3, 2, 1), "2,2-4,2");
        EXPECT_EQ(Merged(3, 3, -1), "2,3-3,3");
        EXPECT_EQ(Merged(2, 2, 0), "-");   // not within rows
        // A changed value splits the run.
        G().SetValueRange(CGXRange(3, 2), "c", gxOverride, 0, 0);
        RecalcAll();
        EXPECT_EQ(Merged(2, 2, 1), "-");
        EXPECT_EQ(Merged(4, 2, 1), "-");
        G().SetValueRange(CGXRange(4, 2), "c", gxOverride, 0, 0);
        RecalcAll();
        EXPECT_EQ(Merged(4, 2, 1), "3,2-4,2");
        // Merging switched off within columns.
        P().m_wMergeCells = mode | 4;
        G().DelaySpanRecalcB(CGXRange().SetTable());
        CGXStyle st;
        G().ComposeCellStyle(4, 2, st);
        EXPECT_FALSE(G().CanMergeCell(pControl, 4, 2, st, 1));
        P().m_wMergeCells = mode;
    }
    // The whole style decides without the value bit.
    CGXStyle a, b;
    a.SetMergeCell(2).SetValue("x");
    b.SetMergeCell(2).SetValue("y");
    EXPECT_FALSE(G().CanMergeCells(a, b));
    b.SetValue("x");
    EXPECT_TRUE(G().CanMergeCells(a, b));
    EXPECT_FALSE(G().CanMergeCells(a, CGXStyle().SetValue("x")));
}

// A run of four equal cells with one changed: the equal cells on either side of it stay merged,
// within a column and within a row, in immediate and delayed evaluation.
TEST_F(SpanTest, AChangedCellLeavesItsEqualNeighboursMerged)
{
    for (int nDir : {1, 0}) {
        // The run: rows 2-5 of column 3, or columns 2-5 of row 3.
        auto cell = [nDir](ROWCOL k) { return nDir == 1 ? CGXRange(k, 3) : CGXRange(3, k); };
        CGXStyle merging;
        merging.SetMergeCell(nDir == 1 ? 6 : 5);
        G().SetStyleRange(CGXRange(cell(2).top, cell(2).left, cell(5).top, cell(5).left), &merging, gxOverride, -1,
                          nullptr, 0);
        for (WORD mode : {2, 1}) {
            P().m_wMergeCells = mode;
            for (ROWCOL changed = 2; changed <= 5; ++changed) {
                SCOPED_TRACE(std::to_string(nDir) + " " + std::to_string(mode) + " " + std::to_string(changed));
                for (ROWCOL k = 2; k <= 5; ++k)
                    G().SetValueRange(cell(k), "a", gxOverride, 0, 0);
                G().DelaySpanRecalcB(CGXRange().SetTable());
                RecalcAll();
                const CGXRange all(cell(2).top, cell(2).left, cell(5).top, cell(5).left);
                ASSERT_EQ(Merged(cell(4).top, cell(4).left, nDir), Str(all));
                G().SetValueRange(cell(changed), "b", gxOverride, 0, 0);
                RecalcAll();
                for (ROWCOL k = 2; k <= 5; ++k) {
                    // The part before the changed cell and the part after it, where longer than one.
                    const ROWCOL first = k < changed ? 2 : changed + 1, last = k < changed ? changed - 1 : 5;
                    const std::string expected = k == changed || first == last
                                                     ? "-"
                                                     : Str(CGXRange(cell(first).top, cell(first).left, cell(last).top,
                                                                    cell(last).left));
                    EXPECT_EQ(Merged(cell(k).top, cell(k).left, nDir), expected) << k;
                }
            }
        }
    }
}

TEST_F(SpanTest, SpansFollowInsertedRows)
{
    P().m_wMergeCells = 2;
    CGXStyle merging;
    merging.SetMergeCell(6);
    G().SetStyleRange(CGXRange().SetTable(), &merging, gxOverride, -1, nullptr, 0);
    G().SetValueRange(CGXRange(5, 2, 6, 2), "a", gxOverride, 0, 0);
    RecalcAll();
    ASSERT_EQ(Merged(6, 2, 1), "5,2-6,2");
    G().InsertRows(2, 2, nullptr, nullptr, nullptr, 0, 0);
    EXPECT_EQ(Merged(8, 2, 1), "7,2-8,2");
    G().RemoveRows(8, 8, 0);
    EXPECT_EQ(Merged(7, 2, 1), "-");
}
