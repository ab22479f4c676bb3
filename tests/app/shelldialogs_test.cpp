// Start-up (the Startup window, the tip of the day), New Project, the Project Settings sheet, the
// frame's bars and its smaller commands.
#include "EditorApp.h"
#include "shell_fixture.h"
#include "IniFile.h"
#include "MainFrame.h"
#include "Map.h"
#include "MapCameraFrame.h"
#include "MapFrame.h"
#include "ProjectDialogs.h"
#include "ResourceWindow.h"
#include "SelectWadsDlg.h"
#include "ShellRes.h"
#include "TipDlg.h"
#include "Thing.h"
#include "SECRes.h"
#include "afxtest.h"
#include "RecordingServices.h"
#include "../../res/resource.h"
#include "../textures/WadBuilder.h"
#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

void WriteFile(const CString& path, const char* text)
{
    std::ofstream(static_cast<LPCSTR>(path), std::ios::binary) << text;
}

CString ReadFile(const CString& path)
{
    std::ifstream in(static_cast<LPCSTR>(path), std::ios::binary);
    std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return CString(s.c_str());
}

BOOL IsDirectory(const CString& path)
{
    DWORD a = ::GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

class ShellFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_root = m_dir.Path();
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        shelltest::TolerateLoadReports();
    }
    void Start()
    {
        ASSERT_TRUE(m_app.InitInstance());
        m_frame = m_app.GetMainFrame();
    }
    void TearDown() override { shelltest::CloseEditor(m_app); }
    // A project with a Maps directory holding one map, opened.
    CString MakeProject(const char* name = "p.prj")
    {
        ::CreateDirectoryA(m_root + "\\maps", nullptr);
        WriteFile(m_root + "\\maps\\room.map", shelltest::CubeMap());
        CString path = m_root + "\\" + name;
        WriteFile(path, "[Paths]\nMaps=maps\n");
        return path;
    }
    CString Title() const
    {
        CString title;
        m_frame->GetWindowText(title);
        return title;
    }
    CTempDir m_dir;
    CString m_root;
    // Loading the sample makes its WAD paths absolute against the test's root, in the file beside
    // the program: every test puts the file back so the next one loads the sample as shipped.
    struct KeepFile
    {
        CString path = CEditorApp::SampleProjectPath();
        CString text = ReadFile(path);
        ~KeepFile() { WriteFile(path, text); }
    } m_keepSample;
    CEditorApp m_app;
    CMainFrame* m_frame = nullptr;
};

} // namespace

// ---------------------------------------------------------------------------
// Start-up

TEST_F(ShellFixture, TheStartupWindowsEndingsWithAndWithoutReload)
{
    enum Ending { CONTINUE, CLOSE_BOX, LOAD_SAMPLE };
    for (int reload = 0; reload <= 1; ++reload) {
        for (Ending ending : {CONTINUE, CLOSE_BOX, LOAD_SAMPLE}) {
            SCOPED_TRACE(testing::Message() << "reload " << reload << " ending " << ending);
            CString project = MakeProject();
            m_app.WriteProfileInt("Startup", "Show At Startup", 1);
            m_app.WriteProfileInt("Options", "Reload", reload);
            m_app.WriteProfileString("Options", "Last Project", project);
            m_app.WriteProfileString("Project Settings", "Root Path", m_root);
            AfxSeamReset();
            shelltest::TolerateLoadReports();
            AfxSeamDrive([ending](AfxModalCall& call) {
                EXPECT_STREQ("CStartupDlg", call.className);
                EXPECT_EQ(BST_CHECKED, ::SendDlgItemMessageA(call.hWnd, IDC_SHOW_AT_STARTUP, BM_GETCHECK, 0, 0));
                // The user turns the window off for the next start.
                ::SendDlgItemMessageA(call.hWnd, IDC_SHOW_AT_STARTUP, BM_SETCHECK, BST_UNCHECKED, 0);
                if (ending == CONTINUE)
                    AfxSeamPressButton(call.hWnd, IDC_CONTINUE_NORMALLY);
                else if (ending == LOAD_SAMPLE)
                    AfxSeamPressButton(call.hWnd, IDC_LOAD_SAMPLE);
                else
                    ::SendMessageA(call.hWnd, WM_COMMAND, IDCANCEL, 0);
            });
            Start();
            EXPECT_EQ(0u, m_app.GetProfileInt("Startup", "Show At Startup", 9));
            CString expected = ending == LOAD_SAMPLE ? CEditorApp::SampleProjectPath() : (reload ? project : CString());
            EXPECT_STREQ(expected, m_frame->GetProjectPath());
            EXPECT_EQ(0, AfxSeamPendingSteps());
            AfxSeamReset();
            shelltest::TolerateLoadReports();
            AfxSeamAnswer(IDNO);
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
            afxtest::DrainQuit();
        }
    }
}

TEST_F(ShellFixture, TheSampleProjectAndTheTipsFileLieBesideTheProgram)
{
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(CEditorApp::SampleProjectPath()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(CEditorApp::TipFilePath()));
    SECTipOfDay tips(CEditorApp::TipFilePath());
    EXPECT_GE(tips.CountTips(), 5);
}

TEST_F(ShellFixture, TheTipComesAtStartWhenAskedAndItsNumberAndFlagAreKept)
{
    m_app.WriteProfileInt("Tips", "Show At Startup", 1);
    m_app.WriteProfileInt("Tips", "Current Tip", 3);
    m_app.LoadSettings();
    AfxSeamDrive([](AfxModalCall& call) {
        EXPECT_STREQ("CTipDlg", call.className);
        auto* pTip = static_cast<CTipDlg*>(call.pObject);
        EXPECT_EQ(4, pTip->m_nTip);     // the next tip
        // No help file: the Help button is hidden.
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(call.hWnd, IDC_SEC_TIP_HELP)));
        AfxSeamPressButton(call.hWnd, IDC_SEC_TIP_NEXT);
        ::SendDlgItemMessageA(call.hWnd, IDC_SEC_TIP_SHOW, BM_SETCHECK, BST_UNCHECKED, 0);
        AfxSeamPressButton(call.hWnd, IDC_SEC_TIP_SHOW);
        AfxSeamPressButton(call.hWnd, IDC_SEC_TIP_OK);
    });
    Start();
    EXPECT_EQ(5u, m_app.GetProfileInt("Tips", "Current Tip", 0));
    EXPECT_EQ(0u, m_app.GetProfileInt("Tips", "Show At Startup", 9));
    EXPECT_EQ(0, AfxSeamPendingSteps());

    // The command shows the tip even when tips are off at start.
    AfxSeamAnswer(IDOK);
    m_frame->SendMessage(WM_COMMAND, ID_HELP_TIP_OF_THE_DAY);
    ASSERT_EQ(2u, shelltest::Calls().size());
    EXPECT_STREQ("CTipDlg", shelltest::Calls()[1].className);
    EXPECT_EQ(6u, m_app.GetProfileInt("Tips", "Current Tip", 0));
}

// ---------------------------------------------------------------------------
// Projects: New Project, the settings sheet

TEST(ProjectName, ProjectExtensionOnlyWhenTheFileNameHasNoDot)
{
    struct
    {
        const char* typed;
        const char* used;
    } cases[] = {
        {"C:\\p\\mine", "C:\\p\\mine.prj"},
        {"C:\\p\\mine.prj", "C:\\p\\mine.prj"},
        {"C:\\p\\mine.txt", "C:\\p\\mine.txt"},
        {"C:\\p.d\\mine", "C:\\p.d\\mine.prj"},     // a dot in a directory does not count
        {"C:mine", "C:mine.prj"},
        {"mine", "mine.prj"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.used, CMainFrame::WithProjectExtension(c.typed)) << c.typed;
}

TEST_F(ShellFixture, NewProjectLiveDrivenMakesTheProjectItsDirectoriesAndItsWads)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Path", m_root);
    CString root = m_root;
    // New Project proposes Root\Projects\Untitled.prj; the user types a name without extension.
    AfxSeamDrive([root](AfxModalCall& call) {
        EXPECT_STREQ("CNewProjectDlg", call.className);
        char text[MAX_PATH] = "";
        ::GetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, text, sizeof text);
        EXPECT_STREQ(root + "\\Projects\\Untitled.prj", text);
        ::SetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, root + "\\mine");
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    // The sheet, live: a game directory that does not exist yet (created, every level) and the
    // executable.
    AfxSeamDrive([root](AfxModalCall& call) {
        EXPECT_EQ(AFX_MODAL_PROPERTYSHEET, call.kind);
        auto* pSheet = static_cast<CSettingsSheet*>(call.pObject);
        pSheet->SetActivePage(1);
        HWND hPage = pSheet->GetActivePage()->m_hWnd;
        ::SetDlgItemTextA(hPage, IDC_QUAKE_PATH, root + "\\game\\id1");
        ::SetDlgItemTextA(hPage, IDC_QUAKE_EXE, "quake.exe");
        pSheet->PressButton(PSBTN_OK);
    });
    AfxSeamScript([](AfxModalCall& call) {
        EXPECT_EQ(0, call.text.Find("These paths of the project do not exist:")) << (LPCSTR)call.text;
        return (INT_PTR)IDYES;  // the Paths page's default folders are kept
    });
    AfxSeamAnswer(IDYES);   // create the game directory
    AfxSeamScript([](AfxModalCall& call) {
        EXPECT_STREQ("CSelectWadsDlg", call.className);
        return (INT_PTR)IDOK;
    });
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_STREQ(m_root + "\\mine.prj", m_frame->GetProjectPath());
    EXPECT_STREQ("Morvane - mine.prj", Title());
    EXPECT_TRUE(IsDirectory(m_root + "\\game\\id1"));
    EXPECT_STREQ("quake.exe", m_app.GetProfileString("Project Settings", "Quake Exe"));
    // The project was written with the Paths page's defaults.
    CString text = ReadFile(m_root + "\\mine.prj");
    EXPECT_GE(text.Find("Maps=Maps"), 0) << (LPCSTR)text;
    // A new project goes on the recent list at once.
    EXPECT_STREQ(m_root + "\\mine.prj", (*m_app.GetRecentProjects())[0]);
}

TEST_F(ShellFixture, ACancelledNewProjectSheetLeavesNoProject)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Path", m_root);
    CString path = m_root + "\\cancelled.prj";
    AfxSeamDrive([path](AfxModalCall& call) {
        ::SetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, path);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    AfxSeamAnswer(IDCANCEL);    // the sheet
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_EQ(nullptr, GetEditorServices()->GetProject());
    EXPECT_TRUE(m_frame->GetProjectPath().IsEmpty());
    EXPECT_STREQ("Morvane", Title());
    // Nothing was made on disk.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path));

    // Cancel on the name is the end of it: no sheet, no file.
    AfxSeamReset();
    AfxSeamAnswer(IDCANCEL);
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
    ASSERT_EQ(1u, shelltest::Calls().size());
    EXPECT_STREQ("CNewProjectDlg", shelltest::Calls()[0].className);
    EXPECT_EQ(nullptr, GetEditorServices()->GetProject());
}

// New Project given the name of a project that exists (the proposal itself, which closing an
// untitled project writes) asks first: No goes back to the name, Yes uses that project as it is,
// its WADs shown chosen in their order, its file left byte for byte.
TEST_F(ShellFixture, NewProjectOnAnExistingProjectAsksAndYesUsesItAsItIs)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Exe", "quake.exe");
    for (const char* d : {"Projects", "bin", "qc", "maps", "objects", "textures", "wads"})
        ::CreateDirectoryA(m_root + "\\" + d, nullptr);
    for (const char* w : {"a", "b", "c"})
        std::ofstream(static_cast<LPCSTR>(m_root + "\\wads\\" + w + ".wad"), std::ios::binary)
            << BuildWad({MipLump(std::string("T_") + w, 16, 16)});
    const CString path = m_root + "\\Projects\\Untitled.prj";
    const char* original = "[Paths]\r\nBin=bin\r\nEntities=qc\r\nMaps=maps\r\nObjects=objects\r\nTextures=textures\r\n"
                           "Wads=wads\r\n\r\n[Wads]\r\nFile1=wads\\c.wad\r\nFile2=wads\\a.wad\r\n";
    WriteFile(path, original);
    std::vector<CString> questions;
    CString afterNo;
    BOOL openAfterNo = FALSE;
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_STREQ("CNewProjectDlg", call.className);
        AfxSeamPressButton(call.hWnd, IDOK);    // the proposal as it is: No
        openAfterNo = ::IsWindow(call.hWnd);
        char text[MAX_PATH] = "";
        ::GetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, text, sizeof text);
        afterNo = text;
        AfxSeamPressButton(call.hWnd, IDOK);    // again: Yes
    });
    for (INT_PTR answer : {IDNO, IDYES})
        AfxSeamScript([&questions, answer](AfxModalCall& call) {
            questions.push_back(call.text);
            return answer;
        });
    AfxSeamAnswer(IDOK);    // the settings sheet as it shows the project
    std::vector<std::string> chosen;
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_STREQ("CSelectWadsDlg", call.className);
        HWND list = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
        for (int i = 0; i < static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)); ++i)
            if (::SendMessageA(list, LB_GETSEL, i, 0) > 0) {
                char text[MAX_PATH] = "";
                ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                chosen.push_back(text);
            }
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    ASSERT_EQ(2u, questions.size());
    for (const CString& q : questions)
        EXPECT_STREQ("The project " + path + " already exists.\nDo you want to use it as it is?", q);
    EXPECT_TRUE(openAfterNo);
    EXPECT_STREQ(path, afterNo);
    EXPECT_EQ((std::vector<std::string>{"a", "c"}), chosen);
    EXPECT_STREQ(path, m_frame->GetProjectPath());
    EXPECT_STREQ("Morvane - Untitled.prj", Title());
    CStringList& wads = GetEditorServices()->GetWadList();
    ASSERT_EQ(2, wads.GetCount());
    EXPECT_STREQ(m_root + "\\wads\\c.wad", wads.GetHead());
    EXPECT_STREQ(m_root + "\\wads\\a.wad", wads.GetTail());
    EXPECT_STREQ(original, ReadFile(path));
}

// The name step looks at the file before anything else is asked: a missing folder is made when
// the user says so; a name that cannot be the project's file is told; in every refusal the dialog
// stays with the name as typed.
TEST_F(ShellFixture, TheNameStepMakesAMissingFolderOnYesAndRefusesWhatCannotBeAFile)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Path", m_root);
    WriteFile(m_root + "\\afile", "x");
    WriteFile(m_root + "\\locked.prj", "[Paths]\n");
    ::CreateDirectoryA(m_root + "\\dir.prj", nullptr);
    // Another program holds the project open for itself: it cannot be read.
    std::unique_ptr<void, decltype(&::CloseHandle)> locked(
        ::CreateFileA(m_root + "\\locked.prj", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), &::CloseHandle);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked.get());
    const char* const makeIt =
        "The specified path %s\ndoes not exist.  Would you like me to attempt to create it for you?";
    const char* const useIt = "The project %s already exists.\nDo you want to use it as it is?";
    const struct
    {
        const char* name;     // below the root
        const char* question; // the question asked first, about the root and what follows, or none
        const char* about;
        INT_PTR answer;       // to it
        const char* box;      // the start of the box after it (or of the only box), %s the root
        const char* made;     // a folder there afterwards
        bool goesOn;          // the dialog closes and the settings sheet comes
    } cases[] = {
        {"\\projects\\Road.prj", makeIt, "\\projects", IDNO, nullptr, nullptr, false},
        {"\\projects\\Road.prj", makeIt, "\\projects", IDYES, nullptr, "\\projects", true},
        {"\\deep\\er\\Road", makeIt, "\\deep\\er", IDYES, nullptr, "\\deep\\er", true},
        {"\\afile\\projects\\Road.prj", makeIt, "\\afile\\projects", IDYES,
         "The path %s\\afile\\projects could not\nbe created", nullptr, false},
        {"\\dir.prj", nullptr, nullptr, 0, "%s\\dir.prj is a folder.\n", nullptr, false},
        {"\\dir", nullptr, nullptr, 0, "%s\\dir.prj is a folder.\n", nullptr, false},
        {"\\bad|name.prj", nullptr, nullptr, 0, "The project file %s\\bad|name.prj could not be written.\nReason: ",
         nullptr, false},
        {"\\locked.prj", useIt, "\\locked.prj", IDYES, "Cannot open the project file %s\\locked.prj\nReason: ",
         nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AfxSeamReset();
        const CString typed = m_root + c.name;
        const CString file = CMainFrame::WithProjectExtension(typed);
        const bool wasThere = ::GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
        BOOL open = FALSE;
        CString kept;
        AfxSeamDrive([&](AfxModalCall& call) {
            ::SetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, typed);
            AfxSeamPressButton(call.hWnd, IDOK);
            open = static_cast<CDialog*>(call.pObject)->ContinueModal();
            char text[MAX_PATH] = "";
            ::GetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, text, sizeof text);
            kept = text;
            if (open)
                AfxSeamPressButton(call.hWnd, IDCANCEL);
        });
        std::vector<CString> boxes;
        auto take = [&boxes](INT_PTR answer) {
            AfxSeamScript([&boxes, answer](AfxModalCall& call) {
                boxes.push_back(call.text);
                return answer;
            });
        };
        if (c.question)
            take(c.answer);
        if (c.box)
            take(IDOK);
        if (c.goesOn)
            AfxSeamAnswer(IDCANCEL);    // the settings sheet
        m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
        EXPECT_EQ(0, AfxSeamPendingSteps());
        EXPECT_EQ(!c.goesOn, !!open);
        if (!c.goesOn) {
            EXPECT_STREQ(typed, kept);
        }
        EXPECT_EQ((c.question ? 1u : 0u) + (c.box ? 1u : 0u), boxes.size());
        boxes.resize(2);
        size_t box = 0;
        if (c.question) {
            CString expected;
            expected.Format(c.question, static_cast<LPCSTR>(m_root + c.about));
            EXPECT_STREQ(expected, boxes[box++]);
        }
        if (c.box) {
            CString expected;
            expected.Format(c.box, static_cast<LPCSTR>(m_root));
            EXPECT_EQ(0, boxes[box].Find(expected)) << (LPCSTR)boxes[box];
        }
        if (c.made) {
            EXPECT_TRUE(IsDirectory(m_root + c.made));
        }
        EXPECT_EQ(nullptr, GetEditorServices()->GetProject());
        // Nothing was left behind where the name pointed.
        if (!wasThere) {
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(file));
        }
        if (c.answer == IDNO) {
            EXPECT_FALSE(IsDirectory(m_root + "\\projects"));
        }
    }
}

// The disk refusing the file at the end asks only the name again: the settings and the WADs the
// user chose are written under the new name, with no further question. A project already there
// is written over only when the user says so.
TEST_F(ShellFixture, AFileTheDiskRefusesAsksOnlyForTheNameAndKeepsEveryAnswer)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Path", m_root);
    for (const char* d : {"bin", "Entities", "maps", "Objects", "Textures", "wads", "gone"})
        ::CreateDirectoryA(m_root + "\\" + d, nullptr);
    std::ofstream(static_cast<LPCSTR>(m_root + "\\wads\\a.wad"), std::ios::binary)
        << BuildWad({MipLump("T_A", 16, 16)});
    WriteFile(m_root + "\\other.prj", "[Paths]\nMaps=theirs\n");
    const CString root = m_root;
    AfxSeamDrive([root](AfxModalCall& call) {
        ::SetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, root + "\\gone\\Road.prj");
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    AfxSeamDrive([root](AfxModalCall& call) {
        auto* pSheet = static_cast<CSettingsSheet*>(call.pObject);
        pSheet->SetActivePage(1);
        ::SetDlgItemTextA(pSheet->GetActivePage()->m_hWnd, IDC_QUAKE_EXE, "quake.exe");
        pSheet->SetActivePage(2);
        HWND hPaths = pSheet->GetActivePage()->m_hWnd;
        ::SetDlgItemTextA(hPaths, IDC_PATH_MAPS, "maps");
        ::SetDlgItemTextA(hPaths, IDC_PATH_WADS, "wads");
        ::SetDlgItemTextA(hPaths, IDC_PATH_BIN, "bin");
        // Meanwhile the folder named for the project goes: the file cannot be written there.
        ::RemoveDirectoryA(root + "\\gone");
        pSheet->PressButton(PSBTN_OK);
    });
    AfxSeamDrive([](AfxModalCall& call) {
        EXPECT_STREQ("CSelectWadsDlg", call.className);
        ::SendDlgItemMessageA(call.hWnd, IDC_WAD_LIST, LB_SETSEL, TRUE, 0);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    CString box;
    AfxSeamScript([&box](AfxModalCall& call) {
        box = call.text;
        return (INT_PTR)IDOK;
    });
    CString shown, replace;
    BOOL openAfterNo = FALSE;
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_STREQ("CNewProjectDlg", call.className);
        char text[MAX_PATH] = "";
        ::GetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, text, sizeof text);
        shown = text;
        ::SetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, root + "\\other.prj");
        AfxSeamPressButton(call.hWnd, IDOK);
        openAfterNo = static_cast<CDialog*>(call.pObject)->ContinueModal();
        ::SetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, root + "\\projects\\Road");
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    AfxSeamScript([&replace](AfxModalCall& call) {
        replace = call.text;
        return (INT_PTR)IDNO;
    });
    AfxSeamAnswer(IDYES);   // make the projects folder
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_EQ(0, box.Find("The project file " + m_root + "\\gone\\Road.prj could not be written.\nReason: "))
        << (LPCSTR)box;
    EXPECT_STREQ(m_root + "\\gone\\Road.prj", shown);
    EXPECT_STREQ("The project " + m_root + "\\other.prj already exists.\nDo you want to replace it?", replace);
    EXPECT_TRUE(openAfterNo);
    EXPECT_STREQ("[Paths]\nMaps=theirs\n", ReadFile(m_root + "\\other.prj"));
    const CString path = m_root + "\\projects\\Road.prj";
    EXPECT_STREQ(path, m_frame->GetProjectPath());
    EXPECT_STREQ("Morvane - Road.prj", Title());
    EXPECT_STREQ(path, (*m_app.GetRecentProjects())[0]);
    EXPECT_STREQ("quake.exe", m_app.GetProfileString("Project Settings", "Quake Exe"));
    const CString text = ReadFile(path);
    for (const char* line : {"Bin=bin", "Maps=maps", "Wads=wads", "File1=", "a.wad"})
        EXPECT_GE(text.Find(line), 0) << line << "\n" << (LPCSTR)text;
    CStringList& wads = GetEditorServices()->GetWadList();
    ASSERT_EQ(1, wads.GetCount());
    EXPECT_STREQ(m_root + "\\wads\\a.wad", wads.GetHead());
}

// A project file that cannot be written makes no project: New Project and Save Project As say
// why in a box, and the caption, the project's path and the recent list stay as they were.
TEST_F(ShellFixture, AProjectFileThatCannotBeWrittenFailsWithABox)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Path", m_root);
    m_app.WriteProfileString("Project Settings", "Quake Exe", "quake.exe");
    const CString bad = "\\Projects\\Untitled.prjZ:\\x\\my.prj";
    auto recent = [this] {
        std::vector<std::string> names;
        CRecentFileList& list = *m_app.GetRecentProjects();
        for (int i = 0; i < list.GetSize(); ++i)
            names.push_back(static_cast<LPCSTR>(list[i]));
        return names;
    };
    CString box;
    auto takeTheBox = [&box] {
        AfxSeamScript([&box](AfxModalCall& call) {
            box = call.text;
            return (INT_PTR)IDOK;
        });
    };

    // New Project: the name, the sheet (its default folders are not there: kept), Select Wads;
    // meanwhile the project's folder goes. Cancel on the name asked again ends it.
    const std::vector<std::string> recentBefore = recent();
    const CString gone = m_root + "\\gone";
    const CString lost = gone + "\\my.prj";
    ::CreateDirectoryA(gone, nullptr);
    AfxSeamDrive([lost](AfxModalCall& call) {
        ::SetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, lost);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    AfxSeamScript([gone](AfxModalCall&) {
        ::RemoveDirectoryA(gone);
        return (INT_PTR)IDOK;
    });
    AfxSeamAnswer(IDYES);
    AfxSeamAnswer(IDOK);
    takeTheBox();
    AfxSeamAnswer(IDCANCEL);
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_EQ(0, box.Find("The project file " + lost + " could not be written.\nReason: ")) << (LPCSTR)box;
    EXPECT_GT(box.GetLength(), static_cast<int>(std::strlen("The project file  could not be written.\nReason: ")) +
                                   lost.GetLength());
    EXPECT_EQ(nullptr, GetEditorServices()->GetProject());
    EXPECT_TRUE(m_frame->GetProjectPath().IsEmpty());
    EXPECT_STREQ("Morvane", Title());
    EXPECT_EQ(recentBefore, recent());

    // Save Project As.
    CString project = MakeProject();
    ASSERT_TRUE(m_frame->OpenProject(project));
    AfxSeamReset();
    shelltest::TolerateLoadReports();
    const std::vector<std::string> recentOpen = recent();
    const BOOL dirty = GetEditorServices()->GetProject()->IsDirty();
    const struct
    {
        CString chosen;
        BOOL saved;
    } cases[] = {{bad, FALSE}, {m_root + "\\copy.prj", TRUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE((LPCSTR)c.chosen);
        box.Empty();
        CString chosen = c.chosen;
        AfxSeamScript([chosen](AfxModalCall& call) {
            call.text = chosen;
            return (INT_PTR)IDOK;
        });
        if (!c.saved)
            takeTheBox();
        EXPECT_EQ(c.saved, m_frame->SaveProjectAs());
        EXPECT_EQ(0, AfxSeamPendingSteps());
        CIniFile* open = GetEditorServices()->GetProject();
        ASSERT_NE(nullptr, open);
        if (c.saved) {
            EXPECT_TRUE(box.IsEmpty());
            EXPECT_STREQ(c.chosen, m_frame->GetProjectPath());
            EXPECT_STREQ(c.chosen, open->GetPath());
            EXPECT_STREQ("Morvane - copy.prj", Title());
            EXPECT_STREQ(c.chosen, (*m_app.GetRecentProjects())[0]);
            EXPECT_STREQ("[Paths]\nMaps=maps\n", ReadFile(c.chosen));
        } else {
            EXPECT_EQ(0, box.Find("The project file " + bad + " could not be written.\nReason: ")) << (LPCSTR)box;
            EXPECT_STREQ(project, m_frame->GetProjectPath());
            EXPECT_STREQ(project, open->GetPath());
            EXPECT_EQ(dirty, open->IsDirty());
            EXPECT_STREQ("Morvane - p.prj", Title());
            EXPECT_EQ(recentOpen, recent());
        }
    }
}

TEST_F(ShellFixture, AnInvalidSheetComesBackWithWhatWasTyped)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    int shown = 0;
    // First: the executable left empty; the sheet comes again showing the typed game directory.
    AfxSeamDrive([&shown](AfxModalCall& call) {
        ++shown;
        auto* pSheet = static_cast<CSettingsSheet*>(call.pObject);
        pSheet->SetActivePage(1);
        HWND hPage = pSheet->GetActivePage()->m_hWnd;
        ::SetDlgItemTextA(hPage, IDC_QUAKE_PATH, "C:\\typed");
        ::SetDlgItemTextA(hPage, IDC_QUAKE_EXE, "");
        pSheet->PressButton(PSBTN_OK);
    });
    AfxSeamAnswer(IDOK);    // the executable message
    AfxSeamDrive([&shown](AfxModalCall& call) {
        ++shown;
        auto* pSheet = static_cast<CSettingsSheet*>(call.pObject);
        EXPECT_STREQ("C:\\typed", pSheet->m_pQuakePage->m_quakePath);
        pSheet->PressButton(PSBTN_CANCEL);
    });
    EXPECT_FALSE(m_frame->RunSettingsSheet());
    EXPECT_EQ(2, shown);
    std::vector<AfxModalCall> calls = shelltest::Calls();
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ(0, calls[1].text.Find("You must specify a Quake executable for the project."));
    // Nothing was saved.
    EXPECT_TRUE(m_app.GetProfileString("Project Settings", "Quake Path").IsEmpty());
}

TEST_F(ShellFixture, ThePathsPageLoadsAndSavesTheProjectsPaths)
{
    Start();
    // No project: the defaults, and nothing saved anywhere.
    {
        CPathsPage page;
        EXPECT_STREQ("Maps", page.m_values[CPathsPage::MAPS]);
        page.m_values[CPathsPage::MAPS] = "x";
        page.Save();
    }
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    CString path = m_root + "\\paths.prj";
    WriteFile(path, "[Paths]\nMaps=m1;m2\nObjects=objs\n");
    ASSERT_TRUE(m_frame->OpenProject(path));
    CPathsPage page;
    EXPECT_STREQ("m1;m2", page.m_values[CPathsPage::MAPS]);
    EXPECT_STREQ("objs", page.m_values[CPathsPage::OBJECTS]);
    EXPECT_STREQ("Wads", page.m_values[CPathsPage::WADS]);
    page.m_values[CPathsPage::OBJECTS].Empty();     // removes the key
    page.m_values[CPathsPage::BIN] = "tools";
    page.Save();
    CIniFile* project = GetEditorServices()->GetProject();
    EXPECT_EQ(nullptr, project->GetString("Paths", "Objects"));
    ASSERT_NE(nullptr, project->GetString("Paths", "Bin"));
    EXPECT_STREQ("tools", *project->GetString("Paths", "Bin"));
    CPathsPage again;
    EXPECT_STREQ("Objects", again.m_values[CPathsPage::OBJECTS]);

    // Browsing appends after ";"; a cancelled picker changes nothing.
    EXPECT_STREQ("C:\\a", CPathsPage::AppendFolder("", "C:\\a"));
    EXPECT_STREQ("m;C:\\a", CPathsPage::AppendFolder("m", "C:\\a"));
}

TEST_F(ShellFixture, TheMapsBrowseButtonAppendsTheChosenFoldersLive)
{
    Start();
    AfxSeamDrive([](AfxModalCall& call) {
        auto* pSheet = static_cast<CSettingsSheet*>(call.pObject);
        pSheet->SetActivePage(2);
        HWND hPage = pSheet->GetActivePage()->m_hWnd;
        ::SetDlgItemTextA(hPage, IDC_PATH_MAPS, "");
        AfxSeamScript([](AfxModalCall& c) {
            EXPECT_STREQ("SHBrowseForFolder", c.className);
            EXPECT_STREQ("Choose a Map Directory", c.caption);
            c.text = "C:\\first";
            return (INT_PTR)IDOK;
        });
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_MAPS, BN_CLICKED), 0);
        AfxSeamScript([](AfxModalCall& c) {
            c.text = "C:\\second";
            return (INT_PTR)IDOK;
        });
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_MAPS, BN_CLICKED), 0);
        AfxSeamAnswer(IDCANCEL);
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_MAPS, BN_CLICKED), 0);
        char text[MAX_PATH] = "";
        ::GetDlgItemTextA(hPage, IDC_PATH_MAPS, text, sizeof text);
        EXPECT_STREQ("C:\\first;C:\\second", text);
        pSheet->PressButton(PSBTN_CANCEL);
    });
    CSettingsSheet sheet(m_frame);
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
}

// Paths may hold any bytes: the byte 0x98 after a digit, a punctuation mark or a symbol, or at a
// line's start, makes Wine 8's edit controls fault in some fonts. The settings sheet and New
// Project show them in their fields; OK without a change keeps every value and the project file.
TEST_F(ShellFixture, PathsOfAnyBytesShowInTheProjectsFieldsAndAreKeptUnlessTyped)
{
    Start();
    const CString root = m_root + "\\=\x98", quake = m_root + "\\1\x98";
    m_app.WriteProfileString("Project Settings", "Root Path", root);
    m_app.WriteProfileString("Project Settings", "Quake Path", quake);
    m_app.WriteProfileString("Project Settings", "Quake Exe", ".\x98.exe");
    const char original[] = "[Paths]\r\nBin=\x98\r\nEntities=.\x98\r\nMaps=\xbf\x98\r\nObjects=1\x98\r\n"
                            "Textures==\x98\r\nWads=a;\xbf\x98\r\n";
    const CString path = m_root + "\\tilde.prj";
    WriteFile(path, original);
    ASSERT_TRUE(m_frame->OpenProject(path));
    const struct
    {
        int page, id;
        CString text;
    } fields[] = {{0, IDC_ROOT_PATH, root},         {1, IDC_QUAKE_PATH, quake},      {1, IDC_QUAKE_EXE, ".\x98.exe"},
                  {2, IDC_PATH_BIN, "\x98"},         {2, IDC_PATH_ENTITIES, ".\x98"}, {2, IDC_PATH_MAPS, "\xbf\x98"},
                  {2, IDC_PATH_OBJECTS, "1\x98"},    {2, IDC_PATH_TEXTURES, "=\x98"}, {2, IDC_PATH_WADS, "a;\xbf\x98"}};
    AfxSeamDrive([&](AfxModalCall& call) {
        auto* pSheet = static_cast<CSettingsSheet*>(call.pObject);
        for (const auto& f : fields) {
            pSheet->SetActivePage(f.page);
            char text[MAX_PATH] = "";
            ::GetDlgItemTextA(pSheet->GetActivePage()->m_hWnd, f.id, text, sizeof text);
            EXPECT_STREQ(f.text, text) << f.id;
        }
        pSheet->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pSheet->PressButton(PSBTN_OK);
    });
    AfxSeamAnswer(IDYES);   // the folders that are not there are kept
    AfxSeamAnswer(IDNO);    // the root is not made
    AfxSeamAnswer(IDNO);    // nor the game's folder
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_SETTINGS);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_STREQ(root, m_app.GetProfileString("Project Settings", "Root Path"));
    EXPECT_STREQ(quake, m_app.GetProfileString("Project Settings", "Quake Path"));
    EXPECT_STREQ(".\x98.exe", m_app.GetProfileString("Project Settings", "Quake Exe"));
    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_STREQ(original, ReadFile(path));

    // New Project proposes a name below that root.
    AfxSeamDrive([&](AfxModalCall& call) {
        char text[MAX_PATH] = "";
        ::GetDlgItemTextA(call.hWnd, IDC_PROJECT_NAME, text, sizeof text);
        EXPECT_STREQ(root + "\\Projects\\Untitled.prj", text);
        ::RedrawWindow(call.hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    m_frame->SendMessage(WM_COMMAND, ID_PROJECT_NEW);
    EXPECT_EQ(0, AfxSeamPendingSteps());
    EXPECT_TRUE(m_frame->GetProjectPath().IsEmpty());
}

TEST(ProjectDirectories, CreatingAPathMakesEveryMissingLevel)
{
    CTempDir dir;
    CString deep = dir.Path() + "\\a\\b\\c";
    EXPECT_TRUE(CreateDirectoryPath(deep));
    EXPECT_TRUE(IsDirectory(deep));
    EXPECT_TRUE(CreateDirectoryPath(deep + "\\"));  // already there
    WriteFile(dir.Path() + "\\file", "x");
    EXPECT_FALSE(CreateDirectoryPath(dir.Path() + "\\file\\sub"));
}

// A damaged path is answered at once: ten million separators after a folder are cut in one step,
// and a path of five million levels, which no folder function takes, is refused before its levels
// are walked.
TEST(ProjectDirectories, ALongRunOfSeparatorsOrOfLevelsIsAnsweredAtOnce)
{
    CTempDir dir;
    EXPECT_TRUE(CreateDirectoryPath(dir.Path() + "\\new" + CString(std::string(10000000, '\\').c_str())));
    EXPECT_TRUE(IsDirectory(dir.Path() + "\\new"));
    std::string levels;
    for (int i = 0; i < 5000000; ++i)
        levels += "\\a";
    EXPECT_FALSE(CreateDirectoryPath(dir.Path() + levels.c_str()));
    EXPECT_FALSE(IsDirectory(dir.Path() + "\\a"));
}

// ---------------------------------------------------------------------------
// Bars and status panes

TEST_F(ShellFixture, TheEightToolbarsAndTheFivePaneStatusBar)
{
    Start();
    struct
    {
        UINT nID;
        const char* title;
        int buttons;
        BOOL visible;
    } bars[] = {
        {59397, "Map", 9, TRUE},      {59398, "Edit", 5, TRUE},    {59399, "Brush", 15, TRUE},
        {59400, "Map Window", 11, TRUE}, {59401, "Project", 3, FALSE}, {59402, "Window", 5, FALSE},
        {59403, "Tools", 9, FALSE},   {59404, "Align", 6, FALSE},
    };
    for (const auto& b : bars) {
        auto* pBar = dynamic_cast<SECCustomToolBar*>(m_frame->GetControlBar(b.nID));
        ASSERT_NE(nullptr, pBar) << b.title;
        CString title;
        pBar->GetWindowText(title);
        EXPECT_STREQ(b.title, title);
        EXPECT_EQ(b.buttons, pBar->GetButtonCount()) << b.title;
        EXPECT_EQ(b.visible, pBar->IsWindowVisible()) << b.title;
    }
    // The check buttons and the combos of the button map.
    auto* pBrush = dynamic_cast<SECCustomToolBar*>(m_frame->GetControlBar(59399));
    EXPECT_TRUE(pBrush->GetButton(0)->m_nStyle & TBBS_CHECKBOX);        // restrict X
    EXPECT_TRUE(pBrush->GetButton(6)->m_nStyle & TBBS_CHECKBOX);        // Build
    auto* pMapWindow = dynamic_cast<SECCustomToolBar*>(m_frame->GetControlBar(59400));
    EXPECT_NE(nullptr, dynamic_cast<SECToolBarComboBox*>(pMapWindow->GetButton(3)));
    EXPECT_NE(nullptr, ::GetDlgItem(pMapWindow->m_hWnd, IDC_GRID_COMBO));

    // Status panes: message, entity, size, position, selection (a bitmap).
    SECPaneStatusBar& status = m_frame->m_wndStatusBar;
    ASSERT_EQ(5, status.GetCount());
    const UINT ids[] = {0, 59144, 59143, 59142, 59145};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ids[i], status.GetItemID(i));
    EXPECT_EQ(255u, m_frame->GetSelectionIndicator());
    EXPECT_EQ(255u, CMainFrame::SelectionIndicatorBitmap(nullptr));
}

TEST_F(ShellFixture, TheViewMenusWindowsToggleWithTheirChecks)
{
    Start();
    // The bars are shown or hidden when the frame next idles.
    auto Idle = [this] {
        m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        m_frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        m_frame->RecalcLayout();
        afxtest::PumpMessages();
    };
    ASSERT_TRUE(m_frame->m_wndResourceBar.IsWindowVisible());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_RESOURCE_WINDOW);
    Idle();
    EXPECT_FALSE(m_frame->m_wndResourceBar.IsWindowVisible());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_RESOURCE_WINDOW);
    Idle();
    EXPECT_TRUE(m_frame->m_wndResourceBar.IsWindowVisible());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_OUTPUT_WINDOW);
    Idle();
    EXPECT_FALSE(m_frame->m_wndOutputBar.IsWindowVisible());
}

// ---------------------------------------------------------------------------
// The frame's other commands

TEST(BrowserCommand, TheAddressTakesThePlaceOfTheFirstPlaceholder)
{
    struct
    {
        const char* command;
        const char* line;
    } cases[] = {
        {"\"C:\\b\\browser.exe\" \"%1\"", "\"C:\\b\\browser.exe\" \"http://x/\""},
        {"C:\\b\\browser.exe %1", "C:\\b\\browser.exe http://x/"},
        {"C:\\b\\browser.exe -url %1 -new", "C:\\b\\browser.exe -url http://x/ -new"},
        {"C:\\b\\browser.exe", "C:\\b\\browser.exe http://x/"},
        {"b.exe \"%1\" %1", "b.exe \"http://x/\" %1"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.line, CMainFrame::BrowserCommandLine(c.command, "http://x/")) << c.command;
}

TEST_F(ShellFixture, ToolbarLooksAreSavedAndAMissingGroupKeepsItsBits)
{
    Start();
    auto* pMap = dynamic_cast<SECControlBar*>(m_frame->GetControlBar(59397));
    ASSERT_NE(nullptr, pMap);
    const DWORD looks = CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER | CBRS_EX_HIDEBUTTON | CBRS_EX_EXPANDBUTTON;
    pMap->ModifyExBarStyle(looks, CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER, FALSE);
    m_frame->SaveToolbarStyles();
    EXPECT_EQ(CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER,
              m_app.GetProfileInt("Cool Look", "Ex-Tool Styles", -1) & (CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER));
    DWORD outputLooks = m_frame->m_wndOutputBar.GetExBarStyle() & looks;
    EXPECT_EQ(outputLooks, (DWORD)m_app.GetProfileInt("Cool Look", "Ex-Control Styles", -1) & outputLooks);

    // Only the toolbars' value stored: the other bars keep theirs.
    m_app.WriteProfileInt("Cool Look", "Ex-Control Styles", -1);
    m_app.WriteProfileInt("Cool Look", "Tool Styles", -1);
    m_app.WriteProfileInt("Cool Look", "Ex-Tool Styles", CBRS_EX_FLATLOOK | CBRS_EX_HIDEBUTTON);
    m_frame->LoadToolbarStyles();
    EXPECT_EQ((DWORD)(CBRS_EX_FLATLOOK | CBRS_EX_HIDEBUTTON), pMap->GetExBarStyle() & looks);
    EXPECT_EQ(outputLooks, m_frame->m_wndOutputBar.GetExBarStyle() & looks);
}

TEST_F(ShellFixture, ChildFrameLabelsTargetPathsAndRedrawingEveryMap)
{
    Start();
    m_app.WriteProfileString("Project Settings", "Root Path", m_root);
    ASSERT_TRUE(m_frame->OpenProject(MakeProject()));
    ASSERT_TRUE(m_frame->OpenMap(m_root + "\\maps\\room.map", VIEW_ALL_FOUR));
    std::vector<CString> labels;
    for (HWND h = ::GetWindow(m_frame->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (auto* pChild = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h)))
            labels.push_back(m_frame->GetChildFrameLabel(pChild));
    std::sort(labels.begin(), labels.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    ASSERT_EQ(4u, labels.size());
    EXPECT_STREQ("room-3D", labels[0]);
    EXPECT_STREQ("room-XY", labels[1]);
    EXPECT_STREQ("room-XZ", labels[2]);
    EXPECT_STREQ("room-YZ", labels[3]);
    EXPECT_EQ(0, m_frame->GetChildFrameFlag(nullptr));

    Map* pMap = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, pMap);
    // One valid brush selected: pane 59145 shows its bitmap; none selected: the empty one.
    EXPECT_EQ(255u, m_frame->GetSelectionIndicator());
    ASSERT_EQ(1, pMap->GetVisibleList().GetCount());
    pMap->SelectObject(static_cast<SThing*>(pMap->GetVisibleList().GetHead()), FALSE);
    EXPECT_EQ(256u, m_frame->GetSelectionIndicator());
    pMap->DeselectAll();
    EXPECT_EQ(255u, m_frame->GetSelectionIndicator());
    EXPECT_EQ(0, pMap->GetShowTargetPaths());
    m_frame->SendMessage(WM_COMMAND, ID_TOGGLE_TARGET_PATHS);
    EXPECT_NE(0, pMap->GetShowTargetPaths());
    EXPECT_EQ(0, m_frame->SendMessage(WM_USER + 26));
}

TEST_F(ShellFixture, TheSampleProjectLoadsAndItsMapOpensWithoutAComplaint)
{
    Start();
    // Every box fails this test: the sample has all it names.
    AfxSeamReset();
    CString sample = CEditorApp::SampleProjectPath();
    CString program = sample.Left(sample.GetLength() - CString("\\Projects\\Sample.prj").GetLength());
    m_app.WriteProfileString("Project Settings", "Root Path", program);
    ASSERT_TRUE(m_frame->OpenProject(sample));
    for (const AfxModalCall& c : AfxSeamCalls())
        ADD_FAILURE() << (LPCSTR)c.text;
    EXPECT_EQ(3, m_app.m_entityClasses.GetCount());
    CMapListBox& maps = m_frame->m_wndResourceBar.m_mapList;
    ASSERT_EQ(1, maps.GetCount());
    EXPECT_STREQ(program + "\\Projects\\Sample\\Maps\\start.map", *maps.GetPath(0));
    EXPECT_EQ(1, m_frame->m_wndResourceBar.m_objectList.GetCount());
    EXPECT_EQ(1, GetEditorServices()->GetWadList().GetCount());
    maps.SetCurSel(0);
    maps.SendMessage(WM_COMMAND, ID_MAPLIST_OPEN_ALL);
    for (const AfxModalCall& c : AfxSeamCalls())
        ADD_FAILURE() << (LPCSTR)c.text;
    Map* pMap = GetEditorServices()->GetActiveMap();
    ASSERT_NE(nullptr, pMap);
    EXPECT_EQ(9, pMap->GetVisibleList().GetCount());   // seven brushes, two entities
    m_app.CloseAllDocuments(FALSE);
    // Written back or not, the sample keeps its WAD relative to the program's folder.
    ASSERT_TRUE(m_frame->CloseProject());
    EXPECT_GE(ReadFile(sample).Find("File1=Projects\\Sample\\Wads\\sample.wad"), 0) << (LPCSTR)ReadFile(sample);
}
