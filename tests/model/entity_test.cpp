#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "RecordingServices.h"
#include "Tokenizer.h"
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

class Entities : public ModelTest
{
protected:
    // Reads one entity block into the map (appended to its entity list).
    Entity* Read(const std::string& text, const short* offset = nullptr)
    {
        m_text = text;
        m_text.push_back(0);
        m_text.push_back(0);
        CTokenizer tok;
        tok.Init(&m_text[0]);
        Entity* e = offset ? new Entity(tok, offset) : new Entity(&map, tok);
        if (!offset)
            map.AddEntity(e);
        return e;
    }
    static short* Box(short x0, short x1, short y0, short y1, short z0, short z1)
    {
        return TestBox(x0, x1, y0, y1, z0, z1);
    }
    void ExpectBox(const SThing& t, std::initializer_list<int> box)
    {
        int i = 0;
        for (int v : box)
            EXPECT_EQ(t.GetBounds()[i++], v) << "box value " << i - 1;
    }
    Map map;
    std::string m_text;
};

TEST_F(Entities, PairsKeepOrderAndTheFirstKeyCounts)
{
    Entity* e = Read("{ \"classname\" \"Light\" \"ClassName\" \"Keep\" \"a\" \"1\" }");
    EXPECT_STREQ(e->ValueForKey("classname"), "light");
    EXPECT_STREQ(e->ValueForKey("ClassName"), "Keep");
    e->AddKeyValue("a", "2");
    EXPECT_STREQ(*e->FindValue("a"), "1");
    EXPECT_FALSE(e->SetValueForKey("missing", "x"));
    EXPECT_EQ(e->FindValue("missing"), nullptr);
    EXPECT_TRUE(e->SetValueForKey("a", "3"));
    EXPECT_TRUE(e->RemoveKey("a"));
    EXPECT_STREQ(*e->FindValue("a"), "2");
    CString out;
    e->Write(out);
    EXPECT_STREQ(out, "{\r\n  \"classname\" \"light\"\r\n  \"ClassName\" \"Keep\"\r\n  \"a\" \"2\"\r\n}\r\n");
    Entity copy(*e);
    EXPECT_STREQ(copy.ValueForKey("ClassName"), "Keep");
    EXPECT_EQ(copy.GetMap(), &map);
    copy.SetMap(nullptr);
}

// The map text has no escape for a double quote or a line break inside a key or value: the pairs
// refuse them, with an answer that tells a refusal from a missing key, and the writer never writes
// one, whatever a pair holds.
TEST_F(Entities, PairsRefuseWhatTheFileCannotHold)
{
    Entity* e = Read("{ \"classname\" \"info_null\" \"message\" \"hi\" }");
    const char* bad[] = {"say \"hi\" now", "two\nlines", "two\r\nlines", "cr\r"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        EXPECT_EQ(e->SetValueForKey("message", text), Entity::VALUE_REFUSED);
        EXPECT_EQ(e->SetValueForKey("missing", text), Entity::VALUE_REFUSED);
        EXPECT_EQ(e->SetValueForKey(text, "x"), Entity::VALUE_REFUSED);
        EXPECT_FALSE(e->AddKeyValue("message", text));
        EXPECT_FALSE(e->AddKeyValue(text, "x"));
        EXPECT_STREQ(e->ValueForKey("message"), "hi");
        EXPECT_EQ(e->GetKeyValues().GetCount(), 2);
    }
    EXPECT_EQ(e->SetValueForKey("missing", "x"), Entity::KEY_MISSING);
    EXPECT_EQ(e->SetValueForKey("message", "it's"), Entity::VALUE_SET);
    EXPECT_TRUE(e->AddKeyValue("target", "t1"));

    CString out;
    CKeyValue("mes\"sage", "say \"hi\"\r\nnow").Write(out);
    EXPECT_STREQ(out, "  \"mes'sage\" \"say 'hi'  now\"\r\n");
}

TEST_F(Entities, PointEntitySizeFromItsClass)
{
    short size[6] = {-8, 8, -8, 8, -16, 16};
    services->AddEntityClass("light", size);
    services->AddEntityClass("norecord", nullptr);
    struct Case
    {
        const char* text;
        std::initializer_list<int> box;
        const char* report;
    } cases[] = {
        {"{ \"classname\" \"light\" \"origin\" \"8 16 24\" }", {0, 16, 8, 24, 8, 40}, nullptr},
        {"{ \"classname\" \"light\" \"origin\" \"8.0 16.4 23.6\" }", {0, 16, 8, 24, 8, 40}, nullptr},
        {"{ \"classname\" \"light\" \"origin\" \"8 16\" }", {-16, 16, -16, 16, -16, 16}, "invalid origin"},
        {"{ \"origin\" \"64 0 0\" }", {-16, 16, -16, 16, -16, 16}, "didn't have\na classname"},
        {"{ \"classname\" \"norecord\" \"origin\" \"64 0 0\" }", {48, 80, -16, 16, -16, 16}, "invalid size"},
        {"{ \"classname\" \"unknown\" \"origin\" \"64 0 0\" }", {48, 80, -16, 16, -16, 16}, "could not be found"},
    };
    for (const Case& c : cases) {
        services->boxes.clear();
        Entity* e = Read(c.text);
        SCOPED_TRACE(c.text);
        ExpectBox(*e, c.box);
        if (c.report)
            EXPECT_TRUE(services->BoxContains(c.report));
        else
            EXPECT_TRUE(services->boxes.empty());
    }
    Entity* e = Read("{ \"classname\" \"light\" \"origin\" \"8 16 24\" }");
    EXPECT_EQ(e->GetCentre()[0], 8);
    EXPECT_EQ(e->GetCentre()[2], 24);
}

TEST_F(Entities, ImportAddsTheOffsetAndSelectsBrushes)
{
    short size[6] = {-8, 8, -8, 8, -8, 8};
    services->AddEntityClass("light", size);
    short offset[3] = {100, 0, -10};
    Entity* e = Read("{ \"classname\" \"light\" \"origin\" \"1 2 3\" }", offset);
    EXPECT_STREQ(e->ValueForKey("origin"), "101 2 -7");
    EXPECT_EQ(e->GetCentre()[0], 101);
    ExpectBox(*e, {93, 109, -6, 10, -15, 1});
    delete e;
    Entity* b = Read("{ \"classname\" \"func_door\"\n{\n( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) T 0 0 0 1 1\n"
                     "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) T 0 0 0 1 1\n( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) T 0 0 0 1 1\n"
                     "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) T 0 0 0 1 1\n( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) T 0 0 0 1 1\n"
                     "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) T 0 0 0 1 1\n}\n}",
                     offset);
    ASSERT_EQ(b->GetBrushCount(), 1);
    Brush* brush = static_cast<Brush*>(b->GetBrushes().GetHead());
    EXPECT_TRUE(brush->IsSelected());
    EXPECT_EQ(brush->GetBounds()[BOX_MINX], 100);
    EXPECT_EQ(brush->GetBounds()[BOX_MINZ], -10);
    delete b;
}

TEST_F(Entities, MovesRewriteTheOrigin)
{
    short size[6] = {-16, 16, -16, 16, -24, 32};
    services->AddEntityClass("info_player_start", size);
    Entity* e = Read("{ \"classname\" \"info_player_start\" \"origin\" \"0 0 0\" }");
    e->Move(5, 7, VIEW_XZ);
    EXPECT_STREQ(e->ValueForKey("origin"), "5 0 7");
    ExpectBox(*e, {-11, 21, -16, 16, -17, 39});
    EXPECT_EQ(services->origins.back(), "5 0 7");
    e->MoveDepth(3, VIEW_XY);
    e->Translate(1, 1, 1);
    EXPECT_STREQ(e->ValueForKey("origin"), "6 1 11");
    e->MoveTo(100, 200, VIEW_XY);
    EXPECT_STREQ(e->ValueForKey("origin"), "100 200 11");
    EXPECT_EQ(e->GetCentre()[0], 100);
    EXPECT_EQ(services->origins.size(), 3u); // MoveTo does not tell the editor

    Entity* bad = Read("{ \"classname\" \"info_player_start\" \"origin\" \"x\" }");
    services->boxes.clear();
    bad->Move(1, 1, VIEW_XY);
    EXPECT_TRUE(services->BoxContains("Move not performed"));
    EXPECT_STREQ(bad->ValueForKey("origin"), "x");
    e->Scale(1, 8, VIEW_XY);
    EXPECT_TRUE(services->BoxContains("A brushless entity cannot be scaled."));
}

// Moving entities of classes the project does not define: one alone tells in a box of its own; a
// move of many tells once when it ends, each class with its count (as an open does). A nested
// report counts into the outer one.
TEST_F(Entities, UnknownClassesOfAMoveAreToldOnce)
{
    std::vector<Entity*> moved;
    for (int i = 0; i < 3; ++i)
        moved.push_back(Read("{ \"classname\" \"monster_fish\" \"origin\" \"0 0 0\" }"));
    moved.push_back(Read("{ \"classname\" \"monster_dog\" \"origin\" \"0 0 0\" }"));
    services->boxes.clear();
    moved[0]->Move(16, 0, VIEW_XY);
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text,
              "The classname: monster_fish\ncould not be found in any of the .qc files in the current project.");

    services->boxes.clear();
    {
        CUnknownClassReport report;
        for (Entity* e : moved) {
            CUnknownClassReport inner;
            e->MoveDepth(8, VIEW_XY);
            e->Translate(1, 0, 0);
        }
        EXPECT_TRUE(services->boxes.empty());
    }
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text, "The classnames:\n  monster_fish (6)\n  monster_dog (2)\n"
                                       "could not be found in any of the .qc files in the current project.");
    EXPECT_STREQ(moved[3]->ValueForKey("origin"), "1 0 8"); // every entity moved

    services->boxes.clear();
    {
        CUnknownClassReport report;
        moved[3]->Move(0, 4, VIEW_XY);
    }
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text,
              "The classname: monster_dog (1)\ncould not be found in any of the .qc files in the current project.");
}

TEST_F(Entities, RotateTurnsCentreAndOrigin)
{
    services->AddEntityClass("light", Box(-8, 8, -8, 8, -8, 8));
    Entity* e = Read("{ \"classname\" \"light\" \"origin\" \"10 0 0\" }");
    e->Rotate(0, 0, std::acos(-1.0) / 2, VIEW_XY);
    EXPECT_EQ(e->GetCentre()[0], 0);
    EXPECT_EQ(e->GetCentre()[1], 10);
    ExpectBox(*e, {-8, 8, 2, 18, -8, 8});
    EXPECT_STREQ(e->ValueForKey("origin"), "0 10 0");
    e->Rotate(0, 0, 1.0, VIEW_XZ); // only the top view turns point entities
    EXPECT_EQ(e->GetCentre()[1], 10);
}

// Map coordinates are 16-bit. A point entity at the range's end has its box end there (drawn and
// picked where it stands, not on the far side of the map); a move or turn that would take its
// origin past the range is refused, the entity left as it was (its text too) and said in a box;
// up to the range's last unit the moves go.
TEST_F(Entities, MovesAndTurnsPastTheCoordinateRangeAreRefused)
{
    services->AddEntityClass("light", Box(-8, 8, -8, 8, -8, 8));
    const char* const kOne = "A moved entity would lie outside the map's coordinate range.\nIt stays where it was.";
    const double kQuarter = std::acos(-1.0) / 2;
    struct Case
    {
        const char* what;
        const char* origin;
        std::function<void(Entity&)> edit;
        const char* after; // nullptr: refused
        std::initializer_list<int> box;
    };
    const Case cases[] = {
        {"read at the ends", "32760 0 -32765", [](Entity&) {}, "32760 0 -32765", {32752, 32767, -8, 8, -32768, -32757}},
        {"x +100", "32760 0 0", [](Entity& e) { e.Translate(100, 0, 0); }, nullptr, {32752, 32767, -8, 8, -8, 8}},
        {"to the last unit", "32760 0 0", [](Entity& e) { e.Translate(7, 0, 0); }, "32767 0 0",
         {32759, 32767, -8, 8, -8, 8}},
        {"a view's move", "0 0 32760", [](Entity& e) { e.Move(0, 8, VIEW_XZ); }, nullptr, {-8, 8, -8, 8, 32752, 32767}},
        {"a depth move", "0 -32760 0", [](Entity& e) { e.MoveDepth(-9, VIEW_XZ); }, nullptr,
         {-8, 8, -32768, -32752, -8, 8}},
        {"a move to a point", "0 0 0", [](Entity& e) { e.MoveTo(40000, 0, VIEW_XY); }, nullptr, {-8, 8, -8, 8, -8, 8}},
        {"a whole int away", "0 0 0", [](Entity& e) { e.Translate(0, 0, INT_MAX); }, nullptr, {-8, 8, -8, 8, -8, 8}},
        {"the low end", "-32760 0 0", [](Entity& e) { e.Translate(-8, 0, 0); }, "-32768 0 0",
         {-32768, -32760, -8, 8, -8, 8}},
        {"a quarter turn past the range", "32000 0 0", [&](Entity& e) { e.Rotate(-1000, 0, kQuarter, VIEW_XY); },
         nullptr, {31992, 32008, -8, 8, -8, 8}},
        {"a quarter turn within it", "32000 0 0", [&](Entity& e) { e.Rotate(0, 0, kQuarter, VIEW_XY); },
         "0 32000 0", {-8, 8, 31992, 32008, -8, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Entity* e = Read(std::string("{ \"classname\" \"light\" \"origin\" \"") + c.origin + "\" }");
        services->boxes.clear();
        c.edit(*e);
        const char* origin = c.after ? c.after : c.origin;
        EXPECT_STREQ(e->ValueForKey("origin"), origin);
        ExpectBox(*e, c.box);
        CString text;
        e->Write(text);
        EXPECT_NE(std::string(text).find(std::string("\"origin\" \"") + origin + "\""), std::string::npos);
        if (c.after) {
            EXPECT_TRUE(services->boxes.empty());
        } else {
            ASSERT_EQ(services->boxes.size(), 1u);
            EXPECT_EQ(services->boxes[0].text, kOne);
        }
    }
}

// Ownership: an entity that loses its last brush deletes itself (the world stays);
// destroying an entity deletes its brushes once; copying pairs comes before taking
// brushes from their owner, which that may delete.
TEST_F(Entities, OwnershipOfBrushesAndEntities)
{
    Entity* world = map.CreateWorldEntity();
    Entity* door = new Entity(&map);
    door->AddKeyValue("classname", "func_door");
    map.AddEntity(door);
    Brush* a = new Brush(door, Box(0, 64, 0, 64, 0, 64));
    door->AddBrush(a);
    Brush* w = new Brush(world, Box(0, 8, 0, 8, 0, 8));
    world->AddBrush(w);
    EXPECT_EQ(map.GetEntities().GetCount(), 2);

    delete w;
    EXPECT_EQ(world->GetBrushCount(), 0);
    EXPECT_EQ(map.GetWorldEntity(), world);

    // The new entity takes the door's only brush and the door's own pairs.
    CPtrList objects, pairs;
    objects.AddTail(a);
    pairs.AddTail(door->GetKeyValues().GetHead());
    Entity* copy = Entity::CopyFrom(&map, objects, pairs);
    map.AddEntity(copy);
    EXPECT_STREQ(copy->ValueForKey("classname"), "func_door");
    EXPECT_EQ(a->GetOwner(), copy);
    EXPECT_TRUE(copy->IsSelected() == FALSE); // a brush entity is selected through its brushes
    EXPECT_EQ(map.GetEntities().GetCount(), 2); // the door deleted itself
    EXPECT_EQ(map.GetEntities().Find(door), nullptr);

    // Destroying the entity deletes its brush once and leaves the map's list.
    Brush* b = new Brush(copy, Box(0, 16, 0, 16, 0, 16));
    copy->AddBrush(b);
    delete copy;
    EXPECT_EQ(map.GetEntities().GetCount(), 1);
}

TEST_F(Entities, SelectionAndVisibilityFollowTheBrushes)
{
    Entity* e = new Entity(&map);
    map.AddEntity(e);
    EXPECT_FALSE(e->IsSelected());
    e->Select();
    EXPECT_TRUE(e->IsSelected());
    Brush* b = new Brush(e, Box(0, 8, 0, 8, 0, 8));
    e->AddBrush(b);
    EXPECT_FALSE(e->IsSelected());
    b->SetVisible(false);
    EXPECT_FALSE(e->IsVisible());
    e->Select();
    EXPECT_TRUE(b->IsSelected());
    Entity other(&map);
    other.TakeBrushes(*e, false);
    e->RemoveAllBrushes();
    EXPECT_EQ(b->GetOwner(), &other);
    other.SetMap(nullptr);
}

} // namespace
