// Command targets: message map lookup, command dispatch, command-UI updates.
#include "afxwin.h"

// ---- CCmdTarget -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID)
{
    for (; lpEntry->nSig != AfxSig_end; ++lpEntry) {
        if (lpEntry->nMessage == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID && nID <= lpEntry->nLastID)
            return lpEntry;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The message travels in the high word of the code (0: WM_COMMAND).
    UINT nMsg = 0;
    UINT nRawCode = (UINT)nCode;
    if (nRawCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(nRawCode);
        nRawCode = LOWORD(nRawCode);
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* lpEntry = FindMessageEntry(pMap->lpEntries, nMsg, nRawCode, nID);
        if (lpEntry != nullptr) {
            if (pHandlerInfo != nullptr) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pmf = lpEntry->pfn;
                return TRUE;
            }
            return AfxDispatchCmdMsg(this, nID, (int)nRawCode, lpEntry->pfn, pExtra, lpEntry->nSig, nullptr);
        }
    }
    return FALSE;
}

namespace {

union CmdFunctions
{
    AFX_PMSG pfn;
    void (CCmdTarget::*pfn_v)();
    BOOL (CCmdTarget::*pfn_b)();
    void (CCmdTarget::*pfn_vu)(UINT);
    BOOL (CCmdTarget::*pfn_bu)(UINT);
    void (CCmdTarget::*pfn_ui)(CCmdUI*);
    void (CCmdTarget::*pfn_notify)(NMHDR*, LRESULT*);
    BOOL (CCmdTarget::*pfn_notify_b)(NMHDR*, LRESULT*);
    void (CCmdTarget::*pfn_notify_range)(UINT, NMHDR*, LRESULT*);
    BOOL (CCmdTarget::*pfn_notify_ex)(UINT, NMHDR*, LRESULT*);
};

} // namespace

BOOL AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                       AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }
    CmdFunctions f;
    f.pfn = pfn;
    BOOL bResult = TRUE;
    switch (nSig) {
    case AfxSigCmd_v: (pTarget->*f.pfn_v)(); break;
    case AfxSigCmd_b: bResult = (pTarget->*f.pfn_b)(); break;
    case AfxSigCmd_RANGE: (pTarget->*f.pfn_vu)(nID); break;
    case AfxSigCmd_EX: bResult = (pTarget->*f.pfn_bu)(nID); break;
    case AfxSigCmdUI: {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = FALSE;
        (pTarget->*f.pfn_ui)(pCmdUI);
        bResult = !pCmdUI->m_bContinueRouting;
        pCmdUI->m_bContinueRouting = FALSE;
        break;
    }
    case AfxSigNotify_v: {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        (pTarget->*f.pfn_notify)(pNotify->pNMHDR, pNotify->pResult);
        break;
    }
    case AfxSigNotify_b: {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        bResult = (pTarget->*f.pfn_notify_b)(pNotify->pNMHDR, pNotify->pResult);
        break;
    }
    case AfxSigNotify_RANGE: {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        (pTarget->*f.pfn_notify_range)(nID, pNotify->pNMHDR, pNotify->pResult);
        break;
    }
    case AfxSigNotify_EX: {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        bResult = (pTarget->*f.pfn_notify_ex)(nID, pNotify->pNMHDR, pNotify->pResult);
        break;
    }
    default: bResult = FALSE; break;
    }
    return bResult;
}

// ---- Wait cursor ----------------------------------------------------------------------------

namespace {

int g_nWaitCursorCount = 0;
HCURSOR g_hcurWaitCursorRestore = nullptr;

void DoWaitCursor(int nCode)
{
    // 1: begin, -1: end, 0: restore after something changed the cursor
    g_nWaitCursorCount += nCode;
    if (g_nWaitCursorCount < 0)
        g_nWaitCursorCount = 0;
    if (g_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        if (nCode > 0 && g_nWaitCursorCount == 1)
            g_hcurWaitCursorRestore = hcurPrev;
    }
    else {
        ::SetCursor(g_hcurWaitCursorRestore);
    }
}

} // namespace

void CCmdTarget::BeginWaitCursor() { DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { DoWaitCursor(0); }

CWaitCursor::CWaitCursor() { DoWaitCursor(1); }
CWaitCursor::~CWaitCursor() { DoWaitCursor(-1); }
void CWaitCursor::Restore() { DoWaitCursor(0); }

// ---- CCmdUI ---------------------------------------------------------------------------------

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_nIndexMax(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pParentMenu(nullptr),
      m_pOther(nullptr), m_bEnableChanged(FALSE), m_bContinueRouting(FALSE)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu != nullptr) {
        if (m_pSubMenu != nullptr)
            return;     // popups are never disabled through their first item
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    else if (m_pOther != nullptr) {
        // Move the focus away before disabling the window that has it.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND hWndParent = ::GetParent(m_pOther->m_hWnd);
            HWND hWndNext = ::GetNextDlgTabItem(hWndParent, m_pOther->m_hWnd, FALSE);
            if (hWndNext != nullptr && hWndNext != m_pOther->m_hWnd)
                ::SetFocus(hWndNext);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != nullptr) {
        if (m_pSubMenu != nullptr)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
    else if (m_pOther != nullptr) {
        if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
            m_pOther->SendMessage(BM_SETCHECK, (WPARAM)nCheck);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu != nullptr) {
        if (m_pSubMenu != nullptr)
            return;
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii)) {
            if (bOn)
                mii.fType |= MFT_RADIOCHECK;
            ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
        }
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_CHECKED : MF_UNCHECKED));
    }
    else {
        SetCheck(bOn ? 1 : 0);
    }
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (lpszText == nullptr)
        lpszText = "";
    if (m_pMenu != nullptr) {
        if (m_pSubMenu != nullptr)
            return;
        UINT nState = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        nState &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | 0xFF00);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    }
    else if (m_pOther != nullptr) {
        CString strOld;
        m_pOther->GetWindowText(strOld);
        if (strOld != lpszText)
            m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;    // separators and invalid ids are never updated
    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
    }
    return bResult;
}

void AfxUpdateMenuCmdUI(CCmdTarget* pTarget, CMenu* pMenu, BOOL bAutoMenuEnable, CMenu* pParentMenu)
{
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_pParentMenu = pParentMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = pMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue;   // separator
        if (state.m_nID == (UINT)-1) {
            // A popup: its first item stands for it; popups are never disabled automatically.
            state.m_pSubMenu = pMenu->GetSubMenu((int)state.m_nIndex);
            if (state.m_pSubMenu == nullptr || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(pTarget, FALSE);
        }
        else {
            // System commands are never disabled for lack of a handler.
            state.m_pSubMenu = nullptr;
            state.DoUpdate(pTarget, bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // An update handler may have added or removed items.
        UINT nCount = pMenu->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - nCount);
            while (state.m_nIndex < nCount && pMenu->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                state.m_nIndex++;
        }
        state.m_nIndexMax = nCount;
    }
}
