// The date/time window alone in a plain window, driven by messages.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "gxdtwnd.h"

namespace {
COleDateTimeLocale English()
{
    COleDateTimeLocale loc = COleDateTimeLocale::Invariant();
    loc.strShortDate = "M/d/yyyy";
    loc.strTime = "h:mm:ss tt";
    return loc;
}

// Counts the change notifications it receives.
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

class DateTimeWindowTest : public ::testing::Test
{
protected:
    COleDateTimeLocale loc = English();
    CountingParent parent;
    CGXBDateTimeCtrl dt;

    void SetUp() override
    {
        AfxSeamReset();
        COleDateTime::SetLocaleOverride(&loc);
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "dates", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr,
                                    nullptr));
        parent.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (dt.GetSafeHwnd() != nullptr)
            dt.DestroyWindow();
        parent.DestroyWindow();
        COleDateTime::SetLocaleOverride(nullptr);
        afxtest::PumpMessages();
    }
    void Make(DWORD dwStyle, int cx = 300, DWORD dwExStyle = 0)
    {
        dt.SetDateTime(COleDateTime(2001, 5, 6, 14, 30, 0));
        ASSERT_TRUE(dt.Create(dwExStyle, WS_VISIBLE | dwStyle, CRect(10, 10, 10 + cx, 34), &parent, 7));
    }
    void Key(UINT vk) { dt.SendMessage(WM_KEYDOWN, vk, 1); }
    int FocusID() { return dt.GetFocusGadget() != nullptr ? dt.GetFocusGadget()->GetID() : 0; }
};
} // namespace

TEST_F(DateTimeWindowTest, ButtonsAtTheRightFieldsFromTheLeft)
{
    Make(GXDTS_CALENDAR | GXDTS_SPIN);
    CRect client;
    dt.GetClientRect(&client);
    ASSERT_EQ(dt.GetButtonCount(), 2);
    const CRect button = dt.GetGadget(0)->GetRect(), spin = dt.GetGadget(1)->GetRect();
    EXPECT_EQ(button.right, client.right);
    EXPECT_EQ(spin.right, button.left);
    EXPECT_EQ(spin.Height(), client.Height());
    EXPECT_EQ(dt.GetGadget(2)->GetRect().left, 1);
    // M/d/yyyy: month, "/", day, "/", year, touching.
    EXPECT_EQ(dt.GetGadgetCount(), 7);
    EXPECT_EQ(dt.GetGadget(3)->GetRect().left, dt.GetGadget(2)->GetRect().right);
    EXPECT_EQ(dt.GetGadget(2)->GetValue(), 5);
    EXPECT_EQ(dt.GetGadget(4)->GetValue(), 6);
    EXPECT_EQ(dt.GetGadget(6)->GetValue(), 2001);
}

TEST_F(DateTimeWindowTest, ArrowsSkipTextsAndFixedFieldsAndScroll)
{
    dt.SetFieldFlags(GXDT_NOEDIT_DAY);
    dt.SetFormat("MMMM d, yyyy  HH:mm:ss");
    Make(GXDTS_SPIN, 60);
    dt.SetFocus();
    EXPECT_EQ(FocusID(), GXDT_MONTHNAME);
    Key(VK_RIGHT);
    EXPECT_EQ(FocusID(), GXDT_YEAR4);   // the fixed day is passed over
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(FocusID(), GXDT_SECOND);
    EXPECT_GT(dt.GetScrollOffset(), 0);
    // The focused field ends left of the arrows.
    CRect client;
    dt.GetClientRect(&client);
    EXPECT_LE(dt.GetFocusGadget()->GetRect().right - dt.GetScrollOffset(), client.right - 1 - 16);
    Key(VK_RIGHT);   // nothing further right
    EXPECT_EQ(FocusID(), GXDT_SECOND);
    for (int i = 0; i < 5; ++i)
        Key(VK_LEFT);
    EXPECT_EQ(FocusID(), GXDT_MONTHNAME);
    EXPECT_EQ(dt.GetScrollOffset(), 0);
}

TEST_F(DateTimeWindowTest, OneNotificationPerUserChange)
{
    Make(0);
    dt.SetFocus();
    Key(VK_UP);   // month up
    EXPECT_EQ(dt.GetDateTime().GetMonth(), 6);
    EXPECT_EQ(parent.changes, 1);
    EXPECT_TRUE(dt.IsModified());
    dt.SendMessage(WM_CHAR, '1');
    dt.SendMessage(WM_CHAR, '2');
    EXPECT_EQ(dt.GetDateTime().GetMonth(), 12);
    EXPECT_EQ(parent.changes, 2);
    // Set by the program: no notification.
    dt.SetDateTime(COleDateTime(2002, 1, 1, 0, 0, 0));
    EXPECT_EQ(parent.changes, 2);
    EXPECT_EQ(dt.GetGadget(0)->GetValue(), 1);
    // A refused change sends nothing either.
    ASSERT_TRUE(dt.SetRange(COleDateTime(2002, 1, 1, 0, 0, 0), COleDateTime(2002, 1, 31, 0, 0, 0), 2));
    Key(VK_UP);
    EXPECT_EQ(dt.GetDateTime().GetMonth(), 1);
    EXPECT_EQ(parent.changes, 2);
}

TEST_F(DateTimeWindowTest, NoNotificationWithNoParentNotify)
{
    Make(0, 300, WS_EX_NOPARENTNOTIFY);
    dt.SetFocus();
    Key(VK_UP);
    EXPECT_EQ(dt.GetDateTime().GetMonth(), 6);
    EXPECT_EQ(parent.changes, 0);
}

TEST_F(DateTimeWindowTest, SpinStepsTheFocusedField)
{
    dt.SetFormat("HH:mm");
    Make(GXDTS_SPIN);
    dt.SetFocus();
    Key(VK_RIGHT);   // past ":" to the minute
    EXPECT_EQ(FocusID(), GXDT_MINUTE);
    const CRect spin = dt.GetGadget(0)->GetRect();
    const LPARAM up = MAKELPARAM(spin.left + 4, spin.top + 2);
    dt.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, up);
    dt.SendMessage(WM_LBUTTONUP, 0, up);
    EXPECT_EQ(dt.GetDateTime().GetMinute(), 31);
    const LPARAM down = MAKELPARAM(spin.left + 4, spin.bottom - 2);
    dt.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, down);
    dt.SendMessage(WM_LBUTTONUP, 0, down);
    EXPECT_EQ(dt.GetDateTime().GetMinute(), 30);
    EXPECT_EQ(::GetCapture(), nullptr);
    // A click on the ":" between the fields goes to the next field to its right.
    const CRect colon = dt.GetGadget(2)->GetRect();
    dt.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(colon.left + 1, colon.top + 2));
    EXPECT_EQ(FocusID(), GXDT_MINUTE);
    dt.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 3));
    EXPECT_EQ(FocusID(), GXDT_HOUR24);
}

TEST_F(DateTimeWindowTest, RangeAndRebuild)
{
    Make(GXDTS_CALENDAR);
    // A minimum later than the value pulls the value to it.
    ASSERT_TRUE(dt.SetRange(COleDateTime(2001, 6, 1, 0, 0, 0), COleDateTime(2002, 1, 1, 0, 0, 0), 3));
    EXPECT_EQ(dt.GetDateTime().GetMonth(), 6);
    EXPECT_EQ(dt.GetDateTime().GetDay(), 1);
    EXPECT_TRUE(dt.IsInRange(COleDateTime(2001, 7, 1, 0, 0, 0)));
    EXPECT_FALSE(dt.IsInRange(COleDateTime(2003, 7, 1, 0, 0, 0)));
    EXPECT_FALSE(dt.SetRange(COleDateTime(2002, 6, 1, 0, 0, 0), COleDateTime(2002, 1, 1, 0, 0, 0), 3));

    // After a new format the focus is on the button; Right goes to the first field.
    dt.SetFormat(0);
    EXPECT_EQ(dt.GetFocusIndex(), 0);
    Key(VK_RIGHT);
    EXPECT_EQ(FocusID(), GXDT_HOUR12);
    // A picture without fields: keys and clicks find nothing to edit.
    dt.SetFormat("'no fields'");
    Key(VK_RIGHT);
    dt.SendMessage(WM_CHAR, '5');
    dt.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(parent.changes, 0);
    // Popup answers without a popup do nothing.
    dt.SendMessage(GXM_CALENDAR_CHOSEN);
    dt.SendMessage(GXM_CALENDAR_CLOSED);
    EXPECT_EQ(dt.GetDateTime().GetMonth(), 6);
}
