// The editor's main window: an MDI frame with docking bars.
#pragma once
#include <vector>
#include "afxwin.h"
#include "SECBar.h"
#include "SECFrame.h"
#include "OutputWindow.h"
#include "ShellRes.h"
#include "ResourceWindow.h"
#include "SECStatusBar.h"
#include "SECToolBarMgr.h"
#include <memory>
#include "BuildPipeline.h"
#include "UserTools.h"
#include <memory>

class Map;
class CEntityEditorDlg;
class CTextureAdjustDlg;

class CMainFrame : public SECMDIFrameWnd
{
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // The caption is the editor's own business: no automatic document titles.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The frame's shortcuts work wherever the focus is (a docked window's list or panel too),
    // except for the keys the focused control uses itself.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Typing, Space, Delete and the clipboard keys in an edit field, F4 in a combo box, F2 in a
    // list editor.
    static BOOL IsKeyForFocusedControl(const MSG* pMsg);
    // The frame's own status bar, without a search through all its windows (a load may show
    // thousands of status lines).
    CWnd* GetMessageBar() override;
    // Shows a status line in the status bar. Every change redraws the bar, so while a load's
    // lines are gathered (the "Messages" pane held) the bar takes a line a few times a second at
    // most; the load's last line is shown when it ends.
    void ShowStatus(LPCSTR text);
    // What a load has gathered so far reaches the pane and the status bar now (before a box).
    void ShowWaitingOutput();
    // The lines of a project load go to the "Messages" pane in one change when it ends.
    class CLoadOutput
    {
    public:
        explicit CLoadOutput(CMainFrame* pFrame);
        ~CLoadOutput();
        CLoadOutput(const CLoadOutput&) = delete;
        CLoadOutput& operator=(const CLoadOutput&) = delete;

    private:
        CMainFrame* m_pFrame;
    };

    // The docking layout is kept under this name in the settings.
    static const char szBarState[];

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();

    // ---- Projects (one open at a time; the project object is the services' project)
    // FALSE when the file cannot be opened (nothing changed); TRUE when it was opened or the user
    // kept the current project.
    BOOL OpenProject(LPCSTR path);
    // Applies the open project: WADs, caption, entity classes, auto save.
    void LoadProject();
    // FALSE when the user cancelled saving a modified map (nothing closed).
    BOOL CloseProject();
    BOOL SaveProjectAs();
    // The settings sheet until it is valid or cancelled; TRUE when it was confirmed and applied.
    BOOL RunSettingsSheet();
    // A project name whose file-name part has no "." gets ".prj".
    static CString WithProjectExtension(const CString& path);
    void OnNewProject();
    void OnProjectSettings();
    void UpdateTitle();
    // The caption's name of a project path: after the last "\", else after the last ":".
    static CString ProjectTitle(LPCSTR path);
    // Fills the WAD list from "Wads" "File1", "File2", ... up to the first gap, made absolute.
    void ReadWadList();
    const CString& GetProjectPath() const { return m_strProjectPath; }
    const CString& GetLastProjectPath() const { return m_strLastProjectPath; }
    BOOL IsAutoSaveRunning() const { return m_bAutoSaveRunning; }
    // The running auto-save timer's period in milliseconds.
    UINT GetAutoSavePeriod() const { return m_nAutoSavePeriod; }

    // ---- Maps
    // Opens the map into one plan window (255, 256, 257) or into all four (261). FALSE, with the
    // open maps untouched, when the file cannot be read or is already open.
    BOOL OpenMap(LPCSTR path, int viewCode);
    // The first untitled name not open in the directory ("Untitled_%d.map", 1 to 98); empty when
    // all are taken.
    CString NextUntitledName(const CString& directory);
    // Where a new map or the map file dialog starts: the last map directory, else the project's
    // first "Maps" directory.
    CString MapDirectory();
    void OnFileNew();
    void OnFileOpen();

    void OnOpenProject();
    void OnCloseProject();
    void OnSaveProjectAs();
    void OnUpdateProjectCommand(CCmdUI* pCmdUI);
    void OnTimer(UINT_PTR nIDEvent);

    // The Output window: "Messages", "Build" and the user tools' panes.
    COutputTabBar m_wndOutputBar;

    // ---- Bars: the toolbars, the status bar, the Resource window
    // The editor's toolbars as the manager makes them at first start; the button map.
    static const SECBtnMapEntry s_buttonMap[];
    void DefineToolBars(SECToolBarManager* pManager);
    SECToolBarManager* GetToolBarManager() const { return m_pToolBarManager.get(); }
    SECPaneStatusBar m_wndStatusBar;
    CProjectBar m_wndResourceBar;
    // Pane 59145's bitmap for a map: valid (256) or invalid (257) for exactly one selected brush,
    // otherwise none (255).
    static UINT SelectionIndicatorBitmap(Map* pMap);
    void UpdateSelectionIndicator();
    void OnUpdateSelectionIndicator(CCmdUI* pCmdUI);
    UINT GetSelectionIndicator() const { return m_nSelectionBitmap; }
    BOOL IsMapOpen(LPCSTR path);
    // The Resource window refills or empties its lists.
    void RefreshResourceWindow();
    void ClearResourceWindow();
    void RefreshObjectList(const CString& path);
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    // A key pressed in the Texture Adjustment window or the Entity Editor that the frame's
    // shortcuts give to showing or hiding that window does so (the window's own handling never
    // sees it); FALSE for any other message.
    BOOL TranslateToolWindowKey(const MSG* pMsg);
    // The docked bars' first widths fit their content: an 80-character line in the Output
    // window, a column of 64-pixel thumbnails in the Resource window.
    void FitBarsToContent();
    void OnOutputWindow();
    void OnUpdateOutputWindow(CCmdUI* pCmdUI);
    void OnResourceWindow();
    void OnUpdateResourceWindow(CCmdUI* pCmdUI);
    void OnMarkTexture();
    void OnUpdateDisable(CCmdUI* pCmdUI);

    // ---- Other commands: palette, web links, tips, target paths, child labels, styles
    // The palette from "Morvane.pal" (768 bytes or more), else the built-in one.
    BOOL LoadPalette();
    CPalette* GetPalette() { return m_palette.GetSafeHandle() ? &m_palette : nullptr; }
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();
    // Realises the palette in the frame; redraws when entries changed.
    void RealizePalette();
    // The browser command of ".html" in the registry.
    BOOL GetBrowserCommand(CString& command);
    // The command line that opens the address: the first "%1" (quoted or not) becomes the
    // address, else a space and the address follow.
    static CString BrowserCommandLine(const CString& command, LPCSTR address);
    static const char* const s_webAddresses[5];
    BOOL OpenWebAddress(LPCSTR address);
    void OnWebLink(UINT nID);
    void OnWebLink1() { OnWebLink(ID_WEB_LINK_1); }
    void OnWebLink2() { OnWebLink(ID_WEB_LINK_2); }
    void OnWebLink3() { OnWebLink(ID_WEB_LINK_3); }
    void OnWebLink4() { OnWebLink(ID_WEB_LINK_4); }
    void OnWebLink5() { OnWebLink(ID_WEB_LINK_5); }
    void OnTipOfTheDay();
    void OnToggleTargetPaths();
    void OnUpdateToggleTargetPaths(CCmdUI* pCmdUI);
    virtual CString GetChildFrameLabel(CFrameWnd* pFrame);
    virtual int GetChildFrameFlag(CFrameWnd* pFrame);
    void SaveToolbarStyles();
    void LoadToolbarStyles();
    void TurnOffCoolLook();
    // ---- Customize and Options (CustomizeSheet.cpp, OptionsSheet.cpp)
    void OnCustomize();
    void OnViewToolbars();
    void OnOptions();
    // The toolbars' control notifications: a combo box made on a toolbar gets its list.
    LRESULT OnToolBarWndNotify(WPARAM wParam, LPARAM lParam);
    // Without an active map window (whose frame answers first) the combo boxes are disabled.
    void OnUpdateComboDisable(CCmdUI* pCmdUI);
    // The combo box id of a combo command (32950-32953), 0 for any other.
    static UINT ComboIdOfCommand(UINT nCommand);
    // Installs the shortcuts saved in the settings (start-up); FALSE when none were saved.
    BOOL InstallSavedShortcuts();
    // ---- Build and user tools (MainFrameBuild.cpp)
    void OnBuild();
    void OnUpdateBuild(CCmdUI* pCmdUI);
    LRESULT OnBuildStep(WPARAM wParam, LPARAM lParam);
    void OnUserTool(UINT nID);
    void OnUpdateUserTool(CCmdUI* pCmdUI);
    LRESULT OnToolProcessFinished(WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    // The "Tools" settings: read when the frame is made, written after the Tools page's OK.
    void LoadUserTools();
    void SaveUserTools();
    // Stops the build and every tool without a word (the frame closes).
    void StopAllRuns();
    CUserTools& GetUserTools() { return m_userTools; }
    CBuildCommand& GetBuildCommand() { return m_buildCommand; }

    // ---- The Entity Editor (MainFrameEntity.cpp): made hidden with the frame, F2 shows it
    void CreateEntityEditor();
    CEntityEditorDlg* GetEntityEditor() const { return m_pEntityEditor.get(); }
    void OnEntityEditor();
    LRESULT OnEntityModified(WPARAM wParam, LPARAM lParam);
    LRESULT OnEntityQuery(WPARAM wParam, LPARAM lParam);
    LRESULT OnEntityStylesChanged(WPARAM wParam, LPARAM lParam);
    // The project's classes through the editor (its tree and pens), else the reader alone.
    void LoadProjectEntityClasses();
    void OnUpdateEntityEditor(CCmdUI* pCmdUI);

    // ---- The Texture Adjustment window and the editing modes (MainFrameModes.cpp)
    void CreateTextureAdjust();
    void DestroyTextureAdjust();
    CTextureAdjustDlg* GetTextureAdjust() const { return m_pTextureAdjust; }
    void OnTextureAdjustments();
    void OnUpdateTextureAdjustments(CCmdUI* pCmdUI);
    // The views' mouse mode: each command sets its own.
    void OnPanWindow();
    void OnSelectItem();
    void OnMoveItem();
    void OnZoomWindow();
    void OnZoomWindowToSelection();
    void OnZoomWindowToItems();
    void OnUpdateMouseMode(CCmdUI* pCmdUI);
    // Moves kept off an axis: each command toggles its flag.
    void OnRestrictXAxis();
    void OnRestrictYAxis();
    void OnRestrictZAxis();

protected:
    // A map's windows draw nothing while they are made and arranged (every hint of an open would
    // paint its views again, every move or resize paint their bars); when it ends they are drawn
    // once, at once. Until the windows are tiled the whole MDI client stays undrawn; after, the
    // views only (the tiling arranges shown windows only).
    class CMapWindowsDrawnOnce
    {
    public:
        explicit CMapWindowsDrawnOnce(HWND hClient);
        ~CMapWindowsDrawnOnce();
        CMapWindowsDrawnOnce(const CMapWindowsDrawnOnce&) = delete;
        CMapWindowsDrawnOnce& operator=(const CMapWindowsDrawnOnce&) = delete;
        // The document's views made so far draw nothing either.
        void HoldViews(CDocument* pDoc);
        // The MDI client and the windows in it draw again, all but the held views.
        void ReleaseClient();

    private:
        HWND m_hClient;
        BOOL m_bClientHeld = FALSE;
        std::vector<HWND> m_views;
    };
    // Where tiling side by side puts a map's four windows, in the order they are made (the last
    // made on top), when they are to be the only windows shown in the MDI client; otherwise
    // FALSE. Made there, the windows are laid out once, at their size, and the tiling moves none.
    BOOL TiledPlacesOfFour(CRect places[4]) const;
    // The other three windows of a map whose first 2D window shows YZ, then tiled; places: where
    // the tiling is to put them (the first window's is the first), or null.
    void AddRemainingWindows(Map* pMap, CMapWindowsDrawnOnce& drawn, const CRect* places);
    void StartAutoSave();
    void StopAutoSave();
    // The project file at the path as the open project, read once into fresh Output panes.
    void TakeProject(LPCSTR path);
    void ClearOutputPanes();
    // Names in "Messages" every Maps, Wads and Entities folder of the project that is not there.
    void ReportMissingFolders();
    // The end of every load of the open project (open, new, settings).
    void ApplyProject();

    std::unique_ptr<SECToolBarManager> m_pToolBarManager;
    CBitmap m_selectionBitmaps[3];  // 255, 256, 257
    UINT m_nSelectionBitmap = 255;
    CPalette m_palette;
    CString m_strProjectPath;       // empty when no project is open
    CString m_strLastProjectPath;   // written to "Options"/"Last Project" when the frame closes
    BOOL m_bAutoSaveRunning = FALSE;
    void SetStatusBarText(LPCSTR text);
    DWORD m_statusShownAt = 0;      // when the status bar last changed (tick count)
    CString m_strPendingStatus;     // the newest status line not shown yet
    BOOL m_bStatusPending = FALSE;
    UINT m_nAutoSavePeriod = 0;

    // Their runs post to this frame (told its window once made) and print to the Output window.
    CUserTools m_userTools{nullptr, &m_wndOutputBar};
    CBuildCommand m_buildCommand{nullptr, &m_wndOutputBar};
    std::unique_ptr<CEntityEditorDlg> m_pEntityEditor;
    // Deletes itself with its window; the frame destroys it when it closes.
    CTextureAdjustDlg* m_pTextureAdjust = nullptr;

    DECLARE_MESSAGE_MAP()
};
