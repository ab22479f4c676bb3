// The application's settings store: sections of named integers, strings and
// byte values, kept in the registry below
// HKEY_CURRENT_USER\Software\<company>\<application> once SetRegistryKey has
// chosen the company key, otherwise in a private profile (.ini) file.
#pragma once
#include "afxstr.h"

class CProfileStore
{
public:
    explicit CProfileStore(LPCSTR lpszAppName = nullptr);
    CProfileStore(const CProfileStore&) = delete;
    CProfileStore& operator=(const CProfileStore&) = delete;
    virtual ~CProfileStore();

    // Owned strings made with _strdup and released with free(); code that
    // replaces one frees the old value and stores a _strdup'ed new one.
    LPCSTR m_pszAppName;
    LPCSTR m_pszRegistryKey;   // the company key; null: the private profile file is used
    LPCSTR m_pszProfileName;   // registry: the application's key; otherwise the .ini file

    // Chooses the registry: company key, then the application name as its subkey.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);

    // The default when the value is missing or of another type.
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    // A new[] buffer the caller deletes; FALSE (null, 0) when there is none.
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData, UINT* pBytes);

    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // A null value deletes the entry; a null entry deletes the whole section.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // Keys the caller closes with RegCloseKey; created when missing; null
    // without a registry key or on failure.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR lpszSection);

    // Where "HKEY_CURRENT_USER\Software" really is. Tests point it at a key of
    // their own (see CProfileTestRoot); code that reads other programs'
    // settings below Software opens them through OpenSoftwareKey.
    static void SetRegistryRoot(HKEY hRoot, LPCSTR lpszSoftwareKey);
    static HKEY GetRegistryRoot();
    static CString GetSoftwareKeyPath();
    static LONG OpenSoftwareKey(LPCSTR lpszSubKey, REGSAM samDesired, PHKEY phKey, BOOL bCreate = FALSE);

    // Deletes a key with all its subkeys and values.
    static LONG DeleteKeyTree(HKEY hParent, LPCSTR lpszSubKey);

private:
    CString IniFile() const;
    HKEY OpenSectionForRead(LPCSTR lpszSection);
};

// The settings store of the running program: the most recently constructed
// store that still exists (the application object), or null.
CProfileStore* AfxGetProfile();

// Gives a test a registry root of its own (below
// HKEY_CURRENT_USER\Software\Morvane Tests) for as long as it lives, and
// removes it afterwards.
class CProfileTestRoot
{
public:
    CProfileTestRoot();
    ~CProfileTestRoot();
    CProfileTestRoot(const CProfileTestRoot&) = delete;
    CProfileTestRoot& operator=(const CProfileTestRoot&) = delete;
    // The key's path below HKEY_CURRENT_USER.
    const CString& GetPath() const { return m_strPath; }

private:
    CString m_strPath;
    HKEY m_hOldRoot;
    CString m_strOldPath;
};
