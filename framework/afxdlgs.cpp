// The system's common dialogs (file open/save, colour) as framework dialogs.
#include "afxwin.h"
#include "afxdlgs.h"
#include <algorithm>

namespace {

// The dialog object the hook attaches when the system's dialog initialises.
thread_local CCommonDialog* t_pInit = nullptr;

// Posted to a driven dialog once it runs: the test's driver works it from inside its loop.
UINT DriveMessage()
{
    static UINT s_nMsg = ::RegisterWindowMessageA("MorvaneCommonDialogDrive");
    return s_nMsg;
}

} // namespace

// ---- CCommonDialog --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog()
{
    m_pParentWnd = pParentWnd;
}

void CCommonDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    Default();
}

void CCommonDialog::OnCancel()
{
    Default();
}

LRESULT CCommonDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == DriveMessage() && m_pDrive != nullptr && m_pCall != nullptr) {
        const AfxSeamDriveFn* pDrive = m_pDrive;
        m_pDrive = nullptr;
        HWND hWndDlg = GetDialogWindow();
        m_pCall->hWnd = hWndDlg;
        char szCaption[256] = "";
        ::GetWindowTextA(hWndDlg, szCaption, sizeof szCaption);
        m_pCall->caption = szCaption;
        (*pDrive)(*m_pCall);
        // A driver that leaves the dialog up: it is cancelled as the user would. (A dialog the
        // driver ended leaves its loop before the posted command arrives, which then is dropped.)
        if (::IsWindow(hWndDlg))
            ::PostMessageA(hWndDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                           (LPARAM)::GetDlgItem(hWndDlg, IDCANCEL));
        return 0;
    }
    // The explorer-style file dialog is laid out: it comes up centred on its owner.
    if (message == WM_NOTIFY && lParam != 0 && reinterpret_cast<NMHDR*>(lParam)->code == CDN_INITDONE) {
        LRESULT lResult = CDialog::WindowProc(message, wParam, lParam);
        CentreOnOwner();
        return lResult;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CCommonDialog::CentreOnOwner()
{
    HWND hWndDlg = GetDialogWindow();
    HWND hWndOwner = ::GetWindow(hWndDlg, GW_OWNER);
    if (hWndDlg == nullptr || hWndOwner == nullptr || !::IsWindowVisible(hWndOwner) || ::IsIconic(hWndOwner))
        return;
    CRect dlg, owner;
    ::GetWindowRect(hWndDlg, &dlg);
    ::GetWindowRect(hWndOwner, &owner);
    // Kept on the owner's screen.
    MONITORINFO mi = {sizeof mi};
    ::GetMonitorInfoA(::MonitorFromWindow(hWndOwner, MONITOR_DEFAULTTONEAREST), &mi);
    const CRect work(mi.rcWork);
    int x = owner.left + (owner.Width() - dlg.Width()) / 2;
    int y = owner.top + (owner.Height() - dlg.Height()) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - dlg.Width()));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - dlg.Height()));
    ::SetWindowPos(hWndDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT_PTR CALLBACK CCommonDialog::HookProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG || t_pInit == nullptr)
        return 0;
    CCommonDialog* pDlg = t_pInit;
    t_pInit = nullptr;
    UINT_PTR result = TRUE;
    AfxGuardCallback([&] {
        if (!pDlg->SubclassWindow(hWnd))
            return;
        if (pDlg->m_pDrive != nullptr)
            ::PostMessageA(hWnd, DriveMessage(), 0, 0);
        result = pDlg->OnInitDialog();
    });
    return result;
}

void CCommonDialog::TakeScriptAnswer(const AfxModalCall&) {}

INT_PTR CCommonDialog::DoCommonModal(AfxModalCall& call)
{
    call.kind = AFX_MODAL_COMMONDIALOG;
    call.className = GetRuntimeClass()->m_lpszClassName;
    call.pObject = this;
    call.hWndOwner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    INT_PTR nResult = IDCANCEL;
    auto run = [this](AfxModalCall* pCall, const AfxSeamDriveFn* pDrive) {
        m_pCall = pCall;
        m_pDrive = pDrive;
        t_pInit = this;
        BOOL bOK = FALSE;
        try {
            bOK = RunSystemDialog();
        }
        catch (...) {
            t_pInit = nullptr;
            m_pCall = nullptr;
            m_pDrive = nullptr;
            throw;
        }
        t_pInit = nullptr;
        m_pCall = nullptr;
        m_pDrive = nullptr;
        // The window is gone; the object no longer stands for it.
        if (m_hWnd != nullptr)
            Detach();
        return (INT_PTR)(bOK ? IDOK : IDCANCEL);
    };
    if (AfxSeamHandle(call, &nResult, [&](AfxModalCall& c, const AfxSeamDriveFn& drive) { return run(&c, &drive); })) {
        if (nResult == IDOK && call.hWnd == nullptr)
            TakeScriptAnswer(call);
        return nResult;
    }
    return run(nullptr, nullptr);
}

// ---- CFileDialog ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog)
{
    m_szFileName[0] = '\0';
    m_szFileTitle[0] = '\0';
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = (LPOFNHOOKPROC)HookProc;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (lpszDefExt != nullptr && *lpszDefExt != '\0') {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != nullptr)
        lstrcpynA(m_szFileName, lpszFileName, sizeof m_szFileName);
    if (lpszFilter != nullptr && *lpszFilter != '\0') {
        // "Maps (*.map)|*.map||": the system wants the separators as '\0', the list ending in two.
        m_filter = lpszFilter;
        for (char& ch : m_filter)
            if (ch == '|')
                ch = '\0';
        m_filter.append(2, '\0');
        m_ofn.lpstrFilter = m_filter.c_str();
    }
}

BOOL CFileDialog::RunSystemDialog()
{
    m_ofn.Flags |= OFN_ENABLEHOOK;
    m_ofn.lpfnHook = (LPOFNHOOKPROC)HookProc;
    if (m_ofn.hwndOwner == nullptr) {
        CWnd* pOwner = CWnd::GetSafeOwner(m_pParentWnd, nullptr);
        m_ofn.hwndOwner = pOwner != nullptr ? pOwner->m_hWnd : nullptr;
    }
    return m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
}

INT_PTR CFileDialog::DoModal()
{
    AfxModalCall call;
    call.text = m_ofn.lpstrFile != nullptr ? m_ofn.lpstrFile : "";
    call.caption = m_ofn.lpstrTitle != nullptr ? m_ofn.lpstrTitle : "";
    call.nType = m_ofn.Flags;
    if ((m_ofn.Flags & OFN_ENABLETEMPLATE) && IS_INTRESOURCE(m_ofn.lpTemplateName))
        call.nIDTemplate = LOWORD((UINT_PTR)m_ofn.lpTemplateName);
    return DoCommonModal(call);
}

void CFileDialog::TakeScriptAnswer(const AfxModalCall& call)
{
    if (m_ofn.lpstrFile == nullptr || m_ofn.nMaxFile == 0)
        return;
    lstrcpynA(m_ofn.lpstrFile, call.text, (int)m_ofn.nMaxFile);
    // The offsets the system would set, so the name parts answer the same.
    CString path = call.text;
    int nSlash = path.ReverseFind('\\');
    int nFwd = path.ReverseFind('/');
    if (nFwd > nSlash)
        nSlash = nFwd;
    m_ofn.nFileOffset = (WORD)(nSlash + 1);
    int nDot = path.ReverseFind('.');
    m_ofn.nFileExtension = (WORD)(nDot > nSlash ? nDot + 1 : path.GetLength());
    if (m_ofn.lpstrFileTitle != nullptr && m_ofn.nMaxFileTitle != 0)
        lstrcpynA(m_ofn.lpstrFileTitle, (LPCSTR)path + nSlash + 1, (int)m_ofn.nMaxFileTitle);
}

HWND CFileDialog::GetDialogWindow() const
{
    // The explorer-style dialog's hook window is a child of the dialog the user sees.
    if ((m_ofn.Flags & OFN_EXPLORER) && m_hWnd != nullptr)
        return ::GetParent(m_hWnd);
    return m_hWnd;
}

CString CFileDialog::GetPathName() const
{
    return m_ofn.lpstrFile != nullptr ? CString(m_ofn.lpstrFile) : CString();
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    int nSlash = path.ReverseFind('\\');
    int nFwd = path.ReverseFind('/');
    if (nFwd > nSlash)
        nSlash = nFwd;
    return path.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int nDot = name.ReverseFind('.');
    return nDot < 0 ? CString() : name.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int nDot = name.ReverseFind('.');
    return nDot < 0 ? name : name.Left(nDot);
}

// ---- CColorDialog ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

COLORREF* CColorDialog::GetSavedCustomColors()
{
    static COLORREF s_custom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    };
    return s_custom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cc()
{
    m_cc.lStructSize = sizeof m_cc;
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags | CC_ENABLEHOOK;
    m_cc.lpfnHook = (LPCCHOOKPROC)HookProc;
    if ((m_cc.rgbResult = clrInit) != 0)
        m_cc.Flags |= CC_RGBINIT;
}

void CColorDialog::SetCurrentColor(COLORREF clr)
{
    m_cc.rgbResult = clr;
    if (m_hWnd != nullptr) {
        // The dialog's own edits take the colour; it shows it from them.
        SetDlgItemInt(0x2c2, GetRValue(clr), FALSE);
        SetDlgItemInt(0x2c3, GetGValue(clr), FALSE);
        SetDlgItemInt(0x2c4, GetBValue(clr), FALSE);
    }
}

BOOL CColorDialog::RunSystemDialog()
{
    m_cc.Flags |= CC_ENABLEHOOK;
    m_cc.lpfnHook = (LPCCHOOKPROC)HookProc;
    if (m_cc.hwndOwner == nullptr) {
        CWnd* pOwner = CWnd::GetSafeOwner(m_pParentWnd, nullptr);
        m_cc.hwndOwner = pOwner != nullptr ? pOwner->m_hWnd : nullptr;
    }
    return ::ChooseColorA(&m_cc);
}

INT_PTR CColorDialog::DoModal()
{
    AfxModalCall call;
    return DoCommonModal(call);
}

// ---- CFindReplaceDialog ---------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFindReplaceDialog, CCommonDialog)

CFindReplaceDialog::CFindReplaceDialog() : CCommonDialog(nullptr), m_fr()
{
    m_szFindWhat[0] = '\0';
    m_szReplaceWith[0] = '\0';
    m_fr.lStructSize = sizeof m_fr;
    m_fr.Flags = FR_ENABLEHOOK;
    m_fr.lpfnHook = (LPFRHOOKPROC)HookProc;
    m_fr.lpstrFindWhat = m_szFindWhat;
    m_fr.wFindWhatLen = sizeof m_szFindWhat;
    m_fr.lpstrReplaceWith = m_szReplaceWith;
    m_fr.wReplaceWithLen = sizeof m_szReplaceWith;
    m_fr.lCustData = reinterpret_cast<LPARAM>(this);
}

BOOL CFindReplaceDialog::Create(BOOL bFindDialogOnly, LPCSTR lpszFindWhat, LPCSTR lpszReplaceWith, DWORD dwFlags,
                                CWnd* pParentWnd)
{
    if (m_hWnd != nullptr)
        return FALSE;
    if (pParentWnd == nullptr)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    m_fr.hwndOwner = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    // The system refuses a dialog without an owner to notify.
    if (m_fr.hwndOwner == nullptr)
        return FALSE;
    m_fr.Flags |= dwFlags | FR_ENABLEHOOK;
    m_fr.lpfnHook = (LPFRHOOKPROC)HookProc;
    m_fr.lCustData = reinterpret_cast<LPARAM>(this);
    lstrcpynA(m_szFindWhat, lpszFindWhat != nullptr ? lpszFindWhat : "", sizeof m_szFindWhat);
    lstrcpynA(m_szReplaceWith, lpszReplaceWith != nullptr ? lpszReplaceWith : "", sizeof m_szReplaceWith);
    t_pInit = this;
    HWND hWnd = bFindDialogOnly ? ::FindTextA(&m_fr) : ::ReplaceTextA(&m_fr);
    t_pInit = nullptr;
    if (hWnd == nullptr)
        return FALSE;
    // The hook attaches the object at WM_INITDIALOG; a system that skipped it still gets one.
    if (m_hWnd == nullptr)
        SubclassWindow(hWnd);
    return TRUE;
}

CFindReplaceDialog* CFindReplaceDialog::GetNotifier(LPARAM lParam)
{
    const FINDREPLACEA* pfr = reinterpret_cast<const FINDREPLACEA*>(lParam);
    if (pfr == nullptr || pfr->lStructSize != sizeof(FINDREPLACEA) || pfr->lpfnHook != (LPFRHOOKPROC)HookProc)
        return nullptr;
    CFindReplaceDialog* pDlg = reinterpret_cast<CFindReplaceDialog*>(pfr->lCustData);
    return pDlg != nullptr && &pDlg->m_fr == pfr ? pDlg : nullptr;
}

void CFindReplaceDialog::PostNcDestroy()
{
    delete this;
}
