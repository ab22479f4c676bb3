// The modeless Entity Editor: the project's entity classes as a tree grouped by the parts of
// their names, the selected map entity edited on a private copy (Apply writes it into the map,
// Undo reloads it), and the class pens and visibility switches that the map views draw with.
#pragma once
#include "afxwin.h"
#include "afxdlg.h"
#include "afxctrl.h"
#include "SEC3DTabWnd.h"
#include "SECButton.h"
#include "Entity.h"
#include "EntityEditorRes.h"
#include "EntityGrid.h"

class CEntityClassMap;
class CEntityEditorDlg;
struct EntityClass;

// The editor's private messages (numbers relative to WM_USER are shared with the main frame,
// the pages and the key/value grid).
enum : UINT
{
    WM_ENTITY_SHOW = WM_USER + 20,          // wParam Entity* or 0, lParam EntityClass* or 0
    WM_ENTITY_ORIGIN = WM_USER + 21,        // wParam the origin text (LPCSTR)
    WM_ENTITY_MODIFIED = WM_USER + 23,      // the working entity was modified
    WM_ENTITY_QUERY = WM_USER + 24,         // wParam nonzero: the edited entity, 0: the working copy
    WM_ENTITY_WRITE_ROWS = WM_USER + 25,    // the grid writes its rows into the working entity
    WM_ENTITY_STYLES_CHANGED = WM_USER + 26, // class colours or visibility changed
};

// The pens and visibility switches of classes and class groups, keyed by a class name or a
// "_"-separated prefix of one. Lookups fall back to the nearest prefix that has an entry.
class CEntityClassStyles
{
public:
    CEntityClassStyles();
    ~CEntityClassStyles();
    CEntityClassStyles(const CEntityClassStyles&) = delete;
    CEntityClassStyles& operator=(const CEntityClassStyles&) = delete;

    // The name's pen, else its nearest prefix's (a_b_c, a_b, a); null when none has one.
    CPen* GetPen(LPCSTR className) const;
    // Replaces the path's pen by a solid one of the colour.
    void SetPen(LPCSTR path, COLORREF color);
    // The same from a "%d %d %d" colour text; FALSE (no pen) when the text is not one.
    BOOL SetPen(LPCSTR path, LPCSTR colorText);
    // Drops the pens of every path below this one (they take its colour through the prefixes).
    void RemovePensBelow(LPCSTR path);
    void RemoveAllPens();
    int GetPenCount() const { return static_cast<int>(m_pens.GetCount()); }

    // 1 shown, 0 hidden for the name or its nearest prefix; -1 when none has an entry.
    int IsVisible(LPCSTR className) const;
    // The exact path's state; FALSE when it has none.
    BOOL GetVisibility(LPCSTR path, int& state) const;
    // The path and (with below) every path under it.
    void SetVisibility(LPCSTR path, int state, BOOL below);
    void SetAllVisibility(int state);
    void AddVisibility(LPCSTR path);    // state 1 unless the path has an entry
    void RemoveAllVisibility();
    int GetVisibilityCount() const { return static_cast<int>(m_visible.GetCount()); }

private:
    CMapStringToPtr m_pens;     // path -> CPen*
    CMapStringToPtr m_visible;  // path -> int* (1 visible, 0 hidden)
};

// "%d %d %d" as a colour; FALSE when the text does not hold three numbers.
BOOL ParseColorText(LPCSTR text, COLORREF& color);

// The "Visible" page: the selected class or group shown or hidden, or every class.
class CEntityVisiblePage : public CDialog
{
public:
    explicit CEntityVisiblePage(CEntityEditorDlg* pEditor) : m_pEditor(pEditor) {}
    LRESULT OnShowClass(WPARAM wParam, LPARAM lParam);
    void OnVisibleClicked();
    void OnAllVisible();
    void OnNoneVisible();
    void OnOK() override {}
    void OnCancel() override {}

private:
    CEntityEditorDlg* m_pEditor;
    DECLARE_MESSAGE_MAP()
};

// The "Color" page: the selected class's or group's colour in a colour well.
class CEntityColorPage : public CDialog
{
public:
    explicit CEntityColorPage(CEntityEditorDlg* pEditor) : m_pEditor(pEditor) {}
    BOOL OnInitDialog() override;
    LRESULT OnShowClass(WPARAM wParam, LPARAM lParam);
    LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
    void OnRevertColors();
    void OnOK() override {}
    void OnCancel() override {}

    SECWellButton m_well;

private:
    CEntityEditorDlg* m_pEditor;
    DECLARE_MESSAGE_MAP()
};

// The "Key/Value" page: the host of the key/value grid.
class CEntityAdvancedPage : public CDialog
{
public:
    CEntityAdvancedPage() = default;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnSize(UINT nType, int cx, int cy);
    CEntityGrid* GetGrid() const { return m_panel.GetGrid(); }

    CGridPanel m_panel;

private:
    DECLARE_MESSAGE_MAP()
};

class CEntityEditorDlg : public CDialog
{
public:
    CEntityEditorDlg(CEntityClassMap& classes, CWnd* pParent);
    ~CEntityEditorDlg() override;

    // The modeless window from its template, hidden.
    BOOL Create();

    // ---- The main frame's operations
    // The project's classes: the tree emptied first, the scan, the pens of point classes, the
    // tree filled; "Loaded %d entities". Returns the number of classes.
    int LoadEntityClasses();
    // The project closed: the tree, the classes, the edited entity, the pens and switches go.
    void ClearEntityClasses();
    // Shows an entity of the active map (null shows nothing).
    void SetEntity(Entity* pEntity);
    // The edited entity moved in a view: its new "origin" reaches the grid; pending edits stay.
    void UpdateOrigin(LPCSTR origin);
    // The Apply button's action.
    void Apply() { OnOK(); }
    BOOL HasUnappliedChanges() const { return m_bModified; }
    BOOL IsReady() const { return m_bReady; }

    // ---- The views' services
    CPen* GetEntityPen(LPCSTR className) const { return m_styles.GetPen(className); }
    int IsEntityVisible(LPCSTR className) const { return m_styles.IsVisible(className); }
    CEntityClassStyles& GetStyles() { return m_styles; }

    // ---- The tree and the pages
    void FillClassTree();
    // The "_"-joined texts from the top level down to the item.
    CString GetItemPath(HTREEITEM hItem) const;
    CString GetSelectedPath() const;
    // The image an item shows now (0 leaf, 2/4 closed group, 6/8 open group; +1 selected).
    int GetItemImageFor(HTREEITEM hItem) const;
    // Colour of the pen of the selected path: replaces it, drops the pens below, tells the frame.
    void SetClassColor(COLORREF color);
    void CreateClassPen(LPCSTR path, LPCSTR colorText);
    // Every pen dropped; the point classes' pens made again from their colour texts.
    void RevertAllColors();
    // The pens or switches changed: the frame redraws every open map.
    void NotifyStylesChanged();
    // The active map redraws its selection after a visibility change.
    void RedrawActiveMap();

    Entity& GetWorkingEntity() { return m_working; }
    Entity* GetEditedEntity() const { return m_pEdited; }
    const EntityClass* GetCurrentClass() const { return m_pCurrentClass; }
    CString GetHelpText() const;

    CTreeCtrl m_tree;
    CButton m_apply;
    CButton m_undo;
    SEC3DTabWnd m_tabs;
    CEntityAdvancedPage m_keyValuePage;
    CEntityVisiblePage m_visiblePage{this};
    CEntityColorPage m_colorPage{this};
    CEdit m_help;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnNcActivate(BOOL bActive);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    void OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnModified(WPARAM wParam, LPARAM lParam);
    LRESULT OnQuery(WPARAM wParam, LPARAM lParam);

protected:
    void ShowStep();
    void ClassSelected(HTREEITEM hItem);
    void SetModified(BOOL modified);
    void ClearTree();
    void ShowClass(Entity* pEntity, const EntityClass* pClass);
    void Layout();

    CEntityClassMap& m_classes;
    CEntityClassStyles m_styles;
    CImageList m_images;
    Entity m_working;
    Entity* m_pEdited = nullptr;
    const EntityClass* m_pCurrentClass = nullptr;
    BOOL m_bModified = FALSE;
    BOOL m_bReady = FALSE;
    BOOL m_bFillingTree = FALSE;

    DECLARE_MESSAGE_MAP()
};
