// The application: start-up, message loop, idle processing, message boxes, command line.
#include "afxwin.h"
#include <cstdlib>
#include <cstring>

namespace {

CWinApp* g_pApp = nullptr;
HINSTANCE g_hInstance = nullptr;

// Exceptions of the core (ReportError) take the window layer's message-box path.
int CoreMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    return AfxMessageBox(lpszText, nType, nIDHelp);
}

void ReplaceOwnedString(LPCSTR& rpsz, LPCSTR lpszNew)
{
    free(const_cast<char*>(rpsz));
    rpsz = lpszNew ? _strdup(lpszNew) : nullptr;
}

} // namespace

// ---- Global access --------------------------------------------------------------------------

CWinApp* AfxGetApp() { return g_pApp; }
CWinThread* AfxGetThread() { return g_pApp; }

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_hInstance == nullptr)
        g_hInstance = ::GetModuleHandleA(nullptr);
    return g_hInstance;
}

void AfxSetInstanceHandle(HINSTANCE hInstance)
{
    g_hInstance = hInstance;
}

LPCSTR AfxGetAppName()
{
    if (g_pApp != nullptr && g_pApp->m_pszAppName != nullptr)
        return g_pApp->m_pszAppName;
    return "";
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR)
{
    // One module holds every resource.
    return AfxGetResourceHandle();
}

void AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

BOOL AfxOleInit()
{
    HRESULT hr = ::OleInitialize(nullptr);
    return SUCCEEDED(hr);
}

// ---- Message boxes --------------------------------------------------------------------------

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return AfxSeamMessageBox(nullptr, lpszText, "", nType, nIDHelp);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString string;
    if (!string.LoadString(nIDPrompt))
        string.Format("%u", nIDPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(string, nType, nIDHelp);
}

// ---- CWinThread -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread()
    : m_pMainWnd(nullptr), m_pActiveWnd(nullptr), m_hThread(nullptr), m_nThreadID(0), m_bAutoDelete(FALSE),
      m_msgCur(), m_ptCursorLast(-1, -1), m_nMsgLast(0)
{
}

CWinThread::~CWinThread() = default;

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    // Messages without a window (thread messages, windowless timers) go straight to dispatch.
    if (pMsg->hwnd == nullptr)
        return FALSE;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr, pMsg))
        return TRUE;
    // Windows outside the main window (modeless dialogs, floating frames) still get the main
    // window's accelerators.
    if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    // A mouse move to the same place again changes nothing.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (m_ptCursorLast == pMsg->pt && pMsg->message == m_nMsgLast)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    // Painting and the caret's blink timer do not change the state of commands.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible()) {
            AfxLockTempMaps();
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
            AfxUnlockTempMaps();
        }
        // Every other frame: floating frames are owned popups, not descendants.
        for (CFrameWnd* pFrame = CFrameWnd::GetFirstFrame(); pFrame != nullptr; pFrame = pFrame->m_pNextFrameWnd) {
            if (pFrame->m_hWnd == nullptr || pFrame == pMainWnd)
                continue;
            if (pFrame->m_nShowDelay == SW_HIDE)
                pFrame->ShowWindow(pFrame->m_nShowDelay);
            if (pFrame->IsWindowVisible() || pFrame->m_nShowDelay >= 0) {
                // Skip frames that are descendants of the main window: they were updated above.
                if (pMainWnd == nullptr || !::IsChild(pMainWnd->m_hWnd, pFrame->m_hWnd)) {
                    AfxLockTempMaps();
                    AfxCallWndProc(pFrame, pFrame->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
                    pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
                    AfxUnlockTempMaps();
                }
            }
            if (pFrame->m_nShowDelay > SW_HIDE)
                pFrame->ShowWindow(pFrame->m_nShowDelay);
            pFrame->m_nShowDelay = -1;
        }
    }
    else {
        if (AfxGetThreadState()->m_nTempMapLock == 0) {
            AfxLockTempMaps();
            AfxUnlockTempMaps();
        }
    }
    return lCount < 0;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    // One report at a time: failures while a report is on screen are not reported again.
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException)) && pState->m_nReportingException == 0) {
        ++pState->m_nReportingException;
        UINT nIDP = AFX_IDP_INTERNAL_FAILURE;
        if (e->IsKindOf(RUNTIME_CLASS(CMemoryException)))
            nIDP = AFX_IDP_FAILED_MEMORY_ALLOC;
        AfxGuardCallback([&] { e->ReportError(MB_ICONEXCLAMATION, nIDP); });
        --pState->m_nReportingException;
    }
    if (pMsg != nullptr) {
        if (pMsg->message == WM_CREATE)
            return -1;
        if (pMsg->message == WM_PAINT && pMsg->hwnd != nullptr)
            ::ValidateRect(pMsg->hwnd, nullptr);
    }
    return 0;
}

LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr)
        return pThread->ProcessWndProcException(e, pMsg);
    // No application object: report through the seam (or the plain box).
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException)) && pState->m_nReportingException == 0) {
        ++pState->m_nReportingException;
        CString text = e->GetErrorText();
        if (text.IsEmpty())
            text.LoadString(AFX_IDP_INTERNAL_FAILURE);
        AfxSeamMessageBox(nullptr, text, "", MB_ICONEXCLAMATION, 0);
        --pState->m_nReportingException;
    }
    if (pMsg != nullptr && pMsg->message == WM_CREATE)
        return -1;
    if (pMsg != nullptr && pMsg->message == WM_PAINT && pMsg->hwnd != nullptr)
        ::ValidateRect(pMsg->hwnd, nullptr);
    return 0;
}

BOOL AfxPumpWaitingMessages()
{
    CWinThread* pThread = AfxGetThread();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The outer loop must see it too, with its exit code.
            ::PostQuitMessage((int)msg.wParam);
            return FALSE;
        }
        if (msg.message == WM_KICKIDLE)
            continue;
        if (pThread == nullptr || !pThread->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return TRUE;
}

// ---- CCommandLineInfo -----------------------------------------------------------------------

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag) {
        if (lstrcmpiA(pszParam, "pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (lstrcmpiA(pszParam, "p") == 0)
            m_nShellCommand = FilePrint;
        else if (lstrcmpiA(pszParam, "Unregister") == 0 || lstrcmpiA(pszParam, "Unregserver") == 0)
            m_nShellCommand = AppUnregister;
        else if (lstrcmpiA(pszParam, "dde") == 0)
            m_nShellCommand = FileDDE;
        else if (lstrcmpiA(pszParam, "Embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (lstrcmpiA(pszParam, "Automation") == 0)
            m_bRunAutomated = TRUE;
    }
    else {
        if (m_nShellCommand == FilePrintTo && !m_strFileName.IsEmpty()) {
            if (m_strPrinterName.IsEmpty())
                m_strPrinterName = pszParam;
            else if (m_strDriverName.IsEmpty())
                m_strDriverName = pszParam;
            else if (m_strPortName.IsEmpty())
                m_strPortName = pszParam;
        }
        else if (m_strFileName.IsEmpty()) {
            m_strFileName = pszParam;
        }
    }
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
            m_nShellCommand = FileOpen;
        m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
    }
}

// ---- CWinApp --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_HELP_FINDER, OnHelpFinder)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
    ON_COMMAND(ID_HELP_USING, OnHelpUsing)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
    ON_COMMAND(ID_DEFAULT_HELP, OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
    : CProfileStore(lpszAppName), m_hInstance(nullptr), m_hPrevInstance(nullptr), m_lpCmdLine(nullptr),
      m_nCmdShow(SW_SHOWNORMAL), m_pszExeName(nullptr), m_pszHelpFilePath(nullptr), m_pDocManager(nullptr)
{
    m_pAppPrev = g_pApp;
    g_pApp = this;
    AfxSetCoreMessageBox(CoreMessageBox);
}

CWinApp::~CWinApp()
{
    delete m_pDocManager;
    m_pDocManager = nullptr;
    if (m_hDevNames != nullptr)
        ::GlobalFree(m_hDevNames);
    if (m_hDevMode != nullptr)
        ::GlobalFree(m_hDevMode);
    if (g_pApp == this) {
        g_pApp = m_pAppPrev;
        if (g_pApp == nullptr)
            AfxSetCoreMessageBox(nullptr);
    }
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    AfxSetInstanceHandle(hInstance);
    AfxSetResourceHandle(hInstance);
    ::SetErrorMode(::SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return TRUE;
    pApp->m_hInstance = hInstance;
    pApp->m_hPrevInstance = hPrevInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;

    char szModule[MAX_PATH] = "";
    ::GetModuleFileNameA(hInstance, szModule, MAX_PATH);
    CString strModule(szModule);
    int nSlash = strModule.ReverseFind('\\');
    CString strFile = strModule.Mid(nSlash + 1);
    int nDot = strFile.ReverseFind('.');
    pApp->m_strExeName = nDot >= 0 ? strFile.Left(nDot) : strFile;
    pApp->m_pszExeName = pApp->m_strExeName;
    int nModuleDot = strModule.ReverseFind('.');
    pApp->m_strHelpFilePath = (nModuleDot > nSlash ? strModule.Left(nModuleDot) : strModule) + ".HLP";
    pApp->m_pszHelpFilePath = pApp->m_strHelpFilePath;

    if (pApp->m_pszAppName == nullptr) {
        CString strTitle;
        if (!strTitle.LoadString(AFX_IDS_APP_TITLE) || strTitle.IsEmpty())
            strTitle = pApp->m_strExeName;
        ReplaceOwnedString(pApp->m_pszAppName, strTitle);
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    int nReturnCode = -1;
    CWinApp* pApp = AfxGetApp();
    try {
        if (pApp == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
            return -1;
        if (!pApp->InitApplication())
            return -1;
        if (!pApp->InitInstance()) {
            if (pApp->m_pMainWnd != nullptr && pApp->m_pMainWnd->m_hWnd != nullptr)
                pApp->m_pMainWnd->DestroyWindow();
            // The loop never ran: drop the WM_QUIT the destruction posted.
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
                ;
            pApp->m_msgCur.wParam = (WPARAM)-1;
            pApp->ExitInstance();
            return -1;
        }
        nReturnCode = pApp->Run();
    }
    catch (CException* e) {
        AfxReportCallbackException(e);
        nReturnCode = -1;
    }
    catch (const std::exception& e) {
        AfxReportForeignCallbackException(e.what());
        nReturnCode = -1;
    }
    return nReturnCode;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWinThread::OnIdle(lCount);
        if (m_pDocManager != nullptr) {
            POSITION pos = m_pDocManager->GetFirstDocTemplatePosition();
            while (pos != nullptr)
                m_pDocManager->GetNextDocTemplate(pos)->OnIdle();
        }
    }
    else if (lCount == 1) {
        CWinThread::OnIdle(lCount);
    }
    return lCount < 1;
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    // The usual icon for the kind of question.
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL: nType |= MB_ICONEXCLAMATION; break;
        case MB_YESNO:
        case MB_YESNOCANCEL: nType |= MB_ICONQUESTION; break;
        default: break;
        }
    }
    LPCSTR lpszCaption = m_pszAppName ? m_pszAppName : "";
    // The same with the test seam on: it only gives the user's answer. Owned by the top-level window, which stays disabled while the box is up.
    HWND hWndTop = nullptr;
    CWnd* pOwner = CWnd::GetSafeOwner(nullptr, &hWndTop);
    int nResult = AfxSeamMessageBox(AfxGetSafeHwnd(pOwner), lpszPrompt, lpszCaption, nType, nIDPrompt);
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (m_pDocManager == nullptr)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    return m_pDocManager->GetNextDocTemplate(pos);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

void CWinApp::AddToRecentFileList(LPCSTR) {}

BOOL CWinApp::SaveAllModified()
{
    return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager != nullptr)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

int CWinApp::GetOpenDocumentCount()
{
    return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0;
}

void CWinApp::HideApplication()
{
    if (m_pMainWnd == nullptr || m_pMainWnd->m_hWnd == nullptr)
        return;
    m_pMainWnd->ShowOwnedPopups(FALSE);
    m_pMainWnd->ShowWindow(SW_HIDE);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    CString title;
    title.LoadString(nIDSTitle);
    CString strExt;
    if (pTemplate != nullptr)
        pTemplate->GetDocString(strExt, CDocTemplate::filterExt);

    AfxModalCall call;
    call.kind = AFX_MODAL_COMMONDIALOG;
    call.className = bOpenFileDialog ? "CFileDialog(open)" : "CFileDialog(save)";
    call.caption = title;
    call.text = fileName;
    call.nType = lFlags;
    INT_PTR nResult = IDCANCEL;
    if (AfxSeamHandle(call, &nResult)) {
        if (nResult != IDOK)
            return FALSE;
        fileName = call.text;
        return TRUE;
    }

    char szFile[MAX_PATH];
    lstrcpynA(szFile, fileName, MAX_PATH);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = AfxGetSafeHwnd(AfxGetMainWnd());
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title.IsEmpty() ? nullptr : (LPCSTR)title;
    ofn.Flags = lFlags | OFN_EXPLORER;
    if (!strExt.IsEmpty() && strExt[0] == '.')
        ofn.lpstrDefExt = (LPCSTR)strExt + 1;
    BOOL bOK = bOpenFileDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (bOK)
        fileName = szFile;
    return bOK;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (int i = 1; i < __argc; i++) {
        LPCSTR pszParam = __argv[i];
        BOOL bFlag = FALSE;
        BOOL bLast = (i + 1 == __argc);
        if (pszParam[0] == '-' || pszParam[0] == '/') {
            bFlag = TRUE;
            ++pszParam;
        }
        rCmdInfo.ParseParam(pszParam, bFlag, bLast);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, 0, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        // Printing, DDE and unregistering are not offered.
        return FALSE;
    }
}

HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const
{
    return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_CURSOR), lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }
HCURSOR CWinApp::LoadOEMCursor(UINT nIDCursor) const { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(nIDCursor)); }
HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_ICON), lpszResourceName);
}
HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }

void CWinApp::WinHelp(DWORD_PTR, UINT)
{
    // There is no help file; the help commands are answered and do nothing.
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager != nullptr)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager != nullptr)
        m_pDocManager->OnFileOpen();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp() { WinHelp(0, HELP_CONTEXT); }
void CWinApp::OnHelpFinder() { WinHelp(0, HELP_FINDER); }
void CWinApp::OnHelpIndex() { WinHelp(0, HELP_INDEX); }
void CWinApp::OnHelpUsing() { WinHelp(0, HELP_HELPONHELP); }
void CWinApp::OnContextHelp() {}

// The program's entry: the framework's main function runs the one application object.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
