// Bitmaps of buttons and toolbars whose greys follow the user's button colours.
#include "SECBitmap.h"
#include <cstring>
#include <vector>

namespace {

// The palette greys and the system colours they become, in the order of SECSysColorBitmapColors.
const struct { DWORD dwFrom; int nIndex; } s_greys[] = {
    {0x000000, COLOR_BTNTEXT},
    {0x808080, COLOR_BTNSHADOW},
    {0xC0C0C0, COLOR_BTNFACE},
    {0xFFFFFF, COLOR_BTNHIGHLIGHT},
};

// The colour of a system colour index as a colour-table entry (blue, green, red, 0).
DWORD TableColor(int nIndex)
{
    COLORREF cr = ::GetSysColor(nIndex);
    return (DWORD)GetBValue(cr) | ((DWORD)GetGValue(cr) << 8) | ((DWORD)GetRValue(cr) << 16);
}

} // namespace

SECSysColors SECSysColorBitmapColors()
{
    SECSysColors colors;
    for (size_t i = 0; i < colors.size(); i++)
        colors[i] = ::GetSysColor(s_greys[i].nIndex);
    return colors;
}

BOOL SECLoadSysColorBitmap(CBitmap& bitmap, LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_BITMAP);
    HRSRC hResource = ::FindResourceA(hInst, lpszResourceName, (LPCSTR)RT_BITMAP);
    if (hResource == nullptr)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hResource);
    const BYTE* pData = hGlobal != nullptr ? (const BYTE*)::LockResource(hGlobal) : nullptr;
    size_t nSize = ::SizeofResource(hInst, hResource);
    if (pData == nullptr || nSize < sizeof(BITMAPINFOHEADER))
        return FALSE;

    BITMAPINFOHEADER header;
    memcpy(&header, pData, sizeof header);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > nSize || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biPlanes != 1)
        return FALSE;
    WORD nBitCount = header.biBitCount;
    if (nBitCount != 1 && nBitCount != 4 && nBitCount != 8 && nBitCount != 16 && nBitCount != 24 && nBitCount != 32)
        return FALSE;

    // The colour table: as many entries as the header says it uses, else the full palette of a
    // palettized bitmap; none above 8 bits per pixel, apart from the three masks of bit fields.
    size_t nColors = header.biClrUsed;
    if (nColors == 0 && nBitCount <= 8)
        nColors = (size_t)1 << nBitCount;
    if (nBitCount <= 8 && nColors > ((size_t)1 << nBitCount))
        return FALSE;
    size_t nMasks = (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)) ? 3 : 0;
    size_t nTable = (nColors + nMasks) * sizeof(DWORD);

    // The pixels follow the table: rows padded to four bytes, unless compressed (then the header
    // gives their size).
    LONG nHeight = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    size_t nBits;
    if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS) {
        size_t nStride = (((size_t)header.biWidth * nBitCount + 31) / 32) * 4;
        nBits = nStride * (size_t)nHeight;
    }
    else if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) {
        nBits = header.biSizeImage;
    }
    else {
        return FALSE;
    }
    if (nBits > nSize || header.biSize + nTable > nSize - nBits)
        return FALSE;

    std::vector<BYTE> info(header.biSize + nTable);
    memcpy(info.data(), pData, info.size());
    if (nBitCount <= 8) {
        BYTE* pTable = info.data() + header.biSize;
        for (size_t i = 0; i < nColors; i++) {
            DWORD dwEntry;
            memcpy(&dwEntry, pTable + i * 4, 4);
            for (const auto& m : s_greys) {
                if (dwEntry == m.dwFrom) {
                    DWORD dwNew = TableColor(m.nIndex);
                    memcpy(pTable + i * 4, &dwNew, 4);
                    break;
                }
            }
        }
    }
    const BYTE* pBits = pData + header.biSize + nTable;

    HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr)
        return FALSE;
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, header.biWidth, nHeight);
    HDC hMemDC = hBitmap != nullptr ? ::CreateCompatibleDC(hScreen) : nullptr;
    BOOL bOK = FALSE;
    if (hMemDC != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
        bOK = ::StretchDIBits(hMemDC, 0, 0, header.biWidth, nHeight, 0, 0, header.biWidth, nHeight, pBits,
                              (const BITMAPINFO*)info.data(), DIB_RGB_COLORS, SRCCOPY) != 0;
        ::SelectObject(hMemDC, hOld);
        ::DeleteDC(hMemDC);
    }
    ::ReleaseDC(nullptr, hScreen);
    if (!bOK) {
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        return FALSE;
    }
    bitmap.DeleteObject();
    bitmap.Attach(hBitmap);
    return TRUE;
}

BOOL SECLoadSysColorBitmap(CBitmap& bitmap, UINT nIDResource)
{
    return SECLoadSysColorBitmap(bitmap, MAKEINTRESOURCEA(nIDResource));
}
