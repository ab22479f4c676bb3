// Resource ids of the textures library (resource scripts include this file: #define lines only).
#pragma once

// The texture browser panel.
#define IDD_TEXTURE_BROWSER     227
#define IDC_TEXTURE_SIZE        1026
#define IDC_ACTIVE_TEXTURE      1112
#define IDC_TEXTURE_LIST        1114
#define IDC_RECENT_TEXTURES     1115
#define IDC_TEXTURE_SCROLL      1116
#define IDC_TEXTURE_WINDOW      1117
#define IDC_TEXTURE_MEMORY      1118

// Its context menu.
#define IDR_TEXTURE_LIST_BAR    204
#define ID_TEXTURE_SIZE_32      32905
#define ID_TEXTURE_SIZE_48      32906
#define ID_TEXTURE_SIZE_64      32907
#define ID_TEXTURE_MARK         32918
#define ID_TEXTURE_APPLY_MARKED 32919
#define ID_TEXTURE_USED         32921
#define ID_TEXTURE_SELECT_BRUSHES 32922
#define ID_TEXTURE_SIZE_128     32943
#define ID_TEXTURE_SIZE_256     32944
#define ID_TEXTURE_SELECT_WADS  33000

// The Select Wads dialog.
#define IDD_SELECT_WADS         253
#define IDC_WAD_LIST            1225
#define IDC_COMPACT_NAMES       1226
#define IDS_NO_WADS_FOUND       921

// The Texture Adjustment window.
#define IDD_TEXTURE_ADJUST      151
#define IDC_X_OFFSET_SPIN       1227
#define IDC_X_OFFSET            1228
#define IDC_Y_OFFSET            1229
#define IDC_ROTATE              1230
#define IDC_X_SCALE             1231
#define IDC_Y_SCALE             1232
#define IDC_Y_OFFSET_SPIN       1233
#define IDC_ROTATE_SPIN         1234
