// Importing map text into a document with an offset (paste, drop, object files).
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
    BOOL Import(std::string text, int dx = 0, int dy = 0, int dz = 0)
    {
        text.push_back(0);
        return view->ImportMapText(&text[0], dx, dy, dz);
    }
    Map* map = nullptr;
    PlaneView* view = nullptr;
};

} // namespace

TEST_F(ImportTest, WorldBrushesJoinTheWorldAndAreSelected)
{
    std::string text = "{\n\"classname\" \"worldspawn\"\n" + BoxText(0, 0, 0, 64, 64, 64) +
                       BoxText(64, 0, 0, 128, 64, 64) + BoxText(128, 0, 0, 192, 64, 64) + "}\n";
    EXPECT_TRUE(Import(text, 16, 0, -16));
    EXPECT_EQ(map->GetEntities().GetCount(), 1); // no second world
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 3);
    EXPECT_EQ(map->GetSelectionCount(), 3);
    EXPECT_TRUE(services->HasStatus("3 objects imported"));
    Brush* first = static_cast<Brush*>(map->GetSelection().GetHead());
    EXPECT_EQ(first->GetBounds()[BOX_MINX], 16);
    EXPECT_EQ(first->GetBounds()[BOX_MINZ], -16);
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

TEST_F(ImportTest, TextThatBreaksTheReaderKeepsWhatWasRead)
{
    // The second block does not start with "{": the reader stops there.
    std::string text = "{\n\"classname\" \"light\"\n\"origin\" \"32 32 32\"\n}\n"
                       "\"classname\" \"light\"\n}\n";
    EXPECT_TRUE(Import(text));
    EXPECT_EQ(map->GetEntities().GetCount(), 2);
    EXPECT_EQ(map->GetSelectionCount(), 1);
    // The reader's message, once.
    EXPECT_EQ(services->boxes, std::vector<std::string>{"Entity doesn't start with {\n"});

    // Broken before anything was read: FALSE, nothing imported, no exception.
    services->boxes.clear();
    EXPECT_FALSE(Import("garbage here\n"));
    EXPECT_EQ(map->GetEntities().GetCount(), 2);
    EXPECT_EQ(map->GetSelectionCount(), 0);
    EXPECT_TRUE(services->HasStatus("0 objects imported"));
}
