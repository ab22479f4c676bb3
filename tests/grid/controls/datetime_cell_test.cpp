// The date/time cell control in a real grid window.
#include <gtest/gtest.h>
#include <functional>
#include "afxseam.h"
#include "afxwin.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "gxdtctrl.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxwnd.h"

namespace {
COleDateTimeLocale English()
{
    COleDateTimeLocale loc = COleDateTimeLocale::Invariant();
    loc.strShortDate = "M/d/yyyy";
    loc.strTime = "h:mm:ss tt";
    return loc;
}

// Column 2 holds dates (month first), column 3 times.
class DateCellTest : public ::testing::Test
{
protected:
    COleDateTimeLocale loc = English();
    CWnd frame;
    CGXGridWnd grid;

    void SetUp() override
    {
        AfxSeamReset();
        COleDateTime::SetLocaleOverride(&loc);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "dates", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 620, 360), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(6);
        grid.SetColCount(4);
        grid.SetColWidth(2, 3, 160);
        grid.SetStyleRange(CGXRange(1, 2, 6, 2), &CGXStyle().SetControl(GX_IDS_CTRL_DATETIMENOCAL), gxOverride);
        grid.SetStyleRange(CGXRange(1, 3, 6, 3),
                           &CGXStyle().SetControl(GX_IDS_CTRL_DATETIMENOCAL).SetUserAttribute(GX_IDS_UA_DATEFORMATTYPE,
                                                                                              "0"),
                           gxOverride);
        grid.SetValueRange(CGXRange(1, 2), "5/6/2001");
        ASSERT_TRUE(afxtest::Activate(&frame));
        grid.SetFocus();
    }
    void TearDown() override
    {
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
        COleDateTime::SetLocaleOverride(nullptr);
        afxtest::PumpMessages();
    }
    void Place(ROWCOL r, ROWCOL c)
    {
        grid.PlaceCurrentCell(r, c, GX_UPDATENOW);
        grid.UpdateWindow();
        afxtest::PumpMessages();
    }
    CGXDateTimeCtrl* Dates() { return dynamic_cast<CGXDateTimeCtrl*>(grid.GetCellControl(1, 2)); }
    CGXStyle CellStyle(ROWCOL r, ROWCOL c)
    {
        CGXStyle s;
        grid.ComposeCellStyle(r, c, s);
        return s;
    }
};
} // namespace

TEST_F(DateCellTest, DisplayTextAndDrawnFields)
{
    grid.SetStyleRange(CGXRange(2, 2),
                       &CGXStyle().SetUserAttribute(GX_IDS_UA_CUSTOMFORMAT, "dd/MM/yyyy").SetValue("3/5/2001"),
                       gxOverride);
    // Cells are drawn before any of them was edited: the drawing window is made for them.
    grid.UpdateWindow();
    ASSERT_NE(Dates(), nullptr);
    EXPECT_NE(Dates()->GetDrawWnd().GetSafeHwnd(), nullptr);
    Place(1, 2);
    CGXDateTimeCtrl* dates = Dates();
    CString shown;
    const CGXStyle style = CellStyle(2, 2);
    EXPECT_TRUE(dates->GetDisplayText(shown, 2, 2, nullptr, &style));
    EXPECT_EQ(shown, "5/3/2001");
    EXPECT_FALSE(dates->GetDisplayText(shown, 2, 2, "not a date", &style));

    // Drawn, the fields keep their leading zeros.
    grid.RedrawRange(CGXRange(2, 2), GX_UPDATENOW);
    CGXBDateTimeCtrl& draw = dates->GetDrawWnd();
    CString fields;
    for (int i = draw.GetButtonCount(); i < draw.GetGadgetCount(); ++i)
        if (auto* n = dynamic_cast<CGXBDTNumericGadget*>(draw.GetGadget(i)))
            fields += n->GetText() + " ";
    EXPECT_EQ(fields, "05 03 2001 ");
}

TEST_F(DateCellTest, FormatAttributesAndDefaults)
{
    Place(1, 2);
    CGXDateTimeCtrl* dates = Dates();
    struct Case
    {
        const char* type;
        const char* custom;
        int formatType;
        const char* picture;
    } cases[] = {
        {"", "", 1, "M/d/yyyy"},
        {"", "dd/MM/yyyy", 3, "dd/MM/yyyy"},
        {"3", "", 3, ""},
        {"x", "", 0, "h:mm:ss tt"},
        {"2", "", 2, "dddd, MMMM d, yyyy"},
    };
    for (const Case& c : cases) {
        CGXStyle s;
        if (*c.type)
            s.SetUserAttribute(GX_IDS_UA_DATEFORMATTYPE, c.type);
        if (*c.custom)
            s.SetUserAttribute(GX_IDS_UA_CUSTOMFORMAT, c.custom);
        dates->ApplyFormat(&dates->GetTextWnd(), s);
        EXPECT_EQ(dates->GetTextWnd().GetFormatType(), c.formatType) << c.type << "/" << c.custom;
        EXPECT_EQ(dates->GetTextWnd().GetFormatString(), c.picture) << c.type << "/" << c.custom;
    }
    // A value that does not parse: the base day for a time cell, today for a date cell.
    grid.SetValueRange(CGXRange(3, 2, 3, 3), "abc");
    Place(3, 3);
    EXPECT_EQ(Dates()->GetDateTime(), COleDateTime(1899, 12, 30, 0, 0, 0));
    Place(3, 2);
    const COleDateTime now = COleDateTime::GetCurrentTime(), got = Dates()->GetDateTime();
    EXPECT_EQ(got.GetHour(), 0);
    EXPECT_LE(std::abs(static_cast<double>(got) - static_cast<double>(now)), 2.0);
}

TEST_F(DateCellTest, TextsWrittenIntoCells)
{
    Place(1, 1);
    CGXDateTimeCtrl* dates = Dates();
    struct Case
    {
        ROWCOL col;
        const char* text;
        BOOL ok;
        const char* value;
    } cases[] = {
        {3, "00:00:00", TRUE, "12:00:00 AM"},
        {3, "", TRUE, ""},
        {3, "abc", FALSE, "old"},
        {2, "2001-07-04", TRUE, "7/4/2001"},
        {2, "8 9 2002", TRUE, "8/9/2002"},
    };
    for (const Case& c : cases) {
        grid.SetValueRange(CGXRange(4, c.col), "old");
        EXPECT_EQ(dates->SetCellText(4, c.col, c.text, GX_UPDATENOW, nullptr), c.ok) << c.text;
        EXPECT_EQ(grid.GetCellValue(4, c.col), c.value) << c.text;
    }
}

TEST_F(DateCellTest, EditingStoresTheFormatText)
{
    Place(1, 2);
    afxtest::InputScript s;
    s.Key(VK_HOME).Key(VK_RIGHT).Key(VK_UP).Key(VK_RETURN);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.GetCellValue(1, 2), "5/7/2001");

    // Enter without a change stores nothing; Delete empties.
    grid.SetValueRange(CGXRange(2, 2), "2001-05-06");
    Place(2, 2);
    afxtest::InputScript same;
    same.Key(VK_HOME).Key(VK_RETURN);
    ASSERT_TRUE(same.Run());
    EXPECT_EQ(grid.GetCellValue(2, 2), "2001-05-06");
    afxtest::InputScript del;
    del.Key(VK_HOME).Key(VK_DELETE);
    ASSERT_TRUE(del.Run());
    EXPECT_EQ(grid.GetCellValue(2, 2), "");
}

TEST_F(DateCellTest, ReadOnlyCellsRefuseChanges)
{
    grid.SetStyleRange(CGXRange(2, 2), &CGXStyle().SetReadOnly(TRUE).SetValue("5/6/2001"), gxOverride);
    grid.GetParam()->m_bLockStructureReadOnly = TRUE;
    Place(2, 2);
    afxtest::InputScript s;
    s.Key(VK_HOME).Key(VK_UP).Key('7').Key(VK_DELETE).Key(VK_RETURN);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.GetCellValue(2, 2), "5/6/2001");
}

TEST_F(DateCellTest, RefusedRangeFallsBackToTheDefault)
{
    grid.SetStyleRange(CGXRange(2, 2),
                       &CGXStyle()
                            .SetUserAttribute(GX_IDS_UA_DATEMIN, "1/1/2001")
                            .SetUserAttribute(GX_IDS_UA_DATEMAX, "12/31/2001")
                            .SetUserAttribute(GX_IDS_UA_DATEVALIDATE, "2")
                            .SetValue("6/1/2001"),
                       gxOverride);
    grid.SetStyleRange(CGXRange(3, 2),
                       &CGXStyle()
                            .SetUserAttribute(GX_IDS_UA_DATEMIN, "1/1/2005")
                            .SetUserAttribute(GX_IDS_UA_DATEMAX, "1/1/2001")
                            .SetUserAttribute(GX_IDS_UA_DATEVALIDATE, "2")
                            .SetValue("6/1/2009"),
                       gxOverride);
    Place(2, 2);
    EXPECT_EQ(Dates()->GetRules().GetMode(), 2);
    Place(3, 2);
    EXPECT_EQ(Dates()->GetRules().GetMode(), 0);
    EXPECT_EQ(Dates()->GetDateTime(), COleDateTime(2009, 6, 1, 0, 0, 0));
}

// A number half typed into a field is the user's: every way of leaving the cell stores it, as
// Enter does; only Escape gives it up.
TEST_F(DateCellTest, AHalfTypedNumberIsStoredWhenTheCellIsLeft)
{
    CEdit elsewhere;
    ASSERT_TRUE(elsewhere.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 365, 100, 390), &frame, 2));
    auto screen = [&](ROWCOL r, ROWCOL c) {
        CPoint pt = grid.CalcCellRect(r, c).CenterPoint();
        grid.ClientToScreen(&pt);
        return pt;
    };
    struct Case
    {
        const char* how;
        BYTE field;   // VK_RIGHT types into the day, 0 into the month
        BYTE digit;
        std::function<void(afxtest::InputScript&)> leave;
        const char* stored;
    } cases[] = {
        {"Enter", VK_RIGHT, '9', [](afxtest::InputScript& s) { s.Key(VK_RETURN); }, "5/9/2001"},
        {"Tab", VK_RIGHT, '9', [](afxtest::InputScript& s) { s.Key(VK_TAB); }, "5/9/2001"},
        {"Ctrl+Down", VK_RIGHT, '9',
         [](afxtest::InputScript& s) { s.KeyDown(VK_CONTROL).Key(VK_DOWN).KeyUp(VK_CONTROL); }, "5/9/2001"},
        {"Ctrl+Left", 0, '7',
         [](afxtest::InputScript& s) { s.KeyDown(VK_CONTROL).Key(VK_LEFT).KeyUp(VK_CONTROL); }, "7/6/2001"},
        {"PgDn", VK_RIGHT, '9', [](afxtest::InputScript& s) { s.Key(VK_NEXT); }, "5/9/2001"},
        {"PgUp", VK_RIGHT, '9', [](afxtest::InputScript& s) { s.Key(VK_PRIOR); }, "5/9/2001"},
        {"a click on another cell", 0, '7', [&](afxtest::InputScript& s) { s.MoveTo(screen(5, 1)).Click(); },
         "7/6/2001"},
        {"Escape", VK_RIGHT, '9', [](afxtest::InputScript& s) { s.Key(VK_ESCAPE); }, "5/6/2001"},
    };
    for (const Case& c : cases) {
        grid.SetValueRange(CGXRange(3, 2), "5/6/2001");
        grid.SetFocus();
        Place(3, 2);
        afxtest::InputScript s;
        s.Key(VK_HOME);
        if (c.field != 0)
            s.Key(c.field);
        s.Key(c.digit);
        c.leave(s);
        ASSERT_TRUE(s.Run()) << c.how;
        EXPECT_EQ(grid.GetCellValue(3, 2), CString(c.stored)) << c.how;
    }

    // The focus going to another window takes the number too.
    grid.SetValueRange(CGXRange(3, 2), "5/6/2001");
    grid.SetFocus();
    Place(3, 2);
    afxtest::InputScript s;
    s.Key(VK_HOME).Key(VK_RIGHT).Key('9');
    ASSERT_TRUE(s.Run());
    elsewhere.SetFocus();
    afxtest::PumpMessages();
    EXPECT_EQ(grid.GetCellValue(3, 2), "5/9/2001") << "focus elsewhere";
}
