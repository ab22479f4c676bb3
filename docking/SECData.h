// Shared definitions of the docking library: the extended bar styles, the library-wide system
// data every bar draws with, and the messages the library's windows exchange.
#pragma once
#include "afxwin.h"
#include "SECRes.h"

// ---- Extended styles of SECControlBar (SetExBarStyle, ModifyExBarStyle) ----------------------
#define CBRS_EX_CONTEXTMENU     0x0001  // the right button shows the bar's context menu
#define CBRS_EX_SCALECHILDREN   0x0002  // child windows are recorded at creation and scaled with the bar
#define CBRS_EX_TOOLBARSIZE     0x0004  // sized like a toolbar: fixed in rows, four-way floating frame
#define CBRS_EX_SHADOWBORDERS   0x0008  // border lines in the shadow colour
#define CBRS_EX_BORDERSPACE     0x0010  // inner margins around the content
#define CBRS_EX_MDIFLOAT        0x0020  // may float as an MDI child ("Float In Main Window")
#define CBRS_EX_FILLCHILD       0x0040  // the first child window fills the inside rectangle
#define CBRS_EX_FLATLOOK        0x0100  // flat borders, hot tracking of toolbars
#define CBRS_EX_GRIPPER         0x0200  // a gripper strip while docked (drawn with the flat look)
#define CBRS_EX_HIDEBUTTON      0x0400  // a hide button in the gripper
#define CBRS_EX_EXPANDBUTTON    0x0800  // an expand/contract button in the gripper
#define CBRS_EX_TRANSPARENT     0x1000  // with the flat look: toolbar buttons show the bar's background

// ---- Messages ----------------------------------------------------------------------------------
// A bar to its dock-site frame after building its context menu: wParam the bar, lParam the CMenu.
#define WM_SECEXTENDCONTEXTMENU 0x0720

// Registered messages of the toolbar layer, registered once (see SECRegisterMessages).
extern UINT wmSECBarNotify;             // "WM_BARNOTIFY"
extern UINT wmSECToolBarWndNotify;      // "WM_SECTOOLBARWNDNOTIFY"
extern UINT wmSECToolBarStyleChanging;  // "WM_TOOLBARSTYLECHANGING"
extern UINT wmSECNoDelayHide;           // "WM_NODELAYHIDE"
// Registers them the first time; the docking frames call it when they are made.
void SECRegisterMessages();

// ---- Library-wide system data ------------------------------------------------------------------
struct SECSysData
{
    int cxBorder, cyBorder;     // border widths: 2 from Windows 4 on, else 1
    BOOL bWin4;
    COLORREF clrBtnFace, clrBtnShadow, clrBtnHilite, clrWindowFrame, clr3DLight, clr3DDkShadow;
    COLORREF clrWindowText, clrWindow, clrHighlight, clrHighlightText;
    HCURSOR hcurArrow;
    // While set, bars moved by a layout are not redrawn at once (their dock bar repaints them).
    BOOL bDeferRedraw;

    // Reads the system's metrics and colours again (after WM_SYSCOLORCHANGE).
    void Update();
    // The cursor of a splitter moved sideways (bSideways) or up and down; loaded the first time
    // it is needed, from the program's resources.
    HCURSOR SplitCursor(BOOL bSideways);
    // The toolbar's cursors, loaded once: a button dragged as a copy (IDC_SEC_DRAGCOPY) and the
    // resizing edge of a control button (IDC_SEC_SIZECONTROL).
    HCURSOR DragCopyCursor();
    HCURSOR SizeControlCursor();

private:
    HCURSOR m_hcurSplitH = nullptr;
    HCURSOR m_hcurSplitV = nullptr;
    HCURSOR m_hcurDragCopy = nullptr;
    HCURSOR m_hcurSizeControl = nullptr;
};
// The one instance, made with its first use.
SECSysData& SECGetSysData();
