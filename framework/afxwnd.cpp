// Windows: handle maps, the creation hook, the framework's window procedure and dispatch.
#include "afxwin.h"
#include "afxole.h"
#include <unordered_map>
#include <set>
#include <string>
#include <vector>

// ---- Thread state and handle maps -----------------------------------------------------------

AFX_THREAD_STATE* AfxGetThreadState()
{
    // Never destroyed: windows may outlive static destruction order.
    static AFX_THREAD_STATE* s_pState = new AFX_THREAD_STATE;
    return s_pState;
}

#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

namespace {

struct WndMaps
{
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporary;
};

WndMaps& Maps()
{
    static WndMaps* s_pMaps = new WndMaps;
    return *s_pMaps;
}

} // namespace

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    auto& perm = Maps().permanent;
    auto it = perm.find(hWnd);
    return it == perm.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    auto& temp = Maps().temporary;
    auto it = temp.find(hWnd);
    if (it != temp.end())
        return it->second;
    CWnd* pWnd = new CWnd;
    pWnd->m_hWnd = hWnd;
    temp[hWnd] = pWnd;
    return pWnd;
}

void CWnd::DeleteTempMap()
{
    std::unordered_map<HWND, CWnd*> temp;
    temp.swap(Maps().temporary);
    for (auto& entry : temp) {
        entry.second->m_hWnd = nullptr;     // a wrapper never destroys its window
        delete entry.second;
    }
}

void AfxLockTempMaps()
{
    ++AfxGetThreadState()->m_nTempMapLock;
}

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_nTempMapLock > 0)
        --pState->m_nTempMapLock;
    if (pState->m_nTempMapLock == 0 && bDeleteTemps) {
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
        CImageList::DeleteTempMap();
    }
    return pState->m_nTempMapLock != 0;
}

// ---- Window classes -------------------------------------------------------------------------

const char AFX_WND[] = "AfxWnd";
const char AFX_WNDCONTROLBAR[] = "AfxControlBar";
const char AFX_WNDMDIFRAME[] = "AfxMDIFrame";
const char AFX_WNDFRAMEORVIEW[] = "AfxFrameOrView";

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    WNDCLASSA wndcls;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls))
        return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // The names are kept for the life of the program: callers hold the returned pointer.
    static std::set<std::string>* s_pNames = new std::set<std::string>;
    char szName[96];
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == nullptr && hbrBackground == nullptr && hIcon == nullptr)
        wsprintfA(szName, "Afx:%p:%x", (void*)hInst, nClassStyle);
    else
        wsprintfA(szName, "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor, (void*)hbrBackground,
                  (void*)hIcon);
    const std::string& name = *s_pNames->insert(szName).first;

    WNDCLASSA wndcls;
    if (::GetClassInfoA(hInst, name.c_str(), &wndcls))
        return name.c_str();
    memset(&wndcls, 0, sizeof wndcls);
    wndcls.style = nClassStyle;
    wndcls.lpfnWndProc = ::DefWindowProcA;
    wndcls.hInstance = hInst;
    wndcls.hIcon = hIcon;
    wndcls.hCursor = hCursor;
    wndcls.hbrBackground = hbrBackground;
    wndcls.lpszClassName = name.c_str();
    if (!AfxRegisterClass(&wndcls))
        AfxThrowResourceException();
    return name.c_str();
}

BOOL AfxDeferRegisterClass(LONG fToRegister)
{
    static LONG s_fRegistered = 0;
    fToRegister &= ~s_fRegistered;
    if (fToRegister == 0)
        return TRUE;

    WNDCLASSA wndcls;
    memset(&wndcls, 0, sizeof wndcls);
    wndcls.lpfnWndProc = ::DefWindowProcA;
    wndcls.hInstance = AfxGetInstanceHandle();
    wndcls.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);

    LONG fRegistered = 0;
    if (fToRegister & AFX_WND_REG) {
        wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wndcls.lpszClassName = AFX_WND;
        if (AfxRegisterClass(&wndcls))
            fRegistered |= AFX_WND_REG;
    }
    if (fToRegister & AFX_WNDCONTROLBAR_REG) {
        wndcls.style = 0;
        wndcls.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wndcls.lpszClassName = AFX_WNDCONTROLBAR;
        if (AfxRegisterClass(&wndcls))
            fRegistered |= AFX_WNDCONTROLBAR_REG;
        wndcls.hbrBackground = nullptr;
    }
    if (fToRegister & AFX_WNDMDIFRAME_REG) {
        wndcls.style = CS_DBLCLKS;
        wndcls.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
        wndcls.lpszClassName = AFX_WNDMDIFRAME;
        if (AfxRegisterClass(&wndcls))
            fRegistered |= AFX_WNDMDIFRAME_REG;
        wndcls.hIcon = nullptr;
    }
    if (fToRegister & AFX_WNDFRAMEORVIEW_REG) {
        wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wndcls.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wndcls.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
        wndcls.lpszClassName = AFX_WNDFRAMEORVIEW;
        if (AfxRegisterClass(&wndcls))
            fRegistered |= AFX_WNDFRAMEORVIEW_REG;
    }
    if (fToRegister & AFX_WNDCOMMCTLS_REG) {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES};
        if (::InitCommonControlsEx(&init))
            fRegistered |= AFX_WNDCOMMCTLS_REG;
    }
    s_fRegistered |= fRegistered;
    return (fToRegister & ~fRegistered) == 0;
}

// ---- Exceptions in callbacks ----------------------------------------------------------------

namespace {

// Describes an exception that is not one of the framework's.
class CForeignException : public CException
{
public:
    explicit CForeignException(LPCSTR lpszWhat) : CException(TRUE), m_strWhat(lpszWhat ? lpszWhat : "") {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) override
    {
        if (pnHelpContext)
            *pnHelpContext = 0;
        CString text;
        text.LoadString(AFX_IDP_INTERNAL_FAILURE);
        if (text.IsEmpty())
            text = "An unexpected error occurred.";
        if (!m_strWhat.IsEmpty())
            text += "\n\n" + m_strWhat;
        if (lpszError && nMaxError > 0)
            lstrcpynA(lpszError, text, (int)nMaxError);
        return TRUE;
    }
    CString m_strWhat;
};

const MSG* CurrentOrEmptyMsg()
{
    return &AfxGetThreadState()->m_lastSentMsg;
}

} // namespace

LRESULT AfxProcessForeignException(LPCSTR lpszWhat, const MSG* pMsg)
{
    CForeignException e(lpszWhat);
    e.m_bAutoDelete = FALSE;
    return AfxProcessWndProcException(&e, pMsg);
}

void AfxReportCallbackException(CException* e)
{
    MSG msg = {};
    AfxProcessWndProcException(e, &msg);
    e->Delete();
}

void AfxReportForeignCallbackException(LPCSTR lpszWhat)
{
    MSG msg = {};
    AfxProcessForeignException(lpszWhat, &msg);
}

void AfxReportCaughtException(const std::exception_ptr& failure, BOOL bReport)
{
    if (!failure)
        return;
    try {
        std::rethrow_exception(failure);
    }
    catch (CException* e) {
        if (bReport)
            AfxReportCallbackException(e);
        else
            e->Delete();
    }
    catch (const std::exception& e) {
        if (bReport)
            AfxReportForeignCallbackException(e.what());
    }
    catch (...) {
        if (bReport)
            AfxReportForeignCallbackException(nullptr);
    }
}

// ---- The creation hook ----------------------------------------------------------------------

namespace {

// Input method windows are created by the system inside other windows' creation; they are never
// the framework's window.
bool IsImeWindow(HWND hWnd)
{
    if (::GetClassLongPtrA(hWnd, GCL_STYLE) & CS_IME)
        return true;
    char szClass[32] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    return lstrcmpiA(szClass, "IME") == 0 || _strnicmp(szClass, "MSCTFIME", 8) == 0;
}

} // namespace

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (code == HCBT_CREATEWND) {
        HWND hWnd = (HWND)wParam;
        CWnd* pWndInit = pState->m_pWndInit;
        if (pWndInit != nullptr && !IsImeWindow(hWnd)) {
            pState->m_pWndInit = nullptr;
            AfxGuardCallback([&] {
                pWndInit->Attach(hWnd);
                pWndInit->PreSubclassWindow();
                WNDPROC* ppfnSuper = pWndInit->GetSuperWndProcAddr();
                WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
                if (pfnOld != AfxWndProc)
                    *ppfnSuper = pfnOld;
            });
        }
    }
    return ::CallNextHookEx(pState->m_hHookOldCbtFilter, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit == pWnd)
        return;
    if (pState->m_hHookOldCbtFilter == nullptr) {
        pState->m_hHookOldCbtFilter = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
        if (pState->m_hHookOldCbtFilter == nullptr)
            AfxThrowMemoryException();
    }
    pState->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldCbtFilter != nullptr) {
        ::UnhookWindowsHookEx(pState->m_hHookOldCbtFilter);
        pState->m_hHookOldCbtFilter = nullptr;
    }
    if (pState->m_pWndInit != nullptr) {
        pState->m_pWndInit = nullptr;
        return FALSE;
    }
    return TRUE;
}

// ---- The window procedure -------------------------------------------------------------------

WNDPROC AfxGetAfxWndProc()
{
    return AfxWndProc;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_QUERYAFXWNDPROC)
        return 1;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || pWnd->m_hWnd != hWnd)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG oldState = pState->m_lastSentMsg;   // messages nest
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    // A drop target goes while the window still exists, before the window's own handling.
    if (nMsg == WM_DESTROY && pWnd->m_pDropTarget != nullptr)
        pWnd->m_pDropTarget->Revoke();

    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    }
    catch (CException* e) {
        lResult = AfxProcessWndProcException(e, &pState->m_lastSentMsg);
        e->Delete();
    }
    catch (const std::exception& e) {
        lResult = AfxProcessForeignException(e.what(), &pState->m_lastSentMsg);
    }
    catch (...) {
        lResult = AfxProcessForeignException(nullptr, &pState->m_lastSentMsg);
    }

    // A class that handled WM_NCDESTROY without passing it on still leaves the handle map.
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd)
        pWnd->CleanupAfterNcDestroy();

    pState->m_lastSentMsg = oldState;
    return lResult;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM)
{
    if (nMsg != WM_INITDIALOG)
        return FALSE;
    INT_PTR result = TRUE;
    AfxGuardCallback([&] {
        CDialog* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
        if (pDlg != nullptr)
            result = pDlg->OnInitDialog();
    });
    return result;
}

// ---- CWnd: construction, attachment ---------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() : m_hWnd(nullptr), m_hWndOwner(nullptr), m_nFlags(0), m_pfnSuper(nullptr), m_nModalResult(0) {}

CWnd::CWnd(HWND hWndPseudo)
    : m_hWnd(hWndPseudo), m_hWndOwner(nullptr), m_nFlags(0), m_pfnSuper(nullptr), m_nModalResult(0)
{
}

CWnd::~CWnd()
{
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost)
        return;
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        // The derived parts are gone already: only the system's handling runs from here.
        ::DestroyWindow(m_hWnd);
    }
    if (m_hWnd != nullptr)
        Detach();
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit == this)
        pState->m_pWndInit = nullptr;
}

HWND CWnd::GetSafeHwnd() const
{
    return m_hWnd;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    Maps().permanent[hWndNew] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    // Messages of the window no longer come through this object: its drop target watches the
    // window itself from now on.
    if (m_pDropTarget != nullptr)
        m_pDropTarget->WatchWindowItself();
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        auto& perm = Maps().permanent;
        auto it = perm.find(hWnd);
        if (it != perm.end() && it->second == this)
            perm.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::PreSubclassWindow() {}

WNDPROC* CWnd::GetSuperWndProcAddr()
{
    return &m_pfnSuper;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC* ppfnSuper = GetSuperWndProcAddr();
    WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (pfnOld != AfxWndProc)
        *ppfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(AfxGetSafeHwnd(pParent), (int)nID);
    if (hWndControl == nullptr)
        return FALSE;
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    WNDPROC* ppfnSuper = GetSuperWndProcAddr();
    if (*ppfnSuper != nullptr) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*ppfnSuper);
        *ppfnSuper = nullptr;
    }
    return Detach();
}

// ---- Creation and destruction ---------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        AfxDeferRegisterClass(AFX_WND_REG);
        cs.lpszClass = AFX_WND;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, AfxGetSafeHwnd(pParentWnd), (HMENU)(UINT_PTR)nID,
                    (LPVOID)pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, AfxGetSafeHwnd(pParentWnd), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCTA cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    // The object may be re-used after an earlier window of it was destroyed.
    *GetSuperWndProcAddr() = nullptr;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();    // failed before the first message: nothing else will clean up
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    CWnd* pWnd = FromHandlePermanent(m_hWnd);
    HWND hWnd = m_hWnd;
    BOOL bResult = ::DestroyWindow(hWnd);
    // 'this' is deleted now when PostNcDestroy deletes the object; only touch it when it was never
    // a permanent object (then nothing else detaches it).
    if (pWnd != this)
        Detach();
    return bResult;
}

void CWnd::PostNcDestroy() {}

void CWnd::CleanupAfterNcDestroy()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr) {
        if (pThread->m_pMainWnd == this) {
            pThread->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        if (pThread->m_pActiveWnd == this)
            pThread->m_pActiveWnd = nullptr;
    }
    // Give the window back its own procedure before it goes.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) &&
        ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == (LONG_PTR)AfxWndProc) {
        WNDPROC pfnSuper = *GetSuperWndProcAddr();
        if (pfnSuper != nullptr)
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)pfnSuper);
    }
    Detach();
    PostNcDestroy();
}

void CWnd::OnNcDestroy()
{
    Default();
    CleanupAfterNcDestroy();
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == adjustBorder)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

// ---- Dispatch -------------------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnWndProc = *GetSuperWndProcAddr();
    if (pfnWndProc == nullptr)
        return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    return ::CallWindowProcA(pfnWndProc, m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_lastSentMsg.time = ::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    pState->m_lastSentMsg.pt.x = GET_X_LPARAM(pos);
    pState->m_lastSentMsg.pt.y = GET_Y_LPARAM(pos);
    return &pState->m_lastSentMsg;
}

namespace {

union MessageMapFunctions
{
    AFX_PMSG pfn;
    LRESULT (CWnd::*pfn_lwl)(WPARAM, LPARAM);
    void (CWnd::*pfn_vv)();
    BOOL (CWnd::*pfn_bv)();
    UINT (CWnd::*pfn_wv)();
    int (CWnd::*pfn_is)(void*);
    BOOL (CWnd::*pfn_bs)(void*);
    void (CWnd::*pfn_vs)(void*);
    void (CWnd::*pfn_vwii)(UINT, int, int);
    void (CWnd::*pfn_vii)(int, int);
    void (CWnd::*pfn_vwp)(UINT, CPoint);
    LRESULT (CWnd::*pfn_lp)(CPoint);
    void (CWnd::*pfn_vbs)(BOOL, NCCALCSIZE_PARAMS*);
    BOOL (CWnd::*pfn_bb)(BOOL);
    BOOL (CWnd::*pfn_bD)(CDC*);
    void (CWnd::*pfn_vbw)(BOOL, UINT);
    void (CWnd::*pfn_vb)(BOOL);
    void (CWnd::*pfn_vwWb)(UINT, CWnd*, BOOL);
    void (CWnd::*pfn_vbd)(BOOL, DWORD);
    int (CWnd::*pfn_iWww)(CWnd*, UINT, UINT);
    void (CWnd::*pfn_vbWW)(BOOL, CWnd*, CWnd*);
    void (CWnd::*pfn_vW)(CWnd*);
    void (CWnd::*pfn_vwww)(UINT, UINT, UINT);
    BOOL (CWnd::*pfn_bWww)(CWnd*, UINT, UINT);
    void (CWnd::*pfn_vt)(UINT_PTR);
    void (CWnd::*pfn_vwwx)(UINT, UINT, CScrollBar*);
    HBRUSH (CWnd::*pfn_hDWw)(CDC*, CWnd*, UINT);
    void (CWnd::*pfn_vis)(int, void*);
    int (CWnd::*pfn_iis)(int, void*);
    void (CWnd::*pfn_vWp)(CWnd*, CPoint);
    void (CWnd::*pfn_vMwb)(CMenu*, UINT, BOOL);
    void (CWnd::*pfn_vws)(UINT, LPCSTR);
    void (CWnd::*pfn_vwl)(UINT, LPARAM);
    BOOL (CWnd::*pfn_bwsp)(UINT, short, CPoint);
    void (CWnd::*pfn_vwwh)(UINT, UINT, HMENU);
    void (CWnd::*pfn_vwW)(UINT, CWnd*);
    int (CWnd::*pfn_iwWw)(UINT, CWnd*, UINT);
    void (CWnd::*pfn_vwr)(UINT, LPRECT);
    void (CWnd::*pfn_vh)(HDROP);
    void (CWnd::*pfn_vM)(CMenu*);
    BOOL (CWnd::*pfn_bw)(UINT);
    HBRUSH (CWnd::*pfn_hDw)(CDC*, UINT);
    void (CWnd::*pfn_vww)(UINT, UINT);
    int (CWnd::*pfn_iww)(UINT, UINT);
    int (CWnd::*pfn_is2)(void*);
};

// What a reflected WM_CTLCOLOR message carries in lParam.
struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

CScrollBar* AsScrollBar(CWnd* pWnd)
{
    // A scroll bar control object is a CWnd and nothing else first.
    return reinterpret_cast<CScrollBar*>(pWnd);
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;

    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }

    const AFX_MSGMAP_ENTRY* lpEntry = nullptr;
    UINT_PTR nSig = AfxSig_end;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr && lpEntry == nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        if (message < 0xC000) {
            lpEntry = CCmdTarget::FindMessageEntry(pMap->lpEntries, message, 0, 0);
            if (lpEntry)
                nSig = lpEntry->nSig;
        }
        else {
            for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p) {
                if (p->nMessage == 0xC000 && *(const UINT*)p->nSig == message) {
                    lpEntry = p;
                    nSig = AfxSig_lwl;
                    break;
                }
            }
        }
    }
    if (lpEntry == nullptr)
        return FALSE;

    MessageMapFunctions mmf;
    mmf.pfn = lpEntry->pfn;
    CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));

    switch (nSig) {
    case AfxSig_lwl: lResult = (this->*mmf.pfn_lwl)(wParam, lParam); break;
    case AfxSig_vv: (this->*mmf.pfn_vv)(); break;
    case AfxSig_bv: lResult = (this->*mmf.pfn_bv)(); break;
    case AfxSig_wv: lResult = (this->*mmf.pfn_wv)(); break;
    case AfxSig_is: lResult = (this->*mmf.pfn_is)((void*)lParam); break;
    case AfxSig_bs: lResult = (this->*mmf.pfn_bs)((void*)lParam); break;
    case AfxSig_vs:
        (this->*mmf.pfn_vs)((void*)lParam);
        if (message == WM_REFLECT_BASE + WM_DRAWITEM || message == WM_REFLECT_BASE + WM_MEASUREITEM)
            lResult = TRUE;
        break;
    case AfxSig_vwii: (this->*mmf.pfn_vwii)((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_vii: (this->*mmf.pfn_vii)((short)LOWORD(lParam), (short)HIWORD(lParam)); break;
    case AfxSig_vwp: (this->*mmf.pfn_vwp)((UINT)wParam, pt); break;
    case AfxSig_lp: lResult = (this->*mmf.pfn_lp)(pt); break;
    case AfxSig_vbs: (this->*mmf.pfn_vbs)((BOOL)wParam, (NCCALCSIZE_PARAMS*)lParam); break;
    case AfxSig_bb: lResult = (this->*mmf.pfn_bb)((BOOL)wParam); break;
    case AfxSig_bD: lResult = (this->*mmf.pfn_bD)(CDC::FromHandle((HDC)wParam)); break;
    case AfxSig_vbw: (this->*mmf.pfn_vbw)((BOOL)wParam, (UINT)lParam); break;
    case AfxSig_vb: (this->*mmf.pfn_vb)((BOOL)wParam); break;
    case AfxSig_vwWb:
        (this->*mmf.pfn_vwWb)(LOWORD(wParam), CWnd::FromHandle((HWND)lParam), (BOOL)HIWORD(wParam));
        break;
    case AfxSig_vbd: (this->*mmf.pfn_vbd)((BOOL)wParam, (DWORD)lParam); break;
    case AfxSig_iWww:
        lResult = (this->*mmf.pfn_iWww)(CWnd::FromHandle((HWND)wParam), (UINT)(short)LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vbWW:
        (this->*mmf.pfn_vbWW)(m_hWnd == (HWND)lParam, CWnd::FromHandle((HWND)lParam), CWnd::FromHandle((HWND)wParam));
        break;
    case AfxSig_vW: (this->*mmf.pfn_vW)(CWnd::FromHandle((HWND)wParam)); break;
    case AfxSig_vWl: (this->*mmf.pfn_vW)(CWnd::FromHandle((HWND)lParam)); break;
    case AfxSig_vwww: (this->*mmf.pfn_vwww)((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_bWww:
        lResult = (this->*mmf.pfn_bWww)(CWnd::FromHandle((HWND)wParam), (UINT)(short)LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vt: (this->*mmf.pfn_vt)((UINT_PTR)wParam); break;
    case AfxSig_vwwx:
        (this->*mmf.pfn_vwwx)(LOWORD(wParam), HIWORD(wParam), AsScrollBar(CWnd::FromHandle((HWND)lParam)));
        break;
    case AfxSig_hDWw:
        lResult = (LRESULT)(this->*mmf.pfn_hDWw)(CDC::FromHandle((HDC)wParam), CWnd::FromHandle((HWND)lParam),
                                                 message - WM_CTLCOLORMSGBOX);
        break;
    case AfxSig_vis:
        (this->*mmf.pfn_vis)((int)wParam, (void*)lParam);
        if (message == WM_DRAWITEM || message == WM_MEASUREITEM)
            lResult = TRUE;
        break;
    case AfxSig_iis: lResult = (this->*mmf.pfn_iis)((int)wParam, (void*)lParam); break;
    case AfxSig_vWp: (this->*mmf.pfn_vWp)(CWnd::FromHandle((HWND)wParam), pt); break;
    case AfxSig_vMwb: (this->*mmf.pfn_vMwb)(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), (BOOL)HIWORD(lParam)); break;
    case AfxSig_vws: (this->*mmf.pfn_vws)((UINT)wParam, (LPCSTR)lParam); break;
    case AfxSig_vwl:
    case AfxSig_vwl2: (this->*mmf.pfn_vwl)((UINT)wParam, lParam); break;
    case AfxSig_bwsp: lResult = (this->*mmf.pfn_bwsp)(LOWORD(wParam), (short)HIWORD(wParam), pt); break;
    case AfxSig_vwwh: (this->*mmf.pfn_vwwh)(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam); break;
    case AfxSig_vwW: (this->*mmf.pfn_vwW)((UINT)wParam, CWnd::FromHandle((HWND)lParam)); break;
    case AfxSig_iwWw:
        lResult = (this->*mmf.pfn_iwWw)(LOWORD(wParam), CWnd::FromHandle((HWND)lParam), HIWORD(wParam));
        break;
    case AfxSig_vwr:
        (this->*mmf.pfn_vwr)((UINT)wParam, (LPRECT)lParam);
        lResult = TRUE;
        break;
    case AfxSig_vh: (this->*mmf.pfn_vh)((HDROP)wParam); break;
    case AfxSig_vM: (this->*mmf.pfn_vM)(CMenu::FromHandle((HMENU)wParam)); break;
    case AfxSig_bw: lResult = (this->*mmf.pfn_bw)((UINT)wParam); break;
    case AfxSig_hDw: {
        AFX_CTLCOLOR* pCtl = (AFX_CTLCOLOR*)lParam;
        lResult = (LRESULT)(this->*mmf.pfn_hDw)(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);
        break;
    }
    case AfxSig_vww: (this->*mmf.pfn_vww)(LOWORD(wParam), HIWORD(wParam)); break;
    case AfxSig_iww: lResult = (this->*mmf.pfn_iww)(LOWORD(wParam), HIWORD(wParam)); break;
    case AfxSig_is2: lResult = (this->*mmf.pfn_is2)((void*)lParam); break;
    default: return FALSE;
    }
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);

    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (hWndCtrl == nullptr) {
        // Menu or accelerator: a command its update handler disables is not carried out.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    else {
        if (pState->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        // The control gets its own notification first.
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    UINT nID = (UINT)::GetDlgCtrlID(hWndCtrl);
    int nCode = (int)pNMHDR->code;

    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE;
    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = pNMHDR;
    return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == nullptr)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(pMsg->message, pMsg->wParam, pMsg->lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        AFX_NOTIFY notify;
        notify.pResult = pResult;
        notify.pNMHDR = pNMHDR;
        return CCmdTarget::OnCmdMsg(0, MAKELONG((int)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl;
            ctl.hWnd = m_hWnd;
            ctl.hDC = (HDC)wParam;
            ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
            LRESULT lResult = 0;
            BOOL bResult = CWnd::OnWndMsg(WM_REFLECT_BASE + AFX_WM_CTLCOLOR, 0, (LPARAM)&ctl, &lResult);
            if (lResult == 0)
                return FALSE;
            if (pResult)
                *pResult = lResult;
            return bResult;
        }
        return FALSE;
    }
}

void (*afxFilterToolTipMessage)(MSG* pMsg, CWnd* pWnd) = nullptr;

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    // Tool tips watch the mouse on its way to every window.
    if (afxFilterToolTipMessage != nullptr)
        afxFilterToolTipMessage(pMsg, this);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

// ---- Message map of CWnd --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_CTLCOLOR()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_CHARTOITEM()
    ON_WM_VKEYTOITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
    ON_WM_NCDESTROY()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

// ---- Default handlers -----------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return (BOOL)Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
void CWnd::OnChildActivate() { Default(); }
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return (BOOL)Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
BOOL CWnd::OnQueryEndSession() { return (BOOL)Default(); }
void CWnd::OnEndSession(BOOL) { Default(); }
BOOL CWnd::OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    CWnd* pBar = reinterpret_cast<CWnd*>(pScrollBar);
    if (pBar != nullptr && pBar->SendChildNotifyLastMsg())
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    CWnd* pBar = reinterpret_cast<CWnd*>(pScrollBar);
    if (pBar != nullptr && pBar->SendChildNotifyLastMsg())
        return;
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult;
    if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != nullptr) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        // The menu that owns the item is not named in the message: look through the window's menu.
        HMENU hMenu = ::GetMenu(m_hWnd);
        if (CMenu* pMenu = CMenu::FindPopupMenuFromID(hMenu, lpMeasureItemStruct->itemID)) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    else {
        // During a control's creation the message arrives before CreateWindowEx returns; the
        // creation hook attached the control already, so it can be found by its id.
        CWnd* pChild = GetDescendantWindow((int)lpMeasureItemStruct->CtlID, TRUE);
        if (pChild != nullptr && pChild->SendChildNotifyLastMsg())
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

int CWnd::OnCharToItem(UINT, CWnd* pWnd, UINT)
{
    LRESULT lResult;
    if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

int CWnd::OnVKeyToItem(UINT, CWnd* pWnd, UINT)
{
    LRESULT lResult;
    if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) && ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

void CWnd::OnSysColorChange()
{
    // Top-level windows pass colour changes on to every child that is one of ours.
    if (!(GetStyle() & WS_CHILD))
        SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
    Default();
}

void CWnd::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    if (!(GetStyle() & WS_CHILD)) {
        const MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
        SendMessageToDescendants(pMsg->message, uFlags, (LPARAM)lpszSection, TRUE, TRUE);
    }
    Default();
}

// ---- Overridables ---------------------------------------------------------------------------

CScrollBar* CWnd::GetScrollBarCtrl(int) const
{
    return nullptr;
}

INT_PTR CWnd::OnToolHitTest(CPoint, TOOLINFOA*) const
{
    return -1;
}

void CWnd::WinHelp(DWORD_PTR, UINT) {}

// ---- Relatives ------------------------------------------------------------------------------

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm)
{
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            CWnd* pWnd = FromHandlePermanent(hWndChild);
            if (pWnd != nullptr)
                AfxCallWndProc(pWnd, pWnd->m_hWnd, message, wParam, lParam);
        }
        else {
            ::SendMessageA(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hWndChild) != nullptr)
            SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    // Direct children first, then depth first.
    HWND hWndChild = ::GetDlgItem(m_hWnd, nID);
    if (hWndChild != nullptr) {
        if (::GetTopWindow(hWndChild) != nullptr) {
            // The child has children of its own: prefer a permanent match below it.
            CWnd* pWnd = FromHandle(hWndChild)->GetDescendantWindow(nID, bOnlyPerm);
            if (pWnd != nullptr)
                return pWnd;
        }
        if (bOnlyPerm)
            return FromHandlePermanent(hWndChild);
        return FromHandle(hWndChild);
    }
    for (hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        CWnd* pWnd = FromHandle(hWndChild)->GetDescendantWindow(nID, bOnlyPerm);
        if (pWnd != nullptr)
            return pWnd;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    CWnd* pParentWnd = GetParent();
    while (pParentWnd != nullptr) {
        if (pParentWnd->IsFrameWnd())
            return static_cast<CFrameWnd*>(pParentWnd);
        pParentWnd = pParentWnd->GetParent();
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    CWnd* pWnd = const_cast<CWnd*>(this);
    CFrameWnd* pFrame = pWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(pWnd) : GetParentFrame();
    if (pFrame != nullptr) {
        CFrameWnd* pTemp;
        while ((pTemp = pFrame->GetParentFrame()) != nullptr)
            pFrame = pTemp;
    }
    return pFrame;
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetParent(hWndParent)) != nullptr && (::GetWindowLongPtrA(hWndParent, GWL_STYLE) & WS_CHILD))
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    HWND hWndOwner = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != nullptr)
        hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

CWnd* CWnd::GetParentOwner() const
{
    if (GetSafeHwnd() == nullptr)
        return nullptr;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((::GetWindowLongPtrA(hWndParent, GWL_STYLE) & WS_CHILD) && (hWndT = ::GetParent(hWndParent)) != nullptr)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner != nullptr ? FromHandle(m_hWndOwner) : GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    m_hWndOwner = pOwnerWnd != nullptr ? pOwnerWnd->m_hWnd : nullptr;
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    HWND hWnd = AfxGetSafeHwnd(pParent);
    if (hWnd == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = AfxGetSafeHwnd(pMain);
    }
    // The owner of a modal window is a top-level window.
    while (hWnd != nullptr && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND hWndTop = hWnd;
    if (hWndTop != nullptr) {
        HWND hWndT;
        while ((hWndT = ::GetParent(hWndTop)) != nullptr)
            hWndTop = hWndT;
    }
    if (pParent == nullptr && hWnd != nullptr)
        hWnd = ::GetLastActivePopup(hWnd);
    if (pWndTop != nullptr) {
        if (hWndTop != nullptr && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        }
        else {
            *pWndTop = nullptr;
        }
    }
    return FromHandle(hWnd);
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, AfxGetSafeHwnd(pWndNewParent))); }
CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
CWnd* CWnd::GetNextWindow(UINT nFlag) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
CWnd* CWnd::GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, AfxGetSafeHwnd(pWnd)); }
CWnd* CWnd::ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
CWnd* CWnd::ChildWindowFromPoint(POINT point, UINT nFlags) const
{
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
}
CWnd* CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
CWnd* CWnd::FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName)
{
    return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
}
CWnd* CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

// ---- Menus ----------------------------------------------------------------------------------

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }
void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }
BOOL CWnd::HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite)
{
    return ::HiliteMenuItem(m_hWnd, AfxGetSafeHmenu(pMenu), nIDHiliteItem, nHilite);
}

// ---- Text, font, icon, ids ------------------------------------------------------------------

void CWnd::SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBuffer();
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)AfxGetSafeHandle(pFont), bRedraw);
}
CFont* CWnd::GetFont() const
{
    return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
}
HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return (HICON)::SendMessageA(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
}
HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    return (HICON)::SendMessageA(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0);
}
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }

// ---- Dialog items ---------------------------------------------------------------------------

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
void CWnd::GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}
void CWnd::SetDlgItemText(int nID, LPCSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
int CWnd::GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const
{
    return (int)::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount);
}
int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    if (hWnd != nullptr)
        FromHandle(hWnd)->GetWindowText(rString);
    return rString.GetLength();
}
void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}
int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++) {
        if (::IsDlgButtonChecked(m_hWnd, nID))
            return nID;
    }
    return 0;
}
UINT CWnd::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}
CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, AfxGetSafeHwnd(pWndCtl), bPrevious));
}
CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, AfxGetSafeHwnd(pWndCtl), bPrevious));
}

// ---- Styles ---------------------------------------------------------------------------------

DWORD CWnd::GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
DWORD CWnd::GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }

namespace {

BOOL ModifyStyleImpl(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, nStyleOffset);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, nStyleOffset, (LONG_PTR)(LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, AFX_SWP_AFTER_STYLE | nFlags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleImpl(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleImpl(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

// ---- Showing, moving, placement -------------------------------------------------------------

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
{
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
}
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
{
    WINDOWPLACEMENT wp = *lpwndpl;
    wp.length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, &wp);
}
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
void CWnd::ShowOwnedPopups(BOOL bShow) { ::ShowOwnedPopups(m_hWnd, bShow); }
BOOL CWnd::FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD dwStyle = GetStyle();
    HWND hWndCenter = AfxGetSafeHwnd(pAlternateOwner);
    if (pAlternateOwner == nullptr) {
        hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
        if (hWndCenter != nullptr) {
            // Center on the owner's top-level window, unless it is hidden or minimised.
            HWND hWndTemp = hWndCenter;
            while ((::GetWindowLongPtrA(hWndTemp, GWL_STYLE) & WS_CHILD) && ::GetParent(hWndTemp))
                hWndTemp = ::GetParent(hWndTemp);
            if (!(dwStyle & WS_CHILD))
                hWndCenter = hWndTemp;
            DWORD dwAlternate = (DWORD)::GetWindowLongPtrA(hWndCenter, GWL_STYLE);
            if (!(dwAlternate & WS_VISIBLE) || (dwAlternate & WS_MINIMIZE))
                hWndCenter = nullptr;
        }
    }

    CRect rcDlg;
    GetWindowRect(&rcDlg);
    CRect rcArea;
    CRect rcCenter;
    if (!(dwStyle & WS_CHILD)) {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hWndCenter == nullptr)
            rcCenter = rcArea;
        else
            ::GetWindowRect(hWndCenter, &rcCenter);
    }
    else {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter != nullptr)
            ::GetClientRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
        if (hWndCenter != nullptr && hWndCenter != hWndParent)
            ::MapWindowPoints(hWndCenter, hWndParent, (POINT*)&rcCenter, 2);
    }

    int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    if (xLeft + rcDlg.Width() > rcArea.right)
        xLeft = rcArea.right - rcDlg.Width();
    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    if (yTop + rcDlg.Height() > rcArea.bottom)
        yTop = rcArea.bottom - rcDlg.Height();
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    SetWindowPos(nullptr, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Coordinates ----------------------------------------------------------------------------

void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
{
    ::MapWindowPoints(m_hWnd, AfxGetSafeHwnd(pwndTo), lpPoint, nCount);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
{
    ::MapWindowPoints(m_hWnd, AfxGetSafeHwnd(pwndTo), (LPPOINT)lpRect, 2);
}

// ---- Painting and invalidation --------------------------------------------------------------

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags)
{
    return CDC::FromHandle(::GetDCEx(m_hWnd, (HRGN)AfxGetSafeHandle(prgnClip), flags));
}
int CWnd::ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, AfxGetSafeHdc(pDC)); }
void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) { ::InvalidateRgn(m_hWnd, (HRGN)AfxGetSafeHandle(pRgn), bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, (HRGN)AfxGetSafeHandle(pRgn)); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)AfxGetSafeHandle(prgnUpdate), flags);
}
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
int CWnd::GetUpdateRgn(CRgn* pRgn, BOOL bErase) { return ::GetUpdateRgn(m_hWnd, (HRGN)AfxGetSafeHandle(pRgn), bErase); }
BOOL CWnd::LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
void CWnd::UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
void CWnd::SetRedraw(BOOL bRedraw) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }

// ---- Scrolling ------------------------------------------------------------------------------

namespace {

HWND ScrollBarHwnd(CScrollBar* pScrollBar)
{
    return reinterpret_cast<CWnd*>(pScrollBar)->m_hWnd;
}

} // namespace

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return ::SetScrollPos(ScrollBarHwnd(pBar), SB_CTL, nPos, bRedraw);
    return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}

int CWnd::GetScrollPos(int nBar) const
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return ::GetScrollPos(ScrollBarHwnd(pBar), SB_CTL);
    return ::GetScrollPos(m_hWnd, nBar);
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        ::SetScrollRange(ScrollBarHwnd(pBar), SB_CTL, nMinPos, nMaxPos, bRedraw);
    else
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        ::GetScrollRange(ScrollBarHwnd(pBar), SB_CTL, lpMinPos, lpMaxPos);
    else
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    HWND hWnd = m_hWnd;
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar)) {
        hWnd = ScrollBarHwnd(pBar);
        nBar = SB_CTL;
    }
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    HWND hWnd = m_hWnd;
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar)) {
        hWnd = ScrollBarHwnd(pBar);
        nBar = SB_CTL;
    }
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(hWnd, nBar, lpScrollInfo);
}

int CWnd::GetScrollLimit(int nBar)
{
    int nMin, nMax;
    GetScrollRange(nBar, &nMin, &nMax);
    SCROLLINFO info;
    if (GetScrollInfo(nBar, &info, SIF_PAGE))
        nMax -= (int)info.nPage > 1 ? (int)info.nPage - 1 : 0;
    return nMax;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, (int)nBar, bShow); }

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    if (nBar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, bEnable);
        EnableScrollBarCtrl(SB_VERT, bEnable);
        return;
    }
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        ::EnableWindow(ScrollBarHwnd(pBar), bEnable);
    else
        ::ShowScrollBar(m_hWnd, nBar, bEnable);
}

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags)
{
    return ::EnableScrollBar(m_hWnd, (UINT)nSBFlags, nArrowFlags);
}

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect)
{
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}

int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags)
{
    return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip, (HRGN)AfxGetSafeHandle(prgnUpdate),
                            lpRectUpdate, flags);
}

// ---- Timers, messages, caret, clipboard -----------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendNotifyMessageA(m_hWnd, message, wParam, lParam);
}
void CWnd::CreateSolidCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, nullptr, nWidth, nHeight); }
void CWnd::CreateGrayCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, (HBITMAP)1, nWidth, nHeight); }
void CWnd::CreateCaret(CBitmap* pBitmap) { ::CreateCaret(m_hWnd, (HBITMAP)AfxGetSafeHandle(pBitmap), 0, 0); }
CPoint CWnd::GetCaretPos()
{
    CPoint point;
    ::GetCaretPos(&point);
    return point;
}
void CWnd::SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
void CWnd::HideCaret() { ::HideCaret(m_hWnd); }
void CWnd::ShowCaret() { ::ShowCaret(m_hWnd); }
BOOL CWnd::OpenClipboard() { return ::OpenClipboard(m_hWnd); }
void CWnd::DragAcceptFiles(BOOL bAccept) { ::DragAcceptFiles(m_hWnd, bAccept); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (lpszCaption == nullptr)
        lpszCaption = AfxGetAppName();
    return AfxSeamMessageBox(m_hWnd, lpszText, lpszCaption, nType, 0);
}
