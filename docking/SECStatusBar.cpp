// The status bar of the docking frames.
#include "SECStatusBar.h"
#include <algorithm>

namespace {

// The command-update object of a pane.
class SECStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        auto* pBar = static_cast<SECStatusBar*>(m_pOther);
        UINT nStyle = pBar->GetPaneStyle((int)m_nIndex);
        pBar->SetPaneStyle((int)m_nIndex, bOn ? (nStyle & ~SBPS_DISABLED) : (nStyle | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override
    {
        auto* pBar = static_cast<SECStatusBar*>(m_pOther);
        UINT nStyle = pBar->GetPaneStyle((int)m_nIndex);
        pBar->SetPaneStyle((int)m_nIndex, nCheck ? (nStyle | SBPS_POPOUT) : (nStyle & ~SBPS_POPOUT));
    }
    void SetText(LPCSTR lpszText) override
    {
        static_cast<SECStatusBar*>(m_pOther)->SetPaneText((int)m_nIndex, lpszText);
    }
};

} // namespace

// ---- SECStatusBar -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECStatusBar, SECControlBar)

SECStatusBar::SECStatusBar() : m_nMinHeight(0)
{
    m_cyTopBorder = 2;
    if (SECGetSysData().bWin4)
        m_cxLeftBorder = m_cxRightBorder = m_cyBottomBorder = 0;
    else {
        m_cxLeftBorder = m_cxRightBorder = 2;
        m_cyBottomBorder = 1;
    }
}

SECStatusBar::~SECStatusBar() = default;

BOOL SECStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    SECRegisterMessages();
    ::InitCommonControls();
    m_dwStyle = dwStyle & CBRS_ALL;
    m_dwExStyle = 0;
    DWORD dwCtrlStyle = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY | CCS_NODIVIDER;
    if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwCtrlStyle |= SBARS_SIZEGRIP;
    dwStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle;
    return CWnd::Create(STATUSCLASSNAMEA, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL SECStatusBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!SECControlBar::PreCreateWindow(cs))
        return FALSE;
    // A bottom bar with only the top border loses it: the control draws its own edge.
    if (SECGetSysData().bWin4 && (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) == (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        m_dwStyle &= ~CBRS_BORDER_ANY;
    return TRUE;
}

BOOL SECStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    if (nIDCount <= 0 || lpIDArray == nullptr) {
        UpdateAllPanes(TRUE, TRUE);
        return TRUE;
    }
    m_panes.resize((size_t)nIDCount);
    BOOL bResult = TRUE;
    HDC hDC = m_hWnd != nullptr ? ::GetDC(m_hWnd) : ::GetDC(nullptr);
    HFONT hFont = m_hWnd != nullptr ? (HFONT)SendMessage(WM_GETFONT) : nullptr;
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    for (int i = 0; i < nIDCount; i++) {
        Pane& pane = m_panes[(size_t)i];
        pane.nFlags |= 1;
        pane.nID = lpIDArray[i];
        if (pane.nID == 0) {
            pane.cxText = AfxGetDisplayResolution().cx / 4;
            if (i == 0)
                pane.nStyle |= SBPS_NOBORDERS | SBPS_STRETCH;
            continue;
        }
        CString text;
        if (!text.LoadString(pane.nID)) {
            bResult = FALSE;
            break;
        }
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hDC, text, text.GetLength(), &size);
        pane.cxText = size.cx;
        pane.strText = text;
    }
    if (hOldFont != nullptr)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hWnd, hDC);
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

int SECStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); i++)
        if (m_panes[i].nID == nIDFind)
            return (int)i;
    return -1;
}

UINT SECStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[(size_t)nIndex].nID : 0;
}

void SECStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    const Pane& pane = m_panes[(size_t)nIndex];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void SECStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[(size_t)nIndex];
    pane.nID = nID;
    BOOL bChanged = pane.cxText != cxWidth;
    pane.cxText = cxWidth;
    if (pane.nStyle != nStyle) {
        if ((pane.nStyle ^ nStyle) & SBPS_STRETCH)
            bChanged = TRUE;
        pane.nStyle = nStyle;
        if (!bChanged)
            SendPaneText(nIndex);
    }
    if (bChanged)
        UpdateAllPanes(TRUE, FALSE);
}

UINT SECStatusBar::GetPaneStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[(size_t)nIndex].nStyle : 0;
}

void SECStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    const Pane& pane = m_panes[(size_t)nIndex];
    SetPaneInfo(nIndex, pane.nID, nStyle, pane.cxText);
}

void SECStatusBar::GetPaneText(int nIndex, CString& s) const
{
    s = nIndex >= 0 && nIndex < GetCount() ? m_panes[(size_t)nIndex].strText : CString();
}

CString SECStatusBar::GetPaneText(int nIndex) const
{
    CString s;
    GetPaneText(nIndex, s);
    return s;
}

void SECStatusBar::SendPaneText(int nIndex)
{
    Pane& pane = m_panes[(size_t)nIndex];
    pane.nFlags &= ~1u;
    if (m_hWnd == nullptr)
        return;
    WPARAM wParam = (WPARAM)nIndex | (pane.nStyle & 0xFF00);
    LPCSTR lpsz = (pane.nStyle & SBPS_DISABLED) ? nullptr : (LPCSTR)pane.strText;
    ::SendMessageA(m_hWnd, SB_SETTEXTA, wParam, (LPARAM)lpsz);
}

BOOL SECStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane& pane = m_panes[(size_t)nIndex];
    CString strNew = lpszNewText != nullptr ? lpszNewText : "";
    if (!(pane.nFlags & 1) && pane.strText == strNew)
        return TRUE;
    pane.strText = strNew;
    if (!bUpdate) {
        pane.nFlags |= 1;
        return TRUE;
    }
    SendPaneText(nIndex);
    return TRUE;
}

BOOL SECStatusBar::HasGrip() const
{
    if (m_hWnd == nullptr || !(GetStyle() & SBARS_SIZEGRIP))
        return FALSE;
    HWND hWndParent = ::GetParent(m_hWnd);
    return hWndParent == nullptr || !::IsZoomed(hWndParent);
}

void SECStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    SECControlBar::CalcInsideRect(rect, bHorz);
    if (HasGrip()) {
        int borders[3] = {0, 0, 0};
        ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, (LPARAM)borders);
        rect.right -= ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXBORDER) + borders[0];
    }
}

std::vector<int> SECStatusBar::PaneEdges(const std::vector<Pane>& panes, int nLeft, int nInsideWidth, int nBetween)
{
    int nExtra = nInsideWidth + nBetween;
    int nStretch = 0;
    for (const Pane& pane : panes) {
        nExtra -= pane.cxText + 6 + nBetween;
        if (pane.nStyle & SBPS_STRETCH)
            nStretch++;
    }
    std::vector<int> edges;
    int nRight = nLeft;
    for (const Pane& pane : panes) {
        if ((pane.nStyle & SBPS_STRETCH) && nExtra > 0 && nStretch > 0) {
            int nShare = nExtra / nStretch;
            nRight += nShare;
            nExtra -= nShare;
        }
        if (pane.nStyle & SBPS_STRETCH)
            nStretch--;
        nRight += pane.cxText + 6;
        edges.push_back(nRight);
        nRight += nBetween;
    }
    return edges;
}

void SECStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (m_hWnd == nullptr)
        return;
    if (bUpdateRects) {
        CRect rect;
        GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int borders[3] = {0, 0, 0};
        DefWindowProc(SB_GETBORDERS, 0, (LPARAM)borders);
        std::vector<int> edges = PaneEdges(m_panes, rect.left, rect.Width(), borders[2]);
        if (!edges.empty())
            DefWindowProc(SB_SETPARTS, edges.size(), (LPARAM)edges.data());
        else {
            int nNone = -1;
            DefWindowProc(SB_SETPARTS, 1, (LPARAM)&nNone);
        }
    }
    if (bUpdateText) {
        for (int i = 0; i < GetCount(); i++)
            if (m_panes[(size_t)i].nFlags & 1)
                SendPaneText(i);
    }
}

CSize SECStatusBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    if (!bHorz || m_hWnd == nullptr)
        return CSize(0, 0);
    HDC hDC = ::GetDC(m_hWnd);
    HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hDC, &tm);
    if (hOld != nullptr)
        ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, TRUE);
    int borders[3] = {0, 0, 0};
    ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, (LPARAM)borders);
    int cy = 2 * (borders[1] + ::GetSystemMetrics(SM_CYBORDER)) + tm.tmHeight - tm.tmInternalLeading - 1 -
             rectInside.Height();
    return CSize(32767, std::max(cy, m_nMinHeight));
}

CSize SECStatusBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void SECStatusBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
    if (m_hWnd != nullptr && ((dwOldStyle ^ dwNewStyle) & CBRS_ALIGN_ANY))
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SECStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    SECStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetCount();
    for (int i = 0; i < GetCount(); i++) {
        state.m_nIndex = (UINT)i;
        state.m_nID = m_panes[(size_t)i].nID;
        // The message pane is the frame's.
        if (state.m_nID == 0)
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void SECStatusBar::DoPaint(CDC*) {}

void SECStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL SECStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        if (pResult != nullptr)
            *pResult = TRUE;
        return TRUE;
    }
    return SECControlBar::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT SECStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST: {
        LRESULT lResult = Default();
        return lResult == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
    }
    case WM_PAINT:
        UpdateAllPanes(FALSE, TRUE);
        return Default();
    case WM_ERASEBKGND:
        return Default();
    case WM_SIZE: {
        LRESULT lResult = SECControlBar::WindowProc(message, wParam, lParam);
        UpdateAllPanes(TRUE, FALSE);
        return lResult;
    }
    case WM_SETTEXT: {
        int nIndex = CommandToIndex(0);
        if (nIndex < 0)
            return -1;
        SetPaneText(nIndex, (LPCSTR)lParam);
        return 0;
    }
    case WM_GETTEXT: {
        int nIndex = CommandToIndex(0);
        if (nIndex < 0 || wParam == 0 || lParam == 0)
            return 0;
        lstrcpynA((LPSTR)lParam, m_panes[(size_t)nIndex].strText, (int)wParam);
        return lstrlenA((LPCSTR)lParam);
    }
    case WM_GETTEXTLENGTH: {
        int nIndex = CommandToIndex(0);
        return nIndex < 0 ? 0 : m_panes[(size_t)nIndex].strText.GetLength();
    }
    case SB_SETMINHEIGHT:
        m_nMinHeight = (int)wParam;
        return Default();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_CONTEXTMENU:
        // A status bar is neither dragged nor docked elsewhere by the user.
        return Default();
    }
    return SECControlBar::WindowProc(message, wParam, lParam);
}

// ---- SECPaneStatusBar -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECPaneStatusBar, SECStatusBar)

SECPaneStatusBar::SECPaneStatusBar() : m_pChildWnd(nullptr) {}

SECPaneStatusBar::~SECPaneStatusBar()
{
    delete m_pChildWnd;
}

BOOL SECPaneStatusBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!SECStatusBar::PreCreateWindow(cs))
        return FALSE;
    cs.style |= 0x1000;
    return TRUE;
}

BOOL SECPaneStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    BOOL bResult = SECStatusBar::SetIndicators(lpIDArray, nIDCount);
    m_extras.assign(m_panes.size(), PaneEx());
    for (int i = 0; i < GetCount(); i++) {
        m_panes[(size_t)i].nStyle |= SBT_OWNERDRAW;
        SendPaneText(i);
    }
    return bResult;
}

void SECPaneStatusBar::RelayoutParent()
{
    HWND hWndParent = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (hWndParent == nullptr)
        return;
    CRect rect;
    ::GetWindowRect(hWndParent, &rect);
    ::SendMessageA(hWndParent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rect.Width(), rect.Height()));
}

void SECPaneStatusBar::SetPaneInfoEx(const SECPaneInfo& info, int nBorder)
{
    int nIndex = info.nIndex;
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    UINT nID, nStyle;
    int cxWidth;
    GetPaneInfo(nIndex, nID, nStyle, cxWidth);
    if (info.nMask & SEC_PANE_ID)
        nID = info.nID;
    if (info.nMask & SEC_PANE_STYLE)
        nStyle = info.nStyle;
    if (info.nMask & SEC_PANE_WIDTH)
        cxWidth = info.cxWidth;
    if ((info.nMask & SEC_PANE_BITMAP) && info.pBitmap != nullptr && info.pBitmap->GetSafeHandle() != nullptr) {
        BITMAP bm = {};
        ::GetObjectA((HBITMAP)info.pBitmap->GetSafeHandle(), sizeof bm, &bm);
        if (!(info.nMask & SEC_PANE_WIDTH))
            cxWidth = bm.bmWidth;
        CRect rectPane;
        GetPaneRect(nIndex, &rectPane);
        if (bm.bmHeight > rectPane.Height()) {
            SendMessage(SB_SETMINHEIGHT, (WPARAM)(bm.bmHeight + 2 * nBorder));
            RelayoutParent();
        }
    }
    nStyle |= SBT_OWNERDRAW;
    SetPaneInfo(nIndex, nID, nStyle, cxWidth);
    if (info.nMask & SEC_PANE_TEXT)
        SetPaneText(nIndex, info.strText, FALSE);
    if ((size_t)nIndex < m_extras.size()) {
        PaneEx& extra = m_extras[(size_t)nIndex];
        if (info.nMask & SEC_PANE_ALIGN)
            extra.nAlign = info.nAlign;
        if (info.nMask & SEC_PANE_TEXTCOLOR)
            extra.clrText = info.clrText;
        if (info.nMask & SEC_PANE_BKCOLOR)
            extra.clrBk = info.clrBk;
        if (info.nMask & SEC_PANE_BITMAP)
            extra.pBitmap = info.pBitmap;
        if (info.nMask & SEC_PANE_CURSOR)
            extra.hCursor = info.hCursor;
        extra.nFlags = info.nMask & (SEC_PANE_ALIGN | SEC_PANE_TEXTCOLOR | SEC_PANE_BKCOLOR | SEC_PANE_BITMAP |
                                     SEC_PANE_CURSOR);
    }
    if (m_hWnd != nullptr) {
        CRect rect;
        GetPaneRect(nIndex, &rect);
        InvalidateRect(&rect);
    }
}

void SECPaneStatusBar::RecalcPaneWidths()
{
    if (m_hWnd == nullptr)
        return;
    HDC hDC = ::GetDC(m_hWnd);
    HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    for (int i = 0; i < GetCount(); i++) {
        Pane& pane = m_panes[(size_t)i];
        if (pane.nStyle & SBPS_STRETCH)
            continue;
        int cx;
        const PaneEx* pExtra = (size_t)i < m_extras.size() ? &m_extras[(size_t)i] : nullptr;
        if (pExtra != nullptr && (pExtra->nFlags & SEC_PANE_BITMAP) && pExtra->pBitmap != nullptr &&
            pExtra->pBitmap->GetSafeHandle() != nullptr) {
            BITMAP bm = {};
            ::GetObjectA((HBITMAP)pExtra->pBitmap->GetSafeHandle(), sizeof bm, &bm);
            cx = bm.bmWidth;
        }
        else {
            SIZE size = {0, 0};
            ::GetTextExtentPoint32A(hDC, pane.strText, pane.strText.GetLength(), &size);
            cx = size.cx;
        }
        if (cx != pane.cxText)
            SetPaneInfo(i, pane.nID, pane.nStyle, cx);
    }
    if (hOld != nullptr)
        ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
}

void SECPaneStatusBar::GetPaneRect(int nIndex, LPRECT lpRect) const
{
    ::SetRectEmpty(lpRect);
    if (m_hWnd == nullptr || nIndex < 0 || nIndex >= GetCount() || nIndex >= 32)
        return;
    int edges[32];
    int nParts = (int)::SendMessageA(m_hWnd, SB_GETPARTS, 32, (LPARAM)edges);
    if (nIndex >= nParts)
        return;
    int borders[3] = {0, 0, 0};
    ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, (LPARAM)borders);
    CRect rectInside;
    GetClientRect(&rectInside);
    CalcInsideRect(rectInside, TRUE);
    lpRect->left = nIndex == 0 ? rectInside.left : edges[nIndex - 1] + borders[2];
    lpRect->right = edges[nIndex] == -1 ? rectInside.right : edges[nIndex];
    lpRect->top = rectInside.top;
    lpRect->bottom = std::max(rectInside.top, rectInside.bottom);
}

int SECPaneStatusBar::PaneFromPoint(CPoint point) const
{
    for (int i = 0; i < GetCount() && i < 32; i++) {
        CRect rect;
        GetPaneRect(i, &rect);
        if (rect.PtInRect(point))
            return i;
    }
    return -1;
}

void SECPaneStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    int nIndex = (int)lpDIS->itemID;
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    if (m_pChildWnd != nullptr && nIndex != 0)
        return;
    const Pane& pane = m_panes[(size_t)nIndex];
    if (pane.nStyle & SBPS_DISABLED)
        return;
    PaneEx extra = (size_t)nIndex < m_extras.size() ? m_extras[(size_t)nIndex] : PaneEx();
    HDC hDC = lpDIS->hDC;
    CRect rect = lpDIS->rcItem;
    if ((extra.nFlags & SEC_PANE_BITMAP) && extra.pBitmap != nullptr && extra.pBitmap->GetSafeHandle() != nullptr) {
        BITMAP bm = {};
        ::GetObjectA((HBITMAP)extra.pBitmap->GetSafeHandle(), sizeof bm, &bm);
        HDC hMemDC = ::CreateCompatibleDC(hDC);
        HGDIOBJ hOld = ::SelectObject(hMemDC, extra.pBitmap->GetSafeHandle());
        ::BitBlt(hDC, rect.left, rect.top, bm.bmWidth, bm.bmHeight, hMemDC, 0, 0, SRCCOPY);
        ::SelectObject(hMemDC, hOld);
        ::DeleteDC(hMemDC);
        return;
    }
    UINT nAlign = (extra.nFlags & SEC_PANE_ALIGN) ? extra.nAlign : TA_LEFT;
    int x = rect.left + 1;
    if (nAlign == TA_RIGHT)
        x = rect.right - 1;
    else if (nAlign == TA_CENTER)
        x = rect.left + rect.Width() / 2;
    UINT nOldAlign = ::SetTextAlign(hDC, nAlign);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(hDC, pane.strText, pane.strText.GetLength(), &size);
    int y = rect.top + (rect.Height() - size.cy) / 2;
    COLORREF clrOldText = ::GetTextColor(hDC);
    if (extra.nFlags & SEC_PANE_TEXTCOLOR)
        ::SetTextColor(hDC, extra.clrText);
    UINT nOptions = ETO_CLIPPED;
    int nOldMode;
    COLORREF clrOldBk = ::GetBkColor(hDC);
    if (extra.nFlags & SEC_PANE_BKCOLOR) {
        nOldMode = ::SetBkMode(hDC, OPAQUE);
        ::SetBkColor(hDC, extra.clrBk);
        nOptions |= ETO_OPAQUE;
    }
    else {
        nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    }
    ::ExtTextOutA(hDC, x, y, nOptions, &rect, pane.strText, (UINT)pane.strText.GetLength(), nullptr);
    ::SetBkMode(hDC, nOldMode);
    ::SetBkColor(hDC, clrOldBk);
    ::SetTextColor(hDC, clrOldText);
    ::SetTextAlign(hDC, nOldAlign);
}

LRESULT SECPaneStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR: {
        if (LOWORD(lParam) == HTCLIENT) {
            DWORD dwPos = ::GetMessagePos();
            CPoint point((short)LOWORD(dwPos), (short)HIWORD(dwPos));
            ScreenToClient(&point);
            int nPane = PaneFromPoint(point);
            if (nPane >= 0 && (size_t)nPane < m_extras.size() && (m_extras[(size_t)nPane].nFlags & SEC_PANE_CURSOR) &&
                m_extras[(size_t)nPane].hCursor != nullptr) {
                ::SetCursor(m_extras[(size_t)nPane].hCursor);
                return TRUE;
            }
        }
        break;
    }
    case WM_SETFONT: {
        LRESULT lResult = SECStatusBar::WindowProc(message, wParam, lParam);
        RelayoutParent();
        return lResult;
    }
    case WM_SETTEXT:
        if (m_pChildWnd != nullptr)
            return 0;
        break;
    case WM_SIZEPARENT: {
        LRESULT lResult = SECStatusBar::WindowProc(message, wParam, lParam);
        if (m_pChildWnd != nullptr && m_pChildWnd->m_hWnd != nullptr) {
            CRect rectClient;
            GetClientRect(&rectClient);
            SECPaneInfo info;
            info.nIndex = 0;
            info.cxWidth = rectClient.Width();
            info.nMask = SEC_PANE_WIDTH;
            SetPaneInfoEx(info);
            CRect rectChild;
            m_pChildWnd->GetWindowRect(&rectChild);
            ScreenToClient(&rectChild);
            m_pChildWnd->SetWindowPos(nullptr, 0, 0, rectClient.right - rectChild.left, rectChild.Height(),
                                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return lResult;
    }
    }
    return SECStatusBar::WindowProc(message, wParam, lParam);
}
