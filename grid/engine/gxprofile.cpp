#include "gxprofile.h"
#include <cstring>
#include <vector>

CProfileStore* GXGetProfile() { return AfxGetProfile(); }

BOOL GXProfileUsesRegistry()
{
    CProfileStore* p = GXGetProfile();
    return p != nullptr && p->m_pszRegistryKey != nullptr;
}

namespace {
// The section's key opened for reading, or null; never creates it.
HKEY OpenSection(LPCSTR lpszSection, REGSAM sam = KEY_READ)
{
    CProfileStore* p = GXGetProfile();
    if (p == nullptr || p->m_pszRegistryKey == nullptr || lpszSection == nullptr)
        return nullptr;
    HKEY hApp = p->GetAppRegistryKey();
    if (hApp == nullptr)
        return nullptr;
    HKEY hSection = nullptr;
    if (::RegOpenKeyExA(hApp, lpszSection, 0, sam, &hSection) != ERROR_SUCCESS)
        hSection = nullptr;
    ::RegCloseKey(hApp);
    return hSection;
}

// The value names (or subkey names) of a section's registry key; a name
// longer than the buffer makes it grow.
void EnumNames(LPCSTR lpszSection, CStringArray& names, BOOL bSubkeys)
{
    HKEY h = OpenSection(lpszSection);
    if (h == nullptr)
        return;
    std::vector<char> name(256);
    for (DWORD i = 0;;) {
        DWORD len = static_cast<DWORD>(name.size());
        LONG rc = bSubkeys ? ::RegEnumKeyExA(h, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr)
                           : ::RegEnumValueA(h, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        names.Add(CString(name.data(), static_cast<int>(len)));
        ++i;
    }
    ::RegCloseKey(h);
}

// The profile file the store writes to.
CString IniPath(const CProfileStore* p)
{
    if (p->m_pszProfileName != nullptr && *p->m_pszProfileName != '\0')
        return CString(p->m_pszProfileName);
    return CString(p->m_pszAppName != nullptr ? p->m_pszAppName : "") + ".INI";
}

// The entry names of a profile-file section, read into a buffer that grows
// until the whole list fits.
void IniEntryNames(LPCSTR lpszSection, CStringArray& names)
{
    CProfileStore* p = GXGetProfile();
    if (p == nullptr)
        return;
    CString file = IniPath(p);
    std::vector<char> buf(1024);
    for (;;) {
        DWORD n = ::GetPrivateProfileStringA(lpszSection, nullptr, "", buf.data(), static_cast<DWORD>(buf.size()),
                                             file);
        if (n + 2 < buf.size())
            break;
        buf.resize(buf.size() * 2);
    }
    for (const char* s = buf.data(); *s; s += std::strlen(s) + 1)
        names.Add(s);
}
} // namespace

void GXGetProfileEntryNames(LPCSTR lpszSection, CStringArray& names)
{
    names.RemoveAll();
    if (!GXProfileUsesRegistry()) {
        IniEntryNames(lpszSection, names);
        return;
    }
    EnumNames(lpszSection, names, FALSE);
}

void GXGetProfileSubkeyNames(LPCSTR lpszSection, CStringArray& names)
{
    names.RemoveAll();
    EnumNames(lpszSection, names, TRUE);
}

BOOL GXProfileSectionExists(LPCSTR lpszSection)
{
    if (GXProfileUsesRegistry()) {
        HKEY h = OpenSection(lpszSection);
        if (h == nullptr)
            return FALSE;
        ::RegCloseKey(h);
        return TRUE;
    }
    CProfileStore* p = GXGetProfile();
    if (p == nullptr)
        return FALSE;
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniPath(p));   // flush the cache
    CStringArray names;
    IniEntryNames(lpszSection, names);
    return names.GetSize() > 0;
}

void GXDeleteProfileSubkeys(LPCSTR lpszSection)
{
    CStringArray names;
    GXGetProfileSubkeyNames(lpszSection, names);
    HKEY h = OpenSection(lpszSection, KEY_ALL_ACCESS);
    if (h == nullptr)
        return;
    for (int i = 0; i < names.GetSize(); ++i)
        CProfileStore::DeleteKeyTree(h, names[i]);
    ::RegCloseKey(h);
}
