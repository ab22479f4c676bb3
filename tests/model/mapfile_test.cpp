#include "DocumentFixture.h"
#include "IniFile.h"
#include "MapText.h"
#include "Texture.h"
#include "WindingCheck.h"
#include <algorithm>
#include <functional>

namespace {

// A texture source that knows one texture.
class OneTexture : public CTextureSource
{
public:
    OneTexture() { wall.name = "WALL1"; }
    Texture* FindTexture(LPCSTR name) override { return TextureKey(name) == "WALL1" ? &wall : nullptr; }
    Texture wall;
};

const char kStart[] = "{ \"classname\" \"info_player_start\" \"origin\" \"32 32 24\" }\r\n";

class MapFile : public MapFileTest<OneTexture>
{
protected:
    // The map's auto save into the folder "auto" (made on the first call), read back.
    std::string AutoSaved(LPCSTR name)
    {
        services->WriteProfileString("Project Settings", "Root Path", dir.Path());
        ::CreateDirectoryA(Path("auto"), nullptr);
        services->WriteProfileString("Options", "Auto Save Path", "auto");
        map->SetModifiedFlag();
        map->AutoSave(1);
        return Read(CString("auto\\") + name);
    }
    // The build's map text of what the views show.
    std::string Built()
    {
        map->RebuildVisibleList();
        CString build;
        EXPECT_TRUE(map->WriteMap(build));
        return std::string(build);
    }
};

TEST_F(MapFile, OpenListsMissingTexturesAndKeepsTheirNames)
{
    std::string text = "{ \"classname\" \"worldspawn\" \"wad\" \"a.wad\"\n" + BoxText(0, 64) +
                       BoxText(64, 128, "bricks") + BoxText(128, 192, "*lava") + "}\n" + kStart;
    map->SetModifiedFlag();
    ASSERT_TRUE(Open("m.map", text));
    EXPECT_FALSE(map->IsModified());
    EXPECT_EQ(GetMissingTextureSet(), nullptr);
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 3);
    ASSERT_GE(services->statuses.size(), 1u);
    EXPECT_EQ(services->statuses.back(), "The following textures were not found:");
    EXPECT_TRUE(services->LineContains("*lava\r\n"));
    EXPECT_TRUE(services->LineContains("bricks\r\n"));
    EXPECT_TRUE(services->BoxContains("Some textures were not found in the selected wad(s)."));

    // The names come back on save (the undefined-texture question is answered No).
    services->answers = {IDNO};
    ASSERT_TRUE(map->OnSaveDocument(Path("out.map")));
    std::string saved = Read("out.map");
    EXPECT_NE(saved.find(" bricks 0 0 0"), std::string::npos);
    EXPECT_NE(saved.find(" *lava 0 0 0"), std::string::npos);
    EXPECT_TRUE(services->BoxContains("undefined texture"));
}

TEST_F(MapFile, OpenFailures)
{
    EXPECT_FALSE(map->OnOpenDocument(Path("none.map")));
    EXPECT_TRUE(services->BoxContains("Couldn't open file"));
    EXPECT_TRUE(services->BoxContains("for reading\nCause: "));
    EXPECT_FALSE(Open("bad.map", "garbage { }"));
    EXPECT_TRUE(services->BoxContains("holds no entity that this editor can read"));
    EXPECT_EQ(GetMissingTextureSet(), nullptr);
}

TEST_F(MapFile, SaveQuestions)
{
    AddBrush(world, 0, 64, 0, 64, 0, 64)->SetTexture(&textures.wall);
    map->SetModifiedFlag();

    services->answers = {IDNO};
    EXPECT_FALSE(map->OnSaveDocument(Path("Untitled_1.map")));
    EXPECT_TRUE(services->BoxContains("The map name is currently untitled."));
    EXPECT_TRUE(Read("Untitled_1.map").empty());

    services->boxes.clear();
    services->answers = {IDNO};
    EXPECT_FALSE(map->OnSaveDocument(Path("untitled_1.map"))); // lower case: no untitled question
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_NE(services->boxes[0].text.find("info_player_start"), std::string::npos);
    EXPECT_EQ(services->boxes[0].type, static_cast<UINT>(MB_YESNO));

    AddEntity("info_player_start", "0 0 0");
    services->boxes.clear();
    ASSERT_TRUE(map->OnSaveDocument(Path("room.map")));
    EXPECT_TRUE(services->boxes.empty());
    EXPECT_FALSE(map->IsModified());
    EXPECT_EQ(services->statuses.back(), "Map successfully saved");
}

TEST_F(MapFile, InvalidBrushesAreSelectedOrLeftOut)
{
    AddEntity("info_player_start", "0 0 0");
    Brush* good = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* bad = AddBrush(world, 100, 164, 0, 64, 0, 64);
    good->SetTexture(&textures.wall);
    bad->SetTexture(&textures.wall);
    bad->GetFace(0).winding[0].z += 5; // off its own plane
    ASSERT_FALSE(bad->IsValid());
    Select(good);
    map->SetModifiedFlag();

    services->answers = {IDYES};
    EXPECT_FALSE(map->OnSaveDocument(Path("m.map")));
    EXPECT_TRUE(Read("m.map").empty());
    EXPECT_EQ(map->GetSelectionCount(), 1);
    EXPECT_TRUE(bad->IsSelected());
    EXPECT_FALSE(good->IsSelected());
    EXPECT_EQ(services->statuses.back(), "1 brush selected");
    EXPECT_EQ(view.hints.back().hint, HINT_REDRAW);
    EXPECT_TRUE(map->IsModified());

    services->answers = {IDNO};
    ASSERT_TRUE(map->OnSaveDocument(Path("m.map")));
    Map back;
    back.m_bAutoDelete = FALSE;
    ASSERT_TRUE(back.OnOpenDocument(Path("m.map")));
    EXPECT_EQ(back.GetWorldEntity()->GetBrushCount(), 1);
}

// A save writes beside the target and replaces it only after a complete write: a
// failure leaves the old file as it was and the document modified.
TEST_F(MapFile, SaveFailureKeepsTheOldFile)
{
    AddEntity("info_player_start", "0 0 0");
    AddBrush(world, 0, 64, 0, 64, 0, 64)->SetTexture(&textures.wall);
    map->SetModifiedFlag();
    dir.WriteFile("old.map", "old contents");
    // Another program holds the old file open: it cannot be replaced.
    HANDLE held = ::CreateFileA(Path("old.map"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(map->OnSaveDocument(Path("old.map")));
    ::CloseHandle(held);
    EXPECT_EQ(Read("old.map"), "old contents");
    EXPECT_TRUE(map->IsModified());
    EXPECT_TRUE(services->BoxContains("Couldn't write file"));
    EXPECT_TRUE(Read("old.map.tmp").empty()); // no temporary file left behind

    EXPECT_FALSE(map->OnSaveDocument(Path("missing\\dir\\m.map")));
    EXPECT_TRUE(services->BoxContains("for writing\nCause: "));
    EXPECT_TRUE(map->IsModified());
}

TEST_F(MapFile, WadPairFollowsTheProjectList)
{
    AddEntity("info_player_start", "0 0 0");
    services->WriteProfileString("Project Settings", "Root Path", "C:\\game");
    world->AddKeyValue("wad", "C:\\old.wad");

    // Without a project WAD list the map keeps the WADs it names.
    ASSERT_TRUE(map->OnSaveDocument(Path("a.map")));
    EXPECT_STREQ(world->ValueForKey("wad"), "C:\\old.wad");

    services->GetWadList().AddTail("wads\\base.wad");
    services->GetWadList().AddTail("D:\\x.wad");
    ASSERT_TRUE(map->OnSaveDocument(Path("a.map")));
    EXPECT_STREQ(world->ValueForKey("wad"), "C:\\game\\wads\\base.wad;D:\\x.wad");
    EXPECT_NE(Read("a.map").find("\"wad\" \"C:\\game\\wads\\base.wad;D:\\x.wad\""), std::string::npos);

    world->RemoveKey("wad");
    ASSERT_TRUE(map->OnSaveDocument(Path("a.map")));
    EXPECT_STREQ(world->ValueForKey("wad"), "C:\\game\\wads\\base.wad;D:\\x.wad");
}

// A WAD on a network share or named by a device path keeps its path, however its separators are
// written.
TEST_F(MapFile, AWadOnAShareKeepsItsPathInThePair)
{
    services->WriteProfileString("Project Settings", "Root Path", "C:\\game");
    for (const char* wad : {"\\\\srv\\share\\q.wad", "//srv/share/r.wad", "\\\\?\\D:\\s.wad"})
        services->GetWadList().AddTail(wad);
    EXPECT_STREQ(map->WadValueFor(Path("a.map")), "\\\\srv\\share\\q.wad;//srv/share/r.wad;\\\\?\\D:\\s.wad");
}

// The compilers find the WADs from the map file's place. In the game folder (the Quake path's
// folder that holds the map's maps folder) a WAD is named relative to it with "/", as the game's
// own maps name theirs; the others keep their full paths, in the project's order.
TEST_F(MapFile, WadPairNamesTheWadsAsSeenFromTheMapsGameFolder)
{
    AddEntity("info_player_start", "0 0 0");
    const CString quake = Path("Quake");
    for (LPCSTR sub : {"", "\\id1", "\\id1\\maps"})
        ::CreateDirectoryA(quake + sub, nullptr);
    services->WriteProfileString("Project Settings", "Quake Path", quake);
    services->WriteProfileString("Project Settings", "Root Path", quake + "\\id1");
    services->GetWadList().AddTail("gfx\\base.wad");
    services->GetWadList().AddTail("D:\\wads\\x.wad");
    services->GetWadList().AddTail(quake + "\\mod\\m.wad");
    const std::string other = ";D:\\wads\\x.wad;" + std::string(quake) + "\\mod\\m.wad";

    const std::string head = "{\r\n  \"classname\" \"worldspawn\"\r\n  \"wad\" \"";
    ASSERT_TRUE(map->OnSaveDocument(quake + "\\id1\\maps\\a.map"));
    EXPECT_EQ(Read("Quake\\id1\\maps\\a.map").find(head + "gfx/base.wad" + other + "\"\r\n"), 0u);
    EXPECT_STREQ(map->WadValueFor(quake + "\\id1\\maps\\a.map"), ("gfx/base.wad" + other).c_str());

    // Elsewhere every WAD has its full path.
    ASSERT_TRUE(map->OnSaveDocument(Path("a.map")));
    EXPECT_EQ(Read("a.map").find(head + std::string(quake) + "\\id1\\gfx\\base.wad" + other + "\"\r\n"), 0u);
}

// The build's map text: the world first with its pairs and "wad", then every entity
// once in the order its objects first appear, only what is shown.
TEST_F(MapFile, BuildTextStartsWithTheWorld)
{
    services->GetWadList().AddTail("C:\\q.wad");
    Entity* door = AddEntity("func_door");
    Brush* d1 = AddBrush(door, 200, 264, 0, 64, 0, 64);
    Brush* d2 = AddBrush(door, 300, 364, 0, 64, 0, 64);
    Entity* light = AddEntity("light", "0 0 0");
    Brush* w = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* hidden = AddBrush(world, 0, 64, 0, 64, 500, 564);
    map->RebuildVisibleList();
    hidden->SetVisible(false);

    // A map window's list in its own order, the door's brushes apart.
    CPtrList order;
    order.AddTail(d1);
    order.AddTail(light);
    order.AddTail(w);
    order.AddTail(hidden);
    order.AddTail(d2);
    services->activeObjectOrder = &order;
    CString text;
    ASSERT_TRUE(map->WriteMap(text));
    std::string s(text);
    size_t worldAt = s.find("\"classname\" \"worldspawn\"");
    size_t doorAt = s.find("\"classname\" \"func_door\"");
    size_t lightAt = s.find("\"classname\" \"light\"");
    EXPECT_EQ(worldAt, 5u);
    EXPECT_LT(worldAt, doorAt);
    EXPECT_LT(doorAt, lightAt);
    EXPECT_EQ(s.find("func_door", doorAt + 25), std::string::npos); // the door once
    EXPECT_NE(s.find("\"wad\" \"C:\\q.wad\""), std::string::npos);
    EXPECT_EQ(s.find(" 564 )"), std::string::npos);                 // the hidden brush is not written
    EXPECT_NE(s.find("(  364"), std::string::npos);                  // both door brushes are
    EXPECT_EQ(door->GetBrushCount(), 2);                             // the map is unchanged
    EXPECT_EQ(d1->GetOwner(), door);
    EXPECT_EQ(world->FindValue("wad"), nullptr);

    // No world brush shown: the world block is still written first.
    services->activeObjectOrder = nullptr;
    services->SetLinkClipping(TRUE);
    map->GetDepthClip()[BOX_MINX] = 100;
    map->RebuildVisibleList();
    text.Empty();
    ASSERT_TRUE(map->WriteMap(text));
    EXPECT_EQ(std::string(text).find("{\r\n  \"classname\" \"worldspawn\"\r\n  \"wad\" \"C:\\q.wad\"\r\n}\r\n{"), 0u);
}

TEST_F(MapFile, BuildFileStopsOnCancelOrError)
{
    AddBrush(world, 0, 64, 0, 64, 0, 64);
    services->unapplied = TRUE;
    services->answers = {IDCANCEL};
    EXPECT_FALSE(map->WriteMapFile(Path("build.map")));
    EXPECT_EQ(::GetFileAttributesA(Path("build.map")), INVALID_FILE_ATTRIBUTES); // not even created

    services->answers = {IDOK};
    ASSERT_TRUE(map->WriteMapFile(Path("build.map")));
    EXPECT_EQ(Read("build.map").find("{\r\n  \"classname\" \"worldspawn\""), 0u);
    EXPECT_FALSE(map->IsModified());

    EXPECT_FALSE(map->WriteMapFile(Path("no\\such\\dir\\build.map")));
    EXPECT_TRUE(services->BoxContains("Couldn't open file"));

    // A map shown in no window has nothing to build.
    map->RemoveView(&view);
    EXPECT_FALSE(map->WriteMapFile(Path("build2.map")));
    map->AddView(&view);
}

TEST_F(MapFile, AutoSave)
{
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    AddBrush(world, 0, 64, 0, 64, 0, 64);
    map->SetPathName(Path("hall.map"), FALSE);

    map->AutoSave(1); // not modified: nothing
    EXPECT_TRUE(services->boxes.empty());

    // No auto-save path: one box per round of the timer, however many maps.
    map->SetModifiedFlag();
    map->AutoSave(2);
    map->AutoSave(2);
    EXPECT_EQ(services->boxes.size(), 1u);
    EXPECT_TRUE(services->BoxContains("No auto save path is defined in the project\nsetting."));
    map->AutoSave(3);
    EXPECT_EQ(services->boxes.size(), 2u);

    ASSERT_TRUE(::CreateDirectoryA(Path("autosave"), nullptr));
    services->WriteProfileString("Options", "Auto Save Path", "autosave");
    services->WriteProfileString("Options", "Auto Save Extension", "sav");
    map->AutoSave(4);
    std::string saved = Read("autosave\\hall.sav");
    EXPECT_EQ(saved.find("{\r\n  \"classname\" \"worldspawn\""), 0u);
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(world->FindValue("wad"), nullptr); // written as it is

    services->WriteProfileString("Options", "Auto Save Extension", "");
    map->AutoSave(5);
    EXPECT_FALSE(Read("autosave\\hall.map").empty());
}

// The auto save's extension is a plain one; any other is read as "map" (no wildcard, dot or
// folder ever reaches a file name).
TEST_F(MapFile, TheAutoSaveExtensionIsLettersAndDigitsOnly)
{
    struct
    {
        const char* stored;
        const char* used;
    } cases[] = {{"sav", "sav"}, {"B2", "B2"}, {"", "map"},    {"*", "map"},      {"m?p", "map"},
                 {"a.b", "map"}, {".", "map"}, {"x\\y", "map"}, {"..\\x", "map"}, {"x/y", "map"},
                 {"a b", "map"}, {"\xE9t\xE9", "map"}};
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    ASSERT_TRUE(::CreateDirectoryA(Path("autosave"), nullptr));
    services->WriteProfileString("Options", "Auto Save Path", "autosave");
    map->SetPathName(Path("hall.map"), FALSE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(std::string(c.stored) == c.used, Map::IsPlainExtension(c.stored));
        CString written = Path("autosave\\hall.") + c.used;
        ::DeleteFileA(written);
        services->WriteProfileString("Options", "Auto Save Extension", c.stored);
        map->SetModifiedFlag();
        map->AutoSave(1);
        EXPECT_NE(::GetFileAttributesA(written), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(services->boxes.empty());
    Map::ForgetAutoSaveFiles();
}

// The auto save's own files are those it made in this run and that nothing wrote since: a file that
// was there before, one the user saved over, and one changed by another program are not.
TEST_F(MapFile, TheAutoSavesOwnFilesAreThoseItMadeAndNothingWroteSince)
{
    Map::ForgetAutoSaveFiles();
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    ASSERT_TRUE(::CreateDirectoryA(Path("auto"), nullptr));
    services->WriteProfileString("Options", "Auto Save Path", "auto");
    auto own = [] {
        CStringArray files;
        Map::GetAutoSaveFiles(files);
        std::vector<std::string> names;
        for (INT_PTR i = 0; i < files.GetSize(); ++i)
            names.push_back(std::string(files[i].Mid(files[i].ReverseFind('\\') + 1)));
        return names;
    };
    auto autoSave = [&](LPCSTR name) {
        map->SetPathName(Path(name), FALSE);
        map->SetModifiedFlag();
        map->AutoSave(1);
    };
    dir.WriteFile("auto\\before.map", "kept");
    autoSave("before.map"); // the file that was there stays; the auto save goes beside it
    autoSave("hall.map");
    autoSave("cave.map");
    autoSave("cave.map"); // written again: still its own
    EXPECT_EQ("kept", Read("auto\\before.map"));
    EXPECT_EQ((std::vector<std::string>{"before.autosave.map", "hall.map", "cave.map"}), own());

    // The user saves over the auto save: the file is the user's from now on.
    ASSERT_TRUE(map->OnSaveDocument(Path("auto\\hall.map")));
    EXPECT_EQ((std::vector<std::string>{"before.autosave.map", "cave.map"}), own());
    const std::string users = Read("auto\\hall.map");
    autoSave("hall.map");
    EXPECT_EQ(users, Read("auto\\hall.map"));
    EXPECT_EQ((std::vector<std::string>{"before.autosave.map", "cave.map", "hall.autosave.map"}), own());

    // Another program changed it.
    HANDLE h = ::CreateFileA(Path("auto\\cave.map"), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME t = {0x12345678, 0x01C00000};
    ::SetFileTime(h, nullptr, nullptr, &t);
    ::CloseHandle(h);
    EXPECT_EQ((std::vector<std::string>{"before.autosave.map", "hall.autosave.map"}), own());
    Map::ForgetAutoSaveFiles();
}

// The auto save writes only over a file it made for the same map in this run. A name taken
// otherwise (the user's map, an earlier run's file, another map's auto save, the map's own file in
// the auto-save folder, a file marked read-only) gives way to "name.autosave.map", then
// "name.autosave2.map", ..., which is told once per map and reason in "Messages".
TEST_F(MapFile, TheAutoSaveNeverWritesOverAFileItDidNotMakeForTheMap)
{
    Map::ForgetAutoSaveFiles();
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    ASSERT_TRUE(::CreateDirectoryA(Path("maps"), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(Path("elsewhere"), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(Path("other"), nullptr));
    services->WriteProfileString("Options", "Auto Save Path", "maps");
    AddBrush(world, 0, 64, 0, 64, 0, 64);
    auto round = [](Map& m, DWORD tick) {
        m.SetModifiedFlag();
        m.AutoSave(tick);
    };
    auto countLines = [&](const char* part) {
        int n = 0;
        for (const std::string& line : services->lines)
            n += line.find(part) != std::string::npos;
        return n;
    };

    // The project's own start.map and the autosave name beside it are taken by the user's files.
    dir.WriteFile("maps\\start.map", "the user's start");
    dir.WriteFile("maps\\start.autosave.map", "the user's too");
    map->SetPathName(Path("elsewhere\\start.map"), FALSE);
    round(*map, 1);
    round(*map, 2);
    EXPECT_EQ("the user's start", Read("maps\\start.map"));
    EXPECT_EQ("the user's too", Read("maps\\start.autosave.map"));
    EXPECT_EQ(0u, Read("maps\\start.autosave2.map").find("{\r\n  \"classname\" \"worldspawn\""));
    EXPECT_EQ(1, countLines("is not this map's auto-save file"));
    EXPECT_EQ(1, countLines(std::string(Path("maps\\start.autosave2.map")).c_str()));

    // A second open map of the same name: the first one's auto save is not its own either.
    Map second;
    second.m_bAutoDelete = FALSE;
    ASSERT_TRUE(second.OnNewDocument());
    second.SetPathName(Path("other\\start.map"), FALSE);
    const std::string firsts = Read("maps\\start.autosave2.map");
    round(second, 3);
    EXPECT_EQ(firsts, Read("maps\\start.autosave2.map")) << "the first map's auto save is left as it was";
    EXPECT_NE(firsts, Read("maps\\start.autosave3.map"));
    EXPECT_FALSE(Read("maps\\start.autosave3.map").empty());
    round(*map, 4); // and the first map goes on writing its own
    EXPECT_FALSE(Read("maps\\start.autosave2.map").empty());
    EXPECT_EQ(2, countLines("auto-saved to"));

    // The map's own file lies in the auto-save folder (an untitled map in the Maps folder): its
    // auto save goes beside it, and the file itself is never made or written.
    Map untitled;
    untitled.m_bAutoDelete = FALSE;
    ASSERT_TRUE(untitled.OnNewDocument());
    untitled.SetPathName(Path("maps\\Untitled_1.map"), FALSE);
    round(untitled, 5);
    round(untitled, 6);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(Path("maps\\Untitled_1.map")));
    EXPECT_FALSE(Read("maps\\Untitled_1.autosave.map").empty());
    EXPECT_EQ(1, countLines("is the map's own file"));

    // Its own auto save marked read-only by the user: left as it is, told once.
    ASSERT_TRUE(::SetFileAttributesA(Path("maps\\Untitled_1.autosave.map"), FILE_ATTRIBUTE_READONLY));
    const std::string marked = Read("maps\\Untitled_1.autosave.map");
    untitled.GetWorldEntity()->AddKeyValue("message", "changed");
    round(untitled, 7);
    round(untitled, 8);
    EXPECT_EQ(marked, Read("maps\\Untitled_1.autosave.map"));
    EXPECT_NE(0u, ::GetFileAttributesA(Path("maps\\Untitled_1.autosave.map")) & FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(std::string::npos, Read("maps\\Untitled_1.autosave2.map").find("changed"));
    EXPECT_EQ(1, countLines("is read-only"));
    EXPECT_TRUE(services->boxes.empty());

    // The clean-up's list: what this run's auto save wrote, nothing of the user's (nor the file
    // the user marked to be kept).
    CStringArray files;
    Map::GetAutoSaveFiles(files);
    std::vector<std::string> names;
    for (INT_PTR i = 0; i < files.GetSize(); ++i)
        names.push_back(std::string(files[i].Mid(files[i].ReverseFind('\\') + 1)));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"Untitled_1.autosave2.map", "start.autosave2.map", "start.autosave3.map"}),
              names);
    ::SetFileAttributesA(Path("maps\\Untitled_1.autosave.map"), FILE_ATTRIBUTE_NORMAL);
    Map::ForgetAutoSaveFiles();
}

// An auto save that cannot write shows one box when it starts failing, then a line at each
// failing round until a round succeeds; the next failure is a box again.
TEST_F(MapFile, AFailingAutoSaveShowsOneBoxThenLinesUntilItSucceeds)
{
    Map::ForgetAutoSaveFiles();
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    services->WriteProfileString("Options", "Auto Save Path", "gone");
    map->SetPathName(Path("hall.map"), FALSE);
    Map second;
    second.m_bAutoDelete = FALSE;
    ASSERT_TRUE(second.OnNewDocument());
    second.SetPathName(Path("cave.map"), FALSE);
    auto round = [&](DWORD tick) {
        map->SetModifiedFlag();
        second.SetModifiedFlag();
        map->AutoSave(tick);
        second.AutoSave(tick);
    };
    auto failedLines = [&] {
        int n = 0;
        for (const std::string& line : services->lines)
            n += line.find("Auto save failed: Couldn't open file ") == 0;
        return n;
    };
    round(101);
    ASSERT_EQ(1u, services->boxes.size()) << "one box for the round, whatever the number of maps";
    EXPECT_NE(std::string::npos, services->boxes[0].text.find("Couldn't open file " + std::string(Path("gone\\hall.map"))));
    EXPECT_EQ(1, failedLines());
    round(102);
    round(103);
    EXPECT_EQ(1u, services->boxes.size());
    EXPECT_EQ(5, failedLines());

    ASSERT_TRUE(::CreateDirectoryA(Path("gone"), nullptr));
    round(104);
    EXPECT_FALSE(Read("gone\\hall.map").empty());
    EXPECT_FALSE(Read("gone\\cave.map").empty());
    EXPECT_EQ(5, failedLines());
    Map::ForgetAutoSaveFiles();
    ::DeleteFileA(Path("gone\\hall.map"));
    ::DeleteFileA(Path("gone\\cave.map"));
    ASSERT_TRUE(::RemoveDirectoryA(Path("gone")));
    round(105);
    EXPECT_EQ(2u, services->boxes.size());
    EXPECT_EQ(6, failedLines());
    EXPECT_TRUE(map->IsModified());
    Map::ForgetAutoSaveFiles();
}

// A file that holds the temporary's name ("NAME.tmp") is someone's: every save (the map's, the auto
// save, the project's write-back), done or failed, leaves it as it is, and leaves no temporary of
// its own behind.
TEST_F(MapFile, EverySaveLeavesAFileOfTheTemporarysNameAsItIs)
{
    AddEntity("info_player_start", "0 0 0");
    AddBrush(world, 0, 64, 0, 64, 0, 64)->SetTexture(&textures.wall);
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    ::CreateDirectoryA(Path("auto"), nullptr);
    services->WriteProfileString("Options", "Auto Save Path", "auto");
    map->SetPathName(Path("hall.map"), FALSE);
    Map::ForgetAutoSaveFiles();
    DWORD tick = 0;
    const struct
    {
        const char* target;
        std::function<void()> save;
    } saves[] = {
        {"hall.map", [&] { map->OnSaveDocument(Path("hall.map")); }},
        {"auto\\hall.map",
         [&] {
             map->SetModifiedFlag();
             map->AutoSave(++tick);
         }},
        {"p.prj",
         [&] {
             CIniFile project(Path("p.prj"));
             project.WriteString("Paths", "Maps", tick % 2 ? "a" : "b", TRUE);
             project.Write();
             project.SetDirty(FALSE);
         }},
    };
    const std::string theirs = "the user's own file";
    for (const auto& s : saves) {
        for (bool fail : {false, true}) {
            SCOPED_TRACE(std::string(s.target) + (fail ? ", failing" : ""));
            const CString target = Path(s.target);
            dir.WriteFile(CString(s.target) + ".tmp", theirs);
            const std::string before = Read(s.target);
            // Another program holds the target open: it cannot be replaced.
            HANDLE held = fail ? ::CreateFileA(target, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
            ++tick;
            s.save();
            if (held)
                ::CloseHandle(held);
            EXPECT_EQ(Read(CString(s.target) + ".tmp"), theirs);
            EXPECT_EQ(::GetFileAttributesA(target + ".2.tmp"), INVALID_FILE_ATTRIBUTES);
            EXPECT_EQ(Read(s.target) == before, fail) << Read(s.target);
        }
    }
    Map::ForgetAutoSaveFiles();
}

// A save never replaces a file marked read-only: the file and its mark stay, the map stays
// modified, and the box says why.
TEST_F(MapFile, ASaveLeavesAReadOnlyFileAsItIs)
{
    AddEntity("info_player_start", "0 0 0");
    AddBrush(world, 0, 64, 0, 64, 0, 64)->SetTexture(&textures.wall);
    map->SetModifiedFlag();
    dir.WriteFile("kept.map", "the user's bytes");
    ASSERT_TRUE(::SetFileAttributesA(Path("kept.map"), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(map->OnSaveDocument(Path("kept.map")));
    EXPECT_EQ("the user's bytes", Read("kept.map"));
    EXPECT_NE(0u, ::GetFileAttributesA(Path("kept.map")) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(map->IsModified());
    EXPECT_TRUE(services->BoxContains("is read-only: it was left as it is."));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(Path("kept.map.tmp")));
    ::SetFileAttributesA(Path("kept.map"), FILE_ATTRIBUTE_NORMAL);
}

// Brushes that whole-unit points cannot hold are kept as read: out of the entity's brushes (so
// out of the views and edits), reported in one box with their lines, and written back unchanged
// at their place by the save, the auto save and the build.
TEST_F(MapFile, UnbuildableBrushesAreKeptAndWrittenBackAtTheirPlace)
{
    const std::string kept1 = "{\r\n( 0 0 64 ) ( 0.3 0.3 64 ) ( 0.6 0.6 64.1 ) WALL1 0 0 0 1 1\r\n"
                              "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\r\n"
                              "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\r\n"
                              "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n}";
    const std::string kept2 = "{\n( 5 5 5 ) ( 6 6 6 ) ( 7 7 7 ) WALL1 0 0 0 1 1\n"
                              "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\n"
                              "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\n"
                              "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\n}";
    std::string text = "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"w.wad\"\r\n" + BoxText(0, 64) + kept1 + "\r\n" +
                       BoxText(128, 192) + "}\r\n" + std::string(kStart) + "{\r\n\"classname\" \"func_wall\"\r\n" +
                       BoxText(256, 320) + kept2 + "\r\n}\r\n";
    ASSERT_TRUE(Open("kept.map", text));
    auto keptBoxes = [this] {
        int n = 0;
        for (const auto& box : services->boxes)
            n += box.text.find("cannot be built") != std::string::npos;
        return n;
    };
    EXPECT_EQ(keptBoxes(), 1);
    EXPECT_TRUE(services->BoxContains("2 brushes of the map cannot be built from their points (lines 12, 38)."))
        << services->boxes[0].text;
    Entity* w = map->GetWorldEntity();
    EXPECT_EQ(w->GetBrushCount(), 2);
    EXPECT_EQ(w->GetKeptBrushCount(), 1);
    Entity* wall = static_cast<Entity*>(map->GetEntities().GetTail());
    EXPECT_EQ(wall->GetBrushCount(), 1);
    EXPECT_EQ(wall->GetKeptBrushCount(), 1);

    // Select all and move: the kept brushes are not among the objects.
    CPtrList all;
    map->CollectObjects(all);
    EXPECT_EQ(all.GetCount(), 4); // three brushes and the player start
    for (POSITION pos = all.GetHeadPosition(); pos;)
        static_cast<SThing*>(all.GetNext(pos))->Move(16, 0, VIEW_XY);

    ASSERT_TRUE(map->OnSaveDocument(Path("out.map")));
    std::string saved = Read("out.map");
    size_t at1 = saved.find("  " + kept1 + "\r\n");
    size_t at2 = saved.find("  " + kept2 + "\r\n");
    ASSERT_NE(at1, std::string::npos) << saved;
    ASSERT_NE(at2, std::string::npos);
    // Each at its place: after the first world brush (moved to 16) and before the second one.
    EXPECT_LT(saved.find("(   16"), at1);
    EXPECT_GT(saved.find("(  144"), at1);
    EXPECT_GT(at2, saved.find("(  272"));

    // Saved again after a reopen, the file stays the same.
    services->boxes.clear();
    ASSERT_TRUE(map->OnOpenDocument(Path("out.map")));
    EXPECT_EQ(keptBoxes(), 1);
    ASSERT_TRUE(map->OnSaveDocument(Path("again.map")));
    map->SetPathName(Path("again.map"), FALSE);
    EXPECT_EQ(Read("again.map"), saved);

    // The auto save and the build write them too.
    EXPECT_NE(AutoSaved("again.map").find(kept2), std::string::npos);
    const std::string build = Built();
    EXPECT_NE(build.find(kept1), std::string::npos);
    EXPECT_NE(build.find(kept2), std::string::npos);
}

// An entity whose every brush was kept as read has nothing to show or pick, but it stays in the map:
// an edit of everything else (select all, delete) leaves it, and the save, the auto save and the
// build write it with its brush as read (the build unless its class is switched off).
TEST_F(MapFile, AnEntityOfKeptBrushesOnlySurvivesEditsAndEverySave)
{
    const std::string kept = "{\r\n( 0 0 64 ) ( 0.3 0.3 64 ) ( 0.6 0.6 64.1 ) WALL1 0 0 0 1 1\r\n"
                             "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\r\n"
                             "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\r\n"
                             "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n}";
    const std::string door = "{\r\n  \"classname\" \"func_door\"\r\n  \"speed\" \"50\"\r\n  " + kept + "\r\n}\r\n";
    std::string text = "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"w.wad\"\r\n" + BoxText(0, 64) + "}\r\n" +
                       std::string(kStart) + "{\r\n\"classname\" \"func_door\"\r\n\"speed\" \"50\"\r\n" + kept +
                       "\r\n}\r\n{\r\n\"classname\" \"func_wall\"\r\n" + BoxText(256, 320) + "}\r\n";
    ASSERT_TRUE(Open("door.map", text));
    map->SetPathName(Path("door.map"), FALSE);
    ASSERT_EQ(map->GetEntities().GetCount(), 4);
    POSITION at = map->GetEntities().FindIndex(2);
    ASSERT_NE(at, nullptr);
    Entity* doorEntity = static_cast<Entity*>(map->GetEntities().GetAt(at));
    EXPECT_EQ(doorEntity->GetBrushCount(), 0);
    EXPECT_EQ(doorEntity->GetKeptBrushCount(), 1);
    map->RebuildVisibleList();
    EXPECT_FALSE(map->GetObjectList().Find(doorEntity)) << "nothing of it to draw or pick";

    // Select everything there is and delete it: the world stays, the door too.
    CPtrList all;
    map->CollectObjects(all);
    EXPECT_EQ(all.GetCount(), 3); // two brushes and the player start
    EXPECT_FALSE(all.Find(doorEntity));
    for (POSITION pos = all.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(all.GetNext(pos));
        t->SetSelected(true);
        map->GetSelection().AddTail(t);
    }
    ASSERT_TRUE(map->DeleteSelection(FALSE));
    ASSERT_EQ(map->GetEntities().GetCount(), 2);
    EXPECT_EQ(map->GetEntities().GetTail(), doorEntity);

    ASSERT_TRUE(map->OnSaveDocument(Path("door2.map")));
    std::string saved = Read("door2.map");
    EXPECT_NE(saved.find(door), std::string::npos) << saved;
    EXPECT_NE(AutoSaved("door.map").find(door), std::string::npos);
    EXPECT_NE(Built().find(door), std::string::npos);
    services->classVisibility["func_door"] = 0;
    EXPECT_EQ(Built().find("func_door"), std::string::npos);

    // Reopened, the door is there with its brush as read.
    ASSERT_TRUE(map->OnOpenDocument(Path("door2.map")));
    ASSERT_EQ(map->GetEntities().GetCount(), 2);
    EXPECT_EQ(static_cast<Entity*>(map->GetEntities().GetTail())->GetKeptBrushCount(), 1);
}

// A sloped brush whose corners are not whole numbers stays valid when moved; the auto save writes
// a brush that is not valid, and the build leaves it out and says so.
TEST_F(MapFile, MovedSlopedBrushesStayValidAndNoBrushIsDroppedSilently)
{
    // The top falls 3 units every 7: its corners at x = 64 lie at z = 36.57.
    std::string text = "{\r\n\"classname\" \"worldspawn\"\r\n{\r\n"
                       "( 0 0 64 ) ( 0 64 64 ) ( 7 64 61 ) WALL1 0 0 0 1 1\r\n"
                       "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\r\n"
                       "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\r\n"
                       "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n"
                       "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n"
                       "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) WALL1 0 0 0 1 1\r\n}\r\n}\r\n" +
                       std::string(kStart);
    ASSERT_TRUE(Open("slope.map", text));
    map->SetPathName(Path("slope.map"), FALSE);
    Brush* b = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead());
    ASSERT_TRUE(b->IsValid());
    b->Move(16, 0, VIEW_XY);
    EXPECT_TRUE(b->IsValid());
    b->MoveDepth(16, VIEW_XY);
    EXPECT_TRUE(b->IsValid());
    b->MoveTo(200, 100, VIEW_XZ);
    EXPECT_TRUE(b->IsValid());
    b->Move(-16, 0, VIEW_XY);
    EXPECT_TRUE(b->IsValid());

    b->GetFace(0).winding[0].z += 5; // off its own plane
    ASSERT_FALSE(b->IsValid());
    EXPECT_NE(AutoSaved("slope.map").find("WALL1"), std::string::npos) << "the auto save holds the brush";

    services->lines.clear();
    const std::string build = Built();
    EXPECT_EQ(build.find("WALL1"), std::string::npos);
    EXPECT_TRUE(services->LineContains("A brush of worldspawn from (")) << services->lines.size();
    EXPECT_TRUE(services->LineContains("is not valid; it was left out of the map."));
}

// The brush blocks of a real map text: the lines that hold only "{" at depth two (texture
// names may start with "{", so braces inside face lines do not count).
int CountBrushBlocks(const std::string& text)
{
    int depth = 0, count = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (line == "{")
            count += ++depth == 2;
        else if (line == "}")
            --depth;
        start = end + 1;
    }
    return count;
}

// Every real map: open, move everything by 16 units and back, save, reopen. The same brushes and
// entities, every brush valid (the kept ones as read), and every brush's windings the same by the
// shorter ways of BuildWindings as by the general clip, bit for bit. Skipped without the folder of
// real maps.
TEST_F(MapFile, RealMapsKeepEveryBrush)
{
    CString folder;
    std::vector<CString> names = RealMaps(folder);
    if (names.empty())
        GTEST_SKIP() << "no real maps in " << (LPCSTR)folder;
    for (const CString& name : names) {
        SCOPED_TRACE((LPCSTR)name);
        CFile file;
        ASSERT_TRUE(file.Open(folder + name, CFile::modeRead));
        std::string original(static_cast<size_t>(file.GetLength()), '\0');
        file.Read(&original[0], static_cast<UINT>(original.size()));
        file.Close();
        ASSERT_TRUE(map->OnOpenDocument(folder + name));
        auto counts = [this](int& brushes, int& kept, int& entities) {
            brushes = kept = 0;
            entities = map->GetEntities().GetCount();
            for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;) {
                Entity* e = static_cast<Entity*>(map->GetEntities().GetNext(pos));
                brushes += e->GetBrushCount();
                kept += e->GetKeptBrushCount();
                for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;) {
                    const Brush* b = static_cast<Brush*>(e->GetBrushes().GetNext(bp));
                    EXPECT_TRUE(b->IsValid());
                    if (!HasFailure()) // one brush tells enough
                        ExpectSameWindingsBothWays(*b);
                }
            }
        };
        int brushes, kept, entities;
        counts(brushes, kept, entities);
        EXPECT_EQ(brushes + kept, CountBrushBlocks(original));
        CPtrList all;
        map->CollectObjects(all);
        for (POSITION pos = all.GetHeadPosition(); pos;)
            static_cast<SThing*>(all.GetNext(pos))->Move(16, 16, VIEW_XY);
        for (POSITION pos = all.GetHeadPosition(); pos;)
            static_cast<SThing*>(all.GetNext(pos))->Move(-16, -16, VIEW_XY);
        ASSERT_TRUE(map->OnSaveDocument(Path("real.map")));
        ASSERT_TRUE(map->OnOpenDocument(Path("real.map")));
        int brushes2, kept2, entities2;
        counts(brushes2, kept2, entities2);
        EXPECT_EQ(brushes2, brushes);
        EXPECT_EQ(kept2, kept);
        EXPECT_EQ(entities2, entities);
        if (name.CompareNoCase("librequake_e2m2.map") == 0) {
            EXPECT_EQ(kept, 9);
        }
    }
}

} // namespace
