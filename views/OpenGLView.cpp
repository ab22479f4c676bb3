#include "OpenGLView.h"
#include "Reporter.h"
#include <GL/glu.h>
#include <GL/glext.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(COpenGLView, CView)

BEGIN_MESSAGE_MAP(COpenGLView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// The framebuffer entry points of the view's context: those of OpenGL 3.0 and of the
// framebuffer-object extensions have the same signatures and enumerants.
struct COpenGLView::FrameBufferFunctions
{
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
};

// A context a closed view left for the next view of its class, with the hidden window its pixel
// format is on and the framebuffer entry points it answered.
struct COpenGLView::SpareContext
{
    CRuntimeClass* pClass;
    HWND hWnd;
    HDC hDC;
    HGLRC hRC;
    FrameBufferFunctions* pFBO;

    // Freed at the program's end at the latest.
    struct List
    {
        std::vector<SpareContext> items;
        ~List() { COpenGLView::FreeSpareContexts(); }
    };
    static List s_list;
};

COpenGLView::SpareContext::List COpenGLView::SpareContext::s_list;

namespace {

// As many contexts as camera windows are usually closed together (a map's, or two maps'); a
// context beyond is deleted at once.
const size_t kMostSpareContexts = 2;

// Whether a space-separated extension list holds the name as a whole word.
bool HasExtension(const char* list, const char* name)
{
    size_t length = std::strlen(name);
    for (const char* p = list; p && (p = std::strstr(p, name)) != nullptr; p += length)
        if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0'))
            return true;
    return false;
}

// An entry point of the current context. Some drivers answer small numbers instead of null for
// a name they do not know.
template <class F> bool GetEntryPoint(F& f, const char* name, const char* suffix)
{
    char full[64];
    std::snprintf(full, sizeof full, "%s%s", name, suffix);
    PROC p = ::wglGetProcAddress(full);
    INT_PTR value = reinterpret_cast<INT_PTR>(p);
    if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1)
        return false;
    f = reinterpret_cast<F>(reinterpret_cast<void*>(p));
    return true;
}

} // namespace

COpenGLView::COpenGLView() = default;

COpenGLView::~COpenGLView()
{
    delete m_pFBO;
}

BOOL COpenGLView::PreCreateWindow(CREATESTRUCTA& cs)
{
    // A device context of the window's own, kept for its life, for OpenGL drawn onto the window;
    // the picture must not cover siblings or children.
    cs.lpszClass = AfxRegisterWndClass(CS_OWNDC | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                                       ::LoadCursorA(nullptr, IDC_ARROW));
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CView::PreCreateWindow(cs);
}

int COpenGLView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    InitOpenGL();
    return 0;
}

BOOL COpenGLView::InitOpenGL()
{
    // A closed view's context is as a new one, on a hidden window with its pixel format.
    const BOOL spare = TakeSpareContext();
    if (!spare) {
        // The pixel format goes on a small hidden window of the view's own, so that the view's
        // window stays a plain window that GDI draws on; without one, on the view's window.
        m_hSurfaceWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, AfxRegisterWndClass(CS_OWNDC), "",
                                          WS_POPUP | WS_DISABLED, 0, 0, 16, 16, nullptr, nullptr,
                                          AfxGetInstanceHandle(), nullptr);
        m_hDC = ::GetDC(m_hSurfaceWnd ? m_hSurfaceWnd : m_hWnd);
        if (!m_hDC) {
            Report().Box(MB_OK, "Couldn't get a valid DC.");
            return FALSE;
        }
        if (!SetupPixelFormat(nullptr)) {
            Report().Box(MB_OK, "SetupPixelFormat failed.\n");
            return FALSE;
        }
        m_hRC = ::wglCreateContext(m_hDC);
        if (!m_hRC) {
            Report().Box(MB_OK, "wglCreateContext failed.");
            return FALSE;
        }
    }
    if (!::wglMakeCurrent(m_hDC, m_hRC)) {
        Report().Box(MB_OK, "wglMakeCurrent failed.");
        return FALSE;
    }
    // The new context's state, saved so that it can be given back when the view closes.
    if (!spare) {
        ::glPushAttrib(GL_ALL_ATTRIB_BITS);
        ::glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    }
    ::glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    ::glClearDepth(1.0);
    ::glEnable(GL_DEPTH_TEST);
    if (!m_hSurfaceWnd)
        return DrawOnWindow("no hidden window for the pixel format");
    if (!m_pFBO && !LoadFrameBufferFunctions())
        return DrawOnWindow("the driver offers no framebuffer objects");
    return TRUE;
}

BOOL COpenGLView::TakeSpareContext()
{
    std::vector<SpareContext>& spares = SpareContext::s_list.items;
    for (size_t i = spares.size(); i-- > 0;) {
        SpareContext spare = spares[i];
        if (spare.pClass != GetRuntimeClass())
            continue;
        spares.erase(spares.begin() + static_cast<ptrdiff_t>(i));
        if (!::IsWindow(spare.hWnd)) {
            // Its window was taken down under it: the context goes too.
            ::wglDeleteContext(spare.hRC);
            delete spare.pFBO;
            continue;
        }
        m_hSurfaceWnd = spare.hWnd;
        m_hDC = spare.hDC;
        m_hRC = spare.hRC;
        m_pFBO = spare.pFBO;
        return TRUE;
    }
    return FALSE;
}

BOOL COpenGLView::KeepSpareContext()
{
    std::vector<SpareContext>& spares = SpareContext::s_list.items;
    if (!m_hRC || !m_hSurfaceWnd || !m_pFBO || spares.size() >= kMostSpareContexts)
        return FALSE;
    // Another window's current context stays current.
    HGLRC hCurrentRC = ::wglGetCurrentContext();
    HDC hCurrentDC = ::wglGetCurrentDC();
    auto restoreCurrent = [&]() {
        if (hCurrentRC && hCurrentRC != m_hRC)
            ::wglMakeCurrent(hCurrentDC, hCurrentRC);
        else
            ::wglMakeCurrent(nullptr, nullptr);
    };
    if (!MakeCurrent())
        return FALSE;
    // Only a context whose saved state lies alone on its stacks, as this view's steps leave it,
    // can be given back to it.
    GLint depths[5] = {};
    ::glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depths[0]);
    ::glGetIntegerv(GL_CLIENT_ATTRIB_STACK_DEPTH, &depths[1]);
    ::glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depths[2]);
    ::glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depths[3]);
    ::glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depths[4]);
    GLint mode = GL_RENDER;
    ::glGetIntegerv(GL_RENDER_MODE, &mode);
    bool alone = mode == GL_RENDER;
    for (GLint depth : depths)
        alone = alone && depth == 1;
    if (!alone) {
        restoreCurrent();
        return FALSE;
    }
    // The frame goes; the textures went with the view's own. What no attribute group holds is set
    // as in a new context, then the saved attributes come back and are saved again.
    DeleteFrameBuffer();
    for (GLenum matrix : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        ::glMatrixMode(matrix);
        ::glLoadIdentity();
    }
    ::glSelectBuffer(0, nullptr);
    ::glPopClientAttrib();
    ::glPopAttrib();
    ::glPushAttrib(GL_ALL_ATTRIB_BITS);
    ::glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    for (int i = 0; i < 8 && ::glGetError() != GL_NO_ERROR; ++i) {
    }
    restoreCurrent();
    spares.push_back({GetRuntimeClass(), m_hSurfaceWnd, m_hDC, m_hRC, m_pFBO});
    m_hSurfaceWnd = nullptr;
    m_hDC = nullptr;
    m_hRC = nullptr;
    m_pFBO = nullptr;
    return TRUE;
}

int COpenGLView::GetSpareContextCount()
{
    return static_cast<int>(SpareContext::s_list.items.size());
}

void COpenGLView::FreeSpareContexts()
{
    std::vector<SpareContext>& spares = SpareContext::s_list.items;
    while (!spares.empty()) {
        SpareContext spare = spares.back();
        spares.pop_back();
        if (::wglGetCurrentContext() == spare.hRC)
            ::wglMakeCurrent(nullptr, nullptr);
        ::wglDeleteContext(spare.hRC);
        delete spare.pFBO;
        if (::IsWindow(spare.hWnd)) {
            ::ReleaseDC(spare.hWnd, spare.hDC);
            ::DestroyWindow(spare.hWnd);
        }
    }
}

BOOL COpenGLView::LoadFrameBufferFunctions()
{
    const char* version = reinterpret_cast<const char*>(::glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(::glGetString(GL_EXTENSIONS));
    const char* suffix;
    if ((version && std::atoi(version) >= 3) || HasExtension(extensions, "GL_ARB_framebuffer_object"))
        suffix = "";
    else if (HasExtension(extensions, "GL_EXT_framebuffer_object"))
        suffix = "EXT";
    else
        return FALSE;
    auto* f = new FrameBufferFunctions;
    if (GetEntryPoint(f->GenFramebuffers, "glGenFramebuffers", suffix) &&
        GetEntryPoint(f->BindFramebuffer, "glBindFramebuffer", suffix) &&
        GetEntryPoint(f->GenRenderbuffers, "glGenRenderbuffers", suffix) &&
        GetEntryPoint(f->BindRenderbuffer, "glBindRenderbuffer", suffix) &&
        GetEntryPoint(f->RenderbufferStorage, "glRenderbufferStorage", suffix) &&
        GetEntryPoint(f->FramebufferRenderbuffer, "glFramebufferRenderbuffer", suffix) &&
        GetEntryPoint(f->CheckFramebufferStatus, "glCheckFramebufferStatus", suffix) &&
        GetEntryPoint(f->DeleteFramebuffers, "glDeleteFramebuffers", suffix) &&
        GetEntryPoint(f->DeleteRenderbuffers, "glDeleteRenderbuffers", suffix)) {
        m_pFBO = f;
        return TRUE;
    }
    delete f;
    return FALSE;
}

BOOL COpenGLView::SizeFrameBuffer(int cx, int cy, CString& reason)
{
    GLint most = 0;
    ::glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &most);
    if (cx > most || cy > most) {
        reason.Format("no frame of %d x %d pixels (at most %d in either direction)", cx, cy, static_cast<int>(most));
        return FALSE;
    }
    // Errors left over from earlier steps are not this one's.
    for (int i = 0; i < 8 && ::glGetError() != GL_NO_ERROR; ++i) {
    }
    const FrameBufferFunctions& f = *m_pFBO;
    if (!m_frameBuffer) {
        f.GenFramebuffers(1, &m_frameBuffer);
        f.GenRenderbuffers(1, &m_colorBuffer);
        f.GenRenderbuffers(1, &m_depthBuffer);
    }
    f.BindFramebuffer(GL_FRAMEBUFFER, m_frameBuffer);
    f.BindRenderbuffer(GL_RENDERBUFFER, m_colorBuffer);
    f.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, cx, cy);
    f.BindRenderbuffer(GL_RENDERBUFFER, m_depthBuffer);
    f.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, cx, cy);
    f.BindRenderbuffer(GL_RENDERBUFFER, 0);
    f.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colorBuffer);
    f.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depthBuffer);
    GLenum error = ::glGetError();
    GLenum status = f.CheckFramebufferStatus(GL_FRAMEBUFFER);
    if (error != GL_NO_ERROR) {
        reason.Format("no frame of %d x %d pixels (%s)", cx, cy, GetGLErrorName(error));
        return FALSE;
    }
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        reason.Format("no frame of %d x %d pixels (framebuffer status 0x%04X)", cx, cy, static_cast<unsigned>(status));
        return FALSE;
    }
    m_frameWidth = cx;
    m_frameHeight = cy;
    return TRUE;
}

void COpenGLView::DeleteFrameBuffer()
{
    if (m_pFBO && m_frameBuffer) {
        m_pFBO->BindFramebuffer(GL_FRAMEBUFFER, 0);
        m_pFBO->DeleteFramebuffers(1, &m_frameBuffer);
        GLuint buffers[2] = {m_colorBuffer, m_depthBuffer};
        m_pFBO->DeleteRenderbuffers(2, buffers);
    }
    m_frameBuffer = m_colorBuffer = m_depthBuffer = 0;
    m_frameWidth = m_frameHeight = 0;
    m_pixels.clear();
    m_pixels.shrink_to_fit();
}

BOOL COpenGLView::DrawOnWindow(LPCSTR reason)
{
    Report().Message("The OpenGL view draws straight onto its window: %s.", reason);
    DeleteFrameBuffer();
    delete m_pFBO;
    m_pFBO = nullptr;
    if (!m_hSurfaceWnd)
        return TRUE;
    // The window takes the hidden window's pixel format, so that the same context (and the
    // textures in it) can be current on it.
    HDC hWindowDC = ::GetDC(m_hWnd);
    PIXELFORMATDESCRIPTOR pfd = {};
    int format = ::GetPixelFormat(m_hDC);
    if (!hWindowDC || format == 0 || !::DescribePixelFormat(m_hDC, format, sizeof pfd, &pfd) ||
        !::SetPixelFormat(hWindowDC, format, &pfd)) {
        if (hWindowDC)
            ::ReleaseDC(m_hWnd, hWindowDC);
        Report().Box(MB_OK, "SetPixelFormat failed.");
        return FALSE;
    }
    if (!::wglMakeCurrent(hWindowDC, m_hRC)) {
        ::ReleaseDC(m_hWnd, hWindowDC);
        Report().Box(MB_OK, "wglMakeCurrent failed.");
        return FALSE;
    }
    ::ReleaseDC(m_hSurfaceWnd, m_hDC);
    ::DestroyWindow(m_hSurfaceWnd);
    m_hSurfaceWnd = nullptr;
    m_hDC = hWindowDC;
    return TRUE;
}

PIXELFORMATDESCRIPTOR COpenGLView::DefaultPixelFormat()
{
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 16;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

BOOL COpenGLView::SetupPixelFormat(PIXELFORMATDESCRIPTOR* pPFD)
{
    PIXELFORMATDESCRIPTOR pfd = {};
    if (!pPFD) {
        pfd = DefaultPixelFormat();
        pPFD = &pfd;
    }
    // Choosing walks through every format the driver offers; for the default description the
    // choice is the same for every view, so it is made once (and again should it stop fitting).
    static int s_defaultFormat = 0;
    const bool byDefault = pPFD == &pfd;
    if (byDefault && s_defaultFormat && ::SetPixelFormat(m_hDC, s_defaultFormat, pPFD))
        return TRUE;
    int format = ::ChoosePixelFormat(m_hDC, pPFD);
    if (format == 0) {
        Report().Box(MB_OK, "ChoosePixelFormat failed.");
        return FALSE;
    }
    if (!::SetPixelFormat(m_hDC, format, pPFD)) {
        Report().Box(MB_OK, "SetPixelFormat failed.");
        return FALSE;
    }
    if (byDefault)
        s_defaultFormat = format;
    return TRUE;
}

BOOL COpenGLView::MakeCurrent()
{
    if (!m_hRC || !m_hDC)
        return FALSE;
    if (::wglGetCurrentContext() == m_hRC && ::wglGetCurrentDC() == m_hDC)
        return TRUE;
    return ::wglMakeCurrent(m_hDC, m_hRC);
}

void COpenGLView::OnDestroy()
{
    CView::OnDestroy();
    if (KeepSpareContext())
        return;
    if (m_hRC) {
        // Only this view's context is released: another window's current context stays. Its
        // frame and textures go with it.
        if (::wglGetCurrentContext() == m_hRC && !::wglMakeCurrent(nullptr, nullptr))
            Report().Box(MB_OK, "wglMakeCurrent failed.");
        if (!::wglDeleteContext(m_hRC))
            Report().Box(MB_OK, "wglDeleteContext failed.");
        m_hRC = nullptr;
    }
    delete m_pFBO;
    m_pFBO = nullptr;
    m_frameBuffer = m_colorBuffer = m_depthBuffer = 0;
    m_frameWidth = m_frameHeight = 0;
    if (m_hDC) {
        ::ReleaseDC(m_hSurfaceWnd ? m_hSurfaceWnd : m_hWnd, m_hDC);
        m_hDC = nullptr;
    }
    if (m_hSurfaceWnd) {
        ::DestroyWindow(m_hSurfaceWnd);
        m_hSurfaceWnd = nullptr;
    }
}

void COpenGLView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (cx < 1 || cy < 1)
        return;
    m_aspect = static_cast<double>(cx) / cy;
    m_width = cx;
    m_height = cy;
    if (!MakeCurrent())
        return;
    // The frame follows the client area; when it cannot, the view goes on on its window.
    CString reason;
    if (IsDrawingOffWindow() && !SizeFrameBuffer(cx, cy, reason))
        DrawOnWindow(reason);
    ::glViewport(0, 0, cx, cy);
    GLenum error = ::glGetError();
    if (error != GL_NO_ERROR)
        ReportGLError(m_viewportError, error);
    ::glMatrixMode(GL_PROJECTION);
    ::glLoadIdentity();
    SetupViewingFrustum();
    ::glMatrixMode(GL_MODELVIEW);
    ::glLoadIdentity();
    SetupViewingTransform();
}

BOOL COpenGLView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

double COpenGLView::ComputeEyeDistance(int width, double fieldOfView)
{
    double r = fieldOfView * 0.5 * 6.2831854820251465 / 360.0;
    return std::floor(width * 0.5 / std::tan(r) + 0.5);
}

BOOL COpenGLView::CheckFieldOfView(double fieldOfView)
{
    if (fieldOfView <= 90.0)
        return TRUE;
    Report().Fatal("FOV cannot be greater than 90 degrees");
    return FALSE;
}

BOOL COpenGLView::SetupViewingFrustum()
{
    CheckFieldOfView(m_fieldOfView);
    m_eyeDistance = ComputeEyeDistance(m_width, m_fieldOfView);
    ::gluPerspective(m_fieldOfView / m_aspect, m_aspect, 0.1, 2048.0);
    GLenum error = ::glGetError();
    if (error != GL_NO_ERROR) {
        ReportGLError("Error while trying to set viewing frustum.", error);
        return FALSE;
    }
    return TRUE;
}

BOOL COpenGLView::SetupViewingTransform()
{
    // The eye above and in front of the floor, looking at the marker: at the origin it would lie
    // in the floor's plane and on the marker's surface, and show neither.
    ::gluLookAt(0.0, 2.0, 4.0, 0.0, 0.5, 0.0, 0.0, 1.0, 0.0);
    return TRUE;
}

BOOL COpenGLView::PreRenderScene()
{
    ::glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return TRUE;
}

void COpenGLView::RenderFloor()
{
    ::glBegin(GL_QUADS);
    int count = 0;
    for (int i = -5; i <= 5; ++i) {
        for (int j = -5; j <= 5; ++j) {
            float a = 0.5f * i, b = 0.5f * j;
            float grey = (count++ % 2 == 0) ? 0.05f : 0.9f;
            ::glColor3f(grey, grey, grey);
            ::glVertex3f(b, 0.0f, a);
            ::glVertex3f(b + 0.5f, 0.0f, a);
            ::glVertex3f(b + 0.5f, 0.0f, a + 0.5f);
            ::glVertex3f(b, 0.0f, a + 0.5f);
        }
    }
    ::glEnd();
}

// The twelve edges of a cube of the given size about the origin, as lines.
static void WireCube(float size)
{
    float h = size * 0.5f;
    static const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                     {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    ::glBegin(GL_LINES);
    for (const auto& e : edges)
        for (int k : e)
            ::glVertex3f((k & 1) ? h : -h, (k & 2) ? h : -h, (k & 4) ? h : -h);
    ::glEnd();
}

BOOL COpenGLView::RenderScene()
{
    ::glTranslatef(0.0f, 0.5f, 0.0f);
    ::glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    ::glColor3f(1.0f, 0.0f, 0.0f);
    GLUquadric* quadric = ::gluNewQuadric();
    if (quadric) {
        ::gluQuadricDrawStyle(quadric, GLU_FILL);
        ::gluSphere(quadric, 0.5, 20, 20);
        ::gluDeleteQuadric(quadric);
    }
    ::glColor3f(0.5f, 0.5f, 1.0f);
    ::glLineWidth(4.0f);
    WireCube(1.0f);
    ::glLineWidth(1.0f);
    return TRUE;
}

void COpenGLView::PostRenderScene() {}

void COpenGLView::OnDraw(CDC* pDC)
{
    if (!MakeCurrent())
        return;
    BOOL offWindow = IsDrawingOffWindow();
    if (offWindow) {
        // Nothing to show on a window of no size, nor before the frame has one.
        CRect client;
        GetClientRect(&client);
        if (client.IsRectEmpty() || !m_frameBuffer)
            return;
        m_pFBO->BindFramebuffer(GL_FRAMEBUFFER, m_frameBuffer);
    }
    PreRenderScene();
    ::glPushMatrix();
    RenderFloor();
    ::glPopMatrix();
    ::glPushMatrix();
    RenderScene();
    ::glPopMatrix();
    if (offWindow) {
        CopyFrameTo(pDC);
    } else {
        ::glFinish();
        if (!::SwapBuffers(m_hDC) && !m_swapReported) {
            m_swapReported = TRUE;
            LPSTR text = nullptr;
            ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, ::GetLastError(), 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
            Report().Box(MB_OK, "%s", text ? text : "SwapBuffers failed.");
            if (text)
                ::LocalFree(text);
        }
    }
    PostRenderScene();
}

void COpenGLView::CopyFrameTo(CDC* pDC)
{
    const int w = m_frameWidth, h = m_frameHeight;
    m_pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    // Rows of four-byte pixels, bottom row first: a bottom-up 32-bit DIB as it is.
    ::glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, m_pixels.data());
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(AfxGetSafeHdc(pDC), 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                        static_cast<UINT>(h), m_pixels.data(), &bmi, DIB_RGB_COLORS);
}

LPCSTR COpenGLView::GetGLErrorName(GLenum code)
{
    switch (code) {
    case GL_NO_ERROR: return "GL-no error";
    case GL_INVALID_ENUM: return "GL-invalid enumeration";
    case GL_INVALID_VALUE: return "GL-invalid value";
    case GL_INVALID_OPERATION: return "GL-invalid operation";
    case GL_STACK_OVERFLOW: return "GL-stack overflow";
    case GL_STACK_UNDERFLOW: return "GL-stack underflow";
    case GL_OUT_OF_MEMORY: return "GL-out of memory";
    default: return "";
    }
}

void COpenGLView::ReportGLError(LPCSTR where, GLenum code)
{
    Report().Box(MB_OK, "%s: %s\n", where, GetGLErrorName(code));
}
