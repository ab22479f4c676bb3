// A child window that holds several views (grids or any windows) in one
// place, one shown at a time, with a tab beam at the bottom left to switch
// between them, shared scroll bars and editable tab labels.
//
// Messages to the views: 0x78F (attached, wParam tab), 0x790 (may the label of
// tab wParam be edited? non-zero allows), 0x791 (the label of tab wParam
// changed), 0x792 (wParam 0: about to be left; 1: about to be shown; non-zero
// refuses), 0x7CB (wParam 1 before the tab window resizes, 0 after).
#pragma once
#include "afxwin.h"
#include "gxtabbeam.h"

class CGXTabWnd;

// The in-place editor of a tab's label. Enter sends its parent 0x799, Escape
// and the loss of the focus 0x79A.
class CGXEditLabelPopup : public CEdit
{
public:
    CGXEditLabelPopup() = default;
    BOOL Create(const RECT& rect, CWnd* pParent, UINT nID, const CString& sText, CFont* pFont);

protected:
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    UINT OnGetDlgCode();
    DECLARE_MESSAGE_MAP()
};

// What the tab window and the record window share: the scroll bars and size
// box that the grid inside uses (ids 0xEA00, 0xEA10, 0xEA20), the inside
// rectangle above the bottom strip and the bottom strip's layout.
struct GXBottomStrip
{
    CWnd* pWnd;
    BOOL bHScroll, bVScroll;
    int cxVScroll, cyHScroll, cyBottom;
    CScrollBar& hbar;
    CScrollBar& vbar;
    CScrollBar& sizebox;

    // Creates the bars (hidden when not wanted) and, in a frame, the size box; a
    // part that cannot be created throws the resource exception.
    void CreateBars();
    void GetInsideRect(CRect& rect) const;
    // Places the bars, the size box and the beam (nBeamWidth wide, then the
    // splitter strip, then the horizontal bar); bVertBar FALSE leaves the
    // vertical bar where it is.
    void Layout(HDWP& hdwp, CWnd* pBeam, int nBeamWidth, int nSplitterWidth, BOOL bVertBar);
};

// Lays out a child one pixel outside its nominal rectangle (x - 1, y - 1,
// w + 2, h + 2), leaving it alone when it is already there. A scroll bar
// smaller than 2 x 2 pixels gets a border, a larger one loses it.
void GXDeferChildPos(HDWP& hdwp, CWnd* pChild, int x, int y, int cx, int cy, BOOL bScrollBar);

// Makes the beam of a tab or record window from its run-time class, id 59905;
// a class of another kind or a failed creation throws the resource exception.
template <class TBeam>
TBeam* GXCreateBeam(CRuntimeClass* pClass, CWnd* pParent)
{
    CObject* pObject = pClass->CreateObject();
    auto* pBeam = dynamic_cast<TBeam*>(pObject);
    if (pBeam == nullptr) {
        delete pObject;
        AfxThrowResourceException();
    }
    if (!pBeam->Create(WS_VISIBLE, CRect(0, 0, 1, 1), pParent, 59905)) {
        delete pBeam;
        AfxThrowResourceException();
    }
    return pBeam;
}

// Creates a tab or record window of class "GxMdiFrame": the style's scroll-bar
// bits choose the shared bars and are removed.
BOOL GXCreateStripWindow(CWnd* pWnd, CWnd* pParentWnd, DWORD dwStyle, UINT nID, BOOL& bHScroll, BOOL& bVScroll);

class CGXTabWnd : public CWnd
{
    DECLARE_DYNCREATE(CGXTabWnd)
public:
    explicit CGXTabWnd(CRuntimeClass* pBeamClass = nullptr);
    ~CGXTabWnd() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    virtual void AttachWnd(CWnd* pView, LPCSTR lpszName);
    virtual void ActivateTab(CWnd* pView);
    virtual CString GetTabName(int nTab);
    virtual void SetTabName(int nTab, LPCSTR lpszName, BOOL bNoNotify = FALSE);
    void SetTabName(CWnd* pView, LPCSTR lpszName, BOOL bNoNotify = FALSE);
    // Reads (bWrite FALSE) or writes the tab name of pWnd in the tab window that
    // holds it; FALSE when no tab window holds it.
    static BOOL TabName(CWnd* pWnd, CString& sName, BOOL bWrite);

    virtual void RecalcLayout(BOOL bNoViews = FALSE);
    virtual void GetInsideRect(CRect& rect);
    virtual void SaveScrollState(CWnd* pView);
    virtual void RestoreScrollState(CWnd* pView);

    CGXTabBeam* GetBeam() const { return m_pBeam; }
    CWnd* GetActivePane() const { return m_pActivePane; }
    CGXEditLabelPopup* GetLabelEditor() const { return m_pEditLabel; }

    static LPCSTR RegisterClass(HINSTANCE hInstance);
    static BOOL IsSelfDeleting(const CGXTabWnd* p);
    // The library's border width: 1 on the newer window look, else 0.
    static int GetBorderWidth();
    // Adds a black line above the splitter strip.
    static BOOL s_bSplitterTopLine;

    BOOL m_bHScroll = TRUE;
    BOOL m_bVScroll = TRUE;
    UINT m_nFirstPaneId = 0xE900, m_nActivePaneId = 0xE900;
    CGXTabBeam* m_pBeam = nullptr;
    CWnd* m_pActivePane = nullptr;
    int m_nBeamWidth = 0;
    int m_nLastWidth = 0;
    int m_nSplitterWidth = 6;
    int m_cxVScroll;
    int m_cyHScroll;
    int m_cyBottom;
    BOOL m_bTracking = FALSE;
    HCURSOR m_hCursor;
    BOOL m_bLaidOut = FALSE;
    CGXEditLabelPopup* m_pEditLabel = nullptr;
    CBrush m_brBackground;
    CRuntimeClass* m_pBeamClass;
    int m_nBeamWidthX100 = 0;

protected:
    void PostNcDestroy() override;
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnTabChosen(WPARAM wParam, LPARAM lParam);
    LRESULT OnCanSwitch(WPARAM wParam, LPARAM lParam);
    LRESULT OnStartLabelEdit(WPARAM wParam, LPARAM lParam);
    LRESULT OnLabelEditCancel(WPARAM wParam, LPARAM lParam);
    LRESULT OnLabelEditDone(WPARAM wParam, LPARAM lParam);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSetFocus(CWnd* pOldWnd);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcPaint();
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    DECLARE_MESSAGE_MAP()

    BOOL CreateChildren(DWORD dwStyle);
    GXBottomStrip Strip();
    // Asks the leaving and the coming view (0x792); TRUE when both agree.
    BOOL CanSwitchTo(CWnd* pView);
    void SwitchTo(CWnd* pView, BOOL bAsked);
    void ReactivatePane();
    void CloseLabelEditor();
    void DestroyLabelEditor();
    CRect SplitterRect();
    void SetBeamRight(int x);

    CScrollBar m_wndHScroll, m_wndVScroll, m_wndSizeBox;
    BOOL m_bChildren = FALSE;
    CWnd* m_pApproved = nullptr;   // the view the beam's last 0x787 allowed
};

