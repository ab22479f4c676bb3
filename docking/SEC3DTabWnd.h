// The 3D tab window: a page framed by a 3D border with a strip of raised tabs on one side; tabs
// carry an optional 16x16 icon and a label, may be disabled, and the active tab is drawn larger,
// joined to the page. When the labels do not all fit the strip shows icons only and the labels
// become tips.
#pragma once
#include "SECTabWndBase.h"

// Tab positions (styles of the 3D tab window and its strip).
#define SEC_TABS_BOTTOM     0x0010
#define SEC_TABS_TOP        0x0020
#define SEC_TABS_LEFT       0x0040
#define SEC_TABS_RIGHT      0x0080
#define SEC_TABS_NOENLARGE  0x0100  // the active tab keeps the size of the others
#define SEC_TABS_POSMASK    0x00F0

class SEC3DTab : public SECTab
{
    DECLARE_DYNCREATE(SEC3DTab)
public:
    SEC3DTab() { m_nWidth = 90; }

    CRect m_rect;               // strip coordinates
    HICON m_hIcon = nullptr;
    BOOL m_bEnabled = TRUE;
};

class SEC3DTabControl : public SECTabControlBase
{
    DECLARE_DYNCREATE(SEC3DTabControl)
public:
    SEC3DTabControl();
    ~SEC3DTabControl() override;

    void Initialize(DWORD dwStyle) override;
    SECTab* CreateNewTab() const override;
    void RecalcLayout() override;
    void OnActivateTab(int nTab) override;
    void DestroyGdiObjects() override;
    BOOL SetTabIconName(int nIndex, LPCSTR lpszResourceName) override;
    BOOL SetTabIconId(int nIndex, UINT nIDResource) override;
    BOOL SetTabIcon(int nIndex, HICON hIcon) override;
    BOOL InvalidateTab(int nIndex) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

    virtual void CreateFonts(DWORD dwStyle);
    virtual BOOL EnableTab(int nIndex, BOOL bEnable = TRUE);
    virtual BOOL IsTabEnabled(int nIndex) const;
    using CWnd::ModifyStyle;
    // A change of the tab position re-creates the fonts (rotated for vertical tabs) and lays out.
    virtual BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    virtual BOOL SetFontObject(CFont* pFont, int which, BOOL bRedraw = TRUE);
    virtual BOOL GetTabRect(int nIndex, CRect& rect) const;
    virtual void DrawTab(CDC* pDC, int nIndex);
    virtual void FillSolidRect(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr);
    virtual void DrawTabBottom(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabTop(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabLeft(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabRight(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabContent(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle);
    virtual void DrawDisabled(CDC* pDC, int nWidth, int nHeight);

    SEC3DTab* Get3DTab(int nIndex) const { return static_cast<SEC3DTab*>(GetTab(nIndex)); }
    // Width of a label in the active tab's font.
    int LabelWidth(int nIndex) const;
    // The enabled tab under the point, the active one first (it overlaps its neighbours); -1 when none.
    int TabFromPoint(CPoint point) const;
    DWORD TabPosition() const { return GetStyle() & SEC_TABS_POSMASK; }
    BOOL IsVertical() const { return (GetStyle() & (SEC_TABS_BOTTOM | SEC_TABS_TOP)) == 0; }

    CFont m_fonts[2];
    CPen m_pens[2];
    CPen m_penShadow;
    CPen m_penHilite;
    CBrush m_brushes[2];
    COLORREF m_clrText[2];
    BOOL m_bLabelsShown;

    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);

protected:
    void CreateColorObjects() override;
    void SetTabSize(int nIndex, int x, int y, DWORD dwStyle);
    int Escapement(DWORD dwStyle) const;

    DECLARE_MESSAGE_MAP()
};

class SEC3DTabWnd : public SECTabWndBase
{
    DECLARE_DYNCREATE(SEC3DTabWnd)
public:
    SEC3DTabWnd();

    using SECTabWndBase::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | SEC_TABS_BOTTOM,
                UINT nID = AFX_IDW_PANE_FIRST) override;
    BOOL CreateTabControl(DWORD dwStyle, UINT nID) override;
    void GetInsideRect(CRect& rect) const override;
    void RecalcLayout() override;
    SEC3DTabControl* Get3DTabControl() const { return static_cast<SEC3DTabControl*>(m_pTabCtrl); }
    BOOL EnableTab(int nIndex, BOOL bEnable = TRUE);
    BOOL IsTabEnabled(int nIndex) const;

    DWORD m_dwTabCtrlStyle;
    DWORD m_dwButtonStyle;
    int m_nStripHeight;
    int m_nStripWidth;

    BOOL OnNcCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnTabSelect(WPARAM wParam, LPARAM lParam);

protected:
    void UpdateStripSize();
    void GetStripRect(CRect& rect) const;

    DECLARE_MESSAGE_MAP()
};
