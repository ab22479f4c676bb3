// The masked edit cell control.
#include "afxwin.h"
#include "gxengine.h"
#include "gxmask.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxinit.h"
#include <algorithm>
#include <climits>
#include <cstring>

IMPLEMENT_DYNAMIC(CGXMaskControl, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGXMaskControl, CGXStatic)

namespace {
BOOL KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

// How many characters of a text a placing starting at nStart took, counted
// as the data positions it passed: a text is accepted only when all went in.
BOOL PlacedAll(CGXMaskData* pMask, LPCSTR lpszText, int nStart, int nEnd)
{
    if (nEnd < 0)
        return FALSE;
    int placed = 0;
    for (int p = nStart < 0 ? 0 : nStart; p < nEnd; ++p)
        placed += pMask->IsLiteral(p) ? 0 : 1;
    return placed == static_cast<int>(CGXMaskData::SplitChars(lpszText).size());
}

// Puts a text on the open clipboard in a movable block (grown in steps of 4096 bytes).
BOOL PutClipboardText(UINT nFormat, const CString& text)
{
    const SIZE_T size = static_cast<SIZE_T>(text.GetLength()) + 1;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, (size + 4095) / 4096 * 4096);
    if (h == nullptr)
        return FALSE;
    void* p = ::GlobalLock(h);
    if (p == nullptr) {
        ::GlobalFree(h);
        return FALSE;
    }
    std::memcpy(p, static_cast<LPCSTR>(text), size);
    ::GlobalUnlock(h);
    if (::SetClipboardData(nFormat, h) == nullptr) {
        ::GlobalFree(h);
        return FALSE;
    }
    return TRUE;
}

// The read-only rule for a cell other than the held one.
BOOL CellReadOnly(CGXGridEngine* pGrid, const CGXStyle& style)
{
    CGXGridParam* param = pGrid->GetParam();
    if (param == nullptr || !param->m_bLockStructureReadOnly)
        return FALSE;
    return pGrid->IsReadOnly() || (style.GetIncludeReadOnly() && style.GetReadOnly());
}
} // namespace

CGXMaskControl::CGXMaskControl(CGXGridEngine* pGrid, UINT nID, CRuntimeClass* pMaskDataClass)
    : CGXEditControl(pGrid, nID), m_pMaskDataClass(pMaskDataClass != nullptr ? pMaskDataClass
                                                                             : RUNTIME_CLASS(CGXMaskData))
{
    GXGetMaskDataClipboardFormat();
    EnsureMasks();
}

CGXMaskControl::~CGXMaskControl()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
    delete m_pEditMask;
    delete m_pDrawMask;
}

void CGXMaskControl::EnsureMasks()
{
    auto make = [this]() -> CGXMaskData* {
        CObject* p = m_pMaskDataClass->CreateObject();
        if (p != nullptr && !p->IsKindOf(RUNTIME_CLASS(CGXMaskData))) {
            delete p;
            p = RUNTIME_CLASS(CGXMaskData)->CreateObject();
        }
        return static_cast<CGXMaskData*>(p);
    };
    if (m_pEditMask == nullptr)
        m_pEditMask = make();
    if (m_pDrawMask == nullptr)
        m_pDrawMask = make();
}

void CGXMaskControl::SetMaskDataClass(CRuntimeClass* pClass)
{
    delete m_pEditMask;
    delete m_pDrawMask;
    m_pEditMask = m_pDrawMask = nullptr;
    m_pMaskDataClass = pClass != nullptr ? pClass : RUNTIME_CLASS(CGXMaskData);
    EnsureMasks();
}

BOOL CGXMaskControl::CreateEditWindow(DWORD dwStyle, const CRect& rect)
{
    EnsureMasks();
    return CGXEditControl::CreateEditWindow(dwStyle, rect);
}

BOOL CGXMaskControl::CreateControl(DWORD dwStyle, const CRect& rect) { return CreateEditWindow(dwStyle, rect); }

void CGXMaskControl::InitMask(CGXMaskData* pMask, const CGXStyle& style)
{
    if (pMask == nullptr)
        return;
    CString mask, prompt;
    if (!style.LookupUserAttribute(GX_IDS_UA_INPUTMASK, mask))
        mask.Empty();
    if (!style.LookupUserAttribute(GX_IDS_UA_INPUTPROMPT, prompt))
        prompt = "_";
    pMask->ClearMask();
    pMask->SetPromptChar(prompt, FALSE);
    pMask->SetMask(mask);
    pMask->SetMaxLength(INT_MAX);
    if (style.GetIncludeMaxLength() && style.GetMaxLength() != 0)
        pMask->SetMaxLength(static_cast<int>(style.GetMaxLength()));
}

DWORD CGXMaskControl::CalcEditStyle(CRect& rect, int& nHeight)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL | ES_NOHIDESEL;
    if (m_nHorzAlign == DT_CENTER)
        style |= ES_CENTER;
    else if (m_nHorzAlign == DT_RIGHT)
        style |= ES_RIGHT;
    nHeight = m_nLineHeight;
    if (GetSafeHwnd() == nullptr)
        return style;
    CClientDC dc(this);
    CFont* pOld = m_font.GetSafeHandle() != nullptr ? dc.SelectObject(&m_font) : nullptr;
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_nLineHeight = tm.tmHeight + tm.tmExternalLeading;
    const CString text = GetEditText();
    const int width = text.IsEmpty() ? 0 : dc.GetTextExtent(text, text.GetLength()).cx;
    if (pOld != nullptr)
        dc.SelectObject(pOld);
    // Text wider than the window scrolls; only left alignment shows its start.
    if (width > rect.Width() - tm.tmMaxCharWidth)
        style &= ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
    nHeight = m_nLineHeight;
    return style;
}

// ---------------------------------------------------------------------------
// Selection and window text

void CGXMaskControl::GetPosSel(int& nStart, int& nEnd)
{
    nStart = nEnd = 0;
    if (GetSafeHwnd() == nullptr)
        return;
    CEdit::GetSel(nStart, nEnd);
    nStart = m_pEditMask->CharToPos(nStart);
    nEnd = m_pEditMask->CharToPos(nEnd);
}

void CGXMaskControl::SetPosSel(int nStart, int nEnd, BOOL bNoScroll)
{
    if (GetSafeHwnd() == nullptr)
        return;
    CEdit::SetSel(m_pEditMask->PosToChar(nStart), m_pEditMask->PosToChar(nEnd), bNoScroll);
    if (!bNoScroll)
        SendMessage(EM_SCROLLCARET);
}

void CGXMaskControl::NotifyParent(UINT nCode)
{
    CWnd* pParent = GetSafeHwnd() != nullptr ? GetParent() : nullptr;
    if (pParent != nullptr)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

void CGXMaskControl::RefreshWindowText(LPCSTR lpszDisplay)
{
    if (lpszDisplay != nullptr)
        m_pEditMask->SetDisplayString(lpszDisplay, -1, FALSE);
    CString shown;
    m_pEditMask->GetDisplayString(shown);
    SetEditText(shown);
    SetModify(TRUE);
}

int CGXMaskControl::SnapCaret(int nPos)
{
    int p = m_pEditMask->GetNextDataPos(nPos - 1);
    if (p < 0 || p == nPos - 1)
        p = m_pEditMask->GetPrevDataPos(nPos + 1);
    if (p < 0)
        p = nPos;
    return std::min(p, m_pEditMask->GetInputEnd(m_pEditMask->GetLength()));
}

void CGXMaskControl::ReevaluateStyle()
{
    if (m_bRecreating || GetSafeHwnd() == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    int height = 0;
    const DWORD want = CalcEditStyle(client, height);
    const DWORD align = ES_CENTER | ES_RIGHT;
    if ((CWnd::GetStyle() & align) != (want & align)) {
        CRect rect;
        GetWindowRect(&rect);
        if (CWnd* pParent = GetParent())
            pParent->ScreenToClient(&rect);
        const DWORD visible = CWnd::GetStyle() & WS_VISIBLE;
        HideCaret();
        RecreateEditWindow((want & ~static_cast<DWORD>(WS_VISIBLE)) | visible, rect);
    }
    if (GetSafeHwnd() != nullptr)
        SendMessage(EM_SCROLLCARET);
}

// ---------------------------------------------------------------------------
// Values

void CGXMaskControl::Init(ROWCOL nRow, ROWCOL nCol)
{
    EnsureMasks();
    CGXEditControl::Init(nRow, nCol);
    // A cell without a value still shows its mask's literals and prompts.
    if (GetSafeHwnd() != nullptr && !GetStyle().GetIncludeValue()) {
        const BOOL bModified = GetModify();
        SetValue("");
        SetSel(0, -1);
        SetModify(bModified);
    }
}

void CGXMaskControl::SetValue(LPCSTR lpszValue)
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (m_bInit)
        InitMask(m_pEditMask, GetStyle());
    m_pEditMask->SetData(lpszValue != nullptr ? lpszValue : "", -1, FALSE);
    CString shown;
    m_pEditMask->GetDisplayString(shown);
    SetEditText(shown);
}

void CGXMaskControl::GetValue(CString& strResult)
{
    if (m_bInit)
        m_pEditMask->GetDisplayString(strResult);
    else
        strResult.Empty();
}

BOOL CGXMaskControl::GetCurrentText(CString& strResult)
{
    if (!m_bInit)
        return FALSE;
    m_pEditMask->GetData(strResult, 0, -1, TRUE);
    return TRUE;
}

void CGXMaskControl::SetCurrentText(const CString& str)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return;
    if (!m_bActive)
        SetActive(TRUE);
    if (!ValidateString(str))
        return;
    // A text with its literals, else a value without them.
    const int end = m_pEditMask->SetDisplayString(str, -1, FALSE);
    if (end < 0 || !m_pEditMask->IsValid())
        m_pEditMask->SetData(str, -1, FALSE);
    RefreshWindowText();
    OnModifyCell();
    Invalidate();
}

BOOL CGXMaskControl::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR lpszValue, const CGXStyle* pStyle)
{
    strResult.Empty();
    if (pStyle != nullptr)
        InitMask(m_pDrawMask, *pStyle);
    else
        InitMask(m_pDrawMask, CGXStyle());
    // A mask of literals alone has nothing to show.
    if (m_pDrawMask->GetNextDataPos(-1) < 0)
        return FALSE;
    CString value;
    if (lpszValue != nullptr)
        value = lpszValue;
    else if (pStyle != nullptr && pStyle->GetIncludeValue())
        value = pStyle->GetValue();
    if (value.IsEmpty())
        return TRUE;
    m_pDrawMask->SetData(value, -1, FALSE);
    m_pDrawMask->GetDisplayString(strResult);
    return TRUE;
}

BOOL CGXMaskControl::SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle)
{
    CGXStyle* pComposed = nullptr;
    if (pOldStyle == nullptr) {
        pComposed = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pComposed);
    }
    const CGXStyle& style = pOldStyle != nullptr ? *pOldStyle : *pComposed;
    InitMask(m_pDrawMask, style);
    CString value;
    BOOL fits = m_pDrawMask->SetDisplayString(str, -1, FALSE) >= 0 && m_pDrawMask->IsValid();
    if (!fits) {
        const int end = m_pDrawMask->SetData(str, -1, FALSE);
        fits = (str.IsEmpty() || PlacedAll(m_pDrawMask, str, 0, end)) && m_pDrawMask->IsValid();
    }
    BOOL ok = FALSE;
    if (fits) {
        m_pDrawMask->GetData(value, 0, -1, TRUE);
        ok = CGXControl::SetCellText(nRow, nCol, value, nFlags, &style);
    }
    if (pComposed != nullptr)
        m_pGrid->RecycleStyle(pComposed);
    return ok;
}

BOOL CGXMaskControl::OnValidate()
{
    if (m_bActive && GetModify() && !m_pEditMask->IsValid())
        return FALSE;
    return CGXEditControl::OnValidate();
}

// ---------------------------------------------------------------------------
// Typing

BOOL CGXMaskControl::TypeChar(CString sChar)
{
    int s = 0, e = 0;
    GetPosSel(s, e);
    const int target = m_pEditMask->GetNextDataPos(s - 1);
    if (target < 0 || (s != e && target >= e)) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!m_pEditMask->ValidateChar(target, sChar)) {
        OnInvalidKeyPressed(sChar);
        return FALSE;
    }
    const CString before = GetEditText();
    int caret = target + 1;
    if (m_bInsertMode) {
        if (e > target)
            m_pEditMask->DeleteRange(e, target);
        if (!m_pEditMask->InsertAt(target, sChar, &caret)) {
            // A full mask takes nothing; a deleted selection comes back.
            m_pEditMask->SetDisplayString(before, -1, FALSE);
            return FALSE;
        }
    } else {
        if (e > target + 1)
            m_pEditMask->DeleteRange(e, target + 1);
        m_pEditMask->SetDisplayString(sChar, target, FALSE);
    }
    RefreshWindowText();
    NotifyParent(EN_CHANGE);
    SetPosSel(caret, caret);
    return TRUE;
}

void CGXMaskControl::OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Backspace did its work at the key-down.
    if (nChar == VK_BACK)
        return;
    if (!m_bActive || !m_bInit)
        return;
    if (KeyHeld(VK_CONTROL)) {
        switch (nChar) {
        case 3: Copy(); return;
        case 22: Paste(); return;
        case 24: Cut(); return;
        default:
            Default();
            ToGrid(WM_CHAR, nChar, nRepCnt, nFlags);
            return;
        }
    }
    if (IsReadOnly() || (CWnd::GetStyle() & ES_READONLY) != 0)
        return;
    CString ch;
    const BOOL wasPending = m_bDBCSPending;
    if (GXCombineDBCSChar(nChar, ch, m_bDBCSPending, m_chDBCSLead) && !wasPending)
        return;   // a lead byte waits for its trail byte
    if (!wasPending && nChar < 32) {
        // Keys the grid moves with never reach the text.
        if (nChar == '\r' || nChar == '\n' || nChar == '\t' || nChar == 27)
            return;
        Default();
        ToGrid(WM_CHAR, nChar, nRepCnt, nFlags);
        return;
    }
    TypeChar(ch);
}

void CGXMaskControl::OnEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bActive || !m_bInit) {
        CGXEditControl::OnEditKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (m_pGrid->GetGridHwnd() != nullptr)
        m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
    if (KeyHeld(VK_CONTROL)) {
        if (!ToGrid(WM_KEYDOWN, nChar, nRepCnt, nFlags))
            Default();
        return;
    }
    const BOOL shift = KeyHeld(VK_SHIFT);
    const BOOL readOnly = IsReadOnly() || (CWnd::GetStyle() & ES_READONLY) != 0;
    int s = 0, e = 0;
    GetPosSel(s, e);
    CGXMaskData* m = m_pEditMask;
    const int inputEnd = m->GetInputEnd(m->GetLength());
    enum { handled, byDefault, byGrid } how = handled;
    switch (nChar) {
    case VK_BACK:
        if (readOnly) {
            how = byDefault;
        } else if (s == e) {
            const int p = m->GetPrevDataPos(s);
            if (p >= 0) {
                m->DeleteRange(p + 1, p);
                RefreshWindowText();
                SetPosSel(p, p);
                NotifyParent(EN_CHANGE);
            }
        } else {
            m->DeleteRange(e, s);
            RefreshWindowText();
            const int p = m->GetNextDataPos(s - 1);
            SetPosSel(p >= 0 ? p : s, p >= 0 ? p : s);
            NotifyParent(EN_CHANGE);
        }
        break;
    case VK_DELETE:
        if (readOnly) {
            how = byDefault;
        } else if (s == e) {
            const int start = m->IsLiteral(s) ? m->GetNextDataPos(s) : s;
            if (start >= 0 && start < m->GetLength()) {
                const int next = m->GetNextDataPos(start);
                m->DeleteRange(next >= 0 && next > start ? next : start + 1, start);
                RefreshWindowText();
                SetPosSel(s, s);
                NotifyParent(EN_CHANGE);
            }
        } else if (shift) {
            if (::OpenClipboard(m_pGrid->GetGridHwnd())) {
                ::EmptyClipboard();
                ::CloseClipboard();
            }
            Cut();
        } else {
            ReplaceSel("");
        }
        break;
    case VK_INSERT:
        if (readOnly)
            break;
        if (shift) {
            Paste();
        } else {
            m_bInsertMode = !m_bInsertMode;
            how = byDefault;
        }
        break;
    case VK_HOME: {
        const int first = std::max(0, m->GetNextDataPos(-1));
        if (shift)
            SetPosSel(0, s);
        else
            SetPosSel(first, first);
        break;
    }
    case VK_END:
        if (shift)
            SetPosSel(s, m->GetLength());
        else
            SetPosSel(inputEnd, inputEnd);
        break;
    case VK_LEFT:
        if (shift) {
            how = byDefault;
        } else if (s == e) {
            if (s == 0) {
                how = byGrid;
            } else {
                const int p = m->GetPrevDataPos(s);
                if (p >= 0)
                    SetPosSel(p, p);
            }
        } else {
            const int p = m->IsLiteral(s) ? m->GetPrevDataPos(s) : s;
            SetPosSel(p >= 0 ? p : s, p >= 0 ? p : s);
        }
        break;
    case VK_RIGHT:
        if (shift) {
            how = byDefault;
        } else if (s == e) {
            // The caret never goes past the entered text: the key moves the current cell.
            if (s >= inputEnd) {
                how = byGrid;
            } else {
                const int p = m->GetNextDataPos(s);
                const int to = p >= 0 ? std::min(p, inputEnd) : inputEnd;
                SetPosSel(to, to);
            }
        } else {
            const int p = m->GetNextDataPos(e - 1);
            if (p >= 0)
                SetPosSel(p, p);
        }
        break;
    case VK_UP: how = LineFromChar(-1) > 0 ? byDefault : byGrid; break;
    case VK_DOWN: how = LineFromChar(-1) < GetLineCount() - 1 ? byDefault : byGrid; break;
    case VK_RETURN:
    case VK_TAB:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT: how = byGrid; break;
    default: how = nChar >= VK_F1 && nChar <= VK_F24 ? byGrid : byDefault; break;
    }
    if (how == byDefault)
        Default();
    else if (how == byGrid)
        ToGrid(WM_KEYDOWN, nChar, nRepCnt, nFlags);
}

LRESULT CGXMaskControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYUP: {
        const UINT nRep = LOWORD(lParam), nFlags = HIWORD(lParam);
        if (!ToGrid(WM_KEYUP, static_cast<UINT>(wParam), nRep, nFlags)) {
            Default();
            ReevaluateStyle();
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_SHOWWINDOW: {
        const LRESULT r = CGXEditControl::WindowProc(message, wParam, lParam);
        if (message == WM_SETFOCUS || wParam)
            ReevaluateStyle();
        return r;
    }
    case WM_LBUTTONUP: {
        const LRESULT r = Default();
        // A bare caret stays on a place that takes a character, within the entered text.
        if (m_bInit && m_bActive) {
            int s = 0, e = 0;
            GetPosSel(s, e);
            if (s == e) {
                const int p = SnapCaret(s);
                SetPosSel(p, p);
            }
        }
        return r;
    }
    default: return CGXEditControl::WindowProc(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------
// Keys and clicks reaching the grid while the cell is not edited

BOOL CGXMaskControl::OnGridKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_bActive || GetSafeHwnd() == nullptr)
        return FALSE;
    if ((nChar == VK_END || nChar == VK_HOME) && !KeyHeld(VK_CONTROL)) {
        if (!OnStartEditing())
            return FALSE;
        if (!m_bInit)
            Init(m_nRow, m_nCol);
        SetActive(TRUE);
        const int p = nChar == VK_END ? m_pEditMask->GetInputEnd(m_pEditMask->GetLength())
                                      : std::max(0, m_pEditMask->GetNextDataPos(-1));
        SetPosSel(p, p);
        ReevaluateStyle();
        Invalidate();
        return TRUE;
    }
    return CGXEditControl::OnGridKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CGXMaskControl::OnGridDoubleByteChar(const CString& sChar, UINT, UINT)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return FALSE;
    if (m_bActive) {
        TypeChar(sChar);
        return TRUE;
    }
    CString ch = sChar;
    const int first = m_pEditMask->GetNextDataPos(-1);
    if (first < 0 || !OnStartEditing())
        return FALSE;
    if (!m_pEditMask->ValidateChar(first, ch)) {
        OnInvalidKeyPressed(ch);
        return TRUE;
    }
    m_pEditMask->ResetData();
    int next = first + 1;
    m_pEditMask->InsertAt(first, ch, &next);
    SetActive(TRUE);
    RefreshWindowText();
    OnModifyCell();
    SetPosSel(next, next);
    Invalidate();
    return TRUE;
}

BOOL CGXMaskControl::OnLButtonUp(UINT nFlags, CPoint pt)
{
    const BOOL r = CGXEditControl::OnLButtonUp(nFlags, pt);
    if (m_bActive && m_bInit && GetSafeHwnd() != nullptr) {
        int s = 0, e = 0;
        GetPosSel(s, e);
        if (s == e) {
            const int p = SnapCaret(s);
            SetPosSel(p, p);
        }
    }
    return r;
}

// ---------------------------------------------------------------------------
// Clipboard and replacing

BOOL CGXMaskControl::Copy()
{
    if (!m_bInit || !m_pGrid->IsCurrentCellAt(m_nRow, m_nCol))
        return FALSE;
    if (!m_bActive || GetSafeHwnd() == nullptr)
        return CGXControl::Copy();
    int s = 0, e = 0;
    GetPosSel(s, e);
    if (s == e)
        return FALSE;
    CString value;
    m_pEditMask->GetData(value, s, e - 1, TRUE);
    CString shown;
    m_pEditMask->GetDisplayString(shown, s, e - 1);
    if (!::OpenClipboard(m_pGrid->GetGridHwnd()))
        return FALSE;
    ::EmptyClipboard();
    BOOL ok = FALSE;
    if (!value.IsEmpty())
        ok = PutClipboardText(GXGetMaskDataClipboardFormat(), value);
    if (!shown.IsEmpty())
        ok = PutClipboardText(CF_TEXT, shown) || ok;
    ::CloseClipboard();
    return ok;
}

BOOL CGXMaskControl::CanPaste()
{
    const UINT cf = GXGetAppState()->m_cfGridStyles;
    CGXGridParam* param = m_pGrid->GetParam();
    if (cf != 0 && ::IsClipboardFormatAvailable(cf) && param != nullptr && param->m_bPasteStyles)
        return FALSE;
    if (!m_bInit || !m_bActive || IsReadOnly() || (GetStyle().GetIncludeReadOnly() && GetStyle().GetReadOnly()))
        return FALSE;
    return ::IsClipboardFormatAvailable(GXGetMaskDataClipboardFormat()) || ::IsClipboardFormatAvailable(CF_TEXT) ||
           ::IsClipboardFormatAvailable(CF_OEMTEXT);
}

BOOL CGXMaskControl::Paste()
{
    if (!m_bInit || !m_bActive || IsReadOnly() || (GetStyle().GetIncludeReadOnly() && GetStyle().GetReadOnly()))
        return FALSE;
    BOOL bOpen = FALSE;
    if (!GXOpenClipboardForPaste(m_pGrid->GetGridHwnd(), bOpen))
        return FALSE;
    HANDLE h = ::GetClipboardData(GXGetMaskDataClipboardFormat());
    m_bPastingMaskData = h != nullptr;
    if (h == nullptr)
        h = ::GetClipboardData(CF_TEXT);
    if (h == nullptr)
        h = ::GetClipboardData(CF_OEMTEXT);
    BOOL ok = FALSE;
    if (h != nullptr) {
        if (LPCSTR p = static_cast<LPCSTR>(::GlobalLock(h))) {
            const CString text(p);
            ::GlobalUnlock(h);
            ReplaceSel(text);
            ok = TRUE;
        }
    }
    m_bPastingMaskData = FALSE;
    if (bOpen)
        ::CloseClipboard();
    return ok;
}

void CGXMaskControl::ReplaceSel(LPCSTR lpszNewText)
{
    if (!m_bInit || !m_bActive || GetSafeHwnd() == nullptr) {
        CGXControl::ReplaceSel(lpszNewText);
        return;
    }
    if (IsReadOnly())
        return;
    const CString text = lpszNewText != nullptr ? lpszNewText : "";
    CGXMaskData* m = m_pEditMask;
    int s = 0, e = 0;
    GetPosSel(s, e);
    const int target = m->GetNextDataPos(s - 1);
    if (target < 0 || (s != e && e < target))
        return;
    const CString before = GetEditText();
    auto restore = [&]() {
        m->SetDisplayString(before, -1, FALSE);
        if (e > target)
            m->DeleteRange(e, target);
    };
    if (e > target)
        m->DeleteRange(e, target);
    int end = -1;
    if (!m_bPastingMaskData) {
        // A text with literals lines up from the selection's start, or from the
        // literals just before the target (the caret stands after them at a
        // field's start), or from the target.
        const int starts[3] = {s, m->GetPrevDataPos(target) + 1, target};
        for (int i = 0; i < 3 && end < 0; ++i) {
            if ((i > 0 && starts[i] == starts[0]) || (i == 2 && starts[2] == starts[1]))
                continue;
            restore();
            end = m->SetDisplayString(text, starts[i], m_bInsertMode);
            if (end >= 0 && !m->IsValid())
                end = -1;
        }
    }
    if (end < 0) {
        restore();
        end = m->SetData(text, target, m_bInsertMode);
        if (!PlacedAll(m, text, target, end) || !m->IsValid()) {
            m->SetDisplayString(before, -1, FALSE);
            return;
        }
    }
    RefreshWindowText();
    NotifyParent(EN_CHANGE);
    SetPosSel(end, end);
}

BOOL CGXMaskControl::ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol)
{
    if (find.strFind.IsEmpty())
        return FALSE;
    CGXStyle* pStyle = m_pGrid->CreateStyle();
    m_pGrid->ComposeCellStyle(nRow, nCol, *pStyle);
    const BOOL editing = m_bActive && IsActiveAt(nRow, nCol) && GetSafeHwnd() != nullptr;
    BOOL found = FALSE;
    if (!CellReadOnly(m_pGrid, *pStyle)) {
        CObject* pObj = m_pMaskDataClass->CreateObject();
        CGXMaskData* m = static_cast<CGXMaskData*>(pObj);
        InitMask(m, *pStyle);
        if (editing) {
            CString shown;
            m_pEditMask->GetDisplayString(shown);
            m->SetDisplayString(shown, -1, FALSE);
        } else {
            m->SetData(pStyle->GetValue(), -1, FALSE);
        }
        CString shown, what = find.strFind;
        m->GetDisplayString(shown);
        if (!find.bMatchCase) {
            shown.MakeUpper();
            what.MakeUpper();
        }
        std::vector<int> hits;
        for (int at = shown.Find(what); at >= 0; at = shown.Find(what, at + what.GetLength()))
            hits.push_back(at);
        found = !hits.empty();
        for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
            CString keep;
            m->GetDisplayString(keep);
            const int first = m->CharToPos(*it), last = m->CharToPos(*it + what.GetLength());
            m->DeleteRange(last, first);
            const int end = m->SetDisplayString(find.strReplace, first, TRUE);
            if (end >= 0 && m->IsValid())
                continue;
            m->SetDisplayString(keep, -1, FALSE);
            m->DeleteRange(last, first);
            const int end2 = m->SetData(find.strReplace, first, TRUE);
            if (!PlacedAll(m, find.strReplace, first, end2) || !m->IsValid())
                m->SetDisplayString(keep, -1, FALSE);
        }
        if (found) {
            CString value;
            m->GetData(value, 0, -1, TRUE);
            found = CGXControl::SetCellText(nRow, nCol, value, GX_UPDATENOW, nullptr);
            // The edited cell's window shows what the cell now holds.
            if (found && editing) {
                m_pEditMask->SetData(value, -1, FALSE);
                RefreshWindowText();
                SetModify(FALSE);
            }
        }
        delete pObj;
    }
    m_pGrid->RecycleStyle(pStyle);
    return found;
}
