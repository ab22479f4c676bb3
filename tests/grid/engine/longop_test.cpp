#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "gxinit.h"
#include "gxutil.h"

namespace {
class LongOpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxSeamReset();
        CGXLongOperation::SetTicksFirstTime(0);
        CGXLongOperation::SetTicksContinued(0);
        CGXLongOperation::SetAbortConfirmation(FALSE);
    }
};
} // namespace

TEST_F(LongOpTest, EveryStepShowsTheStatusLineWithASpinner)
{
    CGXLongOperation op;
    op.SetStatusText("Working");
    std::vector<CString> lines;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(op.NeedMessages());
        lines.push_back(CGXLongOperation::GetLastStatusLine());
    }
    // The spinner keeps turning from wherever an earlier operation left it.
    const CString cycle[4] = {"Working  -", "Working  \\", "Working  |", "Working  /"};
    int first = -1;
    for (int k = 0; k < 4; ++k)
        if (lines[0] == cycle[k])
            first = k;
    ASSERT_NE(first, -1) << lines[0];
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(lines[i], cycle[(first + i) % 4]) << i;
    CGXLongOperation::SetPercentDone(42);
    BOOL abort = TRUE;
    op.ShowProgress(abort);
    EXPECT_FALSE(abort);
    EXPECT_EQ(CGXLongOperation::GetLastStatusLine(), "Working  42%.    Press ESC to cancel");
}

TEST_F(LongOpTest, NestedLevelsAndTheLockedLevel)
{
    CGXLongOperation outer;
    outer.SetStatusText("Outer");
    {
        CGXLongOperation inner;
        inner.NeedMessages();
        EXPECT_EQ(CGXLongOperation::GetLastStatusLine().Left(5), "Outer");
    }
    // Locked at the outer level (index 0): a deeper level changes nothing.
    CGXLongOperation::SetLockedState(0);
    {
        CGXLongOperation inner;
        inner.SetStatusText("Inner");
        outer.NeedMessages();
        EXPECT_EQ(CGXLongOperation::GetLastStatusLine().Left(5), "Outer");
    }
    CGXLongOperation::SetLockedState(-1);
    EXPECT_EQ(CGXLongOperation::GetNestingLevel(), 1);
}

// A level that may not show its text while locked never keeps the copy of its old text that it
// freed: it shows the enclosing level's text.
TEST_F(LongOpTest, ALockedLevelKeepsNoFreedText)
{
    CGXLongOperation outer;
    outer.SetStatusText("Outer");
    {
        CGXLongOperation inner;
        inner.SetStatusText("Inner copy", TRUE);
        inner.NeedMessages();
        EXPECT_EQ(CGXLongOperation::GetLastStatusLine().Left(10), "Inner copy");
        CGXLongOperation::SetLockedState(0);
        inner.SetStatusText("Not shown", TRUE);
        CGXLongOperation::SetLockedState(-1);
        inner.NeedMessages();
        EXPECT_EQ(CGXLongOperation::GetLastStatusLine().Left(5), "Outer");
    }
}

TEST_F(LongOpTest, NestingDeeperThanTheTableReusesTheLastLevel)
{
    std::vector<std::unique_ptr<CGXLongOperation>> ops;
    for (int i = 0; i < 70; ++i) {
        ops.emplace_back(new CGXLongOperation);
        ops.back()->SetStatusText("deep");
    }
    ops.back()->NeedMessages();
    EXPECT_EQ(CGXLongOperation::GetLastStatusLine().Left(4), "deep");
    while (!ops.empty())
        ops.pop_back();
    EXPECT_EQ(CGXLongOperation::GetNestingLevel(), 0);
}

TEST_F(LongOpTest, EscapeAborts)
{
    CGXLongOperation op;
    CGXLongOperation::SetCanRollback(TRUE);
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    BOOL abort = FALSE;
    op.ShowProgress(abort);
    EXPECT_TRUE(abort);
    EXPECT_TRUE(CGXLongOperation::GetRollbackConfirmedState());

    // With the question on, "No" keeps going.
    CGXLongOperation second;
    CGXLongOperation::SetCanRollback(FALSE);
    CGXLongOperation::SetAbortConfirmation(TRUE);
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    AfxSeamAnswer(IDNO);
    second.ShowProgress(abort);
    EXPECT_FALSE(abort);
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].text, "Do you want to abort the operation?");
}

TEST_F(LongOpTest, QuitIsPostedAgainWithItsExitCode)
{
    {
        CGXLongOperation op;
        ::PostQuitMessage(7);
        op.NeedMessages();
    }
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}
