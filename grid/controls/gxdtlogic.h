// Date/time fields: the picture language, the rules by which one field of a
// date changes, the range check, and the field gadgets' own logic.
#pragma once
#include "afx.h"
#include "afxdate.h"
#include <map>
#include <vector>

class CDC;

// Field ids: one bit each, so that a set of fields is a mask.
enum
{
    GXDT_HOUR12 = 1,
    GXDT_HOUR24 = 2,
    GXDT_MINUTE = 4,
    GXDT_SECOND = 8,
    GXDT_AMPM = 16,
    GXDT_DAY = 32,
    GXDT_WEEKDAY = 64,
    GXDT_MONTH = 128,
    GXDT_MONTHNAME = 256,
    GXDT_YEAR2 = 512,
    GXDT_YEAR4 = 1024,
    GXDT_BUTTON = 16384,
    GXDT_SPIN = 32768,
};

// Notifications from a gadget to its window.
enum
{
    GXDTN_UP = 1,
    GXDTN_DOWN = 2,
    GXDTN_SPINUP = 3,
    GXDTN_SPINDOWN = 4,
    GXDTN_CLICKED = 5,
    GXDTN_QUERY = 6,
    GXDTN_SET = 7,
    GXDTN_FIRST = 8,
    GXDTN_LAST = 9,
    GXDTN_TYPING = 10,
};

// Non-editable field flags.
enum
{
    GXDT_NOEDIT_YEAR = 0x01,
    GXDT_NOEDIT_MONTH = 0x02,
    GXDT_NOEDIT_DAY = 0x04,
    GXDT_NOEDIT_HOUR = 0x08,
    GXDT_NOEDIT_MINUTE = 0x10,
    GXDT_NOEDIT_SECOND = 0x20,
};

// One element of a parsed picture: a field (nID > 0) or literal text (nID -1).
struct GXBDTFieldSpec
{
    int nID = -1;
    int nMin = 0;
    int nMax = 0;
    BOOL bLeadingZeros = FALSE;
    BOOL bEditable = TRUE;
    std::vector<CString> items;   // list fields
    CString strText;              // literal text
};

// The picture of a format type: 0 time, 1 short date, 2 long date (from the
// locale record), 3 the custom picture.
CString GXDateTimePicture(int nFormatType, const CString& strCustom, const COleDateTimeLocale& locale);
// Splits a picture into fields and literal texts; fields whose non-editable
// flag is set in nNoEdit are marked so.
void GXParseDateTimePicture(LPCSTR lpszPicture, const COleDateTimeLocale& locale, UINT nNoEdit,
                            std::vector<GXBDTFieldSpec>& fields);
// The number or list index a field shows for a date.
int GXDateTimeFieldValue(int nID, const COleDateTime& date);
// The program-wide bounds of dates: 0100-01-01 00:00:00 and 9999-12-31 23:59:59.
COleDateTime GXDateTimeMin();
COleDateTime GXDateTimeMax();

// The allowed range of a date/time value and the rules that change one field.
class CGXBDateTimeRules
{
public:
    CGXBDateTimeRules();

    // Modes: 0 no check, 1 time of day, 2 date, 3 date and time. The bounds
    // are stored reduced for modes 1 and 2. FALSE (nothing stored) for a
    // mode outside 0..3 or a minimum later than the maximum.
    BOOL SetRange(int nMode, const COleDateTime& dtMin, const COleDateTime& dtMax);
    int GetMode() const { return m_nMode; }
    const COleDateTime& GetMin() const { return m_dtMin; }
    const COleDateTime& GetMax() const { return m_dtMax; }

    // Whether the date lies in the range; out of it, a level above 0 pulls
    // the fields finer than the level to the crossed bound (the coarser ones
    // must equal the bound's) and writes the pulled date back.
    BOOL ValidateDate(COleDateTime& date, int nLevel) const;
    // A date as the mode compares it.
    COleDateTime Reduce(const COleDateTime& date) const;

    // The date a notification for one field gives: 1 changed (or, for a
    // query, acceptable), 0 refused, -1 not a field change.
    int ChangeField(const COleDateTime& current, int nCode, int nID, int nValue, COleDateTime& result) const;

protected:
    int m_nMode = 0;
    COleDateTime m_dtMin;
    COleDateTime m_dtMax;
};

// ---------------------------------------------------------------------------
// Gadgets

class CGXBDTGadget;

// What a gadget needs of its window.
class GXBDTGadgetOwner
{
public:
    virtual ~GXBDTGadgetOwner() = default;
    virtual LRESULT OnGadgetNotify(int nCode, int nID, int nValue) = 0;
    virtual void InvalidateGadget(CGXBDTGadget* pGadget, BOOL bUpdate) = 0;
    virtual void CaptureGadget(CGXBDTGadget* pGadget, BOOL bCapture) = 0;
};

// One element of a date/time window's row: a field, a literal text or a button.
class CGXBDTGadget : public CObject
{
public:
    enum
    {
        styleFocus = 0x1,
        styleMouse = 0x2,
        styleRightEdge = 0x4,
    };
    CGXBDTGadget() = default;
    ~CGXBDTGadget() override;

    virtual void CalcSize(CDC* pDC) = 0;
    virtual void Draw(CDC* pDC) = 0;
    virtual BOOL SetFocus(BOOL bFocus);
    virtual void OnKeyDown(UINT nChar) {}
    virtual void OnChar(UINT nChar) {}
    virtual void OnLButtonDown(UINT, CPoint) {}
    virtual void OnLButtonUp(UINT, CPoint) {}
    virtual void OnMouseMove(UINT, CPoint) {}
    virtual void OnCancelMode() {}
    virtual void OnTimer() {}
    virtual void OnSysColorChange() {}

    BOOL Initialise(GXBDTGadgetOwner* pOwner, int nID);
    DWORD GetStyle() const { return m_nStyle; }
    void SetStyle(DWORD nStyle) { m_nStyle = nStyle; }
    int GetValue() const { return m_nValue; }
    void SetValue(int nValue) { m_nValue = nValue; }
    int GetID() const { return m_nID; }
    const CRect& GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }
    BOOL HasFocus() const { return m_bFocus; }

    LRESULT Notify(int nCode, int nID, int nValue);
    void Invalidate(BOOL bUpdate);
    void CaptureMouse(BOOL bCapture);
    void StartTimer(UINT nMilliseconds);
    void StopTimer();
    BOOL HasTimer() const;
    // The gadget a timer id belongs to, or null.
    static CGXBDTGadget* FromTimer(UINT_PTR nTimer);

protected:
    CRect m_rect;
    BOOL m_bFocus = FALSE;
    DWORD m_nStyle = styleFocus;
    int m_nID = -1;
    int m_nValue = 0;
    GXBDTGadgetOwner* m_pOwner = nullptr;
};

// A number field: typed digits are collected and committed through the window.
class CGXBDTNumericGadget : public CGXBDTGadget
{
public:
    BOOL Initialise(GXBDTGadgetOwner* pOwner, int nMin, int nMax, int nValue, BOOL bLeadingZeros, int nID);
    void CalcSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    BOOL SetFocus(BOOL bFocus) override;
    void OnKeyDown(UINT nChar) override;
    void OnChar(UINT nChar) override;
    void OnCancelMode() override;
    // Offers the pending number to the window; FALSE when it was refused.
    BOOL CommitPending();
    BOOL IsPending() const { return m_nPendingCount > 0; }
    int GetPending() const { return m_nPending; }
    CString GetText() const;

protected:
    int m_nMin = 0, m_nMax = 0, m_nDigits = 1;
    int m_nPending = 0, m_nPendingCount = 0;
    BOOL m_bLeadingZeros = FALSE;
};

// A name field (month, weekday, AM/PM) with type-ahead.
class CGXBDTListGadget : public CGXBDTGadget
{
public:
    BOOL Initialise(GXBDTGadgetOwner* pOwner, const std::vector<CString>& items, int nValue, int nID);
    void CalcSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    BOOL SetFocus(BOOL bFocus) override;
    void OnKeyDown(UINT nChar) override;
    void OnChar(UINT nChar) override;
    void OnTimer() override;
    // The first item from nStart on (wrapping) that starts with the prefix and
    // that the window accepts; it is then set. -1 when none.
    int FindPrefix(const CString& strPrefix, int nStart);
    const CString& GetPrefix() const { return m_strPrefix; }
    // The current item, empty for an index outside the list.
    CString GetText() const;
    int GetItemCount() const { return static_cast<int>(m_items.size()); }

protected:
    void StopPrefix();
    std::vector<CString> m_items;
    CString m_strCollect;
    CString m_strPrefix;
    BOOL m_bPrefixTimer = FALSE;
};

// Literal text between fields.
class CGXBDTStaticGadget : public CGXBDTGadget
{
public:
    BOOL Initialise(GXBDTGadgetOwner* pOwner, LPCSTR lpszText, int nID = -1);
    void CalcSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    const CString& GetText() const { return m_strText; }

protected:
    CString m_strText;
};

// The up and down arrows: a press steps the focused field, holding repeats
// (after 500 ms, then every 100 ms; steps of 2 after 20 repeats, 5 after 50).
class CGXBDTSpinGadget : public CGXBDTGadget
{
public:
    CGXBDTSpinGadget() { m_nStyle = styleMouse; }
    void CalcSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnLButtonDown(UINT nFlags, CPoint pt) override;
    void OnLButtonUp(UINT nFlags, CPoint pt) override;
    void OnMouseMove(UINT nFlags, CPoint pt) override;
    void OnCancelMode() override;
    void OnTimer() override;
    UINT GetState() const { return m_nState; }
    int GetRepeatCount() const { return m_nRepeat; }

protected:
    BOOL InLowerHalf(CPoint pt) const { return pt.y >= m_rect.top + m_rect.Height() / 2; }
    UINT m_nState = 0;
    int m_nRepeat = 0;
};

// A digit key, on the top row or the keypad: the one kind of key that does not end the typing of
// a number.
BOOL GXDateTimeIsDigitKey(UINT nChar);

// Builds the gadgets of a parsed picture (owned by the caller).
void GXBuildDateTimeGadgets(GXBDTGadgetOwner* pOwner, const std::vector<GXBDTFieldSpec>& fields,
                            std::vector<CGXBDTGadget*>& gadgets);
