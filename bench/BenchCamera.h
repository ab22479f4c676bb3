// Camera frames: the loaded map in a camera window of 800 x 600 from the player start. Textured
// first, so that its first frame holds the uploads of every loaded texture; then wireframe and
// flat. For each mode: the first paint and the median of the later ones, each a whole paint as
// the window system asks for it (the scene rendered and its picture brought onto the window);
// then the median of as many renders of the scene alone (to glFinish, nothing brought to the
// window), the part of a paint that the way of showing the picture does not change.
#pragma once
#include "CameraRes.h"
#include "MapCameraView.h"
#include <algorithm>

// One whole paint of the view: its window invalidated and updated, GDI flushed.
inline double CameraPaint(CMapCameraView* view)
{
    double t0 = Now();
    view->Invalidate(FALSE);
    view->UpdateWindow();
    ::GdiFlush();
    return Now() - t0;
}

// The scene alone, rendered into whatever the view draws on.
inline double CameraRender(CMapCameraView* view)
{
    double t0 = Now();
    view->MakeCurrent();
    view->PreRenderScene();
    ::glPushMatrix();
    view->RenderScene();
    ::glPopMatrix();
    ::glFinish();
    return Now() - t0;
}

inline double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline int BenchCamera(Map& map, int runs)
{
    CWinApp app;
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    map.m_bAutoDelete = FALSE;
    map.RebuildVisibleList();
    auto* frame = new CFrameWnd;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CMapCameraView);
    context.m_pCurrentDoc = &map;
    if (!frame->Create(nullptr, "camera", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, nullptr, 0,
                       &context)) {
        std::fprintf(stderr, "cannot create the camera window\n");
        return 1;
    }
    auto* view = dynamic_cast<CMapCameraView*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    if (!view || !view->GetRenderingContext()) {
        std::fprintf(stderr, "no OpenGL camera view\n");
        return 1;
    }
    // The view's client area 800 x 600, whatever its borders take.
    CRect client;
    view->GetClientRect(&client);
    frame->SetWindowPos(nullptr, 0, 0, 800 + (800 - client.Width()), 600 + (600 - client.Height()),
                        SWP_NOZORDER | SWP_NOMOVE);
    frame->InitialUpdateFrame(&map, TRUE);
    std::printf("camera: %d x %d, %d objects visible, eye at %d, %d, %d\n", view->GetWidth(), view->GetHeight(),
                map.GetVisibleList().GetCount(), view->GetCamera().tx, -view->GetCamera().tz,
                -view->GetCamera().ty);

    const struct
    {
        UINT command;
        const char* name;
    } modes[] = {{ID_CAMERA_TEXTURED, "textured"}, {ID_CAMERA_WIREFRAME, "wireframe"}, {ID_CAMERA_FLAT, "flat"}};
    int rc = 0;
    for (const auto& m : modes) {
        // Switched while hidden, so that the command's own repaint does not take the first frame.
        view->ShowWindow(SW_HIDE);
        view->SendMessage(WM_COMMAND, m.command, 0);
        view->ShowWindow(SW_SHOW);
        view->ValidateRect(nullptr);
        std::vector<double> paints, renders;
        for (int r = 0; r < runs + 1; ++r)
            paints.push_back(CameraPaint(view));
        for (int r = 0; r < runs; ++r)
            renders.push_back(CameraRender(view));
        view->MakeCurrent();
        GLenum error = ::glGetError();
        std::printf("camera %-9s first paint %8.1f ms, median of %d later paints %8.1f ms, of the scene alone "
                    "%8.1f ms%s\n",
                    m.name, paints[0] * 1000.0, runs, Median({paints.begin() + 1, paints.end()}) * 1000.0,
                    Median(renders) * 1000.0, error ? "  (GL error)" : "");
        if (error)
            rc = 1;
    }
    frame->DestroyWindow();
    return rc;
}
