// The docking control bar: the base of every dockable window (output and project bars, toolbars,
// the status bar). It remembers a size for each place (docked across the top or bottom, docked at
// a side, floating), takes a share of its row when it shares one, and can show a gripper with a
// hide and an expand/contract button, a context menu, and scale its child windows with itself.
// Its dock bar, dock context and frame ask it for sizes; it never lays itself out.
#pragma once
#include "SECData.h"

class SECDockBar;
class SECControlBarInfo;
class SECControlBarInfoEx;
class SECControlBarManager;

// Metrics of the gripper and the tool tips of its buttons.
class SECBarButtonInfo : public CObject
{
public:
    SECBarButtonInfo();

    // The gripper across a bar docked at the top or bottom: lead, line, gap, line, tail.
    int m_nHorzLead, m_nHorzLine1, m_nHorzGap, m_nHorzLine2, m_nHorzTail;
    // The same for a gripper along the top of a bar docked at a side.
    int m_nVertLead, m_nVertLine1, m_nVertGap, m_nVertLine2, m_nVertTail;
    int m_nSideMargin;          // inset of the gripper from the other two edges
    CString m_strHideTip, m_strExpandTip, m_strContractTip;

    int GripperWidth() const { return m_nHorzLead + m_nHorzLine1 + m_nHorzGap + m_nHorzLine2 + m_nHorzTail; }
    int GripperHeight() const { return m_nVertLead + m_nVertLine1 + m_nVertGap + m_nVertLine2 + m_nVertTail; }
};

class SECControlBar : public CControlBar
{
    DECLARE_DYNCREATE(SECControlBar)
public:
    SECControlBar();
    ~SECControlBar() override;

    // Tool ids of the gripper's buttons.
    enum { idHideButton = 1024, idExpandButton = 2048 };

    // ---- Creation
    virtual BOOL Create(CWnd* pParentWnd, LPCSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_LEFT, DWORD dwExStyle = CBRS_EX_CONTEXTMENU,
                        UINT nID = AFX_IDW_CONTROLBAR_FIRST, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                          const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = nullptr);

    // ---- Sizes and layout
    // The inside of the client rectangle: less the gripper and the side margins while docked with
    // a gripper, else less the border margins when they are on.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    // The inside as toolbars and status bars compute it (the platform's without the flat look).
    void CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bVertGripper) const;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    virtual void AddGripperSize(CSize& size, BOOL bHorz) const;

    // ---- Extended style
    DWORD GetExBarStyle() const { return m_dwExStyle; }
    virtual void SetExBarStyle(DWORD dwExStyle, BOOL bRelayout = TRUE);
    virtual void ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRelayout = TRUE);

    // ---- Docking
    void EnableDocking(DWORD dwDockStyle) override;
    // Whether the bar floats as an MDI child of the main window.
    BOOL IsMDIChild() const;
    // Notifications before the frame docks the bar, floats it in a mini frame or as an MDI child.
    virtual void OnBarDock() {}
    virtual void OnBarFloat() {}
    virtual void OnBarMDIFloat() {}
    // Extra state a derived bar keeps in the saved layout.
    virtual SECControlBarInfoEx* GetBarInfoEx() { return nullptr; }
    virtual void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
    virtual void OnExtendContextMenu(CMenu* pMenu);
    void GetBarInfo(CControlBarInfo* pInfo) override;
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

    // ---- Painting
    void DoPaint(CDC* pDC) override;
    void DrawBorders(CDC* pDC, CRect& rect) override;
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    virtual void DrawCloseButton(CDC* pDC, CRect& rectStrip, BOOL bHorz);
    virtual void DrawCloseButtonPushed(CDC* pDC);
    virtual void DrawCloseButtonFace(CDC* pDC, BOOL bPushed);
    virtual void DrawExpandButton(CDC* pDC, CRect& rectStrip, BOOL bHorz);
    virtual void DrawExpandButtonPushed(CDC* pDC);
    virtual void DrawExpandButtonFace(CDC* pDC, BOOL bPushed);
    virtual void UpdateExpandButtonState(BOOL bHorz);

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

    // ---- Child windows scaled with the bar
    void RecordChildLayout();
    void ForgetChildLayout();
    // The area the children fill for a client size (less the gripper or the margins).
    CRect ChildArea(int cx, int cy) const;

    // ---- State
    CSize m_szHorz;             // docked at the top or bottom
    CSize m_szVert;             // docked at a side
    CSize m_szFloat;            // floating
    DWORD m_dwMRUDockingState;  // the CBRS_ALIGN_ bits "Allow Docking" took away
    float m_fPctWidth;          // share of its row
    float m_fSavedPctWidth;     // the share kept while floating
    DWORD m_dwExStyle;
    CRect m_rectBorderSpace;    // margins with CBRS_EX_BORDERSPACE
    SECControlBarManager* m_pManager;
    SECBarButtonInfo m_btnInfo;
    CRect m_rectClose;
    BOOL m_bClosePressed;
    CRect m_rectExpand;
    BOOL m_bExpandPressed;
    BOOL m_bExpandEnabled;      // FALSE while the bar is alone in its row
    BOOL m_bCanExpand;          // TRUE: the button expands; FALSE: it contracts
    BOOL m_bGripperHorz;        // the gripper last drawn is on the left edge (docked top or bottom)

    // One child window's place: null window for the bar's own client rectangle.
    struct ChildRecord
    {
        HWND hWnd;
        CRect rect;
    };
    CArray<ChildRecord, const ChildRecord&>* m_pChildLayout;

    // ---- Message handlers
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcPaint();
    void OnAllowDocking();
    void OnUpdateAllowDocking(CCmdUI* pCmdUI);
    void OnHide();
    void OnMDIFloat();

protected:
    BOOL m_bInNcPaint = FALSE;  // the border lines are being drawn outside the client area
    BOOL IsDockedWithGripper() const;
    BOOL DockedHorizontally() const;
    // The bar's dock bar when it is a SECDockBar.
    SECDockBar* GetSECDockBar() const;
    // Whether the frame of a floating bar is a mini dock frame (not an MDI child).
    BOOL FloatsInMiniFrame() const;

    DECLARE_MESSAGE_MAP()
};
