// Colour wells, popup colour wells and their "&Other..." button.
#include "SECColorWell.h"
#include "SECDraw.h"
#include "afxdc.h"
#include "afxdlg.h"
#include "afxdlgs.h"
#include "afxseam.h"

IMPLEMENT_DYNAMIC(SECColorWellButton, CButton)
IMPLEMENT_DYNAMIC(SECColorWell, CWnd)
IMPLEMENT_DYNAMIC(SECPopupColorWell, SECColorWell)

namespace {

// The colours used when the system's default palette cannot be read.
const COLORREF fallbackColors[20] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
    RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
    RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
    RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
};

SECColorWell* WellOf(CWnd* pButton)
{
    return pButton == nullptr ? nullptr : dynamic_cast<SECColorWell*>(pButton->GetParent());
}

} // namespace

// ---- SECColorWellButton ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECColorWellButton, CButton)
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

UINT SECColorWellButton::OnGetDlgCode()
{
    return DLGC_BUTTON | DLGC_WANTTAB;
}

void SECColorWellButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    SECColorWell* pWell = WellOf(this);
    if (pWell != nullptr) {
        BOOL bPopup = dynamic_cast<SECPopupColorWell*>(pWell) != nullptr;
        BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
        if (bPopup && (nChar == VK_TAB || nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_UP || nChar == VK_DOWN)) {
            pWell->SetFocus();
            return;
        }
        if (!bPopup && nChar == VK_TAB) {
            if (bShift)
                pWell->SetFocus();
            else if (CWnd* pDlg = pWell->GetParent()) {
                CWnd* pNext = pDlg->GetNextDlgTabItem(pWell, FALSE);
                if (pNext != nullptr)
                    pNext->SetFocus();
            }
            return;
        }
    }
    CButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECColorWellButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    auto* pPopup = dynamic_cast<SECPopupColorWell*>(WellOf(this));
    if (pPopup != nullptr && pNewWnd != pPopup && pPopup->IsUp())
        pPopup->Close();
}

// ---- SECColorWell ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECColorWell, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_CTLCOLOR()
    ON_WM_SYSCOLORCHANGE()
    ON_BN_CLICKED(SEC_IDC_OTHERCOLOR, OnOtherColor)
END_MESSAGE_MAP()

SECColorWell::SECColorWell()
    : m_nRows(5), m_nCols(4), m_nCustomCol(3), m_nCustomRow(5), m_nCellHeight(0), m_nCellWidth(0), m_nMarginX(2),
      m_nMarginY(2), m_nButtonHeight(0), m_nSelRow(1), m_nSelCol(1), m_nCustomIndex(20), m_bHasFocus(FALSE),
      m_bTracking(FALSE), m_bShowOther(FALSE), m_bCustomInUse(FALSE), m_bUsePalette(FALSE), m_pOtherButton(nullptr)
{
    SECGetSysData().Update();
    m_brBackground.CreateSolidBrush(SECGetSysData().clrBtnFace);
}

SECColorWell::~SECColorWell()
{
    delete m_pOtherButton;
}

void SECColorWell::SetDefaults()
{
    m_nRows = 5;
    m_nCols = 4;
}

DWORD SECColorWell::GetColorDialogFlags() const
{
    return CC_RGBINIT | CC_FULLOPEN;
}

UINT SECColorWell::GetClassStyle() const
{
    return 0;
}

BOOL SECColorWell::HasFocusFrame() const
{
    return TRUE;
}

void SECColorWell::OnPaletteFilled(PALETTEENTRY*, int, int) {}

void SECColorWell::Reset()
{
    m_nMarginX = m_nMarginY = 2;
    m_nSelRow = m_nSelCol = 1;
    m_bHasFocus = m_bTracking = m_bShowOther = m_bCustomInUse = FALSE;
    if (m_pOtherButton != nullptr) {
        if (m_pOtherButton->m_hWnd != nullptr)
            m_pOtherButton->DestroyWindow();
        delete m_pOtherButton;
        m_pOtherButton = nullptr;
    }
    m_palette.DeleteObject();
}

void SECColorWell::CreatePalette()
{
    int nCount = m_nRows * m_nCols + 1;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + nCount * sizeof(PALETTEENTRY), 0);
    auto* pLog = reinterpret_cast<LOGPALETTE*>(block.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = (WORD)nCount;
    PALETTEENTRY* pEntries = pLog->palPalEntry;
    // The system's static colours, at most 20; any further cells stay black.
    int nGrid = m_nRows * m_nCols;
    int nWant = std::min(nGrid, 20);
    int nFilled = (int)::GetPaletteEntries((HPALETTE)::GetStockObject(DEFAULT_PALETTE), 0, nWant, pEntries);
    if (nFilled <= 0) {
        for (int i = 0; i < nWant; i++)
            pEntries[i] = {GetRValue(fallbackColors[i]), GetGValue(fallbackColors[i]), GetBValue(fallbackColors[i]), 0};
        nFilled = nWant;
    }
    for (int i = 0; i < nCount; i++)
        pEntries[i].peFlags = 0;
    OnPaletteFilled(pEntries, nGrid, nFilled);
    pEntries[nGrid] = {0, 0, 0, 0};
    m_palette.DeleteObject();
    m_palette.CreatePalette(pLog);
    m_bCustomInUse = FALSE;
}

void SECColorWell::CalcWindowRect(CRect& rect, CWnd* pParentWnd, int x, int y, BOOL bDialogUnits)
{
    if (auto* pDlg = dynamic_cast<CDialog*>(pParentWnd)) {
        CRect rectCell(0, 0, 10, 10);
        pDlg->MapDialogRect(&rectCell);
        m_nCellWidth = rectCell.Width();
        m_nCellHeight = rectCell.Height();
        if (bDialogUnits) {
            CRect rectPos(x, y, x, y);
            pDlg->MapDialogRect(&rectPos);
            x = rectPos.left;
            y = rectPos.top;
        }
    }
    else {
        LONG nBase = ::GetDialogBaseUnits();
        m_nCellWidth = LOWORD(nBase) * 10 / 4;
        m_nCellHeight = HIWORD(nBase) * 10 / 8;
        if (bDialogUnits) {
            x = x * LOWORD(nBase) / 4;
            y = y * HIWORD(nBase) / 8;
        }
    }
    m_nButtonHeight = m_nCellHeight + 2;
    int cx = m_nCols * (m_nCellWidth + 2) + 2 * m_nMarginX - 2;
    int cy = m_nRows * (m_nCellHeight + 2) + 2 * m_nMarginY - 2;
    if (m_bShowOther)
        cy += m_nCellHeight + 2 + 6;
    rect.SetRect(x, y, x + cx, y + cy);
}

BOOL SECColorWell::Create(DWORD dwStyle, int x, int y, CWnd* pParentWnd, UINT nID, BOOL bDialogUnits,
                          BOOL bShowOther, LPVOID lpParam)
{
    SetDefaults();
    m_nCustomCol = m_nCols - 1;
    m_nCustomRow = m_nRows;
    m_nCustomIndex = m_nRows * m_nCols;
    m_bShowOther = bShowOther;
    m_nMarginX = m_nMarginY = (dwStyle & 0x1) ? 4 : 2;
    if (HasFocusFrame()) {
        m_nMarginX++;
        m_nMarginY++;
    }
    CRect rect;
    CalcWindowRect(rect, pParentWnd, x, y, bDialogUnits);
    CreatePalette();
    LPCSTR lpszClass = AfxRegisterWndClass(GetClassStyle(), ::LoadCursorA(nullptr, IDC_ARROW));
    if (!CreateEx(0, lpszClass, nullptr, dwStyle | WS_CHILD | WS_CLIPSIBLINGS, rect.left, rect.top, rect.Width(),
                  rect.Height(), pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, (HMENU)(UINT_PTR)nID, lpParam))
        return FALSE;
    if (m_bShowOther && !CreateOtherButton(CRect(0, 0, rect.Width(), rect.Height()))) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL SECColorWell::CreateOtherButton(const CRect& rectClient)
{
    m_pOtherButton = new SECColorWellButton;
    CString strCaption;
    if (!strCaption.LoadString(IDS_SEC_OTHERCOLOR))
        strCaption = "&Other...";
    CRect rect(m_nMarginX, rectClient.bottom - m_nMarginY - m_nButtonHeight, rectClient.right - m_nMarginX,
               rectClient.bottom - m_nMarginY);
    if (!m_pOtherButton->Create(strCaption, WS_CHILD | WS_VISIBLE, rect, this, SEC_IDC_OTHERCOLOR)) {
        delete m_pOtherButton;
        m_pOtherButton = nullptr;
        return FALSE;
    }
    CWnd* pParent = GetParent();
    HFONT hFont = pParent != nullptr ? (HFONT)pParent->SendMessage(WM_GETFONT) : nullptr;
    if (hFont == nullptr)
        hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    m_pOtherButton->SendMessage(WM_SETFONT, (WPARAM)hFont, FALSE);
    return TRUE;
}

CRect SECColorWell::InnerRect() const
{
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(m_nMarginX, m_nMarginY);
    return rect;
}

CRect SECColorWell::CellRect(int nCol, int nRow) const
{
    CRect inner = InnerRect();
    CRect rect(inner.left + (m_nCellWidth + 2) * nCol, inner.top + (m_nCellHeight + 2) * nRow, 0, 0);
    rect.right = rect.left + m_nCellWidth;
    rect.bottom = rect.top + m_nCellHeight;
    if (IsCustomCell(nCol, nRow))
        rect.OffsetRect(0, 5);
    return rect;
}

COLORREF SECColorWell::GetCellColor(int nCol, int nRow) const
{
    int nIndex = IsCustomCell(nCol, nRow) ? m_nCustomIndex : m_nCols * nRow + nCol;
    PALETTEENTRY pe = {};
    if (m_palette.GetSafeHandle() == nullptr || m_palette.GetPaletteEntries(nIndex, 1, &pe) != 1)
        return RGB(0, 0, 0);
    return RGB(pe.peRed, pe.peGreen, pe.peBlue);
}

COLORREF SECColorWell::GetColor() const
{
    return GetCellColor(m_nSelCol, m_nSelRow);
}

void SECColorWell::SetUsePalette(BOOL bUse)
{
    m_bUsePalette = bUse;
    if (m_hWnd != nullptr)
        Invalidate();
}

void SECColorWell::InvalidateCell(int nCol, int nRow)
{
    if (m_hWnd == nullptr)
        return;
    CRect rect = CellRect(nCol, nRow);
    rect.InflateRect(1, 1);
    InvalidateRect(&rect, FALSE);
}

void SECColorWell::MoveSelection(int nCol, int nRow)
{
    InvalidateCell(m_nSelCol, m_nSelRow);
    m_nSelCol = nCol;
    m_nSelRow = nRow;
    InvalidateCell(m_nSelCol, m_nSelRow);
}

void SECColorWell::SetColor(COLORREF clr)
{
    if (m_palette.GetSafeHandle() == nullptr)
        CreatePalette();
    clr &= 0x00FFFFFF;
    for (int c = 0; c < m_nCols; c++)
        for (int r = 0; r < m_nRows; r++)
            if (GetCellColor(c, r) == clr) {
                MoveSelection(c, r);
                return;
            }
    if (!m_bShowOther)
        return;
    PALETTEENTRY pe = {GetRValue(clr), GetGValue(clr), GetBValue(clr), 0};
    m_palette.SetPaletteEntries(m_nCustomIndex, 1, &pe);
    if (!m_bCustomInUse) {
        m_bCustomInUse = TRUE;
        // The custom cell takes the place at the button's right end.
        if (m_pOtherButton != nullptr && m_pOtherButton->m_hWnd != nullptr) {
            CRect rect;
            m_pOtherButton->GetWindowRect(&rect);
            ScreenToClient(&rect);
            rect.right -= m_nCellWidth + 2;
            m_pOtherButton->MoveWindow(&rect);
        }
    }
    MoveSelection(m_nCustomCol, m_nCustomRow);
}

BOOL SECColorWell::HitTest(CPoint point, int& nCol, int& nRow) const
{
    // A cell with the pixel around it; the grid first, then the custom cell when shown.
    auto hit = [&](int c, int r) {
        CRect rect = CellRect(c, r);
        rect.InflateRect(1, 1);
        if (!rect.PtInRect(point))
            return false;
        nCol = c;
        nRow = r;
        return true;
    };
    for (int r = 0; r < m_nRows; r++)
        for (int c = 0; c < m_nCols; c++)
            if (hit(c, r))
                return TRUE;
    return m_bCustomInUse && hit(m_nCustomCol, m_nCustomRow);
}

void SECColorWell::OnColorChosen()
{
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(SEC_WM_COLORCHOSEN, (WPARAM)GetDlgCtrlID(), (LPARAM)GetColor());
}

void SECColorWell::SelectCell(int nCol, int nRow, int)
{
    MoveSelection(nCol, nRow);
    OnColorChosen();
}

void SECColorWell::NextCell(UINT nVK, int& nCol, int& nRow) const
{
    int c = m_nSelCol, r = m_nSelRow;
    int nLastCol = m_nCols - 1, nLastRow = m_nRows - 1;
    BOOL bCustom = IsCustomCell(c, r);
    switch (nVK) {
    case VK_LEFT:
        if (bCustom)
            c = nLastCol, r = nLastRow;
        else if (c > 0)
            c--;
        else if (r > 0)
            c = nLastCol, r--;
        else if (m_bCustomInUse)
            c = m_nCustomCol, r = m_nCustomRow;
        else
            c = nLastCol, r = nLastRow;
        break;
    case VK_RIGHT:
        if (bCustom)
            c = 0, r = 0;
        else if (c < nLastCol)
            c++;
        else if (r < nLastRow)
            c = 0, r++;
        else if (m_bCustomInUse)
            c = m_nCustomCol, r = m_nCustomRow;
        else
            c = 0, r = 0;
        break;
    case VK_UP:
        if (bCustom)
            r = nLastRow;
        else if (r > 0)
            r--;
        else if (c == nLastCol && m_bCustomInUse)
            r = m_nCustomRow;
        else
            r = nLastRow;
        break;
    case VK_DOWN:
        if (bCustom)
            r = 0;
        else if (r < nLastRow)
            r++;
        else if (c == nLastCol && m_bCustomInUse)
            r = m_nCustomRow;
        else
            r = 0;
        break;
    }
    nCol = c;
    nRow = r;
}

void SECColorWell::DrawCell(CDC* pDC, CDC*, const CRect&, int nCol, int nRow)
{
    CRect rect = CellRect(nCol, nRow);
    if (!pDC->RectVisible(&rect))
        return;
    const SECSysData& sys = SECGetSysData();
    pDC->Draw3dRect(&rect, sys.clrBtnShadow, sys.clrBtnHilite);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(&rect, sys.clr3DDkShadow, sys.clr3DLight);
    rect.DeflateRect(1, 1);
    FillCell(pDC, rect, nCol, nRow);
}

void SECColorWell::FillCell(CDC* pDC, const CRect& rect, int nCol, int nRow)
{
    int nIndex = IsCustomCell(nCol, nRow) ? m_nCustomIndex : m_nCols * nRow + nCol;
    CBrush brush(m_bUsePalette ? PALETTEINDEX(nIndex) : GetCellColor(nCol, nRow));
    pDC->FillRect(&rect, &brush);
}

void SECColorWell::DrawSelectedCell(CDC* pDC, CDC*, const CRect&, int nCol, int nRow)
{
    CRect rect = CellRect(nCol, nRow);
    rect.InflateRect(1, 1);
    pDC->Draw3dRect(&rect, RGB(0, 0, 0), RGB(0, 0, 0));
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(&rect, RGB(255, 255, 255), RGB(255, 255, 255));
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(&rect, RGB(0, 0, 0), RGB(0, 0, 0));
    rect.DeflateRect(1, 1);
    FillCell(pDC, rect, nCol, nRow);
}

void SECColorWell::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    SECMemDC dc(&dcPaint, rectClient);
    if (!dc.IsReady())
        return;
    HPALETTE hOldPal = nullptr, hOldPaintPal = nullptr;
    if (m_bUsePalette && m_palette.GetSafeHandle() != nullptr) {
        hOldPaintPal = ::SelectPalette(dcPaint.m_hDC, (HPALETTE)m_palette.GetSafeHandle(), FALSE);
        ::RealizePalette(dcPaint.m_hDC);
        hOldPal = ::SelectPalette(dc.m_hDC, (HPALETTE)m_palette.GetSafeHandle(), FALSE);
        ::RealizePalette(dc.m_hDC);
    }
    const SECSysData& sys = SECGetSysData();
    CRect rect = rectClient;
    dc.FillSolidRect(&rect, sys.clrBtnFace);
    if (HasFocusFrame()) {
        if (m_bHasFocus)
            dc.Draw3dRect(&rect, sys.clrWindowFrame, sys.clrWindowFrame);
        rect.DeflateRect(1, 1);
    }
    if (GetStyle() & 0x1) {
        dc.Draw3dRect(&rect, sys.clr3DLight, sys.clr3DDkShadow);
        rect.DeflateRect(1, 1);
        dc.Draw3dRect(&rect, sys.clrBtnHilite, sys.clrBtnShadow);
    }
    CRect inner = InnerRect();
    for (int r = 0; r < m_nRows; r++)
        for (int c = 0; c < m_nCols; c++)
            if (!(c == m_nSelCol && r == m_nSelRow))
                DrawCell(&dc, &dcPaint, inner, c, r);
    if (m_nSelRow < m_nRows)
        DrawSelectedCell(&dc, &dcPaint, inner, m_nSelCol, m_nSelRow);
    if (m_bShowOther) {
        int y = inner.top + m_nRows * (m_nCellHeight + 2);
        dc.FillSolidRect(inner.left, y, inner.Width(), 1, sys.clrBtnShadow);
        dc.FillSolidRect(inner.left, y + 1, inner.Width(), 1, RGB(255, 255, 255));
        if (m_bCustomInUse) {
            if (IsCustomCell(m_nSelCol, m_nSelRow))
                DrawSelectedCell(&dc, &dcPaint, inner, m_nCustomCol, m_nCustomRow);
            else
                DrawCell(&dc, &dcPaint, inner, m_nCustomCol, m_nCustomRow);
        }
    }
    CRect rectClip;
    dcPaint.GetClipBox(&rectClip);
    dc.CopyTo(rectClip);
    if (hOldPal != nullptr)
        ::SelectPalette(dc.m_hDC, hOldPal, FALSE);
    if (hOldPaintPal != nullptr)
        ::SelectPalette(dcPaint.m_hDC, hOldPaintPal, FALSE);
}

BOOL SECColorWell::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void SECColorWell::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    int c, r;
    if (HitTest(point, c, r))
        SelectCell(c, r, selClick);
    (void)nFlags;
}

void SECColorWell::OnMouseMove(UINT nFlags, CPoint point)
{
    int c, r;
    if (m_bTracking && HitTest(point, c, r) && !(c == m_nSelCol && r == m_nSelRow))
        SelectCell(c, r, selMouseMove);
    CWnd::OnMouseMove(nFlags, point);
}

void SECColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        int c, r;
        NextCell(nChar, c, r);
        SelectCell(c, r, selKeyboard);
        return;
    }
    case VK_TAB:
        if (::GetKeyState(VK_SHIFT) < 0) {
            CWnd* pParent = GetParent();
            CWnd* pPrev = pParent != nullptr ? pParent->GetNextDlgTabItem(this, TRUE) : nullptr;
            if (pPrev != nullptr)
                pPrev->SetFocus();
        }
        else if (m_pOtherButton != nullptr && m_pOtherButton->m_hWnd != nullptr)
            m_pOtherButton->SetFocus();
        return;
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

UINT SECColorWell::OnGetDlgCode()
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_bShowOther ? DLGC_WANTTAB : 0);
}

void SECColorWell::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    if (::GetKeyState(VK_SHIFT) < 0 && m_bShowOther && m_pOtherButton != nullptr && m_pOtherButton->m_hWnd != nullptr &&
        pOldWnd != m_pOtherButton) {
        m_pOtherButton->SetFocus();
        return;
    }
    m_bHasFocus = TRUE;
    Invalidate(FALSE);
}

void SECColorWell::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    m_bHasFocus = FALSE;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

HBRUSH SECColorWell::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_BTN) {
        pDC->SetBkColor(SECGetSysData().clrBtnFace);
        return (HBRUSH)m_brBackground.GetSafeHandle();
    }
    return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
}

void SECColorWell::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    SECGetSysData().Update();
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(SECGetSysData().clrBtnFace);
    Invalidate();
}

void SECColorWell::OnOtherColor()
{
    CColorDialog dlg(GetColor(), 0, this);
    dlg.m_cc.Flags |= GetColorDialogFlags();
    dlg.m_cc.rgbResult = GetColor();
    if (dlg.DoModal() == IDOK)
        SetColor(dlg.GetColor());
}

// ---- SECPopupColorWell ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(SECPopupColorWell, SECColorWell)
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
    ON_BN_CLICKED(SEC_IDC_OTHERCOLOR, OnOtherColor)
END_MESSAGE_MAP()

SECPopupColorWell::SECPopupColorWell() : m_pNotifyWnd(nullptr), m_bUp(FALSE) {}

UINT SECPopupColorWell::GetClassStyle() const
{
    return CS_SAVEBITS;
}

BOOL SECPopupColorWell::HasFocusFrame() const
{
    return FALSE;
}

void SECPopupColorWell::Reset()
{
    SECColorWell::Reset();
    m_pNotifyWnd = nullptr;
}

BOOL SECPopupColorWell::Create(DWORD dwStyle, const CRect& rectButton, CWnd* pParentWnd, BOOL bShowOther,
                               CWnd* pNotifyWnd)
{
    SetDefaults();
    m_nCustomCol = m_nCols - 1;
    m_nCustomRow = m_nRows;
    m_nCustomIndex = m_nRows * m_nCols;
    m_bShowOther = bShowOther;
    m_pNotifyWnd = pNotifyWnd;
    m_nMarginX = m_nMarginY = 4;    // the raised border
    CRect rect;
    CalcWindowRect(rect, pParentWnd, 0, 0, FALSE);
    int x = rectButton.left, y = rectButton.bottom;
    if (y + rect.Height() > AfxGetDisplayResolution().cy)
        y = rectButton.top - rect.Height();
    CreatePalette();
    LPCSTR lpszClass = AfxRegisterWndClass(GetClassStyle(), ::LoadCursorA(nullptr, IDC_ARROW));
    if (!CreateEx(0, lpszClass, nullptr, (dwStyle | WS_POPUP | 0x1) & ~WS_CHILD, x, y, rect.Width(), rect.Height(),
                  pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr))
        return FALSE;
    if (m_bShowOther && !CreateOtherButton(CRect(0, 0, rect.Width(), rect.Height()))) {
        DestroyWindow();
        return FALSE;
    }
    m_bUp = TRUE;
    SetFocus();
    m_bTracking = TRUE;
    SetCapture();
    return TRUE;
}

void SECPopupColorWell::Close()
{
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
    if (m_hWnd != nullptr)
        DestroyWindow();
}

void SECPopupColorWell::OnDestroy()
{
    m_bUp = FALSE;
    SECColorWell::OnDestroy();
}

void SECPopupColorWell::OnColorChosen()
{
    if (m_pNotifyWnd != nullptr && m_pNotifyWnd->m_hWnd != nullptr)
        m_pNotifyWnd->SendMessage(SEC_WM_COLORCHOSEN, 0, (LPARAM)GetColor());
}

void SECPopupColorWell::SelectCell(int nCol, int nRow, int nHow)
{
    MoveSelection(nCol, nRow);
    if (nHow == selClick) {
        OnColorChosen();
        Close();
    }
}

void SECPopupColorWell::OnOtherColor()
{
    CWnd* pNotify = m_pNotifyWnd;
    Close();
    if (pNotify != nullptr && pNotify->m_hWnd != nullptr)
        pNotify->PostMessage(SEC_WM_MORECOLORS);
}

void SECPopupColorWell::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    if (rectClient.PtInRect(point)) {
        if (m_pOtherButton != nullptr && m_pOtherButton->m_hWnd != nullptr) {
            CRect rectButton;
            m_pOtherButton->GetWindowRect(&rectButton);
            ScreenToClient(&rectButton);
            if (rectButton.PtInRect(point)) {
                OnOtherColor();
                return;
            }
        }
        SECColorWell::OnLButtonDown(nFlags, point);
        return;
    }
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    if (m_pNotifyWnd != nullptr && m_pNotifyWnd->m_hWnd != nullptr) {
        CRect rectNotify;
        m_pNotifyWnd->GetWindowRect(&rectNotify);
        if (rectNotify.PtInRect(ptScreen))
            return;
    }
    Close();
    // The click was meant for the window under the cursor.
    HWND hWndUnder = ::WindowFromPoint(ptScreen);
    if (hWndUnder != nullptr) {
        CPoint pt = ptScreen;
        ::ScreenToClient(hWndUnder, &pt);
        ::PostMessageA(hWndUnder, WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
    }
}

void SECPopupColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_RETURN:
        SelectCell(m_nSelCol, m_nSelRow, selClick);
        return;
    case VK_ESCAPE:
        Close();
        return;
    case VK_SPACE:
        return;     // chosen when the key comes up
    }
    SECColorWell::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECPopupColorWell::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SPACE) {
        SelectCell(m_nSelCol, m_nSelRow, selClick);
        return;
    }
    CWnd::OnKeyUp(nChar, nRepCnt, nFlags);
}

void SECPopupColorWell::OnKillFocus(CWnd* pNewWnd)
{
    SECColorWell::OnKillFocus(pNewWnd);
    // Focus gone anywhere but to its own button: the popup goes.
    if (m_bUp && (m_pOtherButton == nullptr || pNewWnd != m_pOtherButton))
        Close();
}
