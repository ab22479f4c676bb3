// The main frame's part of the Entity Editor: F2 shows it, the frame forwards the grid's messages
// and a change of class colours or visibility redraws every open map.
#include "DocumentFixture.h"
#include "EditorApp.h"
#include "EntityEditorDlg.h"
#include "MainFrame.h"
#include "Map.h"
#include "afxtest.h"
#include "shell_fixture.h"
#include "../../res/resource.h"

namespace {

class EntityFrameFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        ASSERT_TRUE(m_app.InitInstance());
        shelltest::TolerateLoadReports();
        char dir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        m_project = shelltest::OpenEmptyProject(m_app, "morvane_entityframe.prj", dir);
        ASSERT_FALSE(m_project.IsEmpty());
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
        ::DeleteFileA(m_project);
    }
    CEditorApp m_app;
    CString m_project;
};

TEST_F(EntityFrameFixture, F2ShowsTheEditorAndTheFrameForwardsItsMessages)
{
    CMainFrame* pMain = m_app.GetMainFrame();
    CEntityEditorDlg* pEditor = pMain->GetEntityEditor();
    ASSERT_NE(nullptr, pEditor);
    ASSERT_NE(nullptr, pEditor->m_hWnd);
    EXPECT_FALSE(pEditor->IsWindowVisible());
    // The project load went through the editor: it is ready (no classes in an empty project).
    EXPECT_TRUE(pEditor->IsReady());
    pMain->SendMessage(WM_COMMAND, ID_VIEW_ENTITY_EDITOR);
    EXPECT_TRUE(pEditor->IsWindowVisible());
    pEditor->SendMessage(WM_CLOSE);
    EXPECT_FALSE(pEditor->IsWindowVisible());

    EXPECT_EQ(reinterpret_cast<LRESULT>(&pEditor->GetWorkingEntity()), pMain->SendMessage(WM_ENTITY_QUERY, 0));
    EXPECT_EQ(0, pMain->SendMessage(WM_ENTITY_QUERY, 1));
    // The model's services reach the editor.
    Entity e;
    e.AddKeyValue("origin", "0 0 0");
    AfxSeamAnswer(IDOK);    // "No classname was found in the entity."
    GetEditorServices()->SetCurrentEntity(&e);
    EXPECT_EQ(&e, pEditor->GetEditedEntity());
    pMain->SendMessage(WM_ENTITY_MODIFIED);
    EXPECT_TRUE(GetEditorServices()->HasUnappliedEntityChanges());
    GetEditorServices()->SetCurrentEntity(nullptr);
    EXPECT_FALSE(GetEditorServices()->HasUnappliedEntityChanges());

    // Colours or visibility changed: every open map's views get hint 16.
    Map* maps[2];
    HintView spies[2];
    for (int i = 0; i < 2; ++i) {
        m_app.m_pMainWnd->SendMessage(WM_COMMAND, ID_MAP_NEW);
        afxtest::PumpMessages();
    }
    CDocTemplate* pTemplate = m_app.GetMapTemplate();
    ASSERT_NE(nullptr, pTemplate);
    int n = 0;
    for (POSITION pos = pTemplate->GetFirstDocPosition(); pos && n < 2;)
        maps[n++] = static_cast<Map*>(pTemplate->GetNextDoc(pos));
    ASSERT_EQ(2, n);
    for (int i = 0; i < 2; ++i)
        maps[i]->AddView(&spies[i]);
    pMain->SendMessage(WM_ENTITY_STYLES_CHANGED);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(std::vector<LPARAM>{HINT_DOCUMENTS}, spies[i].Numbers());
        maps[i]->RemoveView(&spies[i]);
    }
}

} // namespace
