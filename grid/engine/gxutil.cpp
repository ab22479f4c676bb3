#include "gxutil.h"
#include "gxinit.h"
#include "gxresrc.h"
#include <cstring>
#include <vector>

COLORREF ResolveSysColor(COLORREF c)
{
    if (GXIsSysColor(c))
        return GXGetSysColor(254 - static_cast<int>(c >> 24));
    return c;
}

COLORREF GXSysColorCode(int nIndex) { return GXSysColorValue(nIndex, GXGetSysColor(nIndex)); }

// ---------------------------------------------------------------------------
// Pattern bitmaps

namespace {
const BYTE kPatterns[GX_PATTERN_COUNT][8] = {
    {0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11}, {0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa},
    {0xbb, 0xee, 0xbb, 0xee, 0xbb, 0xee, 0xbb, 0xee}, {0xee, 0xff, 0xbb, 0xff, 0xee, 0xff, 0xbb, 0xff},
    {0xff, 0xff, 0xee, 0xff, 0xff, 0xff, 0xbb, 0xff}, {0xfb, 0xff, 0xbf, 0xff, 0xfa, 0xff, 0xaf, 0xff},
    {0xff, 0xff, 0x00, 0x00, 0xff, 0xff, 0x00, 0x00}, {0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc},
    {0x55, 0xcc, 0x99, 0x44, 0x55, 0xcc, 0x99, 0x44}, {0x44, 0x99, 0xcc, 0x55, 0x44, 0x99, 0xcc, 0x55},
    {0x55, 0x55, 0x99, 0x99, 0x55, 0x55, 0x99, 0x99}, {0x55, 0x00, 0x99, 0x00, 0x55, 0x00, 0x99, 0x00},
    {0xff, 0x00, 0xff, 0xff, 0xff, 0x00, 0xff, 0xff}, {0xdd, 0xdd, 0xdd, 0xdd, 0xdd, 0xdd, 0xdd, 0xdd},
    {0xee, 0xdd, 0xbb, 0x77, 0xee, 0xdd, 0xbb, 0x77}, {0x77, 0xbb, 0xdd, 0xee, 0x77, 0xbb, 0xdd, 0xee},
    {0xee, 0x00, 0xee, 0xee, 0xee, 0x00, 0xee, 0xee}, {0xee, 0x55, 0xbb, 0x55, 0xee, 0xbb, 0x55, 0xee},
    {0x88, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}, {0xfe, 0xff, 0xfe, 0xff, 0xfe, 0xff, 0xfe, 0xff},
    {0xfe, 0xff, 0xfb, 0xff, 0xef, 0xff, 0xbf, 0xff}, {0xf7, 0xff, 0xfd, 0xff, 0x7f, 0xff, 0xdf, 0xff},
    {0x88, 0xff, 0xfe, 0xff, 0xfe, 0xff, 0xfe, 0xff}, {0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff},
    {0xfe, 0xfe, 0xfe, 0xfe, 0xfe, 0xfe, 0xfe, 0xfe}, {0xfe, 0xfd, 0xfb, 0xf7, 0xef, 0xdf, 0xbf, 0x7f},
    {0xf7, 0xfb, 0xfd, 0xfe, 0x7f, 0xbf, 0xdf, 0xef}, {0x00, 0xfe, 0xfe, 0xfe, 0xfe, 0xfe, 0xfe, 0xfe},
    {0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}, {0xf3, 0xf3, 0xf3, 0xf3, 0xf3, 0xf3, 0xf3, 0xf3},
    {0xf3, 0xf9, 0xfc, 0x7e, 0x3f, 0x9f, 0xcf, 0xe7}, {0xe7, 0xcf, 0x9f, 0x3f, 0x7e, 0xfc, 0xf9, 0xf3},
    {0x00, 0x00, 0xf3, 0xf3, 0xf3, 0xf3, 0xf3, 0xf3}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11},
    {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}, {0xb1, 0xb1, 0xb1, 0xb1, 0xb1, 0xb1, 0xb1, 0xb1},
    {0x51, 0x51, 0x51, 0x51, 0x51, 0x51, 0x51, 0x51}, {0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff},
    {0x00, 0xff, 0x00, 0xff, 0x00, 0xff, 0x00, 0xff}, {0x00, 0x00, 0x00, 0xff, 0xff, 0x00, 0xff, 0xff},
    {0x00, 0x00, 0x00, 0xff, 0x00, 0xff, 0x00, 0xff},
};

struct PatternBitmaps
{
    HBITMAP h[GX_PATTERN_COUNT] = {};
    ~PatternBitmaps()
    {
        for (HBITMAP b : h)
            if (b != nullptr)
                ::DeleteObject(b);
    }
};
PatternBitmaps& Patterns()
{
    static PatternBitmaps p;
    return p;
}
} // namespace

HBITMAP GXGetPatternBitmap(int nPattern)
{
    if (nPattern < 0 || nPattern >= GX_PATTERN_COUNT)
        return nullptr;
    HBITMAP& h = Patterns().h[nPattern];
    if (h == nullptr) {
        // Monochrome bitmap rows are word aligned.
        WORD rows[8];
        for (int i = 0; i < 8; ++i)
            rows[i] = kPatterns[nPattern][i];
        h = ::CreateBitmap(8, 8, 1, 1, rows);
    }
    return h;
}

// ---------------------------------------------------------------------------
// DIB resources

HGLOBAL LoadDIBResource(HINSTANCE hModule, UINT nID)
{
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(nID), reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (hRes == nullptr)
        return nullptr;
    HGLOBAL hRes2 = ::LoadResource(hModule, hRes);
    DWORD size = ::SizeofResource(hModule, hRes);
    const void* src = hRes2 ? ::LockResource(hRes2) : nullptr;
    if (src == nullptr || size == 0)
        return nullptr;
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (hMem == nullptr)
        return nullptr;
    void* dst = ::GlobalLock(hMem);
    std::memcpy(dst, src, size);
    ::GlobalUnlock(hMem);
    return hMem;
}

int GXGetDIBNumColors(const BITMAPINFOHEADER* pHeader)
{
    if (pHeader->biClrUsed != 0)
        return static_cast<int>(pHeader->biClrUsed);
    switch (pHeader->biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

BOOL CreateBitmapFromDIBResource(HBITMAP& hBitmap, UINT nID)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nID), reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (hRes == nullptr)
        return FALSE;
    DWORD size = ::SizeofResource(hInst, hRes);
    HGLOBAL hData = ::LoadResource(hInst, hRes);
    const BYTE* p = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    if (p == nullptr || size < sizeof(BITMAPINFOHEADER))
        return FALSE;
    const BITMAPINFOHEADER* hdr = reinterpret_cast<const BITMAPINFOHEADER*>(p);
    // Only the colour table that the bitmap really has; none above 8 bits.
    int nColors = GXGetDIBNumColors(hdr);
    if (hdr->biBitCount > 8 && hdr->biClrUsed == 0)
        nColors = 0;
    size_t infoSize = hdr->biSize + static_cast<size_t>(nColors) * sizeof(RGBQUAD);
    if (hdr->biCompression == BI_BITFIELDS)
        infoSize += 3 * sizeof(DWORD);
    if (infoSize > size)
        return FALSE;
    std::vector<BYTE> info(p, p + infoSize);
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(info.data() + hdr->biSize);
    struct Map { COLORREF from; int sysColor; };
    const Map maps[] = {{RGB(0, 0, 0), COLOR_BTNTEXT}, {RGB(128, 128, 128), COLOR_BTNSHADOW},
                        {RGB(192, 192, 192), COLOR_BTNFACE}, {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT}};
    if (hdr->biCompression != BI_BITFIELDS) {
        for (int i = 0; i < nColors; ++i) {
            COLORREF c = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
            for (const Map& m : maps) {
                if (c == m.from) {
                    COLORREF s = ::GetSysColor(m.sysColor);
                    table[i].rgbRed = GetRValue(s);
                    table[i].rgbGreen = GetGValue(s);
                    table[i].rgbBlue = GetBValue(s);
                    break;
                }
            }
        }
    }
    const BYTE* bits = p + infoSize;
    int width = hdr->biWidth, height = hdr->biHeight < 0 ? -hdr->biHeight : hdr->biHeight;
    size_t stride = ((static_cast<size_t>(width) * hdr->biBitCount + 31) / 32) * 4;
    if (width <= 0 || height <= 0)
        return FALSE;
    if (hdr->biCompression == BI_RGB && stride * static_cast<size_t>(height) > size - infoSize)
        return FALSE;
    HDC hdcScreen = ::GetDC(nullptr);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, width, height);
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    BOOL ok = FALSE;
    if (hbm != nullptr && hdcMem != nullptr) {
        HGDIOBJ old = ::SelectObject(hdcMem, hbm);
        ok = ::StretchDIBits(hdcMem, 0, 0, width, height, 0, 0, width, height, bits,
                             reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY) != 0;
        ::SelectObject(hdcMem, old);
    }
    if (hdcMem != nullptr)
        ::DeleteDC(hdcMem);
    ::ReleaseDC(nullptr, hdcScreen);
    if (!ok) {
        if (hbm != nullptr)
            ::DeleteObject(hbm);
        return FALSE;
    }
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    hBitmap = hbm;
    return TRUE;
}
