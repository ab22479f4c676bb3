// The month calendar, its panels and the popup of the date/time window.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "gxcal.h"
#include "gxdtwnd.h"

namespace {
COleDateTime D(int y, int m, int d) { return COleDateTime(y, m, d, 12, 0, 0); }

class CalendarTest : public ::testing::Test
{
protected:
    COleDateTimeLocale loc = COleDateTimeLocale::Invariant();
    CWnd frame;
    CGXBCalendar cal;

    void SetUp() override
    {
        AfxSeamReset();
        COleDateTime::SetLocaleOverride(&loc);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "calendar", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr));
        frame.ShowWindow(SW_SHOW);
        cal.SetDate(D(2001, 5, 15), FALSE);
        ASSERT_TRUE(cal.Create(WS_VISIBLE, CRect(0, 0, 280, 220), &frame, 5));
    }
    void TearDown() override
    {
        if (cal.GetSafeHwnd() != nullptr)
            cal.DestroyWindow();
        frame.DestroyWindow();
        COleDateTime::SetLocaleOverride(nullptr);
        afxtest::PumpMessages();
    }
    int BoxOfFirst()
    {
        for (int i = 0; i < 42; ++i)
            if (!cal.GetBox(i)->IsOtherMonth())
                return i;
        return -1;
    }
    COleDateTime Current()
    {
        COleDateTime d;
        return cal.GetCurrentDate(d) ? d : COleDateTime();
    }
};
} // namespace

TEST_F(CalendarTest, FirstOfTheMonthAndItsNeighbours)
{
    struct Case
    {
        int y, m, box;
    } cases[] = {{2001, 4, 0}, {2001, 5, 2}, {2000, 2, 2}, {2001, 9, 6}};
    for (const Case& c : cases) {
        ASSERT_TRUE(cal.SetDate(D(c.y, c.m, 10), FALSE));
        EXPECT_EQ(BoxOfFirst(), c.box) << c.y << "-" << c.m;
        EXPECT_EQ(cal.GetBox(c.box)->GetDate(), D(c.y, c.m, 1));
        if (c.box > 0) {
            EXPECT_TRUE(cal.GetBox(c.box - 1)->IsOtherMonth());
        }
        EXPECT_TRUE(cal.GetBox(41)->IsOtherMonth());
    }
}

TEST_F(CalendarTest, StepsAndRange)
{
    cal.SetDate(D(2000, 2, 29), FALSE);
    cal.SelectDate(D(2000, 2, 29), TRUE);
    EXPECT_TRUE(cal.NextYear(TRUE));
    EXPECT_EQ(Current(), D(2001, 2, 28));
    cal.SetDate(D(2001, 1, 31), FALSE);
    cal.SelectDate(D(2001, 1, 31), TRUE);
    EXPECT_TRUE(cal.NextMonth(TRUE));
    EXPECT_EQ(Current(), D(2001, 2, 1));
    EXPECT_EQ(cal.GetVisibleDate().GetMonth(), 2);
    cal.SendMessage(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Current(), D(2001, 2, 28));
    cal.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Current(), D(2001, 3, 1));

    EXPECT_TRUE(cal.IsDateInRange(1399, 11, 28));
    EXPECT_FALSE(cal.IsDateInRange(1399, 11, 27));
    EXPECT_TRUE(cal.IsDateInRange(2400, 11, 27));
    EXPECT_FALSE(cal.IsDateInRange(2400, 11, 28));
    const int beeps = cal.m_nBeeps;
    EXPECT_FALSE(cal.SetDate(D(1300, 1, 1), FALSE));
    EXPECT_EQ(cal.m_nBeeps, beeps + 1);
}

TEST_F(CalendarTest, ArrowKeysStepFromTheSelectedDateAfterPaging)
{
    ASSERT_TRUE(afxtest::Activate(&frame));
    struct Case
    {
        const char* name;
        UINT button;   // the title button clicked
        BYTE key;
        COleDateTime selected;
    } cases[] = {
        {"next month, Right", 23241, VK_RIGHT, D(2004, 2, 16)},
        {"previous month, Left", 23244, VK_LEFT, D(2004, 2, 14)},
        {"next year, Down", 23243, VK_DOWN, D(2004, 2, 22)},
        {"next month, Page Down", 23241, VK_NEXT, D(2004, 3, 1)},
        {"previous year, Ctrl+Down", 23242, VK_DOWN, D(2005, 2, 15)},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(cal.SetDate(D(2004, 2, 15), TRUE));
        cal.SelectDate(D(2004, 2, 15), TRUE);
        CWnd* button = cal.GetDlgItem(c.button);
        ASSERT_NE(button, nullptr) << c.name;
        CRect r;
        button->GetWindowRect(&r);
        afxtest::InputScript s;
        s.MoveTo(r.CenterPoint()).Click();
        const BOOL ctrl = c.button == 23242;
        if (ctrl)
            s.KeyDown(VK_CONTROL);
        s.Key(c.key);
        if (ctrl)
            s.KeyUp(VK_CONTROL);
        ASSERT_TRUE(s.Run()) << c.name;
        EXPECT_EQ(Current(), c.selected) << c.name;
        EXPECT_EQ(cal.GetVisibleDate().GetMonth(), c.selected.GetMonth()) << c.name;
        // The selected date's box shows it selected.
        int shown = 0;
        for (int i = 0; i < 42; ++i)
            if (cal.GetBox(i)->IsSelected()) {
                ++shown;
                EXPECT_EQ(cal.GetBox(i)->GetDate(), c.selected) << c.name;
            }
        EXPECT_EQ(shown, 1) << c.name;
    }
}

TEST_F(CalendarTest, MarksStaySortedWithoutDuplicates)
{
    for (int d : {5, 3, 5, 9})
        cal.MarkDateRef(D(2001, 5, d), TRUE);
    ASSERT_EQ(cal.GetMarkedDates().size(), 3u);
    EXPECT_EQ(cal.GetMarkedDates()[0], D(2001, 5, 3));
    EXPECT_EQ(cal.GetMarkedDates()[1], D(2001, 5, 5));
    EXPECT_EQ(cal.GetMarkedDates()[2], D(2001, 5, 9));
    cal.MarkDateRef(D(2001, 5, 5), FALSE);
    EXPECT_EQ(cal.GetMarkedDates().size(), 2u);
    // Boxes of another month take no mark.
    cal.GetBox(0)->SetOtherMonth(TRUE);
    EXPECT_FALSE(cal.GetBox(0)->SetMarked(TRUE, FALSE));
}

TEST_F(CalendarTest, PanelInsetsAndFonts)
{
    struct Case
    {
        DWORD style;
        BOOL selected, marked;
        int frame, bevel, ring;
    } cases[] = {
        {0x17F, FALSE, FALSE, 1, 4, 4}, {0x17F, TRUE, TRUE, 1, 4, 7}, {0x83, FALSE, TRUE, 0, 0, 0},
        {0x83, TRUE, FALSE, 0, 3, 3},   {0x00, TRUE, TRUE, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CGXBPanel p;
        p.Create(CRect(0, 0, 20, 20), &cal, c.selected, c.marked, c.style, GXCAL_SELECTABLE | GXCAL_MARKABLE, 3);
        EXPECT_EQ(p.GetFrameEnd(), c.frame) << std::hex << c.style;
        EXPECT_EQ(p.GetBevelEnd(), c.bevel) << std::hex << c.style;
        EXPECT_EQ(p.GetRingEnd(), c.ring) << std::hex << c.style;
    }
    // A panel too small for its insets has an empty inner rectangle.
    CGXBPanel tiny;
    tiny.Create(CRect(0, 0, 3, 3), &cal, TRUE, TRUE, 0x17F, GXCAL_SELECTABLE | GXCAL_MARKABLE, 3);
    EXPECT_TRUE(tiny.GetInnerRect().IsRectEmpty());

    CClientDC dc(&cal);
    LOGFONT lf = cal.GetDayLogFont();
    const CRect none(0, 0, 0, 0);
    cal.GetBox(10)->FitFont(&dc, lf, &none);
    EXPECT_EQ(lf.lfHeight, 0);
    EXPECT_EQ(lf.lfWidth, 0);
    // A bitmap face that does not grow still ends, and fits.
    LOGFONT fixed{};
    lstrcpynA(fixed.lfFaceName, "Fixedsys", LF_FACESIZE);
    fixed.lfHeight = 8;
    const CRect box(0, 0, 60, 40);
    cal.GetBox(10)->FitFont(&dc, fixed, &box);
    EXPECT_GE(fixed.lfHeight, 1);
    EXPECT_LE(fixed.lfHeight, 2048);
}

TEST(CalendarPopup, OpensAboveNearTheScreensBottom)
{
    const CSize screen(1280, 1024), size(200, 150);
    EXPECT_EQ(CGXBPopupCalendar::PlaceRect(1, CRect(100, 100, 300, 120), size, screen), CRect(100, 120, 300, 270));
    EXPECT_EQ(CGXBPopupCalendar::PlaceRect(1, CRect(100, 950, 300, 970), size, screen), CRect(100, 800, 300, 950));
    EXPECT_EQ(CGXBPopupCalendar::PlaceRect(1, CRect(1200, 100, 1260, 120), size, screen), CRect(1060, 120, 1260, 270));
}

namespace {
// Counts the change notifications and the calendar's end messages.
class CountingParent : public CWnd
{
public:
    int changes = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == GXDTN_CHANGED)
            ++changes;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CountingDateTime : public CGXBDateTimeCtrl
{
public:
    int ends = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == GXM_CALENDAR_CHOSEN || message == GXM_CALENDAR_CLOSED)
            ++ends;
        return CGXBDateTimeCtrl::WindowProc(message, wParam, lParam);
    }
};

class PopupTest : public ::testing::Test
{
protected:
    COleDateTimeLocale loc = COleDateTimeLocale::Invariant();
    CountingParent parent;
    CountingDateTime dt;

    void SetUp() override
    {
        AfxSeamReset();
        COleDateTime::SetLocaleOverride(&loc);
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "popup", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr,
                                    nullptr));
        parent.ShowWindow(SW_SHOW);
        dt.SetDateTime(COleDateTime(2001, 5, 6, 14, 30, 0));
        ASSERT_TRUE(dt.Create(0, WS_VISIBLE | GXDTS_CALENDAR, CRect(10, 10, 250, 34), &parent, 7));
        ASSERT_TRUE(afxtest::Activate(&parent));
        dt.SetFocus();
    }
    void TearDown() override
    {
        if (dt.GetSafeHwnd() != nullptr)
            dt.DestroyWindow();
        parent.DestroyWindow();
        COleDateTime::SetLocaleOverride(nullptr);
        afxtest::PumpMessages();
    }
    CGXBPopupCalendar* Open()
    {
        dt.SendMessage(WM_KEYDOWN, VK_F4, 0);
        afxtest::PumpMessages();
        return dt.GetPopup();
    }
    void Key(CWnd* pWnd, UINT vk)
    {
        pWnd->SendMessage(WM_KEYDOWN, vk, 0);
        afxtest::PumpMessages();
    }
};
} // namespace

TEST_F(PopupTest, ChoosingADayKeepsTheTime)
{
    CGXBPopupCalendar* popup = Open();
    ASSERT_NE(popup, nullptr);
    const DWORD style = popup->GetStyle();
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CHILD);
    COleDateTime selected;
    ASSERT_TRUE(popup->GetCurrentDate(selected));
    EXPECT_EQ(selected, D(2001, 5, 6));

    popup->SetDate(D(2001, 7, 1), FALSE);
    popup->SelectDate(D(2001, 7, 1), TRUE);
    Key(popup, VK_RETURN);
    EXPECT_EQ(dt.GetPopup(), nullptr);
    EXPECT_EQ(dt.GetDateTime(), COleDateTime(2001, 7, 1, 14, 30, 0));
    EXPECT_EQ(parent.changes, 1);
    EXPECT_EQ(dt.ends, 1);
}

TEST_F(PopupTest, SameDateEscapeAndOutOfRangeChangeNothing)
{
    ASSERT_TRUE(dt.SetRange(COleDateTime(2001, 1, 1, 0, 0, 0), COleDateTime(2001, 6, 30, 0, 0, 0), 2));
    struct Case
    {
        const char* name;
        int y, m, d;
        UINT key;
    } cases[] = {
        {"same date", 2001, 5, 6, VK_RETURN},
        {"escape", 2001, 6, 1, VK_ESCAPE},
        {"out of range", 2001, 8, 1, VK_RETURN},
    };
    for (const Case& c : cases) {
        dt.ends = 0;
        CGXBPopupCalendar* popup = Open();
        ASSERT_NE(popup, nullptr) << c.name;
        popup->SetDate(D(c.y, c.m, c.d), FALSE);
        popup->SelectDate(D(c.y, c.m, c.d), TRUE);
        Key(popup, c.key);
        EXPECT_EQ(dt.GetPopup(), nullptr) << c.name;
        EXPECT_EQ(dt.GetDateTime(), COleDateTime(2001, 5, 6, 14, 30, 0)) << c.name;
        EXPECT_EQ(dt.ends, 1) << c.name;   // Escape and the loss of activation: one message
    }
    EXPECT_EQ(parent.changes, 0);
    // Without the button style F4 opens nothing.
    CGXBDateTimeCtrl plain;
    ASSERT_TRUE(plain.Create(0, WS_VISIBLE, CRect(10, 50, 250, 74), &parent, 8));
    plain.SendMessage(WM_KEYDOWN, VK_F4, 0);
    plain.SendMessage(WM_SYSKEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(plain.GetPopup(), nullptr);
}
