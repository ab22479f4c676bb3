#include <gtest/gtest.h>
#include "f0_testutil.h"
#include <new>
#include <stdexcept>
#include <vector>

// ---------------------------------------------------------------------------
// Run-time classes

namespace {
class CShape : public CObject
{
    DECLARE_DYNCREATE(CShape)
public:
    int sides = 0;
};
IMPLEMENT_DYNCREATE(CShape, CObject)

class CSquare : public CShape
{
    DECLARE_DYNCREATE(CSquare)
public:
    CSquare() { sides = 4; }
};
IMPLEMENT_DYNCREATE(CSquare, CShape)

// A framework object first, another base second, as windows that are also
// grid controls are made.
struct OtherPart
{
    virtual ~OtherPart() = default;
    int other = 7;
};
class CMixed : public CSquare, public OtherPart
{
    DECLARE_DYNAMIC(CMixed)
};
IMPLEMENT_DYNAMIC(CMixed, CSquare)

class CHungry : public CObject
{
    DECLARE_DYNCREATE(CHungry)
public:
    CHungry() { AfxThrowMemoryException(); }
};
IMPLEMENT_DYNCREATE(CHungry, CObject)

class CGreedy : public CObject
{
    DECLARE_DYNCREATE(CGreedy)
public:
    CGreedy() { throw std::bad_alloc(); }
};
IMPLEMENT_DYNCREATE(CGreedy, CObject)
} // namespace

TEST(RuntimeClass, KindsNamesAndCreation)
{
    CMixed mixed;
    OtherPart* other = &mixed;
    EXPECT_EQ(other->other, 7);
    EXPECT_TRUE(mixed.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(mixed.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(CShape().IsKindOf(RUNTIME_CLASS(CSquare)));
    EXPECT_TRUE(RUNTIME_CLASS(CSquare)->IsDerivedFrom(RUNTIME_CLASS(CShape)));
    EXPECT_STREQ(mixed.GetRuntimeClass()->m_lpszClassName, "CMixed");
    EXPECT_EQ(RUNTIME_CLASS(CMixed)->m_pBaseClass, RUNTIME_CLASS(CSquare));
    EXPECT_FALSE(mixed.IsSerializable());
    EXPECT_TRUE(CStringArray().IsSerializable());

    // Names are data: classes are found and made by name.
    CRuntimeClass* cls = CRuntimeClass::FromName("CSquare");
    ASSERT_EQ(cls, RUNTIME_CLASS(CSquare));
    CObject* made = cls->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<CSquare*>(made)->sides, 4);
    delete made;
    EXPECT_EQ(CRuntimeClass::FromName("CNothing"), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CMixed)->CreateObject(), nullptr);   // not creatable
    // A failing allocation gives null, whatever the constructor threw.
    EXPECT_EQ(RUNTIME_CLASS(CHungry)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CGreedy)->CreateObject(), nullptr);
}

// ---------------------------------------------------------------------------
// Strings

TEST(String, SlicingAndSearching)
{
    CString s("abcdef");
    struct Slice
    {
        CString got;
        const char* want;
    } slices[] = {
        {s.Mid(2, 3), "cde"}, {s.Mid(4), "ef"},   {s.Mid(6), ""},    {s.Mid(10), ""},   {s.Mid(-2, 2), "ab"},
        {s.Mid(4, 10), "ef"}, {s.Mid(1, -1), ""}, {s.Left(2), "ab"}, {s.Left(-1), ""},  {s.Left(99), "abcdef"},
        {s.Right(2), "ef"},   {s.Right(0), ""},   {s.Right(9), "abcdef"},
        {CString("a,b;c").SpanExcluding(",;"), "a"}, {CString("aab").SpanIncluding("a"), "aa"},
    };
    for (const Slice& c : slices)
        EXPECT_EQ(c.got, c.want);

    CString t("a.b.c");
    EXPECT_EQ(t.Find('.'), 1);
    EXPECT_EQ(t.Find('.', 2), 3);
    EXPECT_EQ(t.Find('.', 5), -1);
    EXPECT_EQ(t.Find('x'), -1);
    EXPECT_EQ(t.Find("b.c"), 2);
    EXPECT_EQ(t.Find("b", 3), -1);
    EXPECT_EQ(t.Find(""), 0);
    EXPECT_EQ(t.ReverseFind('.'), 3);
    EXPECT_EQ(t.ReverseFind('x'), -1);
    EXPECT_EQ(t.FindOneOf("cb"), 2);
    EXPECT_EQ(t.FindOneOf("xyz"), -1);
    EXPECT_EQ(t[4], 'c');
    EXPECT_EQ(t.GetAt(0), 'a');
}

TEST(String, EditingCaseTrimAndCompare)
{
    CString s("one two one");
    EXPECT_EQ(s.Replace("one", "three"), 2);
    EXPECT_EQ(s, "three two three");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace("zzz", "x"), 0);
    EXPECT_EQ(s.Replace('t', 'T'), 3);
    EXPECT_EQ(s, "Three Two Three");
    EXPECT_EQ(s.Replace(" ", nullptr), 2);
    EXPECT_EQ(s, "ThreeTwoThree");
    CString r("aaa");
    EXPECT_EQ(r.Replace("a", "aa"), 3);
    EXPECT_EQ(r, "aaaaaa");
    EXPECT_EQ(r.Remove('a'), 6);
    EXPECT_TRUE(r.IsEmpty());

    CString c("Item_ArmorInv");
    c.MakeLower();
    EXPECT_EQ(c, "item_armorinv");
    c.MakeUpper();
    EXPECT_EQ(c, "ITEM_ARMORINV");
    CString ws(" \t key = value \r\n");
    ws.TrimLeft();
    ws.TrimRight();
    EXPECT_EQ(ws, "key = value");
    CString brackets("[[Paths]]");
    brackets.TrimLeft('[');
    brackets.TrimRight("]");
    EXPECT_EQ(brackets, "Paths");
    CString ins("ac");
    ins.Insert(1, 'b');
    ins.Insert(99, "d");
    ins.Delete(0, 1);
    EXPECT_EQ(ins, "bcd");

    EXPECT_EQ(CString("abc").Compare("abd") < 0, true);
    EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
    EXPECT_TRUE(CString("b") > "a");
    EXPECT_TRUE("a" < CString("b"));
    EXPECT_TRUE(CString("x") == CString("x"));
    EXPECT_EQ(CString("ab") + 'c' + "d" + CString("e"), "abcde");
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_EQ(CString("abcdef", 3), "abc");
    CString fromNull(static_cast<LPCSTR>(nullptr));
    EXPECT_TRUE(fromNull.IsEmpty());
}

TEST(String, BuffersAndFormat)
{
    CString s("keep");
    LPSTR p = s.GetBuffer(100);
    EXPECT_STREQ(p, "keep");
    lstrcpyA(p, "written through the buffer");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "written through the buffer");
    EXPECT_EQ(s.GetLength(), 26);

    p = s.GetBuffer(10);
    p[3] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "wri");
    p = s.GetBufferSetLength(5);
    p[3] = 'x';
    p[4] = 'y';
    s.ReleaseBuffer(5);
    EXPECT_EQ(s, "wrixy");
    s.GetBuffer(0);
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, "wr");

    // Text that GetWindowText-style calls write into a sized buffer.
    CString fill;
    ::GetTempPathA(MAX_PATH, fill.GetBuffer(MAX_PATH));
    fill.ReleaseBuffer();
    EXPECT_GT(fill.GetLength(), 0);
    EXPECT_EQ(fill.Right(1), "\\");

    CString f;
    f.Format("%d %s %5.2f %c %u%%", -3, "x", 1.5, 'q', 7u);
    EXPECT_EQ(f, "-3 x  1.50 q 7%");
    f.Format("%s", static_cast<LPCSTR>(CString('z', 300)));
    EXPECT_EQ(f.GetLength(), 300);
    f.Format("(%d %d %d %d %d %d)", 1, 2, 3, 4, 5, 6);
    EXPECT_EQ(f, "(1 2 3 4 5 6)");
    f.Format("%ld %lu %x", -70000L, 4000000000UL, 255);
    EXPECT_EQ(f, "-70000 4000000000 ff");

    CString out;
    LPCSTR args[] = {"1", "100"};
    AfxFormatStrings(out, "Please enter an integer between %1 and %2.", args, 2);
    EXPECT_EQ(out, "Please enter an integer between 1 and 100.");
    AfxFormatStrings(out, "%2-%1-%3", args, 2);
    EXPECT_EQ(out, "100-1-");

    CString missing("unchanged");
    EXPECT_FALSE(missing.LoadString(65000));
    EXPECT_EQ(missing, "unchanged");
}

// ---------------------------------------------------------------------------
// Lists

TEST(List, InsertFindAndRemoveWhileIterating)
{
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION d = list.AddTail("d");
    list.InsertBefore(d, "c");
    list.InsertAfter(d, "e");
    list.InsertAfter(nullptr, "f");   // nowhere given: the tail
    auto contents = [](const CStringList& l) {
        CString all;
        for (POSITION pos = l.GetHeadPosition(); pos != nullptr;)
            all += l.GetNext(pos);
        return all;
    };
    EXPECT_EQ(contents(list), "abcdef");
    EXPECT_EQ(list.GetCount(), 6);
    EXPECT_EQ(list.GetAt(list.FindIndex(2)), "c");
    EXPECT_EQ(list.FindIndex(6), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    EXPECT_EQ(list.Find("d"), d);
    EXPECT_EQ(list.Find("a", list.GetHeadPosition()), nullptr);
    EXPECT_EQ(list.Find("zz"), nullptr);

    // Remove every other element while walking: remove the one just passed.
    int index = 0;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr; ++index) {
        POSITION current = pos;
        list.GetNext(pos);
        if (index % 2 == 1)
            list.RemoveAt(current);
    }
    EXPECT_EQ(contents(list), "ace");
    EXPECT_EQ(list.RemoveHead(), "a");
    EXPECT_EQ(list.RemoveTail(), "e");
    EXPECT_EQ(list.GetHead(), "c");
    EXPECT_EQ(list.GetTail(), "c");
    list.SetAt(list.GetHeadPosition(), "z");
    EXPECT_EQ(list.GetHead(), "z");
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);

    // Removing every element during the walk.
    CPtrList ptrs(10);
    int v[4];
    for (int& x : v)
        ptrs.AddTail(&x);
    for (POSITION pos = ptrs.GetHeadPosition(); pos != nullptr;) {
        POSITION current = pos;
        ptrs.GetNext(pos);
        ptrs.RemoveAt(current);
    }
    EXPECT_EQ(ptrs.GetCount(), 0);
    EXPECT_EQ(ptrs.GetTailPosition(), nullptr);

    // Walking backwards and joining lists.
    CPtrList a, b;
    a.AddTail(&v[0]);
    b.AddTail(&v[1]);
    b.AddTail(&v[2]);
    a.AddTail(&b);
    a.AddHead(&b);
    std::vector<void*> back;
    for (POSITION pos = a.GetTailPosition(); pos != nullptr;)
        back.push_back(a.GetPrev(pos));
    EXPECT_EQ(back, (std::vector<void*>{&v[2], &v[1], &v[0], &v[2], &v[1]}));
}

// A list class built on the pointer list, as the grid's range list is.
namespace {
class CIntPtrList : public CTypedPtrList<CPtrList, int*>
{
};
} // namespace

TEST(List, TypedListOverThePointerList)
{
    int a = 1, b = 2;
    CIntPtrList list;
    list.AddTail(&a);
    list.AddTail(&b);
    POSITION pos = list.GetHeadPosition();
    int* first = list.GetNext(pos);
    EXPECT_EQ(*first, 1);
    EXPECT_EQ(*list.GetAt(pos), 2);
    EXPECT_EQ(list.RemoveTail(), &b);
    EXPECT_EQ(list.GetHead(), &a);
}

// ---------------------------------------------------------------------------
// Arrays

TEST(Array, GrowInsertRemoveAndCopy)
{
    CUIntArray a;
    a.SetSize(3, 10);
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a.GetUpperBound(), 2);
    EXPECT_EQ(a[2], 0u);
    for (UINT i = 0; i < 3; ++i)
        a[i] = i + 1;   // 1 2 3
    EXPECT_EQ(a.Add(4), 3);
    a.InsertAt(1, 9, 2);   // 1 9 9 2 3 4
    a.InsertAt(8, 7);      // grows with zeros up to the place: ... 4 0 0 7
    std::vector<UINT> want = {1, 9, 9, 2, 3, 4, 0, 0, 7};
    ASSERT_EQ(a.GetSize(), static_cast<int>(want.size()));
    for (int i = 0; i < a.GetSize(); ++i)
        EXPECT_EQ(a[i], want[i]) << i;
    a.RemoveAt(1, 2);      // 1 2 3 4 0 0 7
    a.RemoveAt(5, 10);     // cut to the end: 1 2 3 4 0
    EXPECT_EQ(a.GetSize(), 5);
    EXPECT_EQ(a[4], 0u);
    a.SetAtGrow(6, 5);
    EXPECT_EQ(a.GetSize(), 7);
    EXPECT_EQ(a.GetAt(6), 5u);
    a.ElementAt(0) = 11;
    EXPECT_EQ(a[0], 11u);

    // Keep values through many steps of growth, then shrink.
    CDWordArray big;
    for (DWORD i = 0; i < 5000; ++i)
        big.Add(i * 3);
    EXPECT_EQ(big[4999], 14997u);
    big.SetSize(10);
    EXPECT_EQ(big.GetSize(), 10);
    EXPECT_EQ(big[9], 27u);
    big.SetSize(12);
    EXPECT_EQ(big[11], 0u);   // new elements start empty

    CStringArray s1, s2;
    s1.Add("x");
    s1.Add("y");
    s2.Copy(s1);
    s1.SetAt(0, "changed");
    EXPECT_EQ(s2[0], "x");
    s2.InsertAt(1, &s1);
    EXPECT_EQ(s2.GetSize(), 4);
    EXPECT_EQ(s2[1], "changed");
    EXPECT_EQ(s2[3], "y");
    s2.Add(s2[0]);   // an element of the array itself, through a reallocation
    EXPECT_EQ(s2[4], "x");
    s2.RemoveAll();
    EXPECT_EQ(s2.GetSize(), 0);
}

TEST(Array, TemplateArrayOfRecords)
{
    struct Rec
    {
        int id;
        double value;
    };
    CArray<Rec, const Rec&> recs;
    recs.SetSize(0, 16);
    for (int i = 0; i < 40; ++i)
        recs.Add(Rec{i, i * 0.5});
    EXPECT_EQ(recs.GetSize(), 40);
    EXPECT_EQ(recs[39].id, 39);
    recs.RemoveAt(0, 39);
    EXPECT_EQ(recs[0].value, 19.5);

    // A size that cannot be had ends in the framework's memory exception.
    struct Big
    {
        char bytes[1 << 16];
    };
    CArray<Big, const Big&> huge;
    EXPECT_THROW(huge.SetSize(0x7FFFFFFF), CMemoryException*);
    EXPECT_EQ(huge.GetSize(), 0);

    CTypedPtrArray<CPtrArray, Rec*> ptrs;
    Rec r{1, 2};
    ptrs.Add(&r);
    EXPECT_EQ(ptrs[0]->id, 1);
    EXPECT_EQ(ptrs.GetAt(0), &r);
}

// ---------------------------------------------------------------------------
// Maps

TEST(Map, HashesAreTheFrameworksOwn)
{
    EXPECT_EQ(AfxHashKey("abc"), 108966u);   // h * 33 + character
    EXPECT_EQ(AfxHashKey(""), 0u);
    EXPECT_EQ(AfxHashKey("\xE9"), 0xFFFFFFE9u);   // characters count as signed bytes
    EXPECT_EQ(AfxHashKey(static_cast<WORD>(0x35)), 3u);   // key >> 4
    EXPECT_EQ(AfxHashKey(reinterpret_cast<void*>(0x1230)), 0x123u);
    EXPECT_EQ(AfxHashKey(static_cast<DWORD>(0xFFFF0)), 0xFFFFu);
}

TEST(Map, IterationRunsOverBucketsNewestFirst)
{
    // Buckets of 17: "a" 12, "b" 13, "q" 11, "r" 12.
    CMapStringToPtr map;
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    int x;
    for (const char* key : {"a", "b", "q", "r"})
        map[key] = &x;
    std::vector<CString> order;
    CString key;
    void* value;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        map.GetNextAssoc(pos, key, value);
        order.push_back(key);
    }
    EXPECT_EQ(order, (std::vector<CString>{"q", "r", "a", "b"}));

    // With 413 buckets the keys fall by their hash: q 113 < r 114 < abc 347.
    CMapStringToString big;
    big.InitHashTable(413);
    EXPECT_EQ(big.GetHashTableSize(), 413u);
    for (const char* k : {"abc", "r", "q"})
        big[k] = k;
    order.clear();
    CString v;
    for (POSITION pos = big.GetStartPosition(); pos != nullptr;) {
        big.GetNextAssoc(pos, key, v);
        EXPECT_EQ(key, v);
        order.push_back(key);
    }
    EXPECT_EQ(order, (std::vector<CString>{"q", "r", "abc"}));

    // Word keys: 1 and 272 share bucket 0 (272 >> 4 = 17), 16 is in 1, 32 in 2.
    CMapWordToPtr words;
    for (WORD k : {16, 1, 32, 272})
        words[k] = nullptr;
    std::vector<WORD> wordOrder;
    WORD w;
    for (POSITION pos = words.GetStartPosition(); pos != nullptr;) {
        words.GetNextAssoc(pos, w, value);
        wordOrder.push_back(w);
    }
    EXPECT_EQ(wordOrder, (std::vector<WORD>{272, 1, 16, 32}));
}

TEST(Map, LookupSetRemoveAndNullValues)
{
    CMapStringToPtr map;
    void* v = reinterpret_cast<void*>(1);
    EXPECT_FALSE(map.Lookup("missing", v));
    map.SetAt("null", nullptr);   // null values are entries like any other
    EXPECT_TRUE(map.Lookup("null", v));
    EXPECT_EQ(v, nullptr);
    int a, b;
    map["k"] = &a;
    map["k"] = &b;   // replaces
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_TRUE(map.Lookup("k", v));
    EXPECT_EQ(v, &b);
    EXPECT_FALSE(map.Lookup("K", v));   // case matters
    EXPECT_TRUE(map.RemoveKey("k"));
    EXPECT_FALSE(map.RemoveKey("k"));
    EXPECT_EQ(map.GetCount(), 1);

    // Removing the entry just returned by the walk is safe.
    CMapPtrToPtr ptrs;
    int keys[50];
    for (int& k : keys)
        ptrs[&k] = &k;
    int seen = 0;
    for (POSITION pos = ptrs.GetStartPosition(); pos != nullptr; ++seen) {
        void *key, *value;
        ptrs.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, value);
        ptrs.RemoveKey(key);
    }
    EXPECT_EQ(seen, 50);
    EXPECT_TRUE(ptrs.IsEmpty());

    CMapUIntPtrToOb timers;
    CShape shape;
    timers[static_cast<UINT_PTR>(0x100000001ULL)] = &shape;
    CObject* found = nullptr;
    EXPECT_TRUE(timers.Lookup(static_cast<UINT_PTR>(0x100000001ULL), found));
    EXPECT_EQ(found, &shape);
    EXPECT_FALSE(timers.Lookup(1, found));

    CMapPtrToWord words;
    words[&a] = 7;
    WORD word = 0;
    EXPECT_TRUE(words.Lookup(&a, word));
    EXPECT_EQ(word, 7);
    words.RemoveAll();
    EXPECT_EQ(words.GetCount(), 0);
    EXPECT_FALSE(words.Lookup(&a, word));
}

// ---------------------------------------------------------------------------
// Geometry

TEST(Geometry, RectanglesPointsAndSizes)
{
    CRect r(10, 20, 0, 5);
    EXPECT_TRUE(r.IsRectEmpty());
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(0, 5, 10, 20));
    EXPECT_EQ(r.Width(), 10);
    EXPECT_EQ(r.Height(), 15);
    EXPECT_EQ(r.CenterPoint(), CPoint(5, 12));
    EXPECT_TRUE(r.PtInRect(CPoint(0, 5)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 5)));   // right and bottom edges lie outside
    r.InflateRect(1, 2);
    EXPECT_EQ(r, CRect(-1, 3, 11, 22));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(0, 5, 8, 18));
    r.OffsetRect(CPoint(2, -5));
    EXPECT_EQ(r, CRect(2, 0, 10, 13));
    EXPECT_EQ(r.TopLeft(), CPoint(2, 0));
    EXPECT_EQ(r.BottomRight(), CPoint(10, 13));

    CRect i;
    EXPECT_TRUE(i.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(i, CRect(5, 5, 10, 10));
    EXPECT_FALSE(i.IntersectRect(CRect(0, 0, 1, 1), CRect(2, 2, 3, 3)));
    EXPECT_TRUE(i.IsRectNull());
    CRect u;
    u.UnionRect(CRect(0, 0, 1, 1), CRect(5, 5, 6, 6));
    EXPECT_EQ(u, CRect(0, 0, 6, 6));
    EXPECT_EQ(CRect(0, 0, 4, 4) & CRect(2, 2, 6, 6), CRect(2, 2, 4, 4));
    EXPECT_EQ(CRect(0, 0, 4, 4) | CRect(2, 2, 6, 6), CRect(0, 0, 6, 6));
    EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
    EXPECT_EQ(CRect(0, 0, 1, 1) + CPoint(1, 1), CRect(1, 1, 2, 2));

    CPoint p(3, 4);
    p += CSize(1, 1);
    EXPECT_EQ(p, CPoint(4, 5));
    EXPECT_EQ(p - CPoint(1, 1), CSize(3, 4));
    EXPECT_EQ(-p, CPoint(-4, -5));
    EXPECT_EQ(CPoint(static_cast<DWORD>(MAKELONG(-3, 7))), CPoint(-3, 7));
    EXPECT_EQ(CSize(2, 3) + CSize(1, 1), CSize(3, 4));
}
