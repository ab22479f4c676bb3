// Opening maps needs a project: the open tests run inside an empty one of their own.
#pragma once
#include "EditorApp.h"
#include "MainFrame.h"
#include <cstdio>

namespace shelltest {

// Writes an empty project (a "Paths" section only) as the temporary directory's file `name`,
// roots it at `root` and opens it. Returns its path, empty when it could not be opened.
inline CString OpenEmptyProject(CEditorApp& app, LPCSTR name, LPCSTR root)
{
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    CString path = CString(tmp) + name;
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return CString();
    std::fputs("[Paths]\n", f);
    std::fclose(f);
    app.WriteProfileString("Project Settings", "Root Path", root);
    return app.GetMainFrame()->OpenProject(path) ? path : CString();
}

} // namespace shelltest

namespace shelltest {

// Settings for a start without the Startup window and the tip of the day (the tests of those
// turn them on themselves).
inline void QuietStart(CWinApp& app)
{
    app.SetRegistryKey("Morvane");
    app.WriteProfileInt("Startup", "Show At Startup", 0);
    app.WriteProfileInt("Tips", "Show At Startup", 0);
}

} // namespace shelltest

#include "afxtest.h"
#include <vector>

namespace shelltest {

// What a project load reports in boxes when the project's material is not all there: WADs that
// cannot be read, no WADs, no maps, no objects; and what opening a map without its WADs reports.
// Tests about other things take these as given.
inline bool IsLoadReport(const AfxModalCall& call)
{
    static const char* const prefixes[] = {"Couldn't open ", "No valid wads were found", "No wads are currently",
                                           "No maps were found", "No objects were found", "No map paths",
                                           "No object paths", "No wad paths",
                                           // and what a map open says of a map without its WADs
                                           "The map file doesn't have a wad key", "Some textures were not found"};
    if (call.kind != AFX_MODAL_MESSAGEBOX || call.text.Find("Couldn't open file ") == 0)
        return false;
    for (const char* p : prefixes)
        if (call.text.Find(p) == 0)
            return true;
    return false;
}

// Load reports that no step answered pass; any other unscripted request fails the test.
inline void TolerateLoadReports()
{
    AfxSeamSetUnexpectedHandler([](const AfxModalCall& call) {
        if (!IsLoadReport(call))
            ADD_FAILURE() << "unexpected modal request (no scripted answer): \"" << (LPCSTR)call.text << "\" "
                          << (LPCSTR)call.className;
    });
}

// The requests so far without the load reports.
inline std::vector<AfxModalCall> Calls()
{
    std::vector<AfxModalCall> calls;
    for (const AfxModalCall& c : AfxSeamCalls())
        if (!IsLoadReport(c))
            calls.push_back(c);
    return calls;
}

} // namespace shelltest

namespace shelltest {

// A map of one 64-unit cube brush in the world.
inline const char* CubeMap()
{
    return "{\n\"classname\" \"worldspawn\"\n{\n"
           "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\n"
           "( 64 0 0 ) ( 64 0 64 ) ( 64 64 0 ) WALL 0 0 0 1 1\n"
           "( 0 0 0 ) ( 0 0 64 ) ( 64 0 0 ) WALL 0 0 0 1 1\n"
           "( 0 64 0 ) ( 64 64 0 ) ( 0 64 64 ) WALL 0 0 0 1 1\n"
           "( 0 0 0 ) ( 64 0 0 ) ( 0 64 0 ) WALL 0 0 0 1 1\n"
           "( 0 0 64 ) ( 0 64 64 ) ( 64 0 64 ) WALL 0 0 0 1 1\n"
           "}\n}\n";
}

// Ends the editor a test started: a modified map is not saved; load reports pass.
inline void CloseEditor(CWinApp& app)
{
    if (app.m_pMainWnd != nullptr) {
        AfxSeamReset();
        TolerateLoadReports();
        AfxSeamAnswer(IDNO);
        app.m_pMainWnd->SendMessage(WM_CLOSE);
    }
    afxtest::DrainQuit();
    AfxSeamReset();
}

} // namespace shelltest
