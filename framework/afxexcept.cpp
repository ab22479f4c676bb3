#include "afxexcept.h"
#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {
AFX_CORE_MESSAGEBOX g_pfnMessageBox = nullptr;

// Copies text into a caller's buffer of nMax characters, cut as needed.
BOOL CopyMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError)
{
    if (lpszError == nullptr || nMaxError == 0)
        return text != nullptr && *text != '\0';
    lpszError[0] = '\0';
    if (text == nullptr || *text == '\0')
        return FALSE;
    size_t n = std::strlen(text);
    if (n > nMaxError - 1)
        n = nMaxError - 1;
    std::memcpy(lpszError, text, n);
    lpszError[n] = '\0';
    return TRUE;
}

CString WithName(LPCSTR format, const CString& name)
{
    CString text;
    LPCSTR arg = name.IsEmpty() ? "an unnamed file" : static_cast<LPCSTR>(name);
    AfxFormatStrings(text, format, &arg, 1);
    return text;
}

struct ErrorMapping
{
    LONG osError;
    int cause;
};

const ErrorMapping kOsErrors[] = {
    {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
    {ERROR_PATH_NOT_FOUND, CFileException::badPath},
    {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
    {ERROR_ACCESS_DENIED, CFileException::accessDenied},
    {ERROR_INVALID_HANDLE, CFileException::fileNotFound},
    {ERROR_BAD_FORMAT, CFileException::invalidFile},
    {ERROR_INVALID_ACCESS, CFileException::accessDenied},
    {ERROR_INVALID_DRIVE, CFileException::badPath},
    {ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir},
    {ERROR_NOT_SAME_DEVICE, CFileException::badPath},
    {ERROR_NO_MORE_FILES, CFileException::fileNotFound},
    {ERROR_WRITE_PROTECT, CFileException::accessDenied},
    {ERROR_BAD_UNIT, CFileException::hardIO},
    {ERROR_NOT_READY, CFileException::hardIO},
    {ERROR_BAD_COMMAND, CFileException::hardIO},
    {ERROR_CRC, CFileException::hardIO},
    {ERROR_BAD_LENGTH, CFileException::badSeek},
    {ERROR_SEEK, CFileException::badSeek},
    {ERROR_NOT_DOS_DISK, CFileException::invalidFile},
    {ERROR_SECTOR_NOT_FOUND, CFileException::badSeek},
    {ERROR_WRITE_FAULT, CFileException::accessDenied},
    {ERROR_READ_FAULT, CFileException::badSeek},
    {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
    {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
    {ERROR_WRONG_DISK, CFileException::badPath},
    {ERROR_SHARING_BUFFER_EXCEEDED, CFileException::tooManyOpenFiles},
    {ERROR_HANDLE_EOF, CFileException::endOfFile},
    {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
    {ERROR_BAD_NETPATH, CFileException::badPath},
    {ERROR_NETWORK_BUSY, CFileException::accessDenied},
    {ERROR_DEV_NOT_EXIST, CFileException::badPath},
    {ERROR_NETNAME_DELETED, CFileException::accessDenied},
    {ERROR_NETWORK_ACCESS_DENIED, CFileException::accessDenied},
    {ERROR_BAD_NET_NAME, CFileException::badPath},
    {ERROR_FILE_EXISTS, CFileException::accessDenied},
    {ERROR_CANNOT_MAKE, CFileException::accessDenied},
    {ERROR_DRIVE_LOCKED, CFileException::lockViolation},
    {ERROR_DISK_FULL, CFileException::diskFull},
    {ERROR_NO_MORE_SEARCH_HANDLES, CFileException::tooManyOpenFiles},
    {ERROR_INVALID_NAME, CFileException::badPath},
    {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
    {ERROR_SEEK_ON_DEVICE, CFileException::badSeek},
    {ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir},
    {ERROR_BAD_PATHNAME, CFileException::badPath},
    {ERROR_LOCK_FAILED, CFileException::lockViolation},
    {ERROR_BUSY, CFileException::accessDenied},
    {ERROR_ALREADY_EXISTS, CFileException::accessDenied},
    {ERROR_FILENAME_EXCED_RANGE, CFileException::badPath},
    {ERROR_DIRECTORY, CFileException::badPath},
};

const ErrorMapping kErrnos[] = {
    {EPERM, CFileException::accessDenied},
    {ENOENT, CFileException::fileNotFound},
    {EIO, CFileException::hardIO},
    {EBADF, CFileException::invalidFile},
    {EACCES, CFileException::accessDenied},
    {EEXIST, CFileException::accessDenied},
    {EXDEV, CFileException::badPath},
    {EINVAL, CFileException::badSeek},
    {EMFILE, CFileException::tooManyOpenFiles},
    {ENOSPC, CFileException::diskFull},
    {ESPIPE, CFileException::badSeek},
    {EROFS, CFileException::accessDenied},
    {EDEADLOCK, CFileException::lockViolation},
};

LPCSTR FileCauseText(int cause)
{
    switch (cause) {
    case CFileException::none: return "No error occurred while accessing %1.";
    case CFileException::fileNotFound: return "%1 was not found.";
    case CFileException::badPath: return "%1 contains an invalid path.";
    case CFileException::tooManyOpenFiles: return "%1 could not be opened because there are too many open files.";
    case CFileException::accessDenied: return "Access to %1 was denied.";
    case CFileException::invalidFile: return "An invalid file handle was used with %1.";
    case CFileException::removeCurrentDir: return "%1 could not be removed because it is the current directory.";
    case CFileException::directoryFull: return "%1 could not be created because the directory is full.";
    case CFileException::badSeek: return "Seek failed on %1.";
    case CFileException::hardIO: return "A hardware I/O error was reported while accessing %1.";
    case CFileException::sharingViolation: return "A sharing violation occurred while accessing %1.";
    case CFileException::lockViolation: return "A locking violation occurred while accessing %1.";
    case CFileException::diskFull: return "The disk is full while accessing %1.";
    case CFileException::endOfFile: return "An attempt was made to access %1 beyond its end.";
    default: return "An unexpected error occurred while accessing %1.";
    }
}

LPCSTR ArchiveCauseText(int cause)
{
    switch (cause) {
    case CArchiveException::none: return "No error occurred while reading or writing %1.";
    case CArchiveException::readOnly: return "Tried to write to %1 while it was being read.";
    case CArchiveException::endOfFile: return "Unexpected end of file while reading %1.";
    case CArchiveException::writeOnly: return "Tried to read from %1 while it was being written.";
    case CArchiveException::badIndex: return "%1 has an invalid format.";
    case CArchiveException::badClass: return "%1 contains an unexpected object.";
    case CArchiveException::badSchema: return "%1 was written in an unsupported format version.";
    default: return "An unexpected error occurred while reading or writing %1.";
    }
}

CMemoryException g_memoryException(FALSE);
CNotSupportedException g_notSupportedException(FALSE);
CResourceException g_resourceException(FALSE);
CUserException g_userException(FALSE);
} // namespace

// ---------------------------------------------------------------------------

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return CopyMessage(nullptr, lpszError, nMaxError);
}

CString CException::GetErrorText()
{
    char buf[1024];
    return GetErrorMessage(buf, sizeof(buf)) ? CString(buf) : CString();
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    CString text = GetErrorText();
    if (text.IsEmpty() && nMessageID != 0)
        text.LoadString(nMessageID);
    if (text.IsEmpty())
        text = "No error message is available.";
    return AfxCoreMessageBox(text, nType, 0);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return CopyMessage("Out of memory.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return CopyMessage("An unsupported operation was attempted.", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return CopyMessage("A required resource was unavailable.", lpszError, nMaxError);
}

// ---------------------------------------------------------------------------

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    CString text;
    if (m_lOsError != -1 && m_lOsError != 0)
        text = AfxGetSystemErrorText(static_cast<DWORD>(m_lOsError));
    if (text.IsEmpty())
        text = WithName(FileCauseText(m_cause), m_strFileName);
    return CopyMessage(text, lpszError, nMaxError);
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::ThrowErrno(int nErrno, LPCSTR lpszFileName)
{
    if (nErrno != 0)
        AfxThrowFileException(ErrnoToException(nErrno), _doserrno, lpszFileName);
}

int CFileException::OsErrorToException(LONG lOsError)
{
    for (const ErrorMapping& m : kOsErrors)
        if (m.osError == lOsError)
            return m.cause;
    return generic;
}

int CFileException::ErrnoToException(int nErrno)
{
    for (const ErrorMapping& m : kErrnos)
        if (m.osError == nErrno)
            return m.cause;
    return generic;
}

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return CopyMessage(WithName(ArchiveCauseText(m_cause), m_strFileName), lpszError, nMaxError);
}

// ---------------------------------------------------------------------------

void AfxThrowMemoryException() { throw &g_memoryException; }
void AfxThrowNotSupportedException() { throw &g_notSupportedException; }
void AfxThrowResourceException() { throw &g_resourceException; }
void AfxThrowUserException() { throw &g_userException; }

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

CString AfxGetSystemErrorText(DWORD dwError)
{
    LPSTR buffer = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, dwError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                               reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    CString text;
    if (n != 0 && buffer != nullptr)
        text = CString(buffer, static_cast<int>(n));
    if (buffer != nullptr)
        ::LocalFree(buffer);
    text.TrimRight("\r\n ");
    return text;
}

AFX_CORE_MESSAGEBOX AfxSetCoreMessageBox(AFX_CORE_MESSAGEBOX pfn)
{
    AFX_CORE_MESSAGEBOX old = g_pfnMessageBox;
    g_pfnMessageBox = pfn;
    return old;
}

int AfxCoreMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (g_pfnMessageBox != nullptr)
        return g_pfnMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, lpszText, nullptr, nType);
}
