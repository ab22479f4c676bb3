#include "EntityGrid.h"
#include "EntityCellControls.h"
#include "EntityEditorDlg.h"
#include "EntityGridRules.h"
#include "Entity.h"
#include "Reporter.h"
#include "SECBitmap.h"
#include "SECButtonPress.h"
#include "SECRes.h"
#include "gxctrli.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include <algorithm>

namespace {
const COLORREF kSilver = RGB(192, 192, 192);
// The child ids of the key column's combo box and of the second, text-fit one.
const UINT kKeyComboEditId = 2001, kKeyComboListId = 2002;
const UINT kFitComboEditId = 2003, kFitComboListId = 2004;
const UINT kFitComboMode = 0x15;
const UINT_PTR kTipIds[CGridPanel::btnCount] = {1, 2};
const UINT kBitmapIds[CGridPanel::btnCount] = {IDB_SEC_LISTNEW, IDB_SEC_LISTDELETE};
const UINT kTipTextIds[CGridPanel::btnCount] = {IDS_SEC_LISTNEW, IDS_SEC_LISTDELETE};
} // namespace

// ---------------------------------------------------------------------------
// The grid

const char CEntityGrid::s_keyChoices[] =
    "angle\ncount\ndmg\ndelay\nhealth\nkilltarget\nlip\nlight\nmangle\nmap\nmessage\nnextthink\nspawnflags\n"
    "sounds\nspeed\nstyle\nt_width\nt_length\ntarget\ntargetname\nwait\nworldtype";

BEGIN_MESSAGE_MAP(CEntityGrid, CGXGridWnd)
    ON_MESSAGE(WM_ENTITY_SHOW, OnLoadEntity)
    ON_MESSAGE(WM_ENTITY_ORIGIN, OnOriginChanged)
    ON_MESSAGE(WM_ENTITY_WRITE_ROWS, OnApply)
END_MESSAGE_MAP()

void CEntityGrid::Initialize()
{
    CGXGridWnd::Initialize();
    // The key column's combo box: choices from the column's list, its arrow in every key cell
    // and the inactive cells drawn the full width.
    auto* pKeys = new CGXComboBox(this, kKeyComboEditId, kKeyComboListId, GXCOMBO_NOTEXTFIT);
    pKeys->m_bFillFromChoiceList = TRUE;
    pKeys->m_bButtonInInactiveCells = TRUE;
    pKeys->m_bFullWidthWhenInactive = TRUE;
    SetControlForId(GX_IDS_CTRL_COMBOBOX, pKeys);
    SetControlForId(GX_IDS_CTRL_TEXTFIT, new CGXComboBox(this, kFitComboEditId, kFitComboListId, kFitComboMode));
    RegisterEntityCellControls(this);

    CGXGridParam* pParam = GetParam();
    pParam->EnableUndo(FALSE);
    // The panel's caption stands in for the header row and the row headers.
    HideRows(0, 0, TRUE, nullptr, 0);
    HideCols(0, 0, TRUE, nullptr, 0);
    SetRowCount(0, 0);
    SetColCount(2, 0);
    SetValueRange(CGXRange(0, 1), "Key", gxOverride, 0, 0);
    SetValueRange(CGXRange(0, 2), "Value", gxOverride, 0, 0);
    SetStyleRange(CGXRange().SetCols(1),
                  &CGXStyle().SetControl(GX_IDS_CTRL_COMBOBOX).SetChoiceList(s_keyChoices), gxOverride, -1, nullptr, 0);
    SetStyleRange(CGXRange().SetCols(2), &CGXStyle().SetInterior(kSilver), gxOverride, -1, nullptr, 0);
    pParam->EnableUndo(TRUE);
    if (m_hWnd)
        ShowWindow(SW_SHOW);
}

BOOL CEntityGrid::AddRow()
{
    SetRowCount(GetRowCount() + 1);
    return TRUE;
}

BOOL CEntityGrid::RemoveRow()
{
    ROWCOL nRow = 0, nCol = 0;
    if (!GetCurrentCellPos(nRow, nCol) || nRow < 1 || nRow > GetRowCount())
        return FALSE;
    // The row goes whatever its cell holds: an unfinished edit is no reason to keep it.
    TransferCurrentCell(FALSE);
    RemoveRows(nRow, nRow);
    NotifyModified();
    return TRUE;
}

int CEntityGrid::GetColWidth(ROWCOL nCol)
{
    int nWidth = CGXGridWnd::GetColWidth(nCol);
    if (IsPrinting() || nCol != GetColCount() || nWidth == 0 || !m_hWnd)
        return nWidth;
    CRect rect;
    GetGridRect(&rect);
    int nFill = rect.Width() - CalcSumOfColWidths(0, nCol - 1) - 1;
    return std::max(nWidth, nFill);
}

CString CEntityGrid::GetCellText(ROWCOL nRow, ROWCOL nCol)
{
    CString text;
    CGXControl* pControl = IsCurrentCellAt(nRow, nCol) ? GetCurrentCellControl() : nullptr;
    if (pControl && pControl->IsActive() && pControl->GetCurrentText(text))
        return text;
    return GetCellValue(nRow, nCol);
}

BOOL CEntityGrid::OnValidateCell(ROWCOL nRow, ROWCOL nCol)
{
    if (nCol == 1 && GetCellText(nRow, 1).IsEmpty()) {
        SetTextField("Please enter a key, it cannot be blank.");
        return FALSE;
    }
    if ((nCol == 1 || nCol == 2) && !IsWritableKeyText(GetCellText(nRow, nCol))) {
        SetTextField(kUnwritableKeyText);
        return FALSE;
    }
    // The game reads the mangle of a key written exactly so.
    if (nCol == 2 && GetCellText(nRow, 1) == "mangle") {
        CString warning = CheckMangleValue(GetCellText(nRow, 2));
        if (!warning.IsEmpty()) {
            SetTextField(warning);
            return FALSE;
        }
    }
    return CGXGridWnd::OnValidateCell(nRow, nCol);
}

void CEntityGrid::OnCellModified(ROWCOL nRow, ROWCOL nCol)
{
    CGXGridWnd::OnCellModified(nRow, nCol);
    if (nCol == 1) {
        CString key = GetCellText(nRow, 1);
        CGXStyle style;
        if (key.IsEmpty()) {
            style.SetInterior(kSilver);
        } else {
            style.SetInterior(::GetSysColor(COLOR_WINDOW));
            BOOL reset = FALSE;
            CString value;
            if (WORD id = EntityValueControlForTypedKey(key, reset, value))
                style.SetControl(id);
            if (reset)
                style.SetValue(value);
        }
        SetStyleRange(CGXRange(nRow, 2), &style, gxOverride);
    }
    NotifyModified();
}

void CEntityGrid::NotifyModified()
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_ENTITY_MODIFIED, 0, 0);
}

LRESULT CEntityGrid::OnLoadEntity(WPARAM wParam, LPARAM)
{
    auto* pEntity = reinterpret_cast<Entity*>(wParam);
    CGXGridParam* pParam = GetParam();
    if (!pParam)
        return 0;
    // What the old rows' cell held is dropped with them: the rows show another entity now.
    TransferCurrentCell(FALSE);
    pParam->EnableUndo(FALSE);
    pParam->EmptyUndoList();
    SetRowCount(0, 0);
    if (pEntity) {
        CPtrList& pairs = pEntity->GetKeyValues();
        SetRowCount(static_cast<ROWCOL>(pairs.GetCount()), 0);
        ROWCOL nRow = 1;
        for (POSITION pos = pairs.GetHeadPosition(); pos; ++nRow) {
            auto* pPair = static_cast<CKeyValue*>(pairs.GetNext(pos));
            SetValueRange(CGXRange(nRow, 1), pPair->GetKey(), gxOverride, 0, 0);
            if (pPair->GetKey() == "classname") {
                SetValueRange(CGXRange(nRow, 2), pPair->GetValue(), gxOverride, 0, 0);
                continue;
            }
            CGXStyle style;
            style.SetValue(pPair->GetValue()).SetInterior(::GetSysColor(COLOR_WINDOW));
            if (WORD id = EntityValueControlForLoadedKey(pPair->GetKey()))
                style.SetControl(id);
            SetStyleRange(CGXRange(nRow, 2), &style, gxOverride, 0, nullptr, 0);
        }
    }
    pParam->EnableUndo(TRUE);
    if (m_hWnd)
        Redraw(GX_INVALIDATE);
    return 0;
}

LRESULT CEntityGrid::OnOriginChanged(WPARAM wParam, LPARAM)
{
    auto origin = reinterpret_cast<LPCSTR>(wParam);
    if (!origin)
        return 0;
    for (ROWCOL nRow = 1; nRow <= GetRowCount(); ++nRow) {
        if (GetCellValue(nRow, 1) == "origin") {
            SetValueRange(CGXRange(nRow, 2), origin);
            break;
        }
    }
    return 0;
}

LRESULT CEntityGrid::OnApply(WPARAM wParam, LPARAM)
{
    const BOOL bSilent = wParam != 0;
    // The Apply button takes what is typed in the current cell too; a refresh while the user
    // drags the entity leaves the cell's edit alone.
    if (!bSilent)
        TransferCurrentCell(TRUE);
    CWnd* pMain = AfxGetMainWnd();
    auto* pEntity = pMain ? reinterpret_cast<Entity*>(pMain->SendMessage(WM_ENTITY_QUERY, 0, 0)) : nullptr;
    if (!pEntity)
        return 0;
    pEntity->DeleteKeyValues();
    for (ROWCOL nRow = 1; nRow <= GetRowCount(); ++nRow) {
        CString key = GetCellValue(nRow, 1);
        CString value = GetCellValue(nRow, 2);
        // The model refuses what the file cannot hold, should a cell's check have been passed by.
        if (key.IsEmpty() || value.IsEmpty() || !pEntity->AddKeyValue(key, value)) {
            if (!bSilent)
                Report().Box(MB_OK | MB_ICONEXCLAMATION, "The Key/Value pair on row %d is invalid, it will be ignored.",
                             static_cast<int>(nRow));
            continue;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------
// The panel

CGridPanel::~CGridPanel()
{
    if (m_pGrid && m_pGrid->m_hWnd)
        m_pGrid->DestroyWindow();
    delete m_pGrid;
    if (m_hWnd)
        DestroyWindow();
}

void CGridPanel::PostNcDestroy()
{
    // The grid's window went with the placeholder; the object stays until the panel goes.
}

BOOL CGridPanel::Create(CWnd* pParent, UINT nPlaceholderId)
{
    if (!pParent || !pParent->m_hWnd || m_hWnd)
        return FALSE;
    HWND hPlace = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nPlaceholderId));
    if (!hPlace)
        return FALSE;
    UINT nId = 32767;
    while (nId > 0 && ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nId)))
        --nId;
    if (!CreateEx(0, "static", "", WS_CHILD | WS_CLIPCHILDREN | SS_SUNKEN, CRect(0, 0, 0, 0), pParent, nId))
        return FALSE;
    SetFont(pParent->GetFont(), FALSE);
    for (int i = 0; i < btnCount; ++i)
        SECLoadSysColorBitmap(m_bitmaps[i], kBitmapIds[i]);

    CRect rect;
    ::GetWindowRect(hPlace, &rect);
    pParent->ScreenToClient(&rect);
    HWND hPrev = ::GetWindow(hPlace, GW_HWNDPREV);
    ::SetWindowPos(m_hWnd, hPrev ? hPrev : HWND_TOP, rect.left, rect.top, rect.Width(), rect.Height(),
                   SWP_NOACTIVATE);
    m_hPlaceholder = hPlace;
    ::SetWindowLongPtrA(hPlace, GWL_STYLE, ::GetWindowLongPtrA(hPlace, GWL_STYLE) | WS_CLIPCHILDREN);
    ::SetParent(hPlace, m_hWnd);
    m_nCaption = LoadCaption();

    m_pGrid = new CEntityGrid(this);
    if (!m_pGrid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VSCROLL | WS_TABSTOP, CRect(0, 0, 0, 0),
                         CWnd::FromHandle(hPlace), nPlaceholderId)) {
        delete m_pGrid;
        m_pGrid = nullptr;
        return FALSE;
    }
    m_pGrid->InitGrid();
    LayoutChildren();

    // The pressed look of each button: its image one pixel down and right in a sunken border.
    CClientDC dc(this);
    for (int i = 0; i < btnCount; ++i) {
        BITMAP bm = {};
        if (!m_bitmaps[i].GetSafeHandle() || !::GetObjectA(m_bitmaps[i].GetSafeHandle(), sizeof bm, &bm))
            continue;
        CDC src, dst;
        src.CreateCompatibleDC(&dc);
        dst.CreateCompatibleDC(&dc);
        m_pressed[i].CreateCompatibleBitmap(&dc, bm.bmWidth, bm.bmHeight);
        CBitmap* pOldSrc = src.SelectObject(&m_bitmaps[i]);
        CBitmap* pOldDst = dst.SelectObject(&m_pressed[i]);
        dst.FillSolidRect(0, 0, bm.bmWidth, bm.bmHeight, ::GetSysColor(COLOR_BTNFACE));
        dst.BitBlt(1, 1, bm.bmWidth - 1, bm.bmHeight - 1, &src, 0, 0, SRCCOPY);
        dst.Draw3dRect(0, 0, bm.bmWidth, bm.bmHeight, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        src.SelectObject(pOldSrc);
        dst.SelectObject(pOldDst);
    }
    if (m_tips.Create(this)) {
        for (int i = 0; i < btnCount; ++i)
            m_tips.AddTool(this, kTipTextIds[i], &m_rectButtons[i], kTipIds[i]);
        m_tips.Activate(TRUE);
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}

int CGridPanel::LoadCaption()
{
    CClientDC dc(this);
    CFont* pFont = GetFont();
    CFont* pOld = pFont ? dc.SelectObject(pFont) : nullptr;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc.m_hDC, &tm);
    if (pOld)
        dc.SelectObject(pOld);
    int cy = tm.tmHeight + 4 * ::GetSystemMetrics(SM_CYBORDER);
    for (CBitmap& bitmap : m_bitmaps) {
        BITMAP bm = {};
        if (bitmap.GetSafeHandle() && ::GetObjectA(bitmap.GetSafeHandle(), sizeof bm, &bm))
            cy = std::max(cy, static_cast<int>(bm.bmHeight) + 2);
    }
    return cy;
}

void CGridPanel::LayoutChildren()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    // Delete at the right end, New to its left, each as wide as its bitmap.
    int x = client.right;
    for (int i = btnCount - 1; i >= 0; --i) {
        BITMAP bm = {};
        int cx = 16, cy = 16;
        if (m_bitmaps[i].GetSafeHandle() && ::GetObjectA(m_bitmaps[i].GetSafeHandle(), sizeof bm, &bm)) {
            cx = bm.bmWidth;
            cy = bm.bmHeight;
        }
        int top = client.top + std::max(0, (m_nCaption - cy) / 2);
        m_rectButtons[i] = CRect(x - cx - 1, top, x - 1, top + cy);
        x -= cx + 1;
        if (m_tips.m_hWnd)
            m_tips.SetToolRect(this, kTipIds[i], &m_rectButtons[i]);
    }
    if (m_hPlaceholder) {
        int cy = std::max(0, client.Height() - m_nCaption);
        ::MoveWindow(m_hPlaceholder, 0, m_nCaption, client.Width(), cy, TRUE);
        if (m_pGrid && m_pGrid->m_hWnd) {
            CRect inner;
            ::GetClientRect(m_hPlaceholder, &inner);
            m_pGrid->MoveWindow(&inner);
        }
    }
    InvalidateRect(CRect(client.left, client.top, client.right, client.top + m_nCaption));
}

void CGridPanel::RunButton(int nButton)
{
    if (!m_pGrid)
        return;
    if (nButton == btnNew)
        m_pGrid->AddRow();
    else if (nButton == btnDelete)
        m_pGrid->RemoveRow();
}

void CGridPanel::DrawButton(CDC* pDC, int nButton)
{
    CBitmap& bitmap = IsButtonDrawnPressed(nButton) && m_pressed[nButton].GetSafeHandle() ? m_pressed[nButton]
                                                                                          : m_bitmaps[nButton];
    const CRect& rect = m_rectButtons[nButton];
    if (!bitmap.GetSafeHandle()) {
        pDC->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
        return;
    }
    CDC mem;
    mem.CreateCompatibleDC(pDC);
    CBitmap* pOld = mem.SelectObject(&bitmap);
    pDC->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
}

void CGridPanel::OnPaintCaption()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CRect strip(client.left, client.top, client.right, client.top + m_nCaption);
    dc.FillSolidRect(strip, ::GetSysColor(COLOR_BTNFACE));
    CString text;
    GetWindowText(text);
    CFont* pFont = GetFont();
    CFont* pOld = pFont ? dc.SelectObject(pFont) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    CRect textRect = strip;
    textRect.left += 2 * ::GetSystemMetrics(SM_CXBORDER);
    textRect.right = m_rectButtons[btnNew].left;
    dc.DrawText(text, textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (pOld)
        dc.SelectObject(pOld);
    for (int i = 0; i < btnCount; ++i)
        DrawButton(&dc, i);
}

void CGridPanel::OnButtonDown(CPoint point)
{
    int nButton = -1;
    for (int i = 0; i < btnCount; ++i) {
        if (m_rectButtons[i].PtInRect(point))
            nButton = i;
    }
    if (nButton < 0)
        return;
    // The button shows pressed while the pointer stays inside it, until the button is released.
    m_nTracked = nButton;
    m_bReleasedInside = SECTrackButtonPress(this, m_rectButtons[nButton], [this, nButton](BOOL bPressed) {
        m_bInside = bPressed;
        InvalidateRect(&m_rectButtons[nButton], FALSE);
        UpdateWindow();
    });
    m_nTracked = -1;
    if (m_bReleasedInside)
        RunButton(nButton);
}

LRESULT CGridPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaintCaption();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    case WM_MOUSEMOVE:
        if (m_tips.m_hWnd) {
            MSG msg = {m_hWnd, message, wParam, lParam, 0, {}};
            m_tips.RelayEvent(&msg);
        }
        break;
    case WM_SIZE: {
        LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        LayoutChildren();
        return result;
    }
    case WM_SETTEXT: {
        LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        Invalidate();
        return result;
    }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
