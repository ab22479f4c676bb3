#include <gtest/gtest.h>
#include "gxfont.h"
#include "gxutil.h"

TEST(Font, DefaultFontIsEightPoints)
{
    if (GXGetFontTable().m_nLogPixelsY != 96)
        GTEST_SKIP() << "display is not 96 dpi";
    CGXFont f;
    f.SetDefault();
    EXPECT_EQ(f.GetSize(), 8);
    EXPECT_EQ(f.GetIncludeBits(), (DWORD)CGXFont::incAll);
    EXPECT_STREQ(f.GetFaceName(), "Arial");
    EXPECT_EQ(f.GetWeight(), FW_NORMAL);
}

TEST(Font, DescriptionText)
{
    CGXFont f("Arial,10,700,1,0,0");
    EXPECT_EQ(f.GetIncludeBits(), (DWORD)CGXFont::incAll);
    EXPECT_EQ(f.GetSize(), 10);
    EXPECT_EQ(f.GetWeight(), 700);
    EXPECT_TRUE(f.GetItalic());
    EXPECT_EQ(f.GetDescription(), "Arial,10,700,1,0,0");

    CGXFont size(",12,,,,");
    EXPECT_EQ(size.GetIncludeBits(), (DWORD)CGXFont::incSize);
    EXPECT_EQ(size.GetSize(), 12);

    CGXFont weight;
    weight.SetWeight(700);
    EXPECT_EQ(weight.GetDescription(), ",,700,,,");
    CGXFont stop("Times");   // no comma: only the face
    EXPECT_EQ(stop.GetIncludeBits(), (DWORD)CGXFont::incFaceName);
}

TEST(Font, ChangeAndCompare)
{
    CGXFont base("Arial,10,400,0,0,0");
    CGXFont bold;
    bold.SetWeight(700);
    CGXFont applied(base);
    applied.ChangeFont(bold, gxApplyNew);
    EXPECT_EQ(applied.GetWeight(), 400);
    applied.ChangeFont(bold, gxOverride);
    EXPECT_EQ(applied.GetWeight(), 700);
    applied.ChangeFont(bold, gxExclude);
    EXPECT_FALSE(applied.GetIncludeWeight());
    EXPECT_TRUE(applied.GetIncludeSize());
    applied.ChangeFont(bold, gxCopy);
    EXPECT_EQ(applied.GetIncludeBits(), (DWORD)CGXFont::incWeight);

    CGXFont a, b;
    a.SetFaceName("Arial");
    b.SetFaceName("arial");
    EXPECT_FALSE(a.IsSubSet(b));
    EXPECT_TRUE(base.IsSubSet(bold.SetWeight(400)));
    CGXFont italicTwo;
    italicTwo.SetItalic(TRUE);
    CGXFont it2 = base;
    it2.SetItalic(TRUE);
    EXPECT_TRUE(it2.IsSubSet(italicTwo));
}

TEST(Records, BrushText)
{
    GXBrushRecord br;
    br.lbBkColor = RGB(1, 2, 3);
    br.SetDescription("0 0 255 0 0");
    EXPECT_EQ(br.lbStyle, (UINT)BS_SOLID);
    EXPECT_EQ(br.lbColor, RGB(255, 0, 0));
    EXPECT_EQ(br.lbBkColor, RGB(1, 2, 3));

    GXBrushRecord pat;
    pat.SetDescription("3 2 0 0 0 255 255 255");
    EXPECT_EQ(pat.lbStyle, (UINT)BS_PATTERN);
    EXPECT_EQ(pat.lbPattern, 2);
    EXPECT_EQ(pat.lbHatch, reinterpret_cast<LONG_PTR>(GXGetPatternBitmap(2)));
    EXPECT_EQ(pat.lbBkColor, RGB(255, 255, 255));

    GXBrushRecord keep(BS_HATCHED, RGB(9, 9, 9), 4);
    keep.SetDescription("1 2 3 4");   // fewer than five numbers
    EXPECT_EQ(keep.lbStyle, (UINT)BS_HATCHED);

    // A system colour survives its text form through the ninth number.
    GXBrushRecord sys(BS_SOLID, GXSysColorValue(COLOR_BTNFACE, RGB(10, 20, 30)));
    GXBrushRecord back;
    back.SetDescription(sys.GetDescription());
    EXPECT_EQ(back, sys);
    GXBrushRecord pal;
    pal.SetDescription("0 0 4 1 7 0 0 0 1");
    EXPECT_EQ(pal.lbColor, 0x01000104u);
}

TEST(Records, PenText)
{
    GXPenRecord pen;
    pen.SetDescription("1 2 3 4 5 249");
    EXPECT_TRUE(pen.bSet);
    EXPECT_EQ(pen.lopnStyle, 1u);
    EXPECT_EQ(pen.lopnWidth, 2);
    EXPECT_EQ(pen.lopnColor, 0xF9050403u);
    EXPECT_EQ(pen.GetDescription(), "1 2 3 4 5 249");
    pen.SetDescription("1 2 3 4");
    EXPECT_FALSE(pen.bSet);
}

TEST(Records, BorderBrush)
{
    GXBrushRecord interior(BS_SOLID, RGB(0, 255, 0));
    GXBrushRecord out;
    EXPECT_TRUE(GXGetBorderBrush(GXPenRecord(PS_NULL, 1, 0), interior, FALSE, FALSE, out));
    EXPECT_EQ(out, interior);
    EXPECT_TRUE(GXGetBorderBrush(GXPenRecord(PS_DOT, 1, RGB(1, 1, 1)), interior, TRUE, FALSE, out));
    EXPECT_EQ(out.lbPattern, 38);
    EXPECT_EQ(out.lbColor, RGB(1, 1, 1));
    EXPECT_EQ(out.lbBkColor, RGB(0, 255, 0));
    EXPECT_TRUE(GXGetBorderBrush(GXPenRecord(PS_DASH, 1, RGB(1, 1, 1)), interior, FALSE, TRUE, out));
    EXPECT_EQ(out.lbPattern, 33);
    EXPECT_EQ(out.lbColor, RGB(0, 0, 0));
    EXPECT_FALSE(GXGetBorderBrush(GXPenRecord(PS_SOLID, 1, 0), interior, FALSE, FALSE, out));
}
