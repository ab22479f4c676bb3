// Find and replace: the grid walks the cells of the current cell's column, the cell controls test
// and replace the text inside one cell. The program's grids share one search and one dialog.
#include "afxdlgs.h"
#include "gxcontrol.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>

namespace {
// The search's texts and switches, kept for the next Find Next and handed to the controls.
void StoreSearch(LPCSTR lpszFind, BOOL bDown, BOOL bMatchCase, LPCSTR lpszReplace)
{
    FindReplaceState* s = GXGetFindReplaceState();
    s->strFind = lpszFind != nullptr ? lpszFind : "";
    s->bDown = bDown;
    s->bMatchCase = bMatchCase;
    if (lpszReplace != nullptr)
        s->strReplace = lpszReplace;
    s->strFindUpper.Empty();
    if (!bMatchCase) {
        s->strFindUpper = s->strFind;
        s->strFindUpper.MakeUpper();
    }
}

// A cell beneath a covered range's top-left shows nothing of its own: it is neither found nor
// replaced.
BOOL IsHiddenByCovering(CGXGridEngine& e, ROWCOL nRow, ROWCOL nCol)
{
    CGXRange covered;
    return e.GetCoveredCellsRowCol(nRow, nCol, covered) && (covered.top != nRow || covered.left != nCol);
}

// Publishes the style of the cell under test for the controls while they look at it.
struct CellUnderTest
{
    explicit CellUnderTest(const CGXStyle* p) { GXGetFindReplaceState()->pStyle = p; }
    ~CellUnderTest() { GXGetFindReplaceState()->pStyle = nullptr; }
};
} // namespace

void CGXGridEngine::Beep() { ::MessageBeep(0); }

BOOL CGXGridEngine::FindText(LPCSTR lpszFind, BOOL bDown, BOOL bMatchCase)
{
    if (GetRowCount() == 0 || GetColCount() == 0)
        return FALSE;
    StoreSearch(lpszFind, bDown, bMatchCase, nullptr);
    return FindNextStep(TRUE);
}

BOOL CGXGridEngine::FindNextStep(BOOL bBeep)
{
    ROWCOL nRow = 0, nCol = 0;
    if (!GetCurrentCellPos(nRow, nCol))
        return FALSE;
    CGXLongOperation theOp;
    m_nFindStartRow = nRow;
    const FindReplaceState& s = *GXGetFindReplaceState();
    // A control editing the cell can hold a further occurrence after its selection; a cell not
    // being edited was the last hit itself, so the search goes on with the next cell.
    CGXControl* pControl = GetCurrentCellControl();
    BOOL bFound = pControl != nullptr && pControl->IsActive() && pControl->FindText(s, nRow, nCol, TRUE, bBeep);
    if (!bFound)
        bFound = FindInCells(nRow, nCol, bBeep);
    if (!bFound && bBeep && !m_bFindAborted)
        Beep();
    return bFound;
}

BOOL CGXGridEngine::FindInCells(ROWCOL nRow, ROWCOL nCol, BOOL bSetCell)
{
    m_bFindAborted = FALSE;
    const FindReplaceState& s = *GXGetFindReplaceState();
    const BOOL bDown = s.bDown;
    const ROWCOL nHeader = GetHeaderRows();
    const ROWCOL nStart = nRow;
    auto step = [&](ROWCOL r) -> ROWCOL {
        // Upwards the scan ends before the header rows (they are never searched).
        r = bDown ? r + 1 : (r > nHeader + 1 ? r - 1 : 0);
        if (r != 0)
            OnAccessRowCol(r, 0);
        return r;
    };
    CGXLongOperation theOp;
    theOp.SetStatusText(GXGetAppState()->sSearching, FALSE);
    const ROWCOL nRows = GetRowCount();
    // The rows a scan can pass; at least 1, so that the percentage never divides by 0.
    const ROWCOL nSpan = std::max<ROWCOL>(1, bDown ? (nRows > nStart ? nRows - nStart : 0) : nStart);
    ROWCOL nDone = 0;
    for (nRow = step(nRow); nRow != 0 && nRow <= GetRowCount(); nRow = step(nRow)) {
        if (IsHiddenByCovering(*this, nRow, nCol))
            continue;
        CGXStyle* pStyle = CreateStyle();
        ComposeCellStyle(nRow, nCol, *pStyle);
        BOOL bHit = FALSE;
        if (CGXControl* pControl = GetControlForId(static_cast<WORD>(pStyle->GetControl()))) {
            CellUnderTest test(pStyle);
            bHit = pControl->FindText(s, nRow, nCol, FALSE, bSetCell);
        }
        RecycleStyle(pStyle);
        if (bHit)
            return TRUE;
        ++nDone;
        BOOL bAbort = FALSE;
        theOp.SetPercentDone(static_cast<int>(std::min<unsigned long long>(100, nDone * 100ULL / nSpan)));
        if (theOp.ShowProgress(bAbort) && bAbort) {
            m_bFindAborted = TRUE;
            return FALSE;
        }
    }
    return FALSE;
}

void CGXGridEngine::Replace(LPCSTR lpszFind, BOOL bDown, BOOL bMatchCase, LPCSTR lpszReplace)
{
    StoreSearch(lpszFind, bDown, bMatchCase, lpszReplace != nullptr ? lpszReplace : "");
    ROWCOL nRow = 0, nCol = 0;
    if (GetRowCount() == 0 || GetColCount() == 0 || !GetCurrentCellPos(nRow, nCol)) {
        Beep();
        return;
    }
    const FindReplaceState& s = *GXGetFindReplaceState();
    BOOL bFound = FALSE;
    CGXControl* pControl = GetCurrentCellControl();
    if (pControl != nullptr && pControl->FindText(s, nRow, nCol, FALSE, TRUE)) {
        // Only the matched part goes, the rest of the cell's text stays.
        pControl->ReplaceSel(s.strReplace);
        bFound = TRUE;
        if (GetCurrentCellPos(nRow, nCol)) {
            pControl = GetCurrentCellControl();
            if (pControl == nullptr || !pControl->IsActive() || !pControl->FindText(s, nRow, nCol, TRUE, TRUE))
                FindInCells(nRow, nCol, TRUE);
        }
    } else {
        bFound = FindInCells(nRow, nCol, TRUE);
    }
    if (!bFound && !m_bFindAborted)
        Beep();
}

BOOL CGXGridEngine::ReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bMatchCase)
{
    ROWCOL nRow = 0, nCol = 0;
    if (GetRowCount() == 0 || GetColCount() == 0 || !GetCurrentCellPos(nRow, nCol))
        return FALSE;
    StoreSearch(lpszFind, TRUE, bMatchCase, lpszReplace != nullptr ? lpszReplace : "");
    FindReplaceState& s = *GXGetFindReplaceState();
    if (s.strFind.IsEmpty())
        return FALSE;
    GX_APP_STATE* app = GXGetAppState();
    CGXLongOperation theOp;
    theOp.SetStatusText(app->sReplacing, FALSE);
    CGXLongOperation::SetCanRollback(TRUE);
    const BOOL bBlock = s.bReplaceAllBlock;
    if (bBlock)
        OpenBlockCommand(app->sReplaceAll);
    const ROWCOL nFirst = nRow;
    const ROWCOL nSpan = std::max<ROWCOL>(1, GetRowCount() - nFirst + 1);
    BOOL bAny = FALSE, bAborted = FALSE;
    for (ROWCOL r = nFirst; r <= GetRowCount(); ++r) {
        if (r != nFirst)
            OnAccessRowCol(r, 0);
        if (r > GetRowCount())
            break;
        if (IsHiddenByCovering(*this, r, nCol))
            continue;
        CGXStyle* pStyle = CreateStyle();
        ComposeCellStyle(r, nCol, *pStyle);
        if (CGXControl* pControl = GetControlForId(static_cast<WORD>(pStyle->GetControl()))) {
            CellUnderTest test(pStyle);
            if (pControl->ReplaceText(s, r, nCol))
                bAny = TRUE;
        }
        RecycleStyle(pStyle);
        BOOL bAbort = FALSE;
        theOp.SetPercentDone(static_cast<int>(std::min<unsigned long long>(100, (r - nFirst + 1) * 100ULL / nSpan)));
        if (theOp.ShowProgress(bAbort) && bAbort) {
            bAborted = TRUE;
            break;
        }
    }
    if (!bAborted) {
        if (!bAny)
            Beep();
        if (bBlock)
            CloseBlockCommand();
        return TRUE;
    }
    // No block stays open after an abort: it is taken back when the user asked for that, else
    // what was replaced so far stays as one undo step.
    if (bBlock) {
        if (CGXLongOperation::GetRollbackConfirmedState())
            RollbackBlockCommand();
        else
            CloseBlockCommand();
    }
    return FALSE;
}

void CGXGridEngine::ShowFindReplaceDialog(BOOL bFindOnly)
{
    const ROWCOL nRows = GetRowCount(), nCols = GetColCount();
    if (nRows == 0 || nCols == 0)
        return;
    FindReplaceState& s = *GXGetFindReplaceState();
    s.pActiveGrid = this;
    ROWCOL nRow = 0, nCol = 0;
    if (!GetCurrentCellPos(nRow, nCol)) {
        nRow = std::min(std::max(GetTopRow(), GetHeaderRows() + 1), nRows);
        nCol = std::min(std::max(GetLeftCol(), GetHeaderCols() + 1), nCols);
        PlaceCurrentCell(nRow, nCol, 0x2a);
    } else {
        BringCellIntoView(nRow, nCol, 2);
    }
    CString text;
    if (CGXControl* pControl = GetCurrentCellControl())
        pControl->GetSelectedText(text);
    if (text.IsEmpty())
        text = s.strFind;

    if (s.pDialog != nullptr) {
        HWND hDlg = s.pDialog->GetSafeHwnd();
        if (hDlg != nullptr && s.bFindOnly == bFindOnly) {
            s.pDialog->SetActiveWindow();
            s.pDialog->ShowWindow(SW_SHOW);
            return;
        }
        // The other kind goes first; its end clears the pointer (or the window was gone already).
        CFindReplaceDialog* pOld = s.pDialog;
        if (hDlg != nullptr) {
            ::SendMessageA(hDlg, WM_CLOSE, 0, 0);
            if (::IsWindow(hDlg))
                ::DestroyWindow(hDlg);
        } else {
            delete pOld;
        }
        s.pDialog = nullptr;
    }
    HWND hGrid = GetGridHwnd();
    if (hGrid == nullptr)
        return;
    CFindReplaceDialog* pDialog = new CFindReplaceDialog;
    DWORD dwFlags = FR_HIDEWHOLEWORD;
    if (s.bMatchCase)
        dwFlags |= FR_MATCHCASE;
    if (s.bDown)
        dwFlags |= FR_DOWN;
    if (pDialog->Create(bFindOnly, text, s.strReplace, dwFlags, m_pGridWnd)) {
        s.pDialog = pDialog;
        s.bFindOnly = bFindOnly;
    } else {
        delete pDialog;
        s.pDialog = nullptr;
    }
}

void CGXGridEngine::OnFindReplace(CFindReplaceDialog* pDialog)
{
    FindReplaceState& s = *GXGetFindReplaceState();
    if (s.pActiveGrid == nullptr)
        s.pActiveGrid = this;
    if (s.pActiveGrid != this) {
        s.pActiveGrid->OnFindReplace(pDialog);
        return;
    }
    if (pDialog == nullptr)
        return;
    const DWORD f = pDialog->m_fr.Flags;
    if (f & FR_DIALOGTERM) {
        if (s.pDialog == pDialog)
            s.pDialog = nullptr;
    } else if (f & FR_FINDNEXT) {
        FindText(pDialog->GetFindString(), (f & FR_DOWN) != 0, (f & FR_MATCHCASE) != 0);
    } else if (f & FR_REPLACE) {
        Replace(pDialog->GetFindString(), (f & FR_DOWN) != 0, (f & FR_MATCHCASE) != 0, pDialog->GetReplaceString());
    } else if (f & FR_REPLACEALL) {
        s.bReplaceAllBlock = TRUE;
        ReplaceAll(pDialog->GetFindString(), pDialog->GetReplaceString(), (f & FR_MATCHCASE) != 0);
    }
}
