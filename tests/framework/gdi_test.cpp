#include <gtest/gtest.h>

#include "afxgdi.h"

#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// A 24-bit memory surface to draw into and read back.
class Surface
{
public:
    explicit Surface(int cx = 64, int cy = 64) : m_cx(cx), m_cy(cy)
    {
        CDC screen;
        screen.Attach(::GetDC(nullptr));
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, cx, cy);
        ::ReleaseDC(nullptr, screen.Detach());
        pOldBitmap = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, cx, cy, kWhite);
    }
    ~Surface() { dc.SelectObject(pOldBitmap); }

    int Count(COLORREF clr) const
    {
        int n = 0;
        for (int y = 0; y < m_cy; y++)
            for (int x = 0; x < m_cx; x++)
                n += dc.GetPixel(x, y) == clr;
        return n;
    }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> v;
        for (int y = 0; y < m_cy; y++)
            for (int x = 0; x < m_cx; x++)
                v.push_back(dc.GetPixel(x, y));
        return v;
    }

    CDC dc;
    CBitmap bitmap;
    CBitmap* pOldBitmap = nullptr;
    int m_cx, m_cy;
};

} // namespace

TEST(GdiObjects, OwnershipAndHandleMaps)
{
    HGDIOBJ hPen;
    {
        CPen pen(PS_SOLID, 1, kRed);
        hPen = pen.m_hObject;
        ASSERT_NE(hPen, nullptr);
        EXPECT_EQ(CGdiObject::FromHandle(hPen), &pen);
        EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(hPen)), &pen);
    }
    EXPECT_EQ(::GetObjectType(hPen), 0u) << "a wrapper deletes the object it owns";

    // Detach hands the handle back; the wrapper no longer deletes it nor answers for it.
    CBrush brush(kBlue);
    HGDIOBJ hBrush = brush.Detach();
    EXPECT_EQ(brush.m_hObject, nullptr);
    CGdiObject* pTemp = CGdiObject::FromHandle(hBrush);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_NE(pTemp, &brush);
    EXPECT_TRUE(pTemp->IsKindOf(RUNTIME_CLASS(CBrush))) << "temporary wrappers take the handle's kind";
    EXPECT_EQ(CGdiObject::FromHandle(hBrush), pTemp) << "one temporary wrapper per handle";
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(::GetObjectType(hBrush), static_cast<DWORD>(OBJ_BRUSH)) << "temporary wrappers never delete";
    ::DeleteObject(hBrush);

    // A constructor that cannot make its object throws instead of leaving an empty wrapper.
    CBitmap noBitmap;
    bool thrown = false;
    try {
        CBrush pattern(&noBitmap);
    } catch (CResourceException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);

    CGdiObject* volatile pNoObject = nullptr;
    CDC* volatile pNoDC = nullptr;
    EXPECT_EQ(AfxGetSafeHandle(pNoObject), nullptr) << "callers may ask a missing object for its handle";
    EXPECT_EQ(AfxGetSafeHdc(pNoDC), nullptr);
    EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);

    struct Kind { int stock; CRuntimeClass* cls; } kinds[] = {
        {BLACK_PEN, RUNTIME_CLASS(CPen)}, {WHITE_BRUSH, RUNTIME_CLASS(CBrush)},
        {DEFAULT_GUI_FONT, RUNTIME_CLASS(CFont)}, {DEFAULT_PALETTE, RUNTIME_CLASS(CPalette)}};
    for (const Kind& k : kinds)
        EXPECT_EQ(CGdiObject::FromHandle(::GetStockObject(k.stock))->GetRuntimeClass(), k.cls) << k.stock;
    CGdiObject::DeleteTempMap();
}

TEST(GdiObjects, LogicalRecordsRoundTrip)
{
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, kRed));
    LOGPEN lp = {};
    ASSERT_NE(pen.GetLogPen(&lp), 0);
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnColor, kRed);

    LOGBRUSH lb = {BS_SOLID, kBlue, 0};
    CPen geometric(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 5, &lb);
    EXTLOGPEN elp = {};
    ASSERT_NE(geometric.GetExtLogPen(&elp), 0);
    EXPECT_EQ(elp.elpWidth, 5u);
    EXPECT_EQ(elp.elpColor, kBlue);

    CBrush hatch(HS_CROSS, kRed);
    LOGBRUSH got = {};
    ASSERT_NE(hatch.GetLogBrush(&got), 0);
    EXPECT_EQ(got.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(got.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));

    CFont font;
    ASSERT_TRUE(font.CreateFont(-12, 0, 900, 900, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"));
    LOGFONT lf = {};
    ASSERT_NE(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
}

TEST(GdiObjects, PointFontFollowsDeviceResolution)
{
    HDC hScreen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(hScreen, LOGPIXELSY);
    ::ReleaseDC(nullptr, hScreen);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(80, "MS Sans Serif"));
    LOGFONT lf = {};
    font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -(dpi * 80 / 720));
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");

    // On a context with a scaled mapping, the height is in that context's logical units.
    Surface s;
    s.dc.SetMapMode(MM_ANISOTROPIC);
    s.dc.SetWindowExt(2, 2);
    s.dc.SetViewportExt(1, 1);
    CFont scaled;
    ASSERT_TRUE(scaled.CreatePointFont(240, "Arial", &s.dc));
    scaled.GetLogFont(&lf);
    int devicePixels = s.dc.GetDeviceCaps(LOGPIXELSY) * 240 / 720;
    EXPECT_EQ(lf.lfHeight, -2 * devicePixels);
}

TEST(GdiObjects, BitmapsAndDibSections)
{
    BYTE bits[2 * 8] = {};
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(8, 8, 1, 1, bits));
    BITMAP bm = {};
    ASSERT_NE(mono.GetBitmap(&bm), 0);
    EXPECT_EQ(bm.bmWidth, 8);
    EXPECT_EQ(bm.bmBitsPixel, 1);

    CBitmap check;
    ASSERT_TRUE(check.LoadOEMBitmap(32760)); // the system's check mark (OBM_CHECK)
    EXPECT_NE(check.GetBitmap(&bm), 0);
    EXPECT_GT(bm.bmWidth, 0);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(64999));
    EXPECT_EQ(missing.m_hObject, nullptr);

    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 4;
    bmi.bmiHeader.biHeight = -4;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pPixels = nullptr;
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap dib;
    ASSERT_TRUE(dib.Attach(::CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &pPixels, nullptr, 0)));
    ASSERT_NE(dib.GetBitmap(&bm), 0);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmBits, pPixels);
    CBitmap* pOld = dc.SelectObject(&dib);
    ASSERT_NE(pOld, nullptr);
    dc.SetPixel(1, 0, kRed);
    ::GdiFlush();
    EXPECT_EQ(static_cast<DWORD*>(pPixels)[1], 0x00FF0000u) << "drawing lands in the section's memory";
    EXPECT_EQ(dc.SelectObject(pOld), &dib);
}

TEST(GdiObjects, RegionsAndPalettes)
{
    POINT tri[3] = {{0, 0}, {20, 0}, {0, 20}};
    CRgn rgn;
    ASSERT_TRUE(rgn.CreatePolygonRgn(tri, 3, ALTERNATE));
    EXPECT_TRUE(rgn.PtInRegion(2, 2));
    EXPECT_FALSE(rgn.PtInRegion(15, 15));
    CRect box;
    EXPECT_EQ(rgn.GetRgnBox(&box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_LE(box.right, 20);

    CRgn other, sum;
    other.CreateRectRgn(30, 30, 40, 40);
    sum.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(sum.CombineRgn(&rgn, &other, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(sum.PtInRegion(35, 35));
    sum.OffsetRgn(100, 0);
    EXPECT_TRUE(sum.PtInRegion(135, 35));

    Surface s;
    CBrush red(kRed), blue(kBlue);
    EXPECT_TRUE(s.dc.FillRgn(&rgn, &red));
    EXPECT_EQ(s.dc.GetPixel(2, 2), kRed);
    EXPECT_EQ(s.dc.GetPixel(15, 15), kWhite);
    EXPECT_TRUE(s.dc.FrameRgn(&other, &blue, 1, 1));
    EXPECT_EQ(s.dc.GetPixel(30, 35), kBlue);
    EXPECT_EQ(s.dc.GetPixel(35, 35), kWhite);

    struct { WORD version, count; PALETTEENTRY entries[2]; } pal = {0x300, 2, {{255, 0, 0, 0}, {0, 0, 255, 0}}};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(reinterpret_cast<LOGPALETTE*>(&pal)));
    EXPECT_EQ(palette.GetEntryCount(), 2);
    PALETTEENTRY green = {0, 255, 0, 0};
    EXPECT_EQ(palette.SetPaletteEntries(1, 1, &green), 1u);
    PALETTEENTRY got[2] = {};
    EXPECT_EQ(palette.GetPaletteEntries(0, 2, got), 2u);
    EXPECT_EQ(got[1].peGreen, 255);
    EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(250, 10, 10)), 0u);

    // Selecting and realising runs on a true-colour surface too; the old palette comes back.
    CPalette* pOld = s.dc.SelectPalette(&palette, FALSE);
    ASSERT_NE(pOld, nullptr);
    s.dc.RealizePalette();
    EXPECT_EQ(s.dc.SelectPalette(pOld, FALSE), &palette);
}

TEST(DeviceContext, SelectionReturnsThePreviousObject)
{
    Surface s;
    CPen red(PS_SOLID, 1, kRed), blue(PS_SOLID, 1, kBlue);
    CPen* pOriginal = s.dc.SelectObject(&red);
    ASSERT_NE(pOriginal, nullptr);
    EXPECT_TRUE(pOriginal->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(s.dc.SelectObject(&blue), &red);
    EXPECT_EQ(s.dc.GetCurrentPen(), &blue);
    EXPECT_EQ(s.dc.SelectStockObject(NULL_BRUSH)->GetRuntimeClass(), RUNTIME_CLASS(CBrush));
    s.dc.SelectObject(pOriginal);
    CGdiObject::DeleteTempMap();
}

TEST(DeviceContext, LinesShapesAndFills)
{
    Surface s;
    CPen red(PS_SOLID, 1, kRed);
    CBrush blue(kBlue);
    CPen* pOldPen = s.dc.SelectObject(&red);
    CBrush* pOldBrush = s.dc.SelectObject(&blue);

    EXPECT_EQ(s.dc.MoveTo(2, 2), CPoint(0, 0));
    EXPECT_TRUE(s.dc.LineTo(10, 2));
    EXPECT_EQ(s.dc.GetCurrentPosition(), CPoint(10, 2));
    EXPECT_EQ(s.dc.GetPixel(2, 2), kRed);
    EXPECT_EQ(s.dc.GetPixel(9, 2), kRed);
    EXPECT_EQ(s.dc.GetPixel(10, 2), kWhite) << "the end point is not drawn";

    EXPECT_TRUE(s.dc.Rectangle(20, 20, 30, 30));
    EXPECT_EQ(s.dc.GetPixel(20, 25), kRed);
    EXPECT_EQ(s.dc.GetPixel(25, 25), kBlue);
    EXPECT_EQ(s.dc.GetPixel(30, 25), kWhite);

    POINT diamond[4] = {{45, 40}, {55, 50}, {45, 60}, {35, 50}};
    EXPECT_TRUE(s.dc.Polygon(diamond, 4));
    EXPECT_EQ(s.dc.GetPixel(45, 50), kBlue);
    EXPECT_TRUE(s.dc.Ellipse(0, 40, 20, 60));
    EXPECT_EQ(s.dc.GetPixel(10, 50), kBlue);
    EXPECT_EQ(s.dc.GetPixel(0, 40), kWhite);
    s.dc.SelectObject(pOldPen);
    s.dc.SelectObject(pOldBrush);

    // A geometric pen as wide as asked.
    Surface g;
    LOGBRUSH lb = {BS_SOLID, kBlack, 0};
    CPen thick(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 5, &lb);
    g.dc.SelectObject(&thick);
    g.dc.MoveTo(10, 20);
    g.dc.LineTo(50, 20);
    int covered = 0;
    for (int y = 10; y < 30; y++)
        covered += g.dc.GetPixel(30, y) == kBlack;
    EXPECT_EQ(covered, 5);
    g.dc.SelectStockObject(BLACK_PEN);

    // Hatched fill shows both colours; SetPixel answers the colour set.
    Surface h(16, 16);
    CBrush hatch(HS_CROSS, kRed);
    h.dc.FillRect(CRect(0, 0, 16, 16), &hatch);
    EXPECT_GT(h.Count(kRed), 0);
    EXPECT_GT(h.Count(kWhite), 0);
    EXPECT_EQ(h.dc.SetPixel(0, 0, kBlue), kBlue);
    CGdiObject::DeleteTempMap();
}

TEST(DeviceContext, SolidRectsFramesAndInversion)
{
    Surface s;
    s.dc.SetBkColor(kWhite);
    s.dc.FillSolidRect(CRect(4, 4, 8, 8), kRed);
    EXPECT_EQ(s.dc.GetPixel(4, 4), kRed);
    EXPECT_EQ(s.dc.GetPixel(7, 7), kRed);
    EXPECT_EQ(s.dc.GetPixel(8, 8), kWhite);
    EXPECT_EQ(s.dc.GetBkColor(), kRed) << "the fill colour stays the background colour";

    // 3D frame: top and left in the first colour, bottom and right (with both far corners) in the second.
    s.dc.Draw3dRect(CRect(10, 10, 20, 20), kBlue, kBlack);
    struct { int x, y; COLORREF clr; } cases[] = {
        {10, 10, kBlue}, {18, 10, kBlue}, {19, 10, kBlack}, {10, 18, kBlue}, {10, 19, kBlack},
        {19, 19, kBlack}, {19, 15, kBlack}, {15, 19, kBlack}, {15, 15, kWhite}, {20, 15, kWhite}};
    for (const auto& c : cases)
        EXPECT_EQ(s.dc.GetPixel(c.x, c.y), c.clr) << c.x << "," << c.y;

    // Inversions undo themselves.
    std::vector<COLORREF> before = s.Pixels();
    CRect r(2, 2, 30, 30);
    s.dc.InvertRect(r);
    EXPECT_EQ(s.dc.GetPixel(15, 15), kBlack);
    s.dc.InvertRect(r);
    s.dc.DrawFocusRect(r);
    EXPECT_NE(s.Pixels(), before);
    s.dc.DrawFocusRect(r);
    EXPECT_EQ(s.Pixels(), before);

    CRect edge(30, 30, 50, 50);
    EXPECT_TRUE(s.dc.DrawEdge(edge, EDGE_SUNKEN, BF_RECT));
    EXPECT_NE(s.dc.GetPixel(30, 40), kWhite);
    CRect button(0, 40, 16, 56);
    EXPECT_TRUE(s.dc.DrawFrameControl(button, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    EXPECT_TRUE(s.dc.DrawIcon(40, 0, ::LoadIcon(nullptr, IDI_APPLICATION)));
}

TEST(DeviceContext, RasterOperations)
{
    Surface src(8, 8), dst(8, 8);
    src.dc.FillSolidRect(0, 0, 4, 8, kRed);
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 8, 8, &src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.dc.GetPixel(1, 1), kRed);
    EXPECT_EQ(dst.dc.GetPixel(5, 1), kWhite);

    // Source XOR destination: red over red gives black, red over white gives cyan.
    dst.dc.FillSolidRect(0, 0, 8, 4, kRed);
    dst.dc.FillSolidRect(0, 4, 8, 4, kWhite);
    dst.dc.BitBlt(0, 0, 8, 8, &src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dst.dc.GetPixel(1, 1), kBlack);
    EXPECT_EQ(dst.dc.GetPixel(1, 5), RGB(0, 255, 255));
    EXPECT_TRUE(dst.dc.PatBlt(0, 0, 8, 8, DSTINVERT));
    EXPECT_EQ(dst.dc.GetPixel(1, 1), kWhite);

    // A ternary operation with a monochrome mask: pattern where the mask is black, destination
    // kept where it is white (how masked glyphs are painted in a colour).
    static const WORD maskBits[8] = {0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F};
    CBitmap mask;
    ASSERT_TRUE(mask.CreateBitmap(8, 8, 1, 1, maskBits));
    CDC maskDC;
    maskDC.CreateCompatibleDC(&dst.dc);
    CBitmap* pOld = maskDC.SelectObject(&mask);
    dst.dc.FillSolidRect(0, 0, 8, 8, kWhite);
    CBrush blue(kBlue);
    CBrush* pOldBrush = dst.dc.SelectObject(&blue);
    dst.dc.SetTextColor(kBlack);
    dst.dc.SetBkColor(kWhite);
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 8, 8, &maskDC, 0, 0, 0x00B8074A));
    EXPECT_EQ(dst.dc.GetPixel(1, 1), kBlue);
    EXPECT_EQ(dst.dc.GetPixel(6, 1), kWhite);
    dst.dc.SelectObject(pOldBrush);
    maskDC.SelectObject(pOld);

    // Stretching doubles each source pixel.
    Surface big(16, 16);
    big.dc.SetStretchBltMode(COLORONCOLOR);
    EXPECT_EQ(big.dc.GetStretchBltMode(), COLORONCOLOR);
    EXPECT_TRUE(big.dc.StretchBlt(0, 0, 16, 16, &src.dc, 0, 0, 8, 8, SRCCOPY));
    EXPECT_EQ(big.dc.GetPixel(7, 3), kRed);
    EXPECT_EQ(big.dc.GetPixel(8, 3), kWhite);
    CGdiObject::DeleteTempMap();
}

TEST(DeviceContext, ClippingAndSavedStates)
{
    Surface s;
    CRect box;
    EXPECT_EQ(s.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(0, 0, 64, 64));

    int saved = s.dc.SaveDC();
    ASSERT_NE(saved, 0);
    s.dc.SetTextColor(kRed);
    EXPECT_EQ(s.dc.IntersectClipRect(10, 10, 20, 20), SIMPLEREGION);
    EXPECT_EQ(s.dc.ExcludeClipRect(10, 10, 15, 20), SIMPLEREGION);
    EXPECT_FALSE(s.dc.RectVisible(CRect(0, 0, 5, 5)));
    EXPECT_TRUE(s.dc.RectVisible(CRect(0, 0, 16, 16)));
    EXPECT_TRUE(s.dc.PtVisible(16, 16));
    s.dc.FillSolidRect(0, 0, 64, 64, kBlue);
    EXPECT_EQ(s.dc.GetPixel(12, 12), kWhite);
    EXPECT_EQ(s.dc.GetPixel(16, 16), kBlue);
    EXPECT_EQ(s.dc.GetPixel(25, 25), kWhite);
    EXPECT_EQ(s.dc.IntersectClipRect(40, 40, 50, 50), NULLREGION);
    EXPECT_EQ(s.dc.GetClipBox(&box), NULLREGION);
    EXPECT_TRUE(box.IsRectEmpty());
    EXPECT_TRUE(s.dc.RestoreDC(saved));
    EXPECT_EQ(s.dc.GetTextColor(), kBlack);
    EXPECT_EQ(s.dc.GetClipBox(&box), SIMPLEREGION);

    CRgn rgn;
    rgn.CreateRectRgn(0, 0, 8, 8);
    EXPECT_EQ(s.dc.SelectClipRgn(&rgn), SIMPLEREGION);
    EXPECT_EQ(s.dc.SelectObject(&rgn), SIMPLEREGION);
    s.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 8, 8));
    EXPECT_EQ(s.dc.SelectClipRgn(nullptr), SIMPLEREGION);

    // A context with nothing behind it answers the error result.
    CDC empty;
    EXPECT_EQ(empty.GetClipBox(&box), ERROR);
}

TEST(DeviceContext, MappingModesAndConversions)
{
    Surface s;
    EXPECT_EQ(s.dc.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    s.dc.SetWindowExt(100, 100);
    EXPECT_EQ(s.dc.SetViewportExt(50, -50), CSize(1, 1));
    s.dc.SetViewportOrg(10, 60);
    EXPECT_EQ(s.dc.GetViewportExt(), CSize(50, -50));
    EXPECT_EQ(s.dc.GetWindowExt(), CSize(100, 100));
    EXPECT_EQ(s.dc.GetViewportOrg(), CPoint(10, 60));

    CPoint pt(20, 40);
    s.dc.DPtoLP(&pt);
    EXPECT_EQ(pt, CPoint(20, 40));
    s.dc.LPtoDP(&pt);
    EXPECT_EQ(pt, CPoint(20, 40));
    pt = CPoint(10, 60);
    s.dc.DPtoLP(&pt);
    EXPECT_EQ(pt, CPoint(0, 0));

    // Sizes scale by the extents only, keeping their sign.
    CSize size(5, 7);
    s.dc.DPtoLP(&size);
    EXPECT_EQ(size, CSize(10, 14));
    s.dc.LPtoDP(&size);
    EXPECT_EQ(size, CSize(5, 7));

    CRect r(10, 60, 20, 50);
    s.dc.DPtoLP(&r);
    EXPECT_EQ(r, CRect(0, 0, 20, 20));

    EXPECT_EQ(s.dc.SetWindowOrg(4, 4), CPoint(0, 0));
    EXPECT_EQ(s.dc.OffsetWindowOrg(1, 1), CPoint(4, 4));
    EXPECT_EQ(s.dc.GetWindowOrg(), CPoint(5, 5));
    EXPECT_EQ(s.dc.SetMapMode(MM_TEXT), MM_ANISOTROPIC);
}

// Output to one context, measurements and conversions through another (a printer layout shown
// on screen): settings reach both, queries read the attribute one.
TEST(DeviceContext, SeparateAttributeContext)
{
    Surface out, attrib;
    attrib.dc.SetMapMode(MM_ANISOTROPIC);
    attrib.dc.SetWindowExt(1, 1);
    attrib.dc.SetViewportExt(3, 3);

    CDC split;
    split.Attach(out.dc.m_hDC);
    split.SetAttribDC(attrib.dc.m_hDC);
    EXPECT_EQ(split.m_hDC, out.dc.m_hDC);
    EXPECT_EQ(split.GetMapMode(), MM_ANISOTROPIC);

    CPoint pt(30, 30);
    split.DPtoLP(&pt);
    EXPECT_EQ(pt, CPoint(10, 10));

    split.SetTextColor(kRed);
    EXPECT_EQ(::GetTextColor(out.dc.m_hDC), kRed);
    EXPECT_EQ(::GetTextColor(attrib.dc.m_hDC), kRed);

    CFont big;
    big.CreateFont(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    CFont* pOld = split.SelectObject(&big);
    EXPECT_EQ(::GetCurrentObject(out.dc.m_hDC, OBJ_FONT), big.m_hObject);
    EXPECT_EQ(::GetCurrentObject(attrib.dc.m_hDC, OBJ_FONT), big.m_hObject);
    CFont small;
    small.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ hOldAttribFont = ::SelectObject(attrib.dc.m_hDC, small.m_hObject);
    TEXTMETRIC tmAttrib = {}, tmOut = {};
    split.GetTextMetrics(&tmAttrib);
    split.GetOutputTextMetrics(&tmOut);
    EXPECT_LT(tmAttrib.tmHeight, tmOut.tmHeight) << "text is measured in the attribute context";
    EXPECT_LT(split.GetTextExtent("Brush").cx, split.GetOutputTextExtent("Brush").cx);
    ::SelectObject(attrib.dc.m_hDC, hOldAttribFont);
    split.SelectObject(pOld);

    split.FillSolidRect(0, 0, 4, 4, kBlue);
    EXPECT_EQ(out.dc.GetPixel(1, 1), kBlue) << "output goes to the output context";
    EXPECT_EQ(attrib.dc.GetPixel(1, 1), kWhite);

    int saved = split.SaveDC();
    split.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(split.RestoreDC(saved));
    EXPECT_EQ(::GetBkMode(out.dc.m_hDC), OPAQUE);
    EXPECT_EQ(::GetBkMode(attrib.dc.m_hDC), OPAQUE);

    split.ReleaseAttribDC();
    EXPECT_EQ(split.m_hAttribDC, nullptr);
    split.SetAttribDC(split.m_hDC);
    EXPECT_EQ(split.Detach(), out.dc.m_hDC);
    EXPECT_EQ(split.m_hAttribDC, nullptr);
    CGdiObject::DeleteTempMap();
}

TEST(DeviceContext, HandleMapsAndLifetime)
{
    HDC hDC;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        hDC = dc.m_hDC;
        EXPECT_EQ(CDC::FromHandle(hDC), &dc);
    }
    EXPECT_EQ(::GetObjectType(hDC), 0u) << "a context made by the wrapper is deleted with it";

    HDC hScreen = ::GetDC(nullptr);
    CDC* pTemp = CDC::FromHandle(hScreen);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hAttribDC, hScreen);
    EXPECT_EQ(CDC::FromHandle(hScreen), pTemp);
    EXPECT_FALSE(pTemp->IsPrinting());
    CDC::DeleteTempMap();
    EXPECT_NE(::GetDeviceCaps(hScreen, BITSPIXEL), 0) << "temporary wrappers leave the context alive";
    ::ReleaseDC(nullptr, hScreen);

    CDC ic;
    ASSERT_TRUE(ic.CreateIC("DISPLAY", nullptr, nullptr, nullptr));
    EXPECT_GT(ic.GetDeviceCaps(LOGPIXELSX), 0);
    EXPECT_TRUE(ic.DeleteDC());
    EXPECT_FALSE(ic.DeleteDC());
}

TEST(DeviceContext, Text)
{
    Surface s(200, 60);
    CFont font;
    font.CreatePointFont(100, "Arial");
    CFont* pOld = s.dc.SelectObject(&font);
    TEXTMETRIC tm = {};
    ASSERT_TRUE(s.dc.GetTextMetrics(&tm));
    EXPECT_GT(tm.tmHeight, 0);

    CSize one = s.dc.GetTextExtent("Brush");
    CSize two = s.dc.GetTextExtent(CString("BrushBrush"));
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(one.cy, tm.tmHeight);
    EXPECT_EQ(two.cx, 2 * one.cx);
    EXPECT_EQ(s.dc.GetOutputTextExtent("Brush"), one);

    // Calculating the rectangle draws nothing and fits the text.
    CRect calc(0, 0, 0, 0);
    int height = s.dc.DrawText(CString("Brush"), calc, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(height, tm.tmHeight);
    EXPECT_EQ(calc.Width(), one.cx);
    EXPECT_EQ(s.Count(kWhite), 200 * 60);
    CRect wrap(0, 0, one.cx + 2, 0);
    s.dc.DrawText("Brush Brush Brush", -1, wrap, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(wrap.Height(), 3 * tm.tmHeight);

    s.dc.SetTextColor(kRed);
    s.dc.SetBkMode(TRANSPARENT);
    EXPECT_EQ(s.dc.SetTextAlign(TA_BOTTOM | TA_RIGHT), static_cast<UINT>(TA_TOP | TA_LEFT));
    EXPECT_EQ(s.dc.GetTextAlign(), static_cast<UINT>(TA_BOTTOM | TA_RIGHT));
    s.dc.TextOut(100, 30, CString("Brush"));
    int red = s.Count(kRed);
    EXPECT_GT(red, 0);
    for (int x = 101; x < 200; x++)
        for (int y = 0; y < 60; y++)
            ASSERT_NE(s.dc.GetPixel(x, y), kRed) << "right-aligned text ends at its point";

    s.dc.SetTextAlign(TA_TOP | TA_LEFT);
    CRect opaque(0, 40, 50, 60);
    s.dc.SetBkColor(kBlue);
    EXPECT_TRUE(s.dc.ExtTextOut(0, 40, ETO_OPAQUE | ETO_CLIPPED, opaque, CString("ab"), nullptr));
    EXPECT_EQ(s.dc.GetPixel(49, 59), kBlue);
    char face[LF_FACESIZE] = {};
    EXPECT_GT(s.dc.GetTextFace(LF_FACESIZE, face), 0);
    int widths[2] = {};
    EXPECT_TRUE(s.dc.GetCharWidth('A', 'B', widths));
    EXPECT_GT(widths[0], 0);
    s.dc.SelectObject(pOld);
}

TEST(DeviceContext, DragRectanglesEraseTheLastFrame)
{
    Surface s;
    CBrush white(kWhite);
    std::vector<COLORREF> blank = s.Pixels();
    CRect first(10, 10, 30, 30), second(14, 12, 40, 36);
    s.dc.DrawDragRect(first, CSize(2, 2), nullptr, CSize(0, 0), &white);
    EXPECT_EQ(s.Count(kBlack), 20 * 20 - 16 * 16);
    EXPECT_EQ(s.dc.GetPixel(10, 10), kBlack);
    EXPECT_EQ(s.dc.GetPixel(12, 12), kWhite);

    // Moving erases the old frame and draws the new one in the same call.
    s.dc.DrawDragRect(second, CSize(3, 3), first, CSize(2, 2), &white);
    EXPECT_EQ(s.Count(kBlack), 26 * 24 - 20 * 18);
    EXPECT_EQ(s.dc.GetPixel(10, 10), kWhite);
    EXPECT_EQ(s.dc.GetPixel(14, 12), kBlack);
    EXPECT_EQ(s.dc.GetPixel(16, 20), kBlack);

    // Erasing: the last frame drawn again with an empty new one.
    s.dc.DrawDragRect(CRect(0, 0, 0, 0), CSize(0, 0), second, CSize(3, 3), &white);
    EXPECT_EQ(s.Pixels(), blank);

    // The halftone brush inverts every other pixel, so two passes restore the picture.
    s.dc.DrawDragRect(first, CSize(4, 4), nullptr, CSize(0, 0));
    int inverted = s.Count(kBlack);
    EXPECT_EQ(inverted, (20 * 20 - 12 * 12) / 2);
    EXPECT_TRUE(s.dc.GetPixel(10, 10) != s.dc.GetPixel(11, 10));
    s.dc.DrawDragRect(first, CSize(4, 4), nullptr, CSize(0, 0));
    EXPECT_EQ(s.Pixels(), blank);
    EXPECT_EQ(CDC::GetHalftoneBrush(), CDC::GetHalftoneBrush());
    EXPECT_EQ(s.dc.GetClipBox(CRect()), SIMPLEREGION) << "the caller's clipping is restored";
}
