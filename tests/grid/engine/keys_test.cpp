// The keyboard: the key table, moving the current cell, extending the selection, typing.
#include <gtest/gtest.h>
#include <functional>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "grid_test_util.h"
#include "grid_tests_res.h"
#include "gxinit.h"
#include "gxwnd.h"

namespace {
// A grid that records what its keys ask for instead of doing it.
class CKeyRecordingGrid : public CGXGridWnd
{
public:
    std::vector<std::string> calls;
    void Rec(const std::string& s) { calls.push_back(s); }
    BOOL MoveCurrentCellEx(int d, ROWCOL n) override
    {
        Rec("MoveEx " + std::to_string(d) + "," + std::to_string(n));
        return TRUE;
    }
    BOOL MoveCurrentCell(int d, ROWCOL n, BOOL s) override
    {
        Rec("Move " + std::to_string(d) + "," + std::to_string(n) + "," + std::to_string(s));
        return TRUE;
    }
    BOOL TransferCurrentCell(BOOL b, UINT f, BOOL h) override
    {
        Rec("Transfer " + std::to_string(b) + "," + std::to_string(f) + "," + std::to_string(h));
        return TRUE;
    }
    BOOL Undo() override { Rec("Undo"); return TRUE; }
    BOOL Redo() override { Rec("Redo"); return TRUE; }
    BOOL Copy() override { Rec("Copy"); return TRUE; }
    BOOL Paste() override { Rec("Paste"); return TRUE; }
    BOOL Cut() override { Rec("Cut"); return TRUE; }
    BOOL CanCopy() override { return TRUE; }
    BOOL CanPaste() override { return TRUE; }
    BOOL CanCut() override { return TRUE; }
    BOOL CanClear() override { return TRUE; }
    BOOL ClearSelection(BOOL b) override
    {
        Rec("Clear " + std::to_string(b));
        return TRUE;
    }
};

enum { kCtl = 1, kShift = 2, kAlt = 4 };

void SetModifiers(int m)
{
    BYTE keys[256] = {};
    if (m & kCtl)
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    if (m & kShift)
        keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    if (m & kAlt)
        keys[VK_MENU] = keys[VK_LMENU] = 0x80;
    ::SetKeyboardState(keys);
}

class KeysTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "keys", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(frame.GetSafeHwnd());
    }
    void TearDown() override
    {
        SetModifiers(0);
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    void Make(CGXGridWnd& grid, ROWCOL nRows = 10, ROWCOL nCols = 5)
    {
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 480, 360), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(nRows);
        grid.SetColCount(nCols);
        grid.SetFocus();
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

TEST_F(KeysTest, KeyTable)
{
    CKeyRecordingGrid grid;
    Make(grid);
    grid.SetCurrentCellState(FALSE);
    struct Case
    {
        UINT vk;
        int mods;
        BOOL handled;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {VK_RETURN, 0, TRUE, {"Transfer 1,2,1", "MoveEx 4,1"}},
        {VK_RETURN, kShift, FALSE, {}},
        {VK_RETURN, kCtl, FALSE, {}},
        {VK_RETURN, kAlt, FALSE, {}},
        {VK_TAB, 0, TRUE, {"Transfer 1,2,1", "Move 4,1,1"}},
        {VK_TAB, kShift, TRUE, {"Transfer 1,2,1", "Move 2,1,1"}},
        {VK_TAB, kCtl | kShift, TRUE, {"Transfer 1,2,1", "Move 2,1,1"}},
        {VK_BACK, kCtl, TRUE, {"Redo"}},
        {VK_BACK, 0, FALSE, {}},
        {VK_PRIOR, 0, TRUE, {"MoveEx 6,1"}},
        {VK_NEXT, kShift, TRUE, {"MoveEx 5,1"}},
        {VK_HOME, kCtl, TRUE, {"MoveEx 11,1"}},
        {VK_HOME, 0, FALSE, {}},
        {VK_END, kCtl, TRUE, {"MoveEx 12,1"}},
        {VK_END, 0, FALSE, {}},
        {VK_LEFT, 0, TRUE, {"MoveEx 2,1"}},
        {VK_LEFT, kCtl, TRUE, {"MoveEx 9,1"}},
        {VK_UP, 0, TRUE, {"MoveEx 1,1"}},
        {VK_UP, kCtl, TRUE, {"MoveEx 7,1"}},
        {VK_RIGHT, 0, TRUE, {"MoveEx 4,1"}},
        {VK_RIGHT, kCtl, TRUE, {"MoveEx 10,1"}},
        {VK_DOWN, 0, TRUE, {"MoveEx 3,1"}},
        {VK_DOWN, kCtl, TRUE, {"MoveEx 8,1"}},
        {VK_INSERT, kCtl, TRUE, {"Copy"}},
        {VK_INSERT, kShift, TRUE, {"Paste"}},
        {VK_INSERT, 0, FALSE, {}},
        {VK_DELETE, kShift, TRUE, {"Cut"}},
        {VK_DELETE, 0, TRUE, {"Clear 0"}},
        {VK_DELETE, kCtl, TRUE, {"Clear 1"}},
        {VK_ESCAPE, 0, TRUE, {}},
        {VK_F2, 0, TRUE, {"Transfer 1,2,1", "MoveEx 4,1"}},   // no current cell: as Enter
        {VK_F2, kShift, FALSE, {}},
        {'A', 0, FALSE, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.vk) + " mods " + std::to_string(k.mods));
        grid.calls.clear();
        SetModifiers(k.mods);
        EXPECT_EQ(grid.OnGridKeyDown(k.vk, 1, 0), k.handled);
        EXPECT_EQ(grid.calls, k.calls);
    }
    // Characters and Alt+Backspace.
    SetModifiers(0);
    const std::pair<UINT, const char*> chars[] = {{0x03, "Copy"}, {0x12, "Redo"}, {0x16, "Paste"},
                                                  {0x18, "Cut"},  {0x1a, "Undo"}, {0x09, ""},
                                                  {0x0d, ""},     {0x7f, ""}};
    for (const auto& ch : chars) {
        grid.calls.clear();
        EXPECT_TRUE(grid.OnGridChar(ch.first, 1, 0));
        EXPECT_EQ(grid.calls.empty() ? "" : grid.calls[0], ch.second);
    }
    EXPECT_FALSE(grid.OnGridChar('a', 1, 0));
    grid.calls.clear();
    SetModifiers(kAlt);
    EXPECT_TRUE(grid.OnGridSysKeyDown(VK_BACK, 1, 0));
    EXPECT_EQ(grid.calls, std::vector<std::string>{"Undo"});
    SetModifiers(0);
    EXPECT_FALSE(grid.OnGridSysKeyDown(VK_BACK, 1, 0));
    // With a current cell F2 reloads an inactive control and stores an active one.
    grid.PlaceCurrentCell(2, 2);
    grid.calls.clear();
    EXPECT_TRUE(grid.OnGridKeyDown(VK_F2, 1, 0));
    EXPECT_EQ(grid.calls, std::vector<std::string>{"Transfer 0,2,1"});
}

// Moves over hidden rows, disabled cells, headers and frozen rows, as one table.
TEST_F(KeysTest, MovesStepOverWhatCannotTakeTheCell)
{
    CGXGridWnd grid;
    Make(grid);
    CGXStyle off;
    off.SetEnabled(FALSE);
    grid.HideRows(3, 3);
    grid.SetStyleRange(CGXRange(2, 3), &off, gxOverride);
    grid.SetStyleRange(CGXRange(6, 5), &off, gxOverride);
    grid.SetStyleRange(CGXRange().SetCells(7, 2, 10, 2), &off, gxOverride);
    struct Case
    {
        ROWCOL r, c;
        int dir;
        ROWCOL wr, wc;
    };
    const Case cases[] = {
        {2, 2, 3, 4, 2},    // the hidden row is stepped over
        {4, 2, 1, 2, 2},
        {2, 2, 4, 2, 4},    // the disabled cell is stepped over
        {2, 4, 2, 2, 2},
        {6, 4, 4, 6, 4},    // only a disabled cell to the right: nothing moves
        {6, 2, 3, 6, 2},    // every cell below disabled: nothing moves
        {1, 1, 1, 1, 1},    // the header row is never entered
        {1, 1, 2, 1, 1},
        {5, 4, 7, 1, 4},
        {5, 4, 8, 10, 4},
        {5, 4, 9, 5, 1},
        {5, 4, 10, 5, 5},
        {5, 4, 11, 1, 1},
        {5, 4, 12, 10, 5},
        {8, 3, 12, 10, 5},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.r) + "," + std::to_string(k.c) + " dir " + std::to_string(k.dir));
        ASSERT_TRUE(grid.PlaceCurrentCell(k.r, k.c));
        grid.MoveCurrentCell(k.dir, 1, TRUE);
        EXPECT_EQ(Row(grid), k.wr);
        EXPECT_EQ(Col(grid), k.wc);
    }
}

// Up from the first scrolled row: into the last frozen row without scrolling, or (scrolling past
// the frozen rows) to the row above, which scrolls into view.
TEST_F(KeysTest, UpFromTheFirstScrolledRowWithFrozenRows)
{
    CGXGridWnd grid;
    Make(grid, 100, 5);
    grid.SetFrozenRows(2);
    for (BOOL bPast : {FALSE, TRUE}) {
        SCOPED_TRACE(bPast ? "scroll past frozen" : "into the frozen rows");
        grid.GetParam()->m_bScrollPastFrozen = bPast;
        grid.SetTopRow(20);
        ASSERT_TRUE(grid.PlaceCurrentCell(20, 2));
        grid.MoveCurrentCell(1, 1, TRUE);
        EXPECT_EQ(Row(grid), bPast ? 19u : 2u);
        EXPECT_EQ(grid.GetTopRow(), bPast ? 19u : 20u);
    }
}

// Shift+arrows extend the selection from the anchor; list-box mode 2 selects whole rows.
TEST_F(KeysTest, ShiftExtendsFromTheAnchorAndListBoxModeSelectsRows)
{
    CGXGridWnd grid;
    Make(grid);
    CGXRangeList& sel = grid.GetParam()->m_selRanges;
    ASSERT_TRUE(grid.PlaceCurrentCell(2, 2));
    SetModifiers(kShift);
    grid.MoveCurrentCellEx(3, 1);
    grid.MoveCurrentCellEx(3, 1);
    grid.MoveCurrentCellEx(4, 1);
    ASSERT_EQ(sel.GetCount(), 1);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange().SetCells(2, 2, 4, 3));
    EXPECT_EQ(Row(grid), 4u);
    // Back over the anchor: the range turns round it.
    grid.MoveCurrentCellEx(7, 1);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange().SetCells(1, 2, 2, 3));
    // A move without Shift forgets the anchor.
    SetModifiers(0);
    grid.MoveCurrentCellEx(3, 1);
    SetModifiers(kShift);
    grid.MoveCurrentCellEx(4, 1);
    ASSERT_EQ(sel.GetCount(), 1);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange().SetCells(2, 3, 2, 4));

    SetModifiers(0);
    grid.GetParam()->SetOptionG(2);
    grid.MoveCurrentCellEx(3, 1);
    ASSERT_EQ(sel.GetCount(), 1);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange().SetRows(3, 3));
    SetModifiers(kShift);
    grid.MoveCurrentCellEx(3, 1);
    grid.MoveCurrentCellEx(3, 1);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange().SetRows(3, 5));
}

// Real keys: a typed character starts editing through the control, Enter stores and moves in the
// Enter direction, Tab moves right, Escape with the mouse captured only ends the capture.
TEST_F(KeysTest, TypingEnterTabAndEscapeThroughRealKeys)
{
    CGXGridWnd grid;
    Make(grid);
    auto* ctl = new CScriptedControl(&grid, 52512);
    grid.SetControlForId(52512, ctl, TRUE);
    grid.GetParam()->m_wEnterDirection = 3;
    ASSERT_TRUE(grid.PlaceCurrentCell(2, 2));
    grid.SetFocus();
    afxtest::InputScript script;
    script.Key('Q').Key('Z').Key(VK_RETURN).Key(VK_TAB).Pause(50);
    ASSERT_TRUE(script.Run());
    EXPECT_EQ(grid.GetCellValue(2, 2), "qz");
    EXPECT_EQ(Row(grid), 3u);
    EXPECT_EQ(Col(grid), 3u);

    grid.SetCapture();
    ASSERT_EQ(::GetCapture(), grid.GetSafeHwnd());
    afxtest::InputScript esc;
    esc.Key(VK_DOWN).Key(VK_ESCAPE).Pause(50);
    ASSERT_TRUE(esc.Run());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(Row(grid), 3u);   // the key that came during the capture was dropped
}

// The scroll-bar codes against the resulting top row of a 100-row grid, rows 20 pixels high.
TEST_F(KeysTest, VerticalScrollCodes)
{
    CGXGridWnd grid;
    Make(grid, 100, 5);
    grid.SetRowHeight(0, 100, 20);
    CRect g;
    grid.GetGridRect(&g);
    const ROWCOL nWhole = static_cast<ROWCOL>((g.Height() - 20) / 20);   // whole rows below the header
    ASSERT_GT(nWhole, 3u);
    // Thumb positions are bar positions: rows divided by the scroll unit.
    const UINT unit = static_cast<UINT>(grid.GetScrollUnit(SB_VERT));
    ASSERT_TRUE(unit == 1 || unit == 2);
    struct Case
    {
        ROWCOL top;
        UINT code;
        UINT pos;
        ROWCOL want;
    };
    const Case cases[] = {
        {10, SB_LINEUP, 0, 9},
        {10, SB_LINEDOWN, 0, 11},
        {1, SB_LINEUP, 0, 1},
        {50, SB_PAGEDOWN, 0, 50 + nWhole - 1},
        {50, SB_PAGEUP, 0, 50 - nWhole},
        {3, SB_PAGEUP, 0, 1},
        {1, SB_PAGEUP, 0, 1},
        {10, SB_THUMBPOSITION, 40, 40},
        {40, SB_THUMBPOSITION, 12, 12},
        {40, SB_THUMBTRACK, 12, 40},   // no thumb tracking by default
        {40, SB_TOP, 0, 1},
        {40, SB_ENDSCROLL, 0, 40},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.top) + " code " + std::to_string(k.code));
        grid.SetTopRow(k.top);
        ASSERT_EQ(grid.GetTopRow(), k.top);
        grid.SendMessage(WM_VSCROLL, MAKEWPARAM(k.code, k.pos / unit), 0);
        EXPECT_EQ(grid.GetTopRow(), k.want);
    }
    grid.GetParam()->m_bThumbTracking = TRUE;
    grid.SetTopRow(40);
    grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 12 / unit), 0);
    EXPECT_EQ(grid.GetTopRow(), 12u);
    // SB_BOTTOM goes as far as the grid lets the last row come up.
    grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_GT(grid.GetTopRow(), 80u);
}

namespace {
INT_PTR CALLBACK KeysDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }
} // namespace

// A grid in a dialog gets its arrows, Tab and characters through the dialog manager.
TEST_F(KeysTest, AGridInADialogGetsArrowsTabAndCharacters)
{
    HWND hDlg = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDD_GRID_TEST), frame.GetSafeHwnd(),
                                     KeysDialogProc, 0);
    ASSERT_NE(hDlg, nullptr);
    HWND hGrid = ::GetDlgItem(hDlg, IDC_GRID);
    auto* grid = dynamic_cast<CGXGridWnd*>(CWnd::FromHandlePermanent(hGrid));
    ASSERT_NE(grid, nullptr);
    grid->InitGrid();
    grid->SetRowCount(10);
    grid->SetColCount(5);
    auto* ctl = new CScriptedControl(grid, 52512);
    grid->SetControlForId(52512, ctl, TRUE);
    ASSERT_TRUE(grid->PlaceCurrentCell(2, 2));
    ::SetFocus(hGrid);
    auto send = [&](UINT message, WPARAM w) {
        MSG m = {hGrid, message, w, 0, 0, {0, 0}};
        EXPECT_TRUE(::IsDialogMessageA(hDlg, &m));
    };
    send(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Row(*grid), 3u);
    send(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(Col(*grid), 3u);
    send(WM_CHAR, 'k');
    EXPECT_TRUE(ctl->IsActive());
    EXPECT_STREQ((LPCSTR)ctl->m_strText, "k");
    ::DestroyWindow(hDlg);
}
