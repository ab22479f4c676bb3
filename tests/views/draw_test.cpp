// Drawing the plane view into a memory device context, with distinctive "Colors" per test.
#include "ViewsFixture.h"

namespace {

const COLORREF kBackground = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kGrid = RGB(0x01, 0x02, 0x03);
const COLORREF kTile = RGB(0x04, 0x05, 0x06);
const COLORREF kBrush = RGB(0x0A, 0x0B, 0x0C);
const COLORREF kEntity = RGB(0x00, 0x00, 0x0D);
const COLORREF kSelected = RGB(0xA0, 0x00, 0x00);
const COLORREF kCamera = RGB(0x00, 0xC0, 0x00);
const COLORREF kVertex = RGB(0x30, 0x31, 0x32);
const COLORREF kEdge = RGB(0x40, 0x41, 0x42);
const COLORREF kFace = RGB(0x50, 0x51, 0x52);
const COLORREF kDoor = RGB(0x70, 0x71, 0x72);

class DrawTest : public ViewsTest
{
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        auto set = [this](LPCSTR key, COLORREF c) {
            services->WriteProfileInt("Colors", key, (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        };
        set("Map Background", kBackground);
        set("Grid", kGrid);
        set("Tile", kTile);
        set("Brush", kBrush);
        set("Entity", kEntity);
        set("Selected Object", kSelected);
        set("Camera Eye", kCamera);
        set("Vertex Point", kVertex);
        set("Edge Point", kEdge);
        set("Face Point", kFace);
        services->CreateColors();
        doorPen.CreatePen(PS_SOLID, 1, kDoor);
        services->classPens["func_door"] = &doorPen;
        map = NewMap();
    }
    void TearDown() override
    {
        delete map;
        ViewsTest::TearDown();
    }
    // Draws the canvas rectangle of a fresh view (37.5%, grid 16, or as given).
    void Draw(Canvas& c, const CRect& rc, int type = VIEW_XY, float scale = 0.375f, int grid = 16, BOOL bands = 0)
    {
        map->RebuildVisibleList();
        PlaneView v(map, type, static_cast<int>(scale * 8192));
        v.m_scale = scale;
        v.m_nGrid = grid;
        v.m_nGridPixels = CMapView::ComputeGridPixels(grid, scale, static_cast<int>(scale * 8192));
        v.m_nState = bands;
        v.DrawCanvas(c.DC(), rc);
    }

    CPen doorPen;
    Map* map = nullptr;
};

} // namespace

TEST_F(DrawTest, GridLinesEverySixAndTileLinesEveryTwentyFourPixels)
{
    Canvas c(48, 48);
    Draw(c, CRect(120, 120, 168, 168)); // canvas 120 is a multiple of 24
    // Rows: 120 and 144 tile; 126, 132, 138, 150, ... grid; others background (column 1 has no
    // vertical line).
    EXPECT_EQ(c.At(1, 0), kTile);
    EXPECT_EQ(c.At(1, 24), kTile);
    for (int y : {6, 12, 18, 30, 36, 42})
        EXPECT_EQ(c.At(1, y), kGrid) << y;
    for (int y : {1, 3, 5, 7, 23, 25})
        EXPECT_EQ(c.At(1, y), kBackground) << y;
    // Columns alike.
    EXPECT_EQ(c.At(0, 1), kTile);
    EXPECT_EQ(c.At(6, 1), kGrid);
    EXPECT_EQ(c.At(3, 1), kBackground);
}

TEST_F(DrawTest, NoGridBelowFourPixelsAndNoTilePenWithACoarseGrid)
{
    {
        Canvas c(48, 48);
        Draw(c, CRect(40, 40, 88, 88), VIEW_XY, 0.125f, 16);
        EXPECT_EQ(c.Count(kBackground), 48 * 48);
    }
    {
        Canvas c(48, 48);
        Draw(c, CRect(120, 120, 168, 168), VIEW_XY, 0.375f, 64); // 24 pixels, tiles 24: not above
        EXPECT_EQ(c.Count(kTile), 0);
        EXPECT_EQ(c.At(1, 0), kGrid);
        EXPECT_EQ(c.At(1, 24), kGrid);
    }
}

TEST_F(DrawTest, BrushesInTheirPens)
{
    // Columns 1536 + trunc(x * 0.375), rows 1536 - trunc(y * 0.375); canvas from (1600, 1400).
    AddBrush(map->GetWorldEntity(), 256, 320, 256, 320, 0, 64);   // columns 1632..1656, rows 1416..1440
    Brush* sel = AddBrush(map->GetWorldEntity(), 384, 448, 256, 320, 0, 64); // columns 1680..1704
    Entity* door = AddEntity(map, "func_door");
    AddBrush(door, 256, 320, 128, 192, 0, 64);                     // rows 1464..1488
    Entity* other = AddEntity(map, "func_wall");
    AddBrush(other, 384, 448, 128, 192, 0, 64);
    Select(map, sel);
    Canvas c(120, 100);
    Draw(c, CRect(1600, 1400, 1720, 1500));
    EXPECT_EQ(c.At(32, 16), kBrush);      // top-left corner of the world brush
    EXPECT_EQ(c.At(56, 30), kBrush);      // its right edge
    EXPECT_EQ(c.At(45, 29), kBackground); // inside
    EXPECT_EQ(c.At(80, 20), kSelected);   // the selected one's left edge
    EXPECT_EQ(c.At(104, 22), kSelected);
    EXPECT_EQ(c.At(32, 70), kDoor);       // a brush entity in its class pen
    EXPECT_EQ(c.At(80, 70), kEntity);     // a class without a pen: the "Entity" pen
    // Five-pixel squares at the selected box's handle points (one brush selected): in XY the
    // vertical edges' points lie on the corners and are drawn after the vertices; the top and
    // bottom faces' points lie at the centre.
    EXPECT_EQ(c.Count(kEdge, CRect(78, 14, 83, 19)), 25);
    EXPECT_EQ(c.Count(kEdge, CRect(102, 38, 107, 43)), 25);
    EXPECT_EQ(c.At(83, 16), kSelected);
    EXPECT_EQ(c.Count(kFace, CRect(90, 26, 95, 31)), 25); // centre (1692, 1428)
    EXPECT_EQ(c.Count(kFace, CRect(90, 14, 95, 19)), 25);  // the side face's point on the top edge
}

TEST_F(DrawTest, HandleVerticesShowWhereNoEdgeCoversThem)
{
    // With the edge points switched off the corners show the vertex colour.
    Brush* sel = AddBrush(map->GetWorldEntity(), 384, 448, 256, 320, 0, 64);
    Select(map, sel);
    Canvas c(120, 100);
    map->m_showEdgePoints = 0;
    Draw(c, CRect(1600, 1400, 1720, 1500));
    EXPECT_EQ(c.Count(kVertex, CRect(78, 14, 83, 19)), 25);
    EXPECT_EQ(c.Count(kEdge), 0);
}

TEST_F(DrawTest, AngleMarksOnlyForTheEightDirections)
{
    Entity* a90 = AddEntity(map, "info_player_start", "256 256 0"); // box 240..272: columns 1626..1638
    a90->AddKeyValue("angle", "90");
    Entity* a30 = AddEntity(map, "info_player_deathmatch", "384 256 0");
    a30->AddKeyValue("angle", "30");
    Canvas c(120, 100);
    Draw(c, CRect(1600, 1400, 1720, 1500));
    // The box: columns 1626..1638, rows 1434..1446 (bitmap 26..38, 34..46). The mark sits 2
    // pixels inside the top edge, at the middle: a circle round (32, 36).
    CRect box90 = CRect(26, 34, 39, 47);
    CRect inside90 = box90;
    inside90.DeflateRect(1, 1);
    EXPECT_GT(c.Count(kEntity, CRect(30, 35, 35, 39)), 0);
    EXPECT_EQ(c.Count(kEntity, CRect(28, 40, 38, 46)), 0); // nothing lower inside the box
    // The angle 30 draws nothing inside its box.
    CRect inside30(75, 35, 86, 46);
    EXPECT_EQ(c.Count(kEntity, inside30), 0);
}

TEST_F(DrawTest, RubberBandFlatIsNotDrawn)
{
    const short band[6] = {256, 320, 256, 320, 0, 0};
    map->m_bRubberBand = 1;
    for (int i = 0; i < 6; ++i)
        map->m_rubberBand[i] = band[i];
    {
        Canvas c(120, 100);
        Draw(c, CRect(1600, 1400, 1720, 1500));
        EXPECT_EQ(c.Count(kSelected), 0);
    }
    map->m_rubberBand[5] = 16;
    {
        Canvas c(120, 100);
        Draw(c, CRect(1600, 1400, 1720, 1500));
        EXPECT_EQ(c.At(32, 16), kSelected);
    }
}

TEST_F(DrawTest, TargetLineBetweenSourceAndDestination)
{
    map->SetShowTargetPaths(1);
    Entity* button = AddEntity(map, "func_button");
    button->AddKeyValue("target", "t1");
    AddBrush(button, 256, 288, 256, 288, 0, 32);
    Entity* door = AddEntity(map, "func_door");
    door->AddKeyValue("targetname", "t1");
    AddBrush(door, 448, 480, 256, 288, 0, 32);
    Canvas c(120, 100);
    Draw(c, CRect(1600, 1400, 1720, 1500));
    // Centres (272, 272) and (464, 272): row 1536 - 102 = 1434, columns 1638..1710.
    for (int x : {45, 60, 80, 100})
        EXPECT_EQ(c.At(x, 34), kDoor) << x;
    services->classPens.clear();
    map->SetShowTargetPaths(0);
    Canvas d(120, 100);
    Draw(d, CRect(1600, 1400, 1720, 1500));
    EXPECT_EQ(d.Count(kDoor), 0);
}

TEST_F(DrawTest, CameraGlyphs)
{
    CameraRecord cam;
    cam.tx = 256;  // map x
    cam.tz = -256; // map y = -tz
    cam.ty = 0;
    cam.yaw = 0;
    map->GetCameras().AddTail(&cam);
    Canvas c(120, 100);
    Draw(c, CRect(1600, 1400, 1720, 1500));
    // At column 1632, row 1440 (bitmap 32, 40): the eye ellipse reaches 15 either side.
    EXPECT_EQ(c.At(32 - 15, 40), kCamera);
    EXPECT_EQ(c.At(32, 40 - 7), kCamera);
    EXPECT_GT(c.Count(kCamera, CRect(32 - 3, 40 + 20, 32 + 30, 40 + 36)), 0); // a view line
    map->GetCameras().RemoveAll();
    Canvas d(120, 100);
    Draw(d, CRect(1600, 1400, 1720, 1500), VIEW_XZ);
    EXPECT_EQ(d.Count(kCamera), 0); // the XZ eye sits at row 1536: outside this rectangle
}

TEST_F(DrawTest, OriginCrossWhenInView)
{
    Canvas c(40, 40);
    Draw(c, CRect(1516, 1516, 1556, 1556));
    EXPECT_EQ(c.At(20, 20), kSelected);
    EXPECT_EQ(c.At(11, 20), kSelected);
    EXPECT_EQ(c.At(20, 29), kSelected);
    EXPECT_NE(c.At(25, 25), kSelected);
}

TEST_F(DrawTest, ARotatePenThatCannotBeSelectedIsReportedOnce)
{
    services->GetPen(CViewServices::PEN_ROTATE)->DeleteObject();
    map->RebuildVisibleList();
    PlaneView v(map, VIEW_XY);
    v.m_nState = 10;
    v.m_ptRotateEnd = CPoint(64, 64);
    for (int i = 0; i < 3; ++i) {
        Canvas c(40, 40);
        v.DrawCanvas(c.DC(), CRect(1516, 1516, 1556, 1556));
    }
    EXPECT_EQ(services->boxes, std::vector<std::string>{"Couldn't select Rotate pen!\n"});
}
