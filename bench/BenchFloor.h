// What the system alone takes to make four MDI child windows, tile them and paint them once, with
// no program code in between: a frame of the main frame's size holding an MDI client, four
// children each holding a view with scroll bars that fills itself with one brush. An open of a map
// into its four windows cannot take less than this on the same system and display.
#pragma once
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

LRESULT CALLBACK FloorViewProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(hWnd, &ps);
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK FloorChildProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SIZE) {
        if (HWND hView = ::GetWindow(hWnd, GW_CHILD))
            ::MoveWindow(hView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    }
    return ::DefMDIChildProcA(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK FloorFrameProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND hClient = ::GetWindow(hWnd, GW_CHILD);
    if (msg == WM_SIZE && hClient) {
        ::MoveWindow(hClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    return ::DefFrameProcA(hWnd, hClient, msg, wParam, lParam);
}

// Prints the medians of N runs (making, tiling, painting) and answers the whole run's median.
double BenchBareWindows(const RECT& frameRect, int runs)
{
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpfnWndProc = FloorFrameProc;
    wc.lpszClassName = "MorvaneBenchFloorFrame";
    ::RegisterClassA(&wc);
    wc.lpfnWndProc = FloorChildProc;
    wc.lpszClassName = "MorvaneBenchFloorChild";
    ::RegisterClassA(&wc);
    wc.lpfnWndProc = FloorViewProc;
    wc.lpszClassName = "MorvaneBenchFloorView";
    ::RegisterClassA(&wc);
    HWND hFrame = ::CreateWindowExA(0, "MorvaneBenchFloorFrame", "Floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                    frameRect.left, frameRect.top, frameRect.right - frameRect.left,
                                    frameRect.bottom - frameRect.top, nullptr, nullptr, hInst, nullptr);
    if (!hFrame)
        return 0;
    CLIENTCREATESTRUCT ccs = {};
    RECT rc;
    ::GetClientRect(hFrame, &rc);
    HWND hClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                     WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0,
                                     rc.right, rc.bottom, hFrame, nullptr, hInst, &ccs);
    ::ShowWindow(hFrame, SW_SHOWNORMAL);
    ::UpdateWindow(hFrame);
    auto pump = [] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    };
    pump();
    std::vector<double> made, tiled, painted, total;
    for (int r = 0; r < runs && hClient; ++r) {
        const double t0 = Now();
        HWND children[4] = {};
        for (HWND& hChild : children) {
            MDICREATESTRUCTA mcs = {};
            mcs.szClass = "MorvaneBenchFloorChild";
            mcs.szTitle = "map";
            mcs.hOwner = hInst;
            mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
            mcs.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
            hChild = reinterpret_cast<HWND>(::SendMessageA(hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
            if (!hChild)
                continue;
            ::GetClientRect(hChild, &rc);
            ::CreateWindowExA(WS_EX_CLIENTEDGE, "MorvaneBenchFloorView", "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                              0, 0, rc.right, rc.bottom, hChild, nullptr, hInst, nullptr);
        }
        const double t1 = Now();
        ::SendMessageA(hClient, WM_MDITILE, MDITILE_VERTICAL, 0);
        const double t2 = Now();
        ::RedrawWindow(hClient, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const double t3 = Now();
        made.push_back((t1 - t0) * 1000.0);
        tiled.push_back((t2 - t1) * 1000.0);
        painted.push_back((t3 - t2) * 1000.0);
        total.push_back((t3 - t0) * 1000.0);
        for (HWND hChild : children)
            if (hChild)
                ::SendMessageA(hClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hChild), 0);
        pump();
    }
    ::DestroyWindow(hFrame);
    pump();
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    std::printf("%-25s %9.2f ms median: making %.2f, tiling %.2f, painting %.2f (%d runs)\n",
                "four bare MDI windows", median(total), median(made), median(tiled), median(painted), runs);
    return median(total);
}

} // namespace
