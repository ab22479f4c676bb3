#include "gxcontrol.h"
#include "gxengine.h"
#include "gxwnd.h"
#include "gxresrc.h"
#include "gxstymap.h"
#include "gxutil.h"
#include <cstdlib>
#include <cstring>

const GXControlClass CGXControl::classRecordCGXControl = {"CGXControl", nullptr};

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
}

void CGXControl::Reset()
{
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

BOOL CGXControl::OnStartEditing() { return m_bInit && m_pGrid->OnStartEditing(m_nRow, m_nCol); }

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

CRect CGXControl::GetCellRect(ROWCOL, ROWCOL, LPRECT rectItem, const CGXStyle*)
{
    return rectItem != nullptr ? CRect(rectItem) : CRect();
}

CSize CGXControl::AddBorders(CSize size, const CGXStyle&) { return size; }
CSize CGXControl::CalcSize(CDC*, ROWCOL, ROWCOL, const CGXStyle&, const CGXStyle*, BOOL) { return CSize(0, 0); }
BOOL CGXControl::CanFloatCell(ROWCOL, ROWCOL, const CGXStyle&, BOOL) { return FALSE; }
BOOL CGXControl::CanMergeCell(ROWCOL, ROWCOL, const CGXStyle& style, int) { return !style.GetValue().IsEmpty(); }
void CGXControl::InvertArea(CDC*, const CRect&) {}
void CGXControl::Draw(CDC*, CRect, ROWCOL, ROWCOL, const CGXStyle&, const CGXStyle*) {}

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

BOOL CGXControl::OnMouseMove(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnMouseMoveOver(ROWCOL, ROWCOL, UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnLButtonDown(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnLButtonUp(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnLButtonDblClk(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnMButtonDown(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnMButtonUp(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnMButtonDblClk(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnRButtonDown(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnRButtonUp(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnRButtonDblClk(UINT, CPoint) { return FALSE; }
BOOL CGXControl::OnMouseActivate(CWnd*, UINT, UINT, int&) { return FALSE; }
BOOL CGXControl::OnReserved(LPARAM) { return FALSE; }

BOOL CGXControl::HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
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

BOOL CGXControl::Copy() { return FALSE; }
BOOL CGXControl::Paste() { return FALSE; }
BOOL CGXControl::Cut() { return FALSE; }
BOOL CGXControl::CanCopy() { return m_bInit; }
BOOL CGXControl::CanCut() { return m_bInit && !(GetStyle().GetIncludeReadOnly() && GetStyle().GetReadOnly()); }
BOOL CGXControl::CanPaste() { return FALSE; }
void CGXControl::GetCopyText(ROWCOL, ROWCOL, const CGXStyle& style, CString& sResult) { sResult = style.GetValue(); }
BOOL CGXControl::FindText(const FindReplaceState&, ROWCOL, ROWCOL, BOOL, BOOL) { return FALSE; }

void CGXControl::ReplaceSel(LPCSTR lpszNewText)
{
    if (m_bInit && m_pGrid->IsCurrentCellAt(m_nRow, m_nCol))
        SetCellText(m_nRow, m_nCol, lpszNewText, GX_UPDATENOW, m_pStyle);
}

BOOL CGXControl::ReplaceText(const FindReplaceState&, ROWCOL, ROWCOL) { return FALSE; }

BOOL CGXControl::GetSelectedText(CString& sWindowText)
{
    GetValue(sWindowText);
    return FALSE;
}

void CGXControl::OnClickedButton(GXCellChild*) {}
BOOL CGXControl::OnCommand(WPARAM, LPARAM) { return FALSE; }
void CGXControl::OnGridScroll(UINT) {}
CBrush* CGXControl::OnGridCtlColor(CDC*, CWnd*, UINT) { return nullptr; }
void CGXControl::OnGridWinIniChange(LPCSTR) {}
void CGXControl::OnGridSysColorChange() {}

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
void CGXControl::DrawBackground(CDC*, const CRect&, const CGXStyle&, BOOL) {}
void CGXControl::Draw3dFrame(CDC*, const CRect&, const CGXStyle&) {}
BOOL CGXControl::ValidateString(const CString&) { return TRUE; }
void CGXControl::OnInvalidKeyPressed(LPCSTR) {}
UINT CGXControl::GetCellDrawState(ROWCOL, ROWCOL, const CGXStyle&) { return 0; }

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
void CGXAbstractControlFactory::RegisterWindowClasses(HINSTANCE hInstance) { CGXGridWnd::RegisterClass(hInstance); }
void CGXAbstractControlFactory::UnregisterWindowClasses(HINSTANCE hInstance)
{
    ::UnregisterClassA("CGXGridWnd", hInstance);
}
