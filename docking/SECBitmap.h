// Bitmaps of buttons and toolbars whose greys follow the user's button colours.
#pragma once
#include "afxwin.h"
#include <array>

// Loads a bitmap resource (searched like every other resource of the program) into bitmap, with
// the palette entries black, dark grey, light grey and white replaced by the button text, shadow,
// face and highlight colours. Only palettized bitmaps (up to 8 bits per pixel) are recoloured;
// others load as they are. FALSE (bitmap untouched) when the resource is missing, is not a
// device-independent bitmap this loader understands, or is shorter than its header, colour table
// and pixels.
BOOL SECLoadSysColorBitmap(CBitmap& bitmap, LPCSTR lpszResourceName);
BOOL SECLoadSysColorBitmap(CBitmap& bitmap, UINT nIDResource);

// The button text, shadow, face and highlight colours the greys become, as they are now: a
// bitmap loaded above needs loading again only when these changed.
typedef std::array<COLORREF, 4> SECSysColors;
SECSysColors SECSysColorBitmapColors();
