// The docking control bar.
#include "SECBar.h"
#include "SECDockBar.h"
#include "SECDockContext.h"
#include "SECDockState.h"
#include <algorithm>

using std::max;
using std::min;

namespace {

CString LoadText(UINT nID, LPCSTR lpszDefault)
{
    CString s;
    if (!s.LoadString(nID))
        s = lpszDefault;
    return s;
}

} // namespace

// ---- SECBarButtonInfo -----------------------------------------------------------------------------

SECBarButtonInfo::SECBarButtonInfo()
    : m_nHorzLead(4), m_nHorzLine1(3), m_nHorzGap(1), m_nHorzLine2(3), m_nHorzTail(6), m_nVertLead(4),
      m_nVertLine1(3), m_nVertGap(1), m_nVertLine2(3), m_nVertTail(6), m_nSideMargin(3),
      m_strHideTip("Hide docked window"), m_strExpandTip("Expand docked window"),
      m_strContractTip("Contract docked window")
{
}

// ---- SECControlBar --------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(SECControlBar, CControlBar)

BEGIN_MESSAGE_MAP(SECControlBar, CControlBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CONTEXTMENU()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_COMMAND(ID_SEC_ALLOWDOCKING, OnAllowDocking)
    ON_UPDATE_COMMAND_UI(ID_SEC_ALLOWDOCKING, OnUpdateAllowDocking)
    ON_COMMAND(ID_SEC_HIDE, OnHide)
    ON_COMMAND(ID_SEC_MDIFLOAT, OnMDIFloat)
END_MESSAGE_MAP()

SECControlBar::SECControlBar()
    : m_dwMRUDockingState(0), m_fPctWidth(1.0f), m_fSavedPctWidth(1.0f), m_dwExStyle(0),
      m_rectBorderSpace(10, 10, 10, 10), m_pManager(nullptr), m_bClosePressed(FALSE), m_bExpandPressed(FALSE),
      m_bExpandEnabled(TRUE), m_bCanExpand(TRUE), m_bGripperHorz(TRUE), m_pChildLayout(nullptr)
{
    // Only the border lines lie outside the client area; the gripper and margins lie inside.
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

SECControlBar::~SECControlBar()
{
    ForgetChildLayout();
}

BOOL SECControlBar::Create(CWnd* pParentWnd, LPCSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                           CCreateContext* pContext)
{
    return CreateEx(nullptr, lpszWindowName, nID, dwStyle, dwExStyle, CRect(0, 0, 0, 0), pParentWnd, pContext);
}

BOOL SECControlBar::CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                             const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext)
{
    SECRegisterMessages();
    m_dwExStyle = dwExStyle;
    m_dwStyle = dwStyle;
    if (!CWnd::Create(lpszClassName, lpszWindowName, dwStyle & ~(DWORD)CBRS_ALL, rect, pParentWnd, nID, pContext))
        return FALSE;
    if (m_dwExStyle & CBRS_EX_SCALECHILDREN)
        RecordChildLayout();
    m_szHorz = m_szVert = m_szFloat = CSize(300, 180);
    EnableToolTips();
    return TRUE;
}

void SECControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == nullptr)
        m_pDockContext = new SECDockContext(this);
    if (m_hWndOwner == nullptr)
        m_hWndOwner = ::GetParent(m_hWnd);
}

SECDockBar* SECControlBar::GetSECDockBar() const
{
    return dynamic_cast<SECDockBar*>(m_pDockBar);
}

BOOL SECControlBar::IsMDIChild() const
{
    if (const SECDockBar* pThis = dynamic_cast<const SECDockBar*>(static_cast<const CControlBar*>(this)))
        return pThis->m_bMDIChild;
    SECDockBar* pDockBar = GetSECDockBar();
    return pDockBar != nullptr && pDockBar->m_bMDIChild;
}

BOOL SECControlBar::FloatsInMiniFrame() const
{
    CFrameWnd* pFrame = GetParentFrame();
    return pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd));
}

BOOL SECControlBar::IsDockedWithGripper() const
{
    return (m_dwExStyle & CBRS_EX_GRIPPER) && m_pDockBar != nullptr && !IsFloating();
}

BOOL SECControlBar::DockedHorizontally() const
{
    return (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

// ---- Sizes ----------------------------------------------------------------------------------------

CSize SECControlBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    return bHorz ? m_szHorz : m_szVert;
}

CSize SECControlBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (dwMode & LM_COMMIT) {
        int nLen = (dwMode & LM_STRETCH) ? (int)(nLength * m_fPctWidth) : nLength;
        CSize* pSize = (dwMode & LM_HORZDOCK) ? &m_szHorz : (dwMode & LM_VERTDOCK) ? &m_szVert : &m_szFloat;
        if (dwMode & LM_LENGTHY)
            pSize->cy = nLen;
        else {
            pSize->cx = nLen;
            if (pSize == &m_szFloat)
                m_nMRUWidth = (UINT)nLen;
        }
    }
    if (dwMode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    return m_szFloat;
}

void SECControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    int nMargin = m_btnInfo.m_nSideMargin;
    if (IsDockedWithGripper()) {
        if (bHorz) {
            rect.left += m_btnInfo.GripperWidth();
            rect.top += nMargin;
            rect.right -= nMargin;
            rect.bottom -= nMargin;
        }
        else {
            rect.top += m_btnInfo.GripperHeight();
            rect.left += nMargin;
            rect.right -= nMargin;
            rect.bottom -= nMargin;
        }
    }
    else if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
        rect.left += m_rectBorderSpace.left;
        rect.top += m_rectBorderSpace.top;
        rect.right -= m_rectBorderSpace.right;
        rect.bottom -= m_rectBorderSpace.bottom;
    }
}

void SECControlBar::CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bVertGripper) const
{
    if (!(m_dwExStyle & CBRS_EX_FLATLOOK)) {
        CControlBar::CalcInsideRect(rect, bHorz);
        return;
    }
    // The flat look only takes one pixel per border line.
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left++;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top++;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right--;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom--;
    BOOL bGripper = IsDockedWithGripper();
    if (bHorz) {
        rect.left += bGripper ? m_btnInfo.GripperWidth() : m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    }
    else {
        rect.left += m_cyTopBorder;
        rect.top += (bGripper && bVertGripper) ? m_btnInfo.GripperHeight() : m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void SECControlBar::AddGripperSize(CSize& size, BOOL bHorz) const
{
    if (bHorz)
        size.cx += m_btnInfo.GripperWidth();
    else
        size.cy += m_btnInfo.GripperHeight();
}

// ---- Extended style -------------------------------------------------------------------------------

void SECControlBar::SetExBarStyle(DWORD dwExStyle, BOOL bRelayout)
{
    DWORD dwOld = m_dwExStyle;
    m_dwExStyle = dwExStyle;
    if (m_hWnd != nullptr && IsFloating() && FloatsInMiniFrame()) {
        // A toolbar-like bar floats in a frame sized from its edges only.
        CFrameWnd* pFrame = GetParentFrame();
        if (dwExStyle & CBRS_EX_TOOLBARSIZE)
            pFrame->ModifyStyle(MFS_THICKFRAME, MFS_4THICKFRAME, SWP_FRAMECHANGED);
        else
            pFrame->ModifyStyle(MFS_4THICKFRAME, MFS_THICKFRAME | WS_THICKFRAME, SWP_FRAMECHANGED);
    }
    if ((dwOld ^ dwExStyle) & CBRS_EX_SCALECHILDREN) {
        if (dwExStyle & CBRS_EX_SCALECHILDREN)
            RecordChildLayout();
        else
            ForgetChildLayout();
    }
    if (dwOld != dwExStyle && bRelayout && m_hWnd != nullptr) {
        // The frame's next layout sizes the bar anew.
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (CFrameWnd* pFrame = GetDockingFrame())
            pFrame->DelayRecalcLayout();
    }
}

void SECControlBar::ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRelayout)
{
    SetExBarStyle((m_dwExStyle & ~dwRemove) | dwAdd, bRelayout);
}

// ---- Painting -------------------------------------------------------------------------------------

void SECControlBar::DoPaint(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
}

void SECControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    if (!(m_dwStyle & CBRS_BORDER_ANY))
        return;
    if (m_dwExStyle & CBRS_EX_FLATLOOK) {
        // Flat: each border only takes a pixel, in the button face; the gripper is drawn in the
        // client area.
        COLORREF clrFace = SECGetSysData().clrBtnFace;
        if (m_dwStyle & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(rect.left++, rect.top, 1, rect.Height(), clrFace);
        if (m_dwStyle & CBRS_BORDER_TOP)
            pDC->FillSolidRect(rect.left, rect.top++, rect.Width(), 1, clrFace);
        if (m_dwStyle & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(--rect.right, rect.top, 1, rect.Height(), clrFace);
        if (m_dwStyle & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(rect.left, --rect.bottom, rect.Width(), 1, clrFace);
        if ((m_dwExStyle & CBRS_EX_GRIPPER) && !m_bInNcPaint)
            DrawGripper(pDC, rect);
        return;
    }
    const SECSysData& data = SECGetSysData();
    COLORREF clrDark = (m_dwExStyle & CBRS_EX_SHADOWBORDERS) ? (data.bWin4 ? data.clrBtnShadow : data.clrWindowFrame)
                                                             : data.clrBtnFace;
    int cx = rect.Width(), cy = rect.Height();
    int x = rect.left, y = rect.top;
    if (m_dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(x, y, 1, cy, clrDark);
    if (m_dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(x, y, cx, 1, clrDark);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(x + cx - 1, y, 1, cy, clrDark);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(x, y + cy - 1, cx, 1, clrDark);
    if (m_dwStyle & CBRS_BORDER_3D) {
        COLORREF clrHilite = data.clrBtnHilite;
        if (m_dwStyle & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(x + 1, y + 1, 1, cy - 2, clrHilite);
        if (m_dwStyle & CBRS_BORDER_TOP)
            pDC->FillSolidRect(x + 1, y + 1, cx - 2, 1, clrHilite);
        if (m_dwStyle & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(x + cx - 2, y + 1, 1, cy - 2, clrHilite);
        if (m_dwStyle & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(x + 1, y + cy - 2, cx - 2, 1, clrHilite);
    }
    AfxDeflateBorderLines(rect, m_dwStyle);
}

void SECControlBar::OnNcPaint()
{
    m_bInNcPaint = TRUE;
    CControlBar::OnNcPaint();
    m_bInNcPaint = FALSE;
}

void SECControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if (m_pDockBar == nullptr || IsFloating())
        return;
    const SECSysData& data = SECGetSysData();
    BOOL bHorz = DockedHorizontally();
    int nMargin = m_btnInfo.m_nSideMargin;
    CRect strip = rect;
    strip.DeflateRect(1, 1);
    if (bHorz) {
        strip.right = strip.left + m_btnInfo.GripperWidth();
        strip.top += nMargin;
        strip.bottom -= nMargin;
    }
    else {
        strip.bottom = strip.top + m_btnInfo.GripperHeight();
        strip.left += nMargin;
        strip.right -= nMargin;
    }
    if (m_dwExStyle & CBRS_EX_HIDEBUTTON)
        DrawCloseButton(pDC, strip, bHorz);
    else
        m_rectClose.SetRectEmpty();
    if (m_dwExStyle & CBRS_EX_EXPANDBUTTON)
        DrawExpandButton(pDC, strip, bHorz);
    else
        m_rectExpand.SetRectEmpty();
    // Two raised lines along the rest of the strip.
    if (bHorz) {
        int x1 = strip.left + m_btnInfo.m_nHorzLead;
        int x2 = x1 + m_btnInfo.m_nHorzLine1 + m_btnInfo.m_nHorzGap;
        if (strip.Height() > 0) {
            pDC->Draw3dRect(x1, strip.top, m_btnInfo.m_nHorzLine1, strip.Height(), data.clrBtnHilite, data.clrBtnShadow);
            pDC->Draw3dRect(x2, strip.top, m_btnInfo.m_nHorzLine2, strip.Height(), data.clrBtnHilite, data.clrBtnShadow);
        }
    }
    else {
        int y1 = strip.top + m_btnInfo.m_nVertLead;
        int y2 = y1 + m_btnInfo.m_nVertLine1 + m_btnInfo.m_nVertGap;
        if (strip.Width() > 0) {
            pDC->Draw3dRect(strip.left, y1, strip.Width(), m_btnInfo.m_nVertLine1, data.clrBtnHilite, data.clrBtnShadow);
            pDC->Draw3dRect(strip.left, y2, strip.Width(), m_btnInfo.m_nVertLine2, data.clrBtnHilite, data.clrBtnShadow);
        }
    }
}

namespace {

// A button's square at the start of the gripper strip; the strip then starts after it.
CRect TakeButtonSquare(CRect& strip, BOOL bHorz, const SECBarButtonInfo& info)
{
    CRect rect;
    if (bHorz) {
        int l = min((int)strip.left + info.m_nHorzLead - 2, (int)strip.right);
        int r = max((int)strip.right - (info.m_nHorzTail - 2), l);
        rect.SetRect(l, strip.top, r, strip.top + (r - l));
        strip.top = rect.bottom + 2;
    }
    else {
        int t = min((int)strip.top + info.m_nVertLead - 2, (int)strip.bottom);
        int b = max((int)strip.bottom - (info.m_nVertTail - 2), t);
        rect.SetRect(strip.left, t, strip.left + (b - t), b);
        strip.left = rect.right + 2;
    }
    return rect;
}

} // namespace

void SECControlBar::DrawCloseButton(CDC* pDC, CRect& rectStrip, BOOL bHorz)
{
    m_rectClose = TakeButtonSquare(rectStrip, bHorz, m_btnInfo);
    DrawCloseButtonFace(pDC, m_bClosePressed);
}

void SECControlBar::DrawCloseButtonPushed(CDC* pDC)
{
    DrawCloseButtonFace(pDC, TRUE);
}

void SECControlBar::DrawCloseButtonFace(CDC* pDC, BOOL bPushed)
{
    CRect rect = m_rectClose;
    if (!rect.IsRectEmpty())
        pDC->DrawFrameControl(&rect, DFC_CAPTION, DFCS_CAPTIONCLOSE | (bPushed ? DFCS_PUSHED : 0));
}

void SECControlBar::DrawExpandButton(CDC* pDC, CRect& rectStrip, BOOL bHorz)
{
    UpdateExpandButtonState(bHorz);
    m_rectExpand = TakeButtonSquare(rectStrip, bHorz, m_btnInfo);
    DrawExpandButtonFace(pDC, m_bExpandPressed);
}

void SECControlBar::DrawExpandButtonPushed(CDC* pDC)
{
    DrawExpandButtonFace(pDC, TRUE);
}

void SECControlBar::DrawExpandButtonFace(CDC* pDC, BOOL bPushed)
{
    if (m_rectExpand.IsRectEmpty())
        return;
    UINT nState;
    if (m_bGripperHorz)
        nState = m_bCanExpand ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
    else
        nState = m_bCanExpand ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
    if (!m_bExpandEnabled)
        nState |= DFCS_INACTIVE;
    if (bPushed)
        nState |= DFCS_PUSHED;
    CRect rect = m_rectExpand;
    rect.left--;
    rect.top--;
    pDC->DrawFrameControl(&rect, DFC_SCROLL, nState);
}

void SECControlBar::UpdateExpandButtonState(BOOL bHorz)
{
    m_bGripperHorz = bHorz;
    if (SECDockBar* pDockBar = GetSECDockBar()) {
        m_bCanExpand = !pDockBar->IsBarExpanded(this);
        m_bExpandEnabled = !pDockBar->IsBarAloneInRow(this);
    }
}

BOOL SECControlBar::OnEraseBkgnd(CDC* pDC)
{
    if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
        // The margins in the button face.
        CRect rect;
        GetClientRect(&rect);
        CBrush brush(SECGetSysData().clrBtnFace);
        CBrush* pOld = pDC->SelectObject(&brush);
        const CRect& m = m_rectBorderSpace;
        pDC->PatBlt(rect.left, rect.top, rect.Width(), m.top, PATCOPY);
        pDC->PatBlt(rect.left, rect.bottom - m.bottom, rect.Width(), m.bottom, PATCOPY);
        pDC->PatBlt(rect.left, rect.top, m.left, rect.Height(), PATCOPY);
        pDC->PatBlt(rect.right - m.right, rect.top, m.right, rect.Height(), PATCOPY);
        pDC->SelectObject(pOld);
    }
    return CControlBar::OnEraseBkgnd(pDC);
}

// ---- Mouse on the gripper's buttons ---------------------------------------------------------------

void SECControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    BOOL bDocked = m_pDockBar != nullptr && !IsFloating();
    if (bDocked && (m_dwExStyle & CBRS_EX_HIDEBUTTON) && m_rectClose.PtInRect(point)) {
        m_bClosePressed = TRUE;
        CClientDC dc(this);
        DrawCloseButtonPushed(&dc);
        SetCapture();
        return;
    }
    if (bDocked && (m_dwExStyle & CBRS_EX_EXPANDBUTTON) && m_bExpandEnabled && m_rectExpand.PtInRect(point)) {
        m_bExpandPressed = TRUE;
        CClientDC dc(this);
        DrawExpandButtonPushed(&dc);
        SetCapture();
        return;
    }
    if (m_bClosePressed || m_bExpandPressed) {
        m_bClosePressed = m_bExpandPressed = FALSE;
        Invalidate();
    }
    // A bar floating in the main window is moved as the MDI child it lives in.
    if (IsFloating() && !FloatsInMiniFrame()) {
        Default();
        return;
    }
    CControlBar::OnLButtonDown(nFlags, point);
}

void SECControlBar::OnLButtonUp(UINT, CPoint point)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_bClosePressed) {
        m_bClosePressed = FALSE;
        CClientDC dc(this);
        DrawCloseButtonFace(&dc, FALSE);
        if (m_rectClose.PtInRect(point)) {
            if (CFrameWnd* pFrame = GetDockingFrame())
                pFrame->ShowControlBar(this, FALSE, FALSE);
            return;
        }
    }
    if (m_bExpandPressed) {
        m_bExpandPressed = FALSE;
        // The row may have changed since the button was drawn.
        UpdateExpandButtonState(m_bGripperHorz);
        CClientDC dc(this);
        DrawExpandButtonFace(&dc, FALSE);
        if (m_bExpandEnabled && m_rectExpand.PtInRect(point)) {
            if (SECDockBar* pDockBar = GetSECDockBar())
                pDockBar->ExpandBar(this, m_bCanExpand ? 1 : 2);
            return;
        }
    }
    Default();
}

void SECControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    BOOL bDocked = m_pDockBar != nullptr && !IsFloating();
    if (bDocked && (((m_dwExStyle & CBRS_EX_HIDEBUTTON) && m_rectClose.PtInRect(point)) ||
                    ((m_dwExStyle & CBRS_EX_EXPANDBUTTON) && m_rectExpand.PtInRect(point))))
        return;
    if (IsFloating() && !FloatsInMiniFrame()) {
        Default();
        return;
    }
    CControlBar::OnLButtonDblClk(nFlags, point);
}

INT_PTR SECControlBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1 || !(m_dwStyle & CBRS_TOOLTIPS) || m_pDockBar == nullptr || IsFloating())
        return nHit;
    const CString* pText = nullptr;
    CRect rect;
    if ((m_dwExStyle & CBRS_EX_HIDEBUTTON) && m_rectClose.PtInRect(point)) {
        nHit = idHideButton;
        pText = &m_btnInfo.m_strHideTip;
        rect = m_rectClose;
    }
    else if ((m_dwExStyle & CBRS_EX_EXPANDBUTTON) && m_rectExpand.PtInRect(point)) {
        nHit = idExpandButton;
        pText = m_bCanExpand ? &m_btnInfo.m_strExpandTip : &m_btnInfo.m_strContractTip;
        rect = m_rectExpand;
    }
    if (nHit != -1 && pTI != nullptr && pTI->cbSize >= TTTOOLINFOA_V1_SIZE) {
        // The text is the caller's to free.
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)nHit;
        pTI->rect = rect;
        pTI->lpszText = _strdup(*pText);
    }
    return nHit;
}

// ---- Context menu and its commands ----------------------------------------------------------------

void SECControlBar::OnContextMenu(CWnd*, CPoint point)
{
    if (!(m_dwExStyle & CBRS_EX_CONTEXTMENU)) {
        Default();
        return;
    }
    // From the keyboard the menu opens at the bar's corner.
    if (point.x == -1 && point.y == -1) {
        CRect rect;
        GetWindowRect(&rect);
        point = rect.TopLeft();
    }
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    menu.AppendMenu(MF_STRING | ((m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : MF_UNCHECKED), ID_SEC_ALLOWDOCKING,
                    LoadText(ID_SEC_ALLOWDOCKING, "&Allow Docking"));
    menu.AppendMenu(MF_STRING, ID_SEC_HIDE, LoadText(ID_SEC_HIDE, "&Hide"));
    OnExtendContextMenu(&menu);
    if (m_pDockSite != nullptr)
        m_pDockSite->SendMessage(WM_SECEXTENDCONTEXTMENU, (WPARAM)this, (LPARAM)&menu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

void SECControlBar::OnExtendContextMenu(CMenu*) {}

void SECControlBar::OnAllowDocking()
{
    if (m_dwDockStyle & CBRS_ALIGN_ANY) {
        m_dwMRUDockingState = m_dwDockStyle & CBRS_ALIGN_ANY;
        if (m_pDockBar != nullptr && !IsFloating() && m_pDockContext != nullptr)
            m_pDockContext->ToggleDocking();
        EnableDocking(m_dwDockStyle & ~CBRS_ALIGN_ANY);
    }
    else
        EnableDocking(m_dwDockStyle | m_dwMRUDockingState);
}

void SECControlBar::OnUpdateAllowDocking(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_dwDockStyle & CBRS_ALIGN_ANY) != 0);
}

void SECControlBar::OnHide()
{
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->ShowControlBar(this, FALSE, FALSE);
}

void SECControlBar::OnMDIFloat()
{
    if (auto* pContext = dynamic_cast<SECDockContext*>(m_pDockContext))
        pContext->ToggleMDIFloat();
}

void SECControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

// ---- Child windows --------------------------------------------------------------------------------

void SECControlBar::RecordChildLayout()
{
    ForgetChildLayout();
    if (m_hWnd == nullptr)
        return;
    m_pChildLayout = new CArray<ChildRecord, const ChildRecord&>;
    ChildRecord record;
    record.hWnd = nullptr;
    GetClientRect(&record.rect);
    m_pChildLayout->Add(record);
    for (HWND hWnd = ::GetTopWindow(m_hWnd); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        record.hWnd = hWnd;
        ::GetWindowRect(hWnd, &record.rect);
        ScreenToClient(&record.rect);
        m_pChildLayout->Add(record);
    }
}

void SECControlBar::ForgetChildLayout()
{
    delete m_pChildLayout;
    m_pChildLayout = nullptr;
}

CRect SECControlBar::ChildArea(int cx, int cy) const
{
    CRect rect(0, 0, cx, cy);
    CalcInsideRect(rect, DockedHorizontally());
    if (rect.right < rect.left + 1)
        rect.right = rect.left;
    if (rect.bottom < rect.top + 1)
        rect.bottom = rect.top;
    return rect;
}

void SECControlBar::OnSize(UINT nType, int cx, int cy)
{
    if (nType != SIZE_MINIMIZED && cx >= 1 && cy >= 1) {
        CRect inside = ChildArea(cx, cy);
        if ((m_dwExStyle & CBRS_EX_SCALECHILDREN) && m_pChildLayout != nullptr && m_pChildLayout->GetSize() > 1) {
            // Every child keeps its place in proportion; an axis recorded with no extent stays.
            const CRect& rectRecorded = (*m_pChildLayout)[0].rect;
            int nRecordedCX = rectRecorded.Width(), nRecordedCY = rectRecorded.Height();
            UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | (SECGetSysData().bDeferRedraw ? SWP_NOREDRAW : 0);
            HDWP hDWP = ::BeginDeferWindowPos(m_pChildLayout->GetSize() - 1);
            for (int i = 1; i < m_pChildLayout->GetSize() && hDWP != nullptr; i++) {
                const ChildRecord& record = (*m_pChildLayout)[i];
                if (!::IsWindow(record.hWnd))
                    continue;
                CRect rect = record.rect;
                if (nRecordedCX > 0) {
                    rect.left = ::MulDiv(rect.left, inside.Width(), nRecordedCX);
                    rect.right = ::MulDiv(rect.right, inside.Width(), nRecordedCX);
                }
                if (nRecordedCY > 0) {
                    rect.top = ::MulDiv(rect.top, inside.Height(), nRecordedCY);
                    rect.bottom = ::MulDiv(rect.bottom, inside.Height(), nRecordedCY);
                }
                rect.OffsetRect(inside.TopLeft());
                hDWP = ::DeferWindowPos(hDWP, record.hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                        nFlags);
            }
            if (hDWP != nullptr)
                ::EndDeferWindowPos(hDWP);
            if (IsFloating())
                Invalidate();
        }
        else if (m_dwExStyle & CBRS_EX_FILLCHILD) {
            if (HWND hWndChild = ::GetTopWindow(m_hWnd))
                ::SetWindowPos(hWndChild, nullptr, inside.left, inside.top, inside.Width(), inside.Height(),
                               SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    Default();
}

void SECControlBar::OnDestroy()
{
    ForgetChildLayout();
    if (m_pDockSite != nullptr && m_pDockSite->m_hWnd != nullptr)
        m_pDockSite->DelayRecalcLayout();
    CControlBar::OnDestroy();
}

// ---- Saved layout ---------------------------------------------------------------------------------

void SECControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
    CControlBar::GetBarInfo(pInfo);
    auto* pSECInfo = dynamic_cast<SECControlBarInfo*>(pInfo);
    if (pSECInfo == nullptr)
        return;
    pSECInfo->m_szHorz = m_szHorz;
    pSECInfo->m_szVert = m_szVert;
    pSECInfo->m_szFloat = m_szFloat;
    pSECInfo->m_dwMRUDockingState = m_dwMRUDockingState;
    pSECInfo->m_dwDockStyle = m_dwDockStyle;
    // A floating bar keeps the share it will dock back with.
    pSECInfo->m_fPctWidth = IsFloating() ? m_fSavedPctWidth : m_fPctWidth;
    pSECInfo->m_dwStyle = m_dwStyle;
    pSECInfo->m_dwExStyle = m_dwExStyle;
    SECControlBarManager* pManager = m_pManager != nullptr ? m_pManager : pSECInfo->m_pManager;
    pSECInfo->m_dwTypeID = pManager != nullptr ? pManager->GetBarTypeID(this) : 0;
    if (auto* pContext = dynamic_cast<SECDockContext*>(m_pDockContext))
        pSECInfo->m_bPrevFloating = pContext->m_bPrevFloating;
    if (SECControlBarInfoEx* pInfoEx = GetBarInfoEx()) {
        delete pSECInfo->m_pInfoEx;
        pSECInfo->m_pInfoEx = pInfoEx;
    }
}

void SECControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
    auto* pSECInfo = dynamic_cast<SECControlBarInfo*>(pInfo);
    if (pSECInfo == nullptr) {
        CControlBar::SetBarInfo(pInfo, pFrameWnd);
        return;
    }
    m_nMRUWidth = pInfo->m_nMRUWidth;
    m_szHorz = pSECInfo->m_szHorz;
    m_szVert = pSECInfo->m_szVert;
    m_szFloat = pSECInfo->m_szFloat;
    m_dwMRUDockingState = pSECInfo->m_dwMRUDockingState;
    m_dwDockStyle = pSECInfo->m_dwDockStyle;
    m_fPctWidth = m_fSavedPctWidth = pSECInfo->m_fPctWidth;
    CControlBar::SetBarStyle(pSECInfo->m_dwStyle);
    if (pInfo->m_bDocking && m_pDockContext != nullptr) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
        if (auto* pContext = dynamic_cast<SECDockContext*>(m_pDockContext))
            pContext->m_bPrevFloating = pSECInfo->m_bPrevFloating;
    }
    SetBarInfoEx(pSECInfo, pFrameWnd);
    UINT nFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (m_pDockBar == nullptr || (pInfo->m_pointPos.x == -1 && pInfo->m_pointPos.y == -1))
        nFlags |= SWP_NOMOVE;
    SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, nFlags);
    DelayShow(pInfo->m_bVisible);
}

void SECControlBar::SetBarInfoEx(SECControlBarInfo*, CFrameWnd*) {}
