// Bitmaps whose greys follow the button colours.
#include "afxtest.h"
#include "SECBitmap.h"
#include "toolbar_test_ids.h"

namespace {

std::vector<COLORREF> Pixels(CBitmap& bitmap)
{
    BITMAP bm = {};
    ::GetObjectA((HBITMAP)bitmap.GetSafeHandle(), sizeof bm, &bm);
    std::vector<COLORREF> pixels;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, bitmap.GetSafeHandle());
    for (int y = 0; y < bm.bmHeight; y++)
        for (int x = 0; x < bm.bmWidth; x++)
            pixels.push_back(::GetPixel(hDC, x, y));
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return pixels;
}

TEST(SysColorBitmap, PaletteGreysTakeTheButtonColours)
{
    CBitmap bitmap;
    ASSERT_TRUE(SECLoadSysColorBitmap(bitmap, IDB_TEST_GREYS4));
    std::vector<COLORREF> expected = {::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNSHADOW),
                                      ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNHIGHLIGHT),
                                      RGB(255, 0, 0)};
    EXPECT_EQ(Pixels(bitmap), expected);
}

TEST(SysColorBitmap, TheTableIsAsLongAsTheHeaderSays)
{
    // Two entries: the pixels start right after them (a full 256-entry table would run past the end).
    CBitmap bitmap;
    ASSERT_TRUE(SECLoadSysColorBitmap(bitmap, MAKEINTRESOURCEA(IDB_TEST_USED8)));
    std::vector<COLORREF> expected = {::GetSysColor(COLOR_BTNFACE), RGB(0, 255, 0), ::GetSysColor(COLOR_BTNFACE)};
    EXPECT_EQ(Pixels(bitmap), expected);
}

TEST(SysColorBitmap, TrueColourAndBitFieldsLoadUnchanged)
{
    CBitmap bitmap;
    ASSERT_TRUE(SECLoadSysColorBitmap(bitmap, IDB_TEST_TRUE24));
    EXPECT_EQ(Pixels(bitmap), (std::vector<COLORREF>{RGB(0xC0, 0xC0, 0xC0), RGB(0, 0, 0)}));

    CBitmap fields;
    ASSERT_TRUE(SECLoadSysColorBitmap(fields, IDB_TEST_BITFIELDS));
    EXPECT_EQ(Pixels(fields), (std::vector<COLORREF>{RGB(255, 0, 0), RGB(0, 0, 255)}));
}

TEST(SysColorBitmap, ShortOrMissingResourcesLeaveTheBitmapAsItWas)
{
    CBitmap bitmap;
    ASSERT_TRUE(SECLoadSysColorBitmap(bitmap, IDB_TEST_GREYS4));
    HGDIOBJ hOld = bitmap.GetSafeHandle();
    EXPECT_FALSE(SECLoadSysColorBitmap(bitmap, IDB_TEST_SHORT));
    EXPECT_FALSE(SECLoadSysColorBitmap(bitmap, 3399));
    EXPECT_EQ(bitmap.GetSafeHandle(), hOld);
}

} // namespace
