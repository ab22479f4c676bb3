// A text file of "[section]" lines and "key=value" lines, held in memory (the project file).
#pragma once
#include "afx.h"

// String ids of the project-file and path reports.
enum
{
    IDS_INI_CANT_OPEN = 720,
    IDS_INI_NO_EQUALS = 721,
    IDS_INI_CANT_WRITE = 722,
    IDS_NO_ROOT_PATH = 746,
    IDS_NO_MAP_PATHS = 830,
    IDS_NO_WAD_PATHS = 920,
};

class CIniFile
{
public:
    explicit CIniFile(LPCSTR path);
    virtual ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    BOOL Read();
    // Writes a temporary file beside the target and replaces the target only when
    // the whole text was written.
    BOOL Write();
    BOOL Save() { return Write(); }
    void SetPath(LPCSTR path);
    const CString& GetPath() const { return m_path; }
    void SetDirty(BOOL dirty) { m_dirty = dirty; }
    BOOL IsDirty() const { return m_dirty; }

    CMapStringToPtr* FindSection(LPCSTR name) const;
    const CString* GetString(LPCSTR section, LPCSTR key) const;
    BOOL AddString(LPCSTR section, LPCSTR key, LPCSTR value);
    BOOL WriteString(LPCSTR section, LPCSTR key, LPCSTR value, BOOL create);
    void RemoveKey(LPCSTR section, LPCSTR key);
    void RemoveSection(LPCSTR section);

private:
    static CString Bracketed(LPCSTR name);
    CMapStringToPtr* AddSection(const CString& name);
    void RemoveAllSections();

    CString m_path;
    BOOL m_dirty = FALSE;
    CMapStringToPtr m_sections; // "[name]" -> CMapStringToPtr* of key -> CString*
};

// The system's text for an error code.
CString SystemErrorText(DWORD error);
