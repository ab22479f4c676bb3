// Date/time fields: pictures, field rules, the range check and the gadgets' logic.
#include <gtest/gtest.h>
#include "afxwin.h"
#include "afxtest.h"
#include "gxdtlogic.h"
#include <vector>

namespace {
COleDateTimeLocale English()
{
    COleDateTimeLocale loc = COleDateTimeLocale::Invariant();
    loc.strShortDate = "M/d/yyyy";
    loc.strTime = "h:mm:ss tt";
    return loc;
}

COleDateTime D(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return COleDateTime(y, mo, d, h, mi, s); }

CString Show(const COleDateTime& d)
{
    CString s;
    s.Format("%04d-%02d-%02d %02d:%02d:%02d", d.GetYear(), d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute(),
             d.GetSecond());
    return s;
}

// A window stand-in: keeps a date and applies the field rules.
class StubOwner : public GXBDTGadgetOwner
{
public:
    CGXBDateTimeRules rules;
    COleDateTime date = D(2001, 5, 9, 14, 10, 0);
    std::vector<int> codes, values;
    int invalidated = 0;

    LRESULT OnGadgetNotify(int nCode, int nID, int nValue) override
    {
        codes.push_back(nCode);
        values.push_back(nValue);
        COleDateTime result;
        const int r = rules.ChangeField(date, nCode, nID, nValue, result);
        if (r != 1)
            return r == -1 ? 1 : 0;
        if (nCode != GXDTN_QUERY)
            date = result;
        return 1;
    }
    void InvalidateGadget(CGXBDTGadget*, BOOL) override { ++invalidated; }
    void CaptureGadget(CGXBDTGadget*, BOOL) override {}
};
} // namespace

TEST(DateTimePicture, FieldsAndTexts)
{
    const COleDateTimeLocale loc = English();
    struct Case
    {
        const char* picture;
        const char* layout;   // per element: id (zero-padded "z"), or the literal text in brackets
    } cases[] = {
        {"dd/MM/yyyy", "32z [/] 128z [/] 1024"},
        {"hhh", "1z 1"},
        {"'at' H", "[at] [ ] 2"},
        {"yyyyy", "1024 512"},
        {"yy y", "512z [ ] 512"},
        {"t tt", "16 [ ] 16"},
        {"dddd, MMMM d, yyyy", "64 [, ] 256 [ ] 32 [, ] 1024"},
        {"gg HH:mm", "[ ] 2z [:] 4z"},
        {"'open", "[open]"},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::vector<GXBDTFieldSpec> fields;
        GXParseDateTimePicture(c.picture, loc, 0, fields);
        CString layout;
        for (const GXBDTFieldSpec& f : fields) {
            if (!layout.IsEmpty())
                layout += " ";
            CString part;
            if (f.nID < 0)
                part = "[" + f.strText + "]";
            else
                part.Format("%d%s", f.nID, f.bLeadingZeros ? "z" : "");
            layout += part;
        }
        EXPECT_EQ(layout, c.layout) << c.picture;
    }
    std::vector<GXBDTFieldSpec> ampm;
    GXParseDateTimePicture("t", loc, 0, ampm);
    ASSERT_EQ(ampm.size(), 1u);
    EXPECT_EQ(ampm[0].items[0], "A");
    EXPECT_EQ(ampm[0].items[1], "P");
    GXParseDateTimePicture("tt", loc, GXDT_NOEDIT_HOUR, ampm);
    EXPECT_EQ(ampm[0].items[1], "PM");
    EXPECT_FALSE(ampm[0].bEditable);
    EXPECT_EQ(GXDateTimePicture(2, "", loc), "dddd, MMMM d, yyyy");
    EXPECT_EQ(GXDateTimePicture(3, "yy", loc), "yy");
}

TEST(DateTimeRules, OneFieldChanges)
{
    CGXBDateTimeRules rules;
    struct Case
    {
        const char* name;
        COleDateTime start;
        int code, id, value;
        int answer;
        const char* result;
    } cases[] = {
        {"month up to a shorter month", D(2001, 1, 31), GXDTN_UP, GXDT_MONTH, 0, 1, "2001-02-28 00:00:00"},
        {"month up in a leap year", D(2000, 1, 31), GXDTN_UP, GXDT_MONTH, 0, 1, "2000-02-29 00:00:00"},
        {"year up from a leap day", D(2000, 2, 29), GXDTN_UP, GXDT_YEAR4, 0, 1, "2001-02-28 00:00:00"},
        {"year stays at 9999", D(9999, 3, 1), GXDTN_SPINUP, GXDT_YEAR4, 5, 1, "9999-03-01 00:00:00"},
        {"year stays at 100", D(100, 3, 1), GXDTN_DOWN, GXDT_YEAR4, 0, 1, "0100-03-01 00:00:00"},
        {"AM/PM toggles", D(2001, 5, 9, 14, 10), GXDTN_UP, GXDT_AMPM, 0, 1, "2001-05-09 02:10:00"},
        {"day 31 in April", D(2001, 4, 10), GXDTN_QUERY, GXDT_DAY, 31, 0, ""},
        {"weekday Friday", D(2001, 5, 9), GXDTN_SET, GXDT_WEEKDAY, 5, 1, "2001-05-11 00:00:00"},
        {"weekday Monday", D(2001, 5, 9), GXDTN_SET, GXDT_WEEKDAY, 1, 1, "2001-05-07 00:00:00"},
        {"minute 75", D(2001, 5, 9), GXDTN_QUERY, GXDT_MINUTE, 75, 0, ""},
        {"12-hour typed in the afternoon", D(2001, 5, 9, 17), GXDTN_SET, GXDT_HOUR12, 5, 1, "2001-05-09 17:00:00"},
        {"12 typed in the morning", D(2001, 5, 9, 9), GXDTN_SET, GXDT_HOUR12, 12, 1, "2001-05-09 00:00:00"},
        {"hour spin takes at most 2, past 23 to 0", D(2001, 5, 9, 23), GXDTN_SPINUP, GXDT_HOUR24, 5, 1, "2001-05-09 00:00:00"},
        {"hour spin below 0 to 23", D(2001, 5, 9, 0), GXDTN_SPINDOWN, GXDT_HOUR12, 2, 1, "2001-05-09 23:00:00"},
        {"minute spin past 59 to 0", D(2001, 5, 9, 8, 59), GXDTN_SPINUP, GXDT_MINUTE, 2, 1, "2001-05-09 08:00:00"},
        {"second spin below 0 to 59", D(2001, 5, 9, 8, 0, 0), GXDTN_SPINDOWN, GXDT_SECOND, 5, 1, "2001-05-09 08:00:59"},
        {"hour spin lands on 23", D(2001, 5, 9, 21), GXDTN_SPINUP, GXDT_HOUR24, 2, 1, "2001-05-09 23:00:00"},
        {"month spin takes 1", D(2001, 5, 9), GXDTN_SPINUP, GXDT_MONTH, 5, 1, "2001-06-09 00:00:00"},
        {"day past the month's end", D(2001, 2, 28), GXDTN_UP, GXDT_DAY, 0, 1, "2001-02-01 00:00:00"},
        {"day down from 1", D(2001, 2, 1), GXDTN_DOWN, GXDT_DAY, 0, 1, "2001-02-28 00:00:00"},
        {"two-digit year keeps the century", D(2001, 5, 9), GXDTN_SET, GXDT_YEAR2, 99, 1, "2099-05-09 00:00:00"},
        {"End in a weekday", D(2001, 5, 9), GXDTN_LAST, GXDT_WEEKDAY, 0, 1, "2001-05-12 00:00:00"},
        {"a click is no field change", D(2001, 5, 9), GXDTN_CLICKED, GXDT_DAY, 0, -1, ""},
    };
    for (const Case& c : cases) {
        COleDateTime result;
        EXPECT_EQ(rules.ChangeField(c.start, c.code, c.id, c.value, result), c.answer) << c.name;
        if (c.answer == 1) {
            EXPECT_EQ(Show(result), c.result) << c.name;
        }
    }
}

TEST(DateTimeRules, RangeAndPulls)
{
    CGXBDateTimeRules rules;
    ASSERT_TRUE(rules.SetRange(3, D(2000, 1, 1, 10, 30, 0), D(2000, 12, 31, 18, 0, 0)));
    struct Case
    {
        const char* name;
        COleDateTime start;
        int code, id;
        int answer;
        const char* result;
    } cases[] = {
        {"Home in the minute", D(2000, 1, 1, 10, 45, 20), GXDTN_FIRST, GXDT_MINUTE, 1, "2000-01-01 10:30:00"},
        {"Home in the hour", D(2000, 1, 1, 10, 45, 20), GXDTN_FIRST, GXDT_HOUR24, 1, "2000-01-01 10:30:00"},
        {"Down in the minute at the bound", D(2000, 1, 1, 10, 30, 20), GXDTN_DOWN, GXDT_MINUTE, 0, ""},
        {"inside", D(2000, 6, 1, 12, 0, 0), GXDTN_UP, GXDT_DAY, 1, "2000-06-02 12:00:00"},
    };
    for (const Case& c : cases) {
        COleDateTime result;
        EXPECT_EQ(rules.ChangeField(c.start, c.code, c.id, 0, result), c.answer) << c.name;
        if (c.answer == 1) {
            EXPECT_EQ(Show(result), c.result) << c.name;
        }
    }
    COleDateTime below = D(1999, 5, 5);
    EXPECT_FALSE(rules.ValidateDate(below, 0));
    COleDateTime pulled = D(1999, 5, 5);
    EXPECT_TRUE(rules.ValidateDate(pulled, -1));
    EXPECT_EQ(Show(pulled), "2000-01-01 10:30:00");

    // Time only: the bounds lie on 1899-12-30, so a pull only works there.
    ASSERT_TRUE(rules.SetRange(1, D(2001, 1, 1, 8, 0, 0), D(2001, 1, 1, 17, 0, 0)));
    EXPECT_EQ(Show(rules.GetMin()), "1899-12-30 08:00:00");
    COleDateTime result;
    EXPECT_EQ(rules.ChangeField(D(2005, 3, 3, 8, 0, 0), GXDTN_DOWN, GXDT_HOUR24, 0, result), 0);
    EXPECT_EQ(rules.ChangeField(D(1899, 12, 30, 8, 10, 0), GXDTN_DOWN, GXDT_HOUR24, 0, result), 0);
    EXPECT_EQ(rules.ChangeField(D(1899, 12, 30, 8, 10, 0), GXDTN_FIRST, GXDT_HOUR24, 0, result), 1);
    EXPECT_EQ(Show(result), "1899-12-30 08:00:00");

    // Refused ranges store nothing.
    EXPECT_FALSE(rules.SetRange(1, D(2001, 1, 1, 23, 0, 0), D(2001, 1, 2, 1, 0, 0)));
    EXPECT_FALSE(rules.SetRange(4, D(2001, 1, 1), D(2002, 1, 1)));
    EXPECT_FALSE(rules.SetRange(3, D(2002, 1, 1), D(2001, 1, 1)));
    EXPECT_EQ(rules.GetMode(), 1);
    EXPECT_EQ(Show(rules.GetMin()), "1899-12-30 08:00:00");
}

TEST(DateTimeGadgets, TypingNumbers)
{
    StubOwner owner;
    owner.date = D(2001, 5, 9, 14, 0, 0);
    CGXBDTNumericGadget minute;
    minute.Initialise(&owner, 0, 59, 0, TRUE, GXDT_MINUTE);
    minute.OnChar('7');
    EXPECT_TRUE(minute.IsPending());
    EXPECT_EQ(minute.GetText(), "07");
    minute.OnChar('5');   // 75: refused, the old minute stays
    EXPECT_FALSE(minute.IsPending());
    EXPECT_EQ(minute.GetValue(), 0);
    EXPECT_EQ(owner.date.GetMinute(), 0);

    minute.OnChar('1');
    minute.OnChar('0');
    EXPECT_EQ(minute.GetValue(), 10);
    EXPECT_EQ(owner.date.GetMinute(), 10);
    // Typing started and ended once per number.
    int starts = 0, ends = 0;
    for (size_t i = 0; i < owner.codes.size(); ++i)
        if (owner.codes[i] == GXDTN_TYPING)
            (owner.values[i] ? starts : ends) += 1;
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(ends, 2);

    // A letter between digits drops them; a key commits them.
    minute.OnChar('3');
    minute.OnChar('x');
    EXPECT_FALSE(minute.IsPending());
    EXPECT_EQ(minute.GetValue(), 10);
    minute.OnChar('4');
    minute.OnKeyDown(VK_UP);   // commits 4, then steps up
    EXPECT_EQ(owner.date.GetMinute(), 5);
}

TEST(DateTimeGadgets, TypeAheadInNameLists)
{
    StubOwner owner;
    const COleDateTimeLocale loc = English();
    std::vector<CString> months(loc.strMonth, loc.strMonth + 12);
    CGXBDTListGadget list;
    list.Initialise(&owner, months, 11, GXDT_MONTHNAME);
    owner.date = D(2001, 12, 9);
    list.OnChar('j');
    EXPECT_EQ(list.GetValue(), 0);   // January
    list.OnChar('u');
    EXPECT_EQ(list.GetValue(), 5);   // narrowed to June
    EXPECT_EQ(list.GetPrefix(), "ju");
    list.OnTimer();
    EXPECT_EQ(list.GetPrefix(), "");
    list.OnChar('j');
    EXPECT_EQ(list.GetValue(), 6);   // July
    list.OnChar('j');
    EXPECT_EQ(list.GetValue(), 0);   // on to January
    EXPECT_EQ(owner.date.GetMonth(), 1);
    list.OnChar('q');   // nothing starts with "jq"
    EXPECT_EQ(list.GetPrefix(), "");
    EXPECT_EQ(list.GetValue(), 0);

    CGXBDTListGadget empty;
    empty.Initialise(&owner, {}, 0, GXDT_MONTHNAME);
    EXPECT_EQ(empty.FindPrefix("a", 0), -1);
}

TEST(DateTimeGadgets, SpinRepeatSteps)
{
    StubOwner owner;
    owner.date = D(2001, 5, 9);
    CGXBDTSpinGadget spin;
    spin.Initialise(&owner, GXDT_SPIN);
    spin.SetRect(CRect(0, 0, 16, 20));
    spin.OnLButtonDown(MK_LBUTTON, CPoint(5, 2));
    ASSERT_EQ(owner.values.size(), 1u);
    EXPECT_EQ(owner.codes[0], GXDTN_SPINUP);
    EXPECT_EQ(owner.values[0], 1);
    for (int i = 0; i < 60; ++i)
        spin.OnTimer();
    ASSERT_EQ(owner.values.size(), 61u);
    EXPECT_EQ(owner.values[20], 1);
    EXPECT_EQ(owner.values[21], 2);
    EXPECT_EQ(owner.values[50], 2);
    EXPECT_EQ(owner.values[51], 5);
    spin.OnLButtonUp(0, CPoint(5, 2));
    EXPECT_EQ(spin.GetState(), 0u);
    EXPECT_FALSE(spin.HasTimer());

    // Dragged out of its half the arrow stops repeating; back in, it starts again.
    spin.OnLButtonDown(MK_LBUTTON, CPoint(5, 15));
    EXPECT_EQ(owner.codes.back(), GXDTN_SPINDOWN);
    spin.OnMouseMove(MK_LBUTTON, CPoint(5, 2));
    EXPECT_FALSE(spin.HasTimer());
    spin.OnMouseMove(MK_LBUTTON, CPoint(5, 15));
    EXPECT_TRUE(spin.HasTimer());
    EXPECT_EQ(spin.GetRepeatCount(), 0);
    spin.OnCancelMode();
    EXPECT_FALSE(spin.HasTimer());
}

TEST(DateTimeGadgets, WindowlessTimerReachesItsGadget)
{
    StubOwner owner;
    CGXBDTSpinGadget spin;
    spin.Initialise(&owner, GXDT_SPIN);
    spin.SetRect(CRect(0, 0, 16, 20));
    spin.OnLButtonDown(MK_LBUTTON, CPoint(5, 2));
    const size_t first = owner.codes.size();
    // Polled until the timer fires; the bound is only a safety net for a slow machine.
    for (int i = 0; i < 1000 && owner.codes.size() == first; ++i) {
        afxtest::PumpMessages();
        ::Sleep(20);
    }
    EXPECT_GT(owner.codes.size(), first);
    spin.OnCancelMode();
}
