// The Entity Editor: class pens and visibility by nearest prefix, the class tree over the shell's
// reader, and the editing flow on a map document, with the editor's real window under Wine.
#include "DocumentFixture.h"
#include "EntityClasses.h"
#include "EntityEditorDlg.h"
#include "IniFile.h"
#include "LibreQuakeData.h"
#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace {

COLORREF PenColor(CPen* pen)
{
    LOGPEN lp = {};
    if (!pen || !::GetObjectA(pen->m_hObject, sizeof lp, &lp))
        return CLR_INVALID;
    return lp.lopnColor & 0x00FFFFFF;
}

TEST(EntityClassStyles, NearestPrefixPensAndVisibility)
{
    CEntityClassStyles styles;
    styles.SetPen("a", RGB(1, 0, 0));
    styles.SetPen("a_b", RGB(2, 0, 0));
    styles.SetVisibility("a", 0, FALSE);
    styles.SetVisibility("a_b_c", 1, FALSE);
    struct
    {
        const char* name;
        COLORREF pen;       // CLR_INVALID: none
        int visible;
    } cases[] = {
        {"a_b_c", RGB(2, 0, 0), 1}, {"a_b_c_d", RGB(2, 0, 0), 1}, {"a_b", RGB(2, 0, 0), 0},
        {"a_x", RGB(1, 0, 0), 0},   {"a", RGB(1, 0, 0), 0},       {"ab", CLR_INVALID, -1},
        {"b_a", CLR_INVALID, -1},   {"", CLR_INVALID, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.pen, PenColor(styles.GetPen(c.name)));
        EXPECT_EQ(c.visible, styles.IsVisible(c.name));
    }
    EXPECT_EQ(nullptr, styles.GetPen(nullptr));
    EXPECT_EQ(-1, styles.IsVisible(nullptr));

    // A colour on a group drops the pens of the paths below it, not of look-alike names.
    styles.SetPen("a_b_c", RGB(3, 0, 0));
    styles.SetPen("ab", RGB(4, 0, 0));
    styles.RemovePensBelow("a");
    EXPECT_EQ(RGB(1, 0, 0), PenColor(styles.GetPen("a_b_c")));
    EXPECT_EQ(RGB(4, 0, 0), PenColor(styles.GetPen("ab")));
    EXPECT_EQ(2, styles.GetPenCount());

    // Hiding a group hides what lies below it; showing one child afterwards shows it alone.
    for (const char* p : {"m", "m_x", "m_x_y", "m_z", "mm"})
        styles.AddVisibility(p);
    styles.SetVisibility("m", 0, TRUE);
    styles.SetVisibility("m_x", 1, FALSE);
    EXPECT_EQ(1, styles.IsVisible("m_x"));
    EXPECT_EQ(0, styles.IsVisible("m_x_y"));
    EXPECT_EQ(0, styles.IsVisible("m_z"));
    EXPECT_EQ(1, styles.IsVisible("mm"));
    // Adding a path that has a state keeps it.
    styles.AddVisibility("m_z");
    EXPECT_EQ(0, styles.IsVisible("m_z"));

    COLORREF color;
    EXPECT_FALSE(ParseColorText("0 127", color));
    EXPECT_FALSE(styles.SetPen("q", "x"));
    EXPECT_EQ(nullptr, styles.GetPen("q"));
}

// The editor's real window over a project of its own with .qc files.
class EntityEditorTest : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        project.reset(new CIniFile(dir.Path("test.prj")));
        project->AddString("Paths", "Entities", "qc");
        services->SetProject(project.get());
        services->WriteProfileString("Project Settings", "Root Path", dir.Path());
        ::CreateDirectoryA(dir.Path("qc"), nullptr);
        // The model sizes the test's entities from the services' classes.
        for (const char* name : {"info_player_start", "func_door", "light"})
            services->AddEntityClass(name, TestBox(-16, 16, -16, 16, -24, 32));
        editor.reset(new CEntityEditorDlg(classes, nullptr));
        ASSERT_TRUE(editor->Create());
    }
    void TearDown() override
    {
        editor.reset();
        services->SetProject(nullptr);
        services->SetActiveMap(nullptr);
        DocumentTest::TearDown();
    }
    void WriteQc(LPCSTR name, const std::string& text) { dir.WriteFile(CString("qc\\") + name, text); }
    HTREEITEM Find(LPCSTR path)
    {
        return classes.Lookup(path) ? static_cast<HTREEITEM>(classes.Lookup(path)->treeItem) : FindGroup(path);
    }
    HTREEITEM FindGroup(LPCSTR path, HTREEITEM parent = nullptr)
    {
        CTreeCtrl& tree = editor->m_tree;
        for (HTREEITEM h = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); h; h = tree.GetNextSiblingItem(h)) {
            if (editor->GetItemPath(h) == path)
                return h;
            if (HTREEITEM found = FindGroup(path, h))
                return found;
        }
        return nullptr;
    }
    // Every item's data is a record of the current class map (or none).
    void ExpectNoStaleItems(HTREEITEM parent = nullptr)
    {
        std::set<const void*> live;
        for (POSITION pos = classes.GetStartPosition(); pos;)
            live.insert(classes.GetNext(pos));
        CTreeCtrl& tree = editor->m_tree;
        for (HTREEITEM h = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); h; h = tree.GetNextSiblingItem(h)) {
            DWORD_PTR data = tree.GetItemData(h);
            EXPECT_TRUE(data == 0 || live.count(reinterpret_cast<const void*>(data))) << editor->GetItemPath(h);
            ExpectNoStaleItems(h);
        }
    }
    bool ButtonsEnabled() { return editor->m_apply.IsWindowEnabled() && editor->m_undo.IsWindowEnabled(); }
    bool ButtonsDisabled() { return !editor->m_apply.IsWindowEnabled() && !editor->m_undo.IsWindowEnabled(); }

    const std::string kDefs = "/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8) START_OFF\nA light.\n*/\n"
                              "/*QUAKED func_door (0 .5 .8) ? START_OPEN\nA door.\n*/\n"
                              "/*QUAKED func_wall (0 .5 .8) ?\n*/\n"
                              "/*QUAKED info_player_start (1 0 0) (-16 -16 -24) (16 16 32)\n*/\n";
    CTempDir dir;
    std::unique_ptr<CIniFile> project;
    CEntityClassMap classes;
    std::unique_ptr<CEntityEditorDlg> editor;
};

TEST_F(EntityEditorTest, LoadingFillsTheTreeAndMakesPensForPointClassesOnly)
{
    WriteQc("a.qc", kDefs);
    WriteQc("b.qc", "/*QUAKED a_x (0 0 1) ?\n*/\n/*QUAKED a_y (0 0 1) (0 0 0) (1 1 1)\n*/\n/*QUAKED a (1 1 1) ?\n*/\n"
                    "/*QUAKED " + std::string(300, 'q') + "_tail (0 0 0) ?\n*/\n");
    EXPECT_FALSE(editor->IsReady());
    EXPECT_EQ(8, editor->LoadEntityClasses());
    EXPECT_TRUE(editor->IsReady());
    ASSERT_EQ(3u, services->statuses.size());
    EXPECT_EQ("Loading Entities...", services->statuses[0]);
    EXPECT_EQ("Loaded 8 entities", services->statuses[1]);
    EXPECT_EQ("Entities Loaded", services->statuses[2]);
    EXPECT_TRUE(services->boxes.empty());

    // Pens for point classes only, from their colour texts.
    EXPECT_EQ(RGB(0, 255, 0), PenColor(editor->GetEntityPen("light")));
    EXPECT_EQ(RGB(0, 255, 0), PenColor(editor->GetEntityPen("light_torch")));
    EXPECT_EQ(nullptr, editor->GetEntityPen("func_door"));
    EXPECT_EQ(RGB(0, 0, 255), PenColor(editor->GetEntityPen("a_y")));
    EXPECT_EQ(2 + 1, editor->GetStyles().GetPenCount());

    // The tree: a_x and a_y under the group a, which carries the class a; top-level leaves.
    CTreeCtrl& tree = editor->m_tree;
    HTREEITEM a = Find("a");
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(nullptr, tree.GetParentItem(a));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(classes.Lookup("a")), tree.GetItemData(a));
    HTREEITEM ax = Find("a_x");
    ASSERT_NE(nullptr, ax);
    EXPECT_EQ(a, tree.GetParentItem(ax));
    EXPECT_EQ(a, tree.GetParentItem(Find("a_y")));
    EXPECT_STREQ("x", tree.GetItemText(ax));
    EXPECT_EQ(0, editor->GetItemImageFor(ax));
    EXPECT_EQ(4, editor->GetItemImageFor(a));
    tree.Expand(a, TVE_EXPAND);
    EXPECT_EQ(8, editor->GetItemImageFor(a));
    HTREEITEM func = FindGroup("func");
    ASSERT_NE(nullptr, func);
    EXPECT_EQ(0u, tree.GetItemData(func));
    EXPECT_EQ(2, editor->GetItemImageFor(func));
    tree.Expand(func, TVE_EXPAND);
    EXPECT_EQ(6, editor->GetItemImageFor(func));
    EXPECT_EQ(nullptr, tree.GetParentItem(Find("light")));
    // Siblings are sorted.
    EXPECT_STREQ("door", tree.GetItemText(tree.GetChildItem(func)));
    // A 300-character part reaches the tree whole.
    HTREEITEM longGroup = FindGroup(std::string(300, 'q').c_str());
    ASSERT_NE(nullptr, longGroup);
    EXPECT_EQ(300, tree.GetItemText(longGroup).GetLength());
    EXPECT_EQ(Find((std::string(300, 'q') + "_tail").c_str()), tree.GetChildItem(longGroup));
    // Every path has a visibility switch, on.
    for (const char* p : {"a", "a_x", "func", "func_door", "info", "info_player", "info_player_start"})
        EXPECT_EQ(1, editor->IsEntityVisible(p)) << p;
    EXPECT_EQ(-1, editor->IsEntityVisible("monster_dog"));
}

TEST_F(EntityEditorTest, ReloadingLeavesNothingOnAFreedRecordAndKeepsPensAndSwitches)
{
    WriteQc("a.qc", kDefs);
    editor->LoadEntityClasses();
    Entity* door = AddEntity("func_door");
    editor->SetEntity(door);
    EXPECT_EQ(classes.Lookup("func_door"), editor->GetCurrentClass());
    EXPECT_STREQ("A door.\r\n", editor->GetHelpText());
    // The user's colour on the group and a hidden class.
    editor->m_tree.SelectItem(FindGroup("func"));
    editor->SetClassColor(RGB(9, 8, 7));
    editor->GetStyles().SetVisibility("info", 0, TRUE);

    WriteQc("a.qc", kDefs + "/*QUAKED func_plat (0 .5 .8) ?\n*/\n");
    EXPECT_EQ(5, editor->LoadEntityClasses());
    ExpectNoStaleItems();
    EXPECT_EQ(nullptr, editor->GetEditedEntity());
    EXPECT_EQ(nullptr, editor->GetCurrentClass());
    EXPECT_TRUE(editor->GetHelpText().IsEmpty());
    EXPECT_EQ(0, editor->GetWorkingEntity().GetKeyValues().GetCount());
    EXPECT_EQ(Find("func_plat"), static_cast<HTREEITEM>(classes.Lookup("func_plat")->treeItem));
    EXPECT_EQ(RGB(9, 8, 7), PenColor(editor->GetEntityPen("func_plat")));
    EXPECT_EQ(0, editor->IsEntityVisible("info_player_start"));
    EXPECT_EQ(RGB(0, 255, 0), PenColor(editor->GetEntityPen("light")));

    // The project closed: tree, classes, edited entity, pens and switches go.
    editor->SetEntity(door);
    editor->ClearEntityClasses();
    EXPECT_EQ(0u, editor->m_tree.GetCount());
    EXPECT_EQ(0, classes.GetCount());
    EXPECT_EQ(nullptr, editor->GetEditedEntity());
    EXPECT_EQ(0, editor->GetStyles().GetPenCount());
    EXPECT_EQ(0, editor->GetStyles().GetVisibilityCount());
    EXPECT_FALSE(editor->HasUnappliedChanges());
}

TEST_F(EntityEditorTest, ColorAndVisiblePagesWorkOnTheSelectedPath)
{
    WriteQc("a.qc", kDefs);
    editor->LoadEntityClasses();
    // A colour chosen in the well on a group: the group's pen, the pens below dropped.
    editor->GetStyles().SetPen("func_door", RGB(1, 1, 1));
    editor->m_tree.SelectItem(FindGroup("func"));
    editor->m_colorPage.SendMessage(SEC_WM_COLORCHOSEN, IDC_ENTITY_WELL, RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), PenColor(editor->GetEntityPen("func_door")));
    EXPECT_EQ(RGB(10, 20, 30), PenColor(editor->GetEntityPen("func_wall")));
    EXPECT_EQ(RGB(10, 20, 30), editor->m_colorPage.m_well.GetColor());
    // Reverting drops every pen and remakes the point classes' own.
    editor->m_colorPage.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ENTITY_REVERT_COLORS, BN_CLICKED),
                                    reinterpret_cast<LPARAM>(editor->m_colorPage.GetDlgItem(IDC_ENTITY_REVERT_COLORS)->m_hWnd));
    EXPECT_EQ(nullptr, editor->GetEntityPen("func_door"));
    EXPECT_EQ(RGB(255, 0, 0), PenColor(editor->GetEntityPen("info_player_start")));
    EXPECT_EQ(2, editor->GetStyles().GetPenCount());

    // The Visible box hides the group and what lies below; a child shown again shows alone.
    CWnd* box = editor->m_visiblePage.GetDlgItem(IDC_ENTITY_VISIBLE);
    ASSERT_NE(nullptr, box);
    auto click = [&](CWnd* page, int id) {
        page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(page->GetDlgItem(id)->m_hWnd));
    };
    EXPECT_EQ((UINT)BST_CHECKED, editor->m_visiblePage.IsDlgButtonChecked(IDC_ENTITY_VISIBLE));
    editor->m_visiblePage.CheckDlgButton(IDC_ENTITY_VISIBLE, BST_INDETERMINATE);
    click(&editor->m_visiblePage, IDC_ENTITY_VISIBLE);
    EXPECT_EQ((UINT)BST_UNCHECKED, editor->m_visiblePage.IsDlgButtonChecked(IDC_ENTITY_VISIBLE));
    EXPECT_EQ(0, editor->IsEntityVisible("func_door"));
    EXPECT_EQ(0, editor->IsEntityVisible("func_wall"));
    editor->m_tree.SelectItem(Find("func_wall"));
    EXPECT_EQ((UINT)BST_UNCHECKED, editor->m_visiblePage.IsDlgButtonChecked(IDC_ENTITY_VISIBLE));
    editor->m_visiblePage.CheckDlgButton(IDC_ENTITY_VISIBLE, BST_CHECKED);
    click(&editor->m_visiblePage, IDC_ENTITY_VISIBLE);
    EXPECT_EQ(1, editor->IsEntityVisible("func_wall"));
    EXPECT_EQ(0, editor->IsEntityVisible("func_door"));
    EXPECT_EQ(1, editor->IsEntityVisible("light"));
    click(&editor->m_visiblePage, IDC_ENTITY_NONE_VISIBLE);
    EXPECT_EQ(0, editor->IsEntityVisible("light"));
    click(&editor->m_visiblePage, IDC_ENTITY_ALL_VISIBLE);
    EXPECT_EQ(1, editor->IsEntityVisible("func_door"));
    EXPECT_EQ((UINT)BST_CHECKED, editor->m_visiblePage.IsDlgButtonChecked(IDC_ENTITY_VISIBLE));
}

TEST_F(EntityEditorTest, ShowingAnEntityAndChoosingClasses)
{
    WriteQc("a.qc", kDefs);
    editor->LoadEntityClasses();
    Entity* nameless = new Entity(map);
    nameless->AddKeyValue("origin", "1 2 3");
    map->AddEntity(nameless);
    editor->SetEntity(nameless);
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("No classname was found in the entity.", services->boxes[0].text);
    EXPECT_EQ(0, editor->GetWorkingEntity().GetKeyValues().GetCount());
    Entity* unknown = AddEntity("monster_dog", "0 0 0");
    services->boxes.resize(1);  // the model's own word on the unknown class
    editor->SetEntity(unknown);
    ASSERT_EQ(2u, services->boxes.size());
    EXPECT_EQ("The selected entity is not loaded.", services->boxes[1].text);
    EXPECT_TRUE(ButtonsDisabled());

    Entity* player = AddEntity("info_player_start", "8 16 24");
    player->AddKeyValue("angle", "90");
    editor->SetEntity(player);
    EXPECT_EQ(2u, services->boxes.size());
    Entity& working = editor->GetWorkingEntity();
    EXPECT_STREQ("8 16 24", working.ValueForKey("origin"));
    EXPECT_STREQ("90", working.ValueForKey("angle"));
    EXPECT_FALSE(editor->HasUnappliedChanges());
    EXPECT_TRUE(ButtonsDisabled());
    EXPECT_EQ(Find("info_player_start"), editor->m_tree.GetSelectedItem());

    // A brush class drops "origin"; a point class adds "0 0 0" only when missing.
    editor->m_tree.SelectItem(Find("func_door"));
    EXPECT_STREQ("func_door", working.ValueForKey("classname"));
    EXPECT_EQ(nullptr, working.FindValue("origin"));
    EXPECT_TRUE(editor->HasUnappliedChanges());
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_STREQ("A door.\r\n", editor->GetHelpText());
    editor->m_tree.SelectItem(Find("light"));
    EXPECT_STREQ("0 0 0", working.ValueForKey("origin"));
    working.SetValueForKey("origin", "5 5 5");
    editor->m_tree.SelectItem(Find("info_player_start"));
    EXPECT_STREQ("5 5 5", working.ValueForKey("origin"));
    EXPECT_STREQ("<None>", editor->GetHelpText());

    // Undo reloads the map's entity.
    editor->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_STREQ("8 16 24", working.ValueForKey("origin"));
    EXPECT_FALSE(editor->HasUnappliedChanges());
    EXPECT_TRUE(ButtonsDisabled());
    // Undo without changes keeps the buttons off.
    editor->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(ButtonsDisabled());

    // A group chosen while editing: no pairs, Apply on; Apply then says why it cannot.
    services->SetActiveMap(map);
    editor->m_tree.SelectItem(FindGroup("func"));
    EXPECT_EQ(0, working.GetKeyValues().GetCount());
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_TRUE(editor->GetHelpText().IsEmpty());
    editor->Apply();
    ASSERT_EQ(3u, services->boxes.size());
    EXPECT_EQ("A correct entity is not selected.\nSelect one with a red box.", services->boxes[2].text);
    EXPECT_TRUE(editor->HasUnappliedChanges());

    // +24 answers the edited entity or the working copy; +23 sets the flag only while ready.
    EXPECT_EQ(reinterpret_cast<LRESULT>(player), editor->SendMessage(WM_ENTITY_QUERY, 1));
    EXPECT_EQ(reinterpret_cast<LRESULT>(&working), editor->SendMessage(WM_ENTITY_QUERY, 0));
    editor->SetEntity(player);
    editor->SendMessage(WM_ENTITY_MODIFIED);
    EXPECT_TRUE(ButtonsEnabled());
}

// A class file's help and an entity's values may hold any bytes: the byte 0x98 after a digit, a
// punctuation mark or a symbol, or at a line's start, makes Wine 8's edit controls
// fault in some fonts. The editor shows them drawn, and nothing changes that the user did not edit.
TEST_F(EntityEditorTest, HelpAndValuesOfAnyBytesShowAsTheyAre)
{
    WriteQc("a.qc", "/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8)\n=\x98 1\x98 .\x98 \xbf\x98\n\x98\n*/\n");
    editor->LoadEntityClasses();
    Entity* light = AddEntity("light", "0 0 0");
    light->AddKeyValue("message", "=\x98");
    light->AddKeyValue("target", "\xbf\x98");
    editor->ShowWindow(SW_SHOW);
    editor->SetEntity(light);
    EXPECT_STREQ("=\x98 1\x98 .\x98 \xbf\x98\r\n\x98\r\n", editor->GetHelpText());
    editor->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_FALSE(editor->HasUnappliedChanges());
    EXPECT_STREQ("=\x98", editor->GetWorkingEntity().ValueForKey("message"));
    EXPECT_STREQ("\xbf\x98", editor->GetWorkingEntity().ValueForKey("target"));
}

TEST_F(EntityEditorTest, ApplyWritesIntoTheMapAndTheOriginRefreshKeepsPendingEdits)
{
    WriteQc("a.qc", kDefs);
    editor->LoadEntityClasses();
    Entity* player = AddEntity("info_player_start", "8 16 24");
    editor->SetEntity(player);
    Entity& working = editor->GetWorkingEntity();

    // Apply without a map: nothing happens, the edit stays pending.
    working.AddKeyValue("angle", "180");
    editor->SendMessage(WM_ENTITY_MODIFIED);
    editor->Apply();
    EXPECT_TRUE(editor->HasUnappliedChanges());
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_EQ(nullptr, player->FindValue("angle"));

    // The entity moved in a view: the origin follows, the pending edit and the buttons stay.
    editor->UpdateOrigin("32 16 24");
    EXPECT_STREQ("32 16 24", working.ValueForKey("origin"));
    EXPECT_STREQ("180", working.ValueForKey("angle"));
    EXPECT_TRUE(editor->HasUnappliedChanges());
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_TRUE(services->boxes.empty());

    // Apply into the map, which refuses: the flag stays.
    services->SetActiveMap(map);
    view.hints.clear();
    map->SetCurrentEntity(nullptr);
    editor->Apply();
    EXPECT_TRUE(services->BoxContains("brushless entity from multiple objects"));
    EXPECT_TRUE(editor->HasUnappliedChanges());

    // The map takes it: the pair is in the map's entity, the flag and buttons go, the views redraw.
    Select(player);
    map->SetCurrentEntity(player);
    view.hints.clear();
    editor->Apply();
    EXPECT_STREQ("180", player->ValueForKey("angle"));
    EXPECT_FALSE(editor->HasUnappliedChanges());
    EXPECT_TRUE(ButtonsDisabled());
    ASSERT_FALSE(view.hints.empty());
    EXPECT_EQ(HINT_REDRAW, view.hints.back().hint);
    // Nothing pending: Apply does nothing.
    view.hints.clear();
    editor->Apply();
    EXPECT_TRUE(view.hints.empty());
}

// An origin typed past the 16-bit coordinate range: Apply refuses it with a box, the map's entity
// keeps its origin and box, and the typed value stays pending in the editor to be mended.
TEST_F(EntityEditorTest, ApplyRefusesAnOriginPastTheCoordinateRange)
{
    WriteQc("a.qc", kDefs);
    editor->LoadEntityClasses();
    Entity* player = AddEntity("info_player_start", "8 16 24");
    editor->SetEntity(player);
    services->SetActiveMap(map);
    Select(player);
    map->SetCurrentEntity(player);
    Entity& working = editor->GetWorkingEntity();
    working.SetValueForKey("origin", "40000 16 24");
    editor->SendMessage(WM_ENTITY_MODIFIED);
    services->boxes.clear();
    editor->Apply();
    EXPECT_TRUE(services->BoxContains("The origin \"40000 16 24\" lies outside the map's coordinate range"));
    EXPECT_STREQ("8 16 24", player->ValueForKey("origin"));
    EXPECT_EQ(-8, player->GetBounds()[BOX_MINX]);
    EXPECT_TRUE(editor->HasUnappliedChanges());
    EXPECT_STREQ("40000 16 24", working.ValueForKey("origin"));
    // Mended, it goes.
    working.SetValueForKey("origin", "32000 16 24");
    editor->Apply();
    EXPECT_STREQ("32000 16 24", player->ValueForKey("origin"));
    EXPECT_FALSE(editor->HasUnappliedChanges());
}

// The model's word on the current entity goes on to the editor, as the shell's services pass it.
class CEditorForwardingServices : public CRecordingServices
{
public:
    explicit CEditorForwardingServices(CEntityEditorDlg* pEditor) : m_pEditor(pEditor) {}
    void SetCurrentEntity(Entity* pEntity) override
    {
        CRecordingServices::SetCurrentEntity(pEntity);
        m_pEditor->SetEntity(pEntity);
    }

private:
    CEntityEditorDlg* m_pEditor;
};

// Closing the last map while the editor shows one of its entities: the map tells the editor, as
// it does when one entity goes, so that Escape (Undo), and Undo after choosing a class, read
// nothing of the freed entity and show nothing.
TEST_F(EntityEditorTest, ClosingTheMapLetsTheEditorGoOfItsEntity)
{
    WriteQc("a.qc", kDefs);
    editor->LoadEntityClasses();
    CEditorForwardingServices forwarding(editor.get());
    // Whatever happens below, the fixture gets its services back and a map for its end.
    struct Finally
    {
        std::function<void()> run;
        ~Finally() { run(); }
    } restore{[this] {
        SetEditorServices(services);
        if (!map) {
            map = new Map;
            map->m_bAutoDelete = FALSE;
            map->OnNewDocument();
            map->AddView(&view);
        }
    }};
    SetEditorServices(&forwarding);
    Entity* player = AddEntity("info_player_start", "8 16 24");
    Select(player);
    map->UpdateCurrentEntity();
    ASSERT_EQ(player, editor->GetEditedEntity());
    ASSERT_STREQ("8 16 24", editor->GetWorkingEntity().ValueForKey("origin"));

    // The map closes: its entities are freed.
    services->boxes.clear();
    map->RemoveView(&view);
    delete map;
    map = nullptr;
    ASSERT_EQ(nullptr, editor->GetEditedEntity());
    editor->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(0, editor->GetWorkingEntity().GetKeyValues().GetCount());
    editor->m_tree.SelectItem(Find("light"));
    EXPECT_FALSE(editor->HasUnappliedChanges());
    editor->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(0, editor->GetWorkingEntity().GetKeyValues().GetCount());
    EXPECT_TRUE(ButtonsDisabled());
    EXPECT_TRUE(services->boxes.empty()) << (services->boxes.empty() ? "" : services->boxes[0].text);
}

// A plane view whose depth view shows 0..100: it narrows the map's clip box on the linked hint.
class NarrowingView : public HintView
{
public:
    void OnUpdate(CView* sender, LPARAM hint, CObject* pHint) override
    {
        HintView::OnUpdate(sender, hint, pHint);
        if (hint == HINT_LINKED_SELECTION) {
            short* clip = static_cast<Map*>(GetDocument())->GetDepthClip();
            clip[4] = std::max<short>(clip[4], 0);
            clip[5] = std::min<short>(clip[5], 100);
        }
    }
};

// An applied entity is in what every view draws at once: with linked clipping the map's clip box
// is opened again, the views narrow it before the map's list is rebuilt, and all redraw; unlinked,
// each window rebuilds its own list and the map's box stays as the user set it.
TEST_F(EntityEditorTest, ApplyRefreshesTheVisibleListsByTheClippingLink)
{
    WriteQc("a.qc", kDefs);
    editor->LoadEntityClasses();
    services->SetActiveMap(map);
    NarrowingView narrowing;
    map->AddView(&narrowing);
    const short narrowed[6] = {-8192, 8192, -8192, 8192, 200, 300};
    for (BOOL linked : {TRUE, FALSE}) {
        SCOPED_TRACE(linked ? "linked" : "unlinked");
        services->SetLinkClipping(linked);
        map->DeselectAll();
        Entity* player = AddEntity("info_player_start", "8 16 24");
        Entity* lamp = AddEntity("light", "64 0 40");
        Entity* high = AddEntity("light", "64 0 500");
        Select(player);
        map->SetCurrentEntity(player);
        std::copy(narrowed, narrowed + 6, map->GetDepthClip());
        map->RebuildVisibleList();
        ASSERT_FALSE(InList(map->GetVisibleList(), lamp));

        editor->SetEntity(player);
        editor->GetWorkingEntity().AddKeyValue("angle", "270");
        editor->SendMessage(WM_ENTITY_MODIFIED);
        view.hints.clear();
        editor->Apply();
        ASSERT_STREQ("270", player->ValueForKey("angle"));

        // After the map's own work: the hint of the link state, then a full redraw.
        std::vector<LPARAM> n = view.Numbers();
        ASSERT_GE(n.size(), 2u);
        EXPECT_EQ(linked ? HINT_LINKED_SELECTION : HINT_SELECTION, n[n.size() - 2]);
        EXPECT_EQ(HINT_REDRAW, n.back());
        EXPECT_EQ(linked ? 0 : 1, std::count(n.begin(), n.end(), static_cast<LPARAM>(HINT_SELECTION)));
        std::vector<short> clip(map->GetDepthClip(), map->GetDepthClip() + 6);
        if (linked) {
            EXPECT_EQ(std::vector<short>({-8192, 8192, -8192, 8192, 0, 100}), clip);
            EXPECT_TRUE(InList(map->GetVisibleList(), lamp));
            EXPECT_FALSE(InList(map->GetVisibleList(), high));
        } else {
            EXPECT_EQ(std::vector<short>(narrowed, narrowed + 6), clip);
        }
        EXPECT_TRUE(InList(map->GetVisibleList(), player));
    }
    map->RemoveView(&narrowing);
}

TEST_F(EntityEditorTest, ResizingLaysOutTheTabsAndButtons)
{
    editor->SetWindowPos(nullptr, 0, 0, 600, 400, SWP_NOZORDER | SWP_NOMOVE);
    CRect client, tabs, undo;
    editor->GetClientRect(&client);
    editor->m_tabs.GetWindowRect(&tabs);
    editor->ScreenToClient(&tabs);
    editor->m_undo.GetWindowRect(&undo);
    editor->ScreenToClient(&undo);
    EXPECT_GT(tabs.right, client.right - 20);
    EXPECT_GT(undo.bottom, client.bottom - 20);
    EXPECT_LT(tabs.bottom, undo.top);
    // The close box hides the editor; it is not destroyed.
    editor->ShowWindow(SW_SHOW);
    editor->SendMessage(WM_CLOSE);
    EXPECT_FALSE(editor->IsWindowVisible());
    EXPECT_NE(nullptr, editor->m_hWnd);
}

// The shared QuakeC sets: every class sits in the tree under its groups, with no parse message
// (librequake's second path_corner is told).
TEST_F(EntityEditorTest, TheSharedQuakeCSetsFillTheTree)
{
    const CString kQc = shareddata::Path("qc").c_str();
    SKIP_WITHOUT_SHARED_DATA(kQc);
    services->WriteProfileString("Project Settings", "Root Path", kQc);
    struct
    {
        const char* dirs;
        int count;
    } sets[] = {{"id-v101qc", 99}, {"quakeed-sample", 12}, {"librequake;librequake\\monsters;librequake\\lq1", 96}};
    for (const auto& set : sets) {
        SCOPED_TRACE(set.dirs);
        project->RemoveKey("Paths", "Entities");
        project->AddString("Paths", "Entities", set.dirs);
        services->lines.clear();
        EXPECT_EQ(set.count, editor->LoadEntityClasses());
        EXPECT_EQ(set.count, classes.GetCount());
        for (const std::string& line : services->lines)
            EXPECT_TRUE(line.find("Load") == 0 || line.find("Entities Loaded") == 0 ||
                        (set.count == 96 && line.find("The class path_corner is defined again in ") == 0))
                << line;
        ExpectNoStaleItems();
        for (POSITION pos = classes.GetStartPosition(); pos;) {
            EntityClass* pClass = classes.GetNext(pos);
            ASSERT_NE(nullptr, pClass->treeItem) << pClass->name;
            EXPECT_EQ(pClass->name, editor->GetItemPath(static_cast<HTREEITEM>(pClass->treeItem)));
            if (pClass->hasSize) {
                EXPECT_NE(nullptr, editor->GetEntityPen(pClass->name)) << pClass->name;
            }
        }
        const EntityClass* door = classes.Lookup("func_door");
        if (!door && set.count == 12)
            continue;   // the sample set has no doors
        ASSERT_NE(nullptr, door);
        EXPECT_EQ(0, door->hasSize);
        EXPECT_STREQ("0 127 204", door->color);
        EXPECT_EQ(nullptr, classes.Lookup("functions"));
        editor->m_tree.SelectItem(static_cast<HTREEITEM>(door->treeItem));
        EXPECT_EQ(door, editor->GetCurrentClass());
        EXPECT_FALSE(editor->GetHelpText().IsEmpty());
    }
}

// LibreQuake's classes and one of its maps: the entities open without a word, show their pairs,
// class and help, and an applied change is in the written map text.
TEST_F(EntityEditorTest, ALibreQuakeMapWithItsClasses)
{
    SKIP_WITHOUT_SHARED_DATA(kLibreQuakeMap);
    ASSERT_EQ(96, LoadLibreQuakeClasses(*editor, classes, *services, *project));
    Map& real = *map;
    services->boxes.clear();
    ASSERT_TRUE(real.OnOpenDocument(kLibreQuakeMap));
    for (const auto& box : services->boxes)
        EXPECT_EQ(std::string::npos, box.text.find("classname")) << box.text;
    services->SetActiveMap(&real);
    Entity* light = nullptr;
    for (const char* name : {"light", "monster_knight", "func_door", "trigger_teleport"}) {
        SCOPED_TRACE(name);
        Entity* found = FindEntityOfClass(real, name);
        ASSERT_NE(nullptr, found);
        services->boxes.clear();
        editor->SetEntity(found);
        EXPECT_TRUE(services->boxes.empty());
        EXPECT_EQ(found->GetKeyValues().GetCount(), editor->GetWorkingEntity().GetKeyValues().GetCount());
        EXPECT_EQ(classes.Lookup(name), editor->GetCurrentClass());
        EXPECT_EQ(static_cast<HTREEITEM>(classes.Lookup(name)->treeItem), editor->m_tree.GetSelectedItem());
        EXPECT_FALSE(editor->GetHelpText().IsEmpty());
        if (!light)
            light = found;
    }
    editor->SetEntity(light);
    Entity& working = editor->GetWorkingEntity();
    if (!working.SetValueForKey("light", "321"))
        working.AddKeyValue("light", "321");
    editor->SendMessage(WM_ENTITY_MODIFIED);
    light->SetSelected(true);
    real.GetSelection().AddTail(light);
    real.SetCurrentEntity(light);
    editor->Apply();
    EXPECT_FALSE(editor->HasUnappliedChanges());
    CString text;
    real.WriteEntities(text);
    EXPECT_NE(-1, text.Find("\"light\" \"321\""));
    services->SetActiveMap(nullptr);
    editor->SetEntity(nullptr);
    light->SetSelected(false);
    real.GetSelection().RemoveAll();
}

} // namespace
