// The modal mouse loops of a docking bar (dragging it to a side, into a row or out to float;
// resizing its floating frame; the double-click toggle; floating in the main window and back),
// the floating mini frame, and the rectangle tracker the toolbars use.
#pragma once
#include "SECData.h"
#include "SECDockBar.h"
#include "afxtrack.h"

class SECDockContext : public CDockContext
{
public:
    explicit SECDockContext(CControlBar* pBar);
    ~SECDockContext() override;

    // A floating bar dropped within this many pixels (|dx| + |dy|) of its start only moves.
    enum { nDeadZone = 5 };

    void StartDrag(CPoint pt) override;
    void StartResize(int nHitTest, CPoint pt) override;
    void ToggleDocking() override;
    // Floats the bar as an MDI child of the main window, or takes it back to where it was.
    virtual void ToggleMDIFloat();

    void EndDrag() override;
    void Stretch(CPoint pt) override;
    void EndResize() override;
    DWORD CanDock() override;
    void DrawFocusRect(BOOL bRemoveRect = FALSE) override;
    void CancelLoop() override;

    CRect m_rectPreview;        // the last preview a SECDockBar gave
    CPoint m_ptDragStart;       // where the drag began (screen)
    CPoint m_ptPreview;         // the cursor at the last preview
    int m_nPreviewRow;          // the row of the last preview, -1 for none
    CDockBar* m_pPreviewDockBar = nullptr; // the dock bar whose row m_nPreviewRow is
    BOOL m_bPrevFloating;       // the bar floated in a mini frame before it floated as an MDI child

protected:
    void AdjustDragRect(CRect& rect, CPoint pt) override;
    // Whether a floating bar's cursor is still within the dead zone around the drag start.
    BOOL InDeadZone(CPoint pt) const;
    // The rectangle of the dock bar under the cursor: its preview or the drag rectangle.
    CRect DockFeedbackRect(CDockBar* pDockBar, BOOL bVert);
    // The screen rectangle of the bar's most recent docked place (its dock bar, or null).
    CRect MRUDockScreenRect(CDockBar*& pDockBar);
    void RestoreShare();
    void SaveShare();
};

// The floating frame of the docking library: a mini frame around an embedded SECDockBar.
class SECMiniDockFrameWnd : public CMiniDockFrameWnd
{
    DECLARE_DYNCREATE(SECMiniDockFrameWnd)
public:
    SECMiniDockFrameWnd();

    BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
    CDockBar* GetDockBar() override;

    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnParentNotify(UINT message, LPARAM lParam);

    SECDockBar m_wndSECDockBar;     // the dock bar the frame holds

protected:
    DECLARE_MESSAGE_MAP()
};

// A rectangle tracker whose feedback is drawn on the desktop, for tracking across windows.
class SECMiniFrameTracker : public CRectTracker
{
public:
    SECMiniFrameTracker();
    explicit SECMiniFrameTracker(LPCRECT lpSrcRect);

    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override;

protected:
    CDC* GetTrackerDC(CWnd* pWnd, CWnd* pWndClipTo) override;
    void ReleaseTrackerDC(CDC* pDC, CWnd* pWnd, CWnd* pWndClipTo) override;
};
