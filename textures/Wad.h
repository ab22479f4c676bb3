// A WAD file opened read-only and mapped into memory, with its lump directory.
#pragma once
#include "afxwin.h"

enum { WAD_TYPE_MIPTEX = 68 }; // "D"

struct WadLump
{
    CString name;             // upper-cased, at most 16 characters
    int index = 0;            // in the file's directory, from 0
    int offset = 0;           // of the data in the file
    int type = 0;
    int size = 0;             // of the data
    const BYTE* data = nullptr; // into the mapped file
};

// WAD files are untrusted: only a texture WAD ("WAD2" with at least one lump) is taken, and the
// directory and every lump are checked against the file's size, so no lump points outside the
// mapping; lumps that cannot be used (compressed, or without a printable name) are left out with
// a status line. A document that is never shown: the texture loader opens and closes it directly.
class CWad : public CDocument
{
    DECLARE_DYNCREATE(CWad)
public:
    CWad();
    ~CWad() override;

    BOOL OnNewDocument() override;
    // Opens, maps and reads the directory; FALSE after reporting why.
    BOOL OnOpenDocument(LPCSTR path) override;
    BOOL OnSaveDocument(LPCSTR path) override;
    // Deletes the remaining lumps, unmaps and closes the file, and deletes the object.
    void OnCloseDocument() override;

    CPtrList& GetLumps() { return m_lumps; }
    void RemoveLump(WadLump* pLump);
    DWORD GetFileSize() const { return m_size; }

private:
    void CloseHandles();

    CPtrList m_lumps; // WadLump*, in directory order
    HANDLE m_hFile = nullptr;
    HANDLE m_hMapping = nullptr;
    const BYTE* m_pView = nullptr;
    DWORD m_size = 0;
};
