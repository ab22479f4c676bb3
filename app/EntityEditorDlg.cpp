#include "EntityEditorDlg.h"
#include "EntityClasses.h"
#include "Map.h"
#include "OutputWindow.h"
#include "Reporter.h"
#include "Services.h"
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

// ---------------------------------------------------------------------------
// Pens and visibility by nearest prefix

BOOL ParseColorText(LPCSTR text, COLORREF& color)
{
    int r = 0, g = 0, b = 0;
    if (!text || std::sscanf(text, "%d %d %d", &r, &g, &b) != 3)
        return FALSE;
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    color = RGB(clamp(r), clamp(g), clamp(b));
    return TRUE;
}

// The path itself, then each prefix cut before its last "_"; the first the lookup accepts.
template <class Found>
static bool FindNearest(LPCSTR className, Found found)
{
    CString name(className ? className : "");
    for (;;) {
        if (found(name))
            return true;
        int cut = name.ReverseFind('_');
        if (cut < 0)
            return false;
        name = name.Left(cut);
    }
}

// A path lies below another when it continues it after a "_".
static bool IsBelow(const CString& path, const CString& parent)
{
    return path.GetLength() > parent.GetLength() && path[parent.GetLength()] == '_' &&
           path.Left(parent.GetLength()) == parent;
}

CEntityClassStyles::CEntityClassStyles()
{
    m_pens.InitHashTable(257);
    m_visible.InitHashTable(1021);
}

CEntityClassStyles::~CEntityClassStyles()
{
    RemoveAllPens();
    RemoveAllVisibility();
}

CPen* CEntityClassStyles::GetPen(LPCSTR className) const
{
    void* p = nullptr;
    FindNearest(className, [&](const CString& name) { return m_pens.Lookup(name, p) != FALSE; });
    return static_cast<CPen*>(p);
}

void CEntityClassStyles::SetPen(LPCSTR path, COLORREF color)
{
    void* p = nullptr;
    if (m_pens.Lookup(path, p))
        delete static_cast<CPen*>(p);
    else
        GrowHashTable(m_pens);
    m_pens.SetAt(path, new CPen(PS_SOLID, 0, PALETTERGB(GetRValue(color), GetGValue(color), GetBValue(color))));
}

BOOL CEntityClassStyles::SetPen(LPCSTR path, LPCSTR colorText)
{
    COLORREF color;
    if (!ParseColorText(colorText, color))
        return FALSE;
    SetPen(path, color);
    return TRUE;
}

void CEntityClassStyles::RemovePensBelow(LPCSTR path)
{
    CString parent(path ? path : "");
    CStringArray doomed;
    CString key;
    void* p;
    for (POSITION pos = m_pens.GetStartPosition(); pos;) {
        m_pens.GetNextAssoc(pos, key, p);
        if (IsBelow(key, parent))
            doomed.Add(key);
    }
    for (int i = 0; i < doomed.GetSize(); ++i) {
        m_pens.Lookup(doomed[i], p);
        delete static_cast<CPen*>(p);
        m_pens.RemoveKey(doomed[i]);
    }
}

void CEntityClassStyles::RemoveAllPens()
{
    CString key;
    void* p;
    for (POSITION pos = m_pens.GetStartPosition(); pos;) {
        m_pens.GetNextAssoc(pos, key, p);
        delete static_cast<CPen*>(p);
    }
    m_pens.RemoveAll();
}

int CEntityClassStyles::IsVisible(LPCSTR className) const
{
    int state = -1;
    FindNearest(className, [&](const CString& name) { return GetVisibility(name, state) != FALSE; });
    return state;
}

BOOL CEntityClassStyles::GetVisibility(LPCSTR path, int& state) const
{
    void* p = nullptr;
    if (!path || !m_visible.Lookup(path, p))
        return FALSE;
    state = *static_cast<int*>(p);
    return TRUE;
}

void CEntityClassStyles::SetVisibility(LPCSTR path, int state, BOOL below)
{
    CString parent(path ? path : "");
    void* p = nullptr;
    if (m_visible.Lookup(parent, p)) {
        *static_cast<int*>(p) = state;
    } else {
        GrowHashTable(m_visible);
        m_visible.SetAt(parent, new int(state));
    }
    if (!below)
        return;
    CString key;
    for (POSITION pos = m_visible.GetStartPosition(); pos;) {
        m_visible.GetNextAssoc(pos, key, p);
        if (IsBelow(key, parent))
            *static_cast<int*>(p) = state;
    }
}

void CEntityClassStyles::SetAllVisibility(int state)
{
    CString key;
    void* p;
    for (POSITION pos = m_visible.GetStartPosition(); pos;) {
        m_visible.GetNextAssoc(pos, key, p);
        *static_cast<int*>(p) = state;
    }
}

void CEntityClassStyles::AddVisibility(LPCSTR path)
{
    void* p = nullptr;
    if (!m_visible.Lookup(path, p)) {
        GrowHashTable(m_visible);
        m_visible.SetAt(path, new int(1));
    }
}

void CEntityClassStyles::RemoveAllVisibility()
{
    CString key;
    void* p;
    for (POSITION pos = m_visible.GetStartPosition(); pos;) {
        m_visible.GetNextAssoc(pos, key, p);
        delete static_cast<int*>(p);
    }
    m_visible.RemoveAll();
}

// ---------------------------------------------------------------------------
// The pages

BEGIN_MESSAGE_MAP(CEntityVisiblePage, CDialog)
    ON_MESSAGE(WM_ENTITY_SHOW, OnShowClass)
    ON_BN_CLICKED(IDC_ENTITY_VISIBLE, OnVisibleClicked)
    ON_BN_CLICKED(IDC_ENTITY_ALL_VISIBLE, OnAllVisible)
    ON_BN_CLICKED(IDC_ENTITY_NONE_VISIBLE, OnNoneVisible)
END_MESSAGE_MAP()

LRESULT CEntityVisiblePage::OnShowClass(WPARAM, LPARAM)
{
    int state;
    if (m_pEditor->GetStyles().GetVisibility(m_pEditor->GetSelectedPath(), state))
        CheckDlgButton(IDC_ENTITY_VISIBLE, state ? BST_CHECKED : BST_UNCHECKED);
    return 0;
}

void CEntityVisiblePage::OnVisibleClicked()
{
    // The three-state box: indeterminate counts as hidden.
    UINT check = IsDlgButtonChecked(IDC_ENTITY_VISIBLE);
    if (check == BST_INDETERMINATE) {
        check = BST_UNCHECKED;
        CheckDlgButton(IDC_ENTITY_VISIBLE, check);
    }
    m_pEditor->GetStyles().SetVisibility(m_pEditor->GetSelectedPath(), check == BST_CHECKED ? 1 : 0, TRUE);
    m_pEditor->RedrawActiveMap();
}

void CEntityVisiblePage::OnAllVisible()
{
    m_pEditor->GetStyles().SetAllVisibility(1);
    CheckDlgButton(IDC_ENTITY_VISIBLE, BST_CHECKED);
    m_pEditor->RedrawActiveMap();
}

void CEntityVisiblePage::OnNoneVisible()
{
    m_pEditor->GetStyles().SetAllVisibility(0);
    CheckDlgButton(IDC_ENTITY_VISIBLE, BST_UNCHECKED);
    m_pEditor->RedrawActiveMap();
}

BEGIN_MESSAGE_MAP(CEntityColorPage, CDialog)
    ON_MESSAGE(WM_ENTITY_SHOW, OnShowClass)
    ON_MESSAGE(SEC_WM_COLORCHOSEN, OnColorChosen)
    ON_BN_CLICKED(IDC_ENTITY_REVERT_COLORS, OnRevertColors)
END_MESSAGE_MAP()

BOOL CEntityColorPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_well.AttachButton(IDC_ENTITY_WELL, this);
    return TRUE;
}

LRESULT CEntityColorPage::OnShowClass(WPARAM, LPARAM)
{
    CString path = m_pEditor->GetSelectedPath();
    COLORREF color;
    if (CPen* pen = m_pEditor->GetEntityPen(path)) {
        LOGPEN lp = {};
        ::GetObjectA(pen->m_hObject, sizeof lp, &lp);
        color = lp.lopnColor & 0x00FFFFFF;
    } else {
        color = ColorFromSetting(GetEditorServices()->GetProfileInt("Colors", "Entity", 255));
    }
    m_well.SetColor(color);
    return 0;
}

LRESULT CEntityColorPage::OnColorChosen(WPARAM, LPARAM lParam)
{
    COLORREF color = static_cast<COLORREF>(lParam) & 0x00FFFFFF;
    m_well.SetColor(color);
    m_pEditor->SetClassColor(color);
    return 0;
}

void CEntityColorPage::OnRevertColors()
{
    m_pEditor->RevertAllColors();
    OnShowClass(0, 0);
}

BEGIN_MESSAGE_MAP(CEntityAdvancedPage, CDialog)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CEntityAdvancedPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_panel.Create(this, IDC_ENTITY_GRID_PLACE))
        m_panel.SetWindowText("Key/Value Pair:");
    return TRUE;
}

// The panel keeps the template's margin around it and grows with the page.
void CEntityAdvancedPage::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (!m_panel.m_hWnd)
        return;
    CRect margin(2, 2, 2, 2);
    MapDialogRect(&margin);
    if (cx > 2 * margin.left && cy > 2 * margin.top)
        m_panel.MoveWindow(margin.left, margin.top, cx - 2 * margin.left, cy - 2 * margin.top);
}

// ---------------------------------------------------------------------------
// The editor

BEGIN_MESSAGE_MAP(CEntityEditorDlg, CDialog)
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_NCACTIVATE()
    ON_NOTIFY(TVN_SELCHANGED, IDC_ENTITY_CLASS_TREE, OnSelChanged)
    ON_NOTIFY(TVN_GETDISPINFO, IDC_ENTITY_CLASS_TREE, OnGetDispInfo)
    ON_NOTIFY(TVN_ITEMEXPANDED, IDC_ENTITY_CLASS_TREE, OnItemExpanded)
    ON_MESSAGE(WM_ENTITY_MODIFIED, OnModified)
    ON_MESSAGE(WM_ENTITY_QUERY, OnQuery)
END_MESSAGE_MAP()

CEntityEditorDlg::CEntityEditorDlg(CEntityClassMap& classes, CWnd* pParent)
    : CDialog(IDD_ENTITY_EDITOR, pParent), m_classes(classes)
{
}

CEntityEditorDlg::~CEntityEditorDlg()
{
    m_working.DeleteKeyValues();
    if (m_hWnd)
        DestroyWindow();
}

BOOL CEntityEditorDlg::Create()
{
    return CDialog::Create(IDD_ENTITY_EDITOR, m_pParentWnd);
}

BOOL CEntityEditorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_tree.SubclassDlgItem(IDC_ENTITY_CLASS_TREE, this);
    m_apply.SubclassDlgItem(IDOK, this);
    m_undo.SubclassDlgItem(IDCANCEL, this);

    CRect rect(115, 5, 270, 130);
    MapDialogRect(&rect);
    m_tabs.Create(this, WS_CHILD | WS_VISIBLE | SEC_TABS_BOTTOM, IDC_ENTITY_TABS);
    m_tabs.MoveWindow(&rect);
    m_keyValuePage.Create(IDD_ENTITY_KEYVALUE_PAGE, &m_tabs);
    m_visiblePage.Create(IDD_ENTITY_VISIBLE_PAGE, &m_tabs);
    m_colorPage.Create(IDD_ENTITY_COLOR_PAGE, &m_tabs);
    m_help.Create(WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, CRect(0, 0, 10, 10), &m_tabs,
                  IDC_ENTITY_HELP);
    // The help is the class file's own text.
    HFONT hFont = ReportTextFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    m_help.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    struct
    {
        CWnd* pPage;
        LPCSTR label;
        UINT icon;
    } tabs[] = {{&m_keyValuePage, "Key/Value", IDI_ENTITY_TAB_KEYVALUE},
                {&m_visiblePage, "Visible", IDI_ENTITY_TAB_VISIBLE},
                {&m_colorPage, "Color", IDI_ENTITY_TAB_COLOR},
                {&m_help, "Help", IDI_ENTITY_TAB_HELP}};
    for (int i = 0; i < 4; ++i) {
        m_tabs.AddTab(tabs[i].pPage, tabs[i].label);
        m_tabs.SetTabIconId(i, tabs[i].icon);
    }
    m_tabs.ActivateTab(0);
    Layout();
    return TRUE;
}

// The tree keeps its place on the left; the tab window and the buttons follow the right and
// bottom edges, so the pages (and the grid's last column) grow with the window.
void CEntityEditorDlg::Layout()
{
    if (!m_tabs.m_hWnd || !m_apply.m_hWnd || !m_undo.m_hWnd || !m_tree.m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    CRect margin(5, 5, 5, 5);
    MapDialogRect(&margin);
    CRect tree;
    m_tree.GetWindowRect(&tree);
    ScreenToClient(&tree);
    CRect button;
    m_apply.GetWindowRect(&button);
    int bw = button.Width(), bh = button.Height();
    int buttonsTop = client.bottom - margin.bottom - bh;
    m_undo.MoveWindow(client.right - margin.right - bw, buttonsTop, bw, bh);
    m_apply.MoveWindow(client.right - margin.right - 2 * bw - margin.left, buttonsTop, bw, bh);
    m_tree.MoveWindow(tree.left, margin.top, tree.Width(), client.bottom - 2 * margin.top);
    CRect tabs(tree.right + margin.left, margin.top, client.right - margin.right, buttonsTop - margin.top);
    if (tabs.right > tabs.left && tabs.bottom > tabs.top)
        m_tabs.MoveWindow(&tabs);
}

void CEntityEditorDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    Layout();
}

// Focus moving into the pop-up windows the editor owns (cell drop-down lists) keeps the caption
// drawn active; otherwise the caption follows the activation as usual.
BOOL CEntityEditorDlg::OnNcActivate(BOOL bActive)
{
    if (!bActive) {
        HWND next = ::GetForegroundWindow();
        for (HWND h = next; h; h = ::GetWindow(h, GW_OWNER)) {
            if (h == m_hWnd && next != m_hWnd)
                return TRUE;
        }
    }
    return CDialog::OnNcActivate(bActive);
}

void CEntityEditorDlg::OnClose()
{
    ShowWindow(SW_HIDE);
}

void CEntityEditorDlg::SetModified(BOOL modified)
{
    m_bModified = modified;
    if (m_apply.m_hWnd)
        m_apply.EnableWindow(modified);
    if (m_undo.m_hWnd)
        m_undo.EnableWindow(modified);
}

void CEntityEditorDlg::ClearTree()
{
    // Nothing may keep a record of the previous load: the pages show nothing, the records
    // forget their items, the tree goes.
    m_bFillingTree = TRUE;
    m_pCurrentClass = nullptr;
    m_pEdited = nullptr;
    m_working.DeleteKeyValues();
    for (POSITION pos = m_classes.GetStartPosition(); pos;)
        m_classes.GetNext(pos)->treeItem = nullptr;
    if (m_tree.m_hWnd)
        m_tree.DeleteAllItems();
    ShowClass(nullptr, nullptr);
    m_bFillingTree = FALSE;
}

int CEntityEditorDlg::LoadEntityClasses()
{
    ClearTree();
    int count = ::LoadEntityClasses(m_classes, [this] {
        // The scan's point classes get their pens; the tree is empty, so no other pen goes.
        for (POSITION pos = m_classes.GetStartPosition(); pos;) {
            EntityClass* pClass = m_classes.GetNext(pos);
            if (pClass->hasSize)
                m_styles.SetPen(pClass->name, pClass->color);
        }
        FillClassTree();
        if (m_bReady)
            SetModified(FALSE);
        if (!m_images.m_hImageList && m_tree.m_hWnd) {
            m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 10, 0);
            for (UINT id = IDB_ENTITY_TREE_FIRST; id < IDB_ENTITY_TREE_FIRST + 10; ++id) {
                CBitmap bitmap;
                bitmap.LoadBitmap(id);
                m_images.Add(&bitmap, RGB(255, 255, 255));
            }
            m_tree.SetImageList(&m_images, TVSIL_NORMAL);
        }
        m_pEdited = nullptr;
        m_bReady = TRUE;
    });
    return count;
}

void CEntityEditorDlg::ClearEntityClasses()
{
    ClearTree();
    m_classes.RemoveAll();
    m_styles.RemoveAllPens();
    m_styles.RemoveAllVisibility();
    SetModified(FALSE);
}

void CEntityEditorDlg::CreateClassPen(LPCSTR path, LPCSTR colorText)
{
    if (!m_styles.SetPen(path, colorText))
        return;
    m_styles.RemovePensBelow(path);
}

void CEntityEditorDlg::SetClassColor(COLORREF color)
{
    CString text;
    text.Format("%d %d %d", GetRValue(color), GetGValue(color), GetBValue(color));
    if (m_tree.m_hWnd && m_tree.GetSelectedItem())
        CreateClassPen(GetSelectedPath(), text);
    NotifyStylesChanged();
}

void CEntityEditorDlg::RevertAllColors()
{
    m_styles.RemoveAllPens();
    for (POSITION pos = m_classes.GetStartPosition(); pos;) {
        EntityClass* pClass = m_classes.GetNext(pos);
        if (pClass->hasSize)
            m_styles.SetPen(pClass->name, pClass->color);
    }
    NotifyStylesChanged();
}

void CEntityEditorDlg::NotifyStylesChanged()
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_ENTITY_STYLES_CHANGED, 0, 0);
}

void CEntityEditorDlg::RedrawActiveMap()
{
    if (Map* pMap = GetEditorServices()->GetActiveMap())
        pMap->SelectionChangedRedraw(TRUE);
}

void CEntityEditorDlg::FillClassTree()
{
    if (!m_tree.m_hWnd)
        return;
    m_bFillingTree = TRUE;
    // The tree is empty here (ClearTree). Each group's item is found by its path in one lookup,
    // and the siblings are sorted once at the end: searching and sorting at every insert would
    // take time by the square of the number of classes.
    std::unordered_map<std::string, HTREEITEM> items;
    std::vector<HTREEITEM> parents{TVI_ROOT};
    for (POSITION pos = m_classes.GetStartPosition(); pos;) {
        EntityClass* pClass = m_classes.GetNext(pos);
        HTREEITEM parent = TVI_ROOT;
        int start = 0;
        const CString& name = pClass->name;
        for (;;) {
            int cut = name.Find('_', start);
            bool last = cut < 0;
            CString path = last ? name : name.Left(cut);
            HTREEITEM found = nullptr;
            auto known = items.find(std::string(path));
            if (known != items.end()) {
                found = known->second;
            } else {
                CString part = last ? name.Mid(start) : name.Mid(start, cut - start);
                TVINSERTSTRUCTA tvis = {};
                tvis.hParent = parent;
                tvis.hInsertAfter = TVI_LAST;
                tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
                tvis.item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(part));
                tvis.item.iImage = I_IMAGECALLBACK;
                tvis.item.iSelectedImage = I_IMAGECALLBACK;
                tvis.item.lParam = 0;
                found = m_tree.InsertItem(&tvis);
                if (found) {
                    items.emplace(std::string(path), found);
                    if (parent != TVI_ROOT && m_tree.GetChildItem(parent) == found)
                        parents.push_back(parent);
                }
                m_styles.AddVisibility(path);
            }
            if (last && found) {
                m_tree.SetItemData(found, reinterpret_cast<DWORD_PTR>(pClass));
                pClass->treeItem = found;
            }
            if (last || !found)
                break;
            parent = found;
            start = cut + 1;
        }
    }
    for (HTREEITEM parent : parents)
        m_tree.SortChildren(parent);
    m_bFillingTree = FALSE;
}

CString CEntityEditorDlg::GetItemPath(HTREEITEM hItem) const
{
    CString path;
    for (HTREEITEM h = hItem; h; h = m_tree.GetParentItem(h))
        path = path.IsEmpty() && h == hItem ? m_tree.GetItemText(h) : m_tree.GetItemText(h) + "_" + path;
    return path;
}

CString CEntityEditorDlg::GetSelectedPath() const
{
    if (!m_tree.m_hWnd)
        return CString();
    HTREEITEM h = m_tree.GetSelectedItem();
    return h ? GetItemPath(h) : CString();
}

int CEntityEditorDlg::GetItemImageFor(HTREEITEM hItem) const
{
    if (!m_tree.GetChildItem(hItem))
        return 0;
    BOOL carriesClass = m_tree.GetItemData(hItem) != 0;
    BOOL expanded = (m_tree.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    return (expanded ? 6 : 2) + (carriesClass ? 2 : 0);
}

void CEntityEditorDlg::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* info = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    if (info->item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) {
        int image = GetItemImageFor(info->item.hItem);
        info->item.iImage = image;
        info->item.iSelectedImage = image + 1;
    }
    *pResult = 0;
}

void CEntityEditorDlg::OnItemExpanded(NMHDR*, LRESULT* pResult)
{
    // The images come on demand: a redraw asks again with the new state.
    m_tree.Invalidate();
    *pResult = 0;
}

CString CEntityEditorDlg::GetHelpText() const
{
    CString text;
    if (m_help.m_hWnd)
        m_help.GetWindowText(text);
    return text;
}

void CEntityEditorDlg::ShowClass(Entity* pEntity, const EntityClass* pClass)
{
    m_pCurrentClass = pClass;
    if (m_hWnd)
        SendMessageToDescendants(WM_ENTITY_SHOW, reinterpret_cast<WPARAM>(pEntity), reinterpret_cast<LPARAM>(pClass));
    if (m_help.m_hWnd) {
        CString help = pClass ? (pClass->help.IsEmpty() ? CString("<None>") : pClass->help) : CString();
        m_help.SetWindowText(help);
    }
}

void CEntityEditorDlg::SetEntity(Entity* pEntity)
{
    if (m_bReady)
        SetModified(FALSE);
    m_pEdited = pEntity;
    m_bReady = FALSE;
    ShowStep();
    m_bReady = TRUE;
}

void CEntityEditorDlg::ShowStep()
{
    m_working.DeleteKeyValues();
    if (!m_pEdited) {
        ShowClass(nullptr, nullptr);
        return;
    }
    const CString* className = m_pEdited->FindValue("classname");
    if (!className) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "No classname was found in the entity.");
        return;
    }
    EntityClass* pClass = m_classes.Lookup(*className);
    if (!pClass) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "The selected entity is not loaded.");
        return;
    }
    m_working.CopyKeyValues(*m_pEdited);
    HTREEITEM item = static_cast<HTREEITEM>(pClass->treeItem);
    if (!m_tree.m_hWnd || !item) {
        ShowClass(&m_working, pClass);
        return;
    }
    m_tree.EnsureVisible(item);
    if (m_tree.GetSelectedItem() == item)
        ShowClass(&m_working, pClass);
    else
        m_tree.SelectItem(item);
}

void CEntityEditorDlg::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bFillingTree)
        return;
    ClassSelected(reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem);
}

void CEntityEditorDlg::ClassSelected(HTREEITEM hItem)
{
    auto* pClass = hItem ? reinterpret_cast<EntityClass*>(m_tree.GetItemData(hItem)) : nullptr;
    if (!pClass) {
        ShowClass(nullptr, nullptr);
        m_working.DeleteKeyValues();
        if (m_pEdited && m_bReady)
            SetModified(TRUE);
        return;
    }
    if (m_working.SetValueForKey("classname", pClass->name) == Entity::KEY_MISSING)
        m_working.AddKeyValue("classname", pClass->name);
    if (!pClass->hasSize)
        m_working.RemoveKey("origin");
    else if (!m_working.FindValue("origin"))
        m_working.AddKeyValue("origin", "0 0 0");
    if (m_pEdited && m_bReady)
        SetModified(TRUE);
    ShowClass(&m_working, pClass);
}

void CEntityEditorDlg::OnOK()
{
    if (!m_bModified)
        return;
    if (!m_working.FindValue("classname")) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "A correct entity is not selected.\nSelect one with a red box.");
        return;
    }
    Map* pMap = GetEditorServices()->GetActiveMap();
    if (!pMap)
        return;     // nothing to write into: the changes stay pending
    SendMessageToDescendants(WM_ENTITY_WRITE_ROWS, 0, 0);
    // The grid's rows may have lost the class (its row deleted or its key typed over): an entity
    // without one would be written into the map and refused when the map is read again.
    if (!m_working.FindValue("classname")) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "A correct entity is not selected.\nSelect one with a red box.");
        return;
    }
    if (!pMap->MakeEntityFromSelection(&m_working))
        return;
    pMap->SelectionChanged();
    pMap->UpdateViews(HINT_REDRAW);
    if (m_bReady)
        SetModified(FALSE);
}

void CEntityEditorDlg::OnCancel()
{
    if (m_bReady)
        SetModified(FALSE);
    ShowStep();
    if (m_bReady)
        SetModified(FALSE);
}

void CEntityEditorDlg::UpdateOrigin(LPCSTR origin)
{
    // A moved entity is no edit: the flag and the buttons stay as they are, and the rows are
    // written back without a word.
    if (origin && m_working.FindValue("origin"))
        m_working.SetValueForKey("origin", origin);
    if (!m_hWnd)
        return;
    SendMessageToDescendants(WM_ENTITY_ORIGIN, reinterpret_cast<WPARAM>(origin), 0);
    if (GetEditorServices()->GetActiveMap())
        SendMessageToDescendants(WM_ENTITY_WRITE_ROWS, 1, 0);
}

LRESULT CEntityEditorDlg::OnModified(WPARAM, LPARAM)
{
    if (m_bReady)
        SetModified(TRUE);
    return 0;
}

LRESULT CEntityEditorDlg::OnQuery(WPARAM wParam, LPARAM)
{
    return wParam ? reinterpret_cast<LRESULT>(m_pEdited) : reinterpret_cast<LRESULT>(&m_working);
}
