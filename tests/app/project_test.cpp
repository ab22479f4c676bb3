// Projects: open, close, replace, the WAD list, the caption, auto save.
#include "EditorApp.h"
#include "shell_fixture.h"
#include "IniFile.h"
#include "MainFrame.h"
#include "RecordingServices.h"
#include "Map.h"
#include "Entity.h"
#include "MapCommands.h"
#include "ShellRes.h"
#include "Thing.h"
#include "ProjectDialogs.h"
#include "afxtest.h"
#include "../../res/resource.h"
#include "../textures/WadBuilder.h"
#include "TextureBrowser.h"
#include "freedblocks.h"
#include <algorithm>
#include <fstream>
#include <functional>
#include <vector>

namespace {

class ProjectCmdUI : public CCmdUI
{
public:
    explicit ProjectCmdUI(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    BOOL enabled = -1;
};

void WriteFile(const CString& path, const std::string& text)
{
    std::ofstream(static_cast<LPCSTR>(path), std::ios::binary) << text;
}

std::string ReadBytes(const CString& path)
{
    std::ifstream in(static_cast<LPCSTR>(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Counts what changes the text of a window: every replaced selection and every new text.
class UpdateCounter
{
public:
    explicit UpdateCounter(HWND hWnd) : m_hWnd(hWnd)
    {
        s_pThis = this;
        m_old = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UpdateCounter::Proc)));
    }
    ~UpdateCounter()
    {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_old));
        s_pThis = nullptr;
    }
    int updates = 0;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == EM_REPLACESEL || msg == WM_SETTEXT)
            ++s_pThis->updates;
        return ::CallWindowProcA(s_pThis->m_old, hWnd, msg, wParam, lParam);
    }
    static UpdateCounter* s_pThis;
    HWND m_hWnd;
    WNDPROC m_old = nullptr;
};
UpdateCounter* UpdateCounter::s_pThis = nullptr;

bool Exists(const CString& path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}


class ProjectFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_root = m_dir.Path();
        ::CreateDirectoryA(m_root + "\\qc", nullptr);
        ::CreateDirectoryA(m_root + "\\autosave", nullptr);
        WriteFile(m_root + "\\qc\\defs.qc", "/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8)\n*/\n"
                                            "/*QUAKED worldspawn (0 0 0) ?\n*/\n");
        m_project = m_root + "\\test.prj";
        WriteFile(m_project, "[Paths]\nEntities=qc\n[Wads]\nFile1=gfx\\a.wad\nFile2=C:\\wads\\b.wad\n"
                             "File4=d.wad\n");
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        shelltest::TolerateLoadReports();
        ASSERT_TRUE(m_app.InitInstance());
        m_app.WriteProfileString("Project Settings", "Root Path", m_root);
        m_frame = m_app.GetMainFrame();
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != nullptr) {
            AfxSeamAnswer(IDNO);    // a modified map's save question, if any
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        }
        afxtest::DrainQuit();
        AfxSeamReset();
    }
    CString Messages() const
    {
        CString text;
        m_frame->m_wndOutputBar.m_messages.GetWindowText(text);
        return text;
    }
    static int Count(const CString& text, LPCSTR part)
    {
        int n = 0;
        for (int at = text.Find(part); at >= 0; at = text.Find(part, at + 1))
            ++n;
        return n;
    }
    CString Title() const
    {
        CString title;
        m_frame->GetWindowText(title);
        return title;
    }
    BOOL Enabled(UINT id)
    {
        ProjectCmdUI ui(id);
        m_frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.enabled;
    }
    // The next settings sheet is confirmed with the root (also the Quake path) and "quake.exe".
    static void ConfirmSettings(const CString& root)
    {
        AfxSeamScript([root](AfxModalCall& call) {
            auto* pSheet = dynamic_cast<CSettingsSheet*>(call.pObject);
            if (!pSheet)
                return (INT_PTR)IDCANCEL;
            pSheet->m_pRootPage->m_rootPath = root;
            pSheet->m_pQuakePage->m_quakePath = root;
            pSheet->m_pQuakePage->m_quakeExe = "quake.exe";
            return (INT_PTR)IDOK;
        });
    }
    CTempDir m_dir;
    CEditorApp m_app;
    CMainFrame* m_frame = nullptr;
    CString m_root;
    CString m_project;
};

TEST(ProjectTitle, TheCaptionNamesTheFile)
{
    struct
    {
        const char* path;
        const char* title;
    } cases[] = {{"C:\\a\\b\\Untitled.prj", "Untitled.prj"}, {"C:x.prj", "x.prj"}, {"plain.prj", "plain.prj"},
                 {"C:\\dir\\", ""}};
    for (const auto& c : cases)
        EXPECT_STREQ(c.title, CMainFrame::ProjectTitle(c.path)) << c.path;
}

TEST_F(ProjectFixture, OpenLoadsWadsClassesAndCaptionAndCloseUndoesIt)
{
    EXPECT_FALSE(Enabled(ID_MAP_OPEN));
    EXPECT_FALSE(Enabled(ID_PROJECT_CLOSE));
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    EXPECT_STREQ("Morvane - test.prj", Title());
    EXPECT_TRUE(Enabled(ID_MAP_OPEN));
    EXPECT_TRUE(Enabled(ID_MAP_NEW));
    EXPECT_TRUE(Enabled(ID_PROJECT_SAVE_AS));

    // "File1", "File2", then a gap: "File4" is never read. Relative entries become absolute in
    // the list, and stay as written in the project (its file moves with its root); a drive
    // letter stays.
    CStringList& wads = GetEditorServices()->GetWadList();
    ASSERT_EQ(2, wads.GetCount());
    EXPECT_STREQ(m_root + "\\gfx\\a.wad", wads.GetHead());
    EXPECT_STREQ("C:\\wads\\b.wad", wads.GetTail());
    CIniFile* project = GetEditorServices()->GetProject();
    ASSERT_NE(nullptr, project);
    EXPECT_STREQ("gfx\\a.wad", *project->GetString("Wads", "File1"));
    EXPECT_STREQ("d.wad", *project->GetString("Wads", "File4"));
    EXPECT_EQ(2, m_app.m_entityClasses.GetCount());
    EXPECT_STREQ(m_project, (*m_app.GetRecentProjects())[0]);
    EXPECT_TRUE(shelltest::Calls().empty());

    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(nullptr, GetEditorServices()->GetProject());
    EXPECT_STREQ("Morvane", Title());
    // Opening and closing leaves the file as it was written: its relative WADs stay relative.
    std::ifstream in(static_cast<LPCSTR>(m_project), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ("[Paths]\nEntities=qc\n[Wads]\nFile1=gfx\\a.wad\nFile2=C:\\wads\\b.wad\nFile4=d.wad\n", text);
    EXPECT_EQ(0, wads.GetCount());
    EXPECT_EQ(0, m_app.m_entityClasses.GetCount());
    EXPECT_STREQ(m_project, m_frame->GetLastProjectPath());
    EXPECT_TRUE(m_frame->GetProjectPath().IsEmpty());
    EXPECT_FALSE(Enabled(ID_MAP_OPEN));
}

TEST_F(ProjectFixture, OpenedWithItsTexturesAndClosedTheProjectFileStaysByteForByte)
{
    // A project as people's editors write it: a byte-order mark, a comment, an indented key, a
    // line the reader does not understand, a second [Paths] section, no line end at the end.
    WriteFile(m_root + "\\a.wad", BuildWad({MipLump("BRICK", 16, 16), MipLump("METAL", 16, 16)}));
    const std::string original = "\xEF\xBB\xBF[Paths]\r\n"
                                 "; where things are\r\n"
                                 "  Entities = qc\r\n"
                                 "this line is junk\r\n"
                                 "[Wads]\r\n"
                                 "File1=a.wad\r\n"
                                 "[PATHS]\r\n"
                                 "Wads=.";
    WriteFile(m_project, original);
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    EXPECT_EQ(2, m_app.m_entityClasses.GetCount());
    ASSERT_EQ(1, GetEditorServices()->GetWadList().GetCount());
    // The browser shows a texture of its own choosing; new brushes take it.
    CTextureBrowser& browser = m_frame->m_wndResourceBar.m_textureBrowser;
    ASSERT_NE(nullptr, browser.GetCurrentTexture());
    const CString* current = GetEditorServices()->GetProject()->GetString("Texture", "Default");
    ASSERT_NE(nullptr, current);
    EXPECT_STREQ(browser.GetCurrentTexture()->name, *current);
    // What the reader did not understand is told once, with the file and the line, and stays
    // after the load.
    CString messages = Messages();
    EXPECT_EQ(1, Count(messages, "No '=' character found for key/value pair this line is junk"));
    EXPECT_EQ(1, Count(messages, m_project + ", line 4"));
    EXPECT_GE(messages.Find("Morvane is ready."), messages.Find("this line is junk"));

    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(original, ReadBytes(m_project));

    // Chosen by the user, the texture is the project's, written back in its own section.
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    CComboBox* list = static_cast<CComboBox*>(browser.GetDlgItem(IDC_TEXTURE_LIST));
    ASSERT_NE(nullptr, list);
    list->SetCurSel(list->FindStringExact(-1, "METAL"));
    browser.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEXTURE_LIST, CBN_SELCHANGE), (LPARAM)list->m_hWnd);
    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(original + "\r\n\r\n[Texture]\r\nDefault=METAL\r\n", ReadBytes(m_project));
}

TEST_F(ProjectFixture, AProjectOfGarbageIsToldInPrintableTextAndOpens)
{
    // Two bytes that are no text: the editor says so in the Messages pane, in printable text.
    WriteFile(m_project, "\xBF\x98");
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    CString messages = Messages();
    EXPECT_EQ(1, Count(messages, "No '=' character found for key/value pair \\xBF\\x98\nin " + m_project + ", line 1"))
        << (LPCSTR)messages;
    for (int i = 0; i < messages.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(messages[i]);
        EXPECT_TRUE((c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n') << i;
    }
    EXPECT_STREQ("Morvane - test.prj", Title());
    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_EQ("\xBF\x98", ReadBytes(m_project));
}

TEST_F(ProjectFixture, MissingFoldersAndAGapInTheWadListAreNamed)
{
    WriteFile(m_project, "[Paths]\nMaps=maps;gone\nWads=nowads\nEntities=qc;noqc\n[Wads]\nFile1=a.wad\nFile3=c.wad\n"
                         "File5=e.wad\n");
    ::CreateDirectoryA(m_root + "\\maps", nullptr);
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    CString messages = Messages();
    for (const CString& folder : {"The Maps folder " + m_root + "\\gone of the project does not exist.",
                                  "The Wads folder " + m_root + "\\nowads of the project does not exist.",
                                  "The Entities folder " + m_root + "\\noqc of the project does not exist."})
        EXPECT_EQ(1, Count(messages, folder)) << (LPCSTR)folder << "\n" << (LPCSTR)messages;
    EXPECT_EQ(-1, messages.Find(m_root + "\\maps of"));
    EXPECT_EQ(-1, messages.Find(m_root + "\\qc of"));
    EXPECT_EQ(1, Count(messages, "The WAD list of " + m_project + " has no File2: File3 and the entries after it are "
                                 "not used."));
    EXPECT_EQ(1, GetEditorServices()->GetWadList().GetCount());
}

// A damaged project whose folders end in three million separators opens at once: each folder's
// separators are cut in one step, not one copy a separator (which took half an hour). The missing
// folder is named once and the file stays as it was.
TEST_F(ProjectFixture, FoldersEndingInThreeMillionSeparatorsOpenAtOnce)
{
    const std::string run(3000000, '\\');
    const std::string text = "[Paths]\nEntities=qc\nMaps=gone" + run + "\nObjects=gone" + run +
                             "\nWads=" + run + "\n";
    WriteFile(m_project, text);
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    EXPECT_EQ(2, m_app.m_entityClasses.GetCount());
    EXPECT_EQ(1, Count(Messages(), "The Maps folder " + m_root + "\\gone\\\\\\"));
    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(text, ReadBytes(m_project));
}

TEST_F(ProjectFixture, TheLinesOfALoadReachTheMessagesPaneInAFewUpdates)
{
    // A hundred WADs of the same textures: every texture after the first WAD's is told again.
    const std::string wad = BuildWad({MipLump("A", 16, 16), MipLump("B", 16, 16), MipLump("C", 16, 16)});
    std::string text = "[Paths]\nEntities=qc\n[Wads]\n";
    for (int n = 1; n <= 100; ++n) {
        WriteFile(m_root + "\\a" + std::to_string(n).c_str() + ".wad", wad);
        text += "File" + std::to_string(n) + "=a" + std::to_string(n) + ".wad\n";
    }
    WriteFile(m_project, text);
    UpdateCounter counter(m_frame->m_wndOutputBar.m_messages.m_hWnd);
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    EXPECT_LE(counter.updates, 4);
    // All of them are there, up to the last line of the load.
    CString messages = Messages();
    EXPECT_EQ(99 * 3, Count(messages, "found more than once."));
    EXPECT_EQ(messages.GetLength() - static_cast<int>(std::strlen("Morvane is ready.\r\n")),
              messages.Find("Morvane is ready.\r\n"));
}

// A project naming one WAD twenty thousand times opens it once and shows no box: past the
// process's few thousand mappings, every further opening raised one.
TEST_F(ProjectFixture, AWadNamedManyTimesOpensOnceWithoutABox)
{
    WriteFile(m_root + "\\a.wad", BuildWad({MipLump("A", 16, 16), MipLump("B", 16, 16)}));
    std::string text = "[Paths]\nEntities=qc\n[Wads]\n";
    for (int n = 1; n <= 20000; ++n)
        text += "File" + std::to_string(n) + (n % 2 ? "=a.wad\n" : "=A.WAD\n");
    WriteFile(m_project, text);
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    CTextureBrowser& browser = m_frame->m_wndResourceBar.m_textureBrowser;
    ASSERT_NE(nullptr, browser.GetLoader());
    EXPECT_EQ(1, browser.GetLoader()->GetWadCount());
    EXPECT_EQ(2, browser.GetLoader()->GetTextureMap().GetCount());
    EXPECT_TRUE(AfxSeamCalls().empty());
    // The project's list stays as written.
    EXPECT_EQ(20000, GetEditorServices()->GetWadList().GetCount());
    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(text, ReadBytes(m_project));
}

// Closing the project, reloading its WADs after Select Wads, opening another project and closing
// the editor each free the project's textures while the browser shows one and has another marked:
// nothing is written into a record after it is given back.
TEST_F(ProjectFixture, TheTexturesAreFreedWithNothingWrittenIntoThemAfter)
{
    WriteFile(m_root + "\\a.wad", BuildWad({MipLump("BRICK", 16, 16), MipLump("METAL", 16, 16)}));
    WriteFile(m_project, "[Paths]\nEntities=qc\n[Wads]\nFile1=a.wad\n");
    const CString other = m_root + "\\other.prj";
    WriteFile(other, "[Paths]\n");
    enum Unload { CLOSE_PROJECT, SELECT_WADS, OPEN_ANOTHER, CLOSE_EDITOR };
    for (Unload how : {CLOSE_PROJECT, SELECT_WADS, OPEN_ANOTHER, CLOSE_EDITOR}) {
        SCOPED_TRACE(how);
        ASSERT_TRUE(m_frame->CloseProject());
        ASSERT_TRUE(m_frame->OpenProject(m_project));
        CTextureBrowser& browser = m_frame->m_wndResourceBar.m_textureBrowser;
        Texture* const brick = browser.GetLoader()->FindTexture("BRICK");
        Texture* const metal = browser.GetLoader()->FindTexture("METAL");
        ASSERT_TRUE(brick && metal);
        // The user chooses METAL and marks it, then chooses BRICK.
        CComboBox* list = static_cast<CComboBox*>(browser.GetDlgItem(IDC_TEXTURE_LIST));
        for (LPCSTR name : {"METAL", "BRICK"}) {
            list->SetCurSel(list->FindStringExact(-1, name));
            browser.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEXTURE_LIST, CBN_SELCHANGE), (LPARAM)list->m_hWnd);
            if (!browser.GetMarkedTexture())
                m_frame->SendMessage(WM_COMMAND, ID_TEXTURE_MARK);
        }
        ASSERT_EQ(brick, browser.GetCurrentTexture());
        ASSERT_EQ(metal, browser.GetMarkedTexture());

        FreedBlockWatch watch;
        switch (how) {
        case CLOSE_PROJECT: ASSERT_TRUE(m_frame->CloseProject()); break;
        case SELECT_WADS:
            AfxSeamAnswer(IDOK); // the dialog confirmed as it is: the WADs are read again
            browser.SendMessage(WM_COMMAND, ID_TEXTURE_SELECT_WADS);
            ASSERT_NE(nullptr, browser.GetLoader()->FindTexture("BRICK"));
            break;
        case OPEN_ANOTHER:
            AfxSeamAnswer(IDOK); // the old project closes
            ASSERT_TRUE(m_frame->OpenProject(other));
            break;
        case CLOSE_EDITOR:
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
            afxtest::DrainQuit();
            break;
        }
        watch.Stop();
        EXPECT_TRUE(watch.WasFreed(brick));
        EXPECT_TRUE(watch.WasFreed(metal));
        EXPECT_FALSE(watch.Overflowed());
        EXPECT_EQ(0u, watch.Written());
    }
}

TEST_F(ProjectFixture, AnUnreadableFileChangesNothingAndCancelKeepsTheCurrentProject)
{
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    CIniFile* first = GetEditorServices()->GetProject();

    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(m_frame->OpenProject(m_root + "\\missing.prj"));
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_EQ(0, shelltest::Calls()[0].text.Find("Cannot open the project file " + m_root + "\\missing.prj\nReason: "));
    EXPECT_EQ(first, GetEditorServices()->GetProject());
    EXPECT_STREQ("Morvane - test.prj", Title());

    // Another project, and Cancel on the question: the current one stays, with its classes.
    CString other = m_root + "\\other.prj";
    WriteFile(other, "[Paths]\n");
    AfxSeamAnswer(IDCANCEL);
    EXPECT_TRUE(m_frame->OpenProject(other));
    EXPECT_EQ(first, GetEditorServices()->GetProject());
    EXPECT_EQ(2, m_app.m_entityClasses.GetCount());

    // The menu's Open Project with Cancel: no file dialog at all.
    AfxSeamReset();
    AfxSeamAnswer(IDCANCEL);
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_OPEN);
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_EQ(AFX_MODAL_MESSAGEBOX, shelltest::Calls()[0].kind);

    // OK replaces it through the whole close (the new project may well take the old one's place
    // in memory: its file tells them apart).
    AfxSeamAnswer(IDOK);
    EXPECT_TRUE(m_frame->OpenProject(other));
    ASSERT_NE(nullptr, GetEditorServices()->GetProject());
    EXPECT_STREQ(other, GetEditorServices()->GetProject()->GetPath());
    EXPECT_STREQ("Morvane - other.prj", Title());
    EXPECT_EQ(0, m_app.m_entityClasses.GetCount());     // the other project names no classes
    EXPECT_EQ(0, GetEditorServices()->GetWadList().GetCount());
}

TEST_F(ProjectFixture, WithoutARootPathTheSettingsSheetComesAndCancelKeepsTheProjectWithoutWads)
{
    m_app.WriteProfileString("Project Settings", "Root Path", "");
    AfxSeamAnswer(IDOK);        // 746
    AfxSeamAnswer(IDCANCEL);    // the settings sheet
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    ASSERT_EQ(2u, shelltest::Calls().size());
    EXPECT_STREQ("No Root Path has been specified in the Project Settings.", shelltest::Calls()[0].text);
    EXPECT_STREQ("CSettingsSheet", shelltest::Calls()[1].className);
    EXPECT_NE(nullptr, GetEditorServices()->GetProject());
    EXPECT_EQ(0, GetEditorServices()->GetWadList().GetCount());
    EXPECT_EQ(0, m_app.m_entityClasses.GetCount());
    EXPECT_STREQ("Morvane - test.prj", Title());
}

TEST_F(ProjectFixture, WithoutARootPathAConfirmedSheetLoadsTheProject)
{
    m_app.WriteProfileString("Project Settings", "Root Path", "");
    AfxSeamAnswer(IDOK);        // 746
    ConfirmSettings(m_root);
    AfxSeamAnswer(IDYES);       // the Paths page's folders that are not there are kept
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    EXPECT_STREQ(m_root, m_app.GetProfileString("Project Settings", "Root Path"));
    EXPECT_STREQ("quake.exe", m_app.GetProfileString("Project Settings", "Quake Exe"));
    EXPECT_EQ(2, GetEditorServices()->GetWadList().GetCount());
    EXPECT_EQ(2, m_app.m_entityClasses.GetCount());
    EXPECT_STREQ("Morvane - test.prj", Title());
    // The Paths page's values went into the project, which was written.
    CIniFile reread(m_project);
    ASSERT_TRUE(reread.Read());
    ASSERT_NE(nullptr, reread.GetString("Paths", "Maps"));
    EXPECT_STREQ("Maps", *reread.GetString("Paths", "Maps"));
    EXPECT_STREQ("qc", *reread.GetString("Paths", "Entities"));
}

// Confirmed settings end the way a load does: the relative WADs and folders follow a new root, and
// the file dialogs start in the project's folders again.
TEST_F(ProjectFixture, ConfirmedSettingsApplyTheProjectAsALoadDoes)
{
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    const CString moved = m_root + "\\moved";
    ::CreateDirectoryA(moved, nullptr);
    ::CreateDirectoryA(moved + "\\qc", nullptr);
    WriteFile(moved + "\\qc\\defs.qc", "/*QUAKED worldspawn (0 0 0) ?\n*/\n");
    m_app.m_strLastMapDir = m_root;
    ConfirmSettings(moved);
    AfxSeamAnswer(IDYES);       // the moved root has no Maps folder yet: keep the paths
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_SETTINGS);
    CStringList& wads = GetEditorServices()->GetWadList();
    ASSERT_EQ(2, wads.GetCount());
    EXPECT_STREQ(moved + "\\gfx\\a.wad", wads.GetHead());
    EXPECT_STREQ("C:\\wads\\b.wad", wads.GetTail());
    EXPECT_EQ(1, m_app.m_entityClasses.GetCount());
    EXPECT_TRUE(m_app.m_strLastMapDir.IsEmpty());
    EXPECT_STREQ("Morvane - test.prj", Title());
}

TEST_F(ProjectFixture, AnUntitledProjectIsWrittenBackAndListedOnClose)
{
    CString untitled = m_root + "\\Untitled.prj";
    WriteFile(untitled, "[Paths]\n");
    ASSERT_TRUE(m_frame->OpenProject(untitled));
    m_app.GetRecentProjects()->Remove(0);
    GetEditorServices()->GetProject()->AddString("Paths", "Maps", "maps");
    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_STREQ(untitled, (*m_app.GetRecentProjects())[0]);
    CIniFile reread(untitled);
    ASSERT_TRUE(reread.Read());
    ASSERT_NE(nullptr, reread.GetString("Paths", "Maps"));
}

TEST_F(ProjectFixture, AutoSaveWritesModifiedMapsOnTimerOneOnlyAndStopsWithTheProject)
{
    m_app.WriteProfileInt("Options", "Auto Save", 1);
    m_app.WriteProfileInt("Options", "Auto Save Interval", 0);
    m_app.WriteProfileString("Options", "Auto Save Path", m_root + "\\autosave");
    WriteFile(m_root + "\\one.map", shelltest::CubeMap());
    WriteFile(m_root + "\\two.map", shelltest::CubeMap());
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    EXPECT_TRUE(m_frame->IsAutoSaveRunning());
    for (int i = 0; i < 4; ++i)
        AfxSeamAnswer(IDOK);    // each map's reports: no "wad" key, textures missing
    CDocument* one = m_app.GetMapTemplate()->OpenDocumentFile(m_root + "\\one.map");
    CDocument* two = m_app.GetMapTemplate()->OpenDocumentFile(m_root + "\\two.map");
    ASSERT_NE(nullptr, one);
    ASSERT_NE(nullptr, two);
    AfxSeamReset();
    one->SetModifiedFlag(TRUE);
    two->SetModifiedFlag(FALSE);

    m_frame->SendMessage(WM_TIMER, 2);
    EXPECT_FALSE(Exists(m_root + "\\autosave\\one.map"));
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    EXPECT_TRUE(Exists(m_root + "\\autosave\\one.map"));
    EXPECT_FALSE(Exists(m_root + "\\autosave\\two.map"));

    // Cancel on the save question keeps the project, its maps and the timer.
    AfxSeamAnswer(IDCANCEL);
    EXPECT_FALSE(m_frame->CloseProject());
    EXPECT_NE(nullptr, GetEditorServices()->GetProject());
    EXPECT_EQ(2, m_app.GetOpenDocumentCount());
    EXPECT_TRUE(m_frame->IsAutoSaveRunning());

    AfxSeamAnswer(IDNO);
    EXPECT_TRUE(m_frame->CloseProject());
    EXPECT_FALSE(m_frame->IsAutoSaveRunning());
    EXPECT_EQ(0, m_app.GetOpenDocumentCount());
    // The timer is gone: killing it again fails.
    EXPECT_FALSE(m_frame->KillTimer(AUTOSAVE_TIMER_ID));
}

// The auto save into the project's own Maps folder, as a user sets it up: a map opened from
// elsewhere with the name of one of the project's maps is auto-saved beside that map, never over
// it, and so is a new map whose own file would lie there; each is told once in "Messages". The
// project's map is as it was after No at the close.
TEST_F(ProjectFixture, TheAutoSaveInTheMapsFolderNeverWritesOverAMapThere)
{
    ::CreateDirectoryA(m_root + "\\maps", nullptr);
    ::CreateDirectoryA(m_root + "\\elsewhere", nullptr);
    WriteFile(m_project, "[Paths]\nEntities=qc\nMaps=maps\n");
    const std::string projects = std::string(shelltest::CubeMap()) + "// the project's own start\n";
    WriteFile(m_root + "\\maps\\start.map", projects);
    WriteFile(m_root + "\\elsewhere\\start.map", shelltest::CubeMap());
    m_app.WriteProfileInt("Options", "Auto Save", 1);
    m_app.WriteProfileString("Options", "Auto Save Path", m_root + "\\maps");
    m_app.WriteProfileString("Options", "Auto Save Extension", "map");
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\elsewhere\\start.map", VIEW_XY));
    Map* elsewhere = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, elsewhere);
    elsewhere->SetModifiedFlag(TRUE);
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    EXPECT_EQ(projects, ReadBytes(m_root + "\\maps\\start.map"));
    EXPECT_NE(std::string::npos, ReadBytes(m_root + "\\maps\\start.autosave.map").find("\"classname\" \"worldspawn\""));
    EXPECT_EQ(1, Count(Messages(), "Auto save: " + m_root + "\\maps\\start.map is not this map's auto-save file"));

    // A new map in the Maps folder: its own name is never made by the auto save.
    m_frame->SendMessage(WM_COMMAND, ID_MAP_NEW);
    Map* untitled = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, untitled);
    ASSERT_STREQ(m_root + "\\maps\\Untitled_1.map", untitled->GetPathName());
    untitled->SetModifiedFlag(TRUE);
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    EXPECT_FALSE(Exists(m_root + "\\maps\\Untitled_1.map"));
    EXPECT_TRUE(Exists(m_root + "\\maps\\Untitled_1.autosave.map"));
    EXPECT_EQ(1, Count(Messages(), "is the map's own file"));
    EXPECT_EQ(0, Count(Messages(), "Auto save skipped"));

    // No to saving the changes: the project's map stays as it was.
    AfxSeamAnswer(IDNO);
    AfxSeamAnswer(IDNO);
    EXPECT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(projects, ReadBytes(m_root + "\\maps\\start.map"));
    EXPECT_TRUE(shelltest::Calls().size() == 2u);
}

// An auto save that cannot write (its folder gone) shows one box, never a box over it: a round
// that comes while the box is up (its loop goes on dispatching timers) and every later failing
// round say it in a line.
TEST_F(ProjectFixture, AFailingAutoSaveShowsOneBoxAndNoBoxOverIt)
{
    WriteFile(m_root + "\\one.map", shelltest::CubeMap());
    m_app.WriteProfileInt("Options", "Auto Save", 1);
    m_app.WriteProfileString("Options", "Auto Save Path", m_root + "\\gone");
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\one.map", VIEW_XY));
    Map* one = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, one);
    one->SetModifiedFlag(TRUE);
    AfxSeamReset();
    shelltest::TolerateLoadReports();
    int nested = 0;
    AfxSeamScript([&](AfxModalCall& call) {
        EXPECT_NE(-1, call.text.Find("Couldn't open file " + m_root + "\\gone\\one.map"));
        // The next round's timer arrives while the box is up.
        if (++nested == 1)
            m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
        return (INT_PTR)IDOK;
    });
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    EXPECT_EQ(1, nested);
    EXPECT_EQ(1u, AfxSeamCalls().size());
    EXPECT_EQ(2, Count(Messages(), "Auto save failed: Couldn't open file "));
    // A round that writes ends the failure; the next failure is a box again.
    ::CreateDirectoryA(m_root + "\\gone", nullptr);
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    EXPECT_TRUE(Exists(m_root + "\\gone\\one.map"));
    ::DeleteFileA(m_root + "\\gone\\one.map");
    ::RemoveDirectoryA(m_root + "\\gone");
    AfxSeamAnswer(IDOK);
    m_frame->SendMessage(WM_TIMER, AUTOSAVE_TIMER_ID);
    EXPECT_EQ(2u, AfxSeamCalls().size());
    EXPECT_EQ(0, Count(Messages(), "Save As"));
    AfxSeamAnswer(IDNO);
    EXPECT_TRUE(m_frame->CloseProject());
}

// Ctrl+S, Save All and the save before a build never replace a map marked read-only: each says so
// and offers another name; No leaves the file, its mark and the changes. Yes saves under the name
// chosen, the read-only file staying as it was.
TEST_F(ProjectFixture, AnExplicitSaveOfAReadOnlyMapKeepsItAndOffersAnotherName)
{
    const CString path = m_root + "\\kept.map";
    const std::string bytes = std::string(shelltest::CubeMap()) + "// marked read-only\n";
    WriteFile(path, bytes);
    ASSERT_TRUE(::SetFileAttributesA(path, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    ASSERT_TRUE(m_frame->OpenMap(path, VIEW_XY));
    Map* kept = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, kept);
    const CString readOnly = path + " is read-only: it was not replaced.\nDo you want to save it under another name?";
    auto pressCtrlS = [&] {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        BYTE saved[256];
        std::copy(keys, keys + 256, saved);
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        CMDIChildWnd* pChild = m_frame->MDIGetActive();
        CView* pView = pChild ? pChild->GetActiveView() : nullptr;
        MSG msg = {};
        msg.hwnd = pView ? pView->m_hWnd : m_frame->m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = 'S';
        m_app.PreTranslateMessage(&msg);
        ::SetKeyboardState(saved);
    };
    const struct
    {
        const char* how;
        std::function<void()> save;
        std::vector<INT_PTR> answersBefore; // what comes before the read-only question
    } cases[] = {
        {"Ctrl+S", pressCtrlS, {}},
        {"Save All", [&] { m_frame->SendMessage(WM_COMMAND, ID_MAP_FILE_SAVE_ALL); }, {IDYES}},
        {"the save before a build", [&] { m_frame->SendMessage(WM_COMMAND, ID_BUILD); }, {IDOK}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        kept->GetWorldEntity()->AddKeyValue("message", "changed");
        kept->SetModifiedFlag(TRUE);
        AfxSeamReset();
        shelltest::TolerateLoadReports();
        for (INT_PTR a : c.answersBefore)
            AfxSeamAnswer(a);
        AfxSeamAnswer(IDNO);
        c.save();
        const auto calls = shelltest::Calls();
        ASSERT_EQ(c.answersBefore.size() + 1, calls.size());
        EXPECT_STREQ(readOnly, calls.back().text);
        EXPECT_EQ(bytes, ReadBytes(path));
        EXPECT_NE(0u, ::GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(kept->IsModified());
        EXPECT_STREQ(path, kept->GetPathName());
    }

    // Yes: saved under the name chosen.
    const CString other = m_root + "\\other.map";
    AfxSeamReset();
    shelltest::TolerateLoadReports();
    AfxSeamAnswer(IDYES);
    AfxSeamScript([&](AfxModalCall& call) {
        EXPECT_EQ(AFX_MODAL_COMMONDIALOG, call.kind);
        call.text = other;
        return (INT_PTR)IDOK;
    });
    AfxSeamAnswer(IDYES); // no info_player_start: save anyway
    AfxSeamAnswer(IDNO);  // the undefined textures are not selected
    pressCtrlS();
    EXPECT_EQ(bytes, ReadBytes(path));
    EXPECT_NE(0u, ::GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(std::string::npos, ReadBytes(other).find("\"message\" \"changed\""));
    EXPECT_STREQ(other, kept->GetPathName());
    EXPECT_FALSE(kept->IsModified());
    EXPECT_EQ(0, AfxSeamPendingSteps());
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
}

// The project's write-back leaves a project file marked read-only as it is and says so.
TEST_F(ProjectFixture, AReadOnlyProjectIsNotWrittenBack)
{
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    const std::string bytes = ReadBytes(m_project);
    ASSERT_TRUE(::SetFileAttributesA(m_project, FILE_ATTRIBUTE_READONLY));
    GetEditorServices()->GetProject()->WriteString("Texture", "Marked", "WALL", TRUE);
    EXPECT_TRUE(m_frame->CloseProject());
    EXPECT_EQ(bytes, ReadBytes(m_project));
    EXPECT_NE(0u, ::GetFileAttributesA(m_project) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(1, Count(Messages(), "The project file " + m_project + " is read-only: it was left as it is"));
    ::SetFileAttributesA(m_project, FILE_ATTRIBUTE_NORMAL);
}

} // namespace

namespace {

std::vector<CString> ChildTitles(CMainFrame* pMain)
{
    std::vector<CString> titles;
    for (HWND h = ::GetWindow(pMain->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!CWnd::FromHandlePermanent(h))
            continue;
        char text[256];
        ::GetWindowTextA(h, text, sizeof text);
        titles.push_back(text);
    }
    std::sort(titles.begin(), titles.end());
    return titles;
}

TEST_F(ProjectFixture, OpenMapRefusesWhatItCannotOpenAndOpensOneOrFourWindows)
{
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    CString map = m_root + "\\cube.map";
    WriteFile(map, shelltest::CubeMap());

    // A missing file: its box, nothing opened, nothing listed.
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(m_frame->OpenMap(m_root + "\\gone.map", VIEW_ALL_FOUR));
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_EQ(0, shelltest::Calls()[0].text.Find("Cannot open the map file " + m_root + "\\gone.map\nReason: "));
    EXPECT_EQ(0, m_app.GetOpenDocumentCount());

    // All four windows, tiled; the first 2D window shows the side view.
    AfxSeamReset();
    AfxSeamAnswer(IDOK);    // no "wad" key
    AfxSeamAnswer(IDOK);    // textures missing
    ASSERT_TRUE(m_frame->OpenMap(map, VIEW_ALL_FOUR));
    // The camera window's caption names its eye.
    std::vector<CString> expected = {"cube - (@", "cube - XY (Top) Window", "cube - XZ (Front) Window",
                                     "cube - YZ (Right) Window"};
    std::vector<CString> titles = ChildTitles(m_frame);
    ASSERT_EQ(4u, titles.size());
    EXPECT_STREQ(expected[1], titles[1]);
    EXPECT_STREQ(expected[2], titles[2]);
    EXPECT_STREQ(expected[3], titles[3]);
    EXPECT_EQ(0, titles[0].Find(expected[0])) << (LPCSTR)titles[0];
    EXPECT_STREQ(map, (*m_app.GetRecentMaps())[0]);
    // Tiled: no window lies on top of another.
    std::vector<CRect> rects;
    for (HWND h = ::GetWindow(m_frame->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CRect r;
        ::GetWindowRect(h, &r);
        for (const CRect& other : rects) {
            CRect both;
            EXPECT_FALSE(both.IntersectRect(r, other) && both.Width() > 4 && both.Height() > 4);
        }
        rects.push_back(r);
    }

    // Already open: its box and no window more.
    AfxSeamReset();
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(m_frame->OpenMap(map, VIEW_XY));
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_STREQ("The map " + map + " is already open.", shelltest::Calls()[0].text);
    EXPECT_EQ(4u, ChildTitles(m_frame).size());

    // One plan window of the asked type.
    m_app.CloseAllDocuments(FALSE);
    AfxSeamReset();
    AfxSeamAnswer(IDOK);
    AfxSeamAnswer(IDOK);
    ASSERT_TRUE(m_frame->OpenMap(map, VIEW_XZ));
    titles = ChildTitles(m_frame);
    ASSERT_EQ(1u, titles.size());
    EXPECT_STREQ("cube - XZ (Front) Window", titles[0]);

    // A file the reader refuses: FALSE, and no recent entry.
    m_app.CloseAllDocuments(FALSE);
    m_app.GetRecentMaps()->Remove(0);
    CString broken = m_root + "\\broken.map";
    WriteFile(broken, "{\n\"classname\" \"worldspawn\"\n{\n( 0 0 0 ) ( 0 64");
    AfxSeamReset();
    AfxSeamSetUnexpectedHandler([](const AfxModalCall&) {});    // whatever the reader says
    BOOL opened = m_frame->OpenMap(broken, VIEW_ALL_FOUR);
    if (!opened) {
        EXPECT_EQ(0, m_app.GetOpenDocumentCount());
        EXPECT_STRNE(broken, (*m_app.GetRecentMaps())[0]);
    }
}

TEST_F(ProjectFixture, FileNewNamesUntitledMapsAndGivesOneWindowWhenAMapIsActive)
{
    ::CreateDirectoryA(m_root + "\\maps", nullptr);
    WriteFile(m_project, "[Paths]\nMaps=maps\n");
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    m_frame->SendMessage(WM_COMMAND, ID_MAP_NEW);
    std::vector<CString> titles = ChildTitles(m_frame);
    ASSERT_EQ(4u, titles.size());
    EXPECT_STREQ("Untitled_1 - XY (Top) Window", titles[1]);
    EXPECT_EQ(1, m_app.GetOpenDocumentCount());

    // A map window is active: one XY window of the next name.
    m_frame->SendMessage(WM_COMMAND, ID_MAP_NEW);
    titles = ChildTitles(m_frame);
    ASSERT_EQ(5u, titles.size());
    EXPECT_EQ(1, std::count(titles.begin(), titles.end(), CString("Untitled_2 - XY (Top) Window")));
    EXPECT_EQ(2, m_app.GetOpenDocumentCount());
    CDocument* second = m_frame->MDIGetActive()->GetActiveDocument();
    ASSERT_NE(nullptr, second);
    EXPECT_STREQ(m_root + "\\maps\\Untitled_2.map", second->GetPathName());

    // The first name is free again once its map is closed.
    CDocTemplate* pTemplate = m_app.GetMapTemplate();
    POSITION pos = pTemplate->GetFirstDocPosition();
    CDocument* first = pTemplate->GetNextDoc(pos);
    if (first == second)
        first = pTemplate->GetNextDoc(pos);
    first->OnCloseDocument();
    EXPECT_STREQ(m_root + "\\maps\\Untitled_1.map", m_frame->NextUntitledName(m_root + "\\maps\\"));

    // Names of files on disk are skipped (any letter case): a later save would replace them.
    WriteFile(m_root + "\\maps\\untitled_1.MAP", shelltest::CubeMap());
    WriteFile(m_root + "\\maps\\Untitled_3.map", shelltest::CubeMap());
    EXPECT_STREQ(m_root + "\\maps\\Untitled_4.map", m_frame->NextUntitledName(m_root + "\\maps\\"));
}

} // namespace

namespace {

TEST_F(ProjectFixture, RecentEntriesOpenAndAGoneOneLeavesTheList)
{
    CString map = m_root + "\\cube.map";
    WriteFile(map, shelltest::CubeMap());
    m_app.AddToRecentFileList(map);
    m_app.AddToRecentProjectList(m_root + "\\gone.prj");
    m_app.AddToRecentProjectList(m_project);

    // Recent Project 1: the project opens.
    m_frame->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST);
    EXPECT_STREQ("Morvane - test.prj", Title());

    // Recent Map 1: four windows.
    AfxSeamAnswer(IDOK);
    AfxSeamAnswer(IDOK);
    m_frame->SendMessage(WM_COMMAND, ID_RECENT_MAP_FIRST);
    EXPECT_EQ(4u, ChildTitles(m_frame).size());

    // A map that is gone: its box, and the entry goes.
    m_app.CloseAllDocuments(FALSE);
    ::DeleteFileA(map);
    AfxSeamReset();
    AfxSeamAnswer(IDOK);
    m_frame->SendMessage(WM_COMMAND, ID_RECENT_MAP_FIRST);
    EXPECT_EQ(1u, shelltest::Calls().size());
    EXPECT_TRUE((*m_app.GetRecentMaps())[0].IsEmpty());

    // A project that is gone: the same.
    ASSERT_STREQ(m_root + "\\gone.prj", (*m_app.GetRecentProjects())[1]);
    AfxSeamAnswer(IDOK);
    m_frame->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST + 1);
    EXPECT_TRUE((*m_app.GetRecentProjects())[1].IsEmpty());
    EXPECT_STREQ("Morvane - test.prj", Title());
}


// Folders typed on the Paths page that are not there are named in one warning after OK: No goes
// back to the sheet with what was typed, Yes keeps them.
TEST_F(ProjectFixture, PathsThatDoNotExistAreNamedInOneWarningAndMayBeKept)
{
    ASSERT_TRUE(m_frame->OpenProject(m_project));
    AfxSeamReset();
    ::CreateDirectoryA(m_root + "\\maps", nullptr);
    const CString absent = m_root + "\\nowhere\\wads";
    CString root = m_root;
    int sheets = 0;
    auto fill = [&](AfxModalCall& call) {
        auto* pSheet = dynamic_cast<CSettingsSheet*>(call.pObject);
        EXPECT_NE(nullptr, pSheet);
        if (!pSheet)
            return (INT_PTR)IDCANCEL;
        if (++sheets == 2) // the sheet again: what was typed is still there
            EXPECT_STREQ("maps;gone", pSheet->m_pPathsPage->m_values[CPathsPage::MAPS]);
        pSheet->m_pQuakePage->m_quakePath = root;
        pSheet->m_pQuakePage->m_quakeExe = "quake.exe";
        const char* values[CPathsPage::COUNT] = {"", "qc", "maps;gone", "", "", nullptr};
        for (int i = 0; i < CPathsPage::COUNT; ++i)
            pSheet->m_pPathsPage->m_values[i] = values[i] ? values[i] : static_cast<LPCSTR>(absent);
        return (INT_PTR)IDOK;
    };
    CString warning;
    AfxSeamScript(fill);
    AfxSeamScript([&](AfxModalCall& call) {
        warning = call.text;
        return (INT_PTR)IDNO;
    });
    AfxSeamScript(fill);
    AfxSeamAnswer(IDYES);
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_SETTINGS);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_EQ(2, sheets);
    EXPECT_GE(warning.Find(m_root + "\\gone"), 0) << (LPCSTR)warning;
    EXPECT_GE(warning.Find(absent), 0) << (LPCSTR)warning;
    EXPECT_LT(warning.Find(m_root + "\\maps\n"), 0) << "an existing folder is not named";
    EXPECT_LT(warning.Find(m_root + "\\qc"), 0) << "an existing folder is not named";
    // Kept: written into the project as typed.
    CIniFile reread(m_project);
    ASSERT_TRUE(reread.Read());
    ASSERT_NE(nullptr, reread.GetString("Paths", "Maps"));
    EXPECT_STREQ("maps;gone", *reread.GetString("Paths", "Maps"));
    ASSERT_NE(nullptr, reread.GetString("Paths", "Wads"));
    EXPECT_STREQ(absent, *reread.GetString("Paths", "Wads"));
}

// A folder named again and again on the Paths page, in any spelling, is looked for and named
// once: a damaged project's list of a hundred thousand entries gives a warning of one line.
TEST_F(ProjectFixture, AFolderNamedManyTimesOnThePathsPageIsNamedOnce)
{
    const CString root = m_root;
    ::CreateDirectoryA(root + "\\maps", nullptr);
    CSettingsSheet sheet;
    sheet.m_pRootPage->m_rootPath = root;
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "gone;";
    const char* values[CPathsPage::COUNT] = {"gone;Gone\\;GONE/.", "maps;;maps;gone", "", "", "", many.c_str()};
    for (int i = 0; i < CPathsPage::COUNT; ++i)
        sheet.m_pPathsPage->m_values[i] = values[i];
    CStringArray missing;
    sheet.MissingPaths(missing);
    ASSERT_EQ(1, missing.GetSize());
    EXPECT_STREQ(root + "\\gone", missing[0]);
}

} // namespace
