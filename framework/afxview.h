// Views: windows that show a document, and the scrolling view.
#pragma once
#include "afxwnd.h"

class CDocument;
class CFrameWnd;
class CSplitterWnd;
class COleDataObject;
struct CPrintInfo;

// The effect of a drag-and-drop operation (DROPEFFECT_ values).
typedef DWORD DROPEFFECT;

// A window that shows a document. Views are created by their frame (or a splitter) with a
// CCreateContext naming the document; they delete themselves when their window goes.
class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
protected:
    CView();

public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // Called by the document's UpdateAllViews; the default redraws the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // Once, when the frame holding the view is made visible (WM_INITIALUPDATE).
    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* pDC);
    // Prepares a paint or printer context before OnDraw (mapping mode, origin).
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    // The view became or stopped being the active view of its frame. The default takes the
    // focus when the view becomes active inside the active top-level window.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // The frame holding the view was activated or deactivated (nState as WM_ACTIVATE).
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    // ---- Printing (the print loop calls these; the defaults print nothing but OnDraw)
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Asks the print dialog (or, for a direct print or a preview, takes the session's printer)
    // and makes the printer DC; FALSE when there is no printer or the user cancelled.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // The print loop (ID_FILE_PRINT): prepare, StartDoc, each page, EndDoc (AbortDoc on a failure
    // or an abort), OnEndPrinting. Views route the command here from their maps.
    void OnFilePrint();
    // Print preview (ID_FILE_PRINT_PREVIEW): the job's pages shown in place of the top-level
    // frame's client until the preview is closed. Without a printer the user is told so.
    void OnFilePrintPreview();

    // ---- Drag and drop onto the view (a drop target registered on the view calls these)
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1 lets the target go on with OnDrop.
    virtual DROPEFFECT OnDropEx(COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                                CPoint point);
    virtual DROPEFFECT OnDragScroll(DWORD dwKeyState, CPoint point);

    // The splitter window a pane lies in, or null. Without bAnyState a splitter inside a
    // minimised frame does not count.
    static CSplitterWnd* GetParentSplitter(const CWnd* pWnd, BOOL bAnyState);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    // The routing of commands: the view's map, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

protected:
    CDocument* m_pDocument;
    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};

// Default style of views made by frames.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// A view over a canvas larger than its window. The scroll position is kept by the view itself,
// in device units: it stays valid while the view shows no scroll bars at all (SetShowScrollBars
// FALSE, or the bars' styles removed by the owner), and every scroll operation keeps working
// then. Only the MM_TEXT mapping is offered.
class CScrollView : public CView
{
    DECLARE_DYNAMIC(CScrollView)
protected:
    CScrollView();

public:
    ~CScrollView() override;

    // Page and line sizes of sizeDefault are a tenth of the total and of the page.
    static const CSize sizeDefault;

    // Sets the canvas size and the steps of page and line scrolling. Without a window (or with
    // the window handle hidden from the view) only the sizes are stored; with one the bars and
    // the position are brought up to date.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;

    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const { return m_ptPos; }
    // Scrolls so that the point is at the top-left corner, within the scrollable range.
    void ScrollToPosition(POINT pt);
    void ScrollToDevicePosition(POINT ptDev);

    // FALSE removes the scroll bars for good: the range and position stay in the view.
    void SetShowScrollBars(BOOL bShow);
    BOOL GetShowScrollBars() const { return m_bShowBars; }

    // Brings the bars (when shown) and the position in line with the canvas and window sizes.
    void UpdateBars();

    // A scroll-bar code for each direction: LOBYTE horizontal, HIBYTE vertical (0xFF none).
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    // Scrolls by a distance in device units, limited to the range; FALSE when nothing moved.
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

    // Origin at minus the scroll position (except while printing).
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

protected:
    // The largest position on each axis for a client area of the given size.
    CSize GetMaxPosition(CSize sizeClient) const;
    // The client size the view has now, for the position limits.
    CSize GetScrollClientSize() const;
    void MoveTo(CPoint ptNew);
    int TrackPosition(int nBar, UINT nPos);

    int m_nMapMode;
    CSize m_totalLog;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    CPoint m_ptPos;
    BOOL m_bShowBars;
    BOOL m_bInsideUpdate;

    DECLARE_MESSAGE_MAP()
};
