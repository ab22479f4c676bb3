// Printing grids on the stand-in printer: page breaks, page order, selections, the header and
// footer tokens, the print pools, and a grid printed through the framework's print loop.
#include <gtest/gtest.h>
#include "afxprint.h"
#include "afxwndtest.h"
#include "afxpreview.h"
#include "afxseam.h"
#include "afxwin.h"
#include "afxview.h"
#include "grid_test_util.h"
#include "gxprop.h"
#include "gxspan.h"
#include "gxstyle.h"
#include "gxwnd.h"
#include <string>
#include <vector>

namespace {

// A grid whose sizes do not depend on fonts: rows 20 high, columns 50 wide (header column 30),
// with single sizes overridden; it records the page each cell drawing starts on.
class CPrintGrid : public CGXGridWnd
{
public:
    std::vector<int> colWidths;   // by column; 0 means the default
    int GetRowHeight(ROWCOL nRow) override { return IsRowHidden(nRow) ? 0 : 20; }
    int GetColWidth(ROWCOL nCol) override
    {
        if (nCol == 0)
            return 30;
        return nCol < colWidths.size() && colWidths[nCol] > 0 ? colWidths[nCol] : 50;
    }
    void DrawCellRange(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r, CDC* pDC) override
    {
        if (IsPrinting())
            pages.push_back(std::to_string(GetTopRow()) + "," + std::to_string(GetLeftCol()) + ":" +
                            std::to_string(b) + "," + std::to_string(r));
        CGXGridWnd::DrawCellRange(t, l, b, r, pDC);
    }
    std::vector<std::string> pages;
};

std::string Breaks(const CDWordArray& a)
{
    std::string s;
    for (int i = 0; i < a.GetSize(); ++i)
        s += (i ? " " : "") + std::to_string(a[i]);
    return s;
}

class GridPrintTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    CPrintGrid* grid = nullptr;
    CStandInPrinter printer{CSize(300, 200)};
    CPrinterDevice* pOldDevice = nullptr;

    void SetUp() override
    {
        AfxSeamReset();
        pOldDevice = AfxSetPrinterDevice(&printer);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "grid printing", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400,
                                   nullptr, nullptr));
        grid = new CPrintGrid;
        ASSERT_TRUE(grid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &frame, 7));
        grid->InitGrid();
        grid->GetParam()->GetProperties()->SetMargins(0, 0, 0, 0);
        grid->GetParam()->GetProperties()->m_bPrintFrame = FALSE;
    }
    void TearDown() override
    {
        delete grid;
        frame.DestroyWindow();
        AfxSetPrinterDevice(pOldDevice);
        CWinApp* pApp = AfxGetApp();
        if (pApp->m_hDevNames != nullptr)
            ::GlobalFree(pApp->m_hDevNames);
        pApp->m_hDevNames = nullptr;
        EXPECT_EQ(printer.m_nDCsOpen, 0);
    }
    // Runs begin-printing on a page of the stand-in printer; the DC stays open in dc.
    struct Job
    {
        CStandInPrinter& printer;
        CPrintInfo info;
        CDC dc;
        HDC hDC;
        explicit Job(CStandInPrinter& p) : printer(p), hDC(p.CreateDC(nullptr, nullptr))
        {
            dc.Attach(hDC);
            dc.m_bPrinting = TRUE;
        }
        ~Job()
        {
            dc.Detach();
            printer.DeleteDC(hDC);
        }
        void Page(CGXGridEngine& g, UINT n)
        {
            info.m_nCurPage = n;
            info.m_rectDraw.SetRect(0, 0, printer.m_sizePage.cx, printer.m_sizePage.cy);
            printer.StartPage(hDC);
            g.OnPrint(&dc, &info);
            printer.EndPage(hDC);
        }
    };
};

} // namespace

TEST_F(GridPrintTest, PageBreaksFollowThePageSizeTheFrozenRowsAndWideColumns)
{
    struct Case
    {
        const char* name;
        ROWCOL rows, cols, frozenRows;
        int wideCol, wideWidth;
        CSize page;
        const char* rowBreaks;
        const char* colBreaks;
        UINT pages;
    };
    const Case cases[] = {
        // header 20 + 9 rows fill 200: the tenth row starts the second band.
        {"plain", 10, 5, 0, 0, 0, CSize(300, 200), "1 10 11", "1 6", 2},
        // the frozen rows repeat on each page and leave room for fewer rows.
        {"frozen", 10, 5, 2, 0, 0, CSize(300, 200), "3 10 11", "1 6", 2},
        {"frozen, small page", 12, 5, 2, 0, 0, CSize(300, 100), "3 5 7 9 11 13", "1 6", 5},
        // a column wider than the page gets a page of its own.
        {"wide column", 4, 5, 0, 3, 400, CSize(300, 200), "1 5", "1 3 4 6", 3},
        // nothing beyond the header and frozen rows: still one page.
        {"frozen only", 2, 3, 2, 0, 0, CSize(300, 200), "3 3", "1 4", 1},
        {"empty", 0, 0, 0, 0, 0, CSize(300, 200), "1 1", "1 1", 1},
        // columns: 30 + 50 per column; the column at the edge starts the next page.
        {"narrow page", 3, 7, 0, 0, 0, CSize(160, 200), "1 4", "1 3 5 7 8", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer.m_sizePage = c.page;
        grid->SetRowCount(c.rows, 0);
        grid->SetColCount(c.cols, 0);
        grid->SetFrozenRows(c.frozenRows, 0, 0);
        grid->colWidths.assign(16, 0);
        if (c.wideCol != 0)
            grid->colWidths[c.wideCol] = c.wideWidth;
        Job job(printer);
        grid->OnGridBeginPrinting(&job.dc, &job.info);
        EXPECT_EQ(Breaks(grid->GetRowBreaks()), c.rowBreaks);
        EXPECT_EQ(Breaks(grid->GetColBreaks()), c.colBreaks);
        EXPECT_EQ(job.info.GetMaxPage(), c.pages);
        EXPECT_FALSE(grid->IsPrinting());
        grid->OnGridEndPrinting(&job.dc, &job.info);
        EXPECT_EQ(grid->GetRowBreaks().GetSize(), 0);
    }
}

TEST_F(GridPrintTest, PageOrderAcrossThenDownOrDownThenAcrossAndTheFooterCountsPages)
{
    // 3 row bands x 2 column bands: rows 1-9, 10-18, 19-20; columns 1-5, 6-8.
    printer.m_sizePage = CSize(300, 200);
    grid->SetRowCount(20, 0);
    grid->SetColCount(8, 0);
    for (int order : {0, 1}) {
        SCOPED_TRACE(order);
        grid->GetParam()->GetProperties()->m_nPageOrder = order;
        grid->pages.clear();
        Job job(printer);
        grid->OnGridBeginPrinting(&job.dc, &job.info);
        ASSERT_EQ(Breaks(grid->GetRowBreaks()), "1 10 19 21");
        ASSERT_EQ(Breaks(grid->GetColBreaks()), "1 6 9");
        ASSERT_EQ(job.info.GetMaxPage(), 6u);
        for (UINT p = 1; p <= 6; ++p) {
            job.Page(*grid, p);
            EXPECT_EQ(job.info.m_bContinuePrinting, p < 6) << p;
            if (p == 2) {
                EXPECT_STREQ((LPCSTR)grid->GetParam()->GetProperties()->ExpandTokens("$P/$N"), "2/6");
            }
        }
        // top row, left column : last client row, last client column
        const std::vector<std::string> across = {"1,1:9,5", "1,6:9,3", "10,1:9,5", "10,6:9,3", "19,1:2,5", "19,6:2,3"};
        const std::vector<std::string> down = {"1,1:9,5", "10,1:9,5", "19,1:2,5", "1,6:9,3", "10,6:9,3", "19,6:2,3"};
        EXPECT_EQ(grid->pages, order == 0 ? across : down);
        grid->OnGridEndPrinting(&job.dc, &job.info);
    }
    // Start Page Numbering counts from its own first number.
    grid->GetParam()->GetProperties()->SetFirstPage(10);
    Job job(printer);
    grid->OnGridBeginPrinting(&job.dc, &job.info);
    job.Page(*grid, 3);
    EXPECT_STREQ((LPCSTR)grid->GetParam()->GetProperties()->ExpandTokens("$P/$N"), "12/6");
    grid->OnGridEndPrinting(&job.dc, &job.info);
}

TEST_F(GridPrintTest, SelectionPrintingAndThePreviewStartsAtTheScreensPage)
{
    grid->SetRowCount(40, 0);
    grid->SetColCount(20, 0);
    {
        // The first selected range only.
        grid->SelectRange(CGXRange(4, 2, 25, 3));
        grid->SelectRange(CGXRange(30, 9, 31, 10));
        Job job(printer);
        job.info.m_pPD->m_pd.Flags |= PD_SELECTION;
        grid->OnGridBeginPrinting(&job.dc, &job.info);
        EXPECT_EQ(Breaks(grid->GetRowBreaks()), "4 13 22 26");
        EXPECT_EQ(Breaks(grid->GetColBreaks()), "2 4");
        EXPECT_EQ(job.info.GetMaxPage(), 3u);
        grid->OnGridEndPrinting(&job.dc, &job.info);
    }
    {
        // Nothing selected: the window's part on one page.
        grid->GetParam()->m_selRanges.DeleteAll();
        ASSERT_TRUE(grid->GetParam()->m_selRanges.IsEmpty());
        grid->SetTopRow(5, 0);
        grid->SetLeftCol(3, 0);
        const ROWCOL lastRow = grid->GetLastVisibleRow(), lastCol = grid->GetLastVisibleCol();
        Job job(printer);
        job.info.m_pPD->m_pd.Flags |= PD_SELECTION;
        grid->OnGridBeginPrinting(&job.dc, &job.info);
        EXPECT_EQ(Breaks(grid->GetRowBreaks()), "5 " + std::to_string(lastRow + 1));
        EXPECT_EQ(Breaks(grid->GetColBreaks()), "3 " + std::to_string(lastCol + 1));
        EXPECT_EQ(job.info.GetMaxPage(), 1u);
        grid->OnGridEndPrinting(&job.dc, &job.info);
    }
    {
        // A preview opens at the page that holds the screen's top-left cell: rows 12.. are in
        // the second band of rows (10-18), columns 7.. in the second band of columns (6-10).
        grid->SetTopRow(12, 0);
        grid->SetLeftCol(7, 0);
        ASSERT_EQ(grid->GetTopRow(), 12u);
        ASSERT_EQ(grid->GetLeftCol(), 7u);
        Job job(printer);
        job.info.m_bPreview = TRUE;
        grid->OnGridBeginPrinting(&job.dc, &job.info);
        ASSERT_EQ(Breaks(grid->GetColBreaks()), "1 6 11 16 21");
        EXPECT_EQ(job.info.m_nCurPage, 1u * 4 + 1 + 1);
        // The preview's page text ends its first line with the page count.
        EXPECT_STREQ((LPCSTR)job.info.m_strPageDesc.Left(job.info.m_strPageDesc.Find('\n')), "Page %u / 20");
        grid->OnGridEndPrinting(&job.dc, &job.info);
    }
}

TEST_F(GridPrintTest, EndPrintingDeletesOnlyThePrintPools)
{
    CGXGridParam* param = grid->GetParam();
    CGXStyle* pSpans = new CGXStyle;
    CGXStyle* pFloat = new CGXStyle;
    param->m_pSpanIndex = pSpans;
    param->m_pFloatSpans = pFloat;
    param->m_pPrintObjectA = new CGXStyle;
    param->m_pPrintObjectB = new CGXStyle;
    Job job(printer);
    grid->OnGridBeginPrinting(&job.dc, &job.info);
    // Printing lays floated cells out in pools of its own.
    EXPECT_NE(dynamic_cast<CGXSpanCellPool*>(param->m_pPrintObjectA), nullptr);
    EXPECT_NE(dynamic_cast<CGXDelayedRangePool*>(param->m_pPrintObjectB), nullptr);
    grid->OnGridEndPrinting(&job.dc, &job.info);
    EXPECT_EQ(param->m_pPrintObjectA, nullptr);
    EXPECT_EQ(param->m_pPrintObjectB, nullptr);
    EXPECT_EQ(param->m_pSpanIndex, pSpans);
    EXPECT_EQ(param->m_pFloatSpans, pFloat);
}

namespace {
// A view holding a grid, forwarding the print loop to it as an application's grid view does.
class CGridHostView : public CView
{
public:
    CPrintGrid* pGrid = nullptr;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override { return DoPreparePrinting(pInfo); }
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override { pGrid->OnGridBeginPrinting(pDC, pInfo); }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override { pGrid->OnGridPrint(pDC, pInfo); }
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override { pGrid->OnGridEndPrinting(pDC, pInfo); }
    void OnDraw(CDC*) override {}
};
} // namespace

TEST_F(GridPrintTest, AGridPrintsThroughThePrintLoopCentredWithItsFrame)
{
    grid->SetRowCount(20, 0);
    grid->SetColCount(3, 0);
    grid->SetStyleRange(CGXRange(1, 1, 20, 3), &CGXStyle().SetInterior(RGB(0, 0, 255)), gxOverride, 0, nullptr, 0);
    CGXProperties* pProp = grid->GetParam()->GetProperties();
    pProp->m_bPrintFrame = TRUE;
    pProp->m_bBlackWhite = FALSE;
    pProp->m_bCenterHorizontal = TRUE;
    pProp->SetMargins(10, 10, 10, 10);
    CGridHostView view;
    view.pGrid = grid;
    AfxSeamAnswer(IDOK);
    view.OnFilePrint();
    // Page 300 x 200 less margins: 180 high holds the header and 8 rows; 3 pages of rows.
    ASSERT_EQ(printer.m_pages.size(), 3u);
    EXPECT_EQ(printer.m_nDocsEnded, 1);
    EXPECT_EQ(grid->pages, (std::vector<std::string>{"1,1:8,3", "9,1:8,3", "17,1:4,3"}));
    // The grid (30 + 3 x 50 = 180 wide) is centred in the 280 wide area: it starts at 10 + 50.
    const CStandInPrinter::Page& page = printer.m_pages[0];
    EXPECT_EQ(page.GetPixel(60 + 30 + 25, 10 + 20 + 10), RGB(0, 0, 255)) << "a cell's interior";
    EXPECT_EQ(page.GetPixel(59, 100), RGB(0, 0, 0)) << "the frame's left bar";
    EXPECT_EQ(page.GetPixel(55, 100), RGB(255, 255, 255)) << "left of the frame";
    EXPECT_EQ(page.GetPixel(60 + 180 + 4, 100), RGB(255, 255, 255)) << "right of the frame";
    // The screen's spans and the window are back to normal.
    EXPECT_FALSE(grid->IsPrinting());
    EXPECT_EQ(grid->GetRowBreaks().GetSize(), 0);
}

TEST_F(GridPrintTest, APreviewOfTheGridOpensAtTheScreensPageAndDrawsItScaled)
{
    grid->SetRowCount(40, 0);
    grid->SetColCount(3, 0);
    grid->SetStyleRange(CGXRange(1, 1, 40, 3), &CGXStyle().SetInterior(RGB(0, 0, 255)), gxOverride, 0, nullptr, 0);
    grid->GetParam()->GetProperties()->m_bBlackWhite = FALSE;
    grid->SetTopRow(12, 0);
    auto* pView = new CGridHostView;
    pView->pGrid = grid;
    CFrameWnd* pFrame = afxtest::MakeFrameWithView(pView);
    ASSERT_NE(pFrame, nullptr);

    pView->OnFilePrintPreview();
    auto* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
    ASSERT_NE(pPreview, nullptr);
    // Rows 10-18 make the second page.
    EXPECT_EQ(pPreview->GetCurrentPage(), 2u);
    EXPECT_STREQ((LPCSTR)pPreview->GetPageText(), "Page 2 / 5");
    const CStandInPrinter::Page shown = afxtest::DrawViewPage(pPreview);
    // The first column's cell of the first printed row, in page units (centred: 60 + 30 + 25,
    // 20 + 10), scaled into the page on screen.
    const CRect page = pPreview->GetPageRect();
    const double s = page.Width() / 300.0;
    EXPECT_EQ(shown.GetPixel(page.left + (int)(115 * s), page.top + (int)(30 * s)), RGB(0, 0, 255));
    EXPECT_TRUE(grid->pages.size() >= 1 && grid->pages.back() == "10,1:9,3") << grid->pages.back();
    CWnd* pBar = pFrame->GetControlBar(AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(pBar, nullptr);
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_CLOSE), BM_CLICK, 0, 0);
    EXPECT_EQ(pFrame->GetActiveView(), pView);
    EXPECT_FALSE(grid->IsPrinting());
    EXPECT_EQ(grid->GetRowBreaks().GetSize(), 0);
    pFrame->DestroyWindow();
}
