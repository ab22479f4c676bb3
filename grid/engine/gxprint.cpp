// Printing a grid: the page breaks of a print job, each page drawn with the normal cell drawing
// switched to the printer, and the page header and footer of the properties.
#include "afxwin.h"
#include "afxapp.h"
#include "afxdoc.h"
#include "afxprint.h"
#include "afxview.h"
#include "gxengine.h"
#include "gxaxis.h"
#include "gxprop.h"
#include "gxstyle.h"
#include "gxstymap.h"
#include "gxutil.h"
#include <algorithm>
#include <cstdio>

namespace {

// The printer's whole page in the DC's logical units. The size comes from the printer device in
// use, so that a stand-in printer (a memory DC) reports its page, not the screen's.
CRect PrinterPage(CDC* pDC)
{
    HDC hAttrib = pDC->m_hAttribDC != nullptr ? pDC->m_hAttribDC : pDC->m_hDC;
    CSize size = AfxGetPrinterDevice()->GetPageSize(hAttrib);
    CRect r(0, 0, size.cx, size.cy);
    pDC->DPtoLP(&r);
    return r;
}

// The band that holds n: i with breaks[i] <= n < breaks[i + 1]; the first band when none does.
ROWCOL BandOf(const CDWordArray& breaks, ROWCOL n)
{
    for (int i = 0; i + 1 < breaks.GetSize(); ++i)
        if (breaks[i] <= n && n < breaks[i + 1])
            return (ROWCOL)i;
    return 0;
}

ROWCOL Bands(const CDWordArray& breaks) { return breaks.GetSize() > 1 ? (ROWCOL)breaks.GetSize() - 1 : 0; }

// Sets the page's first line of the page text to end with " / nPages".
void AppendPageCount(CString& desc, UINT nPages)
{
    char sz[32];
    std::snprintf(sz, sizeof sz, " / %u", nPages);
    int n = desc.Find('\n');
    if (n < 0)
        desc += sz;
    else
        desc = desc.Left(n) + sz + desc.Mid(n);
}

} // namespace

// ---------------------------------------------------------------------------
// Page breaks

void CGXGridEngine::SubtractPageMargins(CDC*, CPrintInfo* pInfo)
{
    CGXProperties* pProp = m_pParam != nullptr ? m_pParam->GetProperties() : nullptr;
    if (pInfo == nullptr || pProp == nullptr)
        return;
    int nTop = 0, nLeft = 0, nBottom = 0, nRight = 0;
    pProp->GetMargins(nTop, nLeft, nBottom, nRight);
    pInfo->m_rectDraw.top += nTop;
    pInfo->m_rectDraw.left += nLeft;
    pInfo->m_rectDraw.bottom -= nBottom;
    pInfo->m_rectDraw.right -= nRight;
}

void CGXGridEngine::CalcPageBreaks(BOOL bRows, CDWordArray& breaks, ROWCOL nStart, ROWCOL nLast)
{
    // A range that lies wholly in the frozen part prints as one band of the frozen rows alone.
    if (nLast < nStart)
        nLast = nStart - 1;
    ROWCOL start = nStart;
    while (start <= nLast) {
        if (bRows)
            m_nPrintTopRow = start;
        else
            m_nPrintLeftCol = start;
        // The row (column) at the page's far edge does not fit wholly: the next page starts there.
        ROWCOL c = bRows ? CalcClientRowFromPt(CPoint(m_rectPage.left, m_rectPage.bottom))
                         : CalcClientColFromPt(CPoint(m_rectPage.right, m_rectPage.top));
        if (c == GX_INVALID)
            break;
        ROWCOL n = bRows ? ClientRowToRow(c) : ClientColToCol(c);
        // Every page holds at least one row and one column, however large.
        ROWCOL next = std::max(start + 1, n);
        if (next > nLast)
            break;
        breaks.Add(next);
        start = next;
    }
    breaks.Add(nLast + 1);
}

void CGXGridEngine::GetPageBands(UINT nPage, ROWCOL& nPageRow, ROWCOL& nPageCol)
{
    const ROWCOL nRowBands = std::max<ROWCOL>(Bands(m_awRowBreaks), 1);
    const ROWCOL nColBands = std::max<ROWCOL>(Bands(m_awColBreaks), 1);
    CGXProperties* pProp = m_pParam != nullptr ? m_pParam->GetProperties() : nullptr;
    const ROWCOL p = nPage > 0 ? nPage - 1 : 0;
    if (pProp != nullptr && pProp->m_nPageOrder == 1) {
        nPageRow = p % nRowBands;
        nPageCol = p / nRowBands;
    } else {
        nPageRow = p / nColBands;
        nPageCol = p % nColBands;
    }
    nPageRow = std::min(nPageRow, nRowBands - 1);
    nPageCol = std::min(nPageCol, nColBands - 1);
}

void CGXGridEngine::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC == nullptr || pInfo == nullptr || m_pParam == nullptr)
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr)
        pApp->BeginWaitCursor();
    PrepareDC(pDC, pInfo);
    m_awRowBreaks.RemoveAll();
    m_awColBreaks.RemoveAll();
    // The screen's part, taken before printing mode switches every query to the page.
    const ROWCOL nScreenTop = m_nTopRow, nScreenLeft = m_nLeftCol;
    const ROWCOL nLastVisibleRow = GetLastVisibleRow(), nLastVisibleCol = GetLastVisibleCol();
    SetPrinting(TRUE);

    ReadBaseStylePointers();
    FreeObjectCache();
    CFont* pOldFont = m_pStyleStandard != nullptr ? SelectStyleFont(pDC, *m_pStyleStandard) : nullptr;
    CalcTextMetrics(pDC, m_nPrintCharWidth, m_nPrintLineHeight);

    pInfo->m_rectDraw = PrinterPage(pDC);
    SubtractPageMargins(pDC, pInfo);
    m_rectPage = pInfo->m_rectDraw;
    m_rectPrinting = m_rectPage;
    OnAccessRowCol(GX_INVALID - 1, GX_INVALID - 1);

    const ROWCOL nRows = GetRowCount(), nCols = GetColCount();
    const ROWCOL nFrozenRows = GetFrozenRows(), nFrozenCols = GetFrozenCols();
    const BOOL bSelection = pInfo->m_pPD != nullptr && pInfo->m_pPD->PrintSelection();
    m_bPrintVisibleOnly = bSelection && m_pParam->m_selRanges.IsEmpty();
    m_bPrintSelection = bSelection;
    if (m_bPrintVisibleOnly) {
        // Nothing selected: the window's part, as it shows, on one page.
        m_nPrintTopRow = nScreenTop;
        m_nPrintLeftCol = nScreenLeft;
        m_awRowBreaks.Add(nScreenTop);
        m_awRowBreaks.Add(std::max(std::min(nLastVisibleRow, nRows), nScreenTop - 1) + 1);
        m_awColBreaks.Add(nScreenLeft);
        m_awColBreaks.Add(std::max(std::min(nLastVisibleCol, nCols), nScreenLeft - 1) + 1);
        m_nScreenPageRow = m_nScreenPageCol = 0;
        pInfo->SetMaxPage(1);
    } else {
        CGXRange range(1, 1, nRows, nCols);
        if (bSelection) {
            range = *m_pParam->m_selRanges.GetRangeAt(m_pParam->m_selRanges.GetHeadPosition());
            range.ExpandToCells(1, 1, nRows, nCols);
        }
        const ROWCOL nTop = std::max(range.top, nFrozenRows + 1), nLeft = std::max(range.left, nFrozenCols + 1);
        const ROWCOL nBottom = std::min(range.bottom, nRows), nRight = std::min(range.right, nCols);
        m_awColBreaks.Add(nLeft);
        CalcPageBreaks(FALSE, m_awColBreaks, nLeft, nRight);
        m_awRowBreaks.Add(nTop);
        CalcPageBreaks(TRUE, m_awRowBreaks, nTop, nBottom);
        m_nScreenPageRow = BandOf(m_awRowBreaks, nScreenTop);
        m_nScreenPageCol = BandOf(m_awColBreaks, nScreenLeft);
        pInfo->SetMaxPage(Bands(m_awRowBreaks) * Bands(m_awColBreaks));
    }
    AppendPageCount(pInfo->m_strPageDesc, pInfo->GetMaxPage());

    // A preview opens at the page that shows what the window shows.
    if (pInfo->m_bPreview) {
        CGXProperties* pProp = m_pParam->GetProperties();
        if (pProp != nullptr && pProp->m_nPageOrder == 1)
            pInfo->m_nCurPage = m_nScreenPageCol * Bands(m_awRowBreaks) + m_nScreenPageRow + 1;
        else
            pInfo->m_nCurPage = m_nScreenPageRow * Bands(m_awColBreaks) + m_nScreenPageCol + 1;
    }

    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    SetPrinting(FALSE);
    if (pApp != nullptr)
        pApp->EndWaitCursor();
}

// ---------------------------------------------------------------------------
// One page

void CGXGridEngine::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC == nullptr || pInfo == nullptr || m_pParam == nullptr || Bands(m_awRowBreaks) == 0 ||
        Bands(m_awColBreaks) == 0)
        return;
    SetPrinting(TRUE);
    ReadBaseStylePointers();
    FreeObjectCache();
    CFont* pOldFont = m_pStyleStandard != nullptr ? SelectStyleFont(pDC, *m_pStyleStandard) : nullptr;
    CalcTextMetrics(pDC, m_nPrintCharWidth, m_nPrintLineHeight);
    SubtractPageMargins(pDC, pInfo);
    m_rectPage = pInfo->m_rectDraw;
    m_rectPrinting = m_rectPage;

    const ROWCOL nRows = GetRowCount(), nCols = GetColCount();
    // Rows or columns added since the breaks were made get pages of their own.
    if (!m_bPrintSelection) {
        BOOL bChanged = FALSE;
        if (m_awRowBreaks[m_awRowBreaks.GetSize() - 1] <= nRows && m_awRowBreaks.GetSize() >= 2) {
            m_awRowBreaks.RemoveAt(m_awRowBreaks.GetSize() - 1);
            ROWCOL start = m_awRowBreaks[m_awRowBreaks.GetSize() - 1];
            CalcPageBreaks(TRUE, m_awRowBreaks, start, nRows);
            bChanged = TRUE;
        }
        if (m_awColBreaks[m_awColBreaks.GetSize() - 1] <= nCols && m_awColBreaks.GetSize() >= 2) {
            m_awColBreaks.RemoveAt(m_awColBreaks.GetSize() - 1);
            ROWCOL start = m_awColBreaks[m_awColBreaks.GetSize() - 1];
            CalcPageBreaks(FALSE, m_awColBreaks, start, nCols);
            bChanged = TRUE;
        }
        if (bChanged)
            pInfo->SetMaxPage(Bands(m_awRowBreaks) * Bands(m_awColBreaks));
    }

    ROWCOL nPageRow = 0, nPageCol = 0;
    GetPageBands(pInfo->m_nCurPage, nPageRow, nPageCol);
    m_nPrintTopRow = m_awRowBreaks[(int)nPageRow];
    m_nPrintLeftCol = m_awColBreaks[(int)nPageCol];
    const ROWCOL nEndRow = std::min<ROWCOL>(m_awRowBreaks[(int)nPageRow + 1], nRows + 1);
    const ROWCOL nEndCol = std::min<ROWCOL>(m_awColBreaks[(int)nPageCol + 1], nCols + 1);
    OnAccessRowCol(nEndRow, nEndCol);
    // The frozen and header rows and columns are client rows too: they repeat on every page.
    const ROWCOL nLastClientRow = nEndRow > m_nPrintTopRow ? RowToClientRow(nEndRow) - 1 : GetFrozenRows();
    const ROWCOL nLastClientCol = nEndCol > m_nPrintLeftCol ? ColToClientCol(nEndCol) - 1 : GetFrozenCols();
    const int nWidth = SumColWidths(0, nLastClientCol), nHeight = SumRowHeights(0, nLastClientRow);

    CGXProperties* pProp = m_pParam->GetProperties();
    CRect area = m_rectPage;
    if (pProp != nullptr && pProp->m_bCenterHorizontal && nWidth < area.Width())
        area.left += (area.Width() - nWidth) / 2;
    if (pProp != nullptr && pProp->m_bCenterVertical && nHeight < area.Height())
        area.top += (area.Height() - nHeight) / 2;
    area.right = area.left + nWidth;
    area.bottom = area.top + nHeight;

    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(&area);
    m_rectPrinting = area;
    DrawCellRange(0, 0, nLastClientRow, nLastClientCol, pDC);
    pDC->RestoreDC(nSaved);

    if (pProp != nullptr && pProp->m_bPrintFrame) {
        const COLORREF black = RGB(0, 0, 0);
        FillRectColor(pDC, area.left - 1, area.top - 1, area.Width() + 3, 2, black);
        FillRectColor(pDC, area.left - 1, area.bottom, area.Width() + 3, 2, black);
        FillRectColor(pDC, area.left - 1, area.top - 1, 2, area.Height() + 3, black);
        FillRectColor(pDC, area.right, area.top - 1, 2, area.Height() + 3, black);
    }

    // The job goes on until the page that holds the last row and the last column.
    pInfo->m_bContinuePrinting = nPageRow + 1 < Bands(m_awRowBreaks) || nPageCol + 1 < Bands(m_awColBreaks);

    DrawHeaderFooter(pDC, pInfo);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    while (!m_tempObjects.IsEmpty())
        delete static_cast<CObject*>(m_tempObjects.RemoveHead());
    ReleaseFontDC();
    SetPrinting(FALSE);
}

void CGXGridEngine::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_awRowBreaks.RemoveAll();
    m_awColBreaks.RemoveAll();
    m_bPrintSelection = m_bPrintVisibleOnly = FALSE;
    if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
        m_pGridWnd->Invalidate(TRUE);
    // Only the pools printing made: the screen's spans stay as they are.
    if (m_pParam != nullptr) {
        delete m_pParam->m_pPrintObjectA;
        m_pParam->m_pPrintObjectA = nullptr;
        delete m_pParam->m_pPrintObjectB;
        m_pParam->m_pPrintObjectB = nullptr;
    }
}

void CGXGridEngine::DrawHeaderFooter(CDC* pDC, CPrintInfo* pInfo)
{
    CGXProperties* pProp = m_pParam != nullptr ? m_pParam->GetProperties() : nullptr;
    if (pProp == nullptr)
        return;
    CView* pView = dynamic_cast<CView*>(m_pGridWnd);
    pProp->PrintHeaderFooter(pDC, pInfo, pView != nullptr ? pView->GetDocument() : nullptr, m_pParam);
}

// ---------------------------------------------------------------------------
// Header and footer

namespace {

// The standard style of the parameter object's styles map, or null.
const CGXStyle* StandardStyleOf(CGXGridParam* pParam)
{
    CGXStylesMap* pMap = pParam != nullptr ? pParam->GetStylesMap() : nullptr;
    const CGXStyle* p = nullptr;
    if (pMap == nullptr || !pMap->LookupStyle(pMap->GetStandardStyleId(), p))
        return nullptr;
    return p;
}

// The row's style composed with the standard style; FALSE when the row holds no value.
BOOL ComposeRow(CGXData& data, ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStandard, CGXStyle& style)
{
    if (!data.GetStyleRowCol(nRow, nCol, style, gxCopy) || !style.GetIncludeValue() || style.GetValue().IsEmpty())
        return FALSE;
    if (pStandard != nullptr)
        style.ChangeStyle(*pStandard, gxApplyNew);
    return TRUE;
}

// The height of "X" in the style's font.
int XHeight(CDC* pDC, const CGXStyle& style)
{
    CFont font;
    CFont* pOld = nullptr;
    if (style.GetIncludeFont() && font.CreateFontIndirect(&style.GetFont().GetLogFont()))
        pOld = pDC->SelectObject(&font);
    int h = pDC->GetTextExtent("X", 1).cy;
    if (pOld != nullptr)
        pDC->SelectObject(pOld);
    return h;
}

} // namespace

int CGXProperties::CalcFooterHeight(CDC* pDC, CGXGridParam* pParam)
{
    const CGXStyle* pStandard = StandardStyleOf(pParam);
    int nMax = 0;
    for (ROWCOL nCol = 1; nCol <= 3; ++nCol) {
        int nSum = 0;
        for (ROWCOL nRow = 1; nRow <= 10; ++nRow) {
            CGXStyle style;
            if (ComposeRow(m_dataFooter, nRow, nCol, pStandard, style))
                nSum += XHeight(pDC, style);
        }
        nMax = std::max(nMax, nSum);
    }
    return nMax;
}

void CGXProperties::PrintHeaderFooter(CDC* pDC, CPrintInfo* pInfo, CDocument* pDocument, CGXGridParam* pParam)
{
    if (pDC == nullptr)
        return;
    char sz[32];
    SetTokenValue(GX_TOKEN_FILE, pDocument != nullptr ? (LPCSTR)pDocument->GetTitle() : "");
    CWinApp* pApp = AfxGetApp();
    SetTokenValue(GX_TOKEN_APP, pApp != nullptr && pApp->m_pszAppName != nullptr ? pApp->m_pszAppName : "");
    if (pInfo != nullptr) {
        int nPage = (int)pInfo->m_nCurPage;
        if (m_nFirstPage != -1)
            nPage = m_nFirstPage + (int)pInfo->m_nCurPage - (int)pInfo->GetFromPage();
        std::snprintf(sz, sizeof sz, "%d", nPage);
        SetTokenValue(GX_TOKEN_PAGE, sz);
        std::snprintf(sz, sizeof sz, "%d", (int)pInfo->GetMaxPage());
        SetTokenValue(GX_TOKEN_PAGES, sz);
    }
    SetTokenValue(GX_TOKEN_REPORT, pParam != nullptr ? (LPCSTR)pParam->GetName() : "");

    const CRect page = PrinterPage(pDC);
    const CRect draw = pInfo != nullptr ? CRect(pInfo->m_rectDraw) : page;
    CRect header(draw.left, page.top + m_nHeaderDistance, draw.right, pInfo != nullptr ? draw.top : page.bottom);
    CRect footer(draw.left, 0, draw.right, page.bottom - m_nFooterDistance);
    footer.top = footer.bottom - CalcFooterHeight(pDC, pParam);
    if (pInfo != nullptr)
        footer.top = std::max(footer.top, draw.bottom);

    const CGXStyle* pStandard = StandardStyleOf(pParam);
    auto drawData = [&](CGXData& data, const CRect& area) {
        for (ROWCOL nCol = 1; nCol <= 3; ++nCol) {
            int y = area.top;
            for (ROWCOL nRow = 1; nRow <= 10; ++nRow) {
                CGXStyle style;
                if (!ComposeRow(data, nRow, nCol, pStandard, style))
                    continue;
                CFont font;
                CFont* pOld = nullptr;
                if (style.GetIncludeFont() && font.CreateFontIndirect(&style.GetFont().GetLogFont()))
                    pOld = pDC->SelectObject(&font);
                const int h = pDC->GetTextExtent("X", 1).cy;
                CString text = ExpandTokens(style.GetValue());
                GXDrawTextLines(pDC, text, text.GetLength(), area.left + 8, y, area.right - 8, area.bottom,
                                0x900 | (nCol - 1));
                if (pOld != nullptr)
                    pDC->SelectObject(pOld);
                y += h;
            }
        }
    };
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    drawData(m_dataHeader, header);
    drawData(m_dataFooter, footer);
    pDC->SetBkMode(nOldMode);
}
