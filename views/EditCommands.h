// Command ids of the plane views' editing commands (the Edit and Object menus, accelerators).
#pragma once

#define ID_RESTRICT_AXIS_PLANE      32833
#define ID_ROTATE_BY_HAND           32840
#define ID_ROTATE_BY_DIALOG         32841
#define ID_IMPORT_FROM_FILE         32846
#define ID_EXPORT_TO_FILE           32847
#define ID_DUMP_BRUSH               32856
#define ID_ASSIGN_TO_WORLD          32857
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

// The cursor of a view waiting for a rotation point.
#define IDC_VIEW_ROTATE             193

#include <windows.h>
// A key message that belongs to an edit control with the focus (a bar's edit field, a combo's
// edit): Space must type a space there, not clone the selection.
BOOL IsSpaceForEditControl(const MSG* pMsg);
