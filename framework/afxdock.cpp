// Docking: the drag context, the floating mini frames, the docking half of CFrameWnd and the saved
// docking layout.
#include "afxwin.h"
#include "afxbar.h"
#include <algorithm>

using std::max;
using std::min;

namespace {

BOOL IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
BOOL IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// The dock bars of a frame's sides, in the order they are searched.
const DWORD s_dockBarMap[4][2] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

// Moves a rectangle so that pt lies inside it.
void AdjustRectangle(CRect& rect, CPoint pt)
{
    int dx = pt.x < rect.left ? pt.x - rect.left : pt.x > rect.right ? pt.x - rect.right : 0;
    int dy = pt.y < rect.top ? pt.y - rect.top : pt.y > rect.bottom ? pt.y - rect.bottom : 0;
    rect.OffsetRect(dx, dy);
}

CDockBar* DockBarOf(HWND hWnd)
{
    return dynamic_cast<CDockBar*>(CWnd::FromHandlePermanent(hWnd));
}

} // namespace

// ---- CDockContext -------------------------------------------------------------------------------

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite), m_dwDockStyle(0), m_dwOverDockStyle(0), m_dwStyle(0),
      m_bFlip(FALSE), m_bForceFrame(FALSE), m_pDC(nullptr), m_bDragging(FALSE), m_nHitTest(0), m_bDitherLast(FALSE),
      m_rectRequestedSize(m_rectDragHorz), m_rectActualSize(m_rectDragVert), m_rectActualFrameSize(m_rectFrameDragHorz),
      m_rectFrameBorders(m_rectFrameDragVert), m_uMRUDockID(0), m_dwMRUFloatStyle(CBRS_ALIGN_TOP),
      m_ptMRUFloatPos(-1, -1)
{
    if (m_pDockSite == nullptr)
        m_pDockSite = pBar->GetParentFrame();
}

CDockContext::~CDockContext()
{
    if (m_pBar->m_pDockBar != nullptr) {
        m_pBar->m_pDockBar->RemoveControlBar(m_pBar, -1, FALSE);
        m_pBar->m_pDockBar = nullptr;
    }
}

void CDockContext::InitLoop()
{
    // Pending paints first, so that the feedback is drawn over what stays.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        ::DispatchMessageA(&msg);

    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    if (m_dwStyle == 0)
        m_dwStyle = CBRS_ALIGN_TOP;
    m_rectLast.SetRectEmpty();
    m_sizeLast.cx = m_sizeLast.cy = 0;
    m_bForceFrame = m_bFlip = m_bDitherLast = FALSE;

    CWnd* pWnd = CWnd::GetDesktopWindow();
    if (pWnd->LockWindowUpdate())
        m_pDC = pWnd->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    else
        m_pDC = pWnd->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE);
}

void CDockContext::CancelLoop()
{
    DrawFocusRect(TRUE);
    ::ReleaseCapture();
    CWnd* pWnd = CWnd::GetDesktopWindow();
    pWnd->UnlockWindowUpdate();
    if (m_pDC != nullptr) {
        pWnd->ReleaseDC(m_pDC);
        m_pDC = nullptr;
    }
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (m_pDC == nullptr)
        return;
    CSize size(1, 1);
    CRect rect;
    CBrush* pWhiteBrush = CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH));
    CBrush* pDitherBrush = CDC::GetHalftoneBrush();
    CBrush* pBrush = pWhiteBrush;
    if (IsHorz(m_dwOverDockStyle))
        rect = m_rectDragHorz;
    else if (IsVert(m_dwOverDockStyle))
        rect = m_rectDragVert;
    else {
        // A floating frame: a thick, dithered outline.
        size.cx = ::GetSystemMetrics(SM_CXFRAME) - 1;
        size.cy = ::GetSystemMetrics(SM_CYFRAME) - 1;
        if ((IsHorz(m_dwStyle) && !m_bFlip) || (IsVert(m_dwStyle) && m_bFlip))
            rect = m_rectFrameDragHorz;
        else
            rect = m_rectFrameDragVert;
        pBrush = pDitherBrush;
    }
    if (bRemoveRect)
        size.cx = size.cy = 0;
    if (AfxGetBarData().bWin4 && (IsHorz(m_dwOverDockStyle) || IsVert(m_dwOverDockStyle)))
        rect.InflateRect(-1, -1);
    m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, pBrush, m_bDitherLast ? pDitherBrush : pWhiteBrush);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = pBrush == pDitherBrush;
}

void CDockContext::AdjustDragRect(CRect& rect, CPoint pt)
{
    AdjustRectangle(rect, pt);
}

void CDockContext::CalcDragRects(CPoint pt)
{
    const AFX_BARDATA& data = AfxGetBarData();
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    if (m_pBar->m_dwStyle & (CBRS_SIZE_DYNAMIC | CBRS_SIZE_FIXED)) {
        int nLength = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? 0 : -1;
        CSize sizeHorz = m_pBar->CalcDynamicLayout(nLength, LM_HORZ | LM_HORZDOCK);
        CSize sizeVert = m_pBar->CalcDynamicLayout(nLength, LM_VERTDOCK);
        CSize sizeFloatHorz = sizeHorz, sizeFloatVert = sizeVert;
        if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
            sizeFloatHorz = sizeFloatVert = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
        m_rectDragHorz = CRect(rect.TopLeft(), sizeHorz);
        m_rectDragVert = CRect(rect.TopLeft(), sizeVert);
        m_rectFrameDragHorz = CRect(rect.TopLeft(), sizeFloatHorz);
        m_rectFrameDragVert = CRect(rect.TopLeft(), sizeFloatVert);
    }
    else {
        // The bar's own rectangle for its orientation, the other orientation across the cursor.
        BOOL bHorz = IsHorz(m_dwStyle);
        CSize size = m_pBar->CalcDynamicLayout(-1, !bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
        if (bHorz) {
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), size);
        }
        else {
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), size);
        }
        m_rectFrameDragHorz = m_rectDragHorz;
        m_rectFrameDragVert = m_rectDragVert;
    }
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz);
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragVert);
    m_rectFrameDragHorz.InflateRect(-data.cxBorder2, -data.cyBorder2);
    m_rectFrameDragVert.InflateRect(-data.cxBorder2, -data.cyBorder2);

    AdjustDragRect(m_rectDragHorz, pt);
    AdjustDragRect(m_rectDragVert, pt);
    AdjustDragRect(m_rectFrameDragHorz, pt);
    AdjustDragRect(m_rectFrameDragVert, pt);
}

void CDockContext::StartDrag(CPoint pt)
{
    m_bDragging = TRUE;
    InitLoop();
    m_ptLast = pt;
    CalcDragRects(pt);
    m_dwOverDockStyle = CanDock();
    Move(pt);
    Track();
}

void CDockContext::Move(CPoint pt)
{
    CSize offset = pt - m_ptLast;
    m_rectDragHorz.OffsetRect(offset);
    m_rectFrameDragHorz.OffsetRect(offset);
    m_rectDragVert.OffsetRect(offset);
    m_rectFrameDragVert.OffsetRect(offset);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
    if (nChar == VK_CONTROL)
        UpdateState(&m_bForceFrame, bDown);
    if (nChar == VK_SHIFT)
        UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue)
{
    if (*pFlag != bNewValue) {
        *pFlag = bNewValue;
        m_bFlip = IsHorz(m_dwDockStyle) && IsVert(m_dwDockStyle) && m_bFlip;
        m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
        DrawFocusRect();
    }
}

DWORD CDockContext::CanDock()
{
    if (m_pDockSite == nullptr)
        return 0;
    BOOL bStyleHorz = IsHorz(m_dwStyle);
    if (m_bFlip)
        bStyleHorz = !bStyleHorz;
    DWORD dwDock = 0;
    if (bStyleHorz && IsHorz(m_dwDockStyle))
        dwDock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    else if (IsVert(m_dwDockStyle))
        dwDock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    if (!m_bFlip) {
        if (dwDock == 0 && IsHorz(m_dwDockStyle)) {
            DWORD dwCurr = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            dwDock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            dwDock = dwDock == dwCurr ? dwDock : 0;
        }
        if (dwDock == 0 && IsVert(m_dwDockStyle)) {
            DWORD dwCurr = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            dwDock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            dwDock = dwDock == dwCurr ? dwDock : 0;
        }
    }
    return dwDock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle)
{
    CDockBar* pBar = nullptr;
    if (IsHorz(dwOverDockStyle))
        m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &pBar);
    else if (IsVert(dwOverDockStyle))
        m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &pBar);
    return pBar;
}

BOOL CDockContext::Track()
{
    if (::GetCapture() != nullptr)
        return FALSE;
    m_pBar->SetCapture();
    while (::GetCapture() == m_pBar->m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            AfxPostQuitMessage((int)msg.wParam);
            break;
        }
        switch (msg.message) {
        case WM_LBUTTONUP:
            if (m_bDragging)
                EndDrag();
            else
                EndResize();
            return TRUE;
        case WM_MOUSEMOVE:
            if (m_bDragging)
                Move(msg.pt);
            else
                Stretch(msg.pt);
            break;
        case WM_KEYUP:
            if (m_bDragging)
                OnKey((int)msg.wParam, FALSE);
            break;
        case WM_KEYDOWN:
            if (m_bDragging)
                OnKey((int)msg.wParam, TRUE);
            if (msg.wParam == VK_ESCAPE) {
                CancelLoop();
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    CancelLoop();
    return FALSE;
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (m_dwOverDockStyle != 0) {
        CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
        if (pDockBar != nullptr) {
            CRect rect = (m_dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
            UINT uID = (UINT)::GetDlgCtrlID(pDockBar->m_hWnd);
            if (uID >= AFX_IDW_DOCKBAR_TOP && uID <= AFX_IDW_DOCKBAR_BOTTOM) {
                m_uMRUDockID = uID;
                m_rectMRUDockPos = rect;
                pDockBar->ScreenToClient(&m_rectMRUDockPos);
            }
            m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
            m_pDockSite->RecalcLayout();
        }
    }
    else
        FloatAtDrop();
    m_bDragging = FALSE;
}

void CDockContext::FloatAtDrop()
{
    // A bar of fixed size floats turned the way it was dragged; others float across the top.
    if (!(m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && ((IsVert(m_dwStyle) && !m_bFlip) || (IsHorz(m_dwStyle) && m_bFlip))) {
        m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
    }
    else {
        m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
    }
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

void CDockContext::StartResize(int nHitTest, CPoint pt)
{
    const AFX_BARDATA& data = AfxGetBarData();
    m_bDragging = FALSE;
    InitLoop();
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    m_nHitTest = nHitTest;
    CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectRequestedSize = CRect(rect.TopLeft(), size);
    m_rectActualSize = CRect(rect.TopLeft(), size);
    m_rectActualFrameSize = CRect(rect.TopLeft(), size);
    CMiniFrameWnd::CalcBorders(&m_rectActualFrameSize);
    m_rectActualFrameSize.InflateRect(-data.cxBorder2, -data.cyBorder2);
    m_rectFrameBorders = CRect(CPoint(m_rectActualFrameSize.left - m_rectActualSize.left,
                                      m_rectActualFrameSize.top - m_rectActualSize.top),
                               CPoint(m_rectActualFrameSize.right - m_rectActualSize.right,
                                      m_rectActualFrameSize.bottom - m_rectActualSize.bottom));
    m_dwOverDockStyle = 0;
    Stretch(pt);
    Track();
}

void CDockContext::Stretch(CPoint pt)
{
    CSize offset = pt - m_ptLast;
    int nLength = 0;
    DWORD dwMode = LM_HORZ;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
        if (m_nHitTest == HTLEFT)
            m_rectRequestedSize.left += offset.cx;
        else
            m_rectRequestedSize.right += offset.cx;
        nLength = m_rectRequestedSize.Width();
    }
    else {
        dwMode |= LM_LENGTHY;
        if (m_nHitTest == HTTOP)
            m_rectRequestedSize.top += offset.cy;
        else
            m_rectRequestedSize.bottom += offset.cy;
        nLength = m_rectRequestedSize.Height();
    }
    nLength = max(nLength, 0);
    CSize size = m_pBar->CalcDynamicLayout(nLength, dwMode | LM_COMMIT);

    // The frame keeps the edges opposite the dragged one.
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOP) {
        m_rectActualSize.left = m_rectActualSize.right - size.cx;
        m_rectActualSize.top = m_rectActualSize.bottom - size.cy;
        m_rectActualFrameSize.left = m_rectActualFrameSize.right - (size.cx + m_rectFrameBorders.Width());
        m_rectActualFrameSize.top = m_rectActualFrameSize.bottom - (size.cy + m_rectFrameBorders.Height());
    }
    else {
        m_rectActualSize.right = m_rectActualSize.left + size.cx;
        m_rectActualSize.bottom = m_rectActualSize.top + size.cy;
        m_rectActualFrameSize.right = m_rectActualFrameSize.left + size.cx + m_rectFrameBorders.Width();
        m_rectActualFrameSize.bottom = m_rectActualFrameSize.top + size.cy + m_rectFrameBorders.Height();
    }
    m_ptLast = pt;
    DrawFocusRect();
}

void CDockContext::EndResize()
{
    CancelLoop();
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
                                 CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

void CDockContext::ToggleDocking()
{
    if (m_pBar->IsFloating()) {
        if (m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) {
            CRect rect = m_rectMRUDockPos;
            CDockBar* pDockBar = nullptr;
            if (m_uMRUDockID != 0) {
                pDockBar = DockBarOf(::GetDlgItem(m_pDockSite->m_hWnd, m_uMRUDockID));
                if (pDockBar != nullptr)
                    pDockBar->ClientToScreen(&rect);
            }
            m_pDockSite->ReDockControlBar(m_pBar, pDockBar, &rect);
            m_pDockSite->RecalcLayout();
        }
    }
    else {
        CPoint ptFloat = m_ptMRUFloatPos;
        if (ptFloat.x < 0 || ptFloat.y < 0) {
            ptFloat = m_rectMRUDockPos.TopLeft();
            if (CWnd* pParent = m_pBar->GetParent())
                pParent->ClientToScreen(&ptFloat);
        }
        m_pDockSite->FloatControlBar(m_pBar, ptFloat, m_dwMRUFloatStyle);
    }
}

// ---- CMiniFrameWnd ------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCHITTEST()
    ON_WM_NCACTIVATE()
    ON_WM_GETMINMAXINFO()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT)
{
    if (lpClassName == nullptr)
        lpClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    return CFrameWnd::Create(lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nullptr, dwExStyle, nullptr);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.style & (MFS_4THICKFRAME | MFS_THICKFRAME))
        cs.style |= WS_THICKFRAME;
    if ((cs.style & WS_CAPTION) == WS_CAPTION)
        cs.dwExStyle |= WS_EX_TOOLWINDOW;
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle)
{
    ::AdjustWindowRectEx(lpClientRect, dwStyle & ~(DWORD)0xFFFF, FALSE, dwExStyle | WS_EX_TOOLWINDOW);
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* pMMI)
{
    // A floating frame may be as small as its bars: no smaller than its non-client area.
    CFrameWnd::OnGetMinMaxInfo(pMMI);
    CRect rectWindow, rectClient;
    GetWindowRect(&rectWindow);
    GetClientRect(&rectClient);
    pMMI->ptMinTrackSize.x = rectWindow.Width() - rectClient.right;
    pMMI->ptMinTrackSize.y = rectWindow.Height() - rectClient.bottom;
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    DWORD dwStyle = GetStyle();
    LRESULT nHit = Default();
    if ((dwStyle & MFS_BLOCKSYSMENU) && nHit == HTSYSMENU)
        nHit = HTCAPTION;
    if ((nHit < HTSIZEFIRST || nHit > HTSIZELAST) && nHit != HTGROWBOX)
        return nHit;
    // A frame that only moves has no sizing borders.
    if (dwStyle & MFS_MOVEFRAME)
        return HTCAPTION;
    if (dwStyle & MFS_4THICKFRAME) {
        CRect rect;
        GetWindowRect(&rect);
        rect.InflateRect(-::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME));
        switch (nHit) {
        case HTTOPLEFT: return point.y < rect.top ? HTTOP : HTLEFT;
        case HTTOPRIGHT: return point.y < rect.top ? HTTOP : HTRIGHT;
        case HTBOTTOMLEFT: return point.y > rect.bottom ? HTBOTTOM : HTLEFT;
        case HTGROWBOX:
        case HTBOTTOMRIGHT: return point.y > rect.bottom ? HTBOTTOM : HTRIGHT;
        }
    }
    return nHit;
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive)
{
    // A synchronised frame shows the activation of its owner, which it learns through
    // WM_FLOATSTATUS; its own activation changes nothing.
    if ((GetStyle() & MFS_SYNCACTIVE) == 0)
        return (BOOL)DefWindowProc(WM_NCACTIVATE, bActive, 0);
    return TRUE;
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    LRESULT lResult = 0;
    if ((GetStyle() & MFS_SYNCACTIVE) && (wParam & FS_SYNCACTIVE))
        lResult = 1;
    if (wParam & (FS_SHOW | FS_HIDE))
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE |
                         SWP_NOACTIVATE);
    if (wParam & (FS_ENABLE | FS_DISABLE))
        EnableWindow((wParam & FS_ENABLE) != 0);
    if ((wParam & (FS_ACTIVATE | FS_DEACTIVATE)) && (GetStyle() & MFS_SYNCACTIVE)) {
        ModifyStyle(MFS_SYNCACTIVE, 0);
        SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
        ModifyStyle(0, MFS_SYNCACTIVE);
    }
    return lResult;
}

// ---- CMiniDockFrameWnd --------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                    MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
    if (dwBarStyle & CBRS_SIZE_DYNAMIC)
        dwStyle &= ~MFS_MOVEFRAME;
    return CreateFrame(pParent, dwStyle, dwBarStyle, &m_wndDockBar);
}

BOOL CMiniDockFrameWnd::CreateFrame(CWnd* pParent, DWORD dwStyle, DWORD dwBarStyle, CDockBar* pDockBar)
{
    // No layout until a bar is docked.
    m_bInRecalcLayout = TRUE;
    CRect rect;
    if (!CMiniFrameWnd::CreateEx(0, nullptr, "", dwStyle, rect, pParent))
        return FALSE;   // the frame deleted itself

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        pSysMenu->DeleteMenu(SC_SIZE, MF_BYCOMMAND);
        CString strHide;
        if (strHide.LoadString(AFX_IDS_HIDE)) {
            pSysMenu->DeleteMenu(SC_CLOSE, MF_BYCOMMAND);
            pSysMenu->AppendMenu(MF_STRING | MF_ENABLED, SC_CLOSE, strHide);
        }
    }

    DWORD dwBarAlign = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    dwBarAlign |= dwBarStyle & CBRS_FLOAT_MULTI;
    // Created in the docking frame, so that it is one of that frame's bars, then moved here.
    if (!pDockBar->Create(pParent, WS_CHILD | WS_VISIBLE | dwBarAlign, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        DestroyWindow();
        return FALSE;
    }
    pDockBar->SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

CControlBar* CMiniDockFrameWnd::GetFirstBar()
{
    CDockBar* pDockBar = DockBarOf(::GetDlgItem(m_hWnd, AFX_IDW_DOCKBAR_FLOAT));
    if (pDockBar == nullptr)
        return nullptr;
    for (int nPos = 1; nPos < pDockBar->m_arrBars.GetSize(); nPos++) {
        if (CControlBar* pBar = pDockBar->GetDockedControlBar(nPos))
            return pBar;
    }
    return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    CMiniFrameWnd::RecalcLayout(bNotify);
    // The caption follows the dock bar's title.
    if (CWnd* pDockBar = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_DOCKBAR_FLOAT))) {
        CString strTitle, strOld;
        pDockBar->GetWindowText(strTitle);
        GetWindowText(strOld);
        if (strTitle != strOld)
            SetWindowText(strTitle);
    }
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing a floating frame hides its bars; the bars stay.
    if (CDockBar* pDockBar = DockBarOf(::GetDlgItem(m_hWnd, AFX_IDW_DOCKBAR_FLOAT)))
        pDockBar->ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CDockBar* pDockBar = DockBarOf(::GetDlgItem(m_hWnd, AFX_IDW_DOCKBAR_FLOAT));
    if (nHitTest == HTCAPTION) {
        AfxActivateTopParent(this);
        if (pDockBar != nullptr && (pDockBar->m_dwStyle & CBRS_FLOAT_MULTI) == 0) {
            CControlBar* pBar = GetFirstBar();
            if (pBar != nullptr && pBar->m_pDockContext != nullptr) {
                pBar->m_pDockContext->StartDrag(point);
                return;
            }
        }
    }
    else if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
        AfxActivateTopParent(this);
        CControlBar* pBar = GetFirstBar();
        if (pBar != nullptr && pBar->m_pDockContext != nullptr) {
            pBar->m_pDockContext->StartResize(nHitTest, point);
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    CDockBar* pDockBar = DockBarOf(::GetDlgItem(m_hWnd, AFX_IDW_DOCKBAR_FLOAT));
    if (nHitTest == HTCAPTION && pDockBar != nullptr && (pDockBar->m_dwStyle & CBRS_FLOAT_MULTI) == 0) {
        CControlBar* pBar = GetFirstBar();
        if (pBar != nullptr && pBar->m_pDockContext != nullptr) {
            pBar->m_pDockContext->ToggleDocking();
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

// ---- CFrameWnd: control bars and docking ----------------------------------------------------------

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (m_listControlBars.Find(pBar) == nullptr)
        m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    POSITION pos = m_listControlBars.Find(pBar);
    if (pos != nullptr)
        m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    if (nID == 0)
        return nullptr;
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd != nullptr && (UINT)::GetDlgCtrlID(pBar->m_hWnd) == nID)
            return pBar;
    }
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    if (m_pFloatingFrameClass == nullptr)
        m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (int i = 0; i < 4; i++) {
        if (s_dockBarMap[i][1] & dwDockStyle & CBRS_ALIGN_ANY) {
            if (GetControlBar(s_dockBarMap[i][0]) == nullptr) {
                CDockBar* pDock = new CDockBar;
                if (!pDock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | s_dockBarMap[i][1],
                                   s_dockBarMap[i][0]))
                    AfxThrowResourceException();
            }
        }
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* pDockBar = nDockBarID == 0 ? nullptr : dynamic_cast<CDockBar*>(GetControlBar(nDockBarID));
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (pDockBar == nullptr) {
        for (int i = 0; i < 4 && pDockBar == nullptr; i++) {
            if ((s_dockBarMap[i][1] & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY))
                pDockBar = dynamic_cast<CDockBar*>(GetControlBar(s_dockBarMap[i][0]));
        }
    }
    if (pDockBar != nullptr)
        pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (pDockBar == nullptr) {
        for (int i = 0; i < 4 && pDockBar == nullptr; i++) {
            if ((s_dockBarMap[i][1] & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY))
                pDockBar = dynamic_cast<CDockBar*>(GetControlBar(s_dockBarMap[i][0]));
        }
        // A floating bar's alignment names no side: the first side it may dock to.
        for (int i = 0; i < 4 && pDockBar == nullptr; i++) {
            if (s_dockBarMap[i][1] & pBar->m_dwDockStyle & CBRS_ALIGN_ANY)
                pDockBar = dynamic_cast<CDockBar*>(GetControlBar(s_dockBarMap[i][0]));
        }
    }
    if (pDockBar != nullptr)
        pDockBar->ReDockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    CRuntimeClass* pClass = m_pFloatingFrameClass != nullptr ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CObject* pObject = pClass->CreateObject();
    auto* pFrame = dynamic_cast<CMiniDockFrameWnd*>(pObject);
    if (pFrame == nullptr) {
        delete pObject;
        AfxThrowNotSupportedException();
    }
    if (!pFrame->Create(this, dwStyle))
        AfxThrowResourceException();    // the frame deleted itself
    return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (pBar->m_pDockSite != nullptr && pBar->m_pDockBar != nullptr) {
        CDockBar* pDockBar = pBar->m_pDockBar;
        if (pDockBar->m_bFloating && pDockBar->GetDockedCount() == 1 &&
            (dwStyle & pDockBar->m_dwStyle & CBRS_ALIGN_ANY) != 0) {
            // Already floating alone: only the frame moves.
            CFrameWnd* pDockFrame = pDockBar->GetParentFrame();
            pDockFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            pDockFrame->RecalcLayout(TRUE);
            pDockFrame->UpdateWindow();
            return;
        }
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT) {
            dwStyle &= ~CBRS_ALIGN_ANY;
            dwStyle |= CBRS_ALIGN_TOP;
        }
    }
    CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(dwStyle);
    pDockFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pDockFrame->m_hWndOwner == nullptr)
        pDockFrame->m_hWndOwner = pBar->m_hWnd;
    CDockBar* pDockBar = DockBarOf(::GetDlgItem(pDockFrame->m_hWnd, AFX_IDW_DOCKBAR_FLOAT));
    pDockBar->DockControlBar(pBar);
    pDockFrame->RecalcLayout(TRUE);
    if (pBar->GetStyle() & WS_VISIBLE) {
        pDockFrame->ShowWindow(SW_SHOWNA);
        pDockFrame->UpdateWindow();
    }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    CFrameWnd* pParentFrame = pBar->GetDockingFrame();
    if (pParentFrame == nullptr)
        return;
    if (bDelay) {
        pBar->DelayShow(bShow);
        pParentFrame->DelayRecalcLayout();
    }
    else {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                               (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        pBar->DelayShow(bShow);
        if (bShow || !pBar->IsFloating())
            pParentFrame->RecalcLayout(FALSE);
    }
    if (pBar->IsFloating()) {
        int nVisCount = pBar->m_pDockBar != nullptr ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
        if (nVisCount == 1 && bShow) {
            pParentFrame->m_nShowDelay = -1;
            if (bDelay)
                pParentFrame->m_nShowDelay = SW_SHOWNA;
            else
                pParentFrame->ShowWindow(SW_SHOWNA);
        }
        else if (nVisCount == 0) {
            pParentFrame->m_nShowDelay = -1;
            if (bDelay)
                pParentFrame->m_nShowDelay = SW_HIDE;
            else
                pParentFrame->ShowWindow(SW_HIDE);
        }
        else if (!bDelay)
            pParentFrame->RecalcLayout(FALSE);
    }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    // Floating dock bars take bars only when both allow several bars.
    dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (ppDockBar != nullptr)
        *ppDockBar = nullptr;
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (!pBar->IsDockBar() || pBar->m_hWnd == nullptr)
            continue;
        auto* pDockBar = static_cast<CDockBar*>(pBar);
        if (pDockBar->IsWindowVisible() && (pDockBar->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY) &&
            (!pDockBar->m_bFloating || (dwDockStyle & pDockBar->m_dwStyle & CBRS_FLOAT_MULTI))) {
            CRect rectBar;
            pDockBar->GetWindowRect(&rectBar);
            if (rectBar.Width() == 0)
                rectBar.right++;
            if (rectBar.Height() == 0)
                rectBar.bottom++;
            if (rectBar.IntersectRect(rectBar, rect)) {
                if (ppDockBar != nullptr)
                    *ppDockBar = pDockBar;
                return pDockBar->m_dwStyle & dwDockStyle;
            }
        }
    }
    return 0;
}

void CFrameWnd::DestroyDockBars()
{
    // The list changes while dock bars and floating frames go: work on a copy.
    CPtrList listDockBars;
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->IsDockBar())
            listDockBars.AddTail(pBar);
    }
    pos = listDockBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pDockBar = static_cast<CDockBar*>(listDockBars.GetNext(pos));
        if (m_listControlBars.Find(pDockBar) == nullptr || pDockBar->m_hWnd == nullptr)
            continue;   // gone with an earlier floating frame
        if (pDockBar->m_bFloating) {
            CFrameWnd* pFrameWnd = pDockBar->GetParentFrame();
            if (pFrameWnd != nullptr && pFrameWnd != this)
                pFrameWnd->DestroyWindow();
            else
                pDockBar->DestroyWindow();
        }
        else
            pDockBar->DestroyWindow();
    }
}

void CFrameWnd::LoadBarState(LPCSTR lpszProfileName)
{
    CDockState state;
    state.LoadState(lpszProfileName);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCSTR lpszProfileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd == nullptr)
            continue;
        auto* pInfo = new CControlBarInfo;
        pBar->GetBarInfo(pInfo);
        state.m_arrBarInfo.Add(pInfo);
    }
}

void AfxDetachDockStateBars(CFrameWnd* pFrame, const CDockState& state)
{
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        for (int j = 0; j < pInfo->m_arrBarID.GetSize(); j++) {
            UINT_PTR v = (UINT_PTR)pInfo->m_arrBarID[j];
            if (v == 0 || (v & 0xFFFF0000) != 0)
                continue;
            CControlBar* pBar = pFrame->GetControlBar((UINT)v);
            if (pBar != nullptr && !pBar->IsDockBar() && pBar->m_pDockBar != nullptr)
                pBar->m_pDockBar->DetachBar(pBar);
        }
    }
}

void AfxReattachDockStateBars(CFrameWnd* pFrame)
{
    POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        CDockBar* pDockBar = pBar->m_pDockBar;
        if (!pBar->IsDockBar() && pDockBar != nullptr && pDockBar->FindBar(pBar) <= 0) {
            pDockBar->m_arrBars.Add(pBar);
            pDockBar->m_arrBars.Add(nullptr);
        }
    }
}

void CFrameWnd::SetDockState(const CDockState& state)
{
    // The bars the state places leave their dock bars first; each dock bar's record then lists
    // them where they were.
    AfxDetachDockStateBars(this, state);
    // First the floating frames the state needs, and each record's bar.
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (pInfo->m_bFloating) {
            CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            CRect rect(pInfo->m_pointPos, CSize(10, 10));
            pDockFrame->CalcWindowRect(&rect);
            pDockFrame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            pInfo->m_pBar = DockBarOf(::GetDlgItem(pDockFrame->m_hWnd, AFX_IDW_DOCKBAR_FLOAT));
        }
        else
            pInfo->m_pBar = GetControlBar(pInfo->m_nBarID);
        if (pInfo->m_pBar != nullptr)
            pInfo->m_pBar->m_nMRUWidth = pInfo->m_nMRUWidth;
    }
    // Then every bar takes its place.
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (pInfo->m_pBar != nullptr)
            pInfo->m_pBar->SetBarInfo(pInfo, this);
    }
    // A bar whose new place could not be made stays in its old dock bar.
    AfxReattachDockStateBars(this);
    // Floating frames that hold a visible bar show up.
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (pInfo->m_pBar == nullptr || !pInfo->m_bFloating)
            continue;
        auto* pDockBar = static_cast<CDockBar*>(pInfo->m_pBar);
        CFrameWnd* pFrameWnd = pDockBar->GetParentFrame();
        if (pDockBar->GetDockedCount() == 0) {
            pFrameWnd->DestroyWindow();     // none of its bars exists any more
            pInfo->m_pBar = nullptr;
        }
        else if (pDockBar->GetDockedVisibleCount() > 0) {
            pFrameWnd->RecalcLayout();
            pFrameWnd->ShowWindow(SW_SHOWNA);
        }
    }
    DelayRecalcLayout();
}

// ---- CControlBarInfo ----------------------------------------------------------------------------

namespace {

const char szSummarySection[] = "%s-Summary";
const char szBarSection[] = "%s-Bar%d";
const char szBars[] = "Bars";
const char szScreenCX[] = "ScreenCX";
const char szScreenCY[] = "ScreenCY";
const char szBarID[] = "BarID";
const char szVisible[] = "Visible";
const char szFloating[] = "Floating";
const char szHorz[] = "Horz";
const char szXPos[] = "XPos";
const char szYPos[] = "YPos";
const char szMRUWidth[] = "MRUWidth";
const char szDocking[] = "Docking";
const char szMRUDockID[] = "MRUDockID";
const char szMRUDockLeftPos[] = "MRUDockLeftPos";
const char szMRUDockRightPos[] = "MRUDockRightPos";
const char szMRUDockTopPos[] = "MRUDockTopPos";
const char szMRUDockBottomPos[] = "MRUDockBottomPos";
const char szMRUFloatStyle[] = "MRUFloatStyle";
const char szMRUFloatXPos[] = "MRUFloatXPos";
const char szMRUFloatYPos[] = "MRUFloatYPos";
const char szBar[] = "Bar#%d";

CProfileStore* Profile()
{
    CProfileStore* pStore = AfxGetProfile();
    if (pStore == nullptr)
        AfxThrowNotSupportedException();
    return pStore;
}

} // namespace

CControlBarInfo::CControlBarInfo()
    : m_nBarID(0), m_bVisible(FALSE), m_bFloating(FALSE), m_bHorz(FALSE), m_bDockBar(FALSE), m_pointPos(-1, -1),
      m_nMRUWidth(32767), m_bDocking(FALSE), m_uMRUDockID(0), m_dwMRUFloatStyle(0), m_pBar(nullptr)
{
}

BOOL CControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex)
{
    CProfileStore* pApp = Profile();
    CString section;
    section.Format(szBarSection, lpszProfileName, nIndex);
    pApp->WriteProfileString(section, nullptr, nullptr);

    // An empty dock bar where the frame puts it anyway needs no record.
    if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 &&
        m_arrBarID.GetSize() <= 1)
        return FALSE;

    pApp->WriteProfileInt(section, szBarID, (int)m_nBarID);
    if (!m_bVisible)
        pApp->WriteProfileInt(section, szVisible, m_bVisible);
    if (m_bFloating) {
        pApp->WriteProfileInt(section, szHorz, m_bHorz);
        pApp->WriteProfileInt(section, szFloating, m_bFloating);
    }
    if (m_pointPos.x != -1)
        pApp->WriteProfileInt(section, szXPos, m_pointPos.x);
    if (m_pointPos.y != -1)
        pApp->WriteProfileInt(section, szYPos, m_pointPos.y);
    if (m_nMRUWidth != 32767)
        pApp->WriteProfileInt(section, szMRUWidth, (int)m_nMRUWidth);
    if (m_bDocking) {
        pApp->WriteProfileInt(section, szDocking, m_bDocking);
        pApp->WriteProfileInt(section, szMRUDockID, (int)m_uMRUDockID);
        pApp->WriteProfileInt(section, szMRUDockLeftPos, m_rectMRUDockPos.left);
        pApp->WriteProfileInt(section, szMRUDockTopPos, m_rectMRUDockPos.top);
        pApp->WriteProfileInt(section, szMRUDockRightPos, m_rectMRUDockPos.right);
        pApp->WriteProfileInt(section, szMRUDockBottomPos, m_rectMRUDockPos.bottom);
        pApp->WriteProfileInt(section, szMRUFloatStyle, (int)m_dwMRUFloatStyle);
        pApp->WriteProfileInt(section, szMRUFloatXPos, m_ptMRUFloatPos.x);
        pApp->WriteProfileInt(section, szMRUFloatYPos, m_ptMRUFloatPos.y);
    }
    if (m_arrBarID.GetSize() > 1) {
        pApp->WriteProfileInt(section, szBars, m_arrBarID.GetSize());
        for (int i = 0; i < m_arrBarID.GetSize(); i++) {
            CString key;
            key.Format(szBar, i);
            pApp->WriteProfileInt(section, key, (int)(UINT_PTR)m_arrBarID[i]);
        }
    }
    return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState)
{
    CProfileStore* pApp = Profile();
    CString section;
    section.Format(szBarSection, lpszProfileName, nIndex);
    m_nBarID = pApp->GetProfileInt(section, szBarID, 0);
    // A section without its bar's id (or no section at all) names no bar: nothing else in it
    // is of use.
    if (m_nBarID == 0)
        return FALSE;
    m_bVisible = (BOOL)pApp->GetProfileInt(section, szVisible, TRUE);
    m_bHorz = (BOOL)pApp->GetProfileInt(section, szHorz, TRUE);
    m_bFloating = (BOOL)pApp->GetProfileInt(section, szFloating, FALSE);
    m_pointPos = CPoint((int)pApp->GetProfileInt(section, szXPos, -1), (int)pApp->GetProfileInt(section, szYPos, -1));
    if (pDockState != nullptr && m_pointPos.x != -1 && m_pointPos.y != -1)
        pDockState->ScalePoint(m_pointPos);
    m_nMRUWidth = pApp->GetProfileInt(section, szMRUWidth, 32767);
    m_bDocking = (BOOL)pApp->GetProfileInt(section, szDocking, 0);
    if (m_bDocking) {
        m_uMRUDockID = pApp->GetProfileInt(section, szMRUDockID, 0);
        m_rectMRUDockPos.SetRect((int)pApp->GetProfileInt(section, szMRUDockLeftPos, 0),
                                 (int)pApp->GetProfileInt(section, szMRUDockTopPos, 0),
                                 (int)pApp->GetProfileInt(section, szMRUDockRightPos, 0),
                                 (int)pApp->GetProfileInt(section, szMRUDockBottomPos, 0));
        if (pDockState != nullptr)
            pDockState->ScaleRectPos(m_rectMRUDockPos);
        m_dwMRUFloatStyle = pApp->GetProfileInt(section, szMRUFloatStyle, 0);
        m_ptMRUFloatPos = CPoint((int)pApp->GetProfileInt(section, szMRUFloatXPos, 0),
                                 (int)pApp->GetProfileInt(section, szMRUFloatYPos, 0));
        if (pDockState != nullptr && m_ptMRUFloatPos.x >= 0 && m_ptMRUFloatPos.y >= 0)
            pDockState->ScalePoint(m_ptMRUFloatPos);
    }
    // A damaged count reads no more than the largest list.
    int nBars = (int)pApp->GetProfileInt(section, szBars, 0);
    nBars = max(0, min(nBars, (int)nMaxBarIDs));
    m_arrBarID.RemoveAll();
    for (int i = 0; i < nBars; i++) {
        CString key;
        key.Format(szBar, i);
        m_arrBarID.Add((void*)(UINT_PTR)pApp->GetProfileInt(section, key, 0));
    }
    return m_nBarID != 0;
}

void CControlBarInfo::Serialize(CArchive& ar, CDockState* pDockState)
{
    DWORD dwVersion = pDockState != nullptr ? pDockState->GetVersion() : 2;
    if (ar.IsStoring()) {
        ar << (DWORD)m_nBarID << (DWORD)m_bVisible << (DWORD)m_bFloating << (DWORD)m_bHorz;
        AfxSerializeLongs(ar, &m_pointPos.x, 2);
        if (dwVersion > 1) {
            ar << (DWORD)m_nMRUWidth << (DWORD)m_bDocking;
            if (m_bDocking) {
                ar << (DWORD)m_uMRUDockID;
                AfxSerializeLongs(ar, &m_rectMRUDockPos.left, 4);
                ar << m_dwMRUFloatStyle;
                AfxSerializeLongs(ar, &m_ptMRUFloatPos.x, 2);
            }
        }
        SerializeEx(ar, pDockState);
        ar << (WORD)m_arrBarID.GetSize();
        for (int i = 0; i < m_arrBarID.GetSize(); i++)
            ar << (DWORD)(UINT_PTR)m_arrBarID[i];
    }
    else {
        DWORD dw;
        ar >> dw;
        m_nBarID = dw;
        ar >> dw;
        m_bVisible = (BOOL)dw;
        ar >> dw;
        m_bFloating = (BOOL)dw;
        ar >> dw;
        m_bHorz = (BOOL)dw;
        AfxSerializeLongs(ar, &m_pointPos.x, 2);
        if (dwVersion > 1) {
            ar >> dw;
            m_nMRUWidth = dw;
            ar >> dw;
            m_bDocking = (BOOL)dw;
            if (m_bDocking) {
                ar >> dw;
                m_uMRUDockID = dw;
                AfxSerializeLongs(ar, &m_rectMRUDockPos.left, 4);
                ar >> m_dwMRUFloatStyle;
                AfxSerializeLongs(ar, &m_ptMRUFloatPos.x, 2);
            }
        }
        SerializeEx(ar, pDockState);
        WORD nCount;
        ar >> nCount;
        m_arrBarID.RemoveAll();
        for (int i = 0; i < nCount; i++) {
            ar >> dw;
            m_arrBarID.Add((void*)(UINT_PTR)dw);
        }
    }
}

void CControlBarInfo::SerializeEx(CArchive&, CDockState*) {}

void AfxSerializeLongs(CArchive& ar, LONG* pValues, int nCount)
{
    for (int i = 0; i < nCount; i++) {
        if (ar.IsStoring())
            ar << pValues[i];
        else
            ar >> pValues[i];
    }
}

// ---- CDockState ---------------------------------------------------------------------------------

IMPLEMENT_SERIAL(CDockState, CObject, 0)

CDockState::CDockState() : m_dwVersion(2), m_bScaling(FALSE) {}

CDockState::~CDockState()
{
    Clear();
}

void CDockState::Clear()
{
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++)
        delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
    m_arrBarInfo.RemoveAll();
}

CControlBarInfo* CDockState::NewBarInfo()
{
    return new CControlBarInfo;
}

CSize CDockState::GetScreenSize() const
{
    return CSize(AfxGetDisplayResolution());
}

void CDockState::SetScreenSize(CSize size)
{
    m_sizeLogical = size;
    m_bScaling = size != GetScreenSize() && size.cx > 0 && size.cy > 0;
}

void CDockState::ScalePoint(CPoint& pt) const
{
    if (m_bScaling) {
        CSize sizeDevice = GetScreenSize();
        pt.x = ::MulDiv(pt.x, sizeDevice.cx, m_sizeLogical.cx);
        pt.y = ::MulDiv(pt.y, sizeDevice.cy, m_sizeLogical.cy);
    }
}

void CDockState::ScaleRectPos(CRect& rect) const
{
    if (m_bScaling) {
        CPoint pt = rect.TopLeft();
        ScalePoint(pt);
        rect.OffsetRect(pt.x - rect.left, pt.y - rect.top);
    }
}

void CDockState::LoadState(LPCSTR lpszProfileName)
{
    Clear();
    CProfileStore* pApp = Profile();
    CString section;
    section.Format(szSummarySection, lpszProfileName);
    int nBars = (int)pApp->GetProfileInt(section, szBars, 0);
    CSize size((int)pApp->GetProfileInt(section, szScreenCX, 0), (int)pApp->GetProfileInt(section, szScreenCY, 0));
    SetScreenSize(size);
    nBars = max(0, min(nBars, (int)nMaxBars));
    // A damaged or missing section drops its own record only: the bars saved after it still
    // come back.
    for (int i = 0; i < nBars; i++) {
        CControlBarInfo* pInfo = NewBarInfo();
        if (!pInfo->LoadState(lpszProfileName, i, this)) {
            delete pInfo;
            continue;
        }
        m_arrBarInfo.Add(pInfo);
    }
}

void CDockState::SaveState(LPCSTR lpszProfileName)
{
    CProfileStore* pApp = Profile();
    int nIndex = 0;
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        if (static_cast<CControlBarInfo*>(m_arrBarInfo[i])->SaveState(lpszProfileName, nIndex))
            nIndex++;
    }
    CString section;
    section.Format(szSummarySection, lpszProfileName);
    pApp->WriteProfileInt(section, szBars, nIndex);
    CSize size = GetScreenSize();
    pApp->WriteProfileInt(section, szScreenCX, size.cx);
    pApp->WriteProfileInt(section, szScreenCY, size.cy);
}

void CDockState::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwVersion;
        if (m_dwVersion > 1) {
            CSize size = GetScreenSize();
            AfxSerializeLongs(ar, &size.cx, 2);
        }
        ar << (WORD)m_arrBarInfo.GetSize();
        for (int i = 0; i < m_arrBarInfo.GetSize(); i++)
            static_cast<CControlBarInfo*>(m_arrBarInfo[i])->Serialize(ar, this);
    }
    else {
        Clear();
        ar >> m_dwVersion;
        if (m_dwVersion != 1 && m_dwVersion != 2)
            AfxThrowArchiveException(CArchiveException::badSchema);
        if (m_dwVersion > 1) {
            CSize size;
            AfxSerializeLongs(ar, &size.cx, 2);
            SetScreenSize(size);
        }
        WORD nCount;
        ar >> nCount;
        for (int i = 0; i < nCount; i++) {
            CControlBarInfo* pInfo = NewBarInfo();
            m_arrBarInfo.Add(pInfo);
            pInfo->Serialize(ar, this);
        }
        m_dwVersion = 2;
    }
}
