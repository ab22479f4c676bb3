// Printing the plane view of a 2D map window on a stand-in printer.
#include "ViewsRes.h"
#include "WindowFixture.h"
#include "afxprint.h"
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
