// The camera view's pure steps: eye distance and field of view, GL error names, the camera
// from the player start, titles, texture coordinates, the choice of hit and the face-mode rule.
#include "MapCameraView.h"
#include "Entity.h"
#include "RecordingServices.h"
#include <GL/gl.h>

namespace {

class CameraTables : public ModelTest
{
};

TEST_F(CameraTables, EyeDistanceAndFieldOfView)
{
    EXPECT_EQ(COpenGLView::ComputeEyeDistance(400, 90.0), 200.0);
    EXPECT_EQ(COpenGLView::ComputeEyeDistance(400, 60.0), 346.0);
    EXPECT_TRUE(COpenGLView::CheckFieldOfView(90.0));
    EXPECT_TRUE(services->boxes.empty());
    EXPECT_FALSE(services->quit);
    EXPECT_FALSE(COpenGLView::CheckFieldOfView(90.5));
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text, "FOV cannot be greater than 90 degrees");
    EXPECT_TRUE(services->quit);
    EXPECT_EQ(services->quitCode, -1);
}

TEST_F(CameraTables, GLErrorNames)
{
    struct Row
    {
        GLenum code;
        const char* name;
    };
    const Row rows[] = {{0, "GL-no error"},
                        {0x0500, "GL-invalid enumeration"},
                        {0x0501, "GL-invalid value"},
                        {0x0502, "GL-invalid operation"},
                        {0x0503, "GL-stack overflow"},
                        {0x0504, "GL-stack underflow"},
                        {0x0505, "GL-out of memory"},
                        {0x0506, ""},
                        {1, ""}};
    for (const Row& r : rows)
        EXPECT_STREQ(COpenGLView::GetGLErrorName(r.code), r.name) << r.code;
    COpenGLView::ReportGLError("Error on viewport", 0x0501);
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text, "Error on viewport: GL-invalid value\n");
}

TEST_F(CameraTables, CameraFromThePlayerStart)
{
    struct Row
    {
        const char* origin; // null: no "origin"
        const char* angle;  // null: no "angle"
        short tx, ty, tz, mx, my, mz;
        int yaw;
        const char* title;
    };
    const Row rows[] = {
        {"100 200 30", "90", 100, -52, -200, 100, -30, -240, -180, "start - (@: 100, 200, 52)"},
        {"100 200 30", nullptr, 100, -52, -200, 100, -30, -240, -90, "start - (@: 100, 200, 52)"},
        {nullptr, "45", 0, -22, 0, 0, 0, -40, -135, "start - (@: 0, 0, 22)"},
        {"-64 8 -24", "270", -64, 2, -8, -64, 24, -48, -360, "start - (@: -64, 8, -2)"},
        // Decimals, as other editors write them, are read as numbers and rounded.
        {"2496.000000 -368.000000 792.000000", "90.000000", 2496, -814, 368, 2496, -792, 328, -180,
         "start - (@: 2496, -368, 814)"},
        {"10.6 -3.4 0.5", " 45.5", 11, -23, 3, 11, -1, -37, -136, "start - (@: 11, -3, 23)"},
        // A start at the ends of the coordinate range: the eye stops there, not on the far side.
        {"32767 -32768 32767", nullptr, 32767, -32768, 32767, 32767, -32767, 32728, -90,
         "start - (@: 32767, -32767, 32768)"},
    };
    for (const Row& r : rows) {
        Map map;
        map.m_bAutoDelete = FALSE;
        ASSERT_TRUE(map.OnNewDocument());
        auto* other = new Entity(&map);
        other->AddKeyValue("classname", "info_player_deathmatch");
        other->AddKeyValue("origin", "500 500 500");
        map.AddEntity(other);
        auto* start = new Entity(&map);
        start->AddKeyValue("classname", "info_player_start");
        if (r.origin)
            start->AddKeyValue("origin", r.origin);
        if (r.angle)
            start->AddKeyValue("angle", r.angle);
        map.AddEntity(start);
        CameraRecord c;
        c.pitch = 7;
        CMapCameraView::PlaceAtPlayerStart(&map, c);
        SCOPED_TRACE(r.origin ? r.origin : "(no origin)");
        EXPECT_EQ(c.tx, r.tx);
        EXPECT_EQ(c.ty, r.ty);
        EXPECT_EQ(c.tz, r.tz);
        EXPECT_EQ(c.mx, r.mx);
        EXPECT_EQ(c.my, r.my);
        EXPECT_EQ(c.mz, r.mz);
        EXPECT_EQ(c.yaw, r.yaw);
        EXPECT_EQ(c.pitch, 7); // kept
        EXPECT_EQ(std::string(CMapCameraView::MakeTitle("C:\\maps\\start.map", c)), r.title);
    }
    // No player start at all: translation (0, -22, 0), yaw -90.
    Map empty;
    empty.m_bAutoDelete = FALSE;
    ASSERT_TRUE(empty.OnNewDocument());
    CameraRecord c;
    CMapCameraView::PlaceAtPlayerStart(&empty, c);
    EXPECT_EQ(c.tx, 0);
    EXPECT_EQ(c.ty, -22);
    EXPECT_EQ(c.tz, 0);
    EXPECT_EQ(c.yaw, -90);
}

TEST_F(CameraTables, TitlesFromPaths)
{
    CameraRecord c;
    c.tx = 1;
    c.ty = -3;
    c.tz = -2;
    const char* rows[][2] = {
        {"C:\\quake\\maps\\e1m1.map", "e1m1 - (@: 1, 2, 3)"},
        {"/home/q/maps/dm2.map", "dm2 - (@: 1, 2, 3)"},
        {"C:e1m2.map", "e1m2 - (@: 1, 2, 3)"},
        {"C:\\maps\\my.old.map.bak", "my.old.map - (@: 1, 2, 3)"},
        {"C:\\dotted.dir\\noext", "noext - (@: 1, 2, 3)"},
        {"plain", "plain - (@: 1, 2, 3)"},
        {"", ""},
    };
    for (auto& r : rows)
        EXPECT_EQ(std::string(CMapCameraView::MakeTitle(r[0], c)), r[1]) << r[0];
    EXPECT_EQ(std::string(CMapCameraView::MakeTitle(nullptr, c)), "");
}

TEST_F(CameraTables, TextureCoordinatesByFaceClass)
{
    CVector p(10.0f, 20.0f, 30.0f);
    struct Row
    {
        BYTE cls;
        BOOL ok;
        float s, t;
    };
    // W 64, H 32, x offset 6, y offset 2.
    const Row rows[] = {{1, TRUE, 26 / 64.0f, 28 / 32.0f}, {4, TRUE, 26 / 64.0f, 28 / 32.0f},
                        {2, TRUE, 16 / 64.0f, 28 / 32.0f}, {5, TRUE, 16 / 64.0f, 28 / 32.0f},
                        {3, TRUE, 16 / 64.0f, 18 / 32.0f}, {6, TRUE, 16 / 64.0f, 18 / 32.0f},
                        {0, FALSE, -1, -1}};
    for (const Row& r : rows) {
        float s = -1, t = -1;
        EXPECT_EQ(CMapCameraView::TextureCoord(r.cls, p, 64, 32, 6, 2, s, t), r.ok) << int(r.cls);
        EXPECT_FLOAT_EQ(s, r.s) << int(r.cls);
        EXPECT_FLOAT_EQ(t, r.t) << int(r.cls);
    }
}

TEST_F(CameraTables, ChoiceOfHit)
{
    const GLuint kNone = 0xFFFFFFFF;
    struct Row
    {
        const char* what;
        std::vector<GLuint> buffer;
        int hits;
        size_t table;
        int expected;
    };
    const Row rows[] = {
        {"smallest minimum depth", {1, 500, 900, 0, 1, 200, 300, 1, 1, 400, 400, 2}, 3, 3, 1},
        {"first of equals", {1, 200, 900, 2, 1, 200, 300, 1}, 2, 3, 2},
        {"depth 0xFFFFFFFF does not count", {1, kNone, kNone, 0, 1, 700, 800, 1}, 2, 2, 1},
        {"only 0xFFFFFFFF", {1, kNone, kNone, 0}, 1, 2, -1},
        {"index outside the table skipped", {1, 10, 20, 5, 1, 50, 60, 0}, 2, 1, 0},
        {"unnamed pushed -1 ignored", {1, 10, 20, kNone}, 1, 4, -1},
        {"top of a deeper name stack", {2, 10, 20, 3, 1}, 1, 4, 1},
        {"empty name stack", {0, 10, 20, 1, 30, 40, 0}, 2, 1, 0},
        {"record cut off by the buffer", {1, 10, 20, 0, 3, 5, 6, 1}, 2, 2, 0},
        {"overflow reads what fits", {1, 30, 40, 1, 1, 20, 30, 0}, -1, 2, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CMapCameraView::ChooseHit(r.buffer.data(), static_cast<int>(r.buffer.size()), r.hits, r.table),
                  r.expected)
            << r.what;
}

TEST_F(CameraTables, FaceModeToggleRule)
{
    struct Row
    {
        int mode, count;
        BOOL entity, enabled;
    };
    const Row rows[] = {
        {RENDER_TEXTURED, 0, FALSE, TRUE},  {RENDER_TEXTURED, 1, FALSE, TRUE}, {RENDER_TEXTURED, 1, TRUE, FALSE},
        {RENDER_TEXTURED, 2, FALSE, FALSE}, {RENDER_FLAT, 0, FALSE, FALSE},    {RENDER_WIREFRAME, 1, FALSE, FALSE},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CMapCameraView::CanToggleFaceMode(r.mode, r.count, r.entity), r.enabled)
            << r.mode << " " << r.count << " " << r.entity;
}

} // namespace
