#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxprop.h"
#include "gxstyle.h"
#include "gxutil.h"

GX_IMPLEMENT_CONTROL(CGXHeader, CGXStatic)

void CGXHeader::InvertArea(CDC* pDC, const CRect& rect)
{
    if (pDC != nullptr)
        pDC->DrawFocusRect(&rect);
}

void CGXHeader::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                     const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    CRect inner = GetCellRect(nRow, nCol, rect, &style);
    if (inner.Width() <= 1 || inner.Height() <= 1)
        return;
    const CGXProperties* props =
        m_pGrid != nullptr && m_pGrid->GetParam() != nullptr ? m_pGrid->GetParam()->GetProperties() : nullptr;
    const BOOL bPrinting = m_pGrid != nullptr && m_pGrid->IsPrinting();

    const int saved =
        GXBeginCellText(m_pGrid, pDC, style, GXIsBlackWhite(m_pGrid) ? RGB(0, 0, 0) : style.GetTextColor());
    const BOOL bPressed = GetCellDrawState(nRow, nCol, style) != 0;
    DrawBackground(pDC, rect, style, FALSE);

    if (!style.GetIncludeDraw3dFrame() && props != nullptr && props->GetDisplay3dHeader() && !bPrinting) {
        if (bPressed) {
            FillRectColor(pDC, rect.left, rect.bottom - 1, rect.Width(), 1, RGB(0, 0, 0));
            FillRectColor(pDC, rect.right - 1, rect.top, 1, rect.Height(), RGB(0, 0, 0));
        } else {
            GXDraw3dFrame(pDC, rect.left, rect.top, rect.right - 1, rect.bottom - 1, 1,
                          ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        }
    }

    if (bPressed)
        inner.OffsetRect(1, 1);
    CString text;
    GetDisplayText(text, nRow, nCol, nullptr, &style);
    if (!text.IsEmpty())
        pDC->DrawText(text, text.GetLength(), &inner, GXCellTextFormat(style));
    pDC->RestoreDC(saved);
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}
