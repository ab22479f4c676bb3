#include "IniFile.h"
#include "PathIterator.h"
#include "RecordingServices.h"
#include <string>

namespace {

class Project : public ModelTest
{
protected:
    CTempDir dir;
};

TEST_F(Project, ReadsSectionsKeysAndValues)
{
    dir.WriteFile("p.prj", "[Paths]\r\nMaps = maps\\sub ; extra \r\n  Indented=no\r\nKey==x\r\nnoequals\r\n"
                           "[Wads]\nFile1=a.wad\n[Paths]\nWads=wads\n");
    CIniFile ini(dir.Path("p.prj"));
    EXPECT_EQ(ini.GetString("Paths", "Maps"), nullptr); // the repeated section started afresh
    EXPECT_STREQ(*ini.GetString("[Paths]", "Wads"), "wads");
    EXPECT_STREQ(*ini.GetString("Wads", "File1"), "a.wad");
    EXPECT_TRUE(services->LineContains("No '=' character found for key/value pair noequals"));
    EXPECT_FALSE(ini.IsDirty());

    dir.WriteFile("q.prj", "orphan=1\n[Paths]\nMaps = maps\\sub ; extra \n  Indented=no\nKey==x\n");
    CIniFile q(dir.Path("q.prj"));
    EXPECT_STREQ(*q.GetString("Paths", "Maps"), "maps\\sub ; extra");
    EXPECT_STREQ(*q.GetString("Paths", "Key"), "=x");
    EXPECT_EQ(q.GetString("Paths", "Indented"), nullptr);
    EXPECT_TRUE(services->LineContains("orphan=1"));
    EXPECT_EQ(q.FindSection("orphan"), nullptr);
}

TEST_F(Project, ChangesAndWritingBack)
{
    CString path = dir.Path("new.prj");
    {
        CIniFile ini(path); // a missing file is created empty
        EXPECT_EQ(::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES, true);
        EXPECT_EQ(ini.FindSection("Paths"), nullptr);
        EXPECT_FALSE(ini.WriteString("Paths", "Maps", "m", FALSE));
        EXPECT_FALSE(ini.IsDirty());
        EXPECT_TRUE(ini.WriteString("Paths", "Maps", "m", TRUE));
        EXPECT_TRUE(ini.AddString("Wads", "File1", "a.wad")); // brackets added as elsewhere
        EXPECT_FALSE(ini.AddString("[Wads]", "File1", "b.wad"));
        EXPECT_TRUE(ini.AddString("Gone", "k", "v"));
        ini.RemoveSection("Gone");
        EXPECT_TRUE(ini.Save());
        EXPECT_FALSE(ini.IsDirty());
        ini.WriteString("Paths", "Maps", "m2", FALSE);
    } // written again when destroyed
    std::string text = dir.ReadFile("new.prj");
    EXPECT_NE(text.find("[Paths]\r\nMaps=m2\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Wads]\r\nFile1=a.wad\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Gone"), std::string::npos);
    EXPECT_EQ(::GetFileAttributesA(path + ".tmp"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Project, FailedWriteKeepsTheFileAndTheChanges)
{
    // The target is a directory: the text is written beside it but cannot replace it.
    CString target = dir.Path("locked.prj");
    ASSERT_TRUE(::CreateDirectoryA(target, nullptr));
    CIniFile ini(target);
    ini.SetDirty(FALSE);
    ini.WriteString("Paths", "Maps", "m", TRUE);
    EXPECT_FALSE(ini.Write());
    EXPECT_TRUE(ini.IsDirty());
    EXPECT_TRUE(services->LineContains("Could not write the ini file"));
    EXPECT_STREQ(*ini.GetString("Paths", "Maps"), "m");
    EXPECT_EQ(::GetFileAttributesA(target + ".tmp"), INVALID_FILE_ATTRIBUTES);
    ini.SetDirty(FALSE);
}

class Paths : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        services->WriteProfileString("Project Settings", "Root Path", "C:\\game");
        project = new CIniFile("");
        services->SetProject(project);
    }
    void TearDown() override
    {
        services->SetProject(nullptr);
        delete project;
        ModelTest::TearDown();
    }
    std::vector<std::string> Directories(LPCSTR list)
    {
        project->WriteString("Paths", "Maps", list, TRUE);
        project->SetDirty(FALSE);
        CPathIterator it;
        EXPECT_TRUE(it.Init("Maps", IDS_NO_MAP_PATHS, "map"));
        std::vector<std::string> out;
        for (;;) {
            const CString& d = it.NextDirectory();
            out.push_back(d.GetString());
            if (d.IsEmpty())
                return out;
        }
    }
    CIniFile* project = nullptr;
};

TEST_F(Paths, DirectoriesOfAList)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Directories("maps;D:\\shared;\\net\\maps"), V({"C:\\game\\maps", "D:\\shared", "\\net\\maps", ""}));
    EXPECT_EQ(Directories("a;;b"), V({"C:\\game\\a", "C:\\game\\", "C:\\game\\b", ""}));
    EXPECT_EQ(Directories("a;"), V({"C:\\game\\a", ""}));
}

TEST_F(Paths, InitFailures)
{
    CPathIterator it;
    EXPECT_FALSE(it.Init("Maps", IDS_NO_MAP_PATHS, "map")); // no such key
    EXPECT_EQ(services->statuses.back(), "No map paths are specified in the project settings");
    EXPECT_TRUE(it.Init("Maps", 0, "map"));
    EXPECT_TRUE(it.NextDirectory().IsEmpty());

    services->SetProject(nullptr);
    EXPECT_FALSE(it.Init("Maps", 0, "map")); // no open project
    services->SetProject(project);

    services->WriteProfileString("Project Settings", "Root Path", "");
    EXPECT_FALSE(it.Init("Maps", 0, "map"));
    EXPECT_EQ(services->statuses.back(), "No Root Path has been specified in the Project Settings.");

    CReporter::Set(nullptr);
    services->WriteProfileString("Project Settings", "Root Path", "C:\\game");
    EXPECT_FALSE(it.Init("Maps", 0, "map")); // no reporter yet
    CReporter::Set(reporter);
}

TEST_F(Paths, FilesOfEachDirectory)
{
    CTempDir root;
    ::CreateDirectoryA(root.Path("wads"), nullptr);
    ::CreateDirectoryA(root.Path("wads\\sub.wad"), nullptr); // a directory, skipped
    root.WriteFile("wads\\a.wad", "x");
    root.WriteFile("wads\\b.wad", "x");
    root.WriteFile("wads\\c.txt", "x");
    services->WriteProfileString("Project Settings", "Root Path", root.Path());
    project->WriteString("Paths", "Wads", "wads;missing", TRUE);
    project->SetDirty(FALSE);
    CPathIterator it;
    ASSERT_TRUE(it.Init("Wads", IDS_NO_WAD_PATHS, "wad"));
    EXPECT_STREQ(it.NextDirectory(), root.Path("wads"));
    std::vector<std::string> files;
    for (CString f = it.NextFile(); !f.IsEmpty(); f = it.NextFile())
        files.push_back(f.GetString());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, std::vector<std::string>({root.Path("wads\\a.wad").GetString(), root.Path("wads\\b.wad").GetString()}));
    EXPECT_STREQ(it.NextDirectory(), root.Path("missing"));
    EXPECT_TRUE(it.NextFile().IsEmpty());
    EXPECT_TRUE(it.NextDirectory().IsEmpty());
}

} // namespace
