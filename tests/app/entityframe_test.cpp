// The main frame's own windows and modes: F2 shows the Entity Editor, the frame forwards the grid's
// messages and a change of class colours or visibility redraws every open map; the Texture
// Adjustment window, the mouse modes, the axis restrictions and the palette.
#include "DocumentFixture.h"
#include "EditorApp.h"
#include "EntityEditorDlg.h"
#include "MainFrame.h"
#include "Map.h"
#include "afxtest.h"
#include "shell_fixture.h"
#include "../../res/resource.h"
#include "CameraRes.h"
#include "TextureAdjustDlg.h"
#include "ViewServices.h"
#include "ViewsRes.h"
#include <cstdio>
#include <vector>

namespace {

// What an update handler said of a command.
class StateCmdUI : public CCmdUI
{
public:
    explicit StateCmdUI(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
    void SetRadio(BOOL bOn) override { checked = bOn ? 1 : 0; }
    int enabled = -1, checked = -1;
};

StateCmdUI State(CWnd* pFrame, UINT id)
{
    StateCmdUI ui(id);
    pFrame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui;
}

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
    EXPECT_EQ(0, State(pMain, ID_VIEW_ENTITY_EDITOR).checked);
    pMain->SendMessage(WM_COMMAND, ID_VIEW_ENTITY_EDITOR);
    EXPECT_TRUE(pEditor->IsWindowVisible());
    EXPECT_EQ(1, State(pMain, ID_VIEW_ENTITY_EDITOR).checked);
    pEditor->SendMessage(WM_CLOSE);
    EXPECT_FALSE(pEditor->IsWindowVisible());
    // F2 hides the editor it shows.
    pMain->SendMessage(WM_COMMAND, ID_VIEW_ENTITY_EDITOR);
    pMain->SendMessage(WM_COMMAND, ID_VIEW_ENTITY_EDITOR);
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

namespace {

// The frame's other windows and editing modes, without a map window.
TEST_F(EntityFrameFixture, TextureAdjustmentWindowMouseModesAndAxes)
{
    CMainFrame* pMain = m_app.GetMainFrame();
    // The Texture Adjustment window is made hidden with the frame, owned by it; F5 shows and hides.
    CTextureAdjustDlg* pAdjust = pMain->GetTextureAdjust();
    ASSERT_NE(nullptr, pAdjust);
    ASSERT_NE(nullptr, pAdjust->m_hWnd);
    EXPECT_EQ(pMain->m_hWnd, ::GetWindow(pAdjust->m_hWnd, GW_OWNER));
    EXPECT_FALSE(pAdjust->IsWindowVisible());
    EXPECT_EQ(0, State(pMain, ID_VIEW_TEXTURE_ADJUST).checked);
    pMain->SendMessage(WM_COMMAND, ID_VIEW_TEXTURE_ADJUST);
    EXPECT_TRUE(pAdjust->IsWindowVisible());
    EXPECT_EQ(1, State(pMain, ID_VIEW_TEXTURE_ADJUST).checked);
    pAdjust->SendMessage(WM_COMMAND, IDCANCEL);    // Escape hides it; the frame keeps it
    EXPECT_FALSE(pAdjust->IsWindowVisible());
    EXPECT_EQ(pAdjust, pMain->GetTextureAdjust());
    // A picked face reaches it through the services: no face disables its edits.
    pMain->SendMessage(WM_COMMAND, ID_VIEW_TEXTURE_ADJUST);
    GetEditorServices()->UpdateTextureAdjustment(nullptr);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(pAdjust->m_hWnd, IDC_X_OFFSET)));

    // Mouse modes: each command sets its own; the current one is marked and cannot be chosen.
    const UINT modes[] = {ID_MOUSE_PAN_WINDOW, ID_MOUSE_SELECT_ITEM, ID_MOUSE_MOVE_ITEM, ID_MOUSE_ZOOM_WINDOW,
                          ID_MOUSE_ZOOM_SELECTION, ID_MOUSE_ZOOM_ITEMS};
    const int values[] = {CViewServices::MOUSE_PAN, CViewServices::MOUSE_SELECT, CViewServices::MOUSE_MOVE,
                          CViewServices::MOUSE_ZOOM, CViewServices::MOUSE_ZOOM_SELECTION,
                          CViewServices::MOUSE_ZOOM_ITEMS};
    for (int i = 0; i < 6; ++i) {
        pMain->SendMessage(WM_COMMAND, modes[i]);
        EXPECT_EQ(values[i], GetViewServices()->GetMouseMode()) << modes[i];
        for (int j = 0; j < 6; ++j) {
            StateCmdUI ui = State(pMain, modes[j]);
            EXPECT_EQ(i == j ? 1 : 0, ui.checked) << modes[i] << " " << modes[j];
            EXPECT_EQ(i == j ? 0 : 1, ui.enabled) << modes[i] << " " << modes[j];
        }
    }
    pMain->SendMessage(WM_COMMAND, ID_MOUSE_SELECT_ITEM);

    // Axis restrictions toggle one flag each (the map windows enable them); without a map window
    // the items are disabled and a sent command does nothing.
    int x, y, z;
    GetViewServices()->SetAxisRestrictions(0, 0, 0);
    pMain->OnRestrictYAxis();
    GetViewServices()->GetAxisRestrictions(x, y, z);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), (std::vector<int>{x, y, z}));
    pMain->OnRestrictXAxis();
    pMain->OnRestrictZAxis();
    pMain->OnRestrictYAxis();
    GetViewServices()->GetAxisRestrictions(x, y, z);
    EXPECT_EQ((std::vector<int>{1, 0, 1}), (std::vector<int>{x, y, z}));
    for (UINT id : {ID_RESTRICT_X, ID_RESTRICT_Y, ID_RESTRICT_Z})
        EXPECT_EQ(0, State(pMain, id).enabled) << id;
    pMain->SendMessage(WM_COMMAND, ID_RESTRICT_Y);
    GetViewServices()->GetAxisRestrictions(x, y, z);
    EXPECT_EQ((std::vector<int>{1, 0, 1}), (std::vector<int>{x, y, z}));
    GetViewServices()->SetAxisRestrictions(0, 0, 0);

    // Closing the frame destroys the window (it deletes itself with it).
    HWND hAdjust = pAdjust->m_hWnd;
    m_app.CloseAllDocuments(FALSE);
    pMain->SendMessage(WM_CLOSE);
    afxtest::DrainQuit();
    EXPECT_FALSE(::IsWindow(hAdjust));
}

} // namespace

namespace {

std::vector<PALETTEENTRY> EntriesOf(CPalette* pPalette)
{
    std::vector<PALETTEENTRY> entries(256);
    if (pPalette == nullptr || ::GetPaletteEntries((HPALETTE)pPalette->m_hObject, 0, 256, entries.data()) != 256)
        entries.clear();
    return entries;
}

// The frame's palette: "Morvane.pal" in the current directory when it holds a whole palette, else
// the built-in one.
TEST_F(EntityFrameFixture, TheFramesPaletteIsTheFileOrTheBuiltInOne)
{
    CMainFrame* pMain = m_app.GetMainFrame();
    char saved[MAX_PATH], temp[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    ::GetTempPathA(MAX_PATH, temp);
    CString dir = CString(temp) + "morvane_palette_test";
    ::CreateDirectoryA(dir, nullptr);
    ASSERT_TRUE(::SetCurrentDirectoryA(dir));
    HRSRC hRes = ::FindResourceA(nullptr, "PALETTE", "Palette");
    ASSERT_NE(nullptr, hRes);
    ASSERT_GE(::SizeofResource(nullptr, hRes), 768u);
    const BYTE* builtIn = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, hRes)));

    BYTE mine[768];
    for (int i = 0; i < 768; ++i)
        mine[i] = static_cast<BYTE>(255 - i / 3);
    const struct
    {
        int size;        // bytes written to Morvane.pal; -1: no file
        const BYTE* expected;
    } cases[] = {{768, mine}, {767, builtIn}, {0, builtIn}, {-1, builtIn}};
    for (const auto& c : cases) {
        ::DeleteFileA("Morvane.pal");
        if (c.size >= 0) {
            FILE* f = fopen("Morvane.pal", "wb");
            ASSERT_NE(nullptr, f);
            fwrite(mine, 1, c.size, f);
            fclose(f);
        }
        ASSERT_TRUE(pMain->LoadPalette()) << c.size;
        std::vector<PALETTEENTRY> entries = EntriesOf(pMain->GetPalette());
        ASSERT_EQ(256u, entries.size()) << c.size;
        for (int i : {0, 1, 128, 255}) {
            EXPECT_EQ(c.expected[i * 3], entries[i].peRed) << c.size << " " << i;
            EXPECT_EQ(c.expected[i * 3 + 1], entries[i].peGreen) << c.size << " " << i;
            EXPECT_EQ(c.expected[i * 3 + 2], entries[i].peBlue) << c.size << " " << i;
        }
    }
    ::DeleteFileA("Morvane.pal");
    ::SetCurrentDirectoryA(saved);
    ::RemoveDirectoryA(dir);
}

} // namespace
