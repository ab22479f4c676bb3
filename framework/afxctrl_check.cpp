#include "afxctrl.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

namespace {
const int kBoxSize = 13;  // the system's check box, in pixels
const int kBoxMargin = 1; // space left of the box
const int kTextGap = 3;   // space between the box and the text
} // namespace

CCheckListBox::CCheckListBox() : m_nStyle(BS_AUTOCHECKBOX) {}

CCheckListBox::~CCheckListBox()
{
    DestroyWindow();
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    // The boxes need an owner-drawn list; a caller that does not choose gets a list of texts.
    if ((dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0)
        dwStyle |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (!CListBox::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    SyncItemCount();
    EnsureItemHeight();
    return TRUE;
}

void CCheckListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    SyncItemCount();
    EnsureItemHeight();
}

void CCheckListBox::SetCheckStyle(UINT nStyle)
{
    if (nStyle == BS_CHECKBOX || nStyle == BS_AUTOCHECKBOX || nStyle == BS_3STATE || nStyle == BS_AUTO3STATE)
        m_nStyle = nStyle;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (nIndex < 0 || nIndex >= (int)m_items.size() || nCheck < 0 || nCheck > 2)
        return;
    if (m_items[nIndex].nCheck == nCheck)
        return;
    m_items[nIndex].nCheck = nCheck;
    CRect rect;
    if (m_hWnd != nullptr && GetItemRect(nIndex, rect) != LB_ERR)
        ::InvalidateRect(m_hWnd, rect, FALSE);
}

int CCheckListBox::GetCheck(int nIndex) const
{
    if (nIndex < 0 || nIndex >= (int)m_items.size())
        return -1;
    return m_items[nIndex].nCheck;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    if (nIndex < 0 || nIndex >= (int)m_items.size())
        return;
    m_items[nIndex].bEnabled = bEnabled;
    CRect rect;
    if (m_hWnd != nullptr && GetItemRect(nIndex, rect) != LB_ERR)
        ::InvalidateRect(m_hWnd, rect, FALSE);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_items.size() && m_items[nIndex].bEnabled;
}

CRect CCheckListBox::GetCheckRect(int nIndex) const
{
    CRect item;
    if (GetItemRect(nIndex, item) == LB_ERR)
        return CRect();
    int top = item.top + (item.Height() - kBoxSize) / 2;
    return CRect(item.left + kBoxMargin, top, item.left + kBoxMargin + kBoxSize, top + kBoxSize);
}

int CCheckListBox::CheckBoxSize() const
{
    return kBoxSize;
}

int CCheckListBox::MinimumItemHeight() const
{
    int nHeight = kBoxSize + 2;
    HDC hDC = ::GetDC(m_hWnd);
    if (hDC != nullptr) {
        HFONT hFont = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
        HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
        TEXTMETRIC tm = {};
        if (::GetTextMetrics(hDC, &tm))
            nHeight = std::max(nHeight, (int)tm.tmHeight);
        if (hOld != nullptr)
            ::SelectObject(hDC, hOld);
        ::ReleaseDC(m_hWnd, hDC);
    }
    return nHeight;
}

void CCheckListBox::EnsureItemHeight()
{
    // A list made from a template measured its items before this object was attached.
    if (m_hWnd == nullptr || (::GetWindowLong(m_hWnd, GWL_STYLE) & LBS_OWNERDRAWFIXED) == 0)
        return;
    int nMin = MinimumItemHeight();
    if (GetItemHeight(0) < nMin)
        SetItemHeight(0, nMin);
}

void CCheckListBox::SyncItemCount()
{
    int nCount = m_hWnd != nullptr ? GetCount() : 0;
    m_items.resize(nCount < 0 ? 0 : nCount);
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    int nMin = MinimumItemHeight();
    if ((int)lpMeasureItemStruct->itemHeight < nMin)
        lpMeasureItemStruct->itemHeight = nMin;
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect item(lpDrawItemStruct->rcItem);
    int nIndex = (int)lpDrawItemStruct->itemID;
    BOOL bFocus = (lpDrawItemStruct->itemState & ODS_FOCUS) != 0;

    if (nIndex < 0 || nIndex >= GetCount()) {
        // An empty list with the focus shows only the focus frame.
        if (bFocus)
            pDC->DrawFocusRect(item);
        return;
    }

    BOOL bEnabled = IsEnabled(nIndex) && ::IsWindowEnabled(m_hWnd);
    BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    int nCheck = GetCheck(nIndex);

    CRect box(item.left + kBoxMargin, item.top + (item.Height() - kBoxSize) / 2, 0, 0);
    box.right = box.left + kBoxSize;
    box.bottom = box.top + kBoxSize;
    CRect text(box.right + kTextGap, item.top, item.right, item.bottom);

    pDC->FillSolidRect(CRect(item.left, item.top, text.left, item.bottom), ::GetSysColor(COLOR_WINDOW));
    UINT nState = DFCS_BUTTONCHECK;
    if (nCheck == 1)
        nState |= DFCS_CHECKED;
    else if (nCheck == 2)
        nState = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (!bEnabled)
        nState |= DFCS_INACTIVE;
    pDC->DrawFrameControl(box, DFC_BUTTON, nState);

    COLORREF clrBack = ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF clrText = ::GetSysColor(!bEnabled ? COLOR_GRAYTEXT : bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    pDC->FillSolidRect(text, clrBack);
    if (::GetWindowLong(m_hWnd, GWL_STYLE) & LBS_HASSTRINGS) {
        CString str;
        GetText(nIndex, str);
        COLORREF clrOldText = pDC->SetTextColor(clrText);
        int nOldMode = pDC->SetBkMode(TRANSPARENT);
        CRect textArea(text.left + 1, text.top, text.right, text.bottom);
        pDC->DrawText(str, textArea, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        pDC->SetBkMode(nOldMode);
        pDC->SetTextColor(clrOldText);
    }
    if (bFocus)
        pDC->DrawFocusRect(text);
}

void CCheckListBox::NotifyCheckChange()
{
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent != nullptr)
        ::SendMessage(hParent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CLBN_CHKCHANGE), (LPARAM)m_hWnd);
}

// The user asked to change the check of an item: automatic styles change it (and every other
// selected item with it in a multiple-selection list); the others leave that to the parent.
void CCheckListBox::ToggleFromUser(int nIndex)
{
    if (!IsEnabled(nIndex))
        return;
    if (m_nStyle == BS_AUTOCHECKBOX || m_nStyle == BS_AUTO3STATE) {
        int nCheck = GetCheck(nIndex);
        int nNew = m_nStyle == BS_AUTO3STATE ? (nCheck + 1) % 3 : (nCheck == 1 ? 0 : 1);
        SetCheck(nIndex, nNew);
        if (::GetWindowLong(m_hWnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
            for (int i = 0; i < (int)m_items.size(); i++)
                if (i != nIndex && GetSel(i) > 0 && IsEnabled(i))
                    SetCheck(i, nNew);
        }
    }
    NotifyCheckChange();
}

void CCheckListBox::OnButtonDown(LPARAM lParam)
{
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    BOOL bOutside = TRUE;
    int nIndex = (int)ItemFromPoint(pt, bOutside);
    if (bOutside || nIndex >= (int)m_items.size())
        return;
    if (GetCheckRect(nIndex).PtInRect(pt))
        ToggleFromUser(nIndex);
}

BOOL CCheckListBox::OnSpace()
{
    int nIndex = GetCaretIndex();
    if (nIndex < 0 || nIndex >= (int)m_items.size())
        return FALSE;
    ToggleFromUser(nIndex);
    return TRUE;
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        if (result >= 0 && result <= (LRESULT)m_items.size())
            m_items.insert(m_items.begin() + result, ItemState());
        else if (result >= 0)
            SyncItemCount();
        return result;
    }
    case LB_DELETESTRING: {
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        if (result != LB_ERR && wParam < m_items.size())
            m_items.erase(m_items.begin() + wParam);
        return result;
    }
    case LB_RESETCONTENT: {
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        m_items.clear();
        return result;
    }
    case LB_DIR:
    case LB_ADDFILE: {
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        SyncItemCount();
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The list selects the item first, so the parent sees the clicked item selected when
        // the check change arrives.
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        if (m_hWnd != nullptr)
            OnButtonDown(lParam);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && OnSpace())
            return 0;
        break;
    case WM_CHAR:
        if (wParam == ' ')
            return 0; // the space was a toggle, not a search for an item starting with a blank
        break;
    case WM_SETFONT: {
        LRESULT result = CListBox::WindowProc(message, wParam, lParam);
        EnsureItemHeight();
        return result;
    }
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
