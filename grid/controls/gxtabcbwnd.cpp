// The tabbed combo box window control.
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CGXTabbedComboBoxWnd, CGXComboBoxWnd)
GX_IMPLEMENT_CONTROL(CGXTabbedComboBoxWnd, CGXComboBoxWnd)

CGXTabbedComboBoxWnd::CGXTabbedComboBoxWnd(CGXGridEngine* pGrid)
    : CGXComboBoxWnd(pGrid), m_pTitleWnd(new CGXTabbedPopupWnd)
{
    m_bDropOnClick = FALSE;
}

CGXTabbedComboBoxWnd::~CGXTabbedComboBoxWnd()
{
    if (m_pTitleWnd->GetSafeHwnd() != nullptr)
        m_pTitleWnd->DestroyWindow();
    delete m_pTitleWnd;
}

BOOL CGXTabbedComboBoxWnd::CreateControl(DWORD dwStyle, UINT nID)
{
    return CGXComboBoxWnd::CreateControl(
        dwStyle | WS_VSCROLL | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT, nID);
}

CString CGXTabbedComboBoxWnd::EditTextFor(LPCSTR lpszText)
{
    // The field shows the first column only.
    return GXTabField(lpszText, 0);
}

void CGXTabbedComboBoxWnd::FillComboBox()
{
    CGXStyle& style = const_cast<CGXStyle&>(GetStyle());
    m_tab.ReadAttributes(style);
    CClientDC dc(GetGridWindow());
    m_pGrid->SelectStyleFont(&dc, style);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_nItemHeight = tm.tmHeight;
    m_tab.Build(&dc, style);
    ResetContent();
    for (const CString& item : m_tab.items)
        AddString(item);
    SetDroppedWidth(static_cast<UINT>(m_tab.nTotalWidth));
}

void CGXTabbedComboBoxWnd::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXComboBoxWnd::Init(nRow, nCol);
    if (GetSafeHwnd() != nullptr) {
        // A read-only cell's field can still be selected, not changed.
        const BOOL ro = IsReadOnly();
        EnableWindow(!ro);
        if (m_wndEdit.GetSafeHwnd() != nullptr)
            m_wndEdit.SetReadOnly(ro);
    }
}

CString CGXTabbedComboBoxWnd::KeyOfItem(int nIndex)
{
    CString item;
    if (nIndex < 0 || nIndex >= GetCount())
        return item;
    GetLBText(nIndex, item);
    return GXTabField(item, m_tab.nKeyCol + (m_tab.nTextCol > 0 ? 1 : 0));
}

void CGXTabbedComboBoxWnd::GetValue(CString& strResult)
{
    if (!m_bInit || GetSafeHwnd() == nullptr) {
        CGXStatic::GetValue(strResult);
        return;
    }
    if (IsDropDownList()) {
        CString item;
        const int sel = GetCurSel();
        if (sel != CB_ERR)
            GetLBText(sel, item);
        strResult = GXTabField(item, 0);
    } else {
        GetWindowText(strResult);
    }
}

void CGXTabbedComboBoxWnd::SetValue(LPCSTR lpszValue)
{
    if (GetSafeHwnd() == nullptr || !m_bInit)
        return;
    CString entry;
    const int i = lpszValue != nullptr && *lpszValue != '\0'
                      ? GXFindTabEntry(lpszValue, m_tab.nKeyCol, GetStyle().GetChoiceList(), m_tab.bDispTitles, TRUE, entry)
                      : -1;
    SetCurSel(i);
    if (i < 0 && !IsDropDownList())
        SetWindowText("");
}

BOOL CGXTabbedComboBoxWnd::GetCurrentText(CString& strResult)
{
    if (!m_bInit || GetSafeHwnd() == nullptr)
        return FALSE;
    CString text;
    GetValue(text);
    if (text.IsEmpty()) {
        strResult.Empty();
        return TRUE;
    }
    const int i = FindString(-1, text);
    if (i == CB_ERR)
        return FALSE;
    strResult = KeyOfItem(i);
    return TRUE;
}

BOOL CGXTabbedComboBoxWnd::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR lpszValue, const CGXStyle* pStyle)
{
    strResult.Empty();
    if (pStyle == nullptr || !pStyle->GetIncludeChoiceList())
        return FALSE;
    GXTabbedList tab;
    tab.ReadAttributes(*pStyle);
    const CString value = lpszValue != nullptr ? CString(lpszValue) : pStyle->GetValue();
    CString entry;
    if (value.IsEmpty() || GXFindTabEntry(value, tab.nKeyCol, pStyle->GetChoiceList(), tab.bDispTitles, TRUE, entry) < 0)
        return FALSE;
    strResult = GXTabField(entry, tab.nTextCol);
    return TRUE;
}

BOOL CGXTabbedComboBoxWnd::SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle)
{
    CGXStyle* pComposed = nullptr;
    if (pOldStyle == nullptr) {
        pComposed = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pComposed);
        pOldStyle = pComposed;
    }
    GXTabbedList tab;
    tab.ReadAttributes(*pOldStyle);
    const CString choices = pOldStyle->GetIncludeChoiceList() ? pOldStyle->GetChoiceList() : CString();
    CString entry;
    BOOL ok = FALSE;
    // A text as the cell shows it names its entry first; a key (a value copied from another
    // cell) is taken when no entry shows that text.
    if (str.IsEmpty())
        ok = CGXControl::SetCellText(nRow, nCol, str, nFlags, pOldStyle);
    else if (GXFindTabEntry(str, tab.nTextCol, choices, tab.bDispTitles, TRUE, entry) >= 0)
        ok = CGXControl::SetCellText(nRow, nCol, GXTabField(entry, tab.nKeyCol), nFlags, pOldStyle);
    else if (GXFindTabEntry(str, tab.nKeyCol, choices, tab.bDispTitles, TRUE, entry) >= 0)
        ok = CGXControl::SetCellText(nRow, nCol, str, nFlags, pOldStyle);
    if (pComposed != nullptr)
        m_pGrid->RecycleStyle(pComposed);
    return ok;
}

BOOL CGXTabbedComboBoxWnd::StoreCurrentText(const CString& sKey)
{
    // The control's own text is converted to its key already: stored as it is, never looked up
    // again as a text some other entry may show.
    return CGXControl::SetCellText(m_nRow, m_nCol, sKey, GX_INVALIDATE, nullptr);
}

BOOL CGXTabbedComboBoxWnd::ValidateString(const CString& sEdit)
{
    if (sEdit.IsEmpty() || !m_bFillFromChoiceList)
        return TRUE;
    CString entry;
    return m_bInit && GXFindTabEntry(sEdit, m_tab.nTextCol, GetStyle().GetChoiceList(), m_tab.bDispTitles, FALSE, entry) >= 0;
}

BOOL CGXTabbedComboBoxWnd::HandleComboEditChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (CGXComboBoxWnd::HandleComboEditChar(nChar, nRepCnt, nFlags))
        return TRUE;
    if (nChar < 32 || m_wndEdit.GetSafeHwnd() == nullptr)
        return FALSE;
    // The character goes in; the first item that begins with the new text completes it, and
    // without one the character is refused.
    CString old;
    m_wndEdit.GetWindowText(old);
    int s = 0, e = 0;
    m_wndEdit.GetSel(s, e);
    const CString typed = old.Left(s) + static_cast<char>(nChar) + old.Mid(e);
    const int i = FindString(-1, typed);
    if (i == CB_ERR)
        return TRUE;
    CString item;
    GetLBText(i, item);
    const CString field = GXTabField(item, 0);
    m_wndEdit.SetWindowText(field);
    m_wndEdit.SetSel(s + 1, field.GetLength());
    m_bModified = TRUE;
    OnModifyCell();
    return TRUE;
}

void CGXTabbedComboBoxWnd::MeasureItem(LPMEASUREITEMSTRUCT lpMeasure)
{
    lpMeasure->itemHeight = static_cast<UINT>(std::max(1, m_nItemHeight + 2));
}

void CGXTabbedComboBoxWnd::DrawItem(LPDRAWITEMSTRUCT lpDraw)
{
    CDC* pDC = CDC::FromHandle(lpDraw->hDC);
    const CRect r(lpDraw->rcItem);
    const BOOL sel = (lpDraw->itemState & ODS_SELECTED) != 0;
    pDC->FillSolidRect(&r, ::GetSysColor(sel ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (lpDraw->itemID == static_cast<UINT>(-1))
        return;
    CString item;
    GetLBText(static_cast<int>(lpDraw->itemID), item);
    const int saved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    // The field of the combo box shows the first column; the list shows them all.
    const BOOL field = (lpDraw->itemState & ODS_COMBOBOXEDIT) != 0;
    const int columns = field || !m_tab.bShowAllCols ? 1 : static_cast<int>(m_tab.stops.size()) + 1;
    int left = r.left;
    for (int c = 0; c < columns; ++c) {
        const int right = columns > 1 && c < static_cast<int>(m_tab.stops.size()) ? r.left + m_tab.stops[c] : r.right;
        CRect cell(left + 2, r.top, right - 2, r.bottom);
        const CString text = GXTabField(item, c);
        pDC->DrawText(text, text.GetLength(), &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (columns > 1 && c < static_cast<int>(m_tab.stops.size()))
            pDC->FillSolidRect(r.left + m_tab.stops[c] - 2, r.top, 1, r.Height(), m_rgbGridLine);
        left = right;
    }
    pDC->RestoreDC(saved);
    if (lpDraw->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&r);
}

void CGXTabbedComboBoxWnd::ShowTitles()
{
    CWnd* pGrid = GetGridWindow();
    if (!m_tab.bDispTitles || m_tab.title.IsEmpty() || pGrid == nullptr)
        return;
    if (m_pTitleWnd->GetSafeHwnd() == nullptr)
        m_pTitleWnd->CreateEx(WS_EX_TOOLWINDOW, GXGetAppState()->m_strPopupClass, nullptr, WS_POPUP, 0, 0, 0, 0,
                              pGrid->GetSafeHwnd(), nullptr);
    m_pTitleWnd->m_bShowAllCols = m_tab.bShowAllCols;
    m_pTitleWnd->m_nTextCol = m_tab.nTextCol;
    m_pTitleWnd->m_stops = m_tab.stops;
    m_pTitleWnd->m_hFont = static_cast<HFONT>(m_Font.GetSafeHandle());
    m_pTitleWnd->m_strTitle = m_tab.title;
    // Above the field, the width of the dropped list.
    CRect field;
    GetWindowRect(&field);
    const int width = std::max<int>(field.Width(), m_tab.nTotalWidth);
    const int th = m_nItemHeight + 4;
    m_pTitleWnd->SetWindowPos(&CWnd::wndTopMost, field.left, field.top - th, width, th, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void CGXTabbedComboBoxWnd::Hide()
{
    if (m_pTitleWnd->GetSafeHwnd() != nullptr && m_pTitleWnd->IsWindowVisible())
        m_pTitleWnd->ShowWindow(SW_HIDE);
    CGXComboBoxWnd::Hide();
}

BOOL CGXTabbedComboBoxWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (GetSafeHwnd() != nullptr && reinterpret_cast<HWND>(lParam) == m_hWnd && m_bActive) {
        if (HIWORD(wParam) == CBN_DROPDOWN)
            ShowTitles();
        else if (HIWORD(wParam) == CBN_CLOSEUP && m_pTitleWnd->GetSafeHwnd() != nullptr)
            m_pTitleWnd->ShowWindow(SW_HIDE);
    }
    return CGXComboBoxWnd::OnCommand(wParam, lParam);
}
