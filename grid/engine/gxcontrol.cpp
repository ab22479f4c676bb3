#include "gxcontrol.h"
#include "gxtabwnd.h"
#include "gxengine.h"
#include "gxwnd.h"
#include "gxresrc.h"
#include "gxstymap.h"
#include "gxutil.h"
#include "afxwin.h"
#include "gxinit.h"
#include "gxprop.h"
#include <cstdlib>
#include <cstring>

const GXControlClass CGXControl::classRecordCGXControl = {"CGXControl", nullptr};

FindReplaceState* GXGetFindReplaceState()
{
    static FindReplaceState state;
    return &state;
}

CGXControl::CGXControl(CGXGridEngine* pGrid) : m_nRow(static_cast<ROWCOL>(-1)), m_nCol(static_cast<ROWCOL>(-1)), m_pGrid(pGrid)
{
}

CGXControl::~CGXControl()
{
    delete m_pStyle;
    if (m_pChildren != nullptr) {
        for (POSITION pos = m_pChildren->GetHeadPosition(); pos;)
            delete static_cast<GXCellChild*>(m_pChildren->GetNext(pos));
        delete m_pChildren;
    }
}

CWnd* CGXControl::GetGridWindow() const { return m_pGrid != nullptr ? m_pGrid->GridWnd() : nullptr; }

const CGXStyle& CGXControl::GetStyle()
{
    if (m_pStyle == nullptr)
        m_pStyle = m_pGrid->GetCellStyle(m_nRow, m_nCol).Clone();
    return *m_pStyle;
}

void CGXControl::FreeStyle(BOOL)
{
    delete m_pStyle;
    m_pStyle = nullptr;
}

BOOL CGXControl::IsKindOf(const GXControlClass* pClass) const
{
    if (pClass == nullptr)
        return FALSE;
    for (const GXControlClass* p = GetClassRecord(); p != nullptr; p = p->parent)
        if (p == pClass || std::strcmp(p->name, pClass->name) == 0)
            return TRUE;
    return FALSE;
}

BOOL CGXControl::IsWndKindOf(CRuntimeClass* pClass)
{
    CWnd* pWnd = GetWnd();
    return pWnd != nullptr && pWnd->IsKindOf(pClass);
}

BOOL CGXControl::GXCombineDBCSChar(UINT nChar, CString& sText, BOOL& bPending, BYTE& chLead)
{
    if (!bPending && ::IsDBCSLeadByte(static_cast<BYTE>(nChar))) {
        chLead = static_cast<BYTE>(nChar);
        bPending = TRUE;
        sText.Empty();
        return TRUE;
    }
    if (bPending) {
        bPending = FALSE;
        sText = CString(static_cast<char>(chLead));
        sText += static_cast<char>(nChar);
        return TRUE;
    }
    sText = CString(static_cast<char>(nChar));
    return FALSE;
}

// ---------------------------------------------------------------------------
// Identity, activity, the held cell

void CGXControl::SetActive(BOOL) {}
BOOL CGXControl::IsActive() { return FALSE; }
void CGXControl::SetModify(BOOL) {}
BOOL CGXControl::GetModify() { return FALSE; }

void CGXControl::Init(ROWCOL nRow, ROWCOL nCol)
{
    m_nRow = nRow;
    m_nCol = nCol;
    m_bInit = TRUE;
    SetActive(FALSE);
    SetModify(FALSE);
    FreeStyle(FALSE);
    SetCapturedChild(nullptr);
    // A new cell: nothing a button of the old one held stays pressed.
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->CancelPress();
    if (m_pGrid == nullptr)
        return;
    if (GetChildCount() > 0)
        LayoutChildren(nRow, nCol, GetCellRect(nRow, nCol));
    CGXGridParam* param = m_pGrid->GetParam();
    if (param != nullptr && (param->m_dwActivateOptions & 0x04) && m_pGrid->IsCurrentCellAt(nRow, nCol) &&
        OnStartEditing())
        SetActive(TRUE);
}

void CGXControl::Reset()
{
    if (m_bInit && m_pGrid != nullptr && (GetModify() || IsActive()))
        m_pGrid->RedrawRange(CellRange(), GX_INVALIDATE);
    Hide();
    SetModify(FALSE);
    SetActive(FALSE);
    FreeStyle(TRUE);
    // The engine's composed style of the cell goes too: the next use composes it afresh.
    if (m_bInit && m_pGrid != nullptr && m_pGrid->IsCurrentCellAt(m_nRow, m_nCol))
        m_pGrid->FreeCurrentStyle();
    m_bInit = FALSE;
}

int CGXControl::Store() { return 0; }

BOOL CGXControl::OnValidate()
{
    if (IsActive() && GetModify()) {
        CString value;
        GetValue(value);
        if (!value.IsEmpty()) {
            const CGXStyle& style = GetStyle();
            CString bound;
            // Clamped parsing: a long run of digits counts as the largest value, not a wrapped one.
            const long v = GXParseClampedLong(value);
            bool bad = (style.LookupUserAttribute(GX_IDS_UA_VALID_MIN, bound) && !bound.IsEmpty() &&
                        GXParseClampedLong(bound) > v) ||
                       (style.LookupUserAttribute(GX_IDS_UA_VALID_MAX, bound) && !bound.IsEmpty() &&
                        GXParseClampedLong(bound) < v);
            if (bad) {
                // The cell's warning for the user, which the engine shows once.
                CString message;
                style.LookupUserAttribute(GX_IDS_UA_VALID_MSG, message);
                m_pGrid->SetTextField(message);
                return FALSE;
            }
        }
        if (!ValidateString(value))
            return FALSE;
    }
    return m_pGrid->OnValidateCell(m_nRow, m_nCol);
}

BOOL CGXControl::OnStartEditing()
{
    if (!m_bInit || !m_pGrid->OnStartEditing(m_nRow, m_nCol))
        return FALSE;
    if (m_pGrid->GetGridHwnd() != nullptr)
        m_pGrid->BringCellIntoView(m_nRow, m_nCol, GX_UPDATENOW);
    return TRUE;
}

void CGXControl::OnModifyCell()
{
    if (GetModify())
        m_pGrid->OnCellModified(m_nRow, m_nCol);
}

BOOL CGXControl::OnEndEditing() { return m_pGrid->OnEndEditing(m_nRow, m_nCol); }
void CGXControl::OnCanceledEditing() { m_pGrid->OnCanceledEditing(m_nRow, m_nCol); }
BOOL CGXControl::CanLeaveCell() { return TRUE; }
BOOL CGXControl::OnLeftCell(ROWCOL nNewRow, ROWCOL nNewCol) { return m_pGrid->OnLeftCell(m_nRow, m_nCol, nNewRow, nNewCol); }
BOOL CGXControl::OnDeleteCell() { return TRUE; }
BOOL CGXControl::OnCancelEditing() { return m_pGrid->OnCancelEditing(m_nRow, m_nCol); }

void CGXControl::GetSortKey(ROWCOL, ROWCOL, const CGXSortInfo&, const CGXStyle& style, CString& sKey)
{
    sKey = style.GetValue();
}

// ---------------------------------------------------------------------------
// Geometry and drawing: the cell's geometry comes with the grid's drawing

CRect CGXControl::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    if (m_pGrid == nullptr)
        return rectItem != nullptr ? CRect(rectItem) : CRect();
    const CRect rect = rectItem != nullptr ? CRect(rectItem) : m_pGrid->CalcCellRect(nRow, nCol);
    if (pStyle == nullptr)
        pStyle = IsActiveAt(nRow, nCol) ? &GetStyle() : &m_pGrid->GetCellStyle(nRow, nCol);
    return m_pGrid->SubtractBorders(rect, *pStyle);
}

CSize CGXControl::AddBorders(CSize size, const CGXStyle& style)
{
    return m_pGrid != nullptr ? m_pGrid->AddBorders(size, style) : size;
}
CSize CGXControl::CalcSize(CDC*, ROWCOL, ROWCOL, const CGXStyle&, const CGXStyle*, BOOL) { return CSize(0, 0); }
BOOL CGXControl::CanFloatCell(ROWCOL, ROWCOL, const CGXStyle&, BOOL) { return FALSE; }
BOOL CGXControl::CanMergeCell(ROWCOL, ROWCOL, const CGXStyle& style, int) { return !style.GetValue().IsEmpty(); }
void CGXControl::InvertArea(CDC* pDC, const CRect& rect)
{
    if (pDC == nullptr || m_pGrid == nullptr || m_pGrid->IsPrinting())
        return;
    CGXGridParam* param = m_pGrid->GetParam();
    const CGXProperties* props = param != nullptr ? param->GetProperties() : nullptr;
    CString kind;
    if (props != nullptr)
        kind = props->GetUserProperty(GX_IDS_UA_CURRENTCELL).GetValue();
    CString choice;
    int mark = 0;   // 0 thin invert, 1 thick invert, 2 thin border, 3 thick border
    for (int i = 0; i < 4; ++i)
        if (choice.LoadString(GX_IDS_CHOICE_INVERTTHIN + i) && kind == choice)
            mark = i;
    const int w = (mark == 1 || mark == 3) ? 2 : 1;
    if (mark < 2) {
        // Bands along the four sides, none inverted twice at the corners.
        pDC->InvertRect(CRect(rect.left, rect.top, rect.right, rect.top + w));
        pDC->InvertRect(CRect(rect.left, rect.bottom - w, rect.right, rect.bottom));
        pDC->InvertRect(CRect(rect.left, rect.top + w, rect.left + w, rect.bottom - w));
        pDC->InvertRect(CRect(rect.right - w, rect.top + w, rect.right, rect.bottom - w));
    } else {
        const GXPenRecord pen(PS_SOLID, w, RGB(0, 0, 0));
        for (int side = 0; side < 4; ++side)
            m_pGrid->DrawBorder(pen, rect, side, pDC);
    }
}

void CGXControl::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle*)
{
    if (pDC == nullptr || GetChildCount() == 0)
        return;
    const CRect inner = GetCellRect(nRow, nCol, rect, &style);
    LayoutChildren(nRow, nCol, inner);
    const BOOL bFocus = m_pGrid != nullptr && m_pGrid->IsCurrentCellAt(nRow, nCol) && m_pGrid->m_bGridActive &&
                        !m_pGrid->IsPrinting();
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->Draw(pDC, bFocus);
}

// ---------------------------------------------------------------------------
// Values and texts

void CGXControl::GetValue(CString& strResult)
{
    if (m_pStyle != nullptr && m_pStyle->GetIncludeValue())
        strResult = m_pStyle->GetValue();
    else if (m_bInit)
        GetDisplayText(strResult, m_nRow, m_nCol, nullptr, &GetStyle());
    else
        strResult.Empty();
}

void CGXControl::SetCurrentText(const CString& str)
{
    if (m_bInit)
        SetCellText(m_nRow, m_nCol, str, GX_UPDATENOW, m_pStyle);
}

BOOL CGXControl::GetCurrentText(CString& strResult)
{
    if (!m_bInit || !GetStyle().GetIncludeValue())
        return FALSE;
    strResult = GetStyle().GetValue();
    return TRUE;
}

void CGXControl::SetValue(LPCSTR lpszValue)
{
    if (!m_bInit)
        return;
    GetStyle();
    m_pStyle->SetValue(lpszValue);
}

BOOL CGXControl::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR lpszValue, const CGXStyle* pStyle)
{
    if (lpszValue != nullptr) {
        strResult = lpszValue;
        return TRUE;
    }
    if (pStyle != nullptr && pStyle->GetIncludeValue()) {
        strResult = pStyle->GetValue();
        return TRUE;
    }
    strResult.Empty();
    return FALSE;
}

BOOL CGXControl::SetCellText(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags, const CGXStyle* pOldStyle)
{
    CGXStyle* pComposed = nullptr;
    if (pOldStyle == nullptr) {
        pComposed = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pComposed);
        pOldStyle = pComposed;
    }
    const CGXStyle* pPrevious = m_pGrid->GetPreparedStyle();
    m_pGrid->SetPreparedStyle(pOldStyle);
    BOOL ok = FALSE;
    CGXGridParam* param = m_pGrid->GetParam();
    const BOOL lock = param != nullptr && param->m_bLockStructureReadOnly;
    if (!(lock && (m_pGrid->IsReadOnly() || (pOldStyle->GetIncludeReadOnly() && pOldStyle->GetReadOnly())))) {
        CString text = str;
        if (pOldStyle->GetIncludeMaxLength() && pOldStyle->GetMaxLength() > 0 &&
            text.GetLength() > pOldStyle->GetMaxLength())
            text = text.Left(pOldStyle->GetMaxLength());
        ok = m_pGrid->SetValueRange(CGXRange(nRow, nCol), text, gxOverride, 0, nFlags);
    }
    m_pGrid->SetPreparedStyle(pPrevious);
    if (pComposed != nullptr)
        m_pGrid->RecycleStyle(pComposed);
    return ok;
}

BOOL CGXControl::StoreStyle(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType,
                            const CGXStyle* pOldStyle)
{
    CGXGridParam* param = m_pGrid->GetParam();
    const BOOL lock = param != nullptr && param->m_bLockStructureReadOnly;
    const BOOL cellReadOnly = pOldStyle != nullptr && pOldStyle->GetIncludeReadOnly() && pOldStyle->GetReadOnly();
    if (lock && (m_pGrid->IsReadOnly() || cellReadOnly))
        return FALSE;
    if (!m_pGrid->StoreStyleRowCol(nRow, nCol, pStyle, nMode, nType))
        return FALSE;
    if (m_pGrid->IsCurrentCellAt(nRow, nCol)) {
        if (IsActiveAt(nRow, nCol) && nMode != gxRemove) {
            BOOL bModified = GetModify();
            FreeStyle(TRUE);
            if (pStyle != nullptr && pStyle->GetIncludeControl())
                m_pGrid->FreeCurrentStyle();
            else if (pStyle != nullptr && pStyle->GetIncludeValue())
                SetValue(pStyle->GetValue());
            Invalidate();
            SetModify(nMode == gxCopy ? FALSE : bModified);
        } else {
            // Not held here yet, or its style removed: the control starts over on the cell.
            Init(nRow, nCol);
        }
    }
    return TRUE;
}

BOOL CGXControl::LoadCurrentText(ROWCOL, ROWCOL, CGXStyle&) { return FALSE; }

void CGXControl::GetChoiceListItem(const CString& sChoices, CString& sItem, int nIndex)
{
    sItem.Empty();
    if (nIndex < 0)
        return;
    LPCSTR p = sChoices;
    CString line;
    for (int i = 0; GXGetNextChoiceLine(p, line); ++i) {
        if (i == nIndex) {
            sItem = line;
            return;
        }
    }
}

int CGXControl::FindChoiceListItem(LPCSTR lpszText, const CString& sChoices, BOOL bExact)
{
    if (lpszText == nullptr || *lpszText == '\0')
        return -1;
    const size_t len = std::strlen(lpszText);
    int found = -1;
    LPCSTR p = sChoices;
    CString line;
    for (int i = 0; GXGetNextChoiceLine(p, line); ++i) {
        if (line.CompareNoCase(lpszText) == 0)
            return i;
        if (!bExact && found < 0 && static_cast<size_t>(line.GetLength()) >= len &&
            _strnicmp(line, lpszText, len) == 0)
            found = i;
    }
    return bExact ? -1 : found;
}

void CGXControl::Hide() {}

void CGXControl::Invalidate()
{
    if (!m_bInit)
        return;
    Hide();
    m_pGrid->RedrawRange(CGXRange(m_nRow, m_nCol), GX_INVALIDATE);
}

// ---------------------------------------------------------------------------
// Mouse, keys, clipboard, search: the defaults of a windowless control

// The mouse slots lay the children out on the cell first; a press belongs to
// the child it hits, and that child gets the release and the moves.
namespace {
enum MouseKind { mkDown, mkUp, mkDbl };
}

static BOOL ChildMouse(CGXControl* pControl, int nButton, int nKind, UINT nFlags, CPoint pt)
{
    if (!pControl->IsInit() || pControl->Grid() == nullptr || pControl->GetChildCount() == 0)
        return FALSE;
    pControl->LayoutChildren(pControl->m_nRow, pControl->m_nCol, pControl->GetCellRect(pControl->m_nRow, pControl->m_nCol));
    GXCellChild* pTarget = nullptr;
    if (nKind == mkUp) {
        pTarget = pControl->GetCapturedChild();
    } else {
        for (int i = 0; i < pControl->GetChildCount() && pTarget == nullptr; ++i)
            if (pControl->GetChild(i)->HitTest(pt))
                pTarget = pControl->GetChild(i);
        if (nKind == mkDown)
            pControl->SetCapturedChild(pTarget);
    }
    if (pTarget == nullptr)
        return FALSE;
    switch (nButton * 3 + nKind) {
    case 0: return pTarget->OnLButtonDown(nFlags, pt);
    case 1: return pTarget->OnLButtonUp(nFlags, pt);
    case 2: return pTarget->OnLButtonDblClk(nFlags, pt);
    case 3: return pTarget->OnMButtonDown(nFlags, pt);
    case 4: return pTarget->OnMButtonUp(nFlags, pt);
    case 5: return pTarget->OnMButtonDblClk(nFlags, pt);
    case 6: return pTarget->OnRButtonDown(nFlags, pt);
    case 7: return pTarget->OnRButtonUp(nFlags, pt);
    default: return pTarget->OnRButtonDblClk(nFlags, pt);
    }
}

BOOL CGXControl::OnMouseMove(UINT nFlags, CPoint pt)
{
    GXCellChild* pChild = GetCapturedChild();
    return pChild != nullptr && pChild->OnMouseMove(nFlags, pt);
}

BOOL CGXControl::OnMouseMoveOver(ROWCOL nRow, ROWCOL nCol, UINT nFlags, CPoint pt)
{
    if (!m_bInit || m_pGrid == nullptr)
        return FALSE;
    if (GetChildCount() > 0)
        LayoutChildren(m_nRow, m_nCol, GetCellRect(m_nRow, m_nCol));
    for (int i = 0; i < GetChildCount(); ++i)
        if (GetChild(i)->HitTest(pt) && GetChild(i)->OnMouseMoveOver(nRow, nCol, nFlags, pt))
            return TRUE;
    return m_pGrid->OnMouseMoveOver(nRow, nCol, nFlags, pt);
}

BOOL CGXControl::OnLButtonDown(UINT nFlags, CPoint pt) { return ChildMouse(this, 0, mkDown, nFlags, pt); }
// A release inside the cell is a click on it for the grid's hooks too.
static BOOL ClickedRowCol(CGXControl* pControl, int nButton, UINT nFlags, CPoint pt)
{
    CGXGridEngine* g = pControl->Grid();
    if (g == nullptr || !pControl->IsInit() || !g->CalcCellRect(pControl->m_nRow, pControl->m_nCol).PtInRect(pt))
        return FALSE;
    const ROWCOL r = pControl->m_nRow, c = pControl->m_nCol;
    return nButton == 0 ? g->OnSelectHeaderWithCtrl(r, c, nFlags, pt)
                        : nButton == 1 ? g->OnMButtonClickedRowCol(r, c, nFlags, pt) : g->OnRButtonClickedRowCol(r, c, nFlags, pt);
}

BOOL CGXControl::OnLButtonUp(UINT nFlags, CPoint pt)
{
    BOOL b = ChildMouse(this, 0, mkUp, nFlags, pt);
    SetCapturedChild(nullptr);
    b |= ClickedRowCol(this, 0, nFlags, pt);
    return b;
}
// A double click no child takes goes to the grid's hook (a header's sorts the grid).
static BOOL DblClkRowCol(CGXControl* pControl, int nButton, UINT nFlags, CPoint pt)
{
    CGXGridEngine* g = pControl->Grid();
    if (g == nullptr || !pControl->IsInit())
        return FALSE;
    const ROWCOL r = pControl->m_nRow, c = pControl->m_nCol;
    return nButton == 0 ? g->OnLButtonDblClkRowCol(r, c, nFlags, pt)
                        : nButton == 1 ? g->OnMButtonDblClkRowCol(r, c, nFlags, pt) : g->OnRButtonDblClkRowCol(r, c, nFlags, pt);
}

BOOL CGXControl::OnLButtonDblClk(UINT nFlags, CPoint pt)
{
    return ChildMouse(this, 0, mkDbl, nFlags, pt) || DblClkRowCol(this, 0, nFlags, pt);
}
BOOL CGXControl::OnMButtonDown(UINT nFlags, CPoint pt) { return ChildMouse(this, 1, mkDown, nFlags, pt); }
BOOL CGXControl::OnMButtonUp(UINT nFlags, CPoint pt)
{
    return ChildMouse(this, 1, mkUp, nFlags, pt) | ClickedRowCol(this, 1, nFlags, pt);
}
BOOL CGXControl::OnMButtonDblClk(UINT nFlags, CPoint pt)
{
    return ChildMouse(this, 1, mkDbl, nFlags, pt) || DblClkRowCol(this, 1, nFlags, pt);
}
BOOL CGXControl::OnRButtonDown(UINT nFlags, CPoint pt) { return ChildMouse(this, 2, mkDown, nFlags, pt); }
BOOL CGXControl::OnRButtonUp(UINT nFlags, CPoint pt)
{
    return ChildMouse(this, 2, mkUp, nFlags, pt) | ClickedRowCol(this, 2, nFlags, pt);
}
BOOL CGXControl::OnRButtonDblClk(UINT nFlags, CPoint pt)
{
    return ChildMouse(this, 2, mkDbl, nFlags, pt) || DblClkRowCol(this, 2, nFlags, pt);
}
BOOL CGXControl::OnMouseActivate(CWnd*, UINT, UINT, int&) { return FALSE; }
BOOL CGXControl::OnReserved(LPARAM) { return FALSE; }

BOOL CGXControl::HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (GXCellChild* pChild = GetCapturedChild())
        if (pChild->OnKey(nMessage, nChar, nRepCnt, nFlags))
            return TRUE;
    switch (nMessage) {
    case WM_KEYDOWN: return OnGridKeyDown(nChar, nRepCnt, nFlags);
    case WM_KEYUP: return OnGridKeyUp(nChar, nRepCnt, nFlags);
    case WM_CHAR: {
        CString text;
        const BOOL wasPending = m_bDBCSPending;
        if (GXCombineDBCSChar(nChar, text, m_bDBCSPending, m_chDBCSLead)) {
            if (!wasPending)
                return TRUE;   // a lead byte: wait for its trail byte
            return OnGridDoubleByteChar(text, nRepCnt, nFlags);
        }
        return OnGridChar(nChar, nRepCnt, nFlags);
    }
    case WM_DEADCHAR: return OnGridDeadChar(nChar, nRepCnt, nFlags);
    case WM_SYSKEYDOWN: return OnGridSysKeyDown(nChar, nRepCnt, nFlags);
    case WM_SYSKEYUP: return OnGridSysKeyUp(nChar, nRepCnt, nFlags);
    case WM_SYSCHAR: return OnGridSysChar(nChar, nRepCnt, nFlags);
    case WM_SYSDEADCHAR: return OnGridSysDeadChar(nChar, nRepCnt, nFlags);
    default: return FALSE;
    }
}

BOOL CGXControl::OnGridKeyDown(UINT, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridKeyUp(UINT, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridChar(UINT, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridDoubleByteChar(const CString&, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridDeadChar(UINT, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridSysKeyDown(UINT, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridSysKeyUp(UINT, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridSysChar(UINT, UINT, UINT) { return FALSE; }
BOOL CGXControl::OnGridSysDeadChar(UINT, UINT, UINT) { return FALSE; }

BOOL CGXControl::Copy()
{
    if (IsActive()) {
        CString text;
        GetSelectedText(text);
        // An empty text leaves the user's clipboard as it is.
        if (text.IsEmpty())
            return FALSE;
        const HWND hGrid = m_pGrid->GetGridHwnd();
        if (!::OpenClipboard(hGrid))
            return FALSE;
        BOOL ok = FALSE;
        const SIZE_T size = static_cast<SIZE_T>(text.GetLength()) + 1;
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, (size + 4095) / 4096 * 4096);
        if (h != nullptr) {
            if (void* p = ::GlobalLock(h)) {
                std::memcpy(p, static_cast<LPCSTR>(text), size);
                ::GlobalUnlock(h);
                // Emptied only now: no stale block of another format stays beside the new text.
                ::EmptyClipboard();
                ok = ::SetClipboardData(CF_TEXT, h) != nullptr;
            }
            if (!ok)
                ::GlobalFree(h);
        }
        ::CloseClipboard();
        return ok;
    }
    // Not editing: the engine copies this one cell (its own Copy asks the control first).
    if (m_bInit && m_pGrid->IsCurrentCellAt(m_nRow, m_nCol)) {
        m_pGrid->CopyCellRange(CGXRange(m_nRow, m_nCol));
        return TRUE;
    }
    return FALSE;
}

BOOL CGXControl::Cut()
{
    if (IsActive()) {
        if (IsReadOnly() || !Copy())
            return FALSE;
        ReplaceSel("");
        return TRUE;
    }
    if (m_bInit && m_pGrid->IsCurrentCellAt(m_nRow, m_nCol) && !IsReadOnly()) {
        m_pGrid->CutCellRange(CGXRange(m_nRow, m_nCol), (m_pGrid->m_nClipboardFlags & GX_CLIP_STYLES) != 0);
        return TRUE;
    }
    return FALSE;
}

BOOL CGXControl::CanCopy() { return m_bInit; }
BOOL CGXControl::CanCut() { return m_bInit && !IsReadOnly() && !(GetStyle().GetIncludeReadOnly() && GetStyle().GetReadOnly()); }

BOOL CGXControl::CanPaste()
{
    const UINT cf = GXGetAppState()->m_cfGridStyles;
    CGXGridParam* param = m_pGrid->GetParam();
    if (cf != 0 && ::IsClipboardFormatAvailable(cf) && param != nullptr && param->m_bPasteStyles)
        return FALSE;
    if (!m_bInit || !IsActive() || IsReadOnly() || (GetStyle().GetIncludeReadOnly() && GetStyle().GetReadOnly()))
        return FALSE;
    return ::IsClipboardFormatAvailable(CF_TEXT) || ::IsClipboardFormatAvailable(CF_OEMTEXT);
}

BOOL CGXControl::Paste()
{
    if (!CanPaste())
        return FALSE;
    const HWND hOwner = ::GetOpenClipboardWindow();
    DWORD pid = 0;
    if (hOwner != nullptr)
        ::GetWindowThreadProcessId(hOwner, &pid);
    // Opened by another window of this program: that window keeps it open for us.
    const BOOL bOpen = hOwner == nullptr || pid != ::GetCurrentProcessId();
    if (bOpen && !::OpenClipboard(m_pGrid->GetGridHwnd()))
        return FALSE;
    HANDLE h = ::GetClipboardData(CF_TEXT);
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
    if (bOpen)
        ::CloseClipboard();
    return ok;
}
void CGXControl::GetCopyText(ROWCOL, ROWCOL, const CGXStyle& style, CString& sResult) { sResult = style.GetValue(); }
BOOL CGXControl::FindText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol, BOOL, BOOL bSetCell)
{
    if (find.strFind.IsEmpty() || m_pGrid == nullptr)
        return FALSE;
    CString text;
    if (IsActiveAt(nRow, nCol) && m_pGrid->IsCurrentCellAt(nRow, nCol)) {
        GetDisplayText(text, nRow, nCol, nullptr, &GetStyle());
    } else {
        CGXStyle* pStyle = m_pGrid->CreateStyle();
        m_pGrid->ComposeCellStyle(nRow, nCol, *pStyle);
        GetDisplayText(text, nRow, nCol, nullptr, pStyle);
        m_pGrid->RecycleStyle(pStyle);
    }
    CString what = find.strFind;
    if (!find.bMatchCase) {
        text.MakeUpper();
        what.MakeUpper();
    }
    if (text.Find(what) < 0)
        return FALSE;
    if (bSetCell)
        m_pGrid->PlaceCurrentCell(nRow, nCol, 10);
    return TRUE;
}

void CGXControl::ReplaceSel(LPCSTR lpszNewText)
{
    if (!m_bInit || !m_pGrid->IsCurrentCellAt(m_nRow, m_nCol))
        return;
    // Not being edited: the replacement takes the place of the found text only.
    const FindReplaceState* pFind = GXGetFindReplaceState();
    CString value;
    GetValue(value);
    if (pFind != nullptr && !pFind->strFind.IsEmpty()) {
        CString hay = value, what = pFind->strFind;
        if (!pFind->bMatchCase) {
            hay.MakeUpper();
            what.MakeUpper();
        }
        const int at = hay.Find(what);
        if (at >= 0)
            value = value.Left(at) + lpszNewText + value.Mid(at + what.GetLength());
        else
            value = lpszNewText;
    } else {
        value = lpszNewText;
    }
    SetCellText(m_nRow, m_nCol, value, GX_UPDATENOW, nullptr);
}

BOOL CGXControl::ReplaceText(const FindReplaceState& find, ROWCOL nRow, ROWCOL nCol)
{
    if (find.strFind.IsEmpty() || m_pGrid == nullptr)
        return FALSE;
    CGXStyle* pStyle = m_pGrid->CreateStyle();
    m_pGrid->ComposeCellStyle(nRow, nCol, *pStyle);
    CString text;
    GetDisplayText(text, nRow, nCol, nullptr, pStyle);
    BOOL ok = FALSE;
    if (GXReplaceAllText(text, find.strFind, find.strReplace, find.bMatchCase) > 0)
        ok = SetCellText(nRow, nCol, text, GX_UPDATENOW, pStyle);
    m_pGrid->RecycleStyle(pStyle);
    return ok;
}

BOOL CGXControl::GetSelectedText(CString& sWindowText)
{
    GetValue(sWindowText);
    return FALSE;
}

BOOL CGXControl::OnCommand(WPARAM, LPARAM) { return FALSE; }
void CGXControl::OnClickedButton(GXCellChild*)
{
    if (m_bInit && m_pGrid != nullptr)
        m_pGrid->OnClickedButtonRowCol(m_nRow, m_nCol);
}

void CGXControl::OnGridScroll(UINT nMessage)
{
    if ((nMessage != WM_HSCROLL && nMessage != WM_VSCROLL) || !IsActive() || m_pGrid == nullptr)
        return;
    CGXRange range(m_nRow, m_nCol);
    m_pGrid->GetCoveredCellsRowCol(m_nRow, m_nCol, range);
    const ROWCOL fc = m_pGrid->GetFrozenCols(), fr = m_pGrid->GetFrozenRows();
    const BOOL straddles = (range.left <= fc && range.right > fc) || (range.top <= fr && range.bottom > fr);
    if (!straddles)
        return;
    // Part of the cell scrolls away under the frozen part: store, unless the value is refused,
    // which keeps the control active with its text.
    if (GetModify()) {
        if (!OnValidate() || (Store() & 1) == 0) {
            m_pGrid->ShowWarningText();
            return;
        }
    }
    SetActive(FALSE);
    Invalidate();
}

CBrush* CGXControl::OnGridCtlColor(CDC*, CWnd*, UINT) { return nullptr; }
void CGXControl::OnGridWinIniChange(LPCSTR lpszSection)
{
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->OnGridWinIniChange(lpszSection);
}
void CGXControl::OnGridSysColorChange()
{
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->OnGridSysColorChange();
}

BOOL CGXControl::IsReadOnly()
{
    CGXGridParam* param = m_pGrid->GetParam();
    if (param == nullptr || !param->m_bLockStructureReadOnly)
        return FALSE;
    if (m_pGrid->IsReadOnly())
        return TRUE;
    const CGXStyle& style = GetStyle();
    return style.GetIncludeReadOnly() && style.GetReadOnly();
}

// ---------------------------------------------------------------------------
// Children

void CGXControl::AppendChild(GXCellChild* pChild)
{
    if (m_pChildren == nullptr)
        m_pChildren = new CPtrList(10);
    m_pChildren->AddTail(pChild);
}

GXCellChild* CGXControl::GetChild(int nIndex)
{
    if (m_pChildren == nullptr)
        return nullptr;
    POSITION pos = m_pChildren->FindIndex(nIndex);
    return pos != nullptr ? static_cast<GXCellChild*>(m_pChildren->GetAt(pos)) : nullptr;
}

int CGXControl::GetChildCount() { return m_pChildren != nullptr ? m_pChildren->GetCount() : 0; }
GXCellChild* CGXControl::GetCapturedChild() { return m_pCapturedChild; }
void CGXControl::SetCapturedChild(GXCellChild* pChild) { m_pCapturedChild = pChild; }
void CGXControl::LayoutChildren(ROWCOL, ROWCOL, const CRect&) {}
void CGXControl::DrawBackground(CDC* pDC, const CRect& rect, const CGXStyle& style, BOOL bErase)
{
    if (pDC == nullptr)
        return;
    CGXGridParam* param = m_pGrid != nullptr ? m_pGrid->GetParam() : nullptr;
    const BOOL bPainted = param == nullptr || param->m_bAreaBackground || !m_pGrid->IsCellBackgroundToDraw();
    if (bErase || !bPainted) {
        const BOOL bw = m_pGrid != nullptr && m_pGrid->IsPrinting() && param != nullptr &&
                        param->GetProperties() != nullptr && param->GetProperties()->GetBlackWhite();
        GXBrushRecord br = style.GetInterior();
        if (br.lbStyle == BS_HOLLOW) {
            FillRectColorOpaque(pDC, rect, bw ? RGB(255, 255, 255) : GetBrushBkColor(br.lbBkColor));
        } else if (m_pGrid != nullptr) {
            if (bw) {
                if (br.lbColor != 0)
                    br.lbColor = RGB(255, 255, 255);
                else
                    br.lbBkColor = RGB(255, 255, 255);
            }
            m_pGrid->FillRectWithBrush(pDC, rect, br);
        } else {
            FillRectColorOpaque(pDC, rect, GetBrushBkColor(br.lbColor));
        }
    }
    Draw3dFrame(pDC, rect, style);
}

void CGXControl::Draw3dFrame(CDC* pDC, const CRect& rect, const CGXStyle& style)
{
    const CGXGridParam* param = m_pGrid != nullptr ? m_pGrid->GetParam() : nullptr;
    const BOOL bw = param != nullptr && param->GetProperties() != nullptr && param->GetProperties()->GetBlackWhite();
    if (pDC == nullptr || bw || !style.GetIncludeDraw3dFrame())
        return;
    const int kind = style.GetDraw3dFrame();
    if (kind != 1 && kind != 2)
        return;
    CRect r = m_pGrid != nullptr ? m_pGrid->SubtractBorders(rect, style) : rect;
    r.left -= 1;
    r.top -= 1;
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = RGB(0, 0, 0);
    GXDraw3dFrame(pDC, r.left, r.top, r.right - 1, r.bottom - 1, 1, kind == 1 ? light : dark, kind == 1 ? dark : light);
}
BOOL CGXControl::ValidateString(const CString&) { return TRUE; }
void CGXControl::OnInvalidKeyPressed(LPCSTR) {}
UINT CGXControl::GetCellDrawState(ROWCOL nRow, ROWCOL nCol, const CGXStyle&)
{
    if (m_pGrid == nullptr || m_pGrid->GetParam() == nullptr)
        return 0;
    UINT state = 0;
    if (m_pGrid->IsCellInRangeList(nRow, nCol, &m_pGrid->GetParam()->m_selRanges))
        state |= 1;
    if ((state & 1) && m_pGrid->IsCurrentCellAt(nRow, nCol))
        state |= 2;
    return state;
}

void CGXControl::NotifyKillFocus(CWnd* pNewWnd)
{
    CWnd* pGrid = GetGridWindow();
    if (pNewWnd == nullptr || pGrid == nullptr || pNewWnd == pGrid || m_pGrid->m_bSettingFocus)
        return;
    pGrid->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(pNewWnd->GetSafeHwnd()), 0);
}

void CGXControl::CancelChildPresses()
{
    SetCapturedChild(nullptr);
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->CancelPress();
}

void CGXControl::AddInvalidRect(const CRect& rect)
{
    if (m_pGrid != nullptr)
        m_pGrid->m_controlInvalidRects.Add(rect);
}

COLORREF CGXControl::GetStyleTextColor(const CGXStyle& style) { return ResolveSysColor(style.GetTextColor()); }
COLORREF CGXControl::GetBrushBkColor(COLORREF color) { return ResolveSysColor(color); }

BOOL CGXControl::HasBorder(const CGXStyle& style, int nSide)
{
    return style.GetIncludeBorders() && style.HasBorder(nSide);
}

void CGXControl::RegisterUserAttributes(CGXStylesMap* pStylesMap)
{
    if (pStylesMap == nullptr)
        return;
    CGXStyle wrap;
    wrap.SetWrapText(TRUE);
    pStylesMap->AddUserAttribute(GX_IDS_UA_VALID_MSG, &wrap);
    CGXStyle spin;
    spin.SetControl(GX_IDS_CTRL_SPINEDIT).SetWrapText(FALSE);
    pStylesMap->AddUserAttribute(GX_IDS_UA_VALID_MAX, &spin);
    pStylesMap->AddUserAttribute(GX_IDS_UA_VALID_MIN, &spin);
}

// ---------------------------------------------------------------------------
// The factory interface's defaults: no controls, the grid's window class.

CGXControl* CGXAbstractControlFactory::CreateControl(UINT, CGXGridEngine*) { return nullptr; }
void CGXAbstractControlFactory::RegisterAllControls(CGXStylesMap*) {}
void CGXAbstractControlFactory::RegisterUserAttributes(CGXStylesMap* pStylesMap)
{
    CGXControl::RegisterUserAttributes(pStylesMap);
}
void CGXAbstractControlFactory::RegisterWindowClasses(HINSTANCE hInstance)
{
    CGXGridWnd::RegisterClass(hInstance);
    CGXTabBeam::RegisterClass(hInstance);
    CGXTabWnd::RegisterClass(hInstance);
}
void CGXAbstractControlFactory::UnregisterWindowClasses(HINSTANCE hInstance)
{
    ::UnregisterClassA("CGXGridWnd", hInstance);
    ::UnregisterClassA("CGXTabBeam", hInstance);
    ::UnregisterClassA("CGXTabWnd", hInstance);
}

// ---------------------------------------------------------------------------
// Cell children: the defaults (nothing handled)

BOOL GXCellChild::HasFocus() { return m_pControl != nullptr && m_pControl->GetCapturedChild() == this; }

void GXCellChild::Refresh()
{
    CWnd* pGrid = m_pControl != nullptr ? m_pControl->GetGridWindow() : nullptr;
    if (pGrid != nullptr && pGrid->GetSafeHwnd() != nullptr)
        ::InvalidateRect(pGrid->GetSafeHwnd(), &m_rect, TRUE);
}

BOOL GXCellChild::OnMouseMove(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnLButtonDown(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnLButtonUp(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnLButtonDblClk(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnMButtonDown(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnMButtonUp(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnMButtonDblClk(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnRButtonDown(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnRButtonUp(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnRButtonDblClk(UINT, CPoint) { return FALSE; }
BOOL GXCellChild::OnMouseMoveOver(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }

BOOL GXCellChild::OnKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nMessage) {
    case WM_KEYDOWN: return OnKeyDown(nChar, nRepCnt, nFlags);
    case WM_KEYUP: return OnKeyUp(nChar, nRepCnt, nFlags);
    case WM_CHAR: {
        CString text;
        const BOOL wasPending = m_bDBCSPending;
        if (CGXControl::GXCombineDBCSChar(nChar, text, m_bDBCSPending, m_chDBCSLead))
            return wasPending ? OnDoubleByteChar(text, nRepCnt, nFlags) : TRUE;
        return OnChar(nChar, nRepCnt, nFlags);
    }
    case WM_DEADCHAR: return OnDeadChar(nChar, nRepCnt, nFlags);
    case WM_SYSKEYDOWN: return OnSysKeyDown(nChar, nRepCnt, nFlags);
    case WM_SYSKEYUP: return OnSysKeyUp(nChar, nRepCnt, nFlags);
    case WM_SYSCHAR: return OnSysChar(nChar, nRepCnt, nFlags);
    case WM_SYSDEADCHAR: return OnSysDeadChar(nChar, nRepCnt, nFlags);
    default: return FALSE;
    }
}

BOOL GXCellChild::OnKeyDown(UINT, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnKeyUp(UINT, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnChar(UINT, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnDoubleByteChar(const CString&, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnDeadChar(UINT, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnSysKeyDown(UINT, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnSysKeyUp(UINT, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnSysChar(UINT, UINT, UINT) { return FALSE; }
BOOL GXCellChild::OnSysDeadChar(UINT, UINT, UINT) { return FALSE; }
void GXCellChild::OnGridWinIniChange(LPCSTR) {}
void GXCellChild::OnGridSysColorChange() {}
