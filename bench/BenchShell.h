// The editor's own road: a project load (entity classes, WADs, the Resource window's lists) and
// opening a map into its four windows, in a real main frame. The settings live in a registry key
// of their own for the run; every box the editor would show is answered at once and counted.
#pragma once
#include "EditorApp.h"
#include "MainFrame.h"
#include "afxprofile.h"
#include "afxseam.h"
#include "TextureLoader.h"
#include <algorithm>
#include <fstream>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// A project of the data folder: its maps, its four WADs and the librequake classes.
CString WriteShellProject(const CString& data)
{
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    CString path = CString(tmp) + "morvane_bench_shell.prj";
    std::ofstream out(static_cast<LPCSTR>(path), std::ios::binary);
    CString qc = data + "\\qc\\librequake";
    out << "[Paths]\r\nMaps=" << static_cast<LPCSTR>(data) << "\\maps\r\nWads=" << static_cast<LPCSTR>(data)
        << "\\wads\r\nEntities=" << static_cast<LPCSTR>(qc) << ";" << static_cast<LPCSTR>(qc) << "\\monsters;"
        << static_cast<LPCSTR>(qc) << "\\lq1\r\n[Wads]\r\n";
    const char* wads[] = {"lq_dev.wad", "lq_liquidsky.wad", "lq_mayan.wad", "lq_utility.wad"};
    for (int i = 0; i < 4; ++i)
        out << "File" << (i + 1) << "=" << static_cast<LPCSTR>(data) << "\\wads\\" << wads[i] << "\r\n";
    return path;
}

// data: the shared data folder; map: a map in it.
int BenchShell(const char* data, const char* mapPath, int runs)
{
    if (!data)
        return 0;
    CProfileTestRoot settings;
    AfxSeamSetActive(TRUE);
    int boxes = 0;
    AfxSeamSetUnexpectedHandler([&boxes](const AfxModalCall&) { ++boxes; });
    CEditorApp app;
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    app.SetRegistryKey("Morvane");
    app.WriteProfileInt("Startup", "Show At Startup", 0);
    app.WriteProfileInt("Tips", "Show At Startup", 0);
    if (!app.InitInstance()) {
        std::fprintf(stderr, "the editor did not start\n");
        return 1;
    }
    CMainFrame* pFrame = app.GetMainFrame();
    app.WriteProfileString("Project Settings", "Root Path", data);
    CString project = WriteShellProject(data);
    std::vector<double> loads, opens;
    int textures = 0, classes = 0;
    for (int r = 0; r < runs; ++r) {
        double t0 = Now();
        pFrame->OpenProject(project);
        loads.push_back((Now() - t0) * 1000.0);
        auto* pLoader = dynamic_cast<CTextureLoader*>(GetTextureSource());
        textures = pLoader ? static_cast<int>(pLoader->GetTextureMap().GetCount()) : 0;
        classes = static_cast<int>(app.m_entityClasses.GetCount());
        if (mapPath) {
            t0 = Now();
            pFrame->OpenMap(mapPath, VIEW_ALL_FOUR);
            opens.push_back((Now() - t0) * 1000.0);
            app.CloseAllDocuments(FALSE);
        }
        pFrame->CloseProject();
    }
    std::printf("project load              %9.2f ms median (%d runs, %d classes, %d textures)\n", Median(loads), runs,
                classes, textures);
    if (mapPath)
        std::printf("open into four windows    %9.2f ms median (%s)\n", Median(opens), mapPath);
    std::printf("boxes answered            %d\n", boxes);
    if (app.m_pMainWnd)
        app.m_pMainWnd->SendMessage(WM_CLOSE);
    app.ExitInstance();
    ::DeleteFileA(project);
    return 0;
}

} // namespace
