// The tab beam's geometry and buttons, and the tab window holding real grids: switching by
// synthesized clicks, refusals, label editing, a tab window made by a dialog template.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "grid_test_util.h"
#include "grid_tests_res.h"
#include "gxinit.h"
#include "gxparam.h"
#include "gxtabbeam.h"
#include "gxtabwnd.h"
#include "gxwnd.h"

namespace {

// A grid that records the tab window's messages and answers 0x790 and 0x792 as told.
class CTabGrid : public CGXGridWnd
{
public:
    std::vector<std::string> msgs;
    UINT nRefuseMask = 0;   // bit w set: refuse 0x792 with wParam w
    int nOptionF = 1;       // the answer to 0x790
    BOOL HandleMsg792(WPARAM w) override
    {
        msgs.push_back("792 " + std::to_string(w));
        return !(nRefuseMask & (1u << w));
    }
    int GetParamOptionF() override
    {
        msgs.push_back("790");
        return nOptionF;
    }
    void UpdateTabName(WPARAM w) override
    {
        msgs.push_back("791 " + std::to_string(w));
        CGXGridWnd::UpdateTabName(w);
    }
    BOOL Has(const std::string& s) const { return std::find(msgs.begin(), msgs.end(), s) != msgs.end(); }

protected:
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
        if (m == GXWM_TABATTACHED)
            msgs.push_back("78F " + std::to_string(w));
        return CGXGridWnd::WindowProc(m, w, l);
    }
};

class BeamTest : public ::testing::Test
{
protected:
    CWnd frame;
    CGXTabBeam beam;
    void SetUp() override
    {
        AfxSeamReset();
        // The presses are posted messages: the real pointer, wherever an earlier test left it,
        // must not lie over the beam, or its moves reach the beam's button loop.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "beam", WS_POPUP | WS_VISIBLE, 20, 20, 500, 100,
                                   nullptr, nullptr));
        ASSERT_TRUE(beam.Create(WS_VISIBLE, CRect(0, 0, 300, 1), &frame, 1));
        // Fixed metrics, so that the geometry is the same on every display.
        beam.m_cxButton = 16;
        beam.m_cxButtons = 32;
        beam.m_cyBeam = 16;
        beam.m_nTabGap = 7;
        for (int w : {40, 50, 60, 30})
            beam.InsertTab(FALSE, "t", nullptr, 0, w, 0);
    }
    void TearDown() override
    {
        AfxSeamReset();
        if (beam.GetSafeHwnd())
            beam.DestroyWindow();
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    void Width(int cx) { beam.SetWindowPos(nullptr, 0, 0, cx, 16, SWP_NOZORDER | SWP_NOACTIVATE); }
};

} // namespace

TEST(TabClasses, RegisteredThroughTheFactoryOnce)
{
    WNDCLASSA wc;
    for (LPCSTR name : {"CGXTabBeam", "CGXTabWnd"}) {
        ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), name, &wc)) << name;
        EXPECT_EQ(wc.style, (UINT)(CS_GLOBALCLASS | CS_DBLCLKS)) << name;
    }
    EXPECT_NO_THROW(GXRegisterClasses(AfxGetInstanceHandle()));
    // Both windows share their scroll bars with the grids inside them, listed once.
    CGXTabWnd a, b;
    int n = 0;
    CPtrList& list = GXGetAppState()->m_scrollParentClasses;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        n += list.GetNext(pos) == RUNTIME_CLASS(CGXTabWnd) ? 1 : 0;
    EXPECT_EQ(n, 1);
}

TEST(BeamRepeat, DelaysAsATable)
{
    struct Case
    {
        GXBeamRepeat r;
        std::vector<DWORD> delays;   // the delay before each of the first repeats
    } cases[] = {
        {GXBeamRepeat(200, 20, 0, 20, 100), {200, 180, 160, 140, 120, 100, 100}},
        {GXBeamRepeat(400, 100, 301, 20, 100), {400, 300, 280, 260, 240, 220, 200}},
    };
    for (Case& c : cases) {
        DWORD now = 0xFFFFFF00u;   // across the tick count's wrap
        c.r.Start(now);
        for (DWORD d : c.delays) {
            EXPECT_EQ(c.r.Remaining(now), d);
            EXPECT_EQ(c.r.Remaining(now + d - 1), 1u);
            now += d;
            EXPECT_EQ(c.r.Remaining(now), 0u);
            c.r.Acted(now);
        }
    }
}

TEST_F(BeamTest, GeometryAndHitTestAsTables)
{
    // Tabs start after the buttons (32 + 1); each next tab starts a width and a gap on.
    const int xs[] = {33, 80, 137, 204};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(beam.GetTabX(i), xs[i]) << i;
    struct { int x, tab; } hits[] = {{10, -1}, {33, 0}, {79, 0}, {80, 1}, {203, 2}, {204, 3}, {247, 3}, {248, -1}};
    for (auto& h : hits)
        EXPECT_EQ(beam.HitTestTab(h.x), h.tab) << h.x;
    POINT pts[4];
    beam.GetTabPolygon(1, pts);
    const int h = GXGetSysData()->m_bNewShell ? 15 : 16;
    EXPECT_EQ(afxtest::Text(CRect(pts[0].x, pts[0].y, pts[1].x, pts[2].y)), afxtest::Text(CRect(80, 0, 144, h)));
    EXPECT_EQ(pts[3].x, 87);
    EXPECT_EQ(beam.GetLastVisibleTab(), 3);
    Width(150);
    EXPECT_EQ(beam.GetLastVisibleTab(), 1);
    EXPECT_EQ(beam.GetMaxFirstVisible(), 2);

    // The buttons: previous refused at the first tab, next until the last tab is inside.
    struct { int x, result, first; } presses[] = {
        {5, -1, 0}, {20, 2, 1}, {20, 2, 2}, {20, -1, 2}, {5, 1, 1}, {40, -1, 1},
    };
    for (auto& p : presses) {
        EXPECT_EQ(beam.HitTestButton(p.x, 5, -1), p.result) << p.x;
        EXPECT_EQ(beam.m_nFirstVisible, p.first) << p.x;
    }
    EXPECT_EQ(beam.HitTestButton(20, 5, 1), -1);   // not the expected button
    EXPECT_EQ(beam.GetTabX(0), 33 - 47);
    beam.ScrollToTab(3);
    EXPECT_EQ(beam.m_nFirstVisible, 2);
    beam.ScrollToTab(0);
    EXPECT_EQ(beam.m_nFirstVisible, 0);
    // A beam narrower than any tab: scrolling to a tab ends with it first, not in a loop.
    Width(50);
    EXPECT_EQ(beam.GetLastVisibleTab(), 0);
    beam.ScrollToTab(3);
    EXPECT_EQ(beam.m_nFirstVisible, 3);
}

TEST_F(BeamTest, DeleteTabKeepsTheCurrentTab)
{
    struct { int current, deleted, after; } cases[] = {{2, 1, 1}, {2, 2, 0}, {2, 3, 2}, {0, 0, 0}};
    for (auto& c : cases) {
        while (beam.GetTabCount() < 4)
            beam.InsertTab(FALSE, "t", nullptr, 0, 40, 0);
        beam.m_nCurrent = c.current;
        beam.DeleteTab(c.deleted);
        EXPECT_EQ(beam.m_nCurrent, c.after) << c.current << " " << c.deleted;
        EXPECT_EQ(beam.GetTabCount(), 3);
    }
    while (beam.GetTabCount() > 0)
        beam.DeleteTab(beam.GetTabCount() - 1);
    EXPECT_EQ(beam.m_nCurrent, -1);
    // With no tabs a click does nothing.
    beam.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));
    EXPECT_EQ(beam.m_nCurrent, -1);
}

TEST_F(BeamTest, ShiftAndCtrlSelectTabs)
{
    auto selected = [&] {
        std::string s;
        for (int i = 0; i < beam.GetTabCount(); ++i)
            s += beam.GetTab(i).bSel ? '1' : '0';
        return s;
    };
    auto press = [&](int tab, UINT keys) {
        const int x = beam.GetTabX(tab) + 20;
        beam.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, 5));
    };
    beam.m_nCurrent = 1;
    press(3, MK_SHIFT);
    EXPECT_EQ(selected(), "0111");
    for (int i = 0; i < 4; ++i)
        beam.GetTab(i).bSel = FALSE;
    beam.m_nCurrent = 2;
    press(0, MK_SHIFT);
    EXPECT_EQ(selected(), "1110");
    press(1, MK_CONTROL);
    EXPECT_EQ(selected(), "1010");
    press(3, MK_CONTROL);
    EXPECT_EQ(selected(), "1011");
    EXPECT_EQ(beam.m_nCurrent, 2);
    // A plain click on an unselected tab makes it current and clears the selection.
    for (int i = 0; i < 4; ++i)
        beam.GetTab(i).bSel = i == 3;
    press(1, 0);
    EXPECT_EQ(beam.m_nCurrent, 1);
    EXPECT_EQ(selected(), "0000");
}

TEST_F(BeamTest, HeldNextButtonRepeatsOnlyAsTimePassesAndStopsAtTheLastTab)
{
    Width(150);
    const LPARAM at = MAKELPARAM(20, 5);
    // A clock that stands still: the press acts once and nothing repeats.
    int calls = 0;
    AfxSeamSetTickCount([&] {
        if (++calls == 4)
            beam.PostMessage(WM_LBUTTONUP, 0, at);
        return DWORD(1000);
    });
    beam.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(beam.m_nFirstVisible, 1);
    EXPECT_FALSE(beam.m_bTrackingButton);
    // A clock that runs: repeats until the last tab is inside, then nothing more (the release comes
    // well after that, however often the loop reads the clock per repeat).
    beam.m_nFirstVisible = 0;
    calls = 0;
    DWORD now = 0;
    AfxSeamSetTickCount([&] {
        if (++calls == 40)
            beam.PostMessage(WM_LBUTTONUP, 0, at);
        return now += 250;
    });
    beam.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(beam.m_nFirstVisible, 2);
    EXPECT_EQ(::GetCapture(), (HWND) nullptr);
}

// ---------------------------------------------------------------------------
// The tab window with three grids

namespace {
class TabWndTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    CGXTabWnd tabs;
    CTabGrid grids[3];
    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "tabs", WS_POPUP | WS_VISIBLE, 20, 20, 500, 400,
                                   nullptr, nullptr));
        afxtest::Activate(&frame);
        ASSERT_TRUE(tabs.Create(&frame, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 1));
        tabs.MoveWindow(0, 0, 480, 360);
        const char* names[] = {"One", "Two", "Three"};
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(grids[i].Create("CGXGridWnd", nullptr, WS_CHILD, CRect(0, 0, 10, 10), &tabs, 0xE900 + i));
            grids[i].InitGrid();
            grids[i].SetRowCount(100);
            grids[i].SetColCount(5);
            tabs.AttachWnd(&grids[i], names[i]);
        }
        tabs.UpdateWindow();
        afxtest::PumpMessages();
        for (auto& g : grids)
            g.msgs.clear();
    }
    void TearDown() override
    {
        AfxSeamReset();
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    CPoint TabPoint(int nTab, bool bScreen)
    {
        CGXTabBeam* pBeam = tabs.GetBeam();
        CPoint pt(pBeam->GetTabX(nTab) + pBeam->m_nTabGap + pBeam->GetTab(nTab).nWidth / 2, pBeam->m_cyBeam / 2);
        if (bScreen)
            pBeam->ClientToScreen(&pt);
        return pt;
    }
    void Press(int nTab)
    {
        const CPoint pt = TabPoint(nTab, false);
        tabs.GetBeam()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        afxtest::PumpMessages();
    }
    int VertPos() { return static_cast<CScrollBar*>(tabs.GetDlgItem(0xEA10))->GetScrollPos(); }
};
} // namespace

TEST_F(TabWndTest, ThreeGridsTheFirstActive)
{
    EXPECT_EQ(tabs.GetActivePane(), &grids[0]);
    EXPECT_EQ(tabs.GetBeam()->GetTabCount(), 3);
    EXPECT_EQ(tabs.GetBeam()->m_nCurrent, 0);
    EXPECT_TRUE(grids[0].IsWindowVisible());
    EXPECT_FALSE(grids[1].IsWindowVisible());
    EXPECT_EQ(tabs.GetTabName(2), "Three");
    // The grids use the tab window's bars, and the beam and bars sit in the bottom strip.
    EXPECT_EQ(grids[0].GetScrollBarCtrl(SB_VERT), tabs.GetDlgItem(0xEA10));
    CRect inside, beam;
    tabs.GetInsideRect(inside);
    tabs.GetBeam()->GetWindowRect(&beam);
    tabs.ScreenToClient(&beam);
    EXPECT_EQ(beam.top, inside.bottom);
    EXPECT_EQ(beam.left, -1);
    CRect pane;
    grids[0].GetWindowRect(&pane);
    tabs.ScreenToClient(&pane);
    EXPECT_EQ(afxtest::Text(pane), afxtest::Text(CRect(0, 0, inside.Width(), inside.Height())));

    // Sizes of 0 or 32767 and more leave the layout alone.
    for (LPARAM size : {MAKELPARAM(0, 200), MAKELPARAM(200, 0), MAKELPARAM(32767, 200)}) {
        tabs.SendMessage(WM_SIZE, SIZE_RESTORED, size);
        CRect now;
        tabs.GetBeam()->GetWindowRect(&now);
        tabs.ScreenToClient(&now);
        EXPECT_EQ(afxtest::Text(now), afxtest::Text(beam));
    }
}

TEST_F(TabWndTest, TheSplitterAndResizingSetTheBeamsWidth)
{
    auto beamWidth = [&] {
        CRect rc;
        tabs.GetBeam()->GetWindowRect(&rc);
        return rc.Width() - 2;   // placed one pixel outside on each side
    };
    EXPECT_EQ(beamWidth(), 240);
    // Dragging the strip right of the beam moves the beam's edge and the bar with it.
    CRect client;
    tabs.GetClientRect(&client);
    const int y = client.bottom - 3;
    tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(243, y));
    tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, y));
    tabs.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, y));
    EXPECT_EQ(beamWidth(), 100);
    CRect bar;
    tabs.GetDlgItem(0xEA00)->GetWindowRect(&bar);
    tabs.ScreenToClient(&bar);
    EXPECT_EQ(bar.left, 100 + 6 - 1);
    // A press beside the strip starts nothing.
    tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 20));
    EXPECT_EQ(beamWidth(), 100);
    // The beam grows with the window above its fixed part (the buttons less 20 pixels).
    const int F = tabs.GetBeam()->GetTabsStart() - 20;
    tabs.MoveWindow(0, 0, 960, 360);
    EXPECT_EQ(beamWidth(), (100 - F) * 960 / 480 + F);
}

TEST_F(TabWndTest, ClickingTabsSwitchesAndKeepsEachGridsScrollPosition)
{
    const int posTop = VertPos();
    grids[0].SetTopRow(20);
    const int pos0 = VertPos();
    EXPECT_GT(pos0, posTop);
    ASSERT_TRUE(afxtest::InputScript().MoveTo(TabPoint(1, true)).Click().Run());
    afxtest::PumpMessages();
    EXPECT_EQ(tabs.GetActivePane(), &grids[1]);
    EXPECT_EQ(tabs.GetBeam()->m_nCurrent, 1);
    EXPECT_FALSE(grids[0].IsWindowVisible());
    EXPECT_TRUE(grids[1].IsWindowVisible());
    EXPECT_TRUE(grids[0].Has("792 0"));
    EXPECT_TRUE(grids[1].Has("792 1"));
    EXPECT_EQ(VertPos(), posTop);
    grids[1].SetTopRow(5);

    ASSERT_TRUE(afxtest::InputScript().MoveTo(TabPoint(0, true)).Click().Run());
    afxtest::PumpMessages();
    EXPECT_EQ(tabs.GetActivePane(), &grids[0]);
    EXPECT_EQ(grids[0].GetTopRow(), 20u);
    EXPECT_EQ(VertPos(), pos0);
    EXPECT_EQ(grids[1].GetTopRow(), 5u);
    // The tab window's bar drives the shown grid.
    tabs.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), (LPARAM)tabs.GetDlgItem(0xEA10)->GetSafeHwnd());
    EXPECT_EQ(grids[0].GetTopRow(), 21u);
    EXPECT_EQ(grids[1].GetTopRow(), 5u);
}

TEST_F(TabWndTest, AGridRefusingTheSwitchKeepsItsTab)
{
    struct { int leaving, coming; UINT mask; } cases[] = {{0, 1, 1}, {1, 2, 2}};
    for (auto& c : cases) {
        grids[c.leaving].nRefuseMask = c.mask == 1 ? 1 : 0;
        grids[c.coming].nRefuseMask = c.mask == 2 ? 2 : 0;
        Press(c.coming);
        EXPECT_EQ(tabs.GetActivePane(), &grids[0]);
        EXPECT_EQ(tabs.GetBeam()->m_nCurrent, 0);
        EXPECT_FALSE(grids[c.coming].IsWindowVisible());
        grids[c.leaving].nRefuseMask = grids[c.coming].nRefuseMask = 0;
    }
    // Switching in code asks the same way.
    grids[2].nRefuseMask = 2;
    tabs.ActivateTab(&grids[2]);
    EXPECT_EQ(tabs.GetActivePane(), &grids[0]);
    grids[2].nRefuseMask = 0;
    tabs.ActivateTab(&grids[2]);
    EXPECT_EQ(tabs.GetActivePane(), &grids[2]);
    EXPECT_EQ(tabs.GetBeam()->m_nCurrent, 2);
}

TEST_F(TabWndTest, DoubleClickEditsTheLabelWhenTheGridAllows)
{
    // Refused by the grid: no editor.
    grids[0].nOptionF = 0;
    ASSERT_TRUE(afxtest::DoubleClick(TabPoint(0, true)));
    afxtest::PumpMessages();
    EXPECT_TRUE(grids[0].Has("790"));
    EXPECT_EQ(tabs.GetLabelEditor(), nullptr);

    // Allowed: Enter commits; the tab and the grid's name show it.
    grids[0].nOptionF = 1;
    ASSERT_TRUE(afxtest::DoubleClick(TabPoint(0, true)));
    afxtest::PumpMessages();
    CGXEditLabelPopup* pEdit = tabs.GetLabelEditor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->GetDlgCtrlID(), 23001);
    EXPECT_EQ(::GetFocus(), pEdit->GetSafeHwnd());
    CString text;
    pEdit->GetWindowText(text);
    EXPECT_EQ(text, "One");
    pEdit->SetWindowText("Entities");
    pEdit->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(tabs.GetLabelEditor(), nullptr);
    EXPECT_EQ(tabs.GetTabName(0), "Entities");
    EXPECT_TRUE(grids[0].Has("791 0"));
    EXPECT_EQ(grids[0].GetParam()->m_strName, "Entities");
    CString name;
    EXPECT_TRUE(CGXTabWnd::TabName(&grids[0], name, FALSE));
    EXPECT_EQ(name, "Entities");

    // Escape and the loss of the focus discard the text.
    for (int how = 0; how < 2; ++how) {
        grids[0].msgs.clear();
        tabs.SendMessage(GXWM_TABEDITLABEL, 0, 0);
        pEdit = tabs.GetLabelEditor();
        ASSERT_NE(pEdit, nullptr);
        pEdit->SetWindowText("Discarded");
        if (how == 0)
            pEdit->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        else
            grids[0].SetFocus();
        EXPECT_EQ(tabs.GetLabelEditor(), nullptr) << how;
        EXPECT_EQ(tabs.GetTabName(0), "Entities") << how;
        EXPECT_FALSE(grids[0].Has("791 0")) << how;
    }
    // Done or cancelled with no editor open does nothing.
    tabs.SendMessage(GXWM_EDITLABELDONE, 0, 0);
    tabs.SendMessage(GXWM_EDITLABELCANCEL, 0, 0);
    EXPECT_EQ(tabs.GetTabName(0), "Entities");
    EXPECT_FALSE(grids[0].Has("791 0"));
    // An editor still open when the windows go takes nothing with it.
    tabs.SendMessage(GXWM_TABEDITLABEL, 0, 0);
    ASSERT_NE(tabs.GetLabelEditor(), nullptr);
    frame.DestroyWindow();
    EXPECT_EQ(tabs.GetSafeHwnd(), (HWND) nullptr);
}

TEST(TabWndDialog, MadeByADialogTemplateAndDeletedWithIt)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "dlg", WS_POPUP | WS_VISIBLE, 20, 20, 500, 400, nullptr,
                               nullptr));
    HWND hDlg = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDD_TABWND_TEST),
                                     frame.GetSafeHwnd(),
                                     [](HWND, UINT m, WPARAM, LPARAM) -> INT_PTR { return m == WM_INITDIALOG; }, 0);
    ASSERT_NE(hDlg, nullptr);
    auto* pTabs = dynamic_cast<CGXTabWnd*>(CWnd::FromHandlePermanent(::GetDlgItem(hDlg, IDC_TABWND)));
    ASSERT_NE(pTabs, nullptr);
    EXPECT_TRUE(CGXTabWnd::IsSelfDeleting(pTabs));
    pTabs->RecalcLayout();
    ASSERT_NE(pTabs->GetBeam(), nullptr);
    EXPECT_NE(pTabs->GetDlgItem(0xEA00), nullptr);
    EXPECT_NE(pTabs->GetDlgItem(0xEA10), nullptr);
    auto* pGrid = new CTabGrid;
    ASSERT_TRUE(pGrid->Create("CGXGridWnd", nullptr, WS_CHILD, CRect(0, 0, 10, 10), pTabs, 0xE900));
    pGrid->InitGrid();
    pTabs->AttachWnd(pGrid, "Only");
    EXPECT_EQ(pTabs->GetActivePane(), pGrid);
    EXPECT_TRUE(pGrid->IsWindowVisible());
    // A beam of its own in the template measures and draws its tabs.
    auto* pBeam = dynamic_cast<CGXTabBeam*>(CWnd::FromHandlePermanent(::GetDlgItem(hDlg, IDC_TABBEAM)));
    ASSERT_NE(pBeam, nullptr);
    pBeam->InsertTab(FALSE, "A much longer label", nullptr, 0, -1, 0);
    EXPECT_GT(pBeam->GetTab(0).nWidth, 60);
    EXPECT_EQ(pBeam->m_nCurrent, 0);
    pBeam->Invalidate();
    pBeam->UpdateWindow();
    ::DestroyWindow(hDlg);
    EXPECT_FALSE(CGXTabWnd::IsSelfDeleting(pTabs));
    delete pGrid;
    frame.DestroyWindow();
    afxtest::PumpMessages();
}
