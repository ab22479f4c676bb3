// The current cell: moving it, handing it to its cell control and taking it back.
#include "afxwin.h"
#include "gxengine.h"
#include "gxaxis.h"
#include "gxhint.h"
#include "gxstyle.h"

void CGXGridEngine::DiscardKeyMessages(HWND hWnd)
{
    if (hWnd == nullptr)
        return;
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, WM_KEYFIRST, 0x108, PM_REMOVE | PM_NOYIELD)) {
    }
}

HWND CGXGridEngine::GetGridHwnd() const { return m_pGridWnd != nullptr ? m_pGridWnd->GetSafeHwnd() : nullptr; }

BOOL CGXGridEngine::IsGridOrChildWnd(HWND hWnd) const
{
    const HWND hGrid = GetGridHwnd();
    return hGrid != nullptr && hWnd != nullptr && (hWnd == hGrid || ::IsChild(hGrid, hWnd));
}

BOOL CGXGridEngine::GetCurrentCellPos(ROWCOL& nRow, ROWCOL& nCol, BOOL bIgnorePrinting)
{
    nRow = m_nCurrentRow;
    nCol = m_nCurrentCol;
    if (m_bCurrentCellValid && (nRow > GetRowCount() || nCol > GetColCount()))
        m_bCurrentCellValid = FALSE;
    return m_bCurrentCellValid && (!m_bPrinting || bIgnorePrinting);
}

BOOL CGXGridEngine::IsCurrentCellAt(ROWCOL nRow, ROWCOL nCol, BOOL bIgnorePrinting)
{
    ROWCOL r, c;
    if (!GetCurrentCellPos(r, c, bIgnorePrinting))
        return FALSE;
    return (nRow == GX_INVALID || nRow == r) && (nCol == GX_INVALID || nCol == c);
}

void CGXGridEngine::SetCurrentCellState(BOOL bValid, ROWCOL nRow, ROWCOL nCol)
{
    if (bValid) {
        m_bCurrentCellValid = FALSE;
        m_pCurrentControl = GetCellControl(nRow, nCol);
    }
    m_bCurrentCellValid = bValid;
    if (!bValid) {
        UpdateRecordWindow();
        return;
    }
    m_nCurrentRow = m_nCurrentCol = 0;
    delete m_pCurrentStyle;
    m_pCurrentStyle = nullptr;
    m_nCurrentRow = nRow;
    m_nCurrentCol = nCol;
    if (m_pParam != nullptr) {
        m_pParam->m_nCurrentRow = nRow;
        m_pParam->m_nCurrentCol = nCol;
    }
    UpdateRecordWindow();
}

CGXControl* CGXGridEngine::GetCellControl(ROWCOL nRow, ROWCOL nCol)
{
    if (m_pCurrentControl != nullptr && m_bCurrentCellValid && nRow == m_nCurrentRow && nCol == m_nCurrentCol)
        return m_pCurrentControl;
    if (m_pParam == nullptr)
        return nullptr;
    return GetControlForId(static_cast<WORD>(GetCellStyle(nRow, nCol).GetControl()));
}

CGXControl* CGXGridEngine::GetCurrentCellControl()
{
    ROWCOL r, c;
    return GetCurrentCellPos(r, c) ? GetCellControl(r, c) : nullptr;
}

BOOL CGXGridEngine::IsCurrentCellActive()
{
    CGXControl* pControl = GetCurrentCellControl();
    return !m_bPrinting && pControl != nullptr && pControl->IsActive();
}

void CGXGridEngine::OnAccessRowCol(ROWCOL, ROWCOL) {}

BOOL CGXGridEngine::OnControlNotify(ROWCOL, ROWCOL, UINT, int) { return TRUE; }
void CGXGridEngine::OnClickedButtonRowCol(ROWCOL, ROWCOL) {}

BOOL CGXGridEngine::CheckCurrentCellChange(BOOL bEnter, ROWCOL nRow, ROWCOL nCol, ROWCOL nOldRow, ROWCOL nOldCol)
{
    if (!bEnter) {
        SetTextField(nullptr);
        CGXControl* pControl = GetCellControl(nOldRow, nOldCol);
        return pControl == nullptr || !pControl->GetModify() || pControl->OnValidate();
    }
    if (nRow > GetRowCount() || nCol > GetColCount())
        return FALSE;
    const CGXStyle& style = GetCellStyle(nRow, nCol);
    return !(style.GetIncludeEnabled() && !style.GetEnabled());
}

void CGXGridEngine::ShowWarningText()
{
    if (m_strWarningText.IsEmpty())
        return;
    const BOOL bLeaving = m_bLeavingCell;
    m_bLeavingCell = TRUE;
    HWND hFocus = ::GetFocus();
    DiscardKeyMessages(hFocus);
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c))
        BringCellIntoView(r, c, GX_UPDATENOW);
    const CString text = m_strWarningText;
    m_strWarningText.Empty();
    AfxMessageBox(text, MB_OK);
    m_bWarningShown = TRUE;
    if (hFocus != nullptr && ::IsWindow(hFocus)) {
        ::SetFocus(hFocus);
        if (IsGridOrChildWnd(hFocus))
            m_bGridActive = TRUE;
    }
    m_bLeavingCell = bLeaving;
}

BOOL CGXGridEngine::PlaceCurrentCell(ROWCOL nRow, ROWCOL nCol, UINT nFlags)
{
    if (m_pParam == nullptr)
        return FALSE;
    OnAccessRowCol(nRow, nCol);
    CGXRange covered;
    if (GetCoveredCellsRowCol(nRow, nCol, covered) && (covered.top != nRow || covered.left != nCol)) {
        nRow = covered.top;
        nCol = covered.left;
    }
    const HWND hGrid = GetGridHwnd();
    const UINT nRedraw = nFlags & (GX_UPDATENOW | GX_SMART);

    // The old cell and which of its headers change.
    ROWCOL nOldRow = 0, nOldCol = 0;
    const BOOL bOld = GetCurrentCellPos(nOldRow, nOldCol);
    CGXControl* pOld = bOld ? GetCellControl(nOldRow, nOldCol) : nullptr;
    const BOOL bSame = bOld && nOldRow == nRow && nOldCol == nCol;
    int nKind = 0;
    if (pOld != nullptr && nOldRow > GetHeaderRows() && nOldCol > GetHeaderCols()) {
        if (bSame)
            nKind = (nRow == 0 || nCol == 0) ? 0 : -1;
        else if (nOldRow == nRow)
            nKind = 1;
        else if (nOldCol == nCol)
            nKind = 2;
    }
    // RedrawHeaderMarks takes 1 for the row headers, 2 for the column headers.
    auto redrawHeaders = [this, nKind](ROWCOL r, ROWCOL c, UINT f) {
        if (nKind != -1)
            RedrawHeaderMarks(r, c, nKind == 1 ? 2 : nKind == 2 ? 1 : 0, f);
    };
    auto updateNow = [this, hGrid, nRedraw]() {
        if (nRedraw != 0 && hGrid != nullptr)
            m_pGridWnd->UpdateWindow();
    };

    BOOL bFailed = FALSE;
    // Leave the old cell.
    if (pOld != nullptr && pOld->IsInit()) {
        const BOOL bModified = pOld->GetModify();
        CString sText;
        pOld->GetValue(sText);
        const BOOL bActive = pOld->IsActive();
        m_bLeavingCell = TRUE;
        const HWND hFocus = ::GetFocus();
        if (bActive && hFocus != nullptr && hGrid != nullptr && ::IsChild(hGrid, hFocus))
            DiscardKeyMessages(hFocus);
        auto restoreFocus = [this, hGrid, hFocus, bActive]() {
            if (bActive && hFocus != nullptr && ::IsWindow(hFocus) && ::IsWindowVisible(hFocus)) {
                m_bSettingFocus = TRUE;
                ::SetFocus(hFocus);
                m_bSettingFocus = FALSE;
                if (IsGridOrChildWnd(hFocus))
                    m_bGridActive = TRUE;
            }
        };
        auto redrawOld = [&](int nStore) {
            if (nStore == 0)
                pOld->Invalidate();
            else
                RedrawRange(CGXRange(nOldRow, nOldCol), nFlags);
        };
        if (!CheckCurrentCellChange(FALSE, nRow, nCol, nOldRow, nOldCol)) {
            // Validation refused: the old cell stays with its text and its control active.
            if (m_strWarningText.IsEmpty())
                restoreFocus();
            ShowWarningText();
            pOld->Invalidate();
            bFailed = TRUE;
        } else {
            int nStore = 0;
            BOOL bOk = TRUE;
            if (bModified) {
                nStore = pOld->Store();
                bOk = (nStore & 1) != 0;
            }
            if (bOk)
                bOk = pOld->OnEndEditing();
            if (bOk) {
                SetCurrentCellState(FALSE);
                pOld->Hide();
                pOld->SetActive(FALSE);
                const BOOL bLeftOk = pOld->OnLeftCell(nRow, nCol);
                ShowWarningText();
                const BOOL bKeep = m_bKeepCurrentStyle;
                if (bLeftOk) {
                    m_bKeepCurrentStyle = TRUE;
                    redrawHeaders(nOldRow, nOldCol, nFlags);
                    redrawOld(nStore);
                }
                pOld->Reset();
                updateNow();
                m_bKeepCurrentStyle = bKeep;
            } else {
                // The store or the end of editing refused: back into the old cell, text restored.
                restoreFocus();
                ShowWarningText();
                SetCurrentCellState(TRUE, nOldRow, nOldCol);
                pOld->Hide();
                if (!pOld->IsInit())
                    pOld->Init(nOldRow, nOldCol);
                pOld->SetActive(TRUE);
                pOld->SetModify(TRUE);
                pOld->SetCurrentText(sText);
                redrawOld(nStore);
                bFailed = TRUE;
            }
        }
        m_bLeavingCell = FALSE;
    }

    if (!bFailed) {
        if (nRow > GetRowCount() || nCol > GetColCount()) {
            SetCurrentCellState(FALSE);
        } else if (bSame && pOld != nullptr && pOld->IsActive()) {
            const ROWCOL nTop = m_nTopRow, nLeft = m_nLeftCol;
            BringCellIntoView(nRow, nCol, nFlags, FALSE);
            if (nTop == m_nTopRow && nLeft == m_nLeftCol)
                pOld->Invalidate();
        } else if (!bSame && !CheckCurrentCellChange(TRUE, nRow, nCol, nOldRow, nOldCol)) {
            // The new cell may not be entered: back into the old one when it may be.
            if (bOld && CheckCurrentCellChange(TRUE, nOldRow, nOldCol, nOldRow, nOldCol)) {
                SetCurrentCellState(TRUE, nOldRow, nOldCol);
                RedrawHeaderMarks(nOldRow, nOldCol, 0, GX_UPDATENOW);
                if (CGXControl* pControl = GetCurrentCellControl()) {
                    pControl->Init(nOldRow, nOldCol);
                    pControl->Invalidate();
                }
            }
            bFailed = TRUE;
        } else if (m_pParam->m_bLockUpdate) {
            SetCurrentCellState(TRUE, nRow, nCol);
            if (CGXControl* pControl = GetCurrentCellControl())
                pControl->Init(nRow, nCol);
        } else {
            if (!(nFlags & 0x20) && hGrid != nullptr && ::IsWindowVisible(hGrid) && ::GetFocus() != hGrid) {
                m_bSettingFocus = TRUE;
                ::SetFocus(hGrid);
                m_bSettingFocus = FALSE;
            }
            SetCurrentCellState(TRUE, nRow, nCol);
            CGXControl* pControl = GetCurrentCellControl();
            if (pControl != nullptr) {
                pControl->Init(nRow, nCol);
                if (nFlags & 0x10)
                    pControl->SetActive(TRUE);
                if (m_pParam->m_wCurrentCellMarking != 1) {
                    // The marking of a newly entered cell is painted with the cell, whatever the
                    // flags ask of the update (a keyboard move asks only to update at once, which
                    // alone would draw nothing); an active control (or a deferring one) redraws
                    // itself.
                    if (!pControl->IsActive() && !bSame && !pControl->m_bDeferInvalidate && !m_bDeferMarking)
                        RedrawRange(CGXRange(nRow, nCol), GX_INVALIDATE);
                    else
                        pControl->Invalidate();
                }
            }
            if (nFlags & 0x08)
                BringCellIntoView(nRow, nCol, nFlags & GX_UPDATENOW);
        }
    }
    if (!bFailed) {
        updateNow();
        if (m_bCurrentCellValid)
            redrawHeaders(nRow, nCol, nFlags);
    }
    if (!(nFlags & 0x40) && m_pParam->m_bCurrentCellHint) {
        CGXGridHint hint(27, m_nHintTag);
        hint.nRow1 = nRow;
        hint.nCol1 = nCol;
        hint.flags = (nFlags & ~0x08u) | 0xe0;
        SendHint(hint);
    }
    if (!bFailed && m_bCurrentCellValid && m_pParam->m_bSelectionFollowsCell && !(nFlags & 0x80) &&
        !IsCellInRangeList(nRow, nCol, &m_pParam->m_selRanges)) {
        SetSelectionRange(nullptr, 0, 0, 0, 0);
        m_posAnchor = nullptr;
        if (nRow > GetHeaderRows() && nCol > GetHeaderCols())
            SelectRange(CGXRange(nRow, nCol));
    }
    return !bFailed;
}

BOOL CGXGridEngine::TransferCurrentCell(BOOL bStore, UINT nFlags, BOOL bCreateHint)
{
    BOOL bResult = TRUE;
    ROWCOL r, c;
    if (GetCurrentCellPos(r, c)) {
        CGXControl* pControl = GetCellControl(r, c);
        if (pControl != nullptr) {
            if (bStore) {
                if (pControl->IsActive())
                    bResult = PlaceCurrentCell(r, c, nFlags);
            } else {
                if (pControl->IsActive())
                    bResult = pControl->OnCancelEditing();
                if (bResult) {
                    pControl->Init(r, c);
                    pControl->Invalidate();
                    pControl->OnCanceledEditing();
                } else {
                    // A refused cancel keeps the typed text.
                    pControl->Invalidate();
                }
            }
        }
    }
    if (!m_bKeepCurrentStyle) {
        delete m_pCurrentStyle;
        m_pCurrentStyle = nullptr;
        m_pCurrentControl = nullptr;
    }
    if (bCreateHint && bResult) {
        CGXGridHint hint(24, m_nHintTag);
        hint.lParam = static_cast<DWORD>(bStore);
        hint.flags = nFlags;
        SendHint(hint);
    }
    return bResult;
}

void CGXGridEngine::RefreshCurrentCell(BOOL bStore)
{
    ROWCOL r, c;
    if (!GetCurrentCellPos(r, c))
        return;
    CGXControl* pControl = GetCellControl(r, c);
    if (pControl == nullptr)
        return;
    if (bStore && CheckCurrentCellChange(FALSE, r, c, r, c) && pControl->GetModify())
        pControl->Store();
    pControl->Reset();
}

void CGXGridEngine::HideCurrentCellControl()
{
    if (CGXControl* pControl = GetCurrentCellControl())
        pControl->Hide();
}
