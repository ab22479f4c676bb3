// The rectangle tracker.
#include "afxtrack.h"
#include <algorithm>
#include <cstddef>

using std::max;
using std::min;

namespace {

// Where each handle sits and what it moves: the rectangle fields it changes, whether it is centred
// along an edge, how far it is pulled inside, and the handle it becomes when the rectangle turns
// inside out along x and along y.
struct HandleInfo
{
    size_t nOffsetX, nOffsetY;
    int nCenterX, nCenterY;
    int nHandleX, nHandleY;
    int nInvertX, nInvertY;
};
const HandleInfo s_handleInfo[] = {
    {offsetof(RECT, left), offsetof(RECT, top), 0, 0, 0, 0, 1, 3},
    {offsetof(RECT, right), offsetof(RECT, top), 0, 0, -1, 0, 0, 2},
    {offsetof(RECT, right), offsetof(RECT, bottom), 0, 0, -1, -1, 3, 1},
    {offsetof(RECT, left), offsetof(RECT, bottom), 0, 0, 0, -1, 2, 0},
    {offsetof(RECT, left), offsetof(RECT, top), 1, 0, 0, 0, 4, 6},
    {offsetof(RECT, right), offsetof(RECT, top), 0, 1, -1, 0, 7, 5},
    {offsetof(RECT, left), offsetof(RECT, bottom), 1, 0, 0, -1, 6, 4},
    {offsetof(RECT, left), offsetof(RECT, top), 0, 1, 0, 0, 5, 7},
};

// For each rectangle field: the field across from it and the direction towards it.
struct RectInfo
{
    size_t nOffsetAcross;
    int nSignAcross;
};
const RectInfo s_rectInfo[] = {
    {offsetof(RECT, right), +1},
    {offsetof(RECT, bottom), +1},
    {offsetof(RECT, left), -1},
    {offsetof(RECT, top), -1},
};

LONG& Field(CRect& rect, size_t nOffset)
{
    return *reinterpret_cast<LONG*>(reinterpret_cast<BYTE*>(static_cast<RECT*>(&rect)) + nOffset);
}

LONG Field(const CRect& rect, size_t nOffset)
{
    return *reinterpret_cast<const LONG*>(reinterpret_cast<const BYTE*>(static_cast<const RECT*>(&rect)) + nOffset);
}

// The handles' cursors, loaded with the program's resources the first time they are needed.
HCURSOR TrackerCursor(int nHandle)
{
    static HCURSOR s_cursors[10] = {};
    static const UINT s_ids[10] = {AFX_IDC_TRACKNWSE, AFX_IDC_TRACKNESW, AFX_IDC_TRACKNWSE, AFX_IDC_TRACKNESW,
                                   AFX_IDC_TRACKNS,   AFX_IDC_TRACKWE,   AFX_IDC_TRACKNS,   AFX_IDC_TRACKWE,
                                   AFX_IDC_TRACK4WAY, AFX_IDC_MOVE4WAY};
    if (s_cursors[nHandle] == nullptr) {
        s_cursors[nHandle] = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(s_ids[nHandle]));
        if (s_cursors[nHandle] == nullptr)
            s_cursors[nHandle] = ::LoadCursorA(nullptr, IDC_SIZEALL);
    }
    return s_cursors[nHandle];
}

} // namespace

CRectTracker::CRectTracker()
{
    Construct();
}

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle)
{
    Construct();
    m_rect.CopyRect(lpSrcRect);
    m_nStyle = nStyle;
}

void CRectTracker::Construct()
{
    m_nStyle = 0;
    m_nHandleSize = 4;
    m_sizeMin.cx = m_sizeMin.cy = m_nHandleSize * 2;
    m_bAllowInvert = FALSE;
    m_rectLast.SetRectEmpty();
    m_sizeLast.cx = m_sizeLast.cy = 0;
    m_bErase = FALSE;
    m_bFinalErase = FALSE;
}

void CRectTracker::Draw(CDC* pDC) const
{
    int nSaved = pDC->SaveDC();
    CRect rect = m_rect;
    rect.NormalizeRect();
    if (m_nStyle & (dottedLine | solidLine)) {
        HPEN hPen = ::CreatePen((m_nStyle & dottedLine) ? PS_DOT : PS_SOLID, 0, RGB(0, 0, 0));
        HGDIOBJ hOldPen = ::SelectObject(pDC->m_hDC, hPen);
        HGDIOBJ hOldBrush = ::SelectObject(pDC->m_hDC, ::GetStockObject(NULL_BRUSH));
        ::SetROP2(pDC->m_hDC, R2_COPYPEN);
        CRect rectLine = rect;
        rectLine.InflateRect(1, 1);
        ::Rectangle(pDC->m_hDC, rectLine.left, rectLine.top, rectLine.right, rectLine.bottom);
        ::SelectObject(pDC->m_hDC, hOldBrush);
        ::SelectObject(pDC->m_hDC, hOldPen);
        ::DeleteObject(hPen);
    }
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; ++i) {
            if (mask & (1u << i)) {
                CRect rectHandle;
                GetHandleRect(i, &rectHandle);
                ::PatBlt(pDC->m_hDC, rectHandle.left, rectHandle.top, rectHandle.Width(), rectHandle.Height(),
                         DSTINVERT);
            }
        }
    }
    pDC->RestoreDC(nSaved);
}

void CRectTracker::GetTrueRect(LPRECT lpTrueRect) const
{
    CRect rect = m_rect;
    rect.NormalizeRect();
    int nInflateBy = 0;
    if (m_nStyle & (resizeOutside | hatchedBorder))
        nInflateBy += GetHandleSize() - 1;
    if (m_nStyle & (solidLine | dottedLine))
        ++nInflateBy;
    rect.InflateRect(nInflateBy, nInflateBy);
    *lpTrueRect = rect;
}

int CRectTracker::GetHandleSize(LPCRECT lpRect) const
{
    if (lpRect == nullptr)
        lpRect = &m_rect;
    int size = m_nHandleSize;
    if (!(m_nStyle & resizeOutside)) {
        // Handles inside a small rectangle shrink with it.
        int sizeMax = min(abs(lpRect->right - lpRect->left), abs(lpRect->bottom - lpRect->top));
        if (size * 2 > sizeMax)
            size = sizeMax / 2;
    }
    return size;
}

UINT CRectTracker::GetHandleMask() const
{
    UINT mask = 0x0F;
    int size = m_nHandleSize * 3;
    if (abs(m_rect.Width()) - size > 4)
        mask |= 0x50;
    if (abs(m_rect.Height()) - size > 4)
        mask |= 0xA0;
    return mask;
}

int CRectTracker::NormalizeHit(int nHandle) const
{
    if (nHandle == hitMiddle || nHandle == hitNothing)
        return nHandle;
    if (m_rect.Width() < 0)
        nHandle = s_handleInfo[nHandle].nInvertX;
    if (m_rect.Height() < 0)
        nHandle = s_handleInfo[nHandle].nInvertY;
    return nHandle;
}

void CRectTracker::GetHandleRect(int nHandle, CRect* pHandleRect) const
{
    CRect rectT = m_rect;
    rectT.NormalizeRect();
    if (m_nStyle & (solidLine | dottedLine))
        rectT.InflateRect(1, 1);
    nHandle = NormalizeHit(nHandle);
    int size = GetHandleSize();
    if (m_nStyle & resizeOutside)
        rectT.InflateRect(size - 1, size - 1);
    int nWidth = rectT.Width();
    int nHeight = rectT.Height();
    const HandleInfo& info = s_handleInfo[nHandle];
    CRect rect;
    rect.left = Field(rectT, info.nOffsetX) + size * info.nHandleX + info.nCenterX * (nWidth - size) / 2;
    rect.top = Field(rectT, info.nOffsetY) + size * info.nHandleY + info.nCenterY * (nHeight - size) / 2;
    rect.right = rect.left + size;
    rect.bottom = rect.top + size;
    *pHandleRect = rect;
}

int CRectTracker::HitTestHandles(CPoint point) const
{
    CRect rect;
    UINT mask = GetHandleMask();
    GetTrueRect(&rect);
    if (!rect.PtInRect(point))
        return hitNothing;
    for (int i = 0; i < 8; ++i) {
        if (mask & (1u << i)) {
            GetHandleRect(i, &rect);
            if (rect.PtInRect(point))
                return i;
        }
    }
    if ((m_nStyle & hatchedBorder) == 0) {
        rect = m_rect;
        rect.NormalizeRect();
        if (m_nStyle & (dottedLine | solidLine))
            rect.InflateRect(1, 1);
        if (!rect.PtInRect(point))
            return hitNothing;  // between the handles
    }
    return hitMiddle;
}

int CRectTracker::HitTest(CPoint point) const
{
    CRect rectTrue;
    GetTrueRect(&rectTrue);
    if (!rectTrue.PtInRect(point))
        return hitNothing;
    if (m_nStyle & (resizeInside | resizeOutside))
        return HitTestHandles(point);
    return hitMiddle;
}

BOOL CRectTracker::SetCursor(CWnd* pWnd, UINT nHitTest) const
{
    if (nHitTest != HTCLIENT)
        return FALSE;
    CPoint point;
    ::GetCursorPos(&point);
    pWnd->ScreenToClient(&point);
    int nHandle = HitTestHandles(point);
    if (nHandle < 0)
        return FALSE;
    nHandle = NormalizeHit(nHandle);
    if (nHandle == hitMiddle && !m_rect.PtInRect(point) && (m_nStyle & hatchedBorder))
        nHandle = 9;
    ::SetCursor(TrackerCursor(nHandle));
    return TRUE;
}

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo)
{
    int nHandle = HitTestHandles(point);
    if (nHandle < 0)
        return FALSE;
    m_bAllowInvert = bAllowInvert;
    return TrackHandle(nHandle, pWnd, point, pWndClipTo);
}

BOOL CRectTracker::TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert)
{
    m_bAllowInvert = bAllowInvert;
    m_rect.SetRect(point.x, point.y, point.x, point.y);
    return TrackHandle(hitBottomRight, pWnd, point, nullptr);
}

void CRectTracker::GetModifyPointers(int nHandle, LONG** ppx, LONG** ppy, int* px, int* py)
{
    if (nHandle == hitMiddle)
        nHandle = hitTopLeft;
    *ppx = nullptr;
    *ppy = nullptr;
    const HandleInfo& info = s_handleInfo[nHandle];
    if (info.nInvertX != nHandle) {
        *ppx = &Field(m_rect, info.nOffsetX);
        if (px != nullptr)
            *px = **ppx;
    }
    else if (px != nullptr)
        *px = m_rect.left + abs(m_rect.Width()) / 2;
    if (info.nInvertY != nHandle) {
        *ppy = &Field(m_rect, info.nOffsetY);
        if (py != nullptr)
            *py = **ppy;
    }
    else if (py != nullptr)
        *py = m_rect.top + abs(m_rect.Height()) / 2;
}

void CRectTracker::AdjustRect(int nHandle, LPRECT)
{
    if (nHandle == hitMiddle)
        return;
    LONG *px, *py;
    GetModifyPointers(nHandle, &px, &py, nullptr, nullptr);
    // The rectangle keeps its minimum size; without inversion it never turns inside out.
    int nNewWidth = m_rect.Width();
    int nAbsWidth = m_bAllowInvert ? abs(nNewWidth) : nNewWidth;
    if (px != nullptr && nAbsWidth < m_sizeMin.cx) {
        nNewWidth = nAbsWidth != 0 ? nNewWidth / nAbsWidth : 1;
        size_t iRectInfo = (size_t)(px - &m_rect.left);
        const RectInfo& info = s_rectInfo[iRectInfo];
        *px = Field(m_rect, info.nOffsetAcross) + nNewWidth * m_sizeMin.cx * -info.nSignAcross;
    }
    int nNewHeight = m_rect.Height();
    int nAbsHeight = m_bAllowInvert ? abs(nNewHeight) : nNewHeight;
    if (py != nullptr && nAbsHeight < m_sizeMin.cy) {
        nNewHeight = nAbsHeight != 0 ? nNewHeight / nAbsHeight : 1;
        size_t iRectInfo = (size_t)(py - &m_rect.left);
        const RectInfo& info = s_rectInfo[iRectInfo];
        *py = Field(m_rect, info.nOffsetAcross) + nNewHeight * m_sizeMin.cy * -info.nSignAcross;
    }
}

void CRectTracker::OnChangedRect(const CRect&) {}

CDC* CRectTracker::GetTrackerDC(CWnd* pWnd, CWnd* pWndClipTo)
{
    if (pWndClipTo != nullptr)
        return pWndClipTo->GetDCEx(nullptr, DCX_CACHE);
    return pWnd->GetDC();
}

void CRectTracker::ReleaseTrackerDC(CDC* pDC, CWnd* pWnd, CWnd* pWndClipTo)
{
    if (pWndClipTo != nullptr)
        pWndClipTo->ReleaseDC(pDC);
    else
        pWnd->ReleaseDC(pDC);
}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    CRect rect = *lpRect;
    rect.NormalizeRect();
    if (pWndClipTo != nullptr) {
        pWnd->ClientToScreen(&rect);
        pWndClipTo->ScreenToClient(&rect);
    }
    CSize size(0, 0);
    if (!m_bFinalErase) {
        if (m_nStyle & hatchedBorder) {
            size.cx = size.cy = max(1, GetHandleSize(rect) - 1);
            rect.InflateRect(size);
        }
        else
            size.cx = size.cy = 1;
    }
    if (m_bFinalErase || !m_bErase)
        pDC->DrawDragRect(rect, size, m_rectLast, m_sizeLast);
    m_rectLast = rect;
    m_sizeLast = size;
}

BOOL CRectTracker::TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo)
{
    if (::GetCapture() != nullptr)
        return FALSE;
    AfxLockTempMaps();
    int nWidth = m_rect.Width();
    int nHeight = m_rect.Height();
    pWnd->SetCapture();
    pWnd->UpdateWindow();
    if (pWndClipTo != nullptr)
        pWndClipTo->UpdateWindow();
    CRect rectSave = m_rect;

    LONG *px, *py;
    int xDiff, yDiff;
    GetModifyPointers(nHandle, &px, &py, &xDiff, &yDiff);
    xDiff = point.x - xDiff;
    yDiff = point.y - yDiff;

    CDC* pDrawDC = GetTrackerDC(pWnd, pWndClipTo);
    CRect rectOld;
    BOOL bMoved = FALSE;
    for (;;) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            AfxPostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != pWnd->m_hWnd)
            break;
        BOOL bCancel = FALSE;
        switch (msg.message) {
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE: {
            rectOld = m_rect;
            CPoint pt(msg.pt);
            pWnd->ScreenToClient(&pt);
            if (px != nullptr)
                *px = pt.x - xDiff;
            if (py != nullptr)
                *py = pt.y - yDiff;
            if (nHandle == hitMiddle) {
                m_rect.right = m_rect.left + nWidth;
                m_rect.bottom = m_rect.top + nHeight;
            }
            AdjustRect(nHandle, &m_rect);
            m_bFinalErase = msg.message == WM_LBUTTONUP;
            if (!rectOld.EqualRect(&m_rect) || m_bFinalErase) {
                if (bMoved) {
                    m_bErase = TRUE;
                    DrawTrackerRect(&rectOld, pWndClipTo, pDrawDC, pWnd);
                }
                OnChangedRect(rectOld);
                if (msg.message != WM_LBUTTONUP)
                    bMoved = TRUE;
            }
            if (m_bFinalErase)
                goto ExitLoop;
            if (!rectOld.EqualRect(&m_rect)) {
                m_bErase = FALSE;
                DrawTrackerRect(&m_rect, pWndClipTo, pDrawDC, pWnd);
            }
            break;
        }
        case WM_KEYDOWN:
            bCancel = msg.wParam == VK_ESCAPE;
            break;
        case WM_RBUTTONDOWN:
            bCancel = TRUE;
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
        if (bCancel) {
            if (bMoved) {
                m_bErase = m_bFinalErase = TRUE;
                DrawTrackerRect(&m_rect, pWndClipTo, pDrawDC, pWnd);
            }
            m_rect = rectSave;
            goto ExitLoop;
        }
    }
ExitLoop:
    ReleaseTrackerDC(pDrawDC, pWnd, pWndClipTo);
    ::ReleaseCapture();
    AfxUnlockTempMaps(FALSE);
    if (!bMoved)
        m_rect = rectSave;
    m_bFinalErase = FALSE;
    m_bErase = FALSE;
    return !rectSave.EqualRect(&m_rect);
}
