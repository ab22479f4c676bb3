#include "RecordingServices.h"
#include "Wad.h"
#include "WadBuilder.h"

namespace {

class Wads : public ModelTest
{
protected:
    // Opens a WAD written from the bytes; null when the open failed.
    CWad* Open(const std::string& bytes)
    {
        dir.WriteFile("t.wad", bytes);
        CWad* wad = new CWad;
        wad->OnNewDocument();
        if (wad->OnOpenDocument(dir.Path("t.wad")))
            return wad;
        delete wad;
        return nullptr;
    }
    std::vector<std::string> Names(CWad* wad)
    {
        std::vector<std::string> out;
        for (POSITION pos = wad->GetLumps().GetHeadPosition(); pos;)
            out.push_back(static_cast<WadLump*>(wad->GetLumps().GetNext(pos))->name.GetString());
        return out;
    }
    CTempDir dir;
};

TEST_F(Wads, DirectoryNamesTypesAndData)
{
    std::vector<TestLump> lumps = {MipLump("wall1_1", 16, 16), {"ABCDEFGHIJKLMNOP", 64, {1, 2, 3}}};
    CWad* wad = Open(BuildWad(lumps));
    ASSERT_NE(wad, nullptr);
    EXPECT_EQ(Names(wad), std::vector<std::string>({"WALL1_1", "ABCDEFGHIJKLMNOP"}));
    WadLump* first = static_cast<WadLump*>(wad->GetLumps().GetHead());
    WadLump* second = static_cast<WadLump*>(wad->GetLumps().GetTail());
    EXPECT_EQ(first->type, WAD_TYPE_MIPTEX);
    EXPECT_EQ(first->offset, 12);
    EXPECT_EQ(first->size, 40 + 256);
    EXPECT_EQ(second->data[2], 3);
    wad->RemoveLump(first);
    EXPECT_EQ(wad->GetLumps().GetCount(), 1);
    wad->OnCloseDocument(); // deletes what is left, not the removed lump
    delete first;
}

TEST_F(Wads, BrokenFilesAreRefusedAndBadLumpsSkipped)
{
    std::string good = BuildWad({MipLump("A", 8, 8), MipLump("B", 8, 8)});
    struct Case
    {
        const char* what;
        std::string bytes;
        const char* report; // null: opens
        size_t lumps;
    } cases[] = {
        {"empty file", "", "Couldn't Create Mapping File for", 0},
        {"short header", "WAD2\x01\x00", "too short", 0},
        {"no lumps", std::string("WAD2\0\0\0\0\0\0\0\0", 12), nullptr, 0},
        {"negative count", std::string("WAD2\xff\xff\xff\xff\0\0\0\0", 12), nullptr, 0},
        {"directory past the end", good.substr(0, good.size() - 1), "directory lies outside", 0},
        {"good", good, nullptr, 2},
    };
    for (const Case& c : cases) {
        services->boxes.clear();
        CWad* wad = Open(c.bytes);
        SCOPED_TRACE(c.what);
        if (c.report) {
            EXPECT_EQ(wad, nullptr);
            EXPECT_TRUE(services->BoxContains(c.report));
            // No handle stays open: the file can be deleted at once.
            EXPECT_TRUE(::DeleteFileA(dir.Path("t.wad")));
        } else {
            ASSERT_NE(wad, nullptr);
            EXPECT_EQ(static_cast<size_t>(wad->GetLumps().GetCount()), c.lumps);
            wad->OnCloseDocument();
        }
    }
    // A lump whose data runs past the end is skipped with a status line.
    std::vector<uint8_t> v(good.begin(), good.end());
    size_t dirOfs = v.size() - 64;
    PutInt(v, dirOfs + 8, 100000);
    PutInt(v, dirOfs, 1 << 30);
    CWad* wad = Open(std::string(v.begin(), v.end()));
    ASSERT_NE(wad, nullptr);
    EXPECT_EQ(Names(wad), std::vector<std::string>({"B"}));
    EXPECT_TRUE(services->LineContains("The lump A of"));
    wad->OnCloseDocument();

    EXPECT_EQ(Open("x"), nullptr); // missing files and the like
    services->boxes.clear();
    CWad* none = new CWad;
    EXPECT_FALSE(none->OnOpenDocument(dir.Path("missing.wad")));
    EXPECT_TRUE(services->BoxContains("Couldn't open"));
    delete none;
}

} // namespace
