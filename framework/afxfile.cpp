#include "afxfile.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {
CString FullPath(LPCSTR lpszFileName)
{
    char buf[MAX_PATH * 2];
    LPSTR filePart = nullptr;
    DWORD n = ::GetFullPathNameA(lpszFileName, sizeof(buf), buf, &filePart);
    if (n == 0 || n >= sizeof(buf))
        return CString(lpszFileName);
    return CString(buf);
}

int NameStart(const CString& path)
{
    int i = path.GetLength();
    while (i > 0 && path[i - 1] != '\\' && path[i - 1] != '/' && path[i - 1] != ':')
        --i;
    return i;
}

void FillError(CFileException* pError, LONG lOsError, int cause, LPCSTR lpszFileName)
{
    if (pError == nullptr)
        return;
    pError->m_lOsError = lOsError;
    pError->m_cause = cause;
    pError->m_strFileName = lpszFileName;
}

[[noreturn]] void ThrowLastError(const CString& fileName)
{
    LONG err = static_cast<LONG>(::GetLastError());
    if (err == 0)
        AfxThrowFileException(CFileException::generic, -1, fileName);
    CFileException::ThrowOsError(err, fileName);
    AfxThrowFileException(CFileException::generic, err, fileName);
}
} // namespace

HANDLE AfxCreateFileBeside(LPCSTR lpszTarget, LPCSTR lpszSuffix, CString& strPath, DWORD* pError)
{
    // A few names are tried: more files of these names than that are nobody's slip.
    const int kNames = 100;
    DWORD error = ERROR_FILE_EXISTS;
    for (int n = 1; n <= kNames; ++n) {
        if (n == 1)
            strPath.Format("%s%s", lpszTarget, lpszSuffix);
        else
            strPath.Format("%s.%d%s", lpszTarget, n, lpszSuffix);
        HANDLE h = ::CreateFileA(strPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
        error = ::GetLastError();
        // Taken: the system says so, or (a folder of that name) denies the access.
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
            ::GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES)
            break;
        error = ERROR_FILE_EXISTS;
    }
    strPath.Empty();
    if (pError)
        *pError = error;
    return INVALID_HANDLE_VALUE;
}

// ---------------------------------------------------------------------------
// CFile

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_bCloseOnDelete = FALSE;
    m_hFile = hFileNull;
    m_strFileName.Empty();
    if (lpszFileName == nullptr || *lpszFileName == '\0') {
        FillError(pError, ERROR_INVALID_NAME, CFileException::badPath, lpszFileName);
        return FALSE;
    }
    m_strFileName = FullPath(lpszFileName);

    DWORD access = 0;
    switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break;   // compatibility and exclusive
    }
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (nOpenFlags & modeNoInherit) == 0};
    DWORD creation = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        creation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    HANDLE h = ::CreateFileA(lpszFileName, access, share, &sa, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        LONG err = static_cast<LONG>(::GetLastError());
        FillError(pError, err, CFileException::OsErrorToException(err), lpszFileName);
        m_strFileName.Empty();
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

DWORD CFile::GetPosition() const
{
    DWORD pos = ::SetFilePointer(m_hFile, 0, nullptr, FILE_CURRENT);
    if (pos == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
        ThrowLastError(m_strFileName);
    return pos;
}

LONG CFile::Seek(LONG lOff, UINT nFrom)
{
    ::SetLastError(NO_ERROR);
    DWORD pos = ::SetFilePointer(m_hFile, lOff, nullptr, nFrom);
    if (pos == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
        ThrowLastError(m_strFileName);
    return static_cast<LONG>(pos);
}

void CFile::SetLength(DWORD dwNewLen)
{
    Seek(static_cast<LONG>(dwNewLen), begin);
    if (!::SetEndOfFile(m_hFile))
        ThrowLastError(m_strFileName);
}

DWORD CFile::GetLength() const
{
    DWORD size = ::GetFileSize(m_hFile, nullptr);
    if (size == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        ThrowLastError(m_strFileName);
    return size;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD read = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &read, nullptr))
        ThrowLastError(m_strFileName);
    return read;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD written = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &written, nullptr))
        ThrowLastError(m_strFileName);
    if (written != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !::FlushFileBuffers(m_hFile))
        ThrowLastError(m_strFileName);
}

void CFile::Close()
{
    BOOL ok = TRUE;
    if (m_hFile != hFileNull)
        ok = ::CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    CString name = m_strFileName;
    m_strFileName.Empty();
    if (!ok)
        ThrowLastError(name);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        ::CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const
{
    CString path = GetFilePath();
    return path.Mid(NameStart(path));
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (!::MoveFileA(lpszOldName, lpszNewName))
        ThrowLastError(CString(lpszOldName));
}

void CFile::Remove(LPCSTR lpszFileName)
{
    if (!::DeleteFileA(lpszFileName))
        ThrowLastError(CString(lpszFileName));
}

// ---------------------------------------------------------------------------
// CStdioFile

namespace {
[[noreturn]] void ThrowStreamError(const CString& fileName)
{
    int err = errno != 0 ? errno : EIO;
    CFileException::ThrowErrno(err, fileName);
    AfxThrowFileException(CFileException::generic, -1, fileName);
}
} // namespace

CStdioFile::CStdioFile() : m_pStream(nullptr) {}

CStdioFile::CStdioFile(FILE* pOpenStream) : m_pStream(pOpenStream)
{
    if (pOpenStream != nullptr)
        m_hFile = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(pOpenStream)));
}

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_pStream(nullptr)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_pStream != nullptr && m_bCloseOnDelete)
        Abort();
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_pStream = nullptr;
    if (!CFile::Open(lpszFileName, nOpenFlags & ~typeText & ~typeBinary, pError))
        return FALSE;

    const bool text = (nOpenFlags & typeBinary) == 0;
    int osFlags = text ? _O_TEXT : _O_BINARY;
    char mode[4] = {};
    switch (nOpenFlags & 3) {
    case modeRead:
        osFlags |= _O_RDONLY;
        mode[0] = 'r';
        break;
    case modeWrite:
        osFlags |= _O_WRONLY;
        mode[0] = 'w';
        break;
    default:
        osFlags |= _O_RDWR;
        mode[0] = 'r';
        mode[1] = '+';
        break;
    }
    // Created-but-kept files are written at their end, as the runtime's
    // append mode does.
    if ((nOpenFlags & modeCreate) && (nOpenFlags & modeNoTruncate) && (nOpenFlags & 3) != modeRead) {
        osFlags |= _O_APPEND;
        mode[0] = 'a';
    }
    std::strcat(mode, text ? "t" : "b");

    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(m_hFile), osFlags);
    if (fd != -1)
        m_pStream = _fdopen(fd, mode);
    if (m_pStream == nullptr) {
        int err = errno;
        if (fd != -1)
            _close(fd);   // closes the system handle too
        else
            ::CloseHandle(m_hFile);
        m_hFile = hFileNull;
        m_bCloseOnDelete = FALSE;
        FillError(pError, _doserrno, CFileException::ErrnoToException(err), lpszFileName);
        m_strFileName.Empty();
        return FALSE;
    }
    return TRUE;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    char chunk[256];
    bool any = false;
    for (;;) {
        errno = 0;
        if (std::fgets(chunk, sizeof(chunk), m_pStream) == nullptr) {
            if (std::ferror(m_pStream)) {
                std::clearerr(m_pStream);
                ThrowStreamError(m_strFileName);
            }
            break;
        }
        any = true;
        size_t n = std::strlen(chunk);
        if (n > 0 && chunk[n - 1] == '\n') {
            rString += CString(chunk, static_cast<int>(n - 1));
            return TRUE;
        }
        rString += CString(chunk, static_cast<int>(n));
    }
    return any;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax)
{
    errno = 0;
    LPSTR p = std::fgets(lpsz, static_cast<int>(nMax), m_pStream);
    if (p == nullptr && std::ferror(m_pStream)) {
        std::clearerr(m_pStream);
        ThrowStreamError(m_strFileName);
    }
    return p;
}

void CStdioFile::WriteString(LPCSTR lpsz)
{
    errno = 0;
    if (std::fputs(lpsz, m_pStream) == EOF)
        ThrowStreamError(m_strFileName);
}

DWORD CStdioFile::GetPosition() const
{
    errno = 0;
    long pos = std::ftell(m_pStream);
    if (pos == -1L)
        ThrowStreamError(m_strFileName);
    return static_cast<DWORD>(pos);
}

LONG CStdioFile::Seek(LONG lOff, UINT nFrom)
{
    static const int origins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    errno = 0;
    if (nFrom > end || std::fseek(m_pStream, lOff, origins[nFrom]) != 0)
        AfxThrowFileException(CFileException::badSeek, _doserrno, m_strFileName);
    return static_cast<LONG>(GetPosition());
}

DWORD CStdioFile::GetLength() const
{
    errno = 0;
    long here = std::ftell(m_pStream);
    if (here == -1L || std::fseek(m_pStream, 0, SEEK_END) != 0)
        ThrowStreamError(m_strFileName);
    long size = std::ftell(m_pStream);
    if (size == -1L || std::fseek(m_pStream, here, SEEK_SET) != 0)
        ThrowStreamError(m_strFileName);
    return static_cast<DWORD>(size);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    errno = 0;
    size_t n = std::fread(lpBuf, 1, nCount, m_pStream);
    if (n == 0 && std::ferror(m_pStream)) {
        std::clearerr(m_pStream);
        ThrowStreamError(m_strFileName);
    }
    return static_cast<UINT>(n);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    errno = 0;
    if (std::fwrite(lpBuf, 1, nCount, m_pStream) != nCount)
        ThrowStreamError(m_strFileName);
}

void CStdioFile::Flush()
{
    errno = 0;
    if (m_pStream != nullptr && std::fflush(m_pStream) != 0)
        ThrowStreamError(m_strFileName);
}

void CStdioFile::Close()
{
    int result = 0;
    if (m_pStream != nullptr) {
        errno = 0;
        result = std::fclose(m_pStream);
    }
    m_pStream = nullptr;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    CString name = m_strFileName;
    m_strFileName.Empty();
    if (result != 0)
        ThrowStreamError(name);
}

void CStdioFile::Abort()
{
    if (m_pStream != nullptr && m_bCloseOnDelete)
        std::fclose(m_pStream);
    m_pStream = nullptr;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

// ---------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(nBufferSize),
      m_nFileSize(nGrowBytes == 0 ? nBufferSize : 0), m_lpBuffer(lpBuffer), m_bAutoDelete(FALSE)
{
}

CMemFile::~CMemFile()
{
    if (m_lpBuffer != nullptr)
        Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    if (m_lpBuffer != nullptr)
        Close();
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    // A fixed buffer holds data; a growable one starts empty.
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return p;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }
BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }
void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(DWORD dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    DWORD newSize = m_nBufferSize;
    while (newSize < dwNewLen) {
        DWORD next = newSize + m_nGrowBytes;
        if (next < newSize)
            AfxThrowMemoryException();
        newSize = next;
    }
    BYTE* p = nullptr;
    if (m_lpBuffer == nullptr) {
        p = Alloc(newSize);
    } else if (m_bAutoDelete) {
        p = Realloc(m_lpBuffer, newSize);
    } else {
        // The caller's buffer is left as it is; the file moves to its own memory.
        p = Alloc(newSize);
        if (p != nullptr)
            std::memcpy(p, m_lpBuffer, m_nFileSize);
    }
    if (p == nullptr)
        AfxThrowMemoryException();
    m_lpBuffer = p;
    m_nBufferSize = newSize;
    m_bAutoDelete = TRUE;
}

LONG CMemFile::Seek(LONG lOff, UINT nFrom)
{
    LONGLONG pos;
    switch (nFrom) {
    case begin: pos = lOff; break;
    case current: pos = static_cast<LONGLONG>(m_nPosition) + lOff; break;
    case end: pos = static_cast<LONGLONG>(m_nFileSize) + lOff; break;
    default: AfxThrowFileException(CFileException::badSeek, -1);
    }
    if (pos < 0 || pos > 0x7FFFFFFF)
        AfxThrowFileException(CFileException::badSeek, -1);
    m_nPosition = static_cast<DWORD>(pos);
    return static_cast<LONG>(pos);
}

void CMemFile::SetLength(DWORD dwNewLen)
{
    if (dwNewLen > m_nBufferSize)
        GrowFile(dwNewLen);
    if (dwNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
    if (dwNewLen < m_nPosition)
        m_nPosition = dwNewLen;
    m_nFileSize = dwNewLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    UINT n = m_nFileSize - m_nPosition;
    if (n > nCount)
        n = nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD endPos = m_nPosition + nCount;
    if (endPos < m_nPosition)
        AfxThrowFileException(CFileException::diskFull, -1);
    if (endPos > m_nBufferSize)
        GrowFile(endPos);
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = endPos;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

void CMemFile::Close()
{
    if (m_lpBuffer != nullptr && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
}

void CMemFile::Abort() { Close(); }

// ---------------------------------------------------------------------------
// CSharedFile

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(nullptr), m_bAllowGrow(TRUE)
{
}

CSharedFile::~CSharedFile()
{
    if (m_lpBuffer != nullptr)
        Close();
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL h = m_hGlobalMemory;
    if (h != nullptr)
        ::GlobalUnlock(h);
    m_hGlobalMemory = nullptr;
    m_lpBuffer = nullptr;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    return h;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    if (m_lpBuffer != nullptr)
        Close();
    m_hGlobalMemory = hGlobalMemory;
    m_lpBuffer = static_cast<BYTE*>(::GlobalLock(hGlobalMemory));
    m_nBufferSize = m_nFileSize = static_cast<DWORD>(::GlobalSize(hGlobalMemory));
    m_nPosition = 0;
    m_bAllowGrow = bAllowGrow;
    m_bAutoDelete = TRUE;
    if (!bAllowGrow)
        m_nGrowBytes = 0;
    else if (m_nGrowBytes == 0)
        m_nGrowBytes = 4096;
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes)
{
    HGLOBAL h = ::GlobalAlloc(m_nAllocFlags, nBytes);
    if (h == nullptr)
        return nullptr;
    m_hGlobalMemory = h;
    return static_cast<BYTE*>(::GlobalLock(h));
}

BYTE* CSharedFile::Realloc(BYTE*, SIZE_T nBytes)
{
    if (!m_bAllowGrow)
        return nullptr;
    ::GlobalUnlock(m_hGlobalMemory);
    HGLOBAL h = ::GlobalReAlloc(m_hGlobalMemory, nBytes, GMEM_MOVEABLE | (m_nAllocFlags & GMEM_ZEROINIT));
    if (h == nullptr) {
        ::GlobalLock(m_hGlobalMemory);   // the old block stays valid
        return nullptr;
    }
    m_hGlobalMemory = h;
    return static_cast<BYTE*>(::GlobalLock(h));
}

void CSharedFile::Free(BYTE*)
{
    if (m_hGlobalMemory != nullptr) {
        ::GlobalUnlock(m_hGlobalMemory);
        ::GlobalFree(m_hGlobalMemory);
    }
    m_hGlobalMemory = nullptr;
}
