// A worker thread that owns its handle, and an event to wait on.
#pragma once
#include <windows.h>
#include <memory>
#include <string>

struct AfxThreadReport;

typedef UINT (*AFX_THREADPROC)(LPVOID pParam);

// Runs one function on a thread of its own. The object owns the thread's
// handle until it is destroyed; it never waits for the thread by itself.
// A worker talks to windows only by posting to window handles it was given.
class CWorkerThread
{
public:
    CWorkerThread();
    ~CWorkerThread();   // closes the handle; the thread keeps running
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts pfn(pParam) at once (or suspended with CREATE_SUSPENDED); FALSE
    // when the thread cannot be made or one is already owned.
    BOOL Start(AFX_THREADPROC pfn, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
               DWORD dwCreateFlags = 0);
    DWORD Resume() { return ::ResumeThread(m_hThread); }

    HANDLE GetHandle() const { return m_hThread; }
    DWORD GetThreadId() const { return m_nThreadID; }
    BOOL IsRunning() const;
    // TRUE when the thread ended within the time.
    BOOL Wait(DWORD dwMilliseconds = INFINITE) const;
    // The function's result once the thread has ended; STILL_ACTIVE before.
    DWORD GetExitCode() const;
    // Ends the thread forcibly (it gets no chance to clean up).
    BOOL Terminate(DWORD dwExitCode);
    // Closes the handle and forgets the thread.
    void Close();
    // The message of the exception that ended the thread (its exit code is then -1), or "".
    std::string GetExceptionText() const;

private:
    HANDLE m_hThread;
    DWORD m_nThreadID;
    std::shared_ptr<AfxThreadReport> m_pReport;
};

class CEvent
{
public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    // TRUE when the event was signalled within the time.
    BOOL Lock(DWORD dwTimeout = INFINITE) { return ::WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0; }
    BOOL Unlock() { return TRUE; }
    operator HANDLE() const { return m_hObject; }

    HANDLE m_hObject;
};
