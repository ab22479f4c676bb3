// Input masks: the mask language and the operations on entered characters.
#include <gtest/gtest.h>
#include "gxmask.h"

namespace {
const char* const kPhone = "(###) ###-####";

CString Shown(CGXMaskData& m)
{
    CString s;
    m.GetDisplayString(s);
    return s;
}

// A phone mask with the given value placed.
void Phone(CGXMaskData& m, LPCSTR value)
{
    m.SetMask(kPhone);
    m.SetData(value, -1, FALSE);
}
} // namespace

TEST(MaskData, PhoneMaskLayoutAndEmptyData)
{
    CGXMaskData m;
    m.SetMask(kPhone);
    m.ResetData();
    EXPECT_EQ(14, m.GetPositionCount());
    int literals = 0;
    for (int i = 0; i < 14; ++i)
        literals += m.IsLiteral(i) ? 1 : 0;
    EXPECT_EQ(4, literals);
    EXPECT_STREQ("(___) ___-____", Shown(m));
    CString data;
    m.GetData(data);
    EXPECT_STREQ("          ", data);
    m.GetData(data, 0, -1, TRUE);
    EXPECT_STREQ("", data);
    EXPECT_TRUE(m.IsValid());
}

TEST(MaskData, EscapesMakeLiterals)
{
    CGXMaskData m;
    m.SetMask("\\##");
    ASSERT_EQ(2, m.GetPositionCount());
    EXPECT_TRUE(m.IsLiteral(0));
    EXPECT_FALSE(m.IsLiteral(1));
    m.ResetData();
    EXPECT_STREQ("#_", Shown(m));
    // A backslash at the very end adds nothing.
    m.SetMask("##\\");
    EXPECT_EQ(2, m.GetPositionCount());
    EXPECT_FALSE(m.IsLiteral(1));
}

TEST(MaskData, ValidateCharByPlaceholder)
{
    CGXMaskData m;
    m.SetMask("L?U#A&");
    struct Case
    {
        int pos;
        const char* in;
        BOOL ok;
        const char* out;
    } cases[] = {
        {0, "Q", TRUE, "q"}, {1, "5", FALSE, "5"}, {2, "q", TRUE, "Q"}, {3, "x", FALSE, "x"},
        {4, "-", FALSE, "-"}, {4, "5", TRUE, "5"}, {4, "q", TRUE, "q"}, {3, "7", TRUE, "7"},
        {5, "-", TRUE, "-"},  {3, " ", TRUE, "_"}, {6, "1", FALSE, "1"}, {-1, "1", FALSE, "1"},
        // A character with the high bit set is classified as a code, not a negative number.
        {3, "\xB2", FALSE, "\xB2"},
    };
    for (const Case& c : cases) {
        CString ch = c.in;
        EXPECT_EQ(c.ok, m.ValidateChar(c.pos, ch)) << c.pos << " " << c.in;
        EXPECT_STREQ(c.out, ch) << c.pos << " " << c.in;
    }
    m.SetMask("(#)");
    CString paren = "(";
    EXPECT_FALSE(m.ValidateChar(0, paren));   // literals take nothing
}

TEST(MaskData, SetDataAndDisplayString)
{
    CGXMaskData m;
    Phone(m, "5551234567");
    EXPECT_STREQ("(555) 123-4567", Shown(m));
    // A refused character ends the placing; what came before stays.
    EXPECT_EQ(3, m.SetData("55a", -1));
    EXPECT_STREQ("(55_) ___-____", Shown(m));

    EXPECT_EQ(14, m.SetDisplayString("(555) 123-4567", -1));
    CString value;
    m.GetData(value, 0, -1, TRUE);
    EXPECT_STREQ("5551234567", value);
    EXPECT_EQ(-1, m.SetDisplayString("[555", -1));
    EXPECT_EQ(-1, m.SetDisplayString("(5a5", -1));
}

TEST(MaskData, InsertAndDeleteShiftOverDataPositions)
{
    CGXMaskData m;
    int next = 0;
    Phone(m, "123");
    EXPECT_TRUE(m.InsertAt(1, "9", &next));
    EXPECT_STREQ("(912) 3__-____", Shown(m));
    EXPECT_EQ(2, next);
    // From a literal to the next data position.
    EXPECT_TRUE(m.InsertAt(4, "8", &next));
    EXPECT_STREQ("(912) 83_-____", Shown(m));
    EXPECT_EQ(7, next);

    Phone(m, "5551234567");
    EXPECT_FALSE(m.InsertAt(1, "9", &next));
    EXPECT_STREQ("(555) 123-4567", Shown(m));

    Phone(m, "1234567890");
    m.DeleteRange(4, 1);
    EXPECT_STREQ("(456) 789-0___", Shown(m));
    m.DeleteRange(11, 10);
    EXPECT_STREQ("(456) 789-____", Shown(m));

    // Empty or reversed ranges change nothing.
    Phone(m, "1234567890");
    m.DeleteRange(2, 5);
    m.DeleteRange(-1, 0);
    m.DeleteRange(3, 3);
    EXPECT_STREQ("(123) 456-7890", Shown(m));

    CGXMaskData lits;
    lits.SetMask("--");
    lits.ResetData();
    EXPECT_FALSE(lits.InsertAt(0, "1", &next));
    EXPECT_STREQ("--", Shown(lits));
}

TEST(MaskData, PlainTextMode)
{
    CGXMaskData m;
    m.SetMask("");
    m.SetMaxLength(3);
    EXPECT_FALSE(m.IsLiteral(0));
    EXPECT_EQ(3, m.SetData("ab!", -1));
    EXPECT_FALSE(m.InsertAt(3, "x"));
    EXPECT_STREQ("ab!", Shown(m));
    m.DeleteRange(9, 1);   // clamped to the length
    EXPECT_STREQ("a", Shown(m));
    m.DeleteRange(0, -4);
    EXPECT_STREQ("a", Shown(m));
    EXPECT_TRUE(m.InsertAt(0, "z"));
    EXPECT_STREQ("za", Shown(m));
    m.SetDisplayString("abcdef", -1);   // cut to the maximum length
    EXPECT_STREQ("abc", Shown(m));
    EXPECT_TRUE(m.IsValid());
    EXPECT_EQ(2, m.GetInputEnd(2));
    EXPECT_EQ(3, m.GetInputEnd(7));
}

TEST(MaskData, InputEndAndDataPositions)
{
    CGXMaskData m;
    m.SetMask("###");
    m.ResetData();
    EXPECT_EQ(0, m.GetInputEnd(0));
    m.SetData("1", -1);
    EXPECT_EQ(0, m.GetInputEnd(0));   // the caret may stand before the entered character
    EXPECT_EQ(1, m.GetInputEnd(2));
    EXPECT_EQ(1, m.GetInputEnd(3));

    Phone(m, "123");
    EXPECT_EQ(4, m.GetInputEnd(14));
    EXPECT_EQ(4, m.GetInputEnd(9));
    EXPECT_EQ(1, m.GetInputEnd(0));   // on the literal: the first place, filled
    Phone(m, "5551234567");
    EXPECT_EQ(14, m.GetInputEnd(14));

    struct Case
    {
        int pos, next, prev;
    } cases[] = {{-1, 1, -1}, {0, 1, -1}, {3, 6, 2}, {4, 6, 3}, {13, -1, 12}, {14, 14, 13}, {20, 20, 13}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.next, m.GetNextDataPos(c.pos)) << c.pos;
        EXPECT_EQ(c.prev, m.GetPrevDataPos(c.pos)) << c.pos;
    }
    // On a single-byte system positions are byte offsets; both stop at the ends.
    if (!CGXMaskData::IsDBCSSystem()) {
        EXPECT_EQ(5, m.PosToChar(5));
        EXPECT_EQ(5, m.CharToPos(5));
    }
}

TEST(MaskData, PromptChar)
{
    CGXMaskData m;
    Phone(m, "12");
    EXPECT_TRUE(m.SetPromptChar("*", TRUE));
    EXPECT_STREQ("(12*) ***-****", Shown(m));
    EXPECT_FALSE(m.SetPromptChar("ab", FALSE));
    EXPECT_FALSE(m.SetPromptChar("abc", FALSE));
    EXPECT_TRUE(m.SetPromptChar("", FALSE));
    EXPECT_STREQ("_", m.GetPromptChar());
    EXPECT_STREQ("(12*) ***-****", Shown(m));   // without update the data stays
    // A space typed into a filled place puts the prompt back.
    m.SetPromptChar("*", TRUE);
    EXPECT_EQ(2, m.SetData(" ", 1));
    EXPECT_STREQ("(*2*) ***-****", Shown(m));
    CString value;
    m.GetData(value, 0, -1, TRUE);
    EXPECT_STREQ(" 2", value);
}

TEST(MaskData, ValidityAndDynamicCreation)
{
    CObject* p = RUNTIME_CLASS(CGXMaskData)->CreateObject();
    ASSERT_NE(nullptr, p);
    CGXMaskData* m = static_cast<CGXMaskData*>(p);
    EXPECT_TRUE(m->IsEmptyMask());
    EXPECT_EQ(2147483647, m->GetMaxLength());
    m->SetMask("U#");
    EXPECT_TRUE(m->IsValid());   // no data yet
    m->SetData("a1", -1);
    EXPECT_TRUE(m->IsValid());
    CString shown;
    m->GetDisplayString(shown);
    EXPECT_STREQ("A1", shown);
    delete p;
}
