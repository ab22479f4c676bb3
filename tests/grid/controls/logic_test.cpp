// The window-free decisions of the cell controls and the text routines they share.
#include <gtest/gtest.h>
#include <climits>
#include <vector>
#include "gxcontrol.h"
#include "gxctllogic.h"
#include "gxutil.h"

namespace {
std::vector<CString> Lines(LPCSTR text)
{
    std::vector<CString> out;
    CString line;
    while (GXGetNextChoiceLine(text, line))
        out.push_back(line);
    return out;
}

// A control with no grid: only its choice-list slots are used.
class BareControl : public CGXControl
{
public:
    BareControl() : CGXControl(nullptr) {}
};
} // namespace

TEST(ChoiceList, LinesEndAtCarriageReturnOrLineFeed)
{
    struct Case
    {
        const char* text;
        std::vector<CString> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"Red", {"Red"}},
        {"Red\nGreen\nBlue", {"Red", "Green", "Blue"}},
        {"Red\r\nGreen\r\n", {"Red", "Green"}},
        {"Red\rGreen", {"Red", "Green"}},
        {"Red\n\nBlue", {"Red", "", "Blue"}},
        {"Red\n\r\nBlue", {"Red", "", "Blue"}},
        {"Red\r\rBlue", {"Red", "", "Blue"}},
    };
    for (const Case& c : cases) {
        std::vector<CString> got = Lines(c.text);
        ASSERT_EQ(got.size(), c.lines.size()) << c.text;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_STREQ(got[i], c.lines[i]) << c.text << " line " << i;
    }
}

TEST(ChoiceList, ControlSlotsFollowTheLineRule)
{
    BareControl control;
    const CString choices("Apple\nA\rBanana\r\nGreen");
    CString item;
    const struct
    {
        int index;
        const char* item;
    } items[] = {{0, "Apple"}, {1, "A"}, {2, "Banana"}, {3, "Green"}, {4, ""}, {-1, ""}};
    for (const auto& c : items) {
        control.GetChoiceListItem(choices, item, c.index);
        EXPECT_STREQ(item, c.item) << c.index;
    }
    EXPECT_EQ(control.FindChoiceListItem("a", choices, TRUE), 1);      // exact beats the earlier prefix
    EXPECT_EQ(control.FindChoiceListItem("ban", choices, FALSE), 2);
    EXPECT_EQ(control.FindChoiceListItem("ban", choices, TRUE), -1);
    EXPECT_EQ(control.FindChoiceListItem("g", choices, FALSE), 3);
    EXPECT_EQ(control.FindChoiceListItem("", choices, FALSE), -1);
}

TEST(Validation, TypedNumbersAreClamped)
{
    const struct
    {
        const char* text;
        long value;
    } cases[] = {
        {"12abc", 12},         {"", 0},           {"abc", 0},       {"  -7", -7},
        {"+5", 5},             {"123456789012", LONG_MAX},          {"-123456789012", LONG_MIN},
        {"2147483647", LONG_MAX}, {"-2147483648", LONG_MIN},        {"99999999999999999999999", LONG_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GXParseClampedLong(c.text), c.value) << c.text;
    EXPECT_EQ(GXParseClampedLong(nullptr), 0);
}

TEST(ReplaceAll, ReplacesEveryMatchOnce)
{
    const struct
    {
        const char* text;
        const char* find;
        const char* repl;
        BOOL matchCase;
        const char* result;
        int count;
    } cases[] = {
        {"Light light LIGHT", "light", "lamp", FALSE, "lamp lamp lamp", 3},
        {"Light light LIGHT", "light", "lamp", TRUE, "Light lamp LIGHT", 1},
        {"aaa", "a", "aa", FALSE, "aaaaaa", 3},          // the replacement holds the search text
        {"info_player_start", "PLAYER", "Player", FALSE, "info_Player_start", 1},
        {"abc", "", "x", FALSE, "abc", 0},                // an empty search replaces nothing
        {"abc", "x", "y", FALSE, "abc", 0},
        {"abcabc", "bc", "", FALSE, "aa", 2},
    };
    for (const auto& c : cases) {
        CString s(c.text);
        EXPECT_EQ(GXReplaceAllText(s, c.find, c.repl, c.matchCase), c.count) << c.text;
        EXPECT_STREQ(s, c.result) << c.text;
    }
    // No fixed buffer: a long text keeps its whole length.
    CString longText;
    for (int i = 0; i < 600; ++i)
        longText += "ab";
    EXPECT_EQ(GXReplaceAllText(longText, "B", "xyz", FALSE), 600);
    EXPECT_EQ(longText.GetLength(), 2400);
    EXPECT_STREQ(longText.Right(4), "axyz");
}

TEST(SpinStep, StepsWithinBounds)
{
    GXSpinBounds none;
    GXSpinBounds range;
    range.bHasMin = range.bHasMax = TRUE;
    range.nMin = 1;
    range.nMax = 10;
    GXSpinBounds wrap = range;
    wrap.bWrap = TRUE;
    GXSpinBounds start;
    start.bHasStart = TRUE;
    start.nStart = 10;
    GXSpinBounds minOnly;
    minOnly.bHasMin = TRUE;
    minOnly.nMin = 5;
    GXSpinBounds wrapNoMin;
    wrapNoMin.bHasMax = TRUE;
    wrapNoMin.nMax = 3;
    wrapNoMin.bWrap = TRUE;
    const struct
    {
        const char* text;
        BOOL up;
        const GXSpinBounds* bounds;
        long result;
    } cases[] = {
        {"5", TRUE, &none, 6},
        {"", FALSE, &none, -1},
        {"", FALSE, &start, 10},
        {"7x", TRUE, &none, 8},          // a text counts as its leading number
        {"abc", TRUE, &none, 1},
        {"2147483647", TRUE, &none, LONG_MAX},      // saturates
        {"-2147483648", FALSE, &none, LONG_MIN},
        {"99999999999", TRUE, &none, LONG_MAX},
        {"10", TRUE, &range, 10},        // at the maximum without wrap
        {"10", TRUE, &wrap, 1},          // wraps to the minimum
        {"1", FALSE, &wrap, 10},
        {"1", FALSE, &range, 1},
        {"25", TRUE, &wrap, 10},         // typed above the maximum: pulled back, no wrap
        {"25", FALSE, &range, 10},
        {"-4", FALSE, &wrap, 1},
        {"-4", TRUE, &range, 1},
        {"", FALSE, &minOnly, 5},        // -1 clamped to the minimum
        {"3", TRUE, &wrapNoMin, 3},      // wrap needs the other bound
    };
    for (const auto& c : cases)
        EXPECT_EQ(GXSpinStep(c.text, c.up, *c.bounds), c.result) << c.text << (c.up ? " up" : " down");
}

TEST(CheckBox, StateAndImage)
{
    const struct
    {
        BOOL enabled, activeCurrent, pressed;
        const char* value;
        BOOL triState;
        UINT state;
        int image;
    } cases[] = {
        {TRUE, FALSE, FALSE, "1", FALSE, 4, 1},
        {TRUE, FALSE, FALSE, "0", FALSE, 8, 0},
        {TRUE, FALSE, FALSE, "x", FALSE, 8, 0},
        {TRUE, FALSE, FALSE, "x", TRUE, 0, 4},        // indeterminate
        {TRUE, FALSE, FALSE, "0", TRUE, 8, 0},
        {TRUE, TRUE, FALSE, "1", FALSE, 5, 1},
        {TRUE, TRUE, TRUE, "1", FALSE, 7, 3},         // pressed: grey
        {TRUE, TRUE, TRUE, "0", FALSE, 11, 2},
        {FALSE, TRUE, TRUE, "1", FALSE, 10, 2},       // disabled: unchecked on grey whatever the value
    };
    for (const auto& c : cases) {
        const UINT state = GXCheckBoxState(c.enabled, c.activeCurrent, c.pressed, c.value, "1", "0", c.triState);
        EXPECT_EQ(state, c.state) << c.value;
        EXPECT_EQ(GXCheckBoxImage(state), c.image) << c.value;
    }
}

TEST(CheckBox, ToggleCycles)
{
    // Tri-state: "1" -> "0" -> "" -> "1".
    CString v("1");
    const char* expected[] = {"0", "", "1"};
    for (const char* e : expected) {
        v = GXCheckBoxToggle(v, "1", "0", TRUE);
        EXPECT_STREQ(v, e);
    }
    EXPECT_STREQ(GXCheckBoxToggle("1", "1", "0", FALSE), "0");
    EXPECT_STREQ(GXCheckBoxToggle("0", "1", "0", FALSE), "1");
    EXPECT_STREQ(GXCheckBoxToggle("maybe", "1", "0", FALSE), "1");
    EXPECT_STREQ(GXCheckBoxToggle("Yes", "Yes", "No", FALSE), "No");
}

TEST(CheckBox, Placement)
{
    const struct
    {
        CSize cell, needed;
        UINT align;
        CRect box;
    } cases[] = {
        {{100, 20}, {13, 13}, 0, {3, 3, 16, 16}},
        {{100, 20}, {13, 13}, DT_CENTER | DT_VCENTER, {43, 3, 56, 16}},
        {{100, 20}, {13, 13}, DT_RIGHT | DT_BOTTOM, {87, 7, 100, 20}},
        {{14, 14}, {13, 13}, 0, {1, 1, 14, 14}},       // little room: the margin shrinks
        {{8, 8}, {13, 13}, DT_RIGHT, {0, 0, 8, 8}},    // no room: cut to the cell
    };
    for (const auto& c : cases)
        EXPECT_EQ(GXCheckBoxPlace(c.cell, c.needed, 13, c.align), c.box) << c.cell.cx << "x" << c.cell.cy;
}

TEST(RadioButtons, ChoicesAndSpace)
{
    EXPECT_EQ(GXRadioChoiceCount("One\n\nTwo\r\nThree\r\n"), 3);   // the empty line is no choice
    EXPECT_EQ(GXRadioChoiceCount(""), 0);
    const struct
    {
        const char* value;
        int count;
        int next;
    } cases[] = {
        {"", 3, 0}, {"0", 3, 1}, {"1", 3, 2}, {"2", 3, 0},   // the last wraps to the first
        {"7", 3, 0}, {"-5", 3, 0}, {"abc", 3, 1},            // beyond the count wraps; text counts as 0
        {"0", 0, -1}, {"", 0, -1},                           // nothing to choose
    };
    for (const auto& c : cases)
        EXPECT_EQ(GXRadioNextChoice(c.value, c.count), c.next) << c.value << "/" << c.count;
}

TEST(ProgressBar, WidthAndCaption)
{
    const struct
    {
        long value, lower, upper;
        int right;
    } widths[] = {
        {50, 0, 100, 50},  {0, 0, 100, 0},     {100, 0, 100, 100}, {150, 0, 100, 100},  // cut at the edge
        {-5, 0, 100, 0},   {5, 5, 5, 0},       {5, 10, 0, 0},                           // no bar when upper <= lower
        {LONG_MAX, LONG_MIN, LONG_MAX, 100},   {0, LONG_MIN, LONG_MAX, 50},
    };
    for (const auto& w : widths)
        EXPECT_EQ(GXProgressBarRight(0, 100, w.value, w.lower, w.upper), w.right) << w.value;
    EXPECT_EQ(GXProgressBarRight(20, 20, 50, 0, 100), 20);

    const struct
    {
        const char* caption;
        const char* shown;
    } captions[] = {
        {"%d%%", "42%"},   {"%5d", "   42"},  {"%-4ld|", "42  |"}, {"%03i", "042"}, {"%u", "42"},
        {"%s", "%s"},      {"%n", "%n"},      {"%d %d", "%d %d"},   {"%*d", "%*d"},  {"%f", "%f"},
        {"Done", "Done"},  {"100%%", "100%"}, {"", ""},
    };
    for (const auto& c : captions)
        EXPECT_STREQ(GXProgressCaption(c.caption, 42), c.shown) << c.caption;
}

TEST(CellButton, StateMachineScript)
{
    // A script of events per row and the clicks it gives.
    enum Ev { Down, MoveIn, MoveOut, UpIn, UpOut, SpaceDown, SpaceUp, OtherKeyUp, Cancel };
    const struct
    {
        std::vector<Ev> events;
        int clicks;
        BOOL pressedAfter;
    } scripts[] = {
        {{Down, UpIn}, 1, FALSE},
        {{Down, MoveOut, UpOut}, 0, FALSE},
        {{Down, MoveOut, MoveIn, UpIn}, 1, FALSE},
        {{Down, MoveOut, UpIn}, 0, FALSE},      // the pressed look was gone
        {{MoveIn, UpIn}, 0, FALSE},             // no press began here
        {{SpaceDown, SpaceUp}, 1, FALSE},
        {{SpaceUp}, 0, FALSE},
        {{SpaceDown, OtherKeyUp}, 0, TRUE},
        {{Down, Cancel, UpIn}, 0, FALSE},       // capture lost
        {{Down, MoveIn}, 0, TRUE},
    };
    for (size_t i = 0; i < sizeof(scripts) / sizeof(scripts[0]); ++i) {
        GXButtonState b;
        int clicks = 0;
        for (Ev e : scripts[i].events) {
            switch (e) {
            case Down: b.MouseDown(); break;
            case MoveIn: b.MouseMove(TRUE); break;
            case MoveOut: b.MouseMove(FALSE); break;
            case UpIn: clicks += b.MouseUp(TRUE) ? 1 : 0; break;
            case UpOut: clicks += b.MouseUp(FALSE) ? 1 : 0; break;
            case SpaceDown: b.KeyDown(' '); break;
            case SpaceUp: clicks += b.KeyUp(' ') ? 1 : 0; break;
            case OtherKeyUp: clicks += b.KeyUp('A') ? 1 : 0; break;
            case Cancel: b.Cancel(); break;
            }
        }
        EXPECT_EQ(clicks, scripts[i].clicks) << "script " << i;
        EXPECT_EQ(b.Pressed(), scripts[i].pressedAfter) << "script " << i;
    }
}

TEST(CellButton, RepeatScheduleOnAnInjectedClock)
{
    // Checked every 10 ms from the press: repeats 500 ms after it, then 150, 145, 140 ... down to 50.
    for (DWORD start : {1000u, 0xFFFFFF00u}) {   // the second crosses the tick count's wrap
        GXRepeatSchedule s;
        s.Start(start);
        std::vector<DWORD> at;
        for (DWORD t = 10; t <= 5000; t += 10)
            if (s.Due(start + t))
                at.push_back(t);
        ASSERT_GE(at.size(), 25u);
        EXPECT_EQ(at[0], 500u);
        EXPECT_EQ(at[1] - at[0], 150u);
        EXPECT_EQ(at[2] - at[1], 150u);   // 145 rounded up to the next check
        EXPECT_EQ(at.back() - at[at.size() - 2], 50u);
        EXPECT_EQ(s.Delay(), 50u);
    }
    GXRepeatSchedule s;
    s.Start(0);
    EXPECT_FALSE(s.Due(499));
    EXPECT_TRUE(s.Due(500));
    EXPECT_EQ(s.Delay(), 150u);
    EXPECT_FALSE(s.Due(649));
    EXPECT_TRUE(s.Due(650));
    EXPECT_EQ(s.Delay(), 145u);
}
