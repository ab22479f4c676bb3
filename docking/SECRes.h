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
