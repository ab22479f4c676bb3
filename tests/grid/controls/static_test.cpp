// The static text control: class records and drawing into a memory device context.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxstyle.h"

namespace {
// A record named like the static control's but belonging to another family.
const GXControlClass otherStatic = {"CGXStatic", nullptr};
const GXControlClass unrelated = {"CGXUnrelated", nullptr};

// Draws a style's cell into a white bitmap and reports where the text colour landed.
struct Ink
{
    int count = 0;
    int minX = 1 << 30;
    int maxX = -1;
};

Ink DrawCell(CGXStatic& control, const CGXStyle& style, CRect cell)
{
    CClientDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 200, 40);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
    control.Draw(&dc, cell, 1, 1, style, nullptr);
    Ink ink;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (dc.GetPixel(x, y) != RGB(255, 255, 255)) {
                ++ink.count;
                ink.minX = x < ink.minX ? x : ink.minX;
                ink.maxX = x > ink.maxX ? x : ink.maxX;
            }
    dc.SelectObject(old);
    return ink;
}
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
