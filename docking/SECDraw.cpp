// Drawing shared by the library's owner-drawn windows.
#include "SECDraw.h"

void SECDrawDisabled(CDC* pDC, int nWidth, int nHeight)
{
    if (pDC == nullptr || nWidth < 4 || nHeight < 4)
        return;
    const SECSysData& sys = SECGetSysData();
    // The mask: white where the image shows the face or the highlight, black where it has ink.
    CDC maskDC;
    CBitmap mask;
    if (!maskDC.CreateCompatibleDC(pDC) || !mask.CreateBitmap(nWidth, nHeight, 1, 1, nullptr))
        return;
    CBitmap* pOldMask = maskDC.SelectObject(&mask);
    COLORREF clrOldBk = pDC->SetBkColor(sys.clrBtnFace);
    maskDC.BitBlt(0, 0, nWidth, nHeight, pDC, 0, 0, SRCCOPY);
    pDC->SetBkColor(sys.clrBtnHilite);
    maskDC.BitBlt(0, 0, nWidth, nHeight, pDC, 0, 0, SRCPAINT);

    // Pattern where the mask is black, the image kept where it is white.
    COLORREF clrOldText = pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkColor(RGB(255, 255, 255));
    CBrush brHilite(sys.clrBtnHilite), brShadow(sys.clrBtnShadow);
    CBrush* pOldBrush = pDC->SelectObject(&brHilite);
    pDC->BitBlt(2, 2, nWidth - 4, nHeight - 4, &maskDC, 1, 1, 0x00B8074A);
    pDC->SelectObject(&brShadow);
    pDC->BitBlt(1, 1, nWidth - 3, nHeight - 3, &maskDC, 1, 1, 0x00B8074A);
    pDC->SelectObject(pOldBrush);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBk);
    maskDC.SelectObject(pOldMask);
}

SECMemDC::SECMemDC(CDC* pDC, const CRect& rect) : m_pDC(pDC), m_rect(rect)
{
    if (pDC == nullptr || rect.IsRectEmpty() || !CreateCompatibleDC(pDC) ||
        !m_bitmap.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height()))
        return;
    m_pOldBitmap = SelectObject(&m_bitmap);
    SetViewportOrg(-rect.left, -rect.top);
    m_bReady = TRUE;
}

SECMemDC::~SECMemDC()
{
    if (m_pOldBitmap != nullptr)
        SelectObject(m_pOldBitmap);
}

void SECMemDC::CopyTo(const CRect& rectPart)
{
    if (m_bReady)
        m_pDC->BitBlt(rectPart.left, rectPart.top, rectPart.Width(), rectPart.Height(), this, rectPart.left,
                      rectPart.top, SRCCOPY);
}
