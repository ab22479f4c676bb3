// The workbook: a docking MDI frame that, in workbook mode, shows one tab per MDI child ("sheet")
// in a strip under the MDI client, like a spreadsheet's sheet tabs; a click on a tab activates its
// sheet. With the mode off (the default) it is the plain docking MDI frame.
#pragma once
#include "SECFrame.h"
#include <vector>

class SECWorkbook;

// What every sheet of a workbook keeps: the plain sheet and the sheet that holds a bar floating in
// the main window share it (their frame classes differ).
class SECSheetInfo
{
public:
    explicit SECSheetInfo(CMDIChildWnd* pFrame) : m_pSheetFrame(pFrame) {}
    virtual ~SECSheetInfo() = default;

    CMDIChildWnd* m_pSheetFrame;
    HICON m_hIcon = nullptr;    // 16x16
    int m_nIndex = -1;          // position in the workbook
    BOOL m_bPressed = FALSE;    // its tab was clicked and the button is still down

    // The workbook the sheet's frame lies in, or null.
    SECWorkbook* GetWorkbook() const;

protected:
    // The sheet's frame was loaded from nIDResource: it joins its workbook with that icon.
    void OnSheetLoaded(UINT nIDResource);
    void OnSheetDestroy();
    void OnSheetActivate(HWND hWndActivate, HWND hWndDeactivate);
    void OnSheetShow();
};

// A sheet over the MDI child frame class it derives from.
template <class TBase>
class SECSheetT : public TBase, public SECSheetInfo
{
public:
    SECSheetT() : SECSheetInfo(this) {}

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override
    {
        if (!TBase::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
            return FALSE;
        OnSheetLoaded(nIDResource);
        return TRUE;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY)
            OnSheetDestroy();
        LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
        if (message == WM_MDIACTIVATE)
            OnSheetActivate((HWND)lParam, (HWND)wParam);
        else if (message == WM_SHOWWINDOW)
            OnSheetShow();
        return lResult;
    }
};

class SECWorksheet : public SECSheetT<SECMDIChildWnd>
{
    DECLARE_DYNCREATE(SECWorksheet)
public:
    SECWorksheet() = default;
};

// The sheet that holds a bar floating in the main window: closing it hides the bar.
class SECControlBarWorksheet : public SECSheetT<SECControlBarMDIChildWnd>
{
    DECLARE_DYNCREATE(SECControlBarWorksheet)
public:
    SECControlBarWorksheet() = default;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};

// The subclassed MDI client: the frame's layout gives it its free area less the insets.
class SECWorkbookClient : public CWnd
{
    DECLARE_DYNCREATE(SECWorkbookClient)
public:
    SECWorkbookClient() = default;

    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;
    void SetInsets(int nLeft, int nTop, int nRight, int nBottom) { m_rectInsets.SetRect(nLeft, nTop, nRight, nBottom); }
    CRect GetInsets() const { return m_rectInsets; }

    CRect m_rectInsets{0, 0, 0, 0};     // left, top, right, bottom
};

class SECWorkbook : public SECMDIFrameWnd
{
    DECLARE_DYNCREATE(SECWorkbook)
public:
    SECWorkbook();
    ~SECWorkbook() override;

    void RecalcLayout(BOOL bNotify = TRUE) override;
    BOOL CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

    virtual void AddSheet(SECSheetInfo* pSheet);
    virtual void RemoveSheet(SECSheetInfo* pSheet);
    virtual BOOL IsLabelShown(SECSheetInfo* pSheet);
    // The 7 corners of a visible sheet's tab (FALSE for a hidden sheet).
    virtual BOOL GetTabPolygon(SECSheetInfo* pSheet, POINT* pts, int nCount) const;
    virtual CString GetSheetTitle(SECSheetInfo* pSheet) const;
    virtual void GetTabTextRect(const POINT* pts, int nIconWidth, CRect& rect) const;
    virtual void DrawTab(CDC* pDC, SECSheetInfo* pSheet);
    virtual void DrawTabLine(CDC* pDC);
    virtual void DrawTabContent(CDC* pDC, SECSheetInfo* pSheet);
    virtual HICON GetSheetIcon(SECSheetInfo* pSheet) const;
    virtual void SetSheetIcon(SECSheetInfo* pSheet, HICON hIcon, BOOL bRedraw = TRUE);

    // Switches the sheet tabs on and off (the frame lays out again).
    void SetWorkbookMode(BOOL bOn);
    BOOL IsWorkbookMode() const { return m_bWorkbookMode; }
    // min((MDI client width + 5) / sheets, the maximum); with no sheets the width stays.
    void RecalcTabWidth();
    // The MDI client's rectangle in this frame's client coordinates.
    CRect MDIClientRect() const;
    // The sheet whose tab holds the point (visible sheets, in order), or null.
    SECSheetInfo* SheetFromPoint(CPoint point, BOOL bSkipActive) const;
    BOOL IsSheetActive(const SECSheetInfo* pSheet) const;
    // A title too wide for nWidth pixels loses characters at its end for "..." until it fits or
    // has fewer than 4 characters.
    static CString ShortenTitle(CDC* pDC, const CString& strTitle, int nWidth);

    std::vector<SECSheetInfo*> m_sheets;
    BOOL m_bWorkbookMode;
    BOOL m_bShowIcons;
    CFont m_fontTab;
    SECWorkbookClient* m_pClient;
    CPen m_penWhite, m_penBlack, m_penShadow, m_penFace;
    int m_nTabWidth;
    int m_nTabHeight;
    int m_nCorner;
    int m_nActiveWiden;
    int m_nActiveDeepen;
    int m_nMaxTabWidth;
    CRect m_rectLastFree;
    BOOL m_bTipsOn;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnDestroy();

protected:
    // The frame's free area (what the bars leave), in client coordinates.
    CRect FreeRect();
    void InvalidateTabsFrom(int nIndex);

    DECLARE_MESSAGE_MAP()
};
