// Tool tips: one tip control per thread serves every window whose tool tips are enabled. The
// windows' OnToolHitTest names the tool under the mouse; the tip's text comes with the tool or,
// for LPSTR_TEXTCALLBACK, from TTN_NEEDTEXT (frames answer it with the "\n" part of the command's
// string).
#include "afxwin.h"
#include "afxbar.h"
#include <algorithm>

using std::max;
using std::min;

namespace {

// The thread's tip control and the tool it shows now.
struct ToolTipState
{
    HWND hWndTip = nullptr;
    HWND hWndTipOwner = nullptr;
    CWnd* pLastHit = nullptr;
    INT_PTR nLastHit = -1;
    TOOLINFOA tiLast = {};
    BOOL bLastValid = FALSE;
};
ToolTipState g_tips;

void FilterToolTips(MSG* pMsg, CWnd* pWnd)
{
    if (pWnd->m_nFlags & WF_TOOLTIPS)
        pWnd->FilterToolTipMessage(pMsg);
}

BOOL IsTopParentActive(HWND hWnd)
{
    HWND hWndTop = hWnd;
    for (HWND h = hWnd; h != nullptr;) {
        hWndTop = h;
        h = (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER);
    }
    HWND hWndActive = ::GetForegroundWindow();
    for (HWND h = hWndActive; h != nullptr;
         h = (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER)) {
        if (h == hWndTop)
            return TRUE;
    }
    return FALSE;
}

} // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    BOOL bOld = (m_nFlags & WF_TOOLTIPS) != 0;
    if (bEnable) {
        m_nFlags |= WF_TOOLTIPS;
        afxFilterToolTipMessage = FilterToolTips;
    }
    else {
        m_nFlags &= ~WF_TOOLTIPS;
        if (g_tips.pLastHit == this)
            CancelToolTips();
    }
    return bOld;
}

void CWnd::CancelToolTips(BOOL)
{
    if (g_tips.hWndTip != nullptr && ::IsWindow(g_tips.hWndTip)) {
        ::SendMessageA(g_tips.hWndTip, TTM_ACTIVATE, FALSE, 0);
        ::SendMessageA(g_tips.hWndTip, TTM_ACTIVATE, TRUE, 0);
    }
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    UINT message = pMsg->message;
    // The nearest window with tool tips from the message's window up handles them.
    CWnd* pWnd = CWnd::FromHandlePermanent(pMsg->hwnd);
    HWND hWnd = pMsg->hwnd;
    while (hWnd != nullptr && hWnd != m_hWnd && !(pWnd != nullptr && (pWnd->m_nFlags & WF_TOOLTIPS))) {
        hWnd = ::GetParent(hWnd);
        pWnd = CWnd::FromHandlePermanent(hWnd);
    }
    if (hWnd != m_hWnd)
        return;

    if ((message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
         message == WM_RBUTTONUP || message == WM_MBUTTONUP) &&
        ::GetKeyState(VK_LBUTTON) >= 0 && ::GetKeyState(VK_RBUTTON) >= 0 && ::GetKeyState(VK_MBUTTON) >= 0) {
        // The tip control belongs to the window's top-level owner.
        HWND hWndOwner = m_hWnd;
        for (HWND h = m_hWnd; h != nullptr; h = ::GetParent(h)) {
            hWndOwner = h;
            if (!(::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD))
                break;
        }
        if (g_tips.hWndTip != nullptr && (!::IsWindow(g_tips.hWndTip) || g_tips.hWndTipOwner != hWndOwner)) {
            if (::IsWindow(g_tips.hWndTip))
                ::DestroyWindow(g_tips.hWndTip);
            g_tips = ToolTipState();
        }
        if (g_tips.hWndTip == nullptr) {
            g_tips.hWndTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                                               0, 0, hWndOwner, nullptr, AfxGetInstanceHandle(), nullptr);
            if (g_tips.hWndTip == nullptr)
                return;
            g_tips.hWndTipOwner = hWndOwner;
            ::SendMessageA(g_tips.hWndTip, TTM_ACTIVATE, FALSE, 0);
        }
        HWND hWndTip = g_tips.hWndTip;

        // A tool for the whole window covers the gaps between its tools.
        TOOLINFOA ti;
        memset(&ti, 0, sizeof ti);
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = m_hWnd;
        ti.uId = (UINT_PTR)m_hWnd;
        if (!::SendMessageA(hWndTip, TTM_GETTOOLINFOA, 0, (LPARAM)&ti)) {
            ti.uFlags = TTF_IDISHWND;
            ti.hwnd = m_hWnd;
            ti.uId = (UINT_PTR)m_hWnd;
            ti.lpszText = nullptr;
            ::SendMessageA(hWndTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
        }

        CPoint point = pMsg->pt;
        ::ScreenToClient(m_hWnd, &point);
        TOOLINFOA tiHit;
        memset(&tiHit, 0, sizeof tiHit);
        tiHit.cbSize = TTTOOLINFOA_V2_SIZE;
        INT_PTR nHit = OnToolHitTest(point, &tiHit);
        CWnd* pHitWnd = nHit == -1 ? nullptr : this;
        if (g_tips.nLastHit != nHit || g_tips.pLastHit != pHitWnd) {
            if (nHit != -1) {
                ti = tiHit;
                ti.uFlags &= ~(TTF_NOTBUTTON | TTF_ALWAYSTIP);
                ::SendMessageA(hWndTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
                if ((tiHit.uFlags & TTF_ALWAYSTIP) || IsTopParentActive(m_hWnd)) {
                    ::SendMessageA(hWndTip, TTM_ACTIVATE, TRUE, 0);
                    ::SetWindowPos(hWndTip, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
                }
            }
            else
                ::SendMessageA(hWndTip, TTM_ACTIVATE, FALSE, 0);
            ::SendMessageA(hWndTip, TTM_RELAYEVENT, 0, (LPARAM)pMsg);
            // The old tool goes only now that the tip saw the event.
            if (g_tips.bLastValid)
                ::SendMessageA(hWndTip, TTM_DELTOOLA, 0, (LPARAM)&g_tips.tiLast);
            g_tips.pLastHit = pHitWnd;
            g_tips.nLastHit = nHit;
            g_tips.tiLast = tiHit;
            g_tips.tiLast.lpszText = nullptr;
            g_tips.bLastValid = nHit != -1;
        }
        else if (nHit != -1)
            ::SendMessageA(hWndTip, TTM_RELAYEVENT, 0, (LPARAM)pMsg);
        // A text the hit test allocated belongs to the framework once the tip has copied it.
        if (tiHit.lpszText != LPSTR_TEXTCALLBACKA && tiHit.hinst == nullptr)
            free(tiHit.lpszText);
    }
    else {
        BOOL bKeys = (message >= WM_KEYFIRST && message <= WM_KEYLAST);
        if (bKeys || message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
            message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK ||
            message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONDBLCLK || message == WM_NCRBUTTONDOWN ||
            message == WM_NCRBUTTONDBLCLK || message == WM_NCMBUTTONDOWN || message == WM_NCMBUTTONDBLCLK)
            CancelToolTips(bKeys);
    }
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pTTT = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    UINT_PTR nID = pNMHDR->idFrom;
    if (pTTT->uFlags & TTF_IDISHWND)
        nID = (UINT_PTR)::GetDlgCtrlID((HWND)nID);
    CString strTipText;
    if (nID != 0) {
        CString strFullText;
        if (strFullText.LoadString((UINT)nID))
            AfxExtractSubString(strTipText, strFullText, 1, '\n');
    }
    lstrcpynA(pTTT->szText, strTipText, (int)(sizeof pTTT->szText));
    *pResult = 0;
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
    return TRUE;
}
