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
        // Only a texture WAD is taken: "WAD2" and at least one lump; each refusal names its reason.
        {"empty file", "", "is not a texture WAD: it is empty.", 0},
        {"a pack", "PACK" + good.substr(4), "is not a texture WAD: it starts with \"PACK\", not \"WAD2\".", 0},
        {"a Doom WAD", "IWAD" + good.substr(4), "it starts with \"IWAD\"", 0},
        {"a Half-Life WAD", "WAD3" + good.substr(4), "it starts with \"WAD3\"", 0},
        {"garbage", std::string("\xBF\x98\x00\x01", 4) + good.substr(4), "it starts with \"\\xBF\\x98\\x00\\x01\"", 0},
        {"short header", "WAD2\x01\x00", "too short", 0},
        {"no lumps", std::string("WAD2\0\0\0\0\0\0\0\0", 12), "its lump count is 0, so it holds no texture.", 0},
        {"negative count", std::string("WAD2\xff\xff\xff\xff\0\0\0\0", 12), "its lump count is -1", 0},
        {"a good count of 0", "WAD2" + std::string(4, '\0') + good.substr(8), "its lump count is 0", 0},
        {"directory past the end", good.substr(0, good.size() - 1), "directory lies outside", 0},
        {"good", good, nullptr, 2},
    };
    for (const Case& c : cases) {
        services->boxes.clear();
        CWad* wad = Open(c.bytes);
        SCOPED_TRACE(c.what);
        if (c.report) {
            EXPECT_EQ(wad, nullptr);
            ASSERT_EQ(services->boxes.size(), 1u);
            EXPECT_NE(services->boxes[0].text.find(c.report), std::string::npos) << services->boxes[0].text;
            EXPECT_NE(services->boxes[0].text.find(std::string(dir.Path("t.wad"))), std::string::npos);
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

    // Lumps that cannot be used are left out, each with one status line naming the WAD and the
    // lump's place in its directory.
    std::vector<TestLump> lumps = {MipLump("A", 8, 8), MipLump("", 8, 8), MipLump("B\x01", 8, 8),
                                   MipLump("C D", 8, 8), MipLump("E", 8, 8), MipLump("F", 8, 8)};
    std::vector<uint8_t> w;
    {
        std::string bytes = BuildWad(lumps);
        w.assign(bytes.begin(), bytes.end());
    }
    w[w.size() - 32 * 2 + 13] = 1; // lump 4 ("E") compressed
    services->lines.clear();
    services->statuses.clear();
    wad = Open(std::string(w.begin(), w.end()));
    ASSERT_NE(wad, nullptr);
    EXPECT_EQ(Names(wad), std::vector<std::string>({"A", "F"}));
    const std::string path(dir.Path("t.wad"));
    const std::vector<std::string> expected = {
        "Lump 1 of " + path + " has no printable name and is skipped.\r\n",
        "Lump 2 of " + path + " has no printable name and is skipped.\r\n",
        "Lump 3 of " + path + " has no printable name and is skipped.\r\n",
        "Lump 4 (E) of " + path + " is compressed and is skipped.\r\n",
    };
    EXPECT_EQ(services->lines, expected);
    EXPECT_EQ(services->statuses.size(), expected.size());
    wad->OnCloseDocument();

    EXPECT_EQ(Open("x"), nullptr); // missing files and the like
    services->boxes.clear();
    CWad* none = new CWad;
    EXPECT_FALSE(none->OnOpenDocument(dir.Path("missing.wad")));
    EXPECT_TRUE(services->BoxContains("Couldn't open"));
    delete none;
}

} // namespace
