// Drawing shared by the library's owner-drawn windows.
#pragma once
#include "SECData.h"

// Turns the image in pDC (nWidth x nHeight from its origin) into its embossed, disabled look:
// every pixel that is neither the button face nor the button highlight becomes a shadow-coloured
// ink with a highlight copy one pixel down and right. Colours are the library's cached ones.
void SECDrawDisabled(CDC* pDC, int nWidth, int nHeight);

// An off-screen copy of a rectangle of a device context: drawing goes to a compatible bitmap in
// the rectangle's own coordinates and reaches pDC in one copy (no flicker).
class SECMemDC : public CDC
{
public:
    SECMemDC(CDC* pDC, const CRect& rect);
    ~SECMemDC() override;
    SECMemDC(const SECMemDC&) = delete;
    SECMemDC& operator=(const SECMemDC&) = delete;

    // FALSE when the context or the bitmap could not be made (draw nothing then).
    BOOL IsReady() const { return m_bReady; }
    // Copies rectPart (same coordinates as the rectangle) to the context it was made for.
    void CopyTo(const CRect& rectPart);

private:
    CDC* m_pDC;
    CRect m_rect;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    BOOL m_bReady = FALSE;
};
