// The grid gaining and losing the focus: activating and deactivating the current cell's control.
#include "afxwin.h"
#include "gxengine.h"
#include "gxinit.h"


BOOL CGXGridEngine::ActivateGrid(BOOL bActive)
{
    m_bGridActive = bActive;
    if (bActive)
        GXGetAppState()->m_pActiveGrid = this;
    if (m_bLeavingCell || m_pParam == nullptr)
        return FALSE;
    const HWND hGrid = GetGridHwnd();
    if (!bActive && hGrid != nullptr)
        ::SendMessageA(hGrid, WM_CANCELMODE, 0, 0);
    BOOL bResult = TRUE;
    ROWCOL r, c;
    CGXControl* pControl = GetCurrentCellPos(r, c) ? GetCellControl(r, c) : nullptr;
    if (pControl != nullptr && !GXGetAppGlobal()) {
        if (!bActive) {
            if (!pControl->IsInit()) {
                RedrawRange(CGXRange(r, c), GX_INVALIDATE);
            } else if (!CheckCurrentCellChange(FALSE, r, c, r, c)) {
                bResult = FALSE;
            } else {
                // A store or an end of editing that fails keeps the control active with its text.
                BOOL bOk = !pControl->GetModify() || (pControl->Store() & 1) != 0;
                bOk = bOk && pControl->OnEndEditing();
                if (bOk) {
                    pControl->SetActive(FALSE);
                    pControl->SetModify(FALSE);
                    pControl->Invalidate();
                } else {
                    bResult = FALSE;
                }
            }
        } else {
            if (m_pParam->m_dwActivateOptions & 0x04)
                pControl->SetActive(TRUE);
            pControl->Invalidate();
        }
    }
    if (bActive && hGrid != nullptr) {
        UpdateFontMetrics();
        RefreshScrollBars();
    }
    return bResult;
}

BOOL CGXGridEngine::HandleKillFocus(CWnd* pNewWnd)
{
    const HWND hNew = pNewWnd != nullptr ? pNewWnd->GetSafeHwnd() : nullptr;
    // Focus moving into the grid's own children (its control's window) changes nothing.
    if (!m_bSettingFocus && !IsGridOrChildWnd(hNew))
        ActivateGrid(FALSE);
    return FALSE;
}

BOOL CGXGridEngine::HandleSetFocus(CWnd* pOldWnd)
{
    if (m_bSettingFocus)
        return FALSE;
    const HWND hGrid = GetGridHwnd();
    const HWND hOld = pOldWnd != nullptr ? pOldWnd->GetSafeHwnd() : nullptr;
    if (hOld == nullptr || hGrid == nullptr || !::IsChild(hGrid, hOld))
        ActivateGrid(TRUE);
    m_hLastFocusWnd = hOld;
    if (m_bInvalidateOnFocus) {
        if (CGXControl* pControl = GetCurrentCellControl())
            pControl->Invalidate();
    }
    m_bInvalidateOnFocus = FALSE;
    return FALSE;
}

BOOL CGXGridEngine::HandleMsg792(WPARAM wParam)
{
    if (wParam != 0)
        return TRUE;
    CGXControl* pControl = GetCurrentCellControl();
    if (pControl == nullptr || !pControl->IsActive())
        return TRUE;
    const HWND hGrid = GetGridHwnd();
    const BOOL bLeaving = m_bLeavingCell;
    m_bLeavingCell = TRUE;
    const HWND hFocus = ::GetFocus();
    if (hFocus != nullptr && hGrid != nullptr && ::IsChild(hGrid, hFocus))
        DiscardKeyMessages(hFocus);
    BOOL bResult = TRUE;
    if (!pControl->OnValidate()) {
        if (hFocus != nullptr && ::IsWindow(hFocus) && ::IsWindowVisible(hFocus)) {
            m_bSettingFocus = TRUE;
            ::SetFocus(hFocus);
            m_bSettingFocus = FALSE;
            if (IsGridOrChildWnd(hFocus))
                m_bGridActive = TRUE;
        }
        ShowWarningText();
        m_bInvalidateOnFocus = TRUE;
        bResult = FALSE;
    }
    m_bLeavingCell = bLeaving;
    return bResult;
}
