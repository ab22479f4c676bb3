#include "OpenGLView.h"
#include "Reporter.h"
#include <GL/glu.h>
#include <cmath>

IMPLEMENT_DYNCREATE(COpenGLView, CView)

BEGIN_MESSAGE_MAP(COpenGLView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COpenGLView::COpenGLView() = default;

COpenGLView::~COpenGLView() = default;

BOOL COpenGLView::PreCreateWindow(CREATESTRUCTA& cs)
{
    // OpenGL draws into the class's own device context, kept for the window's life; it must not
    // draw over siblings or children.
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
    m_hDC = ::GetDC(m_hWnd);
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
    if (!::wglMakeCurrent(m_hDC, m_hRC)) {
        Report().Box(MB_OK, "wglMakeCurrent failed.");
        return FALSE;
    }
    ::glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    ::glClearDepth(1.0);
    ::glEnable(GL_DEPTH_TEST);
    return TRUE;
}

BOOL COpenGLView::SetupPixelFormat(PIXELFORMATDESCRIPTOR* pPFD)
{
    PIXELFORMATDESCRIPTOR pfd = {};
    if (!pPFD) {
        pfd.nSize = sizeof pfd;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 16;
        pfd.cDepthBits = 16;
        pfd.iLayerType = PFD_MAIN_PLANE;
        pPFD = &pfd;
    }
    int format = ::ChoosePixelFormat(m_hDC, pPFD);
    if (format == 0) {
        Report().Box(MB_OK, "ChoosePixelFormat failed.");
        return FALSE;
    }
    if (!::SetPixelFormat(m_hDC, format, pPFD)) {
        Report().Box(MB_OK, "SetPixelFormat failed.");
        return FALSE;
    }
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
    if (m_hRC) {
        // Only this view's context is released: another window's current context stays.
        if (::wglGetCurrentContext() == m_hRC && !::wglMakeCurrent(nullptr, nullptr))
            Report().Box(MB_OK, "wglMakeCurrent failed.");
        if (!::wglDeleteContext(m_hRC))
            Report().Box(MB_OK, "wglDeleteContext failed.");
        m_hRC = nullptr;
    }
    if (m_hDC) {
        ::ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
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

void COpenGLView::OnDraw(CDC*)
{
    if (!MakeCurrent())
        return;
    PreRenderScene();
    ::glPushMatrix();
    RenderFloor();
    ::glPopMatrix();
    ::glPushMatrix();
    RenderScene();
    ::glPopMatrix();
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
    PostRenderScene();
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
