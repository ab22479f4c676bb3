// A shown MDI main frame with the camera template (the map with camera frames and views), as
// the editor registers it, under recording services.
#pragma once
#include "MapCameraFrame.h"
#include "MapCameraView.h"
#include "Thing.h"
#include "RecordingServices.h"
#include "afxtest.h"
#include <GL/glext.h>
#include <vector>

// The frame of a painted GL view is read from the buffer that holds it: the colour attachment of
// its frame while it renders off the window, the back buffer (the one swapped to the window)
// otherwise. Leaves the view's context current.
inline void ReadFromFrame(COpenGLView* view)
{
    EXPECT_TRUE(view->MakeCurrent());
    ::glReadBuffer(view->IsDrawingOffWindow() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
}

// Pixels as 0x00RRGGBB, top row first.
struct PixelArea
{
    int w = 0, h = 0;
    std::vector<DWORD> rgb;
    DWORD At(int x, int y) const { return rgb[static_cast<size_t>(y) * w + x]; }
};

// A window's client area as the screen shows it, read through the screen's device context (not
// the window's own): what the user sees, whatever OpenGL holds.
inline PixelArea ReadScreen(HWND hWnd)
{
    PixelArea area;
    RECT rc;
    POINT origin = {0, 0};
    if (!::GetClientRect(hWnd, &rc) || !::ClientToScreen(hWnd, &origin) || rc.right <= 0 || rc.bottom <= 0)
        return area;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hMem && hBitmap && pBits) {
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        if (::BitBlt(hMem, 0, 0, rc.right, rc.bottom, hScreen, origin.x, origin.y, SRCCOPY)) {
            ::GdiFlush();
            const DWORD* p = static_cast<const DWORD*>(pBits);
            area.w = rc.right;
            area.h = rc.bottom;
            for (size_t i = 0, n = static_cast<size_t>(area.w) * area.h; i < n; ++i)
                area.rgb.push_back(p[i] & 0xFFFFFF);
        }
        ::SelectObject(hMem, hOld);
    }
    if (hBitmap)
        ::DeleteObject(hBitmap);
    if (hMem)
        ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return area;
}

// The whole frame a painted GL view drew.
inline PixelArea ReadFrame(COpenGLView* view)
{
    PixelArea area;
    ReadFromFrame(view);
    area.w = view->GetWidth();
    area.h = view->GetHeight();
    std::vector<GLubyte> bytes(static_cast<size_t>(area.w) * area.h * 4);
    ::glReadPixels(0, 0, area.w, area.h, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    area.rgb.resize(static_cast<size_t>(area.w) * area.h);
    for (int y = 0; y < area.h; ++y)
        for (int x = 0; x < area.w; ++x) {
            const GLubyte* c = &bytes[(static_cast<size_t>(area.h - 1 - y) * area.w + x) * 4];
            area.rgb[static_cast<size_t>(y) * area.w + x] = (DWORD(c[0]) << 16) | (DWORD(c[1]) << 8) | c[2];
        }
    return area;
}

// How many pixels of a GL view's client area show on the screen otherwise than its frame holds
// them; every pixel when the sizes differ.
inline size_t ScreenDifferences(COpenGLView* view)
{
    PixelArea frame = ReadFrame(view), screen = ReadScreen(view->m_hWnd);
    if (frame.rgb.empty() || frame.w != screen.w || frame.h != screen.h)
        return frame.rgb.size() > screen.rgb.size() ? frame.rgb.size() : screen.rgb.size() + 1;
    size_t differ = 0;
    for (size_t i = 0; i < frame.rgb.size(); ++i)
        differ += frame.rgb[i] != screen.rgb[i];
    return differ;
}

class CameraTemplateTest : public ModelTest
{
protected:
    enum { MAIN_MENU = 2000, MAP_RESOURCE = 128 };

    void SetUp() override
    {
        ModelTest::SetUp();
        m_main = new CMDIFrameWnd;
        ASSERT_TRUE(m_main->LoadFrame(MAIN_MENU, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        m_main->SetWindowPos(nullptr, 0, 0, 1000, 800, SWP_NOZORDER);
        m_main->ShowWindow(SW_SHOW);
        m_main->UpdateWindow();
        m_template = new CMultiDocTemplate(MAP_RESOURCE, RUNTIME_CLASS(Map), RUNTIME_CLASS(CMapCameraFrame),
                                           RUNTIME_CLASS(CMapCameraView));
        m_app.AddDocTemplate(m_template);
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        if (m_main->m_hWnd)
            m_main->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        afxtest::DrainQuit();
        ModelTest::TearDown();
    }

    // A camera window on the map, made as the map's New Camera Window makes it, at the size given.
    CMapCameraView* OpenCamera(Map* map, int cx, int cy)
    {
        CFrameWnd* frame = m_template->CreateNewFrame(map, nullptr);
        if (!frame)
            return nullptr;
        map->SetViewType(VIEW_CAMERA);
        m_template->InitialUpdateFrame(frame, map);
        frame->MoveWindow(0, 0, cx, cy);
        return dynamic_cast<CMapCameraView*>(frame->GetActiveView());
    }

    CWinApp m_app;
    CMDIFrameWnd* m_main = nullptr;
    CMultiDocTemplate* m_template = nullptr;
};
