// The docking frames: the MDI main frame (SECMDIFrameWnd) and the single frame (SECFrameWnd) with
// SECDockBar sides, docking by side, row, column and share, floating in mini frames or (MDI) as
// MDI children, the saved layout, and a caption painted as a colour gradient with a two-font
// title; the MDI child frames that cooperate with them.
#pragma once
#include "SECData.h"
#include "SECDockBar.h"
#include "SECDockState.h"

class SECControlBar;
class SECControlBarManager;
class SECDockState;

// Fills rect with nBands vertical bands going from clrStart to clrEnd, left to right: each
// channel steps by (end - start) / (nBands - 1), truncated; the last band reaches the right edge.
void SECGradientFill(CDC* pDC, const CRect& rect, int nBands, COLORREF clrStart, COLORREF clrEnd);
// A caption's title in its two parts: before the first "-" (drawn in italics) and from it on.
// The title's colour over a caption band that runs from clrBandStart to clrBandEnd under the
// text: clrText where it stands out from the whole band, else white (black over a wholly light band).
COLORREF SECCaptionTextColor(COLORREF clrText, COLORREF clrBandStart, COLORREF clrBandEnd);
void SECSplitCaption(const CString& strTitle, CString& strLead, CString& strRest);

// What the two docking frames share. Each frame holds one and hands it the work.
class SECDockingFrameImpl
{
public:
    explicit SECDockingFrameImpl(CFrameWnd* pFrame);

    enum { captionLeft = 0, captionCentre = 1, captionRight = 2 };

    CFrameWnd* m_pFrame;
    CRect m_rectLastClient;             // the free client area after the last layout
    SECControlBarManager* m_pManager;
    int m_nCaptionAlign;
    BOOL m_bGradientCaption;
    BOOL m_bGradientSupported;
    BOOL m_bCaptionActive = FALSE;      // drawn active

    // ---- Docking
    void EnableDocking(DWORD dwDockStyle);
    // The dock bar of a side by id, else the first side whose alignment equals dwAlign.
    SECDockBar* SideDockBar(UINT nDockBarID, DWORD dwAlign) const;
    void DockControlBarEx(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth, int nLength);
    // Docks at the bar's kept place (a placeholder of a side) or its side.
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
    // The drop of a drag: always at the rectangle, the row by its centre.
    void DockControlBarAtRect(CControlBar* pBar, CDockBar* pDockBar, const CRect& rect);
    // Floats in a mini frame (a bar floating as an MDI child comes back from it).
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // A floating frame of dwStyle, in the frame's floating-frame class.
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // The layout's epilogue: dock bars repaint what moved; the free client area is kept.
    void AfterRecalcLayout();

    // ---- Saved layout
    void LoadBarState(LPCSTR lpszProfileName);
    void SaveBarState(LPCSTR lpszProfileName) const;
    void GetDockState(CDockState& state) const;
    // Applies a state: floating frames (mini frames or, in an MDI frame, MDI children) are made for
    // floating records; records whose bars cannot be found or made leave the state.
    void SetDockState(const CDockState& state);

    // ---- Gradient caption
    BOOL EnableGradientCaption(BOOL bEnable, BOOL bRedraw);
    // The caption in window coordinates.
    CRect CaptionRect() const;
    BOOL IsCaptionActive() const;
    void PaintCaption();
    // The frame's messages of the caption (non-client painting and activation, its text, system
    // colours); FALSE: not handled here, the platform's handling runs.
    BOOL OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL bStayActive, LRESULT* pResult);
    BOOL OnNcPaint(WPARAM wParam);
    BOOL OnNcActivate(BOOL bActive, BOOL bStayActive, LRESULT* pResult);
    BOOL OnSetText(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void OnSysColorChange();
    // The caption is painted again before the system handles a button press on the frame's
    // non-client area (the single frame's behaviour).
    BOOL m_bRepaintOnNcButton = FALSE;

private:
    // The default window procedure of the frame with its visible style bit off (nothing paints).
    LRESULT DefaultHidden(UINT nMsg, WPARAM wParam, LPARAM lParam);
};

// The docking, saved-layout and caption behaviour the two docking frames share, over the
// platform frame they derive from.
template <class TBase>
class SECDockingFrameT : public TBase
{
public:
    SECDockingFrameT() : m_impl(this) { SECRegisterMessages(); }

    // ---- Docking
    // Creates SECDockBar sides for the CBRS_ALIGN_ bits of dwDockStyle.
    void EnableDocking(DWORD dwDockStyle) { m_impl.EnableDocking(dwDockStyle); }
    // Docks at a side (0: the bar's alignment), row and column, with a share of the row and a
    // thickness across the side.
    virtual void DockControlBarEx(CControlBar* pBar, UINT nDockBarID = 0, int nCol = 0, int nRow = 0,
                                  float fPctWidth = 1.0f, int nLength = 150)
    {
        m_impl.DockControlBarEx(pBar, nDockBarID, nCol, nRow, fPctWidth, nLength);
    }
    using CFrameWnd::DockControlBar;
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr) override
    {
        m_impl.DockControlBar(pBar, pDockBar, lpRect);
    }
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr) override
    {
        m_impl.DockControlBar(pBar, pDockBar, lpRect);
    }
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP) override
    {
        m_impl.FloatControlBar(pBar, point, dwStyle);
    }
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) override
    {
        m_impl.ShowControlBar(pBar, bShow, bDelay);
    }

    // ---- Saved layout (the bar manager re-creates bars and extensions)
    void LoadBarState(LPCSTR lpszProfileName) override { m_impl.LoadBarState(lpszProfileName); }
    void SaveBarState(LPCSTR lpszProfileName) const override { m_impl.SaveBarState(lpszProfileName); }
    void SetDockState(const CDockState& state) override { m_impl.SetDockState(state); }
    void GetDockState(CDockState& state) const override { m_impl.GetDockState(state); }
    virtual SECControlBarManager* GetControlBarManager() const { return m_impl.m_pManager; }
    virtual void SetControlBarManager(SECControlBarManager* pManager) { m_impl.m_pManager = pManager; }

    // ---- Caption: answers the flag it had (FALSE, and nothing happens, before Windows 4).
    BOOL EnableGradientCaption(BOOL bEnable = TRUE, BOOL bRedraw = TRUE)
    {
        m_impl.m_bCaptionActive = m_impl.IsCaptionActive();
        return m_impl.EnableGradientCaption(bEnable, bRedraw);
    }
    void SetCaptionAlignment(int nAlign) { m_impl.m_nCaptionAlign = nAlign; }

    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        if (this->m_bInRecalcLayout || this->m_hWnd == nullptr)
            return;
        TBase::RecalcLayout(bNotify);
        m_impl.AfterRecalcLayout();
    }
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override
    {
        TBase::OnSetPreviewMode(bPreview, pState);
        // Bars, dock bars and panes came or went: the whole frame is painted afresh.
        if (this->m_hWnd != nullptr)
            ::RedrawWindow(this->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lResult = 0;
        // While toolbars are customised the frame is enabled under the modal dialog: it neither
        // closes nor carries out menu and accelerator commands.
        if (m_impl.m_pManager != nullptr && m_impl.m_pManager->IsCustomizing() &&
            (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) ||
             (message == WM_COMMAND && lParam == 0)))
            return 0;
        if (m_impl.OnFrameMessage(message, wParam, lParam, this->m_bStayActive, &lResult))
            return lResult;
        return TBase::WindowProc(message, wParam, lParam);
    }

    SECDockingFrameImpl m_impl;
};

class SECMDIFrameWnd : public SECDockingFrameT<CMDIFrameWnd>
{
    DECLARE_DYNCREATE(SECMDIFrameWnd)
public:
    SECMDIFrameWnd();

    // Floats a bar as an MDI child; x or y negative: at the next cascade place.
    void FloatControlBarInMDIChild(CControlBar* pBar, int x, int y, DWORD dwStyle);
    // Takes a bar floating as an MDI child back into a mini frame at (x, y) (screen).
    void UnFloatControlBarFromMDIChild(CControlBar* pBar, int x, int y, DWORD dwStyle);
    virtual CMDIChildWnd* CreateFloatingMDIChild(DWORD dwStyle, CCreateContext* pContext = nullptr);
    virtual void ActivateFloatingBar(CWnd* pWnd);
    virtual void DeactivateFloatingBar(CWnd* pWnd);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;

    CRuntimeClass* m_pMDIFloatClass;
    CPoint m_ptCascade;
    CWnd* m_pActiveFloatingBar;

    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    LRESULT OnExtendContextMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

protected:
    // The window that gets commands first: the active floating bar or the active MDI child.
    CWnd* CommandTarget() const;

    DECLARE_MESSAGE_MAP()
};

class SECFrameWnd : public SECDockingFrameT<CFrameWnd>
{
    DECLARE_DYNCREATE(SECFrameWnd)
public:
    SECFrameWnd();

protected:
    DECLARE_MESSAGE_MAP()
};

// The MDI child frame that cooperates with SECMDIFrameWnd: activating it deactivates the frame's
// active floating bar.
class SECMDIChildWnd : public CMDIChildWnd
{
    DECLARE_DYNCREATE(SECMDIChildWnd)
public:
    SECMDIChildWnd();

    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnChildActivate();

protected:
    DECLARE_MESSAGE_MAP()
};

// The MDI child that holds one bar floating in the main window.
class SECControlBarMDIChildWnd : public SECMDIChildWnd
{
    DECLARE_DYNCREATE(SECControlBarMDIChildWnd)
public:
    SECControlBarMDIChildWnd();
    ~SECControlBarMDIChildWnd() override;

    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // The first visible bar of the dock bar, or null.
    CControlBar* GetFirstVisibleBar();

    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnWindowPosChanged(WINDOWPOS* lpWndPos);
    void OnShowWindow(BOOL bShow, UINT nStatus);

    SECDockBar m_wndDockBar;

protected:
    DECLARE_MESSAGE_MAP()
};

// The docking frame of a frame window (a SECMDIFrameWnd's or SECFrameWnd's), or null.
SECDockingFrameImpl* SECGetDockingFrame(CFrameWnd* pFrame);
