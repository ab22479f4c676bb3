// Camera windows for real: OpenGL under the window layer, painted and read back with
// glReadPixels from the frame, compared with what the screen shows, picked by button messages,
// updated by the map's hints.
#include "MapCameraFrame.h"
#include "MapCameraView.h"
#include "Brush.h"
#include "CameraRes.h"
#include "Entity.h"
#include "CameraFixture.h"
#include "DocumentFixture.h"
#include "RecordingServices.h"
#include "Texture.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Pixel
{
    int r, g, b;
    bool Near(int R, int G, int B, int tol = 12) const
    {
        return std::abs(r - R) <= tol && std::abs(g - G) <= tol && std::abs(b - B) <= tol;
    }
    bool Black() const { return r < 8 && g < 8 && b < 8; }
    bool Red() const { return r > 200 && g < 40 && b < 40; }
    static Pixel Of(DWORD rgb) { return {int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)}; }
};

// The pixel at a client point of a painted GL view's frame.
Pixel ReadPixel(COpenGLView* view, CPoint pt)
{
    ReadFromFrame(view);
    GLubyte p[4] = {};
    ::glReadPixels(pt.x, view->GetHeight() - 1 - pt.y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// Every pixel of the view's frame, bottom row first.
std::vector<Pixel> ReadAll(COpenGLView* view)
{
    ReadFromFrame(view);
    int w = view->GetWidth(), h = view->GetHeight();
    std::vector<GLubyte> bytes(static_cast<size_t>(w) * h * 4);
    ::glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    std::vector<Pixel> pixels;
    for (size_t i = 0; i < bytes.size(); i += 4)
        pixels.push_back({bytes[i], bytes[i + 1], bytes[i + 2]});
    return pixels;
}

void Paint(CView* view)
{
    view->Invalidate(FALSE);
    view->UpdateWindow();
}

// The screen shows the view's frame pixel for pixel, once the display has mapped the window.
void ExpectOnScreen(COpenGLView* view)
{
    afxtest::WaitFor([&]() {
        if (ScreenDifferences(view) == 0)
            return true;
        Paint(view);
        return false;
    });
    EXPECT_EQ(ScreenDifferences(view), 0u);
}

// Records what an update handler said.
class RecordingCmdUI : public CCmdUI
{
public:
    explicit RecordingCmdUI(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override
    {
        enabled = bOn;
        CCmdUI::m_bEnableChanged = TRUE;
    }
    void SetCheck(int n) override { checked = n; }
    BOOL enabled = TRUE;
    int checked = -1;
};

RecordingCmdUI Update(CCmdTarget* target, UINT id)
{
    RecordingCmdUI ui(id);
    target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui;
}

// ---------------------------------------------------------------------------
// The plain OpenGL view

// A plain OpenGL view that counts the scenes it renders.
class CCountingGLView : public COpenGLView
{
    DECLARE_DYNCREATE(CCountingGLView)
public:
    int scenes = 0;
    BOOL RenderScene() override
    {
        ++scenes;
        return COpenGLView::RenderScene();
    }
};
IMPLEMENT_DYNCREATE(CCountingGLView, COpenGLView)

TEST(OpenGLView, ShowsTheFloorAndTheMarkerOnTheScreenAtEachSizeAndDrawsNothingAtNone)
{
    CRecordingServices services;
    SetEditorServices(&services);
    auto* frame = new CFrameWnd;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CCountingGLView);
    ASSERT_TRUE(frame->Create(nullptr, "gl", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 160), nullptr, nullptr, 0,
                              &context));
    auto* view = dynamic_cast<CCountingGLView*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->GetRenderingContext(), nullptr);
    frame->InitialUpdateFrame(nullptr, TRUE);
    EXPECT_TRUE(view->IsWindowVisible());
    // The driver here offers framebuffer objects: the picture is rendered off the window.
    EXPECT_TRUE(view->IsDrawingOffWindow());
    CRect client;
    view->GetClientRect(&client);
    int w = client.Width(), h = client.Height();
    EXPECT_EQ(view->GetWidth(), w);
    EXPECT_EQ(view->GetHeight(), h);
    EXPECT_EQ(view->GetFrameSize(), CSize(w, h));
    EXPECT_DOUBLE_EQ(view->GetAspect(), double(w) / h);
    EXPECT_EQ(view->GetEyeDistance(), std::floor(w * 0.5 + 0.5));
    Paint(view);
    Pixel centre = ReadPixel(view, CPoint(w / 2, h / 2));
    EXPECT_TRUE(centre.Red()) << centre.r << " " << centre.g << " " << centre.b;
    EXPECT_TRUE(ReadPixel(view, CPoint(1, 1)).Black());
    int dark = 0, light = 0;
    for (const Pixel& p : ReadAll(view)) {
        dark += p.Near(13, 13, 13, 8);
        light += p.Near(230, 230, 230, 12);
    }
    EXPECT_GT(dark, 500);
    EXPECT_GT(light, 500);

    // The screen shows that frame, pixel for pixel: the red marker in the middle, the black
    // background in the corner (a new top-level window shows once the display has mapped it).
    ExpectOnScreen(view);
    PixelArea screen = ReadScreen(view->m_hWnd);
    ASSERT_EQ(screen.w, w);
    EXPECT_TRUE(Pixel::Of(screen.At(w / 2, h / 2)).Red());
    EXPECT_TRUE(Pixel::Of(screen.At(1, 1)).Black());

    // A new size: the frame follows the client area and the screen shows the new picture.
    frame->MoveWindow(0, 0, 260, 190);
    view->GetClientRect(&client);
    w = client.Width();
    h = client.Height();
    EXPECT_EQ(view->GetFrameSize(), CSize(w, h));
    Paint(view);
    EXPECT_EQ(ScreenDifferences(view), 0u);
    EXPECT_TRUE(Pixel::Of(ReadScreen(view->m_hWnd).At(w / 2, h / 2)).Red());

    // Minimising (a size of 0 x 0) changes nothing, and with no client area nothing is drawn.
    view->SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(view->GetWidth(), w);
    EXPECT_EQ(view->GetHeight(), h);
    EXPECT_DOUBLE_EQ(view->GetAspect(), double(w) / h);
    frame->MoveWindow(0, 0, 0, 0);
    view->GetClientRect(&client);
    ASSERT_TRUE(client.IsRectEmpty());
    int scenes = view->scenes;
    {
        CClientDC dc(view);
        view->OnDraw(&dc);
    }
    EXPECT_EQ(view->scenes, scenes);
    EXPECT_EQ(view->GetFrameSize(), CSize(w, h));
    ASSERT_TRUE(view->MakeCurrent());
    EXPECT_EQ(::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    frame->MoveWindow(0, 0, 200, 160);
    Paint(view);
    EXPECT_GT(view->scenes, scenes);
    ExpectOnScreen(view);
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_TRUE(services.lines.empty());
    frame->DestroyWindow();
    SetEditorServices(nullptr);
}

// ---------------------------------------------------------------------------
// Camera windows on a fixture map

unsigned FixedSeed()
{
    return 12345;
}

class CameraWindow : public CameraTemplateTest
{
protected:
    void SetUp() override
    {
        CameraTemplateTest::SetUp();
        g_faceMode = 0;
        CMapCameraView::s_pfnColorSeed = FixedSeed;
        static const short player[6] = {-16, 16, -16, 16, -24, 32};
        static const short light[6] = {-8, 8, -8, 8, -8, 8};
        services->AddEntityClass("worldspawn", nullptr);
        services->AddEntityClass("info_player_start", player);
        services->AddEntityClass("light", light);

        // A texture record of one colour (blue-green-red bytes): green.
        m_green.name = "GREEN";
        m_green.width = m_green.height = m_green.p2width = m_green.p2height = 16;
        m_greenBits.assign(16 * 16 * 3, 0);
        for (size_t i = 0; i < m_greenBits.size(); i += 3)
            m_greenBits[i + 1] = 200;
        m_green.bits = m_greenBits.data();

        m_map = static_cast<Map*>(m_template->CreateNewDocument());
        ASSERT_NE(m_map, nullptr);
        ASSERT_TRUE(m_map->OnNewDocument());
        Entity* world = m_map->GetWorldEntity();
        m_near = AddBrush(world, 128, 192, -48, 48, -16, 80);
        m_near->SetTextureByName("NO_SUCH_TEXTURE");
        m_far = AddBrush(world, 384, 448, 160, 288, -16, 80);
        m_far->SetTexture(&m_green);
        m_start = AddEntity("info_player_start", "0 0 0");
        m_start->AddKeyValue("angle", "0");
        m_light = AddEntity("light", "160 -100 22");
        m_map->SetPathName("C:\\maps\\fixture.map", FALSE);
        m_map->RebuildVisibleList();
    }
    void TearDown() override
    {
        CameraTemplateTest::TearDown();
        g_faceMode = 0;
    }

    Brush* AddBrush(Entity* owner, short x0, short x1, short y0, short y1, short z0, short z1)
    {
        Brush* b = new Brush(owner, TestBox(x0, x1, y0, y1, z0, z1));
        owner->AddBrush(b);
        return b;
    }
    Entity* AddEntity(LPCSTR cls, LPCSTR origin)
    {
        auto* e = new Entity(m_map);
        e->AddKeyValue("classname", cls);
        e->AddKeyValue("origin", origin);
        e->Translate(0, 0, 0);
        m_map->AddEntity(e);
        return e;
    }

    CMapCameraView* OpenCamera()
    {
        CMapCameraView* view = CameraTemplateTest::OpenCamera(m_map, 420, 330);
        if (view)
            Paint(view);
        return view;
    }

    // The client point at which a map point shows.
    static CPoint Project(CMapCameraView* view, float x, float y, float z)
    {
        EXPECT_TRUE(view->MakeCurrent());
        GLdouble model[16], proj[16];
        GLint viewport[4];
        ::glGetDoublev(GL_MODELVIEW_MATRIX, model);
        ::glGetDoublev(GL_PROJECTION_MATRIX, proj);
        ::glGetIntegerv(GL_VIEWPORT, viewport);
        GLdouble wx = 0, wy = 0, wz = 0;
        ::gluProject(-x, z, y, model, proj, viewport, &wx, &wy, &wz);
        return CPoint(static_cast<int>(wx + 0.5), view->GetHeight() - static_cast<int>(wy + 0.5));
    }
    static CPoint Centre(CMapCameraView* view, SThing* t)
    {
        const short* b = t->GetBounds();
        // The face towards the eye, at the middle of its other two extents.
        return Project(view, b[BOX_MINX], (b[BOX_MINY] + b[BOX_MAXY]) * 0.5f, (b[BOX_MINZ] + b[BOX_MAXZ]) * 0.5f);
    }
    static void Click(CMapCameraView* view, CPoint pt, bool ctrl = false)
    {
        view->SendMessage(WM_LBUTTONDOWN, ctrl ? MK_LBUTTON | MK_CONTROL : MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        view->SendMessage(WM_LBUTTONUP, ctrl ? MK_CONTROL : 0, MAKELPARAM(pt.x, pt.y));
    }
    static void Command(CMapCameraView* view, UINT id) { view->SendMessage(WM_COMMAND, id, 0); }

    Map* m_map = nullptr;
    Brush* m_near = nullptr;
    Brush* m_far = nullptr;
    Entity* m_start = nullptr;
    Entity* m_light = nullptr;
    Texture m_green;
    std::vector<BYTE> m_greenBits;
};

TEST_F(CameraWindow, OpensAtThePlayerStartWithItsTitleAndRegistersItsCamera)
{
    HintView hints;
    m_map->AddView(&hints);
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    // Registered with the box of its two points: x from tx and mx, y from -tz and -mz, z from
    // -ty and -my.
    ASSERT_FALSE(hints.hints.empty());
    EXPECT_EQ(hints.hints.back().hint, HINT_CAMERA);
    EXPECT_EQ(hints.hints.back().box, (std::vector<int>{0, 0, 0, 40, 0, 22}));
    CameraRecord& c = view->GetCamera();
    EXPECT_EQ(c.tx, 0);
    EXPECT_EQ(c.ty, -22);
    EXPECT_EQ(c.tz, 0);
    EXPECT_EQ(c.yaw, -90);
    EXPECT_EQ(m_map->GetCurrentCamera(), &c);
    EXPECT_EQ(m_map->GetCameras().GetCount(), 1);
    CString caption;
    view->GetParentFrame()->GetWindowText(caption);
    EXPECT_EQ(std::string(caption), "fixture - (@: 0, 0, 22)");
    EXPECT_EQ(view->GetRenderMode(), RENDER_WIREFRAME);
    EXPECT_FALSE(view->GetParentFrame()->GetStyle() & FWS_ADDTOTITLE);
    EXPECT_FALSE(view->GetParentFrame()->GetExStyle() & WS_EX_CLIENTEDGE);

    // The frame's rules: its minimum tracking size, the 2D combo boxes disabled.
    MINMAXINFO mmi = {};
    view->GetParentFrame()->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 250);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 210);
    for (UINT id = ID_COMBO_FIRST; id <= ID_COMBO_LAST; ++id)
        EXPECT_FALSE(Update(view->GetParentFrame(), id).enabled) << id;
    EXPECT_TRUE(services->boxes.empty());

    // Closing the window takes the record out of the map, with the same hint.
    hints.hints.clear();
    view->GetParentFrame()->DestroyWindow();
    EXPECT_EQ(m_map->GetCameras().GetCount(), 0);
    ASSERT_FALSE(hints.hints.empty());
    EXPECT_EQ(hints.hints.back().hint, HINT_CAMERA);
    m_map->RemoveView(&hints);
}

TEST_F(CameraWindow, RenderModesDrawAndLeaveTheirStates)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    CPoint nearPt = Centre(view, m_near), farPt = Centre(view, m_far);

    struct Row
    {
        UINT command;
        int mode;
        GLboolean texture, cull, depth;
        GLint front, back;
        const char* status;
    };
    const Row rows[] = {
        {ID_CAMERA_FLAT, RENDER_FLAT, GL_FALSE, GL_TRUE, GL_TRUE, GL_FILL, -1, "Switching to flat shade"},
        {ID_CAMERA_TEXTURED, RENDER_TEXTURED, GL_TRUE, GL_TRUE, GL_TRUE, GL_FILL, -1, "Switching to textured"},
        {ID_CAMERA_WIREFRAME, RENDER_WIREFRAME, GL_FALSE, GL_FALSE, GL_FALSE, GL_LINE, GL_LINE, "Switching to wireframe"},
    };
    const UINT ids[] = {ID_CAMERA_WIREFRAME, ID_CAMERA_FLAT, ID_CAMERA_TEXTURED};
    for (const Row& r : rows) {
        Command(view, r.command);
        SCOPED_TRACE(r.status);
        EXPECT_EQ(view->GetRenderMode(), r.mode);
        EXPECT_EQ(services->statuses.back(), r.status);
        ASSERT_TRUE(view->MakeCurrent());
        EXPECT_EQ(::glIsEnabled(GL_TEXTURE_2D), r.texture);
        EXPECT_EQ(::glIsEnabled(GL_CULL_FACE), r.cull);
        EXPECT_EQ(::glIsEnabled(GL_DEPTH_TEST), r.depth);
        GLint poly[2] = {};
        ::glGetIntegerv(GL_POLYGON_MODE, poly);
        EXPECT_EQ(poly[0], r.front);
        if (r.back != -1) {
            EXPECT_EQ(poly[1], r.back);
        }
        EXPECT_EQ(::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        for (UINT id : ids)
            EXPECT_EQ(Update(view, id).checked, id == r.command ? 1 : 0) << id;
    }

    // Wireframe: lines on the background; the middle of the near box's face is background.
    Paint(view);
    std::vector<Pixel> all = ReadAll(view);
    size_t lit = 0;
    for (const Pixel& p : all)
        lit += !p.Black();
    EXPECT_GT(lit, 100u);
    EXPECT_LT(lit, all.size() / 4);
    EXPECT_TRUE(ReadPixel(view, nearPt).Black());
    ExpectOnScreen(view);

    // Flat: filled faces in the face colours (the near box's front face is one of its six).
    Command(view, ID_CAMERA_FLAT);
    Pixel p = ReadPixel(view, nearPt);
    bool faceColour = false;
    for (int n = 0; n < 16; ++n) {
        const float* c = view->GetFaceColor(n);
        faceColour |= p.Near(int(c[0] * 255), int(c[1] * 255), int(c[2] * 255), 10);
    }
    EXPECT_TRUE(faceColour) << p.r << " " << p.g << " " << p.b;
    ExpectOnScreen(view);

    // Textured: the default checkerboard where the texture is missing, the record's own pixels
    // where one is bound.
    Command(view, ID_CAMERA_TEXTURED);
    int checker = 0, white = 0;
    for (int dx = -6; dx <= 6; dx += 2)
        for (int dy = -6; dy <= 6; dy += 2) {
            Pixel q = ReadPixel(view, nearPt + CPoint(dx, dy));
            // The default record's bytes, as blue-green-red like every texture record.
            checker += q.Near(255, 0, 0, 10);
            white += q.Near(255, 255, 255, 10);
        }
    EXPECT_GT(checker, 0);
    EXPECT_GT(white, 0);
    EXPECT_TRUE(ReadPixel(view, farPt).Near(0, 200, 0, 10));
    EXPECT_NE(view->GetTextureName(&m_green), 0u);
    EXPECT_TRUE(services->boxes.empty());
    ExpectOnScreen(view);
    EXPECT_TRUE(Pixel::Of(ReadScreen(view->m_hWnd).At(farPt.x, farPt.y)).Near(0, 200, 0, 10));

    // A record left with its 8-bit bitmap (its 24-bit conversion failed) is drawn with the default
    // pixels, not read past its end.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 8;
    void* bits8 = nullptr;
    Texture broken;
    broken.name = "BROKEN";
    broken.width = broken.height = broken.p2width = broken.p2height = 16;
    broken.bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits8, nullptr, 0);
    ASSERT_NE(broken.bitmap, nullptr);
    std::memset(bits8, 0x55, 16 * 16);
    broken.bits = static_cast<BYTE*>(bits8);
    m_far->SetTexture(&broken);
    Paint(view);
    int defaultPixels = 0;
    for (int dx = -6; dx <= 6; dx += 2)
        for (int dy = -6; dy <= 6; dy += 2) {
            Pixel q = ReadPixel(view, farPt + CPoint(dx, dy));
            defaultPixels += q.Near(255, 0, 0, 10) || q.Near(255, 255, 255, 10);
        }
    EXPECT_EQ(defaultPixels, 49);
    EXPECT_EQ(view->GetTextureName(&broken), view->GetTextureName(GetEditorServices()->GetDefaultTexture()));
    m_far->SetTexture(&m_green);
    Paint(view);
    ::DeleteObject(broken.bitmap);

    // Faces that fail their axis checks draw without texture coordinates and are reported as one
    // line per paint, never as a box.
    m_near->GetFace(0).cls = 0;
    m_near->GetFace(1).cls = 0;
    services->lines.clear();
    Paint(view);
    Paint(view);
    EXPECT_EQ(services->lines, (std::vector<std::string>{"face fails axis checks!\r\n", "face fails axis checks!\r\n"}));
    EXPECT_TRUE(services->boxes.empty());
    m_near->GetFace(0).cls = m_near->ClassifyFace(m_near->GetFace(0));
    m_near->GetFace(1).cls = m_near->ClassifyFace(m_near->GetFace(1));

    // Fast and accurate texture mapping check their items.
    Command(view, ID_CAMERA_FAST_TMAPPING);
    EXPECT_FALSE(view->GetAccurateMapping());
    EXPECT_EQ(Update(view, ID_CAMERA_FAST_TMAPPING).checked, 1);
    EXPECT_EQ(Update(view, ID_CAMERA_ACCURATE_TMAPPING).checked, 0);
    ASSERT_TRUE(view->MakeCurrent());
    GLint hint = 0;
    ::glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(hint, GL_FASTEST);
    Command(view, ID_CAMERA_ACCURATE_TMAPPING);
    EXPECT_TRUE(view->GetAccurateMapping());
    ::glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(hint, GL_NICEST);
}

TEST_F(CameraWindow, PicksTheNearestObjectAddsWithCtrlAndIgnoresTheOutline)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    Command(view, ID_CAMERA_FLAT);
    CPoint nearPt = Centre(view, m_near), farPt = Centre(view, m_far);
    CPoint lightPt = Centre(view, m_light);

    Click(view, nearPt);
    ASSERT_EQ(m_map->GetSelectionCount(), 1);
    EXPECT_EQ(m_map->GetSelection().GetHead(), m_near);
    EXPECT_NE(std::find(services->statuses.begin(), services->statuses.end(), "1 object selected"),
              services->statuses.end());
    EXPECT_EQ(services->adjustedFaces.back(), nullptr);
    EXPECT_EQ(m_map->GetCurrentTexture(), m_near->GetFace(0).texture);

    Click(view, farPt, true);
    EXPECT_EQ(m_map->GetSelectionCount(), 2);
    EXPECT_TRUE(m_far->IsSelected());
    EXPECT_EQ(m_map->GetCurrentTexture(), nullptr); // two different textures

    // A plain click replaces the selection; a point entity is picked by its box.
    Click(view, lightPt);
    ASSERT_EQ(m_map->GetSelectionCount(), 1);
    EXPECT_EQ(m_map->GetSelection().GetHead(), m_light);
    EXPECT_EQ(m_map->GetCurrentEntity(), m_light);

    // A selected brush round the eye: its faces turn their backs to the eye and never hit, while its
    // outline crosses the view. Ctrl-clicking on the outline adds nothing (the outline would carry
    // the name loaded last, the light's).
    Brush* room = AddBrush(m_map->GetWorldEntity(), -64, 64, -64, 64, 0, 64);
    m_map->RebuildVisibleList();
    m_map->DeselectAll();
    m_map->SelectObject(room, TRUE);
    Paint(view);
    Click(view, Project(view, 64, 0, 0), true);
    ASSERT_EQ(m_map->GetSelectionCount(), 1);
    EXPECT_EQ(m_map->GetSelection().GetHead(), room);

    // Empty space: nothing selected, and the views are told to redraw.
    HintView hints;
    m_map->AddView(&hints);
    Click(view, CPoint(view->GetWidth() / 2, 4));
    m_map->RemoveView(&hints);
    EXPECT_EQ(m_map->GetSelectionCount(), 0);
    ASSERT_FALSE(hints.hints.empty());
    EXPECT_EQ(hints.hints.back().hint, HINT_REDRAW);
    EXPECT_TRUE(services->boxes.empty());
}

TEST_F(CameraWindow, FaceModePicksOneFaceForTheTextureAdjustment)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(Update(view, ID_TOGGLE_FACE_MODE).enabled); // not textured
    Command(view, ID_CAMERA_TEXTURED);
    RecordingCmdUI ui = Update(view, ID_TOGGLE_FACE_MODE);
    EXPECT_TRUE(ui.enabled);
    EXPECT_EQ(ui.checked, 0);
    Command(view, ID_TOGGLE_FACE_MODE);
    EXPECT_EQ(g_faceMode, 1);
    EXPECT_EQ(Update(view, ID_TOGGLE_FACE_MODE).checked, 1);

    CPoint nearPt = Centre(view, m_near);
    Click(view, nearPt);
    Face* picked = m_map->GetPickedFace();
    ASSERT_NE(picked, nullptr);
    bool ofNear = false;
    for (Face& f : m_near->GetFaces())
        ofNear |= &f == picked;
    EXPECT_TRUE(ofNear);
    EXPECT_LT(picked->normal.x, -0.9f); // the face towards the eye
    EXPECT_EQ(services->adjustedFaces.back(), picked);
    EXPECT_EQ(m_map->GetCurrentTexture(), picked->texture);
    EXPECT_EQ(m_map->GetSelectionCount(), 1);
    EXPECT_TRUE(m_near->IsSelected());

    // Hint 20 (a click in a plane view) ends face mode with its side effects, and never starts it.
    m_map->UpdateViews(HINT_VIEW_CLICKED);
    EXPECT_EQ(g_faceMode, 0);
    EXPECT_EQ(m_map->GetPickedFace(), nullptr);
    EXPECT_EQ(services->adjustedFaces.back(), nullptr);
    EXPECT_EQ(m_map->GetSelectionCount(), 0);
    m_map->UpdateViews(HINT_VIEW_CLICKED);
    EXPECT_EQ(g_faceMode, 0);

    // A view that is not textured forces face mode off.
    Command(view, ID_TOGGLE_FACE_MODE);
    EXPECT_EQ(g_faceMode, 1);
    Command(view, ID_CAMERA_FLAT);
    EXPECT_FALSE(Update(view, ID_TOGGLE_FACE_MODE).enabled);
    EXPECT_EQ(g_faceMode, 0);
}

TEST_F(CameraWindow, TwoWindowsOnOneMapEachDrawTheirTexturesAndFollowActivation)
{
    CMapCameraView* first = OpenCamera();
    ASSERT_NE(first, nullptr);
    CMapCameraView* second = OpenCamera();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first->GetRenderingContext(), second->GetRenderingContext());
    EXPECT_EQ(m_map->GetCameras().GetCount(), 2);
    EXPECT_EQ(m_map->GetCurrentCamera(), &second->GetCamera());

    Command(first, ID_CAMERA_TEXTURED);
    Command(second, ID_CAMERA_TEXTURED);
    for (int round = 0; round < 2; ++round)
        for (CMapCameraView* v : {first, second}) {
            Paint(v);
            EXPECT_TRUE(ReadPixel(v, Centre(v, m_far)).Near(0, 200, 0, 10)) << round;
        }
    EXPECT_NE(first->GetTextureName(&m_green), second->GetTextureName(&m_green));

    // The camera of the window that becomes active is the one the camera commands move.
    m_main->MDIActivate(first->GetParentFrame());
    afxtest::PumpMessages();
    EXPECT_EQ(m_map->GetCurrentCamera(), &first->GetCamera());
    // Closing it leaves the other window's camera current.
    first->GetParentFrame()->DestroyWindow();
    afxtest::PumpMessages();
    EXPECT_EQ(m_map->GetCameras().GetCount(), 1);
    EXPECT_EQ(m_map->GetCurrentCamera(), &second->GetCamera());
    Paint(second);
    EXPECT_TRUE(ReadPixel(second, Centre(second, m_far)).Near(0, 200, 0, 10));
}

// What a view's context holds that the view's steps set or leave: hints, modes, texture and
// pixel-store states, the current colour, line width, matrices and viewport.
std::vector<double> ContextState(COpenGLView* view)
{
    EXPECT_TRUE(view->MakeCurrent());
    std::vector<double> state;
    for (GLenum e : {GL_PERSPECTIVE_CORRECTION_HINT, GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_UNPACK_ALIGNMENT,
                     GL_PACK_ALIGNMENT, GL_MATRIX_MODE, GL_TEXTURE_BINDING_2D, GL_RENDER_MODE}) {
        GLint v = 0;
        ::glGetIntegerv(e, &v);
        state.push_back(v);
    }
    for (GLenum e : {GL_TEXTURE_2D, GL_CULL_FACE, GL_DEPTH_TEST, GL_LINE_SMOOTH, GL_BLEND, GL_LIGHTING})
        state.push_back(::glIsEnabled(e));
    GLint env = 0;
    ::glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    state.push_back(env);
    GLint viewport[4] = {}, polygon[2] = {};
    ::glGetIntegerv(GL_VIEWPORT, viewport);
    ::glGetIntegerv(GL_POLYGON_MODE, polygon);
    state.insert(state.end(), viewport, viewport + 4);
    state.insert(state.end(), polygon, polygon + 2);
    GLfloat floats[4 + 1 + 4] = {};
    ::glGetFloatv(GL_CURRENT_COLOR, floats);
    ::glGetFloatv(GL_LINE_WIDTH, floats + 4);
    ::glGetFloatv(GL_COLOR_CLEAR_VALUE, floats + 5);
    state.insert(state.end(), floats, floats + 9);
    GLdouble matrices[3][16] = {};
    ::glGetDoublev(GL_PROJECTION_MATRIX, matrices[0]);
    ::glGetDoublev(GL_MODELVIEW_MATRIX, matrices[1]);
    ::glGetDoublev(GL_TEXTURE_MATRIX, matrices[2]);
    state.insert(state.end(), &matrices[0][0], &matrices[0][0] + 48);
    EXPECT_EQ(::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return state;
}

// A closed camera window leaves its context to the next one, set back as new: whatever modes,
// hints and picks the closed window had, the next one holds the states and draws the picture the
// first window had in a new context. The context left goes when the kept ones are freed.
TEST_F(CameraWindow, ANewWindowTakesTheContextAClosedOneLeftAsNew)
{
    COpenGLView::FreeSpareContexts();
    HintView keeper; // the map stays open with no camera window
    m_map->AddView(&keeper);
    CMapCameraView* first = OpenCamera();
    ASSERT_NE(first, nullptr);
    const HGLRC context = first->GetRenderingContext();
    const std::vector<double> state = ContextState(first);
    const PixelArea picture = ReadFrame(first);
    ASSERT_GT(picture.w, 0);
    Command(first, ID_CAMERA_TEXTURED);
    Command(first, ID_CAMERA_FAST_TMAPPING);
    Click(first, Centre(first, m_near));
    Paint(first);
    first->GetParentFrame()->DestroyWindow();
    afxtest::PumpMessages();
    EXPECT_EQ(COpenGLView::GetSpareContextCount(), 1);

    CMapCameraView* second = OpenCamera();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetRenderingContext(), context);
    EXPECT_EQ(COpenGLView::GetSpareContextCount(), 0);
    m_map->DeselectAll();
    Paint(second);
    EXPECT_EQ(ContextState(second), state);
    const PixelArea again = ReadFrame(second);
    EXPECT_EQ(again.w, picture.w);
    EXPECT_TRUE(again.rgb == picture.rgb);
    ExpectOnScreen(second);
    Command(second, ID_CAMERA_TEXTURED);
    EXPECT_TRUE(ReadPixel(second, Centre(second, m_far)).Near(0, 200, 0, 10));

    second->GetParentFrame()->DestroyWindow();
    afxtest::PumpMessages();
    EXPECT_EQ(COpenGLView::GetSpareContextCount(), 1);
    // Its hidden window goes with it.
    const int windows = afxtest::LiveWindows();
    COpenGLView::FreeSpareContexts();
    EXPECT_EQ(COpenGLView::GetSpareContextCount(), 0);
    EXPECT_EQ(afxtest::LiveWindows(), windows - 1);
    EXPECT_TRUE(services->boxes.empty());
}

TEST_F(CameraWindow, UpdateHintsAndTheCameraRecord)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    CameraRecord& c = view->GetCamera();
    auto caption = [&]() {
        CString text;
        view->GetParentFrame()->GetWindowText(text);
        return std::string(text);
    };
    auto validated = [&]() {
        RECT r;
        return !::GetUpdateRect(view->m_hWnd, &r, FALSE);
    };
    struct Row
    {
        LPARAM hint;
        bool reloads, invalidates, retitles;
    };
    const Row rows[] = {
        {HINT_VIEW_TYPE, false, false, true},    {HINT_CHANGED, true, true, false},
        {HINT_SELECTION, true, true, false},     {HINT_TEXTURE_ADJUST, true, true, false},
        {HINT_OPENED, true, false, false},       {HINT_LINKED_SELECTION, true, false, false},
        {HINT_TARGET_PATHS, true, false, false}, {HINT_CAMERA, true, true, true},
        {HINT_REDRAW, true, false, false},       {15, true, false, false},
    };
    int moved = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.hint);
        Paint(view);
        ASSERT_TRUE(validated());
        c.tx = static_cast<short>(10 + ++moved); // a camera command moved the eye
        m_map->UpdateViews(r.hint);
        // Hints 0 and the unknown ones repaint at once, so nothing is left to paint.
        EXPECT_EQ(!validated(), r.invalidates);
        bool reloaded = caption().find(std::to_string(c.tx)) != std::string::npos;
        EXPECT_EQ(reloaded, r.retitles);
        view->MakeCurrent();
        GLdouble m[16];
        ::glGetDoublev(GL_MODELVIEW_MATRIX, m);
        // With yaw -90 the translation's x lands in the matrix's z column... any reload shows
        // the new tx somewhere in the translation part.
        bool hasTx = std::abs(std::abs(m[12]) - c.tx) < 0.01 || std::abs(std::abs(m[14]) - c.tx) < 0.01;
        EXPECT_EQ(hasTx, r.reloads);
    }

    // A resize keeps the moved camera.
    c.tx = 77;
    m_map->UpdateViews(HINT_CAMERA);
    view->GetParentFrame()->MoveWindow(0, 0, 500, 380);
    EXPECT_EQ(c.tx, 77);
    view->MakeCurrent();
    GLdouble m[16];
    ::glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_TRUE(std::abs(std::abs(m[12]) - 77) < 0.01 || std::abs(std::abs(m[14]) - 77) < 0.01);

    // The window's end takes its record out of the map.
    view->GetParentFrame()->DestroyWindow();
    EXPECT_EQ(m_map->GetCameras().GetCount(), 0);
    EXPECT_EQ(m_map->GetCurrentCamera(), nullptr);
}

TEST_F(CameraWindow, DialogsOverTheCameraDrawAndTheFrameShowsAgainWhenTheyClose)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    Command(view, ID_CAMERA_TEXTURED);
    ExpectOnScreen(view);

    // A dialog run live over the middle of the drawn camera window: its face shows on the screen.
    const int kDialog = 3000;
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(kDialog, m_main));
    CRect camera;
    view->GetWindowRect(&camera);
    ::SetWindowPos(dialog.m_hWnd, HWND_TOP, camera.left + 60, camera.top + 60, 0, 0,
                   SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    DWORD faceRGB = (DWORD(GetRValue(face)) << 16) | (DWORD(GetGValue(face)) << 8) | GetBValue(face);
    size_t faces = 0, black = 0, all = 0;
    auto look = [&]() {
        PixelArea area = ReadScreen(dialog.m_hWnd);
        faces = black = 0;
        all = area.rgb.size();
        for (DWORD p : area.rgb) {
            faces += p == faceRGB;
            black += p == 0;
        }
        return all > 0 && faces * 2 > all;
    };
    afxtest::WaitFor(look);
    EXPECT_GT(all, 0u);
    EXPECT_GT(faces * 2, all) << faces << " of " << all << " pixels in the dialog's colour, " << black << " black";

    // Closed, it leaves the camera's picture: the window repaints what the dialog covered.
    dialog.DestroyWindow();
    afxtest::WaitFor([&]() { return ScreenDifferences(view) == 0; });
    EXPECT_EQ(ScreenDifferences(view), 0u);
    EXPECT_TRUE(services->boxes.empty());
}

// Whether the driver of the current context offers framebuffer objects: OpenGL 3.0 or one of the
// framebuffer-object extensions.
bool DriverOffersFrameBuffers()
{
    const char* version = reinterpret_cast<const char*>(::glGetString(GL_VERSION));
    std::string extensions = reinterpret_cast<const char*>(::glGetString(GL_EXTENSIONS));
    extensions = " " + extensions + " ";
    return (version && std::atoi(version) >= 3) || extensions.find(" GL_ARB_framebuffer_object ") != std::string::npos ||
           extensions.find(" GL_EXT_framebuffer_object ") != std::string::npos;
}

// Run as it is here, the driver offers framebuffer objects; ctest runs it once more with Mesa told
// to hide them (camera_tests_without_frames), and the view then draws onto its window.
TEST_F(CameraWindow, RendersOffTheWindowWhereTheDriverOffersFramesAndOnItOtherwise)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->MakeCurrent());
    const bool offers = DriverOffersFrameBuffers();
    std::printf("[  DRIVER  ] %s: framebuffer objects %s\n", reinterpret_cast<const char*>(::glGetString(GL_VERSION)),
                offers ? "offered" : "not offered");
    EXPECT_EQ(view->IsDrawingOffWindow() != FALSE, offers);
    size_t said = 0;
    for (const std::string& line : services->lines)
        said += line.find("draws straight onto its window") != std::string::npos;
    EXPECT_EQ(said, offers ? 0u : 1u);
    EXPECT_EQ(view->GetFrameSize(), offers ? CSize(view->GetWidth(), view->GetHeight()) : CSize(0, 0));

    // Either way the scene is drawn with its textures, and picked.
    Command(view, ID_CAMERA_TEXTURED);
    EXPECT_TRUE(ReadPixel(view, Centre(view, m_far)).Near(0, 200, 0, 10));
    if (offers)
        ExpectOnScreen(view);
    Click(view, Centre(view, m_near));
    ASSERT_EQ(m_map->GetSelectionCount(), 1);
    EXPECT_EQ(m_map->GetSelection().GetHead(), m_near);
    ASSERT_TRUE(view->MakeCurrent());
    EXPECT_EQ(::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(services->boxes.empty());
}

TEST_F(CameraWindow, GoesOnOnItsWindowWithItsTexturesWhenNoFrameCanBeMade)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    Command(view, ID_CAMERA_TEXTURED);
    ASSERT_TRUE(view->IsDrawingOffWindow());
    GLuint green = view->GetTextureName(&m_green);
    ASSERT_NE(green, 0u);

    // A new size: the frame follows; the textures stay in the context, not uploaded again.
    CFrameWnd* frame = view->GetParentFrame();
    frame->MoveWindow(0, 0, 460, 360);
    EXPECT_EQ(view->GetFrameSize(), CSize(view->GetWidth(), view->GetHeight()));
    Paint(view);
    EXPECT_EQ(view->GetTextureName(&m_green), green);
    EXPECT_TRUE(ReadPixel(view, Centre(view, m_far)).Near(0, 200, 0, 10));
    ExpectOnScreen(view);

    // A size beyond the largest frame the driver makes: the view goes on on its own window, in
    // the same context, and says so once in the Messages pane, never in a box.
    GLint most = 0;
    ASSERT_TRUE(view->MakeCurrent());
    ::glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &most);
    ASSERT_GT(most, 0);
    services->lines.clear();
    CRect outer, inner;
    view->GetWindowRect(&outer);
    view->GetClientRect(&inner);
    view->MoveWindow(0, 0, most + 1 + outer.Width() - inner.Width(), 40);
    ASSERT_EQ(view->GetWidth(), most + 1);
    EXPECT_FALSE(view->IsDrawingOffWindow());
    ASSERT_EQ(services->lines.size(), 1u);
    EXPECT_NE(services->lines[0].find("draws straight onto its window"), std::string::npos) << services->lines[0];
    frame->MoveWindow(0, 0, 440, 340);
    for (int i = 0; i < 3; ++i)
        Paint(view);
    frame->MoveWindow(0, 0, 420, 330);
    Paint(view);
    EXPECT_EQ(services->lines.size(), 1u);
    EXPECT_EQ(view->GetTextureName(&m_green), green);
    EXPECT_TRUE(ReadPixel(view, Centre(view, m_far)).Near(0, 200, 0, 10));
    ASSERT_TRUE(view->MakeCurrent());
    EXPECT_EQ(::glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Picking works on the window as off it.
    Command(view, ID_CAMERA_FLAT);
    Click(view, Centre(view, m_near));
    ASSERT_EQ(m_map->GetSelectionCount(), 1);
    EXPECT_EQ(m_map->GetSelection().GetHead(), m_near);
    EXPECT_TRUE(services->boxes.empty());
}

TEST_F(CameraWindow, ContextMenuGoesToTheMainFrame)
{
    CMapCameraView* view = OpenCamera();
    ASSERT_NE(view, nullptr);
    AfxSeamAnswer(0);
    view->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(30, 40));
    const std::vector<AfxModalCall>& calls = AfxSeamCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, AFX_MODAL_POPUPMENU);
    CPoint screen(30, 40);
    view->ClientToScreen(&screen);
    EXPECT_EQ(calls[0].pt.x, screen.x);
    EXPECT_EQ(calls[0].pt.y, screen.y);
    std::vector<UINT> ids;
    for (const AfxModalMenuItem& item : calls[0].menuItems)
        ids.push_back(item.nID);
    EXPECT_EQ(ids, (std::vector<UINT>{ID_CAMERA_WIREFRAME, ID_CAMERA_FLAT, ID_CAMERA_TEXTURED, 0,
                                      ID_CAMERA_FAST_TMAPPING, ID_CAMERA_ACCURATE_TMAPPING, 0,
                                      ID_VIEW_TEXTURE_ADJUST}));
    ASSERT_FALSE(calls[0].menuItems.empty());
    EXPECT_EQ(std::string(calls[0].menuItems[0].strText), "&Wireframe");
}

} // namespace
