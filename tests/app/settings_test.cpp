// The editor's settings: the stored window rectangle, the start's show command, registry strings
// of other programs, the game path guess, the recent lists and the auto save clean-up.
#include "afxtest.h"
#include "afxpreview.h"
#include "afxprint.h"
#include "shell_fixture.h"
#include "EditorApp.h"
#include "IniFile.h"
#include "MainFrame.h"
#include "OpenGLView.h"
#include "Map.h"
#include "RecordingServices.h"
#include "Reporter.h"
#include "Services.h"
#include "Thing.h"
#include "ShellRes.h"
#include "../res/resource.h"
#include <cstring>
#include <fstream>
#include <map>

namespace {

// The test's temporary directory with the few helpers these tests use.
struct TempTree
{
    CTempDir dir;
    CString path = dir.Path();
    CString Make(LPCSTR sub) const
    {
        CString d = path + "\\" + sub;
        ::CreateDirectoryA(d, nullptr);
        return d;
    }
    static void Touch(const CString& file) { std::ofstream(static_cast<LPCSTR>(file)) << "x"; }
    static bool Exists(const CString& file) { return ::GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES; }
};

TEST(EditorSettings, TheStoredRectangleIsUsedOnlyWhenItIsWholeAndOnScreen)
{
    const int cx = 1280, cy = 1024;
    struct Case
    {
        LONG rect[4];
        DWORD size;
        bool kept;
    } cases[] = {
        {{10, 20, 810, 620}, 16, true},
        {{10, 20, 810, 620}, 12, false},   // a short value
        {{10, 20, 810, 620}, 20, false},   // a long one
        {{-791, 20, 9, 620}, 16, false},   // all but 9 pixels off to the left
        {{-790, 20, 10, 620}, 16, true},   // all but 10
        {{1271, 20, 2071, 620}, 16, false},
        {{1270, 20, 2070, 620}, 16, true},
        {{10, 1015, 810, 1615}, 16, false},
        {{10, 1014, 810, 1614}, 16, true},
        {{10, -600, 810, 9}, 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect[0] << "," << c.rect[1] << " size " << c.size);
        BYTE data[20] = {};
        std::memcpy(data, c.rect, sizeof c.rect);
        CRect got = CEditorApp::CheckedRectangle(data, c.size, cx, cy);
        if (c.kept)
            EXPECT_EQ(CRect(c.rect[0], c.rect[1], c.rect[2], c.rect[3]), got);
        else
            EXPECT_TRUE(got.IsRectEmpty());
    }
    EXPECT_TRUE(CEditorApp::CheckedRectangle(nullptr, 16, cx, cy).IsRectEmpty());
}

TEST(EditorSettings, TheStartsShowCommand)
{
    for (int cmd = 0; cmd <= 10; ++cmd) {
        SCOPED_TRACE(cmd);
        bool shows = cmd == 1 || cmd == 3 || cmd == 4 || cmd == 5 || cmd == 8 || cmd == 9 || cmd == 10;
        EXPECT_EQ(shows ? SW_SHOWMAXIMIZED : cmd, CEditorApp::StartShowCommand(cmd, TRUE, FALSE));
        EXPECT_EQ(cmd, CEditorApp::StartShowCommand(cmd, FALSE, FALSE));
        EXPECT_EQ(SW_SHOWNORMAL, CEditorApp::StartShowCommand(cmd, TRUE, TRUE));
        EXPECT_EQ(SW_SHOWNORMAL, CEditorApp::StartShowCommand(cmd, FALSE, TRUE));
    }
}

void SetSoftwareValue(LPCSTR path, LPCSTR name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, CProfileStore::OpenSoftwareKey(path, KEY_ALL_ACCESS, &key, TRUE));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    ::RegCloseKey(key);
}

void SetSoftwareString(LPCSTR path, LPCSTR name, const CString& value)
{
    SetSoftwareValue(path, name, REG_SZ, static_cast<LPCSTR>(value), value.GetLength() + 1);
}

TEST(EditorSettings, RegistryStringsAreReadWithinTheirBound)
{
    CString s259('a', 259), s300('b', 300), got("unchanged");
    SetSoftwareString("MorvaneTest", "Fits", s259);
    SetSoftwareString("MorvaneTest", "Long", s300);
    DWORD number = 7;
    SetSoftwareValue("MorvaneTest", "Number", REG_DWORD, &number, sizeof number);
    // Stored without its terminator: the reader ends it itself.
    SetSoftwareValue("MorvaneTest", "Bare", REG_SZ, "abc", 3);
    EXPECT_TRUE(CEditorApp::GetRegString("MorvaneTest", "Fits", got));
    EXPECT_EQ(s259, got);
    EXPECT_FALSE(CEditorApp::GetRegString("MorvaneTest", "Long", got));
    EXPECT_FALSE(CEditorApp::GetRegString("MorvaneTest", "Number", got));
    EXPECT_FALSE(CEditorApp::GetRegString("MorvaneTest", "Missing", got));
    EXPECT_FALSE(CEditorApp::GetRegString("MorvaneTest\\Nowhere", "Fits", got));
    EXPECT_TRUE(CEditorApp::GetRegString("MorvaneTest", "Bare", got));
    EXPECT_STREQ("abc", got);

    // The classes root: the test writes its own key and removes it.
    const char kRoot[] = "MorvaneTest.Settings";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               &key, nullptr));
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("http://x/"), 10);
    ::RegSetValueExA(key, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCSTR>(s300)), 301);
    ::RegCloseKey(key);
    EXPECT_TRUE(CEditorApp::RegReadRootString(kRoot, nullptr, got));
    EXPECT_STREQ("http://x/", got);
    EXPECT_FALSE(CEditorApp::RegReadRootString(kRoot, "Long", got));
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kRoot);
    EXPECT_FALSE(CEditorApp::RegReadRootString(kRoot, nullptr, got));
}

TEST(EditorSettings, TheGamePathComesFromTheFirstLauncherThatHasIt)
{
    const char kFirst[] = "GameSpy\\GameSpy 3D\\QSpy Quake";
    const char kSecond[] = "Quake\\QSpy\\QSpy Quake";
    CEditorApp app;
    app.SetRegistryKey("Morvane");
    // Neither launcher: nothing written.
    EXPECT_FALSE(app.DetectQuakePath());
    EXPECT_STREQ("", app.GetProfileString("Project Settings", "Quake Path", ""));

    // The second only: its directory, trailing separator dropped.
    SetSoftwareString(kSecond, "WorkDir", "C:\\Quake2\\");
    SetSoftwareString(kSecond, "CmdLine", "C:\\Quake2\\q2.exe");
    EXPECT_TRUE(app.DetectQuakePath());
    EXPECT_STREQ("C:\\Quake2", app.GetProfileString("Project Settings", "Quake Path", ""));
    EXPECT_STREQ("C:\\Quake2\\q2.exe", app.GetProfileString("Project Settings", "Quake Exe", ""));

    // The first wins; a directory without the separator stays as it is.
    SetSoftwareString(kFirst, "WorkDir", "D:\\Quake");
    SetSoftwareString(kFirst, "CmdLine", "D:\\Quake\\quake.exe");
    EXPECT_TRUE(app.DetectQuakePath());
    EXPECT_STREQ("D:\\Quake", app.GetProfileString("Project Settings", "Quake Path", ""));
    EXPECT_STREQ("D:\\Quake\\quake.exe", app.GetProfileString("Project Settings", "Quake Exe", ""));
}

// The clean-up at exit takes only what this run's auto save wrote: never a map that was on disk,
// whatever the auto-save folder and extension, and never a file in the project's own folders.
TEST(EditorSettings, AutoSaveCleanUpDeletesOnlyTheFilesThisRunsAutoSaveWrote)
{
    TempTree tree;
    CString autosave = tree.Make("autosave");
    CString maps = tree.Make("Maps");
    TempTree::Touch(maps + "\\e1m1.map");
    TempTree::Touch(maps + "\\b.MAP");
    TempTree::Touch(autosave + "\\keep.map");
    TempTree::Touch(autosave + "\\old.map"); // an earlier run's, or the user's: not this run's

    CEditorApp app;
    app.SetRegistryKey("Morvane");
    CDefaultEditorServices services;
    SetEditorServices(&services);
    CReporter reporter(&services);
    CReporter::Set(&reporter);
    services.WriteProfileString("Project Settings", "Root Path", tree.path);
    Map::ForgetAutoSaveFiles();
    // The auto save of an untitled map and of one named like a file already there.
    auto autoSave = [&](LPCSTR folder, LPCSTR name) {
        services.WriteProfileString("Options", "Auto Save Path", folder);
        Map map;
        map.m_bAutoDelete = FALSE;
        ASSERT_TRUE(map.OnNewDocument());
        map.SetPathName(tree.path + "\\" + name, FALSE);
        map.SetModifiedFlag();
        map.AutoSave(1);
    };

    // No project in this run, the auto-save folder is the Maps folder: its maps stay.
    app.WriteProfileString("Options", "Auto Save Path", maps);
    app.DeleteAutoSaveFiles();
    EXPECT_TRUE(TempTree::Exists(maps + "\\e1m1.map"));
    EXPECT_TRUE(TempTree::Exists(maps + "\\b.MAP"));
    autoSave(maps, "Untitled_1.map");
    ASSERT_TRUE(TempTree::Exists(maps + "\\Untitled_1.map"));
    app.DeleteAutoSaveFiles();
    EXPECT_FALSE(TempTree::Exists(maps + "\\Untitled_1.map"));
    EXPECT_TRUE(TempTree::Exists(maps + "\\e1m1.map"));
    EXPECT_TRUE(TempTree::Exists(maps + "\\b.MAP"));

    // A relative folder against the root: the new file goes, the overwritten one stays.
    autoSave("autosave", "new.map");
    autoSave("autosave", "old.map");
    ASSERT_TRUE(TempTree::Exists(autosave + "\\new.map"));
    app.DeleteAutoSaveFiles();
    EXPECT_FALSE(TempTree::Exists(autosave + "\\new.map"));
    EXPECT_TRUE(TempTree::Exists(autosave + "\\old.map"));
    EXPECT_TRUE(TempTree::Exists(autosave + "\\keep.map"));

    // Switched off: nothing goes.
    autoSave("autosave", "new.map");
    app.WriteProfileInt("Options", "Delete Auto Save Files", 0);
    app.DeleteAutoSaveFiles();
    EXPECT_TRUE(TempTree::Exists(autosave + "\\new.map"));
    app.WriteProfileInt("Options", "Delete Auto Save Files", 1);
    ::DeleteFileA(autosave + "\\new.map");

    // In one of the project's own folders an auto save stays among its maps.
    CIniFile project(tree.path + "\\p.prj");
    project.AddString("Paths", "Maps", "Maps");
    services.SetProject(&project);
    app.RememberProjectDirectories();
    autoSave(tree.path + "\\MAPS\\", "Untitled_2.map");
    app.DeleteAutoSaveFiles();
    EXPECT_TRUE(TempTree::Exists(maps + "\\Untitled_2.map"));

    services.SetProject(nullptr);
    CReporter::Set(nullptr);
    SetEditorServices(nullptr);
}

class SettingsStart : public testing::Test
{
protected:
    void Prepare()
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        m_app.SetRegistryKey("Morvane");
    }
    BOOL Start() { return m_app.InitInstance(); }
    void Quit()
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
        m_app.ExitInstance();
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
    }
    CEditorApp m_app;
};

// A closed camera window's context is kept for the next camera window while the editor runs, and
// freed at its end.
TEST_F(SettingsStart, ExitFreesTheContextsClosedCameraWindowsLeft)
{
    COpenGLView::FreeSpareContexts();
    Prepare();
    ASSERT_TRUE(Start());
    TempTree tree;
    CString map = tree.path + "\\cube.map";
    std::ofstream(static_cast<LPCSTR>(map), std::ios::binary) << shelltest::CubeMap();
    shelltest::TolerateLoadReports();
    ASSERT_TRUE(m_app.GetMainFrame()->OpenMap(map, VIEW_ALL_FOUR));
    EXPECT_EQ(0, COpenGLView::GetSpareContextCount());
    m_app.CloseAllDocuments(FALSE);
    EXPECT_EQ(1, COpenGLView::GetSpareContextCount());
    Quit();
    EXPECT_EQ(0, COpenGLView::GetSpareContextCount());
}

// Closing the editor while a map's print preview shows leaves the preview first: the bars are saved
// as the user had them, and the next start shows them so.
TEST_F(SettingsStart, ClosingDuringPrintPreviewSavesTheBarsAsTheyWere)
{
    Prepare();
    ASSERT_TRUE(Start());
    CMainFrame* pFrame = m_app.GetMainFrame();
    // One floating toolbar besides the docked ones and the two windows.
    CControlBar* pAlign = pFrame->GetControlBar(IDW_TOOLBAR_ALIGN);
    ASSERT_NE(nullptr, pAlign);
    pFrame->ShowControlBar(pAlign, TRUE, FALSE);
    pFrame->FloatControlBar(pAlign, CPoint(60, 500));
    TempTree tree;
    CString map = tree.path + "\\cube.map";
    std::ofstream(static_cast<LPCSTR>(map), std::ios::binary) << shelltest::CubeMap();
    shelltest::TolerateLoadReports();
    ASSERT_TRUE(pFrame->OpenMap(map, VIEW_XY));
    afxtest::PumpMessages();
    std::map<UINT, BOOL> shown;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (!pBar->IsDockBar())
            shown[(UINT)::GetDlgCtrlID(pBar->m_hWnd)] = pBar->IsVisible();
    }
    ASSERT_TRUE(shown[IDW_TOOLBAR_MAP]);
    ASSERT_TRUE(shown[IDW_TOOLBAR_ALIGN]);
    ASSERT_TRUE(shown[59140]);    // the Output window

    CStandInPrinter printer(CSize(400, 300));
    CPrinterDevice* pOld = AfxSetPrinterDevice(&printer);
    pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(nullptr, dynamic_cast<CPreviewView*>(
                           CWnd::FromHandlePermanent(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST))));
    ASSERT_FALSE(pFrame->GetControlBar(IDW_TOOLBAR_MAP)->IsVisible());
    Quit();
    AfxSetPrinterDevice(pOld);
    EXPECT_EQ(0, printer.m_nDCsOpen);
    if (m_app.m_hDevNames != nullptr)
        ::GlobalFree(m_app.m_hDevNames);
    m_app.m_hDevNames = nullptr;

    ASSERT_TRUE(Start());
    pFrame = m_app.GetMainFrame();
    for (const auto& bar : shown) {
        CControlBar* pBar = pFrame->GetControlBar(bar.first);
        ASSERT_NE(nullptr, pBar) << bar.first;
        EXPECT_EQ(bar.second, pBar->IsVisible()) << "bar " << bar.first;
    }
    EXPECT_TRUE(pFrame->GetControlBar(IDW_TOOLBAR_ALIGN)->IsFloating());
}

TEST_F(SettingsStart, ExitWritesTheWindowAndTheRecentListsAndTheNextStartReadsThem)
{
    // The rectangle as another start wrote it: four little-endian 32-bit numbers.
    const BYTE stored[16] = {40, 0, 0, 0, 30, 0, 0, 0, 0x60, 3, 0, 0, 0x88, 2, 0, 0}; // 40,30 - 864,648
    Prepare();
    m_app.WriteProfileBinary("Main Window", "Rectangle", const_cast<BYTE*>(stored), sizeof stored);
    m_app.WriteProfileInt("Main Window", "Maximized", 0);
    m_app.WriteProfileString("Recent File List", "File 1", "C:\\maps\\one.map");
    m_app.WriteProfileString("Recent Project List", "Project 1", "C:\\p\\one.prj");
    m_app.WriteProfileInt("Options", "Reload", 1);
    m_app.WriteProfileString("Options", "Last Project", "C:\\p\\one.prj");
    AfxSeamAnswer(IDOK);    // "Reload" tries the last project, which is not there
    ASSERT_TRUE(Start());
    ASSERT_EQ(1u, AfxSeamCalls().size());
    EXPECT_EQ(0, AfxSeamCalls()[0].text.Find("Cannot open the project file C:\\p\\one.prj"));
    EXPECT_EQ(CRect(40, 30, 864, 648), m_app.m_rcMain);
    CRect placed;
    m_app.GetMainFrame()->GetWindowRect(&placed);
    EXPECT_EQ(CRect(40, 30, 864, 648), placed);
    EXPECT_STREQ("C:\\p\\one.prj", m_app.m_strLastProject);
    ASSERT_NE(nullptr, m_app.GetRecentMaps());
    EXPECT_STREQ("C:\\maps\\one.map", (*m_app.GetRecentMaps())[0]);
    EXPECT_STREQ("C:\\p\\one.prj", (*m_app.GetRecentProjects())[0]);

    m_app.GetMainFrame()->MoveWindow(50, 60, 700, 500);
    m_app.AddToRecentFileList("C:\\maps\\two.map");
    m_app.AddToRecentProjectList("C:\\p\\two.prj");
    Quit();

    BYTE raw[32] = {};
    DWORD size = sizeof raw;
    ASSERT_TRUE(m_app.GetProfileBinary("Main Window", "Rectangle", raw, &size));
    const BYTE expected[16] = {50, 0, 0, 0, 60, 0, 0, 0, 0xEE, 2, 0, 0, 0x30, 2, 0, 0}; // 50,60 - 750,560
    ASSERT_EQ(16u, size);
    EXPECT_EQ(0, std::memcmp(expected, raw, 16));
    EXPECT_EQ(0u, m_app.GetProfileInt("Main Window", "Maximized", 9));
    EXPECT_STREQ("C:\\maps\\two.map", m_app.GetProfileString("Recent File List", "File 1"));
    EXPECT_STREQ("C:\\maps\\one.map", m_app.GetProfileString("Recent File List", "File 2"));
    EXPECT_STREQ("C:\\p\\two.prj", m_app.GetProfileString("Recent Project List", "Project 1"));

    // A value of another type, or of another size, is not a rectangle.
    m_app.WriteProfileString("Main Window", "Rectangle", "40 30 864 648");
    size = sizeof raw;
    EXPECT_FALSE(m_app.GetProfileBinary("Main Window", "Rectangle", raw, &size));
    m_app.LoadSettings();
    EXPECT_TRUE(m_app.m_rcMain.IsRectEmpty());
    m_app.WriteProfileBinary("Main Window", "Rectangle", const_cast<BYTE*>(stored), 12);
    m_app.LoadSettings();
    EXPECT_TRUE(m_app.m_rcMain.IsRectEmpty());

    // Without "Reload" the last project is not even read.
    m_app.WriteProfileInt("Options", "Reload", 0);
    m_app.LoadSettings();
    EXPECT_TRUE(m_app.m_strLastProject.IsEmpty());

    EXPECT_TRUE(m_app.RegKeyExists("Options"));
    EXPECT_TRUE(m_app.RegDeleteSection("Options"));
    EXPECT_FALSE(m_app.RegKeyExists("Options"));
}

} // namespace
