// The in-cell text editor.
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxfont.h"
#include "gxprop.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>

BOOL g_bImeComposing = FALSE;

IMPLEMENT_DYNAMIC(CGXEditControl, CEdit)
GX_IMPLEMENT_CONTROL(CGXEditControl, CGXStatic)

namespace {
BOOL KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }
} // namespace

CGXEditControl::CGXEditControl(CGXGridEngine* pGrid, UINT nID)
    : CGXStatic(pGrid), m_nID(nID), m_rgbHighlightText(::GetSysColor(COLOR_HIGHLIGHTTEXT))
{
}

CGXEditControl::~CGXEditControl()
{
    // The window goes while both parts still exist: its last messages reach a whole object.
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

CString CGXEditControl::GetEditText() const
{
    CString s;
    if (GetSafeHwnd() != nullptr)
        GetWindowText(s);
    return s;
}

void CGXEditControl::SetEditText(LPCSTR lpszText)
{
    if (GetSafeHwnd() != nullptr)
        SetWindowText(lpszText);
}

BOOL CGXEditControl::CreateEditWindow(DWORD dwStyle, const CRect& rect)
{
    CWnd* pGrid = GetGridWindow();
    if (pGrid == nullptr || pGrid->GetSafeHwnd() == nullptr)
        return FALSE;
    return CWnd::Create("GXEDIT", nullptr, dwStyle, rect, pGrid, m_nID);
}

DWORD CGXEditControl::CalcEditStyle(CRect& rect, int& nHeight)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (m_bWantReturn)
        style |= ES_WANTRETURN;
    if (m_nHorzAlign == DT_CENTER)
        style |= ES_CENTER;
    else if (m_nHorzAlign == DT_RIGHT)
        style |= ES_RIGHT;
    CString text = GetEditText();
    CSize extent(0, 0);
    if (GetSafeHwnd() != nullptr) {
        CClientDC dc(this);
        CFont* pOld = m_font.GetSafeHandle() != nullptr ? dc.SelectObject(&m_font) : nullptr;
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        m_nLineHeight = tm.tmHeight;
        m_nAvgCharWidth = tm.tmAveCharWidth;
        CRect calc(0, 0, rect.Width(), 0);
        if (!text.IsEmpty())
            dc.DrawText(text, text.GetLength(), &calc,
                        DT_CALCRECT | DT_NOPREFIX | (m_bWrapText ? DT_WORDBREAK : 0));
        extent = CSize(calc.Width(), std::max<int>(calc.Height(), tm.tmHeight));
        if (pOld != nullptr)
            dc.SelectObject(pOld);
    }
    BOOL fits = TRUE;
    if (m_bWrapText) {
        if (extent.cy >= rect.Height() - m_nLineHeight / 3) {
            fits = FALSE;
            if (m_bVertScroll)
                style |= WS_VSCROLL;
        }
    }
    if (!m_bWrapText || fits) {
        style |= ES_AUTOHSCROLL;
        if (extent.cx > rect.Width() - m_nAvgCharWidth)
            style &= ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
    }
    nHeight = extent.cy;
    if (rect.Height() < extent.cy + 1)
        rect.bottom = rect.top + extent.cy + 1;
    return style;
}

// ---------------------------------------------------------------------------
// Activity, modification, the held cell

int GXAddChoiceLines(CWnd* pWnd, UINT nAddMessage, const CGXStyle& style, int nFirst)
{
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr || !style.GetIncludeChoiceList())
        return 0;
    LPCSTR p = style.GetChoiceList();
    CString line;
    int added = 0;
    for (int i = 0; GXGetNextChoiceLine(p, line); ++i) {
        if (i < nFirst)
            continue;
        pWnd->SendMessage(nAddMessage, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(line)));
        ++added;
    }
    return added;
}

void GXSetWindowControlActive(CGXControl* pControl, HWND hWnd, BOOL& bActiveFlag, BOOL bActive)
{
    if (bActive && hWnd == nullptr)
        return;
    if (bActive && !bActiveFlag) {
        // Editing shows the cell's current style.
        pControl->FreeStyle();
        if (pControl->IsInit())
            pControl->GetStyle();
    }
    bActiveFlag = bActive;
}

CRect GXShownOver::Place(CWnd* pWnd)
{
    CRect r;
    pWnd->GetWindowRect(&r);
    ::MapWindowPoints(nullptr, ::GetParent(pWnd->GetSafeHwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void GXShownOver::Remember(CWnd* pWnd, const CRect& rectCell)
{
    m_rectCell = rectCell;
    m_rectWnd = Place(pWnd);
}

BOOL GXShownOver::Holds(CWnd* pWnd, const CRect& rectCell) const
{
    return pWnd->IsWindowVisible() && rectCell == m_rectCell && Place(pWnd) == m_rectWnd;
}

void GXShownOver::HideWindow(CWnd* pWnd, CPoint ptPark)
{
    const CRect covered = Place(pWnd);
    pWnd->MoveWindow(ptPark.x, ptPark.y, 0, 0, FALSE);
    pWnd->ShowWindow(SW_HIDE);
    if (CWnd* pParent = pWnd->GetParent())
        pParent->InvalidateRect(&covered, FALSE);
}

void CGXEditControl::SetActive(BOOL bActive) { GXSetWindowControlActive(this, GetSafeHwnd(), m_bActive, bActive); }

void CGXEditControl::SetModify(BOOL bModified)
{
    if (GetSafeHwnd() != nullptr)
        CEdit::SetModify(bModified);
}

BOOL CGXEditControl::GetModify() { return GetSafeHwnd() != nullptr && CEdit::GetModify(); }

void CGXEditControl::Init(ROWCOL nRow, ROWCOL nCol)
{
    g_bImeComposing = FALSE;
    CGXStatic::Init(nRow, nCol);
    if (GetSafeHwnd() == nullptr) {
        CRect none(0, 0, 0, 0);
        int height = 0;
        CreateEditWindow(CalcEditStyle(none, height) & ~static_cast<DWORD>(WS_VISIBLE), CRect(0, 0, 0, 0));
    }
    const CGXStyle& style = GetStyle();
    m_bAutoSize = style.GetIncludeAutoSize() && style.GetAutoSize();
    if (style.GetIncludeValue())
        SetValue(style.GetValue());
    else
        SetEditText("");
    if (GetSafeHwnd() != nullptr) {
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        CGXGridParam* param = m_pGrid->GetParam();
        if (param != nullptr && (param->m_dwActivateOptions & 0x04) && m_pGrid->IsCurrentCellAt(nRow, nCol) &&
            !m_bActive && OnStartEditing())
            SetActive(TRUE);
        if (m_bActive)
            SendMessage(EM_LINESCROLL, 0, 255);
    }
    SetModify(FALSE);
}

int CGXEditControl::Store()
{
    CString text;
    if (!m_bInit || !GetModify() || !GetCurrentText(text))
        return 0;
    if (!StoreCurrentText(text))
        return 2;
    SetActive(FALSE);
    FreeStyle();
    return 1;
}

BOOL CGXEditControl::StoreCurrentText(const CString& sText)
{
    // Through the control's store: read-only cells and the maximum length are honoured.
    return SetCellText(m_nRow, m_nCol, sText, GX_INVALIDATE, nullptr);
}

void CGXEditControl::GetValue(CString& strResult)
{
    if (m_bActive && GetSafeHwnd() != nullptr)
        strResult = GetEditText();
    else if (m_bInit)
        GetDisplayText(strResult, m_nRow, m_nCol, nullptr, &GetStyle());
    else
        strResult.Empty();
}

BOOL CGXEditControl::GetCurrentText(CString& strResult)
{
    if (!m_bInit)
        return FALSE;
    GetValue(strResult);
    return TRUE;
}

void CGXEditControl::SetValue(LPCSTR lpszValue)
{
    CString text;
    if (m_bInit)
        GetDisplayText(text, m_nRow, m_nCol, lpszValue != nullptr ? lpszValue : "", &GetStyle());
    else
        text = lpszValue;
    SetEditText(text);
    if (m_bActive && m_bInit)
        m_pGrid->RedrawRange(CellRange(), GX_INVALIDATE);
}

void CGXEditControl::SetCurrentText(const CString& str)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return;
    if (!m_bActive)
        SetActive(TRUE);
    if (ValidateString(str)) {
        SetEditText(str);
        SetModify(TRUE);
        OnModifyCell();
    }
    Invalidate();
}

void CGXEditControl::Hide()
{
    if (GetSafeHwnd() == nullptr || !IsWindowVisible())
        return;
    if (m_pGrid != nullptr)
        m_pGrid->m_bHidingControl = TRUE;
    HideCaret();
    GXShownOver::HideWindow(this);
    if (m_pGrid != nullptr)
        m_pGrid->m_bHidingControl = FALSE;
}

// ---------------------------------------------------------------------------
// Drawing

void CGXEditControl::ShowWindowOver(CDC* pDC, const CRect& rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style)
{
    // The style's font, scaled as the grid draws it.
    m_font.DeleteObject();
    LOGFONT lf{};
    if (CFont* pCached = m_pGrid->LookupFont(style.GetFont()))
        pCached->GetLogFont(&lf);
    else
        ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    m_font.CreateFontIndirect(&lf);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);

    CRect text = GetCellRect(nRow, nCol, const_cast<CRect*>(&rect), &style);
    m_bWantReturn = style.GetIncludeAllowEnter() && style.GetAllowEnter();
    m_bVertScroll = style.GetIncludeVerticalScrollbar() && style.GetVerticalScrollbar();
    m_nHorzAlign = style.GetHorizontalAlignment();
    m_bWrapText = style.GetWrapText();
    int height = 0;
    CRect edit = text;
    DWORD dwStyle = CalcEditStyle(edit, height);
    // One line that does not wrap sits where the static text would be.
    if (!m_bWrapText && m_nLineHeight > 0 && text.Height() > m_nLineHeight + 1) {
        const int v = style.GetVerticalAlignment();
        if (v == DT_VCENTER)
            edit.top = text.top + (text.Height() - m_nLineHeight) / 2;
        else if (v == DT_BOTTOM)
            edit.top = text.bottom - m_nLineHeight - 1;
        edit.bottom = std::min<int>(text.bottom, edit.top + m_nLineHeight + 1);
    }
    DrawBackground(pDC, rect, style, FALSE);

    // Styles that decide wrapping and alignment take a new window.
    const DWORD fixed = ES_AUTOHSCROLL | ES_CENTER | ES_RIGHT | WS_VSCROLL | ES_WANTRETURN | ES_MULTILINE | ES_PASSWORD;
    if ((CWnd::GetStyle() & fixed) != (dwStyle & fixed))
        RecreateEditWindow(dwStyle & ~static_cast<DWORD>(WS_VISIBLE), CRect(0, 0, 0, 0));
    SetActive(TRUE);
    LimitText(style.GetIncludeMaxLength() ? style.GetMaxLength() : 0);
    SetReadOnly(IsReadOnly());
    CRect visible;
    m_pGrid->GetGridRect(&visible);
    edit.IntersectRect(&edit, &visible);
    MoveWindow(&edit, FALSE);
    // While the window was hidden it had no size, and what placed the caret then (the whole text
    // selected, End, a click) scrolled the text to fit no width: the text would stay scrolled off
    // the window, and what is typed after it would not show.
    ScrollFromStartToCaret();
    m_shownOver.Remember(this, rect);
    ShowWindow(SW_SHOWNA);
    const HWND hFocus = ::GetFocus();
    if (hFocus == m_pGrid->GetGridHwnd() || (hFocus != nullptr && m_pGrid->IsGridOrChildWnd(hFocus) && hFocus != m_hWnd)) {
        const BOOL was = m_pGrid->m_bSettingFocus;
        m_pGrid->m_bSettingFocus = TRUE;
        SetFocus();
        m_pGrid->m_bSettingFocus = was;
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    (void)pDC;
}

void CGXEditControl::ScrollFromStartToCaret()
{
    int s = 0, e = 0;
    GetSel(s, e);
    SetSel(0, 0);
    SetSel(s, e);
}

void CGXEditControl::RecreateEditWindow(DWORD dwStyle, const CRect& rect)
{
    const CString keep = GetEditText();
    const BOOL bModified = GetModify();
    const BOOL bReadOnly = (CWnd::GetStyle() & ES_READONLY) != 0;
    const BOOL bFocus = ::GetFocus() == m_hWnd;
    int s = 0, e = 0;
    GetSel(s, e);
    m_bRecreating = TRUE;
    DestroyWindow();
    CreateEditWindow(dwStyle, rect);
    m_bRecreating = FALSE;
    if (GetSafeHwnd() == nullptr)
        return;
    if (m_font.GetSafeHandle() != nullptr)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    SetEditText(keep);
    SetSel(s, e);
    CEdit::SetModify(bModified);
    if (bReadOnly)
        SetReadOnly(TRUE);
    if (bFocus)
        SetFocus();
}

void CGXEditControl::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                          const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const BOOL onScreen = m_pGrid != nullptr && !m_pGrid->IsPrinting();
    if (onScreen && IsActiveAt(nRow, nCol) && m_bActive && GetSafeHwnd() != nullptr) {
        // The cell moved under the shown window (a row above grew or was hidden), or a scroll
        // carried the window off a cell that has come back: shown again over the cell.
        if (!g_bImeComposing && IsWindowVisible() && !m_shownOver.Holds(this, rect))
            Hide();
        if (g_bImeComposing || IsWindowVisible()) {
            AddInvalidRect(rect);
            // The grid's painting may have covered the window: it paints itself again.
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        } else {
            ShowWindowOver(pDC, rect, nRow, nCol, GetStyle());
        }
        CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
        return;
    }
    CGXStatic::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

// ---------------------------------------------------------------------------
// Keys in the edit window

BOOL CGXEditControl::ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_pGrid == nullptr)
        return FALSE;
    return m_pGrid->DispatchKeyMessage(m_pGrid->GridWnd(), nMessage, nChar, nRepCnt, nFlags);
}

void CGXEditControl::OnEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bActive || !m_bInit) {
        if (!ToGrid(WM_KEYDOWN, nChar, nRepCnt, nFlags))
            Default();
        return;
    }
    if (m_pGrid->GetGridHwnd() != nullptr)
        m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
    if (KeyHeld(VK_CONTROL)) {
        if (!ToGrid(WM_KEYDOWN, nChar, nRepCnt, nFlags))
            Default();
        return;
    }
    int s = 0, e = 0;
    GetSel(s, e);
    const int len = GetWindowTextLength();
    BOOL stays = TRUE;
    switch (nChar) {
    case VK_RETURN: stays = (CWnd::GetStyle() & ES_WANTRETURN) != 0; break;
    case VK_TAB:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT: stays = FALSE; break;
    case VK_LEFT: stays = e > 0; break;
    case VK_RIGHT: stays = s < len; break;
    case VK_UP: stays = LineFromChar(s) > 0; break;
    case VK_DOWN: stays = LineFromChar(e) < GetLineCount() - 1; break;
    case VK_INSERT:
        if (KeyHeld(VK_SHIFT)) {
            Paste();
            return;
        }
        break;
    case VK_DELETE:
        if (KeyHeld(VK_SHIFT) && s != e) {
            // Onto the clipboard as Cut puts it: the user's other formats go only when text replaces them.
            Cut();
            return;
        }
        break;
    default:
        if (nChar >= VK_F1 && nChar <= VK_F24)
            stays = FALSE;
        break;
    }
    if (stays || !ToGrid(WM_KEYDOWN, nChar, nRepCnt, nFlags))
        if (stays)
            Default();
}

CString CGXEditControl::TextWithInsertion(const CString& sCandidate)
{
    const CString text = GetEditText();
    int s = 0, e = 0;
    GetSel(s, e);
    if (s > e)
        std::swap(s, e);
    return text.Left(s) + sCandidate + text.Mid(e);
}

BOOL CGXEditControl::HandleEditKey(UINT nChar, UINT nRepCnt, UINT)
{
    if (!m_bInit || !m_bActive || IsReadOnly() || (CWnd::GetStyle() & ES_READONLY) != 0 ||
        (nRepCnt == 0 && nChar != VK_BACK)) {
        m_strPending.Empty();
        return FALSE;
    }
    if (m_pGrid->GetGridHwnd() != nullptr)
        m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
    if (!m_bReplacing)
        m_strPending.Empty();
    if (KeyHeld(VK_CONTROL)) {
        BOOL handled = FALSE;
        switch (nChar) {
        case 3: Copy(); handled = TRUE; break;    // Ctrl+C
        case 22: Paste(); handled = TRUE; break;  // Ctrl+V
        case 24: Cut(); handled = TRUE; break;    // Ctrl+X
        case '\r':
            handled = TRUE;
            if (m_bWantReturn)
                m_strPending = "\r\n";
            break;
        case '\n':
            handled = TRUE;
            if (m_bWrapText)
                m_strPending = "\r\n";
            break;
        default: break;
        }
        return !handled && m_strPending.IsEmpty();
    }
    CString candidate;
    const BOOL wasPending = m_bDBCSPending;
    const BOOL dbcs = GXCombineDBCSChar(nChar, candidate, m_bDBCSPending, m_chDBCSLead);
    if (dbcs && !wasPending) {
        if (PRIMARYLANGID(LANGIDFROMLCID(::GetThreadLocale())) == 0x12 && wasPending)
            return TRUE;
        return FALSE;   // a lead byte: wait for its trail byte
    }
    if (!dbcs) {
        // Enter without want-return, Tab and Escape never reach the text.
        if ((nChar == '\r' || nChar == '\n') && !m_bWantReturn)
            return FALSE;
        if (nChar == '\t' || nChar == 27)
            return FALSE;
        if (nChar < 32)
            return TRUE;
    }
    if (ValidateString(TextWithInsertion(candidate))) {
        m_strPending = candidate;
    } else {
        OnInvalidKeyPressed(candidate);
        m_strPending.Empty();
    }
    return FALSE;
}

void CGXEditControl::OnEditChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    m_bResetSelection = FALSE;
    if (HandleEditKey(nChar, nRepCnt, nFlags)) {
        Default();
        ToGrid(WM_CHAR, nChar, nRepCnt, nFlags);
        return;
    }
    if (m_strPending.IsEmpty())
        return;
    const CString pending = m_strPending;
    m_bReplacing = TRUE;
    ReplaceSel(pending);
    m_bReplacing = FALSE;
    m_strPending.Empty();
    if (m_bResetSelection) {
        SetSel(0, 0);
        if (CWnd* pGrid = GetGridWindow())
            pGrid->UpdateWindow();
    } else {
        int s = 0, e = 0;
        GetSel(s, e);
        SetSel(e, e);
    }
    SendMessage(EM_SCROLLCARET);
}

void CGXEditControl::OnEditSetFocus() { UpdateCaret(); }

void CGXEditControl::UpdateCaret()
{
    if (GetSafeHwnd() != nullptr && m_bActive)
        SendMessage(EM_SCROLLCARET);
}

LRESULT CGXEditControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT nRep = LOWORD(lParam), nFlags = HIWORD(lParam);
    switch (message) {
    case WM_GETDLGCODE: return Default() | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
    case WM_KEYDOWN: OnEditKeyDown(static_cast<UINT>(wParam), nRep, nFlags); return 0;
    case WM_CHAR: OnEditChar(static_cast<UINT>(wParam), nRep, nFlags); return 0;
    case WM_KEYUP:
        if (!ToGrid(WM_KEYUP, static_cast<UINT>(wParam), nRep, nFlags)) {
            Default();
            UpdateCaret();
        }
        return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        if (!ToGrid(message, static_cast<UINT>(wParam), nRep, nFlags))
            return Default();
        return 0;
    case WM_SETFOCUS: {
        const LRESULT r = Default();
        OnEditSetFocus();
        return r;
    }
    case WM_SHOWWINDOW: {
        const LRESULT r = Default();
        if (wParam)
            UpdateCaret();
        return r;
    }
    case WM_KILLFOCUS: {
        const LRESULT r = Default();
        if (!m_bRecreating)
            NotifyKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        return r;
    }
    case WM_ERASEBKGND: {
        CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        CRect r;
        GetClientRect(&r);
        pDC->FillSolidRect(&r, RGB(255, 255, 255));
        if (m_bInit) {
            const GXBrushRecord& br = GetStyle().GetInterior();
            if (br.lbStyle == BS_SOLID)
                pDC->FillSolidRect(&r, ResolveSysColor(br.lbColor));
        }
        return 1;
    }
    case WM_LBUTTONDOWN: {
        // A press inside the selection drags the selected text (the grid decides whether it
        // can): the default handling collapses the selection, so it is put back first.
        int s = 0, e = 0;
        GetSel(s, e);
        const LRESULT r = Default();
        int pos = 0, end = 0;
        GetSel(pos, end);
        if (s < e && pos == end && pos >= s && pos < e && m_pGrid != nullptr) {
            SetSel(s, e);
            const CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            if (!m_pGrid->OnTextDragStart(pt))
                SetSel(pos, pos);
            else if (::GetCapture() == GetSafeHwnd())
                ::ReleaseCapture();
        }
        return r;
    }
    case WM_CONTEXTMENU: return 0;
    case WM_IME_STARTCOMPOSITION: g_bImeComposing = TRUE; return Default();
    case WM_IME_ENDCOMPOSITION: g_bImeComposing = FALSE; return Default();
    default: return CEdit::WindowProc(message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------
// Keys reaching the grid while the cell is current but not edited

BOOL CGXEditControl::StartWithCaret(BOOL bEnd)
{
    if (!OnStartEditing())
        return FALSE;
    if (!m_bInit)
        Init(m_nRow, m_nCol);
    SetActive(TRUE);
    const int len = GetWindowTextLength();
    SetSel(bEnd ? len : 0, bEnd ? len : 0);
    SendMessage(EM_SCROLLCARET);
    return TRUE;
}

BOOL CGXEditControl::OnGridKeyDown(UINT nChar, UINT, UINT)
{
    if (m_bActive || GetSafeHwnd() == nullptr)
        return FALSE;
    BOOL handled = FALSE;
    switch (nChar) {
    case VK_END:
    case VK_HOME:
        if (KeyHeld(VK_CONTROL))
            return FALSE;
        handled = StartWithCaret(nChar == VK_END);
        break;
    case VK_DELETE: {
        CGXGridParam* param = m_pGrid->GetParam();
        if (KeyHeld(VK_CONTROL) || KeyHeld(VK_SHIFT) || (param != nullptr && param->m_bPasteStyles))
            return FALSE;
        if (IsReadOnly()) {
            handled = TRUE;   // a read-only cell keeps its text
            break;
        }
        if (!OnDeleteCell() || !OnStartEditing())
            return FALSE;
        SetActive(TRUE);
        SetCurrentText("");
        SetModify(TRUE);
        handled = TRUE;
        break;
    }
    default: return FALSE;
    }
    if (handled) {
        UpdateCaret();
        Invalidate();
    }
    return handled;
}

BOOL CGXEditControl::OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar < 32 || nChar == 127)
        return FALSE;
    return OnGridDoubleByteChar(CString(static_cast<char>(nChar)), nRepCnt, nFlags);
}

BOOL CGXEditControl::OnGridDoubleByteChar(const CString& sChar, UINT, UINT)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return FALSE;
    if (m_bActive) {
        if (!ValidateString(TextWithInsertion(sChar))) {
            OnInvalidKeyPressed(sChar);
            return TRUE;
        }
        ReplaceSel(sChar);
        return TRUE;
    }
    if (!ValidateString(sChar)) {
        OnInvalidKeyPressed(sChar);
        return TRUE;
    }
    if (!OnStartEditing())
        return FALSE;
    SetActive(TRUE);
    CString text = sChar;
    const CGXStyle& style = GetStyle();
    if (style.GetIncludeMaxLength() && style.GetMaxLength() > 0 && text.GetLength() > style.GetMaxLength())
        text = text.Left(style.GetMaxLength());
    SetEditText(text);
    SetModify(TRUE);
    OnModifyCell();
    SetSel(text.GetLength(), text.GetLength());
    Invalidate();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Mouse

int CGXEditControl::CharIndexFromPoint(CPoint pt)
{
    CWnd* pGrid = GetGridWindow();
    if (GetSafeHwnd() == nullptr || !IsWindowVisible() || pGrid == nullptr)
        return -1;
    CPoint client = pt;
    pGrid->ClientToScreen(&client);
    ScreenToClient(&client);
    CRect r;
    GetClientRect(&r);
    if (!r.PtInRect(client))
        return -1;
    const int pos = LOWORD(CharFromPos(client));
    return pos >= GetWindowTextLength() ? -1 : pos;
}

BOOL CGXEditControl::OnLButtonUp(UINT nFlags, CPoint pt)
{
    if (GetSafeHwnd() != nullptr && m_bInit) {
        const int pos = CharIndexFromPoint(pt);
        CGXGridParam* param = m_pGrid->GetParam();
        const DWORD opt = param != nullptr ? param->m_dwActivateOptions : 0;
        if (((opt & 1) && pos >= 0) || (opt & 2) || (opt & 4)) {
            if (m_bActive || (!IsReadOnly() && OnStartEditing())) {
                SetActive(TRUE);
                if (pos >= 0)
                    SetSel(pos, pos);
                else
                    SetSel(0, -1);
                SendMessage(EM_SCROLLCARET);
                if (::GetFocus() != m_hWnd)
                    Invalidate();
            }
        }
    }
    CGXControl::OnLButtonUp(nFlags, pt);
    return TRUE;
}

BOOL CGXEditControl::OnLButtonDblClk(UINT nFlags, CPoint pt)
{
    CGXGridParam* param = m_pGrid != nullptr ? m_pGrid->GetParam() : nullptr;
    if (param != nullptr && (param->m_dwActivateOptions & 0x80000) && !m_bActive && !IsReadOnly() && OnStartEditing()) {
        SetActive(TRUE);
        const int pos = CharIndexFromPoint(pt);
        SetSel(pos >= 0 ? pos : 0, pos >= 0 ? pos : 0);
        Invalidate();
    }
    return CGXControl::OnLButtonDblClk(nFlags, pt);
}

// ---------------------------------------------------------------------------
// Clipboard and find/replace while editing

BOOL GXOpenClipboardForPaste(HWND hWnd, BOOL& bOpened)
{
    const HWND hOwner = ::GetOpenClipboardWindow();
    DWORD pid = 0;
    if (hOwner != nullptr)
        ::GetWindowThreadProcessId(hOwner, &pid);
    bOpened = hOwner == nullptr || pid != ::GetCurrentProcessId();
    return !bOpened || ::OpenClipboard(hWnd);
}

BOOL CGXEditControl::GetSelectedText(CString& sWindowText)
{
    if (!m_bActive || GetSafeHwnd() == nullptr)
        return CGXControl::GetSelectedText(sWindowText);
    const CString text = GetEditText();
    int s = 0, e = 0;
    GetSel(s, e);
    sWindowText = s == e ? text : text.Mid(s, e - s);
    return TRUE;
}

void CGXEditControl::ReplaceSel(LPCSTR lpszNewText)
{
    if (!m_bActive || GetSafeHwnd() == nullptr) {
        CGXControl::ReplaceSel(lpszNewText);
        return;
    }
    if (IsReadOnly())
        return;
    SetModify(TRUE);
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lpszNewText));
}

BOOL CGXEditControl::FindText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol, BOOL bCurrentPos, BOOL bSetCell)
{
    if (!m_bActive || !IsActiveAt(nRow, nCol) || GetSafeHwnd() == nullptr)
        return CGXControl::FindText(find, nRow, nCol, bCurrentPos, bSetCell);
    if (find.strFind.IsEmpty())
        return FALSE;
    CString text = GetEditText(), what = find.strFind;
    if (!find.bMatchCase) {
        text.MakeUpper();
        what.MakeUpper();
    }
    int s = 0, e = 0;
    GetSel(s, e);
    const int at = text.Find(what, bCurrentPos ? e : 0);
    if (at < 0)
        return FALSE;
    SetSel(at, at + what.GetLength());
    SendMessage(EM_SCROLLCARET);
    return TRUE;
}

BOOL CGXEditControl::ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol)
{
    if (!m_bActive || !IsActiveAt(nRow, nCol) || GetSafeHwnd() == nullptr)
        return CGXControl::ReplaceText(find, nRow, nCol);
    CString text = GetEditText();
    if (GXReplaceAllText(text, find.strFind, find.strReplace, find.bMatchCase) == 0)
        return FALSE;
    if (!SetCellText(nRow, nCol, text, GX_UPDATENOW, nullptr))
        return FALSE;
    SetEditText(text);
    SetModify(FALSE);
    return TRUE;
}

BOOL CGXEditControl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (GetSafeHwnd() == nullptr || reinterpret_cast<HWND>(lParam) != m_hWnd)
        return FALSE;
    if (HIWORD(wParam) == EN_CHANGE && m_bActive && m_bInit) {
        OnModifyCell();
        if (m_bAutoSize) {
            CGXRange range(m_nRow, m_nCol);
            m_pGrid->GetCoveredCellsRowCol(m_nRow, m_nCol, range);
            if (m_bWrapText)
                m_pGrid->ResizeRowHeightsToFit(range, FALSE, GX_UPDATENOW);
            m_pGrid->ResizeColWidthsToFit(range, FALSE, GX_UPDATENOW);
        }
    }
    return TRUE;
}
