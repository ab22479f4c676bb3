// The combo box window control: a system combo box in the active cell.
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CGXComboBoxWnd, CComboBox)
GX_IMPLEMENT_CONTROL(CGXComboBoxWnd, CGXStatic)

namespace {
BOOL KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }
} // namespace

LRESULT CGXComboBoxWndEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && m_pCombo != nullptr &&
        m_pCombo->HandleComboEditChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
        return 0;
    if (message == WM_SETTEXT && m_pCombo != nullptr) {
        // The caller's text stays as it is; the edit gets its own copy.
        const CString text = m_pCombo->EditTextFor(reinterpret_cast<LPCSTR>(lParam));
        return CEdit::WindowProc(message, wParam, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)));
    }
    if (message == WM_KEYDOWN && m_pCombo != nullptr &&
        m_pCombo->HandleComboKey(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
        return 0;
    if (message == WM_KILLFOCUS && m_pCombo != nullptr) {
        const LRESULT r = CEdit::WindowProc(message, wParam, lParam);
        const HWND hNew = reinterpret_cast<HWND>(wParam);
        if (hNew != m_pCombo->GetSafeHwnd() && !::IsChild(m_pCombo->GetSafeHwnd(), hNew))
            m_pCombo->NotifyKillFocus(CWnd::FromHandle(hNew));
        return r;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

CGXComboBoxWnd::CGXComboBoxWnd(CGXGridEngine* pGrid)
    : CGXStatic(pGrid), m_nButtonFrame(GXGetAppState()->m_bNewShell ? 3 : 2)
{
    m_wndEdit.m_pCombo = this;
}

CGXComboBoxWnd::~CGXComboBoxWnd()
{
    if (m_wndEdit.GetSafeHwnd() != nullptr)
        m_wndEdit.UnsubclassWindow();
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

BOOL CGXComboBoxWnd::CreateControl(DWORD dwStyle, UINT nID)
{
    m_pArrowButton = new CGXComboArrowButton(this);
    m_pArrowButton->m_bShowInInactiveCells = m_bButtonInInactiveCells;
    AppendChild(m_pArrowButton);
    CWnd* pGrid = GetGridWindow();
    if (pGrid == nullptr || pGrid->GetSafeHwnd() == nullptr ||
        !CWnd::Create("GXCOMBOBOX", nullptr, WS_CHILD | dwStyle, CRect(0, 0, 0, 0), pGrid, nID))
        return FALSE;
    // Only a drop-down combo box has an edit child to take over.
    if (HWND hEdit = ::GetWindow(m_hWnd, GW_CHILD)) {
        char cls[16] = "";
        ::GetClassNameA(hEdit, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0)
            m_wndEdit.SubclassWindow(hEdit);
    }
    m_bDefaultDraw = (dwStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) == 0;
    return TRUE;
}

void CGXComboBoxWnd::FillComboBox()
{
    ResetContent();
    GXAddChoiceLines(this, CB_ADDSTRING, GetStyle());
}

BOOL CGXComboBoxWnd::HandleComboEditChar(UINT, UINT, UINT)
{
    // A read-only cell's edit takes no typing.
    return m_bInit && IsReadOnly();
}

BOOL CGXComboBoxWnd::IsDropDownList() const
{
    return GetSafeHwnd() != nullptr && (CWnd::GetStyle() & 3) == CBS_DROPDOWNLIST;
}

CString CGXComboBoxWnd::GetComboText()
{
    CString text;
    if (GetSafeHwnd() == nullptr)
        return text;
    if (!IsDropDownList())
        GetWindowText(text);
    if (text.IsEmpty()) {
        const int sel = GetCurSel();
        if (sel != CB_ERR)
            GetLBText(sel, text);
    }
    return text;
}

void CGXComboBoxWnd::SetActive(BOOL bActive)
{
    GXSetWindowControlActive(this, GetSafeHwnd(), m_bActive, bActive);
}

void CGXComboBoxWnd::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXStatic::Init(nRow, nCol);
    m_bActive = FALSE;
    FreeStyle();
    const CGXStyle& style = GetStyle();
    if (GetSafeHwnd() != nullptr) {
        if (m_bFillFromChoiceList)
            FillComboBox();
        SetValue(style.GetIncludeValue() ? style.GetValue() : CString());
        CGXGridParam* param = m_pGrid->GetParam();
        if (param != nullptr && (param->m_dwActivateOptions & 0x04) && m_pGrid->IsCurrentCellAt(nRow, nCol) &&
            OnStartEditing())
            SetActive(TRUE);
    }
    m_bModified = FALSE;
    if (!m_bActive && m_pArrowButton != nullptr)
        m_pArrowButton->Refresh();
}

void CGXComboBoxWnd::GetValue(CString& strResult)
{
    if (m_bInit && GetSafeHwnd() != nullptr)
        strResult = GetComboText();
    else
        CGXStatic::GetValue(strResult);
}

void CGXComboBoxWnd::SetValue(LPCSTR lpszValue)
{
    if (GetSafeHwnd() == nullptr)
        return;
    const CString value = lpszValue != nullptr ? lpszValue : "";
    int sel = CB_ERR;
    SetCurSel(-1);
    if (!value.IsEmpty()) {
        if (m_nIndexBase == -1)
            sel = SelectString(-1, value);
        else
            sel = SetCurSel(atoi(value) - m_nIndexBase);
    }
    if (sel == CB_ERR && !IsDropDownList()) {
        SetWindowText(value);
        SetEditSel(0, -1);
    }
}

BOOL CGXComboBoxWnd::GetCurrentText(CString& strResult)
{
    if (!m_bInit)
        return FALSE;
    if (m_nIndexBase == -1) {
        strResult = GetComboText();
    } else {
        const int sel = GetSafeHwnd() != nullptr ? GetCurSel() : CB_ERR;
        strResult.Empty();
        if (sel != CB_ERR)
            strResult.Format("%d", sel + m_nIndexBase);
    }
    return TRUE;
}

void CGXComboBoxWnd::SetCurrentText(const CString& str)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return;
    if (!m_bActive)
        SetActive(TRUE);
    if (!ValidateString(str))
        return;
    if (IsDropDownList())
        SelectString(-1, str);
    else
        SetWindowText(str);
    m_bModified = TRUE;
    OnModifyCell();
}

BOOL CGXComboBoxWnd::GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                                    const CGXStyle* pStyle)
{
    if (m_nIndexBase != -1 && m_bDispChoice && m_bFillFromChoiceList && pStyle != nullptr &&
        pStyle->GetIncludeChoiceList()) {
        const CString value = lpszValue != nullptr ? CString(lpszValue) : pStyle->GetValue();
        strResult = GXComboDisplayText(GXCOMBO_DISPLAYCHOICE | (m_nIndexBase == 1 ? GXCOMBO_ONEBASED : GXCOMBO_ZEROBASED),
                                       value, pStyle->GetChoiceList());
        return TRUE;
    }
    return CGXStatic::GetDisplayText(strResult, nRow, nCol, lpszValue, pStyle);
}

BOOL CGXComboBoxWnd::ValidateString(const CString& sEdit)
{
    if (sEdit.IsEmpty() || !(m_bFillFromChoiceList && m_nIndexBase != -1 && m_bDispChoice))
        return TRUE;
    if (!m_bInit || !GetStyle().GetIncludeChoiceList() || GetStyle().GetChoiceList().IsEmpty())
        return FALSE;
    CString stored;
    return GXComboStoredText(GXCOMBO_TEXTFIT, sEdit, GetStyle().GetChoiceList(), stored);
}

void CGXComboBoxWnd::Hide()
{
    if (GetSafeHwnd() == nullptr || !IsWindowVisible())
        return;
    const BOOL was = m_pGrid->m_bSettingFocus;
    m_pGrid->m_bSettingFocus = TRUE;
    ShowDropDown(FALSE);
    GXShownOver::HideWindow(this);
    m_pGrid->m_bSettingFocus = was;
    m_pGrid->SetDropDownOpen(FALSE);
}

int CGXComboBoxWnd::Store()
{
    if (!m_bInit)
        return 0;
    if (IsReadOnly()) {
        Init(m_nRow, m_nCol);
        m_bModified = FALSE;
        Invalidate();
        return 0;
    }
    if (!m_bModified)
        return 0;
    CString text;
    GetCurrentText(text);
    if (!StoreCurrentText(text))
        return 2;
    SetActive(FALSE);
    return 1;
}

BOOL CGXComboBoxWnd::StoreCurrentText(const CString& sText)
{
    return SetCellText(m_nRow, m_nCol, sText, GX_INVALIDATE, nullptr);
}

CRect CGXComboBoxWnd::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    CRect r = CGXStatic::GetCellRect(nRow, nCol, rectItem, pStyle);
    const BOOL active = IsActiveAt(nRow, nCol) && m_bActive;
    const BOOL current = m_pGrid != nullptr && m_pGrid->IsCurrentCellAt(nRow, nCol);
    if (!active) {
        if (current || !m_bFullWidthWhenInactive || m_bButtonInInactiveCells)
            r.right -= 15;
        r.left += 2;
    }
    return r;
}

CSize CGXComboBoxWnd::AddBorders(CSize size, const CGXStyle& style)
{
    return CGXStatic::AddBorders(CSize(size.cx + 19, size.cy), style);
}

void CGXComboBoxWnd::LayoutChildren(ROWCOL nRow, ROWCOL nCol, const CRect& rectInner)
{
    if (m_pArrowButton == nullptr || m_pGrid == nullptr)
        return;
    // The button at the cell's right edge, the full cell height.
    CRect cell = CGXControl::GetCellRect(nRow, nCol);
    (void)rectInner;
    m_pArrowButton->SetRect(CRect(std::max<int>(cell.left + 1, cell.right - 16), cell.top, cell.right - 1, cell.bottom - 1));
}

void CGXComboBoxWnd::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                          const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    if (IsActiveAt(nRow, nCol) && m_bActive && GetSafeHwnd() != nullptr && !m_pGrid->IsPrinting()) {
        // The cell moved under the shown window (a row above grew or was hidden), or a scroll
        // carried the window off a cell that has come back: shown again over the cell.
        if (IsWindowVisible() && !m_shownOver.Holds(this, rect))
            Hide();
        if (!IsWindowVisible()) {
            m_Font.DeleteObject();
            LOGFONT lf{};
            if (CFont* pCached = m_pGrid->LookupFont(style.GetFont()))
                pCached->GetLogFont(&lf);
            lf.lfHeight = lf.lfHeight * m_pGrid->GetZoom() / 100;
            m_Font.CreateFontIndirect(&lf);
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_Font.GetSafeHandle()), FALSE);
            TEXTMETRIC tm{};
            {
                const int saved = pDC->SaveDC();
                m_pGrid->SelectStyleFont(pDC, style);
                pDC->GetTextMetrics(&tm);
                pDC->RestoreDC(saved);
            }
            const int th = tm.tmHeight;
            SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), th + (GXGetAppState()->m_bNewShell ? 0 : m_nButtonFrame));
            CRect r = CGXControl::GetCellRect(nRow, nCol, &rect, &style);
            r.bottom += (th + 2) * std::min(GetCount(), 8);
            MoveWindow(&r, FALSE);
            m_shownOver.Remember(this, rect);
            ShowWindow(SW_SHOW);
            if (style.GetIncludeMaxLength() && style.GetMaxLength() > 0)
                LimitText(style.GetMaxLength());
            if (::GetFocus() == m_pGrid->GetGridHwnd()) {
                const BOOL was = m_pGrid->m_bSettingFocus;
                m_pGrid->m_bSettingFocus = TRUE;
                SetFocus();
                m_pGrid->m_bSettingFocus = was;
            }
        }
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return;
    }
    CGXStatic::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

BOOL CGXComboBoxWnd::Activate()
{
    if (!m_bActive) {
        if (!m_bInit || IsReadOnly() || !OnStartEditing())
            return FALSE;
        SetActive(TRUE);
        Invalidate();
    }
    if (CWnd* pGrid = GetGridWindow())
        pGrid->UpdateWindow();
    return TRUE;
}

BOOL CGXComboBoxWnd::OnLButtonUp(UINT nFlags, CPoint pt)
{
    CGXGridParam* param = m_pGrid != nullptr ? m_pGrid->GetParam() : nullptr;
    if (param != nullptr && (param->m_dwActivateOptions & 7) != 0 && !KeyHeld(VK_RBUTTON) && Activate() &&
        IsDropDownList() && m_bDropOnClick && !GetDroppedState())
        ShowDropDown(TRUE);
    return CGXControl::OnLButtonUp(nFlags, pt);
}

void CGXComboBoxWnd::OnClickedButton(GXCellChild* pChild)
{
    if (!Activate())
        return;
    // The list opens through the combo box itself: a click posted to it may not arrive.
    if (m_bDropOnClick && !GetDroppedState())
        ShowDropDown(TRUE);
    CGXControl::OnClickedButton(pChild);
}

BOOL CGXComboBoxWnd::OnGridSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar != VK_DOWN)
        return CGXStatic::OnGridSysKeyDown(nChar, nRepCnt, nFlags);
    if (!Activate())
        return FALSE;
    ShowDropDown(TRUE);
    return TRUE;
}

BOOL CGXComboBoxWnd::OnGridKeyDown(UINT nChar, UINT, UINT)
{
    if (m_bActive || GetSafeHwnd() == nullptr || (nChar != VK_END && nChar != VK_HOME) || KeyHeld(VK_CONTROL))
        return FALSE;
    if (!Activate())
        return FALSE;
    const int len = GetWindowTextLength();
    SetEditSel(nChar == VK_END ? len : 0, nChar == VK_END ? len : 0);
    return TRUE;
}

BOOL CGXComboBoxWnd::OnGridChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar < 32 || nChar == 127 || GetSafeHwnd() == nullptr)
        return FALSE;
    return OnGridDoubleByteChar(CString(static_cast<char>(nChar)), nRepCnt, nFlags);
}

BOOL CGXComboBoxWnd::OnGridDoubleByteChar(const CString& sChar, UINT, UINT)
{
    if (!m_bInit || GetSafeHwnd() == nullptr || IsReadOnly())
        return FALSE;
    const BOOL wasActive = m_bActive;
    if (!Activate())
        return FALSE;
    if (IsDropDownList()) {
        // The next item that begins with the character, from the start when none follows.
        const int cur = GetCurSel();
        int next = SelectString(cur, sChar);
        if (next == CB_ERR || next == cur)
            next = SelectString(-1, sChar);
    } else if (wasActive) {
        const DWORD sel = GetEditSel();
        const CString text = GetComboText();
        const int s = LOWORD(sel), e = HIWORD(sel);
        SetWindowText(text.Left(s) + sChar + text.Mid(e));
        SetEditSel(s + sChar.GetLength(), s + sChar.GetLength());
    } else {
        SetWindowText(sChar);
        SetEditSel(sChar.GetLength(), sChar.GetLength());
    }
    m_bModified = TRUE;
    OnModifyCell();
    Invalidate();
    return TRUE;
}

BOOL CGXComboBoxWnd::GetSelectedText(CString& sWindowText)
{
    if (!m_bActive || GetSafeHwnd() == nullptr)
        return CGXControl::GetSelectedText(sWindowText);
    const CString text = GetComboText();
    if (IsDropDownList()) {
        sWindowText = text;
        return TRUE;
    }
    const DWORD sel = GetEditSel();
    const int s = LOWORD(sel), e = HIWORD(sel);
    sWindowText = s < e ? text.Mid(s, e - s) : text;
    return TRUE;
}

void CGXComboBoxWnd::ReplaceSel(LPCSTR lpszNewText)
{
    if (!m_bActive || GetSafeHwnd() == nullptr) {
        CGXControl::ReplaceSel(lpszNewText);
        return;
    }
    if (IsReadOnly() || IsDropDownList())
        return;
    const CString text = GetComboText();
    const DWORD sel = GetEditSel();
    // The text before the selection, the replacement, the text from the selection's end.
    const int s = LOWORD(sel), e = std::max<int>(LOWORD(sel), HIWORD(sel));
    SetWindowText(text.Left(s) + lpszNewText + text.Mid(e));
    m_bModified = TRUE;
    OnModifyCell();
}

BOOL CGXComboBoxWnd::ToGrid(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    return m_pGrid->DispatchKeyMessage(m_pGrid->GridWnd(), WM_KEYDOWN, nChar, nRepCnt, nFlags);
}

BOOL CGXComboBoxWnd::HandleComboKey(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bInit || m_pGrid == nullptr)
        return FALSE;
    if (m_pGrid->GetGridHwnd() != nullptr)
        m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
    if (KeyHeld(VK_CONTROL))
        return ToGrid(nChar, nRepCnt, nFlags);
    const BOOL dropped = GetDroppedState();
    const BOOL list = IsDropDownList();
    switch (nChar) {
    case VK_RETURN:
        if (dropped) {
            ShowDropDown(FALSE);
            return TRUE;
        }
        return ToGrid(nChar, nRepCnt, nFlags);
    case VK_TAB:
    case VK_ESCAPE: return ToGrid(nChar, nRepCnt, nFlags);
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
        if (!m_bWantArrowKeys && !dropped)
            return ToGrid(nChar, nRepCnt, nFlags);
        return FALSE;
    case VK_LEFT:
    case VK_RIGHT: {
        if (m_bWantArrowKeys || dropped)
            return FALSE;
        if (list)
            return ToGrid(nChar, nRepCnt, nFlags);
        const DWORD sel = GetEditSel();
        const int len = GetWindowTextLength();
        if ((nChar == VK_LEFT && LOWORD(sel) == 0) || (nChar == VK_RIGHT && HIWORD(sel) >= len))
            return ToGrid(nChar, nRepCnt, nFlags);
        return FALSE;
    }
    case VK_DELETE:
        if (!list)
            return FALSE;
        // A drop-down list has no text to edit: Delete empties the cell, when it may.
        if (!IsReadOnly() && OnDeleteCell()) {
            m_bActive = FALSE;
            m_bModified = FALSE;
            m_pGrid->SetValueRange(CellRange(), "");
        }
        return TRUE;
    default:
        if (nChar >= VK_F1 && nChar <= VK_F24)
            return ToGrid(nChar, nRepCnt, nFlags);
        return FALSE;
    }
}

void CGXComboBoxWnd::RestoreSaved()
{
    if (IsDropDownList())
        SetCurSel(m_nSavedSel);
    else
        SetWindowText(m_strSaved);
}

BOOL CGXComboBoxWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (GetSafeHwnd() == nullptr || reinterpret_cast<HWND>(lParam) != m_hWnd)
        return FALSE;
    if (!m_bActive)
        return TRUE;
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE:
    case CBN_EDITCHANGE:
        if (IsReadOnly()) {
            RestoreSaved();
        } else {
            m_bModified = TRUE;
            OnModifyCell();
        }
        break;
    case CBN_DROPDOWN:
        m_pGrid->SetDropDownOpen(TRUE);
        m_nSavedSel = GetCurSel();
        m_strSaved = GetComboText();
        break;
    case CBN_CLOSEUP:
        m_pGrid->SetDropDownOpen(FALSE);
        if (IsReadOnly())
            RestoreSaved();
        else if (m_bModified)
            OnModifyCell();
        break;
    default: break;
    }
    return TRUE;
}

LRESULT CGXComboBoxWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        if (HandleComboKey(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
            return 0;
        break;
    case WM_GETDLGCODE: return Default() | DLGC_WANTALLKEYS;
    case WM_KILLFOCUS: {
        const LRESULT r = Default();
        const HWND hNew = reinterpret_cast<HWND>(wParam);
        if (hNew != m_hWnd && !::IsChild(m_hWnd, hNew))
            NotifyKillFocus(CWnd::FromHandle(hNew));
        return r;
    }
    default: break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}
