// The editor's application object: start-up and end.
#include "EditorApp.h"
#include "MainFrame.h"
#include "Map.h"
#include "MapFrame.h"
#include "MapView.h"
#include "../res/resource.h"
#include "Map.h"
#include "MapData.h"
#include "MapCameraFrame.h"
#include "MapCameraView.h"

BEGIN_MESSAGE_MAP(CEditorApp, CWinApp)
    // The framework's File Open: the file dialog, then the 2D template. The main frame's own
    // Open comes earlier in the routing once it has one.
    ON_COMMAND(ID_MAP_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

CEditorApp::CEditorApp() : m_bMaximized(1), m_pMapTemplate(nullptr), m_pCameraTemplate(nullptr) {}

CEditorApp::~CEditorApp()
{
    if (GetEditorServices() == &m_services)
        SetViewServices(nullptr);
}

CEditorApp* AfxGetEditorApp()
{
    return static_cast<CEditorApp*>(AfxGetApp());
}

CMainFrame* CEditorApp::GetMainFrame() const
{
    return static_cast<CMainFrame*>(m_pMainWnd);
}

BOOL CEditorApp::InitInstance()
{
    // The grid library is initialised first, once it is part of the editor.

    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED, MB_OK);
        return FALSE;
    }
    Enable3dControls();
    SetRegistryKey("Morvane");

    // The two templates of map windows share resource 128: 2D map windows and camera windows. The
    // 2D frame makes its two panes itself; the camera template's classes come with the camera view.
    SetViewServices(&m_services);
    m_services.CreateColors();
    // "Morvane Data" for the clipboard and drags between map windows; warns when unavailable.
    RegisterMapDataFormat();
    m_pMapTemplate =
        new CMultiDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(Map), RUNTIME_CLASS(CMapFrame), RUNTIME_CLASS(CMapView));
    AddDocTemplate(m_pMapTemplate);
    m_pCameraTemplate = new CMultiDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(Map), RUNTIME_CLASS(CMapCameraFrame),
                                              RUNTIME_CLASS(CMapCameraView));
    AddDocTemplate(m_pCameraTemplate);

    CMainFrame* pMainFrame = new CMainFrame;
    if (!pMainFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
        return FALSE;
    m_pMainWnd = pMainFrame;

    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    m_bMaximized = (int)GetProfileInt("Main Window", "Maximized", 1);

    // The command line is read the standard way and then ignored: nothing is opened at start.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (cmdInfo.m_bRunEmbedded) {
        m_nCmdShow = SW_SHOWNORMAL;
    }
    else if (m_bMaximized) {
        switch (m_nCmdShow) {
        case SW_SHOWNORMAL:
        case SW_SHOWMAXIMIZED:
        case SW_SHOWNOACTIVATE:
        case SW_SHOW:
        case SW_SHOWNA:
        case SW_RESTORE:
        case SW_SHOWDEFAULT: m_nCmdShow = SW_SHOWMAXIMIZED; break;
        default: break;     // hidden or minimised starts stay as asked
        }
    }
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    pMainFrame->ShowWindow(m_nCmdShow);
    pMainFrame->UpdateWindow();
    return TRUE;
}

int CEditorApp::ExitInstance()
{
    return CWinApp::ExitInstance();
}

BOOL CEditorApp::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_TIMER)
        return FALSE;
    return CWinApp::IsIdleMessage(pMsg);
}

BOOL CEditorApp::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CWinApp::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
