// The path of every modal interaction, and its scripted form for tests.
#include "afxwin.h"
#include <deque>

namespace {

struct Step
{
    INT_PTR nAnswer = 0;
    AfxSeamScriptFn script;
    AfxSeamDriveFn drive;
};

struct SeamState
{
    BOOL bActive = FALSE;
    std::deque<Step> steps;
    std::vector<AfxModalCall> calls;
    std::function<void(const AfxModalCall&)> unexpected;
    std::function<DWORD()> tickCount;
    std::function<BOOL(BYTE)> leadByte;
    std::function<SIZE()> displayResolution;
    AfxSeamDrivenRun* pDriven = nullptr;    // the innermost driven modal run
};

SeamState& State()
{
    static SeamState* s_pState = new SeamState;
    return *s_pState;
}

// The choice that does least when nobody answers.
INT_PTR SafeChoice(const AfxModalCall& call)
{
    switch (call.kind) {
    case AFX_MODAL_MESSAGEBOX:
        switch (call.nType & MB_TYPEMASK) {
        case MB_OK: return IDOK;
        case MB_YESNO: return IDNO;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        default: return IDCANCEL;   // OK/Cancel, Yes/No/Cancel, Retry/Cancel
        }
    case AFX_MODAL_POPUPMENU: return 0;
    default: return IDCANCEL;
    }
}

} // namespace

BOOL AfxSeamSetActive(BOOL bActive)
{
    BOOL bOld = State().bActive;
    State().bActive = bActive;
    return bOld;
}

BOOL AfxSeamIsActive()
{
    return State().bActive;
}

void AfxSeamAnswer(INT_PTR nResult)
{
    Step step;
    step.nAnswer = nResult;
    State().steps.push_back(std::move(step));
}

void AfxSeamScript(AfxSeamScriptFn fn)
{
    Step step;
    step.script = std::move(fn);
    State().steps.push_back(std::move(step));
}

void AfxSeamDrive(AfxSeamDriveFn fn)
{
    Step step;
    step.drive = std::move(fn);
    State().steps.push_back(std::move(step));
}

int AfxSeamPendingSteps()
{
    return (int)State().steps.size();
}

const std::vector<AfxModalCall>& AfxSeamCalls()
{
    return State().calls;
}

void AfxSeamReset()
{
    // Everything a test installed goes, the handler of unexpected requests included.
    State().steps.clear();
    State().calls.clear();
    State().unexpected = nullptr;
    State().tickCount = nullptr;
    State().leadByte = nullptr;
    State().displayResolution = nullptr;
}

void AfxSeamSetUnexpectedHandler(std::function<void(const AfxModalCall&)> fn)
{
    State().unexpected = std::move(fn);
}

void AfxSeamPressButton(HWND hWndDlg, int nIDButton)
{
    HWND hWndButton = ::GetDlgItem(hWndDlg, nIDButton);
    ::SendMessageA(hWndDlg, WM_COMMAND, MAKEWPARAM(nIDButton, BN_CLICKED), (LPARAM)hWndButton);
}

BOOL AfxSeamHandle(AfxModalCall& call, INT_PTR* pResult,
                   const std::function<INT_PTR(AfxModalCall&, const AfxSeamDriveFn&)>& live)
{
    SeamState& state = State();
    if (!state.bActive)
        return FALSE;

    // Reserve the record first: requests made while this one runs come after it.
    size_t nIndex = state.calls.size();
    state.calls.push_back(AfxModalCall());

    auto keepRecord = [&] {
        AfxModalCall record = call;
        record.pObject = nullptr;
        record.hWnd = nullptr;
        state.calls[nIndex] = record;
        return record;
    };
    INT_PTR nResult = 0;
    try {
        if (state.steps.empty()) {
            call.bScripted = FALSE;
            nResult = SafeChoice(call);
        }
        else {
            Step step = std::move(state.steps.front());
            state.steps.pop_front();
            call.bScripted = TRUE;
            if (step.drive) {
                if (live) {
                    nResult = live(call, step.drive);
                }
                else {
                    step.drive(call);
                    nResult = SafeChoice(call);
                }
            }
            else if (step.script) {
                nResult = step.script(call);
            }
            else {
                nResult = step.nAnswer;
            }
        }
    }
    catch (...) {
        // A run that failed is still on the record, as what was asked.
        keepRecord();
        throw;
    }
    call.nResult = nResult;
    AfxModalCall record = keepRecord();
    if (!call.bScripted && state.unexpected)
        state.unexpected(record);
    if (pResult)
        *pResult = nResult;
    return TRUE;
}

AfxSeamDrivenRun::AfxSeamDrivenRun(CWnd* pWnd, AfxModalCall& call, const AfxSeamDriveFn& drive,
                                   std::function<void()> fnLeave)
    : m_pWnd(pWnd), m_call(call), m_drive(drive), m_fnLeave(std::move(fnLeave)), m_pOuter(State().pDriven)
{
    State().pDriven = this;
}

AfxSeamDrivenRun::~AfxSeamDrivenRun()
{
    State().pDriven = m_pOuter;
}

BOOL AfxSeamModalWait(CWnd* pWnd)
{
    AfxSeamDrivenRun* pRun = State().pDriven;
    while (pRun != nullptr && pRun->m_pWnd != pWnd)
        pRun = pRun->m_pOuter;
    if (pRun == nullptr || pWnd->m_hWnd == nullptr)
        return FALSE;
    if (++pRun->m_nWaits == 1) {
        // The window is up and waits for its user.
        pRun->m_call.hWnd = pWnd->m_hWnd;
        pWnd->GetWindowText(pRun->m_call.caption);
        pRun->m_drive(pRun->m_call);
        return TRUE;
    }
    // The user is done with it and left it open: it goes as by Cancel.
    if (pRun->m_fnLeave)
        pRun->m_fnLeave();
    if (pWnd->m_hWnd != nullptr && pWnd->ContinueModal())
        pWnd->EndModalLoop(IDCANCEL);
    return TRUE;
}

int AfxSeamMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType, UINT nIDHelp)
{
    AfxModalCall call;
    call.kind = AFX_MODAL_MESSAGEBOX;
    call.text = lpszText ? lpszText : "";
    call.caption = lpszCaption ? lpszCaption : "";
    call.nType = nType;
    call.nIDHelp = nIDHelp;
    call.hWndOwner = hWndOwner;
    INT_PTR nResult = 0;
    if (AfxSeamHandle(call, &nResult))
        return (int)nResult;
    return ::MessageBoxA(hWndOwner, lpszText, lpszCaption, nType);
}

void AfxSeamDescribeMenu(HMENU hMenu, std::vector<AfxModalMenuItem>& items)
{
    items.clear();
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        AfxModalMenuItem item;
        item.nID = ::GetMenuItemID(hMenu, i);
        item.nState = ::GetMenuState(hMenu, (UINT)i, MF_BYPOSITION);
        char szText[256] = "";
        ::GetMenuStringA(hMenu, (UINT)i, szText, sizeof szText, MF_BYPOSITION);
        item.strText = szText;
        items.push_back(item);
    }
}

UINT AfxSeamMenuItemState(HMENU hMenu, UINT nID)
{
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != nullptr) {
            UINT nState = AfxSeamMenuItemState(hSub, nID);
            if (nState != (UINT)-1)
                return nState;
        }
        else if (::GetMenuItemID(hMenu, i) == nID) {
            return ::GetMenuState(hMenu, (UINT)i, MF_BYPOSITION);
        }
    }
    return (UINT)-1;
}

DWORD AfxGetTickCount()
{
    return State().tickCount ? State().tickCount() : ::GetTickCount();
}

void AfxSeamSetTickCount(std::function<DWORD()> fn)
{
    State().tickCount = std::move(fn);
}

BOOL AfxIsLeadByte(BYTE ch)
{
    return State().leadByte ? State().leadByte(ch) : ::IsDBCSLeadByte(ch);
}

void AfxSeamSetLeadByte(std::function<BOOL(BYTE)> fn)
{
    State().leadByte = std::move(fn);
}

SIZE AfxGetDisplayResolution()
{
    if (State().displayResolution)
        return State().displayResolution();
    SIZE size = {0, 0};
    HDC hIC = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (hIC != nullptr) {
        size.cx = ::GetDeviceCaps(hIC, HORZRES);
        size.cy = ::GetDeviceCaps(hIC, VERTRES);
        ::DeleteDC(hIC);
    }
    return size;
}

void AfxSeamSetDisplayResolution(std::function<SIZE()> fn)
{
    State().displayResolution = std::move(fn);
}
