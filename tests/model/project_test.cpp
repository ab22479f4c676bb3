#include "IniFile.h"
#include "PathIterator.h"
#include "RecordingServices.h"
#include <string>
#include <vector>

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
    ASSERT_TRUE(ini.Read());
    // A repeated section adds its keys to the first one's.
    EXPECT_STREQ(*ini.GetString("Paths", "Maps"), "maps\\sub ; extra");
    EXPECT_STREQ(*ini.GetString("[Paths]", "Wads"), "wads");
    EXPECT_STREQ(*ini.GetString("Wads", "File1"), "a.wad");
    EXPECT_STREQ(*ini.GetString("Paths", "Key"), "=x");
    EXPECT_STREQ(*ini.GetString("Paths", "Indented"), "no");
    EXPECT_TRUE(services->LineContains("No '=' character found for key/value pair noequals"));
    EXPECT_FALSE(ini.IsDirty());

    dir.WriteFile("q.prj", "orphan=1\n[Paths]\nMaps = maps\\sub ; extra \n");
    CIniFile q(dir.Path("q.prj"));
    ASSERT_TRUE(q.Read());
    EXPECT_STREQ(*q.GetString("Paths", "Maps"), "maps\\sub ; extra");
    EXPECT_TRUE(services->LineContains("orphan=1"));
    EXPECT_FALSE(q.HasSection("orphan"));
}

TEST_F(Project, ReadsWhatPeoplesEditorsWrite)
{
    const struct
    {
        const char* what;
        std::string bytes;
    } files[] = {
        {"CR LF", "[Paths]\r\nMaps=m\r\nWads=w\r\n"},
        {"LF", "[Paths]\nMaps=m\nWads=w\n"},
        {"CR", "[Paths]\rMaps=m\rWads=w\r"},
        {"no line end at the end", "[Paths]\nMaps=m\nWads=w"},
        {"byte-order mark", "\xEF\xBB\xBF[Paths]\r\nMaps=m\r\nWads=w\r\n"},
        {"letter case", "[paths]\nMAPS=m\nwads=w\n"},
        {"blanks before keys and sections", "  [Paths]\n \tMaps = m\n\tWads=w\n"},
        {"comments", "; my project\n[Paths] ; where things are\n; the maps\nMaps=m\nWads=w\n"},
        {"a repeated section", "[Paths]\nMaps=m\n[Wads]\nFile1=a\n[Paths]\nWads=w\n"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        services->lines.clear();
        dir.WriteFile("p.prj", f.bytes);
        CIniFile ini(dir.Path("p.prj"));
        ASSERT_TRUE(ini.Read());
        ASSERT_NE(ini.GetString("Paths", "Maps"), nullptr);
        EXPECT_STREQ(*ini.GetString("Paths", "Maps"), "m");
        ASSERT_NE(ini.GetString("paths", "WADS"), nullptr);
        EXPECT_STREQ(*ini.GetString("paths", "WADS"), "w");
        EXPECT_TRUE(services->lines.empty()) << services->lines[0];
    }
}

TEST_F(Project, ReadProblemsNameTheFileAndTheLineAndQuoteOnlyPrintableText)
{
    const char bytes[] = "[Paths]\r\nnoequals\r\n\xBF\x98\r\nMaps=m\0junk\r\n[Wads\r\n=nokey\r\n";
    dir.WriteFile("p.prj", std::string(bytes, sizeof bytes - 1));
    CIniFile ini(dir.Path("p.prj"));
    ASSERT_TRUE(ini.Read());
    const std::string where = std::string(dir.Path("p.prj"));
    const std::vector<std::string> expected = {
        "No '=' character found for key/value pair noequals\nin " + where + ", line 2\r\n",
        "No '=' character found for key/value pair \\xBF\\x98\nin " + where + ", line 3\r\n",
        "The line Maps=m\\x00junk\nin " + where + ", line 4 holds a NUL byte: what follows it is not read.\r\n",
        "The section line [Wads\nin " + where + ", line 5 has no closing ']'.\r\n",
        "The line =nokey\nin " + where + ", line 6 has no key before its '=' and is skipped.\r\n",
    };
    EXPECT_EQ(services->lines, expected);
    EXPECT_STREQ(*ini.GetString("Paths", "Maps"), "m");
    EXPECT_TRUE(ini.HasSection("Wads"));

    // Two bytes of garbage: one line, told in printable text.
    services->lines.clear();
    dir.WriteFile("g.prj", "\xBF\x98");
    CIniFile garbage(dir.Path("g.prj"));
    ASSERT_TRUE(garbage.Read());
    ASSERT_EQ(services->lines.size(), 1u);
    EXPECT_EQ(services->lines[0],
              "No '=' character found for key/value pair \\xBF\\x98\nin " + std::string(dir.Path("g.prj")) + ", line 1\r\n");
}

TEST_F(Project, UnchangedTheFileIsWrittenBackByteForByteAndAChangeKeepsOrderAndUnknownLines)
{
    const char bytes[] = "\xEF\xBB\xBF; Morvane project\r\n"
                         "[Paths]\r\n"
                         "  Maps = maps\r\n"
                         "junk line\r\n"
                         "[Wads]\r"
                         "File1=a.wad\r\n"
                         "[Paths]\n"
                         "Wads=wa\0ds\r\n"
                         "[Texture]\r\n"
                         "Default=BRICK";
    const std::string original(bytes, sizeof bytes - 1);
    dir.WriteFile("p.prj", original);
    CIniFile ini(dir.Path("p.prj"));
    ASSERT_TRUE(ini.Read());
    EXPECT_STREQ(*ini.GetString("Paths", "Wads"), "wa");
    // Writing a value a key already holds, or a stand-in value, is no change.
    EXPECT_TRUE(ini.WriteString("Texture", "Default", "BRICK", TRUE));
    ini.SetSessionString("Texture", "Marked", "METAL");
    ini.SetSessionString("Texture", "Default", "METAL");
    EXPECT_STREQ(*ini.GetString("Texture", "Marked"), "METAL");
    EXPECT_STREQ(*ini.GetString("Texture", "Default"), "BRICK");
    EXPECT_FALSE(ini.IsDirty());
    EXPECT_TRUE(ini.Write());
    EXPECT_EQ(dir.ReadFile("p.prj"), original);
    // Even a forced write gives back every byte: mark, comments, junk, line ends, the NUL.
    ini.SetDirty(TRUE);
    EXPECT_TRUE(ini.Write());
    EXPECT_EQ(dir.ReadFile("p.prj"), original);

    // A deliberate save: changed keys in their place, a new key at the end of its section, a new
    // section at the end, a removed key gone; every other line as it was.
    EXPECT_TRUE(ini.WriteString("Paths", "Maps", "maps2", FALSE));
    EXPECT_TRUE(ini.WriteString("wads", "File2", "b.wad", TRUE));
    EXPECT_TRUE(ini.AddString("Tools", "Bin", "bin"));
    ini.RemoveKey("Paths", "Wads");
    EXPECT_TRUE(ini.IsDirty());
    EXPECT_TRUE(ini.Save());
    EXPECT_EQ(dir.ReadFile("p.prj"), "\xEF\xBB\xBF; Morvane project\r\n"
                                     "[Paths]\r\n"
                                     "Maps=maps2\r\n"
                                     "junk line\r\n"
                                     "[Wads]\r"
                                     "File1=a.wad\r\n"
                                     "File2=b.wad\r\n"
                                     "[Paths]\n"
                                     "[Texture]\r\n"
                                     "Default=BRICK\r\n"
                                     "\r\n"
                                     "[Tools]\r\n"
                                     "Bin=bin\r\n");

    // The user's value takes the stand-in's place and is written.
    EXPECT_TRUE(ini.WriteString("Texture", "Marked", "ODD", TRUE));
    EXPECT_TRUE(ini.Save());
    EXPECT_NE(dir.ReadFile("p.prj").find("Default=BRICK\r\nMarked=ODD\r\n"), std::string::npos);
}

TEST_F(Project, AnEmptiedSectionKeepsItsPlaceForItsNewKeys)
{
    dir.WriteFile("p.prj", "[Paths]\nMaps=m\n\n[Wads]\nFile1=a\nFile2=b\n\n[Texture]\nDefault=X\n");
    CIniFile ini(dir.Path("p.prj"));
    ASSERT_TRUE(ini.Read());
    ini.RemoveSection("Wads");
    EXPECT_FALSE(ini.HasSection("Wads"));
    EXPECT_TRUE(ini.Save());
    EXPECT_EQ(dir.ReadFile("p.prj"), "[Paths]\nMaps=m\n\n[Texture]\nDefault=X\n");
    ini.WriteString("Wads", "File1", "c", TRUE);
    EXPECT_TRUE(ini.Save());
    EXPECT_EQ(dir.ReadFile("p.prj"), "[Paths]\nMaps=m\n\n[Wads]\nFile1=c\n\n[Texture]\nDefault=X\n");
}

// A damaged project's million keys go in one pass: the WADs of a section emptied when the user
// chooses others, a key written a million times when the user empties its field (one at a time,
// each by moving every line after it, they took most of an hour). Lines that are no keys stay.
TEST_F(Project, AMillionKeysOfASectionOrOfOneNameAreRemovedAtOnce)
{
    const int count = 1000000;
    std::string wads = "[Wads]\r\n", bins = "[Paths]\r\n";
    for (int i = 1; i <= count; ++i) {
        wads += "File" + std::to_string(i) + "=a.wad\r\n";
        bins += "Bin=bin\r\n";
    }
    const struct
    {
        const char* what;
        std::string before;
        void (*remove)(CIniFile&);
        std::string after;
    } cases[] = {
        {"a section", "[Paths]\r\nMaps=m\r\n" + wads + "; kept\r\n[Texture]\r\nDefault=X\r\n",
         [](CIniFile& ini) { ini.RemoveSection("Wads"); }, "[Paths]\r\nMaps=m\r\n[Wads]\r\n; kept\r\n[Texture]\r\nDefault=X\r\n"},
        {"one name", bins + "Maps=m\r\n; kept\r\n[Other]\r\nBin=other\r\n",
         [](CIniFile& ini) { ini.RemoveKey("Paths", "Bin"); }, "[Paths]\r\nMaps=m\r\n; kept\r\n[Other]\r\nBin=other\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.WriteFile("p.prj", c.before);
        CIniFile ini(dir.Path("p.prj"));
        ASSERT_TRUE(ini.Read());
        c.remove(ini);
        EXPECT_TRUE(ini.IsDirty());
        EXPECT_TRUE(ini.Save());
        EXPECT_EQ(dir.ReadFile("p.prj"), c.after);
    }
}

// A numbered list ("File1", "File2", ...) is read as GetString finds each key, in one pass.
TEST_F(Project, NumberedValuesUpToTheFirstGap)
{
    using V = std::vector<std::string>;
    const struct
    {
        const char* text;
        V values;
        int after; // the first number past the gap that has a key
    } cases[] = {
        {"[Wads]\nFile1=a\nFile2=b\nFile4=d\nFile7=g\n", {"a", "b"}, 4},
        {"[Wads]\nfile2=b\nFILE1=a\n", {"a", "b"}, 0},
        {"[Wads]\nFile1=a\nFile1=z\n", {"z"}, 0},
        {"[Wads]\nFile01=x\nFile1=a\nFile+2=y\nFile=q\nFiles2=s\nFile2x=t\n", {"a"}, 0},
        {"[Wads]\nFile2=b\n", {}, 2},
        {"[Wads]\nFile1=a\n[Paths]\nFile2=no\n[wads]\nFile2=b\n", {"a", "b"}, 0},
        {"[Paths]\nFile1=a\n", {}, 0},
    };
    for (const auto& c : cases) {
        dir.WriteFile("p.prj", c.text);
        CIniFile ini(dir.Path("p.prj"));
        ASSERT_TRUE(ini.Read());
        CStringArray values;
        EXPECT_EQ(ini.GetNumberedValues("Wads", "File", values), c.after) << c.text;
        V got;
        for (INT_PTR i = 0; i < values.GetSize(); ++i) {
            got.push_back(values[i].GetString());
            CString key;
            key.Format("File%d", static_cast<int>(i) + 1);
            EXPECT_STREQ(*ini.GetString("Wads", key), values[i]) << c.text;
        }
        EXPECT_EQ(got, c.values) << c.text;
    }
}

TEST_F(Project, ReadsAndWritesOnlyWhenAsked)
{
    // Reading a file that is not there creates nothing.
    CString missing = dir.Path("missing.prj");
    {
        CIniFile ini(missing);
        EXPECT_FALSE(ini.Read());
        EXPECT_TRUE(services->LineContains("Could not open the ini file"));
        ini.WriteString("Paths", "Maps", "m", TRUE);
    } // nor does the destructor write
    EXPECT_EQ(::GetFileAttributesA(missing), INVALID_FILE_ATTRIBUTES);

    // The constructor reads nothing; the destructor writes nothing.
    dir.WriteFile("p.prj", "[Paths]\nMaps=m\n");
    {
        CIniFile ini(dir.Path("p.prj"));
        EXPECT_EQ(ini.GetString("Paths", "Maps"), nullptr);
        ASSERT_TRUE(ini.Read());
        ini.WriteString("Paths", "Maps", "changed", TRUE);
    }
    EXPECT_EQ(dir.ReadFile("p.prj"), "[Paths]\nMaps=m\n");
}

TEST_F(Project, ChangesAndWritingBack)
{
    CString path = dir.Path("new.prj");
    {
        CIniFile ini(path);
        EXPECT_FALSE(ini.HasSection("Paths"));
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
        EXPECT_TRUE(ini.Save());
    }
    std::string text = dir.ReadFile("new.prj");
    EXPECT_EQ(text, "[Paths]\r\nMaps=m2\r\n\r\n[Wads]\r\nFile1=a.wad\r\n");
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

// A project file marked read-only is written back by nobody: its bytes and its mark stay, the
// changes stay in memory, and the first write says so in "Messages", the later ones not again.
TEST_F(Project, AReadOnlyProjectFileIsLeftAsItIsAndToldOnce)
{
    const std::string bytes = "[Paths]\r\nMaps=maps\r\n";
    dir.WriteFile("kept.prj", bytes);
    const CString path = dir.Path("kept.prj");
    ASSERT_TRUE(::SetFileAttributesA(path, FILE_ATTRIBUTE_READONLY));
    CIniFile ini(path);
    ASSERT_TRUE(ini.Read());
    ini.WriteString("Paths", "Maps", "other", TRUE);
    EXPECT_FALSE(ini.Write());
    EXPECT_FALSE(ini.Save());
    EXPECT_EQ(bytes, dir.ReadFile("kept.prj"));
    EXPECT_NE(0u, ::GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(ini.IsDirty());
    EXPECT_STREQ(*ini.GetString("Paths", "Maps"), "other");
    int told = 0;
    for (const std::string& line : services->lines)
        told += line == "The project file " + std::string(path) +
                            " is read-only: it was left as it is, without the changes.\r\n";
    EXPECT_EQ(1, told);
    EXPECT_EQ(::GetFileAttributesA(path + ".tmp"), INVALID_FILE_ATTRIBUTES);
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
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

// A directory is given once a walk, however often and in whatever spelling the list names it:
// every caller scans what it is given.
TEST_F(Paths, EachDirectoryOnceAWalk)
{
    using V = std::vector<std::string>;
    const struct
    {
        const char* list;
        V directories;
    } cases[] = {
        {"maps;Maps;maps\\;maps/.;MAPS", {"C:\\game\\maps", ""}},
        {";;;", {"C:\\game\\", ""}},
        {"a;;b;;a;c;", {"C:\\game\\a", "C:\\game\\", "C:\\game\\b", "C:\\game\\c", ""}},
        {"C:\\game\\a;a;D:\\x;d:\\X\\", {"C:\\game\\a", "D:\\x", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Directories(c.list), c.directories) << c.list;
}

// A folder on a share or named by a device path is a folder of its own, never one under the root,
// and another spelling of it is the same folder; "\srv\share" with one leading "\" is another.
TEST_F(Paths, AShareOrADevicePathIsAFolderOfItsOwn)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Directories("//srv/share/maps;\\\\srv\\share\\maps\\;\\\\SRV\\share\\\\maps;\\\\?\\D:\\maps;\\srv\\share\\maps"),
              V({"//srv/share/maps", "\\\\?\\D:\\maps", "\\srv\\share\\maps", ""}));
}

// A damaged project's list of a million entries is one walk over it: a million empty entries
// are the root once, and the folder named after them is listed once.
TEST_F(Paths, AMillionEntriesAreOneScanOfEachFolder)
{
    CTempDir root;
    ::CreateDirectoryA(root.Path("wads"), nullptr);
    root.WriteFile("wads\\a.wad", "x");
    services->WriteProfileString("Project Settings", "Root Path", root.Path());
    std::string list(1000000, ';');
    for (int i = 0; i < 1000; ++i)
        list += "wads;";
    project->WriteString("Paths", "Wads", list.c_str(), TRUE);
    project->SetDirty(FALSE);
    CPathIterator it;
    ASSERT_TRUE(it.Init("Wads", IDS_NO_WAD_PATHS, "wad"));
    std::vector<std::string> directories, files;
    for (CString d = it.NextDirectory(); !d.IsEmpty(); d = it.NextDirectory()) {
        directories.push_back(d.GetString());
        for (CString f = it.NextFile(); !f.IsEmpty(); f = it.NextFile())
            files.push_back(f.GetString());
    }
    EXPECT_EQ(directories, std::vector<std::string>({(root.Path() + "\\").GetString(), root.Path("wads").GetString()}));
    EXPECT_EQ(files, std::vector<std::string>({root.Path("wads\\a.wad").GetString()}));
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

// The entity class sources (.qc) and the WADs are listed by exact extension: a "*.ext" search
// also finds longer extensions, short-name matches and a bare ".ext".
TEST_F(Paths, FilesHaveExactlyTheExtension)
{
    CTempDir root;
    ::CreateDirectoryA(root.Path("files"), nullptr);
    for (const char* name : {"a.qc", "B.QC", "x.qcx", ".qc", "long name.qcfile", "c.wad", "y.wad1", ".wad",
                             "long name.wadfile"})
        root.WriteFile(CString("files\\") + name, "x");
    services->WriteProfileString("Project Settings", "Root Path", root.Path());
    const struct
    {
        const char* extension;
        std::vector<std::string> names;
    } cases[] = {{"qc", {"B.QC", "a.qc"}}, {"wad", {"c.wad"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extension);
        project->WriteString("Paths", "Files", "files", TRUE);
        CPathIterator it;
        ASSERT_TRUE(it.Init("Files", 0, c.extension));
        it.NextDirectory();
        std::vector<std::string> names;
        for (CString f = it.NextFile(); !f.IsEmpty(); f = it.NextFile())
            names.push_back(f.Mid(f.ReverseFind('\\') + 1).GetString());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names);
    }
    project->SetDirty(FALSE);
}

} // namespace
