// The editor's own road: a project load (entity classes, WADs, the Resource window's lists) and
// opening a map into its four windows, in a real main frame. The settings live in a registry key
// of their own for the run; every box the editor would show is answered at once and counted.
#pragma once
#include "EditorApp.h"
#include "MainFrame.h"
#include "OpenGLView.h"
#include "afxprofile.h"
#include "afxseam.h"
#include "TextureLoader.h"
#include "MapText.h"
#include "BenchProfile.h"
#include "BenchFloor.h"
#include <memory>
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

// The map's own full load (windings and texture lookups in the project's textures), median of
// N runs: the measure an open into the windows is set beside. Its messages are gathered as an
// open gathers them, so that the figure is the reading alone.
double MapFullLoad(const char* path, int runs)
{
    std::vector<char> text;
    if (!ReadFile(path, text))
        return 0;
    std::vector<double> loads;
    for (int r = 0; r < runs; ++r) {
        std::vector<char> buffer(text);
        buffer.push_back(0);
        buffer.push_back(0);
        CMapStringToPtr missing;
        SetMissingTextureSet(&missing);
        Map map;
        double t0 = Now();
        map.ParseMapText(buffer.data(), text.size());
        loads.push_back((Now() - t0) * 1000.0);
        SetMissingTextureSet(nullptr);
        FreeMissingTextureSet(missing);
    }
    return Median(loads);
}

// The project's four WADs loaded into a texture map of their own, median of N runs: what a
// project load is set beside. Their lines go nowhere (the reading alone, as the WAD figure of
// the map benchmark); the editor's services, reporter and loader are put back after.
double WadsAlone(const char* data, int runs)
{
    const char* wads[] = {"lq_dev.wad", "lq_liquidsky.wad", "lq_mayan.wad", "lq_utility.wad"};
    CTextureSource* installed = GetTextureSource();
    CEditorServices* editorServices = GetEditorServices();
    CReporter* editorReporter = CReporter::Get();
    CConsoleServices quiet;
    quiet.quiet = true;
    CReporter reporter(&quiet);
    SetEditorServices(&quiet);
    CReporter::Set(&reporter);
    std::vector<double> loads;
    for (int r = 0; r < runs; ++r) {
        double t0 = Now();
        {
            CTextureLoader loader;
            for (const char* w : wads)
                loader.LoadWad(CString(data) + "\\wads\\" + w);
        }
        loads.push_back((Now() - t0) * 1000.0);
    }
    CReporter::Set(editorReporter);
    SetEditorServices(editorServices);
    SetTextureSource(installed);
    return Median(loads);
}

// The path of a map of the data folder.
CString DataMap(const char* data, const char* name)
{
    return CString(data) + "\\maps\\" + name;
}

void PrintRuns(const char* name, const std::vector<double>& wall, const std::vector<double>& cpu, double base,
               const char* baseName)
{
    std::vector<double> sorted(wall);
    std::sort(sorted.begin(), sorted.end());
    if (sorted.empty())
        return;
    const double median = Median(wall);
    std::printf("%-25s %9.2f ms median, slowest %.2f ms (%.2f times the median), %.2f ms processor time "
                "(%d runs)\n",
                name, median, sorted.back(), median > 0 ? sorted.back() / median : 0.0, Median(cpu),
                static_cast<int>(wall.size()));
    if (base > 0)
        std::printf("%-25s %9.2f times %s (%.2f ms)\n", "", median / base, baseName, base);
    std::printf("%-25s ", "  runs");
    for (double t : wall)
        std::printf(" %.1f", t);
    std::printf("\n");
}

// The OpenGL driver is loaded once in a run of the editor, by its first OpenGL window (the
// first camera window): loaded here before the timing, and timed apart, so that each timed open
// stands for any open of a map but the first of the run. A context of the camera's own
// description on a hidden window, one frame cleared, and all of it taken down again.
double LoadOpenGLDriver()
{
    double t0 = Now();
    HWND hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_DISABLED, 0, 0, 16, 16, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    HDC hDC = hWnd ? ::GetDC(hWnd) : nullptr;
    PIXELFORMATDESCRIPTOR pfd = COpenGLView::DefaultPixelFormat();
    int format = hDC ? ::ChoosePixelFormat(hDC, &pfd) : 0;
    if (format && ::SetPixelFormat(hDC, format, &pfd)) {
        if (HGLRC hRC = ::wglCreateContext(hDC)) {
            if (::wglMakeCurrent(hDC, hRC)) {
                ::glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                ::glFinish();
                ::wglMakeCurrent(nullptr, nullptr);
            }
            ::wglDeleteContext(hRC);
        }
    }
    if (hDC)
        ::ReleaseDC(hWnd, hDC);
    if (hWnd)
        ::DestroyWindow(hWnd);
    return (Now() - t0) * 1000.0;
}

// data: the shared data folder; map: a map in it. figures: 'W' the repeated WAD, 'C' the classes.
// profile: the opens are sampled (program addresses with their counts, calls into the system
// counted at the program's call).
int BenchShell(const char* data, const char* mapPath, int runs, const char* figures = "", bool profile = false)
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
    const double driver = mapPath ? LoadOpenGLDriver() : 0.0;
    std::vector<double> loads, loadsCpu, opens, opensCpu, drawn, drawnCpu;
    int textures = 0, classes = 0;
    std::unique_ptr<CBenchProfile> sampler;
    for (int r = 0; r < runs; ++r) {
        double t0 = Now();
        double c0 = CpuNow();
        pFrame->OpenProject(project);
        loadsCpu.push_back((CpuNow() - c0) * 1000.0);
        loads.push_back((Now() - t0) * 1000.0);
        auto* pLoader = dynamic_cast<CTextureLoader*>(GetTextureSource());
        textures = pLoader ? static_cast<int>(pLoader->GetTextureMap().GetCount()) : 0;
        classes = static_cast<int>(app.m_entityClasses.GetCount());
        if (mapPath) {
            if (profile && !sampler)
                sampler.reset(new CBenchProfile);
            t0 = Now();
            c0 = CpuNow();
            pFrame->OpenMap(mapPath, VIEW_ALL_FOUR);
            opensCpu.push_back((CpuNow() - c0) * 1000.0);
            opens.push_back((Now() - t0) * 1000.0);
            // What the open left for the message loop (paints of windows not drawn yet).
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            drawnCpu.push_back((CpuNow() - c0) * 1000.0);
            drawn.push_back((Now() - t0) * 1000.0);
            if (sampler)
                sampler->Stop();
            app.CloseAllDocuments(FALSE);
        }
        pFrame->CloseProject();
    }
    std::printf("project load              %d classes, %d textures\n", classes, textures);
    PrintRuns("project load", loads, loadsCpu, WadsAlone(data, runs), "loading its four WADs alone");
    if (mapPath) {
        pFrame->OpenProject(project);
        double full = MapFullLoad(mapPath, runs);
        pFrame->CloseProject();
        std::printf("open into four windows    %s\n", mapPath);
        std::printf("%-25s %9.2f ms, once in a run of the editor: before the timing\n", "  OpenGL driver loaded", driver);
        PrintRuns("open into four windows", opens, opensCpu, full, "the map's full load");
        PrintRuns("  and the messages it left", drawn, drawnCpu, full, "the map's full load");
        RECT frameRect;
        pFrame->GetWindowRect(&frameRect);
        const double bare = BenchBareWindows(frameRect, runs);
        if (full > 0)
            std::printf("%-25s %9.2f times the map's full load\n", "", bare / full);
    }
    if (sampler) {
        std::printf("opens ");
        sampler->Print(stdout, 60);
    }
    if (std::strchr(figures, 'W'))
        BenchRepeatedWad(pFrame, data, runs);
    if (std::strchr(figures, 'C'))
        BenchClassLoads(app, pFrame, runs);
    // Closing the editor with two maps open in their windows, nothing to save: from the close
    // of the main window to the end of the program's own clearing up. The close hides the main
    // window first; on a display without a window manager (Xvfb) the system then waits up to 2 s
    // for one to answer, so the hiding is timed apart and the rest is the editor's own time.
    pFrame->OpenProject(project);
    pFrame->OpenMap(DataMap(data, "librequake_e2m2.map"), VIEW_ALL_FOUR);
    pFrame->OpenMap(DataMap(data, "e3m5.map"), VIEW_ALL_FOUR);
    double t0 = Now();
    double c0 = CpuNow();
    if (app.m_pMainWnd)
        app.m_pMainWnd->ShowWindow(SW_HIDE);
    const double hidden = Now(), hiddenCpu = CpuNow();
    if (app.m_pMainWnd)
        app.m_pMainWnd->SendMessage(WM_CLOSE);
    app.ExitInstance();
    std::printf("close with e2m2 and e3m5  %9.2f ms, %.2f ms processor time; hiding the main window before it "
                "%.2f ms, %.2f ms processor time\n",
                (Now() - hidden) * 1000.0, (CpuNow() - hiddenCpu) * 1000.0, (hidden - t0) * 1000.0,
                (hiddenCpu - c0) * 1000.0);
    std::printf("boxes answered            %d\n", boxes);
    ::DeleteFileA(project);
    return 0;
}

} // namespace
