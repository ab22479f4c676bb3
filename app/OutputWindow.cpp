#include "OutputWindow.h"
#include "UserToolProcess.h"
#include "SECRes.h"
#include "ShellRes.h"
#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(COutputEdit, CEdit)

BEGIN_MESSAGE_MAP(COutputEdit, CEdit)
    ON_MESSAGE(WM_TOOL_OUTPUT, OnToolOutput)
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_OUTPUT_CLEAR, OnClear)
    ON_COMMAND_RANGE(ID_SEC_ALLOWDOCKING, ID_SEC_MDIFLOAT, OnBarCommand)
END_MESSAGE_MAP()

void SetDockingMenuItems(CMenu* pPopup, SECControlBar* pBar)
{
    BOOL inMain = pBar && pBar->m_hWnd && pBar->IsMDIChild();
    BOOL mayDock = pBar && (pBar->m_dwDockStyle & CBRS_ALIGN_ANY) != 0;
    pPopup->CheckMenuItem(ID_SEC_ALLOWDOCKING, MF_BYCOMMAND | (mayDock ? MF_CHECKED : MF_UNCHECKED));
    pPopup->EnableMenuItem(ID_SEC_ALLOWDOCKING, MF_BYCOMMAND | (inMain ? MF_GRAYED : MF_ENABLED));
    pPopup->CheckMenuItem(ID_SEC_MDIFLOAT, MF_BYCOMMAND | (inMain ? MF_CHECKED : MF_UNCHECKED));
}

// The bar that holds the pane (through its tab window).
static SECControlBar* OwningBar(CWnd* pPane)
{
    for (HWND h = ::GetParent(pPane->m_hWnd); h; h = ::GetParent(h))
        if (auto* pBar = dynamic_cast<SECControlBar*>(CWnd::FromHandlePermanent(h)))
            return pBar;
    return nullptr;
}

void COutputEdit::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1) {
        CRect rect;
        GetWindowRect(&rect);
        point = rect.TopLeft() + CPoint(4, 4);
    }
    CMenu menu;
    if (!menu.LoadMenu(IDR_OUTPUT_LIST_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    SetDockingMenuItems(pPopup, OwningBar(this));
    UINT nCmd = pPopup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, point.x, point.y, this);
    if (nCmd != 0)
        SendMessage(WM_COMMAND, nCmd, 0);
}

void COutputEdit::OnBarCommand(UINT nID)
{
    // The docking commands belong to the Output window.
    if (SECControlBar* pBar = OwningBar(this))
        pBar->SendMessage(WM_COMMAND, nID, 0);
}

HFONT ReportTextFont(HFONT hFont)
{
    LOGFONTA named = {};
    if (!::GetObjectA(hFont, sizeof named, &named))
        return hFont;
    char face[LF_FACESIZE] = "";
    if (HDC hDC = ::GetDC(nullptr)) {
        HGDIOBJ old = ::SelectObject(hDC, hFont);
        ::GetTextFaceA(hDC, sizeof face, face);
        ::SelectObject(hDC, old);
        ::ReleaseDC(nullptr, hDC);
    }
    // A face named and shown under another name is the system's own stand-in for a face it has
    // not got (a substitute or replacement keeps the name asked for): whatever the stand-in is,
    // nothing says its layout rules hold.
    const bool standIn = lstrcmpiA(face, named.lfFaceName) != 0;
    if (standIn || lstrcmpiA(face, "DejaVu Sans") == 0)
        return static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT));
    return hFont;
}

const char COutputEdit::kCutText[] = "** Buffer partially deleted **\n";

BOOL COutputEdit::CreatePane(CWnd* pParent, UINT nID)
{
    if (!Create(WS_CHILD | 0x003011C4, CRect(0, 0, 10, 10), pParent, nID))
        return FALSE;
    // The panes echo bytes from files and from the tools' output, whatever they hold.
    SetFont(CFont::FromHandle(ReportTextFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)))));
    // The pane's own cut is the only limit: the control's default would stop at 32K.
    SendMessage(EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    return TRUE;
}

void COutputEdit::AppendText(LPCSTR text)
{
    if (!text)
        return;
    if (m_nHold > 0) {
        m_pending += text;
        // Let the waiting text grow to twice what the pane keeps before cutting it, so that a
        // flood of lines is not copied once per line.
        if (m_pending.GetLength() > 2 * kKeep)
            KeepNewest(m_pending, m_bPendingDropped);
        return;
    }
    if (!m_hWnd)
        return;
    const int n = static_cast<int>(std::strlen(text));
    int length = GetWindowTextLength();
    if (length + n >= kLimit) {
        SendMessage(EM_SETSEL, 0, std::min<int>(kCut, length));
        SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(kCutText));
    }
    length = GetWindowTextLength();
    SendMessage(EM_SETSEL, length, length);
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    SendMessage(EM_SETSEL, length + n, length + n);
    SendMessage(EM_SCROLLCARET, 0, 0);
}

void COutputEdit::KeepNewest(CString& text, BOOL& bDropped)
{
    if (text.GetLength() <= kKeep)
        return;
    text = text.Right(kKeep);
    bDropped = TRUE;
}

void COutputEdit::AppendBlock(CString text, BOOL bDropped)
{
    if (!bDropped) {
        AppendText(text);
        return;
    }
    // All the pane held is older than what was dropped: the marker and the newest text replace
    // it, from the first whole line on.
    int lineStart = text.Find('\n');
    if (lineStart >= 0 && lineStart + 1 < text.GetLength())
        text = text.Mid(lineStart + 1);
    SetWindowText("");
    AppendText(CString(kCutText) + text);
}

void COutputEdit::Flush()
{
    if (m_pending.IsEmpty())
        return;
    CString text = m_pending;
    BOOL bDropped = m_bPendingDropped;
    m_pending.Empty();
    m_bPendingDropped = FALSE;
    KeepNewest(text, bDropped);
    const int hold = m_nHold;
    m_nHold = 0;
    AppendBlock(text, bDropped);
    m_nHold = hold;
}

void COutputEdit::Release()
{
    if (m_nHold > 0 && --m_nHold == 0)
        Flush();
}

void COutputEdit::Clear()
{
    m_pending.Empty();
    m_bPendingDropped = FALSE;
    if (m_hWnd)
        SetWindowText("");
}

LRESULT COutputEdit::OnToolOutput(WPARAM wParam, LPARAM)
{
    // The blocks already waiting for this pane join this one: a flood of output then costs a
    // few changes instead of one per block, and the editor stays responsive.
    CString text = reinterpret_cast<const char*>(wParam);
    FreeOutputBlock(wParam);
    BOOL bDropped = FALSE;
    MSG msg;
    while (m_hWnd != nullptr && ::PeekMessageA(&msg, m_hWnd, WM_TOOL_OUTPUT, WM_TOOL_OUTPUT, PM_REMOVE)) {
        text += reinterpret_cast<const char*>(msg.wParam);
        FreeOutputBlock(msg.wParam);
        // The pane keeps only its newest text: what would be cut at once is dropped here.
        KeepNewest(text, bDropped);
    }
    AppendBlock(text, bDropped);
    return 0;
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COutputTabBar, SECControlBar)

BEGIN_MESSAGE_MAP(COutputTabBar, SECControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

COutputTabBar::COutputTabBar() : m_nNextPaneId(kFirstPaneId) {}

COutputTabBar::~COutputTabBar()
{
    for (COutputEdit* p : m_toolPanes)
        delete p;
}

int COutputTabBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (SECControlBar::OnCreate(lpcs) == -1)
        return -1;
    if (!m_tabWnd.Create(this, 0x50300012, AFX_IDW_PANE_FIRST))
        return -1;
    if (!m_messages.CreatePane(&m_tabWnd, m_nNextPaneId++) || !m_build.CreatePane(&m_tabWnd, m_nNextPaneId++))
        return -1;
    m_tabWnd.AddTab(&m_messages, "Messages");
    m_tabWnd.AddTab(&m_build, "Build");
    m_tabWnd.ActivateTab(0);
    m_tabWnd.ScrollToTab(0);
    return 0;
}

void COutputTabBar::OnSize(UINT nType, int cx, int cy)
{
    if (m_tabWnd.m_hWnd) {
        CRect inside;
        GetClientRect(&inside);
        CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
        m_tabWnd.SetWindowPos(nullptr, inside.left, inside.top, inside.Width(), inside.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    SECControlBar::OnSize(nType, cx, cy);
}

int COutputTabBar::FindTabIndex(LPCSTR lpszLabel)
{
    for (int i = 0; i < m_tabWnd.GetTabCount(); ++i) {
        CString label;
        BOOL selected;
        CWnd* pWnd;
        DWORD_PTR data;
        if (m_tabWnd.GetTabInfo(i, label, selected, pWnd, data) && label == lpszLabel)
            return i;
    }
    return -1;
}

COutputEdit* COutputTabBar::FindPane(LPCSTR lpszLabel)
{
    int i = FindTabIndex(lpszLabel);
    if (i < 0)
        return nullptr;
    CString label;
    BOOL selected;
    CWnd* pWnd = nullptr;
    DWORD_PTR data;
    m_tabWnd.GetTabInfo(i, label, selected, pWnd, data);
    return dynamic_cast<COutputEdit*>(pWnd);
}

COutputEdit* COutputTabBar::PaneFor(LPCSTR lpszLabel)
{
    if (lstrcmpA(lpszLabel, "Messages") == 0)
        return &m_messages;
    if (lstrcmpA(lpszLabel, "Build") == 0)
        return &m_build;
    return FindPane(lpszLabel);
}

HWND COutputTabBar::GetTabEdit(LPCSTR lpszLabel)
{
    COutputEdit* p = FindPane(lpszLabel);
    return p ? p->m_hWnd : nullptr;
}

void COutputTabBar::ClearTab(LPCSTR lpszLabel)
{
    if (COutputEdit* p = PaneFor(lpszLabel))
        p->Clear();
}

void COutputTabBar::ActivateTab(LPCSTR lpszLabel)
{
    int i = FindTabIndex(lpszLabel);
    if (i < 0)
        return;
    m_tabWnd.ActivateTab(i);
    m_tabWnd.ScrollToTab(i);
}

void COutputTabBar::PrintToTab(LPCSTR lpszLabel, LPCSTR lpszText)
{
    if (COutputEdit* p = PaneFor(lpszLabel))
        p->AppendText(lpszText);
}

void COutputTabBar::AddTab(LPCSTR lpszLabel)
{
    auto* pPane = new COutputEdit;
    if (!pPane->CreatePane(&m_tabWnd, m_nNextPaneId++)) {
        delete pPane;
        return;
    }
    m_toolPanes.push_back(pPane);
    m_tabWnd.AddTab(pPane, lpszLabel);
}

void COutputTabBar::RemoveToolTabs()
{
    while (m_tabWnd.GetTabCount() > 2) {
        CString label;
        BOOL selected;
        CWnd* pWnd = nullptr;
        DWORD_PTR data;
        m_tabWnd.GetTabInfo(2, label, selected, pWnd, data);
        m_tabWnd.RemoveTab(2);
        auto it = std::find(m_toolPanes.begin(), m_toolPanes.end(), pWnd);
        if (it != m_toolPanes.end()) {
            (*it)->DestroyWindow();
            delete *it;
            m_toolPanes.erase(it);
        }
    }
    m_tabWnd.ActivateTab(1);
    m_tabWnd.ScrollToTab(1);
    m_nNextPaneId = kFirstToolPaneId;
}

void COutputTabBar::ShowOutput()
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->ShowControlBar(this, TRUE, FALSE);
}
