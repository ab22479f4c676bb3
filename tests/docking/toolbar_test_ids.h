// Resource ids of the toolbar, status bar and customisation tests.
#pragma once

// Hand-written device-independent bitmaps (type 2 written as raw data, so the bytes are exact).
#define IDB_TEST_GREYS4     3300    // 4 bits, 5 x 1: black, dark grey, light grey, white, red
#define IDB_TEST_USED8      3301    // 8 bits, 3 x 1, a table of 2 entries (biClrUsed)
#define IDB_TEST_TRUE24     3302    // 24 bits, 2 x 1: light grey, black (never recoloured)
#define IDB_TEST_SHORT      3303    // 4 bits, the last pixel row cut off
#define IDB_TEST_BITFIELDS  3304    // 32 bits with three masks, 2 x 1
