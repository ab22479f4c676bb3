// A view that owns an OpenGL rendering context and draws a fixed sequence of rendering steps on
// every paint. The defaults draw a grey floor and a marker, so a plain COpenGLView shows a working
// scene; the camera view overrides the steps that draw the map.
//
// Where the driver offers framebuffer objects the view renders off the window, into a frame of its
// client area's size, and each paint copies the finished frame onto the window with GDI: OpenGL
// drawn straight onto a child window does not reach the screen everywhere (Wine draws a child's GL
// surface off screen and fails to copy it). The context's pixel format then lives on a small
// hidden window of the view's own, and the view's window stays a plain GDI window. Without
// framebuffer objects, or when the frame cannot be made, the view renders onto its window as
// OpenGL windows always have, in the same context (its textures stay).
//
// A view that closes while it renders off its window leaves its context and hidden window to the
// next view of its class, set back to the state of a new context: each view still has a context of
// its own while it lives.
#pragma once
#include "afxwin.h"
#include <GL/gl.h>
#include <vector>

class COpenGLView : public CView
{
    DECLARE_DYNCREATE(COpenGLView)
public:
    COpenGLView();
    ~COpenGLView() override;

    // Makes this view's own context current on the device context it draws through. Every GL use
    // goes through it first: with several GL windows, another window's context may be current.
    // FALSE without a usable context.
    BOOL MakeCurrent();

    // The message box "<where>: <error name>\n" through the reporter.
    static void ReportGLError(LPCSTR where, GLenum code);
    // "GL-invalid value" and the like; empty for a code without a name.
    static LPCSTR GetGLErrorName(GLenum code);
    // The distance at which one world unit spans one pixel across the width.
    static double ComputeEyeDistance(int width, double fieldOfView);
    // A field of view above 90 degrees is a fatal error (reported; the caller goes on).
    static BOOL CheckFieldOfView(double fieldOfView);

    double GetAspect() const { return m_aspect; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    double GetFieldOfView() const { return m_fieldOfView; }
    double GetEyeDistance() const { return m_eyeDistance; }
    HGLRC GetRenderingContext() const { return m_hRC; }
    // The device context the rendering context is current on: the hidden window's while the view
    // renders off the window, the view's own window's otherwise.
    HDC GetGLDC() const { return m_hDC; }
    // The contexts of closed views kept for the next view of the same class, and freeing them
    // (the editor does at its end). A view that renders off its window leaves its context, set
    // back to a new context's state, with the hidden window it lives on: the next view is spared
    // making a window's pixel format and a context, and the driver's compiling of the drawing
    // states again at its first paint.
    static int GetSpareContextCount();
    static void FreeSpareContexts();
    // TRUE while the view renders into its frame and copies it onto the window at each paint.
    BOOL IsDrawingOffWindow() const { return m_pFBO != nullptr; }
    // The size of the frame rendered into; 0 x 0 before the first size and on the window path.
    CSize GetFrameSize() const { return CSize(m_frameWidth, m_frameHeight); }

    // The rendering steps, in the order a paint runs them.
    virtual BOOL InitOpenGL();
    // The pixel format a view asks for unless it is given another.
    static PIXELFORMATDESCRIPTOR DefaultPixelFormat();
    virtual BOOL SetupPixelFormat(PIXELFORMATDESCRIPTOR* pPFD);
    virtual BOOL SetupViewingFrustum();
    virtual BOOL SetupViewingTransform();
    virtual BOOL PreRenderScene();
    virtual void RenderFloor();
    virtual BOOL RenderScene();
    virtual void PostRenderScene();

    void OnDraw(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);

    // The framebuffer entry points, when the driver offers them (its version or its extension).
    BOOL LoadFrameBufferFunctions();
    // Gives the frame the size cx x cy (making it first); FALSE with the reason when it cannot be
    // made or sized.
    BOOL SizeFrameBuffer(int cx, int cy, CString& reason);
    void DeleteFrameBuffer();
    // From now on the view renders onto its own window, in the same context; the reason is
    // written once to the Messages pane.
    BOOL DrawOnWindow(LPCSTR reason);
    // Reads the finished frame and draws it onto the device context at the client's origin.
    void CopyFrameTo(CDC* pDC);
    // Takes a spare context of this view's class with its hidden window; FALSE when there is none.
    BOOL TakeSpareContext();
    // Sets the context back to a new context's state and keeps it with its hidden window; FALSE
    // when it is not kept (the caller deletes it).
    BOOL KeepSpareContext();

    double m_aspect = 1.0;
    int m_width = 0, m_height = 0;
    double m_fieldOfView = 90.0;
    double m_eyeDistance = 0.0;
    HGLRC m_hRC = nullptr;
    HDC m_hDC = nullptr;         // the device context the context is current on
    HWND m_hSurfaceWnd = nullptr; // the hidden window whose pixel format the context has
    BOOL m_swapReported = FALSE; // a failed swap is shown once, not on every paint
    LPCSTR m_viewportError = "Error while trying to set viewport.";

    struct FrameBufferFunctions;
    struct SpareContext;
    FrameBufferFunctions* m_pFBO = nullptr;
    GLuint m_frameBuffer = 0, m_colorBuffer = 0, m_depthBuffer = 0;
    int m_frameWidth = 0, m_frameHeight = 0;
    std::vector<unsigned char> m_pixels; // the frame read back, bottom row first

    DECLARE_MESSAGE_MAP()
};
