// Control bars and docking: bars, dock bars, the bar layout of frames and the docking half of
// CFrameWnd.
#include "afxwin.h"
#include "afxbar.h"
#include <algorithm>

using std::max;
using std::min;

namespace {

// Fly-by help of the thread's bars: the bar that set the status text last and its hit.
struct BarStatusState
{
    CControlBar* pLastStatus = nullptr;
    INT_PTR nLastStatus = -1;
};
BarStatusState g_status;

const UINT_PTR ID_TIMER_WAIT = 0xE000;     // the prompt appears after the mouse rested
const UINT_PTR ID_TIMER_CHECK = 0xE001;    // the prompt goes when the mouse left

// The window at the end of the parent and owner chain (a floating frame leads to its owner).
HWND TopLevelParentOrOwner(HWND hWnd)
{
    HWND hWndT;
    for (;;) {
        if (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)
            hWndT = ::GetParent(hWnd);
        else
            hWndT = ::GetWindow(hWnd, GW_OWNER);
        if (hWndT == nullptr)
            return hWnd;
        hWnd = hWndT;
    }
}

CString WindowText(HWND hWnd)
{
    CString s;
    int n = ::GetWindowTextLengthA(hWnd);
    if (n > 0) {
        ::GetWindowTextA(hWnd, s.GetBuffer(n + 1), n + 1);
        s.ReleaseBuffer();
    }
    return s;
}

BOOL ArrayHas(const CPtrArray& arr, void* p)
{
    for (int i = 0; i < arr.GetSize(); i++) {
        if (arr[i] == p)
            return TRUE;
    }
    return FALSE;
}

void SetWindowTextIfChanged(HWND hWnd, LPCSTR lpsz)
{
    if (WindowText(hWnd) != lpsz)
        ::SetWindowTextA(hWnd, lpsz);
}

} // namespace

// ---- Bar data and layout helpers ----------------------------------------------------------------

void AfxActivateTopParent(CWnd* pWnd)
{
    HWND hWndTop = TopLevelParentOrOwner(pWnd->m_hWnd);
    HWND hWndActive = ::GetForegroundWindow();
    if (hWndActive == nullptr ||
        !(hWndActive == hWndTop || ::IsChild(hWndTop, hWndActive) || TopLevelParentOrOwner(hWndActive) == hWndTop))
        ::SetForegroundWindow(hWndTop);
}

void AFX_BARDATA::Update()
{
    bWin4 = LOBYTE(LOWORD(::GetVersion())) >= 4;
    cxBorder2 = bWin4 ? 2 : 1;
    cyBorder2 = bWin4 ? 2 : 1;
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    hcurArrow = ::LoadCursorA(nullptr, IDC_ARROW);
}

AFX_BARDATA& AfxGetBarData()
{
    static AFX_BARDATA data = [] {
        AFX_BARDATA d;
        d.Update();
        return d;
    }();
    return data;
}

void AfxDeflateBorderLines(CRect& rect, DWORD dwBarStyle)
{
    const AFX_BARDATA& data = AfxGetBarData();
    if (dwBarStyle & CBRS_BORDER_LEFT)
        rect.left += data.cxBorder2;
    if (dwBarStyle & CBRS_BORDER_TOP)
        rect.top += data.cyBorder2;
    if (dwBarStyle & CBRS_BORDER_RIGHT)
        rect.right -= data.cxBorder2;
    if (dwBarStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= data.cyBorder2;
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    CRect rectOld;
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), (LPPOINT)&rectOld, 2);
    if (::EqualRect(&rectOld, lpRect))
        return;
    if (lpLayout->hDWP != nullptr)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                          lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                          SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout;
    layout.bStretch = bStretch;
    layout.sizeTotal.cx = layout.sizeTotal.cy = 0;
    if (lpRectClient != nullptr)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    layout.hDWP = nFlag == reposQuery ? nullptr : ::BeginDeferWindowPos(8);

    HWND hWndLeftOver = nullptr;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        UINT nIDC = (UINT)::GetDlgCtrlID(hWndChild);
        if (nIDC == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nIDC >= nIDFirst && nIDC <= nIDLast && CWnd::FromHandlePermanent(hWndChild) != nullptr)
            ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (nFlag == reposQuery) {
        if (lpRectParam != nullptr) {
            if (bStretch)
                *lpRectParam = layout.rect;
            else
                ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }
    if (nIDLeftOver != 0 && hWndLeftOver != nullptr) {
        if (nFlag == reposExtra && lpRectParam != nullptr) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        CWnd::FromHandle(hWndLeftOver)->CalcWindowRect(&layout.rect);
        AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
    }
    if (layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);
}

// ---- CControlBar ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(1), m_cyBottomBorder(1), m_cxDefaultGap(2),
      m_nMRUWidth(32767), m_bAutoDelete(FALSE), m_dwStyle(0), m_dwDockStyle(0), m_pDockSite(nullptr),
      m_pDockBar(nullptr), m_pDockContext(nullptr), m_nStateFlags(0)
{
}

CControlBar::~CControlBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
    // The context takes the bar out of its dock bar; without a context the layout is left alone.
    CDockContext* pDockContext = m_pDockContext;
    m_pDockContext = nullptr;
    delete pDockContext;
    if (m_pDockBar != nullptr) {
        m_pDockBar->DetachBar(this);
        m_pDockBar = nullptr;
    }
    if (g_status.pLastStatus == this)
        g_status.pLastStatus = nullptr;
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_BTNFACE + 1));
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (m_dwStyle & CBRS_TOOLTIPS)
        EnableToolTips();
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    if (pParent != nullptr && pParent->IsFrameWnd()) {
        m_pDockSite = static_cast<CFrameWnd*>(pParent);
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    if (g_status.pLastStatus == this)
        SetStatusText(-1);
    KillTimer(ID_TIMER_WAIT);
    KillTimer(ID_TIMER_CHECK);
    CWnd::OnDestroy();
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    if (m_hWnd != nullptr)
        EnableToolTips((dwStyle & CBRS_TOOLTIPS) != 0);
    if (m_dwStyle != dwStyle) {
        DWORD dwOldStyle = m_dwStyle;
        m_dwStyle = dwStyle;
        OnBarStyleChange(dwOldStyle, dwStyle);
    }
}

void CControlBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    // Border lines live in the non-client area.
    if (m_hWnd != nullptr && ((dwOldStyle ^ dwNewStyle) & (CBRS_BORDER_ANY | CBRS_BORDER_3D | CBRS_ORIENT_ANY)))
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == nullptr)
        m_pDockContext = new CDockContext(this);
    if (m_hWndOwner == nullptr)
        m_hWndOwner = ::GetParent(m_hWnd);
}

BOOL CControlBar::IsFloating() const
{
    if (IsDockBar())
        return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar != nullptr && m_pDockBar->m_bFloating;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    CFrameWnd* pFrameWnd = GetParentFrame();
    if (pFrameWnd == nullptr)
        pFrameWnd = m_pDockSite;
    return pFrameWnd;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    DWORD dwStyle = (GetStyle() & WS_VISIBLE) | (m_dwStyle & CBRS_ALIGN_ANY);
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    UINT swpFlags = 0;
    if ((m_nStateFlags & delayHide) && bVisible)
        swpFlags = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !bVisible)
        swpFlags = SWP_SHOWWINDOW;
    if (swpFlags != 0) {
        // The layout sees the bar as it will be.
        dwStyle ^= WS_VISIBLE;
        if (lpLayout->hDWP != nullptr) {
            m_nStateFlags &= ~(delayShow | delayHide);
            lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                              swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    else if (lpLayout->hDWP != nullptr) {
        m_nStateFlags &= ~(delayShow | delayHide);
    }
    return dwStyle;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    AfxDeflateBorderLines(rect, m_dwStyle);
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    }
    else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // Stretched to the frame along its orientation; nothing across.
    CSize size;
    size.cx = (bStretch && bHorz) ? 32767 : 0;
    size.cy = (bStretch && !bHorz) ? 32767 : 0;
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD dwStyle = RecalcDelayShow(lpLayout);
    if ((dwStyle & WS_VISIBLE) == 0 || (dwStyle & CBRS_ALIGN_ANY) == 0)
        return 0;

    CRect rect(lpLayout->rect);
    CSize sizeAvail = rect.Size();
    DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    else if (dwStyle & CBRS_ORIENT_HORZ)
        dwMode |= LM_HORZ | LM_HORZDOCK;
    else
        dwMode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, dwMode);
    size.cx = min(size.cx, sizeAvail.cx);
    size.cy = min(size.cy, sizeAvail.cy);

    if (dwStyle & CBRS_ORIENT_HORZ) {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = max(lpLayout->sizeTotal.cx, size.cx);
        if (dwStyle & CBRS_ALIGN_TOP)
            lpLayout->rect.top += size.cy;
        else if (dwStyle & CBRS_ALIGN_BOTTOM) {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    }
    else if (dwStyle & CBRS_ORIENT_VERT) {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = max(lpLayout->sizeTotal.cy, size.cy);
        if (dwStyle & CBRS_ALIGN_LEFT)
            lpLayout->rect.left += size.cx;
        else if (dwStyle & CBRS_ALIGN_RIGHT) {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (lpLayout->hDWP != nullptr)
        MoveInLayout(lpLayout, rect);
    return 0;
}

void CControlBar::MoveInLayout(AFX_SIZEPARENTPARAMS* lpLayout, const CRect& rect)
{
    AfxRepositionWindow(lpLayout, m_hWnd, &rect);
}

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect rect;
    CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    lpncsp->rgrc[0].left += rect.left;
    lpncsp->rgrc[0].top += rect.top;
    lpncsp->rgrc[0].right += rect.right;
    lpncsp->rgrc[0].bottom += rect.bottom;
    if (lpncsp->rgrc[0].right < lpncsp->rgrc[0].left)
        lpncsp->rgrc[0].right = lpncsp->rgrc[0].left;
    if (lpncsp->rgrc[0].bottom < lpncsp->rgrc[0].top)
        lpncsp->rgrc[0].bottom = lpncsp->rgrc[0].top;
}

void CControlBar::OnNcPaint()
{
    EraseNonClient();
}

void CControlBar::EraseNonClient()
{
    CWindowDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(&rectClient);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    // All of the non-client area takes the background first and the border lines go over it: a
    // border drawn thinner than the space kept for it must not leave what the screen showed there
    // before (a bar that grows into another's place).
    SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC);
    DrawBorders(&dc, rectWindow);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC)
{
    // What the DC lets through (also the border area when the non-client area is painted) takes
    // the class's background.
    HBRUSH hBrush = (HBRUSH)::GetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND);
    if (hBrush == nullptr)
        return CWnd::OnEraseBkgnd(pDC);
    if ((UINT_PTR)hBrush <= COLOR_MENUBAR + 1)
        hBrush = ::GetSysColorBrush((int)(UINT_PTR)hBrush - 1);
    CRect rect;
    ::GetClipBox(pDC->m_hDC, &rect);
    ::FillRect(pDC->m_hDC, &rect, hBrush);
    return TRUE;
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY))
        return;
    const AFX_BARDATA& data = AfxGetBarData();
    COLORREF clr = data.bWin4 ? data.clrBtnShadow : data.clrWindowFrame;
    int cx = rect.Width(), cy = rect.Height();
    // A dark line, and a light one inside it with the 3D look.
    if (dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(0, 0, 1, cy, clr);
    if (dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(0, 0, cx, 1, clr);
    if (dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(cx - 1, 0, 1, cy, clr);
    if (dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(0, cy - 1, cx, 1, clr);
    if (dwStyle & CBRS_BORDER_3D) {
        clr = data.clrBtnHilite;
        if (dwStyle & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(1, 1, 1, cy - 2, clr);
        if (dwStyle & CBRS_BORDER_TOP)
            pDC->FillSolidRect(1, 1, cx - 2, 1, clr);
        if (dwStyle & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(cx - 2, 1, 1, cy - 2, clr);
        if (dwStyle & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(1, cy - 2, cx - 2, 1, clr);
    }
    AfxDeflateBorderLines(rect, dwStyle);
}

void CControlBar::DoPaint(CDC*) {}

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    if (IsVisible())
        DoPaint(&dc);
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Dragging starts only on the bar's empty space.
    if (m_pDockBar != nullptr && m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
    }
    else
        CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockBar != nullptr && m_pDockContext != nullptr && OnToolHitTest(point, nullptr) == -1)
        m_pDockContext->ToggleDocking();
    else
        CWnd::OnLButtonDblClk(nFlags, point);
}

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (!IsFloating())
        return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    // A floating bar leaves the activation where it is and brings its frame forward.
    AfxActivateTopParent(this);
    return MA_NOACTIVATE;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    UINT swpFlags = 0;
    if ((m_nStateFlags & delayHide) && bVisible)
        swpFlags = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !bVisible)
        swpFlags = SWP_SHOWWINDOW;
    m_nStateFlags &= ~(delayShow | delayHide);
    if (swpFlags != 0)
        SetWindowPos(nullptr, 0, 0, 0, 0, swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if ((GetStyle() & WS_VISIBLE) && (m_pDockBar == nullptr || (m_pDockBar->GetStyle() & WS_VISIBLE))) {
        CWnd* pOwner = GetOwner();
        CFrameWnd* pTarget = (pOwner != nullptr && pOwner->IsFrameWnd()) ? static_cast<CFrameWnd*>(pOwner)
                                                                         : GetParentFrame();
        if (pTarget != nullptr)
            OnUpdateCmdUI(pTarget, (BOOL)wParam);
    }
    return 0;
}

INT_PTR CControlBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    // A child window under the point is a tool of its own.
    HWND hWndChild = nullptr;
    for (HWND h = ::GetTopWindow(m_hWnd); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE))
            continue;
        CRect rect;
        ::GetWindowRect(h, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)&rect, 2);
        if (rect.PtInRect(point)) {
            hWndChild = h;
            break;
        }
    }
    if (hWndChild == nullptr)
        return -1;
    INT_PTR nHit = ::GetDlgCtrlID(hWndChild);
    if (pTI != nullptr && pTI->cbSize >= TTTOOLINFOA_V1_SIZE) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)hWndChild;
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
        if (!(::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
            pTI->uFlags |= TTF_NOTBUTTON | TTF_CENTERTIP;
    }
    return nHit;
}

BOOL CControlBar::SetStatusText(INT_PTR nHit)
{
    CWnd* pOwner = GetOwner();
    if (nHit == -1) {
        g_status.pLastStatus = nullptr;
        if (m_nStateFlags & statusSet) {
            if (pOwner != nullptr)
                pOwner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
            m_nStateFlags &= ~statusSet;
            return TRUE;
        }
        KillTimer(ID_TIMER_WAIT);
    }
    else if (!(m_nStateFlags & statusSet) || g_status.nLastStatus != nHit) {
        g_status.pLastStatus = this;
        if (pOwner != nullptr)
            pOwner->SendMessage(WM_SETMESSAGESTRING, (WPARAM)nHit);
        m_nStateFlags |= statusSet;
        ResetTimer(ID_TIMER_CHECK, 200);
        return TRUE;
    }
    return FALSE;
}

void CControlBar::ResetTimer(UINT_PTR nEvent, UINT nTime)
{
    KillTimer(ID_TIMER_WAIT);
    KillTimer(ID_TIMER_CHECK);
    SetTimer(nEvent, nTime);
}

void CControlBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != ID_TIMER_WAIT && nIDEvent != ID_TIMER_CHECK) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (::GetKeyState(VK_LBUTTON) < 0)
        return;
    CPoint point;
    ::GetCursorPos(&point);
    CPoint ptScreen = point;
    ScreenToClient(&point);
    INT_PTR nHit = OnToolHitTest(point, nullptr);
    if (nHit >= 0) {
        HWND hWndUnder = ::WindowFromPoint(ptScreen);
        HWND hWndTop = TopLevelParentOrOwner(m_hWnd);
        if (hWndUnder == nullptr || (hWndUnder != m_hWnd && !::IsChild(m_hWnd, hWndUnder)) ||
            !::IsWindowEnabled(hWndTop))
            nHit = -1;
    }
    if (nHit < 0) {
        g_status.nLastStatus = -1;
        KillTimer(ID_TIMER_CHECK);
        SetStatusText(-1);
    }
    if (nIDEvent == ID_TIMER_WAIT) {
        KillTimer(ID_TIMER_WAIT);
        if (nHit >= 0)
            SetStatusText(nHit);
    }
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    // Tool tips first.
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;

    // Fly-by help: the prompt of the item under the mouse goes to the status bar.
    UINT message = pMsg->message;
    if (((m_dwStyle & CBRS_FLYBY) || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) &&
        ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK))) {
        CPoint point = pMsg->pt;
        ScreenToClient(&point);
        TOOLINFOA ti;
        memset(&ti, 0, sizeof ti);
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        INT_PTR nHit = OnToolHitTest(point, &ti);
        if (ti.lpszText != LPSTR_TEXTCALLBACKA && ti.hinst == nullptr)
            free(ti.lpszText);
        BOOL bNotButton = message == WM_LBUTTONDOWN && (ti.uFlags & TTF_NOTBUTTON);
        if (message != WM_LBUTTONDOWN && ::GetKeyState(VK_LBUTTON) < 0)
            nHit = g_status.nLastStatus;
        if (nHit < 0 || bNotButton) {
            if (::GetKeyState(VK_LBUTTON) >= 0 || bNotButton) {
                if (g_status.pLastStatus == this || bNotButton) {
                    KillTimer(ID_TIMER_CHECK);
                    SetStatusText(-1);
                }
            }
        }
        else if (message == WM_LBUTTONUP) {
            SetStatusText(-1);
            ResetTimer(ID_TIMER_CHECK, 200);
        }
        else if ((m_nStateFlags & statusSet) || ::GetKeyState(VK_LBUTTON) < 0)
            SetStatusText(nHit);
        else if (nHit != g_status.nLastStatus)
            ResetTimer(ID_TIMER_WAIT, 300);
        g_status.nLastStatus = nHit;
    }
    return FALSE;
}

LRESULT CControlBar::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        LRESULT lResult = 0;
        if (OnWndMsg(nMsg, wParam, lParam, &lResult))
            return lResult;
        // The owner handles what the bar's own controls tell it.
        CWnd* pOwner = GetOwner();
        if (pOwner == nullptr || pOwner == this)
            return DefWindowProc(nMsg, wParam, lParam);
        lResult = pOwner->SendMessage(nMsg, wParam, lParam);
        if (nMsg == WM_NOTIFY) {
            auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
            if (pNMHDR->code == TTN_NEEDTEXTA) {
                auto* pTTT = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
                if ((pTTT->lpszText == nullptr || *pTTT->lpszText == '\0') && pTTT->szText[0] == '\0')
                    lResult = DefWindowProc(nMsg, wParam, lParam);
            }
        }
        return lResult;
    }
    }
    return CWnd::WindowProc(nMsg, wParam, lParam);
}

void CControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
    pInfo->m_nBarID = (UINT)::GetDlgCtrlID(m_hWnd);
    pInfo->m_pBar = this;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    if (m_pDockBar != nullptr) {
        CRect rect;
        GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    // The remembered places are kept also while the bar floats: a bar floated before the layout
    // is saved docks back to its old place afterwards.
    if (m_pDockContext != nullptr) {
        pInfo->m_bDocking = TRUE;
        pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd*)
{
    UINT nFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (m_pDockBar == nullptr || (pInfo->m_pointPos.x == -1 && pInfo->m_pointPos.y == -1))
        nFlags |= SWP_NOMOVE;
    m_nMRUWidth = pInfo->m_nMRUWidth;
    CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    if (pInfo->m_bDocking && m_pDockContext != nullptr) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
    SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, nFlags);
    DelayShow(pInfo->m_bVisible);
}

// ---- CDockBar -------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating), m_bLayoutQuery(FALSE)
{
    m_arrBars.Add(nullptr);
    m_bAutoDelete = TRUE;
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CDockBar::~CDockBar()
{
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != nullptr && pBar->m_pDockBar == this)
            pBar->m_pDockBar = nullptr;
    }
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    CRect rect;
    return CWnd::Create(nullptr, nullptr, dwStyle & ~(DWORD)0xFFFF, rect, pParentWnd, nID);
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
    void* p = m_arrBars.GetAt(nPos);
    if (p == nullptr || AfxIsDockPlaceholder(p))
        return nullptr;
    return static_cast<CControlBar*>(p);
}

int CDockBar::GetDockedCount() const
{
    int nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        if (GetDockedControlBar(i) != nullptr)
            nCount++;
    }
    return nCount;
}

int CDockBar::GetDockedVisibleCount() const
{
    int nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != nullptr && pBar->IsVisible())
            nCount++;
    }
    return nCount;
}

int CDockBar::FindBar(void* pEntry, int nPosExclude)
{
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        if (nPos != nPosExclude && m_arrBars[nPos] == pEntry)
            return nPos;
    }
    return -1;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude)
{
    return FindBar(static_cast<void*>(pBar), nPosExclude);
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar)
{
    void* pEntry = pBar;
    if (pBar == nullptr || (!AfxIsDockPlaceholder(pEntry) && pBar->m_hWnd == nullptr))
        return;
    if (!AfxIsDockPlaceholder(pEntry))
        pEntry = AfxDockPlaceholder((UINT)::GetDlgCtrlID(pBar->m_hWnd));
    int nOldPos = FindBar(pEntry);
    if (nOldPos > 0) {
        EraseEntry(nOldPos);
    }
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid)
{
    const AFX_BARDATA& data = AfxGetBarData();
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int nPosInsAfter = 0;
    int nWidth = 0;
    int nTotalWidth = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != nullptr && pBar->IsVisible()) {
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);
            nWidth = max(nWidth, bHorz ? rectBar.Height() : rectBar.Width() - 1);
            if (bHorz ? rect.left > rectBar.left : rect.top > rectBar.top)
                nPosInsAfter = nPos;
        }
        else if (m_arrBars[nPos] == nullptr) {
            // The end of a row.
            nTotalWidth += nWidth - data.cyBorder2;
            nWidth = 0;
            if ((bHorz ? ptMid.y : ptMid.x) < nTotalWidth) {
                if (nPos == 0)
                    m_arrBars.InsertAt(nPosInsAfter + 1, (void*)nullptr);
                m_arrBars.InsertAt(nPosInsAfter + 1, pBarIns);
                return nPosInsAfter + 1;
            }
            nPosInsAfter = nPos;
        }
    }
    // Past the last row: a new row at the end.
    m_arrBars.InsertAt(nPosInsAfter + 1, (void*)nullptr);
    m_arrBars.InsertAt(nPosInsAfter + 1, pBarIns);
    return nPosInsAfter + 1;
}

void CDockBar::TakeBar(CControlBar* pBar, BOOL bTakeTitle)
{
    // A floating dock bar takes the bar's sizing and multi-bar styles and its title.
    if (bTakeTitle) {
        if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
            m_dwStyle |= CBRS_FLOAT_MULTI;
        m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
        m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
        if (!(m_dwStyle & CBRS_FLOAT_MULTI))
            SetWindowTextIfChanged(m_hWnd, WindowText(pBar->m_hWnd));
    }
    // The bar takes this side's alignment, all its borders and the floating state.
    DWORD dwStyle = pBar->GetBarStyle();
    dwStyle &= ~CBRS_ALIGN_ANY;
    dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (m_bFloating)
        dwStyle |= CBRS_FLOATING;
    else
        dwStyle &= ~CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (lpRect == nullptr || rectBar == *lpRect))
        return;     // already there
    PlaceBar(pBar, lpRect, FALSE);
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (lpRect == nullptr || rectBar == *lpRect))
        return;
    PlaceBar(pBar, lpRect, TRUE);
}

void CDockBar::PlaceBar(CControlBar* pBar, LPCRECT lpRect, BOOL bAtPlaceholder)
{
    const AFX_BARDATA& data = AfxGetBarData();
    TakeBar(pBar, TRUE);

    // Hidden while it changes parents, so that it does not flash.
    BOOL bShow = FALSE;
    if (!bAtPlaceholder && pBar->m_pDockBar != this && pBar->IsWindowVisible()) {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        bShow = TRUE;
    }

    // Back to the place the bar left behind, or by the rectangle's centre, or a row at the end.
    int nPos = -1;
    if (bAtPlaceholder) {
        nPos = FindBar(AfxDockPlaceholder((UINT)::GetDlgCtrlID(pBar->m_hWnd)));
        if (nPos > 0)
            m_arrBars.SetAt(nPos, pBar);
    }
    if (lpRect != nullptr) {
        CRect rect(*lpRect);
        ScreenToClient(&rect);
        if (nPos < 1) {
            CPoint ptMid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
            nPos = Insert(pBar, rect, ptMid);
        }
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    else {
        if (nPos < 1) {
            nPos = m_arrBars.Add(pBar);
            m_arrBars.Add(nullptr);
        }
        pBar->SetWindowPos(nullptr, -data.cxBorder2, -data.cyBorder2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }

    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    // A bar docked out of a docked place into a floating frame leaves its place behind.
    if (pBar->m_pDockBar == this)
        RemoveControlBar(pBar, nPos);
    else if (pBar->m_pDockBar != nullptr)
        pBar->m_pDockBar->RemoveControlBar(pBar, -1,
                                           !bAtPlaceholder && m_bFloating && !pBar->m_pDockBar->m_bFloating);
    pBar->m_pDockBar = this;
    if (bShow)
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (!bAtPlaceholder)
        RemovePlaceHolder(pBar);
    if (CFrameWnd* pFrameWnd = GetDockingFrame())
        pFrameWnd->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE;
    UINT nID = pBar->m_hWnd != nullptr ? (UINT)::GetDlgCtrlID(pBar->m_hWnd) : 0;
    if (nAddPlaceHolder == 1 && nID != 0) {
        void* pEntry = AfxDockPlaceholder(nID);
        m_arrBars.SetAt(nPos, pEntry);
        // One placeholder per bar is enough.
        if (FindBar(pEntry, nPos) > 0)
            EraseEntry(nPos);
    }
    else {
        EraseEntry(nPos);
        if (nAddPlaceHolder != -1)
            RemovePlaceHolder(pBar);
    }

    // While bars are being destroyed nothing is laid out.
    if (pBar->m_pDockContext == nullptr)
        return FALSE;
    CFrameWnd* pFrameWnd = GetDockingFrame();
    if (pFrameWnd == nullptr)
        return FALSE;
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        if (GetDockedCount() == 0) {
            pFrameWnd->DestroyWindow();
            return TRUE;    // the floating frame is gone, and this dock bar with it
        }
        pFrameWnd->ShowWindow(SW_HIDE);
    }
    else
        pFrameWnd->DelayRecalcLayout();
    return FALSE;
}

BOOL CDockBar::ShowAll(BOOL bShow)
{
    BOOL bResult = FALSE;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != nullptr) {
            if (CFrameWnd* pFrameWnd = pBar->GetDockingFrame())
                pFrameWnd->ShowControlBar(pBar, bShow, FALSE);
            bResult = TRUE;
        }
    }
    return bResult;
}

BOOL CDockBar::PackBar(CControlBar* pBar, BOOL bFirstInRow, BOOL bWrapped, CPoint& pt, CSize sizeMax, BOOL bHorz,
                       int nOverlap, int nRowStart, int& nThickness, CRect& rectResult)
{
    DWORD dwMode = 0;
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    else if (pBar->m_dwStyle & CBRS_ORIENT_HORZ)
        dwMode |= LM_HORZ | LM_HORZDOCK;
    else
        dwMode |= LM_VERTDOCK;
    CSize sizeBar = pBar->CalcDynamicLayout(-1, dwMode);
    CRect rect(pt, sizeBar);
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    ScreenToClient(&rectBar);

    // Along the row: x for a horizontal dock bar, y for a vertical one.
    int start = bHorz ? rect.left : rect.top;
    int length = bHorz ? sizeBar.cx : sizeBar.cy;
    int startNow = bHorz ? rectBar.left : rectBar.top;
    int ptAlong = bHorz ? pt.x : pt.y;
    int nExtent = bHorz ? sizeMax.cx : sizeMax.cy;
    if (!m_bFloating && startNow > start)
        start = startNow;
    if (!m_bFloating && start + length > nExtent)
        start = max(nExtent - (length - nOverlap), ptAlong);
    if (bWrapped)
        start = nRowStart;
    else if (start >= nExtent - nOverlap && !bFirstInRow)
        return FALSE;   // it does not fit: a new row

    if (bHorz) {
        rect.OffsetRect(start - rect.left, 0);
        pt.x = start + length - nOverlap;
        nThickness = max(nThickness, (int)sizeBar.cy);
    }
    else {
        rect.OffsetRect(0, start - rect.top);
        pt.y = start + length - nOverlap;
        nThickness = max(nThickness, (int)sizeBar.cx);
    }
    rectResult = rect;
    return TRUE;
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    const AFX_BARDATA& data = AfxGetBarData();
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    CSize sizeMax;
    if (!m_rectLayout.IsRectEmpty())
        sizeMax = m_rectLayout.Size();
    else {
        CRect rectFrame;
        CWnd* pParent = GetParent();
        if (pParent != nullptr)
            pParent->GetClientRect(&rectFrame);
        sizeMax = rectFrame.Size();
    }

    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(m_arrBars.GetSize());
    CPoint pt(-data.cxBorder2, -data.cyBorder2);
    int nRowStart = bHorz ? pt.x : pt.y;
    int nWidth = 0;
    BOOL bWrapNext = FALSE;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        void* pVoid = m_arrBars[nPos];
        if (pBar != nullptr) {
            if (pBar->IsVisible()) {
                CRect rect;
                BOOL bWrapped = bWrapNext;
                bWrapNext = FALSE;
                BOOL bFirstInRow = m_arrBars[nPos - 1] == nullptr;
                if (!PackBar(pBar, bFirstInRow, bWrapped, pt, sizeMax, bHorz, bHorz ? data.cxBorder2 : data.cyBorder2,
                             nRowStart, nWidth, rect)) {
                    m_arrBars.InsertAt(nPos, (void*)nullptr);
                    pBar = nullptr;
                    pVoid = nullptr;
                    bWrapNext = TRUE;
                }
                else {
                    CRect rectBar;
                    pBar->GetWindowRect(&rectBar);
                    ScreenToClient(&rectBar);
                    if (rect != rectBar) {
                        if (!m_bLayoutQuery && !(pBar->m_dwStyle & CBRS_FLOATING))
                            RememberDockPlace(pBar, rect);
                        AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
                    }
                }
            }
            if (pBar != nullptr)
                pBar->RecalcDelayShow(&layout);
        }
        if (pBar == nullptr && pVoid == nullptr && nWidth != 0) {
            // The end of a row.
            if (bHorz) {
                pt.y += nWidth - data.cyBorder2;
                sizeFixed.cx = max(sizeFixed.cx, pt.x);
                sizeFixed.cy = max(sizeFixed.cy, pt.y);
                pt.x = -data.cxBorder2;
            }
            else {
                pt.x += nWidth - data.cxBorder2;
                sizeFixed.cx = max(sizeFixed.cx, pt.x);
                sizeFixed.cy = max(sizeFixed.cy, pt.y);
                pt.y = -data.cyBorder2;
            }
            nWidth = 0;
        }
    }
    if (layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);

    // The dock bar's own border lines.
    CRect rect;
    CalcInsideRect(rect, bHorz);
    if ((!bStretch || !bHorz) && sizeFixed.cx != 0)
        sizeFixed.cx += -rect.right + rect.left;
    if ((!bStretch || bHorz) && sizeFixed.cy != 0)
        sizeFixed.cy += -rect.bottom + rect.top;
    return sizeFixed;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    BOOL bLayoutQuery = m_bLayoutQuery;
    CRect rectLayout = m_rectLayout;
    m_bLayoutQuery = lpLayout->hDWP == nullptr;
    m_rectLayout = lpLayout->rect;
    LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = bLayoutQuery;
    m_rectLayout = rectLayout;
    return lResult;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CDockBar::GetBarInfo(CControlBarInfo* pInfo)
{
    pInfo->m_nBarID = (UINT)::GetDlgCtrlID(m_hWnd);
    pInfo->m_pBar = this;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    pInfo->m_bDockBar = TRUE;
    pInfo->m_arrBarID.RemoveAll();
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        void* p = m_arrBars[i];
        if (p == nullptr)
            pInfo->m_arrBarID.Add(nullptr);
        else if (AfxIsDockPlaceholder(p))
            pInfo->m_arrBarID.Add((void*)(UINT_PTR)(AfxDockPlaceholderID(p) | 0x10000));
        else
            pInfo->m_arrBarID.Add((void*)(UINT_PTR)(UINT)::GetDlgCtrlID(static_cast<CControlBar*>(p)->m_hWnd));
    }
    if (m_bFloating) {
        // The floating frame's client origin: the frame is rebuilt around it.
        pInfo->m_bFloating = TRUE;
        pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        CRect rect;
        GetWindowRect(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
}

void CDockBar::RememberDockPlace(CControlBar* pBar, const CRect& rect)
{
    if (pBar->m_pDockContext == nullptr)
        return;
    // The place and the side it belongs to go together.
    pBar->m_pDockContext->m_rectMRUDockPos = rect;
    UINT nID = (UINT)::GetDlgCtrlID(m_hWnd);
    if (nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_BOTTOM)
        pBar->m_pDockContext->m_uMRUDockID = nID;
}

void CDockBar::DetachBar(CControlBar* pBar)
{
    int nPos = FindBar(pBar);
    if (nPos > 0)
        EraseEntry(nPos);
}

void CDockBar::EraseEntry(int nPos)
{
    m_arrBars.RemoveAt(nPos);
    // A row left empty loses its row end.
    if (nPos < m_arrBars.GetSize() && m_arrBars[nPos - 1] == nullptr && m_arrBars[nPos] == nullptr)
        m_arrBars.RemoveAt(nPos);
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
    // The list is rebuilt from the record: the bars it names come here (the frame took them out of
    // their dock bars before), every other id stays a placeholder. Bars docked here that the
    // state does not place keep rows of their own after the record's.
    CPtrArray arrNew;
    arrNew.Add(nullptr);
    CPtrArray arrMoved;
    for (int i = 0; i < pInfo->m_arrBarID.GetSize(); i++) {
        UINT_PTR v = (UINT_PTR)pInfo->m_arrBarID[i];
        if (v == 0) {
            if (arrNew[arrNew.GetSize() - 1] != nullptr)
                arrNew.Add(nullptr);
            continue;
        }
        UINT nID = (UINT)(v & 0xFFFF);
        BOOL bPlaceholder = (v & 0xFFFF0000) != 0;
        CControlBar* pBar = pFrameWnd->GetControlBar(nID);
        if (pBar == nullptr || pBar == this || pBar->IsDockBar() || bPlaceholder || ArrayHas(arrMoved, pBar)) {
            void* pEntry = AfxDockPlaceholder(nID);
            if (nID != 0 && !ArrayHas(arrNew, pEntry))
                arrNew.Add(pEntry);
            continue;
        }
        arrNew.Add(pBar);
        arrMoved.Add(pBar);
    }
    if (arrNew[arrNew.GetSize() - 1] != nullptr)
        arrNew.Add(nullptr);
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != nullptr && !ArrayHas(arrMoved, pBar)) {
            arrNew.Add(pBar);
            arrNew.Add(nullptr);
        }
    }
    // A bar still listed elsewhere leaves that list.
    for (int j = 0; j < arrMoved.GetSize(); j++) {
        auto* pBar = static_cast<CControlBar*>(arrMoved[j]);
        if (pBar->m_pDockBar != nullptr && pBar->m_pDockBar != this)
            pBar->m_pDockBar->DetachBar(pBar);
    }
    m_arrBars.RemoveAll();
    for (int i = 0; i < arrNew.GetSize(); i++)
        m_arrBars.Add(arrNew[i]);

    for (int j = 0; j < arrMoved.GetSize(); j++) {
        auto* pBar = static_cast<CControlBar*>(arrMoved[j]);
        TakeBar(pBar, j == 0);
        if (pBar->GetParent() != this)
            pBar->SetParent(this);
        pBar->m_pDockBar = this;
    }
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
}
