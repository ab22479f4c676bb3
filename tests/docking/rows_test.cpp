// The arithmetic of docking bars and rows: remembered sizes, shares of a row, scaled children, and
// the active frame of the MDI frame.
#include "DockingFixture.h"
#include <algorithm>

using afxtest::Text;

namespace docktest {
namespace {

TEST(ControlBarSizes, CommittedLengthsGoToTheSizeOfThePlace)
{
    struct Case
    {
        int nLength;
        DWORD dwMode;
        float fPct;
        CSize horz, vert, floating;     // after the call
        CSize result;
        UINT nMRUWidth;
    } cases[] = {
        {200, LM_COMMIT | LM_STRETCH | LM_HORZDOCK | LM_HORZ, 0.5f, {100, 180}, {300, 180}, {300, 180}, {100, 180}, 32767},
        {80, LM_COMMIT | LM_HORZDOCK | LM_HORZ | LM_LENGTHY, 0.5f, {300, 80}, {300, 180}, {300, 180}, {300, 80}, 32767},
        {150, LM_COMMIT | LM_VERTDOCK, 1.0f, {300, 180}, {150, 180}, {300, 180}, {150, 180}, 32767},
        {400, LM_COMMIT | LM_STRETCH | LM_VERTDOCK | LM_LENGTHY, 0.25f, {300, 180}, {300, 100}, {300, 180}, {300, 100}, 32767},
        {250, LM_COMMIT | LM_HORZ | LM_MRUWIDTH, 1.0f, {300, 180}, {300, 180}, {250, 180}, {250, 180}, 250},
        {120, LM_COMMIT | LM_HORZ | LM_MRUWIDTH | LM_LENGTHY, 1.0f, {300, 180}, {300, 180}, {300, 120}, {300, 120}, 32767},
        {-1, LM_HORZ | LM_HORZDOCK, 1.0f, {300, 180}, {300, 180}, {300, 180}, {300, 180}, 32767},
    };
    for (const Case& c : cases) {
        SECControlBar bar;
        bar.m_szHorz = bar.m_szVert = bar.m_szFloat = CSize(300, 180);
        bar.m_fPctWidth = c.fPct;
        CSize result = bar.CalcDynamicLayout(c.nLength, c.dwMode);
        SCOPED_TRACE(c.dwMode);
        EXPECT_EQ(Text(bar.m_szHorz), Text(c.horz));
        EXPECT_EQ(Text(bar.m_szVert), Text(c.vert));
        EXPECT_EQ(Text(bar.m_szFloat), Text(c.floating));
        EXPECT_EQ(Text(result), Text(c.result));
        EXPECT_EQ(bar.m_nMRUWidth, c.nMRUWidth);
    }
}

class RowShares : public DockingFrame
{
protected:
    // Bars in the top row with the shares given; the sized one by index (-1: none).
    std::vector<float> Normalize(std::vector<float> shares, int nSized)
    {
        std::vector<SECControlBar*> bars;
        for (size_t i = 0; i < shares.size(); i++) {
            bars.push_back(AddBar(101 + (UINT)i));
            m_pFrame->DockControlBarEx(bars.back(), AFX_IDW_DOCKBAR_TOP, (int)i, 0, 1.0f, 60);
        }
        Layout();
        for (size_t i = 0; i < shares.size(); i++)
            bars[i]->m_fPctWidth = shares[i];
        SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
        pTop->NormalizeRow(1, nSized >= 0 ? bars[nSized] : nullptr);
        m_fMin = pTop->m_fMinPct;
        std::vector<float> result;
        for (SECControlBar* pBar : bars) {
            result.push_back(pBar->m_fPctWidth);
            pBar->DestroyWindow();
        }
        return result;
    }
    float m_fMin = 0.0f;
};

TEST_F(RowShares, RowsAreSharedOutAndASizedBarKeepsItsShare)
{
    struct Case
    {
        std::vector<float> shares;
        int nSized;
        std::vector<float> expected;    // -1: the minimum share
    } cases[] = {
        {{0.5f, 0.5f}, -1, {0.5f, 0.5f}},
        {{0.5f, 0.5f, 0.25f}, 2, {0.375f, 0.375f, 0.25f}},
        {{0.25f, 0.75f}, 0, {1.0f / 3, 2.0f / 3}},   // the others take the sized share as room made
        {{1.0f, 0.0f}, -1, {1.0f, -1}},
        {{2.0f, 2.0f}, -1, {0.5f, 0.5f}},
        {{0.96f, 0.04f}, 0, {0.96f, 0.04f}},          // a sized bar above 0.95 counts as not sized
        {{0.1f, 0.1f}, 0, {0.5f, 0.5f}},              // contracting: equal shares
        {{0.0f, 0.0f}, -1, {0.5f, 0.5f}},             // no shares at all: shared evenly
    };
    for (const Case& c : cases) {
        std::vector<float> result = Normalize(c.shares, c.nSized);
        ASSERT_EQ(result.size(), c.expected.size());
        for (size_t i = 0; i < result.size(); i++)
            EXPECT_NEAR(result[i], c.expected[i] < 0 ? m_fMin : c.expected[i], 1e-5) << "case " << c.shares[0] << " bar " << i;
    }
}

// A bar with a child window made while the bar has no size yet.
class CChildBar : public SECControlBar
{
public:
    CWnd m_child;
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (SECControlBar::OnCreate(lpcs) == -1)
            return -1;
        return m_child.Create(AfxRegisterWndClass(0), "child", WS_CHILD | WS_VISIBLE, CRect(20, 10, 60, 30), this, 1)
                   ? 0
                   : -1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CChildBar, SECControlBar)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(DockingFrame, ChildWindowsScaleWithTheBarAndAnAxisRecordedEmptyStays)
{
    auto* pBar = new CChildBar;
    pBar->m_bAutoDelete = TRUE;
    // Recorded at creation, when the bar has no size at all: nothing is scaled (nor divided by 0).
    ASSERT_TRUE(pBar->Create(m_pFrame, "children", WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC,
                             CBRS_EX_SCALECHILDREN, 101));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 200);
    Layout();
    EXPECT_EQ(Text(RectIn(&pBar->m_child, pBar)), Text(CRect(20, 10, 60, 30)));

    // Recorded again at a size, it scales with the bar.
    CRect rectClient;
    pBar->GetClientRect(&rectClient);
    pBar->ModifyExBarStyle(CBRS_EX_SCALECHILDREN, 0, FALSE);
    pBar->ModifyExBarStyle(0, CBRS_EX_SCALECHILDREN, FALSE);
    pBar->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rectClient.Width() * 2, rectClient.Height()));
    CRect rectChild = RectIn(&pBar->m_child, pBar);
    EXPECT_EQ(rectChild.left, 40);
    EXPECT_EQ(rectChild.right, 120);
    EXPECT_EQ(rectChild.top, 10);
}

TEST_F(DockingFrame, OnlyAFloatingBarThatIsAFrameIsTheActiveFrame)
{
    SECControlBar* pBar = AddBar(101);
    m_pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);
    Layout();
    m_pFrame->ActivateFloatingBar(pBar);
    EXPECT_EQ(m_pFrame->m_pActiveFloatingBar, pBar);
    EXPECT_EQ(m_pFrame->GetActiveFrame(), m_pFrame);
    pBar->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT);
    CFrameWnd* pChild = pBar->GetParentFrame();
    m_pFrame->ActivateFloatingBar(pChild);
    EXPECT_EQ(m_pFrame->GetActiveFrame(), pChild);
    m_pFrame->DeactivateFloatingBar(nullptr);
    EXPECT_EQ(m_pFrame->m_pActiveFloatingBar, nullptr);
}

TEST(DockingLibrary, RegisteredMessagesAndSplitterCursorsAreThere)
{
    SECRegisterMessages();
    EXPECT_EQ(wmSECBarNotify, ::RegisterWindowMessageA("WM_BARNOTIFY"));
    EXPECT_EQ(wmSECToolBarWndNotify, ::RegisterWindowMessageA("WM_SECTOOLBARWNDNOTIFY"));
    EXPECT_EQ(wmSECToolBarStyleChanging, ::RegisterWindowMessageA("WM_TOOLBARSTYLECHANGING"));
    EXPECT_EQ(wmSECNoDelayHide, ::RegisterWindowMessageA("WM_NODELAYHIDE"));
    // The program's own splitter cursors, not the system's.
    EXPECT_EQ(SECGetSysData().SplitCursor(TRUE), ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(AFX_IDC_HSPLITBAR)));
    EXPECT_EQ(SECGetSysData().SplitCursor(FALSE), ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(AFX_IDC_VSPLITBAR)));
}

} // namespace
} // namespace docktest

namespace docktest {
namespace {

TEST_F(DockingFrame, TheDragPreviewShowsTheBarsShareOfTheRowUnderTheCursor)
{
    SECControlBar* pA = AddBar(101);
    SECControlBar* pB = AddBar(102);
    SECControlBar* pC = AddBar(103);
    m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 80);
    m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 80);
    m_pFrame->DockControlBarEx(pC, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.25f, 150);
    Layout();
    // Alone in its row the left bar's share became the whole; give it a quarter again.
    pC->m_fPctWidth = 0.25f;
    int nThickness = std::max(80, (int)pC->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cy);
    SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    CRect rectTop = ScreenRect(pTop);
    // A 200 x 60 drag rectangle over the row, the cursor in its middle: a fifth of the row
    // (0.25 of 1.25), as thick as the thickest of the row and the bar, centred on the cursor.
    CRect rectDrag(rectTop.left + 100, rectTop.top + 10, rectTop.left + 300, rectTop.top + 70);
    CPoint ptCursor = rectDrag.CenterPoint();
    int nRow = -1;
    CRect rectPreview;
    CPoint ptPreview;
    CRect rect = pTop->GetDragPreviewRect(pC, rectDrag, ptCursor, nRow, rectPreview, ptPreview);
    EXPECT_EQ(nRow, 1);
    int nLength = rectTop.Width() / 5;
    EXPECT_NEAR(rect.Width(), nLength, 1);
    EXPECT_NEAR(rect.Height(), nThickness, 1);
    EXPECT_NEAR(rect.CenterPoint().x, ptCursor.x, 1);
    EXPECT_NEAR(rect.CenterPoint().y, ptCursor.y, 1);
    // The next call in the same row only follows the cursor.
    CRect rectMoved = pTop->GetDragPreviewRect(pC, rectDrag, CPoint(ptCursor.x + 30, ptCursor.y), nRow, rectPreview,
                                               ptPreview);
    rect.OffsetRect(30, 0);
    EXPECT_EQ(Text(rectMoved), Text(rect));
    // Over an empty dock bar the preview is the whole side.
    SECDockBar* pBottom = Side(AFX_IDW_DOCKBAR_BOTTOM);
    CRect rectBottom = ScreenRect(pBottom);
    CRect rectOver(rectBottom.left + 50, rectBottom.top - 30, rectBottom.left + 250, rectBottom.top + 30);
    nRow = -1;
    rect = pBottom->GetDragPreviewRect(pC, rectOver, rectOver.CenterPoint(), nRow, rectPreview, ptPreview);
    EXPECT_EQ(rect.left, rectBottom.left);
    EXPECT_EQ(rect.right, rectBottom.right);
}

// An MDI child for floating bars that answers one command.
class CRoutingChild : public SECControlBarMDIChildWnd
{
    DECLARE_DYNCREATE(CRoutingChild)
public:
    int m_nCommands = 0;
    void OnTestCommand() { ++m_nCommands; }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CRoutingChild, SECControlBarMDIChildWnd)

const UINT ID_TEST_ROUTE = 40501;

BEGIN_MESSAGE_MAP(CRoutingChild, SECControlBarMDIChildWnd)
    ON_COMMAND(ID_TEST_ROUTE, OnTestCommand)
END_MESSAGE_MAP()

TEST_F(DockingFrame, CommandsGoToTheActiveFloatingBarFirst)
{
    m_pFrame->m_pMDIFloatClass = RUNTIME_CLASS(CRoutingChild);
    SECControlBar* pBar = AddBar(101);
    m_pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);
    Layout();
    pBar->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT);
    auto* pChild = dynamic_cast<CRoutingChild*>(pBar->GetParentFrame());
    ASSERT_NE(pChild, nullptr);
    auto isEnabled = [&] {
        CTestCmdUI state;
        state.m_nID = ID_TEST_ROUTE;
        state.DoUpdate(m_pFrame, TRUE);
        return state.m_bEnabled;
    };
    // Not active: the frame does not know the command.
    m_pFrame->DeactivateFloatingBar(nullptr);
    m_pFrame->SendMessage(WM_COMMAND, ID_TEST_ROUTE);
    EXPECT_EQ(pChild->m_nCommands, 0);
    EXPECT_FALSE(isEnabled());
    m_pFrame->ActivateFloatingBar(pChild);
    EXPECT_EQ(m_pFrame->GetActiveFrame(), pChild);
    m_pFrame->SendMessage(WM_COMMAND, ID_TEST_ROUTE);
    EXPECT_EQ(pChild->m_nCommands, 1);
    EXPECT_TRUE(isEnabled());
    // Deactivated, the frame goes back to its active MDI child.
    m_pFrame->DeactivateFloatingBar(nullptr);
    EXPECT_EQ(m_pFrame->GetActiveFrame(), m_pFrame->MDIGetActive() ? (CFrameWnd*)m_pFrame->MDIGetActive()
                                                                    : (CFrameWnd*)m_pFrame);
}

TEST(SingleDocumentFrame, DocksFloatsAndKeepsItsLayout)
{
    afxtest::RegistryProfile profile;
    auto* pFrame = new SECFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "SDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(80, 60, 680, 500)));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    auto* pBar = new SECControlBar;
    pBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(pBar->Create(pFrame, "bar", WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC, dwBarExStyle, 101));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 90);
    pFrame->RecalcLayout();
    EXPECT_EQ(::GetDlgCtrlID(pBar->m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(DockingFrame::RectIn(pBar, pFrame).Height(), 90);
    pFrame->FloatControlBar(pBar, CPoint(200, 200));
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_TRUE(pBar->GetParentFrame()->IsKindOf(RUNTIME_CLASS(SECMiniDockFrameWnd)));
    pFrame->SaveBarState("SDI");
    pBar->m_pDockContext->ToggleDocking();
    pFrame->RecalcLayout();
    EXPECT_EQ(::GetDlgCtrlID(pBar->m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_BOTTOM);
    pFrame->LoadBarState("SDI");
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_FALSE(pFrame->EnableGradientCaption(TRUE, TRUE));
    pFrame->DestroyWindow();
    afxtest::PumpMessages();
}

TEST(MiniFrameTracker, TracksWithItsFeedbackOnTheDesktopAndEscapeRestores)
{
    afxtest::TrackingWnd<SECMiniFrameTracker> wnd(CRect(20, 20, 120, 80));
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_WINDOW + 1)), "tracker",
                             WS_POPUP | WS_VISIBLE, 200, 200, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(afxtest::Activate(&wnd));
    EXPECT_EQ(wnd.m_tracker.m_nStyle, (UINT)CRectTracker::resizeOutside);
    CPoint origin(0, 0);
    wnd.ClientToScreen(&origin);
    // The bottom-right handle, just outside the corner, dragged by (40, 20).
    ASSERT_TRUE(afxtest::Drag(CPoint(origin.x + 122, origin.y + 82), CPoint(origin.x + 162, origin.y + 102)));
    EXPECT_TRUE(wnd.m_bChanged);
    EXPECT_EQ(Text(wnd.m_tracker.m_rect), Text(CRect(20, 20, 160, 100)));
    afxtest::InputScript script;
    script.Pause(::GetDoubleClickTime() + 100).MoveTo(CPoint(origin.x + 70, origin.y + 50)).Down();
    script.MoveInSteps(CPoint(origin.x + 150, origin.y + 150), 3).Key(VK_ESCAPE).Up();
    ASSERT_TRUE(script.Run());
    EXPECT_FALSE(wnd.m_bChanged);
    EXPECT_EQ(Text(wnd.m_tracker.m_rect), Text(CRect(20, 20, 160, 100)));
    wnd.DestroyWindow();
}

} // namespace
} // namespace docktest
