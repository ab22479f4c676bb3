// The Output window: panes that append at their end under a 30000-character rule without taking
// the focus, and tabs addressed by label.
#include "EditorApp.h"
#include "shell_fixture.h"
#include "MainFrame.h"
#include "OutputWindow.h"
#include "UserToolProcess.h"
#include "afxtest.h"
#include <algorithm>
#include <cstring>
#include <string>

namespace {

class OutputFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        ASSERT_TRUE(m_app.InitInstance());
        m_bar = &m_app.GetMainFrame()->m_wndOutputBar;
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
    }
    static CString Text(CWnd& w)
    {
        CString s;
        w.GetWindowText(s);
        return s;
    }
    CEditorApp m_app;
    COutputTabBar* m_bar = nullptr;
};

TEST_F(OutputFixture, AppendCutsTheOldestTextOnlyAtTheLimitAndEndsWithTheCaretAtTheEnd)
{
    struct
    {
        int before, added;
        bool cut;
    } cases[] = {{29950, 100, true}, {29899, 100, false}, {100, 30000, true}, {0, 10, false}};
    COutputEdit& pane = m_bar->m_messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << "+" << c.added);
        pane.SetWindowText(CString('a', c.before));
        ASSERT_EQ(c.before, pane.GetWindowTextLength());
        CString added('b', c.added);
        pane.AppendText(added);
        CString text = Text(pane);
        int kept = c.cut ? c.before - std::min(c.before, 8192) : c.before;
        int expected = kept + c.added + (c.cut ? static_cast<int>(std::strlen(COutputEdit::kCutText)) : 0);
        EXPECT_EQ(expected, text.GetLength());
        EXPECT_EQ(c.cut ? 0 : -1, text.Find("** Buffer partially deleted **\n"));
        EXPECT_EQ(text.Right(c.added), added);
        DWORD start = 0, end = 0;
        pane.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(static_cast<DWORD>(text.GetLength()), start);
        EXPECT_EQ(start, end);
    }
}

TEST_F(OutputFixture, AppendingLeavesTheFocusWhereItWas)
{
    // An edit of another top-level window has the focus, as a cell being edited would.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100),
                               nullptr, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &other, 1));
    other.SetForegroundWindow();
    edit.SetFocus();
    afxtest::PumpMessages();
    HWND before = ::GetFocus();
    ASSERT_EQ(edit.m_hWnd, before);
    m_bar->PrintToTab("Messages", "a line\r\n");
    m_bar->PrintToTab("Build", "built\r\n");
    EXPECT_EQ(before, ::GetFocus());
    EXPECT_STREQ("a line\r\n", Text(m_bar->m_messages));
    other.DestroyWindow();
}

TEST_F(OutputFixture, TabsAreFoundByLabelAndToolTabsGoTogether)
{
    EXPECT_EQ(2, m_bar->m_tabWnd.GetTabCount());
    EXPECT_EQ(4000, m_bar->m_messages.GetDlgCtrlID());
    EXPECT_EQ(4001, m_bar->m_build.GetDlgCtrlID());
    m_bar->AddTab("Tool");
    m_bar->AddTab("Tool");
    m_bar->AddTab("Build");
    ASSERT_EQ(5, m_bar->m_tabWnd.GetTabCount());
    HWND tool = m_bar->GetTabEdit("Tool");
    ASSERT_NE(nullptr, tool);
    EXPECT_EQ(4002, ::GetDlgCtrlID(tool));       // the first of the two
    EXPECT_EQ(m_bar->m_build.m_hWnd, m_bar->GetTabEdit("Build"));
    EXPECT_EQ(nullptr, m_bar->GetTabEdit("None"));

    // "Build" always means the fixed pane; a label without a pane changes nothing.
    m_bar->PrintToTab("Build", "x");
    m_bar->PrintToTab("None", "y");
    EXPECT_STREQ("x", Text(m_bar->m_build));
    m_bar->PrintToTab("Tool", "t");
    EXPECT_EQ(1, ::GetWindowTextLengthA(tool));
    m_bar->ClearTab("Tool");
    EXPECT_EQ(0, ::GetWindowTextLengthA(tool));

    m_bar->RemoveToolTabs();
    EXPECT_EQ(2, m_bar->m_tabWnd.GetTabCount());
    EXPECT_FALSE(::IsWindow(tool));
    EXPECT_EQ(&m_bar->m_build, m_bar->m_tabWnd.GetActiveWnd());
    m_bar->AddTab("Again");
    EXPECT_EQ(4002, ::GetDlgCtrlID(m_bar->GetTabEdit("Again")));
}

TEST_F(OutputFixture, AWorkersBlockIsAppended)
{
    const char text[] = "from a tool\r\n";
    char* block = new char[sizeof text];
    std::memcpy(block, text, sizeof text);
    m_bar->m_build.SendMessage(WM_TOOL_OUTPUT, reinterpret_cast<WPARAM>(block), 0);
    EXPECT_STREQ(text, Text(m_bar->m_build));
}

// Blocks already waiting for a pane go in with the first one; when they hold more than the pane
// keeps, the pane is the marker and their newest whole lines.
TEST_F(OutputFixture, WaitingBlocksGoInTogetherAndAFloodKeepsOnlyItsNewestLines)
{
    auto post = [](CWnd& pane, const std::string& text) {
        char* block = new char[text.size() + 1];
        std::memcpy(block, text.c_str(), text.size() + 1);
        pane.PostMessage(WM_TOOL_OUTPUT, reinterpret_cast<WPARAM>(block), 0);
    };
    COutputEdit& pane = m_bar->m_build;
    pane.SetWindowText("before\n");
    post(pane, "one\n");
    post(m_bar->m_messages, "elsewhere\n");
    post(pane, "two\n");
    afxtest::PumpMessages();
    EXPECT_STREQ("before\none\ntwo\n", Text(pane));
    EXPECT_STREQ("elsewhere\n", Text(m_bar->m_messages));

    std::string all;
    for (int i = 0; i < 1000; ++i) {
        char line[64];
        snprintf(line, sizeof line, "line %04d of a flood of output\n", i);
        all += line;
        post(pane, line);
    }
    afxtest::PumpMessages();
    CString text = Text(pane);
    EXPECT_EQ(0, text.Find(COutputEdit::kCutText));
    CString rest = text.Mid(static_cast<int>(std::strlen(COutputEdit::kCutText)));
    EXPECT_LE(rest.GetLength(), static_cast<int>(COutputEdit::kKeep));
    EXPECT_GT(rest.GetLength(), static_cast<int>(COutputEdit::kKeep) - 40);
    EXPECT_STREQ("line ", rest.Left(5));
    EXPECT_EQ(all.substr(all.size() - rest.GetLength()), std::string(rest));
}

TEST_F(OutputFixture, TheReportersLinesReachTheMessagesPane)
{
    GetEditorServices()->SetStatusAndMessage("Morvane is ready.");
    GetEditorServices()->PrintMessage("second");
    EXPECT_STREQ("Morvane is ready.\r\nsecond\r\n", Text(m_bar->m_messages));
}

// The character 0x98 (a small tilde) after a digit, a punctuation mark or a symbol, or at a
// line's start, makes Wine 8's edit controls fault in some fonts. Every way into a pane
// shows such bytes as they came, drawn.
TEST_F(OutputFixture, BytesThatTripTheTextLayoutReachEveryPaneAsTheyCame)
{
    m_bar->AddTab("Tool");
    COutputEdit* pTool = m_bar->FindPane("Tool");
    ASSERT_NE(nullptr, pTool);
    const char* const texts[] = {"=\x98", "1\x98", ".\x98", "\xbf\x98", "\x98", "a\r\n\\\x98 b"};
    for (const char* text : texts) {
        SCOPED_TRACE(testing::Message() << "text " << text);
        const CString line = CString(text) + "\r\n";
        GetEditorServices()->PrintMessage(text);
        m_bar->PrintToTab("Build", line);
        char* block = new char[line.GetLength() + 1];
        std::memcpy(block, static_cast<LPCSTR>(line), line.GetLength() + 1);
        pTool->SendMessage(WM_TOOL_OUTPUT, reinterpret_cast<WPARAM>(block), 0);
        for (COutputEdit* pPane : {&m_bar->m_messages, &m_bar->m_build, pTool}) {
            EXPECT_STREQ(line, Text(*pPane));
            pPane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            pPane->Clear();
        }
    }
}

// A project whose folder is such bytes opens: the pane names the folder as it is, and the
// project file is left as it was.
TEST_F(OutputFixture, AProjectNamingSuchAFolderOpensAndStaysAsItWas)
{
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    const CString path = CString(tmp) + "tilde_folder.prj";
    const char bytes[] = "[Paths]\r\nMaps=\xbf\x98\r\n";
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(nullptr, f);
    std::fputs(bytes, f);
    std::fclose(f);
    m_app.WriteProfileString("Project Settings", "Root Path", "C:\\morvane_no_root");
    shelltest::TolerateLoadReports();
    ASSERT_TRUE(m_app.GetMainFrame()->OpenProject(path));
    EXPECT_NE(-1, Text(m_bar->m_messages).Find("C:\\morvane_no_root\\\xbf\x98"));
    m_bar->m_messages.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(m_app.GetMainFrame()->CloseProject());
    char read[64] = {};
    f = std::fopen(path, "rb");
    ASSERT_NE(nullptr, f);
    const size_t n = std::fread(read, 1, sizeof read - 1, f);
    std::fclose(f);
    ::DeleteFileA(path);
    EXPECT_EQ(std::string(bytes), std::string(read, n));
}

// The windows that only show a file's text keep the font they are given unless the system shows it
// in DejaVu Sans (a Wine without its own fonts takes it for every proportional face): the stock
// fixed font takes its place, and an edit in it shows 0x98 after any byte and at a line's start.
std::string ShownFace(HFONT hFont)
{
    char name[LF_FACESIZE] = "";
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(hDC, hFont);
    ::GetTextFaceA(hDC, sizeof name, name);
    ::SelectObject(hDC, old);
    ::ReleaseDC(nullptr, hDC);
    return std::string(name);
}

TEST(ReportTextFont, DejaVuSansGivesWayToAFontThatShowsEveryByte)
{
    const auto face = ShownFace;
    CFont dejaVu;
    ASSERT_TRUE(dejaVu.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans"));
    if (face(dejaVu) != "DejaVu Sans")
        GTEST_SKIP() << "this system has no DejaVu Sans (it shows " << face(dejaVu) << ")";
    const HFONT hFixed = static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT));
    const HFONT hChosen = ReportTextFont(dejaVu);
    EXPECT_EQ(hFixed, hChosen);
    CFont other;
    ASSERT_TRUE(other.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif"));
    if (face(other) != "DejaVu Sans")
        EXPECT_EQ(static_cast<HFONT>(other.m_hObject), ReportTextFont(other));

    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | 0x003011C4, CRect(0, 0, 300, 100), &host, 1));
    edit.SetFont(CFont::FromHandle(hChosen));
    for (char before : {'=', '1', '.', '\xbf', '\t', 'a', ' '}) {
        const char text[] = {before, '\x98', '\r', '\n', '\x98', '\0'};
        edit.SetWindowText(text);
        edit.UpdateWindow();
        CString shown;
        edit.GetWindowText(shown);
        EXPECT_STREQ(text, shown) << before;
    }
    host.DestroyWindow();
}

// A face the system has not got is drawn in a stand-in of the system's choosing, whichever it is (a
// Wine without its own fonts takes DejaVu Sans or Liberation Sans, which fault on 0x98): the stock
// fixed font takes its place. The GUI font, shown under the name it asks for, is kept.
TEST(ReportTextFont, AFaceShownUnderAnotherNameGivesWayToTheFixedFont)
{
    const HFONT hFixed = static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT));
    CFont absent;
    ASSERT_TRUE(absent.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Morvane Absent Face"));
    ASSERT_NE("Morvane Absent Face", ShownFace(absent));
    EXPECT_EQ(hFixed, ReportTextFont(absent)) << ShownFace(absent);

    const HFONT hGui = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA named = {};
    ASSERT_TRUE(::GetObjectA(hGui, sizeof named, &named));
    if (ShownFace(hGui) == named.lfFaceName && ShownFace(hGui) != "DejaVu Sans")
        EXPECT_EQ(hGui, ReportTextFont(hGui));
}

} // namespace

// The right button on a pane shows menu "Output List Bar": the Output window's docking commands
// and Clear, which empties that pane only; Hide hides the Output window.
TEST_F(OutputFixture, ThePanesMenuClearsThePaneAndHidesTheWindow)
{
    m_bar->PrintToTab("Messages", "kept\r\n");
    m_bar->PrintToTab("Build", "qbsp start.map\r\n");
    m_bar->ActivateTab("Build");
    const std::vector<std::pair<UINT, CString>> expected = {
        {45097, "Allow Docking"}, {45098, "Hide"}, {0, ""}, {45099, "Float In Main Window"}, {0, ""}, {32966, "Clea&r"}};
    AfxSeamScript([&](AfxModalCall& call) {
        EXPECT_EQ(AFX_MODAL_POPUPMENU, call.kind);
        EXPECT_EQ(expected.size(), call.menuItems.size());
        for (size_t i = 0; i < std::min(expected.size(), call.menuItems.size()); ++i) {
            EXPECT_EQ(expected[i].first, call.menuItems[i].nID) << i;
            EXPECT_STREQ(expected[i].second, call.menuItems[i].strText) << i;
            if (call.menuItems[i].nID == 45097)
                EXPECT_TRUE(call.menuItems[i].nState & MF_CHECKED) << "the window may dock";
            if (call.menuItems[i].nID == 45099)
                EXPECT_FALSE(call.menuItems[i].nState & MF_CHECKED);
        }
        return (INT_PTR)32966;
    });
    CRect rect;
    m_bar->m_build.GetWindowRect(&rect);
    m_bar->m_build.SendMessage(WM_CONTEXTMENU, (WPARAM)m_bar->m_build.m_hWnd, MAKELPARAM(rect.left + 5, rect.top + 5));
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_STREQ("", Text(m_bar->m_build));
    EXPECT_STREQ("kept\r\n", Text(m_bar->m_messages));

    ASSERT_TRUE(m_bar->IsWindowVisible());
    AfxSeamAnswer(45098);
    m_bar->m_messages.SendMessage(WM_CONTEXTMENU, (WPARAM)m_bar->m_messages.m_hWnd, MAKELPARAM(rect.left + 5, rect.top + 5));
    afxtest::PumpMessages();
    EXPECT_FALSE(m_bar->IsWindowVisible());
    EXPECT_STREQ("kept\r\n", Text(m_bar->m_messages));
}
