// The plane views' editing commands on documents: align, select inside, object files, Assign to
// World, Create Targets, Create Array, Create Room, the frame's enable rules, the map's file
// commands, new windows and primitives. Dialogs and file names are answered through the seam.
#include "EditCommands.h"
#include "EditDialogs.h"
#include "MapCommands.h"
#include "MapData.h"
#include "MapEditing.h"
#include "WindowFixture.h"
#include "afxdlgs.h"
#include "afxseam.h"
#include "shareddata.h"
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string BoxText(const short* b)
{
    char buf[96];
    snprintf(buf, sizeof buf, "%d %d %d %d %d %d", b[0], b[1], b[2], b[3], b[4], b[5]);
    return buf;
}

// A command's enabled state as a menu would ask it.
struct UI : CCmdUI
{
    BOOL on = TRUE;
    BOOL asked = FALSE;
    void Enable(BOOL b) override
    {
        on = b;
        asked = TRUE;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
};

UI Ask(CCmdTarget* target, UINT id)
{
    UI ui;
    ui.m_nID = id;
    target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui;
}

CString TempPath(LPCSTR name)
{
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    return CString(dir) + name;
}

class EditCommandsTest : public ViewsTest
{
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        AfxSeamReset();
        map = NewMap();
        view = new PlaneView(map, VIEW_XY);
    }
    void TearDown() override
    {
        delete view;
        delete map;
        AfxSeamReset();
        ViewsTest::TearDown();
    }
    int CountBrushes() const
    {
        int n = 0;
        for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;)
            n += static_cast<Entity*>(map->GetEntities().GetNext(pos))->GetBrushCount();
        return n;
    }
    bool Boxed(const std::string& text) const
    {
        return std::find(services->boxes.begin(), services->boxes.end(), text) != services->boxes.end();
    }
    Map* map = nullptr;
    PlaneView* view = nullptr;
};

} // namespace

// ---- Align ----------------------------------------------------------------------------------

TEST(AlignTable, SixCommandsOnThreeViewTypes)
{
    // Reference box x 0..64, y 100..164, z -64..0; the object x 10..20, y 10..30, z 10..40.
    const short ref[6] = {0, 64, 100, 164, -64, 0};
    const short box[6] = {10, 20, 10, 30, 10, 40};
    struct Case
    {
        AlignKind kind;
        int view;
        int dx, dy, dz;
    } cases[] = {
        {ALIGN_LEFT, VIEW_XY, -10, 0, 0},         {ALIGN_LEFT, VIEW_XZ, -10, 0, 0},
        {ALIGN_LEFT, VIEW_YZ, 0, 90, 0},          {ALIGN_RIGHT, VIEW_XY, 44, 0, 0},
        {ALIGN_RIGHT, VIEW_XZ, 44, 0, 0},         {ALIGN_RIGHT, VIEW_YZ, 0, 134, 0},
        {ALIGN_TOP, VIEW_XY, 0, 134, 0},          {ALIGN_TOP, VIEW_XZ, 0, 0, -40},
        {ALIGN_TOP, VIEW_YZ, 0, 0, -40},          {ALIGN_BOTTOM, VIEW_XY, 0, 90, 0},
        {ALIGN_BOTTOM, VIEW_XZ, 0, 0, -74},       {ALIGN_BOTTOM, VIEW_YZ, 0, 0, -74},
        {ALIGN_HORIZONTALLY, VIEW_XY, 17, 0, 0},  {ALIGN_HORIZONTALLY, VIEW_XZ, 17, 0, 0},
        {ALIGN_HORIZONTALLY, VIEW_YZ, 0, 112, 0}, {ALIGN_VERTICALLY, VIEW_XY, 0, 112, 0},
        {ALIGN_VERTICALLY, VIEW_XZ, 0, 0, -57},   {ALIGN_VERTICALLY, VIEW_YZ, 0, 0, -57},
    };
    for (const Case& c : cases) {
        int d[3];
        AlignOffset(c.kind, c.view, ref, box, d);
        EXPECT_EQ(c.dx, d[0]) << c.kind << " " << c.view;
        EXPECT_EQ(c.dy, d[1]) << c.kind << " " << c.view;
        EXPECT_EQ(c.dz, d[2]) << c.kind << " " << c.view;
    }
    // Centres truncate toward zero: -3..0 is -1 and 0..3 is 1.
    const short neg[6] = {-3, 0, 0, 0, 0, 0};
    const short pos[6] = {0, 3, 0, 0, 0, 0};
    int d[3];
    AlignOffset(ALIGN_HORIZONTALLY, VIEW_XY, neg, pos, d);
    EXPECT_EQ(-2, d[0]);
}

TEST_F(EditCommandsTest, AlignMovesAllButTheReferenceAndTellsTheViewsHint5)
{
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(map->GetWorldEntity(), 100, 132, 200, 232, 8, 40);
    CHintRecorder recorder;
    map->AddView(&recorder);
    map->SelectObject(a, FALSE);
    map->SelectObject(b, FALSE);
    view->AlignTop();
    map->RemoveView(&recorder);
    EXPECT_EQ("0 64 0 64 0 64", BoxText(a->GetBounds()));
    EXPECT_EQ("100 132 32 64 8 40", BoxText(b->GetBounds()));
    EXPECT_NE(recorder.hints.end(), std::find(recorder.hints.begin(), recorder.hints.end(), (LPARAM)HINT_MOVED));
    EXPECT_TRUE(map->IsModified());
    // One object selected: nothing moves.
    map->DeselectAll();
    map->SelectObject(b, FALSE);
    view->AlignLeft();
    EXPECT_EQ("100 132 32 64 8 40", BoxText(b->GetBounds()));
}

// Align moves every selected object but the reference, all of them or none: when one would pass
// the 16-bit coordinate range (a light at the range's end, whose box stops there, aligned by that
// box), nothing moves and one box says so.
TEST_F(EditCommandsTest, AlignPastTheCoordinateRangeMovesNothing)
{
    Brush* ref = AddBrush(map->GetWorldEntity(), 32752, 32767, 0, 64, 0, 64);
    Brush* small = AddBrush(map->GetWorldEntity(), 0, 8, 0, 64, 0, 64);
    Entity* light = AddEntity(map, "light", "32760 0 32");
    map->SelectObject(ref, FALSE);
    map->SelectObject(small, FALSE);
    map->SelectObject(light, FALSE);
    map->SetModifiedFlag(FALSE);
    services->boxes.clear();
    view->AlignLeft(); // the light's origin would go to 32768
    EXPECT_EQ("0 8 0 64 0 64", BoxText(small->GetBounds()));
    EXPECT_STREQ("32760 0 32", light->ValueForKey("origin"));
    EXPECT_EQ("32744 32767 -16 16 16 48", BoxText(light->GetBounds()));
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("A moved entity would lie outside the map's coordinate range.\nThe whole selection stays where it was.",
              services->boxes[0]);
    EXPECT_FALSE(map->IsModified());
    // Their right ends at the reference's: the light's box ends there already.
    services->boxes.clear();
    view->AlignRight();
    EXPECT_EQ("32759 32767 0 64 0 64", BoxText(small->GetBounds()));
    EXPECT_STREQ("32760 0 32", light->ValueForKey("origin"));
    EXPECT_TRUE(services->boxes.empty());
}

// ---- Select Fully / Partially Inside --------------------------------------------------------

TEST_F(EditCommandsTest, SelectInsideSelectsByTheSelectorAndDeletesIt)
{
    struct Case
    {
        BOOL fully;
        int selected;
    } cases[] = {{TRUE, 3}, {FALSE, 3}};
    for (const Case& c : cases) {
        delete view;
        delete map;
        map = NewMap();
        view = new PlaneView(map, VIEW_XY);
        Entity* world = map->GetWorldEntity();
        Brush* selector = AddBrush(world, 0, 128, 0, 128, 0, 128);
        Brush* inner = AddBrush(world, 16, 48, 16, 48, 16, 48);
        Brush* touching = AddBrush(world, 100, 200, 0, 64, 0, 64);
        AddBrush(world, 300, 364, 0, 64, 0, 64); // outside
        Entity* light = AddEntity(map, "light", "64 64 64");
        Entity* plain = AddEntity(map, "info_null"); // no origin: passes fully on its box only
        map->RebuildVisibleList();
        map->SelectObject(selector, FALSE);
        view->SelectInside(c.fully);
        EXPECT_EQ(c.selected, map->GetSelectionCount()) << c.fully;
        EXPECT_TRUE(inner->IsSelected());
        EXPECT_TRUE(light->IsSelected());
        EXPECT_EQ(!c.fully, touching->IsSelected() != FALSE);
        EXPECT_EQ(c.fully, plain->IsSelected());
        EXPECT_EQ(3, world->GetBrushCount()) << "the selector is deleted";
        EXPECT_TRUE(map->IsModified());
    }
}

TEST_F(EditCommandsTest, SelectInsideWantsExactlyOneBrush)
{
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(map->GetWorldEntity(), 0, 16, 0, 16, 0, 16);
    Entity* light = AddEntity(map, "light", "8 8 8");
    map->RebuildVisibleList();
    map->SelectObject(a, FALSE);
    map->SelectObject(b, FALSE);
    view->SelectFullyInside();
    map->DeselectAll();
    map->SelectObject(light, FALSE);
    view->SelectPartiallyInside();
    EXPECT_EQ(2, std::count(services->boxes.begin(), services->boxes.end(),
                            std::string("Must have exactly 1 brush selected for this operation")));
    EXPECT_EQ(2, map->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(2, map->GetEntities().GetCount());
}

// ---- Object files ---------------------------------------------------------------------------

TEST_F(EditCommandsTest, ExportThenImportGivesTheSameObjectsAndAnEmptyFileIsRefused)
{
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Entity* light = AddEntity(map, "light", "32 32 96");
    light->AddKeyValue("light", "300");
    map->SelectObject(a, FALSE);
    map->SelectObject(light, FALSE);
    CString expected;
    ASSERT_TRUE(map->WritePartialMap(expected));

    // Export through the dialog: the file name is answered, the folder remembered.
    const CString path = TempPath("morvane_export_test.map");
    ::DeleteFileA(path);
    AfxSeamScript([&](AfxModalCall& c) {
        EXPECT_EQ(CString("CFileDialog"), c.className);
        c.text = path;
        return (INT_PTR)IDOK;
    });
    view->ExportBrushFile();
    EXPECT_EQ(TempPath("").Left(TempPath("").GetLength() - 1),
              services->GetRememberedDirectory(CEditorServices::DIR_OBJECTS));

    Map* other = NewMap();
    {
        PlaneView otherView(other, VIEW_XY);
        AfxSeamScript([&](AfxModalCall& c) {
            c.text = path;
            return (INT_PTR)IDOK;
        });
        otherView.ImportBrushFile();
        ASSERT_EQ(2, other->GetSelectionCount());
        CString imported;
        ASSERT_TRUE(other->WritePartialMap(imported));
        EXPECT_STREQ(expected, imported);
        EXPECT_EQ(1, other->GetWorldEntity()->GetBrushCount());

        // An empty file: the box names it and nothing is imported.
        HANDLE h = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        ::CloseHandle(h);
        EXPECT_FALSE(otherView.ImportObjectFile(path));
        EXPECT_TRUE(Boxed(std::string("The brush file ") + (LPCSTR)path + " is empty"));
        EXPECT_EQ(2, other->GetEntities().GetCount());
    }
    delete other;
    ::DeleteFileA(path);

    // Cancel imports nothing and keeps the folder the dialog opened in.
    services->SetRememberedDirectory(CEditorServices::DIR_OBJECTS, "C:\\objects");
    AfxSeamAnswer(IDCANCEL);
    const int before = CountBrushes();
    view->ImportBrushFile();
    EXPECT_EQ(before, CountBrushes());
    EXPECT_STREQ("C:\\objects", services->GetRememberedDirectory(CEditorServices::DIR_OBJECTS));
}

// ---- Assign to World ------------------------------------------------------------------------

TEST_F(EditCommandsTest, AssignToWorldMovesBrushesSkipsPointEntitiesAndDropsEmptiedOwners)
{
    Entity* door = AddEntity(map, "func_door");
    Brush* b = AddBrush(door, 0, 64, 0, 64, 0, 64);
    Entity* light = AddEntity(map, "light", "8 8 8");
    map->RebuildVisibleList();
    map->SelectObject(b, FALSE);
    map->SelectObject(light, FALSE);
    map->SetCurrentEntity(door);
    view->OnAssignToWorld();
    EXPECT_EQ(map->GetWorldEntity(), b->GetOwner());
    EXPECT_EQ(1, map->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(2, map->GetEntities().GetCount()) << "the emptied door is gone, the light stays";
    EXPECT_EQ(nullptr, map->GetCurrentEntity());
    EXPECT_TRUE(map->GetVisibleList().Find(b) != nullptr);
    EXPECT_TRUE(map->IsModified());
}

// ---- Create Targets -------------------------------------------------------------------------

TEST_F(EditCommandsTest, CreateTargetsChainsTheSelection)
{
    struct Case
    {
        int count;
        BOOL circular;
        const char* expected; // "targetname/target" per object
    } cases[] = {
        {3, FALSE, "/lift2 lift2/lift3 lift3/"},
        {3, TRUE, "lift1/lift2 lift2/lift3 lift3/lift1"},
        {1, FALSE, "/"},
        {1, TRUE, "lift1/lift1"},
    };
    for (const Case& c : cases) {
        Map* m = NewMap();
        std::vector<Entity*> lights;
        for (int i = 0; i < c.count; ++i) {
            lights.push_back(AddEntity(m, "light", "0 0 0"));
            lights.back()->AddKeyValue("target", "old"); // replaced, never doubled
            m->SelectObject(lights.back(), FALSE);
        }
        ASSERT_TRUE(CreateTargetChain(m, "lift", c.circular));
        std::string got;
        for (Entity* e : lights) {
            if (!got.empty())
                got += " ";
            got += std::string(e->ValueForKey("targetname")) + "/" + e->ValueForKey("target");
        }
        EXPECT_EQ(c.expected, got) << c.count << " " << c.circular;
        delete m;
    }
    // Two brushes of one entity: the second pass overwrites, and both keys go without circular.
    Entity* train = AddEntity(map, "func_train");
    map->SelectObject(AddBrush(train, 0, 16, 0, 16, 0, 16), FALSE);
    map->SelectObject(AddBrush(train, 32, 48, 0, 16, 0, 16), FALSE);
    ASSERT_TRUE(CreateTargetChain(map, "t", FALSE));
    EXPECT_EQ(nullptr, train->FindValue("target"));
    EXPECT_EQ(nullptr, train->FindValue("targetname"));
}

TEST_F(EditCommandsTest, CreateTargetsRefusesADoubleQuoteAndCancelChangesNothing)
{
    Entity* a = AddEntity(map, "light", "0 0 0");
    Entity* b = AddEntity(map, "light", "0 0 0");
    map->SelectObject(a, FALSE);
    map->SelectObject(b, FALSE);
    services->boxes.clear(); // the unknown class of the lights
    AfxSeamScript([](AfxModalCall& c) {
        static_cast<CCreateTargetsDlg*>(c.pObject)->m_strName = "bad\"name";
        return (INT_PTR)IDOK;
    });
    view->OnCreateTargets();
    EXPECT_EQ(nullptr, a->FindValue("target"));
    EXPECT_EQ(1u, services->boxes.size());
    AfxSeamAnswer(IDCANCEL);
    view->OnCreateTargets();
    EXPECT_EQ(nullptr, a->FindValue("target"));
    AfxSeamScript([](AfxModalCall& c) {
        static_cast<CCreateTargetsDlg*>(c.pObject)->m_strName = "door";
        return (INT_PTR)IDOK;
    });
    view->OnCreateTargets();
    EXPECT_STREQ("door2", a->ValueForKey("target"));
    EXPECT_STREQ("door2", b->ValueForKey("targetname"));
    EXPECT_TRUE(map->IsModified());
}

// ---- Create Room ----------------------------------------------------------------------------

TEST(RoomWalls, InwardAndOutwardBoxes)
{
    const short box[6] = {0, 100, 0, 200, 0, 50};
    short walls[6][6];
    ASSERT_TRUE(ComputeRoomWalls(box, 10, TRUE, walls));
    const char* inward[6] = {"0 100 0 200 40 50", "0 100 0 200 0 10", "0 10 0 200 10 40",
                             "90 100 0 200 10 40", "10 90 0 10 10 40", "10 90 190 200 10 40"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(inward[i], BoxText(walls[i])) << i;
    ASSERT_TRUE(ComputeRoomWalls(box, 10, FALSE, walls));
    const char* outward[6] = {"-10 110 -10 210 50 60", "-10 110 -10 210 -10 0", "-10 0 -10 210 0 50",
                              "100 110 -10 210 0 50", "0 100 -10 0 0 50", "0 100 200 210 0 50"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(outward[i], BoxText(walls[i])) << i;
    // 16-bit limits and negative walls are refused rather than wrapped.
    const short edge[6] = {32700, 32760, 0, 64, 0, 64};
    EXPECT_FALSE(ComputeRoomWalls(edge, 16, FALSE, walls));
    EXPECT_FALSE(ComputeRoomWalls(box, -1, TRUE, walls));
    const short thin[6] = {0, 64, 0, 64, 0, 16};
    EXPECT_FALSE(RoomFitsInside(thin, 8));
    EXPECT_TRUE(RoomFitsInside(thin, 7));
}

TEST_F(EditCommandsTest, CreateRoomReplacesTheBrushBySixWallsOrRefuses)
{
    Brush* thin = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 16);
    map->RebuildVisibleList();
    map->SelectObject(thin, FALSE);
    auto answer = [](int w, int direction) {
        AfxSeamScript([=](AfxModalCall& c) {
            CRoomDlg* d = static_cast<CRoomDlg*>(c.pObject);
            d->m_nThickness = w;
            d->m_nDirection = direction;
            return (INT_PTR)IDOK;
        });
    };
    answer(8, 0);
    view->CreateRoom();
    EXPECT_TRUE(Boxed("The selected brush is not large enough to create\na room with your entered wall width."));
    EXPECT_EQ(1, CountBrushes());
    answer(8, 1);
    view->CreateRoom();
    EXPECT_EQ(6, CountBrushes());
    EXPECT_EQ(6, map->GetSelectionCount());
    EXPECT_EQ("-8 72 -8 72 16 24", BoxText(static_cast<SThing*>(map->GetSelection().GetHead())->GetBounds()));
    EXPECT_TRUE(map->GetVisibleList().Find(map->GetSelection().GetHead()) != nullptr);
}

// ---- Primitives and the map's enable rules ----------------------------------------------------

TEST_F(EditCommandsTest, PrimitivesKeepTheBrushOnCancelAndTheSphereStaysDisabled)
{
    Brush* b = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    map->RebuildVisibleList();
    map->SelectObject(b, FALSE);
    EXPECT_TRUE(Ask(map, ID_MAP_CYLINDER).on);
    EXPECT_FALSE(Ask(map, ID_MAP_SPHERE).on);
    AfxSeamAnswer(IDCANCEL);
    map->OnCmdMsg(ID_MAP_CYLINDER, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(6, b->GetFaceCount());
    EXPECT_FALSE(map->IsModified());
    AfxSeamScript([](AfxModalCall& c) {
        static_cast<CCylinderDlg*>(c.pObject)->m_nSides = 8;
        return (INT_PTR)IDOK;
    });
    map->OnCmdMsg(ID_MAP_CYLINDER, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(10, b->GetFaceCount());
    EXPECT_TRUE(map->IsModified());
    // No longer a box: the next primitive is refused with its box and the brush stays.
    map->OnCmdMsg(ID_MAP_PYRAMID, CN_COMMAND, nullptr, nullptr);
    EXPECT_TRUE(Boxed("Primitives must be inscribed in isothetic brushes"));
    EXPECT_EQ(1, map->GetSelectionCount());
    EXPECT_EQ(10, b->GetFaceCount());
    Entity* light = AddEntity(map, "light", "0 0 0");
    map->DeselectAll();
    map->SelectObject(light, FALSE);
    EXPECT_FALSE(Ask(map, ID_MAP_CYLINDER).on);
}

// ---- Space in edit controls ------------------------------------------------------------------

TEST(SpaceKey, IsTypedIntoAnEditControlAndClonesElsewhere)
{
    HWND top = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, top, nullptr, nullptr, nullptr);
    ::ShowWindow(top, SW_SHOW);
    ::SetForegroundWindow(top);
    MSG msg = {};
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_SPACE;
    ::SetFocus(edit);
    ASSERT_EQ(edit, ::GetFocus());
    msg.hwnd = edit;
    EXPECT_TRUE(IsSpaceForEditControl(&msg));
    msg.wParam = 'A';
    EXPECT_FALSE(IsSpaceForEditControl(&msg));
    ::SetFocus(top);
    msg.hwnd = top;
    msg.wParam = VK_SPACE;
    EXPECT_FALSE(IsSpaceForEditControl(&msg));
    ::DestroyWindow(top);
}

// ---- In real windows: Create Array, the frame's rules, file commands, new windows -------------

namespace {

class EditWindowsTest : public WindowTest
{
protected:
    static void Fill(Map* map)
    {
        AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
        AddEntity(map, "light", "200 200 32");
    }
    static Brush* FirstBrush(Map* map) { return static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead()); }
    std::vector<std::string> WorldBoxes(Map* map)
    {
        std::vector<std::string> out;
        for (POSITION pos = map->GetWorldEntity()->GetBrushes().GetHeadPosition(); pos;)
            out.push_back(BoxText(static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetNext(pos))->GetBounds()));
        return out;
    }
    void AnswerArray(int count, float mx, float sz)
    {
        AfxSeamScript([=](AfxModalCall& c) {
            CArrayDlg* d = static_cast<CArrayDlg*>(c.pObject);
            d->m_nTotal = count;
            d->m_move[0] = mx;
            d->m_scale[2] = sz;
            return (INT_PTR)IDOK;
        });
    }
};

} // namespace

TEST_F(EditWindowsTest, CreateArrayCopiesWithRoundedMoves)
{
    struct Case
    {
        float move, scale;
        std::vector<std::string> boxes;
    } cases[] = {
        {32.0f, 100.0f, {"0 64 0 64 0 64", "32 96 0 64 0 64", "64 128 0 64 0 64", "96 160 0 64 0 64"}},
        {0.5f, 100.0f, {"0 64 0 64 0 64", "1 65 0 64 0 64", "1 65 0 64 0 64", "2 66 0 64 0 64"}},
        {0.0f, 50.0f, {"0 64 0 64 0 64", "0 64 0 64 0 64", "0 64 0 64 0 64", "0 64 0 64 0 64"}},
    };
    for (const Case& c : cases) {
        Map* map = nullptr;
        CMapFrame* pFrame = OpenNew(&map, Fill);
        ASSERT_NE(nullptr, pFrame);
        map->SelectObject(FirstBrush(map), FALSE);
        AnswerArray(3, c.move, c.scale);
        Command(pFrame, ID_CREATE_ARRAY);
        EXPECT_EQ(c.boxes, WorldBoxes(map)) << c.move;
        EXPECT_EQ(1, map->GetSelectionCount()) << "the last copy stays selected";
        pFrame->DestroyWindow();
    }
    // Nothing set: the box, no copies.
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    map->SelectObject(FirstBrush(map), FALSE);
    services->boxes.clear(); // the unknown class of the light
    AnswerArray(3, 0.0f, 100.0f);
    Command(pFrame, ID_CREATE_ARRAY);
    EXPECT_EQ(1u, WorldBoxes(map).size());
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("No transformations were selected.", services->boxes[0]);
    // Copies that would leave the 16-bit range stop with a message before the first such copy.
    AnswerArray(3, 16000.0f, 100.0f);
    Command(pFrame, ID_CREATE_ARRAY);
    EXPECT_EQ(3u, WorldBoxes(map).size());
    EXPECT_EQ(2u, services->boxes.size());
}

// Create Array stops before the first copy of which one object would lie beyond the coordinate
// range: a plane point of a brush too, not only its box (no copy is left where the original is).
TEST_F(EditWindowsTest, CreateArrayStopsBeforeACopyWhosePlanePointsPassTheRange)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    ASSERT_NE(nullptr, pFrame);
    Brush* b = FirstBrush(map);
    // The top face's plane points 15000 units along its plane, beyond the box.
    for (int k = 0; k < 3; ++k)
        b->GetFace(0).pt[k][0] = static_cast<short>(b->GetFace(0).pt[k][0] + 15000);
    b->BuildWindings();
    ASSERT_TRUE(b->IsValid());
    ASSERT_EQ("0 64 0 64 0 64", BoxText(b->GetBounds()));
    map->SelectObject(b, FALSE);
    services->boxes.clear();
    AnswerArray(3, 6000.0f, 100.0f); // the third copy's plane points would reach 33064
    Command(pFrame, ID_CREATE_ARRAY);
    const std::vector<std::string> boxes = {"0 64 0 64 0 64", "6000 6064 0 64 0 64", "12000 12064 0 64 0 64"};
    EXPECT_EQ(boxes, WorldBoxes(map));
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("Copy 3 of the array would lie outside the map's coordinate range.\nThe array stops there.",
              services->boxes[0]);
    pFrame->DestroyWindow();
}

// Every edit command shows its result at once in the window that gave it: what the screen shows
// after the command is what a full repaint of that window shows.
TEST_F(EditWindowsTest, EditsShowAtOnceInTheWindowThatGaveThem)
{
    // An object file to import: one brush beside the others.
    const CString objects = TempPath("morvane_redraw_import.map");
    {
        Map* source = NewMap();
        source->SelectObject(AddBrush(source->GetWorldEntity(), -192, -128, 64, 128, 0, 64), FALSE);
        CString text;
        ASSERT_TRUE(source->WritePartialMap(text));
        delete source;
        FILE* f = fopen(objects, "wb");
        ASSERT_NE(nullptr, f);
        fwrite(static_cast<LPCSTR>(text), 1, static_cast<size_t>(text.GetLength()), f);
        fclose(f);
    }
    struct Case
    {
        const char* name;
        UINT id;
        bool changes; // the picture is not the same afterwards
    } cases[] = {
        {"align left", ID_ALIGN_LEFT, true},
        {"align right", ID_ALIGN_RIGHT, true},
        {"align top", ID_ALIGN_TOP, true},
        {"align bottom", ID_ALIGN_BOTTOM, true},
        {"align horizontally", ID_ALIGN_HORIZONTALLY, true},
        {"align vertically", ID_ALIGN_VERTICALLY, true},
        {"assign to world", ID_ASSIGN_TO_WORLD, false},
        {"select fully inside", ID_SELECT_FULLY_INSIDE, true},
        {"select partially inside", ID_SELECT_PARTIALLY_INSIDE, true},
        {"import", ID_IMPORT_FROM_FILE, true},
        {"create targets", ID_CREATE_TARGETS, true},
        {"create room", ID_CREATE_ROOM, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Map* map = nullptr;
        CMapFrame* pFrame = OpenNew(&map, [](Map* m) {
            Entity* wall = AddEntity(m, "func_wall");
            AddBrush(wall, 0, 96, 0, 96, 0, 96);
            AddBrush(m->GetWorldEntity(), 160, 224, 128, 256, 0, 64);
            AddEntity(m, "light", "32 -96 32");
            AddEntity(m, "light", "224 -96 32");
            m->SetShowTargetPaths(TRUE);
        });
        ASSERT_NE(nullptr, pFrame);
        pFrame->MDIMaximize();
        afxtest::PumpMessages();
        CMapXYView* xy = pFrame->GetXYView();
        Brush* wallBrush = nullptr;
        Brush* worldBrush = FirstBrush(map);
        Entity* lights[2] = {nullptr, nullptr};
        int lightCount = 0;
        for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(map->GetEntities().GetNext(pos));
            if (e->GetBrushCount() && e != map->GetWorldEntity())
                wallBrush = static_cast<Brush*>(e->GetBrushes().GetHead());
            else if (!e->GetBrushCount() && lightCount < 2)
                lights[lightCount++] = e;
        }
        ASSERT_TRUE(wallBrush && worldBrush && lights[1]);
        switch (c.id) {
        case ID_CREATE_TARGETS:
            map->SelectObject(lights[0], FALSE);
            map->SelectObject(lights[1], FALSE);
            AfxSeamScript([](AfxModalCall& call) {
                static_cast<CCreateTargetsDlg*>(call.pObject)->m_strName = "door";
                return (INT_PTR)IDOK;
            });
            break;
        case ID_CREATE_ROOM:
            map->SelectObject(worldBrush, FALSE);
            AfxSeamScript([](AfxModalCall& call) {
                static_cast<CRoomDlg*>(call.pObject)->m_nThickness = 16;
                static_cast<CRoomDlg*>(call.pObject)->m_nDirection = 0;
                return (INT_PTR)IDOK;
            });
            break;
        case ID_IMPORT_FROM_FILE:
            AfxSeamScript([&](AfxModalCall& call) {
                call.text = objects;
                return (INT_PTR)IDOK;
            });
            break;
        case ID_SELECT_FULLY_INSIDE:
        case ID_SELECT_PARTIALLY_INSIDE: {
            // A selector over the wall's brush and part of the world brush.
            Brush* selector = AddBrush(map->GetWorldEntity(), -16, 176, -16, 144, -16, 112);
            map->RebuildVisibleList();
            xy->CollectDrawList();
            xy->Invalidate();
            xy->UpdateWindow();
            map->SelectObject(selector, FALSE);
            break;
        }
        case ID_ASSIGN_TO_WORLD:
            map->SelectObject(wallBrush, FALSE);
            break;
        default:
            map->SelectObject(worldBrush, FALSE);
            map->SelectObject(wallBrush, FALSE);
            break;
        }
        xy->Invalidate();
        xy->UpdateWindow();
        const Canvas before = Canvas::FromScreen(xy);
        services->boxes.clear();
        Command(pFrame, c.id);
        afxtest::PumpMessages();
        EXPECT_TRUE(services->boxes.empty()) << (services->boxes.empty() ? "" : services->boxes[0]);
        const Canvas shown = Canvas::FromScreen(xy);
        xy->Invalidate();
        xy->UpdateWindow();
        const Canvas repainted = Canvas::FromScreen(xy);
        EXPECT_EQ(0, shown.Differences(repainted)) << "pixels of the old picture left on the screen";
        if (c.changes) {
            EXPECT_GT(repainted.Differences(before), 0) << "the command changed nothing";
        }
        pFrame->DestroyWindow();
        AfxSeamReset();
    }
    ::DeleteFileA(objects);
}

TEST_F(EditWindowsTest, CreateRoomWithThicknessZeroTakesTheGridOr16WhenItIsHidden)
{
    for (int shown = 1; shown >= 0; --shown) {
        Map* map = nullptr;
        CMapFrame* pFrame = OpenNew(&map, Fill);
        ASSERT_NE(nullptr, pFrame);
        pFrame->m_bGridShown = shown;
        pFrame->GetXYView()->ApplyGridSize(32);
        const int grid = pFrame->GetXYView()->m_nGrid;
        ASSERT_EQ(32, grid);
        map->SelectObject(FirstBrush(map), FALSE);
        AfxSeamScript([](AfxModalCall& c) {
            static_cast<CRoomDlg*>(c.pObject)->m_nThickness = 0;
            static_cast<CRoomDlg*>(c.pObject)->m_nDirection = 1;
            return (INT_PTR)IDOK;
        });
        Command(pFrame, ID_CREATE_ROOM);
        ASSERT_EQ(6, map->GetSelectionCount());
        const int w = shown ? grid : 16;
        const short* ceiling = static_cast<SThing*>(map->GetSelection().GetHead())->GetBounds();
        EXPECT_EQ(w, ceiling[5] - ceiling[4]) << shown;
        EXPECT_EQ(-w, ceiling[0]) << shown;
        pFrame->DestroyWindow();
    }
}

TEST_F(EditWindowsTest, ArrayWithAnglesWaitsForTheRotationPointThenCopies)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    ASSERT_NE(nullptr, pFrame);
    CMapXYView* xy = pFrame->GetXYView();
    map->SelectObject(FirstBrush(map), FALSE);
    AfxSeamScript([](AfxModalCall& c) {
        CArrayDlg* d = static_cast<CArrayDlg*>(c.pObject);
        d->m_nTotal = 2;
        d->m_move[1] = 64.0f;
        d->m_rotate[2] = 45.0f;
        return (INT_PTR)IDOK;
    });
    Command(pFrame, ID_CREATE_ARRAY);
    EXPECT_EQ(CMapXYView::STATE_ARRAY_ARMED, xy->m_nState);
    EXPECT_EQ(1u, WorldBoxes(map).size()) << "nothing copied before the click";
    // The click, as button messages to the view: the point is taken and the copies are made.
    xy->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 120));
    xy->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(120, 120));
    EXPECT_EQ(-1, xy->m_nState);
    const std::vector<std::string> want = {"0 64 0 64 0 64", "0 64 64 128 0 64", "0 64 128 192 0 64"};
    EXPECT_EQ(want, WorldBoxes(map));
}

TEST_F(EditCommandsTest, SelectAndDeselectRedrawTheUnionOfTwo)
{
    struct Boxes : CView
    {
        std::vector<std::string> got;
        void OnUpdate(CView*, LPARAM hint, CObject* p) override
        {
            if (hint == HINT_CHANGED && p)
                got.push_back(BoxText(static_cast<CUpdateHint*>(p)->box));
        }
        void OnDraw(CDC*) override {}
    } recorder;
    map->AddView(&recorder);
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 16, 0, 16, 0, 16);
    Brush* b = AddBrush(map->GetWorldEntity(), 32, 48, 0, 16, 0, 16);
    Brush* c = AddBrush(map->GetWorldEntity(), 64, 80, 0, 16, 0, 16);
    map->SelectObject(a, TRUE);
    map->SelectObject(b, TRUE);
    map->SelectObject(c, TRUE);
    map->DeselectObject(c);
    map->DeselectObject(b);
    map->RemoveView(&recorder);
    const std::vector<std::string> want = {"0 16 0 16 0 16", "0 48 0 16 0 16", "64 80 0 16 0 16",
                                           "64 80 0 16 0 16", "0 48 0 16 0 16"};
    EXPECT_EQ(want, recorder.got);
}

TEST_F(EditWindowsTest, TheFrameEnablesTheEditingCommandsBySelection)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    ASSERT_NE(nullptr, pFrame);
    Brush* brush = FirstBrush(map);
    Entity* light = static_cast<Entity*>(map->GetEntities().GetTail());
    Brush* second = AddBrush(map->GetWorldEntity(), 100, 164, 0, 64, 0, 64);
    const UINT ids[] = {ID_ROTATE_BY_HAND,   ID_ASSIGN_TO_WORLD,     ID_ROTATE_BY_DIALOG,        ID_IMPORT_FROM_FILE,
                        ID_EXPORT_TO_FILE,   ID_RESTRICT_AXIS_PLANE, ID_CREATE_ARRAY,            ID_CREATE_ROOM,
                        ID_SELECT_FULLY_INSIDE, ID_SELECT_PARTIALLY_INSIDE, ID_ALIGN_LEFT,       ID_ALIGN_HORIZONTALLY};
    struct Case
    {
        std::vector<SThing*> selection;
        const char* expected; // one letter per id: 1 enabled, 0 disabled
    } cases[] = {
        {{}, "000101000000"},
        {{brush}, "110111111100"},
        {{light}, "000111100000"},
        {{brush, second}, "110111100011"},
        {{brush, light}, "000111100011"},
    };
    for (const Case& c : cases) {
        map->DeselectAll();
        for (SThing* t : c.selection)
            map->SelectObject(t, FALSE);
        std::string got;
        for (UINT id : ids) {
            UI ui = Ask(pFrame, id);
            EXPECT_TRUE(ui.asked) << id;
            got += ui.on ? '1' : '0';
        }
        EXPECT_EQ(c.expected, got) << c.selection.size();
    }
}

TEST_F(EditWindowsTest, SaveAsOntoAnOpenMapIsRefusedAndANewNameIsSaved)
{
    Map* a = nullptr;
    Map* b = nullptr;
    ASSERT_NE(nullptr, OpenNew(&a, Fill));
    ASSERT_NE(nullptr, OpenNew(&b));
    const CString pathA = TempPath("morvane_saveas_a.map");
    const CString pathB = TempPath("morvane_saveas_b.map");
    ::DeleteFileA(pathA);
    ::DeleteFileA(pathB);
    services->boxes.clear(); // the unknown class of the light
    a->SetPathName(pathA, FALSE);
    b->SetPathName(TempPath("morvane_saveas_old.map"), FALSE);
    services->SetRememberedDirectory(CEditorServices::DIR_MAPS, "C:\\maps");

    AfxSeamScript([&](AfxModalCall& c) {
        CFileDialog* d = static_cast<CFileDialog*>(c.pObject);
        EXPECT_STREQ("C:\\maps", d->m_ofn.lpstrInitialDir);
        EXPECT_EQ(0u, d->m_ofn.Flags & OFN_FILEMUSTEXIST);
        c.text = pathA;
        return (INT_PTR)IDOK;
    });
    b->OnCmdMsg(ID_MAP_FILE_SAVE_AS, CN_COMMAND, nullptr, nullptr);
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ(std::string("The map ") + (LPCSTR)pathA + " is already open.", services->boxes[0]);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(pathA)) << "nothing saved";

    AfxSeamScript([&](AfxModalCall& c) {
        c.text = pathB;
        return (INT_PTR)IDOK;
    });
    b->OnCmdMsg(ID_MAP_FILE_SAVE_AS, CN_COMMAND, nullptr, nullptr);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(pathB));
    EXPECT_STREQ(pathB, b->GetPathName());
    EXPECT_EQ(TempPath("").Left(TempPath("").GetLength() - 1),
              services->GetRememberedDirectory(CEditorServices::DIR_MAPS));

    // Save follows the modified flag; Save All any modified map.
    a->SetModifiedFlag(FALSE);
    b->SetModifiedFlag(FALSE);
    EXPECT_FALSE(Ask(a, ID_MAP_FILE_SAVE).on);
    EXPECT_FALSE(Ask(a, ID_MAP_FILE_SAVE_ALL).on);
    b->SetModifiedFlag(TRUE);
    EXPECT_TRUE(Ask(a, ID_MAP_FILE_SAVE_ALL).on);
    EXPECT_TRUE(Ask(b, ID_MAP_FILE_SAVE).on);
    b->OnCmdMsg(ID_MAP_FILE_SAVE, CN_COMMAND, nullptr, nullptr);
    EXPECT_FALSE(b->IsModified());
    ::DeleteFileA(pathB);
}

namespace {

// A camera template for the test: the camera frame's place is taken by a plain frame whose view
// records the view type it was made for.
class CCameraStandIn : public CView
{
    DECLARE_DYNCREATE(CCameraStandIn)
public:
    static int s_made;
    static int s_type;
    void OnInitialUpdate() override
    {
        ++s_made;
        s_type = static_cast<Map*>(GetDocument())->GetViewType();
    }
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CCameraStandIn, CView)
int CCameraStandIn::s_made = 0;
int CCameraStandIn::s_type = 0;

class CCameraServices : public CTestViewServices
{
public:
    CDocTemplate* pCamera = nullptr;
    CDocTemplate* GetCameraTemplate() override { return pCamera; }
};

} // namespace

TEST_F(EditWindowsTest, NewWindowCommandsOpenPlaneAndCameraFrames)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    ASSERT_NE(nullptr, pFrame);
    auto countFrames = [&]() {
        int n = 0;
        for (POSITION pos = map->GetFirstViewPosition(); pos;)
            n += map->GetNextView(pos)->IsKindOf(RUNTIME_CLASS(CMapXYView)) ? 1 : 0;
        return n;
    };
    const int before = countFrames();
    map->OnCmdMsg(ID_NEW_XZ_WINDOW, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(before + 1, countFrames());
    CMapXYView* newest = nullptr;
    for (POSITION pos = map->GetFirstViewPosition(); pos;) {
        CView* v = map->GetNextView(pos);
        if (v->IsKindOf(RUNTIME_CLASS(CMapXYView)) && v != pFrame->GetXYView())
            newest = static_cast<CMapXYView*>(v);
    }
    ASSERT_NE(nullptr, newest);
    EXPECT_EQ(VIEW_XZ, newest->GetPlaneType());

    // The camera window comes from the camera template with the pending type 258.
    CCameraServices cameras;
    SetViewServices(&cameras);
    CMultiDocTemplate* pCamera = new CMultiDocTemplate(IDR_VIEWS_TEST_MAP, RUNTIME_CLASS(Map),
                                                       RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CCameraStandIn));
    cameras.pCamera = pCamera;
    CCameraStandIn::s_made = 0;
    map->OnCmdMsg(ID_NEW_CAMERA_WINDOW, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(1, CCameraStandIn::s_made);
    EXPECT_EQ(VIEW_CAMERA, CCameraStandIn::s_type);
    m_app.CloseAllDocuments(FALSE);
    SetViewServices(services);
    delete pCamera;
}

// ---- Real maps: edit, save under new names, reopen ----------------------------------------------

namespace {

struct Counts
{
    int entities = 0, brushes = 0;
    bool operator==(const Counts& o) const { return entities == o.entities && brushes == o.brushes; }
};

Counts CountMap(Map* map)
{
    Counts c;
    for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(map->GetEntities().GetNext(pos));
        ++c.entities;
        c.brushes += e->GetBrushCount() + e->GetKeptBrushCount();
    }
    return c;
}

bool Overlap(const short* a, const short* b)
{
    for (int axis = 0; axis < 3; ++axis)
        if (a[axis * 2 + 1] <= b[axis * 2] || a[axis * 2] >= b[axis * 2 + 1])
            return false;
    return true;
}

// Two valid axis-aligned world brushes whose boxes overlap with volume (their shapes then do too),
// searched among the first brushes.
bool FindOverlap(Map* map, Brush*& first, Brush*& second, int skip = 0)
{
    CPtrList& l = map->GetWorldEntity()->GetBrushes();
    std::vector<Brush*> v;
    for (POSITION pos = l.GetHeadPosition(); pos && v.size() < 400;)
        v.push_back(static_cast<Brush*>(l.GetNext(pos)));
    for (size_t i = 0; i < v.size(); ++i)
        for (size_t j = i + 1; j < v.size(); ++j)
            if (v[i]->IsValid() && v[j]->IsValid() && v[i]->IsIsothetic() && v[j]->IsIsothetic() && Overlap(v[i]->GetBounds(), v[j]->GetBounds()) && skip-- <= 0) {
                first = v[i];
                second = v[j];
                return true;
            }
    return false;
}

} // namespace

TEST_F(EditWindowsTest, RealMapsEditedSavedUnderNewNamesAndReopened)
{
    CString data = shareddata::Root().c_str();
    const CString sources[2] = {data + "\\maps\\e3m5.map", data + "\\maps\\librequake_e2m2.map"};
    SKIP_WITHOUT_SHARED_DATA(sources[0], sources[1]);
    const CString saved[2] = {TempPath("morvane_real_e3m5.map"), TempPath("morvane_real_e2m2.map")};
    Counts expected[2];
    for (int m = 0; m < 2; ++m) {
        Map* map = static_cast<Map*>(m_pTemplate->OpenDocumentFile(sources[m]));
        ASSERT_NE(nullptr, map);
        afxtest::PumpMessages();
        CMapFrame* pFrame = dynamic_cast<CMapFrame*>(m_pMain->MDIGetActive());
        ASSERT_NE(nullptr, pFrame);
        services->boxes.clear();
        Counts before = CountMap(map);

        // Intersect two overlapping world brushes: one remains, inside both boxes.
        Brush* a = nullptr;
        Brush* b = nullptr;
        ASSERT_TRUE(FindOverlap(map, a, b));
        short ab[6];
        for (int i = 0; i < 6; i += 2) {
            ab[i] = std::max(a->GetBounds()[i], b->GetBounds()[i]);
            ab[i + 1] = std::min(a->GetBounds()[i + 1], b->GetBounds()[i + 1]);
        }
        map->DeselectAll();
        map->SelectObject(a, FALSE);
        map->SelectObject(b, FALSE);
        map->OnCmdMsg(ID_MAP_INTERSECT, CN_COMMAND, nullptr, nullptr);
        EXPECT_TRUE(services->boxes.empty()) << (services->boxes.empty() ? "" : services->boxes[0]);
        Counts now = CountMap(map);
        EXPECT_EQ(before.brushes - 1, now.brushes);
        for (int i = 0; i < 6; i += 2) {
            EXPECT_GE(a->GetBounds()[i], ab[i] - 1);
            EXPECT_LE(a->GetBounds()[i + 1], ab[i + 1] + 1);
        }

        // Subtract with another overlapping brush as the cutter: the cut brushes stay valid.
        Brush* c = nullptr;
        Brush* d = nullptr;
        ASSERT_TRUE(FindOverlap(map, c, d, 1));
        map->DeselectAll();
        map->SelectObject(d, FALSE);
        map->RebuildVisibleList();
        map->OnCmdMsg(ID_MAP_SUBTRACT, CN_COMMAND, nullptr, nullptr);
        EXPECT_TRUE(services->boxes.empty()) << (services->boxes.empty() ? "" : services->boxes[0]);

        // Align two brushes left, make an array of one and a room of a box brush.
        map->DeselectAll();
        Brush* ref = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead());
        Brush* moved = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetTail());
        map->SelectObject(ref, FALSE);
        map->SelectObject(moved, FALSE);
        Command(pFrame, ID_ALIGN_LEFT);
        EXPECT_EQ(ref->GetBounds()[0], moved->GetBounds()[0]);
        map->DeselectAll();
        map->SelectObject(moved, FALSE);
        const short movedX = moved->GetBounds()[0];
        AnswerArray(2, 256.0f, 100.0f);
        Command(pFrame, ID_CREATE_ARRAY);
        ASSERT_EQ(1, map->GetSelectionCount());
        EXPECT_EQ(movedX + 512, static_cast<SThing*>(map->GetSelection().GetHead())->GetBounds()[0]);
        Brush* box = nullptr;
        for (POSITION pos = map->GetWorldEntity()->GetBrushes().GetHeadPosition(); pos && !box;) {
            Brush* br = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetNext(pos));
            const short* bb = br->GetBounds();
            if (br->IsIsothetic() && bb[1] - bb[0] > 32 && bb[3] - bb[2] > 32 && bb[5] - bb[4] > 32)
                box = br;
        }
        ASSERT_NE(nullptr, box);
        map->DeselectAll();
        map->SelectObject(box, FALSE);
        AfxSeamScript([](AfxModalCall& call) {
            static_cast<CRoomDlg*>(call.pObject)->m_nThickness = 8;
            static_cast<CRoomDlg*>(call.pObject)->m_nDirection = 0;
            return (INT_PTR)IDOK;
        });
        Command(pFrame, ID_CREATE_ROOM);
        EXPECT_EQ(6, map->GetSelectionCount());
        EXPECT_TRUE(services->boxes.empty()) << (services->boxes.empty() ? "" : services->boxes[0]);
        for (POSITION pos = map->GetWorldEntity()->GetBrushes().GetHeadPosition(); pos;)
            EXPECT_TRUE(static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetNext(pos))->IsValid());
        expected[m] = CountMap(map);

        ::DeleteFileA(saved[m]);
        AfxSeamScript([&](AfxModalCall& call) {
            call.text = saved[m];
            return (INT_PTR)IDOK;
        });
        map->OnCmdMsg(ID_MAP_FILE_SAVE_AS, CN_COMMAND, nullptr, nullptr);
        ASSERT_STREQ(saved[m], map->GetPathName());
    }
    m_app.CloseAllDocuments(FALSE);
    afxtest::PumpMessages();

    // Reopened, each map holds what was saved, and writing it again gives the same bytes.
    for (int m = 0; m < 2; ++m) {
        Map* map = static_cast<Map*>(m_pTemplate->OpenDocumentFile(saved[m]));
        ASSERT_NE(nullptr, map);
        EXPECT_TRUE(CountMap(map) == expected[m]) << m << ": " << CountMap(map).entities << " entities, "
                                                   << CountMap(map).brushes << " brushes; expected "
                                                   << expected[m].entities << ", " << expected[m].brushes;
        const CString again = TempPath("morvane_real_again.map");
        ASSERT_TRUE(map->OnSaveDocument(again));
        EXPECT_TRUE(FileBytes(saved[m]) == FileBytes(again)) << m;
        ::DeleteFileA(again);
        ::DeleteFileA(saved[m]);
    }
}

namespace {

// Two entities joined by a target line, shown in four tiled windows of the map: two XY views, an
// XZ and a YZ view. Pixels the screen shows that a whole repaint of a view would not are what a
// move left behind of the old picture.
class TargetLineTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        services->WriteProfileInt("Map Window", "Scroll Bars", 0);
        // Classes the project defines: a drag of an entity whose class is unknown ends at its first
        // step, with a box.
        const short size[6] = {-16, 16, -16, 16, -16, 16};
        for (LPCSTR name : {"trigger_relay", "info_null", "info_notnull"})
            services->AddEntityClass(name, size);
        const int types[] = {VIEW_XY, VIEW_XY, VIEW_XZ, VIEW_YZ};
        // Each new window takes the map's pending plane, as an open makes them.
        for (int type : types) {
            if (map)
                map->SetViewType(type);
            CMapFrame* pFrame = map ? OpenAnother(map) : OpenNew(&map, Fill);
            ASSERT_NE(pFrame, nullptr);
            map->SetViewType(type);
            map->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
            ASSERT_EQ(type, pFrame->GetXYView()->GetViewType());
            frames.push_back(pFrame);
        }
        map->SetShowTargetPaths(1);
        m_pMain->MDITile(MDITILE_HORIZONTAL);
        afxtest::PumpMessages();
        for (CMapFrame* pFrame : frames) {
            pFrame->m_bSnapToGrid = 0;
            CMapXYView* view = pFrame->GetXYView();
            ASSERT_NE(view, nullptr);
            view->SetPlaneScale(0.5f);
            view->CenterOnPlayerStart();
            view->Invalidate();
            view->UpdateWindow();
        }
        for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(map->GetEntities().GetNext(pos));
            if (e->FindValue("target"))
                source = e;
            if (e->FindValue("targetname"))
                destination = e;
        }
        ASSERT_TRUE(source && destination);
    }
    static void Fill(Map* m)
    {
        AddEntity(m, "trigger_relay", "-96 -64 32")->AddKeyValue("target", "t1");
        AddEntity(m, "info_null", "96 80 32")->AddKeyValue("targetname", "t1");
        AddEntity(m, "info_notnull", "-160 200 32");
    }
    // For every plane view: the pixels shown that its whole repaint changes.
    std::vector<int> StalePixels()
    {
        std::vector<int> stale;
        afxtest::PumpMessages();
        for (CMapFrame* pFrame : frames) {
            CMapXYView* view = pFrame->GetXYView();
            const std::unique_ptr<Canvas> shown = Canvas::Settled(view);
            view->Invalidate();
            view->UpdateWindow();
            const std::unique_ptr<Canvas> repainted = Canvas::Settled(view);
            stale.push_back(shown->Differences(*repainted));
        }
        return stale;
    }
    CMapXYView* View(int i) { return frames[static_cast<size_t>(i)]->GetXYView(); }
    CPoint Client(CMapXYView* view, int x, int y, int z)
    {
        return view->ProjectPoint(x, y, z) - view->GetDeviceScrollPosition();
    }

    Map* map = nullptr;
    std::vector<CMapFrame*> frames;
    Entity* source = nullptr;
    Entity* destination = nullptr;
};

} // namespace

// Moving an entity joined to another by a target line leaves no piece of the old line on the
// screen, in any plane view: after Align, after a drag in a plane view and after a nudge along the
// depth axis in another window's depth view.
TEST_F(TargetLineTest, AMovedEntityLeavesNoPieceOfItsOldTargetLine)
{
    const std::vector<int> none(4, 0);
    ASSERT_EQ(StalePixels(), none) << "before any move";
    const short* box = source->GetBounds();
    const short before[6] = {box[0], box[1], box[2], box[3], box[4], box[5]};

    // Align Top in the first XY view with an entity off the line as the reference: the source
    // goes up by 264.
    Entity* reference = static_cast<Entity*>(map->GetEntities().GetTail());
    ASSERT_STREQ("info_notnull", reference->ValueForKey("classname"));
    map->SelectObject(reference, FALSE);
    map->SelectObject(source, FALSE);
    View(0)->AlignTop();
    ASSERT_EQ(before[3] + 264, box[3]) << "the source moved";
    EXPECT_EQ(StalePixels(), none) << "after Align";

    // A drag of the source alone in the first XY view, 40 pixels to the right (80 units).
    map->DeselectAll();
    map->SelectObject(source, FALSE);
    CMapXYView* xy = View(0);
    CPoint at = Client(xy, (box[0] + box[1]) / 2, (box[2] + box[3]) / 2, 32);
    xy->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    for (int i = 1; i <= 40; i += 3)
        xy->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + i, at.y));
    xy->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x + 40, at.y));
    ASSERT_GT(box[0], before[0] + 60) << "the source moved";
    EXPECT_EQ(StalePixels(), none) << "after a drag";

    // A nudge in the XZ window's depth view: the source goes along y.
    CMapZView* z = frames[2]->GetZView();
    ASSERT_NE(z, nullptr);
    z->Invalidate();
    z->UpdateWindow();
    const short y0 = box[2];
    // The selection's band, as the view drew it.
    const int row = z->m_rcBand.CenterPoint().y - z->GetDeviceScrollPosition().y;
    const int x = z->m_rcBand.CenterPoint().x;
    z->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, row));
    ASSERT_EQ(z->m_nState, CMapZView::STATE_MOVE);
    for (int i = 1; i <= 12; ++i)
        z->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, row - i));
    z->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, row - 12));
    ASSERT_NE(y0, box[2]) << "the source moved";
    EXPECT_EQ(StalePixels(), none) << "after a nudge";
}

// Deleting an entity joined to another by a target line takes its line off the screen in every
// plane view, whichever end goes.
TEST_F(TargetLineTest, ADeletedEntityLeavesNoPieceOfItsTargetLine)
{
    const std::vector<int> none(4, 0);
    ASSERT_EQ(StalePixels(), none) << "before the deletion";
    map->SelectObject(destination, TRUE);
    ASSERT_EQ(StalePixels(), none) << "with the destination selected";
    ASSERT_TRUE(map->DeleteSelection(TRUE));
    EXPECT_EQ(StalePixels(), none) << "after the destination went";
    // The pair back, and the other end deleted.
    Entity* again = AddEntity(map, "info_null", "96 80 32");
    again->AddKeyValue("targetname", "t1");
    map->ObjectsRebuilt();
    map->UpdateAllViews(nullptr, HINT_REDRAW);
    ASSERT_EQ(StalePixels(), none) << "with the pair back";
    map->SelectObject(source, TRUE);
    ASSERT_EQ(StalePixels(), none) << "with the source selected";
    ASSERT_TRUE(map->DeleteSelection(TRUE));
    EXPECT_EQ(StalePixels(), none) << "after the source went";
}


