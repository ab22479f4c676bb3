// Recent file lists (order, settings, menus, short names), documents feeding them, and the
// command line the application reads and then ignores.
#include "afxtest.h"
#include "f2_test_ids.h"
#include <memory>
#include <string>
#include <vector>

namespace {

const char kMapSection[] = "Recent File List";
const char kProjectSection[] = "Recent Project List";

std::vector<std::string> Entries(CRecentFileList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetSize(); i++)
        names.push_back((LPCSTR)list[i]);
    return names;
}

TEST(RecentFiles, AddPutsAPathFirstOnceAndTheLastFallsOff)
{
    CRecentFileList list(ID_FILE_MRU_FILE1, kMapSection, "File %d", 4);
    for (const char* path : {"C:\\maps\\a.map", "C:\\maps\\b.map", "C:\\maps\\c.map", "C:\\maps\\d.map",
                             "C:\\maps\\e.map"})
        list.Add(path);
    using V = std::vector<std::string>;
    EXPECT_EQ(Entries(list), (V{"C:\\maps\\e.map", "C:\\maps\\d.map", "C:\\maps\\c.map", "C:\\maps\\b.map"}));
    list.Add("c:\\MAPS\\B.MAP");    // the same file in other case moves up
    EXPECT_EQ(Entries(list), (V{"c:\\MAPS\\B.MAP", "C:\\maps\\e.map", "C:\\maps\\d.map", "C:\\maps\\c.map"}));
    list.Remove(1);
    EXPECT_EQ(Entries(list), (V{"c:\\MAPS\\B.MAP", "C:\\maps\\d.map", "C:\\maps\\c.map", ""}));
    list.Add("");
    EXPECT_EQ(list[3], "");
    list.Add("relative.map");
    EXPECT_STREQ(list[0], AfxFullPath("relative.map"));
}

TEST(RecentFiles, EachListKeepsItsEntriesInItsOwnSection)
{
    CWinApp app;
    app.SetRegistryKey("Morvane Tests");
    CRecentFileList maps(ID_FILE_MRU_FILE1, kMapSection, "File %d", 4);
    CRecentFileList projects(ID_F2_RECENT_PROJECT1, kProjectSection, "Project %d", 4);
    maps.Add("C:\\maps\\one.map");
    maps.Add("C:\\maps\\two.map");
    projects.Add("C:\\Quake\\Sample.prj");
    maps.WriteList();
    projects.WriteList();
    EXPECT_EQ(app.GetProfileString(kMapSection, "File 1"), "C:\\maps\\two.map");
    EXPECT_EQ(app.GetProfileString(kMapSection, "File 2"), "C:\\maps\\one.map");
    EXPECT_EQ(app.GetProfileString(kMapSection, "File 3", "none"), "none");
    EXPECT_EQ(app.GetProfileString(kProjectSection, "Project 1"), "C:\\Quake\\Sample.prj");

    CRecentFileList read(ID_FILE_MRU_FILE1, kMapSection, "File %d", 4);
    read.ReadList();
    EXPECT_EQ(Entries(read), Entries(maps));

    // A removed entry leaves the settings too; a gap in hand-edited settings closes up.
    maps.Remove(0);
    maps.WriteList();
    EXPECT_EQ(app.GetProfileString(kMapSection, "File 2", "none"), "none");
    app.WriteProfileString(kMapSection, "File 3", "C:\\maps\\three.map");
    read.ReadList();
    EXPECT_EQ(Entries(read), (std::vector<std::string>{"C:\\maps\\one.map", "C:\\maps\\three.map", "", ""}));
}

TEST(RecentFiles, LongPathsAreShortenedBetweenRootAndName)
{
    struct Case
    {
        const char* path;
        int nMax;
        BOOL bAtLeastName;
        const char* shown;
    };
    const Case cases[] = {
        {"C:\\maps\\e1m1.map", 30, TRUE, "C:\\maps\\e1m1.map"},
        {"C:\\Program Files\\Quake\\id1\\maps\\episode1\\start.map", 30, TRUE, "C:\\...\\maps\\episode1\\start.map"},
        {"C:\\a\\a_very_long_file_name_of_a_map.map", 30, TRUE, "a_very_long_file_name_of_a_map.map"},
        {"C:\\a\\a_very_long_file_name_of_a_map.map", 30, FALSE, ""},
        {"\\\\server\\share\\dir\\sub\\deeper\\file.map", 30, TRUE, "\\\\server\\share\\...\\file.map"},
        {"\\\\server\\share\\dir\\sub\\deeper\\file.map", 25, TRUE, "file.map"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(AfxAbbreviateName(c.path, c.nMax, c.bAtLeastName), c.shown) << c.path;
}

// An application answering the updates of both placeholders with its two lists.
class CRecentApp : public CWinApp
{
public:
    std::unique_ptr<CRecentFileList> m_pMaps{new CRecentFileList(ID_FILE_MRU_FILE1, kMapSection, "File %d", 4)};
    std::unique_ptr<CRecentFileList> m_pProjects{
        new CRecentFileList(ID_F2_RECENT_PROJECT1, kProjectSection, "Project %d", 4)};

    void AddToRecentFileList(LPCSTR lpszPathName) override { m_pMaps->Add(lpszPathName); }
    void OnUpdateMaps(CCmdUI* pCmdUI) { m_pMaps->UpdateMenu(pCmdUI); }
    void OnUpdateProjects(CCmdUI* pCmdUI) { m_pProjects->UpdateMenu(pCmdUI); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRecentApp, CWinApp)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateMaps)
    ON_UPDATE_COMMAND_UI(ID_F2_RECENT_PROJECT1, OnUpdateProjects)
END_MESSAGE_MAP()

// The items of a menu as "text=id" with "(off)" for disabled ones.
std::vector<std::string> MenuItems(CMenu& menu)
{
    std::vector<std::string> items;
    for (UINT i = 0; i < menu.GetMenuItemCount(); i++) {
        UINT nID = menu.GetMenuItemID((int)i);
        if (nID == 0) {
            items.push_back("-");
            continue;
        }
        CString text;
        menu.GetMenuString(i, text, MF_BYPOSITION);
        std::string item = std::string((LPCSTR)text) + "=" + std::to_string(nID);
        if (menu.GetMenuState(i, MF_BYPOSITION) & MF_GRAYED)
            item += "(off)";
        items.push_back(item);
    }
    return items;
}

TEST(RecentFiles, MenusShowNumberedNamesInPlaceOfThePlaceholders)
{
    CRecentApp app;
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(IDR_F2_MAIN));
    CMenu* pFile = bar.GetSubMenu(0);
    auto update = [&] { AfxUpdateMenuCmdUI(&app, pFile, TRUE); };
    using V = std::vector<std::string>;

    update();
    EXPECT_EQ(MenuItems(*pFile), (V{"&New=57600(off)", "-", "Recent File=57616(off)", "-", "Recent Project=57620(off)",
                                    "-", "E&xit=57665"}));

    char szCur[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, szCur);
    app.m_pMaps->Add(CString(szCur) + "\\R&D.map");
    app.m_pMaps->Add("C:\\Program Files\\Quake\\id1\\maps\\episode1\\start.map");
    app.m_pProjects->Add("C:\\Quake\\Sample.prj");
    update();
    update();   // again: the items are replaced, not added twice
    EXPECT_EQ(MenuItems(*pFile),
              (V{"&New=57600(off)", "-", "&1 C:\\...\\maps\\episode1\\start.map=57616", "&2 R&&D.map=57617", "-",
                 "&1 C:\\Quake\\Sample.prj=57620", "-", "E&xit=57665"}));

    // Entries that went away take their items with them; an empty list shows the placeholder.
    app.m_pMaps->Remove(1);
    update();
    EXPECT_EQ(MenuItems(*pFile).size(), 7u);
    app.m_pMaps->Remove(0);
    update();
    EXPECT_EQ(MenuItems(*pFile), (V{"&New=57600(off)", "-", "Recent File=57616(off)", "-",
                                    "&1 C:\\Quake\\Sample.prj=57620", "-", "E&xit=57665"}));
}

TEST(RecentFiles, SetPathNameFeedsTheApplicationsOwnList)
{
    CRecentApp app;
    CDocument* pDoc = new CDocument;
    pDoc->SetPathName("C:\\maps\\e1m1.map");
    pDoc->SetPathName("C:\\maps\\e1m2.map", FALSE);
    EXPECT_STREQ((*app.m_pMaps)[0], "C:\\maps\\e1m1.map");
    EXPECT_STREQ((*app.m_pMaps)[1], "");
    EXPECT_STREQ(pDoc->GetTitle(), "e1m2.map");
    pDoc->OnCloseDocument();    // deletes it
}

TEST(CommandLine, ArgumentsAreReadAndTheShellCommandCanBeReplacedByNothing)
{
    CCommandLineInfo info;
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    info.ParseParam("Embedding", TRUE, FALSE);
    info.ParseParam("C:\\maps\\e1m1.map", FALSE, TRUE);
    EXPECT_TRUE(info.m_bRunEmbedded);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_STREQ(info.m_strFileName, "C:\\maps\\e1m1.map");

    CRecentApp app;
    info.m_nShellCommand = CCommandLineInfo::FileNothing;
    EXPECT_TRUE(app.ProcessShellCommand(info));
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    EXPECT_STREQ((*app.m_pMaps)[0], "");
}

} // namespace
