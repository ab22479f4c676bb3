// Windowless controls drawn into a memory device context; class records.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxstyle.h"

namespace {
// A record named like the static control's but belonging to another family.
const GXControlClass otherStatic = {"CGXStatic", nullptr};
const GXControlClass unrelated = {"CGXUnrelated", nullptr};

// A white 200 x 40 bitmap a control draws one cell into.
struct Canvas
{
    COLORREF pixels[40][200];

    Canvas(CGXControl& control, const CGXStyle& style, CRect cell)
    {
        CClientDC screen(nullptr);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, 200, 40);
        CBitmap* old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
        control.Draw(&dc, cell, 1, 1, style, nullptr);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                pixels[y][x] = dc.GetPixel(x, y);
        dc.SelectObject(old);
    }
};

// Where anything but white landed.
struct Ink
{
    int count = 0;
    int minX = 1 << 30;
    int maxX = -1;
};

Ink DrawCell(CGXControl& control, const CGXStyle& style, CRect cell)
{
    const Canvas canvas(control, style, cell);
    Ink ink;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (canvas.pixels[y][x] != RGB(255, 255, 255)) {
                ++ink.count;
                ink.minX = x < ink.minX ? x : ink.minX;
                ink.maxX = x > ink.maxX ? x : ink.maxX;
            }
    return ink;
}
// A header whose cell the grid shows selected.
class PressedHeader : public CGXHeader
{
public:
    using CGXHeader::CGXHeader;
    UINT GetCellDrawState(ROWCOL, ROWCOL, const CGXStyle&) override { return 1; }
};
} // namespace

TEST(StaticControl, ClassRecords)
{
    CGXStatic control(nullptr);
    const struct
    {
        const GXControlClass* record;
        BOOL kind;
    } cases[] = {
        {GX_CONTROL_CLASS(CGXStatic), TRUE},
        {&CGXControl::classRecordCGXControl, TRUE},   // its base
        {&otherStatic, TRUE},                           // the same name elsewhere
        {&unrelated, FALSE},
        {nullptr, FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(control.IsKindOf(c.record), c.kind) << (c.record != nullptr ? c.record->name : "null");
    EXPECT_STREQ(control.GetClassRecord()->name, "CGXStatic");
}

TEST(StaticControl, FloatingAndMargins)
{
    CGXStatic control(nullptr);
    CGXStyle text, empty;
    text.SetValue("text");
    EXPECT_TRUE(control.CanFloatCell(1, 1, text, TRUE));
    EXPECT_FALSE(control.CanFloatCell(1, 1, empty, TRUE));
    EXPECT_TRUE(control.CanFloatCell(1, 1, empty, FALSE));
    EXPECT_FALSE(control.CanFloatCell(1, 1, text, FALSE));

    const int m = CGXStatic::TextMargin();
    EXPECT_GE(m, 2);
    CRect cell(10, 0, 110, 20);
    CGXStyle right;
    right.SetHorizontalAlignment(DT_RIGHT);
    EXPECT_EQ(control.GetCellRect(1, 1, cell, &text), CRect(10 + m, 0, 110 - m / 2, 20));
    EXPECT_EQ(control.GetCellRect(1, 1, cell, &right), CRect(10 + m, 0, 110 - m - 1, 20));
}

TEST(StaticControl, DrawsTheTextInsideItsCellWithTheStyle)
{
    AfxSeamReset();
    CGXGridEngine grid(nullptr);
    grid.InitObjects();
    CGXStatic control(&grid);
    const CRect cell(20, 5, 180, 35);
    const int m = CGXStatic::TextMargin();

    CGXStyle style;
    style.SetValue("WWWW").SetTextColor(RGB(255, 0, 0));
    Ink left = DrawCell(control, style, cell);
    EXPECT_GT(left.count, 0);
    EXPECT_GE(left.minX, cell.left + m);
    EXPECT_LT(left.maxX, cell.CenterPoint().x);

    style.SetHorizontalAlignment(DT_RIGHT);
    Ink right = DrawCell(control, style, cell);
    EXPECT_GT(right.count, 0);
    EXPECT_GT(right.minX, cell.CenterPoint().x);
    EXPECT_LT(right.maxX, cell.right - m);

    // No text, or a cell too small: nothing drawn.
    CGXStyle empty;
    EXPECT_EQ(DrawCell(control, empty, cell).count, 0);
    EXPECT_EQ(DrawCell(control, style, CRect(20, 5, 21, 35)).count, 0);
}

TEST(ProgressControl, BarBetweenTheBoundsAndCaption)
{
    AfxSeamReset();
    CGXGridEngine grid(nullptr);
    grid.InitObjects();
    CGXProgressCtrl control(&grid);
    const CRect cell(10, 0, 110, 20);
    const COLORREF blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0);
    CGXStyle style;
    style.SetTextColor(blue).SetInterior(yellow);
    style.SetUserAttribute(51025, "0").SetUserAttribute(51026, "200").SetValue("50");

    // A row below the caption's reach: the bar covers a quarter of the cell, the rest is background.
    auto barEnd = [&](const CGXStyle& s) {
        const Canvas canvas(control, s, cell);
        int end = cell.left;
        while (end < cell.right && canvas.pixels[1][end] == blue)
            ++end;
        for (int x = end; x < cell.right; ++x)
            EXPECT_EQ(canvas.pixels[1][x], yellow) << x;
        EXPECT_EQ(canvas.pixels[1][cell.right], RGB(255, 255, 255));   // nothing beyond the cell
        return end - cell.left;
    };
    EXPECT_EQ(barEnd(style), 25);
    style.SetValue("500");
    EXPECT_EQ(barEnd(style), 100);   // cut at the cell's right edge
    style.SetValue("-3");
    EXPECT_EQ(barEnd(style), 0);
    style.SetUserAttribute(51026, "0").SetValue("50");
    EXPECT_EQ(barEnd(style), 0);     // equal bounds: no bar

    // The caption shows in the text colour beside the bar and the interior colour over it.
    style.SetUserAttribute(51026, "100").SetValue("50").SetUserAttribute(51027, "%d%%");
    const Canvas captioned(control, style, cell);
    int overBar = 0, beside = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = cell.left; x < cell.right; ++x) {
            const bool inBar = x < cell.left + 50;
            overBar += inBar && captioned.pixels[y][x] != blue;
            beside += !inBar && captioned.pixels[y][x] != yellow;
        }
    EXPECT_GT(overBar, 0);
    EXPECT_GT(beside, 0);
}

TEST(HeaderControl, RaisedOrPressedFrame)
{
    AfxSeamReset();
    CGXGridEngine grid(nullptr);
    grid.InitObjects();
    const CRect cell(10, 5, 90, 25);
    CGXStyle style;
    style.SetValue("A");
    const COLORREF black = RGB(0, 0, 0);

    CGXHeader raised(&grid);
    const Canvas up(raised, style, cell);
    EXPECT_EQ(up.pixels[cell.top][cell.left + 5], ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(up.pixels[cell.top + 5][cell.left], ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(up.pixels[cell.bottom - 2][cell.left + 5], ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(up.pixels[cell.top + 5][cell.right - 2], ::GetSysColor(COLOR_BTNSHADOW));

    PressedHeader pressed(&grid);
    const Canvas down(pressed, style, cell);
    for (int x = cell.left; x < cell.right; ++x)
        EXPECT_EQ(down.pixels[cell.bottom - 1][x], black) << x;
    for (int y = cell.top; y < cell.bottom; ++y)
        EXPECT_EQ(down.pixels[y][cell.right - 1], black) << y;

    // A style with its own frame setting gets no header frame.
    style.SetDraw3dFrame(0);
    EXPECT_LT(DrawCell(raised, style, cell).maxX, cell.right - 2);
    // A header too narrow for text draws nothing at all.
    CGXStyle plain;
    plain.SetValue("A");
    EXPECT_EQ(DrawCell(raised, plain, CRect(10, 5, 13, 25)).count, 0);
}

namespace {
// A windowless grid of 10 x 10 cells with one check box cell at (1, 1).
class CheckBoxTest : public ::testing::Test
{
protected:
    CGXGridEngine grid{nullptr};
    CGXCheckBox box{&grid, FALSE};
    const CRect cell{10, 5, 110, 30};

    void SetUp() override
    {
        AfxSeamReset();
        grid.InitObjects();
        grid.GetParam()->GetData()->StoreRowCount(10);
        grid.GetParam()->GetData()->StoreColCount(10);
    }
    void SetCell(const CGXStyle& style)
    {
        grid.SetStyleRange(CGXRange(1, 1), &style, gxOverride);
        box.Init(1, 1);
    }
    CString Value() { return grid.GetCellValue(1, 1); }
    // How many pixels inside the box (less its frame) have the colour.
    int InBox(const Canvas& canvas, COLORREF color)
    {
        const CRect r = box.GetLastBoxRect();
        int n = 0;
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x)
                n += canvas.pixels[y][x] == color;
        return n;
    }
};
} // namespace

TEST_F(CheckBoxTest, DrawsTheStateFromItsOwnStrip)
{
    CGXStyle style;
    style.SetValue("1");
    const COLORREF mark = ::GetSysColor(COLOR_WINDOWTEXT), face = ::GetSysColor(COLOR_BTNFACE);
    const Canvas checked(box, style, cell);
    EXPECT_EQ(box.GetLastBoxRect().Size(), CSize(13, 13));
    EXPECT_TRUE(cell.PtInRect(box.GetLastBoxRect().TopLeft()));
    EXPECT_GT(InBox(checked, mark), 5);
    style.SetValue("0");
    const Canvas unchecked(box, style, cell);
    EXPECT_EQ(InBox(unchecked, mark), 0);
    EXPECT_EQ(InBox(unchecked, ::GetSysColor(COLOR_WINDOW)), 9 * 9);
    // Disabled: unchecked on grey whatever the value.
    style.SetValue("1").SetEnabled(FALSE);
    const Canvas disabled(box, style, cell);
    EXPECT_EQ(InBox(disabled, mark), 0);
    EXPECT_EQ(InBox(disabled, face), 9 * 9);
}

TEST_F(CheckBoxTest, SpaceAndClicksToggleThroughTheGrid)
{
    CGXStyle style;
    style.SetValue("1").SetTriState(TRUE);
    SetCell(style);
    box.Draw(nullptr, cell, 1, 1, style, nullptr);   // no device: nothing happens
    { const Canvas c(box, style, cell); }            // places the box
    const CPoint in = box.GetLastBoxRect().CenterPoint(), out(cell.right - 2, cell.bottom - 2);

    const char* cycle[] = {"0", "", "1"};
    for (const char* expected : cycle) {
        box.HandleGridKey(WM_CHAR, ' ', 1, 0);
        EXPECT_STREQ(Value(), expected);
    }
    // A press in the box released there toggles once.
    box.OnLButtonDown(MK_LBUTTON, in);
    EXPECT_TRUE(box.IsPressed());
    box.OnLButtonUp(0, in);
    EXPECT_STREQ(Value(), "0");
    // A press outside moved into the box and released there does nothing.
    box.OnLButtonDown(MK_LBUTTON, out);
    box.OnMouseMove(MK_LBUTTON, in);
    box.OnLButtonUp(0, in);
    EXPECT_STREQ(Value(), "0");
    // Pressed look follows the mouse; released outside: nothing.
    box.OnLButtonDown(MK_LBUTTON, in);
    box.OnMouseMove(MK_LBUTTON, out);
    EXPECT_FALSE(box.IsPressed());
    box.OnLButtonUp(0, out);
    EXPECT_STREQ(Value(), "0");
    // A double click toggles exactly twice.
    box.OnLButtonDown(MK_LBUTTON, in);
    box.OnLButtonUp(0, in);
    box.OnLButtonDblClk(MK_LBUTTON, in);
    box.OnLButtonUp(0, in);
    EXPECT_STREQ(Value(), "1");
}

TEST_F(CheckBoxTest, ReadOnlyOrDisabledCellsKeepTheirValue)
{
    CGXStyle style;
    style.SetValue("1").SetEnabled(FALSE);
    SetCell(style);
    box.HandleGridKey(WM_CHAR, ' ', 1, 0);
    EXPECT_STREQ(Value(), "1");

    style.SetEnabled(TRUE).SetUserAttribute(51019, "Yes").SetUserAttribute(51020, "No").SetValue("Yes");
    SetCell(style);
    box.HandleGridKey(WM_CHAR, ' ', 1, 0);
    EXPECT_STREQ(Value(), "No");
    grid.GetParam()->SetReadOnly(TRUE);
    box.Init(1, 1);
    box.HandleGridKey(WM_CHAR, ' ', 1, 0);
    EXPECT_STREQ(Value(), "No");
}

namespace {
class RadioTest : public CheckBoxTest
{
protected:
    CGXRadioButton radio{&grid, FALSE};
    void SetRadio(const CGXStyle& style)
    {
        grid.SetStyleRange(CGXRange(1, 1), &style, gxOverride);
        radio.Init(1, 1);
    }
};
} // namespace

TEST_F(RadioTest, ChoicesDrawnClickedAndStepped)
{
    CGXStyle style;
    style.SetChoiceList("One\n\nTwo\r\nThree").SetValue("1");
    SetRadio(style);
    const Canvas canvas(radio, style, cell);
    EXPECT_EQ(radio.GetChoiceCount(), 3);   // the empty line is no choice
    const int first = radio.HitTest(CPoint(cell.left + 9, cell.top + 1));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(radio.HitTest(CPoint(cell.right - 1, cell.top + 1)), -1);   // beside the text: no line

    // Click the third line: chosen through the grid.
    CPoint third(cell.left + 9, cell.top + 1);
    while (radio.HitTest(third) != 2 && third.y < 40)
        ++third.y;
    ASSERT_EQ(radio.HitTest(third), 2);
    radio.OnLButtonUp(0, third);
    EXPECT_STREQ(Value(), "2");

    // The space bar steps and wraps at the count.
    radio.HandleGridKey(WM_CHAR, ' ', 1, 0);
    EXPECT_STREQ(Value(), "0");
    radio.HandleGridKey(WM_CHAR, ' ', 1, 0);
    EXPECT_STREQ(Value(), "1");

    // Read-only: neither click nor space changes it.
    grid.GetParam()->SetReadOnly(TRUE);
    radio.Init(1, 1);
    radio.OnLButtonUp(0, third);
    radio.HandleGridKey(WM_CHAR, ' ', 1, 0);
    EXPECT_STREQ(Value(), "1");
}

TEST_F(RadioTest, DotMarksTheChosenLine)
{
    CGXStyle style;
    style.SetChoiceList("A\nB").SetValue("1");
    SetRadio(style);
    const Canvas canvas(radio, style, cell);
    // The dot's centre on each line: black on the chosen one only.
    int dots = 0, chosenLine = -1;
    for (int y = cell.top; y < cell.bottom; ++y)
        if (canvas.pixels[y][cell.left + 9] == RGB(0, 0, 0) && canvas.pixels[y][cell.left + 7] == RGB(0, 0, 0) &&
            canvas.pixels[y][cell.left + 11] == RGB(0, 0, 0)) {
            ++dots;
            chosenLine = radio.HitTest(CPoint(cell.left + 9, y));
        }
    EXPECT_GT(dots, 0);
    EXPECT_EQ(chosenLine, 1);

    // Nothing to choose: space leaves the value alone.
    CGXStyle none;
    none.SetValue("").SetChoiceList("");
    SetRadio(none);
    radio.HandleGridKey(WM_CHAR, ' ', 1, 0);
    EXPECT_STREQ(Value(), "");
}

namespace {
// An edited control whose typed text the test sets.
class TypedControl : public CGXControl
{
public:
    using CGXControl::CGXControl;
    CString typed;
    BOOL IsActive() override { return TRUE; }
    BOOL GetModify() override { return TRUE; }
    void GetValue(CString& s) override { s = typed; }
};

// Remembers the warning the validation hands to the grid.
class WarningGrid : public CGXGridEngine
{
public:
    WarningGrid() : CGXGridEngine(nullptr) {}
    CString warning;
    void SetTextField(LPCSTR lpszText) override { warning = lpszText; }
};
} // namespace

TEST(Validation, BoundsCompareTheClampedNumber)
{
    AfxSeamReset();
    WarningGrid grid;
    grid.InitObjects();
    grid.GetParam()->GetData()->StoreRowCount(5);
    grid.GetParam()->GetData()->StoreColCount(5);
    CGXStyle style;
    style.SetUserAttribute(51011, "10").SetUserAttribute(51012, "100").SetUserAttribute(51013, "Between 10 and 100");
    grid.SetStyleRange(CGXRange(1, 1), &style, gxOverride);
    TypedControl control(&grid);
    const struct
    {
        const char* typed;
        BOOL ok;
    } cases[] = {
        {"12abc", TRUE},          // the leading number counts
        {"", TRUE},               // nothing typed: nothing to check
        {"abc", FALSE},           // no number: 0, below the minimum
        {"123456789012", FALSE},  // twelve digits: the largest value, not a wrapped one
        {"4294967350", FALSE},    // would wrap to 54 in 32 bits
        {"100", TRUE},
    };
    for (const auto& c : cases) {
        control.Init(1, 1);
        grid.warning.Empty();
        control.typed = c.typed;
        EXPECT_EQ(control.OnValidate(), c.ok) << c.typed;
        EXPECT_STREQ(grid.warning, c.ok ? "" : "Between 10 and 100") << c.typed;
    }
}
