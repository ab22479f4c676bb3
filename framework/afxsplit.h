// The static splitter window: a fixed grid of panes (usually views) separated by split bars.
#pragma once
#include "afxwnd.h"

class CSplitterWnd : public CWnd
{
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd();
    ~CSplitterWnd() override;

    enum { maxRowCol = 16 };

    // Creates the splitter with nRows x nCols panes (1 to 16 each); the panes are made
    // afterwards with CreateView. nID is the splitter's own id (the frame's pane id).
    virtual BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                              UINT nID = AFX_IDW_PANE_FIRST);
    // Creates one pane from a run-time class (normally a view of pContext's document); the
    // pane's row takes sizeInit.cy and its column sizeInit.cx as ideal sizes.
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);

    // The window of a pane, by its row and column.
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const;
    // TRUE when pWnd is a pane of this splitter (its row and column then go to pRow and pCol).
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);

    // The active pane: the frame's active view when it lies in this splitter, else the pane that
    // has the focus; null when neither.
    virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
    // Makes a pane (or pWnd) the frame's active view, or gives it the focus when it is no view.
    virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);

    // Places every pane from the ideal sizes: panes keep their ideal size from the left and the
    // top, the last column and row take what is left.
    virtual void RecalcLayout();

    // Commands and notifications from panes go on to the frame.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Sizes of the split bars and the border drawn round each pane.
    int m_cxSplitterGap, m_cySplitterGap;
    int m_cxBorder, m_cyBorder;

    // ---- Message handlers (a derived map may leave the mouse to Default to fix the layout)
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnCancelMode();
    void OnCaptureChanged(CWnd* pWnd);

protected:
    struct CRowColInfo
    {
        int nMinSize;
        int nIdealSize;
        int nCurSize;
    };

    // The rectangle of a pane (client coordinates), from the current sizes.
    CRect GetPaneRect(int row, int col) const;
    // The split bar under a point: a column boundary (*pbVert TRUE) or a row boundary; -1 if none.
    int HitTestBar(CPoint point, BOOL* pbVert) const;
    static void LayoutRowCol(CRowColInfo* pInfo, int nCount, int nSize, int nGap, int nBorder);
    void StopTracking();

    int m_nRows;
    int m_nCols;
    CRowColInfo* m_pRowInfo;
    CRowColInfo* m_pColInfo;
    BOOL m_bTracking;
    BOOL m_bTrackVert;      // dragging a boundary between columns
    int m_nTrackIndex;      // the column (or row) left of (above) the dragged boundary
    int m_nTrackOffset;     // where in the bar the mouse took it

    DECLARE_MESSAGE_MAP()
};
