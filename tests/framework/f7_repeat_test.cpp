// What the everyday paths leave behind when a user repeats them many times: sheets run, clipboard
// copies and pastes, drags and print previews leave no GDI object, window or data source.
#include "afxtest.h"
#include "afxwndtest.h"
#include "afxole.h"
#include "afxpreview.h"
#include "afxprint.h"
#include "afxsheet.h"
#include "f4_test_ids.h"
#include <cstring>
#include <functional>

namespace {

const int kRepeats = 200;

// The GDI objects and windows alive now.
struct LiveCounts
{
    int nGdi = afxtest::LiveGdiObjects();
    int nWindows = afxtest::LiveWindows();
};

// Runs one warm-up round (first uses may fill caches that live on), then kRepeats rounds, and
// expects the counts of after the warm-up.
void ExpectNothingLeftBehind(const char* what, const std::function<void()>& round)
{
    round();
    LiveCounts before;
    for (int i = 0; i < kRepeats; ++i)
        round();
    LiveCounts after;
    EXPECT_EQ(after.nGdi, before.nGdi) << what << ": GDI objects left behind";
    EXPECT_EQ(after.nWindows, before.nWindows) << what << ": windows left behind";
}

int g_sourcesDeleted = 0;

class CCountedSource : public COleDataSource
{
protected:
    ~CCountedSource() override { ++g_sourcesDeleted; }
};

const CLIPFORMAT kFormat = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Morvane Repeat Format"));

COleDataSource* NewSource()
{
    auto* pSource = new CCountedSource;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, 8);
    memcpy(::GlobalLock(h), "{ obj }", 8);
    ::GlobalUnlock(h);
    pSource->CacheGlobalData(kFormat, h);
    return pSource;
}

// A view that takes drops of the test's format and paints something on each page.
class CDropAndPrintView : public CView
{
public:
    int nDrops = 0;
    DROPEFFECT OnDragEnter(COleDataObject* pData, DWORD, CPoint) override
    {
        return pData->IsDataAvailable(kFormat) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(COleDataObject* pData, DWORD, CPoint) override
    {
        return pData->IsDataAvailable(kFormat) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    BOOL OnDrop(COleDataObject* pData, DROPEFFECT, CPoint) override
    {
        HGLOBAL h = pData->GetGlobalData(kFormat);
        if (h == nullptr)
            return FALSE;
        ::GlobalFree(h);
        ++nDrops;
        return TRUE;
    }
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(2);
        return DoPreparePrinting(pInfo);
    }
    void OnPrint(CDC* pDC, CPrintInfo*) override
    {
        CPen pen(PS_SOLID, 3, RGB(0, 0, 255));
        CPen* pOld = pDC->SelectObject(&pen);
        pDC->Rectangle(10, 10, 60, 40);
        pDC->SelectObject(pOld);
    }
    void OnDraw(CDC*) override {}
};

} // namespace

TEST(LiveObjects, TheCountsFollowWhatIsMadeAndDestroyed)
{
    // Made and destroyed twice: first uses of the screen and of windows may leave the system's
    // own objects behind (a display context, an input method window), which then stay.
    for (int nRound = 0; nRound < 2; ++nRound) {
        LiveCounts before;
        HPEN hPens[3];
        for (HPEN& h : hPens)
            h = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
        HDC hScreen = ::GetDC(nullptr);
        HDC hMem = ::CreateCompatibleDC(hScreen);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 8, 8);
        ::ReleaseDC(nullptr, hScreen);
        CWnd popup;
        ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), "counted", WS_POPUP, CRect(0, 0, 40, 40), nullptr, 0));
        CWnd child;
        ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD, CRect(0, 0, 10, 10), &popup, 1));
        LiveCounts during;
        for (HPEN h : hPens)
            ::DeleteObject(h);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hMem);
        popup.DestroyWindow();
        LiveCounts after;
        if (nRound == 0)
            continue;
        EXPECT_EQ(during.nGdi, before.nGdi + 5);
        EXPECT_EQ(during.nWindows, before.nWindows + 2);
        EXPECT_EQ(after.nGdi, before.nGdi);
        EXPECT_EQ(after.nWindows, before.nWindows);
    }
}

TEST(Repetition, SheetRunsLeaveNothingBehind)
{
    CPropertySheet sheet("Repeated");
    CPropertyPage first(IDD_F4_PAGE1), second(IDD_F4_PAGE2);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    int nRuns = 0;
    ExpectNothingLeftBehind("sheets", [&] {
        AfxSeamDrive([&](AfxModalCall& call) {
            sheet.SetActivePage(1);
            AfxSeamPressButton(call.hWnd, IDOK);
        });
        if (sheet.DoModal() == IDOK)
            ++nRuns;
    });
    EXPECT_EQ(nRuns, kRepeats + 1);
}

TEST(Repetition, ClipboardCopiesAndPastesLeaveNothingBehind)
{
    g_sourcesDeleted = 0;
    int nPastes = 0;
    ExpectNothingLeftBehind("clipboard", [&] {
        COleDataSource* pSource = NewSource();
        pSource->SetClipboard();        // the clipboard keeps its own reference
        pSource->InternalRelease();
        COleDataObject reader;
        if (reader.AttachClipboard()) {
            HGLOBAL h = reader.GetGlobalData(kFormat);
            if (h != nullptr) {
                ++nPastes;
                ::GlobalFree(h);
            }
        }
    });
    ::OleSetClipboard(nullptr);
    EXPECT_EQ(nPastes, kRepeats + 1);
    EXPECT_EQ(g_sourcesDeleted, kRepeats + 1) << "data sources left behind";
}

TEST(Repetition, DragsLeaveNothingBehind)
{
    auto* pView = new CDropAndPrintView;
    CFrameWnd* pFrame = afxtest::MakeFrameWithView(pView, CRect(0, 0, 300, 200));
    ASSERT_NE(pFrame, nullptr);
    COleDropTarget target;
    ASSERT_TRUE(target.Register(pView));
    g_sourcesDeleted = 0;
    ExpectNothingLeftBehind("drags", [&] {
        // The source made for the drag; OLE calls the target as the mouse moves and lets go.
        COleDataSource* pSource = NewSource();
        IDataObject* pData = pSource->GetIDataObject(FALSE);
        IDropTarget* pTarget = target.GetInterface();
        CPoint pt(50, 50);
        pView->ClientToScreen(&pt);
        POINTL ptl = {pt.x, pt.y};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        pTarget->DragEnter(pData, MK_LBUTTON, ptl, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        pTarget->DragOver(MK_LBUTTON, ptl, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        pTarget->Drop(pData, 0, ptl, &effect);
        pSource->InternalRelease();
    });
    EXPECT_EQ(pView->nDrops, kRepeats + 1);
    EXPECT_EQ(g_sourcesDeleted, kRepeats + 1) << "data sources left behind";
    pFrame->DestroyWindow();
}

TEST(Repetition, PrintPreviewsOpenedAndClosedLeaveNothingBehind)
{
    CStandInPrinter printer(CSize(200, 150));
    CPrinterDevice* pOld = AfxSetPrinterDevice(&printer);
    auto* pView = new CDropAndPrintView;
    CFrameWnd* pFrame = afxtest::MakeFrameWithView(pView, CRect(0, 0, 400, 300));
    ASSERT_NE(pFrame, nullptr);
    int nShown = 0;
    ExpectNothingLeftBehind("previews", [&] {
        pView->OnFilePrintPreview();
        auto* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
        if (pPreview == nullptr)
            return;
        ++nShown;
        pPreview->UpdateWindow();
        pPreview->OnNextPage();
        pPreview->UpdateWindow();
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
        pFrame->UpdateWindow();
    });
    EXPECT_EQ(nShown, kRepeats + 1);
    EXPECT_EQ(printer.m_nDCsOpen, 0);
    pFrame->DestroyWindow();
    AfxSetPrinterDevice(pOld);
    CWinApp* pApp = AfxGetApp();
    if (pApp->m_hDevNames != nullptr)
        ::GlobalFree(pApp->m_hDevNames);
    if (pApp->m_hDevMode != nullptr)
        ::GlobalFree(pApp->m_hDevMode);
    pApp->m_hDevNames = pApp->m_hDevMode = nullptr;
}
