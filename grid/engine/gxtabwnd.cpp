#include "gxtabwnd.h"
#include "gxinit.h"
#include "gxengine.h"
#include "gxhint.h"
#include "gxparam.h"
#include "gxwnd.h"
#include "afxframe.h"
#include "afxview.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(CGXTabWnd, CWnd)

namespace {
const UINT kLabelEditorId = 23001;
} // namespace

BOOL CGXTabWnd::s_bSplitterTopLine = FALSE;

int CGXTabWnd::GetBorderWidth() { return GXGetSysData()->m_bNewShell ? 1 : 0; }

void GXDeferChildPos(HDWP& hdwp, CWnd* pChild, int x, int y, int cx, int cy, BOOL bScrollBar)
{
    if (pChild == nullptr || pChild->GetSafeHwnd() == nullptr)
        return;
    HWND h = pChild->GetSafeHwnd();
    if (bScrollBar) {
        const BOOL bTiny = cx < 2 || cy < 2;
        const LONG style = ::GetWindowLongA(h, GWL_STYLE);
        if (bTiny && !(style & WS_BORDER))
            ::SetWindowLongA(h, GWL_STYLE, style | WS_BORDER);
        else if (!bTiny && (style & WS_BORDER))
            ::SetWindowLongA(h, GWL_STYLE, style & ~WS_BORDER);
    }
    const CRect want(x - 1, y - 1, x - 1 + std::max(0, cx + 2), y - 1 + std::max(0, cy + 2));
    CRect now;
    ::GetWindowRect(h, &now);
    ::MapWindowPoints(nullptr, ::GetParent(h), reinterpret_cast<POINT*>(&now), 2);
    if (now == want)
        return;
    if (hdwp != nullptr)
        hdwp = ::DeferWindowPos(hdwp, h, nullptr, want.left, want.top, want.Width(), want.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
    if (hdwp == nullptr)
        ::SetWindowPos(h, nullptr, want.left, want.top, want.Width(), want.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL GXCreateStripWindow(CWnd* pWnd, CWnd* pParentWnd, DWORD dwStyle, UINT nID, BOOL& bHScroll, BOOL& bVScroll)
{
    bHScroll = (dwStyle & WS_HSCROLL) != 0;
    bVScroll = (dwStyle & WS_VSCROLL) != 0;
    return pWnd->Create("GxMdiFrame", nullptr, (dwStyle & ~(WS_HSCROLL | WS_VSCROLL)) | WS_CHILD, CRect(0, 0, 0, 0),
                        pParentWnd, nID);
}

void GXBottomStrip::CreateBars()
{
    const CRect none(0, 0, 0, 0);
    if (!hbar.Create(WS_CHILD | SBS_HORZ | (bHScroll ? WS_VISIBLE : 0), none, pWnd, 0xEA00) ||
        !vbar.Create(WS_CHILD | SBS_VERT | (bVScroll ? WS_VISIBLE : 0), none, pWnd, 0xEA10))
        AfxThrowResourceException();
    CWnd* pParent = pWnd->GetParent();
    if (CGXTabWnd::GetBorderWidth() != 0 && (bHScroll || bVScroll) && pParent != nullptr && pParent->IsFrameWnd() &&
        !sizebox.Create(WS_CHILD | WS_VISIBLE | SBS_SIZEBOX, none, pWnd, 0xEA20))
        AfxThrowResourceException();
}

void GXBottomStrip::GetInsideRect(CRect& rect) const
{
    pWnd->GetClientRect(&rect);
    const int border = CGXTabWnd::GetBorderWidth();
    rect.bottom -= cyHScroll + border - 1;
    if (bVScroll)
        rect.right -= cxVScroll + border - 1;
    rect.bottom = std::max(rect.top, rect.bottom);
    rect.right = std::max(rect.left, rect.right);
}

void GXBottomStrip::Layout(HDWP& hdwp, CWnd* pBeam, int nBeamWidth, int nSplitterWidth, BOOL bVertBar)
{
    CRect client, inside;
    pWnd->GetClientRect(&client);
    GetInsideRect(inside);
    const int border = CGXTabWnd::GetBorderWidth();
    const int bw = nBeamWidth, sw = nSplitterWidth;
    const int barH = client.bottom - inside.bottom - 2 * border;
    if (bHScroll)
        GXDeferChildPos(hdwp, &hbar, bw + sw, inside.bottom + 1, inside.right - bw - sw, barH, TRUE);
    else
        GXDeferChildPos(hdwp, &hbar, client.right, inside.bottom + 1, 0, barH, TRUE);
    if (bVertBar && bVScroll)
        GXDeferChildPos(hdwp, &vbar, inside.right + 1, 0, client.right - inside.right - 2 * border, inside.bottom,
                        TRUE);
    if (sizebox.GetSafeHwnd() != nullptr) {
        GXDeferChildPos(hdwp, &sizebox, inside.right + 1, inside.bottom + 1, client.right - inside.right - 2 * border,
                        barH, TRUE);
        // Only where the window's corner is its frame's corner.
        BOOL bCorner = FALSE;
        if (CFrameWnd* pFrame = pWnd->GetParentFrame()) {
            CRect rcFrame, rcMine;
            pFrame->GetClientRect(&rcFrame);
            pFrame->ClientToScreen(&rcFrame);
            pWnd->GetClientRect(&rcMine);
            pWnd->ClientToScreen(&rcMine);
            bCorner = rcFrame.BottomRight() == rcMine.BottomRight();
        }
        sizebox.ShowWindow(bCorner ? SW_SHOWNA : SW_HIDE);
    }
    GXDeferChildPos(hdwp, pBeam, 0, inside.bottom + 1, bHScroll ? bw : client.Width(), cyBottom, FALSE);
}

// ---------------------------------------------------------------------------
// The label editor

BEGIN_MESSAGE_MAP(CGXEditLabelPopup, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

BOOL CGXEditLabelPopup::Create(const RECT& rect, CWnd* pParent, UINT nID, const CString& sText, CFont* pFont)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    if (CGXTabWnd::GetBorderWidth() == 0)
        style |= WS_DLGFRAME;
    if (!CEdit::Create(style, rect, pParent, nID))
        return FALSE;
    if (pFont != nullptr)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), FALSE);
    SetWindowText(sText);
    SendMessage(EM_SETSEL, 0, -1);
    return TRUE;
}

void CGXEditLabelPopup::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // The parent deletes this editor while it handles the message: nothing of
    // the object may be touched after the send.
    HWND hParent = ::GetParent(m_hWnd);
    if (nChar == VK_RETURN) {
        ::SendMessageA(hParent, GXWM_EDITLABELDONE, 0, 0);
        return;
    }
    if (nChar == VK_ESCAPE) {
        ::SendMessageA(hParent, GXWM_EDITLABELCANCEL, 0, 0);
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CGXEditLabelPopup::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN || nChar == VK_ESCAPE)
        return;
    CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CGXEditLabelPopup::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Enter and Escape were acted on at the key press; the edit would only beep.
    if (nChar == '\r' || nChar == 27)
        return;
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CGXEditLabelPopup::OnKillFocus(CWnd* pNewWnd)
{
    HWND hParent = ::GetParent(m_hWnd);
    CEdit::OnKillFocus(pNewWnd);
    ::SendMessageA(hParent, GXWM_EDITLABELCANCEL, 0, 0);
}

UINT CGXEditLabelPopup::OnGetDlgCode() { return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS; }

// ---------------------------------------------------------------------------
// Construction and creation

CGXTabWnd::CGXTabWnd(CRuntimeClass* pBeamClass)
    : m_pBeamClass(pBeamClass != nullptr ? pBeamClass : RUNTIME_CLASS(CGXTabBeam))
{
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyBottom = m_cyHScroll + 2 * GetBorderWidth();
    m_hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    GXRegisterScrollParentClass(RUNTIME_CLASS(CGXTabWnd));
}

CGXTabWnd::~CGXTabWnd()
{
    GXSelfCreatingClass<CGXTabWnd>::Forget(this);
    if (m_pEditLabel != nullptr) {
        CGXEditLabelPopup* p = m_pEditLabel;
        m_pEditLabel = nullptr;
        delete p;
    }
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pBeam;
    m_pBeam = nullptr;
}

void CGXTabWnd::PostNcDestroy()
{
    if (IsSelfDeleting(this)) {
        GXSelfCreatingClass<CGXTabWnd>::Forget(this);
        delete this;
    }
}

LPCSTR CGXTabWnd::RegisterClass(HINSTANCE hInstance)
{
    return GXSelfCreatingClass<CGXTabWnd>::Register(hInstance, "CGXTabWnd", CS_GLOBALCLASS | CS_DBLCLKS);
}

BOOL CGXTabWnd::IsSelfDeleting(const CGXTabWnd* p) { return GXSelfCreatingClass<CGXTabWnd>::IsSelfDeleting(p); }

BOOL CGXTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!GXCreateStripWindow(this, pParentWnd, dwStyle, nID, m_bHScroll, m_bVScroll))
        return FALSE;
    return CreateChildren(dwStyle);
}

BOOL CGXTabWnd::CreateChildren(DWORD)
{
    if (m_bChildren)
        return TRUE;
    m_bChildren = TRUE;
    Strip().CreateBars();
    m_pBeam = GXCreateBeam<CGXTabBeam>(m_pBeamClass, this);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Layout

GXBottomStrip CGXTabWnd::Strip()
{
    return GXBottomStrip{this, m_bHScroll, m_bVScroll, m_cxVScroll, m_cyHScroll, m_cyBottom,
                         m_wndHScroll, m_wndVScroll, m_wndSizeBox};
}

void CGXTabWnd::GetInsideRect(CRect& rect) { Strip().GetInsideRect(rect); }

void CGXTabWnd::RecalcLayout(BOOL bNoViews)
{
    if (m_hWnd == nullptr)
        return;
    if (!m_bChildren) {
        // A window made by a dialog template creates its parts at its first layout.
        m_bHScroll = m_bVScroll = TRUE;
        m_nFirstPaneId = m_nActivePaneId = 0xE900;
        CreateChildren(0x40300000);
    }
    CRect client, inside;
    GetClientRect(&client);
    GetInsideRect(inside);
    if (m_nBeamWidthX100 == 0) {
        m_nBeamWidthX100 = (client.Width() / 2) * 100;
        m_nBeamWidth = m_nBeamWidthX100 / 100;
    }
    HDWP hdwp = ::BeginDeferWindowPos(5);
    Strip().Layout(hdwp, m_pBeam, m_nBeamWidth, m_nSplitterWidth, !bNoViews);
    CWnd* pPane = bNoViews ? nullptr : m_pActivePane;
    if (pPane != nullptr)
        GXDeferChildPos(hdwp, pPane, 1, 1, inside.Width() - 2, inside.Height() - 2, FALSE);
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
    if (pPane != nullptr && pPane->GetSafeHwnd() != nullptr)
        pPane->SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(std::max(0, inside.Width() - 3),
                                                               std::max(0, inside.Height() - 3)));
    m_bLaidOut = TRUE;
    m_nLastWidth = client.Width();
}

void CGXTabWnd::OnSize(UINT nType, int cx, int cy)
{
    CloseLabelEditor();
    CWnd* pPane = m_pActivePane;
    if (pPane != nullptr && pPane->GetSafeHwnd() != nullptr)
        pPane->SendMessage(GXWM_LOCKSIZEREDRAW, 1, 0);
    if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0 && cx < 32767 && cy < 32767) {
        if (m_bHScroll && m_nLastWidth > 0 && m_nBeamWidthX100 != 0) {
            // The beam grows and shrinks with the window above a fixed part.
            const int nMin = m_pBeam != nullptr ? m_pBeam->GetTabsStart() : 0;
            const long long F = static_cast<long long>(nMin - 20) * 100;
            m_nBeamWidthX100 = static_cast<int>((m_nBeamWidthX100 - F) * cx / m_nLastWidth + F);
        } else {
            m_nBeamWidthX100 = (m_bHScroll ? cx / 2 : cx) * 100;
        }
        m_nBeamWidth = std::max(0, std::min(m_nBeamWidthX100 / 100, cx - m_nSplitterWidth));
        RecalcLayout();
        Invalidate();
        if (pPane != nullptr && pPane->GetSafeHwnd() != nullptr) {
            pPane->SendMessage(GXWM_LOCKSIZEREDRAW, 0, 0);
            CRect rc;
            pPane->GetClientRect(&rc);
            pPane->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
        }
        return;
    }
    if (pPane != nullptr && pPane->GetSafeHwnd() != nullptr)
        pPane->SendMessage(GXWM_LOCKSIZEREDRAW, 0, 0);
}

// ---------------------------------------------------------------------------
// Views and tabs

void CGXTabWnd::AttachWnd(CWnd* pView, LPCSTR lpszName)
{
    if (pView == nullptr || m_hWnd == nullptr)
        return;
    if (!m_bLaidOut || !m_bChildren)
        RecalcLayout(TRUE);
    CRect inside;
    GetInsideRect(inside);
    if (pView->GetSafeHwnd() != nullptr)
        pView->SetWindowPos(nullptr, 0, 0, inside.Width(), inside.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    const int nTab = m_pBeam->InsertTab(FALSE, lpszName, pView, 0, -1, 0);
    if (pView->GetSafeHwnd() != nullptr)
        pView->ShowScrollBar(SB_BOTH, FALSE);
    const BOOL bFirst = m_pActivePane == nullptr;
    if (bFirst) {
        m_pActivePane = pView;
        m_pBeam->m_nCurrent = nTab;
        if (pView->GetSafeHwnd() != nullptr)
            pView->ShowWindow(SW_SHOW);
        RecalcLayout();
    } else if (pView->GetSafeHwnd() != nullptr) {
        pView->ShowWindow(SW_HIDE);
    }
    if (pView->GetSafeHwnd() != nullptr)
        pView->SendMessage(GXWM_TABATTACHED, static_cast<WPARAM>(nTab), 0);
    SaveScrollState(pView);
}

CString CGXTabWnd::GetTabName(int nTab)
{
    if (m_pBeam == nullptr || nTab < 0 || nTab >= m_pBeam->GetTabCount())
        return CString();
    return m_pBeam->GetTab(nTab).sLabel;
}

void CGXTabWnd::SetTabName(int nTab, LPCSTR lpszName, BOOL bNoNotify)
{
    if (m_pBeam == nullptr || nTab < 0 || nTab >= m_pBeam->GetTabCount())
        return;
    CGXTabInfo& tab = m_pBeam->GetTab(nTab);
    tab.sLabel = lpszName != nullptr ? lpszName : "";
    m_pBeam->CalcTabWidth(nTab);
    if (m_pBeam->GetSafeHwnd() != nullptr)
        m_pBeam->Invalidate(FALSE);
    if (!bNoNotify && tab.pExtra != nullptr && tab.pExtra->GetSafeHwnd() != nullptr)
        tab.pExtra->SendMessage(GXWM_UPDATETABNAME, static_cast<WPARAM>(nTab), 0);
}

void CGXTabWnd::SetTabName(CWnd* pView, LPCSTR lpszName, BOOL bNoNotify)
{
    const int nTab = m_pBeam != nullptr ? m_pBeam->FindTab(pView) : -1;
    if (nTab >= 0)
        SetTabName(nTab, lpszName, bNoNotify);
}

BOOL CGXTabWnd::TabName(CWnd* pWnd, CString& sName, BOOL bWrite)
{
    if (pWnd == nullptr)
        return FALSE;
    for (HWND h = pWnd->GetSafeHwnd(); h != nullptr; h = ::GetParent(h)) {
        auto* pTabs = dynamic_cast<CGXTabWnd*>(CWnd::FromHandlePermanent(::GetParent(h)));
        if (pTabs == nullptr || pTabs->m_pBeam == nullptr)
            continue;
        const int nTab = pTabs->m_pBeam->FindTab(CWnd::FromHandlePermanent(h));
        if (nTab < 0)
            return FALSE;
        if (bWrite)
            pTabs->SetTabName(nTab, sName);
        else
            sName = pTabs->GetTabName(nTab);
        return TRUE;
    }
    return FALSE;
}

void CGXTabWnd::SaveScrollState(CWnd* pView)
{
    const int nTab = m_pBeam != nullptr ? m_pBeam->FindTab(pView) : -1;
    if (nTab < 0)
        return;
    CGXTabInfo& tab = m_pBeam->GetTab(nTab);
    tab.sbVert = SCROLLINFO{};
    tab.sbHorz = SCROLLINFO{};
    tab.sbVert.cbSize = tab.sbHorz.cbSize = sizeof(SCROLLINFO);
    if (m_wndVScroll.GetSafeHwnd() != nullptr)
        m_wndVScroll.GetScrollInfo(&tab.sbVert, SIF_ALL);
    if (m_wndHScroll.GetSafeHwnd() != nullptr)
        m_wndHScroll.GetScrollInfo(&tab.sbHorz, SIF_ALL);
    tab.nVertPos = tab.sbVert.nPos;
    tab.nHorzPos = tab.sbHorz.nPos;
}

void CGXTabWnd::RestoreScrollState(CWnd* pView)
{
    const int nTab = m_pBeam != nullptr ? m_pBeam->FindTab(pView) : -1;
    if (nTab < 0)
        return;
    CGXTabInfo& tab = m_pBeam->GetTab(nTab);
    // A view without a range gets disabled bars.
    SCROLLINFO v = tab.sbVert, h = tab.sbHorz;
    v.cbSize = h.cbSize = sizeof(SCROLLINFO);
    v.fMask = h.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    v.nPos = tab.nVertPos;
    h.nPos = tab.nHorzPos;
    if (m_wndVScroll.GetSafeHwnd() != nullptr)
        m_wndVScroll.SetScrollInfo(&v, TRUE);
    if (m_wndHScroll.GetSafeHwnd() != nullptr)
        m_wndHScroll.SetScrollInfo(&h, TRUE);
}

BOOL CGXTabWnd::CanSwitchTo(CWnd* pView)
{
    CWnd* pOld = m_pActivePane;
    BOOL bRefused = FALSE;
    if (pOld != nullptr && pOld->GetSafeHwnd() != nullptr && pOld->SendMessage(GXWM_VALIDATE, 0, 0) != 0)
        bRefused = TRUE;
    else if (pView != nullptr && pView->GetSafeHwnd() != nullptr && pView->SendMessage(GXWM_VALIDATE, 1, 0) != 0)
        bRefused = TRUE;
    if (bRefused && pOld != nullptr && pOld->GetSafeHwnd() != nullptr)
        pOld->SetFocus();
    return !bRefused;
}

void CGXTabWnd::ReactivatePane()
{
    CWnd* pPane = m_pActivePane;
    if (pPane == nullptr || pPane->GetSafeHwnd() == nullptr)
        return;
    if (auto* pView = dynamic_cast<CView*>(pPane))
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->SetActiveView(pView);
    pPane->SetFocus();
    pPane->Invalidate();
}

void CGXTabWnd::SwitchTo(CWnd* pView, BOOL bAsked)
{
    if (pView == nullptr || m_pBeam == nullptr)
        return;
    const int nTab = m_pBeam->FindTab(pView);
    if (nTab < 0)
        return;
    if (!bAsked && !CanSwitchTo(pView)) {
        // The beam may have moved on already: it shows the view that stays.
        const int nOld = m_pBeam->FindTab(m_pActivePane);
        if (nOld >= 0 && nOld != m_pBeam->m_nCurrent) {
            m_pBeam->m_nCurrent = nOld;
            m_pBeam->Invalidate(FALSE);
        }
        return;
    }
    CloseLabelEditor();
    CWnd* pOld = m_pActivePane;
    if (pOld != nullptr && pOld->GetSafeHwnd() != nullptr) {
        SaveScrollState(pOld);
        pOld->ShowWindow(SW_HIDE);
    }
    m_pBeam->ScrollToTab(nTab);
    if (m_pBeam->m_nCurrent != nTab) {
        m_pBeam->m_nCurrent = nTab;
        m_pBeam->Invalidate(FALSE);
    }
    m_pActivePane = pView;
    if (pView->GetSafeHwnd() != nullptr) {
        // Placed before it shows, so that it lays itself out once.
        RecalcLayout();
        pView->ShowWindow(SW_SHOW);
        if (auto* pCView = dynamic_cast<CView*>(pView))
            if (CFrameWnd* pFrame = GetParentFrame())
                pFrame->SetActiveView(pCView);
        pView->SetFocus();
        RestoreScrollState(pView);
        pView->Invalidate();
    }
    RecalcLayout();
}

void CGXTabWnd::ActivateTab(CWnd* pView)
{
    if (pView == m_pActivePane)
        ReactivatePane();
    else
        SwitchTo(pView, FALSE);
}

LRESULT CGXTabWnd::OnCanSwitch(WPARAM wParam, LPARAM)
{
    m_pApproved = nullptr;
    const int nTab = static_cast<int>(wParam);
    if (m_pBeam == nullptr || nTab < 0 || nTab >= m_pBeam->GetTabCount())
        return 1;
    CWnd* pView = m_pBeam->GetTab(nTab).pExtra;
    if (pView == m_pActivePane)
        return 0;
    if (!CanSwitchTo(pView))
        return 1;
    m_pApproved = pView;
    return 0;
}

LRESULT CGXTabWnd::OnTabChosen(WPARAM wParam, LPARAM)
{
    const int nTab = static_cast<int>(wParam);
    CWnd* pApproved = m_pApproved;
    m_pApproved = nullptr;
    if (m_pBeam == nullptr || nTab < 0 || nTab >= m_pBeam->GetTabCount())
        return 0;
    CWnd* pView = m_pBeam->GetTab(nTab).pExtra;
    if (pView == m_pActivePane) {
        // A double click's first click must leave the focus for the label editor to come.
        MSG msg;
        if (!::PeekMessageA(&msg, m_hWnd, GXWM_TABEDITLABEL, GXWM_TABEDITLABEL, PM_NOREMOVE))
            ReactivatePane();
        return 0;
    }
    SwitchTo(pView, pApproved == pView);
    return 0;
}

// ---------------------------------------------------------------------------
// Label editing

void CGXTabWnd::CloseLabelEditor()
{
    if (m_pEditLabel != nullptr)
        SendMessage(GXWM_EDITLABELCANCEL, 0, 0);
}

LRESULT CGXTabWnd::OnStartLabelEdit(WPARAM wParam, LPARAM)
{
    const int nTab = static_cast<int>(wParam);
    if (m_pEditLabel != nullptr || m_pBeam == nullptr || nTab < 0 || nTab >= m_pBeam->GetTabCount())
        return 0;
    CWnd* pView = m_pBeam->GetTab(nTab).pExtra;
    if (pView == nullptr || pView->GetSafeHwnd() == nullptr ||
        pView->SendMessage(GXWM_GETPARAMOPTIONF, static_cast<WPARAM>(nTab), 0) == 0)
        return 0;

    CRect inside;
    GetInsideRect(inside);
    CSize sizeW(8, 12);
    {
        CClientDC dc(m_pBeam);
        CFont* pOld = m_pBeam->m_pFontNormal != nullptr ? dc.SelectObject(m_pBeam->m_pFontNormal) : nullptr;
        sizeW = dc.GetTextExtent("W", 1);
        if (pOld != nullptr)
            dc.SelectObject(pOld);
    }
    const int cyFrame = ::GetSystemMetrics(SM_CYDLGFRAME);
    CRect rc;
    rc.top = std::max(0, static_cast<int>(inside.bottom - 2 * (cyFrame + sizeW.cy)));
    rc.bottom = rc.top + 4 * cyFrame + sizeW.cy;
    rc.left = m_pBeam->GetTabX(nTab);
    rc.right = rc.left + 15 * sizeW.cx;
    if (rc.right > inside.right) {
        const int w = rc.Width();
        rc.right = inside.right;
        rc.left = std::max(0, static_cast<int>(rc.right - w));
    }
    auto* pEdit = new CGXEditLabelPopup;
    if (!pEdit->Create(rc, this, kLabelEditorId, m_pBeam->GetTab(nTab).sLabel, m_pBeam->m_pFontNormal)) {
        delete pEdit;
        return 0;
    }
    m_pEditLabel = pEdit;
    pEdit->SetFocus();
    return 0;
}

LRESULT CGXTabWnd::OnLabelEditDone(WPARAM, LPARAM)
{
    if (m_pEditLabel == nullptr)
        return 0;
    CString sText;
    m_pEditLabel->GetWindowText(sText);
    DestroyLabelEditor();
    if (m_pBeam != nullptr && m_pBeam->m_nCurrent >= 0)
        SetTabName(m_pBeam->m_nCurrent, sText, FALSE);
    return 0;
}

LRESULT CGXTabWnd::OnLabelEditCancel(WPARAM, LPARAM)
{
    if (m_pEditLabel != nullptr)
        DestroyLabelEditor();
    return 0;
}

void CGXTabWnd::DestroyLabelEditor()
{
    // The pointer goes first: destroying the editor moves the focus, and its
    // kill-focus message must find no editor left to delete.
    CGXEditLabelPopup* pEdit = m_pEditLabel;
    m_pEditLabel = nullptr;
    const BOOL bHadFocus = ::GetFocus() == pEdit->GetSafeHwnd();
    pEdit->DestroyWindow();
    delete pEdit;
    if (bHadFocus && m_pActivePane != nullptr && m_pActivePane->GetSafeHwnd() != nullptr)
        m_pActivePane->SetFocus();
}

// ---------------------------------------------------------------------------
// Messages

BEGIN_MESSAGE_MAP(CGXTabWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(GXWM_TABCHOSEN, OnTabChosen)
    ON_MESSAGE(GXWM_TABCANSWITCH, OnCanSwitch)
    ON_MESSAGE(GXWM_TABEDITLABEL, OnStartLabelEdit)
    ON_MESSAGE(GXWM_EDITLABELCANCEL, OnLabelEditCancel)
    ON_MESSAGE(GXWM_EDITLABELDONE, OnLabelEditDone)
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

void CGXTabWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CloseLabelEditor();
    if (m_pActivePane != nullptr && m_pActivePane->GetSafeHwnd() != nullptr)
        m_pActivePane->SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos),
                                   reinterpret_cast<LPARAM>(AfxGetSafeHwnd(pScrollBar)));
}

void CGXTabWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CloseLabelEditor();
    if (m_pActivePane != nullptr && m_pActivePane->GetSafeHwnd() != nullptr)
        m_pActivePane->SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos),
                                   reinterpret_cast<LPARAM>(AfxGetSafeHwnd(pScrollBar)));
}

CRect CGXTabWnd::SplitterRect()
{
    CRect client;
    GetClientRect(&client);
    return CRect(m_nBeamWidth + 1, client.bottom - m_cyHScroll, m_nBeamWidth + m_nSplitterWidth + 1, client.bottom);
}

void CGXTabWnd::SetBeamRight(int x)
{
    CRect client;
    GetClientRect(&client);
    const int nMax = std::max(0, static_cast<int>(client.Width() - m_nSplitterWidth - (m_bVScroll ? m_cxVScroll : 0)));
    m_nBeamWidth = std::max(0, std::min(x, nMax));
    m_nBeamWidthX100 = m_nBeamWidth * 100;
    RecalcLayout();
    CRect strip = SplitterRect();
    strip.left = 0;
    strip.right = client.right;
    InvalidateRect(&strip, TRUE);
}

void CGXTabWnd::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bHScroll || !SplitterRect().PtInRect(point))
        return;
    SetCapture();
    m_bTracking = TRUE;
}

void CGXTabWnd::OnMouseMove(UINT, CPoint point)
{
    if (m_bTracking)
        SetBeamRight(point.x);
}

void CGXTabWnd::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bTracking)
        return;
    m_bTracking = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    SetBeamRight(point.x);
    if (m_pBeam != nullptr)
        m_pBeam->Invalidate();
}

BOOL CGXTabWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (pWnd == this && nHitTest == HTCLIENT) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (m_bHScroll && (m_bTracking || SplitterRect().PtInRect(pt))) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE)));
            return TRUE;
        }
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CGXTabWnd::OnSetFocus(CWnd*)
{
    if (m_pActivePane != nullptr && m_pActivePane->GetSafeHwnd() != nullptr)
        m_pActivePane->SetFocus();
}

BOOL CGXTabWnd::OnEraseBkgnd(CDC* pDC)
{
    if (pDC == nullptr)
        return TRUE;
    CRect client;
    GetClientRect(&client);
    client.top = std::max(client.top, client.bottom - m_cyBottom);
    pDC->FillRect(&client, &m_brBackground);
    return TRUE;
}

void CGXTabWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bHScroll)
        return;
    CRect client;
    GetClientRect(&client);
    CRect inside;
    GetInsideRect(inside);
    const int x = m_nBeamWidth, top = inside.bottom + 1 - 1, h = client.bottom - top;
    const COLORREF cols[5] = {RGB(0, 0, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNFACE),
                              ::GetSysColor(COLOR_BTNSHADOW), RGB(0, 0, 0)};
    dc.FillSolidRect(x, top, m_nSplitterWidth, h, ::GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < 5; ++i)
        dc.FillSolidRect(x + i, top, 1, h, cols[i]);
    if (s_bSplitterTopLine)
        dc.FillSolidRect(x, top, m_nSplitterWidth, 1, RGB(0, 0, 0));
}

void CGXTabWnd::OnNcPaint() { Default(); }

void CGXTabWnd::OnSysColorChange()
{
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    Invalidate();
}

void CGXTabWnd::OnSettingChange(UINT, LPCSTR)
{
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyBottom = m_cyHScroll + 2 * GetBorderWidth();
    RecalcLayout();
}

// ---------------------------------------------------------------------------
// The grid's side: its tab's name

void CGXGridEngine::UpdateTabName(WPARAM wParam)
{
    if (m_pGridWnd == nullptr || m_pParam == nullptr)
        return;
    for (CWnd* p = m_pGridWnd->GetParent(); p != nullptr; p = p->GetParent()) {
        auto* pTabs = dynamic_cast<CGXTabWnd*>(p);
        if (pTabs == nullptr)
            continue;
        m_pParam->m_strName = pTabs->GetTabName(static_cast<int>(wParam));
        CGXGridHint hint(22, m_nHintTag);
        SendHint(hint);
        return;
    }
}
