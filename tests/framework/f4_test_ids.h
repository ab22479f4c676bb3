// Resource ids of the property sheet and common dialog tests.
#pragma once

#define IDD_F4_OLDFILE      4100    // an old-style file dialog template
#define IDC_F4_EXTRA        4101    // a control of our own in it
#define IDD_F4_PAGE1        4110
#define IDD_F4_PAGE2        4111
#define IDC_F4_NAME         4112    // page 1: an edit
#define IDC_F4_COUNT        4113    // page 2: a number edit
#define IDS_F4_SHEET        4120    // a sheet caption from the string table
