// The shared real data (maps, WADs and QuakeC written by other people) and id's map compilers, for
// the tests that read real files.
//
// The build finds the data folder beside the project (../shared/data, its MORVANE_SHARED_DATA
// setting) and builds the compilers from ../shared/tools/map-compilers into its own tree; it writes
// both places into shareddata_config.h. MORVANE_SHARED_DATA and MORVANE_MAP_COMPILERS in the
// environment name other folders. A folder named the Linux way (/...) is reached through Wine's
// drive Z:, which shows the Linux file system. A test that finds nothing there skips and says which
// path it looked for and why.
#pragma once
#include "shareddata_config.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <initializer_list>
#include <string>

namespace shareddata {

// A path as Windows programs open it: slashes become backslashes, and a Linux absolute path
// ("/work/...") is taken on drive Z:.
inline std::string WindowsPath(std::string path)
{
    const bool linuxAbsolute = path.size() > 0 && path[0] == '/' && (path.size() == 1 || path[1] != '/');
    for (char& c : path)
        if (c == '/')
            c = '\\';
    if (linuxAbsolute)
        path = "Z:" + path;
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

// The value of an environment variable; empty when it is not set.
inline std::string Environment(const char* name)
{
    char sz[4096];
    const DWORD n = ::GetEnvironmentVariableA(name, sz, sizeof sz);
    return n > 0 && n < sizeof sz ? std::string(sz, n) : std::string();
}

// The data folder: MORVANE_SHARED_DATA from the environment, else the build's.
inline std::string Root()
{
    const std::string env = Environment("MORVANE_SHARED_DATA");
    return WindowsPath(env.empty() ? MORVANE_SHARED_DATA_DIR : env);
}

// A file or folder of the data, named relative to it with backslashes ("maps\\e3m5.map").
inline std::string Path(const std::string& relative)
{
    return relative.empty() ? Root() : Root() + "\\" + relative;
}

inline bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string Text(const char* s)
{
    return s;
}

inline std::string Text(const std::string& s)
{
    return s;
}

// Why a test cannot run: the first of the paths that is not there, and where the data folder comes
// from. Empty when every path is there.
inline std::string LackingOf(std::initializer_list<std::string> paths)
{
    for (const std::string& path : paths)
        if (!Exists(path))
            return "no shared data at " + path + " (the data folder " + Root() + " is " +
                   (Environment("MORVANE_SHARED_DATA").empty()
                        ? "the build's MORVANE_SHARED_DATA setting, ../shared/data beside the project"
                        : "named by MORVANE_SHARED_DATA in the environment") +
                   ")";
    return std::string();
}

// The same for any mix of texts (std::string, C strings and what converts to them, as CString does).
template <class... Paths>
std::string Lacking(const Paths&... paths)
{
    return LackingOf({Text(paths)...});
}

// The folder of id's qbsp.exe, vis.exe and light.exe: MORVANE_MAP_COMPILERS from the environment,
// else where the build put them.
inline std::string MapCompilers()
{
    const std::string env = Environment("MORVANE_MAP_COMPILERS");
    return WindowsPath(env.empty() ? MORVANE_MAP_COMPILERS_DIR : env);
}

// Why a test that runs the compilers cannot: empty when all three are there.
inline std::string LackingMapCompilers()
{
    const std::string dir = MapCompilers();
    for (const char* tool : {"qbsp.exe", "vis.exe", "light.exe"})
        if (!Exists(dir + "\\" + tool)) {
            std::string why = "no map compilers at " + dir + " (";
            if (!Environment("MORVANE_MAP_COMPILERS").empty())
                why += "named by MORVANE_MAP_COMPILERS in the environment)";
            else if (*MORVANE_MAP_COMPILERS_SOURCE == '\0')
                why += std::string("the build found no sources to build them from at ") + MORVANE_MAP_COMPILERS_LOOKED_FOR +
                       ", ../shared/tools/map-compilers beside the project)";
            else
                why += std::string("the build makes them there from ") + MORVANE_MAP_COMPILERS_SOURCE + ")";
            return why;
        }
    return std::string();
}

} // namespace shareddata

// Skips the running test, saying why, unless every one of the given paths of the shared data is
// there (a test body or a fixture's SetUp).
#define SKIP_WITHOUT_SHARED_DATA(...)                                                                                 \
    do {                                                                                                              \
        const std::string whySkipped_ = ::shareddata::Lacking(__VA_ARGS__);                                         \
        if (!whySkipped_.empty())                                                                                     \
            GTEST_SKIP() << whySkipped_;                                                                              \
    } while (0)
