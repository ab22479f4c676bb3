#include <gtest/gtest.h>
#include "gxcoll.h"
#include <map>

namespace {
std::map<DWORD, LONG> Contents(const CGXMapDWordToLong& m)
{
    std::map<DWORD, LONG> out;
    for (POSITION pos = m.GetStartPosition(); pos;) {
        DWORD k;
        LONG v;
        m.GetNextAssoc(pos, k, v);
        out[k] = v;
    }
    return out;
}
} // namespace

TEST(CollMaps, RowKeysFollowStructureChanges)
{
    CGXMapDWordToLong m;
    m[1] = 10;
    m[4] = 40;
    m[9] = 90;
    m.RemoveKeys(3, 5);
    EXPECT_EQ(Contents(m), (std::map<DWORD, LONG>{{1, 10}, {6, 90}}));

    CGXMapDWordToLong mv;
    mv[2] = 20;
    mv[4] = 40;
    mv[8] = 80;
    mv.MoveKeys(2, 3, 6);
    EXPECT_EQ(Contents(mv), (std::map<DWORD, LONG>{{6, 20}, {2, 40}, {8, 80}}));
    mv.MoveKeys(6, 7, 2);   // and back
    EXPECT_EQ(Contents(mv), (std::map<DWORD, LONG>{{2, 20}, {4, 40}, {8, 80}}));

    mv.InsertKeys(4, 3);
    EXPECT_EQ(Contents(mv), (std::map<DWORD, LONG>{{2, 20}, {7, 40}, {11, 80}}));
}

TEST(CollMaps, HashingFollowsTheFrameworksMaps)
{
    // Keys within one bucket of 16 share a bucket; iteration runs by bucket.
    CGXCollMapDWordToString m;
    m[0x20] = "b";
    m[0x10] = "a";
    POSITION pos = m.GetStartPosition();
    DWORD k;
    CString v;
    m.GetNextAssoc(pos, k, v);
    EXPECT_EQ(k, 0x10u);
    EXPECT_EQ(AfxHashKey(GXNdxKey{0x35, 0x2}), (0x2u << 12) | (0x35u >> 4));

    CGXMapCellToOb cells;
    CObject* p = nullptr;
    CGXMapCellToOb* self = &cells;
    cells.SetAt(3, 4, self);
    EXPECT_TRUE(cells.Lookup(3, 4, p));
    EXPECT_EQ(p, self);
    EXPECT_FALSE(cells.Lookup(4, 3, p));
    EXPECT_TRUE(cells.RemoveKey(3, 4));
    EXPECT_EQ(cells.GetCount(), 0);
}

TEST(CollMaps, BitArray)
{
    CGXBitArray bits;
    EXPECT_FALSE(bits.GetBit(100000));
    EXPECT_EQ(bits.GetSize(), 0);   // asking does not grow it
    bits.SetBit(3, TRUE);
    bits.SetBit(9, TRUE);
    EXPECT_EQ(bits.GetSize(), 2);
    EXPECT_TRUE(bits.GetBit(9));
    bits.InsertBits(4, 2);
    EXPECT_TRUE(bits.GetBit(3));
    EXPECT_TRUE(bits.GetBit(11));
    EXPECT_FALSE(bits.GetBit(9));
    bits.RemoveBits(0, 3);
    EXPECT_TRUE(bits.GetBit(7));
    EXPECT_FALSE(bits.GetBit(3));
    bits.MoveBits(7, 7, 0);
    EXPECT_TRUE(bits.GetBit(0));
    EXPECT_FALSE(bits.GetBit(7));
}
