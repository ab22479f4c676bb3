// The main of test programs that use the window layer.
#include "afxtest.h"
#include <memory>

namespace {

const char* KindName(AfxModalKind kind)
{
    switch (kind) {
    case AFX_MODAL_MESSAGEBOX: return "message box";
    case AFX_MODAL_DIALOG: return "modal dialog";
    case AFX_MODAL_PROPERTYSHEET: return "property sheet";
    case AFX_MODAL_COMMONDIALOG: return "common dialog";
    case AFX_MODAL_POPUPMENU: return "popup menu";
    }
    return "modal request";
}

// A modal request that no script answered fails the test.
void InstallUnexpectedHandler()
{
    AfxSeamSetUnexpectedHandler([](const AfxModalCall& call) {
        ADD_FAILURE() << "unexpected " << KindName(call.kind) << " (no scripted answer): \"" << (LPCSTR)call.text
                      << "\" " << (LPCSTR)call.className;
    });
}

// Around every test: a clean seam, a registry root of its own, an empty queue afterwards.
class TestScope : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo&) override
    {
        AfxSeamReset();
        InstallUnexpectedHandler();
        m_root.reset(new CProfileTestRoot);
    }

    void OnTestEnd(const testing::TestInfo& info) override
    {
        if (AfxSeamPendingSteps() != 0)
            printf("[  NOTE    ] %s.%s left %d scripted answer(s) unused\n", info.test_suite_name(), info.name(),
                   AfxSeamPendingSteps());
        AfxSeamReset();
        // Nothing a test left in the queue reaches the next test.
        afxtest::PumpMessages();
        afxtest::DrainQuit();
        AfxLockTempMaps();
        AfxUnlockTempMaps();
        m_root.reset();
    }

    std::unique_ptr<CProfileTestRoot> m_root;
};

// Under Wine without a window manager, destroying an active window waits two seconds for a
// manager that never answers. Windows of test programs are left unmanaged instead, with Wine's own
// per-program setting. Wine reads it when its display driver starts, which the system libraries
// may do before main runs: a program that has just made the setting runs itself again once so
// that the setting is in force. Answers TRUE when this process should go on with the tests.
BOOL UseUnmanagedWindowsUnderWine(int* pnExitCode)
{
    HMODULE hNtdll = ::GetModuleHandleA("ntdll.dll");
    if (hNtdll == nullptr || ::GetProcAddress(hNtdll, "wine_get_version") == nullptr)
        return TRUE;
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const char* pszName = strrchr(szPath, '\\');
    pszName = pszName ? pszName + 1 : szPath;
    CString key;
    key.Format("Software\\Wine\\AppDefaults\\%s\\X11 Driver", pszName);
    HKEY hKey;
    DWORD dwDisposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, &dwDisposition) !=
        ERROR_SUCCESS)
        return TRUE;
    ::RegSetValueExA(hKey, "Managed", 0, REG_SZ, (const BYTE*)"N", 2);
    ::RegCloseKey(hKey);
    if (dwDisposition != REG_CREATED_NEW_KEY)
        return TRUE;

    STARTUPINFOA si = {sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    CString cmd = ::GetCommandLineA();
    if (!::CreateProcessA(nullptr, cmd.GetBuffer(0), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return TRUE;
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD dwCode = 1;
    ::GetExitCodeProcess(pi.hProcess, &dwCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    *pnExitCode = (int)dwCode;
    return FALSE;
}

// A crash (a member call through null traps as an illegal instruction) ends the program at once
// with the test's name, instead of starting Wine's debugger and waiting for the ctest time-out.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* pInfo)
{
    const testing::TestInfo* pTest = testing::UnitTest::GetInstance()->current_test_info();
    fprintf(stderr, "[  CRASH   ] %s.%s: exception %08lx at %p\n", pTest ? pTest->test_suite_name() : "(none)",
            pTest ? pTest->name() : "(none)", (unsigned long)pInfo->ExceptionRecord->ExceptionCode,
            pInfo->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char** argv)
{
    int nExitCode = 0;
    if (!UseUnmanagedWindowsUnderWine(&nExitCode))
        return nExitCode;
    testing::InitGoogleTest(&argc, argv);
    ::SetUnhandledExceptionFilter(ReportCrash);

    // Test programs without an application object of their own get a plain one: message boxes,
    // idle processing and the settings store need it.
    std::unique_ptr<CWinApp> pDefaultApp;
    if (AfxGetApp() == nullptr)
        pDefaultApp.reset(new CWinApp);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    // OLE as the editor starts it: views register drop targets, the clipboard is shared.
    AfxOleInit();

    AfxSeamSetActive(TRUE);
    InstallUnexpectedHandler();
    testing::UnitTest::GetInstance()->listeners().Append(new TestScope);
    int nResult = RUN_ALL_TESTS();
    AfxSeamSetActive(FALSE);
    return nResult;
}
