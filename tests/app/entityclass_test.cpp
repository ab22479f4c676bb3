// The entity class reader: definition lines in, class records and "Messages" lines out; the walk
// of the project's entity directories; the real QuakeC sets of the shared data.
#include "EntityClasses.h"
#include "IniFile.h"
#include "RecordingServices.h"
#include "buildtools_util.h"
#include "shareddata.h"
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace {

const char kPath[] = "C:\\qc\\defs.qc";
// Where the reader's messages say a definition on the first line of kPath stands.
const char kWhere[] = "C:\\qc\\defs.qc, line 1";

std::string Loaded(UINT id, LPCSTR a, LPCSTR b = nullptr)
{
    CString format;
    EXPECT_TRUE(format.LoadString(id)) << id;
    CString text;
    text.Format(format, a, b);
    return std::string(text) + "\r\n";
}

class ClassReader : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetEditorServices(&services);
        CReporter::Set(&reporter);
    }
    void TearDown() override
    {
        CReporter::Set(nullptr);
        SetEditorServices(nullptr);
    }
    CRecordingServices services;
    CReporter reporter{&services};
    CEntityClassMap classes;
};

struct LineCase
{
    const char* line;
    const char* name;   // the record's name, or null when none is made
    const char* color;
    int hasSize;
    short size[6];
    const char* flags[8];
    UINT message;       // the one message, or 0
};

TEST_F(ClassReader, DefinitionLines)
{
    const LineCase cases[] = {
        {"/*QUAKED light_torch (0 1 0) (-8 -8 -8) (8 8 8) START_OFF", "light_torch", "0 255 0", 1,
         {-8, 8, -8, 8, -8, 8}, {"START_OFF"}, 0},
        {"/*QUAKED func_door (0 .5 .8) ? START_OPEN", "func_door", "0 127 204", 0, {}, {"START_OPEN"}, 0},
        {"/*QUAKED Monster_Army (1 0 0) (-16 -16 -24) (16 16 40) AMBUSH", "monster_army", "255 0 0", 1,
         {-16, 16, -16, 16, -24, 40}, {"AMBUSH"}, 0},
        {"/*QUAKED white (1 1 1) ?", "white", "255 255 255", 0, {}, {}, 0},
        {"/*QUAKED grey (0.5 0.5 0.5) ?", "grey", "127 127 127", 0, {}, {}, 0},
        // Out-of-range colours are clamped after the scaling.
        {"/*QUAKED clamped (2 0 -1) ?", "clamped", "255 0 0", 0, {}, {}, 0},
        {"/*QUAKED tabs ( 0 0 1)\t?\tA\t\tB", "tabs", "0 0 255", 0, {}, {"A", "B"}, 0},
        // A box that ends the line gives no flag names (nothing read past the line).
        {"/*QUAKED boxed (0 0 0) (-1 -2 -3) (4 5 6)", "boxed", "0 0 0", 1, {-1, 4, -2, 5, -3, 6}, {}, 0},
        {"/*QUAKED nine (0 0 0) ? a b c d e f g h i", "nine", "0 0 0", 0, {},
         {"a", "b", "c", "d", "e", "f", "g", "h"}, 0},
        {"/*QUAKED long (0 0 0) ? 0123456789012345678901234567890123456789 x", "long", "0 0 0", 0, {},
         {"0123456789012345678901234567890", "x"}, 0},
        {"/*QUAKED edge (0 0 0) (-32768 0 0) (32767 0 0)", "edge", "0 0 0", 1, {-32768, 32767, 0, 0, 0, 0}, {},
         0},
        // Faulty definitions: one message each, no record.
        {"/*QUAKED ", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_NO_NAME},
        {"/*QUAKED \t ", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_NO_NAME},
        {"/*QUAKED  twoblanks (1 0 0) ?", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_COLOR},
        {"/*QUAKED nocolor", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_COLOR},
        {"/*QUAKED twonumbers (1 0) ?", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_COLOR},
        {"/*QUAKED noclose (1 0 0 ?", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_COLOR},
        {"/*QUAKED nosize (1 0 0)  \t", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_SIZE},
        {"/*QUAKED nobox (1 0 0) START_OFF", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_SIZE},
        {"/*QUAKED five (1 0 0) (-8 -8 -8) (8 8)", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_SIZE},
        {"/*QUAKED nomin (1 0 0) (-8 -8 -8 (8 8 8)", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_MIN_SIZE},
        {"/*QUAKED nomax (1 0 0) (-8 -8 -8) (8 8 8", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_MAX_SIZE},
        {"/*QUAKED huge (1 0 0) (-8 -8 -8) (8 8 40000) X", nullptr, nullptr, 0, {}, {}, IDS_ENTITY_BAD_SIZE},
        {"/*QUAKED hugelong (1 0 0) (-99999999999999999999 0 0) (8 8 8)", nullptr, nullptr, 0, {}, {},
         IDS_ENTITY_BAD_SIZE},
        // Not definitions at all: nothing made, nothing said.
        {"/*quaked lower (1 0 0) ?", nullptr, nullptr, 0, {}, {}, 0},
        {"/*QUAKEDnoblank (1 0 0) ?", nullptr, nullptr, 0, {}, {}, 0},
        // An indented header and a tab after the prefix still define a class.
        {" \t/*QUAKED indented (1 0 0) ?", "indented", "255 0 0", 0, {}, {}, 0},
        {"/*QUAKED\ttab (1 0 0) ? X", "tab", "255 0 0", 0, {}, {"X"}, 0},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        services.lines.clear();
        classes.RemoveAll();
        CEntityClassReader reader(classes);
        EntityClass* rec = reader.ReadDefinition(c.line, kPath, 1);
        if (!c.name) {
            EXPECT_EQ(nullptr, rec);
            EXPECT_EQ(0, classes.GetCount());
            if (c.message) {
                ASSERT_EQ(1u, services.lines.size());
                // The class name comes before the path in every message but the name's own.
                CString cls(c.line + 9);
                cls = cls.SpanExcluding(" \t");
                cls.MakeLower();
                if (c.message == IDS_ENTITY_NO_NAME)
                    EXPECT_EQ(Loaded(c.message, kWhere), services.lines[0]);
                else if (std::strncmp(c.line, "/*QUAKED  ", 10) == 0)
                    EXPECT_EQ(Loaded(c.message, "twoblanks", kWhere), services.lines[0]);
                else
                    EXPECT_EQ(Loaded(c.message, cls, kWhere), services.lines[0]);
            } else {
                EXPECT_TRUE(services.lines.empty());
            }
            continue;
        }
        ASSERT_NE(nullptr, rec);
        EXPECT_TRUE(services.lines.empty());
        EXPECT_EQ(rec, classes.Lookup(c.name));
        EXPECT_STREQ(c.name, rec->name);
        EXPECT_STREQ(c.color, rec->color);
        EXPECT_EQ(c.hasSize, rec->hasSize);
        for (int i = 0; c.hasSize && i < 6; ++i)
            EXPECT_EQ(c.size[i], rec->size[i]) << i;
        for (int i = 0; i < 8; ++i)
            EXPECT_STREQ(c.flags[i] ? c.flags[i] : "", rec->flagNames[i]) << i;
        EXPECT_TRUE(rec->help.IsEmpty());
        EXPECT_EQ(nullptr, rec->treeItem);
    }
}

TEST_F(ClassReader, AQcFileGivesHelpTextsAndTheFirstDefinitionWins)
{
    bt::TempDir dir;
    CString path = dir / "a.qc";
    bt::WriteTextFile(path, "void() x = {};\r\n"
                            "/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8) START_OFF\r\n"
                            "Lights.\r\n"
                            " */\r\n"
                            "\r\n"
                            "*/\r\n"
                            "/*QUAKED LIGHT (1 0 0) ?\r\n"
                            "second\r\n"
                            "*/\n"
                            "/*QUAKED bad (1 0 0)\n"
                            "/*QUAKED last (0 0 1) ? X\n"
                            "to the end\n"
                            "*/ not the end");
    CEntityClassReader reader(classes);
    ASSERT_TRUE(reader.ReadQcFile(path));
    ASSERT_EQ(2, classes.GetCount());
    const EntityClass* light = classes.Lookup("light");
    ASSERT_NE(nullptr, light);
    EXPECT_STREQ("0 255 0", light->color);
    EXPECT_STREQ("Lights.\r\n */\r\n\r\n", light->help);
    const EntityClass* last = classes.Lookup("last");
    ASSERT_NE(nullptr, last);
    EXPECT_STREQ("to the end\r\n*/ not the end\r\n", last->help);
    // The duplicate is told (where, and which definition is used) and the faulty one.
    ASSERT_EQ(2u, services.lines.size());
    EXPECT_EQ("The class light is defined again in " + std::string(path) + ", line 7.\nThe definition in " +
                  std::string(path) + ", line 2 is used.\r\n",
              services.lines[0]);
    EXPECT_EQ(Loaded(IDS_ENTITY_BAD_SIZE, "bad", path + ", line 10"), services.lines[1]);

    // A file without definitions adds and says nothing; an empty path reads nothing.
    bt::WriteTextFile(dir / "none.qc", "// nothing\n");
    EXPECT_TRUE(reader.ReadQcFile(dir / "none.qc"));
    EXPECT_FALSE(reader.ReadQcFile(""));
    EXPECT_EQ(2, classes.GetCount());
    EXPECT_EQ(2u, services.lines.size());

    // A missing file: its message, and nothing changed.
    EXPECT_FALSE(reader.ReadQcFile(dir / "gone.qc"));
    ASSERT_EQ(3u, services.lines.size());
    EXPECT_EQ(0u, services.lines[2].find("The file " + std::string(dir / "gone.qc") + " could not be opened\nReason: "));
}

TEST_F(ClassReader, TheWalkReadsEachDirectoryInNameOrderAndKeepsTheClassesWithoutAKey)
{
    bt::TempDir dir;
    bt::MakeDirs(dir / "one");
    bt::MakeDirs(dir / "two");
    // Listing order would be b before a on some hosts' file systems; the name order decides.
    bt::WriteTextFile(dir / "one\\b.qc", "/*QUAKED dup (1 0 0) ?\n*/\n/*QUAKED onlyb (0 0 0) ?\n");
    bt::WriteTextFile(dir / "one\\A.qc", "/*QUAKED dup (0 1 0) ?\n*/\n");
    bt::WriteTextFile(dir / "two\\a.qc", "/*QUAKED dup (0 0 1) ?\n*/\n/*QUAKED two (0 0 1) ?\n");
    bt::WriteTextFile(dir / "two\\locked.qc", "/*QUAKED locked (0 0 1) ?\n");
    bt::WriteTextFile(dir / "two\\c.qc", "/*QUAKED three (0 0 1) ?\n");
    HANDLE lock = ::CreateFileA(dir / "two\\locked.qc", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);

    CIniFile project(dir / "p.prj");
    project.AddString("Paths", "Entities", "one;" + dir / "two");
    services.SetProject(&project);
    services.WriteProfileString("Project Settings", "Root Path", dir.Path());
    classes.Add(new EntityClass);  // what a previous load left: replaced by the walk

    CEntityClassReader reader(classes);
    EXPECT_TRUE(reader.ScanEntityDirectories());
    ::CloseHandle(lock);
    EXPECT_EQ(4, classes.GetCount());
    ASSERT_NE(nullptr, classes.Lookup("dup"));
    EXPECT_STREQ("0 255 0", classes.Lookup("dup")->color);
    EXPECT_NE(nullptr, classes.Lookup("onlyb"));
    EXPECT_NE(nullptr, classes.Lookup("two"));
    EXPECT_NE(nullptr, classes.Lookup("three"));
    EXPECT_EQ(nullptr, classes.Lookup("locked"));
    // The later definitions of dup are told, each naming the one that is used.
    ASSERT_EQ(3u, services.lines.size());
    for (const char* again : {"one\\b.qc", "two\\a.qc"})
        EXPECT_NE(services.lines.end(),
                  std::find(services.lines.begin(), services.lines.end(),
                            "The class dup is defined again in " + std::string(dir / again) +
                                ", line 1.\nThe definition in " + std::string(dir / "one\\A.qc") + ", line 1 is used.\r\n"))
            << again;
    EXPECT_NE(std::string::npos, services.lines[2].find("locked.qc could not be opened\nReason: "));

    // No "Entities" key: the classes stay, and the status line says why.
    project.RemoveKey("Paths", "Entities");
    services.lines.clear();
    EXPECT_FALSE(reader.ScanEntityDirectories());
    EXPECT_EQ(4, classes.GetCount());
    ASSERT_EQ(1u, services.statuses.size());
    EXPECT_STREQ("No entity paths are specified in the project settings", services.statuses[0].c_str());

    // The frame's load counts what it read.
    project.AddString("Paths", "Entities", "one");
    services.statuses.clear();
    EXPECT_EQ(2, LoadEntityClasses(classes));
    ASSERT_EQ(3u, services.statuses.size());
    EXPECT_EQ("Loaded 2 entities", services.statuses[1]);
    services.SetProject(nullptr);
}

TEST_F(ClassReader, TheSharedQuakeCSets)
{
    const CString qc = shareddata::Path("qc").c_str();
    SKIP_WITHOUT_SHARED_DATA(qc);
    CIniFile project("Z:\\tmp\\unused.prj");
    services.SetProject(&project);
    services.WriteProfileString("Project Settings", "Root Path", qc);
    struct Set
    {
        const char* dirs;
        int count;
        const char* told; // the one message, or null
    } sets[] = {{"id-v101qc", 99, nullptr},
                {"quakeed-sample", 12, nullptr},
                {"librequake;librequake\\monsters;librequake\\lq1", 96, "The class path_corner is defined again in "}};
    for (const Set& s : sets) {
        SCOPED_TRACE(s.dirs);
        project.RemoveKey("Paths", "Entities");
        project.AddString("Paths", "Entities", s.dirs);
        services.lines.clear();
        CEntityClassReader reader(classes);
        EXPECT_TRUE(reader.ScanEntityDirectories());
        EXPECT_EQ(s.count, classes.GetCount());
        for (size_t i = 0; i < services.lines.size(); ++i)
            if (!s.told || i > 0 || services.lines[i].find(s.told) != 0)
                ADD_FAILURE() << services.lines[i];
        EXPECT_EQ(s.told ? 1u : 0u, services.lines.size());
    }
    const EntityClass* light = classes.Lookup("light");
    ASSERT_NE(nullptr, light);
    EXPECT_EQ(1, light->hasSize);
    services.SetProject(nullptr);
}

TEST_F(ClassReader, RefusedDefinitionsNameTheFileAndTheLine)
{
    const std::string where = kWhere;
    const struct
    {
        const char* line;
        std::string message;
    } cases[] = {
        // A name that a map could not carry in its quoted "classname" value.
        {"/*QUAKED bad\"name (1 0 0) ?", "The class name bad\"name in " + where},
        {"/*QUAKED {brace} (1 0 0) ?", "The class name {brace} in " + where},
        {"/*QUAKED ctl\x01 (1 0 0) ?", "The class name ctl\\x01 in " + where},
        {"/*QUAKED nbsp\xA0x (1 0 0) ?", "The class name nbsp\\xA0x in " + where},
        // Flag lists that do not parse: glued to the box or to "?", or holding brackets or quotes.
        {"/*QUAKED glued (1 0 0) (-8 -8 -8) (8 8 8)START_OFF", "The flag names START_OFF of entity glued could "
                                                                 "not be parsed in " + where},
        {"/*QUAKED q (1 0 0) ?START", "The flag names START of entity q could not be parsed in " + where},
        {"/*QUAKED paren (1 0 0) ? A (B)", "The flag names A (B) of entity paren could not be parsed in " + where},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        services.lines.clear();
        classes.RemoveAll();
        CEntityClassReader reader(classes);
        EXPECT_EQ(nullptr, reader.ReadDefinition(c.line, kPath, 1));
        EXPECT_EQ(0, classes.GetCount());
        ASSERT_EQ(1u, services.lines.size());
        EXPECT_EQ(0u, services.lines[0].find(c.message)) << services.lines[0];
        EXPECT_NE(std::string::npos, services.lines[0].find("The entity will be skipped."));
    }
}

TEST_F(ClassReader, EveryLineEndReadsAlikeAndADefinitionWithoutItsEndStopsAtTheNext)
{
    // Three definitions, help lines between, as a file with each kind of line end.
    const char* lines[] = {"/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8) START_OFF", "Lights.", "*/",
                           "/*QUAKED func_door (0 .5 .8) ? START_OPEN", "", "A door.", "*/",
                           "/*QUAKED info_null (0 0.5 0) (-4 -4 -4) (4 4 4)", "*/"};
    const struct
    {
        const char* what;
        const char* bom;
        const char* end;
    } files[] = {{"CR LF", "", "\r\n"},  {"LF", "", "\n"},         {"CR", "", "\r"}, {"LF CR", "", "\n\r"},
                 {"CR CR LF", "", "\r\r\n"}, {"a byte-order mark", "\xEF\xBB\xBF", "\r\n"}};
    bt::TempDir dir;
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        std::string text = f.bom;
        for (const char* line : lines)
            text += std::string(line) + f.end;
        CString path = dir / "items.qc";
        bt::WriteTextFile(path, text);
        services.lines.clear();
        classes.RemoveAll();
        CEntityClassReader reader(classes);
        ASSERT_TRUE(reader.ReadQcFile(path));
        EXPECT_TRUE(services.lines.empty());
        ASSERT_EQ(3, classes.GetCount());
        const EntityClass* light = classes.Lookup("light");
        ASSERT_NE(nullptr, light);
        EXPECT_STREQ("START_OFF", light->flagNames[0]);
        EXPECT_STREQ("", light->flagNames[1]);
        EXPECT_STREQ("Lights.\r\n", light->help);
        ASSERT_NE(nullptr, classes.Lookup("func_door"));
        EXPECT_STREQ("\r\nA door.\r\n", classes.Lookup("func_door")->help);
        EXPECT_NE(nullptr, classes.Lookup("info_null"));
    }

    // The first definition lacks its "*/": its help ends before the next, which is read, and the
    // reader says so.
    CString path = dir / "open.qc";
    bt::WriteTextFile(path, "/*QUAKED light (0 1 0) ?\nLights.\n/*QUAKED func_door (0 .5 .8) ?\nA door.\n*/\n");
    services.lines.clear();
    classes.RemoveAll();
    CEntityClassReader reader(classes);
    ASSERT_TRUE(reader.ReadQcFile(path));
    ASSERT_EQ(2, classes.GetCount());
    EXPECT_STREQ("Lights.\r\n", classes.Lookup("light")->help);
    EXPECT_STREQ("A door.\r\n", classes.Lookup("func_door")->help);
    ASSERT_EQ(1u, services.lines.size());
    EXPECT_EQ("The definition of light in " + std::string(path) +
                  ", line 1 has no closing \"*/\" before the next \"/*QUAKED\" at line 3; its help text ends there.\r\n",
              services.lines[0]);
}

TEST_F(ClassReader, AClassDefinedInTwoFilesIsToldWithBothPlaces)
{
    bt::TempDir dir;
    bt::WriteTextFile(dir / "a.qc", "// a\n/*QUAKED monster_dog (1 0 0) (-8 -8 -8) (8 8 8)\n*/\n");
    bt::WriteTextFile(dir / "b.qc", "/*QUAKED monster_dog (0 1 0) ?\n*/\n");
    CIniFile project(dir / "p.prj");
    project.AddString("Paths", "Entities", dir.Path());
    services.SetProject(&project);
    services.WriteProfileString("Project Settings", "Root Path", dir.Path());
    CEntityClassReader reader(classes);
    EXPECT_TRUE(reader.ScanEntityDirectories());
    ASSERT_EQ(1, classes.GetCount());
    EXPECT_STREQ("255 0 0", classes.Lookup("monster_dog")->color);
    ASSERT_EQ(1u, services.lines.size());
    EXPECT_EQ("The class monster_dog is defined again in " + std::string(dir / "b.qc") + ", line 1.\nThe definition in " +
                  std::string(dir / "a.qc") + ", line 2 is used.\r\n",
              services.lines[0]);
    services.SetProject(nullptr);
}

} // namespace

#include "AppServices.h"

namespace {

// The model sizes entities from the shell's class map: a brush class has no size box for it.
TEST(AppServicesClasses, TheModelSeesPointClassesWithTheirBoxAndBrushClassesWithTheDefaultBox)
{
    CEntityClassMap classes;
    CAppServices services;
    services.SetEntityClasses(&classes);
    CEntityClassReader reader(classes);
    ASSERT_NE(nullptr, reader.ReadDefinition("/*QUAKED light (0 1 0) (-8 -8 -8) (8 8 8)", kPath, 1));
    ASSERT_NE(nullptr, reader.ReadDefinition("/*QUAKED func_door (0 1 0) ?", kPath, 2));
    const EntityClass* rec = nullptr;
    EXPECT_TRUE(services.LookupEntityClass("light", rec));
    ASSERT_NE(nullptr, rec);
    EXPECT_EQ(-8, rec->size[0]);
    // A brush class used as a point entity gets the default 32-unit box.
    EXPECT_TRUE(services.LookupEntityClass("func_door", rec));
    ASSERT_NE(nullptr, rec);
    EXPECT_EQ(0, rec->hasSize);
    EXPECT_EQ(-16, rec->size[0]);
    EXPECT_EQ(16, rec->size[5]);
    EXPECT_FALSE(services.LookupEntityClass("monster_dog", rec));
    EXPECT_EQ(1, services.IsEntityVisible("func_door_secret"));
    EXPECT_EQ(-1, services.IsEntityVisible("monster_dog"));
}

} // namespace
