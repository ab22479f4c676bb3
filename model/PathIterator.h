// Walks a ";"-separated directory list of the project's "Paths" section and the
// files of one extension in each directory.
#pragma once
#include "afx.h"

// Whether a file name is a name, a dot and exactly the extension (any letter case). A "*.ext"
// search also finds longer extensions and names whose short form matches, and the bare ".ext".
bool HasExactExtension(LPCSTR fileName, LPCSTR extension);

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
    const CString& NextDirectory();
    // The next file of the directory whose extension is exactly the iterator's.
    const CString& NextFile();

private:
    CString m_remaining;
    CString m_extension;
    CString m_root;
    CString m_directory;
    CString m_pattern;
    CString m_file;
    CFileFinder* m_pFinder = nullptr;
};
