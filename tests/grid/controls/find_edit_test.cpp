// The grid's find and replace with an edit control editing the current cell: further
// occurrences inside the cell come first, then the cells below.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwin.h"
#include "afxwndtest.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxutil.h"
#include "gxwnd.h"

namespace {
class FindEditTest : public ::testing::Test
{
protected:
    CWnd frame;
    CGXGridWnd grid;
    void SetUp() override
    {
        AfxSeamReset();
        CGXLongOperation::SetTicksFirstTime(100000);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "find", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 480, 260), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(4);
        grid.SetColCount(2);
        grid.SetStyleRange(CGXRange(1, 1, 4, 1), &CGXStyle().SetControl(GX_IDS_CTRL_EDIT), gxOverride);
        grid.SetValueRange(CGXRange(1, 1), "one two one");
        grid.SetValueRange(CGXRange(3, 1), "ONE");
        grid.GetParam()->m_dwActivateOptions = 4;   // the current cell's edit is active at once
        ASSERT_TRUE(afxtest::Activate(&frame));
        grid.SetFocus();
        grid.PlaceCurrentCell(1, 1, GX_UPDATENOW);
        afxtest::PumpMessages();
        *GXGetFindReplaceState() = FindReplaceState();
    }
    void TearDown() override
    {
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
        afxtest::PumpMessages();
        *GXGetFindReplaceState() = FindReplaceState();
        CGXLongOperation::SetTicksFirstTime(0);
    }
    CGXEditControl* Edit() { return dynamic_cast<CGXEditControl*>(grid.GetCurrentCellControl()); }
    ROWCOL Row()
    {
        ROWCOL r, c;
        return grid.GetCurrentCellPos(r, c) ? r : 0;
    }
};
} // namespace

TEST_F(FindEditTest, FindNextStaysInTheEditedCellFirst)
{
    CGXEditControl* e = Edit();
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->IsActive());
    e->SetSel(0, 3);   // the first "one", as a search left it
    EXPECT_TRUE(grid.FindText("one", TRUE, FALSE));
    EXPECT_EQ(Row(), 1u);
    int s = 0, t = 0;
    e->GetSel(s, t);
    EXPECT_EQ(s, 8);
    EXPECT_EQ(t, 11);
    EXPECT_TRUE(grid.FindText("one", TRUE, FALSE));
    EXPECT_EQ(Row(), 3u);
}

TEST_F(FindEditTest, ReplaceInTheEditedCellTakesTheMatchOnly)
{
    CGXEditControl* e = Edit();
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->IsActive());
    e->SetSel(0, 0);
    grid.Replace("one", TRUE, FALSE, "1");
    EXPECT_EQ(e->GetEditText(), "1 two one");
    int s = 0, t = 0;
    e->GetSel(s, t);   // the next occurrence in the same cell is selected
    EXPECT_EQ(s, 6);
    EXPECT_EQ(t, 9);
    EXPECT_EQ(Row(), 1u);
}
