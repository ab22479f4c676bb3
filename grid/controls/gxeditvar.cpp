// The edit variants: password, scroll, hot-spot and spin edits.
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxutil.h"

IMPLEMENT_DYNAMIC(CGXPasswordControl, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGXPasswordControl, CGXEditControl)
IMPLEMENT_DYNAMIC(CGXVScrollEdit, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGXVScrollEdit, CGXEditControl)
IMPLEMENT_DYNAMIC(CGXHotSpotEdit, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGXHotSpotEdit, CGXEditControl)
IMPLEMENT_DYNAMIC(CGXSpinEdit, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGXSpinEdit, CGXEditControl)

// ---------------------------------------------------------------------------
// Password

CGXPasswordControl::CGXPasswordControl(CGXGridEngine* pGrid, UINT nID) : CGXEditControl(pGrid, nID) { m_dwFlags = 1; }

BOOL CGXPasswordControl::GetDisplayText(CString& strResult, ROWCOL nRow, ROWCOL nCol, LPCSTR lpszValue,
                                        const CGXStyle* pStyle)
{
    const BOOL ok = CGXEditControl::GetDisplayText(strResult, nRow, nCol, lpszValue, pStyle);
    if (ok && m_bHideText)
        strResult = CString(m_chPassword, strResult.GetLength());
    return ok;
}

void CGXPasswordControl::SetValue(LPCSTR lpszValue)
{
    m_bHideText = FALSE;
    CGXEditControl::SetValue(lpszValue);
    m_bHideText = TRUE;
    if (GetSafeHwnd() != nullptr)
        SetPasswordChar(m_chPassword);
}

void CGXPasswordControl::GetCopyText(ROWCOL, ROWCOL, const CGXStyle& style, CString& sResult)
{
    sResult = CString(m_chPassword, style.GetValue().GetLength());
}

DWORD CGXPasswordControl::CalcEditStyle(CRect& rect, int& nHeight)
{
    return (CGXEditControl::CalcEditStyle(rect, nHeight) & ~static_cast<DWORD>(ES_MULTILINE | ES_WANTRETURN)) |
           ES_PASSWORD | ES_AUTOHSCROLL;
}

LRESULT CGXPasswordControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The edit's own copy and cut would put the text on the clipboard.
    if (message == WM_COPY || message == WM_CUT)
        return 0;
    return CGXEditControl::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Vertical scroll bar

DWORD CGXVScrollEdit::CalcEditStyle(CRect& rect, int& nHeight)
{
    m_bVertScroll = TRUE;
    return CGXEditControl::CalcEditStyle(rect, nHeight);
}

// ---------------------------------------------------------------------------
// Hot spot

namespace {
const int kHotSpotWidth = 13;
const int kSpinWidth = 14;
} // namespace

CGXHotSpotEdit::CGXHotSpotEdit(CGXGridEngine* pGrid, UINT nID) : CGXEditControl(pGrid, nID)
{
    m_pHotSpot = new CGXHotSpotButton(this);
    AppendChild(m_pHotSpot);
}

void CGXHotSpotEdit::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXEditControl::Init(nRow, nCol);
    m_pHotSpot->Refresh();
}

CRect CGXHotSpotEdit::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    CRect r = CGXEditControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    r.right -= kHotSpotWidth;
    return r;
}

CSize CGXHotSpotEdit::AddBorders(CSize size, const CGXStyle& style)
{
    return CGXEditControl::AddBorders(CSize(size.cx + kHotSpotWidth, size.cy), style);
}

void CGXHotSpotEdit::LayoutChildren(ROWCOL, ROWCOL, const CRect& rectInner)
{
    // The text rectangle stops short of the button; the button takes that room.
    CRect cell = rectInner;
    cell.right += kHotSpotWidth;
    CRect b(cell.right - 14, cell.top, cell.right - 1, cell.top + 13);
    b.IntersectRect(&b, &cell);
    if (b.Height() < cell.Height() - 1)
        b.OffsetRect(0, 1);
    m_pHotSpot->SetRect(b);
}

// ---------------------------------------------------------------------------
// Spin

CGXSpinEdit::CGXSpinEdit(CGXGridEngine* pGrid, UINT nID) : CGXEditControl(pGrid, nID)
{
    m_pUpArrow = new CGXSpinUpButton(this);
    AppendChild(m_pUpArrow);
    m_pDownArrow = new CGXSpinDownButton(this);
    AppendChild(m_pDownArrow);
}

void CGXSpinEdit::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXEditControl::Init(nRow, nCol);
    m_pUpArrow->Refresh();
    m_pDownArrow->Refresh();
    GetStyle();
}

CRect CGXSpinEdit::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    CRect r = CGXEditControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    r.right -= kSpinWidth;
    return r;
}

CSize CGXSpinEdit::AddBorders(CSize size, const CGXStyle& style)
{
    return CGXEditControl::AddBorders(CSize(size.cx + kSpinWidth, size.cy), style);
}

void CGXSpinEdit::LayoutChildren(ROWCOL, ROWCOL, const CRect& rectInner)
{
    CRect cell = rectInner;
    cell.right += kSpinWidth;
    CRect area(cell.right - 15, cell.top + 1, cell.right - 1, cell.bottom - 1);
    area.IntersectRect(&area, &cell);
    const int mid = area.top + area.Height() / 2;
    m_pUpArrow->SetRect(CRect(area.left, area.top, area.right, mid));
    m_pDownArrow->SetRect(CRect(area.left, mid, area.right, area.bottom));
}

GXSpinBounds CGXSpinEdit::ReadBounds()
{
    GXSpinBounds b;
    if (!m_bInit)
        return b;
    const CGXStyle& style = GetStyle();
    CString s;
    if (style.LookupUserAttribute(GX_IDS_UA_SPINBOUND_WRAP, s))
        b.bWrap = GXParseClampedLong(s) != 0;
    if (style.LookupUserAttribute(GX_IDS_UA_SPINBOUND_MIN, s) && !s.IsEmpty()) {
        b.bHasMin = TRUE;
        b.nMin = GXParseClampedLong(s);
    }
    if (style.LookupUserAttribute(GX_IDS_UA_SPINBOUND_MAX, s) && !s.IsEmpty()) {
        b.bHasMax = TRUE;
        b.nMax = GXParseClampedLong(s);
    }
    if (style.LookupUserAttribute(GX_IDS_UA_SPINSTART, s) && !s.IsEmpty()) {
        b.bHasStart = TRUE;
        b.nStart = GXParseClampedLong(s);
    }
    return b;
}

BOOL CGXSpinEdit::OnLButtonDown(UINT nFlags, CPoint pt)
{
    m_bounds = ReadBounds();
    return CGXControl::OnLButtonDown(nFlags, pt);
}

void CGXSpinEdit::OnClickedButton(GXCellChild* pChild)
{
    if (!m_bInit || GetSafeHwnd() == nullptr)
        return;
    const BOOL wasActive = m_bActive;
    if (!m_bActive) {
        if (!OnStartEditing())
            return;
        SetActive(TRUE);
    }
    if (!IsReadOnly()) {
        // The bounds as the cell says now, also for a click that came without a press here.
        m_bounds = ReadBounds();
        CString text;
        text.Format("%ld", GXSpinStep(GetEditText(), pChild == m_pUpArrow, m_bounds));
        SetEditText(text);
        SetModify(TRUE);
        OnModifyCell();
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
    }
    if (wasActive)
        UpdateCaret();
    else
        Invalidate();
    CGXControl::OnClickedButton(pChild);
}
