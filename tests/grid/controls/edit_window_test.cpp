// The edit and combo controls in a real grid window, driven by synthesized keys.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "cell_clipboard.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxwnd.h"

namespace {
// An edit that takes digits only.
class CDigitsEdit : public CGXEditControl
{
public:
    using CGXEditControl::CGXEditControl;
    BOOL ValidateString(const CString& s) override { return s.SpanIncluding("0123456789") == s; }
    void OnInvalidKeyPressed(LPCSTR) override { ++m_nRefused; }
    int m_nRefused = 0;
};

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
        BOOL bCtrl = FALSE;
    } cases[] = {
        {"Tab", TRUE, VK_TAB, 2, 2},
        {"Escape", TRUE, VK_ESCAPE, 2, 1},
        {"F2 ends editing in place", TRUE, VK_F2, 2, 1},
        {"Ctrl+Right", FALSE, VK_RIGHT, 2, 5, TRUE},
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
        s.Key(c.bEnd ? VK_END : VK_HOME);
        if (c.bCtrl)
            s.KeyDown(VK_CONTROL);
        s.Key(c.vk);
        if (c.bCtrl)
            s.KeyUp(VK_CONTROL);
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
    PutOnClipboard("pasted");
    afxtest::InputScript ro;
    Type(ro, "zz");
    ro.Key(VK_DELETE).KeyDown(VK_SHIFT).Key(VK_INSERT).KeyUp(VK_SHIFT).Key(VK_END).Key(VK_RETURN);
    ASSERT_TRUE(ro.Run());
    EXPECT_EQ(grid.GetCellValue(4, 1), "fixed");
    CGXControl* roEdit = grid.GetCellControl(4, 1);
    Place(4, 1);
    EXPECT_FALSE(roEdit->CanPaste());
    EXPECT_FALSE(roEdit->CanCut());

    // A choice from the list of a read-only combo cell changes nothing.
    grid.SetStyleRange(CGXRange(4, 2), &CGXStyle().SetReadOnly(TRUE).SetValue("Red"), gxOverride);
    Place(4, 2);
    afxtest::InputScript choose;
    AltDown(choose);
    choose.Key(VK_DOWN).Key(VK_RETURN).Key(VK_TAB);
    ASSERT_TRUE(choose.Run());
    EXPECT_EQ(grid.GetCellValue(4, 2), CString("Red"));
    ExpectClosed();
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

    // Escape closes without taking anything: leaving the cell stores nothing.
    Place(1, 2);
    afxtest::InputScript esc;
    AltDown(esc);
    esc.Key(VK_UP).Key(VK_ESCAPE);
    ASSERT_TRUE(esc.Run());
    ExpectClosed();
    afxtest::InputScript leave;
    leave.Key(VK_TAB);
    ASSERT_TRUE(leave.Run());
    EXPECT_EQ(Col(), 3u);
    EXPECT_EQ(grid.GetCellValue(1, 2), "Blue");
}

TEST_F(CellWindowTest, EscapeInAnOpenListGivesBackWhatTheCellHad)
{
    struct Case
    {
        const char* name;
        UINT id;
        const char* choices;
        const char* value;
        const char* typed;   // typed before the list opens
        const char* shown;   // the edit text after Escape
        const char* stored;  // the value after leaving the cell
    } cases[] = {
        {"text-fit", GX_IDS_CTRL_TEXTFIT, kColors, "Green", "", "Green", "Green"},
        {"no text-fit", GX_IDS_CTRL_COMBOBOX, kColors, "Red", "", "Red", "Red"},
        {"zero-based", GX_IDS_CTRL_ZEROBASED, kColors, "0", "", "0", "0"},
        {"one-based", GX_IDS_CTRL_ONEBASED, kColors, "2", "", "2", "2"},
        {"display, zero-based", GX_IDS_CTRL_ZEROBASED_EX, kColors, "1", "", "Green", "1"},
        {"display, one-based", GX_IDS_CTRL_ONEBASED_EX, kColors, "1", "", "Red", "1"},
        {"tabbed", GX_IDS_CTRL_TABBED_COMBOBOX, "1\tRed\n2\tGreen\n3\tBlue", "2", "", "Green", "2"},
        // Typed text stays typed: the list only browsed over it.
        {"typed, no text-fit", GX_IDS_CTRL_COMBOBOX, kColors, "Red", "gr", "gr", "gr"},
    };
    grid.SetColCount(6);
    for (const Case& c : cases) {
        grid.SetStyleRange(CGXRange(1, 5, 6, 5),
                           &CGXStyle()
                                .SetControl(c.id)
                                .SetChoiceList(c.choices)
                                .SetUserAttribute(GX_IDS_UA_TABLIST_TEXTCOL, "1")
                                .SetUserAttribute(GX_IDS_UA_TABLIST_TITLES, "0"),
                           gxOverride);
        grid.SetValueRange(CGXRange(3, 5), c.value);
        Place(3, 5);
        auto* combo = dynamic_cast<CGXComboBox*>(grid.GetCellControl(3, 5));
        ASSERT_NE(combo, nullptr) << c.name;
        afxtest::InputScript s;
        Type(s, c.typed);
        AltDown(s);
        s.Key(VK_DOWN);
        ASSERT_TRUE(s.Run()) << c.name;
        ASSERT_TRUE(combo->IsDropListVisible()) << c.name;
        afxtest::InputScript esc;
        esc.Key(VK_ESCAPE);
        ASSERT_TRUE(esc.Run()) << c.name;
        ExpectClosed();
        EXPECT_EQ(combo->GetEditText(), c.shown) << c.name;
        EXPECT_EQ(::GetFocus(), combo->GetSafeHwnd()) << c.name;
        afxtest::InputScript leave;
        leave.Key(VK_TAB);
        ASSERT_TRUE(leave.Run()) << c.name;
        EXPECT_EQ(Col(), 6u) << c.name;
        EXPECT_EQ(grid.GetCellValue(3, 5), c.stored) << c.name;
    }
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

    // The cell keeps its control and choices; unchecking the last item stores an empty
    // value, not 0.
    EXPECT_EQ(grid.GetCellStyle(1, 3).GetChoiceList(), CString("Flags\nOne\nTwo\nThree"));
    afxtest::InputScript reopen;
    AltDown(reopen);
    ASSERT_TRUE(reopen.Run());
    ASSERT_TRUE(check->IsDropListVisible());
    list = dynamic_cast<CCheckListBox*>(check->GetListBox());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetCheck(2), 1);
    afxtest::InputScript clear;
    clear.Key(VK_DOWN).Key(VK_DOWN).Key(VK_SPACE).Key(VK_RETURN);
    ASSERT_TRUE(clear.Run());
    EXPECT_EQ(grid.GetCellValue(1, 3), CString(""));
    ExpectClosed();
}

TEST_F(CellWindowTest, CheckListTicksOutliveScrollingAndMovingAway)
{
    grid.SetRowCount(60);
    struct Case
    {
        const char* name;
        int how;   // 0 the grid scrolls, 1 the current cell moves, 2 a click into another cell
    } cases[] = {{"scrolled", 0}, {"moved", 1}, {"clicked", 2}};
    for (const Case& c : cases) {
        grid.SetTopRow(1);
        grid.SetValueRange(CGXRange(1, 3), "5");
        Place(1, 3);
        auto* check = dynamic_cast<CGXCheckListComboBox*>(grid.GetCellControl(1, 3));
        ASSERT_NE(check, nullptr);
        afxtest::InputScript s;
        AltDown(s);
        s.Key(VK_SPACE);   // the first item unticked
        ASSERT_TRUE(s.Run()) << c.name;
        ASSERT_TRUE(check->IsDropListVisible()) << c.name;
        if (c.how == 0) {
            grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
        } else if (c.how == 1) {
            grid.PlaceCurrentCell(4, 1, GX_UPDATENOW);
        } else {
            CPoint pt = grid.CalcCellRect(4, 1).CenterPoint();
            grid.ClientToScreen(&pt);
            afxtest::InputScript click;
            click.MoveTo(pt).Click();
            ASSERT_TRUE(click.Run()) << c.name;
        }
        afxtest::PumpMessages();
        EXPECT_FALSE(check->IsDropListVisible()) << c.name;
        ExpectClosed();
        EXPECT_EQ(grid.GetCellValue(1, 3), "4") << c.name;
    }
}

TEST_F(CellWindowTest, SpinStepsWithinTheCellsBounds)
{
    grid.SetStyleRange(CGXRange(1, 5, 2, 5),
                       &CGXStyle()
                            .SetControl(GX_IDS_CTRL_SPINEDIT)
                            .SetUserAttribute(GX_IDS_UA_SPINBOUND_MIN, "0")
                            .SetUserAttribute(GX_IDS_UA_SPINBOUND_MAX, "3")
                            .SetUserAttribute(GX_IDS_UA_SPINBOUND_WRAP, "1"),
                       gxOverride);
    grid.SetValueRange(CGXRange(1, 5), "2");
    grid.SetStyleRange(CGXRange(2, 5), &CGXStyle().SetReadOnly(TRUE).SetValue("1"), gxOverride);
    Place(1, 5);
    auto* spin = dynamic_cast<CGXSpinEdit*>(grid.GetCellControl(1, 5));
    ASSERT_NE(spin, nullptr);
    const char* expected[] = {"3", "0", "1"};   // up to the maximum, then wrapped to the minimum
    for (const char* e : expected) {
        spin->OnClickedButton(spin->m_pUpArrow);
        EXPECT_EQ(spin->GetEditText(), e);
    }
    spin->OnClickedButton(spin->m_pDownArrow);
    EXPECT_EQ(spin->GetEditText(), "0");
    afxtest::InputScript tab;
    tab.Key(VK_DOWN);
    ASSERT_TRUE(tab.Run());
    EXPECT_EQ(grid.GetCellValue(1, 5), CString("0"));
    // A read-only cell keeps its number.
    ASSERT_EQ(Row(), 2u);
    spin->OnClickedButton(spin->m_pUpArrow);
    EXPECT_EQ(spin->GetEditText(), "1");
    Place(3, 5);
    EXPECT_EQ(grid.GetCellValue(2, 5), CString("1"));
}

TEST_F(CellWindowTest, ClipboardTakesTheSelectionOnly)
{
    // Home, Shift+Right twice, Ctrl+C: the two selected letters.
    Place(1, 1);
    afxtest::InputScript s;
    s.Key(VK_HOME).KeyDown(VK_SHIFT).Key(VK_RIGHT).Key(VK_RIGHT).KeyUp(VK_SHIFT);
    s.KeyDown(VK_CONTROL).Key('C').KeyUp(VK_CONTROL);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(ClipboardText(), "he");

    // An empty cell and a password cell leave the user's clipboard alone.
    grid.SetStyleRange(CGXRange(5, 1), &CGXStyle().SetControl(GX_IDS_CTRL_PASSWORD).SetValue("secret"), gxOverride);
    for (ROWCOL row : {4u, 5u}) {
        PutOnClipboard("sentinel");
        Place(row, 1);
        afxtest::InputScript copy;
        copy.Key(VK_END).KeyDown(VK_SHIFT).Key(VK_HOME).KeyUp(VK_SHIFT);
        copy.KeyDown(VK_CONTROL).Key('C').KeyUp(VK_CONTROL);
        ASSERT_TRUE(copy.Run());
        EXPECT_EQ(ClipboardText(), "sentinel") << row;
    }
    // The password cell draws and copies its mask only.
    CGXControl* password = grid.GetCellControl(5, 1);
    ASSERT_NE(password, nullptr);
    CString shown, copied;
    password->GetDisplayText(shown, 5, 1, nullptr, &grid.GetCellStyle(5, 1));
    password->GetCopyText(5, 1, grid.GetCellStyle(5, 1), copied);
    EXPECT_EQ(shown, "******");
    EXPECT_EQ(copied, "******");
}

TEST_F(CellWindowTest, ValidatorSeesTheTextTheInsertionMakes)
{
    auto* digits = new CDigitsEdit(&grid, 52600);
    grid.SetControlForId(52600, digits);
    grid.SetStyleRange(CGXRange(6, 1), &CGXStyle().SetControl(52600).SetValue("5"), gxOverride);
    Place(6, 1);
    afxtest::InputScript s;
    s.Key(VK_END);
    Type(s, "1a2");
    s.Key(VK_HOME);
    Type(s, "x9");
    s.Key(VK_RETURN);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.GetCellValue(6, 1), CString("95" "12"));
    EXPECT_EQ(digits->m_nRefused, 2);
}

TEST_F(CellWindowTest, ArrowClickOpensAndAFocusLossClosesKeepingTheText)
{
    Place(2, 2);
    CGXComboBox* combo = Combo(2);
    ASSERT_NE(combo, nullptr);
    // The arrow sits at the cell's right edge.
    const CRect cell = grid.CalcCellRect(2, 2);
    CPoint arrow(cell.right - 7, cell.top + 5);
    grid.ClientToScreen(&arrow);
    afxtest::InputScript click;
    click.MoveTo(arrow).Click();
    ASSERT_TRUE(click.Run());
    ASSERT_TRUE(combo->IsDropListVisible());
    EXPECT_TRUE(combo->IsActive());

    // Typed text stays when the focus goes to another window of the program.
    afxtest::InputScript close;
    close.Key(VK_ESCAPE);
    ASSERT_TRUE(close.Run());
    afxtest::InputScript typed;
    Type(typed, "bl");
    AltDown(typed);
    ASSERT_TRUE(typed.Run());
    ASSERT_TRUE(combo->IsDropListVisible());
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_OVERLAPPEDWINDOW, 700, 0, 200, 200, nullptr, nullptr));
    other.ShowWindow(SW_SHOW);
    ASSERT_TRUE(afxtest::Activate(&other));
    afxtest::PumpMessages();
    EXPECT_FALSE(combo->IsDropListVisible());
    ExpectClosed();
    EXPECT_EQ(combo->GetEditText(), "bl");
    EXPECT_TRUE(combo->GetModify());
    other.DestroyWindow();
    // Leaving the cell stores what was typed, fitted to its choice.
    ASSERT_TRUE(afxtest::Activate(&frame));
    Place(3, 2);
    EXPECT_EQ(grid.GetCellValue(2, 2), CString("Blue"));
}

TEST_F(CellWindowTest, CellsMeasureTheirTextForFitting)
{
    CClientDC dc(&grid);
    grid.SelectStyleFont(&dc, grid.GetCellStyle(1, 5));
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const CString longText = "a rather long line of text for one cell";
    const int textWidth = dc.GetTextExtent(longText).cx;

    grid.SetStyleRange(CGXRange(1, 5), &CGXStyle().SetControl(GX_IDS_CTRL_STATIC).SetValue(longText), gxOverride);
    grid.ResizeColWidthsToFit(CGXRange().SetCols(5), FALSE, GX_UPDATENOW);
    EXPECT_GT(grid.GetColWidth(5), textWidth);
    EXPECT_LT(grid.GetColWidth(5), textWidth + 40);

    // A combo cell is as wide as its widest choice beside the arrow.
    const int green = dc.GetTextExtent("Green").cx;
    grid.SetValueRange(CGXRange(1, 2, 6, 2), "");
    grid.ResizeColWidthsToFit(CGXRange().SetCols(2), FALSE, GX_UPDATENOW);
    EXPECT_GE(grid.GetColWidth(2), green + 15);

    // Wrapped text counts at most 32 lines.
    CString many;
    for (int i = 0; i < 40; ++i)
        many += "line\r\n";
    grid.SetStyleRange(CGXRange(6, 5), &CGXStyle().SetControl(GX_IDS_CTRL_STATIC).SetWrapText(TRUE).SetValue(many),
                       gxOverride);
    CGXControl* pStatic = grid.GetCellControl(6, 5);
    ASSERT_NE(pStatic, nullptr);
    const CSize needed = pStatic->CalcSize(&dc, 6, 5, grid.GetCellStyle(6, 5), nullptr, TRUE);
    const int line = tm.tmHeight + tm.tmExternalLeading;
    EXPECT_GE(needed.cy, 32 * line);
    EXPECT_LT(needed.cy, 33 * line);
}

TEST_F(CellWindowTest, CancelModeLetsAHeldSpinButtonGo)
{
    grid.SetStyleRange(CGXRange(3, 5), &CGXStyle().SetControl(GX_IDS_CTRL_SPINEDIT).SetValue("4"), gxOverride);
    Place(3, 5);
    auto* spin = dynamic_cast<CGXSpinEdit*>(grid.GetCellControl(3, 5));
    ASSERT_NE(spin, nullptr);
    spin->LayoutChildren(3, 5, spin->GetCellRect(3, 5));
    const CPoint up = spin->m_pUpArrow->GetRect().CenterPoint();
    spin->OnLButtonDown(0, up);
    EXPECT_TRUE(spin->m_pUpArrow->IsPressed());
    EXPECT_EQ(spin->GetEditText(), "5");   // a click at the press
    grid.SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(spin->m_pUpArrow->IsPressed());
    EXPECT_EQ(spin->GetCapturedChild(), nullptr);
}

TEST_F(CellWindowTest, TabbedComboShowsTextStoresKeyAndCompletes)
{
    CGXStyle tabbed;
    tabbed.SetControl(GX_IDS_CTRL_TABBED_COMBOBOX)
        .SetChoiceList("No\tName\n1\tRed\n2\tGreen")
        .SetUserAttribute(GX_IDS_UA_TABLIST_KEYCOL, "0")
        .SetUserAttribute(GX_IDS_UA_TABLIST_TEXTCOL, "1")
        .SetUserAttribute(GX_IDS_UA_TABLIST_TITLES, "1")
        .SetUserAttribute(GX_IDS_UA_TABLIST_COLWIDTHS, "40,80");
    grid.SetStyleRange(CGXRange(1, 5, 6, 5), &tabbed, gxOverride);
    grid.SetValueRange(CGXRange(1, 5), "2");
    Place(1, 5);
    auto* combo = dynamic_cast<CGXTabbedComboBox*>(grid.GetCellControl(1, 5));
    ASSERT_NE(combo, nullptr);
    CString shown;
    combo->GetDisplayText(shown, 1, 5, nullptr, &grid.GetCellStyle(1, 5));
    EXPECT_EQ(shown, "Green");

    // "g" completes to Green with the rest selected.
    Place(2, 5);
    afxtest::InputScript g;
    Type(g, "g");
    ASSERT_TRUE(g.Run());
    EXPECT_EQ(combo->GetEditText(), "Green");
    int s = 0, e = 0;
    combo->GetSel(s, e);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(e, 5);

    // The list holds the entries, not the titles; choosing Red stores its key.
    afxtest::InputScript open;
    AltDown(open);
    ASSERT_TRUE(open.Run());
    ASSERT_TRUE(combo->IsDropListVisible());
    ASSERT_NE(combo->GetListBox(), nullptr);
    EXPECT_EQ(combo->GetListBox()->GetCount(), 2);
    ASSERT_EQ(combo->GetStops().size(), 1u);
    EXPECT_EQ(combo->GetStops()[0], 40);
    ASSERT_NE(combo->GetTitleWnd(), nullptr);
    EXPECT_TRUE(combo->GetTitleWnd()->IsWindowVisible());
    afxtest::InputScript choose;
    choose.Key(VK_UP).Key(VK_RETURN).Key(VK_TAB);
    ASSERT_TRUE(choose.Run());
    EXPECT_EQ(grid.GetCellValue(2, 5), CString("1"));
    ExpectClosed();
    EXPECT_FALSE(combo->GetTitleWnd()->IsWindowVisible());
}

TEST_F(CellWindowTest, TabbedCombosLookAPastedTextUpBeforeTheKeys)
{
    for (UINT id : {GX_IDS_CTRL_TABBED_COMBOBOX, GX_IDS_CTRL_TABBED_DROPDOWNLIST}) {
        grid.SetStyleRange(CGXRange(1, 5, 6, 5),
                           &CGXStyle()
                                .SetControl(id)
                                .SetChoiceList("A\tB\nB\tC")
                                .SetUserAttribute(GX_IDS_UA_TABLIST_KEYCOL, "0")
                                .SetUserAttribute(GX_IDS_UA_TABLIST_TEXTCOL, "1")
                                .SetUserAttribute(GX_IDS_UA_TABLIST_TITLES, "0"),
                           gxOverride);
        struct Case
        {
            const char* pasted;
            const char* stored;
            const char* shown;
        } cases[] = {
            {"B", "A", "B"},      // a text shown by an entry
            {"C", "B", "C"},
            {"A", "A", "B"},      // no entry shows it: a key
            {"x", "old", ""},     // neither: nothing stored
        };
        for (const Case& c : cases) {
            grid.SetValueRange(CGXRange(2, 5), "old");
            Place(2, 5);
            PutOnClipboard(c.pasted);
            afxtest::InputScript paste;
            paste.KeyDown(VK_CONTROL).Key('V').KeyUp(VK_CONTROL);
            ASSERT_TRUE(paste.Run()) << id << " " << c.pasted;
            Place(3, 5);
            EXPECT_EQ(grid.GetCellValue(2, 5), c.stored) << id << " " << c.pasted;
            CString shown;
            grid.GetCellControl(2, 5)->GetDisplayText(shown, 2, 5, nullptr, &grid.GetCellStyle(2, 5));
            EXPECT_EQ(shown, c.shown) << id << " " << c.pasted;
        }

        // The control's own choice of the entry showing "C" stores its key "B", never the key
        // of the entry showing "B".
        grid.SetValueRange(CGXRange(2, 5), "A");
        Place(2, 5);
        afxtest::InputScript choose;
        AltDown(choose);
        choose.Key(VK_DOWN).Key(VK_RETURN).Key(VK_TAB);
        ASSERT_TRUE(choose.Run()) << id;
        EXPECT_EQ(grid.GetCellValue(2, 5), "B") << id;
        ExpectClosed();
    }
}

TEST_F(CellWindowTest, SystemComboBoxesInTheCell)
{
    grid.SetStyleRange(CGXRange(1, 5, 6, 5), &CGXStyle().SetControl(GX_IDS_CTRL_CBS_DROPDOWNLIST).SetChoiceList(kColors),
                       gxOverride);
    grid.SetStyleRange(CGXRange(1, 1, 6, 1), &CGXStyle().SetControl(GX_IDS_CTRL_CBS_DROPDOWN).SetChoiceList(kColors),
                       gxOverride);
    grid.SetValueRange(CGXRange(2, 5), "Red");
    Place(2, 5);
    auto* list = dynamic_cast<CGXComboBoxWnd*>(grid.GetCellControl(2, 5));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->IsDropDownList());
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetCurSel(), 0);

    // Down with the list closed moves the grid's current cell.
    afxtest::InputScript down;
    down.Key(VK_DOWN);
    ASSERT_TRUE(down.Run());
    EXPECT_EQ(Row(), 3u);

    // Alt+Down opens the system list; Down moves in it, Enter closes it, Tab stores.
    Place(2, 5);
    afxtest::InputScript open;
    AltDown(open);
    ASSERT_TRUE(open.Run());
    EXPECT_TRUE(list->GetDroppedState());
    EXPECT_TRUE(grid.IsDropDownOpen());
    afxtest::InputScript choose;
    choose.Key(VK_DOWN).Key(VK_RETURN);
    ASSERT_TRUE(choose.Run());
    EXPECT_FALSE(list->GetDroppedState());
    EXPECT_FALSE(grid.IsDropDownOpen());
    afxtest::InputScript tab;
    tab.Key(VK_TAB);
    ASSERT_TRUE(tab.Run());
    EXPECT_EQ(grid.GetCellValue(2, 5), CString("Green"));

    // Delete in a drop-down list empties the cell; a read-only one keeps it.
    grid.SetStyleRange(CGXRange(4, 5), &CGXStyle().SetReadOnly(TRUE).SetValue("Blue"), gxOverride);
    grid.GetParam()->m_bLockStructureReadOnly = TRUE;
    for (ROWCOL r : {2u, 4u}) {
        Place(r, 5);
        afxtest::InputScript del;
        AltDown(del);
        del.Key(VK_DELETE);
        ASSERT_TRUE(del.Run());
    }
    EXPECT_EQ(grid.GetCellValue(2, 5), CString(""));
    EXPECT_EQ(grid.GetCellValue(4, 5), CString("Blue"));

    // A drop-down combo box takes typed text as it is.
    Place(3, 1);
    afxtest::InputScript typed;
    Type(typed, "gr");
    typed.Key(VK_TAB);
    ASSERT_TRUE(typed.Run());
    EXPECT_EQ(grid.GetCellValue(3, 1), CString("gr"));
    ExpectClosed();
}

TEST_F(CellWindowTest, TabbedSystemComboBoxes)
{
    CGXStyle tabbed;
    tabbed.SetChoiceList("No\tName\n1\tRed\n2\tGreen")
        .SetUserAttribute(GX_IDS_UA_TABLIST_KEYCOL, "0")
        .SetUserAttribute(GX_IDS_UA_TABLIST_TEXTCOL, "1")
        .SetUserAttribute(GX_IDS_UA_TABLIST_TITLES, "1");
    grid.SetStyleRange(CGXRange(1, 5, 6, 5), &CGXStyle(tabbed).SetControl(GX_IDS_CTRL_TABBED_DROPDOWNLIST), gxOverride);
    grid.SetStyleRange(CGXRange(1, 1, 6, 1), &CGXStyle(tabbed).SetControl(GX_IDS_CTRL_TABBED_DROPDOWN), gxOverride);
    grid.SetValueRange(CGXRange(2, 5), "2");
    Place(2, 5);
    auto* list = dynamic_cast<CGXTabbedComboBoxWnd*>(grid.GetCellControl(2, 5));
    ASSERT_NE(list, nullptr);
    CString shown;
    list->GetDisplayText(shown, 2, 5, nullptr, &grid.GetCellStyle(2, 5));
    EXPECT_EQ(shown, "Green");
    EXPECT_EQ(list->GetCount(), 2);   // the titles are no item
    EXPECT_EQ(list->GetCurSel(), 1);

    afxtest::InputScript open;
    AltDown(open);
    ASSERT_TRUE(open.Run());
    EXPECT_TRUE(list->GetDroppedState());
    ASSERT_NE(list->GetTitleWnd(), nullptr);
    EXPECT_TRUE(list->GetTitleWnd()->IsWindowVisible());
    afxtest::InputScript choose;
    choose.Key(VK_UP).Key(VK_RETURN).Key(VK_TAB);
    ASSERT_TRUE(choose.Run());
    EXPECT_EQ(grid.GetCellValue(2, 5), CString("1"));
    EXPECT_FALSE(list->GetTitleWnd()->IsWindowVisible());

    // Typing completes from the text column; the key is stored.
    Place(3, 1);
    afxtest::InputScript typed;
    Type(typed, "g");
    typed.Key(VK_TAB);
    ASSERT_TRUE(typed.Run());
    EXPECT_EQ(grid.GetCellValue(3, 1), CString("2"));
    ExpectClosed();
}

// An active window follows its cell when a row above grows or is hidden. A scroll carries the
// window along with the pixels without drawing its cell: when a row above then grows by what was
// scrolled, the cell is back where the window was first shown, and the window must come along.
TEST_F(CellWindowTest, ActiveWindowsFollowTheirCellWhenRowsAboveChange)
{
    enum Change { taller, hidden, scrolledThenTaller };
    struct Case
    {
        const char* name;
        UINT id;
        BYTE key;   // starts editing
        Change change;
    } cases[] = {
        {"combo box window, taller row", GX_IDS_CTRL_CBS_DROPDOWNLIST, 'G', taller},
        {"combo box window, hidden row", GX_IDS_CTRL_CBS_DROPDOWNLIST, 'G', hidden},
        {"edit, taller row", GX_IDS_CTRL_EDIT, 'X', taller},
        {"edit, hidden row", GX_IDS_CTRL_EDIT, 'X', hidden},
        {"combo, taller row", GX_IDS_CTRL_TEXTFIT, 'G', taller},
        {"rich edit, hidden row", GX_IDS_CTRL_RICHEDIT, 'X', hidden},
        {"list box, taller row", GX_IDS_CTRL_LISTBOX, VK_DOWN, taller},
        {"rich edit, scrolled", GX_IDS_CTRL_RICHEDIT, 'X', scrolledThenTaller},
        {"edit, scrolled", GX_IDS_CTRL_EDIT, 'X', scrolledThenTaller},
        {"combo box window, scrolled", GX_IDS_CTRL_CBS_DROPDOWNLIST, 'G', scrolledThenTaller},
        {"list box, scrolled", GX_IDS_CTRL_LISTBOX, VK_DOWN, scrolledThenTaller},
    };
    const int height = grid.GetRowHeight(2);
    for (const Case& c : cases) {
        grid.SetRowCount(c.change == scrolledThenTaller ? 60 : 6);
        grid.SetStyleRange(CGXRange(1, 5, 60, 5), &CGXStyle().SetControl(c.id).SetChoiceList(kColors), gxOverride);
        grid.SetTopRow(1);
        Place(4, 5);
        afxtest::InputScript s;
        s.Key(c.key);
        ASSERT_TRUE(s.Run()) << c.name;
        CGXControl* control = grid.GetCellControl(4, 5);
        ASSERT_TRUE(control != nullptr && control->IsActive()) << c.name;
        CWnd* wnd = control->GetWnd();
        ASSERT_TRUE(wnd != nullptr && wnd->IsWindowVisible()) << c.name;
        // Where the window sits against its cell.
        auto offset = [&]() {
            CRect r;
            wnd->GetWindowRect(&r);
            grid.ScreenToClient(&r);
            return afxtest::Text(r.TopLeft() - grid.CalcCellRect(4, 5).TopLeft());
        };
        const std::string before = offset();
        if (c.change == scrolledThenTaller) {
            grid.SetTopRow(2);
            afxtest::PumpMessages();
            EXPECT_EQ(offset(), before) << c.name << ", scrolled";
        }
        if (c.change == hidden)
            grid.HideRows(2, 2);
        else
            grid.SetRowHeight(2, 2, c.change == taller ? height + 40 : height * 2);
        grid.UpdateWindow();
        afxtest::PumpMessages();
        EXPECT_TRUE(wnd->IsWindowVisible()) << c.name;
        EXPECT_EQ(offset(), before) << c.name;
        EXPECT_TRUE(control->IsActive()) << c.name;
        afxtest::InputScript esc;
        esc.Key(VK_ESCAPE);
        ASSERT_TRUE(esc.Run()) << c.name;
        grid.HideRows(2, 2, FALSE);
        grid.SetRowHeight(2, 2, height);
    }
}

TEST_F(CellWindowTest, AClickIntoTheGridClosesAnOpenList)
{
    Place(2, 2);
    CGXComboBox* combo = Combo(2);
    ASSERT_NE(combo, nullptr);
    afxtest::InputScript open;
    AltDown(open);
    ASSERT_TRUE(open.Run());
    ASSERT_TRUE(combo->IsDropListVisible());
    CPoint pt = grid.CalcCellRect(5, 3).CenterPoint();
    grid.ClientToScreen(&pt);
    afxtest::InputScript click;
    click.MoveTo(pt).Click();
    ASSERT_TRUE(click.Run());
    EXPECT_FALSE(combo->IsDropListVisible());
    ExpectClosed();
    // The click that closed the list is used up: the cell stays current.
    EXPECT_EQ(Row(), 2u);
    EXPECT_EQ(Col(), 2u);
}

// What the user types shows in the cell while it is edited, read from the screen: the cell holds
// the ink of the edit's whole text in the edit's font, and no other. The cell was edited and
// stored with Enter first, as a user goes on typing in it.
TEST_F(CellWindowTest, TypedTextShowsInTheCellWhileItIsEdited)
{
    struct Case
    {
        const char* name;
        BYTE start;   // a key that starts editing, or 0: the first letter does
        const char* typed;
        const char* shown;
    } cases[] = {
        {"letters", 0, "abc", "abc"},
        {"End, then letters", VK_END, "qq", "xyzqq"},
        {"Home, then letters", VK_HOME, "qq", "qqxyz"},
    };
    grid.GetParam()->m_wEnterDirection = 0;
    auto* edit = dynamic_cast<CGXEditControl*>(grid.GetCellControl(1, 1));
    ASSERT_NE(edit, nullptr);
    for (const Case& c : cases) {
        // A text much wider than the cell.
        grid.SetValueRange(CGXRange(1, 1), CString('w', 200));
        Place(1, 1);
        afxtest::InputScript s;
        Type(s, "xyz");
        s.Key(VK_RETURN);
        if (c.start != 0)
            s.Key(c.start);
        Type(s, c.typed);
        ASSERT_TRUE(s.Run()) << c.name;
        ASSERT_EQ(edit->GetEditText(), c.shown) << c.name;
        ASSERT_TRUE(edit->IsWindowVisible()) << c.name;
        edit->HideCaret();
        CRect cell = grid.CalcCellRect(1, 1);
        cell.DeflateRect(1, 1);
        EXPECT_EQ(afxtest::ScreenShot(&grid).Ink(cell), afxtest::TextInk(edit->GetFont(), c.shown)) << c.name;
        edit->ShowCaret();
        afxtest::InputScript esc;
        esc.Key(VK_ESCAPE);
        ASSERT_TRUE(esc.Run()) << c.name;
    }
}

// A wrapped edit of a long text reaches over the rows below its cell and past the last row;
// however the cell is left, the grid shows again what lay under the edit, read from the screen:
// no ink below the last row, and what the rows below show is what the grid draws afresh.
TEST_F(CellWindowTest, LeavingAWrappedEditLeavesNoTextUnderIt)
{
    struct Case
    {
        const char* name;
        BYTE key;   // leaves the edit; 0: a click on another cell
    } cases[] = {
        {"Down", VK_DOWN}, {"Tab", VK_TAB}, {"Enter", VK_RETURN}, {"Escape", VK_ESCAPE}, {"a click", 0},
    };
    grid.GetParam()->m_wEnterDirection = 0;
    CString words;
    for (int i = 0; i < 12; ++i)
        words += "lorem ipsum ";
    const CRect last = grid.CalcCellRect(6, 1);
    CRect client;
    grid.GetClientRect(&client);
    const CRect below(client.left, last.bottom + 1, client.right, client.bottom);
    const CRect rows(client.left, grid.CalcCellRect(5, 1).bottom + 1, client.right, client.bottom);
    for (const Case& c : cases) {
        grid.SetValueRange(CGXRange(5, 1), words);
        Place(5, 1);
        afxtest::InputScript s;
        s.Key(VK_END);
        ASSERT_TRUE(s.Run()) << c.name;
        CGXControl* edit = grid.GetCellControl(5, 1);
        ASSERT_TRUE(edit->IsActive()) << c.name;
        CRect shown;
        edit->GetWnd()->GetWindowRect(&shown);
        grid.ScreenToClient(&shown);
        ASSERT_GT(shown.bottom, below.top) << c.name << ": the edit reaches past the last row";
        afxtest::InputScript leave;
        if (c.key != 0) {
            leave.Key(c.key);
        } else {
            CPoint pt = grid.CalcCellRect(2, 5).CenterPoint();
            grid.ClientToScreen(&pt);
            leave.MoveTo(pt).Click();
        }
        ASSERT_TRUE(leave.Run()) << c.name;
        ASSERT_FALSE(edit->GetWnd()->IsWindowVisible()) << c.name;
        const afxtest::ScreenShot left(&grid);
        EXPECT_EQ(left.Ink(below), "") << c.name;
        grid.Invalidate();
        grid.UpdateWindow();
        EXPECT_EQ(left.Ink(rows), afxtest::ScreenShot(&grid).Ink(rows)) << c.name;
    }
}
