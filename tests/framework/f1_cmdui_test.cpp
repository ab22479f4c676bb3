// Command-UI updates of menus, popup menus through the test seam, and the routing of commands
// through view, document, child frame, main frame and application.
#include "afxtest.h"
#include "f1_test_ids.h"
#include <string>
#include <vector>

namespace {

class CMenuFrame : public CFrameWnd
{
public:
    std::vector<UINT> m_commands;
    void OnCommandRange(UINT nID) { m_commands.push_back(nID); }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnUpdateRadio(CCmdUI* pCmdUI) { pCmdUI->SetRadio(TRUE); }
    void OnUpdateText(CCmdUI* pCmdUI) { pCmdUI->SetText("New text"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuFrame, CFrameWnd)
    ON_COMMAND_RANGE(ID_F1_ENABLED, ID_F1_TEXT, OnCommandRange)
    ON_UPDATE_COMMAND_UI(ID_F1_DISABLED, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_F1_CHECKED, OnUpdateChecked)
    ON_UPDATE_COMMAND_UI(ID_F1_RADIO, OnUpdateRadio)
    ON_UPDATE_COMMAND_UI(ID_F1_TEXT, OnUpdateText)
END_MESSAGE_MAP()

class MenuFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CMenuFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_F1_FRAME, WS_OVERLAPPEDWINDOW));
        m_hPopup = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
        ASSERT_NE(m_hPopup, nullptr);
    }
    void TearDown() override { m_pFrame->DestroyWindow(); }

    UINT State(UINT nID) { return ::GetMenuState(m_hPopup, nID, MF_BYCOMMAND); }
    CString Text(UINT nID)
    {
        char sz[64] = "";
        ::GetMenuStringA(m_hPopup, nID, sz, sizeof sz, MF_BYCOMMAND);
        return sz;
    }

    CMenuFrame* m_pFrame = nullptr;
    HMENU m_hPopup = nullptr;
};

TEST_F(MenuFixture, OpeningAPopupAsksTheUpdateHandlers)
{
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)m_hPopup, MAKELPARAM(0, FALSE));
    EXPECT_EQ(State(ID_F1_ENABLED) & MF_GRAYED, 0u);
    EXPECT_NE(State(ID_F1_DISABLED) & MF_GRAYED, 0u);
    EXPECT_NE(State(ID_F1_CHECKED) & MF_CHECKED, 0u);
    EXPECT_NE(State(ID_F1_RADIO) & MF_CHECKED, 0u);
    MENUITEMINFOA mii = {sizeof mii, MIIM_FTYPE};
    ASSERT_TRUE(::GetMenuItemInfoA(m_hPopup, ID_F1_RADIO, FALSE, &mii));
    EXPECT_NE(mii.fType & MFT_RADIOCHECK, 0u);
    EXPECT_STREQ(Text(ID_F1_TEXT), "New text");
    EXPECT_NE(State(ID_F1_NOHANDLER) & MF_GRAYED, 0u);   // no handler anywhere: disabled
    // A popup is routed through its first item but never disabled.
    UINT nMoreState = ::GetMenuState(m_hPopup, 7, MF_BYPOSITION);
    EXPECT_EQ(nMoreState & MF_GRAYED, 0u);

    // Without automatic disabling the item without a handler stays as it is.
    ::EnableMenuItem(m_hPopup, ID_F1_NOHANDLER, MF_ENABLED);
    m_pFrame->m_bAutoMenuEnable = FALSE;
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)m_hPopup, MAKELPARAM(0, FALSE));
    EXPECT_EQ(State(ID_F1_NOHANDLER) & MF_GRAYED, 0u);
}

TEST_F(MenuFixture, PopupMenusShowTheUpdatedStateAndRefuseDisabledChoices)
{
    CMenu popup;
    popup.Attach(m_hPopup);
    AfxSeamAnswer(ID_F1_DISABLED);
    AfxSeamAnswer(ID_F1_CHECKED);
    EXPECT_EQ(popup.TrackPopupMenu(TPM_RETURNCMD, 10, 20, m_pFrame), 0);
    EXPECT_EQ(popup.TrackPopupMenu(TPM_RETURNCMD, 10, 20, m_pFrame), ID_F1_CHECKED);
    ASSERT_EQ(AfxSeamCalls().size(), 2u);
    const AfxModalCall& call = AfxSeamCalls()[0];
    EXPECT_EQ(call.kind, AFX_MODAL_POPUPMENU);
    EXPECT_EQ(call.hWndOwner, m_pFrame->m_hWnd);
    EXPECT_EQ(call.pt.x, 10);
    ASSERT_GE(call.menuItems.size(), 6u);
    EXPECT_EQ(call.menuItems[1].nID, (UINT)ID_F1_DISABLED);
    EXPECT_NE(call.menuItems[1].nState & MF_GRAYED, 0u);
    EXPECT_STREQ(call.menuItems[5].strText, "New text");

    // Without TPM_RETURNCMD the choice arrives as a command to the owner.
    AfxSeamAnswer(ID_F1_ENABLED);
    EXPECT_TRUE(popup.TrackPopupMenu(0, 0, 0, m_pFrame));
    afxtest::PumpMessages();
    std::vector<UINT> expected = {ID_F1_ENABLED};
    EXPECT_EQ(m_pFrame->m_commands, expected);
    popup.Detach();     // the menu belongs to the frame
}

// ---- Routing ----------------------------------------------------------------------------------

std::vector<std::string> g_route;

#define ROUTE_HANDLERS(name)                                   \
    BOOL OnRouted(UINT)                                        \
    {                                                          \
        g_route.push_back(name);                               \
        return FALSE;                                          \
    }                                                          \
    void OnUpdateRouted(CCmdUI* pCmdUI)                        \
    {                                                          \
        g_route.push_back(std::string(name) + " ui");          \
        pCmdUI->ContinueRouting();                             \
    }

#define ROUTE_ENTRIES()                                        \
    ON_COMMAND_EX(ID_F1_ROUTED, OnRouted)                      \
    ON_UPDATE_COMMAND_UI(ID_F1_ROUTED, OnUpdateRouted)

class CRouteDoc : public CDocument
{
    DECLARE_DYNCREATE(CRouteDoc)
public:
    ROUTE_HANDLERS("doc")
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRouteDoc, CDocument)
BEGIN_MESSAGE_MAP(CRouteDoc, CDocument)
    ROUTE_ENTRIES()
END_MESSAGE_MAP()

class CRouteView : public CView
{
    DECLARE_DYNCREATE(CRouteView)
public:
    ROUTE_HANDLERS("view")
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRouteView, CView)
BEGIN_MESSAGE_MAP(CRouteView, CView)
    ROUTE_ENTRIES()
END_MESSAGE_MAP()

class CRouteChild : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CRouteChild)
public:
    ROUTE_HANDLERS("child")
    void OnChildAccel() { g_route.push_back("child accel"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CRouteChild, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CRouteChild, CMDIChildWnd)
    ROUTE_ENTRIES()
    ON_COMMAND(ID_F1_CHILD_ACCEL, OnChildAccel)
END_MESSAGE_MAP()

class CRouteMain : public CMDIFrameWnd
{
public:
    ROUTE_HANDLERS("main")
    void OnMainAccel() { g_route.push_back("main accel"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRouteMain, CMDIFrameWnd)
    ROUTE_ENTRIES()
    ON_COMMAND(ID_F1_ACCEL, OnMainAccel)
END_MESSAGE_MAP()

class CRouteApp : public CWinApp
{
public:
    ROUTE_HANDLERS("app")
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
    ROUTE_ENTRIES()
END_MESSAGE_MAP()

TEST(Routing, CommandsGoFromTheViewToItsDocumentChildFrameMainFrameAndApplication)
{
    CRouteApp app;
    CRouteMain* pMain = new CRouteMain;
    ASSERT_TRUE(pMain->LoadFrame(IDR_F1_FRAME, WS_OVERLAPPEDWINDOW));
    ASSERT_NE(pMain->m_hWndMDIClient, nullptr);
    app.m_pMainWnd = pMain;
    pMain->ShowWindow(SW_SHOWNA);
    EXPECT_EQ(pMain->MDIGetActive(), nullptr);

    app.AddDocTemplate(new CMultiDocTemplate(IDR_F1_CHILD, RUNTIME_CLASS(CRouteDoc), RUNTIME_CLASS(CRouteChild),
                                             RUNTIME_CLASS(CRouteView)));
    POSITION pos = app.GetFirstDocTemplatePosition();
    CDocTemplate* pTemplate = app.GetNextDocTemplate(pos);
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_STREQ(pDoc->GetTitle(), "Sketch1");
    CMDIChildWnd* pChild = pMain->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    ASSERT_NE(pChild->GetActiveView(), nullptr);
    EXPECT_EQ(pChild->GetActiveDocument(), pDoc);

    g_route.clear();
    pMain->SendMessage(WM_COMMAND, ID_F1_ROUTED, 0);
    std::vector<std::string> expected = {"view ui", "doc ui", "child ui", "main ui", "app ui",
                                         "view",    "doc",    "child",    "main",    "app"};
    EXPECT_EQ(g_route, expected);

    // Keys in the child's view: the child's table first, and the main table still works.
    g_route.clear();
    HWND hView = pChild->GetActiveView()->m_hWnd;
    ::PostMessageA(hView, WM_KEYDOWN, VK_F7, 0);
    ::PostMessageA(hView, WM_KEYDOWN, VK_F5, 0);
    afxtest::PumpMessages();
    expected = {"child accel", "main accel"};
    EXPECT_EQ(g_route, expected);

    // Closing the main window asks about modified documents first; Cancel keeps everything open.
    pDoc->SetModifiedFlag();
    AfxSeamAnswer(IDCANCEL);
    pMain->SendMessage(WM_CLOSE);
    EXPECT_EQ(app.m_pMainWnd, pMain);
    EXPECT_TRUE(::IsWindow(pMain->m_hWnd));
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_STREQ(texts[0], "Save changes to Sketch1?");

    // No: the documents and their frames close, then the main window, and the loop is told to end.
    AfxSeamAnswer(IDNO);
    pMain->SendMessage(WM_CLOSE);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(afxtest::DrainQuit(), 0);
}

} // namespace
