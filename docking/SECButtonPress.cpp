#include "SECButtonPress.h"

BOOL SECTrackButtonPress(CWnd* pWnd, const CRect& rect, const std::function<void(BOOL bPressed)>& drawPressed)
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return FALSE;
    const HWND hWnd = pWnd->m_hWnd;
    ::SetCapture(hWnd);
    BOOL bInside = TRUE;
    drawPressed(TRUE);
    BOOL bReleased = FALSE;
    while (::GetCapture() == hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != hWnd) {
                ::ClientToScreen(msg.hwnd, &pt);
                ::ScreenToClient(hWnd, &pt);
            }
            BOOL bNow = rect.PtInRect(pt);
            if (bNow != bInside) {
                bInside = bNow;
                drawPressed(bInside);
            }
            if (msg.message == WM_LBUTTONUP) {
                bReleased = TRUE;
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            bInside = FALSE;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    drawPressed(FALSE);
    return bReleased && bInside;
}
