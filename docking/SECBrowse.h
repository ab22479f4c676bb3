// Path pickers for dialogs: an edit with a "..." button that opens a file or directory chooser,
// the directory chooser itself, and a keeper of the process's current directory.
#pragma once
#include "afxwin.h"
#include "afxdlgs.h"

class SECBrowseEdit;

// The shell's folder browser owned by pOwner, rooted at the special folder nRootFolder (a CSIDL_
// value; -1 for the desktop), file-system folders only. TRUE with the chosen folder in strFolder;
// strFolder is unchanged when the user cancels. Goes through the test seam as a common dialog
// of class "SHBrowseForFolder" (a script answers with the call's text).
BOOL SECBrowseForFolder(CWnd* pOwner, LPCSTR lpszTitle, int nRootFolder, CString& strFolder);

class SECBrowseButton : public CButton
{
public:
    SECBrowseEdit* m_pEdit = nullptr;
    UINT m_nID = 0;

protected:
    // A click (reflected by the dialog) opens the edit's chooser.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class SECBrowseEdit : public CEdit
{
    DECLARE_DYNAMIC(SECBrowseEdit)
public:
    SECBrowseEdit();
    ~SECBrowseEdit() override;

    // Subclasses the dialog's edit, makes it 26 pixels narrower and puts a "..." button in the
    // room (the highest free id, right after the edit in tab order, enabled like it).
    BOOL Initialize(UINT nID, CWnd* pDlg);
    virtual void OnBrowse() = 0;
    SECBrowseButton* GetBrowseButton() const { return m_pButton; }

    CString m_strTitle;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SECBrowseButton* m_pButton;
};

class SECBrowseDirEdit : public SECBrowseEdit
{
    DECLARE_DYNAMIC(SECBrowseDirEdit)
public:
    SECBrowseDirEdit();
    enum { modeDirFileDialog = 0x01, modeShellBrowser = 0x02 };
    BYTE m_nMode;
    void OnBrowse() override;
};

class SECBrowseFileEdit : public SECBrowseEdit
{
    DECLARE_DYNAMIC(SECBrowseFileEdit)
public:
    SECBrowseFileEdit();
    CString m_strFilter;
    CString m_strInitialPath;
    CString m_strDefExt;
    DWORD m_dwFlags;
    void OnBrowse() override;

    // Where the chooser starts for a path: a directory (a trailing backslash ignored) becomes the
    // current directory with no file name; a path naming no existing file gives no file name; an
    // existing file is preselected.
    static void GetStartFile(const CString& strPath, CString& strDirectory, CString& strFileName);
};

class SECDirFileDialog : public CFileDialog
{
    DECLARE_DYNAMIC(SECDirFileDialog)
public:
    SECDirFileDialog(LPCSTR lpszTitle, CWnd* pParentWnd, LPCSTR lpszInitialDir);
    BOOL OnInitDialog() override;
    // The chosen folder, with its trailing backslash.
    void GetDirectory(CString& strDirectory) const;

protected:
    CString m_strTitle;
    CString m_strInitialDir;
};

class SECCurrentDirKeeper : public CObject
{
public:
    enum { maxPath = 1024 };
    // The current directory; with a drive ("d:"), that drive's current directory (empty when the
    // drive cannot be made current), the current drive staying as it was.
    CString Save(LPCSTR lpszDrive = nullptr);
    // Makes the path current (one trailing backslash is ignored, but never a root's).
    BOOL Restore(LPCSTR lpszPath);
    // "c:\" style.
    CString GetCurrentDrive();
    static BOOL FileExists(LPCSTR lpszPath);
    static BOOL PathExists(LPCSTR lpszPath);
};
