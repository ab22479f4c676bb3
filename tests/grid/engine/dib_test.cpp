// Cell bitmaps: names, the pool and where a bitmap lands in its rectangle.
#include <gtest/gtest.h>
#include "afxwin.h"
#include "grid_tests_res.h"
#include "gxdib.h"

TEST(CellBitmaps, ParseName)
{
    CGXDIBPool pool;
    struct Case
    {
        const char* text;
        BOOL ok;
        const char* key;
        UINT id;
    } cases[] = {
        {"#BMP(123)", TRUE, "#123", 123},
        {"#BMP(123 )", TRUE, "#123", 123},
        {"#BMP(\"LOGO\")", TRUE, "LOGO", 0},
        {"#BMP(\"LOGO)", FALSE, "", 0},
        {"#BMP(0)", FALSE, "", 0},
        {"#BMP(65535)", TRUE, "#65535", 65535},
        {"#BMP(65536)", FALSE, "", 0},   // no truncated other id
        {"#BMP(70000)", FALSE, "", 0},
        {"BMP(12)", FALSE, "", 0},
        {"", FALSE, "", 0},
    };
    for (const Case& c : cases) {
        CString key;
        UINT id = 99;
        EXPECT_EQ(pool.ParseName(c.text, key, id), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(key, c.key) << c.text;
            EXPECT_EQ(id, c.id) << c.text;
        }
    }
    CString s;
    pool.FormatName(123, s);
    EXPECT_EQ(s, "#BMP(123)");
    pool.FormatQuotedName("LOGO", s);
    EXPECT_EQ(s, "#BMP(\"LOGO\")");
}

TEST(CellBitmaps, DrawTargets)
{
    struct Case
    {
        int mode;
        UINT flags;
        CRect target, source;
        BOOL ok;
        CRect outTarget, outSource;
    } cases[] = {
        // Natural size: a small bitmap is placed by the flags, a large one cut.
        {0, 0, CRect(0, 0, 100, 50), CRect(0, 0, 20, 10), TRUE, CRect(0, 0, 20, 10), CRect(0, 0, 20, 10)},
        {0, 1 | 4, CRect(0, 0, 100, 50), CRect(0, 0, 20, 10), TRUE, CRect(40, 20, 60, 30), CRect(0, 0, 20, 10)},
        {0, 2 | 8, CRect(0, 0, 100, 50), CRect(0, 0, 20, 10), TRUE, CRect(80, 40, 100, 50), CRect(0, 0, 20, 10)},
        {0, 8, CRect(0, 0, 10, 5), CRect(0, 0, 20, 10), TRUE, CRect(0, 0, 10, 5), CRect(0, 5, 10, 10)},
        {0, 4, CRect(0, 0, 10, 4), CRect(0, 0, 20, 10), TRUE, CRect(0, 0, 10, 4), CRect(0, 3, 10, 7)},
        // Stretched: the whole target.
        {1, 0, CRect(5, 5, 105, 55), CRect(0, 0, 20, 10), TRUE, CRect(5, 5, 105, 55), CRect(0, 0, 20, 10)},
        // Proportions kept.
        {2, 0, CRect(0, 0, 100, 100), CRect(0, 0, 20, 10), TRUE, CRect(0, 0, 100, 50), CRect(0, 0, 20, 10)},
        {2, 4, CRect(0, 0, 100, 100), CRect(0, 0, 20, 10), TRUE, CRect(0, 25, 100, 75), CRect(0, 0, 20, 10)},
        {2, 2, CRect(0, 0, 100, 20), CRect(0, 0, 20, 10), TRUE, CRect(60, 0, 100, 20), CRect(0, 0, 20, 10)},
        {2, 0, CRect(0, 0, 100, 20), CRect(0, 0, 0, 10), FALSE, CRect(), CRect()},
    };
    for (const Case& c : cases) {
        CRect t(c.target), s(c.source);
        EXPECT_EQ(CGXDIB::CalcDrawRects(t, s, c.mode, c.flags), c.ok) << c.mode << " " << c.flags;
        if (c.ok) {
            EXPECT_EQ(t, c.outTarget) << c.mode << " " << c.flags;
            EXPECT_EQ(s, c.outSource) << c.mode << " " << c.flags;
        }
    }
}

TEST(CellBitmaps, PoolLoadsOnceAndDraws)
{
    CGXDIBPool pool;
    CString text;
    pool.FormatName(IDB_TRUECOLOR, text);
    HGLOBAL h = pool.GetDIB(text);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(pool.GetDIB("#BMP(101 )"), h);
    EXPECT_EQ(pool.GetCount(), 1);
    EXPECT_EQ(pool.GetDIB("#BMP(4321)"), nullptr);
    EXPECT_EQ(pool.GetCount(), 1);

    // The test bitmap is 3 x 2: a blue top row over a red bottom row.
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 30;
    bi.bmiHeader.biHeight = -20;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(dc.GetSafeHdc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), bmp);
    CGXDIB::Draw(&dc, h, CRect(0, 0, 30, 20), 1, 0);
    ::GdiFlush();
    const DWORD* px = static_cast<const DWORD*>(bits);
    EXPECT_EQ(px[2 * 30 + 15] & 0xFFFFFF, 0x0000FFu);    // top half: blue
    EXPECT_EQ(px[17 * 30 + 15] & 0xFFFFFF, 0xFF0000u);   // bottom half: red
    // Natural size with the bottom flag in a 1-pixel-high target shows the red row.
    CGXDIB::Draw(&dc, h, CRect(0, 0, 30, 1), 0, 8);
    ::GdiFlush();
    EXPECT_EQ(px[1] & 0xFFFFFF, 0xFF0000u);
    ::SelectObject(dc.GetSafeHdc(), old);
    ::DeleteObject(bmp);
}
