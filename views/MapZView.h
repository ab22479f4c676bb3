// The depth view: the narrow right-hand pane of a 2D map window. It shows the axis that the
// plane view beside it does not show: a depth grid with numbers, the depth bars of the selection
// with two stretch handles, and the two clipping planes the user drags.
#pragma once
#include "MapView.h"
#include <functional>

class CMapZView : public CMapView
{
    DECLARE_DYNCREATE(CMapZView)
public:
    CMapZView();
    ~CMapZView() override;

    // Interaction states beyond the base's.
    enum { STATE_MOVE = 2, STATE_TOP_PLANE = 4, STATE_BOTTOM_PLANE = 5, STATE_TOP_HANDLE = 6, STATE_BOTTOM_HANDLE = 7 };
    enum { TIMER_AUTOSCROLL = 2 };

    int m_nTopClip;         // unscaled device units from the top of the scroll range
    int m_nBottomClip;
    CBitmap m_bmpTop, m_bmpBottom;
    BITMAP m_infoTop, m_infoBottom;
    int m_nGrabOffset;
    int m_bAutoScroll;
    int m_bFirstSizing;
    CRect m_rcTopHandle, m_rcBottomHandle; // scroll coordinates
    CRect m_rcBand;         // the selection's depth band (device y)
    int m_bHandlesShown;
    int m_bGridNumbers;
    // A depth drag of the selection: the dragged edge's device y at the press, the world
    // distance the move has applied so far, and the depth of the stretched edge at the press.
    // Each step applies what the distance from the press still wants, so the selection comes
    // back to where it was when the pointer does.
    int m_nDragFrom;
    int m_nDepthMoved;
    int m_nEdgeAtPress;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    void UpdateScrollSizes(float scale);
    void ApplyGridSize(int grid);
    // Depths of the top (upper) and bottom (lower) plane.
    void GetClipRange(int& upper, int& lower) const;
    void FindPlayerStart();
    // Draws the strip into pDC, whose pixel (0, 0) stands for the scroll position.
    void DrawBackground(CDC* pDC);

    // The scroll range's width and the vertical bar width the layout keeps free.
    static int BarWidth();
    int StripWidth() const { return 49 - BarWidth(); }
    // Device y of a depth.
    int DepthToDevice(int depth) const;
    // The band of the current selection (device y), FALSE when nothing is selected.
    // eachBar (when given) gets every selected object's own rows.
    BOOL ComputeBand(int& top, int& bottom, BOOL* pHandles = nullptr,
                     const std::function<void(int top, int bottom)>& eachBar = nullptr) const;
    // The planes at the full range; at the selection's band.
    void SetFullRange();
    void SetPlanesToBand();
    // Tells the plane views about a changed clip (linked or not).
    void PropagateClip();

    void OnClipToBrushDepth();
    void OnDisableDepthClipping();
    void OnGridNumbers();
    void OnUpdateGridNumbers(CCmdUI* pCmdUI);
    void OnUpdatePanePosition(CCmdUI* pCmdUI);

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnCaptureChanged(CWnd* pWnd);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

protected:
    // The end of a drag as its release makes it: no more scrolling at the edge and, while the
    // handles show, the first selected object's box as the range of new brushes.
    void FinishDrag(int state) override;
    // Moves the dragged item to the logical pointer y; used by mouse moves and timer ticks.
    void DragTo(int y);
    void StopAutoScroll();
    void UpdateAutoScroll(int itemY);
    int ClientHeight() const;

    DECLARE_MESSAGE_MAP()
};
