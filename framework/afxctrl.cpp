#include "afxctrl.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

// The control classes destroy their window in their own destructor, while their overrides still
// answer the messages a dying control sends (deleted items, for one).

// ---------------------------------------------------------------------------------------------
// CStatic

CStatic::~CStatic()
{
    DestroyWindow();
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------------------------
// CButton

CButton::~CButton()
{
    DestroyWindow();
}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
    // An owner-drawn button draws in its own class.
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult != nullptr)
        *pResult = TRUE;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CEdit

CEdit::~CEdit()
{
    DestroyWindow();
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessage(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    nStartChar = (int)dwStart;
    nEndChar = (int)dwEnd;
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    // The control reads the buffer's size from its first word.
    if (nMaxLength < (int)sizeof(WORD))
        return 0;
    *reinterpret_cast<WORD*>(lpszBuffer) = (WORD)nMaxLength;
    return (int)::SendMessage(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll)
{
    SetSel((int)(short)LOWORD(dwSelection), (int)(short)HIWORD(dwSelection), bNoScroll);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    ::SendMessage(m_hWnd, EM_SETSEL, nStartChar, nEndChar);
    if (!bNoScroll)
        ::SendMessage(m_hWnd, EM_SCROLLCARET, 0, 0);
}

CPoint CEdit::PosFromChar(UINT nChar) const
{
    LRESULT pos = ::SendMessage(m_hWnd, EM_POSFROMCHAR, nChar, 0);
    return CPoint((short)LOWORD(pos), (short)HIWORD(pos));
}

// ---------------------------------------------------------------------------------------------
// Owner-draw reflection shared by list and combo boxes

namespace {

template <class T> BOOL ReflectOwnerDraw(T* pCtrl, UINT message, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        pCtrl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        pCtrl->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        result = pCtrl->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case WM_DELETEITEM:
        pCtrl->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult != nullptr)
        *pResult = result;
    return TRUE;
}

CString TextOfItem(HWND hWnd, UINT msgLen, UINT msgText, int nIndex)
{
    int nLen = (int)::SendMessage(hWnd, msgLen, nIndex, 0);
    if (nLen <= 0)
        return CString();
    CString str;
    LPSTR p = str.GetBuffer(nLen);
    int nGot = (int)::SendMessage(hWnd, msgText, nIndex, (LPARAM)p);
    str.ReleaseBuffer(nGot < 0 ? 0 : nGot);
    return str;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CListBox

CListBox::~CListBox()
{
    DestroyWindow();
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    DWORD dw = (DWORD)::SendMessage(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(dw) != 0;
    return LOWORD(dw);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    rString = TextOfItem(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, nIndex);
}

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem)
{
    return (int)::SendMessage(m_hWnd, LB_SELITEMRANGE, bSelect, MAKELONG(nFirstItem, nLastItem));
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (ReflectOwnerDraw(this, message, lParam, pResult))
        return TRUE;
    if (message == WM_VKEYTOITEM || message == WM_CHARTOITEM) {
        int nResult = message == WM_VKEYTOITEM ? VKeyToItem(LOWORD(wParam), HIWORD(wParam))
                                               : CharToItem(LOWORD(wParam), HIWORD(wParam));
        if (pResult != nullptr)
            *pResult = nResult;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------------------------
// CComboBox

CComboBox::~CComboBox()
{
    DestroyWindow();
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    rString = TextOfItem(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (ReflectOwnerDraw(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------------------------
// CScrollBar

CScrollBar::~CScrollBar()
{
    DestroyWindow();
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

int CScrollBar::GetScrollLimit()
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (!::GetScrollInfo(m_hWnd, SB_CTL, &info))
        return 0;
    int nLimit = info.nMax;
    if (info.nPage > 1)
        nLimit -= (int)info.nPage - 1;
    return nLimit;
}
