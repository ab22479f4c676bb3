// The record window with a real grid: the beam's hit test, typed record numbers, the buttons
// moving the current row with the beam following, held buttons.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxtest.h"
#include "grid_test_util.h"
#include "gxinit.h"
#include "gxparam.h"
#include "gxrecwnd.h"
#include "gxwnd.h"

namespace {
class CRecordGrid : public CGXGridWnd
{
public:
    int nMoves = 0;
    LPARAM nTyped = 0;   // the number the last typed navigation carried
    BOOL HandleRecordNavigate(WPARAM w, LPARAM l) override
    {
        ++nMoves;
        if (w == 4)
            nTyped = l;
        return CGXGridWnd::HandleRecordNavigate(w, l);
    }
};

class RecordWndTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    CGXRecordInfoWnd wnd;
    CRecordGrid grid;
    CGXRecordInfoBeam* beam = nullptr;
    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "records", WS_POPUP | WS_VISIBLE, 20, 20, 500, 400,
                                   nullptr, nullptr));
        ASSERT_TRUE(wnd.Create(&frame, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 1));
        ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &wnd, 0xE900));
        grid.InitGrid();
        grid.SetRowCount(60);
        grid.SetColCount(3);
        wnd.MoveWindow(0, 0, 480, 360);
        grid.PlaceCurrentCell(1, 1);
        beam = wnd.GetBeam();
        afxtest::PumpMessages();
    }
    void TearDown() override
    {
        AfxSeamReset();
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    ROWCOL Row()
    {
        ROWCOL r = 0, c = 0;
        grid.GetCurrentCellPos(r, c);
        return r;
    }
    // A press on a button with its release already queued at pRelease (or at the press).
    void Click(int nButton, const CPoint* pRelease = nullptr)
    {
        const CPoint pt = beam->GetButtonRect(nButton).CenterPoint();
        const CPoint up = pRelease != nullptr ? *pRelease : pt;
        beam->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
        beam->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        afxtest::PumpMessages();
    }
    // A press at pt held while the beam looks at the clock four times, each finding a repeat due;
    // then released.
    void Hold(CPoint pt)
    {
        int calls = 0;
        DWORD now = 0;
        AfxSeamSetTickCount([this, pt, calls, now]() mutable {
            if (++calls == 5)
                beam->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            return now += 1000;
        });
        beam->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        afxtest::PumpMessages();
    }
    void Type(LPCSTR text)
    {
        beam->GetEdit()->SetWindowText(text);
        beam->GetEdit()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        afxtest::PumpMessages();
    }
};
} // namespace

TEST_F(RecordWndTest, LayoutAndTheBeamsHitTestAtTheFirstAndLastRecord)
{
    EXPECT_EQ(grid.GetScrollBarCtrl(SB_VERT), wnd.GetDlgItem(0xEA10));
    EXPECT_EQ(beam->GetRecordCount(), 60);
    EXPECT_EQ(beam->GetCurrentRecord(), 1);
    EXPECT_EQ(beam->GetDlgCtrlID(), 59905);
    EXPECT_EQ(beam->GetBeamWidth(), 8 * beam->m_cyBeam + 2 * beam->m_cxButton);
    CString label;
    EXPECT_TRUE(label.LoadString(52242));
    EXPECT_EQ(label, "Record");

    struct { long current; int button; int expected; } cases[] = {
        {1, 0, -1}, {1, 1, -1}, {1, 2, 2}, {1, 3, 3},
        {60, 0, 0}, {60, 1, 1}, {60, 2, -1}, {60, 3, -1},
        {30, 0, 0}, {30, 3, 3},
    };
    for (auto& c : cases) {
        beam->SetCurrentRecord(c.current);
        const CPoint pt = beam->GetButtonRect(c.button).CenterPoint();
        EXPECT_EQ(beam->HitTest(pt.x, pt.y, -1), c.expected) << c.current << " " << c.button;
    }
    beam->SetCurrentRecord(30);
    const CPoint next = beam->GetButtonRect(2).CenterPoint();
    EXPECT_EQ(beam->HitTest(next.x, next.y, 3), -1);   // not the expected button
    EXPECT_EQ(beam->HitTest(next.x, beam->m_cyBeam + 1, -1), -1);
    EXPECT_EQ(beam->HitTest(beam->m_rcField.CenterPoint().x, 5, -1), -1);
    EXPECT_EQ(beam->HitTest(beam->m_rcField.right + 2 * beam->m_cxButton, 5, -1), -1);
    // Each button answers over the pixels it is drawn on, edge to edge; the pixel between the
    // previous button and the field is none.
    for (int b = 0; b < 4; ++b) {
        const CRect r = beam->GetButtonRect(b);
        EXPECT_EQ(beam->HitTest(r.left, 5, -1), b);
        EXPECT_EQ(beam->HitTest(r.right - 1, 5, -1), b);
    }
    EXPECT_EQ(beam->GetButtonRect(1).right, beam->m_rcField.left - 1);
    EXPECT_EQ(beam->HitTest(beam->m_rcField.left - 1, 5, -1), -1);
    beam->SetCurrentRecord(1);
}

TEST_F(RecordWndTest, APressOnThePixelBeforeTheFieldMovesNothing)
{
    grid.PlaceCurrentCell(10, 1);
    Hold(CPoint(beam->m_rcField.left - 1, 5));
    EXPECT_EQ(grid.nMoves, 0);
    EXPECT_EQ(Row(), 10u);
    EXPECT_EQ(::GetCapture(), (HWND) nullptr);
}

TEST_F(RecordWndTest, TypedRecordNumbers)
{
    // Numbers too large (or too small) for a long saturate: they land on the last (first) record.
    struct { LPCSTR text; LPARAM sent; ROWCOL row; } cases[] = {
        {"25", 25, 25}, {"abc", 0, 1}, {"60", 60, 60}, {"0", 0, 1}, {"999", 999, 60},
        {"2147483647", 2147483647, 60}, {"2147483648", 2147483647, 60},
        {"9999999999999999999999", 2147483647, 60}, {"-5", -5, 1}, {"-9999999999", -2147483647 - 1, 1},
    };
    for (auto& c : cases) {
        grid.PlaceCurrentCell(10, 1);
        Type(c.text);
        EXPECT_EQ(grid.nTyped, c.sent) << c.text;
        EXPECT_EQ(Row(), c.row) << c.text;
        EXPECT_EQ(beam->GetCurrentRecord(), static_cast<long>(c.row)) << c.text;
    }
}

TEST_F(RecordWndTest, ButtonsMoveTheCurrentRowAndTheBeamFollows)
{
    struct { int button; ROWCOL row; } steps[] = {{2, 2}, {2, 3}, {1, 2}, {3, 60}, {2, 60}, {0, 1}, {1, 1}};
    for (auto& s : steps) {
        Click(s.button);
        EXPECT_EQ(Row(), s.row) << s.button;
        EXPECT_EQ(beam->GetCurrentRecord(), static_cast<long>(s.row));
    }
    // A release away from the button does not act.
    const int before = grid.nMoves;
    const CPoint away(beam->m_rcField.CenterPoint());
    Click(2, &away);
    EXPECT_EQ(grid.nMoves, before);
    EXPECT_EQ(Row(), 1u);
    EXPECT_EQ(::GetCapture(), (HWND) nullptr);
}

TEST_F(RecordWndTest, AHeldButtonRepeatsAndTheReleaseAddsNone)
{
    Hold(beam->GetButtonRect(2).CenterPoint());
    EXPECT_EQ(grid.nMoves, 4);
    EXPECT_EQ(Row(), 5u);
    EXPECT_EQ(beam->GetCurrentRecord(), 5);
}

// The beam's request has one name, and any window may send it to a grid: the grid takes the
// focus and goes to the record.
TEST_F(RecordWndTest, TheNavigationMessageByItsName)
{
    static_assert(GXWM_RECORDNAVIGATE == 0x7A3, "the record beam's message");
    frame.SetFocus();
    struct { WPARAM code; LPARAM record; ROWCOL row; } steps[] = {{4, 25, 25}, {2, 0, 26}, {0, 0, 1}, {3, 0, 60}};
    for (auto& s : steps) {
        EXPECT_EQ(grid.SendMessage(GXWM_RECORDNAVIGATE, s.code, s.record), 0);
        EXPECT_EQ(Row(), s.row) << s.code;
        EXPECT_EQ(beam->GetCurrentRecord(), static_cast<long>(s.row)) << s.code;
    }
    EXPECT_EQ(::GetFocus(), grid.GetSafeHwnd());
    EXPECT_EQ(grid.nMoves, 4);
}

// The beam follows the row count at once, however it changes: next and last work at once after
// rows were added behind the current record.
TEST_F(RecordWndTest, TheBeamFollowsTheRowCount)
{
    grid.SetRowCount(10);
    grid.PlaceCurrentCell(10, 1);
    ASSERT_EQ(beam->GetRecordCount(), 10);
    ASSERT_TRUE(beam->IsLastRecord());
    grid.SetRowCount(20);
    EXPECT_EQ(beam->GetRecordCount(), 20);
    EXPECT_FALSE(beam->IsLastRecord());
    Click(2);
    EXPECT_EQ(Row(), 11u);
    // Fewer rows, rows inserted and removed before the current one, a count stored and refreshed.
    grid.SetRowCount(15);
    EXPECT_EQ(beam->GetRecordCount(), 15);
    grid.InsertRows(2, 3);
    EXPECT_EQ(beam->GetRecordCount(), 18);
    EXPECT_EQ(beam->GetCurrentRecord(), 14);
    grid.RemoveRows(2, 2);
    EXPECT_EQ(beam->GetRecordCount(), 17);
    ASSERT_TRUE(grid.StoreRowCount(30));
    grid.RefreshAfterRowCountChange(17, 0, FALSE);
    EXPECT_EQ(beam->GetRecordCount(), 30);
    // Undo brings the count back with it.
    grid.Undo();
    EXPECT_EQ(beam->GetRecordCount(), 31);
}

// Header rows are no records: a change of their number reaches the beam at once, its undo too,
// and with one record left below them next and last are off.
TEST_F(RecordWndTest, TheBeamFollowsTheHeaderRows)
{
    grid.SetRowCount(10);
    grid.PlaceCurrentCell(8, 1);
    ASSERT_EQ(beam->GetRecordCount(), 10);
    grid.SetFrozenRows(2, 2);
    EXPECT_EQ(beam->GetRecordCount(), 8);
    EXPECT_EQ(beam->GetCurrentRecord(), 6);
    grid.Undo();
    EXPECT_EQ(beam->GetRecordCount(), 10);
    EXPECT_EQ(beam->GetCurrentRecord(), 8);
    grid.PlaceCurrentCell(1, 1);
    grid.SetFrozenRows(9, 9);
    EXPECT_EQ(beam->GetRecordCount(), 1);
    EXPECT_TRUE(beam->IsLastRecord());
    const int before = grid.nMoves;
    Click(2);
    Click(3);
    EXPECT_EQ(grid.nMoves, before);
}
