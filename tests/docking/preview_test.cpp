// Print preview in a docking frame: the bars and the view step aside for the preview and come
// back, and the frame repaints everything on entering and leaving preview mode.
#include "DockingFixture.h"
#include "afxprint.h"
#include "afxpreview.h"

using namespace docktest;

namespace {

// A view whose pages are each filled with a colour of their number.
class CPagesView : public CView
{
public:
    std::vector<UINT> printed;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(2);
        return DoPreparePrinting(pInfo);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        printed.push_back(pInfo->m_nCurPage);
        pDC->FillSolidRect(&pInfo->m_rectDraw, RGB(0, pInfo->m_nCurPage * 100, 0));
    }
    void OnDraw(CDC*) override {}
};

BOOL HasUpdate(HWND hWnd)
{
    RECT r;
    return ::GetUpdateRect(hWnd, &r, FALSE);
}

} // namespace

TEST(DockingPreview, APreviewHidesTheBarsAndViewShowsPageOneAndGivesThemBack)
{
    afxtest::RegistryProfile profile;
    CStandInPrinter printer(CSize(210, 297));
    CPrinterDevice* pOld = AfxSetPrinterDevice(&printer);
    auto* pFrame = new SECFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "SDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(80, 60, 680, 500)));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    auto* pBar = new SECControlBar;
    pBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(pBar->Create(pFrame, "bar", WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC, dwBarExStyle, 101));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 90);
    auto* pView = new CPagesView;
    ASSERT_TRUE(pView->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pFrame, AFX_IDW_PANE_FIRST));
    pFrame->SetActiveView(pView);
    pFrame->RecalcLayout();
    // A child that neither bar nor pane: only the frame's repaint reaches it.
    HWND hOther = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, pFrame->m_hWnd, nullptr,
                                    AfxGetInstanceHandle(), nullptr);
    const CRect rectView = DockingFrame::RectIn(pView, pFrame);
    const CRect rectBar = DockingFrame::RectIn(pBar, pFrame);
    pFrame->UpdateWindow();
    ::UpdateWindow(hOther);
    ASSERT_FALSE(HasUpdate(hOther));

    // Entering and leaving preview mode repaints the whole frame with its children.
    CPrintPreviewState state;
    pFrame->OnSetPreviewMode(TRUE, &state);
    EXPECT_TRUE(HasUpdate(hOther));
    EXPECT_FALSE(pBar->IsWindowVisible());
    pFrame->UpdateWindow();
    ::UpdateWindow(hOther);
    pFrame->OnSetPreviewMode(FALSE, &state);
    EXPECT_TRUE(HasUpdate(hOther));
    EXPECT_TRUE(pBar->IsWindowVisible());
    afxtest::PumpMessages();

    // The preview itself: page 1 first, then closed with its own button.
    pView->OnFilePrintPreview();
    auto* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
    ASSERT_NE(pPreview, nullptr);
    EXPECT_FALSE(pBar->IsWindowVisible());
    EXPECT_FALSE(pView->IsWindowVisible());
    EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
    EXPECT_EQ(pView->printed, std::vector<UINT>{1}) << "page 1 was drawn for the screen";
    CRect page = pPreview->GetPageRect();
    ASSERT_FALSE(page.IsRectEmpty());
    CRect rectPreview = DockingFrame::RectIn(pPreview, pFrame);
    EXPECT_GT(rectPreview.Width(), rectView.Width()) << "the preview takes the bar's room too";
    CWnd* pPreviewBar = pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(pPreviewBar, nullptr);
    ::SendMessageA(::GetDlgItem(pPreviewBar->m_hWnd, AFX_ID_PREVIEW_CLOSE), BM_CLICK, 0, 0);

    EXPECT_EQ(pFrame->GetActiveView(), pView);
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_TRUE(pView->IsWindowVisible());
    EXPECT_EQ(DockingFrame::RectIn(pView, pFrame), rectView);
    EXPECT_EQ(DockingFrame::RectIn(pBar, pFrame), rectBar);
    EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_EQ(printer.m_nDCsOpen, 0);
    EXPECT_TRUE(printer.m_pages.empty()) << "a preview prints nothing";

    // Left by the frame itself (as when it closes): the same as the Close button; once.
    EXPECT_FALSE(pFrame->ClosePrintPreview());
    pView->OnFilePrintPreview();
    ASSERT_NE(dynamic_cast<CPreviewView*>(pFrame->GetActiveView()), nullptr);
    EXPECT_FALSE(pBar->IsWindowVisible());
    EXPECT_TRUE(pFrame->ClosePrintPreview());
    EXPECT_EQ(pFrame->GetActiveView(), pView);
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_TRUE(pView->IsWindowVisible());
    EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_EQ(printer.m_nDCsOpen, 0);
    EXPECT_FALSE(pFrame->ClosePrintPreview());
    pFrame->DestroyWindow();
    afxtest::PumpMessages();
    AfxSetPrinterDevice(pOld);
    CWinApp* pApp = AfxGetApp();
    if (pApp->m_hDevNames != nullptr)
        ::GlobalFree(pApp->m_hDevNames);
    pApp->m_hDevNames = nullptr;
}
