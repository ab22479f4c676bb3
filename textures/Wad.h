// A WAD file opened read-only and mapped into memory, with its lump directory.
#pragma once
#include "afx.h"

enum { WAD_TYPE_MIPTEX = 68 }; // "D"

struct WadLump
{
    CString name;             // upper-cased, at most 16 characters
    int offset = 0;           // of the data in the file
    int type = 0;
    int size = 0;             // of the data
    const BYTE* data = nullptr; // into the mapped file
};

// WAD files are untrusted: the header, the directory and every lump are checked
// against the file's size, so no lump points outside the mapping.
class CWad : public CObject
{
    DECLARE_DYNCREATE(CWad)
public:
    CWad();
    ~CWad() override;

    virtual BOOL OnNewDocument();
    // Opens, maps and reads the directory; FALSE after reporting why.
    virtual BOOL OnOpenDocument(LPCSTR path);
    virtual BOOL OnSaveDocument(LPCSTR path);
    // Deletes the remaining lumps, unmaps and closes the file, and deletes the object.
    virtual void OnCloseDocument();

    CPtrList& GetLumps() { return m_lumps; }
    void RemoveLump(WadLump* pLump);
    const CString& GetPathName() const { return m_path; }
    DWORD GetFileSize() const { return m_size; }

private:
    void CloseHandles();

    CPtrList m_lumps; // WadLump*, in directory order
    HANDLE m_hFile = nullptr;
    HANDLE m_hMapping = nullptr;
    const BYTE* m_pView = nullptr;
    DWORD m_size = 0;
    CString m_path;
};
