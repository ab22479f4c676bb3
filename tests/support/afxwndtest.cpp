// Synthesized input for tests of windows.
#include "afxwndtest.h"
#include "afxtest.h"
#include <atomic>
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

} // namespace afxtest
