// The current cell and its control: leaving, storing, refusing and entering; the keyboard.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "grid_test_util.h"
#include "gxaxis.h"
#include "gxinit.h"
#include "gxwnd.h"

namespace {
class CurrentCellTest : public ::testing::Test
{
public:
    CProfileTestRoot root;
    CWnd frame;
    CGXGridWnd* grid = nullptr;
    CScriptedControl* ctl = nullptr;

    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "current cell", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400,
                                   nullptr, nullptr));
        frame.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(frame.GetSafeHwnd());
        grid = new CGXGridWnd;
        ASSERT_TRUE(grid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 480, 360),
                                 &frame, 1));
        grid->InitGrid();
        grid->SetRowCount(10);
        grid->SetColCount(5);
        ctl = new CScriptedControl(grid, 52512);
        grid->SetControlForId(52512, ctl, TRUE);
        grid->SetFocus();
        afxtest::PumpMessages();
    }
    void TearDown() override
    {
        if (grid != nullptr && grid->GetSafeHwnd())
            grid->DestroyWindow();
        delete grid;
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
        ::SetKeyboardState(std::vector<BYTE>(256, 0).data());
    }
    // (2, 2) current, its control active with a typed text.
    void EditCell(ROWCOL r, ROWCOL c, LPCSTR text)
    {
        ASSERT_TRUE(grid->PlaceCurrentCell(r, c));
        ctl->m_bActive = TRUE;
        ctl->m_bModified = TRUE;
        ctl->m_strText = text;
        ctl->m_calls.clear();
    }
    ROWCOL CurRow()
    {
        ROWCOL r, c;
        return grid->GetCurrentCellPos(r, c) ? r : 0;
    }
    ROWCOL CurCol()
    {
        ROWCOL r, c;
        return grid->GetCurrentCellPos(r, c) ? c : 0;
    }
    // Whether the calls hold these in this order (others may lie between).
    static bool InOrder(const std::vector<std::string>& calls, const std::vector<std::string>& want)
    {
        size_t i = 0;
        for (const auto& s : calls)
            if (i < want.size() && s == want[i])
                ++i;
        return i == want.size();
    }
    static std::string Join(const std::vector<std::string>& v)
    {
        std::string s;
        for (const auto& x : v)
            s += x + "; ";
        return s;
    }
};
} // namespace

// Moving on: the old cell is validated, stored, ended, hidden, deactivated and left; then the new
// cell's control is initialised and, with flag 0x10, activated.
TEST_F(CurrentCellTest, MovingStoresTheEditInTheProtocolsOrder)
{
    EditCell(2, 2, "typed");
    EXPECT_TRUE(grid->PlaceCurrentCell(3, 4, 0x10));
    const auto calls = ctl->Protocol();
    EXPECT_TRUE(InOrder(calls, {"OnValidate", "Store", "OnEndEditing", "Hide", "SetActive 0", "OnLeftCell 3,4",
                                "Reset", "Init 3,4", "SetActive 1"}))
        << Join(calls);
    EXPECT_EQ(grid->GetCellValue(2, 2), "typed");
    EXPECT_EQ(CurRow(), 3u);
    EXPECT_EQ(CurCol(), 4u);
    EXPECT_TRUE(ctl->IsActive());
    EXPECT_EQ(grid->GetParam()->m_nCurrentRow, 3u);
    // Without a change nothing is validated or stored.
    ctl->m_calls.clear();
    ctl->m_bModified = FALSE;
    EXPECT_TRUE(grid->PlaceCurrentCell(4, 4));
    EXPECT_FALSE(InOrder(ctl->Protocol(), {"OnValidate"}));
    EXPECT_FALSE(InOrder(ctl->Protocol(), {"Store"}));
}

// The outcomes of PlaceCurrentCell from an edited (2, 2), as one table.
TEST_F(CurrentCellTest, PlacementOutcomes)
{
    struct Case
    {
        const char* name;
        std::function<void(CurrentCellTest&)> setup;
        ROWCOL row, col;
        BOOL result;
        ROWCOL curRow, curCol;   // 0, 0: no current cell
        BOOL active;
        const char* text;        // the control's text afterwards
        const char* stored;      // the value of (2, 2) afterwards
        std::vector<std::string> calls;
        int boxes;
    };
    const Case cases[] = {
        {"plain move", nullptr, 5, 3, TRUE, 5, 3, FALSE, "", "typed", {"Store", "Init 5,3"}, 0},
        {"disabled target",
         [](CurrentCellTest& t) {
             CGXStyle off;
             off.SetEnabled(FALSE);
             t.grid->SetStyleRange(CGXRange(5, 3), &off, gxOverride);
         },
         5, 3, FALSE, 2, 2, FALSE, "", "typed", {"Store", "Init 2,2", "Invalidate"}, 0},
        {"validation refused with a warning",
         [](CurrentCellTest& t) {
             t.ctl->m_bValidate = FALSE;
             t.ctl->m_strWarning = "Not a number.";
         },
         5, 3, FALSE, 2, 2, TRUE, "typed", "", {"OnValidate", "Invalidate"}, 1},
        {"validation refused quietly", [](CurrentCellTest& t) { t.ctl->m_bValidate = FALSE; }, 5, 3, FALSE, 2, 2, TRUE,
         "typed", "", {"OnValidate", "Invalidate"}, 0},
        {"store refused", [](CurrentCellTest& t) { t.ctl->m_nStore = 2; }, 5, 3, FALSE, 2, 2, TRUE, "typed", "",
         {"Store", "SetActive 1", "SetCurrentText typed"}, 0},
        {"end of editing refused", [](CurrentCellTest& t) { t.ctl->m_bEndEditing = FALSE; }, 5, 3, FALSE, 2, 2, TRUE,
         "typed", "typed", {"Store", "OnEndEditing", "SetActive 1", "SetCurrentText typed"}, 0},
        {"same cell stores and starts over", nullptr, 2, 2, TRUE, 2, 2, FALSE, "typed", "typed",
         {"Store", "Hide", "SetActive 0", "Reset", "Init 2,2"}, 0},
        {"beyond the row count", nullptr, 11, 1, TRUE, 0, 0, FALSE, "typed", "typed", {"Store", "Reset"}, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ctl->m_bActive = ctl->m_bModified = FALSE;   // what the last case left is not stored
        grid->SetValueRange(CGXRange(2, 2), "");
        grid->SetStyleRange(CGXRange(5, 3), nullptr, gxRemove);
        ctl->m_bValidate = ctl->m_bEndEditing = TRUE;
        ctl->m_nStore = 1;
        ctl->m_strWarning.Empty();
        EditCell(2, 2, "typed");
        if (k.setup)
            k.setup(*this);
        AfxSeamReset();
        if (k.boxes)
            AfxSeamAnswer(IDOK);
        // A key typed ahead while the cell was being left never reaches the next cell.
        grid->PostMessage(WM_CHAR, 'x', 0);
        EXPECT_EQ(grid->PlaceCurrentCell(k.row, k.col), k.result);
        EXPECT_EQ(CurRow(), k.curRow);
        EXPECT_EQ(CurCol(), k.curCol);
        EXPECT_EQ(ctl->IsActive(), k.active);
        if (k.active) {
            EXPECT_STREQ((LPCSTR)ctl->m_strText, k.text);
        }
        if (k.active) {
            EXPECT_TRUE(ctl->GetModify() || !k.result);
        }
        EXPECT_EQ(grid->GetCellValue(2, 2), k.stored);
        EXPECT_TRUE(InOrder(ctl->Protocol(), k.calls)) << Join(ctl->Protocol());
        EXPECT_EQ((int)AfxSeamCalls().size(), k.boxes);
        if (k.boxes) {
            EXPECT_EQ(AfxSeamCalls()[0].text, "Not a number.");
            EXPECT_EQ(grid->GetWarningText(), "");
            MSG msg;
            EXPECT_FALSE(::PeekMessageA(&msg, grid->GetSafeHwnd(), WM_CHAR, WM_CHAR, PM_NOREMOVE));
        }
        MSG msg;
        while (::PeekMessageA(&msg, grid->GetSafeHwnd(), WM_CHAR, WM_CHAR, PM_REMOVE)) {
        }
    }
}

// Without an old cell a refused cell answers FALSE; while printing no current cell is reported
// unless asked; a refused cancel keeps the typed text.
TEST_F(CurrentCellTest, RefusalsWithoutAnOldCellPrintingAndARefusedCancel)
{
    CGXStyle off;
    off.SetEnabled(FALSE);
    grid->SetStyleRange(CGXRange(4, 4), &off, gxOverride);
    EXPECT_FALSE(grid->PlaceCurrentCell(4, 4));
    EXPECT_FALSE(grid->IsCurrentCellAt(GX_INVALID, GX_INVALID));

    ASSERT_TRUE(grid->PlaceCurrentCell(3, 3));
    ROWCOL r, c;
    grid->SetPrinting(TRUE);
    EXPECT_FALSE(grid->GetCurrentCellPos(r, c));
    EXPECT_TRUE(grid->GetCurrentCellPos(r, c, TRUE));
    EXPECT_EQ(r, 3u);
    grid->SetPrinting(FALSE);

    EditCell(3, 3, "typed");
    ctl->m_bCancelEditing = FALSE;
    EXPECT_FALSE(grid->TransferCurrentCell(FALSE));
    EXPECT_STREQ((LPCSTR)ctl->m_strText, "typed");
    EXPECT_TRUE(ctl->IsActive());
    EXPECT_EQ(ctl->Protocol(), (std::vector<std::string>{"OnCancelEditing", "Invalidate"}));
    ctl->m_bCancelEditing = TRUE;
    EXPECT_TRUE(grid->TransferCurrentCell(FALSE));
    EXPECT_STREQ((LPCSTR)ctl->m_strText, "");
    EXPECT_TRUE(InOrder(ctl->Protocol(), {"OnCancelEditing", "Init 3,3", "Invalidate", "OnCanceledEditing"}));
    // Storing through TransferCurrentCell keeps the cell and saves the text.
    EditCell(3, 3, "kept");
    EXPECT_TRUE(grid->TransferCurrentCell(TRUE));
    EXPECT_EQ(grid->GetCellValue(3, 3), "kept");
    EXPECT_TRUE(grid->IsCurrentCellAt(3, 3));
}

// With the selection following the current cell a move selects the new cell alone.
TEST_F(CurrentCellTest, SelectionFollowsTheCurrentCell)
{
    grid->GetParam()->m_bSelectionFollowsCell = TRUE;
    ASSERT_TRUE(grid->PlaceCurrentCell(2, 2));
    ASSERT_TRUE(grid->PlaceCurrentCell(4, 3));
    CGXRangeList& sel = grid->GetParam()->m_selRanges;
    ASSERT_EQ(sel.GetCount(), 1);
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange(4, 3));
    // Flag 0x80 leaves the selection alone.
    ASSERT_TRUE(grid->PlaceCurrentCell(5, 5, 0x80));
    EXPECT_EQ(*sel.GetRangeAt(sel.GetHeadPosition()), CGXRange(4, 3));
}

// Losing the focus stores a changed cell and deactivates its control; a refused validation or
// store keeps it active and ActivateGrid answers FALSE; focus moving into the grid's own child
// changes nothing; gaining the focus activates with option 4.
TEST_F(CurrentCellTest, FocusLossStoresAndFocusGainActivates)
{
    CWnd other;
    ASSERT_TRUE(other.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 370, 50, 390), &frame, 2));
    CWnd inner;   // a window of the grid's own, as an editing control's window is
    ASSERT_TRUE(inner.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(5, 5, 40, 20), grid, 3));

    EditCell(2, 2, "typed");
    inner.SetFocus();
    EXPECT_TRUE(ctl->IsActive());
    EXPECT_EQ(grid->GetCellValue(2, 2), "");
    grid->SetFocus();
    ctl->m_calls.clear();

    other.SetFocus();
    EXPECT_EQ(grid->GetCellValue(2, 2), "typed");
    EXPECT_FALSE(ctl->IsActive());
    EXPECT_FALSE(ctl->GetModify());
    EXPECT_TRUE(grid->IsCurrentCellAt(2, 2));

    ctl->m_bActive = ctl->m_bModified = TRUE;
    ctl->m_strText = "again";
    ctl->m_bValidate = FALSE;
    EXPECT_FALSE(grid->ActivateGrid(FALSE));
    EXPECT_TRUE(ctl->IsActive());
    ctl->m_bValidate = TRUE;
    ctl->m_nStore = 2;
    EXPECT_FALSE(grid->ActivateGrid(FALSE));
    EXPECT_TRUE(ctl->IsActive());
    EXPECT_STREQ((LPCSTR)ctl->m_strText, "again");
    ctl->m_nStore = 1;
    EXPECT_TRUE(grid->ActivateGrid(FALSE));
    EXPECT_FALSE(ctl->IsActive());

    // Gaining the focus: only option 4 activates; the engine becomes the program's active grid.
    grid->SetFocus();
    EXPECT_FALSE(ctl->IsActive());
    EXPECT_EQ(GXGetAppState()->m_pActiveGrid, static_cast<CGXGridEngine*>(grid));
    other.SetFocus();
    grid->GetParam()->m_dwActivateOptions = 4;
    grid->SetFocus();
    EXPECT_TRUE(ctl->IsActive());
    inner.DestroyWindow();
    other.DestroyWindow();

    // The engine's end clears the program's pointer to it.
    grid->DestroyWindow();
    delete grid;
    grid = nullptr;
    EXPECT_EQ(GXGetAppState()->m_pActiveGrid, nullptr);
}

// Message 0x792 validates the active cell now: refused, the warning shows once; the dialog
// code asks for arrows, Tab and characters.
TEST_F(CurrentCellTest, ValidateMessageWarnsOnceAndDialogCode)
{
    EditCell(2, 2, "typed");
    ctl->m_bValidate = FALSE;
    ctl->m_strWarning = "Out of range.";
    AfxSeamAnswer(IDOK);
    EXPECT_EQ(grid->SendMessage(0x792, 0, 0), 1);
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].text, "Out of range.");
    EXPECT_TRUE(ctl->IsActive());
    ctl->m_bValidate = TRUE;
    EXPECT_EQ(grid->SendMessage(0x792, 0, 0), 0);
    EXPECT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(grid->SendMessage(WM_GETDLGCODE, 0, 0) & 0x83, 0x83);
}
