// The toolbar customisation dialogs.
#include "SECToolBarDlgs.h"
#include "SECRes.h"
#include <algorithm>

// ---- SECToolBarsDlgData -----------------------------------------------------------------------

void SECToolBarsDlgData::Init(SECToolBarManager* pManager)
{
    m_pManager = pManager;
    if (pManager == nullptr)
        return;
    m_bToolTips = m_bInitToolTips = pManager->ToolTipsEnabled();
    m_bCoolLook = m_bInitCoolLook = pManager->CoolLookEnabled();
    m_bLargeButtons = m_bInitLargeButtons = pManager->LargeButtonsEnabled();
}

void SECToolBarsDlgData::Apply()
{
    if (m_pManager == nullptr)
        return;
    m_pManager->EnableToolTips(m_bToolTips);
    m_pManager->EnableCoolLook(m_bCoolLook, CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER);
    m_pManager->EnableLargeButtons(m_bLargeButtons);
}

void SECToolBarsDlgData::Restore()
{
    m_bToolTips = m_bInitToolTips;
    m_bCoolLook = m_bInitCoolLook;
    m_bLargeButtons = m_bInitLargeButtons;
    Apply();
}

BOOL SECToolBarsDlgData::Attach(CWnd* pDlg)
{
    m_pDlg = pDlg;
    return m_list.m_hWnd != nullptr || m_list.SubclassDlgItem(IDC_SEC_TOOLBARLIST, pDlg);
}

SECCustomToolBar* SECToolBarsDlgData::ToolBarOf(UINT nID) const
{
    if (m_pManager == nullptr)
        return nullptr;
    for (SECCustomToolBar* pBar : m_pManager->GetToolBars())
        if ((UINT)::GetDlgCtrlID(pBar->m_hWnd) == nID)
            return pBar;
    return nullptr;
}

int SECToolBarsDlgData::IndexOf(UINT nID) const
{
    if (m_list.m_hWnd == nullptr)
        return -1;
    for (int i = 0; i < m_list.GetCount(); i++)
        if ((UINT)m_list.GetItemData(i) == nID)
            return i;
    return -1;
}

SECCustomToolBar* SECToolBarsDlgData::SelectedToolBar() const
{
    int nSel = m_list.m_hWnd != nullptr ? m_list.GetCurSel() : -1;
    return nSel >= 0 ? ToolBarOf((UINT)m_list.GetItemData(nSel)) : nullptr;
}

void SECToolBarsDlgData::Fill()
{
    if (m_list.m_hWnd == nullptr || m_pManager == nullptr)
        return;
    m_list.ResetContent();
    for (SECCustomToolBar* pBar : m_pManager->GetToolBars()) {
        CString title;
        pBar->GetWindowText(title);
        int nIndex = m_list.AddString(title);
        m_list.SetItemData(nIndex, (DWORD_PTR)::GetDlgCtrlID(pBar->m_hWnd));
        m_list.SetCheck(nIndex, pBar->IsVisible() ? 1 : 0);
    }
    m_list.SetCurSel(0);
    UpdateSelection();
}

void SECToolBarsDlgData::SetChecks()
{
    if (m_pDlg == nullptr || m_pDlg->m_hWnd == nullptr)
        return;
    m_pDlg->CheckDlgButton(IDC_SEC_TOOLTIPS, m_bToolTips);
    m_pDlg->CheckDlgButton(IDC_SEC_COOLLOOK, m_bCoolLook);
    m_pDlg->CheckDlgButton(IDC_SEC_LARGEBUTTONS, m_bLargeButtons);
}

void SECToolBarsDlgData::UpdateSelection()
{
    if (m_pDlg == nullptr || m_pDlg->m_hWnd == nullptr)
        return;
    HWND hDlg = m_pDlg->m_hWnd;
    HWND hEdit = ::GetDlgItem(hDlg, IDC_SEC_TOOLBARNAME);
    HWND hLabel = ::GetDlgItem(hDlg, IDC_SEC_NAMELABEL);
    CString strReset, strDelete;
    strReset.LoadString(IDS_SEC_RESET);
    strDelete.LoadString(IDS_SEC_DELETE);
    SECCustomToolBar* pBar = SelectedToolBar();
    if (pBar == nullptr) {
        ::SetWindowTextA(hEdit, "");
        ::EnableWindow(hEdit, FALSE);
        ::EnableWindow(hLabel, FALSE);
        ::SetDlgItemTextA(hDlg, IDC_SEC_RESET, strReset);
        ::SendMessageA(hEdit, EM_SETMODIFY, FALSE, 0);
        return;
    }
    CString title;
    pBar->GetWindowText(title);
    ::SetWindowTextA(hEdit, title);
    BOOL bUser = (UINT)::GetDlgCtrlID(pBar->m_hWnd) >= SEC_IDW_USERTOOLBAR_FIRST;
    ::SetDlgItemTextA(hDlg, IDC_SEC_RESET, bUser ? strDelete : strReset);
    ::EnableWindow(hEdit, bUser);
    ::EnableWindow(hLabel, bUser);
    ::SendMessageA(hEdit, EM_SETMODIFY, FALSE, 0);
}

void SECToolBarsDlgData::ShowSelected()
{
    if (m_pManager == nullptr || m_pManager->m_pFrameWnd == nullptr)
        return;
    // Every toolbar follows its check (the check box clicked need not be the selected item's).
    for (int i = 0; i < m_list.GetCount(); i++) {
        SECCustomToolBar* pBar = ToolBarOf((UINT)m_list.GetItemData(i));
        BOOL bShow = m_list.GetCheck(i) == 1;
        if (pBar != nullptr && (pBar->IsVisible() != FALSE) != (bShow != FALSE))
            m_pManager->m_pFrameWnd->ShowControlBar(pBar, bShow, FALSE);
    }
}

void SECToolBarsDlgData::Rename()
{
    if (m_pDlg == nullptr)
        return;
    HWND hEdit = ::GetDlgItem(m_pDlg->m_hWnd, IDC_SEC_TOOLBARNAME);
    if (!::SendMessageA(hEdit, EM_GETMODIFY, 0, 0))
        return;
    SECCustomToolBar* pBar = SelectedToolBar();
    if (pBar == nullptr)
        return;
    char szText[128] = "";
    ::GetWindowTextA(hEdit, szText, sizeof szText);
    pBar->SetWindowText(szText);
    if (pBar->IsFloating()) {
        if (CFrameWnd* pFrame = pBar->GetParentFrame())
            pFrame->SetWindowText(szText);
    }
    ::SendMessageA(hEdit, EM_SETMODIFY, FALSE, 0);
    int nSel = m_list.GetCurSel();
    int nCheck = m_list.GetCheck(nSel);
    DWORD_PTR dwData = m_list.GetItemData(nSel);
    m_list.DeleteString((UINT)nSel);
    m_list.InsertString(nSel, szText);
    m_list.SetItemData(nSel, dwData);
    m_list.SetCheck(nSel, nCheck);
    m_list.SetCurSel(nSel);
}

BOOL SECToolBarsDlgData::NewToolBar()
{
    if (m_pManager == nullptr || m_pManager->m_pFrameWnd == nullptr)
        return FALSE;
    SECNewToolBarDlg dlg(m_pDlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    SECCustomToolBar* pBar = m_pManager->CreateUserToolBar(dlg.m_strName);
    if (pBar == nullptr)
        return FALSE;
    CFrameWnd* pFrame = m_pManager->m_pFrameWnd;
    CPoint pt;
    CControlBar* pTop = pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    if (pTop != nullptr && pTop->m_hWnd != nullptr) {
        CRect rect;
        pTop->GetWindowRect(&rect);
        pt = CPoint(rect.left + 5, rect.bottom + 5);
    }
    else {
        CRect rect;
        pFrame->GetClientRect(&rect);
        pFrame->ClientToScreen(&rect);
        pt = CPoint(rect.left + 5, rect.top + 5);
    }
    pFrame->FloatControlBar(pBar, pt, CBRS_ALIGN_TOP);
    return TRUE;
}

void SECToolBarsDlgData::ResetOrDelete()
{
    SECCustomToolBar* pBar = SelectedToolBar();
    if (pBar == nullptr || m_pManager == nullptr)
        return;
    UINT nID = (UINT)::GetDlgCtrlID(pBar->m_hWnd);
    CFrameWnd* pFrame = m_pManager->m_pFrameWnd;
    if (nID < SEC_IDW_USERTOOLBAR_FIRST) {
        UINT nCount = 0;
        const UINT* pIDs = nullptr;
        if (!m_pManager->GetDefaultButtons(nID, nCount, pIDs))
            return;
        pBar->SetButtons(pIDs, (int)nCount);
        if (pBar->IsFloating() && pBar->GetParentFrame() != nullptr)
            pBar->GetParentFrame()->RecalcLayout();
        if (pFrame != nullptr)
            pFrame->RecalcLayout();
        pBar->Invalidate();
        return;
    }
    pBar->DestroyBar();
}

void SECToolBarsDlgData::OnBarNotify(UINT nBarID, int nCode)
{
    if (m_list.m_hWnd == nullptr)
        return;
    int nIndex = IndexOf(nBarID);
    switch (nCode) {
    case 0:
    case 1:
        if (nIndex >= 0)
            m_list.SetCheck(nIndex, nCode == 0 ? 1 : 0);
        break;
    case 2: {
        SECCustomToolBar* pBar = ToolBarOf(nBarID);
        if (pBar == nullptr || nIndex >= 0)
            break;
        int nInsert = 0;
        while (nInsert < m_list.GetCount() && (UINT)m_list.GetItemData(nInsert) <= nBarID)
            nInsert++;
        // The checks of the items after it move with them.
        std::vector<int> checks;
        for (int i = 0; i < m_list.GetCount(); i++)
            checks.push_back(m_list.GetCheck(i));
        CString title;
        pBar->GetWindowText(title);
        int nSel = m_list.GetCurSel();
        m_list.InsertString(nInsert, title);
        m_list.SetItemData(nInsert, nBarID);
        checks.insert(checks.begin() + nInsert, 1);
        for (int i = 0; i < (int)checks.size(); i++)
            m_list.SetCheck(i, checks[(size_t)i]);
        if (nSel >= nInsert)
            m_list.SetCurSel(nSel + 1);
        break;
    }
    case 3: {
        if (nIndex < 0)
            break;
        BOOL bWasSelected = m_list.GetCurSel() == nIndex;
        std::vector<int> checks;
        for (int i = 0; i < m_list.GetCount(); i++)
            checks.push_back(m_list.GetCheck(i));
        m_list.DeleteString((UINT)nIndex);
        checks.erase(checks.begin() + nIndex);
        for (int i = 0; i < (int)checks.size(); i++)
            m_list.SetCheck(i, checks[(size_t)i]);
        if (bWasSelected) {
            int nCount = m_list.GetCount();
            m_list.SetCurSel(nIndex < nCount ? nIndex : nCount - 1);
            UpdateSelection();
        }
        break;
    }
    }
}

void SECToolBarsDlgData::OnToolTips()
{
    m_bToolTips = m_pDlg->IsDlgButtonChecked(IDC_SEC_TOOLTIPS) != 0;
    if (m_pManager != nullptr)
        m_pManager->EnableToolTips(m_bToolTips);
}

void SECToolBarsDlgData::OnCoolLook()
{
    m_bCoolLook = m_pDlg->IsDlgButtonChecked(IDC_SEC_COOLLOOK) != 0;
    if (m_pManager != nullptr)
        m_pManager->EnableCoolLook(m_bCoolLook, CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER);
}

void SECToolBarsDlgData::OnLargeButtons()
{
    m_bLargeButtons = m_pDlg->IsDlgButtonChecked(IDC_SEC_LARGEBUTTONS) != 0;
    if (m_pManager != nullptr)
        m_pManager->EnableLargeButtons(m_bLargeButtons);
}

BOOL SECToolBarsDlgData::OnCommand(UINT nID, UINT nCode)
{
    switch (nID) {
    case IDC_SEC_TOOLBARLIST:
        if (nCode == CLBN_CHKCHANGE)
            ShowSelected();
        else if (nCode == LBN_SELCHANGE)
            UpdateSelection();
        return nCode == CLBN_CHKCHANGE || nCode == LBN_SELCHANGE;
    case IDC_SEC_TOOLBARNAME:
        if (nCode == EN_KILLFOCUS)
            Rename();
        return nCode == EN_KILLFOCUS;
    case IDC_SEC_RESET:
        if (nCode == BN_CLICKED)
            ResetOrDelete();
        return TRUE;
    case IDC_SEC_TOOLTIPS:
        if (nCode == BN_CLICKED)
            OnToolTips();
        return TRUE;
    case IDC_SEC_COOLLOOK:
        if (nCode == BN_CLICKED)
            OnCoolLook();
        return TRUE;
    case IDC_SEC_LARGEBUTTONS:
        if (nCode == BN_CLICKED)
            OnLargeButtons();
        return TRUE;
    }
    return FALSE;
}

// ---- SECToolBarsDlg ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECToolBarsDlg, CDialog)

SECToolBarsDlg::SECToolBarsDlg(SECToolBarManager* pManager, CWnd* pParent) : CDialog(IDD_SEC_TOOLBARSDLG, pParent)
{
    m_data.Init(pManager);
}

BOOL SECToolBarsDlg::OnInitDialog()
{
    m_data.Attach(this);
    CDialog::OnInitDialog();
    CenterWindow();
    m_data.Fill();
    m_data.SetChecks();
    if (SECToolBarManager* pManager = m_data.m_pManager) {
        pManager->BeginCustomize();
        pManager->SetCustomizeMode(TRUE);
        pManager->SetCustomizeWindow(this);
        pManager->AddNotifyWindow(this);
    }
    return TRUE;
}

void SECToolBarsDlg::EndCustomise(int nResult)
{
    if (SECToolBarManager* pManager = m_data.m_pManager) {
        pManager->EndCustomize();
        pManager->SetCustomizeMode(FALSE);
        pManager->RemoveNotifyWindow(this);
        pManager->SetCustomizeWindow(nullptr);
    }
    if (nResult != IDCANCEL)
        m_data.Apply();
}

void SECToolBarsDlg::OnOK()
{
    EndCustomise(IDOK);
    EndDialog(IDOK);
}

void SECToolBarsDlg::OnCancel()
{
    // The three settings were applied as they were clicked: Escape keeps them.
    EndCustomise(IDCANCEL);
    EndDialog(IDCANCEL);
}

BOOL SECToolBarsDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam), nCode = HIWORD(wParam);
    if (lParam != 0) {
        if (nID == IDC_SEC_CUSTOMIZE && nCode == BN_CLICKED) {
            EndCustomise(IDC_SEC_CUSTOMIZE);
            EndDialog(IDC_SEC_CUSTOMIZE);
            return TRUE;
        }
        if (nID == IDC_SEC_NEWTOOLBAR && nCode == BN_CLICKED) {
            if (m_data.NewToolBar()) {
                EndCustomise(IDC_SEC_CUSTOMIZE);
                EndDialog(IDC_SEC_CUSTOMIZE);
            }
            return TRUE;
        }
        if (m_data.OnCommand(nID, nCode))
            return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT SECToolBarsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wmSECBarNotify != 0 && message == wmSECBarNotify) {
        m_data.OnBarNotify((UINT)wParam, (int)lParam);
        return 0;
    }
    if (message == WM_ACTIVATE) {
        // The frame and its floating toolbars show their captions active while this dialog is.
        LRESULT lResult = CDialog::WindowProc(message, wParam, lParam);
        CFrameWnd* pFrame = m_data.m_pManager != nullptr ? m_data.m_pManager->m_pFrameWnd : nullptr;
        if (pFrame != nullptr && pFrame->m_hWnd != nullptr)
            pFrame->NotifyFloatingWindows(LOWORD(wParam) != WA_INACTIVE ? FS_ACTIVATE : FS_DEACTIVATE);
        return lResult;
    }
    if (message == WM_FLOATSTATUS) {
        // The frame tells its palettes (this dialog among them): the caption follows the frame's.
        // While the dialog is the active window its own activation draws it.
        if ((wParam & (FS_ACTIVATE | FS_DEACTIVATE)) && ::GetActiveWindow() != m_hWnd)
            SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

INT_PTR SECToolBarManager::ExecViewToolBarsDlg()
{
    SECToolBarsDlg dlg(this, m_pFrameWnd);
    return dlg.DoModal();
}

// ---- SECToolBarsPage --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECToolBarsPage, CPropertyPage)

SECToolBarsPage::SECToolBarsPage(SECToolBarManager* pManager, UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(nIDTemplate, nIDCaption)
{
    m_data.Init(pManager);
}

SECToolBarsPage::~SECToolBarsPage()
{
    if (SECToolBarManager* pManager = m_data.m_pManager) {
        pManager->RemoveNotifyWindow(this);
        pManager->SetCustomizeWindow(nullptr);
    }
}

void SECToolBarsPage::SetManager(SECToolBarManager* pManager)
{
    m_data.Init(pManager);
}

BOOL SECToolBarsPage::OnInitDialog()
{
    m_data.Attach(this);
    CPropertyPage::OnInitDialog();
    m_data.Fill();
    m_data.SetChecks();
    if (m_data.m_pManager != nullptr)
        m_data.m_pManager->AddNotifyWindow(this);
    return TRUE;
}

BOOL SECToolBarsPage::OnSetActive()
{
    if (SECToolBarManager* pManager = m_data.m_pManager) {
        pManager->SetCustomizeMode(TRUE);
        pManager->BeginCustomize();
        pManager->SetCustomizeWindow(GetParent());
    }
    return CPropertyPage::OnSetActive();
}

BOOL SECToolBarsPage::OnKillActive()
{
    if (SECToolBarManager* pManager = m_data.m_pManager) {
        pManager->SetCustomizeMode(FALSE);
        pManager->EndCustomize();
    }
    if (CWnd* pSheet = GetParent())
        pSheet->EnableWindow(TRUE);
    return CPropertyPage::OnKillActive();
}

void SECToolBarsPage::OnReset()
{
    if (SECToolBarManager* pManager = m_data.m_pManager) {
        pManager->SetCustomizeMode(FALSE);
        pManager->EndCustomize();
        pManager->SetCustomizeWindow(nullptr);
    }
    CPropertyPage::OnReset();
}

void SECToolBarsPage::OnOK()
{
    CPropertyPage::OnOK();
    m_data.Apply();
}

void SECToolBarsPage::OnCancel()
{
    CPropertyPage::OnCancel();
    m_data.Restore();
}

void SECToolBarsPage::TellSiblings(WPARAM wWhat)
{
    CWnd* pSheet = GetParent();
    if (pSheet == nullptr || wmSECToolBarStyleChanging == 0)
        return;
    for (HWND hWnd = ::GetWindow(pSheet->m_hWnd, GW_CHILD); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd == m_hWnd)
            continue;
        if (dynamic_cast<CPropertyPage*>(CWnd::FromHandlePermanent(hWnd)) != nullptr)
            ::SendMessageA(hWnd, wmSECToolBarStyleChanging, wWhat, 0);
    }
}

BOOL SECToolBarsPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam), nCode = HIWORD(wParam);
    if (lParam != 0) {
        if (nID == IDC_SEC_NEWTOOLBAR && nCode == BN_CLICKED) {
            m_data.NewToolBar();
            return TRUE;
        }
        if (m_data.OnCommand(nID, nCode)) {
            if (nID == IDC_SEC_COOLLOOK && nCode == BN_CLICKED)
                TellSiblings(2);
            else if (nID == IDC_SEC_LARGEBUTTONS && nCode == BN_CLICKED)
                TellSiblings(1);
            return TRUE;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT SECToolBarsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wmSECBarNotify != 0 && message == wmSECBarNotify) {
        m_data.OnBarNotify((UINT)wParam, (int)lParam);
        return 0;
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

// ---- SECToolBarCmdPage ------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECToolBarCmdPage, CPropertyPage)

SECToolBarCmdPage::SECToolBarCmdPage() : SECToolBarCmdPage(IDD_SEC_TOOLBARCMDPAGE, 0) {}

SECToolBarCmdPage::SECToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(nIDTemplate, nIDCaption), m_pManager(nullptr), m_nCurrent(-1), m_rectArea(0, 0, 0, 0)
{
}

SECToolBarCmdPage::~SECToolBarCmdPage()
{
    if (m_pManager != nullptr) {
        m_pManager->RemoveNotifyWindow(this);
        m_pManager->SetCustomizeWindow(nullptr);
    }
    DestroyPalettes();
}

void SECToolBarCmdPage::DestroyPalettes()
{
    for (Category& category : m_categories) {
        if (category.pPalette != nullptr) {
            if (m_pManager != nullptr && m_pManager->m_pSelectedToolBar == category.pPalette)
                m_pManager->m_pSelectedToolBar = nullptr;
            if (category.pPalette->m_hWnd != nullptr)
                category.pPalette->DestroyWindow();
            delete category.pPalette;
            category.pPalette = nullptr;
        }
    }
    m_nCurrent = -1;
}

void SECToolBarCmdPage::DefineBtnGroup(LPCSTR lpszTitle, int nCount, const UINT* pIDs)
{
    Category category;
    category.strTitle = lpszTitle != nullptr ? lpszTitle : "";
    if (pIDs != nullptr && nCount > 0)
        category.ids.assign(pIDs, pIDs + nCount);
    m_categories.push_back(category);
}

void SECToolBarCmdPage::SetManager(SECToolBarManager* pManager)
{
    m_pManager = pManager;
    if (m_hWnd != nullptr && pManager != nullptr)
        pManager->AddNotifyWindow(this);
}

SECCustomizeToolBar* SECToolBarCmdPage::GetPalette(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCategoryCount() ? m_categories[(size_t)nIndex].pPalette : nullptr;
}

void SECToolBarCmdPage::LayoutPalette(SECCustomizeToolBar* pPalette, int cx)
{
    pPalette->MarkLayoutDirty();
    CSize size = pPalette->CalcDynamicLayout(cx, LM_HORZ | LM_COMMIT);
    // Above the "Buttons" group box it lies in: a bar clips its siblings, and below the box it
    // would show nothing at all.
    ::SetWindowPos(pPalette->m_hWnd, HWND_TOP, m_rectArea.left, m_rectArea.top,
                   std::min(size.cx + 2, (LONG)m_rectArea.Width()), std::min(size.cy + 2, (LONG)m_rectArea.Height()),
                   SWP_NOACTIVATE);
    pPalette->Invalidate();
}

BOOL SECToolBarCmdPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    DestroyPalettes();
    HWND hArea = ::GetDlgItem(m_hWnd, IDC_SEC_PALETTEAREA);
    if (hArea != nullptr) {
        ::GetWindowRect(hArea, &m_rectArea);
        ScreenToClient(&m_rectArea);
        CRect rectInset(0, 0, 6, 8);
        MapDialogRect(&rectInset);
        m_rectArea.DeflateRect(rectInset.right, rectInset.bottom);
    }
    HWND hList = ::GetDlgItem(m_hWnd, IDC_SEC_TOOLBARLIST);
    if (hList != nullptr)
        ::SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    UINT nID = SEC_IDW_USERTOOLBAR_LAST;
    for (size_t i = 0; i < m_categories.size(); i++, nID--) {
        Category& category = m_categories[i];
        auto* pPalette = new SECCustomizeToolBar;
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BORDER_3D | CBRS_SIZE_DYNAMIC | CBRS_FLOATING;
        if (m_pManager != nullptr && m_pManager->FlyByEnabled())
            dwStyle |= CBRS_FLYBY;
        DWORD dwExStyle = m_pManager != nullptr ? m_pManager->GetToolBarExStyle() : 0;
        if (!pPalette->Create(dwExStyle, this, dwStyle & ~WS_VISIBLE, nID, category.strTitle)) {
            delete pPalette;
            return FALSE;
        }
        category.pPalette = pPalette;
        if (m_pManager != nullptr) {
            pPalette->SetManager(m_pManager);
            m_pManager->ApplyBitmap(pPalette);
            if (m_pManager->m_pFrameWnd != nullptr)
                pPalette->m_hWndOwner = m_pManager->m_pFrameWnd->m_hWnd;
        }
        pPalette->SetButtons(category.ids.data(), (int)category.ids.size());
        LayoutPalette(pPalette, m_rectArea.Width());
        if (hList != nullptr)
            ::SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)category.strTitle);
    }
    if (hList != nullptr)
        ::SendMessageA(hList, LB_SETCURSEL, 0, 0);
    if (!m_categories.empty()) {
        m_categories[0].pPalette->ShowWindow(SW_SHOWNA);
        m_nCurrent = 0;
    }
    if (m_pManager != nullptr)
        m_pManager->AddNotifyWindow(this);
    return TRUE;
}

void SECToolBarCmdPage::SelectCategory(int nIndex)
{
    if (SECCustomizeToolBar* pOld = GetPalette(m_nCurrent))
        pOld->SetCustomizeMode(FALSE);
    m_nCurrent = nIndex;
    for (int i = 0; i < GetCategoryCount(); i++) {
        SECCustomizeToolBar* pPalette = GetPalette(i);
        if (pPalette == nullptr)
            continue;
        if (i == nIndex) {
            pPalette->SetCustomizeMode(TRUE);
            pPalette->ShowWindow(SW_SHOWNA);
        }
        else {
            pPalette->ShowWindow(SW_HIDE);
        }
    }
}

BOOL SECToolBarCmdPage::OnSetActive()
{
    if (m_pManager != nullptr) {
        m_pManager->SetCustomizeMode(TRUE);
        m_pManager->BeginCustomize();
        m_pManager->SetCustomizeWindow(GetParent());
    }
    if (SECCustomizeToolBar* pPalette = GetPalette(m_nCurrent))
        pPalette->SetCustomizeMode(TRUE);
    return CPropertyPage::OnSetActive();
}

BOOL SECToolBarCmdPage::OnKillActive()
{
    if (m_pManager != nullptr) {
        m_pManager->SetCustomizeMode(FALSE);
        m_pManager->EndCustomize();
    }
    if (CWnd* pSheet = GetParent())
        pSheet->EnableWindow(TRUE);
    if (SECCustomizeToolBar* pPalette = GetPalette(m_nCurrent))
        pPalette->SetCustomizeMode(FALSE);
    return CPropertyPage::OnKillActive();
}

void SECToolBarCmdPage::OnReset()
{
    if (m_pManager != nullptr) {
        m_pManager->SetCustomizeMode(FALSE);
        m_pManager->EndCustomize();
        m_pManager->SetCustomizeWindow(nullptr);
    }
    CPropertyPage::OnReset();
}

BOOL SECToolBarCmdPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0 && LOWORD(wParam) == IDC_SEC_TOOLBARLIST && HIWORD(wParam) == LBN_SELCHANGE) {
        SelectCategory((int)::SendMessageA((HWND)lParam, LB_GETCURSEL, 0, 0));
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT SECToolBarCmdPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wmSECBarNotify != 0 && message == wmSECBarNotify) {
        if (lParam == 4 && m_pManager != nullptr) {
            CString text;
            SECCustomToolBar* pBar = m_pManager->m_pSelectedToolBar;
            SECToolBarBtn* pBtn = pBar != nullptr ? pBar->GetButton(pBar->GetSelectedIndex()) : nullptr;
            if (pBtn != nullptr && !pBtn->IsSeparator() && text.LoadString(pBtn->m_nID)) {
                int nLF = text.Find('\n');
                if (nLF >= 0)
                    text = text.Left(nLF);
            }
            else {
                text.Empty();
            }
            SetDlgItemText(IDC_SEC_DESCRIPTION, text);
        }
        return 0;
    }
    if (wmSECToolBarStyleChanging != 0 && message == wmSECToolBarStyleChanging && m_pManager != nullptr) {
        for (int i = 0; i < GetCategoryCount(); i++) {
            SECCustomizeToolBar* pPalette = GetPalette(i);
            if (pPalette == nullptr)
                continue;
            if (wParam == 1)
                m_pManager->ApplyBitmap(pPalette);
            else if (wParam == 2)
                pPalette->ModifyExBarStyle(CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER, m_pManager->GetToolBarExStyle(), FALSE);
            CRect rect;
            pPalette->GetWindowRect(&rect);
            LayoutPalette(pPalette, m_rectArea.Width());
        }
        return 0;
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

// ---- SECNewToolBarDlg -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(SECNewToolBarDlg, CDialog)

SECNewToolBarDlg::SECNewToolBarDlg(CWnd* pParent) : CDialog(IDD_SEC_NEWTOOLBAR, pParent) {}

BOOL SECNewToolBarDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_SEC_NEWNAME, m_strName);
    UpdateOK();
    return TRUE;
}

void SECNewToolBarDlg::UpdateOK()
{
    HWND hOK = ::GetDlgItem(m_hWnd, IDOK);
    if (hOK != nullptr)
        ::EnableWindow(hOK, ::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_SEC_NEWNAME)) > 0);
}

void SECNewToolBarDlg::OnOK()
{
    GetDlgItemText(IDC_SEC_NEWNAME, m_strName);
    // An empty name is no toolbar (OK is disabled then; Enter must not slip past it).
    if (m_strName.IsEmpty())
        return;
    EndDialog(IDOK);
}

BOOL SECNewToolBarDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_SEC_NEWNAME && HIWORD(wParam) == EN_CHANGE) {
        UpdateOK();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
