// The rich edit control in a real grid window.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxrich.h"
#include "gxstyle.h"
#include "gxwnd.h"

namespace {
// Counts the texts streamed into rich edit windows of this thread while it lives.
class StreamCounter
{
public:
    StreamCounter()
    {
        s_nStreams = 0;
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~StreamCounter()
    {
        if (m_hHook != nullptr)
            ::UnhookWindowsHookEx(m_hHook);
    }
    BOOL IsHooked() const { return m_hHook != nullptr; }
    int Count() const { return s_nStreams; }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == EM_STREAMIN)
            ++s_nStreams;
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static int s_nStreams;
    HHOOK m_hHook;
};
int StreamCounter::s_nStreams = 0;

// Column 2 holds rich text.
class RichWindowTest : public ::testing::Test
{
protected:
    CWnd frame;
    CGXGridWnd grid;

    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "rich", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 620, 360), &frame, 1));
        grid.InitGrid();
        grid.SetRowCount(6);
        grid.SetColCount(4);
        grid.SetColWidth(2, 2, 160);
        grid.SetStyleRange(CGXRange(1, 2, 6, 2), &CGXStyle().SetControl(GX_IDS_CTRL_RICHEDIT), gxOverride);
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
    CGXRichEditCtrl* Rich() { return dynamic_cast<CGXRichEditCtrl*>(grid.GetCellControl(1, 2)); }
    static void Type(afxtest::InputScript& s, const char* text)
    {
        for (const char* p = text; *p; ++p)
            s.Key(static_cast<BYTE>(toupper(static_cast<unsigned char>(*p))));
    }
    CString Plain(LPCSTR value)
    {
        CString s;
        Rich()->GetDisplayText(s, 1, 2, value, nullptr);
        return s;
    }
};
} // namespace

TEST_F(RichWindowTest, PlainTextOfValuesAndWrapping)
{
    ASSERT_NE(Rich(), nullptr);
    EXPECT_EQ(Plain("{\\rtf1 {\\b bold} text}"), "bold text");
    EXPECT_EQ(Plain("{abc}"), "abc");
    // Backslashes and braces come back as typed.
    EXPECT_EQ(CGXRichEditCtrl::WrapPlainText("a{b}\\c"), "{a\\{b\\}\\\\c}");
    EXPECT_EQ(Plain(CGXRichEditCtrl::WrapPlainText("a{b}\\c")), "a{b}\\c");
    EXPECT_EQ(Plain(""), "");
    // The way inactive cells are drawn is decided once, by trying; Wine's rich
    // edit formats nothing into a device context but prints its window.
    const int method = Rich()->GetInactiveDrawing();
    EXPECT_GE(method, CGXRichEditCtrl::drawFormatRange);
    EXPECT_LE(method, CGXRichEditCtrl::drawPlainText);
    EXPECT_EQ(method, Rich()->GetInactiveDrawing());
}

TEST_F(RichWindowTest, TypedIntoAnInactiveCellIsStoredWrapped)
{
    Place(2, 2);
    afxtest::InputScript s;
    Type(s, "abc");
    s.Key(VK_TAB);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(Col(), 3u);
    const CString stored = grid.GetCellValue(2, 2);
    EXPECT_EQ(Plain(stored), "abc");
    // Stored from outside (pasted cells): the text wrapped, special characters escaped.
    EXPECT_TRUE(Rich()->SetCellText(4, 2, "abc", GX_UPDATENOW, nullptr));
    EXPECT_EQ(grid.GetCellValue(4, 2), "{abc}");
    EXPECT_TRUE(Rich()->SetCellText(4, 2, "a{b}\\c", GX_UPDATENOW, nullptr));
    EXPECT_EQ(Plain(grid.GetCellValue(4, 2)), "a{b}\\c");
}

TEST_F(RichWindowTest, StyleAndFormatsRoundTrip)
{
    CGXFont font;
    font.SetBold(TRUE).SetItalic(TRUE).SetUnderline(TRUE).SetStrikeOut(TRUE).SetFaceName("Courier New").SetSize(12);
    const DWORD aligns[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (DWORD align : aligns) {
        CGXStyle in;
        in.SetFont(font).SetHorizontalAlignment(align).SetTextColor(RGB(200, 10, 20));
        PARAFORMAT pf;
        CHARFORMAT cf;
        Rich()->StyleToFormats(pf, cf, in);
        CGXStyle out;
        Rich()->FormatsToStyle(pf, cf, out);
        EXPECT_EQ(out.GetHorizontalAlignment(), align);
        EXPECT_EQ(out.GetTextColor(), RGB(200, 10, 20));
        const CGXFont& f = out.GetFont();
        EXPECT_TRUE(f.GetBold());
        EXPECT_TRUE(f.GetItalic());
        EXPECT_TRUE(f.GetUnderline());
        EXPECT_TRUE(f.GetStrikeOut());
        EXPECT_STREQ(f.GetFaceName(), "Courier New");
        EXPECT_EQ(f.GetSize(), 12);
    }
    // Plain weight reads back as not bold.
    CGXStyle plain;
    plain.SetFont(CGXFont().SetBold(FALSE));
    PARAFORMAT pf;
    CHARFORMAT cf;
    Rich()->StyleToFormats(pf, cf, plain);
    CGXStyle out;
    Rich()->FormatsToStyle(pf, cf, out);
    EXPECT_FALSE(out.GetFont().GetBold());
}

TEST_F(RichWindowTest, InactiveCellsStreamOnceAndDrawInsideTheirCell)
{
    CGXRichEditCtrl* rich = Rich();
    const char* value = "{\\rtf1 {\\b one}\\par two\\par three\\par four\\par five}";
    grid.SetValueRange(CGXRange(3, 2), value);
    CGXStyle style;
    grid.ComposeCellStyle(3, 2, style);
    // A value the grid has not drawn yet.
    style.SetValue(CString(value) + " ");
    CClientDC screen(nullptr);
    CDC mem;
    mem.CreateCompatibleDC(&screen);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&screen, 120, 60);
    CBitmap* pOld = mem.SelectObject(&bmp);
    mem.FillSolidRect(0, 0, 120, 60, RGB(255, 255, 255));
    const CRect cell(0, 0, 100, 20);
    {
        StreamCounter streams;
        ASSERT_TRUE(streams.IsHooked());
        rich->Draw(&mem, cell, 3, 2, style, nullptr);
        const int first = streams.Count();
        EXPECT_EQ(first, 1);
        // The same text again is drawn from what the renderer holds.
        rich->Draw(&mem, cell, 3, 2, style, nullptr);
        EXPECT_EQ(streams.Count(), first);
    }
    int inside = 0, below = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF c = mem.GetPixel(x, y) & 0xFFFFFF;
            if (c == RGB(255, 255, 255))
                continue;
            if (cell.PtInRect(CPoint(x, y)))
                ++inside;
            else
                ++below;
        }
    mem.SelectObject(pOld);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(below, 0);
}

TEST_F(RichWindowTest, KeysLeaveTheCellAtTheTextsEnds)
{
    grid.SetValueRange(CGXRange(2, 2), "{ab}");
    struct Case
    {
        const char* name;
        BYTE start, vk;
        ROWCOL col;
    } cases[] = {
        {"Left at the start", VK_HOME, VK_LEFT, 1},
        {"Right at the end", VK_END, VK_RIGHT, 3},
        {"Left inside", VK_END, VK_LEFT, 2},
        {"Tab", VK_HOME, VK_TAB, 3},
    };
    for (const Case& c : cases) {
        Place(2, 2);
        afxtest::InputScript s;
        s.Key(c.start).Key(c.vk);
        ASSERT_TRUE(s.Run()) << c.name;
        EXPECT_EQ(Col(), c.col) << c.name;
        EXPECT_EQ(Plain(grid.GetCellValue(2, 2)), "ab") << c.name;
    }
}

TEST_F(RichWindowTest, CopiedBoldWordPastesBold)
{
    grid.SetValueRange(CGXRange(2, 2), "{\\rtf1 {\\b bold} text}");
    Place(2, 2);
    afxtest::InputScript s;
    s.Key(VK_HOME);
    ASSERT_TRUE(s.Run());
    Rich()->SetSel(0, 4);
    afxtest::InputScript copy;
    copy.KeyDown(VK_CONTROL).Key('C').KeyUp(VK_CONTROL);
    ASSERT_TRUE(copy.Run());

    Place(3, 2);
    afxtest::InputScript paste;
    paste.Key(VK_HOME).KeyDown(VK_CONTROL).Key('V').KeyUp(VK_CONTROL).Key(VK_TAB);
    ASSERT_TRUE(paste.Run());
    EXPECT_EQ(Plain(grid.GetCellValue(3, 2)), "bold");
    CGXStyle formats;
    ASSERT_TRUE(Rich()->GetCellFormats(3, 2, formats));
    EXPECT_TRUE(formats.GetFont().GetBold());
}

TEST_F(RichWindowTest, AutoSizeGrowsAndShrinksTheRow)
{
    grid.SetStyleRange(CGXRange(3, 2), &CGXStyle().SetAutoSize(TRUE).SetAllowEnter(TRUE), gxOverride);
    grid.SetStyleRange(CGXRange(4, 2), &CGXStyle().SetAllowEnter(TRUE), gxOverride);
    const int start = grid.GetRowHeight(3);
    Place(3, 2);
    afxtest::InputScript s;
    s.Key(VK_HOME);
    Type(s, "a");
    s.Key(VK_RETURN).Key('B').Key(VK_RETURN).Key('C').Key(VK_RETURN).Key('D');
    ASSERT_TRUE(s.Run());
    EXPECT_GT(grid.GetRowHeight(3), start);
    afxtest::InputScript back;
    for (int i = 0; i < 6; ++i)
        back.Key(VK_BACK);
    ASSERT_TRUE(back.Run());
    EXPECT_EQ(grid.GetRowHeight(3), start);

    // Without auto-size the row keeps its height.
    const int fixed = grid.GetRowHeight(4);
    Place(4, 2);
    afxtest::InputScript t;
    t.Key(VK_HOME);
    Type(t, "a");
    t.Key(VK_RETURN).Key('B').Key(VK_RETURN).Key('C').Key(VK_RETURN).Key('D');
    ASSERT_TRUE(t.Run());
    EXPECT_EQ(grid.GetRowHeight(4), fixed);
}

TEST_F(RichWindowTest, ReadOnlyCellsTakeNothing)
{
    grid.SetStyleRange(CGXRange(5, 2), &CGXStyle().SetReadOnly(TRUE).SetValue("{fixed}"), gxOverride);
    grid.GetParam()->m_bLockStructureReadOnly = TRUE;
    Place(5, 2);
    afxtest::InputScript s;
    Type(s, "x");
    s.Key(VK_HOME).KeyDown(VK_CONTROL).Key('V').KeyUp(VK_CONTROL).Key(VK_DELETE).Key(VK_TAB);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(grid.GetCellValue(5, 2), "{fixed}");
    EXPECT_FALSE(Rich()->SetCellText(5, 2, "other", GX_UPDATENOW, nullptr));
    EXPECT_FALSE(Rich()->Paste());
}
