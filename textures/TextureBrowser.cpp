#include "TextureBrowser.h"
#include "IniFile.h"
#include "Map.h"
#include "Reporter.h"
#include "SECBar.h"
#include "SelectWadsDlg.h"
#include "Services.h"
#include <algorithm>

// ---------------------------------------------------------------------------
// Grid arithmetic

TextureGrid ComputeTextureGrid(int w, int h, int s, int count, int currentIndex)
{
    TextureGrid g;
    if (w <= 0 || h <= 0 || s <= 0)
        return g;
    // A window too narrow for one column of the chosen size shows one column of smaller ones.
    if ((w - 12) / (s + 6) < 1)
        s = std::max<int>(SMALLEST_THUMBNAIL, w - 18);
    g.size = s;
    g.columns = (w - 12) / (s + 6);
    if (g.columns < 0)
        g.columns = 0;
    g.drawWidth = std::max(1, w - 6);
    g.drawHeight = std::max(1, h - 4);
    if (g.columns == 0)
        return g;
    g.totalRows = (count + g.columns - 1) / g.columns;
    g.visibleRows = (h - 6) / (s + 6);
    if ((s + 6) * g.totalRows + 6 <= h)
        return g; // every row fits: no scrolling, and the first row is at the top
    g.scrollEnabled = TRUE;
    g.scrollMax = g.totalRows > 0 ? g.totalRows - 1 : 0;
    g.page = g.visibleRows;
    g.position = currentIndex >= 0 ? currentIndex / g.columns : 0;
    g.position = std::min(g.position, LastScrollPosition(g));
    return g;
}

int LastScrollPosition(const TextureGrid& g)
{
    if (!g.scrollEnabled)
        return 0;
    return std::max(0, g.totalRows - std::max(1, g.visibleRows));
}

void VisibleSlice(int pos, int columns, int visibleRows, int count, int& first, int& last)
{
    first = last = 0;
    if (columns <= 0)
        return;
    first = std::min(pos * columns, count);
    last = std::min(columns * (pos + visibleRows), count);
    if (last < first)
        last = first;
}

CRect ThumbnailRect(int x, int y, int s, int w, int h)
{
    CRect r;
    if (w < s - 1) {
        r.left = x + (s - w) / 2;
        r.right = r.left + w;
    } else {
        r.left = x;
        r.right = x + s - 1;
    }
    if (h < s - 1) {
        r.top = y + (s - h) / 2;
        r.bottom = r.top + h - 1;
    } else {
        r.top = y;
        r.bottom = y + s - 1;
    }
    return r;
}

// ---------------------------------------------------------------------------
// Recent names

void RecentAdd(std::vector<CString>& names, const CString& name)
{
    auto it = std::find_if(names.begin(), names.end(), [&](const CString& n) { return n.CompareNoCase(name) == 0; });
    if (it == names.begin() && it != names.end())
        return;
    if (it != names.end())
        names.erase(it);
    else if (static_cast<int>(names.size()) >= RECENT_TEXTURES)
        names.resize(RECENT_TEXTURES - 1);
    names.insert(names.begin(), name);
}

void RecentChoose(std::vector<CString>& names, int index, BOOL stillListed)
{
    if (index < 0 || index >= static_cast<int>(names.size()))
        return;
    CString name = names[static_cast<size_t>(index)];
    names.erase(names.begin() + index);
    if (stillListed)
        names.insert(names.begin(), name);
}

// ---------------------------------------------------------------------------
// Colours

static COLORREF SettingColor(LPCSTR key, DWORD def)
{
    return ColorFromSetting(static_cast<DWORD>(GetEditorServices()->GetProfileInt("Colors", key, static_cast<int>(def))));
}

static void FrameRect(HDC hdc, HPEN pen, int l, int t, int r, int b)
{
    HGDIOBJ oldPen = ::SelectObject(hdc, pen);
    HGDIOBJ oldBrush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hdc, l, t, r, b);
    ::SelectObject(hdc, oldBrush);
    ::SelectObject(hdc, oldPen);
}

// ---------------------------------------------------------------------------
// CTextureWnd

BEGIN_MESSAGE_MAP(CTextureWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
// Top-left corner of the index-th cell of the visible rows: cells are laid out left to right,
// 6 pixels apart and 6 pixels from the window's edges. Painting and clicks share it.
CPoint CellOrigin(int index, int columns, int size)
{
    return CPoint(6 + (index % columns) * (size + 6), 6 + (index / columns) * (size + 6));
}
} // namespace

void CTextureWnd::SetGeometry(int drawWidth, int drawHeight, int columns, int visibleRows, int size)
{
    m_drawWidth = std::max(1, drawWidth);
    m_drawHeight = std::max(1, drawHeight);
    m_columns = columns;
    m_visibleRows = visibleRows;
    m_size = size;
}

BOOL CTextureWnd::OnEraseBkgnd(CDC*)
{
    return TRUE; // the paint covers the whole client area
}

void CTextureWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (m_drawWidth >= 2 && m_drawHeight >= 2 && rc.right > 0 && rc.bottom > 0) {
        // Drawn off screen first: the thumbnails appear at once, without flicker.
        HDC mem = ::CreateCompatibleDC(hdc);
        HBITMAP bmp = ::CreateCompatibleBitmap(hdc, rc.right, rc.bottom);
        if (mem && bmp) {
            HGDIOBJ old = ::SelectObject(mem, bmp);
            DrawTextures(mem);
            ::BitBlt(hdc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
            ::SelectObject(mem, old);
        }
        if (bmp)
            ::DeleteObject(bmp);
        if (mem)
            ::DeleteDC(mem);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CTextureWnd::DrawTextures(HDC hdc)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    HBRUSH back = ::CreateSolidBrush(SettingColor("Texture Background", 0));
    ::FillRect(hdc, &rc, back);
    ::DeleteObject(back);
    if (m_columns <= 0)
        return;
    HDC src = ::CreateCompatibleDC(hdc);
    if (!src)
        return;
    HPALETTE pal = m_pBrowser->GetLoader()->GetPalette();
    HPALETTE oldPal = pal ? ::SelectPalette(hdc, pal, FALSE) : nullptr;
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    int index = 0;
    const CPtrList& visible = m_pBrowser->GetVisibleList();
    for (POSITION pos = visible.GetHeadPosition(); pos && m_columns > 0; ++index) {
        CPoint cell = CellOrigin(index, m_columns, m_size);
        DrawTexture(hdc, src, static_cast<Texture*>(visible.GetNext(pos)), cell.x, cell.y);
    }
    if (oldPal)
        ::SelectPalette(hdc, oldPal, FALSE);
    ::DeleteDC(src);
}

void CTextureWnd::DrawTexture(HDC hdc, HDC src, Texture* tex, int x, int y)
{
    CRect r = ThumbnailRect(x, y, m_size, tex->width, tex->height);
    tex->cell = r;
    if (tex->bits && tex->bitmap) {
        HGDIOBJ old = ::SelectObject(src, tex->bitmap);
        if (ThumbnailIsCopy(m_size, tex->width, tex->height))
            ::BitBlt(hdc, r.left, r.top, r.Width(), r.Height(), src, 0, 0, SRCCOPY);
        else
            ::StretchBlt(hdc, r.left, r.top, r.Width(), r.Height(), src, 0, 0, tex->p2width, tex->p2height, SRCCOPY);
        ::SelectObject(src, old);
    }
    CEditorServices* services = GetEditorServices();
    HPEN pen = nullptr;
    if (tex->flags & TEXTURE_CURRENT)
        pen = services->GetTexturePen(CEditorServices::PEN_SELECTED_TEXTURE);
    else if (tex->flags & TEXTURE_MARKED)
        pen = services->GetTexturePen(CEditorServices::PEN_SELECTED_TEXTURE_DOTTED);
    if (pen) {
        // Outlines 3 and 2 pixels outside the cell (the right and bottom edges are exclusive).
        FrameRect(hdc, pen, r.left - 3, r.top - 3, r.right + 3, r.bottom + 3);
        FrameRect(hdc, pen, r.left - 2, r.top - 2, r.right + 2, r.bottom + 2);
    }
}

void CTextureWnd::OnLButtonDown(UINT, CPoint point)
{
    // The cells are worked out as the paint lays them out, so a click between a scroll and the
    // next paint still finds the texture under it.
    int index = 0;
    Texture* hit = nullptr;
    const CPtrList& visible = m_pBrowser->GetVisibleList();
    for (POSITION pos = visible.GetHeadPosition(); pos && m_columns > 0; ++index) {
        Texture* tex = static_cast<Texture*>(visible.GetNext(pos));
        CPoint cell = CellOrigin(index, m_columns, m_size);
        if (ThumbnailRect(cell.x, cell.y, m_size, tex->width, tex->height).PtInRect(point)) {
            hit = tex;
            break;
        }
    }
    if (hit)
        m_pBrowser->ChooseTexture(hit);
    Invalidate(FALSE);
}

// ---------------------------------------------------------------------------
// CTextureBrowser

IMPLEMENT_DYNAMIC(CTextureBrowser, CDialog)

BEGIN_MESSAGE_MAP(CTextureBrowser, CDialog)
    ON_MESSAGE(WM_TEXTURE_INIT, OnInitBrowser)
    ON_MESSAGE(WM_TEXTURE_LOAD, OnLoadTextures)
    ON_MESSAGE(WM_TEXTURE_UNLOAD, OnUnloadTextures)
    ON_CBN_SELCHANGE(IDC_TEXTURE_LIST, OnSelchangeTexture)
    ON_CBN_SELCHANGE(IDC_RECENT_TEXTURES, OnSelchangeRecent)
    ON_WM_VSCROLL()
    ON_WM_SIZE()
    ON_WM_CONTEXTMENU()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_COMMAND_RANGE(ID_TEXTURE_SIZE_32, ID_TEXTURE_SIZE_64, OnTextureSize)
    ON_COMMAND_RANGE(ID_TEXTURE_SIZE_128, ID_TEXTURE_SIZE_256, OnTextureSize)
    ON_COMMAND(ID_TEXTURE_MARK, OnMarkTexture)
    ON_COMMAND(ID_TEXTURE_APPLY_MARKED, OnApplyMarked)
    ON_COMMAND(ID_TEXTURE_USED, OnUsed)
    ON_COMMAND(ID_TEXTURE_SELECT_BRUSHES, OnSelectBrushes)
    ON_COMMAND(ID_TEXTURE_SELECT_WADS, OnSelectWads)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TEXTURE_SIZE_32, ID_TEXTURE_SIZE_64, OnUpdateTextureSize)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TEXTURE_SIZE_128, ID_TEXTURE_SIZE_256, OnUpdateTextureSize)
    ON_UPDATE_COMMAND_UI(ID_TEXTURE_MARK, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_TEXTURE_APPLY_MARKED, OnUpdateProjectCommand)
    ON_UPDATE_COMMAND_UI(ID_TEXTURE_USED, OnUpdateUsed)
    ON_UPDATE_COMMAND_UI(ID_TEXTURE_SELECT_BRUSHES, OnUpdateProjectCommand)
    ON_COMMAND_RANGE(ID_SEC_ALLOWDOCKING, ID_SEC_MDIFLOAT, OnBarCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_SEC_ALLOWDOCKING, ID_SEC_MDIFLOAT, OnUpdateBarCommand)
END_MESSAGE_MAP()

CTextureBrowser::CTextureBrowser(CTextureLoader* pLoader)
    : CDialog(IDD_TEXTURE_BROWSER), m_pLoader(pLoader), m_wndTextures(this)
{
    if (!m_pLoader) {
        m_pLoader = new CTextureLoader;
        m_ownsLoader = TRUE;
        SetTextureSource(m_pLoader);
    }
}

CTextureBrowser::~CTextureBrowser()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_hFont)
        ::DeleteObject(m_hFont);
    // The records go with the loader: nothing here points at them after.
    m_pCurrent = m_pMarked = nullptr;
    m_visible.RemoveAll();
    if (m_ownsLoader)
        delete m_pLoader; // uninstalls itself
}

BOOL CTextureBrowser::Create(CWnd* pParent)
{
    return CDialog::Create(IDD_TEXTURE_BROWSER, pParent);
}

BOOL CTextureBrowser::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The recent textures show their thumbnails: items and the closed field are 64 pixels high.
    ::SendDlgItemMessageA(m_hWnd, IDC_RECENT_TEXTURES, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 64);
    ::SendDlgItemMessageA(m_hWnd, IDC_RECENT_TEXTURES, CB_SETITEMHEIGHT, 0, 64);
    return TRUE;
}

void CTextureBrowser::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT mis)
{
    if (nIDCtl == IDC_RECENT_TEXTURES) {
        mis->itemHeight = 64;
        return;
    }
    CDialog::OnMeasureItem(nIDCtl, mis);
}

BOOL CTextureBrowser::AnyMapOpen()
{
    return Map::GetOpenCount() > 0 || GetEditorServices()->GetActiveMap() != nullptr;
}

SECControlBar* CTextureBrowser::FindOwningBar() const
{
    for (CWnd* p = GetParent(); p; p = p->GetParent())
        if (p->IsKindOf(RUNTIME_CLASS(SECControlBar)))
            return static_cast<SECControlBar*>(p);
    return nullptr;
}

LRESULT CTextureBrowser::OnInitBrowser(WPARAM, LPARAM)
{
    if (!m_hFont)
        m_hFont = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Terminal");
    if (!m_wndTextures.m_hWnd && !m_wndTextures.SubclassDlgItem(IDC_TEXTURE_WINDOW, this))
        return 1;
    if (!m_pLoader->GetPalette() && !m_pLoader->LoadPalette())
        return 1;
    if (!m_pLoader->CreateDCs())
        return 1;
    m_initialised = TRUE;
    Layout();
    return 0;
}

LRESULT CTextureBrowser::OnLoadTextures(WPARAM, LPARAM)
{
    if (!GetEditorServices()->GetProject())
        return 1;
    m_loadRequested = TRUE;
    if (m_pLoader->GetTextureMap().IsEmpty())
        LoadAndShow(TRUE);
    else if (m_listed == 0 && !m_usedOnly)
        LoadAndShow(FALSE); // loaded elsewhere (the program's one loader): list them
    return 0;
}

void CTextureBrowser::LoadAndShow(BOOL load)
{
    if (load)
        m_pLoader->LoadTextures();
    ClearLists();
    FillTextureCombo();
    UpdateScrollRange();
    UpdateStatus();
    ShowProjectTextures();
}

void CTextureBrowser::ShowProjectTextures()
{
    CIniFile* project = GetEditorServices()->GetProject();
    const CString* def = project ? project->GetString("Texture", "Default") : nullptr;
    CComboBox* list = static_cast<CComboBox*>(GetDlgItem(IDC_TEXTURE_LIST));
    int idx = def ? static_cast<int>(::SendMessageA(list->m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(static_cast<LPCSTR>(*def))))
                  : 0;
    if (idx >= 0 && list->SetCurSel(idx) != CB_ERR)
        SelectionChanged(SELECTED_BY_BROWSER);
    const CString* marked = project ? project->GetString("Texture", "Marked") : nullptr;
    if (marked)
        MarkByName(*marked);
    m_wndTextures.Invalidate(FALSE);
    GetDlgItem(IDC_RECENT_TEXTURES)->Invalidate();
}

void CTextureBrowser::MarkByName(LPCSTR name)
{
    Texture* tex = ListedTexture(name);
    if (!tex)
        return;
    if (m_pMarked)
        m_pMarked->flags &= ~TEXTURE_MARKED;
    tex->flags |= TEXTURE_MARKED;
    m_pMarked = tex;
}

void CTextureBrowser::ClearLists()
{
    ::SendDlgItemMessageA(m_hWnd, IDC_TEXTURE_LIST, CB_RESETCONTENT, 0, 0);
    m_recent.clear();
    ShowRecent();
    // The flags go before the pointers, so that no stale frame stays drawn.
    if (m_pCurrent)
        m_pCurrent->flags &= ~(TEXTURE_CURRENT | TEXTURE_MARKED);
    if (m_pMarked)
        m_pMarked->flags &= ~(TEXTURE_CURRENT | TEXTURE_MARKED);
    m_pCurrent = m_pMarked = nullptr;
    m_listed = 0;
    m_scrollPos = 0;
    m_visible.RemoveAll();
}

LRESULT CTextureBrowser::OnUnloadTextures(WPARAM, LPARAM)
{
    // Faces of open maps point at the records: they stay until every map is closed.
    if (AnyMapOpen() || !m_pLoader->CanUnload()) {
        Report().Status("The textures stay loaded while a map is open.");
        return 1;
    }
    // The current and marked textures, the lists and the thumbnails point into the records: they
    // let go while the records are still there, since their flags are cleared through them.
    ClearLists();
    m_pLoader->UnloadTextures();
    GetDlgItem(IDC_TEXTURE_LIST)->Invalidate();
    UpdateScrollRange();
    UpdateStatus();
    m_wndTextures.Invalidate(FALSE);
    return 0;
}

void CTextureBrowser::FillTextureCombo()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_TEXTURE_LIST);
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    // Added in name order, so that each name goes to the end of the sorted list.
    std::vector<Texture*> records;
    records.reserve(static_cast<size_t>(m_pLoader->GetTextureMap().GetCount()));
    CString key;
    void* p;
    for (POSITION pos = m_pLoader->GetTextureMap().GetStartPosition(); pos;) {
        m_pLoader->GetTextureMap().GetNextAssoc(pos, key, p);
        Texture* tex = static_cast<Texture*>(p);
        if (m_usedOnly && !(tex->flags & TEXTURE_USED))
            continue;
        records.push_back(tex);
    }
    std::sort(records.begin(), records.end(),
              [](const Texture* a, const Texture* b) { return a->name.CompareNoCase(b->name) < 0; });
    for (Texture* tex : records) {
        LRESULT i = ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(tex->name)));
        if (i >= 0) {
            ::SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(tex));
            ++m_listed;
        }
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

int CTextureBrowser::ListIndexOf(Texture* tex) const
{
    if (!tex)
        return -1;
    HWND list = ::GetDlgItem(m_hWnd, IDC_TEXTURE_LIST);
    int i = static_cast<int>(::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(static_cast<LPCSTR>(tex->name))));
    if (i < 0 || reinterpret_cast<Texture*>(::SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) != tex)
        return -1;
    return i;
}

Texture* CTextureBrowser::ListedTexture(LPCSTR name) const
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_TEXTURE_LIST);
    int i = static_cast<int>(
        ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)));
    if (i < 0)
        return nullptr;
    return reinterpret_cast<Texture*>(::SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
}

void CTextureBrowser::UpdateScrollRange()
{
    int w = 0, h = 0;
    if (m_wndTextures.m_hWnd) {
        RECT rc;
        ::GetClientRect(m_wndTextures.m_hWnd, &rc);
        w = rc.right;
        h = rc.bottom;
    }
    m_grid = ComputeTextureGrid(w, h, m_size, m_listed, ListIndexOf(m_pCurrent));
    m_scrollPos = m_grid.scrollEnabled ? m_grid.position : 0;
    HWND bar = ::GetDlgItem(m_hWnd, IDC_TEXTURE_SCROLL);
    SCROLLINFO si = {sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    if (m_grid.scrollEnabled) {
        si.nMax = m_grid.scrollMax;
        si.nPage = static_cast<UINT>(m_grid.page);
        si.nPos = m_scrollPos;
    }
    ::SetScrollInfo(bar, SB_CTL, &si, TRUE);
    ::EnableWindow(bar, m_grid.scrollEnabled);
    m_wndTextures.SetGeometry(m_grid.drawWidth, m_grid.drawHeight, m_grid.columns, m_grid.visibleRows,
                              m_grid.size > 0 ? m_grid.size : m_size);
}

void CTextureBrowser::UpdateStatus()
{
    m_visible.RemoveAll();
    HWND list = ::GetDlgItem(m_hWnd, IDC_TEXTURE_LIST);
    int count = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
    int first, last;
    VisibleSlice(m_scrollPos, m_grid.columns, m_grid.visibleRows, count, first, last);
    for (int i = first; i < last; ++i)
        m_visible.AddTail(reinterpret_cast<void*>(::SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    CString size, shown;
    if (m_pCurrent)
        size.Format("%dx%d", m_pCurrent->width, m_pCurrent->height);
    GetDlgItemText(IDC_TEXTURE_SIZE, shown);
    if (size != shown)
        SetDlgItemText(IDC_TEXTURE_SIZE, size);
}

void CTextureBrowser::SetScrollPosition(int pos)
{
    pos = std::max(0, std::min(pos, LastScrollPosition(m_grid)));
    m_scrollPos = pos;
    ::SetScrollPos(::GetDlgItem(m_hWnd, IDC_TEXTURE_SCROLL), SB_CTL, pos, TRUE);
}

void CTextureBrowser::OnVScroll(UINT code, UINT nPos, CScrollBar*)
{
    int pos = m_scrollPos;
    switch (code) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= m_grid.visibleRows; break;
    case SB_PAGEDOWN: pos += m_grid.visibleRows; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = static_cast<int>(nPos); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = m_grid.totalRows; break;
    default: return;
    }
    SetScrollPosition(pos);
    UpdateStatus();
    m_wndTextures.Invalidate(FALSE);
}

void CTextureBrowser::SelectTexture(Texture* tex)
{
    int idx = ListIndexOf(tex);
    CComboBox* list = static_cast<CComboBox*>(GetDlgItem(IDC_TEXTURE_LIST));
    if (idx >= 0 && list->SetCurSel(idx) != CB_ERR) {
        SelectionChanged(SELECTED_SHOWN);
        return;
    }
    list->SetCurSel(-1);
    if (m_pCurrent)
        m_pCurrent->flags &= ~TEXTURE_CURRENT;
    m_pCurrent = nullptr;
    UpdateStatus();
    m_wndTextures.Invalidate(FALSE);
}

void CTextureBrowser::SelectTextureByName(LPCSTR name)
{
    SelectTexture(ListedTexture(name));
}

void CTextureBrowser::ChooseTexture(Texture* tex)
{
    int idx = ListIndexOf(tex);
    if (idx >= 0 && static_cast<CComboBox*>(GetDlgItem(IDC_TEXTURE_LIST))->SetCurSel(idx) != CB_ERR)
        SelectionChanged(SELECTED_BY_USER);
}

void CTextureBrowser::OnSelchangeTexture()
{
    SelectionChanged(SELECTED_BY_USER);
}

void CTextureBrowser::SelectionChanged(SelectionSource source)
{
    CComboBox* list = static_cast<CComboBox*>(GetDlgItem(IDC_TEXTURE_LIST));
    int sel = list->GetCurSel();
    if (sel < 0)
        return;
    Texture* tex = static_cast<Texture*>(list->GetItemDataPtr(sel));
    if (!tex)
        return;
    if (m_pCurrent)
        m_pCurrent->flags &= ~TEXTURE_CURRENT;
    tex->flags |= TEXTURE_CURRENT;
    m_pCurrent = tex;

    // New brushes take the current texture from the project's "Default"; the browser's own
    // choice stands in only while the project is open and never reaches its file.
    if (CIniFile* project = GetEditorServices()->GetProject()) {
        if (source == SELECTED_BY_BROWSER)
            project->SetSessionString("Texture", "Default", tex->name);
        else
            project->WriteString("Texture", "Default", tex->name, TRUE);
    }
    RecentAdd(m_recent, tex->name);
    ShowRecent();

    if (Map* map = GetEditorServices()->GetActiveMap()) {
        CUpdateHint hint;
        hint.texture = tex;
        map->UpdateAllViews(nullptr, HINT_TEXTURE_BROWSER, &hint);
        // Only the user's own choice goes onto the selection.
        if (source == SELECTED_BY_USER)
            map->GetDefaultTexture();
    }

    if (!m_visible.Find(tex) && m_grid.columns > 0)
        SetScrollPosition(sel / m_grid.columns);
    UpdateStatus();
    m_wndTextures.Invalidate(FALSE);
}

void CTextureBrowser::ShowRecent()
{
    HWND combo = ::GetDlgItem(m_hWnd, IDC_RECENT_TEXTURES);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const CString& name : m_recent)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(name)));
    if (!m_recent.empty())
        ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

void CTextureBrowser::OnSelchangeRecent()
{
    int sel = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_RECENT_TEXTURES, CB_GETCURSEL, 0, 0));
    if (sel < 0 || sel >= static_cast<int>(m_recent.size()))
        return;
    CString name = m_recent[static_cast<size_t>(sel)];
    Texture* tex = ListedTexture(name);
    RecentChoose(m_recent, sel, tex != nullptr);
    ShowRecent();
    if (tex)
        ChooseTexture(tex);
}

void CTextureBrowser::DrawRecentItem(LPDRAWITEMSTRUCT dis)
{
    HDC hdc = dis->hDC;
    RECT rc = dis->rcItem;
    HBRUSH back = ::CreateSolidBrush(SettingColor("Texture Background", 0));
    ::FillRect(hdc, &rc, back);
    ::DeleteObject(back);
    if (static_cast<int>(dis->itemID) < 0)
        return;
    char text[64] = "";
    int len = static_cast<int>(::SendMessageA(dis->hwndItem, CB_GETLBTEXTLEN, dis->itemID, 0));
    if (len > 0 && len < static_cast<int>(sizeof text))
        ::SendMessageA(dis->hwndItem, CB_GETLBTEXT, dis->itemID, reinterpret_cast<LPARAM>(text));
    Texture* tex = text[0] ? ListedTexture(text) : nullptr;
    if (tex && tex->bits && tex->bitmap) {
        HDC src = ::CreateCompatibleDC(hdc);
        HGDIOBJ old = ::SelectObject(src, tex->bitmap);
        int x = rc.left, y = rc.top, w = 64, h = 64;
        if (tex->width < 64) {
            x += (64 - tex->width) / 2;
            w = tex->width;
        }
        if (tex->height < 64) {
            y += (64 - tex->height) / 2;
            h = tex->height;
        }
        ::SetStretchBltMode(hdc, COLORONCOLOR);
        if (tex->width == 64 && tex->height == 64)
            ::BitBlt(hdc, x, y, 64, 64, src, 0, 0, SRCCOPY);
        else
            ::StretchBlt(hdc, x, y, w, h, src, 0, 0, tex->p2width, tex->p2height, SRCCOPY);
        ::SelectObject(src, old);
        ::DeleteDC(src);
    }
    HGDIOBJ oldFont = m_hFont ? ::SelectObject(hdc, m_hFont) : nullptr;
    ::SetTextColor(hdc, SettingColor("Texture Name", 0xFF0000));
    ::SetBkColor(hdc, SettingColor("Texture Background", 0));
    RECT tr = rc;
    tr.left += 70;
    ::DrawTextA(hdc, text, -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (oldFont)
        ::SelectObject(hdc, oldFont);
    CEditorServices* services = GetEditorServices();
    HPEN pen = services->GetTexturePen((dis->itemState & ODS_SELECTED) ? CEditorServices::PEN_SELECTED_TEXTURE
                                                                        : CEditorServices::PEN_TEXTURE_BACKGROUND);
    FrameRect(hdc, pen, rc.left, rc.top, rc.right, rc.bottom);
}

void CTextureBrowser::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT dis)
{
    if (nIDCtl == IDC_RECENT_TEXTURES) {
        DrawRecentItem(dis);
        return;
    }
    CDialog::OnDrawItem(nIDCtl, dis);
}

void CTextureBrowser::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    Layout();
}

static int WindowHeight(HWND h)
{
    RECT r;
    ::GetWindowRect(h, &r);
    return r.bottom - r.top;
}

int CTextureBrowser::PanelWidthFor(int thumbnailSize)
{
    // The texture window needs 6 pixels on either side of a cell and 6 more (see the grid); the
    // layout puts 4 pixels on either side, the scroll bar and 2 pixels between them.
    return thumbnailSize + 18 + 2 * 4 + 2 + ::GetSystemMetrics(SM_CXVSCROLL);
}

void CTextureBrowser::Layout()
{
    if (!m_initialised)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::InflateRect(&rc, -4, -4);
    int w = std::max(0, static_cast<int>(rc.right - rc.left));
    int y = rc.top;
    HWND memory = ::GetDlgItem(m_hWnd, IDC_TEXTURE_MEMORY);
    HWND recent = ::GetDlgItem(m_hWnd, IDC_RECENT_TEXTURES);
    HWND active = ::GetDlgItem(m_hWnd, IDC_ACTIVE_TEXTURE);
    HWND size = ::GetDlgItem(m_hWnd, IDC_TEXTURE_SIZE);
    HWND list = ::GetDlgItem(m_hWnd, IDC_TEXTURE_LIST);
    HWND bar = ::GetDlgItem(m_hWnd, IDC_TEXTURE_SCROLL);
    int labelH = WindowHeight(memory);
    ::MoveWindow(memory, rc.left, y, w, labelH, TRUE);
    y += labelH + 2;
    int recentH = WindowHeight(recent);
    ::MoveWindow(recent, rc.left, y, w, recentH + 5 * 64, TRUE);
    y += recentH + 4;
    int sizeW = std::min(w, 60);
    ::MoveWindow(active, rc.left, y, w - sizeW, labelH, TRUE);
    ::MoveWindow(size, rc.left + w - sizeW, y, sizeW, labelH, TRUE);
    y += labelH + 2;
    int listH = WindowHeight(list);
    ::MoveWindow(list, rc.left, y, w, listH + 200, TRUE);
    y += listH + 2;
    int sbW = ::GetSystemMetrics(SM_CXVSCROLL);
    int h = std::max(0, static_cast<int>(rc.bottom) - y);
    ::MoveWindow(m_wndTextures.m_hWnd, rc.left, y, std::max(0, w - sbW - 2), h, TRUE);
    ::MoveWindow(bar, rc.left + w - sbW, y, sbW, h, TRUE);
    UpdateScrollRange();
    UpdateStatus();
    m_wndTextures.Invalidate(FALSE);
}

BOOL CTextureBrowser::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_KEYUP ||
        pMsg->message == WM_SYSKEYUP) {
        const UINT vk = static_cast<UINT>(pMsg->wParam);
        const BOOL functionKey = vk >= VK_F1 && vk <= VK_F24;
        const BOOL ctrlShortcut = ::GetKeyState(VK_CONTROL) < 0 && vk != VK_TAB && vk != VK_CONTROL;
        if (functionKey || ctrlShortcut)
            return CWnd::PreTranslateMessage(pMsg);
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CTextureBrowser::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1) {
        RECT r;
        ::GetWindowRect(m_hWnd, &r);
        point = CPoint(r.left + 4, r.top + 4);
    }
    CMenu menu;
    if (!menu.LoadMenu(IDR_TEXTURE_LIST_BAR))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup)
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CTextureBrowser::OnUpdateProjectCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetEditorServices()->GetProject() != nullptr);
}

static int SizeOfCommand(UINT id)
{
    switch (id) {
    case ID_TEXTURE_SIZE_32: return 32;
    case ID_TEXTURE_SIZE_48: return 48;
    case ID_TEXTURE_SIZE_64: return 64;
    case ID_TEXTURE_SIZE_128: return 128;
    case ID_TEXTURE_SIZE_256: return 256;
    }
    return 0;
}

void CTextureBrowser::OnUpdateTextureSize(CCmdUI* pCmdUI)
{
    OnUpdateProjectCommand(pCmdUI);
    pCmdUI->SetCheck(SizeOfCommand(pCmdUI->m_nID) == m_size);
}

void CTextureBrowser::OnUpdateUsed(CCmdUI* pCmdUI)
{
    OnUpdateProjectCommand(pCmdUI);
    pCmdUI->SetCheck(m_usedOnly ? 1 : 0);
}

void CTextureBrowser::OnTextureSize(UINT nID)
{
    int s = SizeOfCommand(nID);
    if (s == 0)
        return;
    m_size = s;
    UpdateScrollRange();
    UpdateStatus();
    m_wndTextures.Invalidate(FALSE);
}

void CTextureBrowser::OnMarkTexture()
{
    if (!m_pCurrent)
        return;
    if (m_pMarked)
        m_pMarked->flags &= ~TEXTURE_MARKED;
    m_pCurrent->flags |= TEXTURE_MARKED;
    m_pMarked = m_pCurrent;
    if (CIniFile* project = GetEditorServices()->GetProject())
        project->WriteString("Texture", "Marked", m_pMarked->name, TRUE);
    m_wndTextures.Invalidate(FALSE);
}

void CTextureBrowser::OnApplyMarked()
{
    if (Map* map = GetEditorServices()->GetActiveMap())
        map->GetMarkedTexture();
}

void CTextureBrowser::OnSelectBrushes()
{
    Map* map = GetEditorServices()->GetActiveMap();
    if (map && m_pCurrent)
        map->SelectBrushesByTexture(m_pCurrent);
}

void CTextureBrowser::OnUsed()
{
    m_usedOnly = !m_usedOnly;
    CTextureMap& textures = m_pLoader->GetTextureMap();
    CMapPtrToPtr used;
    Map* map = GetEditorServices()->GetActiveMap();
    if (m_usedOnly && map) {
        CMapStringToPtr names;
        map->CollectUsedTextures(names);
        CString key;
        void* p;
        for (POSITION pos = names.GetStartPosition(); pos;) {
            names.GetNextAssoc(pos, key, p);
            used.SetAt(p, p);
        }
    }
    CString key;
    void* p;
    for (POSITION pos = textures.GetStartPosition(); pos;) {
        textures.GetNextAssoc(pos, key, p);
        Texture* tex = static_cast<Texture*>(p);
        void* found;
        if (m_usedOnly && used.Lookup(tex, found))
            tex->flags |= TEXTURE_USED;
        else
            tex->flags &= ~TEXTURE_USED;
    }
    // The recent list stays: its names are drawn as long as they are listed.
    std::vector<CString> recent = m_recent;
    ClearLists();
    m_recent = recent;
    FillTextureCombo();
    UpdateScrollRange();
    UpdateStatus();
    ShowProjectTextures();
}

void CTextureBrowser::OnSelectWads()
{
    if (AnyMapOpen()) {
        Report().Box(MB_OK, "In order to select new wads, you\nmust close all current maps first.");
        return;
    }
    CSelectWadsDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    OnUnloadTextures(0, 0);
    if (GetEditorServices()->GetProject()) {
        m_loadRequested = TRUE;
        if (m_pLoader->GetTextureMap().IsEmpty())
            LoadAndShow(TRUE);
    }
    m_wndTextures.Invalidate(FALSE);
    GetDlgItem(IDC_RECENT_TEXTURES)->Invalidate();
}

void CTextureBrowser::OnBarCommand(UINT nID)
{
    if (SECControlBar* bar = FindOwningBar())
        bar->SendMessage(WM_COMMAND, nID, 0);
}

void CTextureBrowser::OnUpdateBarCommand(CCmdUI* pCmdUI)
{
    SECControlBar* bar = FindOwningBar();
    if (!bar) {
        pCmdUI->Enable(FALSE);
        return;
    }
    BOOL inMain = bar->IsMDIChild();
    switch (pCmdUI->m_nID) {
    case ID_SEC_ALLOWDOCKING:
        pCmdUI->Enable(!inMain);
        bar->OnCmdMsg(ID_SEC_ALLOWDOCKING, CN_UPDATE_COMMAND_UI, pCmdUI, nullptr);
        if (inMain)
            pCmdUI->Enable(FALSE);
        break;
    case ID_SEC_HIDE: pCmdUI->Enable(TRUE); break;
    case ID_SEC_MDIFLOAT:
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(inMain ? 1 : 0);
        break;
    }
}
