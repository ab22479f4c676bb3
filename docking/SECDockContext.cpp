// Dragging, resizing and floating docking bars.
#include "SECDockContext.h"
#include "SECBar.h"
#include "SECDockBar.h"
#include "SECFrame.h"
#include <algorithm>
#include <cstdlib>

using std::max;

namespace {

BOOL IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
BOOL IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

} // namespace

// ---- SECDockContext -------------------------------------------------------------------------------

SECDockContext::SECDockContext(CControlBar* pBar)
    : CDockContext(pBar), m_ptDragStart(0, 0), m_ptPreview(0, 0), m_nPreviewRow(-1), m_bPrevFloating(FALSE)
{
}

SECDockContext::~SECDockContext()
{
    if (m_pBar->m_pDockBar != nullptr) {
        m_pBar->m_pDockBar->RemoveControlBar(m_pBar);
        m_pBar->m_pDockBar = nullptr;
    }
}

void SECDockContext::SaveShare()
{
    if (SECControlBar* pBar = SECBarOf(m_pBar))
        pBar->m_fSavedPctWidth = pBar->m_fPctWidth;
}

void SECDockContext::RestoreShare()
{
    if (SECControlBar* pBar = SECBarOf(m_pBar))
        pBar->m_fPctWidth = pBar->m_fSavedPctWidth;
}

BOOL SECDockContext::InDeadZone(CPoint pt) const
{
    return abs(pt.x - m_ptDragStart.x) + abs(pt.y - m_ptDragStart.y) < nDeadZone;
}

void SECDockContext::AdjustDragRect(CRect& rect, CPoint pt)
{
    int nBorder = SECGetSysData().cxBorder;
    if (pt.x < rect.left)
        rect.OffsetRect(pt.x - rect.left, 0);
    else if (pt.x > rect.right)
        rect.OffsetRect(pt.x + nBorder - rect.right, 0);
    if (pt.y < rect.top)
        rect.OffsetRect(0, pt.y - rect.top);
    else if (pt.y > rect.bottom)
        rect.OffsetRect(0, pt.y + nBorder - rect.bottom);
}

void SECDockContext::StartDrag(CPoint pt)
{
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SendMessage(WM_SETMESSAGESTRING, IDS_SEC_DRAGPROMPT);
    m_ptDragStart = pt;
    m_ptPreview = pt;
    m_nPreviewRow = -1;
    m_pPreviewDockBar = nullptr;
    m_rectPreview.SetRectEmpty();
    CDockContext::StartDrag(pt);
}

void SECDockContext::CancelLoop()
{
    CDockContext::CancelLoop();
    // The idle prompt comes back whether the loop ended or was cancelled.
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

DWORD SECDockContext::CanDock()
{
    if (m_pDockSite == nullptr || m_bForceFrame)
        return 0;
    const DWORD dwHorzStyle = m_dwDockStyle & ~CBRS_ORIENT_VERT;
    const DWORD dwVertStyle = m_dwDockStyle & ~CBRS_ORIENT_HORZ;
    BOOL bStyleHorz = IsHorz(m_dwStyle);
    if (m_bFlip)
        bStyleHorz = !bStyleHorz;
    DWORD dwDock = 0;
    if (bStyleHorz && IsHorz(m_dwDockStyle))
        dwDock = m_pDockSite->CanDock(m_rectDragHorz, dwHorzStyle);
    else if (IsVert(m_dwDockStyle)) {
        // A side dock bar takes a bar turned on its side only under the cursor.
        CDockBar* pDockBar = nullptr;
        dwDock = m_pDockSite->CanDock(m_rectDragVert, dwVertStyle, &pDockBar);
        CRect rectDockBar;
        if (pDockBar != nullptr) {
            pDockBar->GetWindowRect(&rectDockBar);
            if (rectDockBar.Width() == 0)
                rectDockBar.right++;
            if (rectDockBar.Height() == 0)
                rectDockBar.bottom++;
        }
        if (dwDock != 0 && !rectDockBar.PtInRect(m_ptLast))
            dwDock = 0;
    }
    if (!m_bFlip && dwDock == 0) {
        // The other orientation counts when both drag rectangles hit the same dock bar.
        if (IsHorz(m_dwDockStyle)) {
            CDockBar *p1 = nullptr, *p2 = nullptr;
            DWORD d1 = m_pDockSite->CanDock(m_rectDragVert, dwHorzStyle, &p1);
            DWORD d2 = m_pDockSite->CanDock(m_rectDragHorz, dwHorzStyle, &p2);
            if (d1 != 0 && d2 != 0 && p1 == p2)
                dwDock = d2;
        }
        if (dwDock == 0 && IsVert(m_dwDockStyle)) {
            CDockBar *p1 = nullptr, *p2 = nullptr;
            DWORD d1 = m_pDockSite->CanDock(m_rectDragHorz, dwVertStyle, &p1);
            DWORD d2 = m_pDockSite->CanDock(m_rectDragVert, dwVertStyle, &p2);
            if (d1 != 0 && d2 != 0 && p1 == p2)
                dwDock = d2;
        }
    }
    return dwDock;
}

CRect SECDockContext::DockFeedbackRect(CDockBar* pDockBar, BOOL bVert)
{
    const CRect& rectDrag = bVert ? m_rectDragVert : m_rectDragHorz;
    if (auto* pSECDockBar = dynamic_cast<SECDockBar*>(pDockBar)) {
        // A row index means nothing on another dock bar: its preview starts afresh.
        if (m_pPreviewDockBar != pDockBar)
            m_nPreviewRow = -1;
        m_pPreviewDockBar = pDockBar;
        return pSECDockBar->GetDragPreviewRect(m_pBar, rectDrag, m_ptLast, m_nPreviewRow, m_rectPreview,
                                               m_ptPreview);
    }
    return rectDrag;
}

void SECDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (m_pDC == nullptr)
        return;
    const SECSysData& data = SECGetSysData();
    CBrush* pWhiteBrush = CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH));
    CBrush* pDitherBrush = CDC::GetHalftoneBrush();
    CBrush* pBrush = pWhiteBrush;
    CSize size(1, 1);
    CRect rect;
    BOOL bDockFeedback = m_bDragging && m_dwOverDockStyle != 0 && !(m_pBar->IsFloating() && InDeadZone(m_ptLast));
    if (bRemoveRect)
        rect = m_rectLast;
    else if (bDockFeedback) {
        BOOL bVert = IsVert(m_dwOverDockStyle);
        rect = DockFeedbackRect(GetDockBar(m_dwOverDockStyle), bVert);
        if (data.bWin4)
            rect.InflateRect(-1, -1);
    }
    else {
        if (!m_bDragging || (IsHorz(m_dwStyle) && !m_bFlip) || (IsVert(m_dwStyle) && m_bFlip))
            rect = m_rectFrameDragHorz;
        else
            rect = m_rectFrameDragVert;
    }
    if (!bDockFeedback) {
        size.cx = ::GetSystemMetrics(SM_CXFRAME) - 1;
        size.cy = ::GetSystemMetrics(SM_CYFRAME) - 1;
        pBrush = pDitherBrush;
    }
    if (bRemoveRect)
        size.cx = size.cy = 0;
    m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, pBrush, m_bDitherLast ? pDitherBrush : pWhiteBrush);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = pBrush == pDitherBrush;
}

void SECDockContext::EndDrag()
{
    CancelLoop();
    BOOL bFloating = m_pBar->IsFloating();
    CDockBar* pDockBar = m_dwOverDockStyle != 0 ? GetDockBar(m_dwOverDockStyle) : nullptr;
    if (pDockBar != nullptr && !(bFloating && InDeadZone(m_ptLast))) {
        CRect rect = IsVert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        UINT uID = (UINT)::GetDlgCtrlID(pDockBar->m_hWnd);
        if (uID >= AFX_IDW_DOCKBAR_TOP && uID <= AFX_IDW_DOCKBAR_BOTTOM) {
            m_uMRUDockID = uID;
            m_rectMRUDockPos = rect;
            pDockBar->ScreenToClient(&m_rectMRUDockPos);
        }
        if (bFloating) {
            if (auto* pSECDockBar = dynamic_cast<SECDockBar*>(pDockBar))
                pSECDockBar->SetBarDocking(m_pBar);
        }
        if (SECDockingFrameImpl* pImpl = SECGetDockingFrame(m_pDockSite))
            pImpl->DockControlBarAtRect(m_pBar, pDockBar, rect);
        else
            m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
        m_pDockSite->RecalcLayout();
    }
    else
        FloatAtDrop();
    m_bDragging = FALSE;
}

void SECDockContext::StartResize(int nHitTest, CPoint pt)
{
    m_ptDragStart = pt;
    CDockContext::StartResize(nHitTest, pt);
}

void SECDockContext::Stretch(CPoint pt)
{
    SECControlBar* pBar = SECBarOf(m_pBar);
    if (pBar == nullptr || (pBar->m_dwExStyle & CBRS_EX_TOOLBARSIZE)) {
        CDockContext::Stretch(pt);
        return;
    }
    // Both dimensions: the dragged edges move, the opposite ones stay.
    CSize offset = pt - m_ptLast;
    BOOL bLeft = m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT;
    BOOL bRight = m_nHitTest == HTRIGHT || m_nHitTest == HTTOPRIGHT || m_nHitTest == HTBOTTOMRIGHT;
    BOOL bTop = m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT;
    BOOL bBottom = m_nHitTest == HTBOTTOM || m_nHitTest == HTBOTTOMLEFT || m_nHitTest == HTBOTTOMRIGHT;
    if (bLeft)
        m_rectRequestedSize.left += offset.cx;
    else if (bRight)
        m_rectRequestedSize.right += offset.cx;
    pBar->CalcDynamicLayout(max(0, (int)m_rectRequestedSize.Width()), LM_COMMIT | LM_HORZ);
    if (bTop)
        m_rectRequestedSize.top += offset.cy;
    else if (bBottom)
        m_rectRequestedSize.bottom += offset.cy;
    pBar->CalcDynamicLayout(max(0, (int)m_rectRequestedSize.Height()), LM_COMMIT | LM_LENGTHY | LM_HORZ);
    CSize size = pBar->CalcDynamicLayout(-1, LM_HORZ);
    if (bLeft) {
        m_rectActualSize.left = m_rectActualSize.right - size.cx;
        m_rectActualFrameSize.left = m_rectActualFrameSize.right - (size.cx + m_rectFrameBorders.Width());
    }
    else {
        m_rectActualSize.right = m_rectActualSize.left + size.cx;
        m_rectActualFrameSize.right = m_rectActualFrameSize.left + size.cx + m_rectFrameBorders.Width();
    }
    if (bTop) {
        m_rectActualSize.top = m_rectActualSize.bottom - size.cy;
        m_rectActualFrameSize.top = m_rectActualFrameSize.bottom - (size.cy + m_rectFrameBorders.Height());
    }
    else {
        m_rectActualSize.bottom = m_rectActualSize.top + size.cy;
        m_rectActualFrameSize.bottom = m_rectActualFrameSize.top + size.cy + m_rectFrameBorders.Height();
    }
    m_ptLast = pt;
    DrawFocusRect();
}

void SECDockContext::EndResize()
{
    CancelLoop();
    SECControlBar* pBar = SECBarOf(m_pBar);
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_COMMIT | LM_HORZ);
    if (pBar != nullptr && !(pBar->m_dwExStyle & CBRS_EX_TOOLBARSIZE))
        m_pBar->CalcDynamicLayout(m_rectActualSize.Height(), LM_COMMIT | LM_LENGTHY | LM_HORZ);
    m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
                                 CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | (m_dwDockStyle & CBRS_FLOAT_MULTI));
}

CRect SECDockContext::MRUDockScreenRect(CDockBar*& pDockBar)
{
    CRect rect = m_rectMRUDockPos;
    pDockBar = nullptr;
    if (m_uMRUDockID != 0) {
        pDockBar = dynamic_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
        if (pDockBar != nullptr)
            pDockBar->ClientToScreen(&rect);
    }
    return rect;
}

void SECDockContext::ToggleDocking()
{
    if (m_pBar->IsFloating()) {
        if (m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) {
            RestoreShare();
            CDockBar* pDockBar;
            CRect rect = MRUDockScreenRect(pDockBar);
            if (m_pBar->m_dwStyle & CBRS_BORDER_TOP)
                rect.right++;
            m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
            m_pDockSite->RecalcLayout();
        }
    }
    else {
        SaveShare();
        CPoint ptFloat = m_ptMRUFloatPos;
        if (ptFloat.x < 0 || ptFloat.y < 0) {
            ptFloat = m_rectMRUDockPos.TopLeft();
            if (CWnd* pParent = m_pBar->GetParent())
                pParent->ClientToScreen(&ptFloat);
        }
        m_pDockSite->FloatControlBar(m_pBar, ptFloat, m_dwMRUFloatStyle);
    }
}

void SECDockContext::ToggleMDIFloat()
{
    auto* pFrame = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite);
    if (pFrame == nullptr)
        return;
    SECControlBar* pBar = SECBarOf(m_pBar);
    BOOL bMDIChild = pBar != nullptr && pBar->IsMDIChild();
    if (!bMDIChild) {
        SaveShare();
        m_bPrevFloating = m_pBar->IsFloating();
        pFrame->FloatControlBarInMDIChild(m_pBar, m_ptMRUFloatPos.x, m_ptMRUFloatPos.y, m_dwMRUFloatStyle);
    }
    else if (m_bPrevFloating) {
        RestoreShare();
        pFrame->UnFloatControlBarFromMDIChild(m_pBar, m_ptMRUFloatPos.x, m_ptMRUFloatPos.y, m_dwMRUFloatStyle);
    }
    else if (m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) {
        RestoreShare();
        CDockBar* pDockBar;
        CRect rect = MRUDockScreenRect(pDockBar);
        if (m_pBar->m_dwStyle & CBRS_BORDER_TOP)
            rect.right++;
        pFrame->DockControlBar(m_pBar, pDockBar, &rect);
        pFrame->RecalcLayout();
    }
}

// ---- SECMiniDockFrameWnd --------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(SECMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_NCLBUTTONDOWN()
    ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

SECMiniDockFrameWnd::SECMiniDockFrameWnd() : m_wndSECDockBar(TRUE, FALSE)
{
    m_wndSECDockBar.m_bAutoDelete = FALSE;
}

BOOL SECMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    // A bar of fixed size only moves its frame.
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_SYNCACTIVE | MFS_4THICKFRAME | MFS_BLOCKSYSMENU |
                    FWS_SNAPTOBARS;
    if (!(dwBarStyle & CBRS_SIZE_DYNAMIC))
        dwStyle |= MFS_MOVEFRAME;
    return CreateFrame(pParent, dwStyle, dwBarStyle, &m_wndSECDockBar);
}

CDockBar* SECMiniDockFrameWnd::GetDockBar()
{
    return &m_wndSECDockBar;
}

void SECMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION || (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST))
        BringWindowToTop();
    CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void SECMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if (LOWORD(message) == WM_LBUTTONDOWN)
        BringWindowToTop();
    CMiniDockFrameWnd::OnParentNotify(message, lParam);
}

// ---- SECMiniFrameTracker --------------------------------------------------------------------------

SECMiniFrameTracker::SECMiniFrameTracker()
{
    m_nStyle = resizeOutside;
}

SECMiniFrameTracker::SECMiniFrameTracker(LPCRECT lpSrcRect) : CRectTracker(lpSrcRect, resizeOutside) {}

CDC* SECMiniFrameTracker::GetTrackerDC(CWnd*, CWnd*)
{
    return CWnd::GetDesktopWindow()->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE);
}

void SECMiniFrameTracker::ReleaseTrackerDC(CDC* pDC, CWnd*, CWnd*)
{
    CWnd::GetDesktopWindow()->ReleaseDC(pDC);
}

void SECMiniFrameTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    CRect rect = *lpRect;
    rect.NormalizeRect();
    // The desktop's coordinates are the screen's.
    pWnd->ClientToScreen(&rect);
    if (pWndClipTo != nullptr) {
        CRect rectClip;
        pWndClipTo->GetWindowRect(&rectClip);
        rect.IntersectRect(rect, rectClip);
    }
    CSize size(0, 0);
    if (!m_bFinalErase)
        size.cx = size.cy = max(1, GetHandleSize(rect) - 1);
    if (m_bFinalErase || !m_bErase)
        pDC->DrawDragRect(rect, size, m_rectLast, m_sizeLast);
    m_rectLast = rect;
    m_sizeLast = size;
}
