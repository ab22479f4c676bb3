#include "gxrecwnd.h"
#include "gxtabbeam.h"
#include "gxtabwnd.h"
#include "gxinit.h"
#include "gxengine.h"
#include "gxresrc.h"
#include "gxwnd.h"
#include "afxseam.h"
#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CGXRecordInfoBeam, CWnd)
IMPLEMENT_DYNCREATE(CGXRecordInfoWnd, CWnd)

namespace {
const UINT kEditId = 27001;
} // namespace

// ---------------------------------------------------------------------------
// The number edit

BEGIN_MESSAGE_MAP(CGXRecordInfoEdit, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_SETFOCUS()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

void CGXRecordInfoEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        if (m_pBeam != nullptr)
            m_pBeam->OnButton(4);
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CGXRecordInfoEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // The edit holds one number: Enter was acted on at the key press.
    if (nChar == '\r' || nChar == '\n')
        return;
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CGXRecordInfoEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    SendMessage(EM_SETSEL, 0, -1);
    SendMessage(EM_SCROLLCARET, 0, 0);
}

UINT CGXRecordInfoEdit::OnGetDlgCode() { return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS; }

// ---------------------------------------------------------------------------
// The record beam

CGXRecordInfoBeam::CGXRecordInfoBeam()
{
    m_cyBeam = m_cxButton = ::GetSystemMetrics(SM_CYHSCROLL);
    m_hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    m_wndEdit.m_pBeam = this;
    CalcRects();
    LoadColors();
}

CGXRecordInfoBeam::~CGXRecordInfoBeam()
{
    if (m_wndEdit.GetSafeHwnd() != nullptr)
        m_wndEdit.DestroyWindow();
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pFont;
}

void CGXRecordInfoBeam::LoadColors()
{
    m_clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrFieldFace = ::GetSysColor(COLOR_WINDOW);
    m_clrButtonFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrEditFace = ::GetSysColor(COLOR_WINDOW);
    m_brEdit.DeleteObject();
    m_brEdit.CreateSolidBrush(m_clrEditFace);
}

void CGXRecordInfoBeam::CreateFont()
{
    delete m_pFont;
    m_pFont = new CFont;
    m_pFont->CreateFont(std::max(1, m_cyBeam - 2), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0x12, 0, FF_SWISS, "Arial");
}

void CGXRecordInfoBeam::CalcRects()
{
    m_rcField.SetRect(2 * m_cxButton + 1, 0, m_nFieldWidthFactor * m_cyBeam + 1, m_cyBeam);
    // The number part of the field, right of the label.
    int cxLabel = 6 * m_cyBeam / 2;
    if (m_hWnd != nullptr && m_pFont != nullptr) {
        CClientDC dc(this);
        CFont* pOld = dc.SelectObject(m_pFont);
        const CString label = m_strLabel.IsEmpty() ? CString() : m_strLabel;
        CString text = label;
        if (text.IsEmpty())
            text.LoadString(GX_IDS_RECORD);
        cxLabel = dc.GetTextExtent(text).cx;
        dc.SelectObject(pOld);
    }
    m_rcEditArea.SetRect(std::min(static_cast<int>(m_rcField.left + 4 + cxLabel + 4), static_cast<int>(m_rcField.right - 2)), 1,
                         m_rcField.right - 1, m_cyBeam - 1);
    if (m_wndEdit.GetSafeHwnd() != nullptr)
        m_wndEdit.MoveWindow(&m_rcEditArea, FALSE);
}

BOOL CGXRecordInfoBeam::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CWnd::Create("GXNDBLCLKSWND", nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    CreateFont();
    SetWindowPos(nullptr, 0, 0, rect.right - rect.left, m_cyBeam, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LoadColors();
    if (!m_wndEdit.CreateEx(0, "GXEDIT", "", 0x50000044, CRect(0, 0, 0, 0), this, kEditId))
        return FALSE;
    m_wndEdit.SetFont(m_pFont, FALSE);
    CalcRects();
    m_wndEdit.SetWindowText(GetRecordText());
    return TRUE;
}

int CGXRecordInfoBeam::GetBeamWidth() { return m_nFieldWidthFactor * m_cyBeam + 2 * m_cxButton; }
BOOL CGXRecordInfoBeam::IsFirstRecord() { return m_nCurrentRecord == 1; }
BOOL CGXRecordInfoBeam::IsLastRecord() { return m_nCurrentRecord == m_nRecordCount; }

CString CGXRecordInfoBeam::GetRecordText()
{
    CString s;
    s.Format("%ld", m_nCurrentRecord);
    return s;
}

CRect CGXRecordInfoBeam::GetButtonRect(int nButton) const
{
    const int x = nButton < 2 ? nButton * m_cxButton : nButton * m_cxButton + m_rcField.Width() + 1;
    return CRect(x, 0, x + m_cxButton, m_cyBeam);
}

int CGXRecordInfoBeam::HitTest(int x, int y, int nExpected)
{
    if (y < 0 || y > m_cyBeam || m_cxButton <= 0)
        return -1;
    // A button answers where it is drawn: the pixel between the previous button and the field,
    // and the field itself, belong to none.
    int b = 0;
    while (b < 4 && (x < GetButtonRect(b).left || x >= GetButtonRect(b).right))
        ++b;
    if (b == 4)
        return -1;
    if ((b == 0 || b == 1) && IsFirstRecord())
        return -1;
    if ((b == 2 || b == 3) && IsLastRecord())
        return -1;
    if (nExpected >= 0 && b != nExpected)
        return -1;
    return b;
}

void CGXRecordInfoBeam::OnButton(int nButton)
{
    LPARAM lParam = 0;
    if (nButton == 4) {
        CString s;
        m_wndEdit.GetWindowText(s);
        // Read as atol reads it, but a number too large for a long saturates instead of
        // wrapping: it then lands on the last record, a too small one on the first.
        lParam = static_cast<LPARAM>(std::strtol(s, nullptr, 10));
    }
    CWnd* pNotify = m_pNotifyWnd != nullptr ? m_pNotifyWnd : GetParent();
    if (pNotify != nullptr && pNotify->GetSafeHwnd() != nullptr)
        pNotify->SendMessage(GXWM_RECORDNAVIGATE, static_cast<WPARAM>(nButton), lParam);
}

void CGXRecordInfoBeam::DrawButton(CDC* pDC, int nButton, BOOL bPressed)
{
    GXDrawBeamButton(pDC, GetButtonRect(nButton), nButton, bPressed);
}

BEGIN_MESSAGE_MAP(CGXRecordInfoBeam, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CTLCOLOR()
    ON_WM_SETTINGCHANGE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

void CGXRecordInfoBeam::OnPaint()
{
    CPaintDC dc(this);
    for (int b = 0; b < 4; ++b)
        DrawButton(&dc, b, m_bButtonDown && b == m_nPressedButton);
    CRect field = m_rcField;
    dc.FillSolidRect(&field, m_clrFieldFace);
    const COLORREF clrTop = GXGetSysData()->m_bNewShell ? ::GetSysColor(COLOR_BTNFACE)
                                                         : ::GetSysColor(COLOR_WINDOWFRAME);
    dc.FillSolidRect(field.left, field.top, field.Width(), 1, clrTop);
    dc.FillSolidRect(field.left, field.bottom - 1, field.Width(), 1, RGB(0, 0, 0));
    CFont* pOld = m_pFont != nullptr ? dc.SelectObject(m_pFont) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_clrText);
    const int cyText = dc.GetTextExtent("W", 1).cy;
    const int y = field.top + (field.Height() - cyText) / 2;
    CString label = m_strLabel;
    if (label.IsEmpty())
        label.LoadString(GX_IDS_RECORD);
    dc.TextOut(field.left + 4, y, label);
    const BOOL bEditing = m_wndEdit.GetSafeHwnd() != nullptr && m_wndEdit.IsWindowVisible() &&
                          ::GetFocus() == m_wndEdit.GetSafeHwnd();
    if (!bEditing)
        dc.TextOut(m_rcEditArea.left, y, GetRecordText());
    if (pOld != nullptr)
        dc.SelectObject(pOld);
    // The edit shows the current record unless the user is typing into it.
    if (!bEditing && m_wndEdit.GetSafeHwnd() != nullptr) {
        CString now;
        m_wndEdit.GetWindowText(now);
        if (now != GetRecordText())
            m_wndEdit.SetWindowText(GetRecordText());
    }
}

BOOL CGXRecordInfoBeam::OnEraseBkgnd(CDC*) { return TRUE; }

void CGXRecordInfoBeam::OnLButtonDown(UINT nFlags, CPoint point)
{
    const int b = HitTest(point.x, point.y, -1);
    if (b >= 0) {
        TrackButton(b, point);
        return;
    }
    if (m_rcEditArea.PtInRect(point) && m_wndEdit.GetSafeHwnd() != nullptr) {
        m_wndEdit.SetWindowText(GetRecordText());
        m_wndEdit.SetFocus();
        Invalidate(FALSE);
        CPoint pt = point;
        MapWindowPoints(&m_wndEdit, &pt, 1);
        m_wndEdit.SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
    }
}

void CGXRecordInfoBeam::TrackButton(int nButton, CPoint ptPress)
{
    HWND hWnd = m_hWnd;
    m_nPressedButton = nButton;
    m_bButtonDown = TRUE;
    m_bTracking = TRUE;
    {
        CClientDC dc(this);
        DrawButton(&dc, nButton, TRUE);
    }
    // 400 ms to the first repeat, then 100 ms less per repeat while 301 ms or more, then 20 ms
    // less down to 100 ms.
    GXBeamRepeat repeat(400, 100, 301, 20, 100);
    BOOL bRepeated = FALSE;
    CPoint ptEnd;
    const BOOL bReleased = GXTrackHeldButton(
        hWnd, WM_LBUTTONUP, repeat, ptPress,
        [&](CPoint pt) {
            if (HitTest(pt.x, pt.y, nButton) >= 0) {
                OnButton(nButton);
                bRepeated = TRUE;
            }
        },
        [&](CPoint pt) {
            const BOOL bDown = GetButtonRect(nButton).PtInRect(pt);
            if (bDown != m_bButtonDown) {
                m_bButtonDown = bDown;
                CClientDC dc(this);
                DrawButton(&dc, nButton, bDown);
            }
        },
        &ptEnd);
    if (!::IsWindow(hWnd))
        return;
    m_bTracking = FALSE;
    m_bButtonDown = FALSE;
    m_nPressedButton = -1;
    Invalidate(FALSE);
    // A short click acts once, at the release and on the button; a held button that repeated
    // has acted already.
    if (bReleased && GetButtonRect(nButton).PtInRect(ptEnd) && !bRepeated)
        OnButton(nButton);
}

void CGXRecordInfoBeam::OnMouseMove(UINT, CPoint point)
{
    if (!m_rcEditArea.PtInRect(point))
        ::SetCursor(m_hCursor);
}

void CGXRecordInfoBeam::OnLButtonUp(UINT, CPoint)
{
    if (m_bTracking)
        return;
    Invalidate(FALSE);
}

HBRUSH CGXRecordInfoBeam::OnCtlColor(CDC* pDC, CWnd*, UINT)
{
    if (pDC != nullptr) {
        pDC->SetBkColor(m_clrEditFace);
        pDC->SetTextColor(m_clrText);
    }
    return static_cast<HBRUSH>(m_brEdit.GetSafeHandle());
}

void CGXRecordInfoBeam::OnSettingChange(UINT, LPCSTR)
{
    const int cy = ::GetSystemMetrics(SM_CYHSCROLL);
    if (cy == m_cyBeam)
        return;
    m_cyBeam = m_cxButton = cy;
    CreateFont();
    if (m_wndEdit.GetSafeHwnd() != nullptr)
        m_wndEdit.SetFont(m_pFont, FALSE);
    CalcRects();
    Invalidate(FALSE);
}

void CGXRecordInfoBeam::OnSysColorChange()
{
    LoadColors();
    Invalidate(FALSE);
}

// ---------------------------------------------------------------------------
// The record window

CGXRecordInfoWnd::CGXRecordInfoWnd(CRuntimeClass* pBeamClass)
    : m_pBeamClass(pBeamClass != nullptr ? pBeamClass : RUNTIME_CLASS(CGXRecordInfoBeam))
{
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyBottom = m_cyHScroll + 2 * CGXTabWnd::GetBorderWidth();
    m_hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    GXRegisterScrollParentClass(RUNTIME_CLASS(CGXRecordInfoWnd));
}

CGXRecordInfoWnd::~CGXRecordInfoWnd()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pBeam;
}

BOOL CGXRecordInfoWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!GXCreateStripWindow(this, pParentWnd, dwStyle, nID, m_bHScroll, m_bVScroll))
        return FALSE;
    return CreateChildren();
}

BOOL CGXRecordInfoWnd::CreateChildren()
{
    if (m_bChildren)
        return TRUE;
    m_bChildren = TRUE;
    Strip().CreateBars();
    m_pBeam = GXCreateBeam<CGXRecordInfoBeam>(m_pBeamClass, this);
    return TRUE;
}

CWnd* CGXRecordInfoWnd::GetPane()
{
    if (m_pPane == nullptr && m_hWnd != nullptr)
        m_pPane = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, 0xE900));
    return m_pPane;
}

GXBottomStrip CGXRecordInfoWnd::Strip()
{
    return GXBottomStrip{this, m_bHScroll, m_bVScroll, m_cxVScroll, m_cyHScroll, m_cyBottom,
                         m_wndHScroll, m_wndVScroll, m_wndSizeBox};
}

void CGXRecordInfoWnd::GetInsideRect(CRect& rect) { Strip().GetInsideRect(rect); }

void CGXRecordInfoWnd::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    if (!m_bChildren) {
        m_bHScroll = m_bVScroll = TRUE;
        CreateChildren();
    }
    if (m_pBeam != nullptr)
        m_nBeamWidth = m_pBeam->GetBeamWidth();
    CRect client, inside;
    GetClientRect(&client);
    GetInsideRect(inside);
    HDWP hdwp = ::BeginDeferWindowPos(5);
    Strip().Layout(hdwp, m_pBeam, m_nBeamWidth, m_nSplitterWidth, TRUE);
    CWnd* pPane = GetPane();
    // The grid answers the beam's buttons.
    if (m_pBeam != nullptr && m_pBeam->m_pNotifyWnd == nullptr)
        m_pBeam->m_pNotifyWnd = pPane;
    if (pPane != nullptr)
        GXDeferChildPos(hdwp, pPane, 1, 1, inside.Width() - 2, inside.Height() - 2, FALSE);
    if (hdwp != nullptr)
        ::EndDeferWindowPos(hdwp);
    m_bLaidOut = TRUE;
    m_nLastWidth = client.Width();
}

BEGIN_MESSAGE_MAP(CGXRecordInfoWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_WM_SETTINGCHANGE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

void CGXRecordInfoWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd* pPane = GetPane();
    const BOOL bPane = pPane != nullptr && pPane->GetSafeHwnd() != nullptr;
    if (bPane)
        pPane->SendMessage(GXWM_LOCKSIZEREDRAW, 1, 0);
    if (nType != SIZE_MINIMIZED && cx >= 1 && cy >= 1 && cx < 32767 && cy < 32767)
        RecalcLayout();
    Invalidate();
    if (bPane) {
        pPane->SendMessage(GXWM_LOCKSIZEREDRAW, 0, 0);
        CRect rc;
        pPane->GetClientRect(&rc);
        pPane->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
    }
}

void CGXRecordInfoWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (CWnd* pPane = GetPane())
        pPane->SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), reinterpret_cast<LPARAM>(AfxGetSafeHwnd(pScrollBar)));
}

void CGXRecordInfoWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (CWnd* pPane = GetPane())
        pPane->SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), reinterpret_cast<LPARAM>(AfxGetSafeHwnd(pScrollBar)));
}

void CGXRecordInfoWnd::OnSetFocus(CWnd*)
{
    CWnd* pPane = GetPane();
    if (pPane != nullptr && pPane->GetSafeHwnd() != nullptr)
        pPane->SetFocus();
}

BOOL CGXRecordInfoWnd::OnEraseBkgnd(CDC* pDC)
{
    if (pDC != nullptr) {
        CRect rc;
        GetClientRect(&rc);
        pDC->FillRect(&rc, &m_brBackground);
    }
    return TRUE;
}

void CGXRecordInfoWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bHScroll)
        return;
    CRect client, inside;
    GetClientRect(&client);
    GetInsideRect(inside);
    const int x = m_nBeamWidth, top = inside.bottom;
    dc.FillSolidRect(x, top, m_nSplitterWidth, client.bottom - top, ::GetSysColor(COLOR_BTNFACE));
    const COLORREF clrTop = GXGetSysData()->m_bNewShell ? ::GetSysColor(COLOR_BTNFACE)
                                                         : ::GetSysColor(COLOR_WINDOWFRAME);
    dc.FillSolidRect(x, top, m_nSplitterWidth, 1, clrTop);
    dc.FillSolidRect(x, client.bottom - 1, m_nSplitterWidth, 1, RGB(0, 0, 0));
}

void CGXRecordInfoWnd::OnNcPaint() { Default(); }

void CGXRecordInfoWnd::OnSettingChange(UINT, LPCSTR)
{
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyBottom = m_cyHScroll + 2 * CGXTabWnd::GetBorderWidth();
    RecalcLayout();
}

void CGXRecordInfoWnd::OnSysColorChange()
{
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    Invalidate();
}

// ---------------------------------------------------------------------------
// The grid's side: its record beam follows the current row

void CGXGridEngine::UpdateRecordWindow()
{
    if (m_pGridWnd == nullptr || m_pGridWnd->GetSafeHwnd() == nullptr)
        return;
    auto* pWnd = dynamic_cast<CGXRecordInfoWnd*>(
        GXGetParentOfClass(m_pGridWnd, RUNTIME_CLASS(CGXRecordInfoWnd), TRUE));
    CGXRecordInfoBeam* pBeam = pWnd != nullptr ? pWnd->GetBeam() : nullptr;
    if (pBeam == nullptr || pBeam->GetSafeHwnd() == nullptr)
        return;
    const ROWCOL H = GetHeaderRows(), nRows = GetRowCount();
    const long nCount = nRows > H ? static_cast<long>(nRows - H) : 0;
    ROWCOL r = 0, c = 0;
    const long nCurrent = GetCurrentCellPos(r, c) && r > H ? static_cast<long>(r - H) : 1;
    if (pBeam->GetRecordCount() == nCount && pBeam->GetCurrentRecord() == nCurrent)
        return;
    pBeam->SetRecordCount(nCount);
    pBeam->SetCurrentRecord(nCurrent);
    pBeam->Invalidate(FALSE);
    pBeam->UpdateWindow();
}
