#include "gxutil.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxfont.h"
#include "afxwin.h"
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

COLORREF ResolveSysColor(COLORREF c)
{
    if (GXIsSysColor(c))
        return GXGetSysColor(254 - static_cast<int>(c >> 24));
    return c;
}

int GXReadNumbers(LPCSTR lpszText, long* pValues, int nMax)
{
    int n = 0;
    const char* p = lpszText;
    while (p != nullptr && *p && n < nMax) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        char* end = nullptr;
        long v = std::strtol(p, &end, 10);
        if (end == p)
            break;
        pValues[n++] = v;
        p = end;
    }
    return n;
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

HGLOBAL LoadDIBResource(HINSTANCE hModule, UINT nID) { return LoadDIBResource(hModule, MAKEINTRESOURCEA(nID)); }

HGLOBAL LoadDIBResource(HINSTANCE hModule, LPCSTR lpszName)
{
    HRSRC hRes = ::FindResourceA(hModule, lpszName, reinterpret_cast<LPCSTR>(RT_BITMAP));
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

// ---------------------------------------------------------------------------
// Drawing helpers

void GXInvertRect(CDC* pDC, const RECT& rect, const RECT& rectClip)
{
    CRect r(rect);
    if (!::IsRectEmpty(&rectClip) && !r.IntersectRect(&rect, &rectClip))
        return;
    pDC->InvertRect(&r);
}

void FillRectColor(CDC* pDC, int x, int y, int cx, int cy, COLORREF color)
{
    FillRectColorOpaque(pDC, CRect(x, y, x + cx, y + cy), color);
}

void FillRectColorOpaque(CDC* pDC, const RECT& rect, COLORREF color)
{
    COLORREF old = pDC->SetBkColor(ResolveSysColor(color));
    pDC->ExtTextOut(0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
    pDC->SetBkColor(old);
}

void GXDrawFocusText(CDC* pDC, GXFocusTextRecord& rec)
{
    LPCSTR text = rec.lpszText != nullptr && *rec.lpszText ? rec.lpszText : "--";
    CRect box(0, 0, 0, 0);
    pDC->DrawText(text, -1, &box, DT_CALCRECT | DT_SINGLELINE);
    box.InflateRect(3, 0);
    CRect space = rec.rect;
    box.OffsetRect(space.left + (space.Width() - box.Width()) / 2 - box.left,
                   space.top + (space.Height() - box.Height()) / 2 - box.top);
    box.IntersectRect(&box, &space);
    rec.rect = box;
    GXDrawTextLines(pDC, rec.lpszText != nullptr ? rec.lpszText : "", -1, box.left, box.top, box.right, box.bottom,
                    DT_CENTER | DT_VCENTER);
    if (rec.bFocus) {
        COLORREF c = GXGetSysColor(COLOR_BTNSHADOW);
        int w = box.Width() - 3, h = box.Height() - 3;
        if (w > 0) {
            FillRectColor(pDC, box.left + 2, box.top, w, 1, c);
            FillRectColor(pDC, box.left + 2, box.bottom - 1, w, 1, c);
        }
        if (h > 0) {
            FillRectColor(pDC, box.left, box.top + 2, 1, h, c);
            FillRectColor(pDC, box.right - 1, box.top + 2, 1, h, c);
        }
    }
}

void GXDrawEdge(CDC* pDC, GXEdgeRecord& rec)
{
    pDC->DrawEdge(&rec.rect, rec.nEdge, rec.nFlat > 0 ? BF_ADJUST : BF_RECT);
}

void GXDraw3dFrame(CDC* pDC, int left, int top, int right, int bottom, int nWidth, COLORREF clrTopLeft,
                   COLORREF clrBottomRight)
{
    COLORREF old = pDC->GetBkColor();
    for (int i = 0; i < nWidth; ++i) {
        int l = left + i, t = top + i, r = right - i, b = bottom - i;
        if (r <= l || b <= t)
            break;
        FillRectColor(pDC, l, t, r - l - 1, 1, clrTopLeft);
        FillRectColor(pDC, l, t, 1, b - t - 1, clrTopLeft);
        FillRectColor(pDC, r - 1, t, 1, b - t, clrBottomRight);
        FillRectColor(pDC, l, b - 1, r - l, 1, clrBottomRight);
    }
    pDC->SetBkColor(old);
}

COLORREF GXGetRecordColor(const GXPenRecord& pen) { return ResolveSysColor(pen.lopnColor); }
COLORREF GXGetRecordColor(const GXBrushRecord& brush) { return ResolveSysColor(brush.lbColor); }

void GXDrawButtonEdge(CDC* pDC, const RECT& rect, BOOL bFramed, BOOL bPressed)
{
    CRect r(rect);
    if (bFramed) {
        if (bPressed)
            pDC->DrawEdge(&r, BDR_RAISEDINNER | BDR_SUNKENINNER, 0x600F);
        else
            pDC->DrawEdge(&r, BDR_RAISEDOUTER | BDR_SUNKENOUTER, 0xA00F);
    }
    if (bPressed)
        pDC->DrawEdge(&r, EDGE_SUNKEN, 0x200F);
}

// ---------------------------------------------------------------------------
// Text layout

namespace {
int LineHeight(const TEXTMETRIC& tm)
{
    int h = tm.tmHeight + tm.tmExternalLeading;
    return h > 0 ? h : 1;   // a font without height must not divide by zero
}

int CharLen(LPCSTR p) { return ::IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] ? 2 : 1; }
} // namespace

int GXBreakTextLines(CDC* pDC, LPCSTR lpszText, int nLength, LPRECT lpRect, UINT nFormat, int* pStarts,
                     int* pLengths, int nMaxLines)
{
    if (lpszText == nullptr || nMaxLines <= 0)
        return 0;
    const int len = nLength < 0 ? static_cast<int>(std::strlen(lpszText)) : nLength;
    TEXTMETRIC tm;
    std::memset(&tm, 0, sizeof(tm));
    pDC->GetTextMetrics(&tm);
    const int h = LineHeight(tm);
    const int widthLimit = lpRect->right - lpRect->left + 1;
    const int height = lpRect->bottom - lpRect->top;
    int extra = height - h / 3 > h ? height / h : 0;
    const bool wordBreak = (nFormat & DT_WORDBREAK) != 0;
    auto extent = [&](int start, int n) { return n <= 0 ? 0 : pDC->GetTextExtent(lpszText + start, n).cx; };

    int nLines = 0, used = 0, pos = 0;
    auto record = [&](int start, int n) {
        if (pStarts)
            pStarts[nLines] = start;
        if (pLengths)
            pLengths[nLines] = n;
        ++nLines;
        used += h + 1;
    };
    for (;;) {
        const int lineStart = pos;
        int p = pos, words = 0;
        bool tooWide = false;
        const bool linesLeft = wordBreak && extra > 0 && nLines + 1 < nMaxLines;
        for (;;) {
            while (p < len && lpszText[p] == ' ')
                ++p;
            if (p >= len || lpszText[p] == '\r' || lpszText[p] == '\n')
                break;
            const int wordStart = p;
            ++words;
            while (p < len && lpszText[p] != ' ' && lpszText[p] != '\r' && lpszText[p] != '\n')
                p += CharLen(lpszText + p);
            if (p > len)
                p = len;
            if (linesLeft && extent(lineStart, p - lineStart) > widthLimit) {
                tooWide = true;
                if (words >= 2) {
                    p = wordStart;
                } else {
                    // One word wider than the line: cut it where it still fits.
                    int q = wordStart + CharLen(lpszText + wordStart);
                    for (int next = q; next < p; next += CharLen(lpszText + next)) {
                        if (extent(lineStart, next - lineStart) > widthLimit)
                            break;
                        q = next;
                    }
                    p = q;
                }
                break;
            }
        }
        record(lineStart, p - lineStart);
        if (!tooWide) {
            bool brk = false;
            if (p < len && lpszText[p] == '\r') {
                ++p;
                if (p < len && lpszText[p] == '\n')
                    ++p;
                brk = true;
            } else if (p < len && lpszText[p] == '\n') {
                ++p;
                brk = true;
            }
            if (brk && p >= len) {
                if (wordBreak && nLines < nMaxLines)
                    record(p, 0);
                break;
            }
        }
        pos = p;
        if (nLines >= nMaxLines || !wordBreak || pos >= len || extra <= 0)
            break;
        --extra;
    }

    const int usedEnd = lpRect->top + used;
    if (used < height) {
        if (nFormat & DT_VCENTER)
            lpRect->top += (lpRect->bottom + tm.tmExternalLeading - usedEnd) / 2;
        else if (nFormat & DT_BOTTOM)
            lpRect->top += lpRect->bottom - usedEnd;
    }
    return nLines;
}

int GXGetTextLineCount(CDC* pDC, LPCSTR lpszText, int nLength, int left, int top, int right, int bottom,
                       UINT nFormat)
{
    CRect r(left, top, right, bottom);
    return GXBreakTextLines(pDC, lpszText, nLength, &r, nFormat, nullptr, nullptr, 32);
}

namespace {
int LineX(UINT nFormat, int left, int right, int width)
{
    if (nFormat & DT_RIGHT)
        return std::max(left, right - width);
    if (nFormat & DT_CENTER)
        return std::max(left, left + (right - left - width) / 2);
    return left;
}
} // namespace

void GXDrawTextLines(CDC* pDC, LPCSTR lpszText, int nLength, int left, int top, int right, int bottom,
                     UINT nFormat, LPCRECT lpClipRect)
{
    if (lpszText == nullptr)
        return;
    int starts[32], lengths[32];
    CRect r(left, top, right, bottom);
    int n = GXBreakTextLines(pDC, lpszText, nLength, &r, nFormat, starts, lengths, 32);
    TEXTMETRIC tm;
    std::memset(&tm, 0, sizeof(tm));
    pDC->GetTextMetrics(&tm);
    const int h = LineHeight(tm);
    int y = r.top;
    for (int i = 0; i < n; ++i) {
        CSize size = pDC->GetTextExtent(lpszText + starts[i], lengths[i]);
        int x = LineX(nFormat, left, right, size.cx);
        bool fits = x + size.cx <= right && y + h <= bottom && y >= top;
        if (fits) {
            pDC->TextOut(x, y, lpszText + starts[i], lengths[i]);
        } else {
            CRect clip = lpClipRect != nullptr ? CRect(lpClipRect) : CRect(left, top, right, bottom);
            int saved = pDC->SaveDC();
            pDC->IntersectClipRect(&clip);
            pDC->TextOut(x, y, lpszText + starts[i], lengths[i]);
            pDC->RestoreDC(saved);
        }
        y += h;
    }
}

int GXGetTextPosFromPoint(CDC* pDC, LPCSTR lpszText, int nLength, GXTextPosRecord& rec)
{
    if (lpszText == nullptr)
        return -1;
    int starts[32], lengths[32];
    CRect r(rec.left, rec.top, rec.right, rec.bottom);
    int n = GXBreakTextLines(pDC, lpszText, nLength, &r, rec.nFormat, starts, lengths, 32);
    TEXTMETRIC tm;
    std::memset(&tm, 0, sizeof(tm));
    pDC->GetTextMetrics(&tm);
    const int h = LineHeight(tm);
    if (rec.y < r.top)
        return -1;
    int line = (rec.y - r.top) / h;
    if (line >= n)
        return -1;
    LPCSTR p = lpszText + starts[line];
    int width = pDC->GetTextExtent(p, lengths[line]).cx;
    int x0 = LineX(rec.nFormat, rec.left, rec.right, width);
    int slack = tm.tmAveCharWidth / 3;
    if (rec.x < x0 - slack || rec.x > x0 + width + slack)
        return -1;
    int off = 0, prev = 0;
    while (off < lengths[line]) {
        int next = off + CharLen(p + off);
        if (pDC->GetTextExtent(p, next).cx > rec.x - x0)
            break;
        prev = off;
        off = next;
    }
    if (off > 0 && off >= lengths[line] && pDC->GetTextExtent(p, off).cx > rec.x - x0)
        off = prev;
    rec.nFormat = static_cast<UINT>(off);
    return starts[line] + off;
}

// ---------------------------------------------------------------------------
// Tab-separated choice lists

int GXGetNextLine(LPCSTR& lpszText, CString& sLine)
{
    if (lpszText == nullptr) {
        sLine.Empty();
        return 0;
    }
    const char* crlf = std::strstr(lpszText, "\r\n");
    if (crlf == nullptr) {
        sLine = lpszText;
        lpszText += std::strlen(lpszText);
    } else {
        sLine = CString(lpszText, static_cast<int>(crlf - lpszText));
        lpszText = crlf + 2;
    }
    return sLine.GetLength();
}

BOOL GXGetNextChoiceLine(LPCSTR& lpszText, CString& sLine)
{
    sLine.Empty();
    if (lpszText == nullptr || *lpszText == '\0')
        return FALSE;
    const size_t len = std::strcspn(lpszText, "\r\n");
    sLine = CString(lpszText, static_cast<int>(len));
    lpszText += len;
    if (*lpszText == '\r' && lpszText[1] == '\n')
        lpszText += 2;
    else if (*lpszText != '\0')
        ++lpszText;
    return TRUE;
}

long GXParseClampedLong(LPCSTR lpszText)
{
    if (lpszText == nullptr)
        return 0;
    const char* p = lpszText;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // Accumulate as a wide negative number so that the long's minimum fits.
    long long v = 0;
    const long long limit = 1LL << 32;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (v < limit)
            v = v * 10 + (*p - '0');
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return 2147483647L;
    if (v < -2147483647LL - 1)
        return -2147483647L - 1;
    return static_cast<long>(v);
}

int GXReplaceAllText(CString& sText, LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bMatchCase)
{
    if (lpszFind == nullptr || *lpszFind == '\0')
        return 0;
    if (lpszReplace == nullptr)
        lpszReplace = "";
    CString find(lpszFind);
    // Case-insensitive matches are searched in an upper-cased shadow that has
    // the original's length, so positions carry over to the original.
    CString shadow(sText);
    if (!bMatchCase) {
        shadow.MakeUpper();
        find.MakeUpper();
    }
    const int findLen = find.GetLength();
    CString result;
    int count = 0;
    int start = 0;
    for (;;) {
        const int hit = shadow.Find(find, start);
        if (hit < 0)
            break;
        result += sText.Mid(start, hit - start);
        result += lpszReplace;
        start = hit + findLen;
        ++count;
    }
    if (count > 0) {
        result += sText.Mid(start);
        sText = result;
    }
    return count;
}

void GXGetTabField(LPCSTR lpszLine, int nField, LPSTR lpszOut, int nMax)
{
    if (lpszOut == nullptr || nMax < 0)
        return;
    lpszOut[0] = '\0';
    if (lpszLine == nullptr || nField < 0)
        return;
    const char* p = lpszLine;
    for (int i = 0; i < nField; ++i) {
        p = std::strchr(p, '\t');
        if (p == nullptr)
            return;
        ++p;
    }
    int n = 0;
    while (p[n] && p[n] != '\t' && p[n] != '\r' && p[n] != '\n' && n < nMax) {
        lpszOut[n] = p[n];
        ++n;
    }
    lpszOut[n] = '\0';
}

CString GXGetTabField(LPCSTR lpszLine, int nField)
{
    int n = lpszLine != nullptr ? static_cast<int>(std::strlen(lpszLine)) : 0;
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    GXGetTabField(lpszLine, nField, buf.data(), n);
    return CString(buf.data());
}

int GXFindTabListEntry(LPCSTR lpszKey, int nColumn, LPCSTR lpszList, BOOL bSkipTitle, CString& sEntry, BOOL bExact)
{
    sEntry.Empty();
    if (lpszKey == nullptr || lpszList == nullptr)
        return -1;
    const size_t keyLen = std::strlen(lpszKey);
    LPCSTR p = lpszList;
    CString line;
    if (bSkipTitle)
        GXGetNextChoiceLine(p, line);
    char field[128];
    for (int index = 0; GXGetNextChoiceLine(p, line); ++index) {
        GXGetTabField(line, nColumn, field, 127);
        // A key typed into a cell finds its entry by the beginning, whatever the case.
        if (bExact ? std::strcmp(field, lpszKey) == 0 : _strnicmp(field, lpszKey, keyLen) == 0) {
            sEntry = line;
            return index;
        }
    }
    return -1;
}

int GXFindTabListEntry(LPCSTR lpszKey, int nColumn, LPCSTR lpszList, BOOL bExact)
{
    CString entry;
    return GXFindTabListEntry(lpszKey, nColumn, lpszList, FALSE, entry, bExact);
}

namespace {
int g_nSortColumn = 0;
int CompareTabLines(const void* a, const void* b)
{
    const CString& x = **static_cast<const CString* const*>(a);
    const CString& y = **static_cast<const CString* const*>(b);
    if (g_nSortColumn < 1)
        return std::strcmp(x, y);
    char fx[129], fy[129];
    GXGetTabField(x, g_nSortColumn, fx, 128);
    GXGetTabField(y, g_nSortColumn, fy, 128);
    return std::strncmp(fx, fy, 128);
}
} // namespace

void GXSortTabList(CString& sList, int nColumn, BOOL bKeepFirstLine)
{
    std::vector<CString> lines;
    LPCSTR p = sList;
    CString line;
    while (*p) {
        GXGetNextLine(p, line);
        lines.push_back(line);
    }
    std::vector<const CString*> order;
    for (const CString& l : lines)
        order.push_back(&l);
    size_t first = bKeepFirstLine && !order.empty() ? 1 : 0;
    g_nSortColumn = nColumn;
    if (order.size() > first)
        std::qsort(order.data() + first, order.size() - first, sizeof(const CString*), CompareTabLines);
    CString out;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += *order[i];
    }
    sList = out;
}

// ---------------------------------------------------------------------------
// Locale formats

namespace {
struct LocaleCache
{
    bool bDate = false, bTime = false;
    int nOrder = 1;
    char cSep = '.';
    BOOL bFourDigits = FALSE;
    char cTimeSep = ':';
};
LocaleCache& Locale()
{
    static LocaleCache c;
    return c;
}
} // namespace

void GetLocaleDateFormat(BOOL bForce, int& nOrder, char& cSeparator, BOOL* pbFourDigitYear)
{
    LocaleCache& c = Locale();
    if (bForce || !c.bDate) {
        char buf[128];
        if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, sizeof(buf)) == 0)
            std::strcpy(buf, "MM.dd.yy");
        CString fmt(buf);
        fmt.MakeUpper();
        c.nOrder = fmt.IsEmpty() ? 1 : fmt[0] == 'D' ? 0 : fmt[0] == 'Y' ? 2 : 1;
        c.bFourDigits = fmt.Find("YYYY") >= 0;
        c.cSep = ' ';
        for (int i = 0; i < fmt.GetLength(); ++i) {
            char ch = fmt[i];
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                c.cSep = ch;
                break;
            }
        }
        c.bDate = true;
    }
    nOrder = c.nOrder;
    cSeparator = c.cSep;
    if (pbFourDigitYear)
        *pbFourDigitYear = c.bFourDigits;
}

char GetLocaleTimeSeparator(BOOL bForce)
{
    LocaleCache& c = Locale();
    if (bForce || !c.bTime) {
        char buf[16];
        if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, buf, sizeof(buf)) == 0 || buf[0] == '\0')
            c.cTimeSep = ':';
        else
            c.cTimeSep = buf[0];
        c.bTime = true;
    }
    return c.cTimeSep;
}

void RefreshLocaleFormats()
{
    int order;
    char sep;
    GetLocaleDateFormat(TRUE, order, sep);
    GetLocaleTimeSeparator(TRUE);
}

// ---------------------------------------------------------------------------
// Long operations

namespace {
const int kMaxLevels = 64;
const UINT kSetMessageString = 0x0362;

struct LongOpState
{
    int nLevel = 0;
    CString* texts[kMaxLevels] = {};   // owned copies, or null
    LPCSTR refs[kMaxLevels] = {};      // the text of each level
    DWORD dwFirstWait = 0;
    DWORD dwInterval = 0;
    BOOL bAskAbort = FALSE;
    int nPercent = -1;
    int nLockedLevel = -1;
    BOOL bWaiting = FALSE;
    BOOL bEscape = FALSE;
    BOOL bAborted = FALSE;
    BOOL bRollback = FALSE;
    BOOL bCanAbort = TRUE;
    BOOL bCanRollback = FALSE;
    int nSpinner = 0;
    HWND hStatusWnd = nullptr;
    CString lastLine;
};
LongOpState& Op()
{
    static LongOpState s;
    return s;
}

// Deeper nesting than the table holds shares its last level.
int Slot(int nLevel) { return std::min(std::max(nLevel, 1), kMaxLevels) - 1; }

BOOL LevelMayShow(const LongOpState& s) { return s.nLockedLevel == -1 || s.nLevel - 1 <= s.nLockedLevel; }
} // namespace

CGXLongOperation::CGXLongOperation()
{
    LongOpState& s = Op();
    ++s.nLevel;
    const int slot = Slot(s.nLevel);
    if (s.nLevel > 1) {
        if (s.nLevel <= kMaxLevels) {
            delete s.texts[slot];
            s.texts[slot] = nullptr;
            s.refs[slot] = s.refs[Slot(s.nLevel - 1)];
        }
    } else {
        // A new operation's status line starts its spinner afresh.
        s.nSpinner = 0;
        s.nPercent = -1;
        s.nLockedLevel = -1;
        s.bEscape = FALSE;
        s.bWaiting = FALSE;
        s.bCanAbort = TRUE;
        s.bCanRollback = FALSE;
        delete s.texts[slot];
        s.texts[slot] = new CString(GXGetAppState()->sProcessing);
        s.refs[slot] = *s.texts[slot];
        if (s.hStatusWnd == nullptr) {
            if (CWnd* pMain = AfxGetMainWnd())
                s.hStatusWnd = pMain->GetSafeHwnd();
        }
    }
    s.bAborted = FALSE;
    s.bRollback = FALSE;
    m_dwStartTicks = m_dwLastTicks = ::GetTickCount();
}

CGXLongOperation::~CGXLongOperation()
{
    LongOpState& s = Op();
    if (s.nLevel <= kMaxLevels) {
        const int slot = Slot(s.nLevel);
        delete s.texts[slot];
        s.texts[slot] = nullptr;
        s.refs[slot] = nullptr;
    }
    --s.nLevel;
    if (s.nLevel == 0 && s.bWaiting) {
        s.bWaiting = FALSE;
        if (CWinApp* app = AfxGetApp())
            app->EndWaitCursor();
        if (m_bShowDone && s.hStatusWnd != nullptr && ::IsWindow(s.hStatusWnd))
            SendStatus(GXGetAppState()->sDone);
    }
}

void CGXLongOperation::SetStatusText(LPCSTR lpszText, BOOL bCopyBuffer)
{
    LongOpState& s = Op();
    if (s.nLevel <= 0)
        return;
    const int slot = Slot(s.nLevel);
    if (s.nLevel <= kMaxLevels || slot == kMaxLevels - 1) {
        if (s.texts[slot] != nullptr && s.refs[slot] == static_cast<LPCSTR>(*s.texts[slot])) {
            // The level's text goes: it shows the enclosing level's text, as a new level does,
            // until it may take the new one.
            s.refs[slot] = slot > 0 ? s.refs[slot - 1] : nullptr;
        }
        delete s.texts[slot];
        s.texts[slot] = nullptr;
    }
    if (!LevelMayShow(s))
        return;
    if (bCopyBuffer) {
        s.texts[slot] = new CString(lpszText);
        s.refs[slot] = *s.texts[slot];
    } else {
        s.refs[slot] = lpszText;
    }
}

void CGXLongOperation::SendStatus(const CString& sLine)
{
    LongOpState& s = Op();
    CString line = sLine.Left(127);
    s.lastLine = line;
    if (s.hStatusWnd != nullptr && ::IsWindow(s.hStatusWnd))
        ::SendMessageA(s.hStatusWnd, kSetMessageString, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(line)));
}

BOOL CGXLongOperation::Step(BOOL bProgress, BOOL* pbAbort)
{
    LongOpState& s = Op();
    const DWORD now = ::GetTickCount();
    if (!s.bWaiting) {
        if (now - m_dwStartTicks < s.dwFirstWait)
            return FALSE;
    } else if (now - m_dwLastTicks < s.dwInterval) {
        return FALSE;
    }
    if (m_bShowStatus && LevelMayShow(s)) {
        LPCSTR text = s.refs[Slot(s.nLevel)];
        CString line = text != nullptr ? text : "";
        static const char* const kSpin[4] = {"  -", "  \\", "  |", "  /"};
        CString percent;
        if (s.nPercent != -1)
            percent.Format(" %3d%%. ", s.nPercent);
        if (!bProgress) {
            line += s.nPercent == -1 ? CString(kSpin[s.nSpinner]) : percent;
        } else {
            line += percent;
            if (s.bCanAbort) {
                line += "   ";
                line += GXGetAppState()->sPressEsc;
            }
            if (s.nPercent == -1)
                line += kSpin[s.nSpinner];
        }
        if (s.nPercent == -1)
            s.nSpinner = (s.nSpinner + 1) % 4;
        SendStatus(line);
    }
    PumpMessages();
    if (bProgress && pbAbort != nullptr) {
        *pbAbort = FALSE;
        if (s.bCanAbort && s.bEscape && !s.bAborted) {
            if (!s.bAskAbort) {
                s.bAborted = TRUE;
                s.bRollback = s.bCanRollback;
            } else if (!s.bCanRollback) {
                s.bAborted = AfxMessageBox(GXGetAppState()->sAskAbort, MB_YESNO | MB_ICONQUESTION) == IDYES;
            } else {
                switch (AfxMessageBox(GXGetAppState()->sAskAbort, MB_ABORTRETRYIGNORE | MB_ICONQUESTION)) {
                case IDABORT:
                    s.bAborted = TRUE;
                    break;
                case IDRETRY:
                    s.bAborted = TRUE;
                    s.bRollback = TRUE;
                    break;
                default:
                    break;
                }
            }
            s.bEscape = FALSE;
        }
        *pbAbort = s.bAborted;
    }
    m_dwLastTicks = now;
    return TRUE;
}

BOOL CGXLongOperation::NeedMessages() { return Step(FALSE, nullptr); }

BOOL CGXLongOperation::ShowProgress(BOOL& bAbort)
{
    bAbort = FALSE;
    return Step(TRUE, &bAbort);
}

void CGXLongOperation::PumpMessages()
{
    LongOpState& s = Op();
    CWinApp* app = AfxGetApp();
    if (!s.bWaiting) {
        s.bWaiting = TRUE;
        if (app != nullptr)
            app->BeginWaitCursor();
    }
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Still end the program once the operation is over, with its exit code.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_CANCEL))
            s.bEscape = TRUE;
        const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                           (msg.message >= WM_MOUSEFIRST && msg.message <= 0x209) ||
                           (msg.message >= WM_NCMOUSEMOVE && msg.message <= 0xA9) || msg.message == WM_COMMAND;
        if (input) {
            if (app != nullptr)
                app->RestoreWaitCursor();
            continue;
        }
        if (app == nullptr || !app->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (app != nullptr) {
        app->OnIdle(0);
        app->OnIdle(1);
    }
}

void CGXLongOperation::SetPercentDone(int nPercent) { Op().nPercent = nPercent; }
void CGXLongOperation::SetTicksFirstTime(DWORD dwTicks) { Op().dwFirstWait = dwTicks; }
void CGXLongOperation::SetTicksContinued(DWORD dwTicks) { Op().dwInterval = dwTicks; }
void CGXLongOperation::SetAbortConfirmation(BOOL bConfirm) { Op().bAskAbort = bConfirm; }
void CGXLongOperation::SetCanAbort(BOOL bCanAbort) { Op().bCanAbort = bCanAbort; }
void CGXLongOperation::SetCanRollback(BOOL bCanRollback) { Op().bCanRollback = bCanRollback; }
void CGXLongOperation::SetLockedState(int nLevel) { Op().nLockedLevel = nLevel; }
void CGXLongOperation::SetStatusWindow(HWND hWnd) { Op().hStatusWnd = hWnd; }
BOOL CGXLongOperation::GetRollbackConfirmedState() { return Op().bRollback; }
BOOL CGXLongOperation::GetAbortState() { return Op().bAborted; }
int CGXLongOperation::GetNestingLevel() { return Op().nLevel; }
CString CGXLongOperation::GetLastStatusLine() { return Op().lastLine; }
