// Synthesized input for tests of windows.
#include "afxwndtest.h"
#include "afxtest.h"
#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace afxtest {

namespace {

void SendMouse(DWORD dwFlags, CPoint pt)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    // Absolute coordinates are in 65536ths of the screen; the rounding lands on pixel pt.
    in.mi.dx = (pt.x * 65536 + 65535) / ::GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = (pt.y * 65536 + 65535) / ::GetSystemMetrics(SM_CYSCREEN);
    in.mi.dwFlags = dwFlags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &in, sizeof in);
}

void SendKey(BYTE vk, bool bUp)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)::MapVirtualKeyA(vk, 0);
    in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

} // namespace

InputScript& InputScript::MoveTo(CPoint ptScreen)
{
    m_steps.push_back({Step::move, ptScreen, false, 0, 0});
    m_ptEnd = ptScreen;
    return *this;
}

InputScript& InputScript::MoveInSteps(CPoint ptScreen, int nSteps)
{
    CPoint ptStart = m_ptEnd;
    if (ptStart.x < 0)
        ::GetCursorPos(&ptStart);
    for (int i = 1; i <= nSteps; i++)
        MoveTo(CPoint(ptStart.x + (ptScreen.x - ptStart.x) * i / nSteps,
                      ptStart.y + (ptScreen.y - ptStart.y) * i / nSteps));
    return *this;
}

InputScript& InputScript::Down(bool bRight)
{
    m_steps.push_back({Step::down, m_ptEnd, bRight, 0, 0});
    return *this;
}

InputScript& InputScript::Up(bool bRight)
{
    m_steps.push_back({Step::up, m_ptEnd, bRight, 0, 0});
    return *this;
}

InputScript& InputScript::KeyDown(BYTE vk)
{
    m_steps.push_back({Step::keyDown, m_ptEnd, false, vk, 0});
    return *this;
}

InputScript& InputScript::KeyUp(BYTE vk)
{
    m_steps.push_back({Step::keyUp, m_ptEnd, false, vk, 0});
    return *this;
}

InputScript& InputScript::Pause(DWORD nMs)
{
    m_steps.push_back({Step::pause, m_ptEnd, false, 0, nMs});
    return *this;
}

InputScript& InputScript::WaitUntil(std::function<bool()> pred)
{
    m_steps.push_back({Step::until, m_ptEnd, false, 0, 0, std::move(pred)});
    return *this;
}

BOOL InputScript::Run(DWORD nStepMs, DWORD nTimeoutMs)
{
    std::atomic<bool> bDone{false};
    std::vector<Step> steps = m_steps;
    std::atomic<bool> bGiveUp{false};
    std::thread player([&] {
        for (const Step& step : steps) {
            switch (step.kind) {
            case Step::move: SendMouse(0, step.pt); break;
            case Step::down: SendMouse(step.bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, step.pt); break;
            case Step::up: SendMouse(step.bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, step.pt); break;
            case Step::keyDown: SendKey(step.vk, false); break;
            case Step::keyUp: SendKey(step.vk, true); break;
            case Step::pause: ::Sleep(step.nMs); break;
            case Step::until:
                // The state decides; the sleep only paces the polling, and the script's timeout
                // (which sets bGiveUp) is the safety net.
                while (!bGiveUp.load() && !step.pred())
                    ::Sleep(5);
                break;
            }
            ::Sleep(nStepMs);
        }
        bDone = true;
    });
    BOOL bFinished = WaitFor([&] { return bDone.load(); }, nTimeoutMs) ? TRUE : FALSE;
    bGiveUp = true;
    player.join();
    // What the last steps caused.
    for (int i = 0; i < 5; i++) {
        PumpMessages();
        ::Sleep(10);
    }
    m_steps.clear();
    return bFinished;
}

BOOL Drag(CPoint ptFrom, CPoint ptTo, int nSteps)
{
    InputScript script;
    script.MoveTo(ptFrom).Down().MoveInSteps(ptTo, nSteps).Up();
    return script.Run();
}

BOOL DoubleClick(CPoint ptScreen)
{
    InputScript script;
    script.MoveTo(ptScreen).DoubleClick();
    return script.Run(10);
}

std::string Text(const RECT& rect)
{
    char sz[80];
    snprintf(sz, sizeof sz, "(%ld,%ld)-(%ld,%ld)", (long)rect.left, (long)rect.top, (long)rect.right,
             (long)rect.bottom);
    return sz;
}

std::string Text(const POINT& pt)
{
    char sz[40];
    snprintf(sz, sizeof sz, "(%ld,%ld)", (long)pt.x, (long)pt.y);
    return sz;
}

std::string Text(const SIZE& size)
{
    char sz[40];
    snprintf(sz, sizeof sz, "%ldx%ld", (long)size.cx, (long)size.cy);
    return sz;
}

RegistryProfile::RegistryProfile()
{
    CWinApp* pApp = AfxGetApp();
    m_bHadKey = pApp->m_pszRegistryKey != nullptr;
    m_bHadProfile = pApp->m_pszProfileName != nullptr;
    m_strKey = m_bHadKey ? pApp->m_pszRegistryKey : "";
    m_strProfile = m_bHadProfile ? pApp->m_pszProfileName : "";
    // Test programs run side by side: each keeps its settings under a key of its own, so one
    // program's project paths never reach another's.
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const char* pszName = strrchr(szPath, '\\');
    CString key = "Morvane Tests\\";
    key += pszName ? pszName + 1 : szPath;
    pApp->SetRegistryKey(key);
}

RegistryProfile::~RegistryProfile()
{
    CWinApp* pApp = AfxGetApp();
    free(const_cast<char*>(pApp->m_pszRegistryKey));
    free(const_cast<char*>(pApp->m_pszProfileName));
    pApp->m_pszRegistryKey = m_bHadKey ? _strdup(m_strKey) : nullptr;
    pApp->m_pszProfileName = m_bHadProfile ? _strdup(m_strProfile) : nullptr;
}

BOOL Activate(CWnd* pWnd)
{
    pWnd->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(pWnd->m_hWnd);
    ::SetActiveWindow(pWnd->m_hWnd);
    return WaitFor([&] { return ::GetForegroundWindow() == pWnd->m_hWnd; }, 2000) ? TRUE : FALSE;
}

CFrameWnd* MakeFrameWithView(CView* pView, CRect rect, CFrameWnd* pFrame)
{
    if (pFrame == nullptr)
        pFrame = new CFrameWnd;
    if (!pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect)) {
        delete pFrame;
        return nullptr;
    }
    if (!pView->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pFrame, AFX_IDW_PANE_FIRST)) {
        pFrame->DestroyWindow();
        return nullptr;
    }
    pFrame->SetActiveView(pView);
    pFrame->RecalcLayout();
    return pFrame;
}

int LiveGdiObjects()
{
    DWORD nSystem = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (nSystem != 0)
        return (int)nSystem;
    // A handle's low word is its slot in the table; without the high word (the slot's reuse
    // count) the slot's current object answers, whatever its generation.
    int nLive = 0;
    for (UINT_PTR nSlot = 1; nSlot <= 0xFFFF; ++nSlot)
        if (::GetObjectType((HGDIOBJ)nSlot) != 0)
            ++nLive;
    return nLive;
}

namespace {

BOOL CALLBACK CountWindow(HWND hWnd, LPARAM lParam)
{
    // The system's input method window comes and goes with the thread's first and last window.
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (lstrcmpiA(szClass, "IME") == 0)
        return TRUE;
    ++*(int*)lParam;
    ::EnumChildWindows(hWnd, [](HWND, LPARAM l) -> BOOL { ++*(int*)l; return TRUE; }, lParam);
    return TRUE;
}

} // namespace

int LiveWindows()
{
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, (LPARAM)&n);
    return n;
}

CStandInPrinter::Page DrawViewPage(CView* pView)
{
    CRect client;
    pView->GetClientRect(&client);
    CStandInPrinter surface(client.Size());
    HDC hDC = surface.CreateDC(nullptr, nullptr);
    surface.StartPage(hDC);
    {
        CDC dc;
        dc.Attach(hDC);
        pView->OnDraw(&dc);
        dc.Detach();
    }
    surface.EndPage(hDC);
    surface.DeleteDC(hDC);
    return surface.m_pages.empty() ? CStandInPrinter::Page() : surface.m_pages[0];
}

// ---------------------------------------------------------------------------
// Pixels on the screen

namespace {

// The pixels of a device context's rectangle, read through a 32-bit bitmap of that size.
std::vector<COLORREF> ReadPixels(HDC hSource, const CRect& rect)
{
    std::vector<COLORREF> pixels;
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return pixels;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rect.Width();
    bi.bmiHeader.biHeight = -rect.Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hMem = ::CreateCompatibleDC(hSource);
    HBITMAP hBitmap = ::CreateDIBSection(hMem, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hMem != nullptr && hBitmap != nullptr && pBits != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        if (::BitBlt(hMem, 0, 0, rect.Width(), rect.Height(), hSource, rect.left, rect.top, SRCCOPY)) {
            ::GdiFlush();
            const DWORD* p = static_cast<const DWORD*>(pBits);
            // DIB pixels are 0x00RRGGBB.
            for (int i = 0, n = rect.Width() * rect.Height(); i < n; ++i)
                pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
        }
        ::SelectObject(hMem, hOld);
    }
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    if (hMem != nullptr)
        ::DeleteDC(hMem);
    return pixels;
}

bool IsInk(COLORREF c) { return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 < 128 * 1000; }

// The dark pixels of a w x h picture's rectangle, cut to their bounding box.
std::string InkOf(const std::vector<COLORREF>& pixels, int w, int h, CRect rect)
{
    rect.IntersectRect(&rect, CRect(0, 0, w, h));
    CRect box(rect.right, rect.bottom, rect.left, rect.top);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (IsInk(pixels[static_cast<size_t>(y) * w + x]))
                box.SetRect(std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
                            std::max<int>(box.bottom, y + 1));
    std::string text;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x)
            text += IsInk(pixels[static_cast<size_t>(y) * w + x]) ? '#' : '.';
        text += '\n';
    }
    return text;
}

} // namespace

ScreenShot::ScreenShot(CWnd* pWnd)
{
    CRect client;
    pWnd->GetClientRect(&client);
    pWnd->ClientToScreen(&client);
    m_w = client.Width();
    m_h = client.Height();
    HDC hScreen = ::GetDC(nullptr);
    m_pixels = ReadPixels(hScreen, client);
    for (int tries = 0; tries < 100; ++tries) {
        PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        std::vector<COLORREF> now = ReadPixels(hScreen, client);
        const bool same = now == m_pixels;
        m_pixels.swap(now);
        if (same)
            break;
    }
    ::ReleaseDC(nullptr, hScreen);
}

std::string ScreenShot::Ink(const CRect& rect) const
{
    return m_pixels.empty() ? std::string() : InkOf(m_pixels, m_w, m_h, rect);
}

CRect ScreenShot::Find(const CRect& rect, COLORREF clr) const
{
    CRect area;
    area.IntersectRect(rect, CRect(0, 0, m_w, m_h));
    // A screen that could not be read shows nothing drawn: all of it may still be anything.
    if (m_pixels.size() != static_cast<size_t>(m_w) * m_h)
        return area;
    CRect found;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (m_pixels[static_cast<size_t>(y) * m_w + x] == clr)
                found.UnionRect(found, CRect(x, y, x + 1, y + 1));
    return found;
}

std::string TextInk(CFont* pFont, LPCSTR lpszText)
{
    // An edit control lays its text out as the system's text layout does (kerned pairs closer):
    // the text is drawn by an edit of its own, which prints its client area into a bitmap.
    CWindowDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CFont* pOldFont = dc.SelectObject(pFont);
    const CSize size = dc.GetTextExtent(lpszText, static_cast<int>(strlen(lpszText)));
    const CRect rect(0, 0, size.cx + 32, size.cy + 8);
    HWND hEdit = ::CreateWindowExA(0, "EDIT", lpszText, WS_POPUP | ES_LEFT | ES_AUTOHSCROLL, -4000, -4000,
                                   rect.Width(), rect.Height(), nullptr, nullptr, ::GetModuleHandleA(nullptr),
                                   nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, rect.Width(), rect.Height());
    CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
    dc.FillSolidRect(&rect, RGB(255, 255, 255));
    if (hEdit != nullptr) {
        ::SendMessageA(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), FALSE);
        ::SendMessageA(hEdit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.m_hDC), PRF_CLIENT | PRF_ERASEBKGND);
        ::DestroyWindow(hEdit);
    }
    const std::vector<COLORREF> pixels = ReadPixels(dc.m_hDC, rect);
    dc.SelectObject(pOldBitmap);
    dc.SelectObject(pOldFont);
    return InkOf(pixels, rect.Width(), rect.Height(), rect);
}

} // namespace afxtest
