// Printing the plane view of a 2D map window on a stand-in printer.
#include "ViewsRes.h"
#include "WindowFixture.h"
#include "afxprint.h"
#include "afxpreview.h"
#include "afxwndtest.h"

namespace {

class MapPrintTest : public WindowTest
{
protected:
    static void FillSmallMap(Map* map)
    {
        AddBrush(map->GetWorldEntity(), -64, 64, -32, 96, 0, 64);
        Entity* e = new Entity(map);
        e->AddKeyValue("classname", "info_player_start");
        e->AddKeyValue("origin", "0 0 32");
        e->Translate(0, 0, 0);
        map->AddEntity(e);
    }
};

} // namespace

TEST_F(MapPrintTest, ThePlaneViewPrintsWhatItsWindowShowsUnscaledOnOnePage)
{
    CMapFrame* pFrame = OpenNew(nullptr, FillSmallMap);
    ASSERT_NE(pFrame, nullptr);
    CMapXYView* xy = pFrame->GetXYView();
    ASSERT_NE(xy, nullptr);

    CTestCmdUI ui;
    ui.m_nID = ID_FILE_PRINT;
    EXPECT_TRUE(pFrame->OnCmdMsg(ID_FILE_PRINT, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_EQ(ui.m_bEnabled, 1);

    CRect client;
    xy->GetClientRect(&client);
    ASSERT_FALSE(client.IsRectEmpty());
    CSize page(client.Width() + 40, client.Height() + 30);
    CStandInPrinter printer(page);
    CPrinterDevice* pOld = AfxSetPrinterDevice(&printer);

    // The last paint's update rect is a corner; the page still holds the whole window.
    xy->m_rcUpdate.SetRect(0, 0, 3, 3);
    AfxSeamAnswer(IDOK);
    Command(pFrame, ID_FILE_PRINT);
    ASSERT_EQ(printer.m_pages.size(), 1u);
    EXPECT_EQ(printer.m_nDocsEnded, 1);
    EXPECT_EQ(printer.m_nDCsOpen, 0);

    // The same drawing of the visible client area into a page-sized memory DC.
    CStandInPrinter reference(page);
    HDC hDC = reference.CreateDC(nullptr, nullptr);
    ASSERT_NE(hDC, nullptr);
    reference.StartPage(hDC);
    CRect canvas = client;
    canvas.OffsetRect(xy->GetDeviceScrollPosition());
    {
        CDC dc;
        dc.Attach(hDC);
        xy->DrawCanvas(&dc, canvas);
        dc.Detach();
    }
    reference.EndPage(hDC);
    reference.DeleteDC(hDC);

    const CStandInPrinter::Page& printed = printer.m_pages[0];
    const CStandInPrinter::Page& expected = reference.m_pages[0];
    int nDiffer = 0, nNotWhite = 0;
    for (int y = 0; y < page.cy; ++y)
        for (int x = 0; x < page.cx; ++x) {
            COLORREF c = printed.GetPixel(x, y);
            if (c != expected.GetPixel(x, y))
                ++nDiffer;
            if (c != RGB(255, 255, 255))
                ++nNotWhite;
        }
    EXPECT_EQ(nDiffer, 0);
    EXPECT_GT(nNotWhite, 0) << "the map drew nothing";
    // Unscaled: nothing lies beyond the window's size.
    EXPECT_EQ(printed.GetPixel(page.cx - 1, page.cy - 1), RGB(255, 255, 255));
    EXPECT_EQ(printed.GetPixel(client.Width() + 5, 5), RGB(255, 255, 255));

    CWinApp* pApp = AfxGetApp();
    if (pApp->m_hDevNames != nullptr)
        ::GlobalFree(pApp->m_hDevNames);
    pApp->m_hDevNames = nullptr;
    AfxSetPrinterDevice(pOld);
}

TEST_F(MapPrintTest, PreviewOfTheMapWindowOpensAndClosesWithTheSplitterAndBothPanesBack)
{
    CMapFrame* pFrame = OpenNew(nullptr, FillSmallMap);
    ASSERT_NE(pFrame, nullptr);
    CMapXYView* xy = pFrame->GetXYView();
    CMapZView* z = pFrame->GetZView();
    ASSERT_NE(xy, nullptr);
    ASSERT_NE(z, nullptr);
    CTestCmdUI ui;
    ui.m_nID = ID_FILE_PRINT_PREVIEW;
    EXPECT_TRUE(pFrame->OnCmdMsg(ID_FILE_PRINT_PREVIEW, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_EQ(ui.m_bEnabled, 1);

    auto rectIn = [](CWnd* pWnd, CWnd* pParent) {
        CRect r;
        pWnd->GetWindowRect(&r);
        pParent->ScreenToClient(&r);
        return r;
    };
    const CRect rcXY = rectIn(xy, pFrame), rcZ = rectIn(z, pFrame), rcFrame = rectIn(pFrame, m_pMain);
    CRect client;
    xy->GetClientRect(&client);
    CStandInPrinter printer(CSize(client.Width() + 40, client.Height() + 30));
    CPrinterDevice* pOld = AfxSetPrinterDevice(&printer);

    Command(pFrame, ID_FILE_PRINT_PREVIEW);
    HWND hMDIClient = m_pMain->m_hWndMDIClient;
    auto* pPreview = dynamic_cast<CPreviewView*>(
        CWnd::FromHandlePermanent(::GetDlgItem(m_pMain->m_hWnd, AFX_IDW_PANE_FIRST)));
    ASSERT_NE(pPreview, nullptr);
    EXPECT_EQ(pPreview->GetPrintView(), xy);
    EXPECT_FALSE(::IsWindowVisible(hMDIClient));
    EXPECT_FALSE(m_pBar->IsWindowVisible());
    EXPECT_EQ(pPreview->GetCurrentPage(), 1u);
    // The page shows the map: something but white inside the page.
    CRect rcPreview;
    pPreview->GetClientRect(&rcPreview);
    CStandInPrinter screen(rcPreview.Size());
    HDC hDC = screen.CreateDC(nullptr, nullptr);
    screen.StartPage(hDC);
    {
        CDC dc;
        dc.Attach(hDC);
        pPreview->OnDraw(&dc);
        dc.Detach();
    }
    screen.EndPage(hDC);
    screen.DeleteDC(hDC);
    CRect page = pPreview->GetPageRect();
    page.DeflateRect(2, 2);
    int nInk = 0;
    for (int y = page.top; y < page.bottom; ++y)
        for (int x = page.left; x < page.right; ++x)
            if (screen.m_pages[0].GetPixel(x, y) != RGB(255, 255, 255))
                ++nInk;
    EXPECT_GT(nInk, 0);

    CWnd* pBar = m_pMain->GetControlBar(AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(pBar, nullptr);
    ::SendMessageA(::GetDlgItem(pBar->m_hWnd, AFX_ID_PREVIEW_CLOSE), BM_CLICK, 0, 0);

    EXPECT_TRUE(::IsWindowVisible(hMDIClient));
    EXPECT_EQ(::GetDlgItem(m_pMain->m_hWnd, AFX_IDW_PANE_FIRST), hMDIClient);
    EXPECT_TRUE(m_pBar->IsWindowVisible());
    EXPECT_EQ(m_pMain->GetControlBar(AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_EQ(pFrame->GetXYView(), xy);
    EXPECT_EQ(pFrame->GetZView(), z);
    EXPECT_TRUE(pFrame->m_wndSplitter.IsWindowVisible());
    EXPECT_TRUE(xy->IsWindowVisible());
    EXPECT_TRUE(z->IsWindowVisible());
    EXPECT_EQ(rectIn(xy, pFrame), rcXY);
    EXPECT_EQ(rectIn(z, pFrame), rcZ);
    EXPECT_EQ(rectIn(pFrame, m_pMain), rcFrame);
    EXPECT_TRUE(printer.m_pages.empty());
    EXPECT_EQ(printer.m_nDCsOpen, 0);

    CWinApp* pApp = AfxGetApp();
    if (pApp->m_hDevNames != nullptr)
        ::GlobalFree(pApp->m_hDevNames);
    pApp->m_hDevNames = nullptr;
    AfxSetPrinterDevice(pOld);
}
