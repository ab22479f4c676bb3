// The editor's main road, driven from outside as a user would: the built program is started twice
// with its settings emptied first; a project is made through New Project, its settings sheet and
// Select Wads; a real map is opened through the system's file dialog into its four windows, saved
// under a new name, and the editor quits; the second start reopens the project and the saved map
// from the recent lists. Every box of the editor is answered as its step expects and recorded.
// Skipped when the shared data folder is absent.
#include "shareddata.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Text(HWND h)
{
    // WM_GETTEXT crosses processes; the length first.
    LRESULT n = SendMessageA(h, WM_GETTEXTLENGTH, 0, 0);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(h, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(&s[0]));
    s.resize(strlen(s.c_str()));
    return s;
}

struct Editor
{
    PROCESS_INFORMATION pi = {};
    std::vector<std::string> boxes;     // every box's text, in order

    bool Start(const std::string& exe)
    {
        STARTUPINFOA si = {sizeof si};
        std::string cmd = "\"" + exe + "\"";
        return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
    }
    // The editor's visible top-level windows with the caption (any, when null) and class.
    std::vector<HWND> Windows(const char* caption, const char* cls = nullptr)
    {
        struct Find { DWORD pid; const char* caption; const char* cls; std::vector<HWND> found; } f{pi.dwProcessId, caption, cls, {}};
        EnumWindows([](HWND h, LPARAM l) -> BOOL {
            auto* f = reinterpret_cast<Find*>(l);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            char text[256] = "", cls[64] = "";
            GetWindowTextA(h, text, sizeof text);
            GetClassNameA(h, cls, sizeof cls);
            if (pid == f->pid && IsWindowVisible(h) && (!f->caption || strcmp(text, f->caption) == 0) &&
                (!f->cls || strcmp(cls, f->cls) == 0))
                f->found.push_back(h);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&f));
        return f.found;
    }
    // Waits for a window; message boxes met meanwhile are answered by `answer` (their text in,
    // the button out) and recorded.
    HWND WaitFor(const char* caption, const std::function<int(const std::string&)>& answer, DWORD ms = 60000)
    {
        for (DWORD waited = 0; waited < ms; waited += 100) {
            AnswerBoxes(answer);
            std::vector<HWND> found = Windows(caption);
            if (!found.empty())
                return found[0];
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
                return nullptr;
            Sleep(100);
        }
        return nullptr;
    }
    // Answers the boxes up now; TRUE when one was there.
    bool AnswerBoxes(const std::function<int(const std::string&)>& answer)
    {
        bool any = false;
        for (HWND h : Windows("Morvane", "#32770")) {
            HWND hText = GetDlgItem(h, 0xFFFF);
            std::string text = hText ? Text(hText) : std::string();
            if (text.empty())
                continue;
            boxes.push_back(text);
            int button = answer(text);
            PostMessageA(h, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(h, button)));
            any = true;
            // The box is gone before the next look, so it is never answered twice.
            for (int i = 0; i < 3000 && IsWindow(h) && IsWindowVisible(h); ++i)
                Sleep(10);
        }
        return any;
    }
    // Answers the boxes that come until `done` holds (the time is only a safety net); TRUE when
    // it held.
    bool SettleUntil(const std::function<int(const std::string&)>& answer, const std::function<bool()>& done,
                     DWORD ms = 60000)
    {
        for (DWORD waited = 0; waited < ms; waited += 100) {
            AnswerBoxes(answer);
            if (done())
                return true;
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
                return false;
            Sleep(100);
        }
        return false;
    }
    DWORD Quit(HWND hFrame, const std::function<int(const std::string&)>& answer)
    {
        PostMessageA(hFrame, WM_CLOSE, 0, 0);
        for (int i = 0; i < 300; ++i) {
            if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0)
                break;
            AnswerBoxes(answer);
        }
        DWORD code = 12345;
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 99);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code;
    }
};

HWND FindChild(HWND parent, int id, const char* cls)
{
    struct Find { int id; const char* cls; HWND found; } f{id, cls, nullptr};
    EnumChildWindows(parent, [](HWND h, LPARAM l) -> BOOL {
        auto* f = reinterpret_cast<Find*>(l);
        char cls[64] = "";
        GetClassNameA(h, cls, sizeof cls);
        if (GetDlgCtrlID(h) == f->id && _stricmp(cls, f->cls) == 0) {
            f->found = h;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

void Press(HWND hDlg, int id)
{
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
}

// The system's file dialog: the path into its file name field, then OK.
void ChooseFile(HWND hDlg, const std::string& path)
{
    HWND hName = FindChild(hDlg, 1148, "ComboBox");
    if (hName)
        hName = FindWindowExA(hName, nullptr, "Edit", nullptr);
    if (!hName)
        hName = FindChild(hDlg, 1152, "Edit");
    ASSERT_NE(hName, nullptr) << "no file name field";
    SendMessageA(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Press(hDlg, IDOK);
}

std::vector<std::string> MdiTitles(HWND hFrame)
{
    std::vector<std::string> titles;
    HWND hClient = FindWindowExA(hFrame, nullptr, "MDIClient", nullptr);
    for (HWND h = GetWindow(hClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h))
            titles.push_back(Text(h));
    std::sort(titles.begin(), titles.end());
    return titles;
}

// A window's client area as it shows on the screen, read through the screen's device context:
// pixels as 0x00RRGGBB, top row first; empty when it cannot be read.
std::vector<DWORD> ScreenPixels(HWND hWnd, int& width, int& height)
{
    std::vector<DWORD> pixels;
    RECT rc;
    POINT origin = {0, 0};
    width = height = 0;
    if (!GetClientRect(hWnd, &rc) || !ClientToScreen(hWnd, &origin) || rc.right <= 0 || rc.bottom <= 0)
        return pixels;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hScreen = GetDC(nullptr);
    HDC hMem = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateDIBSection(hScreen, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hMem && hBitmap && pBits) {
        HGDIOBJ hOld = SelectObject(hMem, hBitmap);
        if (BitBlt(hMem, 0, 0, rc.right, rc.bottom, hScreen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            const DWORD* p = static_cast<const DWORD*>(pBits);
            width = rc.right;
            height = rc.bottom;
            for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i)
                pixels.push_back(p[i] & 0xFFFFFF);
        }
        SelectObject(hMem, hOld);
    }
    if (hBitmap)
        DeleteObject(hBitmap);
    if (hMem)
        DeleteDC(hMem);
    ReleaseDC(nullptr, hScreen);
    return pixels;
}

// Whether a window's client area, as it shows on the screen, holds more than one colour.
bool HasDrawn(HWND hWnd)
{
    int w = 0, h = 0;
    std::vector<DWORD> p = ScreenPixels(hWnd, w, h);
    for (size_t i = 1; i < p.size(); ++i)
        if (p[i] != p[0])
            return true;
    return false;
}

// The longest run of one colour down the middle column of a window's client area on the screen,
// in its upper or lower half.
int RunInMiddleColumn(HWND hWnd, DWORD rgb, bool upper)
{
    int w = 0, h = 0;
    std::vector<DWORD> p = ScreenPixels(hWnd, w, h);
    int longest = 0, run = 0;
    for (int y = upper ? 0 : h / 2; y < (upper ? h / 2 : h); ++y) {
        run = p[static_cast<size_t>(y) * w + w / 2] == rgb ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// The visible MDI children whose client area shows one colour only (not drawn), by title.
std::vector<std::string> UndrawnChildren(HWND hFrame)
{
    std::vector<std::string> undrawn;
    HWND hClient = FindWindowExA(hFrame, nullptr, "MDIClient", nullptr);
    for (HWND h = GetWindow(hClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h) && !HasDrawn(h))
            undrawn.push_back(Text(h));
    return undrawn;
}

// Entities and brushes of a map file, counted by its braces.
void CountMap(const std::string& path, int& entities, int& brushes)
{
    std::ifstream in(path, std::ios::binary);
    entities = brushes = 0;
    int depth = 0;
    bool quoted = false;
    char c;
    while (in.get(c)) {
        if (c == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == '/' && in.peek() == '/') {
            std::string rest;
            std::getline(in, rest);
            continue;
        }
        if (c == '{') {
            ++depth;
            if (depth == 1)
                ++entities;
            else if (depth == 2)
                ++brushes;
        } else if (c == '}') {
            --depth;
        }
    }
}

std::string ExeBeside(const char* name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1) + name;
}

std::string RegString(const char* section, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value;
    std::string key = std::string("Software\\Morvane\\Morvane\\") + section;
    if (SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, nullptr, value, &size) != ERROR_SUCCESS)
        return std::string();
    return value;
}

bool RegHas(const char* section, const char* name)
{
    std::string key = std::string("Software\\Morvane\\Morvane\\") + section;
    DWORD size = 0;
    return SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

const int OK = IDOK;

} // namespace

TEST(MainRoad, NewProjectOpenSaveQuitAndRestart)
{
    SKIP_WITHOUT_SHARED_DATA(shareddata::Path("maps\\librequake_e2m2.map"));
    const std::string data = shareddata::Root();
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string root = std::string(tmp) + "morvane_mainroad";
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Morvane\\Morvane");
    for (const char* d : {"", "\\Projects", "\\game", "\\objects"})
        CreateDirectoryA((root + d).c_str(), nullptr);
    DeleteFileA((root + "\\Projects\\Untitled.prj").c_str());
    DeleteFileA((root + "\\e2m2_copy.map").c_str());
    std::ofstream(root + "\\objects\\crate.map", std::ios::binary)
        << "{\n( 0 0 0 ) ( 0 32 0 ) ( 0 0 32 ) WALL 0 0 0 1 1\n}\n";
    const std::string qc = data + "\\qc\\librequake";

    // ---- 1. First start: the Startup window, then the tip.
    Editor ed;
    ASSERT_TRUE(ed.Start(ExeBeside("morvane.exe")));
    auto noBox = [](const std::string& text) {
        ADD_FAILURE() << "unexpected box: " << text;
        return OK;
    };
    HWND hStartup = ed.WaitFor("Startup Window", noBox);
    ASSERT_NE(hStartup, nullptr);
    SendMessageA(GetDlgItem(hStartup, 1181), BM_SETCHECK, BST_UNCHECKED, 0);
    Press(hStartup, 1182);
    HWND hTip = ed.WaitFor("Tip of the Day", noBox);
    ASSERT_NE(hTip, nullptr);
    Press(hTip, 20541);
    HWND hFrame = ed.WaitFor("Morvane", noBox);
    ASSERT_NE(hFrame, nullptr);

    // ---- 2. New Project: the proposal's directory, the sheet, Select Wads.
    PostMessageA(hFrame, WM_COMMAND, 32779, 0);
    HWND hNew = ed.WaitFor("New Project", noBox);
    ASSERT_NE(hNew, nullptr);
    EXPECT_EQ("\\Projects\\Untitled.prj", Text(GetDlgItem(hNew, 1159)));
    SendMessageA(GetDlgItem(hNew, 1159), WM_SETTEXT, 0, reinterpret_cast<LPARAM>((root + "\\Projects\\Untitled.prj").c_str()));
    Press(hNew, IDOK);
    HWND hSheet = ed.WaitFor("Project Settings", noBox);
    ASSERT_NE(hSheet, nullptr);
    auto page = [&](int index) {
        SendMessageA(hSheet, PSM_SETCURSEL, index, 0);
        return reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    };
    auto set = [](HWND hPage, int id, const std::string& text) {
        SendMessageA(GetDlgItem(hPage, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    };
    set(page(0), 1000, root);
    HWND hQuake = page(1);
    set(hQuake, 1001, root + "\\game");
    set(hQuake, 1002, "quake.exe");
    HWND hPaths = page(2);
    set(hPaths, 1022, data + "\\maps");
    set(hPaths, 1023, data + "\\wads");
    set(hPaths, 1004, qc + ";" + qc + "\\monsters;" + qc + "\\lq1");
    set(hPaths, 1024, root + "\\objects");
    Press(hSheet, IDOK);
    // The Bin and Textures folders of the Paths page's defaults are not there: named in one
    // warning, kept.
    int missingWarnings = 0;
    HWND hWads = ed.WaitFor("Select Wads", [&](const std::string& text) {
        if (text.find("These paths of the project do not exist:") != 0 || text.find("\\Bin") == std::string::npos) {
            ADD_FAILURE() << "unexpected box: " << text;
            return OK;
        }
        ++missingWarnings;
        return IDYES;
    });
    EXPECT_EQ(1, missingWarnings);
    ASSERT_NE(hWads, nullptr);
    HWND hList = GetDlgItem(hWads, 1225);
    EXPECT_EQ(4, SendMessageA(hList, LB_GETCOUNT, 0, 0));
    SendMessageA(hList, LB_SETSEL, TRUE, -1);
    Press(hWads, IDOK);
    HWND hMessages = nullptr;
    ed.SettleUntil([](const std::string&) { return OK; }, [&] {
        hMessages = FindChild(hFrame, 4000, "Edit");
        return Text(hFrame) == "Morvane - Untitled.prj" && hMessages &&
               Text(hMessages).find("Loaded 96 entities") != std::string::npos;
    });
    EXPECT_EQ("Morvane - Untitled.prj", Text(hFrame));
    EXPECT_EQ(7, SendMessageA(FindChild(hFrame, 1031, "ListBox"), LB_GETCOUNT, 0, 0));
    ASSERT_NE(hMessages, nullptr);
    EXPECT_NE(std::string::npos, Text(hMessages).find("Loaded 96 entities")) << Text(hMessages);

    // ---- 3. File Open of librequake_e2m2.map through the system's dialog: the kept brushes' box
    // and the missing textures' box, nothing else; four tiled windows.
    ed.boxes.clear();
    PostMessageA(hFrame, WM_COMMAND, 32786, 0);
    HWND hOpen = ed.WaitFor("Open", noBox);
    ASSERT_NE(hOpen, nullptr);
    ChooseFile(hOpen, data + "\\maps\\librequake_e2m2.map");
    ed.SettleUntil([](const std::string&) { return OK; },
                   [&] { return ed.boxes.size() >= 2 && MdiTitles(hFrame).size() == 4; });
    for (const std::string& box : ed.boxes)
        std::printf("[  BOX     ] open: %s\n", box.c_str());
    ASSERT_EQ(2u, ed.boxes.size());
    EXPECT_NE(std::string::npos, ed.boxes[0].find("9")) << ed.boxes[0];
    for (const std::string& box : ed.boxes)
        EXPECT_EQ(std::string::npos, box.find("classname")) << box;
    std::vector<std::string> titles = MdiTitles(hFrame);
    ASSERT_EQ(4u, titles.size());
    // The camera window's caption tells where the camera is.
    EXPECT_EQ(0u, titles[0].find("librequake_e2m2 - (@: ")) << titles[0];
    EXPECT_EQ("librequake_e2m2 - XY (Top) Window", titles[1]);
    EXPECT_EQ("librequake_e2m2 - XZ (Front) Window", titles[2]);
    EXPECT_EQ("librequake_e2m2 - YZ (Right) Window", titles[3]);
    // Each window has drawn the map: its client area is not one colour.
    ed.SettleUntil([](const std::string&) { return OK; }, [&] { return UndrawnChildren(hFrame).empty(); }, 20000);
    for (const std::string& title : UndrawnChildren(hFrame))
        ADD_FAILURE() << "not drawn: " << title;
    // The camera's picture is on the screen. Textured, from the player start it looks down the hall
    // at a light hanging ahead above the eye and a super shotgun lying beyond it, below the eye,
    // both in the middle: their boxes' faces towards the eye are drawn in 0.85 of their classes'
    // colours, light (0 1 0) and weapon_supershotgun (0 .5 .8).
    HWND hClient = FindWindowExA(hFrame, nullptr, "MDIClient", nullptr);
    HWND hCameraFrame = nullptr;
    for (HWND h = GetWindow(hClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (Text(h).find("librequake_e2m2 - (@: ") == 0)
            hCameraFrame = h;
    HWND hCamera = hCameraFrame ? GetDlgItem(hCameraFrame, 0xE900) : nullptr;   // the frame's view
    ASSERT_NE(hCamera, nullptr);
    PostMessageA(hCamera, WM_COMMAND, 32927, 0);   // Textured, from the camera's menu
    const DWORD kLight = 0x00D900, kShotgun = 0x006CAD;
    ed.SettleUntil([](const std::string&) { return OK; }, [&] {
        return RunInMiddleColumn(hCamera, kLight, true) >= 6 && RunInMiddleColumn(hCamera, kShotgun, false) >= 6;
    }, 20000);
    EXPECT_GE(RunInMiddleColumn(hCamera, kLight, true), 6);
    EXPECT_GE(RunInMiddleColumn(hCamera, kShotgun, false), 6);

    // ---- 4. Save As to a new name (No to the undefined-texture question).
    ed.boxes.clear();
    PostMessageA(hFrame, WM_COMMAND, 0xE104, 0);
    HWND hSave = ed.WaitFor("Save As", noBox);
    ASSERT_NE(hSave, nullptr);
    ChooseFile(hSave, root + "\\e2m2_copy.map");
    int entities = 0, brushes = 0;
    ed.SettleUntil([](const std::string&) { return IDNO; }, [&] {
        CountMap(root + "\\e2m2_copy.map", entities, brushes);
        return entities == 527 && brushes == 2731 && ed.Windows("Morvane", "#32770").empty();
    });
    for (const std::string& box : ed.boxes)
        std::printf("[  BOX     ] save as: %s\n", box.c_str());
    EXPECT_EQ(527, entities);
    EXPECT_EQ(2731, brushes);

    // ---- 5. Quit: exit code 0 and the settings written.
    EXPECT_EQ(0u, ed.Quit(hFrame, [](const std::string&) { return IDNO; }));
    EXPECT_EQ(root + "\\Projects\\Untitled.prj", RegString("Options", "Last Project"));
    EXPECT_EQ(root + "\\Projects\\Untitled.prj", RegString("Recent Project List", "Project 1"));
    EXPECT_FALSE(RegString("Recent File List", "File 1").empty());
    EXPECT_TRUE(RegHas("Main Window", "Rectangle"));
    EXPECT_TRUE(RegHas("ToolBarState-Summary", "Bars") || RegHas("ToolBarState-ToolBarManager", "ToolTips") ||
                RegHas("ToolBarState-Bar0", "BarID"));

    // ---- 6. Restart: no Startup window; the recent project and the saved map come back.
    Editor again;
    ASSERT_TRUE(again.Start(ExeBeside("morvane.exe")));
    HWND hTip2 = again.WaitFor("Tip of the Day", noBox);
    ASSERT_NE(hTip2, nullptr);
    EXPECT_TRUE(again.Windows("Startup Window").empty());
    Press(hTip2, 20541);
    hFrame = again.WaitFor("Morvane", noBox);
    ASSERT_NE(hFrame, nullptr);
    // The Output and Resource windows are where they were.
    EXPECT_TRUE(IsWindowVisible(FindChild(hFrame, 4000, "Edit")));
    EXPECT_TRUE(IsWindowVisible(FindChild(hFrame, 1031, "ListBox")));
    PostMessageA(hFrame, WM_COMMAND, 0xE114, 0);   // Recent Project 1
    again.SettleUntil([](const std::string&) { return OK; }, [&] {
        hMessages = FindChild(hFrame, 4000, "Edit");
        return Text(hFrame) == "Morvane - Untitled.prj" && hMessages &&
               Text(hMessages).find("Morvane is ready.") != std::string::npos;
    });
    EXPECT_EQ("Morvane - Untitled.prj", Text(hFrame));
    EXPECT_NE(std::string::npos, Text(hMessages).find("Morvane is ready.")) << Text(hMessages);
    PostMessageA(hFrame, WM_COMMAND, 0xE110, 0);   // Recent Map 1
    again.SettleUntil([](const std::string&) { return OK; }, [&] { return MdiTitles(hFrame).size() == 4; });
    titles = MdiTitles(hFrame);
    ASSERT_EQ(4u, titles.size());
    EXPECT_EQ("e2m2_copy - XY (Top) Window", titles[1]);
    EXPECT_EQ(0u, again.Quit(hFrame, [](const std::string&) { return IDNO; }));
    DeleteFileA((root + "\\e2m2_copy.map").c_str());
}
