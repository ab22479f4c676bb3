// The framework's window layer: command targets and message maps, windows, menus, device
// contexts of windows, the application and its message loop, frames, documents and views,
// dialogs and data exchange, and the test seam of modal interactions.
#pragma once
#include "afx.h"
#include "afxgdi.h"
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include "afxres.h"
#include "afxcmd.h"
#include "afxmsg_.h"
#include "afxseam.h"
#include "afxwnd.h"
#include "afxmenu.h"
#include "afxdc.h"
#include "afxframe.h"
#include "afxbar.h"
#include "afxdoc.h"
#include "afxview.h"
#include "afxsplit.h"
#include "afxmru.h"
#include "afxapp.h"
#include "afxdlg.h"
#include "afxctrl.h"
