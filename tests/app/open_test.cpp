// The editor opens maps from File > Open into 2D map windows.
#include "EditorApp.h"
#include "MainFrame.h"
#include "Map.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "ViewsRes.h"
#include "afxtest.h"
#include "shell_fixture.h"
#include "../../res/resource.h"
#include <map>

namespace {

// The MDI children of the main window by caption.
std::map<CString, CMDIChildWnd*> MapChildren(CMainFrame* pMain)
{
    std::map<CString, CMDIChildWnd*> children;
    for (HWND h = ::GetWindow(pMain->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        auto* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h));
        if (!pChild)
            continue;
        CString title;
        pChild->GetWindowText(title);
        children[title] = pChild;
    }
    return children;
}

class OpenFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        shelltest::TolerateLoadReports();
        ASSERT_TRUE(m_app.InitInstance());
        char dir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        // File Open works inside a project: a fixture project with nothing but its root.
        m_project = shelltest::OpenEmptyProject(m_app, "morvane_open_fixture.prj", dir);
        ASSERT_FALSE(m_project.IsEmpty());
        m_path = CString(dir) + "morvane_open_small.map";
        FILE* f = fopen(m_path, "wb");
        ASSERT_NE(f, nullptr);
        fputs("{\n\"classname\" \"worldspawn\"\n\"wad\" \"gfx/base.wad\"\n"
              "{\n"
              "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\n"
              "( 64 0 0 ) ( 64 0 64 ) ( 64 64 0 ) WALL 0 0 0 1 1\n"
              "( 0 0 0 ) ( 0 0 64 ) ( 64 0 0 ) WALL 0 0 0 1 1\n"
              "( 0 64 0 ) ( 64 64 0 ) ( 0 64 64 ) WALL 0 0 0 1 1\n"
              "( 0 0 0 ) ( 64 0 0 ) ( 0 64 0 ) WALL 0 0 0 1 1\n"
              "( 0 0 64 ) ( 0 64 64 ) ( 64 0 64 ) WALL 0 0 0 1 1\n"
              "}\n}\n",
              f);
        fclose(f);
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
        ::DeleteFileA(m_path);
        ::DeleteFileA(m_project);
    }
    CEditorApp m_app;
    CString m_path;
    CString m_project;
};

} // namespace

TEST_F(OpenFixture, FileOpenShowsTheMapInAnActive2DWindow)
{
    EXPECT_EQ(GetEditorServices(), &m_app.m_services);
    CString path = m_path;
    AfxSeamScript([path](AfxModalCall& call) {
        EXPECT_EQ(call.kind, AFX_MODAL_COMMONDIALOG);
        call.text = path;
        return (INT_PTR)IDOK;
    });
    AfxSeamAnswer(IDOK); // the open's report of textures the project's WADs lack
    m_app.m_pMainWnd->SendMessage(WM_COMMAND, ID_MAP_OPEN);
    afxtest::PumpMessages();
    // With no map window active, the map opens into its four windows, tiled.
    CMainFrame* pMain = m_app.GetMainFrame();
    std::map<CString, CMDIChildWnd*> children = MapChildren(pMain);
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children.count("morvane_open_small - XY (Top) Window"), 1u);
    EXPECT_EQ(children.count("morvane_open_small - XZ (Front) Window"), 1u);
    EXPECT_EQ(children.count("morvane_open_small - YZ (Right) Window"), 1u);
    CMDIChildWnd* pChild = children["morvane_open_small - XY (Top) Window"];
    ASSERT_NE(pChild, nullptr);
    ASSERT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(CMapFrame)));
    pMain->MDIActivate(pChild);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
    Map* map = static_cast<Map*>(pChild->GetActiveDocument());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetVisibleList().GetCount(), 1); // the one brush, listed once
    EXPECT_EQ(m_app.m_services.GetActiveMap(), map);
    EXPECT_EQ(static_cast<CMapFrame*>(pChild)->GetObjectOrder().GetCount(), 1);
}

TEST_F(OpenFixture, FileOpenIsRefusedWithoutAProject)
{
    ASSERT_TRUE(m_app.GetMainFrame()->CloseProject());
    m_app.m_pMainWnd->SendMessage(WM_COMMAND, ID_MAP_OPEN);
    afxtest::PumpMessages();
    EXPECT_TRUE(shelltest::Calls().empty());    // no file dialog
    EXPECT_EQ(m_app.GetMainFrame()->MDIGetActive(), nullptr);
}

// A status line inside a mouse handler repaints its pane and runs no message loop: a press that
// waits in the queue is not handled inside the release that shows the line.
TEST_F(OpenFixture, StatusLinesInAPlaneViewsHandlersDoNotPumpMessages)
{
    CString path = m_path;
    AfxSeamScript([path](AfxModalCall& call) {
        call.text = path;
        return (INT_PTR)IDOK;
    });
    AfxSeamAnswer(IDOK);
    m_app.m_pMainWnd->SendMessage(WM_COMMAND, ID_MAP_OPEN);
    afxtest::PumpMessages();
    CMDIChildWnd* pChild = MapChildren(m_app.GetMainFrame())["morvane_open_small - XY (Top) Window"];
    ASSERT_NE(pChild, nullptr);
    CMapXYView* xy = static_cast<CMapFrame*>(pChild)->GetXYView();
    ASSERT_NE(xy, nullptr);
    Map* map = xy->GetMap();
    map->SelectObject(static_cast<SThing*>(map->GetVisibleList().GetHead()), TRUE);
    afxtest::PumpMessages();

    xy->SendMessage(WM_COMMAND, ID_ROTATE_BY_HAND);
    ASSERT_EQ(xy->m_nState, CMapXYView::STATE_ROTATE_ARMED);
    xy->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    ASSERT_EQ(xy->m_nState, CMapXYView::STATE_ROTATE_CENTRE);
    xy->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 100));
    xy->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 100)); // shows "Click and drag ..."
    EXPECT_EQ(xy->m_nState, CMapXYView::STATE_ROTATE_CENTRE);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, xy->m_hWnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    xy->SendMessage(WM_COMMAND, ID_CANCEL_OPERATION);
    ::PeekMessageA(&msg, xy->m_hWnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
}
