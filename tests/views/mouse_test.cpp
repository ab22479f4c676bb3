// Mouse editing in the plane view: the order of the pick candidates, and a real 2D window driven
// by synthesized input (clicks, Shift and Ctrl clicks, moves with restrictions, the rubber band,
// rotate by hand, handles, camera glyphs, the right button) or by button messages where the
// system's input cannot make the case (another window taking the capture).
#include <atomic>
#include "IniFile.h"
#include "Texture.h"
#include "ViewsRes.h"
#include "WindowFixture.h"
#include "afxwndtest.h"
#include "shareddata.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string BoxText(const short* b)
{
    char buf[96];
    snprintf(buf, sizeof buf, "%d %d %d %d %d %d", b[0], b[1], b[2], b[3], b[4], b[5]);
    return buf;
}

// Candidate ids stand in for objects: the list is ordered, never followed.
std::string Order(CPtrList& list)
{
    std::string s;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* c = static_cast<CycleCandidate*>(list.GetNext(pos));
        s += std::to_string(reinterpret_cast<intptr_t>(c->thing)) + " ";
    }
    return s;
}

// Records what an update handler said.
class TextCmdUI : public CCmdUI
{
public:
    explicit TextCmdUI(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetText(LPCSTR text) override { this->text = text; }
    BOOL enabled = TRUE;
    std::string text;
};

TextCmdUI Update(CCmdTarget* target, UINT id)
{
    TextCmdUI ui(id);
    target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui;
}

} // namespace

// The insertion keeps the nearest object first; equal keys go as the rules place them.
TEST(PlanePick, CandidatesAreInsertedByDepthKey)
{
    struct
    {
        BOOL ascending;
        std::vector<int> keys; // candidate i has id i + 1
        const char* order;
    } cases[] = {
        {FALSE, {3, 5}, "2 1 "},
        {FALSE, {3, 3}, "1 2 "},          // one record: only a greater key goes in front
        {FALSE, {5, 3, 4}, "1 3 2 "},
        {FALSE, {5, 3, 3}, "1 3 2 "},     // longer: after the first record not below it
        {FALSE, {5, 3, 5}, "3 1 2 "},     // not below the first: in front
        {FALSE, {5, 3, 1, 2}, "1 2 4 3 "},
        {FALSE, {5, 3, 1}, "1 2 3 "},
        {TRUE, {3, 5}, "1 2 "},
        {TRUE, {3, 3}, "2 1 "},           // one record: a key not above it goes in front
        {TRUE, {1, 5, 3}, "1 3 2 "},
        {TRUE, {1, 5, 1}, "1 3 2 "},      // longer: only a smaller key goes in front
        {TRUE, {1, 5, 0}, "3 1 2 "},
        {TRUE, {1, 5, 9}, "1 2 3 "},
    };
    for (auto& c : cases) {
        CPtrList list;
        for (size_t i = 0; i < c.keys.size(); ++i) {
            auto* cand = new CycleCandidate;
            cand->thing = reinterpret_cast<SThing*>(static_cast<intptr_t>(i + 1));
            cand->key = c.keys[i];
            CMapXYView::InsertCandidate(list, cand, c.ascending);
        }
        EXPECT_EQ(c.order, Order(list)) << c.ascending << " " << c.keys.size();
        while (!list.IsEmpty())
            delete static_cast<CycleCandidate*>(list.RemoveHead());
    }
}

namespace {

class PickTest : public ViewsTest
{
};

} // namespace

// Per view type: entity candidates first, then world brushes, nearest the viewer first (top in
// XY, front in XZ, right in YZ); a point on the box's maximum edge is outside it.
TEST_F(PickTest, PickAtPointListsEntitiesFirstThenWorldBrushesByDepth)
{
    Map* map = NewMap();
    Entity* world = map->GetWorldEntity();
    Brush* w1 = AddBrush(world, 0, 64, 0, 64, 0, 32);
    Brush* w2 = AddBrush(world, 0, 80, -16, 64, 0, 96);
    Brush* w3 = AddBrush(world, 0, 72, 8, 64, -32, 64);
    Entity* door = AddEntity(map, "func_door");
    Brush* e1 = AddBrush(door, 0, 64, 0, 64, 0, 16);
    map->RebuildVisibleList();
    std::map<SThing*, std::string> names = {{w1, "w1"}, {w2, "w2"}, {w3, "w3"}, {e1, "e1"}};
    struct
    {
        int type;
        int x, y, z;
        const char* order;
    } cases[] = {
        {VIEW_XY, 32, 32, 8, "e1 w2 w3 w1 "},
        {VIEW_XZ, 32, 32, 8, "e1 w2 w1 w3 "},
        {VIEW_YZ, 32, 32, 8, "e1 w2 w3 w1 "},
        {VIEW_XY, 64, 32, 8, "w2 w3 "},     // the maximum x edge of w1 and e1
        {VIEW_XY, 0, 32, 8, "e1 w2 w3 w1 "}, // the minimum x edge belongs to every box
    };
    for (auto& c : cases) {
        PlaneView pv(map, c.type);
        CPoint at = pv.ProjectPoint(c.x, c.y, c.z);
        pv.PickAtPoint(at.x, at.y);
        std::string order;
        for (POSITION pos = map->GetCycleList().GetHeadPosition(); pos;)
            order += names[static_cast<CycleCandidate*>(map->GetCycleList().GetNext(pos))->thing] + " ";
        EXPECT_EQ(c.order, order) << c.type << " " << c.x;
    }
    delete map;
}

namespace {

// One texture by name, as a loaded WAD would give it.
class OneTexture : public CTextureSource
{
public:
    OneTexture() { tex.name = "wall1"; }
    Texture* FindTexture(LPCSTR name) override { return lstrcmpiA(name, "wall1") == 0 ? &tex : nullptr; }
    Texture tex;
};

// A maximised 2D window at plane scale 1 whose client shows world x from -100 and y up to 400;
// snap to grid off. A world brush 0..256 square and a light over it.
class MouseTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        services->WriteProfileInt("Brush", "Shear Warning", 1);
        pFrame = OpenNew(&map, Fill);
        ASSERT_NE(pFrame, nullptr);
        pFrame->MDIMaximize();
        afxtest::PumpMessages();
        xy = pFrame->GetXYView();
        ASSERT_NE(xy, nullptr);
        xy->SetPlaneScale(1.0f);
        xy->ScrollToDevicePosition(CPoint(8192 / 2 - 100, 8192 / 2 - 400));
        pFrame->m_bSnapToGrid = 0;
        pFrame->m_bSnapToAngle = 1;
        xy->UpdateWindow();
        ASSERT_TRUE(afxtest::Activate(m_pMain));
        afxtest::PumpMessages();
        brush = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead());
        light = static_cast<Entity*>(map->GetEntities().GetTail());
        services->boxes.clear(); // the light's class is unknown here
    }
    void TearDown() override
    {
        SetTextureSource(nullptr);
        WindowTest::TearDown();
    }
    static void Fill(Map* m)
    {
        AddBrush(m->GetWorldEntity(), 0, 256, 0, 256, 0, 64);
        Entity* e = AddEntity(m, "light", "64 64 32");
        const short box[6] = {56, 72, 56, 72, 24, 40};
        e->SetBounds(box);
    }
    // The screen point of a world point of the view's two axes.
    CPoint Screen(int h, int v)
    {
        int xyz[3] = {0, 0, 0};
        int a, b, d;
        ViewAxes(xy->GetPlaneType(), a, b, d);
        xyz[a] = h;
        xyz[b] = v;
        CPoint p = xy->ProjectPoint(xyz[0], xyz[1], xyz[2]) - xy->GetDeviceScrollPosition();
        xy->ClientToScreen(&p);
        return p;
    }
    BOOL Click(CPoint at)
    {
        afxtest::InputScript s;
        s.MoveTo(at).Down().Up();
        return s.Run();
    }
    // A click with Shift or Ctrl held. Wine takes its modifier state from the X server at each
    // pointer event, so a synthesized Shift or Ctrl never reaches the button messages: these
    // clicks are button messages with the key flag.
    void ClickWith(CPoint at, WPARAM key)
    {
        Send(WM_LBUTTONDOWN, at, MK_LBUTTON | key);
        Send(WM_LBUTTONUP, at, key);
    }
    BOOL DragTo(CPoint from, CPoint to, int steps = 4, bool right = false)
    {
        afxtest::InputScript s;
        s.MoveTo(from).Down(right).MoveInSteps(to, steps).Up(right);
        return s.Run();
    }
    // Button messages straight to the view (client points of world points).
    void Send(UINT msg, CPoint screen, WPARAM keys = 0)
    {
        xy->ScreenToClient(&screen);
        xy->SendMessage(msg, keys, MAKELPARAM(screen.x, screen.y));
    }
    bool Selected(SThing* t) { return map->GetSelection().Find(t) != nullptr; }

    Map* map = nullptr;
    CMapFrame* pFrame = nullptr;
    CMapXYView* xy = nullptr;
    Brush* brush = nullptr;
    Entity* light = nullptr;
};

} // namespace

// A press and release that moved 2 pixels selects; 3 pixels move the selection by 3 world units.
TEST_F(MouseTest, TwoPixelsSelectThreePixelsMove)
{
    ASSERT_TRUE(Click(Screen(200, 200)));
    ASSERT_EQ(1, map->GetSelectionCount());
    EXPECT_TRUE(Selected(brush));
    EXPECT_EQ(-1, xy->m_nState);

    ASSERT_TRUE(DragTo(Screen(180, 160), Screen(182, 160), 2));
    EXPECT_TRUE(Selected(brush));
    EXPECT_EQ("0 256 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_FALSE(map->IsModified());

    ASSERT_TRUE(DragTo(Screen(160, 120), Screen(163, 120), 3));
    EXPECT_EQ("3 259 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_TRUE(Selected(brush));
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(-1, xy->m_nState);
}

// A drag moves the whole selection by the pointer's distance, or nothing: a step that would take
// one object past the 16-bit coordinate range (a brush at the range's end, a light whose origin
// would pass it) moves none (no object wraps to the far side of the map, none is left behind),
// one box says so, and the saved map holds every object where it was.
TEST_F(MouseTest, ADragPastTheCoordinateRangeMovesNothing)
{
    Brush* edge = AddBrush(map->GetWorldEntity(), 32740, 32767, 0, 64, 0, 64);
    Entity* outer = AddEntity(map, "light", "32760 0 32");
    struct Case
    {
        const char* what;
        std::vector<SThing*> with; // besides the brush and the light in view
        const char* box;
    } cases[] = {
        {"a brush", {edge}, "A moved brush would lie outside the map's coordinate range.\nThe whole selection stays where it was."},
        {"a light", {outer}, "A moved entity would lie outside the map's coordinate range.\nThe whole selection stays where it was."},
        {"both", {edge, outer}, "2 moved objects would lie outside the map's coordinate range.\nThe whole selection stays where it was."},
    };
    int row = 100; // each drag starts elsewhere: two presses at one point would be a double click
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        row += 30;
        map->DeselectAll();
        map->SelectObject(brush, FALSE);
        map->SelectObject(light, FALSE);
        for (SThing* t : c.with)
            map->SelectObject(t, FALSE);
        map->SetModifiedFlag(FALSE);
        services->boxes.clear();
        ASSERT_TRUE(DragTo(Screen(160, row), Screen(192, row), 1));
        EXPECT_EQ("0 256 0 256 0 64", BoxText(brush->GetBounds()));
        EXPECT_STREQ("64 64 32", light->ValueForKey("origin"));
        EXPECT_EQ("32740 32767 0 64 0 64", BoxText(edge->GetBounds()));
        EXPECT_STREQ("32760 0 32", outer->ValueForKey("origin"));
        EXPECT_EQ("32744 32767 -16 16 16 48", BoxText(outer->GetBounds()));
        ASSERT_EQ(1u, services->boxes.size());
        EXPECT_EQ(c.box, services->boxes[0]);
        EXPECT_FALSE(map->IsModified());
    }

    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    const CString saved = CString(dir) + "morvane_drag_range.map";
    ASSERT_TRUE(map->OnSaveDocument(saved));
    const std::string text = FileBytes(saved);
    ::DeleteFileA(saved);
    EXPECT_NE(std::string::npos, text.find("\"origin\" \"32760 0 32\""));
    EXPECT_NE(std::string::npos, text.find("\"origin\" \"64 64 32\""));
    EXPECT_NE(std::string::npos, text.find("( 32767 "));
    EXPECT_EQ(std::string::npos, text.find("32792"));

    // Back towards the map: all move.
    services->boxes.clear();
    ASSERT_TRUE(DragTo(Screen(192, 120), Screen(160, 120), 1));
    EXPECT_EQ("-32 224 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_STREQ("32 64 32", light->ValueForKey("origin"));
    EXPECT_EQ("32708 32735 0 64 0 64", BoxText(edge->GetBounds()));
    EXPECT_STREQ("32728 0 32", outer->ValueForKey("origin"));
    EXPECT_EQ("32712 32744 -16 16 16 48", BoxText(outer->GetBounds()));
}

// A box that a step of a selection drag brings comes up with the mouse free (a box under a held
// capture takes no clicks): the drag ends at that step, as the release would end it, the objects
// where the last step that fitted left them, and the moves after it change nothing. Steps of 8
// units: toward the range's end the third would take a brush past it; a light of a class the
// project does not define moves with the first and is told about.
TEST_F(MouseTest, ABoxOfASelectionDragComesUpWithTheMouseFree)
{
    Brush* edge = AddBrush(map->GetWorldEntity(), 32700, 32747, 0, 64, 0, 64);
    struct Case
    {
        const char* what;
        std::vector<SThing*> selected;
        const char* box;
        const char* brushAfter;
        const char* edgeAfter;
        const char* lightOrigin;
    } cases[] = {
        {"toward the range's end", {brush, edge},
         "A moved brush would lie outside the map's coordinate range.\nThe whole selection stays where it was.",
         "16 272 0 256 0 64", "32716 32763 0 64 0 64", "64 64 32"},
        {"an unknown class", {light},
         "The classname: light\ncould not be found in any of the .qc files in the current project.",
         "16 272 0 256 0 64", "32716 32763 0 64 0 64", "72 64 32"},
    };
    int row = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        row += 30;
        map->DeselectAll();
        for (SThing* t : c.selected)
            map->SelectObject(t, FALSE);
        services->boxes.clear();
        services->boxCaptures.clear();
        Send(WM_LBUTTONDOWN, Screen(160, row), MK_LBUTTON);
        for (int x = 168; x <= 192; x += 8)
            Send(WM_MOUSEMOVE, Screen(x, row), MK_LBUTTON);
        Send(WM_LBUTTONUP, Screen(192, row));
        ASSERT_FALSE(services->boxes.empty());
        EXPECT_EQ(1u, services->boxes.size());
        EXPECT_EQ(c.box, services->boxes[0]);
        EXPECT_EQ(nullptr, services->boxCaptures[0]);
        EXPECT_EQ(c.brushAfter, BoxText(brush->GetBounds()));
        EXPECT_EQ(c.edgeAfter, BoxText(edge->GetBounds()));
        EXPECT_STREQ(c.lightOrigin, light->ValueForKey("origin"));
        EXPECT_EQ(-1, xy->m_nState);
        EXPECT_EQ(nullptr, CWnd::GetCapture());
    }
}

// A command given during a drag (a key while the view holds the mouse: Paste, sent as its
// accelerator sends it) ends the drag first, as its release would end it, the objects where the
// last step left them; then the command runs, and its boxes come up with the mouse free: one that
// tells (the pasted copy would pass the coordinate range) and one that asks (the Entity Editor
// holds changes not applied). A rubber band that the command ends makes no brush; the pressed
// point of a turn is not taken, the turn waiting for its click again.
TEST_F(MouseTest, ABoxOfACommandGivenDuringADragComesUpWithTheMouseFree)
{
    Brush* edge = AddBrush(map->GetWorldEntity(), 32740, 32767, 0, 64, 0, 64);
    const std::string refused = "A pasted brush would lie outside the map's coordinate range.\nNothing was pasted.";
    const std::string unapplied = "The current entity had been changed, without being applied.\n\n"
                                  "Press OK to apply the changes and continue.\nPress Cancel to cancel the operation.";
    struct Case
    {
        const char* what;
        int pressed;    // the operation of the press: a move, a band (nothing selected), a turn's point
        bool unapplied; // the Entity Editor holds changes when the command comes
        std::vector<std::string> boxes;
        int after; // the view's state after the command
        const char* brushAfter;
    } cases[] = {
        {"a box that tells", CMapXYView::STATE_MOVING, false, {refused}, -1, "16 272 16 272 0 64"},
        {"a box that asks", CMapXYView::STATE_MOVING, true, {unapplied, refused}, -1, "32 288 32 288 0 64"},
        {"a rubber band", CMapXYView::STATE_BAND, false, {refused}, -1, "32 288 32 288 0 64"},
        {"the point of a turn", CMapXYView::STATE_ROTATE_CENTRE, false, {refused}, CMapXYView::STATE_ROTATE_ARMED,
         "32 288 32 288 0 64"},
    };
    int row = 100; // each drag starts elsewhere: two presses at one point would be a double click
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        row += 30;
        // The clipboard holds the brush at the range's end: its pasted copy, a grid step on, would pass it.
        map->DeselectAll();
        map->SelectObject(edge, FALSE);
        ASSERT_TRUE(xy->Copy());
        map->DeselectAll();
        if (c.pressed != CMapXYView::STATE_BAND)
            map->SelectObject(brush, FALSE);
        if (c.pressed == CMapXYView::STATE_ROTATE_CENTRE)
            xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
        const int brushes = map->GetWorldEntity()->GetBrushCount();
        services->boxes.clear();
        services->boxCaptures.clear();
        services->applied = 0;
        Send(WM_LBUTTONDOWN, Screen(200, row), MK_LBUTTON);
        for (int d = 8; d <= 16; d += 8)
            Send(WM_MOUSEMOVE, Screen(200 + d, row + d), MK_LBUTTON);
        ASSERT_EQ(c.pressed, xy->m_nState);
        ASSERT_TRUE(services->boxes.empty());
        services->unapplied = c.unapplied;
        m_pMain->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_PASTE, 1), 0);
        services->unapplied = FALSE;
        EXPECT_EQ(c.boxes, services->boxes);
        EXPECT_EQ(std::vector<HWND>(c.boxes.size(), nullptr), services->boxCaptures);
        EXPECT_EQ(c.unapplied ? 1 : 0, services->applied);
        EXPECT_EQ(c.after, xy->m_nState);
        EXPECT_EQ(nullptr, CWnd::GetCapture());
        EXPECT_FALSE(map->m_bRubberBand);
        // The moves after it and the release change nothing.
        Send(WM_MOUSEMOVE, Screen(232, row + 32), MK_LBUTTON);
        Send(WM_LBUTTONUP, Screen(232, row + 32));
        EXPECT_EQ(c.brushAfter, BoxText(brush->GetBounds()));
        EXPECT_EQ("32740 32767 0 64 0 64", BoxText(edge->GetBounds()));
        EXPECT_EQ(brushes, map->GetWorldEntity()->GetBrushCount());
        EXPECT_EQ(c.boxes.size(), services->boxes.size());
        EXPECT_EQ(c.after, xy->m_nState);
    }
}

// With the grid snap on, the anchor and the pointer snap to the grid: a 31-pixel drag moves two
// grid steps.
TEST_F(MouseTest, SnappedMovesGoByGridSteps)
{
    pFrame->m_bSnapToGrid = 1;
    ASSERT_EQ(16, xy->m_nGridPixels);
    map->SelectObject(brush, TRUE);
    ASSERT_TRUE(DragTo(Screen(198, 198), Screen(229, 198), 4));
    EXPECT_EQ("32 288 0 256 0 64", BoxText(brush->GetBounds()));
}

// Shift-clicks walk the candidates of the last pick, the entity before the world brush; a
// Ctrl-click adds or takes away one object.
TEST_F(MouseTest, ShiftWalksTheCandidatesAndCtrlToggles)
{
    ASSERT_TRUE(Click(Screen(64, 64)));
    EXPECT_TRUE(Selected(light));
    EXPECT_EQ(1, map->GetSelectionCount());
    EXPECT_EQ(light, map->GetCurrentEntity());

    ClickWith(Screen(60, 66), MK_SHIFT);
    EXPECT_TRUE(Selected(brush));
    EXPECT_EQ(1, map->GetSelectionCount());
    EXPECT_EQ(map->GetWorldEntity(), map->GetCurrentEntity());

    // The walk ends: nothing more under the point, and the previous object was let go.
    ClickWith(Screen(66, 60), MK_SHIFT);
    EXPECT_EQ(0, map->GetSelectionCount());

    ASSERT_TRUE(Click(Screen(58, 58))); // apart from the first click: no double click
    ASSERT_TRUE(Selected(light));
    ClickWith(Screen(200, 200), MK_CONTROL);
    EXPECT_TRUE(Selected(light));
    EXPECT_TRUE(Selected(brush));
    EXPECT_EQ(nullptr, map->GetCurrentEntity()); // two entities selected
    ClickWith(Screen(210, 190), MK_CONTROL);
    EXPECT_TRUE(Selected(light));
    EXPECT_FALSE(Selected(brush));
    EXPECT_EQ(1, map->GetSelectionCount());

    // Ctrl held beyond the move margin: the drag of the selection is next, nothing moved.
    Send(WM_LBUTTONDOWN, Screen(64, 64), MK_LBUTTON | MK_CONTROL);
    Send(WM_MOUSEMOVE, Screen(70, 64), MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(CMapXYView::STATE_DRAG_PENDING, xy->m_nState);
    Send(WM_LBUTTONUP, Screen(70, 64), MK_CONTROL);
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ("56 72 56 72 24 40", BoxText(light->GetBounds()));
}

// The X restriction in the XY view: a drag moves only along y, and the move cursor says so.
TEST_F(MouseTest, RestrictedAxisDoesNotMove)
{
    services->SetAxisRestrictions(1, 0, 0);
    map->SelectObject(brush, TRUE);
    ASSERT_TRUE(DragTo(Screen(200, 200), Screen(240, 232), 4));
    EXPECT_EQ("0 256 32 288 0 64", BoxText(brush->GetBounds()));
    EXPECT_EQ(xy->m_axisRestrict[0], 1);
    // One object moved on: new brushes take its box.
    EXPECT_EQ("0 256 32 288 0 64", BoxText(map->m_newBrushRange));

    // The cursor of a move by the restrictions of the view's two axes.
    struct
    {
        int x, y;
        UINT cursor;
    } cases[] = {{0, 0, IDC_VIEW_MOVE},
                 {1, 0, IDC_VIEW_MOVE_VERTICAL},
                 {0, 1, IDC_VIEW_MOVE_HORIZONTAL},
                 {1, 1, IDC_VIEW_MOVE_LOCKED}};
    for (auto& c : cases) {
        xy->m_axisRestrict[0] = c.x;
        xy->m_axisRestrict[1] = c.y;
        xy->UpdateCursor();
        HCURSOR want = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(c.cursor));
        ASSERT_NE(nullptr, want) << c.cursor;
        EXPECT_EQ(want, ::GetCursor()) << c.cursor;
    }
}

// A band with nothing selected makes a selected world brush of its box with the project's default
// texture; the empty depth range of new brushes gives it one grid step of depth.
TEST_F(MouseTest, BandMakesAWorldBrushWithTheProjectsTexture)
{
    OneTexture textures;
    SetTextureSource(&textures);
    CIniFile project("test.mvp");
    project.AddString("Texture", "Default", "wall1");
    services->SetProject(&project);
    const int brushes = map->GetWorldEntity()->GetBrushCount();
    ASSERT_TRUE(DragTo(Screen(300, 50), Screen(364, 98), 4));
    services->SetProject(nullptr);
    ASSERT_EQ(brushes + 1, map->GetWorldEntity()->GetBrushCount());
    Brush* made = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetTail());
    EXPECT_EQ("300 364 50 98 0 16", BoxText(made->GetBounds()));
    EXPECT_EQ(&textures.tex, made->GetCommonTexture());
    EXPECT_TRUE(Selected(made));
    EXPECT_EQ(map->GetWorldEntity(), map->GetCurrentEntity());
    EXPECT_EQ(0, map->m_bRubberBand);
    EXPECT_TRUE(services->boxes.empty());
    EXPECT_EQ("300 364 50 98 0 16", BoxText(map->m_newBrushRange));
}

// Without a project the new brush is "DEFAULT", after the box that says so.
TEST_F(MouseTest, BandWithoutAProjectSaysDefault)
{
    ASSERT_TRUE(DragTo(Screen(300, 50), Screen(340, 90), 4));
    Brush* made = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetTail());
    ASSERT_NE(brush, made);
    ASSERT_NE(nullptr, made->GetCommonTexture());
    EXPECT_STREQ("DEFAULT", made->GetCommonTexture()->name);
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("A texture has not yet been selected.\nA false texture name of \"DEFAULT\" will be assigned.",
              services->boxes[0]);
}

// A band of no height makes nothing and acts as a click where it was released.
TEST_F(MouseTest, FlatBandIsAClickAtTheRelease)
{
    const int brushes = map->GetWorldEntity()->GetBrushCount();
    ASSERT_TRUE(DragTo(Screen(300, 200), Screen(200, 200), 4));
    EXPECT_EQ(brushes, map->GetWorldEntity()->GetBrushCount());
    EXPECT_TRUE(Selected(brush));
    EXPECT_EQ(1, map->GetSelectionCount());
    EXPECT_TRUE(services->boxes.empty());
}

// Rotate by hand: a click sets the centre, a press and a drag turn the selection; with the snap
// angle 22.5 it turns in steps of 22.5 degrees.
TEST_F(MouseTest, RotateByHandTurnsInSnapAngleSteps)
{
    // Brushes only: a point entity in the selection disables the command.
    map->SelectObject(light, TRUE);
    EXPECT_FALSE(Update(xy, ID_ROTATE_BY_HAND).enabled);
    map->DeselectAll();
    map->SelectObject(brush, TRUE);
    EXPECT_TRUE(Update(xy, ID_ROTATE_BY_HAND).enabled);
    EXPECT_EQ("Size: 256 x 256 x 64", Update(xy, ID_PANE_SIZE).text);
    xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
    EXPECT_EQ(CMapXYView::STATE_ROTATE_ARMED, xy->m_nState);
    EXPECT_TRUE(services->HasStatus("Click and release the left mouse button to select the rotation point"));
    ASSERT_TRUE(Click(Screen(128, 128)));
    EXPECT_EQ(CMapXYView::STATE_ROTATE_CENTRE, xy->m_nState);
    EXPECT_EQ("(128,128)", afxtest::Text(xy->m_ptRotateCentre));
    EXPECT_TRUE(services->HasStatus("Click and drag the left mouse button to rotate"));

    const double rad = 3.14159265358979 / 180.0;
    auto at = [&](double degrees) {
        return Screen(128 + static_cast<int>(std::lround(100 * std::cos(degrees * rad))),
                      128 + static_cast<int>(std::lround(100 * std::sin(degrees * rad))));
    };
    auto halfWidth = [&](double degrees) {
        return 128 * (std::fabs(std::cos(degrees * rad)) + std::fabs(std::sin(degrees * rad)));
    };
    afxtest::InputScript s;
    s.MoveTo(at(0)).Down().MoveTo(at(14)).MoveTo(at(30));
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(CMapXYView::STATE_ROTATING, xy->m_nState);
    EXPECT_NEAR(22.5, xy->m_rotateAngle / rad, 1e-4);
    EXPECT_EQ("Angle = 22.5", Update(xy, ID_PANE_SIZE).text);
    const short* b = brush->GetBounds();
    EXPECT_NEAR(128 - halfWidth(22.5), b[0], 1.01);
    EXPECT_NEAR(128 + halfWidth(22.5), b[1], 1.01);
    EXPECT_NEAR(128 - halfWidth(22.5), b[2], 1.01);

    s.MoveTo(at(40)).Up();
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_NEAR(128 - halfWidth(45), b[0], 1.01);
    EXPECT_NEAR(128 + halfWidth(45), b[3], 1.01);
    EXPECT_EQ(64, b[5] - b[4]);
    EXPECT_TRUE(brush->IsValid());
    EXPECT_TRUE(map->IsModified());
}

// Rotate by hand turns the whole selection or none of it: a turn that would take a corner of one
// brush past the coordinate range (where it would be clamped, the brush squashed) turns nothing,
// with one box.
TEST_F(MouseTest, RotateByHandPastTheCoordinateRangeTurnsNothing)
{
    Brush* outer = AddBrush(map->GetWorldEntity(), 32600, 32700, -32700, -32600, 0, 64);
    map->SelectObject(brush, TRUE);
    map->SelectObject(outer, TRUE);
    map->SetModifiedFlag(FALSE);
    xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
    ASSERT_TRUE(Click(Screen(128, 128)));
    ASSERT_EQ(CMapXYView::STATE_ROTATE_CENTRE, xy->m_nState);
    services->boxes.clear();
    // 22.5 degrees about (128, 128) would take the corner (32700, -32700) to x 42784.
    afxtest::InputScript s;
    s.MoveTo(Screen(228, 128)).Down().MoveTo(Screen(220, 166)).Up();
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ("0 256 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_EQ("32600 32700 -32700 -32600 0 64", BoxText(outer->GetBounds()));
    EXPECT_TRUE(brush->IsIsothetic());
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("A moved brush would lie outside the map's coordinate range.\nThe whole selection stays where it was.",
              services->boxes[0]);
    EXPECT_FALSE(map->IsModified());
}

// Rotating by hand, a turn refused past the coordinate range ends the rotation there, its box with
// the mouse free: the selection stays as the last turn that fitted left it, and the pointer's
// later angles turn nothing. A corner of the far brush lies 33514 units from the centre, 135
// degrees before the bottom: 22.5 and 67.5 degrees fit, 45 would take it below the range.
TEST_F(MouseTest, RotateByHandEndsAtARefusedTurn)
{
    Brush* outer = AddBrush(map->GetWorldEntity(), -23570, -23560, -23570, -23560, 0, 64);
    map->SelectObject(brush, TRUE);
    map->SelectObject(outer, TRUE);
    xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
    Send(WM_LBUTTONDOWN, Screen(128, 128), MK_LBUTTON);
    Send(WM_LBUTTONUP, Screen(128, 128));
    ASSERT_EQ(CMapXYView::STATE_ROTATE_CENTRE, xy->m_nState);
    services->boxes.clear();
    services->boxCaptures.clear();
    const double rad = 3.14159265358979 / 180.0;
    auto at = [&](double degrees) {
        return Screen(128 + static_cast<int>(std::lround(100 * std::cos(degrees * rad))),
                      128 + static_cast<int>(std::lround(100 * std::sin(degrees * rad))));
    };
    Send(WM_LBUTTONDOWN, at(0), MK_LBUTTON);
    Send(WM_MOUSEMOVE, at(22.5), MK_LBUTTON);
    ASSERT_TRUE(services->boxes.empty());
    const std::string turned = BoxText(brush->GetBounds()), outerTurned = BoxText(outer->GetBounds());
    EXPECT_NE("0 256 0 256 0 64", turned);
    Send(WM_MOUSEMOVE, at(45), MK_LBUTTON);
    Send(WM_MOUSEMOVE, at(67.5), MK_LBUTTON);
    Send(WM_LBUTTONUP, at(67.5));
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("A moved brush would lie outside the map's coordinate range.\nThe whole selection stays where it was.",
              services->boxes[0]);
    EXPECT_EQ(nullptr, services->boxCaptures[0]);
    EXPECT_EQ(turned, BoxText(brush->GetBounds()));
    EXPECT_EQ(outerTurned, BoxText(outer->GetBounds()));
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ("", services->statuses.back());
}

// With snap to angle off, rotating by hand turns the brush as it was at the press by the whole
// angle: a 64 x 128 box turned by half degrees 90 times is the box turned by 45 degrees, and back
// again, three times over, it is the same box; a quarter turn on the way gives 128 x 64.
TEST_F(MouseTest, RotateByHandKeepsTheShapeWithoutTheAngleSnap)
{
    pFrame->m_bSnapToAngle = 0;
    Brush* box = AddBrush(map->GetWorldEntity(), 0, 64, 0, 128, 0, 64);
    map->DeselectAll();
    map->SelectObject(box, TRUE);
    const std::string before = BoxText(box->GetBounds());
    xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
    ASSERT_TRUE(Click(Screen(32, 64)));
    ASSERT_EQ(CMapXYView::STATE_ROTATE_CENTRE, xy->m_nState);
    const double rad = 3.14159265358979 / 180.0;
    auto at = [&](double degrees) {
        return Screen(32 + static_cast<int>(std::lround(300 * std::cos(degrees * rad))),
                      64 + static_cast<int>(std::lround(300 * std::sin(degrees * rad))));
    };
    Send(WM_LBUTTONDOWN, at(0), MK_LBUTTON);
    ASSERT_EQ(CMapXYView::STATE_ROTATING, xy->m_nState);
    Send(WM_MOUSEMOVE, at(90), MK_LBUTTON);
    EXPECT_EQ("-32 96 32 96 0 64", BoxText(box->GetBounds()));
    for (int round = 0; round < 3; ++round) {
        for (int k = 1; k <= 90; ++k)
            Send(WM_MOUSEMOVE, at(0.5 * k), MK_LBUTTON);
        // An eighth of a turn: the corners lie 96 / sqrt(2) from the centre on both axes.
        const short* b = box->GetBounds();
        EXPECT_NEAR(32 - 67.88, b[0], 0.6);
        EXPECT_NEAR(32 + 67.88, b[1], 0.6);
        EXPECT_NEAR(64 - 67.88, b[2], 0.6);
        EXPECT_NEAR(64 + 67.88, b[3], 0.6);
        for (int k = 89; k >= 0; --k)
            Send(WM_MOUSEMOVE, at(0.5 * k), MK_LBUTTON);
    }
    Send(WM_LBUTTONUP, at(0));
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ(before, BoxText(box->GetBounds()));
    EXPECT_TRUE(box->IsValid());
    EXPECT_TRUE(box->IsIsothetic());
}

// Dragging the edge point of a corner of the one selected brush shears that corner.
TEST_F(MouseTest, HandleDragShearsTheBrush)
{
    map->SelectObject(brush, TRUE);
    xy->UpdateWindow();
    ASSERT_TRUE(DragTo(Screen(256, 256), Screen(288, 256), 4));
    EXPECT_EQ("0 288 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_TRUE(brush->IsValid());
    EXPECT_FALSE(brush->IsIsothetic());
    EXPECT_EQ(6, brush->GetFaceCount());
    EXPECT_TRUE(Selected(brush));
    EXPECT_EQ(-1, xy->m_nState);
    // The corner at y 0 stayed: the face at x 256 leans.
    bool foot = false;
    for (const Face& f : brush->GetFaces())
        for (const auto& p : f.rounded)
            foot = foot || (p[0] == 256 && p[1] == 0);
    EXPECT_TRUE(foot);
}

// The warning after the first handle move comes up with the mouse free (a box under a held
// capture takes no clicks): the drag ends at that step, the brush as the mouse left it there. The
// next drag goes on to the release, with no box.
TEST_F(MouseTest, ShearWarningComesUpWithTheMouseFree)
{
    services->WriteProfileInt("Brush", "Shear Warning", 0);
    services->boxCaptures.clear();
    map->SelectObject(brush, TRUE);
    xy->UpdateWindow();
    ASSERT_TRUE(DragTo(Screen(256, 256), Screen(288, 256), 4));
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_NE(std::string::npos, services->boxes[0].find("This message will not be displayed again."));
    ASSERT_EQ(1u, services->boxCaptures.size());
    EXPECT_EQ(nullptr, services->boxCaptures[0]);
    EXPECT_EQ("0 264 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_TRUE(map->IsModified());
    EXPECT_EQ(1, services->GetProfileInt("Brush", "Shear Warning", 0));

    ASSERT_TRUE(DragTo(Screen(264, 256), Screen(296, 256), 4));
    EXPECT_EQ(1u, services->boxes.size());
    EXPECT_EQ("0 296 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_TRUE(brush->IsValid());
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ(nullptr, CWnd::GetCapture());
}

// A camera glyph over a handle point: the press takes the camera, the drag moves it (hint 14)
// and the brush stays.
TEST_F(MouseTest, CameraGlyphOverAHandleDragsTheCamera)
{
    CameraRecord cam;
    cam.tx = 256;
    cam.tz = -256;
    cam.ty = -32;
    map->AddCamera(&cam);
    map->SelectObject(brush, TRUE);
    xy->UpdateWindow();
    CHintRecorder recorder;
    map->AddView(&recorder);

    afxtest::InputScript s;
    s.MoveTo(Screen(256, 256)).Down().MoveInSteps(Screen(300, 320), 3);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(CMapXYView::STATE_CAMERA, xy->m_nState);
    EXPECT_EQ(&cam, map->m_pDraggedCamera);
    s.Up();
    ASSERT_TRUE(s.Run());

    EXPECT_EQ(300, cam.tx);
    EXPECT_EQ(-320, cam.tz);
    EXPECT_EQ(-32, cam.ty);
    EXPECT_EQ(nullptr, map->m_pDraggedCamera);
    EXPECT_EQ("0 256 0 256 0 64", BoxText(brush->GetBounds()));
    int cameraHints = 0;
    for (LPARAM h : recorder.hints)
        cameraHints += h == HINT_CAMERA;
    EXPECT_GE(cameraHints, 1);
    map->RemoveView(&recorder);

    // A camera removed while it is dragged (its window closed) is dragged no further.
    Send(WM_LBUTTONDOWN, Screen(300, 320), MK_LBUTTON);
    ASSERT_EQ(&cam, map->m_pDraggedCamera);
    map->RemoveCamera(&cam);
    EXPECT_EQ(nullptr, map->m_pDraggedCamera);
    Send(WM_MOUSEMOVE, Screen(340, 320), MK_LBUTTON);
    Send(WM_LBUTTONUP, Screen(340, 320));
    EXPECT_EQ(300, cam.tx);
    EXPECT_EQ(-1, xy->m_nState);
}

// Unapplied Entity Editor changes: every left press shows box 850 and changes nothing.
TEST_F(MouseTest, UnappliedEntityEditsBlockThePress)
{
    services->unapplied = TRUE;
    ASSERT_TRUE(DragTo(Screen(300, 50), Screen(364, 98), 3));
    ASSERT_TRUE(Click(Screen(200, 200)));
    services->unapplied = FALSE;
    EXPECT_EQ(0, map->GetSelectionCount());
    EXPECT_EQ(1, map->GetWorldEntity()->GetBrushCount());
    ASSERT_GE(services->boxes.size(), 1u);
    EXPECT_EQ("The current entity had been changed, without being applied.\n\n"
              "Press either the Apply or Undo button in the Entity Editor.",
              services->boxes[0]);
    EXPECT_EQ(-1, xy->m_nState);
}

// Another window taking the mouse ends the operation: idle, no band, no further moves.
TEST_F(MouseTest, LostCaptureEndsTheOperation)
{
    Send(WM_LBUTTONDOWN, Screen(300, 50), MK_LBUTTON);
    Send(WM_MOUSEMOVE, Screen(340, 90), MK_LBUTTON);
    ASSERT_EQ(CMapXYView::STATE_BAND, xy->m_nState);
    ASSERT_EQ(1, map->m_bRubberBand);
    // The right button does not break into an operation that holds the mouse.
    Send(WM_RBUTTONDOWN, Screen(340, 90), MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ(CMapXYView::STATE_BAND, xy->m_nState);
    Send(WM_RBUTTONUP, Screen(340, 90), MK_LBUTTON);
    EXPECT_EQ(CMapXYView::STATE_BAND, xy->m_nState);
    EXPECT_EQ(xy, CWnd::GetCapture());
    m_pMain->SetCapture();
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ(0, map->m_bRubberBand);
    ::ReleaseCapture();
    Send(WM_LBUTTONUP, Screen(340, 90));
    EXPECT_EQ(1, map->GetWorldEntity()->GetBrushCount());

    map->SelectObject(brush, TRUE);
    Send(WM_LBUTTONDOWN, Screen(200, 200), MK_LBUTTON);
    Send(WM_MOUSEMOVE, Screen(220, 200), MK_LBUTTON);
    ASSERT_EQ(CMapXYView::STATE_MOVING, xy->m_nState);
    m_pMain->SetCapture();
    ::ReleaseCapture();
    Send(WM_MOUSEMOVE, Screen(260, 200), MK_LBUTTON);
    EXPECT_EQ("20 276 0 256 0 64", BoxText(brush->GetBounds()));
    EXPECT_EQ(-1, xy->m_nState);
}

// The right button: a drag pans (the map follows the hand) and opens nothing; a click opens
// "Selected Menu" or "Unselected Menu" at the mouse on the screen.
TEST_F(MouseTest, RightButtonPansOrOpensTheContextMenu)
{
    struct Seen
    {
        CPoint pt;
        UINT first, rotate, alignLeft, exportFile;
    };
    std::vector<Seen> menus;
    auto record = [&](AfxModalCall& c) {
        menus.push_back({CPoint(c.pt), c.menuItems.empty() ? 0u : c.menuItems[0].nID,
                         AfxSeamMenuItemState(c.hMenu, ID_ROTATE_BY_HAND), AfxSeamMenuItemState(c.hMenu, ID_ALIGN_LEFT),
                         AfxSeamMenuItemState(c.hMenu, ID_EXPORT_TO_FILE)});
        return (INT_PTR)0;
    };
    CPoint scroll = xy->GetDeviceScrollPosition();
    ASSERT_TRUE(DragTo(Screen(100, 100), Screen(140, 70), 4, true));
    EXPECT_EQ(afxtest::Text(CPoint(scroll.x - 40, scroll.y - 30)), afxtest::Text(xy->GetDeviceScrollPosition()));
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_TRUE(menus.empty());
    xy->ScrollToDevicePosition(scroll);
    xy->UpdateWindow();

    AfxSeamScript(record);
    CPoint at = Screen(320, 40);
    afxtest::InputScript s;
    s.MoveTo(at).Down(true).Up(true);
    ASSERT_TRUE(s.Run());
    ASSERT_EQ(1u, menus.size());
    EXPECT_EQ(afxtest::Text(at), afxtest::Text(menus[0].pt)); // the mouse on the screen
    EXPECT_EQ(57637u, menus[0].first);                        // "Unselected Menu": Paste first
    EXPECT_EQ((UINT)-1, menus[0].rotate);

    map->SelectObject(brush, TRUE);
    AfxSeamScript(record);
    at = Screen(330, 60);
    s.MoveTo(at).Down(true).Up(true);
    ASSERT_TRUE(s.Run());
    ASSERT_EQ(2u, menus.size());
    EXPECT_EQ(afxtest::Text(at), afxtest::Text(menus[1].pt));
    EXPECT_EQ((UINT)ID_ROTATE_BY_HAND, menus[1].first); // "Selected Menu"
    EXPECT_NE((UINT)-1, menus[1].alignLeft);
    EXPECT_NE((UINT)-1, menus[1].exportFile);
}

// Cancel Current Operation returns an armed view to idle (and deselects); a right-button pan
// keeps it armed.
TEST_F(MouseTest, CancelEndsAnArmedRotation)
{
    map->SelectObject(brush, TRUE);
    xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
    ASSERT_TRUE(DragTo(Screen(100, 100), Screen(140, 70), 4, true));
    EXPECT_EQ(CMapXYView::STATE_ROTATE_ARMED, xy->m_nState);
    ASSERT_TRUE(Click(Screen(128, 128)));
    ASSERT_EQ(CMapXYView::STATE_ROTATE_CENTRE, xy->m_nState);
    xy->SendMessage(WM_COMMAND, ID_CANCEL_OPERATION);
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ(0, map->GetSelectionCount());
    // A press now is a plain click again.
    ASSERT_TRUE(Click(Screen(200, 200)));
    EXPECT_TRUE(Selected(brush));
    EXPECT_EQ("0 256 0 256 0 64", BoxText(brush->GetBounds()));
}

namespace {
CMapXYView* g_pCtrlDragView = nullptr;
CPoint g_ctrlDragFrom;
std::atomic<bool> g_bCtrlDragStarting{false};
std::atomic<bool> g_bCtrlDragEnded{false};
void CALLBACK CtrlMoveTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    CMapXYView* xy = g_pCtrlDragView;
    if (!xy)
        return;
    g_bCtrlDragStarting = true;
    // Ctrl held past the move margin, then one more move: the drag of the selection starts and
    // its loop follows the real mouse until the button comes up.
    CPoint p = g_ctrlDragFrom + CPoint(8, 0);
    xy->SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(p.x, p.y));
    p.x += 4;
    xy->SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(p.x, p.y));
    g_bCtrlDragEnded = true;
}
} // namespace

// A press on the selection and a move with Ctrl past the margin drags the selection through the
// system's drag loop: dropped in another map's window it moves there. (Ctrl comes with the moves
// as a flag: Wine's input does not carry a synthesized Ctrl.)
TEST_F(MouseTest, CtrlDragMovesTheSelectionIntoAnotherMap)
{
    Map* other = nullptr;
    CMapFrame* f2 = OpenNew(&other);
    ASSERT_NE(nullptr, f2);
    m_pMain->MDITile(MDITILE_VERTICAL);
    afxtest::PumpMessages();
    CMapXYView* xy2 = f2->GetXYView();
    xy->ScrollToDevicePosition(CPoint(8192 / 2 - 100, 8192 / 2 - 400));
    xy->UpdateWindow();
    map->SelectObject(brush, TRUE);
    CRect r2;
    xy2->GetWindowRect(&r2);

    CPoint from = Screen(200, 200);
    g_ctrlDragFrom = from;
    xy->ScreenToClient(&g_ctrlDragFrom);
    // The Ctrl moves come once the press was taken in, and the real moves only when the drag's
    // loop is there to take them (however slow the machine).
    afxtest::InputScript press;
    press.MoveTo(from).Down();
    ASSERT_TRUE(press.Run());
    g_pCtrlDragView = xy;
    g_bCtrlDragStarting = false;
    g_bCtrlDragEnded = false;
    ::SetTimer(nullptr, 0, 10, CtrlMoveTimer);
    // The release ends the drag loop; the checks come once it has returned.
    afxtest::InputScript s;
    s.WaitUntil([] { return g_bCtrlDragStarting.load(); })
        .MoveInSteps(r2.CenterPoint(), 8)
        .Pause(200)
        .Up()
        .WaitUntil([] { return g_bCtrlDragEnded.load(); });
    EXPECT_TRUE(s.Run());
    g_pCtrlDragView = nullptr;
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ(0, map->GetWorldEntity()->GetBrushCount()); // moved out of this map
    EXPECT_EQ(1, other->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(1, other->GetSelectionCount());
}

namespace {

// Real maps by other people, when the folder is there: a brush moved by a drag and another
// turned by hand survive a save and a reopen, and a second save writes the same bytes.
class RealMapMouseTest : public WindowTest
{
protected:
    static CString DataDir()
    {
        return shareddata::Root().c_str();
    }
    static int BrushCount(Map* m)
    {
        int n = 0;
        for (POSITION pos = m->GetEntities().GetHeadPosition(); pos;)
            n += static_cast<Entity*>(m->GetEntities().GetNext(pos))->GetBrushCount();
        return n;
    }
    // Scrolls a world brush of a useful size into the middle of the view where it is the first
    // candidate of a click, skipping the ones listed; its canvas point (on the grid) or null.
    Brush* Bring(Map* m, CMapXYView* xy, const std::vector<Brush*>& skip, CPoint& canvas)
    {
        CRect client;
        xy->GetClientRect(&client);
        for (POSITION pos = m->GetWorldEntity()->GetBrushes().GetHeadPosition(); pos;) {
            Brush* b = static_cast<Brush*>(m->GetWorldEntity()->GetBrushes().GetNext(pos));
            const short* box = b->GetBounds();
            if (std::find(skip.begin(), skip.end(), b) != skip.end() || !b->IsValid() || !b->IsIsothetic())
                continue;
            if (box[1] - box[0] < 64 || box[3] - box[2] < 64 || box[1] - box[0] > 512 || box[3] - box[2] > 512)
                continue;
            CPoint c = xy->ProjectPoint((box[0] + box[1]) / 2, (box[2] + box[3]) / 2, box[5]);
            xy->SnapToGrid(c);
            xy->ScrollToDevicePosition(CPoint(c.x - c.x % 16 - client.Width() / 2 + (client.Width() / 2) % 16,
                                              c.y - c.y % 16 - client.Height() / 2 + (client.Height() / 2) % 16));
            xy->PickAtPoint(c.x, c.y);
            CPtrList& cycle = m->GetCycleList();
            bool first = !cycle.IsEmpty() && static_cast<CycleCandidate*>(cycle.GetHead())->thing == b;
            m->ClearCycleList();
            CPoint client0 = c - xy->GetDeviceScrollPosition();
            if (first && client.PtInRect(client0) && client.PtInRect(client0 + CPoint(110, 0))) {
                canvas = c;
                return b;
            }
        }
        return nullptr;
    }
    CPoint ScreenOf(CMapXYView* xy, CPoint canvas)
    {
        CPoint p = canvas - xy->GetDeviceScrollPosition();
        xy->ClientToScreen(&p);
        return p;
    }
    void EditSaveReopen(LPCSTR name)
    {
        CString path = DataDir() + "\\maps\\" + name + ".map";
        SKIP_WITHOUT_SHARED_DATA(path);
        Map* m = static_cast<Map*>(m_pTemplate->OpenDocumentFile(path));
        ASSERT_NE(nullptr, m);
        afxtest::PumpMessages();
        CMapFrame* f = dynamic_cast<CMapFrame*>(m_pMain->MDIGetActive());
        ASSERT_NE(nullptr, f);
        f->MDIMaximize();
        CMapXYView* xy = f->GetXYView();
        xy->SetPlaneScale(1.0f);
        f->m_bSnapToGrid = 1;
        f->m_bSnapToAngle = 1;
        ASSERT_EQ(16, xy->m_nGridPixels);
        ASSERT_TRUE(afxtest::Activate(m_pMain));
        const int entities = m->GetEntities().GetCount(), brushes = BrushCount(m);
        services->boxes.clear();

        // Select a brush by a click and move it by a drag.
        CPoint at;
        Brush* moved = Bring(m, xy, {}, at);
        ASSERT_NE(nullptr, moved);
        xy->UpdateWindow();
        short before[6];
        memcpy(before, moved->GetBounds(), sizeof before);
        afxtest::InputScript s;
        s.MoveTo(ScreenOf(xy, at)).Down().Up();
        ASSERT_TRUE(s.Run());
        ASSERT_EQ(1, m->GetSelectionCount());
        ASSERT_EQ(moved, m->GetSelection().GetHead());
        s.MoveTo(ScreenOf(xy, at + CPoint(6, 0))).Down().MoveInSteps(ScreenOf(xy, at + CPoint(70, -32)), 6).Up();
        ASSERT_TRUE(s.Run());
        const short want[6] = {short(before[0] + 64), short(before[1] + 64), short(before[2] + 32),
                               short(before[3] + 32), before[4], before[5]};
        EXPECT_EQ(BoxText(want), BoxText(moved->GetBounds()));

        // Turn another one by hand, 22.5 degrees.
        Brush* turned = Bring(m, xy, {moved}, at);
        ASSERT_NE(nullptr, turned);
        xy->UpdateWindow();
        s.MoveTo(ScreenOf(xy, at)).Down().Up();
        ASSERT_TRUE(s.Run());
        ASSERT_EQ(turned, m->GetSelection().GetHead());
        ASSERT_EQ(1, m->GetSelectionCount());
        xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
        s.MoveTo(ScreenOf(xy, at + CPoint(0, 8))).Down().Up(); // the centre, snapped back onto it
        ASSERT_TRUE(s.Run());
        s.MoveTo(ScreenOf(xy, at + CPoint(96, 0))).Down().MoveTo(ScreenOf(xy, at + CPoint(87, -50))).Up();
        ASSERT_TRUE(s.Run());
        EXPECT_EQ(-1, xy->m_nState);
        EXPECT_TRUE(turned->IsValid());
        EXPECT_FALSE(turned->IsIsothetic());
        short turnedBox[6];
        memcpy(turnedBox, turned->GetBounds(), sizeof turnedBox);

        // Save under a new name, reopen, save again.
        char tmp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, tmp);
        CString saved = CString(tmp) + "morvane_mouse_" + name + ".map";
        CString again = CString(tmp) + "morvane_mouse_" + name + "_again.map";
        ASSERT_TRUE(m->OnSaveDocument(saved));
        Map* back = static_cast<Map*>(m_pTemplate->OpenDocumentFile(saved));
        ASSERT_NE(nullptr, back);
        ASSERT_NE(m, back);
        EXPECT_EQ(entities, back->GetEntities().GetCount());
        EXPECT_EQ(brushes, BrushCount(back));
        bool foundMoved = false, foundTurned = false, allValid = true;
        for (POSITION pos = back->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(back->GetEntities().GetNext(pos));
            for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;) {
                Brush* b = static_cast<Brush*>(e->GetBrushes().GetNext(bp));
                allValid = allValid && b->IsValid();
                foundMoved = foundMoved || BoxText(b->GetBounds()) == BoxText(want);
                foundTurned = foundTurned || BoxText(b->GetBounds()) == BoxText(turnedBox);
            }
        }
        EXPECT_TRUE(foundMoved);
        EXPECT_TRUE(foundTurned);
        EXPECT_TRUE(allValid);
        ASSERT_TRUE(back->OnSaveDocument(again));
        EXPECT_TRUE(FileBytes(saved) == FileBytes(again));
        printf("%s: %d entities, %d brushes; moved %s -> %s; turned to %s; %zu bytes\n", name, entities, brushes,
               BoxText(before).c_str(), BoxText(want).c_str(), BoxText(turnedBox).c_str(), FileBytes(saved).size());
        ::DeleteFileA(saved);
        ::DeleteFileA(again);
    }
};

} // namespace

TEST_F(RealMapMouseTest, E3m5MoveAndRotateSurviveSaveAndReopen)
{
    EditSaveReopen("e3m5");
}

TEST_F(RealMapMouseTest, LibreQuakeE2m2MoveAndRotateSurviveSaveAndReopen)
{
    EditSaveReopen("librequake_e2m2");
}

// In a front (XZ) window the drag moves x and z, the Z restriction keeps z, and a camera glyph
// drag sets the camera's x and height (its record keeps the height negated).
TEST_F(MouseTest, FrontViewMovesXAndZAndDragsTheCameraHeight)
{
    map->SetViewType(VIEW_XZ);
    CMapFrame* front = OpenAnother(map);
    ASSERT_NE(nullptr, front);
    front->MDIMaximize();
    afxtest::PumpMessages();
    xy = front->GetXYView();
    ASSERT_EQ(VIEW_XZ, xy->GetPlaneType());
    xy->SetPlaneScale(1.0f);
    xy->ScrollToDevicePosition(CPoint(8192 / 2 - 100, 8192 / 2 - 400));
    front->m_bSnapToGrid = 0;
    xy->UpdateWindow();
    afxtest::PumpMessages();

    map->SelectObject(brush, TRUE);
    ASSERT_TRUE(DragTo(Screen(100, 32), Screen(120, 48), 4));
    EXPECT_EQ("20 276 0 256 16 80", BoxText(brush->GetBounds()));
    services->SetAxisRestrictions(0, 0, 1);
    ASSERT_TRUE(DragTo(Screen(110, 60), Screen(150, 20), 4));
    EXPECT_EQ("60 316 0 256 16 80", BoxText(brush->GetBounds()));
    services->SetAxisRestrictions(0, 0, 0);

    CameraRecord cam;
    cam.tx = 200;
    cam.ty = -200; // height 200
    cam.tz = -64;
    map->AddCamera(&cam);
    xy->UpdateWindow();
    ASSERT_TRUE(DragTo(Screen(200, 200), Screen(240, 260), 3));
    EXPECT_EQ(240, cam.tx);
    EXPECT_EQ(-260, cam.ty);
    EXPECT_EQ(-64, cam.tz);
    map->RemoveCamera(&cam);
}

// When rotate by hand ends, its line is gone from the view: the repaint at the release happens
// with the view idle, so it does not draw the line again.
TEST_F(MouseTest, TheRotateLineIsGoneWhenRotateByHandEnds)
{
    services->WriteProfileInt("Colors", "Rotate", 0x20C040);
    services->CreateColors();
    const COLORREF rotate = RGB(0x20, 0xC0, 0x40);
    xy->Invalidate();
    xy->UpdateWindow();
    ASSERT_EQ(0, Canvas::Settled(xy)->Count(rotate));
    map->SelectObject(brush, TRUE);
    xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
    ASSERT_TRUE(Click(Screen(128, 128)));
    ASSERT_EQ(CMapXYView::STATE_ROTATE_CENTRE, xy->m_nState);
    afxtest::InputScript s;
    s.MoveTo(Screen(228, 128)).Down().MoveTo(Screen(214, 178)).MoveTo(Screen(178, 214));
    ASSERT_TRUE(s.Run());
    ASSERT_EQ(CMapXYView::STATE_ROTATING, xy->m_nState);
    EXPECT_GT(Canvas::Settled(xy)->Count(rotate), 20) << "the line shows while rotating";
    s.Up();
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(-1, xy->m_nState);
    EXPECT_EQ(0, Canvas::Settled(xy)->Count(rotate)) << "pixels of the rotate line left on the screen";
}
