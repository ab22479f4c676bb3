// Frame windows: the single frame, the MDI frame and the MDI child frame.
#pragma once
#include "afxwnd.h"

class CView;
class CDocument;
class CMDIChildWnd;
class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;
struct CPrintPreviewState;

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;     // the system's default position and size

    // Creates the frame from one resource id: its string (the title is the first "\n" part),
    // menu, icon and accelerators.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCSTR lpszResourceName);

    // ---- Views and documents
    virtual CView* GetActiveView() const { return m_pViewActive; }
    // The old view is always told it lost the activation; the new one is told only with bNotify.
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual void ActivateFrame(int nCmdShow = -1);
    // Makes the first pane the active view when there is none; when visible, sends every view
    // WM_INITIALUPDATE (OnInitialUpdate) and shows and activates the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // ---- Layout, title, menus
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    // Sets the caption from the active document; frames without FWS_ADDTOTITLE keep theirs.
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
    // The name with this frame's number among its document's frames ("name:2").
    CString GetNumberedTitle(LPCSTR lpszDocName) const;
    virtual HACCEL GetDefaultAccelerator();
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    // ---- Status line prompts
    // The window that shows prompts (the status bar of this frame or of the frame it lies in).
    virtual CWnd* GetMessageBar();
    // The prompt of a command: its string resource up to the first "\n" ("prompt\ntip").
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);

    // ---- Print preview: entering (bPreview) hides the menu, the bars and the client pane, whose
    // id becomes AFX_IDW_PANE_SAVE so that the preview view can take AFX_IDW_PANE_FIRST; leaving
    // puts back what pState recorded.
    virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);
    // Leaves the print preview the frame shows, as its Close button does (the menu, bars and pane
    // come back); FALSE when it shows none.
    BOOL ClosePrintPreview();

    // ---- Floating windows owned by the frame (palettes, mini frames)
    // Sends WM_FLOATSTATUS with dwFlags (FS_ codes) to every popup the top-level frame owns; for
    // activation changes the frame's own caption follows.
    void NotifyFloatingWindows(DWORD dwFlags);
    // When a shown window the top-level frame owns (itself or through a window it owns: sheets,
    // dialogs, floating bars, their boxes) lies below the frame, the frame's windows go back
    // above it in the order they had: as on Windows, an owned window is never behind its owner.
    // Runs when the frame's loop goes idle and when a modal loop of its windows does (a click on
    // the frame may have stacked it over them meanwhile).
    void KeepOwnedWindowsAbove();

    // ---- Overridables
    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The routing of commands: the active view (and its document), this frame, the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    // ---- Message handlers
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnEnterIdle(UINT nWhy, CWnd* pWho);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    BOOL OnNcActivate(BOOL bActive);
    void OnEnable(BOOL bEnable);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // wParam: a string id (prompt of a command) or lParam: a text; answers the previous id.
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);

    HMENU m_hMenuDefault;       // the menu the frame was loaded with
    HACCEL m_hAccelTable;       // replaceable accelerator table of the frame
    BOOL m_bAutoMenuEnable;     // items without a handler are disabled
    UINT m_nIDHelp;
    int m_nShowDelay;           // a show command waiting for idle time, -1 for none
    UINT m_nIdleFlags;          // layout and title work waiting for idle time
    CFrameWnd* m_pNextFrameWnd; // the list of all frames
    int m_nWindow;              // the number of this frame among its document's frames (0: only one)
    BOOL m_bStayActive;         // drawn active while one of its floating windows is the active one
    BOOL m_bPreviewMode = FALSE; // a print preview stands in for the client: no accelerators
    UINT m_nIDTracking;         // the prompt the menu loop is tracking
    UINT m_nIDLastMessage;      // the prompt shown last

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };

    // The first frame of the list of all frames (idle updates reach every one of them).
    static CFrameWnd* GetFirstFrame();

    // ---- Control bars and docking (afxbar.cpp)
    CPtrList m_listControlBars;                     // the bars whose dock site this frame is
    CRuntimeClass* m_pFloatingFrameClass = nullptr; // floating frames; set by EnableDocking
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID);
    // Creates the dock bars of the sides in dwDockStyle (CBRS_ALIGN_ bits).
    void EnableDocking(DWORD dwDockStyle);
    // Docks a bar to a side (0: the side of its alignment), at a screen rectangle or at the end.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    virtual void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    virtual void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats a bar in a mini frame whose top-left is point (screen).
    virtual void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0x2000L /* CBRS_ALIGN_TOP */);
    virtual void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The alignment of the first visible dock bar of dwDockStyle's sides that rect (screen) meets.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // The docking layout in the settings, under "%s-Summary" and "%s-Bar%d".
    virtual void LoadBarState(LPCSTR lpszProfileName);
    virtual void SaveBarState(LPCSTR lpszProfileName) const;
    virtual void GetDockState(CDockState& state) const;
    virtual void SetDockState(const CDockState& state);
    void DestroyDockBars();
    // Tool tip texts of commands: the part after "\n" of the command's string.
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    LPCSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);
    // Places the pane window (id AFX_IDW_PANE_FIRST) in the rectangle, through its CalcWindowRect.
    void PlacePaneWindow(HWND hWndPane, const CRect& rect);
    // hWndActive is the active window now: the frame stays drawn active when it is the frame or
    // one of its popups that answers WM_FLOATSTATUS FS_SYNCACTIVE; the popups are told.
    void SyncActiveState(HWND hWndActive);

    CString m_strTitle;
    CView* m_pViewActive;
    BOOL m_bInRecalcLayout;
    BOOL m_bNoPopMessage;       // a menu prompt is up: WM_POPMESSAGESTRING leaves it

    DECLARE_MESSAGE_MAP()
};

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    HWND m_hWndMDIClient;

    virtual BOOL CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu);
    // The active MDI child frame, or null.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDITile();
    void MDITile(int nType);
    void MDICascade();
    void MDICascade(int nType);
    void MDIIconArrange();
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);
    // The place (in the MDI client) the next MDI child is made at, whatever place and size its
    // frame asks for; taken by that child alone. Empty: the frame's own.
    void SetNextChildPlace(const CRect& rect) { m_rectNextChild = rect; }
    CRect TakeNextChildPlace();

    CFrameWnd* GetActiveFrame() override;
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The active child (its view and document) first, then this frame and the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    HACCEL GetDefaultAccelerator() override;

    void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    BOOL OnMDIWindowCmd(UINT nID);
    void OnWindowNew();

    DECLARE_MESSAGE_MAP()

private:
    // The menu bar that the last update set and drew (null when none or a maximized child's
    // buttons were in it), its window menu and its number of items then.
    HMENU m_hMenuShown = nullptr;
    HMENU m_hWindowMenuShown = nullptr;
    int m_nMenuShownItems = -1;
    CRect m_rectNextChild;
};

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    // Created through the MDI client of pParentWnd (the main MDI frame when null).
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int nCmdShow = -1) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL DestroyWindow() override;
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    int OnCreate(LPCREATESTRUCT lpcs);
    // A hidden child that the MDI client makes active stays inactive for the user: the frame
    // keeps its menu and caption until the child is shown.
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    // A click into the child (or one of its views) makes it the active child.
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    HMENU m_hMenuShared;    // the menu the MDI frame shows while this child is active

    DECLARE_MESSAGE_MAP()
};

// Keeps the thread's routing frame for the time of one command's routing.
class CPushRoutingFrame
{
public:
    explicit CPushRoutingFrame(CFrameWnd* pNewFrame);
    ~CPushRoutingFrame();

private:
    CFrameWnd* m_pOldRoutingFrame;
};

// Keeps the thread's routing view for the time of one command's routing.
class CPushRoutingView
{
public:
    explicit CPushRoutingView(CView* pNewView);
    ~CPushRoutingView();

private:
    CView* m_pOldRoutingView;
};

// The first "\n"-separated sub-string iSubString of lpszFullString; FALSE when there is none.
BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep = '\n');
