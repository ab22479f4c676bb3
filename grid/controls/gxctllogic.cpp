#include "gxctllogic.h"
#include "gxutil.h"
#include <climits>
#include <cstring>

// ---------------------------------------------------------------------------
// Spin edit

long GXSpinStep(LPCSTR lpszText, BOOL bUp, const GXSpinBounds& b)
{
    if (b.bHasStart && (lpszText == nullptr || *lpszText == '\0'))
        return b.nStart;
    const long n = GXParseClampedLong(lpszText);
    if (bUp) {
        if (b.bHasMax && n >= b.nMax) {
            // Only a value standing on the maximum wraps; one typed above it comes back to it.
            if (n == b.nMax && b.bWrap && b.bHasMin)
                return b.nMin;
            return b.nMax;
        }
        const long next = n == LONG_MAX ? n : n + 1;
        return b.bHasMin && next < b.nMin ? b.nMin : next;
    }
    if (b.bHasMin && n <= b.nMin) {
        if (n == b.nMin && b.bWrap && b.bHasMax)
            return b.nMax;
        return b.nMin;
    }
    const long next = n == LONG_MIN ? n : n - 1;
    return b.bHasMax && next > b.nMax ? b.nMax : next;
}

// ---------------------------------------------------------------------------
// Check box and radio buttons

UINT GXCheckBoxState(BOOL bEnabled, BOOL bActiveCurrent, BOOL bPressed, LPCSTR lpszValue, LPCSTR lpszChecked,
                     LPCSTR lpszUnchecked, BOOL bTriState)
{
    if (!bEnabled)
        return GX_CHECK_UNCHECKED | GX_CHECK_GREY;
    UINT state = 0;
    if (bActiveCurrent)
        state = bPressed ? (GX_CHECK_ACTIVE | GX_CHECK_GREY) : GX_CHECK_ACTIVE;
    const char* value = lpszValue != nullptr ? lpszValue : "";
    if (std::strcmp(value, lpszChecked != nullptr ? lpszChecked : "") == 0)
        state |= GX_CHECK_CHECKED;
    else if (!bTriState || std::strcmp(value, lpszUnchecked != nullptr ? lpszUnchecked : "") == 0)
        state |= GX_CHECK_UNCHECKED;
    return state;
}

int GXCheckBoxImage(UINT nState)
{
    if (nState & GX_CHECK_GREY)
        return (nState & GX_CHECK_CHECKED) ? 3 : 2;
    if (nState & GX_CHECK_CHECKED)
        return 1;
    if (nState & GX_CHECK_UNCHECKED)
        return 0;
    return 4;
}

CString GXCheckBoxToggle(LPCSTR lpszValue, LPCSTR lpszChecked, LPCSTR lpszUnchecked, BOOL bTriState)
{
    const char* value = lpszValue != nullptr ? lpszValue : "";
    const char* checked = lpszChecked != nullptr ? lpszChecked : "";
    const char* unchecked = lpszUnchecked != nullptr ? lpszUnchecked : "";
    if (std::strcmp(value, checked) == 0)
        return CString(unchecked);
    if (std::strcmp(value, unchecked) == 0)
        return bTriState ? CString() : CString(checked);
    return CString(checked);
}

CRect GXCheckBoxPlace(CSize cell, CSize needed, int nBoxSize, UINT nAlign)
{
    // One axis: centred, at the far side, or 3 pixels in (less when there is no room); never before 0.
    auto offset = [nAlign](int have, int need, UINT centre, UINT farSide) {
        int v = have - need;
        if (nAlign & centre)
            v /= 2;
        else if (!(nAlign & farSide))
            v = v < 3 ? v : 3;
        return v < 0 ? 0 : v;
    };
    const int x = offset(cell.cx, needed.cx, DT_CENTER, DT_RIGHT);
    const int y = offset(cell.cy, needed.cy, DT_VCENTER, DT_BOTTOM);
    CRect box(x, y, x + nBoxSize, y + nBoxSize);
    if (box.right > cell.cx)
        box.right = cell.cx;
    if (box.bottom > cell.cy)
        box.bottom = cell.cy;
    if (box.right < box.left)
        box.right = box.left;
    if (box.bottom < box.top)
        box.bottom = box.top;
    return box;
}

int GXRadioChoiceCount(LPCSTR lpszChoices)
{
    int count = 0;
    CString line;
    while (GXGetNextChoiceLine(lpszChoices, line))
        if (!line.IsEmpty())
            ++count;
    return count;
}

int GXRadioNextChoice(LPCSTR lpszValue, int nChoices)
{
    if (nChoices <= 0)
        return -1;
    const long current = (lpszValue == nullptr || *lpszValue == '\0') ? -1 : GXParseClampedLong(lpszValue);
    if (current < -1 || current >= nChoices - 1)
        return 0;
    return static_cast<int>(current) + 1;
}

// ---------------------------------------------------------------------------
// Progress bar

int GXProgressBarRight(int nLeft, int nRight, long nValue, long nLower, long nUpper)
{
    if (nUpper <= nLower || nRight <= nLeft)
        return nLeft;
    const double range = static_cast<double>(nUpper) - static_cast<double>(nLower);
    const double above = static_cast<double>(nValue > nLower ? nValue : nLower) - static_cast<double>(nLower);
    const double width = above * (nRight - nLeft) / range;
    if (width >= nRight - nLeft)
        return nRight;
    return nLeft + static_cast<int>(width);
}

namespace {
// 0: no conversion, 1: one whole-number conversion ('l' in bLong), -1: anything else.
int ScanCaptionFormat(LPCSTR p, bool& bLong)
{
    int conversions = 0;
    bLong = false;
    while (*p) {
        if (*p++ != '%')
            continue;
        if (*p == '%') {
            ++p;
            continue;
        }
        while (*p && std::strchr("-+ #0", *p))
            ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9')
                ++p;
        }
        if (*p == 'l') {
            bLong = true;
            ++p;
        }
        if (*p != 'd' && *p != 'i' && *p != 'u')
            return -1;
        ++p;
        if (++conversions > 1)
            return -1;
    }
    return conversions;
}
} // namespace

CString GXProgressCaption(LPCSTR lpszCaption, long nValue)
{
    if (lpszCaption == nullptr)
        return CString();
    bool bLong = false;
    const int kind = ScanCaptionFormat(lpszCaption, bLong);
    if (kind < 0)
        return CString(lpszCaption);
    CString s;
    if (bLong)
        s.Format(lpszCaption, nValue);
    else
        s.Format(lpszCaption, static_cast<int>(nValue));
    return s;
}

// ---------------------------------------------------------------------------
// Cell buttons

void GXButtonState::MouseDown()
{
    m_bPressed = TRUE;
    m_bMouseDown = TRUE;
}

void GXButtonState::MouseMove(BOOL bInside)
{
    if (m_bMouseDown)
        m_bPressed = bInside ? TRUE : FALSE;
}

BOOL GXButtonState::MouseUp(BOOL bInside)
{
    const BOOL click = m_bMouseDown && m_bPressed && bInside;
    m_bPressed = FALSE;
    m_bMouseDown = FALSE;
    return click;
}

BOOL GXButtonState::KeyDown(UINT nChar)
{
    if (nChar != ' ')
        return FALSE;
    m_bPressed = TRUE;
    return TRUE;
}

BOOL GXButtonState::KeyUp(UINT nChar)
{
    if (nChar != ' ' || !m_bPressed)
        return FALSE;
    m_bPressed = FALSE;
    return TRUE;
}

void GXButtonState::Cancel()
{
    m_bPressed = FALSE;
    m_bMouseDown = FALSE;
}

void GXRepeatSchedule::Start(DWORD dwNow)
{
    m_dwLastTick = dwNow;
    m_dwDelay = 500;
}

BOOL GXRepeatSchedule::Due(DWORD dwNow)
{
    // Unsigned difference: correct across the tick count's wrap.
    if (dwNow - m_dwLastTick < m_dwDelay)
        return FALSE;
    if (m_dwDelay > 150)
        m_dwDelay = 150;
    else if (m_dwDelay > 50)
        m_dwDelay -= 5;
    m_dwLastTick = dwNow;
    return TRUE;
}
