// The 2D tab window and its strip of slanted tabs.
#include "SECTabWnd.h"
#include "afxdc.h"
#include "afxseam.h"
#include <algorithm>

using std::max;
using std::min;

IMPLEMENT_DYNCREATE(SECTabControl, SECTabControlBase)
IMPLEMENT_DYNCREATE(SECTabWnd, SECTabWndBase)
IMPLEMENT_DYNCREATE(SEC2DTabWnd, SECTabWnd)

namespace {

const DWORD allButtons[4] = {SEC_TABBTN_FIRST, SEC_TABBTN_PREV, SEC_TABBTN_NEXT, SEC_TABBTN_LAST};

// The delays of a scroll button held down: the first repeat, then each one after it.
const DWORD nFirstRepeatMs = 300;
const DWORD nRepeatMs = 20;
const int nStepPixels = 10;

} // namespace

// ---- SECTabControl --------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECTabControl, SECTabControlBase)
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

SECTabControl::SECTabControl()
    : m_nScrollOffset(0), m_nTabHeight(0), m_clrText{0, 0, 0}, m_dwButtons(0), m_dwPressed(0), m_dwDisabled(0),
      m_nButtonWidth(0), m_nButtonHeight(0)
{
}

SECTabControl::~SECTabControl()
{
    DestroyGdiObjects();
}

void SECTabControl::DestroyGdiObjects()
{
    for (int i = 0; i < 3; i++) {
        m_fonts[i].DeleteObject();
        m_pens[i].DeleteObject();
        m_brushes[i].DeleteObject();
    }
    m_penShadow.DeleteObject();
}

void SECTabControl::Initialize(DWORD dwStyle)
{
    if (dwStyle & 0x1)
        m_dwButtons = SEC_TABBTN_PREV | SEC_TABBTN_NEXT;
    else if (dwStyle & 0x2)
        m_dwButtons = SEC_TABBTN_FIRST | SEC_TABBTN_PREV | SEC_TABBTN_NEXT | SEC_TABBTN_LAST;
    else
        m_dwButtons = 0;
    int h = ::GetSystemMetrics(SM_CYHSCROLL);
    m_nTabHeight = m_nButtonWidth = m_nButtonHeight = h + 1;
    DestroyGdiObjects();
    for (int i = 0; i < 3; i++) {
        m_fonts[i].CreateFont(h - 1, 0, 0, 0, i == 2 ? FW_BOLD : FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS,
                              "Arial Narrow");
        m_pens[i].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        m_clrText[i] = RGB(0, 0, 0);
    }
    CreateColorObjects();
    m_dwPressed = 0;
    m_dwDisabled = 0;
}

void SECTabControl::CreateColorObjects()
{
    const SECSysData& sys = SECGetSysData();
    for (CBrush& brush : m_brushes)
        brush.DeleteObject();
    m_penShadow.DeleteObject();
    m_brushes[0].CreateSolidBrush(sys.clrBtnFace);
    m_brushes[1].CreateSolidBrush(sys.clrWindow);
    m_brushes[2].CreateSolidBrush(sys.clrWindow);
    m_penShadow.CreatePen(PS_SOLID, 1, sys.clrBtnShadow);
}

int SECTabControl::GetTextWidth(int nTab)
{
    SECTab* pTab = GetTab(nTab);
    if (pTab == nullptr || m_hWnd == nullptr)
        return 0;
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_fonts[2]);
    CSize size = dc.GetTextExtent(pTab->m_csLabel);
    dc.SelectObject(pOld);
    return size.cx;
}

void SECTabControl::RecalcLayout()
{
    for (int i = 0; i < GetTabCount(); i++)
        GetTab(i)->m_nWidth = GetTextWidth(i) + 20;
}

int SECTabControl::ButtonsAreaWidth() const
{
    int n = 0;
    for (DWORD b : allButtons)
        n += (m_dwButtons & b) ? 1 : 0;
    return n * m_nButtonWidth;
}

void SECTabControl::GetTabsRect(CRect& rect) const
{
    GetClientRect(&rect);
    rect.left = ButtonsAreaWidth();
}

BOOL SECTabControl::GetButtonRect(DWORD dwButton, CRect& rect) const
{
    if ((m_dwButtons & dwButton) == 0)
        return FALSE;
    int x = 0;
    for (DWORD b : allButtons)
        if (b < dwButton && (m_dwButtons & b))
            x += m_nButtonWidth;
    rect.SetRect(x, 0, x + m_nButtonWidth, m_nButtonHeight);
    return TRUE;
}

DWORD SECTabControl::ButtonFromPoint(CPoint point) const
{
    for (DWORD b : allButtons) {
        CRect rect;
        if (GetButtonRect(b, rect) && rect.PtInRect(point))
            return b;
    }
    return 0;
}

int SECTabControl::TabLeft(int nTab) const
{
    int x = m_nScrollOffset + ButtonsAreaWidth();
    for (int i = 0; i < nTab && i < GetTabCount(); i++)
        x += GetTab(i)->m_nWidth - 5;
    return x;
}

void SECTabControl::GetTabPolygon(int nTab, POINT pts[4]) const
{
    CRect rect;
    GetTabsRect(rect);
    SECTab* pTab = GetTab(nTab);
    int x0 = TabLeft(nTab), w = pTab == nullptr ? 0 : pTab->m_nWidth;
    pts[0] = {x0, rect.top};
    pts[1] = {x0 + 6, rect.bottom};
    pts[2] = {x0 + w - 6, rect.bottom};
    pts[3] = {x0 + w, rect.top};
}

BOOL SECTabControl::CreateTabRgn(int nTab, CRgn& rgn) const
{
    if (!IsValidIndex(nTab))
        return FALSE;
    POINT pts[4];
    GetTabPolygon(nTab, pts);
    rgn.DeleteObject();
    return rgn.CreatePolygonRgn(pts, 4, ALTERNATE);
}

BOOL SECTabControl::HitTest(int nTab, CPoint point) const
{
    CRgn rgn;
    return CreateTabRgn(nTab, rgn) && rgn.PtInRegion(point);
}

int SECTabControl::TabFromPoint(CPoint point) const
{
    for (int i = 0; i < GetTabCount(); i++)
        if (HitTest(i, point))
            return i;
    return -1;
}

BOOL SECTabControl::InvalidateTab(int nTab)
{
    CRgn rgn;
    if (m_hWnd == nullptr || !CreateTabRgn(nTab, rgn))
        return FALSE;
    InvalidateRgn(&rgn, TRUE);
    return TRUE;
}

void SECTabControl::InvalidateButton(DWORD dwButton)
{
    CRect rect;
    if (m_hWnd != nullptr && GetButtonRect(dwButton, rect))
        InvalidateRect(&rect, TRUE);
}

void SECTabControl::UpdateScrollButtons()
{
    DWORD dwOld = m_dwDisabled;
    int nCount = GetTabCount();
    if (nCount == 0)
        m_dwDisabled = SEC_TABBTN_FIRST | SEC_TABBTN_PREV | SEC_TABBTN_NEXT | SEC_TABBTN_LAST;
    else {
        m_dwDisabled = 0;
        CRect rectClient;
        GetClientRect(&rectClient);
        int nLastRight = TabLeft(nCount - 1) + GetTab(nCount - 1)->m_nWidth;
        if (m_nScrollOffset >= 0) {
            m_nScrollOffset = 0;
            m_dwDisabled |= SEC_TABBTN_FIRST | SEC_TABBTN_PREV;
        }
        int nRoom = rectClient.right - nLastRight + m_nScrollOffset;
        if (m_nScrollOffset <= nRoom) {
            m_nScrollOffset = min(nRoom, 0);
            m_dwDisabled |= SEC_TABBTN_NEXT | SEC_TABBTN_LAST;
        }
        if (m_nScrollOffset < 0)
            m_dwDisabled &= ~(SEC_TABBTN_FIRST | SEC_TABBTN_PREV);
    }
    for (DWORD b : allButtons)
        if ((dwOld ^ m_dwDisabled) & b)
            InvalidateButton(b);
}

void SECTabControl::ScrollTabs(int nOldOffset)
{
    if (m_nScrollOffset == nOldOffset || m_hWnd == nullptr)
        return;
    CRect rect;
    GetTabsRect(rect);
    ScrollWindow(m_nScrollOffset - nOldOffset, 0, &rect, &rect);
    UpdateWindow();
}

BOOL SECTabControl::ScrollToTab(int nIndex)
{
    if (!IsValidIndex(nIndex) || m_hWnd == nullptr)
        return FALSE;
    CRect rectClient, rect;
    GetClientRect(&rectClient);
    if (rectClient.IsRectEmpty())
        return TRUE;
    GetTabsRect(rect);
    int nOld = m_nScrollOffset;
    int nWidth = GetTab(nIndex)->m_nWidth;
    int nMargin = nWidth + 20 < rect.Width() ? 20 : 0;
    int nRight = TabLeft(nIndex) + nWidth;
    if (nRight > rect.right)
        m_nScrollOffset += rect.right - nMargin - nRight;
    int nLeft = TabLeft(nIndex);
    if (nLeft < rect.left)
        m_nScrollOffset += nMargin - nLeft + rect.left;
    UpdateScrollButtons();
    ScrollTabs(nOld);
    return TRUE;
}

void SECTabControl::StepButton(DWORD dwButton)
{
    int nOld = m_nScrollOffset;
    int nCount = GetTabCount();
    switch (dwButton) {
    case SEC_TABBTN_FIRST:
        m_nScrollOffset = 0;
        break;
    case SEC_TABBTN_PREV:
        m_nScrollOffset += nStepPixels;
        break;
    case SEC_TABBTN_NEXT:
        m_nScrollOffset -= nStepPixels;
        break;
    case SEC_TABBTN_LAST:
        if (nCount > 0) {
            CRect rect;
            GetTabsRect(rect);
            m_nScrollOffset += rect.right - (TabLeft(nCount - 1) + GetTab(nCount - 1)->m_nWidth);
        }
        break;
    }
    UpdateScrollButtons();
    ScrollTabs(nOld);
}

void SECTabControl::TrackScrollButton(DWORD dwButton)
{
    if ((m_dwButtons & dwButton) == 0 || (m_dwDisabled & dwButton))
        return;
    m_dwPressed = dwButton;
    InvalidateButton(dwButton);
    StepButton(dwButton);
    SetCapture();
    BOOL bRepeats = dwButton == SEC_TABBTN_PREV || dwButton == SEC_TABBTN_NEXT;
    DWORD nNext = AfxGetTickCount() + nFirstRepeatMs;
    for (;;) {
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            if (msg.message == WM_LBUTTONUP)
                break;
            continue;
        }
        if (CWnd::GetCapture() != this || m_hWnd == nullptr)
            break;
        DWORD nNow = AfxGetTickCount();
        if (bRepeats && !(m_dwDisabled & dwButton) && (int)(nNow - nNext) >= 0) {
            StepButton(dwButton);
            nNext += nRepeatMs;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    if (m_hWnd != nullptr && CWnd::GetCapture() == this)
        ::ReleaseCapture();
    if (m_dwPressed != 0) {
        InvalidateButton(m_dwPressed);
        m_dwPressed = 0;
    }
}

void SECTabControl::DrawButton(CDC* pDC, DWORD dwButton)
{
    CRect rect;
    if (!GetButtonRect(dwButton, rect))
        return;
    const SECSysData& sys = SECGetSysData();
    BOOL bPressed = m_dwPressed == dwButton;
    pDC->FillSolidRect(&rect, sys.clrBtnFace);
    CRect r = rect;
    pDC->Draw3dRect(&r, RGB(0, 0, 0), RGB(0, 0, 0));
    r.DeflateRect(1, 1);
    if (bPressed)
        pDC->Draw3dRect(&r, sys.clrBtnShadow, sys.clrBtnFace);
    else {
        pDC->Draw3dRect(&r, sys.clrBtnHilite, sys.clrBtnShadow);
        r.DeflateRect(0, 0, 1, 1);
        pDC->Draw3dRect(&r, sys.clrBtnFace, sys.clrBtnShadow);
        r.InflateRect(0, 0, 1, 1);
    }
    r.DeflateRect(1, 1);
    if (bPressed)
        r.OffsetRect(1, 1);
    // The arrow: a triangle 0.3 of the inner width wide and 0.55 of its height high.
    int w = max(2, r.Width() * 3 / 10), h = max(3, r.Height() * 55 / 100) | 1;
    int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2;
    BOOL bLeft = dwButton == SEC_TABBTN_FIRST || dwButton == SEC_TABBTN_PREV;
    COLORREF clr = (m_dwDisabled & dwButton) ? sys.clrBtnShadow : RGB(0, 0, 0);
    POINT pts[3];
    int x0 = cx - w / 2, x1 = x0 + w;
    if (bLeft) {
        pts[0] = {x0, cy};
        pts[1] = {x1, cy - h / 2};
        pts[2] = {x1, cy + h / 2};
    }
    else {
        pts[0] = {x1, cy};
        pts[1] = {x0, cy - h / 2};
        pts[2] = {x0, cy + h / 2};
    }
    CBrush brush(clr);
    CPen pen(PS_SOLID, 1, clr);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Polygon(pts, 3);
    if (dwButton == SEC_TABBTN_FIRST)
        pDC->FillSolidRect(x0 - 2, cy - h / 2, 1, h, clr);
    else if (dwButton == SEC_TABBTN_LAST)
        pDC->FillSolidRect(x1 + 2, cy - h / 2, 1, h, clr);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void SECTabControl::DrawTab(CDC* pDC, int nTab, CRgn& rgn)
{
    SECTab* pTab = GetTab(nTab);
    if (pTab == nullptr)
        return;
    CRect rectTabs;
    GetTabsRect(rectTabs);
    int x0 = TabLeft(nTab), w = pTab->m_nWidth, top = rectTabs.top, bottom = rectTabs.bottom;
    POINT fill[4] = {{x0, top}, {x0 + 6, bottom}, {x0 + w - 7, bottom}, {x0 + w - 2, top}};
    CPen* pPen = pDC->GetCurrentPen();
    pDC->SelectStockObject(NULL_PEN);
    pDC->Polygon(fill, 4);
    pDC->SelectObject(pPen);

    CRect box;
    rgn.GetRgnBox(&box);
    int L = box.left, T = box.top, B = box.bottom;
    pDC->MoveTo(L, T);
    pDC->LineTo(L + 6, B - 1);
    pDC->SelectObject(&m_penShadow);
    pDC->LineTo(L + w - 8, B - 1);
    pDC->LineTo(L + w - 2, T);
    pDC->SelectObject(pPen);
    pDC->MoveTo(L + w - 7, B - 1);
    pDC->LineTo(L + w - 1, T);

    CSize size = pDC->GetTextExtent(pTab->m_csLabel);
    UINT nAlign = pDC->SetTextAlign(TA_BOTTOM);
    pDC->TextOut(L + 6 + (w - 12 - size.cx) / 2, (T + B - 1 + size.cy) / 2, pTab->m_csLabel);
    pDC->SetTextAlign(nAlign);
}

void SECTabControl::DrawPass(CDC* pDC, int nPass, const CRect& rectClip)
{
    pDC->SetTextColor(m_clrText[nPass]);
    pDC->SelectObject(&m_brushes[nPass]);
    pDC->SelectObject(&m_fonts[nPass]);
    pDC->SelectObject(&m_pens[nPass]);
    for (int i = 0; i < GetTabCount(); i++) {
        SECTab* pTab = GetTab(i);
        BOOL bActive = m_bActiveTab && i == m_nActiveTab;
        BOOL bDraw = nPass == 0 ? (!bActive && !pTab->m_bSelected)
                   : nPass == 1 ? (!bActive && pTab->m_bSelected)
                                : bActive;
        CRgn rgn;
        if (bDraw && CreateTabRgn(i, rgn) && rgn.RectInRegion(&rectClip))
            DrawTab(pDC, i, rgn);
    }
}

void SECTabControl::OnPaint()
{
    CPaintDC dc(this);
    CRect rectClip;
    dc.GetClipBox(&rectClip);
    for (DWORD b : allButtons) {
        CRect rect, rectAnd;
        if (GetButtonRect(b, rect) && rectAnd.IntersectRect(&rect, &rectClip))
            DrawButton(&dc, b);
    }
    CRect rectTabs;
    GetTabsRect(rectTabs);
    dc.IntersectClipRect(&rectTabs);
    dc.SetBkMode(TRANSPARENT);
    int nSaved = dc.SaveDC();
    DrawPass(&dc, 0, rectClip);
    DrawPass(&dc, 1, rectClip);
    DrawPass(&dc, 2, rectClip);
    // The top line, broken where the active tab joins the page above.
    if (!m_bActiveTab || !IsValidIndex(m_nActiveTab)) {
        dc.MoveTo(rectTabs.left, rectTabs.top);
        dc.LineTo(rectTabs.right, rectTabs.top);
    }
    else {
        int x0 = TabLeft(m_nActiveTab), w = GetTab(m_nActiveTab)->m_nWidth;
        if (x0 > rectTabs.left) {
            dc.MoveTo(rectTabs.left, rectTabs.top);
            dc.LineTo(x0, rectTabs.top);
        }
        dc.MoveTo(x0 + w - 1, rectTabs.top);
        dc.LineTo(rectTabs.right, rectTabs.top);
    }
    dc.RestoreDC(nSaved);
}

BOOL SECTabControl::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillRect(&rect, &m_brushes[0]);
    return TRUE;
}

void SECTabControl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    int nOld = m_nScrollOffset;
    UpdateScrollButtons();
    ScrollTabs(nOld);
}

void SECTabControl::OnDestroy()
{
    SECTabControlBase::OnDestroy();
}

void SECTabControl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (DWORD dwButton = ButtonFromPoint(point)) {
        TrackScrollButton(dwButton);
        return;
    }
    int nHit = TabFromPoint(point);
    if (nHit < 0) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    SECTab* pHit = GetTab(nHit);
    if (nFlags & MK_CONTROL) {
        pHit->m_bSelected = !pHit->m_bSelected;
        if (m_bActiveTab && m_nActiveTab == nHit)
            m_bActiveTab = FALSE;
        InvalidateTab(nHit);
    }
    else if (nFlags & MK_SHIFT) {
        // Without an active tab the range is the hit tab alone.
        int nFrom = m_bActiveTab ? min(m_nActiveTab, nHit) : nHit;
        int nTo = m_bActiveTab ? max(m_nActiveTab, nHit) : nHit;
        for (int i = 0; i < GetTabCount(); i++) {
            BOOL bSelect = i >= nFrom && i <= nTo;
            if (GetTab(i)->m_bSelected != bSelect) {
                GetTab(i)->m_bSelected = bSelect;
                InvalidateTab(i);
            }
        }
        ActivateTab(nHit);
    }
    else if (!(m_bActiveTab && m_nActiveTab == nHit)) {
        for (int i = 0; i < GetTabCount(); i++) {
            if (GetTab(i)->m_bSelected || i == nHit) {
                GetTab(i)->m_bSelected = FALSE;
                InvalidateTab(i);
            }
        }
        ActivateTab(nHit);
    }
}

void SECTabControl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_dwPressed != 0) {
        InvalidateButton(m_dwPressed);
        m_dwPressed = 0;
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void SECTabControl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (DWORD dwButton = ButtonFromPoint(point)) {
        TrackScrollButton(dwButton);
        return;
    }
    int nHit = TabFromPoint(point);
    CWnd::OnLButtonDblClk(nFlags, point);
    CWnd* pParent = GetParent();
    if (nHit >= 0 && pParent != nullptr)
        pParent->SendMessage(SEC_TCM_TABDBLCLK, (WPARAM)nHit, 0);
}

BOOL SECTabControl::SetFontObject(CFont* pFont, int which, BOOL bRedraw)
{
    if (pFont == nullptr || which < 0 || which > 2 || pFont->GetSafeHandle() == nullptr)
        return FALSE;
    LOGFONT lfNew, lfOld;
    if (pFont->GetLogFont(&lfNew) == 0)
        return FALSE;
    m_fonts[which].GetLogFont(&lfOld);
    m_fonts[which].DeleteObject();
    if (!m_fonts[which].CreateFontIndirect(&lfNew)) {
        m_fonts[which].CreateFontIndirect(&lfOld);
        return FALSE;
    }
    if (which == 2)
        RecalcLayout();
    if (bRedraw) {
        if (which == 2) {
            if (m_bActiveTab)
                InvalidateTab(m_nActiveTab);
        }
        else
            InvalidateFrom(0);
    }
    return TRUE;
}

// ---- SECTabWnd ------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECTabWnd, SECTabWndBase)
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_MESSAGE(SEC_TCM_TABSEL, OnTabSelect)
END_MESSAGE_MAP()

SECTabWnd::SECTabWnd()
    : m_nTabWidth(0), m_nStripHeight(::GetSystemMetrics(SM_CYHSCROLL)), m_cxVScroll(::GetSystemMetrics(SM_CXVSCROLL)),
      m_cyHScroll(::GetSystemMetrics(SM_CYHSCROLL)), m_nSizerWidth(5), m_nDragOffset(0), m_bDragging(FALSE),
      m_bOverSizer(FALSE), m_bFirstSize(TRUE), m_hcurSize(nullptr), m_hcurArrow(nullptr), m_dwButtonStyle(0),
      m_pScrollWnd(nullptr)
{
}

SECTabWnd::~SECTabWnd()
{
    FreeStates();
}

void SECTabWnd::FreeStates()
{
    for (SCROLLINFO* p : m_hStates)
        delete p;
    for (SCROLLINFO* p : m_vStates)
        delete p;
    m_hStates.clear();
    m_vStates.clear();
    m_scrollStyles.clear();
}

BOOL SECTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwButtonStyle = (dwStyle & 0x2) ? 2 : (dwStyle & 0x1) ? 1 : 0;
    m_hcurSize = SECGetSysData().SplitCursor(TRUE);
    m_hcurArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    if (!SECTabWndBase::Create(pParentWnd, dwStyle & ~0x3u, nID))
        return FALSE;
    if (!CreateScrollBar(SBS_HORZ, SEC_IDW_TABHSCROLL) || !CreateScrollBar(SBS_VERT, SEC_IDW_TABVSCROLL))
        return FALSE;
    m_wndHScroll.SubclassWindow(::GetDlgItem(m_hWnd, SEC_IDW_TABHSCROLL));
    m_wndVScroll.SubclassWindow(::GetDlgItem(m_hWnd, SEC_IDW_TABVSCROLL));
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_nStripHeight = m_cyHScroll;
    return TRUE;
}

BOOL SECTabWnd::CreateTabControl(DWORD, UINT nID)
{
    SECTabControl* pCtrl = new SECTabControl;
    if (!pCtrl->Create(m_dwButtonStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID)) {
        delete pCtrl;
        return FALSE;
    }
    m_pTabCtrl = pCtrl;
    return TRUE;
}

CWnd* SECTabWnd::InsertTabView(CRuntimeClass* pViewClass, int nIndex, LPCSTR lpszLabel, CCreateContext* pContext,
                               UINT nID)
{
    return SECTabWndBase::InsertTabView(pViewClass, nIndex, lpszLabel, pContext, nID);
}

SECTab* SECTabWnd::InsertTab(CWnd* pWnd, int nIndex, LPCSTR lpszLabel)
{
    if (m_pTabCtrl == nullptr)
        return nullptr;
    nIndex = max(0, min(nIndex, GetTabCount()));
    m_scrollStyles.insert(m_scrollStyles.begin() + nIndex, 0);
    m_hStates.insert(m_hStates.begin() + nIndex, new SCROLLINFO{});
    m_vStates.insert(m_vStates.begin() + nIndex, new SCROLLINFO{});
    return SECTabWndBase::InsertTab(pWnd, nIndex, lpszLabel);
}

void SECTabWnd::OnTabInserted(int nIndex, DWORD dwScrollStyle)
{
    if (nIndex < 0)
        return;
    if (nIndex >= (int)m_scrollStyles.size()) {
        m_scrollStyles.push_back(dwScrollStyle);
        m_hStates.push_back(new SCROLLINFO{});
        m_vStates.push_back(new SCROLLINFO{});
    }
    else
        m_scrollStyles[nIndex] = dwScrollStyle;
}

BOOL SECTabWnd::RemoveTab(int nIndex)
{
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->IsValidIndex(nIndex))
        return FALSE;
    if (ClientOf(nIndex) == m_pScrollWnd)
        m_pScrollWnd = nullptr;
    if (nIndex < (int)m_scrollStyles.size()) {
        delete m_hStates[nIndex];
        delete m_vStates[nIndex];
        m_hStates.erase(m_hStates.begin() + nIndex);
        m_vStates.erase(m_vStates.begin() + nIndex);
        m_scrollStyles.erase(m_scrollStyles.begin() + nIndex);
    }
    return SECTabWndBase::RemoveTab(nIndex);
}

BOOL SECTabWnd::ActivateTab(int nIndex)
{
    return SECTabWndBase::ActivateTab(nIndex);
}

BOOL SECTabWnd::ActivateTabWnd(CWnd* pWnd)
{
    return SECTabWndBase::ActivateTabWnd(pWnd);
}

DWORD SECTabWnd::ScrollStyleOf(const CWnd* pWnd) const
{
    int nIndex;
    if (pWnd == nullptr || m_pTabCtrl == nullptr || !m_pTabCtrl->FindTab(pWnd, nIndex) ||
        nIndex >= (int)m_scrollStyles.size())
        return 0;
    return m_scrollStyles[nIndex];
}

void SECTabWnd::ActivateTabImpl(CWnd* pWnd, int nIndex)
{
    // The activation re-enters here through the strip's message: the bars change hands once.
    if (pWnd != m_pActiveWnd && pWnd != m_pScrollWnd && m_hWnd != nullptr && m_pTabCtrl != nullptr) {
        int nOld;
        if (m_pScrollWnd != nullptr && m_pTabCtrl->FindTab(m_pScrollWnd, nOld) &&
            nOld < (int)m_scrollStyles.size()) {
            DWORD dwStyle = m_scrollStyles[nOld];
            if (dwStyle & WS_HSCROLL) {
                m_hStates[nOld]->cbSize = sizeof(SCROLLINFO);
                ::GetScrollInfo(m_wndHScroll.m_hWnd, SB_CTL, (m_hStates[nOld]->fMask = SIF_ALL, m_hStates[nOld]));
            }
            if (dwStyle & WS_VSCROLL) {
                m_vStates[nOld]->cbSize = sizeof(SCROLLINFO);
                ::GetScrollInfo(m_wndVScroll.m_hWnd, SB_CTL, (m_vStates[nOld]->fMask = SIF_ALL, m_vStates[nOld]));
            }
        }
        DWORD dwNew = nIndex >= 0 && nIndex < (int)m_scrollStyles.size() ? m_scrollStyles[nIndex] : 0;
        struct
        {
            CScrollBar* pBar;
            DWORD dwStyle;
            std::vector<SCROLLINFO*>* pStates;
        } bars[2] = {{&m_wndHScroll, WS_HSCROLL, &m_hStates}, {&m_wndVScroll, WS_VSCROLL, &m_vStates}};
        for (auto& bar : bars) {
            if (bar.pBar->m_hWnd == nullptr)
                continue;
            if (dwNew & bar.dwStyle) {
                // A record never filled is an empty range at 0.
                SCROLLINFO si = *(*bar.pStates)[nIndex];
                si.cbSize = sizeof si;
                si.fMask = SIF_ALL;
                ::SetScrollInfo(bar.pBar->m_hWnd, SB_CTL, &si, TRUE);
                bar.pBar->ShowWindow(SW_SHOW);
            }
            else
                bar.pBar->ShowWindow(SW_HIDE);
        }
        m_pScrollWnd = pWnd;
    }
    SECTabWndBase::ActivateTabImpl(pWnd, nIndex);
}

LRESULT SECTabWnd::OnTabSelect(WPARAM wParam, LPARAM)
{
    ForwardTabSelect((int)wParam, FALSE);
    return 0;
}

CScrollBar* SECTabWnd::GetTabScrollBar(int nBar, CWnd* pWnd)
{
    if (pWnd == nullptr)
        pWnd = m_pActiveWnd;
    DWORD dwStyle = ScrollStyleOf(pWnd);
    if (nBar == 0 && (dwStyle & WS_HSCROLL) && m_wndHScroll.m_hWnd != nullptr)
        return &m_wndHScroll;
    if (nBar == 1 && (dwStyle & WS_VSCROLL) && m_wndVScroll.m_hWnd != nullptr)
        return &m_wndVScroll;
    return nullptr;
}

void SECTabWnd::GetInsideRect(CRect& rect) const
{
    GetClientRect(&rect);
    rect.bottom -= m_nStripHeight;
    if (ActiveUses(WS_VSCROLL))
        rect.right -= m_cxVScroll;
}

void SECTabWnd::GetSizerRect(CRect& rect) const
{
    CRect inside;
    GetInsideRect(inside);
    rect.left = inside.left + m_nTabWidth;
    rect.top = inside.bottom;
    rect.right = rect.left + m_nSizerWidth;
    rect.bottom = rect.top + m_nStripHeight;
}

namespace {

// Adds a move to the batch unless the window is already there.
HDWP DeferMove(HDWP hdwp, CWnd* pWnd, CWnd* pParent, const CRect& rect, UINT nExtra)
{
    if (hdwp == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return hdwp;
    CRect rectNow;
    pWnd->GetWindowRect(&rectNow);
    pParent->ScreenToClient(&rectNow);
    if (rectNow == rect)
        return hdwp;
    return ::DeferWindowPos(hdwp, pWnd->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | nExtra);
}

// A bar thinner than 2 pixels either way keeps a border so that it still shows.
void FitBorder(CWnd* pBar, const CRect& rect)
{
    if (rect.Width() >= 2 && rect.Height() >= 2)
        pBar->ModifyStyle(WS_BORDER, 0);
    else
        pBar->ModifyStyle(0, WS_BORDER);
}

} // namespace

void SECTabWnd::RecalcLayout()
{
    if (m_hWnd == nullptr || m_pTabCtrl == nullptr)
        return;
    CRect inside;
    GetInsideRect(inside);
    HDWP hdwp = ::BeginDeferWindowPos(m_bDragging ? 2 : 4);
    int nStripWidth = inside.Width();
    if (ActiveUses(WS_HSCROLL)) {
        m_nTabWidth = max(0, min(m_nTabWidth, (int)inside.right - 60));
        CRect sizer;
        GetSizerRect(sizer);
        CRect rectBar(sizer.right, inside.bottom, inside.right + 1, inside.bottom + m_cyHScroll);
        FitBorder(&m_wndHScroll, rectBar);
        hdwp = DeferMove(hdwp, &m_wndHScroll, this, rectBar, 0);
        nStripWidth = m_nTabWidth;
    }
    CRect rectStrip(inside.left, inside.bottom, inside.left + nStripWidth, inside.bottom + m_nStripHeight);
    hdwp = DeferMove(hdwp, m_pTabCtrl, this, rectStrip, SWP_NOREDRAW);
    if (!m_bDragging) {
        if (ActiveUses(WS_VSCROLL)) {
            CRect rectBar(inside.right, inside.top, inside.right + m_cxVScroll, inside.bottom);
            FitBorder(&m_wndVScroll, rectBar);
            hdwp = DeferMove(hdwp, &m_wndVScroll, this, rectBar, 0);
        }
        hdwp = DeferMove(hdwp, m_pActiveWnd, this, inside, 0);
    }
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
}

BOOL SECTabWnd::OnNcCreate(LPCREATESTRUCT lpcs)
{
    if (!CWnd::OnNcCreate(lpcs))
        return FALSE;
    TakeParentClientEdge();
    ModifyStyleEx(0, WS_EX_CLIENTEDGE, 0);
    return TRUE;
}

void SECTabWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType == SIZE_MINIMIZED || cx == 0 || cy == 0)
        return;
    if (ActiveUses(WS_HSCROLL)) {
        int nLimit = cx - 60;
        if (m_bFirstSize || m_nTabWidth > nLimit)
            m_nTabWidth = max(nLimit, 0);
    }
    else if (m_bFirstSize) {
        CRect inside;
        GetInsideRect(inside);
        m_nTabWidth = inside.Width();
    }
    m_bFirstSize = FALSE;
    RecalcLayout();
    if (m_pTabCtrl != nullptr)
        m_pTabCtrl->Invalidate();
    if (IsSizerShown()) {
        CRect sizer;
        GetSizerRect(sizer);
        InvalidateRect(&sizer);
    }
}

void SECTabWnd::OnPaint()
{
    CPaintDC dc(this);
    InvalidateStripPart(dc.m_ps.rcPaint);
    if (IsSizerShown()) {
        const SECSysData& sys = SECGetSysData();
        CRect sizer;
        GetSizerRect(sizer);
        COLORREF cols[5] = {RGB(0, 0, 0), sys.clrBtnHilite, sys.clrBtnFace, sys.clrBtnShadow, RGB(0, 0, 0)};
        for (int i = 0; i < 5; i++)
            dc.FillSolidRect(sizer.left + i, sizer.top, 1, sizer.Height(), cols[i]);
    }
}

BOOL SECTabWnd::OnEraseBkgnd(CDC* pDC)
{
    int nActive;
    if (m_pTabCtrl == nullptr || !m_pTabCtrl->GetActiveTab(nActive))
        return FALSE;
    if (!ActiveUses(WS_HSCROLL | WS_VSCROLL))
        return TRUE;
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(rect.right - m_cxVScroll, rect.top, m_cxVScroll, rect.Height(), SECGetSysData().clrBtnFace);
    return TRUE;
}

BOOL SECTabWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (pWnd == this && nHitTest == HTCLIENT && m_bOverSizer && IsSizerShown()) {
        ::SetCursor(m_hcurSize);
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void SECTabWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    OnMouseMove(nFlags, point);
    CRect sizer;
    GetSizerRect(sizer);
    if (IsSizerShown() && sizer.PtInRect(point)) {
        SetCapture();
        m_bDragging = TRUE;
        m_nDragOffset = point.x - sizer.left;
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void SECTabWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bDragging) {
        m_bDragging = FALSE;
        ::ReleaseCapture();
        RecalcLayout();
        return;
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void SECTabWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect sizer;
    GetSizerRect(sizer);
    if (!m_bDragging) {
        m_bOverSizer = IsSizerShown() && sizer.PtInRect(point);
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    int nWidth = point.x - m_nDragOffset - 1;
    if (nWidth == m_nTabWidth)
        return;
    int nOld = m_nTabWidth;
    m_nTabWidth = nWidth;
    RecalcLayout();
    GetSizerRect(sizer);
    if (m_pTabCtrl != nullptr) {
        CRect band(min(nOld, m_nTabWidth), 0, max(nOld, (int)sizer.right), m_nStripHeight);
        m_pTabCtrl->InvalidateRect(&band);
    }
    InvalidateRect(&sizer);
    UpdateWindow();
}

void SECTabWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr) {
        const MSG* pMsg = GetCurrentMessage();
        m_pActiveWnd->SendMessage(WM_HSCROLL, pMsg->wParam, pMsg->lParam);
    }
    (void)nSBCode, (void)nPos, (void)pScrollBar;
}

void SECTabWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (m_pActiveWnd != nullptr && m_pActiveWnd->m_hWnd != nullptr) {
        const MSG* pMsg = GetCurrentMessage();
        m_pActiveWnd->SendMessage(WM_VSCROLL, pMsg->wParam, pMsg->lParam);
    }
    (void)nSBCode, (void)nPos, (void)pScrollBar;
}
