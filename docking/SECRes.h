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

// The directory chooser's dialog (an old-style file dialog reduced to its folder list).
#define IDD_SEC_DIRFILEDIALOG   2000
// The list editor's strip buttons: bitmaps and tips.
#define IDB_SEC_LISTNEW         20524
#define IDB_SEC_LISTDELETE      20525
#define IDB_SEC_LISTUP          20526
#define IDB_SEC_LISTDOWN        20527
#define IDS_SEC_LISTNEW         20617
#define IDS_SEC_LISTDELETE      20618
#define IDS_SEC_LISTUP          20619
#define IDS_SEC_LISTDOWN        20620
// Texts of the application's shortcut page.
#define IDS_SEC_SELECTSHORTCUT  20611
#define IDS_SEC_SELECTMACRO     20612
#define IDS_SEC_RESETALL        20613
#define IDS_SEC_UNASSIGNED      20614
#define IDS_SEC_RESERVEDKEY     20615

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
// The toolbar customisation dialogs, their controls and texts.
#define IDD_SEC_TOOLBARCMDPAGE  20490
#define IDD_SEC_TOOLBARSDLG     20491
#define IDD_SEC_NEWTOOLBAR      20492
#define IDD_SEC_TOOLBARSPAGE    20494
#define IDC_SEC_PALETTEAREA     20578
#define IDC_SEC_TOOLBARLIST     20579
#define IDC_SEC_DESCRIPTION     20580
#define IDC_SEC_NEWNAME         20581
#define IDC_SEC_NAMELABEL       20582
#define IDC_SEC_NEWTOOLBAR      20583
#define IDC_SEC_CUSTOMIZE       20584
#define IDC_SEC_RESET           20585
#define IDC_SEC_TOOLTIPS        20586
#define IDC_SEC_TOOLBARNAME     20587
#define IDC_SEC_LARGEBUTTONS    20588
#define IDC_SEC_COOLLOOK        20589
#define IDC_SEC_HELP            57670   // the Help buttons: disabled, as nothing answers them
// The toolbar cursors: a button dragged as a copy, the resizing edge of a control on a toolbar.
#define IDC_SEC_DRAGCOPY        20576
#define IDC_SEC_SIZECONTROL     20577
#define IDS_SEC_RESET           20622
#define IDS_SEC_DELETE          20623
#define IDS_SEC_CUSTOMIZE       20624
