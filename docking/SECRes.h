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
