// Print preview, the frames' preview mode and the print-progress dialog.
#include "afxpreview.h"
#include "afxapp.h"
#include "afxcmd.h"
#include "afxprint.h"
#include "afxres.h"
#include <cstdio>
#include <exception>
#include <algorithm>
#include <numeric>

// ---- CPreviewDC -----------------------------------------------------------------------------

CPreviewDC::CPreviewDC() : m_ptPage(0, 0), m_sizeNum(1, 1), m_sizeDen(1, 1) { m_bPrinting = TRUE; }

CPreviewDC::~CPreviewDC()
{
    // Neither context belongs to this object.
    ReleaseOutputDC();
    ReleaseAttribDC();
}

void CPreviewDC::SetPageRect(const CRect& rectScreen, CSize sizePrinterPage)
{
    m_ptPage = rectScreen.TopLeft();
    auto reduce = [](LONG num, LONG den, LONG& outNum, LONG& outDen) {
        if (num <= 0 || den <= 0) {
            outNum = outDen = 1;
            return;
        }
        LONG g = std::gcd(num, den);
        outNum = num / g;
        outDen = den / g;
    };
    reduce(rectScreen.Width(), sizePrinterPage.cx, m_sizeNum.cx, m_sizeDen.cx);
    reduce(rectScreen.Height(), sizePrinterPage.cy, m_sizeNum.cy, m_sizeDen.cy);
    MirrorMappingMode();
}

void CPreviewDC::MirrorMappingMode()
{
    if (m_hDC == nullptr || m_hAttribDC == nullptr || m_hDC == m_hAttribDC)
        return;
    // The printer's mapping, followed by the scale from printer pixels to the page on screen.
    SIZE wndExt = {1, 1}, vpExt = {1, 1};
    POINT wndOrg = {0, 0}, vpOrg = {0, 0};
    ::GetWindowExtEx(m_hAttribDC, &wndExt);
    ::GetViewportExtEx(m_hAttribDC, &vpExt);
    ::GetWindowOrgEx(m_hAttribDC, &wndOrg);
    ::GetViewportOrgEx(m_hAttribDC, &vpOrg);
    ::SetMapMode(m_hDC, MM_ANISOTROPIC);
    ::SetWindowExtEx(m_hDC, wndExt.cx * m_sizeDen.cx, wndExt.cy * m_sizeDen.cy, nullptr);
    ::SetViewportExtEx(m_hDC, vpExt.cx * m_sizeNum.cx, vpExt.cy * m_sizeNum.cy, nullptr);
    ::SetWindowOrgEx(m_hDC, wndOrg.x, wndOrg.y, nullptr);
    ::SetViewportOrgEx(m_hDC, m_ptPage.x + ::MulDiv(vpOrg.x, m_sizeNum.cx, m_sizeDen.cx),
                       m_ptPage.y + ::MulDiv(vpOrg.y, m_sizeNum.cy, m_sizeDen.cy), nullptr);
}

int CPreviewDC::SetMapMode(int nMapMode)
{
    int n = ::SetMapMode(m_hAttribDC, nMapMode);
    MirrorMappingMode();
    return n;
}

CPoint CPreviewDC::SetViewportOrg(int x, int y)
{
    POINT pt = {0, 0};
    ::SetViewportOrgEx(m_hAttribDC, x, y, &pt);
    MirrorMappingMode();
    return pt;
}

CPoint CPreviewDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT pt = {0, 0};
    ::OffsetViewportOrgEx(m_hAttribDC, nWidth, nHeight, &pt);
    MirrorMappingMode();
    return pt;
}

CSize CPreviewDC::SetViewportExt(int cx, int cy)
{
    SIZE size = {0, 0};
    ::SetViewportExtEx(m_hAttribDC, cx, cy, &size);
    MirrorMappingMode();
    return size;
}

CSize CPreviewDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {0, 0};
    ::ScaleViewportExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    MirrorMappingMode();
    return size;
}

CSize CPreviewDC::SetWindowExt(int cx, int cy)
{
    SIZE size = {0, 0};
    ::SetWindowExtEx(m_hAttribDC, cx, cy, &size);
    MirrorMappingMode();
    return size;
}

CSize CPreviewDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {0, 0};
    ::ScaleWindowExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    MirrorMappingMode();
    return size;
}

BOOL CPreviewDC::RestoreDC(int nSavedDC)
{
    BOOL b = CDC::RestoreDC(nSavedDC);
    MirrorMappingMode();
    return b;
}

// ---- The frame's preview mode ---------------------------------------------------------------

void CFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    if (pState == nullptr || m_hWnd == nullptr)
        return;
    m_bPreviewMode = bPreview;
    if (bPreview) {
        // The menu's commands mean nothing to the preview.
        if (!(GetStyle() & WS_CHILD)) {
            pState->hMenu = ::GetMenu(m_hWnd);
            if (pState->hMenu != nullptr)
                ::SetMenu(m_hWnd, nullptr);
        }
        // Every bar that shows goes away; a floating one with its frame.
        pState->hiddenBars.clear();
        for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
            auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
            if (pBar == nullptr || pBar->m_hWnd == nullptr || pBar->IsDockBar())
                continue;
            HWND hWnd = pBar->m_hWnd;
            if (pBar->IsFloating()) {
                CFrameWnd* pMini = pBar->GetParentFrame();
                if (pMini == nullptr || pMini == this)
                    continue;
                hWnd = pMini->m_hWnd;
            }
            if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) == 0)
                continue;
            pState->hiddenBars.push_back(hWnd);
            ::ShowWindow(hWnd, SW_HIDE);
        }
        // The client pane steps aside for the preview view.
        auto* pMDI = dynamic_cast<CMDIFrameWnd*>(this);
        HWND hPane = pMDI != nullptr && pMDI->m_hWndMDIClient != nullptr ? pMDI->m_hWndMDIClient
                                                                        : ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
        pState->pViewActiveOld = GetActiveView();
        if (hPane != nullptr) {
            pState->hWndPane = hPane;
            pState->nIDPane = (UINT)::GetDlgCtrlID(hPane);
            ::SetWindowLongPtrA(hPane, GWLP_ID, AFX_IDW_PANE_SAVE);
            ::ShowWindow(hPane, SW_HIDE);
        }
    }
    else {
        if (pState->hWndPane != nullptr && ::IsWindow(pState->hWndPane)) {
            ::SetWindowLongPtrA(pState->hWndPane, GWLP_ID, (LONG_PTR)pState->nIDPane);
            ::ShowWindow(pState->hWndPane, SW_SHOW);
        }
        for (HWND hWnd : pState->hiddenBars)
            if (::IsWindow(hWnd))
                ::ShowWindow(hWnd, SW_SHOWNA);
        pState->hiddenBars.clear();
        if (pState->hMenu != nullptr && ::IsMenu(pState->hMenu)) {
            ::SetMenu(m_hWnd, pState->hMenu);
            ::DrawMenuBar(m_hWnd);
        }
        if (pState->pViewActiveOld != nullptr && ::IsWindow(pState->pViewActiveOld->m_hWnd) &&
            pState->pViewActiveOld->GetParentFrame() == this)
            SetActiveView(pState->pViewActiveOld);
    }
    RecalcLayout();
}

BOOL CFrameWnd::ClosePrintPreview()
{
    if (!m_bPreviewMode || m_hWnd == nullptr)
        return FALSE;
    auto* pPreview = dynamic_cast<CPreviewView*>(GetActiveView());
    if (pPreview == nullptr)
        pPreview = dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)));
    if (pPreview == nullptr)
        return FALSE;
    pPreview->OnPreviewClose();
    return TRUE;
}

// ---- CPreviewBar ----------------------------------------------------------------------------

CPreviewBar::CPreviewBar() { m_bAutoDelete = TRUE; }

BOOL CPreviewBar::Create(CFrameWnd* pFrame, CPreviewView* pView)
{
    m_dwStyle = CBRS_TOP;
    if (!CWnd::Create(nullptr, "Print Preview", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pFrame,
                      AFX_IDW_PREVIEW_BAR))
        return FALSE;
    SetOwner(pView);
    struct
    {
        UINT nID, nText;
    } buttons[] = {{AFX_ID_PREVIEW_PRINT, AFX_IDS_PREVIEW_PRINT},
                   {AFX_ID_PREVIEW_NEXT, AFX_IDS_PREVIEW_NEXT},
                   {AFX_ID_PREVIEW_PREV, AFX_IDS_PREVIEW_PREV},
                   {AFX_ID_PREVIEW_CLOSE, AFX_IDS_PREVIEW_CLOSE}};
    HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    int x = 4;
    for (auto& b : buttons) {
        CString text;
        text.LoadString(b.nText);
        HWND h = ::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, 3, 80,
                                   22, m_hWnd, (HMENU)(UINT_PTR)b.nID, AfxGetInstanceHandle(), nullptr);
        ::SendMessageA(h, WM_SETFONT, (WPARAM)hFont, FALSE);
        x += 84;
    }
    HWND h = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, x + 8,
                               3, 200, 22, m_hWnd, (HMENU)(UINT_PTR)AFX_ID_PREVIEW_PAGE, AfxGetInstanceHandle(),
                               nullptr);
    ::SendMessageA(h, WM_SETFONT, (WPARAM)hFont, FALSE);
    return TRUE;
}

CSize CPreviewBar::CalcFixedLayout(BOOL, BOOL bHorz) { return bHorz ? CSize(32767, 28) : CSize(28, 32767); }

void CPreviewBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    // The buttons follow the page: no previous page on the first, no next one on the last.
    auto* pView = dynamic_cast<CPreviewView*>(GetOwner());
    if (pView == nullptr || pView->GetPrintInfo() == nullptr)
        return;
    UINT nPage = pView->GetCurrentPage();
    ::EnableWindow(::GetDlgItem(m_hWnd, AFX_ID_PREVIEW_PREV), nPage > pView->GetPrintInfo()->GetMinPage());
    ::EnableWindow(::GetDlgItem(m_hWnd, AFX_ID_PREVIEW_NEXT), nPage < pView->GetPrintInfo()->GetMaxPage());
}

// ---- CPreviewView ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
    ON_WM_DESTROY()
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
END_MESSAGE_MAP()

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView()
{
    EndJob();
    delete m_pPreviewInfo;
    delete m_pPreviewState;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView)
{
    m_pPrintView = pPrintView;
    m_hWndPrintView = pPrintView != nullptr ? pPrintView->m_hWnd : nullptr;
    delete m_pPreviewInfo;
    m_pPreviewInfo = new CPrintInfo;
    m_pPreviewInfo->m_bPreview = TRUE;
    if (pPrintView == nullptr || !pPrintView->OnPreparePrinting(m_pPreviewInfo))
        return FALSE;
    // The job owns the printer DC from here.
    m_hPrinterDC = m_pPreviewInfo->m_pPD->m_pd.hDC;
    m_pPreviewInfo->m_pPD->m_pd.hDC = nullptr;
    if (m_hPrinterDC == nullptr)
        return FALSE;
    m_dcPrinter.Attach(m_hPrinterDC);
    m_dcPrinter.m_bPrinting = TRUE;
    m_bJobStarted = TRUE;
    m_pPrintView->OnBeginPrinting(&m_dcPrinter, m_pPreviewInfo);
    SetCurrentPage(m_pPreviewInfo->m_nCurPage);
    return TRUE;
}

void CPreviewView::EndJob()
{
    if (m_bJobStarted) {
        m_bJobStarted = FALSE;
        if (IsPrintViewAlive())
            m_pPrintView->OnEndPrinting(&m_dcPrinter, m_pPreviewInfo);
    }
    if (m_hPrinterDC != nullptr) {
        m_dcPrinter.Detach();
        AfxGetPrinterDevice()->DeleteDC(m_hPrinterDC);
        m_hPrinterDC = nullptr;
    }
}

BOOL CPreviewView::IsPrintViewAlive() const
{
    // The object is asked only while its window is still the one it had.
    return m_pPrintView != nullptr &&
           (m_hWndPrintView == nullptr ||
            (::IsWindow(m_hWndPrintView) && CWnd::FromHandlePermanent(m_hWndPrintView) == m_pPrintView));
}

UINT CPreviewView::GetCurrentPage() const { return m_pPreviewInfo != nullptr ? m_pPreviewInfo->m_nCurPage : 0; }

void CPreviewView::SetCurrentPage(UINT nPage)
{
    if (m_pPreviewInfo == nullptr)
        return;
    nPage = std::max(nPage, m_pPreviewInfo->GetMinPage());
    nPage = std::min(nPage, m_pPreviewInfo->GetMaxPage());
    m_pPreviewInfo->m_nCurPage = nPage;
    UpdatePageText();
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

CString CPreviewView::GetPageText() const
{
    if (m_pPreviewInfo == nullptr)
        return CString();
    CString fmt = m_pPreviewInfo->m_strPageDesc;
    int n = fmt.Find('\n');
    if (n >= 0)
        fmt = fmt.Left(n);
    char sz[256];
    std::snprintf(sz, sizeof sz, (LPCSTR)fmt, m_pPreviewInfo->m_nCurPage);
    return sz;
}

void CPreviewView::UpdatePageText()
{
    if (m_pToolBar != nullptr && m_pToolBar->m_hWnd != nullptr)
        ::SetDlgItemTextA(m_pToolBar->m_hWnd, AFX_ID_PREVIEW_PAGE, GetPageText());
}

CRect CPreviewView::GetPageRect() const
{
    CRect client;
    if (m_hWnd == nullptr || m_hPrinterDC == nullptr)
        return CRect(0, 0, 0, 0);
    ::GetClientRect(m_hWnd, &client);
    client.DeflateRect(12, 12);
    CSize page = AfxGetPrinterDevice()->GetPageSize(m_hPrinterDC);
    if (page.cx <= 0 || page.cy <= 0 || client.Width() <= 0 || client.Height() <= 0)
        return CRect(0, 0, 0, 0);
    // The largest page of the printer's proportions that fits.
    int cx = client.Width(), cy = ::MulDiv(cx, page.cy, page.cx);
    if (cy > client.Height()) {
        cy = client.Height();
        cx = ::MulDiv(cy, page.cx, page.cy);
    }
    int x = client.left + (client.Width() - cx) / 2, y = client.top + (client.Height() - cy) / 2;
    return CRect(x, y, x + cx, y + cy);
}

BOOL CPreviewView::OnEraseBkgnd(CDC*) { return TRUE; }

void CPreviewView::DrawPage(HDC hOutput, const CRect& rectPage)
{
    CPreviewDC dc;
    dc.SetOutputDC(hOutput);
    dc.SetAttribDC(m_hPrinterDC);
    CSize sizePage = AfxGetPrinterDevice()->GetPageSize(m_hPrinterDC);
    dc.SetPageRect(rectPage, sizePage);
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    m_pPrintView->OnPrepareDC(&dc, m_pPreviewInfo);
    CRect draw(0, 0, sizePage.cx, sizePage.cy);
    dc.DPtoLP(&draw);
    m_pPreviewInfo->m_rectDraw = draw;
    // Nothing the view draws leaves the page.
    dc.IntersectClipRect(&draw);
    m_pPrintView->OnPrint(&dc, m_pPreviewInfo);
}

void CPreviewView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    // The page is composed off screen and copied at once.
    HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(pDC->m_hDC, client.Width(), client.Height());
    if (hMem == nullptr || hBitmap == nullptr) {
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        if (hMem != nullptr)
            ::DeleteDC(hMem);
        return;
    }
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    std::exception_ptr failure;
    HBRUSH hBack = ::GetSysColorBrush(COLOR_APPWORKSPACE);
    ::FillRect(hMem, &client, hBack);

    CRect page = GetPageRect();
    // The previewed view went (its document was closed meanwhile): the preview ends with it.
    if (!IsPrintViewAlive() && m_hWndPrintView != nullptr) {
        PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
        page.SetRectEmpty();
    }
    if (!page.IsRectEmpty() && m_pPrintView != nullptr && m_pPreviewInfo != nullptr) {
        CRect shadow = page;
        shadow.OffsetRect(4, 4);
        ::FillRect(hMem, &shadow, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        ::FillRect(hMem, &page, (HBRUSH)::GetStockObject(WHITE_BRUSH));

        // Both contexts come back exactly as they were, whatever the view leaves behind, even
        // when its printing fails half way.
        const int nMemSaved = ::SaveDC(hMem);
        const int nPrinterSaved = ::SaveDC(m_hPrinterDC);
        try {
            DrawPage(hMem, page);
        }
        catch (...) {
            failure = std::current_exception();
        }
        ::RestoreDC(m_hPrinterDC, nPrinterSaved);
        ::RestoreDC(hMem, nMemSaved);
        ::FrameRect(hMem, &page, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
    ::BitBlt(pDC->m_hDC, client.left, client.top, client.Width(), client.Height(), hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    // The page shows what the view drew before it failed; the user hears of the failure once in
    // this preview, not on every repaint.
    const BOOL bTell = !m_bFailureTold;
    if (failure)
        m_bFailureTold = TRUE;
    AfxReportCaughtException(failure, bTell);
}

void CPreviewView::OnSize(UINT nType, int cx, int cy)
{
    Default();
    Invalidate(TRUE);
}

void CPreviewView::OnActivateView(BOOL bActivate, CView*, CView*)
{
    if (bActivate && m_hWnd != nullptr)
        SetFocus();
}

void CPreviewView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_ESCAPE:
        OnPreviewClose();
        return;
    case VK_NEXT:
        OnNextPage();
        return;
    case VK_PRIOR:
        OnPrevPage();
        return;
    }
    Default();
}

void CPreviewView::OnNextPage() { SetCurrentPage(GetCurrentPage() + 1); }
void CPreviewView::OnPrevPage() { SetCurrentPage(GetCurrentPage() > 1 ? GetCurrentPage() - 1 : 1); }

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pPreviewInfo != nullptr && GetCurrentPage() < m_pPreviewInfo->GetMaxPage());
}

void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pPreviewInfo != nullptr && GetCurrentPage() > m_pPreviewInfo->GetMinPage());
}

void CPreviewView::OnPreviewClose()
{
    CFrameWnd* pFrame = m_pPreviewFrame;
    EndJob();
    if (m_pToolBar != nullptr) {
        CPreviewBar* pBar = m_pToolBar;
        m_pToolBar = nullptr;
        pBar->DestroyWindow();
    }
    // The pane id goes back to the frame's own pane before this window leaves.
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, 0);
    ShowWindow(SW_HIDE);
    if (pFrame != nullptr && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    if (pFrame != nullptr)
        pFrame->OnSetPreviewMode(FALSE, m_pPreviewState);
    DestroyWindow();
}

void CPreviewView::OnPreviewPrint()
{
    CView* pView = IsPrintViewAlive() ? m_pPrintView : nullptr;
    OnPreviewClose();   // deletes this
    if (pView != nullptr)
        pView->OnFilePrint();
}

void CPreviewView::OnDestroy()
{
    // The frame may go while previewing: the job still ends properly.
    EndJob();
    if (m_pToolBar != nullptr && m_pToolBar->m_hWnd != nullptr) {
        CPreviewBar* pBar = m_pToolBar;
        m_pToolBar = nullptr;
        pBar->DestroyWindow();
    }
    CView::OnDestroy();
}

void CPreviewView::PostNcDestroy() { CView::PostNcDestroy(); }

BOOL AfxDoPrintPreview(CView* pPrintView, CPrintPreviewState* pState, CRuntimeClass* pPreviewViewClass)
{
    if (pPrintView == nullptr || pState == nullptr)
        return FALSE;
    CObject* pObject = pPreviewViewClass != nullptr ? pPreviewViewClass->CreateObject() : new CPreviewView;
    auto* pView = dynamic_cast<CPreviewView*>(pObject);
    if (pView == nullptr) {
        delete pObject;
        return FALSE;
    }
    // The job must start before anything on screen changes: without a printer nothing does.
    if (!pView->SetPrintView(pPrintView)) {
        delete pView;
        return FALSE;
    }
    CFrameWnd* pFrame = pPrintView->m_hWnd != nullptr ? pPrintView->GetTopLevelFrame() : nullptr;
    if (pFrame == nullptr && pPrintView->m_hWnd != nullptr)
        pFrame = pPrintView->GetParentFrame();
    if (pFrame == nullptr) {
        delete pView;
        return FALSE;
    }
    pView->m_pPreviewFrame = pFrame;
    pView->m_pPreviewState = pState;
    pFrame->OnSetPreviewMode(TRUE, pState);

    if (!pView->Create(nullptr, "Print Preview", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pFrame,
                       AFX_IDW_PANE_FIRST)) {
        pFrame->OnSetPreviewMode(FALSE, pState);
        pView->m_pPreviewState = nullptr;
        delete pView;
        return FALSE;
    }
    auto* pBar = new CPreviewBar;
    if (pBar->Create(pFrame, pView))
        pView->m_pToolBar = pBar;
    else
        delete pBar;
    pView->SetCurrentPage(pView->GetCurrentPage());
    pFrame->SetActiveView(pView);
    pFrame->RecalcLayout();
    pView->SetFocus();
    pView->UpdateWindow();
    return TRUE;
}

void CView::OnFilePrintPreview()
{
    // The preview owns the state once it runs.
    auto* pState = new CPrintPreviewState;
    if (!AfxDoPrintPreview(this, pState))
        delete pState;
}

// ---- CPrintingDialog ------------------------------------------------------------------------

static CPrintingDialog* s_pActivePrinting = nullptr;

CPrintingDialog::CPrintingDialog(CWnd* pParent) : m_pOwner(pParent) {}

CPrintingDialog::~CPrintingDialog()
{
    if (s_pActivePrinting == this)
        s_pActivePrinting = nullptr;
    if (m_hWnd != nullptr)
        DestroyWindow();
}

CPrintingDialog* CPrintingDialog::GetActive() { return s_pActivePrinting; }

BOOL CPrintingDialog::Create(LPCSTR lpszDocName, LPCSTR lpszPrinterName)
{
    if (!CDialog::Create(AFX_IDD_PRINTDLG, m_pOwner))
        return FALSE;
    ::SetDlgItemTextA(m_hWnd, AFX_IDC_PRINT_DOCNAME, lpszDocName);
    ::SetDlgItemTextA(m_hWnd, AFX_IDC_PRINT_PRINTERNAME, lpszPrinterName);
    s_pActivePrinting = this;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

void CPrintingDialog::SetPage(UINT nPage)
{
    if (m_hWnd == nullptr)
        return;
    CString fmt;
    fmt.LoadString(AFX_IDS_PRINTING_PAGE);
    char sz[64];
    std::snprintf(sz, sizeof sz, (LPCSTR)fmt, nPage);
    ::SetDlgItemTextA(m_hWnd, AFX_IDC_PRINT_PAGENUM, sz);
}

void CPrintingDialog::OnCancel()
{
    // The loop sees the flag after the page it is printing.
    m_bCancelled = TRUE;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
}
