// Window messages of the grid: resizing redraws only the new strip, record navigation, the
// splitter-free scroll-bar lookup.
#include <gtest/gtest.h>
#include <vector>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "grid_test_util.h"
#include "gxinit.h"
#include "gxwnd.h"

namespace {
// A grid that records the clip box of every paint.
class CPaintRecordingGrid : public CGXGridWnd
{
public:
    std::vector<CRect> paints;
    void OnGridDraw(CDC* pDC) override
    {
        CRect clip;
        pDC->GetClipBox(&clip);
        paints.push_back(clip);
        CGXGridWnd::OnGridDraw(pDC);
    }
};

class WndMsgTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CFrameWnd* frame = nullptr;
    void SetUp() override
    {
        AfxSeamReset();
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "grid frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 700, 500)));
    }
    void TearDown() override
    {
        if (frame != nullptr && frame->GetSafeHwnd())
            frame->DestroyWindow();   // a frame deletes itself
        afxtest::PumpMessages();
    }
};
} // namespace

// Widening a grid in place paints only the strip beyond the last whole column; moving its
// top-left corner paints everything.
TEST_F(WndMsgTest, WideningRedrawsOnlyTheNewStrip)
{
    CPaintRecordingGrid grid;
    ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), frame, 1));
    grid.InitGrid();
    grid.SetRowCount(5);
    grid.SetColCount(20);
    // A size while shown is the one the next size is compared with.
    grid.SetWindowPos(nullptr, 0, 0, 290, 200, SWP_NOZORDER | SWP_NOMOVE);
    grid.UpdateWindow();
    afxtest::PumpMessages();
    // The right edge of the last column that showed whole at 290 pixels.
    int x = 0;
    for (ROWCOL c = 0; x + grid.GetColWidth(c) <= 290; ++c)
        x += grid.GetColWidth(c);
    grid.paints.clear();
    grid.SetWindowPos(nullptr, 0, 0, 360, 200, SWP_NOZORDER | SWP_NOMOVE);
    afxtest::PumpMessages();
    ASSERT_FALSE(grid.paints.empty());
    for (const CRect& r : grid.paints) {
        EXPECT_GE(r.left, x) << afxtest::Text(r);
        EXPECT_LE(r.right, 360) << afxtest::Text(r);
    }
    grid.paints.clear();
    grid.SetWindowPos(nullptr, 10, 0, 400, 200, SWP_NOZORDER);
    grid.UpdateWindow();
    afxtest::PumpMessages();
    ASSERT_FALSE(grid.paints.empty());
    EXPECT_EQ(grid.paints.back().left, 0);
}

// Record navigation: first, previous, next, last, and "go to" with the number clamped to the
// records, never onto a header row.
TEST_F(WndMsgTest, RecordNavigation)
{
    CGXGridWnd grid;
    ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), frame, 1));
    grid.InitGrid();
    grid.SetRowCount(12);
    grid.SetColCount(3);
    grid.SetFrozenRows(1, 1);   // one header row: records are rows 2..12
    struct Case
    {
        WPARAM code;
        LPARAM record;
        ROWCOL row;
    } cases[] = {
        {4, 5, 6}, {4, 0, 2}, {4, -7, 2}, {4, 99999, 12}, {4, 0x7fffffff, 12}, {0, 0, 2}, {2, 0, 3}, {3, 0, 12}, {1, 0, 11},
    };
    for (const Case& c : cases) {
        grid.SendMessage(0x7A3, c.code, c.record);
        ROWCOL r = 0, col = 0;
        ASSERT_TRUE(grid.GetCurrentCellPos(r, col)) << c.code << " " << c.record;
        EXPECT_EQ(r, c.row) << c.code << " " << c.record;
        EXPECT_EQ(col, 1u) << c.code << " " << c.record;
    }
}

// A child window of the current cell asks for its colours: it gets the cell's interior and text
// colours and the interior's brush; without a current cell the grid leaves it to the default.
TEST_F(WndMsgTest, ChildWindowsTakeTheCurrentCellsColours)
{
    CGXGridWnd grid;
    ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), frame, 1));
    grid.InitGrid();
    grid.SetRowCount(4);
    grid.SetColCount(3);
    CGXStyle s;
    s.SetInterior(RGB(200, 10, 10)).SetTextColor(RGB(0, 0, 90));
    grid.SetStyleRange(CGXRange(2, 2), &s, gxOverride);
    HWND hChild = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 40, 20, grid.GetSafeHwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(hChild, nullptr);
    HDC dc = ::GetDC(hChild);
    grid.SendMessage(WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)hChild);
    EXPECT_NE(::GetBkColor(dc), RGB(200, 10, 10));
    ASSERT_TRUE(grid.PlaceCurrentCell(2, 2));
    const LRESULT brush = grid.SendMessage(WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)hChild);
    EXPECT_NE(brush, 0);
    EXPECT_EQ(::GetBkColor(dc), RGB(200, 10, 10));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 90));
    LOGBRUSH lb = {};
    ASSERT_NE(::GetObjectA((HBRUSH)brush, sizeof lb, &lb), 0);
    EXPECT_EQ(lb.lbColor, RGB(200, 10, 10));
    ::ReleaseDC(hChild, dc);
    ::DestroyWindow(hChild);
}
