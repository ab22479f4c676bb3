// Views: windows that show a document, and the scrolling view.
#include "afxwin.h"
#include <climits>

// ---- CView ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr) {}

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnDraw(CDC*) {}
void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (!bActivate || pActivateView != this || m_hWnd == nullptr)
        return;
    // The focus follows the active view only inside the active top-level window: a view made
    // active in a window in the background must not pull that window to the front.
    CWnd* pTop = GetTopLevelParent();
    if (pTop == nullptr || ::GetActiveWindow() != pTop->m_hWnd)
        return;
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != m_hWnd && !::IsChild(m_hWnd, hWndFocus))
        SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

BOOL CView::OnPreparePrinting(CPrintInfo*)
{
    return FALSE;
}
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}
DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}
void CView::OnDragLeave() {}
BOOL CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}
DROPEFFECT CView::OnDropEx(COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
{
    return (DROPEFFECT)-1;
}
DROPEFFECT CView::OnDragScroll(DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

CSplitterWnd* CView::GetParentSplitter(const CWnd* pWnd, BOOL bAnyState)
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return nullptr;
    auto* pSplitter = dynamic_cast<CSplitterWnd*>(CWnd::FromHandlePermanent(::GetParent(pWnd->m_hWnd)));
    if (pSplitter == nullptr || bAnyState)
        return pSplitter;
    // A splitter in a minimised frame shows nothing.
    for (HWND hWnd = pSplitter->m_hWnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (::IsIconic(hWnd))
            return nullptr;
    }
    return pSplitter;
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
        cs.lpszClass = AFX_WNDFRAMEORVIEW;
    }
    cs.style |= WS_CLIPSIBLINGS;
    // The sunken client edge in place of the flat border.
    if (cs.style & WS_BORDER) {
        cs.style &= ~WS_BORDER;
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    }
    return TRUE;
}

void CView::PostNcDestroy()
{
    delete this;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (m_pDocument != nullptr) {
        CPushRoutingView push(this);
        return m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    return FALSE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    // The frames above decide first (the default asks the parent).
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    CFrameWnd* pParentFrame = GetParentFrame();
    if (pParentFrame != nullptr) {
        HWND hWndFocus = ::GetFocus();
        if (pParentFrame->GetActiveView() == this && hWndFocus != m_hWnd && !::IsChild(m_hWnd, hWndFocus))
            OnActivateView(TRUE, this, this);   // already active: take the focus back
        else
            pParentFrame->SetActiveView(this);
    }
    return nResult;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

// ---- CScrollView ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

const CSize CScrollView::sizeDefault(0, 0);

CScrollView::CScrollView()
    : m_nMapMode(MM_TEXT), m_totalLog(0, 0), m_totalDev(0, 0), m_pageDev(0, 0), m_lineDev(0, 0), m_ptPos(0, 0),
      m_bShowBars(TRUE), m_bInsideUpdate(FALSE)
{
}

CScrollView::~CScrollView() = default;

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    if (nMapMode != MM_TEXT)
        AfxThrowNotSupportedException();
    m_nMapMode = nMapMode;
    m_totalLog = sizeTotal;
    if (m_totalLog.cx < 0)
        m_totalLog.cx = 0;
    if (m_totalLog.cy < 0)
        m_totalLog.cy = 0;
    m_totalDev = m_totalLog;
    m_pageDev = sizePage;
    m_lineDev = sizeLine;
    if (m_pageDev.cx <= 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy <= 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx <= 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy <= 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    if (m_lineDev.cx <= 0)
        m_lineDev.cx = 1;
    if (m_lineDev.cy <= 0)
        m_lineDev.cy = 1;

    if (m_hWnd != nullptr) {
        UpdateBars();
        Invalidate(TRUE);
    }
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

CPoint CScrollView::GetScrollPosition() const
{
    // MM_TEXT: logical and device units are the same.
    return m_ptPos;
}

CSize CScrollView::GetMaxPosition(CSize sizeClient) const
{
    CSize maxPos(m_totalDev.cx - sizeClient.cx, m_totalDev.cy - sizeClient.cy);
    if (maxPos.cx < 0)
        maxPos.cx = 0;
    if (maxPos.cy < 0)
        maxPos.cy = 0;
    return maxPos;
}

CSize CScrollView::GetScrollClientSize() const
{
    if (m_hWnd == nullptr)
        return CSize(0, 0);
    CRect rect;
    GetClientRect(&rect);
    return rect.Size();
}

void CScrollView::MoveTo(CPoint ptNew)
{
    if (ptNew == m_ptPos)
        return;
    CPoint ptOld = m_ptPos;
    m_ptPos = ptNew;
    if (m_hWnd == nullptr)
        return;
    DWORD dwStyle = GetStyle();
    if (m_bShowBars && (dwStyle & WS_HSCROLL) && ptNew.x != ptOld.x)
        SetScrollPos(SB_HORZ, ptNew.x);
    if (m_bShowBars && (dwStyle & WS_VSCROLL) && ptNew.y != ptOld.y)
        SetScrollPos(SB_VERT, ptNew.y);
    ScrollWindow(ptOld.x - ptNew.x, ptOld.y - ptNew.y);
}

void CScrollView::ScrollToPosition(POINT pt)
{
    ScrollToDevicePosition(pt);
}

void CScrollView::ScrollToDevicePosition(POINT ptDev)
{
    CSize maxPos = GetMaxPosition(GetScrollClientSize());
    CPoint pt(ptDev);
    pt.x = pt.x < 0 ? 0 : (pt.x > maxPos.cx ? maxPos.cx : pt.x);
    pt.y = pt.y < 0 ? 0 : (pt.y > maxPos.cy ? maxPos.cy : pt.y);
    MoveTo(pt);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    CSize maxPos = GetMaxPosition(GetScrollClientSize());
    // Wide arithmetic: a scroll to the end passes INT_MAX.
    long long x = (long long)m_ptPos.x + sizeScroll.cx;
    long long y = (long long)m_ptPos.y + sizeScroll.cy;
    x = x < 0 ? 0 : (x > maxPos.cx ? maxPos.cx : x);
    y = y < 0 ? 0 : (y > maxPos.cy ? maxPos.cy : y);
    CPoint ptNew((int)x, (int)y);
    if (ptNew == m_ptPos)
        return FALSE;
    if (bDoScroll)
        MoveTo(ptNew);
    return TRUE;
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    // The distance one code moves along one axis (INT_MIN and INT_MAX reach the ends).
    auto delta = [&](BYTE code, int nCur, int nLine, int nPage) -> int {
        switch (code) {
        case SB_TOP: return INT_MIN / 2;
        case SB_BOTTOM: return INT_MAX / 2;
        case SB_LINEUP: return -nLine;
        case SB_LINEDOWN: return nLine;
        case SB_PAGEUP: return -nPage;
        case SB_PAGEDOWN: return nPage;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return (int)nPos - nCur;
        default: return 0;
        }
    };
    CSize sizeScroll(delta(LOBYTE(nScrollCode), m_ptPos.x, m_lineDev.cx, m_pageDev.cx),
                     delta(HIBYTE(nScrollCode), m_ptPos.y, m_lineDev.cy, m_pageDev.cy));
    return OnScrollBy(sizeScroll, bDoScroll);
}

int CScrollView::TrackPosition(int nBar, UINT nPos)
{
    // The message carries 16 bits of the position: a longer range asks the bar itself.
    int nTotal = nBar == SB_HORZ ? m_totalDev.cx : m_totalDev.cy;
    if (nTotal <= 0xFFFF)
        return (int)nPos;
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    if (GetScrollInfo(nBar, &si, SIF_TRACKPOS))
        return si.nTrackPos;
    return (int)nPos;
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION)
        nPos = (UINT)TrackPosition(SB_HORZ, nPos);
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION)
        nPos = (UINT)TrackPosition(SB_VERT, nPos);
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::SetShowScrollBars(BOOL bShow)
{
    if (m_bShowBars == bShow)
        return;
    m_bShowBars = bShow;
    if (m_hWnd == nullptr)
        return;
    if (!bShow) {
        ++m_bInsideUpdate;
        ShowScrollBar(SB_BOTH, FALSE);
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED);
        --m_bInsideUpdate;
    }
    UpdateBars();
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || m_hWnd == nullptr)
        return;
    ++m_bInsideUpdate;

    CSize sizeClient = GetScrollClientSize();
    BOOL bNeedH = FALSE, bNeedV = FALSE;
    if (m_bShowBars) {
        // The client area the view would have without any bar.
        int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
        int cyBar = ::GetSystemMetrics(SM_CYHSCROLL);
        DWORD dwStyle = GetStyle();
        if (dwStyle & WS_VSCROLL)
            sizeClient.cx += cxBar;
        if (dwStyle & WS_HSCROLL)
            sizeClient.cy += cyBar;
        bNeedH = m_totalDev.cx > sizeClient.cx;
        bNeedV = m_totalDev.cy > sizeClient.cy;
        // One bar takes room from the other direction.
        if (bNeedH && !bNeedV)
            bNeedV = m_totalDev.cy > sizeClient.cy - cyBar;
        if (bNeedV && !bNeedH)
            bNeedH = m_totalDev.cx > sizeClient.cx - cxBar;
        if (bNeedV)
            sizeClient.cx -= cxBar;
        if (bNeedH)
            sizeClient.cy -= cyBar;
        if (sizeClient.cx < 0)
            sizeClient.cx = 0;
        if (sizeClient.cy < 0)
            sizeClient.cy = 0;
    }

    CSize maxPos = GetMaxPosition(sizeClient);
    CPoint ptNew = m_ptPos;
    ptNew.x = ptNew.x > maxPos.cx ? maxPos.cx : ptNew.x;
    ptNew.y = ptNew.y > maxPos.cy ? maxPos.cy : ptNew.y;

    if (m_bShowBars) {
        // Both bars coming or going together change the window's frame once, not twice.
        if (bNeedH == bNeedV)
            ShowScrollBar(SB_BOTH, bNeedH);
        else {
            ShowScrollBar(SB_HORZ, bNeedH);
            ShowScrollBar(SB_VERT, bNeedV);
        }
        SCROLLINFO si = {};
        si.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
        if (bNeedH) {
            si.nMax = m_totalDev.cx - 1;
            si.nPage = (UINT)sizeClient.cx;
            si.nPos = ptNew.x;
            SetScrollInfo(SB_HORZ, &si, TRUE);
        }
        if (bNeedV) {
            si.nMax = m_totalDev.cy - 1;
            si.nPage = (UINT)sizeClient.cy;
            si.nPos = ptNew.y;
            SetScrollInfo(SB_VERT, &si, TRUE);
        }
    }
    if (ptNew != m_ptPos) {
        CPoint ptOld = m_ptPos;
        m_ptPos = ptNew;
        ScrollWindow(ptOld.x - ptNew.x, ptOld.y - ptNew.y);
    }
    --m_bInsideUpdate;
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    pDC->SetMapMode(m_nMapMode);
    CPoint ptOrg(0, 0);
    if (!pDC->IsPrinting())
        ptOrg = CPoint(-m_ptPos.x, -m_ptPos.y);
    pDC->SetViewportOrg(ptOrg);
    CView::OnPrepareDC(pDC, pInfo);
}
