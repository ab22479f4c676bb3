// Property sheets and their pages, on the system's property sheet control.
#include "afxsheet.h"

// ---- CPropertyPage --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(MAKEINTRESOURCEA(nIDTemplate), nIDCaption)
{
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption)
    : CDialog(lpszTemplateName, nullptr), m_psp(), m_bFirstSetActive(TRUE)
{
    m_psp.dwSize = sizeof m_psp;
    if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption))
        m_psp.dwFlags |= PSP_USETITLE;
}

void CPropertyPage::BuildPage()
{
    m_psp.dwSize = sizeof m_psp;
    m_psp.hInstance = AfxFindResourceHandle(m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    m_psp.pszTemplate = m_lpszTemplateName;
    m_psp.pfnDlgProc = PageDlgProc;
    m_psp.lParam = (LPARAM)this;
    m_psp.pszTitle = (m_psp.dwFlags & PSP_USETITLE) ? (LPCSTR)m_strCaption : nullptr;
    m_bFirstSetActive = TRUE;
}

INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    // The system hands the page's record (its copy of m_psp, lParam = the page object).
    const PROPSHEETPAGEA* pPsp = (const PROPSHEETPAGEA*)lParam;
    CPropertyPage* pPage = pPsp != nullptr ? (CPropertyPage*)pPsp->lParam : nullptr;
    INT_PTR result = TRUE;
    if (pPage == nullptr)
        return result;
    AfxGuardCallback([&] {
        if (pPage->m_hWnd == nullptr && !pPage->SubclassWindow(hWnd))
            return;
        result = pPage->OnInitDialog();
    });
    return result;
}

CPropertySheet* CPropertyPage::GetSheet() const
{
    HWND hWndParent = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    return dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(hWndParent));
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    HWND hWndParent = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (hWndParent != nullptr)
        ::SendMessageA(hWndParent, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}
void CPropertyPage::OnReset() { OnCancel(); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg)
{
    // Inside a sheet the sheet does the dialog keys (its OK, Cancel and tabs); a page used as a
    // plain child dialog does them itself.
    if (GetSheet() != nullptr)
        return CWnd::PreTranslateMessage(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && lParam != 0) {
        NMHDR* pHdr = (NMHDR*)lParam;
        if (pHdr->hwndFrom == ::GetParent(m_hWnd) && pHdr->code <= PSN_FIRST && pHdr->code >= PSN_LAST) {
            LRESULT lResult = 0;
            BOOL bHandled = TRUE;
            switch (pHdr->code) {
            case PSN_SETACTIVE:
                lResult = OnSetActive() ? 0 : -1;
                break;
            case PSN_KILLACTIVE: {
                // A failure keeps the page, told to the user like any other.
                BOOL bOK = FALSE;
                AfxGuardCallback([&] { bOK = OnKillActive(); });
                lResult = bOK ? FALSE : TRUE;
                break;
            }
            case PSN_APPLY: {
                // A page that could not apply (it said why, or its failure is shown now) keeps
                // the sheet open with that page in front; the sheet has not ended with OK.
                BOOL bOK = FALSE;
                AfxGuardCallback([&] { bOK = OnApply(); });
                lResult = bOK ? PSNRET_NOERROR : PSNRET_INVALID;
                CPropertySheet* pSheet = GetSheet();
                if (pSheet != nullptr && !bOK)
                    pSheet->m_nModalResult = IDCANCEL;
                else if (pSheet != nullptr && ((PSHNOTIFY*)lParam)->lParam)
                    pSheet->m_nModalResult = IDOK;
                break;
            }
            case PSN_RESET: {
                OnReset();
                CPropertySheet* pSheet = GetSheet();
                if (pSheet != nullptr)
                    pSheet->m_nModalResult = IDCANCEL;
                break;
            }
            case PSN_QUERYCANCEL:
                lResult = OnQueryCancel() ? FALSE : TRUE;
                break;
            default:
                bHandled = FALSE;
                break;
            }
            if (bHandled) {
                ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
                return lResult;
            }
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// ---- CPropertySheet -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertySheet::CPropertySheet() : m_psh(), m_pParentWnd(nullptr), m_nStartPage(0), m_bModeless(FALSE)
{
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet()
{
    m_strCaption.LoadString(nIDCaption);
    m_pParentWnd = pParentWnd;
    m_nStartPage = iSelectPage;
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet()
{
    m_strCaption = pszCaption != nullptr ? pszCaption : "";
    m_pParentWnd = pParentWnd;
    m_nStartPage = iSelectPage;
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (pPage == nullptr)
        return;
    m_pages.push_back(pPage);
    if (m_hWnd != nullptr) {
        pPage->BuildPage();
        HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&pPage->m_psp);
        if (hPage != nullptr)
            ::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, (LPARAM)hPage);
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    if (nPage >= 0)
        RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, (WPARAM)nPage, 0);
    m_pages.erase(m_pages.begin() + nPage);
}

int CPropertySheet::GetPageCount() const { return (int)m_pages.size(); }

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[(size_t)nPage] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    for (size_t i = 0; i < m_pages.size(); i++)
        if (m_pages[i] == pPage)
            return (int)i;
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == nullptr)
        return (int)m_nStartPage < GetPageCount() ? (int)m_nStartPage : 0;
    HWND hWndPage = (HWND)::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0);
    for (size_t i = 0; i < m_pages.size(); i++)
        if (hWndPage != nullptr && m_pages[i]->m_hWnd == hWndPage)
            return (int)i;
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_hWnd == nullptr) {
        m_nStartPage = (UINT)nPage;
        return TRUE;
    }
    return (BOOL)::SendMessageA(m_hWnd, PSM_SETCURSEL, (WPARAM)nPage, 0);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    return SetActivePage(GetPageIndex(pPage));
}

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle)
{
    m_strCaption = lpszText != nullptr ? lpszText : "";
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, nStyle, (LPARAM)(LPCSTR)m_strCaption);
}

void CPropertySheet::PressButton(int nButton)
{
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_PRESSBUTTON, (WPARAM)nButton, 0);
}

void CPropertySheet::EndDialog(int nEndID)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nEndID);
    else if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CPropertySheet::CreateSheet(HWND hWndParent, DWORD dwStyle, DWORD dwExStyle)
{
    m_pspArray.clear();
    for (CPropertyPage* pPage : m_pages) {
        pPage->BuildPage();
        m_pspArray.push_back(pPage->m_psp);
    }
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    m_psh.hwndParent = hWndParent;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = (UINT)m_pspArray.size();
    m_psh.nStartPage = m_nStartPage < m_psh.nPages ? m_nStartPage : 0;
    m_psh.ppsp = m_pspArray.data();
    HWND hWnd = (HWND)::PropertySheetA(&m_psh);
    if (hWnd == nullptr || hWnd == (HWND)(INT_PTR)-1)
        return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    if (dwStyle != (DWORD)-1) {
        ModifyStyle((DWORD)-1 & ~dwStyle, dwStyle);
        if (dwExStyle != 0)
            ModifyStyleEx(0, dwExStyle);
    }
    return TRUE;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    m_bModeless = TRUE;
    return CreateSheet(m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr, dwStyle, dwExStyle);
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE;
    // OK or Cancel ended the system's sheet: it has no current page any more.
    if (m_hWnd != nullptr && ::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        return FALSE;
    }
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    AfxModalCall call;
    call.kind = AFX_MODAL_PROPERTYSHEET;
    call.className = GetRuntimeClass()->m_lpszClassName;
    call.caption = m_strCaption;
    call.pObject = this;
    call.hWndOwner = AfxGetSafeHwnd(m_pParentWnd);
    INT_PTR nSeamResult = IDCANCEL;
    // A driven sheet runs as the user's does; a user who leaves it open has it cancelled.
    if (AfxSeamHandle(call, &nSeamResult, [this](AfxModalCall& c, const AfxSeamDriveFn& drive) {
            AfxSeamDrivenRun run(this, c, drive, [this] { PressButton(PSBTN_CANCEL); });
            return RunModalSheet();
        }))
        return nSeamResult;
    return RunModalSheet();
}

INT_PTR CPropertySheet::RunModalSheet()
{
    m_bModeless = FALSE;
    HWND hWndParent = AfxGetSafeHwnd(CWnd::GetSafeOwner(m_pParentWnd, nullptr));
    // Pages that let the user work in the owner meanwhile rely on it being disabled; whatever
    // ends the run, it is enabled again.
    AfxModalOwnerGuard guard(this, hWndParent);
    m_nModalResult = IDCANCEL;
    INT_PTR nResult = -1;
    try {
        if (CreateSheet(hWndParent, (DWORD)-1, 0)) {
            // The system leaves a modeless sheet where it was made; a modal one comes up over
            // its owner.
            CenterWindow();
            RunModalLoop(MLF_SHOWONIDLE);
            nResult = m_nModalResult;
        }
    }
    catch (CException* e) {
        AfxReportCallbackException(e);
        nResult = -1;
    }
    return nResult;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
        (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
        return FALSE;
    return ::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg) != 0;
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KICKIDLE) {
        // Controls and bars of the pages update their command state while the sheet runs.
        SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        return 0;
    }
    LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    // OK or Cancel ended a modeless sheet: the system leaves an empty window behind, which goes.
    if (m_bModeless && m_hWnd != nullptr &&
        (message == WM_COMMAND || message == WM_SYSCOMMAND || message == WM_CLOSE || message == PSM_PRESSBUTTON) &&
        ::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
        DestroyWindow();
    return lResult;
}
