// The Resource window and its map and object lists.
#include "ResourceWindow.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include "Map.h"
#include "MapData.h"
#include "MapText.h"
#include "PathIterator.h"
#include "Reporter.h"
#include "SECRes.h"
#include "Services.h"
#include "ShellRes.h"
#include "Tokenizer.h"
#include "SelectWadsDlg.h"
#include "IniFile.h"
#include "Thing.h"
#include "afxdlgs.h"
#include "../res/resource.h"
#include <vector>

static CEditorApp* EditorApp()
{
    return dynamic_cast<CEditorApp*>(AfxGetApp());
}

static CMainFrame* ShellFrame()
{
    CEditorApp* pApp = EditorApp();
    return pApp ? pApp->GetMainFrame() : nullptr;
}

static BOOL ProjectOpen()
{
    return GetEditorServices()->GetProject() != nullptr;
}

static CString DirectoryOf(const CString& path)
{
    int cut = path.ReverseFind('\\');
    return cut > 0 ? path.Left(cut) : CString();
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGuiFontListBox, CListBox)

BOOL CGuiFontListBox::CreateList(CWnd* pParent, UINT nID, DWORD dwExtraStyle)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  dwExtraStyle;
    if (!CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", nullptr, style, CRect(0, 0, 10, 10), pParent, nID))
        return FALSE;
    SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))), TRUE);
    return TRUE;
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CProjectFileList, CGuiFontListBox)

BEGIN_MESSAGE_MAP(CProjectFileList, CGuiFontListBox)
    ON_MESSAGE(WM_RESOURCE_CLEAR, OnClearList)
    ON_WM_CONTEXTMENU()
    ON_COMMAND_RANGE(ID_SEC_ALLOWDOCKING, ID_SEC_MDIFLOAT, OnBarCommand)
END_MESSAGE_MAP()

CProjectFileList::~CProjectFileList()
{
    if (m_hWnd)
        Clear();
}

CString CProjectFileList::DisplayText(const CString& path, BOOL compact)
{
    // The file name without its extension, as the WAD lists show theirs.
    return compact ? CompactWadName(path) : path;
}

BOOL CProjectFileList::IsCompact()
{
    return GetEditorServices()->GetProfileInt(GetKind().section, "Compact Names", 1) != 0;
}

BOOL CProjectFileList::AddEntry(const CString& path)
{
    int index = AddString(DisplayText(path, IsCompact()));
    if (index < 0)
        return FALSE;
    SetItemDataPtr(index, new CString(path));
    return TRUE;
}

const CString* CProjectFileList::GetPath(int index) const
{
    if (!m_hWnd || index < 0 || index >= GetCount())
        return nullptr;
    void* p = GetItemDataPtr(index);
    return p == reinterpret_cast<void*>(-1) ? nullptr : static_cast<const CString*>(p);
}

void CProjectFileList::Clear()
{
    for (int i = 0; i < GetCount(); ++i)
        delete GetPath(i);
    ResetContent();
}

BOOL CProjectFileList::LoadFiles()
{
    const Kind& kind = GetKind();
    CPathIterator it;
    if (!it.Init(kind.key, kind.nNoPathsText, "map"))
        return FALSE;
    CWaitCursor wait;
    Report().Status("%s", kind.loading);
    int added = 0;
    for (CString dir = it.NextDirectory(); !dir.IsEmpty(); dir = it.NextDirectory()) {
        WIN32_FIND_DATAA data;
        CString base = dir;
        if (base.Right(1) != "\\")
            base += "\\";
        HANDLE find = ::FindFirstFileA(base + "*.map", &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HasExactExtension(data.cFileName, "map") &&
                AddEntry(base + data.cFileName))
                ++added;
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    if (added > 0)
        Report().StatusId(kind.nLoadedText);
    else
        Report().BoxId(MB_OK | MB_ICONINFORMATION, kind.nNoneFoundText);
    return TRUE;
}

void CProjectFileList::ApplyCompactNames()
{
    BOOL compact = IsCompact();
    SetHorizontalExtent(compact ? 0 : 500);
    int selected = (GetStyle() & LBS_EXTENDEDSEL) ? GetCaretIndex() : GetCurSel();
    BOOL hadSelection = (GetStyle() & LBS_EXTENDEDSEL) ? GetSelCount() > 0 : selected >= 0;
    SetRedraw(FALSE);
    for (int i = 0; i < GetCount(); ++i) {
        const CString* path = GetPath(i);
        if (!path)
            continue;
        void* data = GetItemDataPtr(i);
        // Inserting at an index never sorts: the entry keeps its place and its path.
        DeleteString(i);
        InsertString(i, DisplayText(*path, compact));
        SetItemDataPtr(i, data);
    }
    if (hadSelection && selected >= 0) {
        if (GetStyle() & LBS_EXTENDEDSEL)
            SetSel(selected, TRUE);
        else
            SetCurSel(selected);
    }
    SetRedraw(TRUE);
    Invalidate();
}

void CProjectFileList::OnCompactNames()
{
    GetEditorServices()->WriteProfileInt(GetKind().section, "Compact Names", IsCompact() ? 0 : 1);
    ApplyCompactNames();
}

void CProjectFileList::SelectPath(const CString& path)
{
    for (int i = 0; i < GetCount(); ++i) {
        const CString* p = GetPath(i);
        if (p && p->CompareNoCase(path) == 0) {
            if (GetStyle() & LBS_EXTENDEDSEL) {
                SetSel(-1, FALSE);
                SetSel(i, TRUE);
                SetCaretIndex(i);
            } else {
                SetCurSel(i);
            }
            return;
        }
    }
}

int CProjectFileList::GetChosenIndex() const
{
    if (GetStyle() & LBS_EXTENDEDSEL) {
        int caret = GetCaretIndex();
        return GetSelCount() > 0 && caret >= 0 && GetSel(caret) > 0 ? caret : -1;
    }
    return GetCurSel();
}

void CProjectFileList::DeleteChosenFile(UINT nFailedText)
{
    int index = GetChosenIndex();
    const CString* path = GetPath(index);
    if (!path)
        return;
    if (Report().BoxId(MB_YESNO | MB_ICONQUESTION, IDS_CONFIRM_DELETE, static_cast<LPCSTR>(*path)) != IDYES)
        return;
    if (!::DeleteFileA(*path)) {
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, nFailedText);
        return;
    }
    delete path;
    DeleteString(index);
}

LRESULT CProjectFileList::OnClearList(WPARAM, LPARAM)
{
    Clear();
    return 0;
}

void CProjectFileList::OnBarCommand(UINT nID)
{
    // The docking commands belong to the Resource window.
    if (CMainFrame* pFrame = ShellFrame())
        pFrame->m_wndResourceBar.SendMessage(WM_COMMAND, nID, 0);
}

void CProjectFileList::PrepareContextMenu(CMenu* pPopup, UINT nRescan, UINT nCompact, UINT nDelete)
{
    CMainFrame* pFrame = ShellFrame();
    SetDockingMenuItems(pPopup, pFrame ? &pFrame->m_wndResourceBar : nullptr);
    pPopup->EnableMenuItem(nDelete, MF_BYCOMMAND | (GetChosenIndex() >= 0 ? MF_ENABLED : MF_GRAYED));
    pPopup->CheckMenuItem(nCompact, MF_BYCOMMAND | (IsCompact() ? MF_CHECKED : MF_UNCHECKED));
    UINT project = ProjectOpen() ? MF_ENABLED : MF_GRAYED;
    pPopup->EnableMenuItem(nRescan, MF_BYCOMMAND | project);
    pPopup->EnableMenuItem(nCompact, MF_BYCOMMAND | project);
}

void CProjectFileList::OnContextMenu(CWnd*, CPoint point)
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->ActivateFrame();
    CMenu menu;
    UINT nMenu = IsKindOf(RUNTIME_CLASS(CMapListBox)) ? IDR_MAP_LIST_MENU : IDR_OBJECT_LIST_MENU;
    if (!menu.LoadMenu(nMenu))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    PrepareMenu(pPopup);
    // The items' states are set here: the list, not the frame, answers these commands.
    UINT nCmd = pPopup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, point.x, point.y, this);
    if (nCmd != 0)
        SendMessage(WM_COMMAND, nCmd, 0);
}

// ---------------------------------------------------------------------------
// Map list

IMPLEMENT_DYNAMIC(CMapListBox, CProjectFileList)

BEGIN_MESSAGE_MAP(CMapListBox, CProjectFileList)
    ON_MESSAGE(WM_RESOURCE_REFRESH, OnRefreshList)
    ON_WM_LBUTTONDBLCLK()
    ON_COMMAND(ID_MAPLIST_RESCAN, OnRescan)
    ON_COMMAND(ID_MAPLIST_COMPACT, OnCompactNames)
    ON_COMMAND_RANGE(ID_MAPLIST_OPEN_TOP, ID_MAPLIST_OPEN_ALL, OnOpenView)
    ON_COMMAND(ID_MAPLIST_DELETE, OnDeleteMap)
END_MESSAGE_MAP()

const CProjectFileList::Kind& CMapListBox::GetKind() const
{
    static const Kind kind = {"Map List",       "Maps", IDS_NO_MAP_PATHS, "Loading Maps...", IDS_MAPS_LOADED,
                              IDS_NO_MAPS_FOUND};
    return kind;
}

int CMapListBox::DoubleClickViewCode(int setting)
{
    static const int codes[4] = {VIEW_XY, VIEW_XZ, VIEW_YZ, VIEW_ALL_FOUR};
    return setting >= 0 && setting < 4 ? codes[setting] : 0;
}

LRESULT CMapListBox::OnRefreshList(WPARAM, LPARAM)
{
    OnRescan();
    return 0;
}

void CMapListBox::OnRescan()
{
    Clear();
    if (!ProjectOpen())
        return;
    LoadMaps();
    SetHorizontalExtent(IsCompact() ? 0 : 500);
}

void CMapListBox::AddSavedMap(const CString& path)
{
    if (!m_hWnd || !ProjectOpen())
        return;
    for (int i = 0; i < GetCount(); ++i)
        if (GetPath(i) && GetPath(i)->CompareNoCase(path) == 0)
            return;
    int cut = path.ReverseFind('\\');
    if (cut < 0)
        return;
    const CString folder = DirectoryKey(path.Left(cut));
    CPathIterator it;
    if (!it.Init(GetKind().key, 0, "map"))
        return;
    for (CString dir = it.NextDirectory(); !dir.IsEmpty(); dir = it.NextDirectory()) {
        if (DirectoryKey(dir) == folder) {
            AddEntry(path);
            return;
        }
    }
}

void CMapListBox::OpenChosen(int viewCode)
{
    const CString* path = GetPath(GetCurSel());
    CMainFrame* pFrame = ShellFrame();
    if (!path || !pFrame || viewCode == 0)
        return;
    CString copy = *path;   // the open may refill the list
    pFrame->OpenMap(copy, viewCode);
}

void CMapListBox::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
    (void)nFlags;
    (void)point;
    OpenChosen(DoubleClickViewCode(GetEditorServices()->GetProfileIntInRange("Map Bar", "Double Click", 3, 0, 3)));
}

void CMapListBox::OnOpenView(UINT nID)
{
    static const int codes[4] = {VIEW_XY, VIEW_XZ, VIEW_YZ, VIEW_ALL_FOUR};
    OpenChosen(codes[nID - ID_MAPLIST_OPEN_TOP]);
}

void CMapListBox::OnDeleteMap()
{
    const CString* path = GetPath(GetCurSel());
    if (!path)
        return;
    CMainFrame* pFrame = ShellFrame();
    if (pFrame && pFrame->IsMapOpen(*path)) {
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_MAP_OPEN_NOT_DELETED, static_cast<LPCSTR>(*path));
        return;
    }
    DeleteChosenFile(IDS_MAP_NOT_DELETED);
}

void CMapListBox::PrepareMenu(CMenu* pPopup)
{
    PrepareContextMenu(pPopup, ID_MAPLIST_RESCAN, ID_MAPLIST_COMPACT, ID_MAPLIST_DELETE);
    UINT open = GetCurSel() >= 0 && ProjectOpen() ? MF_ENABLED : MF_GRAYED;
    for (UINT id = ID_MAPLIST_OPEN_TOP; id <= ID_MAPLIST_OPEN_ALL; ++id)
        pPopup->EnableMenuItem(id, MF_BYCOMMAND | open);
}

// ---------------------------------------------------------------------------
// Object list

IMPLEMENT_DYNAMIC(CObjectList, CProjectFileList)

BEGIN_MESSAGE_MAP(CObjectList, CProjectFileList)
    ON_MESSAGE(WM_RESOURCE_INIT, OnRegisterDropTarget)
    ON_MESSAGE(WM_RESOURCE_REFRESH, OnRefreshList)
    ON_WM_LBUTTONDOWN()
    ON_COMMAND(ID_OBJLIST_RESCAN, OnRescan)
    ON_COMMAND(ID_OBJLIST_COMPACT, OnCompactNames)
    ON_COMMAND(ID_OBJLIST_DELETE, OnDeleteObject)
END_MESSAGE_MAP()

CObjectList::CObjectList() : m_dropTarget(this) {}

const CProjectFileList::Kind& CObjectList::GetKind() const
{
    static const Kind kind = {"Object List",       "Objects", IDS_NO_OBJECT_PATHS, "Loading Objects...",
                              IDS_OBJECTS_LOADED, IDS_NO_OBJECTS_FOUND};
    return kind;
}

BOOL CObjectList::LoadObjects()
{
    Clear();
    return LoadFiles();
}

LRESULT CObjectList::OnRegisterDropTarget(WPARAM, LPARAM)
{
    if (!m_dropTarget.Register(this))
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s", "Ole Register Drop Target Failed");
    return 0;
}

LRESULT CObjectList::OnRefreshList(WPARAM, LPARAM)
{
    Clear();
    if (!ProjectOpen())
        return 0;
    SetRedraw(FALSE);
    LoadObjects();
    SetRedraw(TRUE);
    Invalidate();
    SetHorizontalExtent(IsCompact() ? 0 : 500);
    return 0;
}

void CObjectList::OnRescan()
{
    LoadObjects();
    Invalidate();
}

void CObjectList::OnDeleteObject()
{
    int count = GetSelCount();
    if (count <= 1) {
        DeleteChosenFile(IDS_OBJECT_NOT_DELETED);
        return;
    }
    // Several objects: one question that names them all, then each goes.
    std::vector<int> chosen(static_cast<size_t>(count));
    count = GetSelItems(count, chosen.data());
    chosen.resize(count > 0 ? static_cast<size_t>(count) : 0);
    CString names;
    for (int index : chosen)
        if (const CString* path = GetPath(index))
            names += (names.IsEmpty() ? "" : "\n") + *path;
    if (Report().BoxId(MB_YESNO | MB_ICONQUESTION, IDS_CONFIRM_DELETE_FILES, static_cast<int>(chosen.size()),
                       static_cast<LPCSTR>(names)) != IDYES)
        return;
    BOOL failed = FALSE;
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) {
        const CString* path = GetPath(*it);
        if (!path)
            continue;
        if (!::DeleteFileA(*path)) {
            failed = TRUE;
            continue;
        }
        delete path;
        DeleteString(*it);
    }
    if (failed)
        Report().BoxId(MB_OK | MB_ICONEXCLAMATION, IDS_OBJECT_NOT_DELETED);
}

void CObjectList::RefreshAndSelect(const CString& path)
{
    LoadObjects();
    SelectPath(path);
}

void CObjectList::PrepareMenu(CMenu* pPopup)
{
    PrepareContextMenu(pPopup, ID_OBJLIST_RESCAN, ID_OBJLIST_COMPACT, ID_OBJLIST_DELETE);
}

HGLOBAL CObjectList::PackObjectFile(const CString& path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        CString cause = SystemErrorText(::GetLastError());
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "Couldn't open file %s for reading\nCause: %s",
                     static_cast<LPCSTR>(path), static_cast<LPCSTR>(cause));
        return nullptr;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart == 0 || size.QuadPart > 0x7FFFFFF0) {
        ::CloseHandle(file);
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "The brush file %s is empty", static_cast<LPCSTR>(path));
        return nullptr;
    }
    CString text;
    DWORD n = static_cast<DWORD>(size.QuadPart);
    char* buffer = text.GetBuffer(static_cast<int>(n));
    DWORD read = 0;
    BOOL ok = ::ReadFile(file, buffer, n, &read, nullptr) && read == n;
    DWORD error = ::GetLastError();
    ::CloseHandle(file);
    text.ReleaseBuffer(ok ? static_cast<int>(n) : 0);
    if (!ok) {
        CString cause = SystemErrorText(error);
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "Couldn't read file %s\nCause: %s", static_cast<LPCSTR>(path),
                     static_cast<LPCSTR>(cause));
        return nullptr;
    }
    // Refused as every reader of map text refuses it, before the drag begins.
    const CString utf16 = Utf16Reason(text, static_cast<size_t>(text.GetLength()));
    if (!utf16.IsEmpty()) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s %s\nIt was not dragged.", static_cast<LPCSTR>(path),
                     static_cast<LPCSTR>(utf16));
        return nullptr;
    }
    // Object files are partial maps; the block begins at their first brace after the comments
    // before it (a comment may hold a brace of its own).
    int start = 0;
    {
        CString scan = text;
        char* buffer = scan.GetBuffer(0);
        CTokenizer tok;
        tok.Init(buffer);
        tok.SkipWhite(false);
        start = static_cast<int>(tok.GetPosition() - buffer);
    }
    int brace = text.Find('{', start);
    if (brace < 0) {
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "The brush file %s is empty", static_cast<LPCSTR>(path));
        return nullptr;
    }
    CString body = text.Mid(brace);
    HGLOBAL h = PackMapData(body, static_cast<SIZE_T>(body.GetLength()));
    if (!h)
        Report().Box(MB_OK | MB_ICONEXCLAMATION, "%s", "Couldn't allocate memory for Drag and Drop brushes");
    return h;
}

COleDataSource* CObjectList::MakeDragSource(const CString& path)
{
    // Without the format (its registration failed, which the start told) nothing is dragged.
    const UINT cf = GetMapDataFormat();
    HGLOBAL h = cf != 0 ? PackObjectFile(path) : nullptr;
    if (!h)
        return nullptr;
    COleDataSource* pSource = new COleDataSource;
    pSource->CacheGlobalData(static_cast<CLIPFORMAT>(cf), h); // the source owns the blocks
    const UINT cfFile = GetObjectFileFormat();
    HGLOBAL hPath = cfFile != 0 ? PackObjectFilePath(path) : nullptr;
    if (hPath)
        pSource->CacheGlobalData(static_cast<CLIPFORMAT>(cfFile), hPath);
    return pSource;
}

void CObjectList::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    Default();
    UINT cf = GetMapDataFormat();
    const CString* path = GetPath(GetChosenIndex());
    if (GetChosenIndex() < 0 || cf == 0)
        return;
    if (!path) {
        Report().Box(MB_OK, "%s", "Item selected, but no item data was found!");
        return;
    }
    // A click only selects: the drag begins when the held button moves the mouse past the
    // system's drag distance.
    if (::GetKeyState(VK_LBUTTON) >= 0)
        return;
    CPoint screen = point;
    ClientToScreen(&screen);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!::DragDetect(m_hWnd, screen))
        return;
    COleDataSource* pSource = MakeDragSource(*path);
    if (!pSource)
        return;
    // The objects stay in their file: only a copy can be dropped.
    m_bDragging = TRUE;
    pSource->DoDragDrop(DROPEFFECT_COPY);
    m_bDragging = FALSE;
    pSource->Empty();
    pSource->InternalRelease();
    SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

BOOL CObjectList::SaveSelectionAsObject()
{
    CEditorServices* services = GetEditorServices();
    Map* pMap = services->GetActiveMap();
    if (!pMap)
        return FALSE;
    CEditorApp* pApp = EditorApp();
    CString initial = pApp ? pApp->m_strLastObjectDir : CString();
    if (initial.IsEmpty()) {
        CPathIterator it;
        if (it.Init("Objects", IDS_NO_OBJECT_PATHS, "map"))
            initial = it.NextDirectory();
    }
    CString filter;
    filter.LoadString(IDS_MAP_FILTER);
    CFileDialog dlg(FALSE, "map", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, this);
    if (!initial.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = initial;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    CString path = dlg.GetPathName();
    // The next save starts where this object went.
    if (pApp && !DirectoryOf(path).IsEmpty())
        pApp->m_strLastObjectDir = DirectoryOf(path);
    if (!pMap->WriteObjectFile(path))
        return FALSE;
    RefreshAndSelect(path);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The object list's drop target

// Drops are refused in the screen's top-left corner, where no list is.
static DROPEFFECT ObjectDropEffect(CWnd* pWnd, COleDataObject* pDataObject, CPoint point)
{
    UINT cf = GetMapDataFormat();
    if (!pWnd || !pDataObject || cf == 0 || !pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(cf)))
        return DROPEFFECT_NONE;
    // An object dragged out of the list is no new object for it.
    auto* pList = dynamic_cast<CObjectList*>(pWnd);
    if (pList && pList->IsDragging())
        return DROPEFFECT_NONE;
    pWnd->ClientToScreen(&point);
    if (point.x >= 0 && point.x <= 50 && point.y >= 0 && point.y <= 50)
        return DROPEFFECT_NONE;
    // A drop on the list saves a copy: the dragging view keeps its objects.
    return DROPEFFECT_COPY;
}

DROPEFFECT CObjectDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD, CPoint point)
{
    return ObjectDropEffect(pWnd, pDataObject, point);
}

DROPEFFECT CObjectDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD, CPoint point)
{
    return ObjectDropEffect(pWnd, pDataObject, point);
}

void CObjectDropTarget::OnDragLeave(CWnd* pWnd)
{
    COleDropTarget::OnDragLeave(pWnd);
}

BOOL CObjectDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT, CPoint)
{
    UINT cf = GetMapDataFormat();
    if (!m_pList || !pDataObject || cf == 0 || m_pList->IsDragging())
        return FALSE;
    // What is saved is the active map's selection; the block only has to be ours.
    HGLOBAL h = pDataObject->GetGlobalData(static_cast<CLIPFORMAT>(cf));
    CString text;
    BOOL ok = UnpackMapData(h, text);
    if (h)
        ::GlobalFree(h);
    if (!ok)
        return FALSE;
    return m_pList->SaveSelectionAsObject();
}

// ---------------------------------------------------------------------------
// The bar

IMPLEMENT_DYNAMIC(CProjectBar, SECControlBar)

BEGIN_MESSAGE_MAP(CProjectBar, SECControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_RESOURCE_INIT, OnForwardInit)
    ON_MESSAGE(WM_RESOURCE_REFRESH, OnForwardRefresh)
    ON_MESSAGE(WM_RESOURCE_CLEAR, OnForwardClear)
END_MESSAGE_MAP()

CProjectBar::CProjectBar() = default;

int CProjectBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (SECControlBar::OnCreate(lpcs) == -1)
        return -1;
    if (!m_tabWnd.Create(this, WS_CHILD | WS_VISIBLE | SEC_TABS_BOTTOM, IDC_RESOURCE_TABS))
        return -1;
    if (!m_mapList.CreateList(&m_tabWnd, IDC_MAP_LIST, 0) ||
        !m_objectList.CreateList(&m_tabWnd, IDC_OBJECT_LIST, LBS_EXTENDEDSEL) || !m_textureBrowser.Create(&m_tabWnd))
        return -1;
    m_tabWnd.AddTab(&m_mapList, "Maps");
    m_tabWnd.AddTab(&m_objectList, "Objects");
    m_tabWnd.AddTab(&m_textureBrowser, "Textures");
    m_tabWnd.SetTabIconId(0, IDI_TAB_MAPS);
    m_tabWnd.SetTabIconId(1, IDI_TAB_OBJECTS);
    m_tabWnd.SetTabIconId(2, IDI_TAB_TEXTURES);
    m_tabWnd.ActivateTab(0);
    return 0;
}

void CProjectBar::OnSize(UINT nType, int cx, int cy)
{
    if (m_tabWnd.m_hWnd) {
        CRect inside;
        GetClientRect(&inside);
        CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
        m_tabWnd.SetWindowPos(nullptr, inside.left, inside.top, inside.Width(), inside.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SECControlBar::OnSize(nType, cx, cy);
}

LRESULT CProjectBar::OnForwardInit(WPARAM wParam, LPARAM lParam)
{
    m_objectList.SendMessage(WM_RESOURCE_INIT, wParam, lParam);
    m_textureBrowser.SendMessage(WM_TEXTURE_INIT, wParam, lParam);
    return 0;
}

LRESULT CProjectBar::OnForwardRefresh(WPARAM wParam, LPARAM lParam)
{
    m_mapList.SendMessage(WM_RESOURCE_REFRESH, wParam, lParam);
    m_objectList.SendMessage(WM_RESOURCE_REFRESH, wParam, lParam);
    m_textureBrowser.SendMessage(WM_TEXTURE_LOAD, wParam, lParam);
    return 0;
}

LRESULT CProjectBar::OnForwardClear(WPARAM wParam, LPARAM lParam)
{
    m_mapList.SendMessage(WM_RESOURCE_CLEAR, wParam, lParam);
    m_objectList.SendMessage(WM_RESOURCE_CLEAR, wParam, lParam);
    m_textureBrowser.SendMessage(WM_TEXTURE_UNLOAD, wParam, lParam);
    return 0;
}

void CProjectBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
