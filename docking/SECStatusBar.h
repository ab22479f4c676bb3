// The status bar of the docking frames: the system's status-bar control as a docking bar, with
// panes identified by command ids, the message pane (id 0), idle updates of the panes, and
// owner-drawn panes with their own colours, alignment, bitmap and cursor.
#pragma once
#include "SECBar.h"
#include <vector>

class SECStatusBar : public SECControlBar
{
    DECLARE_DYNAMIC(SECStatusBar)
public:
    SECStatusBar();
    ~SECStatusBar() override;

    struct Pane
    {
        UINT nID = 0;           // 0: the message pane
        int cxText = 0;
        UINT nStyle = 0;        // SBPS_ bits; the second byte carries the control's SBT_ bits
        UINT nFlags = 0;        // 1: the text must still go to the control
        CString strText;
    };

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    virtual BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return (int)m_panes.size(); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    void GetPaneText(int nIndex, CString& s) const;
    CString GetPaneText(int nIndex) const;
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
    int GetMinHeight() const { return m_nMinHeight; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void DoPaint(CDC* pDC) override;

    // The right edges of the panes for an inside width and the control's between-pane border.
    static std::vector<int> PaneEdges(const std::vector<Pane>& panes, int nLeft, int nInsideWidth, int nBetween);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void SendPaneText(int nIndex);
    BOOL HasGrip() const;

    int m_nMinHeight;
    std::vector<Pane> m_panes;
};

// Per-pane presentation flags of SECPaneStatusBar.
#define SEC_PANE_ALIGN          0x0010
#define SEC_PANE_TEXTCOLOR      0x0020
#define SEC_PANE_BKCOLOR        0x0040
#define SEC_PANE_BITMAP         0x0080
#define SEC_PANE_CURSOR         0x0100
// More of the record's mask.
#define SEC_PANE_ID             0x0001
#define SEC_PANE_STYLE          0x0002
#define SEC_PANE_WIDTH          0x0004
#define SEC_PANE_TEXT           0x0008

struct SECPaneInfo
{
    int nIndex = 0;
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    CString strText;
    COLORREF clrText = 0;
    COLORREF clrBk = 0;
    CBitmap* pBitmap = nullptr;     // not owned
    HCURSOR hCursor = nullptr;
    UINT nAlign = TA_LEFT;          // TA_LEFT, TA_RIGHT or TA_CENTER
    UINT nMask = 0;
};

class SECPaneStatusBar : public SECStatusBar
{
    DECLARE_DYNAMIC(SECPaneStatusBar)
public:
    SECPaneStatusBar();
    ~SECPaneStatusBar() override;

    struct PaneEx
    {
        COLORREF clrText = 0;
        COLORREF clrBk = 0;
        CBitmap* pBitmap = nullptr;
        HCURSOR hCursor = nullptr;
        UINT nAlign = TA_LEFT;
        UINT nFlags = 0;
    };

    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount) override;
    void SetPaneInfoEx(const SECPaneInfo& info, int nBorder = 2);
    void RecalcPaneWidths();
    // An empty rectangle for an index past the panes (or past 32).
    void GetPaneRect(int nIndex, LPRECT lpRect) const;
    int PaneFromPoint(CPoint point) const;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    CWnd* m_pChildWnd;      // laid over the first pane; owned
    std::vector<PaneEx> m_extras;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RelayoutParent();
};
