// One external program (a map tool, the game or a user tool) run as a child process, hidden unless
// asked otherwise, its standard output and standard error fed to an output pane by a worker thread
// of its own.
//
// Constructing the object starts the run; deleting it stops a run still going, with every program
// its child started. A run ends by itself when its child has ended and what the child wrote has
// been read, even while a program the child started holds the output pipe; it leaves what its child
// started (a game a launcher started, a program a tool started with "start") running. The worker
// talks to windows only by posting:
//   - WM_USER+128 to the output pane: wParam a NUL-terminated block of at most 1023 bytes of output
//     that the receiver frees with FreeOutputBlock, lParam 0;
//   - the notify message to the notify window once, when the child has ended or could not start:
//     wParam the run (as CChildRun*), lParam the run's serial number. Owners compare both with the run they hold,
//     so a late message of a deleted run never ends a later one (even one at the same address).
// A run that could not start posts its completion like any other; the owner then shows
// GetStartError() on its own thread. Deleting the object posts nothing.
//
// The program's current directory is never changed: the child gets its directory from the system.
#pragma once
#include "afxwin.h"
#include "afxthread.h"
#include <memory>

#define WM_TOOL_OUTPUT          (WM_USER + 128)
#define WM_TOOL_FINISHED        (WM_USER + 129)
#define WM_BUILD_STEP_FINISHED  (WM_USER + 192)

// The largest block of output posted at once.
const int TOOL_OUTPUT_BLOCK = 1023;

// Frees a block that came with WM_TOOL_OUTPUT.
void FreeOutputBlock(WPARAM wParam);

// What an owner of a run needs of it; the build's step machine works on this, so that its
// decisions can be driven without child processes.
class CChildRun
{
public:
    virtual ~CChildRun() = default;
    // True unless the child ended with exit code 0 (a run still going, one that could not start or
    // whose exit code cannot be read has failed).
    virtual BOOL HasFailed() const = 0;
    // True when the run ended without a child: the text says why (empty otherwise).
    virtual BOOL HasStartFailed() const = 0;
    virtual CString GetStartError() const = 0;
    // The child's exit code (STILL_ACTIVE while it runs or before it started).
    virtual DWORD GetExitCode() const = 0;
    virtual UINT_PTR GetSerial() const = 0;

    // Whether a completion message (wParam, lParam) belongs to this run.
    BOOL IsCompletion(WPARAM wParam, LPARAM lParam) const
    {
        return wParam == reinterpret_cast<WPARAM>(this) && static_cast<UINT_PTR>(lParam) == GetSerial();
    }
};

class CUserToolProcess : public CCmdTarget, public CChildRun
{
    DECLARE_DYNCREATE(CUserToolProcess)
public:
    // An object that runs nothing (the class is creatable by name).
    CUserToolProcess();
    // Starts the command line at once in the directory (empty: the program's own). hWndOutput
    // (null: the output is not captured) receives the output, hWndNotify the notify message.
    // nShowWindow is how the child shows its first window (a program that asks for its default
    // way gets this one).
    CUserToolProcess(UINT nNotifyMessage, HWND hWndNotify, HWND hWndOutput, LPCSTR lpszName, LPCSTR lpszDirectory,
                     LPCSTR lpszCommandLine, WORD nShowWindow = SW_HIDE);
    // Stops a run still going: the child and what it started are terminated and their end waited
    // for, the worker is asked to end and waited for (with a bound: a worker that does not end in
    // time keeps only its own state alive). What a run that ended by itself started is left alone.
    ~CUserToolProcess() override;
    CUserToolProcess(const CUserToolProcess&) = delete;
    CUserToolProcess& operator=(const CUserToolProcess&) = delete;

    BOOL HasFailed() const override;
    BOOL HasStartFailed() const override;
    CString GetStartError() const override;
    DWORD GetExitCode() const override;
    UINT_PTR GetSerial() const override;

    // True from construction until the child has ended or could not start.
    BOOL IsRunning() const;
    const CString& GetName() const { return m_strName; }
    const CString& GetDirectory() const { return m_strDirectory; }
    const CString& GetCommandLine() const { return m_strCommandLine; }

    // How long the destructor waits for the worker.
    static const DWORD nStopWaitMs = 5000;

    struct RunState;

private:
    CString m_strName;
    CString m_strDirectory;
    CString m_strCommandLine;
    std::shared_ptr<RunState> m_pState;
    CWorkerThread m_thread;
};

// The program part of a command line: the quoted text without its quotes, or the text up to the
// first blank.
CString CommandProgram(LPCSTR lpszCommandLine);
