// The tabbed combo box: a choice list as a table.
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CGXTabbedComboBox, CGXComboBox)
GX_IMPLEMENT_CONTROL(CGXTabbedComboBox, CGXComboBox)

namespace {
const int kMaxColumns = 10;
const int kFieldMax = 127;
} // namespace

CString GXTabField(LPCSTR lpszEntry, int nColumn)
{
    CString field;
    if (lpszEntry == nullptr || nColumn < 0)
        return field;
    LPCSTR p = lpszEntry;
    for (int i = 0; i < nColumn; ++i) {
        p = std::strchr(p, '\t');
        if (p == nullptr)
            return field;
        ++p;
    }
    const char* end = std::strchr(p, '\t');
    const int len = end != nullptr ? static_cast<int>(end - p) : static_cast<int>(std::strlen(p));
    field = CString(p, std::min(len, kFieldMax));
    return field;
}

int GXFindTabEntry(LPCSTR lpszKey, int nColumn, LPCSTR lpszList, BOOL bSkipTitle, BOOL bExact, CString& sEntry)
{
    return GXFindTabListEntry(lpszKey, nColumn, lpszList, bSkipTitle, sEntry, bExact);
}

// ---------------------------------------------------------------------------
// The list and the title window

void CGXTabbedComboListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasure)
{
    lpMeasure->itemHeight = static_cast<UINT>(std::max(1, m_pCombo->m_nItemHeight));
}

void CGXTabbedComboListBox::DrawItem(LPDRAWITEMSTRUCT lpDraw)
{
    if (lpDraw->itemID == static_cast<UINT>(-1))
        return;
    CDC* pDC = CDC::FromHandle(lpDraw->hDC);
    const CRect r(lpDraw->rcItem);
    if (lpDraw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        const BOOL sel = (lpDraw->itemState & ODS_SELECTED) != 0;
        pDC->FillSolidRect(&r, sel ? ::GetSysColor(COLOR_HIGHLIGHT) : m_pCombo->m_rgbBack);
        const int saved = pDC->SaveDC();
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(sel ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : m_pCombo->m_rgbText);
        CString item;
        GetText(static_cast<int>(lpDraw->itemID), item);
        const std::vector<int>& stops = m_pCombo->GetStops();
        const int columns = m_pCombo->m_bShowAllCols ? static_cast<int>(stops.size()) + 1 : 1;
        int left = r.left;
        for (int c = 0; c < columns; ++c) {
            const int right = c < static_cast<int>(stops.size()) ? r.left + stops[c] : r.right;
            if (right > left) {
                CRect cell(left + 2, r.top, right - 2, r.bottom);
                const CString field = GXTabField(item, c);
                pDC->DrawText(field, field.GetLength(), &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
            if (m_pCombo->m_bShowAllCols && c < static_cast<int>(stops.size()))
                pDC->FillSolidRect(r.left + stops[c] - 2, r.top, 1, r.Height(), m_pCombo->m_rgbGridLine);
            left = right;
        }
        pDC->RestoreDC(saved);
    }
    if ((lpDraw->itemAction & ODA_FOCUS) || (lpDraw->itemState & ODS_FOCUS))
        pDC->DrawFocusRect(&r);
}

LRESULT CGXTabbedPopupWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return CWnd::WindowProc(message, wParam, lParam);
    PAINTSTRUCT ps;
    CDC* pDC = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    const int saved = pDC->SaveDC();
    if (m_hFont != nullptr)
        ::SelectObject(pDC->GetSafeHdc(), m_hFont);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    const int columns = m_bShowAllCols ? static_cast<int>(m_stops.size()) + 1 : 1;
    int left = client.left;
    for (int c = 0; c < columns; ++c) {
        const int right = m_bShowAllCols && c < static_cast<int>(m_stops.size()) ? client.left + m_stops[c] : client.right;
        CRect cell(left, client.top, right, client.bottom);
        if (cell.Width() > 0) {
            ::DrawEdge(pDC->GetSafeHdc(), &cell, EDGE_RAISED, BF_RECT);
            const CString field = GXTabField(m_strTitle, m_bShowAllCols ? c : m_nTextCol);
            pDC->DrawText(field, field.GetLength(), &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        left = right;
    }
    pDC->RestoreDC(saved);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

// ---------------------------------------------------------------------------
// CGXTabbedComboBox

CGXTabbedComboBox::CGXTabbedComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID)
    : CGXComboBox(pGrid, nEditID, nListBoxID, GXCOMBO_NOTEXTFIT), m_pTitleWnd(new CGXTabbedPopupWnd)
{
    m_bSizeButtonToText = FALSE;
}

CGXTabbedComboBox::~CGXTabbedComboBox()
{
    CloseList();
    if (m_pTitleWnd->GetSafeHwnd() != nullptr)
        m_pTitleWnd->DestroyWindow();
    delete m_pTitleWnd;
}

CString CGXTabbedComboBox::Choices(const CGXStyle* pStyle) const
{
    return pStyle != nullptr && pStyle->GetIncludeChoiceList() ? pStyle->GetChoiceList() : CString();
}

void GXTabbedList::ReadAttributes(const CGXStyle& style)
{
    CString s;
    nKeyCol = style.LookupUserAttribute(GX_IDS_UA_TABLIST_KEYCOL, s) && !s.IsEmpty() ? atoi(s) : 0;
    nTextCol = style.LookupUserAttribute(GX_IDS_UA_TABLIST_TEXTCOL, s) && !s.IsEmpty() ? atoi(s) : 0;
    bShowAllCols = style.LookupUserAttribute(GX_IDS_UA_TABLIST_SHOWALLCOLS, s) && !s.IsEmpty() ? atoi(s) != 0 : TRUE;
    bDispTitles = style.LookupUserAttribute(GX_IDS_UA_TABLIST_TITLES, s) && !s.IsEmpty() ? atoi(s) != 0 : FALSE;
    strColWidths = style.GetUserAttribute(GX_IDS_UA_TABLIST_COLWIDTHS);
    nSortCol = style.LookupUserAttribute(GX_IDS_UA_TABLIST_SORT, s) && !s.IsEmpty() ? atoi(s) : -1;
}

void GXTabbedList::Build(CDC* pDC, CGXStyle& style)
{
    items.clear();
    stops.clear();
    title.Empty();
    nTotalWidth = 0;
    CString choices = style.GetIncludeChoiceList() ? style.GetChoiceList() : CString();
    if (!choices.IsEmpty() && nSortCol >= 0) {
        // Sorted once: the sorted list and "-1" go back into the cell's style.
        // The sorter splits at CR LF: every line end takes that form first.
        CString normal, line;
        for (LPCSTR q = choices; GXGetNextChoiceLine(q, line);)
            normal += (normal.IsEmpty() ? "" : "\r\n") + line;
        choices = normal;
        GXSortTabList(choices, nSortCol, bDispTitles);
        style.SetChoiceList(choices);
        style.SetUserAttribute(GX_IDS_UA_TABLIST_SORT, "-1");
        nSortCol = -1;
    }
    int widths[kMaxColumns];
    std::fill(widths, widths + kMaxColumns, -1);
    LPCSTR p = choices;
    CString line;
    for (int i = 0; GXGetNextChoiceLine(p, line); ++i) {
        const int fields = std::min(kMaxColumns, 1 + static_cast<int>(std::count(static_cast<LPCSTR>(line),
                                                                                  static_cast<LPCSTR>(line) + line.GetLength(), '\t')));
        for (int c = 0; c < fields; ++c)
            widths[c] = std::max<int>(widths[c], pDC->GetTextExtent(GXTabField(line, c)).cx);
        if (i == 0 && bDispTitles) {
            title = line;
            continue;
        }
        // A list's first column always shows the text column.
        items.push_back(nTextCol > 0 ? GXTabField(line, nTextCol) + "\t" + line : line);
    }
    LPCSTR w = strColWidths;
    int sum = 0;
    for (int c = 0; c < kMaxColumns && widths[c] >= 0; ++c) {
        while (*w != '\0' && (*w < '0' || *w > '9'))
            ++w;
        int width;
        if (*w != '\0') {
            width = atoi(w);
            while (*w >= '0' && *w <= '9')
                ++w;
        } else {
            width = (!bShowAllCols && c != nTextCol) ? 0 : widths[c] + 4;
        }
        sum += width;
        if (c + 1 < kMaxColumns && widths[c + 1] >= 0)
            stops.push_back(sum);
    }
    nTotalWidth = sum + ::GetSystemMetrics(SM_CXVSCROLL);
}

void CGXTabbedComboBox::ReadAttributes(const CGXStyle& style)
{
    GXTabbedList tab;
    tab.ReadAttributes(style);
    m_nKeyCol = tab.nKeyCol;
    m_nTextCol = tab.nTextCol;
    m_bShowAllCols = tab.bShowAllCols;
    m_bDispTitles = tab.bDispTitles;
    m_strColWidths = tab.strColWidths;
    m_nSortCol = tab.nSortCol;
}

void CGXTabbedComboBox::Init(ROWCOL nRow, ROWCOL nCol)
{
    m_bListFilled = FALSE;
    CGXComboBox::Init(nRow, nCol);
    const CGXStyle& style = GetStyle();
    ReadAttributes(style);
    SetValue(style.GetIncludeValue() ? style.GetValue() : CString());
    SetModify(FALSE);
    if (GetSafeHwnd() != nullptr)
        SetReadOnly(IsReadOnly());
}

BOOL CGXTabbedComboBox::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR lpszValue, const CGXStyle* pStyle)
{
    strResult.Empty();
    if (pStyle == nullptr)
        return FALSE;
    const CString value = lpszValue != nullptr ? CString(lpszValue) : pStyle->GetValue();
    // Columns and the title flag of the style asked about, not of the held cell.
    GXTabbedList tab;
    tab.ReadAttributes(*pStyle);
    CString entry;
    if (value.IsEmpty() || GXFindTabEntry(value, tab.nKeyCol, Choices(pStyle), tab.bDispTitles, TRUE, entry) < 0)
        return FALSE;
    strResult = GXTabField(entry, tab.nTextCol);
    return TRUE;
}

void CGXTabbedComboBox::SetValue(LPCSTR lpszValue)
{
    CString entry;
    CString text;
    if (m_bInit && lpszValue != nullptr && *lpszValue != '\0' &&
        GXFindTabEntry(lpszValue, m_nKeyCol, Choices(&GetStyle()), m_bDispTitles, TRUE, entry) >= 0)
        text = GXTabField(entry, m_nTextCol);
    SetEditText(text);
    if (GetSafeHwnd() != nullptr) {
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
    }
    if (m_bListFilled && m_pListBox != nullptr)
        m_pListBox->SetCurSel(text.IsEmpty() ? -1 : m_pListBox->FindStringExact(-1, text));
}

BOOL CGXTabbedComboBox::GetCurrentText(CString& strResult)
{
    if (!m_bInit)
        return FALSE;
    const CString text = GetEditText();
    if (text.IsEmpty()) {
        strResult.Empty();
        return TRUE;
    }
    CString entry;
    if (GXFindTabEntry(text, m_nTextCol, Choices(&GetStyle()), m_bDispTitles, TRUE, entry) < 0)
        return FALSE;
    strResult = GXTabField(entry, m_nKeyCol);
    return TRUE;
}

BOOL CGXTabbedComboBox::SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle)
{
    CGXStyle* pComposed = nullptr;
    if (pOldStyle == nullptr) {
        pComposed = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pComposed);
        pOldStyle = pComposed;
    }
    BOOL ok = FALSE;
    GXTabbedList tab;
    tab.ReadAttributes(*pOldStyle);
    const int keyCol = tab.nKeyCol, textCol = tab.nTextCol;
    const BOOL titles = tab.bDispTitles;
    CString entry;
    // A text as the cell shows it names its entry first; a key (a value copied from another
    // cell) is taken when no entry shows that text.
    if (str.IsEmpty()) {
        ok = CGXEditControl::SetCellText(nRow, nCol, str, nFlags, pOldStyle);
    } else if (GXFindTabEntry(str, textCol, Choices(pOldStyle), titles, TRUE, entry) >= 0) {
        ok = CGXEditControl::SetCellText(nRow, nCol, GXTabField(entry, keyCol), nFlags, pOldStyle);
    } else if (GXFindTabEntry(str, keyCol, Choices(pOldStyle), titles, TRUE, entry) >= 0) {
        ok = CGXEditControl::SetCellText(nRow, nCol, str, nFlags, pOldStyle);
    }
    if (pComposed != nullptr)
        m_pGrid->RecycleStyle(pComposed);
    return ok;
}

BOOL CGXTabbedComboBox::StoreCurrentText(const CString& sKey)
{
    // The control's own text is converted to its key already: stored as it is, never looked up
    // again as a text some other entry may show.
    return CGXComboBox::SetCellText(m_nRow, m_nCol, sKey, GX_INVALIDATE, nullptr);
}

BOOL CGXTabbedComboBox::ValidateString(const CString& sEdit)
{
    if (sEdit.IsEmpty() || !m_bFillFromChoiceList)
        return TRUE;
    CString entry;
    return m_bInit && GXFindTabEntry(sEdit, m_nTextCol, Choices(&GetStyle()), m_bDispTitles, FALSE, entry) >= 0;
}

BOOL CGXTabbedComboBox::OnValidate()
{
    if (m_bActive && GetModify()) {
        const CString text = GetEditText();
        CString entry;
        if (!text.IsEmpty() && GXFindTabEntry(text, m_nTextCol, Choices(&GetStyle()), m_bDispTitles, TRUE, entry) < 0)
            return FALSE;
    }
    return CGXComboBox::OnValidate();
}

void CGXTabbedComboBox::AutoComplete()
{
    if (!m_bAutoComplete || !m_bFillFromChoiceList || !m_bActive || IsReadOnly() || GetSafeHwnd() == nullptr)
        return;
    const CString typed = GetEditText();
    if (typed.IsEmpty())
        return;
    const CString choices = Choices(&GetStyle());
    CString entry;
    if (GXFindTabEntry(typed, m_nTextCol, choices, m_bDispTitles, TRUE, entry) < 0 &&
        GXFindTabEntry(typed, m_nTextCol, choices, m_bDispTitles, FALSE, entry) < 0)
        return;
    const CString text = GXTabField(entry, m_nTextCol);
    SetEditText(text);
    SetSel(typed.GetLength(), text.GetLength());
    SendMessage(EM_SCROLLCARET);
}

void CGXTabbedComboBox::OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar >= 32 && !IsReadOnly() && m_bActive) {
        // The completed rest goes before the typed character counts.
        SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
        CGXComboBox::OnEditChar(nChar, nRepCnt, nFlags);
        AutoComplete();
        return;
    }
    CGXComboBox::OnEditChar(nChar, nRepCnt, nFlags);
}

BOOL CGXTabbedComboBox::HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL handled = CGXComboBox::HandleGridKey(nMessage, nChar, nRepCnt, nFlags);
    if (nMessage == WM_CHAR && nChar >= 32 && !IsReadOnly())
        AutoComplete();
    return handled;
}

void CGXTabbedComboBox::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                             const CGXStyle* pStandardStyle)
{
    if (IsActiveAt(nRow, nCol) && m_pGrid != nullptr && !m_pGrid->IsPrinting()) {
        m_rgbBack = ResolveSysColor(style.GetInterior().lbColor);
        m_rgbText = ResolveSysColor(style.GetTextColor());
        if (m_bActive && pDC != nullptr) {
            const int saved = pDC->SaveDC();
            m_pGrid->SelectStyleFont(pDC, style);
            TEXTMETRIC tm{};
            pDC->GetTextMetrics(&tm);
            m_nItemHeight = tm.tmHeight;
            pDC->RestoreDC(saved);
        }
    }
    CGXComboBox::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

CListBox* CGXTabbedComboBox::CreateListBox(CWnd* pParent)
{
    auto* pList = new CGXTabbedComboListBox(this, this);
    CRect r;
    pParent->GetClientRect(&r);
    r.DeflateRect(1, 0);
    if (m_dwListBoxStyle == 0)
        m_dwListBoxStyle = WS_VSCROLL | LBS_NOTIFY;
    if (!pList->CWnd::Create("GXLISTBOX", nullptr,
                             WS_CHILD | m_dwListBoxStyle | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VISIBLE | WS_BORDER, r,
                             pParent, m_nListBoxID)) {
        delete pList;
        return nullptr;
    }
    return pList;
}

void CGXTabbedComboBox::FillDropList(CListBox* pList)
{
    if (!m_bInit)
        return;
    if (m_bFillFromChoiceList) {
        GXTabbedList tab;
        tab.nKeyCol = m_nKeyCol;
        tab.nTextCol = m_nTextCol;
        tab.bShowAllCols = m_bShowAllCols;
        tab.bDispTitles = m_bDispTitles;
        tab.nSortCol = m_nSortCol;
        tab.strColWidths = m_strColWidths;
        CClientDC dc(GetGridWindow());
        CGXStyle& style = const_cast<CGXStyle&>(GetStyle());
        m_pGrid->SelectStyleFont(&dc, style);
        tab.Build(&dc, style);
        m_nSortCol = tab.nSortCol;
        pList->ResetContent();
        for (const CString& item : tab.items)
            pList->AddString(item);
        m_pTitleWnd->m_strTitle = tab.title;
        m_stops = tab.stops;
        m_nTotalWidth = tab.nTotalWidth;
    }
    const CString text = GetEditText();
    pList->SetCurSel(text.IsEmpty() ? -1 : pList->FindStringExact(-1, text));
    m_bListFilled = TRUE;
}

CRect CGXTabbedComboBox::GetDropDownRect(const CRect& rectCell)
{
    CRect cell = rectCell;
    cell.right = std::max<int>(cell.right, cell.left + m_nTotalWidth);
    CRect r = CGXComboBox::GetDropDownRect(cell);
    return r;
}

void CGXTabbedComboBox::ShowDropList(BOOL bShow)
{
    const BOOL wasOpen = IsDropListVisible();
    CGXComboBox::ShowDropList(bShow);
    CWnd* pGrid = GetGridWindow();
    if (!bShow || wasOpen || !IsDropListVisible() || !m_bDispTitles || m_pTitleWnd->m_strTitle.IsEmpty() ||
        pGrid == nullptr)
        return;
    // The titles sit on top of the list, or above it when the list opened above the cell.
    if (m_pTitleWnd->GetSafeHwnd() == nullptr)
        m_pTitleWnd->CreateEx(WS_EX_TOOLWINDOW, GXGetAppState()->m_strPopupClass, nullptr, WS_POPUP, 0, 0, 0, 0,
                              pGrid->GetSafeHwnd(), nullptr);
    m_pTitleWnd->m_bShowAllCols = m_bShowAllCols;
    m_pTitleWnd->m_nTextCol = m_nTextCol;
    m_pTitleWnd->m_stops = m_stops;
    m_pTitleWnd->m_hFont = static_cast<HFONT>(m_ListFont.GetSafeHandle());
    const int th = m_nItemHeight + 4;
    CRect list;
    m_pDropDownWnd->GetWindowRect(&list);
    CRect cell = m_pGrid->CalcCellRect(m_nRow, m_nCol);
    pGrid->ClientToScreen(&cell);
    if (list.top >= cell.bottom) {
        m_pTitleWnd->SetWindowPos(&CWnd::wndTopMost, list.left, list.top, list.Width(), th, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        m_pDropDownWnd->SetWindowPos(nullptr, list.left, list.top + th, list.Width(), list.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        m_pTitleWnd->SetWindowPos(&CWnd::wndTopMost, list.left, list.top - th, list.Width(), th, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
}

void CGXTabbedComboBox::TakeListSelection(CListBox* pList)
{
    const int sel = pList->GetCurSel();
    if (sel == LB_ERR)
        return;
    CString item;
    pList->GetText(sel, item);
    if (!m_bActive)
        CGXEditControl::SetActive(TRUE);
    SetEditText(GXTabField(item, 0));
    SetSel(0, -1);
    SetModify(TRUE);
    OnModifyCell();
    if (m_bStaticWhenActive)
        Invalidate();
}

void CGXTabbedComboBox::DestroyDropDown()
{
    if (m_pTitleWnd->GetSafeHwnd() != nullptr)
        m_pTitleWnd->ShowWindow(SW_HIDE);
    m_bListFilled = FALSE;
    CGXComboBox::DestroyDropDown();
}
