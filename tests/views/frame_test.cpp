// The 2D map frame under Wine: panes, layout, hints, titles, combos, switches and update rules.
#include "ViewsRes.h"
#include "WindowFixture.h"
#include "afxwndtest.h"

namespace {

// The update rectangle of a window each time it gets WM_PAINT, read before the paint.
struct PaintSpy
{
    static PaintSpy* s_pSpy;
    HWND hWnd;
    std::vector<CRect> rects;
    HHOOK hHook;
    explicit PaintSpy(HWND h) : hWnd(h)
    {
        s_pSpy = this;
        hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~PaintSpy()
    {
        ::UnhookWindowsHookEx(hHook);
        s_pSpy = nullptr;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (code >= 0 && s_pSpy && cwp->hwnd == s_pSpy->hWnd && cwp->message == WM_PAINT) {
            CRect r;
            ::GetUpdateRect(cwp->hwnd, &r, FALSE);
            s_pSpy->rects.push_back(r);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
PaintSpy* PaintSpy::s_pSpy = nullptr;

void AddPlayerStart(Map* map)
{
    Entity* e = new Entity(map);
    e->AddKeyValue("classname", "info_player_start");
    e->AddKeyValue("origin", "512 -256 128");
    e->Translate(0, 0, 0);
    map->AddEntity(e);
}

} // namespace

TEST_F(WindowTest, FrameHoldsThePlaneAndDepthViewsAndKeepsTheDepthViewsWidth)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map);
    ASSERT_NE(pFrame, nullptr);
    EXPECT_TRUE(pFrame->m_wndSplitter.GetPane(0, 0)->IsKindOf(RUNTIME_CLASS(CMapXYView)));
    EXPECT_TRUE(pFrame->m_wndSplitter.GetPane(0, 1)->IsKindOf(RUNTIME_CLASS(CMapZView)));
    EXPECT_EQ(pFrame->GetActiveView(), pFrame->GetXYView());
    EXPECT_EQ(Caption(pFrame), CString("XY (Top) Window"));
    EXPECT_EQ(pFrame->GetStyle() & FWS_ADDTOTITLE, 0u);
    EXPECT_EQ(pFrame->GetExStyle() & WS_EX_CLIENTEDGE, 0u);

    // 300 pixels of client width: 239 for the plane view, 50 for the depth view.
    CRect window, client;
    pFrame->GetWindowRect(&window);
    pFrame->GetClientRect(&client);
    pFrame->SetWindowPos(nullptr, 0, 0, 300 + window.Width() - client.Width(), 400, SWP_NOZORDER | SWP_NOMOVE);
    pFrame->GetClientRect(&client);
    ASSERT_EQ(client.Width(), 300);
    int cur, min;
    pFrame->m_wndSplitter.GetColumnInfo(0, cur, min);
    EXPECT_EQ(cur, 239);
    pFrame->m_wndSplitter.GetColumnInfo(1, cur, min);
    EXPECT_EQ(cur, 50);

    MINMAXINFO mmi = {};
    pFrame->SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 250);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 210);
}

TEST_F(WindowTest, TheSplitBarCannotBeDragged)
{
    CMapFrame* pFrame = OpenNew();
    ASSERT_NE(pFrame, nullptr);
    pFrame->MDIMaximize();
    afxtest::PumpMessages();
    CRect xy, z;
    pFrame->GetXYView()->GetWindowRect(&xy);
    pFrame->GetZView()->GetWindowRect(&z);
    CPoint bar((xy.right + z.left) / 2, (xy.top + xy.bottom) / 2);
    ASSERT_TRUE(afxtest::Drag(bar, CPoint(bar.x - 120, bar.y)));
    CRect xy2;
    pFrame->GetXYView()->GetWindowRect(&xy2);
    EXPECT_EQ(afxtest::Text(xy2), afxtest::Text(xy));
}

TEST_F(WindowTest, HintsInvalidateTheirAreas)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map);
    ASSERT_NE(pFrame, nullptr);
    pFrame->MDIMaximize();
    afxtest::PumpMessages();
    CMapXYView* xy = pFrame->GetXYView();
    CPoint scroll = xy->GetDeviceScrollPosition();
    // A box round the origin: columns 1536 - 12 .. 1536 + 24, rows 1536 - 24 .. 1536 + 12.
    const short box[6] = {-32, 64, -32, 64, 0, 64};
    CRect projected(1524, 1512, 1560, 1548);
    projected.OffsetRect(-scroll);
    CUpdateHint hint(box);
    struct
    {
        LPARAM hint;
        int grow;
    } cases[] = {{HINT_CHANGED, 3}, {HINT_MOVED, 3}, {HINT_CAMERA, 35}};
    for (auto& c : cases) {
        xy->UpdateWindow();
        PaintSpy spy(xy->m_hWnd);
        map->UpdateAllViews(nullptr, c.hint, &hint);
        ASSERT_EQ(spy.rects.size(), 1u) << c.hint;
        CRect expected = projected;
        expected.InflateRect(c.grow, c.grow);
        expected.right += 1;
        expected.bottom += 1;
        EXPECT_EQ(afxtest::Text(spy.rects[0]), afxtest::Text(expected)) << c.hint;
    }

    // 19 redraws the XY view only; an XZ window ignores it.
    xy->UpdateWindow();
    map->UpdateAllViews(nullptr, HINT_TARGET_PATHS);
    CRect r;
    EXPECT_TRUE(::GetUpdateRect(xy->m_hWnd, &r, FALSE));
    xy->UpdateWindow();
    xy->m_nViewType = VIEW_XZ;
    map->UpdateAllViews(nullptr, HINT_TARGET_PATHS);
    EXPECT_FALSE(::GetUpdateRect(xy->m_hWnd, &r, FALSE));
    xy->m_nViewType = VIEW_XY;

    // 9 from another window's depth view is not for this one.
    CMapFrame* pOther = OpenAnother(map);
    ASSERT_NE(pOther, nullptr);
    xy->UpdateWindow();
    map->UpdateAllViews(pOther->GetZView(), HINT_DEPTH_CLIP);
    EXPECT_FALSE(::GetUpdateRect(xy->m_hWnd, &r, FALSE));
    map->UpdateAllViews(pFrame->GetZView(), HINT_DEPTH_CLIP);
    EXPECT_TRUE(::GetUpdateRect(xy->m_hWnd, &r, FALSE));
    xy->UpdateWindow();

    // 7 centres on the player start.
    AddPlayerStart(map);
    map->UpdateAllViews(nullptr, HINT_OPENED);
    CRect client;
    xy->GetClientRect(&client);
    CPoint p = xy->ProjectPoint(512, -256, 128);
    EXPECT_EQ(afxtest::Text(xy->GetDeviceScrollPosition()),
              afxtest::Text(CPoint(p.x - client.Width() / 2, p.y - client.Height() / 2)));
}

TEST_F(WindowTest, AMapWithoutAPlayerStartOpensCentred)
{
    CMapFrame* pFrame = OpenNew();
    ASSERT_NE(pFrame, nullptr);
    CMapXYView* xy = pFrame->GetXYView();
    CMapZView* z = pFrame->GetZView();
    CRect client;
    xy->GetClientRect(&client);
    CSize total = xy->GetTotalSize();
    EXPECT_EQ(afxtest::Text(xy->GetDeviceScrollPosition()),
              afxtest::Text(CPoint(total.cx / 2 - client.Width() / 2, total.cy / 2 - client.Height() / 2)));
    z->GetClientRect(&client);
    EXPECT_EQ(z->GetDeviceScrollPosition().y, z->GetTotalSize().cy / 2 - client.Height() / 2);
}

TEST_F(WindowTest, APaneWithoutAPendingTypeTakesTheFirstPendingPlane)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map);
    ASSERT_NE(pFrame, nullptr);
    EXPECT_EQ(pFrame->GetXYView()->GetViewType(), -1);
    EXPECT_EQ(Caption(pFrame), CString("XY (Top) Window"));
    map->SetViewType(VIEW_YZ);
    map->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
    EXPECT_EQ(pFrame->GetXYView()->GetViewType(), VIEW_YZ);
    EXPECT_EQ(Caption(pFrame), CString("YZ (Right) Window"));
    // From then on the type is the view's own.
    map->SetViewType(VIEW_XZ);
    map->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
    EXPECT_EQ(pFrame->GetXYView()->GetViewType(), VIEW_YZ);
}

TEST_F(WindowTest, CombosApplyAndStepWithinTheirEntries)
{
    CMapFrame* pFrame = OpenNew();
    ASSERT_NE(pFrame, nullptr);
    CMapXYView* xy = pFrame->GetXYView();
    CMapZView* z = pFrame->GetZView();
    Choose(1075, 4);
    EXPECT_FLOAT_EQ(xy->m_scale, 0.75f);
    EXPECT_EQ(xy->GetTotalSize().cx, 6144);
    Choose(1076, 5);
    EXPECT_FLOAT_EQ(z->m_scale, 1.0f);
    Choose(1058, 7);
    EXPECT_EQ(xy->m_nGrid, 128);
    EXPECT_EQ(z->m_nGrid, 128);
    Choose(1060, 5);
    EXPECT_DOUBLE_EQ(xy->m_snapAngle, 45.0);

    // The steps stop at both ends of each combo.
    struct
    {
        int which;
        UINT up, down;
        UINT combo;
        int last;
    } steps[] = {{CMapFrame::COMBO_PLANE_SCALE, ID_ZOOM_IN_PLANE, ID_ZOOM_OUT_PLANE, 1075, 8},
                 {CMapFrame::COMBO_DEPTH_SCALE, ID_ZOOM_IN_DEPTH, ID_ZOOM_OUT_DEPTH, 1076, 8},
                 {CMapFrame::COMBO_GRID, ID_GRID_SIZE_UP, ID_GRID_SIZE_DOWN, 1058, 7},
                 {CMapFrame::COMBO_SNAP_ANGLE, ID_SNAP_ANGLE_UP, ID_SNAP_ANGLE_DOWN, 1060, 7}};
    for (auto& s : steps) {
        for (int i = 0; i < 12; ++i)
            Command(pFrame, s.up);
        EXPECT_EQ(pFrame->m_comboIndex[s.which], s.last) << s.combo;
        EXPECT_EQ(Selected(s.combo), s.last) << s.combo;
        for (int i = 0; i < 12; ++i)
            Command(pFrame, s.down);
        EXPECT_EQ(pFrame->m_comboIndex[s.which], 0) << s.combo;
        EXPECT_EQ(Selected(s.combo), 0) << s.combo;
    }
    EXPECT_FLOAT_EQ(xy->m_scale, 0.125f);
    EXPECT_EQ(xy->m_nGrid, 1);
    EXPECT_DOUBLE_EQ(xy->m_snapAngle, 1.0);

    // The plane zoom waits while a mouse operation runs in the plane view.
    xy->m_nState = 3;
    Command(pFrame, ID_ZOOM_IN_PLANE);
    EXPECT_EQ(pFrame->m_comboIndex[CMapFrame::COMBO_PLANE_SCALE], 0);
    xy->m_nState = -1;
    Command(pFrame, ID_ZOOM_IN_PLANE);
    EXPECT_EQ(pFrame->m_comboIndex[CMapFrame::COMBO_PLANE_SCALE], 1);
}

TEST_F(WindowTest, ScaleChangesKeepTheCentre)
{
    CMapFrame* pFrame = OpenNew();
    ASSERT_NE(pFrame, nullptr);
    CMapXYView* xy = pFrame->GetXYView();
    CMapZView* z = pFrame->GetZView();
    CRect client;
    xy->GetClientRect(&client);
    xy->ScrollToDevicePosition(CPoint(1000, 900));
    auto centre = [&](CMapView* v) {
        CRect c;
        v->GetClientRect(&c);
        CPoint p = v->GetDeviceScrollPosition() + CPoint(c.Width() / 2, c.Height() / 2);
        v->DeviceToWorld(p);
        return p;
    };
    CPoint before = centre(xy);
    for (int index : {5, 8, 1}) {
        Choose(1075, index);
        CPoint after = centre(xy);
        EXPECT_NEAR(after.x, before.x, 8) << index;
        EXPECT_NEAR(after.y, before.y, 8) << index;
    }
    z->ScrollToDevicePosition(CPoint(0, 1000));
    CPoint zBefore = centre(z);
    for (int index : {6, 0, 3}) {
        Choose(1076, index);
        EXPECT_NEAR(centre(z).y, zBefore.y, 8) << index;
    }
}

TEST_F(WindowTest, EachWindowKeepsItsComboEntries)
{
    CMapFrame* pA = OpenNew();
    ASSERT_NE(pA, nullptr);
    Choose(1075, 5);
    Choose(1058, 2);
    CMapFrame* pB = OpenNew();
    ASSERT_NE(pB, nullptr);
    EXPECT_EQ(m_pMain->MDIGetActive(), pB);
    EXPECT_EQ(Selected(1075), 2);
    EXPECT_EQ(Selected(1058), 4);
    EXPECT_EQ(Selected(1060), 3); // a new window shows 22.5, the angle its view uses
    int applied = services->applied;
    m_pMain->MDIActivate(pA);
    afxtest::PumpMessages();
    EXPECT_EQ(Selected(1075), 5);
    EXPECT_EQ(Selected(1058), 2);
    EXPECT_GT(services->applied, applied); // B's deactivation applied the Entity Editor's edits
    EXPECT_EQ(services->GetCachedActiveMap(), pA->GetXYView()->GetMap());
    EXPECT_EQ(services->currentEntities.back(), pA->GetXYView()->GetMap()->GetCurrentEntity());

    // Floating, the bar is no descendant of the main frame: the entries still come back.
    m_pMain->EnableDocking(CBRS_ALIGN_ANY);
    m_pBar->EnableDocking(CBRS_ALIGN_ANY);
    m_pMain->FloatControlBar(m_pBar, CPoint(300, 300));
    afxtest::PumpMessages();
    ASSERT_FALSE(::IsChild(m_pMain->m_hWnd, m_pBar->m_hWnd));
    m_pMain->MDIActivate(pB);
    afxtest::PumpMessages();
    EXPECT_EQ(Selected(1075), 2);
    m_pMain->MDIActivate(pA);
    afxtest::PumpMessages();
    EXPECT_EQ(Selected(1075), 5);
}

TEST_F(WindowTest, SwitchesReportAndLinkingSendsItsHints)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map);
    ASSERT_NE(pFrame, nullptr);
    struct
    {
        UINT id;
        const char* off;
        const char* on;
    } switches[] = {{ID_TOGGLE_GRID, "Grid Turned Off", "Grid Turned On"},
                    {ID_TOGGLE_SNAP_TO_GRID, "Snap-To-Grid Turned Off", "Snap-To-Grid Turned On"},
                    {ID_TOGGLE_SNAP_TO_ANGLE, "Snap-To-Angle Turned Off", "Snap-To-Angle Turned On"}};
    for (auto& s : switches) {
        Command(pFrame, s.id);
        EXPECT_EQ(services->statuses.back(), s.off);
        Command(pFrame, s.id);
        EXPECT_EQ(services->statuses.back(), s.on);
    }

    CHintRecorder recorder;
    map->AddView(&recorder);
    Command(pFrame, ID_LINK_CLIPPING_PLANES);
    EXPECT_FALSE(services->IsLinkClipping());
    EXPECT_EQ(recorder.hints, (std::vector<LPARAM>{HINT_SELECTION, HINT_REDRAW}));
    recorder.hints.clear();
    Command(pFrame, ID_LINK_CLIPPING_PLANES);
    EXPECT_TRUE(services->IsLinkClipping());
    EXPECT_EQ(recorder.hints, (std::vector<LPARAM>{HINT_LINKED_SELECTION, HINT_REDRAW}));
    recorder.hints.clear();
    // Clip to Object is enabled by one selected brush.
    Command(pFrame, ID_CLIP_TO_OBJECT);
    EXPECT_FALSE(services->IsClipToObject());
    Select(map, AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64));
    Command(pFrame, ID_CLIP_TO_OBJECT);
    EXPECT_TRUE(services->IsClipToObject());
    EXPECT_EQ(recorder.hints, (std::vector<LPARAM>{HINT_CLIP_TO_OBJECT, HINT_LINKED_SELECTION, HINT_REDRAW}));
    recorder.hints.clear();
    Command(pFrame, ID_CLIP_TO_OBJECT);
    EXPECT_FALSE(services->IsClipToObject());
    EXPECT_EQ(recorder.hints, (std::vector<LPARAM>{HINT_UNCLIP_TO_OBJECT, HINT_REDRAW}));
    map->RemoveView(&recorder);
}

TEST_F(WindowTest, UpdateRules)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map);
    ASSERT_NE(pFrame, nullptr);
    auto update = [&](UINT id) {
        CTestCmdUI ui;
        ui.m_nID = id;
        pFrame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui;
    };
    // Clip to Object: off and nothing selected: disabled.
    EXPECT_EQ(update(ID_CLIP_TO_OBJECT).m_bEnabled, FALSE);
    Brush* b = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Select(map, b);
    CTestCmdUI clip = update(ID_CLIP_TO_OBJECT);
    EXPECT_EQ(clip.m_bEnabled, 1);
    EXPECT_EQ(clip.m_nCheck, 0);
    services->SetLinkClipping(FALSE);
    EXPECT_EQ(update(ID_CLIP_TO_OBJECT).m_bEnabled, 0);
    services->SetClipToObject(TRUE);
    clip = update(ID_CLIP_TO_OBJECT);
    EXPECT_EQ(clip.m_bEnabled, 1);
    EXPECT_EQ(clip.m_nCheck, 1);
    services->SetClipToObject(FALSE);
    EXPECT_EQ(update(ID_LINK_CLIPPING_PLANES).m_nCheck, 0);
    services->SetLinkClipping(TRUE);
    EXPECT_EQ(update(ID_LINK_CLIPPING_PLANES).m_nCheck, 1);

    for (UINT id : {ID_TOGGLE_GRID, ID_TOGGLE_SNAP_TO_GRID, ID_TOGGLE_SNAP_TO_ANGLE}) {
        CTestCmdUI ui = update(id);
        EXPECT_EQ(ui.m_bEnabled, 1) << id;
        EXPECT_EQ(ui.m_nCheck, 1) << id;
    }
    pFrame->m_bSnapToGrid = 0;
    EXPECT_EQ(update(ID_TOGGLE_SNAP_TO_GRID).m_nCheck, 0);

    // The active map window enables the combo commands and their boxes, a box disabled while no
    // map window was active too.
    for (UINT id = ID_COMBO_SNAP_ANGLE_UI; id <= ID_COMBO_DEPTH_SCALE_UI; ++id)
        EXPECT_EQ(update(id).m_bEnabled, 1) << id;
    ::EnableWindow(m_pBar->Combo(1058), FALSE);
    EXPECT_EQ(update(ID_COMBO_GRID_UI).m_bEnabled, 1);
    EXPECT_TRUE(::IsWindowEnabled(m_pBar->Combo(1058)));

    // Mouse modes: a radio mark from the main frame's mode; Move Item needs a current entity.
    services->SetMouseMode(CViewServices::MOUSE_ZOOM);
    struct
    {
        UINT id;
        int radio;
    } modes[] = {{ID_MOUSE_PAN_WINDOW, 0}, {ID_MOUSE_SELECT_ITEM, 0}, {ID_MOUSE_ZOOM_WINDOW, 1},
                 {ID_MOUSE_ZOOM_SELECTION, 0}, {ID_MOUSE_ZOOM_ITEMS, 0}};
    for (auto& m : modes) {
        CTestCmdUI ui = update(m.id);
        EXPECT_EQ(ui.m_bEnabled, 1) << m.id;
        EXPECT_EQ(ui.m_bRadio, m.radio) << m.id;
    }
    EXPECT_EQ(update(ID_MOUSE_MOVE_ITEM).m_bEnabled, 0);
    map->SetCurrentEntity(map->GetWorldEntity());
    EXPECT_EQ(update(ID_MOUSE_MOVE_ITEM).m_bEnabled, 1);
    map->SetCurrentEntity(nullptr);

    services->SetAxisRestrictions(0, 1, 0);
    EXPECT_EQ(update(ID_RESTRICT_X).m_bRadio, 0);
    EXPECT_EQ(update(ID_RESTRICT_Y).m_bRadio, 1);
    EXPECT_EQ(update(ID_RESTRICT_Z).m_bRadio, 0);
}

TEST_F(WindowTest, DeletedObjectsLeaveEveryWindowsList)
{
    Map* map = nullptr;
    CMapFrame* pA = OpenNew(&map);
    ASSERT_NE(pA, nullptr);
    CMapFrame* pB = OpenAnother(map);
    ASSERT_NE(pB, nullptr);
    Brush* keep = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    Brush* gone = AddBrush(map->GetWorldEntity(), 128, 192, 0, 64, 0, 64);
    services->SetLinkClipping(FALSE);
    pA->GetXYView()->CollectDrawList();
    pB->GetXYView()->CollectDrawList();
    ASSERT_TRUE(pA->GetObjectOrder().Find(gone));
    ASSERT_TRUE(pB->GetObjectOrder().Find(gone));
    Select(map, gone);
    ASSERT_TRUE(map->DeleteSelection(FALSE));
    for (CMapFrame* f : {pA, pB}) {
        EXPECT_FALSE(f->GetObjectOrder().Find(gone));
        EXPECT_TRUE(f->GetObjectOrder().Find(keep));
    }
    // The active window's list is the one the build writes while the planes are unlinked.
    EXPECT_EQ(services->GetActiveObjectOrder(map), &pB->GetObjectOrder());
    services->SetLinkClipping(TRUE);
}

TEST_F(WindowTest, ClipToObjectPutsTheDepthPlanesOnTheSelection)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map);
    ASSERT_NE(pFrame, nullptr);
    Select(map, AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, -64, 128));
    Command(pFrame, ID_CLIP_TO_OBJECT);
    ASSERT_TRUE(services->IsClipToObject());
    int upper, lower;
    pFrame->GetZView()->GetClipRange(upper, lower);
    // The band's device rows rounded outwards to the 6-pixel grid: 1488 and 1560.
    EXPECT_EQ(upper, 128);
    EXPECT_EQ(lower, -64);
    Command(pFrame, ID_CLIP_TO_OBJECT);
    pFrame->GetZView()->GetClipRange(upper, lower);
    EXPECT_GT(upper, 4000);
    EXPECT_LT(lower, -4000);
}

TEST_F(WindowTest, TheMiddleButtonActivatesTheNextWindow)
{
    CMapFrame* pA = OpenNew();
    CMapFrame* pB = OpenNew();
    ASSERT_NE(pA, nullptr);
    ASSERT_NE(pB, nullptr);
    ASSERT_EQ(m_pMain->MDIGetActive(), pB);
    pB->SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(10, 10));
    afxtest::PumpMessages();
    EXPECT_EQ(m_pMain->MDIGetActive(), pA);
}

TEST_F(WindowTest, ScrollBarsFollowTheSetting)
{
    CMapFrame* pWith = OpenNew();
    ASSERT_NE(pWith, nullptr);
    EXPECT_TRUE(pWith->GetXYView()->GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(pWith->GetZView()->GetStyle() & WS_VSCROLL);
    services->WriteProfileInt("Map Window", "Scroll Bars", 0);
    CMapFrame* pWithout = OpenNew();
    ASSERT_NE(pWithout, nullptr);
    for (CWnd* v : {(CWnd*)pWithout->GetXYView(), (CWnd*)pWithout->GetZView()})
        EXPECT_EQ(v->GetStyle() & (WS_VSCROLL | WS_HSCROLL), 0u);
    // The view still scrolls by code.
    CMapXYView* xy = pWithout->GetXYView();
    xy->ScrollToDevicePosition(CPoint(100, 200));
    EXPECT_EQ(afxtest::Text(xy->GetDeviceScrollPosition()), afxtest::Text(CPoint(100, 200)));
}
