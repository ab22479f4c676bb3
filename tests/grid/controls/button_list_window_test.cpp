// The push button and the list box in a real grid window.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwin.h"
#include "afxwndtest.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxwnd.h"

namespace {
class CButtonCountingGrid : public CGXGridWnd
{
public:
    void OnClickedButtonRowCol(ROWCOL nRow, ROWCOL nCol) override
    {
        ++m_nClicks;
        m_nRow = nRow;
        m_nCol = nCol;
    }
    int m_nClicks = 0;
    ROWCOL m_nRow = 0, m_nCol = 0;
};

class ButtonListTest : public ::testing::Test
{
protected:
    CWnd frame;
    CButtonCountingGrid grid;

    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "buttons", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 620, 360), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(6);
        grid.SetColCount(3);
        grid.SetRowHeight(1, 6, 60);
        grid.SetStyleRange(CGXRange(1, 1, 6, 1), &CGXStyle().SetControl(GX_IDS_CTRL_PUSHBTN).SetChoiceList("Press"),
                           gxOverride);
        grid.SetStyleRange(CGXRange(1, 2, 6, 2),
                           &CGXStyle().SetControl(GX_IDS_CTRL_LISTBOX).SetChoiceList("Apple\nA\nB"), gxOverride);
        ASSERT_TRUE(afxtest::Activate(&frame));
        grid.SetFocus();
    }
    void TearDown() override
    {
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    void Place(ROWCOL r, ROWCOL c)
    {
        grid.PlaceCurrentCell(r, c, GX_UPDATENOW);
        grid.UpdateWindow();
        afxtest::PumpMessages();
    }
    CPoint CellCentre(ROWCOL r, ROWCOL c)
    {
        CPoint pt = grid.CalcCellRect(r, c).CenterPoint();
        grid.ClientToScreen(&pt);
        return pt;
    }
};
} // namespace

TEST_F(ButtonListTest, PushButtonClickReachesTheGridOnce)
{
    afxtest::InputScript s;
    s.MoveTo(CellCentre(2, 1)).Click();
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.m_nClicks, 1);
    EXPECT_EQ(grid.m_nRow, 2u);
    EXPECT_EQ(grid.m_nCol, 1u);
    // A press that ends outside the button is no click.
    afxtest::InputScript away;
    away.MoveTo(CellCentre(2, 1)).Down().MoveTo(CellCentre(4, 3)).Up();
    ASSERT_TRUE(away.Run());
    EXPECT_EQ(grid.m_nClicks, 1);
}

TEST_F(ButtonListTest, ListChoosesExactLinesAndKeepsAnUnmatchedValue)
{
    grid.SetValueRange(CGXRange(1, 2), "A");
    grid.SetValueRange(CGXRange(2, 2), "Zed");
    Place(1, 2);
    auto* list = dynamic_cast<CGXListBox*>(grid.GetCellControl(1, 2));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetCurSel(), 1);   // "A", not "Apple"
    EXPECT_EQ(CGXListBox::ChosenLine("Apple\nA\nB", "A"), 1);
    EXPECT_EQ(CGXListBox::ChosenLine("Apple\nA\nB", "Ap"), -1);

    // Passing over a cell whose value is no line keeps the value.
    Place(2, 2);
    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    Place(3, 2);
    EXPECT_EQ(grid.GetCellValue(2, 2), CString("Zed"));

    // Down moves in the list; leaving the cell stores the chosen line.
    Place(1, 2);
    afxtest::InputScript down;
    down.Key(VK_DOWN);
    ASSERT_TRUE(down.Run());
    EXPECT_TRUE(list->IsActive());
    EXPECT_EQ(list->GetCurSel(), 2);
    afxtest::InputScript tab;
    tab.Key(VK_TAB);
    ASSERT_TRUE(tab.Run());
    EXPECT_EQ(grid.GetCellValue(1, 2), CString("B"));
}

TEST_F(ButtonListTest, HotSpotClickReachesTheGrid)
{
    grid.SetStyleRange(CGXRange(1, 3, 6, 3), &CGXStyle().SetControl(GX_IDS_CTRL_HOTSPOT).SetValue("text"), gxOverride);
    Place(2, 3);
    const CRect cell = grid.CalcCellRect(2, 3);
    CPoint spot(cell.right - 7, cell.top + 7);
    grid.ClientToScreen(&spot);
    afxtest::InputScript s;
    s.MoveTo(spot).Click();
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.m_nClicks, 1);
    EXPECT_EQ(grid.m_nCol, 3u);
    // A click on the text is no button click.
    CPoint text(cell.left + 8, cell.top + 7);
    grid.ClientToScreen(&text);
    afxtest::InputScript t;
    t.MoveTo(text).Click();
    ASSERT_TRUE(t.Run());
    EXPECT_EQ(grid.m_nClicks, 1);
}
