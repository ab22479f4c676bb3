// The editor's main window.
#include "MainFrame.h"
#include "EditCommands.h"
#include "../res/resource.h"
#include "EditorApp.h"
#include "EntityClasses.h"
#include "IniFile.h"
#include "Map.h"
#include "Reporter.h"
#include "ShellRes.h"
#include "Tokenizer.h"
#include "afxdlgs.h"
#include "PathIterator.h"
#include "Thing.h"

IMPLEMENT_DYNAMIC(CMainFrame, SECMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, SECMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_TIMER()
    ON_COMMAND(ID_MAP_NEW, OnFileNew)
    ON_COMMAND(ID_MAP_OPEN, OnFileOpen)
    ON_COMMAND(ID_PROJECT_OPEN, OnOpenProject)
    ON_COMMAND(ID_PROJECT_CLOSE, OnCloseProject)
    ON_COMMAND(ID_PROJECT_SAVE_AS, OnSaveProjectAs)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_CLOSE, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_SAVE_AS, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_SETTINGS, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_MAP_NEW, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_MAP_OPEN, OnUpdateProjectCommand)
    // Build and user tools
    ON_COMMAND(ID_BUILD, OnBuild)
    ON_UPDATE_COMMAND_UI(ID_BUILD, OnUpdateBuild)
    ON_MESSAGE(WM_BUILD_STEP_FINISHED, OnBuildStep)
    ON_COMMAND_RANGE(ID_USER_TOOL_FIRST, ID_USER_TOOL_LAST, OnUserTool)
    ON_UPDATE_COMMAND_UI_RANGE(ID_USER_TOOL_FIRST, ID_USER_TOOL_LAST, OnUpdateUserTool)
    ON_MESSAGE(WM_TOOL_FINISHED, OnToolProcessFinished)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

static CEditorApp* EditorApp()
{
    return dynamic_cast<CEditorApp*>(AfxGetApp());
}

const char CMainFrame::szBarState[] = "ToolBarState";

CMainFrame::CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style &= ~FWS_ADDTOTITLE;
    // Where the window was when the editor last ended (checked against the screen at start).
    if (CEditorApp* pApp = EditorApp(); pApp && !pApp->m_rcMain.IsRectEmpty()) {
        cs.x = pApp->m_rcMain.left;
        cs.y = pApp->m_rcMain.top;
        cs.cx = pApp->m_rcMain.Width();
        cs.cy = pApp->m_rcMain.Height();
    }
    return SECMDIFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (SECMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);

    // The Output window: docked at the left, it may dock left or right.
    if (!m_wndOutputBar.Create(this, "Output Window",
                               WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                               CBRS_EX_EXPANDBUTTON | CBRS_EX_HIDEBUTTON | CBRS_EX_GRIPPER | CBRS_EX_FLATLOOK |
                                   CBRS_EX_MDIFLOAT | CBRS_EX_BORDERSPACE | CBRS_EX_CONTEXTMENU,
                               IDW_OUTPUT_WINDOW))
        return -1;
    m_wndOutputBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBarEx(&m_wndOutputBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);
    LoadUserTools();

    EnableGradientCaption(TRUE, TRUE);
    // Where the user left the bars last time.
    LoadBarState(szBarState);
    return 0;
}

void CMainFrame::OnClose()
{
    // A cancelled save question keeps the editor running with its project and maps.
    if (!CloseProject())
        return;
    if (CEditorApp* pApp = EditorApp())
        pApp->WriteProfileString("Options", "Last Project", m_strLastProjectPath);
    // No run outlives the windows it posts to.
    StopAllRuns();
    SaveBarState(szBarState);
    m_wndOutputBar.ActivateTab("Messages");
    m_wndOutputBar.RemoveToolTabs();
    // The window's state for the next start (written at exit).
    if (CEditorApp* pApp = EditorApp()) {
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        if (::GetWindowPlacement(m_hWnd, &wp)) {
            pApp->m_rcMain = wp.rcNormalPosition;
            pApp->m_bMaximized = wp.showCmd == SW_SHOWMAXIMIZED || IsZoomed();
        }
    }
    SECMDIFrameWnd::OnClose();
}

// ---------------------------------------------------------------------------
// Projects

static CIniFile* Project()
{
    return GetEditorServices()->GetProject();
}

// The open project belongs to the services the editor installed at start-up.
static void SetProject(CIniFile* pProject)
{
    if (auto* services = dynamic_cast<CDefaultEditorServices*>(GetEditorServices()))
        services->SetProject(pProject);
}

static CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

CString CMainFrame::ProjectTitle(LPCSTR path)
{
    CString p(path ? path : "");
    int cut = p.ReverseFind('\\');
    if (cut < 0)
        cut = p.ReverseFind(':');
    return cut < 0 ? p : p.Mid(cut + 1);
}

void CMainFrame::UpdateTitle()
{
    CString title = AfxGetAppName();
    if (Project() && !m_strProjectPath.IsEmpty())
        title += " - " + ProjectTitle(m_strProjectPath);
    SetWindowText(title);
}

void CMainFrame::TakeProject(LPCSTR path)
{
    m_strProjectPath = path;
    CIniFile* pProject = new CIniFile(path);
    pProject->Read();
    SetProject(pProject);
    if (CEditorApp* pApp = EditorApp())
        pApp->AddToRecentProjectList(path);
}

BOOL CMainFrame::OpenProject(LPCSTR path)
{
    // The new file is tried first, so that a file that cannot be read changes nothing.
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        CString reason = SystemErrorText(::GetLastError());
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_CANT_OPEN_PROJECT, path, static_cast<LPCSTR>(reason));
        return FALSE;
    }
    ::CloseHandle(file);
    if (Project()) {
        if (Report().BoxId(MB_OKCANCEL, IDS_CLOSE_PROJECT) != IDOK)
            return TRUE;
        // The whole close: maps, classes and timer of the old project never outlive it.
        if (!CloseProject())
            return TRUE;
    }
    TakeProject(path);
    LoadProject();
    return TRUE;
}

void CMainFrame::OnOpenProject()
{
    if (Project()) {
        if (Report().BoxId(MB_OKCANCEL, IDS_CLOSE_PROJECT) != IDOK || !CloseProject())
            return;
    }
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, LoadText(IDS_PROJECT_FILTER), this);
    if (dlg.DoModal() != IDOK)
        return;
    TakeProject(dlg.GetPathName());
    LoadProject();
}

void CMainFrame::ReadWadList()
{
    CStringList& wads = GetEditorServices()->GetWadList();
    wads.RemoveAll();
    CIniFile* pProject = Project();
    if (!pProject)
        return;
    for (int n = 1;; ++n) {
        CString key;
        key.Format("File%d", n);
        const CString* value = pProject->GetString("Wads", key);
        if (!value)
            break;
        CString path = *value;
        MakeRootAbsolute(path);
        pProject->WriteString("Wads", key, path, FALSE);
        wads.AddTail(path);
    }
}

void CMainFrame::LoadProject()
{
    CEditorApp* pApp = EditorApp();
    CEditorServices* services = GetEditorServices();
    if (services->GetProfileString("Project Settings", "Root Path", "").IsEmpty()) {
        // Without a root nothing of the project can be found; the caption still names it.
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_NO_ROOT_PATH);
        UpdateTitle();
        return;
    }
    ReadWadList();
    UpdateTitle();
    m_wndOutputBar.ClearTab("Messages");
    m_wndOutputBar.ClearTab("Build");
    if (pApp) {
        LoadEntityClasses(pApp->m_entityClasses);
        pApp->RememberProjectDirectories();
    }
    if (services->GetProfileInt("Options", "Auto Save", 0))
        StartAutoSave();
    Report().Status("Project loaded.");
    Report().Status("");
    Report().Status("Morvane is ready.");
    if (pApp) {
        pApp->m_strLastMapDir.Empty();
        pApp->m_strLastObjectDir.Empty();
    }
}

BOOL CMainFrame::CloseProject()
{
    CIniFile* pProject = Project();
    if (!pProject)
        return TRUE;
    CEditorApp* pApp = EditorApp();
    if (m_strProjectPath.Right(12) == "Untitled.prj") {
        if (pApp)
            pApp->AddToRecentProjectList(m_strProjectPath);
        m_strLastProjectPath = m_strProjectPath;
        pProject->SetDirty(TRUE);
    }
    if (pApp) {
        if (!pApp->SaveAllModified())
            return FALSE;
        pApp->CloseAllDocuments(FALSE);
        pApp->m_entityClasses.RemoveAll();
    }
    GetEditorServices()->GetWadList().RemoveAll();
    m_strLastProjectPath = m_strProjectPath;
    m_strProjectPath.Empty();
    StopAutoSave();
    m_wndOutputBar.ClearTab("Messages");
    m_wndOutputBar.ClearTab("Build");
    SetProject(nullptr);
    delete pProject;    // writes itself back when modified
    UpdateTitle();
    return TRUE;
}

void CMainFrame::OnCloseProject()
{
    CloseProject();
}

BOOL CMainFrame::SaveProjectAs()
{
    CIniFile* pProject = Project();
    if (!pProject)
        return FALSE;
    // A new name is the point of Save As; an existing one is asked about first.
    CFileDialog dlg(FALSE, "prj", m_strProjectPath, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    LoadText(IDS_PROJECT_FILTER), this);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    m_strProjectPath = dlg.GetPathName();
    pProject->SetPath(m_strProjectPath);
    pProject->Save();
    if (CEditorApp* pApp = EditorApp())
        pApp->AddToRecentProjectList(m_strProjectPath);
    UpdateTitle();
    return TRUE;
}

void CMainFrame::OnSaveProjectAs()
{
    SaveProjectAs();
}

void CMainFrame::OnUpdateProjectCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(Project() != nullptr);
}

void CMainFrame::StartAutoSave()
{
    // Under a minute the editor would do little else but save.
    int minutes = GetEditorServices()->GetProfileInt("Options", "Auto Save Interval", 5);
    if (minutes < 1)
        minutes = 1;
    SetTimer(AUTOSAVE_TIMER_ID, static_cast<UINT>(minutes) * 60000u);
    m_bAutoSaveRunning = TRUE;
    Report().Status("AutoSave feature started");
}

void CMainFrame::StopAutoSave()
{
    if (!m_bAutoSaveRunning)
        return;
    KillTimer(AUTOSAVE_TIMER_ID);
    m_bAutoSaveRunning = FALSE;
    Report().Status("AutoSave feature stopped");
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    CEditorApp* pApp = EditorApp();
    if (nIDEvent != AUTOSAVE_TIMER_ID || !pApp || !pApp->GetMapTemplate()) {
        SECMDIFrameWnd::OnTimer(nIDEvent);
        return;
    }
    CDocTemplate* pTemplate = pApp->GetMapTemplate();
    for (POSITION pos = pTemplate->GetFirstDocPosition(); pos;) {
        CDocument* pDoc = pTemplate->GetNextDoc(pos);
        if (pDoc && pDoc->IsKindOf(RUNTIME_CLASS(Map)))
            static_cast<Map*>(pDoc)->AutoSave();
    }
}

// ---------------------------------------------------------------------------
// Maps

void CMainFrame::AddRemainingWindows(Map* pMap)
{
    CEditorApp* pApp = EditorApp();
    struct
    {
        CDocTemplate* pTemplate;
        int type;
    } windows[] = {{pApp->GetMapTemplate(), VIEW_XY}, {pApp->GetMapTemplate(), VIEW_XZ},
                   {pApp->GetCameraTemplate(), VIEW_CAMERA}};
    pMap->SetViewType(VIEW_YZ);
    pMap->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
    pMap->UpdateAllViews(nullptr, HINT_REDRAW);
    for (const auto& w : windows) {
        if (!w.pTemplate)
            continue;
        CFrameWnd* pFrame = w.pTemplate->CreateNewFrame(pMap, nullptr);
        if (!pFrame)
            continue;
        pMap->SetViewType(w.type);
        pMap->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
        w.pTemplate->InitialUpdateFrame(pFrame, pMap, TRUE);
    }
    MDITile(MDITILE_VERTICAL);
}

BOOL CMainFrame::OpenMap(LPCSTR path, int viewCode)
{
    CEditorApp* pApp = EditorApp();
    CDocTemplate* pTemplate = pApp ? pApp->GetMapTemplate() : nullptr;
    if (!pTemplate)
        return FALSE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        CString reason = SystemErrorText(::GetLastError());
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_CANT_OPEN_MAP, path, static_cast<LPCSTR>(reason));
        return FALSE;
    }
    ::CloseHandle(file);
    CDocument* pOpen = nullptr;
    if (pTemplate->MatchDocType(path, pOpen) == CDocTemplate::yesAlreadyOpen) {
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_MAP_ALREADY_OPEN, path);
        return FALSE;
    }
    CWaitCursor wait;
    LockWindowUpdate();
    CDocument* pDoc = pTemplate->OpenDocumentFile(path);
    // A map that could not be read was reported by the reader; it is no recent map.
    if (!pDoc || !pDoc->IsKindOf(RUNTIME_CLASS(Map))) {
        UnlockWindowUpdate();
        return FALSE;
    }
    Map* pMap = static_cast<Map*>(pDoc);
    if (viewCode == VIEW_ALL_FOUR) {
        AddRemainingWindows(pMap);
    } else {
        pMap->SetViewType(viewCode);
        pMap->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
    }
    pMap->UpdateAllViews(nullptr, HINT_OPENED);
    UnlockWindowUpdate();
    pApp->AddToRecentFileList(path);
    return TRUE;
}

CString CMainFrame::MapDirectory()
{
    CEditorApp* pApp = EditorApp();
    if (pApp && !pApp->m_strLastMapDir.IsEmpty())
        return pApp->m_strLastMapDir;
    CPathIterator it;
    if (it.Init("Maps", IDS_NO_MAP_PATHS, "map"))
        return it.NextDirectory();
    return CString();
}

CString CMainFrame::NextUntitledName(const CString& directory)
{
    CEditorApp* pApp = EditorApp();
    CDocTemplate* pTemplate = pApp ? pApp->GetMapTemplate() : nullptr;
    for (int n = 1; n <= 98; ++n) {
        CString name;
        name.Format("%sUntitled_%d.map", static_cast<LPCSTR>(directory), n);
        CDocument* pOpen = nullptr;
        if (!pTemplate || pTemplate->MatchDocType(name, pOpen) != CDocTemplate::yesAlreadyOpen)
            return name;
    }
    return CString();
}

void CMainFrame::OnFileNew()
{
    CEditorApp* pApp = EditorApp();
    CDocTemplate* pTemplate = pApp ? pApp->GetMapTemplate() : nullptr;
    if (!pTemplate)
        return;
    char cwd[MAX_PATH] = "";
    if (!::GetCurrentDirectoryA(MAX_PATH, cwd))
        Report().Box(MB_OK, "Couldn't get the working directory");
    CString directory = MapDirectory();
    if (directory.IsEmpty())
        directory = cwd;
    if (directory.IsEmpty() || directory.Right(1) != "\\")
        directory += "\\";
    CString name = NextUntitledName(directory);
    if (name.IsEmpty()) {
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_TOO_MANY_UNTITLED);
        return;
    }
    CWaitCursor wait;
    LockWindowUpdate();
    BOOL mapActive = MDIGetActive() != nullptr;
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    if (!pDoc || !pDoc->IsKindOf(RUNTIME_CLASS(Map))) {
        UnlockWindowUpdate();
        return;
    }
    Map* pMap = static_cast<Map*>(pDoc);
    pMap->SetPathName(name);
    // With a map window active the new map gets one plan window, as an open with 255 does.
    if (mapActive) {
        pMap->SetViewType(VIEW_XY);
        pMap->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
        pMap->UpdateAllViews(nullptr, HINT_REDRAW);
    } else {
        AddRemainingWindows(pMap);
    }
    pMap->UpdateAllViews(nullptr, HINT_OPENED);
    UnlockWindowUpdate();
}

void CMainFrame::OnFileOpen()
{
    CEditorApp* pApp = EditorApp();
    CString initial = MapDirectory();
    CFileDialog dlg(TRUE, "map", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, LoadText(IDS_MAP_FILTER), this);
    if (!initial.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = initial;
    if (dlg.DoModal() != IDOK)
        return;
    CString path = dlg.GetPathName();
    // The next dialog starts where this file was found.
    if (pApp) {
        int cut = path.ReverseFind('\\');
        if (cut > 0)
            pApp->m_strLastMapDir = path.Left(cut);
    }
    OpenMap(path, MDIGetActive() ? VIEW_XY : VIEW_ALL_FOUR);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    // The space goes to the edit field as typed; the accelerator tables never see it.
    if (IsSpaceForEditControl(pMsg))
        return CWnd::PreTranslateMessage(pMsg);
    return SECMDIFrameWnd::PreTranslateMessage(pMsg);
}
