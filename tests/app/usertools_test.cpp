// User tools: text helpers, macros, the Tools menu, the settings, and runs through the stand-in.
#include "IniFile.h"
#include "Reporter.h"
#include "Services.h"
#include "UserTools.h"
#include "afxwndtest.h"
#include "buildtools_util.h"
#include <algorithm>
#include <map>
#include <memory>

namespace {

TEST(UserToolText, ReplaceAll)
{
    struct Case
    {
        const char* text;
        const char* find;
        const char* replacement;
        UINT flags;
        int count;
        const char* result;
    } cases[] = {
        {"${MapPath} ${MapPath}", "${MapPath}", "D:\\m.map", 0, 2, "D:\\m.map D:\\m.map"},
        {"${mappath}", "${MapPath}", "x", 0, 0, "${mappath}"},
        {"${mappath}!", "${MapPath}", "x", 1, 1, "x!"},
        {"aXa", "a", "aa", 0, 2, "aaXaa"},   // replaced text is not looked into again
        {"aaa", "aa", "b", 0, 1, "ba"},
        {"abc", "", "x", 0, -1, "abc"},
        {"ab", "abc", "x", 0, 0, "ab"},
        {"", "a", "x", 0, 0, ""},
        {"abc", "b", "", 0, 1, "ac"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CString text = c.text;
        EXPECT_EQ(ReplaceAll(text, c.find, c.replacement, c.flags), c.count);
        EXPECT_STREQ(text, c.result);
    }
    CString text = "abc";
    EXPECT_EQ(ReplaceAll(text, "b", nullptr), -1);
    EXPECT_STREQ(text, "abc");
}

TEST(UserToolText, SplitNameValueAndPaneLabels)
{
    struct Split
    {
        const char* entry;
        BOOL ok;
        const char* name;
        const char* value;
    } splits[] = {
        {"${A}=b", TRUE, "${A}", "b"},
        {"a=b=c", TRUE, "a", "b=c"},
        {"a=", FALSE, "a", ""},
        {"=b", FALSE, "", "b"},
        {"ab", FALSE, "", ""},
    };
    for (const Split& s : splits) {
        SCOPED_TRACE(s.entry);
        CString name, value;
        EXPECT_EQ(SplitNameValue(s.entry, name, value), s.ok);
        EXPECT_STREQ(name, s.name);
        EXPECT_STREQ(value, s.value);
    }
    struct Label
    {
        const char* menu;
        const char* label;
    } labels[] = {{"&Compile", "Compile"}, {"A&&B", "A&B"}, {"NoAmp", "NoAmp"}, {"Re&name &it", "Rename &it"}};
    for (const Label& l : labels)
        EXPECT_STREQ(ToolPaneLabel(l.menu), l.label) << l.menu;
}

CToolMacroValues Values(LPCSTR map, LPCSTR project)
{
    CToolMacroValues v;
    v.strBinDir = "C:\\q\\bin";
    v.strEntityDir = "C:\\q\\qc";
    v.strObjectDir = "C:\\q\\obj";
    v.strWadDir = "C:\\q\\wads";
    v.strMapPath = map;
    v.strProjectPath = project;
    v.strQuakeDir = "C:\\Quake";
    v.strRootDir = "C:\\q";
    v.strAutoSaveDir = "";
    return v;
}

TEST(UserToolMacros, TheListAndTheExpansion)
{
    CStringList list;
    ExpandToolVariables(Values("D:\\maps\\base1.test.map", "D:\\proj\\my.game.prj"), list);
    std::vector<CString> entries;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        entries.push_back(list.GetNext(pos));
    std::vector<CString> expected = {
        "${BinDir}=C:\\q\\bin",     "${EntityDir}=C:\\q\\qc", "${ObjectDir}=C:\\q\\obj", "${WadDir}=C:\\q\\wads",
        "${MapPath}=D:\\maps\\base1.test.map", "${MapDir}=D:\\maps",  "${MapName}=base1",
        "${ProjectPath}=D:\\proj\\my.game.prj", "${ProjectDir}=D:\\proj", "${ProjectName}=my",
        "${QuakeDir}=C:\\Quake",    "${RootDir}=C:\\q",       "${AutoSaveDir}="};
    EXPECT_EQ(entries, expected);

    struct Case
    {
        const char* map;
        const char* project;
        const char* command;
        const char* arguments;
        const char* directory;
        const char* commandLine;
        const char* expandedDirectory;
    } cases[] = {
        {"D:\\maps\\base1.test.map", "D:\\p\\a.prj", "${BinDir}\\tool.exe", "${MapName} ${MapDir}", "${MapDir}",
         "C:\\q\\bin\\tool.exe base1 D:\\maps", "D:\\maps"},
        {"D:\\maps\\e1m1.map", "", "t.exe", "${MapPath} -o ${MapPath} ${ProjectDir}", "",
         "t.exe D:\\maps\\e1m1.map -o D:\\maps\\e1m1.map ${ProjectDir}", ""},       // no project: left as written
        {"", "", "t.exe", "${MapName}${AutoSaveDir}${Unknown}", "${RootDir}", "t.exe ${MapName}${AutoSaveDir}${Unknown}",
         "C:\\q"},
        {"C:m.map", "", "${QuakeDir}\\My Tools\\t.exe", "", "${MapDir}", "\"C:\\Quake\\My Tools\\t.exe\"", "C:"},
        {"", "", "\"C:\\My Tools\\t.exe\"", "-x", "", "\"C:\\My Tools\\t.exe\" -x", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        CStringList macros;
        ExpandToolVariables(Values(c.map, c.project), macros);
        CUserTool tool;
        tool.m_strCommand = c.command;
        tool.m_strArguments = c.arguments;
        tool.m_strInitialDirectory = c.directory;
        CString line, dir;
        tool.Expand(macros, line, dir);
        EXPECT_STREQ(line, c.commandLine);
        EXPECT_STREQ(dir, c.expandedDirectory);
    }
}

TEST(UserToolMacros, ValuesComeFromTheProjectAndTheSettings)
{
    bt::TempDir dir;
    bt::WriteTextFile(dir / "game.prj", "[Paths]\r\nBin=bin;other\r\nEntities=C:\\qc\r\nWads=wads\r\n");
    CDefaultEditorServices services;
    SetEditorServices(&services);
    CReporter reporter(&services);
    CReporter::Set(&reporter);
    services.WriteProfileString("Project Settings", "Quake Path", "C:\\Quake");
    services.WriteProfileString("Options", "Auto Save Path", "C:\\auto");

    // No project and no root: the settings' values only.
    CToolMacroValues v = GatherToolMacroValues(nullptr);
    EXPECT_STREQ(v.strQuakeDir, "C:\\Quake");
    EXPECT_STREQ(v.strAutoSaveDir, "C:\\auto");
    EXPECT_STREQ(v.strProjectPath, "");
    EXPECT_STREQ(v.strBinDir, "");

    CIniFile project(dir / "game.prj");
    ASSERT_TRUE(project.Read());
    services.SetProject(&project);
    services.WriteProfileString("Project Settings", "Root Path", dir.Path());
    v = GatherToolMacroValues(nullptr);
    EXPECT_STREQ(v.strProjectPath, dir / "game.prj");
    EXPECT_STREQ(v.strRootDir, dir.Path());
    EXPECT_STREQ(v.strBinDir, dir / "bin");
    EXPECT_STREQ(v.strEntityDir, "C:\\qc");
    EXPECT_STREQ(v.strObjectDir, "");
    EXPECT_STREQ(v.strWadDir, dir / "wads");
    EXPECT_STREQ(v.strMapPath, "");
    services.SetProject(nullptr);
    CReporter::Set(nullptr);
    SetEditorServices(nullptr);
}

// ---- The menu ---------------------------------------------------------------------------------

struct ToolList
{
    ~ToolList()
    {
        for (int i = 0; i < tools.GetSize(); ++i)
            delete tools.GetAt(i);
    }
    void Add(LPCSTR text, bool running = false)
    {
        CUserTool* pTool = new CUserTool;
        pTool->m_strMenuText = text;
        if (running)
            pTool->m_pProcess = new CUserToolProcess;   // runs nothing
        tools.Add(pTool);
    }
    CUserToolArray tools;
};

std::vector<std::string> Items(CMenu& menu)
{
    std::vector<std::string> items;
    for (UINT i = 0; i < menu.GetMenuItemCount(); ++i) {
        UINT state = menu.GetMenuState(i, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            items.push_back("-");
            continue;
        }
        CString text;
        menu.GetMenuString(i, text, MF_BYPOSITION);
        char sz[200];
        snprintf(sz, sizeof sz, "%u %s%s", menu.GetMenuItemID(i), (LPCSTR)text, (state & MF_CHECKED) ? " [x]" : "");
        items.push_back(sz);
    }
    return items;
}

void FillToolsMenu(CMenu& menu)
{
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 32920, "&Build...\tCtrl+B");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 32946, "&Customize...");
    menu.AppendMenu(MF_STRING, 32959, "&Options...");
}

TEST(UserToolMenu, ToolsFollowTheFixedItemsAndReplaceTheOnesBefore)
{
    const std::vector<std::string> fixed = {"32920 &Build...\tCtrl+B", "-", "32946 &Customize...", "32959 &Options..."};
    CMenu menu;
    FillToolsMenu(menu);

    ToolList none;
    EXPECT_TRUE(BuildToolsMenu(&menu, ID_USER_TOOL_FIRST, none.tools));
    EXPECT_EQ(Items(menu), fixed);

    ToolList one;
    one.Add("&Compile");
    EXPECT_TRUE(BuildToolsMenu(&menu, ID_USER_TOOL_FIRST, one.tools));
    std::vector<std::string> expected = fixed;
    expected.push_back("-");
    expected.push_back("45102 &Compile");
    EXPECT_EQ(Items(menu), expected);

    ToolList ten;
    for (int i = 0; i < 10; ++i) {
        char sz[20];
        snprintf(sz, sizeof sz, "Tool %d", i + 1);
        ten.Add(sz, i == 2);
    }
    EXPECT_TRUE(BuildToolsMenu(&menu, ID_USER_TOOL_FIRST, ten.tools));
    expected = fixed;
    expected.push_back("-");
    for (int i = 0; i < 10; ++i)
        expected.push_back(std::to_string(45102 + i) + " Tool " + std::to_string(i + 1) + (i == 2 ? " [x]" : ""));
    EXPECT_EQ(Items(menu), expected);

    // Back to none: the tools and their separator go.
    EXPECT_TRUE(BuildToolsMenu(&menu, ID_USER_TOOL_FIRST, none.tools));
    EXPECT_EQ(Items(menu), fixed);

    // An empty menu gets no separator in front.
    CMenu empty;
    empty.CreatePopupMenu();
    EXPECT_TRUE(BuildToolsMenu(&empty, ID_USER_TOOL_FIRST, one.tools));
    EXPECT_EQ(Items(empty), std::vector<std::string>{"45102 &Compile"});
}

TEST(UserToolMenu, TheToolsMenuIsFoundByWhatItHolds)
{
    // A maximised map window puts its system menu in front of the menu bar's pop-ups.
    CMenu bar, system, file, tools, window;
    bar.CreateMenu();
    system.CreatePopupMenu();
    system.AppendMenu(MF_STRING, SC_CLOSE, "&Close");
    file.CreatePopupMenu();
    file.AppendMenu(MF_STRING, 57600, "&New");
    FillToolsMenu(tools);
    window.CreatePopupMenu();
    window.AppendMenu(MF_STRING, 57650, "&Cascade");
    bar.AppendMenu(MF_POPUP, (UINT_PTR)system.Detach(), "");
    bar.AppendMenu(MF_POPUP, (UINT_PTR)file.Detach(), "&File");
    for (const char* name : {"&Project", "&Edit", "&View"}) {
        CMenu popup;
        popup.CreatePopupMenu();
        popup.AppendMenu(MF_STRING, 100, "x");
        bar.AppendMenu(MF_POPUP, (UINT_PTR)popup.Detach(), name);
    }
    HMENU hTools = tools.Detach();
    bar.AppendMenu(MF_POPUP, (UINT_PTR)hTools, "&Tools");
    bar.AppendMenu(MF_POPUP, (UINT_PTR)window.Detach(), "&Window");
    CMenu* pFound = FindToolsMenu(&bar);
    ASSERT_NE(pFound, nullptr);
    EXPECT_EQ(pFound->m_hMenu, hTools);
    EXPECT_NE(bar.GetSubMenu(4), pFound);               // index 4 would be the wrong one

    // Once the tools are in, their command finds it as well.
    ToolList one;
    one.Add("T");
    BuildToolsMenu(pFound, ID_USER_TOOL_FIRST, one.tools);
    pFound->RemoveMenu(32946, MF_BYCOMMAND);
    pFound = FindToolsMenu(&bar);
    ASSERT_NE(pFound, nullptr);
    EXPECT_EQ(pFound->m_hMenu, hTools);
    CMenu noTools;
    noTools.CreateMenu();
    EXPECT_EQ(FindToolsMenu(&noTools), nullptr);
    EXPECT_EQ(FindToolsMenu(nullptr), nullptr);
}

// ---- The settings -----------------------------------------------------------------------------

void SetString(HKEY hKey, LPCSTR name, LPCSTR value)
{
    ::RegSetValueExA(hKey, name, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
}

void SetDword(HKEY hKey, LPCSTR name, DWORD value)
{
    ::RegSetValueExA(hKey, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
}

// Every value of a key as "name=value" (strings) or "name=#n" (numbers), sorted by name.
std::map<std::string, std::string> Values(HKEY hKey)
{
    std::map<std::string, std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nName = sizeof name, nData = sizeof data, type = 0;
        if (::RegEnumValueA(hKey, i, name, &nName, nullptr, &type, data, &nData) != ERROR_SUCCESS)
            break;
        if (type == REG_DWORD)
            values[name] = "#" + std::to_string(*(DWORD*)data);
        else if (type == REG_SZ)
            values[name] = std::string((const char*)data);
        else
            values[name] = "?";
    }
    return values;
}

TEST(UserToolSettings, ToolsLoadUpToTheFirstGapAndSaveAsOneTwo)
{
    afxtest::RegistryProfile registry;
    CWinApp* pApp = AfxGetApp();
    HKEY hKey = pApp->GetSectionKey("Tools");
    ASSERT_NE(hKey, nullptr);
    const char* const fields[] = {"Menu Text", "Command", "Arguments", "Initial Directory"};
    for (int n : {1, 2, 4}) {
        for (const char* f : fields) {
            char name[64], value[64];
            snprintf(name, sizeof name, "%s #%d", f, n);
            snprintf(value, sizeof value, "%s %d", f, n);
            SetString(hKey, name, value);
        }
    }
    SetDword(hKey, "Output To Window #2", 0);
    SetDword(hKey, "Output To Window #4", 1);
    // Tool 3 is incomplete: loading stops there.
    SetString(hKey, "Menu Text #3", "&Three");
    ::RegCloseKey(hKey);

    bt::FakeOutput output;
    CUserTools tools(nullptr, &output);
    tools.Load(*pApp);
    ASSERT_EQ(tools.GetCount(), 2);
    EXPECT_STREQ(tools.GetTool(0)->m_strMenuText, "Menu Text 1");
    EXPECT_STREQ(tools.GetTool(0)->m_strCommand, "Command 1");
    EXPECT_STREQ(tools.GetTool(0)->m_strArguments, "Arguments 1");
    EXPECT_STREQ(tools.GetTool(0)->m_strInitialDirectory, "Initial Directory 1");
    EXPECT_TRUE(tools.GetTool(0)->m_bOutputToWindow);   // missing: on
    EXPECT_FALSE(tools.GetTool(1)->m_bOutputToWindow);
    EXPECT_EQ(output.calls, std::vector<std::string>{"add Menu Text 1"});

    tools.GetTool(1)->m_strArguments = "";
    output.calls.clear();
    tools.Save(*pApp);
    EXPECT_EQ(output.calls, (std::vector<std::string>{"remove", "add Menu Text 1"}));
    hKey = pApp->GetSectionKey("Tools");
    std::map<std::string, std::string> expected = {
        {"Menu Text #1", "Menu Text 1"},      {"Command #1", "Command 1"},
        {"Arguments #1", "Arguments 1"},      {"Initial Directory #1", "Initial Directory 1"},
        {"Output To Window #1", "#1"},        {"Menu Text #2", "Menu Text 2"},
        {"Command #2", "Command 2"},          {"Arguments #2", ""},
        {"Initial Directory #2", "Initial Directory 2"}, {"Output To Window #2", "#0"},
    };
    EXPECT_EQ(Values(hKey), expected);
    ::RegCloseKey(hKey);

    // What was saved loads back the same.
    CUserTools again(nullptr, nullptr);
    again.Load(*pApp);
    ASSERT_EQ(again.GetCount(), 2);
    EXPECT_STREQ(again.GetTool(1)->m_strArguments, "");
    EXPECT_FALSE(again.GetTool(1)->m_bOutputToWindow);
}

// ---- Runs -------------------------------------------------------------------------------------

class ToolRuns : public testing::Test
{
protected:
    ToolRuns() : tools(notify.hWnd, &output)
    {
        notify.onCompletion = [this](UINT, WPARAM w, LPARAM l) { tools.OnToolProcessFinished(w, l); };
        // The program sits in a directory with a blank: the command is quoted.
        program = bt::CopyStandin(dir.Path(), "tool.exe");
    }
    CUserTool* Add(LPCSTR menu, LPCSTR arguments, BOOL bOutput = TRUE)
    {
        CUserToolArray list;
        for (int i = 0; i < tools.GetCount(); ++i)
            list.Add(new CUserTool(*tools.GetTool(i)));
        CUserTool* pTool = new CUserTool;
        pTool->m_strMenuText = menu;
        pTool->m_strCommand = program;
        pTool->m_strArguments = arguments;
        pTool->m_strInitialDirectory = "${MapDir}";
        pTool->m_bOutputToWindow = bOutput;
        list.Add(pTool);
        tools.Replace(list);
        if (bOutput)
            output.AddTab(pTool->GetPaneLabel());
        return pTool;
    }
    UINT IdOf(CUserTool* pTool)
    {
        for (int i = 0; i < tools.GetCount(); ++i)
            if (tools.GetTool(i) == pTool)
                return ID_USER_TOOL_FIRST + i;
        return 0;
    }
    const CStringList& Macros()
    {
        CToolMacroValues v;
        v.strMapPath = dir / "base1.test.map";
        ExpandToolVariables(v, macros);
        return macros;
    }
    CStringList macros;

    bt::TempDir dir;
    CString program;
    bt::Recorder notify;
    bt::FakeOutput output;
    CUserTools tools;
};

TEST_F(ToolRuns, AToolRunsWithItsMacrosExpandedAndEndsWithTheFinishedLine)
{
    CUserTool* pTool = Add("&Compile", "out ${MapName} cwd");
    tools.OnUserTool(IdOf(pTool), Macros());
    EXPECT_TRUE(pTool->IsRunning());
    EXPECT_EQ(output.calls.back(), "show");
    ASSERT_TRUE(bt::WaitFor([&] { return !pTool->IsRunning(); }));
    EXPECT_EQ(output.Text("Compile"), "base1\ncwd=" + std::string(dir.Path()) + "\nTool Process Finished");
    EXPECT_TRUE(AfxSeamCalls().empty());

    // The stand-in's command line shows the quoted program and the expanded arguments.
    // (Values are put in as they are: a user quotes a macro that may hold blanks.)
    CUserTool* pArgs = Add("Args", "args \"${MapPath}\"");
    tools.OnUserTool(IdOf(pArgs), Macros());
    ASSERT_TRUE(bt::WaitFor([&] { return !pArgs->IsRunning(); }));
    EXPECT_EQ(output.Text("Args"), "cmdline=\"" + std::string(program) + "\" args \"" + std::string(dir / "base1.test.map") +
                                       "\"\narg1=args\narg2=" + std::string(dir / "base1.test.map") +
                                       "\nTool Process Finished");

    // The update handler: enabled for the tools there are.
    for (UINT id : {ID_USER_TOOL_FIRST, ID_USER_TOOL_FIRST + 1, ID_USER_TOOL_FIRST + 2, ID_USER_TOOL_LAST}) {
        CTestCmdUI ui;
        ui.m_nID = id;
        tools.OnUpdateUserTool(&ui);
        EXPECT_EQ(ui.m_bEnabled, id < ID_USER_TOOL_FIRST + 2) << id;
    }
}

TEST_F(ToolRuns, ChoosingARunningToolStopsItAndItsLateEndIsIgnored)
{
    CUserTool* pTool = Add("Hang", "pid sleep forever");
    tools.OnUserTool(IdOf(pTool), Macros());
    HANDLE hChild = bt::OpenPrintedProcess(output.Text("Hang"));
    ASSERT_NE(hChild, nullptr);
    tools.OnUserTool(IdOf(pTool), Macros());
    EXPECT_FALSE(pTool->IsRunning());
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    bt::Settle(200);
    std::string text = output.Text("Hang");
    EXPECT_EQ(text.substr(text.find('\n') + 1), "Operation canceled at user's request");
    EXPECT_TRUE(notify.completions.empty());
}

TEST_F(ToolRuns, WithOutputOffNothingIsWrittenAnywhere)
{
    CUserTool* pTool = Add("Quiet", "out noise", FALSE);
    tools.OnUserTool(IdOf(pTool), Macros());
    ASSERT_TRUE(bt::WaitFor([&] { return !pTool->IsRunning(); }));
    EXPECT_TRUE(output.lost.empty());
    EXPECT_EQ(output.panes.count("Quiet"), 0u);
    EXPECT_EQ(std::count(output.calls.begin(), output.calls.end(), "show"), 0);
}

TEST_F(ToolRuns, AToolThatCannotStartShowsWhyAndIsNoLongerRunning)
{
    CUserTool* pTool = Add("Gone", "-x");
    pTool->m_strCommand = dir / "missing.exe";
    pTool->m_strInitialDirectory = "";
    AfxSeamAnswer(IDOK);
    tools.OnUserTool(IdOf(pTool), Macros());
    ASSERT_TRUE(bt::WaitFor([&] { return !pTool->IsRunning(); }));
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    CString tail = "\nThe command was:\n\"" + dir / "missing.exe" + "\" -x";
    EXPECT_STREQ(texts[0].Right(tail.GetLength()), tail);
    EXPECT_EQ(output.Text("Gone"), "");     // no finished line

    // A missing initial directory names it.
    pTool->m_strCommand = program;
    pTool->m_strInitialDirectory = "${MapDir}\\nowhere";
    AfxSeamAnswer(IDOK);
    tools.OnUserTool(IdOf(pTool), Macros());
    ASSERT_TRUE(bt::WaitFor([&] { return !pTool->IsRunning(); }));
    texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[1].Find("\nThe directory was:\n" + dir / "nowhere" + "\nThe command was:\n"), -1);
}

TEST_F(ToolRuns, ReplacingTheToolsStopsTheRunningOnesFirst)
{
    CUserTool* pTool = Add("Hang", "pid sleep forever");
    tools.OnUserTool(IdOf(pTool), Macros());
    HANDLE hChild = bt::OpenPrintedProcess(output.Text("Hang"));
    ASSERT_NE(hChild, nullptr);
    CUserToolArray copies;
    copies.Add(new CUserTool(*pTool));
    EXPECT_FALSE(copies.GetAt(0)->IsRunning());     // a copy has no run
    tools.Replace(copies);
    EXPECT_EQ(copies.GetSize(), 0);
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    EXPECT_NE(output.Text("Hang").find("Operation canceled at user's request"), std::string::npos);
    ASSERT_EQ(tools.GetCount(), 1);
    EXPECT_FALSE(tools.GetTool(0)->IsRunning());
    bt::Settle(200);
    EXPECT_TRUE(notify.completions.empty());
}

TEST_F(ToolRuns, ClosingStopsEveryRunWithoutAWord)
{
    Add("Hang", "pid sleep forever");
    CUserTool* pQuiet = Add("Quiet", "sleep forever", FALSE);
    CUserTool* pHang = tools.GetTool(0);    // adding made new copies
    tools.OnUserTool(IdOf(pHang), Macros());
    tools.OnUserTool(IdOf(pQuiet), Macros());
    HANDLE hChild = bt::OpenPrintedProcess(output.Text("Hang"));
    ASSERT_NE(hChild, nullptr);
    tools.StopAll();
    EXPECT_FALSE(pHang->IsRunning());
    EXPECT_FALSE(pQuiet->IsRunning());
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    bt::Settle(200);
    EXPECT_EQ(output.Text("Hang").find("Operation"), std::string::npos);
    EXPECT_TRUE(notify.completions.empty());
}

} // namespace
