// Sorting rows and columns: key types, stability, headers, undo, abort, the header double click.
#include <gtest/gtest.h>
#include <clocale>
#include <functional>
#include <string>
#include <vector>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "afxwin.h"
#include "afxview.h"
#include "grid_test_util.h"
#include "gxsort.h"
#include "gxutil.h"
#include "gxwnd.h"

namespace {
using Texts = std::vector<std::string>;

class SortTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CGXGridEngine grid{nullptr};
    void SetUp() override
    {
        AfxSeamReset();
        CGXLongOperation::SetTicksFirstTime(100000);
        CGXLongOperation::SetTicksContinued(100000);
        CGXLongOperation::SetAbortConfirmation(FALSE);
        grid.InitObjects();
        grid.SetRowCount(4, 0);
        grid.SetColCount(3, 0);
    }
    void TearDown() override
    {
        CGXLongOperation::SetTicksFirstTime(0);
        CGXLongOperation::SetTicksContinued(0);
    }
    void Fill(ROWCOL nCol, const Texts& v, ROWCOL nFirst = 1)
    {
        if (grid.GetRowCount() < nFirst + v.size() - 1)
            grid.SetRowCount(static_cast<ROWCOL>(nFirst + v.size() - 1), 0);
        for (size_t i = 0; i < v.size(); ++i)
            grid.SetValueRange(CGXRange(static_cast<ROWCOL>(nFirst + i), nCol), v[i].c_str(), gxOverride, 0, 0);
        grid.GetParam()->EmptyUndoList();
    }
    Texts Col(ROWCOL nCol, ROWCOL nFirst = 1)
    {
        Texts v;
        for (ROWCOL r = nFirst; r <= grid.GetRowCount(); ++r)
            v.push_back((LPCSTR)grid.GetCellValue(r, nCol));
        return v;
    }
    Texts Row(ROWCOL nRow)
    {
        Texts v;
        for (ROWCOL c = 1; c <= grid.GetColCount(); ++c)
            v.push_back((LPCSTR)grid.GetCellValue(nRow, c));
        return v;
    }
    void SortBy(ROWCOL nCol, int nType, BOOL bDescending)
    {
        CGXSortInfoArray keys;
        keys.SetSize(1);
        keys[0].nRC = nCol;
        keys[0].sortType = nType;
        keys[0].sortOrder = bDescending;
        grid.SortRows(CGXRange().SetTable(), keys);
    }
};
} // namespace

TEST_F(SortTest, KeyTypesAndDirections)
{
    const int kAuto = CGXSortInfo::autodetect;
    struct Case
    {
        const char* what;
        Texts values;
        int type;
        BOOL desc;
        Texts sorted;
    } cases[] = {
        // Automatic numbers: "-1,5" reads as -1, the empty cell as 0.
        {"numbers", {"10", "9", "-1,5", ""}, kAuto, FALSE, {"-1,5", "", "9", "10"}},
        {"numbers down", {"10", "9", "-1,5", ""}, kAuto, TRUE, {"10", "9", "", "-1,5"}},
        // One word makes the column text, compared without regard to case.
        {"a word", {"10", "9", "Word", "1"}, kAuto, FALSE, {"1", "10", "9", "Word"}},
        {"text case", {"b", "B", "a", "A"}, CGXSortInfo::alphanumeric, FALSE, {"a", "A", "b", "B"}},
        // Dates in calendar order, the empty one lowest.
        {"dates", {"12/25/2020", "", "1/15/2019", "3/31/2021"}, kAuto, FALSE, {"", "1/15/2019", "12/25/2020", "3/31/2021"}},
        // An unreadable date on a date key counts as the lowest value.
        {"bad date", {"12/25/2020", "soon", "1/15/2019", ""}, CGXSortInfo::date, FALSE, {"soon", "", "1/15/2019", "12/25/2020"}},
        {"bad date down", {"12/25/2020", "soon", "1/15/2019", ""}, CGXSortInfo::date, TRUE, {"12/25/2020", "1/15/2019", "soon", ""}},
        // Equal numbers go on to the next key and finally to the first position.
        {"equal numbers", {"1.0", "1", "01", "0.5"}, CGXSortInfo::numeric, FALSE, {"0.5", "1.0", "1", "01"}},
        {"equal numbers down", {"1.0", "1", "01", "2"}, CGXSortInfo::numeric, TRUE, {"2", "1.0", "1", "01"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fill(1, c.values);
        Fill(2, {"r1", "r2", "r3", "r4"});
        SortBy(1, c.type, c.desc);
        EXPECT_EQ(Col(1), c.sorted);
    }
}

TEST_F(SortTest, EqualKeysKeepTheirOrderBothWays)
{
    Fill(1, {"b", "a", "b", "a", "b"});
    Fill(2, {"1", "2", "3", "4", "5"});
    SortBy(1, CGXSortInfo::autodetect, FALSE);
    EXPECT_EQ(Col(2), (Texts{"2", "4", "1", "3", "5"}));
    Fill(1, {"b", "a", "b", "a", "b"});
    Fill(2, {"1", "2", "3", "4", "5"});
    SortBy(1, CGXSortInfo::autodetect, TRUE);
    EXPECT_EQ(Col(2), (Texts{"1", "3", "5", "2", "4"}));

    // Two keys: the second decides between equal firsts.
    grid.SetRowCount(4, 0);
    Fill(1, {"b", "a", "b", "a"});
    Fill(2, {"2", "9", "1", "3"});
    CGXSortInfoArray keys;
    keys.SetSize(2);
    keys[0].nRC = 1;
    keys[0].sortType = CGXSortInfo::alphanumeric;
    keys[1].nRC = 2;
    keys[1].sortType = CGXSortInfo::numeric;
    keys[1].sortOrder = CGXSortInfo::descending;
    grid.SortRows(CGXRange().SetRows(1, 4), keys);
    EXPECT_EQ(Col(2), (Texts{"9", "3", "2", "1"}));
}

TEST_F(SortTest, HeaderRowsStayAndUndoRedoTheOrder)
{
    Fill(1, {"Name", "c", "a", "b"});
    Fill(2, {"Id", "3", "1", "2"});
    grid.SetFrozenRows(1, 1, 0);
    grid.GetParam()->EmptyUndoList();
    SortBy(1, CGXSortInfo::autodetect, FALSE);
    EXPECT_EQ(Col(1), (Texts{"Name", "a", "b", "c"}));
    EXPECT_EQ(Col(2), (Texts{"Id", "1", "2", "3"}));
    EXPECT_EQ(grid.GetParam()->GetUndoList().GetCount(), 1);
    EXPECT_EQ(grid.GetParam()->m_nSortedRow, -1);
    EXPECT_EQ(grid.GetParam()->m_nSortedCol, 1);
    EXPECT_TRUE(grid.GetParam()->m_bSortedAscending);

    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(Col(1), (Texts{"Name", "c", "a", "b"}));
    EXPECT_EQ(Col(2), (Texts{"Id", "3", "1", "2"}));
    ASSERT_TRUE(grid.Redo());
    EXPECT_EQ(Col(1), (Texts{"Name", "a", "b", "c"}));
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(Col(2), (Texts{"Id", "3", "1", "2"}));
}

TEST_F(SortTest, EscapeDuringKeyCollectionChangesNothing)
{
    Fill(1, {"c", "a", "b", "d"});
    CGXLongOperation::SetTicksFirstTime(0);
    CGXLongOperation::SetTicksContinued(0);
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    SortBy(1, CGXSortInfo::autodetect, FALSE);
    EXPECT_EQ(Col(1), (Texts{"c", "a", "b", "d"}));
    EXPECT_EQ(grid.GetParam()->GetUndoList().GetCount(), 0);
    EXPECT_EQ(grid.GetParam()->m_nSortedCol, -1);
    EXPECT_TRUE(AfxSeamCalls().empty());
}

TEST_F(SortTest, ColumnsSortByAKeyRow)
{
    grid.SetColCount(4, 0);
    for (ROWCOL c = 1; c <= 4; ++c) {
        const char* key[] = {"", "10", "9", "x", "2"};
        const char* tag[] = {"", "A", "B", "C", "D"};
        grid.SetValueRange(CGXRange(2, c), key[c], gxOverride, 0, 0);
        grid.SetValueRange(CGXRange(3, c), tag[c], gxOverride, 0, 0);
    }
    grid.GetParam()->EmptyUndoList();
    CGXSortInfoArray keys;
    keys.SetSize(1);
    keys[0].nRC = 2;
    keys[0].sortType = CGXSortInfo::autodetect;
    grid.SortCols(CGXRange().SetTable(), keys);
    // "x" makes the row text: "10" < "2" < "9" < "x".
    EXPECT_EQ(Row(2), (Texts{"10", "2", "9", "x"}));
    EXPECT_EQ(Row(3), (Texts{"A", "D", "B", "C"}));
    EXPECT_EQ(grid.GetParam()->m_nSortedRow, 2);
    EXPECT_EQ(grid.GetParam()->m_nSortedCol, -1);
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(Row(3), (Texts{"A", "B", "C", "D"}));
}

TEST_F(SortTest, HeaderDoubleClickSortsAndTogglesTheOrder)
{
    Fill(1, {"2", "3", "1", "4"});
    CPoint pt;
    EXPECT_FALSE(grid.OnLButtonDblClkRowCol(0, 1, 0, pt));   // sorting by header is off
    EXPECT_EQ(Col(1), (Texts{"2", "3", "1", "4"}));
    grid.GetParam()->m_bSortRowsByHeader = TRUE;
    EXPECT_FALSE(grid.OnLButtonDblClkRowCol(2, 1, 0, pt));   // not a header
    EXPECT_TRUE(grid.OnLButtonDblClkRowCol(0, 1, 0, pt));
    EXPECT_EQ(Col(1), (Texts{"1", "2", "3", "4"}));
    EXPECT_TRUE(grid.OnLButtonDblClkRowCol(0, 1, 0, pt));
    EXPECT_EQ(Col(1), (Texts{"4", "3", "2", "1"}));
    EXPECT_TRUE(grid.OnLButtonDblClkRowCol(0, 1, 0, pt));
    EXPECT_EQ(Col(1), (Texts{"1", "2", "3", "4"}));
    // Another column starts ascending again.
    Fill(2, {"b", "a", "d", "c"});
    EXPECT_TRUE(grid.OnLButtonDblClkRowCol(0, 2, 0, pt));
    EXPECT_EQ(Col(2), (Texts{"a", "b", "c", "d"}));
}

TEST_F(SortTest, MoveDataRefusesANonPermutation)
{
    Fill(1, {"a", "b", "c", "d"});
    CDWordArray order;
    order.SetSize(3);
    order[0] = 0, order[1] = 0, order[2] = 1;
    EXPECT_FALSE(grid.MoveDataRows(CGXRange().SetRows(1, 3), order));
    EXPECT_EQ(Col(1), (Texts{"a", "b", "c", "d"}));
    EXPECT_EQ(grid.GetParam()->GetUndoList().GetCount(), 0);
}

TEST(SortKeyNumber, ReadsTheCNotation)
{
    struct
    {
        const char* text;
        double value;
    } cases[] = {{"10", 10}, {"-1,5", -1}, {"", 0}, {" 2.5", 2.5}, {"+3", 3}, {"x", 0}, {"1e2", 100}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(GXSortKeyNumber(c.text), c.value) << c.text;
    // A decimal comma in the program's locale changes nothing.
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "German") != nullptr) {
        EXPECT_DOUBLE_EQ(GXSortKeyNumber("2.5"), 2.5);
        EXPECT_DOUBLE_EQ(GXSortKeyNumber("-1,5"), -1);
    }
    std::setlocale(LC_NUMERIC, old.c_str());
}

// A double click by synthesized input reaches the sort through the grid window's mouse handling.
TEST(SortByHeaderWindow, DoubleClickOnAColumnHeaderSortsTheRows)
{
    CProfileTestRoot root;
    AfxSeamReset();
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "sort", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                               nullptr, nullptr));
    CGXGridWnd grid;
    ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 260), &frame, 1));
    grid.InitGrid();
    grid.SetRowCount(4);
    grid.SetColCount(2);
    const char* values[] = {"pear", "apple", "plum", "fig"};
    for (ROWCOL r = 1; r <= 4; ++r)
        grid.SetValueRange(CGXRange(r, 2), values[r - 1], gxOverride, 0, 0);
    grid.GetParam()->m_bSortRowsByHeader = TRUE;
    afxtest::PumpMessages();
    ::SetForegroundWindow(frame.GetSafeHwnd());
    CPoint pt = grid.CalcRectFromRowCol(0, 2, 0, 2).CenterPoint();
    grid.ClientToScreen(&pt);
    ASSERT_TRUE(afxtest::DoubleClick(pt));
    afxtest::PumpMessages();
    std::vector<std::string> got;
    for (ROWCOL r = 1; r <= 4; ++r)
        got.push_back((LPCSTR)grid.GetCellValue(r, 2));
    EXPECT_EQ(got, (std::vector<std::string>{"apple", "fig", "pear", "plum"}));
    grid.DestroyWindow();
    frame.DestroyWindow();
    afxtest::PumpMessages();
}

namespace {
// A view of a document that hands the hints it hears to a grid.
class CGridHintView : public CView
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
class CGridHintDocument : public CDocument
{
};
} // namespace

// Two views of one grid: text typed in one of them is the user's, so undoing or redoing a sort in
// the other stores it first, as the sort did, and it moves with its row.
TEST(SortInTwoViews, UndoAndRedoStoreTheTypingOfTheOtherView)
{
    CProfileTestRoot root;
    AfxSeamReset();
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "views", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 420,
                               nullptr, nullptr));
    CGXGridWnd sorting, typing;
    ASSERT_TRUE(sorting.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 180), &frame, 1));
    ASSERT_TRUE(typing.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 190, 400, 370), &frame, 2));
    sorting.InitGrid();
    typing.SetParam(sorting.GetParam(), FALSE);
    typing.InitGrid();
    CGridHintDocument doc;
    CGridHintView view;
    view.pGrid = &typing;
    doc.AddView(&view);
    sorting.m_pDocument = &doc;
    sorting.m_bLinkedToDocument = TRUE;
    sorting.SetRowCount(4);
    sorting.SetColCount(2);
    auto* pTyped = new CScriptedControl(&typing, 52513);
    typing.SetControlForId(52513, pTyped, TRUE);
    sorting.SetStyleRange(CGXRange().SetCols(2), &CGXStyle().SetControl(52513), gxOverride, 0, nullptr, 0);
    const char* names[] = {"d", "b", "c", "a"};
    for (ROWCOL r = 1; r <= 4; ++r)
        sorting.SetValueRange(CGXRange(r, 1), names[r - 1], gxOverride, 0, 0);
    CGXSortInfoArray keys;
    keys.SetSize(1);
    keys[0].nRC = 1;
    keys[0].sortType = CGXSortInfo::alphanumeric;
    sorting.SortRows(CGXRange().SetTable(), keys);
    ASSERT_EQ(sorting.GetCellValue(1, 1), "a");
    ASSERT_TRUE(afxtest::Activate(&frame));

    // Typed into the other view's cell of row "a" (row 1 sorted); undone, row "a" is row 4 again.
    // Then typed into the cell of row "d" (row 1 unsorted); redone, row "d" is row 4. The rows the
    // grid moves itself keep the typing the same way.
    struct Step
    {
        const char* what;
        std::function<void()> before;
        ROWCOL row;
        const char* keys;
        std::function<BOOL()> change;
        ROWCOL nowAt;
        const char* name;
        const char* typed;
    } steps[] = {
        {"undo of the sort", [] {}, 1, "TYPED", [&] { return sorting.Undo(); }, 4, "a", "typed"},
        {"redo of the sort", [] {}, 1, "AGAIN", [&] { return sorting.Redo(); }, 4, "d", "again"},
        {"undo of a row move", [&] { sorting.MoveRows(2, 2, 4); }, 4, "MOVED", [&] { return sorting.Undo(); }, 2, "b",
         "moved"},
    };
    for (const Step& s : steps) {
        s.before();
        typing.SetFocus();
        ASSERT_TRUE(typing.PlaceCurrentCell(s.row, 2));
        afxtest::InputScript keys;
        for (const char* p = s.keys; *p != 0; ++p)
            keys.Key(static_cast<BYTE>(*p));
        ASSERT_TRUE(keys.Run()) << s.what;
        ASSERT_TRUE(pTyped->IsActive() && pTyped->GetModify()) << s.what;
        EXPECT_TRUE(s.change()) << s.what;
        EXPECT_EQ(sorting.GetCellValue(s.nowAt, 1), CString(s.name)) << s.what;
        EXPECT_EQ(sorting.GetCellValue(s.nowAt, 2), CString(s.typed)) << s.what;
        EXPECT_FALSE(pTyped->GetModify()) << s.what;
    }
    EXPECT_EQ(sorting.GetCellValue(1, 2), CString("typed"));
    doc.RemoveView(&view);
    sorting.m_pDocument = nullptr;
    sorting.m_bLinkedToDocument = FALSE;
    typing.DestroyWindow();
    sorting.DestroyWindow();
    frame.DestroyWindow();
    afxtest::PumpMessages();
}
