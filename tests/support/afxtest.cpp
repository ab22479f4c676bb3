// Helpers for tests of windows.
#include "afxtest.h"

namespace afxtest {

BOOL PumpMessages()
{
    return AfxPumpWaitingMessages();
}

bool WaitFor(const std::function<bool()>& pred, DWORD nTimeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!pred()) {
        if (!PumpMessages())
            return pred();
        if (::GetTickCount() - start > nTimeoutMs)
            return pred();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

int DrainQuit()
{
    int nCode = -1;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        nCode = (int)msg.wParam;
    return nCode;
}

std::vector<CString> MessageBoxTexts()
{
    std::vector<CString> texts;
    for (const AfxModalCall& call : AfxSeamCalls()) {
        if (call.kind == AFX_MODAL_MESSAGEBOX)
            texts.push_back(call.text);
    }
    return texts;
}

} // namespace afxtest
