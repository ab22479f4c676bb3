// A view that owns an OpenGL rendering context on its window and draws a fixed sequence of
// rendering steps on every paint. The defaults draw a grey floor and a marker, so a plain
// COpenGLView shows a working scene; the camera view overrides the steps that draw the map.
#pragma once
#include "afxwin.h"
#include <GL/gl.h>

class COpenGLView : public CView
{
    DECLARE_DYNCREATE(COpenGLView)
public:
    COpenGLView();
    ~COpenGLView() override;

    // Makes this view's own context current on its device context. Every GL use goes through
    // it first: with several GL windows, another window's context may be current. FALSE
    // without a usable context.
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
    HDC GetGLDC() const { return m_hDC; }

    // The rendering steps, in the order a paint runs them.
    virtual BOOL InitOpenGL();
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

    double m_aspect = 1.0;
    int m_width = 0, m_height = 0;
    double m_fieldOfView = 90.0;
    double m_eyeDistance = 0.0;
    HGLRC m_hRC = nullptr;
    HDC m_hDC = nullptr;        // the window's own class device context
    BOOL m_swapReported = FALSE; // a failed swap is shown once, not on every paint
    LPCSTR m_viewportError = "Error while trying to set viewport.";

    DECLARE_MESSAGE_MAP()
};
