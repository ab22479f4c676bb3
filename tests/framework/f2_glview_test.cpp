// A view with a device context of its own renders with OpenGL: a pixel format on the kept
// context, a rendering context, clearing, quadrics of the utility library and picking by name.
// The OpenGL libraries are loaded at run time so that the framework's tests link without them.
#include "afxtest.h"

namespace {

class COwnDCView : public CView
{
    DECLARE_DYNCREATE(COwnDCView)
public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        cs.lpszClass = AfxRegisterWndClass(CS_OWNDC | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                                           ::LoadCursorA(nullptr, IDC_ARROW));
        cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        return CView::PreCreateWindow(cs);
    }
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(COwnDCView, CView)

// The few entry points the test needs.
struct GL
{
    HMODULE hGL = nullptr, hGLU = nullptr;
    HGLRC(WINAPI* CreateContext)(HDC) = nullptr;
    BOOL(WINAPI* MakeCurrent)(HDC, HGLRC) = nullptr;
    BOOL(WINAPI* DeleteContext)(HGLRC) = nullptr;
    void(WINAPI* ClearColor)(float, float, float, float) = nullptr;
    void(WINAPI* Clear)(unsigned) = nullptr;
    void(WINAPI* Finish)() = nullptr;
    void(WINAPI* ReadPixels)(int, int, int, int, unsigned, unsigned, void*) = nullptr;
    void(WINAPI* SelectBuffer)(int, unsigned*) = nullptr;
    int(WINAPI* RenderMode)(unsigned) = nullptr;
    void(WINAPI* InitNames)() = nullptr;
    void(WINAPI* PushName)(unsigned) = nullptr;
    void(WINAPI* LoadName)(unsigned) = nullptr;
    void*(WINAPI* NewQuadric)() = nullptr;
    void(WINAPI* Sphere)(void*, double, int, int) = nullptr;
    void(WINAPI* DeleteQuadric)(void*) = nullptr;

    template <class F> bool Get(HMODULE h, F& f, const char* name)
    {
        f = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(h, name)));
        return f != nullptr;
    }
    bool Load()
    {
        hGL = ::LoadLibraryA("opengl32.dll");
        hGLU = ::LoadLibraryA("glu32.dll");
        return hGL && hGLU && Get(hGL, CreateContext, "wglCreateContext") && Get(hGL, MakeCurrent, "wglMakeCurrent") &&
               Get(hGL, DeleteContext, "wglDeleteContext") && Get(hGL, ClearColor, "glClearColor") &&
               Get(hGL, Clear, "glClear") && Get(hGL, Finish, "glFinish") && Get(hGL, ReadPixels, "glReadPixels") &&
               Get(hGL, SelectBuffer, "glSelectBuffer") && Get(hGL, RenderMode, "glRenderMode") &&
               Get(hGL, InitNames, "glInitNames") && Get(hGL, PushName, "glPushName") &&
               Get(hGL, LoadName, "glLoadName") && Get(hGLU, NewQuadric, "gluNewQuadric") &&
               Get(hGLU, Sphere, "gluSphere") && Get(hGLU, DeleteQuadric, "gluDeleteQuadric");
    }
};

TEST(OwnDCViews, KeepTheirContextAndRenderWithOpenGL)
{
    auto* pFrame = new CFrameWnd;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(COwnDCView);
    ASSERT_TRUE(pFrame->Create(nullptr, "gl", WS_POPUP | WS_VISIBLE, CRect(0, 0, 64, 64), nullptr, nullptr, 0,
                               &context));
    CWnd* pView = pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    ASSERT_NE(pView, nullptr);
    HWND hWnd = pView->m_hWnd;

    // The class's own context: the same one every time, and it lives as long as the window.
    HDC hDC = ::GetDC(hWnd);
    EXPECT_EQ(::GetDC(hWnd), hDC);
    ::ReleaseDC(hWnd, hDC);
    ::ReleaseDC(hWnd, hDC);

    GL gl;
    ASSERT_TRUE(gl.Load());
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    int nFormat = ::ChoosePixelFormat(hDC, &pfd);
    ASSERT_NE(nFormat, 0);
    ASSERT_TRUE(::SetPixelFormat(hDC, nFormat, &pfd));
    HGLRC hRC = gl.CreateContext(hDC);
    ASSERT_NE(hRC, nullptr);
    ASSERT_TRUE(gl.MakeCurrent(hDC, hRC));

    const unsigned kColorBuffer = 0x4000, kRGBA = 0x1908, kUnsignedByte = 0x1401, kRender = 0x1C00,
                   kSelect = 0x1C02;
    gl.ClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    gl.Clear(kColorBuffer);
    gl.Finish();
    unsigned char pixel[4] = {};
    gl.ReadPixels(10, 10, 1, 1, kRGBA, kUnsignedByte, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_TRUE(::SwapBuffers(hDC));

    // A sphere of the utility library, picked by its name through the selection buffer.
    unsigned buffer[64] = {};
    gl.SelectBuffer(64, buffer);
    gl.RenderMode(kSelect);
    gl.InitNames();
    gl.PushName(0);
    gl.LoadName(7);
    void* pQuadric = gl.NewQuadric();
    ASSERT_NE(pQuadric, nullptr);
    gl.Sphere(pQuadric, 0.5, 12, 12);
    gl.DeleteQuadric(pQuadric);
    int nHits = gl.RenderMode(kRender);
    EXPECT_EQ(nHits, 1);
    EXPECT_EQ(buffer[0], 1u);   // one name on the stack
    EXPECT_EQ(buffer[3], 7u);   // ... and it is the loaded one

    gl.MakeCurrent(nullptr, nullptr);
    gl.DeleteContext(hRC);
    pFrame->DestroyWindow();
}

} // namespace
