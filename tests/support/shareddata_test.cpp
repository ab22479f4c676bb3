// Where the real-file tests look for the shared data and the map compilers: the build's places in the
// form the Windows programs open, an environment variable over them, and a skip that names the path
// it looked for.
#include "shareddata.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>

namespace {

// Sets an environment variable for one test and puts the old value back after it.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name)
    {
        char sz[4096];
        const DWORD n = ::GetEnvironmentVariableA(name, sz, sizeof sz);
        m_had = n > 0 && n < sizeof sz;
        if (m_had)
            m_old.assign(sz, n);
        ::SetEnvironmentVariableA(name, value);
    }
    ~ScopedEnvironment()
    {
        ::SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
    }

private:
    std::string m_name, m_old;
    bool m_had = false;
};

std::string ThisProgram()
{
    char sz[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, sz, MAX_PATH);
    return std::string(sz, n);
}

TEST(SharedData, PathsAreTakenInTheFormWindowsProgramsOpen)
{
    struct
    {
        const char* given;
        const char* opened;
    } cases[] = {
        {"/work/shared/data", "Z:\\work\\shared\\data"},   // a Linux path, through Wine's drive Z:
        {"/work/shared/data/", "Z:\\work\\shared\\data"},
        {"/", "Z:\\"},
        {"C:/checkout/shared/data", "C:\\checkout\\shared\\data"},   // where the build ran on Windows
        {"C:\\shared\\data\\", "C:\\shared\\data"},
        {"C:\\", "C:\\"},
        {"//server/share/data", "\\\\server\\share\\data"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shareddata::WindowsPath(c.given), c.opened) << c.given;
}

TEST(SharedData, TheBuildsFolderUnlessTheEnvironmentNamesAnother)
{
    {
        ScopedEnvironment none("MORVANE_SHARED_DATA", nullptr);
        EXPECT_EQ(shareddata::Root(), shareddata::WindowsPath(MORVANE_SHARED_DATA_DIR));
        EXPECT_EQ(shareddata::Path("maps\\e3m5.map"), shareddata::WindowsPath(MORVANE_SHARED_DATA_DIR) + "\\maps\\e3m5.map");
    }
    ScopedEnvironment other("MORVANE_SHARED_DATA", "/elsewhere/data/");
    EXPECT_EQ(shareddata::Root(), "Z:\\elsewhere\\data");
    EXPECT_EQ(shareddata::Path("qc"), "Z:\\elsewhere\\data\\qc");
}

// The reason a test gives when it skips names the first path missing and where the folder came from.
TEST(SharedData, ASkipSaysWhichPathWasMissingAndWhy)
{
    const std::string present = ThisProgram();
    {
        ScopedEnvironment none("MORVANE_SHARED_DATA", nullptr);
        EXPECT_EQ(shareddata::Lacking(present), "");
        const std::string missing = shareddata::Path("no such folder\\x.map");
        EXPECT_EQ(shareddata::Lacking(present, missing.c_str()),
                  "no shared data at " + missing + " (the data folder " + shareddata::Root() +
                      " is the build's MORVANE_SHARED_DATA setting, ../shared/data beside the project)");
    }
    ScopedEnvironment other("MORVANE_SHARED_DATA", "Z:\\no such folder");
    EXPECT_EQ(shareddata::Lacking(shareddata::Path("maps"), present),
              "no shared data at Z:\\no such folder\\maps (the data folder Z:\\no such folder is named by "
              "MORVANE_SHARED_DATA in the environment)");
}

// Where the build found the compilers' sources it has built them, before the tests, where the tests
// look; where it found none the skip says where it looked.
TEST(SharedData, TheMapCompilersAreWhereTheBuildPutThem)
{
    ScopedEnvironment none("MORVANE_MAP_COMPILERS", nullptr);
    EXPECT_EQ(shareddata::MapCompilers(), shareddata::WindowsPath(MORVANE_MAP_COMPILERS_DIR));
    if (*MORVANE_MAP_COMPILERS_SOURCE != '\0') {
        EXPECT_EQ(shareddata::LackingMapCompilers(), "");
    } else {
        EXPECT_EQ(shareddata::LackingMapCompilers(),
                  "no map compilers at " + shareddata::MapCompilers() +
                      " (the build found no sources to build them from at " MORVANE_MAP_COMPILERS_LOOKED_FOR
                      ", ../shared/tools/map-compilers beside the project)");
        std::printf("the build found no map compilers' sources at %s\n", MORVANE_MAP_COMPILERS_LOOKED_FOR);
    }
    ScopedEnvironment other("MORVANE_MAP_COMPILERS", "/no/compilers");
    EXPECT_EQ(shareddata::LackingMapCompilers(),
              "no map compilers at Z:\\no\\compilers (named by MORVANE_MAP_COMPILERS in the environment)");
}

} // namespace
