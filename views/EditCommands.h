// Command ids of the plane views' editing commands (the Edit and Object menus, accelerators) that
// the views' own resource header does not define.
#pragma once
#include "ViewsRes.h"

#define ID_RESTRICT_AXIS_PLANE      32833
#define ID_ROTATE_BY_DIALOG         32841
#define ID_IMPORT_FROM_FILE         32846
#define ID_DUMP_BRUSH               32856

#include <windows.h>
// A key message that belongs to an edit control with the focus (a bar's edit field, a combo's
// edit): Space must type a space there, not clone the selection.
BOOL IsSpaceForEditControl(const MSG* pMsg);
