// Resource ids of the editing dialogs and the About box (editdialogs.rc).
#pragma once

#define IDD_ABOUTBOX                100
#define IDD_CREATE_TARGETS          203
#define IDD_ARRAY                   204
#define IDD_CREATE_ROOM             207
#define IDD_CREATE_CYLINDER         250
#define IDD_CREATE_CONE             251

#define IDS_FREE_MEMORY             102
#define IDS_NO_OBJECT_PATHS         835

// Create Targets
#define IDC_TARGET_NAME             1104
#define IDC_MAKE_CIRCULAR           1105
// Array: move, rotate, scale (x, y, z), the total, and the spin of each field
#define IDC_ARRAY_RESET             3
#define IDC_MOVE_X                  1107
#define IDC_MOVE_Y                  1108
#define IDC_MOVE_Z                  1109
#define IDC_ROTATE_X                1110
#define IDC_ROTATE_Y                1112
#define IDC_ROTATE_Z                1115
#define IDC_SCALE_X                 1119
#define IDC_SCALE_Y                 1120
#define IDC_SCALE_Z                 1121
#define IDC_ARRAY_TOTAL             1125
#define IDC_SPIN_MOVE_X             1111
#define IDC_SPIN_MOVE_Y             1113
#define IDC_SPIN_MOVE_Z             1114
#define IDC_SPIN_ROTATE_X           1116
#define IDC_SPIN_ROTATE_Y           1117
#define IDC_SPIN_ROTATE_Z           1118
#define IDC_SPIN_SCALE_X            1122
#define IDC_SPIN_SCALE_Y            1123
#define IDC_SPIN_SCALE_Z            1124
#define IDC_SPIN_TOTAL              1126
// Create Room
#define IDC_ROOM_SPIN               1118
#define IDC_ROOM_THICKNESS          1119
#define IDC_ROOM_INWARD             1123
#define IDC_ROOM_OUTWARD            1124
// Create Cone, Create Cylinder
#define IDC_SIDES_SPIN              1219
#define IDC_SIDES                   1220
// About
#define IDC_FREE_MEMORY             1154
