// A real map's key/value pairs in a grid, printed page by page on the stand-in printer.
#include "DocumentFixture.h"
#include "Entity.h"
#include "afxprint.h"
#include "afxtest.h"
#include "gxwnd.h"
#include "gxstyle.h"
#include "shareddata.h"
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

class CPairsView : public CView
{
public:
    CGXGridWnd* pGrid = nullptr;
    UINT nPrinted = 0;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override { return DoPreparePrinting(pInfo); }
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override { pGrid->OnGridBeginPrinting(pDC, pInfo); }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        ++nPrinted;
        pGrid->OnGridPrint(pDC, pInfo);
    }
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override { pGrid->OnGridEndPrinting(pDC, pInfo); }
    void OnDraw(CDC*) override {}
};

class GridPrintRealMap : public DocumentTest
{
};

} // namespace

TEST_F(GridPrintRealMap, TheKeyValuePairsOfE3m5PrintOnThePagesOfTheirBreaks)
{
    CString path = shareddata::Path("maps\\e3m5.map").c_str();
    SKIP_WITHOUT_SHARED_DATA(path);
    std::ifstream in((LPCSTR)path, std::ios::binary);
    ASSERT_TRUE(in) << (LPCSTR)path;
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    ASSERT_TRUE(map->ParseMapText(s.c_str(), (int)s.size()));

    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "pairs", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                               nullptr));
    auto* pGrid = new CGXGridWnd;
    ASSERT_TRUE(pGrid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 480, 380), &frame, 1));
    pGrid->InitGrid();
    pGrid->SetColCount(2, 0);
    ROWCOL nRows = 0;
    for (POSITION pos = map->GetEntities().GetHeadPosition(); pos != nullptr;) {
        auto* e = static_cast<Entity*>(map->GetEntities().GetNext(pos));
        for (POSITION kv = e->GetKeyValues().GetHeadPosition(); kv != nullptr;) {
            auto* p = static_cast<CKeyValue*>(e->GetKeyValues().GetNext(kv));
            pGrid->SetRowCount(++nRows, 0);
            pGrid->SetValueRange(CGXRange(nRows, 1), p->GetKey(), gxOverride, 0, 0);
            pGrid->SetValueRange(CGXRange(nRows, 2), p->GetValue(), gxOverride, 0, 0);
        }
    }
    ASSERT_GT(nRows, 100u);

    CStandInPrinter printer(CSize(800, 1000));
    CPrinterDevice* pOld = AfxSetPrinterDevice(&printer);
    CPairsView view;
    view.pGrid = pGrid;
    AfxSeamAnswer(IDOK);
    view.OnFilePrint();
    ASSERT_GT(printer.m_pages.size(), 1u);
    EXPECT_EQ(printer.m_pages.size(), view.nPrinted);
    EXPECT_EQ(printer.m_nDocsEnded, 1);

    // The same breaks, taken again: every row is on exactly one band of pages.
    {
        HDC hDC = printer.CreateDC(nullptr, nullptr);
        CDC dc;
        dc.Attach(hDC);
        dc.m_bPrinting = TRUE;
        CPrintInfo info;
        pGrid->OnGridBeginPrinting(&dc, &info);
        const CDWordArray& rows = pGrid->GetRowBreaks();
        EXPECT_EQ(rows[0], 1u);
        EXPECT_EQ(rows[rows.GetSize() - 1], nRows + 1);
        EXPECT_EQ(info.GetMaxPage(), (UINT)printer.m_pages.size());
        std::printf("[  INFO    ] e3m5: %lu key/value rows on %u pages (%d row bands x %d column bands)\n",
                    (unsigned long)nRows, info.GetMaxPage(), (int)rows.GetSize() - 1,
                    (int)pGrid->GetColBreaks().GetSize() - 1);
        pGrid->OnGridEndPrinting(&dc, &info);
        dc.Detach();
        printer.DeleteDC(hDC);
    }
    AfxSetPrinterDevice(pOld);
    CWinApp* pApp = AfxGetApp();
    if (pApp->m_hDevNames != nullptr)
        ::GlobalFree(pApp->m_hDevNames);
    pApp->m_hDevNames = nullptr;
    pGrid->DestroyWindow();
    delete pGrid;
    frame.DestroyWindow();
}
