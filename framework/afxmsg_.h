// Message map entries. Each ON_ macro names the handler by its bare member name, as in
// ON_COMMAND(ID_APP_ABOUT, OnAppAbout) or ON_WM_SIZE(); the handler must have the signature
// given beside the macro (the compiler checks it).
#pragma once
#include "afxcmd.h"

class CWnd;
class CDC;
class CScrollBar;

// Handler signatures. The values are private to the dispatcher.
enum AfxSig : UINT_PTR
{
    AfxSig_end = 0,

    // Commands and notifications (OnCmdMsg).
    AfxSigCmd_v,            // void ()
    AfxSigCmd_b,            // BOOL ()                     reflected command, handled unless FALSE
    AfxSigCmd_RANGE,        // void (UINT nID)
    AfxSigCmd_EX,           // BOOL (UINT nID)             FALSE lets routing go on
    AfxSigCmdUI,            // void (CCmdUI*)
    AfxSigNotify_v,         // void (NMHDR*, LRESULT*)
    AfxSigNotify_b,         // BOOL (NMHDR*, LRESULT*)
    AfxSigNotify_RANGE,     // void (UINT nID, NMHDR*, LRESULT*)
    AfxSigNotify_EX,        // BOOL (UINT nID, NMHDR*, LRESULT*)

    // Window messages (OnWndMsg).
    AfxSig_lwl,             // LRESULT (WPARAM, LPARAM)
    AfxSig_vv,              // void ()
    AfxSig_bv,              // BOOL ()
    AfxSig_wv,              // UINT ()
    AfxSig_is,              // int (LPCREATESTRUCT)
    AfxSig_bs,              // BOOL (LPCREATESTRUCT)
    AfxSig_vs,              // void (struct*)             from lParam
    AfxSig_vwii,            // void (UINT, int, int)
    AfxSig_vii,             // void (int, int)
    AfxSig_vwp,             // void (UINT, CPoint)
    AfxSig_lp,              // LRESULT (CPoint)
    AfxSig_vbs,             // void (BOOL, NCCALCSIZE_PARAMS*)
    AfxSig_bb,              // BOOL (BOOL)
    AfxSig_bD,              // BOOL (CDC*)
    AfxSig_vbw,             // void (BOOL, UINT)
    AfxSig_vb,              // void (BOOL)
    AfxSig_vwWb,            // void (UINT, CWnd*, BOOL)
    AfxSig_vbd,             // void (BOOL, DWORD)
    AfxSig_iWww,            // int (CWnd*, UINT, UINT)
    AfxSig_vbWW,            // void (BOOL, CWnd*, CWnd*)   WM_MDIACTIVATE
    AfxSig_vW,              // void (CWnd*)               from wParam
    AfxSig_vWl,             // void (CWnd*)               from lParam
    AfxSig_vwww,            // void (UINT, UINT, UINT)    keys
    AfxSig_bWww,            // BOOL (CWnd*, UINT, UINT)
    AfxSig_vt,              // void (UINT_PTR)
    AfxSig_vwwx,            // void (UINT, UINT, CScrollBar*)
    AfxSig_hDWw,            // HBRUSH (CDC*, CWnd*, UINT) every WM_CTLCOLOR message
    AfxSig_vis,             // void (int, struct*)        owner-draw messages
    AfxSig_iis,             // int (int, struct*)         WM_COMPAREITEM
    AfxSig_vWp,             // void (CWnd*, CPoint)
    AfxSig_vMwb,            // void (CMenu*, UINT, BOOL)
    AfxSig_vws,             // void (UINT, LPCSTR)
    AfxSig_vwl,             // void (UINT, LPARAM)
    AfxSig_bwsp,            // BOOL (UINT, short, CPoint)
    AfxSig_vwwh,            // void (UINT, UINT, HMENU)
    AfxSig_vwW,             // void (UINT, CWnd*)
    AfxSig_iwWw,            // int (UINT, CWnd*, UINT)
    AfxSig_vwr,             // void (UINT, LPRECT)
    AfxSig_vh,              // void (HDROP)
    AfxSig_vM,              // void (CMenu*)
    AfxSig_bw,              // BOOL (UINT)
    AfxSig_vwl2,            // void (UINT, LPARAM)        WM_PARENTNOTIFY (message, value)

    // Reflected messages (the control's own handlers).
    AfxSig_hDw,             // HBRUSH (CDC*, UINT)
    AfxSig_vww,             // void (UINT, UINT)
    AfxSig_iww,             // int (UINT, UINT)
    AfxSig_is2,             // int (struct*)
};

// Casts a handler to the entry's generic form after the compiler checked its signature.
template <class F> using AfxCmdMemFn = F CCmdTarget::*;
template <class F> using AfxWndMemFn = F CWnd::*;
#define AFX_CMD_FN(type, fn) reinterpret_cast<AFX_PMSG>(static_cast<AfxCmdMemFn<type>>(&ThisClass::fn))
#define AFX_WND_FN(type, fn) reinterpret_cast<AFX_PMSG>(static_cast<AfxWndMemFn<type>>(&ThisClass::fn))

// ---- Commands -------------------------------------------------------------------------------
#define ON_COMMAND(id, fn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSigCmd_v, AFX_CMD_FN(void(), fn) },
#define ON_COMMAND_RANGE(id, idLast, fn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSigCmd_RANGE, AFX_CMD_FN(void(UINT), fn) },
#define ON_COMMAND_EX(id, fn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSigCmd_EX, AFX_CMD_FN(BOOL(UINT), fn) },
#define ON_COMMAND_EX_RANGE(id, idLast, fn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSigCmd_EX, AFX_CMD_FN(BOOL(UINT), fn) },
#define ON_UPDATE_COMMAND_UI(id, fn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSigCmdUI, AFX_CMD_FN(void(CCmdUI*), fn) },
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, fn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), AfxSigCmdUI, AFX_CMD_FN(void(CCmdUI*), fn) },

// ---- Control notifications ------------------------------------------------------------------
#define ON_CONTROL(code, id, fn) \
    { WM_COMMAND, (UINT)(WORD)(code), (UINT)(id), (UINT)(id), AfxSigCmd_v, AFX_CMD_FN(void(), fn) },
#define ON_CONTROL_RANGE(code, id, idLast, fn) \
    { WM_COMMAND, (UINT)(WORD)(code), (UINT)(id), (UINT)(idLast), AfxSigCmd_RANGE, AFX_CMD_FN(void(UINT), fn) },
#define ON_CONTROL_REFLECT(code, fn) \
    { WM_COMMAND + WM_REFLECT_BASE, (UINT)(WORD)(code), 0, 0, AfxSigCmd_v, AFX_CMD_FN(void(), fn) },
#define ON_CONTROL_REFLECT_EX(code, fn) \
    { WM_COMMAND + WM_REFLECT_BASE, (UINT)(WORD)(code), 0, 0, AfxSigCmd_b, AFX_CMD_FN(BOOL(), fn) },

#define ON_NOTIFY(code, id, fn) \
    { WM_NOTIFY, (UINT)(WORD)(int)(code), (UINT)(id), (UINT)(id), AfxSigNotify_v, \
      AFX_CMD_FN(void(NMHDR*, LRESULT*), fn) },
#define ON_NOTIFY_RANGE(code, id, idLast, fn) \
    { WM_NOTIFY, (UINT)(WORD)(int)(code), (UINT)(id), (UINT)(idLast), AfxSigNotify_RANGE, \
      AFX_CMD_FN(void(UINT, NMHDR*, LRESULT*), fn) },
#define ON_NOTIFY_EX(code, id, fn) \
    { WM_NOTIFY, (UINT)(WORD)(int)(code), (UINT)(id), (UINT)(id), AfxSigNotify_EX, \
      AFX_CMD_FN(BOOL(UINT, NMHDR*, LRESULT*), fn) },
#define ON_NOTIFY_EX_RANGE(code, id, idLast, fn) \
    { WM_NOTIFY, (UINT)(WORD)(int)(code), (UINT)(id), (UINT)(idLast), AfxSigNotify_EX, \
      AFX_CMD_FN(BOOL(UINT, NMHDR*, LRESULT*), fn) },
#define ON_NOTIFY_REFLECT(code, fn) \
    { WM_NOTIFY + WM_REFLECT_BASE, (UINT)(WORD)(int)(code), 0, 0, AfxSigNotify_v, \
      AFX_CMD_FN(void(NMHDR*, LRESULT*), fn) },
#define ON_NOTIFY_REFLECT_EX(code, fn) \
    { WM_NOTIFY + WM_REFLECT_BASE, (UINT)(WORD)(int)(code), 0, 0, AfxSigNotify_b, \
      AFX_CMD_FN(BOOL(NMHDR*, LRESULT*), fn) },

#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_BN_SETFOCUS(id, fn) ON_CONTROL(BN_SETFOCUS, id, fn)
#define ON_BN_KILLFOCUS(id, fn) ON_CONTROL(BN_KILLFOCUS, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_EN_HSCROLL(id, fn) ON_CONTROL(EN_HSCROLL, id, fn)
#define ON_EN_VSCROLL(id, fn) ON_CONTROL(EN_VSCROLL, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SELCANCEL(id, fn) ON_CONTROL(LBN_SELCANCEL, id, fn)
#define ON_LBN_SETFOCUS(id, fn) ON_CONTROL(LBN_SETFOCUS, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DBLCLK(id, fn) ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_EDITUPDATE(id, fn) ON_CONTROL(CBN_EDITUPDATE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_SELENDCANCEL(id, fn) ON_CONTROL(CBN_SELENDCANCEL, id, fn)

// A check-list box tells its parent that an item's check changed.
#ifndef CLBN_CHKCHANGE
#define CLBN_CHKCHANGE 40
#endif
#define ON_CLBN_CHKCHANGE(id, fn) ON_CONTROL(CLBN_CHKCHANGE, id, fn)

// ---- User and registered messages -----------------------------------------------------------
// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(message, fn) \
    { (UINT)(message), 0, 0, 0, AfxSig_lwl, AFX_WND_FN(LRESULT(WPARAM, LPARAM), fn) },
// void fn(); the message answers 0
#define ON_MESSAGE_VOID(message, fn) \
    { (UINT)(message), 0, 0, 0, AfxSig_vv, AFX_WND_FN(void(), fn) },
// The id variable is read when messages arrive, so it may be registered after the map is built.
#define ON_REGISTERED_MESSAGE(nMessageVariable, fn) \
    { 0xC000, 0, 0, 0, (UINT_PTR)(const UINT*)(&nMessageVariable), AFX_WND_FN(LRESULT(WPARAM, LPARAM), fn) },

// ---- Window messages ------------------------------------------------------------------------
#define AFX_ON_WM(msg, sig, type, fn) { msg, 0, 0, 0, sig, AFX_WND_FN(type, fn) },

#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, AfxSig_is, int(LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE() AFX_ON_WM(WM_NCCREATE, AfxSig_bs, BOOL(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, AfxSig_vv, void(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_ON_WM(WM_NCDESTROY, AfxSig_vv, void(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, AfxSig_vv, void(), OnClose)
#define ON_WM_SIZE() AFX_ON_WM(WM_SIZE, AfxSig_vwii, void(UINT, int, int), OnSize)
#define ON_WM_SIZING() AFX_ON_WM(WM_SIZING, AfxSig_vwr, void(UINT, LPRECT), OnSizing)
#define ON_WM_MOVE() AFX_ON_WM(WM_MOVE, AfxSig_vii, void(int, int), OnMove)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, AfxSig_vv, void(), OnPaint)
#define ON_WM_NCPAINT() AFX_ON_WM(WM_NCPAINT, AfxSig_vv, void(), OnNcPaint)
#define ON_WM_NCCALCSIZE() AFX_ON_WM(WM_NCCALCSIZE, AfxSig_vbs, void(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCHITTEST() AFX_ON_WM(WM_NCHITTEST, AfxSig_lp, LRESULT(CPoint), OnNcHitTest)
#define ON_WM_NCACTIVATE() AFX_ON_WM(WM_NCACTIVATE, AfxSig_bb, BOOL(BOOL), OnNcActivate)
#define ON_WM_NCMOUSEMOVE() AFX_ON_WM(WM_NCMOUSEMOVE, AfxSig_vwp, void(UINT, CPoint), OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_ON_WM(WM_NCLBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_ON_WM(WM_NCLBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_ON_WM(WM_NCLBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_ON_WM(WM_NCRBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_ON_WM(WM_NCRBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() AFX_ON_WM(WM_NCRBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN() AFX_ON_WM(WM_NCMBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_ON_WM(WM_NCMBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnNcMButtonUp)
#define ON_WM_ERASEBKGND() AFX_ON_WM(WM_ERASEBKGND, AfxSig_bD, BOOL(CDC*), OnEraseBkgnd)
#define ON_WM_SHOWWINDOW() AFX_ON_WM(WM_SHOWWINDOW, AfxSig_vbw, void(BOOL, UINT), OnShowWindow)
#define ON_WM_ENABLE() AFX_ON_WM(WM_ENABLE, AfxSig_vb, void(BOOL), OnEnable)
#define ON_WM_ACTIVATE() AFX_ON_WM(WM_ACTIVATE, AfxSig_vwWb, void(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_ON_WM(WM_ACTIVATEAPP, AfxSig_vbd, void(BOOL, DWORD), OnActivateApp)
#define ON_WM_MOUSEACTIVATE() AFX_ON_WM(WM_MOUSEACTIVATE, AfxSig_iWww, int(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_CHILDACTIVATE() AFX_ON_WM(WM_CHILDACTIVATE, AfxSig_vv, void(), OnChildActivate)
#define ON_WM_MDIACTIVATE() AFX_ON_WM(WM_MDIACTIVATE, AfxSig_vbWW, void(BOOL, CWnd*, CWnd*), OnMDIActivate)
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, AfxSig_vW, void(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, AfxSig_vW, void(CWnd*), OnKillFocus)
#define ON_WM_KEYDOWN() AFX_ON_WM(WM_KEYDOWN, AfxSig_vwww, void(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_ON_WM(WM_KEYUP, AfxSig_vwww, void(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, AfxSig_vwww, void(UINT, UINT, UINT), OnChar)
#define ON_WM_DEADCHAR() AFX_ON_WM(WM_DEADCHAR, AfxSig_vwww, void(UINT, UINT, UINT), OnDeadChar)
#define ON_WM_SYSKEYDOWN() AFX_ON_WM(WM_SYSKEYDOWN, AfxSig_vwww, void(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_ON_WM(WM_SYSKEYUP, AfxSig_vwww, void(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_ON_WM(WM_SYSCHAR, AfxSig_vwww, void(UINT, UINT, UINT), OnSysChar)
#define ON_WM_SYSDEADCHAR() AFX_ON_WM(WM_SYSDEADCHAR, AfxSig_vwww, void(UINT, UINT, UINT), OnSysDeadChar)
#define ON_WM_LBUTTONDOWN() AFX_ON_WM(WM_LBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON_WM(WM_LBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_ON_WM(WM_MBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_ON_WM(WM_MBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_ON_WM(WM_MBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnMButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_ON_WM(WM_RBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_ON_WM(WM_RBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_ON_WM(WM_RBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_ON_WM(WM_MOUSEMOVE, AfxSig_vwp, void(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_ON_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_SETCURSOR() AFX_ON_WM(WM_SETCURSOR, AfxSig_bWww, BOOL(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_CAPTURECHANGED() AFX_ON_WM(WM_CAPTURECHANGED, AfxSig_vWl, void(CWnd*), OnCaptureChanged)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, AfxSig_vt, void(UINT_PTR), OnTimer)
#define ON_WM_HSCROLL() AFX_ON_WM(WM_HSCROLL, AfxSig_vwwx, void(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() AFX_ON_WM(WM_VSCROLL, AfxSig_vwwx, void(UINT, UINT, CScrollBar*), OnVScroll)
// One handler for every WM_CTLCOLOR message; nCtlColor is the CTLCOLOR_ value.
#define ON_WM_CTLCOLOR() \
    AFX_ON_WM(WM_CTLCOLORMSGBOX, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor) \
    AFX_ON_WM(WM_CTLCOLOREDIT, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor) \
    AFX_ON_WM(WM_CTLCOLORLISTBOX, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor) \
    AFX_ON_WM(WM_CTLCOLORBTN, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor) \
    AFX_ON_WM(WM_CTLCOLORDLG, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor) \
    AFX_ON_WM(WM_CTLCOLORSCROLLBAR, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor) \
    AFX_ON_WM(WM_CTLCOLORSTATIC, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM() AFX_ON_WM(WM_DRAWITEM, AfxSig_vis, void(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_ON_WM(WM_MEASUREITEM, AfxSig_vis, void(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_COMPAREITEM() AFX_ON_WM(WM_COMPAREITEM, AfxSig_iis, int(int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_DELETEITEM() AFX_ON_WM(WM_DELETEITEM, AfxSig_vis, void(int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_CHARTOITEM() AFX_ON_WM(WM_CHARTOITEM, AfxSig_iwWw, int(UINT, CWnd*, UINT), OnCharToItem)
#define ON_WM_VKEYTOITEM() AFX_ON_WM(WM_VKEYTOITEM, AfxSig_iwWw, int(UINT, CWnd*, UINT), OnVKeyToItem)
#define ON_WM_CONTEXTMENU() AFX_ON_WM(WM_CONTEXTMENU, AfxSig_vWp, void(CWnd*, CPoint), OnContextMenu)
#define ON_WM_INITMENU() AFX_ON_WM(WM_INITMENU, AfxSig_vM, void(CMenu*), OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_ON_WM(WM_INITMENUPOPUP, AfxSig_vMwb, void(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_ON_WM(WM_MENUSELECT, AfxSig_vwwh, void(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_ENTERIDLE() AFX_ON_WM(WM_ENTERIDLE, AfxSig_vwW, void(UINT, CWnd*), OnEnterIdle)
#define ON_WM_GETMINMAXINFO() AFX_ON_WM(WM_GETMINMAXINFO, AfxSig_vs, void(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_GETDLGCODE() AFX_ON_WM(WM_GETDLGCODE, AfxSig_wv, UINT(), OnGetDlgCode)
#define ON_WM_CANCELMODE() AFX_ON_WM(WM_CANCELMODE, AfxSig_vv, void(), OnCancelMode)
#define ON_WM_WINDOWPOSCHANGING() AFX_ON_WM(WM_WINDOWPOSCHANGING, AfxSig_vs, void(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_ON_WM(WM_WINDOWPOSCHANGED, AfxSig_vs, void(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_SETTINGCHANGE() AFX_ON_WM(WM_SETTINGCHANGE, AfxSig_vws, void(UINT, LPCSTR), OnSettingChange)
#define ON_WM_SYSCOLORCHANGE() AFX_ON_WM(WM_SYSCOLORCHANGE, AfxSig_vv, void(), OnSysColorChange)
#define ON_WM_PALETTECHANGED() AFX_ON_WM(WM_PALETTECHANGED, AfxSig_vW, void(CWnd*), OnPaletteChanged)
#define ON_WM_QUERYNEWPALETTE() AFX_ON_WM(WM_QUERYNEWPALETTE, AfxSig_bv, BOOL(), OnQueryNewPalette)
#define ON_WM_SYSCOMMAND() AFX_ON_WM(WM_SYSCOMMAND, AfxSig_vwl, void(UINT, LPARAM), OnSysCommand)
#define ON_WM_DROPFILES() AFX_ON_WM(WM_DROPFILES, AfxSig_vh, void(HDROP), OnDropFiles)
#define ON_WM_PARENTNOTIFY() AFX_ON_WM(WM_PARENTNOTIFY, AfxSig_vwl2, void(UINT, LPARAM), OnParentNotify)
#define ON_WM_QUERYENDSESSION() AFX_ON_WM(WM_QUERYENDSESSION, AfxSig_bv, BOOL(), OnQueryEndSession)
#define ON_WM_ENDSESSION() AFX_ON_WM(WM_ENDSESSION, AfxSig_vb, void(BOOL), OnEndSession)
#define ON_WM_HELPINFO() AFX_ON_WM(WM_HELPINFO, AfxSig_bs, BOOL(HELPINFO*), OnHelpInfo)

// ---- Reflected messages (handled by the control that sent them) -----------------------------
// Every WM_CTLCOLOR message comes back to the control under the old single message number.
#define AFX_WM_CTLCOLOR 0x0019
#define ON_WM_CTLCOLOR_REFLECT() \
    { AFX_WM_CTLCOLOR + WM_REFLECT_BASE, 0, 0, 0, AfxSig_hDw, \
      AFX_WND_FN(HBRUSH(CDC*, UINT), CtlColor) },
#define ON_WM_DRAWITEM_REFLECT() \
    { WM_DRAWITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vs, AFX_WND_FN(void(LPDRAWITEMSTRUCT), DrawItem) },
#define ON_WM_MEASUREITEM_REFLECT() \
    { WM_MEASUREITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vs, AFX_WND_FN(void(LPMEASUREITEMSTRUCT), MeasureItem) },
#define ON_WM_DELETEITEM_REFLECT() \
    { WM_DELETEITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vs, AFX_WND_FN(void(LPDELETEITEMSTRUCT), DeleteItem) },
#define ON_WM_COMPAREITEM_REFLECT() \
    { WM_COMPAREITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_is2, AFX_WND_FN(int(LPCOMPAREITEMSTRUCT), CompareItem) },
#define ON_WM_HSCROLL_REFLECT() \
    { WM_HSCROLL + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vww, AFX_WND_FN(void(UINT, UINT), HScroll) },
#define ON_WM_VSCROLL_REFLECT() \
    { WM_VSCROLL + WM_REFLECT_BASE, 0, 0, 0, AfxSig_vww, AFX_WND_FN(void(UINT, UINT), VScroll) },
#define ON_WM_CHARTOITEM_REFLECT() \
    { WM_CHARTOITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_iww, AFX_WND_FN(int(UINT, UINT), CharToItem) },
#define ON_WM_VKEYTOITEM_REFLECT() \
    { WM_VKEYTOITEM + WM_REFLECT_BASE, 0, 0, 0, AfxSig_iww, AFX_WND_FN(int(UINT, UINT), VKeyToItem) },
