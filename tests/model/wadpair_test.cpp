// Worldspawn's "wad" value as the map compilers read it.
#include "WadPair.h"
#include "gtest/gtest.h"

namespace {

TEST(WadPair, TheGameFolderHoldsTheMapsMapsFolder)
{
    struct
    {
        const char* map;
        const char* quake;
        const char* folder;
    } cases[] = {
        {"C:\\Quake\\id1\\maps\\e1m1.map", "C:\\Quake", "C:\\Quake\\id1"},
        {"c:/quake/MOD/Maps/src/x.map", "C:\\Quake\\", "C:\\Quake\\MOD"},
        {"C:\\Quake\\id1\\e1m1.map", "C:\\Quake", ""},
        {"C:\\Quake\\maps\\e1m1.map", "C:\\Quake", ""},
        {"C:\\Quake2\\id1\\maps\\e1m1.map", "C:\\Quake", ""},
        {"D:\\maps\\e1m1.map", "C:\\Quake", ""},
        {"C:\\Quake\\id1\\maps\\e1m1.map", "", ""},
        // The game at a drive's root, as a drive mapped to the game's folder is.
        {"Q:\\mymod\\maps\\x.map", "Q:\\", "Q:\\mymod"},
        {"q:\\ID1\\maps\\x.map", "Q:\\", "Q:\\ID1"},
        {"Q:\\maps\\x.map", "Q:\\", ""},
        {"Q:\\mymod\\x.map", "Q:\\", ""},
        {"R:\\mymod\\maps\\x.map", "Q:\\", ""},
        // The game on a network share, its path written with "/".
        {"\\\\srv\\games\\Quake\\id1\\maps\\e1m1.map", "//srv/games/Quake", "\\\\srv\\games\\Quake\\id1"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(MapGameFolder(c.map, c.quake), c.folder) << c.map << " in " << c.quake;
}

// A share ("\\srv\share", also written with "/") and a device path ("\\?\") keep their leading
// pair; any other run of separators is one, and none ends a folder.
TEST(WadPair, AWholePathKeepsAShareOrADevicePathAndFoldsTheRest)
{
    const std::string a600(600, 'a');
    struct
    {
        std::string path;
        std::string whole;
    } cases[] = {
        {"\\\\srv\\share\\wads", "\\\\srv\\share\\wads"},
        {"//srv/share/wads/", "\\\\srv\\share\\wads"},
        {"\\\\srv\\share\\\\wads\\\\\\", "\\\\srv\\share\\wads"},
        {"\\\\?\\C:\\wads\\\\x", "\\\\?\\C:\\wads\\x"},
        {"C:\\wads//\\x\\", "C:\\wads\\x"},
        {"C:\\", "C:\\"},
        // Longer than the system makes whole.
        {"C:\\" + a600 + "\\\\\\b\\\\", "C:\\" + a600 + "\\b"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(WholePath(c.path.c_str()), c.whole.c_str()) << c.path;
}

// A folder path ending in a long run of separators (a damaged project file) is cut in one step:
// ten million of them are gone at once (cut one at a time, by copying, they took most of an hour).
TEST(WadPair, TenMillionSeparatorsAfterAFolderAreCutAtOnce)
{
    for (char separator : {'\\', '/'}) {
        const std::string run(10000000, separator);
        EXPECT_STREQ(WholePath(("C:\\maps" + run).c_str()), "C:\\maps");
        EXPECT_STREQ(WholePath(run.c_str()), "\\\\");
    }
}

TEST(WadPair, APathJoinsItsFolderWithOneSeparator)
{
    EXPECT_STREQ(JoinPath("C:\\Quake", "id1"), "C:\\Quake\\id1");
    EXPECT_STREQ(JoinPath("Q:\\", "id1"), "Q:\\id1");
    EXPECT_STREQ(JoinPath("C:/Quake/", "id1"), "C:/Quake/id1");
    EXPECT_STREQ(JoinPath("", "id1"), "id1");
}

TEST(WadPair, AWadUnderTheGameFolderIsNamedRelativeToItWithSlashes)
{
    struct
    {
        const char* wad;
        const char* folder;
        const char* entry;
    } cases[] = {
        {"C:\\Quake\\id1\\gfx\\base.wad", "C:\\Quake\\id1", "gfx/base.wad"},
        {"c:\\QUAKE\\ID1\\base.wad", "C:\\Quake\\id1", "base.wad"},
        {"C:\\Quake\\id1\\..\\wads\\b.wad", "C:\\Quake\\id1", "C:\\Quake\\id1\\..\\wads\\b.wad"},
        {"C:\\Quake\\id1x\\b.wad", "C:\\Quake\\id1", "C:\\Quake\\id1x\\b.wad"},
        {"C:\\Quake\\id1\\gfx\\base.wad", "", "C:\\Quake\\id1\\gfx\\base.wad"},
        {"Q:\\mymod\\gfx\\base.wad", "Q:\\mymod", "gfx/base.wad"},
        {"Q:\\id1\\gfx\\base.wad", "Q:\\mymod", "Q:\\id1\\gfx\\base.wad"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(WadPairEntry(c.wad, c.folder), c.entry) << c.wad;

    CStringList wads;
    wads.AddTail("C:\\Quake\\id1\\gfx\\base.wad");
    wads.AddTail("D:\\x.wad");
    wads.AddTail("C:\\Quake\\id1\\start.wad");
    EXPECT_STREQ(MakeWadPairValue(wads, "C:\\Quake\\id1"), "gfx/base.wad;D:\\x.wad;start.wad");
    EXPECT_STREQ(MakeWadPairValue(CStringList(), "C:\\Quake\\id1"), "");
}

TEST(WadPair, TheBuildWarnsOfWhatTheClassicQbspCannotRead)
{
    const std::string reads = "id's qbsp reads one WAD only, named relative to the game folder";
    struct
    {
        const char* value;
        const char* folder;
        std::string warning;
    } cases[] = {
        {"gfx/base.wad", "C:\\Quake\\id1", ""},
        {"", "C:\\Quake\\id1", ""},
        {"gfx/base.wad;", "C:\\Quake\\id1", ""},
        {"gfx/a.wad;D:\\b.wad", "C:\\Quake\\id1",
         "Warning: worldspawn's \"wad\" names 2 WADs: gfx/a.wad;D:\\b.wad\n" + reads +
             "; newer compilers read the list.\n"},
        {"D:\\b.wad", "C:\\Quake\\id1",
         "Warning: worldspawn's \"wad\" names a WAD outside the game folder C:\\Quake\\id1: D:\\b.wad\n" + reads +
             ".\n"},
        {"/wads/b.wad", "", "Warning: worldspawn's \"wad\" names a WAD outside the game folder: /wads/b.wad\n" + reads +
                                ".\n"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(WadPairWarning(c.value, c.folder), c.warning.c_str()) << c.value;
}

} // namespace
