// Find and replace on real grid windows with the system's Find and Replace dialogs.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "afxdlgs.h"
#include "afxseam.h"
#include "afxtest.h"
#include "grid_test_util.h"
#include "gxutil.h"
#include "gxwnd.h"

namespace {
using Texts = std::vector<std::string>;

// A control that searches and replaces its cell's text with the base operations.
class CFindTestControl : public CGXControl
{
public:
    explicit CFindTestControl(CGXGridEngine* pGrid) : CGXControl(pGrid) {}
};

// A grid that counts its beeps and the rows a scan reaches.
class CFindGrid : public CGXGridWnd
{
public:
    void Beep() override { ++m_nBeeps; }
    void OnAccessRowCol(ROWCOL nRow, ROWCOL nCol) override
    {
        m_accessed.push_back(nRow);
        CGXGridWnd::OnAccessRowCol(nRow, nCol);
    }
    int m_nBeeps = 0;
    std::vector<ROWCOL> m_accessed;
};

class FindTest : public ::testing::Test
{
public:
    CProfileTestRoot root;
    CWnd frame;
    CFindGrid* grid = nullptr;
    CFindGrid* other = nullptr;

    CFindGrid* MakeGrid(int nId, const CRect& rc)
    {
        CFindGrid* g = new CFindGrid;
        EXPECT_TRUE(g->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, &frame, nId));
        g->InitGrid();
        g->SetRowCount(8);
        g->SetColCount(3);
        g->SetControlForId(52512, new CFindTestControl(g), TRUE);
        const char* col1[] = {"alpha", "Beta", "gamma", "BETA", "delta", "beta x", "", "epsilon"};
        for (ROWCOL r = 1; r <= 8; ++r)
            g->SetValueRange(CGXRange(r, 1), col1[r - 1], gxOverride, 0, 0);
        g->SetValueRange(CGXRange(5, 2), "findme", gxOverride, 0, 0);
        g->GetParam()->EmptyUndoList();
        return g;
    }
    void SetUp() override
    {
        AfxSeamReset();
        CGXLongOperation::SetTicksFirstTime(100000);
        CGXLongOperation::SetTicksContinued(100000);
        CGXLongOperation::SetAbortConfirmation(FALSE);
        *GXGetFindReplaceState() = FindReplaceState();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "find", WS_OVERLAPPEDWINDOW, 0, 0, 700, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        grid = MakeGrid(1, CRect(0, 0, 340, 360));
        other = MakeGrid(2, CRect(350, 0, 690, 360));
        afxtest::PumpMessages();
    }
    void TearDown() override
    {
        for (CFindGrid* g : {grid, other}) {
            if (g != nullptr && g->GetSafeHwnd())
                g->DestroyWindow();
            delete g;
        }
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
        *GXGetFindReplaceState() = FindReplaceState();
        CGXLongOperation::SetTicksFirstTime(0);
        CGXLongOperation::SetTicksContinued(0);
    }
    static ROWCOL CurRow(CGXGridEngine* g)
    {
        ROWCOL r = 0, c = 0;
        return g->GetCurrentCellPos(r, c) ? r : 0;
    }
    Texts Col(ROWCOL nCol)
    {
        Texts v;
        for (ROWCOL r = 1; r <= grid->GetRowCount(); ++r)
            v.push_back((LPCSTR)grid->GetCellValue(r, nCol));
        return v;
    }
};
} // namespace

TEST_F(FindTest, SearchesAsATable)
{
    struct Case
    {
        ROWCOL row, col;
        const char* text;
        BOOL down, matchCase;
        ROWCOL found;   // 0: a miss (one beep, the current cell stays)
    } cases[] = {
        {1, 1, "beta", TRUE, FALSE, 2},   // case off: upper-case on both sides
        {2, 1, "beta", TRUE, FALSE, 4},   // from the current cell on, not the cell itself
        {2, 1, "beta", TRUE, TRUE, 6},    // case on
        {6, 1, "BETA", FALSE, FALSE, 4},  // upwards
        {4, 1, "beta", FALSE, TRUE, 0},   // upwards with case: nothing above
        {1, 1, "findme", TRUE, FALSE, 0}, // only the current cell's column
        {1, 2, "findme", TRUE, FALSE, 5},
        {8, 1, "alpha", TRUE, FALSE, 0},  // no wrapping around
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " from row " + std::to_string(c.row));
        ASSERT_TRUE(grid->PlaceCurrentCell(c.row, c.col));
        grid->m_nBeeps = 0;
        EXPECT_EQ(grid->FindText(c.text, c.down, c.matchCase), c.found != 0);
        EXPECT_EQ(CurRow(grid), c.found != 0 ? c.found : c.row);
        EXPECT_EQ(grid->m_nBeeps, c.found != 0 ? 0 : 1);
    }
}

TEST_F(FindTest, UpwardsNeverReachesTheHeaderRows)
{
    // From row 1 upwards the scan ends at once: no row is even asked for.
    ASSERT_TRUE(grid->PlaceCurrentCell(1, 1));
    grid->m_accessed.clear();
    EXPECT_FALSE(grid->FindText("a", FALSE, FALSE));
    EXPECT_TRUE(grid->m_accessed.empty());
    EXPECT_EQ(grid->m_nBeeps, 1);

    // Rows 1-2 as header rows: "alpha" in row 1 is not found from row 4 upwards; row 3 is.
    grid->SetFrozenRows(2, 2);
    ASSERT_TRUE(grid->PlaceCurrentCell(4, 1));
    grid->m_accessed.clear();
    EXPECT_FALSE(grid->FindText("alpha", FALSE, FALSE));
    EXPECT_EQ(grid->m_accessed, std::vector<ROWCOL>{3});
    EXPECT_TRUE(grid->FindText("gamma", FALSE, FALSE));
    EXPECT_EQ(CurRow(grid), 3u);
}

TEST_F(FindTest, ReplaceTakesOnlyTheMatchAndMovesOn)
{
    ASSERT_TRUE(grid->PlaceCurrentCell(6, 1));
    grid->Replace("BETA", TRUE, FALSE, "zeta");
    EXPECT_EQ(Col(1)[5], "zeta x");
    EXPECT_EQ(grid->m_nBeeps, 0);   // nothing further below, but one was replaced
    ASSERT_TRUE(grid->PlaceCurrentCell(1, 1));
    grid->m_nBeeps = 0;
    // Not on a match: the next one becomes current, nothing is replaced yet.
    grid->Replace("beta", TRUE, FALSE, "B");
    EXPECT_EQ(CurRow(grid), 2u);
    EXPECT_EQ(Col(1)[1], "Beta");
    grid->Replace("beta", TRUE, FALSE, "B");
    EXPECT_EQ(Col(1)[1], "B");
    EXPECT_EQ(CurRow(grid), 4u);
    EXPECT_EQ(grid->m_nBeeps, 0);
}

TEST_F(FindTest, ReplaceAllIsOneUndoStep)
{
    const std::string longText = std::string(1500, 'q') + "beta" + std::string(600, 'q');
    grid->SetValueRange(CGXRange(7, 1), longText.c_str(), gxOverride, 0, 0);
    grid->GetParam()->EmptyUndoList();
    const Texts before = Col(1);
    ASSERT_TRUE(grid->PlaceCurrentCell(1, 1));
    // The replacement holds the search text: each match is replaced once, nothing loops.
    EXPECT_TRUE(grid->ReplaceAll("beta", "abeta", FALSE));
    Texts after = Col(1);
    EXPECT_EQ(after[1], "abeta");
    EXPECT_EQ(after[3], "abeta");
    EXPECT_EQ(after[5], "abeta x");
    EXPECT_EQ(after[6], std::string(1500, 'q') + "abeta" + std::string(600, 'q'));   // no length limit
    EXPECT_EQ(after[0], "alpha");
    EXPECT_EQ(Col(2)[4], "findme");
    EXPECT_EQ(grid->GetParam()->GetUndoList().GetCount(), 1);
    ASSERT_TRUE(grid->Undo());
    EXPECT_EQ(Col(1), before);
    // Nothing to replace: a beep, no undo step.
    grid->GetParam()->EmptyUndoList();
    grid->m_nBeeps = 0;
    EXPECT_TRUE(grid->ReplaceAll("nowhere", "x", FALSE));
    EXPECT_EQ(grid->m_nBeeps, 1);
    EXPECT_EQ(grid->GetParam()->GetUndoList().GetCount(), 0);
}

TEST_F(FindTest, ReplaceAllAbortedWithAndWithoutRollback)
{
    const Texts before = Col(1);
    CGXLongOperation::SetTicksFirstTime(0);
    CGXLongOperation::SetTicksContinued(0);
    CGXLongOperation::SetAbortConfirmation(TRUE);
    struct
    {
        INT_PTR answer;
        bool rolledBack;
    } cases[] = {{IDRETRY, true}, {IDABORT, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        grid->SetValueRange(CGXRange(1, 1), "alpha", gxOverride, 0, 0);
        grid->SetValueRange(CGXRange(2, 1), "Beta", gxOverride, 0, 0);
        grid->GetParam()->EmptyUndoList();
        ASSERT_TRUE(grid->PlaceCurrentCell(2, 1));
        AfxSeamReset();
        AfxSeamAnswer(c.answer);
        // Escape is seen after the first row (row 2) was done.
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_FALSE(grid->ReplaceAll("beta", "X", FALSE));
        EXPECT_EQ(AfxSeamCalls().size(), 1u);
        EXPECT_EQ(Col(1)[3], "BETA");   // row 4 was not reached
        EXPECT_EQ(Col(1)[1], c.rolledBack ? "Beta" : "X");
        // No block stays open: the next change is a step of its own.
        EXPECT_EQ(grid->GetParam()->m_nUndoCount, 0u);
        EXPECT_EQ(grid->GetParam()->GetUndoList().GetCount(), c.rolledBack ? 0 : 1);
        if (!c.rolledBack) {
            ASSERT_TRUE(grid->Undo());
            EXPECT_EQ(Col(1)[1], "Beta");
        }
    }
}

TEST_F(FindTest, RequestsGoToTheActiveSearchGrid)
{
    grid->ShowFindReplaceDialog(TRUE);
    FindReplaceState* s = GXGetFindReplaceState();
    ASSERT_NE(s->pDialog, nullptr);
    EXPECT_EQ(s->pActiveGrid, static_cast<CGXGridEngine*>(grid));
    ASSERT_TRUE(grid->PlaceCurrentCell(1, 1));
    ASSERT_TRUE(other->PlaceCurrentCell(1, 1));
    // A request reaching the other grid's window is answered by the active one.
    CFindReplaceDialog* dlg = s->pDialog;
    lstrcpyA(dlg->m_fr.lpstrFindWhat, "delta");
    dlg->m_fr.Flags = FR_FINDNEXT | FR_DOWN;
    other->SendMessage(::RegisterWindowMessageA(FINDMSGSTRINGA), 0, reinterpret_cast<LPARAM>(&dlg->m_fr));
    EXPECT_EQ(CurRow(grid), 5u);
    EXPECT_EQ(CurRow(other), 1u);
    // A foreign request is not taken for a dialog.
    FINDREPLACEA foreign = dlg->m_fr;
    foreign.lCustData = 0;
    other->SendMessage(::RegisterWindowMessageA(FINDMSGSTRINGA), 0, reinterpret_cast<LPARAM>(&foreign));
    EXPECT_EQ(CFindReplaceDialog::GetNotifier(reinterpret_cast<LPARAM>(&foreign)), nullptr);
    ::DestroyWindow(dlg->GetSafeHwnd());
}

TEST_F(FindTest, RealDialogsFindByKeyboardAndFindClosesReplace)
{
    ASSERT_TRUE(grid->PlaceCurrentCell(2, 2));
    grid->SetValueRange(CGXRange(2, 2), "epsilon", gxOverride, 0, 0);
    grid->ShowFindReplaceDialog(FALSE);
    FindReplaceState* s = GXGetFindReplaceState();
    ASSERT_NE(s->pDialog, nullptr);
    HWND hReplace = s->pDialog->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hReplace));
    EXPECT_FALSE(s->bFindOnly);
    // The proposed text is the current cell's.
    char text[64] = "";
    ::GetDlgItemTextA(hReplace, edt1, text, sizeof text);
    EXPECT_STREQ(text, "epsilon");

    // Opening Find while Replace is open closes Replace.
    ASSERT_TRUE(grid->PlaceCurrentCell(1, 1));
    grid->ShowFindReplaceDialog(TRUE);
    afxtest::PumpMessages();
    EXPECT_FALSE(::IsWindow(hReplace));
    ASSERT_NE(s->pDialog, nullptr);
    EXPECT_TRUE(s->bFindOnly);
    HWND hFind = s->pDialog->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hFind));
    // Opening Find again activates the same dialog.
    grid->ShowFindReplaceDialog(TRUE);
    EXPECT_EQ(s->pDialog->GetSafeHwnd(), hFind);

    // Typed search text and Enter, through the dialog's keyboard handling: Find Next.
    ::SetDlgItemTextA(hFind, edt1, "gamma");
    HWND hEdit = ::GetDlgItem(hFind, edt1);
    ::SetFocus(hEdit);
    MSG msg = {hEdit, WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(nullptr, &msg));
    afxtest::PumpMessages();
    EXPECT_EQ(CurRow(grid), 3u);
    EXPECT_EQ(s->strFind, "gamma");

    // Cancel ends the dialog; the grid hears it and forgets it.
    ::SendMessageA(hFind, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(hFind, IDCANCEL));
    afxtest::PumpMessages();
    EXPECT_FALSE(::IsWindow(hFind));
    EXPECT_EQ(s->pDialog, nullptr);
}

TEST_F(FindTest, CellsBeneathACoveringAreNeitherFoundNorReplaced)
{
    // Rows 3-4 of column 1 as one cell: "gamma" shows, "BETA" beneath it does not.
    ASSERT_TRUE(grid->SetCoveredCells(3, 1, 4, 1));
    ASSERT_TRUE(grid->PlaceCurrentCell(2, 1));
    EXPECT_TRUE(grid->FindText("beta", TRUE, FALSE));
    EXPECT_EQ(CurRow(grid), 6u);
    ASSERT_TRUE(grid->PlaceCurrentCell(1, 1));
    EXPECT_TRUE(grid->ReplaceAll("beta", "x", FALSE));
    EXPECT_EQ(Col(1)[1], "x");
    EXPECT_EQ(Col(1)[3], "BETA");
    EXPECT_EQ(Col(1)[5], "x x");
}
