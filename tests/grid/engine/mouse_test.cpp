// The mouse on a real grid window under synthesized input: clicks, selection drags, size tracking
// at header edges, double clicks on edges, header drags that move rows and columns.
#include <gtest/gtest.h>
#include <algorithm>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "grid_test_util.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxundo.h"
#include "gxwnd.h"

namespace {
// Modifier keys held for the messages that follow (keys synthesized by SendInput do not reach
// the key state under Wine + Xvfb).
void SetModifiers(BYTE vk)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    for (BYTE k : {VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT})
        keys[k] = 0;
    if (vk == VK_CONTROL)
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    if (vk == VK_SHIFT)
        keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    ::SetKeyboardState(keys);
}

// A grid that remembers what its left click hook saw at the release.
class CClickGrid : public CGXGridWnd
{
public:
    ROWCOL m_nUpRow = 0, m_nUpCol = 0;
    int m_nDowns = 0, m_nTrackStarts = 0;
    UINT m_nDownFlags = 0;
    SHORT m_nDownKeyState = 0;
    BOOL StartTracking(ROWCOL r, ROWCOL c, int nMode) override
    {
        ++m_nTrackStarts;
        return CGXGridWnd::StartTracking(r, c, nMode);
    }
    BOOL OnCellLeftClick(ROWCOL sr, ROWCOL sc, ROWCOL r, ROWCOL c, CPoint pt, UINT f, WORD h) override
    {
        if (h & 0x10)
            m_nUpRow = r, m_nUpCol = c;
        if (h & 0x04) {
            ++m_nDowns;
            m_nDownFlags = f;
            m_nDownKeyState = ::GetKeyState(VK_CONTROL);
        }
        return CGXGridWnd::OnCellLeftClick(sr, sc, r, c, pt, f, h);
    }
};

class MouseTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    CClickGrid grid;
    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "mouse", WS_POPUP | WS_VISIBLE, 20, 20, 500, 400,
                                   nullptr, nullptr));
        afxtest::Activate(&frame);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 480, 360), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(10);
        grid.SetColCount(5);
        // The default width follows the font, which differs from system to system: the cells the
        // tests point at lie inside the window with a width of the tests' own.
        grid.SetDefaultColWidth(80);
        grid.GetParam()->EmptyUndoList();
        grid.SetFocus();
        grid.UpdateWindow();
    }
    void TearDown() override
    {
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    CPoint Screen(CPoint pt)
    {
        grid.ClientToScreen(&pt);
        return pt;
    }
    CPoint Center(ROWCOL r, ROWCOL c) { return Screen(grid.CalcCellRect(r, c).CenterPoint()); }
    std::string Selection()
    {
        std::string s;
        CGXRangeList& list = grid.GetParam()->m_selRanges;
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            const CGXRange* r = list.GetRangeAt(pos);
            list.GetNext(pos);
            const char* kind = r->IsTable() ? "table" : r->IsRows() ? "rows" : r->IsCols() ? "cols" : "cells";
            s += std::string(kind) + " " + std::to_string(r->top) + "," + std::to_string(r->left) + "-" +
                 std::to_string(r->bottom) + "," + std::to_string(r->right) + ";";
        }
        return s;
    }
    // A click with Ctrl or Shift. Wine takes the modifier flags of mouse messages from the X
    // server, which synthesized keys do not reach, so the press and release are sent as messages
    // (the release queued first: the press runs the grid's modal drag loop, which takes it).
    void ClickWithKeys(ROWCOL r, ROWCOL c, UINT nKeys)
    {
        const CPoint pt = grid.CalcCellRect(r, c).CenterPoint();
        grid.PostMessage(WM_LBUTTONUP, nKeys, MAKELPARAM(pt.x, pt.y));
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | nKeys, MAKELPARAM(pt.x, pt.y));
        afxtest::PumpMessages();
    }
    COLORREF Pixel(ROWCOL r, ROWCOL c)
    {
        grid.UpdateWindow();
        CPoint pt = grid.CalcCellRect(r, c).CenterPoint();
        HDC dc = ::GetDC(grid.GetSafeHwnd());
        COLORREF cr = ::GetPixel(dc, pt.x, pt.y);
        ::ReleaseDC(grid.GetSafeHwnd(), dc);
        return cr;
    }
    static ROWCOL Row(CGXGridEngine& g)
    {
        ROWCOL r, c;
        return g.GetCurrentCellPos(r, c) ? r : 0;
    }
    static ROWCOL Col(CGXGridEngine& g)
    {
        ROWCOL r, c;
        return g.GetCurrentCellPos(r, c) ? c : 0;
    }
};
} // namespace

// A click makes the cell current; the control gets the press and the release, and the activation
// options decide when it becomes active.
TEST_F(MouseTest, AClickMakesTheCellCurrentAndHandsThePressToItsControl)
{
    auto* ctl = new CScriptedControl(&grid, 52512);
    grid.SetControlForId(52512, ctl, TRUE);
    grid.GetParam()->m_dwActivateOptions = 8;   // active at the release
    afxtest::InputScript script;
    script.MoveTo(Center(3, 2)).Click().Pause(30);
    ASSERT_TRUE(script.Run());
    EXPECT_EQ(Row(grid), 3u);
    EXPECT_EQ(Col(grid), 2u);
    auto calls = ctl->Protocol();
    auto at = [&](const std::string& s) { return std::find(calls.begin(), calls.end(), s) - calls.begin(); };
    ASSERT_LT(at("Init 3,2"), (long)calls.size());
    EXPECT_LT(at("Init 3,2"), at("LButtonDown"));
    EXPECT_LT(at("LButtonDown"), at("LButtonUp"));
    EXPECT_LT(at("LButtonUp"), at("SetActive 1"));
    EXPECT_TRUE(ctl->m_bActive);
    // A click without a drag leaves no range of its own.
    EXPECT_EQ(Selection(), "");

    // Any click (option 4) activates at the press; a second click on the current cell goes to
    // the control without placing the cell again.
    grid.PlaceCurrentCell(5, 4);
    ctl->m_bActive = FALSE;
    grid.GetParam()->m_dwActivateOptions = 0;
    ctl->m_calls.clear();
    afxtest::InputScript again;
    again.MoveTo(Center(5, 4)).Click().Pause(30);
    ASSERT_TRUE(again.Run());
    EXPECT_EQ(ctl->Protocol(), (std::vector<std::string>{"LButtonDown", "LButtonUp"}));
    EXPECT_FALSE(ctl->m_bActive);
}

// Dragging over cells selects a block (shown inverted), from a row header whole rows, the corner
// the table; Ctrl adds a range, Shift extends from the current cell.
TEST_F(MouseTest, DraggingSelectsCellsRowsAndTheTable)
{
    const COLORREF plain = Pixel(3, 3);
    ASSERT_TRUE(afxtest::Drag(Center(2, 2), Center(4, 3)));
    afxtest::PumpMessages();
    EXPECT_EQ(Selection(), "cells 2,2-4,3;");
    EXPECT_EQ(Row(grid), 2u);
    EXPECT_NE(Pixel(3, 3), plain);
    EXPECT_EQ(Pixel(5, 3), plain);
    EXPECT_EQ(Pixel(2, 2), plain);   // the current cell stays uninverted

    ASSERT_TRUE(afxtest::Drag(Center(3, 0), Center(5, 2)));
    EXPECT_EQ(Selection(), "rows 3,0-5,0;");
    EXPECT_NE(Pixel(4, 5), plain);
    EXPECT_EQ(Pixel(2, 2), plain);

    afxtest::InputScript corner;
    corner.MoveTo(Center(0, 0)).Click().Pause(30);
    ASSERT_TRUE(corner.Run());
    EXPECT_EQ(Selection(), "table 0,0-0,0;");

    // A plain click, then Ctrl adds a range and Shift extends from the current cell.
    afxtest::InputScript add;
    add.MoveTo(Center(2, 2)).Click().Pause(30);
    ASSERT_TRUE(add.Run());
    ClickWithKeys(7, 4, MK_CONTROL);
    EXPECT_EQ(Selection(), "cells 2,2-2,2;cells 7,4-7,4;");
    ClickWithKeys(2, 2, 0);
    ClickWithKeys(4, 4, MK_SHIFT);
    EXPECT_EQ(Selection(), "cells 2,2-4,4;");
}

// A drag past the last row clamps to it, and the click hook sees the clamped cell; the same with
// the scroll loop switched off (the capture alone).
TEST_F(MouseTest, ADragPastTheLastRowClamps)
{
    const CRect last = grid.CalcCellRect(10, 3);
    ASSERT_TRUE(afxtest::Drag(Center(8, 3), Screen(CPoint(last.CenterPoint().x, last.bottom + 40))));
    EXPECT_EQ(Selection(), "cells 8,3-10,3;");
    EXPECT_EQ(grid.m_nUpRow, 10u);
    EXPECT_EQ(grid.m_nUpCol, 3u);

    grid.m_bUseScrollLoop = FALSE;
    ASSERT_TRUE(afxtest::Drag(Center(2, 2), Center(3, 4)));
    EXPECT_EQ(Selection(), "cells 2,2-3,4;");
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(grid.GetTrackingFlags(), 0);
}

// A second button pressed during a drag cancels it: no selection, no tracking, no capture.
TEST_F(MouseTest, ASecondButtonCancelsTheDrag)
{
    afxtest::InputScript script;
    script.MoveTo(Center(2, 2)).Down().MoveInSteps(Center(4, 4), 4).Pause(60).Down(true).Up(true).Up().Pause(30);
    ASSERT_TRUE(script.Run());
    EXPECT_EQ(Selection(), "");
    EXPECT_EQ(grid.GetTrackingFlags(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

// A press 4 pixels beside a column header's edge starts resizing, 5 pixels away selects (the edge
// is where the next column begins).
TEST_F(MouseTest, PressesNearAHeaderEdge)
{
    const CRect h2 = grid.CalcCellRect(0, 2);
    const int E = h2.right;
    struct Case
    {
        int dx;
        bool resizes;
    } cases[] = {{-4, true}, {-5, false}, {3, true}, {4, false}, {0, true}};
    for (const Case& c : cases) {
        grid.m_nTrackStarts = grid.m_nDowns = 0;
        afxtest::InputScript script;
        script.MoveTo(Screen(CPoint(E + c.dx, h2.top + 5))).Click().Pause(30);
        ASSERT_TRUE(script.Run());
        EXPECT_EQ(grid.m_nTrackStarts, c.resizes ? 1 : 0) << c.dx;
        EXPECT_EQ(grid.m_nDowns, c.resizes ? 0 : 1) << c.dx;
        EXPECT_FALSE(grid.IsTracking());
        EXPECT_EQ(::GetCapture(), nullptr);
    }
}

// Size tracking by real drags: a column widened and narrowed (at least its left edge + 1, at most
// the ptFar edge - 7), a 1-pixel drag changes nothing, selected rows resize together, the whole
// table sets the default height, Escape during a live drag restores the size. One undo step each.
TEST_F(MouseTest, ResizingByDraggingHeaderEdges)
{
    const int w2 = grid.GetColWidth(2);
    CRect h2 = grid.CalcCellRect(0, 2);
    ASSERT_TRUE(afxtest::Drag(Screen(CPoint(h2.right - 1, h2.top + 5)), Screen(CPoint(h2.right + 29, h2.top + 5))));
    EXPECT_EQ(grid.GetColWidth(2), w2 + 30);
    EXPECT_EQ(grid.GetParam()->GetUndoList().GetCount(), 1);
    h2 = grid.CalcCellRect(0, 2);
    ASSERT_TRUE(afxtest::Drag(Screen(CPoint(h2.right - 1, h2.top + 5)), Screen(CPoint(h2.left - 40, h2.top + 5))));
    EXPECT_EQ(grid.GetColWidth(2), 1);
    CRect g;
    grid.GetGridRect(&g);
    h2 = grid.CalcCellRect(0, 2);
    ASSERT_TRUE(afxtest::Drag(Screen(CPoint(h2.right - 1, h2.top + 5)), Screen(CPoint(g.right + 50, h2.top + 5))));
    EXPECT_EQ(grid.CalcCellRect(0, 2).right, g.right - 7);
    const int before = grid.GetColWidth(2);
    h2 = grid.CalcCellRect(0, 2);
    ASSERT_TRUE(afxtest::Drag(Screen(CPoint(h2.right - 2, h2.top + 5)), Screen(CPoint(h2.right - 1, h2.top + 5)), 1));
    EXPECT_EQ(grid.GetColWidth(2), before);

    // Rows 2-3 and 5 selected: dragging row 2's edge sizes all three.
    grid.SetSelectionRange(nullptr, 0, 0, 0, 0);
    grid.SelectRange(CGXRange().SetRows(2, 3));
    grid.SelectRange(CGXRange().SetRows(5, 5));
    const int h = grid.GetRowHeight(2);
    CRect r2 = grid.CalcCellRect(2, 0);
    ASSERT_TRUE(afxtest::Drag(Screen(CPoint(r2.left + 10, r2.bottom - 1)), Screen(CPoint(r2.left + 10, r2.bottom + 9))));
    EXPECT_EQ(grid.GetRowHeight(2), h + 10);
    EXPECT_EQ(grid.GetRowHeight(3), h + 10);
    EXPECT_EQ(grid.GetRowHeight(5), h + 10);
    EXPECT_EQ(grid.GetRowHeight(4), h);

    // The whole table selected: the default height changes.
    grid.SetSelectionRange(nullptr, 0, 0, 0, 0);
    grid.SelectRange(CGXRange().SetTable());
    const int def = grid.GetDefaultRowHeight();
    CRect r7 = grid.CalcCellRect(7, 0);
    ASSERT_TRUE(afxtest::Drag(Screen(CPoint(r7.left + 10, r7.bottom - 1)), Screen(CPoint(r7.left + 10, r7.bottom + 5))));
    EXPECT_EQ(grid.GetDefaultRowHeight(), def + 6);

    // A live drag (the grid follows) taken back by Escape.
    grid.SetSelectionRange(nullptr, 0, 0, 0, 0);
    grid.GetParam()->m_wOptionD |= 0x100;
    const int w4 = grid.GetColWidth(4);
    CRect h4 = grid.CalcCellRect(0, 4);
    afxtest::InputScript esc;
    esc.MoveTo(Screen(CPoint(h4.right - 1, h4.top + 5)))
        .Down()
        .MoveInSteps(Screen(CPoint(h4.right + 30, h4.top + 5)), 3)
        .Key(VK_ESCAPE)
        .Up()
        .Pause(30);
    ASSERT_TRUE(esc.Run());
    EXPECT_EQ(grid.GetColWidth(4), w4);
    EXPECT_FALSE(grid.IsTracking());
}

namespace {
// The grid window's pixels as the screen shows them.
std::vector<COLORREF> Pixels(CWnd& wnd)
{
    wnd.UpdateWindow();
    CRect rc;
    wnd.GetClientRect(&rc);
    std::vector<COLORREF> v;
    HDC dc = ::GetDC(wnd.GetSafeHwnd());
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x)
            v.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(wnd.GetSafeHwnd(), dc);
    return v;
}
} // namespace

// The inverted-line mode (no live sizing): an edge grabbed a few pixels off moves its line by the
// distance the mouse moved, and the size changes by that much; a cancelled drag leaves the screen
// as it was.
TEST_F(MouseTest, SizeLinesKeepTheGrabOffsetAndACancelLeavesNone)
{
    grid.GetParam()->m_wOptionD = 2;
    CRect rc;
    grid.GetClientRect(&rc);
    // The pixel columns (rows) that differ from the picture before the drag.
    auto changedLines = [&](const std::vector<COLORREF>& before, bool bRows) {
        const std::vector<COLORREF> now = Pixels(grid);
        std::string s;
        const int nLines = bRows ? rc.bottom : rc.right, nAlong = bRows ? rc.right : rc.bottom;
        for (int k = 0; k < nLines; ++k)
            for (int a = 0; a < nAlong; ++a) {
                const size_t i = bRows ? static_cast<size_t>(k) * rc.right + a : static_cast<size_t>(a) * rc.right + k;
                if (now[i] != before[i]) {
                    s += std::to_string(k) + " ";
                    break;
                }
            }
        return s;
    };
    auto changedColumns = [&](const std::vector<COLORREF>& before) { return changedLines(before, false); };
    auto send = [&](UINT msg, UINT flags, CPoint pt) { grid.SendMessage(msg, flags, MAKELPARAM(pt.x, pt.y)); };
    grid.GetParam()->m_wOptionE = 2;
    for (BOOL bRB : {FALSE, TRUE}) {
        grid.GetParam()->m_bLinesAtRightBottom = bRB;
        grid.Redraw(GX_UPDATENOW);
        for (int d : {-3, 3})
            for (bool bRows : {false, true}) {
                SCOPED_TRACE(std::to_string(bRB) + " " + std::to_string(d) + " " + std::to_string(bRows));
                // Column 2's right edge, or row 3's bottom edge, grabbed d pixels off and moved by 20.
                const int size = bRows ? grid.GetRowHeight(3) : grid.GetColWidth(2);
                const CRect header = bRows ? grid.CalcCellRect(3, 0) : grid.CalcCellRect(0, 2);
                const int edge = (bRows ? header.bottom : header.right) - (bRB ? 1 : 0);
                const CPoint grab = bRows ? CPoint(header.left + 5, header.bottom + d) : CPoint(header.right + d, header.top + 5);
                const CSize by = bRows ? CSize(0, 20) : CSize(20, 0);
                const std::vector<COLORREF> before = Pixels(grid);
                send(WM_LBUTTONDOWN, MK_LBUTTON, grab);
                afxtest::PumpMessages();
                ASSERT_TRUE(grid.IsTracking());
                send(WM_MOUSEMOVE, MK_LBUTTON, grab + by);
                EXPECT_EQ(changedLines(before, bRows), std::to_string(edge + 20) + " ");
                send(WM_LBUTTONUP, 0, grab + by);
                afxtest::PumpMessages();
                EXPECT_EQ(bRows ? grid.GetRowHeight(3) : grid.GetColWidth(2), size + 20);
            }
    }
    grid.GetParam()->m_bLinesAtRightBottom = FALSE;
    grid.Redraw(GX_UPDATENOW);
    // Cancelled, with the start area repainted at the start (the default) or the start line shown
    // during the drag (option 0x10): nothing changed on the screen.
    for (WORD opt : {2, 0x12}) {
        SCOPED_TRACE(opt);
        grid.GetParam()->m_wOptionD = opt;
        const int w3 = grid.GetColWidth(3);
        const CRect h3 = grid.CalcCellRect(0, 3);
        const std::vector<COLORREF> before = Pixels(grid);
        send(WM_LBUTTONDOWN, MK_LBUTTON, CPoint(h3.right - 1, h3.top + 5));
        afxtest::PumpMessages();
        send(WM_MOUSEMOVE, MK_LBUTTON, CPoint(h3.right + 24, h3.top + 5));
        afxtest::PumpMessages();
        const std::string start = opt & 0x10 ? std::to_string(h3.right) + " " : "";
        EXPECT_EQ(changedColumns(before), start + std::to_string(h3.right + 25) + " ");
        // Back on the start line, then cancelled.
        send(WM_MOUSEMOVE, MK_LBUTTON, CPoint(h3.right - 1, h3.top + 5));
        EXPECT_EQ(changedColumns(before), opt & 0x10 ? start : std::to_string(h3.right) + " ");
        grid.SendMessage(WM_CANCELMODE);
        afxtest::PumpMessages();
        EXPECT_FALSE(grid.IsTracking());
        EXPECT_EQ(grid.GetColWidth(3), w3);
        EXPECT_EQ(changedColumns(before), "");
    }
}

// A double click on an edge beside hidden columns shows the whole run.
TEST_F(MouseTest, DoubleClickOnAnEdgeShowsTheHiddenRun)
{
    grid.HideCols(3, 4, TRUE);
    const CRect h2 = grid.CalcCellRect(0, 2);
    ASSERT_TRUE(afxtest::DoubleClick(Screen(CPoint(h2.right - 2, h2.top + 5))));
    afxtest::PumpMessages();
    EXPECT_FALSE(grid.IsColHidden(3));
    EXPECT_FALSE(grid.IsColHidden(4));
    // On a plain edge the column gets its default width back.
    grid.SetColWidth(1, 1, 99);
    const CRect h1 = grid.CalcCellRect(0, 1);
    ASSERT_TRUE(afxtest::DoubleClick(Screen(CPoint(h1.right - 2, h1.top + 5))));
    afxtest::PumpMessages();
    EXPECT_EQ(grid.GetColWidth(1), grid.GetDefaultColWidth());
}

// Dragging a selected column's header moves the column with its values, width and styles as one
// undo step; Ctrl at a row header's press starts no row drag; a refused drop shows cursor 23206.
TEST_F(MouseTest, HeaderDragsMoveColumnsAndRows)
{
    grid.GetParam()->m_bAllowColMoving = TRUE;
    grid.GetParam()->m_bAllowRowMoving = TRUE;
    grid.SetValueRange(CGXRange(1, 2), "two");
    grid.SetColWidth(2, 2, 70);
    CGXStyle s;
    s.SetValue("colstyle");
    grid.SetStyleRange(CGXRange().SetCols(2), &s, gxOverride, -1);
    grid.GetParam()->EmptyUndoList();
    grid.SelectRange(CGXRange().SetCols(2));
    // Released on column 5: columns move so that column 2 lands just before column 5.
    ASSERT_TRUE(afxtest::Drag(Center(0, 2), Center(0, 5)));
    EXPECT_EQ(grid.GetCellValue(1, 4), "two");
    EXPECT_EQ(grid.GetColWidth(4), 70);
    CGXStyle read;
    EXPECT_TRUE(grid.ReadCellStyle(0, 4, read, gxCopy, -1));
    EXPECT_EQ(grid.GetParam()->GetUndoList().GetCount(), 1);
    EXPECT_FALSE(grid.IsMovingRowsCols());
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(grid.GetCellValue(1, 2), "two");
    EXPECT_EQ(grid.GetColWidth(2), 70);

    // Ctrl held at the press: no row drag, the press selects instead.
    grid.SetSelectionRange(nullptr, 0, 0, 0, 0);
    grid.SelectRange(CGXRange().SetRows(3, 4));
    grid.SetValueRange(CGXRange(3, 1), "three");
    SetModifiers(VK_CONTROL);
    ClickWithKeys(3, 0, MK_CONTROL);
    SetModifiers(0);
    EXPECT_FALSE(grid.IsMovingRowsCols());
    EXPECT_EQ(grid.GetCellValue(3, 1), "three");

    // A row drag over a place the grid refuses shows the no-drop cursor.
    grid.SetSelectionRange(nullptr, 0, 0, 0, 0);
    grid.SelectRange(CGXRange().SetRows(3, 4));
    EXPECT_TRUE(grid.StartRowColMoveDrag(3, 0));
    grid.TrackRowColMoveDrag(3, 1, 8, 0);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(GX_IDC_SELDRAG)));
    grid.CancelRowColMoveDrag();
    // The corner starts nothing.
    EXPECT_FALSE(grid.StartRowColMoveDrag(0, 0));
}

// A row drag released on a row moves the rows there (rows 3-4 on 8 go to 6-7).
TEST_F(MouseTest, ARowDragReleasedOnARow)
{
    grid.GetParam()->m_bAllowRowMoving = TRUE;
    grid.SetValueRange(CGXRange(3, 1), "three");
    grid.GetParam()->EmptyUndoList();
    grid.SelectRange(CGXRange().SetRows(3, 4));
    ASSERT_TRUE(afxtest::Drag(Center(3, 0), Screen(grid.CalcCellRect(8, 0).TopLeft() + CSize(5, 2))));
    EXPECT_EQ(grid.GetCellValue(6, 1), "three");
    EXPECT_EQ(grid.GetParam()->GetUndoList().GetCount(), 1);
}

namespace {
class CRefusingDropGrid : public CGXGridWnd
{
public:
    BOOL CanMoveRowsTo(ROWCOL, ROWCOL, ROWCOL nTarget) override { return nTarget < 6; }
};
} // namespace

TEST_F(MouseTest, ARefusedDropShowsTheNoDropCursor)
{
    CRefusingDropGrid g2;
    ASSERT_TRUE(g2.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 300), &frame, 2));
    g2.InitGrid();
    g2.SetRowCount(10);
    g2.SetColCount(3);
    g2.SelectRange(CGXRange().SetRows(2, 2));
    ASSERT_TRUE(g2.StartRowColMoveDrag(2, 0));
    g2.TrackRowColMoveDrag(2, 1, 8, 0);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(GX_IDC_NODROP)));
    EXPECT_FALSE(g2.EndRowColMoveDrag(2, 1, 8, 0));
    EXPECT_FALSE(g2.IsMovingRowsCols());
}

// The auto-scroll step as arithmetic: a point in the border scrolls once the first delay has
// passed, then at the repeat delay; ptFar outside, the step grows with the distance.
TEST_F(MouseTest, AutoScrollStepWithAnInjectedClock)
{
    grid.SetRowCount(200);
    grid.SetColCount(50);
    static DWORD s_now = 1000;
    AfxSeamSetTickCount([] { return s_now; });
    grid.m_nAutoScrollBorder = 10;
    grid.m_nAutoScrollFirstDelay = 300;
    grid.m_nAutoScrollRepeatDelay = 50;
    CRect g;
    grid.GetGridRect(&g);
    const CPoint bottom = Screen(CPoint(g.CenterPoint().x, g.bottom - 3));
    EXPECT_TRUE(grid.AutoScrollStep(bottom));
    EXPECT_EQ(grid.m_nTopRow, 1u);
    s_now += 300;
    EXPECT_TRUE(grid.AutoScrollStep(bottom));
    EXPECT_EQ(grid.m_nTopRow, 1u);   // not more than the delay yet
    s_now += 1;
    EXPECT_TRUE(grid.AutoScrollStep(bottom));
    EXPECT_EQ(grid.m_nTopRow, 2u);
    s_now += 51;
    EXPECT_TRUE(grid.AutoScrollStep(bottom));
    EXPECT_EQ(grid.m_nTopRow, 3u);
    // The middle asks for nothing.
    EXPECT_FALSE(grid.AutoScrollStep(Screen(g.CenterPoint())));
    // Outside (with the switch): rows per step = distance / (line height + 1).
    grid.m_dwDragFlags = 0x40;
    grid.m_nAutoScrollOutsideDelay = 0;
    const int H = grid.GetScaleHeight() + 1;
    const CPoint ptFar = Screen(CPoint(g.CenterPoint().x, g.bottom - 10 + 3 * H));
    EXPECT_TRUE(grid.AutoScrollStep(ptFar));
    s_now += 1;
    const ROWCOL top = grid.m_nTopRow;
    EXPECT_TRUE(grid.AutoScrollStep(ptFar));
    EXPECT_EQ(grid.m_nTopRow, top + 3);
    AfxSeamSetTickCount(nullptr);
}

// A double click on a cell makes it current and goes to its control; a right click makes a cell
// current and selects nothing.
TEST_F(MouseTest, DoubleAndRightClicksOnCells)
{
    auto* ctl = new CScriptedControl(&grid, 52512);
    grid.SetControlForId(52512, ctl, TRUE);
    ASSERT_TRUE(afxtest::DoubleClick(Center(6, 3)));
    afxtest::PumpMessages();
    EXPECT_EQ(Row(grid), 6u);
    EXPECT_EQ(Col(grid), 3u);
    auto calls = ctl->Protocol();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "LButtonDblClk"), calls.end());

    afxtest::InputScript right;
    right.MoveTo(Center(8, 5)).Down(true).Up(true).Pause(30);
    ASSERT_TRUE(right.Run());
    EXPECT_EQ(Row(grid), 8u);
    EXPECT_EQ(Col(grid), 5u);
    EXPECT_EQ(Selection(), "");
    EXPECT_EQ(::GetCapture(), nullptr);
}
