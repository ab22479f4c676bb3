// The docking frames and their gradient caption.
#include "SECFrame.h"
#include "SECBar.h"
#include "SECDockBar.h"
#include "SECDockContext.h"
#include "SECDockState.h"
#include <algorithm>

using std::max;
using std::min;

namespace {

// The sides of a docking frame, in the order they are searched, with their bar styles.
const DWORD s_sides[4][2] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

SECDockBar* FloatDockBarOf(CWnd* pFrame)
{
    return dynamic_cast<SECDockBar*>(CWnd::FromHandlePermanent(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_DOCKBAR_FLOAT)));
}

// The window at the end of the parent and owner chain.
HWND RootOwner(HWND hWnd)
{
    for (;;) {
        HWND hWndNext = (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd)
                                                                          : ::GetWindow(hWnd, GW_OWNER);
        if (hWndNext == nullptr)
            return hWnd;
        hWnd = hWndNext;
    }
}

// A bar floats in a frame of dwStyle: dynamic bars float across the top.
DWORD FloatStyleFor(CControlBar* pBar, DWORD dwStyle)
{
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT) {
            dwStyle &= ~CBRS_ALIGN_ANY;
            dwStyle |= CBRS_ALIGN_TOP;
        }
    }
    return dwStyle;
}

// A sizable bar's floating frame sizes from its corners too.
void AdaptFloatingFrame(CFrameWnd* pFrame, CControlBar* pBar)
{
    SECControlBar* pSECBar = SECBarOf(pBar);
    if (pSECBar != nullptr && !(pSECBar->m_dwExStyle & CBRS_EX_TOOLBARSIZE))
        pFrame->ModifyStyle(MFS_4THICKFRAME, MFS_THICKFRAME | WS_THICKFRAME, SWP_FRAMECHANGED);
}

} // namespace

// ---- Gradient fill ------------------------------------------------------------------------------

void SECGradientFill(CDC* pDC, const CRect& rect, int nBands, COLORREF clrStart, COLORREF clrEnd)
{
    if (nBands < 1 || rect.IsRectEmpty())
        return;
    int r = GetRValue(clrStart), g = GetGValue(clrStart), b = GetBValue(clrStart);
    int dr = 0, dg = 0, db = 0;
    if (nBands > 1) {
        dr = (GetRValue(clrEnd) - r) / (nBands - 1);
        dg = (GetGValue(clrEnd) - g) / (nBands - 1);
        db = (GetBValue(clrEnd) - b) / (nBands - 1);
    }
    int nBandWidth = rect.Width() / nBands;
    HGDIOBJ hOldPen = ::SelectObject(pDC->m_hDC, ::GetStockObject(NULL_PEN));
    for (int i = 0; i < nBands; i++) {
        int left = rect.left + i * nBandWidth;
        int right = i == nBands - 1 ? rect.right : rect.left + (i + 1) * nBandWidth;
        HBRUSH hBrush = ::CreateSolidBrush(RGB(r, g, b));
        HGDIOBJ hOldBrush = ::SelectObject(pDC->m_hDC, hBrush);
        // Without a pen the rectangle leaves its last column and row: one more of each.
        ::Rectangle(pDC->m_hDC, left, rect.top, right + 1, rect.bottom + 1);
        ::SelectObject(pDC->m_hDC, hOldBrush);
        ::DeleteObject(hBrush);
        r += dr;
        g += dg;
        b += db;
    }
    ::SelectObject(pDC->m_hDC, hOldPen);
}

static int Luminance(COLORREF clr)
{
    return (GetRValue(clr) * 299 + GetGValue(clr) * 587 + GetBValue(clr) * 114) / 1000;
}

COLORREF SECCaptionTextColor(COLORREF clrText, COLORREF clrBandStart, COLORREF clrBandEnd)
{
    // Readable: far enough in brightness from every colour of the band under the text.
    const int nMinContrast = 96;
    int nText = Luminance(clrText);
    if (abs(nText - Luminance(clrBandStart)) >= nMinContrast && abs(nText - Luminance(clrBandEnd)) >= nMinContrast)
        return clrText;
    // White, unless the whole band is light.
    int nDarkest = min(Luminance(clrBandStart), Luminance(clrBandEnd));
    return nDarkest < 160 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

void SECSplitCaption(const CString& strTitle, CString& strLead, CString& strRest)
{
    int n = strTitle.Find('-');
    if (n < 0) {
        strLead = strTitle;
        strRest.Empty();
    }
    else {
        strLead = strTitle.Left(n);
        strRest = strTitle.Mid(n);
    }
}

// ---- SECDockingFrameImpl --------------------------------------------------------------------------

SECDockingFrameImpl::SECDockingFrameImpl(CFrameWnd* pFrame)
    : m_pFrame(pFrame), m_pManager(nullptr), m_nCaptionAlign(captionLeft), m_bGradientCaption(FALSE),
      m_bGradientSupported(LOBYTE(LOWORD(::GetVersion())) >= 4)
{
}

void SECDockingFrameImpl::EnableDocking(DWORD dwDockStyle)
{
    if (m_pFrame->m_pFloatingFrameClass == nullptr)
        m_pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
    for (const auto& side : s_sides) {
        if (!(side[1] & dwDockStyle & CBRS_ALIGN_ANY) || m_pFrame->GetControlBar(side[0]) != nullptr)
            continue;
        auto* pDockBar = new SECDockBar(FALSE, FALSE);
        if (!pDockBar->Create(m_pFrame, side[1] | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, side[0]))
            AfxThrowResourceException();    // the dock bar deleted itself
    }
}

SECDockBar* SECDockingFrameImpl::SideDockBar(UINT nDockBarID, DWORD dwAlign) const
{
    if (nDockBarID != 0)
        return dynamic_cast<SECDockBar*>(m_pFrame->GetControlBar(nDockBarID));
    for (const auto& side : s_sides) {
        if ((side[1] & CBRS_ALIGN_ANY) == (dwAlign & CBRS_ALIGN_ANY))
            return dynamic_cast<SECDockBar*>(m_pFrame->GetControlBar(side[0]));
    }
    return nullptr;
}

void SECDockingFrameImpl::DockControlBarEx(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth,
                                           int nLength)
{
    SECControlBar* pSECBar = SECBarOf(pBar);
    if (pSECBar != nullptr) {
        pSECBar->OnBarDock();
        pSECBar->m_fPctWidth = fPctWidth;
    }
    CDockBar* pDockBar = nDockBarID != 0 ? dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(nDockBarID))
                                         : SideDockBar(0, pBar->m_dwStyle);
    if (pDockBar == nullptr)
        return;
    // The length is the bar's thickness across its dock bar.
    DWORD dwMode;
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && pBar->IsFloating())
        dwMode = LM_HORZ | LM_MRUWIDTH | LM_LENGTHY;
    else if (pDockBar->m_dwStyle & CBRS_ORIENT_HORZ)
        dwMode = LM_HORZ | LM_HORZDOCK | LM_LENGTHY;
    else
        dwMode = LM_VERTDOCK;
    pBar->CalcDynamicLayout(nLength, dwMode | LM_COMMIT);
    if (auto* pSECDockBar = dynamic_cast<SECDockBar*>(pDockBar))
        pSECDockBar->DockControlBarAt(pBar, nCol, nRow);
    else
        pDockBar->DockControlBar(pBar);
}

void SECDockingFrameImpl::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (SECControlBar* pSECBar = SECBarOf(pBar))
        pSECBar->OnBarDock();
    if (pDockBar == nullptr) {
        // A side that kept the bar's place, else the side of its alignment.
        void* pEntry = AfxDockPlaceholder((UINT)::GetDlgCtrlID(pBar->m_hWnd));
        for (const auto& side : s_sides) {
            auto* pSide = dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(side[0]));
            if (pSide != nullptr && pSide->FindBar(pEntry) > 0) {
                pDockBar = pSide;
                break;
            }
        }
        if (pDockBar == nullptr)
            pDockBar = SideDockBar(0, pBar->m_dwStyle);
    }
    if (pDockBar == nullptr)
        return;
    if (auto* pSECDockBar = dynamic_cast<SECDockBar*>(pDockBar))
        pSECDockBar->ReDockControlBar(pBar, lpRect);
    else
        pDockBar->DockControlBar(pBar, lpRect);
}

void SECDockingFrameImpl::DockControlBarAtRect(CControlBar* pBar, CDockBar* pDockBar, const CRect& rect)
{
    if (SECControlBar* pSECBar = SECBarOf(pBar))
        pSECBar->OnBarDock();
    pDockBar->DockControlBar(pBar, &rect);
}

CMiniDockFrameWnd* SECDockingFrameImpl::CreateFloatingFrame(DWORD dwStyle)
{
    return m_pFrame->CreateFloatingFrame(dwStyle);
}

void SECDockingFrameImpl::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    SECControlBar* pSECBar = SECBarOf(pBar);
    auto* pOldDockBar = dynamic_cast<SECDockBar*>(pBar->m_pDockBar);
    BOOL bInMDIChild = pOldDockBar != nullptr && pOldDockBar->m_bMDIChild;
    if (pBar->m_pDockBar != nullptr && pBar->m_pDockBar->m_bFloating && !bInMDIChild &&
        pBar->m_pDockBar->GetDockedCount() == 1 && (dwStyle & pBar->m_pDockBar->m_dwStyle & CBRS_ALIGN_ANY)) {
        // Already floating alone: only its frame moves.
        CFrameWnd* pDockFrame = pBar->m_pDockBar->GetParentFrame();
        pDockFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pDockFrame->RecalcLayout(TRUE);
        pDockFrame->UpdateWindow();
        return;
    }
    if (pSECBar != nullptr) {
        pSECBar->OnBarFloat();
        if (!pBar->IsFloating())
            pSECBar->m_fSavedPctWidth = pSECBar->m_fPctWidth;
    }
    CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(FloatStyleFor(pBar, dwStyle));
    pDockFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pDockFrame->m_hWndOwner == nullptr)
        pDockFrame->m_hWndOwner = pBar->m_hWnd;
    CDockBar* pDockBar = FloatDockBarOf(pDockFrame);
    if (bInMDIChild)
        pDockBar->ReDockControlBar(pBar);
    else
        pDockBar->DockControlBar(pBar);
    AdaptFloatingFrame(pDockFrame, pBar);
    pDockFrame->RecalcLayout(TRUE);
    pDockFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pBar->GetStyle() & WS_VISIBLE) {
        pDockFrame->ShowWindow(SW_SHOWNA);
        pDockFrame->UpdateWindow();
    }
}

void SECDockingFrameImpl::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    m_pFrame->CFrameWnd::ShowControlBar(pBar, bShow, bDelay);
    // Its row keeps its share when it comes back.
    if (auto* pDockBar = dynamic_cast<SECDockBar*>(pBar->m_pDockBar))
        pDockBar->SetBarDocking(pBar);
}

void SECDockingFrameImpl::AfterRecalcLayout()
{
    if (!m_rectLastClient.IsRectEmpty()) {
        for (HWND hWnd = ::GetTopWindow(m_pFrame->m_hWnd); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
            if (auto* pDockBar = dynamic_cast<SECDockBar*>(CWnd::FromHandlePermanent(hWnd)))
                pDockBar->Flush();
        }
    }
    else
        m_pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &m_rectLastClient);
}

// ---- Saved layout ---------------------------------------------------------------------------------

void SECDockingFrameImpl::LoadBarState(LPCSTR lpszProfileName)
{
    SECDockState state(m_pManager);
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr && pThread->m_pMainWnd == nullptr)
        pThread->m_pMainWnd = m_pFrame;
    state.LoadState(lpszProfileName);
    m_pFrame->SetDockState(state);
}

void SECDockingFrameImpl::SaveBarState(LPCSTR lpszProfileName) const
{
    SECDockState state(m_pManager);
    m_pFrame->GetDockState(state);
    state.SaveState(lpszProfileName);
}

void SECDockingFrameImpl::GetDockState(CDockState& state) const
{
    state.Clear();
    POSITION pos = m_pFrame->m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = static_cast<CControlBar*>(m_pFrame->m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd == nullptr)
            continue;
        auto* pInfo = new SECControlBarInfo(m_pManager);
        pBar->GetBarInfo(pInfo);
        state.m_arrBarInfo.Add(pInfo);
    }
}

void SECDockingFrameImpl::SetDockState(const CDockState& constState)
{
    // Records whose bars cannot be found leave the state.
    CDockState& state = const_cast<CDockState&>(constState);
    auto* pMDIFrame = dynamic_cast<SECMDIFrameWnd*>(m_pFrame);
    AfxDetachDockStateBars(m_pFrame, state);

    // 1. The floating frames the records need, and each record's bar.
    CPtrArray arrChildren;      // MDI children made here
    CPtrArray arrChildInfos;    // and their records
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        auto* pSECInfo = dynamic_cast<SECControlBarInfo*>(pInfo);
        CControlBar* pBar = nullptr;
        if (pInfo->m_bFloating) {
            DWORD dwStyle = pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT;
            if (pSECInfo != nullptr && pSECInfo->m_bMDIChild && pMDIFrame != nullptr) {
                if (CMDIChildWnd* pChild = pMDIFrame->CreateFloatingMDIChild(dwStyle)) {
                    pBar = FloatDockBarOf(pChild);
                    arrChildren.Add(pChild);
                    arrChildInfos.Add(pInfo);
                }
            }
            else {
                CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(dwStyle);
                CRect rect(pInfo->m_pointPos, CSize(10, 10));
                pDockFrame->CalcWindowRect(&rect);
                pDockFrame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0,
                                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                pBar = FloatDockBarOf(pDockFrame);
            }
        }
        else {
            pBar = m_pFrame->GetControlBar(pInfo->m_nBarID);
            if (pBar == nullptr && m_pManager != nullptr && pSECInfo != nullptr)
                pBar = m_pManager->CreateBar(pSECInfo);
        }
        if (pBar == nullptr) {
            delete pInfo;
            state.m_arrBarInfo.RemoveAt(i--);
            continue;
        }
        pInfo->m_pBar = pBar;
        pBar->m_nMRUWidth = pInfo->m_nMRUWidth;
    }

    // 2. Every record applied to its bar.
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        pInfo->m_pBar->SetBarInfo(pInfo, m_pFrame);
    }
    AfxReattachDockStateBars(m_pFrame);

    // 3. Extended styles; floating frames with a visible bar show up; docked bars are repainted.
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        CControlBar* pBar = pInfo->m_pBar;
        auto* pSECInfo = dynamic_cast<SECControlBarInfo*>(pInfo);
        if (SECControlBar* pSECBar = SECBarOf(pBar)) {
            if (pSECInfo != nullptr)
                pSECBar->SetExBarStyle(pSECInfo->m_dwExStyle, FALSE);
        }
        if (pInfo->m_bFloating) {
            auto* pDockBar = static_cast<CDockBar*>(pBar);
            CFrameWnd* pDockFrame = pDockBar->GetParentFrame();
            if (pDockBar->GetDockedCount() == 0) {
                // None of its bars exists any more.
                for (int j = 0; j < arrChildren.GetSize(); j++) {
                    if (arrChildren[j] == pDockFrame) {
                        arrChildren.RemoveAt(j);
                        arrChildInfos.RemoveAt(j);
                        break;
                    }
                }
                pDockFrame->DestroyWindow();
                continue;
            }
            // A sizable bar's frame sizes from its corners too.
            for (int j = 0; j < pDockBar->m_arrBars.GetSize(); j++) {
                if (CControlBar* pFloating = pDockBar->GetDockedControlBar(j)) {
                    if (pDockFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
                        AdaptFloatingFrame(pDockFrame, pFloating);
                    break;
                }
            }
            if (pDockBar->GetDockedVisibleCount() > 0) {
                pDockFrame->RecalcLayout();
                pDockFrame->ShowWindow(SW_SHOWNA);
            }
        }
        else if (auto* pDockBar = dynamic_cast<SECDockBar*>(pBar->m_pDockBar))
            pDockBar->AddToRedraw(pBar);
    }

    // 4. The layout now; the MDI children go to their places in the MDI client.
    m_pFrame->RecalcLayout();
    if (pMDIFrame != nullptr) {
        for (int j = 0; j < arrChildren.GetSize(); j++) {
            auto* pChild = static_cast<CWnd*>(arrChildren[j]);
            auto* pInfo = static_cast<CControlBarInfo*>(arrChildInfos[j]);
            CPoint pt = pInfo->m_pointPos;
            m_pFrame->ClientToScreen(&pt);
            ::ScreenToClient(pMDIFrame->m_hWndMDIClient, &pt);
            pChild->SetWindowPos(nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    m_pFrame->DelayRecalcLayout();
}

// ---- Gradient caption -----------------------------------------------------------------------------

BOOL SECDockingFrameImpl::EnableGradientCaption(BOOL bEnable, BOOL bRedraw)
{
    if (!m_bGradientSupported)
        return FALSE;
    BOOL bOld = m_bGradientCaption;
    m_bGradientCaption = bEnable;
    if (bRedraw && m_pFrame->m_hWnd != nullptr) {
        CRect rect;
        m_pFrame->GetWindowRect(&rect);
        HRGN hRgn = ::CreateRectRgn(rect.left, rect.top, rect.right,
                                    rect.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION));
        m_pFrame->SendMessage(WM_NCPAINT, (WPARAM)hRgn, 0);
        ::DeleteObject(hRgn);
    }
    return bOld;
}

CRect SECDockingFrameImpl::CaptionRect() const
{
    DWORD dwStyle = m_pFrame->GetStyle();
    CRect rectWindow;
    m_pFrame->GetWindowRect(&rectWindow);
    CRect rect(0, 0, rectWindow.Width(), rectWindow.Height());
    if (dwStyle & WS_THICKFRAME)
        rect.DeflateRect(::GetSystemMetrics(SM_CXSIZEFRAME), ::GetSystemMetrics(SM_CYSIZEFRAME));
    rect.bottom = rect.top + ::GetSystemMetrics(SM_CYSIZE);
    int cxButton = ::GetSystemMetrics(SM_CXSIZE);
    int cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    if (dwStyle & WS_SYSMENU) {
        rect.left += cxButton + cxBorder;
        int nButtons = 0;
        if (dwStyle & WS_MINIMIZEBOX)
            nButtons++;
        if (dwStyle & WS_MAXIMIZEBOX)
            nButtons++;
        HMENU hSysMenu = ::GetSystemMenu(m_pFrame->m_hWnd, FALSE);
        UINT nClose = hSysMenu != nullptr ? ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) : (UINT)-1;
        if (nClose != (UINT)-1 && !(nClose & (MF_GRAYED | MF_DISABLED)))
            nButtons++;
        rect.right -= nButtons * cxButton;
        if (m_bGradientSupported && (dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
            rect.right -= cxBorder;
    }
    if (rect.right < rect.left)
        rect.right = rect.left;
    return rect;
}

BOOL SECDockingFrameImpl::IsCaptionActive() const
{
    HWND hWndActive = ::GetForegroundWindow();
    return hWndActive != nullptr && RootOwner(hWndActive) == m_pFrame->m_hWnd && m_pFrame->IsWindowEnabled();
}

void SECDockingFrameImpl::PaintCaption()
{
    CRect rectCaption = CaptionRect();
    if (rectCaption.IsRectEmpty() || m_pFrame->IsIconic())
        return;
    BOOL bActive = m_bCaptionActive;
    CWindowDC dc(m_pFrame);
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dc))
        return;
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(&dc, rectCaption.Width(), rectCaption.Height()))
        return;
    CBitmap* pOldBitmap = dcMem.SelectObject(&bitmap);
    CRect rect(0, 0, rectCaption.Width(), rectCaption.Height());
    if (bActive)
        SECGradientFill(&dcMem, rect, 60, RGB(0, 0, 0), ::GetSysColor(COLOR_ACTIVECAPTION));
    else
        dcMem.FillSolidRect(&rect, ::GetSysColor(COLOR_INACTIVECAPTION));

    // The title: its part before the first "-" in italics, the rest upright.
    CString strTitle, strLead, strRest;
    m_pFrame->GetWindowText(strTitle);
    SECSplitCaption(strTitle, strLead, strRest);
    NONCLIENTMETRICSA ncm;
    memset(&ncm, 0, sizeof ncm);
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    LOGFONTA lfItalic = ncm.lfCaptionFont;
    lfItalic.lfItalic = TRUE;
    HFONT hFontPlain = ::CreateFontIndirectA(&ncm.lfCaptionFont);
    HFONT hFontItalic = ::CreateFontIndirectA(&lfItalic);
    HGDIOBJ hOldFont = ::SelectObject(dcMem.m_hDC, hFontItalic);
    SIZE sizeLead = {0, 0}, sizeRest = {0, 0};
    ::GetTextExtentPoint32A(dcMem.m_hDC, strLead, strLead.GetLength(), &sizeLead);
    ::SelectObject(dcMem.m_hDC, hFontPlain);
    ::GetTextExtentPoint32A(dcMem.m_hDC, strRest, strRest.GetLength(), &sizeRest);
    int cxTitle = sizeLead.cx + sizeRest.cx;
    int x = rect.left;
    if (m_nCaptionAlign == captionCentre)
        x = rect.left + (rect.Width() - cxTitle) / 2;
    else if (m_nCaptionAlign == captionRight)
        x = rect.right - cxTitle;
    x = max(x, (int)rect.left);
    ::SetBkMode(dcMem.m_hDC, TRANSPARENT);
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT;
    // The band under the title: the gradient from black over its width, or the plain colour.
    COLORREF clrBandStart = ::GetSysColor(COLOR_INACTIVECAPTION), clrBandEnd = clrBandStart;
    if (bActive) {
        COLORREF clrEnd = ::GetSysColor(COLOR_ACTIVECAPTION);
        auto at = [&](int xAt) {
            double f = rect.Width() > 0 ? min(1.0, max(0.0, (double)(xAt - rect.left) / rect.Width())) : 0.0;
            return RGB((int)(GetRValue(clrEnd) * f), (int)(GetGValue(clrEnd) * f), (int)(GetBValue(clrEnd) * f));
        };
        clrBandStart = at(x);
        clrBandEnd = at(min((int)rect.right, x + cxTitle));
    }
    COLORREF clrLead = SECCaptionTextColor(::GetSysColor(COLOR_CAPTIONTEXT), clrBandStart, clrBandEnd);
    COLORREF clrRest = SECCaptionTextColor(::GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT),
                                           clrBandStart, clrBandEnd);
    ::SelectObject(dcMem.m_hDC, hFontItalic);
    ::SetTextColor(dcMem.m_hDC, clrLead);
    RECT rectText = {x, rect.top, rect.right, rect.bottom};
    ::DrawTextA(dcMem.m_hDC, strLead, strLead.GetLength(), &rectText, nFormat);
    if (!strRest.IsEmpty() && x + sizeLead.cx < rect.right) {
        ::SelectObject(dcMem.m_hDC, hFontPlain);
        ::SetTextColor(dcMem.m_hDC, clrRest);
        rectText.left = x + sizeLead.cx;
        ::DrawTextA(dcMem.m_hDC, strRest, strRest.GetLength(), &rectText, nFormat);
    }
    ::SelectObject(dcMem.m_hDC, hOldFont);
    ::DeleteObject(hFontPlain);
    ::DeleteObject(hFontItalic);

    dc.BitBlt(rectCaption.left, rectCaption.top, rectCaption.Width(), rectCaption.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOldBitmap);
}

LRESULT SECDockingFrameImpl::DefaultHidden(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_pFrame->m_hWnd;
    LONG_PTR lStyle = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
    BOOL bVisible = (lStyle & WS_VISIBLE) != 0;
    if (bVisible)
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, lStyle & ~WS_VISIBLE);
    LRESULT lResult = m_pFrame->DefWindowProc(nMsg, wParam, lParam);
    if (bVisible)
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, ::GetWindowLongPtrA(hWnd, GWL_STYLE) | WS_VISIBLE);
    return lResult;
}

BOOL SECDockingFrameImpl::OnNcPaint(WPARAM wParam)
{
    if (!m_bGradientCaption)
        return FALSE;
    CRect rectWindow;
    m_pFrame->GetWindowRect(&rectWindow);
    CRect rectCaption = CaptionRect();
    rectCaption.OffsetRect(rectWindow.TopLeft());
    HRGN hRgnUpdate = wParam > 1 ? (HRGN)wParam : nullptr;
    if (hRgnUpdate != nullptr && !::RectInRegion(hRgnUpdate, &rectCaption))
        return FALSE;
    // The system paints everything but the caption; the caption is painted here.
    HRGN hRgn = ::CreateRectRgnIndirect(&rectWindow);
    if (hRgnUpdate != nullptr)
        ::CombineRgn(hRgn, hRgnUpdate, nullptr, RGN_COPY);
    HRGN hRgnCaption = ::CreateRectRgnIndirect(&rectCaption);
    ::CombineRgn(hRgn, hRgn, hRgnCaption, RGN_DIFF);
    ::DeleteObject(hRgnCaption);
    m_pFrame->DefWindowProc(WM_NCPAINT, (WPARAM)hRgn, 0);
    ::DeleteObject(hRgn);
    PaintCaption();
    return TRUE;
}

BOOL SECDockingFrameImpl::OnNcActivate(BOOL bActive, BOOL bStayActive, LRESULT* pResult)
{
    if (!m_bGradientCaption)
        return FALSE;
    if (bStayActive)
        bActive = TRUE;
    if (!m_pFrame->IsWindowEnabled())
        bActive = FALSE;
    m_bCaptionActive = bActive;
    // The active frame inside (an MDI child, a floating bar) follows.
    CFrameWnd* pActiveFrame = m_pFrame->GetActiveFrame();
    if (pActiveFrame != nullptr && pActiveFrame != m_pFrame) {
        pActiveFrame->SendMessage(WM_NCACTIVATE, bActive, 0);
        pActiveFrame->SendMessage(WM_NCPAINT, 1, 0);
    }
    *pResult = DefaultHidden(WM_NCACTIVATE, bActive, 0);
    m_pFrame->SendMessage(WM_NCPAINT, 1, 0);
    return TRUE;
}

BOOL SECDockingFrameImpl::OnSetText(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!m_bGradientCaption)
        return FALSE;
    *pResult = DefaultHidden(WM_SETTEXT, wParam, lParam);
    PaintCaption();
    return TRUE;
}

BOOL SECDockingFrameImpl::OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL bStayActive,
                                         LRESULT* pResult)
{
    switch (message) {
    case WM_NCPAINT:
        *pResult = 0;
        return OnNcPaint(wParam);
    case WM_NCACTIVATE:
        return OnNcActivate((BOOL)wParam, bStayActive, pResult);
    case WM_SETTEXT:
        return OnSetText(wParam, lParam, pResult);
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        if (m_bRepaintOnNcButton && m_bGradientCaption)
            PaintCaption();
        break;
    }
    return FALSE;
}

void SECDockingFrameImpl::OnSysColorChange()
{
    SECGetSysData().Update();
    AfxGetBarData().Update();
}

SECDockingFrameImpl* SECGetDockingFrame(CFrameWnd* pFrame)
{
    if (auto* pMDIFrame = dynamic_cast<SECDockingFrameT<CMDIFrameWnd>*>(pFrame))
        return &pMDIFrame->m_impl;
    if (auto* pSDIFrame = dynamic_cast<SECDockingFrameT<CFrameWnd>*>(pFrame))
        return &pSDIFrame->m_impl;
    return nullptr;
}

// ---- SECMDIFrameWnd -------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECMDIFrameWnd, CMDIFrameWnd)
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_MESSAGE(WM_SECEXTENDCONTEXTMENU, OnExtendContextMenu)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

SECMDIFrameWnd::SECMDIFrameWnd()
    : m_pMDIFloatClass(RUNTIME_CLASS(SECControlBarMDIChildWnd)), m_ptCascade(30, 30), m_pActiveFloatingBar(nullptr)
{
}

CMDIChildWnd* SECMDIFrameWnd::CreateFloatingMDIChild(DWORD, CCreateContext* pContext)
{
    CObject* pObject = m_pMDIFloatClass != nullptr ? m_pMDIFloatClass->CreateObject() : nullptr;
    auto* pChild = dynamic_cast<CMDIChildWnd*>(pObject);
    if (pChild == nullptr) {
        delete pObject;
        AfxThrowNotSupportedException();
    }
    if (!pChild->LoadFrame(IDR_SEC_MDIFLOAT, WS_CHILD | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | FWS_SNAPTOBARS,
                           this, pContext))
        return nullptr;     // the child deleted itself
    return pChild;
}

void SECMDIFrameWnd::FloatControlBarInMDIChild(CControlBar* pBar, int x, int y, DWORD dwStyle)
{
    if (SECControlBar* pSECBar = SECBarOf(pBar))
        pSECBar->OnBarMDIFloat();
    CPoint point;
    if (x < 0 || y < 0) {
        // The next cascade place, which then moves on down and right.
        point = m_ptCascade;
        CRect rectClient;
        ::GetClientRect(m_hWndMDIClient, &rectClient);
        m_ptCascade.x += 20;
        if (m_ptCascade.x > rectClient.Width() - 30)
            m_ptCascade.x = 30;
        m_ptCascade.y += 23;
        if (m_ptCascade.y > rectClient.Height() - 30)
            m_ptCascade.y = 30;
    }
    else {
        point = CPoint(x, y);
        ::ScreenToClient(m_hWndMDIClient, &point);
    }
    auto* pOldDockBar = dynamic_cast<SECDockBar*>(pBar->m_pDockBar);
    if (pOldDockBar != nullptr && pOldDockBar->m_bMDIChild && pOldDockBar->GetDockedCount() == 1 &&
        (dwStyle & pOldDockBar->m_dwStyle & CBRS_ALIGN_ANY)) {
        if (CWnd* pChild = pOldDockBar->GetParent())
            pChild->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    CMDIChildWnd* pChild = CreateFloatingMDIChild(FloatStyleFor(pBar, dwStyle));
    if (pChild == nullptr)
        return;
    SECDockBar* pDockBar = FloatDockBarOf(pChild);
    if (pDockBar == nullptr) {
        pChild->DestroyWindow();
        return;
    }
    pDockBar->DockControlBar(pBar);
    pChild->RecalcLayout();
    pChild->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pChild->ShowWindow(SW_SHOWNA);
}

void SECMDIFrameWnd::UnFloatControlBarFromMDIChild(CControlBar* pBar, int x, int y, DWORD dwStyle)
{
    CPoint point(x, y);
    if (x < 0 || y < 0) {
        CRect rect;
        pBar->GetWindowRect(&rect);
        point = rect.TopLeft();
    }
    m_impl.FloatControlBar(pBar, point, dwStyle);
}

void SECMDIFrameWnd::ActivateFloatingBar(CWnd* pWnd)
{
    if (pWnd == nullptr) {
        DeactivateFloatingBar(nullptr);
        return;
    }
    if (pWnd != m_pActiveFloatingBar) {
        pWnd->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
        m_pActiveFloatingBar = pWnd;
    }
}

void SECMDIFrameWnd::DeactivateFloatingBar(CWnd* pWnd)
{
    if (m_pActiveFloatingBar != nullptr && ::IsWindow(m_pActiveFloatingBar->m_hWnd))
        m_pActiveFloatingBar->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    if (pWnd != nullptr) {
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
        ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
    }
    else
        ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
    m_pActiveFloatingBar = pWnd;
    OnUpdateFrameTitle(TRUE);
    OnUpdateFrameMenu(nullptr);
    DrawMenuBar();
}

CWnd* SECMDIFrameWnd::CommandTarget() const
{
    if (m_pActiveFloatingBar != nullptr && ::IsWindow(m_pActiveFloatingBar->m_hWnd))
        return m_pActiveFloatingBar;
    return MDIGetActive();
}

CFrameWnd* SECMDIFrameWnd::GetActiveFrame()
{
    // Only a floating bar that is a frame can be the active frame.
    if (m_pActiveFloatingBar != nullptr && ::IsWindow(m_pActiveFloatingBar->m_hWnd) &&
        m_pActiveFloatingBar->IsFrameWnd())
        return static_cast<CFrameWnd*>(m_pActiveFloatingBar);
    return CMDIFrameWnd::GetActiveFrame();
}

BOOL SECMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd* pTarget = CommandTarget()) {
        CPushRoutingFrame push(this);
        if (pTarget->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL SECMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pTarget = CommandTarget()) {
        CPushRoutingFrame push(this);
        if (AfxCallWndProc(pTarget, pTarget->m_hWnd, WM_COMMAND, wParam, lParam) != 0)
            return TRUE;
    }
    if (CFrameWnd::OnCommand(wParam, lParam))
        return TRUE;
    if (LOWORD(wParam) >= 0xF000) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

void SECMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (m_pActiveFloatingBar != nullptr && ::IsWindow(m_pActiveFloatingBar->m_hWnd) &&
        m_pActiveFloatingBar->IsFrameWnd()) {
        static_cast<CFrameWnd*>(m_pActiveFloatingBar)->OnUpdateFrameMenu(hMenuAlt);
        return;
    }
    CMDIFrameWnd::OnUpdateFrameMenu(hMenuAlt);
}

void SECMDIFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState != WA_INACTIVE) {
        if (CWinThread* pThread = AfxGetThread())
            pThread->m_pMainWnd = this;
    }
}

void SECMDIFrameWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    if (m_pActiveFloatingBar != nullptr) {
        ::PostMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
        ::PostMessageA(m_hWndMDIClient, WM_NCACTIVATE, 0, 0);
    }
    CMDIFrameWnd::OnActivateApp(bActive, dwThreadID);
}

LRESULT SECMDIFrameWnd::OnExtendContextMenu(WPARAM wParam, LPARAM lParam)
{
    SECControlBar* pBar = SECBarOf(reinterpret_cast<CControlBar*>(wParam));
    auto* pMenu = reinterpret_cast<CMenu*>(lParam);
    if (pBar == nullptr || pMenu == nullptr)
        return 0;
    BOOL bMDIChild = pBar->IsMDIChild();
    if (bMDIChild)
        pMenu->EnableMenuItem(ID_SEC_ALLOWDOCKING, MF_BYCOMMAND | MF_GRAYED);
    if (pBar->m_dwExStyle & CBRS_EX_MDIFLOAT) {
        CString strText;
        if (!strText.LoadString(ID_SEC_MDIFLOAT))
            strText = "&Float In Main Window";
        pMenu->AppendMenu(MF_SEPARATOR);
        pMenu->AppendMenu(MF_STRING | (bMDIChild ? MF_CHECKED : MF_UNCHECKED), ID_SEC_MDIFLOAT, strText);
    }
    return 0;
}

LRESULT SECMDIFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam)
{
    if (lParam == 0 && m_nIDTracking != 0)
        lParam = 0x10000 + m_nIDTracking;
    if (CWnd* pTarget = CommandTarget()) {
        if (pTarget->SendMessage(WM_COMMANDHELP, 0, lParam))
            return TRUE;
    }
    if (lParam != 0) {
        if (CWinApp* pApp = AfxGetApp())
            pApp->WinHelp(lParam);
        return TRUE;
    }
    return FALSE;
}

// ---- SECFrameWnd ----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
END_MESSAGE_MAP()

SECFrameWnd::SECFrameWnd()
{
    m_impl.m_bRepaintOnNcButton = TRUE;
}

// ---- SECMDIChildWnd -------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(SECMDIChildWnd, CMDIChildWnd)
    ON_WM_MOUSEACTIVATE()
    ON_WM_CHILDACTIVATE()
END_MESSAGE_MAP()

SECMDIChildWnd::SECMDIChildWnd() = default;

namespace {

void DeactivateFloatingBarOf(CMDIChildWnd* pChild)
{
    auto* pFrame = dynamic_cast<SECMDIFrameWnd*>(pChild->GetMDIFrame());
    if (pFrame != nullptr && pFrame->m_pActiveFloatingBar != nullptr)
        pFrame->DeactivateFloatingBar(nullptr);
}

} // namespace

int SECMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult != MA_NOACTIVATE && nResult != MA_NOACTIVATEANDEAT)
        DeactivateFloatingBarOf(this);
    return nResult;
}

void SECMDIChildWnd::OnChildActivate()
{
    Default();
    DeactivateFloatingBarOf(this);
}

// ---- SECControlBarMDIChildWnd ---------------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECControlBarMDIChildWnd, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECControlBarMDIChildWnd, SECMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECControlBarMDIChildWnd::SECControlBarMDIChildWnd() : m_wndDockBar(TRUE, TRUE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;
}

SECControlBarMDIChildWnd::~SECControlBarMDIChildWnd() = default;

BOOL SECControlBarMDIChildWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
    // Made in the main frame, so that it is one of the main frame's bars, then moved here.
    CMDIFrameWnd* pMainFrame = GetMDIFrame();
    if (pMainFrame == nullptr ||
        !m_wndDockBar.Create(pMainFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_FLOAT))
        return FALSE;
    m_wndDockBar.SetParent(this);
    return TRUE;
}

CControlBar* SECControlBarMDIChildWnd::GetFirstVisibleBar()
{
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); i++) {
        CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i);
        if (pBar != nullptr && pBar->IsVisible())
            return pBar;
    }
    return nullptr;
}

void SECControlBarMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    // The child's size is the bar's floating size (its border lines lie outside the child).
    if (nType != SIZE_MINIMIZED && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
        if (CControlBar* pBar = GetFirstVisibleBar()) {
            const SECSysData& data = SECGetSysData();
            pBar->CalcDynamicLayout(cx + 2 * data.cxBorder, LM_COMMIT | LM_MRUWIDTH);
            pBar->CalcDynamicLayout(cy + 2 * data.cyBorder, LM_COMMIT | LM_MRUWIDTH | LM_LENGTHY);
        }
    }
    SECMDIChildWnd::OnSize(nType, cx, cy);
}

void SECControlBarMDIChildWnd::OnClose()
{
    CControlBar* pBar = nullptr;
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize() && pBar == nullptr; i++)
        pBar = m_wndDockBar.GetDockedControlBar(i);
    if (pBar == nullptr || (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
        SECMDIChildWnd::OnClose();
        return;
    }
    // Closing hides the bar; the child stays for it.
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0);
    if (CFrameWnd* pFrame = pBar->GetParentFrame())
        pFrame->ShowControlBar(pBar, FALSE, FALSE);
}

void SECControlBarMDIChildWnd::OnWindowPosChanged(WINDOWPOS* lpWndPos)
{
    if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
        for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); i++) {
            CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i);
            if (pBar != nullptr && pBar->m_pDockContext != nullptr) {
                CRect rect;
                GetWindowRect(&rect);
                pBar->m_pDockContext->m_ptMRUFloatPos = rect.TopLeft();
                break;
            }
        }
    }
    SECMDIChildWnd::OnWindowPosChanged(lpWndPos);
}

void SECControlBarMDIChildWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    Default();
    (void)bShow;
    (void)nStatus;
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        ::PostMessageA(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}

void SECControlBarMDIChildWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    SECMDIChildWnd::RecalcLayout(bNotify);
    // The caption is the dock bar's title.
    if (m_wndDockBar.m_hWnd != nullptr) {
        CString strTitle, strOld;
        m_wndDockBar.GetWindowText(strTitle);
        GetWindowText(strOld);
        if (strTitle != strOld)
            SetWindowText(strTitle);
    }
}
