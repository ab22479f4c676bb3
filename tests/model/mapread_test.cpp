// Maps read as the file has them: unchanged faces written as read, damaged maps kept whole as far
// as they read, read errors told once per kind, formats not read refused.
#include "BrushBatch.h"
#include "DocumentFixture.h"
#include "MapText.h"
#include "Texture.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

namespace {

// A source that holds every texture asked for, under the upper-case name a WAD gives it.
class WadSpelling : public CTextureSource
{
public:
    Texture* FindTexture(LPCSTR name) override
    {
        std::unique_ptr<Texture>& t = records[std::string(TextureKey(name))];
        if (!t) {
            t.reset(new Texture);
            t->name = TextureKey(name);
        }
        return t.get();
    }
    std::map<std::string, std::unique_ptr<Texture>> records;
};

const char kWorld[] = "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"w.wad\"\r\n";

std::string BoxBrush(int x0, int x1)
{
    return BoxText(x0, x1, "wall1");
}

int CountLinesEqual(const std::string& text, const char* line)
{
    std::istringstream in(text);
    std::string l;
    int n = 0;
    while (std::getline(in, l)) {
        l.erase(0, l.find_first_not_of(" \t"));
        l.erase(l.find_last_not_of(" \t\r") + 1);
        n += l == line;
    }
    return n;
}

class MapRead : public MapFileTest<WadSpelling>
{
protected:
    // Saved with every question answered Yes but the one about invalid brushes.
    std::string Save(LPCSTR name)
    {
        EXPECT_TRUE(map->OnSaveDocument(Path(name)));
        return dir.ReadFile(name);
    }
    // Open, save, reopen, save: the two saves are the same file. Returns the first save.
    std::string RoundTrips(const std::string& text)
    {
        EXPECT_TRUE(Open("in.map", text));
        std::string first = Save("out1.map");
        EXPECT_TRUE(map->OnOpenDocument(Path("out1.map")));
        EXPECT_EQ(Save("out2.map"), first);
        return first;
    }
    size_t BoxesWith(const char* part) const
    {
        size_t n = 0;
        for (const auto& b : services->boxes)
            n += b.text.find(part) != std::string::npos;
        return n;
    }
    std::string AllBoxes() const
    {
        std::string all;
        for (const auto& b : services->boxes)
            all += b.text + "\n---\n";
        return all;
    }
    Brush* FirstBrush() { return static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead()); }
};

// A brush whose faces hold the values they were read with is written with its lines as read:
// fractions, letter case and all; one that was changed is written as before.
TEST_F(MapRead, UnchangedFacesAreWrittenAsRead)
{
    const std::string sloped = "( 0 0 64.25 ) ( 0 64 64.25 ) ( 64 64 64.25 ) wall1 19.4723 31.9999 26.565 1 0.894428";
    std::string brush = "{\r\n" + sloped + "\r\n"
                        "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) Wall1 0 0 0 1 1\r\n"
                        "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) wall1 0 0 0 1 1\r\n"
                        "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n"
                        "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n"
                        "(0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1 1\r\n}\r\n";
    ASSERT_TRUE(Open("a.map", kWorld + brush + "}\r\n"));
    const std::string asRead = "  {\r\n    " + sloped + "\r\n"
                               "    ( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) Wall1 0 0 0 1 1\r\n"
                               "    ( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) wall1 0 0 0 1 1\r\n"
                               "    ( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n"
                               "    ( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n"
                               "    (0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1 1\r\n  }\r\n";
    EXPECT_NE(Save("b.map").find(asRead), std::string::npos) << dir.ReadFile("b.map");

    // Moved and moved back: the same values, so the same lines.
    Brush* b = FirstBrush();
    b->Move(16, 0, VIEW_XY);
    b->Move(-16, 0, VIEW_XY);
    EXPECT_NE(Save("c.map").find(asRead), std::string::npos);

    // Moved: written from its values, in whole units and the record's name.
    b->Move(16, 0, VIEW_XY);
    std::string moved = Save("d.map");
    EXPECT_EQ(moved.find("64.25"), std::string::npos);
    EXPECT_NE(moved.find(") WALL1 19 32 27 1.000000 0.894428\r\n"), std::string::npos) << moved;

    // Moved back but one face given another texture: that face is written from its values, the
    // others as read.
    b->Move(-16, 0, VIEW_XY);
    b->GetFace(3).texture = textures.FindTexture("other");
    std::string retextured = Save("e.map");
    std::string oneChanged = asRead;
    const std::string third = "    ( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n";
    oneChanged.replace(oneChanged.find(third), third.size(),
                       "    (   64   64    0 ) (   64    0    0 ) (   64    0   64 ) OTHER 0 0 0 1.000000 1.000000\r\n");
    EXPECT_NE(retextured.find(oneChanged), std::string::npos) << retextured;
}

// A scale or offset that no float or 16-bit field holds makes its brush one kept as read, told
// in the one box of kept brushes; the saves write it back as it was.
TEST_F(MapRead, NumbersThatDoNotFitKeepTheBrushAsRead)
{
    const char* faces[] = {
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1e39 1",      // a scale beyond a float
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1 -1e400",    // beyond a double
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 99999 0 0 1 1",     // an offset beyond 16 bits
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 1e39 0 1 1",
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 -40000 1 1",   // a rotation
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 1e39 ) wall1 0 0 0 1 1",      // a point
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 -1e400 ) wall1 0 0 0 1 1",    // a point beyond a double
    };
    for (const char* face : faces) {
        SCOPED_TRACE(face);
        services->boxes.clear();
        std::string kept = "{\r\n( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) wall1 0 0 0 1 1\r\n"
                           "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) wall1 0 0 0 1 1\r\n"
                           "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) wall1 0 0 0 1 1\r\n"
                           "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n"
                           "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n" +
                           std::string(face) + "\r\n}";
        std::string saved = RoundTrips(kWorld + BoxBrush(128, 192) + kept + "\r\n}\r\n");
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 1);
        EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), 1);
        EXPECT_EQ(BoxesWith("1 brush of the map cannot be built"), 2u) << AllBoxes(); // one per open
        EXPECT_NE(saved.find(kept), std::string::npos) << saved;
    }
}

// A point entity whose origin lies past the 16-bit coordinate range is shown where its box stops,
// at the range's end (never on the far side of the map), and told once for all such entities with
// their lines, as the brushes past the range are; unless it is moved, its origin is saved as read.
TEST_F(MapRead, OriginsPastTheCoordinateRangeAreToldAndSavedAsRead)
{
    auto light = [](const char* origin) {
        return std::string("{\r\n\"classname\" \"light\"\r\n\"origin\" \"") + origin + "\"\r\n}\r\n";
    };
    const std::string text = kWorld + BoxBrush(0, 64) + "}\r\n" + light("40000 0 -32769") + light("32767 0 -32768") +
                             light("0 -1e9 0");
    const std::string saved = RoundTrips(text);
    ASSERT_EQ(map->GetEntities().GetCount(), 4);
    auto boxOf = [this](int i) {
        const short* b = static_cast<Entity*>(map->GetEntities().GetAt(map->GetEntities().FindIndex(i)))->GetBounds();
        return std::vector<int>(b, b + 6);
    };
    EXPECT_EQ(boxOf(1), (std::vector<int>{32751, 32767, -16, 16, -32768, -32752}));
    EXPECT_EQ(boxOf(3), (std::vector<int>{-16, 16, -32768, -32752, -16, 16}));
    EXPECT_EQ(BoxesWith("The origin of the entity light lies outside the map's coordinate range (-32768 to 32767).\n"
                        "It is shown at the range's end and moved from there; unless it is moved, its origin is "
                        "written back as read.\n("),
              2u) << AllBoxes(); // one per open
    EXPECT_EQ(BoxesWith("2 entities, on lines 13, 21)"), 2u) << AllBoxes();
    for (const char* origin : {"40000 0 -32769", "32767 0 -32768", "0 -1e9 0"})
        EXPECT_NE(saved.find(std::string("\"origin\" \"") + origin + "\""), std::string::npos) << saved;
}

// The Entity Editor's Apply on an entity read past the coordinate range that leaves its origin as
// read is made, and the origin stays and is saved as read (a move by nothing would clamp it): a
// pair of a point entity or of a brush entity changed, or another point class chosen. An origin
// typed past the range is still refused.
TEST_F(MapRead, AnApplyThatLeavesAnOriginReadPastTheRangeKeepsIt)
{
    services->AddEntityClass("light", TestBox(-8, 8, -8, 8, -8, 8));
    services->AddEntityClass("info_null", TestBox(-4, 4, -4, 4, -4, 4));
    services->AddEntityClass("func_door", TestBox(-16, 16, -16, 16, -16, 16));
    const std::string light = "{\r\n\"classname\" \"light\"\r\n\"origin\" \"40000 0 -32769\"\r\n\"light\" \"300\"\r\n}\r\n";
    const std::string door = "{\r\n\"classname\" \"func_door\"\r\n\"origin\" \"40000 0 0\"\r\n" + BoxBrush(0, 64) + "}\r\n";
    struct Case
    {
        const char* what;
        const std::string& block;
        const char* key;
        const char* value;
        const char* origin;
        std::vector<int> box; // of the entity the Apply leaves, none for a brush entity
    };
    const Case cases[] = {
        {"a pair of a point entity", light, "light", "200", "40000 0 -32769", {32759, 32767, -8, 8, -32768, -32760}},
        {"a pair of a brush entity", door, "speed", "50", "40000 0 0", {}},
        {"another point class", light, "classname", "info_null", "40000 0 -32769", {32763, 32767, -4, 4, -32768, -32764}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Open("in.map", kWorld + BoxBrush(0, 64) + "}\r\n" + c.block));
        Entity* read = static_cast<Entity*>(map->GetEntities().GetTail());
        Select(read->GetBrushCount() ? static_cast<SThing*>(read->GetBrushes().GetHead()) : read);
        map->UpdateCurrentEntity();
        ASSERT_EQ(map->GetCurrentEntity(), read);
        Entity edited(*read);
        edited.SetMap(nullptr);
        if (edited.SetValueForKey(c.key, c.value) == Entity::KEY_MISSING)
            edited.AddKeyValue(c.key, c.value);
        services->boxes.clear();
        const BOOL applied = map->MakeEntityFromSelection(&edited);
        EXPECT_TRUE(applied);
        EXPECT_TRUE(services->boxes.empty()) << AllBoxes();
        if (!applied)
            continue;
        Entity* made = map->GetCurrentEntity();
        ASSERT_NE(made, nullptr);
        EXPECT_STREQ(made->ValueForKey(c.key), c.value);
        EXPECT_STREQ(made->ValueForKey("origin"), c.origin);
        if (!c.box.empty()) {
            EXPECT_EQ(std::vector<int>(made->GetBounds(), made->GetBounds() + 6), c.box);
        }
        EXPECT_NE(Save("out.map").find(std::string("\"origin\" \"") + c.origin + "\""), std::string::npos)
            << dir.ReadFile("out.map");
    }

    // Typed past the range, an origin is refused and the entity keeps the one it was read with.
    ASSERT_TRUE(Open("in.map", kWorld + BoxBrush(0, 64) + "}\r\n" + light));
    Entity* read = static_cast<Entity*>(map->GetEntities().GetTail());
    Select(read);
    map->UpdateCurrentEntity();
    Entity typed(*read);
    typed.SetMap(nullptr);
    typed.SetValueForKey("origin", "40001 0 -32769");
    services->boxes.clear();
    EXPECT_FALSE(map->MakeEntityFromSelection(&typed));
    EXPECT_EQ(BoxesWith("The origin \"40001 0 -32769\" lies outside"), 1u) << AllBoxes();
    EXPECT_STREQ(read->ValueForKey("origin"), "40000 0 -32769");
}

// A file cut off inside a brush or an entity: told once with the line where the block starts;
// what was read is kept and written back closed, so that the braces balance and a second round
// trip adds nothing.
TEST_F(MapRead, TextEndingInsideABlockIsKeptAndWrittenClosed)
{
    const std::string world = kWorld + BoxBrush(0, 64);
    struct Case
    {
        std::string text;
        const char* told;
        int brushes, kept;
    };
    const Case cases[] = {
        // Cut after two faces: the brush cannot be built; it is kept as read, closed.
        {world + "{\r\n( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) wall1 0 0 0 1 1\r\n( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) wall1 0 0 0 1 1",
         "brush that starts on line 12", 1, 1},
        // Cut after the last face of a whole brush, without its "}".
        {world + BoxBrush(128, 192).substr(0, BoxBrush(128, 192).size() - 3), "brush that starts on line 12", 2, 0},
        // Cut inside the world after a whole brush.
        {world, "entity that starts on line 1", 1, 0},
        // Cut inside a point entity.
        {world + "}\r\n{\r\n\"classname\" \"light\"\r\n\"origin\" \"0 0 0\"", "entity that starts on line 13", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.told);
        services->boxes.clear();
        std::string saved = RoundTrips(c.text);
        EXPECT_EQ(BoxesWith(c.told), 1u) << AllBoxes(); // the first open only: the save closed it
        EXPECT_EQ(BoxesWith(static_cast<LPCSTR>(Path("in.map"))), 1u);
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), c.brushes);
        EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), c.kept);
        EXPECT_EQ(CountLinesEqual(saved, "{"), CountLinesEqual(saved, "}")) << saved;
    }
}

// Damage part way keeps what was read before it: the world with its pairs and brushes stays, the
// message names the file and the line.
TEST_F(MapRead, DamagePartWayKeepsWhatWasReadBefore)
{
    const std::string start = "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"w.wad\"\r\n" + BoxBrush(0, 64) + BoxBrush(128, 192);
    // Cut in the middle of a face line.
    ASSERT_TRUE(Open("cut.map", start + "{\r\n( 0 0 64 ) ( 0 6"));
    EXPECT_STREQ(map->GetWorldEntity()->ValueForKey("wad"), "w.wad");
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 2);
    EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), 1);
    EXPECT_TRUE(services->BoxContains("brush that starts on line 20")) << AllBoxes();
    EXPECT_TRUE(services->BoxContains(Path("cut.map")));

    // A stray word in the world: what came before it stays, and what follows its entity.
    services->boxes.clear();
    ASSERT_TRUE(Open("word.map", start + "junk\r\n" + BoxBrush(256, 320) + "}\r\n"
                                 "{\r\n\"classname\" \"info_player_start\"\r\n\"origin\" \"0 0 0\"\r\n}\r\n"));
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 2);
    EXPECT_STREQ(static_cast<Entity*>(map->GetEntities().GetTail())->ValueForKey("classname"), "info_player_start");
    EXPECT_EQ(BoxesWith("Invalid token 'junk' parsing entity, and 1 more."), 1u) << AllBoxes();
    EXPECT_TRUE(services->BoxContains("lines 20, 29"));
    EXPECT_TRUE(services->BoxContains(Path("word.map")));
}

// A value that runs over a line end is told at its own line, and the lines it spans count: a later
// message names the line where its fault stands.
TEST_F(MapRead, LinesInsideAQuotedValueCount)
{
    // Lines 1-3 the world's start, 4-6 the value, 7-14 a brush, 15 the stray word.
    const std::string text = kWorld + std::string("\"message\" \"three\r\nlines\r\nlong\"\r\n") + BoxBrush(0, 64) +
                             "junk\r\n}\r\n";
    ASSERT_TRUE(Open("long.map", text));
    EXPECT_EQ(BoxesWith("Invalid token 'junk' parsing entity"), 1u) << AllBoxes();
    EXPECT_TRUE(services->BoxContains("line 15")) << AllBoxes();
    EXPECT_FALSE(services->BoxContains("line 13")) << AllBoxes();
    EXPECT_TRUE(services->BoxContains("line 4")) << AllBoxes();   // the value itself
}

// One open shows at most one box of each kind, with the count and the first lines. A world of
// twenty brushes of which one lost its "{" reads whole: the face lines make a brush of their own.
TEST_F(MapRead, OneBoxPerKindWithCountAndFirstLines)
{
    std::string text = kWorld;
    for (int i = 0; i < 20; ++i) {
        std::string b = BoxBrush(i * 64, i * 64 + 64);
        text += i == 7 ? b.substr(3) : b;
    }
    text += "}\r\n";
    std::string saved = RoundTrips(text);
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 20);
    EXPECT_EQ(BoxesWith("Invalid token '(' parsing entity."), 1u) << AllBoxes();
    EXPECT_EQ(CountLinesEqual(saved, "{"), 21);

    // Forty faces with their scales missing, three kinds of lines not read, classes unknown.
    services->boxes.clear();
    text = kWorld;
    for (int i = 0; i < 40; ++i) {
        std::string b = BoxBrush(i * 64, i * 64 + 64);
        b.replace(b.find(" 1 1\r\n"), 6, "\r\n");
        text += b;
    }
    text += "{ trailing words\r\n" + BoxBrush(4000, 4064).substr(3);
    text.insert(text.rfind("\r\n(") + 2, "not a face\r\n");
    text.insert(text.rfind(" 1 1\r\n") + 4, " 7 8 9");
    text += "}\r\n";
    for (int i = 0; i < 30; ++i)
        text += "{\r\n\"classname\" \"monster_x\"\r\n\"origin\" \"0 0 0\"\r\n}\r\n";
    // Origins that cannot be read, and a value whose closing quote was lost.
    for (int i = 0; i < 12; ++i)
        text += "{\r\n\"classname\" \"monster_x\"\r\n\"origin\" \"0 0\"\r\n}\r\n";
    text += "{\r\n\"classname\" \"info_null\"\r\n\"message\" \"lost\r\n\"origin\" \"0 0 0\"\r\n}\r\n";
    ASSERT_TRUE(Open("many.map", text));
    // The lost quote puts the pairs after it out of line: an invalid token too.
    EXPECT_EQ(services->boxes.size(), 5u) << AllBoxes();
    EXPECT_EQ(BoxesWith("Invalid token 'origin\"' parsing entity."), 1u);
    EXPECT_EQ(BoxesWith("Error reading in a brush's face, 40 faces."), 1u);
    EXPECT_TRUE(services->BoxContains("lines 5, 13, 21, 29, 37, 45, 53, 61, 69, 77 and 30 more"));
    EXPECT_TRUE(services->BoxContains("4 lines of ")) << AllBoxes();
    EXPECT_TRUE(services->BoxContains("monster_x (30: lines "));
    EXPECT_EQ(BoxesWith("The entity monster_x contains an invalid origin statement."), 1u);
    EXPECT_TRUE(services->BoxContains("12 entities, on lines "));
}

// A brush whose faces leave it open is kept as read and counted with the kept brushes.
TEST_F(MapRead, BrushThatEnclosesNoVolumeIsKept)
{
    std::string open = BoxBrush(0, 64);
    open.erase(open.find("( 0 0 0 ) ( 0 0 64 )"), open.find("}") - open.find("( 0 0 0 ) ( 0 0 64 )"));
    std::string saved = RoundTrips(kWorld + BoxBrush(128, 192) + open + "}\r\n");
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 1);
    EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), 1);
    EXPECT_TRUE(services->BoxContains("1 brush of the map cannot be built"));
    EXPECT_NE(saved.find(open.substr(0, open.size() - 2)), std::string::npos);
}

// Brushes that fail while their lines are read and brushes whose geometry fails afterwards are
// kept in the places the file gives them, among the brushes that are built, in every entity.
TEST_F(MapRead, FailedBrushesAreKeptInTheirPlaces)
{
    auto open = [](int x0, int x1) { // encloses no volume: its last two faces left out
        std::string b = BoxBrush(x0, x1);
        return b.substr(0, b.find("( " + std::to_string(x0) + " 0 0 ) ( " + std::to_string(x0) + " 0 64 )")) +
               "}\r\n";
    };
    auto badNumber = [](int x0, int x1) { // an offset beyond 16 bits
        std::string b = BoxBrush(x0, x1);
        b.replace(b.find("wall1 0 0 0"), 11, "wall1 99999 0 0");
        return b;
    };
    const std::vector<std::string> world = {BoxBrush(0, 64),     open(100, 164),      badNumber(200, 264),
                                            BoxBrush(300, 364),  open(400, 464),      badNumber(500, 564),
                                            open(600, 664),      BoxBrush(700, 764)};
    const std::vector<std::string> door = {open(1000, 1064), BoxBrush(1100, 1164), badNumber(1200, 1264)};
    std::string text = kWorld;
    for (const std::string& b : world)
        text += b;
    text += "}\r\n{\r\n\"classname\" \"func_door\"\r\n";
    for (const std::string& b : door)
        text += b;
    text += "}\r\n";
    const std::string saved = RoundTrips(text);
    EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 3);
    EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), 5);
    ASSERT_EQ(map->GetEntities().GetCount(), 2);
    const Entity* doorEntity = static_cast<const Entity*>(map->GetEntities().GetTail());
    EXPECT_EQ(doorEntity->GetBrushCount(), 1);
    EXPECT_EQ(doorEntity->GetKeptBrushCount(), 2);
    // Every brush in the file's order: the first line of each is found after the one before.
    size_t at = 0;
    for (const std::vector<std::string>* list : {&world, &door})
        for (const std::string& b : *list) {
            const std::string first = b.substr(3, b.find("\r\n", 3) - 3);
            const size_t found = saved.find(first, at);
            ASSERT_NE(found, std::string::npos) << first << "\n" << saved;
            at = found + first.size();
        }
    // The kept brushes' lines in the one box, in order.
    EXPECT_TRUE(services->BoxContains("7 brushes of the map cannot be built from their face lines (lines 12, 18, 34, "
                                      "40, 48, 65, 79)"))
        << AllBoxes();
}

// A map in the Valve 220 format (texture axes in square brackets) is refused: the open fails with
// the file and the line named, and the file stays as it was.
TEST_F(MapRead, Valve220MapsAreRefused)
{
    const std::string text = std::string(kWorld) + "\"mapversion\" \"220\"\r\n{\r\n"
                             "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) wall1 [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1\r\n"
                             "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) wall1 [ 1 0 0 0 ] [ 0 -1 0 0 ] 0 1 1\r\n}\r\n}\r\n";
    EXPECT_FALSE(Open("valve.map", text));
    ASSERT_EQ(services->boxes.size(), 1u) << AllBoxes();
    EXPECT_NE(services->boxes[0].text.find(std::string(Path("valve.map")) + " is a map in the Valve 220 format"),
              std::string::npos);
    EXPECT_NE(services->boxes[0].text.find("on line 6"), std::string::npos);
    EXPECT_EQ(dir.ReadFile("valve.map"), text);
    EXPECT_EQ(map->GetEntities().GetCount(), 0);
}

// Face numbers and texture names of a face line, as numbers and text (spacing aside).
std::vector<std::string> FaceLines(const std::string& text)
{
    std::vector<std::string> faces;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) {
        size_t at = l.find_first_not_of(" \t");
        if (at == std::string::npos || l[at] != '(')
            continue;
        std::string norm;
        std::string word;
        for (char& c : l)
            if (c == '(' || c == ')' || c == '\r' || c == '\t')
                c = ' ';
        std::istringstream words(l);
        while (words >> word) {
            char* end = nullptr;
            double v = std::strtod(word.c_str(), &end);
            if (end && *end == 0) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.9g", v);
                word = buf;
            }
            norm += word + " ";
        }
        faces.push_back(norm);
    }
    return faces;
}

// Every real map opened and saved with no edit gives faces with the same numbers and the same
// texture names, letter case included, as the file; the project's WADs spell every name in
// upper case. Skipped without the folder of real maps.
TEST_F(MapRead, RealMapsSavedUneditedKeepEveryFace)
{
    CString folder;
    std::vector<CString> names = RealMaps(folder);
    if (names.empty())
        GTEST_SKIP() << "no real maps in " << (LPCSTR)folder;
    int mapsDiffering = 0, facesDiffering = 0, faces = 0;
    for (const CString& name : names) {
        SCOPED_TRACE((LPCSTR)name);
        CFile file;
        ASSERT_TRUE(file.Open(folder + name, CFile::modeRead));
        std::string original(static_cast<size_t>(file.GetLength()), '\0');
        file.Read(&original[0], static_cast<UINT>(original.size()));
        file.Close();
        ASSERT_TRUE(map->OnOpenDocument(folder + name));
        std::string saved = Save("real.map");
        std::vector<std::string> before = FaceLines(original), after = FaceLines(saved);
        int differ = 0;
        for (size_t i = 0; i < before.size(); ++i)
            differ += i >= after.size() || before[i] != after[i];
        differ += after.size() > before.size() ? static_cast<int>(after.size() - before.size()) : 0;
        std::cout << "  " << (LPCSTR)name << ": " << differ << " of " << before.size() << " faces differ\n";
        faces += static_cast<int>(before.size());
        facesDiffering += differ;
        mapsDiffering += differ != 0;
        EXPECT_EQ(after.size(), before.size());
        EXPECT_EQ(differ, 0);
    }
    std::cout << "  " << mapsDiffering << " of " << names.size() << " maps and " << facesDiffering << " of " << faces
              << " faces differ\n";
}

} // namespace

namespace {

// The windings that an open builds beside its reading are, bit for bit, the ones the brush
// builds again on this thread: planes, points, rounded points and box of every brush of every
// real map. Skipped without the folder of real maps.
TEST_F(MapRead, RealMapsWindingsBuiltBesideTheReadAreTheBrushesOwn)
{
    CString folder;
    std::vector<CString> names = RealMaps(folder);
    if (names.empty())
        GTEST_SKIP() << "no real maps in " << (LPCSTR)folder;
    for (const CString& name : names) {
        SCOPED_TRACE((LPCSTR)name);
        ASSERT_TRUE(map->OnOpenDocument(folder + name));
        int brushes = 0;
        for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(map->GetEntities().GetNext(pos));
            for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp; ++brushes) {
                const Brush& read = *static_cast<Brush*>(e->GetBrushes().GetNext(bp));
                Brush again(read);
                again.SetOwner(nullptr);
                again.BuildWindings();
                ASSERT_EQ(read.GetFaceCount(), again.GetFaceCount());
                for (int i = 0; i < read.GetFaceCount(); ++i) {
                    const Face& a = read.GetFace(i);
                    const Face& b = again.GetFace(i);
                    ASSERT_EQ(a.winding.size(), b.winding.size()) << "brush " << brushes << " face " << i;
                    ASSERT_EQ(0, std::memcmp(&a.normal, &b.normal, sizeof a.normal));
                    ASSERT_EQ(0, std::memcmp(&a.dist, &b.dist, sizeof a.dist));
                    ASSERT_EQ(0, std::memcmp(a.winding.data(), b.winding.data(), a.winding.size() * sizeof(CVector)));
                    ASSERT_EQ(0, std::memcmp(a.rounded.data(), b.rounded.data(), a.rounded.size() * sizeof a.rounded[0]));
                    // Classed as read from the planes its class needed, as by all of them.
                    ASSERT_EQ(a.cls, again.ClassifyFace(again.GetFace(i)));
                }
                ASSERT_EQ(0, std::memcmp(read.GetBounds(), again.GetBounds(), 6 * sizeof(short)));
            }
        }
        EXPECT_GT(brushes, 0);
    }
}

// Every real map cut off a third and two thirds of the way keeps what was read before the cut: the
// world with its brushes, at most one box of each kind, a save whose braces balance and that a
// second round trip leaves as it is. Skipped without the folder of real maps.
TEST_F(MapRead, RealMapsCutOffKeepWhatWasRead)
{
    CString folder;
    std::vector<CString> names = RealMaps(folder);
    if (names.empty())
        GTEST_SKIP() << "no real maps in " << (LPCSTR)folder;
    for (const CString& name : names) {
        CFile file;
        ASSERT_TRUE(file.Open(folder + name, CFile::modeRead));
        std::string original(static_cast<size_t>(file.GetLength()), '\0');
        file.Read(&original[0], static_cast<UINT>(original.size()));
        file.Close();
        for (int third = 1; third <= 2; ++third) {
            SCOPED_TRACE(std::string((LPCSTR)name) + (third == 1 ? " cut at a third" : " cut at two thirds"));
            services->boxes.clear();
            const std::string cut = original.substr(0, original.size() * third / 3);
            ASSERT_TRUE(Open("cut.map", cut));
            EXPECT_STREQ(map->GetWorldEntity()->ValueForKey("classname"), "worldspawn");
            if (cut.size() > 100000) { // past the first brushes
                EXPECT_GT(map->GetWorldEntity()->GetBrushCount(), 0);
            }
            // The read errors, missing textures and the wad key: one box of each at most.
            EXPECT_LE(services->boxes.size(), 7u) << AllBoxes();
            EXPECT_EQ(BoxesWith("The text ends inside the "), 1u) << AllBoxes();
            std::string saved = RoundTrips(cut);
            EXPECT_EQ(CountLinesEqual(saved, "{"), CountLinesEqual(saved, "}"));
        }
    }
}

} // namespace

namespace {

// The text with every line end (LF, CR LF or a CR alone) made the one given.
std::string WithLineEnds(const std::string& text, const char* end)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += end;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The bytes of one of the real maps; false when the folder of real maps does not hold it.
bool RealMapText(LPCSTR name, std::string& text, CString& path)
{
    CString folder;
    RealMaps(folder);
    path = folder + name;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    char buf[65536];
    size_t n;
    text.clear();
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    return true;
}

// What an open of a map gave, to set one open beside another.
struct OpenedMap
{
    int entities = 0, brushes = 0, kept = 0;
    std::vector<std::string> boxes;
    std::string saved; // with its line ends made LF

    bool operator==(const OpenedMap& o) const
    {
        return entities == o.entities && brushes == o.brushes && kept == o.kept && boxes == o.boxes &&
               saved == o.saved;
    }
};

std::ostream& operator<<(std::ostream& out, const OpenedMap& m)
{
    return out << m.entities << " entities, " << m.brushes << " brushes, " << m.kept << " kept, " << m.boxes.size()
               << " boxes";
}

class MapReadBytes : public MapRead
{
protected:
    OpenedMap OpenAndSave(const std::string& text)
    {
        services->boxes.clear();
        OpenedMap m;
        EXPECT_TRUE(Open("in.map", text));
        for (const auto& b : services->boxes)
            m.boxes.push_back(b.text);
        m.entities = map->GetEntities().GetCount();
        for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;) {
            const Entity* e = static_cast<const Entity*>(map->GetEntities().GetNext(pos));
            m.brushes += e->GetBrushCount();
            m.kept += e->GetKeptBrushCount();
        }
        m.saved = WithLineEnds(Save("out.map"), "\n");
        return m;
    }
    Entity* EntityAt(int i)
    {
        POSITION pos = map->GetEntities().FindIndex(i);
        return pos ? static_cast<Entity*>(map->GetEntities().GetAt(pos)) : nullptr;
    }
};

// A point entity without an origin: no class of the project is looked for.
const char kLight[] = "{\r\n\"classname\" \"light\"\r\n\"light\" \"200\"\r\n}\r\n";

// A CR that no LF follows ends a line as LF does: a map whose every line ends so (its first line a
// comment, as the maps of some editors begin) opens as its LF and CR LF copies do, with the same
// lines in its messages; CR LF is one line end. (Within a face line's numbers a CR is a blank, as
// the map compilers take it: a face whose scales a comment replaces reads alike.)
TEST_F(MapReadBytes, EveryKindOfLineEndReadsAlike)
{
    std::string brush = BoxBrush(0, 64);
    brush.insert(brush.find("( 0 0 0 ) ( 64 0 0 )"), "not a face\r\n");
    brush.replace(brush.rfind(" 1 1\r\n"), 4, " // no scales"); // its last face without scales
    const std::string text = "// Game: Quake\r\n// Format: Standard\r\n" + std::string(kWorld) +
                             "\"message\" \"two\r\nlines\"\r\n// brush 0\r\n" + brush + BoxBrush(128, 192) + "}\r\n" +
                             kLight;
    const OpenedMap lf = OpenAndSave(WithLineEnds(text, "\n"));
    EXPECT_EQ(lf.entities, 2);
    EXPECT_EQ(lf.brushes, 2);
    // The value over two lines, the line in the brush that is no face, the face without scales.
    EXPECT_TRUE(services->BoxContains("2 lines of ")) << AllBoxes();
    EXPECT_TRUE(services->BoxContains("(lines 6, 11)")) << AllBoxes();
    EXPECT_TRUE(services->BoxContains("Error reading in a brush's face.\n(")) << AllBoxes();
    EXPECT_TRUE(services->BoxContains(", line 16)")) << AllBoxes();
    for (const char* end : {"\r\n", "\r"}) {
        SCOPED_TRACE(end[1] ? "CR LF" : "CR");
        OpenedMap other = OpenAndSave(WithLineEnds(text, end));
        // The writer puts a blank for each byte of a line break inside quotes.
        if (end[1])
            other.saved.replace(other.saved.find("\"two  lines\""), 12, "\"two lines\"");
        EXPECT_EQ(other, lf);
    }
    // A CR alone before a CR LF: two line ends.
    std::string mixed = WithLineEnds(text, "\r\n");
    mixed.replace(mixed.find("\r\n// brush 0"), 2, "\r\r\n");
    OpenedMap m = OpenAndSave(mixed);
    EXPECT_TRUE(services->BoxContains("(lines 6, 12)")) << AllBoxes();
    EXPECT_TRUE(services->BoxContains(", line 17)")) << AllBoxes();
    EXPECT_EQ(m.brushes, 2);
}

// The real maps with every line end a CR alone (their first lines comments) open as their own
// files do: the same entities, brushes, brushes kept as read, messages and saved text. Skipped
// without the folder of real maps.
TEST_F(MapReadBytes, RealMapsWithCarriageReturnsAloneOpenAsTheirFiles)
{
    for (const char* name : {"librequake_e2m2.map", "librequake_e0m8.map", "lq_greenwood.map", "spirit1dm3.map"}) {
        SCOPED_TRACE(name);
        std::string text;
        CString path;
        if (!RealMapText(name, text, path)) {
            std::cout << "  skipped: " << (LPCSTR)path << " is not there\n";
            continue;
        }
        const OpenedMap asFile = OpenAndSave(text);
        const OpenedMap crAlone = OpenAndSave(WithLineEnds(text, "\r"));
        std::cout << "  " << name << ": " << asFile << "; with CR alone: " << crAlone << "\n";
        EXPECT_GT(asFile.entities, 1);
        EXPECT_EQ(crAlone, asFile);
    }
}

// A "}" after the last field read on a face line ends the brush as on a line of its own, and what
// follows it is read as if it began a line: "} }" ends the entity too, "} {" starts the next brush.
// Any other text there, a lone "{" among it, is told as not read.
TEST_F(MapReadBytes, ABraceAfterTheLastFieldEndsTheBrush)
{
    auto endingOnItsLastFace = [](int x0, int x1, const char* after) {
        std::string b = BoxBrush(x0, x1);
        return b.substr(0, b.size() - 5) + after; // without "\r\n}\r\n"
    };
    struct Case
    {
        const char* what;
        std::string text;
        bool notRead;
    };
    const Case cases[] = {
        {"1 1 }", kWorld + endingOnItsLastFace(0, 64, " }\r\n") + endingOnItsLastFace(128, 192, "\t}\r\n") + "}\r\n" + kLight,
         false},
        {"1 1 } }", kWorld + BoxBrush(0, 64) + endingOnItsLastFace(128, 192, " } }\r\n") + kLight, false},
        {"1 1 }}", kWorld + BoxBrush(0, 64) + endingOnItsLastFace(128, 192, " }}\r\n") + kLight, false},
        {"1 1 } {", kWorld + endingOnItsLastFace(0, 64, " } {\r\n") + BoxBrush(128, 192).substr(3) + "}\r\n" + kLight,
         false},
        {"1 1 {", kWorld + endingOnItsLastFace(0, 64, " {\r\n}\r\n") + BoxBrush(128, 192) + "}\r\n" + kLight, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services->boxes.clear();
        const std::string saved = RoundTrips(c.text);
        ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 2);
        EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), 0);
        EXPECT_STREQ(EntityAt(1)->ValueForKey("classname"), "light");
        EXPECT_EQ(EntityAt(1)->GetBrushCount(), 0);
        EXPECT_EQ(BoxesWith("The text ends inside"), 0u) << AllBoxes();
        EXPECT_EQ(BoxesWith("1 line of "), c.notRead ? 1u : 0u) << AllBoxes(); // the first open's
        EXPECT_EQ(CountLinesEqual(saved, "{"), 4);
        EXPECT_EQ(CountLinesEqual(saved, "}"), 4);
        // The light stands after the world's end.
        EXPECT_NE(saved.find("  }\r\n}\r\n{\r\n  \"classname\" \"light\""), std::string::npos) << saved;
    }
}

// A NUL byte is read as the other control bytes are, never as the end of the text: between tokens
// it separates them, inside a quoted value it is left out (and told), in a face line's points,
// texture name or the numbers after it it makes the line one that cannot be read (the brush is kept
// as the file has it, every number saved, the NUL written as a blank), after the fields it is told
// as not read. Whatever follows it is read.
TEST_F(MapReadBytes, ANulByteIsReadNotTakenForTheEnd)
{
    const std::string nul(1, '\0');
    std::string inPoints = BoxBrush(0, 64);
    inPoints.replace(inPoints.find("( 0 0 64 )"), 10, "( 0 " + nul + " 64 )");
    std::string afterFields = BoxBrush(0, 64);
    afterFields.insert(afterFields.find(" 1 1\r\n") + 4, " " + nul + " junk");
    std::string inName = BoxBrush(0, 64);
    inName.insert(inName.find("wall1") + 4, nul);
    std::string inNumbers = BoxBrush(0, 64);
    inNumbers.replace(inNumbers.find("wall1 0 0 0 1 1"), 15, "wall1 8" + nul + " 16 0 1 1");
    struct Case
    {
        const char* what;
        std::string text;
        int brushes, kept;
        const char* told;
        const std::string* keptText;
    } cases[] = {
        {"between tokens", kWorld + BoxBrush(0, 64) + nul + nul + "\r\n" + BoxBrush(128, 192) + "}" + nul + kLight, 2, 0,
         nullptr, nullptr},
        {"in a value", std::string(kWorld) + "\"message\" \"a" + nul + "b\"\r\n" + BoxBrush(0, 64) + BoxBrush(128, 192) +
                           "}\r\n" + kLight,
         2, 0, "1 line of ", nullptr},
        {"in a face line's points", kWorld + inPoints + BoxBrush(128, 192) + "}\r\n" + kLight, 1, 1,
         "1 brush of the map cannot be built from its face lines (line 4)", &inPoints},
        {"in a texture name", kWorld + inName + BoxBrush(128, 192) + "}\r\n" + kLight, 1, 1,
         "1 brush of the map cannot be built from its face lines (line 4)", &inName},
        {"among the numbers after the name", kWorld + inNumbers + BoxBrush(128, 192) + "}\r\n" + kLight, 1, 1,
         "1 brush of the map cannot be built from its face lines (line 4)", &inNumbers},
        {"after the fields", kWorld + afterFields + BoxBrush(128, 192) + "}\r\n" + kLight, 2, 0, "1 line of ", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services->boxes.clear();
        ASSERT_TRUE(Open("zero.map", c.text)); // ("nul" names the system's null device)
        ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), c.brushes);
        EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), c.kept);
        EXPECT_STREQ(EntityAt(1)->ValueForKey("classname"), "light");
        EXPECT_EQ(BoxesWith("The text ends inside"), 0u) << AllBoxes();
        if (c.told) {
            EXPECT_EQ(BoxesWith(c.told), 1u) << AllBoxes();
            if (!c.kept) { // the read errors name the file
                EXPECT_TRUE(services->BoxContains(Path("zero.map")));
            }
        } else {
            EXPECT_TRUE(services->boxes.empty()) << AllBoxes();
        }
        const std::string saved = Save("out.map");
        EXPECT_EQ(CountLinesEqual(saved, "{"), 4) << saved;
        EXPECT_EQ(CountLinesEqual(saved, "}"), 4) << saved;
        if (c.keptText) { // written back as the file has it but for its NUL, a blank for the compilers
            std::string written = c.keptText->substr(0, c.keptText->size() - 2);
            written[written.find('\0')] = ' ';
            EXPECT_NE(saved.find(written), std::string::npos);
            EXPECT_EQ(saved.find('\0'), std::string::npos);
            EXPECT_EQ(BoxesWith("Only its NUL bytes are written as blanks"), 1u) << AllBoxes();
        }
    }
    EXPECT_STREQ(map->GetWorldEntity()->ValueForKey("wad"), "w.wad");
    ASSERT_TRUE(Open("value.map", cases[1].text));
    EXPECT_STREQ(map->GetWorldEntity()->ValueForKey("message"), "ab");
}

// Words between a key and its value are passed over, and told, as the line is saved without them;
// separators there (blanks, control bytes, a NUL) are no words.
TEST_F(MapReadBytes, WordsBetweenAKeyAndItsValueAreTold)
{
    struct Case
    {
        const char* what;
        std::string pair;
        bool told;
    } cases[] = {
        {"a word", "\"message\" x \"hello\"", true},
        {"a word against the quotes", "\"message\"x\"hello\"", true},
        {"a NUL", std::string("\"message\"\0\"hello\"", 17), false},
        {"a tab and a control byte", "\"message\"\t\x01 \"hello\"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services->boxes.clear();
        ASSERT_TRUE(Open("pair.map", kWorld + c.pair + "\r\n" + BoxBrush(0, 64) + "}\r\n" + kLight));
        ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
        EXPECT_STREQ(map->GetWorldEntity()->ValueForKey("message"), "hello");
        EXPECT_EQ(BoxesWith("1 line of "), c.told ? 1u : 0u) << AllBoxes();
        EXPECT_EQ(BoxesWith("not read (line 4)"), c.told ? 1u : 0u) << AllBoxes();
        EXPECT_NE(Save("pair-out.map").find("  \"message\" \"hello\"\r\n"), std::string::npos);
    }
}

// A closed room of six walls of flat_01_a (lq_dev.wad) around a player start, as id's qbsp builds
// it; the rest of the first face line of the first wall (after its points) is given.
std::string Room(const std::string& firstFaceRest)
{
    auto wall = [](int x0, int y0, int z0, int x1, int y1, int z1, const std::string& first) {
        char points[6][80];
        std::snprintf(points[0], 80, "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", x0, y0, z0, x0, y1, z0, x0, y0, z1);
        std::snprintf(points[1], 80, "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", x1, y0, z0, x1, y0, z1, x1, y1, z0);
        std::snprintf(points[2], 80, "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", x0, y0, z0, x0, y0, z1, x1, y0, z0);
        std::snprintf(points[3], 80, "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", x0, y1, z0, x1, y1, z0, x0, y1, z1);
        std::snprintf(points[4], 80, "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", x0, y0, z0, x1, y0, z0, x0, y1, z0);
        std::snprintf(points[5], 80, "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", x0, y0, z1, x0, y1, z1, x1, y0, z1);
        std::string text = "{\r\n";
        for (int i = 0; i < 6; ++i)
            text += std::string(points[i]) + " " + (i == 0 && !first.empty() ? first : "flat_01_a 0 0 0 1 1") + "\r\n";
        return text + "}\r\n";
    };
    return "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"lq_dev.wad\"\r\n" +
           wall(-256, -256, -272, 256, 256, -256, firstFaceRest) + wall(-256, -256, 256, 256, 256, 272, "") +
           wall(-272, -256, -256, -256, 256, 256, "") + wall(256, -256, -256, 272, 256, 256, "") +
           wall(-256, -272, -256, 256, -256, 256, "") + wall(-256, 256, -256, 256, 272, 256, "") +
           "}\r\n{\r\n\"classname\" \"info_player_start\"\r\n\"origin\" \"0 0 0\"\r\n}\r\n";
}

// id's qbsp started on a map in its folder, its output going to a log of its own.
struct QbspRun
{
    PROCESS_INFORMATION pi = {};
    CString log;
    bool started = false;
};

QbspRun StartQbsp(const CString& folder, LPCSTR name)
{
    static int runs = 0;
    QbspRun run;
    run.log.Format("%s\\qbsp%d.log", static_cast<LPCSTR>(folder), ++runs);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = ::CreateFileA(run.log, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS, 0,
                               nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return run;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out;
    CString command = "\"" + CString(shareddata::MapCompilers().c_str()) + "\\qbsp.exe\" " + name;
    run.started = ::CreateProcessA(nullptr, command.GetBuffer(0), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                   folder, &si, &run.pi) != FALSE;
    ::CloseHandle(out);
    return run;
}

// Waits for the run: the exit code (-1 when it did not run or end), the output.
int FinishQbsp(QbspRun& run, std::string& output)
{
    output.clear();
    if (!run.started)
        return -1;
    // The bound only keeps a broken compiler from hanging the test.
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(run.pi.hProcess, 120000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(run.pi.hProcess, &code);
    ::CloseHandle(run.pi.hThread);
    ::CloseHandle(run.pi.hProcess);
    std::ifstream in(static_cast<LPCSTR>(run.log), std::ios::binary);
    output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return static_cast<int>(code);
}

// Runs id's qbsp on a map in its folder: the exit code (-1 when it did not run or end), the output.
int RunQbsp(const CString& folder, LPCSTR name, std::string& output)
{
    QbspRun run = StartQbsp(folder, name);
    return FinishQbsp(run, output);
}

// Runs qbsp on each of the maps of a folder, a few at a time: the exit codes and outputs.
void RunQbspOnEach(const CString& folder, const std::vector<std::string>& names, std::vector<int>& codes,
                   std::vector<std::string>& outputs)
{
    codes.assign(names.size(), -1);
    outputs.assign(names.size(), std::string());
    // One run for each processor: more would starve the test programs that run beside this one
    // and wait on programs of their own.
    SYSTEM_INFO info = {};
    ::GetSystemInfo(&info);
    const size_t batch = std::max<size_t>(1, std::min<size_t>(8, info.dwNumberOfProcessors));
    for (size_t first = 0; first < names.size(); first += batch) {
        const size_t end = std::min(names.size(), first + batch);
        std::vector<QbspRun> runs;
        for (size_t i = first; i < end; ++i)
            runs.push_back(StartQbsp(folder, names[i].c_str()));
        for (size_t i = first; i < end; ++i)
            codes[i] = FinishQbsp(runs[i - first], outputs[i]);
    }
}

std::string QbspLacking()
{
    return shareddata::LackingMapCompilers() + shareddata::Lacking(shareddata::Path("wads\\lq_dev.wad"));
}

// What a test that reads its rooms without qbsp, where qbsp is lacking, says it leaves out.
std::string QbspLackingSaid()
{
    const std::string lacking = QbspLacking();
    if (!lacking.empty())
        std::cout << "  qbsp skipped: " << lacking << "\n";
    return lacking;
}

// Makes the folder of a temporary directory in which id's qbsp builds a room (it finds its game
// folder from a "quake" folder in the map's path) with the room's WAD, where there is one.
CString QbspMapsFolder(const CString& dir)
{
    const CString maps = dir + "\\quake\\id1\\maps";
    ::CreateDirectoryA(dir + "\\quake", nullptr);
    ::CreateDirectoryA(dir + "\\quake\\id1", nullptr);
    ::CreateDirectoryA(maps, nullptr);
    ::CopyFileA(shareddata::Path("wads\\lq_dev.wad").c_str(), dir + "\\quake\\id1\\lq_dev.wad", FALSE);
    return maps;
}

// A face line whose numbers after the texture name hold a NUL byte, a CR alone, a control byte, a
// brace or another byte that is no number: the map saved from it is one that id's qbsp builds (it
// takes a NUL for the end of the file, a CR or a control byte for a blank and a brace against a
// number for part of it). A line with a token that is no number, or with a NUL, keeps its brush as
// read (the NUL a blank); one whose five numbers the blanks part is read and written back as read.
// Skipped without the compilers or the WAD.
TEST_F(MapReadBytes, AMapSavedFromADamagedFaceLineBuildsWithIdsQbsp)
{
    const std::string lacking = QbspLacking();
    if (!lacking.empty())
        GTEST_SKIP() << lacking;
    const CString maps = QbspMapsFolder(dir.Path());
    const std::string nul(1, '\0');
    const struct
    {
        std::string rest;
        bool kept;
    } cases[] = {
        {"flat_01_a 8" + nul + " 16 0 1 1", true},   {"flat_01_a 8 16\x01 0 1 1", false},
        {"flat_01_a 8 16 x0 1 1", true},             {"flat_01_a 8 16\r0 1 1", false},
        {"flat_01_a\r8 16 0 1 1", false},            {"flat_01_a 8 16 0 1}.0 1", true},
        {"flat_01_a 8 16 0 1 1.0}0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rest);
        ASSERT_TRUE(Open("quake\\id1\\maps\\room.map", Room(c.rest)));
        EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), c.kept ? 1 : 0);
        const std::string saved = Save("quake\\id1\\maps\\saved.map");
        std::string output;
        ::DeleteFileA(maps + "\\saved.bsp");
        EXPECT_EQ(RunQbsp(maps, "saved.map", output), 0) << output;
        EXPECT_EQ(output.find("incomplete"), std::string::npos) << output;
        EXPECT_NE(::GetFileAttributesA(maps + "\\saved.bsp"), INVALID_FILE_ATTRIBUTES) << output;
        // Every number of the line is in the saved file.
        std::string written = c.rest;
        if (written.find('\0') != std::string::npos)
            written[written.find('\0')] = ' ';
        EXPECT_NE(saved.find(written + "\r\n"), std::string::npos) << saved;
    }
}

// A "}" of its own after the five numbers of a face line ends its brush there, as id's qbsp reads
// it (it takes any byte up to the blank's and any from 0x80 on for a blank): a line with a number
// that cannot be read keeps its brush as the file has it to that brace; one whose five numbers were
// read gives its face, and what lies between them and the brace, when it is more than blanks, is
// told as not read. Whatever follows is read (the world's next brush, or the world's end and the
// player start after it). The saved braces pair and the save builds with qbsp where the compilers
// and the WAD are there.
TEST_F(MapReadBytes, ABraceEndingADamagedFaceLineEndsItsBrush)
{
    const CString maps = QbspMapsFolder(dir.Path());
    const std::string lacking = QbspLackingSaid();
    const std::string brushEnd = "flat_01_a 0 0 0 1 1\r\n}\r\n";
    const std::string room = Room("");
    const struct
    {
        std::string rest;
        bool kept;           // the brush is kept as its text
        bool notRead;        // some of the line is told as not read
        std::string written; // the line's end and what follows it in the save
    } cases[] = {
        {"flat_01_a 8x 16 0 1 1 }", true, false, "flat_01_a 8x 16 0 1 1 }\r\n"},
        {"flat_01_a 8x 16 0 1 1\x98}", true, false, "flat_01_a 8x 16 0 1 1\x98}\r\n"},
        {"flat_01_a 0 0 0 1 1x }", true, false, "flat_01_a 0 0 0 1 1x }\r\n"},
        {"flat_01_a 8 16\r0 1 1 }", false, false, "flat_01_a 8 16\r0 1 1\r\n  }\r\n"},
        {"flat_01_a 8\x01 16 0 1 1\t} // end", false, false, "flat_01_a 8\x01 16 0 1 1\r\n  }\r\n"},
        {"flat_01_a 0 0 0 1 1\x01}", false, true, "flat_01_a 0 0 0 1 1\r\n  }\r\n"},
        {"flat_01_a 0 0 0 1 1 \xc3\x98}", false, true, "flat_01_a 0 0 0 1 1\r\n  }\r\n"},
    };
    for (const auto& c : cases) {
        for (const bool last : {false, true}) {
            SCOPED_TRACE(c.rest + (last ? ", the world's last brush" : ", the world's first brush"));
            std::string text = room;
            text.replace(last ? text.rfind(brushEnd) : text.find(brushEnd), brushEnd.size(), c.rest + "\r\n");
            // A line told after it: the CR alone in the line counts as a line end.
            text += "junk\r\n";
            services->boxes.clear();
            ASSERT_TRUE(Open("quake\\id1\\maps\\room.map", text));
            ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
            EXPECT_STREQ(EntityAt(1)->ValueForKey("classname"), "info_player_start");
            EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), c.kept ? 5 : 6);
            EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), c.kept ? 1 : 0);
            EXPECT_EQ(BoxesWith("The text ends inside"), 0u) << AllBoxes();
            const int damagedLine = last ? 50 : 10;
            EXPECT_EQ(BoxesWith(("not read (line " + std::to_string(damagedLine) + ")").c_str()), c.notRead ? 1u : 0u)
                << AllBoxes();
            const int junkLine = 56 + static_cast<int>(std::count(c.rest.begin(), c.rest.end(), '\r'));
            EXPECT_EQ(BoxesWith((", line " + std::to_string(junkLine) + ")").c_str()), 1u) << AllBoxes();
            const std::string saved = Save("quake\\id1\\maps\\saved.map");
            // The line as read to its brace (the editor keeps no comment), or the face's fields.
            EXPECT_NE(saved.find(c.written), std::string::npos) << saved;
            EXPECT_EQ(std::count(saved.begin(), saved.end(), '{'), std::count(saved.begin(), saved.end(), '}'));
            if (!lacking.empty())
                continue;
            std::string output;
            ::DeleteFileA(maps + "\\saved.bsp");
            EXPECT_EQ(RunQbsp(maps, "saved.map", output), 0) << output;
            EXPECT_NE(::GetFileAttributesA(maps + "\\saved.bsp"), INVALID_FILE_ATTRIBUTES) << output;
        }
    }
}

// The number that id's qbsp tells of what it loaded (a line "    6 brushes"), or -1.
int QbspCount(const std::string& output, const char* what)
{
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        int n = 0;
        char word[32] = "";
        if (std::sscanf(line.c_str(), "%d %31s", &n, word) == 2 && std::strcmp(word, what) == 0 &&
            line.find(" read") == std::string::npos)
            return n;
    }
    return -1;
}

// The room's save in the folder builds with id's qbsp as the room does, with its brushes and its
// entities.
void ExpectTheSaveBuildsAsTheRoom(const CString& maps)
{
    std::string original, built;
    ASSERT_EQ(RunQbsp(maps, "room.map", original), 0) << original;
    EXPECT_EQ(RunQbsp(maps, "saved.map", built), 0) << built;
    EXPECT_EQ(QbspCount(built, "brushes"), QbspCount(original, "brushes")) << built;
    EXPECT_EQ(QbspCount(built, "entities"), QbspCount(original, "entities")) << built;
}

// The map text with its face line at pos (the texture name on; "flat_01_a 0 0 0 1 1") damaged: in
// place 1 to 5 the number there is replaced by the damage; in place 6 it follows the five numbers,
// and with braceToo the brush's own "}" after the line is taken out (the damage holding the brace).
std::string Damaged(std::string text, size_t pos, int place, const std::string& damage, bool braceToo)
{
    if (place <= 5)
        return text.replace(pos + 10 + 2 * static_cast<size_t>(place - 1), 1, damage);
    if (braceToo)
        text.erase(pos + 19, 3); // "\r\n}"
    return text.insert(pos + 19, " " + damage);
}

// Whatever the damage of a face line, a map that id's qbsp builds is saved into one that it builds,
// with the same number of brushes and entities: the editor reads the line token by token as qbsp
// does (the texture name, then five tokens whatever bytes they hold; only a "}" of its own after
// them ends the brush). Swept over a table of damage forms in each of the six token places after
// the name of the first and the last face line of the world's last brush, in a small room (and,
// after the last line, with the brush's own "}" left out). Skipped without the compilers or the WAD.
TEST_F(MapReadBytes, AMapThatIdsQbspBuildsIsSavedIntoOneItBuilds)
{
    const std::string lacking = QbspLacking();
    if (!lacking.empty())
        GTEST_SKIP() << lacking;
    const CString maps = QbspMapsFolder(dir.Path());
    const std::string room = Room("");
    const std::string face = "flat_01_a 0 0 0 1 1\r\n";
    const size_t lastBrush = room.rfind("{\r\n(");
    const size_t lines[] = {room.find(face, lastBrush), room.rfind(face)};
    const std::string forms[] = {"}",  "x}", "1.5}", "\x01}", "\xa0}", "\r}", "}x", "}}", "\r } ", "\"}\"",
                                 "[", "// a comment"};
    struct Variant
    {
        std::string what, text, original;
    };
    std::vector<Variant> variants;
    for (size_t line : lines)
        for (int place = 1; place <= 6; ++place)
            for (const std::string& form : forms)
                for (const bool braceToo : {false, true})
                    if (!braceToo || (place == 6 && line == lines[1]))
                        variants.push_back({"place " + std::to_string(place) + " of line " + std::to_string(line) +
                                                ": \"" + form + (braceToo ? "\" without the brush's own }" : "\""),
                                            Damaged(room, line, place, form, braceToo)});
    // The originals, built all together: qbsp's start under Wine takes longer than its build.
    std::vector<std::string> names;
    for (size_t i = 0; i < variants.size(); ++i) {
        names.push_back("room" + std::to_string(i) + ".map");
        std::ofstream out(std::string(static_cast<LPCSTR>(maps)) + "\\" + names.back(), std::ios::binary);
        out << variants[i].text;
    }
    std::vector<int> codes;
    std::vector<std::string> outputs;
    RunQbspOnEach(maps, names, codes, outputs);
    // The saves of the originals that build.
    std::vector<size_t> built;
    std::vector<std::string> saves;
    for (size_t i = 0; i < variants.size(); ++i) {
        if (codes[i] != 0)
            continue; // the compilers refuse the original: nothing to keep
        SCOPED_TRACE(variants[i].what);
        variants[i].original = outputs[i];
        EXPECT_GT(QbspCount(outputs[i], "brushes"), 0) << outputs[i];
        built.push_back(i);
        saves.push_back("saved" + std::to_string(i) + ".map");
        ASSERT_TRUE(Open("quake\\id1\\maps\\room.map", variants[i].text));
        Save(("quake\\id1\\maps\\" + saves.back()).c_str());
    }
    RunQbspOnEach(maps, saves, codes, outputs);
    for (size_t k = 0; k < built.size(); ++k) {
        const Variant& v = variants[built[k]];
        SCOPED_TRACE(v.what);
        EXPECT_EQ(codes[k], 0) << outputs[k];
        EXPECT_EQ(QbspCount(outputs[k], "brushes"), QbspCount(v.original, "brushes")) << outputs[k];
        EXPECT_EQ(QbspCount(outputs[k], "entities"), QbspCount(v.original, "entities")) << outputs[k];
    }
    std::cout << "  " << built.size() << " of " << variants.size()
              << " damaged maps build with qbsp; so do their saves\n";
    // The room builds with every form in the five number places but the comment.
    EXPECT_GE(built.size(), 2u * 5u * 11u);
}


// Faces framed as id's qbsp frames them, by tokens and not by lines: a brush written on one line
// and two faces on one line are read whole, nothing told; a face whose points run over a line end
// (which qbsp reads on) keeps its brush as the file has it, to its own "}" even where a "}" stands
// among its numbers. A brace or a parenthesis in quotes is the mark itself (a "{" in quotes begins
// the brush, a "}" ends it, a face begun with a "(" in quotes keeps its brush as the file has it),
// and a comment runs to its LF, past a CR alone and the "}" after it. Every other brush and the
// player start are read, and the save builds with qbsp, with its brushes and entities, where the
// compilers and the WAD are there.
TEST_F(MapReadBytes, FacesAreFramedByTokensNotLines)
{
    const std::string room = Room("");
    const size_t last = room.rfind("{\r\n(");
    const size_t lastEnd = room.find("}\r\n", last) + 3;
    const std::string brush = room.substr(last, lastEnd - last);
    std::string oneLine = brush;
    for (size_t at; (at = oneLine.find("\r\n")) != oneLine.size() - 2;)
        oneLine.replace(at, 2, " ");
    std::string twoFaces = brush;
    twoFaces.replace(twoFaces.find("\r\n", 3), 2, " ");
    std::string overTwoLines = brush;
    overTwoLines.replace(overTwoLines.find(") (", overTwoLines.find(") (") + 1), 3, ")\r\n(");
    std::string braceAmong = overTwoLines;
    braceAmong.replace(braceAmong.find("flat_01_a 0 0 0 1 1"), 19, "flat_01_a } 0 0 1 1");
    std::string quotedOpen = brush;
    quotedOpen.replace(0, 1, "\"{\"");
    std::string quotedClose = brush;
    quotedClose.replace(quotedClose.size() - 3, 1, "\"}\"");
    // The last face begun with a "(" in quotes, the brush's "}" after its numbers.
    std::string quotedFace = brush;
    quotedFace.replace(quotedFace.size() - 5, 3, " }");
    quotedFace.replace(quotedFace.rfind("\r\n(") + 2, 1, "\"(\"");
    std::string commentAfterFace = brush;
    commentAfterFace.insert(commentAfterFace.find("\r\n", 3), " // a\r}");
    std::string commentAfterBrace = brush;
    commentAfterBrace.insert(1, " //\r}");
    std::string commentLine = brush;
    commentLine.insert(commentLine.rfind("\r\n(") + 2, "// b\r}\r\n");
    const struct
    {
        const char* what;
        std::string brush;
        int brushes, kept;
    } cases[] = {
        {"a brush on one line", oneLine, 6, 0},
        {"two faces on one line", twoFaces, 6, 0},
        {"a face over two lines", overTwoLines, 5, 1},
        {"a face over two lines with a brace among its numbers", braceAmong, 5, 1},
        {"a brush begun by a brace in quotes", quotedOpen, 6, 0},
        {"a brush ended by a brace in quotes", quotedClose, 6, 0},
        {"a face begun by a parenthesis in quotes", quotedFace, 5, 1},
        {"a comment past a CR alone after a face", commentAfterFace, 6, 0},
        {"a comment past a CR alone after the brush's brace", commentAfterBrace, 6, 0},
        {"a comment past a CR alone on a line between faces", commentLine, 6, 0},
    };
    const CString maps = QbspMapsFolder(dir.Path());
    const std::string lacking = QbspLackingSaid();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = room.substr(0, last) + c.brush + room.substr(lastEnd);
        services->boxes.clear();
        ASSERT_TRUE(Open("quake\\id1\\maps\\room.map", text));
        ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
        EXPECT_STREQ(EntityAt(1)->ValueForKey("classname"), "info_player_start");
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), c.brushes);
        EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), c.kept);
        EXPECT_EQ(BoxesWith("not read") + BoxesWith("The text ends inside"), 0u) << AllBoxes();
        const std::string saved = Save("quake\\id1\\maps\\saved.map");
        if (c.kept) { // written back as read
            EXPECT_NE(saved.find(c.brush.substr(0, c.brush.size() - 2)), std::string::npos) << saved;
        }
        if (!lacking.empty())
            continue;
        ExpectTheSaveBuildsAsTheRoom(maps);
    }
}

// Entities framed as id's qbsp frames them: a value without quotes after its key, alone on the
// line, is the value (it does not take in the text up to the next quote, brushes and all); a "}" in
// quotes ends an entity and a "{" in quotes begins one. Every brush and entity is read, and the save
// builds with qbsp, with its brushes and entities, where the compilers and the WAD are there.
TEST_F(MapReadBytes, EntitiesAreFramedAsIdsQbspFramesThem)
{
    const std::string room = Room("");
    const std::string worldStart = "\"wad\" \"lq_dev.wad\"\r\n";
    const std::string worldEnd = "}\r\n{\r\n\"classname\" \"info_player_start\"";
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = room;
        return text.replace(text.find(from), from.size(), to);
    };
    const struct
    {
        const char* what;
        std::string text;
        const char* key;
        const char* value;
    } cases[] = {
        {"a value without quotes", with(worldStart, worldStart + "\"message\" hello\r\n"), "message", "hello"},
        {"a value without quotes before a comment", with(worldStart, worldStart + "\"//\" c // c\r\n"), "//", "c"},
        {"a world ended by a brace in quotes", with(worldEnd, "\"}\"" + worldEnd.substr(1)), "wad", "lq_dev.wad"},
        {"an entity begun by a brace in quotes", with(worldEnd, "}\r\n\"{\"" + worldEnd.substr(4)), "wad",
         "lq_dev.wad"},
    };
    const CString maps = QbspMapsFolder(dir.Path());
    const std::string lacking = QbspLackingSaid();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        services->boxes.clear();
        ASSERT_TRUE(Open("quake\\id1\\maps\\room.map", c.text));
        ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
        EXPECT_STREQ(EntityAt(1)->ValueForKey("classname"), "info_player_start");
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 6);
        EXPECT_STREQ(map->GetWorldEntity()->ValueForKey(c.key), c.value);
        EXPECT_EQ(BoxesWith("not read") + BoxesWith("Invalid token"), 0u) << AllBoxes();
        Save("quake\\id1\\maps\\saved.map");
        if (!lacking.empty())
            continue;
        ExpectTheSaveBuildsAsTheRoom(maps);
    }
}

// Text before the first entity is passed over and told as the same text between two entities is:
// the line is left out, the entities are read, and the box names the token and its line.
TEST_F(MapReadBytes, TextBeforeTheFirstEntityIsPassedOverAsBetweenTwo)
{
    const std::string world = kWorld + BoxBrush(0, 64) + "}\r\n";
    struct Case
    {
        const char* what;
        std::string stray;
        const char* told;
    } cases[] = {
        {"a pair", "\"k\" \"v\"\r\n", "Invalid token '\"k\"' parsing entity."},
        {"a word and a brace", "junk }\r\n", "Invalid token 'junk' parsing entity."},
        {"a face line", "( 1 2 3 ) ( 4 5 6 ) ( 7 8 9 ) wall1 0 0 0 1 1\r\n", "Invalid token '(' parsing entity."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = OpenAndSave(c.stray + world + kLight).saved;
        ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
        EXPECT_STREQ(map->GetWorldEntity()->ValueForKey("classname"), "worldspawn");
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), 1);
        EXPECT_STREQ(EntityAt(1)->ValueForKey("classname"), "light");
        EXPECT_EQ(BoxesWith(c.told), 1u) << AllBoxes();
        EXPECT_EQ(BoxesWith(std::string(std::string(Path("in.map")) + ", line 1)").c_str()), 1u) << AllBoxes();
        EXPECT_EQ(before.find(c.stray.substr(0, c.stray.size() - 2)), std::string::npos) << before;
        // Between the two entities, the same text is passed over alike.
        const std::string between = OpenAndSave(world + c.stray + kLight).saved;
        ASSERT_EQ(map->GetEntities().GetCount(), 2) << AllBoxes();
        EXPECT_EQ(BoxesWith(c.told), 1u) << AllBoxes();
        EXPECT_EQ(between, before);
    }
}

// One NUL byte in the middle of a real map's face line: every entity is read, the brush of that
// line is kept as the file has it and told, and a save keeps all the rest. Skipped without the
// folder of real maps.
TEST_F(MapReadBytes, RealMapWithANulByteKeepsEveryEntity)
{
    std::string text;
    CString path;
    if (!RealMapText("e3m5.map", text, path))
        GTEST_SKIP() << (LPCSTR)path << " is not there";
    const OpenedMap whole = OpenAndSave(text);
    std::string damaged = text;
    const size_t line = damaged.find("\n(", damaged.size() / 2) + 1;
    damaged[line + 3] = '\0';
    const OpenedMap read = OpenAndSave(damaged);
    std::cout << "  whole: " << whole << "; with a NUL: " << read << "\n";
    EXPECT_EQ(read.entities, whole.entities);
    EXPECT_EQ(read.brushes + read.kept, whole.brushes + whole.kept);
    EXPECT_EQ(read.kept, whole.kept + 1);
    EXPECT_EQ(BoxesWith("The text ends inside"), 0u) << AllBoxes();
    EXPECT_EQ(BoxesWith("cannot be built from its face lines"), 1u) << AllBoxes();
    // The save holds every byte the file held but the changed line's, which it holds as read, its
    // NUL a blank.
    const std::string saved = Save("again.map");
    const size_t end = damaged.find('\n', line);
    std::string written = damaged.substr(line, end - line);
    written[3] = ' ';
    EXPECT_NE(saved.find(written), std::string::npos);
    EXPECT_TRUE(map->OnOpenDocument(Path("again.map")));
    EXPECT_EQ(map->GetEntities().GetCount(), whole.entities);
}

std::string Utf16(const std::string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        out += bigEndian ? '\0' : c;
        out += bigEndian ? c : '\0';
    }
    return out;
}

// A file that is not 8-bit map text is refused with a box that names it and says why: UTF-16 (by
// its byte-order mark), or no entity at all from a text that holds more than blanks and comments.
// The file stays as it was and the map is not opened. A file of blanks and comments alone opens as
// an empty map, as an empty file does.
TEST_F(MapReadBytes, TextsWithoutAnEntityAreRefusedUnlessBlank)
{
    const std::string small = std::string(kWorld) + BoxBrush(0, 64) + "}\r\n";
    struct Case
    {
        const char* what;
        std::string text;
        const char* told; // null: opens as an empty map
    } cases[] = {
        {"UTF-16 little-endian", Utf16(small, false), " is text in UTF-16 (little-endian byte order, byte-order mark FF FE)"},
        {"UTF-16 big-endian", Utf16(small, true), " is text in UTF-16 (big-endian byte order, byte-order mark FE FF)"},
        {"zero bytes", std::string(4096, '\0'), " holds no entity that this editor can read"},
        {"control and high bytes", "\x01\x02\r\n\xC8\xC9\x1F", " holds no entity that this editor can read"},
        {"a comment and a NUL", std::string("// x\r\n\0", 7), " holds no entity that this editor can read"},
        {"empty", "", nullptr},
        {"blanks", " \t\r\n\r\n  ", nullptr},
        {"comments after CR alone", "// Game: Quake\r// Format: Standard\r\r  // more\r", nullptr},
        {"comments after a UTF-8 mark", "\xEF\xBB\xBF// a comment\r\n", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services->boxes.clear();
        const BOOL opened = Open("file.map", c.text);
        EXPECT_EQ(dir.ReadFile("file.map"), c.text);
        if (!c.told) {
            EXPECT_TRUE(opened);
            ASSERT_NE(map->GetWorldEntity(), nullptr);
            EXPECT_EQ(map->GetEntities().GetCount(), 1);
            EXPECT_TRUE(services->boxes.empty()) << AllBoxes();
            continue;
        }
        EXPECT_FALSE(opened);
        EXPECT_EQ(map->GetEntities().GetCount(), 0);
        ASSERT_EQ(services->boxes.size(), 1u) << AllBoxes();
        EXPECT_NE(services->boxes[0].text.find(std::string(Path("file.map")) + c.told), std::string::npos)
            << services->boxes[0].text;
        EXPECT_NE(services->boxes[0].text.find("The map was not opened, and nothing was written to the file."),
                  std::string::npos);
    }
}

// A face line whose points or texture name cannot be read, or one of whose five numbers after the
// name is a token that is no number (split as the map compilers split them: a "}" against a number
// is part of it), keeps its brush as the file has it to the brush's own "}", written back byte for
// byte and told with the brushes kept as read, nothing of it told as not read. A line that lacks
// only its offsets, rotation or scales at its end builds its face with zeros for them and is told
// as such. A control byte, a byte from 0x80 on or a CR alone parts two numbers as a blank does,
// as the compilers read them: the face is read, and written back as read.
TEST_F(MapReadBytes, FaceLinesThatCannotBeReadKeepTheirBrushAsText)
{
    enum Outcome
    {
        KEPT,  // the brush kept as its text
        SHORT, // the face built with zeros for the missing numbers, and told
        READ   // the face read whole, nothing told
    };
    struct Case
    {
        const char* face;
        Outcome outcome;
    } cases[] = {
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 6x4 ) wall1 0 0 0 1 1", KEPT},  // a field that is no number
        {"( 0 64 0 ) ( 64 x64 0 ) ( 64 64 64 ) wall1 0 0 0 1 1", KEPT},
        {"( 0 64 0 ) ( 64 64 ) ( 64 64 64 ) wall1 0 0 0 1 1", KEPT},     // a point cut short
        {"( 0 64 0 ) ( 64 64 0 ) wall1 0 0 0 1 1", KEPT},               // a point missing
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 )", KEPT},                  // no texture name
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 )  ", KEPT},
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1", SHORT},           // no offsets, rotation or scales
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1", SHORT},
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1 // no y scale", SHORT},
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 8 x16 0 1 1", KEPT},    // a number that is no number
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1\r// no y scale", SHORT},
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1}.000000 1", KEPT}, // a brace among the numbers
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1 1.00}00", KEPT},
        {"( 0 64 0 ) ( 64 64 0}  ) ( 64 64 64 ) wall1 0 0 0 1 1", KEPT},     // and in the points
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 8\x01 16 0 1 1", READ}, // a control byte among the numbers
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 0 0 0 1\xC8 1", READ},
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1 8\r16 0 1 1", READ},   // a CR alone among the numbers
        {"( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) wall1\r 8 16 0 1 1", READ},  // and before them
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        services->boxes.clear();
        const std::string brush = "{\r\n( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) wall1 0 0 0 1 1\r\n"
                                  "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) wall1 0 0 0 1 1\r\n"
                                  "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) wall1 0 0 0 1 1\r\n"
                                  "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n"
                                  "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) wall1 0 0 0 1 1\r\n" +
                                  std::string(c.face) + "\r\n}";
        const std::string saved = RoundTrips(kWorld + BoxBrush(128, 192) + brush + "\r\n}\r\n");
        EXPECT_EQ(map->GetWorldEntity()->GetBrushCount(), c.outcome == KEPT ? 1 : 2);
        EXPECT_EQ(map->GetWorldEntity()->GetKeptBrushCount(), c.outcome == KEPT ? 1 : 0);
        if (c.outcome == KEPT) {
            EXPECT_EQ(BoxesWith("1 brush of the map cannot be built from its face lines (line 12)"), 2u) << AllBoxes();
            EXPECT_EQ(BoxesWith("Error reading in a brush's face"), 0u) << AllBoxes();
            EXPECT_EQ(BoxesWith("was not read"), 0u) << AllBoxes(); // nothing of it is lost
            EXPECT_NE(saved.find(brush), std::string::npos) << saved;
        } else if (c.outcome == SHORT) {
            EXPECT_EQ(BoxesWith("Error reading in a brush's face.\n("), 2u) << AllBoxes();
            EXPECT_EQ(BoxesWith("cannot be built"), 0u) << AllBoxes();
        } else {
            EXPECT_EQ(BoxesWith("cannot be built") + BoxesWith("Error reading") + BoxesWith("not read"), 0u)
                << AllBoxes();
            EXPECT_NE(saved.find("    " + std::string(c.face) + "\r\n  }"), std::string::npos) << saved;
        }
    }
}

// The x87 control word of this thread (precision, rounding), set for a scope.
unsigned short X87ControlWord()
{
    unsigned short word;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}

void SetX87ControlWord(unsigned short word)
{
    __asm__ __volatile__("fldcw %0" : : "m"(word) : "memory");
}

class X87ControlWordScope
{
public:
    explicit X87ControlWordScope(unsigned short word) : m_old(X87ControlWord()) { SetX87ControlWord(word); }
    ~X87ControlWordScope() { SetX87ControlWord(m_old); }

private:
    unsigned short m_old;
};

// Whether two brushes have the same planes, windings, rounded windings and box, bit for bit.
bool SameGeometry(const Brush& a, const Brush& b)
{
    if (a.GetFaceCount() != b.GetFaceCount() || std::memcmp(a.GetBounds(), b.GetBounds(), 6 * sizeof(short)) != 0)
        return false;
    for (int i = 0; i < a.GetFaceCount(); ++i) {
        const Face& f = a.GetFace(i);
        const Face& g = b.GetFace(i);
        if (f.winding.size() != g.winding.size() || std::memcmp(&f.normal, &g.normal, sizeof f.normal) != 0 ||
            std::memcmp(&f.dist, &g.dist, sizeof f.dist) != 0 ||
            std::memcmp(f.winding.data(), g.winding.data(), f.winding.size() * sizeof(CVector)) != 0 ||
            std::memcmp(f.rounded.data(), g.rounded.data(), f.rounded.size() * sizeof f.rounded[0]) != 0)
            return false;
    }
    return true;
}

// The windings that an open's worker threads build come out as the reading thread would build
// them under its whole floating-point state, the x87 control word included (the normals are
// computed in long double): 1,200 copies of one sloped brush read under another precision or
// rounding than the workers' own are each the brush built again on the reading thread.
TEST_F(MapReadBytes, WorkersBuildUnderTheReadersWholeFloatingPointState)
{
    if (CBrushBatch::GetWorkerCount() == 0)
        GTEST_SKIP() << "one processor: the open builds every brush on its reading thread";
    // A 4096-unit cube with a corner cut off by a plane whose first edge, (-1112, 1249, -1305), is
    // one of the few directions whose unit vector differs in its last bit at 53-bit precision.
    const char cube[] = "{\r\n( 0 0 4096 ) ( 0 4096 4096 ) ( 4096 4096 4096 ) wall1 0 0 0 1 1\r\n"
                        "( 0 0 0 ) ( 4096 0 0 ) ( 4096 4096 0 ) wall1 0 0 0 1 1\r\n"
                        "( 0 4096 0 ) ( 0 4096 4096 ) ( 0 0 4096 ) wall1 0 0 0 1 1\r\n"
                        "( 4096 4096 0 ) ( 4096 0 0 ) ( 4096 0 4096 ) wall1 0 0 0 1 1\r\n"
                        "( 0 0 0 ) ( 0 0 4096 ) ( 4096 0 4096 ) wall1 0 0 0 1 1\r\n"
                        "( 0 4096 0 ) ( 4096 4096 0 ) ( 4096 4096 4096 ) wall1 0 0 0 1 1\r\n"
                        "( 2984 5345 1695 ) ( 4096 4096 3000 ) ( 3796 4096 3300 ) wall1 0 0 0 1 1\r\n}\r\n";
    std::string text = kWorld;
    for (int i = 0; i < 1200; ++i)
        text += cube;
    text += "}\r\n";
    const unsigned short own = X87ControlWord();
    struct Case
    {
        const char* what;
        unsigned short word;
    } cases[] = {
        {"53-bit precision", static_cast<unsigned short>((own & ~0x0F00) | 0x0200)},
        {"rounding toward zero", static_cast<unsigned short>(own | 0x0C00)},
        {"rounding down", static_cast<unsigned short>((own & ~0x0C00) | 0x0400)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            X87ControlWordScope scope(c.word);
            ASSERT_TRUE(map->ParseMapText(text.c_str(), static_cast<int>(text.size())));
        }
        ASSERT_EQ(map->GetWorldEntity()->GetBrushCount(), 1200) << AllBoxes();
        const Brush& first = *static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead());
        ASSERT_EQ(first.GetFaceCount(), 7);
        // The fixture shows the difference: built on this thread under the word and under the
        // thread's own, the brush differs.
        Brush underWord(first), underOwn(first);
        underWord.SetOwner(nullptr);
        underOwn.SetOwner(nullptr);
        {
            X87ControlWordScope scope(c.word);
            underWord.BuildWindings();
        }
        underOwn.BuildWindings();
        ASSERT_FALSE(SameGeometry(underWord, underOwn)) << "the brush does not tell the words apart";
        int differ = 0;
        X87ControlWordScope scope(c.word);
        for (POSITION pos = map->GetWorldEntity()->GetBrushes().GetHeadPosition(); pos;) {
            const Brush& read = *static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetNext(pos));
            Brush rebuilt(read);
            rebuilt.SetOwner(nullptr);
            rebuilt.BuildWindings();
            differ += !SameGeometry(read, rebuilt);
        }
        EXPECT_EQ(differ, 0) << "of 1200";
    }
}

} // namespace
