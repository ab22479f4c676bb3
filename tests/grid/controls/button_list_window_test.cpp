// Push buttons, list boxes, check boxes and radio buttons in a real grid window, clicked with the mouse.
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
#include <algorithm>
#include <vector>

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
    // Every cell drawn again, the way any repaint of the window does.
    void Repaint()
    {
        grid.Invalidate();
        grid.UpdateWindow();
        afxtest::PumpMessages();
    }
    CRect Inner(ROWCOL r, ROWCOL c) { return grid.SubtractBorders(grid.CalcCellRect(r, c), grid.GetCellStyle(r, c)); }
    // A quick click: its release can come before the grid paints what the press changed.
    BOOL Click(CPoint ptClient)
    {
        grid.ClientToScreen(&ptClient);
        afxtest::InputScript s;
        s.MoveTo(ptClient).Click();
        return s.Run(0);
    }
    // Eight rows: column 1 check boxes, column 2 radio groups of three lines, each 120 pixels wide.
    void CheckAndRadioColumns()
    {
        grid.SetRowCount(8);
        grid.SetRowHeight(7, 8, 60);
        grid.SetColWidth(1, 2, 120);
        grid.SetStyleRange(CGXRange(1, 1, 8, 1), &CGXStyle().SetControl(GX_IDS_CTRL_CHECKBOX).SetValue("0"),
                           gxOverride);
        grid.SetStyleRange(CGXRange(1, 2, 8, 2),
                           &CGXStyle().SetControl(GX_IDS_CTRL_RADIOBTN).SetChoiceList("One\nTwo\nThree"), gxOverride);
    }
    // Dark pixels of the screen in a rectangle of the grid: how many per row, leftmost and rightmost.
    struct Ink
    {
        int count = 0, left = 1 << 30, right = -1;
        std::vector<int> rows;
        // Runs of rows with ink, parted by rows without.
        int Bands() const
        {
            int bands = 0;
            for (size_t i = 0; i < rows.size(); ++i)
                if (rows[i] > 0 && (i == 0 || rows[i - 1] == 0))
                    ++bands;
            return bands;
        }
    };
    Ink DarkPixels(const CRect& r)
    {
        grid.UpdateWindow();
        Ink ink;
        CClientDC dc(&grid);
        for (int y = r.top; y < r.bottom; ++y) {
            ink.rows.push_back(0);
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF c = dc.GetPixel(x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96) {
                    ++ink.count;
                    ++ink.rows.back();
                    ink.left = x < ink.left ? x : ink.left;
                    ink.right = x > ink.right ? x : ink.right;
                }
            }
        }
        return ink;
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

TEST_F(ButtonListTest, EveryCellAnswersAClickInItsOwnBoxAfterRepaints)
{
    CheckAndRadioColumns();
    // Clicks on several check boxes, the same one twice, with the whole grid drawn between them.
    struct Step
    {
        ROWCOL row;
        const char* values;   // the column's four values afterwards
    } clicks[] = {
        {1, "1000"}, {1, "0000"}, {3, "0010"}, {2, "0110"}, {2, "0010"}, {4, "0011"}, {3, "0001"},
    };
    for (const Step& c : clicks) {
        Repaint();
        // The box sits near the cell's top left corner.
        const CRect inner = Inner(c.row, 1);
        ASSERT_TRUE(Click(CPoint(inner.left + 9, inner.top + 8))) << c.row;
        CString values;
        for (ROWCOL r = 1; r <= 4; ++r)
            values += grid.GetCellValue(r, 1);
        EXPECT_EQ(values, c.values) << "after a click in row " << c.row;
    }
}

TEST_F(ButtonListTest, EveryGroupAnswersAClickOnItsOwnLinesAfterRepaintsAndScrolls)
{
    CheckAndRadioColumns();
    // Line heights as the groups draw them: the cell font's height, at least 12.
    TEXTMETRIC tm{};
    {
        CClientDC dc(&grid);
        CFont* pOld = grid.SelectStyleFont(&dc, grid.GetCellStyle(1, 2));
        dc.GetTextMetrics(&tm);
        dc.SelectObject(pOld);
    }
    const int line = std::max<int>(12, tm.tmHeight + tm.tmExternalLeading);
    struct Step
    {
        ROWCOL row;
        int line;
        BOOL scroll;          // the grid scrolls a row down first: the cells move, few are drawn again
        const char* values;   // the column's first four values afterwards, "-" for none
    } clicks[] = {
        {1, 2, FALSE, "2---"}, {1, 0, FALSE, "0---"}, {3, 1, FALSE, "0-1-"}, {2, 2, FALSE, "021-"},
        {2, 0, TRUE, "001-"},  {3, 2, FALSE, "002-"}, {3, 0, TRUE, "000-"},  {4, 1, FALSE, "0001"},
    };
    for (const Step& c : clicks) {
        if (c.scroll) {
            grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
            afxtest::PumpMessages();
        } else {
            Repaint();
        }
        const CRect cell = grid.CalcCellRect(c.row, 2);
        ASSERT_TRUE(Click(CPoint(cell.left + 9, cell.top + c.line * line + line / 2))) << c.row;
        CString values;
        for (ROWCOL r = 1; r <= 4; ++r) {
            const CString v = grid.GetCellValue(r, 2);
            values += v.IsEmpty() ? CString("-") : v;
        }
        EXPECT_EQ(values, c.values) << "after a click in row " << c.row << " on line " << c.line;
    }
}

TEST_F(ButtonListTest, LabelWrapsAndAlignsAsTheStyleSays)
{
    const char* label = "wide label words";
    struct Case
    {
        const char* name;
        BOOL wrap;
        DWORD align;
        BOOL atRight;   // the text ends at the cell's right edge
    } cases[] = {
        {"one line, left", FALSE, DT_LEFT, FALSE},
        {"wrapped, left", TRUE, DT_LEFT, FALSE},
        {"wrapped, right", TRUE, DT_RIGHT, TRUE},
    };
    grid.SetColWidth(3, 3, 70);
    for (const Case& c : cases) {
        grid.SetStyleRange(CGXRange(1, 3),
                           &CGXStyle()
                                .SetControl(GX_IDS_CTRL_CHECKBOX)
                                .SetChoiceList(label)
                                .SetValue("0")
                                .SetWrapText(c.wrap)
                                .SetHorizontalAlignment(c.align),
                           gxOverride);
        grid.RedrawRange(CGXRange(1, 3));
        const CRect inner = Inner(1, 3);
        // Where the box sits: the label's room begins half a box right of it.
        auto* box = dynamic_cast<CGXCheckBox*>(grid.GetControlForId(GX_IDS_CTRL_CHECKBOX));
        ASSERT_NE(box, nullptr);
        CRect boxRect;
        {
            CClientDC dc(&grid);
            const CGXStyle& style = grid.GetCellStyle(1, 3);
            CFont* pOld = grid.SelectStyleFont(&dc, style);
            boxRect = box->GetCheckBoxRect(&dc, inner, label, style);
            dc.SelectObject(pOld);
        }
        const CRect text(boxRect.left + 13 * 3 / 2, inner.top, inner.right, inner.bottom);
        const Ink ink = DarkPixels(text);
        EXPECT_GT(ink.count, 0) << c.name;
        if (c.wrap) {
            EXPECT_GT(ink.Bands(), 1) << c.name;
        } else {
            EXPECT_EQ(ink.Bands(), 1) << c.name;
        }
        if (c.atRight) {
            EXPECT_GE(ink.right, inner.right - 4) << c.name;
        } else {
            EXPECT_LE(ink.left, text.left + 4) << c.name;
        }
    }
}
