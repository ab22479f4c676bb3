#include <gtest/gtest.h>
#include "afx.h"

TEST(CoreSlice, StringsListsMapsCompile)
{
    CString s("abc");
    s += "def";
    EXPECT_EQ(s.Mid(2, 3), "cde");
    CPtrList list;
    int a = 1, b = 2;
    list.AddTail(&a);
    list.AddTail(&b);
    POSITION pos = list.GetHeadPosition();
    POSITION cur = pos;
    list.GetNext(pos);
    list.RemoveAt(cur);
    EXPECT_EQ(list.GetCount(), 1);
    CMapStringToPtr map;
    map["x"] = &a;
    void* v = nullptr;
    EXPECT_TRUE(map.Lookup("x", v));
    EXPECT_EQ(v, &a);
    CStringArray arr;
    arr.Add("q");
    EXPECT_EQ(arr[0], "q");
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.PtInRect(CPoint(5, 5)));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
}
