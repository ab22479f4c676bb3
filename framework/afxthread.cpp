#include "afxthread.h"
#include <new>
#include <process.h>

namespace {
struct StartInfo
{
    AFX_THREADPROC pfn;
    LPVOID pParam;
};

unsigned __stdcall ThreadEntry(void* p)
{
    StartInfo info = *static_cast<StartInfo*>(p);
    delete static_cast<StartInfo*>(p);
    // An exception must not leave the thread: it would end the program.
    try {
        return info.pfn(info.pParam);
    } catch (...) {
        return static_cast<unsigned>(-1);
    }
}
} // namespace

CWorkerThread::CWorkerThread() : m_hThread(nullptr), m_nThreadID(0) {}

CWorkerThread::~CWorkerThread() { Close(); }

BOOL CWorkerThread::Start(AFX_THREADPROC pfn, LPVOID pParam, int nPriority, UINT nStackSize, DWORD dwCreateFlags)
{
    if (m_hThread != nullptr || pfn == nullptr)
        return FALSE;
    StartInfo* info = new (std::nothrow) StartInfo{pfn, pParam};
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
