// Print preview: a view that takes the place of the frame's client and shows one printed page at a
// time, scaled to its window, with a bar of Print, Next Page, Prev Page and Close; the frame's
// preview mode that hides its bars and pane meanwhile; and the print-progress dialog of the print
// loop.
//
// The page is drawn by the previewed view's own OnPrint through a CPreviewDC: output goes to the
// screen while the printer DC answers every query (metrics, page size, coordinate conversion), so
// the page on screen has the printer's layout.
#pragma once
#include "afxwin.h"
#include "afxbar.h"
#include "afxdlg.h"
#include "afxframe.h"
#include "afxview.h"
#include <vector>

struct CPrintInfo;

// What the frame changed on entering preview, to put back on leaving it.
struct CPrintPreviewState
{
    HMENU hMenu = nullptr;              // the frame's menu, removed while previewing
    HWND hWndPane = nullptr;            // the client pane (view, splitter or MDI client), hidden
    UINT nIDPane = 0;                   // its id, given back on leaving
    std::vector<HWND> hiddenBars;       // bars (or floating bars' frames) that were shown
    CView* pViewActiveOld = nullptr;    // the active view before the preview
};

// A device context whose output DC shows the printer's page scaled into a rectangle of the
// screen: every mapping change goes to the printer (attribute) DC and is mirrored onto the output
// DC with the page's scale and position added.
class CPreviewDC : public CDC
{
public:
    CPreviewDC();
    ~CPreviewDC() override;
    // Where the page lies on the output device and the printer's page size in its pixels.
    void SetPageRect(const CRect& rectScreen, CSize sizePrinterPage);
    void MirrorMappingMode();

    int SetMapMode(int nMapMode) override;
    CPoint SetViewportOrg(int x, int y) override;
    CPoint OffsetViewportOrg(int nWidth, int nHeight) override;
    CSize SetViewportExt(int cx, int cy) override;
    CSize ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) override;
    CSize SetWindowExt(int cx, int cy) override;
    CSize ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) override;
    BOOL RestoreDC(int nSavedDC) override;

protected:
    CPoint m_ptPage;            // the page's top-left on the output device
    CSize m_sizeNum, m_sizeDen; // screen size / printer size of the page, reduced
};

class CPreviewView;

// The preview's button bar along the frame's top: Print, Next Page, Prev Page, Close and the
// page text. Its buttons report to the preview view (its owner).
class CPreviewBar : public CControlBar
{
public:
    CPreviewBar();
    BOOL Create(CFrameWnd* pFrame, CPreviewView* pView);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
};

class CPreviewView : public CView
{
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView();
    ~CPreviewView() override;

    // Prepares the job of pPrintView (print dialog's printer, OnBeginPrinting); FALSE when the
    // view refused or no printer is there.
    BOOL SetPrintView(CView* pPrintView);
    CView* GetPrintView() const { return m_pPrintView; }
    CPrintInfo* GetPrintInfo() const { return m_pPreviewInfo; }

    UINT GetCurrentPage() const;
    // Shows another page (kept within the job's pages).
    void SetCurrentPage(UINT nPage);
    // The page's place in the window.
    CRect GetPageRect() const;
    // The text of the page indicator, from the job's page description.
    CString GetPageText() const;

    void OnDraw(CDC* pDC) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void PostNcDestroy() override;

    void OnPreviewClose();
    void OnPreviewPrint();
    void OnNextPage();
    void OnPrevPage();
    void OnUpdateNextPage(CCmdUI* pCmdUI);
    void OnUpdatePrevPage(CCmdUI* pCmdUI);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDestroy();

    CFrameWnd* m_pPreviewFrame = nullptr;
    CPrintPreviewState* m_pPreviewState = nullptr;   // owned
    CPreviewBar* m_pToolBar = nullptr;

protected:
    // Ends the job (OnEndPrinting) and frees the printer DC; once.
    void EndJob();
    // The current page through the printed view's own printing, scaled into rectPage of hOutput.
    void DrawPage(HDC hOutput, const CRect& rectPage);
    void UpdatePageText();

    CView* m_pPrintView = nullptr;
    HWND m_hWndPrintView = nullptr;
    // Whether the previewed view still exists (a windowless one counts as existing).
    BOOL IsPrintViewAlive() const;
    CPrintInfo* m_pPreviewInfo = nullptr;   // owned
    HDC m_hPrinterDC = nullptr;             // owned, through the printer device
    CDC m_dcPrinter;                        // the printer DC for the job's begin and end
    BOOL m_bJobStarted = FALSE;
    BOOL m_bFailureTold = FALSE;            // a failing page was reported (once per preview)

    DECLARE_MESSAGE_MAP()
};

// Opens a preview of pPrintView in its top-level frame; FALSE (nothing changed) when the job could
// not start. The state object is the preview's from then on.
BOOL AfxDoPrintPreview(CView* pPrintView, CPrintPreviewState* pState, CRuntimeClass* pPreviewViewClass = nullptr);

// The dialog shown while the print loop runs: document, printer and the page being printed; its
// Cancel ends the job after the current page.
class CPrintingDialog : public CDialog
{
public:
    explicit CPrintingDialog(CWnd* pParent);
    ~CPrintingDialog() override;
    BOOL Create(LPCSTR lpszDocName, LPCSTR lpszPrinterName);
    void SetPage(UINT nPage);
    BOOL IsCancelled() const { return m_bCancelled; }
    void OnCancel() override;

    // The dialog of the print loop running now, or null.
    static CPrintingDialog* GetActive();

protected:
    CWnd* m_pOwner;
    BOOL m_bCancelled = FALSE;
};
