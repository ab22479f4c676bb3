// The edit and combo controls in a real grid window, driven by synthesized keys.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxwnd.h"

namespace {
const char* const kColors = "Red\nGreen\r\nBlue";

class CellWindowTest : public ::testing::Test
{
protected:
    CWnd frame;
    CGXGridWnd grid;

    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "cells", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 620, 360), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(6);
        grid.SetColCount(5);
        // Column 1 edits, 2 a text-fit combo, 3 a check list, 4 a zero-based display combo.
        grid.SetStyleRange(CGXRange(1, 1, 6, 1), &CGXStyle().SetControl(GX_IDS_CTRL_EDIT), gxOverride);
        grid.SetStyleRange(CGXRange(1, 2, 6, 2),
                           &CGXStyle().SetControl(GX_IDS_CTRL_TEXTFIT).SetChoiceList(kColors), gxOverride);
        grid.SetStyleRange(CGXRange(1, 3, 6, 3),
                           &CGXStyle().SetControl(GX_IDS_CTRL_CHECKLISTCOMBO).SetChoiceList("Flags\nOne\nTwo\nThree"),
                           gxOverride);
        grid.SetStyleRange(CGXRange(1, 4, 6, 4),
                           &CGXStyle().SetControl(GX_IDS_CTRL_ZEROBASED_EX).SetChoiceList(kColors), gxOverride);
        grid.SetValueRange(CGXRange(1, 1), "hello");
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
    ROWCOL Col()
    {
        ROWCOL r, c;
        return grid.GetCurrentCellPos(r, c) ? c : 0;
    }
    ROWCOL Row()
    {
        ROWCOL r, c;
        return grid.GetCurrentCellPos(r, c) ? r : 0;
    }
    static void Type(afxtest::InputScript& s, const char* text)
    {
        for (const char* p = text; *p; ++p)
            s.Key(static_cast<BYTE>(toupper(static_cast<unsigned char>(*p))));
    }
    static void AltDown(afxtest::InputScript& s) { s.KeyDown(VK_MENU).Key(VK_DOWN).KeyUp(VK_MENU); }
    CGXComboBox* Combo(ROWCOL c) { return dynamic_cast<CGXComboBox*>(grid.GetCellControl(1, c)); }
    // No pop-up of this thread is left, and the engine's flags are clear.
    void ExpectClosed()
    {
        EXPECT_FALSE(grid.IsDropDownOpen());
        EXPECT_FALSE(grid.m_bSettingFocus);
        int popups = 0;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND h, LPARAM l) -> BOOL {
                if (::IsWindowVisible(h) && (::GetWindowLong(h, GWL_STYLE) & WS_POPUP))
                    ++*reinterpret_cast<int*>(l);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&popups));
        EXPECT_EQ(popups, 0);
    }
};
} // namespace

TEST_F(CellWindowTest, TypingReplacesTheTextAndTabStoresIt)
{
    Place(1, 1);
    auto* edit = dynamic_cast<CGXEditControl*>(grid.GetCellControl(1, 1));
    ASSERT_NE(edit, nullptr);
    afxtest::InputScript s;
    Type(s, "xy");
    ASSERT_TRUE(s.Run());
    EXPECT_TRUE(edit->IsActive());
    EXPECT_EQ(edit->GetEditText(), "xy");
    // Typed, not stored yet.
    EXPECT_EQ(grid.GetCellValue(1, 1), "hello");
    EXPECT_TRUE(edit->IsWindowVisible());
    EXPECT_EQ(::GetFocus(), edit->GetSafeHwnd());

    afxtest::InputScript tab;
    tab.Key(VK_TAB);
    ASSERT_TRUE(tab.Run());
    EXPECT_EQ(grid.GetCellValue(1, 1), "xy");
    EXPECT_EQ(Col(), 2u);
}

TEST_F(CellWindowTest, KeysStayInTheTextOrMoveTheCell)
{
    grid.SetValueRange(CGXRange(2, 1), "ab");
    struct Case
    {
        const char* name;
        BOOL bEnd;      // the caret after the text (End) or before it (Home)
        BYTE vk;
        ROWCOL row, col;   // where the current cell is afterwards
    } cases[] = {
        {"Left at 0", FALSE, VK_LEFT, 2, 1},   // column 1: nothing to the left, stays
        {"Right at the end", TRUE, VK_RIGHT, 2, 2},
        {"Right inside", FALSE, VK_RIGHT, 2, 1},
        {"Up on line 0", TRUE, VK_UP, 1, 1},
        {"Down on the last line", TRUE, VK_DOWN, 3, 1},
        {"Enter without want-return", TRUE, VK_RETURN, 2, 2},   // the grid's Enter: stored, next cell
    };
    for (const Case& c : cases) {
        Place(2, 1);
        afxtest::InputScript s;
        s.Key(c.bEnd ? VK_END : VK_HOME).Key(c.vk);
        ASSERT_TRUE(s.Run()) << c.name;
        EXPECT_EQ(Row(), c.row) << c.name;
        EXPECT_EQ(Col(), c.col) << c.name;
        EXPECT_EQ(grid.GetCellValue(2, 1), "ab") << c.name;
    }
}

TEST_F(CellWindowTest, DeleteEscapeMaxLengthAndReadOnly)
{
    grid.SetStyleRange(CGXRange(3, 1), &CGXStyle().SetMaxLength(5), gxOverride);
    grid.SetStyleRange(CGXRange(4, 1), &CGXStyle().SetReadOnly(TRUE).SetValue("fixed"), gxOverride);
    grid.GetParam()->m_bLockStructureReadOnly = TRUE;

    // Delete empties the text but stores only when the cell is left; Escape takes it back.
    Place(1, 1);
    afxtest::InputScript del;
    del.Key(VK_DELETE);
    ASSERT_TRUE(del.Run());
    auto* edit = dynamic_cast<CGXEditControl*>(grid.GetCellControl(1, 1));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->IsActive());
    EXPECT_EQ(edit->GetEditText(), "");
    EXPECT_EQ(grid.GetCellValue(1, 1), "hello");
    afxtest::InputScript esc;
    esc.Key(VK_ESCAPE);
    ASSERT_TRUE(esc.Run());
    EXPECT_EQ(grid.GetCellValue(1, 1), "hello");
    EXPECT_EQ(edit->GetEditText(), "hello");

    Place(3, 1);
    afxtest::InputScript longText;
    Type(longText, "abcdefg");
    longText.Key(VK_RETURN);
    ASSERT_TRUE(longText.Run());
    EXPECT_EQ(grid.GetCellValue(3, 1), "abcde");

    Place(4, 1);
    afxtest::InputScript ro;
    Type(ro, "zz");
    ro.Key(VK_DELETE).Key(VK_RETURN);
    ASSERT_TRUE(ro.Run());
    EXPECT_EQ(grid.GetCellValue(4, 1), "fixed");
}

TEST_F(CellWindowTest, ActivationOnInitShowsTheEditAtOnce)
{
    grid.GetParam()->m_dwActivateOptions = 0x04;
    Place(2, 1);
    CGXControl* edit = grid.GetCellControl(2, 1);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->IsActive());
    grid.GetParam()->m_dwActivateOptions = 0;
}

TEST_F(CellWindowTest, TextFitComboCompletesAndItsListOpensOnTheValue)
{
    // "g" completes to the choice it begins; a text no choice fits is refused.
    Place(1, 2);
    afxtest::InputScript g;
    Type(g, "g");
    g.Key(VK_TAB);
    ASSERT_TRUE(g.Run());
    EXPECT_EQ(grid.GetCellValue(1, 2), "Green");

    Place(1, 2);
    CGXComboBox* combo = Combo(2);
    ASSERT_NE(combo, nullptr);
    afxtest::InputScript open;
    AltDown(open);
    ASSERT_TRUE(open.Run());
    ASSERT_TRUE(combo->IsDropListVisible());
    EXPECT_TRUE(grid.IsDropDownOpen());
    ASSERT_NE(combo->GetListBox(), nullptr);
    EXPECT_EQ(combo->GetListBox()->GetCount(), 3);
    EXPECT_EQ(combo->GetListBox()->GetCurSel(), 1);

    // Down and Enter take Blue; Tab stores it.
    afxtest::InputScript choose;
    choose.Key(VK_DOWN).Key(VK_RETURN);
    ASSERT_TRUE(choose.Run());
    EXPECT_FALSE(combo->IsDropListVisible());
    ExpectClosed();
    EXPECT_EQ(combo->GetEditText(), "Blue");
    afxtest::InputScript tab;
    tab.Key(VK_TAB);
    ASSERT_TRUE(tab.Run());
    EXPECT_EQ(grid.GetCellValue(1, 2), "Blue");

    // Escape closes without taking anything.
    Place(1, 2);
    afxtest::InputScript esc;
    AltDown(esc);
    esc.Key(VK_UP).Key(VK_ESCAPE);
    ASSERT_TRUE(esc.Run());
    ExpectClosed();
    EXPECT_EQ(grid.GetCellValue(1, 2), "Blue");
}

TEST_F(CellWindowTest, ComboClosesWhenTheGridScrollsOrTheControlGoes)
{
    Place(2, 2);
    CGXComboBox* combo = Combo(2);
    ASSERT_NE(combo, nullptr);
    afxtest::InputScript open;
    AltDown(open);
    ASSERT_TRUE(open.Run());
    ASSERT_TRUE(combo->IsDropListVisible());
    combo->OnGridScroll(WM_VSCROLL);
    afxtest::PumpMessages();
    EXPECT_FALSE(combo->IsDropListVisible());
    ExpectClosed();

    // Moving away while open closes at once.
    afxtest::InputScript again;
    AltDown(again);
    ASSERT_TRUE(again.Run());
    ASSERT_TRUE(combo->IsDropListVisible());
    Place(3, 1);
    EXPECT_FALSE(combo->IsDropListVisible());
    ExpectClosed();
}

TEST_F(CellWindowTest, DisplayComboShowsTheChoiceAndStoresItsIndex)
{
    grid.SetValueRange(CGXRange(1, 4), "1");
    Place(1, 4);
    CGXComboBox* combo = Combo(4);
    ASSERT_NE(combo, nullptr);
    CString shown;
    combo->GetDisplayText(shown, 1, 4, nullptr, &grid.GetCellStyle(1, 4));
    EXPECT_EQ(shown, "Green");
    afxtest::InputScript s;
    AltDown(s);
    s.Key(VK_DOWN).Key(VK_RETURN).Key(VK_TAB);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.GetCellValue(1, 4), "2");
    ExpectClosed();
}

TEST_F(CellWindowTest, CheckListStoresTheChecksOnEveryClose)
{
    grid.SetValueRange(CGXRange(1, 3), "5");
    Place(1, 3);
    auto* check = dynamic_cast<CGXCheckListComboBox*>(grid.GetCellControl(1, 3));
    ASSERT_NE(check, nullptr);
    CString caption;
    check->GetDisplayText(caption, 1, 3, nullptr, &grid.GetCellStyle(1, 3));
    EXPECT_EQ(caption, "Flags");

    // Opening shows items 0 and 2 checked; Space unchecks the first; Escape still stores.
    afxtest::InputScript s;
    AltDown(s);
    ASSERT_TRUE(s.Run());
    ASSERT_TRUE(check->IsDropListVisible());
    auto* list = dynamic_cast<CCheckListBox*>(check->GetListBox());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(check->GetCheckCount(), 3);
    EXPECT_EQ(list->GetCheck(0), 1);
    EXPECT_EQ(list->GetCheck(1), 0);
    EXPECT_EQ(list->GetCheck(2), 1);
    afxtest::InputScript toggle;
    toggle.Key(VK_SPACE).Key(VK_ESCAPE);
    ASSERT_TRUE(toggle.Run());
    EXPECT_FALSE(check->IsDropListVisible());
    EXPECT_EQ(grid.GetCellValue(1, 3), "4");
    ExpectClosed();
    EXPECT_EQ(::GetFocus(), grid.GetSafeHwnd());
    EXPECT_EQ(::GetActiveWindow(), frame.GetSafeHwnd());

    // Unchecking the last one stores an empty value, not 0 (the list's own close).
    check->ShowDropList(TRUE);
    afxtest::PumpMessages();
    ASSERT_TRUE(check->IsDropListVisible());
    list = dynamic_cast<CCheckListBox*>(check->GetListBox());
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->GetCount(); ++i)
        list->SetCheck(i, 0);
    check->SendMessage(GXM_LISTCHOOSE);
    EXPECT_EQ(grid.GetCellValue(1, 3), CString(""));
    ExpectClosed();
}
