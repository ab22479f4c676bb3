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
enum { GX_COLOR_FIXEDLINES = 1, GX_COLOR_BACKGROUND = 4 };

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
void DrawLines(CGXGridEngine& e, GXDrawContext& ctx, BOOL bRows, ROWCOL k)
{
    const BOOL bRB = ctx.bLinesAtRightBottom;
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
                    FillRectColor(ctx.pDC, from, at, to - from, 1, ctx.fixedColor);
                } else {
                    FillRectColor(ctx.pDC, at, from, 1, to - from, ctx.fixedColor);
                }
            }
            i = j;
        }
    }
}
} // namespace

// The block's steps: the draw context is set up for the paint and laid out over the block's rows
// and columns, every cell is prepared (style, border and line flags, spans, selection), the cells
// are drawn by one of the two background strategies, and the selected cells are inverted last.
void CGXGridEngine::DrawCellRange(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight, CDC* pDC)
{
    if (m_pParam == nullptr || nBottom < nTop || nRight < nLeft)
        return;
    // Block drawing nests: the depth and the context pointer are put back at the end.
    ++m_nDrawDepth;
    GXDrawContext ctx;
    GXDrawContext* pPrevious = m_pDrawContext;
    m_pDrawContext = &ctx;
    BeginDrawContext(ctx, pDC);
    if (LayOutDrawBlock(ctx, nTop, nLeft, nBottom, nRight)) {
        ForgetCurrentCellStyle(ctx);
        PrepareDrawCells(ctx);
        if (m_bAreaMode || m_pParam->m_bAreaBackground)
            DrawBlockOverArea(ctx);
        else
            DrawBlockByRows(ctx);
        InvertSelectedCells(ctx);
    }
    m_pDrawContext = pPrevious;
    --m_nDrawDepth;
}

void CGXGridEngine::BeginDrawContext(GXDrawContext& ctx, CDC* pDC)
{
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
    ctx.bLinesAtRightBottom = m_pParam->m_bLinesAtRightBottom;
    ctx.bHorzLines = pProp != nullptr && pProp->GetDisplayHorzLines();
    ctx.bVertLines = pProp != nullptr && pProp->GetDisplayVertLines();
    GetGridRect(&ctx.rectGrid);
    ctx.nRowCount = GetRowCount();
    ctx.nColCount = GetColCount();
    ctx.background = m_bPrinting ? RGB(255, 255, 255) : PropColor(m_pParam, GX_COLOR_BACKGROUND, RGB(192, 192, 192));
    ctx.fixedColor = !ctx.bColor ? 0 : PropColor(m_pParam, GX_COLOR_FIXEDLINES, RGB(0, 0, 128));
}

namespace {
// The block's rows (bRows) or columns from client index nFrom to nTo that exist, with their
// absolute numbers, sizes and positions; the list ends after the first one past the grid's far
// edge.
void LayOutAxis(CGXGridEngine& e, BOOL bRows, const GXDrawContext& ctx, ROWCOL nFrom, ROWCOL nTo, CDWordArray& lines,
                CArray<int, int>& sizes, CArray<int, int>& starts)
{
    using namespace gxaxis;
    const CRect& g = ctx.rectGrid;
    const ROWCOL nCount = bRows ? ctx.nRowCount : ctx.nColCount;
    int pos = Start(g, bRows) + (nFrom == 0 ? 0 : SumClient(e, bRows, 0, nFrom - 1));
    for (ROWCOL c = nFrom; c <= nTo; ++c) {
        const ROWCOL n = FromClient(e, bRows, c);
        if (n > nCount)
            break;
        const int size = Size(e, bRows, n);
        lines.Add(n);
        sizes.Add(size);
        starts.Add(pos);
        pos += size;
        if (pos > End(g, bRows) && size > 0 && c > nFrom && pos - size >= End(g, bRows))
            break;
    }
}
} // namespace

BOOL CGXGridEngine::LayOutDrawBlock(GXDrawContext& ctx, ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    LayOutAxis(*this, TRUE, ctx, nTop, nBottom, ctx.rows, ctx.rowHeights, ctx.rowTops);
    LayOutAxis(*this, FALSE, ctx, nLeft, nRight, ctx.cols, ctx.colWidths, ctx.colLefts);
    ctx.nRows = static_cast<ROWCOL>(ctx.rows.GetSize());
    ctx.nCols = static_cast<ROWCOL>(ctx.cols.GetSize());
    if (ctx.nRows == 0 || ctx.nCols == 0)
        return FALSE;
    ctx.styles.SetSize(static_cast<INT_PTR>(ctx.nRows) * ctx.nCols);
    ctx.flags.SetSize(static_cast<INT_PTR>(ctx.nRows) * ctx.nCols);
    ctx.spanPartAt.assign(static_cast<size_t>(ctx.nRows) * ctx.nCols, -1);
    return TRUE;
}

// The current cell's style is composed afresh when its row is drawn (unless it is to be kept).
void CGXGridEngine::ForgetCurrentCellStyle(GXDrawContext& ctx)
{
    if (!m_bCurrentCellValid || m_bKeepCurrentStyle)
        return;
    for (ROWCOL i = 0; i < ctx.nRows; ++i)
        if (ctx.rows[i] == m_nCurrentRow) {
            delete m_pCurrentStyle;
            m_pCurrentStyle = nullptr;
            break;
        }
}

namespace {
// The border and line flags a style gives the cell (nRow, nCol) of the block.
WORD StyleLineFlags(const GXDrawContext& ctx, const CGXStyle& st, ROWCOL nRow, ROWCOL nCol)
{
    BOOL b[4];
    for (int s = 0; s < 4; ++s)
        b[s] = st.HasBorder(s) && st.GetBorders(s).lopnStyle != PS_NULL;
    return GXCellLineFlags(b, ctx.bLinesAtRightBottom, nRow, nCol, ctx.nHeaderRows, ctx.nHeaderCols, ctx.nFrozenRows,
                           ctx.nFrozenCols);
}
} // namespace

// Every cell gets its style and flags. A span (covered, merged or floated cells) is drawn once per
// frozen pane it reaches, from the first of its cells met there.
void CGXGridEngine::PrepareDrawCells(GXDrawContext& ctx)
{
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
                MarkSpanCells(ctx, i, j, span, bCovered);
            } else if (!(f & GX_CF_SPAN)) {
                const CGXStyle& st = GetCellStyle(r, c);
                ctx.styles[i * ctx.nCols + j] = const_cast<CGXStyle*>(&st);
                if (ctx.rowHeights[i] > 0 && ctx.colWidths[j] > 0)
                    f = StyleLineFlags(ctx, st, r, c);
            }
            if (ctx.bSelection && IsCellInRangeList(r, c, &m_pParam->m_selRanges))
                ctx.Flags(i, j) |= GX_CF_SELECTED;
        }
    }
}

// The span's part in this frozen pane, from block cell (i, j) on: every cell shares the style of
// the span's top-left cell; lines and dividers lie only along the span's own edges.
void CGXGridEngine::MarkSpanCells(GXDrawContext& ctx, ROWCOL i, ROWCOL j, const CGXRange& span, BOOL bCovered)
{
    const ROWCOL r = ctx.rows[i], c = ctx.cols[j];
    const ROWCOL FR = ctx.nFrozenRows, FC = ctx.nFrozenCols;
    const BOOL bRB = ctx.bLinesAtRightBottom;
    const CGXStyle& st = GetCellStyle(span.top, span.left);
    const WORD spanLines = StyleLineFlags(ctx, st, span.top, span.left);
    const WORD wKind = GX_CF_SPAN | (bCovered ? GX_CF_COVERED : 0);
    GXDrawSpanPart part{span, i, j};
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
        ctx.Flags(i, j) |= GX_CF_BACKGROUND;
    ctx.spanPartAt[i * ctx.nCols + j] = static_cast<int>(ctx.spanParts.size());
    ctx.spanParts.push_back(part);
}

// The default strategy: row by row, equal backgrounds filled in runs, the cells, the current
// cell's frame once, the row's horizontal lines; then the area beyond the last row and column and
// every column's vertical lines.
void CGXGridEngine::DrawBlockByRows(GXDrawContext& ctx)
{
    BOOL bFrameDrawn = FALSE;
    for (ROWCOL i = 0; i < ctx.nRows; ++i) {
        FillBackgroundRuns(ctx, i);
        DrawRowCells(ctx, i);
        if (!bFrameDrawn && ctx.pCurrentControl != nullptr && !ctx.rectCurrent.IsRectEmpty()) {
            ctx.pCurrentControl->InvertArea(ctx.pDC, ctx.rectCurrent);
            bFrameDrawn = TRUE;
        }
        if (ctx.bHorzLines)
            DrawLines(*this, ctx, TRUE, i);
    }
    FillBeyondLastRowCol(ctx);
    if (ctx.bVertLines)
        for (ROWCOL j = 0; j < ctx.nCols; ++j)
            DrawLines(*this, ctx, FALSE, j);
}

// The area strategy: the whole block in the standard interior first, cells of another interior
// fill their own; each row's cells are clipped to the row; all lines and the current cell's frame
// come last.
void CGXGridEngine::DrawBlockOverArea(GXDrawContext& ctx)
{
    CDC* pDC = ctx.pDC;
    const CRect& g = ctx.rectGrid;
    m_bAreaMode = TRUE;
    const CGXStyle* pStandard = m_pStyleStandard;
    const GXBrushRecord standard = pStandard != nullptr ? pStandard->GetInterior() : GXBrushRecord(BS_SOLID, RGB(255, 255, 255));
    FillRectWithBrush(pDC, CRect(ctx.colLefts[0], ctx.rowTops[0], ctx.BlockRight(), ctx.BlockBottom()), standard);
    FillBeyondLastRowCol(ctx);
    for (ROWCOL i = 0; i < ctx.nRows; ++i) {
        for (ROWCOL j = 0; j < ctx.nCols; ++j) {
            const CGXStyle* st = ctx.Style(i, j);
            if (st != nullptr && st->GetInterior() != standard)
                ctx.Flags(i, j) |= GX_CF_BACKGROUND;
        }
        const int nSavedRow = pDC->SaveDC();
        pDC->IntersectClipRect(g.left, ctx.rowTops[i], g.right, ctx.rowTops[i] + ctx.rowHeights[i]);
        DrawRowCells(ctx, i);
        pDC->RestoreDC(nSavedRow);
    }
    if (ctx.bVertLines)
        for (ROWCOL j = 0; j < ctx.nCols; ++j)
            DrawLines(*this, ctx, FALSE, j);
    if (ctx.bHorzLines)
        for (ROWCOL i = 0; i < ctx.nRows; ++i)
            DrawLines(*this, ctx, TRUE, i);
    if (ctx.pCurrentControl != nullptr && !ctx.rectCurrent.IsRectEmpty())
        ctx.pCurrentControl->InvertArea(pDC, ctx.rectCurrent);
}

// Runs of two or more cells of one row with equal interiors are filled at once (black and white
// while printing so); a lone cell keeps its mark and fills its own background.
void CGXGridEngine::FillBackgroundRuns(GXDrawContext& ctx, ROWCOL i)
{
    std::vector<const GXBrushRecord*> interiors(ctx.nCols);
    std::vector<int> runFirst(ctx.nCols), runLast(ctx.nCols);
    for (ROWCOL j = 0; j < ctx.nCols; ++j) {
        const CGXStyle* st = ctx.Style(i, j);
        interiors[j] = st != nullptr ? &st->GetInterior() : nullptr;
    }
    const int n = GXMergeBackgroundRuns(&ctx.Flags(i, 0), interiors.data(), static_cast<int>(ctx.nCols),
                                        runFirst.data(), runLast.data());
    for (int k = 0; k < n; ++k) {
        const ROWCOL a = runFirst[k], b = runLast[k];
        CRect r(ctx.colLefts[a], ctx.rowTops[i], ctx.colLefts[b] + ctx.colWidths[b], ctx.rowTops[i] + ctx.rowHeights[i]);
        GXBrushRecord br = ctx.Style(i, a)->GetInterior();
        if (!ctx.bColor)
            br = br.lbStyle == BS_SOLID ? GXBrushRecord(BS_SOLID, RGB(255, 255, 255)) : GXBrushRecord(br.lbStyle, 0, br.lbHatch);
        FillRectWithBrush(ctx.pDC, r, br);
    }
}

// The cells of one block row through their controls, each span part from its first cell.
void CGXGridEngine::DrawRowCells(GXDrawContext& ctx, ROWCOL i)
{
    for (ROWCOL j = 0; j < ctx.nCols; ++j) {
        const WORD f = ctx.Flags(i, j);
        if (f & GX_CF_SPANFOLLOW)
            continue;
        if (f & GX_CF_SPAN) {
            DrawSpanPart(ctx, i, j);
            continue;
        }
        const CRect rect = ctx.CellRect(i, j);
        if (rect.IsRectEmpty())
            continue;
        const CGXStyle& st = *ctx.Style(i, j);
        const ROWCOL r = ctx.rows[i], c = ctx.cols[j];
        m_bCellBackground = (f & GX_CF_BACKGROUND) != 0;
        DrawCell(ctx.pDC, r, c, rect, st);
        m_bCellBackground = FALSE;
        DrawStyleBorders(ctx.pDC, st, rect);
        if (r > 0 && c > 0 && IsCurrentCellAt(r, c))
            NoteCurrentControl(ctx, st, rect);
    }
}

// A span part shows its share of the span laid out as if all of it were visible, clipped to the
// part.
void CGXGridEngine::DrawSpanPart(GXDrawContext& ctx, ROWCOL i, ROWCOL j)
{
    CDC* pDC = ctx.pDC;
    const GXDrawSpanPart& part = ctx.spanParts[static_cast<size_t>(ctx.spanPartAt[i * ctx.nCols + j])];
    const CGXRange& span = part.span;
    const CGXStyle& st = *ctx.Style(i, j);
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
    DrawStyleBorders(pDC, st, rect);
    pDC->RestoreDC(nSaved);
    ROWCOL cr, cc;
    if (GetCurrentCellPos(cr, cc) && span.Contains(cr, cc) && cr > 0 && cc > 0 && NoteCurrentControl(ctx, st, rect))
        ctx.rectCurrent.IntersectRect(ctx.rectCurrent, clip);
}

void CGXGridEngine::DrawStyleBorders(CDC* pDC, const CGXStyle& st, const CRect& rect)
{
    static const int order[4] = {gxBorderTop, gxBorderBottom, gxBorderLeft, gxBorderRight};
    for (int s : order)
        if (st.HasBorder(s))
            DrawBorder(st.GetBorders(s), rect, s, pDC, st.GetIncludeInterior() ? &st.GetInterior() : nullptr);
}

// The current cell's control draws its frame after the cells, over the cell less its borders,
// unless a window of its own shows it.
BOOL CGXGridEngine::NoteCurrentControl(GXDrawContext& ctx, const CGXStyle& st, const CRect& rect)
{
    CGXControl* pControl = GetControlForId(static_cast<WORD>(st.GetControl()));
    if (pControl == nullptr || (pControl->IsActive() && pControl->GetWnd() != nullptr))
        return FALSE;
    ctx.pCurrentControl = pControl;
    ctx.rectCurrent = SubtractBorders(rect, st, TRUE);
    return TRUE;
}

// The area right of the last column and below the last row, with the closing lines.
void CGXGridEngine::FillBeyondLastRowCol(GXDrawContext& ctx)
{
    CDC* pDC = ctx.pDC;
    const CRect& g = ctx.rectGrid;
    const int blockRight = ctx.BlockRight(), blockBottom = ctx.BlockBottom();
    if (ctx.HasLastCol() && blockRight < g.right) {
        CRect r(blockRight, ctx.rowTops[0], g.right, std::min<int>(g.bottom, blockBottom + 5));
        FillRectColor(pDC, r.left, r.top, r.Width(), r.Height(), ctx.background);
        if (ctx.bVertLines && !ctx.bLinesAtRightBottom) {
            const int len = std::min(g.Height(), SumRowHeights(0, RowToClientRow(ctx.nRowCount), g.Height()) + 1);
            DrawGridLine(pDC, blockRight, g.top, 1, len, 1, 0, 0);
        }
    }
    if (ctx.HasLastRow() && blockBottom < g.bottom) {
        CRect r(g.left, blockBottom, g.right, g.bottom);
        FillRectColor(pDC, r.left, r.top, r.Width(), r.Height(), ctx.background);
        if (ctx.bHorzLines && !ctx.bLinesAtRightBottom) {
            const int len = std::min(g.Width(), SumColWidths(0, ColToClientCol(ctx.nColCount), g.Width()) + 1);
            DrawGridLine(pDC, g.left, blockBottom, len, 1, 0, 0, 0);
        }
    }
}

void CGXGridEngine::InvertSelectedCells(GXDrawContext& ctx)
{
    if (!ctx.bSelection)
        return;
    for (ROWCOL i = 0; i < ctx.nRows; ++i)
        for (ROWCOL j = 0; j < ctx.nCols; ++j)
            if (ctx.Flags(i, j) & GX_CF_SELECTED)
                InvertCell(ctx.pDC, ctx.rows[i], ctx.cols[j], ctx.CellRect(i, j));
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
