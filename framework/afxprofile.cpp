#include "afxprofile.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
// Function-local statics: the application object may be built before any
// other static of this file.
std::vector<CProfileStore*>& LiveStores()
{
    static std::vector<CProfileStore*> stores;
    return stores;
}

struct RegistryRoot
{
    HKEY hRoot = HKEY_CURRENT_USER;
    CString path = "Software";
};

RegistryRoot& Root()
{
    static RegistryRoot root;
    return root;
}

LPCSTR Dup(LPCSTR s) { return s != nullptr ? _strdup(s) : nullptr; }

void Replace(LPCSTR& field, LPCSTR value)
{
    std::free(const_cast<char*>(field));
    field = Dup(value);
}

HKEY CreateSubKey(HKEY hParent, LPCSTR lpszSubKey)
{
    HKEY hKey = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(hParent, lpszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                          &hKey, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

// Byte values in a profile file: two letters per byte, 'A' + low nibble then
// 'A' + high nibble.
CString EncodeBinary(const BYTE* pData, UINT nBytes)
{
    CString text;
    LPSTR p = text.GetBufferSetLength(static_cast<int>(nBytes * 2));
    for (UINT i = 0; i < nBytes; ++i) {
        p[i * 2] = static_cast<char>('A' + (pData[i] & 0x0F));
        p[i * 2 + 1] = static_cast<char>('A' + ((pData[i] >> 4) & 0x0F));
    }
    text.ReleaseBuffer(static_cast<int>(nBytes * 2));
    return text;
}

bool DecodeBinary(const CString& text, std::vector<BYTE>& out)
{
    if (text.GetLength() % 2 != 0)
        return false;
    out.clear();
    for (int i = 0; i < text.GetLength(); i += 2) {
        int lo = text[i] - 'A', hi = text[i + 1] - 'A';
        if (lo < 0 || lo > 15 || hi < 0 || hi > 15)
            return false;
        out.push_back(static_cast<BYTE>(lo | (hi << 4)));
    }
    return true;
}
} // namespace

CProfileStore::CProfileStore(LPCSTR lpszAppName)
    : m_pszAppName(Dup(lpszAppName)), m_pszRegistryKey(nullptr), m_pszProfileName(nullptr)
{
    LiveStores().push_back(this);
}

CProfileStore::~CProfileStore()
{
    std::vector<CProfileStore*>& stores = LiveStores();
    stores.erase(std::remove(stores.begin(), stores.end(), this), stores.end());
    std::free(const_cast<char*>(m_pszAppName));
    std::free(const_cast<char*>(m_pszRegistryKey));
    std::free(const_cast<char*>(m_pszProfileName));
}

CProfileStore* AfxGetProfile()
{
    std::vector<CProfileStore*>& stores = LiveStores();
    return stores.empty() ? nullptr : stores.back();
}

void CProfileStore::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    Replace(m_pszRegistryKey, lpszRegistryKey);
    Replace(m_pszProfileName, m_pszAppName != nullptr ? m_pszAppName : "");
}

void CProfileStore::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

CString CProfileStore::IniFile() const
{
    if (m_pszProfileName != nullptr && *m_pszProfileName != '\0')
        return CString(m_pszProfileName);
    return CString(m_pszAppName != nullptr ? m_pszAppName : "") + ".INI";
}

// ---------------------------------------------------------------------------
// Registry keys

void CProfileStore::SetRegistryRoot(HKEY hRoot, LPCSTR lpszSoftwareKey)
{
    Root().hRoot = hRoot;
    Root().path = lpszSoftwareKey;
}

HKEY CProfileStore::GetRegistryRoot() { return Root().hRoot; }

CString CProfileStore::GetSoftwareKeyPath() { return Root().path; }

LONG CProfileStore::OpenSoftwareKey(LPCSTR lpszSubKey, REGSAM samDesired, PHKEY phKey, BOOL bCreate)
{
    CString path = Root().path;
    if (lpszSubKey != nullptr && *lpszSubKey != '\0')
        path += CString("\\") + lpszSubKey;
    *phKey = nullptr;
    if (bCreate) {
        DWORD disposition = 0;
        return ::RegCreateKeyExA(Root().hRoot, path, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr, phKey,
                                 &disposition);
    }
    return ::RegOpenKeyExA(Root().hRoot, path, 0, samDesired, phKey);
}

HKEY CProfileStore::GetAppRegistryKey()
{
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr)
        return nullptr;
    HKEY hSoftKey = nullptr;
    if (OpenSoftwareKey(nullptr, KEY_READ | KEY_WRITE, &hSoftKey, TRUE) != ERROR_SUCCESS)
        return nullptr;
    HKEY hAppKey = nullptr;
    if (HKEY hCompanyKey = CreateSubKey(hSoftKey, m_pszRegistryKey)) {
        hAppKey = CreateSubKey(hCompanyKey, m_pszProfileName);
        ::RegCloseKey(hCompanyKey);
    }
    ::RegCloseKey(hSoftKey);
    return hAppKey;
}

HKEY CProfileStore::GetSectionKey(LPCSTR lpszSection)
{
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == nullptr)
        return nullptr;
    HKEY hSectionKey = CreateSubKey(hAppKey, lpszSection);
    ::RegCloseKey(hAppKey);
    return hSectionKey;
}

// Reading never creates keys: a missing section gives the defaults.
HKEY CProfileStore::OpenSectionForRead(LPCSTR lpszSection)
{
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr || lpszSection == nullptr)
        return nullptr;
    CString path = CString(m_pszRegistryKey) + "\\" + m_pszProfileName + "\\" + lpszSection;
    HKEY hKey = nullptr;
    if (OpenSoftwareKey(path, KEY_READ, &hKey) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

LONG CProfileStore::DeleteKeyTree(HKEY hParent, LPCSTR lpszSubKey)
{
    HKEY hKey = nullptr;
    LONG result = ::RegOpenKeyExA(hParent, lpszSubKey, 0, KEY_READ | KEY_WRITE, &hKey);
    if (result != ERROR_SUCCESS)
        return result;
    for (;;) {
        char name[256];
        DWORD len = sizeof(name);
        if (::RegEnumKeyExA(hKey, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (DeleteKeyTree(hKey, name) != ERROR_SUCCESS)
            break;
    }
    ::RegCloseKey(hKey);
    return ::RegDeleteKeyA(hParent, lpszSubKey);
}

// ---------------------------------------------------------------------------
// Values

UINT CProfileStore::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey == nullptr)
        return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, IniFile());
    HKEY hKey = OpenSectionForRead(lpszSection);
    if (hKey == nullptr)
        return static_cast<UINT>(nDefault);
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG result = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
    ::RegCloseKey(hKey);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return static_cast<UINT>(nDefault);
    return value;
}

CString CProfileStore::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    if (lpszDefault == nullptr)
        lpszDefault = "";
    if (m_pszRegistryKey == nullptr) {
        CString file = IniFile();
        for (DWORD size = 4096;; size *= 2) {
            CString text;
            DWORD n = ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, text.GetBuffer(static_cast<int>(size)),
                                                 size, file);
            text.ReleaseBuffer(static_cast<int>(n));
            if (n < size - 1 || size >= (1u << 24))
                return text;
        }
    }
    HKEY hKey = OpenSectionForRead(lpszSection);
    if (hKey == nullptr)
        return CString(lpszDefault);
    DWORD type = 0, size = 0;
    LONG result = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &type, nullptr, &size);
    CString text(lpszDefault);
    if (result == ERROR_SUCCESS && type == REG_SZ) {
        std::vector<char> buf(size + 1, '\0');
        result = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(buf.data()), &size);
        if (result == ERROR_SUCCESS)
            text = buf.data();
    }
    ::RegCloseKey(hKey);
    return text;
}

BOOL CProfileStore::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    std::vector<BYTE> data;
    if (m_pszRegistryKey == nullptr) {
        CString text = GetProfileString(lpszSection, lpszEntry, nullptr);
        if (text.IsEmpty() || !DecodeBinary(text, data))
            return FALSE;
    } else {
        HKEY hKey = OpenSectionForRead(lpszSection);
        if (hKey == nullptr)
            return FALSE;
        DWORD type = 0, size = 0;
        LONG result = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &type, nullptr, &size);
        if (result == ERROR_SUCCESS && type == REG_BINARY) {
            data.resize(size);
            result = ::RegQueryValueExA(hKey, lpszEntry, nullptr, &type, data.data(), &size);
            data.resize(size);
        }
        ::RegCloseKey(hKey);
        if (result != ERROR_SUCCESS || type != REG_BINARY)
            return FALSE;
    }
    *ppData = new BYTE[data.empty() ? 1 : data.size()];
    if (!data.empty())
        std::memcpy(*ppData, data.data(), data.size());
    *pBytes = static_cast<UINT>(data.size());
    return TRUE;
}

BOOL CProfileStore::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey == nullptr) {
        char text[16];
        wsprintfA(text, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, text, IniFile());
    }
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return FALSE;
    DWORD value = static_cast<DWORD>(nValue);
    LONG result = ::RegSetValueExA(hKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

BOOL CProfileStore::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (m_pszRegistryKey == nullptr)
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, IniFile());
    if (lpszEntry == nullptr) {
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == nullptr)
            return FALSE;
        LONG result = DeleteKeyTree(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return result == ERROR_SUCCESS;
    }
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return FALSE;
    LONG result;
    if (lpszValue == nullptr)
        result = ::RegDeleteValueA(hKey, lpszEntry);
    else
        result = ::RegSetValueExA(hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                  static_cast<DWORD>(std::strlen(lpszValue) + 1));
    ::RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

BOOL CProfileStore::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (m_pszRegistryKey == nullptr)
        return WriteProfileString(lpszSection, lpszEntry, EncodeBinary(pData, nBytes));
    HKEY hKey = GetSectionKey(lpszSection);
    if (hKey == nullptr)
        return FALSE;
    LONG result = ::RegSetValueExA(hKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------

CProfileTestRoot::CProfileTestRoot() : m_hOldRoot(CProfileStore::GetRegistryRoot()), m_strOldPath(CProfileStore::GetSoftwareKeyPath())
{
    static LONG serial = 0;
    char path[128];
    wsprintfA(path, "Software\\Morvane Tests\\%lu-%ld-%lu", ::GetCurrentProcessId(), ::InterlockedIncrement(&serial),
              ::GetTickCount());
    m_strPath = path;
    CProfileStore::DeleteKeyTree(HKEY_CURRENT_USER, m_strPath);
    CProfileStore::SetRegistryRoot(HKEY_CURRENT_USER, m_strPath);
}

CProfileTestRoot::~CProfileTestRoot()
{
    CProfileStore::SetRegistryRoot(m_hOldRoot, m_strOldPath);
    CProfileStore::DeleteKeyTree(HKEY_CURRENT_USER, m_strPath);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Morvane Tests");   // only when no other test uses it
}
