#include <algorithm>
// Child processes with captured output: the posts a run makes, how it ends, and how deleting it
// stops it. A message-only window on the test's thread takes the posts.
#include "UserToolProcess.h"
#include "buildtools_util.h"
#include <memory>

namespace {

CString Quoted(const CString& s)
{
    return "\"" + s + "\"";
}

// The stand-in's command line with the given instructions.
CString Standin(LPCSTR instructions)
{
    return Quoted(bt::StandinPath()) + " " + instructions;
}

class ProcessTest : public testing::Test
{
protected:
    std::unique_ptr<CUserToolProcess> Start(LPCSTR instructions, LPCSTR directory = "", bool capture = true)
    {
        return std::make_unique<CUserToolProcess>(WM_TOOL_FINISHED, notify.hWnd, capture ? pane.hWnd : nullptr,
                                                  "Tool", directory, Standin(instructions));
    }
    // Waits for the run's own completion, as long as its output keeps arriving (a flood of
    // output takes its time on a busy machine).
    bool WaitEnd(const CUserToolProcess& run)
    {
        return bt::WaitWhileProgressing(
            [&] {
                for (auto& c : notify.completions)
                    if (run.IsCompletion(c.first, c.second))
                        return true;
                return false;
            },
            [&] { return pane.text.size(); });
    }
    bt::Recorder pane, notify;
};

TEST_F(ProcessTest, LongOutputOfBothHandlesArrivesWholeInOrderInBlocksThenOneCompletion)
{
    const int nLines = 400;  // about 20 KB
    auto run = Start("lines 400");
    ASSERT_TRUE(WaitEnd(*run));
    std::string expected;
    for (int i = 0; i < nLines; ++i) {
        char sz[80];
        snprintf(sz, sizeof sz, "line %05d %s abcdefghijklmnopqrstuvwxyz\n", i, i % 2 ? "err" : "out");
        expected += sz;
    }
    // Everything was there when the completion came.
    EXPECT_EQ(pane.text, expected);
    EXPECT_GT(pane.blocks.size(), 1u);
    for (size_t n : pane.blocks) {
        EXPECT_GT(n, 0u);
        EXPECT_LE(n, 1023u);
    }
    bt::Settle();
    ASSERT_EQ(notify.completions.size(), 1u);
    EXPECT_EQ(notify.completions[0].first, reinterpret_cast<WPARAM>(static_cast<CChildRun*>(run.get())));
    EXPECT_EQ(static_cast<UINT_PTR>(notify.completions[0].second), run->GetSerial());
    EXPECT_EQ(notify.completionMessages[0], (UINT)WM_TOOL_FINISHED);
    EXPECT_FALSE(run->IsRunning());
    EXPECT_EQ(pane.text.size(), expected.size());
}

TEST_F(ProcessTest, AMegabyteOfOutputArrivesWholeWhileTheThreadGoesOnHandlingMessages)
{
    auto run = Start("flood 1048576");
    // The test's thread keeps handling its own messages meanwhile.
    int handled = 0;
    bt::Recorder other;
    other.onCompletion = [&](UINT, WPARAM, LPARAM) { ++handled; };
    for (int i = 0; i < 5; ++i)
        ::PostMessageA(other.hWnd, WM_TOOL_FINISHED, 0, 0);
    ASSERT_TRUE(WaitEnd(*run));
    EXPECT_EQ(handled, 5);
    EXPECT_GE(pane.text.size(), 1048576u);
    EXPECT_EQ(pane.text.compare(0, 16, "line 00000 out a"), 0);
    EXPECT_EQ(pane.text.back(), '\n');
    size_t total = 0;
    for (size_t n : pane.blocks) {
        EXPECT_LE(n, 1023u);
        total += n;
    }
    EXPECT_EQ(total, pane.text.size());
    EXPECT_FALSE(run->HasFailed());
}

TEST_F(ProcessTest, ARunWhosePaneIsGoneStillEnds)
{
    auto gone = std::make_unique<bt::Recorder>();
    auto run = std::make_unique<CUserToolProcess>(WM_TOOL_FINISHED, notify.hWnd, gone->hWnd, "Tool", "",
                                                  Standin("pid sleep 300 flood 20000"));
    ASSERT_TRUE(bt::WaitFor([&] { return !gone->text.empty(); }));
    gone.reset();   // the blocks that follow find no window (and are freed by the worker)
    ASSERT_TRUE(WaitEnd(*run));
    EXPECT_FALSE(run->HasFailed());
}

TEST(ProcessClass, TheClassIsCreatableByNameAndSuchAnObjectRunsNothing)
{
    CRuntimeClass* pClass = CRuntimeClass::FromName("CUserToolProcess");
    ASSERT_NE(pClass, nullptr);
    std::unique_ptr<CObject> pObject(pClass->CreateObject());
    auto* pRun = dynamic_cast<CUserToolProcess*>(pObject.get());
    ASSERT_NE(pRun, nullptr);
    EXPECT_FALSE(pRun->IsRunning());
    EXPECT_TRUE(pRun->HasFailed());
    EXPECT_EQ(pRun->GetSerial(), 0u);
}

TEST_F(ProcessTest, OutputBeyondWhatTheMessageQueueHoldsWaitsForTheQueue)
{
    // About 12000 blocks while this thread handles no message: more than a thread's queue takes.
    auto run = Start("flood 12000000");
    ::Sleep(2000);     // (Wine's queue takes them all; Windows' holds 10000 posts)
    ASSERT_TRUE(WaitEnd(*run));
    EXPECT_GE(pane.text.size(), 12000000u);
    EXPECT_EQ(pane.text.compare(0, 16, "line 00000 out a"), 0);
    EXPECT_EQ(pane.text.back(), '\n');
    EXPECT_FALSE(run->HasFailed());
}

TEST_F(ProcessTest, HasFailedFollowsTheExitCode)
{
    struct Case
    {
        const char* instructions;
        bool ends;
        BOOL failed;
        DWORD code;
    } cases[] = {
        {"exit 0", true, FALSE, 0},
        {"out x exit 1", true, TRUE, 1},
        {"exit 3", true, TRUE, 3},
        {"sleep forever", false, TRUE, STILL_ACTIVE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.instructions);
        auto run = Start(c.instructions);
        if (c.ends) {
            ASSERT_TRUE(WaitEnd(*run));
            EXPECT_FALSE(run->IsRunning());
        } else {
            bt::Settle(300);
            EXPECT_TRUE(run->IsRunning());
        }
        EXPECT_EQ(run->HasFailed(), c.failed);
        EXPECT_EQ(run->GetExitCode(), c.code);
        EXPECT_FALSE(run->HasStartFailed());
    }
}

TEST_F(ProcessTest, AMissingProgramOrDirectoryEndsTheRunWithTheReasonAndOneCompletion)
{
    bt::TempDir dir;
    CString cwd = bt::CurrentDirectory();
    CString missingProgram = Quoted(dir / "nothere.exe") + " -x";
    CString missingDir = dir / "no such dir";
    struct Case
    {
        CString directory, command, expectedTail;
    } cases[] = {
        {"", missingProgram, "\nThe command was:\n" + missingProgram},
        {dir.Path(), missingProgram, "\nThe command was:\n" + missingProgram},
        {missingDir, Standin("out x"), "\nThe directory was:\n" + missingDir + "\nThe command was:\n" + Standin("out x")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((LPCSTR)c.command);
        notify.completions.clear();
        auto run = std::make_unique<CUserToolProcess>(WM_BUILD_STEP_FINISHED, notify.hWnd, pane.hWnd, "Build",
                                                      c.directory, c.command);
        ASSERT_TRUE(WaitEnd(*run));
        bt::Settle(100);
        EXPECT_EQ(notify.completions.size(), 1u);
        EXPECT_TRUE(run->HasStartFailed());
        EXPECT_TRUE(run->HasFailed());
        EXPECT_FALSE(run->IsRunning());
        CString error = run->GetStartError();
        // The system's own words come first (their wording is the system's); the rest is ours.
        ASSERT_GT(error.GetLength(), c.expectedTail.GetLength());
        EXPECT_STREQ(error.Right(c.expectedTail.GetLength()), c.expectedTail);
        EXPECT_NE(error[0], '\n');
        run.reset();    // returns at once
        EXPECT_STREQ(bt::CurrentDirectory(), cwd);
    }
    EXPECT_TRUE(pane.text.empty());
}

TEST_F(ProcessTest, TheChildRunsInItsDirectoryFoundThereFirstWhileTheEditorsDirectoryStays)
{
    bt::TempDir dir;
    bt::CopyStandin(dir.Path(), "mytool.exe");
    CString cwd = bt::CurrentDirectory();
    // Named without a directory: found in the tool's directory.
    auto run = std::make_unique<CUserToolProcess>(WM_TOOL_FINISHED, notify.hWnd, pane.hWnd, "T", dir.Path(),
                                                  "mytool cwd console stdin");
    EXPECT_STREQ(bt::CurrentDirectory(), cwd);
    ASSERT_TRUE(WaitEnd(*run));
    EXPECT_FALSE(run->HasFailed());
    // A child reading its input finds the end at once; no console window shows.
    EXPECT_EQ(pane.text, "cwd=" + std::string(dir.Path()) + "\nconsole=none\nstdin=0 end\n");
    EXPECT_STREQ(bt::CurrentDirectory(), cwd);
}

TEST_F(ProcessTest, WithoutAnOutputWindowOnlyTheCompletionComes)
{
    auto run = Start("out hidden exit 0", "", false);
    ASSERT_TRUE(WaitEnd(*run));
    EXPECT_FALSE(run->HasFailed());
    EXPECT_TRUE(pane.text.empty());
}

TEST_F(ProcessTest, DeletingARunWhoseChildNeverEndsStopsTheChildAndLeavesNoHandle)
{
    // One run first, so that whatever the system makes once per process is made.
    {
        auto warm = Start("exit 0");
        ASSERT_TRUE(WaitEnd(*warm));
    }
    bt::Settle(100);
    DWORD handlesBefore = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &handlesBefore));

    struct Case
    {
        const char* instructions;
    } cases[] = {{"pid sleep forever"}, {"pid stdin sleep forever"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.instructions);
        notify.completions.clear();
        pane.text.clear();
        auto run = Start(c.instructions);
        HANDLE hChild = bt::OpenPrintedProcess(pane.text);
        ASSERT_NE(hChild, nullptr);
        EXPECT_EQ(::WaitForSingleObject(hChild, 0), (DWORD)WAIT_TIMEOUT);
        EXPECT_TRUE(run->IsRunning());
        run.reset();
        EXPECT_TRUE(bt::ProcessEnds(hChild));     // the child is gone
        bt::Settle(100);
        EXPECT_TRUE(notify.completions.empty());    // deleting posts nothing
    }
    DWORD handlesAfter = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &handlesAfter));
    EXPECT_EQ(handlesAfter, handlesBefore);
}

// A tool given as "cmd /c ..." or as a .bat file does its work in a program that cmd.exe starts:
// stopping the run ends that program too, not only cmd.exe.
TEST_F(ProcessTest, DeletingARunEndsTheProgramsItsChildStarted)
{
    bt::TempDir dir;
    const CString bat = dir / "tool.bat";
    bt::WriteTextFile(bat, "@" + std::string(Quoted(bt::StandinPath())) + " pid sleep forever\r\n");
    const struct
    {
        const char* what;
        CString commandLine;
    } cases[] = {
        {"cmd /c", "cmd.exe /c " + Standin("pid sleep forever")},
        {"a .bat file", Quoted(bat)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pane.text.clear();
        notify.completions.clear();
        auto run = std::make_unique<CUserToolProcess>(WM_TOOL_FINISHED, notify.hWnd, pane.hWnd, "Tool", "",
                                                      c.commandLine);
        // The stand-in (the grandchild) says who it is through the pipe it inherited.
        ASSERT_TRUE(bt::WaitFor([&] { return pane.text.find("pid=") != std::string::npos; })) << pane.text;
        const DWORD pid = strtoul(pane.text.c_str() + pane.text.find("pid=") + 4, nullptr, 10);
        HANDLE hGrandchild = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
        ASSERT_NE(hGrandchild, nullptr);
        EXPECT_EQ(::WaitForSingleObject(hGrandchild, 0), (DWORD)WAIT_TIMEOUT);
        run.reset();
        // Waited on the process itself; the bound only keeps a failure from hanging the test.
        const bool ended = ::WaitForSingleObject(hGrandchild, 10000) == WAIT_OBJECT_0;
        EXPECT_TRUE(ended) << "the program cmd.exe started is still running";
        if (!ended)
            ::TerminateProcess(hGrandchild, 1);
        ::CloseHandle(hGrandchild);
        EXPECT_TRUE(notify.completions.empty());
    }
}

// A launcher that starts the game and ends, a tool that starts a program with "start": the run
// ends by itself and its owner deletes it at once; what it started keeps running. A run stopped
// while its child still runs ends what the child started, even a program that took no handle of
// the run.
TEST_F(ProcessTest, WhatARunThatEndedStartedOutlivesItsDeletionAndAStoppedRunLeavesNothing)
{
    bt::TempDir dir;
    const CString pidFile = dir / "game.pid";
    bt::CopyStandin(dir.Path(), "game.exe", "pidfile game.pid\nsleep forever\n");
    bt::CopyStandin(dir.Path(), "launcher.exe", "launch game.exe\n");
    bt::CopyStandin(dir.Path(), "waiting launcher.exe", "launch game.exe\npid\nsleep forever\n");
    bt::CopyStandin(dir.Path(), "passing launcher.exe", "pass game.exe\n");
    const struct
    {
        const char* what;
        CString commandLine;
        bool stop;      // deleted while its child runs
    } cases[] = {
        {"a launcher", Quoted(dir / "launcher.exe"), false},
        {"cmd /c start", "cmd.exe /c start \"\" " + Quoted(dir / "game.exe"), false},
        // The game holds the run's output pipe: the run is over when the launcher is.
        {"a launcher passing its handles on", Quoted(dir / "passing launcher.exe"), false},
        {"a launcher stopped", Quoted(dir / "waiting launcher.exe"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileA(pidFile);
        pane.text.clear();
        notify.completions.clear();
        auto run = std::make_unique<CUserToolProcess>(WM_TOOL_FINISHED, notify.hWnd, pane.hWnd, "Tool", "",
                                                      c.commandLine);
        std::string pid;
        ASSERT_TRUE(bt::WaitFor([&] { return !(pid = bt::ReadTextFile(pidFile)).empty(); })) << pane.text;
        HANDLE hGame = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, strtoul(pid.c_str(), nullptr, 10));
        ASSERT_NE(hGame, nullptr);
        if (c.stop) {
            HANDLE hLauncher = bt::OpenPrintedProcess(pane.text);
            ASSERT_NE(hLauncher, nullptr);
            run.reset();
            EXPECT_TRUE(bt::ProcessEnds(hLauncher));
            EXPECT_EQ(::WaitForSingleObject(hGame, 10000), (DWORD)WAIT_OBJECT_0) << "the started program runs on";
        } else {
            ASSERT_TRUE(WaitEnd(*run)) << pane.text;
            EXPECT_FALSE(run->HasFailed());
            run.reset();    // as the owner does on the completion
            bt::Settle(300);
            EXPECT_EQ(::WaitForSingleObject(hGame, 0), (DWORD)WAIT_TIMEOUT) << "the started program was ended";
        }
        ::TerminateProcess(hGame, 1);
        ::WaitForSingleObject(hGame, 10000);
        ::CloseHandle(hGame);
    }
}

TEST_F(ProcessTest, FinishedRunsLeaveNoHandle)
{
    {
        auto warm = Start("exit 0");
        ASSERT_TRUE(WaitEnd(*warm));
    }
    bt::Settle(100);
    DWORD before = 0, after = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
    for (const char* instructions : {"out a exit 0", "exit 2"}) {
        auto run = Start(instructions);
        ASSERT_TRUE(WaitEnd(*run));
    }
    {
        auto failed = std::make_unique<CUserToolProcess>(WM_TOOL_FINISHED, notify.hWnd, pane.hWnd, "T", "",
                                                         "\"C:\\no\\such\\tool.exe\"");
        ASSERT_TRUE(WaitEnd(*failed));
    }
    bt::Settle(100);
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
}

TEST_F(ProcessTest, OverlappingRunsEndIndependently)
{
    bt::Recorder paneB;
    auto slow = Start("out A1 sleep 400 out A2");
    auto fast = std::make_unique<CUserToolProcess>(WM_BUILD_STEP_FINISHED, notify.hWnd, paneB.hWnd, "Build", "",
                                                   Standin("out B exit 4"));
    ASSERT_TRUE(WaitEnd(*fast));
    EXPECT_EQ(paneB.text, "B\n");
    EXPECT_TRUE(fast->HasFailed());
    EXPECT_EQ(fast->GetExitCode(), 4u);
    ASSERT_TRUE(WaitEnd(*slow));
    EXPECT_EQ(pane.text, "A1\nA2\n");
    EXPECT_FALSE(slow->HasFailed());
    // Each run ends with its own message, whichever comes first on a busy machine.
    ASSERT_EQ(notify.completions.size(), 2u);
    std::vector<UINT> messages(notify.completionMessages.begin(), notify.completionMessages.end());
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages, (std::vector<UINT>{(UINT)WM_TOOL_FINISHED, (UINT)WM_BUILD_STEP_FINISHED}));
}

TEST_F(ProcessTest, ALateCompletionOfADeletedRunNeverMatchesTheNextRun)
{
    // The first run ends and posts; it is deleted before its message is handled, and a new run
    // starts (the allocator may well give it the same address).
    auto first = Start("exit 0");
    for (int i = 0; i < 2000 && first->IsRunning(); ++i)
        ::Sleep(10);    // no pumping: the message stays in the queue
    ASSERT_FALSE(first->IsRunning());
    WPARAM oldSelf = reinterpret_cast<WPARAM>(static_cast<CChildRun*>(first.get()));
    UINT_PTR oldSerial = first->GetSerial();
    first.reset();
    auto second = Start("sleep 300");
    EXPECT_NE(second->GetSerial(), oldSerial);
    int matchesOfSecond = 0;
    ASSERT_TRUE(bt::WaitFor([&] {
        matchesOfSecond = 0;
        for (auto& c : notify.completions)
            if (second->IsCompletion(c.first, c.second))
                ++matchesOfSecond;
        return matchesOfSecond > 0;
    }));
    EXPECT_EQ(matchesOfSecond, 1);
    ASSERT_EQ(notify.completions.size(), 2u);
    EXPECT_EQ(notify.completions[0].first, oldSelf);
    EXPECT_FALSE(second->IsCompletion(notify.completions[0].first, notify.completions[0].second));
}

} // namespace

namespace {

// The editor is a program without a console: a console child would get a console window of its
// own (Wine makes one, hidden by the show state) unless it is started without one.
TEST(ProcessConsole, AConsoleChildOfAProgramWithoutAConsoleGetsNoConsoleWindow)
{
    ::FreeConsole();    // this test program stands for the editor from here on
    bt::Recorder pane, notify;
    auto run = std::make_unique<CUserToolProcess>(WM_TOOL_FINISHED, notify.hWnd, pane.hWnd, "T", "",
                                                  Standin("console err e"));
    ASSERT_TRUE(bt::WaitFor([&] { return !notify.completions.empty(); }));
    EXPECT_EQ(pane.text, "console=none\ne\n");
}

} // namespace
