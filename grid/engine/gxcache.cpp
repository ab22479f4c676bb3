// Cached drawing objects (fonts, brushes, pens, composed cell styles), the
// standard font's metrics, hit testing and the mouse cursors of the zones.
#include "afxwin.h"
#include "gxaxis.h"
#include "gxresrc.h"
#include "gxutil.h"
#include <cstdio>

namespace {
// The cursor shown last, process-wide: its id, its handle and the handle
// loaded from the resources (destroyed when replaced).
UINT g_nLastCursorId = 0;
HCURSOR g_hLastCursor = nullptr;
HCURSOR g_hLoadedCursor = nullptr;
int g_nCursorLoads = 0;

COLORREF Resolve(COLORREF c) { return ResolveSysColor(c); }
} // namespace

int GXGetCursorLoadCount() { return g_nCursorLoads; }

// ---------------------------------------------------------------------------
// Drawing objects

CFont* CGXGridEngine::LookupFont(const CGXFont& font)
{
    LOGFONT lf = font.GetLogFont();
    char key[96];
    std::snprintf(key, sizeof(key), "%.31s %ld %ld %ld %d %d %d %d", lf.lfFaceName, static_cast<long>(lf.lfHeight),
                  static_cast<long>(lf.lfWidth), static_cast<long>(lf.lfWeight), lf.lfItalic, lf.lfUnderline,
                  lf.lfStrikeOut, lf.lfCharSet);
    void* p = nullptr;
    CFont* pFont = m_fontCache.Lookup(key, p) ? static_cast<CFont*>(p) : nullptr;
    if (pFont != nullptr && pFont->GetSafeHandle() != nullptr)
        return pFont;
    if (pFont == nullptr)
        pFont = new CFont;
    if (!pFont->CreateFontIndirect(&lf)) {
        m_fontCache.RemoveKey(key);
        delete pFont;
        return nullptr;
    }
    m_fontCache.SetAt(key, pFont);
    return pFont;
}

CBrush* CGXGridEngine::LookupBrush(const GXBrushRecord& brush)
{
    char key[128];
    const COLORREF fg = brush.lbColor, bg = brush.lbBkColor;
    std::snprintf(key, sizeof(key), "%lu %ld %d %d %d %d %d %d %d", static_cast<unsigned long>(brush.lbStyle),
                  static_cast<long>(brush.lbStyle == BS_PATTERN ? brush.lbPattern : brush.lbHatch), GetRValue(fg),
                  GetGValue(fg), GetBValue(fg), GetRValue(bg), GetGValue(bg), GetBValue(bg),
                  static_cast<int>(fg >> 24));
    void* p = nullptr;
    CBrush* pBrush = m_brushCache.Lookup(key, p) ? static_cast<CBrush*>(p) : nullptr;
    if (pBrush != nullptr && pBrush->GetSafeHandle() != nullptr)
        return pBrush;
    if (pBrush == nullptr)
        pBrush = new CBrush;
    LOGBRUSH lb;
    lb.lbStyle = brush.lbStyle;
    lb.lbColor = Resolve(fg) & 0xFFFFFF;
    lb.lbHatch = static_cast<ULONG_PTR>(brush.lbHatch);
    if (brush.lbStyle == BS_PATTERN) {
        HBITMAP h = brush.lbPattern >= 0 ? GXGetPatternBitmap(brush.lbPattern) : nullptr;
        lb.lbHatch = reinterpret_cast<ULONG_PTR>(h);
        if (h == nullptr)
            lb.lbStyle = BS_SOLID;
    }
    if (!pBrush->CreateBrushIndirect(&lb)) {
        m_brushCache.RemoveKey(key);
        delete pBrush;
        return nullptr;
    }
    m_brushCache.SetAt(key, pBrush);
    return pBrush;
}

CPen* CGXGridEngine::LookupPen(const GXPenRecord& pen)
{
    char key[96];
    std::snprintf(key, sizeof(key), "%lu %ld %d %d %d %d", static_cast<unsigned long>(pen.lopnStyle),
                  static_cast<long>(pen.lopnWidth), GetRValue(pen.lopnColor), GetGValue(pen.lopnColor),
                  GetBValue(pen.lopnColor), static_cast<int>(pen.lopnColor >> 24));
    void* p = nullptr;
    CPen* pPen = m_penCache.Lookup(key, p) ? static_cast<CPen*>(p) : nullptr;
    if (pPen != nullptr && pPen->GetSafeHandle() != nullptr)
        return pPen;
    if (pPen == nullptr)
        pPen = new CPen;
    const COLORREF color = Resolve(pen.lopnColor) & 0xFFFFFF;
    BOOL ok;
    if (!g_bGXSimplePens) {
        LOGBRUSH lb = {BS_SOLID, color, 0};
        ok = pPen->CreatePen(static_cast<int>(pen.lopnStyle) | PS_GEOMETRIC | PS_ENDCAP_SQUARE,
                             std::max(1, pen.lopnWidth), &lb);
    } else {
        LOGPEN lp = {pen.lopnStyle, {pen.lopnWidth, 0}, color};
        ok = pPen->CreatePenIndirect(&lp);
    }
    if (!ok) {
        m_penCache.RemoveKey(key);
        delete pPen;
        return nullptr;
    }
    m_penCache.SetAt(key, pPen);
    return pPen;
}

CFont* CGXGridEngine::SelectStyleFont(CDC* pDC, const CGXStyle& style, const CGXStyle* pPrevious)
{
    if (!style.GetIncludeFont())
        return nullptr;
    const LOGFONT& lf = style.GetFont().GetLogFont();
    if (pPrevious != nullptr && pPrevious->GetIncludeFont() &&
        std::memcmp(&pPrevious->GetFont().GetLogFont(), &lf, sizeof(LOGFONT)) == 0)
        return nullptr;
    LOGFONT zoomed = lf;
    zoomed.lfHeight = GetZoom() * lf.lfHeight / 100;
    CFont* pFont = LookupFont(CGXFont(zoomed));
    if (pFont == nullptr)
        return nullptr;
    return pDC->SelectObject(pFont);
}

void CGXGridEngine::CalcTextMetrics(CDC* pDC, int& nWidth, int& nHeight)
{
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(pDC->GetSafeHdc(), &tm);
    nHeight = tm.tmHeight + tm.tmExternalLeading;
    nWidth = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? tm.tmAveCharWidth * 3 / 2 : tm.tmAveCharWidth;
}

void CGXGridEngine::UpdateFontMetrics()
{
    const CGXStyle* pStandard = GetStandardStyle();
    if (pStandard == nullptr || !pStandard->GetIncludeFont() || m_pGridWnd == nullptr ||
        m_pGridWnd->GetSafeHwnd() == nullptr) {
        m_nCharWidth = 10;
        m_nLineHeight = 15;
        return;
    }
    CClientDC dc(m_pGridWnd);
    PrepareDC(&dc, nullptr);
    CFont* pOld = SelectStyleFont(&dc, *pStandard);
    CalcTextMetrics(&dc, m_nCharWidth, m_nLineHeight);
    if (pOld != nullptr)
        dc.SelectObject(pOld);
    ReleaseFontDC();
}

CDC* CGXGridEngine::GetFontDC()
{
    if (m_pFontDC == nullptr && m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr) {
        m_pFontDC = new CClientDC(m_pGridWnd);
        PrepareDC(m_pFontDC, nullptr);
        const CGXStyle* pStandard = GetStandardStyle();
        CFont* pOld = pStandard != nullptr ? SelectStyleFont(m_pFontDC, *pStandard) : nullptr;
        m_hOldFontDCFont = pOld != nullptr ? pOld->GetSafeHandle() : nullptr;
    }
    return m_pFontDC;
}

void CGXGridEngine::ReleaseFontDC()
{
    if (m_pFontDC == nullptr || m_bPrinting || CGXLongOperation::GetNestingLevel() > 0)
        return;
    if (m_hOldFontDCFont != nullptr)
        ::SelectObject(m_pFontDC->GetSafeHdc(), m_hOldFontDCFont);
    delete m_pFontDC;
    m_pFontDC = nullptr;
    m_hOldFontDCFont = nullptr;
}

namespace {
template <class T> void DeleteCachedObjects(CMapStringToPtr& map)
{
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        CString key;
        void* p = nullptr;
        map.GetNextAssoc(pos, key, p);
        delete static_cast<T*>(p);
    }
    map.RemoveAll();
}
} // namespace

void CGXGridEngine::FreeObjectCache()
{
    if (m_nDrawDepth > 0)
        return;
    if (!m_bKeepDrawingObjects) {
        ReleaseFontDC();
        DeleteCachedObjects<CFont>(m_fontCache);
        DeleteCachedObjects<CBrush>(m_brushCache);
        DeleteCachedObjects<CPen>(m_penCache);
    }
    ReleaseStyleCacheEntries(m_nCacheShiftRows == 0 && m_nCacheShiftCols == 0);
}

void CGXGridEngine::ReleaseStyleCacheEntries(BOOL bAll)
{
    const INT_PTR n = m_styleCache.GetSize();
    if (bAll || n == 0) {
        for (INT_PTR i = 0; i < n; ++i) {
            if (m_styleCache[i] != nullptr)
                RecycleStyle(static_cast<CGXStyle*>(m_styleCache[i]));
            m_styleCache[i] = nullptr;
        }
        m_nCacheRowOrigin = m_nCacheColOrigin = 0;
    } else {
        // The scrolled part moved by the shift: entries still on screen move
        // along, the others are recycled; frozen rows and columns stay.
        const ROWCOL FR = GetFrozenRows(), FC = GetFrozenCols();
        CPtrArray moved;
        moved.SetSize(n);
        for (int i = 0; i < nCacheRows; ++i) {
            for (int j = 0; j < nCacheCols; ++j) {
                void* p = m_styleCache[i * nCacheCols + j];
                if (p == nullptr)
                    continue;
                long ni = i, nj = j;
                if (static_cast<ROWCOL>(i) > FR)
                    ni -= m_nCacheShiftRows;
                if (static_cast<ROWCOL>(j) > FC)
                    nj -= m_nCacheShiftCols;
                const BOOL bKeep = (static_cast<ROWCOL>(i) <= FR || ni > static_cast<long>(FR)) &&
                                   (static_cast<ROWCOL>(j) <= FC || nj > static_cast<long>(FC)) && ni >= 0 &&
                                   nj >= 0 && ni < nCacheRows && nj < nCacheCols;
                if (bKeep)
                    moved[ni * nCacheCols + nj] = p;
                else
                    RecycleStyle(static_cast<CGXStyle*>(p));
            }
        }
        for (INT_PTR i = 0; i < n; ++i)
            m_styleCache[i] = moved[i];
        m_nCacheRowOrigin += m_nCacheShiftRows;
        m_nCacheColOrigin += m_nCacheShiftCols;
    }
    m_nCacheShiftRows = m_nCacheShiftCols = 0;
    if (bAll && !m_bKeepCurrentStyle)
        FreeCurrentStyle();
    while (!m_afterPaintStyles.IsEmpty())
        RecycleStyle(static_cast<CGXStyle*>(m_afterPaintStyles.RemoveHead()));
}

BOOL CGXGridEngine::GetStyleCacheIndex(ROWCOL nRow, ROWCOL nCol, int& nRowIndex, int& nColIndex)
{
    if (m_nCacheRowOrigin == 0)
        m_nCacheRowOrigin = std::max<ROWCOL>(GetTopRow(), nCacheReserve + 1) - nCacheReserve;
    if (m_nCacheColOrigin == 0)
        m_nCacheColOrigin = std::max<ROWCOL>(GetLeftCol(), nCacheReserve + 1) - nCacheReserve;
    auto index = [](ROWCOL n, ROWCOL nFrozen, ROWCOL nOrigin, int nCapacity) -> long long {
        if (n <= nFrozen)
            return n < static_cast<ROWCOL>(nCapacity) ? static_cast<long long>(n) : -1;
        if (n < nOrigin)
            return -1;
        const long long i = static_cast<long long>(n) - nOrigin + nFrozen + 1;
        return i < nCapacity ? i : -1;
    };
    const long long ri = index(nRow, GetFrozenRows(), m_nCacheRowOrigin, nCacheRows);
    const long long ci = index(nCol, GetFrozenCols(), m_nCacheColOrigin, nCacheCols);
    if (ri < 0 || ci < 0)
        return FALSE;
    nRowIndex = static_cast<int>(ri);
    nColIndex = static_cast<int>(ci);
    return TRUE;
}

void CGXGridEngine::SetStyleReadOnly(CGXStyle& style, BOOL bReadOnly)
{
    if (bReadOnly)
        style.SetReadOnly(TRUE);
}

// ---------------------------------------------------------------------------
// Hit testing and cursors

int CGXGridEngine::HitTest(CPoint pt, ROWCOL* pRow, ROWCOL* pCol, CRect* pRect)
{
    pt.x = std::max(0L, static_cast<long>(pt.x));
    pt.y = std::max(0L, static_cast<long>(pt.y));
    CRect g;
    GetGridRect(&g);
    if (m_pParam == nullptr || !g.PtInRect(pt))
        return GX_HIT_NONE;
    int top = 0, left = 0;
    const ROWCOL cr = CalcClientRowFromPt(pt, &top), cc = CalcClientColFromPt(pt, &left);
    ROWCOL nRow = cr == GX_INVALID ? GetRowCount() + 1 : ClientRowToRow(cr);
    ROWCOL nCol = cc == GX_INVALID ? GetColCount() + 1 : ClientColToCol(cc);
    const int h = cr == GX_INVALID ? 0 : GetRowHeight(nRow), w = cc == GX_INVALID ? 0 : GetColWidth(nCol);
    const CRect rect(left, top, left + w, top + h);
    const int half = m_nHitTolerance / 2;
    const ROWCOL HR = GetHeaderRows(), HC = GetHeaderCols();
    auto answer = [&](int zone, ROWCOL r, ROWCOL c) {
        if (pRow != nullptr)
            *pRow = r;
        if (pCol != nullptr)
            *pCol = c;
        if (pRect != nullptr)
            *pRect = rect;
        return zone;
    };
    // Column edges.
    const WORD wCol = m_pParam->m_wOptionD;
    if (cc != GX_INVALID && cr != GX_INVALID && (wCol & 3) && (nRow <= HR || (wCol & 4))) {
        ROWCOL sized = GX_INVALID;
        if (rect.right - pt.x <= half)
            sized = nCol;
        else if (pt.x - rect.left < half && cc > 0) {
            ROWCOL c = cc - 1;
            while (c > 0 && GetColWidth(ClientColToCol(c)) == 0)
                --c;
            sized = ClientColToCol(c);
        }
        if (sized != GX_INVALID && !((wCol & 8) && sized <= HC))
            return answer(GX_HIT_COLEDGE, nRow, sized);
    }
    // Row edges.
    const WORD wRow = m_pParam->m_wOptionE;
    if (cc != GX_INVALID && cr != GX_INVALID && (wRow & 3) && (nCol <= HC || (wRow & 4))) {
        ROWCOL sized = GX_INVALID;
        if (rect.bottom - pt.y <= half)
            sized = nRow;
        else if (pt.y - rect.top < half && cr > 0) {
            ROWCOL r = cr - 1;
            while (r > 0 && GetRowHeight(ClientRowToRow(r)) == 0)
                --r;
            sized = ClientRowToRow(r);
        }
        if (sized != GX_INVALID && !((wRow & 8) && sized <= HR))
            return answer(GX_HIT_ROWEDGE, sized, nCol);
    }
    if (cr != GX_INVALID && cc != GX_INVALID && HitTestSelectionEdge(nRow, nCol, pt, rect) == GX_HIT_SELEDGE)
        return answer(GX_HIT_SELEDGE, nRow, nCol);
    return answer(nRow <= HR || nCol <= HC ? GX_HIT_HEADER : GX_HIT_CELL, nRow, nCol);
}

HCURSOR CGXGridEngine::SetGridCursor(UINT nID, LPCSTR lpszSysID)
{
    HCURSOR hPrevious = ::GetCursor();
    if (nID == 0) {
        ::SetCursor(m_hArrowCursor);
        return hPrevious;
    }
    if (nID != g_nLastCursorId) {
        HCURSOR hOldLoaded = g_hLoadedCursor;
        ++g_nCursorLoads;
        HCURSOR h = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
        g_hLoadedCursor = h;
        if (h == nullptr)
            h = ::LoadCursorA(nullptr, lpszSysID != nullptr ? lpszSysID : IDC_ARROW);
        g_nLastCursorId = nID;
        g_hLastCursor = h;
        ::SetCursor(h);
        // Cursors from resources are shared: nothing is destroyed but what
        // the library made itself.
        (void)hOldLoaded;
        return hPrevious;
    }
    ::SetCursor(g_hLastCursor);
    return hPrevious;
}

void CGXGridEngine::SetOverrideCursor(UINT nID)
{
    m_nOverrideCursor = nID;
    UpdateCursor(CPoint(0, 0));
}

BOOL CGXGridEngine::HeaderPressMoves(ROWCOL nRow, ROWCOL nCol, BOOL bRowHeader)
{
    if (m_pParam == nullptr || !(bRowHeader ? m_pParam->m_bAllowRowMoving : m_pParam->m_bAllowColMoving))
        return FALSE;
    const CGXRangeList& sel = m_pParam->m_selRanges;
    for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;) {
        if (sel.GetRangeAt(pos)->IsTable())
            return FALSE;
        sel.GetNext(pos);
    }
    return sel.AnyRangeContains(nRow, nCol);
}

HCURSOR CGXGridEngine::UpdateCursor(CPoint pt)
{
    if (m_nOverrideCursor != 0)
        return SetGridCursor(m_nOverrideCursor, IDC_ARROW);
    ROWCOL nRow = 0, nCol = 0;
    const int zone = HitTest(pt, &nRow, &nCol);
    const WORD wRow = m_pParam != nullptr ? m_pParam->m_wOptionE : 0;
    const WORD wCol = m_pParam != nullptr ? m_pParam->m_wOptionD : 0;
    switch (zone) {
    case GX_HIT_ROWEDGE:
        if ((wRow & 3) && CanChangeRowHeight(nRow, pt.y))
            return SetGridCursor(GX_IDC_SIZEROW, IDC_SIZENS);
        break;
    case GX_HIT_COLEDGE:
        if ((wCol & 3) && CanChangeColWidth(nCol, pt.x))
            return SetGridCursor(GX_IDC_SIZECOL, IDC_SIZEWE);
        break;
    case GX_HIT_SELEDGE:
        return SetGridCursor(GX_IDC_SELDRAG, IDC_ARROW);
    case GX_HIT_HEADER: {
        // The select cursors only where a press selects: not where it drags the selection, nor
        // where the selection options refuse whole columns or rows.
        const WORD perm = m_pParam != nullptr ? m_pParam->m_wOptionA : 0;
        if (nRow == 0 && nCol > 0 && !HeaderPressMoves(nRow, nCol, FALSE) && (perm & 0x02))
            return SetGridCursor(GX_IDC_SELCOL, IDC_ARROW);
        if (nCol == 0 && nRow > 0 && !HeaderPressMoves(nRow, nCol, TRUE) && (perm & 0x01))
            return SetGridCursor(GX_IDC_SELROW, IDC_ARROW);
        break;
    }
    default:
        break;
    }
    return SetGridCursor(0);
}
