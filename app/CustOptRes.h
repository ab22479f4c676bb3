// Resources of the Customize sheet's Keyboard page and of the Option Settings sheet.
#pragma once

// Strings
#define IDS_COMMANDS_PAGE           130     // the toolbar command page's caption
#define IDS_OPTION_SETTINGS         691

// Keyboard page
#define IDD_SHORTCUTS_PAGE          221
#define IDC_SHORTCUT_ASSIGNED       20550
#define IDC_SHORTCUT_REMOVE         20549
#define IDC_SHORTCUT_DESCRIPTION    20551
#define IDC_SHORTCUT_COMMANDS       20553
#define IDC_SHORTCUT_HOTKEY         20554
#define IDC_SHORTCUT_ASSIGN         20548
#define IDC_SHORTCUT_RESET_ALL      20552
#define IDC_SHORTCUT_CURRENT_LABEL  1240
#define IDC_SHORTCUT_CURRENT_NAME   1241

// Options: Auto Save
#define IDD_OPTIONS_AUTOSAVE        176
#define IDC_AUTOSAVE_ENABLED        1066
#define IDC_AUTOSAVE_DELETE         1067
#define IDC_AUTOSAVE_MINUTES        1068
#define IDC_AUTOSAVE_EXTENSION      1069
#define IDC_AUTOSAVE_PATH           1001
#define IDC_AUTOSAVE_BROWSE         16

// Options: Colors
#define IDD_OPTIONS_COLORS          228
#define IDC_COLOR_LIST              1180
#define IDC_COLOR_WELL              1179

// Options: Cool Look
#define IDD_OPTIONS_COOLLOOK        220
#define IDC_TB_COOL                 1160
#define IDC_TB_TRADITIONAL          1161
#define IDC_TB_BORDERS              1162
#define IDC_TB_GRIPPER              1163
#define IDC_TB_CLOSE                1164
#define IDC_TB_FIXED                1165
#define IDC_CB_COOL                 1166
#define IDC_CB_BORDERS              1167
#define IDC_CB_GRIPPER              1168
#define IDC_CB_CLOSE                1169
#define IDC_CB_EXPAND               1170
#define IDC_CB_TRADITIONAL          1171

// Options: Map
#define IDD_OPTIONS_MAP             224
#define IDC_MOVE_MARGIN             1120
#define IDC_MOVE_MARGIN_SPIN        1122
#define IDC_DOUBLE_CLICK_XY         1176
#define IDC_DOUBLE_CLICK_XZ         1177
#define IDC_DOUBLE_CLICK_YZ         1178
#define IDC_DOUBLE_CLICK_ALL        1179

// Options: Workspace
#define IDD_OPTIONS_WORKSPACE       180
#define IDC_RELOAD_LAST_PROJECT     1081
