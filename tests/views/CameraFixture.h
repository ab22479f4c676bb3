// A shown MDI main frame with the camera template (the map with camera frames and views), as
// the editor registers it, under recording services.
#pragma once
#include "MapCameraFrame.h"
#include "MapCameraView.h"
#include "Thing.h"
#include "RecordingServices.h"
#include "afxtest.h"

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
