// Drop-down choice cells: the combo box and the check-list combo box.
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxprop.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CGXComboBox, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGXComboBox, CGXEditControl)
IMPLEMENT_DYNAMIC(CGXCheckListComboBox, CGXComboBox)
GX_IMPLEMENT_CONTROL(CGXCheckListComboBox, CGXComboBox)

// ---------------------------------------------------------------------------
// The pure rules

namespace {
// The choice at an index, FALSE when there is none.
BOOL ChoiceAt(LPCSTR lpszChoices, long nIndex, CString& sItem)
{
    sItem.Empty();
    if (nIndex < 0)
        return FALSE;
    LPCSTR p = lpszChoices;
    CString line;
    for (long i = 0; GXGetNextChoiceLine(p, line); ++i)
        if (i == nIndex) {
            sItem = line;
            return TRUE;
        }
    return FALSE;
}

// The first choice equal to the text (ignoring case), else the first that begins with it.
int FindChoice(LPCSTR lpszText, LPCSTR lpszChoices, CString& sItem)
{
    sItem.Empty();
    if (lpszText == nullptr || *lpszText == '\0')
        return -1;
    const size_t len = std::strlen(lpszText);
    int prefix = -1;
    CString prefixItem, line;
    LPCSTR p = lpszChoices;
    for (int i = 0; GXGetNextChoiceLine(p, line); ++i) {
        if (line.CompareNoCase(lpszText) == 0) {
            sItem = line;
            return i;
        }
        if (prefix < 0 && static_cast<size_t>(line.GetLength()) >= len && _strnicmp(line, lpszText, len) == 0) {
            prefix = i;
            prefixItem = line;
        }
    }
    sItem = prefixItem;
    return prefix;
}

// A whole decimal number, FALSE when the text is not one or leaves the int range.
BOOL ParseIndex(LPCSTR lpszText, long& n)
{
    if (lpszText == nullptr || *lpszText == '\0')
        return FALSE;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(lpszText, &end, 10);
    while (end != nullptr && (*end == ' ' || *end == '\t'))
        ++end;
    if (errno != 0 || end == lpszText || (end != nullptr && *end != '\0') || v < INT_MIN || v > INT_MAX)
        return FALSE;
    n = v;
    return TRUE;
}
} // namespace

CString GXComboDisplayText(UINT nMode, LPCSTR lpszValue, LPCSTR lpszChoices)
{
    if (!(nMode & GXCOMBO_DISPLAYCHOICE))
        return lpszValue != nullptr ? CString(lpszValue) : CString();
    long n = 0;
    if (!ParseIndex(lpszValue, n))
        return CString();
    if (nMode & GXCOMBO_ONEBASED)
        --n;
    CString item;
    ChoiceAt(lpszChoices, n, item);
    return item;
}

BOOL GXComboStoredText(UINT nMode, LPCSTR lpszTyped, LPCSTR lpszChoices, CString& sStored)
{
    sStored = lpszTyped != nullptr ? lpszTyped : "";
    if (!(nMode & (GXCOMBO_TEXTFIT | GXCOMBO_DISPLAYCHOICE)) || sStored.IsEmpty())
        return TRUE;
    CString item;
    const int i = FindChoice(lpszTyped, lpszChoices != nullptr ? lpszChoices : "", item);
    if (i < 0)
        return FALSE;
    if (nMode & GXCOMBO_DISPLAYCHOICE)
        sStored.Format("%d", (nMode & GXCOMBO_ONEBASED) ? i + 1 : i);
    else
        sStored = item;
    return TRUE;
}

CRect GXComboDropDownRect(const CRect& rectCell, int nMaxHeight, int nContent, const CRect& rectDesktop)
{
    CRect r(rectCell.left, rectCell.bottom, rectCell.right, rectCell.bottom + nMaxHeight);
    if (nContent < r.Height())
        r.bottom = r.top + nContent;
    if (r.right > rectDesktop.right)
        r.OffsetRect(-(r.Width() - rectCell.Width()), 0);
    if (r.bottom > rectDesktop.bottom)
        r.OffsetRect(0, -(r.Height() + rectCell.Height()));
    r.IntersectRect(&r, &rectDesktop);
    return r;
}

BOOL GXCheckListIsChecked(LPCSTR lpszValue, int nItem)
{
    if (nItem < 0 || nItem >= 32 || lpszValue == nullptr)
        return FALSE;
    const unsigned long m = std::strtoul(lpszValue, nullptr, 10);
    return ((m >> nItem) & 1) != 0;
}

// ---------------------------------------------------------------------------
// The list

LRESULT CGXComboListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        m_bKeyDown = TRUE;
        if (m_nRepeat == 0)
            m_nSelAtStart = GetCurSel();
        ++m_nRepeat;
        m_nLastKey = static_cast<UINT>(wParam);
        break;
    case WM_KEYUP: {
        if (!m_bKeyDown)
            break;
        m_bKeyDown = FALSE;
        m_nRepeat = 0;
        const LRESULT r = CListBox::WindowProc(message, wParam, lParam);
        if (wParam == VK_TAB) {
            m_pOwner->PostMessage(WM_KEYDOWN, VK_TAB, 1);
            m_pOwner->PostMessage(WM_KEYUP, VK_TAB, 0xC0000001);
            m_pOwner->SendMessage(GXM_LISTCHOOSE);
        } else if (wParam == VK_RETURN) {
            m_pOwner->SendMessage(GXM_LISTCHOOSE);
        } else if (wParam == VK_ESCAPE) {
            // Escape cancels the browsing: the cell gets back what it had when the list opened.
            m_pOwner->SendMessage(GXM_LISTCLOSE, GXLISTCLOSE_CANCEL, 0);
        } else if (::IsWindow(m_hWnd) && GetCurSel() != m_nSelAtStart) {
            m_nSelAtStart = GetCurSel();
            m_pOwner->SendMessage(GXM_LISTSELCHANGE);
        }
        return r;
    }
    case WM_SYSKEYDOWN: m_bKeyDown = TRUE; break;
    case WM_SYSKEYUP:
        if (m_bKeyDown && wParam == VK_DOWN) {
            m_bKeyDown = FALSE;
            m_pOwner->SendMessage(GXM_LISTCLOSE, 0, 0);
        }
        // The Alt of Alt+Down that opened the list: no menu mode for its release.
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN:
        m_bButtonDown = TRUE;
        m_nSelAtStart = GetCurSel();
        break;
    case WM_LBUTTONUP: {
        const LRESULT r = CListBox::WindowProc(message, wParam, lParam);
        if (m_bButtonDown) {
            m_bButtonDown = FALSE;
            if (GetCurSel() != LB_ERR)
                m_pOwner->SendMessage(GXM_LISTCHOOSE);
        }
        return r;
    }
    case WM_KILLFOCUS: {
        const LRESULT r = CListBox::WindowProc(message, wParam, lParam);
        m_pOwner->PostMessage(GXM_LISTKILLFOCUS, wParam, 0);
        return r;
    }
    default: break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}

LRESULT CGXCheckListComboLBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN: m_bKeyDown = TRUE; break;
    case WM_KEYUP: {
        if (!m_bKeyDown)
            break;
        m_bKeyDown = FALSE;
        const LRESULT r = CCheckListBox::WindowProc(message, wParam, lParam);
        if (wParam == VK_TAB) {
            m_pOwner->PostMessage(WM_KEYDOWN, VK_TAB, 1);
            m_pOwner->PostMessage(WM_KEYUP, VK_TAB, 0xC0000001);
            m_pOwner->SendMessage(GXM_LISTCHOOSE);
        } else if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            m_pOwner->SendMessage(GXM_LISTCHOOSE);
        }
        return r;
    }
    case WM_SYSKEYDOWN: m_bKeyDown = TRUE; break;
    case WM_SYSKEYUP:
        if (m_bKeyDown && wParam == VK_DOWN) {
            m_bKeyDown = FALSE;
            m_pOwner->SendMessage(GXM_LISTCHOOSE);
        }
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN: m_bButtonDown = TRUE; break;
    case WM_LBUTTONUP: m_bButtonDown = FALSE; break;
    case WM_KILLFOCUS: {
        const LRESULT r = CCheckListBox::WindowProc(message, wParam, lParam);
        m_pOwner->PostMessage(GXM_LISTCHOOSE);
        return r;
    }
    default: break;
    }
    return CCheckListBox::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// CGXComboBox

CGXComboBox::CGXComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID, UINT nValueMode)
    : CGXEditControl(pGrid, nEditID), m_nValueMode(nValueMode), m_nListBoxID(nListBoxID)
{
    m_pArrowButton = new GXBitmapCellButton(this);
    AppendChild(m_pArrowButton);
}

CGXComboBox::~CGXComboBox() { CloseList(); }

void CGXComboBox::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXEditControl::Init(nRow, nCol);
    m_pArrowButton->Refresh();
}

void CGXComboBox::SetActive(BOOL bActive)
{
    // Deactivating closes an open list at once: no posted close reaches a later opening.
    if (!bActive && IsDropListVisible())
        CloseList();
    CGXEditControl::SetActive(bActive);
}

void CGXComboBox::Reset()
{
    CloseListKeepingChanges();
    CGXEditControl::Reset();
}

CRect CGXComboBox::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    CRect r = CGXEditControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    const BOOL current = m_pGrid != nullptr && m_pGrid->IsCurrentCellAt(nRow, nCol);
    if (!(m_bFullWidthWhenInactive && !m_bButtonInInactiveCells) || current)
        r.right -= 15;
    return r;
}

CSize CGXComboBox::AddBorders(CSize size, const CGXStyle& style)
{
    return CGXEditControl::AddBorders(CSize(size.cx + 15, size.cy), style);
}

CSize CGXComboBox::CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle* pStandardStyle,
                            BOOL bHeight)
{
    CSize size = CGXEditControl::CalcSize(pDC, nRow, nCol, style, pStandardStyle, bHeight);
    if (pDC == nullptr || m_pGrid == nullptr)
        return size;
    const int saved = pDC->SaveDC();
    m_pGrid->SelectStyleFont(pDC, style);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    CSize choices(0, tm.tmHeight + tm.tmExternalLeading + 1);
    if (!bHeight && m_bFillFromChoiceList && style.GetIncludeChoiceList()) {
        LPCSTR p = style.GetChoiceList();
        CString line;
        while (GXGetNextChoiceLine(p, line))
            choices.cx = std::max<int>(choices.cx, pDC->GetTextExtent(line).cx);
    }
    pDC->RestoreDC(saved);
    // The widest choice fits beside the button.
    choices = AddBorders(choices, style);
    return CSize(std::max(size.cx, choices.cx), std::max(size.cy, choices.cy));
}

void CGXComboBox::LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rectInner)
{
    // The button sits at the cell's right edge, outside the narrowed text rectangle.
    CRect r = rectInner;
    r.right += 15;
    CRect b(std::max<int>(r.left + 1, r.right - 16), r.top, r.right - 1, r.bottom - 1);
    if (m_bSizeButtonToText && m_pGrid != nullptr) {
        const CGXStyle* pStyle = nullptr;
        if (IsActiveAt(nRow, nCol))
            pStyle = &GetStyle();
        else if (m_bButtonInInactiveCells)
            pStyle = &m_pGrid->GetCellStyle(nRow, nCol);
        if (pStyle != nullptr) {
            if (m_nTextHeight == 0) {
                if (CDC* pDC = m_pGrid->GetFontDC()) {
                    m_pGrid->SelectStyleFont(pDC, *pStyle);
                    TEXTMETRIC tm{};
                    pDC->GetTextMetrics(&tm);
                    m_nTextHeight = tm.tmHeight;
                }
            }
            const int h = std::min<int>(m_nTextHeight + 2, r.bottom - 2 * m_nButtonFrame - r.top);
            if (pStyle->GetIncludeVerticalAlignment()) {
                if (pStyle->GetVerticalAlignment() == DT_VCENTER)
                    b.top = r.top + ((r.bottom - h - r.top) / 2 - m_nButtonFrame);
                else if (pStyle->GetVerticalAlignment() == DT_BOTTOM)
                    b.top = r.bottom - 2 * m_nButtonFrame - h;
            }
            b.bottom = b.top + h + 2 * m_nButtonFrame - 1;
        }
    }
    m_pArrowButton->SetRect(b);
}

void CGXComboBox::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                       const CGXStyle* pStandardStyle)
{
    if (m_bStaticWhenActive && IsActiveAt(nRow, nCol) && m_bActive && m_pGrid != nullptr && !m_pGrid->IsPrinting()) {
        CGXStyle* copy = style.Clone();
        CString text;
        GetCurrentText(text);
        copy->SetValue(text);
        CGXStatic::Draw(pDC, rect, nRow, nCol, *copy, pStandardStyle);
        delete copy;
        return;
    }
    CGXEditControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

BOOL CGXComboBox::GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                                 const CGXStyle* pStyle)
{
    if ((m_nValueMode & GXCOMBO_DISPLAYCHOICE) && m_bFillFromChoiceList && pStyle != nullptr &&
        pStyle->GetIncludeChoiceList()) {
        const CString value = lpszValue != nullptr ? CString(lpszValue) : pStyle->GetValue();
        strResult = GXComboDisplayText(m_nValueMode, value, pStyle->GetChoiceList());
        return TRUE;
    }
    return CGXEditControl::GetDisplayText(strResult, nRow, nCol, lpszValue, pStyle);
}

BOOL CGXComboBox::GetCurrentText(CString& strResult)
{
    if (!CGXEditControl::GetCurrentText(strResult))
        return FALSE;
    if (!(m_nValueMode & (GXCOMBO_TEXTFIT | GXCOMBO_DISPLAYCHOICE)) || !m_bFillFromChoiceList ||
        !GetStyle().GetIncludeChoiceList() || !m_bActive)
        return TRUE;
    CString stored;
    if (!GXComboStoredText(m_nValueMode, strResult, GetStyle().GetChoiceList(), stored))
        stored.Empty();
    strResult = stored;
    return TRUE;
}

BOOL CGXComboBox::SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle)
{
    if (!(m_nValueMode & (GXCOMBO_TEXTFIT | GXCOMBO_DISPLAYCHOICE)) || !m_bFillFromChoiceList)
        return CGXEditControl::SetCellText(nRow, nCol, str, nFlags, pOldStyle);
    CGXStyle* pComposed = nullptr;
    if (pOldStyle == nullptr) {
        pComposed = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pComposed);
        pOldStyle = pComposed;
    }
    BOOL ok = FALSE;
    CString stored;
    const CString choices = pOldStyle->GetIncludeChoiceList() ? pOldStyle->GetChoiceList() : CString();
    // An empty text clears the cell. In display mode a number naming a choice is stored as it
    // is (the control's own converted text); a typed choice becomes its number. A text no
    // choice fits stores nothing.
    BOOL fits = FALSE;
    if (str.IsEmpty()) {
        fits = TRUE;
    } else if (pOldStyle->GetIncludeChoiceList()) {
        if ((m_nValueMode & GXCOMBO_DISPLAYCHOICE) && !GXComboDisplayText(m_nValueMode, str, choices).IsEmpty()) {
            stored = str;
            fits = TRUE;
        } else {
            fits = GXComboStoredText(m_nValueMode, str, choices, stored);
        }
    }
    if (fits)
        ok = CGXEditControl::SetCellText(nRow, nCol, stored, nFlags, pOldStyle);
    if (pComposed != nullptr)
        m_pGrid->RecycleStyle(pComposed);
    return ok;
}

BOOL CGXComboBox::ValidateString(const CString& sEdit)
{
    if (sEdit.IsEmpty() || !m_bFillFromChoiceList || !(m_nValueMode & (GXCOMBO_TEXTFIT | GXCOMBO_DISPLAYCHOICE)))
        return TRUE;
    if (!m_bInit || !GetStyle().GetIncludeChoiceList())
        return FALSE;
    CString item;
    return FindChoice(sEdit, GetStyle().GetChoiceList(), item) >= 0;
}

BOOL CGXComboBox::OnMouseActivate(CWnd*, UINT, UINT, int& retval)
{
    if (!IsDropListVisible())
        return FALSE;
    SendMessage(GXM_LISTCLOSE, 0, 1);
    retval = MA_ACTIVATEANDEAT;
    return TRUE;
}

BOOL CGXComboBox::OnGridSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar != VK_DOWN)
        return CGXEditControl::OnGridSysKeyDown(nChar, nRepCnt, nFlags);
    if (!m_bInit || !OnStartEditing())
        return FALSE;
    SetActive(TRUE);
    Invalidate();
    if (CWnd* pGrid = GetGridWindow())
        pGrid->UpdateWindow();
    ShowDropList(TRUE);
    return TRUE;
}

void CGXComboBox::ReplaceSel(LPCSTR lpszNewText)
{
    if (!m_bActive || GetSafeHwnd() == nullptr) {
        CGXEditControl::ReplaceSel(lpszNewText);
        return;
    }
    if (IsReadOnly())
        return;
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lpszNewText));
    SetModify(TRUE);
    OnModifyCell();
}

void CGXComboBox::OnClickedButton(GXCellChild* pChild)
{
    if (!m_bInit)
        return;
    if (!m_bActive) {
        if (!OnStartEditing())
            return;
        SetActive(TRUE);
        Invalidate();
    }
    if (CWnd* pGrid = GetGridWindow())
        pGrid->UpdateWindow();
    ShowDropList(!IsDropListVisible());
    CGXControl::OnClickedButton(pChild);
}

void CGXComboBox::OnGridScroll(UINT nMessage)
{
    if (nMessage == WM_HSCROLL || nMessage == WM_VSCROLL)
        CloseListKeepingChanges();
    CGXEditControl::OnGridScroll(nMessage);
}

CWnd* CGXComboBox::CreateDropDownWnd(const CRect& rect)
{
    return new GXBrushWnd(this, GetGridWindow(), rect);
}

CListBox* CGXComboBox::CreateListBox(CWnd* pParent)
{
    auto* pList = new CGXComboListBox(this);
    CRect r;
    pParent->GetClientRect(&r);
    r.DeflateRect(1, 0);
    if (m_dwListBoxStyle == 0)
        m_dwListBoxStyle = WS_VSCROLL | LBS_NOTIFY;
    if (!pList->CWnd::Create("GXLISTBOX", nullptr, WS_CHILD | m_dwListBoxStyle | WS_VISIBLE | WS_BORDER, r, pParent,
                             m_nListBoxID)) {
        delete pList;
        return nullptr;
    }
    return pList;
}

void CGXComboBox::FillDropList(CListBox* pList)
{
    const CGXStyle& style = GetStyle();
    if (m_bFillFromChoiceList)
        GXAddChoiceLines(pList, LB_ADDSTRING, style);
    CString text;
    BOOL byText;
    if (m_bActive) {
        text = GetEditText();
        byText = (m_nValueMode & (GXCOMBO_TEXTFIT | GXCOMBO_DISPLAYCHOICE)) != 0;
    } else {
        text = style.GetValue();
        byText = (m_nValueMode & GXCOMBO_TEXTFIT) != 0;
    }
    long n = 0;
    if (byText || !(m_nValueMode & (GXCOMBO_ZEROBASED | GXCOMBO_ONEBASED))) {
        const int i = text.IsEmpty() ? LB_ERR : pList->FindStringExact(-1, text);
        if (i != LB_ERR)
            pList->SetCurSel(i);
        else if (!text.IsEmpty())
            pList->SelectString(-1, text);
    } else if (ParseIndex(text, n)) {
        const long i = (m_nValueMode & GXCOMBO_ONEBASED) ? n - 1 : n;
        if (i >= 0 && i < pList->GetCount())
            pList->SetCurSel(static_cast<int>(i));
    }
}

CRect CGXComboBox::GetDropDownRect(const CRect& rectCell)
{
    CRect cell = rectCell;
    if (CWnd* pGrid = GetGridWindow())
        pGrid->ClientToScreen(&cell);
    CRect desktop;
    ::GetClientRect(::GetDesktopWindow(), &desktop);
    const int maxHeight = m_pGrid->GetParam() != nullptr ? m_pGrid->GetParam()->m_nValue100 : 100;
    int content = maxHeight;
    if (m_pListBox != nullptr) {
        const int item = m_pListBox->GetItemHeight(0);
        // Every item at the list's own item height, and the list's border.
        content = item * m_pListBox->GetCount() + 2 * ::GetSystemMetrics(SM_CYBORDER);
    }
    return GXComboDropDownRect(cell, maxHeight, content, desktop);
}

void CGXComboBox::ShowDropList(BOOL bShow)
{
    if (!bShow) {
        if (IsDropListVisible())
            SendMessage(GXM_LISTCLOSE, 0, m_bActive);
        return;
    }
    if (IsDropListVisible() || !m_bInit || GetGridWindow() == nullptr)
        return;
    // What Escape in the list gives back.
    m_bOpenedActive = m_bActive && GetSafeHwnd() != nullptr;
    m_strTextAtOpen = m_bOpenedActive ? GetEditText() : CString();
    m_bModifiedAtOpen = m_bOpenedActive && GetModify();
    m_pGrid->SetDropDownOpen(TRUE);
    const CGXStyle& style = GetStyle();
    CRect cell = m_pGrid->CalcCellRect(m_nRow, m_nCol);
    const BOOL was = m_pGrid->m_bSettingFocus;
    m_pGrid->m_bSettingFocus = TRUE;
    GXSetGlobalValue(TRUE);
    m_pDropDownWnd = static_cast<GXBrushWnd*>(CreateDropDownWnd(CRect(cell.TopLeft(), CSize(1, 1))));
    if (m_pDropDownWnd == nullptr || m_pDropDownWnd->GetSafeHwnd() == nullptr) {
        delete m_pDropDownWnd;
        m_pDropDownWnd = nullptr;
        GXSetGlobalValue(FALSE);
        m_pGrid->m_bSettingFocus = was;
        m_pGrid->SetDropDownOpen(FALSE);
        return;
    }
    m_pDropDownWnd->MoveWindow(0, 0, 200, 100, FALSE);
    m_pListBox = CreateListBox(m_pDropDownWnd);
    m_pDropDownWnd->SetChild(m_pListBox);
    // The cell's font at the grid's zoom.
    m_ListFont.DeleteObject();
    LOGFONT lf{};
    if (CFont* pCached = m_pGrid->LookupFont(style.GetFont()))
        pCached->GetLogFont(&lf);
    else
        ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfHeight = lf.lfHeight * m_pGrid->GetZoom() / 100;
    m_ListFont.CreateFontIndirect(&lf);
    if (m_pListBox != nullptr)
        m_pListBox->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_ListFont.GetSafeHandle()), TRUE);
    const BOOL bw = GXIsBlackWhite(m_pGrid);
    m_pDropDownWnd->SetBkColor(bw ? RGB(0, 0, 0) : ResolveSysColor(style.GetTextColor()),
                               bw ? RGB(255, 255, 255) : ResolveSysColor(style.GetInterior().lbColor));
    if (m_pListBox != nullptr)
        FillDropList(m_pListBox);
    const CRect r = GetDropDownRect(cell);
    m_pDropDownWnd->SetWindowPos(&CWnd::wndTopMost, r.left, r.top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (m_pListBox != nullptr) {
        m_pListBox->MoveWindow(0, 0, r.Width(), r.Height());
        m_pListBox->ShowWindow(SW_SHOW);
        m_pListBox->SetFocus();
        if (m_pListBox->GetCurSel() == LB_ERR && m_pListBox->GetCount() > 0)
            m_pListBox->SetCurSel(0);
        m_pListBox->UpdateWindow();
    }
    GXSetGlobalValue(FALSE);
    m_pGrid->m_bSettingFocus = was;
}

void CGXComboBox::DestroyDropDown()
{
    GXBrushWnd* pWnd = m_pDropDownWnd;
    m_pDropDownWnd = nullptr;
    m_pListBox = nullptr;   // the popup owns it
    if (pWnd != nullptr) {
        if (pWnd->GetSafeHwnd() != nullptr)
            pWnd->DestroyWindow();
        delete pWnd;
    }
    m_ListFont.DeleteObject();
}

void CGXComboBox::CloseListKeepingChanges()
{
    // What the list chose is in the edit text already.
    CloseList();
}

void CGXComboBox::CloseList()
{
    if (m_pGrid != nullptr)
        m_pGrid->SetDropDownOpen(FALSE);
    if (!IsDropListVisible())
        return;
    const BOOL was = m_pGrid != nullptr && m_pGrid->m_bSettingFocus;
    if (m_pGrid != nullptr)
        m_pGrid->m_bSettingFocus = TRUE;
    GXSetGlobalValue(TRUE);
    const BOOL hadFocus = m_pListBox != nullptr && ::GetFocus() == m_pListBox->GetSafeHwnd();
    DestroyDropDown();
    GXSetGlobalValue(FALSE);
    if (hadFocus && GetSafeHwnd() != nullptr && IsWindowVisible())
        SetFocus();
    else if (hadFocus && GetGridWindow() != nullptr)
        GetGridWindow()->SetFocus();
    if (m_pGrid != nullptr)
        m_pGrid->m_bSettingFocus = was;
}

LRESULT CGXComboBox::OnListChoose()
{
    m_pGrid->SetDropDownOpen(FALSE);
    if (!IsDropListVisible())
        return 0;
    const BOOL was = m_pGrid->m_bSettingFocus;
    m_pGrid->m_bSettingFocus = TRUE;
    GXSetGlobalValue(TRUE);
    FreeStyle();
    // Only a selection the list took counts as a change.
    BOOL took = FALSE;
    if (!IsReadOnly() && m_pListBox != nullptr && m_pListBox->GetCurSel() != LB_ERR) {
        TakeListSelection(m_pListBox);
        took = TRUE;
    }
    DestroyDropDown();
    GXSetGlobalValue(FALSE);
    if (took)
        OnModifyCell();
    const HWND hFocus = ::GetFocus();
    if (GetSafeHwnd() != nullptr && IsWindowVisible() && (hFocus == nullptr || hFocus == m_pGrid->GetGridHwnd() || !m_pGrid->IsGridOrChildWnd(hFocus)))
        SetFocus();
    m_pGrid->m_bSettingFocus = was;
    return 0;
}

LRESULT CGXComboBox::OnListClose(BOOL bKeepFocus, BOOL bCancel)
{
    m_pGrid->SetDropDownOpen(FALSE);
    if (!IsDropListVisible())
        return 0;
    if (bCancel)
        RestoreTextAtOpen();
    const BOOL was = m_pGrid->m_bSettingFocus;
    m_pGrid->m_bSettingFocus = TRUE;
    // Closed from the list itself (Escape, Alt+Down): the focus goes back to the cell.
    const BOOL listHadFocus = m_pListBox != nullptr && ::GetFocus() == m_pListBox->GetSafeHwnd();
    GXSetGlobalValue(TRUE);
    DestroyDropDown();
    GXSetGlobalValue(FALSE);
    // Other ways of closing keep the typed or browsed text and its modified mark.
    if (bKeepFocus || listHadFocus || ::GetFocus() == nullptr) {
        if (GetSafeHwnd() != nullptr && m_bActive && IsWindowVisible())
            SetFocus();
        else if (CWnd* pGrid = GetGridWindow())
            pGrid->SetFocus();
    }
    if (GetModify())
        OnModifyCell();
    m_pGrid->m_bSettingFocus = was;
    return 0;
}

void CGXComboBox::RestoreTextAtOpen()
{
    if (!m_bActive || GetSafeHwnd() == nullptr)
        return;
    // A list opened over an inactive cell gives back the cell's stored value, unmodified.
    if (m_bOpenedActive)
        SetEditText(m_strTextAtOpen);
    else
        SetValue(GetStyle().GetValue());
    SetSel(0, -1);
    SetModify(m_bOpenedActive && m_bModifiedAtOpen);
    if (m_bStaticWhenActive)
        Invalidate();
    else
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

LRESULT CGXComboBox::OnListSelChange()
{
    if (!IsReadOnly() && m_pListBox != nullptr) {
        TakeListSelection(m_pListBox);
        OnModifyCell();
    }
    return 0;
}

LRESULT CGXComboBox::OnListKillFocus()
{
    if (!IsDropListVisible())
        return 0;
    const HWND hFocus = ::GetFocus();
    if (hFocus != nullptr && m_pListBox != nullptr && hFocus == m_pListBox->GetSafeHwnd())
        return 0;
    if (hFocus != nullptr && m_pGrid->IsGridOrChildWnd(hFocus))
        return 0;
    // The focus left for another window: the list closes and the typed text stays.
    SendMessage(GXM_LISTCLOSE, 0, 0);
    return 0;
}

void CGXComboBox::TakeListSelection(CListBox* pList)
{
    const int sel = pList->GetCurSel();
    if (sel == LB_ERR)
        return;
    CString text;
    if (m_nValueMode & GXCOMBO_ZEROBASED)
        text.Format("%d", sel);
    else if (m_nValueMode & GXCOMBO_ONEBASED)
        text.Format("%d", sel + 1);
    else
        pList->GetText(sel, text);
    if (!m_bActive)
        CGXEditControl::SetActive(TRUE);
    SetValue(text);
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
    SetModify(TRUE);
    if (m_bStaticWhenActive)
        Invalidate();
    else
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

LRESULT CGXComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case GXM_LISTCHOOSE: return OnListChoose();
    case GXM_LISTCLOSE: return OnListClose(lParam != 0, wParam == GXLISTCLOSE_CANCEL);
    case GXM_LISTSELCHANGE: return OnListSelChange();
    case GXM_LISTKILLFOCUS: return OnListKillFocus();
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN) {
            if (m_bInit && OnStartEditing()) {
                if (CWnd* pGrid = GetGridWindow())
                    pGrid->UpdateWindow();
                ShowDropList(TRUE);
            }
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (IsDropListVisible())
            SendMessage(GXM_LISTCLOSE, 0, 1);
        break;
    default: break;
    }
    return CGXEditControl::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// CGXCheckListComboBox

CGXCheckListComboBox::CGXCheckListComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID)
    : CGXComboBox(pGrid, nEditID, nListBoxID, GXCOMBO_NOTEXTFIT)
{
}

BOOL CGXCheckListComboBox::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR, const CGXStyle* pStyle)
{
    strResult.Empty();
    if (pStyle != nullptr && pStyle->GetIncludeChoiceList()) {
        LPCSTR p = pStyle->GetChoiceList();
        GXGetNextChoiceLine(p, strResult);
    }
    return TRUE;
}

void CGXCheckListComboBox::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                                const CGXStyle* pStandardStyle)
{
    const BOOL own = IsActiveAt(nRow, nCol) && m_pGrid != nullptr && !m_pGrid->IsPrinting() &&
                     m_pGrid->IsCurrentCellAt(nRow, nCol);
    if (own)
        Hide();
    CGXStatic::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

BOOL CGXCheckListComboBox::HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    return CGXControl::HandleGridKey(nMessage, nChar, nRepCnt, nFlags);
}

BOOL CGXCheckListComboBox::OnLButtonUp(UINT nFlags, CPoint pt) { return CGXControl::OnLButtonUp(nFlags, pt); }

BOOL CGXCheckListComboBox::HandleEditKey(UINT, UINT, UINT)
{
    m_strPending.Empty();
    return FALSE;
}

void CGXCheckListComboBox::OnEditSetFocus()
{
    if (CWnd* pGrid = GetGridWindow())
        pGrid->SetFocus();
}

CListBox* CGXCheckListComboBox::CreateListBox(CWnd* pParent)
{
    auto* pList = new CGXCheckListComboLBox(this);
    CRect r;
    pParent->GetClientRect(&r);
    r.DeflateRect(1, 0);
    if (m_dwListBoxStyle == 0)
        m_dwListBoxStyle = WS_VSCROLL | LBS_NOTIFY;
    if (!pList->Create(WS_CHILD | m_dwListBoxStyle | WS_VISIBLE | WS_BORDER | LBS_HASSTRINGS, r, pParent, m_nListBoxID)) {
        delete pList;
        return nullptr;
    }
    return pList;
}

void CGXCheckListComboBox::FillDropList(CListBox* pList)
{
    auto* pCheck = dynamic_cast<CCheckListBox*>(pList);
    m_nCheckCount = 0;
    const CGXStyle& style = GetStyle();
    if (!style.GetIncludeChoiceList() || pCheck == nullptr)
        return;
    // The first line is the caption.
    m_nCheckCount = GXAddChoiceLines(pCheck, LB_ADDSTRING, style, 1);
    if (style.GetIncludeValue())
        for (int i = 0; i < m_nCheckCount; ++i)
            pCheck->SetCheck(i, GXCheckListIsChecked(style.GetValue(), i) ? 1 : 0);
}

void CGXCheckListComboBox::TakeListSelection(CListBox* pList)
{
    auto* pCheck = dynamic_cast<CCheckListBox*>(pList);
    if (pCheck == nullptr)
        return;
    unsigned long m = 0;
    // Items from index 32 on have no bit of their own.
    for (int i = 0; i < m_nCheckCount && i < 32; ++i)
        if (pCheck->GetCheck(i) == 1)
            m |= 1ul << i;
    CString value;
    if (m != 0)
        value.Format("%lu", m);
    // Only the value changes: the cell keeps its control and its choices.
    m_pGrid->SetValueRange(CellRange(), value, gxOverride);
}

LRESULT CGXCheckListComboBox::OnListChoose()
{
    m_pGrid->SetDropDownOpen(FALSE);
    if (!IsDropListVisible())
        return 0;
    const BOOL was = m_pGrid->m_bSettingFocus;
    m_pGrid->m_bSettingFocus = TRUE;
    GXSetGlobalValue(TRUE);
    FreeStyle();
    if (!IsReadOnly() && m_pListBox != nullptr)
        TakeListSelection(m_pListBox);
    const BOOL hadFocus = m_pListBox != nullptr && ::GetFocus() == m_pListBox->GetSafeHwnd();
    DestroyDropDown();
    GXSetGlobalValue(FALSE);
    OnModifyCell();
    if (hadFocus || ::GetFocus() == nullptr)
        if (CWnd* pGrid = GetGridWindow())
            pGrid->SetFocus();
    m_pGrid->m_bSettingFocus = was;
    SetModify(FALSE);
    CGXEditControl::SetActive(FALSE);
    FreeStyle();
    Invalidate();
    return 0;
}

LRESULT CGXCheckListComboBox::OnListClose(BOOL, BOOL) { return OnListChoose(); }

void CGXCheckListComboBox::CloseListKeepingChanges()
{
    // The ticks live only in the list: they are stored before it goes.
    if (IsDropListVisible())
        OnListChoose();
    CloseList();
}

LRESULT CGXCheckListComboBox::OnListKillFocus()
{
    const HWND hFocus = ::GetFocus();
    if (hFocus == nullptr || !m_pGrid->IsGridOrChildWnd(hFocus))
        SendMessage(GXM_LISTCLOSE, 0, 0);
    return 0;
}
