// Painting the grid: the paint request, straight or memory drawing, the
// block drawing of cells with their backgrounds, borders, grid lines,
// frozen-pane dividers and the area beyond the last row and column, and the
// selection and current-cell highlighting on top.
#include "gxdraw.h"
#include "afxwin.h"
#include "gxaxis.h"
#include "gxutil.h"
#include <vector>

namespace {
enum { GX_COLOR_GRIDLINES = 0, GX_COLOR_FIXEDLINES = 1, GX_COLOR_BACKGROUND = 4 };

COLORREF PropColor(CGXGridParam* pParam, int nIndex, COLORREF fallback)
{
    if (pParam == nullptr || pParam->GetProperties() == nullptr || nIndex >= pParam->GetProperties()->GetColorCount())
        return fallback;
    return ResolveSysColor(pParam->GetProperties()->GetColor(nIndex));
}
} // namespace

WORD GXCellLineFlags(const BOOL bBorders[4], BOOL bRB, ROWCOL nRow, ROWCOL nCol, ROWCOL nHeaderRows,
                     ROWCOL nHeaderCols, ROWCOL nFrozenRows, ROWCOL nFrozenCols)
{
    WORD f = 0;
    if (bBorders[gxBorderLeft])
        f |= GX_CF_BORDER_LEFT;
    if (bBorders[gxBorderRight])
        f |= GX_CF_BORDER_RIGHT;
    if (bBorders[gxBorderTop])
        f |= GX_CF_BORDER_TOP;
    if (bBorders[gxBorderBottom])
        f |= GX_CF_BORDER_BOTTOM;
    if (!bBorders[bRB ? gxBorderRight : gxBorderLeft])
        f |= GX_CF_VLINE;
    if (nCol > nHeaderCols && nCol == nFrozenCols && !bBorders[gxBorderRight])
        f |= GX_CF_FROZENCOL;
    if (!bBorders[bRB ? gxBorderBottom : gxBorderTop])
        f |= GX_CF_HLINE;
    if (nRow > nHeaderRows && nRow == nFrozenRows && !bBorders[gxBorderBottom])
        f |= GX_CF_FROZENROW;
    return f;
}

int GXMergeBackgroundRuns(WORD* pFlags, const GXBrushRecord* const* ppInterior, int nCount, int* pFirst, int* pLast)
{
    for (int i = 0; i < nCount; ++i)
        pFlags[i] |= GX_CF_BACKGROUND;
    int nRuns = 0;
    for (int i = 0; i < nCount;) {
        if (!(pFlags[i] & GX_CF_BACKGROUND) || (pFlags[i] & GX_CF_SPAN) || ppInterior[i] == nullptr) {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < nCount && !(pFlags[j] & GX_CF_SPAN) &&
               (ppInterior[j] == nullptr || ((pFlags[j] & GX_CF_BACKGROUND) && *ppInterior[j] == *ppInterior[i]))) {
            pFlags[j] &= ~GX_CF_BACKGROUND;
            ++j;
        }
        if (j - i >= 2) {
            pFlags[i] &= ~GX_CF_BACKGROUND;
            pFirst[nRuns] = i;
            pLast[nRuns] = j - 1;
            ++nRuns;
        }
        i = j;
    }
    return nRuns;
}

void GXCurrentCellFrameBands(const CRect& r, BOOL bRB, CRect bands[4])
{
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    if (bRB) {
        bands[0].SetRect(L, T, R, T + 2);
        bands[1].SetRect(L, T + 2, L + 2, B);
        bands[2].SetRect(R - 3, T + 2, R, B - 3);
        bands[3].SetRect(L + 2, B - 3, R, B);
    } else {
        bands[0].SetRect(L, T, R - 2, T + 3);
        bands[1].SetRect(L, T + 3, L + 3, B - 2);
        bands[2].SetRect(L, B - 2, R - 2, B);
        bands[3].SetRect(R - 2, T, R, B);
    }
}

namespace {
// How far a paint of the grid rectangle reaches along the rows (bRows) or columns: the row at its
// far edge, or, where the rows end before that edge, the last row and as many more rows of the
// default height as would fill the rest.
ROWCOL PaintReach(CGXGridEngine& e, BOOL bRows, const CRect& g)
{
    using namespace gxaxis;
    const CPoint ptFar(g.right - 1, g.bottom - 1);
    const ROWCOL c = bRows ? e.CalcClientRowFromPt(ptFar) : e.CalcClientColFromPt(ptFar);
    if (c != GX_INVALID)
        return FromClient(e, bRows, c);
    const ROWCOL n = Count(e, bRows);
    const int rest = Length(g, bRows) - SumClient(e, bRows, 0, ToClient(e, bRows, n), Length(g, bRows));
    const int def = std::max(1, bRows ? e.GetDefaultRowHeight() : e.GetDefaultColWidth());
    return n + (rest > 0 ? static_cast<ROWCOL>((rest + def - 1) / def) : 0);
}
} // namespace

int CGXGridEngine::SetDrawingTechnique(int nTechnique)
{
    const int old = m_nDrawingTechnique;
    m_nDrawingTechnique = nTechnique;
    return old;
}

// ---------------------------------------------------------------------------
// Paint

void CGXGridEngine::OnGridDraw(CDC* pDC)
{
    if (m_pParam == nullptr || m_pParam->m_bLockUpdate)
        return;
    // A grid that loads its rows or columns on demand learns how far this paint reaches.
    CRect g;
    GetGridRect(&g);
    OnAccessRowCol(PaintReach(*this, TRUE, g), PaintReach(*this, FALSE, g));
    m_bScrollBarsChanged = FALSE;
    RefreshScrollBars(FALSE, FALSE);
    if (m_bScrollBarsChanged) {
        // The client area changed under this paint: the next one draws the new layout.
        if (m_pGridWnd != nullptr && m_pGridWnd->GetSafeHwnd() != nullptr)
            m_pGridWnd->Invalidate(TRUE);
        return;
    }
    // Spans of the cells about to be drawn are brought up to date first; parts of changed spans
    // outside this paint are painted next time.
    CGXRange changed;
    const BOOL bLock = m_pParam->m_bLockUpdate;
    m_pParam->m_bLockUpdate = TRUE;
    const BOOL bSpansChanged = EvaluateVisibleSpans(changed);
    m_pParam->m_bLockUpdate = bLock;
    if (bSpansChanged)
        RedrawRange(changed.top, changed.left, changed.bottom, changed.right, GX_INVALIDATE, FALSE);
    DrawStraight(pDC, m_nDrawingTechnique == 1);
}

void CGXGridEngine::DrawStraight(CDC* pPaintDC, BOOL bMemory)
{
    CRect g;
    GetGridRect(&g);
    CRect clip;
    if (pPaintDC->GetClipBox(&clip) == ERROR)
        clip = g;
    else if (!clip.IntersectRect(clip, g))
        return;

    CDC memDC;
    CBitmap bitmap;
    CBitmap* pOldBitmap = nullptr;
    CDC* pDC = pPaintDC;
    if (bMemory) {
        // Without a memory context or bitmap this paint goes straight to the screen.
        if (memDC.CreateCompatibleDC(pPaintDC) && bitmap.CreateCompatibleBitmap(pPaintDC, clip.Width(), clip.Height())) {
            PrepareDC(&memDC, nullptr);
            pOldBitmap = memDC.SelectObject(&bitmap);
            memDC.SetViewportOrg(-clip.left, -clip.top);
            memDC.SetBrushOrg(clip.left % 8, clip.top % 8);
            pDC = &memDC;
        } else {
            bMemory = FALSE;
        }
    }

    ReadBaseStylePointers();
    FreeObjectCache();
    CFont* pOldFont = m_pStyleStandard != nullptr ? SelectStyleFont(pDC, *m_pStyleStandard) : nullptr;
    if (m_pStyleStandard != nullptr && m_pStyleStandard->GetIncludeFont()) {
        int cx = 0, cy = 0;
        CalcTextMetrics(pDC, cx, cy);
        if (m_bPrinting) {
            m_nPrintCharWidth = cx;
            m_nPrintLineHeight = cy;
        } else {
            m_nCharWidth = cx;
            m_nLineHeight = cy;
        }
    }

    if (m_bExplicitRect && !bMemory) {
        FillRectColor(pDC, g.left - 1, g.top - 1, 1, g.Height() + 2, 0);
        FillRectColor(pDC, g.right, g.top - 1, 1, g.Height() + 2, 0);
        FillRectColor(pDC, g.left - 1, g.top - 1, g.Width() + 2, 1, 0);
        FillRectColor(pDC, g.left - 1, g.bottom, g.Width() + 2, 1, 0);
    }

    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(&g);
    ROWCOL top = CalcClientRowFromPt(clip.TopLeft());
    ROWCOL left = CalcClientColFromPt(clip.TopLeft());
    ROWCOL bottom = CalcClientRowFromPt(CPoint(clip.right - 1, clip.bottom - 1));
    ROWCOL right = CalcClientColFromPt(CPoint(clip.right - 1, clip.bottom - 1));
    const ROWCOL lastRow = RowToClientRow(GetRowCount()), lastCol = ColToClientCol(GetColCount());
    if (bottom == GX_INVALID)
        bottom = lastRow;
    if (right == GX_INVALID)
        right = lastCol;
    if (top == GX_INVALID)
        top = bottom;
    if (left == GX_INVALID)
        left = right;
    DrawCellRange(top, left, bottom, right, pDC);
    pDC->RestoreDC(nSaved);

    if (m_bExplicitRect && bMemory) {
        FillRectColor(pDC, g.left, g.top, 1, g.Height(), 0);
        FillRectColor(pDC, g.right - 1, g.top, 1, g.Height(), 0);
        FillRectColor(pDC, g.left, g.top, g.Width(), 1, 0);
        FillRectColor(pDC, g.left, g.bottom - 1, g.Width(), 1, 0);
    }

    // The selection frame is drawn afresh over what this paint drew.
    if (m_pParam->m_bSelectionFrame && !m_bSelFrameLock && m_rangeFrame.IsValid()) {
        DrawSelectionFrame(pDC, m_rangeFrame, m_nFrameType);
        m_bFrameShown = TRUE;
    }

    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    while (!m_tempObjects.IsEmpty())
        delete static_cast<CObject*>(m_tempObjects.RemoveHead());
    ReleaseFontDC();

    if (bMemory) {
        pPaintDC->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memDC, clip.left, clip.top, SRCCOPY);
        memDC.SelectObject(pOldBitmap);
    }
}

// ---------------------------------------------------------------------------
// Block drawing

namespace {
// Draws the grid lines and dividers of one column (bRows FALSE) or row.
void DrawLines(CGXGridEngine& e, GXDrawContext& ctx, BOOL bRows, ROWCOL k, COLORREF grid, COLORREF fixed, BOOL bRB)
{
    const ROWCOL nOther = bRows ? ctx.nCols : ctx.nRows;
    const WORD wLine = bRows ? GX_CF_HLINE : GX_CF_VLINE;
    const WORD wDivider = bRows ? GX_CF_FROZENROW : GX_CF_FROZENCOL;
    const int pos = bRows ? ctx.rowTops[k] : ctx.colLefts[k];
    const int size = bRows ? ctx.rowHeights[k] : ctx.colWidths[k];
    if (size <= 0)
        return;
    for (int pass = 0; pass < 2; ++pass) {
        const WORD w = pass == 0 ? wLine : wDivider;
        const int at = pass == 0 ? (bRB ? pos + size - 1 : pos) : pos + size - 1;
        const COLORREF color = pass == 0 ? grid : fixed;
        auto flagAt = [&](ROWCOL i) -> WORD& { return bRows ? ctx.Flags(k, i) : ctx.Flags(i, k); };
        for (ROWCOL i = 0; i < nOther;) {
            if (!(flagAt(i) & w)) {
                ++i;
                continue;
            }
            const int from = bRows ? ctx.colLefts[i] : ctx.rowTops[i];
            int to = from;
            ROWCOL j = i;
            while (j < nOther && (flagAt(j) & w)) {
                flagAt(j) &= ~w;
                to = bRows ? ctx.colLefts[j] + ctx.colWidths[j] : ctx.rowTops[j] + ctx.rowHeights[j];
                ++j;
            }
            if (to > from) {
                if (pass == 0) {
                    if (bRows)
                        e.DrawGridLine(ctx.pDC, from, at, to - from, 1, 0, 0, 0);
                    else
                        e.DrawGridLine(ctx.pDC, at, from, 1, to - from, 1, 0, 0);
                } else if (bRows) {
                    FillRectColor(ctx.pDC, from, at, to - from, 1, color);
                } else {
                    FillRectColor(ctx.pDC, at, from, 1, to - from, color);
                }
            }
            i = j;
        }
    }
}
} // namespace

void CGXGridEngine::DrawCellRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, CDC* pDC)
{
    if (m_pParam == nullptr || nBottom < nTop || nRight < nLeft)
        return;
    ++m_nDrawDepth;
    GXDrawContext ctx;
    GXDrawContext* pPrevious = m_pDrawContext;
    m_pDrawContext = &ctx;
    ctx.pDC = pDC;
    pDC->GetClipBox(&ctx.rectClip);
    ctx.nTopRow = GetTopRow();
    ctx.nLeftCol = GetLeftCol();
    ctx.nFrozenRows = GetFrozenRows();
    ctx.nFrozenCols = GetFrozenCols();
    ctx.nHeaderRows = GetHeaderRows();
    ctx.nHeaderCols = GetHeaderCols();
    CGXProperties* pProp = m_pParam->GetProperties();
    ctx.bColor = pProp == nullptr || !pProp->GetBlackWhite();
    ctx.bSelection = !m_bPrinting && !m_pParam->m_selRanges.IsEmpty();
    const BOOL bRB = m_pParam->m_bLinesAtRightBottom;
    const BOOL bHorz = pProp != nullptr && pProp->GetDisplayHorzLines();
    const BOOL bVert = pProp != nullptr && pProp->GetDisplayVertLines();

    CRect g;
    GetGridRect(&g);
    const ROWCOL nRowCount = GetRowCount(), nColCount = GetColCount();
    // Rows and columns of the block that exist.
    int y = g.top + (nTop == 0 ? 0 : SumRowHeights(0, nTop - 1));
    for (ROWCOL c = nTop; c <= nBottom; ++c) {
        const ROWCOL r = ClientRowToRow(c);
        if (r > nRowCount)
            break;
        const int h = GetRowHeight(r);
        ctx.rows.Add(r);
        ctx.rowHeights.Add(h);
        ctx.rowTops.Add(y);
        y += h;
        if (y > g.bottom && h > 0 && c > nTop && y - h >= g.bottom)
            break;
    }
    int x = g.left + (nLeft == 0 ? 0 : SumColWidths(0, nLeft - 1));
    for (ROWCOL c = nLeft; c <= nRight; ++c) {
        const ROWCOL col = ClientColToCol(c);
        if (col > nColCount)
            break;
        const int w = GetColWidth(col);
        ctx.cols.Add(col);
        ctx.colWidths.Add(w);
        ctx.colLefts.Add(x);
        x += w;
        if (x > g.right && w > 0 && c > nLeft && x - w >= g.right)
            break;
    }
    ctx.nRows = static_cast<ROWCOL>(ctx.rows.GetSize());
    ctx.nCols = static_cast<ROWCOL>(ctx.cols.GetSize());
    if (ctx.nRows == 0 || ctx.nCols == 0) {
        m_pDrawContext = pPrevious;
        --m_nDrawDepth;
        return;
    }
    ctx.styles.SetSize(static_cast<INT_PTR>(ctx.nRows) * ctx.nCols);
    ctx.flags.SetSize(static_cast<INT_PTR>(ctx.nRows) * ctx.nCols);

    if (m_bCurrentCellValid && !m_bKeepCurrentStyle) {
        for (ROWCOL i = 0; i < ctx.nRows; ++i)
            if (ctx.rows[i] == m_nCurrentRow) {
                delete m_pCurrentStyle;
                m_pCurrentStyle = nullptr;
                break;
            }
    }

    // Prepare the cells. A span (covered, merged or floated cells) is drawn
    // once per frozen pane it reaches, from the first of its cells met there.
    struct SpanPart
    {
        CGXRange span;
        ROWCOL iLast, jLast;
    };
    std::vector<SpanPart> parts;
    std::vector<int> partOf(static_cast<size_t>(ctx.nRows) * ctx.nCols, -1);
    const ROWCOL FR = ctx.nFrozenRows, FC = ctx.nFrozenCols;
    auto lineFlags = [&](const CGXStyle& st, ROWCOL r, ROWCOL c) {
        BOOL b[4];
        for (int s = 0; s < 4; ++s)
            b[s] = st.HasBorder(s) && st.GetBorders(s).lopnStyle != PS_NULL;
        return GXCellLineFlags(b, bRB, r, c, ctx.nHeaderRows, ctx.nHeaderCols, FR, FC);
    };
    for (ROWCOL i = 0; i < ctx.nRows; ++i) {
        const ROWCOL r = ctx.rows[i];
        for (ROWCOL j = 0; j < ctx.nCols; ++j) {
            const ROWCOL c = ctx.cols[j];
            WORD& f = ctx.Flags(i, j);
            CGXRange span;
            const BOOL bCovered = !(f & GX_CF_SPAN) && GetCoveredCellsRowCol(r, c, span);
            const BOOL bSpan = !(f & GX_CF_SPAN) && (bCovered || GetCellRangeRowCol(r, c, span)) &&
                               (span.top != span.bottom || span.left != span.right);
            if (bSpan) {
                const CGXStyle& st = GetCellStyle(span.top, span.left);
                const WORD spanLines = lineFlags(st, span.top, span.left);
                const WORD wKind = GX_CF_SPAN | (bCovered ? GX_CF_COVERED : 0);
                SpanPart part{span, i, j};
                for (ROWCOL ii = i; ii < ctx.nRows; ++ii) {
                    const ROWCOL rr = ctx.rows[ii];
                    if (rr > span.bottom || (rr <= FR) != (r <= FR))
                        break;
                    part.iLast = ii;
                    for (ROWCOL jj = j; jj < ctx.nCols; ++jj) {
                        const ROWCOL cc = ctx.cols[jj];
                        if (cc > span.right || (cc <= FC) != (c <= FC))
                            break;
                        if (ii == i)
                            part.jLast = jj;
                        WORD g = wKind | (ii == i && jj == j ? 0 : GX_CF_SPANFOLLOW);
                        // Lines and dividers only along the span's own edges.
                        const BOOL bLineCol = bRB ? cc == span.right : cc == span.left;
                        const BOOL bLineRow = bRB ? rr == span.bottom : rr == span.top;
                        if (bLineCol)
                            g |= spanLines & GX_CF_VLINE;
                        if (bLineRow)
                            g |= spanLines & GX_CF_HLINE;
                        if (cc == span.right && span.right == FC && FC > ctx.nHeaderCols && !st.HasBorder(gxBorderRight))
                            g |= GX_CF_FROZENCOL;
                        if (rr == span.bottom && span.bottom == FR && FR > ctx.nHeaderRows && !st.HasBorder(gxBorderBottom))
                            g |= GX_CF_FROZENROW;
                        if (ctx.rowHeights[ii] == 0 || ctx.colWidths[jj] == 0)
                            g &= ~(GX_CF_VLINE | GX_CF_HLINE | GX_CF_FROZENCOL | GX_CF_FROZENROW);
                        ctx.Flags(ii, jj) = g;
                        ctx.styles[ii * ctx.nCols + jj] = const_cast<CGXStyle*>(&st);
                    }
                }
                if (ctx.bColor)
                    f |= GX_CF_BACKGROUND;
                partOf[i * ctx.nCols + j] = static_cast<int>(parts.size());
                parts.push_back(part);
            } else if (!(f & GX_CF_SPAN)) {
                const CGXStyle& st = GetCellStyle(r, c);
                ctx.styles[i * ctx.nCols + j] = const_cast<CGXStyle*>(&st);
                if (ctx.rowHeights[i] > 0 && ctx.colWidths[j] > 0)
                    f = lineFlags(st, r, c);
            }
            if (ctx.bSelection && IsCellInRangeList(r, c, &m_pParam->m_selRanges))
                f |= GX_CF_SELECTED;
        }
    }

    const BOOL bArea = m_bAreaMode || m_pParam->m_bAreaBackground;
    const COLORREF background = m_bPrinting ? RGB(255, 255, 255) : PropColor(m_pParam, GX_COLOR_BACKGROUND, RGB(192, 192, 192));
    const COLORREF gridColor = !ctx.bColor ? 0 : PropColor(m_pParam, GX_COLOR_GRIDLINES, RGB(128, 128, 128));
    const COLORREF fixedColor = !ctx.bColor ? 0 : PropColor(m_pParam, GX_COLOR_FIXEDLINES, RGB(0, 0, 128));
    const BOOL bLastCol = ctx.cols[ctx.nCols - 1] == nColCount;
    const BOOL bLastRow = ctx.rows[ctx.nRows - 1] == nRowCount;
    const int blockRight = ctx.colLefts[ctx.nCols - 1] + ctx.colWidths[ctx.nCols - 1];
    const int blockBottom = ctx.rowTops[ctx.nRows - 1] + ctx.rowHeights[ctx.nRows - 1];

    auto fillBeyond = [&]() {
        if (bLastCol && blockRight < g.right) {
            CRect r(blockRight, ctx.rowTops[0], g.right, std::min<int>(g.bottom, blockBottom + 5));
            FillRectColor(pDC, r.left, r.top, r.Width(), r.Height(), background);
            if (bVert && !bRB) {
                const int len = std::min(g.Height(), SumRowHeights(0, RowToClientRow(nRowCount), g.Height()) + 1);
                DrawGridLine(pDC, blockRight, g.top, 1, len, 1, 0, 0);
            }
        }
        if (bLastRow && blockBottom < g.bottom) {
            CRect r(g.left, blockBottom, g.right, g.bottom);
            FillRectColor(pDC, r.left, r.top, r.Width(), r.Height(), background);
            if (bHorz && !bRB) {
                const int len = std::min(g.Width(), SumColWidths(0, ColToClientCol(nColCount), g.Width()) + 1);
                DrawGridLine(pDC, g.left, blockBottom, len, 1, 0, 0, 0);
            }
        }
    };

    const CGXStyle* pStandard = m_pStyleStandard;
    auto drawSpan = [&](ROWCOL i, ROWCOL j) {
        const SpanPart& part = parts[static_cast<size_t>(partOf[i * ctx.nCols + j])];
        const CGXRange& span = part.span;
        const CGXStyle& st = *ctx.Style(i, j);
        // The part shows its share of the span laid out as if all of it were visible.
        CRect clip(ctx.colLefts[j], ctx.rowTops[i], ctx.colLefts[part.jLast] + ctx.colWidths[part.jLast],
                   ctx.rowTops[part.iLast] + ctx.rowHeights[part.iLast]);
        CRect rect;
        rect.left = clip.left - (ctx.cols[j] > span.left ? CalcSumOfColWidths(span.left, ctx.cols[j] - 1) : 0);
        rect.top = clip.top - (ctx.rows[i] > span.top ? CalcSumOfRowHeights(span.top, ctx.rows[i] - 1) : 0);
        rect.right = rect.left + CalcSumOfColWidths(span.left, span.right);
        rect.bottom = rect.top + CalcSumOfRowHeights(span.top, span.bottom);
        if (!clip.IntersectRect(clip, ctx.rectClip))
            return;
        const int nSaved = pDC->SaveDC();
        pDC->IntersectClipRect(&clip);
        m_bDrawingSpan = TRUE;
        m_bCellBackground = (ctx.Flags(i, j) & GX_CF_BACKGROUND) != 0;
        DrawCell(pDC, span.top, span.left, rect, st);
        m_bCellBackground = FALSE;
        m_bDrawingSpan = FALSE;
        static const int order[4] = {gxBorderTop, gxBorderBottom, gxBorderLeft, gxBorderRight};
        for (int s : order)
            if (st.HasBorder(s))
                DrawBorder(st.GetBorders(s), rect, s, pDC, st.GetIncludeInterior() ? &st.GetInterior() : nullptr);
        pDC->RestoreDC(nSaved);
        ROWCOL cr, cc;
        if (GetCurrentCellPos(cr, cc) && span.Contains(cr, cc) && cr > 0 && cc > 0) {
            CGXControl* pControl = GetControlForId(static_cast<WORD>(st.GetControl()));
            if (pControl != nullptr && !(pControl->IsActive() && pControl->GetWnd() != nullptr)) {
                ctx.pCurrentControl = pControl;
                ctx.rectCurrent = SubtractBorders(rect, st, TRUE);
                ctx.rectCurrent.IntersectRect(ctx.rectCurrent, clip);
            }
        }
    };
    auto drawRowCells = [&](ROWCOL i) {
        for (ROWCOL j = 0; j < ctx.nCols; ++j) {
            const WORD f = ctx.Flags(i, j);
            if (f & GX_CF_SPANFOLLOW)
                continue;
            if (f & GX_CF_SPAN) {
                drawSpan(i, j);
                continue;
            }
            const CRect rect = ctx.CellRect(i, j);
            if (rect.IsRectEmpty())
                continue;
            const CGXStyle& st = *ctx.Style(i, j);
            const ROWCOL r = ctx.rows[i], c = ctx.cols[j];
            m_bCellBackground = (ctx.Flags(i, j) & GX_CF_BACKGROUND) != 0;
            DrawCell(pDC, r, c, rect, st);
            m_bCellBackground = FALSE;
            if (st.GetIncludeBorders()) {
                static const int order[4] = {gxBorderTop, gxBorderBottom, gxBorderLeft, gxBorderRight};
                for (int s : order)
                    if (st.HasBorder(s))
                        DrawBorder(st.GetBorders(s), rect, s, pDC, st.GetIncludeInterior() ? &st.GetInterior() : nullptr);
            }
            if (r > 0 && c > 0 && IsCurrentCellAt(r, c)) {
                CGXControl* pControl = GetControlForId(static_cast<WORD>(st.GetControl()));
                if (pControl != nullptr && !(pControl->IsActive() && pControl->GetWnd() != nullptr)) {
                    ctx.pCurrentControl = pControl;
                    ctx.rectCurrent = SubtractBorders(rect, st, TRUE);
                }
            }
        }
    };

    CArray<int, int> runFirst, runLast;
    runFirst.SetSize(ctx.nCols);
    runLast.SetSize(ctx.nCols);
    CPtrArray interiors;
    interiors.SetSize(ctx.nCols);
    BOOL bFrameDrawn = FALSE;
    if (!bArea) {
        for (ROWCOL i = 0; i < ctx.nRows; ++i) {
            for (ROWCOL j = 0; j < ctx.nCols; ++j) {
                const CGXStyle* st = ctx.Style(i, j);
                interiors[j] = st != nullptr ? const_cast<GXBrushRecord*>(&st->GetInterior()) : nullptr;
            }
            const int n = GXMergeBackgroundRuns(&ctx.Flags(i, 0), reinterpret_cast<const GXBrushRecord* const*>(interiors.GetData()),
                                                static_cast<int>(ctx.nCols), runFirst.GetData(), runLast.GetData());
            for (int k = 0; k < n; ++k) {
                const ROWCOL a = runFirst[k], b = runLast[k];
                CRect r(ctx.colLefts[a], ctx.rowTops[i], ctx.colLefts[b] + ctx.colWidths[b], ctx.rowTops[i] + ctx.rowHeights[i]);
                GXBrushRecord br = ctx.Style(i, a)->GetInterior();
                if (!ctx.bColor)
                    br = br.lbStyle == BS_SOLID ? GXBrushRecord(BS_SOLID, RGB(255, 255, 255)) : GXBrushRecord(br.lbStyle, 0, br.lbHatch);
                FillRectWithBrush(pDC, r, br);
            }
            drawRowCells(i);
            if (!bFrameDrawn && ctx.pCurrentControl != nullptr && !ctx.rectCurrent.IsRectEmpty()) {
                ctx.pCurrentControl->InvertArea(pDC, ctx.rectCurrent);
                bFrameDrawn = TRUE;
            }
            if (bHorz)
                DrawLines(*this, ctx, TRUE, i, gridColor, fixedColor, bRB);
        }
        fillBeyond();
        if (bVert)
            for (ROWCOL j = 0; j < ctx.nCols; ++j)
                DrawLines(*this, ctx, FALSE, j, gridColor, fixedColor, bRB);
    } else {
        m_bAreaMode = TRUE;
        const GXBrushRecord standard = pStandard != nullptr ? pStandard->GetInterior() : GXBrushRecord(BS_SOLID, RGB(255, 255, 255));
        FillRectWithBrush(pDC, CRect(ctx.colLefts[0], ctx.rowTops[0], blockRight, blockBottom), standard);
        fillBeyond();
        for (ROWCOL i = 0; i < ctx.nRows; ++i) {
            for (ROWCOL j = 0; j < ctx.nCols; ++j) {
                const CGXStyle* st = ctx.Style(i, j);
                if (st != nullptr && st->GetInterior() != standard)
                    ctx.Flags(i, j) |= GX_CF_BACKGROUND;
            }
            const int nSavedRow = pDC->SaveDC();
            pDC->IntersectClipRect(g.left, ctx.rowTops[i], g.right, ctx.rowTops[i] + ctx.rowHeights[i]);
            drawRowCells(i);
            pDC->RestoreDC(nSavedRow);
        }
        if (bVert)
            for (ROWCOL j = 0; j < ctx.nCols; ++j)
                DrawLines(*this, ctx, FALSE, j, gridColor, fixedColor, bRB);
        if (bHorz)
            for (ROWCOL i = 0; i < ctx.nRows; ++i)
                DrawLines(*this, ctx, TRUE, i, gridColor, fixedColor, bRB);
        if (ctx.pCurrentControl != nullptr && !ctx.rectCurrent.IsRectEmpty())
            ctx.pCurrentControl->InvertArea(pDC, ctx.rectCurrent);
    }

    if (ctx.bSelection) {
        for (ROWCOL i = 0; i < ctx.nRows; ++i)
            for (ROWCOL j = 0; j < ctx.nCols; ++j)
                if (ctx.Flags(i, j) & GX_CF_SELECTED)
                    InvertCell(pDC, ctx.rows[i], ctx.cols[j], ctx.CellRect(i, j));
    }

    m_pDrawContext = pPrevious;
    --m_nDrawDepth;
}

void CGXGridEngine::DrawCell(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CRect& rect, const CGXStyle& style)
{
    CGXControl* pControl = GetControlForId(static_cast<WORD>(style.GetControl()));
    if (pControl == nullptr)
        return;
    if (nRow > 0 && nCol > 0 && IsCurrentCellAt(nRow, nCol) && !pControl->IsActiveAt(nRow, nCol))
        pControl->Init(nRow, nCol);
    pControl->Draw(pDC, rect, nRow, nCol, style, m_pStyleStandard);
}

void CGXGridEngine::InvertCell(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CRect& rect)
{
    const BOOL bCurrent = IsCurrentCellAt(nRow, nCol);
    if (!bCurrent || m_bInvertCurrentOnce || (m_pParam != nullptr && m_pParam->m_wCurrentCellHighlight == 1))
        pDC->InvertRect(&rect);
    if (bCurrent && m_pParam != nullptr && m_pParam->m_bCurrentCellFrame) {
        CRect bands[4];
        GXCurrentCellFrameBands(rect, m_pParam->m_bLinesAtRightBottom, bands);
        for (const CRect& b : bands)
            pDC->InvertRect(&b);
    }
    m_bInvertCurrentOnce = FALSE;
}
