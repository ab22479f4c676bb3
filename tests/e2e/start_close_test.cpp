// Starts the built editor as its own process, waits for its main window,
// closes it and expects a clean exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

struct FindData { DWORD pid; HWND found; };

BOOL CALLBACK FindTopWindow(HWND h, LPARAM l)
{
    auto* f = reinterpret_cast<FindData*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == f->pid && IsWindowVisible(h) && GetWindow(h, GW_OWNER) == nullptr) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}

std::string ExeBeside(const char* name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1) + name;
}

} // namespace

TEST(EndToEnd, EditorStartsShowsMainWindowAndClosesCleanly)
{
    std::string exe = ExeBeside("morvane.exe");
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "cannot start " << exe;

    FindData f{pi.dwProcessId, nullptr};
    for (int i = 0; i < 300 && !f.found; ++i) {
        EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&f));
        if (!f.found) Sleep(100);
    }
    ASSERT_NE(f.found, nullptr) << "the main window did not appear";

    // The editor's frame: its title and menu come from resource 128.
    char szTitle[64] = "";
    GetWindowTextA(f.found, szTitle, sizeof szTitle);
    EXPECT_STREQ(szTitle, "Morvane");
    EXPECT_NE(GetMenu(f.found), nullptr);     // (its items are not readable from another process under Wine)

    PostMessageA(f.found, WM_CLOSE, 0, 0);
    DWORD wait = WaitForSingleObject(pi.hProcess, 30000);
    if (wait != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
    DWORD code = 12345;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_EQ(wait, WAIT_OBJECT_0) << "the editor did not end after WM_CLOSE";
    EXPECT_EQ(code, 0u);
}
