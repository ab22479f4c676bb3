#include "IniFile.h"
#include "TextFile.h"
#include "Reporter.h"
#include <vector>

CString SystemErrorText(DWORD error)
{
    char buf[256] = "";
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buf,
                               sizeof buf - 1, nullptr);
    CString text(buf, static_cast<int>(n));
    text.TrimRight();
    if (text.IsEmpty())
        text.Format("error %lu", static_cast<unsigned long>(error));
    return text;
}

CIniFile::CIniFile(LPCSTR path) : m_path(path)
{
    Read();
}

CIniFile::~CIniFile()
{
    Write();
    RemoveAllSections();
}

// Frees the values of a section and empties it.
static void ClearKeys(CMapStringToPtr* keys)
{
    CString key;
    void* p;
    for (POSITION pos = keys->GetStartPosition(); pos;) {
        keys->GetNextAssoc(pos, key, p);
        delete static_cast<CString*>(p);
    }
    keys->RemoveAll();
}

// Stores a value under a key, replacing an earlier one.
static void SetKey(CMapStringToPtr* keys, const CString& key, LPCSTR value)
{
    void* p = nullptr;
    if (keys->Lookup(key, p)) {
        *static_cast<CString*>(p) = value;
        return;
    }
    keys->SetAt(key, new CString(value));
}

void CIniFile::RemoveAllSections()
{
    CString name;
    void* p;
    for (POSITION pos = m_sections.GetStartPosition(); pos;) {
        m_sections.GetNextAssoc(pos, name, p);
        ClearKeys(static_cast<CMapStringToPtr*>(p));
        delete static_cast<CMapStringToPtr*>(p);
    }
    m_sections.RemoveAll();
}

CString CIniFile::Bracketed(LPCSTR name)
{
    CString s(name ? name : "");
    if (s.IsEmpty() || s[0] != '[')
        s = "[" + s + "]";
    return s;
}

CMapStringToPtr* CIniFile::AddSection(const CString& name)
{
    void* p = nullptr;
    if (m_sections.Lookup(name, p)) {
        ClearKeys(static_cast<CMapStringToPtr*>(p));
        return static_cast<CMapStringToPtr*>(p);
    }
    CMapStringToPtr* keys = new CMapStringToPtr;
    m_sections.SetAt(name, keys);
    return keys;
}

BOOL CIniFile::Read()
{
    if (m_path.IsEmpty())
        return FALSE;
    HANDLE h = ::CreateFileA(m_path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Report().MessageId(IDS_INI_CANT_OPEN, static_cast<LPCSTR>(m_path),
                           static_cast<LPCSTR>(SystemErrorText(::GetLastError())));
        return FALSE;
    }
    std::vector<char> text;
    char chunk[65536];
    DWORD got = 0;
    while (::ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.insert(text.end(), chunk, chunk + got);
    ::CloseHandle(h);

    CMapStringToPtr* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\n')
            ++end;
        CString line(text.data() + start, static_cast<int>(end - start));
        start = end + 1;
        line.TrimRight("\r");
        if (line.IsEmpty() || line[0] == ' ' || line[0] == '\t')
            continue;
        if (line[0] == '[') {
            line.TrimRight();
            current = AddSection(line);
            continue;
        }
        int eq = line.Find('=');
        if (eq < 0) {
            Report().MessageId(IDS_INI_NO_EQUALS, static_cast<LPCSTR>(line), static_cast<LPCSTR>(m_path));
            continue;
        }
        if (!current) {
            Report().Message("The line %s\nin %s stands before any section and is skipped.",
                             static_cast<LPCSTR>(line), static_cast<LPCSTR>(m_path));
            continue;
        }
        CString key = line.Left(eq), value = line.Mid(eq + 1);
        key.TrimLeft();
        key.TrimRight();
        value.TrimLeft();
        value.TrimRight();
        SetKey(current, key, value);
    }
    return TRUE;
}

BOOL CIniFile::Write()
{
    if (!m_dirty)
        return TRUE;
    CString text;
    CString name, key;
    void* p;
    void* value;
    for (POSITION pos = m_sections.GetStartPosition(); pos;) {
        m_sections.GetNextAssoc(pos, name, p);
        CMapStringToPtr* keys = static_cast<CMapStringToPtr*>(p);
        if (!keys->IsEmpty()) {
            text += name + "\r\n";
            for (POSITION kp = keys->GetStartPosition(); kp;) {
                keys->GetNextAssoc(kp, key, value);
                text += key + "=" + *static_cast<CString*>(value) + "\r\n";
            }
        }
        text += "\r\n";
    }

    DWORD error = 0;
    TextFileResult result =
        WriteTextFileReplacing(m_path, text.GetString(), static_cast<size_t>(text.GetLength()), &error);
    if (result == TEXTFILE_CANT_CREATE) {
        Report().MessageId(IDS_INI_CANT_OPEN, static_cast<LPCSTR>(m_path),
                           static_cast<LPCSTR>(SystemErrorText(error)));
        return FALSE;
    }
    if (result == TEXTFILE_CANT_WRITE) {
        Report().MessageId(IDS_INI_CANT_WRITE, static_cast<LPCSTR>(m_path),
                           static_cast<LPCSTR>(SystemErrorText(error)));
        return FALSE;
    }
    m_dirty = FALSE;
    return TRUE;
}

void CIniFile::SetPath(LPCSTR path)
{
    m_path = path;
    m_dirty = TRUE;
}

CMapStringToPtr* CIniFile::FindSection(LPCSTR name) const
{
    if (m_sections.IsEmpty())
        return nullptr;
    void* p = nullptr;
    if (!m_sections.Lookup(Bracketed(name), p))
        return nullptr;
    return static_cast<CMapStringToPtr*>(p);
}

const CString* CIniFile::GetString(LPCSTR section, LPCSTR key) const
{
    CMapStringToPtr* keys = FindSection(section);
    if (!keys)
        return nullptr;
    void* p = nullptr;
    return keys->Lookup(key, p) ? static_cast<const CString*>(p) : nullptr;
}

BOOL CIniFile::AddString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    CString name = Bracketed(section);
    CMapStringToPtr* keys = FindSection(name);
    void* old;
    if (keys && keys->Lookup(key, old))
        return FALSE;
    if (!keys) {
        keys = new CMapStringToPtr;
        m_sections.SetAt(name, keys);
    }
    SetKey(keys, key, value);
    m_dirty = TRUE;
    return TRUE;
}

BOOL CIniFile::WriteString(LPCSTR section, LPCSTR key, LPCSTR value, BOOL create)
{
    CString name = Bracketed(section);
    CMapStringToPtr* keys = FindSection(name);
    void* old;
    bool exists = keys && keys->Lookup(key, old);
    if (!exists && !create)
        return FALSE;
    if (!keys) {
        keys = new CMapStringToPtr;
        m_sections.SetAt(name, keys);
    }
    SetKey(keys, key, value);
    m_dirty = TRUE;
    return TRUE;
}

void CIniFile::RemoveKey(LPCSTR section, LPCSTR key)
{
    CMapStringToPtr* keys = FindSection(section);
    void* p;
    if (keys && keys->Lookup(key, p)) {
        keys->RemoveKey(key);
        delete static_cast<CString*>(p);
        m_dirty = TRUE;
    }
}

void CIniFile::RemoveSection(LPCSTR section)
{
    CString name = Bracketed(section);
    CMapStringToPtr* keys = FindSection(name);
    if (!keys)
        return;
    ClearKeys(keys);
    m_sections.RemoveKey(name);
    delete keys;
    m_dirty = TRUE;
}
