// Child processes with their output captured by a worker thread.
#include "UserToolProcess.h"
#include "afxthread.h"
#include <atomic>
#include <mutex>

IMPLEMENT_DYNCREATE(CUserToolProcess, CCmdTarget)

namespace {

// Pipes and children are made one run at a time: between the making of a run's inheritable pipe
// ends and the closing of the parent's copies, a child started by another run would inherit them
// and keep that run's pipe open after its own child ended.
std::mutex& CreationLock()
{
    static std::mutex lock;
    return lock;
}

std::atomic<UINT_PTR>& SerialCounter()
{
    static std::atomic<UINT_PTR> counter{0};
    return counter;
}

void CloseIfOpen(HANDLE& h)
{
    if (h != nullptr && h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    h = nullptr;
}

} // namespace

// Everything the worker touches. The object and its worker share it, so that a worker that
// outlives the object's wait never touches freed memory.
struct CUserToolProcess::RunState
{
    // Fixed before the worker starts.
    UINT nNotifyMessage = 0;
    HWND hWndNotify = nullptr;
    HWND hWndOutput = nullptr;
    WPARAM wParamSelf = 0;
    UINT_PTR nSerial = 0;
    CString strDirectory;
    CString strCommandLine;
    WORD nShowWindow = SW_HIDE;

    // Set once by the worker (the stop request by the owner).
    std::atomic<HANDLE> hProcess{nullptr};
    std::atomic<bool> bRunning{true};
    std::atomic<bool> bStop{false};
    std::atomic<bool> bStartFailed{false};
    std::atomic<DWORD> dwExitCode{STILL_ACTIVE};
    CString strStartError;      // written before bStartFailed is set, read after it is seen
    HANDLE hStopEvent = nullptr;
    HANDLE hReadPipe = nullptr;
    // The job that holds the child and every program it starts (a tool given as "cmd /c ..." or a
    // .bat file runs its work in grandchildren). Closing it ends them all, unless the run ended
    // by itself first: what it left running then is the user's (a game a launcher started).
    std::atomic<HANDLE> hJob{nullptr};

    // How the run ends, decided once by whichever comes first: the worker seeing the child end
    // (what the run started is released), or the owner stopping it (the whole tree is ended).
    // Deciding it in one step keeps a stop that comes as the run ends from ending a released tree.
    enum End { Going, Released, Stopped };
    std::atomic<int> nEnd{Going};

    ~RunState()
    {
        HANDLE h = hProcess.exchange(nullptr);
        CloseIfOpen(h);
        h = hJob.exchange(nullptr);
        CloseIfOpen(h);
        CloseIfOpen(hReadPipe);
        CloseIfOpen(hStopEvent);
    }

    // The owner's stop: TRUE when it came before the run ended by itself, and then the child and
    // everything it started are ended.
    BOOL Stop()
    {
        bStop.store(true);
        int going = Going;
        if (!nEnd.compare_exchange_strong(going, Stopped))
            return FALSE;
        Terminate();
        return TRUE;
    }
    // Ends the child and everything it started; only ever for a stopped run (a released job keeps
    // running what it holds).
    void Terminate()
    {
        if (nEnd.load() != Stopped)
            return;
        if (HANDLE job = hJob.load())
            ::TerminateJobObject(job, static_cast<UINT>(-1));
        HANDLE hChild = hProcess.load();
        if (hChild != nullptr && ::WaitForSingleObject(hChild, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(hChild, static_cast<UINT>(-1));
    }
    // The run ended by itself: the programs it leaves are the user's. FALSE when the owner
    // stopped it first.
    BOOL Release()
    {
        int going = Going;
        if (!nEnd.compare_exchange_strong(going, Released))
            return FALSE;
        HANDLE job = hJob.exchange(nullptr);
        if (job == nullptr)
            return TRUE;
        // Closing the job ends what it holds unless kill-on-close is lifted first; a job whose
        // limit stays is kept open (one handle) rather than end the user's program.
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        if (::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits))
            ::CloseHandle(job);
        return TRUE;
    }

    // The worker's body.
    void Run();
    BOOL StartProcess();
    void FailStart(const CString& text);
    BOOL PostOutput(const char* pData, DWORD n);
    void PostCompletion();
};

void FreeOutputBlock(WPARAM wParam)
{
    delete[] reinterpret_cast<char*>(wParam);
}

CString CommandProgram(LPCSTR lpszCommandLine)
{
    CString line(lpszCommandLine != nullptr ? lpszCommandLine : "");
    line.TrimLeft();
    if (line.IsEmpty())
        return line;
    if (line[0] == '"') {
        int end = line.Find('"', 1);
        return end < 0 ? line.Mid(1) : line.Mid(1, end - 1);
    }
    int blank = line.FindOneOf(" \t");
    return blank < 0 ? line : line.Left(blank);
}

void CUserToolProcess::RunState::FailStart(const CString& text)
{
    strStartError = text;
    bStartFailed.store(true);
}

BOOL CUserToolProcess::RunState::PostOutput(const char* pData, DWORD n)
{
    if (hWndOutput == nullptr)
        return TRUE;
    char* pBlock = new char[n + 1];
    memcpy(pBlock, pData, n);
    pBlock[n] = '\0';
    // A full message queue (a flood of output) is waited out: the child then waits on its pipe.
    while (!::PostMessageA(hWndOutput, WM_TOOL_OUTPUT, reinterpret_cast<WPARAM>(pBlock), 0)) {
        if (bStop.load() || !::IsWindow(hWndOutput)) {
            // Nobody else will free the block.
            delete[] pBlock;
            return FALSE;
        }
        ::WaitForSingleObject(hStopEvent, 20);
    }
    return TRUE;
}

void CUserToolProcess::RunState::PostCompletion()
{
    while (!::PostMessageA(hWndNotify, nNotifyMessage, wParamSelf, static_cast<LPARAM>(nSerial))) {
        if (bStop.load() || !::IsWindow(hWndNotify))
            return;
        ::WaitForSingleObject(hStopEvent, 20);
    }
}

BOOL CUserToolProcess::RunState::StartProcess()
{
    // A directory that does not exist would make the system report a missing program: say what is
    // really missing.
    if (!strDirectory.IsEmpty()) {
        DWORD attributes = ::GetFileAttributesA(strDirectory);
        DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError()
                      : (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? ERROR_DIRECTORY
                                                                     : ERROR_SUCCESS;
        if (error != ERROR_SUCCESS) {
            FailStart(AfxGetSystemErrorText(error) + "\nThe directory was:\n" + strDirectory +
                      "\nThe command was:\n" + strCommandLine);
            return FALSE;
        }
    }

    // A program named without a directory part is looked for in the tool's directory first (the
    // system would look beside the editor and in the editor's current directory), then as the
    // system does.
    CString application;
    CString program = CommandProgram(strCommandLine);
    if (!strDirectory.IsEmpty() && !program.IsEmpty() && program.FindOneOf("\\/:") < 0) {
        char szFound[MAX_PATH] = "";
        LPSTR pFile = nullptr;
        DWORD n = ::SearchPathA(strDirectory, program, ".exe", MAX_PATH, szFound, &pFile);
        if (n > 0 && n < MAX_PATH)
            application = szFound;
    }

    std::lock_guard<std::mutex> lock(CreationLock());

    SECURITY_ATTRIBUTES sa = {};
    sa.nLength = sizeof sa;
    sa.lpSecurityDescriptor = nullptr;
    sa.bInheritHandle = TRUE;

    HANDLE hOutRead = nullptr, hOutWrite = nullptr, hInRead = nullptr, hInWrite = nullptr;
    if (hWndOutput != nullptr) {
        if (!::CreatePipe(&hOutRead, &hOutWrite, &sa, 0)) {
            FailStart("Couldn't create stdout pipe");
            return FALSE;
        }
        if (!::CreatePipe(&hInRead, &hInWrite, &sa, 0)) {
            CloseIfOpen(hOutRead);
            CloseIfOpen(hOutWrite);
            FailStart("Couldn't create stdin pipe");
            return FALSE;
        }
        // Only the child's ends are inherited.
        ::SetHandleInformation(hOutRead, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(hInWrite, HANDLE_FLAG_INHERIT, 0);
        // Nothing is ever written: a child that reads its input finds its end at once.
        CloseIfOpen(hInWrite);
    }

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = nShowWindow;
    if (hWndOutput != nullptr) {
        si.dwFlags |= STARTF_USESTDHANDLES;
        si.hStdInput = hInRead;
        si.hStdOutput = hOutWrite;
        si.hStdError = hOutWrite;
    }

    // The child starts suspended so that it is in the job before it can start anything. Without a
    // job (the system refused one) a stop ends the child alone.
    HANDLE job = ::CreateJobObjectA(nullptr, nullptr);
    if (job != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits))
            CloseIfOpen(job);
    }

    PROCESS_INFORMATION pi = {};
    CString commandLine = strCommandLine;   // the system may write into its argument
    BOOL bCreated = ::CreateProcessA(application.IsEmpty() ? nullptr : (LPCSTR)application,
                                     commandLine.GetBuffer(commandLine.GetLength() + 1), nullptr, nullptr, TRUE,
                                     CREATE_NO_WINDOW | (job != nullptr ? CREATE_SUSPENDED : 0), nullptr,
                                     strDirectory.IsEmpty() ? nullptr : (LPCSTR)strDirectory, &si, &pi);
    DWORD error = bCreated ? ERROR_SUCCESS : ::GetLastError();
    commandLine.ReleaseBuffer();
    if (bCreated && job != nullptr) {
        if (!::AssignProcessToJobObject(job, pi.hProcess))
            CloseIfOpen(job);
        ::ResumeThread(pi.hThread);
    }

    // The pipe reports its end once the child (and whatever it started) closed its copies.
    CloseIfOpen(hOutWrite);
    CloseIfOpen(hInRead);
    if (!bCreated) {
        CloseIfOpen(hOutRead);
        CloseIfOpen(job);
        FailStart(AfxGetSystemErrorText(error) + "\nThe command was:\n" + strCommandLine);
        return FALSE;
    }
    ::CloseHandle(pi.hThread);
    hReadPipe = hOutRead;
    hJob.store(job);
    hProcess.store(pi.hProcess);
    return TRUE;
}

void CUserToolProcess::RunState::Run()
{
    if (!StartProcess()) {
        bRunning.store(false);
        if (!bStop.load())
            PostCompletion();
        return;
    }
    HANDLE hChild = hProcess.load();
    // The owner may have stopped the run while the child was being made, before it could see it.
    Terminate();

    char buffer[TOOL_OUTPUT_BLOCK + 1];
    while (!bStop.load()) {
        // Looked at before the pipe: once the child has ended, everything it wrote is in the pipe.
        const bool bChildEnded = ::WaitForSingleObject(hChild, 0) == WAIT_OBJECT_0;
        // Read only what is waiting, so that a stop request is seen within one wait.
        DWORD available = 0;
        if (hReadPipe != nullptr && ::PeekNamedPipe(hReadPipe, nullptr, 0, nullptr, &available, nullptr) &&
            available > 0) {
            DWORD n = 0;
            DWORD toRead = available < TOOL_OUTPUT_BLOCK ? available : TOOL_OUTPUT_BLOCK;
            if (::ReadFile(hReadPipe, buffer, toRead, &n, nullptr) && n > 0) {
                PostOutput(buffer, n);
                continue;
            }
        }
        // The run ends with its child, once all the child wrote is read. A program the child
        // started may hold the pipe for as long as it runs (a launcher that passes its handles on
        // to the game): it is the user's, and what it writes afterwards is not the run's.
        if (bChildEnded)
            break;
        ::WaitForSingleObject(hStopEvent, 20);
    }
    if (bStop.load() || !Release()) {
        bRunning.store(false);
        return;
    }
    DWORD code = STILL_ACTIVE;
    if (!::GetExitCodeProcess(hChild, &code))
        code = STILL_ACTIVE;
    dwExitCode.store(code);
    bRunning.store(false);
    PostCompletion();
}

namespace {

UINT ProcessWorker(LPVOID pParam)
{
    std::unique_ptr<std::shared_ptr<CUserToolProcess::RunState>> pState(
        static_cast<std::shared_ptr<CUserToolProcess::RunState>*>(pParam));
    if (pState == nullptr || *pState == nullptr)
        return 0;
    (*pState)->Run();
    return 0;
}

} // namespace

CUserToolProcess::CUserToolProcess() = default;

CUserToolProcess::CUserToolProcess(UINT nNotifyMessage, HWND hWndNotify, HWND hWndOutput, LPCSTR lpszName,
                                   LPCSTR lpszDirectory, LPCSTR lpszCommandLine, WORD nShowWindow)
    : m_strName(lpszName != nullptr ? lpszName : ""), m_strDirectory(lpszDirectory != nullptr ? lpszDirectory : ""),
      m_strCommandLine(lpszCommandLine != nullptr ? lpszCommandLine : "")
{
    m_pState = std::make_shared<RunState>();
    RunState& state = *m_pState;
    state.nNotifyMessage = nNotifyMessage;
    state.hWndNotify = hWndNotify;
    state.hWndOutput = hWndOutput;
    state.wParamSelf = reinterpret_cast<WPARAM>(static_cast<CChildRun*>(this));
    state.nSerial = ++SerialCounter();
    state.strDirectory = m_strDirectory;
    state.strCommandLine = m_strCommandLine;
    state.nShowWindow = nShowWindow;
    state.hStopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);

    auto* pShared = new std::shared_ptr<RunState>(m_pState);
    if (!m_thread.Start(ProcessWorker, pShared)) {
        delete pShared;
        state.FailStart("Couldn't start the thread that runs the command.\nThe command was:\n" + m_strCommandLine);
        state.bRunning.store(false);
        ::PostMessageA(hWndNotify, nNotifyMessage, state.wParamSelf, static_cast<LPARAM>(state.nSerial));
    }
}

CUserToolProcess::~CUserToolProcess()
{
    if (m_pState == nullptr)
        return;
    RunState& state = *m_pState;
    // The child and whatever it started: a stopped run leaves no program of its own behind. A run
    // that ended by itself leaves what it started running.
    BOOL bStopped = state.Stop();
    if (state.hStopEvent != nullptr)
        ::SetEvent(state.hStopEvent);
    // A worker that does not end in time keeps only the shared state alive; the wrapper closes the
    // handle without waiting any longer.
    if (m_thread.GetHandle() != nullptr)
        m_thread.Wait(nStopWaitMs);
    // A stopped child is gone when the run is: the files it held can be removed at once.
    HANDLE hChild = state.hProcess.load();
    if (bStopped && hChild != nullptr)
        ::WaitForSingleObject(hChild, nStopWaitMs);
}

BOOL CUserToolProcess::HasFailed() const
{
    if (m_pState == nullptr || m_pState->bStartFailed.load())
        return TRUE;
    HANDLE hChild = m_pState->hProcess.load();
    DWORD code = STILL_ACTIVE;
    if (hChild == nullptr || !::GetExitCodeProcess(hChild, &code))
        return TRUE;
    return code != 0;   // STILL_ACTIVE included
}

BOOL CUserToolProcess::HasStartFailed() const
{
    return m_pState != nullptr && m_pState->bStartFailed.load();
}

CString CUserToolProcess::GetStartError() const
{
    return HasStartFailed() ? m_pState->strStartError : CString();
}

DWORD CUserToolProcess::GetExitCode() const
{
    if (m_pState == nullptr)
        return STILL_ACTIVE;
    HANDLE hChild = m_pState->hProcess.load();
    DWORD code = STILL_ACTIVE;
    if (hChild == nullptr || !::GetExitCodeProcess(hChild, &code))
        return m_pState->dwExitCode.load();
    return code;
}

UINT_PTR CUserToolProcess::GetSerial() const
{
    return m_pState != nullptr ? m_pState->nSerial : 0;
}

BOOL CUserToolProcess::IsRunning() const
{
    return m_pState != nullptr && m_pState->bRunning.load();
}
