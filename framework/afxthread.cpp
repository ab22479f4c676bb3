#include "afxthread.h"
#include "afxexcept.h"
#include <cstdio>
#include <exception>
#include <new>
#include <process.h>

// What a worker's exception left: kept apart from the thread object, which may go first.
struct AfxThreadReport
{
    CRITICAL_SECTION lock;
    std::string text;
    AfxThreadReport() { ::InitializeCriticalSection(&lock); }
    ~AfxThreadReport() { ::DeleteCriticalSection(&lock); }
};

namespace {
struct StartInfo
{
    AFX_THREADPROC pfn;
    LPVOID pParam;
    std::shared_ptr<AfxThreadReport> report;
};

void Report(AfxThreadReport& report, const std::string& text)
{
    ::EnterCriticalSection(&report.lock);
    report.text = text;
    ::LeaveCriticalSection(&report.lock);
    ::OutputDebugStringA(("Worker thread ended by an exception: " + text + "\n").c_str());
}

unsigned __stdcall ThreadEntry(void* p)
{
    StartInfo info = *static_cast<StartInfo*>(p);
    delete static_cast<StartInfo*>(p);
    // An exception must not leave the thread (it would end the program): it ends the thread
    // with -1 and is reported, its object deleted.
    try {
        return info.pfn(info.pParam);
    } catch (CException* e) {
        char text[512] = "";
        if (!e->GetErrorMessage(text, sizeof text) || text[0] == 0)
            std::snprintf(text, sizeof text, "%s", e->GetRuntimeClass()->m_lpszClassName);
        e->Delete();
        Report(*info.report, text);
    } catch (const std::exception& e) {
        Report(*info.report, e.what());
    } catch (...) {
        Report(*info.report, "an unknown exception");
    }
    return static_cast<unsigned>(-1);
}
} // namespace

CWorkerThread::CWorkerThread() : m_hThread(nullptr), m_nThreadID(0) {}

CWorkerThread::~CWorkerThread() { Close(); }

BOOL CWorkerThread::Start(AFX_THREADPROC pfn, LPVOID pParam, int nPriority, UINT nStackSize, DWORD dwCreateFlags)
{
    if (m_hThread != nullptr || pfn == nullptr)
        return FALSE;
    m_pReport = std::make_shared<AfxThreadReport>();
    StartInfo* info = new (std::nothrow) StartInfo{pfn, pParam, m_pReport};
    if (info == nullptr)
        return FALSE;
    unsigned id = 0;
    uintptr_t h = _beginthreadex(nullptr, nStackSize, &ThreadEntry, info, CREATE_SUSPENDED, &id);
    if (h == 0) {
        delete info;
        return FALSE;
    }
    m_hThread = reinterpret_cast<HANDLE>(h);
    m_nThreadID = id;
    if (nPriority != THREAD_PRIORITY_NORMAL)
        ::SetThreadPriority(m_hThread, nPriority);
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0)
        ::ResumeThread(m_hThread);
    return TRUE;
}

BOOL CWorkerThread::IsRunning() const
{
    return m_hThread != nullptr && ::WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

BOOL CWorkerThread::Wait(DWORD dwMilliseconds) const
{
    return m_hThread == nullptr || ::WaitForSingleObject(m_hThread, dwMilliseconds) == WAIT_OBJECT_0;
}

DWORD CWorkerThread::GetExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_hThread != nullptr)
        ::GetExitCodeThread(m_hThread, &code);
    return code;
}

BOOL CWorkerThread::Terminate(DWORD dwExitCode)
{
    return m_hThread != nullptr && ::TerminateThread(m_hThread, dwExitCode);
}

std::string CWorkerThread::GetExceptionText() const
{
    if (!m_pReport)
        return std::string();
    ::EnterCriticalSection(&m_pReport->lock);
    std::string text = m_pReport->text;
    ::LeaveCriticalSection(&m_pReport->lock);
    return text;
}

void CWorkerThread::Close()
{
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_nThreadID = 0;
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : m_hObject(::CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName))
{
}

CEvent::~CEvent()
{
    if (m_hObject != nullptr)
        ::CloseHandle(m_hObject);
}
