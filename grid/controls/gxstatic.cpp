#include "gxctrli.h"
#include "afxwin.h"
#include "gxengine.h"
#include "gxprop.h"
#include "gxstyle.h"
#include "gxutil.h"
#include <algorithm>

GX_IMPLEMENT_CONTROL(CGXStatic, CGXControl)

BOOL GXIsBlackWhite(CGXGridEngine* pGrid)
{
    return pGrid != nullptr && pGrid->GetParam() != nullptr && pGrid->GetParam()->GetProperties() != nullptr &&
           pGrid->GetParam()->GetProperties()->GetBlackWhite();
}

UINT GXCellTextFormat(const CGXStyle& style)
{
    const UINT format = static_cast<UINT>(style.GetHorizontalAlignment() | style.GetVerticalAlignment()) | DT_NOPREFIX;
    return format | (style.GetWrapText() ? DT_WORDBREAK : DT_SINGLELINE);
}

int GXBeginCellText(CGXGridEngine* pGrid, CDC* pDC, const CGXStyle& style, COLORREF clrText)
{
    const int saved = pDC->SaveDC();
    if (pGrid != nullptr)
        pGrid->SelectStyleFont(pDC, style);
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    return saved;
}

CDC* GXBeginOwnCellMeasure(CGXControl* pControl, int& nSaved)
{
    CGXGridEngine* pGrid = pControl->Grid();
    if (!pControl->IsInit() || pGrid == nullptr || pGrid->GetGridHwnd() == nullptr)
        return nullptr;
    CDC* pDC = pGrid->GetFontDC();
    if (pDC == nullptr)
        return nullptr;
    nSaved = pDC->SaveDC();
    pGrid->SelectStyleFont(pDC, pControl->GetStyle());
    return pDC;
}

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
    // Printing in black and white: black text whatever the style says.
    const int saved =
        GXBeginCellText(m_pGrid, pDC, style, GXIsBlackWhite(m_pGrid) ? RGB(0, 0, 0) : style.GetTextColor());
    CRect inner = GetCellRect(nRow, nCol, rect, &style);
    pDC->DrawText(text, text.GetLength(), &inner, GXCellTextFormat(style));
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
    pDC->RestoreDC(saved);
}

CSize CGXStatic::CalcSize(CDC* pDC, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, const CGXStyle*, BOOL bHeight)
{
    if (pDC == nullptr || m_pGrid == nullptr)
        return CSize(0, 0);
    const int saved = pDC->SaveDC();
    m_pGrid->SelectStyleFont(pDC, style);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    // The room the cell's covered range gives the text.
    CGXRange range(nRow, nCol);
    m_pGrid->GetCoveredCellsRowCol(nRow, nCol, range);
    CRect whole = m_pGrid->CalcRectFromRowCol(range.top, range.left, range.bottom, range.right);
    const CRect inner = GetCellRect(nRow, nCol, &whole, &style);
    CString text;
    GetDisplayText(text, nRow, nCol, nullptr, &style);
    CSize size;
    if (text.IsEmpty()) {
        size = CSize(tm.tmAveCharWidth, lineHeight + 1);
    } else {
        // Wrapped text counts at most 32 lines.
        const int maxLines = 32;
        int lines = 1;
        int wrappedWidth = 0;
        if (style.GetWrapText()) {
            CRect calc(0, 0, std::max<int>(inner.Width(), 1), 0);
            pDC->DrawText(text, text.GetLength(), &calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            lines = std::min(maxLines, std::max(1, lineHeight > 0 ? static_cast<int>(calc.Height() / lineHeight) : 1));
            wrappedWidth = calc.Width();
        }
        if (bHeight) {
            size = CSize(inner.Width(), style.GetWrapText() ? lines * lineHeight + 1 : lineHeight + 1);
        } else {
            int widest = 0;
            if (style.GetWrapText() && lines * lineHeight <= inner.Height()) {
                widest = wrappedWidth;
            } else {
                LPCSTR p = text;
                CString line;
                for (int i = 0; i < maxLines && GXGetNextChoiceLine(p, line); ++i)
                    widest = std::max<int>(widest, pDC->GetTextExtent(line).cx);
            }
            size = CSize(widest, inner.Height());
        }
    }
    pDC->RestoreDC(saved);
    return AddBorders(size, style);
}
