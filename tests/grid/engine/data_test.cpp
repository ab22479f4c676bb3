#include <gtest/gtest.h>
#include "gxdata.h"
#include "gxparam.h"

namespace {
CGXStyle Value(LPCSTR v)
{
    CGXStyle s;
    s.SetValue(v);
    return s;
}
CString ValueAt(const CGXData& d, ROWCOL r, ROWCOL c, int type = 0)
{
    CGXStyle s;
    if (!d.GetStyleRowCol(r, c, s, gxCopy, type))
        return "<none>";
    return s.GetValue();
}
} // namespace

TEST(Data, StoringGrowsTheCounts)
{
    CGXData d;
    CGXStyle v = Value("x");
    d.StoreStyleRowCol(10, 3, &v, gxOverride);
    EXPECT_EQ(d.GetRowCount(), 10u);
    EXPECT_EQ(d.GetColCount(), 3u);
    EXPECT_EQ(ValueAt(d, 10, 3), "x");
    EXPECT_EQ(ValueAt(d, 11, 3), "<none>");   // beyond the counts

    CGXStyle bold;
    bold.SetFont(CGXFont().SetWeight(700));
    d.StoreStyleRowCol(2, 2, &bold, gxExclude);   // nothing there: nothing stored
    EXPECT_EQ(ValueAt(d, 2, 2), "<none>");
    d.StoreStyleRowCol(10, 3, &bold, gxApplyNew);
    CGXStyle got;
    ASSERT_TRUE(d.GetStyleRowCol(10, 3, got, gxCopy));
    EXPECT_TRUE(got.GetIncludeFont());
    d.StoreStyleRowCol(10, 3, nullptr, gxRemove);
    EXPECT_EQ(ValueAt(d, 10, 3), "<none>");
}

TEST(Data, RowColumnAndTableStyles)
{
    CGXData d;
    CGXStyle t = Value("table"), r = Value("row"), c = Value("col");
    d.StoreStyleRowCol(0, 0, &t, gxCopy, -1);
    d.StoreStyleRowCol(4, 0, &r, gxCopy, -1);
    d.StoreStyleRowCol(0, 2, &c, gxCopy, -1);
    EXPECT_EQ(ValueAt(d, 0, 0, -1), "table");
    EXPECT_EQ(ValueAt(d, 4, 7, -1), "<none>");   // column 7 is beyond the count
    EXPECT_EQ(ValueAt(d, 4, 0, -1), "row");
    EXPECT_EQ(ValueAt(d, 0, 2, -1), "col");
    EXPECT_EQ(ValueAt(d, 0, 2), "<none>");       // not a cell style
}

TEST(Data, RemovingRowsClampsToTheCount)
{
    CGXData d;
    d.StoreRowCount(3);
    d.StoreColCount(2);
    d.StoreRemoveRows(2, 4);
    EXPECT_EQ(d.GetRowCount(), 1u);
    d.StoreRemoveRows(5, 9);   // wholly past the end
    EXPECT_EQ(d.GetRowCount(), 1u);
    d.StoreRemoveRows(1, 1);
    EXPECT_EQ(d.GetRowCount(), 0u);
}

// From index 0 the header row goes with the rows, but only rows 1 to the count are counted: the
// count never wraps below zero.
TEST(Data, RemovingFromTheHeaderNeverWrapsTheCount)
{
    CGXData d;
    d.StoreRowCount(5);
    d.StoreColCount(4);
    d.StoreRemoveRows(0, 2);
    EXPECT_EQ(d.GetRowCount(), 3u);
    d.StoreRemoveRows(0, 10);
    EXPECT_EQ(d.GetRowCount(), 0u);
    d.StoreRemoveCols(0, 1);
    EXPECT_EQ(d.GetColCount(), 3u);
    d.StoreRemoveCols(0, 3);
    EXPECT_EQ(d.GetColCount(), 0u);
    d.StoreRemoveCols(0, 0);
    EXPECT_EQ(d.GetColCount(), 0u);
}

TEST(Data, MovingRowsAndColumns)
{
    CGXData d;
    for (ROWCOL r = 0; r < 10; ++r) {
        CGXStyle s;
        s.SetValueNumber(r);
        d.StoreStyleRowCol(r, 1, &s, gxCopy);
    }
    d.StoreMoveRows(2, 3, 6);
    CString order;
    for (ROWCOL r = 0; r < 10; ++r)
        order += ValueAt(d, r, 1);
    EXPECT_EQ(order, "0145672389");
    d.StoreMoveRows(6, 7, 2);
    order.Empty();
    for (ROWCOL r = 0; r < 10; ++r)
        order += ValueAt(d, r, 1);
    EXPECT_EQ(order, "0123456789");

    CGXStyle a = Value("a");
    d.StoreStyleRowCol(1, 3, &a, gxCopy);
    d.StoreInsertCols(2, 2);
    EXPECT_EQ(ValueAt(d, 1, 5), "a");
    EXPECT_EQ(ValueAt(d, 1, 1), "1");
    d.StoreRemoveCols(1, 2);
    EXPECT_EQ(ValueAt(d, 1, 3), "a");
}

TEST(Data, SortingReordersAndRefusesBadOrders)
{
    CGXData d;
    for (ROWCOL r = 1; r <= 3; ++r) {
        CGXStyle s;
        s.SetValueNumber(r);
        d.StoreStyleRowCol(r, 1, &s, gxCopy);
    }
    CDWordArray order;
    order.Add(2);
    order.Add(0);
    order.Add(1);
    CGXRange range(1, 1, 3, 1);
    EXPECT_TRUE(d.StoreMoveDataRows(range, order));
    EXPECT_EQ(ValueAt(d, 1, 1) + ValueAt(d, 2, 1) + ValueAt(d, 3, 1), "312");
    // An order that names a row twice would share one style between two cells.
    order[1] = 2;
    EXPECT_FALSE(d.StoreMoveDataRows(range, order));
    EXPECT_EQ(ValueAt(d, 1, 1) + ValueAt(d, 2, 1) + ValueAt(d, 3, 1), "312");
}

TEST(Data, CopiesAreDeep)
{
    CGXData d;
    CGXStyle v = Value("v");
    d.StoreStyleRowCol(1, 1, &v, gxCopy);
    CGXData e;
    e = d;
    CGXStyle w = Value("w");
    d.StoreStyleRowCol(1, 1, &w, gxOverride);
    EXPECT_EQ(ValueAt(e, 1, 1), "v");
    d.DeleteContents();
    EXPECT_EQ(d.GetRowCount(), 1u);
    EXPECT_EQ(ValueAt(d, 1, 1), "<none>");
}

TEST(Param, DefaultsAndOwnership)
{
    CGXGridParam p;
    EXPECT_EQ(p.m_nDefaultRowHeight, 1200);
    LONG h = 0;
    EXPECT_TRUE(p.m_rowHeights.Lookup(0, h));
    EXPECT_EQ(h, 1400);
    EXPECT_TRUE(p.HasOptionABits(0x08));
    EXPECT_FALSE(p.HasOptionGBits(3));
    CGXData shared;
    p.SetData(&shared, FALSE);
    p.SetData(new CGXData, TRUE);   // the shared one is not deleted
    EXPECT_TRUE(p.m_bOwnData);
    p.m_undoList.AddTail(new CGXStyle);
    p.m_nUndoCount = 4;
    p.m_redoList.AddTail(new CGXStyle);
    p.EmptyRedoList();
    EXPECT_EQ(p.m_nUndoCount, 4u);
    p.EmptyUndoList();
    EXPECT_EQ(p.m_nUndoCount, 0u);
    EXPECT_TRUE(p.m_undoList.IsEmpty());
}

// A grid holds at most 0x7FFFFFFF rows and as many columns: an insertion past that, or one whose
// slots an array could not index, is refused with the store as it was.
TEST(Data, InsertionsThatDoNotFitAreRefused)
{
    struct Case
    {
        const char* name;
        BOOL bRows;
        ROWCOL at, count;
        BOOL ok;
        ROWCOL rows, cols;
    } cases[] = {
        {"rows, the count wraps", TRUE, 2, 0xFFFFFFFF, FALSE, 8, 5},
        {"rows, past the signed range", TRUE, 2, 0x80000000, FALSE, 8, 5},
        {"rows, one past the limit", TRUE, 9, 0x7FFFFFF8, FALSE, 8, 5},
        // Up to the limit, but row 8's style would need slot 0x80000000.
        {"rows, slots past an index", TRUE, 2, 0x7FFFFFF7, FALSE, 8, 5},
        {"rows, up to the limit", TRUE, 9, 0x7FFFFFF7, TRUE, 0x7FFFFFFF, 5},
        {"columns, the count wraps", FALSE, 2, 0xFFFFFFFF, FALSE, 8, 5},
        {"columns, one past the limit", FALSE, 6, 0x7FFFFFFB, FALSE, 8, 5},
        {"columns, slots past an index", FALSE, 2, 0x7FFFFFFA, FALSE, 8, 5},
        {"columns, up to the limit", FALSE, 6, 0x7FFFFFFA, TRUE, 8, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        CGXData d;
        CGXStyle v = Value("last");
        d.StoreStyleRowCol(8, 5, &v, gxOverride);
        d.StoreStyleRowCol(8, 0, &v, gxOverride, -1);
        d.StoreStyleRowCol(0, 5, &v, gxOverride, -1);
        EXPECT_EQ(c.bRows ? d.StoreInsertRows(c.at, c.count) : d.StoreInsertCols(c.at, c.count), c.ok) << c.name;
        EXPECT_EQ(d.GetRowCount(), c.rows) << c.name;
        EXPECT_EQ(d.GetColCount(), c.cols) << c.name;
        EXPECT_EQ(ValueAt(d, 8, 5), CString("last")) << c.name;
        EXPECT_EQ(ValueAt(d, 8, 0, -1), CString("last")) << c.name;
        EXPECT_EQ(ValueAt(d, 0, 5, -1), CString("last")) << c.name;
    }
}
