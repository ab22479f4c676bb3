// The 2D tab window: slanted tabs along the bottom edge, sharing it with an optional horizontal
// scroll bar behind a sizer; scroll bars shared by the client windows, each tab keeping its own
// scroll state; arrow buttons that scroll the strip sideways when its tabs do not fit.
#pragma once
#include "SECTabWndBase.h"
#include "afxctrl.h"

// Scroll buttons of the strip.
#define SEC_TABBTN_FIRST    0x1
#define SEC_TABBTN_PREV     0x2
#define SEC_TABBTN_NEXT     0x4
#define SEC_TABBTN_LAST     0x8

// The strip of slanted tabs.
class SECTabControl : public SECTabControlBase
{
    DECLARE_DYNCREATE(SECTabControl)
public:
    SECTabControl();
    ~SECTabControl() override;

    void Initialize(DWORD dwStyle) override;
    void RecalcLayout() override;
    BOOL ScrollToTab(int nIndex) override;
    BOOL InvalidateTab(int nIndex) override;
    void DestroyGdiObjects() override;
    virtual void DrawTab(CDC* pDC, int nTab, CRgn& rgn);
    // which: 0 normal, 1 selected, 2 active tabs (the active tabs' font also measures labels).
    virtual BOOL SetFontObject(CFont* pFont, int which, BOOL bRedraw = TRUE);

    // ---- Geometry
    // The left end of tab nTab: the scroll offset, the buttons area and the tabs before it (each
    // overlapping the next by 5 pixels).
    int TabLeft(int nTab) const;
    // The four corners of the tab: wide at the top, 6 pixels narrower at each end of the bottom.
    void GetTabPolygon(int nTab, POINT pts[4]) const;
    BOOL CreateTabRgn(int nTab, CRgn& rgn) const;
    BOOL HitTest(int nTab, CPoint point) const;
    // The first tab whose region holds the point, -1 when none.
    int TabFromPoint(CPoint point) const;
    int GetTextWidth(int nTab);
    void GetTabsRect(CRect& rect) const;
    int ButtonsAreaWidth() const;
    BOOL GetButtonRect(DWORD dwButton, CRect& rect) const;
    // The present button under the point, 0 when none.
    DWORD ButtonFromPoint(CPoint point) const;
    void UpdateScrollButtons();
    void TrackScrollButton(DWORD dwButton);

    int m_nScrollOffset;
    int m_nTabHeight;
    CFont m_fonts[3];
    CPen m_pens[3];
    CPen m_penShadow;
    CBrush m_brushes[3];
    COLORREF m_clrText[3];
    DWORD m_dwButtons;
    DWORD m_dwPressed;
    DWORD m_dwDisabled;
    int m_nButtonWidth;
    int m_nButtonHeight;

    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);

protected:
    void CreateColorObjects() override;
    void DrawButton(CDC* pDC, DWORD dwButton);
    // One step of a button: the offset moves, the buttons follow and the strip scrolls.
    void StepButton(DWORD dwButton);
    // Scrolls the tabs' pixels when the offset changed from nOldOffset.
    void ScrollTabs(int nOldOffset);
    void InvalidateButton(DWORD dwButton);
    void DrawPass(CDC* pDC, int nPass, const CRect& rectClip);

    DECLARE_MESSAGE_MAP()
};

class SECTabWnd : public SECTabWndBase
{
    DECLARE_DYNCREATE(SECTabWnd)
public:
    SECTabWnd();
    ~SECTabWnd() override;

    using SECTabWndBase::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | 0x2,
                UINT nID = AFX_IDW_PANE_FIRST) override;
    BOOL CreateTabControl(DWORD dwStyle, UINT nID) override;
    CWnd* InsertTabView(CRuntimeClass* pViewClass, int nIndex, LPCSTR lpszLabel, CCreateContext* pContext = nullptr,
                        UINT nID = (UINT)-1) override;
    SECTab* InsertTab(CWnd* pWnd, int nIndex, LPCSTR lpszLabel) override;
    void OnTabInserted(int nIndex, DWORD dwScrollStyle) override;
    BOOL RemoveTab(int nIndex) override;
    BOOL ActivateTab(int nIndex) override;
    BOOL ActivateTabWnd(CWnd* pWnd) override;
    void ActivateTabImpl(CWnd* pWnd, int nIndex) override;
    void GetInsideRect(CRect& rect) const override;
    void RecalcLayout() override;
    // bar 0 horizontal, 1 vertical; pWnd null: the active window. The shared bar when that
    // window's tab uses it, else null.
    virtual CScrollBar* GetTabScrollBar(int nBar, CWnd* pWnd = nullptr);

    // The scroll style of a window's tab (0 for a window no tab holds).
    DWORD ScrollStyleOf(const CWnd* pWnd) const;
    BOOL ActiveUses(DWORD dwStyle) const { return (ScrollStyleOf(m_pActiveWnd) & dwStyle) != 0; }
    void GetSizerRect(CRect& rect) const;
    BOOL IsSizerShown() const { return ActiveUses(WS_HSCROLL); }

    int m_nTabWidth;
    int m_nStripHeight;
    int m_cxVScroll;
    int m_cyHScroll;
    int m_nSizerWidth;
    int m_nDragOffset;
    BOOL m_bDragging;
    BOOL m_bOverSizer;
    BOOL m_bFirstSize;
    HCURSOR m_hcurSize;
    HCURSOR m_hcurArrow;
    DWORD m_dwButtonStyle;
    std::vector<SCROLLINFO*> m_hStates;
    std::vector<SCROLLINFO*> m_vStates;
    std::vector<DWORD> m_scrollStyles;
    CScrollBar m_wndHScroll;
    CScrollBar m_wndVScroll;
    // The window whose scroll state the shared bars hold now.
    CWnd* m_pScrollWnd;

    BOOL OnNcCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    LRESULT OnTabSelect(WPARAM wParam, LPARAM lParam);

protected:
    void FreeStates();

    DECLARE_MESSAGE_MAP()
};

class SEC2DTabWnd : public SECTabWnd
{
    DECLARE_DYNCREATE(SEC2DTabWnd)
public:
    SEC2DTabWnd() = default;
};
