// Docking bars in a docking main frame: the sides, shared rows and their splitters, dragging,
// floating and docking back, the gripper's buttons, the context menu and floating in the main
// window, all with real windows and synthesized input.
#include "DockingFixture.h"

using afxtest::Text;

namespace docktest {
namespace {

TEST_F(DockingFrame, BarsDockToEachSideAndTheMDIClientGetsTheRest)
{
    // Each side: its bar across the whole side, a 2-pixel line towards the frame's edge and a
    // 6-pixel splitter towards the client area (the far sides start one pixel further in).
    struct Case
    {
        UINT nSide;
        int nThickness;
        int nBarOffset;     // where the bar starts across its dock bar
    } cases[] = {
        {AFX_IDW_DOCKBAR_TOP, 100, 2},
        {AFX_IDW_DOCKBAR_BOTTOM, 90, 7},
        {AFX_IDW_DOCKBAR_LEFT, 150, 2},
        {AFX_IDW_DOCKBAR_RIGHT, 130, 7},
    };
    std::vector<SECControlBar*> bars;
    for (const Case& c : cases) {
        bars.push_back(AddBar(100 + (UINT)bars.size()));
        m_pFrame->DockControlBarEx(bars.back(), c.nSide, 0, 0, 1.0f, c.nThickness);
    }
    Layout();
    CRect rectFree = FrameClient();
    for (size_t i = 0; i < bars.size(); i++) {
        const Case& c = cases[i];
        SECDockBar* pSide = Side(c.nSide);
        SCOPED_TRACE(c.nSide);
        ASSERT_EQ(bars[i]->m_pDockBar, pSide);
        CRect rectSide = RectIn(pSide, m_pFrame);
        CRect rectClient;
        pSide->GetClientRect(&rectClient);
        CRect rectBar = RectIn(bars[i], pSide);
        BOOL bHorz = c.nSide == AFX_IDW_DOCKBAR_TOP || c.nSide == AFX_IDW_DOCKBAR_BOTTOM;
        // The bar lies across the whole length of its side.
        if (bHorz) {
            EXPECT_EQ(Text(rectBar), Text(CRect(0, c.nBarOffset, rectClient.right, c.nBarOffset + c.nThickness)));
            EXPECT_EQ(rectSide.Height(), c.nBarOffset + c.nThickness + (c.nBarOffset == 2 ? 6 : 2) + 2);
        }
        else {
            EXPECT_EQ(Text(rectBar), Text(CRect(c.nBarOffset, 0, c.nBarOffset + c.nThickness, rectClient.bottom)));
            EXPECT_EQ(rectSide.Width(), c.nBarOffset + c.nThickness + (c.nBarOffset == 2 ? 6 : 2) + 2);
        }
        EXPECT_EQ(bars[i]->GetBarStyle() & CBRS_ALIGN_ANY, pSide->m_dwStyle & CBRS_ALIGN_ANY);
        EXPECT_EQ(pSide->m_arrSplitters.GetSize(), 1);
        switch (c.nSide) {
        case AFX_IDW_DOCKBAR_TOP: rectFree.top = rectSide.bottom; break;
        case AFX_IDW_DOCKBAR_BOTTOM: rectFree.bottom = rectSide.top; break;
        case AFX_IDW_DOCKBAR_LEFT: rectFree.left = rectSide.right; break;
        case AFX_IDW_DOCKBAR_RIGHT: rectFree.right = rectSide.left; break;
        }
    }
    EXPECT_EQ(Text(MDIClientRect()), Text(rectFree));

    // The flat look leaves the border lines in the button face.
    SECControlBar* pLeftBar = bars[2];
    pLeftBar->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CRect rectBar = RectIn(pLeftBar, pLeftBar);
    HDC hDC = ::GetWindowDC(pLeftBar->m_hWnd);
    COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    for (CPoint pt : {CPoint(0, 40), CPoint(1, 40), CPoint(rectBar.Width() - 1, 40), CPoint(40, rectBar.Height() - 1)})
        EXPECT_EQ(::GetPixel(hDC, pt.x, pt.y), clrFace) << Text(pt);
    ::ReleaseDC(pLeftBar->m_hWnd, hDC);
}

} // namespace
} // namespace docktest

namespace docktest {
namespace {

// The lengths of the visible bars of a dock bar's first row.
std::vector<int> RowLengths(CDockBar* pDockBar)
{
    std::vector<int> lengths;
    for (int i = 1; i < pDockBar->m_arrBars.GetSize() && pDockBar->m_arrBars[i] != nullptr; i++) {
        CControlBar* pBar = pDockBar->GetDockedControlBar(i);
        if (pBar != nullptr && pBar->IsVisible()) {
            CRect rect;
            pBar->GetWindowRect(&rect);
            lengths.push_back((pDockBar->m_dwStyle & CBRS_ORIENT_HORZ) ? rect.Width() : rect.Height());
        }
    }
    return lengths;
}

SECDockBarSplitter* FindSplitter(SECDockBar* pDockBar, int nKind, int nIndex)
{
    for (int i = 0; i < pDockBar->m_arrSplitters.GetSize(); i++) {
        auto* pSplitter = static_cast<SECDockBarSplitter*>(pDockBar->m_arrSplitters[i]);
        if (pSplitter->m_nKind == nKind && pSplitter->m_nIndex == nIndex)
            return pSplitter;
    }
    return nullptr;
}

CPoint SplitterCentre(SECDockBar* pDockBar, SECDockBarSplitter* pSplitter)
{
    CPoint pt = pSplitter->m_rect.CenterPoint();
    pDockBar->ClientToScreen(&pt);
    return pt;
}

TEST_F(DockingFrame, BarsShareARowByTheirSharesAndSplittersResizeThem)
{
    // A top dock bar 406 pixels long: 400 pixels for two bars and 6 for the splitter between.
    CRect rect(0, 0, 406, 400);
    ::AdjustWindowRectEx(&rect, m_pFrame->GetStyle(), TRUE, m_pFrame->GetExStyle());
    m_pFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(FrameClient().Width(), 406);
    SECControlBar* pA = AddBar(101, "A");
    SECControlBar* pB = AddBar(102, "B");
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 80);
    m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 80);
    Layout();
    SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT>>{{101, 102}}));
    EXPECT_EQ(RowLengths(pTop), (std::vector<int>{200, 200}));
    EXPECT_EQ(Text(RectIn(pB, pTop)), Text(CRect(206, 2, 406, 82)));
    SECDockBarSplitter* pBetween = FindSplitter(pTop, SECDockBarSplitter::barSplitter, 1);
    ASSERT_NE(pBetween, nullptr);
    EXPECT_EQ(Text(pBetween->m_rect), Text(CRect(200, 2, 206, 82)));
    EXPECT_FALSE(pTop->IsBarAloneInRow(pA));

    // A third bar that comes into the row keeps its own share; the others make room.
    SECControlBar* pC = AddBar(103, "C");
    m_pFrame->DockControlBarEx(pC, AFX_IDW_DOCKBAR_TOP, 2, 0, 0.25f, 80);
    pTop->SetBarDocking(pC);
    Layout();
    EXPECT_FLOAT_EQ(pA->m_fPctWidth, 0.375f);
    EXPECT_FLOAT_EQ(pB->m_fPctWidth, 0.375f);
    EXPECT_FLOAT_EQ(pC->m_fPctWidth, 0.25f);

    // The splitter between the first two moved right by 40: the first grows, the second shrinks.
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    std::vector<int> before = RowLengths(pTop);
    pBetween = FindSplitter(pTop, SECDockBarSplitter::barSplitter, 1);
    ASSERT_NE(pBetween, nullptr);
    CPoint pt = SplitterCentre(pTop, pBetween);
    ASSERT_TRUE(afxtest::Drag(pt, CPoint(pt.x + 40, pt.y)));
    Layout();
    std::vector<int> after = RowLengths(pTop);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_NEAR(after[0], before[0] + 40, 1);
    EXPECT_NEAR(after[1], before[1] - 40, 1);
    EXPECT_NEAR(after[2], before[2], 1);

    // Dragged as far right as it goes, every bar after it keeps at least the minimum.
    SECDockBarSplitter* pLast = FindSplitter(pTop, SECDockBarSplitter::barSplitter, 2);
    ASSERT_NE(pLast, nullptr);
    pt = SplitterCentre(pTop, pLast);
    ASSERT_TRUE(afxtest::Drag(pt, CPoint(pt.x + 400, pt.y)));
    Layout();
    after = RowLengths(pTop);
    EXPECT_GE(after[2], (int)SECDockBar::nMinBarLength);

    // The row splitter, under the row, makes the row 40 pixels thicker.
    SECDockBarSplitter* pRow = FindSplitter(pTop, SECDockBarSplitter::rowSplitter, 1);
    ASSERT_NE(pRow, nullptr);
    pt = SplitterCentre(pTop, pRow);
    ASSERT_TRUE(afxtest::Drag(pt, CPoint(pt.x, pt.y + 40)));
    Layout();
    EXPECT_EQ(RectIn(pA, pTop).Height(), 120);
    EXPECT_EQ(RectIn(pC, pTop).Height(), 120);
    // Dragged past the bottom, it leaves the frame's client area its minimum.
    pRow = FindSplitter(pTop, SECDockBarSplitter::rowSplitter, 1);
    pt = SplitterCentre(pTop, pRow);
    ASSERT_TRUE(afxtest::Drag(pt, CPoint(pt.x, pt.y + 1000)));
    Layout();
    EXPECT_GE(MDIClientRect().Height(), (int)SECDockBar::nMinRow);
}

TEST_F(DockingFrame, TheGrippersButtonsExpandContractAndHide)
{
    SECControlBar* pA = AddBar(101, "A");
    SECControlBar* pB = AddBar(102, "B");
    SECControlBar* pC = AddBar(103, "C");
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.5f, 150);
    m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_LEFT, 1, 0, 0.5f, 150);
    m_pFrame->DockControlBarEx(pC, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 60);
    Layout();
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    SECDockBar* pLeft = Side(AFX_IDW_DOCKBAR_LEFT);
    // A gripper of 17 pixels with 11-pixel square buttons: along the top of a bar at a side,
    // along the left of a bar across the top.
    CRect rectHide = ButtonRect(pA, TRUE);
    EXPECT_EQ(Text(rectHide.Size()), Text(CSize(11, 11)));
    EXPECT_EQ(Text(ButtonRect(pA, FALSE).Size()), Text(CSize(11, 11)));
    CRect rectInside;
    pC->GetClientRect(&rectInside);
    CRect rectClient = rectInside;
    pC->CalcInsideRect(rectInside, TRUE);
    EXPECT_EQ(rectInside.left - rectClient.left, 17);

    // Expanding gives the bar nearly the whole row, contracting shares it out again.
    afxtest::InputScript script;
    script.MoveTo(ButtonRect(pA, FALSE).CenterPoint()).Click();
    ASSERT_TRUE(script.Run());
    Layout();
    EXPECT_TRUE(pLeft->IsBarExpanded(pA));
    EXPECT_FLOAT_EQ(pB->m_fPctWidth, pLeft->m_fMinPct);
    std::vector<int> lengths = RowLengths(pLeft);
    EXPECT_GT(lengths[0], 5 * lengths[1]);
    EXPECT_FALSE(pA->m_bCanExpand);
    // (After a pause: a second click at once would be a double click, which the buttons ignore.)
    script.Pause(::GetDoubleClickTime() + 100).MoveTo(ButtonRect(pA, FALSE).CenterPoint()).Click();
    ASSERT_TRUE(script.Run());
    Layout();
    EXPECT_FLOAT_EQ(pA->m_fPctWidth, 0.5f);
    EXPECT_FLOAT_EQ(pB->m_fPctWidth, 0.5f);

    // A bar alone in its row has no expand button to press.
    CRect rectExpandC = ButtonRect(pC, FALSE);
    EXPECT_FALSE(pC->m_bExpandEnabled);
    script.MoveTo(rectExpandC.CenterPoint()).Click();
    ASSERT_TRUE(script.Run());
    Layout();
    EXPECT_FLOAT_EQ(pC->m_fPctWidth, 1.0f);

    // The hide button hides the bar; the other takes the whole row.
    script.MoveTo(ButtonRect(pB, TRUE).CenterPoint()).Click();
    ASSERT_TRUE(script.Run());
    Layout();
    EXPECT_FALSE(pB->IsWindowVisible());
    EXPECT_EQ(RowLengths(pLeft).size(), 1u);
    CRect rectLeftClient;
    pLeft->GetClientRect(&rectLeftClient);
    EXPECT_EQ(RectIn(pA, pLeft).Height(), rectLeftClient.Height());
    // Its tool tip names the button.
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    CPoint ptHide = pA->m_rectClose.CenterPoint();
    ASSERT_EQ(pA->OnToolHitTest(ptHide, &ti), (INT_PTR)SECControlBar::idHideButton);
    EXPECT_STREQ(ti.lpszText, "Hide docked window");
    free(ti.lpszText);
}

} // namespace
} // namespace docktest

namespace docktest {
namespace {

// A point of a docked bar's gripper below (or beside) its buttons.
CPoint GripperPoint(SECControlBar* pBar)
{
    pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CRect rect;
    pBar->GetClientRect(&rect);
    CPoint pt = pBar->m_bGripperHorz ? CPoint(rect.left + 8, rect.bottom - 8) : CPoint(rect.right - 8, rect.top + 8);
    pBar->ClientToScreen(&pt);
    return pt;
}

TEST_F(DockingFrame, DraggingFloatsABarAndADoubleClickDocksItBackWithItsShare)
{
    SECControlBar* pA = AddBar(101, "A");
    SECControlBar* pB = AddBar(102, "B");
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 80);
    m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 80);
    Layout();
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    std::vector<int> lengths = RowLengths(pTop);

    // Dragged by its gripper into the middle of the frame: floating, in a frame sized from its
    // corners too; the row's other bar takes the whole row.
    CRect rectMDI = MDIClientRect();
    m_pFrame->ClientToScreen(&rectMDI);
    m_pFrame->m_prompts.clear();
    ASSERT_TRUE(afxtest::Drag(GripperPoint(pA), rectMDI.CenterPoint()));
    Layout();
    ASSERT_TRUE(pA->IsFloating());
    CFrameWnd* pMini = pA->GetParentFrame();
    ASSERT_TRUE(pMini->IsKindOf(RUNTIME_CLASS(SECMiniDockFrameWnd)));
    EXPECT_TRUE(pMini->GetStyle() & MFS_THICKFRAME);
    EXPECT_FALSE(pMini->GetStyle() & MFS_4THICKFRAME);
    CString strTitle;
    pMini->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "A");
    EXPECT_EQ(RowLengths(pTop).size(), 1u);
    // The drag showed its prompt and gave the idle prompt back.
    ASSERT_GE(m_pFrame->m_prompts.size(), 2u);
    EXPECT_EQ(m_pFrame->m_prompts.front(), (UINT)IDS_SEC_DRAGPROMPT);
    EXPECT_EQ(m_pFrame->m_prompts.back(), (UINT)AFX_IDS_IDLEMESSAGE);

    // A click on its caption released within a few pixels never docks it, even over a dock bar.
    CRect rectTop = ScreenRect(pTop);
    pMini->SetWindowPos(nullptr, rectTop.left + 200, rectTop.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CPoint ptCaption;
    ASSERT_TRUE(CaptionPoint(pMini, ptCaption));
    CRect rectMini = ScreenRect(pMini);
    afxtest::InputScript script;
    script.MoveTo(ptCaption).Down().MoveTo(CPoint(ptCaption.x + 2, ptCaption.y + 1)).Up();
    ASSERT_TRUE(script.Run());
    Layout();
    ASSERT_TRUE(pA->IsFloating());
    rectMini.OffsetRect(2, 1);
    EXPECT_EQ(Text(ScreenRect(pA->GetParentFrame())), Text(rectMini));

    // A double click on the caption docks it back where it was, with the share it had.
    pMini = pA->GetParentFrame();
    ASSERT_TRUE(CaptionPoint(pMini, ptCaption));
    ASSERT_TRUE(script.Pause(::GetDoubleClickTime() + 100).MoveTo(ptCaption).DoubleClick().Run(10));
    Layout();
    ASSERT_FALSE(pA->IsFloating());
    EXPECT_EQ(pA->m_pDockBar, pTop);
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT>>{{101, 102}}));
    EXPECT_FLOAT_EQ(pA->m_fPctWidth, 0.5f);
    EXPECT_EQ(RowLengths(pTop), lengths);

    // Escape in the middle of a drag leaves everything as it was.
    m_pFrame->m_prompts.clear();
    CRect rectA = ScreenRect(pA);
    script.MoveTo(GripperPoint(pA)).Down().MoveInSteps(rectMDI.CenterPoint(), 4).Key(VK_ESCAPE).Up();
    ASSERT_TRUE(script.Run());
    Layout();
    EXPECT_FALSE(pA->IsFloating());
    EXPECT_EQ(Text(ScreenRect(pA)), Text(rectA));
    ASSERT_FALSE(m_pFrame->m_prompts.empty());
    EXPECT_EQ(m_pFrame->m_prompts.back(), (UINT)AFX_IDS_IDLEMESSAGE);
}

TEST_F(DockingFrame, AFloatingBarResizedFromItsTopLeftCornerKeepsItsBottomRight)
{
    SECControlBar* pA = AddBar(101, "A");
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);
    Layout();
    m_pFrame->FloatControlBar(pA, CPoint(300, 250));
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    CFrameWnd* pMini = pA->GetParentFrame();
    CRect rectBefore = ScreenRect(pMini);
    CSize sizeBefore = pA->m_szFloat;
    CPoint ptCorner(rectBefore.left + 1, rectBefore.top + 1);
    ASSERT_EQ(pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptCorner.x, ptCorner.y)), HTTOPLEFT);
    ASSERT_TRUE(afxtest::Drag(ptCorner, CPoint(ptCorner.x - 40, ptCorner.y - 30)));
    pMini = pA->GetParentFrame();
    CRect rectAfter = ScreenRect(pMini);
    EXPECT_EQ(Text(rectAfter.BottomRight()), Text(rectBefore.BottomRight()));
    EXPECT_EQ(Text(rectAfter.Size()), Text(CSize(rectBefore.Width() + 40, rectBefore.Height() + 30)));
    EXPECT_EQ(Text(pA->m_szFloat), Text(CSize(sizeBefore.cx + 40, sizeBefore.cy + 30)));
}

TEST_F(DockingFrame, TheContextMenuTogglesDockingAndHides)
{
    SECControlBar* pA = AddBar(101, "A");
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 130);
    Layout();
    std::vector<std::vector<AfxModalMenuItem>> menus;
    std::vector<CPoint> points;
    auto choose = [&](UINT nID) {
        AfxSeamScript([&, nID](AfxModalCall& call) {
            menus.push_back(call.menuItems);
            points.push_back(call.pt);
            return (INT_PTR)nID;
        });
    };
    CRect rectA = ScreenRect(pA);

    // "Allow Docking" off floats the bar and keeps it from docking; on gives its sides back.
    choose(ID_SEC_ALLOWDOCKING);
    pA->SendMessage(WM_CONTEXTMENU, (WPARAM)pA->m_hWnd, MAKELPARAM(rectA.left + 20, rectA.top + 40));
    afxtest::PumpMessages();
    ASSERT_EQ(menus.size(), 1u);
    ASSERT_EQ(menus[0].size(), 4u);
    EXPECT_STREQ(menus[0][0].strText, "&Allow Docking");
    EXPECT_TRUE(menus[0][0].nState & MF_CHECKED);
    EXPECT_STREQ(menus[0][1].strText, "&Hide");
    EXPECT_EQ(menus[0][2].nID, 0u);
    EXPECT_STREQ(menus[0][3].strText, "&Float In Main Window");
    EXPECT_FALSE(menus[0][3].nState & MF_CHECKED);
    EXPECT_EQ(Text(points[0]), Text(CPoint(rectA.left + 20, rectA.top + 40)));
    EXPECT_TRUE(pA->IsFloating());
    EXPECT_EQ(pA->m_dwDockStyle & CBRS_ALIGN_ANY, 0u);
    pA->m_pDockContext->ToggleDocking();
    EXPECT_TRUE(pA->IsFloating());

    // From the keyboard the menu opens at the bar's corner.
    choose(ID_SEC_ALLOWDOCKING);
    pA->SendMessage(WM_CONTEXTMENU, (WPARAM)pA->m_hWnd, MAKELPARAM(-1, -1));
    afxtest::PumpMessages();
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_FALSE(menus[1][0].nState & MF_CHECKED);
    EXPECT_EQ(Text(points[1]), Text(ScreenRect(pA).TopLeft()));
    EXPECT_EQ(pA->m_dwDockStyle & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_ANY);
    pA->m_pDockContext->ToggleDocking();
    EXPECT_EQ(pA->m_pDockBar, Side(AFX_IDW_DOCKBAR_RIGHT));

    // "Hide".
    choose(ID_SEC_HIDE);
    pA->SendMessage(WM_CONTEXTMENU, (WPARAM)pA->m_hWnd, MAKELPARAM(rectA.left + 20, rectA.top + 40));
    afxtest::PumpMessages();
    EXPECT_FALSE(pA->IsWindowVisible());
}

TEST_F(DockingFrame, BarsFloatInTheMainWindowAtCascadePlacesAndComeBack)
{
    SECControlBar* pBars[3];
    for (int i = 0; i < 3; i++) {
        pBars[i] = AddBar(101 + i, "Bar");
        m_pFrame->DockControlBarEx(pBars[i], AFX_IDW_DOCKBAR_LEFT, i, 0, 0.3f, 150);
    }
    Layout();
    const CPoint places[] = {CPoint(30, 30), CPoint(50, 53), CPoint(70, 76)};
    for (int i = 0; i < 3; i++) {
        pBars[i]->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT);
        afxtest::PumpMessages();
        ASSERT_TRUE(pBars[i]->IsMDIChild());
        CWnd* pChild = pBars[i]->GetParentFrame();
        ASSERT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(SECControlBarMDIChildWnd)));
        EXPECT_TRUE(pChild->IsWindowVisible());
        CRect rect;
        pChild->GetWindowRect(&rect);
        ::ScreenToClient(m_pFrame->m_hWndMDIClient, (LPPOINT)&rect);
        EXPECT_EQ(Text(rect.TopLeft()), Text(places[i]));
    }
    // Its context menu: "Allow Docking" greyed, "Float In Main Window" checked.
    std::vector<AfxModalMenuItem> items;
    AfxSeamScript([&](AfxModalCall& call) {
        items = call.menuItems;
        return (INT_PTR)0;
    });
    pBars[0]->SendMessage(WM_CONTEXTMENU, (WPARAM)pBars[0]->m_hWnd, MAKELPARAM(-1, -1));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_TRUE(items[0].nState & MF_GRAYED);
    EXPECT_TRUE(items[3].nState & MF_CHECKED);

    // Closing the MDI child hides its bar and keeps the child.
    CFrameWnd* pChild = pBars[1]->GetParentFrame();
    pChild->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(pChild->m_hWnd));
    EXPECT_FALSE(pBars[1]->IsWindowVisible());

    // Taken back, a bar goes to its docked place again.
    HWND hWndChild = pBars[0]->GetParentFrame()->m_hWnd;
    pBars[0]->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT);
    afxtest::PumpMessages();
    Layout();
    EXPECT_FALSE(::IsWindow(hWndChild));
    EXPECT_EQ(pBars[0]->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(pBars[0]->IsMDIChild());
}

// Docking at a row past the last appends empty rows up to it: sparse row numbers keep their order.
TEST_F(DockingFrame, SparseRowNumbersKeepTheirOrder)
{
    SECControlBar* pA = AddBar(101, "A");
    SECControlBar* pB = AddBar(102, "B");
    SECControlBar* pC = AddBar(103, "C");
    SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    pTop->DockControlBarAt(pA, 0, 2);
    pTop->DockControlBarAt(pB, 0, 1);
    pTop->DockControlBarAt(pC, 0, 4);
    Layout();
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT>>{{102}, {101}, {103}}));
}

// A dock context that shows its feedback rectangle.
class CPreviewContext : public SECDockContext
{
public:
    explicit CPreviewContext(CControlBar* pBar) : SECDockContext(pBar) {}
    using SECDockContext::DockFeedbackRect;
};

// The remembered preview row belongs to its dock bar: the same row index on another dock bar
// gets a preview of its own, not the first one moved.
TEST_F(DockingFrame, ThePreviewRowBelongsToItsDockBar)
{
    SECControlBar* pA = AddBar(101, "A");
    SECControlBar* pB = AddBar(102, "B");
    SECControlBar* pC = AddBar(103, "C");
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 80);
    m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.5f, 80);
    m_pFrame->DockControlBarEx(pC, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.5f, 150);
    Layout();
    SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    SECDockBar* pBottom = Side(AFX_IDW_DOCKBAR_BOTTOM);
    // Alone in their rows the shares became the whole; the bottom bar's is made smaller, so that
    // a preview there is longer than at the top.
    pB->m_fPctWidth = 0.25f;
    CPreviewContext context(pC);
    auto preview = [&](SECDockBar* pDockBar) {
        CRect rectSide = ScreenRect(pDockBar);
        CRect rectDrag(rectSide.left + 100, rectSide.top + 10, rectSide.left + 300, rectSide.top + 70);
        context.m_rectDragHorz = rectDrag;
        context.m_ptLast = rectDrag.CenterPoint();
        return context.DockFeedbackRect(pDockBar, FALSE);
    };
    CRect rectTop = preview(pTop);
    EXPECT_EQ(context.m_nPreviewRow, 1);
    CRect rectBottom = preview(pBottom);
    EXPECT_EQ(context.m_nPreviewRow, 1);
    int nRow = -1;
    CRect rectPreview;
    CPoint ptPreview;
    CRect rectDrag = context.m_rectDragHorz;
    CRect rectFresh = pBottom->GetDragPreviewRect(pC, rectDrag, rectDrag.CenterPoint(), nRow, rectPreview, ptPreview);
    EXPECT_EQ(Text(rectBottom), Text(rectFresh));
    EXPECT_GT(rectBottom.Width(), rectTop.Width());
}

// A window that takes the mouse capture away when it gets WM_APP, as another program would.
class CCaptureThief : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP)
            SetCapture();
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Losing the capture while a row splitter is dragged cancels the drag: the sizes stay.
TEST_F(DockingFrame, LosingTheCaptureCancelsASplitterDrag)
{
    SECControlBar* pA = AddBar(101, "A");
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 80);
    Layout();
    SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    SECDockBarSplitter* pRow = FindSplitter(pTop, SECDockBarSplitter::rowSplitter, 1);
    ASSERT_NE(pRow, nullptr);
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    int nHeight = RectIn(pA, pTop).Height();
    CCaptureThief thief;
    ASSERT_TRUE(thief.CreateEx(0, AfxRegisterWndClass(0), "thief", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CPoint pt = SplitterCentre(pTop, pRow);
    CPoint ptClient = pRow->m_rect.CenterPoint();
    ::SetCursorPos(pt.x, pt.y + 30);
    pTop->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y + 30));
    thief.PostMessage(WM_APP);
    pTop->CalcSplitterLimits(pRow);
    EXPECT_EQ(pTop->TrackSplitter(pRow, ptClient), 0);
    ::ReleaseCapture();
    Layout();
    EXPECT_EQ(RectIn(pA, pTop).Height(), nHeight);
    thief.DestroyWindow();
}

// Toolbar-like bars (extended style 4) in the library's dock bars pack side by side in their row at
// their own lengths, and a bar that no longer fits starts a row of its own.
TEST_F(DockingFrame, ToolbarLikeBarsPackInRowsAndWrap)
{
    std::vector<SECControlBar*> bars;
    for (UINT nID : {101u, 102u, 103u}) {
        SECControlBar* pBar = AddBar(nID, "T", dwBarExStyle | CBRS_EX_TOOLBARSIZE);
        m_pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_TOP, (int)(nID - 101), 0, 0.3f, 40);
        bars.push_back(pBar);
    }
    Layout();
    SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(Rows(pTop), (std::vector<std::vector<UINT>>{{101, 102, 103}}));
    CRect r[3];
    for (int i = 0; i < 3; i++)
        r[i] = RectIn(bars[i], pTop);
    EXPECT_EQ(r[0].top, r[1].top);
    EXPECT_EQ(r[1].top, r[2].top);
    EXPECT_LT(r[0].left, r[1].left);
    EXPECT_LT(r[1].left, r[2].left);
    EXPECT_LE(r[0].right, r[1].left + 2) << "packed, not overlapping by more than their edges";
    EXPECT_LE(r[1].right, r[2].left + 2);
    for (int i = 0; i < 3; i++) // their own lengths, not shares of the row
        EXPECT_EQ(r[i].Width(), bars[i]->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cx);

    // Narrowed so that the third has no room left to start in: it wraps to a row of its own below.
    CRect rectWindow;
    m_pFrame->GetWindowRect(&rectWindow);
    int nNarrower = FrameClient().Width() - (r[1].right - 10);
    m_pFrame->SetWindowPos(nullptr, 0, 0, rectWindow.Width() - nNarrower, rectWindow.Height(),
                           SWP_NOMOVE | SWP_NOZORDER);
    Layout();
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT>>{{101, 102}, {103}}));
    CRect rectWrapped = RectIn(bars[2], pTop);
    EXPECT_GE(rectWrapped.top, r[0].bottom - 2);
    EXPECT_LE(rectWrapped.left, 0) << "at the start of its row";
    EXPECT_EQ(Text(RectIn(bars[0], pTop)), Text(r[0]));
}

} // namespace
} // namespace docktest
