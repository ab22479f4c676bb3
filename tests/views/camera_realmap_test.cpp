// Real maps in camera windows (skipped without the shared data folder): every map draws in the
// three modes without a GL error, and the screen shows the frame drawn; with the four texture WADs the LibreQuake maps show texture
// pixels; a click in the middle selects the object nearest the eye. The data folder is the build's
// (tests/support/shareddata.h); with MORVANE_SHOTS set, each picture is written there as a PPM file.
#include "CameraFixture.h"
#include "CameraRes.h"
#include "Entity.h"
#include "RecordingServices.h"
#include "TextureLoader.h"
#include "afxtest.h"
#include "shareddata.h"
#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

CString DataDir()
{
    return shareddata::Root().c_str();
}

struct Picture
{
    int w = 0, h = 0;
    std::vector<GLubyte> rgb;
    const GLubyte* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * w + x) * 3]; }
};

// The painted picture, from the view's frame.
Picture Read(COpenGLView* view)
{
    Picture p;
    ReadFromFrame(view);
    p.w = view->GetWidth();
    p.h = view->GetHeight();
    p.rgb.resize(static_cast<size_t>(p.w) * p.h * 3);
    ::glPixelStorei(GL_PACK_ALIGNMENT, 1);
    ::glReadPixels(0, 0, p.w, p.h, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
    return p;
}

void WritePPM(const Picture& p, const CString& name)
{
    const char* dir = std::getenv("MORVANE_SHOTS");
    if (!dir || !*dir)
        return;
    FILE* f = std::fopen(CString(dir) + "\\" + name + ".ppm", "wb");
    if (!f)
        return;
    std::fprintf(f, "P6\n%d %d\n255\n", p.w, p.h);
    for (int y = p.h - 1; y >= 0; --y)
        std::fwrite(p.At(0, y), 3, static_cast<size_t>(p.w), f);
    std::fclose(f);
}

class RealMaps : public CameraTemplateTest
{
protected:
    void TearDown() override
    {
        CameraTemplateTest::TearDown();
        SetTextureSource(nullptr);
    }
};

TEST_F(RealMaps, DrawInEveryModeAndPickTheNearestObject)
{
    CString data = DataDir();
    SKIP_WITHOUT_SHARED_DATA(data + "\\maps");
    CTextureLoader loader;
    SetTextureSource(&loader);
    for (const char* wad : {"lq_dev.wad", "lq_liquidsky.wad", "lq_mayan.wad", "lq_utility.wad"})
        ASSERT_TRUE(loader.LoadWad(data + "\\wads\\" + wad)) << wad;

    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA(data + "\\maps\\*.map", &found);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    std::vector<CString> names;
    do
        names.push_back(found.cFileName);
    while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);

    for (const CString& name : names) {
        SCOPED_TRACE(std::string(name));
        auto* map = static_cast<Map*>(m_template->CreateNewDocument());
        ASSERT_NE(map, nullptr);
        ASSERT_TRUE(map->OnOpenDocument(data + "\\maps\\" + name));
        map->SetPathName(data + "\\maps\\" + name, FALSE);
        // Every class shows (the project's class files are not loaded here).
        for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;)
            services->classVisibility[static_cast<Entity*>(map->GetEntities().GetNext(pos))->ValueForKey("classname")] = 1;
        map->RebuildVisibleList();
        CMapCameraView* view = OpenCamera(map, 640, 480);
        ASSERT_NE(view, nullptr);
        CFrameWnd* frame = view->GetParentFrame();
        size_t boxesBefore = services->boxes.size();

        const struct
        {
            UINT command;
            const char* label;
        } modes[] = {{ID_CAMERA_WIREFRAME, "wire"}, {ID_CAMERA_FLAT, "flat"}, {ID_CAMERA_TEXTURED, "textured"}};
        for (const auto& m : modes) {
            view->SendMessage(WM_COMMAND, m.command, 0);
            view->Invalidate(FALSE);
            view->UpdateWindow();
            view->MakeCurrent();
            EXPECT_EQ(::glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << m.label;
            Picture p = Read(view);
            size_t lit = 0, textured = 0;
            for (int y = 0; y < p.h; ++y)
                for (int x = 0; x < p.w; ++x) {
                    const GLubyte* c = p.At(x, y);
                    bool black = c[0] < 8 && c[1] < 8 && c[2] < 8;
                    bool checker = (c[0] > 240 && c[1] < 16 && c[2] < 16) || (c[0] > 240 && c[1] > 240 && c[2] > 240);
                    lit += !black;
                    textured += !black && !checker;
                }
            EXPECT_GT(lit, 1000u) << m.label;
            // What the user sees: the screen shows that picture (once the display has mapped the
            // window).
            afxtest::WaitFor([&]() { return ScreenDifferences(view) == 0; });
            EXPECT_EQ(ScreenDifferences(view), 0u) << m.label;
            if (m.command == ID_CAMERA_TEXTURED && (name.Find("e2m2") >= 0 || name.Find("e0m8") >= 0)) {
                EXPECT_GT(textured, p.rgb.size() / 3 / 10) << "texture pixels";
            }
            std::printf("[  MAP     ] %s %s: %zu of %d pixels drawn, %zu neither background nor checkerboard\n",
                        static_cast<LPCSTR>(name), m.label, lit, p.w * p.h, textured);
            WritePPM(p, name.Left(name.GetLength() - 4) + "-" + m.label);
        }

        // A click in the middle selects the object nearest the eye among those hit: the depth
        // buffer's surface point there lies on the selected object.
        view->SendMessage(WM_COMMAND, ID_CAMERA_FLAT, 0);
        view->Invalidate(FALSE);
        view->UpdateWindow();
        view->MakeCurrent();
        CPoint centre(view->GetWidth() / 2, view->GetHeight() / 2);
        GLfloat depth = 1.0f;
        ReadFromFrame(view);
        ::glReadPixels(centre.x, view->GetHeight() - 1 - centre.y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
        if (depth < 1.0f) {
            GLdouble model[16], proj[16], gx, gy, gz;
            GLint viewport[4];
            view->MakeCurrent();
            ::glGetDoublev(GL_MODELVIEW_MATRIX, model);
            ::glGetDoublev(GL_PROJECTION_MATRIX, proj);
            ::glGetIntegerv(GL_VIEWPORT, viewport);
            ::gluUnProject(centre.x, view->GetHeight() - 1 - centre.y, depth, model, proj, viewport, &gx, &gy, &gz);
            double x = -gx, y = gz, z = gy; // back to map axes
            ASSERT_EQ(map->GetSelectionCount(), 1);
            const short* b = static_cast<SThing*>(map->GetSelection().GetHead())->GetBounds();
            // The pick covers 4 x 4 pixels: the selected object is one that the ray through the
            // middle passes within two pixels of, no farther than the surface seen there.
            const CameraRecord& c = view->GetCamera();
            double e[3] = {double(c.tx), double(-c.tz), double(-c.ty)};
            double d[3] = {x - e[0], y - e[1], z - e[2]};
            double dist = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            bool passes = false;
            for (double t = 0; t <= dist + 2 && !passes; t += 0.5) {
                double gap2 = 0;
                for (int a = 0; a < 3; ++a) {
                    double v = e[a] + d[a] * t / dist;
                    double out = v < b[a * 2] ? b[a * 2] - v : (v > b[a * 2 + 1] ? v - b[a * 2 + 1] : 0);
                    gap2 += out * out;
                }
                double slack = 1.0 + 3.0 * t / view->GetEyeDistance();
                passes = gap2 <= slack * slack;
            }
            EXPECT_TRUE(passes) << x << " " << y << " " << z;
            std::printf("[  MAP     ] %s: the click in the middle selected the object at %d..%d, %d..%d, %d..%d\n",
                        static_cast<LPCSTR>(name), b[0], b[1], b[2], b[3], b[4], b[5]);
        }
        for (size_t i = boxesBefore; i < services->boxes.size(); ++i)
            ADD_FAILURE() << "box: " << services->boxes[i].text;
        frame->DestroyWindow();
        afxtest::PumpMessages();
    }
}

} // namespace
