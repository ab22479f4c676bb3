// MDI frames with child frames made by templates: a static splitter of two views, a second
// template's frame on the same document, activation, shared menus, captions, command-update
// order and closing.
#include "afxtest.h"
#include "f2_test_ids.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

void Log(const std::string& text)
{
    g_log.push_back(text);
}

// The position of an entry in the log (the log's size when it is missing).
size_t LogIndex(const std::string& text)
{
    return (size_t)(std::find(g_log.begin(), g_log.end(), text) - g_log.begin());
}

size_t LogCount(const std::string& text)
{
    return (size_t)std::count(g_log.begin(), g_log.end(), text);
}

class CMapDoc : public CDocument
{
    DECLARE_DYNCREATE(CMapDoc)
public:
    ~CMapDoc() override { Log("doc deleted"); }
};
IMPLEMENT_DYNCREATE(CMapDoc, CDocument)

class CHint : public CObject
{
};

// Views that tell what happens to them.
class CLogView : public CScrollView
{
public:
    struct Update
    {
        CView* pSender;
        LPARAM lHint;
        CObject* pHint;
    };
    std::vector<Update> m_updates;

    void OnInitialUpdate() override
    {
        Log(m_name + " initial");
        SetScrollSizes(MM_TEXT, CSize(2000, 2000));
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        m_updates.push_back({pSender, lHint, pHint});
    }
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override
    {
        if (bActivate && pActivateView == this)
            Log(m_name + " active");
        else if (!bActivate && pDeactiveView == this)
            Log(m_name + " inactive");
        CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    }
    void OnDraw(CDC*) override {}

protected:
    std::string m_name;
};

class CPlaneView : public CLogView
{
    DECLARE_DYNCREATE(CPlaneView)
public:
    CPlaneView() { m_name = "plane"; }
};
IMPLEMENT_DYNCREATE(CPlaneView, CScrollView)

class CDepthView : public CLogView
{
    DECLARE_DYNCREATE(CDepthView)
public:
    CDepthView() { m_name = "depth"; }
};
IMPLEMENT_DYNCREATE(CDepthView, CScrollView)

class CCameraView : public CLogView
{
    DECLARE_DYNCREATE(CCameraView)
public:
    CCameraView() { m_name = "camera"; }
};
IMPLEMENT_DYNCREATE(CCameraView, CScrollView)

// The 2D window: no automatic caption, a splitter of a plane view and a narrow depth view.
class CPlaneFrame : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CPlaneFrame)
public:
    CSplitterWnd m_wndSplitter;
    BOOL m_bPanes = FALSE;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        cs.style &= ~FWS_ADDTOTITLE;
        return CMDIChildWnd::PreCreateWindow(cs);
    }
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        if (!m_wndSplitter.CreateStatic(this, 1, 2) ||
            !m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CPlaneView), CSize(1, 1), pContext) ||
            !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CDepthView), CSize(1, 1), pContext))
            return FALSE;
        SetActiveView(static_cast<CView*>(m_wndSplitter.GetPane(0, 0)));
        RecalcLayout();
        m_bPanes = TRUE;
        return TRUE;
    }
    void OnSize(UINT nType, int cx, int cy)
    {
        CMDIChildWnd::OnSize(nType, cx, cy);
        if (m_bPanes && cx >= 1 && cy >= 1) {
            m_wndSplitter.SetColumnInfo(0, cx - 61, 0);
            m_wndSplitter.SetColumnInfo(1, 50, 0);
            m_wndSplitter.RecalcLayout();
        }
    }
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
    {
        Log(bActivate ? "plane frame on" : "plane frame off");
        CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    }
    void OnUpdateCombo(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPlaneFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CPlaneFrame, CMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_MDIACTIVATE()
    ON_UPDATE_COMMAND_UI(ID_F2_COMBO, OnUpdateCombo)
END_MESSAGE_MAP()

// The camera window: the template's one view, the automatic caption kept, 320 x 240 pixels.
class CCameraFrame : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CCameraFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        cs.cx = 320;
        cs.cy = 240;
        return CMDIChildWnd::PreCreateWindow(cs);
    }
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
    {
        Log(bActivate ? "camera frame on" : "camera frame off");
        CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CCameraFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CCameraFrame, CMDIChildWnd)
    ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

class CMainTestFrame : public CMDIFrameWnd
{
public:
    int m_nLayouts = 0;
    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        ++m_nLayouts;
        CMDIFrameWnd::RecalcLayout(bNotify);
    }
    void OnUpdateCombo(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMainTestFrame, CMDIFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_F2_COMBO, OnUpdateCombo)
END_MESSAGE_MAP()

// A shown MDI main frame with two templates on one resource id: 2D windows and camera windows.
class MdiFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        m_pMain = new CMainTestFrame;
        ASSERT_TRUE(m_pMain->LoadFrame(IDR_F2_MAIN, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_pMain;
        m_pMain->SetWindowPos(nullptr, 0, 0, 900, 700, SWP_NOZORDER);
        m_pMain->ShowWindow(SW_SHOW);
        m_pMain->UpdateWindow();
        m_pPlaneTemplate = new CMultiDocTemplate(IDR_F2_MAP, RUNTIME_CLASS(CMapDoc), RUNTIME_CLASS(CPlaneFrame),
                                                 RUNTIME_CLASS(CPlaneView));
        m_pCameraTemplate = new CMultiDocTemplate(IDR_F2_MAP, RUNTIME_CLASS(CMapDoc), RUNTIME_CLASS(CCameraFrame),
                                                  RUNTIME_CLASS(CCameraView));
        m_app.AddDocTemplate(m_pPlaneTemplate);
        m_app.AddDocTemplate(m_pCameraTemplate);
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        if (m_pMain->m_hWnd != nullptr)
            m_pMain->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        afxtest::DrainQuit();
    }

    // A new document with its 2D window.
    CPlaneFrame* OpenPlane(CDocument** ppDoc = nullptr)
    {
        CDocument* pDoc = m_pPlaneTemplate->OpenDocumentFile(nullptr);
        if (ppDoc != nullptr)
            *ppDoc = pDoc;
        return pDoc != nullptr ? dynamic_cast<CPlaneFrame*>(m_pMain->MDIGetActive()) : nullptr;
    }
    // A camera window on a document of the 2D template.
    CCameraFrame* OpenCamera(CDocument* pDoc)
    {
        CFrameWnd* pFrame = m_pCameraTemplate->CreateNewFrame(pDoc, nullptr);
        if (pFrame != nullptr)
            m_pCameraTemplate->InitialUpdateFrame(pFrame, pDoc);
        return dynamic_cast<CCameraFrame*>(pFrame);
    }
    CMDIChildWnd* Active() { return m_pMain->MDIGetActive(); }
    CString Caption(CWnd* pWnd)
    {
        CString text;
        pWnd->GetWindowText(text);
        return text;
    }

    CWinApp m_app;
    CMainTestFrame* m_pMain = nullptr;
    CMultiDocTemplate* m_pPlaneTemplate = nullptr;
    CMultiDocTemplate* m_pCameraTemplate = nullptr;
};

TEST_F(MdiFixture, TemplatesBuildFramesWithViewsAndASecondTemplateFramesTheSameDocument)
{
    CDocument* pDoc = nullptr;
    CPlaneFrame* pChild = OpenPlane(&pDoc);
    ASSERT_NE(pChild, nullptr);
    CSplitterWnd& splitter = pChild->m_wndSplitter;
    EXPECT_EQ(splitter.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    auto* pPlane = dynamic_cast<CPlaneView*>(splitter.GetPane(0, 0));
    auto* pDepth = dynamic_cast<CDepthView*>(splitter.GetPane(0, 1));
    ASSERT_NE(pPlane, nullptr);
    ASSERT_NE(pDepth, nullptr);
    EXPECT_EQ(pPlane->GetDocument(), pDoc);
    EXPECT_EQ(pDepth->GetDocument(), pDoc);
    EXPECT_EQ(pChild->GetActiveView(), pPlane);
    EXPECT_EQ(pChild->GetActiveDocument(), pDoc);
    EXPECT_EQ(m_pMain->GetActiveFrame(), pChild);
    EXPECT_EQ(LogCount("plane initial"), 1u);
    EXPECT_EQ(LogCount("depth initial"), 1u);
    EXPECT_TRUE(pChild->IsWindowVisible());

    // The frame's client width less 61 pixels goes to the plane view, 50 to the depth view.
    CRect rect(0, 0, 300, 200);
    ::AdjustWindowRectEx(&rect, pChild->GetStyle(), FALSE, pChild->GetExStyle());
    pChild->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOMOVE);
    int cxPlane, cxDepth, cxMin;
    splitter.GetColumnInfo(0, cxPlane, cxMin);
    splitter.GetColumnInfo(1, cxDepth, cxMin);
    EXPECT_EQ(cxPlane, 239);
    EXPECT_EQ(cxDepth, 50);

    // The camera template frames the 2D template's document; the document keeps its template.
    g_log.clear();
    CCameraFrame* pCamera = OpenCamera(pDoc);
    ASSERT_NE(pCamera, nullptr);
    auto* pCameraView = dynamic_cast<CCameraView*>(pCamera->GetActiveView());
    ASSERT_NE(pCameraView, nullptr);
    EXPECT_EQ(pCameraView->GetDocument(), pDoc);
    EXPECT_EQ(pDoc->GetDocTemplate(), m_pPlaneTemplate);
    EXPECT_EQ(m_pCameraTemplate->GetFirstDocPosition(), nullptr);
    EXPECT_EQ(LogCount("camera initial"), 1u);
    EXPECT_EQ(LogCount("plane initial"), 0u);
    EXPECT_EQ(Active(), pCamera);
    CRect rectCamera;
    pCamera->GetWindowRect(&rectCamera);
    EXPECT_EQ(rectCamera.Size(), CSize(320, 240));

    // Updates reach every view but the sender, with hints as wide as a pointer.
    CHint hint;
    LPARAM lHint = (LPARAM)0x123456789ALL;
    pPlane->m_updates.clear();
    pDoc->UpdateAllViews(pPlane, lHint, &hint);
    EXPECT_TRUE(pPlane->m_updates.empty());
    for (CLogView* pView : {(CLogView*)pDepth, (CLogView*)pCameraView}) {
        ASSERT_EQ(pView->m_updates.size(), 1u);
        EXPECT_EQ(pView->m_updates[0].pSender, pPlane);
        EXPECT_EQ(pView->m_updates[0].lHint, lHint);
        EXPECT_EQ(pView->m_updates[0].pHint, &hint);
    }
}

TEST_F(MdiFixture, APlaceGivenForTheNextChildIsTakenByThatChildAlone)
{
    CDocument* pDoc = nullptr;
    ASSERT_NE(OpenPlane(&pDoc), nullptr);
    auto placeOf = [this](CWnd* pWnd) {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        ::MapWindowPoints(nullptr, m_pMain->m_hWndMDIClient, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    // The place wins over the size the camera frame asks for; its view is laid out at it.
    const CRect place(10, 20, 410, 320);
    m_pMain->SetNextChildPlace(place);
    CCameraFrame* pPlaced = OpenCamera(pDoc);
    ASSERT_NE(pPlaced, nullptr);
    EXPECT_EQ(placeOf(pPlaced), place);
    CRect rectView;
    pPlaced->GetActiveView()->GetWindowRect(&rectView);
    CRect rectFrame;
    pPlaced->GetClientRect(&rectFrame);
    EXPECT_EQ(rectView.Size(), rectFrame.Size());
    EXPECT_TRUE(m_pMain->TakeNextChildPlace().IsRectEmpty());
    // The next child is made where its frame asks again.
    CCameraFrame* pNext = OpenCamera(pDoc);
    ASSERT_NE(pNext, nullptr);
    EXPECT_EQ(placeOf(pNext).Size(), CSize(320, 240));
}

TEST_F(MdiFixture, AChildIsMadeWithoutLayingOutTheFrameAgainUnlessALayoutIsOwed)
{
    ASSERT_NE(OpenPlane(), nullptr);
    m_pMain->m_nLayouts = 0;
    ASSERT_NE(OpenPlane(), nullptr);
    EXPECT_EQ(m_pMain->m_nLayouts, 0);
    // A bar changed and asked for a layout at idle time: the child is made after it.
    m_pMain->DelayRecalcLayout();
    ASSERT_NE(OpenPlane(), nullptr);
    EXPECT_EQ(m_pMain->m_nLayouts, 1);
    EXPECT_EQ(m_pMain->m_nIdleFlags & CFrameWnd::idleLayout, 0u);
}

TEST_F(MdiFixture, ActivationFollowsNewFramesClicksTheWindowListAndNextWindow)
{
    CDocument* pDoc = nullptr;
    CPlaneFrame* pPlane = OpenPlane(&pDoc);
    ASSERT_NE(pPlane, nullptr);
    CView* pDepthView = static_cast<CView*>(pPlane->m_wndSplitter.GetPane(0, 1));
    g_log.clear();

    // A new frame deactivates the old one first; its view takes the focus.
    CCameraFrame* pCamera = OpenCamera(pDoc);
    ASSERT_NE(pCamera, nullptr);
    EXPECT_TRUE(afxtest::WaitFor([&] { return Active() == pCamera; }));
    EXPECT_LT(LogIndex("plane frame off"), LogIndex("camera frame on"));
    EXPECT_LT(LogIndex("plane inactive"), LogIndex("camera frame on"));
    EXPECT_LT(LogIndex("camera frame on"), g_log.size());
    EXPECT_EQ(::GetFocus(), pCamera->GetActiveView()->m_hWnd);

    // A click into a pane of the other frame activates that frame and makes the pane its view.
    g_log.clear();
    ::SendMessageA(pDepthView->m_hWnd, WM_MOUSEACTIVATE, (WPARAM)m_pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_TRUE(afxtest::WaitFor([&] { return Active() == pPlane; }));
    EXPECT_EQ(pPlane->GetActiveView(), pDepthView);
    EXPECT_EQ(::GetFocus(), pDepthView->m_hWnd);
    EXPECT_LT(LogIndex("camera frame off"), LogIndex("plane frame on"));
    EXPECT_LT(LogIndex("depth active"), g_log.size());

    // The window list names the children in the order they were made; Next Window cycles.
    m_pMain->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD + 1);
    EXPECT_TRUE(afxtest::WaitFor([&] { return Active() == pCamera; }));
    m_pMain->MDINext();
    EXPECT_TRUE(afxtest::WaitFor([&] { return Active() == pPlane; }));
    EXPECT_EQ(::GetFocus(), pDepthView->m_hWnd);

    // A hidden frame is never the active one, even when the client is told to activate it.
    CFrameWnd* pHidden = m_pCameraTemplate->CreateNewFrame(pDoc, nullptr);
    ASSERT_NE(pHidden, nullptr);
    afxtest::PumpMessages();
    EXPECT_EQ(Active(), pPlane);
    m_pMain->MDIActivate(pHidden);
    afxtest::PumpMessages();
    EXPECT_EQ(Active(), nullptr);
    // Shown, it is activated for real: its menu and view, though the client had it already.
    m_pCameraTemplate->InitialUpdateFrame(pHidden, pDoc);
    EXPECT_TRUE(afxtest::WaitFor([&] { return Active() == pHidden; }));
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), m_pCameraTemplate->m_hMenuShared);
}

TEST_F(MdiFixture, SharedMenusAndWindowCommandsFollowTheActiveChild)
{
    auto isEnabled = [&](UINT nID) {
        CTestCmdUI state;
        state.m_nID = nID;
        state.DoUpdate(m_pMain, TRUE);
        return state.m_bEnabled;
    };
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), m_pMain->m_hMenuDefault);
    EXPECT_FALSE(isEnabled(ID_WINDOW_TILE_VERT));

    CDocument* pDoc = nullptr;
    CPlaneFrame* pPlane = OpenPlane(&pDoc);
    ASSERT_NE(pPlane, nullptr);
    HMENU hShared = m_pPlaneTemplate->m_hMenuShared;
    ASSERT_NE(hShared, nullptr);
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), hShared);
    EXPECT_TRUE(isEnabled(ID_WINDOW_TILE_VERT));
    // The client lists its children in the shared menu's window popup.
    HMENU hWindowPopup = ::GetSubMenu(hShared, 2);
    EXPECT_NE(::GetMenuState(hWindowPopup, AFX_IDM_FIRST_MDICHILD, MF_BYCOMMAND), (UINT)-1);

    CCameraFrame* pCamera = OpenCamera(pDoc);
    ASSERT_NE(pCamera, nullptr);
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), m_pCameraTemplate->m_hMenuShared);
    EXPECT_NE(m_pCameraTemplate->m_hMenuShared, hShared);

    // Tile Vertically puts the two windows side by side.
    m_pMain->SendMessage(WM_COMMAND, ID_WINDOW_TILE_VERT);
    CRect rectPlane, rectCamera;
    pPlane->GetWindowRect(&rectPlane);
    pCamera->GetWindowRect(&rectCamera);
    EXPECT_EQ(rectPlane.top, rectCamera.top);
    EXPECT_NE(rectPlane.left, rectCamera.left);

    // Closing the children gives the frame its own menu back, without a window list.
    pCamera->SendMessage(WM_CLOSE);
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), hShared);
    pPlane->SendMessage(WM_CLOSE);
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), m_pMain->m_hMenuDefault);
    HMENU hDefaultWindow = ::GetSubMenu(m_pMain->m_hMenuDefault, 1);
    EXPECT_EQ(::GetMenuState(hDefaultWindow, AFX_IDM_FIRST_MDICHILD, MF_BYCOMMAND), (UINT)-1);
    EXPECT_EQ(Active(), nullptr);
    EXPECT_FALSE(isEnabled(ID_WINDOW_TILE_VERT));
}

// The frame's non-client areas measured over again (a menu bar set or drawn does it).
int g_frameRecalcs = 0;
HWND g_hCountedFrame = nullptr;
LRESULT CALLBACK CountFrameRecalcs(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->hwnd == g_hCountedFrame && msg->message == WM_NCCALCSIZE)
        ++g_frameRecalcs;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MdiFixture, ActivatingAChildOfTheSameMenuLeavesTheBarAsItIs)
{
    CPlaneFrame* pFirst = OpenPlane();
    CPlaneFrame* pSecond = OpenPlane();
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    HMENU hShared = m_pPlaneTemplate->m_hMenuShared;
    const int items = ::GetMenuItemCount(hShared);
    HMENU hWindowPopup = ::GetSubMenu(hShared, 2);
    g_hCountedFrame = m_pMain->m_hWnd;
    g_frameRecalcs = 0;
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, CountFrameRecalcs, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    m_pMain->MDIActivate(pFirst);
    afxtest::PumpMessages();
    const int sameMenu = g_frameRecalcs;
    // Another template's menu is set and drawn.
    CCameraFrame* pCamera = OpenCamera(pFirst->GetActiveDocument());
    afxtest::PumpMessages();
    const int otherMenu = g_frameRecalcs - sameMenu;
    ::UnhookWindowsHookEx(hook);
    ASSERT_NE(pCamera, nullptr);
    EXPECT_EQ(Active(), pCamera);
    EXPECT_EQ(sameMenu, 0);
    EXPECT_GT(otherMenu, 0);
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), m_pCameraTemplate->m_hMenuShared);

    // Back to a plane window: its menu again, the window list checking the active child.
    m_pMain->MDIActivate(pFirst);
    afxtest::PumpMessages();
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), hShared);
    EXPECT_EQ(::GetMenuState(hWindowPopup, AFX_IDM_FIRST_MDICHILD, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
    // A maximized child's buttons join the bar, and stay with the next child of that menu.
    m_pMain->MDIMaximize(pFirst);
    afxtest::PumpMessages();
    EXPECT_GT(::GetMenuItemCount(hShared), items);
    m_pMain->MDIActivate(pSecond);
    afxtest::PumpMessages();
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), hShared);
    EXPECT_GT(::GetMenuItemCount(hShared), items);
    EXPECT_EQ(::GetMenuState(hWindowPopup, AFX_IDM_FIRST_MDICHILD + 1, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
}

TEST_F(MdiFixture, TheActiveChildAnswersCommandUpdatesBeforeTheMainFrame)
{
    auto update = [&]() {
        CTestCmdUI state;
        state.m_nID = ID_F2_COMBO;
        state.DoUpdate(m_pMain, TRUE);
        return std::make_pair(state.m_bEnabled, state.m_nCheck);
    };
    EXPECT_EQ(update(), std::make_pair(TRUE, 1));     // no child: the main frame's handler
    CDocument* pDoc = nullptr;
    ASSERT_NE(OpenPlane(&pDoc), nullptr);
    EXPECT_EQ(update(), std::make_pair(FALSE, -1));   // the 2D window's handler, alone
    ASSERT_NE(OpenCamera(pDoc), nullptr);
    EXPECT_EQ(update(), std::make_pair(TRUE, 1));     // the camera window has none
}

TEST_F(MdiFixture, OnlyFramesWithAddToTitleTakeTheDocumentsName)
{
    CDocument* pDoc = nullptr;
    CPlaneFrame* pPlane = OpenPlane(&pDoc);
    ASSERT_NE(pPlane, nullptr);
    pPlane->SetWindowText("XY (Top) Window");
    CCameraFrame* pCamera = OpenCamera(pDoc);
    ASSERT_NE(pCamera, nullptr);
    // Two frames of one document are numbered; the 2D frame keeps what its view gave it.
    EXPECT_STREQ(Caption(pCamera), "Map1:2");
    EXPECT_STREQ(Caption(pPlane), "XY (Top) Window");
    EXPECT_STREQ(Caption(m_pMain), "Map1 - F2 Main");

    pDoc->SetTitle("e1m1.map");
    m_app.OnIdle(0);
    EXPECT_STREQ(Caption(pCamera), "e1m1.map:2");
    EXPECT_STREQ(Caption(pPlane), "XY (Top) Window");
    pPlane->MDIActivate();
    m_app.OnIdle(0);
    EXPECT_STREQ(Caption(pPlane), "XY (Top) Window");

    // A main frame without the style keeps its caption too.
    m_pMain->ModifyStyle(FWS_ADDTOTITLE, 0);
    m_pMain->SetWindowText("Morvane");
    pCamera->MDIActivate();
    pDoc->SetTitle("e1m2.map");
    m_app.OnIdle(0);
    EXPECT_STREQ(Caption(m_pMain), "Morvane");
    EXPECT_STREQ(Caption(pCamera), "e1m2.map:2");
}

TEST_F(MdiFixture, ClosingAsksToSaveOnlyForTheLastFrameAndTheDocumentGoesWithIt)
{
    CDocument* pDoc = nullptr;
    CPlaneFrame* pPlane = OpenPlane(&pDoc);
    ASSERT_NE(pPlane, nullptr);
    CCameraFrame* pCamera = OpenCamera(pDoc);
    ASSERT_NE(pCamera, nullptr);
    pDoc->SetModifiedFlag();

    HWND hCamera = pCamera->m_hWnd;
    pCamera->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hCamera));
    EXPECT_TRUE(AfxSeamCalls().empty());
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);

    AfxSeamAnswer(IDCANCEL);
    pPlane->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(pPlane->m_hWnd));
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_STREQ(texts[0], "Save changes to Map1?");

    AfxSeamAnswer(IDNO);
    HWND hPlane = pPlane->m_hWnd;
    pPlane->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hPlane));
    EXPECT_EQ(LogCount("doc deleted"), 1u);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);

    // A document whose last frame is destroyed without a question goes as well.
    g_log.clear();
    pPlane = OpenPlane(&pDoc);
    ASSERT_NE(pPlane, nullptr);
    pPlane->DestroyWindow();
    EXPECT_EQ(LogCount("doc deleted"), 1u);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(Active(), nullptr);
}

// A workbook-like frame: the MDI client is subclassed and gives up a strip at the bottom.
class CInsetClient : public CWnd
{
public:
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) override
    {
        CWnd::CalcWindowRect(lpClientRect, nAdjustType);
        lpClientRect->bottom -= 23;
    }
};

class CWorkbookFrame : public CMDIFrameWnd
{
public:
    CInsetClient m_client;
    BOOL CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu) override
    {
        return CMDIFrameWnd::CreateClient(lpcs, pWindowMenu) && m_client.SubclassWindow(m_hWndMDIClient);
    }
};

TEST(MdiClient, ASubclassedClientTakesPartInTheLayoutAndStillServesTheChildren)
{
    auto* pFrame = new CWorkbookFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_F2_MAIN, WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(CWnd::FromHandlePermanent(pFrame->m_hWndMDIClient), &pFrame->m_client);
    pFrame->SetWindowPos(nullptr, 0, 0, 600, 400, SWP_NOZORDER | SWP_NOMOVE);
    pFrame->ShowWindow(SW_SHOW);
    CRect rectClient, rectMDI;
    pFrame->GetClientRect(&rectClient);
    pFrame->m_client.GetWindowRect(&rectMDI);
    pFrame->ScreenToClient(&rectMDI);
    EXPECT_EQ(rectMDI, CRect(0, 0, rectClient.right, rectClient.bottom - 23));

    auto* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(nullptr, "sheet", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                               pFrame));
    EXPECT_EQ(pFrame->MDIGetActive(), pChild);
    EXPECT_EQ(pChild->GetMDIFrame(), pFrame);
    pFrame->DestroyWindow();
    afxtest::DrainQuit();
}

} // namespace
