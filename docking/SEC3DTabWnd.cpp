// The 3D tab window and its strip of raised tabs.
#include "SEC3DTabWnd.h"
#include "SECDraw.h"
#include "afxdc.h"
#include <algorithm>
#include <cstddef>
#include <cstring>

using std::max;
using std::min;

IMPLEMENT_DYNCREATE(SEC3DTab, SECTab)
IMPLEMENT_DYNCREATE(SEC3DTabControl, SECTabControlBase)
IMPLEMENT_DYNCREATE(SEC3DTabWnd, SECTabWndBase)

namespace {

const int nTabThickness = 22;   // a tab across the strip
const int nEnlarge = 3;         // the active tab grows by this much
const int nStripSize = 30;

int TabExtra(const SEC3DTab* pTab)
{
    return pTab->m_hIcon != nullptr ? 25 : 6;
}

} // namespace

// ---- SEC3DTabControl ------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SEC3DTabControl, SECTabControlBase)
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

SEC3DTabControl::SEC3DTabControl() : m_clrText{0, 0}, m_bLabelsShown(TRUE) {}

SEC3DTabControl::~SEC3DTabControl()
{
    DestroyGdiObjects();
}

void SEC3DTabControl::DestroyGdiObjects()
{
    for (int i = 0; i < 2; i++) {
        m_fonts[i].DeleteObject();
        m_pens[i].DeleteObject();
        m_brushes[i].DeleteObject();
    }
    m_penShadow.DeleteObject();
    m_penHilite.DeleteObject();
}

SECTab* SEC3DTabControl::CreateNewTab() const
{
    return new SEC3DTab;
}

int SEC3DTabControl::Escapement(DWORD dwStyle) const
{
    return (dwStyle & SEC_TABS_LEFT) ? 900 : (dwStyle & SEC_TABS_RIGHT) ? -900 : 0;
}

void SEC3DTabControl::CreateFonts(DWORD dwStyle)
{
    for (int i = 0; i < 2; i++) {
        m_fonts[i].DeleteObject();
        int nEsc = Escapement(dwStyle);
        m_fonts[i].CreateFont(15, 0, nEsc, nEsc, i == 0 ? FW_NORMAL : FW_SEMIBOLD, 0, 0, 0, 0, 0, 0, 0, FF_SWISS,
                              "Arial Narrow");
    }
}

void SEC3DTabControl::Initialize(DWORD dwStyle)
{
    DestroyGdiObjects();
    CreateFonts(dwStyle);
    CreateColorObjects();
    m_pens[0].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_pens[1].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_penHilite.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    m_clrText[0] = m_clrText[1] = 0;
    // The labels' tips come through the framework's tool-tip path (OnToolHitTest).
    EnableToolTips(TRUE);
}

void SEC3DTabControl::CreateColorObjects()
{
    const SECSysData& sys = SECGetSysData();
    for (CBrush& brush : m_brushes)
        brush.DeleteObject();
    m_penShadow.DeleteObject();
    m_brushes[1].CreateSolidBrush(sys.clrWindow);
    m_brushes[0].CreateSolidBrush(sys.clrBtnFace);
    m_penShadow.CreatePen(PS_SOLID, 1, sys.clrBtnShadow);
}

int SEC3DTabControl::LabelWidth(int nIndex) const
{
    SECTab* pTab = GetTab(nIndex);
    if (pTab == nullptr || m_hWnd == nullptr || pTab->m_csLabel.IsEmpty())
        return 0;
    CClientDC dc(const_cast<SEC3DTabControl*>(this));
    CFont* pOld = dc.SelectObject(const_cast<CFont*>(&m_fonts[1]));
    CSize size = dc.GetTextExtent(pTab->m_csLabel);
    dc.SelectObject(pOld);
    return size.cx;
}

void SEC3DTabControl::SetTabSize(int nIndex, int x, int y, DWORD dwStyle)
{
    SEC3DTab* pTab = Get3DTab(nIndex);
    int nLength = TabExtra(pTab);
    if (m_bLabelsShown)
        nLength += LabelWidth(nIndex) + 6;
    if (dwStyle & (SEC_TABS_BOTTOM | SEC_TABS_TOP)) {
        pTab->m_nWidth = nLength;
        pTab->m_nHeight = nTabThickness;
    }
    else {
        pTab->m_nWidth = nTabThickness;
        pTab->m_nHeight = nLength;
    }
    pTab->m_rect.SetRect(x, y, x + pTab->m_nWidth, y + pTab->m_nHeight);
}

void SEC3DTabControl::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    DWORD dwStyle = GetStyle();
    CRect rectClient;
    GetClientRect(&rectClient);
    int nTotal = 0;
    for (int i = 0; i < GetTabCount(); i++)
        nTotal += TabExtra(Get3DTab(i)) + LabelWidth(i) + 6;
    if (dwStyle & (SEC_TABS_BOTTOM | SEC_TABS_TOP)) {
        m_bLabelsShown = rectClient.Width() > nTotal;
        int x = rectClient.left + 7;
        int y = (dwStyle & SEC_TABS_BOTTOM) ? rectClient.top + 2 : rectClient.bottom - 25;
        for (int i = 0; i < GetTabCount(); i++) {
            SetTabSize(i, x, y, dwStyle);
            x += Get3DTab(i)->m_nWidth;
        }
    }
    else {
        m_bLabelsShown = rectClient.Height() > nTotal;
        int x = (dwStyle & SEC_TABS_LEFT) ? rectClient.right - 25 : rectClient.left + 2;
        int y = rectClient.top + 7;
        for (int i = 0; i < GetTabCount(); i++) {
            SetTabSize(i, x, y, dwStyle);
            y += Get3DTab(i)->m_nHeight;
        }
    }
    if (!(dwStyle & SEC_TABS_NOENLARGE) && m_bActiveTab && IsValidIndex(m_nActiveTab)) {
        CRect& r = Get3DTab(m_nActiveTab)->m_rect;
        if (dwStyle & (SEC_TABS_BOTTOM | SEC_TABS_TOP)) {
            r.left -= nEnlarge;
            r.right += nEnlarge;
        }
        else {
            r.top -= nEnlarge;
            r.bottom += nEnlarge;
        }
        if (dwStyle & SEC_TABS_BOTTOM)
            r.bottom += nEnlarge;
        else if (dwStyle & SEC_TABS_TOP)
            r.top -= nEnlarge;
        else if (dwStyle & SEC_TABS_LEFT)
            r.left -= nEnlarge;
        else
            r.right += nEnlarge;
    }
}

void SEC3DTabControl::OnActivateTab(int)
{
    // The active tab's size changes (and the previous one shrinks back).
    RecalcLayout();
    Invalidate(TRUE);
}

BOOL SEC3DTabControl::SetTabIconName(int nIndex, LPCSTR lpszResourceName)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), lpszResourceName, IMAGE_ICON, 16, 16, 0);
    return hIcon != nullptr && SetTabIcon(nIndex, hIcon);
}

BOOL SEC3DTabControl::SetTabIconId(int nIndex, UINT nIDResource)
{
    return SetTabIconName(nIndex, MAKEINTRESOURCEA(nIDResource));
}

BOOL SEC3DTabControl::SetTabIcon(int nIndex, HICON hIcon)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    Get3DTab(nIndex)->m_hIcon = hIcon;
    RecalcLayout();
    InvalidateFrom(nIndex);
    return TRUE;
}

BOOL SEC3DTabControl::InvalidateTab(int nIndex)
{
    if (!IsValidIndex(nIndex) || m_hWnd == nullptr)
        return FALSE;
    CRect rect = Get3DTab(nIndex)->m_rect;
    rect.right++;
    rect.bottom++;
    InvalidateRect(&rect, TRUE);
    return TRUE;
}

BOOL SEC3DTabControl::EnableTab(int nIndex, BOOL bEnable)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    SEC3DTab* pTab = Get3DTab(nIndex);
    if (pTab->m_bEnabled != (bEnable != FALSE)) {
        pTab->m_bEnabled = bEnable != FALSE;
        InvalidateTab(nIndex);
    }
    return TRUE;
}

BOOL SEC3DTabControl::IsTabEnabled(int nIndex) const
{
    return IsValidIndex(nIndex) && Get3DTab(nIndex)->m_bEnabled;
}

BOOL SEC3DTabControl::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    BOOL bChanged = CWnd::ModifyStyle(dwRemove, dwAdd, nFlags);
    if (dwAdd & 0xF0) {
        int nEsc = Escapement(dwAdd);
        for (int i = 0; i < 2; i++) {
            LOGFONT lf;
            if (m_fonts[i].GetLogFont(&lf) == 0)
                continue;
            lf.lfEscapement = lf.lfOrientation = nEsc;
            m_fonts[i].DeleteObject();
            m_fonts[i].CreateFontIndirect(&lf);
        }
        RecalcLayout();
    }
    return bChanged;
}

BOOL SEC3DTabControl::SetFontObject(CFont* pFont, int which, BOOL bRedraw)
{
    if (pFont == nullptr || which < 0 || which > 1 || pFont->GetSafeHandle() == nullptr)
        return FALSE;
    LOGFONT lfNew, lfOld;
    if (pFont->GetLogFont(&lfNew) == 0)
        return FALSE;
    lfNew.lfEscapement = lfNew.lfOrientation = Escapement(GetStyle());
    m_fonts[which].GetLogFont(&lfOld);
    m_fonts[which].DeleteObject();
    if (!m_fonts[which].CreateFontIndirect(&lfNew)) {
        m_fonts[which].CreateFontIndirect(&lfOld);
        return FALSE;
    }
    RecalcLayout();
    if (bRedraw) {
        if (which == 1) {
            if (m_bActiveTab)
                InvalidateTab(m_nActiveTab);
        }
        else
            InvalidateFrom(0);
    }
    return TRUE;
}

BOOL SEC3DTabControl::GetTabRect(int nIndex, CRect& rect) const
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    rect = Get3DTab(nIndex)->m_rect;
    return TRUE;
}

void SEC3DTabControl::FillSolidRect(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr)
{
    COLORREF clrOld = pDC->GetBkColor();
    pDC->FillSolidRect(x, y, cx, cy, clr);
    pDC->SetBkColor(clrOld);
}

void SEC3DTabControl::DrawTab(CDC* pDC, int nIndex)
{
    SEC3DTab* pTab = Get3DTab(nIndex);
    if (pTab == nullptr)
        return;
    const CRect& r = pTab->m_rect;
    FillSolidRect(pDC, r.left, r.top, r.Width(), r.Height(), SECGetSysData().clrBtnFace);
    DWORD dwStyle = GetStyle();
    if (dwStyle & SEC_TABS_TOP)
        DrawTabTop(pDC, pTab, dwStyle);
    else if (dwStyle & SEC_TABS_RIGHT)
        DrawTabRight(pDC, pTab, dwStyle);
    else if (dwStyle & SEC_TABS_LEFT)
        DrawTabLeft(pDC, pTab, dwStyle);
    else
        DrawTabBottom(pDC, pTab, dwStyle);
}

// The outlines leave the side facing the page open; edges facing left or up are white, those
// facing right or down are shadow inside black; the two corners away from the page are cut.
void SEC3DTabControl::DrawTabBottom(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle)
{
    const CRect& r = pTab->m_rect;
    const SECSysData& sys = SECGetSysData();
    int L = r.left, T = r.top, R = r.right, B = r.bottom;
    FillSolidRect(pDC, L, T, 1, B - T - 2, RGB(255, 255, 255));
    FillSolidRect(pDC, L + 1, B - 2, 1, 1, RGB(255, 255, 255));
    FillSolidRect(pDC, L + 2, B - 1, R - L - 4, 1, RGB(0, 0, 0));
    FillSolidRect(pDC, L + 2, B - 2, R - L - 4, 1, sys.clrBtnShadow);
    FillSolidRect(pDC, R - 1, T, 1, B - T - 2, RGB(0, 0, 0));
    FillSolidRect(pDC, R - 2, T, 1, B - T - 2, sys.clrBtnShadow);
    FillSolidRect(pDC, R - 2, B - 2, 1, 1, RGB(0, 0, 0));
    DrawTabContent(pDC, pTab, dwStyle);
}

void SEC3DTabControl::DrawTabTop(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle)
{
    const CRect& r = pTab->m_rect;
    const SECSysData& sys = SECGetSysData();
    int L = r.left, T = r.top, R = r.right, B = r.bottom;
    FillSolidRect(pDC, L, T + 2, 1, B - T - 2, RGB(255, 255, 255));
    FillSolidRect(pDC, L + 1, T + 1, 1, 1, RGB(255, 255, 255));
    FillSolidRect(pDC, L + 2, T, R - L - 4, 1, RGB(255, 255, 255));
    FillSolidRect(pDC, R - 1, T + 2, 1, B - T - 2, RGB(0, 0, 0));
    FillSolidRect(pDC, R - 2, T + 2, 1, B - T - 2, sys.clrBtnShadow);
    FillSolidRect(pDC, R - 2, T + 1, 1, 1, RGB(0, 0, 0));
    DrawTabContent(pDC, pTab, dwStyle);
}

void SEC3DTabControl::DrawTabLeft(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle)
{
    const CRect& r = pTab->m_rect;
    const SECSysData& sys = SECGetSysData();
    int L = r.left, T = r.top, R = r.right, B = r.bottom;
    FillSolidRect(pDC, L + 2, T, R - L - 2, 1, RGB(255, 255, 255));
    FillSolidRect(pDC, L + 1, T + 1, 1, 1, RGB(255, 255, 255));
    FillSolidRect(pDC, L, T + 2, 1, B - T - 4, RGB(255, 255, 255));
    FillSolidRect(pDC, L + 2, B - 1, R - L - 2, 1, RGB(0, 0, 0));
    FillSolidRect(pDC, L + 2, B - 2, R - L - 2, 1, sys.clrBtnShadow);
    FillSolidRect(pDC, L + 1, B - 2, 1, 1, RGB(0, 0, 0));
    DrawTabContent(pDC, pTab, dwStyle);
}

void SEC3DTabControl::DrawTabRight(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle)
{
    const CRect& r = pTab->m_rect;
    const SECSysData& sys = SECGetSysData();
    int L = r.left, T = r.top, R = r.right, B = r.bottom;
    FillSolidRect(pDC, L, T, R - L - 2, 1, RGB(255, 255, 255));
    FillSolidRect(pDC, R - 1, T + 2, 1, B - T - 4, RGB(0, 0, 0));
    FillSolidRect(pDC, R - 2, T + 2, 1, B - T - 4, sys.clrBtnShadow);
    FillSolidRect(pDC, R - 2, T + 1, 1, 1, RGB(0, 0, 0));
    FillSolidRect(pDC, L, B - 1, R - L - 2, 1, RGB(0, 0, 0));
    FillSolidRect(pDC, L, B - 2, R - L - 2, 1, sys.clrBtnShadow);
    FillSolidRect(pDC, R - 2, B - 2, 1, 1, RGB(0, 0, 0));
    DrawTabContent(pDC, pTab, dwStyle);
}

void SEC3DTabControl::DrawTabContent(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle)
{
    CRect r = pTab->m_rect;
    CSize size(0, 0);
    if (m_bLabelsShown)
        size = pDC->GetTextExtent(pTab->m_csLabel);
    CPoint ptIcon, ptText;
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    int nIconShift = pTab->m_hIcon != nullptr ? 19 : 0;
    if (dwStyle & (SEC_TABS_BOTTOM | SEC_TABS_TOP) || !(dwStyle & (SEC_TABS_LEFT | SEC_TABS_RIGHT))) {
        ptIcon = CPoint(r.left + 6, cy - 8);
        ptText = CPoint(r.left + 6 + nIconShift, cy - size.cy / 2);
    }
    else if (dwStyle & SEC_TABS_LEFT) {
        // Rotated a quarter turn to the left: the text runs upwards, its top facing left.
        ptIcon = CPoint(cx - 8, r.bottom - 6 - 16);
        ptText = CPoint(cx - size.cy / 2, r.bottom - 6 - nIconShift);
    }
    else {
        // A quarter turn to the right: the text runs downwards, its top facing right.
        ptIcon = CPoint(cx - 8, r.top + 6);
        ptText = CPoint(cx + size.cy / 2, r.top + 6 + nIconShift);
    }

    if (pTab->m_bEnabled) {
        if (pTab->m_hIcon != nullptr)
            ::DrawIconEx(pDC->m_hDC, ptIcon.x, ptIcon.y, pTab->m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
        if (m_bLabelsShown)
            pDC->ExtTextOut(ptText.x, ptText.y, ETO_CLIPPED, &r, pTab->m_csLabel, nullptr);
        return;
    }

    // Disabled: icon and label drawn off-screen, embossed, and copied inside the outline.
    int w = r.Width() + 5, h = r.Height() + 5;
    SECMemDC memDC(pDC, CRect(0, 0, w, h));
    if (!memDC.IsReady())
        return;
    memDC.FillSolidRect(0, 0, w, h, SECGetSysData().clrBtnFace);
    CFont* pFont = pDC->GetCurrentFont();
    CFont* pOldFont = pFont != nullptr ? memDC.SelectObject(pFont) : nullptr;
    memDC.SetBkMode(TRANSPARENT);
    memDC.SetTextColor(RGB(0, 0, 0));
    CRect rectLocal(0, 0, r.Width(), r.Height());
    if (pTab->m_hIcon != nullptr)
        ::DrawIconEx(memDC.m_hDC, ptIcon.x - r.left, ptIcon.y - r.top, pTab->m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
    if (m_bLabelsShown)
        memDC.ExtTextOut(ptText.x - r.left, ptText.y - r.top, ETO_CLIPPED, &rectLocal, pTab->m_csLabel, nullptr);
    DrawDisabled(&memDC, w, h);
    pDC->BitBlt(r.left + 2, r.top + 2, r.Width() - 4, r.Height() - 4, &memDC, 2, 2, SRCCOPY);
    if (pOldFont != nullptr)
        memDC.SelectObject(pOldFont);
}

void SEC3DTabControl::DrawDisabled(CDC* pDC, int nWidth, int nHeight)
{
    SECDrawDisabled(pDC, nWidth, nHeight);
}

void SEC3DTabControl::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    SECMemDC dc(&dcPaint, rectClient);
    if (!dc.IsReady())
        return;
    const SECSysData& sys = SECGetSysData();
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_clrText[0]);
    CBrush* pOldBrush = dc.SelectObject(&m_brushes[0]);
    CFont* pOldFont = dc.SelectObject(&m_fonts[0]);
    CPen* pOldPen = dc.SelectObject(&m_pens[0]);
    dc.FillSolidRect(&rectClient, sys.clrBtnFace);
    for (int i = 0; i < GetTabCount(); i++)
        if (!(m_bActiveTab && i == m_nActiveTab))
            DrawTab(&dc, i);

    // The page edge: four lines next to the page, continuing the page's 3D border.
    DWORD dwStyle = GetStyle();
    COLORREF edge[4] = {RGB(255, 255, 255), sys.clrBtnFace, sys.clrBtnShadow, RGB(0, 0, 0)};
    const CRect& rc = rectClient;
    for (int i = 0; i < 4; i++) {
        if (dwStyle & SEC_TABS_BOTTOM)
            dc.FillSolidRect(rc.left, rc.top + i, rc.Width(), 1, edge[i]);
        else if (dwStyle & SEC_TABS_TOP)
            dc.FillSolidRect(rc.left, rc.bottom - 4 + i, rc.Width(), 1, edge[i]);
        else if (dwStyle & SEC_TABS_LEFT)
            dc.FillSolidRect(rc.right - 4 + i, rc.top, 1, rc.Height(), edge[i]);
        else if (dwStyle & SEC_TABS_RIGHT)
            dc.FillSolidRect(rc.left + i, rc.top, 1, rc.Height(), edge[i]);
    }

    CRect rectClip, rectAnd;
    dcPaint.GetClipBox(&rectClip);
    if (m_bActiveTab && IsValidIndex(m_nActiveTab) &&
        rectAnd.IntersectRect(&Get3DTab(m_nActiveTab)->m_rect, &rectClip)) {
        dc.SetTextColor(m_clrText[1]);
        dc.SelectObject(&m_brushes[1]);
        dc.SelectObject(&m_fonts[1]);
        dc.SelectObject(&m_pens[1]);
        DrawTab(&dc, m_nActiveTab);
    }
    dc.CopyTo(rectClient);
    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldFont);
    dc.SelectObject(pOldPen);
}

BOOL SEC3DTabControl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void SEC3DTabControl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (GetTabCount() > 0)
        RecalcLayout();
}

void SEC3DTabControl::OnDestroy()
{
    SECTabControlBase::OnDestroy();
    DestroyGdiObjects();
}

int SEC3DTabControl::TabFromPoint(CPoint point) const
{
    if (m_bActiveTab && IsTabEnabled(m_nActiveTab) && Get3DTab(m_nActiveTab)->m_rect.PtInRect(point))
        return m_nActiveTab;
    for (int i = 0; i < GetTabCount(); i++)
        if (IsTabEnabled(i) && Get3DTab(i)->m_rect.PtInRect(point))
            return i;
    return -1;
}

void SEC3DTabControl::OnLButtonDown(UINT nFlags, CPoint point)
{
    int nHit = TabFromPoint(point);
    if (nHit >= 0)
        ActivateTab(nHit);
    CWnd::OnLButtonDown(nFlags, point);
}

void SEC3DTabControl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    int nHit = TabFromPoint(point);
    CWnd::OnLButtonDblClk(nFlags, point);
    CWnd* pParent = GetParent();
    if (nHit >= 0 && pParent != nullptr)
        pParent->SendMessage(SEC_TCM_TABDBLCLK, (WPARAM)nHit, 0);
}

INT_PTR SEC3DTabControl::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (m_bLabelsShown)
        return -1;
    INT_PTR nHit = SECTabControlBase::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    for (int i = 0; i < GetTabCount(); i++) {
        SEC3DTab* pTab = Get3DTab(i);
        if (!pTab->m_rect.PtInRect(point))
            continue;
        // The record is filled when it is large enough to hold the fields up to lParam.
        if (pTI != nullptr && pTI->cbSize >= offsetof(TOOLINFOA, lParam) + sizeof(pTI->lParam)) {
            pTI->hwnd = m_hWnd;
            pTI->uId = (UINT_PTR)(i + 1);
            pTI->rect = pTab->m_rect;
            pTI->lpszText = static_cast<LPSTR>(malloc(pTab->m_csLabel.GetLength() + 1));
            if (pTI->lpszText != nullptr)
                strcpy(pTI->lpszText, pTab->m_csLabel);
        }
        return i + 1;
    }
    return -1;
}

// ---- SEC3DTabWnd ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SEC3DTabWnd, SECTabWndBase)
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(SEC_TCM_TABSEL, OnTabSelect)
END_MESSAGE_MAP()

SEC3DTabWnd::SEC3DTabWnd()
    : m_dwTabCtrlStyle(SEC_TABS_BOTTOM), m_dwButtonStyle(0), m_nStripHeight(nStripSize), m_nStripWidth(nStripSize)
{
}

BOOL SEC3DTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwButtonStyle = (dwStyle & 0x2) ? 2 : (dwStyle & 0x1) ? 1 : 0;
    m_dwTabCtrlStyle = dwStyle & 0xFF0;
    UpdateStripSize();
    return SECTabWndBase::Create(pParentWnd, dwStyle & ~0xFF3u, nID);
}

BOOL SEC3DTabWnd::CreateTabControl(DWORD, UINT nID)
{
    SEC3DTabControl* pCtrl = new SEC3DTabControl;
    if (!pCtrl->Create(m_dwTabCtrlStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID)) {
        delete pCtrl;
        return FALSE;
    }
    m_pTabCtrl = pCtrl;
    return TRUE;
}

BOOL SEC3DTabWnd::EnableTab(int nIndex, BOOL bEnable)
{
    return m_pTabCtrl != nullptr && Get3DTabControl()->EnableTab(nIndex, bEnable);
}

BOOL SEC3DTabWnd::IsTabEnabled(int nIndex) const
{
    return m_pTabCtrl != nullptr && Get3DTabControl()->IsTabEnabled(nIndex);
}

void SEC3DTabWnd::UpdateStripSize()
{
    BOOL bHorz = (m_dwTabCtrlStyle & (SEC_TABS_BOTTOM | SEC_TABS_TOP)) != 0;
    m_nStripHeight = bHorz ? nStripSize : 0;
    m_nStripWidth = bHorz ? 0 : nStripSize;
}

void SEC3DTabWnd::GetInsideRect(CRect& rect) const
{
    CRect rc;
    GetClientRect(&rc);
    DWORD s = m_dwTabCtrlStyle;
    if (s & SEC_TABS_BOTTOM)
        rect.SetRect(rc.left + 6, rc.top + 4, rc.right - 7, rc.bottom - m_nStripHeight - 1);
    else if (s & SEC_TABS_TOP)
        rect.SetRect(rc.left + 6, rc.top + m_nStripHeight + 1, rc.right - 7, rc.bottom - 4);
    else if (s & SEC_TABS_LEFT)
        rect.SetRect(rc.left + m_nStripWidth + 1, rc.top + 4, rc.right - 7, rc.bottom - 6);
    else
        rect.SetRect(rc.left + 6, rc.top + 4, rc.right - m_nStripWidth - 1, rc.bottom - 6);
}

void SEC3DTabWnd::GetStripRect(CRect& rect) const
{
    CRect rc, in;
    GetClientRect(&rc);
    GetInsideRect(in);
    DWORD s = m_dwTabCtrlStyle;
    if (s & SEC_TABS_BOTTOM)
        rect.SetRect(in.left, in.bottom + 1, in.right, rc.bottom + 1);
    else if (s & SEC_TABS_TOP)
        rect.SetRect(in.left, rc.top, in.right, in.top);
    else if (s & SEC_TABS_LEFT)
        rect.SetRect(rc.left, in.top, in.left, in.bottom);
    else
        rect.SetRect(in.right, rc.top, rc.right, rc.top + in.Height());
}

void SEC3DTabWnd::RecalcLayout()
{
    if (m_hWnd == nullptr || m_pTabCtrl == nullptr)
        return;
    UpdateStripSize();
    CRect in, strip;
    GetInsideRect(in);
    GetStripRect(strip);
    HDWP hdwp = ::BeginDeferWindowPos(4);
    auto move = [&](CWnd* pWnd, const CRect& rect, UINT nExtra) {
        if (hdwp == nullptr || pWnd == nullptr || pWnd->m_hWnd == nullptr)
            return;
        CRect rectNow;
        pWnd->GetWindowRect(&rectNow);
        ScreenToClient(&rectNow);
        if (rectNow != rect)
            hdwp = ::DeferWindowPos(hdwp, pWnd->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                    SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | nExtra);
    };
    move(m_pTabCtrl, strip, SWP_NOREDRAW);
    move(m_pActiveWnd, CRect(in.left, in.top, in.right - 1, in.bottom), 0);
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
}

BOOL SEC3DTabWnd::OnNcCreate(LPCREATESTRUCT lpcs)
{
    if (!CWnd::OnNcCreate(lpcs))
        return FALSE;
    TakeParentClientEdge();
    return TRUE;
}

void SEC3DTabWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType == SIZE_MINIMIZED || cx == 0 || cy == 0)
        return;
    RecalcLayout();
    if (m_pTabCtrl != nullptr && m_pTabCtrl->m_hWnd != nullptr)
        m_pTabCtrl->Invalidate(TRUE);
    Invalidate(FALSE);
}

void SEC3DTabWnd::OnPaint()
{
    CPaintDC dc(this);
    InvalidateStripPart(dc.m_ps.rcPaint);
    const SECSysData& sys = SECGetSysData();
    CRect r;
    GetInsideRect(r);
    COLORREF cols[4] = {RGB(255, 255, 255), sys.clrBtnFace, sys.clrBtnShadow, RGB(0, 0, 0)};
    int h = r.Height() + 8, w = r.Width() + 8;
    for (int i = 0; i < 4; i++) {
        dc.FillSolidRect(r.left - 4 + i, r.top - 4, 1, h, cols[i]);
        dc.FillSolidRect(r.right + i, r.top - 4, 1, h, cols[i]);
    }
    // Top band, top to bottom.
    dc.FillSolidRect(r.left - 4, r.top - 4, w - 1, 1, cols[0]);
    dc.FillSolidRect(r.left - 4 + 1, r.top - 3, w - 2, 1, cols[1]);
    dc.FillSolidRect(r.left - 4 + 2, r.top - 2, w - 6, 1, cols[2]);
    dc.FillSolidRect(r.left - 4 + 3, r.top - 1, w - 8, 1, cols[3]);
    // Bottom band.
    dc.FillSolidRect(r.left - 4 + 2, r.bottom + 1, w - 5, 1, cols[0]);
    dc.FillSolidRect(r.left - 4 + 1, r.bottom + 2, w - 2, 1, cols[1]);
    dc.FillSolidRect(r.left - 4, r.bottom + 3, w - 1, 1, cols[2]);
    dc.FillSolidRect(r.left - 4, r.bottom + 4, w, 1, cols[3]);
}

BOOL SEC3DTabWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect rc, in, strip;
    GetClientRect(&rc);
    GetInsideRect(in);
    GetStripRect(strip);
    pDC->ExcludeClipRect(&strip);
    COLORREF clr = SECGetSysData().clrBtnFace;
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), in.top - rc.top, clr);
    pDC->FillSolidRect(rc.left, in.bottom, rc.Width(), rc.bottom - in.bottom, clr);
    pDC->FillSolidRect(rc.left, in.top, in.left - rc.left, in.Height(), clr);
    pDC->FillSolidRect(in.right, in.top, rc.right - in.right, in.Height(), clr);
    return TRUE;
}

LRESULT SEC3DTabWnd::OnTabSelect(WPARAM wParam, LPARAM)
{
    ForwardTabSelect((int)wParam, TRUE);
    return 0;
}
