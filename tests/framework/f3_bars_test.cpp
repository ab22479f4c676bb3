// Control bars in a docking frame: the bar layout, rows of dock bars, floating frames, delayed
// showing, drags by synthesized input, idle updates and tool tips.
#include "afxtest.h"
#include "afxwndtest.h"
#include <vector>

namespace {

const UINT ID_F3_TOOL = 40301;

// A bar of a fixed size (its height across a horizontal dock bar).
class CFixedBar : public CControlBar
{
public:
    explicit CFixedBar(CSize size) : m_size(size) { m_bAutoDelete = TRUE; }
    BOOL Create(CWnd* pParent, UINT nID, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP)
    {
        m_dwStyle = dwStyle & CBRS_ALL;
        return CWnd::Create(nullptr, "bar", dwStyle & ~(DWORD)0xFFFF, CRect(0, 0, 0, 0), pParent, nID);
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? m_size : CSize(m_size.cy, m_size.cx); }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) override
    {
        ++m_nUpdates;
        m_pLastTarget = pTarget;
    }
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override
    {
        // With tool tips, the left 20 pixels are a tool with the command's own tip.
        if (!(m_dwStyle & CBRS_TOOLTIPS) || point.x < 0 || point.x >= 20)
            return -1;
        if (pTI != nullptr) {
            pTI->hwnd = m_hWnd;
            pTI->uId = ID_F3_TOOL;
            pTI->rect = CRect(0, 0, 20, m_size.cy);
            pTI->lpszText = LPSTR_TEXTCALLBACKA;
        }
        return ID_F3_TOOL;
    }

    CSize m_size;
    int m_nUpdates = 0;
    CFrameWnd* m_pLastTarget = nullptr;
};

// A frame that records the prompts the bars send it.
class CPromptFrame : public CFrameWnd
{
public:
    std::vector<UINT> m_prompts;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING)
            m_prompts.push_back((UINT)wParam);
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

CRect ClientRectIn(CWnd* pWnd, CWnd* pParent)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    return rect;
}

// A point of a frame's caption that is not one of its buttons.
bool CaptionPoint(CWnd* pFrame, CPoint& pt)
{
    CRect rect;
    pFrame->GetWindowRect(&rect);
    int y = rect.top + ::GetSystemMetrics(SM_CYSIZEFRAME) + ::GetSystemMetrics(SM_CYSMCAPTION) / 2;
    for (int x = rect.left; x < rect.right; x++) {
        if (pFrame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCAPTION) {
            pt = CPoint(x + 2, y);
            return pFrame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTCAPTION;
        }
    }
    return false;
}

CRect ScreenRect(CWnd* pWnd)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return rect;
}

// The rows of a dock bar as lists of bars (placeholders shown as their ids).
std::vector<std::vector<UINT_PTR>> Rows(CDockBar* pDockBar)
{
    std::vector<std::vector<UINT_PTR>> rows;
    std::vector<UINT_PTR> row;
    for (int i = 1; i < pDockBar->m_arrBars.GetSize(); i++) {
        void* p = pDockBar->m_arrBars[i];
        if (p == nullptr) {
            rows.push_back(row);
            row.clear();
        }
        else if (AfxIsDockPlaceholder(p))
            row.push_back(AfxDockPlaceholderID(p));
        else
            row.push_back((UINT_PTR)::GetDlgCtrlID(static_cast<CControlBar*>(p)->m_hWnd));
    }
    EXPECT_TRUE(row.empty()) << "the list ends with a row end";
    return rows;
}

class DockingFrame : public testing::Test
{
protected:
    void SetUp() override { MakeFrame(); }
    void MakeFrame()
    {
        m_pFrame = new CPromptFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW, CRect(100, 100, 100 + 620, 100 + 460)));
        m_pPane = new CWnd;
        ASSERT_TRUE(m_pPane->Create(AfxRegisterWndClass(0), "pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), m_pFrame,
                                    AFX_IDW_PANE_FIRST));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->ShowWindow(SW_SHOW);
        afxtest::PumpMessages();
    }
    void TearDown() override { DestroyFrame(); }
    void DestroyFrame()
    {
        if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();
        m_pFrame = nullptr;
        delete m_pPane;
        m_pPane = nullptr;
        afxtest::PumpMessages();
    }
    CFixedBar* AddBar(UINT nID, CSize size = CSize(100, 26), DWORD dwDock = CBRS_ALIGN_ANY)
    {
        auto* pBar = new CFixedBar(size);
        EXPECT_TRUE(pBar->Create(m_pFrame, nID));
        pBar->EnableDocking(dwDock);
        return pBar;
    }
    CDockBar* Side(UINT nID) { return dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(nID)); }
    CRect Client()
    {
        CRect rect;
        m_pFrame->GetClientRect(&rect);
        return rect;
    }

    CPromptFrame* m_pFrame = nullptr;
    CWnd* m_pPane = nullptr;
};

TEST_F(DockingFrame, BarsPackIntoRowsAndThePaneGetsTheRest)
{
    CFixedBar* pA = AddBar(101);
    CFixedBar* pB = AddBar(102);
    CFixedBar* pC = AddBar(103, CSize(80, 30));
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    // Dropped right of the first bar: the same row.
    CRect rectA = ScreenRect(pA);
    CRect rectDrop(rectA.right + 10, rectA.top, rectA.right + 110, rectA.top + 26);
    m_pFrame->DockControlBar(pB, AFX_IDW_DOCKBAR_TOP, &rectDrop);
    m_pFrame->DockControlBar(pC, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();

    CDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    CDockBar* pLeft = Side(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT_PTR>>{{101, 102}}));
    EXPECT_EQ(Rows(pLeft), (std::vector<std::vector<UINT_PTR>>{{103}}));

    // The first bar starts over the dock bar's edge; the second stays where it was dropped (a
    // bar dropped onto the first would start where the first ends less the border width). The
    // row is one bar thick plus the dock bar's border line.
    CRect client = Client();
    EXPECT_EQ(afxtest::Text(ClientRectIn(pTop, m_pFrame)), afxtest::Text(CRect(0, 0, client.right, 24)));
    EXPECT_EQ(afxtest::Text(ClientRectIn(pA, pTop)), afxtest::Text(CRect(-2, -2, 98, 24)));
    EXPECT_EQ(afxtest::Text(ClientRectIn(pB, pTop)), afxtest::Text(CRect(108, -2, 208, 24)));
    // A left bar turns: 30 wide, 80 tall; its dock bar keeps the border line on its right.
    EXPECT_EQ(afxtest::Text(ClientRectIn(pLeft, m_pFrame)), afxtest::Text(CRect(0, 24, 28, client.bottom)));
    EXPECT_EQ(afxtest::Text(ClientRectIn(pC, pLeft)), afxtest::Text(CRect(-2, -2, 28, 78)));
    EXPECT_EQ(afxtest::Text(ClientRectIn(m_pPane, m_pFrame)), afxtest::Text(CRect(28, 24, client.right, client.bottom)));
    EXPECT_EQ(pA->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY), (DWORD)(CBRS_ALIGN_TOP | CBRS_BORDER_ANY));
    EXPECT_EQ(pC->GetBarStyle() & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_LEFT);
    EXPECT_EQ(pTop->GetDockedCount(), 2);

    // Asking for the free area moves nothing.
    CRect rectFree;
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rectFree);
    EXPECT_EQ(afxtest::Text(rectFree), afxtest::Text(CRect(28, 24, client.right, client.bottom)));
}

TEST_F(DockingFrame, ABarThatNoLongerFitsWrapsIntoANewRow)
{
    m_pFrame->SetWindowPos(nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER);
    int cx = Client().Width();
    ASSERT_LT(cx, 300);
    CFixedBar* pBars[4];
    CRect rectDrop;
    for (int i = 0; i < 4; i++) {
        pBars[i] = AddBar(101 + i);
        // Each dropped at the end of the first row.
        CRect rectTop = ScreenRect(Side(AFX_IDW_DOCKBAR_TOP));
        rectDrop.SetRect(rectTop.left + 98 * i, rectTop.top, rectTop.left + 98 * i + 100, rectTop.top + 26);
        m_pFrame->DockControlBar(pBars[i], AFX_IDW_DOCKBAR_TOP, i == 0 ? nullptr : &rectDrop);
        m_pFrame->RecalcLayout();
    }
    // The third bar is pushed back to end inside the frame as far as it can; the fourth would
    // start past the edge and opens a row of its own.
    CDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT_PTR>>{{101, 102, 103}, {104}}));
    EXPECT_EQ(afxtest::Text(ClientRectIn(pBars[3], pTop)), afxtest::Text(CRect(-2, 22, 98, 48)));
    EXPECT_EQ(ClientRectIn(pTop, m_pFrame).Height(), 48);
}

TEST_F(DockingFrame, FloatingLeavesAPlaceholderAndDockingBackTakesIt)
{
    CFixedBar* pA = AddBar(101);
    CFixedBar* pB = AddBar(102);
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(pB, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    CDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(Rows(pTop), (std::vector<std::vector<UINT_PTR>>{{101}, {102}}));

    m_pFrame->FloatControlBar(pA, CPoint(300, 400));
    EXPECT_TRUE(pA->IsFloating());
    CFrameWnd* pMini = pA->GetParentFrame();
    ASSERT_NE(pMini, nullptr);
    EXPECT_TRUE(pMini->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    EXPECT_EQ(pMini->GetStyle() & (WS_POPUP | WS_CAPTION), (DWORD)(WS_POPUP | WS_CAPTION));
    EXPECT_TRUE(pMini->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(pMini->m_hWnd, GW_OWNER), m_pFrame->m_hWnd);
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_EQ(afxtest::Text(ScreenRect(pMini).TopLeft()), afxtest::Text(CPoint(300, 400)));
    // The frame fits the bar's size exactly.
    CRect rectMiniClient;
    pMini->GetClientRect(&rectMiniClient);
    CDockBar* pFloat = pA->m_pDockBar;
    ASSERT_NE(pFloat, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(pFloat->m_hWnd), AFX_IDW_DOCKBAR_FLOAT);
    EXPECT_TRUE(pFloat->m_bFloating);
    EXPECT_EQ(pA->GetBarStyle() & CBRS_FLOATING, (DWORD)CBRS_FLOATING);
    EXPECT_EQ(afxtest::Text(rectMiniClient.Size()), afxtest::Text(CSize(96, 22)));
    // The floating dock bar belongs to the main frame's bars.
    EXPECT_NE(m_pFrame->m_listControlBars.Find(pFloat), nullptr);
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT_PTR>>{{101}, {102}}));
    EXPECT_EQ(pTop->GetDockedCount(), 1);

    // Docked back where it was; the floating frame goes.
    HWND hWndMini = pMini->m_hWnd;
    pA->m_pDockContext->ToggleDocking();
    EXPECT_FALSE(::IsWindow(hWndMini));
    EXPECT_EQ(pA->m_pDockBar, pTop);
    EXPECT_EQ(Rows(pTop), (std::vector<std::vector<UINT_PTR>>{{101}, {102}}));
    EXPECT_EQ(m_pFrame->m_listControlBars.Find(pFloat), nullptr);
}

TEST_F(DockingFrame, DelayedHidingWaitsForTheLayoutAndFloatingFramesFollowTheirBars)
{
    CFixedBar* pA = AddBar(101);
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    m_pFrame->ShowControlBar(pA, FALSE, TRUE);
    EXPECT_FALSE(pA->IsVisible());
    EXPECT_TRUE(pA->IsWindowVisible());
    EXPECT_TRUE(m_pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    m_pFrame->RecalcLayout();
    EXPECT_FALSE(pA->IsWindowVisible());
    EXPECT_EQ(ClientRectIn(Side(AFX_IDW_DOCKBAR_TOP), m_pFrame).Height(), 0);
    EXPECT_EQ(ClientRectIn(m_pPane, m_pFrame), Client());

    m_pFrame->ShowControlBar(pA, TRUE, FALSE);
    EXPECT_TRUE(pA->IsWindowVisible());
    m_pFrame->FloatControlBar(pA, CPoint(300, 400));
    CFrameWnd* pMini = pA->GetParentFrame();
    // Closing the floating frame hides the bar and the frame; showing the bar brings both back.
    pMini->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(pMini->m_hWnd));
    EXPECT_FALSE(pA->IsWindowVisible());
    EXPECT_FALSE(pMini->IsWindowVisible());
    m_pFrame->ShowControlBar(pA, TRUE, FALSE);
    EXPECT_TRUE(pMini->IsWindowVisible());
}

TEST_F(DockingFrame, IdleUpdatesReachBarsInFloatingFrames)
{
    CFixedBar* pA = AddBar(101);
    CFixedBar* pB = AddBar(102);
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(pB, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->FloatControlBar(pB, CPoint(300, 400));
    AfxGetApp()->m_pMainWnd = m_pFrame;
    AfxGetApp()->OnIdle(0);
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_GE(pA->m_nUpdates, 1);
    EXPECT_GE(pB->m_nUpdates, 1);
    // The owner (the frame the bar was made in) routes the floating bar's commands.
    EXPECT_EQ(pB->m_pLastTarget, m_pFrame);
}

TEST_F(DockingFrame, DraggingADockedBarDocksItElsewhereOrFloatsIt)
{
    CFixedBar* pA = AddBar(101);
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    CRect client = Client();
    m_pFrame->ClientToScreen(&client);

    // Grabbed near its left end and dropped at the frame's left edge: docked left.
    CRect rectA = ScreenRect(pA);
    CPoint ptGrab(rectA.left + 30, rectA.top + 12);
    ASSERT_TRUE(afxtest::Drag(ptGrab, CPoint(client.left + 4, client.top + 150)));
    EXPECT_EQ(pA->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(pA->GetBarStyle() & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_LEFT);
    EXPECT_EQ(pA->m_pDockContext->m_uMRUDockID, (UINT)AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(ClientRectIn(m_pPane, m_pFrame).left, 24);

    // Escape ends a drag with nothing changed.
    rectA = ScreenRect(pA);
    afxtest::InputScript script;
    script.MoveTo(CPoint(rectA.left + 12, rectA.top + 20)).Down().MoveInSteps(CPoint(client.CenterPoint()), 4);
    script.Key(VK_ESCAPE).Up();
    ASSERT_TRUE(script.Run());
    EXPECT_EQ(pA->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(ScreenRect(pA), rectA);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Dropped in the middle of the frame: floating where the feedback was. (Pressed elsewhere
    // than before, which would be a double click.)
    ASSERT_TRUE(afxtest::Drag(CPoint(rectA.left + 12, rectA.top + 60), client.CenterPoint()));
    EXPECT_TRUE(pA->IsFloating());
    EXPECT_EQ(afxtest::Text(pA->m_pDockContext->m_ptMRUFloatPos), afxtest::Text(ScreenRect(pA->GetParentFrame()).TopLeft()));
    // A double click on the floating frame's caption docks it back to the left.
    CPoint ptCaption;
    ASSERT_TRUE(CaptionPoint(pA->GetParentFrame(), ptCaption));
    ASSERT_TRUE(afxtest::DoubleClick(ptCaption));
    EXPECT_EQ(pA->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
}

TEST_F(DockingFrame, ToolTipTextsComeFromTheCommandStringAndFlyByPromptsReachTheOwner)
{
    CFixedBar* pA = AddBar(101);
    pA->SetBarStyle(pA->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    EXPECT_TRUE(pA->m_nFlags & WF_TOOLTIPS);
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();

    // The tip of a callback tool: the part after the new line of the command's string.
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = m_pFrame->m_hWnd;
    info.hdr.idFrom = ID_F3_TOOL;
    info.hdr.code = TTN_NEEDTEXTA;
    pA->SendMessage(WM_NOTIFY, ID_F3_TOOL, (LPARAM)&info);
    EXPECT_STREQ(info.szText, "Tip of the tool");

    // Moving over the tool sets its prompt after a rest; leaving it brings the idle prompt back.
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    CRect rectA = ScreenRect(pA);
    m_pFrame->m_prompts.clear();
    afxtest::InputScript script;
    script.MoveTo(CPoint(rectA.left + 8, rectA.top + 10)).MoveTo(CPoint(rectA.left + 10, rectA.top + 10)).Pause(450);
    ASSERT_TRUE(script.Run());
    EXPECT_TRUE(afxtest::WaitFor([&] { return !m_pFrame->m_prompts.empty(); }, 1000));
    ASSERT_FALSE(m_pFrame->m_prompts.empty());
    EXPECT_EQ(m_pFrame->m_prompts.back(), ID_F3_TOOL);
    script.MoveTo(CPoint(rectA.left + 60, rectA.top + 10)).MoveTo(CPoint(rectA.left + 62, rectA.top + 10));
    ASSERT_TRUE(script.Run());
    EXPECT_TRUE(afxtest::WaitFor([&] { return m_pFrame->m_prompts.back() == AFX_IDS_IDLEMESSAGE; }, 1000));
}

TEST_F(DockingFrame, TheLayoutSurvivesSavingDestroyingAndLoading)
{
    afxtest::RegistryProfile profile;
    const UINT ids[] = {101, 102, 103, 104};
    auto makeBars = [&](std::vector<CFixedBar*>& bars) {
        bars.clear();
        for (UINT nID : ids) {
            bars.push_back(AddBar(nID, CSize(90 + 10 * (int)bars.size(), 26)));
            m_pFrame->DockControlBar(bars.back(), AFX_IDW_DOCKBAR_TOP);
        }
        m_pFrame->RecalcLayout();
    };
    std::vector<CFixedBar*> bars;
    makeBars(bars);
    // Two bars share the top row, one is docked left, one floats (leaving its place behind).
    CRect rectDrop = ScreenRect(bars[0]);
    rectDrop.OffsetRect(rectDrop.Width() + 20, 0);
    m_pFrame->DockControlBar(bars[1], AFX_IDW_DOCKBAR_TOP, &rectDrop);
    m_pFrame->DockControlBar(bars[2], AFX_IDW_DOCKBAR_LEFT);
    // The floating bar was last dragged to the left side: it goes back there, also after a restart.
    bars[3]->m_pDockContext->m_uMRUDockID = AFX_IDW_DOCKBAR_LEFT;
    bars[3]->m_pDockContext->m_rectMRUDockPos.SetRect(0, 200, 26, 300);
    m_pFrame->FloatControlBar(bars[3], CPoint(500, 420));
    m_pFrame->RecalcLayout();

    auto snapshot = [&](const std::vector<CFixedBar*>& v) {
        std::vector<std::string> s;
        for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT}) {
            std::string rows;
            for (auto& row : Rows(Side(nID))) {
                rows += "[";
                for (UINT_PTR id : row)
                    rows += std::to_string(id) + " ";
                rows += "]";
            }
            s.push_back(rows);
        }
        for (CFixedBar* pBar : v) {
            s.push_back(afxtest::Text(pBar->IsFloating() ? ScreenRect(pBar->GetParentFrame())
                                                         : ClientRectIn(pBar, m_pFrame)));
            s.push_back(std::to_string(pBar->IsWindowVisible()));
        }
        s.push_back(afxtest::Text(ClientRectIn(m_pPane, m_pFrame)));
        return s;
    };
    std::vector<std::string> before = snapshot(bars);
    m_pFrame->SaveBarState("Layout");
    DestroyFrame();

    MakeFrame();
    makeBars(bars);
    m_pFrame->LoadBarState("Layout");
    m_pFrame->RecalcLayout();
    EXPECT_EQ(snapshot(bars), before);
    EXPECT_EQ(bars[3]->m_pDockContext->m_uMRUDockID, (UINT)AFX_IDW_DOCKBAR_LEFT);
    bars[3]->m_pDockContext->ToggleDocking();
    EXPECT_EQ(bars[3]->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(Rows(Side(AFX_IDW_DOCKBAR_LEFT)), (std::vector<std::vector<UINT_PTR>>{{103, 104}}));
}

TEST_F(DockingFrame, AFloatingFrameKeepsItsOwnerDrawnActive)
{
    CFixedBar* pA = AddBar(101);
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->FloatControlBar(pA, CPoint(300, 400));
    CFrameWnd* pMini = pA->GetParentFrame();
    EXPECT_EQ(pMini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE), 1);
    // The floating frame active: its owner stays drawn active; another window: neither is.
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    ASSERT_TRUE(afxtest::Activate(pMini));
    EXPECT_TRUE(m_pFrame->m_bStayActive);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                               nullptr));
    ASSERT_TRUE(afxtest::Activate(&other));
    EXPECT_FALSE(m_pFrame->m_bStayActive);
    other.DestroyWindow();
}

TEST_F(DockingFrame, DestroyingTheFrameTakesItsFloatingFramesAlong)
{
    CFixedBar* pA = AddBar(101);
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->FloatControlBar(pA, CPoint(300, 400));
    HWND hWndMini = pA->GetParentFrame()->m_hWnd;
    m_pFrame->DestroyWindow();
    m_pFrame = nullptr;
    EXPECT_FALSE(::IsWindow(hWndMini));
}

} // namespace
