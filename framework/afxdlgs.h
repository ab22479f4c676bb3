// The system's common dialogs (file open/save, colour) as framework dialogs.
//
// Include this header where they are used. The dialog is the system's; a hook attaches the
// object to its window when it initialises, so OnInitDialog, GetDlgItem and message maps work on
// it as on any framework dialog (for the old-style file dialog that is the dialog itself, for the
// explorer-style one the hook's child dialog). Under the test seam the request is answered by the
// test (AFX_MODAL_COMMONDIALOG): a script sets the answer (a file dialog takes the call's text as
// the chosen path, a colour dialog its m_cc.rgbResult) or a driver works the real dialog.
#pragma once
#include "afxwin.h"
#include <string>

class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    // OK and Cancel belong to the system's dialog (it validates and ends itself).
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Runs the request through the seam, else shows the system's dialog (RunSystemDialog);
    // IDOK or IDCANCEL.
    INT_PTR DoCommonModal(AfxModalCall& call);
    // Shows the system's dialog with the hook installed; TRUE when it ended with OK.
    virtual BOOL RunSystemDialog() = 0;
    // Takes what a script answered (the chosen path or colour) after an IDOK.
    virtual void TakeScriptAnswer(const AfxModalCall& call);
    // The window a user sees (the explorer-style file dialog's hook window is a child of it).
    virtual HWND GetDialogWindow() const { return m_hWnd; }
    // Puts the dialog the user sees in the middle of its owner (on the owner's screen).
    void CentreOnOwner();

    // The hook of every common dialog of the framework.
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    const AfxSeamDriveFn* m_pDrive = nullptr;
    AfxModalCall* m_pCall = nullptr;
};

class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs of description and pattern separated by '|', ending with "||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    OPENFILENAMEA m_ofn;    // the caller may change anything (flags, template, initial directory)
    BOOL m_bOpenFileDialog;

    INT_PTR DoModal() override;
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

protected:
    BOOL RunSystemDialog() override;
    void TakeScriptAnswer(const AfxModalCall& call) override;
    HWND GetDialogWindow() const override;

    char m_szFileName[MAX_PATH * 4];
    char m_szFileTitle[MAX_PATH];
    std::string m_filter;   // '|' already turned into the system's '\0'
    CString m_strDefExt;
};

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    CHOOSECOLORA m_cc;      // the caller may add flags (m_cc.Flags)

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr);
    // The sixteen custom colours, shared by every colour dialog of the program.
    static COLORREF* GetSavedCustomColors();

protected:
    BOOL RunSystemDialog() override;
};

// The system's modeless Find or Replace dialog. Create it with new and Create; it tells its owner
// through the registered message "commdlg_FindReplace" (FINDMSGSTRING, lParam the dialog's m_fr,
// GetNotifier turns it back into the dialog) and deletes itself once its window is gone. Keys reach
// it through the framework's pre-translation (IsDialogMessage), as for any modeless dialog.
class CFindReplaceDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFindReplaceDialog)
public:
    CFindReplaceDialog();

    // bFindDialogOnly: Find, else Replace. The owner defaults to the main window. FALSE when the
    // system made no dialog: the object is not deleted then, the caller still owns it.
    virtual BOOL Create(BOOL bFindDialogOnly, LPCSTR lpszFindWhat, LPCSTR lpszReplaceWith = nullptr,
                        DWORD dwFlags = FR_DOWN, CWnd* pParentWnd = nullptr);
    // The dialog a "commdlg_FindReplace" message comes from (null for a foreign one).
    static CFindReplaceDialog* GetNotifier(LPARAM lParam);

    CString GetFindString() const { return m_fr.lpstrFindWhat; }
    CString GetReplaceString() const { return m_fr.lpstrReplaceWith; }
    BOOL SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
    BOOL FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
    BOOL MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
    BOOL MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
    BOOL ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
    BOOL ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
    BOOL IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

    FINDREPLACEA m_fr;   // the caller may add flags before Create

protected:
    BOOL RunSystemDialog() override { return FALSE; }   // never modal
    void PostNcDestroy() override;

    char m_szFindWhat[128];
    char m_szReplaceWith[128];
};
