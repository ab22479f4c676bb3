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

// File commands of the map (the File menu's Close, Save, Save As and Save All).
#define ID_MAP_FILE_CLOSE           32787
#define ID_MAP_FILE_SAVE            32788
#define ID_MAP_FILE_SAVE_AS         32789
#define ID_MAP_FILE_SAVE_ALL        32790
// New windows on the active map.
#define ID_NEW_XY_WINDOW            32796
#define ID_NEW_XZ_WINDOW            32797
#define ID_NEW_YZ_WINDOW            32798
#define ID_NEW_CAMERA_WINDOW        32799
// Primitives inscribed in the selected box brush.
#define ID_MAP_SPHERE               32873
#define ID_MAP_CYLINDER             32874
#define ID_MAP_PYRAMID              32875
#define ID_MAP_WEDGE                32876
#define ID_MAP_CONE                 32992

// Strings of the map's commands.
#define IDS_MAP_FILE_FILTER         252
#define IDS_MAP_IS_OPEN             905
