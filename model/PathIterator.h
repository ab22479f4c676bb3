// Walks a ";"-separated directory list of the project's "Paths" section and the
// files of one extension in each directory.
#pragma once
#include "afx.h"
#include <set>
#include <string>

// Whether a file name is a name, a dot and exactly the extension (any letter case). A "*.ext"
// search also finds longer extensions and names whose short form matches, and the bare ".ext".
bool HasExactExtension(LPCSTR fileName, LPCSTR extension);

// The same text for every spelling of one directory ("maps", "Maps\\", "maps/."), so that a list
// naming a directory again is seen to do so.
CString DirectoryKey(LPCSTR directory);

class CFileFinder
{
public:
    explicit CFileFinder(LPCSTR pattern);
    virtual ~CFileFinder();
    CFileFinder(const CFileFinder&) = delete;
    CFileFinder& operator=(const CFileFinder&) = delete;

    // True while the find record holds a further entry. A listing error ends the
    // listing; it is reported once.
    BOOL Next();
    const WIN32_FIND_DATAA& GetData() const { return m_data; }

private:
    WIN32_FIND_DATAA m_data;
    HANDLE m_handle;
    BOOL m_first = TRUE;
    CString m_pattern;
};

class CPathIterator
{
public:
    CPathIterator() = default;
    virtual ~CPathIterator();
    CPathIterator(const CPathIterator&) = delete;
    CPathIterator& operator=(const CPathIterator&) = delete;

    // False without a reporter, a root path or an open project, or when the key is
    // missing and an error string is given.
    BOOL Init(LPCSTR key, UINT errorId, LPCSTR extension);
    // The next directory of the list, empty at its end. A directory the walk has already given
    // (named again, or as another spelling of the same place) is passed over: a project file may
    // hold any number of entries, and each would be scanned again.
    const CString& NextDirectory();
    // The next file of the directory whose extension is exactly the iterator's.
    const CString& NextFile();

private:
    CString m_remaining;         // the whole list; the part not yet visited starts at m_next
    int m_next = 0;
    std::set<std::string> m_entries; // the entries met so far, as written
    std::set<std::string> m_seen;    // the directories given so far, as compared
    CString m_extension;
    CString m_root;
    CString m_directory;
    CString m_pattern;
    CString m_file;
    CFileFinder* m_pFinder = nullptr;
};
