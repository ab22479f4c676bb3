// Owner-draw, bitmap, menu and colour-well buttons.
#include "SECButton.h"
#include "SECBitmap.h"
#include "SECColorWell.h"
#include "SECDraw.h"
#include "afxdc.h"
#include "afxdlgs.h"

IMPLEMENT_DYNAMIC(SECOwnerDrawButton, CButton)
IMPLEMENT_DYNAMIC(SECBitmapButton, SECOwnerDrawButton)
IMPLEMENT_DYNAMIC(SECMenuButton, SECBitmapButton)
IMPLEMENT_DYNAMIC(SECWellButton, SECOwnerDrawButton)

// ---- SECOwnerDrawButton ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECOwnerDrawButton, CButton)
    ON_WM_LBUTTONUP()
    ON_WM_KEYUP()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

SECOwnerDrawButton::SECOwnerDrawButton()
{
    SECSysData& sys = SECGetSysData();
    sys.Update();
    m_bNewLook = sys.bWin4;
}

SECOwnerDrawButton::~SECOwnerDrawButton() = default;

BOOL SECOwnerDrawButton::AttachButton(UINT nID, CWnd* pParentWnd)
{
    if (pParentWnd == nullptr || !SubclassDlgItem(nID, pParentWnd))
        return FALSE;
    if (GetButtonStyle() != BS_OWNERDRAW)
        ModifyStyle(0xFF, BS_OWNERDRAW, 0);
    return TRUE;
}

BOOL SECOwnerDrawButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CButton::Create(lpszCaption, (dwStyle & ~0xFFu) | BS_OWNERDRAW, rect, pParentWnd, nID);
}

void SECOwnerDrawButton::OnClicked() {}
void SECOwnerDrawButton::PrepareDC(CDC*, CDC*) {}
void SECOwnerDrawButton::RestoreDC(CDC*, CDC*) {}
void SECOwnerDrawButton::DrawContent(CDC*, LPDRAWITEMSTRUCT, CRect&) {}

void SECOwnerDrawButton::DrawDisabled(CDC* pDC, int nWidth, int nHeight)
{
    SECDrawDisabled(pDC, nWidth, nHeight);
}

void SECOwnerDrawButton::DrawFocusRect(CDC* pDC, CRect& rect)
{
    pDC->DrawFocusRect(&rect);
}

void SECOwnerDrawButton::DrawFocus(CDC* pDC, LPDRAWITEMSTRUCT lpDIS)
{
    if (!(lpDIS->itemState & ODS_FOCUS))
        return;
    CRect rect = lpDIS->rcItem;
    rect.DeflateRect(m_bNewLook ? 1 : 2, m_bNewLook ? 1 : 2);
    if (lpDIS->itemState & ODS_SELECTED)
        rect.OffsetRect(1, 1);
    else
        rect.DeflateRect(0, 0, 1, 1);
    pDC->SetBkColor(SECGetSysData().clrBtnFace);
    DrawFocusRect(pDC, rect);
}

void SECOwnerDrawButton::DrawFrame(CRect& rect, CDC* pDC, LPDRAWITEMSTRUCT lpDIS)
{
    const SECSysData& sys = SECGetSysData();
    rect = lpDIS->rcItem;
    pDC->FillSolidRect(&rect, sys.clrBtnFace);
    BOOL bPushed = (lpDIS->itemState & ODS_SELECTED) != 0;
    if (!m_bNewLook) {
        // The old look: a frame in the window-frame colour without its corner pixels.
        pDC->FillSolidRect(rect.left + 1, rect.top, rect.Width() - 2, 1, sys.clrWindowFrame);
        pDC->FillSolidRect(rect.left + 1, rect.bottom - 1, rect.Width() - 2, 1, sys.clrWindowFrame);
        pDC->FillSolidRect(rect.left, rect.top + 1, 1, rect.Height() - 2, sys.clrWindowFrame);
        pDC->FillSolidRect(rect.right - 1, rect.top + 1, 1, rect.Height() - 2, sys.clrWindowFrame);
        rect.DeflateRect(1, 1);
    }
    // Two 3D rectangles (top-left / bottom-right colours), the unpushed old look one pixel apart.
    COLORREF outer[2], inner[2];
    int nGap = 0;
    if (bPushed && m_bNewLook)
        outer[0] = sys.clrWindowFrame, outer[1] = sys.clrBtnHilite, inner[0] = sys.clrBtnShadow, inner[1] = sys.clrBtnFace;
    else if (bPushed)
        outer[0] = inner[0] = sys.clrBtnShadow, outer[1] = inner[1] = sys.clrBtnHilite;
    else if (m_bNewLook)
        outer[0] = sys.clrBtnHilite, outer[1] = sys.clrWindowFrame, inner[0] = sys.clrBtnFace, inner[1] = sys.clrBtnShadow;
    else
        outer[0] = inner[0] = sys.clrBtnHilite, outer[1] = inner[1] = sys.clrBtnShadow, nGap = 1;
    pDC->Draw3dRect(&rect, outer[0], outer[1]);
    rect.DeflateRect(1 + nGap, 1 + nGap);
    pDC->Draw3dRect(&rect, inner[0], inner[1]);
    rect.DeflateRect(1, 1);
    if (bPushed) {
        rect.left++;
        rect.top++;
    }
    else {
        rect.right--;
        rect.bottom--;
    }
}

void SECOwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        CRect rectItem = lpDIS->rcItem;
        SECMemDC memDC(pDC, rectItem);
        if (!memDC.IsReady())
            return;
        PrepareDC(pDC, &memDC);
        CRect rect;
        DrawFrame(rect, &memDC, lpDIS);
        DrawContent(&memDC, lpDIS, rect);
        if (lpDIS->itemState & ODS_DISABLED) {
            memDC.SetViewportOrg(0, 0);
            DrawDisabled(&memDC, rectItem.Width(), rectItem.Height());
            memDC.SetViewportOrg(-rectItem.left, -rectItem.top);
        }
        memDC.CopyTo(rectItem);
        RestoreDC(pDC, &memDC);
        if (lpDIS->itemAction & ODA_DRAWENTIRE)
            DrawFocus(pDC, lpDIS);
    }
    else if (lpDIS->itemAction & ODA_FOCUS)
        DrawFocus(pDC, lpDIS);
}

void SECOwnerDrawButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    CRect rect;
    GetClientRect(&rect);
    if (rect.PtInRect(point) && (GetState() & BST_PUSHED) && CWnd::GetCapture() == this)
        OnClicked();
    CButton::OnLButtonUp(nFlags, point);
}

void SECOwnerDrawButton::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    BOOL bPushed = nChar == VK_SPACE && (GetState() & BST_PUSHED);
    CButton::OnKeyUp(nChar, nRepCnt, nFlags);
    if (bPushed)
        OnClicked();
}

void SECOwnerDrawButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    SECGetSysData().Update();
    Invalidate();
}

// ---- SECBitmapButton ------------------------------------------------------------------------

int SECBitmapButton::s_nMarginX = 5;
int SECBitmapButton::s_nMarginY = 5;

BEGIN_MESSAGE_MAP(SECBitmapButton, SECOwnerDrawButton)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

SECBitmapButton::SECBitmapButton()
    : m_lpszBitmap(nullptr), m_nMarginX(s_nMarginX), m_nMarginY(s_nMarginY), m_rectBitmap(0, 0, 0, 0),
      m_rectText(0, 0, 0, 0), m_nAlign(SEC_BMP_LEFT)
{
}

BOOL SECBitmapButton::LoadBitmap()
{
    m_bitmap.DeleteObject();
    return m_lpszBitmap != nullptr && SECLoadSysColorBitmap(m_bitmap, m_lpszBitmap);
}

BOOL SECBitmapButton::SetBitmapResource(LPCSTR lpszBitmap, int nAlign)
{
    if (IS_INTRESOURCE(lpszBitmap))
        m_lpszBitmap = lpszBitmap;
    else {
        m_strBitmapName = lpszBitmap;
        m_lpszBitmap = m_strBitmapName;
    }
    m_nAlign = nAlign;
    return LoadBitmap();
}

BOOL SECBitmapButton::AttachButton(UINT nID, int nAlign, LPCSTR lpszBitmap, CWnd* pParentWnd)
{
    if (!SetBitmapResource(lpszBitmap, nAlign) || !SECOwnerDrawButton::AttachButton(nID, pParentWnd))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

BOOL SECBitmapButton::AttachButton(UINT nID, int nAlign, UINT nIDBitmap, CWnd* pParentWnd)
{
    return AttachButton(nID, nAlign, MAKEINTRESOURCEA(nIDBitmap), pParentWnd);
}

BOOL SECBitmapButton::Create(LPCSTR lpszCaption, DWORD dwStyle, int nAlign, LPCSTR lpszBitmap, const RECT& rect,
                             CWnd* pParentWnd, UINT nID)
{
    if (!SetBitmapResource(lpszBitmap, nAlign) || !SECOwnerDrawButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

BOOL SECBitmapButton::Create(LPCSTR lpszCaption, DWORD dwStyle, int nAlign, UINT nIDBitmap, const RECT& rect,
                             CWnd* pParentWnd, UINT nID)
{
    return Create(lpszCaption, dwStyle, nAlign, MAKEINTRESOURCEA(nIDBitmap), rect, pParentWnd, nID);
}

void SECBitmapButton::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    CRect area;
    GetClientRect(&area);
    area.right -= 3;
    area.bottom -= 3;
    BITMAP bm = {};
    if (m_bitmap.GetSafeHandle() != nullptr)
        m_bitmap.GetBitmap(&bm);
    m_rectBitmap.SetRect(0, 0, bm.bmWidth, bm.bmHeight);
    m_rectText = area;
    int cxCentre = area.left + (area.Width() - bm.bmWidth) / 2;
    int cyCentre = area.top + (area.Height() - bm.bmHeight) / 2;
    switch (m_nAlign) {
    case SEC_BMP_LEFT:
        m_rectBitmap.OffsetRect(area.left + m_nMarginX, cyCentre);
        m_rectText.left = m_rectBitmap.right + 1;
        break;
    case SEC_BMP_RIGHT:
        m_rectBitmap.OffsetRect(area.right - m_nMarginX - bm.bmWidth, cyCentre);
        m_rectText.right = m_rectBitmap.left - 1;
        break;
    case SEC_BMP_TOP:
        m_rectBitmap.OffsetRect(cxCentre, area.top + m_nMarginY);
        m_rectText.top = m_rectBitmap.bottom + 1;
        break;
    case SEC_BMP_BOTTOM:
        m_rectBitmap.OffsetRect(cxCentre, area.bottom - m_nMarginY - bm.bmHeight);
        m_rectText.bottom = m_rectBitmap.top - 1;
        break;
    default:
        m_rectBitmap.OffsetRect(cxCentre, cyCentre);
        m_rectText.SetRectEmpty();
        break;
    }
    m_rectBitmap.IntersectRect(&m_rectBitmap, &area);
    if (!m_rectText.IsRectEmpty())
        m_rectText.IntersectRect(&m_rectText, &area);
}

void SECBitmapButton::DrawContent(CDC* pDC, LPDRAWITEMSTRUCT lpDIS, CRect& rect)
{
    // Offset by the content's origin, which the frame moves when pushed.
    CPoint ptShift(rect.left - lpDIS->rcItem.left, rect.top - lpDIS->rcItem.top);
    if (m_bitmap.GetSafeHandle() != nullptr) {
        CDC bmDC;
        if (bmDC.CreateCompatibleDC(pDC)) {
            CBitmap* pOld = bmDC.SelectObject(&m_bitmap);
            CRect r = m_rectBitmap;
            r.OffsetRect(ptShift);
            pDC->BitBlt(r.left, r.top, r.Width(), r.Height(), &bmDC, 0, 0, SRCCOPY);
            bmDC.SelectObject(pOld);
        }
    }
    if (m_nAlign != SEC_BMP_CENTER) {
        CString strCaption;
        GetWindowText(strCaption);
        CFont* pFont = GetFont();
        CFont* pOld = pFont != nullptr ? pDC->SelectObject(pFont) : nullptr;
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->SetBkColor(SECGetSysData().clrBtnFace);
        CRect r = m_rectText;
        r.OffsetRect(ptShift);
        pDC->DrawText(strCaption, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        if (pOld != nullptr)
            pDC->SelectObject(pOld);
    }
}

void SECBitmapButton::DrawFocusRect(CDC* pDC, CRect& rect)
{
    (void)rect;
    CRect r;
    if (m_nAlign == SEC_BMP_CENTER) {
        r = m_rectBitmap;
        r.InflateRect(3, 3);
    }
    else {
        CString strCaption;
        GetWindowText(strCaption);
        CFont* pFont = GetFont();
        CFont* pOld = pFont != nullptr ? pDC->SelectObject(pFont) : nullptr;
        CRect rectCalc(0, 0, 0, 0);
        pDC->DrawText(strCaption, &rectCalc, DT_SINGLELINE | DT_CALCRECT);
        if (pOld != nullptr)
            pDC->SelectObject(pOld);
        CPoint ptCentre = m_rectText.CenterPoint();
        r.SetRect(ptCentre.x - rectCalc.Width() / 2 - 1, ptCentre.y - rectCalc.Height() / 2,
                  ptCentre.x - rectCalc.Width() / 2 + rectCalc.Width() + 1, ptCentre.y - rectCalc.Height() / 2 + rectCalc.Height());
    }
    pDC->DrawFocusRect(&r);
}

void SECBitmapButton::OnSysColorChange()
{
    // The greys of the bitmap follow the new colours.
    LoadBitmap();
    SECOwnerDrawButton::OnSysColorChange();
}

void SECBitmapButton::OnSize(UINT nType, int cx, int cy)
{
    SECOwnerDrawButton::OnSize(nType, cx, cy);
    RecalcLayout();
}

// ---- SECMenuButton --------------------------------------------------------------------------

SECMenuButton::SECMenuButton() : m_nDirection(0), m_bDrawEnabled(TRUE) {}

int SECMenuButton::PrepareMenu(LPCSTR lpszCaption, UINT nIDMenu, int nDirection, UINT& nIDBitmap)
{
    m_menu.DestroyMenu();
    m_menu.LoadMenu(nIDMenu);
    m_nDirection = nDirection;
    nIDBitmap = nDirection == 1 ? IDB_SEC_MENURIGHT : IDB_SEC_MENUDOWN;
    return (lpszCaption != nullptr && *lpszCaption != '\0') ? SEC_BMP_RIGHT : SEC_BMP_CENTER;
}

BOOL SECMenuButton::AttachButton(UINT nID, CWnd* pParentWnd, UINT nIDMenu, int nDirection)
{
    if (pParentWnd == nullptr)
        return FALSE;
    char szCaption[101] = "";
    ::GetDlgItemTextA(pParentWnd->m_hWnd, (int)nID, szCaption, sizeof szCaption);
    UINT nIDBitmap = 0;
    int nAlign = PrepareMenu(szCaption, nIDMenu, nDirection, nIDBitmap);
    return SECBitmapButton::AttachButton(nID, nAlign, nIDBitmap, pParentWnd);
}

BOOL SECMenuButton::Create(LPCSTR lpszCaption, DWORD dwStyle, UINT nIDMenu, int nDirection, const RECT& rect,
                           CWnd* pParentWnd, UINT nID)
{
    UINT nIDBitmap = 0;
    int nAlign = PrepareMenu(lpszCaption, nIDMenu, nDirection, nIDBitmap);
    return SECBitmapButton::Create(lpszCaption, dwStyle | BS_OWNERDRAW, nAlign, nIDBitmap, rect, pParentWnd, nID);
}

void SECMenuButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (m_bDrawEnabled)
        SECBitmapButton::DrawItem(lpDIS);
}

void SECMenuButton::OnClicked()
{
    CMenu* pPopup = m_menu.GetSafeHmenu() != nullptr ? m_menu.GetSubMenu(0) : nullptr;
    CWnd* pParent = GetParent();
    if (pPopup == nullptr || pParent == nullptr)
        return;
    CRect rect;
    GetWindowRect(&rect);
    CPoint pt = m_nDirection == 1 ? CPoint(rect.right, rect.top) : CPoint(rect.left, rect.bottom);
    m_bDrawEnabled = FALSE;
    UINT nCmd = (UINT)pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, pt.x, pt.y, pParent);
    if (nCmd != 0) {
        pParent->SendMessage(WM_COMMAND, nCmd, 0);
        // The click that closed the menu on this button must not drop it again.
        MSG msg;
        ::PeekMessageA(&msg, m_hWnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
    }
    m_bDrawEnabled = TRUE;
    if (m_hWnd != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

// ---- SECWellButton --------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECWellButton, SECOwnerDrawButton)
    ON_MESSAGE(SEC_WM_COLORCHOSEN, OnColorSelected)
    ON_MESSAGE(SEC_WM_MORECOLORS, OnMoreColors)
END_MESSAGE_MAP()

SECWellButton::SECWellButton()
    : m_pPopup(new SECPopupColorWell), m_hOldPalette(nullptr), m_hOldMemPalette(nullptr), m_bUsePalette(FALSE),
      m_bShowOther(TRUE)
{
    CreatePalette();
}

SECWellButton::~SECWellButton()
{
    if (m_pPopup != nullptr && m_pPopup->m_hWnd != nullptr)
        m_pPopup->DestroyWindow();
    delete m_pPopup;
}

void SECWellButton::CreatePalette()
{
    struct
    {
        LOGPALETTE lp;
    } pal = {{0x300, 1, {{0, 0, 0, 0}}}};
    m_palette.DeleteObject();
    m_palette.CreatePalette(&pal.lp);
}

DWORD SECWellButton::GetColorDialogFlags() const
{
    return CC_RGBINIT | CC_FULLOPEN;
}

void SECWellButton::SetColor(COLORREF clr)
{
    PALETTEENTRY pe = {GetRValue(clr), GetGValue(clr), GetBValue(clr), 0};
    m_palette.SetPaletteEntries(0, 1, &pe);
    if (m_hWnd != nullptr)
        Invalidate();
}

COLORREF SECWellButton::GetColor() const
{
    PALETTEENTRY pe = {};
    m_palette.GetPaletteEntries(0, 1, &pe);
    return RGB(pe.peRed, pe.peGreen, pe.peBlue);
}

BOOL SECWellButton::IsPopupUp() const
{
    return m_pPopup != nullptr && m_pPopup->IsUp();
}

void SECWellButton::OnClicked()
{
    if (!IsPopupUp())
        DropDown();
}

void SECWellButton::DropDown()
{
    if (m_pPopup == nullptr)
        return;
    m_pPopup->Reset();
    CRect rect;
    GetWindowRect(&rect);
    if (!m_pPopup->Create(WS_VISIBLE, rect, GetParent(), m_bShowOther, this))
        return;
    m_pPopup->SetColor(GetColor());
    m_pPopup->SetUsePalette(m_bUsePalette);
    m_pPopup->SetNotifyWindow(this);
}

LRESULT SECWellButton::OnColorSelected(WPARAM, LPARAM lParam)
{
    SetColor((COLORREF)lParam);
    Invalidate();
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(SEC_WM_COLORCHOSEN, (WPARAM)GetDlgCtrlID(), lParam);
    return 0;
}

LRESULT SECWellButton::OnMoreColors(WPARAM, LPARAM)
{
    CColorDialog dlg(GetColor(), 0, this);
    dlg.m_cc.Flags |= GetColorDialogFlags();
    dlg.m_cc.rgbResult = GetColor();
    if (dlg.DoModal() == IDOK)
        OnColorSelected(0, (LPARAM)dlg.GetColor());
    return 0;
}

void SECWellButton::PrepareDC(CDC* pDC, CDC* pMemDC)
{
    if (!m_bUsePalette)
        return;
    m_hOldPalette = ::SelectPalette(pDC->m_hDC, (HPALETTE)m_palette.GetSafeHandle(), TRUE);
    ::RealizePalette(pDC->m_hDC);
    m_hOldMemPalette = ::SelectPalette(pMemDC->m_hDC, (HPALETTE)m_palette.GetSafeHandle(), TRUE);
    ::RealizePalette(pMemDC->m_hDC);
}

void SECWellButton::RestoreDC(CDC* pDC, CDC* pMemDC)
{
    if (m_hOldPalette != nullptr)
        ::SelectPalette(pDC->m_hDC, m_hOldPalette, TRUE);
    if (m_hOldMemPalette != nullptr)
        ::SelectPalette(pMemDC->m_hDC, m_hOldMemPalette, TRUE);
    m_hOldPalette = m_hOldMemPalette = nullptr;
}

void SECWellButton::DrawFocusRect(CDC* pDC, CRect& rect)
{
    CRect r = rect;
    r.DeflateRect(1, 1);
    pDC->DrawFocusRect(&r);
}

void SECWellButton::DrawContent(CDC* pDC, LPDRAWITEMSTRUCT lpDIS, CRect& rect)
{
    const SECSysData& sys = SECGetSysData();
    // The drop arrow: 5 wide, 3 high, pointing down.
    int x = rect.right - 7, y = (rect.top + rect.bottom) / 2 - 1;
    for (int i = 0; i < 3; i++)
        pDC->FillSolidRect(x + i, y + i, 5 - 2 * i, 1, RGB(0, 0, 0));
    pDC->FillSolidRect(rect.right - 10, rect.top + 2, 1, rect.Height() - 4, sys.clrBtnShadow);
    pDC->FillSolidRect(rect.right - 9, rect.top + 2, 1, rect.Height() - 4, sys.clrBtnHilite);
    if (lpDIS->itemState & ODS_DISABLED)
        return;
    CRect swatch(rect.left + 3, rect.top + 2, rect.right - 13, rect.bottom - 2);
    CBrush black(RGB(0, 0, 0));
    pDC->FrameRect(&swatch, &black);
    swatch.DeflateRect(1, 1);
    CBrush fill(m_bUsePalette ? PALETTEINDEX(0) : GetColor());
    pDC->FillRect(&swatch, &fill);
}
