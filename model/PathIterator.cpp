#include "PathIterator.h"
#include <cstring>
#include "IniFile.h"
#include "Reporter.h"
#include "Services.h"
#include "WadPair.h"

bool HasExactExtension(LPCSTR fileName, LPCSTR extension)
{
    size_t n = std::strlen(fileName), e = std::strlen(extension);
    return n > e + 1 && fileName[n - e - 1] == '.' && lstrcmpiA(fileName + n - e, extension) == 0;
}

CFileFinder::CFileFinder(LPCSTR pattern) : m_pattern(pattern)
{
    ::ZeroMemory(&m_data, sizeof m_data);
    m_handle = ::FindFirstFileA(pattern, &m_data);
}

CFileFinder::~CFileFinder()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        ::FindClose(m_handle);
}

BOOL CFileFinder::Next()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return FALSE;
    if (m_first) {
        m_first = FALSE;
        return TRUE;
    }
    if (::FindNextFileA(m_handle, &m_data))
        return TRUE;
    DWORD error = ::GetLastError();
    ::FindClose(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    if (error != ERROR_NO_MORE_FILES)
        Report().Message("Could not list the files of %s\nReason: %s", static_cast<LPCSTR>(m_pattern),
                         static_cast<LPCSTR>(SystemErrorText(error)));
    return FALSE;
}

CPathIterator::~CPathIterator()
{
    delete m_pFinder;
}

BOOL CPathIterator::Init(LPCSTR key, UINT errorId, LPCSTR extension)
{
    if (!CReporter::Get())
        return FALSE;
    CEditorServices* services = GetEditorServices();
    m_extension = extension;
    m_root = services->GetProfileString("Project Settings", "Root Path", "");
    m_remaining.Empty();
    m_next = 0;
    m_entries.clear();
    m_seen.clear();
    m_directory.Empty();
    m_pattern.Empty();
    m_file.Empty();
    delete m_pFinder;
    m_pFinder = nullptr;
    if (m_root.IsEmpty()) {
        CReporter::Get()->StatusId(IDS_NO_ROOT_PATH);
        return FALSE;
    }
    CIniFile* project = services->GetProject();
    if (!project)
        return FALSE;
    const CString* value = project->GetString("Paths", key);
    if (!value) {
        if (errorId) {
            CReporter::Get()->StatusId(errorId);
            return FALSE;
        }
        return TRUE;
    }
    m_remaining = *value;
    return TRUE;
}

CString DirectoryKey(LPCSTR directory)
{
    CString key = WholePath(directory ? directory : "");
    key.MakeUpper();
    return key;
}

const CString& CPathIterator::NextDirectory()
{
    delete m_pFinder;
    m_pFinder = nullptr;
    m_file.Empty();
    // The list is gone through once: each entry is cut from where the last one ended.
    const int length = m_remaining.GetLength();
    while (m_next < length) {
        int semi = m_remaining.Find(';', m_next);
        if (semi < 0)
            semi = length;
        std::string raw(static_cast<LPCSTR>(m_remaining) + m_next, static_cast<size_t>(semi - m_next));
        m_next = semi + 1;
        // An entry written again is passed over before any work is done on it.
        if (!m_entries.insert(raw).second)
            continue;
        CString entry(raw.c_str(), static_cast<int>(raw.size()));
        if (!IsAbsolutePath(entry))
            m_directory = m_root + "\\" + entry;
        else
            m_directory = entry;
        if (!m_seen.insert(static_cast<LPCSTR>(DirectoryKey(m_directory))).second)
            continue;
        m_pattern = m_directory + "\\*." + m_extension;
        return m_directory;
    }
    m_next = length;
    m_directory.Empty();
    m_pattern.Empty();
    return m_directory;
}

const CString& CPathIterator::NextFile()
{
    m_file.Empty();
    if (m_pattern.IsEmpty())
        return m_file;
    if (!m_pFinder)
        m_pFinder = new CFileFinder(m_pattern);
    while (m_pFinder->Next()) {
        const WIN32_FIND_DATAA& d = m_pFinder->GetData();
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // The search pattern also finds near misses (longer extensions, short names, a bare ".ext").
        if (!m_extension.IsEmpty() && !HasExactExtension(d.cFileName, m_extension))
            continue;
        if (lstrcmpA(d.cFileName, ".") == 0 || lstrcmpA(d.cFileName, "..") == 0)
            continue;
        m_file = m_directory + "\\" + d.cFileName;
        break;
    }
    return m_file;
}
