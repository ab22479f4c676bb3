// Commands and strings of the application shell.
#pragma once

#define ID_PROJECT_SAVE_AS          32782
#define ID_PROJECT_SETTINGS         32783

#define IDS_MAP_FILTER              252
#define IDS_PROJECT_FILTER          253
#define IDS_TOO_MANY_UNTITLED       904
#define IDS_MAP_ALREADY_OPEN        905
#define IDS_CANT_OPEN_MAP           906
#define IDS_CLOSE_PROJECT           512
#define IDS_CANT_OPEN_PROJECT       909

// OpenMap's view code for all four windows (the single plan codes are the view types).
#define VIEW_ALL_FOUR               261

// The auto save timer of the main frame.
#define AUTOSAVE_TIMER_ID           1

// ---- Project dialogs
#define IDD_PATHS_PAGE              174
#define IDD_ROOT_PAGE               175
#define IDD_QUAKE_PAGE              211
#define IDD_NEW_PROJECT             216
#define IDD_STARTUP                 229
#define IDC_ROOT_PATH               1000
#define IDC_QUAKE_PATH              1001
#define IDC_QUAKE_EXE               1002
#define IDC_PATH_TEXTURES           1003
#define IDC_PATH_ENTITIES           1004
#define IDC_PATH_BIN                1007
#define IDC_PATH_MAPS               1022
#define IDC_PATH_WADS               1023
#define IDC_PATH_OBJECTS            1024
#define IDC_PROJECT_NAME            1159
#define IDC_SHOW_AT_STARTUP         1181
#define IDC_CONTINUE_NORMALLY       1182
#define IDC_LOAD_SAMPLE             1183
#define IDC_BROWSE_ROOT             10
#define IDC_BROWSE_QUAKE            11
#define IDC_BROWSE_BIN              11
#define IDC_BROWSE_ENTITIES         12
#define IDC_BROWSE_MAPS             13
#define IDC_BROWSE_TEXTURES         14
#define IDC_BROWSE_WADS             15
#define IDC_BROWSE_OBJECTS          16
#define IDS_PROJECT_SETTINGS        690
#define IDS_CANT_CREATE_PATH        761
#define IDS_CREATE_PATH             762

// ---- Resource window
#define IDI_TAB_MAPS                131
#define IDI_TAB_OBJECTS             133
#define IDI_TAB_TEXTURES            134
#define IDR_MAP_LIST_MENU           201
#define IDR_OBJECT_LIST_MENU        203

// ---- Output window
#define IDR_OUTPUT_LIST_MENU        205
#define ID_OUTPUT_CLEAR             32966
#define IDC_MAP_LIST                1031
#define IDC_OBJECT_LIST             1096
#define IDC_RESOURCE_TABS           59648
#define IDW_RESOURCE_WINDOW         32958
#define ID_MAPLIST_RESCAN           32883
#define ID_MAPLIST_COMPACT          32884
#define ID_OBJLIST_RESCAN           32887
#define ID_OBJLIST_COMPACT          32888
#define ID_MAPLIST_OPEN_TOP         32909
#define ID_MAPLIST_OPEN_FRONT       32910
#define ID_MAPLIST_OPEN_RIGHT       32911
#define ID_MAPLIST_OPEN_ALL         32912
#define ID_MAPLIST_DELETE           32990
#define ID_OBJLIST_DELETE           32991
#define IDS_MAPS_LOADED             795
#define IDS_OBJECTS_LOADED          797
#define IDS_NO_MAPS_FOUND           831
#define IDS_NO_OBJECTS_FOUND        833
#define IDS_NO_OBJECT_PATHS         835
#define IDS_CONFIRM_DELETE          16394
#define IDS_MAP_OPEN_NOT_DELETED    16395
#define IDS_CONFIRM_DELETE_FILES    16396
#define IDS_MAP_NOT_DELETED         32914
#define IDS_OBJECT_NOT_DELETED      32935

// ---- Toolbars and status bar
#define IDW_TOOLBAR_MAP             59397
#define IDW_TOOLBAR_EDIT            59398
#define IDW_TOOLBAR_BRUSH           59399
#define IDW_TOOLBAR_MAP_WINDOW      59400
#define IDW_TOOLBAR_PROJECT         59401
#define IDW_TOOLBAR_WINDOW          59402
#define IDW_TOOLBAR_TOOLS           59403
#define IDW_TOOLBAR_ALIGN           59404
#define ID_INDICATOR_POSITION       59142
#define ID_INDICATOR_SIZE           59143
#define ID_INDICATOR_ENTITY         59144
#define ID_INDICATOR_SELECTION      59145
#define IDB_SELECTION_NONE          255
#define IDB_SELECTION_VALID         256
#define IDB_SELECTION_INVALID       257
#define ID_PROJECT_SAVE             32780
#define IDC_GRID_COMBO              1058
#define IDC_SNAP_COMBO              1060
#define IDC_PLANE_SCALE_COMBO       1075
#define IDC_DEPTH_SCALE_COMBO       1076

// ---- Other frame commands
#define ID_WEB_LINK_1               32860
#define ID_WEB_LINK_2               32877
#define ID_WEB_LINK_3               32878
#define ID_WEB_LINK_4               32880
#define ID_WEB_LINK_5               32897
#define ID_TOGGLE_TARGET_PATHS      33006
#define IDS_VIEW_LABEL_XY           706
#define IDS_VIEW_LABEL_XZ           707
#define IDS_VIEW_LABEL_YZ           708
