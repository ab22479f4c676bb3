// A text file of "[section]" lines and "key=value" lines, held in memory (the project file).
//
// The file is the user's: it is read and written only when asked, and a write gives back every
// line as it was read, in its place, except the keys that were changed. Lines the reader does
// not understand (comments, junk) are kept, and so are the byte-order mark and the line ends.
#pragma once
#include "afx.h"
#include <memory>
#include <string>
#include <vector>

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
    // Keeps the path; nothing is read until Read.
    explicit CIniFile(LPCSTR path);
    // Nothing is written: a changed project is saved by its owner.
    virtual ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Replaces what is held by the file's contents; FALSE, reported, when the file cannot be read
    // (a missing file is not created). Lines it does not understand are reported to "Messages",
    // each with the file and its line number, and kept.
    BOOL Read();
    // Writes a temporary file beside the target and replaces the target only when the whole text
    // was written. Nothing is written when nothing changed. A file marked read-only is left as it
    // is (FALSE; the first such write of the path says so in "Messages").
    BOOL Write();
    BOOL Save() { return Write(); }
    // The system's error code when the last write to the disk failed; 0 after one that succeeded.
    DWORD GetWriteError() const { return m_writeError; }
    void SetPath(LPCSTR path);
    const CString& GetPath() const { return m_path; }
    void SetDirty(BOOL dirty) { m_dirty = dirty; }
    BOOL IsDirty() const { return m_dirty; }

    // Section names may be given with or without their brackets; section names and keys are
    // compared without regard to case. A section written twice in the file is one section.
    BOOL HasSection(LPCSTR name) const;
    // The section's keys in file order, each once; FALSE when there is no such section.
    BOOL GetKeys(LPCSTR section, CStringArray& keys) const;
    const CString* GetString(LPCSTR section, LPCSTR key) const;
    // The values of the keys prefix1, prefix2, ... of the section, in that order, up to the first
    // number without a key, read in one pass however long the list. Returns the lowest number
    // past that gap that has a key (0 when none), whose entries are not in the list.
    int GetNumberedValues(LPCSTR section, LPCSTR prefix, CStringArray& values) const;
    // FALSE when the section already holds the key.
    BOOL AddString(LPCSTR section, LPCSTR key, LPCSTR value);
    // An existing key takes the value in its place; a missing key is added (at the end of its
    // section) only when create is set. Writing the value a key already has changes nothing.
    BOOL WriteString(LPCSTR section, LPCSTR key, LPCSTR value, BOOL create);
    // A value that stands in for a missing key while the project is open, never written: what
    // the editor chose by itself, not the user. The user's own value (WriteString) replaces it.
    void SetSessionString(LPCSTR section, LPCSTR key, LPCSTR value);
    void RemoveKey(LPCSTR section, LPCSTR key);
    // Removes every key of the section; lines it does not understand stay, and so does the
    // section's place, where keys written to it again go.
    void RemoveSection(LPCSTR section);

private:
    struct Line;
    using Lines = std::vector<std::unique_ptr<Line>>;

    static CString SectionName(LPCSTR name);
    void Parse(const std::vector<char>& data);
    void Problem(LPCSTR format, const std::string& text, int number);
    // The last line of the key in the section, or -1.
    int FindKey(const CString& section, LPCSTR key) const;
    // Takes away the key lines of the section (key null: all of them); the number of them that
    // were the file's (not stand-ins).
    size_t DropKeys(const CString& section, LPCSTR key);
    // Adds a key line at the end of the section (made when missing).
    Line* InsertKey(const CString& section, LPCSTR key, LPCSTR value, bool session);
    bool IsWritten(size_t index) const;

    CString m_path;
    BOOL m_dirty = FALSE;
    DWORD m_writeError = 0;
    Lines m_lines;
    std::string m_bom;              // a UTF-8 byte-order mark as read
    std::string m_newline = "\r\n"; // the file's own line end, for lines made here
    bool m_toldReadOnly = false;    // the read-only file was named in "Messages"
};

// The system's text for an error code.
CString SystemErrorText(DWORD error);
