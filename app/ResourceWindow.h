// The Resource window: the project's maps, objects and textures in three tabs of a docking bar.
#pragma once
#include "SEC3DTabWnd.h"
#include "SECBar.h"
#include "TextureBrowser.h"
#include "afxole.h"
#include "afxwin.h"

// Messages of the Resource window and its lists.
enum
{
    WM_RESOURCE_INIT = WM_USER + 10,    // once after creation: the drop target, the texture panel
    WM_RESOURCE_REFRESH = WM_USER + 11, // a project was loaded or its settings changed: refill
    WM_RESOURCE_CLEAR = WM_USER + 12,   // the project was closed: empty
};

// A list box in the system's dialog font.
class CGuiFontListBox : public CListBox
{
    DECLARE_DYNAMIC(CGuiFontListBox)
public:
    BOOL CreateList(CWnd* pParent, UINT nID, DWORD dwExtraStyle);
};

// A list of project files: each entry shows a file's name (or its full path) and owns its path.
class CProjectFileList : public CGuiFontListBox
{
    DECLARE_DYNAMIC(CProjectFileList)
public:
    ~CProjectFileList() override;

    // The display text of a path: with compact names the file name after the last "\" (else
    // after the last ":") cut before its last "."; otherwise the path.
    static CString DisplayText(const CString& path, BOOL compact);
    BOOL IsCompact();
    BOOL AddEntry(const CString& path);
    // The full path of an entry (null for an index outside the list or without data).
    const CString* GetPath(int index) const;
    // Empties the list and frees every path.
    void Clear();
    // Every file with the extension in the project's directories of the key; FALSE when the path
    // iterator refused (its message was shown).
    BOOL LoadFiles();
    // Rewrites every text for the compact setting, keeping the selection.
    void ApplyCompactNames();
    void OnCompactNames();
    // Selects the first entry whose path equals path ignoring case; none when nothing does.
    void SelectPath(const CString& path);
    // The entry under the selection (single selection) or the caret with a selection (extended).
    int GetChosenIndex() const;
    // Asks, then deletes the chosen file; the entry leaves the list when it is gone.
    void DeleteChosenFile(UINT nFailedText);

protected:
    // What the list shows: its settings section, its project key, its texts.
    struct Kind
    {
        const char* section;        // "Map List" / "Object List"
        const char* key;            // "Maps" / "Objects"
        UINT nNoPathsText;          // the path iterator's message
        const char* loading;        // status line while loading
        UINT nLoadedText;           // status line when something was found
        UINT nNoneFoundText;        // message box when nothing was found
    };
    virtual const Kind& GetKind() const = 0;
    // The common items of both context menus; the list owns their commands.
    void PrepareContextMenu(CMenu* pPopup, UINT nRescan, UINT nCompact, UINT nDelete);
    void TrackContextMenu(UINT nMenu, CPoint point);
    virtual void PrepareMenu(CMenu* pPopup) = 0;
    void OnBarCommand(UINT nID);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    LRESULT OnClearList(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};

class CMapListBox : public CProjectFileList
{
    DECLARE_DYNAMIC(CMapListBox)
public:
    // The view code of "Map Bar"/"Double Click" (0-3); 0 for any other value.
    static int DoubleClickViewCode(int setting);
    BOOL LoadMaps() { return LoadFiles(); }
    // A map file written now: listed when it lies in one of the project's map folders and is
    // not listed yet.
    void AddSavedMap(const CString& path);
    LRESULT OnRefreshList(WPARAM, LPARAM);
    void OnRescan();
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnOpenView(UINT nID);
    void OnDeleteMap();

protected:
    const Kind& GetKind() const override;
    void PrepareMenu(CMenu* pPopup) override;
    void OpenChosen(int viewCode);
    DECLARE_MESSAGE_MAP()
};

class CObjectList;

class CObjectDropTarget : public COleDropTarget
{
public:
    explicit CObjectDropTarget(CObjectList* pList) : m_pList(pList) {}
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

private:
    CObjectList* m_pList;
};

class CObjectList : public CProjectFileList
{
    DECLARE_DYNAMIC(CObjectList)
public:
    CObjectList();
    BOOL LoadObjects();
    void RefreshAndSelect(const CString& path);
    // The drag block of an object file: the file's text in the one "Morvane Data" layout. Null,
    // after its message, when the file cannot be read, is empty or holds no map objects.
    static HGLOBAL PackObjectFile(const CString& path);
    // The data that a drag of an object file offers: its "Morvane Data" block, and its path, from
    // which a map window's drop reads the whole file. Null, after the message, when the file gives
    // no block.
    static COleDataSource* MakeDragSource(const CString& path);
    // Writes the active map's selection into a file the user names; FALSE on Cancel, without an
    // active map (before any dialog) and on every failure.
    BOOL SaveSelectionAsObject();

    LRESULT OnRegisterDropTarget(WPARAM, LPARAM);
    LRESULT OnRefreshList(WPARAM, LPARAM);
    void OnRescan();
    void OnDeleteObject();
    void OnLButtonDown(UINT nFlags, CPoint point);

    CObjectDropTarget m_dropTarget;
    // A drag of one of the list's own files is running.
    BOOL IsDragging() const { return m_bDragging; }

protected:
    const Kind& GetKind() const override;
    void PrepareMenu(CMenu* pPopup) override;
    BOOL m_bDragging = FALSE;
    DECLARE_MESSAGE_MAP()
};

class CProjectBar : public SECControlBar
{
    DECLARE_DYNAMIC(CProjectBar)
public:
    CProjectBar();

    CMapListBox m_mapList;
    CObjectList m_objectList;
    CTextureBrowser m_textureBrowser;
    SEC3DTabWnd m_tabWnd;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnForwardInit(WPARAM wParam, LPARAM lParam);
    LRESULT OnForwardRefresh(WPARAM wParam, LPARAM lParam);
    LRESULT OnForwardClear(WPARAM wParam, LPARAM lParam);
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    DECLARE_MESSAGE_MAP()
};
