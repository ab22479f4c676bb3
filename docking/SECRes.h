// Resource ids of the docking library (resource scripts include this file: #define lines only).
#pragma once

// Commands of a bar's context menu (their texts are strings of the same numbers).
#define ID_SEC_ALLOWDOCKING     45097
#define ID_SEC_HIDE             45098
#define ID_SEC_MDIFLOAT         45099

// The status-bar prompt while a bar is dragged.
#define IDS_SEC_DRAGPROMPT      20621
// The frame resource of the MDI child that holds a bar floating in the main window.
#define IDR_SEC_MDIFLOAT        20520

// The tip-of-the-day dialog, its controls and its icon.
#define IDD_SEC_TIPOFDAY        20481
#define IDC_SEC_TIP_OK          20541
#define IDC_SEC_TIP_NEXT        20542
#define IDC_SEC_TIP_PREV        20543
#define IDC_SEC_TIP_HELP        20544
#define IDC_SEC_TIP_SHOW        20545
#define IDC_SEC_TIP_FRAME       20546
#define IDI_SEC_TIPOFDAY        20521
// The menu buttons' arrows: down (the menu opens below) and right (beside the button).
#define IDB_SEC_MENUDOWN        20522
#define IDB_SEC_MENURIGHT       20523
// The caption of a colour well's button for the colour dialog.
#define IDS_SEC_OTHERCOLOR      20616
