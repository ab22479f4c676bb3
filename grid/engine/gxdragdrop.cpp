// Dragging blocks of cells out of a grid and dropping them onto a grid: the source side fills a
// data source with the text and "Grid Styles" blocks of the clipboard; the target side draws a
// dotted frame where the block would land and pastes it there, as one undo step.
#include "afxwin.h"
#include "afxapp.h"
#include "afxarch.h"
#include "afxexcept.h"
#include "afxfile.h"
#include "afxole.h"
#include "gxdragdrop.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxprop.h"
#include "gxutil.h"
#include <algorithm>

ROWCOL g_nDndRows = 0, g_nDndCols = 0;
BOOL g_bDndInProgress = FALSE;

namespace {
const ROWCOL kFree = 0xFFFFFFFE;
const ROWCOL kNone = 0xFFFFFFFF;
const UINT_PTR kTargetTimer = 23998, kSourceTimer = 23999;

void ResetParamDragState(CGXGridParam* pParam)
{
    if (pParam == nullptr)
        return;
    pParam->m_bDndFromHere = FALSE;
    pParam->m_nDndBlockTop = pParam->m_nDndBlockLeft = 0;
    pParam->m_pDndRanges = nullptr;
    pParam->m_nDndColLock = pParam->m_nDndRowLock = kFree;
    pParam->m_nDndGrabRow = pParam->m_nDndGrabCol = 0;
    pParam->m_bDndControlText = FALSE;
    pParam->m_pDndControl = nullptr;
}

HGLOBAL TextBlock(const CString& text)
{
    const SIZE_T size = static_cast<SIZE_T>(text.GetLength()) + 1;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
    if (h == nullptr)
        return nullptr;
    if (void* p = ::GlobalLock(h)) {
        memcpy(p, static_cast<LPCSTR>(text), size);
        ::GlobalUnlock(h);
        return h;
    }
    ::GlobalFree(h);
    return nullptr;
}

// A drop medium, released on every path.
class CMedium
{
public:
    CMedium() { memset(&m_stg, 0, sizeof(m_stg)); }
    ~CMedium()
    {
        if (m_bHeld)
            ::ReleaseStgMedium(&m_stg);
    }
    CMedium(const CMedium&) = delete;
    CMedium& operator=(const CMedium&) = delete;
    BOOL Get(COleDataObject* pData, CLIPFORMAT cf)
    {
        m_bHeld = pData->GetData(cf, &m_stg);
        return m_bHeld && m_stg.tymed == TYMED_HGLOBAL && m_stg.hGlobal != nullptr;
    }
    HGLOBAL Handle() const { return m_stg.hGlobal; }

private:
    STGMEDIUM m_stg;
    BOOL m_bHeld = FALSE;
};

} // namespace

void CGXGridEngine::SetDragDataSource(COleDataSource* pSource)
{
    if (m_pDragDataSource != nullptr && m_pDragDataSource != pSource)
        m_pDragDataSource->InternalRelease();
    m_pDragDataSource = pSource;
}

// ---------------------------------------------------------------------------------------------
// Source side

BOOL CGXGridEngine::StartCellDrag(ROWCOL nRow, ROWCOL nCol, CPoint) { return StartDragDrop(nRow, nCol); }

BOOL CGXGridEngine::OnTextDragStart(CPoint)
{
    ROWCOL r, c;
    if (!GetCurrentCellPos(r, c))
        return FALSE;
    return StartDragDrop(r, c);
}

BOOL CGXGridEngine::StartDragDrop(ROWCOL nRow, ROWCOL nCol)
{
    if (m_pDragDataSource == nullptr || m_pParam == nullptr || m_bDndSource)
        return FALSE;
    CGXRangeList sel;
    if (!CopySelectedRanges(sel, TRUE) || !sel.AnyRangeContains(nRow, nCol))
        return FALSE;
    CGXRangeList* pList = new CGXRangeList;
    for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;) {
        const CGXRange* r = sel.GetRangeAt(pos);
        sel.GetNext(pos);
        if ((m_nDndSourceFlags & GX_DND_MULTIAREA) || r->Contains(nRow, nCol)) {
            pList->AddTail(new CGXRange(*r));
            if (!(m_nDndSourceFlags & GX_DND_MULTIAREA))
                break;
        }
    }
    CGXGridParam* p = m_pParam;
    ResetParamDragState(p);
    const ROWCOL nFirstRow = (m_nDndSourceFlags & GX_DND_ROWHEADERS) ? 0 : GetHeaderRows() + 1;
    const ROWCOL nFirstCol = (m_nDndSourceFlags & GX_DND_COLHEADERS) ? 0 : GetHeaderCols() + 1;
    const ROWCOL nRowCount = GetRowCount(), nColCount = GetColCount();
    for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;) {
        CGXRange* r = pList->GetRangeAt(pos);
        pList->GetNext(pos);
        // Whole rows move only vertically, whole columns only horizontally.
        if (r->IsTable())
            p->m_nDndColLock = nFirstCol, p->m_nDndRowLock = nFirstRow;
        else if (r->IsRows())
            p->m_nDndColLock = nFirstCol;
        else if (r->IsCols())
            p->m_nDndRowLock = nFirstRow;
        r->ExpandToCells(nFirstRow, nFirstCol, nRowCount, nColCount);
        r->top = std::max(r->top, nFirstRow);
        r->left = std::max(r->left, nFirstCol);
    }
    m_bDndSource = TRUE;
    ROWCOL nRows = 0, nCols = 0;
    if (!FillDragDataSource(m_pDragDataSource, *pList, nRows, nCols) || nRows == 0 || nCols == 0) {
        m_pDragDataSource->Empty();
        ResetParamDragState(p);
        delete pList;
        m_bDndSource = FALSE;
        return FALSE;
    }
    g_nDndRows = nRows;
    g_nDndCols = nCols;
    p->m_bDndFromHere = TRUE;
    p->m_pDndRanges = pList;
    ROWCOL gr = std::min(std::max(nRow, nFirstRow), p->m_nDndRowLock);
    ROWCOL gc = std::min(std::max(nCol, nFirstCol), p->m_nDndColLock);
    // Several areas travel as one block whose corner is the first area's.
    const CGXRange& first = *pList->GetRangeAt(pList->GetHeadPosition());
    p->m_nDndBlockTop = first.top;
    p->m_nDndBlockLeft = first.left;
    if (pList->GetCount() == 1) {
        p->m_nDndGrabRow = gr >= first.top ? gr - first.top : 0;
        p->m_nDndGrabCol = gc >= first.left ? gc - first.left : 0;
    }
    CRect rect = CalcCellRect(gr, gc);
    HWND hWnd = GetGridHwnd();
    if (hWnd != nullptr) {
        ::ClientToScreen(hWnd, reinterpret_cast<POINT*>(&rect.left));
        ::ClientToScreen(hWnd, reinterpret_cast<POINT*>(&rect.right));
    }
    g_bDndInProgress = TRUE;
    if ((m_nDndTargetFlags & GX_DND_SOURCESCROLL) && hWnd != nullptr) {
        ::SetTimer(hWnd, kSourceTimer, 25, nullptr);
        m_bDndSourceTimer = TRUE;
    }
    const DROPEFFECT effect = m_pDragDataSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &rect, nullptr);
    if (effect & DROPEFFECT_MOVE) {
        if (p->m_bDndControlText) {
            OpenBlockCommand(GXGetAppState()->sCutData);
            CGXControl* pControl = p->m_pDndControl;
            if (pControl != nullptr && pControl->IsActive() && !IsReadOnly() && !pControl->IsReadOnly())
                pControl->ReplaceSel("");
            TransferCurrentCell();
            CloseBlockCommand();
        } else {
            ClearCells(*pList, FALSE);
        }
    }
    m_pDragDataSource->Empty();
    if (m_bDndSourceTimer && hWnd != nullptr)
        ::KillTimer(hWnd, kSourceTimer);
    m_bDndSourceTimer = FALSE;
    g_bDndInProgress = FALSE;
    g_nDndRows = g_nDndCols = 0;
    ResetParamDragState(p);
    delete pList;
    m_bDndSource = FALSE;
    return TRUE;
}

BOOL CGXGridEngine::FillDragDataSource(COleDataSource* pSource, const CGXRangeList& list, ROWCOL& nRows,
                                       ROWCOL& nCols)
{
    nRows = nCols = 0;
    if (pSource == nullptr)
        return FALSE;
    BOOL bHandled = FALSE;
    BOOL bStyles = (m_nDndSourceFlags & GX_DND_STYLES) != 0;
    m_nLastCopyRows = m_nLastCopyCols = 0;
    if (m_nDndSourceFlags & GX_DND_TEXT) {
        // The selected text of the control being edited travels alone.
        ROWCOL r, c;
        CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr;
        CString sel;
        const CGXRange* pOnly = list.GetCount() == 1 ? list.GetRangeAt(list.GetHeadPosition()) : nullptr;
        if (pOnly != nullptr && GetCurrentCellPos(r, c) && *pOnly == CGXRange(r, c) && pControl != nullptr &&
            pControl->IsActive() && pControl->GetSelectedText(sel) && !sel.IsEmpty()) {
            if (HGLOBAL h = TextBlock(sel)) {
                pSource->CacheGlobalData(CF_TEXT, h);
                m_nLastCopyRows = m_nLastCopyCols = 1;
                bStyles = FALSE;
                if (m_pParam != nullptr) {
                    m_pParam->m_bDndControlText = TRUE;
                    m_pParam->m_pDndControl = pControl;
                }
                bHandled = TRUE;
            }
        } else if (HGLOBAL h = WriteTextBlock(list)) {
            pSource->CacheGlobalData(CF_TEXT, h);
            bHandled = TRUE;
        }
    }
    if (bStyles) {
        if (HGLOBAL h = WriteStylesBlock(list, (m_nDndSourceFlags & GX_DND_COMPOSED) != 0)) {
            pSource->CacheGlobalData(static_cast<CLIPFORMAT>(GXGetAppState()->m_cfGridStyles), h);
            bHandled = TRUE;
        }
    }
    nRows = m_nLastCopyRows;
    nCols = m_nLastCopyCols;
    return bHandled;
}

// ---------------------------------------------------------------------------------------------
// Target side

BOOL CGXGridEngine::GetDropBlockSize(COleDataObject* pData, ROWCOL& nRows, ROWCOL& nCols)
{
    nRows = nCols = 0;
    if (pData == nullptr)
        return FALSE;
    const CLIPFORMAT cf = static_cast<CLIPFORMAT>(GXGetAppState()->m_cfGridStyles);
    if ((m_nDndTargetFlags & GX_DND_STYLES) && cf != 0 && pData->IsDataAvailable(cf)) {
        CMedium medium;
        DWORD R = 0, C = 0;
        // Foreign data is bounded as the paste bounds it before it sizes the drop frame.
        if (medium.Get(pData, cf) && GXStylesBlockSize(medium.Handle(), R, C))
            nRows = R, nCols = C;
    } else if ((m_nDndTargetFlags & GX_DND_TEXT) && pData->IsDataAvailable(CF_TEXT)) {
        CMedium medium;
        const SIZE_T size = medium.Get(pData, CF_TEXT) ? ::GlobalSize(medium.Handle()) : 0;
        if (size > 0) {
            if (LPCSTR p = static_cast<LPCSTR>(::GlobalLock(medium.Handle()))) {
                CalcTextBlockSize(p, static_cast<DWORD>(size), nRows, nCols);
                ::GlobalUnlock(medium.Handle());
            }
        }
    }
    if (nRows == 0 || nCols == 0)
        nRows = nCols = 0;
    return nRows != 0;
}

BOOL CGXGridEngine::CanDropData(COleDataObject* pData)
{
    if (pData == nullptr)
        return FALSE;
    const CLIPFORMAT cf = static_cast<CLIPFORMAT>(GXGetAppState()->m_cfGridStyles);
    return ((m_nDndTargetFlags & GX_DND_TEXT) && pData->IsDataAvailable(CF_TEXT)) ||
           ((m_nDndTargetFlags & GX_DND_STYLES) && cf != 0 && pData->IsDataAvailable(cf));
}

BOOL CGXGridEngine::PasteFromDataObject(COleDataObject* pData, ROWCOL nRow, ROWCOL nCol)
{
    if (pData == nullptr || m_pParam == nullptr)
        return FALSE;
    const CLIPFORMAT cf = static_cast<CLIPFORMAT>(GXGetAppState()->m_cfGridStyles);
    BOOL ok = FALSE;
    ROWCOL nRows = m_nDndRows, nCols = m_nDndCols;
    if ((m_nDndTargetFlags & GX_DND_STYLES) && cf != 0 && pData->IsDataAvailable(cf)) {
        CMedium medium;
        if (medium.Get(pData, cf)) {
            DWORD R = 0, C = 0;
            if (nRows == 0 && GXStylesBlockSize(medium.Handle(), R, C))
                nRows = R, nCols = C;
            ok = PasteStylesFromHandle(medium.Handle(), CGXRange(nRow, nCol), TRUE);
        }
    } else if ((m_nDndTargetFlags & GX_DND_TEXT) && pData->IsDataAvailable(CF_TEXT)) {
        CMedium medium;
        if (medium.Get(pData, CF_TEXT)) {
            const DWORD size = static_cast<DWORD>(::GlobalSize(medium.Handle()));
            if (LPCSTR p = static_cast<LPCSTR>(::GlobalLock(medium.Handle()))) {
                if (nRows == 0)
                    CalcTextBlockSize(p, size, nRows, nCols);
                ok = PasteTextFromBuffer(p, size, CGXRange(nRow, nCol));
                ::GlobalUnlock(medium.Handle());
            }
        }
    }
    if (!ok)
        return FALSE;
    SetSelectionRange(nullptr, 0, 0, 0, 0);
    PlaceCurrentCell(nRow, nCol, 10);
    if (nRows * nCols > 1) {
        CGXRange range(nRow, nCol, std::min(nRow + nRows - 1, GetRowCount()), std::min(nCol + nCols - 1, GetColCount()));
        if (m_pParam->m_bDndFromHere) {
            const BOOL bRowLock = m_pParam->m_nDndRowLock != kFree, bColLock = m_pParam->m_nDndColLock != kFree;
            if (bRowLock && bColLock)
                range.SetTable();
            else if (bRowLock)
                range.SetCols(range.left, range.right);
            else if (bColLock)
                range.SetRows(range.top, range.bottom);
        }
        SelectRange(range, TRUE, TRUE);
    }
    return TRUE;
}

BOOL CGXGridEngine::CalcDropTarget(ROWCOL& nRow, ROWCOL& nCol)
{
    const ROWCOL nRowCount = GetRowCount(), nColCount = GetColCount();
    if (m_pParam == nullptr || nRow > nRowCount || nCol > nColCount)
        return FALSE;
    if (m_pParam->m_bDndFromHere) {
        nRow = nRow >= m_pParam->m_nDndGrabRow ? nRow - m_pParam->m_nDndGrabRow : 0;
        nCol = nCol >= m_pParam->m_nDndGrabCol ? nCol - m_pParam->m_nDndGrabCol : 0;
        nRow = std::min(nRow, m_pParam->m_nDndRowLock);
        nCol = std::min(nCol, m_pParam->m_nDndColLock);
    }
    const ROWCOL nFirstRow = (m_nDndTargetFlags & GX_DND_ROWHEADERS) ? 0 : GetHeaderRows() + 1;
    const ROWCOL nFirstCol = (m_nDndTargetFlags & GX_DND_COLHEADERS) ? 0 : GetHeaderCols() + 1;
    nRow = std::max(nRow, nFirstRow);
    nCol = std::max(nCol, nFirstCol);
    // A block taller (wider) than the grid starts at the first row (column).
    if ((m_nDndTargetFlags & GX_DND_NOGROWROWS) && m_nDndRows > 0)
        nRow = std::min(nRow, nRowCount + 1 >= nFirstRow + m_nDndRows ? nRowCount + 1 - m_nDndRows : nFirstRow);
    if ((m_nDndTargetFlags & GX_DND_NOGROWCOLS) && m_nDndCols > 0)
        nCol = std::min(nCol, nColCount + 1 >= nFirstCol + m_nDndCols ? nColCount + 1 - m_nDndCols : nFirstCol);
    return TRUE;
}

DROPEFFECT CGXGridEngine::OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint point)
{
    m_dwDndForcedEffect = 0;
    if (!CanDropData(pData)) {
        m_dwDndForcedEffect = DROPEFFECT_SCROLL;
        return DROPEFFECT_NONE;
    }
    if (HWND hWnd = GetGridHwnd()) {
        // A view in an MDI child brings its frame forward; any other grid takes the focus.
        HWND hFrame = ::GetParent(hWnd);
        while (hFrame != nullptr && !(::GetWindowLongA(hFrame, GWL_EXSTYLE) & WS_EX_MDICHILD))
            hFrame = ::GetParent(hFrame);
        if (hFrame != nullptr && ::GetParent(hFrame) != nullptr)
            ::SendMessageA(::GetParent(hFrame), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hFrame), 0);
        else if (!IsGridOrChildWnd(::GetFocus()))
            ::SetFocus(hWnd);
    }
    ROWCOL nRows = 0, nCols = 0;
    if (g_bDndInProgress)
        nRows = g_nDndRows, nCols = g_nDndCols;
    else
        GetDropBlockSize(pData, nRows, nCols);
    if (nRows == 0 || nCols == 0) {
        m_dwDndForcedEffect = DROPEFFECT_SCROLL;
        return DROPEFFECT_NONE;
    }
    m_nDndRows = nRows;
    m_nDndCols = nCols;
    m_nDndRow = m_nDndCol = kNone;
    m_rcDndFeedback.SetRectEmpty();
    if ((m_nDndTargetFlags & GX_DND_TARGETSCROLL) && !m_bDndSourceTimer && GetGridHwnd() != nullptr) {
        ::SetTimer(GetGridHwnd(), kTargetTimer, 25, nullptr);
        m_bDndTargetTimer = TRUE;
    }
    return OnDragOver(pData, dwKeyState, point);
}

DROPEFFECT CGXGridEngine::OnDragOver(COleDataObject*, DWORD dwKeyState, CPoint point)
{
    if (m_dwDndForcedEffect != 0)
        return m_dwDndForcedEffect;
    DrawDragFeedback(point.x, point.y, TRUE, TRUE);
    if (m_nDndRow == kNone)
        return DROPEFFECT_NONE;
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

BOOL CGXGridEngine::OnDragLeave()
{
    if (m_bDndTargetTimer && GetGridHwnd() != nullptr)
        ::KillTimer(GetGridHwnd(), kTargetTimer);
    m_bDndTargetTimer = FALSE;
    const BOOL ok = DrawDragFeedback(0, 0, TRUE, FALSE);
    m_dwDndForcedEffect = 0;
    m_nDndRows = m_nDndCols = 0;
    return ok;
}

DROPEFFECT CGXGridEngine::OnDropEx()
{
    m_dwDndForcedEffect = 0;
    return static_cast<DROPEFFECT>(-1);
}

DROPEFFECT CGXGridEngine::OnDragScroll(DWORD dwKeyState, CPoint)
{
    if (m_dwDndForcedEffect != 0)
        return m_dwDndForcedEffect;
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGXGridEngine::OnDrop(COleDataObject* pData, DROPEFFECT dropEffect, CPoint point)
{
    if (m_nDndRows == 0 || m_nDndCols == 0 || m_nDndRow == kNone || m_pParam == nullptr)
        return DROPEFFECT_NONE;
    m_dwDndForcedEffect = 0;
    if (m_bDndTargetTimer && GetGridHwnd() != nullptr)
        ::KillTimer(GetGridHwnd(), kTargetTimer);
    m_bDndTargetTimer = FALSE;
    DrawDragFeedback(point.x, point.y, TRUE, FALSE);
    struct ClearSize
    {
        CGXGridEngine* p;
        ~ClearSize() { p->m_nDndRows = p->m_nDndCols = 0; }
    } clearSize{this};
    if (dropEffect == DROPEFFECT_NONE)
        return DROPEFFECT_NONE;
    ROWCOL nRow = 0, nCol = 0;
    if (HitTest(point, &nRow, &nCol) == GX_HIT_NONE || nRow > GetRowCount() || nCol > GetColCount())
        return DROPEFFECT_NONE;
    if (!m_pParam->m_bDndFromHere) {
        // The source empties its cells only when the block really arrived.
        return PasteFromDataObject(pData, nRow, nCol) ? dropEffect : DROPEFFECT_NONE;
    }
    if (!CalcDropTarget(nRow, nCol))
        return DROPEFFECT_NONE;
    if (nRow == m_pParam->m_nDndBlockTop && nCol == m_pParam->m_nDndBlockLeft)
        return DROPEFFECT_NONE;
    const BOOL bMove = (dropEffect & DROPEFFECT_MOVE) != 0 && !(dropEffect & DROPEFFECT_COPY);
    OpenBlockCommand(bMove ? GXGetAppState()->sMove : GXGetAppState()->sCopy);
    if (bMove) {
        if (m_pParam->m_bDndControlText) {
            CGXControl* pControl = m_pParam->m_pDndControl;
            if (pControl != nullptr && pControl->IsActive() && !IsReadOnly() && !pControl->IsReadOnly())
                pControl->ReplaceSel("");
            TransferCurrentCell();
        } else if (m_pParam->m_pDndRanges != nullptr) {
            ClearCells(*m_pParam->m_pDndRanges,
                       (m_nDndSourceFlags & GX_DND_STYLES) && (m_nDndTargetFlags & GX_DND_STYLES));
        }
    }
    if (PasteFromDataObject(pData, nRow, nCol))
        CloseBlockCommand();
    else
        RollbackBlockCommand();
    // The move is done here: the source must not empty the cells again.
    return DROPEFFECT_NONE;
}

BOOL CGXGridEngine::DrawDragFeedback(int x, int y, BOOL bErase, BOOL bDraw)
{
    if (m_nDndRows == 0 || m_nDndCols == 0 || m_pParam == nullptr)
        return FALSE;
    HWND hWnd = GetGridHwnd();
    if (!bErase && !bDraw) {
        if (!m_rcDndFeedback.IsRectEmpty() && hWnd != nullptr) {
            ::InvalidateRect(hWnd, &m_rcDndFeedback, TRUE);
            ::UpdateWindow(hWnd);
        }
        m_rcDndFeedback.SetRectEmpty();
        return TRUE;
    }
    ROWCOL nRow = 0, nCol = 0;
    BOOL bTarget = FALSE;
    if (bDraw)
        bTarget = HitTest(CPoint(x, y), &nRow, &nCol) != GX_HIT_NONE && CalcDropTarget(nRow, nCol);
    if (bTarget && nRow == m_nDndRow && nCol == m_nDndCol && !m_rcDndFeedback.IsRectEmpty())
        return TRUE;
    if (hWnd == nullptr) {
        // Without a window only the state follows.
        m_nDndRow = bTarget ? nRow : kNone;
        m_nDndCol = bTarget ? nCol : kNone;
        return TRUE;
    }
    CClientDC dc(m_pGridWnd);
    PrepareDC(&dc);
    if (bErase && !m_rcDndFeedback.IsRectEmpty()) {
        // Drawing the two frames again takes them away.
        dc.DrawFocusRect(m_rcDndFeedback);
        CRect inner = m_rcDndFeedback;
        inner.DeflateRect(1, 1);
        dc.DrawFocusRect(inner);
    }
    m_rcDndFeedback.SetRectEmpty();
    m_nDndRow = m_nDndCol = kNone;
    if (bDraw && bTarget) {
        const ROWCOL nBottom = std::min(nRow + m_nDndRows - 1, GetRowCount());
        const ROWCOL nRight = std::min(nCol + m_nDndCols - 1, GetColCount());
        CRect rect = CalcRectFromRowCol(nRow, nCol, nBottom, nRight);
        CGXProperties* pProp = m_pParam->GetProperties();
        const BOOL bRightBottom = m_pParam->m_bLinesAtRightBottom;
        if (pProp != nullptr && pProp->GetDisplayVertLines()) {
            if (bRightBottom)
                rect.right -= 1;
            else
                rect.left += 1;
        }
        if (pProp != nullptr && pProp->GetDisplayHorzLines()) {
            if (bRightBottom)
                rect.bottom -= 1;
            else
                rect.top += 1;
        }
        dc.DrawFocusRect(rect);
        m_rcDndFeedback = rect;
        rect.DeflateRect(1, 1);
        dc.DrawFocusRect(rect);
        m_nDndRow = nRow;
        m_nDndCol = nCol;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The drop-target adapter

BOOL CGXGridDropTarget::Register(CWnd* pWnd, CGXGridEngine* pGrid)
{
    m_pGrid = pGrid;
    return pGrid != nullptr && COleDropTarget::Register(pWnd);
}

DROPEFFECT CGXGridDropTarget::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return m_pGrid != nullptr ? m_pGrid->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CGXGridDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return m_pGrid != nullptr ? m_pGrid->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

void CGXGridDropTarget::OnDragLeave(CWnd*)
{
    if (m_pGrid != nullptr)
        m_pGrid->OnDragLeave();
}

BOOL CGXGridDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    return m_pGrid != nullptr && m_pGrid->OnDrop(pDataObject, dropEffect, point) != DROPEFFECT_NONE;
}

DROPEFFECT CGXGridDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
{
    return m_pGrid != nullptr ? m_pGrid->OnDropEx() : static_cast<DROPEFFECT>(-1);
}

DROPEFFECT CGXGridDropTarget::OnDragScroll(CWnd*, DWORD dwKeyState, CPoint point)
{
    return m_pGrid != nullptr ? m_pGrid->OnDragScroll(dwKeyState, point) : DROPEFFECT_NONE;
}
