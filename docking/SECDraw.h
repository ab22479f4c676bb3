// Drawing shared by the library's owner-drawn windows.
#pragma once
#include "SECData.h"

// Turns the image in pDC (nWidth x nHeight from its origin) into its embossed, disabled look:
// every pixel that is neither the button face nor the button highlight becomes a shadow-coloured
// ink with a highlight copy one pixel down and right. Colours are the library's cached ones.
void SECDrawDisabled(CDC* pDC, int nWidth, int nHeight);
