// The application: its thread, message loop, idle processing and start-up.
#pragma once
#include "afxwnd.h"
#include "afxprofile.h"

class CDocTemplate;
class CDocManager;
class CDocument;

// The user-interface thread: the message loop with its pre-translation walk and idle processing.
class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd;       // the main window; its destruction ends the loop
    CWnd* m_pActiveWnd;     // an in-place active window (unused)
    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;
    MSG m_msgCur;           // the message being handled by the loop

    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual BOOL InitInstance();
    // The exit code of the program (the code of the WM_QUIT that ended the loop).
    virtual int ExitInstance();
    // The message loop: runs until WM_QUIT, then returns ExitInstance().
    virtual int Run();
    // Gets and dispatches one message; FALSE when it was WM_QUIT.
    virtual BOOL PumpMessage();
    // The walk from the message's window up its parents to the main window, then the main
    // window for windows outside it (modeless dialogs and floating frames).
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // lCount 0: command-UI updates of the main window, its descendants and every frame;
    // 1: temporary wrappers freed. TRUE while there is more to do.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that must not restart idle processing.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // An exception caught in a window procedure: reported once; answers -1 for WM_CREATE and
    // validates the window for WM_PAINT.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);

protected:
    CPoint m_ptCursorLast;
    UINT m_nMsgLast;
};

// The command line as the framework reads it.
class CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo();
    ~CCommandLineInfo() override = default;

    // One argument: a flag (after "/" or "-") or a name.
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};

class CWinApp : public CWinThread, public CProfileStore
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // The one application object of the program (usually a global object).
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCSTR m_pszExeName;        // the program's file name without extension
    LPCSTR m_pszHelpFilePath;   // the program's full path with the extension ".HLP"
    CDocManager* m_pDocManager;

    // ---- Start-up and end
    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    // ---- Message boxes: every box of the program comes through here (and the test seam).
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // ---- Documents
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    // Asks every modified document (Yes/No/Cancel); FALSE when one was cancelled.
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount();
    virtual void HideApplication();
    // Asks for a file name (through the test seam; the name travels in the request's text).
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);

    // ---- Command line
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // ---- Resources
    HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
    HCURSOR LoadOEMCursor(UINT nIDCursor) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const;

    // ---- Shell and look (kept for the start-up order; they have nothing to do here)
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    void EnableShellOpen() {}
    void RegisterShellFileTypes(BOOL bCompat = FALSE) { (void)bCompat; }
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // ---- Commands the application answers by default
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();

    // ---- The printer chosen for this session (null: the default printer, asked when needed)
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    // Fills the dialog's printer from the session's choice, taking the default printer first
    // when none was made; FALSE when no printer is installed.
    BOOL GetPrinterDeviceDefaults(struct tagPDA* pPrintDlg);
    // Runs a print or print-setup dialog on the session's printer and keeps what the user chose.
    INT_PTR DoPrintDialog(class CPrintDialog* pPD);
    void OnAppExit();
    void OnHelp();
    void OnHelpFinder();
    void OnHelpIndex();
    void OnHelpUsing();
    void OnContextHelp();

protected:
    CString m_strExeName;
    CString m_strHelpFilePath;
    CWinApp* m_pAppPrev;    // an application object made while this one existed (tests)

    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);

    DECLARE_MESSAGE_MAP()
};

// ---- Global access ----------------------------------------------------------------------------
CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);
LPCSTR AfxGetAppName();
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

// The framework's start: initialise, InitInstance, Run (or ExitInstance when InitInstance fails).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// The framework's own initialisation (instance, command line, application name and paths).
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

void AfxPostQuitMessage(int nExitCode);
// Handles every waiting message through the thread's pre-translation walk. A WM_QUIT seen on
// the way is posted again with its exit code and FALSE is returned (the caller's loop must end).
BOOL AfxPumpWaitingMessages();

// OLE is not used beyond this: the call only initialises COM for the thread.
BOOL AfxOleInit();
