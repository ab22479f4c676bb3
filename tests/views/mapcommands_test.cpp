// The map document's own commands: camera motion, CSG, handle toggles, cycling, deselection.
#include "MapCommands.h"
#include "WindowFixture.h"
#include <algorithm>
#include <string>

namespace {

class MapCommandsTest : public ViewsTest
{
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        map = NewMap();
        map->AddView(&recorder);
    }
    void TearDown() override
    {
        map->RemoveView(&recorder);
        delete map;
        ViewsTest::TearDown();
    }
    void Command(UINT id) { map->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
    struct UI : CCmdUI
    {
        BOOL on = TRUE;
        int check = -1;
        void Enable(BOOL b) override
        {
            on = b;
            m_bEnableChanged = TRUE;
        }
        void SetCheck(int n) override { check = n; }
    };
    UI Update(UINT id)
    {
        UI ui;
        ui.m_nID = id;
        map->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui;
    }
    bool Got(LPARAM hint) const
    {
        return std::find(recorder.hints.begin(), recorder.hints.end(), hint) != recorder.hints.end();
    }
    Map* map = nullptr;
    CHintRecorder recorder;
};

// Records the boxes of the camera hints too.
class CBoxRecorder : public CView
{
public:
    std::vector<std::string> boxes;
    void OnUpdate(CView*, LPARAM hint, CObject* p) override
    {
        if (hint != HINT_CAMERA || !p)
            return;
        const short* b = static_cast<CUpdateHint*>(p)->box;
        char buf[96];
        snprintf(buf, sizeof buf, "%d %d %d %d %d %d", b[0], b[1], b[2], b[3], b[4], b[5]);
        boxes.push_back(buf);
    }
    void OnDraw(CDC*) override {}
};

} // namespace

TEST_F(MapCommandsTest, CameraMotionMovesTheCurrentCamera)
{
    struct
    {
        UINT id;
        int yaw;
        int tx, ty, tz, pitch, yawAfter;
    } cases[] = {
        {ID_CAMERA_FORWARD, 0, 0, 0, 15, 0, 0},     {ID_CAMERA_FORWARD, 90, -15, 0, 0, 0, 90},
        {ID_CAMERA_BACKWARD, 0, 0, 0, -15, 0, 0},   {ID_CAMERA_TURN_LEFT, 0, 0, 0, 0, 0, -5},
        {ID_CAMERA_TURN_RIGHT, 0, 0, 0, 0, 0, 5},   {ID_CAMERA_UP, 0, 0, -5, 0, 0, 0},
        {ID_CAMERA_DOWN, 0, 0, 5, 0, 0, 0},         {ID_CAMERA_PITCH_UP, 0, 0, 0, 0, -5, 0},
        {ID_CAMERA_PITCH_DOWN, 0, 0, 0, 0, 5, 0},
    };
    // Nothing happens without a camera.
    Command(ID_CAMERA_FORWARD);
    EXPECT_FALSE(Got(HINT_CAMERA));
    for (auto& c : cases) {
        CameraRecord cam;
        cam.yaw = c.yaw;
        map->AddCamera(&cam);
        Command(c.id);
        EXPECT_EQ(c.tx, cam.tx) << c.id;
        EXPECT_EQ(c.ty, cam.ty) << c.id;
        EXPECT_EQ(c.tz, cam.tz) << c.id;
        EXPECT_EQ(c.pitch, cam.pitch) << c.id;
        EXPECT_EQ(c.yawAfter, cam.yaw) << c.id;
        map->RemoveCamera(&cam);
    }

    // Up: the hint box spans the old and new eye (z from the negated ty).
    CameraRecord cam;
    cam.tx = 10;
    cam.ty = 20;
    cam.tz = 30;
    map->AddCamera(&cam);
    CBoxRecorder boxes;
    map->AddView(&boxes);
    Command(ID_CAMERA_UP);
    map->RemoveView(&boxes);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("10 10 -30 -30 -20 -15", boxes.boxes[0]);
    for (int i = 0; i < 72; ++i)
        Command(ID_CAMERA_TURN_RIGHT);
    EXPECT_EQ(360, cam.yaw);
    map->RemoveCamera(&cam);

    // At the ends of the 16-bit coordinate range the eye stops: it never wraps to the far side of
    // the map, where the plane views would draw and pick its glyph.
    CameraRecord edge;
    edge.tx = 32760;
    edge.ty = -32766;
    edge.yaw = 90;
    map->AddCamera(&edge);
    Command(ID_CAMERA_BACKWARD);
    Command(ID_CAMERA_UP);
    EXPECT_EQ(32767, edge.tx);
    EXPECT_EQ(-32768, edge.ty);
    map->RemoveCamera(&edge);
}

TEST_F(MapCommandsTest, DeselectingAnObjectNotSelectedDoesNothingAndCyclingWraps)
{
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(map->GetWorldEntity(), 32, 96, 0, 64, 0, 64);
    Brush* c = AddBrush(map->GetWorldEntity(), 200, 264, 0, 64, 0, 64);
    map->DeselectObject(a); // never selected: no fault, no change
    EXPECT_EQ(0, map->GetSelectionCount());

    for (Brush* t : {a, b, c}) {
        CycleCandidate* cand = new CycleCandidate;
        cand->thing = t;
        map->GetCycleList().AddTail(cand);
    }
    map->SelectObject(a, FALSE);
    map->SetCyclePosition(map->GetCycleList().GetHeadPosition());
    map->DeselectAll(); // the user deselected before cycling
    Command(ID_CYCLE_SELECTION_DOWN);
    ASSERT_EQ(1, map->GetSelectionCount());
    EXPECT_EQ(b, map->GetSelection().GetHead());
    Command(ID_CYCLE_SELECTION_DOWN);
    EXPECT_EQ(c, map->GetSelection().GetHead());
    Command(ID_CYCLE_SELECTION_DOWN); // wraps to the first
    ASSERT_EQ(1, map->GetSelectionCount());
    EXPECT_EQ(a, map->GetSelection().GetHead());
    Command(ID_CYCLE_SELECTION_UP); // wraps to the last
    EXPECT_EQ(c, map->GetSelection().GetHead());
    Command(ID_KEEP_CYCLE_UP); // keeps c, adds b
    EXPECT_EQ(2, map->GetSelectionCount());
    EXPECT_TRUE(c->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    Command(ID_KEEP_CYCLE_DOWN);
    EXPECT_EQ(2, map->GetSelectionCount()); // c was selected already
}

TEST_F(MapCommandsTest, SubtractAndIntersectOverlappingWorldBrushes)
{
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Brush* b = AddBrush(map->GetWorldEntity(), 32, 96, 0, 64, 0, 64);
    Entity* light = AddEntity(map, "light", "0 0 0");
    map->RebuildVisibleList();

    EXPECT_FALSE(Update(ID_MAP_SUBTRACT).on);
    map->SelectObject(a, FALSE);
    map->SelectObject(b, FALSE);
    EXPECT_FALSE(Update(ID_MAP_SUBTRACT).on);
    EXPECT_TRUE(Update(ID_MAP_INTERSECT).on);
    map->SelectObject(light, FALSE);
    EXPECT_FALSE(Update(ID_MAP_INTERSECT).on);
    map->DeselectObject(light);

    Command(ID_MAP_INTERSECT);
    ASSERT_EQ(1, map->GetWorldEntity()->GetBrushCount());
    const short* box = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead())->GetBounds();
    EXPECT_EQ(32, box[0]);
    EXPECT_EQ(64, box[1]);
    EXPECT_TRUE(map->IsModified());

    // Subtract a cutter from a brush it overlaps: the brush becomes pieces outside it.
    map->DeselectAll();
    Brush* cutter = AddBrush(map->GetWorldEntity(), 40, 56, -16, 80, -16, 80);
    map->RebuildVisibleList();
    map->SelectObject(cutter, FALSE);
    EXPECT_TRUE(Update(ID_MAP_SUBTRACT).on);
    Command(ID_MAP_SUBTRACT);
    EXPECT_EQ(services->boxes.end(),
              std::find(services->boxes.begin(), services->boxes.end(), "An error occured while subtracting"));
    EXPECT_EQ(3, map->GetWorldEntity()->GetBrushCount()); // the cutter and two pieces
    EXPECT_TRUE(Got(HINT_REDRAW));
}

TEST_F(MapCommandsTest, HandleTogglesFlipAndShowTheirCheck)
{
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    EXPECT_FALSE(Update(ID_TOGGLE_FACE_POINTS).on);
    map->SelectObject(a, FALSE);
    struct
    {
        UINT id;
        BYTE Map::*flag;
    } cases[] = {{ID_TOGGLE_FACE_POINTS, &Map::m_showFacePoints},
                 {ID_TOGGLE_EDGE_POINTS, &Map::m_showEdgePoints},
                 {ID_TOGGLE_VERTEX_POINTS, &Map::m_showVertexPoints}};
    for (auto& c : cases) {
        EXPECT_TRUE(Update(c.id).on);
        EXPECT_EQ(1, Update(c.id).check);
        recorder.hints.clear();
        Command(c.id);
        EXPECT_EQ(0, map->*c.flag);
        EXPECT_EQ(0, Update(c.id).check);
        EXPECT_TRUE(Got(HINT_CHANGED));
    }
    recorder.hints.clear();
    Command(ID_APPLY_MARKED);
    EXPECT_TRUE(Got(HINT_DEFAULT_TEXTURE));
}
