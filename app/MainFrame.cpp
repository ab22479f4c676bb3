// The editor's main window.
#include "MainFrame.h"
#include <algorithm>
#include "EditCommands.h"
#include "../res/resource.h"
#include "EditorApp.h"
#include "EntityClasses.h"
#include "EntityEditorDlg.h"
#include "IniFile.h"
#include "Map.h"
#include "Reporter.h"
#include "ShellRes.h"
#include "TexturesRes.h"
#include "Tokenizer.h"
#include "afxdlgs.h"
#include "PathIterator.h"
#include "Thing.h"
#include "Brush.h"
#include "ProjectDialogs.h"
#include "SelectWadsDlg.h"
#include "SECData.h"
#include "SECListEditor.h"
#include <algorithm>
#include <iterator>

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
    ON_COMMAND(ID_PROJECT_NEW, OnNewProject)
    ON_COMMAND(ID_PROJECT_SETTINGS, OnProjectSettings)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_CLOSE, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_SAVE_AS, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_SETTINGS, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_MAP_NEW, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_MAP_OPEN, OnUpdateProjectCommand)
    // Bars, status panes, the frame's other commands
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_PALETTECHANGED()
    ON_WM_QUERYNEWPALETTE()
    ON_COMMAND(ID_VIEW_OUTPUT_WINDOW, OnOutputWindow)
    ON_UPDATE_COMMAND_UI(ID_VIEW_OUTPUT_WINDOW, OnUpdateOutputWindow)
    ON_COMMAND(ID_VIEW_RESOURCE_WINDOW, OnResourceWindow)
    ON_COMMAND(ID_TEXTURE_MARK, OnMarkTexture)
    ON_UPDATE_COMMAND_UI(ID_TEXTURE_MARK, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_VIEW_RESOURCE_WINDOW, OnUpdateResourceWindow)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_POSITION, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SIZE, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_ENTITY, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SELECTION, OnUpdateSelectionIndicator)
    ON_COMMAND(ID_WEB_LINK_1, OnWebLink1)
    ON_COMMAND(ID_WEB_LINK_2, OnWebLink2)
    ON_COMMAND(ID_WEB_LINK_3, OnWebLink3)
    ON_COMMAND(ID_WEB_LINK_4, OnWebLink4)
    ON_COMMAND(ID_WEB_LINK_5, OnWebLink5)
    ON_COMMAND(ID_HELP_TIP_OF_THE_DAY, OnTipOfTheDay)
    ON_COMMAND(ID_TOGGLE_TARGET_PATHS, OnToggleTargetPaths)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_TARGET_PATHS, OnUpdateToggleTargetPaths)
    // Customize and Options
    ON_COMMAND(ID_TOOLS_CUSTOMIZE, OnCustomize)
    ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolbars)
    ON_COMMAND(ID_TOOLS_OPTIONS, OnOptions)
    ON_REGISTERED_MESSAGE(wmSECToolBarWndNotify, OnToolBarWndNotify)
    ON_UPDATE_COMMAND_UI_RANGE(32950, 32953, OnUpdateComboDisable)
    // Build and user tools
    ON_COMMAND(ID_BUILD, OnBuild)
    ON_UPDATE_COMMAND_UI(ID_BUILD, OnUpdateBuild)
    ON_MESSAGE(WM_BUILD_STEP_FINISHED, OnBuildStep)
    ON_COMMAND_RANGE(ID_USER_TOOL_FIRST, ID_USER_TOOL_LAST, OnUserTool)
    ON_UPDATE_COMMAND_UI_RANGE(ID_USER_TOOL_FIRST, ID_USER_TOOL_LAST, OnUpdateUserTool)
    ON_MESSAGE(WM_TOOL_FINISHED, OnToolProcessFinished)
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_VIEW_ENTITY_EDITOR, OnEntityEditor)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ENTITY_EDITOR, OnUpdateEntityEditor)
    ON_COMMAND(ID_VIEW_TEXTURE_ADJUST, OnTextureAdjustments)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TEXTURE_ADJUST, OnUpdateTextureAdjustments)
    ON_COMMAND(ID_MOUSE_PAN_WINDOW, OnPanWindow)
    ON_COMMAND(ID_MOUSE_SELECT_ITEM, OnSelectItem)
    ON_COMMAND(ID_MOUSE_MOVE_ITEM, OnMoveItem)
    ON_COMMAND(ID_MOUSE_ZOOM_WINDOW, OnZoomWindow)
    ON_COMMAND(ID_MOUSE_ZOOM_SELECTION, OnZoomWindowToSelection)
    ON_COMMAND(ID_MOUSE_ZOOM_ITEMS, OnZoomWindowToItems)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_PAN_WINDOW, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_SELECT_ITEM, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_MOVE_ITEM, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_ZOOM_WINDOW, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_ZOOM_SELECTION, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_ZOOM_ITEMS, OnUpdateMouseMode)
    ON_COMMAND(ID_RESTRICT_X, OnRestrictXAxis)
    ON_COMMAND(ID_RESTRICT_Y, OnRestrictYAxis)
    ON_COMMAND(ID_RESTRICT_Z, OnRestrictZAxis)
    ON_UPDATE_COMMAND_UI(ID_RESTRICT_X, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_RESTRICT_Y, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_RESTRICT_Z, OnUpdateDisable)
    ON_MESSAGE(WM_ENTITY_MODIFIED, OnEntityModified)
    ON_MESSAGE(WM_ENTITY_QUERY, OnEntityQuery)
    ON_MESSAGE(WM_ENTITY_STYLES_CHANGED, OnEntityStylesChanged)
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

CMainFrame::~CMainFrame()
{
    SetControlBarManager(nullptr);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (SECMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;

    // The toolbars: one image strip (resource 128) for every button.
    m_pToolBarManager = std::make_unique<SECToolBarManager>(this);
    SetControlBarManager(m_pToolBarManager.get());
    m_pToolBarManager->SetToolBarResource(IDR_MAINFRAME, IDR_MAINFRAME);
    m_pToolBarManager->SetButtonMap(s_buttonMap);
    DefineToolBars(m_pToolBarManager.get());
    m_pToolBarManager->EnableCoolLook(TRUE, CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER);

    // The status bar: the message pane, then entity, size, position and the selection bitmap.
    static const UINT s_indicators[] = {ID_SEPARATOR, ID_INDICATOR_ENTITY, ID_INDICATOR_SIZE, ID_INDICATOR_POSITION,
                                        ID_INDICATOR_SELECTION};
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(s_indicators, 5))
        return -1;
    m_selectionBitmaps[0].LoadBitmap(IDB_SELECTION_NONE);
    m_selectionBitmaps[1].LoadBitmap(IDB_SELECTION_VALID);
    m_selectionBitmaps[2].LoadBitmap(IDB_SELECTION_INVALID);
    {
        SECPaneInfo info;
        info.nIndex = 4;
        info.nID = ID_INDICATOR_SELECTION;
        info.pBitmap = &m_selectionBitmaps[0];
        info.nAlign = TA_CENTER;
        info.nMask = SEC_PANE_BITMAP | SEC_PANE_ALIGN;
        m_wndStatusBar.SetPaneInfoEx(info);
    }
    m_wndStatusBar.RecalcPaneWidths();
    // The indicator strings only size the panes: they start disabled, as the first idle update
    // leaves them, so a tip of the day up at start does not show "info_player_deathmatchXXX".
    for (int i = 1; i <= 3; ++i)
        m_wndStatusBar.SetPaneStyle(i, m_wndStatusBar.GetPaneStyle(i) | SBPS_DISABLED);

    EnableDocking(CBRS_ALIGN_ANY);

    // The Resource window: docked at the right, it may dock left or right.
    if (!m_wndResourceBar.Create(this, "Resource Window",
                                 WS_CHILD | WS_VISIBLE | CBRS_RIGHT | CBRS_BORDER_LEFT | CBRS_TOOLTIPS |
                                     CBRS_SIZE_DYNAMIC,
                                 CBRS_EX_EXPANDBUTTON | CBRS_EX_HIDEBUTTON | CBRS_EX_GRIPPER | CBRS_EX_FLATLOOK |
                                     CBRS_EX_MDIFLOAT | CBRS_EX_BORDERSPACE,
                                 IDW_RESOURCE_WINDOW)) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s", "Couldn't create resource window");
        return -1;
    }
    m_wndResourceBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBarEx(&m_wndResourceBar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 130);
    m_wndResourceBar.SendMessage(WM_RESOURCE_INIT);
    m_wndResourceBar.SendMessage(WM_RESOURCE_REFRESH);

    // The Output window: docked at the left, it may dock left or right.
    if (!m_wndOutputBar.Create(this, "Output Window",
                               WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                               CBRS_EX_EXPANDBUTTON | CBRS_EX_HIDEBUTTON | CBRS_EX_GRIPPER | CBRS_EX_FLATLOOK |
                                   CBRS_EX_MDIFLOAT | CBRS_EX_BORDERSPACE | CBRS_EX_CONTEXTMENU,
                               IDW_OUTPUT_WINDOW))
        return -1;
    m_wndOutputBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    DockControlBarEx(&m_wndOutputBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);
    FitBarsToContent();
    LoadUserTools();
    CreateEntityEditor();
    CreateTextureAdjust();

    EnableGradientCaption(TRUE, TRUE);
    // The toolbars as made at first start, then where the user left the bars last time.
    m_pToolBarManager->CreateDefaultToolBars();
    LoadBarState(szBarState);
    m_pToolBarManager->LoadState(szBarState);
    LoadToolbarStyles();
    return 0;
}

void CMainFrame::OnClose()
{
    // The preview hides the bars: the layout saved below is the one the user works with.
    ClosePrintPreview();
    // A cancelled save question keeps the editor running with its project and maps.
    if (!CloseProject())
        return;
    if (CEditorApp* pApp = EditorApp())
        pApp->WriteProfileString("Options", "Last Project", m_strLastProjectPath);
    // No run outlives the windows it posts to.
    StopAllRuns();
    SaveBarState(szBarState);
    if (m_pToolBarManager)
        m_pToolBarManager->SaveState(szBarState);
    m_wndOutputBar.ActivateTab("Messages");
    m_wndOutputBar.RemoveToolTabs();
    DestroyTextureAdjust();
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

void CMainFrame::ClearOutputPanes()
{
    m_wndOutputBar.ClearTab("Messages");
    m_wndOutputBar.ClearTab("Build");
}

void CMainFrame::TakeProject(LPCSTR path)
{
    m_strProjectPath = path;
    // The panes start afresh before the file is read, so that what its reading tells stays.
    ClearOutputPanes();
    CIniFile* pProject = new CIniFile(path);
    pProject->Read();
    SetProject(pProject);
    if (CEditorApp* pApp = EditorApp())
        pApp->AddToRecentProjectList(path);
}

BOOL CMainFrame::OpenProject(LPCSTR path)
{
    // The new file is tried first, so that a file that cannot be read changes nothing.
    if (!CanReadProject(path))
        return FALSE;
    if (Project()) {
        if (Report().BoxId(MB_OKCANCEL, IDS_CLOSE_PROJECT) != IDOK)
            return TRUE;
        // The whole close: maps, classes and timer of the old project never outlive it.
        if (!CloseProject())
            return TRUE;
    }
    CLoadOutput output(this);
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
    CLoadOutput output(this);
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
    // The list holds absolute paths; the project keeps its entries as the user wrote them, so that
    // a project written back later (its default texture, its settings) still moves with its root.
    CStringArray values;
    const int after = pProject->GetNumberedValues("Wads", "File", values);
    for (INT_PTR i = 0; i < values.GetSize(); ++i) {
        CString path = values[i];
        MakeRootAbsolute(path);
        wads.AddTail(path);
    }
    // The list ends at the first missing number; entries after a gap are not lost in silence.
    if (after)
        Report().Message("The WAD list of %s has no File%d: File%d and the entries after it are not used.",
                         static_cast<LPCSTR>(pProject->GetPath()), static_cast<int>(values.GetSize()) + 1, after);
}

void CMainFrame::ReportMissingFolders()
{
    // A folder that is not there would only show as nothing loaded.
    static const struct
    {
        const char* key;
        const char* extension;
    } s_folders[] = {{"Maps", "map"}, {"Wads", "wad"}, {"Entities", "qc"}};
    for (const auto& f : s_folders) {
        CIniFile* pProject = Project();
        if (!pProject || !pProject->GetString("Paths", f.key))
            continue;
        CPathIterator it;
        if (!it.Init(f.key, 0, f.extension))
            return;
        for (CString dir = it.NextDirectory(); !dir.IsEmpty(); dir = it.NextDirectory()) {
            DWORD attributes = ::GetFileAttributesA(dir);
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
                Report().Message("The %s folder %s of the project does not exist.", f.key, static_cast<LPCSTR>(dir));
        }
    }
}

void CMainFrame::LoadProject()
{
    CEditorServices* services = GetEditorServices();
    if (services->GetProfileString("Project Settings", "Root Path", "").IsEmpty()) {
        // Without a root nothing of the project can be found: the user sets one now. Cancelled,
        // the project stays open without WADs; the caption still names it.
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_NO_ROOT_PATH);
        if (!RunSettingsSheet()) {
            UpdateTitle();
            return;
        }
        if (CIniFile* pProject = Project())
            pProject->Save();
    }
    ApplyProject();
    Report().Status("Project loaded.");
    Report().Status("");
    Report().Status("Morvane is ready.");
}

void CMainFrame::ApplyProject()
{
    // Relative WADs and folders follow the root path, which the settings may just have changed.
    ReadWadList();
    UpdateTitle();
    ReportMissingFolders();
    if (CEditorApp* pApp = EditorApp()) {
        LoadProjectEntityClasses();
        pApp->RememberProjectDirectories();
        // The next file dialogs start in the project's own folders.
        pApp->m_strLastMapDir.Empty();
        pApp->m_strLastObjectDir.Empty();
    }
    RefreshResourceWindow();
    if (GetEditorServices()->GetProfileInt("Options", "Auto Save", 0) && !m_bAutoSaveRunning)
        StartAutoSave();
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
        if (m_pEntityEditor)
            m_pEntityEditor->ClearEntityClasses();
        else
            pApp->m_entityClasses.RemoveAll();
    }
    ClearResourceWindow();
    GetEditorServices()->GetWadList().RemoveAll();
    m_strLastProjectPath = m_strProjectPath;
    m_strProjectPath.Empty();
    StopAutoSave();
    ClearOutputPanes();
    SetProject(nullptr);
    // What changed in the project (a texture chosen, an untitled project) is written back; a
    // project opened and closed without a change is left as it was.
    if (pProject->IsDirty())
        pProject->Save();
    delete pProject;
    UpdateTitle();
    return TRUE;
}

void CMainFrame::OnCloseProject()
{
    CloseProject();
}

CString CMainFrame::WithProjectExtension(const CString& path)
{
    int cut = std::max(path.ReverseFind('\\'), path.ReverseFind(':'));
    if (path.Mid(cut + 1).Find('.') >= 0)
        return path;
    return path + ".prj";
}

BOOL CMainFrame::RunSettingsSheet()
{
    CSettingsSheet sheet(this);
    // An invalid sheet comes back with what the user typed.
    while (sheet.DoModal() == IDOK) {
        if (!sheet.Validate())
            continue;
        // Folders that are not there are named once; the user may keep them (made later) or
        // go back to the sheet.
        CStringArray missing;
        sheet.MissingPaths(missing);
        if (missing.GetSize() > 0) {
            CString list;
            for (INT_PTR i = 0; i < missing.GetSize(); ++i)
                list += "\n" + missing[i];
            if (Report().Box(MB_YESNO | MB_ICONEXCLAMATION,
                             "These paths of the project do not exist:\n%s\n\nKeep them anyway?",
                             static_cast<LPCSTR>(list)) != IDYES)
                continue;
        }
        sheet.Apply();
        return TRUE;
    }
    return FALSE;
}

void CMainFrame::OnNewProject()
{
    if (Project()) {
        if (Report().BoxId(MB_OKCANCEL, IDS_CLOSE_PROJECT) != IDOK || !CloseProject())
            return;
    }
    CEditorServices* services = GetEditorServices();
    CString proposal = services->GetProfileString("Project Settings", "Root Path", "") + "\\Projects\\Untitled.prj";
    // The dialog asks before a name of an existing project is used: that project as it is.
    CNewProjectDlg dlg(proposal, this);
    // Cancel is the user's no: nothing is made.
    if (dlg.DoModal() != IDOK)
        return;
    CString path = WithProjectExtension(dlg.m_path);
    const BOOL existing = ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    // A file that is there but cannot be read is not written over with an empty project.
    if (existing && !CanReadProject(path))
        return;
    if (services->GetProfileString("Project Settings", "Quake Path", "").IsEmpty())
        if (CEditorApp* pApp = EditorApp())
            pApp->DetectQuakePath();
    m_strProjectPath = path;
    ClearOutputPanes();
    CIniFile* pProject = new CIniFile(path);
    // A missing file is an empty project, made on disk only once the user has confirmed it.
    if (existing)
        pProject->Read();
    SetProject(pProject);
    auto discard = [&] {
        SetProject(nullptr);
        delete pProject;
        m_strProjectPath.Empty();
        GetEditorServices()->GetWadList().RemoveAll();
        UpdateTitle();
    };
    if (!RunSettingsSheet()) {
        // A cancelled sheet leaves no half-made project behind.
        discard();
        return;
    }
    // The project's own WADs are shown chosen.
    ReadWadList();
    CSelectWadsDlg wads(this);
    wads.DoModal();
    // A new project is written even when nothing was set on it: the user asked for the file. An
    // existing one is written only when something changed on it.
    if (!existing)
        pProject->SetDirty(TRUE);
    while (!pProject->Save()) {
        // The disk refused the file: every answer is kept for another name, and only the name
        // is asked again. No project without its file: cancelled, the caption, the project and
        // the recent list stay as they were.
        ReportUnwrittenProject(
            pProject->GetPath(), pProject->GetWriteError(),
            "\nThe settings and WADs you chose are kept: try again, or give the project another name.");
        CNewProjectDlg another(pProject->GetPath(), this, TRUE);
        if (another.DoModal() != IDOK) {
            discard();
            return;
        }
        path = WithProjectExtension(another.m_path);
        pProject->SetPath(path);
        m_strProjectPath = path;
    }
    if (CEditorApp* pApp = EditorApp())
        pApp->AddToRecentProjectList(path);
    CLoadOutput output(this);
    ApplyProject();
}

void CMainFrame::OnProjectSettings()
{
    if (!RunSettingsSheet())
        return;
    CLoadOutput output(this);
    ApplyProject();
    if (CIniFile* pProject = Project())
        pProject->Save();
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
    // The project takes the new name only once its file is written there.
    const CString oldPath = pProject->GetPath();
    const BOOL wasDirty = pProject->IsDirty();
    pProject->SetPath(dlg.GetPathName());
    if (!pProject->Save()) {
        ReportUnwrittenProject(pProject->GetPath(), pProject->GetWriteError());
        pProject->SetPath(oldPath);
        pProject->SetDirty(wasDirty);
        return FALSE;
    }
    m_strProjectPath = dlg.GetPathName();
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
    // Under a minute the editor would do little else but save; the longest period the page
    // allows (32768 minutes) still fits the timer's milliseconds.
    int minutes = GetEditorServices()->GetProfileIntInRange("Options", "Auto Save Interval", 5, 1, 32768);
    m_nAutoSavePeriod = static_cast<UINT>(minutes) * 60000u;
    SetTimer(AUTOSAVE_TIMER_ID, m_nAutoSavePeriod);
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
    // Each round has a number of its own: what the auto save shows once per round (a box) is
    // shown once however many maps it saves, and again in the next round.
    static DWORD s_round = 0;
    const DWORD round = ++s_round;
    for (POSITION pos = pTemplate->GetFirstDocPosition(); pos;) {
        CDocument* pDoc = pTemplate->GetNextDoc(pos);
        if (pDoc && pDoc->IsKindOf(RUNTIME_CLASS(Map)))
            static_cast<Map*>(pDoc)->AutoSave(round);
    }
}

// ---------------------------------------------------------------------------
// Maps

CMainFrame::CMapWindowsDrawnOnce::CMapWindowsDrawnOnce(HWND hClient) : m_hClient(hClient)
{
    // A client already hidden is left as it is.
    if (m_hClient && (::GetWindowLongA(m_hClient, GWL_STYLE) & WS_VISIBLE)) {
        ::SendMessageA(m_hClient, WM_SETREDRAW, FALSE, 0);
        m_bClientHeld = TRUE;
    }
}

void CMainFrame::CMapWindowsDrawnOnce::HoldViews(CDocument* pDoc)
{
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos;) {
        CView* pView = pDoc->GetNextView(pos);
        HWND hWnd = pView ? pView->m_hWnd : nullptr;
        // Only a view meant to be seen is given back its drawing.
        if (!hWnd || !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) ||
            std::find(m_views.begin(), m_views.end(), hWnd) != m_views.end())
            continue;
        ::SendMessageA(hWnd, WM_SETREDRAW, FALSE, 0);
        m_views.push_back(hWnd);
    }
}

void CMainFrame::CMapWindowsDrawnOnce::ReleaseClient()
{
    if (!m_bClientHeld)
        return;
    m_bClientHeld = FALSE;
    ::SendMessageA(m_hClient, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

CMainFrame::CMapWindowsDrawnOnce::~CMapWindowsDrawnOnce()
{
    ReleaseClient();
    for (HWND hWnd : m_views) {
        if (!::IsWindow(hWnd))
            continue;
        ::SendMessageA(hWnd, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (m_hClient && ::IsWindow(m_hClient))
        ::RedrawWindow(m_hClient, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL CMainFrame::TiledPlacesOfFour(CRect places[4]) const
{
    if (!m_hWndMDIClient)
        return FALSE;
    for (HWND hWnd = ::GetWindow(m_hWndMDIClient, GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE)
            return FALSE;
    // Two columns of two, top to bottom then left to right in the order of the windows from the
    // top: the last made first.
    CRect client;
    ::GetClientRect(m_hWndMDIClient, &client);
    const int cx = client.right / 2, cy = client.bottom / 2;
    if (cx <= 0 || cy <= 0)
        return FALSE;
    places[3] = CRect(0, 0, cx, cy);
    places[2] = CRect(0, cy, cx, 2 * cy);
    places[1] = CRect(cx, 0, 2 * cx, cy);
    places[0] = CRect(cx, cy, 2 * cx, 2 * cy);
    return TRUE;
}

void CMainFrame::AddRemainingWindows(Map* pMap, CMapWindowsDrawnOnce& drawn, const CRect* places)
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
    int made = 1;
    for (const auto& w : windows) {
        if (!w.pTemplate)
            continue;
        if (places)
            SetNextChildPlace(places[made]);
        CFrameWnd* pFrame = w.pTemplate->CreateNewFrame(pMap, nullptr);
        TakeNextChildPlace();
        if (!pFrame)
            continue;
        ++made;
        drawn.HoldViews(pMap);
        pMap->SetViewType(w.type);
        pMap->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
        w.pTemplate->InitialUpdateFrame(pFrame, pMap, TRUE);
    }
    drawn.ReleaseClient();
    MDITile(MDITILE_VERTICAL);
}

BOOL CMainFrame::OpenMap(LPCSTR path, int viewCode)
{
    CEditorApp* pApp = EditorApp();
    CDocTemplate* pTemplate = pApp ? pApp->GetMapTemplate() : nullptr;
    if (!pTemplate)
        return FALSE;
    if (!CanReadFile(path, IDS_CANT_OPEN_MAP))
        return FALSE;
    CDocument* pOpen = nullptr;
    if (pTemplate->MatchDocType(path, pOpen) == CDocTemplate::yesAlreadyOpen) {
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_MAP_ALREADY_OPEN, path);
        return FALSE;
    }
    CWaitCursor wait;
    // The reader's lines (missing textures, say) reach the Messages pane in one change, not one
    // measuring of the pane's whole text per line; a box shows them first.
    CLoadOutput output(this);
    LockWindowUpdate();
    {
        CRect places[4];
        const BOOL placed = viewCode == VIEW_ALL_FOUR && TiledPlacesOfFour(places);
        CMapWindowsDrawnOnce windows(m_hWndMDIClient);
        if (placed)
            SetNextChildPlace(places[0]);
        CDocument* pDoc = pTemplate->OpenDocumentFile(path);
        TakeNextChildPlace();
        // A map that could not be read was reported by the reader; it is no recent map.
        if (!pDoc || !pDoc->IsKindOf(RUNTIME_CLASS(Map))) {
            windows.ReleaseClient();
            UnlockWindowUpdate();
            return FALSE;
        }
        Map* pMap = static_cast<Map*>(pDoc);
        windows.HoldViews(pMap);
        if (viewCode == VIEW_ALL_FOUR) {
            AddRemainingWindows(pMap, windows, placed ? places : nullptr);
        } else {
            pMap->SetViewType(viewCode);
            pMap->UpdateAllViews(nullptr, HINT_VIEW_TYPE);
        }
        pMap->UpdateAllViews(nullptr, HINT_OPENED);
    }
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
        // A name on disk is skipped too: a later save would replace that file.
        if (::GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES)
            continue;
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
    CRect places[4];
    const BOOL placed = !mapActive && TiledPlacesOfFour(places);
    if (placed)
        SetNextChildPlace(places[0]);
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    TakeNextChildPlace();
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
        pMap->UpdateAllViews(nullptr, HINT_OPENED);
    } else {
        CMapWindowsDrawnOnce windows(m_hWndMDIClient);
        windows.HoldViews(pMap);
        AddRemainingWindows(pMap, windows, placed ? places : nullptr);
        pMap->UpdateAllViews(nullptr, HINT_OPENED);
    }
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

// ---------------------------------------------------------------------------
// Bars

static SECToolBarBtn* NewPlainButton()
{
    return new SECToolBarBtn;
}

// Check buttons and the four drop-down lists (width 50, list height 150).
const SECBtnMapEntry CMainFrame::s_buttonMap[] = {
    {NewPlainButton, 32855, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32853, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32854, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32915, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32942, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32843, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32949, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32954, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 33003, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32871, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 33001, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 33002, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 33006, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {NewPlainButton, 32920, TBBS_CHECKBOX, {0, 0, 0, 0, 0}},
    {SECToolBarComboBox::CreateButton, 32951, 0, {IDC_GRID_COMBO, CBS_DROPDOWNLIST | WS_VSCROLL, MAKELONG(50, 150), 0, 0}},
    {SECToolBarComboBox::CreateButton, 32950, 0, {IDC_SNAP_COMBO, CBS_DROPDOWNLIST | WS_VSCROLL, MAKELONG(50, 150), 0, 0}},
    {SECToolBarComboBox::CreateButton, 32952, 0, {IDC_PLANE_SCALE_COMBO, CBS_DROPDOWNLIST | WS_VSCROLL, MAKELONG(50, 150), 0, 0}},
    {SECToolBarComboBox::CreateButton, 32953, 0, {IDC_DEPTH_SCALE_COMBO, CBS_DROPDOWNLIST | WS_VSCROLL, MAKELONG(50, 150), 0, 0}},
    {nullptr, 0, 0, {0, 0, 0, 0, 0}},
};

void CMainFrame::DefineToolBars(SECToolBarManager* pManager)
{
    static const UINT s_map[] = {32785, 32786, 32788, 32790, 0, 32796, 32797, 32798, 32799};
    static const UINT s_edit[] = {57635, 57634, 57637, 0, 32867};
    static const UINT s_brush[] = {32855, 32853, 32854, 0, 33003, 0, 32920, 0, 32871, 33001, 33002, 0, 32915, 0, 33006};
    static const UINT s_mapWindow[] = {32942, 0, 32843, 32951, 32949, 0, 32950, 32954, 0, 32952, 32953};
    static const UINT s_project[] = {32779, 32778, 32780};
    static const UINT s_window[] = {57651, 57652, 57650, 0, 32929};
    static const UINT s_tools[] = {45102, 45103, 45104, 45105, 45106, 45107, 45108, 45109, 45110};
    static const UINT s_align[] = {32993, 32994, 32995, 32996, 32998, 32997};
    static const struct
    {
        UINT nID;
        const char* title;
        const UINT* ids;
        UINT count;
        UINT after;
        BOOL visible;
    } s_bars[] = {
        {IDW_TOOLBAR_MAP, "Map", s_map, 9, 0, TRUE},
        {IDW_TOOLBAR_EDIT, "Edit", s_edit, 5, IDW_TOOLBAR_MAP, TRUE},
        {IDW_TOOLBAR_BRUSH, "Brush", s_brush, 15, IDW_TOOLBAR_EDIT, TRUE},
        {IDW_TOOLBAR_MAP_WINDOW, "Map Window", s_mapWindow, 11, IDW_TOOLBAR_BRUSH, TRUE},
        {IDW_TOOLBAR_PROJECT, "Project", s_project, 3, 0, FALSE},
        {IDW_TOOLBAR_WINDOW, "Window", s_window, 5, 0, FALSE},
        {IDW_TOOLBAR_TOOLS, "Tools", s_tools, 9, 0, FALSE},
        {IDW_TOOLBAR_ALIGN, "Align", s_align, 6, 0, FALSE},
    };
    for (const auto& bar : s_bars)
        pManager->DefineDefaultToolBar(bar.nID, bar.title, bar.count, bar.ids, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP,
                                       bar.after, TRUE, bar.visible);
}

UINT CMainFrame::SelectionIndicatorBitmap(Map* pMap)
{
    if (!pMap || pMap->GetSelectionCount() != 1)
        return IDB_SELECTION_NONE;
    auto* pThing = static_cast<SThing*>(pMap->GetSelection().GetHead());
    auto* pBrush = dynamic_cast<Brush*>(pThing);
    if (!pBrush)
        return IDB_SELECTION_NONE;
    return pBrush->IsValid() ? IDB_SELECTION_VALID : IDB_SELECTION_INVALID;
}

void CMainFrame::UpdateSelectionIndicator()
{
    UINT id = SelectionIndicatorBitmap(GetEditorServices()->GetActiveMap());
    if (id == m_nSelectionBitmap || !m_wndStatusBar.m_hWnd)
        return;
    m_nSelectionBitmap = id;
    SECPaneInfo info;
    info.nIndex = 4;
    info.pBitmap = &m_selectionBitmaps[id - IDB_SELECTION_NONE];
    info.nAlign = TA_CENTER;
    info.nMask = SEC_PANE_BITMAP | SEC_PANE_ALIGN;
    m_wndStatusBar.SetPaneInfoEx(info);
    CRect rect;
    m_wndStatusBar.GetPaneRect(4, &rect);
    m_wndStatusBar.InvalidateRect(&rect);
}

BOOL CMainFrame::IsMapOpen(LPCSTR path)
{
    CEditorApp* pApp = EditorApp();
    CDocTemplate* pTemplate = pApp ? pApp->GetMapTemplate() : nullptr;
    CDocument* pOpen = nullptr;
    return pTemplate && pTemplate->MatchDocType(path, pOpen) == CDocTemplate::yesAlreadyOpen;
}

void CMainFrame::RefreshResourceWindow()
{
    if (m_wndResourceBar.m_hWnd)
        m_wndResourceBar.SendMessage(WM_RESOURCE_REFRESH);
}

void CMainFrame::ClearResourceWindow()
{
    if (m_wndResourceBar.m_hWnd)
        m_wndResourceBar.SendMessage(WM_RESOURCE_CLEAR);
}

void CMainFrame::RefreshObjectList(const CString& path)
{
    if (m_wndResourceBar.m_objectList.m_hWnd)
        m_wndResourceBar.m_objectList.RefreshAndSelect(path);
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    SECMDIFrameWnd::OnSize(nType, cx, cy);
    if (CEditorApp* pApp = EditorApp()) {
        pApp->m_bMaximized = nType == SIZE_MAXIMIZED;
        if (nType == SIZE_RESTORED) {
            CRect rect;
            GetWindowRect(&rect);
            pApp->m_rcMain = rect;
        }
    }
}

void CMainFrame::OnMove(int x, int y)
{
    SECMDIFrameWnd::OnMove(x, y);
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (CEditorApp* pApp = EditorApp(); pApp && ::GetWindowPlacement(m_hWnd, &wp))
        pApp->m_rcMain = wp.rcNormalPosition;
}

// The width of a docked bar whose pane (a window inside it) is to be paneWidth wide: what the
// bar puts around the pane is measured on the bar as it is laid out now.
static int BarWidthForPane(CControlBar& bar, HWND pane, int paneWidth)
{
    CRect barRect, paneRect;
    bar.GetWindowRect(&barRect);
    ::GetWindowRect(pane, &paneRect);
    return barRect.Width() - paneRect.Width() + paneWidth;
}

void CMainFrame::FitBarsToContent()
{
    RecalcLayout();
    // The Output window shows a build line of 80 characters whole: measured on the characters
    // of such lines (mostly lower case, digits and punctuation) in the panes' font, with the
    // pane's margins and scroll bar.
    COutputEdit& pane = m_wndOutputBar.m_messages;
    int outputWidth = 0;
    if (pane.m_hWnd) {
        CClientDC dc(&pane);
        HGDIOBJ old = ::SelectObject(dc.m_hDC, reinterpret_cast<HGDIOBJ>(pane.SendMessage(WM_GETFONT)));
        static const char s_sample[] = "abcdefghijklmnopqrstuvwxyz 0123456789 .,:;()-_/\\ abcdefghijklmnopqrstuvwxyz";
        const int n = static_cast<int>(sizeof s_sample - 1);
        SIZE extent = {};
        ::GetTextExtentPoint32A(dc.m_hDC, s_sample, n, &extent);
        ::SelectObject(dc.m_hDC, old);
        DWORD margins = static_cast<DWORD>(pane.SendMessage(EM_GETMARGINS));
        CRect window, client;
        pane.GetWindowRect(&window);
        pane.GetClientRect(&client);
        int lineWidth = (extent.cx * 80 + n - 1) / n + LOWORD(margins) + HIWORD(margins) + 2;
        outputWidth = BarWidthForPane(m_wndOutputBar, pane.m_hWnd, lineWidth + window.Width() - client.Width());
    }
    // The Resource window shows a column of 64-pixel thumbnails in its texture browser.
    int resourceWidth = 0;
    if (m_wndResourceBar.m_mapList.m_hWnd)
        resourceWidth = BarWidthForPane(m_wndResourceBar, m_wndResourceBar.m_mapList.m_hWnd,
                                        CTextureBrowser::PanelWidthFor(64));
    const struct
    {
        CControlBar* pBar;
        int width;
    } bars[] = {{&m_wndOutputBar, outputWidth}, {&m_wndResourceBar, resourceWidth}};
    for (const auto& b : bars) {
        CRect rect;
        b.pBar->GetWindowRect(&rect);
        if (b.width > rect.Width())
            b.pBar->CalcDynamicLayout(b.width, LM_VERTDOCK | LM_COMMIT);
    }
    RecalcLayout();
}

static void ToggleBar(CMainFrame* pFrame, CControlBar& bar)
{
    if (bar.m_hWnd)
        pFrame->ShowControlBar(&bar, !bar.IsWindowVisible(), TRUE);
}

void CMainFrame::OnOutputWindow()
{
    ToggleBar(this, m_wndOutputBar);
}

void CMainFrame::OnUpdateOutputWindow(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndOutputBar.m_hWnd && m_wndOutputBar.IsWindowVisible());
}

void CMainFrame::OnResourceWindow()
{
    ToggleBar(this, m_wndResourceBar);
}

void CMainFrame::OnUpdateResourceWindow(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndResourceBar.m_hWnd && m_wndResourceBar.IsWindowVisible());
}

// The main menu's Mark Texture: the current texture of the Resource window's browser is marked.
void CMainFrame::OnMarkTexture()
{
    if (m_wndResourceBar.m_textureBrowser.m_hWnd)
        m_wndResourceBar.m_textureBrowser.OnMarkTexture();
}

void CMainFrame::OnUpdateSelectionIndicator(CCmdUI* pCmdUI)
{
    // The pane always shows its bitmap; a pane without a handler would be disabled and blank.
    pCmdUI->Enable(TRUE);
}

void CMainFrame::OnUpdateDisable(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

CWnd* CMainFrame::GetMessageBar()
{
    return m_wndStatusBar.m_hWnd ? &m_wndStatusBar : SECMDIFrameWnd::GetMessageBar();
}

void CMainFrame::ShowStatus(LPCSTR text)
{
    const DWORD now = ::GetTickCount();
    if (m_wndOutputBar.m_messages.IsHeld() && now - m_statusShownAt < 200) {
        m_strPendingStatus = text;
        m_bStatusPending = TRUE;
        return;
    }
    SetStatusBarText(text);
}

void CMainFrame::SetStatusBarText(LPCSTR text)
{
    m_bStatusPending = FALSE;
    m_statusShownAt = ::GetTickCount();
    if (CWnd* pBar = GetMessageBar()) {
        pBar->SetWindowText(text);
        pBar->UpdateWindow();
    }
}

CMainFrame::CLoadOutput::CLoadOutput(CMainFrame* pFrame) : m_pFrame(pFrame)
{
    m_pFrame->m_wndOutputBar.m_messages.Hold();
}

CMainFrame::CLoadOutput::~CLoadOutput()
{
    m_pFrame->m_wndOutputBar.m_messages.Release();
    m_pFrame->ShowWaitingOutput();
}

void CMainFrame::ShowWaitingOutput()
{
    m_wndOutputBar.m_messages.Flush();
    if (m_bStatusPending)
        SetStatusBarText(m_strPendingStatus);
}

BOOL CMainFrame::IsKeyForFocusedControl(const MSG* pMsg)
{
    if (IsSpaceForEditControl(pMsg))
        return TRUE;
    if (!pMsg || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    HWND focus = ::GetFocus();
    if (!focus)
        return FALSE;
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    const BOOL ctrl = ::GetKeyState(VK_CONTROL) < 0, alt = ::GetKeyState(VK_MENU) < 0;
    char cls[32] = "";
    ::GetClassNameA(focus, cls, sizeof cls);
    // F2 edits a list editor's item in place, or browses from its item being edited.
    CWnd* pFocus = CWnd::FromHandlePermanent(focus);
    if (vk == VK_F2 && (dynamic_cast<SECListEditorListBox*>(pFocus) || dynamic_cast<SECListEditorEdit*>(pFocus)))
        return TRUE;
    if (lstrcmpiA(cls, "Edit") == 0 || _strnicmp(cls, "RichEdit", 8) == 0) {
        // Typing and the edit's own clipboard and undo keys; function keys stay the frame's.
        if (vk >= VK_F1 && vk <= VK_F24)
            return FALSE;
        if (!ctrl && !alt)
            return TRUE;
        static const UINT s_ctrlKeys[] = {'A', 'C', 'V', 'X', 'Y', 'Z', VK_INSERT, VK_DELETE, VK_BACK,
                                          VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END};
        return ctrl && !alt && std::find(std::begin(s_ctrlKeys), std::end(s_ctrlKeys), vk) != std::end(s_ctrlKeys);
    }
    // F4 drops a combo box's list down.
    HWND parent = ::GetParent(focus);
    char parentCls[32] = "";
    if (parent)
        ::GetClassNameA(parent, parentCls, sizeof parentCls);
    return vk == VK_F4 && (lstrcmpiA(cls, "ComboBox") == 0 || lstrcmpiA(parentCls, "ComboBox") == 0);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    // Keys the focused control uses itself go to it as typed; the accelerator tables never see
    // them.
    if (IsKeyForFocusedControl(pMsg))
        return CWnd::PreTranslateMessage(pMsg);
    return SECMDIFrameWnd::PreTranslateMessage(pMsg);
}
