#include <windows.h>
#include "../res/resource.h"

static LRESULT CALLBACK MainProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DESTROY) { PostQuitMessage(0); return 0; }
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = inst;
    wc.lpszClassName = "MorvaneMainFrame";
    wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    RegisterClassA(&wc);
    HWND h = CreateWindowA("MorvaneMainFrame", "Morvane", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           800, 600, nullptr, LoadMenuA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME)), inst, nullptr);
    ShowWindow(h, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) { TranslateMessage(&msg); DispatchMessageA(&msg); }
    return (int)msg.wParam;
}
