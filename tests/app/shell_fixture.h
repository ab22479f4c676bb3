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
