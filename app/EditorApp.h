// The editor's application object.
#pragma once
#include "AppServices.h"
#include "EntityClasses.h"
#include "afxmru.h"
#include "afxwin.h"

class CMainFrame;
class CReporter;

class CEditorApp : public CWinApp
{
public:
    CEditorApp();
    ~CEditorApp() override;

    // The main frame (null before it exists).
    CMainFrame* GetMainFrame() const;
    CMultiDocTemplate* GetMapTemplate() const { return m_pMapTemplate; }
    CMultiDocTemplate* GetCameraTemplate() const { return m_pCameraTemplate; }

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Timer messages (auto save, the views' timers) never restart idle processing.
    BOOL IsIdleMessage(MSG* pMsg) override;
    // The keys that show and hide the frame's tool windows reach the frame from those windows
    // too, before the windows' own key handling.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    int m_bShowTips;        // "Tips"/"Show At Startup"
    int m_nCurrentTip;      // "Tips"/"Current Tip"
    int m_bMaximized;       // the main window was maximised when the editor last ended
    CRect m_rcMain;         // the main window's last normal rectangle; empty: the default place
    BOOL m_bReload;         // reopen the last project at start
    CString m_strLastProject;
    CString m_strLastMapDir;     // where the map file dialog opens
    CString m_strLastObjectDir;  // where the object file dialog opens

    // ---- Settings
    void LoadSettings();
    void LoadRecentLists(int nMaps, int nProjects);
    void AddToRecentFileList(LPCSTR lpszPathName) override;
    void AddToRecentProjectList(LPCSTR lpszPathName);
    CRecentFileList* GetRecentMaps() const { return m_pRecentMaps; }
    CRecentFileList* GetRecentProjects() const { return m_pRecentProjects; }
    // The settings' section key exists / is deleted with what it holds.
    BOOL RegKeyExists(LPCSTR section);
    BOOL RegDeleteSection(LPCSTR section);
    // A REG_BINARY value of at most *pSize bytes; *pSize becomes its size.
    using CProfileStore::GetProfileBinary;
    BOOL GetProfileBinary(LPCSTR section, LPCSTR name, void* pBuffer, DWORD* pSize);
    // A string value of another program's settings (below the classes root, or below the user's
    // Software key); FALSE for any other type or a value longer than 259 characters.
    static BOOL RegReadRootString(LPCSTR key, LPCSTR name, CString& value);
    static BOOL GetRegString(LPCSTR path, LPCSTR name, CString& value);
    // The game directory and program from a game launcher's settings.
    BOOL DetectQuakePath();
    // The stored rectangle: used only when it is exactly 16 bytes and at least 10 by 10 pixels of
    // it are on the screen; otherwise empty.
    static CRect CheckedRectangle(const void* pData, DWORD size, int cxScreen, int cyScreen);
    // The start's show command: maximised when last maximised, unless hidden or minimised.
    static int StartShowCommand(int nCmdShow, BOOL bMaximized, BOOL bEmbedded);

    // The shell's folder picker owned by the main frame (or pOwner), rooted at the computer's
    // drives; TRUE with the chosen folder in path, which is unchanged when the user cancels.
    BOOL BrowseForFolder(LPCSTR title, CString& path, CWnd* pOwner = nullptr);
    // The tip window; the tip number and the show flag come back from it and are written.
    void ShowTipOfDay();
    // "morvane.tip" beside the program.
    static CString TipFilePath();
    // The sample project beside the program: "Projects\Sample.prj".
    static CString SampleProjectPath();
    // The Startup window and what it leads to (the sample project, or the last project when
    // "Reload" is set), then the tip of the day when tips are on.
    void RunStartup();
    // Help > About.
    void OnAppAbout();

    // ---- Recent lists in the File menu
    void OnUpdateRecentMaps(CCmdUI* pCmdUI);
    void OnUpdateRecentProjects(CCmdUI* pCmdUI);
    // A recent map opens into its four windows; one that cannot be opened leaves the list.
    BOOL OnOpenRecentMap(UINT nID);
    // A recent project that cannot be opened leaves the list.
    BOOL OnOpenRecentProject(UINT nID);

    // ---- Auto save files
    // The "Maps" and "Objects" directories of the project just loaded: auto save files are never
    // deleted there.
    void RememberProjectDirectories();
    void DeleteAutoSaveFiles();
    // What the map model and the views read of the editor; installed at start-up.
    CAppServices m_services;
    // The open project's entity classes (empty without a project).
    CEntityClassMap m_entityClasses;

protected:
    void FreeReporter();
    CReporter* m_pReporter;     // the published reporter, from the frame's creation to the end
    CRecentFileList* m_pRecentMaps;
    CRecentFileList* m_pRecentProjects;
    CStringArray m_protectedDirs; // the project's Maps and Objects folders (DirectoryKey)
    CMultiDocTemplate* m_pMapTemplate;      // 2D map windows
    CMultiDocTemplate* m_pCameraTemplate;   // camera windows

    DECLARE_MESSAGE_MAP()
};

CEditorApp* AfxGetEditorApp();
