// Library-wide helpers of the grid: colours, pattern bitmaps, long operations,
// drawing, text layout, tab-separated lists and the locale's date format.
#pragma once
#include "afx.h"

// A colour whose top byte lies in 65..254 names system colour 254 - top byte.
inline BOOL GXIsSysColor(COLORREF c)
{
    BYTE top = static_cast<BYTE>(c >> 24);
    return top >= 65 && top <= 254;
}
inline COLORREF GXSysColorValue(int nIndex, COLORREF rgb = 0)
{
    return (static_cast<COLORREF>(254 - nIndex) << 24) | (rgb & 0xFFFFFF);
}
// The code of a system colour, carrying its current value in the low bytes.
COLORREF GXSysColorCode(int nIndex);
// The colour with a system-colour code resolved to the current system colour.
COLORREF ResolveSysColor(COLORREF c);

// 8 x 8 monochrome pattern bitmaps 0..40, made on first use.
enum { GX_PATTERN_COUNT = 41 };
HBITMAP GXGetPatternBitmap(int nPattern);

// Device-independent bitmaps from resources.
HGLOBAL LoadDIBResource(HINSTANCE hModule, UINT nID);
int GXGetDIBNumColors(const BITMAPINFOHEADER* pHeader);
// The bitmap with its grey and black/white table entries mapped to the
// current button colours; FALSE when the resource is missing.
BOOL CreateBitmapFromDIBResource(HBITMAP& hBitmap, UINT nID);
