// Starts the built editor as its own process, waits for its main window,
// closes it and expects a clean exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>
#include <string>
#include <cstring>

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

struct FindDialog { DWORD pid; const char* caption; HWND found; };

BOOL CALLBACK FindDialogWindow(HWND h, LPARAM l)
{
    auto* f = reinterpret_cast<FindDialog*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char text[128] = "";
    GetWindowTextA(h, text, sizeof text);
    if (pid == f->pid && IsWindowVisible(h) && strcmp(text, f->caption) == 0) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}

// The editor's window with the caption, waited for until it shows (two minutes at most: a loaded
// machine starts the editor slowly under Wine).
HWND WaitForWindow(DWORD pid, const char* caption)
{
    FindDialog f{pid, caption, nullptr};
    for (int i = 0; i < 1200 && !f.found; ++i) {
        EnumWindows(FindDialogWindow, reinterpret_cast<LPARAM>(&f));
        if (!f.found) Sleep(100);
    }
    return f.found;
}

// The editor's settings start empty: the first start of a new user.
void EmptySettings()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Morvane\\Morvane");
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
    EmptySettings();
    std::string exe = ExeBeside("morvane.exe");
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "cannot start " << exe;

    // A first start shows the Startup window: it is told not to come again, and the editor goes
    // on normally; then the tip of the day is closed.
    HWND hStartup = WaitForWindow(pi.dwProcessId, "Startup Window");
    ASSERT_NE(hStartup, nullptr) << "no Startup window";
    SendMessageA(GetDlgItem(hStartup, 1181), BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(hStartup, WM_COMMAND, MAKEWPARAM(1182, BN_CLICKED), (LPARAM)GetDlgItem(hStartup, 1182));
    HWND hTip = WaitForWindow(pi.dwProcessId, "Tip of the Day");
    ASSERT_NE(hTip, nullptr) << "no tip of the day";
    PostMessageA(hTip, WM_COMMAND, MAKEWPARAM(20541, BN_CLICKED), (LPARAM)GetDlgItem(hTip, 20541));

    FindData f{pi.dwProcessId, nullptr};
    for (int i = 0; i < 1200 && !f.found; ++i) {
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

    // What the first start wrote: no Startup window next time.
    DWORD value = 1, size = sizeof value, type = 0;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Morvane\\Morvane\\Startup", 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Show At Startup", nullptr, &type, (LPBYTE)&value, &size));
    RegCloseKey(key);
    EXPECT_EQ(0u, value);
}
