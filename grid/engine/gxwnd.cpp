#include "gxwnd.h"
#include "gxinit.h"
#include "gxutil.h"
#include "afxdlgs.h"
#include <commdlg.h>
#include <cstring>

IMPLEMENT_DYNCREATE(CGXGridWnd, CWnd)

namespace {
// The grids made by the class window procedure, which delete themselves.
CMapPtrToWord& SelfDeletingGrids()
{
    static CMapPtrToWord map(10);
    return map;
}

const UINT g_nFindReplaceMsg = ::RegisterWindowMessageA(FINDMSGSTRINGA);
} // namespace

CGXGridWnd::CGXGridWnd() : CWnd(), CGXGridEngine(this, nullptr, nullptr) {}

CGXGridWnd::~CGXGridWnd()
{
    // The window's last messages still reach a whole engine; a self-deleting
    // grid must not be deleted a second time by them.
    SelfDeletingGrids().RemoveKey(this);
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CGXGridWnd::IsSelfDeleting(CGXGridWnd* pGrid)
{
    WORD w = 0;
    return SelfDeletingGrids().Lookup(pGrid, w) && w == 1;
}

void CGXGridWnd::InitGrid()
{
    if (GXIsInScrollParent(this)) {
        SetScrollBarMode(SB_BOTH, 12, FALSE);
    } else {
        DWORD style = m_hWnd != nullptr ? GetStyle() : 0;
        SetScrollBarMode(SB_VERT, (style & WS_VSCROLL) ? 10 : 0, FALSE);
        SetScrollBarMode(SB_HORZ, (style & WS_HSCROLL) ? 10 : 0, FALSE);
    }
    Initialize();
}

void CGXGridWnd::Initialize() { InitObjects(); }

CScrollBar* CGXGridWnd::GetScrollBarCtrl(int nBar) const
{
    if (CScrollBar* p = CGXGridEngine::GetScrollBarCtrl(nBar))
        return p;
    return CWnd::GetScrollBarCtrl(nBar);
}

BOOL CGXGridWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HandleCommand(wParam, lParam))
        return TRUE;
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CGXGridWnd::PreTranslateMessage(MSG* pMsg)
{
    if (HandlePreTranslateMessage(pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

void CGXGridWnd::PostNcDestroy()
{
    if (IsSelfDeleting(this)) {
        SelfDeletingGrids().RemoveKey(this);
        delete this;
    }
}

void CGXGridWnd::OnGridBeginPrinting(CDC* pDC, CPrintInfo* pInfo) { OnBeginPrinting(pDC, pInfo); }
void CGXGridWnd::OnGridEndPrinting(CDC* pDC, CPrintInfo* pInfo) { OnEndPrinting(pDC, pInfo); }
void CGXGridWnd::OnGridPrint(CDC* pDC, CPrintInfo* pInfo) { OnPrint(pDC, pInfo); }

// ---------------------------------------------------------------------------
// The window class of grids made by dialog templates

LPCSTR CGXGridWnd::RegisterClass(HINSTANCE hInstance)
{
    static const char kName[] = "CGXGridWnd";
    WNDCLASSA wc;
    if (::GetClassInfoA(hInstance, kName, &wc))
        return kName;
    std::memset(&wc, 0, sizeof(wc));
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = ClassWndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kName;
    if (!::RegisterClassA(&wc))
        AfxThrowResourceException();
    return kName;
}

LRESULT CALLBACK CGXGridWnd::ClassWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // A window already attached to an object (made in code) comes here only
    // for its default handling: no second object.
    if (CWnd::FromHandlePermanent(hWnd) != nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    CGXGridWnd* pGrid = nullptr;
    try {
        pGrid = new CGXGridWnd;
    } catch (...) {
        // No grid can be attached; the window stays a plain one.
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
    pGrid->Attach(hWnd);
    SelfDeletingGrids().SetAt(pGrid, 1);
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc()));
    return ::CallWindowProcA(AfxGetAfxWndProc(), hWnd, nMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Messages

BEGIN_MESSAGE_MAP(CGXGridWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_SYSKEYUP()
    ON_WM_SYSCHAR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_MBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
    ON_WM_CANCELMODE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SETTINGCHANGE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_TIMER()
    ON_MESSAGE(GXWM_GETPARAMOPTIONF, OnGetParamOptionF)
    ON_MESSAGE(GXWM_UPDATETABNAME, OnUpdateTabName)
    ON_MESSAGE(GXWM_VALIDATE, OnValidateMsg)
    ON_MESSAGE(GXWM_RECORDNAVIGATE, OnRecordNavigate)
    ON_MESSAGE(GXWM_LOCKSIZEREDRAW, OnLockSizeRedraw)
    ON_REGISTERED_MESSAGE(g_nFindReplaceMsg, OnFindReplaceMsg)
END_MESSAGE_MAP()

void CGXGridWnd::OnPaint()
{
    if (!IsInitDone()) {
        // Painting before InitGrid is a mistake of the program; it must not
        // bring the window down, so the area is validated and told once.
        ValidateRect(nullptr);
        if (!m_bReportedUninitialised) {
            m_bReportedUninitialised = TRUE;
            ::OutputDebugStringA("CGXGridWnd: painted before InitGrid; nothing drawn\n");
        }
        return;
    }
    CPaintDC dc(this);
    PrepareDC(&dc, nullptr);
    OnGridDraw(&dc);
}

void CGXGridWnd::OnNcPaint()
{
    Default();
    if (!m_bDrawFrame && !(GetExStyle() & WS_EX_CLIENTEDGE))
        return;
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    CRect r;
    GetWindowRect(&r);
    pParent->ScreenToClient(&r);
    r.InflateRect(2, 2, 3, 3);
    CClientDC dc(pParent);
    GXDrawButtonEdge(&dc, r, TRUE, TRUE);
}

BOOL CGXGridWnd::OnEraseBkgnd(CDC*) { return TRUE; }

HBRUSH CGXGridWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (HBRUSH h = HandleCtlColor(pDC, pWnd, nCtlColor))
        return h;
    return reinterpret_cast<HBRUSH>(Default());
}

void CGXGridWnd::OnDestroy()
{
    if (!HandleDestroy())
        CWnd::OnDestroy();
}

void CGXGridWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!HandleHScroll(nSBCode, nPos, pScrollBar))
        Default();
}

void CGXGridWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!HandleVScroll(nSBCode, nPos, pScrollBar))
        Default();
}

void CGXGridWnd::KeyMessage(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!DispatchKeyMessage(this, nMessage, nChar, nRepCnt, nFlags))
        Default();
}

void CGXGridWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { KeyMessage(WM_KEYDOWN, nChar, nRepCnt, nFlags); }
void CGXGridWnd::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) { KeyMessage(WM_KEYUP, nChar, nRepCnt, nFlags); }
void CGXGridWnd::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { KeyMessage(WM_CHAR, nChar, nRepCnt, nFlags); }
void CGXGridWnd::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    KeyMessage(WM_SYSKEYDOWN, nChar, nRepCnt, nFlags);
}
void CGXGridWnd::OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) { KeyMessage(WM_SYSKEYUP, nChar, nRepCnt, nFlags); }
void CGXGridWnd::OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags) { KeyMessage(WM_SYSCHAR, nChar, nRepCnt, nFlags); }

void CGXGridWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    // The focus moves to the grid unless it already lies in it or in one of
    // its children (a cell control keeps it).
    HWND hFocus = ::GetFocus();
    if (hFocus == nullptr || (hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus)))
        SetFocus();
    if (!HandleLButtonDown(nFlags, point))
        Default();
}

#define GX_FORWARD_MOUSE(handler, engineOp) \
    void CGXGridWnd::handler(UINT nFlags, CPoint point) \
    { \
        if (!engineOp(nFlags, point)) \
            Default(); \
    }
GX_FORWARD_MOUSE(OnLButtonUp, HandleLButtonUp)
GX_FORWARD_MOUSE(OnLButtonDblClk, HandleLButtonDblClk)
GX_FORWARD_MOUSE(OnMButtonDown, HandleMButtonDown)
GX_FORWARD_MOUSE(OnMButtonUp, HandleMButtonUp)
GX_FORWARD_MOUSE(OnMButtonDblClk, HandleMButtonDblClk)
GX_FORWARD_MOUSE(OnRButtonDown, HandleRButtonDown)
GX_FORWARD_MOUSE(OnRButtonUp, HandleRButtonUp)
GX_FORWARD_MOUSE(OnRButtonDblClk, HandleRButtonDblClk)
GX_FORWARD_MOUSE(OnMouseMove, HandleMouseMove)
#undef GX_FORWARD_MOUSE

BOOL CGXGridWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (HandleSetCursor(pWnd, nHitTest, message))
        return TRUE;
    return static_cast<BOOL>(Default());
}

void CGXGridWnd::OnSize(UINT nType, int cx, int cy)
{
    if (!HandleSize(nType, cx, cy))
        Default();
}

void CGXGridWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    Default();
    HandleShowWindow(bShow, nStatus);
}

void CGXGridWnd::OnSetFocus(CWnd* pOldWnd)
{
    Default();
    HandleSetFocus(pOldWnd);
}

void CGXGridWnd::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    HandleKillFocus(pNewWnd);
}

UINT CGXGridWnd::OnGetDlgCode() { return HandleGetDlgCode(static_cast<UINT>(Default())); }

void CGXGridWnd::OnCancelMode() { HandleCancelMode(); }

int CGXGridWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int result = 0;
    if (HandleMouseActivate(pDesktopWnd, nHitTest, message, &result))
        return result;
    return static_cast<int>(Default());
}

void CGXGridWnd::OnSettingChange(UINT, LPCSTR lpszSection)
{
    HandleSettingChange(lpszSection);
    Default();
}

void CGXGridWnd::OnSysColorChange()
{
    HandleSysColorChange();
    Default();
}

void CGXGridWnd::OnTimer(UINT_PTR nIDEvent)
{
    HandleTimer(nIDEvent);
    Default();
}

LRESULT CGXGridWnd::OnGetParamOptionF(WPARAM, LPARAM) { return GetParamOptionF(); }

LRESULT CGXGridWnd::OnUpdateTabName(WPARAM wParam, LPARAM)
{
    UpdateTabName(wParam);
    return 0;
}

LRESULT CGXGridWnd::OnValidateMsg(WPARAM wParam, LPARAM) { return HandleMsg792(wParam) ? 0 : 1; }

LRESULT CGXGridWnd::OnRecordNavigate(WPARAM wParam, LPARAM lParam)
{
    SetFocus();
    HandleRecordNavigate(wParam, lParam);
    return 0;
}

LRESULT CGXGridWnd::OnLockSizeRedraw(WPARAM wParam, LPARAM)
{
    LockSizeRedraw(wParam);
    return 0;
}

LRESULT CGXGridWnd::OnFindReplaceMsg(WPARAM, LPARAM lParam)
{
    // A foreign request (not one of the framework's dialogs) is not ours to answer.
    if (CFindReplaceDialog* pDialog = CFindReplaceDialog::GetNotifier(lParam))
        OnFindReplace(pDialog);
    return 0;
}

// ---------------------------------------------------------------------------
// Pop-up host of drop-down lists

BEGIN_MESSAGE_MAP(GXBrushWnd, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

GXBrushWnd::GXBrushWnd(CWnd* pControlWnd, CWnd* pParentWnd, const RECT& rectScreen) : m_pControlWnd(pControlWnd)
{
    GXSetGlobalValue(TRUE);
    CreateEx(0, GXGetAppState()->m_strPopupClass, nullptr, WS_POPUP | WS_VISIBLE, rectScreen.left - 1,
             rectScreen.top, rectScreen.right - rectScreen.left + 1, rectScreen.bottom - rectScreen.top,
             pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
    GXSetGlobalValue(FALSE);
}

GXBrushWnd::~GXBrushWnd()
{
    delete m_pChild;
    if (m_hBrush != nullptr)
        ::DeleteObject(m_hBrush);
}

void GXBrushWnd::SetBkColor(COLORREF crText, COLORREF crBack)
{
    m_crText = crText;
    m_crBack = crBack;
    if (m_hBrush != nullptr)
        ::DeleteObject(m_hBrush);
    m_hBrush = ::CreateSolidBrush(crBack);
    m_bColors = TRUE;
}

HBRUSH GXBrushWnd::OnCtlColor(CDC* pDC, CWnd*, UINT)
{
    if (!m_bColors)
        return reinterpret_cast<HBRUSH>(Default());
    pDC->SetTextColor(m_crText);
    pDC->SetBkColor(m_crBack);
    return m_hBrush;
}

BOOL GXBrushWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_pChild != nullptr && reinterpret_cast<HWND>(lParam) == m_pChild->GetSafeHwnd() && m_pControlWnd != nullptr) {
        m_pControlWnd->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

// ---------------------------------------------------------------------------
// Frame line window

BEGIN_MESSAGE_MAP(GXFrameLineWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

GXFrameLineWnd::GXFrameLineWnd(CGXGridEngine* pGrid) : m_pGrid(pGrid)
{
    m_logPen.lopnStyle = PS_SOLID;
    m_logPen.lopnWidth.x = 1;
    m_logPen.lopnWidth.y = 0;
    m_logPen.lopnColor = 0;
}

BOOL GXFrameLineWnd::Create(CWnd* pParent)
{
    return CWnd::Create(AfxRegisterWndClass(0), nullptr, WS_CHILD, CRect(0, 0, 1, 1), pParent, 0);
}

void GXFrameLineWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    HPEN pen = ::CreatePenIndirect(&m_logPen);
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), pen);
    ::MoveToEx(dc.GetSafeHdc(), r.left, r.top, nullptr);
    ::LineTo(dc.GetSafeHdc(), r.right - 1, r.bottom - 1);
    ::SelectObject(dc.GetSafeHdc(), old);
    ::DeleteObject(pen);
}
