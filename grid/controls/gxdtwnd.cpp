// The date/time window.
#include "gxdtwnd.h"
#include "gxinit.h"
#include <algorithm>
#include <windowsx.h>

// ---------------------------------------------------------------------------
// Calendar button

BOOL CGXBDTButtonGadget::Initialise(GXBDTGadgetOwner* pOwner, UINT nBitmapID, int nID)
{
    CGXBDTGadget::Initialise(pOwner, nID);
    m_nBitmapID = nBitmapID;
    OnSysColorChange();
    return m_hBitmap != nullptr;
}

void CGXBDTButtonGadget::OnSysColorChange()
{
    // The library keeps the bitmap in the current system colours.
    GXSysColors* sys = GXGetSysData();
    m_hBitmap = sys != nullptr ? sys->m_hButtonBitmap : nullptr;
}

void CGXBDTButtonGadget::CalcSize(CDC*) { m_rect = CRect(0, 0, 16, -1); }

void CGXBDTButtonGadget::Draw(CDC* pDC)
{
    CRect r = m_rect;
    const BOOL pressed = (m_nState & 0x2) != 0;
    if (pressed) {
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNSHADOW));
        r.DeflateRect(1, 1);
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
    } else {
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOWFRAME));
        r.DeflateRect(1, 1);
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
    r.DeflateRect(1, 1);
    pDC->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
    if (m_hBitmap == nullptr)
        return;
    BITMAP bm{};
    ::GetObject(m_hBitmap, sizeof(bm), &bm);
    CDC mem;
    mem.CreateCompatibleDC(pDC);
    HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), m_hBitmap);
    const int x = r.left + (r.Width() - bm.bmWidth) / 2 + (pressed ? 1 : 0);
    const int y = r.top + (r.Height() - bm.bmHeight) / 2 + (pressed ? 1 : 0);
    pDC->BitBlt(x, y, bm.bmWidth, bm.bmHeight, &mem, 0, 0, SRCCOPY);
    ::SelectObject(mem.GetSafeHdc(), old);
}

void CGXBDTButtonGadget::OnLButtonDown(UINT, CPoint)
{
    m_nState = 0x3;
    Invalidate(TRUE);
    CaptureMouse(TRUE);
}

void CGXBDTButtonGadget::OnMouseMove(UINT, CPoint pt)
{
    if (!(m_nState & 0x1))
        return;
    const UINT pressed = m_rect.PtInRect(pt) ? 0x2u : 0u;
    if ((m_nState & 0x2) != pressed) {
        m_nState = 0x1 | pressed;
        Invalidate(TRUE);
    }
}

void CGXBDTButtonGadget::OnLButtonUp(UINT, CPoint pt)
{
    if (!(m_nState & 0x1))
        return;
    m_nState = 0;
    CaptureMouse(FALSE);
    Invalidate(TRUE);
    if (m_rect.PtInRect(pt))
        Notify(GXDTN_CLICKED, m_nID, 0);
}

void CGXBDTButtonGadget::OnCancelMode()
{
    if (m_nState == 0)
        return;
    m_nState = 0;
    CaptureMouse(FALSE);
    Invalidate(TRUE);
}

// ---------------------------------------------------------------------------
// Window

CGXBDateTimeCtrl::CGXBDateTimeCtrl()
    : m_dt(COleDateTime::GetCurrentTime()), m_clrText(GXGetSysColor(COLOR_WINDOWTEXT)),
      m_clrBack(GXGetSysColor(COLOR_WINDOW))
{
}

CGXBDateTimeCtrl::~CGXBDateTimeCtrl()
{
    ReleaseGadgetCapture();
    ClosePopup();
    for (CGXBDTGadget* g : m_gadgets)
        delete g;
    m_gadgets.clear();
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

BOOL CGXBDateTimeCtrl::Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID)
{
    GXSysColors* sys = GXGetSysData();
    LPCSTR cls = AfxRegisterWndClass(0, sys != nullptr ? sys->m_hArrowCursor : ::LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(dwExStyle, cls, nullptr, dwStyle | WS_CHILD, rect, pParent, nID))
        return FALSE;
    HFONT hFont = pParent != nullptr ? reinterpret_cast<HFONT>(pParent->SendMessage(WM_GETFONT)) : nullptr;
    m_hFont = hFont != nullptr ? hFont : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    for (CGXBDTGadget* g : m_gadgets)
        delete g;
    m_gadgets.clear();
    if (dwStyle & GXDTS_CALENDAR) {
        auto* button = new CGXBDTButtonGadget;
        button->Initialise(this, 23240, GXDT_BUTTON);
        button->SetStyle(button->GetStyle() | CGXBDTGadget::styleRightEdge);
        m_gadgets.push_back(button);
    }
    if (dwStyle & GXDTS_SPIN) {
        auto* spin = new CGXBDTSpinGadget;
        spin->Initialise(this, GXDT_SPIN);
        spin->SetStyle(spin->GetStyle() | CGXBDTGadget::styleRightEdge);
        m_gadgets.push_back(spin);
    }
    m_nButtons = static_cast<int>(m_gadgets.size());
    m_nFocus = m_nButtons;
    BuildFields();
    LayoutGadgets();
    return TRUE;
}

CString CGXBDateTimeCtrl::GetFormatString() const
{
    return GXDateTimePicture(m_nFormatType, m_strCustom, COleDateTime::GetLocale(LANG_USER_DEFAULT));
}

void CGXBDateTimeCtrl::BuildFields()
{
    std::vector<GXBDTFieldSpec> fields;
    GXParseDateTimePicture(GetFormatString(), COleDateTime::GetLocale(LANG_USER_DEFAULT), m_nNoEdit, fields);
    GXBuildDateTimeGadgets(this, fields, m_gadgets);
    RefreshGadgets(m_dt, TRUE);
}

void CGXBDateTimeCtrl::Rebuild()
{
    if (GetSafeHwnd() == nullptr)
        return;
    ReleaseGadgetCapture();
    ClosePopup();
    // A number being typed is given up with its field; no flag stays set.
    m_nState &= ~0x4u;
    m_nFocus = 0;
    m_nScroll = 0;
    for (size_t i = static_cast<size_t>(m_nButtons); i < m_gadgets.size(); ++i)
        delete m_gadgets[i];
    m_gadgets.resize(static_cast<size_t>(m_nButtons));
    BuildFields();
    LayoutGadgets();
    Invalidate(FALSE);
}

void CGXBDateTimeCtrl::SetFormat(int nType)
{
    m_strCustom.Empty();
    m_nFormatType = nType;
    Rebuild();
}

void CGXBDateTimeCtrl::SetFormat(LPCSTR lpszPicture)
{
    m_strCustom = lpszPicture != nullptr ? lpszPicture : "";
    m_nFormatType = 3;
    Rebuild();
}

void CGXBDateTimeCtrl::SetFieldFlags(UINT nFlags)
{
    m_nNoEdit = nFlags;
    Rebuild();
}

void CGXBDateTimeCtrl::RefreshGadgets(const COleDateTime& old, BOOL bAll)
{
    for (size_t i = static_cast<size_t>(m_nButtons); i < m_gadgets.size(); ++i) {
        CGXBDTGadget* g = m_gadgets[i];
        if (g->GetID() <= 0)
            continue;
        const int v = GXDateTimeFieldValue(g->GetID(), m_dt);
        if (bAll || v != GXDateTimeFieldValue(g->GetID(), old) || v != g->GetValue()) {
            g->SetValue(v);
            if (GetSafeHwnd() != nullptr)
                InvalidateGadget(g, FALSE);
        }
    }
}

BOOL CGXBDateTimeCtrl::SetDateTime(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return FALSE;
    const COleDateTime old = m_dt;
    m_dt = date;
    RefreshGadgets(old, FALSE);
    return TRUE;
}

BOOL CGXBDateTimeCtrl::SetRange(const COleDateTime& dtMin, const COleDateTime& dtMax, int nMode)
{
    if (!m_rules.SetRange(nMode, dtMin, dtMax))
        return FALSE;
    COleDateTime copy = m_dt;
    if (!m_rules.ValidateDate(copy, -1))
        return FALSE;
    if (GetSafeHwnd() != nullptr)
        SetDateTime(copy);
    return TRUE;
}

BOOL CGXBDateTimeCtrl::IsInRange(const COleDateTime& date) const
{
    const int mode = m_rules.GetMode();
    if (mode == 0)
        return date.GetStatus() == COleDateTime::valid;
    const COleDateTime c = m_rules.Reduce(date);
    return c.GetStatus() == COleDateTime::valid && m_rules.GetMin() <= c && c <= m_rules.GetMax();
}

BOOL CGXBDateTimeCtrl::CanChange(const COleDateTime&) { return TRUE; }

void CGXBDateTimeCtrl::OnChanged()
{
    if (GetSafeHwnd() == nullptr || (GetExStyle() & WS_EX_NOPARENTNOTIFY))
        return;
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), GXDTN_CHANGED), reinterpret_cast<LPARAM>(m_hWnd));
}

CGXBDTGadget* CGXBDateTimeCtrl::GetFocusGadget() const
{
    // An index outside the array names no gadget.
    if (m_nFocus < 0 || m_nFocus >= GetGadgetCount())
        return nullptr;
    return m_gadgets[static_cast<size_t>(m_nFocus)];
}

BOOL CGXBDateTimeCtrl::CommitTyping()
{
    auto* pNumber = dynamic_cast<CGXBDTNumericGadget*>(GetFocusGadget());
    return pNumber == nullptr || pNumber->CommitPending();
}

void CGXBDateTimeCtrl::SetFocusIndex(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetGadgetCount() || nIndex == m_nFocus)
        return;
    const BOOL has = GetSafeHwnd() != nullptr && ::GetFocus() == m_hWnd;
    if (CGXBDTGadget* old = GetFocusGadget())
        old->SetFocus(FALSE);
    m_nFocus = nIndex;
    if (has)
        m_gadgets[static_cast<size_t>(nIndex)]->SetFocus(TRUE);
    ScrollIntoView(nIndex);
}

// ---------------------------------------------------------------------------
// Layout and painting

void CGXBDateTimeCtrl::LayoutGadgets()
{
    if (GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    HGDIOBJ old = m_hFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), m_hFont) : nullptr;
    CRect c;
    GetClientRect(&c);
    m_nRightWidth = 0;
    int x = 1, right = c.right;
    for (CGXBDTGadget* g : m_gadgets) {
        g->CalcSize(&dc);
        CRect r = g->GetRect();
        const int w = r.Width();
        if (r.bottom == -1) {
            r.top = c.top;
            r.bottom = c.bottom;
        } else {
            r.OffsetRect(0, 1 - r.top);
        }
        if (g->GetStyle() & CGXBDTGadget::styleRightEdge) {
            r.left = right - w;
            r.right = right;
            right -= w;
            m_nRightWidth += w;
        } else {
            r.left = x;
            r.right = x + w;
            x += w;
        }
        g->SetRect(r);
    }
    if (old != nullptr)
        ::SelectObject(dc.GetSafeHdc(), old);
}

void CGXBDateTimeCtrl::DrawGadgets(CDC* pDC)
{
    CRect c;
    GetClientRect(&c);
    pDC->FillSolidRect(&c, m_clrBack);
    HGDIOBJ oldFont = m_hFont != nullptr ? ::SelectObject(pDC->GetSafeHdc(), m_hFont) : nullptr;
    for (int i = 0; i < m_nButtons; ++i) {
        CGXBDTGadget* g = m_gadgets[static_cast<size_t>(i)];
        if (pDC->RectVisible(&g->GetRect())) {
            g->Draw(pDC);
            pDC->ExcludeClipRect(&g->GetRect());
        }
    }
    const CPoint origin = pDC->SetViewportOrg(-m_nScroll, 0);
    for (size_t i = static_cast<size_t>(m_nButtons); i < m_gadgets.size(); ++i) {
        CGXBDTGadget* g = m_gadgets[i];
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetBkColor(m_clrBack);
        pDC->SetTextColor(m_clrText);
        if (pDC->RectVisible(&g->GetRect()))
            g->Draw(pDC);
    }
    pDC->SetViewportOrg(origin);
    if (oldFont != nullptr)
        ::SelectObject(pDC->GetSafeHdc(), oldFont);
}

void CGXBDateTimeCtrl::OnPaint()
{
    PAINTSTRUCT ps;
    CDC* pDC = BeginPaint(&ps);
    CRect clip;
    pDC->GetClipBox(&clip);
    CRect client;
    GetClientRect(&client);
    CDC mem;
    CBitmap bmp;
    if (mem.CreateCompatibleDC(pDC) && bmp.CreateCompatibleBitmap(pDC, client.Width(), client.Height())) {
        CBitmap* pOld = mem.SelectObject(&bmp);
        mem.IntersectClipRect(&clip);
        DrawGadgets(&mem);
        pDC->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &mem, clip.left, clip.top, SRCCOPY);
        mem.SelectObject(pOld);
    } else {
        DrawGadgets(pDC);
    }
    EndPaint(&ps);
}

void CGXBDateTimeCtrl::InvalidateGadget(CGXBDTGadget* pGadget, BOOL bUpdate)
{
    if (pGadget == nullptr || GetSafeHwnd() == nullptr)
        return;
    CRect r = pGadget->GetRect();
    if (!(pGadget->GetStyle() & CGXBDTGadget::styleRightEdge))
        r.OffsetRect(-m_nScroll, 0);
    InvalidateRect(&r, TRUE);
    if (bUpdate)
        UpdateWindow();
}

void CGXBDateTimeCtrl::ScrollIntoView(int nIndex)
{
    if (GetSafeHwnd() == nullptr || nIndex < m_nButtons || nIndex >= GetGadgetCount())
        return;
    const CRect& r = m_gadgets[static_cast<size_t>(nIndex)]->GetRect();
    CRect c;
    GetClientRect(&c);
    CRect band(c.left + 1, c.top, c.right - 1 - m_nRightWidth, c.bottom);
    band.OffsetRect(m_nScroll, 0);
    if (r.left >= band.left && r.right <= band.right)
        return;
    if (r.left < band.left) {
        m_nScroll = r.left - 1 < 0 ? 0 : r.left - 1;
    } else {
        m_nScroll += r.right - band.right;
        if (r.left < band.left + (r.right - band.right))
            m_nScroll = r.left - 1;
    }
    Invalidate(FALSE);
}

void CGXBDateTimeCtrl::MoveFocus(int nDirection)
{
    for (int i = m_nFocus + nDirection; i >= 0 && i < GetGadgetCount(); i += nDirection) {
        if (m_gadgets[static_cast<size_t>(i)]->GetStyle() & CGXBDTGadget::styleFocus) {
            SetFocusIndex(i);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Notifications from gadgets

LRESULT CGXBDateTimeCtrl::OnGadgetNotify(int nCode, int nID, int nValue)
{
    if (nCode == GXDTN_TYPING) {
        m_nState = nValue ? (m_nState | 0x4) : (m_nState & ~0x4u);
        return 1;
    }
    if (nID == GXDT_BUTTON)
        return DropCalendar();
    if (nID == GXDT_SPIN) {
        CGXBDTGadget* g = GetFocusGadget();
        if (g == nullptr || g->GetID() <= 0 || g->GetID() >= GXDT_BUTTON)
            return 0;
        return OnGadgetNotify(nCode, g->GetID(), nValue);
    }
    COleDateTime result;
    const int r = m_rules.ChangeField(m_dt, nCode, nID, nValue, result);
    if (r == -1)
        return nID > 0 && nID <= GXDT_YEAR4 ? 1 : 0;
    if (r == 0)
        return 0;
    if (nCode == GXDTN_QUERY)
        return 1;
    if (!CanChange(result))
        return 0;
    const COleDateTime old = m_dt;
    m_dt = result;
    RefreshGadgets(old, FALSE);
    m_nState |= 0x1;
    OnChanged();
    if (GetSafeHwnd() != nullptr)
        UpdateWindow();
    return 1;
}

void CGXBDateTimeCtrl::CaptureGadget(CGXBDTGadget* pGadget, BOOL bCapture)
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (bCapture) {
        m_pCapture = pGadget;
        SetCapture();
    } else if (m_pCapture == pGadget) {
        m_pCapture = nullptr;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
}

void CGXBDateTimeCtrl::ReleaseGadgetCapture()
{
    if (m_pCapture != nullptr) {
        CGXBDTGadget* g = m_pCapture;
        g->OnCancelMode();
        m_pCapture = nullptr;
        if (GetSafeHwnd() != nullptr && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
}

void CGXBDateTimeCtrl::ClosePopup()
{
    if (m_pPopup != nullptr) {
        if (m_pPopup->GetSafeHwnd() != nullptr)
            m_pPopup->DestroyWindow();
        delete m_pPopup;
        m_pPopup = nullptr;
    }
}

LRESULT CGXBDateTimeCtrl::DropCalendar()
{
    // One popup at a time: an open one goes first.
    ClosePopup();
    if (CGXBDTGadget* g = GetFocusGadget())
        g->OnCancelMode();
    if (GetSafeHwnd() == nullptr)
        return 0;
    GXSetGlobalValue(TRUE);
    auto* popup = new CGXBPopupCalendar;
    popup->SetOptions(popup->GetOptions() | 0x1000200);
    popup->SetOtherMonthStyle(popup->GetOtherMonthStyle() | 0x102);
    popup->SetDate(m_dt, FALSE);
    popup->SelectDate(m_dt, TRUE);
    CRect r;
    GetWindowRect(&r);
    if (popup->PlaceWindow(0x90040001, r, this, 0))
        m_pPopup = popup;
    else
        delete popup;
    GXSetGlobalValue(FALSE);
    return 1;
}

void CGXBDateTimeCtrl::OnCalendarChosen()
{
    COleDateTime chosen;
    if (m_pPopup == nullptr || !m_pPopup->GetCurrentDate(chosen) || chosen.GetStatus() != COleDateTime::valid)
        return;
    // The day from the calendar, the time of day kept.
    const COleDateTime value(chosen.GetYear(), chosen.GetMonth(), chosen.GetDay(), m_dt.GetHour(), m_dt.GetMinute(),
                             m_dt.GetSecond());
    if (value.GetStatus() != COleDateTime::valid || value == m_dt || !IsInRange(value) || !CanChange(value))
        return;
    m_nState |= 0x1;
    SetDateTime(value);
    OnChanged();
}

// ---------------------------------------------------------------------------
// Messages

BOOL CGXBDateTimeCtrl::HasBorder() const
{
    GXSysColors* sys = GXGetSysData();
    return (GetExStyle() & WS_EX_CLIENTEDGE) != 0 && !(sys != nullptr && sys->m_bNewShell);
}

CPoint CGXBDateTimeCtrl::ToGadget(CGXBDTGadget* pGadget, CPoint pt) const
{
    if (!(pGadget->GetStyle() & CGXBDTGadget::styleRightEdge))
        pt.x += m_nScroll;
    return pt;
}

int CGXBDateTimeCtrl::HitGadget(CPoint pt) const
{
    const DWORD hit = CGXBDTGadget::styleFocus | CGXBDTGadget::styleMouse;
    for (int i = 0; i < m_nButtons; ++i) {
        const CGXBDTGadget* g = m_gadgets[static_cast<size_t>(i)];
        if ((g->GetStyle() & hit) && g->GetRect().PtInRect(pt))
            return i;
    }
    const int x = pt.x + m_nScroll;
    int last = -1;
    for (int i = m_nButtons; i < GetGadgetCount(); ++i) {
        const CGXBDTGadget* g = m_gadgets[static_cast<size_t>(i)];
        if (!(g->GetStyle() & hit))
            continue;
        last = i;
        if (g->GetRect().right >= x)
            return i;
    }
    if (last >= 0)
        return last;
    return m_nButtons < GetGadgetCount() ? m_nButtons : -1;
}

void CGXBDateTimeCtrl::OnLButtonDown(UINT nFlags, CPoint pt)
{
    const int i = HitGadget(pt);
    if (i < 0)
        return;
    CGXBDTGadget* g = m_gadgets[static_cast<size_t>(i)];
    if (::GetFocus() != m_hWnd) {
        if (g->GetStyle() & CGXBDTGadget::styleFocus) {
            m_nFocus = i;
            ScrollIntoView(i);
        }
        SetFocus();
    } else if (i != m_nFocus && (g->GetStyle() & CGXBDTGadget::styleFocus)) {
        SetFocusIndex(i);
    }
    if (g->GetStyle() & CGXBDTGadget::styleMouse)
        g->OnLButtonDown(nFlags, ToGadget(g, pt));
}

LRESULT CGXBDateTimeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const BOOL gadgets = !m_gadgets.empty();
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT r = Default();
        if (CGXBDTGadget* g = GetFocusGadget())
            g->SetFocus(message == WM_SETFOCUS);
        return r;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        if (!gadgets)
            break;
        if (wParam == VK_LEFT || wParam == VK_RIGHT) {
            // A number being typed is committed before the focus moves.
            if (CGXBDTGadget* g = GetFocusGadget())
                g->OnCancelMode();
            MoveFocus(wParam == VK_LEFT ? -1 : 1);
        } else if (wParam == VK_F4) {
            if (GetStyle() & GXDTS_CALENDAR)
                DropCalendar();
        } else if (CGXBDTGadget* g = GetFocusGadget()) {
            g->OnKeyDown(static_cast<UINT>(wParam));
        }
        return 0;
    case WM_SYSKEYDOWN:
        if (gadgets && wParam == VK_DOWN && (GetStyle() & GXDTS_CALENDAR)) {
            DropCalendar();
            return 0;
        }
        break;
    case WM_CHAR:
        if (!gadgets)
            break;
        if (CGXBDTGadget* g = GetFocusGadget())
            g->OnChar(static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        if (!gadgets)
            break;
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        if (m_pCapture != nullptr) {
            const CPoint pt = ToGadget(m_pCapture, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
            if (message == WM_LBUTTONUP)
                m_pCapture->OnLButtonUp(static_cast<UINT>(wParam), pt);
            else
                m_pCapture->OnMouseMove(static_cast<UINT>(wParam), pt);
            return 0;
        }
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        // A lost capture ends a press as cancel mode does.
        if (m_pCapture != nullptr && (message == WM_CANCELMODE || reinterpret_cast<HWND>(lParam) != m_hWnd)) {
            CGXBDTGadget* g = m_pCapture;
            m_pCapture = nullptr;
            g->OnCancelMode();
            return 0;
        }
        break;
    case WM_SIZE: {
        const LRESULT r = Default();
        LayoutGadgets();
        Invalidate(FALSE);
        return r;
    }
    case WM_SYSCOLORCHANGE:
        if (GXSysColors* sys = GXGetSysData())
            sys->Update();
        for (CGXBDTGadget* g : m_gadgets)
            g->OnSysColorChange();
        break;
    case WM_SETTINGCHANGE: Rebuild(); return 0;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        LayoutGadgets();
        Invalidate(FALSE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(m_hFont);
    case WM_DESTROY:
        ReleaseGadgetCapture();
        ClosePopup();
        m_nFocus = 0;
        m_nScroll = 0;
        break;
    case WM_NCCALCSIZE:
        if (HasBorder()) {
            const LRESULT r = Default();
            RECT* pr = reinterpret_cast<RECT*>(lParam);
            ::InflateRect(pr, -2, -2);
            return r;
        }
        break;
    case WM_NCPAINT:
        if (HasBorder()) {
            CWindowDC dc(this);
            CRect r;
            GetWindowRect(&r);
            r.OffsetRect(-r.left, -r.top);
            dc.Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
            r.DeflateRect(1, 1);
            dc.Draw3dRect(&r, ::GetSysColor(COLOR_WINDOWFRAME), ::GetSysColor(COLOR_BTNFACE));
            return 0;
        }
        break;
    case GXM_CALENDAR_CHOSEN:
    case GXM_CALENDAR_CLOSED:
        // Only an open popup reports; the focus comes back here either way.
        if (m_pPopup != nullptr) {
            if (message == GXM_CALENDAR_CHOSEN)
                OnCalendarChosen();
            ClosePopup();
        }
        SetFocus();
        return 0;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
