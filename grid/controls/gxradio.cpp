#include "afxwin.h"
#include "gxctllogic.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxutil.h"

GX_IMPLEMENT_CONTROL(CGXRadioButton, CGXControl)

namespace {
// The 3D buttons, loaded once for the whole program on first use.
CBitmap* RadioBitmap()
{
    static CBitmap* s_pBitmap = nullptr;
    static bool s_bTried = false;
    if (!s_bTried) {
        s_bTried = true;
        CBitmap* p = new CBitmap;
        if (p->LoadBitmap(GX_IDB_RADIOBTN_3D))
            s_pBitmap = p;
        else
            delete p;
    }
    return s_pBitmap;
}

// The rows of one line and the part of them a click chooses it in: the button and the text.
CRect LineHitRect(CDC* pDC, const CRect& rect, int nTop, int nLineHeight, const CString& sLine)
{
    CRect measured(rect.left + 18, nTop, rect.right, nTop + nLineHeight);
    pDC->DrawText(sLine, sLine.GetLength(), &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return CRect(rect.left, nTop, measured.right > rect.left + 18 ? measured.right : rect.left + 18, nTop + nLineHeight);
}

int LineHeight(CDC* pDC)
{
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    return tm.tmHeight + tm.tmExternalLeading > 12 ? tm.tmHeight + tm.tmExternalLeading : 12;
}
} // namespace

void CGXRadioButton::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                          const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const BOOL bPrinting = m_pGrid != nullptr && m_pGrid->IsPrinting();
    DrawBackground(pDC, rect, style, FALSE);
    const int saved = GXBeginCellText(m_pGrid, pDC, style, bPrinting ? RGB(0, 0, 0) : style.GetTextColor());
    const int lineHeight = LineHeight(pDC);
    const CString value = style.GetValue();
    const long chosen = value.IsEmpty() ? -1 : GXParseClampedLong(value);
    pDC->IntersectClipRect(&rect);
    // Clicks are answered in the control's own cell: other cells drawn meanwhile leave its lines alone.
    const bool ownCell = IsActiveAt(nRow, nCol) || !m_bInit;
    if (ownCell)
        m_lineRects.clear();

    CString choices = style.GetIncludeChoiceList() ? style.GetChoiceList() : CString();
    LPCSTR p = choices;
    CString line;
    int i = 0;
    while (GXGetNextChoiceLine(p, line)) {
        if (line.IsEmpty())
            continue;
        const int top = rect.top + i * lineHeight;
        const int x = rect.left + 3, y = top + (lineHeight - 12) / 2;
        CBitmap* bitmap = m_bDraw3d ? RadioBitmap() : nullptr;
        if (bitmap != nullptr) {
            CDC memDC;
            memDC.CreateCompatibleDC(pDC);
            CBitmap* old = memDC.SelectObject(bitmap);
            pDC->BitBlt(x, y, 14, 13, &memDC, i == chosen ? 14 : 0, 13, SRCCOPY);
            memDC.SelectObject(old);
        } else {
            CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
            CBrush white(RGB(255, 255, 255)), black(RGB(0, 0, 0));
            CPen* oldPen = pDC->SelectObject(&pen);
            CBrush* oldBrush = pDC->SelectObject(&white);
            pDC->Ellipse(x, y, x + 12, y + 12);
            if (i == chosen) {
                pDC->SelectObject(&black);
                pDC->Ellipse(rect.left + 5, y + 2, rect.left + 13, y + 10);
            }
            pDC->SelectObject(oldBrush);
            pDC->SelectObject(oldPen);
        }
        CRect text(rect.left + 18, top, rect.right, top + lineHeight);
        pDC->DrawText(line, line.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
        if (ownCell)
            m_lineRects.push_back(LineHitRect(pDC, rect, top, lineHeight, line));
        ++i;
    }
    m_nCount = i;
    pDC->RestoreDC(saved);
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}

int CGXRadioButton::HitTest(CPoint pt) const
{
    for (size_t i = 0; i < m_lineRects.size(); ++i)
        if (m_lineRects[i].PtInRect(pt))
            return static_cast<int>(i);
    return -1;
}

void CGXRadioButton::PlaceLines()
{
    // Without a grid window the lines stay where they were drawn last in the control's cell.
    int saved = 0;
    CDC* pDC = GXBeginOwnCellMeasure(this, saved);
    if (pDC == nullptr)
        return;
    const int lineHeight = LineHeight(pDC);
    const CGXStyle& style = GetStyle();
    const CRect rect = m_pGrid->CalcCellRect(m_nRow, m_nCol);
    m_lineRects.clear();
    const CString choices = style.GetIncludeChoiceList() ? style.GetChoiceList() : CString();
    LPCSTR p = choices;
    CString line;
    while (GXGetNextChoiceLine(p, line))
        if (!line.IsEmpty())
            m_lineRects.push_back(LineHitRect(pDC, rect, rect.top + static_cast<int>(m_lineRects.size()) * lineHeight,
                                              lineHeight, line));
    pDC->RestoreDC(saved);
}

void CGXRadioButton::Choose(int nIndex)
{
    CString value;
    value.Format("%d", nIndex);
    m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol), value);
    FreeStyle();
}

BOOL CGXRadioButton::OnLButtonUp(UINT nFlags, CPoint pt)
{
    if (CGXControl::OnLButtonUp(nFlags, pt))
        return TRUE;
    if (!m_bInit || m_pGrid == nullptr || IsReadOnly())
        return TRUE;
    PlaceLines();
    const int hit = HitTest(pt);
    if (hit < 0)
        return TRUE;
    const CString value = GetStyle().GetValue();
    const long chosen = value.IsEmpty() ? -1 : GXParseClampedLong(value);
    if (hit != chosen && OnStartEditing())
        Choose(hit);
    CGXControl::OnClickedButton(nullptr);
    return TRUE;
}

BOOL CGXRadioButton::HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL handled = CGXControl::HandleGridKey(nMessage, nChar, nRepCnt, nFlags);
    if (nMessage != WM_CHAR || nChar != ' ' || !m_bInit || m_pGrid == nullptr || IsReadOnly())
        return handled;
    // This cell's own choices, counted now: the count of the last drawn cell may be another's.
    const CGXStyle& style = GetStyle();
    const int next = GXRadioNextChoice(style.GetValue(), GXRadioChoiceCount(style.GetChoiceList()));
    if (next >= 0 && OnStartEditing())
        Choose(next);
    return TRUE;
}
