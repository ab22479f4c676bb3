#include "gxtabbeam.h"
#include "gxinit.h"
#include "afxseam.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(CGXTabBeam, CWnd)

namespace {
BOOL NewLook() { return GXGetSysData()->m_bNewShell; }
} // namespace

// ---------------------------------------------------------------------------
// Buttons

void GXDrawBeamButton(CDC* pDC, const CRect& rect, int nArrow, BOOL bPressed)
{
    if (pDC == nullptr || rect.IsRectEmpty())
        return;
    CRect r(rect);
    pDC->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
    CBrush frame;
    frame.CreateSolidBrush(::GetSysColor(COLOR_WINDOWFRAME));
    pDC->FrameRect(&r, &frame);
    r.DeflateRect(1, 1);
    if (bPressed)
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE));
    else
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));

    // A triangle of half the button's height, one pixel lower and righter when pressed.
    const int off = bPressed ? 1 : 0;
    const int h = std::max(2, (rect.Height() - 4) / 2) & ~1;
    const int cx = rect.left + rect.Width() / 2 + off, cy = rect.top + rect.Height() / 2 + off;
    const BOOL bLeft = nArrow <= 1;
    const int tip = bLeft ? cx - h / 4 - 1 : cx + h / 4 + 1;
    const int base = bLeft ? tip + h / 2 : tip - h / 2;
    POINT tri[3] = {{tip, cy}, {base, cy - h / 2}, {base, cy + h / 2}};
    CBrush black;
    black.CreateSolidBrush(::GetSysColor(COLOR_BTNTEXT));
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    CBrush* pOldBrush = pDC->SelectObject(&black);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Polygon(tri, 3);
    // First and last carry a bar at the tip.
    if (nArrow == 0)
        pDC->FillSolidRect(tip - 2, cy - h / 2, 1, h + 1, ::GetSysColor(COLOR_BTNTEXT));
    else if (nArrow == 3)
        pDC->FillSolidRect(tip + 2, cy - h / 2, 1, h + 1, ::GetSysColor(COLOR_BTNTEXT));
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

// ---------------------------------------------------------------------------
// Construction

CGXTabBeam::CGXTabBeam()
{
    const int cy = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cxButtons = 2 * cy;
    m_cyBeam = cy;
    m_cxButton = cy;
    m_hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    LoadColors();
}

CGXTabBeam::~CGXTabBeam()
{
    for (int i = 0; i < m_arrTabs.GetSize(); ++i)
        delete m_arrTabs.GetAt(i);
    m_arrTabs.RemoveAll();
    DeleteFonts();
    GXSelfCreatingClass<CGXTabBeam>::Forget(this);
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CGXTabBeam::PostNcDestroy()
{
    if (GXSelfCreatingClass<CGXTabBeam>::IsSelfDeleting(this)) {
        GXSelfCreatingClass<CGXTabBeam>::Forget(this);
        delete this;
    }
}

LPCSTR CGXTabBeam::RegisterClass(HINSTANCE hInstance)
{
    return GXSelfCreatingClass<CGXTabBeam>::Register(hInstance, "CGXTabBeam", CS_GLOBALCLASS | CS_DBLCLKS);
}

BOOL CGXTabBeam::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCSTR lpszClass = RegisterClass(AfxGetInstanceHandle());
    if (lpszClass == nullptr || !CWnd::Create(lpszClass, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    CreateFonts();
    SetWindowPos(nullptr, 0, 0, rect.right - rect.left, m_cyBeam, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LoadColors();
    return TRUE;
}

void CGXTabBeam::LoadColors()
{
    m_clrText = m_clrTextCurrent = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrFaceCurrent = ::GetSysColor(COLOR_WINDOW);
    m_clrBackground = ::GetSysColor(COLOR_SCROLLBAR);
    m_brFace.DeleteObject();
    m_brFaceCurrent.DeleteObject();
    m_brFrame.DeleteObject();
    m_penShadow.DeleteObject();
    m_brFace.CreateSolidBrush(m_clrFace);
    m_brFaceCurrent.CreateSolidBrush(m_clrFaceCurrent);
    m_brFrame.CreateSolidBrush(RGB(0, 0, 0));
    m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
}

void CGXTabBeam::CreateFonts()
{
    DeleteFonts();
    m_pFontBold = new CFont;
    m_pFontNormal = new CFont;
    const int h = std::max(1, m_cyBeam - 2);
    m_pFontBold->CreateFont(h, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0x12, 0, FF_SWISS, "Arial");
    m_pFontNormal->CreateFont(h, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0x12, 0, FF_SWISS, "Arial");
}

void CGXTabBeam::DeleteFonts()
{
    delete m_pFontBold;
    delete m_pFontNormal;
    m_pFontBold = m_pFontNormal = nullptr;
}

CWnd* CGXTabBeam::NotifyWnd() { return m_pNotifyWnd != nullptr ? m_pNotifyWnd : GetParent(); }

int CGXTabBeam::ClientWidth() const
{
    if (m_hWnd == nullptr)
        return 0;
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    return rc.Width();
}

void CGXTabBeam::InvalidateTabs()
{
    if (m_hWnd == nullptr)
        return;
    CRect rc;
    GetClientRect(&rc);
    rc.left = GetTabsStart();
    InvalidateRect(&rc, FALSE);
}

// ---------------------------------------------------------------------------
// Geometry

int CGXTabBeam::GetTabX(int nTab)
{
    int x = GetTabsStart();
    for (int i = m_nFirstVisible; i < nTab && i < m_nTabs; ++i)
        x += GetTab(i).nWidth + m_nTabGap;
    for (int i = nTab; i < m_nFirstVisible && i >= 0; ++i)
        x -= GetTab(i).nWidth + m_nTabGap;
    return x;
}

void CGXTabBeam::GetTabPolygon(int nTab, POINT pts[4])
{
    const int x = GetTabX(nTab), w = GetTab(nTab).nWidth, g = m_nTabGap;
    const int h = NewLook() ? m_cyBeam - 1 : m_cyBeam;
    pts[0] = {x, 0};
    pts[1] = {x + w + 2 * g, 0};
    pts[2] = {x + w + g, h};
    pts[3] = {x + g, h};
}

int CGXTabBeam::HitTestTab(int x)
{
    if (x < GetTabsStart())
        return -1;
    int tx = GetTabsStart();
    for (int i = m_nFirstVisible; i < m_nTabs; ++i) {
        const int next = tx + GetTab(i).nWidth + m_nTabGap;
        // Neighbours share a slant; the part of it past the next tab's start is the next tab's,
        // and the last tab owns its whole right slant.
        if (x < next || (i == m_nTabs - 1 && x < next + m_nTabGap))
            return i;
        tx = next;
    }
    return -1;
}

int CGXTabBeam::GetLastVisibleTab()
{
    if (m_nTabs == 0)
        return -1;
    const int cx = ClientWidth();
    int last = m_nFirstVisible;
    int x = GetTabsStart();
    for (int i = m_nFirstVisible; i < m_nTabs; ++i) {
        if (x + GetTab(i).nWidth + 2 * m_nTabGap > cx)
            break;
        last = i;
        x += GetTab(i).nWidth + m_nTabGap;
    }
    return last;
}

int CGXTabBeam::GetMaxFirstVisible()
{
    const int avail = ClientWidth() - GetTabsStart();
    int used = m_nTabGap;
    int k = m_nTabs;
    while (k > 0 && used + GetTab(k - 1).nWidth + m_nTabGap <= avail) {
        used += GetTab(k - 1).nWidth + m_nTabGap;
        --k;
    }
    return std::min(k, std::max(0, m_nTabs - 1));
}

BOOL CGXTabBeam::TabsReachRightEdge()
{
    if (m_nTabs == 0)
        return FALSE;
    const int last = m_nTabs - 1;
    return GetTabX(last) + GetTab(last).nWidth + 2 * m_nTabGap > ClientWidth();
}

void CGXTabBeam::ScrollToTab(int nTab)
{
    if (nTab < 0 || nTab >= m_nTabs)
        return;
    const int old = m_nFirstVisible;
    if (nTab < m_nFirstVisible)
        m_nFirstVisible = nTab;
    else
        while (m_nFirstVisible < nTab && nTab > GetLastVisibleTab())
            ++m_nFirstVisible;
    if (old != m_nFirstVisible)
        InvalidateTabs();
}

// ---------------------------------------------------------------------------
// Buttons

CRect CGXTabBeam::ButtonRect(int nButton) const
{
    const int pos = m_nButtons == 2 ? nButton - 1 : nButton;
    return CRect(pos * m_cxButton, 0, (pos + 1) * m_cxButton, m_cyBeam);
}

int CGXTabBeam::ButtonAt(int x, int y) const
{
    if (!m_bShowButtons || m_cxButton <= 0 || x < 0 || y < 0 || y > m_cyBeam || x >= m_nButtons * m_cxButton)
        return -1;
    return x / m_cxButton + (m_nButtons == 2 ? 1 : 0);
}

int CGXTabBeam::HitTestButton(int x, int y, int nExpected)
{
    const int b = ButtonAt(x, y);
    if (b < 0 || (nExpected >= 0 && b != nExpected))
        return -1;
    if ((b == 0 || b == 1) && m_nFirstVisible == 0)
        return -1;
    if ((b == 2 || b == 3) && !TabsReachRightEdge())
        return -1;
    ScrollTabs(b);
    return b;
}

void CGXTabBeam::ScrollTabs(int nButton)
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(GXWM_EDITLABELCANCEL, 0, 0);
    const int maxFirst = GetMaxFirstVisible();
    int first = m_nFirstVisible;
    switch (nButton) {
    case 0: first = 0; break;
    case 1: first = std::max(0, first - 1); break;
    case 2: if (first < maxFirst) ++first; break;
    case 3: first = std::max(first, maxFirst); break;
    default: return;
    }
    if (first == m_nFirstVisible)
        return;
    m_nFirstVisible = first;
    InvalidateTabs();
}

void CGXTabBeam::DrawButton(CDC* pDC, int nButton, BOOL bPressed)
{
    GXDrawBeamButton(pDC, ButtonRect(nButton), nButton, bPressed);
}

void CGXTabBeam::DrawButtons(CDC* pDC)
{
    const int first = m_nButtons == 2 ? 1 : 0;
    for (int b = first; b < first + m_nButtons; ++b)
        DrawButton(pDC, b, m_bButtonDown && b == m_nPressedButton);
}

void CGXTabBeam::TrackButton(UINT nEndMessage)
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return;
    m_bTrackingButton = TRUE;
    // Each repeat waits for its delay: 200 ms first, then 20 ms less per repeat, down to 100 ms.
    GXBeamRepeat repeat(200, 20, 0, 20, 100);
    CPoint ptEnd;
    const BOOL bReleased = GXTrackHeldButton(
        hWnd, nEndMessage, repeat, m_ptPress,
        [&](CPoint pt) {
            if (HitTestButton(pt.x, pt.y, m_nPressedButton) >= 0)
                ::UpdateWindow(hWnd);
        },
        [&](CPoint pt) {
            const BOOL bDown = ButtonAt(pt.x, pt.y) == m_nPressedButton;
            if (bDown != m_bButtonDown) {
                m_bButtonDown = bDown;
                CClientDC dc(this);
                DrawButton(&dc, m_nPressedButton, bDown);
            }
        },
        &ptEnd);
    if (!::IsWindow(hWnd))
        return;
    m_nPressedButton = -1;
    if (bReleased)
        SendMessage(nEndMessage, 0, MAKELPARAM(ptEnd.x, ptEnd.y));
    m_bTrackingButton = FALSE;
    m_bButtonDown = FALSE;
    ::InvalidateRect(hWnd, CRect(0, 0, m_cxButtons, m_cyBeam + 1), FALSE);
}

BOOL GXTrackHeldButton(HWND hWnd, UINT nEndMessage, GXBeamRepeat& repeat, CPoint ptPress,
                       const std::function<void(CPoint)>& onRepeat, const std::function<void(CPoint)>& onMove,
                       CPoint* pptEnd)
{
    ::SetCapture(hWnd);
    repeat.Start(AfxGetTickCount());
    CPoint ptCursor = ptPress;
    BOOL bEnded = FALSE;
    for (;;) {
        if (!::IsWindow(hWnd) || ::GetCapture() != hWnd)
            break;
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const DWORD now = AfxGetTickCount();
            const DWORD wait = repeat.Remaining(now);
            if (wait > 0) {
                // Wait for the repeat or for the user, whichever comes first.
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
                continue;
            }
            repeat.Acted(now);
            onRepeat(ptCursor);
            continue;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        if (msg.hwnd == hWnd && msg.message == WM_MOUSEMOVE) {
            ptCursor = pt;
            onMove(pt);
            continue;
        }
        if (msg.hwnd == hWnd && msg.message == nEndMessage) {
            if (pptEnd != nullptr)
                *pptEnd = pt;
            bEnded = TRUE;
            break;
        }
        if (msg.message == WM_CANCELMODE)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::IsWindow(hWnd) && ::GetCapture() == hWnd)
        ::ReleaseCapture();
    return bEnded;
}

// ---------------------------------------------------------------------------
// Tabs

int CGXTabBeam::InsertTab(BOOL bBeforeCurrent, LPCSTR lpszLabel, CWnd* pView, LPARAM lUser1, int nWidth,
                          LPARAM lUser2)
{
    auto* pTab = new CGXTabInfo;
    pTab->sLabel = lpszLabel != nullptr ? lpszLabel : "";
    pTab->pExtra = pView;
    pTab->lUser1 = lUser1;
    pTab->lUser2 = lUser2;
    pTab->clrFace = m_clrFace;
    pTab->clrFaceCurrent = m_clrFaceCurrent;
    pTab->brFace.CreateSolidBrush(m_clrFace);
    pTab->brFaceCurrent.CreateSolidBrush(m_clrFaceCurrent);
    if (nWidth >= 0)
        pTab->nWidth = nWidth;
    int nIndex = m_nTabs;
    if (bBeforeCurrent && m_nCurrent >= 0) {
        nIndex = m_nCurrent;
        m_arrTabs.InsertAt(nIndex, pTab);
        ++m_nCurrent;   // the current tab moved one place on
    } else {
        m_arrTabs.Add(pTab);
    }
    m_nTabs = static_cast<int>(m_arrTabs.GetSize());
    if (nWidth < 0)
        CalcTabWidth(nIndex);
    if (m_nCurrent < 0) {
        m_nCurrent = m_nTabs - 1;
        ScrollToTab(m_nCurrent);
    }
    InvalidateTabs();
    return nIndex;
}

void CGXTabBeam::DeleteTab(int nTab)
{
    if (nTab < 0 || nTab >= m_nTabs)
        return;
    delete m_arrTabs.GetAt(nTab);
    m_arrTabs.RemoveAt(nTab);
    m_nTabs = static_cast<int>(m_arrTabs.GetSize());
    if (m_nTabs == 0) {
        m_nCurrent = -1;
        m_nFirstVisible = 0;
    } else if (nTab == m_nCurrent) {
        m_nCurrent = 0;
        m_nFirstVisible = 0;
    } else if (nTab < m_nCurrent) {
        --m_nCurrent;   // the same tab stays current
    }
    if (m_nFirstVisible >= m_nTabs)
        m_nFirstVisible = std::max(0, m_nTabs - 1);
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

void CGXTabBeam::CalcTabWidth(int nTab)
{
    if (nTab < 0 || nTab >= m_nTabs || m_hWnd == nullptr)
        return;
    // A beam made by a dialog template never ran Create: its fonts come now.
    if (m_pFontBold == nullptr)
        CreateFonts();
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(m_pFontBold);
    const CString& s = GetTab(nTab).sLabel;
    GetTab(nTab).nWidth = dc.GetTextExtent(s, s.GetLength()).cx + m_nTabGap;
    dc.SelectObject(pOld);
    InvalidateTabs();
}

int CGXTabBeam::FindTab(const CWnd* pView)
{
    for (int i = 0; i < m_nTabs; ++i)
        if (GetTab(i).pExtra == pView)
            return i;
    return -1;
}

// ---------------------------------------------------------------------------
// Painting

BEGIN_MESSAGE_MAP(CGXTabBeam, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

void CGXTabBeam::DrawTab(CDC* pDC, int nTab)
{
    CGXTabInfo& tab = GetTab(nTab);
    POINT pts[4];
    GetTabPolygon(nTab, pts);
    const BOOL bCurrent = nTab == m_nCurrent;
    CBrush* pFill;
    if (bCurrent || tab.bSel)
        pFill = (tab.nFlags & 2) ? &tab.brFaceCurrent : &m_brFaceCurrent;
    else
        pFill = (tab.nFlags & 1) ? &tab.brFace : &m_brFace;
    CRgn rgn;
    if (rgn.CreatePolygonRgn(pts, 4, ALTERNATE)) {
        pDC->FillRgn(&rgn, pFill);
        pDC->FrameRgn(&rgn, &m_brFrame, 1, 1);
    }
    if (bCurrent) {
        // The current tab joins the view above it.
        const COLORREF clr = (tab.nFlags & 2) ? tab.clrFaceCurrent : m_clrFaceCurrent;
        pDC->FillSolidRect(pts[0].x + 1, 0, pts[1].x - pts[0].x - 1, 1, clr);
    }
    CPen* pOldPen = pDC->SelectObject(&m_penShadow);
    pDC->MoveTo(pts[1].x - 1, pts[1].y + 1);
    pDC->LineTo(pts[2].x - 1, pts[2].y);
    pDC->SelectObject(pOldPen);

    CFont* pOldFont = pDC->SelectObject(bCurrent ? m_pFontBold : m_pFontNormal);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(bCurrent ? m_clrTextCurrent : m_clrText);
    CRect rcText(pts[3].x, 0, pts[2].x + m_nTabGap / 2, pts[2].y);
    pDC->DrawText(tab.sLabel, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SelectObject(pOldFont);
}

void CGXTabBeam::OnPaint()
{
    CPaintDC paint(this);
    if (m_pFontBold == nullptr)
        CreateFonts();
    CRect rcUpdate = paint.m_ps.rcPaint;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcUpdate.IsRectEmpty())
        rcUpdate = rcClient;
    CDC mem;
    CBitmap bmp;
    if (!mem.CreateCompatibleDC(&paint) ||
        !bmp.CreateCompatibleBitmap(&paint, rcUpdate.Width(), rcUpdate.Height()))
        return;
    CBitmap* pOldBmp = mem.SelectObject(&bmp);
    mem.SetWindowOrg(rcUpdate.left, rcUpdate.top);
    mem.SetBrushOrg((8 - rcUpdate.left % 8) % 8, (8 - rcUpdate.top % 8) % 8);

    const int start = GetTabsStart();
    // The update area's part below the buttons is background too.
    mem.FillSolidRect(&rcUpdate, m_clrBackground);
    if (m_bShowButtons && (rcUpdate.left < m_cxButtons || m_nRedrawX == -2))
        DrawButtons(&mem);
    if (m_bShowButtons && m_nRedrawX == -2)
        m_nRedrawX = -1;
    if (rcUpdate.right > start) {
        mem.FillSolidRect(start, 0, rcClient.right - start, 1, RGB(0, 0, 0));
        const int last = GetLastVisibleTab();
        // Partly shown tabs right of the last whole one are drawn as well, clipped.
        int lastDrawn = last;
        while (lastDrawn + 1 < m_nTabs && GetTabX(lastDrawn + 1) < rcClient.right)
            ++lastDrawn;
        for (int i = lastDrawn; i >= m_nFirstVisible && i >= 0; --i)
            if (i != m_nCurrent)
                DrawTab(&mem, i);
        if (m_nCurrent >= m_nFirstVisible && m_nCurrent <= lastDrawn)
            DrawTab(&mem, m_nCurrent);
    }
    mem.SetWindowOrg(0, 0);
    paint.BitBlt(rcUpdate.left, rcUpdate.top, rcUpdate.Width(), rcUpdate.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOldBmp);
}

BOOL CGXTabBeam::OnEraseBkgnd(CDC* pDC)
{
    if (m_nRedrawX >= 0 && pDC != nullptr) {
        CRect rc;
        GetClientRect(&rc);
        rc.left = std::max(0, m_nRedrawX - 1);
        rc.top = 1;
        pDC->FillSolidRect(&rc, m_clrBackground);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Mouse

void CGXTabBeam::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (ButtonAt(point.x, point.y) >= 0) {
        m_ptPress = point;
        const int b = HitTestButton(point.x, point.y, -1);
        if (b < 0)
            return;
        m_nPressedButton = b;
        m_bButtonDown = TRUE;
        {
            CClientDC dc(this);
            DrawButton(&dc, b, TRUE);
        }
        TrackButton(WM_LBUTTONUP);
        return;
    }
    const int nTab = HitTestTab(point.x);
    if (nTab < 0)
        return;
    if (nFlags & MK_SHIFT) {
        if (m_nCurrent >= 0) {
            const int lo = std::min(nTab, m_nCurrent), hi = std::max(nTab, m_nCurrent);
            for (int i = lo; i <= hi; ++i)
                GetTab(i).bSel = TRUE;
        }
    } else if (nFlags & MK_CONTROL) {
        GetTab(nTab).bSel = !GetTab(nTab).bSel;
    } else {
        SelectTabAt(point.x, point.y);
    }
    InvalidateTabs();
}

void CGXTabBeam::SelectTabAt(int x, int)
{
    const int nTab = HitTestTab(x);
    if (nTab < 0)
        return;
    CWnd* pNotify = NotifyWnd();
    if (pNotify != nullptr && pNotify->SendMessage(GXWM_TABCANSWITCH, static_cast<WPARAM>(nTab), 0) != 0)
        return;
    const int old = m_nCurrent;
    m_nCurrent = nTab;
    if (!GetTab(nTab).bSel)
        for (int i = 0; i < m_nTabs; ++i)
            GetTab(i).bSel = FALSE;
    ScrollToTab(nTab);
    if (old != m_nCurrent)
        InvalidateTabs();
    if (pNotify != nullptr && pNotify->GetSafeHwnd() != nullptr)
        pNotify->PostMessage(GXWM_TABCHOSEN, static_cast<WPARAM>(m_nCurrent), 0);
}

void CGXTabBeam::OnLButtonDblClk(UINT, CPoint point)
{
    if (point.x < GetTabsStart() || HitTestTab(point.x) < 0)
        return;
    CWnd* pNotify = NotifyWnd();
    if (pNotify != nullptr && pNotify->GetSafeHwnd() != nullptr)
        pNotify->PostMessage(GXWM_TABEDITLABEL, static_cast<WPARAM>(m_nCurrent), 0);
}

void CGXTabBeam::OnMouseMove(UINT, CPoint point)
{
    ::SetCursor(m_hCursor);
    if (m_bTrackingButton && m_nPressedButton >= 0) {
        const BOOL bDown = ButtonAt(point.x, point.y) == m_nPressedButton;
        if (bDown != m_bButtonDown) {
            m_bButtonDown = bDown;
            CClientDC dc(this);
            DrawButton(&dc, m_nPressedButton, bDown);
        }
    }
}

void CGXTabBeam::OnLButtonUp(UINT, CPoint)
{
    m_bTrackingButton = FALSE;
    m_bButtonDown = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CClientDC dc(this);
    DrawButtons(&dc);
}

BOOL CGXTabBeam::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hCursor);
    return TRUE;
}

void CGXTabBeam::OnSysColorChange()
{
    LoadColors();
    for (int i = 0; i < m_nTabs; ++i) {
        CGXTabInfo& tab = GetTab(i);
        if (!(tab.nFlags & 1)) {
            tab.clrFace = m_clrFace;
            tab.brFace.DeleteObject();
            tab.brFace.CreateSolidBrush(m_clrFace);
        }
        if (!(tab.nFlags & 2)) {
            tab.clrFaceCurrent = m_clrFaceCurrent;
            tab.brFaceCurrent.DeleteObject();
            tab.brFaceCurrent.CreateSolidBrush(m_clrFaceCurrent);
        }
    }
    Invalidate(FALSE);
}

void CGXTabBeam::OnSettingChange(UINT, LPCSTR)
{
    const int cy = ::GetSystemMetrics(SM_CYHSCROLL);
    if (cy == m_cyBeam)
        return;
    m_cyBeam = m_cxButton = cy;
    m_cxButtons = m_nButtons * cy;
    CreateFonts();
    for (int i = 0; i < m_nTabs; ++i)
        CalcTabWidth(i);
    Invalidate(FALSE);
}
