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

// Around every test: a clean seam, a registry root of its own, an empty queue afterwards.
class TestScope : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo&) override
    {
        AfxSeamReset();
        m_root.reset(new CProfileTestRoot);
    }

    void OnTestEnd(const testing::TestInfo& info) override
    {
        if (AfxSeamPendingSteps() != 0)
            printf("[  NOTE    ] %s.%s left %d scripted answer(s) unused\n", info.test_suite_name(), info.name(),
                   AfxSeamPendingSteps());
        AfxSeamReset();
        afxtest::DrainQuit();
        AfxLockTempMaps();
        AfxUnlockTempMaps();
        m_root.reset();
    }

    std::unique_ptr<CProfileTestRoot> m_root;
};

// Under Wine without a window manager, destroying an active window waits two seconds for a
// manager that never answers. Windows of this test program are left unmanaged instead; the
// setting is Wine's own per-program one and must be in place before the first window exists.
void UseUnmanagedWindowsUnderWine()
{
    HMODULE hNtdll = ::GetModuleHandleA("ntdll.dll");
    if (hNtdll == nullptr || ::GetProcAddress(hNtdll, "wine_get_version") == nullptr)
        return;
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const char* pszName = strrchr(szPath, '\\');
    pszName = pszName ? pszName + 1 : szPath;
    CString key;
    key.Format("Software\\Wine\\AppDefaults\\%s\\X11 Driver", pszName);
    HKEY hKey;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExA(hKey, "Managed", 0, REG_SZ, (const BYTE*)"N", 2);
        ::RegCloseKey(hKey);
    }
}

} // namespace

int main(int argc, char** argv)
{
    UseUnmanagedWindowsUnderWine();
    testing::InitGoogleTest(&argc, argv);

    // Test programs without an application object of their own get a plain one: message boxes,
    // idle processing and the settings store need it.
    std::unique_ptr<CWinApp> pDefaultApp;
    if (AfxGetApp() == nullptr)
        pDefaultApp.reset(new CWinApp);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);

    AfxSeamSetActive(TRUE);
    AfxSeamSetUnexpectedHandler([](const AfxModalCall& call) {
        ADD_FAILURE() << "unexpected " << KindName(call.kind) << " (no scripted answer): \"" << (LPCSTR)call.text
                      << "\" " << (LPCSTR)call.className;
    });
    testing::UnitTest::GetInstance()->listeners().Append(new TestScope);
    int nResult = RUN_ALL_TESTS();
    AfxSeamSetActive(FALSE);
    return nResult;
}
