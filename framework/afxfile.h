// Files: the system file, text files with whole lines, growable memory files
// and memory files over movable global memory (clipboard data).
#pragma once
#include "afxobj.h"
#include "afxstr.h"
#include "afxexcept.h"
#include <cstdio>

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,      // like shareExclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,         // honoured by CStdioFile
        typeBinary = 0x8000
    };
    enum SeekPosition
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };
    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);
    // Opens the file or throws a CFileException.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // FALSE on failure, with the cause, the system error and the name in
    // *pError when given.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    virtual DWORD GetPosition() const;
    virtual LONG Seek(LONG lOff, UINT nFrom);
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    void SeekToBegin() { Seek(0, begin); }
    virtual void SetLength(DWORD dwNewLen);
    virtual DWORD GetLength() const;

    // Read returns the number of bytes read (fewer at the end of the file).
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();

    // The full path given to Open; the name part; the name without extension.
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

    static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void Remove(LPCSTR lpszFileName);

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

// Makes a new, empty file for writing beside a target, at a name that held nothing: the target's
// path with the suffix, else with "." n and the suffix for n = 2, 3, ... A name already taken (a
// file, a folder) is passed over and left as it is: the caller may delete or rename only what this
// made. The handle (no sharing) and its path; INVALID_HANDLE_VALUE with the system error in *pError
// (when given) when no name could be made.
HANDLE AfxCreateFileBeside(LPCSTR lpszTarget, LPCSTR lpszSuffix, CString& strPath, DWORD* pError = nullptr);

// A text or binary file read and written through the runtime's streams: text
// mode turns CR LF into LF when reading and LF into CR LF when writing.
class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    explicit CStdioFile(FILE* pOpenStream);
    CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CStdioFile() override;

    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

    // The next line without its line end, however long; FALSE at the end of
    // the file when nothing was read.
    virtual BOOL ReadString(CString& rString);
    // Up to nMax - 1 characters of the next line, keeping its "\n"; null at
    // the end of the file.
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
    virtual void WriteString(LPCSTR lpsz);

    DWORD GetPosition() const override;
    LONG Seek(LONG lOff, UINT nFrom) override;
    DWORD GetLength() const override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    FILE* m_pStream;
};

// A file in memory that grows in steps of nGrowBytes (0: fixed size).
class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // Works on the caller's buffer; the caller keeps it unless it is detached.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the memory to the caller (free it with free()) and empties the file.
    BYTE* Detach();

    DWORD GetPosition() const override { return m_nPosition; }
    LONG Seek(LONG lOff, UINT nFrom) override;
    void SetLength(DWORD dwNewLen) override;
    DWORD GetLength() const override { return m_nFileSize; }
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void Flush() override {}
    void Close() override;
    void Abort() override;
    BOOL Open(LPCSTR, UINT, CFileException* = nullptr) override { return FALSE; }
    CString GetFilePath() const override { return CString(); }

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(DWORD dwNewLen);

    UINT m_nGrowBytes;
    DWORD m_nPosition;
    DWORD m_nBufferSize;
    DWORD m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};

// A memory file over movable global memory, as the clipboard wants it.
class CSharedFile : public CMemFile
{
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
    ~CSharedFile() override;

    // Hands the memory handle to the caller and empties the file.
    HGLOBAL Detach();
    // Takes over a memory handle: its whole size is the file's contents.
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory;
    BOOL m_bAllowGrow;
};
