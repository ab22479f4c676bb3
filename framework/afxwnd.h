// Windows: the C++ object of a window, its creation, message dispatch and lifetime.
//
// A CWnd is attached to its HWND before the first message reaches any window procedure: the
// creation functions install a creation hook that attaches the object and subclasses the window
// to AfxWndProc. AfxWndProc never lets a C++ exception out (user32 cannot unwind through its
// own frames, and under Wine not at all): exceptions go to ProcessWndProcException.
#pragma once
#include "afxcmd.h"

// Macros of the system headers that would rename members.
#undef GetNextWindow
#undef SubclassWindow

class CDC;
class CFont;
class CRgn;
class CBitmap;
class CMenu;
class CScrollBar;
class CFrameWnd;
class CView;
class CDocument;
class CDocTemplate;
class CDataExchange;
class CException;

// What a frame passes down while it creates its views.
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// Per-thread state of the window layer. Only the user-interface thread creates windows.
struct AFX_THREAD_STATE
{
    MSG m_lastSentMsg = {};             // the message being handled (for Default)
    CWnd* m_pWndInit = nullptr;         // the object the creation hook attaches next
    HHOOK m_hHookOldCbtFilter = nullptr;
    HWND m_hLockoutNotifyWindow = nullptr;
    CFrameWnd* m_pRoutingFrame = nullptr;   // the frame routing the current command
    CView* m_pRoutingView = nullptr;        // the view routing the current command
    int m_nTempMapLock = 0;
    int m_nReportingException = 0;      // an exception report is on screen
};
AFX_THREAD_STATE* AfxGetThreadState();

// Window class names the framework registers itself.
extern const char AFX_WND[];                // CS_DBLCLKS, no background: plain child windows
extern const char AFX_WNDCONTROLBAR[];      // button-face background
extern const char AFX_WNDMDIFRAME[];        // MDI frames
extern const char AFX_WNDFRAMEORVIEW[];     // frames and views, window background
#define AFX_WND_REG             0x00001
#define AFX_WNDCONTROLBAR_REG   0x00002
#define AFX_WNDMDIFRAME_REG     0x00004
#define AFX_WNDFRAMEORVIEW_REG  0x00008
#define AFX_WNDCOMMCTLS_REG     0x00010
BOOL AfxDeferRegisterClass(LONG fToRegister);

// Registers (once) a class with AfxWndProc's creation hook in mind and returns its generated,
// cached name. The name stays valid for the life of the program.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                           HICON hIcon = nullptr);
// Registers a class unless a class of that name already exists in this module.
BOOL AfxRegisterClass(WNDCLASSA* lpWndClass);

// The framework's window procedure. Classes may register it as their procedure and windows may
// be subclassed to it; a window without an attached object gets the system default handling.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Calls pWnd->WindowProc for one message, catching every exception.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);
// The dialog procedure of framework dialogs (OnInitDialog); everything else goes through AfxWndProc.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The current window procedure of the application's windows (AfxWndProc).
WNDPROC AfxGetAfxWndProc();

// The creation hook: attaches pWnd to the next window created on this thread.
void AfxHookWindowCreate(CWnd* pWnd);
// Removes the hook; FALSE when no window was attached.
BOOL AfxUnhookWindowCreate();

// Handling of an exception caught in a window procedure or another Win32 callback: reported to
// the user once (nested failures while a report is on screen are not reported again). Returns the
// answer for the message: -1 for WM_CREATE; WM_PAINT validates the window.
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);
// The same for exceptions that are not framework exceptions (text describes them).
LRESULT AfxProcessForeignException(LPCSTR lpszWhat, const MSG* pMsg);

// Runs a callback body of a timer procedure, hook or other Win32 callback so that no exception
// leaves it; an exception is reported like one of a window procedure. FALSE when one was caught.
template <class F> BOOL AfxGuardCallback(F&& f) noexcept;

// The tool-tip filter every window's PreTranslateMessage runs once tool tips were enabled.
extern void (*afxFilterToolTipMessage)(MSG* pMsg, CWnd* pWnd);

// Temporary wrappers (FromHandle without an owning object) live until the temporary maps are
// freed at idle time; a lock keeps them alive across a section of code.
void AfxLockTempMaps();
BOOL AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);

// Window flags (CWnd::m_nFlags).
#define WF_TOOLTIPS         0x0001
#define WF_MODALLOOP        0x0008
#define WF_CONTINUEMODAL    0x0010

// Flags of RunModalLoop.
#define MLF_NOIDLEMSG       0x0001
#define MLF_NOKICKIDLE      0x0002
#define MLF_SHOWONIDLE      0x0004

// ModifyStyle's flags for SetWindowPos after the change.
#define AFX_SWP_AFTER_STYLE (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)

class COleDropTarget;

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;
    HWND m_hWndOwner;       // owner kept by the object (control bars), else null
    UINT m_nFlags;
    WNDPROC m_pfnSuper;     // the procedure the window had before AfxWndProc; null: DefWindowProc
    int m_nModalResult;
    // The drop target registered for the window, revoked when the window is destroyed.
    COleDropTarget* m_pDropTarget = nullptr;

    // Pseudo windows for SetWindowPos's insert-after argument.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    operator HWND() const { return GetSafeHwnd(); }
    HWND GetSafeHwnd() const;
    BOOL operator==(const CWnd& wnd) const { return m_hWnd == wnd.m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return m_hWnd != wnd.m_hWnd; }

    // ---- Handle maps
    // The attached object, or a temporary wrapper (freed at idle) for a foreign window.
    static CWnd* FromHandle(HWND hWnd);
    // The attached object, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // ---- Subclassing
    virtual void PreSubclassWindow();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // ---- Creation and destruction
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x,
                          int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL DestroyWindow();
    // Called after the last message (WM_NCDESTROY) once the object is detached: windows that
    // own themselves delete themselves here.
    virtual void PostNcDestroy();

    enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);

    // ---- Dispatch
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The system's handling of the message being handled now.
    LRESULT Default();
    virtual WNDPROC* GetSuperWndProcAddr();
    static const MSG* GetCurrentMessage();

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to PreTranslateMessage of its target and then of each parent up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // ---- Reflection of control notifications to the control
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);

    // ---- Overridables of other layers
    virtual BOOL IsFrameWnd() const { return FALSE; }
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // ---- Control bars and tool tips (afxbar.cpp, afxtip.cpp)
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
    // Lays out the child control bars with ids nIDFirst..nIDLast (WM_SIZEPARENT, one deferred
    // batch) and gives the rest to the child nIDLeftOver. reposQuery only answers the free
    // rectangle (or, without bStretch, the bars' total size) in lpRectParam; reposExtra keeps the
    // borders lpRectParam free around the left-over child.
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);
    // Tool tips of this window's OnToolHitTest tools, through the thread's tip control.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    static void CancelToolTips(BOOL bKeys = FALSE);
    void FilterToolTipMessage(MSG* pMsg);

    // ---- Modal loops owned by this window
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // ---- Relatives
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    static void SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                         BOOL bOnlyPerm);
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    CWnd* GetParentOwner() const;
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    // The window a modal box or dialog should be owned by: pParent's top-level window, else the
    // main window's. *pWndTop gets the window that was disabled-prone (null if none).
    static CWnd* GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr);

    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetTopWindow() const;
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
    CWnd* GetLastActivePopup() const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* ChildWindowFromPoint(POINT point) const;
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const;
    static CWnd* WindowFromPoint(POINT point);
    static CWnd* FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName);
    static CWnd* GetDesktopWindow();
    static CWnd* GetActiveWindow();
    CWnd* SetActiveWindow();
    static CWnd* GetForegroundWindow();
    BOOL SetForegroundWindow();
    static CWnd* GetFocus();
    CWnd* SetFocus();
    static CWnd* GetCapture();
    CWnd* SetCapture();

    // ---- Menus
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;
    BOOL HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite);

    // ---- Text, font, icon, ids
    void SetWindowText(LPCSTR lpszString);
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);

    // ---- Dialog items
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void SetDlgItemText(int nID, LPCSTR lpszString);
    int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    UINT IsDlgButtonChecked(int nIDButton) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;

    // ---- Styles
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // ---- Showing, moving, placement
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    void BringWindowToTop();
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void ShowOwnedPopups(BOOL bShow = TRUE);
    BOOL FlashWindow(BOOL bInvert);

    // ---- Coordinates
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;

    // ---- Painting and invalidation
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(LPPAINTSTRUCT lpPaint);
    CDC* GetDC();
    CDC* GetWindowDC();
    CDC* GetDCEx(CRgn* prgnClip, DWORD flags);
    int ReleaseDC(CDC* pDC);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void ValidateRgn(CRgn* pRgn);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    int GetUpdateRgn(CRgn* pRgn, BOOL bErase = FALSE);
    BOOL LockWindowUpdate();
    void UnlockWindowUpdate();
    void SetRedraw(BOOL bRedraw = TRUE);

    // ---- Scrolling (redirected to GetScrollBarCtrl's control when it has one)
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH);
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);
    int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                       LPRECT lpRectUpdate, UINT flags);

    // ---- Timers, messages
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // ---- Caret, clipboard, misc
    void CreateSolidCaret(int nWidth, int nHeight);
    void CreateGrayCaret(int nWidth, int nHeight);
    void CreateCaret(CBitmap* pBitmap);
    static CPoint GetCaretPos();
    static void SetCaretPos(POINT point);
    void HideCaret();
    void ShowCaret();
    BOOL OpenClipboard();
    void DragAcceptFiles(BOOL bAccept = TRUE);
    // A message box owned by this window, through the framework's message-box path.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // ---- Message handlers (the defaults pass the message to Default)
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnSizing(UINT nSide, LPRECT lpRect);
    void OnMove(int x, int y);
    void OnPaint();
    void OnNcPaint();
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    LRESULT OnNcHitTest(CPoint point);
    BOOL OnNcActivate(BOOL bActive);
    void OnNcMouseMove(UINT nHitTest, CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonUp(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnNcRButtonDown(UINT nHitTest, CPoint point);
    void OnNcRButtonUp(UINT nHitTest, CPoint point);
    void OnNcRButtonDblClk(UINT nHitTest, CPoint point);
    void OnNcMButtonDown(UINT nHitTest, CPoint point);
    void OnNcMButtonUp(UINT nHitTest, CPoint point);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnEnable(BOOL bEnable);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnChildActivate();
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnCaptureChanged(CWnd* pWnd);
    void OnTimer(UINT_PTR nIDEvent);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    int OnCharToItem(UINT nChar, CWnd* pListBox, UINT nIndex);
    int OnVKeyToItem(UINT nKey, CWnd* pListBox, UINT nIndex);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnInitMenu(CMenu* pMenu);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnEnterIdle(UINT nWhy, CWnd* pWho);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    UINT OnGetDlgCode();
    void OnCancelMode();
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    void OnSysColorChange();
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnDropFiles(HDROP hDropInfo);
    void OnParentNotify(UINT message, LPARAM lParam);
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    BOOL OnHelpInfo(HELPINFO* lpHelpInfo);

protected:
    // The window was created by this object: the creation hook attached it.
    friend LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam);
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend class CWinThread;

    DECLARE_MESSAGE_MAP()

private:
    explicit CWnd(HWND hWndPseudo);     // the pseudo windows
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    void CleanupAfterNcDestroy();
};

// The window handle of a CWnd pointer that may be null (GetParentFrame(), AfxGetMainWnd(), an
// optional parent...): null then. Member functions, GetSafeHwnd included, are only ever called on
// an object; a pointer that may be null goes through this helper or an explicit test.
inline HWND AfxGetSafeHwnd(const CWnd* pWnd) { return pWnd != nullptr ? pWnd->m_hWnd : nullptr; }

// The owner's side of a modal run (dialogs, property sheets): the owner is disabled while the
// modal window runs, and however the run ends (an exception of any kind included) the owner is
// enabled again, activated when the modal window was the active one, and the modal window is
// destroyed.
class AfxModalOwnerGuard
{
public:
    AfxModalOwnerGuard(CWnd* pModal, HWND hWndOwner);
    ~AfxModalOwnerGuard();
    AfxModalOwnerGuard(const AfxModalOwnerGuard&) = delete;
    AfxModalOwnerGuard& operator=(const AfxModalOwnerGuard&) = delete;

private:
    CWnd* m_pModal;
    HWND m_hWndOwner;
    BOOL m_bEnableOwner;
};

// ---- Implementation of AfxGuardCallback -----------------------------------------------------
void AfxReportCallbackException(CException* e);
void AfxReportForeignCallbackException(LPCSTR lpszWhat);

#include <exception>

// An exception taken earlier (std::current_exception in a catch of any kind), told to the user
// later as a callback's would be, once the code that failed has given back what it held. Without
// bReport it is only freed. Nothing happens for an empty one.
void AfxReportCaughtException(const std::exception_ptr& failure, BOOL bReport = TRUE);

template <class F> BOOL AfxGuardCallback(F&& f) noexcept
{
    try {
        f();
        return TRUE;
    }
    catch (CException* e) {
        AfxReportCallbackException(e);
    }
    catch (const std::exception& e) {
        AfxReportForeignCallbackException(e.what());
    }
    catch (...) {
        AfxReportForeignCallbackException(nullptr);
    }
    return FALSE;
}
