#include "ToolTipDialog.h"
#include <commctrl.h>

IMPLEMENT_DYNAMIC(CToolTipDialog, CDialog)

BEGIN_MESSAGE_MAP(CToolTipDialog, CDialog)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipNotify)
END_MESSAGE_MAP()

CToolTipDialog::CToolTipDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent)
{
}

BOOL CToolTipDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    EnableToolTips(TRUE);
    return TRUE;
}

INT_PTR CToolTipDialog::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    // The first shown control under the point; frames and labels without an id (a group box
    // drawn around other controls) are no tools.
    POINT ptScreen = point;
    ::ClientToScreen(m_hWnd, &ptScreen);
    for (HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        int nID = ::GetDlgCtrlID(hWndChild);
        if (nID == 0 || static_cast<WORD>(nID) == 0xFFFF || !(::GetWindowLongPtrA(hWndChild, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT rc;
        if (!::GetWindowRect(hWndChild, &rc) || !::PtInRect(&rc, ptScreen))
            continue;
        if (pTI != nullptr) {
            pTI->hwnd = m_hWnd;
            pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
            pTI->uFlags |= TTF_IDISHWND;
            pTI->lpszText = LPSTR_TEXTCALLBACKA;
        }
        return nID;
    }
    return -1;
}

BOOL CToolTipDialog::OnToolTipNotify(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
{
    return GetToolTipText(nID, pNMHDR, pResult);
}

BOOL CToolTipDialog::GetToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pTTT = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    if ((pTTT->uFlags & TTF_IDISHWND) == 0)
        return FALSE;
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)));
    if (nID == 0)
        return FALSE;
    // Kept here, not in the request's short buffer, so that a long tip is not cut.
    m_strTip.Empty();
    m_strTip.LoadString(nID);
    pTTT->szText[0] = '\0';
    pTTT->lpszText = const_cast<LPSTR>(static_cast<LPCSTR>(m_strTip));
    if (pResult != nullptr)
        *pResult = 0;
    return TRUE;
}
