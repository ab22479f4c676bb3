#include "DocumentFixture.h"
#include "Texture.h"

namespace {

class Document : public DocumentTest
{
};

TEST_F(Document, NewDocumentHasOnlyTheWorld)
{
    // The document templates make maps by name.
    CRuntimeClass* cls = CRuntimeClass::FromName("Map");
    ASSERT_NE(cls, nullptr);
    CObject* made = cls->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CDocument)));
    delete made;

    ASSERT_NE(world, nullptr);
    EXPECT_EQ(map->GetEntities().GetCount(), 1);
    EXPECT_STREQ(world->ValueForKey("classname"), "worldspawn");
    EXPECT_FALSE(map->IsModified());
    EXPECT_EQ(map->GetViewType(), -1);
    const short* clip = map->GetDepthClip();
    EXPECT_EQ(clip[0], -8192);
    EXPECT_EQ(clip[5], 8192);
    // A world without brushes is an object of its own.
    CPtrList objects;
    map->CollectObjects(objects);
    ASSERT_EQ(objects.GetCount(), 1);
    EXPECT_EQ(objects.GetHead(), world);
    map->SetViewType(VIEW_XZ);
    map->RefreshAllViews();
    EXPECT_EQ(view.Numbers(), std::vector<LPARAM>{HINT_VIEW_TYPE});
    EXPECT_EQ(map->GetViewType(), VIEW_XZ);
}

TEST_F(Document, DeselectAllSendsTheHintsWithTheOldBox)
{
    Brush* a = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(world, 100, 120, -8, 8, 0, 16);
    EXPECT_TRUE(map->DeselectAll()); // nothing selected: no hint
    EXPECT_TRUE(view.hints.empty());

    Select(a);
    Select(b);
    EXPECT_TRUE(map->DeselectAll());
    ASSERT_EQ(view.Numbers(), (std::vector<LPARAM>{HINT_SELECTION, HINT_CHANGED}));
    EXPECT_FALSE(view.hints[0].hasBox);
    EXPECT_EQ(view.hints[1].box, (std::vector<int>{0, 120, -8, 64, 0, 64}));
    EXPECT_EQ(map->GetSelectionCount(), 0);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(services->statuses.back(), "0 objects selected");
    EXPECT_EQ(services->currentEntities.back(), nullptr);
    EXPECT_FALSE(map->IsModified()); // a selection is not an edit

    // Unapplied Entity Editor changes: Cancel keeps the selection, OK applies them.
    Select(a);
    services->unapplied = TRUE;
    services->answers = {IDCANCEL};
    view.hints.clear();
    EXPECT_FALSE(map->DeselectAll());
    EXPECT_TRUE(a->IsSelected());
    EXPECT_TRUE(view.hints.empty());
    services->answers = {IDOK};
    EXPECT_TRUE(map->DeselectAll());
    EXPECT_EQ(services->applied, 1);
    EXPECT_FALSE(a->IsSelected());
}

TEST_F(Document, LinkedClippingResetsTheClipAndRebuildsTheVisibleList)
{
    services->SetLinkClipping(TRUE);
    Brush* a = AddBrush(world, 0, 64, 0, 64, 0, 64);
    short* clip = map->GetDepthClip();
    clip[BOX_MINZ] = 100; // leaves the brush out
    map->SetClipFlag(1);
    map->RebuildVisibleList();
    EXPECT_TRUE(map->GetVisibleList().IsEmpty());

    Select(a);
    map->SelectionChanged();
    EXPECT_EQ(view.Numbers(), std::vector<LPARAM>{HINT_LINKED_SELECTION});
    EXPECT_EQ(clip[BOX_MINZ], -8192);
    EXPECT_EQ(map->GetClipFlag(), 0);
    EXPECT_TRUE(InList(map->GetVisibleList(), a));

    view.hints.clear();
    map->SelectionChangedRedraw(TRUE);
    EXPECT_EQ(view.Numbers(), (std::vector<LPARAM>{HINT_LINKED_SELECTION, HINT_REDRAW}));
}

// The visible list holds each object once, exactly the objects whose visible flag is
// set; selected objects are always in it, whatever their class or the clip.
TEST_F(Document, VisibleListInvariants)
{
    services->classVisibility["func_hidden"] = 0;
    services->classVisibility["worldspawn"] = -1; // no class file loaded: still shown
    Brush* inside = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* outside = AddBrush(world, 0, 64, 0, 64, 200, 264);
    Brush* selectedOutside = AddBrush(world, 0, 64, 0, 64, 300, 364);
    Entity* hidden = AddEntity("func_hidden");
    Brush* hiddenBrush = AddBrush(hidden, 0, 8, 0, 8, 0, 8);
    Brush* hiddenSelected = AddBrush(hidden, 16, 24, 0, 8, 0, 8);
    Entity* light = AddEntity("light", "0 0 0");
    Entity* noClass = new Entity(map);
    map->AddEntity(noClass);
    short box[6] = {-8, 8, -8, 8, -8, 8};
    noClass->SetBounds(box);
    Select(selectedOutside);
    Select(hiddenSelected);

    short* clip = map->GetDepthClip();
    clip[BOX_MINZ] = -100;
    clip[BOX_MAXZ] = 100;
    map->RebuildVisibleList();

    struct Case
    {
        SThing* thing;
        bool visible;
    } cases[] = {{inside, true},          {outside, false},       {selectedOutside, true}, {hiddenBrush, false},
                 {hiddenSelected, true},  {light, true},          {noClass, true}};
    CPtrList& visible = map->GetVisibleList();
    for (const Case& c : cases) {
        EXPECT_EQ(InList(visible, c.thing), c.visible) << c.thing->GetSerial();
        EXPECT_EQ(c.thing->IsVisible() != FALSE, c.visible) << c.thing->GetSerial();
    }
    EXPECT_EQ(visible.GetCount(), 5);
    EXPECT_FALSE(world->IsVisible() == FALSE); // one of its brushes is shown

    // A second rebuild gives the same list: nothing is listed twice.
    map->RebuildVisibleList();
    EXPECT_EQ(visible.GetCount(), 5);
    map->ResetDepthClip();
    map->RebuildVisibleList();
    EXPECT_TRUE(InList(visible, outside));
}

// A point entity that counts the times the rebuild looks at it.
class CountedEntity : public Entity
{
public:
    CountedEntity(Map* pMap, int* pLooks) : Entity(pMap), m_pLooks(pLooks) {}
    BOOL IsSelected() const override
    {
        ++*m_pLooks;
        return Entity::IsSelected();
    }

private:
    int* m_pLooks;
};

// The rebuild's work grows with the number of objects, not faster: counted, not timed.
TEST_F(Document, VisibleListRebuildStaysLinear)
{
    int looks = 0;
    auto work = [&](int count) {
        for (int i = map->GetEntities().GetCount(); i <= count; ++i)
            map->AddEntity(new CountedEntity(map, &looks));
        looks = 0;
        services->visibilityQueries = 0;
        map->RebuildVisibleList();
        EXPECT_EQ(map->GetVisibleList().GetCount(), count + 1);
        return looks + services->visibilityQueries;
    };
    int small = work(1000);
    int large = work(16000);
    EXPECT_GE(small, 1000);
    EXPECT_LE(large, small * 16 + 16) << small << " for 1000 objects";
}

TEST_F(Document, CurrentEntityAndBounds)
{
    Brush* a = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(world, -32, 0, 0, 8, 0, 8);
    Entity* light = AddEntity("light", "200 0 0");
    short box[6];
    map->GetSelectionBounds(box);
    EXPECT_EQ(std::vector<int>(box, box + 6), (std::vector<int>{32767, -32768, 32767, -32768, 32767, -32768}));

    struct Case
    {
        std::vector<SThing*> selection;
        Entity* current;
    } cases[] = {{{}, nullptr}, {{a, b}, world}, {{a, light}, nullptr}, {{light}, light}};
    for (const Case& c : cases) {
        map->GetSelection().RemoveAll();
        for (SThing* t : c.selection)
            map->GetSelection().AddTail(t);
        map->UpdateCurrentEntity();
        EXPECT_EQ(map->GetCurrentEntity(), c.current);
        EXPECT_EQ(services->currentEntities.back(), c.current);
    }
    map->GetSelection().RemoveAll();
    Select(a);
    Select(b);
    EXPECT_TRUE(map->SelectionHasBrush());
    EXPECT_FALSE(map->SelectionHasEntity());
    map->GetSelectionBounds(box);
    EXPECT_EQ(std::vector<int>(box, box + 6), (std::vector<int>{-32, 64, 0, 64, 0, 64}));
}

TEST_F(Document, DeleteSelectionTellsEverythingThatPointsAtObjects)
{
    Brush* worldBrush = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Entity* door = AddEntity("func_door");
    Brush* doorBrush = AddBrush(door, 100, 164, 0, 64, 0, 64);
    Entity* light = AddEntity("light", "-100 0 0");
    map->RebuildVisibleList();
    map->SetCurrentEntity(door);
    map->SetPickedFace(&doorBrush->GetFace(0));
    map->GetCycleList().AddTail(new CycleCandidate{doorBrush});
    map->RebuildHandlePoints(doorBrush);
    Select(worldBrush);
    Select(doorBrush);
    Select(light);

    ASSERT_TRUE(map->DeleteSelection(TRUE));
    EXPECT_EQ(world->GetBrushCount(), 0);
    EXPECT_EQ(map->GetEntities().GetCount(), 1); // the emptied door went, the world stays
    EXPECT_EQ(map->GetWorldEntity(), world);
    EXPECT_EQ(map->GetSelectionCount(), 0);
    EXPECT_EQ(map->GetCurrentEntity(), nullptr);
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(map->GetPickedFace(), nullptr);
    ASSERT_FALSE(services->adjustedFaces.empty());
    EXPECT_EQ(services->adjustedFaces.back(), nullptr);
    EXPECT_TRUE(map->GetCycleList().IsEmpty());
    EXPECT_TRUE(map->GetFacePoints().IsEmpty());
    EXPECT_TRUE(map->GetVertexPoints().IsEmpty());
    EXPECT_GE(services->objectOrderRebuilds, 1);
    ASSERT_EQ(view.hints.back().hint, HINT_DELETED);
    EXPECT_EQ(view.hints.back().box, (std::vector<int>{-116, 164, -16, 64, -16, 64}));
    EXPECT_FALSE(InList(map->GetVisibleList(), worldBrush));
    EXPECT_EQ(services->statuses.back(), "0 objects selected");

    // A selected world without brushes is never deleted.
    Select(world);
    map->DeleteSelection(FALSE);
    EXPECT_EQ(map->GetWorldEntity(), world);
    EXPECT_EQ(map->GetEntities().GetCount(), 1);
    EXPECT_FALSE(world->IsSelected());
}

TEST_F(Document, DeleteSelectionCancelledKeepsEverything)
{
    Brush* b = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Select(b);
    services->unapplied = TRUE;
    services->answers = {IDCANCEL};
    EXPECT_FALSE(map->DeleteSelection(TRUE));
    EXPECT_EQ(world->GetBrushCount(), 1);
    EXPECT_EQ(map->GetSelectionCount(), 1);
    EXPECT_FALSE(map->IsModified());
}

TEST_F(Document, SelectBrushesByTextureSelectsTheUsers)
{
    Texture stone, wood;
    stone.name = "stone";
    wood.name = "wood";
    Brush* a = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(world, 100, 164, 0, 64, 0, 64);
    Entity* door = AddEntity("func_door");
    Brush* c = AddBrush(door, 200, 264, 0, 64, 0, 64);
    a->SetTexture(&wood);
    a->GetFace(2).texture = &stone; // one face is enough
    b->SetTexture(&wood);
    c->SetTexture(&stone);
    Select(b);

    // Unlinked, with no map window active: the document's own visible list.
    map->SelectBrushesByTexture(&stone);
    EXPECT_EQ(map->GetSelectionCount(), 2);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_TRUE(c->IsSelected());
    EXPECT_FALSE(b->IsSelected());
    EXPECT_EQ(map->GetCurrentEntity(), nullptr); // two owners
    EXPECT_FALSE(map->IsModified());
    EXPECT_EQ(view.hints.back().hint, HINT_REDRAW);

    // A map window's own list limits the choice to what that window shows.
    CPtrList order;
    order.AddTail(c);
    services->activeObjectOrder = &order;
    map->SelectBrushesByTexture(&stone);
    EXPECT_EQ(map->GetSelectionCount(), 1);
    EXPECT_TRUE(c->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(map->GetCurrentEntity(), door);
    services->activeObjectOrder = nullptr;

    // A hidden brush is not chosen.
    services->SetLinkClipping(TRUE);
    map->DeselectAll();
    map->GetDepthClip()[BOX_MAXX] = 100;
    map->RebuildVisibleList();
    view.hints.clear();
    map->SelectBrushesByTexture(&wood);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_FALSE(b->IsSelected());
    EXPECT_EQ(view.hints.back().hint, HINT_REDRAW);
}

TEST_F(Document, MakeEntityFromSelection)
{
    Entity door;
    door.AddKeyValue("classname", "func_door");
    door.AddKeyValue("speed", "100");
    Entity light;
    light.AddKeyValue("classname", "light");
    light.AddKeyValue("origin", "0 0 0");
    light.AddKeyValue("light", "300");

    EXPECT_FALSE(map->MakeEntityFromSelection(&door));
    EXPECT_TRUE(services->BoxContains("A brush is not selected"));
    EXPECT_FALSE(map->MakeEntityFromSelection(&light));
    EXPECT_TRUE(services->BoxContains("Cannot create a brushless entity from multiple objects."));

    // World brushes become a door.
    Brush* a = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(world, 64, 128, 0, 64, 0, 64);
    Select(a);
    Select(b);
    ASSERT_TRUE(map->MakeEntityFromSelection(&door));
    Entity* made = a->GetOwner();
    ASSERT_NE(made, world);
    EXPECT_EQ(b->GetOwner(), made);
    EXPECT_STREQ(made->ValueForKey("speed"), "100");
    EXPECT_EQ(map->GetCurrentEntity(), made);
    EXPECT_EQ(world->GetBrushCount(), 0);
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(view.hints.back().hint, HINT_REDRAW);
    int rebuilds = services->objectOrderRebuilds;
    EXPECT_GE(rebuilds, 1);
    EXPECT_TRUE(InList(map->GetVisibleList(), a)); // still shown after changing entity

    // The same class again: the pairs are replaced.
    door.SetValueForKey("speed", "50");
    ASSERT_TRUE(map->MakeEntityFromSelection(&door));
    EXPECT_STREQ(made->ValueForKey("speed"), "50");
    EXPECT_GT(services->objectOrderRebuilds, rebuilds);

    // A point class in place of the door: the brushes go, a light stands at the
    // centre of the first of them.
    ASSERT_TRUE(map->MakeEntityFromSelection(&light));
    Entity* lamp = map->GetCurrentEntity();
    ASSERT_NE(lamp, nullptr);
    EXPECT_STREQ(lamp->ValueForKey("origin"), "32 32 32");
    EXPECT_STREQ(lamp->ValueForKey("light"), "300");
    EXPECT_EQ(lamp->GetMap(), map);
    EXPECT_EQ(map->GetSelectionCount(), 1);
    EXPECT_TRUE(lamp->IsSelected());
    EXPECT_EQ(map->GetEntities().GetCount(), 2); // world and the light
    EXPECT_EQ(services->currentEntities.back(), lamp);

    // A brush class over a selected point entity is refused.
    EXPECT_FALSE(map->MakeEntityFromSelection(&door));
    EXPECT_TRUE(services->BoxContains("A brushless entity is part of the selection group."));
}

// The Entity Editor applies its pairs through the map: an origin typed past the 16-bit coordinate
// range is refused before anything changes (it would be clamped without a word, or the box
// wrapped to the far side of the map), and can be mended.
TEST_F(Document, AnOriginTypedPastTheCoordinateRangeIsRefused)
{
    Entity* light = AddEntity("light", "32 32 32");
    Select(light);
    map->SetCurrentEntity(light);
    Entity typed(*light);
    typed.SetMap(nullptr);
    const char* const kValues[] = {"40000 0 0", "0 -32769 0", "0 0 32767.5"};
    for (const char* value : kValues) {
        SCOPED_TRACE(value);
        typed.SetValueForKey("origin", value);
        services->boxes.clear();
        EXPECT_FALSE(map->MakeEntityFromSelection(&typed));
        ASSERT_EQ(services->boxes.size(), 1u);
        EXPECT_EQ(services->boxes[0].text, std::string("The origin \"") + value +
                                               "\" lies outside the map's coordinate range (-32768 to 32767).\n"
                                               "The entity was not changed.");
        EXPECT_STREQ(light->ValueForKey("origin"), "32 32 32");
        EXPECT_EQ(light->GetBounds()[BOX_MINX], 16);
    }
    typed.SetValueForKey("origin", "-32768 0 32767");
    services->boxes.clear();
    ASSERT_TRUE(map->MakeEntityFromSelection(&typed));
    EXPECT_STREQ(light->ValueForKey("origin"), "-32768 0 32767");
    EXPECT_EQ(light->GetBounds()[BOX_MINX], -32768);
    EXPECT_EQ(light->GetBounds()[BOX_MAXZ], 32767);
}

TEST_F(Document, WalksTargetsTexturesAndHandles)
{
    Entity* door = AddEntity("func_door");
    Brush* a = AddBrush(door, 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(door, 64, 128, 0, 64, 0, 64);
    door->AddKeyValue("targetname", "t1");
    AddEntity("light", "0 0 0")->AddKeyValue("targetname", "t1");
    AddEntity("trigger")->AddKeyValue("targetname", "t2");

    ASSERT_EQ(map->FirstEntity(), world);
    EXPECT_EQ(map->FirstBrush(), nullptr);
    ASSERT_EQ(map->NextEntity(), door);
    EXPECT_EQ(map->FirstBrush(), a);
    EXPECT_EQ(map->NextBrush(), b);
    EXPECT_EQ(map->NextBrush(), nullptr);

    CStringList names;
    map->CollectTargetNames(names);
    ASSERT_EQ(names.GetCount(), 2);
    EXPECT_STREQ(names.GetHead(), "t1");
    EXPECT_STREQ(names.GetTail(), "t2");

    CMapStringToPtr used;
    map->CollectUsedTextures(used);
    EXPECT_EQ(used.GetCount(), 1); // every face of a new brush has the built-in texture

    map->RebuildHandlePoints(a);
    EXPECT_EQ(map->GetFacePoints().GetCount(), 6);
    EXPECT_EQ(map->GetEdgePoints().GetCount(), 12);
    EXPECT_EQ(map->GetVertexPoints().GetCount(), 8);
    map->m_showEdgePoints = 0;
    map->RebuildHandlePoints(a);
    EXPECT_TRUE(map->GetEdgePoints().IsEmpty());
    map->ClearHandlePoints();
    EXPECT_TRUE(map->GetFacePoints().IsEmpty());
}

TEST_F(Document, CameraRecordsAndTheirHints)
{
    CameraRecord one, two;
    one.tx = 10; one.ty = -20; one.tz = 30; one.mx = 50; one.my = 0; one.mz = -10;
    map->AddCamera(&one);
    EXPECT_EQ(map->GetCurrentCamera(), &one);
    ASSERT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(view.hints[0].hint, HINT_CAMERA);
    EXPECT_EQ(view.hints[0].box, (std::vector<int>{10, 50, -30, 10, 0, 20}));
    map->AddCamera(&two);
    EXPECT_EQ(map->GetCurrentCamera(), &two);
    map->RemoveCamera(&two);
    EXPECT_EQ(map->GetCurrentCamera(), nullptr);
    EXPECT_EQ(map->GetCameras().GetCount(), 1);
    size_t n = view.hints.size();
    map->RemoveCamera(&two); // not in the list: nothing
    EXPECT_EQ(view.hints.size(), n);
}

TEST_F(Document, SelectObjectAddsOnceAndSendsTheBoxOfTheLastTwo)
{
    Brush* a = AddBrush(world, 0, 16, 0, 16, 0, 16);
    Brush* b = AddBrush(world, 32, 64, -8, 8, 0, 8);
    Brush* c = AddBrush(world, 100, 110, 0, 10, 0, 10);
    map->SelectObject(a, TRUE);
    EXPECT_TRUE(a->IsSelected());
    ASSERT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(view.hints[0].hint, HINT_CHANGED);
    EXPECT_EQ(view.hints[0].box, (std::vector<int>{0, 16, 0, 16, 0, 16}));
    EXPECT_EQ(services->statuses.back(), "1 object selected");
    map->SelectObject(a, TRUE); // already selected: nothing at all
    EXPECT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(map->GetSelectionCount(), 1);
    map->SelectObject(b, TRUE);
    EXPECT_EQ(view.hints.back().box, (std::vector<int>{0, 64, -8, 16, 0, 16}));
    EXPECT_EQ(services->statuses.back(), "2 objects selected");
    EXPECT_EQ(std::vector<int>(map->GetLastSelectionBox(), map->GetLastSelectionBox() + 6),
              (std::vector<int>{32, 64, -8, 8, 0, 8}));
    size_t n = view.hints.size();
    map->SelectObject(c, FALSE); // no redraw: no hint, still counted
    EXPECT_EQ(view.hints.size(), n);
    EXPECT_EQ(services->statuses.back(), "3 objects selected");
    map->SelectObject(nullptr, TRUE);
    EXPECT_EQ(map->GetSelectionCount(), 3);
}

// The current entity given as its own template (the Entity Editor's Apply on what it shows) keeps
// its pairs.
TEST_F(Document, MakeEntityFromItselfKeepsThePairs)
{
    Entity* light = AddEntity("light", "8 8 8");
    light->AddKeyValue("light", "300");
    Select(light);
    map->UpdateCurrentEntity();
    ASSERT_EQ(map->GetCurrentEntity(), light);
    ASSERT_TRUE(map->MakeEntityFromSelection(light));
    EXPECT_STREQ(light->ValueForKey("classname"), "light");
    EXPECT_STREQ(light->ValueForKey("origin"), "8 8 8");
    EXPECT_STREQ(light->ValueForKey("light"), "300");
    EXPECT_EQ(light->GetKeyValues().GetCount(), 3);
}

} // namespace
