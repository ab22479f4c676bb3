// Grid windows under Wine, checked pixel by pixel against the engine's own
// geometry and colours.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "afxsplit.h"
#include "afxview.h"
#include "afxwndtest.h"
#include "grid_test_util.h"
#include "gxaxis.h"
#include "gxdraw.h"
#include "gxhint.h"
#include "gxresrc.h"
#include "gxutil.h"
#include "gxwnd.h"
#include <algorithm>
#include <functional>

namespace {
const COLORREF kMarker = RGB(0, 128, 0);

// Fills its cell when the engine leaves the background to it and draws a
// solid 3 x 3 marker, so that pixels do not depend on fonts.
class CMarkerControl : public CGXControl
{
public:
    using CGXControl::CGXControl;
    void Draw(CDC* pDC, CRect rect, ROWCOL, ROWCOL, const CGXStyle& style, const CGXStyle*) override
    {
        if (Grid()->IsCellBackgroundToDraw())
            FillRectColor(pDC, rect.left, rect.top, rect.Width(), rect.Height(), style.GetInterior().lbColor);
        if (rect.Width() > 8 && rect.Height() > 8)
            FillRectColor(pDC, rect.left + 4, rect.top + 4, 3, 3, kMarker);
        ++nDraws;
    }
    // Cells measure the number they hold, both ways.
    CSize CalcSize(CDC*, ROWCOL, ROWCOL, const CGXStyle& style, const CGXStyle*, BOOL) override
    {
        const int n = std::atoi(style.GetValue());
        return CSize(n, n);
    }
    // Numbers float over empty neighbours.
    BOOL CanFloatCell(ROWCOL, ROWCOL, const CGXStyle& style, BOOL bFloat) override
    {
        return bFloat ? !style.GetValue().IsEmpty() : style.GetValue().IsEmpty();
    }
    int nDraws = 0;
};

class CDrawGrid : public CGXGridWnd
{
public:
    int nRanges = 0;
    int nPaints = 0;
    std::vector<std::string> events;
    CMarkerControl* pMarker = nullptr;
    void DrawCellRange(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r, CDC* pDC) override
    {
        ++nRanges;
        CGXGridWnd::DrawCellRange(t, l, b, r, pDC);
    }
    void OnGridDraw(CDC* pDC) override
    {
        ++nPaints;
        CGXGridWnd::OnGridDraw(pDC);
    }
    BOOL HandleCancelMode() override
    {
        events.push_back("cancelmode");
        return TRUE;
    }
    BOOL HandleMouseMove(UINT, CPoint) override
    {
        events.push_back("mousemove " + std::to_string(AfxGetTickCount()));
        if (nEndAfterMoves > 0 && --nEndAfterMoves == 0)
            PostMessage(WM_LBUTTONUP, 0, 0);
        return TRUE;
    }
    int nEndAfterMoves = 0;
    // A covered range, answered by the span lookup.
    CGXRange covered;
    BOOL GetCoveredCellsRowCol(ROWCOL nRow, ROWCOL nCol, CGXRange& range) override
    {
        if (!covered.IsValid())
            return CGXGridWnd::GetCoveredCellsRowCol(nRow, nCol, range);
        if (!covered.Contains(nRow, nCol))
            return FALSE;
        range = covered;
        return TRUE;
    }
};

// The client area as 0xRRGGBB values.
struct Picture
{
    int cx = 0, cy = 0;
    std::vector<COLORREF> px;
    COLORREF At(int x, int y) const { return px[static_cast<size_t>(y) * cx + x]; }
    COLORREF& At(int x, int y) { return px[static_cast<size_t>(y) * cx + x]; }
    void Fill(int x, int y, int w, int h, COLORREF c)
    {
        for (int j = std::max(0, y); j < std::min(cy, y + h); ++j)
            for (int i = std::max(0, x); i < std::min(cx, x + w); ++i)
                At(i, j) = c & 0xFFFFFF;
    }
};

Picture Capture(CWnd& wnd)
{
    wnd.UpdateWindow();
    CRect rc;
    wnd.GetClientRect(&rc);
    Picture p;
    p.cx = rc.Width();
    p.cy = rc.Height();
    HDC hdc = ::GetDC(wnd.GetSafeHwnd());
    HDC mem = ::CreateCompatibleDC(hdc);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = p.cx;
    bi.bmiHeader.biHeight = -p.cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, p.cx, p.cy, hdc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* d = static_cast<const DWORD*>(bits);
    p.px.resize(static_cast<size_t>(p.cx) * p.cy);
    for (size_t i = 0; i < p.px.size(); ++i)
        p.px[i] = RGB((d[i] >> 16) & 0xFF, (d[i] >> 8) & 0xFF, d[i] & 0xFF);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(wnd.GetSafeHwnd(), hdc);
    return p;
}

// How many pixels differ, and where the first one is.
std::string Diff(const Picture& a, const Picture& b, const CRect* pExclude = nullptr)
{
    if (a.cx != b.cx || a.cy != b.cy)
        return "sizes differ";
    int n = 0;
    std::string first;
    for (int y = 0; y < a.cy; ++y)
        for (int x = 0; x < a.cx; ++x) {
            if (pExclude != nullptr && pExclude->PtInRect(CPoint(x, y)))
                continue;
            if (a.At(x, y) != b.At(x, y)) {
                if (n++ == 0) {
                    char buf[96];
                    std::snprintf(buf, sizeof(buf), "first at %d,%d: %06lx vs %06lx", x, y,
                                  static_cast<unsigned long>(a.At(x, y)), static_cast<unsigned long>(b.At(x, y)));
                    first = buf;
                }
            }
        }
    return n == 0 ? std::string() : std::to_string(n) + " pixels differ, " + first;
}

BOOL HasBorder(const CGXStyle& st, int s) { return st.HasBorder(s) && st.GetBorders(s).lopnStyle != PS_NULL; }

COLORREF Prop(CGXGridEngine& g, int n) { return ResolveSysColor(g.GetParam()->GetProperties()->GetColor(n)) & 0xFFFFFF; }

class DrawWindowTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    CDrawGrid* grid = nullptr;

    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "grid drawing", WS_POPUP | WS_VISIBLE, 0, 0, 700, 500,
                                   nullptr, nullptr));
    }
    void TearDown() override
    {
        if (grid != nullptr)
            delete grid;
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
    }
    void MakeGrid(ROWCOL nRows, ROWCOL nCols, DWORD style = 0, CRect rect = CRect(0, 0, 600, 300))
    {
        grid = new CDrawGrid;
        ASSERT_TRUE(grid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE | style, rect, &frame, 7));
        grid->InitGrid();
        grid->pMarker = new CMarkerControl(grid);
        grid->SetControlForId(52512, grid->pMarker, TRUE);
        grid->SetRowCount(nRows, 0);
        grid->SetColCount(nCols, 0);
    }
    // The 6 x 5 grid with interiors, borders, one frozen row and column.
    void MakeStyledGrid()
    {
        MakeGrid(6, 5);
        grid->SetFrozenRows(1, 0, 0);
        grid->SetFrozenCols(1, 0, 0);
        grid->SetStyleRange(CGXRange(2, 2, 2, 3), &CGXStyle().SetInterior(RGB(255, 0, 0)), gxOverride, 0, nullptr, 0);
        grid->SetStyleRange(CGXRange(4, 4), &CGXStyle().SetInterior(RGB(0, 0, 255)), gxOverride, 0, nullptr, 0);
        CGXStyle bordered;
        bordered.SetBorders(gxBorderLeft, GXPenRecord(PS_SOLID, 2, RGB(0, 0, 0)));
        bordered.SetBorders(gxBorderBottom, GXPenRecord(PS_SOLID, 1, RGB(200, 0, 200)));
        grid->SetStyleRange(CGXRange(3, 2), &bordered, gxOverride, 0, nullptr, 0);
        grid->Redraw(GX_UPDATENOW);
    }

    // What the grid should look like, built from its own geometry.
    Picture Expected()
    {
        CDrawGrid& g = *grid;
        Picture p;
        CRect rc;
        g.GetClientRect(&rc);
        p.cx = rc.Width();
        p.cy = rc.Height();
        p.px.assign(static_cast<size_t>(p.cx) * p.cy, 0xFFFFFFFF);
        CGXGridParam* param = g.GetParam();
        const BOOL bRB = param->m_bLinesAtRightBottom;
        const COLORREF gridColor = Prop(g, 0), fixed = Prop(g, 1), background = Prop(g, 4);
        const ROWCOL nRows = g.GetRowCount(), nCols = g.GetColCount();
        const ROWCOL FR = g.GetFrozenRows(), FC = g.GetFrozenCols();
        std::vector<ROWCOL> rows, cols;
        for (ROWCOL c = 0; g.ClientRowToRow(c) <= nRows; ++c)
            rows.push_back(g.ClientRowToRow(c));
        for (ROWCOL c = 0; g.ClientColToCol(c) <= nCols; ++c)
            cols.push_back(g.ClientColToCol(c));
        auto cellRect = [&](ROWCOL r, ROWCOL c) { return g.CalcRectFromRowColEx(r, c, r, c); };
        int bottom = 0, right = 0;
        for (ROWCOL r : rows) {
            for (ROWCOL c : cols) {
                const CRect cr = cellRect(r, c);
                if (cr.IsRectEmpty())
                    continue;
                bottom = std::max<int>(bottom, cr.bottom);
                right = std::max<int>(right, cr.right);
                const CGXStyle& st = g.GetCellStyle(r, c);
                p.Fill(cr.left, cr.top, cr.Width(), cr.Height(), ResolveSysColor(st.GetInterior().lbColor));
                if (cr.Width() > 8 && cr.Height() > 8)
                    p.Fill(cr.left + 4, cr.top + 4, 3, 3, kMarker);
                for (int s : {gxBorderTop, gxBorderBottom, gxBorderLeft, gxBorderRight}) {
                    if (!HasBorder(st, s))
                        continue;
                    const GXPenRecord& pen = st.GetBorders(s);
                    const int w = std::max(1, pen.lopnWidth);
                    if (s == gxBorderLeft)
                        p.Fill(cr.left, cr.top, w, cr.Height(), pen.lopnColor);
                    else if (s == gxBorderRight)
                        p.Fill(cr.right - w, cr.top, w, cr.Height(), pen.lopnColor);
                    else if (s == gxBorderTop)
                        p.Fill(cr.left, cr.top, cr.Width(), w, pen.lopnColor);
                    else
                        p.Fill(cr.left, cr.bottom - w, cr.Width(), w, pen.lopnColor);
                }
            }
            // Horizontal lines of the row, then its divider.
            for (ROWCOL c : cols) {
                const CRect cr = cellRect(r, c);
                const CGXStyle& st = g.GetCellStyle(r, c);
                if (cr.IsRectEmpty())
                    continue;
                if (!HasBorder(st, bRB ? gxBorderBottom : gxBorderTop))
                    p.Fill(cr.left, bRB ? cr.bottom - 1 : cr.top, cr.Width(), 1, gridColor);
            }
            for (ROWCOL c : cols) {
                const CRect cr = cellRect(r, c);
                if (!cr.IsRectEmpty() && r == FR && r > 0 && !HasBorder(g.GetCellStyle(r, c), gxBorderBottom))
                    p.Fill(cr.left, cr.bottom - 1, cr.Width(), 1, fixed);
            }
        }
        const int top = 0;
        p.Fill(right, top, p.cx - right, bottom + 5 - top, background);
        if (!bRB)
            p.Fill(right, 0, 1, std::min(p.cy, bottom + 1), gridColor);
        p.Fill(0, bottom, p.cx, p.cy - bottom, background);
        if (!bRB)
            p.Fill(0, bottom, std::min(p.cx, right + 1), 1, gridColor);
        for (ROWCOL c : cols) {
            for (ROWCOL r : rows) {
                const CRect cr = cellRect(r, c);
                if (!cr.IsRectEmpty() && !HasBorder(g.GetCellStyle(r, c), bRB ? gxBorderRight : gxBorderLeft))
                    p.Fill(bRB ? cr.right - 1 : cr.left, cr.top, 1, cr.Height(), gridColor);
            }
            for (ROWCOL r : rows) {
                const CRect cr = cellRect(r, c);
                if (!cr.IsRectEmpty() && c == FC && c > 0 && !HasBorder(g.GetCellStyle(r, c), gxBorderRight))
                    p.Fill(cr.right - 1, cr.top, 1, cr.Height(), fixed);
            }
        }
        return p;
    }
    Picture Fresh()
    {
        grid->Invalidate(FALSE);
        return Capture(*grid);
    }
};
} // namespace

TEST_F(DrawWindowTest, StyledGridMatchesItsGeometry)
{
    MakeStyledGrid();
    const Picture expected = Expected();
    EXPECT_EQ(Diff(Fresh(), expected), "");
    // The divider lies on the frozen column's right edge, the closing line after the last column.
    const CRect frozen = grid->CalcCellRect(3, 1), last = grid->CalcCellRect(3, 5);
    EXPECT_EQ(Fresh().At(frozen.right - 1, frozen.top + 5), Prop(*grid, 1));
    EXPECT_EQ(Fresh().At(last.right, last.top + 5), Prop(*grid, 0));
    EXPECT_EQ(Fresh().At(last.right + 5, last.top + 5), Prop(*grid, 4));

    // The same through a memory device context.
    grid->SetDrawingTechnique(1);
    EXPECT_EQ(Diff(Fresh(), expected), "");
    grid->SetDrawingTechnique(0);

    // Lines at right and bottom: no closing lines.
    grid->GetParam()->m_bLinesAtRightBottom = TRUE;
    grid->Redraw(GX_UPDATENOW);
    EXPECT_EQ(Diff(Fresh(), Expected()), "");
    grid->GetParam()->m_bLinesAtRightBottom = FALSE;
}

TEST_F(DrawWindowTest, ExplicitGridRectangleGetsAFrame)
{
    MakeStyledGrid();
    CRect r(20, 20, 400, 200);
    grid->SetGridRect(TRUE, &r);
    const Picture straight = Fresh();
    EXPECT_EQ(straight.At(19, 100), 0u);
    EXPECT_EQ(straight.At(400, 100), 0u);
    grid->SetDrawingTechnique(1);
    const Picture memory = Fresh();
    EXPECT_EQ(memory.At(20, 100), 0u);
    // Apart from the frame both techniques give the same pixels.
    CRect inner(r);
    inner.DeflateRect(1, 1);
    Picture a = straight, b = memory;
    for (int y = 0; y < a.cy; ++y)
        for (int x = 0; x < a.cx; ++x)
            if (!inner.PtInRect(CPoint(x, y)))
                a.At(x, y) = b.At(x, y) = 0;
    EXPECT_EQ(Diff(a, b), "");
}

TEST_F(DrawWindowTest, SelectionInvertsOnlyChangedCells)
{
    MakeStyledGrid();
    const Picture before = Fresh();
    grid->SelectRange(CGXRange(2, 2, 3, 3));
    const Picture after = Capture(*grid);
    for (int y = 0; y < after.cy; ++y)
        for (int x = 0; x < after.cx; ++x) {
            ROWCOL cr = 0, cc = 0;
            const BOOL in = grid->GetClientRowColFromPoint(CPoint(x, y), cr, cc);
            const ROWCOL r = grid->ClientRowToRow(cr), c = grid->ClientColToCol(cc);
            const BOOL sel = in && r >= 2 && r <= 3 && c >= 2 && c <= 3;
            ASSERT_EQ(after.At(x, y), sel ? (~before.At(x, y) & 0xFFFFFF) : before.At(x, y)) << x << "," << y;
        }
    // A paint shows the same; selecting again changes nothing.
    EXPECT_EQ(Diff(Fresh(), after), "");
    grid->SelectRange(CGXRange(2, 2, 3, 3));
    EXPECT_EQ(Diff(Capture(*grid), after), "");
    grid->GetParam()->m_selRanges.DeleteAll();
}

TEST_F(DrawWindowTest, CurrentCellInsideTheSelection)
{
    MakeStyledGrid();
    const Picture plain = Fresh();
    grid->PlaceCurrentCell(3, 3);
    grid->SelectRange(CGXRange(2, 2, 3, 3));
    const CRect cur = grid->CalcCellRect(3, 3);
    const CPoint mid = cur.CenterPoint();
    // The default mode leaves the current cell uninverted.
    EXPECT_EQ(Fresh().At(mid.x, mid.y), plain.At(mid.x, mid.y));
    grid->GetParam()->m_wCurrentCellHighlight = 1;
    EXPECT_EQ(Fresh().At(mid.x, mid.y), ~plain.At(mid.x, mid.y) & 0xFFFFFF);
    // The engine's own frame: bands inverted, the middle not.
    grid->GetParam()->m_wCurrentCellHighlight = 0;
    grid->GetParam()->m_bCurrentCellFrame = TRUE;
    const Picture framed = Fresh();
    EXPECT_EQ(framed.At(mid.x, mid.y), plain.At(mid.x, mid.y));
    CRect bands[4];
    GXCurrentCellFrameBands(cur, FALSE, bands);
    for (const CRect& b : bands) {
        const CPoint pt(b.left, b.top);
        EXPECT_EQ(framed.At(pt.x, pt.y), ~plain.At(pt.x, pt.y) & 0xFFFFFF) << pt.x << "," << pt.y;
    }
    EXPECT_EQ(framed.At(cur.left + 3, cur.top + 3), plain.At(cur.left + 3, cur.top + 3));
    grid->GetParam()->m_bCurrentCellFrame = FALSE;
    grid->GetParam()->m_selRanges.DeleteAll();
}

TEST_F(DrawWindowTest, LockedPaintsChangeNothing)
{
    MakeStyledGrid();
    const Picture before = Fresh();
    grid->GetParam()->m_bLockUpdate = TRUE;
    grid->SetStyleRange(CGXRange(1, 1, 5, 5), &CGXStyle().SetInterior(RGB(0, 255, 255)), gxOverride);
    const int ranges = grid->nRanges;
    EXPECT_EQ(Diff(Fresh(), before), "");
    EXPECT_EQ(grid->nRanges, ranges);
    grid->GetParam()->m_bLockUpdate = FALSE;
}

TEST_F(DrawWindowTest, PaintInWhichTheScrollBarAppearsDrawsNothing)
{
    MakeGrid(3, 3, WS_VSCROLL);
    Fresh();
    EXPECT_FALSE(grid->GetStyle() & WS_VSCROLL);
    // More rows than fit, without a refresh of the bars.
    grid->GetParam()->GetData()->StoreRowCount(100);
    const int ranges = grid->nRanges, paints = grid->nPaints;
    grid->Invalidate(FALSE);
    grid->UpdateWindow();
    EXPECT_TRUE(grid->GetStyle() & WS_VSCROLL);
    EXPECT_EQ(grid->nPaints, paints + 1);
    EXPECT_EQ(grid->nRanges, ranges);
    // The next paint draws the new layout.
    CRect update;
    EXPECT_TRUE(grid->GetUpdateRect(&update));
    grid->UpdateWindow();
    EXPECT_GT(grid->nRanges, ranges);
}

TEST_F(DrawWindowTest, HiddenRowsAndColumnsTakeNoPixels)
{
    MakeStyledGrid();
    grid->HideRows(2, 2, TRUE);
    grid->HideCols(3, 3, TRUE);
    EXPECT_EQ(Diff(Fresh(), Expected()), "");
    // The hit test never lands on them.
    const CRect below = grid->CalcCellRect(3, 2);
    ROWCOL r = 0, c = 0;
    grid->HitTest(CPoint(below.left + 20, below.top), &r, &c);
    EXPECT_EQ(r, 3u);
    const CRect right = grid->CalcCellRect(1, 4);
    grid->HitTest(CPoint(right.left + 20, right.top + 8), &r, &c);
    EXPECT_EQ(c, 4u);
    // The Entity Editor's layout: no header row or column.
    grid->SetFrozenRows(0, 0, 0);
    grid->SetFrozenCols(0, 0, 0);
    grid->HideRows(0, 0, TRUE);
    grid->HideCols(0, 0, TRUE);
    EXPECT_EQ(grid->CalcCellRect(1, 1).TopLeft(), CPoint(0, 0));
    const Picture p = Fresh();
    EXPECT_EQ(p.At(5, 5), kMarker);
    EXPECT_EQ(Diff(p, Expected()), "");
}

TEST_F(DrawWindowTest, ScrollingEqualsAFreshPaint)
{
    MakeGrid(80, 30, WS_VSCROLL | WS_HSCROLL);
    grid->SetFrozenRows(2, 0, 0);
    grid->SetFrozenCols(1, 0, 0);
    for (ROWCOL r = 1; r <= 80; r += 3)
        grid->SetStyleRange(CGXRange(r, 1, r, 30), &CGXStyle().SetInterior(RGB(r * 3 % 256, 200, 100)), gxOverride,
                            0, nullptr, 0);
    grid->HideRows(8, 10, TRUE, nullptr, 0);
    grid->HideRows(20, 20, TRUE, nullptr, 0);
    grid->Redraw(GX_UPDATENOW);
    const CRect frozen = grid->CalcRectFromRowColEx(0, 0, 2, 1);
    const Picture start = Fresh();
    struct Step
    {
        const char* what;
        std::function<void()> act;
    } steps[] = {
        {"3 lines down", [&] { grid->DoScroll(3, 3); }},
        {"a page down", [&] { grid->DoScroll(3, 12); }},
        {"2 lines up", [&] { grid->DoScroll(1, 2); }},
        {"SetTopRow over hidden rows", [&] { grid->SetTopRow(7, GX_UPDATENOW); }},
        {"ScrollCells down", [&] { grid->ScrollCells(3, 5); }},
        {"columns right", [&] { grid->DoScroll(4, 2); }},
        {"columns left", [&] { grid->DoScroll(2, 1); }},
        {"back to the start", [&] { grid->SetTopRow(1, GX_UPDATENOW); grid->SetLeftCol(1, GX_UPDATENOW); }},
    };
    for (Step& s : steps) {
        s.act();
        const Picture scrolled = Capture(*grid);
        EXPECT_EQ(Diff(scrolled, Fresh()), "") << s.what << " (top row " << grid->m_nTopRow << ")";
        // The frozen corner never moves.
        for (int y = frozen.top; y < frozen.bottom; y += 3)
            for (int x = frozen.left; x < frozen.right; x += 7)
                ASSERT_EQ(scrolled.At(x, y), start.At(x, y)) << s.what;
    }
}

TEST_F(DrawWindowTest, ScrollBarsFollowTheRowCount)
{
    MakeGrid(3, 3, WS_VSCROLL);
    Fresh();
    EXPECT_EQ(grid->GetScrollBarMode(SB_VERT), 10);
    EXPECT_FALSE(grid->GetStyle() & WS_VSCROLL);
    grid->SetRowCount(100);
    EXPECT_TRUE(grid->GetStyle() & WS_VSCROLL);
    // Mode 8: when rows go, the top row comes back so that the last row ends at the bottom.
    grid->SetTopRow(90, GX_UPDATENOW);
    grid->SetRowCount(50);
    CRect g;
    grid->GetGridRect(&g);
    const CRect last = grid->CalcCellRect(50, 1);
    EXPECT_LE(last.bottom, g.bottom);
    EXPECT_GT(last.bottom + grid->GetRowHeight(grid->m_nTopRow - 1), g.bottom);
    EXPECT_EQ(Diff(Capture(*grid), Fresh()), "");
}

TEST_F(DrawWindowTest, BringCellIntoView)
{
    MakeGrid(100, 5, WS_VSCROLL);
    grid->SetFrozenRows(2, 0, 0);
    EXPECT_FALSE(grid->BringCellIntoView(1, 1));
    EXPECT_EQ(grid->m_nTopRow, 3u);
    EXPECT_TRUE(grid->BringCellIntoView(40, 1));
    CRect g;
    grid->GetGridRect(&g);
    EXPECT_LE(grid->CalcCellRect(40, 1).bottom, g.bottom);
    EXPECT_GT(grid->CalcCellRect(40, 1).bottom + grid->GetRowHeight(41), g.bottom);
    // A row above the top row becomes the top row.
    EXPECT_TRUE(grid->BringCellIntoView(10, 1));
    EXPECT_EQ(grid->m_nTopRow, 10u);
}

TEST_F(DrawWindowTest, HitZonesAndCursors)
{
    MakeGrid(3, 3);
    const CRect c11 = grid->CalcCellRect(1, 1), c00 = grid->CalcCellRect(0, 0), c01 = grid->CalcCellRect(0, 1);
    const CRect c10 = grid->CalcCellRect(1, 0);
    struct Case
    {
        CPoint pt;
        int zone;
        ROWCOL row, col;
        UINT cursor;   // 0: the arrow
    } cases[] = {
        {c11.CenterPoint(), GX_HIT_CELL, 1, 1, 0},
        {c01.CenterPoint(), GX_HIT_HEADER, 0, 1, GX_IDC_SELCOL},
        {c10.CenterPoint(), GX_HIT_HEADER, 1, 0, GX_IDC_SELROW},
        {CPoint(c01.right - 2, c01.top + 5), GX_HIT_COLEDGE, 0, 1, GX_IDC_SIZECOL},
        {CPoint(c01.right + 2, c01.top + 5), GX_HIT_COLEDGE, 0, 1, GX_IDC_SIZECOL},
        {CPoint(c10.left + 10, c10.bottom - 2), GX_HIT_ROWEDGE, 1, 0, GX_IDC_SIZEROW},
        // Inner cell edges do not size with the default options.
        {CPoint(c11.right - 2, c11.top + 5), GX_HIT_CELL, 1, 1, 0},
        {CPoint(c00.left + 5, c00.top + 5), GX_HIT_HEADER, 0, 0, 0},
        {CPoint(650, 5), GX_HIT_NONE, 0, 0, 0},
    };
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    for (const Case& c : cases) {
        ROWCOL r = 99, col = 99;
        EXPECT_EQ(grid->HitTest(c.pt, &r, &col), c.zone) << c.pt.x << "," << c.pt.y;
        if (c.zone != GX_HIT_NONE) {
            EXPECT_EQ(r, c.row) << c.pt.x << "," << c.pt.y;
            EXPECT_EQ(col, c.col) << c.pt.x << "," << c.pt.y;
        }
        grid->UpdateCursor(c.pt);
        HCURSOR expected = c.cursor != 0 ? ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(c.cursor)) : arrow;
        EXPECT_EQ(::GetCursor(), expected) << c.pt.x << "," << c.pt.y;
    }
    // A cursor is loaded once while it stays the same.
    const int loads = GXGetCursorLoadCount();
    grid->SetGridCursor(GX_IDC_SIZEROW, IDC_SIZENS);
    grid->SetGridCursor(GX_IDC_SIZEROW, IDC_SIZENS);
    EXPECT_LE(GXGetCursorLoadCount(), loads + 1);
}

namespace {
// Loads its rows and columns when a paint reaches them.
class CLoadingGrid : public CDrawGrid
{
public:
    std::vector<std::pair<ROWCOL, ROWCOL>> reached;
    void OnAccessRowCol(ROWCOL nRow, ROWCOL nCol) override
    {
        reached.emplace_back(nRow, nCol);
        if (nRow > GetRowCount() && nRow < 1000)
            StoreRowCount(nRow);
        if (nCol > GetColCount() && nCol < 1000)
            StoreColCount(nCol);
    }
};
} // namespace

// A paint tells OnAccessRowCol the last row and column it reaches, beyond the rows and columns
// there are by as many of the default size as fill the window; the rows loaded then are drawn.
TEST_F(DrawWindowTest, APaintTellsHowFarItReaches)
{
    CLoadingGrid* loading = new CLoadingGrid;
    grid = loading;
    ASSERT_TRUE(grid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 300), &frame, 7));
    grid->InitGrid();
    grid->SetControlForId(52512, new CMarkerControl(grid), TRUE);
    grid->SetRowCount(3, 0);
    grid->SetColCount(2, 0);
    CRect g;
    grid->GetGridRect(&g);
    // The row whose bottom reaches the grid's bottom edge, the column whose right edge its right.
    ROWCOL nRow = 0, nCol = 0;
    for (int y = g.top + grid->GetRowHeight(0); y < g.bottom; y += grid->GetDefaultRowHeight())
        ++nRow;
    for (int x = g.left + grid->GetColWidth(0); x < g.right; x += grid->GetDefaultColWidth())
        ++nCol;
    loading->reached.clear();
    const Picture shown = Fresh();
    ASSERT_FALSE(loading->reached.empty());
    EXPECT_EQ(loading->reached.front(), std::make_pair(nRow, nCol));
    EXPECT_EQ(grid->GetRowCount(), nRow);
    const CRect last = grid->CalcCellRect(nRow, nCol);
    EXPECT_EQ(shown.At(last.left + 5, last.top + 5), kMarker);
    // Scrolled on, the paint reaches the row at the bottom edge.
    grid->SetRowCount(100, 0);
    grid->SetTopRow(40, GX_UPDATENOW);
    loading->reached.clear();
    Fresh();
    ASSERT_FALSE(loading->reached.empty());
    EXPECT_EQ(loading->reached.front().first, nRow + 39);
}

// The select cursors over the headers only where a press selects: the selection options allow
// whole columns (rows), and the press does not drag a selected column (row) instead.
TEST_F(DrawWindowTest, HeaderCursorsFollowTheSelectionOptions)
{
    MakeGrid(3, 3);
    const CPoint colHeader = grid->CalcCellRect(0, 2).CenterPoint(), rowHeader = grid->CalcCellRect(2, 0).CenterPoint();
    struct Case
    {
        WORD perm;
        BOOL bMoving;
        BOOL bSelected;   // column 2 and row 2 selected
        UINT colCursor, rowCursor;   // 0: the arrow
    } cases[] = {
        {0xFF, FALSE, FALSE, GX_IDC_SELCOL, GX_IDC_SELROW},
        {0xFF & ~0x02, FALSE, FALSE, 0, GX_IDC_SELROW},
        {0xFF & ~0x01, FALSE, FALSE, GX_IDC_SELCOL, 0},
        {0x08, FALSE, FALSE, 0, 0},
        {0xFF, TRUE, FALSE, GX_IDC_SELCOL, GX_IDC_SELROW},
        {0xFF, TRUE, TRUE, 0, 0},
        {0xFF, FALSE, TRUE, GX_IDC_SELCOL, GX_IDC_SELROW},
    };
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    auto cursor = [&](UINT id) { return id != 0 ? ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)) : arrow; };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.perm) + " " + std::to_string(c.bMoving) + " " + std::to_string(c.bSelected));
        CGXGridParam* p = grid->GetParam();
        p->m_wOptionA = c.perm;
        p->m_bAllowColMoving = p->m_bAllowRowMoving = c.bMoving;
        p->m_selRanges.DeleteAll();
        if (c.bSelected) {
            p->m_selRanges.AddTail(new CGXRange(CGXRange().SetCols(2)));
            p->m_selRanges.AddTail(new CGXRange(CGXRange().SetRows(2)));
        }
        grid->UpdateCursor(colHeader);
        EXPECT_EQ(::GetCursor(), cursor(c.colCursor));
        grid->UpdateCursor(rowHeader);
        EXPECT_EQ(::GetCursor(), cursor(c.rowCursor));
    }
    grid->GetParam()->m_selRanges.DeleteAll();
}

TEST_F(DrawWindowTest, RedrawRequests)
{
    MakeStyledGrid();
    Fresh();
    CRect update;
    grid->RedrawRange(2, 2, 3, 3, 0);
    EXPECT_FALSE(grid->GetUpdateRect(&update));
    grid->RedrawRange(2, 2, 3, 3, GX_SMART);
    ASSERT_TRUE(grid->GetUpdateRect(&update));
    EXPECT_EQ(update, grid->CalcRectFromRowCol(2, 2, 3, 3));
    grid->UpdateWindow();
    const int paints = grid->nPaints;
    grid->RedrawRange(2, 2, 3, 3, GX_UPDATENOW);
    EXPECT_EQ(grid->nPaints, paints + 1);
    EXPECT_FALSE(grid->GetUpdateRect(&update));
    grid->Redraw(0);
    EXPECT_FALSE(grid->GetUpdateRect(&update));
    // Header marks: the row's header cell and the column's.
    grid->RedrawHeaderMarks(2, 3, 0, 0);
    ASSERT_TRUE(grid->GetUpdateRect(&update));
    CRect both;
    both.UnionRect(grid->CalcRectFromRowColEx(2, 0, 2, 0), grid->CalcRectFromRowColEx(0, 3, 0, 3));
    EXPECT_EQ(update, both);
    grid->UpdateWindow();
    grid->RedrawHeaderMarks(2, 3, 1, 0);
    ASSERT_TRUE(grid->GetUpdateRect(&update));
    EXPECT_EQ(update, grid->CalcRectFromRowColEx(2, 0, 2, 0));
    grid->UpdateWindow();
}

namespace {
// A view of the test document that hands the hints to its grid.
class CHintView : public CView
{
public:
    CGXGridEngine* pGrid = nullptr;
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM lHint, CObject* pHint) override
    {
        if (pGrid != nullptr && pHint != nullptr)
            pGrid->OnGridUpdate(nullptr, lHint, pHint);
    }
};
class CHintDocument : public CDocument
{
};

// A second view of the grid's document, below it: a grid on the same parameters that hears the
// hints the grid sends.
class CSecondView
{
public:
    CSecondView(CDrawGrid* pGrid, CWnd& frame) : m_pGrid(pGrid)
    {
        other = new CDrawGrid;
        if (!other->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 310, 600, 480), &frame, 8))
            return;
        other->SetParam(pGrid->GetParam(), FALSE);
        other->InitGrid();
        other->SetControlForId(52512, new CMarkerControl(other), TRUE);
        m_view.pGrid = other;
        m_doc.AddView(&m_view);
        pGrid->m_pDocument = &m_doc;
        pGrid->m_bLinkedToDocument = TRUE;
    }
    ~CSecondView()
    {
        if (m_view.pGrid != nullptr)
            m_doc.RemoveView(&m_view);
        m_pGrid->m_pDocument = nullptr;
        m_pGrid->m_bLinkedToDocument = FALSE;
        delete other;
    }
    CSecondView(const CSecondView&) = delete;
    CSecondView& operator=(const CSecondView&) = delete;
    CDrawGrid* other;

private:
    CDrawGrid* m_pGrid;
    CHintDocument m_doc;
    CHintView m_view;
};
} // namespace

TEST_F(DrawWindowTest, ChangesReachTheOtherViewThroughHints)
{
    MakeStyledGrid();
    CSecondView second(grid, frame);
    CDrawGrid* other = second.other;
    ASSERT_NE(other->GetSafeHwnd(), nullptr);
    Capture(*other);
    const int paints = other->nPaints;
    CRect update;
    grid->SetStyleRange(CGXRange(2, 2), &CGXStyle().SetInterior(RGB(0, 255, 0)), gxOverride, 0, nullptr, GX_SMART);
    grid->RedrawRange(2, 2, 2, 2, GX_SMART);
    EXPECT_TRUE(other->GetUpdateRect(&update));
    other->UpdateWindow();
    EXPECT_GT(other->nPaints, paints);
    const CRect cell = other->CalcCellRect(2, 2);
    EXPECT_EQ(Capture(*other).At(cell.left + 20, cell.top + 10), RGB(0, 255, 0));
    // Flags 0 send no hint.
    other->UpdateWindow();
    grid->RedrawRange(3, 3, 3, 3, 0);
    EXPECT_FALSE(other->GetUpdateRect(&update));
    // The selection follows too.
    grid->SelectRange(CGXRange(4, 4));
    const CRect sel = other->CalcCellRect(4, 4);
    EXPECT_EQ(Capture(*other).At(sel.left + 20, sel.top + 10), ~RGB(0, 0, 255) & 0xFFFFFF);
}

// Rows and columns inserted, removed and moved in one view: the other view of the document keeps
// its current cell on the same record and shows the new picture.
TEST_F(DrawWindowTest, StructureChangesReachTheOtherView)
{
    MakeStyledGrid();
    grid->SetRowCount(12);
    CSecondView second(grid, frame);
    CDrawGrid* other = second.other;
    ASSERT_NE(other->GetSafeHwnd(), nullptr);
    other->PlaceCurrentCell(5, 3);
    auto fresh = [&]() {
        other->Invalidate(FALSE);
        return Capture(*other);
    };
    struct Step
    {
        const char* what;
        std::function<void()> change;
        ROWCOL row, col;
    } steps[] = {
        {"insert rows", [&] { grid->InsertRows(2, 2); }, 7, 3},
        {"insert cols", [&] { grid->InsertCols(2, 1); }, 7, 4},
        {"remove rows", [&] { grid->RemoveRows(3, 3); }, 6, 4},
        {"remove cols", [&] { grid->RemoveCols(2, 2); }, 6, 3},
        {"move rows", [&] { grid->MoveRows(6, 6, 2); }, 2, 3},
        {"move cols", [&] { grid->MoveCols(3, 3, 4); }, 2, 4},
    };
    for (const Step& s : steps) {
        Capture(*other);
        s.change();
        ROWCOL r = 0, c = 0;
        ASSERT_TRUE(other->GetCurrentCellPos(r, c)) << s.what;
        EXPECT_EQ(r, s.row) << s.what;
        EXPECT_EQ(c, s.col) << s.what;
        const Picture shown = Capture(*other);
        EXPECT_EQ(Diff(shown, fresh()), "") << s.what;
    }
}

TEST_F(DrawWindowTest, SizeTrackingByClientPoints)
{
    MakeGrid(8, 5);
    const int w2 = grid->GetColWidth(2);
    const CRect c2 = grid->CalcCellRect(0, 2);
    CRect g;
    grid->GetGridRect(&g);
    // Widened, then narrowed past its left edge: at least 1 pixel.
    ASSERT_TRUE(grid->StartTracking(0, 2, GX_TRACK_WIDTH));
    grid->MoveTracking(0, 2, 0, CPoint(c2.right + 15, 5));
    grid->EndTracking(0, 2, 0, CPoint(c2.right + 30, 5));
    EXPECT_EQ(grid->GetColWidth(2), w2 + 30);
    ASSERT_TRUE(grid->StartTracking(0, 2, GX_TRACK_WIDTH));
    grid->MoveTracking(0, 2, 0, CPoint(c2.left - 40, 5));
    grid->EndTracking(0, 2, 0, CPoint(c2.left - 50, 5));
    EXPECT_EQ(grid->GetColWidth(2), 1);
    // Beyond the grid's right edge it stops 7 pixels inside.
    const CRect c1 = grid->CalcCellRect(0, 1);
    ASSERT_TRUE(grid->StartTracking(0, 1, GX_TRACK_WIDTH));
    grid->MoveTracking(0, 1, 0, CPoint(2000, 5));
    grid->EndTracking(0, 1, 0, CPoint(2000, 5));
    EXPECT_EQ(grid->GetColWidth(1), g.right - 7 - c1.left);
    // A 1-pixel drag changes nothing.
    grid->SetColWidth(1, 1, 50);
    const CRect c1b = grid->CalcCellRect(0, 1);
    ASSERT_TRUE(grid->StartTracking(0, 1, GX_TRACK_WIDTH));
    grid->MoveTracking(0, 1, 0, CPoint(c1b.right + 1, 5));
    grid->EndTracking(0, 1, 0, CPoint(c1b.right + 1, 5));
    EXPECT_EQ(grid->GetColWidth(1), 50);

    // Selected rows 2-3 and 5 are resized together.
    grid->SelectRange(CGXRange().SetRows(2, 3));
    grid->SelectRange(CGXRange().SetRows(5));
    const int h = grid->GetRowHeight(2);
    const CRect r2 = grid->CalcCellRect(2, 0);
    ASSERT_TRUE(grid->StartTracking(2, 0, GX_TRACK_HEIGHT));
    grid->MoveTracking(2, 0, 0, CPoint(5, r2.bottom + 10));
    grid->EndTracking(2, 0, 0, CPoint(5, r2.bottom + 10));
    for (ROWCOL r : {2u, 3u, 5u})
        EXPECT_EQ(grid->GetRowHeight(r), h + 10) << r;
    EXPECT_EQ(grid->GetRowHeight(4), h);
    // The whole table selected sets the default height.
    grid->GetParam()->m_selRanges.DeleteAll();
    grid->SelectRange(CGXRange().SetTable());
    const CRect r6 = grid->CalcCellRect(6, 0);
    ASSERT_TRUE(grid->StartTracking(6, 0, GX_TRACK_HEIGHT));
    grid->MoveTracking(6, 0, 0, CPoint(5, r6.bottom + 4));
    grid->EndTracking(6, 0, 0, CPoint(5, r6.bottom + 4));
    EXPECT_EQ(grid->GetDefaultRowHeight(), h + 4);
    grid->GetParam()->m_selRanges.DeleteAll();
    // Cancelling a live drag restores the size.
    grid->GetParam()->m_wOptionD = 0x100 | 2;
    const int w3 = grid->GetColWidth(3);
    const CRect c3 = grid->CalcCellRect(0, 3);
    ASSERT_TRUE(grid->StartTracking(0, 3, GX_TRACK_WIDTH));
    grid->MoveTracking(0, 3, 0, CPoint(c3.right + 25, 5));
    EXPECT_EQ(grid->GetColWidth(3), w3 + 25);
    grid->CancelTracking();
    EXPECT_EQ(grid->GetColWidth(3), w3);
    LONG stored = 0;
    EXPECT_FALSE(grid->GetParam()->m_colWidths.Lookup(3, stored));
    EXPECT_EQ(Diff(Capture(*grid), Fresh()), "");
}

TEST_F(DrawWindowTest, AutoScrollLoopEnds)
{
    MakeGrid(100, 5, WS_VSCROLL);
    Fresh();
    grid->m_bMouseTracking = TRUE;
    // A posted Escape ends it, and the grid hears WM_CANCELMODE.
    grid->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    grid->AutoScrollLoop(WM_LBUTTONUP, FALSE, FALSE);
    EXPECT_NE(std::find(grid->events.begin(), grid->events.end(), "cancelmode"), grid->events.end());
    EXPECT_NE(::GetCapture(), grid->GetSafeHwnd());
    // Capture taken by another window ends it.
    grid->events.clear();
    frame.PostMessage(WM_NULL, 0, 0);
    struct Taker
    {
        static VOID CALLBACK Take(HWND hWnd, UINT, UINT_PTR id, DWORD)
        {
            ::KillTimer(hWnd, id);
            ::SetCapture(hWnd);
        }
    };
    ::SetTimer(frame.GetSafeHwnd(), 1, 10, &Taker::Take);
    grid->AutoScrollLoop(WM_LBUTTONUP, FALSE, FALSE);
    EXPECT_EQ(::GetCapture(), frame.GetSafeHwnd());
    ::ReleaseCapture();
    // No mouse moves are made up during the first 750 ms while the mouse stays:
    // the injected clock moves on 100 ms with each timer message.
    static DWORD s_now;
    s_now = 1000;
    AfxSeamSetTickCount([] { return s_now; });
    struct Clock
    {
        static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { s_now += 100; }
    };
    const UINT_PTR timer = ::SetTimer(frame.GetSafeHwnd(), 2, 5, &Clock::Tick);
    grid->events.clear();
    grid->nEndAfterMoves = 1;
    grid->AutoScrollLoop(WM_LBUTTONUP, FALSE, FALSE);
    ::KillTimer(frame.GetSafeHwnd(), timer);
    ASSERT_EQ(grid->events.size(), 1u);
    const DWORD tick = static_cast<DWORD>(std::stoul(grid->events[0].substr(10)));
    EXPECT_GE(tick - 1000, 750u);
    EXPECT_LT(tick - 1000, 900u);
    AfxSeamReset();
    grid->m_bMouseTracking = FALSE;
}

TEST_F(DrawWindowTest, SplitterPanesScrollRowsTogether)
{
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(&frame, 1, 2));
    splitter.MoveWindow(0, 0, 600, 300);
    CGXGridParam* param = new CGXGridParam;
    CHintDocument doc;
    CHintView views[2];
    CDrawGrid* panes[2];
    for (int c = 0; c < 2; ++c) {
        panes[c] = new CDrawGrid;
        ASSERT_TRUE(panes[c]->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 290, 280),
                                     &splitter, static_cast<UINT>(splitter.IdFromRowCol(0, c))));
        panes[c]->SetParam(param, c == 0);
        panes[c]->InitGrid();
        panes[c]->m_pDocument = &doc;
        panes[c]->m_bLinkedToDocument = TRUE;
        views[c].pGrid = panes[c];
        doc.AddView(&views[c]);
    }
    splitter.RecalcLayout();
    panes[0]->SetRowCount(200);
    panes[0]->SetFrozenRows(1, 0);
    EXPECT_EQ(panes[1]->GetFrozenRows(), 1u);   // same pane row: the frozen rows show in both
    EXPECT_TRUE(panes[0]->ScrollCells(3, 5));
    EXPECT_EQ(panes[0]->m_nTopRow, 7u);
    EXPECT_EQ(panes[1]->m_nTopRow, 7u);
    panes[1]->SetTopRow(20, GX_UPDATENOW);
    EXPECT_EQ(panes[0]->m_nTopRow, 20u);
    EXPECT_EQ(Diff(Capture(*panes[0]), (panes[0]->Invalidate(FALSE), Capture(*panes[0]))), "");
    for (int c = 0; c < 2; ++c) {
        doc.RemoveView(&views[c]);
        panes[c]->m_bLinkedToDocument = FALSE;
    }
    delete panes[1];
    delete panes[0];
    splitter.DestroyWindow();
}

TEST_F(DrawWindowTest, SizesThatFitTheCells)
{
    MakeGrid(8, 4);
    grid->SetFrozenRows(1, 0, 0);
    auto value = [&](ROWCOL r, ROWCOL c, LPCSTR v) { grid->SetValueRange(CGXRange(r, c), v, gxOverride, 0, 0); };
    value(2, 1, "30");
    value(2, 2, "12");
    value(4, 1, "2000");   // taller than the grid
    value(5, 1, "5");
    grid->SetRowHeight(6, 6, 40);
    value(6, 1, "20");
    EXPECT_TRUE(grid->ResizeRowHeightsToFit(CGXRange().SetRows(2, 6), FALSE, GX_INVALIDATE));
    EXPECT_EQ(grid->GetRowHeight(2), 30);
    EXPECT_EQ(grid->GetRowHeight(3), 3);   // whole rows measure their header, "3"
    // A row that measures nothing keeps its height.
    const int h7 = grid->GetRowHeight(7);
    EXPECT_TRUE(grid->ResizeRowHeightsToFit(CGXRange(7, 1, 7, 4), FALSE, GX_INVALIDATE));
    EXPECT_EQ(grid->GetRowHeight(7), h7);
    CRect g;
    grid->GetGridRect(&g);
    EXPECT_EQ(grid->GetRowHeight(4), g.Height() - grid->CalcSumOfRowHeights(0, 1) - 1);
    EXPECT_EQ(grid->GetRowHeight(5), 5);
    EXPECT_EQ(grid->GetRowHeight(6), 20);
    // Flag 8: only growing.
    grid->SetRowHeight(6, 6, 40);
    value(5, 1, "3");
    EXPECT_TRUE(grid->ResizeRowHeightsToFit(CGXRange().SetRows(5, 6), FALSE, GX_INVALIDATE | 8));
    EXPECT_EQ(grid->GetRowHeight(5), 5);
    EXPECT_EQ(grid->GetRowHeight(6), 40);
    // Whole columns measure the header cell too.
    value(0, 3, "150");
    value(1, 3, "90");
    EXPECT_TRUE(grid->ResizeColWidthsToFit(CGXRange().SetCols(3), FALSE, GX_INVALIDATE));
    EXPECT_EQ(grid->GetColWidth(3), 150);
    EXPECT_EQ(Diff(Capture(*grid), Fresh()), "");
}

TEST_F(DrawWindowTest, SelectionFrameDrawnAndErasedInPairs)
{
    MakeStyledGrid();
    const Picture plain = Fresh();
    grid->GetParam()->m_bSelectionFrame = TRUE;
    grid->SelectRange(CGXRange(2, 2, 3, 3));
    const Picture framed = Capture(*grid);
    EXPECT_NE(Diff(framed, plain), "");
    // A paint draws the same frame.
    EXPECT_EQ(Diff(Fresh(), framed), "");
    // Another selection moves the frame; the old one leaves no trace.
    grid->SelectRange(CGXRange().SetRows(4, 5));
    EXPECT_EQ(Diff(Capture(*grid), Fresh()), "");
    // Locking erases it, unlocking draws it again.
    const Picture before = Capture(*grid);
    grid->SetSelectionFrameLock(TRUE, FALSE);
    grid->SetSelectionFrameLock(FALSE, FALSE);
    EXPECT_EQ(Diff(Capture(*grid), before), "");
    grid->GetParam()->m_selRanges.DeleteAll();
    grid->GetParam()->m_bSelectionFrame = FALSE;
}

TEST_F(DrawWindowTest, CoveredCellsDrawAsOneCell)
{
    MakeStyledGrid();
    grid->covered = CGXRange(2, 2, 3, 3);
    grid->Redraw(GX_UPDATENOW);
    const Picture p = Fresh();
    const CRect a = grid->CalcCellRectClipped(2, 2), d = grid->CalcRectFromRowColEx(3, 3, 3, 3);
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(a, grid->CalcRectFromRowColEx(2, 2, 3, 3));
    EXPECT_EQ(p.At(a.left + 5, a.top + 5), kMarker);            // drawn once, from its top-left cell
    EXPECT_EQ(p.At(d.left + 5, d.top + 5), red);                // no marker of its own
    EXPECT_EQ(p.At(a.left + 20, d.top), red);                   // no line inside
    EXPECT_EQ(p.At(d.left, a.top + 10), red);
    EXPECT_EQ(p.At(a.left, a.top + 10), Prop(*grid, 0));        // its own edges keep theirs
    // A covered range across the frozen row scrolls with its lower part only.
    delete grid;
    grid = nullptr;
    MakeGrid(40, 5, WS_VSCROLL);
    grid->SetFrozenRows(1, 0, 0);
    grid->SetStyleRange(CGXRange(1, 2), &CGXStyle().SetInterior(RGB(0, 0, 255)), gxOverride, 0, nullptr, 0);
    grid->covered = CGXRange(1, 2, 4, 3);
    grid->Redraw(GX_UPDATENOW);
    const CRect frozenPart = grid->CalcCellRect(1, 2);
    EXPECT_EQ(Fresh().At(frozenPart.left + 5, frozenPart.top + 5), kMarker);
    grid->DoScroll(3, 2);
    const Picture scrolled = Capture(*grid);
    EXPECT_EQ(Diff(scrolled, Fresh()), "");
    const CRect lower = grid->CalcRectFromRowColEx(4, 2, 4, 2);
    EXPECT_EQ(scrolled.At(lower.left + 5, lower.top + 5), RGB(0, 0, 255));
}

TEST_F(DrawWindowTest, CoveringByTheEngineDrawsLikeALookedUpSpan)
{
    // Across the frozen divider, and clipped from the first scrollable row once scrolled: the
    // engine's own covering paints what a covered range answered by the lookup paints.
    MakeGrid(40, 5, WS_VSCROLL);
    grid->SetFrozenRows(1, 0, 0);
    grid->SetStyleRange(CGXRange(1, 2), &CGXStyle().SetInterior(RGB(0, 0, 255)), gxOverride, 0, nullptr, 0);
    grid->covered = CGXRange(1, 2, 4, 3);
    grid->Redraw(GX_UPDATENOW);
    const Picture looked = Fresh();
    grid->DoScroll(3, 2);
    const Picture lookedScrolled = Fresh();
    grid->DoScroll(6, 2);
    grid->SetTopRow(2, 0);
    grid->covered = CGXRange();
    ASSERT_TRUE(grid->SetCoveredCells(1, 2, 4, 3, GX_UPDATENOW));
    EXPECT_EQ(Diff(Fresh(), looked), "");
    grid->DoScroll(3, 2);
    EXPECT_EQ(Diff(Capture(*grid), lookedScrolled), "");
    EXPECT_EQ(Diff(Fresh(), lookedScrolled), "");
    // Taking the covering back paints the cells one by one again.
    grid->SetTopRow(2, 0);
    ASSERT_TRUE(grid->SetCoveredCells(1, 2, 1, 2, GX_UPDATENOW));
    const CRect inner = grid->CalcCellRect(3, 3);
    EXPECT_EQ(Capture(*grid).At(inner.left + 5, inner.top + 5), kMarker);
}

TEST_F(DrawWindowTest, FloatingTextDrawsOverItsNeighbours)
{
    MakeGrid(6, 6);
    grid->GetParam()->m_wFloatCells = 1;
    CGXStyle floating;
    floating.SetFloatCell(TRUE).SetFloodCell(TRUE).SetInterior(RGB(255, 0, 0));
    grid->SetStyleRange(CGXRange().SetTable(), &floating, gxOverride, -1, nullptr, 0);
    const int need = grid->GetColWidth(2) + grid->GetColWidth(3) + 5;
    grid->SetValueRange(CGXRange(2, 2), std::to_string(need).c_str(), gxOverride, 0, GX_UPDATENOW);
    // The paint itself evaluates the span: one marker, no lines inside, its own edge after column 4.
    const Picture p = Fresh();
    const CRect c2 = grid->CalcRectFromRowColEx(2, 2, 2, 2), c3 = grid->CalcRectFromRowColEx(2, 3, 2, 3),
                c5 = grid->CalcRectFromRowColEx(2, 5, 2, 5);
    CGXRange span;
    ASSERT_TRUE(grid->GetCellRangeRowCol(2, 3, span));
    EXPECT_EQ(span, CGXRange(2, 2, 2, 4));
    EXPECT_EQ(p.At(c2.left + 5, c2.top + 5), kMarker);
    EXPECT_EQ(p.At(c3.left, c3.top + 5), RGB(255, 0, 0));
    EXPECT_EQ(p.At(c3.left - 1, c3.top + 5), RGB(255, 0, 0));
    EXPECT_EQ(p.At(c5.left, c5.top + 5), Prop(*grid, 0));
    // Typing into a flooded neighbour brings its line back.
    grid->SetValueRange(CGXRange(2, 3), "1", gxOverride, 0, GX_UPDATENOW);
    const Picture q = Capture(*grid);
    EXPECT_EQ(q.At(c3.left, c3.top + 5), Prop(*grid, 0));
    EXPECT_EQ(Diff(q, Fresh()), "");
}

TEST_F(DrawWindowTest, EqualCellsOfAColumnDrawMerged)
{
    MakeGrid(6, 6);
    grid->GetParam()->m_wMergeCells = 1;
    CGXStyle merging;
    merging.SetMergeCell(6).SetInterior(RGB(255, 0, 0));
    grid->SetStyleRange(CGXRange().SetTable(), &merging, gxOverride, -1, nullptr, 0);
    grid->SetValueRange(CGXRange(3, 2, 4, 2), "7", gxOverride, 0, GX_UPDATENOW);
    const CRect upper = grid->CalcRectFromRowColEx(3, 2, 3, 2), lower = grid->CalcRectFromRowColEx(4, 2, 4, 2);
    const Picture p = Fresh();
    EXPECT_EQ(p.At(upper.left + 5, upper.top + 5), kMarker);
    EXPECT_EQ(p.At(lower.left + 5, lower.top + 5), RGB(255, 0, 0));   // one cell: one marker
    EXPECT_EQ(p.At(lower.left + 20, lower.top), RGB(255, 0, 0));       // no line inside
    // Another value splits them again.
    grid->SetValueRange(CGXRange(4, 2), "8", gxOverride, 0, GX_UPDATENOW);
    const Picture q = Capture(*grid);
    EXPECT_EQ(q.At(lower.left + 5, lower.top + 5), kMarker);
    EXPECT_EQ(q.At(lower.left + 20, lower.top), Prop(*grid, 0));
    EXPECT_EQ(Diff(q, Fresh()), "");
}

TEST_F(DrawWindowTest, FittingResumesRightAfterASpan)
{
    MakeGrid(5, 5);
    grid->covered = CGXRange(2, 2, 2, 3);
    grid->SetValueRange(CGXRange(2, 2), "70", gxOverride, 0, 0);
    grid->SetValueRange(CGXRange(2, 4), "44", gxOverride, 0, 0);
    // The span is not measured without the span switch; the cell right after it is.
    EXPECT_TRUE(grid->ResizeRowHeightsToFit(CGXRange(2, 1, 2, 5), FALSE, GX_INVALIDATE));
    EXPECT_EQ(grid->GetRowHeight(2), 44);
    EXPECT_TRUE(grid->ResizeRowHeightsToFit(CGXRange(2, 1, 2, 5), TRUE, GX_INVALIDATE));
    EXPECT_EQ(grid->GetRowHeight(2), 70);
}

// A move of the current cell marks the new cell and clears the old one's mark on the screen, as a
// fresh paint draws them: by the keys, and by a call that asks only to update at once.
TEST_F(DrawWindowTest, MovesMarkTheNewCurrentCellOnTheScreen)
{
    MakeGrid(6, 5);
    ASSERT_TRUE(grid->PlaceCurrentCell(2, 2, GX_INVALIDATE | GX_UPDATENOW));
    auto key = [&](UINT vk) { return [this, vk] { grid->SendMessage(WM_KEYDOWN, vk, 1); }; };
    struct Move
    {
        const char* name;
        std::function<void()> act;
        ROWCOL row, col;
    } moves[] = {
        {"Down", key(VK_DOWN), 3, 2},
        {"Right", key(VK_RIGHT), 3, 3},
        {"Up", key(VK_UP), 2, 3},
        {"Left", key(VK_LEFT), 2, 2},
        {"Tab", key(VK_TAB), 2, 3},
        {"placed, updated at once", [this] { grid->PlaceCurrentCell(5, 4, GX_UPDATENOW); }, 5, 4},
    };
    CRect client;
    grid->GetClientRect(&client);
    for (const Move& m : moves) {
        m.act();
        ASSERT_TRUE(grid->IsCurrentCellAt(m.row, m.col)) << m.name;
        const afxtest::ScreenShot moved(grid);
        // The mark: the top line of the frame runs across the cell.
        const std::string ink = moved.Ink(grid->CalcRectFromRowColEx(m.row, m.col, m.row, m.col));
        const std::string top = ink.substr(0, ink.find('\n'));
        EXPECT_EQ(top.find('.'), std::string::npos) << m.name << "\n" << ink;
        EXPECT_GE(top.size() + 3, static_cast<size_t>(grid->GetColWidth(m.col))) << m.name << "\n" << ink;
        grid->Invalidate();
        grid->UpdateWindow();
        EXPECT_EQ(moved.Ink(client), afxtest::ScreenShot(grid).Ink(client)) << m.name;
    }
}
