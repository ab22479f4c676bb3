// The texture browser: filling it with a WAD's textures (the load message from an empty browser:
// loading, the sorted list, the grid), one full paint of the thumbnail window at 64 pixels, and
// painting every page from the top to the bottom at 64 and at 256 pixels.
#pragma once
#include "IniFile.h"
#include "TextureBrowser.h"
#include <memory>

// Paints the thumbnail window as its WM_PAINT does: off screen, then onto the window.
inline void BenchPaint(CTextureWnd* wnd)
{
    wnd->Invalidate(FALSE);
    wnd->UpdateWindow();
}

// Every page from the top to the bottom; returns the number of pages. painting: the time spent
// painting alone (the rest is scrolling).
inline int BenchPaintPages(CTextureBrowser& browser, UINT sizeCommand, double& painting)
{
    browser.SendMessage(WM_COMMAND, sizeCommand);
    HWND bar = ::GetDlgItem(browser.m_hWnd, IDC_TEXTURE_SCROLL);
    browser.SendMessage(WM_VSCROLL, SB_TOP, (LPARAM)bar);
    int pages = 0;
    for (int last = -1; browser.GetScrollPosition() != last;) {
        last = browser.GetScrollPosition();
        double t0 = Now();
        BenchPaint(browser.GetTextureWnd());
        painting += Now() - t0;
        ++pages;
        browser.SendMessage(WM_VSCROLL, SB_PAGEDOWN, (LPARAM)bar);
    }
    return pages;
}

inline int BenchBrowser(const char* wad, int runs, bool& quiet)
{
    if (!wad)
        return 0;
    char full[MAX_PATH];
    if (!::GetFullPathNameA(wad, MAX_PATH, full, nullptr))
        return 1;
    // The window layer needs an application object; the later figures make their own.
    std::unique_ptr<CWinApp> app;
    if (AfxGetApp() == nullptr)
        app.reset(new CWinApp);
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    CString projectPath = CString(temp) + "morvane_bench.mpj";
    std::unique_ptr<CIniFile> project(new CIniFile(projectPath));
    project->RemoveSection("Wads");
    project->WriteString("Wads", "File1", full, TRUE);
    static_cast<CDefaultEditorServices*>(GetEditorServices())->SetProject(project.get());

    CWnd host;
    if (!host.CreateEx(0, AfxRegisterWndClass(0), "Textures", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 900, nullptr,
                       nullptr))
        return 1;
    CRect rc;
    host.GetClientRect(&rc);
    double fill = 0, paint = 0, pages64 = 0, pages256 = 0, paint64 = 0, paint256 = 0;
    int listed = 0, n64 = 0, n256 = 0, columns = 0, rows = 0;
    for (int r = 0; r < runs; ++r) {
        quiet = r > 0;
        CTextureLoader loader;
        SetTextureSource(&loader);
        {
            CTextureBrowser browser(&loader);
            browser.Create(&host);
            browser.MoveWindow(0, 0, rc.Width(), rc.Height());
            browser.ShowWindow(SW_SHOW);
            browser.SendMessage(WM_TEXTURE_INIT);
            double t0 = Now();
            browser.SendMessage(WM_TEXTURE_LOAD);
            fill += Now() - t0;
            listed = static_cast<int>(::SendDlgItemMessageA(browser.m_hWnd, IDC_TEXTURE_LIST, CB_GETCOUNT, 0, 0));
            columns = browser.GetGrid().columns;
            rows = browser.GetGrid().visibleRows;
            t0 = Now();
            BenchPaint(browser.GetTextureWnd());
            paint += Now() - t0;
            t0 = Now();
            n64 = BenchPaintPages(browser, ID_TEXTURE_SIZE_64, paint64);
            pages64 += Now() - t0;
            t0 = Now();
            n256 = BenchPaintPages(browser, ID_TEXTURE_SIZE_256, paint256);
            pages256 += Now() - t0;
        }
        SetTextureSource(nullptr);
    }
    quiet = false;
    static_cast<CDefaultEditorServices*>(GetEditorServices())->SetProject(nullptr);
    project.reset();
    ::DeleteFileA(projectPath);
    host.DestroyWindow();
    std::printf("browser %s: %d textures listed, window %dx%d, S 64: %d columns x %d rows per page, %d runs\n", wad,
                listed, rc.Width(), rc.Height(), columns, rows, runs);
    std::printf("  %-22s %9.3f ms\n", "fill (load message)", fill / runs * 1000);
    std::printf("  %-22s %9.3f ms\n", "one paint at 64", paint / runs * 1000);
    std::printf("  %-22s %9.3f ms for %d pages, %.3f ms per page (painting alone %.3f ms per page)\n",
                "every page at 64", pages64 / runs * 1000, n64, pages64 / runs * 1000 / (n64 ? n64 : 1),
                paint64 / runs * 1000 / (n64 ? n64 : 1));
    std::printf("  %-22s %9.3f ms for %d pages, %.3f ms per page (painting alone %.3f ms per page)\n",
                "every page at 256", pages256 / runs * 1000, n256, pages256 / runs * 1000 / (n256 ? n256 : 1),
                paint256 / runs * 1000 / (n256 ? n256 : 1));
    return 0;
}
