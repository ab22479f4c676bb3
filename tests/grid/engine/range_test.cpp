#include <gtest/gtest.h>
#include "gxrange.h"

TEST(Range, SettersOrderTheirBounds)
{
    CGXRange r;
    EXPECT_FALSE(r.IsValid());
    r.SetCells(5, 7, 2, 3);
    EXPECT_EQ(r.top, 2u);
    EXPECT_EQ(r.left, 3u);
    EXPECT_EQ(r.bottom, 5u);
    EXPECT_EQ(r.right, 7u);
    EXPECT_TRUE(r.IsValid());
    r.SetRows(9, 4);
    EXPECT_EQ(r.type, (DWORD)GX_RANGE_ROWS);
    EXPECT_EQ(r.top, 4u);
    EXPECT_EQ(r.bottom, 9u);
    EXPECT_EQ(r.left, 0u);
    EXPECT_EQ(r.right, 0u);
    r.SetCols(3, 1);
    EXPECT_EQ(r.left, 1u);
    EXPECT_EQ(r.right, 3u);
    EXPECT_EQ(r.top, 0u);
    CGXRange none(static_cast<const CGXRange*>(nullptr));
    EXPECT_FALSE(none.IsValid());
}

TEST(Range, ContainsByKind)
{
    CGXRange rows;
    rows.SetRows(3, 4);
    EXPECT_TRUE(rows.Contains(3, 99));
    EXPECT_FALSE(rows.Contains(5, 0));
    CGXRange cols;
    cols.SetCols(2, 2);
    EXPECT_TRUE(cols.Contains(1000, 2));
    EXPECT_FALSE(cols.Contains(1, 3));
    CGXRange table;
    table.SetTable();
    EXPECT_TRUE(table.Contains(12345, 678));
    CGXRange cells(1, 1, 2, 2);
    cells.valid = FALSE;
    EXPECT_FALSE(cells.Contains(1, 1));
}

TEST(Range, IntersectAndUnion)
{
    CGXRange r;
    EXPECT_FALSE(r.Intersect(CGXRange(1, 1, 5, 5), CGXRange(6, 1, 8, 5)));
    EXPECT_FALSE(r.IsValid());
    EXPECT_EQ(r.top, 6u);
    EXPECT_EQ(r.bottom, 5u);
    EXPECT_TRUE(r.Intersect(CGXRange(1, 1, 5, 5), CGXRange(3, 2, 8, 9)));
    EXPECT_EQ(r, CGXRange(3, 2, 5, 5));
    EXPECT_TRUE(r.Union(CGXRange(1, 1, 2, 2), CGXRange(5, 6, 7, 8)));
    EXPECT_EQ(r, CGXRange(1, 1, 7, 8));

    CGXRange rows;
    rows.SetRows(2, 3).ExpandToCells(1, 1, 10, 20);
    EXPECT_EQ(rows, CGXRange(2, 1, 3, 20));
}

class RangeListTest : public ::testing::Test
{
protected:
    CGXRangeList list;
    CGXRange* Add(ROWCOL t, ROWCOL b)
    {
        CGXRange* r = new CGXRange;
        r->SetRows(t, b);
        list.AddTail(r);
        return r;
    }
};

TEST_F(RangeListTest, RemoveRows)
{
    CGXRange* a = Add(4, 10);
    CGXRange* b = Add(3, 5);
    CGXRange* c = Add(1, 2);
    CGXRange* d = Add(2, 40);
    list.RemoveRows(3, 5, 30);
    EXPECT_EQ(a->top, 3u);
    EXPECT_EQ(a->bottom, 7u);
    EXPECT_TRUE(a->valid);
    EXPECT_FALSE(b->valid);
    EXPECT_EQ(c->top, 1u);
    EXPECT_EQ(c->bottom, 2u);
    EXPECT_EQ(d->top, 2u);
    EXPECT_EQ(d->bottom, 30u);   // never beyond the last row
}

TEST_F(RangeListTest, MoveRowsDownAndUp)
{
    CGXRange* a = Add(2, 2);
    CGXRange* b = Add(4, 5);
    CGXRange* c = Add(8, 8);
    list.MoveRows(2, 3, 6, 100);
    EXPECT_EQ(a->top, 6u);
    EXPECT_EQ(b->top, 2u);
    EXPECT_EQ(b->bottom, 3u);
    EXPECT_EQ(c->top, 8u);

    list.DeleteAll();
    CGXRange* x = Add(6, 7);
    CGXRange* y = Add(2, 5);
    CGXRange* z = Add(1, 1);
    list.MoveRows(6, 7, 2, 100);
    EXPECT_EQ(x->top, 2u);
    EXPECT_EQ(x->bottom, 3u);
    EXPECT_EQ(y->top, 4u);
    EXPECT_EQ(y->bottom, 7u);
    EXPECT_EQ(z->top, 1u);
}

TEST_F(RangeListTest, InsertAndFind)
{
    CGXRange* a = Add(3, 4);
    list.InsertRows(4, 2);
    EXPECT_EQ(a->top, 3u);
    EXPECT_EQ(a->bottom, 6u);
    POSITION pos = list.FindRange(5, 1);
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(list.GetRangeAt(pos), a);
    EXPECT_FALSE(list.AnyRangeContains(5, 1, pos));
    EXPECT_TRUE(list.AnyRangeContains(5, 1));
}

TEST_F(RangeListTest, ColumnSpansMerge)
{
    struct Case { ROWCOL a0, a1, b0, b1; int spans; };
    const Case cases[] = {{2, 3, 4, 6, 1}, {2, 3, 5, 6, 2}, {5, 6, 2, 3, 2}, {2, 8, 3, 4, 1}};
    for (const Case& c : cases) {
        list.DeleteAll();
        CGXRange* r1 = new CGXRange;
        r1->SetCols(c.a0, c.a1);
        CGXRange* r2 = new CGXRange;
        r2->SetCols(c.b0, c.b1);
        list.AddTail(r1);
        list.AddTail(r2);
        CDWordArray s, e;
        EXPECT_TRUE(list.GetColSpans(10, s, e));
        ASSERT_EQ(s.GetSize(), c.spans) << c.a0 << ".." << c.a1 << " + " << c.b0 << ".." << c.b1;
        for (int i = 1; i < s.GetSize(); ++i)
            EXPECT_LT(e[i - 1] + 1, s[i]);
    }
    CDWordArray s, e;
    list.GetColSpans(10, s, e);
    EXPECT_EQ(s[0], 2u);
    EXPECT_EQ(e[0], 8u);
    // Cell ranges count only when asked for every kind; a column range covers every row.
    list.DeleteAll();
    list.AddTail(new CGXRange(2, 2, 3, 3));
    EXPECT_FALSE(list.GetRowSpans(10, s, e));
    CGXRange* cols = new CGXRange;
    cols->SetCols(1, 1);
    list.AddTail(cols);
    EXPECT_TRUE(list.GetRowSpans(10, s, e, TRUE));
    ASSERT_EQ(s.GetSize(), 1);
    EXPECT_EQ(s[0], 0u);
    EXPECT_EQ(e[0], 10u);
}
