// An editable list for dialogs.
#include "SECListEditor.h"
#include "SECBitmap.h"
#include "SECButtonPress.h"
#include "SECRes.h"
#include <algorithm>

namespace {

// Posted to the list box: the in-place edit ended (wParam: cancelled).
UINT EndEditMessage()
{
    static UINT s_nMsg = ::RegisterWindowMessageA("SECListEditorEndEdit");
    return s_nMsg;
}

const UINT s_bitmapIDs[SECListEditor::btnCount] = {IDB_SEC_LISTNEW, IDB_SEC_LISTDELETE, IDB_SEC_LISTUP,
                                                    IDB_SEC_LISTDOWN};
const UINT s_tipIDs[SECListEditor::btnCount] = {IDS_SEC_LISTNEW, IDS_SEC_LISTDELETE, IDS_SEC_LISTUP,
                                                 IDS_SEC_LISTDOWN};

// Drag timing: the hold before a press becomes a drag, and the auto-scroll delays.
const DWORD dragStartDelay = 250;
const DWORD scrollFirstDelay = 300;
const DWORD scrollStep = 50;
const DWORD scrollMinDelay = 50;

UINT FreeControlID(HWND hWndDlg)
{
    for (UINT nID = 32767; nID > 0; nID--)
        if (::GetDlgItem(hWndDlg, (int)nID) == nullptr)
            return nID;
    return 0;
}

CString ItemText(CListBox* pList, int nIndex)
{
    CString text;
    if (nIndex >= 0 && nIndex < pList->GetCount())
        pList->GetText(nIndex, text);
    return text;
}

} // namespace

// ---- SECListEditorEdit ----------------------------------------------------------------------

void SECListEditorEdit::PostEnd(BOOL bCancel)
{
    if (m_bEnding || m_pEditor == nullptr || m_pEditor->m_pList == nullptr)
        return;
    m_bEnding = TRUE;
    m_pEditor->m_pList->PostMessage(EndEditMessage(), bCancel, 0);
}

LRESULT SECListEditorEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        // Enter and Escape are the edit's: they never close the dialog or sheet.
        return CEdit::WindowProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            PostEnd(FALSE);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            PostEnd(TRUE);
            return 0;
        }
        if (wParam == VK_F2 && m_nBrowseID != 0) {
            CWnd* pDlg = m_pEditor != nullptr ? m_pEditor->GetParent() : nullptr;
            HWND hButton = m_pEditor != nullptr ? m_pEditor->m_btnBrowse.m_hWnd : nullptr;
            if (pDlg != nullptr)
                pDlg->PostMessage(WM_COMMAND, MAKEWPARAM(m_nBrowseID, m_nBrowseNotify), (LPARAM)hButton);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE)
            return 0;   // no beep
        break;
    case WM_KILLFOCUS: {
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        // Into the "..." button: the edit goes on.
        if (m_pEditor != nullptr && m_pEditor->m_btnBrowse.m_hWnd != nullptr &&
            (HWND)wParam == m_pEditor->m_btnBrowse.m_hWnd)
            return lResult;
        PostEnd(GetWindowTextLength() == 0);
        return lResult;
    }
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// ---- SECListEditorListBox -------------------------------------------------------------------

LRESULT SECListEditorListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    SECListEditor* pEditor = m_pEditor;
    if (pEditor == nullptr)
        return CListBox::WindowProc(message, wParam, lParam);
    if (message == EndEditMessage()) {
        pEditor->EndEdit((BOOL)wParam);
        return 0;
    }
    DWORD dwStyle = pEditor->m_dwStyle;
    switch (message) {
    case WM_CHAR:
        if ((dwStyle & LBEDIT_TYPETOEDIT) && wParam >= 32 && wParam != 127 && !(::GetKeyState(VK_CONTROL) & 0x8000)) {
            pEditor->StartEdit((char)wParam);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if ((dwStyle & LBEDIT_KEYS) && wParam == VK_INSERT) {
            pEditor->NewItem();
            return 0;
        }
        if ((dwStyle & LBEDIT_KEYS) && wParam == VK_DELETE) {
            pEditor->DeleteItem();
            return 0;
        }
        if ((dwStyle & LBEDIT_BROWSE) && wParam == VK_F2) {
            pEditor->StartEdit();
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
        if ((dwStyle & LBEDIT_KEYS) && (wParam == VK_UP || wParam == VK_DOWN)) {
            if (wParam == VK_UP)
                pEditor->MoveItemUp();
            else
                pEditor->MoveItemDown();
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        CListBox::WindowProc(message, wParam, lParam);
        pEditor->StartEdit();
        return 0;
    case WM_LBUTTONDOWN:
        if (dwStyle & LBEDIT_DRAG) {
            LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
            pEditor->OnListButtonDown(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
            return lResult;
        }
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}

// ---- SECListEditor --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECListEditor, CWnd)

SECListEditor::SECListEditor() : m_pEdit(nullptr), m_pList(nullptr), m_dwStyle(0), m_bAdding(FALSE), m_nMarkIndex(-1)
{
}

SECListEditor::~SECListEditor()
{
    if (m_pEdit != nullptr) {
        if (m_pEdit->m_hWnd != nullptr)
            m_pEdit->DestroyWindow();
        delete m_pEdit;
    }
    if (m_pList != nullptr) {
        if (m_pList->m_hWnd != nullptr)
            m_pList->UnsubclassWindow();
        delete m_pList;
    }
}

BOOL SECListEditor::Initialize(CWnd* pDlg, UINT nListID, DWORD dwStyle)
{
    if (pDlg == nullptr || pDlg->m_hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    HWND hList = ::GetDlgItem(pDlg->m_hWnd, (int)nListID);
    if (hList == nullptr)
        return FALSE;
    m_dwStyle = dwStyle;
    if (!CreateEx(0, "static", "", WS_CHILD | SS_SUNKEN, CRect(0, 0, 0, 0), pDlg, FreeControlID(pDlg->m_hWnd)))
        return FALSE;
    SetFont(pDlg->GetFont());
    for (int i = 0; i < btnCount; i++)
        SECLoadSysColorBitmap(m_bitmaps[i], s_bitmapIDs[i]);

    CRect rectList;
    ::GetWindowRect(hList, &rectList);
    pDlg->ScreenToClient(&rectList);
    int cyStrip = GetButtonStripHeight();
    CRect rectStrip(rectList.left, rectList.top, rectList.right, rectList.top + cyStrip);
    HWND hPrev = ::GetWindow(hList, GW_HWNDPREV);
    SetWindowPos(hPrev != nullptr ? CWnd::FromHandle(hPrev) : &wndTop, rectStrip.left, rectStrip.top,
                 rectStrip.Width(), rectStrip.Height(), SWP_NOACTIVATE);
    int nTop = rectStrip.bottom + 2 * ::GetSystemMetrics(SM_CYBORDER);
    ::SetWindowPos(hList, nullptr, rectList.left, nTop, rectList.Width(), std::max(0L, rectList.bottom - nTop),
                   SWP_NOZORDER | SWP_NOACTIVATE);

    m_pList = new SECListEditorListBox;
    m_pList->m_pEditor = this;
    if (!m_pList->SubclassWindow(hList)) {
        delete m_pList;
        m_pList = nullptr;
        return FALSE;
    }
    LoadButtonBitmaps();
    if ((dwStyle & LBEDIT_BUTTONS) && (dwStyle & LBEDIT_TOOLTIPS) && m_tips.Create(this)) {
        for (int i = 0; i < btnCount; i++)
            m_tips.AddTool(this, s_tipIDs[i], &m_rectButtons[i], (UINT_PTR)(i + 1));
        m_tips.Activate(TRUE);
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}

int SECListEditor::GetButtonStripHeight()
{
    int cy = 0;
    CClientDC dc(this);
    CFont* pFont = GetFont();
    CFont* pOld = pFont != nullptr ? dc.SelectObject(pFont) : nullptr;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc.m_hDC, &tm);
    if (pOld != nullptr)
        dc.SelectObject(pOld);
    cy = tm.tmHeight + 4 * ::GetSystemMetrics(SM_CYBORDER);
    for (CBitmap& bitmap : m_bitmaps) {
        if (bitmap.GetSafeHandle() == nullptr)
            continue;
        BITMAP bm = {};
        ::GetObjectA((HBITMAP)bitmap.GetSafeHandle(), sizeof bm, &bm);
        cy = std::max(cy, (int)bm.bmHeight + 2);
    }
    return cy;
}

void SECListEditor::LoadButtonBitmaps()
{
    CRect rectClient;
    GetClientRect(&rectClient);
    int x = rectClient.right;
    for (int i = btnCount - 1; i >= 0; i--) {
        int cx = 16;
        if (m_bitmaps[i].GetSafeHandle() != nullptr) {
            BITMAP bm = {};
            ::GetObjectA((HBITMAP)m_bitmaps[i].GetSafeHandle(), sizeof bm, &bm);
            cx = bm.bmWidth;
        }
        m_rectButtons[i] = CRect(x - cx, rectClient.top, x, rectClient.bottom);
        x -= cx;
    }
}

void SECListEditor::OnPaintStrip()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
    CString text;
    GetWindowText(text);
    CFont* pFont = GetFont();
    CFont* pOld = pFont != nullptr ? dc.SelectObject(pFont) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    CRect rectText = rect;
    rectText.left += 2;
    if (m_dwStyle & LBEDIT_BUTTONS)
        rectText.right = m_rectButtons[btnNew].left;
    dc.DrawText(text, rectText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (pOld != nullptr)
        dc.SelectObject(pOld);
    if (!(m_dwStyle & LBEDIT_BUTTONS))
        return;
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dc);
    for (int i = 0; i < btnCount; i++) {
        if (m_bitmaps[i].GetSafeHandle() == nullptr)
            continue;
        BITMAP bm = {};
        ::GetObjectA((HBITMAP)m_bitmaps[i].GetSafeHandle(), sizeof bm, &bm);
        CBitmap* pOldBitmap = dcMem.SelectObject(&m_bitmaps[i]);
        const CRect& r = m_rectButtons[i];
        dc.BitBlt(r.left, r.top + (r.Height() - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, &dcMem, 0, 0, SRCCOPY);
        dcMem.SelectObject(pOldBitmap);
    }
}

void SECListEditor::OnStripButtonDown(CPoint point)
{
    if (!(m_dwStyle & LBEDIT_BUTTONS) || m_pEdit != nullptr)
        return;
    int nButton = -1;
    for (int i = 0; i < btnCount; i++)
        if (m_rectButtons[i].PtInRect(point))
            nButton = i;
    if (nButton < 0)
        return;
    // The button shows pressed while the cursor stays inside it.
    const CRect rect = m_rectButtons[nButton];
    auto drawPressed = [&](BOOL bPressed) {
        CClientDC dc(this);
        if (bPressed)
            dc.Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        else
            InvalidateRect(&rect);
    };
    if (!SECTrackButtonPress(this, rect, drawPressed))
        return;
    switch (nButton) {
    case btnNew: NewItem(); break;
    case btnDelete: DeleteItem(); break;
    case btnUp: MoveItemUp(); break;
    case btnDown: MoveItemDown(); break;
    }
}

LRESULT SECListEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaintStrip();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        OnStripButtonDown(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        return 0;
    case WM_SIZE: {
        LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        LoadButtonBitmaps();
        return lResult;
    }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL SECListEditor::PreTranslateMessage(MSG* pMsg)
{
    if ((m_dwStyle & LBEDIT_TOOLTIPS) && m_tips.m_hWnd != nullptr && pMsg->hwnd == m_hWnd &&
        pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
        m_tips.RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

// ---- Editing --------------------------------------------------------------------------------

BOOL SECListEditor::StartEdit(char chFirst)
{
    if (m_pList == nullptr || m_pEdit != nullptr)
        return FALSE;
    int nSel = m_pList->GetCurSel();
    if (nSel < 0)
        return FALSE;
    m_strStartText = ItemText(m_pList, nSel);
    CRect rect;
    m_pList->GetItemRect(nSel, &rect);
    CRect rectClient;
    m_pList->GetClientRect(&rectClient);
    rect.right = rectClient.right;
    rect.InflateRect(0, 2);
    int cxButton = (m_dwStyle & LBEDIT_BROWSE) ? rect.Height() : 0;
    m_pEdit = new SECListEditorEdit;
    m_pEdit->m_pEditor = this;
    m_pEdit->m_nItem = nSel;
    m_pEdit->m_bAdding = m_bAdding;
    m_pEdit->m_nBrowseID = (m_dwStyle & LBEDIT_BROWSE) ? (UINT)browseID : 0;
    CRect rectEdit(rect.left, rect.top, rect.right - cxButton, rect.bottom);
    if (!m_pEdit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rectEdit, m_pList, editID)) {
        delete m_pEdit;
        m_pEdit = nullptr;
        return FALSE;
    }
    m_pEdit->SetFont(m_pList->GetFont());
    if (cxButton > 0 && m_btnBrowse.Create("...", WS_CHILD | WS_VISIBLE, CRect(rectEdit.right, rect.top, rect.right, rect.bottom),
                                           m_pList, browseID))
        m_btnBrowse.SetFont(m_pList->GetFont());
    if (chFirst != 0) {
        char sz[2] = {chFirst, '\0'};
        m_pEdit->SetWindowText(sz);
        m_pEdit->SetSel(1, 1);
    }
    else {
        m_pEdit->SetWindowText(m_strStartText);
        m_pEdit->SetSel(0, -1);
    }
    m_pEdit->SetFocus();
    return TRUE;
}

void SECListEditor::EndEdit(BOOL bCancel)
{
    if (m_pEdit == nullptr)
        return;
    CString text;
    m_pEdit->GetWindowText(text);
    int nItem = m_pEdit->m_nItem;
    int nPrevSel = m_pEdit->m_nPrevSel;
    SECListEditorEdit* pEdit = m_pEdit;
    m_pEdit = nullptr;
    // From here the edit is gone: its last focus change ends nothing.
    pEdit->m_bEnding = TRUE;
    pEdit->DestroyWindow();
    delete pEdit;
    if (m_btnBrowse.m_hWnd != nullptr)
        m_btnBrowse.DestroyWindow();
    BOOL bAdding = m_bAdding;
    m_bAdding = FALSE;
    CString strStart = m_strStartText;
    m_strStartText.Empty();
    if (m_pList == nullptr || m_pList->m_hWnd == nullptr)
        return;
    if (bCancel) {
        if (bAdding && nItem >= 0 && nItem < m_pList->GetCount()) {
            m_pList->DeleteString((UINT)nItem);
            m_pList->SetCurSel(nPrevSel);
        }
        m_pList->SetFocus();
        return;
    }
    if (nItem >= 0 && nItem < m_pList->GetCount()) {
        DWORD_PTR dwData = m_pList->GetItemData(nItem);
        m_pList->SetRedraw(FALSE);
        m_pList->DeleteString((UINT)nItem);
        m_pList->InsertString(nItem, text);
        m_pList->SetItemData(nItem, dwData);
        m_pList->SetCurSel(nItem);
        m_pList->SetRedraw(TRUE);
        m_pList->Invalidate();
    }
    m_pList->SetFocus();
    if (bAdding)
        OnItemAdded(nItem, text);
    else if (text != strStart)
        OnItemRenamed(nItem, strStart, text);
}

BOOL SECListEditor::NewItem()
{
    if (m_pList == nullptr || m_pEdit != nullptr)
        return FALSE;
    int nPrevSel = m_pList->GetCurSel();
    int nItem = m_pList->AddString("");
    if (nItem < 0)
        return FALSE;
    m_pList->SetCurSel(nItem);
    m_bAdding = TRUE;
    if (!StartEdit()) {
        m_pList->DeleteString((UINT)nItem);
        m_pList->SetCurSel(nPrevSel);
        m_bAdding = FALSE;
        return FALSE;
    }
    m_pEdit->m_bAdding = TRUE;
    m_pEdit->m_nPrevSel = nPrevSel;
    return TRUE;
}

BOOL SECListEditor::DeleteItem()
{
    if (m_pList == nullptr)
        return FALSE;
    int nSel = m_pList->GetCurSel();
    if (nSel < 0)
        return FALSE;
    if (!OnDeletingItem(nSel, ItemText(m_pList, nSel)))
        return FALSE;
    m_pList->SetRedraw(FALSE);
    m_pList->DeleteString((UINT)nSel);
    int nCount = m_pList->GetCount();
    int nNewSel = nSel < nCount ? nSel : nCount - 1;
    if (nNewSel >= 0)
        m_pList->SetCurSel(nNewSel);
    if (nNewSel >= 0)
        OnItemDeleted(nSel, nNewSel);
    m_pList->SetRedraw(TRUE);
    m_pList->Invalidate();
    return TRUE;
}

void SECListEditor::MoveItem(int nFrom, int nTo)
{
    CString text = ItemText(m_pList, nFrom);
    DWORD_PTR dwData = m_pList->GetItemData(nFrom);
    m_pList->SetRedraw(FALSE);
    m_pList->DeleteString((UINT)nFrom);
    m_pList->InsertString(nTo, text);
    m_pList->SetItemData(nTo, dwData);
    m_pList->SetCurSel(nTo);
    m_pList->SetRedraw(TRUE);
    m_pList->Invalidate();
}

BOOL SECListEditor::MoveItemUp()
{
    if (m_pList == nullptr || m_pEdit != nullptr)
        return FALSE;
    int nSel = m_pList->GetCurSel();
    if (nSel <= 0)
        return FALSE;
    CString text = ItemText(m_pList, nSel);
    MoveItem(nSel, nSel - 1);
    OnItemMoved(nSel, nSel - 1, text);
    return TRUE;
}

BOOL SECListEditor::MoveItemDown()
{
    if (m_pList == nullptr || m_pEdit != nullptr)
        return FALSE;
    int nSel = m_pList->GetCurSel();
    if (nSel < 0 || nSel >= m_pList->GetCount() - 1)
        return FALSE;
    CString text = ItemText(m_pList, nSel);
    MoveItem(nSel, nSel + 1);
    OnItemMoved(nSel, nSel + 1, text);
    return TRUE;
}

void SECListEditor::OnItemRenamed(int, const CString&, const CString&) {}
void SECListEditor::OnItemAdded(int, const CString&) {}
void SECListEditor::OnItemMoved(int, int, const CString&) {}
void SECListEditor::OnItemDeleted(int, int) {}
BOOL SECListEditor::OnDeletingItem(int, const CString&) { return TRUE; }

// ---- Dragging -------------------------------------------------------------------------------

const char SECListBoxDragWnd::s_szClassName[] = "SECListBoxDragWnd";

BOOL SECListBoxDragWnd::RegisterClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)::GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = s_szClassName;
    return AfxRegisterClass(&wc);
}

BOOL SECListBoxDragWnd::Create(CListBox* pList, int nItem)
{
    if (pList == nullptr || !RegisterClass())
        return FALSE;
    CRect rect;
    if (pList->GetItemRect(nItem, &rect) == LB_ERR)
        return FALSE;
    CString text = ItemText(pList, nItem);
    m_hFont = (HFONT)pList->SendMessage(WM_GETFONT);
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    CRect rectWnd(ptCursor, CSize(rect.Width(), rect.Height() + 2));
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, s_szClassName, text, WS_POPUP | WS_BORDER, rectWnd, pList, 0))
        return FALSE;
    MoveTo(ptCursor);
    ShowWindow(SW_SHOWNA);
    UpdateWindow();
    return TRUE;
}

void SECListBoxDragWnd::MoveTo(CPoint ptCursor)
{
    // Beside the cursor, not under it: the insertion mark stays in sight.
    SetWindowPos(nullptr, ptCursor.x + 12, ptCursor.y + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SECListBoxDragWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCHITTEST)
        return HTTRANSPARENT;
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(m_hWnd, &ps);
        CRect rect;
        GetClientRect(&rect);
        rect.left += 2;
        HGDIOBJ hOldFont = m_hFont != nullptr ? ::SelectObject(hDC, m_hFont) : nullptr;
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, RGB(0, 0, 0));
        char szText[256];
        int nLen = ::GetWindowTextA(m_hWnd, szText, sizeof szText);
        ::DrawTextA(hDC, szText, nLen, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (hOldFont != nullptr)
            ::SelectObject(hDC, hOldFont);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void SECListEditor::OnListButtonDown(CPoint point)
{
    if (m_pList == nullptr || m_pEdit != nullptr)
        return;
    BOOL bOutside = TRUE;
    int nItem = (int)LOWORD(m_pList->ItemFromPoint(point, bOutside));
    if (bOutside || nItem < 0 || nItem >= m_pList->GetCount())
        return;
    // Held long enough, the press becomes a drag; released before, it was a click.
    DWORD dwStart = AfxGetTickCount();
    m_pList->SetCapture();
    for (;;) {
        if (AfxGetTickCount() - dwStart > dragStartDelay) {
            RunDragLoop(nItem);
            return;
        }
        // The release is still in the queue while the press is handled (the list captured the mouse).
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE) ||
            ::GetCapture() != m_pList->m_hWnd)
            break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (::GetCapture() == m_pList->m_hWnd)
        ::ReleaseCapture();
}

CRect SECListEditor::InsertMarkRect(int nIndex) const
{
    CRect rect(0, 0, 0, 0);
    if (nIndex < 0 || m_pList == nullptr)
        return rect;
    int nCount = m_pList->GetCount();
    if (nIndex < nCount) {
        m_pList->GetItemRect(nIndex, &rect);
        rect.bottom = rect.top + 2;
        rect.top -= 1;
    }
    else if (nCount > 0) {
        m_pList->GetItemRect(nCount - 1, &rect);
        rect.top = rect.bottom - 1;
        rect.bottom += 1;
    }
    return rect;
}

void SECListEditor::DrawInsertMark(int nIndex)
{
    // Drawn solid, not inverted: the drag window moving over the list makes it repaint under
    // the mark, which is then simply drawn again.
    CRect rect = InsertMarkRect(nIndex);
    if (rect.IsRectEmpty())
        return;
    CClientDC dc(m_pList);
    dc.FillSolidRect(rect, ::GetSysColor(COLOR_WINDOWTEXT));
}

void SECListEditor::RunDragLoop(int nItem)
{
    if (::GetCapture() != m_pList->m_hWnd)
        m_pList->SetCapture();
    int nDrop = nItem;
    m_nMarkIndex = -1;
    DWORD dwDelay = scrollFirstDelay;
    DWORD dwLastScroll = AfxGetTickCount();
    BOOL bDrop = FALSE;
    BOOL bQuit = FALSE;
    int nQuitCode = 0;
    auto mark = [&](int nIndex) {
        if (nIndex == m_nMarkIndex)
            return;
        CRect rectOld = InsertMarkRect(m_nMarkIndex);
        if (!rectOld.IsRectEmpty()) {
            m_pList->InvalidateRect(&rectOld);
            m_pList->UpdateWindow();
        }
        m_nMarkIndex = nIndex;
        DrawInsertMark(m_nMarkIndex);
    };
    // The dragged item's text follows the cursor.
    SECListBoxDragWnd wndDrag;
    wndDrag.Create(m_pList, nItem);
    auto follow = [&](CPoint ptScreen) {
        if (wndDrag.m_hWnd == nullptr)
            return;
        wndDrag.MoveTo(ptScreen);
        m_pList->UpdateWindow();
        DrawInsertMark(m_nMarkIndex);
    };
    auto dropIndex = [&](CPoint pt) {
        int nCount = m_pList->GetCount();
        for (int i = m_pList->GetTopIndex(); i < nCount; i++) {
            CRect rect;
            m_pList->GetItemRect(i, &rect);
            if (pt.y < rect.top + rect.Height() / 2)
                return i;
        }
        return nCount;
    };
    while (::GetCapture() == m_pList->m_hWnd) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Above or below the list: scroll one item whenever the delay has passed.
            CPoint pt;
            ::GetCursorPos(&pt);
            m_pList->ScreenToClient(&pt);
            CRect rectClient;
            m_pList->GetClientRect(&rectClient);
            if ((pt.y < rectClient.top || pt.y >= rectClient.bottom) && AfxGetTickCount() - dwLastScroll >= dwDelay) {
                int nTop = m_pList->GetTopIndex();
                mark(-1);
                m_pList->SetTopIndex(pt.y < rectClient.top ? std::max(0, nTop - 1) : nTop + 1);
                m_pList->UpdateWindow();
                dwLastScroll = AfxGetTickCount();
                dwDelay = std::max(scrollMinDelay, dwDelay > scrollStep ? dwDelay - scrollStep : scrollMinDelay);
                nDrop = dropIndex(pt);
                mark(nDrop);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) {
            bQuit = TRUE;
            nQuitCode = (int)msg.wParam;
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != m_pList->m_hWnd) {
                ::ClientToScreen(msg.hwnd, &pt);
                m_pList->ScreenToClient(&pt);
            }
            nDrop = dropIndex(pt);
            mark(nDrop);
            CPoint ptScreen = pt;
            m_pList->ClientToScreen(&ptScreen);
            follow(ptScreen);
            if (msg.message == WM_LBUTTONUP) {
                bDrop = TRUE;
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    mark(-1);
    if (wndDrag.m_hWnd != nullptr)
        wndDrag.DestroyWindow();
    // The list's own tracking of the press ends too.
    CPoint ptEnd;
    ::GetCursorPos(&ptEnd);
    m_pList->ScreenToClient(&ptEnd);
    m_pList->DefWindowProc(WM_LBUTTONUP, 0, MAKELPARAM(ptEnd.x, ptEnd.y));
    if (::GetCapture() == m_pList->m_hWnd)
        ::ReleaseCapture();
    if (bQuit)
        ::PostQuitMessage(nQuitCode);
    if (!bDrop)
        return;
    // Dropped before or after itself: nothing moves.
    int nTo = nDrop > nItem ? nDrop - 1 : nDrop;
    if (nTo == nItem)
        return;
    CString text = ItemText(m_pList, nItem);
    MoveItem(nItem, nTo);
    OnItemMoved(nItem, nTo, text);
}
