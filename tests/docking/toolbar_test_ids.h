// Resource ids of the toolbar, status bar and customisation tests.
#pragma once

// Hand-written device-independent bitmaps (type 2 written as raw data, so the bytes are exact).
#define IDB_TEST_GREYS4     3300    // 4 bits, 5 x 1: black, dark grey, light grey, white, red
#define IDB_TEST_USED8      3301    // 8 bits, 3 x 1, a table of 2 entries (biClrUsed)
#define IDB_TEST_TRUE24     3302    // 24 bits, 2 x 1: light grey, black (never recoloured)
#define IDB_TEST_SHORT      3303    // 4 bits, the last pixel row cut off
#define IDB_TEST_BITFIELDS  3304    // 32 bits with three masks, 2 x 1

// A toolbar resource and its strip of four 16 x 15 images.
#define IDR_TEST_TOOLBAR    3310
#define IDR_TEST_SHORTBAR   3311    // its count runs past the end of the resource
#define IDR_TEST_LARGEBAR   3312    // the "large" strip: two 32 x 15 images
#define ID_TB_A             40001
#define ID_TB_B             40002
#define ID_TB_CHECK         40003
#define ID_TB_OFF           40004   // never enabled
#define ID_TB_NOIMAGE       40005   // not in the strip

// Status bar indicators.
#define ID_INDICATOR_A      40101
#define ID_INDICATOR_B      40102

// Shortcuts: a main frame and a document template with menus and accelerators.
#define IDR_TEST_ACCEL      3320
#define IDR_TEST_ACCELDOC   3321

// A dialog with two path edits.
#define IDD_TEST_PICKERS    3330
#define IDC_TEST_FILEEDIT   3331
#define IDC_TEST_DIREDIT    3332
#define IDC_TEST_SHELLEDIT  3333
#define IDC_TEST_TOPID      32767   // takes the highest id: the buttons get those below

// A dialog with an editable list.
#define IDD_TEST_LISTEDIT   3340
#define IDC_TEST_LIST       3341
#define IDC_TEST_LISTLABEL  3342
#define ID_TB_COMBO         40006   // a combo box button
#define IDC_TB_COMBOCTRL    40007   // its control
