// The undo machinery with a test command: lists, limit, blocks, failures and the current cell.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "afxseam.h"
#include "afxwin.h"
#include "grid_test_util.h"
#include "gxundo.h"
#include "gxutil.h"

namespace {
std::vector<std::string> g_log;

// A command that logs its Execute, can be told to fail, and files its counter-command as a
// grid operation does (nothing in rollback mode).
class CTestCmd : public CGXCommand
{
public:
    CTestCmd(std::string name, bool* pFail = nullptr) : m_name(std::move(name)), m_pFail(pFail) {}
    BOOL Execute(CGXGridEngine* pEngine, int nMode) override
    {
        g_log.push_back(m_name + " " + std::to_string(nMode));
        if (m_pFail != nullptr && *m_pFail)
            return FALSE;
        if (nMode != gxRollback)
            pEngine->PushCommand(new CTestCmd(m_name, m_pFail), nMode);
        return TRUE;
    }
    CString GetDescription() const override { return m_name.c_str(); }
    std::string m_name;
    bool* m_pFail;
};

class UndoTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CGXGridEngine grid{nullptr};
    void SetUp() override
    {
        AfxSeamReset();
        g_log.clear();
        grid.InitObjects();
        grid.GetParam()->GetData()->StoreRowCount(10);
        grid.GetParam()->GetData()->StoreColCount(5);
    }
    CObList& UndoList() { return grid.GetParam()->GetUndoList(); }
    CObList& RedoList() { return grid.GetParam()->GetRedoList(); }
    static std::string Names(CObList& list)
    {
        std::string s;
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            auto* c = static_cast<CGXCommand*>(list.GetNext(pos));
            s += std::string((LPCSTR)c->GetDescription());
            if (auto* b = dynamic_cast<CGXBlockCmd*>(c))
                s += "[" + Names(b->m_members) + "]";
            s += pos ? " " : "";
        }
        return s;
    }
};
} // namespace

TEST_F(UndoTest, ListsLimitAndFailures)
{
    EXPECT_FALSE(grid.Undo());
    EXPECT_FALSE(grid.Redo());
    for (int i = 0; i < 514; ++i)
        grid.PushCommand(new CTestCmd("c" + std::to_string(i)), gxDo);
    EXPECT_EQ(UndoList().GetCount(), 513);
    EXPECT_EQ(std::string((LPCSTR) static_cast<CGXCommand*>(UndoList().GetTail())->GetDescription()), "c1");

    EXPECT_TRUE(grid.Undo());
    EXPECT_EQ(g_log.back(), "c513 2");
    EXPECT_EQ(Names(RedoList()), "c513");
    EXPECT_TRUE(grid.Redo());
    EXPECT_EQ(g_log.back(), "c513 3");
    EXPECT_EQ(RedoList().GetCount(), 0);
    EXPECT_EQ(UndoList().GetCount(), 513);
    // A new change empties the redo list.
    grid.Undo();
    ASSERT_EQ(RedoList().GetCount(), 1);
    grid.PushCommand(new CTestCmd("new"), gxDo);
    EXPECT_EQ(RedoList().GetCount(), 0);
    // A failing command returns to its list.
    bool fail = true;
    grid.PushCommand(new CTestCmd("bad", &fail), gxDo);
    EXPECT_FALSE(grid.Undo());
    EXPECT_EQ(std::string((LPCSTR) static_cast<CGXCommand*>(UndoList().GetHead())->GetDescription()), "bad");
    EXPECT_EQ(RedoList().GetCount(), 0);
    // Rollback mode records nothing.
    const INT_PTR n = UndoList().GetCount();
    grid.PushCommand(new CTestCmd("rb"), gxRollback);
    EXPECT_EQ(UndoList().GetCount(), n);
}

TEST_F(UndoTest, BlocksNestDropWhenEmptyAndRollBack)
{
    grid.PushCommand(new CTestCmd("before"), gxDo);
    grid.OpenBlockCommand("Outer");
    grid.PushCommand(new CTestCmd("a"), gxDo);
    grid.OpenBlockCommand("Inner");
    grid.PushCommand(new CTestCmd("b"), gxDo);
    grid.CloseBlockCommand();
    grid.PushCommand(new CTestCmd("c"), gxDo);
    grid.CloseBlockCommand();
    EXPECT_EQ(Names(UndoList()), "Outer[c b a] before");

    // One undo takes back the block newest first; its counter-block redoes it as one.
    EXPECT_TRUE(grid.Undo());
    EXPECT_EQ(g_log, (std::vector<std::string>{"c 2", "b 2", "a 2"}));
    EXPECT_EQ(Names(RedoList()), "Outer[a b c]");
    EXPECT_EQ(Names(UndoList()), "before");
    EXPECT_TRUE(grid.Redo());
    EXPECT_EQ(Names(UndoList()), "Outer[c b a] before");
    EXPECT_EQ(RedoList().GetCount(), 0);

    // An empty block is dropped; an unnamed one is "Block".
    grid.OpenBlockCommand(nullptr);
    grid.CloseBlockCommand();
    EXPECT_EQ(Names(UndoList()), "Outer[c b a] before");
    grid.OpenBlockCommand(nullptr);
    grid.PushCommand(new CTestCmd("x"), gxDo);
    EXPECT_EQ(Names(UndoList()), "Block[x] Outer[c b a] before");
    grid.CloseBlockCommand();

    // Rolling back executes the members in rollback mode and leaves both lists as before.
    g_log.clear();
    grid.OpenBlockCommand("Doomed");
    grid.PushCommand(new CTestCmd("d1"), gxDo);
    grid.PushCommand(new CTestCmd("d2"), gxDo);
    grid.RollbackBlockCommand();
    EXPECT_EQ(g_log, (std::vector<std::string>{"d2 1", "d1 1"}));
    EXPECT_EQ(Names(UndoList()), "Block[x] Outer[c b a] before");
    EXPECT_EQ(RedoList().GetCount(), 0);

    // With undo switched off a block still nests, and closing it lowers the level again.
    grid.GetParam()->EnableUndo(FALSE);
    grid.OpenBlockCommand("Off");
    EXPECT_EQ(grid.GetParam()->m_nUndoCount, 1u);
    grid.CloseBlockCommand();
    EXPECT_EQ(grid.GetParam()->m_nUndoCount, 0u);
    EXPECT_EQ(Names(UndoList()), "Block[x] Outer[c b a] before");
}

// A member failing during undo: the members that ran are taken back, the counter-block goes,
// the block returns to the undo list.
TEST_F(UndoTest, AFailingBlockMemberTakesBackWhatRan)
{
    bool fail = false;
    grid.OpenBlockCommand("Three");
    grid.PushCommand(new CTestCmd("first", &fail), gxDo);
    grid.PushCommand(new CTestCmd("second"), gxDo);
    grid.PushCommand(new CTestCmd("third"), gxDo);
    grid.CloseBlockCommand();
    fail = true;
    EXPECT_FALSE(grid.Undo());
    // third and second ran, first failed; then the counter-commands of third and second ran in
    // rollback mode, newest first.
    EXPECT_EQ(g_log, (std::vector<std::string>{"third 2", "second 2", "first 2", "second 1", "third 1"}));
    EXPECT_EQ(Names(UndoList()), "Three[third second first]");
    EXPECT_EQ(RedoList().GetCount(), 0);
}

// A block no longer at the head of the undo list (the lists were emptied inside it) takes no more
// commands: they are filed at the top level, and closing it touches nothing else.
TEST_F(UndoTest, ABlockNoLongerAtTheHeadIsLeftAlone)
{
    grid.OpenBlockCommand("Gone");
    grid.PushCommand(new CTestCmd("in"), gxDo);
    // The application takes the block out of the list by hand (and keeps it a while).
    CObject* pTaken = grid.GetParam()->GetUndoList().RemoveHead();
    grid.PushCommand(new CTestCmd("after"), gxDo);
    grid.PushCommand(new CTestCmd("empty-looking"), gxDo);
    EXPECT_EQ(Names(UndoList()), "empty-looking after");
    grid.RollbackBlockCommand();
    EXPECT_EQ(Names(UndoList()), "empty-looking after");
    EXPECT_TRUE(g_log.empty());
    delete pTaken;
}

// The first Undo with a modified active edit only throws the typing away; Undo then Redo brings
// the current cell back to where it was.
TEST_F(UndoTest, FirstUndoDropsTypingAndRedoRestoresTheCell)
{
    auto* ctl = new CScriptedControl(&grid, 52512);
    grid.SetControlForId(52512, ctl, TRUE);
    grid.PushCommand(new CTestCmd("change"), gxDo);
    ASSERT_TRUE(grid.PlaceCurrentCell(3, 4));
    ctl->m_bActive = ctl->m_bModified = TRUE;
    ctl->m_strText = "typing";
    EXPECT_TRUE(grid.Undo());
    EXPECT_TRUE(g_log.empty());
    EXPECT_STREQ((LPCSTR)ctl->m_strText, "");
    EXPECT_EQ(UndoList().GetCount(), 1);
    ctl->m_bActive = FALSE;
    EXPECT_TRUE(grid.Undo());
    ASSERT_TRUE(grid.PlaceCurrentCell(1, 1));
    EXPECT_TRUE(grid.Redo());
    EXPECT_TRUE(grid.IsCurrentCellAt(3, 4));
}

namespace {
// A command-update record that keeps what the handler set.
class CRecordingCmdUI : public CCmdUI
{
public:
    void SetText(LPCSTR lpszText) override { m_strText = lpszText; }
    void Enable(BOOL bOn) override { m_bEnabled = bOn; }
    CString m_strText;
    BOOL m_bEnabled = -1;
};
} // namespace

// The Undo and Redo items name the newest command, "Current Cell" while an edit is pending.
TEST_F(UndoTest, MenuTextsNameTheNewestCommand)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 40001, "Undo %1");
    menu.AppendMenu(MF_STRING, 40002, "");
    CRecordingCmdUI undo, redo;
    undo.m_nID = 40001;
    undo.m_nIndex = 0;
    undo.m_pMenu = &menu;
    redo.m_nID = 40002;
    redo.m_nIndex = 1;
    redo.m_pMenu = &menu;

    EXPECT_FALSE(grid.UpdateUndoMenuText(&undo));
    EXPECT_STREQ((LPCSTR)undo.m_strText, "Undo ");
    EXPECT_FALSE(undo.m_bEnabled);
    grid.PushCommand(new CTestCmd("Move Rows"), gxDo);
    EXPECT_TRUE(grid.UpdateUndoMenuText(&undo));
    EXPECT_STREQ((LPCSTR)undo.m_strText, "Undo Move Rows");
    EXPECT_TRUE(undo.m_bEnabled);

    auto* ctl = new CScriptedControl(&grid, 52512);
    grid.SetControlForId(52512, ctl, TRUE);
    ASSERT_TRUE(grid.PlaceCurrentCell(2, 2));
    ctl->m_bActive = ctl->m_bModified = TRUE;
    EXPECT_TRUE(grid.UpdateUndoMenuText(&undo));
    EXPECT_STREQ((LPCSTR)undo.m_strText, "Undo Current Cell");
    ctl->m_bActive = ctl->m_bModified = FALSE;

    // An item without text takes "Redo %1".
    EXPECT_FALSE(grid.UpdateRedoMenuText(&redo));
    EXPECT_STREQ((LPCSTR)redo.m_strText, "Redo ");
    grid.Undo();
    EXPECT_TRUE(grid.UpdateRedoMenuText(&redo));
    EXPECT_STREQ((LPCSTR)redo.m_strText, "Redo Move Rows");
    EXPECT_TRUE(redo.m_bEnabled);
}
