// Resource ids of the 2D map views and their frame (views.rc).
#pragma once

// Frame titles: 445 + the view type.
#define IDS_VIEW_TITLE_BASE         445
#define IDS_VIEW_XY                 700
#define IDS_VIEW_XZ                 701
#define IDS_VIEW_YZ                 702
#define IDS_NO_SPLITTER             861
#define IDS_NO_FIRST_PANE           862
#define IDS_NO_SECOND_PANE          863

// Cursors.
#define IDC_VIEW_NORMAL             104
#define IDC_VIEW_MOVE_VERTICAL      187
#define IDC_VIEW_PAN                188
#define IDC_VIEW_TOP_HANDLE         189
#define IDC_VIEW_BOTTOM_HANDLE      190
#define IDC_VIEW_MOVE               186
#define IDC_VIEW_MOVE_HORIZONTAL    191
#define IDC_VIEW_MOVE_LOCKED        192
#define IDC_VIEW_PICK_CENTRE        193
#define IDC_VIEW_HANDLE             194

// The plane view's context menu: sub-menu 0 with a selection, 1 without.
#define IDR_PLANE_VIEW_MENU         132
#define IDS_ENTITY_NOT_APPLIED      850

// Plane view editing commands.
#define ID_ROTATE_BY_HAND           32840
#define ID_EXPORT_TO_FILE           32847
#define ID_ASSIGN_TO_WORLD          32857
#define ID_PRIMITIVE_CYLINDER       32874
#define ID_PRIMITIVE_PYRAMID        32875
#define ID_PRIMITIVE_WEDGE          32876
#define ID_CREATE_TARGETS           32889
#define ID_CREATE_ARRAY             32895
#define ID_SELECT_FULLY_INSIDE      32896
#define ID_SELECT_PARTIALLY_INSIDE  32902
#define ID_CREATE_ROOM              32908
#define ID_ALIGN_LEFT               32993
#define ID_ALIGN_RIGHT              32994
#define ID_ALIGN_TOP                32995
#define ID_ALIGN_BOTTOM             32996
#define ID_ALIGN_VERTICALLY         32997
#define ID_ALIGN_HORIZONTALLY       32998
// Cancel Current Operation: ends an armed rotation or array centre pick and deselects.
#define ID_CANCEL_OPERATION         32960

// The depth view's clipping-plane bitmaps.
#define IDB_TOP_PLANE               166
#define IDB_BOTTOM_PLANE            167

// The depth view's context menu.
#define IDR_AXIS_VIEW_MENU          133

// Depth view commands.
#define ID_CLIP_TO_BRUSH_DEPTH      32838
#define ID_DISABLE_DEPTH_CLIPPING   32844
#define ID_GRID_NUMBERS             32859

// Frame commands.
#define ID_TOGGLE_GRID              32843
#define ID_TOGGLE_SNAP_TO_GRID      32949
#define ID_TOGGLE_SNAP_TO_ANGLE     32954
#define ID_CLIP_TO_OBJECT           32915
#define ID_LINK_CLIPPING_PLANES     32942
#define ID_ZOOM_IN_PLANE            32865
#define ID_ZOOM_OUT_PLANE           32866
#define ID_ZOOM_IN_DEPTH            32890
#define ID_ZOOM_OUT_DEPTH           32891
#define ID_GRID_SIZE_DOWN           32863
#define ID_GRID_SIZE_UP             32864
#define ID_SNAP_ANGLE_DOWN          32892
#define ID_SNAP_ANGLE_UP            32893
#define ID_COMBO_SNAP_ANGLE_UI      32950
#define ID_COMBO_GRID_UI            32951
#define ID_COMBO_PLANE_SCALE_UI     32952
#define ID_COMBO_DEPTH_SCALE_UI     32953
#define ID_MOUSE_ZOOM_WINDOW        32819
#define ID_MOUSE_PAN_WINDOW         32820
#define ID_MOUSE_ZOOM_ITEMS         32821
#define ID_MOUSE_SELECT_ITEM        32822
#define ID_MOUSE_MOVE_ITEM          32823
#define ID_MOUSE_ZOOM_SELECTION     32825
#define ID_RESTRICT_X               32855
#define ID_RESTRICT_Y               32853
#define ID_RESTRICT_Z               32854
#define ID_EDIT_CLONE               32867

// The toolbar combo boxes of the "Map Window" toolbar.
#define IDC_COMBO_PLANE_SCALE       1075
#define IDC_COMBO_DEPTH_SCALE       1076
#define IDC_COMBO_GRID              1058
#define IDC_COMBO_SNAP_ANGLE        1060

// Status-bar panes: position, size, entity.
#define ID_PANE_POSITION            59142
#define ID_PANE_SIZE                59143
#define ID_PANE_ENTITY              59144
