// The 2D views' pure tables: canvas and world, snapping, titles, projections, status panes.
#include "MapXYView.h"
#include "MapZView.h"
#include "ViewsFixture.h"
#include "ViewsRes.h"
#include <cmath>


TEST_F(ViewsTest, CanvasAndWorldMappings)
{
    Map* map = NewMap();
    {
        PlaneView v(map, VIEW_XY);
        struct
        {
            int x, y, wx, wy;
        } points[] = {{1536, 1536, 0, 0}, {1537, 1535, 2, 2}, {1533, 1539, -8, -8}, {0, 0, -4096, 4096},
                      {1535, 1537, -2, -2}};
        for (auto& c : points) {
            CPoint p(c.x, c.y);
            v.DeviceToWorld(p);
            EXPECT_EQ(p.x, c.wx) << c.x;
            EXPECT_EQ(p.y, c.wy) << c.y;
        }
        int y = 1535;
        v.DeviceToWorldY(y);
        EXPECT_EQ(y, 2);
        int d = 100;
        v.WorldToDevice(d);
        EXPECT_EQ(d, 37 + 1536);
        d = -100;
        v.WorldToDevice(d);
        EXPECT_EQ(d, -37 + 1536);
        CRect r(1533, 1533, 1539, 1539);
        v.DeviceRectToWorld(r);
        EXPECT_EQ(r, CRect(-8, 8, 8, -8)); // the canvas top is the larger world y
    }
    delete map;
}

TEST_F(ViewsTest, GridSnappingAndGridPixels)
{
    Map* map = NewMap();
    {
        PlaneView v(map, VIEW_XY);
        v.m_nGridPixels = 6;
        struct
        {
            int in, snapped, floor, ceil;
        } cases[] = {{8, 6, 6, 12}, {9, 12, 6, 12}, {-5, 0, 0, 6}, {12, 12, 12, 12}, {13, 12, 12, 18}};
        for (auto& c : cases) {
            CPoint p(c.in, c.in);
            v.SnapToGrid(p);
            EXPECT_EQ(p, CPoint(c.snapped, c.snapped)) << c.in;
            EXPECT_EQ(v.GridFloor(c.in), c.floor) << c.in;
            EXPECT_EQ(v.GridCeil(c.in), c.ceil) << c.in;
        }
        v.m_nGridPixels = 0;
        CPoint p(13, -7);
        v.SnapToGrid(p);
        EXPECT_EQ(p, CPoint(13, -7));
        EXPECT_EQ(v.GridFloor(13), 13);
        EXPECT_EQ(v.GridCeil(13), 13);
    }
    EXPECT_EQ(CMapView::ComputeGridPixels(16, 0.375f, 3072), 6);
    EXPECT_EQ(CMapView::ComputeGridPixels(16, 0.125f, 1024), 0); // 2 pixels: no grid
    EXPECT_EQ(CMapView::ComputeGridPixels(128, 3.0f, 24576), 384);
    EXPECT_EQ(CMapView::ComputeGridPixels(64, 0.125f, 8), 0);   // not below the canvas
    delete map;
}

TEST_F(ViewsTest, AngleSnapping)
{
    Map* map = NewMap();
    {
        PlaneView v(map, VIEW_XY);
        v.m_snapAngle = 22.5;
        // Degrees to radians as the views convert back.
        const double rad = 0.017453293005625408;
        struct
        {
            double in, out;
        } cases[] = {{10, 0}, {11.25, 22.5}, {350, 0}, {190, 180}, {-100, -90}, {180, 180}};
        for (auto& c : cases)
            EXPECT_NEAR(v.SnapAngle(c.in * rad) / rad, c.out, 1e-4) << c.in;
        // A snap angle of zero or less leaves the angle alone instead of making NaN.
        for (double snap : {0.0, -5.0}) {
            v.m_snapAngle = snap;
            double a = v.SnapAngle(0.7);
            EXPECT_FALSE(std::isnan(a));
            EXPECT_DOUBLE_EQ(a, 0.7);
        }
    }
    delete map;
}

TEST_F(ViewsTest, FrameTitles)
{
    EXPECT_EQ(CMapView::MakeTitle("C:\\maps\\my.house.map", VIEW_XZ), CString("my.house - XZ (Front) Window"));
    EXPECT_EQ(CMapView::MakeTitle("plain", VIEW_YZ), CString("plain - YZ (Right) Window"));
    EXPECT_EQ(CMapView::MakeTitle("d:/q/e1m1.map", VIEW_XY), CString("e1m1 - XY (Top) Window"));
    EXPECT_EQ(CMapView::MakeTitle("c:e2.map", VIEW_XY), CString("e2 - XY (Top) Window"));
    EXPECT_EQ(CMapView::MakeTitle("", VIEW_XY), CString("XY (Top) Window"));
    // An undecided view titles itself as XY.
    EXPECT_EQ(CMapView::MakeTitle("", -1), CString("XY (Top) Window"));
}

TEST_F(ViewsTest, ProjectionAndInvalidateBoundsPerViewType)
{
    Map* map = NewMap();
    const short box[6] = {-64, 64, 0, 128, 32, 96}; // x, y, z
    struct
    {
        int type;
        CRect projected;
    } cases[] = {
        // columns: 1536 + trunc(h * 0.375); rows: 1536 - trunc(v * 0.375)
        {VIEW_XY, CRect(1512, 1488, 1560, 1536)},
        {VIEW_XZ, CRect(1512, 1500, 1560, 1524)},
        {VIEW_YZ, CRect(1536, 1500, 1584, 1524)},
    };
    for (auto& c : cases) {
        PlaneView v(map, c.type);
        EXPECT_EQ(v.ProjectBox(box), c.projected) << c.type;
        v.InvalidateBounds(box);
        CRect expected = c.projected;
        expected.InflateRect(3, 3);
        expected.right += 1;
        expected.bottom += 1;
        EXPECT_EQ(v.m_rcUpdate, expected) << c.type;
    }
    {
        // Clipped to the canvas at its edge.
        PlaneView v(map, VIEW_XY);
        const short corner[6] = {-4096, -4000, 4000, 4096, 0, 0};
        v.InvalidateBounds(corner);
        EXPECT_EQ(v.m_rcUpdate.left, 0);
        EXPECT_EQ(v.m_rcUpdate.top, 0);
    }
    delete map;
}

TEST_F(ViewsTest, StatusPaneTexts)
{
    Map* map = NewMap();
    {
        PlaneView v(map, VIEW_XY);
        v.m_nGridPixels = 6;
        v.m_ptLastMouse = CPoint(1540, 1532);
        // Snapped first (1542, 1530), then to the world.
        EXPECT_EQ(v.PositionPaneText(), CString("@: 16, 16"));
        v.m_nGridPixels = 0;
        EXPECT_EQ(v.PositionPaneText(), CString("@: 10, 10"));

        EXPECT_EQ(v.SizePaneText(), CString(""));
        EXPECT_EQ(v.EntityPaneText(), CString("None Selected"));
        Brush* b = AddBrush(map->GetWorldEntity(), 0, 64, 0, 32, 0, 16);
        Select(map, b);
        EXPECT_EQ(v.SizePaneText(), CString("Size: 64 x 32 x 16"));
        EXPECT_EQ(v.EntityPaneText(), CString("Multiple Selected"));
        Entity* light = AddEntity(map, "light", "0 0 0");
        Select(map, light);
        EXPECT_EQ(v.SizePaneText(), CString(""));
        map->SetCurrentEntity(light);
        EXPECT_EQ(v.EntityPaneText(), CString("Entity: light"));
        light->AddKeyValue("_desc", "Lamp by the door");
        EXPECT_EQ(v.EntityPaneText(), CString("Entity: Lamp by the door"));
        Entity* bare = new Entity(map);
        map->AddEntity(bare);
        map->SetCurrentEntity(bare);
        EXPECT_EQ(v.EntityPaneText(), CString("Entity: Unknown"));
        map->SetCurrentEntity(nullptr);
    }
    delete map;
}

TEST_F(ViewsTest, DepthClipValuesAndClipRangeAtTwoScales)
{
    Map* map = NewMap();
    {
        CMapZView z;
        map->AddView(&z);
        z.m_nViewType = VIEW_XY;
        z.UpdateScrollSizes(0.375f); // canvas 3072 high: depth 0 at 1536
        EXPECT_EQ(z.GetTotalSize().cy, 3072);
        EXPECT_EQ(z.DepthToDevice(0), 1536);
        EXPECT_EQ(z.DepthToDevice(64), 1512);
        // A stored value c stands for the depth 4096 - c.
        z.m_nTopClip = 4096 - 256;
        z.m_nBottomClip = 4096 + 128;
        int upper, lower;
        z.GetClipRange(upper, lower);
        EXPECT_EQ(upper, 256);
        EXPECT_EQ(lower, -128);
        // The planes are stored unscaled and keep their depths at another scale.
        z.UpdateScrollSizes(1.0f);
        EXPECT_EQ(z.GetTotalSize().cy, 8192);
        z.GetClipRange(upper, lower);
        EXPECT_EQ(upper, 256);
        EXPECT_EQ(lower, -128);
        EXPECT_TRUE(services->HasStatus("Depth Scale Set To 100.0%"));
        map->RemoveView(&z);
    }
    delete map;
}

TEST_F(ViewsTest, DepthPositionPane)
{
    Map* map = NewMap();
    {
        CMapZView z;
        map->AddView(&z);
        z.UpdateScrollSizes(0.375f);
        z.m_nGridPixels = 6;
        z.m_ptLastMouse = CPoint(10, 1532); // snapped to 1530: depth 16
        CTestCmdUI ui;
        ui.m_nID = ID_PANE_POSITION;
        z.OnUpdatePanePosition(&ui);
        EXPECT_EQ(ui.m_strText, CString("@: 16"));
        z.m_nGridPixels = 0;
        z.OnUpdatePanePosition(&ui);
        EXPECT_EQ(ui.m_strText, CString("@: 10"));
        map->RemoveView(&z);
    }
    delete map;
}
