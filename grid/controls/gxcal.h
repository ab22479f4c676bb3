// The month calendar: a window of windowless panels (title, weekday names,
// 6 x 7 day boxes), also as a drop-down popup.
#pragma once
#include "afxwin.h"
#include "afxctrl.h"
#include "afxdate.h"
#include <vector>

class CGXBCalendar;

// Messages to the calendar's owner.
enum
{
    GXM_CAL_SELECTED = 0x7D5,
    GXM_CAL_MARKED = 0x7D6,
    GXM_CAL_CHOSEN = 0x7D7,
    GXM_CAL_CLOSED = 0x7D8,
};
// Calendar options.
enum
{
    GXCAL_CHOOSE_ON_UP = 0x100,
    GXCAL_OTHER_SELECTABLE = 0x200,
    GXCAL_SELECTABLE = 0x4000,
    GXCAL_MARKABLE = 0x8000,
    GXCAL_FIT_FONTS = 0x10000,
    GXCAL_AUTOSIZE = 0x20000,
    GXCAL_TOGGLE_CHOOSES = 0x40000,
    GXCAL_MONTH_BUTTONS = 0x80000,
    GXCAL_YEAR_BUTTONS = 0x100000,
    GXCAL_KEYBOARD = 0x200000,
    GXCAL_FIXED_MONTH = 0x400000,
    GXCAL_SIZABLE = 0x800000,
    GXCAL_DRAG_SELECT = 0x1000000,
};

// A framed, bevelled rectangle with a text. Rectangles hold their last pixels
// (right and bottom inclusive).
class CGXBPanel : public CObject
{
    DECLARE_DYNCREATE(CGXBPanel)
public:
    CGXBPanel() = default;
    BOOL Create(const CRect& rect, CGXBCalendar* pOwner, BOOL bSelected, BOOL bMarked, DWORD dwStyle,
                DWORD dwOptions, int nBorder);
    virtual BOOL DrawRing(CDC* pDC);
    virtual BOOL Draw(CDC* pDC);
    virtual BOOL DrawBevel(CDC* pDC);
    virtual BOOL DrawFrame(CDC* pDC);
    virtual BOOL FillInterior(CDC* pDC);
    virtual BOOL DrawContent(CDC* pDC);

    CRect SetRect(const CRect& rect);
    const CRect& GetRect() const { return m_rect; }
    void SetOwner(CGXBCalendar* pOwner) { m_pOwner = pOwner; }
    CRect GetInnerRect();
    CString SetText(LPCSTR lpszText);
    DWORD SetStyle(DWORD dwStyle);
    DWORD GetStyle() const { return m_dwStyle; }
    DWORD SetOptionFlags(DWORD dwOptions);
    DWORD GetOptionFlags() const { return m_dwOptions; }
    int SetBorderWidth(int nWidth);
    BOOL SetSelected(BOOL bSelected, BOOL bRedraw);
    BOOL SetMarked(BOOL bMarked, BOOL bRedraw);
    BOOL IsSelected() const { return m_bSelected; }
    BOOL IsMarked() const { return m_bMarked; }
    COLORREF SetTextColor(COLORREF color);
    void SetGreyColor(COLORREF color) { m_clrGrey = color; }
    BOOL HitTest(CPoint pt) const;
    void RecalcInsets();
    int GetFrameEnd() const { return m_nFrameEnd; }
    int GetBevelEnd() const { return m_nBevelEnd; }
    int GetRingEnd() const { return m_nRingEnd; }

protected:
    // Nested one-pixel rectangles from inset a to inset b.
    void DrawLayer(CDC* pDC, int a, int b, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Redraw();
    // Opaque text on the inner rectangle, centred or from a tenth of its size.
    void DrawText(CDC* pDC, const CString& text, COLORREF color);

    COLORREF m_clrGrey = RGB(128, 128, 128);
    CGXBCalendar* m_pOwner = nullptr;
    DWORD m_dwOptions = 0;
    DWORD m_dwStyle = 0x17F;
    CString m_strText;
    CRect m_rect;
    int m_nBorder = 3;
    BOOL m_bSelected = FALSE;
    BOOL m_bMarked = FALSE;
    COLORREF m_clrFrame = RGB(0, 0, 0);
    COLORREF m_clrRing = RGB(255, 0, 0);
    COLORREF m_clrText = RGB(0, 0, 0);
    BOOL m_bDirty = TRUE;
    BOOL m_bCreated = FALSE;
    int m_nFrameStart = 0, m_nFrameEnd = 0, m_nBevelEnd = 0, m_nRingEnd = 0;
};

// One date.
class CGXBDayBox : public CGXBPanel
{
public:
    BOOL DrawContent(CDC* pDC) override;
    COleDateTime SetDate(const COleDateTime& date);
    const COleDateTime& GetDate() const { return m_date; }
    BOOL SetOtherMonth(BOOL bOther);
    BOOL IsOtherMonth() const { return m_bOtherMonth; }
    void OnLButtonDown(UINT nFlags, CPoint pt);
    void OnRButtonDown(UINT nFlags, CPoint pt);
    void OnLButtonDblClk(UINT nFlags, CPoint pt);
    CSize GetWantedSize(CDC* pDC, const LOGFONT* pFont);
    void FitFont(CDC* pDC, LOGFONT& lf, const CRect* pRect = nullptr);

protected:
    COleDateTime m_date;
    BOOL m_bOtherMonth = FALSE;
    BOOL m_bHasDate = FALSE;
};

// The seven weekday names.
class CGXBWeekdayHeader : public CGXBPanel
{
public:
    BOOL DrawContent(CDC* pDC) override;
    int GetFirstDayOfWeek() const { return m_nFirstDay; }
    CSize GetWantedSize(CDC* pDC, const LOGFONT* pFont);
    void FitFont(CDC* pDC, LOGFONT& lf, const CRect* pRect = nullptr);

protected:
    int m_nFirstDay = 1;
};

// Month and year, with the month and year buttons.
class CGXBCalTitle : public CGXBPanel
{
public:
    BOOL Create(const CRect& rect, CGXBCalendar* pOwner, BOOL bSelected, BOOL bMarked, DWORD dwStyle,
                DWORD dwOptions, int nBorder);
    BOOL Draw(CDC* pDC) override;
    virtual CRect SetRect(const CRect& rect);
    virtual void SetTitleDate(const COleDateTime& date);
    CSize GetWantedSize(CDC* pDC, const LOGFONT* pFont);
    void FitFont(CDC* pDC, LOGFONT& lf, const CRect* pRect = nullptr);
    CButton m_buttons[4];   // "<<", "<", ">", ">>"
    int m_nShowMonth = 1, m_nShowYear = 1;
};

class CGXBCalendar : public CWnd
{
    DECLARE_DYNCREATE(CGXBCalendar)
public:
    CGXBCalendar();
    ~CGXBCalendar() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);
    virtual BOOL NextDay(BOOL bFocus) { return Step(COleDateTimeSpan(1, 0, 0, 0), bFocus, FALSE); }
    virtual BOOL PrevDay(BOOL bFocus) { return Step(COleDateTimeSpan(-1, 0, 0, 0), bFocus, FALSE); }
    virtual BOOL NextWeek(BOOL bFocus) { return Step(COleDateTimeSpan(7, 0, 0, 0), bFocus, TRUE); }
    virtual BOOL PrevWeek(BOOL bFocus) { return Step(COleDateTimeSpan(-7, 0, 0, 0), bFocus, TRUE); }
    virtual BOOL NextMonth(BOOL bFocus) { return StepMonth(bFocus, TRUE); }
    virtual BOOL PrevMonth(BOOL bFocus) { return StepMonth(bFocus, FALSE); }
    virtual BOOL NextYear(BOOL bFocus) { return StepYear(bFocus, TRUE); }
    virtual BOOL PrevYear(BOOL bFocus) { return StepYear(bFocus, FALSE); }
    virtual BOOL MoveFocusBy(const COleDateTimeSpan& span);
    virtual BOOL MoveVisibleBy(const COleDateTimeSpan& span);
    virtual BOOL MarkDateRef(const COleDateTime& date, BOOL bOn);
    virtual BOOL SelectDate(const COleDateTime& date, BOOL bOn);
    virtual BOOL ToggleDateRef(const COleDateTime& date);
    virtual BOOL ToggleMarkRef(const COleDateTime& date);
    virtual BOOL IsDateInRange(int nYear, int nMonth, int nDay);
    virtual void UpdateColors();
    virtual void Beep();
    virtual UINT GetClassStyle() { return CS_DBLCLKS; }

    BOOL SetDate(const COleDateTime& date, BOOL bRedraw);
    const COleDateTime& GetVisibleDate() const { return m_dtVisible; }
    // The selected date, when there is one.
    BOOL GetCurrentDate(COleDateTime& date) const;
    CGXBDayBox* GetSelectedBox() const { return m_pSelectedBox; }
    CGXBDayBox* GetBox(int i) { return &m_boxes[i]; }
    void SetAutoSize(BOOL b) { m_dwOptions = b ? (m_dwOptions | GXCAL_AUTOSIZE) : (m_dwOptions & ~GXCAL_AUTOSIZE); }
    void SetOptions(DWORD dw) { m_dwOptions = dw; }
    DWORD GetOptions() const { return m_dwOptions; }
    void SetCurrentMonthStyle(DWORD dw) { m_dwCurrentStyle = dw; }
    DWORD GetCurrentMonthStyle() const { return m_dwCurrentStyle; }
    void SetOtherMonthStyle(DWORD dw) { m_dwOtherStyle = dw; }
    DWORD GetOtherMonthStyle() const { return m_dwOtherStyle; }
    const std::vector<COleDateTime>& GetMarkedDates() const { return m_marked; }
    CSize GetContentSize(CDC* pDC);
    const LOGFONT& GetTitleLogFont() const { return m_lfTitle; }
    const LOGFONT& GetHeaderLogFont() const { return m_lfHeader; }
    const LOGFONT& GetDayLogFont() const { return m_lfDay; }
    CFont* GetTitleFont() { return &m_fontTitle; }
    CFont* GetHeaderFont() { return &m_fontHeader; }
    int m_nBeeps = 0;   // how many times the calendar refused something

    // A date at noon of its day.
    static COleDateTime Normalise(const COleDateTime& date);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL Step(const COleDateTimeSpan& span, BOOL bFocus, BOOL bTakeFocus);
    BOOL StepMonth(BOOL bFocus, BOOL bNext);
    BOOL StepYear(BOOL bFocus, BOOL bNext);
    BOOL SpanInRange(const COleDateTime& base, const COleDateTimeSpan& span);
    void LayoutPanels();
    void LayoutDays();
    void FitFonts();
    int BoxAt(CPoint pt) const;
    void OnKeyDown(UINT nChar);
    // Ends the calendar: 0x7D7 (chosen) or 0x7D8 (closed) to the owner, then hidden.
    virtual void End(BOOL bChosen, WPARAM wParam = 0, LPARAM lParam = 0);
    void Post(UINT message, WPARAM wParam, LPARAM lParam);

    CGXBWeekdayHeader m_header;
    CGXBCalTitle m_title;
    CGXBDayBox m_boxes[42];
    int m_nBorder = 2;
    HWND m_hOwner = nullptr;
    BOOL m_bCreated = FALSE;
    BOOL m_bDateSet = FALSE;
    COleDateTime m_dtVisible;
    COleDateTime m_dtCurrent;
    BOOL m_bHasCurrent = FALSE;
    COleDateTime m_dtFocus;
    CGXBDayBox* m_pSelectedBox = nullptr;
    // The date the selected box held when it was selected: paging gives the box another date.
    COleDateTime m_dtSelectedBox;
    BOOL m_bTracking = FALSE;
    COleDateTime m_dtSaved;
    BOOL m_bHasSaved = FALSE;
    std::vector<COleDateTime> m_marked;
    LOGFONT m_lfTitle{}, m_lfHeader{}, m_lfDay{};
    CFont m_fontTitle, m_fontHeader, m_fontDay;
    COLORREF m_clrText = 0, m_clrGrey = 0;
    DWORD m_dwCurrentStyle = 0x1000017F;
    DWORD m_dwOtherStyle = 0x101;
    DWORD m_dwOptions = 0x0039C000;
};

// The calendar as a drop-down: an owned top-level window placed beside a
// rectangle; it ends on a choice, on Escape or when it loses activation, with
// one end message per showing.
class CGXBPopupCalendar : public CGXBCalendar
{
public:
    CGXBPopupCalendar();
    UINT GetClassStyle() override { return CS_DBLCLKS | CS_SAVEBITS; }
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) override;
    // Places the popup below (or above, or beside) a rectangle in screen
    // coordinates and creates it; style bit 0x1 aligns it with the left edge.
    virtual BOOL PlaceWindow(DWORD dwStyle, const CRect& rectOwner, CWnd* pOwner, UINT nUnused = 0);
    // Where the popup goes for a content size on a screen of the given size.
    static CRect PlaceRect(DWORD dwStyle, const CRect& rectOwner, CSize size, CSize screen);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void End(BOOL bChosen, WPARAM wParam = 0, LPARAM lParam = 0) override;
    BOOL m_bPopup = TRUE;
    BOOL m_bEnded = FALSE;
};
