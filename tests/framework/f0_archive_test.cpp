#include <gtest/gtest.h>
#include "f0_testutil.h"
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
// A small archivable object: a word, an optional child object, and the
// context pointer it saw while loading.
class CThing : public CObject
{
    DECLARE_SERIAL(CThing)
public:
    CThing() { ++live; }
    explicit CThing(WORD v, CObject* child = nullptr) : value(v), child(child) { ++live; }
    ~CThing() override { --live; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << value;
            ar << child;
        } else {
            context = ar.m_pDocument;
            ar >> value;
            ar >> child;
        }
    }
    WORD value = 0;
    CObject* child = nullptr;
    CObject* context = nullptr;
    static int live;
};
int CThing::live = 0;
IMPLEMENT_SERIAL(CThing, CObject, 1)

class COther : public CObject
{
    DECLARE_SERIAL(COther)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << tag;
        else
            ar >> tag;
    }
    BYTE tag = 0;
};
IMPLEMENT_SERIAL(COther, CObject, 2)

// Reads any schema of its own and remembers the one it found.
class CVersioned : public CObject
{
    DECLARE_SERIAL(CVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (!ar.IsStoring())
            schema = ar.GetObjectSchema();
    }
    UINT schema = 0;
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 2)

class CPlain : public CObject
{
    DECLARE_DYNCREATE(CPlain)
};
IMPLEMENT_DYNCREATE(CPlain, CObject)

using ByteVec = std::vector<BYTE>;

template <class F>
ByteVec Store(F f)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        f(ar);
    }
    DWORD n = file.GetLength();
    BYTE* p = file.Detach();
    ByteVec v(p, p + n);
    std::free(p);
    return v;
}

template <class F>
void Load(const ByteVec& bytes, F f)
{
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    f(ar);
}

template <class F>
int LoadCause(const ByteVec& bytes, F f)
{
    try {
        Load(bytes, f);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

ByteVec Cat(std::initializer_list<ByteVec> parts)
{
    ByteVec out;
    for (const ByteVec& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

ByteVec Text(const char* s) { return ByteVec(s, s + std::strlen(s)); }
} // namespace

TEST(Archive, CountForms)
{
    struct Case
    {
        DWORD count;
        ByteVec bytes;
    } cases[] = {
        {0, Bytes({0, 0})},
        {5, Bytes({5, 0})},
        {0xFFFE, Bytes({0xFE, 0xFF})},
        {0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {0x10000, Bytes({0xFF, 0xFF, 0, 0, 1, 0})},
    };
    for (const Case& c : cases) {
        ByteVec bytes = Store([&](CArchive& ar) { ar.WriteCount(c.count); });
        EXPECT_EQ(bytes, c.bytes) << c.count;
        Load(bytes, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
    }
}

TEST(Archive, StringForms)
{
    struct Case
    {
        int length;
        ByteVec prefix;
    } cases[] = {
        {0, Bytes({0})},
        {3, Bytes({3})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        CString s('s', c.length);
        ByteVec bytes = Store([&](CArchive& ar) { ar << s; });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(ByteVec(bytes.begin(), bytes.begin() + c.prefix.size()), c.prefix) << c.length;
        CString back("old");
        Load(bytes, [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(back, s) << c.length;
    }
    // A wide-character string is read as text.
    ByteVec wide = Bytes({0xFF, 0xFE, 0xFF, 2, 'h', 0, 'i', 0});
    CString back;
    Load(wide, [&](CArchive& ar) { ar >> back; });
    EXPECT_EQ(back, "hi");
}

TEST(Archive, ValuesAreLittleEndian)
{
    ByteVec bytes = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<DWORD>(0x789ABCDE)
           << static_cast<LONG>(-2) << 7 << 1.5f;
    });
    EXPECT_EQ(bytes, Bytes({0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0, 0, 0,
                            0xC0, 0x3F}));
    Load(bytes, [](CArchive& ar) {
        BYTE b;
        WORD w;
        DWORD dw;
        LONG l;
        int i;
        float f;
        ar >> b >> w >> dw >> l >> i >> f;
        EXPECT_EQ(b, 0x12);
        EXPECT_EQ(w, 0x3456);
        EXPECT_EQ(dw, 0x789ABCDEu);
        EXPECT_EQ(l, -2);
        EXPECT_EQ(i, 7);
        EXPECT_EQ(f, 1.5f);
        EXPECT_THROW(ar >> b, CArchiveException*);
    });
}

TEST(Archive, ObjectTagsAndBackReferences)
{
    CThing a(0x1111), b(0x2222, &a);
    ByteVec bytes = Store([&](CArchive& ar) {
        ar << &a;
        ar << &a;
        ar << &b;
        ar << static_cast<CObject*>(nullptr);
    });
    ByteVec expected = Cat({
        Bytes({0xFF, 0xFF, 1, 0, 6, 0}), Text("CThing"), // new class (index 1), schema 1
        Bytes({0x11, 0x11, 0, 0}),                       // a (index 2): value, null child
        Bytes({2, 0}),                                   // a again: back reference
        Bytes({1, 0x80}),                                // known class 1
        Bytes({0x22, 0x22, 2, 0}),                       // b (index 3): value, child = a
        Bytes({0, 0}),                                   // null
    });
    EXPECT_EQ(bytes, expected);

    int before = CThing::live;
    COther context;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = &context;
        CThing *p1, *p2, *p3;
        CObject* p4 = &a;
        ar >> p1 >> p2 >> p3 >> p4;
        ASSERT_NE(p1, nullptr);
        EXPECT_EQ(p1, p2);
        EXPECT_EQ(p1->value, 0x1111);
        EXPECT_EQ(p3->value, 0x2222);
        EXPECT_EQ(p3->child, p1);
        EXPECT_EQ(p3->context, &context);
        EXPECT_EQ(p4, nullptr);
        delete p1;
        delete p3;
    });
    EXPECT_EQ(CThing::live, before);
}

// Objects entered with MapObject take the same indexes on both sides, null and repeated ones
// included, so that a back reference to them loads as the loading side's object.
TEST(Archive, MappedObjectsKeepStoringAndLoadingInStep)
{
    CThing a(1), b(2), c(3, &a);
    ByteVec bytes = Store([&](CArchive& ar) {
        ar.MapObject(&a);
        ar.MapObject(nullptr);
        ar.MapObject(&a);
        ar.MapObject(&b);
        ar << &c;
        ar << &b;
    });
    CThing a2(10), b2(20);
    Load(bytes, [&](CArchive& ar) {
        ar.MapObject(&a2);
        ar.MapObject(nullptr);
        ar.MapObject(&a2);
        ar.MapObject(&b2);
        CThing *pc, *pb;
        ar >> pc >> pb;
        ASSERT_NE(pc, nullptr);
        EXPECT_EQ(pc->child, &a2);
        EXPECT_EQ(pb, &b2);
        delete pc;
    });
}

TEST(Archive, LargeIndexesUseTheEscapeForm)
{
    // Fill the tables up to index 0x7FFF, then refer back and add a class.
    std::vector<CThing*> things;
    for (int i = 0; i < 0x7FFE; ++i)
        things.push_back(new CThing(static_cast<WORD>(i)));
    COther o1, o2;
    ByteVec bytes = Store([&](CArchive& ar) {
        for (CThing* t : things)
            ar << t;
        ar << things.back();   // index 0x7FFF
        ar << &o1;             // class 0x8000, object 0x8001
        ar << &o2;             // class 0x8000 again
        ar << &o1;             // object 0x8001 again
    });
    ByteVec expected = Cat({
        Bytes({0xFF, 0x7F, 0xFF, 0x7F, 0, 0}),          // back reference 0x7FFF
        Bytes({0xFF, 0xFF, 2, 0, 6, 0}), Text("COther"), Bytes({0}),
        Bytes({0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80}),   // class 0x8000 with the big-class flag
        Bytes({0}),
        Bytes({0xFF, 0x7F, 0x01, 0x80, 0, 0}),          // object 0x8001
    });
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(ByteVec(bytes.end() - expected.size(), bytes.end()), expected);

    Load(bytes, [&](CArchive& ar) {
        std::vector<CObject*> back;
        for (size_t i = 0; i < things.size() + 4; ++i)
            back.push_back(ar.ReadObject(nullptr));
        EXPECT_EQ(back[things.size()], back[things.size() - 1]);
        EXPECT_TRUE(back[things.size() + 2]->IsKindOf(RUNTIME_CLASS(COther)));
        EXPECT_EQ(back[things.size() + 3], back[things.size() + 1]);
        for (size_t i = 0; i < things.size(); ++i)
            delete back[i];
        delete back[things.size() + 1];
        delete back[things.size() + 2];
    });
    for (CThing* t : things)
        delete t;
}

TEST(Archive, LoadErrorsGiveTheirCauses)
{
    auto readThing = [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CThing)); };
    struct Case
    {
        const char* what;
        ByteVec bytes;
        int cause;
    } cases[] = {
        {"schema of another version", Cat({Bytes({0xFF, 0xFF, 2, 0, 6, 0}), Text("CThing"), Bytes({0, 0, 0, 0})}),
         CArchiveException::badSchema},
        {"unknown class", Cat({Bytes({0xFF, 0xFF, 1, 0, 6, 0}), Text("CNoSuc"), Bytes({0, 0, 0, 0})}),
         CArchiveException::badClass},
        {"object of another class", Cat({Bytes({0xFF, 0xFF, 2, 0, 6, 0}), Text("COther"), Bytes({0})}),
         CArchiveException::badClass},
        {"class that is never archived", Cat({Bytes({0xFF, 0xFF, 0xFF, 0xFF, 6, 0}), Text("CPlain")}),
         CArchiveException::generic},
        {"reference to nothing", Bytes({5, 0}), CArchiveException::badIndex},
        {"class tag before any class", Bytes({1, 0x80}), CArchiveException::badIndex},
        {"data cut short", Cat({Bytes({0xFF, 0xFF, 1, 0, 6, 0}), Text("CThing"), Bytes({0x11})}),
         CArchiveException::endOfFile},
        {"empty", ByteVec(), CArchiveException::endOfFile},
    };
    int before = CThing::live;
    for (const Case& c : cases)
        EXPECT_EQ(LoadCause(c.bytes, readThing), c.cause) << c.what;
    EXPECT_EQ(CThing::live, before) << "a half-read object was kept";

    // A class tag that points at an object, not a class.
    ByteVec objAsClass = Cat({Bytes({0xFF, 0xFF, 1, 0, 6, 0}), Text("CThing"), Bytes({1, 0, 0, 0}), Bytes({2, 0x80})});
    EXPECT_EQ(LoadCause(objAsClass,
                        [](CArchive& ar) {
                            CObject* first = ar.ReadObject(nullptr);
                            std::unique_ptr<CObject> keep(first);
                            ar.ReadObject(nullptr);
                        }),
              CArchiveException::badIndex);
}

TEST(Archive, VersionableSchemaAndUnarchivableClasses)
{
    ByteVec bytes = Cat({Bytes({0xFF, 0xFF, 1, 0, 10, 0}), Text("CVersioned")});
    Load(bytes, [](CArchive& ar) {
        CVersioned* v = nullptr;
        ar >> v;
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->schema, 1u);
        delete v;
    });

    CPlain plain;
    EXPECT_THROW(Store([&](CArchive& ar) { ar << &plain; }), CNotSupportedException*);

    // Writing to a loading archive and reading from a storing one.
    EXPECT_EQ(LoadCause(Bytes({1}), [](CArchive& ar) { ar << static_cast<BYTE>(1); }), CArchiveException::readOnly);
    try {
        Store([](CArchive& ar) {
            BYTE b;
            ar >> b;
        });
        ADD_FAILURE();
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
        e->Delete();
    }
}

TEST(Archive, CollectionsRoundTripInTheirForms)
{
    CDWordArray dwords;
    dwords.Add(1);
    dwords.Add(0x01020304);
    EXPECT_EQ(Store([&](CArchive& ar) { dwords.Serialize(ar); }), Bytes({2, 0, 1, 0, 0, 0, 4, 3, 2, 1}));

    CStringArray strings;
    strings.Add("a");
    strings.Add("bc");
    EXPECT_EQ(Store([&](CArchive& ar) { strings.Serialize(ar); }), Bytes({2, 0, 1, 'a', 2, 'b', 'c'}));

    CByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes.Add(static_cast<BYTE>(i));
    CWordArray words;
    words.Add(0xBEEF);
    CStringList list;
    list.AddTail("one");
    list.AddTail("");
    CMapStringToString map;
    map["Grid"] = "1";
    map["Tile"] = "2";
    CThing t1(1), t2(2);
    CObList obs;
    obs.AddTail(&t1);
    obs.AddTail(&t2);
    obs.AddTail(&t1);
    CObArray obArray;
    obArray.Add(&t2);
    obArray.Add(nullptr);
    CMapStringToOb obMap;
    obMap["x"] = &t1;

    ByteVec all = Store([&](CArchive& ar) {
        bytes.Serialize(ar);
        words.Serialize(ar);
        list.Serialize(ar);
        map.Serialize(ar);
        obs.Serialize(ar);
        obArray.Serialize(ar);
        obMap.Serialize(ar);
        ar << &strings;   // as an object: class record "CStringArray", schema 0
    });

    int before = CThing::live;
    Load(all, [&](CArchive& ar) {
        CByteArray bytes2;
        bytes2.Add(99);   // replaced, not appended to
        bytes2.Serialize(ar);
        ASSERT_EQ(bytes2.GetSize(), 300);
        EXPECT_EQ(bytes2[299], 299 & 0xFF);
        CWordArray words2;
        words2.Serialize(ar);
        EXPECT_EQ(words2[0], 0xBEEF);
        CStringList list2;
        list2.Serialize(ar);
        ASSERT_EQ(list2.GetCount(), 2);
        EXPECT_EQ(list2.GetHead(), "one");
        EXPECT_EQ(list2.GetTail(), "");
        CMapStringToString map2;
        map2.Serialize(ar);
        CString v;
        EXPECT_TRUE(map2.Lookup("Tile", v));
        EXPECT_EQ(v, "2");
        CObList obs2;
        obs2.Serialize(ar);
        ASSERT_EQ(obs2.GetCount(), 3);
        EXPECT_EQ(obs2.GetHead(), obs2.GetTail());
        CObArray obArray2;
        obArray2.Serialize(ar);
        ASSERT_EQ(obArray2.GetSize(), 2);
        EXPECT_EQ(static_cast<CThing*>(obArray2[0])->value, 2);
        EXPECT_EQ(obArray2[1], nullptr);
        CMapStringToOb obMap2;
        obMap2.Serialize(ar);
        CObject* x = nullptr;
        EXPECT_TRUE(obMap2.Lookup("x", x));
        EXPECT_EQ(x, obs2.GetHead());
        CStringArray* strings2 = nullptr;
        ar >> strings2;
        ASSERT_NE(strings2, nullptr);
        EXPECT_EQ(strings2->GetAt(1), "bc");
        delete strings2;
        delete obs2.GetHead();
        delete obArray2[0];
    });
    EXPECT_EQ(CThing::live, before);

    // The class record of a collection carries schema 0.
    ByteVec rec = Store([&](CArchive& ar) { ar << &strings; });
    EXPECT_EQ(ByteVec(rec.begin(), rec.begin() + 4), Bytes({0xFF, 0xFF, 0, 0}));

    // A count larger than the data ends in the end-of-file exception.
    EXPECT_EQ(LoadCause(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2}),
                        [](CArchive& ar) {
                            CByteArray a;
                            a.Serialize(ar);
                        }),
              CArchiveException::endOfFile);
}

TEST(Archive, DiskFileWithDataLargerThanTheBuffer)
{
    TempDir dir;
    std::string path = dir / "big.grd";
    CString big('z', 10000);
    {
        CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        for (int i = 0; i < 3; ++i)
            ar << big << static_cast<DWORD>(i);
        ar.Close();
    }
    EXPECT_EQ(ReadAllBytes(path).size(), 3u * (3 + 10000 + 4));
    CFile f(path.c_str(), CFile::modeRead);
    {
        CArchive ar(&f, CArchive::load);
        for (int i = 0; i < 3; ++i) {
            CString s;
            DWORD n;
            ar >> s >> n;
            EXPECT_EQ(s, big);
            EXPECT_EQ(n, static_cast<DWORD>(i));
            if (i == 0) {
                // Flushing a loading archive puts the file right behind the data read.
                ar.Flush();
                EXPECT_EQ(f.GetPosition(), 3u + 10000 + 4);
            }
        }
    }
}
