// The masked edit control in a real grid window, driven by synthesized keys.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "cell_clipboard.h"
#include "gxengine.h"
#include "gxmask.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxwnd.h"

namespace {
const char* const kPhone = "(###) ###-####";

// Column 2 holds phone numbers, column 3 the same control without a mask.
class MaskWindowTest : public ::testing::Test
{
protected:
    CWnd frame;
    CGXGridWnd grid;

    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "masks", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 620, 360), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(6);
        grid.SetColCount(4);
        grid.SetColWidth(2, 2, 160);
        grid.SetStyleRange(CGXRange(1, 2, 6, 2),
                           &CGXStyle()
                                .SetControl(GX_IDS_CTRL_MASKEDIT)
                                .SetUserAttribute(GX_IDS_UA_INPUTMASK, kPhone)
                                .SetWrapText(FALSE),
                           gxOverride);
        grid.SetStyleRange(CGXRange(1, 3, 6, 3), &CGXStyle().SetControl(GX_IDS_CTRL_MASKEDIT), gxOverride);
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
    CGXMaskControl* Mask() { return dynamic_cast<CGXMaskControl*>(grid.GetCellControl(1, 2)); }
    static void Type(afxtest::InputScript& s, const char* text)
    {
        for (const char* p = text; *p; ++p)
            s.Key(static_cast<BYTE>(toupper(static_cast<unsigned char>(*p))));
    }
    static void Ctrl(afxtest::InputScript& s, BYTE vk) { s.KeyDown(VK_CONTROL).Key(vk).KeyUp(VK_CONTROL); }
    int Caret()
    {
        int s = 0, e = 0;
        Mask()->GetPosSel(s, e);
        return s;
    }
};
} // namespace

TEST_F(MaskWindowTest, TypingFillsPlacesAndLeavingStoresTheValue)
{
    Place(1, 2);
    CGXMaskControl* mask = Mask();
    ASSERT_NE(mask, nullptr);
    afxtest::InputScript s;
    Type(s, "1");
    ASSERT_TRUE(s.Run());
    EXPECT_TRUE(mask->IsActive());
    EXPECT_EQ(mask->GetEditText(), "(1__) ___-____");
    EXPECT_EQ(Caret(), 2);

    // A letter has no place; digits go on over the literals.
    afxtest::InputScript more;
    Type(more, "x55");
    ASSERT_TRUE(more.Run());
    EXPECT_EQ(mask->GetEditText(), "(155) ___-____");
    afxtest::InputScript cont;
    Type(cont, "12");
    ASSERT_TRUE(cont.Run());
    EXPECT_EQ(mask->GetEditText(), "(155) 12_-____");
    EXPECT_EQ(grid.GetCellValue(1, 2), "");

    afxtest::InputScript tab;
    tab.Key(VK_TAB);
    ASSERT_TRUE(tab.Run());
    EXPECT_EQ(Col(), 3u);
    EXPECT_EQ(grid.GetCellValue(1, 2), "15512");
}

TEST_F(MaskWindowTest, FullMaskRefusesInsertAndOverwriteReplaces)
{
    grid.SetValueRange(CGXRange(1, 2), "5551234567");
    Place(1, 2);
    CGXMaskControl* mask = Mask();
    afxtest::InputScript s;
    s.Key(VK_HOME);
    Type(s, "9");
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(mask->GetEditText(), "(555) 123-4567");
    EXPECT_EQ(Caret(), 1);

    afxtest::InputScript over;
    over.Key(VK_INSERT);
    Type(over, "98");
    over.Key(VK_RETURN);
    ASSERT_TRUE(over.Run());
    EXPECT_FALSE(mask->m_bInsertMode);
    EXPECT_EQ(grid.GetCellValue(1, 2), "9851234567");
    mask->m_bInsertMode = TRUE;
}

TEST_F(MaskWindowTest, EditingKeys)
{
    grid.SetValueRange(CGXRange(1, 2), "123");
    struct Case
    {
        const char* name;
        BYTE start;          // VK_HOME or VK_END starts editing
        BYTE vk;
        const char* shown;   // window text afterwards
        int caret;
        ROWCOL col;          // the current column afterwards
    } cases[] = {
        {"Backspace at the first place", VK_HOME, VK_BACK, "(123) ___-____", 1, 2},
        {"Backspace after the text", VK_END, VK_BACK, "(12_) ___-____", 3, 2},
        {"Delete at the first place", VK_HOME, VK_DELETE, "(23_) ___-____", 1, 2},
        {"Delete after the text", VK_END, VK_DELETE, "(123) ___-____", 4, 2},
        {"End", VK_HOME, VK_END, "(123) ___-____", 4, 2},
        {"Home", VK_END, VK_HOME, "(123) ___-____", 1, 2},
        {"Left inside", VK_END, VK_LEFT, "(123) ___-____", 3, 2},
        {"Right at the end of the text", VK_END, VK_RIGHT, "(123) ___-____", -1, 3},
    };
    for (const Case& c : cases) {
        Place(1, 2);
        afxtest::InputScript s;
        s.Key(c.start).Key(c.vk);
        ASSERT_TRUE(s.Run()) << c.name;
        EXPECT_EQ(Col(), c.col) << c.name;
        if (c.col == 2) {
            EXPECT_EQ(Mask()->GetEditText(), c.shown) << c.name;
            EXPECT_EQ(Caret(), c.caret) << c.name;
        }
        // Escape takes the edit back.
        if (c.col == 2) {
            afxtest::InputScript esc;
            esc.Key(VK_ESCAPE);
            ASSERT_TRUE(esc.Run());
        }
        EXPECT_EQ(grid.GetCellValue(1, 2), "123") << c.name;
    }
    // Left at position 0 moves the current cell.
    Place(1, 2);
    afxtest::InputScript home;
    home.Key(VK_HOME);
    ASSERT_TRUE(home.Run());
    Mask()->SetPosSel(0, 0);
    afxtest::InputScript left;
    left.Key(VK_LEFT);
    ASSERT_TRUE(left.Run());
    EXPECT_EQ(Col(), 1u);
}

TEST_F(MaskWindowTest, PasteInEitherFormAndCopyBothFormats)
{
    struct Case
    {
        const char* clip;
        const char* shown;
    } cases[] = {
        {"(555) 123-4567", "(555) 123-4567"},
        {"5551234567", "(555) 123-4567"},
        {"abc", "(___) ___-____"},
    };
    for (const Case& c : cases) {
        grid.SetValueRange(CGXRange(1, 2), "");
        Place(1, 2);
        PutOnClipboard(c.clip);
        afxtest::InputScript s;
        s.Key(VK_HOME);
        Ctrl(s, 'V');
        ASSERT_TRUE(s.Run()) << c.clip;
        EXPECT_EQ(Mask()->GetEditText(), c.shown) << c.clip;
        afxtest::InputScript esc;
        esc.Key(VK_ESCAPE);
        ASSERT_TRUE(esc.Run());
    }

    grid.SetValueRange(CGXRange(1, 2), "5551234567");
    Place(1, 2);
    afxtest::InputScript s;
    s.Key(VK_HOME);
    ASSERT_TRUE(s.Run());
    Mask()->SetPosSel(0, 14);
    afxtest::InputScript copy;
    Ctrl(copy, 'C');
    ASSERT_TRUE(copy.Run());
    EXPECT_EQ(ClipboardText(GXGetMaskDataClipboardFormat()), "5551234567");
    EXPECT_EQ(ClipboardText(CF_TEXT), "(555) 123-4567");

    // The copied value pastes into an emptied cell as a value, never as display text.
    afxtest::InputScript again;
    again.Key(VK_DELETE);
    Ctrl(again, 'V');
    again.Key(VK_RETURN);
    ASSERT_TRUE(again.Run());
    EXPECT_EQ(grid.GetCellValue(1, 2), "5551234567");
}

TEST_F(MaskWindowTest, DeleteAndReadOnlyCells)
{
    grid.SetValueRange(CGXRange(1, 2), "555");
    grid.SetStyleRange(CGXRange(2, 2), &CGXStyle().SetReadOnly(TRUE).SetValue("777"), gxOverride);
    grid.GetParam()->m_bLockStructureReadOnly = TRUE;

    Place(1, 2);
    afxtest::InputScript del;
    del.Key(VK_DELETE).Key(VK_RETURN);
    ASSERT_TRUE(del.Run());
    EXPECT_EQ(grid.GetCellValue(1, 2), "");

    Place(2, 2);
    afxtest::InputScript s;
    Type(s, "1");
    s.Key(VK_DELETE).Key(VK_RETURN);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.GetCellValue(2, 2), "777");
    EXPECT_FALSE(Mask()->IsActive());
}

TEST_F(MaskWindowTest, DisplayTextAndStoredText)
{
    CGXMaskControl* mask = Mask();
    ASSERT_NE(mask, nullptr);
    CGXStyle phone, literals, plain;
    phone.SetUserAttribute(GX_IDS_UA_INPUTMASK, kPhone);
    literals.SetUserAttribute(GX_IDS_UA_INPUTMASK, "(--)");
    struct Case
    {
        const CGXStyle* style;
        const char* value;
        BOOL ok;
        const char* shown;
    } cases[] = {
        {&phone, "555123", TRUE, "(555) 123-____"},
        {&phone, "55a", TRUE, "(55_) ___-____"},
        {&phone, "", TRUE, ""},
        {&literals, "12", FALSE, ""},
        {&plain, "as is ", TRUE, "as is "},
    };
    for (const Case& c : cases) {
        CString shown;
        EXPECT_EQ(c.ok, mask->GetDisplayText(shown, 1, 2, c.value, c.style)) << c.value;
        EXPECT_EQ(shown, c.shown) << c.value;
    }

    // Texts put into cells (pasted cell ranges): with literals or without, never anything else.
    struct Store
    {
        const char* text;
        BOOL ok;
        const char* value;
    } stores[] = {
        {"(555) 123-4567", TRUE, "5551234567"},
        {"5551234567", TRUE, "5551234567"},
        {"555", TRUE, "555"},
        {"abc", FALSE, "old"},
        {"", TRUE, ""},
    };
    for (const Store& c : stores) {
        grid.SetValueRange(CGXRange(4, 2), "old");
        EXPECT_EQ(c.ok, mask->SetCellText(4, 2, c.text, GX_UPDATENOW, nullptr)) << c.text;
        EXPECT_EQ(grid.GetCellValue(4, 2), c.value) << c.text;
    }
}

TEST_F(MaskWindowTest, CellsWithoutMaskEditFreeText)
{
    Place(1, 3);
    afxtest::InputScript s;
    Type(s, "ab1");
    s.Key(VK_LEFT).Key(VK_BACK).Key(VK_RETURN);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.GetCellValue(1, 3), "a1");
}

TEST_F(MaskWindowTest, OverwriteInFreeTextReplacesWhatItBrings)
{
    struct Case
    {
        const char* typed;   // typed, or pasted when it starts with '^'
        const char* stored;
    } cases[] = {
        {"x", "hxllo"},
        {"^ab", "hablo"},
        {"^abcdef", "habcdef"},
    };
    for (const Case& c : cases) {
        grid.SetValueRange(CGXRange(1, 3), "hello");
        Place(1, 3);
        afxtest::InputScript s;
        s.Key(VK_HOME).Key(VK_RIGHT).Key(VK_INSERT);
        if (c.typed[0] == '^') {
            PutOnClipboard(c.typed + 1);
            Ctrl(s, 'V');
        } else {
            Type(s, c.typed);
        }
        s.Key(VK_RETURN);
        ASSERT_TRUE(s.Run()) << c.typed;
        EXPECT_EQ(grid.GetCellValue(1, 3), c.stored) << c.typed;
        if (CGXMaskControl* mask = dynamic_cast<CGXMaskControl*>(grid.GetCellControl(1, 3)))
            mask->m_bInsertMode = TRUE;
    }
}

TEST_F(MaskWindowTest, LongTextLeavesRightAlignmentKeepingTheEdit)
{
    grid.SetColWidth(3, 3, 60);
    grid.SetStyleRange(CGXRange(2, 3), &CGXStyle().SetHorizontalAlignment(DT_RIGHT).SetWrapText(FALSE), gxOverride);
    Place(2, 3);
    afxtest::InputScript s;
    Type(s, "ab");
    ASSERT_TRUE(s.Run());
    CGXMaskControl* mask = dynamic_cast<CGXMaskControl*>(grid.GetCellControl(2, 3));
    ASSERT_NE(mask, nullptr);
    EXPECT_TRUE(mask->CWnd::GetStyle() & ES_RIGHT);
    const HWND before = mask->GetSafeHwnd();
    // Wider than the window: the text must scroll from its start, so the window is made again left-aligned.
    afxtest::InputScript more;
    Type(more, "cdefghijklmnop");
    ASSERT_TRUE(more.Run());
    EXPECT_NE(mask->GetSafeHwnd(), before);
    EXPECT_FALSE(mask->CWnd::GetStyle() & ES_RIGHT);
    EXPECT_EQ(mask->GetEditText(), "abcdefghijklmnop");
    EXPECT_TRUE(mask->GetModify());
    int s0 = 0, e0 = 0;
    mask->GetPosSel(s0, e0);
    EXPECT_EQ(s0, 16);
    EXPECT_EQ(::GetFocus(), mask->GetSafeHwnd());
    afxtest::InputScript enter;
    enter.Key(VK_RETURN);
    ASSERT_TRUE(enter.Run());
    EXPECT_EQ(grid.GetCellValue(2, 3), "abcdefghijklmnop");
}
