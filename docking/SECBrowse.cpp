// Path pickers for dialogs.
#include "SECBrowse.h"
#include "SECRes.h"
#include <shlobj.h>
#include <sys/stat.h>

namespace {

// The highest control id from 32767 down that the dialog does not use.
UINT FreeControlID(HWND hWndDlg)
{
    for (UINT nID = 32767; nID > 0; nID--)
        if (::GetDlgItem(hWndDlg, (int)nID) == nullptr)
            return nID;
    return 0;
}

} // namespace

// ---- SECBrowseEdit --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECBrowseEdit, CEdit)

SECBrowseEdit::SECBrowseEdit() : m_pButton(nullptr) {}

SECBrowseEdit::~SECBrowseEdit()
{
    delete m_pButton;
}

BOOL SECBrowseEdit::Initialize(UINT nID, CWnd* pDlg)
{
    if (pDlg == nullptr || pDlg->m_hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    if (!SubclassDlgItem(nID, pDlg))
        return FALSE;
    CRect rect;
    GetWindowRect(&rect);
    pDlg->ScreenToClient(&rect);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width() - 26, rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    UINT nButtonID = FreeControlID(pDlg->m_hWnd);
    m_pButton = new SECBrowseButton;
    m_pButton->m_pEdit = this;
    m_pButton->m_nID = nButtonID;
    CRect rectButton(rect.right - 25, rect.top, rect.right, rect.bottom);
    if (!m_pButton->Create("...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rectButton, pDlg, nButtonID)) {
        delete m_pButton;
        m_pButton = nullptr;
        return FALSE;
    }
    m_pButton->SetFont(GetFont());
    m_pButton->SetWindowPos(this, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_pButton->EnableWindow(IsWindowEnabled());
    return TRUE;
}

BOOL SECBrowseButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && m_pEdit != nullptr) {
        m_pEdit->OnBrowse();
        if (pResult != nullptr)
            *pResult = 0;
        return TRUE;
    }
    return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT SECBrowseEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENABLE && m_pButton != nullptr && m_pButton->m_hWnd != nullptr)
        m_pButton->EnableWindow((BOOL)wParam);
    return CEdit::WindowProc(message, wParam, lParam);
}

// ---- SECBrowseDirEdit -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECBrowseDirEdit, SECBrowseEdit)

SECBrowseDirEdit::SECBrowseDirEdit() : m_nMode(modeDirFileDialog)
{
    m_strTitle = "Select Directory";
}

namespace {

// Selects the start folder once the shell's browser is up, and hands a live browser to a test's
// driver.
struct ShellBrowseState
{
    CString strStart;
    CString strSelected;    // the folder the browser shows selected, as it last said
    int nRootFolder = -1;   // a CSIDL_ folder the browser is rooted at; -1: the desktop
    AfxModalCall* pCall = nullptr;
    const AfxSeamDriveFn* pDrive = nullptr;
};

// Two folder paths naming the same folder (case and a trailing backslash aside).
BOOL SameFolder(CString a, CString b)
{
    a.TrimRight('\\');
    b.TrimRight('\\');
    return a.CompareNoCase(b) == 0;
}

int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM lpData)
{
    auto* pState = (ShellBrowseState*)lpData;
    if (message == BFFM_SELCHANGED) {
        char szPath[MAX_PATH] = "";
        pState->strSelected = lParam != 0 && ::SHGetPathFromIDListA((LPCITEMIDLIST)lParam, szPath) ? szPath : "";
        return 0;
    }
    if (message != BFFM_INITIALIZED)
        return 0;
    // Wine's browser now and then stops expanding its tree half way on a busy machine and selects
    // nothing; asking again finds the folder.
    for (int nTry = 0; nTry < 3 && !pState->strStart.IsEmpty() && !SameFolder(pState->strSelected, pState->strStart);
         ++nTry)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, (LPARAM)(LPCSTR)pState->strStart);
    if (pState->pDrive != nullptr && pState->pCall != nullptr) {
        AfxGuardCallback([&] {
            pState->pCall->hWnd = hWnd;
            (*pState->pDrive)(*pState->pCall);
        });
        // A driver that leaves the browser up: cancelled as the user would.
        if (::IsWindow(hWnd))
            ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

// The shell's folder browser; TRUE with the chosen folder in strFolder.
BOOL RunShellBrowser(HWND hWndOwner, LPCSTR lpszTitle, ShellBrowseState& state, CString& strFolder)
{
    IShellFolder* pDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&pDesktop)) || pDesktop == nullptr)
        return FALSE;
    BOOL bOK = FALSE;
    char szDisplay[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    LPITEMIDLIST pidlRoot = nullptr;
    if (state.nRootFolder >= 0 && FAILED(::SHGetSpecialFolderLocation(hWndOwner, state.nRootFolder, &pidlRoot))) {
        pDesktop->Release();
        return FALSE;
    }
    bi.pidlRoot = pidlRoot;
    bi.hwndOwner = hWndOwner;
    bi.pszDisplayName = szDisplay;
    bi.lpszTitle = lpszTitle;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = BrowseCallback;
    bi.lParam = (LPARAM)&state;
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    if (pidl != nullptr) {
        char szPath[MAX_PATH] = "";
        if (::SHGetPathFromIDListA(pidl, szPath)) {
            strFolder = szPath;
            bOK = TRUE;
        }
        ::CoTaskMemFree(pidl);
    }
    if (pidlRoot != nullptr)
        ::CoTaskMemFree(pidlRoot);
    pDesktop->Release();
    return bOK;
}

} // namespace

namespace {

// The shell's browser through the test seam (a script answers with the call's text, which starts
// as the start folder); TRUE with the chosen folder.
BOOL ShellBrowse(HWND hWndOwner, LPCSTR lpszTitle, ShellBrowseState& state, CString& strFolder)
{
    AfxModalCall call;
    call.kind = AFX_MODAL_COMMONDIALOG;
    call.className = "SHBrowseForFolder";
    call.caption = lpszTitle;
    call.text = state.strStart;
    call.hWndOwner = hWndOwner;
    CString strChosen;
    INT_PTR nResult = IDCANCEL;
    if (AfxSeamHandle(call, &nResult, [&](AfxModalCall& c, const AfxSeamDriveFn& drive) {
            state.pCall = &c;
            state.pDrive = &drive;
            return (INT_PTR)(RunShellBrowser(hWndOwner, lpszTitle, state, strChosen) ? IDOK : IDCANCEL);
        })) {
        if (nResult != IDOK)
            return FALSE;
        // A script answers with the call's text; a driven browser with what it chose.
        strFolder = state.pDrive != nullptr ? strChosen : call.text;
        return TRUE;
    }
    return RunShellBrowser(hWndOwner, lpszTitle, state, strFolder);
}

} // namespace

BOOL SECBrowseForFolder(CWnd* pOwner, LPCSTR lpszTitle, int nRootFolder, CString& strFolder)
{
    ShellBrowseState state;
    state.nRootFolder = nRootFolder;
    CString strChosen;
    if (!ShellBrowse(AfxGetSafeHwnd(pOwner), lpszTitle, state, strChosen))
        return FALSE;
    strFolder = strChosen;
    return TRUE;
}

void SECBrowseDirEdit::OnBrowse()
{
    CString strText;
    GetWindowText(strText);
    if (m_nMode & modeDirFileDialog) {
        SECDirFileDialog dlg(m_strTitle, this, strText);
        if (dlg.DoModal() == IDOK) {
            CString strDir;
            dlg.GetDirectory(strDir);
            SetWindowText(strDir);
        }
        return;
    }
    ShellBrowseState state;
    state.strStart = strText;
    if (state.strStart.IsEmpty()) {
        char szCurrent[MAX_PATH] = "";
        ::GetCurrentDirectoryA(MAX_PATH, szCurrent);
        state.strStart = szCurrent;
    }
    CString strFolder;
    if (ShellBrowse(m_hWnd, m_strTitle, state, strFolder))
        SetWindowText(strFolder);
}

// ---- SECBrowseFileEdit ----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECBrowseFileEdit, SECBrowseEdit)

SECBrowseFileEdit::SECBrowseFileEdit()
    : m_strFilter("All files (*.*)|*.*||"), m_dwFlags(OFN_HIDEREADONLY | OFN_NOCHANGEDIR)
{
    m_strTitle = "Select File";
}

void SECBrowseFileEdit::GetStartFile(const CString& strPath, CString& strDirectory, CString& strFileName)
{
    strDirectory.Empty();
    strFileName.Empty();
    if (strPath.IsEmpty())
        return;
    CString strDir = strPath;
    if (strDir.GetLength() > 1 && strDir[strDir.GetLength() - 1] == '\\')
        strDir = strDir.Left(strDir.GetLength() - 1);
    DWORD dwAttributes = ::GetFileAttributesA(strDir);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        strDirectory = strPath;
        return;
    }
    if (!SECCurrentDirKeeper::FileExists(strPath))
        return;
    strFileName = strPath;
}

void SECBrowseFileEdit::OnBrowse()
{
    SECCurrentDirKeeper keeper;
    CString strSaved;
    if (m_dwFlags & OFN_NOCHANGEDIR)
        strSaved = keeper.Save();
    CString strStart = m_strInitialPath;
    if (strStart.IsEmpty())
        GetWindowText(strStart);
    CString strDirectory, strFileName;
    GetStartFile(strStart, strDirectory, strFileName);
    if (!strDirectory.IsEmpty())
        keeper.Restore(strDirectory);
    CFileDialog dlg(TRUE, m_strDefExt.IsEmpty() ? nullptr : (LPCSTR)m_strDefExt,
                    strFileName.IsEmpty() ? nullptr : (LPCSTR)strFileName, m_dwFlags, m_strFilter, this);
    dlg.m_ofn.lpstrTitle = m_strTitle;
    if (!strDirectory.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = strDirectory;
    if (dlg.DoModal() == IDOK)
        SetWindowText(dlg.GetPathName());
    if ((m_dwFlags & OFN_NOCHANGEDIR) && !strSaved.IsEmpty())
        keeper.Restore(strSaved);
}

// ---- SECDirFileDialog -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECDirFileDialog, CFileDialog)

SECDirFileDialog::SECDirFileDialog(LPCSTR lpszTitle, CWnd* pParentWnd, LPCSTR lpszInitialDir)
    : CFileDialog(FALSE, nullptr, nullptr, 0, "(nofiles)|NOFILES.$$$||", pParentWnd),
      m_strTitle(lpszTitle != nullptr ? lpszTitle : ""), m_strInitialDir(lpszInitialDir != nullptr ? lpszInitialDir : "")
{
    // The old-style dialog: its folder list is what the user picks from.
    m_ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE;
    m_ofn.hInstance = AfxFindResourceHandle(MAKEINTRESOURCEA(IDD_SEC_DIRFILEDIALOG), (LPCSTR)RT_DIALOG);
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SEC_DIRFILEDIALOG);
    m_ofn.lpstrTitle = m_strTitle.IsEmpty() ? nullptr : (LPCSTR)m_strTitle;
    m_ofn.lpstrInitialDir = m_strInitialDir.IsEmpty() ? nullptr : (LPCSTR)m_strInitialDir;
}

BOOL SECDirFileDialog::OnInitDialog()
{
    CFileDialog::OnInitDialog();
    for (int nID : {1090, 1152, 1120, 1089, 1136}) {
        HWND hItem = ::GetDlgItem(m_hWnd, nID);
        if (hItem != nullptr)
            ::ShowWindow(hItem, SW_HIDE);
    }
    // OK accepts without a real file.
    ::SetDlgItemTextA(m_hWnd, 1152, "noclose");
    HWND hFolders = ::GetDlgItem(m_hWnd, 1121);
    if (hFolders != nullptr)
        ::SetFocus(hFolders);
    return FALSE;
}

void SECDirFileDialog::GetDirectory(CString& strDirectory) const
{
    CString strPath = GetPathName();
    int nOffset = m_ofn.nFileOffset;
    strDirectory = nOffset > 0 && nOffset <= strPath.GetLength() ? strPath.Left(nOffset) : strPath;
}

// ---- SECCurrentDirKeeper --------------------------------------------------------------------

CString SECCurrentDirKeeper::GetCurrentDrive()
{
    char szDir[maxPath] = "";
    DWORD n = ::GetCurrentDirectoryA(maxPath, szDir);
    if (n == 0 || n >= maxPath || szDir[1] != ':')
        return CString();
    char szDrive[4] = {(char)tolower((unsigned char)szDir[0]), ':', '\\', '\0'};
    return szDrive;
}

CString SECCurrentDirKeeper::Save(LPCSTR lpszDrive)
{
    UINT nOldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    CString strDrive = GetCurrentDrive();
    CString strResult;
    BOOL bOK = TRUE;
    if (lpszDrive != nullptr && *lpszDrive != '\0') {
        char szDrive[3] = {lpszDrive[0], ':', '\0'};
        bOK = ::SetCurrentDirectoryA(szDrive);
    }
    if (bOK) {
        char szDir[maxPath] = "";
        DWORD n = ::GetCurrentDirectoryA(maxPath, szDir);
        if (n > 0 && n < maxPath)
            strResult = szDir;
        if (lpszDrive != nullptr && *lpszDrive != '\0' && !strDrive.IsEmpty()) {
            char szBack[3] = {strDrive[0], ':', '\0'};
            ::SetCurrentDirectoryA(szBack);
        }
    }
    ::SetErrorMode(nOldMode);
    return strResult;
}

BOOL SECCurrentDirKeeper::Restore(LPCSTR lpszPath)
{
    if (lpszPath == nullptr || *lpszPath == '\0')
        return FALSE;
    CString strPath = lpszPath;
    int nLength = strPath.GetLength();
    // "c:\" stays a root: without its backslash it would name the drive's current directory.
    BOOL bRoot = nLength == 3 && strPath[1] == ':';
    if (!bRoot && nLength > 1 && strPath[nLength - 1] == '\\')
        strPath = strPath.Left(nLength - 1);
    return ::SetCurrentDirectoryA(strPath);
}

BOOL SECCurrentDirKeeper::FileExists(LPCSTR lpszPath)
{
    struct _stat st;
    return lpszPath != nullptr && _stat(lpszPath, &st) == 0;
}

BOOL SECCurrentDirKeeper::PathExists(LPCSTR lpszPath)
{
    return lpszPath != nullptr && ::GetFileAttributesA(lpszPath) != INVALID_FILE_ATTRIBUTES;
}
