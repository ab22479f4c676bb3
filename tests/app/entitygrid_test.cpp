// The Entity Editor's key/value grid on its "Key/Value" page, with real windows under Wine: rows
// loaded from an entity, value controls chosen by keys, checks, the origin refresh, Apply, the
// caption buttons and the layout; the entity colours the views ask for.
#include "AppServices.h"
#include "DocumentFixture.h"
#include "EntityClasses.h"
#include "EntityEditorDlg.h"
#include "EntityFrameSpy.h"
#include "EntityGridRules.h"
#include "IniFile.h"
#include "LibreQuakeData.h"
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "afxdlgs.h"
#include "gxcontrol.h"
#include "gxctrli.h"
#include "gxfactry.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include <string>

namespace {

class EntityGridTest : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        AfxSeamReset();
        GXInit(0x421, nullptr, nullptr);
        project.reset(new CIniFile(dir.Path("test.prj")));
        project->AddString("Paths", "Entities", "qc");
        services->SetProject(project.get());
        services->WriteProfileString("Project Settings", "Root Path", dir.Path());
        ::CreateDirectoryA(dir.Path("qc"), nullptr);
        dir.WriteFile("qc\\a.qc", "/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8) START_OFF\nA light.\n*/\n"
                                  "/*QUAKED func_door (0 .5 .8) ? START_OPEN\nA door.\n*/\n");
        for (const char* name : {"light", "func_door"})
            services->AddEntityClass(name, TestBox(-8, 8, -8, 8, -8, 8));
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        AfxGetApp()->m_pMainWnd = &frame;
        editor.reset(new CEntityEditorDlg(classes, nullptr));
        ASSERT_TRUE(editor->Create());
        frame.pEditor = editor.get();
        editor->LoadEntityClasses();
        grid = editor->m_keyValuePage.GetGrid();
        ASSERT_NE(nullptr, grid);
    }
    void TearDown() override
    {
        editor.reset();
        AfxGetApp()->m_pMainWnd = nullptr;
        frame.DestroyWindow();
        services->SetProject(nullptr);
        services->SetActiveMap(nullptr);
        DocumentTest::TearDown();
    }
    Entity* AddPairs(std::initializer_list<std::pair<const char*, const char*>> pairs)
    {
        Entity* e = new Entity(map);
        for (const auto& p : pairs)
            e->AddKeyValue(p.first, p.second);
        map->AddEntity(e);
        return e;
    }
    std::string Cell(ROWCOL r, ROWCOL c) { return std::string(grid->GetCellValue(r, c)); }
    UINT Control(ROWCOL r, ROWCOL c) { return grid->GetCellStyle(r, c).GetControl(); }
    COLORREF Background(ROWCOL r, ROWCOL c) { return grid->GetCellStyle(r, c).GetInterior().lbColor; }
    // Types a whole text into a cell through its control, as the cell's edit would take it.
    void Type(ROWCOL r, ROWCOL c, LPCSTR text)
    {
        ASSERT_TRUE(grid->PlaceCurrentCell(r, c, 0x10));
        CGXControl* control = grid->GetCurrentCellControl();
        ASSERT_NE(nullptr, control);
        control->SetCurrentText(text);
    }
    bool ButtonsEnabled() { return editor->m_apply.IsWindowEnabled() && editor->m_undo.IsWindowEnabled(); }

    CTempDir dir;
    std::unique_ptr<CIniFile> project;
    CEntityClassMap classes;
    CEntityFrameSpy frame;
    std::unique_ptr<CEntityEditorDlg> editor;
    CEntityGrid* grid = nullptr;
};

const COLORREF kSilver = RGB(192, 192, 192);
const UINT kBase = GX_IDS_CTRL_EDIT;    // the value column's own control

TEST_F(EntityGridTest, LoadingShowsThePairsInOrderWithTheirControls)
{
    EXPECT_EQ(0u, grid->GetRowCount());
    EXPECT_EQ(2u, grid->GetColCount());
    EXPECT_EQ("Key", Cell(0, 1));
    EXPECT_EQ("Value", Cell(0, 2));
    EXPECT_TRUE(grid->IsRowHidden(0));
    EXPECT_TRUE(grid->IsColHidden(0));
    EXPECT_EQ((UINT)GX_IDS_CTRL_COMBOBOX, Control(1, 1));

    Entity* light = AddPairs({{"classname", "light"}, {"origin", "1 2 3"}, {"Angle", "90"}, {"count", "4"},
                              {"WAIT", "-1"}, {"light", "200"}, {"killtarget", "t1"}, {"SpawnFlags", "1"},
                              {"mangle", "0 90 0"}, {"message", "hi"}});
    editor->SetEntity(light);
    struct
    {
        const char* key;
        const char* value;
        UINT control;
    } rows[] = {
        {"classname", "light", kBase},
        {"origin", "1 2 3", kBase},
        {"Angle", "90", GX_IDS_CTRL_ENTITY_ANGLE},
        {"count", "4", kBase},     // only a typed "count" gets the number edit
        {"WAIT", "-1", GX_IDS_CTRL_ENTITY_NEGATIVE},
        {"light", "200", GX_IDS_CTRL_ENTITY_NUMBER},
        {"killtarget", "t1", GX_IDS_CTRL_ENTITY_TARGET},
        {"SpawnFlags", "1", GX_IDS_CTRL_ENTITY_SPAWNFLAGS},
        {"mangle", "0 90 0", GX_IDS_CTRL_ENTITY_PLAIN_EDIT},
        {"message", "hi", kBase},
    };
    ASSERT_EQ(10u, grid->GetRowCount());
    for (ROWCOL r = 1; r <= 10; ++r) {
        const auto& row = rows[r - 1];
        SCOPED_TRACE(row.key);
        EXPECT_EQ(row.key, Cell(r, 1));
        EXPECT_EQ(row.value, Cell(r, 2));
        EXPECT_EQ(row.control, Control(r, 2));
        EXPECT_EQ(r == 1 ? kSilver : ::GetSysColor(COLOR_WINDOW), Background(r, 2));
    }
    EXPECT_EQ(0, frame.modified);
    EXPECT_FALSE(editor->HasUnappliedChanges());

    // Loading is no edit that can be undone; another entity replaces every row; none empties.
    EXPECT_EQ(0, grid->GetParam()->GetUndoList().GetCount());
    editor->SetEntity(AddPairs({{"classname", "func_door"}, {"speed", "5"}}));
    ASSERT_EQ(2u, grid->GetRowCount());
    EXPECT_EQ("speed", Cell(2, 1));
    EXPECT_EQ((UINT)GX_IDS_CTRL_ENTITY_NUMBER, Control(2, 2));
    // A key left blank in the middle of its edit does not keep the old rows from going.
    Type(2, 1, "");
    editor->SetEntity(nullptr);
    EXPECT_EQ(0u, grid->GetRowCount());
    EXPECT_TRUE(services->boxes.empty());
}

TEST_F(EntityGridTest, TypedKeysChooseTheValueControlAndResetTheValue)
{
    editor->SetEntity(AddPairs({{"classname", "light"}}));
    struct
    {
        const char* key;
        UINT control;       // kBase: the control stays what it was
        const char* value;  // after typing, starting from "keep"
    } cases[] = {
        {"COUNT", GX_IDS_CTRL_ENTITY_NUMBER, ""}, {"Angle", GX_IDS_CTRL_ENTITY_ANGLE, "0"},
        {"target", GX_IDS_CTRL_ENTITY_TARGET, "keep"}, {"KillTarget", GX_IDS_CTRL_ENTITY_TARGET, "keep"},
        {"mangle", GX_IDS_CTRL_ENTITY_PLAIN_EDIT, "0 0 0"}, {"spawnFLAGS", GX_IDS_CTRL_ENTITY_SPAWNFLAGS, "0"},
        {"Lip", GX_IDS_CTRL_ENTITY_NEGATIVE, ""}, {"t_width", GX_IDS_CTRL_ENTITY_NUMBER, ""},
        {"message", kBase, "keep"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        int before = frame.modified;
        editor->m_keyValuePage.m_panel.RunButton(CGridPanel::btnNew);
        ROWCOL r = grid->GetRowCount();
        grid->SetValueRange(CGXRange(r, 2), "keep");
        Type(r, 1, c.key);
        EXPECT_EQ(c.key, std::string(grid->GetCellText(r, 1)));
        EXPECT_EQ(c.control, Control(r, 2));
        EXPECT_EQ(c.value, Cell(r, 2));
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), Background(r, 2));
        EXPECT_EQ(before + 1, frame.modified);
    }
    EXPECT_TRUE(ButtonsEnabled());
    // A key typed away again leaves the value cell silver and its control as it was.
    ROWCOL r = grid->GetRowCount();
    Type(r - 1, 1, "");
    EXPECT_EQ(kSilver, Background(r - 1, 2));
    EXPECT_EQ((UINT)GX_IDS_CTRL_ENTITY_NUMBER, Control(r - 1, 2));
}

TEST_F(EntityGridTest, LeavingACellChecksBlankKeysAndMangles)
{
    editor->SetEntity(AddPairs({{"classname", "light"}, {"mangle", "0 0 0"}, {"Mangle", "0 0 0"}}));
    struct
    {
        ROWCOL row;
        const char* value;
        const char* warning;   // "" accepted
    } cases[] = {
        {2, "0 90 -1", ""},
        {2, "0 90", "Invalid 3rd angle in mangle.  Must be \"<angle> <angle> <angle>\""},
        {2, "0 91 0", "Invalid 2nd angle in mangle.  Must be \"<angle> <angle> <angle>\""},
        {2, "x", "Invalid 1st angle in mangle.  Must be \"<angle> <angle> <angle>\""},
        {2, "0 0 0 99", ""},
        {3, "x", ""},   // the game reads only the lower-case key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        grid->SetTextField(nullptr);
        Type(c.row, 2, c.value);
        EXPECT_EQ(*c.warning == 0, grid->OnValidateCell(c.row, 2) != FALSE);
        EXPECT_EQ(c.warning, std::string(grid->GetWarningText()));
        grid->TransferCurrentCell(FALSE);
    }
    grid->SetTextField(nullptr);
    Type(2, 1, "");
    EXPECT_FALSE(grid->OnValidateCell(2, 1));
    EXPECT_EQ("Please enter a key, it cannot be blank.", std::string(grid->GetWarningText()));
    grid->TransferCurrentCell(FALSE);
}

// A double quote or a line break typed into a key or a value is refused where it is typed, with the
// cell kept; a row that holds one all the same is left out by Apply, as the model refuses it.
TEST_F(EntityGridTest, QuotesAndLineBreaksAreRefusedInKeysAndValues)
{
    Entity* door = AddPairs({{"classname", "func_door"}, {"message", "hi"}});
    editor->SetEntity(door);
    struct
    {
        ROWCOL col;
        const char* text;
    } cases[] = {{1, "mes\"sage"}, {2, "say \"hi\" now"}, {2, "two\nlines"}, {2, "two\r\nlines"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        grid->SetTextField(nullptr);
        Type(2, c.col, c.text);
        EXPECT_FALSE(grid->OnValidateCell(2, c.col));
        EXPECT_EQ(std::string(kUnwritableKeyText), std::string(grid->GetWarningText()));
        grid->TransferCurrentCell(FALSE);
    }
    grid->SetTextField(nullptr);
    Type(2, 2, "say 'hi' now");
    EXPECT_TRUE(grid->OnValidateCell(2, 2));
    grid->TransferCurrentCell(FALSE);

    // Typed with the keyboard: the box shows the warning and the cell stays current.
    editor->SetWindowPos(nullptr, 100, 100, 600, 400, SWP_NOZORDER);
    editor->ShowWindow(SW_SHOW);
    ASSERT_TRUE(afxtest::Activate(editor.get()));
    CPoint pt = grid->CalcCellRect(2, 2).CenterPoint();
    pt.x -= 10;
    grid->ClientToScreen(&pt);
    afxtest::InputScript s;
    s.MoveTo(pt).Click().Key(VK_END).KeyDown(VK_SHIFT).Key(VK_OEM_7).KeyUp(VK_SHIFT).Key(VK_TAB);
    AfxSeamAnswer(IDOK);
    ASSERT_TRUE(s.Run());
    ASSERT_EQ(1u, AfxSeamCalls().size());
    EXPECT_EQ(CString(kUnwritableKeyText), AfxSeamCalls()[0].text);
    EXPECT_TRUE(grid->IsCurrentCellAt(2, 2));
    grid->TransferCurrentCell(FALSE);

    // A row that holds one all the same (set past the cell's check) is left out by Apply.
    Select(door);
    map->SetCurrentEntity(door);
    services->SetActiveMap(map);
    editor->SetEntity(door);
    grid->SetValueRange(CGXRange(2, 2), "say \"hi\" now");
    services->boxes.clear();
    frame.SendMessage(WM_ENTITY_MODIFIED); // the grid's notice of the change
    editor->Apply();
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("The Key/Value pair on row 2 is invalid, it will be ignored.", services->boxes[0].text);
    EXPECT_EQ(nullptr, door->FindValue("message"));
    EXPECT_STREQ("func_door", door->ValueForKey("classname"));
}

TEST_F(EntityGridTest, TheOriginRefreshChangesTheFirstOriginRowOnlyAndKeepsPendingEdits)
{
    Entity* light = AddPairs({{"classname", "light"}, {"Origin", "0 0 0"}, {"origin", "1 1 1"}, {"origin", "2 2 2"}});
    editor->SetEntity(light);
    services->SetActiveMap(map);
    Type(1, 2, "func_door");
    grid->TransferCurrentCell(TRUE);
    ASSERT_TRUE(ButtonsEnabled());
    editor->UpdateOrigin("8 16 24");
    EXPECT_EQ("0 0 0", Cell(2, 2));
    EXPECT_EQ("8 16 24", Cell(3, 2));
    EXPECT_EQ("2 2 2", Cell(4, 2));
    // The rows reached the working entity without a word; the pending edit and the buttons stay.
    EXPECT_STREQ("func_door", editor->GetWorkingEntity().ValueForKey("classname"));
    EXPECT_STREQ("8 16 24", editor->GetWorkingEntity().ValueForKey("origin"));
    EXPECT_TRUE(editor->HasUnappliedChanges());
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_TRUE(services->boxes.empty());
    // Without an "origin" row nothing changes.
    editor->SetEntity(AddPairs({{"classname", "func_door"}}));
    editor->UpdateOrigin("1 2 3");
    EXPECT_EQ(1u, grid->GetRowCount());
    EXPECT_EQ("func_door", Cell(1, 2));
}

TEST_F(EntityGridTest, ApplyLeavesOutAnInvalidRowWithOneBoxNamingIt)
{
    Entity* door = AddPairs({{"classname", "func_door"}, {"speed", "100"}});
    Select(door);
    map->SetCurrentEntity(door);
    services->SetActiveMap(map);
    editor->SetEntity(door);
    Type(2, 2, "");
    EXPECT_TRUE(editor->HasUnappliedChanges());
    editor->Apply();    // what the cell's edit holds is taken too
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("The Key/Value pair on row 2 is invalid, it will be ignored.", services->boxes[0].text);
    EXPECT_EQ(1, editor->GetWorkingEntity().GetKeyValues().GetCount());
    EXPECT_EQ(nullptr, door->FindValue("speed"));
    EXPECT_STREQ("func_door", door->ValueForKey("classname"));
    EXPECT_FALSE(editor->HasUnappliedChanges());
    // The rows stay as the user left them.
    EXPECT_EQ(2u, grid->GetRowCount());

    // Without its "classname" row the entity is not written into the map.
    grid->PlaceCurrentCell(1, 1);
    ASSERT_TRUE(grid->RemoveRow());
    editor->Apply();
    ASSERT_EQ(3u, services->boxes.size());
    EXPECT_EQ("The Key/Value pair on row 1 is invalid, it will be ignored.", services->boxes[1].text);
    EXPECT_EQ("A correct entity is not selected.\nSelect one with a red box.", services->boxes[2].text);
    EXPECT_STREQ("func_door", door->ValueForKey("classname"));
    EXPECT_TRUE(editor->HasUnappliedChanges());
}

TEST_F(EntityGridTest, CaptionButtonsAddAndRemoveRows)
{
    CGridPanel& panel = editor->m_keyValuePage.m_panel;
    CString caption;
    panel.GetWindowText(caption);
    EXPECT_STREQ("Key/Value Pair:", caption);
    editor->SetEntity(AddPairs({{"classname", "func_door"}, {"a", "1"}, {"b", "2"}}));
    // Without a current cell Delete does nothing.
    EXPECT_FALSE(grid->RemoveRow());
    EXPECT_EQ(3u, grid->GetRowCount());
    EXPECT_EQ(0, frame.modified);

    // A press and release on New adds an empty row at the end; a release outside does nothing.
    auto press = [&](int button, CPoint release) {
        CPoint down = panel.GetButtonRect(button).CenterPoint();
        panel.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
        panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    };
    press(CGridPanel::btnNew, panel.GetButtonRect(CGridPanel::btnNew).CenterPoint());
    ASSERT_EQ(4u, grid->GetRowCount());
    EXPECT_EQ("", Cell(4, 1));
    press(CGridPanel::btnNew, CPoint(0, 0));
    EXPECT_EQ(4u, grid->GetRowCount());
    EXPECT_FALSE(panel.IsButtonDrawnPressed(CGridPanel::btnNew));

    // Delete takes the current cell's row and tells the editor.
    grid->PlaceCurrentCell(2, 2);
    press(CGridPanel::btnDelete, panel.GetButtonRect(CGridPanel::btnDelete).CenterPoint());
    ASSERT_EQ(3u, grid->GetRowCount());
    EXPECT_EQ("b", Cell(2, 1));
    EXPECT_EQ(1, frame.modified);
    EXPECT_TRUE(editor->HasUnappliedChanges());
    EXPECT_EQ(2, panel.m_tips.GetToolCount());
    // Delete sits at the right end of the caption, New to its left.
    CRect client;
    panel.GetClientRect(&client);
    EXPECT_GE(panel.GetButtonRect(CGridPanel::btnDelete).right, client.right - 2);
    EXPECT_EQ(panel.GetButtonRect(CGridPanel::btnDelete).left - 1, panel.GetButtonRect(CGridPanel::btnNew).right);
}

TEST_F(EntityGridTest, ResizingTheEditorWidensTheValueColumn)
{
    editor->SetEntity(AddPairs({{"classname", "light"}}));
    editor->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE);
    int before = grid->GetColWidth(2);
    CRect rect;
    editor->SetWindowPos(nullptr, 0, 0, 700, 400, SWP_NOZORDER | SWP_NOMOVE);
    grid->GetClientRect(&rect);
    EXPECT_EQ(rect.Width() - 1, grid->GetColWidth(1) + grid->GetColWidth(2));
    EXPECT_GT(grid->GetColWidth(2), before + 200);
    // The panel's caption sits above the grid, inside the page.
    CRect panel, grid2;
    editor->m_keyValuePage.m_panel.GetWindowRect(&panel);
    grid->GetWindowRect(&grid2);
    EXPECT_GE(grid2.top - panel.top, editor->m_keyValuePage.m_panel.LoadCaption());
}

// LibreQuake's classes and one of its maps: selected entities show their pairs in the grid, and a
// pair added in the grid, applied and saved, is in the written map file.
TEST_F(EntityGridTest, ALibreQuakeMapEditedThroughTheGrid)
{
    SKIP_WITHOUT_SHARED_DATA(kLibreQuakeMap);
    ASSERT_EQ(96, LoadLibreQuakeClasses(*editor, classes, *services, *project));
    services->boxes.clear();
    ASSERT_TRUE(map->OnOpenDocument(kLibreQuakeMap));
    for (const auto& box : services->boxes)
        EXPECT_EQ(std::string::npos, box.text.find("classname")) << box.text;
    services->boxes.clear();
    services->SetActiveMap(map);
    auto find = [&](LPCSTR name) { return FindEntityOfClass(*map, name); };
    for (const char* name : {"light", "monster_knight", "func_door", "trigger_teleport"}) {
        SCOPED_TRACE(name);
        Entity* e = find(name);
        ASSERT_NE(nullptr, e);
        editor->SetEntity(e);
        EXPECT_TRUE(services->boxes.empty());
        ASSERT_EQ(static_cast<ROWCOL>(e->GetKeyValues().GetCount()), grid->GetRowCount());
        ROWCOL r = 1;
        for (POSITION pos = e->GetKeyValues().GetHeadPosition(); pos; ++r) {
            auto* pair = static_cast<CKeyValue*>(e->GetKeyValues().GetNext(pos));
            EXPECT_EQ(std::string(pair->GetKey()), Cell(r, 1));
            EXPECT_EQ(std::string(pair->GetValue()), Cell(r, 2));
        }
    }
    Entity* knight = find("monster_knight");
    editor->SetEntity(knight);
    Select(knight);
    map->SetCurrentEntity(knight);
    editor->m_keyValuePage.m_panel.RunButton(CGridPanel::btnNew);
    Type(grid->GetRowCount(), 1, "target");
    Type(grid->GetRowCount(), 2, "gate1");
    editor->Apply();
    EXPECT_TRUE(services->boxes.empty());
    EXPECT_FALSE(editor->HasUnappliedChanges());
    ASSERT_TRUE(map->OnSaveDocument(dir.Path("e2m2.map")));
    EXPECT_NE(std::string::npos, dir.ReadFile("e2m2.map").find("\"target\" \"gate1\""));
    services->SetActiveMap(nullptr);
    editor->SetEntity(nullptr);
    knight->SetSelected(false);
    map->GetSelection().RemoveAll();
}

// A light read past the coordinate range, its "light" typed anew in the grid and applied: the edit
// is made without a word and the map is saved with the origin as the file has it.
TEST_F(EntityGridTest, ApplyOnALightReadPastTheRangeKeepsItsOrigin)
{
    dir.WriteFile("far.map", "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"w.wad\"\r\n}\r\n"
                             "{\r\n\"classname\" \"light\"\r\n\"origin\" \"40000 0 0\"\r\n\"light\" \"300\"\r\n}\r\n");
    ASSERT_TRUE(map->OnOpenDocument(dir.Path("far.map")));
    services->SetActiveMap(map);
    Entity* light = static_cast<Entity*>(map->GetEntities().GetTail());
    Select(light);
    map->UpdateCurrentEntity();
    editor->SetEntity(light);
    ASSERT_EQ("light", Cell(3, 1));
    services->boxes.clear();
    Type(3, 2, "200");
    editor->Apply();
    EXPECT_TRUE(services->boxes.empty()) << services->boxes[0].text;
    EXPECT_FALSE(editor->HasUnappliedChanges());
    EXPECT_STREQ("200", light->ValueForKey("light"));
    EXPECT_STREQ("40000 0 0", light->ValueForKey("origin"));
    EXPECT_EQ("40000 0 0", Cell(2, 2));
    ASSERT_TRUE(map->OnSaveDocument(dir.Path("saved.map")));
    const std::string saved = dir.ReadFile("saved.map");
    EXPECT_NE(std::string::npos, saved.find("\"origin\" \"40000 0 0\"\r\n  \"light\" \"200\"")) << saved;
    services->SetActiveMap(nullptr);
    editor->SetEntity(nullptr);
    light->SetSelected(false);
    map->GetSelection().RemoveAll();
}

// The views ask for an entity's colour for every entity they paint: the two colours come from
// the settings once, and again only when the colours are made anew.
class CCountingServices : public CAppServices
{
public:
    int reads = 0;
    int GetProfileInt(LPCSTR section, LPCSTR key, int def) override
    {
        if (CString(section) == "Colors" && (CString(key) == "Entity" || CString(key) == "Brush"))
            ++reads;
        return CAppServices::GetProfileInt(section, key, def);
    }
};

TEST(EntityColors, AreReadOnceAndAgainWhenTheColorsChange)
{
    CCountingServices counting;
    for (int i = 0; i < 100; ++i) {
        counting.GetEntityColor("worldspawn");
        counting.GetEntityColor("monster_dog");
    }
    EXPECT_EQ(2, counting.reads);
    counting.CreateColors();
    EXPECT_EQ(4, counting.reads);
    counting.GetEntityColor("light");
    EXPECT_EQ(4, counting.reads);
}

// Typing into the cells with the keyboard and the mouse, and a key's drop-down list.
// Keys and values may hold any bytes: the byte 0x98 after a digit, a punctuation mark or a symbol,
// or at a line's start, makes Wine 8's edit controls fault in some fonts. Each cell is
// clicked into its edit and left, and Find opens on it: nothing changes that was not typed.
TEST_F(EntityGridTest, CellsOfAnyBytesAreEditedInPlaceAndKeptUnlessTyped)
{
    const char* const values[][2] = {{"message", "=\x98"}, {"target", "\xbf\x98"}, {"angle", "1\x98"},
                                     {".\x98", "\x98"}, {"mangle", "\x98 0 0"}};
    Entity* light = AddPairs({{"classname", "light"}, {"origin", "0 0 0"}, {values[0][0], values[0][1]}, {values[1][0], values[1][1]},
                              {values[2][0], values[2][1]}, {values[3][0], values[3][1]}, {values[4][0], values[4][1]}});
    editor->SetWindowPos(nullptr, 100, 100, 600, 400, SWP_NOZORDER);
    editor->ShowWindow(SW_SHOW);
    editor->SetEntity(light);
    const ROWCOL rows = grid->GetRowCount();
    ASSERT_EQ(7u, rows);
    for (ROWCOL r = 3; r <= rows; ++r)
        for (ROWCOL c = 1; c <= 2; ++c) {
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            const CPoint pt = grid->CalcCellRect(r, c).CenterPoint();
            grid->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            grid->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            afxtest::PumpMessages();
            ASSERT_TRUE(grid->IsCurrentCellAt(r, c));
            grid->UpdateWindow();
            CGXControl* control = grid->GetCurrentCellControl();
            ASSERT_NE(nullptr, control);
            // The cell's own edit window shows the text.
            CWnd* pEdit = control->GetWnd();
            ASSERT_NE(nullptr, pEdit);
            CString shown;
            pEdit->GetWindowText(shown);
            EXPECT_STREQ(values[r - 3][c - 1], shown);
        }
    // Find proposes the cell's text.
    grid->ShowFindReplaceDialog(TRUE);
    FindReplaceState* s = GXGetFindReplaceState();
    ASSERT_NE(nullptr, s->pDialog);
    HWND hFind = s->pDialog->GetSafeHwnd();
    char found[32] = "";
    ::GetDlgItemTextA(hFind, edt1, found, sizeof found);
    EXPECT_STREQ("\x98 0 0", found);
    ::SendMessageA(hFind, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(hFind, IDCANCEL));
    afxtest::PumpMessages();

    ASSERT_TRUE(grid->PlaceCurrentCell(1, 1, 0x10));
    EXPECT_EQ(0, frame.modified);
    EXPECT_FALSE(editor->HasUnappliedChanges());
    for (ROWCOL r = 3; r <= rows; ++r) {
        EXPECT_EQ(values[r - 3][0], Cell(r, 1));
        EXPECT_EQ(values[r - 3][1], Cell(r, 2));
    }
}

TEST_F(EntityGridTest, TypingIntoCells)
{
    editor->SetEntity(AddPairs({{"classname", "light"}}));
    editor->SetWindowPos(nullptr, 100, 100, 600, 400, SWP_NOZORDER);
    editor->ShowWindow(SW_SHOW);
    ASSERT_TRUE(afxtest::Activate(editor.get()));
    editor->m_keyValuePage.m_panel.RunButton(CGridPanel::btnNew);
    auto centre = [&](ROWCOL r, ROWCOL c) {
        CPoint pt = grid->CalcCellRect(r, c).CenterPoint();
        pt.x -= 10;
        grid->ClientToScreen(&pt);
        return pt;
    };
    afxtest::InputScript s;
    s.MoveTo(centre(2, 1)).Click();
    for (char ch : std::string("SPEED"))
        s.KeyDown(VK_SHIFT).Key(static_cast<BYTE>(ch)).KeyUp(VK_SHIFT);
    s.Key(VK_TAB);
    for (char ch : std::string("12"))
        s.Key(static_cast<BYTE>(ch));
    s.Key(VK_TAB);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ("SPEED", Cell(2, 1));
    EXPECT_EQ("12", Cell(2, 2));
    EXPECT_EQ((UINT)GX_IDS_CTRL_ENTITY_NUMBER, Control(2, 2));
    EXPECT_TRUE(editor->HasUnappliedChanges());

    // The key's list opens with Alt+Down and closes with Escape, the key unchanged.
    auto* combo = dynamic_cast<CGXComboBox*>(grid->GetControlForId(GX_IDS_CTRL_COMBOBOX));
    ASSERT_NE(nullptr, combo);
    afxtest::InputScript open;
    open.MoveTo(centre(2, 1)).Click().KeyDown(VK_MENU).Key(VK_DOWN).KeyUp(VK_MENU);
    ASSERT_TRUE(open.Run());
    EXPECT_TRUE(combo->IsDropListVisible());
    afxtest::InputScript close;
    close.Key(VK_ESCAPE);
    ASSERT_TRUE(close.Run());
    EXPECT_FALSE(combo->IsDropListVisible());
    EXPECT_EQ("SPEED", Cell(2, 1));

    // A bad mangle is refused when the cell is left: the box shows the warning, the cell stays.
    afxtest::InputScript mangle;
    mangle.MoveTo(centre(2, 1)).Click().Key(VK_END);
    for (int i = 0; i < 5; ++i)
        mangle.Key(VK_BACK);
    for (char ch : std::string("MANGLE"))
        mangle.Key(static_cast<BYTE>(ch));
    mangle.Key(VK_TAB).Key(VK_END);
    for (int i = 0; i < 6; ++i)
        mangle.Key(VK_BACK);
    mangle.Key('1').Key(VK_TAB);
    AfxSeamAnswer(IDOK);
    ASSERT_TRUE(mangle.Run());
    ASSERT_EQ(1u, AfxSeamCalls().size());
    EXPECT_EQ(CString("Invalid 1st angle in mangle.  Must be \"<angle> <angle> <angle>\""), AfxSeamCalls()[0].text);
    EXPECT_TRUE(grid->IsCurrentCellAt(2, 2));
}

// The screen while the user edits worldspawn's "wad" of LibreQuake's e2m2 in the editor: its long
// value is edited wrapped, over the rows below, and when it is left the rows show again as the grid
// draws them; after Enter has stored a cell, what is typed next shows in it while it is typed (in
// the value's edit and in the key's combo box alike), not only once the cell is left.
TEST_F(EntityGridTest, EditingWorldspawnsWadShowsOnTheScreen)
{
    SKIP_WITHOUT_SHARED_DATA(kLibreQuakeMap);
    ASSERT_EQ(96, LoadLibreQuakeClasses(*editor, classes, *services, *project));
    ASSERT_TRUE(map->OnOpenDocument(kLibreQuakeMap));
    services->boxes.clear();
    services->SetActiveMap(map);
    editor->SetEntity(FindEntityOfClass(*map, "worldspawn"));
    editor->SetWindowPos(nullptr, 100, 100, 600, 400, SWP_NOZORDER);
    editor->ShowWindow(SW_SHOW);
    ASSERT_TRUE(afxtest::Activate(editor.get()));
    ASSERT_EQ("wad", Cell(2, 1));
    auto centre = [&](ROWCOL r, ROWCOL c) {
        CPoint pt = grid->CalcCellRect(r, c).CenterPoint();
        grid->ClientToScreen(&pt);
        return pt;
    };
    // The current cell's edit window, shown, and where it lies in the grid.
    auto shownEdit = [&](CRect& rect) -> CGXEditControl* {
        auto* edit = dynamic_cast<CGXEditControl*>(grid->GetCurrentCellControl());
        if (edit == nullptr || !edit->IsWindowVisible())
            return nullptr;
        edit->GetWindowRect(&rect);
        grid->ScreenToClient(&rect);
        return edit;
    };

    afxtest::InputScript wrapped;
    wrapped.MoveTo(centre(2, 2)).Click().Key(VK_END);
    ASSERT_TRUE(wrapped.Run());
    CRect shown;
    ASSERT_NE(nullptr, shownEdit(shown));
    const CRect below(0, grid->CalcCellRect(2, 2).bottom + 1, shown.right, shown.bottom);
    ASSERT_GT(shown.bottom, grid->CalcCellRect(3, 2).bottom) << "the edit reaches over the rows below";
    afxtest::InputScript leave;
    leave.Key(VK_DOWN);
    ASSERT_TRUE(leave.Run());
    const afxtest::ScreenShot left(grid);
    grid->Invalidate();
    grid->UpdateWindow();
    EXPECT_EQ(left.Ink(below), afxtest::ScreenShot(grid).Ink(below));

    for (ROWCOL col : {2, 1}) {
        SCOPED_TRACE(col == 2 ? "the value" : "the key");
        afxtest::InputScript typing;
        typing.MoveTo(centre(2, col)).Click().Key('X').Key('Y').Key('Z').Key(VK_RETURN).Key('A').Key('B').Key('C');
        ASSERT_TRUE(typing.Run());
        CGXEditControl* edit = shownEdit(shown);
        ASSERT_NE(nullptr, edit);
        ASSERT_EQ(CString("abc"), edit->GetEditText());
        edit->HideCaret();
        EXPECT_EQ(afxtest::ScreenShot(grid).Ink(shown), afxtest::TextInk(edit->GetFont(), "abc"));
        edit->ShowCaret();
    }
    EXPECT_TRUE(services->boxes.empty());
    services->SetActiveMap(nullptr);
    editor->SetEntity(nullptr);
}

} // namespace
