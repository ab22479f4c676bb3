// The Resource window: the map and object lists of the project, opening and deleting maps, the
// object drag block and saving a selection as an object.
#include "EditorApp.h"
#include "shell_fixture.h"
#include "MainFrame.h"
#include "Map.h"
#include "MapData.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "PathIterator.h"
#include "ResourceWindow.h"
#include "ShellRes.h"
#include "Thing.h"
#include "RecordingServices.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "../../res/resource.h"
#include "../textures/WadBuilder.h"
#include "IniFile.h"
#include "TexturesRes.h"
#include "TextureAdjustDlg.h"
#include "MapCommands.h"
#include "SECListEditor.h"
#include "OutputWindow.h"
#include "EntityEditorDlg.h"
#include <cstring>
#include <fstream>

namespace {

void WriteFile(const CString& path, const char* text)
{
    std::ofstream(static_cast<LPCSTR>(path), std::ios::binary) << text;
}


// Two map directories with a map of the same name in each, and an object directory.
class ResourceFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_root = m_dir.Path();
        for (const char* d : {"\\m1", "\\m2", "\\objs"})
            ::CreateDirectoryA(m_root + d, nullptr);
        WriteFile(m_root + "\\m1\\start.map", shelltest::CubeMap());
        WriteFile(m_root + "\\m2\\start.map", shelltest::CubeMap());
        WriteFile(m_root + "\\m2\\arena.map", shelltest::CubeMap());
        WriteFile(m_root + "\\objs\\crate.map", "{\n( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\n}\n");
        m_project = m_root + "\\res.prj";
        std::ofstream(static_cast<LPCSTR>(m_root + "\\tex.wad"), std::ios::binary)
            << BuildWad({MipLump("BRICK", 16, 16), MipLump("METAL", 16, 16, 7)});
        WriteFile(m_project, "[Paths]\nMaps=m1;m2\nObjects=objs\n[Wads]\nFile1=tex.wad\n");
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        shelltest::TolerateLoadReports();
        ASSERT_TRUE(m_app.InitInstance());
        m_app.WriteProfileString("Project Settings", "Root Path", m_root);
        m_frame = m_app.GetMainFrame();
        ASSERT_TRUE(m_frame->OpenProject(m_project));
    }
    void TearDown() override { shelltest::CloseEditor(m_app); }
    CMapListBox& Maps() { return m_frame->m_wndResourceBar.m_mapList; }
    CObjectList& Objects() { return m_frame->m_wndResourceBar.m_objectList; }
    CString Text(CListBox& list, int i)
    {
        CString text;
        list.GetText(i, text);
        return text;
    }
    int IndexOf(CProjectFileList& list, const CString& path)
    {
        for (int i = 0; i < list.GetCount(); ++i)
            if (list.GetPath(i) && list.GetPath(i)->CompareNoCase(path) == 0)
                return i;
        return -1;
    }
    int MapWindows()
    {
        int n = 0;
        for (HWND h = ::GetWindow(m_frame->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            ++n;
        return n;
    }

    CTempDir m_dir;
    CString m_root, m_project;
    CEditorApp m_app;
    CMainFrame* m_frame = nullptr;
};

} // namespace

TEST(ResourceNames, CompactNamesAreTheFileNameWithoutItsExtension)
{
    struct
    {
        const char* path;
        BOOL compact;
        const char* text;
    } cases[] = {
        {"C:\\maps\\start.map", TRUE, "start"}, {"C:\\maps\\start.map", FALSE, "C:\\maps\\start.map"},
        {"C:start.map", TRUE, "start"},         {"C:\\m.d\\noext", TRUE, "noext"},
        {"C:\\maps\\a.b.map", TRUE, "a.b"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, CProjectFileList::DisplayText(c.path, c.compact)) << c.path;
    const int codes[][2] = {{0, VIEW_XY}, {1, VIEW_XZ}, {2, VIEW_YZ}, {3, VIEW_ALL_FOUR}, {7, 0}, {-1, 0}};
    for (const auto& c : codes)
        EXPECT_EQ(c[1], CMapListBox::DoubleClickViewCode(c[0])) << c[0];
}

TEST_F(ResourceFixture, TheListsFillWithTheProjectAndEmptyWhenItCloses)
{
    ASSERT_EQ(3, Maps().GetCount());
    // The same name from two directories: two equal entries with their own paths.
    int first = IndexOf(Maps(), m_root + "\\m1\\start.map");
    int second = IndexOf(Maps(), m_root + "\\m2\\start.map");
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_STREQ("start", Text(Maps(), first));
    EXPECT_STREQ("start", Text(Maps(), second));
    ASSERT_EQ(1, Objects().GetCount());
    EXPECT_STREQ("crate", Text(Objects(), 0));

    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(0, Maps().GetCount());
    EXPECT_EQ(0, Objects().GetCount());
}

TEST_F(ResourceFixture, CompactNamesToggleKeepsTheSelectionAndTheSetting)
{
    int index = IndexOf(Maps(), m_root + "\\m2\\arena.map");
    ASSERT_GE(index, 0);
    Maps().SetCurSel(index);
    Maps().SendMessage(WM_COMMAND, ID_MAPLIST_COMPACT);
    EXPECT_EQ(0u, m_app.GetProfileInt("Map List", "Compact Names", 9));
    EXPECT_EQ(index, Maps().GetCurSel());
    EXPECT_STREQ(m_root + "\\m2\\arena.map", Text(Maps(), index));
    EXPECT_STREQ(m_root + "\\m2\\arena.map", *Maps().GetPath(index));
    EXPECT_EQ(500, Maps().GetHorizontalExtent());
    Maps().SendMessage(WM_COMMAND, ID_MAPLIST_COMPACT);
    EXPECT_STREQ("arena", Text(Maps(), index));
    EXPECT_EQ(index, Maps().GetCurSel());
}

TEST_F(ResourceFixture, DoubleClickOpensWhatTheSettingSays)
{
    struct
    {
        int setting;
        int windows;
    } cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 4}, {7, 4}, {-1, 1}}; // a stored value is brought into 0..3
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        m_app.WriteProfileInt("Map Bar", "Double Click", c.setting);
        Maps().SetCurSel(IndexOf(Maps(), m_root + "\\m2\\arena.map"));
        Maps().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        Maps().SetCurSel(IndexOf(Maps(), m_root + "\\m2\\arena.map"));     // the click's own selection aside
        EXPECT_EQ(c.windows, MapWindows());
        m_app.CloseAllDocuments(FALSE);
    }
    // Nothing is opened without a selection.
    Maps().SetCurSel(-1);
    Maps().SendMessage(WM_COMMAND, ID_MAPLIST_OPEN_ALL);
    EXPECT_EQ(0, MapWindows());
    EXPECT_TRUE(shelltest::Calls().empty());
}

TEST_F(ResourceFixture, DeleteMapRefusesAnOpenMapAndAsksFirst)
{
    CString arena = m_root + "\\m2\\arena.map";
    ASSERT_TRUE(m_frame->OpenMap(arena, VIEW_XY));
    Maps().SetCurSel(IndexOf(Maps(), arena));
    AfxSeamAnswer(IDOK);
    Maps().SendMessage(WM_COMMAND, ID_MAPLIST_DELETE);
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_EQ(0, shelltest::Calls()[0].text.Find("The map " + arena + " could not\nbe deleted"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(arena));
    m_app.CloseAllDocuments(FALSE);

    // Read-only: asked, then the failure message; the entry stays.
    ::SetFileAttributesA(arena, FILE_ATTRIBUTE_READONLY);
    AfxSeamAnswer(IDYES);
    AfxSeamAnswer(IDOK);
    Maps().SendMessage(WM_COMMAND, ID_MAPLIST_DELETE);
    ASSERT_EQ(3u, shelltest::Calls().size());
    EXPECT_STREQ("Are you sure you want to delete the file:\n" + arena + "?", shelltest::Calls()[1].text);
    EXPECT_EQ(0, shelltest::Calls()[2].text.Find("The selected map could not be deleted."));
    EXPECT_EQ(3, Maps().GetCount());
    ::SetFileAttributesA(arena, FILE_ATTRIBUTE_NORMAL);

    // Yes: the file and its entry go.
    AfxSeamAnswer(IDYES);
    Maps().SendMessage(WM_COMMAND, ID_MAPLIST_DELETE);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(arena));
    EXPECT_EQ(2, Maps().GetCount());
    EXPECT_EQ(-1, IndexOf(Maps(), arena));
}

TEST_F(ResourceFixture, TheContextMenuShowsTheItemsStates)
{
    Maps().SetCurSel(-1);
    AfxSeamScript([](AfxModalCall& call) {
        EXPECT_EQ(AFX_MODAL_POPUPMENU, call.kind);
        for (const AfxModalMenuItem& item : call.menuItems) {
            if (item.nID == ID_MAPLIST_DELETE || item.nID == ID_MAPLIST_OPEN_ALL) {
                EXPECT_TRUE(item.nState & MF_GRAYED) << (LPCSTR)item.strText;
            }
            if (item.nID == ID_MAPLIST_COMPACT) {
                EXPECT_TRUE(item.nState & MF_CHECKED);
            }
            if (item.nID == ID_MAPLIST_RESCAN) {
                EXPECT_FALSE(item.nState & MF_GRAYED);
            }
        }
        return (INT_PTR)ID_MAPLIST_RESCAN;
    });
    Maps().SendMessage(WM_CONTEXTMENU, (WPARAM)Maps().m_hWnd, MAKELPARAM(100, 100));
    EXPECT_EQ(3, Maps().GetCount());
    EXPECT_EQ(0, AfxSeamPendingSteps());
}

TEST_F(ResourceFixture, TheObjectListsDropTargetIsRevokedWithItsWindow)
{
    ASSERT_EQ(&Objects(), Objects().m_dropTarget.GetWindow());
    Objects().DestroyWindow();
    EXPECT_EQ(nullptr, Objects().m_dropTarget.GetWindow());
}

TEST_F(ResourceFixture, AnObjectFilesDragBlockHoldsItsTextAndANul)
{
    CString crate = m_root + "\\objs\\crate.map";
    HGLOBAL h = CObjectList::PackObjectFile(crate);
    ASSERT_NE(nullptr, h);
    const char expected[] = "{\n( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\n}\n";
    ASSERT_EQ(sizeof expected, ::GlobalSize(h) >= sizeof expected ? sizeof expected : ::GlobalSize(h));
    const char* p = static_cast<const char*>(::GlobalLock(h));
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(0, std::memcmp(expected, p, sizeof expected));   // the text and its NUL
    ::GlobalUnlock(h);
    CString text;
    EXPECT_TRUE(UnpackMapData(h, text));
    EXPECT_STREQ(expected, text);
    ::GlobalFree(h);

    // An empty file and a missing one are refused with their messages.
    WriteFile(m_root + "\\objs\\empty.map", "");
    AfxSeamAnswer(IDOK);
    AfxSeamAnswer(IDOK);
    EXPECT_EQ(nullptr, CObjectList::PackObjectFile(m_root + "\\objs\\empty.map"));
    EXPECT_EQ(nullptr, CObjectList::PackObjectFile(m_root + "\\objs\\gone.map"));
    ASSERT_EQ(2u, shelltest::Calls().size());
    EXPECT_STREQ("The brush file " + m_root + "\\objs\\empty.map is empty", shelltest::Calls()[0].text);
    EXPECT_EQ(0, shelltest::Calls()[1].text.Find("Couldn't open file " + m_root + "\\objs\\gone.map for reading"));
}

// An object dragged out of the object list into a map window is read from its file, whole, as
// Import Object File reads it: what follows a NUL byte is imported too. A file in UTF-16 is refused
// with a box that names it, and no drag begins.
TEST_F(ResourceFixture, AnObjectDraggedIntoAMapIsReadWholeFromItsFile)
{
    const std::string nul(1, '\0');
    // Two partial maps of one brush each, a NUL byte between them.
    const std::string cube = shelltest::CubeMap();
    const CString cubes = m_root + "\\objs\\cubes.map";
    std::ofstream(static_cast<LPCSTR>(cubes), std::ios::binary) << cube << nul << cube;
    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\m1\\start.map", VIEW_XY));
    CMapFrame* pChild = dynamic_cast<CMapFrame*>(m_frame->MDIGetActive());
    ASSERT_NE(nullptr, pChild);
    CMapXYView* xy = pChild->GetXYView();
    ASSERT_NE(nullptr, xy);
    Map* pMap = xy->GetMap();
    const int before = pMap->GetWorldEntity()->GetBrushCount();

    COleDataSource* pSource = CObjectList::MakeDragSource(cubes);
    ASSERT_NE(nullptr, pSource);
    IDropTarget* target = xy->m_dropTarget.GetInterface();
    CPoint at(60, 60);
    xy->ClientToScreen(&at);
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(pSource->GetIDataObject(FALSE), MK_LBUTTON, POINTL{at.x, at.y}, &effect);
    effect = DROPEFFECT_COPY;
    // The project has no entity classes: the Entity Editor says so of the world the cubes join.
    AfxSeamAnswer(IDOK);
    ASSERT_EQ(S_OK, target->Drop(pSource->GetIDataObject(FALSE), MK_LBUTTON, POINTL{at.x, at.y}, &effect));
    pSource->InternalRelease();
    EXPECT_EQ(before + 2, pMap->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(2, pMap->GetSelectionCount());
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_STREQ("The selected entity is not loaded.", shelltest::Calls()[0].text);
    AfxSeamReset();

    std::string utf16 = "\xFF\xFE";
    for (char c : cube)
        utf16 += std::string(1, c) + nul;
    const CString wide = m_root + "\\objs\\wide.map";
    std::ofstream(static_cast<LPCSTR>(wide), std::ios::binary) << utf16;
    AfxSeamAnswer(IDOK);
    EXPECT_EQ(nullptr, CObjectList::MakeDragSource(wide));
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_STREQ(wide + " is text in UTF-16 (little-endian byte order, byte-order mark FF FE), which this editor "
                        "does not read: a map file is 8-bit text.\nIt was not dragged.",
                 shelltest::Calls()[0].text);
}

// A brace in the comment before the object is no start of it: the whole object is carried.
TEST_F(ResourceFixture, AnObjectFilesCommentMayHoldABrace)
{
    const char body[] = "{\n\"classname\" \"light\"\n\"origin\" \"0 0 0\"\n}\n";
    WriteFile(m_root + "\\objs\\lamp.map", (std::string("// a { lamp } for halls\r\n  // {\n") + body).c_str());
    HGLOBAL h = CObjectList::PackObjectFile(m_root + "\\objs\\lamp.map");
    ASSERT_NE(nullptr, h);
    CString text;
    EXPECT_TRUE(UnpackMapData(h, text));
    EXPECT_STREQ(body, text);
    ::GlobalFree(h);
    EXPECT_TRUE(shelltest::Calls().empty());
}

// Delete Object with several objects chosen: one question naming them all, then all go.
TEST_F(ResourceFixture, DeleteObjectTakesEveryChosenObjectAfterOneQuestion)
{
    for (const char* name : {"\\objs\\a.map", "\\objs\\b.map"})
        WriteFile(m_root + name, "{\n}\n");
    Objects().SendMessage(WM_COMMAND, ID_OBJLIST_RESCAN);
    ASSERT_EQ(3, Objects().GetCount());
    CString a = m_root + "\\objs\\a.map", b = m_root + "\\objs\\b.map", crate = m_root + "\\objs\\crate.map";
    Objects().SetSel(-1, FALSE);
    Objects().SetSel(IndexOf(Objects(), a), TRUE);
    Objects().SetSel(IndexOf(Objects(), crate), TRUE);

    // No: nothing goes.
    AfxSeamAnswer(IDNO);
    Objects().SendMessage(WM_COMMAND, ID_OBJLIST_DELETE);
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_STREQ("Are you sure you want to delete these 2 files:\n" + a + "\n" + crate + "?",
                 shelltest::Calls()[0].text);
    EXPECT_EQ(3, Objects().GetCount());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(a));

    AfxSeamAnswer(IDYES);
    Objects().SendMessage(WM_COMMAND, ID_OBJLIST_DELETE);
    EXPECT_EQ(2u, shelltest::Calls().size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(a));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(crate));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(b));
    ASSERT_EQ(1, Objects().GetCount());
    EXPECT_STREQ(b, *Objects().GetPath(0));
}

// The lists hold the files whose extension is exactly ".map": no longer extension, no bare ".map".
TEST_F(ResourceFixture, TheListsHoldOnlyFilesEndingInDotMap)
{
    for (const char* name : {"\\m1\\x.mapx", "\\m1\\.map", "\\m1\\long name.mapfile", "\\objs\\y.map1",
                             "\\objs\\z.MAP"})
        WriteFile(m_root + name, "{\n}\n");
    Maps().SendMessage(WM_COMMAND, ID_MAPLIST_RESCAN);
    Objects().SendMessage(WM_COMMAND, ID_OBJLIST_RESCAN);
    EXPECT_EQ(3, Maps().GetCount());
    ASSERT_EQ(2, Objects().GetCount());
    EXPECT_GE(IndexOf(Objects(), m_root + "\\objs\\z.MAP"), 0);
    for (LPCSTR name : {"x.mapx", ".map", "long name.mapfile", "y.map1", "a.map.", "map", "ab.map"})
        EXPECT_EQ(std::string(name) == "ab.map", HasExactExtension(name, "map")) << name;
}

TEST_F(ResourceFixture, ADropSavesTheActiveMapsSelectionAsANewObjectAndAnswersCopyOnly)
{
    // No active map: refused before any dialog.
    COleDataSource* pSource = new COleDataSource;
    HGLOBAL h = PackMapData("{\n}\n", 4);
    ASSERT_NE(nullptr, h);
    pSource->CacheGlobalData(static_cast<CLIPFORMAT>(GetMapDataFormat()), h);
    COleDataObject data;
    data.Attach(pSource->GetIDataObject(TRUE), TRUE);
    EXPECT_FALSE(Objects().m_dropTarget.OnDrop(&Objects(), &data, DROPEFFECT_COPY, CPoint(5, 5)));
    EXPECT_TRUE(shelltest::Calls().empty());

    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\m1\\start.map", VIEW_XY));
    Map* pMap = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, pMap);
    ASSERT_FALSE(pMap->GetVisibleList().IsEmpty());
    pMap->SelectObject(static_cast<SThing*>(pMap->GetVisibleList().GetHead()), FALSE);
    // Copy only, wherever it is dropped, but never in the screen's top-left corner.
    CPoint corner(10, 10);
    Objects().ScreenToClient(&corner);
    EXPECT_EQ(DROPEFFECT_NONE, Objects().m_dropTarget.OnDragOver(&Objects(), &data, MK_CONTROL, corner));
    CRect rect;
    Objects().GetClientRect(&rect);
    EXPECT_EQ(DROPEFFECT_COPY, Objects().m_dropTarget.OnDragOver(&Objects(), &data, 0, rect.CenterPoint()));
    EXPECT_EQ(DROPEFFECT_COPY, Objects().m_dropTarget.OnDragOver(&Objects(), &data, MK_CONTROL, rect.CenterPoint()));

    // Cancel: nothing written, FALSE.
    AfxSeamAnswer(IDCANCEL);
    EXPECT_FALSE(Objects().m_dropTarget.OnDrop(&Objects(), &data, DROPEFFECT_COPY, rect.CenterPoint()));
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_STREQ("CFileDialog", shelltest::Calls()[0].className);

    // OK: the selection is written as a partial map, the list refills and selects the new file.
    CString saved = m_root + "\\objs\\saved.map";
    AfxSeamScript([saved](AfxModalCall& call) {
        call.text = saved;
        return (INT_PTR)IDOK;
    });
    EXPECT_TRUE(Objects().m_dropTarget.OnDrop(&Objects(), &data, DROPEFFECT_COPY, rect.CenterPoint()));
    std::ifstream in(static_cast<LPCSTR>(saved), std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(0u, written.find("{"));
    EXPECT_NE(std::string::npos, written.find("WALL"));
    EXPECT_EQ(2, Objects().GetCount());
    int index = Objects().GetChosenIndex();
    ASSERT_GE(index, 0);
    EXPECT_STREQ(saved, *Objects().GetPath(index));
    EXPECT_STREQ(m_root + "\\objs", m_app.m_strLastObjectDir);
    // The dragging map keeps its objects.
    EXPECT_EQ(1, pMap->GetSelectionCount());
    pSource->InternalRelease();
}

// Mark Texture is a command of the main frame too: its menu holds it, and it marks the current
// texture of the Resource window's browser.
TEST_F(ResourceFixture, MarkTextureFromTheMainMenu)
{
    CTextureBrowser& browser = m_frame->m_wndResourceBar.m_textureBrowser;
    browser.SelectTextureByName("METAL");
    ASSERT_NE(nullptr, browser.GetCurrentTexture());
    CString text;
    ASSERT_NE(nullptr, m_frame->GetMenu());
    EXPECT_GT(m_frame->GetMenu()->GetMenuString(ID_TEXTURE_MARK, text, MF_BYCOMMAND), 0);
    EXPECT_STREQ("&Mark Texture", text);
    m_frame->SendMessage(WM_COMMAND, ID_TEXTURE_MARK);
    EXPECT_EQ(browser.GetCurrentTexture(), browser.GetMarkedTexture());
    const CString* marked = GetEditorServices()->GetProject()->GetString("Texture", "Marked");
    ASSERT_NE(nullptr, marked);
    EXPECT_STREQ("METAL", *marked);
}

namespace {

// A key pressed while the focus is in `target`: posted to it and handled by the application's
// loop (pre-translation, translation, dispatch), with Ctrl held when asked.
void PressKey(HWND target, UINT vk, bool ctrl = false)
{
    ::SetFocus(target);
    BYTE saved[256], keys[256];
    ::GetKeyboardState(saved);
    std::memcpy(keys, saved, sizeof keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageA(target, WM_KEYDOWN, vk, 1);
    afxtest::PumpMessages();
    ::PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    afxtest::PumpMessages();
    ::SetKeyboardState(saved);
}

} // namespace

// The frame's keys work while the focus is in a docked window: the Resource window's lists and
// the texture browser's controls.
TEST_F(ResourceFixture, TheFramesKeysWorkWhileADockedWindowHasTheFocus)
{
    CTextureBrowser& browser = m_frame->m_wndResourceBar.m_textureBrowser;
    const struct
    {
        const char* name;
        HWND hWnd;
    } targets[] = {{"map list", Maps().m_hWnd},
                   {"object list", Objects().m_hWnd},
                   {"texture list", ::GetDlgItem(browser.m_hWnd, IDC_TEXTURE_LIST)},
                   {"recent textures", ::GetDlgItem(browser.m_hWnd, IDC_RECENT_TEXTURES)}};
    CWnd* pAdjust = m_frame->GetTextureAdjust();
    ASSERT_NE(nullptr, pAdjust);
    for (const auto& t : targets) {
        ASSERT_NE(nullptr, t.hWnd) << t.name;
        m_frame->m_wndResourceBar.m_tabWnd.ActivateTab(t.hWnd == Maps().m_hWnd ? 0 : t.hWnd == Objects().m_hWnd ? 1 : 2);
        afxtest::PumpMessages();
        ASSERT_FALSE(pAdjust->IsWindowVisible()) << t.name;
        PressKey(t.hWnd, VK_F5);
        EXPECT_TRUE(pAdjust->IsWindowVisible()) << "F5 in the " << t.name;
        PressKey(t.hWnd, VK_F5);
        EXPECT_FALSE(pAdjust->IsWindowVisible()) << "F5 again in the " << t.name;
        // Ctrl+O asks for a map.
        AfxSeamReset();
        shelltest::TolerateLoadReports();
        AfxSeamAnswer(IDCANCEL);
        PressKey(t.hWnd, 'O', true);
        std::vector<AfxModalCall> calls = shelltest::Calls();
        ASSERT_EQ(1u, calls.size()) << "Ctrl+O in the " << t.name;
        EXPECT_EQ(AFX_MODAL_COMMONDIALOG, calls[0].kind) << t.name;
        AfxSeamReset();
        shelltest::TolerateLoadReports();
    }
}

// Keys an edit field uses itself stay with it: the Output window's pane copies its own text.
TEST_F(ResourceFixture, AnEditFieldKeepsItsOwnKeys)
{
    COutputEdit& pane = m_frame->m_wndOutputBar.m_messages;
    ASSERT_NE(nullptr, pane.m_hWnd);
    pane.SetFocus();
    const struct
    {
        UINT vk;
        bool ctrl;
    } keys[] = {{'C', true}, {'X', true}, {'V', true}, {VK_SPACE, false}, {VK_DELETE, false}, {'A', false}};
    for (const auto& k : keys) {
        BYTE saved[256], state[256];
        ::GetKeyboardState(saved);
        std::memcpy(state, saved, sizeof state);
        state[VK_CONTROL] = state[VK_LCONTROL] = k.ctrl ? 0x80 : 0;
        ::SetKeyboardState(state);
        MSG msg = {};
        msg.hwnd = pane.m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = k.vk;
        EXPECT_FALSE(m_app.PreTranslateMessage(&msg)) << k.vk << (k.ctrl ? " with Ctrl" : "");
        ::SetKeyboardState(saved);
    }
    // F2 in a list editor's list edits its item there.
    HWND hList = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, 40, 120, 80, m_frame->m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(5555)), nullptr, nullptr);
    ASSERT_NE(nullptr, hList);
    {
        SECListEditor editor;
        ASSERT_TRUE(editor.Initialize(m_frame, 5555, LBEDIT_BROWSE | LBEDIT_KEYS));
        ::SetFocus(hList);
        MSG msg = {};
        msg.hwnd = hList;
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_F2;
        EXPECT_FALSE(m_app.PreTranslateMessage(&msg)) << "F2 in a list editor";
    }
    ::DestroyWindow(hList);
    // The frame's function keys still work from there.
    CWnd* pAdjust = m_frame->GetTextureAdjust();
    ASSERT_NE(nullptr, pAdjust);
    PressKey(pane.m_hWnd, VK_F5);
    EXPECT_TRUE(pAdjust->IsWindowVisible());
}

// The Texture Adjustment window and the Entity Editor belong to the main frame: one press of
// F5 or F2 shows or hides each, and a click on the frame leaves them above it on the screen.
TEST_F(ResourceFixture, TheToolWindowsStayAboveTheFrameAndToggleWithOnePress)
{
    m_frame->ShowWindow(SW_SHOWMAXIMIZED);
    afxtest::PumpMessages();
    const struct
    {
        const char* name;
        CWnd* pWnd;
        UINT vk;
    } tools[] = {{"Texture Adjustment", m_frame->GetTextureAdjust(), VK_F5},
                 {"Entity Editor", m_frame->GetEntityEditor(), VK_F2}};
    for (const auto& t : tools) {
        ASSERT_NE(nullptr, t.pWnd) << t.name;
        EXPECT_EQ(m_frame->m_hWnd, ::GetWindow(t.pWnd->m_hWnd, GW_OWNER)) << t.name;
        ASSERT_FALSE(t.pWnd->IsWindowVisible()) << t.name;
        PressKey(Maps().m_hWnd, t.vk);
        EXPECT_TRUE(t.pWnd->IsWindowVisible()) << t.name << " after one press";
    }
    // Side by side over the frame's MDI area.
    CRect client;
    ::GetWindowRect(m_frame->m_hWndMDIClient, &client);
    int x = client.left + 40;
    for (const auto& t : tools) {
        CRect tool;
        t.pWnd->GetWindowRect(&tool);
        t.pWnd->SetWindowPos(nullptr, x, client.top + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += tool.Width() + 20;
    }
    // Clicks in the frame's empty MDI area, then on one tool window and the frame again: the
    // frame comes to the front, its tool windows stay above it on the screen.
    for (int click = 0; click < 3; ++click) {
        CPoint at(client.right - 10, client.bottom - 10);
        if (click == 1) {
            CRect first;
            tools[0].pWnd->GetWindowRect(&first);
            at = CPoint(first.left + 10, first.top + 5);
        }
        ::SetCursorPos(at.x, at.y);
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        HWND expected = click == 1 ? tools[0].pWnd->m_hWnd : m_frame->m_hWnd;
        EXPECT_TRUE(afxtest::WaitFor([&] { return ::GetForegroundWindow() == expected; }, 2000)) << "click " << click;
        afxtest::PumpMessages();
        m_app.OnIdle(0); // the loop's idle time once the click is handled
        for (const auto& t : tools) {
            CRect tool;
            t.pWnd->GetWindowRect(&tool);
            HWND under = ::WindowFromPoint(tool.CenterPoint());
            EXPECT_EQ(t.pWnd->m_hWnd, ::GetAncestor(under, GA_ROOT)) << t.name << " is under the frame after click " << click;
        }
    }
    for (const auto& t : tools) {
        PressKey(Maps().m_hWnd, t.vk);
        EXPECT_FALSE(t.pWnd->IsWindowVisible()) << t.name << " after the second press";
    }
}

// F5 in the Texture Adjustment window and F2 in the Entity Editor (its class tree and its grid)
// hide the window with one press, and the map window that was active takes the keys again.
TEST_F(ResourceFixture, F5AndF2HideTheirToolWindowFromInsideIt)
{
    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\m1\\start.map", 255));
    afxtest::PumpMessages();
    CMDIChildWnd* pChild = m_frame->MDIGetActive();
    ASSERT_NE(nullptr, pChild);
    CView* pView = pChild->GetActiveView();
    ASSERT_NE(nullptr, pView);
    CEntityEditorDlg* pEditor = m_frame->GetEntityEditor();
    ASSERT_NE(nullptr, pEditor);
    CWnd* pGrid = pEditor->m_keyValuePage.GetGrid();
    ASSERT_NE(nullptr, pGrid);
    const struct
    {
        const char* name;
        CWnd* pTool;
        HWND hFocus;    // where the focus is when the key is pressed
        UINT vk;
    } cases[] = {{"Texture Adjustment", m_frame->GetTextureAdjust(), m_frame->GetTextureAdjust()->m_hWnd, VK_F5},
                 {"the Entity Editor's class tree", pEditor, pEditor->m_tree.m_hWnd, VK_F2},
                 {"the Entity Editor's grid", pEditor, pGrid->m_hWnd, VK_F2}};
    for (const auto& c : cases) {
        pView->SetFocus();
        PressKey(pView->m_hWnd, c.vk);
        ASSERT_TRUE(c.pTool->IsWindowVisible()) << c.name;
        ASSERT_TRUE(afxtest::Activate(c.pTool)) << c.name;
        PressKey(c.hFocus, c.vk);
        EXPECT_FALSE(c.pTool->IsWindowVisible()) << c.name << " after one press";
        EXPECT_EQ(pView->m_hWnd, ::GetFocus()) << c.name;
        EXPECT_EQ(m_frame->m_hWnd, ::GetActiveWindow()) << c.name;
    }
}

// A map folder named with ten million separators after it (a damaged project) is the same folder:
// a map saved there joins the list at once.
TEST_F(ResourceFixture, AMapSavedIntoAFolderNamedWithALongRunOfSeparatorsJoinsTheList)
{
    CIniFile* pProject = GetEditorServices()->GetProject();
    ASSERT_NE(nullptr, pProject);
    pProject->WriteString("Paths", "Maps", ("m1;m2" + std::string(10000000, '\\')).c_str(), TRUE);
    pProject->SetDirty(FALSE);
    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\m1\\start.map", 255));
    Map* pMap = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, pMap);
    const CString path = m_root + "\\m2\\saved.map";
    AfxSeamScript([&](AfxModalCall& call) {
        call.text = path;
        return (INT_PTR)IDOK;
    });
    AfxSeamAnswer(IDYES); // saved without an info_player_start
    AfxSeamAnswer(IDNO);  // the faces' texture is not in the project: nothing selected
    pMap->OnCmdMsg(ID_MAP_FILE_SAVE_AS, CN_COMMAND, nullptr, nullptr);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path));
    EXPECT_GE(IndexOf(Maps(), path), 0);
}

// A map saved under a new name into one of the project's map folders appears in the map list at
// once; one saved elsewhere does not.
TEST_F(ResourceFixture, AMapSavedAsIntoAMapFolderJoinsTheMapList)
{
    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\m1\\start.map", 255));
    Map* pMap = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, pMap);
    const struct
    {
        CString path;
        bool listed;
    } cases[] = {{m_root + "\\m2\\saved.map", true}, {m_root + "\\objs\\elsewhere.map", false},
                 {m_root + "\\M1\\Again.map", true}};
    int count = Maps().GetCount();
    for (const auto& c : cases) {
        AfxSeamScript([&](AfxModalCall& call) {
            call.text = c.path;
            return (INT_PTR)IDOK;
        });
        AfxSeamAnswer(IDYES); // saved without an info_player_start
        AfxSeamAnswer(IDNO);  // the faces' texture is not in the project: nothing selected
        pMap->OnCmdMsg(ID_MAP_FILE_SAVE_AS, CN_COMMAND, nullptr, nullptr);
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(c.path)) << (LPCSTR)c.path;
        count += c.listed ? 1 : 0;
        EXPECT_EQ(count, Maps().GetCount()) << (LPCSTR)c.path;
        EXPECT_EQ(c.listed, IndexOf(Maps(), c.path) >= 0) << (LPCSTR)c.path;
    }
    // Saved again under the same name: listed once.
    AfxSeamScript([&](AfxModalCall& call) {
        call.text = cases[0].path;
        return (INT_PTR)IDOK;
    });
    AfxSeamAnswer(IDYES);
    AfxSeamAnswer(IDNO);
    pMap->OnCmdMsg(ID_MAP_FILE_SAVE_AS, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(count, Maps().GetCount());
    EXPECT_EQ(0, AfxSeamPendingSteps());
}
