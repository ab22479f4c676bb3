// Printing: the print job's state, the print dialog, the printer devices and the view's print loop.
#include "afxprint.h"
#include "afxapp.h"
#include "afxdoc.h"
#include "afxres.h"
#include "afxseam.h"
#include "afxview.h"
#include "afxpreview.h"
#include <cstring>
#include <exception>

// ---- CPrintInfo -----------------------------------------------------------------------------

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)),
      m_bDirect(FALSE), m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1), m_nNumPreviewPages(0),
      m_lpUserData(nullptr), m_rectDraw(0, 0, 0, 0), m_strPageDesc("Page %u\nPages %u-%u\n")
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo()
{
    delete m_pPD;
}

void CPrintInfo::SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = (WORD)nMinPage; }
void CPrintInfo::SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = (WORD)nMaxPage; }
UINT CPrintInfo::GetMinPage() const { return m_pPD->m_pd.nMinPage; }
UINT CPrintInfo::GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }

UINT CPrintInfo::GetFromPage() const
{
    return m_pPD->PrintRange() ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return m_pPD->PrintRange() ? m_pPD->m_pd.nToPage : GetMaxPage();
}

// ---- The system's printers ------------------------------------------------------------------

BOOL CPrinterDevice::GetDefaults(HGLOBAL& hDevNames, HGLOBAL& hDevMode)
{
    PRINTDLGA pd;
    memset(&pd, 0, sizeof pd);
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT;
    hDevNames = hDevMode = nullptr;
    if (!::PrintDlgA(&pd) || pd.hDevNames == nullptr) {
        if (pd.hDevMode != nullptr)
            ::GlobalFree(pd.hDevMode);
        if (pd.hDevNames != nullptr)
            ::GlobalFree(pd.hDevNames);
        return FALSE;
    }
    hDevNames = pd.hDevNames;
    hDevMode = pd.hDevMode;
    return TRUE;
}

HDC CPrinterDevice::CreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode)
{
    if (hDevNames == nullptr)
        return nullptr;
    auto* pNames = (DEVNAMES*)::GlobalLock(hDevNames);
    if (pNames == nullptr)
        return nullptr;
    auto* pMode = hDevMode != nullptr ? (DEVMODEA*)::GlobalLock(hDevMode) : nullptr;
    HDC hDC = ::CreateDCA((LPCSTR)pNames + pNames->wDriverOffset, (LPCSTR)pNames + pNames->wDeviceOffset,
                          nullptr, pMode);
    if (pMode != nullptr)
        ::GlobalUnlock(hDevMode);
    ::GlobalUnlock(hDevNames);
    return hDC;
}

void CPrinterDevice::DeleteDC(HDC hDC)
{
    if (hDC != nullptr)
        ::DeleteDC(hDC);
}

CSize CPrinterDevice::GetPageSize(HDC hDC)
{
    return CSize(::GetDeviceCaps(hDC, HORZRES), ::GetDeviceCaps(hDC, VERTRES));
}

int CPrinterDevice::SetAbortProc(HDC hDC, ABORTPROC proc) { return ::SetAbortProc(hDC, proc); }
int CPrinterDevice::StartDoc(HDC hDC, const DOCINFOA* pInfo) { return ::StartDocA(hDC, pInfo); }
int CPrinterDevice::StartPage(HDC hDC) { return ::StartPage(hDC); }
int CPrinterDevice::EndPage(HDC hDC) { return ::EndPage(hDC); }
int CPrinterDevice::EndDoc(HDC hDC) { return ::EndDoc(hDC); }
int CPrinterDevice::AbortDoc(HDC hDC) { return ::AbortDoc(hDC); }

static CPrinterDevice* DefaultPrinterDevice()
{
    static CPrinterDevice s_system;
    return &s_system;
}

static CPrinterDevice* s_pPrinterDevice = nullptr;

CPrinterDevice* AfxGetPrinterDevice()
{
    return s_pPrinterDevice != nullptr ? s_pPrinterDevice : DefaultPrinterDevice();
}

CPrinterDevice* AfxSetPrinterDevice(CPrinterDevice* pDevice)
{
    CPrinterDevice* pOld = AfxGetPrinterDevice();
    s_pPrinterDevice = pDevice;
    return pOld;
}

// A DEVNAMES block: driver, device and port names after the header.
static HGLOBAL MakeDevNames(LPCSTR lpszDriver, LPCSTR lpszDevice, LPCSTR lpszPort)
{
    size_t nDriver = strlen(lpszDriver) + 1, nDevice = strlen(lpszDevice) + 1, nPort = strlen(lpszPort) + 1;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + nDriver + nDevice + nPort);
    if (h == nullptr)
        return nullptr;
    auto* p = (DEVNAMES*)::GlobalLock(h);
    p->wDriverOffset = (WORD)sizeof(DEVNAMES);
    p->wDeviceOffset = (WORD)(p->wDriverOffset + nDriver);
    p->wOutputOffset = (WORD)(p->wDeviceOffset + nDevice);
    p->wDefault = DN_DEFAULTPRN;
    memcpy((char*)p + p->wDriverOffset, lpszDriver, nDriver);
    memcpy((char*)p + p->wDeviceOffset, lpszDevice, nDevice);
    memcpy((char*)p + p->wOutputOffset, lpszPort, nPort);
    ::GlobalUnlock(h);
    return h;
}

// ---- CStandInPrinter ------------------------------------------------------------------------

CStandInPrinter::CStandInPrinter(CSize sizePage, LPCSTR lpszName) : m_sizePage(sizePage), m_strName(lpszName) {}

CStandInPrinter::~CStandInPrinter()
{
    for (Surface& s : m_surfaces) {
        ::SelectObject(s.hDC, s.hOld);
        ::DeleteObject(s.hBitmap);
        ::DeleteDC(s.hDC);
    }
}

BOOL CStandInPrinter::GetDefaults(HGLOBAL& hDevNames, HGLOBAL& hDevMode)
{
    hDevMode = nullptr;
    hDevNames = MakeDevNames("winspool", m_strName, "NUL:");
    return hDevNames != nullptr;
}

HDC CStandInPrinter::CreateDC(HGLOBAL, HGLOBAL)
{
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    if (hDC == nullptr)
        return nullptr;
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = m_sizePage.cx;
    bmi.bmiHeader.biHeight = -m_sizePage.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr) {
        ::DeleteDC(hDC);
        return nullptr;
    }
    m_surfaces.push_back({hDC, hBitmap, ::SelectObject(hDC, hBitmap), pBits});
    ++m_nDCsOpen;
    return hDC;
}

CStandInPrinter::Surface* CStandInPrinter::Find(HDC hDC)
{
    for (Surface& s : m_surfaces)
        if (s.hDC == hDC)
            return &s;
    return nullptr;
}

void CStandInPrinter::DeleteDC(HDC hDC)
{
    for (size_t i = 0; i < m_surfaces.size(); ++i) {
        if (m_surfaces[i].hDC != hDC)
            continue;
        ::SelectObject(hDC, m_surfaces[i].hOld);
        ::DeleteObject(m_surfaces[i].hBitmap);
        ::DeleteDC(hDC);
        m_surfaces.erase(m_surfaces.begin() + (ptrdiff_t)i);
        --m_nDCsOpen;
        return;
    }
}

CSize CStandInPrinter::GetPageSize(HDC) { return m_sizePage; }
int CStandInPrinter::SetAbortProc(HDC, ABORTPROC) { return 1; }

int CStandInPrinter::StartDoc(HDC hDC, const DOCINFOA* pInfo)
{
    if (m_bFailStartDoc || Find(hDC) == nullptr)
        return SP_ERROR;
    m_docNames.push_back(pInfo != nullptr && pInfo->lpszDocName != nullptr ? pInfo->lpszDocName : "");
    return (int)m_docNames.size();
}

int CStandInPrinter::StartPage(HDC hDC)
{
    Surface* s = Find(hDC);
    if (s == nullptr)
        return SP_ERROR;
    ::GdiFlush();
    memset(s->pBits, 0xFF, (size_t)m_sizePage.cx * (size_t)m_sizePage.cy * 4);
    return 1;
}

int CStandInPrinter::EndPage(HDC hDC)
{
    Surface* s = Find(hDC);
    if (s == nullptr || (m_nFailEndPage != 0 && m_pages.size() + 1 == m_nFailEndPage))
        return SP_ERROR;
    ::GdiFlush();
    Page page;
    page.size = m_sizePage;
    const DWORD* p = (const DWORD*)s->pBits;
    page.pixels.assign(p, p + (size_t)m_sizePage.cx * (size_t)m_sizePage.cy);
    for (DWORD& px : page.pixels)
        px &= 0x00FFFFFF;
    m_pages.push_back(std::move(page));
    return 1;
}

int CStandInPrinter::EndDoc(HDC)
{
    ++m_nDocsEnded;
    return 1;
}

int CStandInPrinter::AbortDoc(HDC)
{
    ++m_nDocsAborted;
    return 1;
}

COLORREF CStandInPrinter::Page::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= size.cx || y >= size.cy)
        return CLR_INVALID;
    DWORD px = pixels[(size_t)y * (size_t)size.cx + (size_t)x];
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

// ---- CPrintDialog ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    memset(&m_pd, 0, sizeof m_pd);
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.lpfnPrintHook = (LPPRINTHOOKPROC)HookProc;
    m_pd.lpfnSetupHook = (LPSETUPHOOKPROC)HookProc;
}

CPrintDialog::~CPrintDialog()
{
    // The printer choice belongs to whoever set it (the application's session printer); a DC
    // left here was never handed to a print loop.
    if (m_pd.hDC != nullptr)
        AfxGetPrinterDevice()->DeleteDC(m_pd.hDC);
}

BOOL CPrintDialog::RunSystemDialog()
{
    m_pd.Flags |= PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    m_pd.lpfnPrintHook = (LPPRINTHOOKPROC)HookProc;
    m_pd.lpfnSetupHook = (LPSETUPHOOKPROC)HookProc;
    if (m_pd.hwndOwner == nullptr) {
        CWnd* pOwner = CWnd::GetSafeOwner(m_pParentWnd, nullptr);
        m_pd.hwndOwner = pOwner != nullptr ? pOwner->m_hWnd : nullptr;
    }
    // The system dialog makes a system printer DC; the DC of a stand-in device is made here.
    BOOL bReturnDC = (m_pd.Flags & PD_RETURNDC) != 0;
    m_pd.Flags &= ~(DWORD)PD_RETURNDC;
    BOOL bOK = ::PrintDlgA(&m_pd);
    if (bReturnDC)
        m_pd.Flags |= PD_RETURNDC;
    if (bOK && bReturnDC && m_pd.hDC == nullptr)
        CreatePrinterDC();
    return bOK;
}

void CPrintDialog::TakeScriptAnswer(const AfxModalCall&)
{
    // A script that chose no printer took the default one, as the system dialog shows it first.
    if (m_pd.hDevNames == nullptr)
        GetDefaults();
    if ((m_pd.Flags & PD_RETURNDC) && m_pd.hDC == nullptr)
        CreatePrinterDC();
}

INT_PTR CPrintDialog::DoModal()
{
    AfxModalCall call;
    call.nType = m_pd.Flags;
    return DoCommonModal(call);
}

BOOL CPrintDialog::GetDefaults()
{
    HGLOBAL hNames = nullptr, hMode = nullptr;
    if (!AfxGetPrinterDevice()->GetDefaults(hNames, hMode))
        return FALSE;
    m_pd.hDevNames = hNames;
    m_pd.hDevMode = hMode;
    if (m_pd.Flags & PD_RETURNDC)
        CreatePrinterDC();
    return TRUE;
}

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDC != nullptr)
        AfxGetPrinterDevice()->DeleteDC(m_pd.hDC);
    m_pd.hDC = AfxGetPrinterDevice()->CreateDC(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

CString CPrintDialog::DevNamesPart(int nPart) const
{
    if (m_pd.hDevNames == nullptr)
        return CString();
    auto* p = (DEVNAMES*)::GlobalLock(m_pd.hDevNames);
    if (p == nullptr)
        return CString();
    WORD off = nPart == 0 ? p->wDriverOffset : nPart == 1 ? p->wDeviceOffset : p->wOutputOffset;
    CString s = (LPCSTR)p + off;
    ::GlobalUnlock(m_pd.hDevNames);
    return s;
}

CString CPrintDialog::GetDriverName() const { return DevNamesPart(0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesPart(1); }
CString CPrintDialog::GetPortName() const { return DevNamesPart(2); }

// ---- The session's printer ------------------------------------------------------------------

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg)
{
    if (m_hDevNames == nullptr) {
        HGLOBAL hNames = nullptr, hMode = nullptr;
        if (!AfxGetPrinterDevice()->GetDefaults(hNames, hMode))
            return FALSE;
        m_hDevNames = hNames;
        m_hDevMode = hMode;
    }
    if (pPrintDlg != nullptr) {
        pPrintDlg->hDevNames = m_hDevNames;
        pPrintDlg->hDevMode = m_hDevMode;
    }
    return TRUE;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD)
{
    pPD->m_pd.hDevNames = m_hDevNames;
    pPD->m_pd.hDevMode = m_hDevMode;
    INT_PTR nResult = pPD->DoModal();
    // The dialog may have replaced the blocks (the system frees the old ones it replaced).
    if (nResult == IDOK) {
        m_hDevNames = pPD->m_pd.hDevNames;
        m_hDevMode = pPD->m_pd.hDevMode;
    }
    else if (m_hDevNames == nullptr && pPD->m_pd.hDevNames != nullptr) {
        m_hDevNames = pPD->m_pd.hDevNames;
        m_hDevMode = pPD->m_pd.hDevMode;
    }
    return nResult;
}

void CWinApp::OnFilePrintSetup()
{
    // Without a printer the setup dialog has nothing to show.
    if (!GetPrinterDeviceDefaults(nullptr)) {
        AfxMessageBox(AFX_IDP_NO_PRINTER);
        return;
    }
    CPrintDialog pd(TRUE);
    DoPrintDialog(&pd);
}

// ---- The view's print loop ------------------------------------------------------------------

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CWinApp* pApp = AfxGetApp();
    CPrintDialog* pPD = pInfo->m_pPD;
    // Every print and preview needs a printer; without one the user is told once and nothing
    // else happens.
    if (pApp == nullptr || !pApp->GetPrinterDeviceDefaults(&pPD->m_pd)) {
        AfxMessageBox(AFX_IDP_NO_PRINTER);
        return FALSE;
    }
    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        if (pPD->CreatePrinterDC() == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
            return FALSE;
        }
    }
    else {
        if (pPD->m_pd.nMinPage > pPD->m_pd.nMaxPage)
            pPD->m_pd.nMaxPage = pPD->m_pd.nMinPage;
        if (pApp->DoPrintDialog(pPD) != IDOK)
            return FALSE;
        if (pPD->m_pd.hDC == nullptr && pPD->CreatePrinterDC() == nullptr) {
            AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
            return FALSE;
        }
    }
    // The dialog's page range in the job's terms.
    pInfo->SetMinPage(pPD->m_pd.nMinPage);
    pInfo->SetMaxPage(pPD->m_pd.nMaxPage);
    return TRUE;
}

static BOOL s_bUserAbort = FALSE;

static BOOL CALLBACK PrintAbortProc(HDC, int)
{
    // Keeps the program (and the printing dialog's Cancel) answering while the spooler works.
    MSG msg;
    while (!s_bUserAbort && ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!AfxGetApp() || !AfxGetApp()->PumpMessage())
            return FALSE;
        CPrintingDialog* pDlg = CPrintingDialog::GetActive();
        if (pDlg != nullptr && pDlg->IsCancelled())
            s_bUserAbort = TRUE;
    }
    return !s_bUserAbort;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    CPrinterDevice* pDevice = AfxGetPrinterDevice();
    HDC hDC = info.m_pPD->m_pd.hDC;
    if (hDC == nullptr)
        return;
    // The job owns the DC from here; the dialog must not delete it as well.
    info.m_pPD->m_pd.hDC = nullptr;
    CDC dc;
    dc.Attach(hDC);
    dc.m_bPrinting = TRUE;

    CString title;
    if (m_pDocument != nullptr)
        title = m_pDocument->GetTitle();
    if (title.GetLength() > 31)
        title = title.Left(31);
    DOCINFOA di;
    memset(&di, 0, sizeof di);
    di.cbSize = sizeof di;
    di.lpszDocName = title;

    // The view's end of printing and the printer DC's release run on every path; a failure of
    // the view (an exception of any kind) is told to the user once, after everything was given
    // back.
    std::exception_ptr failure;
    auto finish = [&] {
        AfxGuardCallback([&] { OnEndPrinting(&dc, &info); });
        dc.Detach();
        pDevice->DeleteDC(hDC);
        AfxReportCaughtException(failure);
    };

    s_bUserAbort = FALSE;
    pDevice->SetAbortProc(hDC, PrintAbortProc);
    try {
        OnBeginPrinting(&dc, &info);
    }
    catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        finish();
        return;
    }
    if (pDevice->StartDoc(hDC, &di) <= 0) {
        finish();
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
        return;
    }

    // The printing dialog stands in front of the disabled main window until the job ends.
    CWnd* pMain = AfxGetMainWnd();
    HWND hWndMain = pMain != nullptr ? pMain->m_hWnd : nullptr;
    CPrintingDialog dlgPrinting(pMain);
    BOOL bDialog = dlgPrinting.Create(title, info.m_pPD->GetDeviceName());
    if (bDialog && hWndMain != nullptr)
        ::EnableWindow(hWndMain, FALSE);

    // A failure of the view's printing ends the job like a failing printer: the job is aborted.
    BOOL bError = FALSE;
    try {
        UINT nEnd = info.GetToPage();
        for (info.m_nCurPage = info.GetFromPage(); info.m_nCurPage <= nEnd; ++info.m_nCurPage) {
            // A job of unknown length prints one page unless the view asks for more.
            if (info.GetMaxPage() == 0xFFFF)
                info.m_bContinuePrinting = info.m_nCurPage == info.GetFromPage();
            OnPrepareDC(&dc, &info);
            if (!info.m_bContinuePrinting)
                break;
            if (pDevice->StartPage(hDC) <= 0) {
                bError = TRUE;
                break;
            }
            // A view may have changed the mapping in OnPrepareDC: the page in its logical units.
            CSize page = pDevice->GetPageSize(hDC);
            info.m_rectDraw.SetRect(0, 0, page.cx, page.cy);
            ::DPtoLP(hDC, (LPPOINT)(RECT*)&info.m_rectDraw, 2);
            if (bDialog)
                dlgPrinting.SetPage(info.m_nCurPage);
            OnPrint(&dc, &info);
            BOOL bEnded = pDevice->EndPage(hDC) > 0;
            // The spooler calls the abort procedure while it takes the page; it runs here as
            // well, so that a Cancel pressed meanwhile counts on every printer.
            PrintAbortProc(hDC, 0);
            if (!bEnded) {
                bError = TRUE;
                break;
            }
            if (s_bUserAbort || info.m_nCurPage == 0xFFFF)
                break;
        }
    }
    catch (...) {
        failure = std::current_exception();
    }
    if (bError || s_bUserAbort || failure)
        pDevice->AbortDoc(hDC);
    else
        pDevice->EndDoc(hDC);
    if (bDialog && hWndMain != nullptr && ::IsWindow(hWndMain))
        ::EnableWindow(hWndMain, TRUE);
    dlgPrinting.DestroyWindow();
    finish();
    if (bError && !failure)
        AfxMessageBox(AFX_IDP_FAILED_TO_PRINT);
}
