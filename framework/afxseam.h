// The one path of every modal interaction: message boxes (AfxMessageBox, CWinApp::DoMessageBox,
// CWnd::MessageBox), modal dialogs (CDialog::DoModal), property sheets, common dialogs and
// popup menus (CMenu::TrackPopupMenu).
//
// Normally the path shows the real thing. With the seam active (tests), nothing modal is ever
// shown: each request takes the next scripted step, is recorded, and returns at once.
//
//   AfxSeamAnswer(IDYES);                          // the next box or dialog returns IDYES unseen
//   AfxSeamScript([](AfxModalCall& c) {            // look at the request, set fields of the
//       static_cast<CMyDlg*>(c.pObject)->m_n = 3;  // dialog object, return the result unseen
//       return (INT_PTR)IDOK; });
//   AfxSeamDrive([](AfxModalCall& c) {             // the dialog runs for real; drive its live
//       ::SetDlgItemTextA(c.hWnd, IDC_NAME, "x");  // window: set fields, press buttons, post
//       AfxSeamPressButton(c.hWnd, IDOK); });      // keys (DoModal returns how it ended)
//   ...
//   AfxSeamCalls()                                 // everything that was asked, in order
//
// A request with no step left is answered with its safe choice (Cancel, No, or OK for a plain
// box; nothing for a menu) and passed to the unexpected-call handler (tests fail on it).
//
// A driven dialog or property sheet runs exactly as a user's: DoModal disables the owner, creates
// the window and runs the framework's modal loop (its key filtering, Escape and Enter, idle
// command updates). The driver is the user: it is called the first time the loop waits for
// input, with the window shown. Whatever it posted is handled by the loop when it returns; when
// the loop then waits again with the window still up, the user has walked away: the run ends as
// Cancel (a dialog unseen with IDCANCEL, a sheet through its Cancel button).
#pragma once
#include "afx.h"
#include <functional>
#include <vector>

class CWnd;

enum AfxModalKind
{
    AFX_MODAL_MESSAGEBOX,
    AFX_MODAL_DIALOG,
    AFX_MODAL_PROPERTYSHEET,
    AFX_MODAL_COMMONDIALOG,
    AFX_MODAL_POPUPMENU,
};

struct AfxModalMenuItem
{
    UINT nID;           // 0 for separators, (UINT)-1 for popups
    CString strText;
    UINT nState;        // MF_ flags as GetMenuState answers them
};

struct AfxModalCall
{
    AfxModalKind kind = AFX_MODAL_MESSAGEBOX;
    CString text;               // message box text
    CString caption;            // message box caption; dialog title after its initialisation
    UINT nType = 0;             // MB_ flags of a box; TPM_ flags of a menu
    UINT nIDHelp = 0;
    UINT nIDTemplate = 0;       // dialog template id (0 when given by name or in memory)
    CString className;          // run-time class of the dialog, sheet or common dialog object
    CObject* pObject = nullptr; // that object, while the request runs (null in the record)
    HWND hWnd = nullptr;        // the live dialog window while a driver runs (null in the record)
    HWND hWndOwner = nullptr;
    HMENU hMenu = nullptr;
    POINT pt = {0, 0};
    std::vector<AfxModalMenuItem> menuItems;    // popup menus: the items as they would show
    INT_PTR nResult = 0;        // what the caller got
    BOOL bScripted = FALSE;     // FALSE: no step was left (an unexpected request)
};

typedef std::function<INT_PTR(AfxModalCall&)> AfxSeamScriptFn;
typedef std::function<void(AfxModalCall&)> AfxSeamDriveFn;

// ---- Test side ------------------------------------------------------------------------------
BOOL AfxSeamSetActive(BOOL bActive);     // returns the previous state
BOOL AfxSeamIsActive();
void AfxSeamAnswer(INT_PTR nResult);
void AfxSeamScript(AfxSeamScriptFn fn);
// For dialogs (and sheets): a live window is driven; other requests treat it as a script that
// answers the safe choice after fn ran.
void AfxSeamDrive(AfxSeamDriveFn fn);
int AfxSeamPendingSteps();
const std::vector<AfxModalCall>& AfxSeamCalls();
// Clears the steps and the record, and gives back the real tick count, lead-byte test and
// display resolution.
void AfxSeamReset();
// Called for each request that found no step (after it was answered with the safe choice).
void AfxSeamSetUnexpectedHandler(std::function<void(const AfxModalCall&)> fn);

// Presses a button of a live dialog the way a click does (BN_CLICKED to the dialog).
void AfxSeamPressButton(HWND hWndDlg, int nIDButton);

// ---- Framework side -------------------------------------------------------------------------
// Runs a request through the seam when it is active: the answer goes to *pResult and TRUE is
// returned. FALSE: the seam is off, show the real thing. live (dialogs) runs the real thing with
// the driver as its user and returns how it ended.
BOOL AfxSeamHandle(AfxModalCall& call, INT_PTR* pResult,
                   const std::function<INT_PTR(AfxModalCall&, const AfxSeamDriveFn&)>& live = nullptr);

// For the lifetime of this object, the modal loop of pWnd (CWnd::RunModalLoop) is driven: its
// first wait for input runs the driver on the live window; a later wait with the window still up
// calls fnLeave, which ends the run as the user's Cancel would.
class AfxSeamDrivenRun
{
public:
    AfxSeamDrivenRun(CWnd* pWnd, AfxModalCall& call, const AfxSeamDriveFn& drive, std::function<void()> fnLeave);
    ~AfxSeamDrivenRun();
    AfxSeamDrivenRun(const AfxSeamDrivenRun&) = delete;
    AfxSeamDrivenRun& operator=(const AfxSeamDrivenRun&) = delete;

    CWnd* m_pWnd;
    AfxModalCall& m_call;
    const AfxSeamDriveFn& m_drive;
    std::function<void()> m_fnLeave;
    int m_nWaits = 0;
    AfxSeamDrivenRun* m_pOuter;
};

// The modal loop of pWnd is about to wait for input. TRUE when the seam's user acted meanwhile
// (the loop looks at its window again and goes on with idle processing); FALSE: wait as usual.
BOOL AfxSeamModalWait(CWnd* pWnd);

// A message box through the seam (the real one when it is off).
int AfxSeamMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType, UINT nIDHelp);

// The items of a menu as a popup would show them; the state of one command in it (searching
// popups too), (UINT)-1 when it is not there.
void AfxSeamDescribeMenu(HMENU hMenu, std::vector<AfxModalMenuItem>& items);
UINT AfxSeamMenuItemState(HMENU hMenu, UINT nID);

// ---- Injectable parts of the environment ----------------------------------------------------
// Code that depends on the time, the code page's lead bytes or the screen's resolution asks these
// instead of the system; a test may replace each answer (an empty function restores the system's).
DWORD AfxGetTickCount();
void AfxSeamSetTickCount(std::function<DWORD()> fn);
BOOL AfxIsLeadByte(BYTE ch);
void AfxSeamSetLeadByte(std::function<BOOL(BYTE)> fn);
// Horizontal and vertical resolution of the display, in pixels.
SIZE AfxGetDisplayResolution();
void AfxSeamSetDisplayResolution(std::function<SIZE()> fn);
