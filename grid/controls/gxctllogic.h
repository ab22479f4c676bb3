// The decisions of the cell controls that need no window: spin steps, check
// box and radio states, progress geometry and caption, and the pressed-state
// machine of the cell buttons. The controls draw and store; these decide.
#pragma once
#include "afx.h"

// ---------------------------------------------------------------------------
// Spin edit

struct GXSpinBounds
{
    BOOL bHasMin = FALSE;
    BOOL bHasMax = FALSE;
    BOOL bWrap = FALSE;
    BOOL bHasStart = FALSE;
    long nMin = 0;
    long nMax = 0;
    long nStart = 0;
};

// The value one step up or down from the text. The text counts as its leading
// number (0 without one); an empty text takes the start value when one is set.
// Steps stop at the 32-bit limits; at a bound the value wraps to the other
// bound only with wrap on and that bound set; a value outside the bounds is
// pulled to the nearest bound instead of stepping or wrapping.
long GXSpinStep(LPCSTR lpszText, BOOL bUp, const GXSpinBounds& bounds);

// ---------------------------------------------------------------------------
// Check box and radio buttons

enum
{
    GX_CHECK_ACTIVE = 1,    // the control is active on the grid's current cell
    GX_CHECK_GREY = 2,      // pressed, or a disabled cell
    GX_CHECK_CHECKED = 4,
    GX_CHECK_UNCHECKED = 8, // neither 4 nor 8: indeterminate
};

// The state bits of a check box for its value.
UINT GXCheckBoxState(BOOL bEnabled, BOOL bActiveCurrent, BOOL bPressed, LPCSTR lpszValue, LPCSTR lpszChecked,
                     LPCSTR lpszUnchecked, BOOL bTriState);
// The image of the strip (0 unchecked, 1 checked, 2 unchecked grey, 3 checked
// grey, 4 indeterminate) for a state.
int GXCheckBoxImage(UINT nState);
// The value after one toggle: checked -> unchecked; unchecked -> empty with
// tri-state, else checked; anything else -> checked.
CString GXCheckBoxToggle(LPCSTR lpszValue, LPCSTR lpszChecked, LPCSTR lpszUnchecked, BOOL bTriState);
// Where the box goes in a cell of the given size: needed is the box with its
// label (width) and the taller of box and text line (height); nAlign holds the
// style's horizontal (DT_CENTER, DT_RIGHT) and vertical (DT_VCENTER,
// DT_BOTTOM) alignment bits. Relative to the cell's top-left corner and cut
// to the cell.
CRect GXCheckBoxPlace(CSize cell, CSize needed, int nBoxSize, UINT nAlign);

// The number of choices of a radio group: the non-empty lines of its list.
int GXRadioChoiceCount(LPCSTR lpszChoices);
// The choice after the space bar: the next one, wrapping to 0 at or beyond the
// count; -1 (nothing to choose) without choices. An empty value is no choice.
int GXRadioNextChoice(LPCSTR lpszValue, int nChoices);

// ---------------------------------------------------------------------------
// Progress bar

// The bar's right edge in a cell from nLeft to nRight: empty (nLeft) when the
// upper bound is not above the lower one, never beyond the cell.
int GXProgressBarRight(int nLeft, int nRight, long nValue, long nLower, long nUpper);
// The caption for the value: the caption used as a format only when its one
// conversion takes a whole number (d, i or u, with flags, width, precision
// and an l) beside any "%%"; any other caption is shown as it stands.
CString GXProgressCaption(LPCSTR lpszCaption, long nValue);

// ---------------------------------------------------------------------------
// Cell buttons

// The pressed state of a cell button. Each event answers whether the button
// clicked; the caller redraws when Pressed() changed.
class GXButtonState
{
public:
    void MouseDown();
    void MouseMove(BOOL bInside);
    BOOL MouseUp(BOOL bInside);
    BOOL KeyDown(UINT nChar);
    BOOL KeyUp(UINT nChar);
    // Capture lost, cancel mode or a new cell: nothing stays pressed.
    void Cancel();
    BOOL Pressed() const { return m_bPressed; }
    BOOL MouseIsDown() const { return m_bMouseDown; }

private:
    BOOL m_bPressed = FALSE;
    BOOL m_bMouseDown = FALSE;
};

// The repeat schedule of a held spin button: a click at the press, the next
// 500 ms later, then after 150 ms, each following 5 ms sooner down to 50 ms.
// Times are tick counts; the comparison survives the tick count's wrap.
class GXRepeatSchedule
{
public:
    void Start(DWORD dwNow);
    // Whether a repeat is due at dwNow; when it is, the schedule moves on.
    BOOL Due(DWORD dwNow);
    DWORD Delay() const { return m_dwDelay; }

private:
    DWORD m_dwLastTick = 0;
    DWORD m_dwDelay = 500;
};
