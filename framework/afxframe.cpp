// Frame windows: the single frame, the MDI frame and the MDI child frame.
#include "afxwin.h"
#include "afxbar.h"
#include <vector>

namespace {

CFrameWnd* g_pFirstFrame = nullptr;

// CW_USEDEFAULT in a rectangle's left means the system's default position and size.
void RectToCreateArgs(const RECT& rect, int& x, int& y, int& cx, int& cy)
{
    if (rect.left == (LONG)CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
        return;
    }
    x = rect.left;
    y = rect.top;
    cx = rect.right - rect.left;
    cy = rect.bottom - rect.top;
}

} // namespace

BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep)
{
    rString.Empty();
    if (lpszFullString == nullptr)
        return FALSE;
    while (iSubString--) {
        lpszFullString = strchr(lpszFullString, chSep);
        if (lpszFullString == nullptr)
            return FALSE;
        lpszFullString++;
    }
    LPCSTR lpchEnd = strchr(lpszFullString, chSep);
    int nLen = lpchEnd == nullptr ? lstrlenA(lpszFullString) : (int)(lpchEnd - lpszFullString);
    rString = CString(lpszFullString, nLen);
    return TRUE;
}

CPushRoutingFrame::CPushRoutingFrame(CFrameWnd* pNewFrame)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    m_pOldRoutingFrame = pState->m_pRoutingFrame;
    pState->m_pRoutingFrame = pNewFrame;
}

CPushRoutingFrame::~CPushRoutingFrame()
{
    AfxGetThreadState()->m_pRoutingFrame = m_pOldRoutingFrame;
}

CPushRoutingView::CPushRoutingView(CView* pNewView)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    m_pOldRoutingView = pState->m_pRoutingView;
    pState->m_pRoutingView = pNewView;
}

CPushRoutingView::~CPushRoutingView()
{
    AfxGetThreadState()->m_pRoutingView = m_pOldRoutingView;
}

// ---- CFrameWnd ------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_ENTERIDLE()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_NCACTIVATE()
    ON_WM_ENABLE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_hMenuDefault(nullptr), m_hAccelTable(nullptr), m_bAutoMenuEnable(TRUE), m_nIDHelp(0), m_nShowDelay(-1),
      m_nIdleFlags(0), m_pNextFrameWnd(nullptr), m_nWindow(-1), m_bStayActive(FALSE), m_nIDTracking(0),
      m_nIDLastMessage(0), m_pViewActive(nullptr), m_bInRecalcLayout(FALSE), m_bNoPopMessage(FALSE)
{
    m_pNextFrameWnd = g_pFirstFrame;
    g_pFirstFrame = this;
}

CFrameWnd::~CFrameWnd()
{
    // Bars that outlive the frame forget it.
    while (!m_listControlBars.IsEmpty())
        static_cast<CControlBar*>(m_listControlBars.RemoveHead())->m_pDockSite = nullptr;
    for (CFrameWnd** pp = &g_pFirstFrame; *pp != nullptr; pp = &(*pp)->m_pNextFrameWnd) {
        if (*pp == this) {
            *pp = m_pNextFrameWnd;
            break;
        }
    }
}

CFrameWnd* CFrameWnd::GetFirstFrame()
{
    return g_pFirstFrame;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
        cs.lpszClass = AFX_WNDFRAMEORVIEW;
    }
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

LPCSTR CFrameWnd::GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource)
{
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (hIcon == nullptr)
        return nullptr;
    CREATESTRUCTA cs;
    memset(&cs, 0, sizeof cs);
    cs.style = dwDefaultStyle;
    PreCreateWindow(cs);
    if (cs.lpszClass == nullptr)
        return nullptr;
    WNDCLASSA wndcls;
    if (::GetClassInfoA(AfxGetInstanceHandle(), cs.lpszClass, &wndcls) && wndcls.hIcon != hIcon)
        return AfxRegisterWndClass(wndcls.style, wndcls.hCursor, wndcls.hbrBackground, hIcon);
    return nullptr;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName != nullptr) {
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (hMenu == nullptr) {
            PostNcDestroy();
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    int x, y, cx, cy;
    RectToCreateArgs(rect, x, y, cx, cy);
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, AfxGetSafeHwnd(pParentWnd), hMenu,
                  (LPVOID)pContext)) {
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFullString;
    if (strFullString.LoadString(nIDResource))
        AfxExtractSubString(m_strTitle, strFullString, 0);

    AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
    LPCSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCEA(nIDResource), 0,
                pContext))
        return FALSE;   // the frame deleted itself

    m_hMenuDefault = ::GetMenu(m_hWnd);
    LoadAccelTable(MAKEINTRESOURCEA(nIDResource));
    if (pContext == nullptr)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName)
{
    if (m_hAccelTable != nullptr)
        return FALSE;   // only once
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), lpszResourceName);
    return m_hAccelTable != nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    return OnCreateHelper(lpcs, static_cast<CCreateContext*>(lpcs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr) {
        if (CreateView(pContext, AFX_IDW_PANE_FIRST) == nullptr)
            return FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = dynamic_cast<CWnd*>(pObject);
    if (pView == nullptr) {
        delete pObject;
        return nullptr;
    }
    // The view deletes itself when its window goes, also when creation fails.
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    return pView;
}

void CFrameWnd::OnDestroy()
{
    DestroyDockBars();
    // Shared menus belong to their templates: give the window its own menu back before it goes.
    if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::OnClose()
{
    CDocument* pDocument = GetActiveDocument();
    if (pDocument != nullptr && !pDocument->CanCloseFrame(this))
        return;

    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        // The main window: every document may ask to be saved first.
        if (pDocument == nullptr && !pApp->SaveAllModified())
            return;
        pApp->HideApplication();
        pApp->CloseAllDocuments(FALSE);
        if (pApp->m_pMainWnd == nullptr) {
            // Closing the documents destroyed the main window already.
            AfxPostQuitMessage(0);
            return;
        }
    }

    // The last frame of a document closes the document instead.
    if (pDocument != nullptr && pDocument->m_bAutoDelete) {
        BOOL bOtherFrame = FALSE;
        POSITION pos = pDocument->GetFirstViewPosition();
        while (pos != nullptr) {
            CView* pView = pDocument->GetNextView(pos);
            if (pView->GetParentFrame() != this) {
                bOtherFrame = TRUE;
                break;
            }
        }
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();
            return;
        }
        pDocument->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC)
{
    if (m_pViewActive != nullptr)
        return TRUE;    // the view paints everything
    return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pMenu == nullptr)
        return;
    // A popup of the menu bar knows its parent menu.
    CMenu* pParentMenu = nullptr;
    CWnd* pTop = GetTopLevelParent();
    HMENU hBar = pTop != nullptr ? ::GetMenu(pTop->m_hWnd) : nullptr;
    if (hBar != nullptr) {
        int nItems = ::GetMenuItemCount(hBar);
        for (int i = 0; i < nItems; i++) {
            if (::GetSubMenu(hBar, i) == pMenu->m_hMenu) {
                pParentMenu = CMenu::FromHandle(hBar);
                break;
            }
        }
    }
    AfxUpdateMenuCmdUI(this, pMenu, m_bAutoMenuEnable, pParentMenu);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    KeepOwnedWindowsAbove();
    UINT nFlags = m_nIdleFlags;
    m_nIdleFlags = 0;
    if (nFlags & idleMenu)
        OnUpdateFrameMenu(nullptr);
    if (nFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    if (nFlags & idleLayout)
        RecalcLayout((nFlags & idleNotify) != 0);
    return 0;
}

CWnd* CFrameWnd::GetMessageBar()
{
    if (m_hWnd == nullptr)
        return nullptr;
    if (CWnd* pBar = GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE))
        return pBar;
    // A child frame shows its prompts in the bar of the frame it lies in.
    if (GetStyle() & WS_CHILD) {
        if (CFrameWnd* pParentFrame = GetParentFrame())
            return pParentFrame->GetMessageBar();
    }
    return nullptr;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    CString strFull;
    if (nID == 0 || !strFull.LoadString(nID)) {
        rMessage.Empty();
        return;
    }
    AfxExtractSubString(rMessage, strFull, 0);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    m_bNoPopMessage = FALSE;
    if (CWnd* pMessageBar = GetMessageBar()) {
        CString strMessage;
        LPCSTR lpsz = "";
        if (lParam != 0)
            lpsz = (LPCSTR)lParam;
        else if (wParam != 0) {
            GetMessageString((UINT)wParam, strMessage);
            lpsz = strMessage;
        }
        pMessageBar->SetWindowText(lpsz);
        // The frame that owns the bar knows what it shows.
        CFrameWnd* pBarFrame = pMessageBar->GetParentFrame();
        if (pBarFrame != nullptr && pBarFrame != this) {
            pBarFrame->m_nIDLastMessage = (UINT)wParam;
            pBarFrame->m_nIDTracking = (UINT)wParam;
        }
    }
    m_nIDLastMessage = (UINT)wParam;
    m_nIDTracking = (UINT)wParam;
    return (LRESULT)nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    // A menu prompt stays until the menu closes.
    if (m_bNoPopMessage)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && hSysMenu == nullptr) {
        // The menu closed: back to the idle prompt at once.
        m_bNoPopMessage = FALSE;
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        if (CWnd* pBar = GetMessageBar())
            pBar->UpdateWindow();
        return;
    }
    if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)) || (nItemID >= 0xF000 && nItemID < 0xF1F0))
        m_nIDTracking = 0;  // popups, separators and system commands have no prompt
    else if (nItemID >= AFX_IDM_FIRST_MDICHILD)
        m_nIDTracking = AFX_IDS_MDICHILD;
    else
        m_nIDTracking = nItemID;
    m_bNoPopMessage = TRUE;
    // The prompt shows when the menu loop goes idle (WM_ENTERIDLE).
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    CWnd::OnEnterIdle(nWhy, pWho);
    // A modal sheet or dialog of the frame waits for its user: none of the frame's windows may
    // lie hidden behind it then.
    KeepOwnedWindowsAbove();
    if (nWhy == MSGF_MENU && m_nIDTracking != m_nIDLastMessage) {
        SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
        m_bNoPopMessage = TRUE;
    }
}

// ---- Activation -----------------------------------------------------------------------------

namespace {

struct FloatNotify
{
    HWND hWndFrame;
    DWORD dwFlags;
};

BOOL IsOwnedBy(HWND hWnd, HWND hWndOwner)
{
    for (HWND h = ::GetWindow(hWnd, GW_OWNER); h != nullptr; h = ::GetWindow(h, GW_OWNER)) {
        if (h == hWndOwner)
            return TRUE;
    }
    return FALSE;
}

// The window a top-level window belongs to: itself, or the first window of its chain of owners.
HWND RootOwner(HWND hWnd)
{
    while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) && ::GetParent(hWnd) != nullptr)
        hWnd = ::GetParent(hWnd);
    while (hWnd != nullptr && ::GetWindow(hWnd, GW_OWNER) != nullptr)
        hWnd = ::GetWindow(hWnd, GW_OWNER);
    return hWnd;
}

BOOL CALLBACK NotifyOwnedPopup(HWND hWnd, LPARAM lParam)
{
    auto* pNotify = reinterpret_cast<FloatNotify*>(lParam);
    if (hWnd != pNotify->hWndFrame && IsOwnedBy(hWnd, pNotify->hWndFrame))
        ::SendMessageA(hWnd, WM_FLOATSTATUS, pNotify->dwFlags, 0);
    return TRUE;
}

} // namespace

void CFrameWnd::KeepOwnedWindowsAbove()
{
    if (m_hWnd == nullptr || (GetStyle() & WS_CHILD))
        return;
    // The frame's shown windows from the top down (those that stay above every window anyway
    // left out), and which of them lie below it.
    std::vector<HWND> owned, below;
    BOOL bFront = TRUE, bPassed = FALSE;
    for (HWND h = ::GetWindow(m_hWnd, GW_HWNDFIRST); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h == m_hWnd) {
            bPassed = TRUE;
            continue;
        }
        const BOOL bShown = ::IsWindowVisible(h) && !(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
        if (bShown && IsOwnedBy(h, m_hWnd)) {
            owned.push_back(h);
            if (bPassed)
                below.push_back(h);
        }
        else if (bShown && !bPassed) {
            bFront = FALSE;     // another program's window lies over the frame
        }
    }
    if (below.empty())
        return;
    if (bFront) {
        // The frame's program is in front: its windows go to the top one by one, the lowest
        // first, so that they keep their order among themselves; a raise to the top is also
        // what the display's own stacking follows (under Wine a place after another window is
        // not passed on to it, and a click there would reach the frame).
        for (auto it = owned.rbegin(); it != owned.rend(); ++it)
            ::SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    // Behind another program's window: those below the frame go right above it, each under the
    // one placed before it, and no other program's window is passed over.
    for (HWND h : below) {
        HWND hAbove = ::GetWindow(m_hWnd, GW_HWNDPREV);
        ::SetWindowPos(h, hAbove != nullptr ? hAbove : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void CFrameWnd::SyncActiveState(HWND hWndActive)
{
    // The frame stays drawn active while it or one of its palettes is the active window.
    BOOL bStayActive = hWndActive != nullptr &&
                       (hWndActive == m_hWnd || (IsOwnedBy(hWndActive, m_hWnd) &&
                                                 ::SendMessageA(hWndActive, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0));
    m_bStayActive = bStayActive;
    NotifyFloatingWindows(bStayActive ? FS_ACTIVATE : FS_DEACTIVATE);
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags)
{
    if (m_hWnd == nullptr)
        return;
    if (GetStyle() & WS_CHILD) {
        if (CFrameWnd* pTop = GetTopLevelFrame(); pTop != nullptr && pTop != this)
            pTop->NotifyFloatingWindows(dwFlags);
        return;
    }
    // The frame's own caption follows (its OnNcActivate keeps it on while it stays active).
    if (dwFlags & (FS_ACTIVATE | FS_DEACTIVATE))
        SendMessage(WM_NCACTIVATE, (dwFlags & FS_ACTIVATE) && IsWindowEnabled());
    FloatNotify notify = {m_hWnd, dwFlags};
    ::EnumThreadWindows(::GetCurrentThreadId(), NotifyOwnedPopup, (LPARAM)&notify);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (!(GetStyle() & WS_CHILD)) {
        // The frame the activation belongs to (this one, or the owner of this floating frame)
        // learns which window is active now: losing the activation to one of its own palettes
        // leaves it drawn active.
        HWND hWndActive = nState != WA_INACTIVE ? m_hWnd : AfxGetSafeHwnd(pWndOther);
        CFrameWnd* pRoot = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(RootOwner(m_hWnd)));
        if (pRoot != nullptr)
            pRoot->SyncActiveState(hWndActive);
    }
    CView* pActiveView = GetActiveView();
    if (pActiveView == nullptr) {
        CFrameWnd* pActiveFrame = GetActiveFrame();
        if (pActiveFrame != nullptr && pActiveFrame != this)
            pActiveView = pActiveFrame->GetActiveView();
    }
    if (pActiveView != nullptr) {
        if (nState != WA_INACTIVE && !bMinimized)
            pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
        pActiveView->OnActivateFrame(nState, this);
    }
}

void CFrameWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CWnd::OnActivateApp(bActive, dwThreadID);
    if (!(GetStyle() & WS_CHILD) && RootOwner(m_hWnd) == m_hWnd)
        SyncActiveState(bActive ? ::GetActiveWindow() : nullptr);
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive)
{
    if (m_bStayActive)
        bActive = TRUE;
    if (!IsWindowEnabled())
        bActive = FALSE;
    return (BOOL)DefWindowProc(WM_NCACTIVATE, (WPARAM)bActive, AfxGetThreadState()->m_lastSentMsg.lParam);
}

void CFrameWnd::OnEnable(BOOL bEnable)
{
    CWnd::OnEnable(bEnable);
    // A modal dialog disables the frame: its palettes follow.
    if (!(GetStyle() & WS_CHILD))
        NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::PlacePaneWindow(HWND hWndPane, const CRect& rect)
{
    // A pane with an object of its own may want another rectangle (a subclassed MDI client
    // with insets, for one).
    CRect rectPane = rect;
    if (CWnd* pPane = CWnd::FromHandlePermanent(hWndPane))
        pPane->CalcWindowRect(&rectPane, CWnd::adjustBorder);
    ::SetWindowPos(hWndPane, nullptr, rectPane.left, rectPane.top, rectPane.Width(), rectPane.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || m_hWnd == nullptr)
        return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    // The control bars take their sides; the pane (or MDI client) gets the rest.
    if (GetStyle() & FWS_SNAPTOBARS) {
        // The frame takes the size of its bars.
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault, nullptr, &rect, TRUE);
        CalcWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    }
    else
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = nullptr;
    if (pViewOld != nullptr)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    // The old view may have chosen another active view meanwhile: that choice stands.
    if (m_pViewActive != nullptr)
        return;
    m_pViewActive = pViewNew;
    if (pViewNew != nullptr && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView != nullptr ? pView->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
        nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE)
        BringWindowToTop();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pView = nullptr;
    if (GetActiveView() == nullptr) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        pView = dynamic_cast<CView*>(pWnd);
        if (pView != nullptr)
            SetActiveView(pView, FALSE);
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView != nullptr)
            pView->OnActivateFrame(WA_INACTIVE, this);
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == nullptr) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView != nullptr)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc != nullptr)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    // Frames without FWS_ADDTOTITLE keep the caption their owner gives them.
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    CDocument* pDocument = GetActiveDocument();
    if (bAddToTitle && pDocument != nullptr)
        UpdateFrameTitleForDocument(pDocument->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

CString CFrameWnd::GetNumberedTitle(LPCSTR lpszDocName) const
{
    CString text = lpszDocName != nullptr ? lpszDocName : "";
    if (!text.IsEmpty() && m_nWindow > 0) {
        CString strNumber;
        strNumber.Format(":%d", m_nWindow);
        text += strNumber;
    }
    return text;
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName)
{
    CString strDoc = GetNumberedTitle(lpszDocName);
    CString text;
    if (GetStyle() & FWS_PREFIXTITLE) {
        if (!strDoc.IsEmpty()) {
            text = strDoc;
            text += " - ";
        }
        text += m_strTitle;
    }
    else {
        text = m_strTitle;
        if (!strDoc.IsEmpty()) {
            text += " - ";
            text += strDoc;
        }
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != text)
        SetWindowText(text);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (hMenuAlt == nullptr)
        hMenuAlt = m_hMenuDefault;
    ::SetMenu(m_hWnd, hMenuAlt);
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
    return m_hAccelTable;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // While a print preview is shown, keys are the preview's: the frame's commands would act on
    // a document the user cannot see.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && !m_bPreviewMode) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel != nullptr && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // When the MDI frame routes through its active child, it asks the application itself after
    // its own map: the order is view, document, child frame, main frame, application.
    CFrameWnd* pOuter = AfxGetThreadState()->m_pRoutingFrame;
    BOOL bRoutedByParent = pOuter != nullptr && pOuter != this && pOuter->m_hWnd != nullptr && m_hWnd != nullptr &&
                           ::IsChild(pOuter->m_hWnd, m_hWnd);

    CPushRoutingFrame push(this);
    CView* pView = GetActiveView();
    if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (!bRoutedByParent) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return FALSE;
}

// ---- CMDIFrameWnd ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
    ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr) {}

BOOL CMDIFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        AfxDeferRegisterClass(AFX_WNDMDIFRAME_REG);
        cs.lpszClass = AFX_WNDMDIFRAME;
    }
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    // The frame's own menu is the default when no child is active.
    m_hMenuDefault = ::GetMenu(m_hWnd);
    return TRUE;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
    if (hMenuBar == nullptr)
        return nullptr;
    int nItems = ::GetMenuItemCount(hMenuBar);
    for (int i = nItems - 1; i >= 0; i--) {
        HMENU hMenuPop = ::GetSubMenu(hMenuBar, i);
        if (hMenuPop == nullptr)
            continue;
        int nPopItems = ::GetMenuItemCount(hMenuPop);
        for (int j = 0; j < nPopItems; j++) {
            UINT nID = ::GetMenuItemID(hMenuPop, j);
            if (nID >= AFX_IDM_WINDOW_FIRST && nID <= AFX_IDM_WINDOW_LAST)
                return hMenuPop;
        }
    }
    return nullptr;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    CMenu* pWindowMenu = CMenu::FromHandle(GetWindowMenuPopup(::GetMenu(m_hWnd)));
    return CreateClient(lpcs, pWindowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT ccs;
    ccs.hWindowMenu = AfxGetSafeHmenu(pWindowMenu);
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    DWORD dwStyle = WS_VISIBLE | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES;
    if (lpcs->style & (WS_HSCROLL | WS_VSCROLL)) {
        dwStyle |= lpcs->style & (WS_HSCROLL | WS_VSCROLL);
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_NOREDRAW | SWP_FRAMECHANGED);
    }
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                                        (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, AfxGetInstanceHandle(), (LPVOID)&ccs);
    if (m_hWndMDIClient == nullptr)
        return FALSE;
    ::BringWindowToTop(m_hWndMDIClient);
    return TRUE;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, nMsg, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    if (m_hWndMDIClient == nullptr) {
        if (pbMaximized)
            *pbMaximized = FALSE;
        return nullptr;
    }
    HWND hWnd = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)pbMaximized);
    CMDIChildWnd* pWnd = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(hWnd));
    // A hidden child is not active for the user.
    if (pWnd != nullptr && !(pWnd->GetStyle() & WS_VISIBLE))
        pWnd = nullptr;
    return pWnd;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pActiveChild = MDIGetActive();
    if (pActiveChild == nullptr)
        return this;
    return pActiveChild;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)AfxGetSafeHwnd(pWndActivate), 0);
}
void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)AfxGetSafeHwnd(pWnd), 0);
}
void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)AfxGetSafeHwnd(pWnd), 0);
}
void CMDIFrameWnd::MDITile() { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, 0, 0); }
void CMDIFrameWnd::MDITile(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, (WPARAM)nType, 0); }
void CMDIFrameWnd::MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDICascade(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, (WPARAM)nType, 0); }
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    m_hMenuShown = nullptr;
    return CMenu::FromHandle((HMENU)::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                   (WPARAM)AfxGetSafeHmenu(pFrameMenu),
                                                   (LPARAM)AfxGetSafeHmenu(pWindowMenu)));
}

CRect CMDIFrameWnd::TakeNextChildPlace()
{
    CRect rect = m_rectNextChild;
    m_rectNextChild.SetRectEmpty();
    return rect;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CMDIChildWnd* pActiveChild = MDIGetActive();
    if (pActiveChild != nullptr) {
        CPushRoutingFrame push(this);
        if (pActiveChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CFrameWnd::OnCommand(wParam, lParam))
        return TRUE;
    // Commands of the window list and the children's system menus belong to the MDI machinery.
    if (lParam == 0 && (LOWORD(wParam) & 0xF000) == 0xF000) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // While a print preview is shown, keys are the preview's (the children are hidden).
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && !m_bPreviewMode) {
        CMDIChildWnd* pActiveChild = MDIGetActive();
        if (pActiveChild != nullptr && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
            return TRUE;
        // The active child's table first; what it does not know the frame's own table may.
        if (pActiveChild != nullptr) {
            HACCEL hChildAccel = pActiveChild->GetDefaultAccelerator();
            if (hChildAccel != nullptr && hChildAccel != m_hAccelTable &&
                ::TranslateAcceleratorA(m_hWnd, hChildAccel, pMsg))
                return TRUE;
        }
        return m_hAccelTable != nullptr && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    }
    return FALSE;
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator()
{
    return m_hAccelTable;
}

void CMDIFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || m_hWnd == nullptr)
        return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    // The control bars take their sides; the MDI client (its own CalcWindowRect) gets the rest.
    // A print preview view takes the client's place while the MDI client steps aside.
    UINT nIDClient = m_hWndMDIClient != nullptr && ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST) == nullptr
                         ? (UINT)::GetDlgCtrlID(m_hWndMDIClient)
                         : AFX_IDW_PANE_FIRST;
    RepositionBars(0, 0xFFFF, nIDClient);
    m_bInRecalcLayout = FALSE;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
        return;
    CMDIChildWnd* pActiveChild = MDIGetActive();
    CDocument* pDocument = pActiveChild != nullptr ? pActiveChild->GetActiveDocument() : nullptr;
    if (bAddToTitle && pActiveChild != nullptr && !(pActiveChild->GetStyle() & WS_MAXIMIZE) && pDocument != nullptr)
        UpdateFrameTitleForDocument(pDocument->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    CMDIChildWnd* pActiveChild = MDIGetActive();
    if (hMenuAlt == nullptr)
        hMenuAlt = (pActiveChild != nullptr && pActiveChild->m_hMenuShared != nullptr) ? pActiveChild->m_hMenuShared
                                                                                      : m_hMenuDefault;
    if (hMenuAlt != nullptr && m_hWndMDIClient != nullptr) {
        HMENU hWindowMenu = GetWindowMenuPopup(hMenuAlt);
        // Activating another child of the same template asks for the bar that is shown already:
        // setting and drawing it again would only repaint the same bar, a round of the frame's
        // whole non-client area through the window server. A bar holding a maximized child's
        // buttons, or one whose items changed, goes the whole way.
        BOOL bMaximized = FALSE;
        MDIGetActive(&bMaximized);
        if (!bMaximized && hMenuAlt == m_hMenuShown && hWindowMenu == m_hWindowMenuShown &&
            ::GetMenu(m_hWnd) == hMenuAlt && ::GetMenuItemCount(hMenuAlt) == m_nMenuShownItems)
            return;
        ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenuAlt, (LPARAM)hWindowMenu);
        DrawMenuBar();
        MDIGetActive(&bMaximized);
        m_hMenuShown = bMaximized ? nullptr : hMenuAlt;
        m_hWindowMenuShown = hWindowMenu;
        m_nMenuShownItems = ::GetMenuItemCount(hMenuAlt);
    }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(MDIGetActive() != nullptr);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    UINT msg;
    WPARAM wParam = 0;
    switch (nID) {
    case ID_WINDOW_ARRANGE: msg = WM_MDIICONARRANGE; break;
    case ID_WINDOW_CASCADE: msg = WM_MDICASCADE; break;
    case ID_WINDOW_TILE_HORZ: msg = WM_MDITILE; wParam = MDITILE_HORIZONTAL; break;
    case ID_WINDOW_TILE_VERT: msg = WM_MDITILE; wParam = MDITILE_VERTICAL; break;
    default: return FALSE;
    }
    ::SendMessageA(m_hWndMDIClient, msg, wParam, 0);
    return TRUE;
}

void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd* pActiveChild = MDIGetActive();
    CDocument* pDocument = pActiveChild != nullptr ? pActiveChild->GetActiveDocument() : nullptr;
    if (pDocument == nullptr || pDocument->GetDocTemplate() == nullptr)
        return;
    CDocTemplate* pTemplate = pDocument->GetDocTemplate();
    CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDocument, pActiveChild);
    if (pFrame == nullptr) {
        AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
        return;
    }
    pTemplate->InitialUpdateFrame(pFrame, pDocument);
}

// ---- CMDIChildWnd ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(nullptr) {}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (pParentWnd == nullptr)
        pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    // The MDI client has the size of the frame's last layout, unless one is owed (a bar changed
    // since): then that layout is done first. Done again unowed, it would only place the bars
    // where they are and paint the frame's dock bars again.
    if (pParentWnd->m_nIdleFlags & idleLayout)
        pParentWnd->RecalcLayout();

    CREATESTRUCTA cs;
    cs.dwExStyle = 0;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    RectToCreateArgs(rect, cs.x, cs.y, cs.cx, cs.cy);
    cs.hwndParent = pParentWnd->m_hWnd;
    cs.hMenu = nullptr;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = (LPVOID)pContext;
    CRect place = pParentWnd->TakeNextChildPlace();
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    if (!place.IsRectEmpty())
        RectToCreateArgs(place, cs.x, cs.y, cs.cx, cs.cy);
    m_strTitle = lpszWindowName ? lpszWindowName : "";

    MDICREATESTRUCTA mcs;
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = (LPARAM)cs.lpCreateParams;

    HWND hWndClient = pParentWnd->m_hWndMDIClient;
    HWND hWndWasActive = (HWND)::SendMessageA(hWndClient, WM_MDIGETACTIVE, 0, 0);
    *GetSuperWndProcAddr() = nullptr;
    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::SendMessageA(hWndClient, WM_MDICREATE, 0, (LPARAM)&mcs);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    if (hWnd == nullptr)
        return FALSE;

    // Some MDI clients make a new child active even while it is hidden; the child that was
    // active stays so until this one is shown.
    if (!(cs.style & WS_VISIBLE) && hWndWasActive != nullptr && ::IsWindow(hWndWasActive) &&
        (HWND)::SendMessageA(hWndClient, WM_MDIGETACTIVE, 0, 0) == hWnd)
        ::SendMessageA(hWndClient, WM_MDIACTIVATE, (WPARAM)hWndWasActive, 0);

    // Children are created hidden; showing one makes it the active one.
    if (cs.style & WS_VISIBLE) {
        ::BringWindowToTop(hWnd);
        if (cs.style & WS_MINIMIZE)
            ShowWindow(SW_SHOWMINIMIZED);
        else if (cs.style & WS_MAXIMIZE)
            ShowWindow(SW_SHOWMAXIMIZED);
        else
            ShowWindow(SW_SHOWNORMAL);
        pParentWnd->MDIActivate(this);
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    dwDefaultStyle |= WS_CHILD;
    if (pContext != nullptr) {
        if (CMultiDocTemplate* pTemplate = dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate)) {
            m_hMenuShared = pTemplate->m_hMenuShared;
            m_hAccelTable = pTemplate->m_hAccelTable;
        }
    }
    CString strFullString, strTitle;
    if (strFullString.LoadString(nIDResource))
        AfxExtractSubString(strTitle, strFullString, CDocTemplate::docName);
    AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
    LPCSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
    return Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, dynamic_cast<CMDIFrameWnd*>(pParentWnd), pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    CCreateContext* pContext = nullptr;
    if (lpcs->lpCreateParams != nullptr)
        pContext = reinterpret_cast<CCreateContext*>(static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams)->lParam);
    return OnCreateHelper(lpcs, pContext);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, nMsg, wParam, lParam);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND hWndMDIClient = ::GetParent(m_hWnd);
    return dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(hWndMDIClient)));
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
}
void CMDIChildWnd::MDIActivate() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0); }

BOOL CMDIChildWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    CMDIFrameWnd* pFrameWnd = GetMDIFrame();
    HWND hWndFrame = pFrameWnd != nullptr ? pFrameWnd->m_hWnd : nullptr;
    // MDI children go through their client; the object deletes itself on the way.
    MDIDestroy();
    if (hWndFrame != nullptr && ::IsWindow(hWndFrame)) {
        pFrameWnd->OnUpdateFrameTitle(TRUE);
        pFrameWnd->OnUpdateFrameMenu(nullptr);
    }
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    CMDIFrameWnd* pFrameWnd = GetMDIFrame();
    // A hidden child the client holds as active already gets no activation message when it is
    // shown: it is activated here instead.
    BOOL bPseudoActive = FALSE;
    if (pFrameWnd != nullptr && !IsWindowVisible())
        bPseudoActive = (HWND)::SendMessageA(pFrameWnd->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0) == m_hWnd;
    if (nCmdShow == -1 && pFrameWnd != nullptr) {
        BOOL bMaximized = FALSE;
        pFrameWnd->MDIGetActive(&bMaximized);
        DWORD dwStyle = GetStyle();
        if (bMaximized || (dwStyle & WS_MAXIMIZE))
            nCmdShow = SW_SHOWMAXIMIZED;
        else if (dwStyle & WS_MINIMIZE)
            nCmdShow = SW_SHOWMINIMIZED;
    }
    CFrameWnd::ActivateFrame(nCmdShow);
    if (pFrameWnd != nullptr) {
        if (GetStyle() & WS_VISIBLE) {
            pFrameWnd->MDIActivate(this);
            if (bPseudoActive)
                SendMessage(WM_MDIACTIVATE, 0, (LPARAM)m_hWnd);
        }
        ::SendMessageA(pFrameWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    // A child's accelerators act in the context of its MDI frame (the child has no menu).
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        CMDIFrameWnd* pFrameWnd = GetMDIFrame();
        return hAccel != nullptr && pFrameWnd != nullptr && ::TranslateAcceleratorA(pFrameWnd->m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    // The MDI frame's caption first.
    CMDIFrameWnd* pFrameWnd = GetMDIFrame();
    if (pFrameWnd != nullptr)
        pFrameWnd->OnUpdateFrameTitle(bAddToTitle);
    // A child without FWS_ADDTOTITLE keeps the caption its owner gives it.
    if ((GetStyle() & FWS_ADDTOTITLE) == 0 || !bAddToTitle)
        return;
    CDocument* pDocument = GetActiveDocument();
    CString text = GetNumberedTitle(pDocument != nullptr ? (LPCSTR)pDocument->GetTitle() : (LPCSTR)m_strTitle);
    CString strOld;
    GetWindowText(strOld);
    if (strOld != text)
        SetWindowText(text);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
    Default();
    // A hidden child made active by the MDI client is not active for the user: the frame keeps
    // the menu and caption of what it showed before.
    if (bActivate && !IsWindowVisible())
        return;

    CView* pActiveView = GetActiveView();
    if (!bActivate && pActiveView != nullptr)
        pActiveView->OnActivateView(FALSE, pActiveView, pActiveView);

    CMDIFrameWnd* pFrameWnd = GetMDIFrame();
    // Deactivating in favour of another child leaves the caption and menu to that child.
    BOOL bLast = !bActivate && (pActivateWnd == nullptr || !pActivateWnd->IsWindowVisible());
    if (pFrameWnd != nullptr && (bActivate || bLast)) {
        OnUpdateFrameTitle(bActivate);
        // The shared menu of the active child's template, or the frame's own.
        pFrameWnd->OnUpdateFrameMenu(bActivate && m_hMenuShared ? m_hMenuShared : pFrameWnd->m_hMenuDefault);
    }
    if (bActivate && pActiveView != nullptr && pFrameWnd != nullptr && ::GetActiveWindow() == pFrameWnd->m_hWnd)
        pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
}

int CMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    CMDIFrameWnd* pFrameWnd = GetMDIFrame();
    if (pFrameWnd != nullptr && (HWND)::SendMessageA(pFrameWnd->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0) != m_hWnd)
        MDIActivate();
    return nResult;
}
