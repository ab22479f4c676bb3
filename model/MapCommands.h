// Command ids of the map document's own commands (menus, toolbars and accelerators use them).
#pragma once

#define ID_CAMERA_FORWARD           33007
#define ID_CAMERA_BACKWARD          33008
#define ID_CAMERA_TURN_LEFT         33009
#define ID_CAMERA_TURN_RIGHT        33010
#define ID_CAMERA_UP                33011
#define ID_CAMERA_DOWN              33012
#define ID_CAMERA_PITCH_UP          33015
#define ID_CAMERA_PITCH_DOWN        33016
#define ID_MAP_SUBTRACT             32869
#define ID_MAP_INTERSECT            32870
#define ID_TOGGLE_FACE_POINTS       32871
#define ID_TOGGLE_EDGE_POINTS       33001
#define ID_TOGGLE_VERTEX_POINTS     33002
#define ID_APPLY_MARKED             32919
#define ID_CYCLE_SELECTION_UP       32931
#define ID_CYCLE_SELECTION_DOWN     32932
#define ID_KEEP_CYCLE_DOWN          32933
#define ID_KEEP_CYCLE_UP            32934
