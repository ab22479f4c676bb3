#include "afxwin.h"
#include "gxctllogic.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxprop.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxutil.h"

GX_IMPLEMENT_CONTROL(CGXProgressCtrl, CGXControl)

CString CGXProgressCtrl::GetCaption(const CGXStyle& style)
{
    return GXProgressCaption(style.GetUserAttribute(GX_IDS_UA_PROGRESS_CAPTION), GXParseClampedLong(style.GetValue()));
}

COLORREF CGXProgressCtrl::GetBarColor(const CGXStyle& style, BOOL bBar)
{
    if (GXIsBlackWhite(m_pGrid))
        return bBar ? RGB(0, 0, 0) : RGB(255, 255, 255);
    return bBar ? style.GetTextColor() : style.GetInterior().lbColor;
}

COLORREF CGXProgressCtrl::GetCaptionColor(const CGXStyle& style, BOOL bOverBar)
{
    if (GXIsBlackWhite(m_pGrid))
        return bOverBar ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return bOverBar ? style.GetInterior().lbColor : style.GetTextColor();
}

void CGXProgressCtrl::Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
                           const CGXStyle* pStandardStyle)
{
    if (pDC == nullptr)
        return;
    const long lower = GXParseClampedLong(style.GetUserAttribute(GX_IDS_UA_PROGRESS_MIN));
    const long upper = GXParseClampedLong(style.GetUserAttribute(GX_IDS_UA_PROGRESS_MAX));
    const long value = GXParseClampedLong(style.GetValue());
    const int barRight = GXProgressBarRight(rect.left, rect.right, value, lower, upper);
    const CRect bar(rect.left, rect.top, barRight, rect.bottom);

    FillRectColor(pDC, barRight, rect.top, rect.right - barRight, rect.Height(), GetBarColor(style, FALSE));
    FillRectColor(pDC, bar.left, bar.top, bar.Width(), bar.Height(), GetBarColor(style, TRUE));
    const int frame = style.GetDraw3dFrame();
    if (bar.Width() > 1 && (frame == 1 || frame == 2)) {
        CRect edge(bar);
        pDC->DrawEdge(&edge, frame == 1 ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT);
    }

    const CString caption = GetCaption(style);
    if (!caption.IsEmpty()) {
        const int saved = GXBeginCellText(m_pGrid, pDC, style, GetCaptionColor(style, FALSE));
        if (pDC->GetTextExtent(caption).cx < rect.Width()) {
            const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
            CRect r(rect);
            pDC->DrawText(caption, &r, format);
            // The part over the bar again, in the colour that shows on the bar.
            if (!bar.IsRectEmpty()) {
                pDC->IntersectClipRect(&bar);
                pDC->SetTextColor(GetCaptionColor(style, TRUE));
                r = rect;
                pDC->DrawText(caption, &r, format);
            }
        }
        pDC->RestoreDC(saved);
    }
    CGXControl::Draw(pDC, rect, nRow, nCol, style, pStandardStyle);
}
