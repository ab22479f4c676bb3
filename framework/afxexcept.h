// Exceptions of the framework. They are thrown as heap pointers and caught as
// pointers ("catch (CFileException* e) { ...; e->Delete(); }"); Delete frees the
// ones that were allocated for the throw and leaves the shared static ones.
#pragma once
#include "afxobj.h"
#include "afxstr.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    ~CException() override = default;

    // Frees the exception unless it is a shared static one.
    void Delete();

    // Copies the text that describes the error, cut to nMaxError - 1 characters.
    // FALSE (and an empty text) when there is nothing to tell.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr);
    // The same text as a string; empty when there is none.
    CString GetErrorText();

    // Shows the error text (or the string nMessageID, or a generic text) in a
    // message box through the framework's message-box path; returns the answer.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

// Thrown after the user has already been told (or has cancelled): reports nothing.
class CUserException : public CException
{
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);

    // The system's text for m_lOsError; without an operating-system error, a
    // text for the cause. Trailing line breaks of the system text are removed.
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

    // Throws only when lOsError is not 0.
    static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);
    static void ThrowErrno(int nErrno, LPCSTR lpszFileName = nullptr);
    static int OsErrorToException(LONG lOsError);
    static int ErrnoToException(int nErrno);

    int m_cause;
    LONG m_lOsError;      // -1: no operating-system error
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none = 0,
        generic = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7
    };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);

// The system's text for an error code (FormatMessage, trailing line breaks
// removed); empty when the system has none.
CString AfxGetSystemErrorText(DWORD dwError);

// Message boxes of the core (CException::ReportError) go through this hook so
// that the window layer can route them through its own message-box path and
// tests can answer them. Without a hook the plain system message box is used.
typedef int (*AFX_CORE_MESSAGEBOX)(LPCSTR lpszText, UINT nType, UINT nIDHelp);
AFX_CORE_MESSAGEBOX AfxSetCoreMessageBox(AFX_CORE_MESSAGEBOX pfn);   // returns the previous hook
int AfxCoreMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
