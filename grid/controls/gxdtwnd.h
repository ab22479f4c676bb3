// The date/time window: one date-and-time value edited as a row of fields.
#pragma once
#include "afxwin.h"
#include "gxcal.h"
#include "gxdtlogic.h"
#include <vector>

// Window style bits of the date/time window.
enum
{
    GXDTS_CALENDAR = 0x0001,   // a button that drops down the month calendar
    GXDTS_SPIN = 0x0002,       // up and down arrows
};
// Messages from the popup calendar to its owner: a date was chosen, or it closed.
enum
{
    GXM_CALENDAR_CHOSEN = 0x7D7,
    GXM_CALENDAR_CLOSED = 0x7D8,
};
// The change notification to the parent (high word of WM_COMMAND's first parameter).
const UINT GXDTN_CHANGED = 0x0100;

// The calendar button: a click reports to the window.
class CGXBDTButtonGadget : public CGXBDTGadget
{
public:
    CGXBDTButtonGadget() { m_nStyle = styleMouse; }
    BOOL Initialise(GXBDTGadgetOwner* pOwner, UINT nBitmapID, int nID);
    void CalcSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnLButtonDown(UINT nFlags, CPoint pt) override;
    void OnLButtonUp(UINT nFlags, CPoint pt) override;
    void OnMouseMove(UINT nFlags, CPoint pt) override;
    void OnCancelMode() override;
    void OnSysColorChange() override;

protected:
    UINT m_nState = 0;   // 0x1 tracking, 0x2 shown pressed
    UINT m_nBitmapID = 0;
    HBITMAP m_hBitmap = nullptr;   // the library's cached bitmap, not owned
};

class CGXBDateTimeCtrl : public CWnd, public GXBDTGadgetOwner
{
public:
    CGXBDateTimeCtrl();
    ~CGXBDateTimeCtrl() override;

    virtual BOOL ValidateDate(COleDateTime& date, int nLevel) { return m_rules.ValidateDate(date, nLevel); }
    // Asked before every change by the user.
    virtual BOOL CanChange(const COleDateTime& date);
    // After every change by the user: WM_COMMAND with GXDTN_CHANGED to the parent.
    virtual void OnChanged();
    virtual void LayoutGadgets();
    virtual void DrawGadgets(CDC* pDC);
    LRESULT OnGadgetNotify(int nCode, int nID, int nValue) override;
    void InvalidateGadget(CGXBDTGadget* pGadget, BOOL bUpdate) override;
    void CaptureGadget(CGXBDTGadget* pGadget, BOOL bCapture) override;

    BOOL Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);
    void SetFormat(int nType);
    void SetFormat(LPCSTR lpszPicture);
    int GetFormatType() const { return m_nFormatType; }
    CString GetFormatString() const;
    void SetFieldFlags(UINT nFlags);
    UINT GetFieldFlags() const { return m_nNoEdit; }
    BOOL SetDateTime(const COleDateTime& date);
    const COleDateTime& GetDateTime() const { return m_dt; }
    BOOL SetRange(const COleDateTime& dtMin, const COleDateTime& dtMax, int nMode);
    BOOL IsInRange(const COleDateTime& date) const;
    const CGXBDateTimeRules& GetRules() const { return m_rules; }
    virtual LRESULT DropCalendar();
    CGXBPopupCalendar* GetPopup() const { return m_pPopup; }

    int GetGadgetCount() const { return static_cast<int>(m_gadgets.size()); }
    CGXBDTGadget* GetGadget(int i) const { return m_gadgets[static_cast<size_t>(i)]; }
    // The focused gadget, or null when the focus index names none.
    CGXBDTGadget* GetFocusGadget() const;
    int GetFocusIndex() const { return m_nFocus; }
    // The number being typed into the focused field is offered now, as a key that is not a digit
    // offers it; FALSE when the field refused it (it keeps its value).
    BOOL CommitTyping();
    void SetFocusIndex(int nIndex);
    int GetScrollOffset() const { return m_nScroll; }
    int GetButtonCount() const { return m_nButtons; }
    BOOL IsModified() const { return (m_nState & 0x1) != 0; }
    void SetModified(BOOL b) { m_nState = b ? (m_nState | 0x1) : (m_nState & ~0x1u); }
    BOOL IsTyping() const { return (m_nState & 0x4) != 0; }
    void SetColors(COLORREF clrText, COLORREF clrBack) { m_clrText = clrText; m_clrBack = clrBack; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Deletes the field gadgets and builds them again from the picture.
    void Rebuild();
    void BuildFields();
    // Sets every field gadget from the value (those in nChanged, or all).
    void RefreshGadgets(const COleDateTime& old, BOOL bAll);
    void ScrollIntoView(int nIndex);
    void MoveFocus(int nDirection);
    void ClosePopup();
    void OnCalendarChosen();
    void ReleaseGadgetCapture();
    int HitGadget(CPoint pt) const;
    CPoint ToGadget(CGXBDTGadget* pGadget, CPoint pt) const;
    BOOL HasBorder() const;
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint pt);

    UINT m_nState = 0;   // 0x1 changed by the user, 0x4 a number is being typed
    UINT m_nNoEdit = 0;
    COleDateTime m_dt;
    CGXBDateTimeRules m_rules;
    int m_nFormatType = 1;
    CString m_strCustom;
    HFONT m_hFont = nullptr;
    int m_nFocus = 0;
    int m_nScroll = 0;
    int m_nRightWidth = 0;
    int m_nButtons = 0;
    CGXBDTGadget* m_pCapture = nullptr;
    CGXBPopupCalendar* m_pPopup = nullptr;
    std::vector<CGXBDTGadget*> m_gadgets;
    COLORREF m_clrText;
    COLORREF m_clrBack;
};
