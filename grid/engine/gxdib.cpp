#include "gxdib.h"
#include "afxwin.h"
#include "gxutil.h"
#include <cstdlib>
#include <memory>

IMPLEMENT_DYNCREATE(CGXDIB, CObject)
IMPLEMENT_DYNAMIC(CGXDIBPool, CObject)

namespace {
const char kPrefix[] = "#BMP(";
}

CGXDIB::~CGXDIB()
{
    if (m_hDIB != nullptr)
        ::GlobalFree(m_hDIB);
}

BOOL CGXDIB::Attach(HGLOBAL hDIB)
{
    if (m_hDIB != nullptr)
        ::GlobalFree(m_hDIB);
    m_hDIB = nullptr;
    m_nColors = m_nWidth = m_nHeight = 0;
    if (hDIB == nullptr)
        return FALSE;
    m_hDIB = hDIB;
    if (const BITMAPINFOHEADER* p = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(hDIB))) {
        m_nColors = GXGetDIBNumColors(p);
        m_nWidth = p->biWidth;
        m_nHeight = std::abs(p->biHeight);
        ::GlobalUnlock(hDIB);
    }
    return TRUE;
}

HGLOBAL CGXDIB::Detach()
{
    HGLOBAL h = m_hDIB;
    m_hDIB = nullptr;
    return h;
}

BOOL CGXDIB::CalcDrawRects(CRect& t, CRect& s, int nMode, UINT nFlags)
{
    const int sw = s.Width(), sh = s.Height(), tw = t.Width(), th = t.Height();
    switch (nMode) {
    case 0:
        if (sw < tw) {
            if (nFlags & 1)
                t.left += (tw - sw) / 2;
            else if (nFlags & 2)
                t.left = t.right - sw;
            t.right = t.left + sw;
        } else if (sw > tw) {
            s.right = s.left + tw;
        }
        if (sh < th) {
            if (nFlags & 4)
                t.top += (th - sh) / 2;
            else if (nFlags & 8)
                t.top = t.bottom - sh;
            t.bottom = t.top + sh;
        } else if (sh > th) {
            if (nFlags & 4)
                s.top += (sh - th) / 2;
            else if (nFlags & 8)
                s.top = s.bottom - th;
            s.bottom = s.top + th;
        }
        break;
    case 2: {
        if (sw <= 0 || sh <= 0)
            return FALSE;
        const long factor = std::min(static_cast<long>(tw) * 1000 / sw, static_cast<long>(th) * 1000 / sh);
        const int w = static_cast<int>(sw * factor / 1000), h = static_cast<int>(sh * factor / 1000);
        const int freeX = tw - w, freeY = th - h;
        const int dx = (nFlags & 1) ? freeX / 2 : (nFlags & 2) ? freeX : 0;
        const int dy = (nFlags & 4) ? freeY / 2 : (nFlags & 8) ? freeY : 0;
        t.SetRect(t.left + dx, t.top + dy, t.left + dx + w, t.top + dy + h);
        break;
    }
    default:
        break;
    }
    return !t.IsRectEmpty() && !s.IsRectEmpty();
}

void CGXDIB::Draw(CDC* pDC, HGLOBAL hDIB, const CRect& rectTarget, int nMode, UINT nFlags, const CRect* pSource)
{
    if (hDIB == nullptr)
        return;
    const BYTE* p = static_cast<const BYTE*>(::GlobalLock(hDIB));
    if (p == nullptr)
        return;
    const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(p);
    const SIZE_T size = ::GlobalSize(hDIB);
    // Compressed bitmaps are not drawn; bit-field masks follow a plain header.
    size_t offset = h->biSize + static_cast<size_t>(GXGetDIBNumColors(h)) * sizeof(RGBQUAD);
    if (h->biCompression == BI_BITFIELDS && h->biSize == sizeof(BITMAPINFOHEADER))
        offset += 3 * sizeof(DWORD);
    const BOOL bDrawable = (h->biCompression == BI_RGB || h->biCompression == BI_BITFIELDS) && size > offset &&
                           h->biSize >= sizeof(BITMAPINFOHEADER);
    if (bDrawable) {
        const int width = h->biWidth, height = std::abs(h->biHeight);
        CRect t(rectTarget);
        CRect s = pSource != nullptr ? *pSource : CRect(0, 0, width, height);
        if (CalcDrawRects(t, s, nMode, nFlags)) {
            // Source rows of a bottom-up bitmap count from its last row.
            const int ySrc = h->biHeight > 0 ? height - s.bottom : s.top;
            ::StretchDIBits(pDC->GetSafeHdc(), t.left, t.top, t.Width(), t.Height(), s.left, ySrc, s.Width(),
                            s.Height(), p + offset, reinterpret_cast<const BITMAPINFO*>(p), DIB_RGB_COLORS, SRCCOPY);
        }
    }
    ::GlobalUnlock(hDIB);
}

// ---------------------------------------------------------------------------

CGXDIBPool::~CGXDIBPool() { Empty(); }

void CGXDIBPool::Empty()
{
    for (POSITION pos = m_map.GetStartPosition(); pos != nullptr;) {
        CString key;
        void* h = nullptr;
        m_map.GetNextAssoc(pos, key, h);
        ::GlobalFree(static_cast<HGLOBAL>(h));
    }
    m_map.RemoveAll();
}

BOOL CGXDIBPool::ParseName(LPCSTR lpszText, CString& sKey, UINT& nID)
{
    nID = 0;
    if (lpszText == nullptr || std::strncmp(lpszText, kPrefix, sizeof(kPrefix) - 1) != 0)
        return FALSE;
    const char* rest = lpszText + sizeof(kPrefix) - 1;
    const char* quote = std::strchr(rest, '"');
    if (quote == nullptr) {
        const long n = std::atol(rest);
        // Resource numbers are 16-bit: a larger number names no bitmap.
        if (n <= 0 || n > 0xFFFF)
            return FALSE;
        nID = static_cast<UINT>(n);
        sKey.Format("#%u", nID);
        return TRUE;
    }
    const char* end = std::strchr(quote + 1, '"');
    if (end == nullptr)
        return FALSE;
    sKey = CString(quote + 1, static_cast<int>(end - quote - 1));
    return !sKey.IsEmpty();
}

HGLOBAL CGXDIBPool::LoadResourceDIB(LPCSTR lpszKey, UINT nID)
{
    LPCSTR res = nID != 0 ? MAKEINTRESOURCEA(nID) : lpszKey;
    HGLOBAL h = LoadDIBResource(AfxGetResourceHandle(), res);
    if (h == nullptr && AfxGetResourceHandle() != AfxGetInstanceHandle())
        h = LoadDIBResource(AfxGetInstanceHandle(), res);
    return h;
}

HGLOBAL CGXDIBPool::GetDIB(LPCSTR lpszText)
{
    CString key;
    UINT nID = 0;
    if (!ParseName(lpszText, key, nID))
        return nullptr;
    void* h = nullptr;
    if (m_map.Lookup(key, h))
        return static_cast<HGLOBAL>(h);
    HGLOBAL hDIB = LoadResourceDIB(key, nID);
    if (hDIB != nullptr)
        m_map.SetAt(key, hDIB);
    return hDIB;
}

void CGXDIBPool::FormatName(UINT nID, CString& sText) { sText.Format("%s%u)", kPrefix, nID); }

void CGXDIBPool::FormatQuotedName(LPCSTR lpszName, CString& sText)
{
    sText.Format("%s%c%s%c)", kPrefix, '"', lpszName != nullptr ? lpszName : "", '"');
}

CGXDIBPool* GXGetDIBPool()
{
    static std::unique_ptr<CGXDIBPool> pool;
    if (!pool)
        pool.reset(new CGXDIBPool);
    return pool.get();
}
