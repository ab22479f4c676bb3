// The Build command's steps: the queue made from the options and paths, the step machine driven
// with fake runs, and whole builds through the stand-in tools.
#include "BuildMapDlg.h"
#include "BuildPipeline.h"
#include "BuildRes.h"
#include "DocumentFixture.h"
#include "IniFile.h"
#include "MapCommands.h"
#include "buildtools_util.h"
#include "shareddata.h"
#include <commctrl.h>
#include <winioctl.h>
#include <algorithm>
#include <memory>

namespace {

// ---- The queue --------------------------------------------------------------------------------

struct StepText
{
    const char* directory;
    const char* command;
    const char* arguments;
    const char* copySource;
    const char* copyDest;
};

void ExpectSteps(const std::vector<CBuildStep>& steps, const std::vector<StepText>& expected)
{
    ASSERT_EQ(steps.size(), expected.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(steps[i].strDirectory, expected[i].directory);
        EXPECT_STREQ(steps[i].strCommand, expected[i].command);
        EXPECT_STREQ(steps[i].strArguments, expected[i].arguments);
        EXPECT_STREQ(steps[i].strCopySource, expected[i].copySource);
        EXPECT_STREQ(steps[i].strCopyDest, expected[i].copyDest);
    }
}

CBuildOptions OnlyQuake(LPCSTR extra = "")
{
    CBuildOptions o;
    o.bQbsp = o.bVis = o.bLight = FALSE;
    o.strQuakeExtra = extra;
    return o;
}

CBuildPaths Paths(LPCSTR map = "D:\\maps\\e1m1.map", LPCSTR bin = "C:\\Tools\\bin", LPCSTR quake = "C:\\Quake",
                  LPCSTR exe = "quake.exe")
{
    CBuildPaths p;
    p.strMapFile = map;
    p.strBinDir = bin;
    p.strQuakePath = quake;
    p.strQuakeExe = exe;
    return p;
}

// A partial build's temporary map file standing for the saved map (and the level's name).
CBuildPaths PartialPaths(LPCSTR file, LPCSTR source, LPCSTR level = "")
{
    CBuildPaths p = Paths(file);
    p.strSourceMap = source;
    p.strLevelName = level;
    return p;
}

TEST(BuildSteps, TheQueueFollowsTheOptionsAndPaths)
{
    CBuildOptions defaults;
    CBuildOptions switches;
    switches.bQbspVerbose = switches.bQbspNoFill = TRUE;
    switches.strQbspExtra = "-x";
    switches.bVisVerbose = TRUE;
    switches.bVisFast = FALSE;
    switches.nVisLevel = 3;
    switches.strVisExtra = "-y";
    switches.bLightExtra = TRUE;
    switches.bRunQuake = FALSE;
    CBuildOptions onlyEnts = OnlyQuake();
    onlyEnts.bQbsp = TRUE;
    onlyEnts.bQbspOnlyEnts = TRUE;
    onlyEnts.bVis = TRUE;
    onlyEnts.bVisFast = FALSE;
    onlyEnts.nVisLevel = 4;
    onlyEnts.bLight = TRUE;
    onlyEnts.strLightExtra = "-soft";
    onlyEnts.bRunQuake = FALSE;
    CBuildOptions none = OnlyQuake();
    none.bRunQuake = FALSE;

    struct Case
    {
        const char* name;
        CBuildOptions options;
        CBuildPaths paths;
        std::vector<StepText> steps;
        std::vector<const char*> boxes;
    } cases[] = {
        {"defaults", defaults, Paths(),
         {{"C:\\Tools\\bin", "C:\\Tools\\bin\\qbsp.exe", " D:\\maps\\e1m1.map", "", ""},
          {"C:\\Tools\\bin", "C:\\Tools\\bin\\vis.exe", "-fast  D:\\maps\\e1m1.map", "", ""},
          {"C:\\Tools\\bin", "C:\\Tools\\bin\\light.exe", " D:\\maps\\e1m1.map", "", ""},
          {"C:\\Quake", "C:\\Quake\\quake.exe", "+map e1m1", "D:\\maps\\e1m1.bsp", "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"switches", switches, Paths(),
         {{"C:\\Tools\\bin", "C:\\Tools\\bin\\qbsp.exe", "-verbose -nofill -x D:\\maps\\e1m1.map", "", ""},
          {"C:\\Tools\\bin", "C:\\Tools\\bin\\vis.exe", "-v -level 3 -y D:\\maps\\e1m1.map", "", ""},
          {"C:\\Tools\\bin", "C:\\Tools\\bin\\light.exe", "-extra  D:\\maps\\e1m1.map", "", ""}},
         {}},
        {"only entities, level 4, light's own", onlyEnts, Paths(),
         {{"C:\\Tools\\bin", "C:\\Tools\\bin\\qbsp.exe", "-onlyents  D:\\maps\\e1m1.map", "", ""},
          {"C:\\Tools\\bin", "C:\\Tools\\bin\\vis.exe", "-level 4  D:\\maps\\e1m1.map", "", ""},
          {"C:\\Tools\\bin", "C:\\Tools\\bin\\light.exe", "-soft D:\\maps\\e1m1.map", "", ""}},
         {}},
        {"game arguments -dev", OnlyQuake("-dev"), Paths(),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "-dev +map e1m1", "D:\\maps\\e1m1.bsp", "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"game arguments -dev and a blank", OnlyQuake("-dev "), Paths(),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "-dev +map e1m1", "D:\\maps\\e1m1.bsp", "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"blanks in paths", CBuildOptions(),
         Paths("D:\\my maps\\e1m1.map", "C:\\Program Files\\tools", "C:\\My Quake", "quake.exe"),
         {{"C:\\Program Files\\tools", "\"C:\\Program Files\\tools\\qbsp.exe\"", " \"D:\\my maps\\e1m1.map\"", "", ""},
          {"C:\\Program Files\\tools", "\"C:\\Program Files\\tools\\vis.exe\"", "-fast  \"D:\\my maps\\e1m1.map\"", "",
           ""},
          {"C:\\Program Files\\tools", "\"C:\\Program Files\\tools\\light.exe\"", " \"D:\\my maps\\e1m1.map\"", "", ""},
          {"C:\\My Quake", "\"C:\\My Quake\\quake.exe\"", "+map e1m1", "D:\\my maps\\e1m1.bsp",
           "C:\\My Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"a partial build's temporary map", OnlyQuake(), Paths("C:\\Temp\\base1-partial2.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "+map base1-partial2", "C:\\Temp\\base1-partial2.bsp",
           "C:\\Quake\\id1\\maps\\base1-partial2.bsp"}},
         {}},
        {"a dot in a directory, none in the file", OnlyQuake(), Paths("D:\\my.maps\\e1m1"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "+map e1m1", "D:\\my.maps\\e1m1.bsp", "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"an absolute game command", OnlyQuake("-dev"), Paths("D:\\maps\\e1m1.map", "C:\\b", "C:\\Quake", "D:\\Launch\\ql.exe"),
         {{"C:\\Quake", "D:\\Launch\\ql.exe", "-dev +map e1m1", "D:\\maps\\e1m1.bsp", "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"a launcher's command line, its program quoted", OnlyQuake(),
         Paths("D:\\maps\\e1m1.map", "C:\\b", "C:\\Quake", "\"D:\\Game Spy\\qspy.exe\" -quake"),
         {{"C:\\Quake", "\"D:\\Game Spy\\qspy.exe\" -quake", "+map e1m1", "D:\\maps\\e1m1.bsp",
           "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"a game command from the root", OnlyQuake(), Paths("D:\\maps\\e1m1.map", "C:\\b", "C:\\Quake", "\\Games\\q.exe"),
         {{"C:\\Quake", "\\Games\\q.exe", "+map e1m1", "D:\\maps\\e1m1.bsp", "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"a game command on a share, written with /", OnlyQuake(),
         Paths("D:\\maps\\e1m1.map", "C:\\b", "C:\\Quake", "//srv/games/q.exe"),
         {{"C:\\Quake", "//srv/games/q.exe", "+map e1m1", "D:\\maps\\e1m1.bsp", "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"a map in the game's maps folder: the level is there already", OnlyQuake(),
         Paths("C:\\Quake\\id1\\maps\\e1m1.map"), {{"C:\\Quake", "C:\\Quake\\quake.exe", "+map e1m1", "", ""}}, {}},
        {"the same in other letters", OnlyQuake(), Paths("c:\\quake\\ID1\\Maps\\e1m1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "+map e1m1", "", ""}}, {}},
        {"a map in a mod's maps folder is played in the mod, where its level is already", OnlyQuake(),
         Paths("C:\\Quake\\mymod\\maps\\e1m1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "-game mymod +map e1m1", "", ""}}, {}},
        {"a map deeper in a mod's maps folder: the level goes to the mod's maps folder", OnlyQuake("-dev"),
         Paths("C:\\Quake\\mymod\\maps\\src\\e1m1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "-dev -game mymod +map e1m1", "C:\\Quake\\mymod\\maps\\src\\e1m1.bsp",
           "C:\\Quake\\mymod\\maps\\e1m1.bsp"}},
         {}},
        {"a mod's name with a blank is one argument", OnlyQuake(), Paths("C:\\Quake\\my mod\\maps\\e1m1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "-game \"my mod\" +map e1m1", "", ""}}, {}},
        {"a partial build of a mod's map", OnlyQuake(),
         PartialPaths("C:\\Temp\\base1-partial2.map", "C:\\Quake\\mymod\\maps\\base1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "-game mymod +map base1-partial2", "C:\\Temp\\base1-partial2.bsp",
           "C:\\Quake\\mymod\\maps\\base1-partial2.bsp"}},
         {}},
        {"a partial build under another number keeps the map's one partial level", OnlyQuake(),
         PartialPaths("C:\\Temp\\base1-partial2.map", "C:\\Quake\\id1\\maps\\base1.map", "base1-partial"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "+map base1-partial", "C:\\Temp\\base1-partial2.bsp",
           "C:\\Quake\\id1\\maps\\base1-partial.bsp"}},
         {}},
        {"a partial build of a map in id1", OnlyQuake(),
         PartialPaths("C:\\Temp\\base1-partial.map", "C:\\Quake\\id1\\maps\\base1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "+map base1-partial", "C:\\Temp\\base1-partial.bsp",
           "C:\\Quake\\id1\\maps\\base1-partial.bsp"}},
         {}},
        {"a folder under the Quake path without a maps folder is no mod", OnlyQuake(),
         Paths("C:\\Quake\\src\\e1m1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "+map e1m1", "C:\\Quake\\src\\e1m1.bsp",
           "C:\\Quake\\id1\\maps\\e1m1.bsp"}},
         {}},
        {"a map name with blanks is one argument", OnlyQuake("-dev"), Paths("D:\\maps\\jr base1.map"),
         {{"C:\\Quake", "C:\\Quake\\quake.exe", "-dev +map \"jr base1\"", "D:\\maps\\jr base1.bsp",
           "C:\\Quake\\id1\\maps\\jr base1.bsp"}},
         {}},
        {"a game at a drive's root: a mod's map is played in the mod, its level stays there", OnlyQuake(),
         Paths("Q:\\mymod\\maps\\e1m1.map", "C:\\b", "Q:\\"),
         {{"Q:\\", "Q:\\quake.exe", "-game mymod +map e1m1", "", ""}}, {}},
        {"a game at a drive's root: a map elsewhere goes to id1", OnlyQuake(),
         Paths("D:\\maps\\e1m1.map", "C:\\b", "Q:\\"),
         {{"Q:\\", "Q:\\quake.exe", "+map e1m1", "D:\\maps\\e1m1.bsp", "Q:\\id1\\maps\\e1m1.bsp"}}, {}},
        {"a game at a drive's root: a partial build of a mod's map", OnlyQuake(),
         [] {
             CBuildPaths p = PartialPaths("C:\\Temp\\base1-partial.map", "Q:\\mymod\\maps\\base1.map");
             p.strQuakePath = "Q:\\";
             return p;
         }(),
         {{"Q:\\", "Q:\\quake.exe", "-game mymod +map base1-partial", "C:\\Temp\\base1-partial.bsp",
           "Q:\\mymod\\maps\\base1-partial.bsp"}},
         {}},
        {"every group off", none, Paths(), {}, {}},
        {"no Quake path", CBuildOptions(), Paths("D:\\maps\\e1m1.map", "C:\\b", "", "quake.exe"),
         {{"C:\\b", "C:\\b\\qbsp.exe", " D:\\maps\\e1m1.map", "", ""},
          {"C:\\b", "C:\\b\\vis.exe", "-fast  D:\\maps\\e1m1.map", "", ""},
          {"C:\\b", "C:\\b\\light.exe", " D:\\maps\\e1m1.map", "", ""}},
         {"You must specify a Quake path for the project.\nThe Quake executable will not be run."}},
        {"no Quake executable", OnlyQuake(), Paths("D:\\maps\\e1m1.map", "C:\\b", "C:\\Quake", ""),
         {},
         {"You must specify a Quake executable for the project.\nThe Quake executable will not be run."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CBuildStep> steps;
        std::vector<CString> boxes;
        MakeBuildSteps(c.options, c.paths, steps, boxes);
        ExpectSteps(steps, c.steps);
        ASSERT_EQ(boxes.size(), c.boxes.size());
        for (size_t i = 0; i < boxes.size(); ++i)
            EXPECT_STREQ(boxes[i], c.boxes[i]);
    }
    // The command line is the command, a blank and the arguments.
    std::vector<CBuildStep> steps;
    std::vector<CString> boxes;
    MakeBuildSteps(OnlyQuake("-dev"), Paths("D:\\maps\\e1m1.map", "C:\\b", "C:\\My Quake"), steps, boxes);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_STREQ(steps[0].GetCommandLine(), "\"C:\\My Quake\\quake.exe\" -dev +map e1m1");
    EXPECT_STREQ(steps[0].GetProgramName(), "quake.exe");
    // The tools work unseen; the game is played.
    MakeBuildSteps(CBuildOptions(), Paths(), steps, boxes);
    ASSERT_EQ(steps.size(), 4u);
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(steps[i].nShowWindow, i < 3 ? SW_HIDE : SW_SHOWNORMAL) << i;
}

// Paths typed with forward slashes (Windows takes both) give the same pieces.
TEST(BuildSteps, PathPiecesTakeBothSeparators)
{
    const struct
    {
        const char* path;
        const char* file;
        const char* base;
        const char* bsp;
    } cases[] = {
        {"c:/quake/id1/maps/e1m1.map", "e1m1.map", "e1m1", "c:/quake/id1/maps/e1m1.bsp"},
        {"D:\\maps/sub\\e1m1.map", "e1m1.map", "e1m1", "D:\\maps/sub\\e1m1.bsp"},
        {"D:/my.maps/e1m1", "e1m1", "e1m1", "D:/my.maps/e1m1.bsp"},
        {"C:e1m1.map", "e1m1.map", "e1m1", "C:e1m1.bsp"},
        {"e1m1.map", "e1m1.map", "e1m1", "e1m1.bsp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(BuildFilePart(c.path), c.file);
        EXPECT_STREQ(BuildBaseName(c.path), c.base);
        EXPECT_STREQ(BuildChangeExtension(c.path, ".bsp"), c.bsp);
    }
    // The game gets the level's name, not a piece of its path.
    std::vector<CBuildStep> steps;
    std::vector<CString> boxes;
    MakeBuildSteps(OnlyQuake(), Paths("c:/quake/id1/maps/e1m1.map"), steps, boxes);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_STREQ(steps[0].strArguments, "+map e1m1");
    EXPECT_STREQ(steps[0].strCopyDest, "");   // the level is where the game looks
}

TEST(BuildSteps, PartialBuildNamesAreNewInTheTemporaryDirectory)
{
    struct Case
    {
        const char* map;
        std::vector<const char*> existing;
        const char* expected;
    } cases[] = {
        {"D:\\maps\\base1.map", {}, "C:\\T\\base1-partial.map"},
        {"D:\\maps\\base1.test.map", {}, "C:\\T\\base1.test-partial.map"},
        {"D:\\maps\\base1.map", {"C:\\T\\base1-partial.map"}, "C:\\T\\base1-partial2.map"},
        {"D:\\maps\\base1.map", {"C:\\T\\base1-partial.bsp", "C:\\T\\base1-partial2.map"}, "C:\\T\\base1-partial3.map"},
        // Every file the compilers would make must be free, so that all the build leaves is its own.
        {"D:\\maps\\base1.map",
         {"C:\\T\\base1-partial.prt", "C:\\T\\base1-partial2.pts", "C:\\T\\base1-partial3.lit",
          "C:\\T\\base1-partial4.h1", "C:\\T\\base1-partial5.h2"},
         "C:\\T\\base1-partial6.map"},
        {"D:\\maps\\base1.map", {"C:\\T\\base1-partial.txt", "C:\\T\\base1-partial"}, "C:\\T\\base1-partial.map"},
        {"", {}, "C:\\T\\map-partial.map"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.map);
        CString name = MakePartialMapName("C:\\T", c.map, [&](const CString& path) {
            for (const char* e : c.existing)
                if (path.CompareNoCase(e) == 0)
                    return TRUE;
            return FALSE;
        });
        EXPECT_STREQ(name, c.expected);
    }
    // However many files of others there are, a name comes (each name is looked at once).
    int asked = 0;
    EXPECT_STREQ(MakePartialMapName("C:\\T", "a.map",
                                    [&](const CString& path) {
                                        ++asked;
                                        return path.Find("\\a-partial5001.") < 0;
                                    }),
                 "C:\\T\\a-partial5001.map");
    EXPECT_EQ(asked, 5000 + 7);
    // The system's temporary directory, without a trailing backslash.
    CString temp = BuildTempDirectory();
    EXPECT_FALSE(temp.IsEmpty());
    EXPECT_NE(temp.Right(1), "\\");
    EXPECT_NE(::GetFileAttributesA(temp), INVALID_FILE_ATTRIBUTES);
}

// ---- The step machine, with fake runs ---------------------------------------------------------

struct FakeRun : CChildRun
{
    FakeRun(UINT_PTR serial, std::vector<FakeRun*>& live) : m_serial(serial), m_live(live) { live.push_back(this); }
    ~FakeRun() override { m_live.erase(std::find(m_live.begin(), m_live.end(), this)); }
    BOOL HasFailed() const override { return bStartFailed || code != 0; }
    BOOL HasStartFailed() const override { return bStartFailed; }
    CString GetStartError() const override { return error; }
    DWORD GetExitCode() const override { return code; }
    UINT_PTR GetSerial() const override { return m_serial; }

    DWORD code = STILL_ACTIVE;
    BOOL bStartFailed = FALSE;
    CString error;
    UINT_PTR m_serial;
    std::vector<FakeRun*>& m_live;
};

class StepMachine : public testing::Test
{
protected:
    StepMachine()
        : pipeline(
              [this](const CBuildStep& step) {
                  started.push_back(step.GetCommandLine());
                  copiedBeforeStart.push_back(step.strCopyDest.IsEmpty() || bt::FileExists(step.strCopyDest));
                  return new FakeRun(++serial, live);
              },
              [this](LPCSTR text) { pane += text; })
    {
    }
    std::vector<CBuildStep> Steps(int n)
    {
        static const char* const names[] = {"qbsp.exe", "vis.exe", "light.exe", "quake.exe"};
        std::vector<CBuildStep> steps;
        for (int i = 0; i < n; ++i) {
            CBuildStep step;
            step.strCommand = CString("C:\\bin\\") + names[i];
            step.strArguments = "m.map";
            steps.push_back(step);
        }
        return steps;
    }
    FakeRun* Current() { return static_cast<FakeRun*>(pipeline.GetCurrent()); }
    // The current run ends with the code and its completion arrives.
    void Finish(DWORD code)
    {
        FakeRun* run = Current();
        ASSERT_NE(run, nullptr);
        run->code = code;
        pipeline.OnStepFinished(reinterpret_cast<WPARAM>(static_cast<CChildRun*>(run)), run->GetSerial());
    }
    int Checked()
    {
        CTestCmdUI ui;
        pipeline.UpdateBuildCmdUI(&ui, TRUE);
        return ui.m_nCheck;
    }

    UINT_PTR serial = 100;
    std::vector<FakeRun*> live;
    std::vector<CString> started;
    std::vector<bool> copiedBeforeStart;
    CString pane;
    CBuildPipeline pipeline;
};

TEST_F(StepMachine, StepsRunOneAfterTheOtherAndSucceedOnce)
{
    pipeline.Start(Steps(4));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(started.size(), size_t(i + 1));
        EXPECT_EQ(live.size(), 1u);
        EXPECT_EQ(Checked(), 1);
        Finish(0);
    }
    EXPECT_STREQ(pane, "\n\nBuild process completed successfully\n");
    EXPECT_FALSE(pipeline.IsRunning());
    EXPECT_TRUE(live.empty());
    EXPECT_EQ(Checked(), 0);
    EXPECT_TRUE(AfxSeamCalls().empty());
    EXPECT_STREQ(started[0], "C:\\bin\\qbsp.exe m.map");

    // Nothing to run: success at once.
    pane.Empty();
    pipeline.Start({});
    EXPECT_STREQ(pane, "\n\nBuild process completed successfully\n");
    EXPECT_FALSE(pipeline.IsRunning());
}

TEST_F(StepMachine, AFailedStepWithStepsLeftShowsTheBoxAndEmptiesTheQueue)
{
    pipeline.Start(Steps(4));
    AfxSeamAnswer(IDOK);
    Finish(1);
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szFailedToBuild});
    EXPECT_STREQ(pane, "\n\nqbsp.exe failed with exit code 1\n");
    EXPECT_EQ(started.size(), 1u);
    EXPECT_FALSE(pipeline.IsRunning());
    EXPECT_EQ(pipeline.GetQueuedCount(), 0);
    EXPECT_TRUE(live.empty());
}

TEST_F(StepMachine, AFailedLastStepIsALineNotABox)
{
    pipeline.Start(Steps(2));
    Finish(0);
    Finish(3);
    EXPECT_TRUE(AfxSeamCalls().empty());
    EXPECT_STREQ(pane, "\n\nvis.exe failed with exit code 3\n");
    EXPECT_FALSE(pipeline.IsRunning());
    EXPECT_EQ(Checked(), 0);
}

TEST_F(StepMachine, CancelStopsTheStepAndALateCompletionFindsNothingToDo)
{
    struct Case
    {
        int steps;
        int finishedFirst;
        bool box;
    } cases[] = {{4, 0, true}, {4, 3, false}, {1, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps * 10 + c.finishedFirst);
        AfxSeamReset();
        pane.Empty();
        started.clear();
        pipeline.Start(Steps(c.steps));
        for (int i = 0; i < c.finishedFirst; ++i)
            Finish(0);
        FakeRun* running = Current();
        WPARAM oldSelf = reinterpret_cast<WPARAM>(static_cast<CChildRun*>(running));
        LPARAM oldSerial = running->GetSerial();
        if (c.box)
            AfxSeamAnswer(IDOK);
        pipeline.Cancel();
        EXPECT_TRUE(live.empty());      // the step's run was deleted (which stops its child)
        EXPECT_FALSE(pipeline.IsRunning());
        EXPECT_EQ(Checked(), 0);
        EXPECT_STREQ(pane, "\n\nBuild process canceled at the user's request\n");
        std::vector<CString> expected;
        if (c.box)
            expected.push_back(CBuildPipeline::szCanceled);
        EXPECT_EQ(afxtest::MessageBoxTexts(), expected);
        // The stopped run's completion, had it been posted, changes nothing.
        pipeline.OnStepFinished(oldSelf, oldSerial);
        EXPECT_EQ(afxtest::MessageBoxTexts(), expected);
        EXPECT_EQ(started.size(), size_t(c.finishedFirst + 1));
    }
}

TEST_F(StepMachine, ACompletionOfAnotherRunIsIgnored)
{
    pipeline.Start(Steps(2));
    FakeRun* run = Current();
    WPARAM self = reinterpret_cast<WPARAM>(static_cast<CChildRun*>(run));
    run->code = 0;
    pipeline.OnStepFinished(self, run->GetSerial() + 1);   // same address, another run
    pipeline.OnStepFinished(self + 8, run->GetSerial());   // another object
    EXPECT_EQ(Current(), run);
    EXPECT_EQ(started.size(), 1u);
    pipeline.OnStepFinished(self, run->GetSerial());
    EXPECT_EQ(started.size(), 2u);
}

TEST_F(StepMachine, AFailedStartShowsItsReasonOnceAndTheBuildGoesIdle)
{
    pipeline.Start(Steps(4));
    FakeRun* run = Current();
    run->bStartFailed = TRUE;
    run->error = "File not found.\nThe command was:\nC:\\bin\\qbsp.exe m.map";
    AfxSeamAnswer(IDOK);
    pipeline.OnStepFinished(reinterpret_cast<WPARAM>(static_cast<CChildRun*>(run)), run->GetSerial());
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{"File not found.\nThe command was:\nC:\\bin\\qbsp.exe m.map"});
    EXPECT_FALSE(pipeline.IsRunning());
    EXPECT_EQ(pipeline.GetQueuedCount(), 0);
    EXPECT_EQ(Checked(), 0);
    EXPECT_TRUE(live.empty());
    EXPECT_TRUE(pane.IsEmpty());
}

TEST_F(StepMachine, TheGameStepCopiesTheLevelFirstAndACopyFailureEndsTheBuild)
{
    bt::TempDir dir;
    bt::WriteTextFile(dir / "m.bsp", "level");
    bt::MakeDirs(dir / "id1\\maps");
    std::vector<CBuildStep> steps = Steps(1);
    CBuildStep game;
    game.strCommand = "C:\\Quake\\quake.exe";
    game.strArguments = "+map m";
    game.strCopySource = dir / "m.bsp";
    game.strCopyDest = dir / "id1\\maps\\m.bsp";
    steps.push_back(game);
    bt::WriteTextFile(game.strCopyDest, "old level");
    pipeline.Start(steps);
    Finish(0);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_TRUE(copiedBeforeStart[1]);
    EXPECT_EQ(bt::ReadTextFile(game.strCopyDest), "level");    // overwritten
    Finish(0);
    EXPECT_STREQ(pane, "\n\nBuild process completed successfully\n");

    // A level that was not made: the box, and nothing runs.
    pane.Empty();
    started.clear();
    steps[1].strCopySource = dir / "missing.bsp";
    AfxSeamAnswer(IDOK);
    pipeline.Start(steps);
    Finish(0);
    EXPECT_EQ(started.size(), 1u);
    CString expected = "Morvane was unable to copy the file:\n" + dir / "missing.bsp" + "\nto\n" +
                       dir / "id1\\maps\\m.bsp" + ".\nQuake will not be run.";
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{expected});
    EXPECT_FALSE(pipeline.IsRunning());
    EXPECT_TRUE(pane.IsEmpty());
}

TEST_F(StepMachine, TheBuildCommandIsEnabledWithAMapWindowOrARunAndCheckedOnlyWhileAStepRuns)
{
    struct Case
    {
        bool running;
        BOOL mapActive;
        BOOL enabled;
        int checked;
    } cases[] = {{false, TRUE, TRUE, 0}, {false, FALSE, FALSE, 0}, {true, FALSE, TRUE, 1}, {true, TRUE, TRUE, 1}};
    for (const Case& c : cases) {
        if (c.running && !pipeline.IsRunning())
            pipeline.Start(Steps(1));
        CTestCmdUI ui;
        pipeline.UpdateBuildCmdUI(&ui, c.mapActive);
        EXPECT_EQ(ui.m_bEnabled, c.enabled);
        EXPECT_EQ(ui.m_nCheck, c.checked);
    }
    pipeline.Stop();
    EXPECT_TRUE(live.empty());
    EXPECT_TRUE(pane.IsEmpty());    // stopping says nothing
    EXPECT_EQ(Checked(), 0);
}

// ---- Whole builds through the stand-in tools --------------------------------------------------

// A temporary project: a Bin directory with qbsp, vis and light, a game directory with the game
// and id1\maps, and a map (paths with blanks all along).
class StandinBuild : public testing::Test
{
protected:
    StandinBuild()
        : pipeline(
              [this](const CBuildStep& step) { return StartBuildStep(step, notify.hWnd, pane.hWnd); },
              [this](LPCSTR text) { pane.text += text; })
    {
        bin = dir / "Bin";
        quake = dir / "Quake";
        bt::MakeDirs(bin);
        bt::MakeDirs(quake + "\\id1\\maps");
        bt::MakeDirs(dir / "maps");
        mapFile = dir / "maps\\small.map";
        bt::WriteTextFile(mapFile, "// small\r\n{\r\n\"classname\" \"worldspawn\"\r\n}\r\n");
        notify.onCompletion = [this](UINT, WPARAM w, LPARAM l) { pipeline.OnStepFinished(w, l); };
    }
    void Tool(LPCSTR name, LPCSTR instructions) { bt::CopyStandin(bin, name, instructions); }
    std::vector<CBuildStep> Queue(const CBuildOptions& options = CBuildOptions())
    {
        CBuildPaths paths;
        paths.strMapFile = mapFile;
        paths.strBinDir = bin;
        paths.strQuakePath = quake;
        paths.strQuakeExe = "game.exe";
        std::vector<CBuildStep> steps;
        std::vector<CString> boxes;
        MakeBuildSteps(options, paths, steps, boxes);
        return steps;
    }
    bool WaitIdle() { return bt::WaitFor([&] { return !pipeline.IsRunning(); }); }

    bt::TempDir dir;
    CString bin, quake, mapFile;
    bt::Recorder pane, notify;
    CBuildPipeline pipeline;
};

TEST_F(StandinBuild, EveryStepRunsInOrderTheLevelIsCopiedAndTheGameStarts)
{
    Tool("qbsp.exe", "out qbsp here\nargs\ncwd\nbsp\n");
    Tool("vis.exe", "err vis here\nargs\n");
    Tool("light.exe", "out light here\n");
    bt::CopyStandin(quake, "game.exe", "record game.log\nout game here\n");
    CBuildOptions options;
    options.bQbspVerbose = TRUE;
    options.strQuakeExtra = "-dev";
    pipeline.Start(Queue(options));
    ASSERT_TRUE(WaitIdle());
    std::string expected = "qbsp here\n"
                           "cmdline=\"" + std::string(bin) + "\\qbsp.exe\" -verbose  \"" + std::string(mapFile) + "\"\n"
                           "arg1=-verbose\n"
                           "arg2=" + std::string(mapFile) + "\n"
                           "cwd=" + std::string(bin) + "\n"
                           "map=" + std::string(mapFile) + " size=42 first=// small\n"
                           "wrote " + std::string(dir / "maps\\small.bsp") + "\n"
                           "vis here\n"
                           "cmdline=\"" + std::string(bin) + "\\vis.exe\" -fast  \"" + std::string(mapFile) + "\"\n"
                           "arg1=-fast\n"
                           "arg2=" + std::string(mapFile) + "\n"
                           "light here\n"
                           "game here\n"
                           "\n\nBuild process completed successfully\n";
    EXPECT_EQ(pane.text, expected);
    EXPECT_EQ(bt::ReadTextFile(quake + "\\id1\\maps\\small.bsp"), "BSP of " + std::string(mapFile) + "\n");
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
              "cmdline=\"" + std::string(quake) + "\\game.exe\" -dev +map small\ncwd=" + std::string(quake) + "\n");
    EXPECT_EQ(notify.completions.size(), 4u);
    EXPECT_TRUE(AfxSeamCalls().empty());
}

// The game is asked to show its window (a game that shows it the default way takes this), while
// the tools stay unseen; a map name with blanks reaches it as one argument; a level built in the
// game's own maps folder is not copied onto itself.
TEST_F(StandinBuild, TheGameStartsShownWithTheMapNameAsOneArgument)
{
    struct
    {
        CString map;
        CString level;
    } cases[] = {{dir / "maps\\jr base1.map", quake + "\\id1\\maps\\jr base1.bsp"},
                 {quake + "\\id1\\maps\\jr base1.map", quake + "\\id1\\maps\\jr base1.bsp"}};
    Tool("qbsp.exe", "bsp\nshow\n");
    bt::CopyStandin(quake, "game.exe", "args\nshow\n");
    CBuildOptions options;
    options.bVis = options.bLight = FALSE;
    for (const auto& c : cases) {
        SCOPED_TRACE((LPCSTR)c.map);
        pane.text.clear();
        ::DeleteFileA(c.level);
        mapFile = c.map;
        bt::WriteTextFile(mapFile, "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n");
        pipeline.Start(Queue(options));
        ASSERT_TRUE(WaitIdle());
        EXPECT_NE(pane.text.find("show=0\ncmdline="), std::string::npos) << pane.text;     // SW_HIDE
        EXPECT_NE(pane.text.find("\\game.exe\" +map \"jr base1\"\narg1=+map\narg2=jr base1\nshow=1\n"),  // SW_SHOWNORMAL
                  std::string::npos)
            << pane.text;
        EXPECT_NE(pane.text.find("Build process completed successfully"), std::string::npos);
        EXPECT_EQ(bt::ReadTextFile(c.level), "BSP of " + std::string(mapFile) + "\n");
        EXPECT_TRUE(AfxSeamCalls().empty());
    }
}

TEST_F(StandinBuild, AFailingQbspStopsTheBuild)
{
    Tool("qbsp.exe", "err ERROR: leak\nexit 1\n");
    Tool("vis.exe", "out vis here\n");
    AfxSeamAnswer(IDOK);
    pipeline.Start(Queue());
    ASSERT_TRUE(WaitIdle());
    bt::Settle(200);
    EXPECT_EQ(pane.text, "ERROR: leak\n\n\nqbsp.exe failed with exit code 1\n");
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szFailedToBuild});
    EXPECT_EQ(notify.completions.size(), 1u);
}

TEST_F(StandinBuild, BuildPressedWhileQbspHangsCancelsAndTheChildIsGone)
{
    Tool("qbsp.exe", "pid\nsleep forever\n");
    pipeline.Start(Queue());
    HANDLE hChild = bt::OpenPrintedProcess(pane.text);
    ASSERT_NE(hChild, nullptr);
    AfxSeamAnswer(IDOK);
    pipeline.Cancel();
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    EXPECT_FALSE(pipeline.IsRunning());
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szCanceled});
    EXPECT_NE(pane.text.find("\n\nBuild process canceled at the user's request\n"), std::string::npos);
    bt::Settle(200);
    EXPECT_TRUE(notify.completions.empty());
}

TEST_F(StandinBuild, ABinWithoutQbspFailsTheStartWithTheSystemsReason)
{
    Tool("vis.exe", "out vis here\n");
    std::vector<CBuildStep> steps = Queue();
    AfxSeamAnswer(IDOK);
    pipeline.Start(steps);
    ASSERT_TRUE(WaitIdle());
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    CString tail = "\nThe command was:\n" + steps[0].GetCommandLine();
    EXPECT_STREQ(texts[0].Right(tail.GetLength()), tail);
    EXPECT_GT(texts[0].GetLength(), tail.GetLength());
    EXPECT_TRUE(pane.text.empty());
    bt::Settle(200);
    EXPECT_EQ(notify.completions.size(), 1u);
}

// ---- The Build Map dialog ---------------------------------------------------------------------

TEST(BuildMapDialog, StartsFromTheDefaultsAndGroupsEnableTheirControls)
{
    CBuildMapDlg dlg;
    AfxSeamDrive([](AfxModalCall& call) {
        HWND h = call.hWnd;
        EXPECT_STREQ(call.caption, "Build Map");
        struct Default
        {
            int id;
            UINT checked;
        } defaults[] = {{IDC_BUILD_QBSP, 1},         {IDC_BUILD_VIS, 1},          {IDC_BUILD_LIGHT, 1},
                        {IDC_BUILD_RUN_QUAKE, 1},    {IDC_BUILD_QBSP_VERBOSE, 0}, {IDC_BUILD_QBSP_NOFILL, 0},
                        {IDC_BUILD_QBSP_ONLYENTS, 0}, {IDC_BUILD_VIS_VERBOSE, 0}, {IDC_BUILD_VIS_FAST, 1},
                        {IDC_BUILD_VIS_LEVEL0, 1},   {IDC_BUILD_VIS_LEVEL3, 0},   {IDC_BUILD_LIGHT_EXTRA_SAMPLING, 0},
                        {IDC_BUILD_ONLY_VISIBLE, 0}};
        for (const Default& d : defaults)
            EXPECT_EQ(::IsDlgButtonChecked(h, d.id), d.checked) << d.id;

        // A group's check box switches its controls, labels included; the others stay.
        struct Group
        {
            int check;
            std::vector<int> controls;
        } groups[] = {
            {IDC_BUILD_QBSP, {IDC_BUILD_QBSP_VERBOSE, IDC_BUILD_QBSP_NOFILL, IDC_BUILD_QBSP_ONLYENTS,
                              IDC_BUILD_QBSP_EXTRA_LABEL, IDC_BUILD_QBSP_EXTRA}},
            {IDC_BUILD_VIS, {IDC_BUILD_VIS_VERBOSE, IDC_BUILD_VIS_FAST, IDC_BUILD_VIS_LEVEL0, IDC_BUILD_VIS_LEVEL4,
                             IDC_BUILD_VIS_EXTRA_LABEL, IDC_BUILD_VIS_EXTRA}},
            {IDC_BUILD_LIGHT, {IDC_BUILD_LIGHT_EXTRA_SAMPLING, IDC_BUILD_LIGHT_EXTRA_LABEL, IDC_BUILD_LIGHT_EXTRA}},
            {IDC_BUILD_RUN_QUAKE, {IDC_BUILD_QUAKE_EXTRA_LABEL, IDC_BUILD_QUAKE_EXTRA}},
        };
        for (const Group& g : groups) {
            for (int id : g.controls)
                EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, id))) << id;
            ::CheckDlgButton(h, g.check, BST_UNCHECKED);
            AfxSeamPressButton(h, g.check);
            for (int id : g.controls)
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, id))) << id;
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_BUILD_ONLY_VISIBLE)));
            ::CheckDlgButton(h, g.check, BST_CHECKED);
            AfxSeamPressButton(h, g.check);
            for (int id : g.controls)
                EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, id))) << id;
        }
        ::CheckDlgButton(h, IDC_BUILD_QBSP_VERBOSE, BST_CHECKED);
        ::CheckDlgButton(h, IDC_BUILD_QBSP_NOFILL, BST_CHECKED);
        ::SetDlgItemTextA(h, IDC_BUILD_QBSP_EXTRA, "-x");
        ::CheckRadioButton(h, IDC_BUILD_VIS_LEVEL0, IDC_BUILD_VIS_LEVEL0, 0);
        ::CheckDlgButton(h, IDC_BUILD_VIS_LEVEL0, BST_UNCHECKED);
        ::CheckDlgButton(h, IDC_BUILD_VIS_LEVEL2, BST_CHECKED);
        ::CheckDlgButton(h, IDC_BUILD_LIGHT, BST_UNCHECKED);
        AfxSeamPressButton(h, IDC_BUILD_LIGHT);
        ::SetDlgItemTextA(h, IDC_BUILD_QUAKE_EXTRA, "-dev");
        ::CheckDlgButton(h, IDC_BUILD_ONLY_VISIBLE, BST_CHECKED);
        AfxSeamPressButton(h, IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.GetQbsp());
    EXPECT_STREQ(dlg.GetQbspSwitches(), "-verbose -nofill -x");
    EXPECT_TRUE(dlg.GetVis());
    EXPECT_EQ(dlg.GetOptions().nVisLevel, 2);
    EXPECT_STREQ(dlg.GetOptions().VisSwitches(), "-fast -level 2 ");
    EXPECT_FALSE(dlg.GetLight());
    EXPECT_TRUE(dlg.GetRunQuake());
    EXPECT_STREQ(dlg.GetQuakeParameters(), "-dev");
    EXPECT_TRUE(dlg.GetOnlyVisible());

    // A new dialog starts from the defaults again; Cancel changes nothing.
    CBuildMapDlg again;
    AfxSeamDrive([](AfxModalCall& call) {
        EXPECT_EQ(::IsDlgButtonChecked(call.hWnd, IDC_BUILD_QBSP_VERBOSE), 0u);
        EXPECT_EQ(::IsDlgButtonChecked(call.hWnd, IDC_BUILD_LIGHT), 1u);
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    EXPECT_EQ(again.DoModal(), IDCANCEL);
}

// The dialog's controls answer the tip control's requests from the string table.
class TipProbe : public CBuildMapDlg
{
public:
    using CBuildMapDlg::OnToolHitTest;
};

TEST(BuildMapDialog, ControlsTakeTheirTipsFromTheStringTable)
{
    TipProbe dlg;
    AfxSeamDrive([&dlg](AfxModalCall& call) {
        HWND h = call.hWnd;
        EXPECT_NE(dlg.m_nFlags & WF_TOOLTIPS, 0u);
        struct Case
        {
            int id;
            UINT flags;
            const char* tip;
        } cases[] = {{IDC_BUILD_QBSP_VERBOSE, TTF_IDISHWND, "Lists every step qbsp takes"},
                     {IDC_BUILD_QBSP_NOFILL, TTF_IDISHWND, ""},
                     {IDC_BUILD_QBSP_VERBOSE, 0, "unchanged"}};   // a tool not named by its window
        // The requests come from a tip control of the dialog's.
        HWND hTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, h, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hTip, nullptr);
        for (const Case& c : cases) {
            NMTTDISPINFOA info = {};
            info.hdr.hwndFrom = hTip;
            info.hdr.code = TTN_NEEDTEXTA;
            info.hdr.idFrom = c.flags ? reinterpret_cast<UINT_PTR>(::GetDlgItem(h, c.id)) : c.id;
            info.uFlags = c.flags;
            info.lpszText = const_cast<LPSTR>("unchanged");
            ::SendMessageA(h, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
            EXPECT_STREQ(info.lpszText, c.tip) << c.id;
        }
        // The control under a point is the tool, named by its window.
        HWND hVerbose = ::GetDlgItem(h, IDC_BUILD_QBSP_VERBOSE);
        RECT rc;
        ::GetWindowRect(hVerbose, &rc);
        POINT pt = {rc.left + 2, rc.top + 2};
        ::ScreenToClient(h, &pt);
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        EXPECT_EQ(dlg.OnToolHitTest(CPoint(pt), &ti), IDC_BUILD_QBSP_VERBOSE);
        EXPECT_EQ(ti.uId, reinterpret_cast<UINT_PTR>(hVerbose));
        EXPECT_NE(ti.uFlags & TTF_IDISHWND, 0u);
        EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACKA);
        // Inside the group's frame but on no control: no tool.
        ::GetWindowRect(::GetDlgItem(h, IDC_BUILD_QBSP_EXTRA), &rc);
        pt = {rc.right + 1, rc.bottom + 3};
        ::ScreenToClient(h, &pt);
        EXPECT_EQ(dlg.OnToolHitTest(CPoint(pt), nullptr), -1);
        ::DestroyWindow(hTip);
        AfxSeamPressButton(h, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// ---- The map written for the build, on a real map ---------------------------------------------

CString SharedMap(LPCSTR name)
{
    return shareddata::Path(std::string("maps\\") + name).c_str();
}

int CountBrushes(Map& map, int* pEntities)
{
    int brushes = 0, entities = 0;
    for (Entity* e = map.FirstEntity(); e != nullptr; e = map.NextEntity()) {
        ++entities;
        for (Brush* b = map.FirstBrush(); b != nullptr; b = map.NextBrush())
            ++brushes;
    }
    *pEntities = entities;
    return brushes;
}

// A temporary project around a map, built through the stand-in tools, with the editor's services
// and the project as the shell keeps them.
class ProjectBuild : public StandinBuild
{
protected:
    // Opens a copy of the map file (in a view, as maps are).
    void OpenMap(const CString& source)
    {
        SetEditorServices(&services);
        CReporter::Set(&reporter);
        bt::WriteTextFile(dir / "game.prj", "[Paths]\r\nBin=Bin\r\nMaps=maps\r\n");
        project.reset(new CIniFile(dir / "game.prj"));
        ASSERT_TRUE(project->Read());
        services.SetProject(project.get());
        services.WriteProfileString("Project Settings", "Root Path", dir.Path());
        services.WriteProfileString("Project Settings", "Quake Path", quake);
        services.WriteProfileString("Project Settings", "Quake Exe", "game.exe");
        Tool("qbsp.exe", "bsp\n");
        Tool("vis.exe", "out vis\n");
        Tool("light.exe", "out light\n");
        bt::CopyStandin(quake, "game.exe", "record game.log\n");
        mapFile = dir / "maps\\e2m2.map";
        ::CopyFileA(source, mapFile, FALSE);
        ::SetFileAttributesA(mapFile, FILE_ATTRIBUTE_NORMAL);   // the shared copy is read-only
        map.reset(new Map);
        map->m_bAutoDelete = FALSE;
        ASSERT_TRUE(map->OnOpenDocument(mapFile));
        map->SetPathName(mapFile, FALSE);
        map->AddView(&view);
    }
    void TearDown() override
    {
        if (map != nullptr)
            map->RemoveView(&view);
        map.reset();
        services.SetProject(nullptr);
        CReporter::Set(nullptr);
        SetEditorServices(nullptr);
    }

    CRecordingServices services;
    CReporter reporter{&services};
    std::unique_ptr<CIniFile> project;
    std::unique_ptr<Map> map;
    HintView view;
};

class RealMapBuild : public ProjectBuild
{
protected:
    void SetUp() override
    {
        CString source = SharedMap("librequake_e2m2.map");
        SKIP_WITHOUT_SHARED_DATA(source);
        OpenMap(source);
    }
};

TEST_F(RealMapBuild, AModifiedMapIsSavedFirstAndQbspGetsTheSavedFile)
{
    map->GetWorldEntity()->AddKeyValue("message", "built through the stand-ins");
    map->SetModifiedFlag();
    std::vector<CBuildStep> steps;
    ASSERT_TRUE(PrepareBuild(*map, CBuildOptions(), [&](LPCSTR text) { pane.text += text; }, steps));
    EXPECT_FALSE(map->IsModified());
    ASSERT_EQ(steps.size(), 4u);
    std::string saved = bt::ReadTextFile(mapFile);
    ASSERT_NE(saved.find("built through the stand-ins"), std::string::npos);
    pipeline.Start(steps);
    ASSERT_TRUE(WaitIdle());
    std::string firstLine = saved.substr(0, saved.find_first_of("\r\n"));
    // The map names several WADs (as many as the file's "wad" value lists): qbsp is warned of
    // before it runs.
    const std::string value(map->GetWorldEntity()->ValueForKey("wad"));
    const std::string source = bt::ReadTextFile(SharedMap("librequake_e2m2.map"));
    const size_t at = source.find("\"wad\" \"");
    ASSERT_NE(at, std::string::npos);
    const std::string listed = source.substr(at + 7, source.find('"', at + 7) - (at + 7));
    const long wads = std::count(listed.begin(), listed.end(), ';') + 1;
    ASSERT_GT(wads, 1);
    EXPECT_EQ(pane.text, "Building file: " + std::string(mapFile) + "\n" +
                             "Warning: worldspawn's \"wad\" names " + std::to_string(wads) + " WADs: " + value + "\n" +
                             "id's qbsp reads one WAD only, named relative to the game folder; newer compilers "
                             "read the list.\n" +
                             "map=" + std::string(mapFile) + " size=" + std::to_string(saved.size()) +
                             " first=" + firstLine + "\n" +
                             "wrote " + std::string(dir / "maps\\e2m2.bsp") + "\n" +
                             "vis\nlight\n\n\nBuild process completed successfully\n");
    EXPECT_TRUE(bt::FileExists(quake + "\\id1\\maps\\e2m2.bsp"));
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
              "cmdline=\"" + std::string(quake) + "\\game.exe\" +map e2m2\ncwd=" + std::string(quake) + "\n");
    EXPECT_TRUE(AfxSeamCalls().empty());
}

TEST_F(RealMapBuild, APartialBuildWritesTheVisibleObjectsToANewTemporaryMap)
{
    int entities = 0;
    int brushes = CountBrushes(*map, &entities);
    CBuildOptions options;
    options.bOnlyVisible = TRUE;
    options.bVis = options.bLight = FALSE;
    std::vector<CBuildStep> steps;
    ASSERT_TRUE(PrepareBuild(*map, options, [&](LPCSTR text) { pane.text += text; }, steps));
    ASSERT_EQ(steps.size(), 2u);
    const std::string prefix = "Building partial file: ";
    ASSERT_EQ(pane.text.compare(0, prefix.size(), prefix), 0);
    CString partial = pane.text.substr(prefix.size(), pane.text.find('\n') - prefix.size()).c_str();
    EXPECT_STREQ(BuildFilePart(partial).Left(8), "e2m2-par");
    EXPECT_STREQ(partial.Left(partial.ReverseFind('\\')), BuildTempDirectory());
    pipeline.Start(steps);
    ASSERT_TRUE(WaitIdle());
    CString name = BuildBaseName(partial);
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
              "cmdline=\"" + std::string(quake) + "\\game.exe\" +map " + std::string(name) + "\ncwd=" +
                  std::string(quake) + "\n");
    EXPECT_TRUE(bt::FileExists(quake + "\\id1\\maps\\" + name + ".bsp"));

    // The temporary map reads back with the map's objects.
    Map back;
    back.m_bAutoDelete = FALSE;
    ASSERT_TRUE(back.OnOpenDocument(partial));
    int backEntities = 0;
    EXPECT_EQ(CountBrushes(back, &backEntities), brushes);
    EXPECT_EQ(backEntities, entities);
    ::DeleteFileA(partial);
    ::DeleteFileA(BuildChangeExtension(partial, ".bsp"));
}

TEST_F(RealMapBuild, WithoutABinKeyTheBuildEndsWithTheIteratorsLine)
{
    bt::WriteTextFile(dir / "game.prj", "[Paths]\r\nMaps=maps\r\n");
    project->Read();
    std::vector<CBuildStep> steps;
    EXPECT_FALSE(PrepareBuild(*map, CBuildOptions(), [&](LPCSTR text) { pane.text += text; }, steps));
    EXPECT_TRUE(services.LineContains("No bin paths are specified in the project settings"));
    EXPECT_TRUE(steps.empty());
    // An empty Bin entry: the box.
    bt::WriteTextFile(dir / "game.prj", "[Paths]\r\nBin=\r\n");
    project->Read();
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(PrepareBuild(*map, CBuildOptions(), [&](LPCSTR text) { pane.text += text; }, steps));
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{"Couldn't find a Bin directory in the project settings."});
}

// ---- The Build command, its dialog driven -----------------------------------------------------

const char kSmallMap[] =
    "{\r\n\"classname\" \"worldspawn\"\r\n{\r\n"
    "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) WALL1 0 0 0 1 1\r\n( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\r\n"
    "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\r\n( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n"
    "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) WALL1 0 0 0 1 1\r\n( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) WALL1 0 0 0 1 1\r\n"
    "}\r\n}\r\n{\r\n\"classname\" \"info_player_start\"\r\n\"origin\" \"32 32 24\"\r\n}\r\n";

class BuildCommand : public ProjectBuild
{
protected:
    BuildCommand() : command(nullptr, &output) {}
    void SetUp() override
    {
        bt::WriteTextFile(dir / "small.map", kSmallMap);
        OpenMap(dir / "small.map");
        output.AddTab("Build");
        notify.onCompletion = [this](UINT, WPARAM w, LPARAM l) { command.OnBuildStep(w, l); };
        command.SetNotifyWindow(notify.hWnd);
    }
    void TearDown() override
    {
        command.Stop();
        ProjectBuild::TearDown();
    }
    // The dialog as a user fills it: every group on (each switched off and on again), then OK.
    void DriveDialog(bool onlyVisible = false)
    {
        AfxSeamDrive([onlyVisible](AfxModalCall& call) {
            HWND h = call.hWnd;
            for (int id : {IDC_BUILD_QBSP, IDC_BUILD_VIS, IDC_BUILD_LIGHT, IDC_BUILD_RUN_QUAKE}) {
                ::CheckDlgButton(h, id, BST_UNCHECKED);
                AfxSeamPressButton(h, id);
                ::CheckDlgButton(h, id, BST_CHECKED);
                AfxSeamPressButton(h, id);
            }
            ::CheckDlgButton(h, IDC_BUILD_QBSP_VERBOSE, BST_CHECKED);
            if (onlyVisible)
                ::CheckDlgButton(h, IDC_BUILD_ONLY_VISIBLE, BST_CHECKED);
            AfxSeamPressButton(h, IDOK);
        });
    }
    bool WaitDone() { return bt::WaitFor([&] { return !command.GetPipeline().IsRunning(); }); }
    int Checked()
    {
        CTestCmdUI ui;
        command.OnUpdateBuild(&ui, TRUE);
        return ui.m_nCheck;
    }
    std::string& Pane() { return output.Text("Build"); }

    bt::FakeOutput output;
    CBuildCommand command;
};

TEST_F(BuildCommand, ABuildFromTheDialogRunsEveryToolAndStartsTheGame)
{
    Pane() = "old text";
    DriveDialog();
    command.OnBuild(map.get());
    EXPECT_EQ(Checked(), 1);
    ASSERT_TRUE(WaitDone());
    std::string text = bt::ReadTextFile(mapFile);
    EXPECT_EQ(Pane(), "Building file: " + std::string(mapFile) + "\n" + "map=" + std::string(mapFile) + " size=" +
                          std::to_string(text.size()) + " first={\n" + "wrote " + std::string(dir / "maps\\e2m2.bsp") +
                          "\nvis\nlight\n\n\nBuild process completed successfully\n");
    EXPECT_EQ(output.calls, (std::vector<std::string>{"add Build", "clear Build", "activate Build", "show"}));
    EXPECT_TRUE(bt::FileExists(quake + "\\id1\\maps\\e2m2.bsp"));
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
              "cmdline=\"" + std::string(quake) + "\\game.exe\" +map e2m2\ncwd=" + std::string(quake) + "\n");
    EXPECT_EQ(Checked(), 0);
    ASSERT_EQ(AfxSeamCalls().size(), 1u);   // the dialog, nothing else
    EXPECT_EQ(AfxSeamCalls()[0].nIDTemplate, (UINT)IDD_BUILD_MAP);

    // Without an active map Build does nothing; a cancelled dialog changes nothing.
    AfxSeamReset();
    command.OnBuild(nullptr);
    EXPECT_TRUE(AfxSeamCalls().empty());
    AfxSeamAnswer(IDCANCEL);
    command.OnBuild(map.get());
    EXPECT_FALSE(command.GetPipeline().IsRunning());
    EXPECT_EQ(output.calls.size(), 4u);
}

// The usual layout: the map saved in the game's maps folder, its WAD in the game folder. qbsp (a
// stand-in reading "wad" as id's qbsp does) finds the WAD, the level stays where it was built and
// the game starts. A list qbsp cannot read is told in the Build pane before qbsp runs.
TEST_F(BuildCommand, AMapSavedInTheGameFolderNamesItsWadAsQbspReadsIt)
{
    const CString game = quake + "\\id1";
    bt::MakeDirs(game + "\\gfx");
    bt::WriteTextFile(game + "\\gfx\\base.wad", std::string("WAD2\0\0\0\0\0\0\0\0", 12));
    services.GetWadList().AddTail(game + "\\gfx\\base.wad");
    Tool("qbsp.exe", "wad\nbsp\n");
    mapFile = game + "\\maps\\small.map";
    bt::WriteTextFile(mapFile, kSmallMap);
    map->SetPathName(mapFile, FALSE);
    map->SetModifiedFlag();
    DriveDialog();
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    const std::string read = "wad=gfx/base.wad\nread " + std::string(game) + "\\/gfx/base.wad\n";
    EXPECT_EQ(Pane().find("Building file: " + std::string(mapFile) + "\n" + read), 0u) << Pane();
    EXPECT_NE(Pane().find("Build process completed successfully"), std::string::npos);
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
              "cmdline=\"" + std::string(quake) + "\\game.exe\" +map small\ncwd=" + std::string(quake) + "\n");
    EXPECT_EQ(AfxSeamCalls().size(), 1u);   // the dialog, nothing else

    // A second WAD, outside the game folder: the warning, then qbsp's failure.
    services.GetWadList().AddTail(dir / "other.wad");
    map->SetModifiedFlag();
    AfxSeamReset();
    DriveDialog();
    AfxSeamAnswer(IDOK);    // the failure box
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    const std::string value = "gfx/base.wad;" + std::string(dir / "other.wad");
    EXPECT_EQ(Pane().find("Building file: " + std::string(mapFile) + "\nWarning: worldspawn's \"wad\" names 2 WADs: " +
                          value + "\n"),
              0u)
        << Pane();
    EXPECT_NE(Pane().find("; newer compilers read the list.\nwad=" + value + "\nError opening "), std::string::npos)
        << Pane();
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szFailedToBuild});
}

// A partial build's temporary file lies outside every game folder: its "wad" still names the WAD
// as seen from the saved map's game folder (here a mod's), where qbsp looks for it, and nothing is
// warned of; the level is played in that mod.
TEST_F(BuildCommand, APartialBuildNamesTheWadFromTheMapsGameFolder)
{
    const CString game = quake + "\\mymod";
    bt::MakeDirs(game + "\\gfx");
    bt::MakeDirs(game + "\\maps");
    services.GetWadList().AddTail(game + "\\gfx\\base.wad");
    mapFile = game + "\\maps\\small.map";
    bt::WriteTextFile(mapFile, kSmallMap);
    map->SetPathName(mapFile, FALSE);
    CBuildOptions options;
    options.bOnlyVisible = TRUE;
    options.bVis = options.bLight = FALSE;
    std::vector<CBuildStep> steps;
    ASSERT_TRUE(PrepareBuild(*map, options, [&](LPCSTR text) { Pane() += text; }, steps));
    // The level is played in the saved map's mod.
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].strArguments.Left(19), "-game mymod +map sm");
    EXPECT_EQ(steps[1].strCopyDest.Left(game.GetLength() + 11), game + "\\maps\\small");
    const std::string prefix = "Building partial file: ";
    ASSERT_EQ(Pane().compare(0, prefix.size(), prefix), 0);
    CString partial = Pane().substr(prefix.size(), Pane().find('\n') - prefix.size()).c_str();
    EXPECT_EQ(Pane(), prefix + std::string(partial) + "\n");   // no warning
    std::string text = bt::ReadTextFile(partial);
    ::DeleteFileA(partial);
    EXPECT_NE(text.find("\"wad\" \"gfx/base.wad\"\r\n"), std::string::npos) << text;
    // The saved map's file is not touched.
    EXPECT_EQ(bt::ReadTextFile(mapFile), kSmallMap);
}

// A map saved for another WAD list (five WADs, more than id's qbsp reads) and not changed since is
// out of date once the project's list is cut down: the build saves it first, through the map's
// own save with its questions, so that qbsp reads the project's WAD; Save is on meanwhile.
TEST_F(BuildCommand, AMapWhoseWadIsNotTheProjectsIsSavedBeforeTheBuild)
{
    const CString game = quake + "\\id1";
    bt::MakeDirs(game + "\\gfx");
    bt::WriteTextFile(game + "\\gfx\\base.wad", std::string("WAD2\0\0\0\0\0\0\0\0", 12));
    services.GetWadList().AddTail(game + "\\gfx\\base.wad");
    Tool("qbsp.exe", "wad\nbsp\n");
    std::string five;
    for (int i = 1; i <= 5; ++i)
        five += (i > 1 ? ";" : "") + std::string(dir / "texture-wads\\lq_set_") + std::to_string(i) + ".wad";
    // No info_player_start: the save asks about it.
    const std::string text = "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"" + five + "\"\r\n{\r\n" +
                             std::string(kSmallMap).substr(std::string(kSmallMap).find("( 0 0 64 )"),
                                                           std::string(kSmallMap).find("}\r\n}\r\n") -
                                                               std::string(kSmallMap).find("( 0 0 64 )")) +
                             "}\r\n}\r\n";
    mapFile = game + "\\maps\\small.map";
    bt::WriteTextFile(mapFile, text);
    ASSERT_TRUE(map->OnOpenDocument(mapFile));
    map->SetPathName(mapFile, FALSE);
    ASSERT_FALSE(map->IsModified());
    auto saveEnabled = [&] {
        CTestCmdUI ui;
        ui.m_nID = ID_MAP_FILE_SAVE;
        map->OnCmdMsg(ID_MAP_FILE_SAVE, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.m_bEnabled;
    };
    EXPECT_TRUE(saveEnabled());

    // No to the save's question: no build, the file as it was.
    services.boxes.clear();
    services.answers = {IDNO};
    DriveDialog();
    command.OnBuild(map.get());
    EXPECT_FALSE(command.GetPipeline().IsRunning());
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text.find("The map doesn't have an info_player_start entity defined."), 0u);
    EXPECT_EQ(bt::ReadTextFile(mapFile), text);

    // Yes (and No to selecting the brushes whose texture no WAD here holds): saved with the
    // project's WAD, which qbsp reads.
    services.boxes.clear();
    services.answers = {IDYES, IDNO};
    AfxSeamReset();
    DriveDialog();
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    ASSERT_EQ(services.boxes.size(), 2u);
    EXPECT_EQ(services.boxes[0].text.find("The map doesn't have an info_player_start entity defined."), 0u);
    EXPECT_EQ(services.boxes[1].text.find("Some brushes were found in the map that have an undefined texture"), 0u);
    EXPECT_NE(bt::ReadTextFile(mapFile).find("\"wad\" \"gfx/base.wad\"\r\n"), std::string::npos);
    EXPECT_EQ(Pane().find("Building file: " + std::string(mapFile) + "\nwad=gfx/base.wad\nread "), 0u) << Pane();
    EXPECT_NE(Pane().find("Build process completed successfully"), std::string::npos) << Pane();
    EXPECT_FALSE(map->IsModified());
    EXPECT_FALSE(saveEnabled());
    // The project's list changes again: the saved map is out of date again.
    services.GetWadList().AddTail(game + "\\gfx\\more.wad");
    EXPECT_TRUE(saveEnabled());
    services.GetWadList().RemoveTail();
    EXPECT_FALSE(saveEnabled());
}

// A partial build's temporary map goes when the build ends, however it ends.
TEST_F(BuildCommand, APartialBuildsTemporaryMapGoesWithTheBuild)
{
    const struct
    {
        const char* how;
        const char* qbsp;
        bool cancel;
        std::vector<CString> boxes;
    } cases[] = {
        {"succeeded", "bsp\n", false, {}},
        {"failed", "exit 1\n", false, {CBuildPipeline::szFailedToBuild}},
        {"cancelled", "pid\nsleep forever\n", true, {CBuildPipeline::szCanceled}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Tool("qbsp.exe", c.qbsp);
        Pane().clear();
        AfxSeamReset();
        DriveDialog(true);
        for (size_t i = 0; i < c.boxes.size(); ++i)
            AfxSeamAnswer(IDOK);
        command.OnBuild(map.get());
        const std::string prefix = "Building partial file: ";
        ASSERT_EQ(Pane().compare(0, prefix.size(), prefix), 0) << Pane();
        const CString partial = Pane().substr(prefix.size(), Pane().find('\n') - prefix.size()).c_str();
        if (c.cancel) {
            HANDLE hChild = bt::OpenPrintedProcess(Pane());
            ASSERT_NE(hChild, nullptr);
            EXPECT_TRUE(bt::FileExists(partial)) << "qbsp is reading it";
            command.OnBuild(map.get());
            EXPECT_TRUE(bt::ProcessEnds(hChild));
        }
        ASSERT_TRUE(WaitDone());
        EXPECT_EQ(afxtest::MessageBoxTexts(), c.boxes);
        EXPECT_FALSE(bt::FileExists(partial)) << (LPCSTR)partial;
        ::DeleteFileA(BuildChangeExtension(partial, ".bsp"));
    }

    // The build ends before any step (no Bin folder): the file written for it goes at once.
    bt::WriteTextFile(dir / "game.prj", "[Paths]\r\nMaps=maps\r\n");
    ASSERT_TRUE(project->Read());
    Pane().clear();
    AfxSeamReset();
    DriveDialog(true);
    command.OnBuild(map.get());
    const std::string prefix = "Building partial file: ";
    ASSERT_EQ(Pane().compare(0, prefix.size(), prefix), 0) << Pane();
    const CString partial = Pane().substr(prefix.size(), Pane().find('\n') - prefix.size()).c_str();
    EXPECT_FALSE(command.GetPipeline().IsRunning());
    EXPECT_TRUE(services.LineContains("No bin paths are specified in the project settings"));
    EXPECT_FALSE(bt::FileExists(partial));
}

// What the compilers make of a partial build's temporary map goes with it, once they have ended,
// however the build ends; the next partial build of the map takes the same name, and the game
// folder holds the one partial level of the map. A file of that name the build did not make is
// left alone, and its name is not taken.
TEST_F(BuildCommand, APartialBuildTakesItsOutputsAwayAndTheGameKeepsOneLevelOfTheMap)
{
    bt::SystemTempDir temp;
    const CString maps = quake + "\\id1\\maps";
    const CString level = maps + "\\e2m2-partial.bsp";
    Tool("vis.exe", "out vis\n");
    Tool("light.exe", "make .lit\n");
    // The game has the level open, sharing nothing, when the next build copies it.
    HANDLE hOpenLevel = INVALID_HANDLE_VALUE;
    const CString copyFailed = "Morvane was unable to copy the file:\n" + temp / "e2m2-partial.bsp" + "\nto\n" +
                               level + ".\nQuake will not be run.";
    const struct
    {
        const char* how;
        const char* qbsp;
        bool cancel, levelOpen;
        std::vector<CString> boxes;
        bool succeeds;
    } cases[] = {
        {"succeeded", "make .prt\nmake .pts\nbsp\n", false, false, {}, true},
        {"succeeded again", "make .prt\nmake .pts\nbsp\n", false, false, {}, true},
        {"failed", "make .prt\nmake .pts\nexit 1\n", false, false, {CBuildPipeline::szFailedToBuild}, false},
        {"cancelled while qbsp holds its file", "bsp\nhold .prt\npid\nsleep forever\n", true, false,
         {CBuildPipeline::szCanceled}, false},
        {"the copy into the game folder failed", "make .prt\nbsp\n", false, true, {copyFailed}, false},
        {"succeeded a third time", "make .prt\nmake .pts\nbsp\n", false, false, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Tool("qbsp.exe", c.qbsp);
        ::DeleteFileA(quake + "\\game.log");
        Pane().clear();
        AfxSeamReset();
        DriveDialog(true);
        for (size_t i = 0; i < c.boxes.size(); ++i)
            AfxSeamAnswer(IDOK);
        if (c.levelOpen)
            hOpenLevel = ::CreateFileA(level, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        command.OnBuild(map.get());
        EXPECT_EQ(Pane().find("Building partial file: " + std::string(temp / "e2m2-partial.map") + "\n"), 0u)
            << Pane();
        if (c.cancel) {
            HANDLE hChild = bt::OpenPrintedProcess(Pane());
            ASSERT_NE(hChild, nullptr);
            command.OnBuild(map.get());
            EXPECT_EQ(::WaitForSingleObject(hChild, 0), (DWORD)WAIT_OBJECT_0) << "qbsp is gone when Build returns";
            ::CloseHandle(hChild);
            EXPECT_EQ(bt::FileNames(temp.Path()), std::vector<std::string>{}) << "at once";
        }
        ASSERT_TRUE(WaitDone());
        if (hOpenLevel != INVALID_HANDLE_VALUE)
            ::CloseHandle(hOpenLevel);
        hOpenLevel = INVALID_HANDLE_VALUE;
        EXPECT_EQ(afxtest::MessageBoxTexts(), c.boxes);
        EXPECT_EQ(bt::FileNames(temp.Path()), std::vector<std::string>{});
        EXPECT_EQ(bt::FileNames(maps, "e2m2*"), std::vector<std::string>{"e2m2-partial.bsp"});
        if (c.succeeds) {
            EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"),
                      "cmdline=\"" + std::string(quake) + "\\game.exe\" +map e2m2-partial\ncwd=" + std::string(quake) +
                          "\n");
        }
    }

    // Files of the name that the build did not make: they stay as they were, and the build takes
    // the next free name; the game still gets the map's one partial level.
    bt::WriteTextFile(temp / "e2m2-partial.prt", "mine");
    bt::WriteTextFile(temp / "e2m2-partial2.lit", "mine too");
    Tool("qbsp.exe", "make .prt\nmake .pts\nbsp\n");
    Pane().clear();
    AfxSeamReset();
    DriveDialog(true);
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(Pane().find("Building partial file: " + std::string(temp / "e2m2-partial3.map") + "\n"), 0u) << Pane();
    EXPECT_NE(Pane().find("Build process completed successfully"), std::string::npos) << Pane();
    EXPECT_EQ(bt::FileNames(temp.Path()), (std::vector<std::string>{"e2m2-partial.prt", "e2m2-partial2.lit"}));
    EXPECT_EQ(bt::ReadTextFile(temp / "e2m2-partial.prt"), "mine");
    EXPECT_EQ(bt::ReadTextFile(temp / "e2m2-partial2.lit"), "mine too");
    EXPECT_EQ(bt::FileNames(maps, "e2m2*"), std::vector<std::string>{"e2m2-partial.bsp"});
    EXPECT_EQ(bt::ReadTextFile(level), "BSP of " + std::string(temp / "e2m2-partial3.map") + "\n");
}

// A drive letter standing for a folder for the life of the object. Under Wine a drive is a link in
// the prefix that Wine's mount manager makes (as its configuration tool does); elsewhere the
// system's own device names do it.
class MappedDrive
{
public:
    MappedDrive(char letter, const CString& folder) : m_letter(letter), m_folder(folder)
    {
        typedef char*(CDECL * UnixName)(LPCWSTR);
        auto unixName = reinterpret_cast<UnixName>(
            ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
        if (unixName != nullptr) {
            WCHAR wide[MAX_PATH];
            ::MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, MAX_PATH);
            char* path = unixName(wide);
            if (path == nullptr)
                return;
            m_wine = true;
            mapped = WineDefine(path);
            ::HeapFree(::GetProcessHeap(), 0, path);
        } else {
            mapped = ::DefineDosDeviceA(0, Drive(), folder) != FALSE;
        }
    }
    ~MappedDrive()
    {
        if (!mapped)
            return;
        if (m_wine)
            WineDefine(nullptr);
        else
            ::DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, Drive(), m_folder);
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    bool mapped = false;

private:
    CString Drive() const { return CString(m_letter) + ":"; }
    // Wine's mount manager request: the drive's letter and type, then its Unix folder (none
    // removes the drive).
    bool WineDefine(const char* unixPath)
    {
        struct Request
        {
            ULONG size;
            ULONG type;
            ULONG fsType;
            DWORD serial;
            ULONGLONG unixDevice;
            WCHAR letter;
            USHORT mountPointOffset;
            USHORT deviceOffset;
            USHORT labelOffset;
        };
        std::vector<char> buffer(sizeof(Request) + (unixPath != nullptr ? strlen(unixPath) + 1 : 0));
        Request* request = reinterpret_cast<Request*>(buffer.data());
        request->size = static_cast<ULONG>(buffer.size());
        request->type = unixPath != nullptr ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
        request->letter = static_cast<WCHAR>(m_letter - 'A' + 'a');
        if (unixPath != nullptr) {
            request->mountPointOffset = sizeof(Request);
            memcpy(buffer.data() + sizeof(Request), unixPath, strlen(unixPath) + 1);
        }
        HANDLE manager = ::CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE)
            return false;
        const DWORD code = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        DWORD returned = 0;
        const BOOL ok = ::DeviceIoControl(manager, code, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, 0,
                                          &returned, nullptr);
        ::CloseHandle(manager);
        return ok != FALSE;
    }

    char m_letter;
    CString m_folder;
    bool m_wine = false;
};

// The game's folder reached as a drive's root (Q:\ mapped to it, as Wine's drives are): a mod's
// map is built in the mod, names its WAD relative to the mod, and the game plays it there.
TEST_F(BuildCommand, AGameAtADrivesRootBuildsAModsMapInTheMod)
{
    if (::GetLogicalDrives() & (1u << ('Q' - 'A')))
        GTEST_SKIP() << "the drive Q: is in use here";
    MappedDrive drive('Q', quake);
    if (!drive.mapped)
        GTEST_SKIP() << "the drive Q: cannot be mapped to a folder here";
    bt::MakeDirs(quake + "\\mymod\\maps");
    bt::MakeDirs(quake + "\\mymod\\gfx");
    bt::WriteTextFile("Q:\\mymod\\gfx\\base.wad", std::string("WAD2\0\0\0\0\0\0\0\0", 12));
    ASSERT_TRUE(bt::FileExists(quake + "\\mymod\\gfx\\base.wad")) << "Q: is the game's folder";
    services.WriteProfileString("Project Settings", "Quake Path", "Q:\\");
    services.GetWadList().AddTail("Q:\\mymod\\gfx\\base.wad");
    mapFile = "Q:\\mymod\\maps\\small.map";
    bt::WriteTextFile(mapFile, kSmallMap);
    map->SetPathName(mapFile, FALSE);
    map->SetModifiedFlag();
    DriveDialog();
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    EXPECT_EQ(Pane().find("Building file: " + std::string(mapFile) + "\nmap=" + std::string(mapFile)), 0u) << Pane();
    EXPECT_NE(Pane().find("Build process completed successfully"), std::string::npos) << Pane();
    EXPECT_NE(bt::ReadTextFile(mapFile).find("\"wad\" \"gfx/base.wad\"\r\n"), std::string::npos);
    EXPECT_TRUE(bt::FileExists(quake + "\\mymod\\maps\\small.bsp"));
    EXPECT_FALSE(bt::FileExists(quake + "\\id1\\maps\\small.bsp"));
    EXPECT_EQ(bt::ReadTextFile(quake + "\\game.log"), "cmdline=Q:\\game.exe -game mymod +map small\ncwd=Q:\\\n");
    EXPECT_EQ(AfxSeamCalls().size(), 1u);   // the dialog, nothing else
}

TEST_F(BuildCommand, BuildPressedAgainCancelsAndTheNextBuildOpensTheDialog)
{
    Tool("qbsp.exe", "pid\nsleep forever\n");
    DriveDialog();
    command.OnBuild(map.get());
    HANDLE hChild = bt::OpenPrintedProcess(Pane());
    ASSERT_NE(hChild, nullptr);
    AfxSeamAnswer(IDOK);    // the cancel message
    command.OnBuild(map.get());
    EXPECT_TRUE(bt::ProcessEnds(hChild));
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szCanceled});
    EXPECT_EQ(Checked(), 0);
    EXPECT_NE(Pane().find("Build process canceled at the user's request"), std::string::npos);

    Tool("qbsp.exe", "exit 1\n");
    AfxSeamReset();
    DriveDialog();
    AfxSeamAnswer(IDOK);    // the failure box
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    ASSERT_EQ(AfxSeamCalls().size(), 2u);
    EXPECT_EQ(AfxSeamCalls()[0].kind, AFX_MODAL_DIALOG);
    EXPECT_EQ(afxtest::MessageBoxTexts(), std::vector<CString>{CBuildPipeline::szFailedToBuild});
}

TEST_F(BuildCommand, APartialBuildAndABinWithoutQbsp)
{
    DriveDialog(true);
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    const std::string prefix = "Building partial file: ";
    ASSERT_EQ(Pane().compare(0, prefix.size(), prefix), 0);
    CString partial = Pane().substr(prefix.size(), Pane().find('\n') - prefix.size()).c_str();
    EXPECT_NE(Pane().find("Build process completed successfully"), std::string::npos);
    // qbsp read the visible objects (its line gives the file's size), and the temporary map is
    // gone with the build.
    CString visible;
    ASSERT_TRUE(map->WriteMap(visible, map->GetPathName()));
    EXPECT_NE(visible.Find("info_player_start"), -1);
    EXPECT_NE(Pane().find("map=" + std::string(partial) + " size=" + std::to_string(visible.GetLength()) + " first={"),
              std::string::npos)
        << Pane();
    EXPECT_FALSE(bt::FileExists(partial));
    ::DeleteFileA(BuildChangeExtension(partial, ".bsp"));

    ::DeleteFileA(bin + "\\qbsp.exe");
    AfxSeamReset();
    DriveDialog();
    AfxSeamAnswer(IDOK);
    command.OnBuild(map.get());
    ASSERT_TRUE(WaitDone());
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].Find("\nThe command was:\n\"" + bin + "\\qbsp.exe\" -verbose "), -1);
    EXPECT_EQ(Checked(), 0);
}

} // namespace
