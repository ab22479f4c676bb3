// Build and user tools from the editor's main frame: its commands, menus, Output window and close,
// run against the stand-in tool program in a temporary project.
#include "BuildRes.h"
#include "ShellRes.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include "Map.h"
#include "Entity.h"
#include "Thing.h"
#include "ToolsPage.h"
#include "afxtest.h"
#include "buildtools_util.h"
#include "shell_fixture.h"
#include "../../res/resource.h"
#include "MapCommands.h"
#include "shareddata.h"
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

const char kSmallMap[] =
    "{\r\n\"classname\" \"worldspawn\"\r\n{\r\n"
    "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) WALL1 0 0 0 1 1\r\n( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\r\n"
    "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\r\n( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n"
    "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) WALL1 0 0 0 1 1\r\n"
    "}\r\n}\r\n{\r\n\"classname\" \"info_player_start\"\r\n\"origin\" \"32 32 24\"\r\n}\r\n";

std::string Text(CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return std::string(text);
}

CString SharedData(LPCSTR path)
{
    return shareddata::Path(path).c_str();
}

CString SharedMap(LPCSTR name)
{
    return SharedData(CString("maps\\") + name);
}

// A little-endian 32-bit number of a file's bytes.
long FileLong(const std::string& bytes, size_t at)
{
    if (at + 4 > bytes.size())
        return -1;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return static_cast<long>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned long>(p[3]) << 24));
}

// The editor started for real, with a project in a temporary directory: Bin with qbsp, vis and
// light, a game directory with the game and id1\maps, and maps in "maps" (all paths with blanks).
class FrameFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        bin = dir / "Bin";
        quake = dir / "Quake";
        bt::MakeDirs(bin);
        bt::MakeDirs(quake + "\\id1\\maps");
        bt::MakeDirs(dir / "maps");
        bt::WriteTextFile(dir / "game.prj", "[Paths]\r\nBin=Bin\r\nMaps=maps\r\n");
        Tool("qbsp.exe", "out qbsp\nbsp\n");
        Tool("vis.exe", "err vis\n");
        Tool("light.exe", "out light\n");
        bt::CopyStandin(quake, "game.exe", "record game.log\n");
        Start();
    }
    void TearDown() override
    {
        Finish();
        // What the tests wrote is nobody's setting.
        app.RegDeleteSection("Tools");
        app.RegDeleteSection("Project Settings");
    }
    void Start()
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(app);
        shelltest::TolerateLoadReports();
        ASSERT_TRUE(app.InitInstance());
        frame = app.GetMainFrame();
        ASSERT_NE(frame, nullptr);
        app.WriteProfileString("Project Settings", "Root Path", dir.Path());
        app.WriteProfileString("Project Settings", "Quake Path", quake);
        app.WriteProfileString("Project Settings", "Quake Exe", "game.exe");
        ASSERT_TRUE(frame->OpenProject(dir / "game.prj"));
    }
    void Finish()
    {
        app.CloseAllDocuments(FALSE);
        if (app.m_pMainWnd != nullptr)
            app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
        frame = nullptr;
    }
    void Tool(LPCSTR name, LPCSTR instructions) { bt::CopyStandin(bin, name, instructions); }
    // id's compilers in Bin, a WAD in the game folder as gfx\base.wad and the project naming it
    // (the test is skipped without the compilers or the WAD).
    void UseIdsCompilers()
    {
        const std::string noCompilers = shareddata::LackingMapCompilers();
        if (!noCompilers.empty())
            GTEST_SKIP() << noCompilers;
        const CString compilers = shareddata::MapCompilers().c_str();
        const CString wad = SharedData("wads\\lq_dev.wad");
        SKIP_WITHOUT_SHARED_DATA(wad);
        for (LPCSTR tool : {"qbsp.exe", "vis.exe", "light.exe"})
            ASSERT_TRUE(::CopyFileA(compilers + "\\" + tool, bin + "\\" + tool, FALSE)) << tool;
        bt::MakeDirs(quake + "\\id1\\gfx");
        ASSERT_TRUE(::CopyFileA(wad, quake + "\\id1\\gfx\\base.wad", FALSE));
        bt::WriteTextFile(dir / "game.prj",
                          "[Paths]\r\nBin=Bin\r\nMaps=maps\r\n[Wads]\r\nFile1=Quake\\id1\\gfx\\base.wad\r\n");
        AfxSeamAnswer(IDOK);    // the open project is replaced
        ASSERT_TRUE(frame->OpenProject(dir / "game.prj"));
        AfxSeamReset();
    }
    // Opens the map into one plan window, which becomes the active map window.
    Map* Open(const CString& path)
    {
        // The project has no WADs and no entity classes: the open reports what it misses (the
        // boxes are the open's business, not the build's).
        for (int i = 0; i < 6; ++i)
            AfxSeamAnswer(IDOK);
        BOOL bOpened = frame->OpenMap(path, VIEW_XY);
        afxtest::PumpMessages();
        AfxSeamReset();
        if (!bOpened)
            return nullptr;
        return dynamic_cast<Map*>(GetEditorServices()->GetActiveMap());
    }
    Map* OpenSmall()
    {
        mapFile = dir / "maps\\small.map";
        bt::WriteTextFile(mapFile, kSmallMap);
        return Open(mapFile);
    }
    // The Build Map dialog as a user fills it: every group on (each switched off and on again),
    // Only Build Visible Objects as asked, then OK.
    static void DriveDialog(bool onlyVisible = false)
    {
        AfxSeamDrive([onlyVisible](AfxModalCall& call) {
            HWND h = call.hWnd;
            const std::pair<int, int> groups[] = {{IDC_BUILD_QBSP, IDC_BUILD_QBSP_EXTRA},
                                                  {IDC_BUILD_VIS, IDC_BUILD_VIS_EXTRA},
                                                  {IDC_BUILD_LIGHT, IDC_BUILD_LIGHT_EXTRA},
                                                  {IDC_BUILD_RUN_QUAKE, IDC_BUILD_QUAKE_EXTRA}};
            for (const auto& g : groups) {
                ::CheckDlgButton(h, g.first, BST_UNCHECKED);
                AfxSeamPressButton(h, g.first);
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, g.second)));
                ::CheckDlgButton(h, g.first, BST_CHECKED);
                AfxSeamPressButton(h, g.first);
                EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, g.second)));
            }
            if (onlyVisible)
                ::CheckDlgButton(h, IDC_BUILD_ONLY_VISIBLE, BST_CHECKED);
            AfxSeamPressButton(h, IDOK);
        });
    }
    void Command(UINT nID) { frame->SendMessage(WM_COMMAND, nID); }
    // The Build command's state as the frame's update handler gives it.
    std::pair<BOOL, int> BuildState()
    {
        CTestCmdUI ui;
        ui.m_nID = ID_BUILD;
        ui.DoUpdate(frame, FALSE);
        return {ui.m_bEnabled, ui.m_nCheck};
    }
    // A build runs four programs one after the other: on a busy machine that takes a while.
    bool WaitBuildDone()
    {
        return bt::WaitFor([&] { return !frame->GetBuildCommand().GetPipeline().IsRunning(); }, 60000);
    }
    std::string BuildPane() { return Text(frame->m_wndOutputBar.m_build); }
    // Waits for the stand-in's "pid=N" line in the text the getter gives and opens its process.
    static HANDLE OpenPrintedProcess(const std::function<std::string()>& text)
    {
        std::string seen;
        if (!bt::WaitFor([&] { return (seen = text()).find("pid=") != std::string::npos; }))
            return nullptr;
        DWORD pid = strtoul(seen.c_str() + seen.find("pid=") + 4, nullptr, 10);
        return ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    }

    bt::TempDir dir;
    CString bin, quake, mapFile;
    CEditorApp app;
    CMainFrame* frame = nullptr;
};

// ---- Texts --------------------------------------------------------------------------------------

// The program's scripts share one string table: each message keeps its own text.
TEST(ProgramStrings, EachMessageLoadsItsOwnText)
{
    const struct
    {
        UINT id;
        const char* text;
    } cases[] = {
        {IDS_NO_BIN_PATHS, "No bin paths are specified in the project settings"},
        {IDS_CANT_CREATE_PATH, "The path %s could not\nbe created"},
    };
    for (const auto& c : cases) {
        CString text;
        EXPECT_TRUE(text.LoadString(c.id)) << c.id;
        EXPECT_EQ(std::string(text), c.text) << c.id;
    }
}

// ---- Build ------------------------------------------------------------------------------------

TEST_F(FrameFixture, CtrlBBuildsTheActiveMapIntoTheBuildPaneAndStartsTheGame)
{
    // Ctrl+B is the Build command.
    HACCEL hAccel = frame->m_hAccelTable;
    ASSERT_NE(hAccel, nullptr);
    ACCEL accels[64];
    int n = ::CopyAcceleratorTableA(hAccel, accels, 64);
    bool ctrlB = false;
    for (int i = 0; i < n; ++i)
        ctrlB |= accels[i].key == 'B' && accels[i].cmd == ID_BUILD && (accels[i].fVirt & FCONTROL);
    EXPECT_TRUE(ctrlB);

    // Without a map window Build is off and does nothing.
    EXPECT_EQ(BuildState(), std::make_pair(FALSE, 0));
    Command(ID_BUILD);
    EXPECT_TRUE(shelltest::Calls().empty());

    ASSERT_NE(OpenSmall(), nullptr);
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 0));
    frame->m_wndOutputBar.PrintToTab("Build", "an older build\r\n");
    frame->m_wndOutputBar.ActivateTab("Messages");
    DriveDialog();
    Command(ID_BUILD);
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 1));   // checked while a step runs
    ASSERT_TRUE(WaitBuildDone());
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 0));
    std::string saved = bt::ReadTextFile(mapFile);
    EXPECT_EQ(BuildPane(), "Building file: " + std::string(mapFile) + "\n" + "qbsp\nmap=" + std::string(mapFile) +
                               " size=" + std::to_string(saved.size()) + " first={\n" + "wrote " +
                               std::string(dir / "maps\\small.bsp") + "\nvis\nlight\n" +
                               "\n\nBuild process completed successfully\n");
    EXPECT_EQ(frame->m_wndOutputBar.m_tabWnd.GetActiveWnd(), &frame->m_wndOutputBar.m_build);   // shown
    EXPECT_TRUE(bt::FileExists(quake + "\\id1\\maps\\small.bsp"));
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
              "cmdline=\"" + std::string(quake) + "\\game.exe\" +map small\ncwd=" + std::string(quake) + "\n");
    ASSERT_EQ(shelltest::Calls().size(), 1u);   // the dialog, no box
    EXPECT_EQ(shelltest::Calls()[0].nIDTemplate, (UINT)IDD_BUILD_MAP);
}

TEST_F(FrameFixture, BuildPressedDuringABuildCancelsItAndAFailingQbspEndsWithItsBox)
{
    ASSERT_NE(OpenSmall(), nullptr);
    Tool("qbsp.exe", "pid\nsleep forever\n");
    DriveDialog();
    Command(ID_BUILD);
    HANDLE hChild = OpenPrintedProcess([&] { return BuildPane(); });
    ASSERT_NE(hChild, nullptr);
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 1));
    AfxSeamAnswer(IDOK);    // the cancel message
    Command(ID_BUILD);
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szCanceled});
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 0));
    EXPECT_NE(BuildPane().find("\n\nBuild process canceled at the user's request\n"), std::string::npos);
    bt::Settle(100);
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 0));

    // The next Build opens the dialog again; qbsp fails.
    Tool("qbsp.exe", "err ERROR: leak\nexit 1\n");
    AfxSeamReset();
    DriveDialog();
    AfxSeamAnswer(IDOK);
    Command(ID_BUILD);
    ASSERT_TRUE(WaitBuildDone());
    ASSERT_EQ(shelltest::Calls().size(), 2u);
    EXPECT_EQ(shelltest::Calls()[0].kind, AFX_MODAL_DIALOG);
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szFailedToBuild});
    EXPECT_EQ(BuildPane(), "Building file: " + std::string(mapFile) + "\nERROR: leak\n\n\nqbsp.exe failed with exit code 1\n");
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 0));
}

TEST_F(FrameFixture, AMegabyteInTheBuildPaneStaysNearItsLimitAndEveryBlockArrives)
{
    ASSERT_NE(OpenSmall(), nullptr);
    Tool("qbsp.exe", "flood 1048576\nout last line\nsleep forever\n");
    // Every block the worker posts to the pane, counted on its way (the pane frees it).
    static HWND s_hWndPane;
    static size_t s_bytes, s_blocks;
    s_hWndPane = frame->m_wndOutputBar.m_build.m_hWnd;
    s_bytes = s_blocks = 0;
    HHOOK hHook = ::SetWindowsHookExA(
        WH_GETMESSAGE,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            auto* pMsg = reinterpret_cast<MSG*>(lParam);
            if (code == HC_ACTION && wParam == PM_REMOVE && pMsg->hwnd == s_hWndPane &&
                pMsg->message == WM_TOOL_OUTPUT) {
                s_bytes += strlen(reinterpret_cast<const char*>(pMsg->wParam));
                ++s_blocks;
            }
            return ::CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hHook, nullptr);
    DriveDialog();
    Command(ID_BUILD);
    // What the stand-in writes: the flood, then its last line (and then it sleeps).
    std::string flood;
    for (int i = 0; flood.size() < 1048576; ++i) {
        char sz[80];
        snprintf(sz, sizeof sz, "line %05d out abcdefghijklmnopqrstuvwxyz\n", i);
        flood += sz;
    }
    const size_t total = flood.size() + std::string("last line\n").size();
    // The editor goes on with its idle work meanwhile; the step is still running afterwards.
    int idle = 0;
    ASSERT_TRUE(bt::WaitFor([&] {
        app.OnIdle(0);
        ++idle;
        return s_bytes >= total;
    }));
    ::UnhookWindowsHookEx(hHook);
    EXPECT_EQ(s_bytes, total);
    EXPECT_GE(s_blocks, total / 1023);
    EXPECT_GT(idle, 1);
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 1));
    std::string pane = BuildPane();
    EXPECT_LE(pane.size(), 30000u + 1023u);
    EXPECT_GT(pane.size(), 30000u - 8192u - 1023u);
    EXPECT_NE(pane.find(COutputEdit::kCutText), std::string::npos);
    EXPECT_EQ(pane.substr(pane.size() - 10), "last line\n");
    EXPECT_NE(pane.find("line 24"), std::string::npos);     // the newest lines of the flood
    AfxSeamAnswer(IDOK);
    Command(ID_BUILD);
    EXPECT_EQ(BuildState(), std::make_pair(TRUE, 0));
}

// ---- User tools -------------------------------------------------------------------------------

class FrameTools : public FrameFixture
{
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        program = bt::CopyStandin(dir.Path(), "tool.exe");
        // Tools written to the settings are the frame's after the next start.
        struct
        {
            LPCSTR menu, arguments;
            int output;
        } tools[] = {{"&Compile", "cwd out ${MapName}|${ProjectName}", 1},
                     {"&Sleeper", "pid sleep forever", 1},
                     {"Quiet", "out nothing", 0}};
        int n = 1;
        for (const auto& t : tools) {
            CString key;
            key.Format("Menu Text #%d", n);
            app.WriteProfileString("Tools", key, t.menu);
            key.Format("Command #%d", n);
            app.WriteProfileString("Tools", key, program);
            key.Format("Arguments #%d", n);
            app.WriteProfileString("Tools", key, t.arguments);
            key.Format("Initial Directory #%d", n);
            app.WriteProfileString("Tools", key, "${ProjectDir}");
            key.Format("Output To Window #%d", n);
            app.WriteProfileInt("Tools", key, t.output);
            ++n;
        }
        Finish();
        Start();
    }
    CMenu* ToolsMenu()
    {
        CMenu* pTools = FindToolsMenu(frame->GetMenu());
        if (pTools != nullptr)
            frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pTools->m_hMenu), 4);
        return pTools;
    }
    std::string Pane(LPCSTR label)
    {
        COutputEdit* pPane = frame->m_wndOutputBar.FindPane(label);
        return pPane != nullptr ? Text(*pPane) : std::string("<no pane>");
    }
    CString program;
};

TEST_F(FrameTools, ToolsLoadAtStartAndRunFromTheToolsMenuWithTheirMacros)
{
    ASSERT_EQ(frame->GetUserTools().GetCount(), 3);
    EXPECT_NE(frame->m_wndOutputBar.FindPane("Compile"), nullptr);
    EXPECT_NE(frame->m_wndOutputBar.FindPane("Sleeper"), nullptr);
    EXPECT_EQ(frame->m_wndOutputBar.FindPane("Quiet"), nullptr);

    // The Tools menu ends with the tools, after a separator.
    CMenu* pTools = ToolsMenu();
    ASSERT_NE(pTools, nullptr);
    int count = static_cast<int>(pTools->GetMenuItemCount());
    ASSERT_GE(count, 4);
    EXPECT_NE(pTools->GetMenuState(count - 4, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    CString text;
    pTools->GetMenuString(count - 3, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Compile");
    EXPECT_EQ(pTools->GetMenuItemID(count - 1), ID_USER_TOOL_FIRST + 2);
    EXPECT_EQ(pTools->GetMenuState(ID_USER_TOOL_FIRST, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0u);
    // Opening it again does not add them twice.
    ToolsMenu();
    EXPECT_EQ(static_cast<int>(pTools->GetMenuItemCount()), count);

    // With a map window (maximised: its system menu comes first in the bar) the tool sees the map.
    ASSERT_NE(OpenSmall(), nullptr);
    frame->MDIMaximize(frame->MDIGetActive());
    afxtest::PumpMessages();
    pTools = ToolsMenu();
    ASSERT_NE(pTools, nullptr);
    EXPECT_EQ(pTools->GetMenuState(ID_USER_TOOL_FIRST + 1, MF_BYCOMMAND) & MF_CHECKED, 0u);
    Command(ID_USER_TOOL_FIRST);
    ASSERT_TRUE(bt::WaitFor([&] { return !frame->GetUserTools().GetTool(0)->IsRunning(); }));
    bt::Settle(50);
    std::string pane = Pane("Compile");
    EXPECT_NE(pane.find("small|game\n"), std::string::npos) << pane;
    EXPECT_NE(pane.find("cwd=" + std::string(dir.Path())), std::string::npos) << pane;
    EXPECT_EQ(pane.substr(pane.size() - strlen(CUserTools::szFinished)), CUserTools::szFinished);
    EXPECT_EQ(frame->m_wndOutputBar.m_tabWnd.GetActiveWnd(), frame->m_wndOutputBar.FindPane("Compile"));

    // A tool without output to the window writes nowhere.
    Command(ID_USER_TOOL_FIRST + 2);
    ASSERT_TRUE(bt::WaitFor([&] { return !frame->GetUserTools().GetTool(2)->IsRunning(); }));
    EXPECT_EQ(BuildPane().find("nothing"), std::string::npos);
    EXPECT_TRUE(shelltest::Calls().empty());
}

TEST_F(FrameTools, ARunningToolIsCheckedAndChoosingItStopsIt)
{
    Command(ID_USER_TOOL_FIRST + 1);
    HANDLE hChild = OpenPrintedProcess([&] { return Pane("Sleeper"); });
    ASSERT_NE(hChild, nullptr);
    CMenu* pTools = ToolsMenu();
    ASSERT_NE(pTools, nullptr);
    EXPECT_NE(pTools->GetMenuState(ID_USER_TOOL_FIRST + 1, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(pTools->GetMenuState(ID_USER_TOOL_FIRST, MF_BYCOMMAND) & MF_CHECKED, 0u);
    Command(ID_USER_TOOL_FIRST + 1);
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    EXPECT_FALSE(frame->GetUserTools().GetTool(1)->IsRunning());
    std::string pane = Pane("Sleeper");
    EXPECT_EQ(pane.substr(pane.size() - strlen(CUserTools::szCanceled)), CUserTools::szCanceled);
    pTools = ToolsMenu();
    EXPECT_EQ(pTools->GetMenuState(ID_USER_TOOL_FIRST + 1, MF_BYCOMMAND) & MF_CHECKED, 0u);
    bt::Settle(100);
    EXPECT_EQ(Pane("Sleeper"), pane);   // the late end adds nothing
}

TEST_F(FrameTools, ClosingTheFrameStopsTheBuildAndEveryTool)
{
    ASSERT_NE(OpenSmall(), nullptr);
    Tool("qbsp.exe", "pid\nsleep forever\n");
    DriveDialog();
    Command(ID_BUILD);
    HANDLE hStep = OpenPrintedProcess([&] { return BuildPane(); });
    ASSERT_NE(hStep, nullptr);
    Command(ID_USER_TOOL_FIRST + 1);
    HANDLE hTool = OpenPrintedProcess([&] { return Pane("Sleeper"); });
    ASSERT_NE(hTool, nullptr);
    AfxSeamReset();
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(bt::ProcessEnds(hStep));
    EXPECT_TRUE(bt::ProcessEnds(hTool));
    EXPECT_TRUE(shelltest::Calls().empty());    // closing says nothing
    afxtest::DrainQuit();
    frame = nullptr;
}

// A run's child may do its work in programs of its own: a tool given as "cmd /c ...", a game
// started through a .bat file. Stopping the run (the tool chosen again, Build pressed again, the
// editor closed) ends those too.
TEST_F(FrameFixture, StoppingARunEndsTheProgramsItsChildStarted)
{
    const std::string standin = "\"" + std::string(bt::StandinPath()) + "\" pid sleep forever";
    app.WriteProfileString("Tools", "Menu Text #1", "&Shell");
    app.WriteProfileString("Tools", "Command #1", "cmd.exe");
    app.WriteProfileString("Tools", "Arguments #1", ("/c " + standin).c_str());
    app.WriteProfileString("Tools", "Initial Directory #1", "");
    app.WriteProfileInt("Tools", "Output To Window #1", 1);
    Finish();
    Start();
    bt::WriteTextFile(quake + "\\game.bat", "@" + standin + "\r\n");
    app.WriteProfileString("Project Settings", "Quake Exe", "game.bat");
    // The program that printed its id in the pane; it is ended here if the run left it running. The
    // build's game comes after three compilers have run: on a busy machine that takes a while.
    auto grandchild = [&](const std::function<std::string()>& pane) {
        std::string seen;
        if (!bt::WaitFor([&] { return (seen = pane()).find("pid=") != std::string::npos; }, 60000))
            return HANDLE(nullptr);
        DWORD pid = strtoul(seen.c_str() + seen.find("pid=") + 4, nullptr, 10);
        return ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
    };
    auto ends = [](HANDLE h) {
        const bool ended = ::WaitForSingleObject(h, 10000) == WAIT_OBJECT_0;
        if (!ended)
            ::TerminateProcess(h, 1);
        ::CloseHandle(h);
        return ended;
    };
    auto toolPane = [&] {
        COutputEdit* pPane = frame->m_wndOutputBar.FindPane("Shell");
        return pPane != nullptr ? Text(*pPane) : std::string();
    };

    Command(ID_USER_TOOL_FIRST);
    HANDLE hTool = grandchild(toolPane);
    ASSERT_NE(hTool, nullptr) << toolPane();
    Command(ID_USER_TOOL_FIRST);
    EXPECT_TRUE(ends(hTool)) << "the tool chosen again";

    ASSERT_NE(OpenSmall(), nullptr);
    DriveDialog();
    Command(ID_BUILD);
    HANDLE hGame = grandchild([&] { return BuildPane(); });
    ASSERT_NE(hGame, nullptr) << BuildPane();
    Command(ID_BUILD);
    EXPECT_TRUE(ends(hGame)) << "Build pressed again";

    Command(ID_USER_TOOL_FIRST);    // its pane starts empty
    hTool = grandchild(toolPane);
    ASSERT_NE(hTool, nullptr) << toolPane();
    AfxSeamReset();
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(ends(hTool)) << "the editor closed";
    afxtest::DrainQuit();
    frame = nullptr;
}

// A tool that starts a program with "start" and a game started through a launcher: the tool's run
// and the game step end by themselves and the frame deletes their runs at once; what they started
// keeps running.
TEST_F(FrameFixture, WhatAToolOrTheGamesLauncherStartedOutlivesTheirRuns)
{
    bt::CopyStandin(dir.Path(), "started.exe", "pidfile started.pid\nsleep forever\n");
    app.WriteProfileString("Tools", "Menu Text #1", "&Starter");
    app.WriteProfileString("Tools", "Command #1", "cmd.exe");
    app.WriteProfileString("Tools", "Arguments #1", "/c start \"\" \"" + dir / "started.exe" + "\"");
    app.WriteProfileString("Tools", "Initial Directory #1", "");
    app.WriteProfileInt("Tools", "Output To Window #1", 1);
    Finish();
    Start();
    bt::CopyStandin(quake, "launcher.exe", "launch game.exe\n");
    bt::CopyStandin(quake, "game.exe", "pidfile game.pid\nsleep forever\n");
    app.WriteProfileString("Project Settings", "Quake Exe", "launcher.exe");
    // The started program, once it has said who it is.
    auto started = [](const CString& pidFile) {
        std::string pid;
        if (!bt::WaitFor([&] { return !(pid = bt::ReadTextFile(pidFile)).empty(); }))
            return HANDLE(nullptr);
        return ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, strtoul(pid.c_str(), nullptr, 10));
    };
    auto runsOn = [](HANDLE h) {
        bt::Settle(300);
        const bool alive = ::WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
        ::TerminateProcess(h, 1);
        ::WaitForSingleObject(h, 10000);
        ::CloseHandle(h);
        return alive;
    };

    Command(ID_USER_TOOL_FIRST);
    HANDLE hStarted = started(dir / "started.pid");
    ASSERT_NE(hStarted, nullptr) << "the program the tool started did not live to say who it is";
    ASSERT_TRUE(bt::WaitFor([&] { return !frame->GetUserTools().GetTool(0)->IsRunning(); }));
    EXPECT_TRUE(runsOn(hStarted)) << "the program the tool started";

    ASSERT_NE(OpenSmall(), nullptr);
    DriveDialog();
    Command(ID_BUILD);
    ASSERT_TRUE(WaitBuildDone());
    EXPECT_NE(BuildPane().find("Build process completed successfully"), std::string::npos) << BuildPane();
    HANDLE hGame = started(quake + "\\game.pid");
    ASSERT_NE(hGame, nullptr) << "the game did not live to say who it is";
    EXPECT_TRUE(runsOn(hGame)) << "the game the launcher started";
    EXPECT_TRUE(shelltest::Calls().size() == 1u);   // the dialog, no box
}

TEST_F(FrameTools, TheToolsPagesOKGivesTheFrameItsToolsPanesAndSettings)
{
    // A tool runs while the page is edited: OK stops it first.
    Command(ID_USER_TOOL_FIRST + 1);
    HANDLE hChild = OpenPrintedProcess([&] { return Pane("Sleeper"); });
    ASSERT_NE(hChild, nullptr);
    CPropertySheet sheet("Customize");
    CCustomizeToolsPage page(frame->GetUserTools());
    sheet.AddPage(&page);
    AfxSeamDrive([&](AfxModalCall&) {
        HWND h = page.m_hWnd;
        ASSERT_NE(h, nullptr);
        ::SendDlgItemMessageA(h, IDC_TOOLS_LIST, LB_SETCURSEL, 2, 0);
        ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_TOOLS_LIST, LBN_SELCHANGE),
                       (LPARAM)::GetDlgItem(h, IDC_TOOLS_LIST));
        ::CheckDlgButton(h, IDC_TOOLS_OUTPUT, BST_CHECKED);     // "Quiet" gets a pane
        ASSERT_TRUE(page.GetListEditor().MoveItemUp());
        AfxSeamPressButton(sheet.m_hWnd, IDOK);
    });
    ASSERT_EQ(sheet.DoModal(), IDOK);
    frame->SaveUserTools();
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    CUserTools& tools = frame->GetUserTools();
    ASSERT_EQ(tools.GetCount(), 3);
    EXPECT_STREQ(tools.GetTool(1)->m_strMenuText, "Quiet");
    EXPECT_FALSE(tools.GetTool(2)->IsRunning());
    EXPECT_NE(frame->m_wndOutputBar.FindPane("Quiet"), nullptr);
    EXPECT_EQ(frame->m_wndOutputBar.m_tabWnd.GetTabCount(), 5);
    EXPECT_STREQ(app.GetProfileString("Tools", "Menu Text #2", ""), "Quiet");
    EXPECT_EQ(app.GetProfileInt("Tools", "Output To Window #2", 0), 1);
    EXPECT_STREQ(app.GetProfileString("Tools", "Menu Text #3", ""), "&Sleeper");
    // The menu follows.
    CMenu* pTools = ToolsMenu();
    ASSERT_NE(pTools, nullptr);
    CString text;
    pTools->GetMenuString(ID_USER_TOOL_FIRST + 1, text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Quiet");
    bt::Settle(100);
    EXPECT_TRUE(shelltest::Calls().size() == 1u);   // the sheet, no box
}

// ---- A real map built from the frame ----------------------------------------------------------

TEST_F(FrameFixture, AModifiedRealMapIsSavedAndBuiltAndAPartialBuildKeepsEveryObject)
{
    CString source = SharedMap("librequake_e2m2.map");
    SKIP_WITHOUT_SHARED_DATA(source);
    mapFile = dir / "maps\\e2m2.map";
    ASSERT_TRUE(::CopyFileA(source, mapFile, FALSE));
    ::SetFileAttributesA(mapFile, FILE_ATTRIBUTE_NORMAL);
    Map* map = Open(mapFile);
    ASSERT_NE(map, nullptr);
    map->GetWorldEntity()->AddKeyValue("message", "built from the frame");
    map->SetModifiedFlag();
    DriveDialog();
    Command(ID_BUILD);
    ASSERT_TRUE(WaitBuildDone());
    EXPECT_FALSE(map->IsModified());
    std::string saved = bt::ReadTextFile(mapFile);
    EXPECT_NE(saved.find("built from the frame"), std::string::npos);
    std::string firstLine = saved.substr(0, saved.find_first_of("\r\n"));
    EXPECT_NE(BuildPane().find("map=" + std::string(mapFile) + " size=" + std::to_string(saved.size()) +
                               " first=" + firstLine + "\n"),
              std::string::npos);
    EXPECT_NE(BuildPane().find("Build process completed successfully"), std::string::npos);
    EXPECT_TRUE(bt::FileExists(quake + "\\id1\\maps\\e2m2.bsp"));

    // Every object visible: the partial map holds the map's entities and brushes.
    int entities = 0, brushes = 0;
    for (Entity* e = map->FirstEntity(); e != nullptr; e = map->NextEntity()) {
        ++entities;
        for (Brush* b = map->FirstBrush(); b != nullptr; b = map->NextBrush())
            ++brushes;
    }
    // qbsp keeps a copy of what it read: the temporary map itself goes with the build.
    Tool("qbsp.exe", "out qbsp\nbsp\ncopy read.map\n");
    AfxSeamReset();
    DriveDialog(true);
    Command(ID_BUILD);
    ASSERT_TRUE(WaitBuildDone());
    std::string pane = BuildPane();
    const std::string prefix = "Building partial file: ";
    ASSERT_EQ(pane.compare(0, prefix.size(), prefix), 0);
    CString partial = pane.substr(prefix.size(), pane.find('\n') - prefix.size()).c_str();
    EXPECT_NE(pane.find("Build process completed successfully"), std::string::npos);
    EXPECT_FALSE(bt::FileExists(partial));
    Map back;
    back.m_bAutoDelete = FALSE;
    ASSERT_TRUE(back.OnOpenDocument(bin + "\\read.map"));
    int backEntities = 0, backBrushes = 0;
    for (Entity* e = back.FirstEntity(); e != nullptr; e = back.NextEntity()) {
        ++backEntities;
        for (Brush* b = back.FirstBrush(); b != nullptr; b = back.NextBrush())
            ++backBrushes;
    }
    EXPECT_EQ(backEntities, entities);
    EXPECT_EQ(backBrushes, brushes);
    ::DeleteFileA(BuildChangeExtension(partial, ".bsp"));
}

// ---- The real compilers -----------------------------------------------------------------------

// A level designer's road with id's own compilers: jrbase1 opened in the game's maps folder of a
// project whose WAD lies in the game folder, saved, built with qbsp, vis and light, and the game
// started on it. The saved "wad" names the WAD as qbsp reads it ("gfx/base.wad"); the level is
// built where the game looks for it and has its visibility and light.
TEST_F(FrameFixture, JrBase1SavedInTheGameFolderBuildsWithIdsCompilers)
{
    const CString source = SharedMap("jrbase1.map");
    SKIP_WITHOUT_SHARED_DATA(source);
    UseIdsCompilers();
    if (IsSkipped() || HasFatalFailure())
        return;
    const CString game = quake + "\\id1";
    mapFile = game + "\\maps\\jrbase1.map";
    ASSERT_TRUE(::CopyFileA(source, mapFile, FALSE));
    ::SetFileAttributesA(mapFile, FILE_ATTRIBUTE_NORMAL);   // the shared copy is read-only
    Map* map = Open(mapFile);
    ASSERT_NE(map, nullptr);

    // Saved as a user saves: the questions about its brushes are answered No.
    map->SetModifiedFlag();
    AfxSeamScript([](AfxModalCall&) { return (INT_PTR)IDNO; });
    AfxSeamScript([](AfxModalCall&) { return (INT_PTR)IDNO; });
    Command(ID_MAP_FILE_SAVE);
    AfxSeamReset();
    ASSERT_FALSE(map->IsModified());
    const std::string saved = bt::ReadTextFile(mapFile);
    EXPECT_NE(saved.find("\r\n  \"wad\" \"gfx/base.wad\"\r\n"), std::string::npos);

    DriveDialog();
    Command(ID_BUILD);
    ASSERT_TRUE(bt::WaitFor([&] { return !frame->GetBuildCommand().GetPipeline().IsRunning(); }, 180000));
    const std::string pane = BuildPane();
    EXPECT_EQ(pane.find("Warning"), std::string::npos) << pane;
    EXPECT_NE(pane.find("Build process completed successfully"), std::string::npos) << pane;
    ASSERT_EQ(shelltest::Calls().size(), 1u) << pane;   // the dialog, no box

    // A BSP of version 29 with visibility (lump 4) and light (lump 8), where the game looks.
    const CString level = game + "\\maps\\jrbase1.bsp";
    const std::string bsp = bt::ReadTextFile(level);
    EXPECT_EQ(FileLong(bsp, 0), 29);
    EXPECT_GT(FileLong(bsp, 4 + 4 * 8 + 4), 0);
    EXPECT_GT(FileLong(bsp, 4 + 8 * 8 + 4), 0);
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
              "cmdline=\"" + std::string(quake) + "\\game.exe\" +map jrbase1\ncwd=" + std::string(quake) + "\n");
    std::printf("jrbase1.bsp: %u bytes, visibility %ld bytes, light %ld bytes\n", static_cast<unsigned>(bsp.size()),
                FileLong(bsp, 4 + 4 * 8 + 4), FileLong(bsp, 4 + 8 * 8 + 4));
}

// One axis-aligned box brush, its faces as the editor writes them.
std::string BoxBrush(int x1, int y1, int z1, int x2, int y2, int z2, const char* texture)
{
    const int faces[6][9] = {{x1, y1, z2, x1, y2, z2, x2, y2, z2}, {x1, y1, z1, x2, y1, z1, x2, y2, z1},
                             {x1, y2, z1, x1, y2, z2, x1, y1, z2}, {x2, y2, z1, x2, y1, z1, x2, y1, z2},
                             {x1, y1, z1, x1, y1, z2, x2, y1, z2}, {x1, y2, z1, x2, y2, z1, x2, y2, z2}};
    std::string text = "{\r\n";
    for (const auto& f : faces) {
        char line[200];
        snprintf(line, sizeof line, "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) %s 0 0 0 1 1\r\n", f[0], f[1], f[2], f[3],
                 f[4], f[5], f[6], f[7], f[8], texture);
        text += line;
    }
    return text + "}\r\n";
}

// Partial builds of one map with id's compilers, three in a row: each leaves nothing of its own
// among the temporary files, takes the same name, and the game folder holds one partial level of
// the map, with its visibility and light.
TEST_F(FrameFixture, ThreePartialBuildsWithIdsCompilersLeaveOneLevelAndNoTemporaryFile)
{
    UseIdsCompilers();
    if (IsSkipped() || HasFatalFailure())
        return;
    const CString game = quake + "\\id1";
    // A closed room with the player and a light in it.
    const std::string room =
        "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"gfx/base.wad\"\r\n" +
        BoxBrush(-16, -16, -16, 272, 272, 0, "flat_01_a") + BoxBrush(-16, -16, 128, 272, 272, 144, "flat_01_b") +
        BoxBrush(-16, -16, 0, 0, 272, 128, "flat_01_c") + BoxBrush(256, -16, 0, 272, 272, 128, "flat_01_c") +
        BoxBrush(0, -16, 0, 256, 0, 128, "flat_01_d") + BoxBrush(0, 256, 0, 256, 272, 128, "flat_01_d") +
        "}\r\n{\r\n\"classname\" \"info_player_start\"\r\n\"origin\" \"128 128 24\"\r\n}\r\n"
        "{\r\n\"classname\" \"light\"\r\n\"origin\" \"128 128 96\"\r\n}\r\n";
    mapFile = game + "\\maps\\room.map";
    bt::WriteTextFile(mapFile, room);
    ASSERT_NE(Open(mapFile), nullptr);

    // id's qbsp finds the game folder in the path of the map it reads: the temporary folder lies
    // in the game folder.
    bt::SystemTempDir temp(game);
    for (int build = 1; build <= 3; ++build) {
        SCOPED_TRACE(build);
        AfxSeamReset();
        DriveDialog(true);
        Command(ID_BUILD);
        ASSERT_TRUE(bt::WaitFor([&] { return !frame->GetBuildCommand().GetPipeline().IsRunning(); }, 180000));
        const std::string pane = BuildPane();
        EXPECT_EQ(pane.find("Building partial file: " + std::string(temp / "room-partial.map") + "\n"), 0u) << pane;
        EXPECT_NE(pane.find("Build process completed successfully"), std::string::npos) << pane;
        EXPECT_EQ(shelltest::Calls().size(), 1u) << pane;   // the dialog, no box
        EXPECT_EQ(bt::FileNames(temp.Path()), std::vector<std::string>{});
        EXPECT_EQ(bt::FileNames(game + "\\maps"), (std::vector<std::string>{"room-partial.bsp", "room.map"}));
        const std::string bsp = bt::ReadTextFile(game + "\\maps\\room-partial.bsp");
        EXPECT_EQ(FileLong(bsp, 0), 29);
        EXPECT_GT(FileLong(bsp, 4 + 4 * 8 + 4), 0);     // visibility
        EXPECT_GT(FileLong(bsp, 4 + 8 * 8 + 4), 0);     // light
    }
    const std::string line = "cmdline=\"" + std::string(quake) + "\\game.exe\" +map room-partial\ncwd=" +
                             std::string(quake) + "\n";
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"), line + line + line);
}

} // namespace
