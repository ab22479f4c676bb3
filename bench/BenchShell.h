// The editor's own road: a project load (entity classes, WADs, the Resource window's lists) and
// opening a map into its four windows, in a real main frame. The settings live in a registry key
// of their own for the run; every box the editor would show is answered at once and counted.
#pragma once
#include "EditorApp.h"
#include "MainFrame.h"
#include "afxprofile.h"
#include "afxseam.h"
#include "TextureLoader.h"
#include "EntityClasses.h"
#include <cstring>
#include <string>
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

// A project file of the given text in the temporary folder.
CString WriteTempProject(LPCSTR name, const std::string& text)
{
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    CString path = CString(tmp) + name;
    std::ofstream(static_cast<LPCSTR>(path), std::ios::binary) << text;
    return path;
}

// A project listing the same WAD 200 times: every texture after the first entry's is told once
// more, and each of those lines goes to the Messages pane.
void BenchRepeatedWad(CMainFrame* pFrame, const CString& data, int runs)
{
    std::string text = "[Wads]\r\n";
    for (int n = 1; n <= 200; ++n)
        text += "File" + std::to_string(n) + "=" + std::string(data) + "\\wads\\lq_utility.wad\r\n";
    CString project = WriteTempProject("morvane_bench_repeated.prj", text);
    std::vector<double> loads;
    for (int r = 0; r < runs; ++r) {
        double t0 = Now();
        pFrame->OpenProject(project);
        loads.push_back((Now() - t0) * 1000.0);
        pFrame->CloseProject();
    }
    std::printf("200 entries of one WAD    %9.2f ms median project load (%d runs)\n", Median(loads), runs);
    ::DeleteFileA(project);
}

// Loading N entity classes as a project load does (the reader, the Entity Editor's pens and
// tree), for N = 1,000, 3,000 and 10,000 generated definitions: the time should grow with N.
void BenchClassLoads(CEditorApp& app, CMainFrame* pFrame, int runs)
{
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    CString dir = CString(tmp) + "morvane_bench_qc";
    ::CreateDirectoryA(dir, nullptr);
    CString qc = dir + "\\classes.qc";
    CString project = WriteTempProject("morvane_bench_classes.prj", "[Paths]\r\n");
    // Names in a hundred groups (monster_..., item_..., as real sets are), and names of no group
    // at all, all side by side in the class tree; point and brush classes alternate.
    for (int grouped : {1, 0})
    for (int count : {1000, 3000, 10000}) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            char name[64], line[160];
            if (grouped)
                std::snprintf(name, sizeof name, "group%d_class%d", i % 100, i);
            else
                std::snprintf(name, sizeof name, "class%d", i);
            if (i % 2)
                std::snprintf(line, sizeof line, "/*QUAKED %s (0 .5 .8) ? FLAG_A FLAG_B\n", name);
            else
                std::snprintf(line, sizeof line, "/*QUAKED %s (1 0 0) (-16 -16 -24) (16 16 32) AMBUSH\n", name);
            text += line;
            text += "Help of this class.\n*/\n\n";
        }
        std::ofstream(static_cast<LPCSTR>(qc), std::ios::binary) << text;
        pFrame->OpenProject(project);
        GetEditorServices()->GetProject()->WriteString("Paths", "Entities", dir, TRUE);
        // Processor time as well: on a shared machine the wall clock counts the waits too.
        std::vector<double> reads, loads, cpu;
        for (int r = 0; r < runs; ++r) {
            CEntityClassMap classes;
            double t0 = Now();
            CEntityClassReader(classes).ScanEntityDirectories();
            reads.push_back((Now() - t0) * 1000.0);
            t0 = Now();
            double c0 = CpuNow();
            pFrame->LoadProjectEntityClasses();
            cpu.push_back((CpuNow() - c0) * 1000.0);
            loads.push_back((Now() - t0) * 1000.0);
        }
        std::printf("%6d classes, %-8s  %9.2f ms median load, %.2f ms processor time (%.2f ms reading; %d loaded, "
                    "%d runs)\n",
                    count, grouped ? "grouped" : "flat", Median(loads), Median(cpu), Median(reads),
                    static_cast<int>(app.m_entityClasses.GetCount()), runs);
        GetEditorServices()->GetProject()->SetDirty(FALSE);
        pFrame->CloseProject();
    }
    ::DeleteFileA(qc);
    ::RemoveDirectoryA(dir);
    ::DeleteFileA(project);
}

// data: the shared data folder; map: a map in it. figures: 'W' the repeated WAD, 'C' the classes.
int BenchShell(const char* data, const char* mapPath, int runs, const char* figures = "")
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
    if (std::strchr(figures, 'W'))
        BenchRepeatedWad(pFrame, data, runs);
    if (std::strchr(figures, 'C'))
        BenchClassLoads(app, pFrame, runs);
    std::printf("boxes answered            %d\n", boxes);
    if (app.m_pMainWnd)
        app.m_pMainWnd->SendMessage(WM_CLOSE);
    app.ExitInstance();
    ::DeleteFileA(project);
    return 0;
}

} // namespace
