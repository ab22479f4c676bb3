// The editor's application object: start-up and end.
#include "EditorApp.h"
#include "MainFrame.h"
#include "Map.h"
#include "MapFrame.h"
#include "MapView.h"
#include "../res/resource.h"
#include "Map.h"
#include "MapData.h"
#include "EditDialogs.h"
#include "MapCameraFrame.h"
#include "MapCameraView.h"
#include "PathIterator.h"
#include "ShellRes.h"
#include "Reporter.h"
#include "Tokenizer.h"
#include "ProjectDialogs.h"
#include "TipDlg.h"
#include "SECBrowse.h"
#include "gxfactry.h"
#include "gxinit.h"
#include <shlobj.h>
#include <cstring>

BEGIN_MESSAGE_MAP(CEditorApp, CWinApp)
    // The framework's File Open: the file dialog, then the 2D template. The main frame's own
    // Open comes earlier in the routing once it has one.
    ON_COMMAND(ID_MAP_OPEN, CWinApp::OnFileOpen)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_UPDATE_COMMAND_UI(ID_RECENT_MAP_FIRST, OnUpdateRecentMaps)
    ON_UPDATE_COMMAND_UI(ID_RECENT_PROJECT_FIRST, OnUpdateRecentProjects)
    ON_COMMAND_EX_RANGE(ID_RECENT_MAP_FIRST, ID_RECENT_MAP_FIRST + 3, OnOpenRecentMap)
    ON_COMMAND_EX_RANGE(ID_RECENT_PROJECT_FIRST, ID_RECENT_PROJECT_FIRST + 3, OnOpenRecentProject)
END_MESSAGE_MAP()

CEditorApp::CEditorApp()
    : m_bShowTips(1), m_nCurrentTip(0), m_bMaximized(1), m_bReload(FALSE), m_pReporter(nullptr), m_pRecentMaps(nullptr), m_pRecentProjects(nullptr),
      m_pMapTemplate(nullptr), m_pCameraTemplate(nullptr)
{
    m_services.SetEntityClasses(&m_entityClasses);
}

CEditorApp::~CEditorApp()
{
    FreeReporter();
    delete m_pRecentMaps;
    delete m_pRecentProjects;
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
    // The grid library first, with the cell controls' factory: dialogs may hold grids.
    GXInit(0x421, nullptr, nullptr);

    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED, MB_OK);
        return FALSE;
    }
    Enable3dControls();
    SetRegistryKey("Morvane");
    LoadSettings();

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
    // The shortcuts the user saved replace the built-in ones, in map windows too.
    pMainFrame->InstallSavedShortcuts();
    FreeReporter();
    m_pReporter = new CReporter(&m_services);
    CReporter::Set(m_pReporter);

    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    m_bMaximized = (int)GetProfileInt("Main Window", "Maximized", 1);

    // The command line is read the standard way and then ignored: nothing is opened at start.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    m_nCmdShow = StartShowCommand(m_nCmdShow, m_bMaximized, cmdInfo.m_bRunEmbedded);
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    pMainFrame->ShowWindow(m_nCmdShow);
    pMainFrame->UpdateWindow();
    RunStartup();
    return TRUE;
}

// The directory of the program file, without a trailing "\".
static CString ProgramDirectory()
{
    char path[MAX_PATH * 2] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    CString dir = n > 0 && n < sizeof path ? CString(path) : CString();
    int cut = dir.ReverseFind('\\');
    return cut >= 0 ? dir.Left(cut) : CString(".");
}

void CEditorApp::RunStartup()
{
    CMainFrame* pFrame = GetMainFrame();
    if (!pFrame)
        return;
    if (GetProfileInt("Startup", "Show At Startup", 1)) {
        CStartupDlg dlg(pFrame);
        dlg.DoModal();
        WriteProfileInt("Startup", "Show At Startup", dlg.GetShowAtStartup() ? 1 : 0);
        if (dlg.GetLoadSample()) {
            if (GetProfileString("Project Settings", "Quake Path", "").IsEmpty())
                DetectQuakePath();
            // The sample's paths are relative to the program's folder: without a root of the
            // user's own, that folder is the root.
            if (GetProfileString("Project Settings", "Root Path", "").IsEmpty())
                WriteProfileString("Project Settings", "Root Path", ProgramDirectory());
            pFrame->OpenProject(SampleProjectPath());
            if (m_bShowTips)
                ShowTipOfDay();
            return;
        }
    }
    if (m_bReload && !m_strLastProject.IsEmpty())
        pFrame->OpenProject(m_strLastProject);
    if (m_bShowTips)
        ShowTipOfDay();
}

CString CEditorApp::TipFilePath()
{
    return ProgramDirectory() + "\\morvane.tip";
}

CString CEditorApp::SampleProjectPath()
{
    return ProgramDirectory() + "\\Projects\\Sample.prj";
}

void CEditorApp::ShowTipOfDay()
{
    ++m_nCurrentTip;
    CTipDlg dlg(TipFilePath(), m_nCurrentTip, m_bShowTips);
    dlg.DoModal();
    m_nCurrentTip = dlg.m_nTip;
    m_bShowTips = dlg.m_bShowAtStartup ? 1 : 0;
    WriteProfileInt("Tips", "Current Tip", m_nCurrentTip);
    WriteProfileInt("Tips", "Show At Startup", m_bShowTips);
}

BOOL CEditorApp::BrowseForFolder(LPCSTR title, CString& path, CWnd* pOwner)
{
    CString folder;
    if (!SECBrowseForFolder(pOwner ? pOwner : GetMainFrame(), title, CSIDL_DRIVES, folder))
        return FALSE;
    path = folder;
    return TRUE;
}

void CEditorApp::FreeReporter()
{
    if (CReporter::Get() == m_pReporter)
        CReporter::Set(nullptr);
    delete m_pReporter;
    m_pReporter = nullptr;
}

int CEditorApp::ExitInstance()
{
    FreeReporter();
    WriteProfileInt("Main Window", "Maximized", m_bMaximized);
    LONG rect[4] = {m_rcMain.left, m_rcMain.top, m_rcMain.right, m_rcMain.bottom};
    WriteProfileBinary("Main Window", "Rectangle", reinterpret_cast<LPBYTE>(rect), sizeof rect);
    if (m_pRecentMaps)
        m_pRecentMaps->WriteList();
    if (m_pRecentProjects)
        m_pRecentProjects->WriteList();
    m_entityClasses.RemoveAll();
    DeleteAutoSaveFiles();
    GXUnregisterClasses();
    // The camera windows are closed: the contexts they left for later ones go.
    COpenGLView::FreeSpareContexts();
    return CWinApp::ExitInstance();
}

int CEditorApp::StartShowCommand(int nCmdShow, BOOL bMaximized, BOOL bEmbedded)
{
    if (bEmbedded)
        return SW_SHOWNORMAL;
    if (!bMaximized)
        return nCmdShow;
    switch (nCmdShow) {
    case SW_SHOWNORMAL:
    case SW_SHOWMAXIMIZED:
    case SW_SHOWNOACTIVATE:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: return SW_SHOWMAXIMIZED;
    default: return nCmdShow;   // hidden or minimised starts stay as asked
    }
}

// ---------------------------------------------------------------------------
// Settings

void CEditorApp::LoadSettings()
{
    LoadRecentLists(4, 4);
    LONG rect[4] = {};
    DWORD size = sizeof rect;
    BOOL read = GetProfileBinary("Main Window", "Rectangle", rect, &size);
    m_rcMain = CheckedRectangle(read ? rect : nullptr, read ? size : 0, ::GetSystemMetrics(SM_CXSCREEN),
                                ::GetSystemMetrics(SM_CYSCREEN));
    m_bShowTips = GetProfileInt("Tips", "Show At Startup", 1) != 0;
    m_nCurrentTip = GetProfileInt("Tips", "Current Tip", 0);
    m_bReload = GetProfileInt("Options", "Reload", 0) != 0;
    m_strLastProject = m_bReload ? GetProfileString("Options", "Last Project", "") : CString();
}

void CEditorApp::LoadRecentLists(int nMaps, int nProjects)
{
    delete m_pRecentMaps;
    delete m_pRecentProjects;
    m_pRecentMaps = new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File %d", nMaps, 30);
    m_pRecentMaps->ReadList();
    m_pRecentProjects = new CRecentFileList(ID_FILE_MRU_FILE1 + 4, "Recent Project List", "Project %d", nProjects, 30);
    m_pRecentProjects->ReadList();
}

void CEditorApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentMaps)
        m_pRecentMaps->Add(lpszPathName);
}

void CEditorApp::AddToRecentProjectList(LPCSTR lpszPathName)
{
    if (m_pRecentProjects)
        m_pRecentProjects->Add(lpszPathName);
}

CRect CEditorApp::CheckedRectangle(const void* pData, DWORD size, int cxScreen, int cyScreen)
{
    CRect rect(0, 0, 0, 0);
    if (!pData || size != 4 * sizeof(LONG))
        return rect;
    LONG v[4];
    std::memcpy(v, pData, sizeof v);
    rect.SetRect(v[0], v[1], v[2], v[3]);
    CRect onScreen;
    onScreen.IntersectRect(rect, CRect(0, 0, cxScreen, cyScreen));
    if (onScreen.Width() < 10 || onScreen.Height() < 10)
        rect.SetRectEmpty();
    return rect;
}

// The section's key opened for reading, never created; null when it is missing.
static HKEY OpenSection(CEditorApp& app, LPCSTR section)
{
    HKEY root = app.GetAppRegistryKey();
    if (!root)
        return nullptr;
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExA(root, section, 0, KEY_READ, &key);
    ::RegCloseKey(root);
    return result == ERROR_SUCCESS ? key : nullptr;
}

BOOL CEditorApp::RegKeyExists(LPCSTR section)
{
    HKEY key = OpenSection(*this, section);
    if (!key)
        return FALSE;
    ::RegCloseKey(key);
    return TRUE;
}

BOOL CEditorApp::RegDeleteSection(LPCSTR section)
{
    HKEY app = GetAppRegistryKey();
    if (!app)
        return FALSE;
    // The section may hold no subkeys of its own, so the plain delete is enough.
    LONG result = ::RegDeleteKeyA(app, section);
    ::RegCloseKey(app);
    return result == ERROR_SUCCESS;
}

BOOL CEditorApp::GetProfileBinary(LPCSTR section, LPCSTR name, void* pBuffer, DWORD* pSize)
{
    HKEY key = OpenSection(*this, section);
    if (!key)
        return FALSE;
    DWORD type = 0;
    LONG result = ::RegQueryValueExA(key, name, nullptr, &type, static_cast<LPBYTE>(pBuffer), pSize);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_BINARY;
}

// A REG_SZ value read into a bounded buffer and terminated there.
static BOOL ReadBoundedString(HKEY key, LPCSTR name, CString& value)
{
    char buffer[261];
    DWORD size = 260;
    DWORD type = 0;
    LONG result = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    if (result != ERROR_SUCCESS || type != REG_SZ || size > 260)
        return FALSE;
    buffer[size] = '\0';
    value = buffer;
    return TRUE;
}

BOOL CEditorApp::RegReadRootString(LPCSTR keyName, LPCSTR name, CString& value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    BOOL ok = ReadBoundedString(key, name, value);
    ::RegCloseKey(key);
    return ok;
}

BOOL CEditorApp::GetRegString(LPCSTR path, LPCSTR name, CString& value)
{
    HKEY key = nullptr;
    if (CProfileStore::OpenSoftwareKey(path, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    BOOL ok = ReadBoundedString(key, name, value);
    ::RegCloseKey(key);
    return ok;
}

BOOL CEditorApp::DetectQuakePath()
{
    static const char kFirst[] = "GameSpy\\GameSpy 3D\\QSpy Quake";
    static const char kSecond[] = "Quake\\QSpy\\QSpy Quake";
    CString dir, exe;
    if (!GetRegString(kFirst, "WorkDir", dir) && !GetRegString(kSecond, "WorkDir", dir))
        return FALSE;
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] == '\\')
        dir = dir.Left(dir.GetLength() - 1);
    if (!GetRegString(kFirst, "CmdLine", exe) && !GetRegString(kSecond, "CmdLine", exe))
        return FALSE;
    WriteProfileString("Project Settings", "Quake Path", dir);
    WriteProfileString("Project Settings", "Quake Exe", exe);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Recent lists

void CEditorApp::OnUpdateRecentMaps(CCmdUI* pCmdUI)
{
    if (m_pRecentMaps)
        m_pRecentMaps->UpdateMenu(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

void CEditorApp::OnUpdateRecentProjects(CCmdUI* pCmdUI)
{
    if (m_pRecentProjects)
        m_pRecentProjects->UpdateMenu(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

BOOL CEditorApp::OnOpenRecentMap(UINT nID)
{
    int index = static_cast<int>(nID - ID_RECENT_MAP_FIRST);
    CMainFrame* pFrame = GetMainFrame();
    if (!m_pRecentMaps || !pFrame || index < 0 || index >= m_pRecentMaps->GetSize())
        return TRUE;
    CString path = (*m_pRecentMaps)[index];
    if (path.IsEmpty())
        return TRUE;
    if (!pFrame->OpenMap(path, VIEW_ALL_FOUR))
        m_pRecentMaps->Remove(index);
    return TRUE;
}

BOOL CEditorApp::OnOpenRecentProject(UINT nID)
{
    int index = static_cast<int>(nID - ID_RECENT_PROJECT_FIRST);
    CMainFrame* pFrame = GetMainFrame();
    if (!m_pRecentProjects || !pFrame || index < 0 || index >= m_pRecentProjects->GetSize())
        return TRUE;
    CString path = (*m_pRecentProjects)[index];
    if (path.IsEmpty())
        return TRUE;
    if (!pFrame->OpenProject(path))
        m_pRecentProjects->Remove(index);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Auto save files

void CEditorApp::RememberProjectDirectories()
{
    m_protectedDirs.RemoveAll();
    for (LPCSTR key : {"Maps", "Objects"}) {
        CPathIterator it;
        if (!it.Init(key, 0, "map"))
            continue;
        for (CString dir = it.NextDirectory(); !dir.IsEmpty(); dir = it.NextDirectory())
            m_protectedDirs.Add(DirectoryKey(dir));
    }
}

void CEditorApp::DeleteAutoSaveFiles()
{
    // Only the files this run's auto save wrote go: never a file that was there before, one
    // the user saved since, or anything else that matches a name pattern.
    CStringArray files;
    Map::GetAutoSaveFiles(files);
    Map::ForgetAutoSaveFiles();
    if (GetProfileInt("Options", "Delete Auto Save Files", 1) == 0)
        return;
    for (INT_PTR f = 0; f < files.GetSize(); ++f) {
        // Auto save files in one of the project's own directories are left among its maps.
        const CString dir = DirectoryKey(files[f].Left(files[f].ReverseFind('\\')));
        bool isProjectDir = false;
        for (INT_PTR i = 0; i < m_protectedDirs.GetSize() && !isProjectDir; ++i)
            isProjectDir = dir == m_protectedDirs[i];
        if (!isProjectDir)
            ::DeleteFileA(files[f]);
    }
}

BOOL CEditorApp::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_TIMER)
        return FALSE;
    return CWinApp::IsIdleMessage(pMsg);
}

BOOL CEditorApp::PreTranslateMessage(MSG* pMsg)
{
    CMainFrame* pFrame = GetMainFrame();
    if (pFrame && pFrame->m_hWnd && pFrame->TranslateToolWindowKey(pMsg))
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}

BOOL CEditorApp::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CWinApp::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CEditorApp::OnAppAbout()
{
    CAboutDlg dlg(m_pMainWnd);
    dlg.DoModal();
}
