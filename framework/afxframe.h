// Frame windows: the single frame, the MDI frame and the MDI child frame.
#pragma once
#include "afxwnd.h"

class CView;
class CDocument;
class CMDIChildWnd;

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
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual void ActivateFrame(int nCmdShow = -1);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // ---- Layout, title, menus
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
    virtual HACCEL GetDefaultAccelerator();
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    // ---- Overridables
    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
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
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);

    HMENU m_hMenuDefault;       // the menu the frame was loaded with
    HACCEL m_hAccelTable;       // replaceable accelerator table of the frame
    BOOL m_bAutoMenuEnable;     // items without a handler are disabled
    UINT m_nIDHelp;
    int m_nShowDelay;           // a show command waiting for idle time, -1 for none
    UINT m_nIdleFlags;          // layout and title work waiting for idle time
    CFrameWnd* m_pNextFrameWnd; // the list of all frames

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };

    // The first frame of the list of all frames (idle updates reach every one of them).
    static CFrameWnd* GetFirstFrame();

protected:
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    LPCSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);

    CString m_strTitle;
    CView* m_pViewActive;
    BOOL m_bInRecalcLayout;

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
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);

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
