#include "afxctrl.h"

#include <mutex>
#include <vector>

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL AfxInitRichEdit()
{
    // Loaded once and kept for the life of the program: its window class must stay registered.
    static std::once_flag once;
    static HMODULE hRichEdit = nullptr;
    std::call_once(once, [] { hRichEdit = ::LoadLibraryA("RICHED32.DLL"); });
    return hRichEdit != nullptr;
}

CRichEditCtrl::~CRichEditCtrl()
{
    DestroyWindow();
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!AfxInitRichEdit())
        return FALSE;
    return CWnd::Create("RICHEDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

CPoint CRichEditCtrl::GetCharPos(long lChar) const
{
    POINTL pt = {};
    ::SendMessage(m_hWnd, EM_POSFROMCHAR, (WPARAM)&pt, lChar);
    return CPoint((int)pt.x, (int)pt.y);
}

int CRichEditCtrl::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    if (nMaxLength < (int)sizeof(WORD))
        return 0;
    *reinterpret_cast<WORD*>(lpszBuffer) = (WORD)nMaxLength;
    return (int)::SendMessage(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr = {};
    ::SendMessage(m_hWnd, EM_EXGETSEL, 0, (LPARAM)&cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr = {nStartChar, nEndChar};
    ::SendMessage(m_hWnd, EM_EXSETSEL, 0, (LPARAM)&cr);
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(CHARFORMAT);
    return (DWORD)::SendMessage(m_hWnd, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(CHARFORMAT);
    return (DWORD)::SendMessage(m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT& pf) const
{
    pf.cbSize = sizeof(PARAFORMAT);
    return (DWORD)::SendMessage(m_hWnd, EM_GETPARAFORMAT, 0, (LPARAM)&pf);
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE cr = {};
    ::SendMessage(m_hWnd, EM_EXGETSEL, 0, (LPARAM)&cr);
    // Paragraph ends may come out as two characters each.
    long nChars = cr.cpMax > cr.cpMin ? cr.cpMax - cr.cpMin : 0;
    std::vector<char> buffer(2 * nChars + 2);
    ::SendMessage(m_hWnd, EM_GETSELTEXT, 0, (LPARAM)buffer.data());
    return CString(buffer.data());
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(CHARFORMAT);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(CHARFORMAT);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetWordCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(CHARFORMAT);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& pf)
{
    pf.cbSize = sizeof(PARAFORMAT);
    return (BOOL)::SendMessage(m_hWnd, EM_SETPARAFORMAT, 0, (LPARAM)&pf);
}

void CRichEditCtrl::PasteSpecial(UINT nClipFormat, DWORD dvAspect, HMETAFILE hMF)
{
    REPASTESPECIAL reps = {dvAspect, (DWORD_PTR)hMF};
    ::SendMessage(m_hWnd, EM_PASTESPECIAL, nClipFormat, (LPARAM)&reps);
}
