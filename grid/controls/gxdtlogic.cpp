// Date/time fields: picture, field rules, range check and gadget logic.
#include "gxdtlogic.h"
#include "afxwin.h"
#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------
// Pictures

CString GXDateTimePicture(int nFormatType, const CString& strCustom, const COleDateTimeLocale& locale)
{
    switch (nFormatType) {
    case 0: return locale.strTime;
    case 1: return locale.strShortDate;
    case 2: return locale.strLongDate;
    default: return strCustom;
    }
}

namespace {
GXBDTFieldSpec Numeric(int nID, int nMin, int nMax, BOOL bZeros)
{
    GXBDTFieldSpec f;
    f.nID = nID;
    f.nMin = nMin;
    f.nMax = nMax;
    f.bLeadingZeros = bZeros;
    return f;
}

GXBDTFieldSpec List(int nID, const CString* items, int nCount, int nCut = 0)
{
    GXBDTFieldSpec f;
    f.nID = nID;
    f.nMax = nCount - 1;
    for (int i = 0; i < nCount; ++i) {
        CString item = items[i];
        // A single t: the first character, a double-byte one whole.
        if (nCut > 0 && !item.IsEmpty())
            item = item.Left(::IsDBCSLeadByte(static_cast<BYTE>(item[0])) && item.GetLength() > 1 ? 2 : 1);
        f.items.push_back(item);
    }
    return f;
}

UINT NoEditFlag(int nID)
{
    switch (nID) {
    case GXDT_YEAR2:
    case GXDT_YEAR4: return GXDT_NOEDIT_YEAR;
    case GXDT_MONTH:
    case GXDT_MONTHNAME: return GXDT_NOEDIT_MONTH;
    case GXDT_DAY:
    case GXDT_WEEKDAY: return GXDT_NOEDIT_DAY;
    case GXDT_HOUR12:
    case GXDT_HOUR24:
    case GXDT_AMPM: return GXDT_NOEDIT_HOUR;
    case GXDT_MINUTE: return GXDT_NOEDIT_MINUTE;
    case GXDT_SECOND: return GXDT_NOEDIT_SECOND;
    default: return 0;
    }
}
} // namespace

void GXParseDateTimePicture(LPCSTR lpszPicture, const COleDateTimeLocale& locale, UINT nNoEdit,
                            std::vector<GXBDTFieldSpec>& fields)
{
    fields.clear();
    if (lpszPicture == nullptr)
        return;
    CString pending;
    auto flush = [&]() {
        if (!pending.IsEmpty()) {
            GXBDTFieldSpec f;
            f.strText = pending;
            f.bEditable = FALSE;
            fields.push_back(f);
            pending.Empty();
        }
    };
    auto add = [&](GXBDTFieldSpec f) {
        flush();
        f.bEditable = (NoEditFlag(f.nID) & nNoEdit) == 0;
        fields.push_back(f);
    };
    const char* p = lpszPicture;
    while (*p != '\0') {
        const char c = *p;
        if (::IsDBCSLeadByte(static_cast<BYTE>(c)) && p[1] != '\0') {
            pending += c;
            pending += p[1];
            p += 2;
            continue;
        }
        // How many repeats of the letter follow, up to nMax.
        auto repeats = [&](int nMax) {
            int n = 0;
            while (n < nMax && p[1 + n] == c)
                ++n;
            return n;
        };
        switch (c) {
        case 'h':
        case 'H':
        case 'm':
        case 's': {
            const int n = repeats(1);
            const int id = c == 'h' ? GXDT_HOUR12 : c == 'H' ? GXDT_HOUR24 : c == 'm' ? GXDT_MINUTE : GXDT_SECOND;
            add(Numeric(id, c == 'h' ? 1 : 0, c == 'h' ? 12 : c == 'H' ? 23 : 59, n == 1));
            p += 1 + n;
            break;
        }
        case 't': {
            const int n = repeats(1);
            const CString ampm[2] = {locale.strAM, locale.strPM};
            add(List(GXDT_AMPM, ampm, 2, n == 0 ? 1 : 0));
            p += 1 + n;
            break;
        }
        case 'd':
        case 'M': {
            // One or two letters: the number; three or four: the abbreviated or full names.
            const int n = repeats(3);
            const BOOL day = c == 'd';
            if (n >= 2) {
                const CString* names = day ? (n == 2 ? locale.strAbbrevDay : locale.strDay)
                                           : (n == 2 ? locale.strAbbrevMonth : locale.strMonth);
                add(List(day ? GXDT_WEEKDAY : GXDT_MONTHNAME, names, day ? 7 : 12));
            } else {
                add(Numeric(day ? GXDT_DAY : GXDT_MONTH, 1, day ? 31 : 12, n == 1));
            }
            p += 1 + n;
            break;
        }
        case 'y': {
            int n = repeats(1);
            if (n == 1 && p[2] == 'y') {
                // yyy or yyyy: four digits.
                n = p[3] == 'y' ? 3 : 2;
                add(Numeric(GXDT_YEAR4, 0, 9999, FALSE));
            } else {
                add(Numeric(GXDT_YEAR2, 0, 99, n == 1));
            }
            p += 1 + n;
            break;
        }
        case 'g':
            flush();
            p += 1 + repeats(1);
            break;
        case '\'':
        case '"': {
            flush();
            const char* end = std::strchr(p + 1, c);
            if (end == nullptr)
                end = p + std::strlen(p);
            pending = CString(p + 1, static_cast<int>(end - p - 1));
            flush();
            p = *end != '\0' ? end + 1 : end;
            break;
        }
        default:
            pending += c;
            ++p;
            break;
        }
    }
    flush();
}

int GXDateTimeFieldValue(int nID, const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return 0;
    const int h = date.GetHour();
    switch (nID) {
    case GXDT_HOUR12: return h == 0 ? 12 : h > 12 ? h - 12 : h;
    case GXDT_HOUR24: return h;
    case GXDT_MINUTE: return date.GetMinute();
    case GXDT_SECOND: return date.GetSecond();
    case GXDT_AMPM: return h >= 12 ? 1 : 0;
    case GXDT_DAY: return date.GetDay();
    case GXDT_WEEKDAY: return date.GetDayOfWeek() - 1;
    case GXDT_MONTH: return date.GetMonth();
    case GXDT_MONTHNAME: return date.GetMonth() - 1;
    case GXDT_YEAR2: return date.GetYear() % 100;
    case GXDT_YEAR4: return date.GetYear();
    default: return 0;
    }
}

COleDateTime GXDateTimeMin()
{
    static const COleDateTime d(100, 1, 1, 0, 0, 0);
    return d;
}

COleDateTime GXDateTimeMax()
{
    static const COleDateTime d(9999, 12, 31, 23, 59, 59);
    return d;
}

// ---------------------------------------------------------------------------
// Range and field rules

CGXBDateTimeRules::CGXBDateTimeRules() : m_dtMin(GXDateTimeMin()), m_dtMax(GXDateTimeMax()) {}

COleDateTime CGXBDateTimeRules::Reduce(const COleDateTime& date) const
{
    if (date.GetStatus() != COleDateTime::valid)
        return date;
    if (m_nMode == 1)
        return COleDateTime(1899, 12, 30, date.GetHour(), date.GetMinute(), date.GetSecond());
    if (m_nMode == 2)
        return COleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 0, 0, 0);
    return date;
}

BOOL CGXBDateTimeRules::SetRange(int nMode, const COleDateTime& dtMin, const COleDateTime& dtMax)
{
    if (nMode < 0 || nMode > 3 || dtMin.GetStatus() != COleDateTime::valid ||
        dtMax.GetStatus() != COleDateTime::valid)
        return FALSE;
    const int old = m_nMode;
    m_nMode = nMode;
    const COleDateTime lo = Reduce(dtMin), hi = Reduce(dtMax);
    if (hi < lo) {
        m_nMode = old;
        return FALSE;
    }
    m_dtMin = lo;
    m_dtMax = hi;
    return TRUE;
}

BOOL CGXBDateTimeRules::ValidateDate(COleDateTime& date, int nLevel) const
{
    if (date.GetStatus() != COleDateTime::valid || m_nMode < 0 || m_nMode > 3)
        return FALSE;
    if (m_nMode == 0)
        return TRUE;
    const COleDateTime c = Reduce(date);
    if (m_dtMin <= c && c <= m_dtMax)
        return TRUE;
    if (nLevel == 0)
        return FALSE;
    const COleDateTime& b = c < m_dtMin ? m_dtMin : m_dtMax;
    int f[6] = {date.GetYear(), date.GetMonth(), date.GetDay(), date.GetHour(), date.GetMinute(), date.GetSecond()};
    const int bf[6] = {b.GetYear(), b.GetMonth(), b.GetDay(), b.GetHour(), b.GetMinute(), b.GetSecond()};
    // Level n keeps the 6 - n coarsest fields, which must equal the bound's, and takes the rest from it.
    if (nLevel <= 5) {
        const int keep = nLevel < 0 ? 0 : 6 - nLevel;
        for (int i = 0; i < 6; ++i) {
            if (i < keep) {
                if (f[i] != bf[i])
                    return FALSE;
            } else {
                f[i] = bf[i];
            }
        }
    }
    const COleDateTime pulled(f[0], f[1], f[2], f[3], f[4], f[5]);
    if (pulled.GetStatus() != COleDateTime::valid)
        return FALSE;
    date = pulled;
    const COleDateTime c2 = Reduce(pulled);
    return m_dtMin <= c2 && c2 <= m_dtMax;
}

int CGXBDateTimeRules::ChangeField(const COleDateTime& current, int nCode, int nID, int nValue,
                                   COleDateTime& result) const
{
    if (current.GetStatus() != COleDateTime::valid)
        return 0;
    int y = current.GetYear(), mo = current.GetMonth(), d = current.GetDay();
    int h = current.GetHour(), mi = current.GetMinute(), s = current.GetSecond();
    const BOOL up = nCode == GXDTN_UP || nCode == GXDTN_SPINUP;
    const BOOL down = nCode == GXDTN_DOWN || nCode == GXDTN_SPINDOWN;
    const BOOL set = nCode == GXDTN_QUERY || nCode == GXDTN_SET;
    const BOOL edge = nCode == GXDTN_FIRST || nCode == GXDTN_LAST;
    if (!up && !down && !set && !edge)
        return -1;
    const int step = nCode == GXDTN_SPINUP || nCode == GXDTN_SPINDOWN ? std::max(1, nValue) : 1;
    const int small = std::min(step, 2);
    int level = 0;
    int dayShift = 0;   // weekday moves, in days
    // A step past the field's last value lands on its first and back, whatever the step.
    auto wrap = [](int v, int lo, int hi) { return v > hi ? lo : v < lo ? hi : v; };
    switch (nID) {
    case GXDT_HOUR12:
    case GXDT_HOUR24:
        level = edge ? 3 : 2;
        if (up)
            h = wrap(h + small, 0, 23);
        else if (down)
            h = wrap(h - small, 0, 23);
        else if (set) {
            if (nID == GXDT_HOUR12) {
                if (nValue < 1 || nValue > 12)
                    return 0;
                // The typed hour stays in the current half of the day.
                h = nValue % 12 + (h >= 12 ? 12 : 0);
            } else {
                if (nValue < 0 || nValue > 23)
                    return 0;
                h = nValue;
            }
        } else
            h = nCode == GXDTN_FIRST ? 0 : 23;
        break;
    case GXDT_MINUTE:
    case GXDT_SECOND: {
        level = (nID == GXDT_MINUTE ? 1 : 0) + (edge ? 1 : 0);
        int& v = nID == GXDT_MINUTE ? mi : s;
        if (up)
            v = wrap(v + small, 0, 59);
        else if (down)
            v = wrap(v - small, 0, 59);
        else if (set) {
            if (nValue < 0 || nValue > 59)
                return 0;
            v = nValue;
        } else
            v = nCode == GXDTN_FIRST ? 0 : 59;
        break;
    }
    case GXDT_AMPM:
        level = 2;
        if (up || down)
            h = h >= 12 ? h - 12 : h + 12;
        else if (set) {
            if (nValue == 1 && h < 12)
                h += 12;
            else if (nValue == 0 && h >= 12)
                h -= 12;
        } else if (nCode == GXDTN_FIRST && h >= 12)
            h -= 12;
        else if (nCode == GXDTN_LAST && h < 12)
            h += 12;
        break;
    case GXDT_DAY:
    case GXDT_WEEKDAY: {
        level = edge ? 4 : 3;
        const int dow = current.GetDayOfWeek() - 1;
        if (up) {
            d += small;
            if (COleDateTime(y, mo, d, h, mi, s).GetStatus() != COleDateTime::valid)
                d = 1;
        } else if (down) {
            d -= small;
            if (d < 1)
                d = 31;
        } else if (nID == GXDT_DAY) {
            if (set) {
                if (COleDateTime(y, mo, nValue, h, mi, s).GetStatus() != COleDateTime::valid)
                    return 0;
                d = nValue;
            } else
                d = nCode == GXDTN_FIRST ? 1 : 31;
        } else {
            if (set) {
                if (nValue < 0 || nValue > 6)
                    return 0;
                dayShift = nValue - dow;
            } else
                dayShift = nCode == GXDTN_FIRST ? -dow : 6 - dow;
        }
        break;
    }
    case GXDT_MONTH:
    case GXDT_MONTHNAME:
        level = edge ? 5 : 4;
        if (up)
            mo = wrap(mo + 1, 1, 12);
        else if (down)
            mo = wrap(mo - 1, 1, 12);
        else if (set) {
            const int m = nID == GXDT_MONTHNAME ? nValue + 1 : nValue;
            if (m < 1 || m > 12)
                return 0;
            mo = m;
        } else
            mo = nCode == GXDTN_FIRST ? 1 : 12;
        break;
    case GXDT_YEAR2:
    case GXDT_YEAR4:
        level = 5;
        if (up)
            y = std::min(y + step, 9999);
        else if (down)
            y = std::max(y - step, 100);
        else if (set)
            y = nID == GXDT_YEAR2 ? (nValue < 0 || nValue > 99 ? -1 : y / 100 * 100 + nValue) : nValue;
        else
            y = nCode == GXDTN_FIRST ? m_dtMin.GetYear() : m_dtMax.GetYear();
        if (y < 100 || y > 9999)
            return 0;
        break;
    default: return -1;
    }
    COleDateTime date(y, mo, d, h, mi, s);
    // A day past the month's end comes down to its last day.
    while (date.GetStatus() != COleDateTime::valid && d >= 29)
        date = COleDateTime(y, mo, --d, h, mi, s);
    if (date.GetStatus() != COleDateTime::valid)
        return 0;
    if (dayShift != 0) {
        date += COleDateTimeSpan(dayShift, 0, 0, 0);
        if (date.GetStatus() != COleDateTime::valid)
            return 0;
    }
    if (!ValidateDate(date, level))
        return 0;
    result = date;
    return 1;
}

// ---------------------------------------------------------------------------
// Gadgets

namespace {
// Timers of all gadgets, by their full id.
std::map<UINT_PTR, CGXBDTGadget*>& TimerMap()
{
    static std::map<UINT_PTR, CGXBDTGadget*> map;
    return map;
}

void CALLBACK GadgetTimerProc(HWND, UINT, UINT_PTR nID, DWORD)
{
    if (CGXBDTGadget* p = CGXBDTGadget::FromTimer(nID))
        p->OnTimer();
}
} // namespace

BOOL GXDateTimeIsDigitKey(UINT nChar)
{
    return (nChar >= '0' && nChar <= '9') || (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9);
}

CGXBDTGadget::~CGXBDTGadget() { StopTimer(); }

BOOL CGXBDTGadget::Initialise(GXBDTGadgetOwner* pOwner, int nID)
{
    m_pOwner = pOwner;
    m_nID = nID;
    return TRUE;
}

BOOL CGXBDTGadget::SetFocus(BOOL bFocus)
{
    if (!(m_nStyle & styleFocus))
        return FALSE;
    if (m_bFocus != bFocus) {
        m_bFocus = bFocus;
        Invalidate(FALSE);
    }
    return TRUE;
}

LRESULT CGXBDTGadget::Notify(int nCode, int nID, int nValue)
{
    return m_pOwner != nullptr ? m_pOwner->OnGadgetNotify(nCode, nID, nValue) : 0;
}

void CGXBDTGadget::Invalidate(BOOL bUpdate)
{
    if (m_pOwner != nullptr)
        m_pOwner->InvalidateGadget(this, bUpdate);
}

void CGXBDTGadget::CaptureMouse(BOOL bCapture)
{
    if (m_pOwner != nullptr)
        m_pOwner->CaptureGadget(this, bCapture);
}

void CGXBDTGadget::StartTimer(UINT nMilliseconds)
{
    StopTimer();
    const UINT_PTR id = ::SetTimer(nullptr, 0, nMilliseconds, GadgetTimerProc);
    if (id != 0)
        TimerMap()[id] = this;
}

void CGXBDTGadget::StopTimer()
{
    auto& map = TimerMap();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it->second == this) {
            ::KillTimer(nullptr, it->first);
            map.erase(it);
            return;
        }
    }
}

BOOL CGXBDTGadget::HasTimer() const
{
    for (const auto& entry : TimerMap())
        if (entry.second == this)
            return TRUE;
    return FALSE;
}

CGXBDTGadget* CGXBDTGadget::FromTimer(UINT_PTR nTimer)
{
    auto& map = TimerMap();
    auto it = map.find(nTimer);
    return it != map.end() ? it->second : nullptr;
}

// Numeric

BOOL CGXBDTNumericGadget::Initialise(GXBDTGadgetOwner* pOwner, int nMin, int nMax, int nValue, BOOL bLeadingZeros,
                                     int nID)
{
    CGXBDTGadget::Initialise(pOwner, nID);
    m_nMin = nMin;
    m_nMax = nMax;
    m_nValue = nValue;
    m_bLeadingZeros = bLeadingZeros;
    m_nDigits = nMax < 10 ? 1 : nMax < 100 ? 2 : nMax < 1000 ? 3 : 4;
    return TRUE;
}

CString CGXBDTNumericGadget::GetText() const
{
    CString s;
    const int v = IsPending() ? m_nPending : m_nValue;
    if (m_bLeadingZeros)
        s.Format("%0*d", m_nDigits, v);
    else
        s.Format("%d", v);
    return s;
}

void CGXBDTNumericGadget::CalcSize(CDC* pDC)
{
    const CSize size = pDC->GetTextExtent(CString('0', m_nDigits));
    m_rect = CRect(0, 0, size.cx, size.cy);
}

void CGXBDTNumericGadget::Draw(CDC* pDC)
{
    const int saved = pDC->SaveDC();
    if (m_bFocus) {
        pDC->SetBkMode(OPAQUE);
        pDC->SetBkColor(::GetSysColor(COLOR_HIGHLIGHT));
        pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    CRect r = m_rect;
    const CString text = GetText();
    pDC->DrawText(text, text.GetLength(), &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->RestoreDC(saved);
}

BOOL CGXBDTNumericGadget::CommitPending()
{
    if (!IsPending())
        return TRUE;
    m_nPendingCount = 0;
    const int number = m_nPending;
    BOOL ok = FALSE;
    if (Notify(GXDTN_QUERY, m_nID, number)) {
        m_nValue = number;
        Notify(GXDTN_SET, m_nID, number);
        ok = TRUE;
    } else {
        ::MessageBeep(static_cast<UINT>(-1));
        Invalidate(TRUE);
    }
    Notify(GXDTN_TYPING, m_nID, 0);
    return ok;
}

BOOL CGXBDTNumericGadget::SetFocus(BOOL bFocus)
{
    if (!bFocus)
        CommitPending();
    return CGXBDTGadget::SetFocus(bFocus);
}

void CGXBDTNumericGadget::OnCancelMode() { CommitPending(); }

void CGXBDTNumericGadget::OnKeyDown(UINT nChar)
{
    int code = 0;
    switch (nChar) {
    case VK_UP:
    case VK_ADD: code = GXDTN_UP; break;
    case VK_DOWN:
    case VK_SUBTRACT: code = GXDTN_DOWN; break;
    case VK_HOME: code = GXDTN_FIRST; break;
    case VK_END: code = GXDTN_LAST; break;
    default:
        if (!GXDateTimeIsDigitKey(nChar))
            CommitPending();
        return;
    }
    if (!CommitPending())
        return;
    Notify(code, m_nID, 0);
}

void CGXBDTNumericGadget::OnChar(UINT nChar)
{
    if (nChar < '0' || nChar > '9') {
        if (IsPending()) {
            ::MessageBeep(static_cast<UINT>(-1));
            m_nPendingCount = 0;
            m_nPending = 0;
            Invalidate(TRUE);
            Notify(GXDTN_TYPING, m_nID, 0);
        }
        return;
    }
    const int digit = static_cast<int>(nChar - '0');
    if (!IsPending()) {
        Notify(GXDTN_TYPING, m_nID, 1);
        m_nPending = digit;
        m_nPendingCount = 1;
    } else if (m_nPending == 0 && digit == 0) {
        return;
    } else {
        m_nPending = m_nPending * 10 + digit;
        ++m_nPendingCount;
    }
    Invalidate(TRUE);
    if (m_nPendingCount >= m_nDigits)
        CommitPending();
}

// List

BOOL CGXBDTListGadget::Initialise(GXBDTGadgetOwner* pOwner, const std::vector<CString>& items, int nValue, int nID)
{
    CGXBDTGadget::Initialise(pOwner, nID);
    m_items = items;
    m_nValue = nValue;
    return TRUE;
}

CString CGXBDTListGadget::GetText() const
{
    return m_nValue >= 0 && m_nValue < GetItemCount() ? m_items[static_cast<size_t>(m_nValue)] : CString();
}

void CGXBDTListGadget::CalcSize(CDC* pDC)
{
    CSize size(0, pDC->GetTextExtent("0").cy);
    for (const CString& item : m_items) {
        const CSize s = pDC->GetTextExtent(item);
        size.cx = std::max<int>(size.cx, s.cx);
        size.cy = std::max<int>(size.cy, s.cy);
    }
    m_rect = CRect(0, 0, size.cx, size.cy);
}

void CGXBDTListGadget::Draw(CDC* pDC)
{
    if (m_nValue < 0 || m_nValue >= static_cast<int>(m_items.size()))
        return;
    const int saved = pDC->SaveDC();
    if (m_bFocus) {
        pDC->SetBkMode(OPAQUE);
        pDC->SetBkColor(::GetSysColor(COLOR_HIGHLIGHT));
        pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    CRect r = m_rect;
    const CString& text = m_items[static_cast<size_t>(m_nValue)];
    pDC->DrawText(text, text.GetLength(), &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->RestoreDC(saved);
}

void CGXBDTListGadget::StopPrefix()
{
    if (m_bPrefixTimer) {
        StopTimer();
        m_bPrefixTimer = FALSE;
    }
    m_strPrefix.Empty();
}

BOOL CGXBDTListGadget::SetFocus(BOOL bFocus)
{
    StopPrefix();
    return CGXBDTGadget::SetFocus(bFocus);
}

void CGXBDTListGadget::OnKeyDown(UINT nChar)
{
    int code = 0;
    switch (nChar) {
    case VK_UP:
    case VK_ADD: code = GXDTN_UP; break;
    case VK_DOWN:
    case VK_SUBTRACT: code = GXDTN_DOWN; break;
    case VK_HOME: code = GXDTN_FIRST; break;
    case VK_END: code = GXDTN_LAST; break;
    default: return;
    }
    StopPrefix();
    Notify(code, m_nID, 0);
}

int CGXBDTListGadget::FindPrefix(const CString& strPrefix, int nStart)
{
    const int n = static_cast<int>(m_items.size());
    if (n == 0 || strPrefix.IsEmpty())
        return -1;
    if (nStart < 0 || nStart >= n)
        nStart = 0;
    for (int k = 0; k < n; ++k) {
        const int i = (nStart + k) % n;
        const CString& item = m_items[static_cast<size_t>(i)];
        if (item.GetLength() >= strPrefix.GetLength() &&
            item.Left(strPrefix.GetLength()).CompareNoCase(strPrefix) == 0 && Notify(GXDTN_QUERY, m_nID, i)) {
            m_nValue = i;
            Notify(GXDTN_SET, m_nID, i);
            return i;
        }
    }
    return -1;
}

void CGXBDTListGadget::OnChar(UINT nChar)
{
    m_strCollect += static_cast<char>(nChar);
    if (m_strCollect.GetLength() == 1 && ::IsDBCSLeadByte(static_cast<BYTE>(nChar)))
        return;   // the trail byte follows
    const CString ch = m_strCollect;
    m_strCollect.Empty();
    if (m_strPrefix.IsEmpty()) {
        if (FindPrefix(ch, m_nValue + 1) >= 0) {
            m_strPrefix = ch;
            Invalidate(TRUE);
            StartTimer(2000);
            m_bPrefixTimer = TRUE;
        } else {
            ::MessageBeep(static_cast<UINT>(-1));
        }
        return;
    }
    if (m_strPrefix.GetLength() == ch.GetLength() && m_strPrefix.CompareNoCase(ch) == 0) {
        // The same letter again steps on to the next item starting with it.
        if (FindPrefix(m_strPrefix, m_nValue + 1) >= 0)
            Invalidate(TRUE);
        StartTimer(2000);
        m_bPrefixTimer = TRUE;
        return;
    }
    const CString prefix = m_strPrefix + ch;
    if (FindPrefix(prefix, m_nValue) >= 0) {
        m_strPrefix = prefix;
        Invalidate(TRUE);
        StartTimer(2000);
        m_bPrefixTimer = TRUE;
    } else {
        ::MessageBeep(static_cast<UINT>(-1));
        StopPrefix();
    }
}

void CGXBDTListGadget::OnTimer() { StopPrefix(); }

// Static

BOOL CGXBDTStaticGadget::Initialise(GXBDTGadgetOwner* pOwner, LPCSTR lpszText, int nID)
{
    CGXBDTGadget::Initialise(pOwner, nID);
    m_strText = lpszText;
    m_nStyle = 0;
    return TRUE;
}

void CGXBDTStaticGadget::CalcSize(CDC* pDC)
{
    const CSize size = pDC->GetTextExtent(m_strText);
    m_rect = CRect(0, 0, size.cx, size.cy);
}

void CGXBDTStaticGadget::Draw(CDC* pDC)
{
    CRect r = m_rect;
    pDC->DrawText(m_strText, m_strText.GetLength(), &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

// Spin

void CGXBDTSpinGadget::CalcSize(CDC*) { m_rect = CRect(0, 0, 16, -1); }

void CGXBDTSpinGadget::Draw(CDC* pDC)
{
    pDC->FillSolidRect(&m_rect, ::GetSysColor(COLOR_BTNFACE));
    for (int half = 0; half < 2; ++half) {
        CRect r = m_rect;
        if (half == 0)
            r.bottom = r.top + r.Height() / 2;
        else
            r.top += r.Height() / 2;
        const BOOL pressed = (m_nState & (half == 0 ? 0x1u : 0x2u)) != 0;
        pDC->Draw3dRect(&r, ::GetSysColor(pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE),
                        ::GetSysColor(pressed ? COLOR_BTNHIGHLIGHT : COLOR_WINDOWFRAME));
        r.DeflateRect(1, 1);
        pDC->Draw3dRect(&r, ::GetSysColor(pressed ? COLOR_WINDOWFRAME : COLOR_BTNHIGHLIGHT),
                        ::GetSysColor(pressed ? COLOR_BTNFACE : COLOR_BTNSHADOW));
        r.DeflateRect(1, 1);
        const int a = std::min(r.Height() / 4 + 1, 4);
        const int cx = r.left + r.Width() / 2 + (pressed ? 1 : 0);
        const int cy = r.top + r.Height() / 2 + (pressed ? 1 : 0);
        if (a < 2) {
            pDC->SetPixel(cx, cy, RGB(0, 0, 0));
            continue;
        }
        for (int i = 0; i < a; ++i) {
            // Row i of the triangle, apex first.
            const int y = half == 0 ? cy - a / 2 + i : cy + a / 2 - i;
            pDC->FillSolidRect(cx - i, y, 2 * i + 1, 1, RGB(0, 0, 0));
        }
    }
}

void CGXBDTSpinGadget::OnLButtonDown(UINT, CPoint pt)
{
    const BOOL lower = InLowerHalf(pt);
    m_nState = lower ? (0x2 | 0x8) : (0x1 | 0x4);
    Notify(lower ? GXDTN_SPINDOWN : GXDTN_SPINUP, m_nID, 1);
    Invalidate(TRUE);
    CaptureMouse(TRUE);
    StartTimer(500);
    m_nState |= 0x10 | 0x20;
    m_nRepeat = 0;
}

void CGXBDTSpinGadget::OnTimer()
{
    if (m_nState & 0x20) {
        m_nState &= ~0x20u;
        StartTimer(100);
    }
    ++m_nRepeat;
    const int step = m_nRepeat < 21 ? 1 : m_nRepeat < 51 ? 2 : 5;
    if (m_nState & 0x4)
        Notify(GXDTN_SPINUP, m_nID, step);
    else if (m_nState & 0x8)
        Notify(GXDTN_SPINDOWN, m_nID, step);
}

void CGXBDTSpinGadget::OnMouseMove(UINT, CPoint pt)
{
    if (!(m_nState & (0x4 | 0x8)))
        return;
    const BOOL upper = (m_nState & 0x4) != 0;
    CRect half = m_rect;
    if (upper)
        half.bottom = half.top + half.Height() / 2;
    else
        half.top += half.Height() / 2;
    const BOOL inside = half.PtInRect(pt);
    const UINT bit = upper ? 0x1u : 0x2u;
    if (inside == ((m_nState & bit) != 0))
        return;
    if (inside) {
        m_nState |= bit;
        if (!(m_nState & 0x10)) {
            StartTimer(100);
            m_nState |= 0x10;
            m_nState &= ~0x20u;
            m_nRepeat = 0;
        }
    } else {
        m_nState &= ~bit;
        StopTimer();
        m_nState &= ~(0x10u | 0x20u);
    }
    Invalidate(TRUE);
}

void CGXBDTSpinGadget::OnLButtonUp(UINT, CPoint) { OnCancelMode(); }

void CGXBDTSpinGadget::OnCancelMode()
{
    if (m_nState == 0)
        return;
    CaptureMouse(FALSE);
    const BOOL pressed = (m_nState & 0x3) != 0;
    m_nState = 0;
    StopTimer();
    if (pressed)
        Invalidate(TRUE);
}

void GXBuildDateTimeGadgets(GXBDTGadgetOwner* pOwner, const std::vector<GXBDTFieldSpec>& fields,
                            std::vector<CGXBDTGadget*>& gadgets)
{
    for (const GXBDTFieldSpec& f : fields) {
        CGXBDTGadget* g = nullptr;
        if (f.nID < 0) {
            auto* s = new CGXBDTStaticGadget;
            s->Initialise(pOwner, f.strText);
            g = s;
        } else if (!f.items.empty()) {
            auto* l = new CGXBDTListGadget;
            l->Initialise(pOwner, f.items, 0, f.nID);
            g = l;
        } else {
            auto* n = new CGXBDTNumericGadget;
            n->Initialise(pOwner, f.nMin, f.nMax, 0, f.bLeadingZeros, f.nID);
            g = n;
        }
        if (f.nID >= 0 && !f.bEditable)
            g->SetStyle(g->GetStyle() & ~static_cast<DWORD>(CGXBDTGadget::styleFocus));
        gadgets.push_back(g);
    }
}
