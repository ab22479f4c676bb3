#include "gxctrli.h"
#include "afxwin.h"
#include "gxengine.h"
#include "gxprop.h"
#include "gxstyle.h"

GX_IMPLEMENT_CONTROL(CGXStatic, CGXControl)

int CGXStatic::TextMargin()
{
    const int m = ::GetSystemMetrics(SM_CXFRAME) / 2;
    return m >= 3 ? m : 2;
}

CRect CGXStatic::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    CRect r = CGXControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    if (pStyle == nullptr && m_bInit && m_pGrid != nullptr)
        pStyle = &GetStyle();
    const int m = TextMargin();
    r.left += m;
    // Right-aligned text keeps clear of the cell's right line; other text may come closer.
    r.right -= (pStyle != nullptr && pStyle->GetHorizontalAlignment() == DT_RIGHT) ? m + 1 : m / 2;
    return r;
}

CSize CGXStatic::AddBorders(CSize size, const CGXStyle& style)
{
    size.cx += 2 * TextMargin() + 1;
    return m_pGrid != nullptr ? m_pGrid->AddBorders(size, style) : size;
}

BOOL CGXStatic::CanFloatCell(ROWCOL, ROWCOL, const CGXStyle& style, BOOL bFloatCell)
{
    return bFloatCell ? !style.GetValue().IsEmpty() : style.GetValue().IsEmpty();
}

void CGXStatic::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                     const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    DrawBackground(pDC, rect, style, FALSE);
    CString text;
    GetDisplayText(text, nRow, nCol, nullptr, &style);
    if (text.IsEmpty() || rect.Width() < 2 || rect.Height() < 2) {
        CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
        return;
    }
    CFont* pOldFont = m_pGrid != nullptr ? m_pGrid->SelectStyleFont(pDC, style) : nullptr;
    CRect inner = GetCellRect(nRow, nCol, rect, &style);
    // Printing in black and white: black text whatever the style says.
    const BOOL bBlackWhite = m_pGrid != nullptr && m_pGrid->GetParam() != nullptr &&
                             m_pGrid->GetParam()->GetProperties() != nullptr &&
                             m_pGrid->GetParam()->GetProperties()->GetBlackWhite();
    const COLORREF oldText = pDC->SetTextColor(bBlackWhite ? RGB(0, 0, 0) : style.GetTextColor());
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    UINT format = static_cast<UINT>(style.GetHorizontalAlignment() | style.GetVerticalAlignment()) | DT_NOPREFIX;
    format |= style.GetWrapText() ? DT_WORDBREAK : DT_SINGLELINE;
    pDC->DrawText(text, text.GetLength(), &inner, format);
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldText);
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
}
