#include <gtest/gtest.h>
#include "gxstymap.h"

TEST(Style, ApplyKeepsOverrideReplaces)
{
    CGXStyle x, y;
    x.SetValue("x");
    y.SetValue("y");
    CGXStyle a(y);
    a.ChangeStyle(x, gxApplyNew);
    EXPECT_EQ(a.GetValue(), "y");
    a.ChangeStyle(x, gxOverride);
    EXPECT_EQ(a.GetValue(), "x");

    // Flags take only their own bits.
    CGXStyle flags;
    flags.SetReadOnly(TRUE).SetMergeCell(5);
    CGXStyle other;
    other.SetWrapText(TRUE).SetMergeCell(2);
    flags.ChangeStyle(other, gxApplyNew);
    EXPECT_TRUE(flags.GetReadOnly());
    EXPECT_TRUE(flags.GetWrapText());
    EXPECT_EQ(flags.GetMergeCell(), 5);
    flags.ChangeStyle(other, gxOverride);
    EXPECT_EQ(flags.GetMergeCell(), 2);
    EXPECT_TRUE(flags.GetReadOnly());
}

TEST(Style, ExcludeRemovesOnlyWhatTheSourceHas)
{
    CGXStyle s;
    s.SetFont(CGXFont("Arial,10,700,0,0,0"));
    s.SetValue("v");
    s.SetBorders(gxBorderAll, GXPenRecord(PS_SOLID, 1, 0));
    s.SetUserAttribute(1, "a").SetUserAttribute(2, "b");
    CGXStyle bold;
    bold.SetFont(CGXFont().SetWeight(700));
    bold.SetBorders(gxBorderLeft, GXPenRecord(PS_SOLID, 1, 0));
    bold.SetUserAttribute(1, "");
    bold.SetValue("");
    s.ChangeStyle(bold, gxExclude);
    EXPECT_TRUE(s.GetIncludeFont());
    EXPECT_FALSE(s.GetFont().GetIncludeWeight());
    EXPECT_TRUE(s.GetFont().GetIncludeSize());
    EXPECT_FALSE(s.GetIncludeValue());
    EXPECT_TRUE(s.GetValue().IsEmpty());
    EXPECT_FALSE(s.HasBorder(gxBorderLeft));
    EXPECT_TRUE(s.HasBorder(gxBorderRight));
    EXPECT_FALSE(s.HasUserAttribute(1));
    EXPECT_EQ(s.GetUserAttribute(2), "b");
    CGXStyle two;
    two.SetUserAttribute(2, "");
    s.ChangeStyle(two, gxExclude);
    EXPECT_FALSE(s.GetIncludeUserAttributes());
}

TEST(Style, IncludeMaskRoundTripsEveryCombination)
{
    CGXStyle s;
    for (DWORD mask = 0; mask < (1u << 24); mask += 0x1FF) {
        s.SetIncludeMask(mask);
        ASSERT_EQ(s.GetIncludeMask(), mask);
    }
    s.SetIncludeMask(0xFFFFFF);
    EXPECT_EQ(s.GetIncludeMask(), 0xFFFFFFu);
}

TEST(Style, AssignmentAndCloneAreExactCopies)
{
    CGXStyle src;
    src.SetValue("v").SetControl(52513).SetUserAttribute(7, "seven");
    src.SetFont(CGXFont().SetItalic(TRUE));
    CGXStyle dst;
    dst.SetChoiceList("a\nb").SetUserAttribute(8, "eight");
    dst.SetFont(CGXFont("Courier,12,400,0,0,0"));
    dst = src;
    EXPECT_FALSE(dst.HasUserAttribute(8));
    EXPECT_EQ(dst.GetUserAttribute(7), "seven");
    EXPECT_FALSE(dst.GetIncludeChoiceList());
    EXPECT_TRUE(dst.GetChoiceList().IsEmpty());
    EXPECT_EQ(dst.GetFont().GetIncludeBits(), (DWORD)CGXFont::incItalic);
    EXPECT_TRUE(dst.IsSubSet(src));
    EXPECT_TRUE(src.IsSubSet(dst));
    CGXStyle* c = src.Clone();
    EXPECT_TRUE(c->IsSubSet(src) && src.IsSubSet(*c));
    EXPECT_EQ(c->GetIncludeMask(), src.GetIncludeMask());
    delete c;

    CGXStyle empty;
    dst = empty;
    EXPECT_TRUE(dst.IsEmpty());
}

TEST(Style, DefaultsOfTheStandardStyle)
{
    CGXStyle s;
    s.SetDefault();
    EXPECT_EQ(s.GetIncludeMask(), 0xFFFFFFu & ~(CGXStyle::incBorders | CGXStyle::incBaseStyle | CGXStyle::incUserAttr));
    EXPECT_EQ(s.GetControl(), 52512u);
    EXPECT_EQ(s.GetInterior().lbColor >> 24, 0xF9u);
    EXPECT_EQ(s.GetTextColor() >> 24, 0xF6u);
    EXPECT_TRUE(s.GetWrapText());
    EXPECT_TRUE(s.GetEnabled());
    EXPECT_TRUE(s.GetFloatCell());
    EXPECT_TRUE(s.GetFloodCell());
    EXPECT_FALSE(s.GetReadOnly());
}

TEST(Style, ColumnLetters)
{
    struct Case { DWORD col; const char* text; };
    const Case cases[] = {{1, "A"},    {26, "Z"},   {27, "AA"},   {52, "AZ"},  {53, "BA"},
                          {650, "XZ"}, {651, "YA"}, {676, "YZ"}, {677, "AAA"}};
    for (const Case& c : cases)
        EXPECT_EQ(GXGetColumnLetters(c.col), c.text) << c.col;
}

TEST(Style, BaseStyleChains)
{
    CGXStylesMap map;
    CGXStyle a, b;
    a.SetValue("from a");
    WORD idA = map.RegisterStyle("A", a);
    b.SetBaseStyle(idA).SetTextColor(RGB(1, 2, 3));
    WORD idB = map.RegisterStyle("B", b);
    EXPECT_NE(idA, 0);
    EXPECT_NE(idB, idA);

    CGXStyle cell;
    cell.SetBaseStyle(idB);
    cell.ResolveBaseStyle(&map);
    EXPECT_EQ(cell.GetValue(), "from a");
    EXPECT_EQ(cell.GetTextColor(), RGB(1, 2, 3));

    // The chain ends at the first id the map does not hold.
    CGXStyle dangling;
    dangling.SetBaseStyle(999);
    dangling.ResolveBaseStyle(&map);
    EXPECT_FALSE(dangling.GetIncludeValue());

    // A cycle A -> B -> A stops instead of hanging.
    a.SetBaseStyle(idB);
    EXPECT_EQ(map.RegisterStyle("A", a), idA);
    CGXStyle looped;
    looped.SetBaseStyle(idA);
    looped.ResolveBaseStyle(&map);
    EXPECT_EQ(looped.GetTextColor(), RGB(1, 2, 3));
}
