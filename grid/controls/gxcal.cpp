// The month calendar and its panels.
#include "gxcal.h"
#include "gxinit.h"
#include <algorithm>
#include <windowsx.h>

IMPLEMENT_DYNCREATE(CGXBPanel, CObject)
IMPLEMENT_DYNCREATE(CGXBCalendar, CWnd)

namespace {
const double kColumns[8] = {0, 0.143, 0.286, 0.429, 0.572, 0.715, 0.858, 1.0};
const double kRows[7] = {0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1.0};

COLORREF SysColor(int n) { return GXGetSysColor(n); }

// A panel's wanted size with a font made from a LOGFONT.
template <class F>
CSize Measure(CDC* pDC, const LOGFONT& lf, F&& text)
{
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOld = pDC->SelectObject(&font);
    const CSize size = text();
    pDC->SelectObject(pOld);
    return size;
}

// Grows a font while the wanted size stays below the rectangle (and still
// grows), then shrinks it by k until it fits.
template <class P>
void Fit(P* pPanel, CDC* pDC, LOGFONT& lf, const CRect& rect, double k)
{
    const int cx = rect.Width(), cy = rect.Height();
    if (cx <= 0 || cy <= 0) {
        lf.lfHeight = 0;
        lf.lfWidth = 0;
        return;
    }
    if (lf.lfHeight < 1)
        lf.lfHeight = lf.lfHeight < 0 ? -lf.lfHeight : 1;
    CSize size = pPanel->GetWantedSize(pDC, &lf);
    while (size.cx < cx && size.cy < cy && lf.lfHeight <= 1000) {
        LOGFONT bigger = lf;
        bigger.lfHeight *= 2;
        bigger.lfWidth *= 2;
        const CSize grown = pPanel->GetWantedSize(pDC, &bigger);
        if (grown.cx <= size.cx && grown.cy <= size.cy)
            break;   // a face that does not scale
        lf = bigger;
        size = grown;
    }
    while ((size.cx > cx || size.cy > cy) && lf.lfHeight >= 2 && (lf.lfWidth == 0 || lf.lfWidth >= 2)) {
        lf.lfHeight = std::min<LONG>(lf.lfHeight - 1, static_cast<LONG>(lf.lfHeight * k));
        if (lf.lfWidth != 0)
            lf.lfWidth = std::min<LONG>(lf.lfWidth - 1, static_cast<LONG>(lf.lfWidth * k));
        size = pPanel->GetWantedSize(pDC, &lf);
    }
}
} // namespace

// ---------------------------------------------------------------------------
// Panels

BOOL CGXBPanel::Create(const CRect& rect, CGXBCalendar* pOwner, BOOL bSelected, BOOL bMarked, DWORD dwStyle,
                       DWORD dwOptions, int nBorder)
{
    m_rect = rect;
    m_pOwner = pOwner;
    m_bSelected = bSelected;
    m_bMarked = bMarked;
    m_dwStyle = dwStyle;
    m_dwOptions = dwOptions;
    m_nBorder = nBorder;
    m_bCreated = TRUE;
    RecalcInsets();
    return TRUE;
}

void CGXBPanel::RecalcInsets()
{
    m_nFrameStart = 0;
    m_nFrameEnd = (m_dwStyle & (m_bSelected ? 0x08u : 0x10u)) ? 1 : 0;
    m_nBevelEnd = m_nFrameEnd + ((m_dwStyle & (m_bSelected ? 0x02u : 0x04u)) ? m_nBorder : 0);
    m_nRingEnd = m_nBevelEnd + (m_bMarked && (m_dwStyle & (m_bSelected ? 0x20u : 0x40u)) ? m_nBorder : 0);
    m_bDirty = FALSE;
}

CRect CGXBPanel::SetRect(const CRect& rect)
{
    const CRect old = m_rect;
    m_rect = rect;
    m_bDirty = TRUE;
    return old;
}

CRect CGXBPanel::GetInnerRect()
{
    if (m_bDirty)
        RecalcInsets();
    CRect r(m_rect.left + m_nRingEnd, m_rect.top + m_nRingEnd, m_rect.right - m_nRingEnd, m_rect.bottom - m_nRingEnd);
    if (r.right < r.left || r.bottom < r.top)
        return CRect(0, 0, 0, 0);
    return r;
}

CString CGXBPanel::SetText(LPCSTR lpszText)
{
    const CString old = m_strText;
    m_strText = lpszText;
    return old;
}

DWORD CGXBPanel::SetStyle(DWORD dwStyle)
{
    const DWORD old = m_dwStyle;
    m_dwStyle = dwStyle;
    m_bDirty = TRUE;
    return old;
}

DWORD CGXBPanel::SetOptionFlags(DWORD dwOptions)
{
    const DWORD old = m_dwOptions;
    m_dwOptions = dwOptions;
    m_bDirty = TRUE;
    return old;
}

int CGXBPanel::SetBorderWidth(int nWidth)
{
    const int old = m_nBorder;
    m_nBorder = nWidth;
    m_bDirty = TRUE;
    return old;
}

COLORREF CGXBPanel::SetTextColor(COLORREF color)
{
    const COLORREF old = m_clrText;
    m_clrText = color;
    return old;
}

void CGXBPanel::Redraw()
{
    if (!m_bCreated || m_pOwner == nullptr || m_pOwner->GetSafeHwnd() == nullptr)
        return;
    CRect r = m_rect;
    r.InflateRect(1, 1);
    r.right += 1;
    r.bottom += 1;
    m_pOwner->InvalidateRect(&r, FALSE);
    m_pOwner->UpdateWindow();
}

BOOL CGXBPanel::SetSelected(BOOL bSelected, BOOL bRedraw)
{
    if (!(m_dwOptions & GXCAL_SELECTABLE))
        return FALSE;
    m_bSelected = bSelected;
    m_bDirty = TRUE;
    if (bRedraw)
        Redraw();
    return TRUE;
}

BOOL CGXBPanel::SetMarked(BOOL bMarked, BOOL bRedraw)
{
    if (!(m_dwOptions & GXCAL_MARKABLE)) {
        m_bMarked = FALSE;
        return FALSE;
    }
    m_bMarked = bMarked;
    m_bDirty = TRUE;
    if (bRedraw)
        Redraw();
    return TRUE;
}

BOOL CGXBPanel::HitTest(CPoint pt) const
{
    return pt.x >= m_rect.left && pt.x <= m_rect.right && pt.y >= m_rect.top && pt.y <= m_rect.bottom;
}

void CGXBPanel::DrawLayer(CDC* pDC, int a, int b, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (a == b)
        return;
    const COLORREF bk = pDC->GetBkColor();
    for (int i = a; i <= b; ++i) {
        CRect r(m_rect.left + i, m_rect.top + i, m_rect.right + 1 - i, m_rect.bottom + 1 - i);
        if (r.Width() <= 0 || r.Height() <= 0)
            break;
        pDC->Draw3dRect(&r, clrTopLeft, clrBottomRight);
    }
    pDC->SetBkColor(bk);
}

BOOL CGXBPanel::DrawFrame(CDC* pDC)
{
    DrawLayer(pDC, m_nFrameStart, m_nFrameEnd, m_clrFrame, m_clrFrame);
    return TRUE;
}

BOOL CGXBPanel::DrawBevel(CDC* pDC)
{
    const COLORREF hi = SysColor(COLOR_BTNHIGHLIGHT), lo = SysColor(COLOR_BTNSHADOW);
    DrawLayer(pDC, m_nFrameEnd, m_nBevelEnd, m_bSelected ? lo : hi, m_bSelected ? hi : lo);
    return TRUE;
}

BOOL CGXBPanel::DrawRing(CDC* pDC)
{
    DrawLayer(pDC, m_nBevelEnd, m_nRingEnd, m_clrRing, m_clrRing);
    return TRUE;
}

BOOL CGXBPanel::FillInterior(CDC* pDC)
{
    CRect r = GetInnerRect();
    r.right += 1;
    r.bottom += 1;
    pDC->ExtTextOut(r.left, r.top, ETO_OPAQUE, &r, "", 0, nullptr);
    return TRUE;
}

void CGXBPanel::DrawText(CDC* pDC, const CString& text, COLORREF color)
{
    CRect r = GetInnerRect();
    const COLORREF old = pDC->SetTextColor(color);
    const UINT align = pDC->GetTextAlign();
    if (m_dwStyle & 0x80) {
        TEXTMETRIC tm{};
        pDC->GetTextMetrics(&tm);
        pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
        pDC->ExtTextOut(r.left + r.Width() / 2, r.top + r.Height() / 2 + tm.tmAscent / 2, ETO_OPAQUE, &r, text,
                        text.GetLength(), nullptr);
    } else {
        pDC->SetTextAlign(TA_LEFT | TA_TOP);
        pDC->ExtTextOut(r.left + r.Width() / 10, r.top + r.Height() / 10, ETO_OPAQUE, &r, text, text.GetLength(),
                        nullptr);
    }
    pDC->SetTextAlign(align);
    pDC->SetTextColor(old);
}

BOOL CGXBPanel::DrawContent(CDC* pDC)
{
    DrawText(pDC, m_strText, m_clrText);
    return TRUE;
}

BOOL CGXBPanel::Draw(CDC* pDC)
{
    if (m_bDirty)
        RecalcInsets();
    const COLORREF bk = pDC->SetBkColor(SysColor(COLOR_BTNFACE));
    const COLORREF fg = pDC->SetTextColor(m_clrText);
    BOOL ok = DrawFrame(pDC);
    ok = DrawBevel(pDC) && ok;
    ok = FillInterior(pDC) && ok;
    ok = DrawContent(pDC) && ok;
    ok = DrawRing(pDC) && ok;
    pDC->SetBkColor(bk);
    pDC->SetTextColor(fg);
    return ok;
}

// Day boxes

COleDateTime CGXBDayBox::SetDate(const COleDateTime& date)
{
    const COleDateTime old = m_date;
    m_date = date;
    m_bHasDate = TRUE;
    return old;
}

BOOL CGXBDayBox::SetOtherMonth(BOOL bOther)
{
    const BOOL old = m_bOtherMonth;
    m_bOtherMonth = bOther;
    // Marks and selections follow the calendar's own options, not this box's last state.
    const DWORD cal = m_pOwner != nullptr ? m_pOwner->GetOptions() : m_dwOptions;
    DWORD opts = m_dwOptions & ~static_cast<DWORD>(GXCAL_SELECTABLE | GXCAL_MARKABLE);
    if (bOther) {
        if ((cal & GXCAL_SELECTABLE) && (cal & GXCAL_OTHER_SELECTABLE))
            opts |= GXCAL_SELECTABLE;
    } else {
        opts |= cal & (GXCAL_SELECTABLE | GXCAL_MARKABLE);
    }
    m_dwOptions = opts;
    m_bDirty = TRUE;
    return old;
}

BOOL CGXBDayBox::DrawContent(CDC* pDC)
{
    const COLORREF color = m_bOtherMonth && (m_dwStyle & 0x100) ? m_clrGrey : m_clrText;
    CString text;
    text.Format("%d", m_date.GetDay());
    CRect r = GetInnerRect();
    const COLORREF old = pDC->SetTextColor(color);
    const UINT align = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    CPoint at(r.left + r.Width() / 10, r.top + r.Height() / 10);
    if (m_dwStyle & 0x80) {
        const CSize ext = pDC->GetTextExtent(text);
        at = CPoint(r.left + r.Width() / 2 - ext.cx / 2, r.top + r.Height() / 2 - ext.cy / 2);
    }
    pDC->ExtTextOut(at.x, at.y, ETO_OPAQUE, &r, text, text.GetLength(), nullptr);
    pDC->SetTextAlign(align);
    pDC->SetTextColor(old);
    return TRUE;
}

void CGXBDayBox::OnLButtonDown(UINT, CPoint)
{
    if (m_pOwner == nullptr)
        return;
    // Copied first: a new month lays the boxes out again.
    const COleDateTime date = m_date;
    if (m_bOtherMonth && !(m_pOwner->GetOptions() & GXCAL_OTHER_SELECTABLE) && !m_pOwner->SetDate(date, TRUE))
        return;
    if (m_pOwner->GetOptions() & GXCAL_DRAG_SELECT)
        m_pOwner->SelectDate(date, TRUE);
    else
        m_pOwner->ToggleDateRef(date);
}

void CGXBDayBox::OnRButtonDown(UINT, CPoint)
{
    if (m_pOwner == nullptr)
        return;
    const COleDateTime date = m_date;
    if (m_bOtherMonth && !m_pOwner->SetDate(date, TRUE))
        return;
    m_pOwner->ToggleMarkRef(date);
}

void CGXBDayBox::OnLButtonDblClk(UINT nFlags, CPoint pt)
{
    if (m_pOwner == nullptr)
        return;
    if (!m_bSelected)
        OnLButtonDown(nFlags, pt);
    if ((m_pOwner->GetOptions() & GXCAL_CHOOSE_ON_UP) && m_pOwner->GetSafeHwnd() != nullptr)
        m_pOwner->PostMessage(GXM_CAL_CHOSEN, 0, 0);
}

CSize CGXBDayBox::GetWantedSize(CDC* pDC, const LOGFONT* pFont)
{
    const LOGFONT& lf = pFont != nullptr ? *pFont : m_pOwner->GetDayLogFont();
    const CSize ext = Measure(pDC, lf, [&]() { return pDC->GetTextExtent("88"); });
    double f = 1.25;
    if (!(m_dwStyle & 0x80))
        f *= 1.5;
    // The widest ring a box can have, selected and marked.
    int r = 0;
    for (DWORD style : {m_pOwner->GetOtherMonthStyle(), m_pOwner->GetCurrentMonthStyle()}) {
        int ring = (style & 0x08) ? 1 : 0;
        ring += (style & 0x02) ? m_nBorder : 0;
        ring += (style & 0x20) ? m_nBorder : 0;
        r = std::max(r, ring);
    }
    return CSize(std::max<int>(static_cast<int>(ext.cx * f), ext.cx + r), std::max<int>(static_cast<int>(ext.cy * f), ext.cy + r));
}

void CGXBDayBox::FitFont(CDC* pDC, LOGFONT& lf, const CRect* pRect)
{
    Fit(this, pDC, lf, pRect != nullptr ? *pRect : GetInnerRect(), 0.9);
}

// Weekday header

BOOL CGXBWeekdayHeader::DrawContent(CDC* pDC)
{
    const CRect inner = GetInnerRect();
    const COleDateTimeLocale loc = COleDateTime::GetLocale(LANG_USER_DEFAULT);
    const int w = inner.right - inner.left - 1;
    CFont* pOld = m_pOwner != nullptr ? pDC->SelectObject(m_pOwner->GetHeaderFont()) : nullptr;
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const UINT align = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
    const COLORREF old = pDC->SetTextColor(m_clrText);
    for (int c = 1; c <= 7; ++c) {
        CRect col(inner.left + static_cast<int>(w * kColumns[c - 1]), inner.top,
                  inner.left + static_cast<int>(w * kColumns[c]), inner.bottom);
        const int day = (c + m_nFirstDay - 2) % 7;   // 0 = Sunday
        const CString& name = (m_dwStyle & 0x20000000) ? loc.strDay[day] : loc.strAbbrevDay[day];
        pDC->ExtTextOut(col.left + col.Width() / 2, col.top + col.Height() / 2 + tm.tmAscent / 2, ETO_OPAQUE, &col,
                        name, name.GetLength(), nullptr);
    }
    pDC->SetTextColor(old);
    pDC->SetTextAlign(align);
    if (pOld != nullptr)
        pDC->SelectObject(pOld);
    return TRUE;
}

CSize CGXBWeekdayHeader::GetWantedSize(CDC* pDC, const LOGFONT* pFont)
{
    const LOGFONT& lf = pFont != nullptr ? *pFont : m_pOwner->GetHeaderLogFont();
    const COleDateTimeLocale loc = COleDateTime::GetLocale(LANG_USER_DEFAULT);
    const CString name = (m_dwStyle & 0x20000000) ? loc.strDay[3] : loc.strAbbrevDay[3];
    const CSize ext = Measure(pDC, lf, [&]() { return pDC->GetTextExtent(name); });
    return CSize(7 * ext.cx, ext.cy);
}

void CGXBWeekdayHeader::FitFont(CDC* pDC, LOGFONT& lf, const CRect* pRect)
{
    Fit(this, pDC, lf, pRect != nullptr ? *pRect : GetInnerRect(), 0.9);
}

// Title

BOOL CGXBCalTitle::Create(const CRect& rect, CGXBCalendar* pOwner, BOOL bSelected, BOOL bMarked, DWORD dwStyle,
                          DWORD dwOptions, int nBorder)
{
    CGXBPanel::Create(rect, pOwner, bSelected, bMarked, dwStyle, dwOptions, nBorder);
    if (pOwner == nullptr || pOwner->GetSafeHwnd() == nullptr)
        return TRUE;
    const CRect tiny(0, 0, 1, 1);
    const DWORD calOptions = pOwner->GetOptions();
    struct B
    {
        int index;
        LPCSTR text;
        UINT id;
        DWORD option;
    } buttons[] = {{0, "<<", 23242, GXCAL_YEAR_BUTTONS},
                   {1, "<", 23244, GXCAL_MONTH_BUTTONS},
                   {2, ">", 23241, GXCAL_MONTH_BUTTONS},
                   {3, ">>", 23243, GXCAL_YEAR_BUTTONS}};
    for (const B& b : buttons)
        if (calOptions & b.option)
            m_buttons[b.index].Create(b.text, WS_CHILD | BS_PUSHBUTTON, tiny, pOwner, b.id);
    return TRUE;
}

CRect CGXBCalTitle::SetRect(const CRect& rect)
{
    const CRect old = CGXBPanel::SetRect(rect);
    const int w = rect.Width(), h = rect.Height();
    const int top = rect.top + h / 5, bottom = rect.bottom - h / 5;
    const BOOL years = m_buttons[0].GetSafeHwnd() != nullptr;
    const int m0 = years ? w * 30 / 200 : w * 10 / 200, m1 = years ? w * 50 / 200 : w * 30 / 200;
    const int spans[4][2] = {{w * 10 / 200, w * 30 / 200}, {m0, m1}, {m0, m1}, {w * 10 / 200, w * 30 / 200}};
    for (int i = 0; i < 4; ++i) {
        CButton& b = m_buttons[i];
        if (b.GetSafeHwnd() == nullptr)
            continue;
        // The first two count from the left edge, the others from the right.
        const CRect r = i < 2 ? CRect(rect.left + spans[i][0], top, rect.left + spans[i][1], bottom)
                              : CRect(rect.right - spans[i][1], top, rect.right - spans[i][0], bottom);
        b.MoveWindow(&r);
        const int show = i == 1 || i == 2 ? m_nShowMonth : m_nShowYear;
        b.ShowWindow(show > 0 ? SW_SHOW : SW_HIDE);
        b.EnableWindow(TRUE);
    }
    return old;
}

void CGXBCalTitle::SetTitleDate(const COleDateTime& date)
{
    const COleDateTimeLocale loc = COleDateTime::GetLocale(LANG_USER_DEFAULT);
    const int m = date.GetMonth() - 1;
    CString text;
    if (m >= 0 && m < 12)
        text.Format("%s %d", static_cast<LPCSTR>((m_dwStyle & 0x10000000) ? loc.strMonth[m] : loc.strAbbrevMonth[m]),
                    date.GetYear());
    SetText(text);
}

BOOL CGXBCalTitle::Draw(CDC* pDC)
{
    CFont* pOld = m_pOwner != nullptr ? pDC->SelectObject(m_pOwner->GetTitleFont()) : nullptr;
    const BOOL ok = CGXBPanel::Draw(pDC);
    if (pOld != nullptr)
        pDC->SelectObject(pOld);
    for (CButton& b : m_buttons) {
        if (b.GetSafeHwnd() == nullptr || m_pOwner == nullptr)
            continue;
        b.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_pOwner->GetTitleFont()->GetSafeHandle()), FALSE);
        b.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    return ok;
}

CSize CGXBCalTitle::GetWantedSize(CDC* pDC, const LOGFONT* pFont)
{
    const LOGFONT& lf = pFont != nullptr ? *pFont : m_pOwner->GetTitleLogFont();
    const CString sample = (m_dwStyle & 0x10000000) ? "September, 2000" : "Sep, 2000";
    const CSize ext = Measure(pDC, lf, [&]() { return pDC->GetTextExtent(sample); });
    // Sized before the buttons exist (a popup measures itself first): the options tell.
    const BOOL buttons = (m_pOwner->GetOptions() & (GXCAL_MONTH_BUTTONS | GXCAL_YEAR_BUTTONS)) != 0;
    return CSize(static_cast<int>(ext.cx * (buttons ? 2.2 : 1.2)), static_cast<int>(ext.cy * 1.2));
}

void CGXBCalTitle::FitFont(CDC* pDC, LOGFONT& lf, const CRect* pRect)
{
    Fit(this, pDC, lf, pRect != nullptr ? *pRect : GetInnerRect(), 0.95);
}

// ---------------------------------------------------------------------------
// Calendar

COleDateTime CGXBCalendar::Normalise(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return date;
    return COleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 12, 0, 0);
}

CGXBCalendar::CGXBCalendar() : m_dtVisible(1970, 1, 1, 12, 0, 0)
{
    // The panels measure themselves with the calendar's fonts even before it is created.
    m_header.SetOwner(this);
    m_title.SetOwner(this);
    for (CGXBDayBox& box : m_boxes)
        box.SetOwner(this);
    LOGFONT lf{};
    ::GetObject(::GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
    m_fontTitle.CreateFontIndirect(&lf);
    m_fontHeader.CreateFontIndirect(&lf);
    m_fontDay.CreateFontIndirect(&lf);
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    lf.lfQuality = DRAFT_QUALITY;
    m_lfTitle = m_lfHeader = m_lfDay = lf;
    m_lfTitle.lfOutPrecision = OUT_CHARACTER_PRECIS;
    m_lfTitle.lfPitchAndFamily = VARIABLE_PITCH;
    m_lfHeader.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    m_lfDay.lfOutPrecision = OUT_TT_ONLY_PRECIS;
}

CGXBCalendar::~CGXBCalendar()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

void CGXBCalendar::UpdateColors()
{
    m_clrText = SysColor(COLOR_WINDOWTEXT);
    m_clrGrey = SysColor(COLOR_GRAYTEXT);
}

void CGXBCalendar::Beep()
{
    ++m_nBeeps;
    ::MessageBeep(MB_ICONEXCLAMATION);
}

BOOL CGXBCalendar::IsDateInRange(int nYear, int nMonth, int nDay)
{
    const int y = nYear + (nMonth + nDay / 28) / 12;
    return y >= 1400 && y <= 2400;
}

BOOL CGXBCalendar::GetCurrentDate(COleDateTime& date) const
{
    if (!m_bHasCurrent)
        return FALSE;
    date = m_dtCurrent;
    return TRUE;
}

void CGXBCalendar::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hOwner != nullptr && ::IsWindow(m_hOwner))
        ::PostMessage(m_hOwner, message, wParam, lParam);
}

void CGXBCalendar::End(BOOL bChosen, WPARAM wParam, LPARAM lParam)
{
    Post(bChosen ? GXM_CAL_CHOSEN : GXM_CAL_CLOSED, wParam, lParam);
    if (GetSafeHwnd() != nullptr)
        ShowWindow(SW_HIDE);
}

BOOL CGXBCalendar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID)
{
    if (GXSysColors* sys = GXGetSysData())
        sys->Update();
    UpdateColors();
    LPCSTR cls = AfxRegisterWndClass(GetClassStyle(), ::LoadCursor(nullptr, IDC_ARROW));
    CRect r = rect;
    // A popup is a top-level window of its own; a calendar in a window is its child.
    const DWORD style = (dwStyle & WS_POPUP) ? (dwStyle | WS_CLIPCHILDREN) : (dwStyle | WS_CHILD | WS_CLIPCHILDREN);
    if (!CreateEx(0, cls, "CGXBCalendar", style, r, pParent, (dwStyle & WS_POPUP) ? 0 : nID))
        return FALSE;
    m_hOwner = pParent != nullptr ? pParent->GetSafeHwnd() : nullptr;
    CRect whole = rect;
    for (CGXBDayBox& box : m_boxes)
        box.Create(whole, this, FALSE, FALSE, m_dwOtherStyle, m_dwOptions, m_nBorder);
    const DWORD reduced = m_dwOptions & ~static_cast<DWORD>(GXCAL_SELECTABLE | GXCAL_MARKABLE);
    m_header.Create(whole, this, FALSE, FALSE, m_dwCurrentStyle, reduced, m_nBorder);
    m_title.Create(whole, this, FALSE, FALSE, m_dwCurrentStyle | 0x80, reduced, m_nBorder);
    // Made without a date: it shows today.
    if (!m_bDateSet)
        m_dtVisible = Normalise(COleDateTime::GetCurrentTime());
    SetDate(m_dtVisible, FALSE);
    LayoutPanels();
    if (m_dwOptions & GXCAL_FIT_FONTS)
        FitFonts();
    for (CGXBDayBox& box : m_boxes) {
        box.SetTextColor(m_clrText);
        box.SetGreyColor(m_clrGrey);
    }
    m_header.SetTextColor(m_clrText);
    m_title.SetTextColor(m_clrText);
    m_bCreated = TRUE;
    UpdateWindow();
    SetFocus();
    return TRUE;
}

CSize CGXBCalendar::GetContentSize(CDC* pDC)
{
    const CSize day = m_boxes[0].GetWantedSize(pDC, nullptr), head = m_header.GetWantedSize(pDC, nullptr),
                title = m_title.GetWantedSize(pDC, nullptr);
    return CSize(std::max({7 * day.cx, head.cx, title.cx}), title.cy + head.cy + 6 * day.cy);
}

void CGXBCalendar::LayoutPanels()
{
    CRect c;
    GetClientRect(&c);
    const int W = c.Width(), H = c.Height();
    const int titleBottom = static_cast<int>(0.175 * (H - 1)), headBottom = static_cast<int>(0.25 * (H - 1));
    m_title.SetRect(CRect(0, 0, W - 1, titleBottom));
    m_header.SetRect(CRect(0, titleBottom, W - 1, headBottom));
    for (int i = 0; i < 42; ++i) {
        const int row = i / 7, col = i % 7;
        const int top = static_cast<int>(kRows[row] * H), bottom = static_cast<int>(kRows[row + 1] * H) - 1;
        const int left = static_cast<int>(kColumns[col] * W), right = static_cast<int>(kColumns[col + 1] * W) - 1;
        m_boxes[i].SetRect(CRect(left, top, right, bottom));
    }
}

void CGXBCalendar::FitFonts()
{
    CClientDC dc(this);
    LOGFONT sys{};
    ::GetObject(::GetStockObject(SYSTEM_FONT), sizeof(sys), &sys);
    struct Item
    {
        LOGFONT* lf;
        CFont* font;
        int which;
    } items[] = {{&m_lfDay, &m_fontDay, 0}, {&m_lfTitle, &m_fontTitle, 1}, {&m_lfHeader, &m_fontHeader, 2}};
    for (const Item& it : items) {
        it.lf->lfHeight = sys.lfHeight;
        it.lf->lfWidth = sys.lfWidth;
        if (it.which == 0)
            m_boxes[0].FitFont(&dc, *it.lf);
        else if (it.which == 1)
            m_title.FitFont(&dc, *it.lf);
        else
            m_header.FitFont(&dc, *it.lf);
        it.font->DeleteObject();
        it.font->CreateFontIndirect(it.lf);
    }
}

BOOL CGXBCalendar::SetDate(const COleDateTime& date, BOOL bRedraw)
{
    if (m_bCreated && (m_dwOptions & GXCAL_FIXED_MONTH)) {
        Beep();
        return FALSE;
    }
    if (date.GetStatus() != COleDateTime::valid || !IsDateInRange(date.GetYear(), date.GetMonth(), date.GetDay())) {
        Beep();
        return FALSE;
    }
    m_bDateSet = TRUE;
    m_dtVisible = Normalise(date);
    m_title.SetTitleDate(m_dtVisible);
    LayoutDays();
    if (bRedraw && GetSafeHwnd() != nullptr) {
        Invalidate(FALSE);
        UpdateWindow();
    }
    return TRUE;
}

void CGXBCalendar::LayoutDays()
{
    m_dtFocus = m_dtVisible;
    const COleDateTimeSpan day(1, 0, 0, 0);
    COleDateTime d = m_dtVisible;
    while (d.GetDay() != 1)
        d -= day;
    while (d.GetDayOfWeek() != m_header.GetFirstDayOfWeek())
        d -= day;
    BOOL inMonth = FALSE;
    for (CGXBDayBox& box : m_boxes) {
        d = Normalise(d);
        if (d.GetDay() == 1)
            inMonth = !inMonth;
        box.SetDate(d);
        box.SetStyle(inMonth ? m_dwCurrentStyle : m_dwOtherStyle);
        box.SetOtherMonth(!inMonth);
        box.SetMarked(std::find(m_marked.begin(), m_marked.end(), d) != m_marked.end(), FALSE);
        const BOOL selected = m_bHasCurrent && m_dtCurrent == d;
        box.SetSelected(selected, FALSE);
        if (selected)
            m_dtFocus = m_dtCurrent;
        d += day;
    }
}

BOOL CGXBCalendar::SelectDate(const COleDateTime& date, BOOL bOn)
{
    const COleDateTime d = Normalise(date);
    if (bOn) {
        m_dtCurrent = m_dtFocus = d;
        m_bHasCurrent = TRUE;
    } else {
        m_bHasCurrent = FALSE;
    }
    for (CGXBDayBox& box : m_boxes) {
        if (box.GetDate() == d) {
            box.SetSelected(bOn, TRUE);
            m_pSelectedBox = &box;
            m_dtSelectedBox = d;
            if (m_bCreated) {
                Post(GXM_CAL_SELECTED, bOn ? 1 : 0, reinterpret_cast<LPARAM>(&box));
                if (m_dwOptions & GXCAL_TOGGLE_CHOOSES)
                    Post(GXM_CAL_CHOSEN, bOn ? 1 : 0, reinterpret_cast<LPARAM>(&box));
            }
        } else if (box.IsSelected()) {
            box.SetSelected(FALSE, TRUE);
        }
    }
    if (m_bCreated && GetSafeHwnd() != nullptr)
        SetFocus();
    return TRUE;
}

BOOL CGXBCalendar::ToggleDateRef(const COleDateTime& date)
{
    const COleDateTime d = Normalise(date);
    for (CGXBDayBox& box : m_boxes) {
        if (box.GetDate() == d) {
            SelectDate(d, !box.IsSelected());
            if (m_dwOptions & GXCAL_TOGGLE_CHOOSES)
                End(TRUE);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CGXBCalendar::MarkDateRef(const COleDateTime& date, BOOL bOn)
{
    const COleDateTime d = Normalise(date);
    for (CGXBDayBox& box : m_boxes) {
        if (box.GetDate() == d) {
            box.SetMarked(bOn, TRUE);
            if (m_bCreated)
                Post(GXM_CAL_MARKED, bOn ? 1 : 0, reinterpret_cast<LPARAM>(&box));
        }
    }
    auto it = std::lower_bound(m_marked.begin(), m_marked.end(), d);
    if (bOn) {
        if (it == m_marked.end() || !(*it == d))
            m_marked.insert(it, d);
    } else {
        m_marked.erase(std::remove(m_marked.begin(), m_marked.end(), d), m_marked.end());
    }
    return TRUE;
}

BOOL CGXBCalendar::ToggleMarkRef(const COleDateTime& date)
{
    const COleDateTime d = Normalise(date);
    for (CGXBDayBox& box : m_boxes)
        if (box.GetDate() == d)
            return MarkDateRef(d, !box.IsMarked());
    return FALSE;
}

BOOL CGXBCalendar::SpanInRange(const COleDateTime& base, const COleDateTimeSpan& span)
{
    const long days = static_cast<long>(span.GetDays());
    const long years = days / 365, months = (days % 365) / 28, rest = days % 365 - months * 28;
    return IsDateInRange(base.GetYear() + static_cast<int>(years), base.GetMonth() + static_cast<int>(months),
                         base.GetDay() + static_cast<int>(rest));
}

BOOL CGXBCalendar::MoveVisibleBy(const COleDateTimeSpan& span)
{
    if (!SpanInRange(m_dtVisible, span)) {
        Beep();
        return FALSE;
    }
    return SetDate(m_dtVisible + span, TRUE);
}

BOOL CGXBCalendar::MoveFocusBy(const COleDateTimeSpan& span)
{
    if (m_pSelectedBox == nullptr || !SpanInRange(m_dtSelectedBox, span)) {
        Beep();
        return FALSE;
    }
    const COleDateTime d = m_dtSelectedBox + span;
    if (d.GetMonth() != m_dtVisible.GetMonth() || d.GetYear() != m_dtVisible.GetYear())
        if (!SetDate(d, TRUE))
            return FALSE;
    return SelectDate(d, TRUE);
}

BOOL CGXBCalendar::Step(const COleDateTimeSpan& span, BOOL bFocus, BOOL bTakeFocus)
{
    if (bTakeFocus && GetSafeHwnd() != nullptr)
        SetFocus();
    return bFocus ? MoveFocusBy(span) : MoveVisibleBy(span);
}

BOOL CGXBCalendar::StepMonth(BOOL bFocus, BOOL bNext)
{
    if (bFocus && m_pSelectedBox == nullptr) {
        Beep();
        return FALSE;
    }
    const COleDateTime base = bFocus ? m_dtSelectedBox : m_dtVisible;
    const COleDateTimeSpan day(1, 0, 0, 0);
    COleDateTime d(base.GetYear(), base.GetMonth(), 1, 12, 0, 0);
    d += COleDateTimeSpan(bNext ? 27 : -27, 0, 0, 0);
    while (d.GetDay() != 1)
        d += bNext ? day : -day;
    if (GetSafeHwnd() != nullptr)
        SetFocus();
    const COleDateTimeSpan span = d - base;
    return bFocus ? MoveFocusBy(span) : MoveVisibleBy(span);
}

BOOL CGXBCalendar::StepYear(BOOL bFocus, BOOL bNext)
{
    if (bFocus && m_pSelectedBox == nullptr) {
        Beep();
        return FALSE;
    }
    const COleDateTime base = bFocus ? m_dtSelectedBox : m_dtVisible;
    if (!IsDateInRange(base.GetYear() - (bNext ? 0 : 1), 12, 31)) {
        Beep();
        return FALSE;
    }
    const int y = base.GetYear() + (bNext ? 1 : -1);
    int day = base.GetDay();
    if (base.GetMonth() == 2 && day == 29)
        day = 28;
    const COleDateTime target(y, base.GetMonth(), day, 12, 0, 0);
    if (GetSafeHwnd() != nullptr)
        SetFocus();
    const COleDateTimeSpan span = target - base;
    return bFocus ? MoveFocusBy(span) : MoveVisibleBy(span);
}

int CGXBCalendar::BoxAt(CPoint pt) const
{
    for (int i = 0; i < 42; ++i)
        if (m_boxes[i].HitTest(pt))
            return i;
    return -1;
}

void CGXBCalendar::OnKeyDown(UINT nChar)
{
    const BOOL ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const COleDateTimeSpan day(1, 0, 0, 0);
    switch (nChar) {
    case VK_CANCEL:
    case VK_ESCAPE: End(FALSE); return;
    case VK_RETURN: End(m_pSelectedBox != nullptr); return;
    case VK_SPACE: ToggleDateRef(m_dtFocus); return;
    case VK_HOME: SelectDate(COleDateTime(m_dtFocus.GetYear(), m_dtFocus.GetMonth(), 1, 12, 0, 0), TRUE); return;
    case VK_END: {
        COleDateTime d(m_dtFocus.GetYear(), m_dtFocus.GetMonth(), 28, 12, 0, 0);
        d += COleDateTimeSpan(4, 0, 0, 0);
        while (d.GetMonth() != m_dtFocus.GetMonth())
            d -= day;
        SelectDate(d, TRUE);
        return;
    }
    case VK_RIGHT:
    case VK_NUMPAD6: ctrl ? NextMonth(TRUE) : NextDay(TRUE); return;
    case VK_LEFT:
    case VK_NUMPAD4: ctrl ? PrevMonth(TRUE) : PrevDay(TRUE); return;
    case VK_DOWN:
    case VK_NUMPAD2: ctrl ? NextYear(TRUE) : NextWeek(TRUE); return;
    case VK_UP:
    case VK_NUMPAD8: ctrl ? PrevYear(TRUE) : PrevWeek(TRUE); return;
    case VK_NEXT: ctrl ? NextYear(TRUE) : NextMonth(TRUE); return;
    case VK_PRIOR: ctrl ? PrevYear(TRUE) : PrevMonth(TRUE); return;
    default: return;
    }
}

LRESULT CGXBCalendar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        CDC* pDC = BeginPaint(&ps);
        CFont* pOld = pDC->SelectObject(&m_fontTitle);
        if (pDC->RectVisible(&m_title.GetRect()))
            m_title.Draw(pDC);
        pDC->SelectObject(&m_fontHeader);
        if (pDC->RectVisible(&m_header.GetRect()))
            m_header.Draw(pDC);
        pDC->SelectObject(&m_fontDay);
        for (CGXBDayBox& box : m_boxes) {
            CRect r = box.GetRect();
            r.right += 1;
            r.bottom += 1;
            if (pDC->RectVisible(&r))
                box.Draw(pDC);
        }
        pDC->SelectObject(pOld);
        EndPaint(&ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: {
        const LRESULT r = CWnd::WindowProc(message, wParam, lParam);
        if (!(m_dwOptions & GXCAL_SIZABLE) && ((r >= HTLEFT && r <= HTBOTTOMRIGHT) || r == HTBORDER))
            return HTCLIENT;
        return r;
    }
    case WM_LBUTTONDOWN: {
        const int i = BoxAt(pt);
        if (i < 0)
            return 0;
        m_bHasSaved = m_bHasCurrent && m_dtCurrent.GetMonth() == m_dtVisible.GetMonth() &&
                      m_dtCurrent.GetYear() == m_dtVisible.GetYear();
        if (m_bHasSaved)
            m_dtSaved = m_dtCurrent;
        m_boxes[i].OnLButtonDown(static_cast<UINT>(wParam), pt);
        // The boxes may have been laid out again: the one under the point counts.
        const int j = BoxAt(pt);
        if (j >= 0 && m_boxes[j].IsSelected() && (m_dwOptions & GXCAL_DRAG_SELECT)) {
            SetCapture();
            m_bTracking = TRUE;
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (m_bTracking) {
            CRect c;
            GetClientRect(&c);
            const int i = BoxAt(pt);
            if (i >= 0 && !m_boxes[i].IsSelected())
                m_boxes[i].OnLButtonDown(static_cast<UINT>(wParam), pt);
            else if (!c.PtInRect(pt) && m_pSelectedBox != nullptr && m_pSelectedBox->IsSelected())
                SelectDate(m_pSelectedBox->GetDate(), FALSE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (m_bTracking) {
            ::ReleaseCapture();
            m_bTracking = FALSE;
            CRect c;
            GetClientRect(&c);
            const int i = BoxAt(pt);
            if (i >= 0) {
                m_boxes[i].OnLButtonDown(static_cast<UINT>(wParam), pt);
                if (m_dwOptions & GXCAL_CHOOSE_ON_UP)
                    End(TRUE);
            } else if (c.PtInRect(pt)) {
                if (m_dwOptions & GXCAL_CHOOSE_ON_UP)
                    End(TRUE);
            } else if (m_bHasSaved) {
                SelectDate(m_dtSaved, TRUE);
            }
        }
        return 0;
    case WM_CANCELMODE:
        if (m_bTracking) {
            ::ReleaseCapture();
            m_bTracking = FALSE;
            if (m_bHasSaved)
                SelectDate(m_dtSaved, TRUE);
        }
        break;
    case WM_LBUTTONDBLCLK: {
        const int i = BoxAt(pt);
        if (i >= 0)
            m_boxes[i].OnLButtonDblClk(static_cast<UINT>(wParam), pt);
        return 0;
    }
    case WM_RBUTTONDOWN: {
        const int i = BoxAt(pt);
        if (i >= 0)
            m_boxes[i].OnRButtonDown(static_cast<UINT>(wParam), pt);
        return 0;
    }
    case WM_KEYDOWN:
        if (m_dwOptions & GXCAL_KEYBOARD)
            OnKeyDown(static_cast<UINT>(wParam));
        break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    case WM_SYSCOLORCHANGE:
        UpdateColors();
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 23241: NextMonth(FALSE); return 0;
        case 23244: PrevMonth(FALSE); return 0;
        case 23243: NextYear(FALSE); return 0;
        case 23242: PrevYear(FALSE); return 0;
        default: break;
        }
        break;
    case GXM_CAL_CHOSEN:
    case GXM_CAL_CLOSED:
        End(message == GXM_CAL_CHOSEN, wParam, lParam);
        return 0;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Popup

CGXBPopupCalendar::CGXBPopupCalendar()
{
    m_dwOptions = 0x0039C100;
    m_dwCurrentStyle = 0x83;
    m_dwOtherStyle = 0x181;
}

BOOL CGXBPopupCalendar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID)
{
    m_bEnded = FALSE;
    return CGXBCalendar::Create((dwStyle | WS_POPUP) & ~static_cast<DWORD>(WS_CHILD), rect, pParent, nID);
}

CRect CGXBPopupCalendar::PlaceRect(DWORD dwStyle, const CRect& rectOwner, CSize size, CSize screen)
{
    const int w = size.cx, h = size.cy;
    const int top = rectOwner.bottom + h >= screen.cy ? rectOwner.top - h : rectOwner.bottom;
    int left;
    if (dwStyle & 0x1)
        left = rectOwner.left + w >= screen.cx ? rectOwner.right - w : rectOwner.left;
    else
        left = rectOwner.right + w >= screen.cx ? rectOwner.left - w : rectOwner.right;
    return CRect(left, top, left + w, top + h);
}

BOOL CGXBPopupCalendar::PlaceWindow(DWORD dwStyle, const CRect& rectOwner, CWnd* pOwner, UINT)
{
    m_dwOptions |= GXCAL_AUTOSIZE;
    CSize content;
    {
        CClientDC dc(pOwner);
        content = GetContentSize(&dc);
    }
    // The placement bit is no window style.
    const DWORD style = (dwStyle | WS_POPUP) & ~static_cast<DWORD>(0x1 | WS_CHILD);
    CRect r(0, 0, content.cx, content.cy);
    ::AdjustWindowRectEx(&r, style, FALSE, 0);
    const CRect at = PlaceRect(dwStyle, rectOwner, r.Size(),
                               CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    if (!Create(style, at, pOwner, 0))
        return FALSE;
    SetFocus();
    return TRUE;
}

void CGXBPopupCalendar::End(BOOL bChosen, WPARAM wParam, LPARAM lParam)
{
    // One end message per showing: Escape and the loss of activation that follows give one.
    if (m_bEnded)
        return;
    m_bEnded = TRUE;
    CGXBCalendar::End(bChosen, wParam, lParam);
}

LRESULT CGXBPopupCalendar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && m_bCreated)
        End(m_pSelectedBox != nullptr);
    return CGXBCalendar::WindowProc(message, wParam, lParam);
}
