#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, WindowGetsCreateMessage)
{
    static int creates = 0;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CREATE) ++creates;
        return DefWindowProcA(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SmokeWnd";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND h = CreateWindowA("SmokeWnd", "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(creates, 1);
    DestroyWindow(h);
}
