#include <gtest/gtest.h>
#include "f0_testutil.h"
#include "afxprofile.h"
#include <cstdlib>
#include <cstring>

namespace {
// The same round trips, run against the registry form and the .ini form.
void RoundTrips(CProfileStore& store)
{
    // Defaults for what is missing.
    EXPECT_EQ(store.GetProfileInt("Main Window", "Maximized", 1), 1u);
    EXPECT_EQ(store.GetProfileString("Options", "Last Project"), "");
    EXPECT_EQ(store.GetProfileString("Options", "Auto Save Extension", "map"), "map");
    BYTE* data = reinterpret_cast<BYTE*>(1);
    UINT size = 99;
    EXPECT_FALSE(store.GetProfileBinary("Main Window", "Rectangle", &data, &size));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);

    struct IntCase
    {
        const char* entry;
        int value;
    } ints[] = {{"Reload", 1}, {"Auto Save Interval", 5}, {"Negative", -7}, {"Big", 16744448}};
    for (const IntCase& c : ints) {
        EXPECT_TRUE(store.WriteProfileInt("Options", c.entry, c.value));
        EXPECT_EQ(static_cast<int>(store.GetProfileInt("Options", c.entry, 0)), c.value) << c.entry;
    }
    const char* strings[] = {"C:\\Quake\\id1\\maps\\e1m1.prj", "", "with = sign and spaces"};
    for (const char* s : strings) {
        EXPECT_TRUE(store.WriteProfileString("Recent File List", "File 1", s));
        EXPECT_EQ(store.GetProfileString("Recent File List", "File 1", "default"), s);
    }

    RECT r = {-4, 10, 1280, 1024};
    EXPECT_TRUE(store.WriteProfileBinary("Main Window", "Rectangle", reinterpret_cast<LPBYTE>(&r), sizeof(r)));
    ASSERT_TRUE(store.GetProfileBinary("Main Window", "Rectangle", &data, &size));
    ASSERT_EQ(size, sizeof(r));
    EXPECT_EQ(std::memcmp(data, &r, sizeof(r)), 0);
    delete[] data;

    // A null value deletes the entry, a null entry the section.
    EXPECT_TRUE(store.WriteProfileString("Options", "Reload", nullptr));
    EXPECT_EQ(store.GetProfileInt("Options", "Reload", 42), 42u);
    EXPECT_EQ(store.GetProfileInt("Options", "Auto Save Interval", 0), 5u);
    EXPECT_TRUE(store.WriteProfileString("Options", nullptr, nullptr));
    EXPECT_EQ(store.GetProfileInt("Options", "Auto Save Interval", 0), 0u);
    EXPECT_EQ(store.GetProfileString("Recent File List", "File 1", "x"), strings[2]);
}
} // namespace

TEST(Profile, RegistryFormRoundTripsBelowTheTestRoot)
{
    CProfileTestRoot root;
    CProfileStore store("Morvane");
    store.SetRegistryKey("Morvane Test Company");
    EXPECT_STREQ(store.m_pszProfileName, "Morvane");
    RoundTrips(store);

    // Values live below <root>\<company>\<application>\<section>, with their types.
    HKEY hKey = nullptr;
    CString path = root.GetPath() + "\\Morvane Test Company\\Morvane\\Main Window";
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(::RegQueryValueExA(hKey, "Rectangle", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    ::RegCloseKey(hKey);

    // A value of another type gives the default.
    store.WriteProfileString("Colors", "Grid", "14737632");
    EXPECT_EQ(store.GetProfileInt("Colors", "Grid", 3), 3u);
    store.WriteProfileInt("Colors", "Tile", 5);
    EXPECT_EQ(store.GetProfileString("Colors", "Tile", "none"), "none");

    // Section keys for enumeration; deleting a section takes its subkeys too.
    HKEY hSection = store.GetSectionKey("Styles");
    ASSERT_NE(hSection, nullptr);
    HKEY hSub = nullptr;
    ASSERT_EQ(::RegCreateKeyA(hSection, "#52768", &hSub), ERROR_SUCCESS);
    ::RegCloseKey(hSub);
    char name[64];
    DWORD len = sizeof(name);
    EXPECT_EQ(::RegEnumKeyExA(hSection, 0, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "#52768");
    ::RegCloseKey(hSection);
    EXPECT_TRUE(store.WriteProfileString("Styles", nullptr, nullptr));
    HKEY hApp = store.GetAppRegistryKey();
    ASSERT_NE(hApp, nullptr);
    EXPECT_NE(::RegOpenKeyExA(hApp, "Styles", 0, KEY_READ, &hSub), ERROR_SUCCESS);
    ::RegCloseKey(hApp);

    // Reading a missing section does not create it.
    EXPECT_EQ(store.GetProfileInt("Never Written", "x", 1), 1u);
    EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, root.GetPath() + "\\Morvane Test Company\\Morvane\\Never Written", 0,
                              KEY_READ, &hKey),
              ERROR_SUCCESS);
}

TEST(Profile, TestRootsAreSeparateAndRemoved)
{
    // A test main may already give every test a root of its own; that one comes back afterwards.
    CString outer = CProfileStore::GetSoftwareKeyPath();
    CString path;
    {
        CProfileTestRoot root;
        path = root.GetPath();
        CProfileStore store("Morvane");
        store.SetRegistryKey("Co");
        store.WriteProfileInt("S", "v", 1);
        {
            CProfileTestRoot inner;
            EXPECT_NE(inner.GetPath(), path);
            EXPECT_EQ(store.GetProfileInt("S", "v", 0), 0u);
        }
        EXPECT_EQ(store.GetProfileInt("S", "v", 0), 1u);
        HKEY hKey = nullptr;
        ASSERT_EQ(CProfileStore::OpenSoftwareKey("Co\\Morvane\\S", KEY_READ, &hKey), ERROR_SUCCESS);
        ::RegCloseKey(hKey);
    }
    HKEY hKey = nullptr;
    EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey), ERROR_SUCCESS);
    EXPECT_EQ(CProfileStore::GetSoftwareKeyPath(), outer);
}

TEST(Profile, IniFormRoundTrips)
{
    TempDir dir;
    std::string ini = dir / "morvane.ini";
    CProfileStore store("Morvane");
    std::free(const_cast<char*>(store.m_pszProfileName));
    store.m_pszProfileName = _strdup(ini.c_str());
    EXPECT_EQ(store.m_pszRegistryKey, nullptr);
    EXPECT_EQ(store.GetAppRegistryKey(), nullptr);
    RoundTrips(store);

    std::string text = ReadAllBytes(ini);
    EXPECT_NE(text.find("[Main Window]"), std::string::npos);
    EXPECT_EQ(text.find("[Options]"), std::string::npos);
    // Bytes as letter pairs, low nibble first: -4 is FC FF FF FF.
    EXPECT_NE(text.find("Rectangle=MPPPPPPP"), std::string::npos);
}

TEST(Profile, CurrentStoreIsTheNewestLiveOne)
{
    CProfileStore* outer = AfxGetProfile();
    {
        CProfileStore a("A");
        EXPECT_EQ(AfxGetProfile(), &a);
        {
            CProfileStore b("B");
            EXPECT_EQ(AfxGetProfile(), &b);
        }
        EXPECT_EQ(AfxGetProfile(), &a);
        EXPECT_STREQ(AfxGetProfile()->m_pszAppName, "A");
    }
    EXPECT_EQ(AfxGetProfile(), outer);
}
