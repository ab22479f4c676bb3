// The browser's arithmetic and the dialogs' rules, as tables: the thumbnail grid, the rows shown,
// where a thumbnail goes, the recent list, compact WAD names, WAD path matching and the Texture
// Adjustment window's edit rules.
#include "RecordingServices.h"
#include "SelectWadsDlg.h"
#include "TextureAdjustDlg.h"
#include "TextureBrowser.h"
#include "afxwndtest.h"
#include <gtest/gtest.h>

namespace {

TEST(TextureGridTable, ColumnsRowsAndScrollBar)
{
    struct Case
    {
        int w, h, s, count, current;
        int columns, rows, visible;
        BOOL enabled;
        int max, page, pos;
    } cases[] = {
        // 5 columns of 64 need (w - 12) / 70 = 5; 12 textures give 3 rows; 2 fit in 150 pixels.
        {362, 150, 64, 12, -1, 5, 3, 2, TRUE, 2, 2, 0},
        {362, 150, 64, 12, 11, 5, 3, 2, TRUE, 2, 2, 1}, // the current one's row, kept within the last page
        {362, 500, 64, 12, 11, 5, 3, 7, FALSE, 0, 0, 0}, // all rows fit: no scrolling
        {362, 216, 64, 12, 7, 5, 3, 3, FALSE, 0, 0, 0},  // exactly fits: 70 * 3 + 6 = 216
        {362, 215, 64, 12, 7, 5, 3, 2, TRUE, 2, 2, 1},
        {60, 300, 64, 12, 0, 1, 12, 6, TRUE, 11, 6, 0},  // too narrow for 64: one column of 42
        {33, 300, 64, 12, 0, 0, 0, 0, FALSE, 0, 0, 0},   // too narrow even for the smallest
        {0, 300, 64, 12, 0, 0, 0, 0, FALSE, 0, 0, 0},    // no window yet
        {300, -4, 64, 12, 0, 0, 0, 0, FALSE, 0, 0, 0},
        {300, 600, 256, 453, 452, 1, 453, 2, TRUE, 452, 2, 451},
        {200, 600, 32, 0, -1, 4, 0, 15, FALSE, 0, 0, 0}, // nothing listed
    };
    for (const Case& c : cases) {
        TextureGrid g = ComputeTextureGrid(c.w, c.h, c.s, c.count, c.current);
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " S " << c.s << " count " << c.count);
        EXPECT_EQ(g.columns, c.columns);
        EXPECT_EQ(g.totalRows, c.rows);
        EXPECT_EQ(g.visibleRows, c.visible);
        EXPECT_EQ(g.scrollEnabled, c.enabled);
        EXPECT_EQ(g.scrollMax, c.max);
        EXPECT_EQ(g.page, c.page);
        EXPECT_EQ(g.position, c.pos);
        if (c.w > 0 && c.h > 0) {
            EXPECT_EQ(g.drawWidth, std::max(1, c.w - 6));
            EXPECT_EQ(g.drawHeight, std::max(1, c.h - 4));
        }
    }
}

// The thumbnails keep their chosen size while one column fits, and shrink to fit one column
// (never below the smallest size) when it does not.
TEST(TextureGridTable, AWindowTooNarrowForOneColumnShrinksTheThumbnails)
{
    const struct
    {
        int w, s, size, columns;
    } cases[] = {{82, 64, 64, 1},  {81, 64, 63, 1}, {79, 64, 61, 1}, {60, 64, 42, 1}, {34, 64, 16, 1},
                 {33, 64, 16, 0},  {130, 64, 64, 1}, {152, 64, 64, 2}, {60, 32, 32, 1}, {40, 256, 22, 1}};
    for (const auto& c : cases) {
        TextureGrid g = ComputeTextureGrid(c.w, 300, c.s, 12, -1);
        EXPECT_EQ(c.size, g.size) << c.w << " S " << c.s;
        EXPECT_EQ(c.columns, g.columns) << c.w << " S " << c.s;
    }
}

TEST(TextureGridTable, VisibleSliceAndLastPosition)
{
    struct Case
    {
        int pos, columns, rows, count, first, last;
    } cases[] = {
        {0, 5, 2, 12, 0, 10}, {1, 5, 2, 12, 5, 12}, {2, 5, 2, 12, 10, 12},
        {3, 5, 2, 12, 12, 12}, {0, 0, 2, 12, 0, 0}, {0, 4, 0, 12, 0, 0},
    };
    for (const Case& c : cases) {
        int first = -1, last = -1;
        VisibleSlice(c.pos, c.columns, c.rows, c.count, first, last);
        EXPECT_EQ(first, c.first) << c.pos << " " << c.columns;
        EXPECT_EQ(last, c.last) << c.pos << " " << c.columns;
    }
    // Scrolled to the bottom, the last row is the bottom row shown, never past it.
    TextureGrid g = ComputeTextureGrid(362, 150, 64, 12, -1);
    EXPECT_EQ(LastScrollPosition(g), 1);
    EXPECT_EQ(LastScrollPosition(ComputeTextureGrid(362, 500, 64, 12, -1)), 0);
}

TEST(TextureGridTable, ThumbnailPlacement)
{
    struct Case
    {
        int s, w, h;
        RECT r;
        BOOL copy;
    } cases[] = {
        {64, 16, 16, {24, 24, 40, 39}, FALSE},  // unscaled, centred, one row short
        {64, 64, 64, {0, 0, 63, 63}, TRUE},     // copied
        {64, 256, 128, {0, 0, 63, 63}, FALSE},  // stretched
        {64, 100, 40, {0, 12, 63, 51}, FALSE},  // wide: stretched across, centred down
        {32, 16, 64, {8, 0, 24, 31}, FALSE},
        {256, 256, 256, {0, 0, 255, 255}, TRUE},
        {48, 47, 47, {0, 0, 47, 47}, FALSE},    // one less than the cell: the cell's own size
    };
    for (const Case& c : cases) {
        CRect r = ThumbnailRect(0, 0, c.s, c.w, c.h);
        EXPECT_EQ(afxtest::Text(r), afxtest::Text(c.r)) << c.s << " " << c.w << "x" << c.h;
        EXPECT_EQ(ThumbnailIsCopy(c.s, c.w, c.h), c.copy);
    }
    EXPECT_EQ(ThumbnailRect(76, 6, 64, 16, 16).TopLeft(), CPoint(100, 30));
}

std::string Joined(const std::vector<CString>& names)
{
    std::string s;
    for (const CString& n : names)
        s += std::string(n) + " ";
    return s;
}

TEST(RecentTextures, AddAndChoose)
{
    std::vector<CString> names;
    for (int i = 1; i <= 10; ++i) {
        CString n;
        n.Format("T%d", i);
        RecentAdd(names, n);
    }
    EXPECT_EQ(Joined(names), "T10 T9 T8 T7 T6 T5 T4 T3 T2 T1 ");
    RecentAdd(names, "T11"); // the eleventh drops the oldest
    EXPECT_EQ(Joined(names), "T11 T10 T9 T8 T7 T6 T5 T4 T3 T2 ");
    RecentAdd(names, "t11"); // already first: unchanged
    EXPECT_EQ(Joined(names), "T11 T10 T9 T8 T7 T6 T5 T4 T3 T2 ");
    RecentAdd(names, "T5"); // moved to the top, nothing dropped
    EXPECT_EQ(Joined(names), "T5 T11 T10 T9 T8 T7 T6 T4 T3 T2 ");
    RecentChoose(names, 3, TRUE);
    EXPECT_EQ(Joined(names), "T9 T5 T11 T10 T8 T7 T6 T4 T3 T2 ");
    RecentChoose(names, 1, FALSE); // no longer listed: it disappears
    EXPECT_EQ(Joined(names), "T9 T11 T10 T8 T7 T6 T4 T3 T2 ");
    RecentChoose(names, 20, TRUE);
    EXPECT_EQ(names.size(), 9u);
}

class WadPaths : public ModelTest
{
};

TEST_F(WadPaths, CompactNamesAndMatching)
{
    struct Name
    {
        const char* path;
        const char* compact;
    } names[] = {
        {"C:\\quake\\id1\\base.wad", "base"}, {"D:base.wad", "base"},        {"C:\\q\\lq_dev.wad", "lq_dev"},
        {"C:\\q\\noext", "noext"},            {"C:\\q.d\\two.dots.wad", "two.dots"}, {"plain", "plain"},
    };
    for (const Name& n : names)
        EXPECT_STREQ(CompactWadName(n.path), n.compact) << n.path;

    services->WriteProfileString("Project Settings", "Root Path", "C:\\Root");
    struct Match
    {
        const char* a;
        const char* b;
        BOOL same;
    } matches[] = {
        {"wads/LQ_DEV.wad", "C:\\Root\\wads\\lq_dev.wad", TRUE},
        {"C:\\ROOT\\\\wads\\lq_dev.WAD", "c:/root/wads/lq_dev.wad", TRUE},
        {"wads\\a.wad", "C:\\Root\\wads\\b.wad", FALSE},
        {"other\\a.wad", "C:\\Root\\wads\\a.wad", FALSE},
    };
    for (const Match& m : matches)
        EXPECT_EQ(SameWadPath(m.a, m.b), m.same) << m.a << " | " << m.b;
}

TEST(TextureAdjustRules, IntegerEdits)
{
    struct Case
    {
        const char* text;
        int max;
        EditVerdict verdict;
        int value;
    } cases[] = {
        {"0", 511, EDIT_STORE, 0},       {"511", 511, EDIT_STORE, 511}, {"512", 511, EDIT_TOO_HIGH, 0},
        {"-5", 359, EDIT_TOO_LOW, 0},    {"37", 359, EDIT_STORE, 37},   {"65541", 511, EDIT_TOO_HIGH, 0},
        {"99999999999", 511, EDIT_TOO_HIGH, 0}, {"-99999999999", 511, EDIT_TOO_LOW, 0},
        {"", 511, EDIT_STORE, 0},        {"-", 511, EDIT_IGNORE, 0},    {" 12 ", 511, EDIT_STORE, 12},
    };
    for (const Case& c : cases) {
        int value = -1;
        EXPECT_EQ(CheckIntegerEdit(c.text, 0, c.max, value), c.verdict) << "'" << c.text << "'";
        if (c.verdict == EDIT_STORE) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(TextureAdjustRules, ScaleEdits)
{
    struct Case
    {
        const char* text;
        EditVerdict verdict;
        float value;
    } cases[] = {
        {"100.00", EDIT_STORE, 100.0f}, {"-100.00", EDIT_STORE, -100.0f}, {"0.5", EDIT_STORE, 0.5f},
        {"100.01", EDIT_TOO_HIGH, 0},   {"-250", EDIT_TOO_LOW, 0},        {"", EDIT_IGNORE, 0},
        {"-", EDIT_IGNORE, 0},          {".", EDIT_IGNORE, 0},            {"0", EDIT_IGNORE, 0},
        {"0.00", EDIT_IGNORE, 0},       {"-2", EDIT_STORE, -2.0f},
    };
    for (const Case& c : cases) {
        float value = -7;
        EXPECT_EQ(CheckScaleEdit(c.text, value), c.verdict) << "'" << c.text << "'";
        if (c.verdict == EDIT_STORE) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(TexturePens, WindowlessDefaultFromColors)
{
    CDefaultEditorServices services;
    services.WriteProfileInt("Colors", "Selected Texture", 0x00FF00);
    struct Case
    {
        CEditorServices::TexturePen which;
        UINT style;
        COLORREF colour;
    } cases[] = {
        {CEditorServices::PEN_SELECTED_TEXTURE, PS_SOLID, RGB(0, 255, 0)},
        {CEditorServices::PEN_SELECTED_TEXTURE_DOTTED, PS_DOT, RGB(0, 255, 0)},
        {CEditorServices::PEN_TEXTURE_BACKGROUND, PS_SOLID, RGB(0, 0, 0)}, // "Texture Background" default 0
    };
    for (const Case& c : cases) {
        HPEN pen = services.GetTexturePen(c.which);
        ASSERT_NE(pen, nullptr);
        EXPECT_EQ(pen, services.GetTexturePen(c.which)); // made once
        LOGPEN lp = {};
        ASSERT_TRUE(::GetObjectA(pen, sizeof lp, &lp));
        EXPECT_EQ(lp.lopnStyle, c.style);
        EXPECT_EQ(lp.lopnColor & 0xFFFFFF, c.colour);
    }
}

} // namespace
