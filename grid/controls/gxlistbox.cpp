// The push button and the list box cells.
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>

GX_IMPLEMENT_CONTROL(CGXPushbutton, CGXControl)
IMPLEMENT_DYNAMIC(CGXListBox, CListBox)
GX_IMPLEMENT_CONTROL(CGXListBox, CGXControl)

// ---------------------------------------------------------------------------
// Push button

CGXPushbutton::CGXPushbutton(CGXGridEngine* pGrid) : CGXControl(pGrid)
{
    m_pButton = new GXCellButton(this);
    AppendChild(m_pButton);
}

void CGXPushbutton::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXControl::Init(nRow, nCol);
    m_pButton->Refresh();
}

void CGXPushbutton::LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rect)
{
    m_pButton->SetRect(rect);
    const CGXStyle* pStyle = nullptr;
    if (IsActiveAt(nRow, nCol))
        pStyle = &GetStyle();
    else if (m_pGrid != nullptr)
        pStyle = &m_pGrid->GetCellStyle(nRow, nCol);
    m_pButton->SetText(pStyle != nullptr && pStyle->GetIncludeChoiceList() ? pStyle->GetChoiceList() : CString());
}

CSize CGXPushbutton::CalcSize(CDC* pDC, ROWCOL, ROWCOL, const CGXStyle& style, const CGXStyle*, BOOL)
{
    CSize size(8, 4);
    if (pDC != nullptr) {
        const int saved = pDC->SaveDC();
        if (m_pGrid != nullptr)
            m_pGrid->SelectStyleFont(pDC, style);
        const CString text = style.GetIncludeChoiceList() ? style.GetChoiceList() : CString();
        const CSize extent = pDC->GetTextExtent(text);
        size += extent;
        pDC->RestoreDC(saved);
    }
    return AddBorders(size, style);
}

void CGXPushbutton::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                         const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const int saved = GXBeginCellText(m_pGrid, pDC, style, style.GetTextColor());
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
    pDC->RestoreDC(saved);
}

// ---------------------------------------------------------------------------
// List box

CGXListBox::CGXListBox(CGXGridEngine* pGrid, UINT nID)
    : CGXControl(pGrid), m_nID(nID), m_rgbHighlightText(::GetSysColor(COLOR_HIGHLIGHTTEXT))
{
}

CGXListBox::~CGXListBox()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
    if (m_hBackBrush != nullptr)
        ::DeleteObject(m_hBackBrush);
}

int CGXListBox::ChosenLine(LPCSTR lpszChoices, LPCSTR lpszValue)
{
    if (lpszValue == nullptr || *lpszValue == '\0' || lpszChoices == nullptr)
        return -1;
    LPCSTR p = lpszChoices;
    CString line;
    for (int i = 0; GXGetNextChoiceLine(p, line); ++i)
        if (line == lpszValue)
            return i;
    return -1;
}

BOOL CGXListBox::CreateListWindow()
{
    CWnd* pGrid = GetGridWindow();
    if (pGrid == nullptr || pGrid->GetSafeHwnd() == nullptr)
        return FALSE;
    return CWnd::Create("GXLISTBOX", nullptr, WS_CHILD | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY, CRect(0, 0, 0, 0), pGrid,
                        m_nID);
}

void CGXListBox::FillList()
{
    if (GetSafeHwnd() == nullptr || !m_bInit)
        return;
    ResetContent();
    const CGXStyle& style = GetStyle();
    GXAddChoiceLines(this, LB_ADDSTRING, style);
    // An exact line only: "A" chooses "A", not "Apple"; no match chooses nothing.
    CString value;
    GetDisplayText(value, m_nRow, m_nCol, nullptr, &style);
    const int i = value.IsEmpty() ? LB_ERR : FindStringExact(-1, value);
    SetCurSel(i);
}

void CGXListBox::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXControl::Init(nRow, nCol);
    if (GetSafeHwnd() == nullptr)
        CreateListWindow();
    FillList();
    m_bActive = FALSE;
    m_bModified = FALSE;
}

void CGXListBox::SetActive(BOOL bActive)
{
    GXSetWindowControlActive(this, GetSafeHwnd(), m_bActive, bActive);
}

void CGXListBox::GetValue(CString& strResult)
{
    if (m_bActive && GetSafeHwnd() != nullptr) {
        const int sel = GetCurSel();
        strResult.Empty();
        if (sel != LB_ERR)
            GetText(sel, strResult);
        return;
    }
    CGXControl::GetValue(strResult);
}

void CGXListBox::SetValue(LPCSTR lpszValue)
{
    if (!m_bInit || GetSafeHwnd() == nullptr)
        return;
    if (!m_bActive)
        SetActive(TRUE);
    if (!ValidateString(lpszValue))
        return;
    // The line is chosen first, so that the value read back is the new one.
    const int i = lpszValue != nullptr && *lpszValue != '\0' ? FindStringExact(-1, lpszValue) : LB_ERR;
    SetCurSel(i);
    m_bModified = TRUE;
    OnModifyCell();
}

int CGXListBox::Store()
{
    if (IsReadOnly()) {
        Init(m_nRow, m_nCol);
        m_bModified = FALSE;
        Invalidate();
        return 0;
    }
    m_bActive = FALSE;
    if (!m_bInit || !m_bModified || GetSafeHwnd() == nullptr)
        return 0;
    CString text;
    const int sel = GetCurSel();
    if (sel != LB_ERR)
        GetText(sel, text);
    return SetCellText(m_nRow, m_nCol, text, GX_INVALIDATE, nullptr) ? 1 : 2;
}

void CGXListBox::Hide()
{
    if (GetSafeHwnd() == nullptr || !IsWindowVisible())
        return;
    GXShownOver::HideWindow(this);
}

CSize CGXListBox::CalcSize(CDC* pDC, ROWCOL, ROWCOL, const CGXStyle& style, const CGXStyle*, BOOL)
{
    CSize size(4, 4);
    if (pDC != nullptr && style.GetIncludeChoiceList()) {
        const int saved = pDC->SaveDC();
        if (m_pGrid != nullptr)
            m_pGrid->SelectStyleFont(pDC, style);
        TEXTMETRIC tm{};
        pDC->GetTextMetrics(&tm);
        LPCSTR p = style.GetChoiceList();
        CString line;
        int widest = 0;
        while (GXGetNextChoiceLine(p, line)) {
            widest = std::max<int>(widest, pDC->GetTextExtent(line).cx);
            size.cy += tm.tmHeight + tm.tmExternalLeading;
        }
        size.cx += widest;
        pDC->RestoreDC(saved);
    }
    return AddBorders(size, style);
}

void CGXListBox::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                      const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const BOOL bw = GXIsBlackWhite(m_pGrid);
    const COLORREF back = bw ? RGB(255, 255, 255) : ResolveSysColor(style.GetInterior().lbColor);
    if (m_pGrid != nullptr && !m_pGrid->IsPrinting() && IsActiveAt(nRow, nCol) && m_bActive && GetSafeHwnd() != nullptr) {
        // The cell moved under the shown window (a row above grew or was hidden), or a scroll
        // carried the window off a cell that has come back: shown again over the cell.
        if (IsWindowVisible() && !m_shownOver.Holds(this, rect))
            Hide();
        if (!IsWindowVisible()) {
            m_font.DeleteObject();
            LOGFONT lf{};
            if (CFont* pCached = m_pGrid->LookupFont(style.GetFont()))
                pCached->GetLogFont(&lf);
            lf.lfHeight = lf.lfHeight * m_pGrid->GetZoom() / 100;
            m_font.CreateFontIndirect(&lf);
            m_rgbBack = back;
            if (m_hBackBrush != nullptr)
                ::DeleteObject(m_hBackBrush);
            m_hBackBrush = ::CreateSolidBrush(back);
            pDC->FillSolidRect(&rect, back);
            CRect r = GetCellRect(nRow, nCol, &rect, &style);
            if (style.GetHorizontalAlignment() == DT_RIGHT)
                r.right += 1;
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
            MoveWindow(&r, FALSE);
            m_shownOver.Remember(this, rect);
            ShowWindow(SW_SHOW);
            if (::GetFocus() == m_pGrid->GetGridHwnd()) {
                const BOOL was = m_pGrid->m_bSettingFocus;
                m_pGrid->m_bSettingFocus = TRUE;
                SetFocus();
                m_pGrid->m_bSettingFocus = was;
            }
        }
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
        return;
    }
    if (rect.Width() <= 1 || rect.Height() <= 1)
        return;
    const int saved = GXBeginCellText(m_pGrid, pDC, style, bw ? RGB(0, 0, 0) : ResolveSysColor(style.GetTextColor()));
    pDC->FillSolidRect(&rect, back);
    if (style.GetIncludeChoiceList()) {
        TEXTMETRIC tm{};
        pDC->GetTextMetrics(&tm);
        const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
        const CRect text = GetCellRect(nRow, nCol, &rect, &style);
        const int chosen = ChosenLine(style.GetChoiceList(), style.GetValue());
        // Lines scroll up just far enough that the chosen one shows.
        int skip = 0;
        if (chosen >= 0 && lineHeight > 0) {
            const int fit = std::max(1, static_cast<int>(text.Height() / lineHeight));
            skip = std::max(0, chosen - fit + 1);
        }
        LPCSTR p = style.GetChoiceList();
        CString line;
        int y = text.top;
        for (int i = 0; GXGetNextChoiceLine(p, line); ++i) {
            if (i < skip)
                continue;
            if (y + lineHeight > text.bottom && i > skip)
                break;
            CRect r(text.left + 2, y, text.right, std::min<int>(y + lineHeight, text.bottom));
            pDC->DrawText(line, line.GetLength(), &r,
                          static_cast<UINT>(style.GetHorizontalAlignment()) | DT_SINGLELINE | DT_NOPREFIX);
            if (i == chosen)
                pDC->InvertRect(&r);
            y += lineHeight;
        }
    }
    pDC->RestoreDC(saved);
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

BOOL CGXListBox::ActivateForClick(UINT nFlags, CPoint pt)
{
    CWnd* pGrid = GetGridWindow();
    if (!m_bInit || GetSafeHwnd() == nullptr || pGrid == nullptr || !OnStartEditing())
        return FALSE;
    SetActive(TRUE);
    Invalidate();
    pGrid->UpdateWindow();
    // The click is replayed in the list, at the point in its own client coordinates.
    CPoint client = pt;
    pGrid->ClientToScreen(&client);
    ScreenToClient(&client);
    PostMessage(WM_LBUTTONDOWN, nFlags | MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PostMessage(WM_LBUTTONUP, nFlags, MAKELPARAM(client.x, client.y));
    return TRUE;
}

BOOL CGXListBox::OnLButtonUp(UINT nFlags, CPoint pt)
{
    CGXGridParam* param = m_pGrid != nullptr ? m_pGrid->GetParam() : nullptr;
    if (param != nullptr && (param->m_dwActivateOptions & 7) != 0 && !m_bActive)
        ActivateForClick(nFlags, pt);
    return CGXControl::OnLButtonUp(nFlags, pt);
}

BOOL CGXListBox::OnLButtonDblClk(UINT nFlags, CPoint pt)
{
    CGXGridParam* param = m_pGrid != nullptr ? m_pGrid->GetParam() : nullptr;
    if (param != nullptr && (param->m_dwActivateOptions & 0x80000) != 0 && !m_bActive)
        ActivateForClick(nFlags, pt);
    return CGXControl::OnLButtonDblClk(nFlags, pt);
}

BOOL CGXListBox::HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nMessage != WM_KEYDOWN)
        return FALSE;
    // Keys the grid keeps for moving between cells stay with the grid.
    switch (nChar) {
    case VK_RETURN:
    case VK_TAB:
    case VK_ESCAPE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_DELETE:
        return FALSE;
    default:
        if ((nChar >= VK_F1 && nChar <= VK_F24) || (::GetKeyState(VK_CONTROL) & 0x8000) != 0 || IsReadOnly())
            return FALSE;
        break;
    }
    if (!m_bInit || !OnStartEditing())
        return FALSE;
    SetActive(TRUE);
    CGXControl::HandleGridKey(nMessage, nChar, nRepCnt, nFlags);
    Invalidate();
    // The key itself moves in the list once it shows.
    if (CWnd* pGrid = GetGridWindow())
        pGrid->UpdateWindow();
    if (GetSafeHwnd() != nullptr)
        SendMessage(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
    return TRUE;
}

BOOL CGXListBox::ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    return m_pGrid != nullptr && m_pGrid->DispatchKeyMessage(m_pGrid->GridWnd(), nMessage, nChar, nRepCnt, nFlags);
}

BOOL CGXListBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (GetSafeHwnd() == nullptr || reinterpret_cast<HWND>(lParam) != m_hWnd)
        return FALSE;
    if (HIWORD(wParam) == LBN_SELCHANGE && !IsReadOnly()) {
        m_bModified = TRUE;
        OnModifyCell();
    }
    return TRUE;
}

LRESULT CGXListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT nChar = static_cast<UINT>(wParam), nRep = LOWORD(lParam), nFlags = HIWORD(lParam);
    switch (message) {
    case WM_GETDLGCODE: return Default() | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (m_pGrid != nullptr && m_pGrid->GetGridHwnd() != nullptr && m_bInit)
            m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
        if ((::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            ToGrid(WM_KEYDOWN, nChar, nRep, nFlags);
            return 0;
        }
        switch (nChar) {
        case VK_RETURN:
        case VK_TAB:
        case VK_ESCAPE:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_DELETE: ToGrid(WM_KEYDOWN, nChar, nRep, nFlags); return 0;
        default:
            if (nChar >= VK_F1 && nChar <= VK_F24) {
                ToGrid(WM_KEYDOWN, nChar, nRep, nFlags);
                return 0;
            }
            // A read-only cell's list does not move.
            if (IsReadOnly())
                return 0;
            break;
        }
        break;
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
        if (ToGrid(message, nChar, nRep, nFlags))
            return 0;
        if (message == WM_CHAR && IsReadOnly())
            return 0;
        break;
    case WM_KILLFOCUS: {
        const LRESULT r = Default();
        NotifyKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        return r;
    }
    case WM_LBUTTONDOWN:
        if (IsReadOnly())
            return 0;
        break;
    default: break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
