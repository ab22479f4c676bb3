// Camera frames: the loaded map in a camera window of 800 x 600 from the player start, each
// frame rendered to glFinish (the swap left out). Textured first, so that its first frame holds
// the uploads of every loaded texture; then wireframe and flat. For each mode: the first frame
// and the median of the later ones.
#pragma once
#include "CameraRes.h"
#include "MapCameraView.h"
#include <algorithm>

inline double CameraFrame(CMapCameraView* view)
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
        std::vector<double> times;
        for (int r = 0; r < runs + 1; ++r)
            times.push_back(CameraFrame(view));
        GLenum error = ::glGetError();
        std::vector<double> later(times.begin() + 1, times.end());
        std::sort(later.begin(), later.end());
        std::printf("camera %-9s first frame %8.1f ms, median of %d later frames %8.1f ms%s\n", m.name,
                    times[0] * 1000.0, runs, later[later.size() / 2] * 1000.0,
                    error ? "  (GL error)" : "");
        if (error)
            rc = 1;
    }
    frame->DestroyWindow();
    return rc;
}
