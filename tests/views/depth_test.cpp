// The depth view under Wine, driven by messages: bars and handles, stretching, the clipping
// planes and their propagation, auto scrolling and its end, the context menu.
#include "ViewsRes.h"
#include "WindowFixture.h"
#include "afxwndtest.h"

namespace {

const COLORREF kBar = RGB(0xA0, 0x10, 0x20);

class DepthTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        services->WriteProfileInt("Colors", "Selected Object", 0xA01020);
        services->CreateColors();
        pFrame = OpenNew(&map);
        ASSERT_NE(pFrame, nullptr);
        pFrame->MDIMaximize();
        afxtest::PumpMessages();
        z = pFrame->GetZView();
        xy = pFrame->GetXYView();
    }
    void Press(CWnd* w, UINT msg, CPoint client, WPARAM keys = 0)
    {
        w->SendMessage(msg, keys, MAKELPARAM(client.x, client.y));
    }
    // Client point of a canvas y in the depth view.
    CPoint At(int x, int canvasY) { return CPoint(x, canvasY - z->GetDeviceScrollPosition().y); }
    int ClientHeight()
    {
        CRect r;
        z->GetClientRect(&r);
        return r.Height();
    }
    // Pixels of the bar colour in canvas rows [top, bottom) of the strip.
    int BarPixels(int top, int bottom)
    {
        CRect client;
        z->GetClientRect(&client);
        Canvas c(client.Width(), client.Height());
        z->DrawBackground(c.DC());
        int sy = z->GetDeviceScrollPosition().y, n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < client.Width(); ++x)
                n += c.At(x, y - sy) == kBar;
        return n;
    }

    Map* map = nullptr;
    CMapFrame* pFrame = nullptr;
    CMapZView* z = nullptr;
    CMapXYView* xy = nullptr;
};

} // namespace

TEST_F(DepthTest, BarsOfTheSelectionAndTheirHandles)
{
    // Depth 0 lies at canvas row 1536; 64 units are 24 rows.
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);     // rows 1512..1536
    Brush* b = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 128, 192); // rows 1464..1488
    Select(map, a);
    Select(map, b);
    EXPECT_GT(BarPixels(1514, 1534), 0);
    EXPECT_GT(BarPixels(1466, 1486), 0);
    EXPECT_EQ(BarPixels(1490, 1510), 0);
    EXPECT_FALSE(z->m_bHandlesShown);

    map->GetSelection().RemoveTail();
    b->SetSelected(false);
    BarPixels(0, 0);
    EXPECT_TRUE(z->m_bHandlesShown);
    int cx = (50 - CMapZView::BarWidth()) / 2;
    EXPECT_EQ(afxtest::Text(z->m_rcTopHandle), afxtest::Text(CRect(cx - 8, 1506, cx + 8, 1512)));
    EXPECT_EQ(afxtest::Text(z->m_rcBottomHandle), afxtest::Text(CRect(cx - 8, 1536, cx + 8, 1542)));
    // A point entity among the selection hides the handles.
    Entity* e = AddEntity(map, "light", "0 0 32");
    Select(map, e);
    BarPixels(0, 0);
    EXPECT_FALSE(z->m_bHandlesShown);
}

TEST_F(DepthTest, AHandleDragStretchesByTheWorldDistance)
{
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Select(map, a);
    z->Invalidate();
    z->UpdateWindow();
    ASSERT_TRUE(z->m_bHandlesShown);
    int x = z->m_rcTopHandle.CenterPoint().x;
    Press(z, WM_LBUTTONDOWN, At(x, 1509), MK_LBUTTON);
    EXPECT_EQ(z->m_nState, CMapZView::STATE_TOP_HANDLE);
    // 24 rows up: 64 world units.
    Press(z, WM_MOUSEMOVE, At(x, 1485), MK_LBUTTON);
    Press(z, WM_LBUTTONUP, At(x, 1485));
    EXPECT_EQ(z->m_nState, -1);
    EXPECT_EQ(a->GetBounds()[BOX_MAXZ], 128);
    EXPECT_EQ(a->GetBounds()[BOX_MINZ], 0);
    EXPECT_TRUE(map->IsModified());
    // The released stretch leaves the brush's box as the range of new brushes.
    EXPECT_EQ(map->m_newBrushRange[BOX_MAXZ], 128);
    EXPECT_EQ(map->m_newBrushRange[BOX_MAXX], 64);
}

// With the snap off, a depth move goes by the distance from the press: at any scale the brush
// comes back to where it was when the pointer does, and a pointer that stands still moves nothing.
TEST_F(DepthTest, AMoveComesBackWithThePointer)
{
    pFrame->m_bSnapToGrid = 0;
    for (float scale : {0.375f, 1.5f}) {
        SCOPED_TRACE(scale);
        z->UpdateScrollSizes(scale);
        Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
        map->DeselectAll();
        Select(map, a);
        const int y = z->DepthToDevice(32);
        z->ScrollToDevicePosition(CPoint(0, y - ClientHeight() / 2));
        BarPixels(0, 0);
        const int x = z->m_rcBand.CenterPoint().x;
        Press(z, WM_LBUTTONDOWN, At(x, y), MK_LBUTTON);
        ASSERT_EQ(z->m_nState, CMapZView::STATE_MOVE);
        for (int i = 1; i <= 20; ++i)
            Press(z, WM_MOUSEMOVE, At(x, y - i), MK_LBUTTON);
        const short up = a->GetBounds()[BOX_MINZ];
        int from = z->DepthToDevice(64), to = from - 20;
        z->DeviceToWorldY(from);
        z->DeviceToWorldY(to);
        EXPECT_EQ(up, to - from) << "moved by the pointer's distance from the press";
        for (int k = 0; k < 5; ++k)
            Press(z, WM_MOUSEMOVE, At(x, y - 20), MK_LBUTTON);
        EXPECT_EQ(a->GetBounds()[BOX_MINZ], up) << "the pointer stood still";
        for (int i = 19; i >= 0; --i)
            Press(z, WM_MOUSEMOVE, At(x, y - i), MK_LBUTTON);
        Press(z, WM_LBUTTONUP, At(x, y));
        EXPECT_EQ(a->GetBounds()[BOX_MINZ], 0);
        EXPECT_EQ(a->GetBounds()[BOX_MAXZ], 64);
    }
}

// Dragging several entities of a class the project does not define moves them all and tells once,
// with the count, not once for each entity.
TEST_F(DepthTest, MovingUnknownEntitiesTellsOnce)
{
    for (int i = 0; i < 3; ++i)
        Select(map, AddEntity(map, "monster_fish", "0 0 32")); // depths 16..48: rows 1518..1530
    BarPixels(0, 0);
    ASSERT_FALSE(z->m_bHandlesShown);
    services->boxes.clear();
    const int x = z->m_rcBand.CenterPoint().x;
    Press(z, WM_LBUTTONDOWN, At(x, 1524), MK_LBUTTON);
    ASSERT_EQ(z->m_nState, CMapZView::STATE_MOVE);
    Press(z, WM_MOUSEMOVE, At(x, 1500), MK_LBUTTON); // 24 rows up: 64 units
    Press(z, WM_LBUTTONUP, At(x, 1500));
    for (POSITION pos = map->GetSelection().GetHeadPosition(); pos;)
        EXPECT_STREQ(static_cast<Entity*>(map->GetSelection().GetNext(pos))->ValueForKey("origin"), "0 0 96");
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0], "The classname: monster_fish (3)\n"
                                  "could not be found in any of the .qc files in the current project.");
}

// A stretch that would take the selected brushes past the 16-bit coordinate range (their tops at
// the range's end, the handle dragged far above the strip) changes none of them, with one box:
// no brush is squashed against the range's end. A stretch within the range goes.
TEST_F(DepthTest, AStretchPastTheCoordinateRangeChangesNothing)
{
    pFrame->m_bSnapToGrid = 0;
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 32700);
    Brush* b = AddBrush(map->GetWorldEntity(), 128, 192, 0, 64, 0, 32700);
    Select(map, a);
    Select(map, b);
    z->ScrollToDevicePosition(CPoint(0, 0));
    BarPixels(0, 0);
    ASSERT_TRUE(z->m_bHandlesShown);
    const int x = z->m_rcTopHandle.CenterPoint().x, y = z->m_rcTopHandle.CenterPoint().y;
    struct
    {
        int rows; // up from the press
        bool refused;
    } steps[] = {{100, true}, {10, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.rows);
        const short before = a->GetBounds()[BOX_MAXZ];
        services->boxes.clear();
        Press(z, WM_LBUTTONDOWN, At(x, y), MK_LBUTTON);
        ASSERT_EQ(z->m_nState, CMapZView::STATE_TOP_HANDLE);
        Press(z, WM_MOUSEMOVE, At(x, y - step.rows), MK_LBUTTON);
        Press(z, WM_LBUTTONUP, At(x, y - step.rows));
        EXPECT_EQ(a->GetBounds()[BOX_MINZ], 0);
        EXPECT_EQ(b->GetBounds()[BOX_MAXZ], a->GetBounds()[BOX_MAXZ]);
        if (step.refused) {
            EXPECT_EQ(a->GetBounds()[BOX_MAXZ], before);
            ASSERT_EQ(services->boxes.size(), 1u);
            EXPECT_EQ(services->boxes[0],
                      "2 moved brushes would lie outside the map's coordinate range.\nThey stay where they were.");
        } else {
            EXPECT_GT(a->GetBounds()[BOX_MAXZ], before);
            EXPECT_TRUE(services->boxes.empty());
        }
    }
}

// A box that a step of a depth drag brings comes up with the mouse free (a box under a held capture
// takes no clicks): the drag ends at that step, as the release would end it, the selection where
// the last step that fitted left it, and the steps after it change nothing. A stretch whose second
// step would pass the coordinate range; entities of a class the project does not define, moved by
// the pointer or by the edge's scrolling timer.
TEST_F(DepthTest, ABoxOfADepthDragComesUpWithTheMouseFree)
{
    pFrame->m_bSnapToGrid = 0;
    Brush* tall = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 32700);
    std::vector<Entity*> fish;
    for (int i = 0; i < 3; ++i)
        fish.push_back(AddEntity(map, "monster_fish", "0 0 32")); // depths 16..48: rows 1518..1530
    const char* const kFish = "The classname: monster_fish (3)\n"
                              "could not be found in any of the .qc files in the current project.";
    enum How { MOUSE, TIMER };
    struct
    {
        const char* what;
        bool stretch;
        How how;
        int boxStep; // the step (from 1) whose box ends the drag
        const char* box;
    } cases[] = {
        {"a stretch past the range", true, MOUSE, 2,
         "A moved brush would lie outside the map's coordinate range.\nIt stays where it was."},
        {"unknown entities moved by the pointer", false, MOUSE, 1, kFish},
        {"unknown entities moved by the timer", false, TIMER, 1, kFish},
    };
    auto state = [&] {
        std::string s = std::to_string(tall->GetBounds()[BOX_MAXZ]);
        for (Entity* e : fish)
            s += std::string(" ") + e->ValueForKey("origin");
        return s;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        map->DeselectAll();
        if (c.stretch)
            Select(map, tall);
        else
            for (Entity* e : fish)
                Select(map, e);
        // On the top handle, or a little below the band's top.
        z->ScrollToDevicePosition(CPoint(0, 1200));
        BarPixels(0, 0);
        ASSERT_EQ(c.stretch, !!z->m_bHandlesShown);
        int top = 0, bottom = 0;
        ASSERT_TRUE(z->ComputeBand(top, bottom));
        const CPoint press = c.stretch ? z->m_rcTopHandle.CenterPoint() : CPoint(z->m_rcBand.CenterPoint().x, top + 6);
        services->boxes.clear();
        services->boxCaptures.clear();
        Press(z, WM_LBUTTONDOWN, At(press.x, press.y), MK_LBUTTON);
        ASSERT_EQ(c.stretch ? CMapZView::STATE_TOP_HANDLE : CMapZView::STATE_MOVE, z->m_nState);
        // Up 24 rows (64 units), then 30, then back to the press.
        const int rows[] = {24, 30, 0};
        std::string atBox;
        for (int step = 1; step <= 3; ++step) {
            const CPoint to = At(press.x, press.y - rows[step - 1]);
            if (c.how == MOUSE) {
                Press(z, WM_MOUSEMOVE, to, MK_LBUTTON);
            } else {
                // The pointer held above the view: the timer scrolls the view and drags with it.
                z->ScrollToDevicePosition(CPoint(0, 1200));
                CPoint screen(press.x, -(10 + rows[step - 1]));
                z->ClientToScreen(&screen);
                ::SetCursorPos(screen.x, screen.y);
                z->SendMessage(WM_TIMER, CMapZView::TIMER_AUTOSCROLL);
            }
            if (step == c.boxStep)
                atBox = state();
        }
        Press(z, WM_LBUTTONUP, At(press.x, press.y));
        ASSERT_FALSE(services->boxes.empty());
        EXPECT_EQ(1u, services->boxes.size());
        EXPECT_EQ(c.box, services->boxes[0]);
        EXPECT_EQ(nullptr, services->boxCaptures[0]);
        EXPECT_EQ(atBox, state());
        EXPECT_EQ(-1, z->m_nState);
        EXPECT_FALSE(z->m_bAutoScroll);
        EXPECT_EQ(nullptr, CWnd::GetCapture());
    }
}

// A command given during a depth drag (Paste, sent as its accelerator sends it) ends the drag
// first, as its release would end it, the selection where the last step left it; the command's
// box (the pasted copy would pass the coordinate range) comes up with the mouse free, and the
// moves after it change nothing.
TEST_F(DepthTest, ABoxOfACommandGivenDuringADepthDragComesUpWithTheMouseFree)
{
    pFrame->m_bSnapToGrid = 0;
    Brush* a = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Brush* edge = AddBrush(map->GetWorldEntity(), 32740, 32767, 0, 64, 0, 64);
    Select(map, edge);
    ASSERT_TRUE(xy->Copy());
    map->DeselectAll();
    Select(map, a);
    const int y = z->DepthToDevice(32);
    z->ScrollToDevicePosition(CPoint(0, y - ClientHeight() / 2));
    BarPixels(0, 0);
    const int x = z->m_rcBand.CenterPoint().x;
    services->boxes.clear();
    services->boxCaptures.clear();
    Press(z, WM_LBUTTONDOWN, At(x, y), MK_LBUTTON);
    ASSERT_EQ(CMapZView::STATE_MOVE, z->m_nState);
    Press(z, WM_MOUSEMOVE, At(x, y - 24), MK_LBUTTON);
    const short moved = a->GetBounds()[BOX_MINZ];
    ASSERT_GT(moved, 0);
    ASSERT_TRUE(services->boxes.empty());
    m_pMain->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_PASTE, 1), 0);
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("A pasted brush would lie outside the map's coordinate range.\nNothing was pasted.", services->boxes[0]);
    EXPECT_EQ(nullptr, services->boxCaptures[0]);
    EXPECT_EQ(-1, z->m_nState);
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    Press(z, WM_MOUSEMOVE, At(x, y - 54), MK_LBUTTON);
    Press(z, WM_LBUTTONUP, At(x, y - 54));
    EXPECT_EQ(moved, a->GetBounds()[BOX_MINZ]);
    EXPECT_EQ(moved + 64, a->GetBounds()[BOX_MAXZ]);
    EXPECT_EQ("32740 32767", std::to_string(edge->GetBounds()[0]) + " " + std::to_string(edge->GetBounds()[1]));
    EXPECT_EQ(1u, services->boxes.size());
}

TEST_F(DepthTest, TheTopPlaneStopsOnePixelAboveTheBottomPlane)
{
    z->UpdateScrollSizes(1.0f); // one pixel per unit
    z->ScrollToDevicePosition(CPoint(0, 0));
    z->m_nBottomClip = 304;
    int top = static_cast<int>(z->m_nTopClip * 1.0);
    Press(z, WM_LBUTTONDOWN, At(10, top - 4), MK_LBUTTON);
    ASSERT_EQ(z->m_nState, CMapZView::STATE_TOP_PLANE);
    Press(z, WM_MOUSEMOVE, At(10, 500), MK_LBUTTON);
    EXPECT_EQ(z->m_nTopClip, 303);
    Press(z, WM_LBUTTONUP, At(10, 500));
    int upper, lower;
    z->GetClipRange(upper, lower);
    EXPECT_EQ(upper, lower + 1);
}

TEST_F(DepthTest, UnlinkedDragsTellOnlyTheirOwnPlaneViewLinkedOnesNarrowTheMapsClip)
{
    Brush* low = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Brush* high = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 512, 576);
    (void)low;
    map->RebuildVisibleList();
    CHintRecorder recorder;
    map->AddView(&recorder);
    z->UpdateScrollSizes(1.0f);
    auto dragTopTo = [&](int canvasY) {
        int top = static_cast<int>(z->m_nTopClip * 1.0);
        z->ScrollToDevicePosition(CPoint(0, top - 20));
        Press(z, WM_LBUTTONDOWN, At(10, top - 4), MK_LBUTTON);
        z->ScrollToDevicePosition(CPoint(0, canvasY - 20));
        Press(z, WM_MOUSEMOVE, At(10, canvasY - 4), MK_LBUTTON);
        Press(z, WM_LBUTTONUP, At(10, canvasY - 4));
    };

    services->SetLinkClipping(FALSE);
    xy->CollectDrawList();
    ASSERT_EQ(pFrame->GetObjectOrder().GetCount(), 2);
    dragTopTo(4096 - 256); // depth 256: the high brush is cut off
    EXPECT_EQ(recorder.hints, std::vector<LPARAM>{HINT_DEPTH_CLIP});
    EXPECT_FALSE(pFrame->GetObjectOrder().Find(high));
    EXPECT_TRUE(pFrame->GetObjectOrder().Find(low));

    recorder.hints.clear();
    services->SetLinkClipping(TRUE);
    dragTopTo(4096 - 320);
    EXPECT_EQ(recorder.hints, (std::vector<LPARAM>{HINT_LINKED_SELECTION, HINT_REDRAW}));
    EXPECT_EQ(map->GetDepthClip()[BOX_MAXZ], 320);
    EXPECT_FALSE(map->GetVisibleList().Find(high));
    EXPECT_TRUE(map->GetVisibleList().Find(low));
    map->RemoveView(&recorder);
}

TEST_F(DepthTest, AutoScrollRunsToTheEndOfTheRangeAndStopsWhenTheCaptureGoes)
{
    z->UpdateScrollSizes(1.0f);
    z->ScrollToDevicePosition(CPoint(0, 2000));
    z->m_nBottomClip = 2300;
    Press(z, WM_LBUTTONDOWN, At(10, 2305), MK_LBUTTON);
    ASSERT_EQ(z->m_nState, CMapZView::STATE_BOTTOM_PLANE);
    // The pointer held below the view.
    CPoint below(10, ClientHeight() + 40);
    CPoint screen = below;
    z->ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    Press(z, WM_MOUSEMOVE, below, MK_LBUTTON);
    EXPECT_TRUE(z->m_bAutoScroll);
    int last = -1;
    for (int i = 0; i < 400 && z->GetDeviceScrollPosition().y != last; ++i) {
        last = z->GetDeviceScrollPosition().y;
        z->SendMessage(WM_TIMER, CMapZView::TIMER_AUTOSCROLL);
    }
    EXPECT_EQ(z->GetDeviceScrollPosition().y, 8192 - ClientHeight());
    EXPECT_EQ(z->m_nBottomClip, 8192 - z->m_infoBottom.bmHeight);

    // Another window takes the mouse: the drag and its timer end.
    z->ScrollToDevicePosition(CPoint(0, 4000));
    m_pMain->SetCapture();
    EXPECT_FALSE(z->m_bAutoScroll);
    EXPECT_EQ(z->m_nState, -1);
    int clip = z->m_nBottomClip;
    z->SendMessage(WM_TIMER, CMapZView::TIMER_AUTOSCROLL);
    EXPECT_EQ(z->GetDeviceScrollPosition().y, 4000);
    EXPECT_EQ(z->m_nBottomClip, clip);
    ::ReleaseCapture();
}

TEST_F(DepthTest, TheContextMenuOpensOnlyWithoutPanning)
{
    int asked = 0;
    UINT numbersState = 0, disableState = 0, gridState = 0;
    AfxSeamScript([&](AfxModalCall& c) {
        ++asked;
        numbersState = AfxSeamMenuItemState(c.hMenu, ID_GRID_NUMBERS);
        disableState = AfxSeamMenuItemState(c.hMenu, ID_DISABLE_DEPTH_CLIPPING);
        gridState = AfxSeamMenuItemState(c.hMenu, ID_TOGGLE_GRID);
        return (INT_PTR)0;
    });
    CPoint p(20, 100);
    Press(z, WM_RBUTTONDOWN, p, MK_RBUTTON);
    Press(z, WM_RBUTTONUP, p);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(numbersState & MF_CHECKED);
    EXPECT_EQ(AfxSeamCalls().back().kind, AFX_MODAL_POPUPMENU);
    // Disable Depth Clipping has its own command; the grid switch keeps 32843.
    EXPECT_NE(disableState, (UINT)-1);
    EXPECT_EQ(gridState, (UINT)-1);

    z->SendMessage(WM_COMMAND, ID_GRID_NUMBERS);
    EXPECT_FALSE(z->m_bGridNumbers);
    AfxSeamScript([&](AfxModalCall& c) {
        ++asked;
        numbersState = AfxSeamMenuItemState(c.hMenu, ID_GRID_NUMBERS);
        return (INT_PTR)0;
    });
    Press(z, WM_RBUTTONDOWN, p, MK_RBUTTON);
    Press(z, WM_RBUTTONUP, p);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(numbersState & MF_CHECKED);

    // A right drag that pans more than the move margin opens nothing.
    int y0 = z->GetDeviceScrollPosition().y;
    Press(z, WM_RBUTTONDOWN, p, MK_RBUTTON);
    Press(z, WM_MOUSEMOVE, CPoint(20, 160), MK_RBUTTON);
    Press(z, WM_RBUTTONUP, CPoint(20, 160));
    EXPECT_EQ(z->GetDeviceScrollPosition().y, y0 - 60);
    EXPECT_EQ(asked, 2);
}

TEST_F(DepthTest, GridLinesAndDisableDepthClippingAreTwoCommands)
{
    z->m_nTopClip = 4096 - 64;
    z->m_nBottomClip = 4096 + 64;
    pFrame->ActivateZView();
    ASSERT_EQ(pFrame->GetActiveView(), z);
    // 32843 reaches the frame's grid switch even while the depth view is active.
    pFrame->SendMessage(WM_COMMAND, ID_TOGGLE_GRID);
    EXPECT_FALSE(pFrame->IsGridShown());
    EXPECT_EQ(z->m_nTopClip, 4096 - 64);
    pFrame->SendMessage(WM_COMMAND, ID_DISABLE_DEPTH_CLIPPING);
    int upper, lower;
    z->GetClipRange(upper, lower);
    EXPECT_GT(upper, 4000);
    EXPECT_LT(lower, -4000);
}
