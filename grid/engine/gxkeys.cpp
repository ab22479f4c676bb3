// The keyboard: the key dispatcher, the key table and moving the current cell.
#include <algorithm>
#include "afxwin.h"
#include "gxaxis.h"
#include "gxengine.h"
#include "gxstyle.h"

namespace {
BOOL KeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

void UpdateGridNow(const CGXGridEngine& e)
{
    if (e.GetGridHwnd() != nullptr)
        e.GridWnd()->UpdateWindow();
}
} // namespace

BOOL CGXGridEngine::DispatchKeyMessage(CWnd* pWnd, UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const HWND hGrid = GetGridHwnd();
    // While the mouse is held every key is dropped; Escape ends the mouse's mode first.
    if (hGrid != nullptr && ::GetCapture() == hGrid) {
        if (nChar == VK_ESCAPE && (nMessage == WM_KEYDOWN || nMessage == WM_SYSKEYDOWN))
            m_pGridWnd->SendMessage(WM_CANCELMODE);
        return TRUE;
    }
    ROWCOL r, c;
    if (pWnd != nullptr && pWnd == m_pGridWnd && GetCurrentCellPos(r, c)) {
        CGXControl* pControl = GetCellControl(r, c);
        if (pControl != nullptr) {
            if (!pControl->IsInit())
                pControl->Init(r, c);
            if (pControl->HandleGridKey(nMessage, nChar, nRepCnt, nFlags)) {
                BringCellIntoView(r, c, GX_UPDATENOW);
                UpdateGridNow(*this);
                return TRUE;
            }
        }
    }
    switch (nMessage) {
    case WM_KEYDOWN: return OnGridKeyDown(nChar, nRepCnt, nFlags);
    case WM_KEYUP: return OnGridKeyUp(nChar, nRepCnt, nFlags);
    case WM_CHAR: {
        CString sText;
        if (!CGXControl::GXCombineDBCSChar(nChar, sText, m_bDBCSPending, m_chDBCSLead))
            return OnGridChar(nChar, nRepCnt, nFlags);
        if (m_bDBCSPending)
            return TRUE;
        return OnGridDBCSChar(sText, nRepCnt, nFlags);
    }
    case WM_DEADCHAR: return OnGridDeadChar(nChar, nRepCnt, nFlags);
    case WM_SYSKEYDOWN: return OnGridSysKeyDown(nChar, nRepCnt, nFlags);
    case WM_SYSKEYUP: return OnGridSysKeyUp(nChar, nRepCnt, nFlags);
    case WM_SYSCHAR: return OnGridSysChar(nChar, nRepCnt, nFlags);
    case WM_SYSDEADCHAR: return OnGridSysDeadChar(nChar, nRepCnt, nFlags);
    default: return FALSE;
    }
}

BOOL CGXGridEngine::OnGridKeyDown(UINT nChar, UINT, UINT)
{
    const BOOL bCtl = KeyDown(VK_CONTROL), bShift = KeyDown(VK_SHIFT), bAlt = KeyDown(VK_MENU);
    ROWCOL r, c;
    auto enter = [this]() {
        if (TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE) && m_pParam != nullptr && m_pParam->m_wEnterDirection != 0)
            MoveCurrentCellEx(m_pParam->m_wEnterDirection, 1);
    };
    switch (nChar) {
    case VK_RETURN:
        if (bAlt || bCtl || bShift)
            return FALSE;
        enter();
        break;
    case VK_BACK:
        if (!bCtl)
            return FALSE;
        Redo();
        break;
    case VK_TAB:
        if (TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE))
            MoveCurrentCell(bShift ? 2 : 4, 1, TRUE);
        break;
    case VK_ESCAPE:
        if (GetCurrentCellPos(r, c)) {
            if (CGXControl* pControl = GetCellControl(r, c)) {
                if (!pControl->OnCancelEditing()) {
                    pControl->Invalidate();
                } else {
                    pControl->Init(r, c);
                    pControl->Invalidate();
                    pControl->OnCanceledEditing();
                }
            }
            BringCellIntoView(r, c, GX_UPDATENOW);
        }
        if (m_pParam != nullptr && !m_pParam->m_bSelectionFollowsCell) {
            SetSelectionRange(nullptr, 0, 0, 0, 0);
            OnChangedSelection(nullptr, FALSE, TRUE);
        }
        break;
    case VK_PRIOR: MoveCurrentCellEx(6, 1); break;
    case VK_NEXT: MoveCurrentCellEx(5, 1); break;
    case VK_END:
        if (!bCtl)
            return FALSE;
        MoveCurrentCellEx(12, 1);
        break;
    case VK_HOME:
        if (!bCtl)
            return FALSE;
        MoveCurrentCellEx(11, 1);
        break;
    case VK_LEFT: MoveCurrentCellEx(bCtl ? 9 : 2, 1); break;
    case VK_UP: MoveCurrentCellEx(bCtl ? 7 : 1, 1); break;
    case VK_RIGHT: MoveCurrentCellEx(bCtl ? 10 : 4, 1); break;
    case VK_DOWN: MoveCurrentCellEx(bCtl ? 8 : 3, 1); break;
    case VK_INSERT:
        if (bCtl) {
            if (CanCopy())
                Copy();
        } else if (bShift) {
            if (CanPaste())
                Paste();
        } else {
            return FALSE;
        }
        break;
    case VK_DELETE:
        if (bShift) {
            if (CanCut())
                Cut();
        } else if (!IsCurrentCellActive() && CanClear()) {
            ClearSelection(bCtl);
        }
        break;
    case VK_F2:
        if (!GetCurrentCellPos(r, c)) {
            if (bAlt || bCtl || bShift)
                return FALSE;
            enter();
            break;
        }
        if (CGXControl* pControl = GetCellControl(r, c)) {
            if (!pControl->IsActive()) {
                TransferCurrentCell(FALSE, GX_UPDATENOW, TRUE);
                if (!pControl->IsReadOnly() && pControl->OnStartEditing()) {
                    pControl->SetActive(TRUE);
                    pControl->Invalidate();
                }
            } else {
                TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE);
            }
        }
        break;
    default: return FALSE;
    }
    UpdateGridNow(*this);
    return TRUE;
}

BOOL CGXGridEngine::OnGridChar(UINT nChar, UINT, UINT)
{
    switch (nChar) {
    case 0x03: Copy(); return TRUE;
    case 0x12: Redo(); return TRUE;
    case 0x16: Paste(); return TRUE;
    case 0x18: Cut(); return TRUE;
    case 0x1a: Undo(); return TRUE;
    case 0x09:
    case 0x0d:
    case 0x7f: return TRUE;   // Tab, Enter and Ctrl+Backspace act on their key-down
    default: return FALSE;
    }
}

BOOL CGXGridEngine::OnGridSysKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_BACK && KeyDown(VK_MENU)) {
        Undo();
        return TRUE;
    }
    return FALSE;
}

BOOL CGXGridEngine::OnGridKeyUp(UINT, UINT, UINT) { return FALSE; }
BOOL CGXGridEngine::OnGridDBCSChar(const CString&, UINT, UINT) { return FALSE; }
BOOL CGXGridEngine::OnGridDeadChar(UINT, UINT, UINT) { return FALSE; }
BOOL CGXGridEngine::OnGridSysKeyUp(UINT, UINT, UINT) { return FALSE; }
BOOL CGXGridEngine::OnGridSysChar(UINT, UINT, UINT) { return FALSE; }
BOOL CGXGridEngine::OnGridSysDeadChar(UINT, UINT, UINT) { return FALSE; }
BOOL CGXGridEngine::OnStartSelection(ROWCOL, ROWCOL, UINT, CPoint) { return TRUE; }
BOOL CGXGridEngine::CanChangeSelection(CGXRange*, BOOL, BOOL) { return TRUE; }

void CGXGridEngine::ScrollCellsBy(int nDirection, ROWCOL nCount)
{
    if (nCount > 0)
        ScrollCells(nDirection, nCount);
}

BOOL CGXGridEngine::FindEnabledCell(int nDirection, ROWCOL& nRow, ROWCOL& nCol)
{
    if (nDirection < 1 || nDirection > 4)
        return FALSE;
    const BOOL bRows = nDirection == 1 || nDirection == 3;
    const BOOL bBack = nDirection == 1 || nDirection == 2;
    const ROWCOL nLimit = bRows ? GetRowCount() : GetColCount();
    for (ROWCOL n = bRows ? nRow : nCol; n >= 1 && n <= nLimit; bBack ? --n : ++n) {
        const ROWCOL r = bRows ? n : nRow, c = bRows ? nCol : n;
        if ((bRows ? GetRowHeight(n) : GetColWidth(n)) <= 0)
            continue;
        CGXRange covered;
        const BOOL bCovered = GetCoveredCellsRowCol(r, c, covered);
        if (bCovered && (bRows ? covered.top : covered.left) != n)
            continue;
        const CGXStyle& style = bCovered ? GetCellStyle(covered.top, covered.left) : GetCellStyle(r, c);
        if (!style.GetIncludeEnabled() || style.GetEnabled()) {
            nRow = r;
            nCol = c;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CGXGridEngine::MoveCurrentCell(int nDirection, ROWCOL nCount, BOOL bSelect)
{
    if (m_pParam == nullptr)
        return FALSE;
    if (nCount < 2)
        nCount = 1;
    const ROWCOL nRows = GetRowCount(), nCols = GetColCount();
    ROWCOL nStartRow, nStartCol;
    const BOOL bHad = GetCurrentCellPos(nStartRow, nStartCol);
    if (!bHad) {
        nStartRow = std::min(nStartRow, nRows);
        nStartCol = std::min(nStartCol, nCols);
    }
    const BOOL bKeepObjects = m_bKeepDrawingObjects, bKeepStyle = m_bKeepCurrentStyle;
    m_bKeepDrawingObjects = TRUE;
    CGXControl* pControl = bHad ? GetCellControl(nStartRow, nStartCol) : nullptr;
    m_bKeepCurrentStyle = bHad && m_bFastMove && pControl != nullptr && !pControl->GetModify();

    const ROWCOL nFrozenRows = GetFrozenRows(), nFrozenCols = GetFrozenCols();
    const ROWCOL nHeaderRows = GetHeaderRows(), nHeaderCols = GetHeaderCols();
    CGXRange covered;
    ROWCOL nCoverH = 0, nCoverW = 0;
    if (GetCoveredCellsRowCol(nStartRow, nStartCol, covered)) {
        nCoverH = covered.bottom - covered.top;
        nCoverW = covered.right - covered.left;
    }
    ROWCOL row = nStartRow, col = nStartCol;

    // One step back (up or left). Without the scroll-past-frozen option a step from the first
    // scrolled row enters the last frozen row without scrolling.
    auto stepBack = [&](BOOL bRows) {
        ROWCOL& n = bRows ? row : col;
        const ROWCOL nHeader = bRows ? nHeaderRows : nHeaderCols;
        const ROWCOL nFrozen = bRows ? nFrozenRows : nFrozenCols;
        const ROWCOL T = bRows ? m_nTopRow : m_nLeftCol;
        for (ROWCOL k = 0; k < nCount && n > nHeader + 1; ++k) {
            ROWCOL next = n - 1;
            if (!m_pParam->m_bScrollPastFrozen && n == T && nFrozen > nHeader && T > nFrozen + 1)
                next = nFrozen;
            ROWCOL r = bRows ? next : row, c = bRows ? col : next;
            if (!FindEnabledCell(bRows ? 1 : 2, r, c) || (bRows ? r : c) <= nHeader)
                break;
            row = r;
            col = c;
        }
    };
    auto stepForward = [&](BOOL bRows) {
        ROWCOL& n = bRows ? row : col;
        const ROWCOL nLimit = bRows ? nRows : nCols;
        ROWCOL nCover = bRows ? nCoverH : nCoverW;
        if (bRows)
            OnAccessRowCol(nRows, 0);
        else
            OnAccessRowCol(0, nCols);
        for (ROWCOL k = 0; k < nCount && n < nLimit; ++k) {
            ROWCOL r = bRows ? n + 1 + nCover : row, c = bRows ? col : n + 1 + nCover;
            nCover = 0;
            if (!FindEnabledCell(bRows ? 3 : 4, r, c))
                break;
            row = r;
            col = c;
        }
    };
    auto first = [&](BOOL bRows) {
        ROWCOL& n = bRows ? row : col;
        n = std::min((bRows ? nHeaderRows : nHeaderCols) + 1, bRows ? nRows : nCols);
        ROWCOL r = row, c = col;
        if (FindEnabledCell(bRows ? 3 : 4, r, c)) {
            row = r;
            col = c;
        }
    };
    auto last = [&](BOOL bRows) {
        if (bRows)
            OnAccessRowCol(GX_INVALID - 1, 0);
        else
            OnAccessRowCol(0, GX_INVALID - 1);
        (bRows ? row : col) = bRows ? nRows : nCols;
        ROWCOL r = row, c = col;
        if (FindEnabledCell(bRows ? 1 : 2, r, c) && (bRows ? r > nHeaderRows : c > nHeaderCols)) {
            row = r;
            col = c;
        }
    };

    switch (nDirection) {
    case 1: stepBack(TRUE); break;
    case 2: stepBack(FALSE); break;
    case 3: stepForward(TRUE); break;
    case 4: stepForward(FALSE); break;
    case 5: {
        OnAccessRowCol(nRows, 0);
        if (m_nTopRow >= nRows)
            break;
        const ROWCOL nLast = GetLastVisibleRow();
        const ROWCOL k = std::max<ROWCOL>(1, nLast > m_nTopRow ? nLast - m_nTopRow : 1);
        ScrollCellsBy(3, k);
        if (nStartRow > nFrozenRows) {
            ROWCOL r = std::min(nStartRow + k, nRows), c = col;
            if (FindEnabledCell(3, r, c) || FindEnabledCell(1, r = std::min(nStartRow + k, nRows), c)) {
                row = r;
                col = c;
            }
        }
        break;
    }
    case 6: {
        if (m_nTopRow <= nFrozenRows + 1) {
            first(TRUE);
            break;
        }
        // How many rows above the top row fill the room below the frozen rows.
        CRect rect;
        GetGridRect(&rect);
        const int nRoom = rect.Height() - CalcSumOfRowHeights(0, nFrozenRows);
        ROWCOL k = 0;
        int nSum = 0;
        for (ROWCOL n = m_nTopRow - 1; n > nFrozenRows; --n) {
            nSum += GetRowHeight(n);
            if (nSum > nRoom)
                break;
            ++k;
        }
        k = std::max<ROWCOL>(k, 1);
        ScrollCellsBy(1, k);
        if (nStartRow > nFrozenRows) {
            const ROWCOL nTarget = nStartRow > k ? std::max<ROWCOL>(nStartRow - k, 1) : 1;
            ROWCOL r = nTarget, c = col;
            if (FindEnabledCell(1, r, c) || FindEnabledCell(3, r = nTarget, c)) {
                row = r;
                col = c;
            }
        }
        break;
    }
    case 7: first(TRUE); break;
    case 8: last(TRUE); break;
    case 9:
        if (nStartCol > nHeaderCols && nStartCol > 1)
            ScrollCellsBy(2, nStartCol - 1);
        first(FALSE);
        break;
    case 10: last(FALSE); break;
    case 11:
        first(TRUE);
        first(FALSE);
        break;
    case 12:
        last(TRUE);
        last(FALSE);
        break;
    default: break;
    }

    BOOL bResult = TRUE;
    if ((row != nStartRow && row > nHeaderRows) || (col != nStartCol && col > nHeaderCols) || !bHad) {
        UINT nFlags = 0x8a;
        if (m_pParam->m_bSelectionFollowsCell && bSelect) {
            if (m_pParam->m_bClearSelectionOnMove && !IsCellInRangeList(row, col, &m_pParam->m_selRanges))
                SetSelectionRange(nullptr, 0, 0, 0, 0);
            nFlags = 0x0a;
        }
        bResult = PlaceCurrentCell(row, col, nFlags);
    }
    m_bKeepDrawingObjects = bKeepObjects;
    m_bKeepCurrentStyle = bKeepStyle;
    return bResult;
}

BOOL CGXGridEngine::AnchorIsValid()
{
    if (m_posAnchor == nullptr || m_pParam == nullptr)
        return FALSE;
    CGXRangeList& list = m_pParam->m_selRanges;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr; list.GetNext(pos))
        if (pos == m_posAnchor)
            return TRUE;
    m_posAnchor = nullptr;
    return FALSE;
}

BOOL CGXGridEngine::MoveCurrentCellEx(int nDirection, ROWCOL nCount)
{
    if (m_pParam == nullptr)
        return FALSE;
    const BOOL bShift = KeyDown(VK_SHIFT);
    CGXRangeList& list = m_pParam->m_selRanges;
    ROWCOL r, c;
    const BOOL bListBox = m_pParam->HasOptionGBits(3);
    const BOOL bExtend = bListBox ? m_pParam->HasOptionGBits(2) && bShift : bShift && m_pParam->HasOptionABits(0x40);
    if (!bListBox && !bExtend) {
        const BOOL bMoved = MoveCurrentCell(nDirection, nCount, TRUE);
        m_posAnchor = nullptr;
        return bMoved;
    }
    if (!GetCurrentCellPos(r, c))
        return bListBox ? MoveCurrentCell(nDirection, nCount, TRUE) : FALSE;
    // A new anchor: always without Shift in list-box mode, else at the first extending move.
    if (!AnchorIsValid() || (bListBox && !bExtend)) {
        if (!OnStartSelection(r, c, 0, CPoint(0, 0)) || !CanChangeSelection(nullptr, FALSE, TRUE))
            return FALSE;
        SetSelectionRange(nullptr, 0, 0, 0, 0);
        OnChangedSelection(nullptr, FALSE, TRUE);
        m_posAnchor = list.AddTail(new CGXRange(r, c));
        m_nAnchorRow = r;
        m_nAnchorCol = c;
    }
    if (!CanChangeSelection(list.GetRangeAt(m_posAnchor), FALSE, TRUE))
        return FALSE;
    // The selection is the anchor's range alone: the move itself leaves it as it is.
    MoveCurrentCell(nDirection, nCount, FALSE);
    GetCurrentCellPos(r, c);
    if (bListBox && !bExtend) {
        m_nAnchorRow = r;
        m_nAnchorCol = c;
    }
    if (!AnchorIsValid())
        return FALSE;
    if (bListBox)
        SetSelectionRange(m_posAnchor, m_pParam->HasOptionGBits(2) ? m_nAnchorRow : r, 0, r, 0);
    else
        SetSelectionRange(m_posAnchor, m_nAnchorRow, m_nAnchorCol, r, c);
    m_nLastRow = r;
    m_nLastCol = c;
    OnChangedSelection(list.GetRangeAt(m_posAnchor), FALSE, TRUE);
    return TRUE;
}
