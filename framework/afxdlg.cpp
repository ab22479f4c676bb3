// Dialogs and dialog data exchange.
#include "afxwin.h"
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdlib>

// ---- CDialog --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, HandleSetFont)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(nullptr), m_nIDHelp(0), m_pParentWnd(nullptr), m_lpDialogTemplate(nullptr),
      m_hDialogTemplate(nullptr)
{
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD((UINT_PTR)lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_pParentWnd = pParentWnd;
    m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((UINT_PTR)lpszTemplateName);
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEA lpTemplate = LoadDialogTemplate(&hInst);
    if (lpTemplate == nullptr)
        return FALSE;
    return CreateDlgIndirect(lpTemplate, pParentWnd != nullptr ? pParentWnd : AfxGetMainWnd(), hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd == nullptr)
        pParentWnd = AfxGetMainWnd();
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    LPCDLGTEMPLATEA lpTemplate = (LPCDLGTEMPLATEA)::LockResource(hDialogTemplate);
    return lpTemplate != nullptr && CreateIndirect(lpTemplate, pParentWnd);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

LPCDLGTEMPLATEA CDialog::LoadDialogTemplate(HINSTANCE* phInst)
{
    *phInst = AfxGetResourceHandle();
    if (m_lpszTemplateName != nullptr) {
        HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, (LPCSTR)RT_DIALOG);
        HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
        if (hResource == nullptr)
            return nullptr;
        HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
        *phInst = hInst;
        return hTemplate != nullptr ? (LPCDLGTEMPLATEA)::LockResource(hTemplate) : nullptr;
    }
    if (m_hDialogTemplate != nullptr)
        return (LPCDLGTEMPLATEA)::LockResource(m_hDialogTemplate);
    return m_lpDialogTemplate;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    *GetSuperWndProcAddr() = nullptr;

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, AfxGetSafeHwnd(pParentWnd), AfxDlgProc,
                                             (LPARAM)this);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    // EndDialog during OnInitDialog: the dialog never shows.
    if (hWnd != nullptr && !(m_nFlags & WF_CONTINUEMODAL)) {
        ::DestroyWindow(hWnd);
        hWnd = nullptr;
    }
    return hWnd != nullptr;
}

AfxModalOwnerGuard::AfxModalOwnerGuard(CWnd* pModal, HWND hWndOwner)
    : m_pModal(pModal), m_hWndOwner(hWndOwner), m_bEnableOwner(FALSE)
{
    if (hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        m_bEnableOwner = TRUE;
    }
}

AfxModalOwnerGuard::~AfxModalOwnerGuard()
{
    if (m_bEnableOwner && ::IsWindow(m_hWndOwner))
        ::EnableWindow(m_hWndOwner, TRUE);
    if (m_hWndOwner != nullptr && m_pModal->m_hWnd != nullptr && ::GetActiveWindow() == m_pModal->m_hWnd)
        ::SetActiveWindow(m_hWndOwner);
    if (m_pModal->m_hWnd != nullptr)
        m_pModal->DestroyWindow();
}

INT_PTR CDialog::DoModal()
{
    AfxModalCall call;
    call.kind = AFX_MODAL_DIALOG;
    call.nIDTemplate = IS_INTRESOURCE(m_lpszTemplateName) ? LOWORD((UINT_PTR)m_lpszTemplateName) : 0;
    call.className = GetRuntimeClass()->m_lpszClassName;
    call.pObject = this;
    call.hWndOwner = AfxGetSafeHwnd(m_pParentWnd);
    INT_PTR nSeamResult = IDCANCEL;
    // A driven dialog runs as the user's does; a user who leaves it open has it end unseen.
    if (AfxSeamHandle(call, &nSeamResult, [this](AfxModalCall& c, const AfxSeamDriveFn& drive) {
            AfxSeamDrivenRun run(this, c, drive, nullptr);
            return RunModalDialog();
        }))
        return nSeamResult;
    return RunModalDialog();
}

INT_PTR CDialog::RunModalDialog()
{
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATEA lpTemplate = LoadDialogTemplate(&hInst);
    if (lpTemplate == nullptr)
        return -1;

    HWND hWndParent = AfxGetSafeHwnd(CWnd::GetSafeOwner(m_pParentWnd, nullptr));
    AfxModalOwnerGuard guard(this, hWndParent);
    try {
        if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndParent), hInst)) {
            if (m_nFlags & WF_CONTINUEMODAL) {
                DWORD dwFlags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG)
                    dwFlags |= MLF_NOIDLEMSG;
                RunModalLoop(dwFlags);
            }
            if (m_hWnd != nullptr)
                SetWindowPos(nullptr, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    catch (CException* e) {
        AfxReportCallbackException(e);
        m_nModalResult = -1;
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)AfxGetSafeHwnd(pWndCtrl), 1);
}
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0); }

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;    // the system gives the first control the focus
}

void CDialog::OnSetFont(CFont*) {}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;     // the failing control has the focus
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    CRect rectOld;
    GetWindowRect(&rectOld);
    // The dialog procedure calls OnInitDialog.
    LRESULT bResult = Default();
    // A hidden top-level dialog that its initialisation did not move is centred on its owner.
    if (m_hWnd != nullptr && !(GetStyle() & (WS_VISIBLE | WS_CHILD))) {
        CRect rectNew;
        GetWindowRect(&rectNew);
        if (rectNew == rectOld)
            CenterWindow();
    }
    return bResult;
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM)
{
    OnSetFont(CFont::FromHandle((HFONT)wParam));
    return Default();
}

void CDialog::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    // Popups a dialog shows (context menus) get their items' state from its update handlers.
    if (bSysMenu || pMenu == nullptr)
        return;
    AfxUpdateMenuCmdUI(this, pMenu, FALSE);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Escape in a multi-line edit would otherwise be swallowed by the edit.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongPtrA(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
        char szClass[16] = "";
        ::GetClassNameA(pMsg->hwnd, szClass, sizeof szClass);
        if (lstrcmpiA(szClass, "Edit") == 0) {
            HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
            if (hItem == nullptr || ::IsWindowEnabled(hItem)) {
                SendMessage(WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }
        }
    }
    // Keyboard and mouse input of the dialog and its controls: dialog navigation.
    if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
        (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Control notifications and system commands stop here; menu commands go on to the owner.
    if ((nCode != CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI) || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWnd* pOwner = GetParent();
    if (pOwner != nullptr && pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- Modal loops and data exchange of CWnd --------------------------------------------------

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    // However the loop is left (an exception out of a message filter included), the window no
    // longer runs one.
    struct LoopGuard
    {
        CWnd* pWnd;
        ~LoopGuard() { pWnd->m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL); }
    } loopGuard{this};
    CWinThread* pThread = AfxGetThread();
    MSG msgLocal;
    MSG* pMsg = pThread != nullptr ? &pThread->m_msgCur : &msgLocal;
    HWND hWnd = m_hWnd;

    for (;;) {
        // Idle: show the window once, tell the owner, kick the window's idle handling.
        while (bIdle && !::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0) {
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
                // A dialog of a dialog: the window at the root of its owners hears it as well.
                HWND hWndRoot = ::GetAncestor(hWndParent, GA_ROOTOWNER);
                if (hWndRoot != nullptr && hWndRoot != hWndParent && hWndRoot != m_hWnd)
                    ::SendMessageA(hWndRoot, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            }
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }
        // Nothing left to do but wait for the user. A run the test seam drives has its user act
        // now; then the loop looks at its window again and updates the commands.
        if (!::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE) && AfxSeamModalWait(this)) {
            if (!::IsWindow(hWnd) || !ContinueModal())
                goto ExitModal;
            bIdle = TRUE;
            lIdleCount = 0;
            continue;
        }
        do {
            BOOL bGot;
            if (pThread != nullptr) {
                bGot = pThread->PumpMessage();
            }
            else {
                bGot = ::GetMessageA(pMsg, nullptr, 0, 0);
                if (bGot && pMsg->message != WM_KICKIDLE && !WalkPreTranslateTree(nullptr, pMsg)) {
                    ::TranslateMessage(pMsg);
                    ::DispatchMessageA(pMsg);
                }
            }
            if (!bGot) {
                // The program is ending: the outer loop must see the same request.
                ::PostQuitMessage((int)pMsg->wParam);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!::IsWindow(hWnd) || !ContinueModal())
                goto ExitModal;
            if (pThread != nullptr && pThread->IsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(pMsg, nullptr, 0, 0, PM_NOREMOVE));
    }
ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        if (m_hWnd != nullptr)
            PostMessage(WM_NULL);
    }
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // Notifications that the transfer itself causes (EN_CHANGE and the like) are not routed.
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    // The lock is given back however the exchange ends, an exception of any kind included.
    struct LockoutGuard
    {
        AFX_THREAD_STATE* pState;
        HWND hWndOld;
        ~LockoutGuard() { pState->m_hLockoutNotifyWindow = hWndOld; }
    } guard{pState, pState->m_hLockoutNotifyWindow};
    pState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    }
    catch (CUserException* e) {
        e->Delete();    // the user has been told
    }
    catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
        e->Delete();
    }
    return bOK;
}

// ---- CDataExchange --------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(nullptr), m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr)
        AfxThrowNotSupportedException();
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

// ---- DDX ------------------------------------------------------------------------------------

namespace {

CString WindowText(HWND hWnd)
{
    int nLen = ::GetWindowTextLengthA(hWnd);
    CString text;
    ::GetWindowTextA(hWnd, text.GetBufferSetLength(nLen), nLen + 1);
    text.ReleaseBuffer();
    return text;
}

void SetWindowTextIfChanged(HWND hWnd, LPCSTR lpszNew)
{
    if (WindowText(hWnd) != lpszNew)
        ::SetWindowTextA(hWnd, lpszNew);
}

bool OnlySpaceLeft(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p == '\0';
}

// A whole signed number (blanks around allowed) within [minVal, maxVal].
bool ParseSigned(const CString& text, long long minVal, long long maxVal, long long& value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    long long v = strtoll(p, &end, 10);
    if (end == p || errno == ERANGE || !OnlySpaceLeft(end) || v < minVal || v > maxVal)
        return false;
    value = v;
    return true;
}

bool ParseUnsigned(const CString& text, unsigned long long maxVal, unsigned long long& value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '\0' || *p == '-')
        return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = strtoull(p, &end, 10);
    if (end == p || errno == ERANGE || !OnlySpaceLeft(end) || v > maxVal)
        return false;
    value = v;
    return true;
}

bool ParseReal(const CString& text, double& value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    double v = strtod(p, &end);
    if (end == p || errno == ERANGE || !OnlySpaceLeft(end))
        return false;
    value = v;
    return true;
}

[[noreturn]] void FailParse(CDataExchange* pDX, UINT nIDPrompt)
{
    AfxMessageBox(nIDPrompt);
    pDX->Fail();
}

template <class T> void TextSigned(CDataExchange* pDX, int nIDC, T& value, long long minVal, long long maxVal)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long v;
        if (!ParseSigned(WindowText(hWndCtrl), minVal, maxVal, v))
            FailParse(pDX, AFX_IDP_PARSE_INT);
        value = (T)v;
    }
    else {
        char szT[32];
        wsprintfA(szT, "%ld", (long)value);
        SetWindowTextIfChanged(hWndCtrl, szT);
    }
}

template <class T> void TextUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long maxVal, UINT nIDPrompt)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        unsigned long long v;
        if (!ParseUnsigned(WindowText(hWndCtrl), maxVal, v))
            FailParse(pDX, nIDPrompt);
        value = (T)v;
    }
    else {
        char szT[32];
        wsprintfA(szT, "%lu", (unsigned long)value);
        SetWindowTextIfChanged(hWndCtrl, szT);
    }
}

template <class T> void TextReal(CDataExchange* pDX, int nIDC, T& value, int nDigits)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        double d;
        if (!ParseReal(WindowText(hWndCtrl), d))
            FailParse(pDX, AFX_IDP_PARSE_REAL);
        value = (T)d;
    }
    else {
        CString text;
        text.Format("%.*g", nDigits, (double)value);
        SetWindowTextIfChanged(hWndCtrl, text);
    }
}

[[noreturn]] void FailMinMax(CDataExchange* pDX, LPCSTR lpszMin, LPCSTR lpszMax, UINT nIDPrompt)
{
    CString prompt;
    AfxFormatString2(prompt, nIDPrompt, lpszMin, lpszMax);
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

} // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWndCtrl);
    else
        SetWindowTextIfChanged(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { TextSigned(pDX, nIDC, value, INT_MIN, INT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, short& value) { TextSigned(pDX, nIDC, value, SHRT_MIN, SHRT_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { TextSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { TextUnsigned(pDX, nIDC, value, UINT_MAX, AFX_IDP_PARSE_UINT); }
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) { TextUnsigned(pDX, nIDC, value, ULONG_MAX, AFX_IDP_PARSE_UINT); }
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) { TextUnsigned(pDX, nIDC, value, 255, AFX_IDP_PARSE_BYTE); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { TextReal(pDX, nIDC, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { TextReal(pDX, nIDC, value, DBL_DIG); }

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
    }
    else {
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int iButton = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0 && value == -1)
                    value = iButton;
            }
            else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != nullptr && !(::GetWindowLongPtrA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

// ---- DDV ------------------------------------------------------------------------------------

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    DDV_MinMaxLong(pDX, value, minVal, maxVal);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[32], szMax[32];
    wsprintfA(szMin, "%ld", minVal);
    wsprintfA(szMax, "%ld", maxVal);
    FailMinMax(pDX, szMin, szMax, AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[32], szMax[32];
    wsprintfA(szMin, "%u", minVal);
    wsprintfA(szMax, "%u", maxVal);
    FailMinMax(pDX, szMin, szMax, AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMin, strMax;
    strMin.Format("%.*g", FLT_DIG, (double)minVal);
    strMax.Format("%.*g", FLT_DIG, (double)maxVal);
    FailMinMax(pDX, strMin, strMax, AFX_IDP_PARSE_REAL_RANGE);
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMin, strMax;
    strMin.Format("%.*g", DBL_DIG, minVal);
    strMax.Format("%.*g", DBL_DIG, maxVal);
    FailMinMax(pDX, strMin, strMax, AFX_IDP_PARSE_REAL_RANGE);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        char szT[32];
        wsprintfA(szT, "%d", nChars);
        CString prompt;
        AfxFormatString1(prompt, AFX_IDP_PARSE_STRING_SIZE, szT);
        AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
        pDX->Fail();
    }
    else if (pDX->m_hWndLastControl != nullptr && pDX->m_bEditLastControl) {
        ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}
