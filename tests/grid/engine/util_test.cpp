#include <gtest/gtest.h>
#include "afxgdi.h"
#include "gxutil.h"

class TextLayout : public ::testing::Test
{
protected:
    CDC dc;
    int h = 0, charWidth = 0;
    void SetUp() override
    {
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        dc.SelectStockObject(SYSTEM_FIXED_FONT);
        TEXTMETRIC tm;
        dc.GetTextMetrics(&tm);
        h = tm.tmHeight + tm.tmExternalLeading;
        charWidth = dc.GetTextExtent("x", 1).cx;
    }
    // The lines of a text broken in a box of nChars characters and nLines lines.
    std::vector<std::string> Break(const char* text, int nChars, int nLines, UINT format = DT_WORDBREAK)
    {
        int starts[32], lengths[32];
        CRect r(0, 0, nChars * charWidth - 1, nLines * h);
        int n = GXBreakTextLines(&dc, text, -1, &r, format, starts, lengths, 32);
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i)
            out.emplace_back(text + starts[i], static_cast<size_t>(lengths[i]));
        return out;
    }
};

TEST_F(TextLayout, BreaksAtWordsLineEndsAndInsideLongWords)
{
    EXPECT_EQ(Break("a\r\n", 10, 4), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(Break("one two three", 8, 4), (std::vector<std::string>{"one two ", "three"}));
    EXPECT_EQ(Break("abcdefghij", 4, 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
    EXPECT_EQ(Break("a\nb", 10, 4), (std::vector<std::string>{"a", "b"}));
    // Without word break, or without room for a second line, there is one line.
    EXPECT_EQ(Break("one two three", 8, 4, 0), (std::vector<std::string>{"one two three"}));
    EXPECT_EQ(Break("one two three", 8, 1), (std::vector<std::string>{"one two three"}));
}

TEST_F(TextLayout, VerticalAlignmentAndCounts)
{
    CRect r(0, 0, 100 * charWidth, 10 * h);
    GXBreakTextLines(&dc, "x", -1, &r, DT_WORDBREAK | DT_BOTTOM, nullptr, nullptr, 32);
    EXPECT_GT(r.top, 8 * h);
    EXPECT_EQ(GXGetTextLineCount(&dc, "a b c", -1, 0, 0, 2 * charWidth - 1, 10 * h, DT_WORDBREAK), 3);
}

TEST_F(TextLayout, ZeroLineHeightDoesNotDivideByZero)
{
    // A rectangle of no height and a text of many lines terminate.
    CRect r(0, 0, charWidth, 0);
    EXPECT_EQ(GXBreakTextLines(&dc, "a b c d", -1, &r, DT_WORDBREAK, nullptr, nullptr, 32), 1);
}

TEST(TabLists, LinesFieldsFindAndSort)
{
    LPCSTR text = "a\tb\r\nc\td\r\nlast";
    CString line;
    EXPECT_EQ(GXGetNextLine(text, line), 3);
    EXPECT_EQ(line, "a\tb");
    GXGetNextLine(text, line);
    GXGetNextLine(text, line);
    EXPECT_EQ(line, "last");
    EXPECT_EQ(*text, '\0');

    char buf[4];
    GXGetTabField("x\tlongfield\tz", 1, buf, 3);
    EXPECT_STREQ(buf, "lon");   // cut and terminated
    GXGetTabField("x", 2, buf, 3);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(GXGetTabField("x\ty", 1), "y");

    LPCSTR list = "Key\tText\r\nbeta\t2\r\nalpha\t1";
    EXPECT_EQ(GXFindTabListEntry("alpha", 0, list, TRUE), 2);
    EXPECT_EQ(GXFindTabListEntry("al", 0, list, TRUE), -1);
    EXPECT_EQ(GXFindTabListEntry("al", 0, list, FALSE), 2);
    EXPECT_EQ(GXFindTabListEntry("2", 1, list, TRUE), 1);

    CString sorted = list;
    GXSortTabList(sorted, 0, TRUE);
    EXPECT_EQ(sorted, "Key\tText\r\nalpha\t1\r\nbeta\t2");
    CString byText = "b\t2\r\na\t3\r\nc\t1";
    GXSortTabList(byText, 1, FALSE);
    EXPECT_EQ(byText, "c\t1\r\nb\t2\r\na\t3");
}

// A key typed in another case finds its entry by its beginning; an exact lookup keeps the case.
TEST(TabLists, FindByBeginningIgnoresCase)
{
    LPCSTR list = "Key\tText\r\nbeta\t2\r\nAlpha\t1";
    const struct
    {
        LPCSTR key;
        int column;
        BOOL exact;
        int expect;
    } cases[] = {
        {"al", 0, FALSE, 2}, {"ALP", 0, FALSE, 2}, {"aLpHa", 0, FALSE, 2}, {"B", 0, FALSE, 1},
        {"alphas", 0, FALSE, -1}, {"tex", 1, FALSE, 0}, {"alpha", 0, TRUE, -1}, {"Alpha", 0, TRUE, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GXFindTabListEntry(c.key, c.column, list, c.exact), c.expect) << c.key;
}

// A choice list's entries end at a carriage return, a line feed or both, as a cell's choices are
// read everywhere: the index found is the entry's index in the list. A skipped title line is not
// counted, and the entry found comes back with its index.
TEST(TabLists, EntriesAreTheChoiceListsLines)
{
    LPCSTR list = "No\tName\n1\tRed\r\n2\tGreen\r3\tgreenish";
    const struct
    {
        LPCSTR key;
        int column;
        BOOL skipTitle, exact;
        int expect;
        LPCSTR entry;
    } cases[] = {
        {"1", 0, FALSE, TRUE, 1, "1\tRed"},       {"Name", 1, FALSE, TRUE, 0, "No\tName"},
        {"greenish", 1, FALSE, TRUE, 3, "3\tgreenish"}, {"GREEN", 1, TRUE, FALSE, 1, "2\tGreen"},
        {"3", 0, TRUE, TRUE, 2, "3\tgreenish"},   {"No", 0, TRUE, FALSE, -1, ""},
    };
    for (const auto& c : cases) {
        CString entry = "stale";
        EXPECT_EQ(GXFindTabListEntry(c.key, c.column, list, c.skipTitle, entry, c.exact), c.expect) << c.key;
        EXPECT_EQ(entry, c.entry) << c.key;
        if (!c.skipTitle) {
            EXPECT_EQ(GXFindTabListEntry(c.key, c.column, list, c.exact), c.expect) << c.key;
        }
    }
}

TEST(Locale, DateFormatIsReadAndCached)
{
    int order = -1;
    char sep = 0;
    GetLocaleDateFormat(TRUE, order, sep);
    EXPECT_GE(order, 0);
    EXPECT_LE(order, 2);
    EXPECT_NE(sep, 0);
    EXPECT_NE(GetLocaleTimeSeparator(FALSE), 0);
}

TEST(Drawing, PatternsAndFills)
{
    HBITMAP a = GXGetPatternBitmap(0);
    EXPECT_NE(a, nullptr);
    EXPECT_EQ(GXGetPatternBitmap(0), a);
    EXPECT_EQ(GXGetPatternBitmap(41), nullptr);

    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    HBITMAP bmp = ::CreateBitmap(8, 8, 1, 32, nullptr);
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), bmp);
    FillRectColorOpaque(&dc, CRect(0, 0, 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(::GetPixel(dc.GetSafeHdc(), 3, 3), RGB(255, 0, 0));
    FillRectColor(&dc, 0, 0, 8, 8, GXSysColorValue(COLOR_WINDOW));
    EXPECT_EQ(::GetPixel(dc.GetSafeHdc(), 3, 3), ::GetSysColor(COLOR_WINDOW));
    ::SelectObject(dc.GetSafeHdc(), old);
    ::DeleteObject(bmp);
}

TEST(Drawing, BitmapResources)
{
    HGLOBAL h = LoadDIBResource(AfxGetResourceHandle(), 23222);
    ASSERT_NE(h, nullptr);
    const BITMAPINFOHEADER* hdr = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(h));
    EXPECT_EQ(GXGetDIBNumColors(hdr), 16);
    ::GlobalUnlock(h);
    ::GlobalFree(h);
    EXPECT_EQ(LoadDIBResource(AfxGetResourceHandle(), 4321), nullptr);

    HBITMAP bmp = nullptr;
    EXPECT_TRUE(CreateBitmapFromDIBResource(bmp, 23240));
    ASSERT_NE(bmp, nullptr);
    // A true-colour bitmap has no colour table to map and is still made.
    EXPECT_TRUE(CreateBitmapFromDIBResource(bmp, 101));
    BITMAP info;
    ::GetObjectA(bmp, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    ::DeleteObject(bmp);
    EXPECT_FALSE(CreateBitmapFromDIBResource(bmp, 4321));
}
