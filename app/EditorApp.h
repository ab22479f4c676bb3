// The editor's application object.
#pragma once
#include "AppServices.h"
#include "EntityClasses.h"
#include "afxwin.h"

class CMainFrame;

class CEditorApp : public CWinApp
{
public:
    CEditorApp();
    ~CEditorApp() override;

    // The main frame (null before it exists).
    CMainFrame* GetMainFrame() const;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Timer messages (auto save, the views' timers) never restart idle processing.
    BOOL IsIdleMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    int m_bMaximized;       // the main window was maximised when the editor last ended
    // What the map model and the views read of the editor; installed at start-up.
    CAppServices m_services;
    // The open project's entity classes (empty without a project).
    CEntityClassMap m_entityClasses;

protected:
    CMultiDocTemplate* m_pMapTemplate;      // 2D map windows
    CMultiDocTemplate* m_pCameraTemplate;   // camera windows

    DECLARE_MESSAGE_MAP()
};

CEditorApp* AfxGetEditorApp();
