// The dock bar of the docking library: the platform's rows of bars, where bars that share a row
// divide its length by their shares, and sizing splitters between rows and between the bars of a
// row. Rows of toolbar-like bars pack the way the platform packs toolbars.
#pragma once
#include "SECData.h"

class SECControlBar;

// A sizing splitter of the last layout.
class SECDockBarSplitter : public CObject
{
public:
    enum { rowSplitter = 0, barSplitter = 1 };
    int m_nOrient = 0;          // 1: a vertical strip moved sideways; 0: a horizontal one moved up and down
    int m_nKind = rowSplitter;
    CRect m_rect;               // dock bar client coordinates, 6 pixels thick
    int m_nIndex = 0;           // bar splitter: the bar before it; row splitter: the row's first entry
    BOOL m_bUsed = FALSE;       // found again by the current layout
    int m_nDragMin = 0, m_nDragMax = 0;
    CRect m_rectLast;           // feedback drawn last while dragging
    CSize m_sizeLast;
    BOOL m_bErase = FALSE, m_bFinal = FALSE;
};

// A 2-pixel line of the last layout between a row and the frame's edge.
class SECDockBarSeparator : public CObject
{
public:
    int m_nOrient = 0;
    CRect m_rect;
    BOOL m_bUsed = FALSE;
};

class SECDockBar : public CDockBar
{
    DECLARE_DYNAMIC(SECDockBar)
public:
    explicit SECDockBar(BOOL bFloating = FALSE, BOOL bMDIChild = FALSE);
    ~SECDockBar() override;

    enum { nSplitter = 6, nSeparator = 2, nMinBarLength = 18, nMinDragLength = 24, nMinRow = 19 };

    // ---- Rows and shares
    virtual BOOL IsBarExpanded(CControlBar* pBar);
    virtual BOOL IsBarAloneInRow(CControlBar* pBar);
    virtual void GetRowBars(CControlBar* pBar, CPtrArray& arrBars);
    // Mode 1 gives the bar the whole row, mode 2 an equal share to every bar.
    virtual void ExpandBar(CControlBar* pBar, int nMode);
    // Normalises the shares of the row that starts at nStart, keeping pSizedBar's share as far as
    // it can; counts its sizable and toolbar-like visible bars.
    virtual void NormalizeRow(int nStart, CControlBar* pSizedBar, int* pnSizable = nullptr, int* pnToolbars = nullptr);
    // The bar docked from floating keeps its share in the next layout.
    virtual void SetBarDocking(CControlBar* pBar);

    // ---- Docking
    // At a row and column (columns count visible bars); rows are made as needed.
    virtual void DockControlBarAt(CControlBar* pBar, int nCol, int nRow);
    virtual int InsertBarAt(CControlBar* pBar, int nCol, int nRow);
    // At a screen rectangle, the row by its centre; at the end without one.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override;
    // At the place the bar left behind, else as DockControlBar.
    void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override;
    // Leaves the bar's id behind as its place (always); TRUE when the floating frame went.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 1) override;

    // ---- Drag preview: where a bar dragged over this dock bar would go (screen coordinates).
    virtual CRect GetDragPreviewRect(CControlBar* pBar, const CRect& rectDrag, CPoint ptCursor, int& nPreviewRow,
                                     CRect& rectPreview, CPoint& ptPreview);
    // The first entry of the row a client point falls into; the list's size past the last row.
    int RowFromPoint(CPoint point);

    // ---- Splitters
    virtual SECDockBarSplitter* AddSplitter(int nOrient, int nKind, const CRect& rect, int nIndex);
    virtual void CalcSplitterLimits(SECDockBarSplitter* pSplitter);
    virtual SECDockBarSeparator* AddSeparator(int nOrient, const CRect& rect);
    virtual void ApplySplitterMove(SECDockBarSplitter* pSplitter, int nDelta);
    // Runs the modal drag of a splitter; the distance it moved (0 when cancelled).
    int TrackSplitter(SECDockBarSplitter* pSplitter, CPoint point);
    SECDockBarSplitter* SplitterFromPoint(CPoint point) const;

    // ---- Redrawing after layouts
    virtual void MarkForRedraw(int nIndex);
    virtual void Flush();
    void AddToRedraw(CControlBar* pBar);
    // Notes what a move of the dock bar that was not redrawn leaves for the flush to paint, in
    // the parent's client coordinates.
    void AddUncovered(const CRect& rectOld, const CRect& rectNew);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;

    CPtrArray m_arrRedraw;
    CRgn m_rgnUncovered;        // the parent's area the next flush paints, its windows with it
    CObArray m_arrSplitters;
    CObArray m_arrSeparators;
    BOOL m_bMDIChild;
    AFX_SIZEPARENTPARAMS* m_pLayout;
    CControlBar* m_pBarDocking;
    BOOL m_bFlushing;
    BOOL m_bRowsChanged;
    float m_fMinPct;

    // ---- Message handlers
    void OnDestroy();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);

protected:
    void MoveInLayout(AFX_SIZEPARENTPARAMS* lpLayout, const CRect& rect) override;
    BOOL IsHorzDock() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    // Length of the dock bar along its rows.
    int DockLength() const;
    // Index of the first entry of nPos's row, and one past its last.
    int RowStart(int nPos) const;
    int RowEnd(int nPos) const;
    // The LM_ mode a bar of this dock bar is measured with.
    DWORD BarMode(CControlBar* pBar) const;
    void DeleteDividers(BOOL bOnlyUnused);

    DECLARE_MESSAGE_MAP()
};

// A SECControlBar, or null.
SECControlBar* SECBarOf(CControlBar* pBar);
