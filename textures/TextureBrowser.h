// The texture browser: a child panel with the sorted list of all texture names, a short list of
// recently chosen textures drawn with thumbnails, the size of the current texture and a scrolling
// window of thumbnails. Choosing a texture makes it the project's default and puts it on the
// active map's selection; a texture shown by the map (after a pick) changes nothing.
#pragma once
#include "TextureLoader.h"
#include "TexturesRes.h"
#include "afxwin.h"
#include <vector>

class CTextureBrowser;
class SECControlBar;

// Messages the Resource window sends to the browser.
enum
{
    WM_TEXTURE_INIT = WM_USER + 10,   // set up the panel (font, texture window, palette, contexts)
    WM_TEXTURE_LOAD = WM_USER + 11,   // load the project's textures when none are loaded
    WM_TEXTURE_UNLOAD = WM_USER + 12, // free the textures (refused while a map is open)
};

// The thumbnail grid of a texture window w x h pixels at size s holding count textures.
struct TextureGrid
{
    int columns = 0, totalRows = 0, visibleRows = 0;
    BOOL scrollEnabled = FALSE;
    int scrollMax = 0, page = 0, position = 0; // the scroll bar while it is enabled
    int drawWidth = 1, drawHeight = 1;
    int size = 0; // the thumbnails' size: the chosen one, or less when one column needs it
};
// The smallest thumbnail the grid shrinks to so that one column fits.
enum { SMALLEST_THUMBNAIL = 16 };
// currentIndex: the current texture's index in the list, or -1.
TextureGrid ComputeTextureGrid(int w, int h, int s, int count, int currentIndex);
// The list indexes of the rows shown from scroll position pos: [first, last).
void VisibleSlice(int pos, int columns, int visibleRows, int count, int& first, int& last);
// The highest scroll position: the last row is then the bottom row shown.
int LastScrollPosition(const TextureGrid& grid);
// Where a texture of w x h is drawn in the cell of size s whose top left is (x, y).
CRect ThumbnailRect(int x, int y, int s, int w, int h);
// TRUE when the thumbnail is a plain copy of the texture's pixels (exactly s x s).
inline BOOL ThumbnailIsCopy(int s, int w, int h) { return w == s && h == s; }

// The recently chosen names, newest first, at most ten.
enum { RECENT_TEXTURES = 10 };
void RecentAdd(std::vector<CString>& names, const CString& name);
// The user chose item index: it leaves the list and comes back at the top when still listed.
void RecentChoose(std::vector<CString>& names, int index, BOOL stillListed);

// The thumbnails. Clicks on a thumbnail make it the current texture.
class CTextureWnd : public CWnd
{
public:
    explicit CTextureWnd(CTextureBrowser* pBrowser) : m_pBrowser(pBrowser) {}
    void SetGeometry(int drawWidth, int drawHeight, int columns, int visibleRows, int size);
    // Draws the visible textures into the DC (the window's client area at the origin).
    void DrawTextures(HDC hdc);

    int m_drawWidth = 1, m_drawHeight = 1, m_columns = 0, m_visibleRows = 0, m_size = 64;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void DrawTexture(HDC hdc, HDC hdcSource, Texture* pTexture, int x, int y);

    CTextureBrowser* m_pBrowser;
    DECLARE_MESSAGE_MAP()
};

class CTextureBrowser : public CDialog
{
    DECLARE_DYNAMIC(CTextureBrowser)
public:
    // The loader is the program's one; null makes the browser its own and installs it.
    explicit CTextureBrowser(CTextureLoader* pLoader = nullptr);
    ~CTextureBrowser() override;

    // Creates the panel from its template as a child of the parent.
    BOOL Create(CWnd* pParent);
    // The panel's width that shows one column of thumbnails of the size.
    static int PanelWidthFor(int thumbnailSize);

    // Shows the texture as current without applying it to any selection (the map calls this
    // after a pick); a null texture or one not listed clears the selection.
    void SelectTexture(Texture* pTexture);
    void SelectTextureByName(LPCSTR name);
    // The user chose the texture (a click on its thumbnail): it becomes current and goes onto
    // the active map's selection.
    void ChooseTexture(Texture* pTexture);

    // Commands.
    void OnMarkTexture();
    void OnApplyMarked();
    void OnUsed();
    void OnSelectBrushes();
    void OnSelectWads();
    void OnTextureSize(UINT nID);

    LRESULT OnInitBrowser(WPARAM, LPARAM);
    LRESULT OnLoadTextures(WPARAM, LPARAM);
    LRESULT OnUnloadTextures(WPARAM, LPARAM);

    // State, for the texture window and for those who watch the browser.
    Texture* GetCurrentTexture() const { return m_pCurrent; }
    Texture* GetMarkedTexture() const { return m_pMarked; }
    int GetThumbnailSize() const { return m_size; }
    const TextureGrid& GetGrid() const { return m_grid; }
    int GetScrollPosition() const { return m_scrollPos; }
    const CPtrList& GetVisibleList() const { return m_visible; }
    const std::vector<CString>& GetRecentNames() const { return m_recent; }
    BOOL IsUsedOnly() const { return m_usedOnly; }
    BOOL IsInitialised() const { return m_initialised; }
    CTextureLoader* GetLoader() const { return m_pLoader; }
    CTextureWnd* GetTextureWnd() { return &m_wndTextures; }
    HFONT GetFont() const { return m_hFont; }
    // The control bar that holds the browser (the Resource window), or null.
    SECControlBar* FindOwningBar() const;
    // Textures are never unloaded while a map is open: its faces point at them.
    static BOOL AnyMapOpen();

    // The panel's navigation keeps its keys (Tab, arrows, typing); function keys and Ctrl
    // shortcuts go on to the frame that holds the panel, as from any other docked window.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override {}

    // Who made the current texture: the browser when it shows a project (the user chose nothing,
    // so the project keeps no "Default" for it), a pick or a reload, or the user in the browser
    // (then it is applied to the selection too).
    enum SelectionSource { SELECTED_BY_BROWSER, SELECTED_SHOWN, SELECTED_BY_USER };
    // The selection of list 1114 changed.
    void SelectionChanged(SelectionSource source);
    void OnSelchangeTexture();
    void OnSelchangeRecent();
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnSize(UINT nType, int cx, int cy);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    void OnUpdateProjectCommand(CCmdUI* pCmdUI);
    void OnUpdateTextureSize(CCmdUI* pCmdUI);
    void OnUpdateUsed(CCmdUI* pCmdUI);
    void OnBarCommand(UINT nID);
    void OnUpdateBarCommand(CCmdUI* pCmdUI);

    void FillTextureCombo();
    void UpdateScrollRange();
    void UpdateStatus();
    void Layout();
    void ShowRecent();
    // Loads the textures (load), builds the list and the grid and shows the project's default
    // and marked textures; nothing is applied.
    void LoadAndShow(BOOL load);
    void ShowProjectTextures();
    void MarkByName(LPCSTR name);
    void ClearLists();
    int ListIndexOf(Texture* pTexture) const;
    Texture* ListedTexture(LPCSTR name) const;
    void SetScrollPosition(int pos);
    void DrawRecentItem(LPDRAWITEMSTRUCT dis);

    CTextureLoader* m_pLoader;
    BOOL m_ownsLoader = FALSE;
    Texture* m_pCurrent = nullptr;
    Texture* m_pMarked = nullptr;
    int m_listed = 0;
    TextureGrid m_grid;
    int m_scrollPos = 0;
    int m_size = 64;
    BOOL m_loadRequested = FALSE, m_usedOnly = FALSE, m_initialised = FALSE;
    CPtrList m_visible; // Texture* of the rows shown, in list order
    std::vector<CString> m_recent;
    HFONT m_hFont = nullptr;
    CTextureWnd m_wndTextures;

    DECLARE_MESSAGE_MAP()
};
