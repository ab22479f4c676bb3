// Printing: the print loop, the print dialogs and the printer seam, against a stand-in printer
// (a memory DC of a fixed page size) and a printer list with nothing in it.
#include "afxtest.h"
#include "afxprint.h"
#include "afxwndtest.h"
#include "afxres.h"
#include "afxpreview.h"
#include <functional>
#include <stdexcept>
#include <string>

namespace {

// A view that logs the print loop's calls and paints each page a colour of its number. Its
// printing can fail on a page: OnPrepareDC with a framework exception, or OnPrint after drawing
// with another kind.
class CLogView : public CView
{
public:
    std::string log;
    UINT nMaxPage = 3;
    BOOL bPrepare = TRUE;
    UINT nFailPrepare = 0;
    UINT nFailPrint = 0;
    std::vector<CRect> drawRects;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        log += "prepare ";
        pInfo->SetMaxPage(nMaxPage);
        return bPrepare && DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo*) override { log += pDC->IsPrinting() ? "begin " : "begin(screen) "; }
    void OnPrepareDC(CDC*, CPrintInfo* pInfo) override
    {
        if (pInfo != nullptr)
            log += "dc" + std::to_string(pInfo->m_nCurPage) + " ";
        if (pInfo != nullptr && pInfo->m_nCurPage == nFailPrepare)
            AfxThrowNotSupportedException();
    }
    std::function<void(CPrintInfo*)> onPrint;
    void OnDraw(CDC*) override {}
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        if (onPrint)
            onPrint(pInfo);
        log += "print" + std::to_string(pInfo->m_nCurPage) + " ";
        drawRects.push_back(pInfo->m_rectDraw);
        CRect r(10, 10, 40, 30);
        pDC->FillSolidRect(&r, RGB(pInfo->m_nCurPage * 40, 0, 0));
        if (pInfo->m_nCurPage == nFailPrint)
            throw std::runtime_error("out of ink");
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { log += "end"; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLogView, CView)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

// No printer installed: the system's answer under a Wine without printers.
class CNoPrinter : public CPrinterDevice
{
public:
    int nCreates = 0;
    BOOL GetDefaults(HGLOBAL& hNames, HGLOBAL& hMode) override
    {
        hNames = hMode = nullptr;
        return FALSE;
    }
    HDC CreateDC(HGLOBAL, HGLOBAL) override
    {
        ++nCreates;
        return nullptr;
    }
};

class PrintTest : public testing::Test
{
protected:
    CStandInPrinter printer{CSize(200, 150)};
    CPrinterDevice* pOld = nullptr;
    void SetUp() override
    {
        ForgetSessionPrinter();
        pOld = AfxSetPrinterDevice(&printer);
    }
    void TearDown() override
    {
        ForgetSessionPrinter();
        AfxSetPrinterDevice(pOld);
        EXPECT_EQ(printer.m_nDCsOpen, 0) << "a printer DC was left open";
    }
    static void ForgetSessionPrinter()
    {
        CWinApp* pApp = AfxGetApp();
        ASSERT_NE(pApp, nullptr);
        if (pApp->m_hDevNames != nullptr)
            ::GlobalFree(pApp->m_hDevNames);
        if (pApp->m_hDevMode != nullptr)
            ::GlobalFree(pApp->m_hDevMode);
        pApp->m_hDevNames = pApp->m_hDevMode = nullptr;
    }
};

TEST_F(PrintTest, ThePrintLoopPrintsEveryPageBetweenStartDocAndEndDoc)
{
    CLogView view;
    CString dlgClass;
    DWORD dlgFlags = 0;
    AfxSeamScript([&](AfxModalCall& c) {
        dlgClass = c.className;
        dlgFlags = (DWORD)c.nType;
        return (INT_PTR)IDOK;
    });
    view.OnFilePrint();
    EXPECT_EQ(view.log, "prepare begin dc1 print1 dc2 print2 dc3 print3 end");
    EXPECT_STREQ((LPCSTR)dlgClass, "CPrintDialog");
    EXPECT_TRUE(dlgFlags & PD_RETURNDC);
    EXPECT_FALSE(dlgFlags & PD_PRINTSETUP);
    ASSERT_EQ(printer.m_pages.size(), 3u);
    EXPECT_EQ(printer.m_docNames.size(), 1u);
    EXPECT_EQ(printer.m_nDocsEnded, 1);
    EXPECT_EQ(printer.m_nDocsAborted, 0);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(printer.m_pages[i].GetPixel(20, 20), RGB((i + 1) * 40, 0, 0)) << i;
        EXPECT_EQ(printer.m_pages[i].GetPixel(5, 5), RGB(255, 255, 255)) << "each page starts white";
        EXPECT_EQ(view.drawRects[i], CRect(0, 0, 200, 150));
    }
    // The session keeps the printer it was given.
    EXPECT_NE(AfxGetApp()->m_hDevNames, nullptr);
}

TEST_F(PrintTest, TheDialogsPageRangeAndCancelAndAJobThePrinterRefuses)
{
    CLogView view;
    view.nMaxPage = 5;
    AfxSeamScript([](AfxModalCall& c) {
        auto* pd = static_cast<CPrintDialog*>(c.pObject);
        pd->m_pd.Flags |= PD_PAGENUMS;
        pd->m_pd.nFromPage = 2;
        pd->m_pd.nToPage = 3;
        return (INT_PTR)IDOK;
    });
    view.OnFilePrint();
    EXPECT_EQ(view.log, "prepare begin dc2 print2 dc3 print3 end");
    EXPECT_EQ(printer.m_pages.size(), 2u);

    // Cancelled: nothing begins, no DC stays.
    view.log.clear();
    AfxSeamAnswer(IDCANCEL);
    view.OnFilePrint();
    EXPECT_EQ(view.log, "prepare ");
    EXPECT_EQ(printer.m_docNames.size(), 1u);

    // StartDoc fails: the view still ends its printing, the user hears why, no page comes out.
    view.log.clear();
    printer.m_bFailStartDoc = TRUE;
    AfxSeamAnswer(IDOK);
    AfxSeamAnswer(IDOK);
    view.OnFilePrint();
    EXPECT_EQ(view.log, "prepare begin end");
    ASSERT_EQ(AfxSeamCalls().size(), 4u);
    EXPECT_EQ(AfxSeamCalls()[3].kind, AFX_MODAL_MESSAGEBOX);
    EXPECT_STREQ((LPCSTR)AfxSeamCalls()[3].text, "Could not start print job.");
    EXPECT_EQ(printer.m_pages.size(), 2u);
}

TEST_F(PrintTest, AJobOfUnknownLengthPrintsOnePageUnlessTheViewAsksForMore)
{
    CLogView view;
    view.nMaxPage = 0xFFFF;
    AfxSeamAnswer(IDOK);
    view.OnFilePrint();
    // Page 2 is offered to the view (OnPrepareDC may keep the job going) and then not printed.
    EXPECT_EQ(view.log, "prepare begin dc1 print1 dc2 end");
    EXPECT_EQ(printer.m_pages.size(), 1u);
    EXPECT_EQ(printer.m_nDocsEnded, 1);
}

TEST_F(PrintTest, PrintSetupKeepsTheChosenPrinterForTheSession)
{
    AfxSeamAnswer(IDCANCEL);
    AfxGetApp()->OnFilePrintSetup();
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_STREQ((LPCSTR)AfxSeamCalls()[0].className, "CPrintDialog");
    EXPECT_TRUE(AfxSeamCalls()[0].nType & PD_PRINTSETUP);
    // Cancelled: the default printer is still the session's.
    ASSERT_NE(AfxGetApp()->m_hDevNames, nullptr);
    auto* names = (DEVNAMES*)::GlobalLock(AfxGetApp()->m_hDevNames);
    EXPECT_STREQ((LPCSTR)names + names->wDeviceOffset, "Stand-in printer");
    ::GlobalUnlock(AfxGetApp()->m_hDevNames);
    AfxSeamReset();

    CPrintDialog pd(FALSE);
    ASSERT_TRUE(pd.GetDefaults());
    EXPECT_STREQ((LPCSTR)pd.GetDeviceName(), "Stand-in printer");
    EXPECT_STREQ((LPCSTR)pd.GetDriverName(), "winspool");
    EXPECT_NE(pd.m_pd.hDC, nullptr);   // PD_RETURNDC: the dialog made the DC (and deletes it)
    EXPECT_TRUE(pd.PrintAll());
    ::GlobalFree(pd.m_pd.hDevNames);
}

TEST_F(PrintTest, WithoutAPrinterTheCommandsSaySoAndDoNothingElse)
{
    CNoPrinter none;
    AfxSetPrinterDevice(&none);
    CLogView view;
    AfxSeamAnswer(IDOK);
    view.OnFilePrint();
    AfxSeamAnswer(IDOK);
    AfxGetApp()->OnFilePrintSetup();
    AfxSeamAnswer(IDOK);
    view.OnFilePrintPreview();
    EXPECT_EQ(view.log, "prepare prepare ");
    ASSERT_EQ(AfxSeamCalls().size(), 3u);
    CString text;
    text.LoadString(AFX_IDP_NO_PRINTER);
    EXPECT_FALSE(text.IsEmpty());
    for (const AfxModalCall& c : AfxSeamCalls()) {
        EXPECT_EQ(c.kind, AFX_MODAL_MESSAGEBOX);
        EXPECT_STREQ((LPCSTR)c.text, (LPCSTR)text);
    }
    EXPECT_EQ(none.nCreates, 0);
    EXPECT_EQ(AfxGetApp()->m_hDevNames, nullptr);
    AfxSetPrinterDevice(&printer);
}

TEST_F(PrintTest, TheProgressDialogShowsEachPageAndItsCancelEndsTheJobAfterThePage)
{
    CLogView view;
    view.nMaxPage = 4;
    CString docName, page;
    view.onPrint = [&](CPrintInfo* pInfo) {
        CPrintingDialog* pDlg = CPrintingDialog::GetActive();
        ASSERT_NE(pDlg, nullptr);
        ASSERT_TRUE(::IsWindowVisible(pDlg->m_hWnd));
        char sz[64];
        ::GetDlgItemTextA(pDlg->m_hWnd, AFX_IDC_PRINT_PAGENUM, sz, sizeof sz);
        page += sz;
        page += ";";
        ::GetDlgItemTextA(pDlg->m_hWnd, AFX_IDC_PRINT_PRINTERNAME, sz, sizeof sz);
        docName = sz;
        // The user clicks Cancel while the second page prints.
        if (pInfo->m_nCurPage == 2)
            pDlg->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                              (LPARAM)::GetDlgItem(pDlg->m_hWnd, IDCANCEL));
    };
    AfxSeamAnswer(IDOK);
    view.OnFilePrint();
    EXPECT_EQ(view.log, "prepare begin dc1 print1 dc2 print2 end");
    EXPECT_STREQ((LPCSTR)page, "Page 1;Page 2;");
    EXPECT_STREQ((LPCSTR)docName, "Stand-in printer");
    EXPECT_EQ(printer.m_pages.size(), 2u);
    EXPECT_EQ(printer.m_nDocsAborted, 1);
    EXPECT_EQ(printer.m_nDocsEnded, 0);
    EXPECT_EQ(CPrintingDialog::GetActive(), nullptr);
}

TEST_F(PrintTest, APageThatFailsEndsTheJobAndGivesTheEditorBack)
{
    struct Case
    {
        const char* what;
        UINT nFailPrepare, nFailPrint;
        size_t nFailEndPage;
        const char* log;
        const char* message;    // the start of the one message
    } cases[] = {
        {"OnPrepareDC throws", 2, 0, 0, "prepare begin dc1 print1 dc2 end", "An unsupported operation"},
        {"OnPrint throws", 0, 2, 0, "prepare begin dc1 print1 dc2 print2 end", "Internal application error."},
        {"the printer fails", 0, 0, 2, "prepare begin dc1 print1 dc2 print2 end",
         "The printer failed while printing."},
    };
    for (const Case& c : cases) {
        auto* pView = new CLogView;
        pView->nFailPrepare = c.nFailPrepare;
        pView->nFailPrint = c.nFailPrint;
        CFrameWnd* pFrame = afxtest::MakeFrameWithView(pView);
        ASSERT_NE(pFrame, nullptr);
        CWnd* pOldMain = AfxGetApp()->m_pMainWnd;
        AfxGetApp()->m_pMainWnd = pFrame;
        printer.m_pages.clear();
        printer.m_nDocsEnded = printer.m_nDocsAborted = 0;
        printer.m_nFailEndPage = c.nFailEndPage;
        size_t nMessagesBefore = afxtest::MessageBoxTexts().size();
        AfxSeamAnswer(IDOK);    // the print dialog
        AfxSeamAnswer(IDOK);    // what went wrong
        // The user chooses Print.
        pView->SendMessage(WM_COMMAND, ID_FILE_PRINT);
        AfxGetApp()->m_pMainWnd = pOldMain;
        EXPECT_EQ(pView->log, c.log) << c.what;
        EXPECT_TRUE(pFrame->IsWindowEnabled()) << c.what;
        EXPECT_EQ(printer.m_nDCsOpen, 0) << c.what;
        EXPECT_EQ(printer.m_nDocsAborted, 1) << c.what;
        EXPECT_EQ(printer.m_nDocsEnded, 0) << c.what;
        EXPECT_EQ(printer.m_pages.size(), 1u) << c.what;
        EXPECT_EQ(CPrintingDialog::GetActive(), nullptr) << c.what;
        auto texts = afxtest::MessageBoxTexts();
        ASSERT_EQ(texts.size(), nMessagesBefore + 1) << c.what;
        EXPECT_EQ(texts.back().Find(c.message), 0) << c.what << ": " << (LPCSTR)texts.back();
        pFrame->DestroyWindow();
    }
    printer.m_nFailEndPage = 0;
}

TEST_F(PrintTest, AFailingPreviewPageShowsWhatWasDrawnTellsOnceAndLeaksNothing)
{
    auto* pView = new CLogView;
    pView->nFailPrint = 2;
    CFrameWnd* pFrame = afxtest::MakeFrameWithView(pView);
    ASSERT_NE(pFrame, nullptr);
    pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    auto* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
    ASSERT_NE(pPreview, nullptr);
    pPreview->UpdateWindow();
    const int nGdiBefore = afxtest::LiveGdiObjects();

    AfxSeamAnswer(IDOK);    // the failure, told once
    CWnd* pBar = pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(pBar, nullptr);
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_NEXT), BM_CLICK, 0, 0);
    for (int i = 0; i < 20; ++i) {
        pPreview->Invalidate(FALSE);
        pPreview->UpdateWindow();
    }
    EXPECT_EQ(afxtest::LiveGdiObjects(), nGdiBefore);
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].Find("out of ink"), -1) << (LPCSTR)texts[0];

    // On screen: what the page drew before it failed, on the white page.
    CRect page = pPreview->GetPageRect();
    const double s = page.Width() / 200.0;
    HDC hDC = ::GetDC(pPreview->m_hWnd);
    EXPECT_EQ(::GetPixel(hDC, page.left + (int)(25 * s), page.top + (int)(20 * s)), RGB(80, 0, 0));
    EXPECT_EQ(::GetPixel(hDC, page.left + (int)(100 * s), page.top + (int)(100 * s)), RGB(255, 255, 255));
    ::ReleaseDC(pPreview->m_hWnd, hDC);

    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(pFrame->GetActiveView(), pView);
    pFrame->DestroyWindow();
}

// A frame with commands that act on its document, on keys of its accelerator table.
class CCommandFrame : public CFrameWnd
{
public:
    std::vector<UINT> commands;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND && nID >= 0x8100 && nID <= 0x8103) {
            if (pHandlerInfo == nullptr)
                commands.push_back(nID);
            return TRUE;
        }
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

TEST_F(PrintTest, WhilePreviewingTheFramesAcceleratorsRestAndThePreviewsKeysWork)
{
    ACCEL table[] = {{FVIRTKEY, VK_SPACE, 0x8100},
                     {FVIRTKEY | FCONTROL, 'X', 0x8101},
                     {FVIRTKEY | FCONTROL, 'V', 0x8102},
                     {FVIRTKEY | FCONTROL, 'B', 0x8103}};
    HACCEL hAccel = ::CreateAcceleratorTableA(table, 4);
    auto* pView = new CLogView;
    auto* pFrame = new CCommandFrame;
    ASSERT_EQ(afxtest::MakeFrameWithView(pView, CRect(0, 0, 640, 480), pFrame), pFrame);
    pFrame->m_hAccelTable = hAccel;
    ASSERT_TRUE(afxtest::Activate(pFrame));

    pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    auto* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
    ASSERT_NE(pPreview, nullptr);
    afxtest::InputScript keys;
    keys.Key(VK_SPACE);
    for (BYTE vk : {'X', 'V', 'B'})
        keys.KeyDown(VK_CONTROL).Key(vk).KeyUp(VK_CONTROL);
    keys.Key(VK_NEXT);
    ASSERT_TRUE(keys.Run());
    EXPECT_TRUE(pFrame->commands.empty()) << pFrame->commands.size() << " commands reached the hidden view's frame";
    EXPECT_EQ(pPreview->GetCurrentPage(), 2u);

    afxtest::InputScript back;
    back.Key(VK_PRIOR);
    ASSERT_TRUE(back.Run());
    EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
    afxtest::InputScript close;
    close.Key(VK_ESCAPE);
    ASSERT_TRUE(close.Run());
    EXPECT_EQ(pFrame->GetActiveView(), pView);

    // The preview gone, the keys are the frame's again.
    pView->SetFocus();
    afxtest::InputScript space;
    space.Key(VK_SPACE);
    ASSERT_TRUE(space.Run());
    EXPECT_EQ(pFrame->commands, std::vector<UINT>{0x8100});
    pFrame->m_hAccelTable = nullptr;
    pFrame->DestroyWindow();
    ::DestroyAcceleratorTable(hAccel);
}

TEST_F(PrintTest, PreviewShowsOnePageScaledInPlaceOfTheFramesPaneAndGivesEverythingBack)
{
    auto* pView = new CLogView;
    CFrameWnd* pFrame = afxtest::MakeFrameWithView(pView);
    ASSERT_NE(pFrame, nullptr);
    HMENU hMenu = ::CreateMenu();
    ::AppendMenuA(hMenu, MF_STRING, 100, "&File");
    ::SetMenu(pFrame->m_hWnd, hMenu);
    pFrame->RecalcLayout();

    pView->OnFilePrintPreview();
    auto* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
    ASSERT_NE(pPreview, nullptr);
    EXPECT_EQ(pView->log.rfind("prepare begin ", 0), 0u) << pView->log;
    EXPECT_EQ(::GetMenu(pFrame->m_hWnd), nullptr);
    EXPECT_FALSE(pView->IsWindowVisible());
    EXPECT_EQ(pView->GetDlgCtrlID(), AFX_IDW_PANE_SAVE);
    EXPECT_EQ(pPreview->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
    EXPECT_STREQ((LPCSTR)pPreview->GetPageText(), "Page 1");

    // The page keeps the printer's proportions and shows what OnPrint drew, scaled.
    CRect page = pPreview->GetPageRect();
    ASSERT_FALSE(page.IsRectEmpty());
    EXPECT_NEAR(page.Width() * 150.0 / page.Height(), 200.0, 2.0);
    auto pixelAt = [&](double x, double y) {
        const double s = page.Width() / 200.0;
        return afxtest::DrawViewPage(pPreview).GetPixel(page.left + (int)(x * s), page.top + (int)(y * s));
    };
    EXPECT_EQ(pixelAt(25, 20), RGB(40, 0, 0));
    EXPECT_EQ(pixelAt(100, 100), RGB(255, 255, 255));

    // Next and Prev through the bar's buttons, as clicked.
    CWnd* pBar = pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(pBar, nullptr);
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_NEXT), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_NEXT), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_NEXT), BM_CLICK, 0, 0);
    EXPECT_EQ(pPreview->GetCurrentPage(), 3u) << "no page beyond the last";
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_PREV), BM_CLICK, 0, 0);
    EXPECT_EQ(pPreview->GetCurrentPage(), 2u);
    char sz[64];
    ::GetDlgItemTextA(pBar->m_hWnd, AFX_ID_PREVIEW_PAGE, sz, sizeof sz);
    EXPECT_STREQ(sz, "Page 2");
    EXPECT_EQ(pixelAt(25, 20), RGB(80, 0, 0));

    // Print closes the preview and runs the print loop.
    AfxSeamAnswer(IDOK);
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_PRINT), BM_CLICK, 0, 0);
    EXPECT_EQ(printer.m_pages.size(), 3u);
    EXPECT_EQ(pFrame->GetActiveView(), pView);
    EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_EQ(::GetMenu(pFrame->m_hWnd), hMenu);
    EXPECT_TRUE(pView->IsWindowVisible());
    EXPECT_EQ(pView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    CRect rcView, rcClient;
    pView->GetWindowRect(&rcView);
    pFrame->ScreenToClient(&rcView);
    pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(rcView, rcClient);
    EXPECT_EQ(printer.m_nDCsOpen, 0);
    pFrame->DestroyWindow();
}

TEST_F(PrintTest, APreviewWhoseViewGoesClosesItself)
{
    auto* pView = new CLogView;
    CFrameWnd* pFrame = afxtest::MakeFrameWithView(pView, CRect(0, 0, 400, 300));
    ASSERT_NE(pFrame, nullptr);
    pView->OnFilePrintPreview();
    HWND hPreview = ::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST);
    ASSERT_NE(dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(hPreview)), nullptr);
    // The document closes under the preview: its view goes.
    pView->DestroyWindow();
    ::InvalidateRect(hPreview, nullptr, TRUE);
    ::UpdateWindow(hPreview);
    afxtest::PumpMessages();
    EXPECT_FALSE(::IsWindow(hPreview));
    EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_EQ(printer.m_nDCsOpen, 0);
    pFrame->DestroyWindow();
}

TEST_F(PrintTest, TheSystemsPrinterListUnderWine)
{
    // Whatever this machine has: with no printer the command only says so; with one, the
    // session's printer is its default printer.
    AfxSetPrinterDevice(nullptr);
    CLogView view;
    view.bPrepare = TRUE;
    HGLOBAL hNames = nullptr, hMode = nullptr;
    BOOL bHas = AfxGetPrinterDevice()->GetDefaults(hNames, hMode);
    if (hNames)
        ::GlobalFree(hNames);
    if (hMode)
        ::GlobalFree(hMode);
    if (bHas) {
        AfxSetPrinterDevice(&printer);
        GTEST_SKIP() << "this machine has a printer";
    }
    AfxSeamAnswer(IDOK);
    view.OnFilePrint();
    EXPECT_EQ(view.log, "prepare ");
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].kind, AFX_MODAL_MESSAGEBOX);
    AfxSetPrinterDevice(&printer);
}

} // namespace
