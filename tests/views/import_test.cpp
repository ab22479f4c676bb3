// Importing map text into a document (paste, drop, object files).
#include "ViewsFixture.h"
#include <algorithm>
#include <string>

namespace {

// An axis box as map text: six faces of three points each.
std::string BoxText(int x0, int y0, int z0, int x1, int y1, int z1)
{
    char buf[1024];
    snprintf(buf, sizeof buf,
             "{\n"
             "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) WALL 0 0 0 1 1\n"
             "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) WALL 0 0 0 1 1\n"
             "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) WALL 0 0 0 1 1\n"
             "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) WALL 0 0 0 1 1\n"
             "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) WALL 0 0 0 1 1\n"
             "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) WALL 0 0 0 1 1\n"
             "}\n",
             x0, y0, z0, x0, y1, z0, x0, y0, z1,   // x min
             x1, y0, z0, x1, y0, z1, x1, y1, z0,   // x max
             x0, y0, z0, x0, y0, z1, x1, y0, z0,   // y min
             x0, y1, z0, x1, y1, z0, x0, y1, z1,   // y max
             x0, y0, z0, x1, y0, z0, x0, y1, z0,   // z min
             x0, y0, z1, x0, y1, z1, x1, y0, z1);  // z max
    return buf;
}

class ImportTest : public ViewsTest
{
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        const short size[6] = {-8, 8, -8, 8, -8, 8};
        services->AddEntityClass("light", size);
        map = NewMap();
        view = new PlaneView(map, VIEW_XY);
    }
    void TearDown() override
    {
        delete view;
        delete map;
        ViewsTest::TearDown();
    }
    BOOL Import(std::string text)
    {
        const size_t length = text.size();
        text.push_back(0);
        return view->ImportMapText(&text[0], length);
    }
    size_t BoxesWith(const std::string& part) const
    {
        return static_cast<size_t>(std::count_if(services->boxes.begin(), services->boxes.end(),
                                                 [&](const std::string& b) { return b.find(part) != std::string::npos; }));
    }
    Map* map = nullptr;
    PlaneView* view = nullptr;
};

} // namespace

TEST_F(ImportTest, WorldBrushesJoinTheWorldAndAreSelected)
{
    std::string text = "{\n\"classname\" \"worldspawn\"\n" + BoxText(0, 0, 0, 64, 64, 64) +
                       BoxText(64, 0, 0, 128, 64, 64) + BoxText(128, 0, 0, 192, 64, 64) + "}\n";
    EXPECT_TRUE(Import(text));
    EXPECT_EQ(map->GetEntities().GetCount(), 1); // no second world
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 3);
    EXPECT_EQ(map->GetSelectionCount(), 3);
    EXPECT_TRUE(services->HasStatus("3 objects imported"));
    Brush* first = static_cast<Brush*>(map->GetSelection().GetHead());
    EXPECT_EQ(first->GetBounds()[BOX_MINX], 0);
    EXPECT_EQ(first->GetBounds()[BOX_MINZ], 0);
    EXPECT_TRUE(first->IsSelected());
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(map->GetCurrentEntity(), map->GetWorldEntity());
}

TEST_F(ImportTest, ABlockWithoutAClassnameIsDroppedWithItsBox)
{
    std::string text = "{\n\"origin\" \"0 0 0\"\n}\n"
                       "{\n\"classname\" \"light\"\n\"origin\" \"32 32 32\"\n}\n";
    EXPECT_TRUE(Import(text));
    EXPECT_EQ(std::count(services->boxes.begin(), services->boxes.end(), "Entity doesn't have a classname!"), 1);
    EXPECT_EQ(map->GetEntities().GetCount(), 2);
    EXPECT_EQ(map->GetSelectionCount(), 1);
    EXPECT_TRUE(services->HasStatus("1 object imported"));
}

// Text before the first entity, or between two, is passed over and told as an open tells it, and
// the entities are imported; a text of nothing else imports nothing and is refused, the selection
// as it was.
TEST_F(ImportTest, TextOutsideEntitiesIsPassedOverAndTold)
{
    const std::string light = "{\n\"classname\" \"light\"\n\"origin\" \"32 32 32\"\n}\n";
    struct Case
    {
        const char* what;
        std::string text;
        BOOL imported;
        int selected;
        const char* told;
    } cases[] = {
        {"a pair before the first entity", "\"k\" \"v\"\n" + light + light, TRUE, 2,
         "Invalid token '\"k\"' parsing entity.\n(the pasted map text, line 1)"},
        {"a pair and a brace between two", light + "\"classname\" \"light\"\n}\n" + light, TRUE, 2,
         "Invalid token '\"classname\"' parsing entity, and 1 more.\n(the pasted map text, lines 5, 6)"},
        {"nothing else", "garbage here\n", FALSE, 0,
         "The pasted map text holds no entity that this editor can read, yet it is not empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services->boxes.clear();
        const int before = map->GetEntities().GetCount();
        const int selectedBefore = map->GetSelectionCount();
        EXPECT_EQ(c.imported, Import(c.text));
        EXPECT_EQ(map->GetEntities().GetCount(), before + c.selected);
        EXPECT_EQ(map->GetSelectionCount(), c.imported ? c.selected : selectedBefore);
        EXPECT_EQ(services->boxes.size(), 1u);
        if (!services->boxes.empty()) {
            EXPECT_EQ(services->boxes[0].find(c.told), 0u) << services->boxes[0];
        }
    }
}

// A point entity whose origin lies past the 16-bit coordinate range is placed at the range's end,
// never on the far side of the map, and the import says so, as it does of the brushes past it.
TEST_F(ImportTest, AnOriginPastTheCoordinateRangeIsPlacedAtItsEndAndTold)
{
    EXPECT_TRUE(Import("{\n\"classname\" \"light\"\n\"origin\" \"40000 -70000 8\"\n}\n"
                       "{\n\"classname\" \"light\"\n\"origin\" \"32 32 32\"\n}\n"));
    ASSERT_EQ(map->GetSelectionCount(), 2);
    Entity* placed = static_cast<Entity*>(map->GetSelection().GetHead());
    EXPECT_STREQ(placed->ValueForKey("origin"), "32767 -32768 8");
    const short* b = placed->GetBounds();
    EXPECT_EQ(std::vector<int>(b, b + 6), (std::vector<int>{32759, 32767, -32768, -32760, 0, 16}));
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0], "The origin of the entity light lies outside the map's coordinate range (-32768 to "
                                  "32767).\nIt was placed at the range's end.\n(the pasted map text, the entity on "
                                  "line 1)");
}

// An object file is read whole, as an open reads a map: a NUL byte is no end of its text, a face
// line whose numbers a NUL cuts short is never imported short of them (its brush is skipped and
// told; a "}" of its own after its five numbers ends that brush, a "}" among them does not, and the
// next one is imported), and a file in UTF-16 is refused with a box that names it.
TEST_F(ImportTest, AnObjectFileIsReadWholeAsAnOpenReadsIt)
{
    const std::string nul(1, '\0');
    const std::string light = "{\r\n\"classname\" \"light\"\r\n\"origin\" \"32 32 32\"\r\n}\r\n";
    std::string cut = BoxText(0, 0, 0, 64, 64, 64);
    cut.replace(cut.find("WALL 0 0 0 1 1"), 14, "WALL 8" + nul + " 16 0 1 1");
    std::string braced = BoxText(0, 0, 0, 64, 64, 64);
    braced.replace(braced.rfind("WALL 0 0 0 1 1\n}"), 16, "WALL 8x 16 0 1 1 }");
    // A "}" as the last number is one to the map compilers too: the brush goes on to its own "}".
    std::string numbered = BoxText(0, 0, 0, 64, 64, 64);
    numbered.replace(numbered.rfind("WALL 0 0 0 1 1\n}"), 14, "WALL 0 0 0 1 }");
    std::string utf16 = "\xFF\xFE";
    for (char ch : light)
        utf16 += std::string(1, ch) + nul;
    struct Case
    {
        const char* what;
        std::string file;
        BOOL imported;
        int lights, brushes;
        const char* told; // the start of the one box, or null for none
    } cases[] = {
        {"a NUL between two entities", light + nul + light, TRUE, 2, 0, nullptr},
        {"a NUL in a value", "{\r\n\"classname\" \"light\"\r\n\"_a\" \"x" + nul + "y\"\r\n}\r\n" + light, TRUE, 2, 0,
         "1 line of "},
        {"a NUL among a face's numbers", "{\r\n\"classname\" \"worldspawn\"\r\n" + cut +
                                             BoxText(128, 0, 0, 192, 64, 64) + "}\r\n" + light,
         TRUE, 1, 1, "An error occured while creating the brush"},
        {"a brace ending a face line that cannot be read", "{\r\n\"classname\" \"worldspawn\"\r\n" + braced +
                                                                BoxText(128, 0, 0, 192, 64, 64) + "}\r\n" + light,
         TRUE, 1, 1, "An error occured while creating the brush\nwhich ended at line 9.\n"},
        {"a brace among a face line's numbers", "{\r\n\"classname\" \"worldspawn\"\r\n" + numbered +
                                                    BoxText(128, 0, 0, 192, 64, 64) + "}\r\n" + light,
         TRUE, 1, 1, "An error occured while creating the brush\nwhich ended at line 10.\n"},
        {"text before the first entity", "junk\r\n" + light, TRUE, 1, 0, "Invalid token 'junk' parsing entity.\n("},
        {"UTF-16", utf16, FALSE, 0, 0, nullptr},
    };
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "morvane_import_whole.map";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FILE* f = fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(c.file.data(), 1, c.file.size(), f);
        fclose(f);
        Map* m = NewMap();
        PlaneView v(m, VIEW_XY);
        services->boxes.clear();
        EXPECT_EQ(c.imported, v.ImportObjectFile(path.c_str()));
        EXPECT_EQ(m->GetEntities().GetCount(), 1 + c.lights);
        EXPECT_EQ(m->GetWorldEntity()->GetBrushCount(), c.brushes);
        const std::string told = !c.imported ? path + " is text in UTF-16 (little-endian byte order, byte-order "
                                                      "mark FF FE), which this editor does not read: a map file is "
                                                      "8-bit text.\nNothing was imported."
                                 : c.told ? c.told : "";
        EXPECT_EQ(services->boxes.size(), told.empty() ? 0u : 1u);
        if (!told.empty() && !services->boxes.empty()) {
            EXPECT_EQ(services->boxes[0].find(told), 0u) << services->boxes[0];
        }
        delete m;
    }
    ::DeleteFileA(path.c_str());
}

// An export replaces an object file as a save replaces a map: the text goes to a file of its own
// first and a file of the temporary's name is left as it is; a file that cannot be replaced keeps
// its bytes.
TEST_F(ImportTest, AnExportReplacesTheObjectFileWhole)
{
    std::string text = "{\n\"classname\" \"worldspawn\"\n" + BoxText(0, 0, 0, 64, 64, 64) + "}\n";
    ASSERT_TRUE(Import(text));
    ASSERT_EQ(map->GetSelectionCount(), 1);
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "morvane_export_whole.map";
    const std::string old = "{\r\n\"classname\" \"worldspawn\"\r\n\"message\" \"the user's object\"\r\n}\r\n";
    const std::string temp = "the user's notes";
    auto write = [](const std::string& p, const std::string& bytes) {
        FILE* f = fopen(p.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    };
    auto read = [](const std::string& p) { return FileBytes(p.c_str()); };
    write(path, old);
    write(path + ".tmp", temp);

    // Another program holds the file: it is not replaced, and no temporary of the export is left.
    HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    services->boxes.clear();
    EXPECT_FALSE(view->ExportObjectFile(path.c_str()));
    ::CloseHandle(held);
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].find("Couldn't write file " + path + "\nCause: "), 0u) << services->boxes[0];
    EXPECT_EQ(read(path), old);
    EXPECT_EQ(::GetFileAttributesA((path + ".2.tmp").c_str()), INVALID_FILE_ATTRIBUTES);

    services->boxes.clear();
    EXPECT_TRUE(view->ExportObjectFile(path.c_str()));
    EXPECT_TRUE(services->boxes.empty());
    const std::string written = read(path);
    EXPECT_EQ(written.find("{\r\n  \"classname\" \"worldspawn\"\r\n  \"message\" \"Morvane Partial Map\""), 0u) << written;
    EXPECT_NE(written.find("( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1"), std::string::npos) << written;
    EXPECT_EQ(read(path + ".tmp"), temp);
    ::DeleteFileA(path.c_str());
    ::DeleteFileA((path + ".tmp").c_str());
}
