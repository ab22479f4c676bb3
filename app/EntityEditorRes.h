// Resource ids of the Entity Editor.
#pragma once

#define IDD_ENTITY_EDITOR           168
#define IDD_ENTITY_COLOR_PAGE       235
#define IDD_ENTITY_KEYVALUE_PAGE    236
#define IDD_ENTITY_VISIBLE_PAGE     252
#define IDB_ENTITY_TREE_FIRST       239     // ten 16 x 16 images, 239 to 248
#define IDI_ENTITY_TAB_COLOR        256
#define IDI_ENTITY_TAB_VISIBLE      257
#define IDI_ENTITY_TAB_HELP         258
#define IDI_ENTITY_TAB_KEYVALUE     259

#define IDC_ENTITY_WELL             1179
#define IDC_ENTITY_CLASS_TREE       1206
#define IDC_ENTITY_GRID_PLACE       1209
#define IDC_ENTITY_REVERT_COLORS    1218
#define IDC_ENTITY_VISIBLE          1221
#define IDC_ENTITY_ALL_VISIBLE      1222
#define IDC_ENTITY_NONE_VISIBLE     1223
#define IDC_ENTITY_HELP             3001
#define IDC_ENTITY_TABS             59648
