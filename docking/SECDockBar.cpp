// The dock bar of the docking library: rows shared by percentage, with sizing splitters.
#include "SECDockBar.h"
#include "SECBar.h"
#include "SECDockContext.h"
#include "SECDockState.h"
#include <algorithm>
#include <vector>

using std::max;
using std::min;

SECControlBar* SECBarOf(CControlBar* pBar)
{
    return dynamic_cast<SECControlBar*>(pBar);
}

namespace {

// Bars that pack like toolbars in their rows: toolbar-like SEC bars and the platform's bars.
BOOL IsToolbarLike(CControlBar* pBar)
{
    SECControlBar* pSECBar = SECBarOf(pBar);
    return pSECBar == nullptr || (pSECBar->m_dwExStyle & CBRS_EX_TOOLBARSIZE) != 0;
}

BOOL IsFlatToolbar(CControlBar* pBar)
{
    SECControlBar* pSECBar = SECBarOf(pBar);
    return pSECBar != nullptr && (pSECBar->m_dwExStyle & CBRS_EX_FLATLOOK) &&
           (pSECBar->m_dwExStyle & CBRS_EX_TOOLBARSIZE);
}

CRect WindowRectIn(CWnd* pWnd, CWnd* pParent)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    return rect;
}

} // namespace

IMPLEMENT_DYNAMIC(SECDockBar, CDockBar)

BEGIN_MESSAGE_MAP(SECDockBar, CDockBar)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

SECDockBar::SECDockBar(BOOL bFloating, BOOL bMDIChild)
    : CDockBar(bFloating), m_bMDIChild(bMDIChild), m_pLayout(nullptr), m_pBarDocking(nullptr), m_bFlushing(FALSE),
      m_bRowsChanged(FALSE), m_fMinPct(0.08f)
{
}

SECDockBar::~SECDockBar()
{
    DeleteDividers(FALSE);
}

void SECDockBar::DeleteDividers(BOOL bOnlyUnused)
{
    for (CObArray* pArray : {&m_arrSplitters, &m_arrSeparators}) {
        for (int i = pArray->GetSize() - 1; i >= 0; i--) {
            CObject* pObject = pArray->GetAt(i);
            BOOL bUsed = FALSE;
            if (auto* pSplitter = dynamic_cast<SECDockBarSplitter*>(pObject))
                bUsed = pSplitter->m_bUsed;
            else if (auto* pSeparator = dynamic_cast<SECDockBarSeparator*>(pObject))
                bUsed = pSeparator->m_bUsed;
            if (!bOnlyUnused || !bUsed) {
                delete pObject;
                pArray->RemoveAt(i);
            }
        }
    }
}

void SECDockBar::OnDestroy()
{
    DeleteDividers(FALSE);
    CDockBar::OnDestroy();
}

// ---- Rows -----------------------------------------------------------------------------------------

int SECDockBar::RowStart(int nPos) const
{
    while (nPos > 1 && m_arrBars[nPos - 1] != nullptr)
        nPos--;
    return max(nPos, 1);
}

int SECDockBar::RowEnd(int nPos) const
{
    while (nPos < m_arrBars.GetSize() && m_arrBars[nPos] != nullptr)
        nPos++;
    return nPos;
}

int SECDockBar::DockLength() const
{
    CRect rect;
    GetClientRect(&rect);
    return IsHorzDock() ? rect.Width() : rect.Height();
}

DWORD SECDockBar::BarMode(CControlBar* pBar) const
{
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
        return LM_HORZ | LM_MRUWIDTH;
    if (pBar->m_dwStyle & CBRS_ORIENT_HORZ)
        return LM_HORZ | LM_HORZDOCK;
    return LM_VERTDOCK | LM_LENGTHY;
}

BOOL SECDockBar::IsBarExpanded(CControlBar* pBar)
{
    int nPos = FindBar(pBar);
    SECControlBar* pSECBar = SECBarOf(pBar);
    if (nPos <= 0 || pSECBar == nullptr || pSECBar->m_fPctWidth <= m_fMinPct)
        return FALSE;
    for (int i = RowStart(nPos); i < RowEnd(nPos); i++) {
        SECControlBar* pOther = SECBarOf(GetDockedControlBar(i));
        if (pOther != nullptr && pOther != pBar && pOther->m_fPctWidth > m_fMinPct)
            return FALSE;
    }
    return TRUE;
}

BOOL SECDockBar::IsBarAloneInRow(CControlBar* pBar)
{
    if (pBar == nullptr)
        return FALSE;
    int nPos = FindBar(pBar);
    if (nPos <= 0)
        return FALSE;
    for (int i = RowStart(nPos); i < RowEnd(nPos); i++) {
        CControlBar* pOther = GetDockedControlBar(i);
        if (pOther != nullptr && pOther != pBar && pOther->IsVisible())
            return FALSE;
    }
    return TRUE;
}

void SECDockBar::GetRowBars(CControlBar* pBar, CPtrArray& arrBars)
{
    arrBars.RemoveAll();
    int nPos = FindBar(pBar);
    if (nPos <= 0)
        return;
    for (int i = RowStart(nPos); i < RowEnd(nPos); i++) {
        if (CControlBar* pRowBar = GetDockedControlBar(i))
            arrBars.Add(pRowBar);
    }
}

void SECDockBar::NormalizeRow(int nStart, CControlBar* pSizedBar, int* pnSizable, int* pnToolbars)
{
    int nLength = DockLength();
    if (nLength > 0)
        m_fMinPct = min(1.0f, 18.0f / (float)nLength);
    int nEnd = RowEnd(nStart);

    SECControlBar* pSized = SECBarOf(pSizedBar);
    if (pSized != nullptr) {
        int nPos = FindBar(pSizedBar);
        if (!pSized->IsVisible() || pSized->m_fPctWidth > 0.95f || nPos < nStart || nPos >= nEnd)
            pSized = nullptr;
    }
    float fOther = 0.0f;
    float fSized = 0.0f;
    int nSizable = 0, nToolbars = 0;
    for (int i = nStart; i < nEnd; i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar == nullptr || !pBar->IsVisible())
            continue;
        if (IsToolbarLike(pBar))
            nToolbars++;
        else
            nSizable++;
        SECControlBar* pSECBar = SECBarOf(pBar);
        if (pSECBar == nullptr)
            continue;
        if (pSECBar == pSized) {
            pSECBar->m_fPctWidth = min(0.95f, max(m_fMinPct, pSECBar->m_fPctWidth));
            fSized = pSECBar->m_fPctWidth;
        }
        else
            fOther += pSECBar->m_fPctWidth;
    }
    if (pSized != nullptr && fSized > 0.0f) {
        // The others make room for the sized bar's share.
        float fFactor;
        if (fOther > 0.0f) {
            fSized = min(fSized, 0.95f);
            fFactor = fOther == fSized ? 1.0f : fOther / (fOther - fSized);
        }
        else
            fFactor = 1.0f / fSized;
        pSized->m_fPctWidth = max(m_fMinPct, pSized->m_fPctWidth * fFactor);
        fOther += pSized->m_fPctWidth;
    }
    if (fOther <= 0.0f && pSized == nullptr) {
        // No bar has a share (a layout saved without them): the row is shared out evenly.
        int nBars = 0;
        for (int i = nStart; i < nEnd; i++) {
            SECControlBar* pSECBar = SECBarOf(GetDockedControlBar(i));
            if (pSECBar != nullptr && pSECBar->IsVisible())
                nBars++;
        }
        for (int i = nStart; i < nEnd && nBars > 0; i++) {
            SECControlBar* pSECBar = SECBarOf(GetDockedControlBar(i));
            if (pSECBar != nullptr && pSECBar->IsVisible())
                pSECBar->m_fPctWidth = max(m_fMinPct, 1.0f / (float)nBars);
        }
    }
    else if (fOther > 0.0f) {
        for (int i = nStart; i < nEnd; i++) {
            SECControlBar* pSECBar = SECBarOf(GetDockedControlBar(i));
            if (pSECBar == nullptr || !pSECBar->IsVisible())
                continue;
            pSECBar->m_fPctWidth /= fOther;
            if (pSECBar->m_fPctWidth <= m_fMinPct)
                pSECBar->m_fPctWidth = m_fMinPct;
        }
    }
    if (pnSizable != nullptr)
        *pnSizable = nSizable;
    if (pnToolbars != nullptr)
        *pnToolbars = nToolbars;
}

void SECDockBar::ExpandBar(CControlBar* pBar, int nMode)
{
    int nPos = FindBar(pBar);
    if (nPos <= 0)
        return;
    int nStart = RowStart(nPos);
    for (int i = nStart; i < RowEnd(nPos); i++) {
        if (SECControlBar* pSECBar = SECBarOf(GetDockedControlBar(i)))
            pSECBar->m_fPctWidth = nMode == 1 ? (pSECBar == pBar ? 1.0f : 0.0f) : 0.1f;
    }
    NormalizeRow(nStart, pBar);
    MarkForRedraw(nStart);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
}

void SECDockBar::MarkForRedraw(int nIndex)
{
    if (nIndex < 0)
        return;
    // The bars that move when a row changes: those after it, or before it on the far sides.
    if (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) {
        for (int i = 0; i < nIndex && i < m_arrBars.GetSize(); i++)
            AddToRedraw(GetDockedControlBar(i));
    }
    else {
        for (int i = nIndex; i < m_arrBars.GetSize(); i++)
            AddToRedraw(GetDockedControlBar(i));
    }
}

void SECDockBar::AddToRedraw(CControlBar* pBar)
{
    if (pBar == nullptr)
        return;
    for (int i = 0; i < m_arrRedraw.GetSize(); i++) {
        if (m_arrRedraw[i] == pBar)
            return;
    }
    m_arrRedraw.Add(pBar);
}

void SECDockBar::SetBarDocking(CControlBar* pBar)
{
    if (IsBarAloneInRow(pBar)) {
        int nPos = FindBar(pBar);
        if (nPos > 0)
            MarkForRedraw(RowStart(nPos));
    }
    AddToRedraw(pBar);
    m_pBarDocking = pBar;
}

// ---- Docking --------------------------------------------------------------------------------------

int SECDockBar::InsertBarAt(CControlBar* pBar, int nCol, int nRow)
{
    // The row's first entry. Rows up to one past the last are appended empty, so that sparse row
    // numbers keep their order (a bar docked at row 1 after one at row 2 comes before it).
    int nStart = 1;
    for (int r = 0; r < nRow; r++) {
        if (nStart >= m_arrBars.GetSize())
            m_arrBars.Add(nullptr); // the end of an empty row r
        nStart = RowEnd(nStart) + 1;
    }
    nStart = min(nStart, (int)m_arrBars.GetSize());
    int nPos = nStart;
    int nVisible = 0;
    int nEnd = RowEnd(nStart);
    for (nPos = nStart; nPos < nEnd; nPos++) {
        CControlBar* pRowBar = GetDockedControlBar(nPos);
        if (pRowBar != nullptr && pRowBar->IsVisible()) {
            if (nVisible == nCol)
                break;
            nVisible++;
        }
    }
    m_arrBars.InsertAt(nPos, pBar);
    if (nPos == m_arrBars.GetSize() - 1)
        m_arrBars.Add(nullptr);
    MarkForRedraw(nPos);
    return nPos;
}

void SECDockBar::DockControlBarAt(CControlBar* pBar, int nCol, int nRow)
{
    TakeBar(pBar, TRUE);
    int nOldPos = pBar->m_pDockBar == this ? FindBar(pBar) : -1;
    int nPos = InsertBarAt(pBar, nCol, nRow);
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    if (nOldPos > 0) {
        // Moved within this dock bar: the old entry goes.
        if (nPos <= nOldPos)
            nOldPos++;
        EraseEntry(nOldPos);
    }
    else if (pBar->m_pDockBar != nullptr)
        pBar->m_pDockBar->RemoveControlBar(pBar);
    pBar->m_pDockBar = this;
    RemovePlaceHolder(pBar);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
}

void SECDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    int nPos = pBar->m_pDockBar == this ? FindBar(pBar) : -1;
    if (nPos > 0 && lpRect != nullptr) {
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        if (IsToolbarLike(pBar) && rectBar == *lpRect)
            return;
        // Moved within its own row: it keeps its place in the row; only its window moves.
        CRect rect(*lpRect);
        ScreenToClient(&rect);
        CPoint ptMid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
        if (RowFromPoint(ptMid) == RowStart(nPos)) {
            pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
            if (CFrameWnd* pFrame = GetDockingFrame())
                pFrame->DelayRecalcLayout();
            return;
        }
    }
    PlaceBar(pBar, lpRect, FALSE);
}

void SECDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    // Back at its kept place, the bar keeps its share of the row.
    PlaceBar(pBar, lpRect, TRUE);
    SetBarDocking(pBar);
}

BOOL SECDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int)
{
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE;
    if (IsBarAloneInRow(pBar)) {
        MarkForRedraw(RowStart(nPos));
        m_bRowsChanged = TRUE;
    }
    for (int i = m_arrRedraw.GetSize() - 1; i >= 0; i--) {
        if (m_arrRedraw[i] == pBar)
            m_arrRedraw.RemoveAt(i);
    }
    if (m_pBarDocking == pBar)
        m_pBarDocking = nullptr;
    // The bar's place always stays behind as its id.
    return CDockBar::RemoveControlBar(pBar, nPosExclude, 1);
}

int SECDockBar::RowFromPoint(CPoint point)
{
    const AFX_BARDATA& data = AfxGetBarData();
    BOOL bHorz = IsHorzDock();
    int nWidth = 0, nTotal = 0, nRowStart = 1;
    for (int nPos = 1; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != nullptr && pBar->IsVisible()) {
            CRect rect = WindowRectIn(pBar, this);
            nWidth = max(nWidth, bHorz ? rect.Height() : rect.Width() - 1);
        }
        else if (m_arrBars[nPos] == nullptr) {
            nTotal += nWidth - data.cyBorder2;
            nWidth = 0;
            if ((bHorz ? point.y : point.x) < nTotal)
                return nRowStart;
            nRowStart = nPos + 1;
        }
    }
    return m_arrBars.GetSize();
}

CRect SECDockBar::GetDragPreviewRect(CControlBar* pBar, const CRect& rectDrag, CPoint ptCursor, int& nPreviewRow,
                                     CRect& rectPreview, CPoint& ptPreview)
{
    BOOL bHorz = IsHorzDock();
    CRect rectClient = rectDrag;
    ScreenToClient(&rectClient);
    int nRow = RowFromPoint(rectClient.CenterPoint());
    int nOthers = 0;
    BOOL bInRow = FALSE;
    float fSum = 0.0f;
    int nThickness = 0;
    for (int i = nRow; i < RowEnd(nRow); i++) {
        CControlBar* pRowBar = GetDockedControlBar(i);
        if (pRowBar == pBar)
            bInRow = TRUE;
        if (pRowBar == nullptr || pRowBar == pBar || !pRowBar->IsVisible())
            continue;
        nOthers++;
        if (SECControlBar* pSECBar = SECBarOf(pRowBar)) {
            fSum += pSECBar->m_fPctWidth;
            CSize size = pSECBar->CalcDynamicLayout(-1, bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
            nThickness = max(nThickness, (int)(bHorz ? size.cy : size.cx));
        }
    }
    // In the row of the previous preview, the preview only follows the cursor.
    if (nOthers > 0 && nRow == nPreviewRow) {
        rectPreview.OffsetRect(ptCursor - ptPreview);
        ptPreview = ptCursor;
        return rectPreview;
    }
    CRect rect = rectDrag;
    SECControlBar* pSECBar = SECBarOf(pBar);
    if (!IsToolbarLike(pBar)) {
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        if (nOthers == 0) {
            // Alone in its row: the whole length of the dock bar.
            if (bHorz) {
                rect.left = rectWindow.left;
                rect.right = rectWindow.right;
            }
            else {
                rect.top = rectWindow.top;
                rect.bottom = rectWindow.bottom;
            }
        }
        else if (!bInRow && fSum > 0.0f && pSECBar != nullptr) {
            // Its share of the row, placed where the cursor holds it.
            fSum += pSECBar->m_fPctWidth;
            CSize size = pSECBar->CalcDynamicLayout(-1, bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
            nThickness = max(nThickness, (int)(bHorz ? size.cy : size.cx));
            int nDockLength = bHorz ? rectWindow.Width() : rectWindow.Height();
            int nLength = (int)(nDockLength * pSECBar->m_fPctWidth / fSum);
            int nRectLength = bHorz ? rect.Width() : rect.Height();
            int nRectThick = bHorz ? rect.Height() : rect.Width();
            double f = nRectLength > 0 ? (double)((bHorz ? ptCursor.x - rect.left : ptCursor.y - rect.top)) / nRectLength
                                       : 0.5;
            double g = nRectThick > 0 ? (double)((bHorz ? ptCursor.y - rect.top : ptCursor.x - rect.left)) / nRectThick
                                      : 0.5;
            int dAlong = nRectLength - nLength;
            int dAcross = nRectThick - nThickness;
            if (bHorz) {
                rect.left += (int)(f * dAlong);
                rect.right -= (int)((1.0 - f) * dAlong);
                rect.top += (int)(g * dAcross);
                rect.bottom -= (int)((1.0 - g) * dAcross);
            }
            else {
                rect.top += (int)(f * dAlong);
                rect.bottom -= (int)((1.0 - f) * dAlong);
                rect.left += (int)(g * dAcross);
                rect.right -= (int)((1.0 - g) * dAcross);
            }
        }
    }
    nPreviewRow = nRow;
    rectPreview = rect;
    ptPreview = ptCursor;
    return rect;
}

// ---- Row layout -----------------------------------------------------------------------------------

namespace {

// A divider record of the last layout with the same rectangle, not yet found again; else a new one.
template <class TRecord, class Match> TRecord* RecycleRecord(CObArray& arr, const CRect& rect, Match match)
{
    for (int i = 0; i < arr.GetSize(); i++) {
        auto* pRecord = static_cast<TRecord*>(arr[i]);
        if (pRecord->m_rect == rect && !pRecord->m_bUsed && match(pRecord)) {
            pRecord->m_bUsed = TRUE;
            return pRecord;
        }
    }
    auto* pRecord = new TRecord;
    pRecord->m_rect = rect;
    pRecord->m_bUsed = TRUE;
    arr.Add(pRecord);
    return pRecord;
}

} // namespace

SECDockBarSplitter* SECDockBar::AddSplitter(int nOrient, int nKind, const CRect& rect, int nIndex)
{
    auto* pSplitter = RecycleRecord<SECDockBarSplitter>(m_arrSplitters, rect,
                                                        [nKind](SECDockBarSplitter* p) { return p->m_nKind == nKind; });
    pSplitter->m_nOrient = nOrient;
    pSplitter->m_nKind = nKind;
    pSplitter->m_nIndex = nIndex;
    return pSplitter;
}

SECDockBarSeparator* SECDockBar::AddSeparator(int nOrient, const CRect& rect)
{
    auto* pSeparator =
        RecycleRecord<SECDockBarSeparator>(m_arrSeparators, rect, [](SECDockBarSeparator*) { return true; });
    pSeparator->m_nOrient = nOrient;
    return pSeparator;
}

CSize SECDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const SECSysData& data = SECGetSysData();
    BOOL bQuery = m_bLayoutQuery;
    CSize sizeMax;
    if (!m_rectLayout.IsRectEmpty())
        sizeMax = m_rectLayout.Size();
    else {
        CRect rectFrame;
        if (CWnd* pParent = GetParent())
            pParent->GetClientRect(&rectFrame);
        sizeMax = rectFrame.Size();
    }
    int nExtent = bHorz ? sizeMax.cx : sizeMax.cy;
    // The far sides have their sizing splitter before a row, the near sides after it.
    BOOL bFarSide = (m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_ALIGN_RIGHT)) != 0;
    int nSplitOrient = bHorz ? 0 : 1;

    HDWP hDWP = bQuery ? nullptr : ::BeginDeferWindowPos(m_arrBars.GetSize());
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = hDWP;
    if (!bQuery) {
        for (int i = 0; i < m_arrSplitters.GetSize(); i++)
            static_cast<SECDockBarSplitter*>(m_arrSplitters[i])->m_bUsed = FALSE;
        for (int i = 0; i < m_arrSeparators.GetSize(); i++)
            static_cast<SECDockBarSeparator*>(m_arrSeparators[i])->m_bUsed = FALSE;
    }

    int nAcross = 0;            // where the next row starts across the dock bar
    int nFar = 0;               // the far edge across of what was placed
    int nAlongMax = 0;          // the longest row
    int nFirstChanged = -1;
    BOOL bFirstRow = TRUE;
    BOOL bPrevSizable = FALSE;
    BOOL bWrapNext = FALSE;     // the row starts with a bar that did not fit in the row before

    // Places a bar in the batch and notes what changed.
    auto place = [&](int nPos, CControlBar* pBar, const CRect& rect) {
        CRect rectOld = WindowRectIn(pBar, this);
        if (rect != rectOld && !bQuery) {
            UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
            if (data.bDeferRedraw)
                nFlags |= SWP_NOREDRAW;
            if (rect.Size() == rectOld.Size())
                nFlags |= SWP_NOSIZE;
            else
                AddToRedraw(pBar);
            if (layout.hDWP != nullptr)
                layout.hDWP = ::DeferWindowPos(layout.hDWP, pBar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(),
                                               rect.Height(), nFlags);
            if (!(pBar->m_dwStyle & CBRS_FLOATING))
                RememberDockPlace(pBar, rect);
            if (nFirstChanged < 0)
                nFirstChanged = nPos;
        }
    };
    auto across = [&](int nAlong, int nAcrossPos, int nLength, int nThick) {
        return bHorz ? CRect(nAlong, nAcrossPos, nAlong + nLength, nAcrossPos + nThick)
                     : CRect(nAcrossPos, nAlong, nAcrossPos + nThick, nAlong + nLength);
    };

    // A bar shown or hidden with a delay is laid out as it will be: its pending state holds until
    // its row is laid out, and then its window is shown or hidden with the row's moves. (The window
    // keeps its old state until the batch ends, so the pending state is the only true one here.)
    auto applyDelayedShow = [&](int nFrom, int nTo) {
        for (int i = nFrom; i < nTo; i++) {
            if (CControlBar* pBar = GetDockedControlBar(i))
                pBar->RecalcDelayShow(&layout);
        }
    };

    int nPos = 1;
    while (nPos < m_arrBars.GetSize()) {
        int nEnd = RowEnd(nPos);
        int nVisible = 0;
        for (int i = nPos; i < nEnd; i++) {
            CControlBar* pBar = GetDockedControlBar(i);
            if (pBar != nullptr && pBar->IsVisible())
                nVisible++;
        }
        if (nVisible == 0) {
            applyDelayedShow(nPos, nEnd);
            nPos = nEnd + 1;
            continue;
        }
        int nSizable = 0, nToolbars = 0;
        NormalizeRow(nPos, m_pBarDocking, &nSizable, &nToolbars);

        if (nSizable > 0 && !m_bFloating) {
            // A row shared by percentage, with its splitters.
            int nAvail = nExtent - nSplitter * (nVisible - 1);
            int nThickness = 0;
            for (int i = nPos; i < nEnd; i++) {
                CControlBar* pBar = GetDockedControlBar(i);
                if (pBar == nullptr || !pBar->IsVisible())
                    continue;
                DWORD dwMode = BarMode(pBar) | LM_STRETCH;
                if (!bQuery)
                    pBar->CalcDynamicLayout(nAvail, dwMode | LM_COMMIT);
                CSize size = pBar->CalcDynamicLayout(-1, dwMode);
                nThickness = max(nThickness, (int)(bHorz ? size.cy : size.cx));
            }
            if (bFirstRow && bFarSide)
                nAcross += 1;
            // A sizable row has its row splitter on the side facing the frame's centre and a
            // plain separator on the other.
            auto rowEdge = [&](bool bSplitter) {
                if (bSplitter) {
                    if (!bQuery)
                        AddSplitter(nSplitOrient, SECDockBarSplitter::rowSplitter,
                                    across(0, nAcross, nExtent, nSplitter), nPos);
                    nAcross += nSplitter;
                }
                else {
                    if (!bQuery)
                        AddSeparator(nSplitOrient, across(0, nAcross, nExtent, nSeparator));
                    nAcross += nSeparator;
                }
            };
            rowEdge(bFarSide);
            int nAlong = 0;
            int nLeft = nVisible;
            for (int i = nPos; i < nEnd; i++) {
                CControlBar* pBar = GetDockedControlBar(i);
                if (pBar == nullptr || !pBar->IsVisible())
                    continue;
                DWORD dwMode = BarMode(pBar);
                // The row's thickness across, without the share.
                DWORD dwAcross = (dwMode & ~LM_LENGTHY) | LM_COMMIT | (bHorz ? LM_LENGTHY : 0);
                if (!bQuery)
                    pBar->CalcDynamicLayout(nThickness, dwAcross);
                CSize size = pBar->CalcDynamicLayout(-1, dwMode | LM_STRETCH);
                int nLength = bHorz ? size.cx : size.cy;
                place(i, pBar, across(nAlong, nAcross, nLength, nThickness));
                nAlong += nLength;
                nAlongMax = max(nAlongMax, nAlong);
                if (--nLeft > 0) {
                    if (!bQuery)
                        AddSplitter(1 - nSplitOrient, SECDockBarSplitter::barSplitter,
                                    across(nAlong, nAcross, nSplitter, nThickness), i);
                    nAlong += nSplitter;
                }
            }
            nAcross += nThickness;
            rowEdge(!bFarSide);
            nFar = max(nFar, nAcross);
            bPrevSizable = TRUE;
        }
        else {
            // Toolbar-like bars (and the bars of a floating frame) pack as toolbars do.
            BOOL bFlat = TRUE;
            for (int i = nPos; i < nEnd; i++) {
                CControlBar* pBar = GetDockedControlBar(i);
                if (pBar != nullptr && pBar->IsVisible() && !IsFlatToolbar(pBar))
                    bFlat = FALSE;
            }
            // (A floating frame's bar lies over the frame's edges by its border lines.)
            int nOverlap = bFlat ? 0 : data.cxBorder;
            int nStart = bFlat ? -1 : -2;
            int nRowAcross = bFirstRow ? nStart : nAcross + ((bFlat && bPrevSizable) ? 1 : 0);
            CPoint pt = bHorz ? CPoint(nStart, nRowAcross) : CPoint(nRowAcross, nStart);
            int nThickness = 0;
            BOOL bWrapped = bWrapNext;
            bWrapNext = FALSE;
            BOOL bFirstInRow = TRUE;
            for (int i = nPos; i < RowEnd(nPos); i++) {
                CControlBar* pBar = GetDockedControlBar(i);
                if (pBar == nullptr || !pBar->IsVisible())
                    continue;
                CRect rect;
                if (!PackBar(pBar, bFirstInRow, bWrapped, pt, sizeMax, bHorz, nOverlap, nStart, nThickness, rect)) {
                    // It does not fit: a new row starts with it.
                    m_arrBars.InsertAt(i, (void*)nullptr);
                    bWrapNext = TRUE;
                    break;
                }
                place(i, pBar, rect);
                // Packed bars overlap their neighbours and the edges by the overlap.
                nAlongMax = max(nAlongMax, (int)(bHorz ? pt.x : pt.y));
                bFirstInRow = bWrapped = FALSE;
            }
            nAcross = nRowAcross + nThickness - (bFlat ? 0 : data.cyBorder);
            nFar = max(nFar, nAcross);
            bPrevSizable = FALSE;
        }
        // (A bar that did not fit has moved to the next row and is shown with it.)
        applyDelayedShow(nPos, RowEnd(nPos));
        bFirstRow = FALSE;
        nPos = RowEnd(nPos) + 1;
    }

    if (hDWP != nullptr && layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);
    if (!bQuery) {
        DeleteDividers(TRUE);
        if (nFirstChanged > 0)
            MarkForRedraw(nFirstChanged + 1);
        m_pBarDocking = nullptr;
    }

    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    if (nFar <= 0 && nAlongMax <= 0)
        return CSize(0, 0);
    CRect rectInset;
    CalcInsideRect(rectInset, bHorz);
    if (bHorz) {
        if (!bStretch)
            sizeFixed.cx = nAlongMax - rectInset.Width();
        sizeFixed.cy = nFar - rectInset.Height();
    }
    else {
        if (!bStretch)
            sizeFixed.cy = nAlongMax - rectInset.Height();
        sizeFixed.cx = nFar - rectInset.Width();
    }
    return sizeFixed;
}

LRESULT SECDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    SECSysData& data = SECGetSysData();
    BOOL bDeferRedraw = data.bDeferRedraw;
    data.bDeferRedraw = m_bRowsChanged;
    m_pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    LRESULT lResult = CDockBar::OnSizeParent(wParam, lParam);
    m_pLayout = nullptr;
    data.bDeferRedraw = bDeferRedraw;
    return lResult;
}

void SECDockBar::MoveInLayout(AFX_SIZEPARENTPARAMS* lpLayout, const CRect& rect)
{
    CRect rectOld = WindowRectIn(this, GetParent());
    if (rectOld == rect || lpLayout->hDWP == nullptr)
        return;
    // A new size is painted by the flush after the layout; a move alone copies nothing.
    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    nFlags |= rectOld.Size() != rect.Size() ? SWP_NOREDRAW : SWP_NOCOPYBITS;
    if (rectOld.Size() != rect.Size()) {
        m_bRowsChanged = TRUE;
        AddUncovered(rectOld, rect);
    }
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, rect.left, rect.top, rect.Width(),
                                      rect.Height(), nFlags);
}

// ---- Painting -------------------------------------------------------------------------------------

void SECDockBar::DoPaint(CDC* pDC)
{
    const SECSysData& data = SECGetSysData();
    for (int i = 0; i < m_arrSplitters.GetSize(); i++) {
        auto* pSplitter = static_cast<SECDockBarSplitter*>(m_arrSplitters[i]);
        CRect rect = pSplitter->m_rect;
        pDC->FillSolidRect(&rect, data.clrBtnFace);
        if (pSplitter->m_nOrient == 0) {
            pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, data.clrBtnHilite);
            pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, data.clrBtnShadow);
            pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, data.clrWindowFrame);
        }
        else {
            pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), data.clrBtnHilite);
            pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), data.clrBtnShadow);
            pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), data.clrWindowFrame);
        }
    }
    for (int i = 0; i < m_arrSeparators.GetSize(); i++) {
        auto* pSeparator = static_cast<SECDockBarSeparator*>(m_arrSeparators[i]);
        const CRect& rect = pSeparator->m_rect;
        if (pSeparator->m_nOrient == 0) {
            pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, data.clrBtnShadow);
            pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, data.clrBtnHilite);
        }
        else {
            pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), data.clrBtnShadow);
            pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), data.clrBtnHilite);
        }
    }
    if (m_bFlushing) {
        for (int i = 0; i < m_arrRedraw.GetSize(); i++) {
            auto* pBar = static_cast<CControlBar*>(m_arrRedraw[i]);
            if (pBar->m_hWnd != nullptr)
                pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        m_arrRedraw.RemoveAll();
        m_bRowsChanged = FALSE;
    }
    CDockBar::DoPaint(pDC);
}

void SECDockBar::AddUncovered(const CRect& rectOld, const CRect& rectNew)
{
    // Grown or shrunk in place, the dock bar keeps what it showed in the rectangle both share;
    // the rest of the new one still shows what was there before, and the bars of its rows that
    // lie in it (shown or moved there while the old size cut them off) were never asked to paint
    // it. Moved, all of the new rectangle is stale. The parent's area the old rectangle leaves is
    // not painted either: the windows that take it over may have been moved without a redraw.
    CRgn rgnOld, rgnNew, rgnPart;
    rgnOld.CreateRectRgnIndirect(&rectOld);
    rgnNew.CreateRectRgnIndirect(&rectNew);
    rgnPart.CreateRectRgn(0, 0, 0, 0);
    rgnPart.CombineRgn(&rgnOld, &rgnNew, rectOld.TopLeft() == rectNew.TopLeft() ? RGN_XOR : RGN_OR);
    if (m_rgnUncovered.GetSafeHandle() == nullptr)
        m_rgnUncovered.CreateRectRgn(0, 0, 0, 0);
    m_rgnUncovered.CombineRgn(&m_rgnUncovered, &rgnPart, RGN_OR);
}

void SECDockBar::Flush()
{
    if (m_rgnUncovered.GetSafeHandle() != nullptr) {
        if (CWnd* pParent = GetParent())
            pParent->RedrawWindow(nullptr, &m_rgnUncovered, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        m_rgnUncovered.DeleteObject();
    }
    m_bFlushing = TRUE;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    if (m_arrRedraw.GetSize() > 0 || m_bRowsChanged) {
        // Nothing of the dock bar itself was painted (it has no area): the bars still are.
        CClientDC dc(this);
        DoPaint(&dc);
    }
    m_bFlushing = FALSE;
}

// ---- Splitters ------------------------------------------------------------------------------------

SECDockBarSplitter* SECDockBar::SplitterFromPoint(CPoint point) const
{
    for (int i = 0; i < m_arrSplitters.GetSize(); i++) {
        auto* pSplitter = static_cast<SECDockBarSplitter*>(m_arrSplitters[i]);
        if (pSplitter->m_rect.PtInRect(point))
            return pSplitter;
    }
    return nullptr;
}

BOOL SECDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (pWnd == this && nHitTest == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        SECSysData& data = SECGetSysData();
        SECDockBarSplitter* pSplitter = SplitterFromPoint(point);
        ::SetCursor(pSplitter != nullptr ? data.SplitCursor(pSplitter->m_nOrient == 1) : data.hcurArrow);
        return TRUE;
    }
    return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}

void SECDockBar::OnMouseMove(UINT nFlags, CPoint point)
{
    SECSysData& data = SECGetSysData();
    SECDockBarSplitter* pSplitter = SplitterFromPoint(point);
    ::SetCursor(pSplitter != nullptr ? data.SplitCursor(pSplitter->m_nOrient == 1) : data.hcurArrow);
    CDockBar::OnMouseMove(nFlags, point);
}

void SECDockBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    SECDockBarSplitter* pSplitter = SplitterFromPoint(point);
    if (pSplitter == nullptr) {
        CDockBar::OnLButtonDown(nFlags, point);
        return;
    }
    CalcSplitterLimits(pSplitter);
    int nDelta = TrackSplitter(pSplitter, point);
    if (nDelta != 0) {
        ApplySplitterMove(pSplitter, nDelta);
        if (CFrameWnd* pFrame = GetDockingFrame())
            pFrame->DelayRecalcLayout();
    }
}

void SECDockBar::CalcSplitterLimits(SECDockBarSplitter* pSplitter)
{
    BOOL bHorz = IsHorzDock();
    if (pSplitter->m_nKind == SECDockBarSplitter::barSplitter) {
        // Every bar of the row keeps a minimum length.
        int nStart = RowStart(pSplitter->m_nIndex);
        int nBefore = 0, nAfter = 0;
        for (int i = nStart; i < RowEnd(nStart); i++) {
            CControlBar* pBar = GetDockedControlBar(i);
            if (pBar == nullptr || !pBar->IsVisible())
                continue;
            if (i <= pSplitter->m_nIndex)
                nBefore++;
            else
                nAfter++;
        }
        pSplitter->m_nDragMin = nMinDragLength * nBefore;
        pSplitter->m_nDragMax = DockLength() - nMinDragLength * nAfter;
        return;
    }
    // A row splitter keeps a minimum of the frame's free client area and of the row.
    int nThickness = 0;
    for (int i = pSplitter->m_nIndex; i < RowEnd(pSplitter->m_nIndex); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != nullptr && pBar->IsVisible()) {
            CRect rect = WindowRectIn(pBar, this);
            nThickness = max(nThickness, (int)(bHorz ? rect.Height() : rect.Width()));
        }
    }
    CRect rectFree;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != nullptr) {
        pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rectFree);
        pFrame->ClientToScreen(&rectFree);
        ScreenToClient(&rectFree);
    }
    // The free area shrinks by as much as the row grows; the maximum is for the splitter's far
    // edge (its leading edge stops a splitter's thickness before it).
    const CRect& r = pSplitter->m_rect;
    int nFree = max(0, (int)(bHorz ? rectFree.Height() : rectFree.Width()) - (int)nMinRow);
    if (m_dwStyle & CBRS_ALIGN_TOP) {
        pSplitter->m_nDragMin = r.top - nThickness + nMinRow;
        pSplitter->m_nDragMax = r.bottom + nFree;
    }
    else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        pSplitter->m_nDragMin = r.top - nFree;
        pSplitter->m_nDragMax = r.top + nThickness - nMinRow + nSplitter;
    }
    else if (m_dwStyle & CBRS_ALIGN_LEFT) {
        pSplitter->m_nDragMin = r.left - nThickness + nMinRow;
        pSplitter->m_nDragMax = r.right + nFree;
    }
    else {
        pSplitter->m_nDragMin = r.left - nFree;
        pSplitter->m_nDragMax = r.left + nThickness - nMinRow + nSplitter;
    }
}

int SECDockBar::TrackSplitter(SECDockBarSplitter* pSplitter, CPoint point)
{
    if (::GetCapture() != nullptr)
        return 0;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == nullptr)
        return 0;
    // Moved along x for a vertical strip, along y for a horizontal one.
    BOOL bAlongX = pSplitter->m_nOrient == 1;
    int nLead = bAlongX ? pSplitter->m_rect.left : pSplitter->m_rect.top;
    int nOffset = (bAlongX ? point.x : point.y) - nLead;
    int nNewLead = nLead;
    SetCapture();
    CWindowDC dc(pFrame);
    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    auto feedback = [&](int nPos, BOOL bErase) {
        CRect rect = pSplitter->m_rect;
        if (bAlongX)
            rect.OffsetRect(nPos - rect.left, 0);
        else
            rect.OffsetRect(0, nPos - rect.top);
        // Thickness 5 across the strip, the strip one pixel shorter at each end.
        if (bAlongX) {
            rect.right = rect.left + 5;
            rect.DeflateRect(0, 1);
        }
        else {
            rect.bottom = rect.top + 5;
            rect.DeflateRect(1, 0);
        }
        ClientToScreen(&rect);
        rect.OffsetRect(-rectFrame.left, -rectFrame.top);
        CSize size = bErase ? CSize(0, 0) : (bAlongX ? CSize(5, 0) : CSize(0, 5));
        dc.DrawDragRect(&rect, size, pSplitter->m_bErase ? &pSplitter->m_rectLast : nullptr, pSplitter->m_sizeLast);
        pSplitter->m_rectLast = rect;
        pSplitter->m_sizeLast = size;
        pSplitter->m_bErase = !bErase;
    };
    pSplitter->m_bErase = FALSE;
    feedback(nLead, FALSE);
    BOOL bCancel = FALSE;
    BOOL bReleased = FALSE;
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            AfxPostQuitMessage((int)msg.wParam);
            bCancel = TRUE;
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint pt = msg.pt;
            ScreenToClient(&pt);
            nNewLead = (bAlongX ? pt.x : pt.y) - nOffset;
            nNewLead = max(pSplitter->m_nDragMin, min(nNewLead, pSplitter->m_nDragMax - (int)nSplitter));
            if (msg.message == WM_LBUTTONUP) {
                bReleased = TRUE;
                break;
            }
            feedback(nNewLead, FALSE);
        }
        else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) {
            bCancel = TRUE;
            break;
        }
        else if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)
            ::DispatchMessageA(&msg);
    }
    // Only the button's release applies the move: a capture taken away (another window, a
    // message box) cancels it and the sizes stay.
    if (!bReleased)
        bCancel = TRUE;
    feedback(nNewLead, TRUE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return bCancel ? 0 : nNewLead - nLead;
}

void SECDockBar::ApplySplitterMove(SECDockBarSplitter* pSplitter, int nDelta)
{
    BOOL bHorz = IsHorzDock();
    int nStart = RowStart(pSplitter->m_nIndex);
    int nEnd = RowEnd(nStart);
    if (pSplitter->m_nKind == SECDockBarSplitter::rowSplitter) {
        // The row grows towards the frame's client area by the distance, or shrinks.
        int nD = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) ? -nDelta : nDelta;
        for (int i = nStart; i < nEnd; i++) {
            CControlBar* pBar = GetDockedControlBar(i);
            if (pBar == nullptr || !pBar->IsVisible())
                continue;
            CRect rect = WindowRectIn(pBar, this);
            int nThickness = (bHorz ? rect.Height() : rect.Width()) - nD;
            pBar->CalcDynamicLayout(nThickness, bHorz ? (LM_HORZ | LM_HORZDOCK | LM_LENGTHY | LM_COMMIT)
                                                      : (LM_VERTDOCK | LM_COMMIT));
            AddToRedraw(pBar);
        }
        MarkForRedraw(nStart);
        m_bRowsChanged = TRUE;
        return;
    }
    // A bar splitter: the bar on one side grows, the bars on the other side give the room, none
    // below the minimum length.
    CPtrArray arrBars;
    CDWordArray arrLengths;
    int nSplitAfter = -1;
    for (int i = nStart; i < nEnd; i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar == nullptr || !pBar->IsVisible())
            continue;
        if (i == pSplitter->m_nIndex)
            nSplitAfter = arrBars.GetSize();
        CRect rect = WindowRectIn(pBar, this);
        arrBars.Add(pBar);
        arrLengths.Add((DWORD)(bHorz ? rect.Width() : rect.Height()));
    }
    int nCount = arrBars.GetSize();
    if (nSplitAfter < 0 || nSplitAfter + 1 >= nCount)
        return;
    int nAvail = DockLength() - nSplitter * (nCount - 1);
    if (nAvail <= 0)
        return;
    std::vector<int> lengths(nCount);
    for (int i = 0; i < nCount; i++)
        lengths[i] = (int)arrLengths[i];
    int d = nDelta > 0 ? nDelta : -nDelta;
    int nGrow = nDelta > 0 ? nSplitAfter : nSplitAfter + 1;
    int nStep = nDelta > 0 ? 1 : -1;
    int nGiven = 0;
    for (int i = nDelta > 0 ? nSplitAfter + 1 : nSplitAfter; i >= 0 && i < nCount && nGiven < d; i += nStep) {
        int nTake = min(d - nGiven, max(0, lengths[i] - (int)nMinBarLength));
        lengths[i] -= nTake;
        nGiven += nTake;
    }
    lengths[nGrow] += nGiven;
    for (int i = 0; i < nCount; i++) {
        if (SECControlBar* pSECBar = SECBarOf(static_cast<CControlBar*>(arrBars[i])))
            pSECBar->m_fPctWidth = (float)lengths[i] / (float)nAvail;
        AddToRedraw(static_cast<CControlBar*>(arrBars[i]));
    }
    m_bRowsChanged = TRUE;
}

// ---- Saved layout ---------------------------------------------------------------------------------

void SECDockBar::GetBarInfo(CControlBarInfo* pInfo)
{
    CDockBar::GetBarInfo(pInfo);
    auto* pSECInfo = dynamic_cast<SECControlBarInfo*>(pInfo);
    if (pSECInfo == nullptr)
        return;
    pSECInfo->m_bMDIChild = m_bMDIChild;
    if (m_bFloating && m_bMDIChild) {
        // An MDI child's place in the main frame's client area.
        CWnd* pChild = GetParent();
        CFrameWnd* pMainFrame = m_pDockSite;
        if (pChild != nullptr && pMainFrame != nullptr) {
            CRect rect;
            pChild->GetWindowRect(&rect);
            pMainFrame->ScreenToClient(&rect);
            pInfo->m_pointPos = rect.TopLeft();
        }
    }
}
