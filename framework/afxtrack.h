// The rectangle tracker: a rectangle with resize handles that the user moves and sizes in a modal
// mouse loop, with the feedback drawn as a drag rectangle.
#pragma once
#include "afxwin.h"

class CRectTracker
{
public:
    enum StyleFlags
    {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    enum TrackerHit
    {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    CRectTracker();
    CRectTracker(LPCRECT lpSrcRect, UINT nStyle);
    virtual ~CRectTracker() = default;

    UINT m_nStyle;
    CRect m_rect;
    CSize m_sizeMin;
    int m_nHandleSize;

    void Draw(CDC* pDC) const;
    void GetTrueRect(LPRECT lpTrueRect) const;
    // Sets the cursor of the handle under the mouse (WM_SETCURSOR); FALSE when none is there.
    BOOL SetCursor(CWnd* pWnd, UINT nHitTest) const;
    // Moves or sizes the rectangle from the handle under point (pWnd client coordinates) until the
    // button is released; Escape or the right button restore it. TRUE when it changed.
    BOOL Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert = FALSE, CWnd* pWndClipTo = nullptr);
    // Draws a new rectangle from point.
    BOOL TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert = TRUE);
    int HitTest(CPoint point) const;
    int NormalizeHit(int nHandle) const;

    virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);
    // Lets a derived tracker limit the rectangle while it is tracked.
    virtual void AdjustRect(int nHandle, LPRECT lpRect);
    virtual void OnChangedRect(const CRect& rectOld);
    virtual UINT GetHandleMask() const;

protected:
    BOOL m_bAllowInvert;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bErase;
    BOOL m_bFinalErase;

    virtual int GetHandleSize(LPCRECT lpRect = nullptr) const;
    // The loop itself; the DC and capture window can be chosen by a derived tracker.
    BOOL TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo);
    virtual CDC* GetTrackerDC(CWnd* pWnd, CWnd* pWndClipTo);
    virtual void ReleaseTrackerDC(CDC* pDC, CWnd* pWnd, CWnd* pWndClipTo);
    void Construct();
    void GetModifyPointers(int nHandle, LONG** ppx, LONG** ppy, int* px, int* py);
    virtual void GetHandleRect(int nHandle, CRect* pHandleRect) const;
    int HitTestHandles(CPoint point) const;
};
