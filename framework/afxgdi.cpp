#include "afxgdi.h"

#include <cstdlib>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CPalette, CGdiObject)
IMPLEMENT_DYNCREATE(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {

// Handle maps are per thread, like the windows they serve: a worker thread's temporary wrappers
// are never freed under the user interface thread's feet.
AfxHandleMap<HGDIOBJ, CGdiObject>& GdiMaps()
{
    return AfxHandleMap<HGDIOBJ, CGdiObject>::ForThisThread();
}

AfxHandleMap<HDC, CDC>& DCMaps()
{
    return AfxHandleMap<HDC, CDC>::ForThisThread();
}

CRuntimeClass* WrapperClassOf(UINT type)
{
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return RUNTIME_CLASS(CPen);
    case OBJ_BRUSH: return RUNTIME_CLASS(CBrush);
    case OBJ_FONT: return RUNTIME_CLASS(CFont);
    case OBJ_BITMAP: return RUNTIME_CLASS(CBitmap);
    case OBJ_PAL: return RUNTIME_CLASS(CPalette);
    case OBJ_REGION: return RUNTIME_CLASS(CRgn);
    default: return RUNTIME_CLASS(CGdiObject);
    }
}

CGdiObject* NewWrapper(CRuntimeClass* pClass)
{
    if (pClass == RUNTIME_CLASS(CPen)) return new CPen;
    if (pClass == RUNTIME_CLASS(CBrush)) return new CBrush;
    if (pClass == RUNTIME_CLASS(CFont)) return new CFont;
    if (pClass == RUNTIME_CLASS(CBitmap)) return new CBitmap;
    if (pClass == RUNTIME_CLASS(CPalette)) return new CPalette;
    if (pClass == RUNTIME_CLASS(CRgn)) return new CRgn;
    return new CGdiObject;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CGdiObject

CGdiObject::CGdiObject() : m_hObject(nullptr) {}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    if (hObject == nullptr)
        return nullptr;
    auto& maps = GdiMaps();
    if (CGdiObject* p = maps.LookupPermanent(hObject))
        return p;
    // A handle may have been freed and reused for an object of another kind since its temporary
    // wrapper was made; the wrapper must match what the handle is now.
    CRuntimeClass* pClass = WrapperClassOf(::GetObjectType(hObject));
    if (CGdiObject* pOld = maps.LookupTemporary(hObject)) {
        if (pOld->GetRuntimeClass() == pClass)
            return pOld;
        maps.RemoveTemporary(hObject);
        pOld->m_hObject = nullptr;
        delete pOld;
    }
    CGdiObject* p = NewWrapper(pClass);
    p->m_hObject = hObject; // temporary wrappers never own their handle
    maps.SetTemporary(hObject, p);
    return p;
}

void CGdiObject::DeleteTempMap()
{
    GdiMaps().DeleteTemporaries([](CGdiObject* p) { p->m_hObject = nullptr; });
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    return GdiMaps().Attach(m_hObject, hObject, this);
}

HGDIOBJ CGdiObject::Detach()
{
    return GdiMaps().Detach(m_hObject, this);
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const
{
    return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    return Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject()
{
    return ::UnrealizeObject(m_hObject);
}

// Constructors that create their object cannot report failure through a result.
static void GdiCreated(BOOL bOk)
{
    if (!bOk)
        AfxThrowResourceException();
}

// ---------------------------------------------------------------------------------------------
// CPen

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    GdiCreated(CreatePen(nPenStyle, nWidth, crColor));
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    GdiCreated(CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    return Attach(::ExtCreatePen(static_cast<DWORD>(nPenStyle), static_cast<DWORD>(nWidth), pLogBrush,
                                 static_cast<DWORD>(nStyleCount), lpStyle));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen)
{
    return Attach(::CreatePenIndirect(lpLogPen));
}

int CPen::GetLogPen(LOGPEN* pLogPen)
{
    return GetObject(sizeof(LOGPEN), pLogPen);
}

int CPen::GetExtLogPen(EXTLOGPEN* pLogPen)
{
    return GetObject(sizeof(EXTLOGPEN), pLogPen);
}

// ---------------------------------------------------------------------------------------------
// CBrush

CBrush::CBrush(COLORREF crColor)
{
    GdiCreated(CreateSolidBrush(crColor));
}

CBrush::CBrush(int nIndex, COLORREF crColor)
{
    GdiCreated(CreateHatchBrush(nIndex, crColor));
}

CBrush::CBrush(CBitmap* pBitmap)
{
    GdiCreated(CreatePatternBrush(pBitmap));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return Attach(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    return Attach(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush)
{
    return Attach(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return Attach(::CreatePatternBrush(static_cast<HBITMAP>(AfxGetSafeHandle(pBitmap))));
}

BOOL CBrush::CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage)
{
    return Attach(::CreateDIBPatternBrushPt(lpPackedDIB, nUsage));
}

BOOL CBrush::CreateSysColorBrush(int nIndex)
{
    return Attach(::GetSysColorBrush(nIndex));
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush)
{
    return GetObject(sizeof(LOGBRUSH), pLogBrush);
}

// ---------------------------------------------------------------------------------------------
// CFont

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    return Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    return Attach(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                               bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                               nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName != nullptr)
        lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    HDC hDC = pDC != nullptr ? pDC->m_hAttribDC : ::GetDC(nullptr);
    LOGFONT lf = *lpLogFont;
    // Tenths of a point to device pixels (truncated), then to the context's logical units.
    POINT pt = {0, ::GetDeviceCaps(hDC, LOGPIXELSY) * lf.lfHeight / 720};
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    lf.lfHeight = -std::abs(pt.y - ptOrg.y);
    if (pDC == nullptr)
        ::ReleaseDC(nullptr, hDC);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont)
{
    return GetObject(sizeof(LOGFONT), pLogFont);
}

// ---------------------------------------------------------------------------------------------
// CBitmap

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    return Attach(::LoadBitmap(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCE(nIDResource));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap)
{
    return Attach(::LoadBitmap(nullptr, MAKEINTRESOURCE(nIDBitmap)));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap)
{
    return Attach(::CreateBitmapIndirect(lpBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateDiscardableBitmap(pDC->m_hDC, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap)
{
    return GetObject(sizeof(BITMAP), pBitMap);
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits)
{
    return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits));
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const
{
    return static_cast<DWORD>(::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(dwCount), lpBits));
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight)
{
    SIZE size = {};
    ::SetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), nWidth, nHeight, &size);
    return size;
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE size = {};
    ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
    return size;
}

// ---------------------------------------------------------------------------------------------
// CPalette

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette)
{
    return Attach(::CreatePalette(lpLogPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC)
{
    return Attach(::CreateHalftonePalette(AfxGetSafeHdc(pDC)));
}

int CPalette::GetEntryCount()
{
    WORD nEntries = 0;
    ::GetObject(m_hObject, sizeof(WORD), &nEntries);
    return nEntries;
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const
{
    return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors)
{
    return ::SetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}

void CPalette::AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors)
{
    ::AnimatePalette(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const
{
    return ::GetNearestPaletteIndex(static_cast<HPALETTE>(m_hObject), crColor);
}

BOOL CPalette::ResizePalette(UINT nNumEntries)
{
    return ::ResizePalette(static_cast<HPALETTE>(m_hObject), nNumEntries);
}

// ---------------------------------------------------------------------------------------------
// CRgn

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect)
{
    return Attach(::CreateRectRgnIndirect(lpRect));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect)
{
    return Attach(::CreateEllipticRgnIndirect(lpRect));
}

BOOL CRgn::CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode)
{
    return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreatePolyPolygonRgn(LPPOINT lpPoints, LPINT lpPolyCounts, int nCount, int nPolyFillMode)
{
    return Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    ::SetRectRgn(static_cast<HRGN>(m_hObject), x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT lpRect)
{
    SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode)
{
    return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(AfxGetSafeHandle(pRgn1)),
                        static_cast<HRGN>(AfxGetSafeHandle(pRgn2)), nCombineMode);
}

int CRgn::CopyRgn(CRgn* pRgnSrc)
{
    return CombineRgn(pRgnSrc, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(CRgn* pRgn) const
{
    return ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(AfxGetSafeHandle(pRgn)));
}

int CRgn::OffsetRgn(int x, int y)
{
    return ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y);
}

int CRgn::OffsetRgn(POINT point)
{
    return OffsetRgn(point.x, point.y);
}

int CRgn::GetRgnBox(LPRECT lpRect) const
{
    return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y);
}

BOOL CRgn::PtInRegion(POINT point) const
{
    return PtInRegion(point.x, point.y);
}

BOOL CRgn::RectInRegion(LPCRECT lpRect) const
{
    return ::RectInRegion(static_cast<HRGN>(m_hObject), lpRect);
}

// ---------------------------------------------------------------------------------------------
// CDC: handles, creation, state

CDC::CDC() : m_hDC(nullptr), m_hAttribDC(nullptr), m_bPrinting(FALSE) {}

CDC::~CDC()
{
    if (m_hDC != nullptr)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC)
{
    return DCMaps().FromHandle(hDC, [](HDC h) {
        CDC* p = new CDC;
        p->m_hDC = p->m_hAttribDC = h; // not owned: never deleted by the wrapper
        return p;
    });
}

void CDC::DeleteTempMap()
{
    DCMaps().DeleteTemporaries([](CDC* p) { p->m_hDC = p->m_hAttribDC = nullptr; });
}

BOOL CDC::Attach(HDC hDC)
{
    if (!DCMaps().Attach(m_hDC, hDC, this))
        return FALSE;
    m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    m_hAttribDC = nullptr;
    return DCMaps().Detach(m_hDC, this);
}

void CDC::SetAttribDC(HDC hDC)
{
    m_hAttribDC = hDC;
}

void CDC::SetOutputDC(HDC hDC)
{
    if (m_hDC != nullptr)
        DCMaps().RemovePermanent(m_hDC, this);
    m_hDC = hDC;
    if (hDC != nullptr)
        DCMaps().SetPermanent(hDC, this);
}

void CDC::ReleaseAttribDC()
{
    m_hAttribDC = nullptr;
}

void CDC::ReleaseOutputDC()
{
    SetOutputDC(nullptr);
}

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData)
{
    return Attach(::CreateDC(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODE*>(lpInitData)));
}

BOOL CDC::CreateIC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData)
{
    return Attach(::CreateIC(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODE*>(lpInitData)));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(AfxGetSafeHdc(pDC)));
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr)
        return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC()
{
    int nRet = 0;
    if (m_hAttribDC != nullptr)
        nRet = ::SaveDC(m_hAttribDC);
    // With two contexts the levels may differ: answer "the latest", which restores both.
    if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0)
        nRet = -1;
    return nRet;
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    BOOL bOk = TRUE;
    if (m_hDC != m_hAttribDC)
        bOk = ::RestoreDC(m_hDC, nSavedDC);
    if (m_hAttribDC != nullptr) {
        BOOL bAttrib = ::RestoreDC(m_hAttribDC, nSavedDC);
        bOk = bOk && bAttrib;
    }
    return bOk;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    return ::GetDeviceCaps(m_hAttribDC, nIndex);
}

// Settings go to both contexts; the result is the attribute context's previous value.
template <class R, class F> static R SetOnBoth(HDC hDC, HDC hAttribDC, R failed, F set)
{
    R ret = failed;
    if (hDC != nullptr && hDC != hAttribDC)
        ret = set(hDC);
    if (hAttribDC != nullptr)
        ret = set(hAttribDC);
    return ret;
}

// ---------------------------------------------------------------------------------------------
// CDC: selection

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    if (hObject == nullptr)
        return nullptr;
    // A bitmap can live in one context only: the output surface.
    if (::GetObjectType(hObject) == OBJ_BITMAP)
        return ::SelectObject(m_hDC, hObject);
    return SetOnBoth<HGDIOBJ>(m_hDC, m_hAttribDC, nullptr,
                              [&](HDC h) { return ::SelectObject(h, hObject); });
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex)));
}

CPen* CDC::SelectObject(CPen* pPen)
{
    return static_cast<CPen*>(CGdiObject::FromHandle(SelectObject(AfxGetSafeHandle(pPen))));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return static_cast<CBrush*>(CGdiObject::FromHandle(SelectObject(AfxGetSafeHandle(pBrush))));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return static_cast<CFont*>(CGdiObject::FromHandle(SelectObject(AfxGetSafeHandle(pFont))));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return static_cast<CBitmap*>(CGdiObject::FromHandle(SelectObject(AfxGetSafeHandle(pBitmap))));
}

int CDC::SelectObject(CRgn* pRgn)
{
    return SelectClipRgn(pRgn);
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    return CGdiObject::FromHandle(SelectObject(AfxGetSafeHandle(pObject)));
}

CPen* CDC::GetCurrentPen() const
{
    return static_cast<CPen*>(CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const
{
    return static_cast<CBrush*>(CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const
{
    return static_cast<CFont*>(CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return static_cast<CBitmap*>(CGdiObject::FromHandle(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground)
{
    return static_cast<CPalette*>(CGdiObject::FromHandle(
        ::SelectPalette(m_hDC, static_cast<HPALETTE>(AfxGetSafeHandle(pPalette)), bForceBackground)));
}

UINT CDC::RealizePalette()
{
    return ::RealizePalette(m_hDC);
}

// ---------------------------------------------------------------------------------------------
// CDC: colours and modes

COLORREF CDC::GetNearestColor(COLORREF crColor) const { return ::GetNearestColor(m_hAttribDC, crColor); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }
int CDC::GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return SetOnBoth<COLORREF>(m_hDC, m_hAttribDC, CLR_INVALID, [&](HDC h) { return ::SetBkColor(h, crColor); });
}

int CDC::SetBkMode(int nBkMode)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, 0, [&](HDC h) { return ::SetBkMode(h, nBkMode); });
}

int CDC::SetPolyFillMode(int nPolyFillMode)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, 0, [&](HDC h) { return ::SetPolyFillMode(h, nPolyFillMode); });
}

int CDC::SetROP2(int nDrawMode)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, 0, [&](HDC h) { return ::SetROP2(h, nDrawMode); });
}

int CDC::SetStretchBltMode(int nStretchMode)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, 0, [&](HDC h) { return ::SetStretchBltMode(h, nStretchMode); });
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return SetOnBoth<COLORREF>(m_hDC, m_hAttribDC, CLR_INVALID, [&](HDC h) { return ::SetTextColor(h, crColor); });
}

CPoint CDC::GetBrushOrg() const
{
    POINT pt = {};
    ::GetBrushOrgEx(m_hDC, &pt);
    return pt;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT pt = {};
    ::SetBrushOrgEx(m_hDC, x, y, &pt);
    return pt;
}

CPoint CDC::SetBrushOrg(POINT point)
{
    return SetBrushOrg(point.x, point.y);
}

// ---------------------------------------------------------------------------------------------
// CDC: mapping

int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }

int CDC::SetMapMode(int nMapMode)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, 0, [&](HDC h) { return ::SetMapMode(h, nMapMode); });
}

CPoint CDC::GetViewportOrg() const
{
    POINT pt = {};
    ::GetViewportOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT pt = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC h) { return ::SetViewportOrgEx(h, x, y, &pt); });
    return pt;
}

CPoint CDC::SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT pt = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC h) { return ::OffsetViewportOrgEx(h, nWidth, nHeight, &pt); });
    return pt;
}

CSize CDC::GetViewportExt() const
{
    SIZE size = {};
    ::GetViewportExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE size = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC h) { return ::SetViewportExtEx(h, cx, cy, &size); });
    return size;
}

CSize CDC::SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE,
                    [&](HDC h) { return ::ScaleViewportExtEx(h, xNum, xDenom, yNum, yDenom, &size); });
    return size;
}

CPoint CDC::GetWindowOrg() const
{
    POINT pt = {};
    ::GetWindowOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT pt = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC h) { return ::SetWindowOrgEx(h, x, y, &pt); });
    return pt;
}

CPoint CDC::SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    POINT pt = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC h) { return ::OffsetWindowOrgEx(h, nWidth, nHeight, &pt); });
    return pt;
}

CSize CDC::GetWindowExt() const
{
    SIZE size = {};
    ::GetWindowExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE size = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC h) { return ::SetWindowExtEx(h, cx, cy, &size); });
    return size;
}

CSize CDC::SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE,
                    [&](HDC h) { return ::ScaleWindowExtEx(h, xNum, xDenom, yNum, yDenom, &size); });
    return size;
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }

// Sizes are lengths: they scale by the extents but keep their sign and ignore the origins.
void CDC::DPtoLP(LPSIZE lpSize) const
{
    CSize winExt = GetWindowExt();
    CSize vpExt = GetViewportExt();
    lpSize->cx = ::MulDiv(lpSize->cx, std::abs(winExt.cx), std::abs(vpExt.cx));
    lpSize->cy = ::MulDiv(lpSize->cy, std::abs(winExt.cy), std::abs(vpExt.cy));
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    CSize winExt = GetWindowExt();
    CSize vpExt = GetViewportExt();
    lpSize->cx = ::MulDiv(lpSize->cx, std::abs(vpExt.cx), std::abs(winExt.cx));
    lpSize->cy = ::MulDiv(lpSize->cy, std::abs(vpExt.cy), std::abs(winExt.cy));
}

// ---------------------------------------------------------------------------------------------
// CDC: clipping (output context; changes go to both)

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::PtVisible(POINT point) const { return PtVisible(point.x, point.y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

int CDC::SelectClipRgn(CRgn* pRgn)
{
    HRGN hRgn = static_cast<HRGN>(AfxGetSafeHandle(pRgn));
    return SetOnBoth<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC h) { return ::SelectClipRgn(h, hRgn); });
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    HRGN hRgn = static_cast<HRGN>(AfxGetSafeHandle(pRgn));
    return SetOnBoth<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC h) { return ::ExtSelectClipRgn(h, hRgn, nMode); });
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC h) { return ::ExcludeClipRect(h, x1, y1, x2, y2); });
}

int CDC::ExcludeClipRect(LPCRECT lpRect)
{
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC h) { return ::IntersectClipRect(h, x1, y1, x2, y2); });
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::OffsetClipRgn(int x, int y)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC h) { return ::OffsetClipRgn(h, x, y); });
}

int CDC::OffsetClipRgn(SIZE size) { return OffsetClipRgn(size.cx, size.cy); }

// ---------------------------------------------------------------------------------------------
// CDC: lines and shapes

CPoint CDC::GetCurrentPosition() const
{
    POINT pt = {};
    ::GetCurrentPositionEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT pt = {};
    SetOnBoth<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC h) { return ::MoveToEx(h, x, y, &pt); });
    return pt;
}

CPoint CDC::MoveTo(POINT point) { return MoveTo(point.x, point.y); }

BOOL CDC::LineTo(int x, int y)
{
    // Keep the attribute context's current position in step with the output.
    if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::LineTo(POINT point) { return LineTo(point.x, point.y); }
BOOL CDC::Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
BOOL CDC::Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }

BOOL CDC::PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount)
{
    return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }

BOOL CDC::Rectangle(LPCRECT lpRect)
{
    return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT lpRect) { return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
COLORREF CDC::SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) { return ::SetPixelV(m_hDC, x, y, crColor); }

// ---------------------------------------------------------------------------------------------
// CDC: fills and frames

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(AfxGetSafeHandle(pBrush)));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush)
{
    ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(AfxGetSafeHandle(pBrush)));
}

void CDC::InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    return ::FillRgn(m_hDC, static_cast<HRGN>(AfxGetSafeHandle(pRgn)), static_cast<HBRUSH>(AfxGetSafeHandle(pBrush)));
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    return ::FrameRgn(m_hDC, static_cast<HRGN>(AfxGetSafeHandle(pRgn)),
                      static_cast<HBRUSH>(AfxGetSafeHandle(pBrush)), nWidth, nHeight);
}

BOOL CDC::InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, static_cast<HRGN>(AfxGetSafeHandle(pRgn))); }
BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, static_cast<HRGN>(AfxGetSafeHandle(pRgn))); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    // The two far corners belong to the bottom-right colour.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }

BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState)
{
    return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
BOOL CDC::DrawIcon(POINT point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }

BOOL CDC::DrawIconEx(int x, int y, HICON hIcon, int cx, int cy, UINT istepIfAniCur, HBRUSH hbrFlickerFree, UINT diFlags)
{
    return ::DrawIconEx(m_hDC, x, y, hIcon, cx, cy, istepIfAniCur, hbrFlickerFree, diFlags);
}

CBrush* CDC::GetHalftoneBrush()
{
    static CBrush* pBrush = [] {
        WORD grayPattern[8];
        for (int i = 0; i < 8; i++)
            grayPattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        CBrush* p = new CBrush;
        HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, grayPattern);
        if (hBitmap != nullptr) {
            p->Attach(::CreatePatternBrush(hBitmap));
            ::DeleteObject(hBitmap);
        }
        return p;
    }();
    return pBrush;
}

// The frame of the given thickness just inside a rectangle, as a region.
static void MakeFrameRgn(CRgn& rgn, LPCRECT lpRect, SIZE size)
{
    RECT inner = *lpRect;
    ::InflateRect(&inner, -size.cx, -size.cy);
    ::IntersectRect(&inner, &inner, lpRect);
    rgn.CreateRectRgnIndirect(lpRect);
    CRgn rgnInner;
    rgnInner.CreateRectRgnIndirect(&inner);
    rgn.CombineRgn(&rgn, &rgnInner, RGN_XOR);
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                       CBrush* pBrush, CBrush* pBrushLast)
{
    if (pBrush == nullptr)
        pBrush = GetHalftoneBrush();
    if (pBrushLast == nullptr)
        pBrushLast = pBrush;

    CRgn rgnNew;
    MakeFrameRgn(rgnNew, lpRect, size);
    CRgn rgnLast;
    if (lpRectLast != nullptr)
        MakeFrameRgn(rgnLast, lpRectLast, sizeLast);

    int nSaved = SaveDC();
    RECT box;
    CRgn rgnUpdate;
    if (lpRectLast != nullptr && pBrush->m_hObject == pBrushLast->m_hObject) {
        // One pass: inverting where exactly one of the frames lies erases the old and draws the
        // new without flicker where they overlap.
        rgnUpdate.CreateRectRgn(0, 0, 0, 0);
        rgnUpdate.CombineRgn(&rgnLast, &rgnNew, RGN_XOR);
    } else {
        if (lpRectLast != nullptr) {
            SelectClipRgn(&rgnLast);
            GetClipBox(&box);
            SelectObject(pBrushLast);
            PatBlt(box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
        }
        rgnUpdate.CreateRectRgn(0, 0, 0, 0);
        rgnUpdate.CopyRgn(&rgnNew);
    }
    SelectClipRgn(&rgnUpdate);
    GetClipBox(&box);
    SelectObject(pBrush);
    PatBlt(box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    RestoreDC(nSaved);
}

// ---------------------------------------------------------------------------------------------
// CDC: block transfers

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, AfxGetSafeHdc(pSrcDC), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, AfxGetSafeHdc(pSrcDC), xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

// ---------------------------------------------------------------------------------------------
// CDC: text

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return ::TextOut(m_hDC, x, y, lpszString, nCount);
}

BOOL CDC::TextOut(int x, int y, const CString& str)
{
    return TextOut(x, y, static_cast<LPCTSTR>(str), str.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths)
{
    return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths)
{
    return ExtTextOut(x, y, nOptions, lpRect, static_cast<LPCTSTR>(str), static_cast<UINT>(str.GetLength()), lpDxWidths);
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(static_cast<LPCTSTR>(str), str.GetLength(), lpRect, nFormat);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {};
    ::GetTextExtentPoint32(m_hAttribDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetTextExtent(const CString& str) const
{
    return GetTextExtent(static_cast<LPCTSTR>(str), str.GetLength());
}

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {};
    ::GetTextExtentPoint32(m_hDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetOutputTextExtent(const CString& str) const
{
    return GetOutputTextExtent(static_cast<LPCTSTR>(str), str.GetLength());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hAttribDC, lpMetrics); }
BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hDC, lpMetrics); }
int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const { return ::GetTextFace(m_hDC, nCount, lpszFacename); }

BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    return ::GetCharWidth(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
}

UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }

UINT CDC::SetTextAlign(UINT nFlags)
{
    return SetOnBoth<UINT>(m_hDC, m_hAttribDC, GDI_ERROR, [&](HDC h) { return ::SetTextAlign(h, nFlags); });
}

int CDC::GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hAttribDC); }

int CDC::SetTextCharacterExtra(int nCharExtra)
{
    return SetOnBoth<int>(m_hDC, m_hAttribDC, 0x80000000, [&](HDC h) { return ::SetTextCharacterExtra(h, nCharExtra); });
}
