// The date/time cell control.
#include "gxdtctrl.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>
#include <cstdlib>

GX_IMPLEMENT_CONTROL(CGXDateTimeCtrl, CGXStatic)

namespace {
BOOL KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

BOOL Parse(LPCSTR lpszText, COleDateTime& date)
{
    return lpszText != nullptr && *lpszText != '\0' && date.ParseDateTime(lpszText, 0, LANG_USER_DEFAULT) &&
           date.GetStatus() == COleDateTime::valid;
}

CString Attribute(const CGXStyle& style, WORD nID)
{
    CString s;
    style.LookupUserAttribute(nID, s);
    return s;
}
} // namespace

CGXDateTimeCtrl::CGXDateTimeCtrl(CGXGridEngine* pGrid, UINT nID, BOOL bCalendar)
    : CGXStatic(pGrid), m_nWndID(nID), m_dwCreateStyle(WS_CHILD | (bCalendar ? GXDTS_CALENDAR : 0))
{
}

CGXDateTimeCtrl::~CGXDateTimeCtrl()
{
    if (CGXBDateTimeCtrl::GetSafeHwnd() != nullptr)
        DestroyWindow();
}

BOOL CGXDateTimeCtrl::CreateControl(DWORD dwStyle, const CRect& rect)
{
    CWnd* pGrid = GetGridWindow();
    if (pGrid == nullptr || pGrid->GetSafeHwnd() == nullptr)
        return FALSE;
    const DWORD style = (dwStyle | WS_CHILD | WS_TABSTOP | GXDTS_SPIN) & ~static_cast<DWORD>(WS_VISIBLE);
    const CRect offScreen(30000, 30000, 30500, 30100);
    return m_drawWnd.Create(0, style, offScreen, pGrid, m_nWndID + 1) && m_textWnd.Create(0, style, offScreen, pGrid, m_nWndID + 2) &&
           Create(0, style, rect, pGrid, m_nWndID);
}

BOOL CGXDateTimeCtrl::EnsureWindows()
{
    if (CGXBDateTimeCtrl::GetSafeHwnd() == nullptr)
        CreateControl(m_dwCreateStyle, CRect(0, 0, 1, 1));
    return CGXBDateTimeCtrl::GetSafeHwnd() != nullptr;
}

void CGXDateTimeCtrl::ApplyFormat(CGXBDateTimeCtrl* pWnd, const CGXStyle& style)
{
    const CString type = Attribute(style, GX_IDS_UA_DATEFORMATTYPE);
    const CString custom = Attribute(style, GX_IDS_UA_CUSTOMFORMAT);
    if (type == "3" || (type.IsEmpty() && !custom.IsEmpty()))
        pWnd->SetFormat(static_cast<LPCSTR>(custom));
    else if (type.IsEmpty())
        pWnd->SetFormat(1);
    else
        pWnd->SetFormat(std::atoi(type));
}

void CGXDateTimeCtrl::ApplyStyle(CGXBDateTimeCtrl* pWnd, const CGXStyle& style)
{
    pWnd->SetFieldFlags(static_cast<UINT>(std::atoi(Attribute(style, GX_IDS_UA_DATENOEDIT))));
    ApplyFormat(pWnd, style);
    COleDateTime lo, hi;
    if (!Parse(Attribute(style, GX_IDS_UA_DATEMIN), lo))
        lo = GXDateTimeMin();
    if (!Parse(Attribute(style, GX_IDS_UA_DATEMAX), hi))
        hi = GXDateTimeMax();
    // A range the window refuses gives the default range for this cell, never the last cell's.
    if (!pWnd->SetRange(lo, hi, std::atoi(Attribute(style, GX_IDS_UA_DATEVALIDATE))))
        pWnd->SetRange(GXDateTimeMin(), GXDateTimeMax(), 0);
}

COleDateTime CGXDateTimeCtrl::ParseValue(CGXBDateTimeCtrl* pWnd, LPCSTR lpszValue, BOOL* pParsed)
{
    COleDateTime date;
    const BOOL ok = Parse(lpszValue, date);
    if (pParsed != nullptr)
        *pParsed = ok;
    if (ok)
        return date;
    const int type = pWnd->GetFormatType();
    if (type == 0 || type == 3)
        return COleDateTime(1899, 12, 30, 0, 0, 0);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    return COleDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
}

// ---------------------------------------------------------------------------
// The held cell

void CGXDateTimeCtrl::SetActive(BOOL bActive)
{
    GXSetWindowControlActive(this, CGXBDateTimeCtrl::GetSafeHwnd(), m_bActive, bActive);
}

void CGXDateTimeCtrl::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXStatic::Init(nRow, nCol);
    if (!EnsureWindows())
        return;
    m_bModify = FALSE;
    const CGXStyle& style = GetStyle();
    ApplyStyle(this, style);
    SetValue(style.GetIncludeValue() ? static_cast<LPCSTR>(style.GetValue()) : "");
    CGXGridParam* param = m_pGrid->GetParam();
    if (param != nullptr && (param->m_dwActivateOptions & 0x04) && m_pGrid->IsCurrentCellAt(nRow, nCol) &&
        OnStartEditing())
        SetActive(TRUE);
    m_bModify = FALSE;
    SetModified(FALSE);
}

void CGXDateTimeCtrl::SetValue(LPCSTR lpszValue)
{
    if (CGXBDateTimeCtrl::GetSafeHwnd() == nullptr)
        return;
    SetDateTime(ParseValue(this, lpszValue));
    // Loading a value is no edit: only a modified control tells the grid.
    if (m_bModify)
        OnModifyCell();
}

void CGXDateTimeCtrl::GetValue(CString& strResult)
{
    if (m_bInit && m_bModify)
        strResult = GetDateTime().Format(0, LANG_USER_DEFAULT);
    else
        CGXStatic::GetValue(strResult);
}

BOOL CGXDateTimeCtrl::GetCurrentText(CString& strResult)
{
    if (m_bInit && m_bModify) {
        strResult = GetDateTime().Format(0, LANG_USER_DEFAULT);
        return TRUE;
    }
    return CGXStatic::GetCurrentText(strResult);
}

void CGXDateTimeCtrl::SetCurrentText(const CString& str)
{
    if (!m_bInit || CGXBDateTimeCtrl::GetSafeHwnd() == nullptr || IsReadOnly())
        return;
    if (!m_bActive)
        SetActive(TRUE);
    COleDateTime date;
    if (!ValidateString(str) || !Parse(str, date) || !IsInRange(date))
        return;
    SetDateTime(date);
    m_bModify = TRUE;
    OnModifyCell();
}

int CGXDateTimeCtrl::Store()
{
    ClosePopup();
    if (!m_bInit || !m_bModify)
        return 0;
    CString text;
    GetCurrentText(text);
    SetActive(FALSE);
    m_bModify = FALSE;
    const BOOL ok = m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol), text, gxOverride, 0, GX_INVALIDATE);
    FreeStyle();
    return ok ? 1 : 2;
}

BOOL CGXDateTimeCtrl::OnStartEditing()
{
    if (!CGXStatic::OnStartEditing())
        return FALSE;
    CGXBDTGadget* g = GetFocusGadget();
    if (g == nullptr || !(g->GetStyle() & CGXBDTGadget::styleFocus) || g->GetID() >= GXDT_BUTTON)
        FocusEditable(FALSE);
    return TRUE;
}

void CGXDateTimeCtrl::FocusEditable(BOOL bLast)
{
    const int n = GetGadgetCount();
    int target = -1;
    for (int i = GetButtonCount(); i < n; ++i)
        if (GetGadget(i)->GetStyle() & CGXBDTGadget::styleFocus) {
            target = i;
            if (!bLast)
                break;
        }
    if (target < 0)
        return;
    const BOOL has = ::GetFocus() == CGXBDateTimeCtrl::GetSafeHwnd();
    for (int i = 0; i < n; ++i)
        GetGadget(i)->SetFocus(i == target && has);
    m_nFocus = target;
    ScrollIntoView(target);
}

BOOL CGXDateTimeCtrl::CanChange(const COleDateTime&)
{
    if (IsReadOnly())
        return FALSE;
    m_bModify = TRUE;
    return TRUE;
}

void CGXDateTimeCtrl::OnChanged()
{
    CGXControl::Invalidate();
    if (m_bModify)
        OnModifyCell();
}

// ---------------------------------------------------------------------------
// Texts

BOOL CGXDateTimeCtrl::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR lpszValue, const CGXStyle* pStyle)
{
    strResult.Empty();
    CString value = lpszValue != nullptr ? CString(lpszValue)
                    : pStyle != nullptr && pStyle->GetIncludeValue() ? pStyle->GetValue()
                                                                     : CString();
    if (value.IsEmpty() || !EnsureWindows())
        return FALSE;
    if (pStyle != nullptr)
        ApplyFormat(&m_textWnd, *pStyle);
    COleDateTime date;
    if (!Parse(value, date))
        return FALSE;
    m_textWnd.SetDateTime(date);
    for (int i = m_textWnd.GetButtonCount(); i < m_textWnd.GetGadgetCount(); ++i) {
        CGXBDTGadget* g = m_textWnd.GetGadget(i);
        if (auto* list = dynamic_cast<CGXBDTListGadget*>(g))
            strResult += list->GetText();
        else if (auto* text = dynamic_cast<CGXBDTStaticGadget*>(g))
            strResult += text->GetText();
        else if (dynamic_cast<CGXBDTNumericGadget*>(g) != nullptr) {
            CString n;
            n.Format("%d", g->GetValue());
            strResult += n;
        }
    }
    return TRUE;
}

BOOL CGXDateTimeCtrl::TextToField(CGXBDateTimeCtrl* pWnd, CGXBDTGadget* pGadget, const CString& sText)
{
    if (pGadget == nullptr || sText.IsEmpty())
        return FALSE;
    if (auto* list = dynamic_cast<CGXBDTListGadget*>(pGadget))
        return list->FindPrefix(sText, 0) >= 0;
    if (dynamic_cast<CGXBDTNumericGadget*>(pGadget) != nullptr) {
        if (sText.SpanIncluding("0123456789") != sText)
            return FALSE;
        const int n = std::atoi(sText);
        return pWnd->OnGadgetNotify(GXDTN_QUERY, pGadget->GetID(), n) &&
               pWnd->OnGadgetNotify(GXDTN_SET, pGadget->GetID(), n);
    }
    return FALSE;
}

BOOL CGXDateTimeCtrl::SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle)
{
    CGXStyle* pComposed = nullptr;
    if (pOldStyle == nullptr) {
        pComposed = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pComposed);
        pOldStyle = pComposed;
    }
    CGXGridParam* param = m_pGrid->GetParam();
    BOOL ok = FALSE;
    COleDateTime date;
    if (param != nullptr && param->m_bLockStructureReadOnly &&
        (m_pGrid->IsReadOnly() || (pOldStyle->GetIncludeReadOnly() && pOldStyle->GetReadOnly()))) {
        ok = FALSE;
    } else if (str.IsEmpty()) {
        ok = m_pGrid->SetValueRange(CGXRange(nRow, nCol), "", gxOverride, 0, nFlags);
    } else if (Parse(str, date)) {
        // Decided by the parse: midnight of the base day is a time like any other.
        ok = m_pGrid->SetValueRange(CGXRange(nRow, nCol), date.Format(0, LANG_USER_DEFAULT), gxOverride, 0, nFlags);
    } else if (EnsureWindows()) {
        // Parts of the text fill the fields in picture order, starting from the cell's date.
        ApplyStyle(&m_textWnd, *pOldStyle);
        m_textWnd.SetDateTime(ParseValue(&m_textWnd, pOldStyle->GetValue()));
        std::vector<CString> parts;
        CString part;
        const CString splitters = CString("\r\n ") + m_strSeparators;
        for (int i = 0; i <= str.GetLength(); ++i) {
            if (i == str.GetLength() || splitters.Find(str[i]) >= 0) {
                if (!part.IsEmpty())
                    parts.push_back(part);
                part.Empty();
            } else {
                part += str[i];
            }
        }
        BOOL all = !parts.empty();
        size_t next = 0;
        for (int i = m_textWnd.GetButtonCount(); i < m_textWnd.GetGadgetCount() && next < parts.size(); ++i) {
            CGXBDTGadget* g = m_textWnd.GetGadget(i);
            if (g->GetID() <= 0)
                continue;
            all = TextToField(&m_textWnd, g, parts[next++]) && all;
        }
        COleDateTime result = m_textWnd.GetDateTime();
        if (all && next == parts.size() && m_textWnd.ValidateDate(result, 0))
            ok = m_pGrid->SetValueRange(CGXRange(nRow, nCol), result.Format(0, LANG_USER_DEFAULT), gxOverride, 0,
                                        nFlags);
    }
    if (pComposed != nullptr)
        m_pGrid->RecycleStyle(pComposed);
    return ok;
}

// ---------------------------------------------------------------------------
// Sizes and drawing

CSize CGXDateTimeCtrl::CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle*,
                                BOOL bHeight)
{
    if (pDC == nullptr || !EnsureWindows())
        return CSize(0, 0);
    ApplyFormat(&m_textWnd, style);
    COleDateTime date;
    if (!Parse(style.GetValue(), date))
        return CSize(0, 0);
    m_textWnd.SetDateTime(date);
    const int saved = pDC->SaveDC();
    m_pGrid->SelectStyleFont(pDC, style);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    m_textWnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT)));
    pDC->RestoreDC(saved);
    CSize size(0, tm.tmHeight + tm.tmExternalLeading + 1);
    for (int i = 0; i < m_textWnd.GetGadgetCount(); ++i) {
        const CRect& r = m_textWnd.GetGadget(i)->GetRect();
        size.cx += r.Width();
        size.cy = std::max<int>(size.cy, r.Height());
    }
    (void)nRow;
    (void)nCol;
    (void)bHeight;
    return AddBorders(size, style);
}

void CGXDateTimeCtrl::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                           const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const BOOL printing = m_pGrid->IsPrinting();
    const BOOL bw = GXIsBlackWhite(m_pGrid);
    if (!printing && m_bActive && IsActiveAt(nRow, nCol) && CGXBDateTimeCtrl::GetSafeHwnd() != nullptr) {
        const CGXStyle& cell = GetStyle();
        LOGFONT lf{};
        if (CFont* pCached = m_pGrid->LookupFont(cell.GetFont()))
            pCached->GetLogFont(&lf);
        else
            ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        m_font.DeleteObject();
        m_font.CreateFontIndirect(&lf);
        const GXBrushRecord& br = cell.GetInterior();
        SetColors(GetStyleTextColor(cell), br.lbStyle == BS_SOLID ? ResolveSysColor(br.lbColor) : RGB(255, 255, 255));
        DrawBackground(pDC, rect, cell, FALSE);
        CRect inner = GetCellRect(nRow, nCol, rect, &cell);
        CRect visible;
        m_pGrid->GetGridRect(&visible);
        inner.IntersectRect(&inner, &visible);
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()));
        MoveWindow(&inner, FALSE);
        ShowWindow(SW_SHOWNA);
        CGXBDateTimeCtrl::Invalidate(FALSE);
        UpdateWindow();
        if (::GetFocus() == m_pGrid->GetGridHwnd()) {
            const BOOL was = m_pGrid->m_bSettingFocus;
            m_pGrid->m_bSettingFocus = TRUE;
            SetFocus();
            m_pGrid->m_bSettingFocus = was;
        }
        CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
        return;
    }
    DrawBackground(pDC, rect, style, FALSE);
    if (!EnsureWindows()) {
        CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
        return;
    }
    const CRect inner = GetCellRect(nRow, nCol, rect, &style);
    const int saved = pDC->SaveDC();
    m_pGrid->SelectStyleFont(pDC, style);
    const CString value = style.GetIncludeValue() ? style.GetValue() : CString();
    ApplyFormat(&m_drawWnd, style);
    m_drawWnd.SetDateTime(ParseValue(&m_drawWnd, value));
    m_drawWnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT)));
    m_drawWnd.MoveWindow(30000, 30000, inner.Width(), inner.Height(), FALSE);
    m_drawWnd.LayoutGadgets();
    pDC->IntersectClipRect(&inner);
    pDC->OffsetViewportOrg(inner.left, inner.top);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(bw ? RGB(0, 0, 0) : GetStyleTextColor(style));
    const BOOL current = m_pGrid->IsCurrentCellAt(nRow, nCol) && !printing;
    for (int i = m_drawWnd.GetGadgetCount() - 1; i >= 0; --i) {
        CGXBDTGadget* g = m_drawWnd.GetGadget(i);
        const int id = g->GetID();
        BOOL draw = !value.IsEmpty();
        if (id == GXDT_BUTTON)
            draw = (m_dwCreateStyle & GXDTS_CALENDAR) && (m_bDrawCalendar || current);
        else if (id == GXDT_SPIN)
            draw = m_bDrawSpin || current;
        if (draw)
            g->Draw(pDC);
    }
    pDC->RestoreDC(saved);
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

void CGXDateTimeCtrl::Reset()
{
    ClosePopup();
    CGXStatic::Reset();
}

void CGXDateTimeCtrl::Hide()
{
    ClosePopup();
    if (CGXBDateTimeCtrl::GetSafeHwnd() == nullptr || !IsWindowVisible())
        return;
    m_pGrid->m_bHidingControl = TRUE;
    GXShownOver::HideWindow(this, CPoint(10000, 10000));
    m_pGrid->m_bHidingControl = FALSE;
}

// ---------------------------------------------------------------------------
// Input

BOOL CGXDateTimeCtrl::ToGrid(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    return m_pGrid->DispatchKeyMessage(m_pGrid->GridWnd(), nMessage, nChar, nRepCnt, nFlags);
}

BOOL CGXDateTimeCtrl::OnGridKeyDown(UINT nChar, UINT, UINT)
{
    if (CGXBDateTimeCtrl::GetSafeHwnd() == nullptr || !m_bInit)
        return FALSE;
    if (m_bActive) {
        // A key that leaves the field, or the cell, ends the typing of a number as any key but a
        // digit does in the field itself, before the grid acts on it: the number is the cell's.
        // Escape gives it up with the rest of the editing.
        if (nChar != VK_ESCAPE && !GXDateTimeIsDigitKey(nChar))
            CommitTyping();
        return FALSE;
    }
    if ((nChar == VK_HOME || nChar == VK_END) && !KeyHeld(VK_CONTROL)) {
        if (!OnStartEditing())
            return FALSE;
        SetActive(TRUE);
        FocusEditable(nChar == VK_END);
        CGXControl::Invalidate();
        return TRUE;
    }
    return FALSE;
}

// A press anywhere in the grid (on another cell, a header, a scroll bar) comes before the grid
// acts on it: the number being typed is taken first, as the focus leaving would take it.
BOOL CGXDateTimeCtrl::OnMouseActivate(CWnd*, UINT, UINT, int&)
{
    if (m_bActive && m_bInit)
        CommitTyping();
    return FALSE;
}

BOOL CGXDateTimeCtrl::OnGridChar(UINT nChar, UINT, UINT)
{
    if (nChar < 32 || nChar == 127 || !m_bInit || CGXBDateTimeCtrl::GetSafeHwnd() == nullptr || IsReadOnly())
        return FALSE;
    if (!m_bActive) {
        if (!OnStartEditing())
            return FALSE;
        SetActive(TRUE);
    }
    // The typed character goes to the field that starts editing.
    if (CGXBDTGadget* g = GetFocusGadget())
        g->OnChar(nChar);
    CGXControl::Invalidate();
    return TRUE;
}

BOOL CGXDateTimeCtrl::OnLButtonUp(UINT nFlags, CPoint pt)
{
    CGXGridParam* param = m_pGrid->GetParam();
    const DWORD opt = param != nullptr ? param->m_dwActivateOptions : 0;
    if (m_bInit && CGXBDateTimeCtrl::GetSafeHwnd() != nullptr && !m_bActive && (opt & (1 | 2 | 4)) &&
        OnStartEditing()) {
        SetActive(TRUE);
        CGXControl::Invalidate();
        if (CWnd* pGrid = GetGridWindow())
            pGrid->UpdateWindow();
        // The click reaches the field (or the arrows, the button) under it.
        CRect r;
        GetWindowRect(&r);
        CPoint screen = pt;
        if (CWnd* pGrid = GetGridWindow())
            pGrid->ClientToScreen(&screen);
        const LPARAM at = MAKELPARAM(screen.x - r.left, screen.y - r.top);
        SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessage(WM_LBUTTONUP, 0, at);
    }
    return CGXControl::OnLButtonUp(nFlags, pt);
}

BOOL CGXDateTimeCtrl::CanPaste()
{
    CGXGridParam* param = m_pGrid->GetParam();
    return !(param != nullptr && param->m_bLockStructureReadOnly && m_pGrid->IsReadOnly()) && m_bInit && m_bActive &&
           !IsReadOnly() && ::IsClipboardFormatAvailable(CF_TEXT);
}

BOOL CGXDateTimeCtrl::Paste()
{
    if (!m_bInit || !m_bActive || IsReadOnly())
        return FALSE;
    BOOL bOpen = FALSE;
    if (!GXOpenClipboardForPaste(m_pGrid->GetGridHwnd(), bOpen))
        return FALSE;
    HANDLE h = ::GetClipboardData(CF_TEXT);
    if (h == nullptr)
        h = ::GetClipboardData(CF_OEMTEXT);
    CString text;
    if (h != nullptr) {
        if (LPCSTR p = static_cast<LPCSTR>(::GlobalLock(h))) {
            text = p;
            ::GlobalUnlock(h);
        }
    }
    if (bOpen)
        ::CloseClipboard();
    if (h == nullptr)
        return FALSE;
    text.TrimLeft();
    text.TrimRight();
    TextToField(this, GetFocusGadget(), text);
    return TRUE;
}

LRESULT CGXDateTimeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT nRep = LOWORD(lParam), nFlags = HIWORD(lParam);
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_SETFOCUS: m_nScroll = 0; break;
    case WM_KILLFOCUS: {
        const LRESULT r = CGXBDateTimeCtrl::WindowProc(message, wParam, lParam);
        // The dropped calendar is part of the editing, not a leaving of the cell.
        const HWND hNew = reinterpret_cast<HWND>(wParam);
        if (m_pPopup == nullptr || hNew != m_pPopup->GetSafeHwnd())
            NotifyKillFocus(CWnd::FromHandle(hNew));
        return r;
    }
    case WM_KEYDOWN: {
        if (!m_bInit)
            break;
        m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
        const UINT vk = static_cast<UINT>(wParam);
        if (KeyHeld(VK_CONTROL)) {
            ToGrid(WM_KEYDOWN, vk, nRep, nFlags);
            return 0;
        }
        if (vk == VK_RETURN) {
            CommitTyping();
            if (m_bModify) {
                Store();
            } else {
                SetActive(FALSE);
                CGXControl::Invalidate();
            }
            return 0;
        }
        if (vk == VK_TAB || vk == VK_ESCAPE || vk == VK_PRIOR || vk == VK_NEXT || (vk >= VK_F1 && vk <= VK_F24)) {
            ToGrid(WM_KEYDOWN, vk, nRep, nFlags);
            return 0;
        }
        if (vk == VK_DELETE) {
            // The read-only rule and the grid's consent hold for emptying a cell too.
            if (IsReadOnly() || !OnDeleteCell())
                return 0;
            SetActive(FALSE);
            m_bModify = FALSE;
            m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol), "", gxOverride, 0, GX_INVALIDATE);
            return 0;
        }
        break;
    }
    case WM_CHAR: {
        const UINT ch = static_cast<UINT>(wParam);
        if (!m_bActive || !m_bInit || IsReadOnly() || ch == VK_BACK)
            return 0;
        if (KeyHeld(VK_CONTROL)) {
            if (ch == 3)
                Copy();
            else if (ch == 22)
                Paste();
            else if (ch == 24)
                Cut();
            return 0;
        }
        if (ch == '\r' || ch == '\n' || ch == '\t' || ch == 27)
            return 0;
        const LRESULT r = CGXBDateTimeCtrl::WindowProc(message, wParam, lParam);
        if (m_bModify)
            OnModifyCell();
        return r;
    }
    case WM_KEYUP:
    case WM_SYSCHAR:
    case WM_SYSKEYUP:
        if (!m_bInit || !ToGrid(message, static_cast<UINT>(wParam), nRep, nFlags))
            return Default();
        return 0;
    case WM_SYSKEYDOWN:
        if (GetGadgetCount() > 0 && wParam == VK_DOWN && (CWnd::GetStyle() & GXDTS_CALENDAR)) {
            DropCalendar();
            return 0;
        }
        if (m_bInit && ToGrid(message, static_cast<UINT>(wParam), nRep, nFlags))
            return 0;
        break;
    case WM_LBUTTONUP: {
        const LRESULT r = CGXBDateTimeCtrl::WindowProc(message, wParam, lParam);
        if (m_bModify)
            OnModifyCell();
        return r;
    }
    default: break;
    }
    return CGXBDateTimeCtrl::WindowProc(message, wParam, lParam);
}
