#include "ToolsPage.h"
#include "BuildRes.h"

IMPLEMENT_DYNAMIC(CCustomizeToolsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CCustomizeToolsPage, CPropertyPage)
    ON_WM_DESTROY()
    ON_LBN_SELCHANGE(IDC_TOOLS_LIST, OnSelChange)
    ON_MESSAGE(WM_TOOLS_ITEM_RENAMED, OnItemRenamed)
    ON_MESSAGE(WM_TOOLS_ITEM_ADDED, OnItemAdded)
    ON_MESSAGE(WM_TOOLS_ITEM_DELETED, OnItemDeleted)
    ON_MESSAGE(WM_TOOLS_ITEM_MOVED, OnItemMoved)
    ON_MESSAGE(WM_TOOLS_ITEM_DELETING, OnItemDeleting)
    ON_BN_CLICKED(IDC_TOOLS_ARGUMENTS_MENU, OnArgumentsMenu)
    ON_BN_CLICKED(IDC_TOOLS_DIRECTORY_MENU, OnDirectoryMenu)
END_MESSAGE_MAP()

namespace {

const int fieldControls[] = {
    IDC_TOOLS_COMMAND_LABEL, IDC_TOOLS_COMMAND,        IDC_TOOLS_ARGUMENTS_LABEL, IDC_TOOLS_ARGUMENTS,
    IDC_TOOLS_ARGUMENTS_MENU, IDC_TOOLS_DIRECTORY_LABEL, IDC_TOOLS_DIRECTORY,     IDC_TOOLS_DIRECTORY_MENU,
    IDC_TOOLS_OUTPUT,
};

struct MacroCommand
{
    UINT nID;
    const char* macro;
};
const MacroCommand macroCommands[] = {
    {ID_ARGS_BIN_DIR, "${BinDir}"},         {ID_ARGS_ENTITY_DIR, "${EntityDir}"},
    {ID_ARGS_OBJECT_DIR, "${ObjectDir}"},   {ID_ARGS_WAD_DIR, "${WadDir}"},
    {ID_ARGS_MAP_PATH, "${MapPath}"},       {ID_ARGS_MAP_DIR, "${MapDir}"},
    {ID_ARGS_MAP_NAME, "${MapName}"},       {ID_ARGS_PROJECT_PATH, "${ProjectPath}"},
    {ID_ARGS_PROJECT_DIR, "${ProjectDir}"}, {ID_ARGS_PROJECT_NAME, "${ProjectName}"},
    {ID_ARGS_QUAKE_DIR, "${QuakeDir}"},     {ID_ARGS_ROOT_DIR, "${RootDir}"},
    {ID_ARGS_AUTOSAVE_DIR, "${AutoSaveDir}"}, {ID_DIR_BIN_DIR, "${BinDir}"},
    {ID_DIR_ENTITY_DIR, "${EntityDir}"},    {ID_DIR_MAP_DIR, "${MapDir}"},
    {ID_DIR_OBJECT_DIR, "${ObjectDir}"},    {ID_DIR_PROJECT_DIR, "${ProjectDir}"},
    {ID_DIR_WAD_DIR, "${WadDir}"},          {ID_DIR_QUAKE_DIR, "${QuakeDir}"},
    {ID_DIR_ROOT_DIR, "${RootDir}"},        {ID_DIR_AUTOSAVE_DIR, "${AutoSaveDir}"},
};

CString ItemText(HWND hList, int nIndex)
{
    int n = (int)::SendMessageA(hList, LB_GETTEXTLEN, nIndex, 0);
    if (n < 0)
        return CString();
    CString text;
    LPSTR p = text.GetBufferSetLength(n);
    ::SendMessageA(hList, LB_GETTEXT, nIndex, (LPARAM)p);
    text.ReleaseBuffer(n);
    return text;
}

} // namespace

// ---- The list editor's reports ----------------------------------------------------------------

void CToolsListEditor::Report(UINT message, int nIndex)
{
    HWND hWndPage = ::GetParent(m_hWnd);
    if (hWndPage != nullptr)
        ::SendMessageA(hWndPage, message, (WPARAM)nIndex, 0);
}

void CToolsListEditor::OnItemRenamed(int nIndex, const CString&, const CString&)
{
    Report(WM_TOOLS_ITEM_RENAMED, nIndex);
}

void CToolsListEditor::OnItemAdded(int nIndex, const CString&)
{
    Report(WM_TOOLS_ITEM_ADDED, nIndex);
}

void CToolsListEditor::OnItemMoved(int, int nNewIndex, const CString&)
{
    Report(WM_TOOLS_ITEM_MOVED, nNewIndex);
}

void CToolsListEditor::OnItemDeleted(int, int nNewSel)
{
    Report(WM_TOOLS_ITEM_DELETED, nNewSel);
}

BOOL CToolsListEditor::OnDeletingItem(int nIndex, const CString&)
{
    // Sent before the item goes, while its tool can still be found.
    Report(WM_TOOLS_ITEM_DELETING, nIndex);
    return TRUE;
}

// ---- The page ---------------------------------------------------------------------------------

CCustomizeToolsPage::CCustomizeToolsPage(CUserTools& tools)
    : CPropertyPage(IDD_CUSTOMIZE_TOOLS), m_tools(tools), m_pShown(nullptr)
{
}

CCustomizeToolsPage::~CCustomizeToolsPage() = default;

HWND CCustomizeToolsPage::List() const
{
    return ::GetDlgItem(m_hWnd, IDC_TOOLS_LIST);
}

CUserTool* CCustomizeToolsPage::ItemTool(int nIndex) const
{
    LRESULT data = ::SendMessageA(List(), LB_GETITEMDATA, nIndex, 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<CUserTool*>(data);
}

BOOL CCustomizeToolsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (m_listEditor.Initialize(this, IDC_TOOLS_LIST, LBEDIT_TYPETOEDIT | LBEDIT_BUTTONS | LBEDIT_TOOLTIPS |
                                                          LBEDIT_KEYS | LBEDIT_DRAG))
        m_listEditor.SetWindowText("Tool Item:"); // the strip draws its caption as it is
    m_editCommand.Initialize(IDC_TOOLS_COMMAND, this);
    m_editCommand.m_strTitle = "Select Program";
    m_editCommand.m_strFilter = "Programs|*.exe;*.pif;*.com;*.bat|All files (*.*)|*.*||";
    // The chooser leaves the editor's current directory alone.
    m_editCommand.m_dwFlags |= OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST;
    m_editDirectory.Initialize(IDC_TOOLS_DIRECTORY, this);
    m_editDirectory.m_strTitle = "Select Initial Directory";
    m_editDirectory.m_nMode = SECBrowseDirEdit::modeShellBrowser;   // the shell's folder picker
    HWND hList = List();
    for (int i = 0; i < m_tools.GetCount(); ++i) {
        CUserTool* pCopy = new CUserTool(*m_tools.GetTool(i));
        int index = (int)::SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)pCopy->m_strMenuText);
        ::SendMessageA(hList, LB_SETITEMDATA, index, (LPARAM)pCopy);
    }
    m_pShown = nullptr;
    ::SendMessageA(hList, LB_SETCURSEL, 0, 0);
    ShowSelection();
    return TRUE;
}

void CCustomizeToolsPage::StoreShown()
{
    if (m_pShown == nullptr)
        return;
    GetDlgItemText(IDC_TOOLS_COMMAND, m_pShown->m_strCommand);
    GetDlgItemText(IDC_TOOLS_ARGUMENTS, m_pShown->m_strArguments);
    GetDlgItemText(IDC_TOOLS_DIRECTORY, m_pShown->m_strInitialDirectory);
    m_pShown->m_bOutputToWindow = IsDlgButtonChecked(IDC_TOOLS_OUTPUT) == BST_CHECKED;
}

void CCustomizeToolsPage::ShowSelection()
{
    StoreShown();
    int sel = (int)::SendMessageA(List(), LB_GETCURSEL, 0, 0);
    m_pShown = sel >= 0 ? ItemTool(sel) : nullptr;
    SetDlgItemText(IDC_TOOLS_COMMAND, m_pShown != nullptr ? (LPCSTR)m_pShown->m_strCommand : "");
    SetDlgItemText(IDC_TOOLS_ARGUMENTS, m_pShown != nullptr ? (LPCSTR)m_pShown->m_strArguments : "");
    SetDlgItemText(IDC_TOOLS_DIRECTORY, m_pShown != nullptr ? (LPCSTR)m_pShown->m_strInitialDirectory : "");
    CheckDlgButton(IDC_TOOLS_OUTPUT, m_pShown != nullptr && m_pShown->m_bOutputToWindow ? BST_CHECKED : BST_UNCHECKED);
    EnableFields(m_pShown != nullptr);
}

void CCustomizeToolsPage::EnableFields(BOOL bEnable)
{
    for (int nID : fieldControls) {
        HWND hWnd = ::GetDlgItem(m_hWnd, nID);
        if (hWnd != nullptr)
            ::EnableWindow(hWnd, bEnable);
    }
    for (SECBrowseEdit* pEdit : {static_cast<SECBrowseEdit*>(&m_editCommand), static_cast<SECBrowseEdit*>(&m_editDirectory)}) {
        SECBrowseButton* pButton = pEdit->GetBrowseButton();
        if (pButton != nullptr && pButton->m_hWnd != nullptr)
            ::EnableWindow(pButton->m_hWnd, bEnable);
    }
}

void CCustomizeToolsPage::OnSelChange()
{
    ShowSelection();
}

LRESULT CCustomizeToolsPage::OnItemRenamed(WPARAM wParam, LPARAM)
{
    CUserTool* pTool = ItemTool((int)wParam);
    if (pTool != nullptr)
        pTool->m_strMenuText = ItemText(List(), (int)wParam);
    return 0;
}

LRESULT CCustomizeToolsPage::OnItemAdded(WPARAM wParam, LPARAM)
{
    int index = (int)wParam;
    HWND hList = List();
    CString text = ItemText(hList, index);
    if (text.IsEmpty()) {
        // A tool needs a menu text.
        ::SendMessageA(hList, LB_DELETESTRING, index, 0);
        return 0;
    }
    CUserTool* pTool = new CUserTool;
    pTool->m_strMenuText = text;
    ::SendMessageA(hList, LB_SETITEMDATA, index, (LPARAM)pTool);
    ::SendMessageA(hList, LB_SETCURSEL, index, 0);
    ShowSelection();
    return 0;
}

LRESULT CCustomizeToolsPage::OnItemMoved(WPARAM, LPARAM)
{
    ShowSelection();
    return 0;
}

LRESULT CCustomizeToolsPage::OnItemDeleting(WPARAM wParam, LPARAM)
{
    int index = (int)wParam;
    HWND hList = List();
    CUserTool* pTool = ItemTool(index);
    if (pTool == m_pShown)
        m_pShown = nullptr;     // nothing may be stored into it any more
    delete pTool;
    ::SendMessageA(hList, LB_SETITEMDATA, index, 0);
    SetDlgItemText(IDC_TOOLS_COMMAND, "");
    SetDlgItemText(IDC_TOOLS_ARGUMENTS, "");
    SetDlgItemText(IDC_TOOLS_DIRECTORY, "");
    CheckDlgButton(IDC_TOOLS_OUTPUT, BST_UNCHECKED);
    if (::SendMessageA(hList, LB_GETCOUNT, 0, 0) <= 1)
        EnableFields(FALSE);
    return 0;
}

LRESULT CCustomizeToolsPage::OnItemDeleted(WPARAM, LPARAM)
{
    // The editor selected another item: show it.
    ShowSelection();
    return 0;
}

void CCustomizeToolsPage::InsertMacro(int nPopup, int nEditID, int nButtonID)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_TOOL_MACROS))
        return;
    CMenu* pPopup = menu.GetSubMenu(nPopup);
    if (pPopup == nullptr)
        return;
    CRect rect;
    HWND hButton = ::GetDlgItem(m_hWnd, nButtonID);
    if (hButton != nullptr)
        ::GetWindowRect(hButton, &rect);
    UINT nID = (UINT)pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD | TPM_NONOTIFY, rect.right, rect.top, this);
    for (const MacroCommand& m : macroCommands) {
        if (m.nID != nID)
            continue;
        HWND hEdit = ::GetDlgItem(m_hWnd, nEditID);
        if (hEdit == nullptr)
            return;
        HWND hFocus = ::GetFocus();
        ::SetFocus(hEdit);
        ::SendMessageA(hEdit, EM_REPLACESEL, TRUE, (LPARAM)m.macro);
        if (hFocus != nullptr)
            ::SetFocus(hFocus);
        return;
    }
}

void CCustomizeToolsPage::OnArgumentsMenu()
{
    InsertMacro(0, IDC_TOOLS_ARGUMENTS, IDC_TOOLS_ARGUMENTS_MENU);
}

void CCustomizeToolsPage::OnDirectoryMenu()
{
    InsertMacro(1, IDC_TOOLS_DIRECTORY, IDC_TOOLS_DIRECTORY_MENU);
}

void CCustomizeToolsPage::OnOK()
{
    StoreShown();
    HWND hList = List();
    int count = (int)::SendMessageA(hList, LB_GETCOUNT, 0, 0);
    CUserToolArray list;
    for (int i = 0; i < count; ++i) {
        CUserTool* pTool = ItemTool(i);
        if (pTool != nullptr)
            list.Add(pTool);
    }
    // The list owns the copies now; running tools are stopped first.
    ::SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    m_pShown = nullptr;
    m_tools.Replace(list);
    CPropertyPage::OnOK();
}

void CCustomizeToolsPage::DeleteCopies()
{
    HWND hList = List();
    if (hList == nullptr)
        return;
    int count = (int)::SendMessageA(hList, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        delete ItemTool(i);
        ::SendMessageA(hList, LB_SETITEMDATA, i, 0);
    }
    ::SendMessageA(hList, LB_RESETCONTENT, 0, 0);
    m_pShown = nullptr;
}

void CCustomizeToolsPage::OnCancel()
{
    DeleteCopies();
    CPropertyPage::OnCancel();
}

void CCustomizeToolsPage::OnDestroy()
{
    DeleteCopies();
    CPropertyPage::OnDestroy();
}
