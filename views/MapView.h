// The common base of the two panes of a 2D map window: view type, zoom scale, grid, snap angle,
// the mapping between the scroll canvas and the world, snapping, the frame title and the import
// of map text into the document.
#pragma once
#include "Reporter.h"
#include "afxwin.h"

class Map;
class CMapFrame;
class CObjectEdit;

// Where an import puts the objects that it reads (a paste one grid step away, a drop around its
// point). The moves are checked on the objects read before any of them joins the map: when one
// would take its object past the coordinate range, nothing is added, the map, its selection and
// its messages stay as they were, and one box says so.
class CImportPlacement
{
public:
    virtual ~CImportPlacement() = default;
    // The moves of the objects read: brushes and point entities, as they will be selected.
    virtual void AddMoves(const CPtrList& objects, CObjectEdit& edit) = 0;
    // What the refusal calls the objects ("pasted").
    virtual LPCSTR Verb() const = 0;
    // The moves fit: the objects join the map next, as the new selection.
    virtual void Joining() {}
};

class CMapView : public CScrollView
{
    DECLARE_DYNCREATE(CMapView)
public:
    CMapView();
    ~CMapView() override;

    Map* GetMap() const;

    // The view type: 255 XY, 256 XZ, 257 YZ; -1 until a title update finds a pending type.
    int m_nViewType;
    float m_scale;          // device pixels per world unit
    int m_nGrid;            // grid spacing in world units
    double m_snapAngle;     // degrees
    int m_nGridPixels;      // grid spacing on the canvas; 0: no grid
    CFont m_font;
    CPoint m_ptAnchor;
    CPoint m_ptScrollAtPress;
    int m_nState;           // -1 idle, 0 right-button pan, others per pane
    CPoint m_ptLastMouse;
    BOOL m_bReleasing;      // our own release of the capture ends no operation

    // The plane that projections use: an undecided view draws as XY.
    int GetPlaneType() const;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    void UpdateTitle();
    // "name - XY (Top) Window", or the view name alone for an unsaved map.
    static CString MakeTitle(LPCSTR pathName, int viewType);

    void SetScale(float scale);
    void SetGrid(int grid);
    void SetSnapAngle(double degrees);
    // The grid spacing on a canvas: trunc(grid x scale), 0 below 4 or not below the height.
    static int ComputeGridPixels(int grid, float scale, int canvasHeight);

    BOOL IsGridShown() const;
    BOOL IsSnapToGrid() const;
    BOOL IsSnapToAngle() const;

    // Canvas <-> world, over the scroll view's total size.
    void DeviceToWorldY(int& v) const;
    void DeviceToWorld(CPoint& p) const;
    void DeviceRectToWorld(CRect& r) const;
    void WorldToDevice(int& v) const;
    void SnapToGrid(CPoint& p) const;
    int GridFloor(int v) const;
    int GridCeil(int v) const;
    // Radians rounded to the snap angle, in (-pi, pi].
    double SnapAngle(double radians) const;
    // The snapped angle in degrees in [0, 360).
    double RadiansToSnappedDegrees(double radians) const;

    // Reads map text into the document where the text has its objects and selects them. The text
    // is the length bytes of the buffer, NUL bytes and all; the byte after them must be there and
    // writable. The name is what the read's boxes call the text (an object file's path), by
    // default the pasted map text. FALSE when nothing in the text could be read (no entity, or
    // every block passed over or dropped), or when the placement was refused: nothing was imported,
    // the map, its selection and its messages are as they were, and the read's boxes were dropped
    // for the one that says why. With a placement the objects are moved by it once they are in the
    // map.
    BOOL ImportMapText(char* text, size_t length, LPCSTR name = nullptr, CImportPlacement* place = nullptr);

    CMapFrame* GetMapFrame() const;
    // The objects the panes draw and pick: the map's visible list while the clipping planes are
    // linked, else the window's own list.
    CPtrList& GetDrawList();

    // Status-pane texts shared by both panes, and their update handlers.
    CString SizePaneText();
    CString EntityPaneText();
    void OnUpdatePaneSize(CCmdUI* pCmdUI);
    void OnUpdatePaneEntity(CCmdUI* pCmdUI);

    // A command comes (a key given during a drag): while this view holds the mouse, its drag ends
    // first, as at a box of one of its steps, so that the command runs, and its boxes come up,
    // with the mouse free.
    void EndDragBeforeCommand();

protected:
    CSize CanvasSize() const { return GetTotalSize(); }

    // One step of a drag: a mouse move or a timer tick while this view holds the mouse. A box that
    // the step brings waits for the step's end; the drag then ends there, as its release would end
    // it, and the box comes up with the mouse free. A box shown while a view holds the mouse takes
    // no clicks, and losing the mouse to it would break the drag off anyway.
    template <class Step> void DragStep(Step step)
    {
        CHeldBoxes held;
        step();
        if (!held.IsEmpty() && GetCapture() == this)
            EndDrag();
    }
    // Ends the drag where it stands: the mouse let go, the view idle, and what the release of the
    // drag does besides (FinishDrag). Nothing more is applied.
    void EndDrag();
    // Lets the mouse go without ending the operation through the capture change.
    void ReleaseMouse();
    // What the end of a drag in the state does after the mouse is let go: what its release does
    // for a pan, a move, a turn or a stretch. An end that no release brings makes no new object.
    virtual void FinishDrag(int state);
    // Loads a cursor resource of the views (the arrow when it is missing).
    static HCURSOR LoadViewCursor(UINT nID);

    DECLARE_MESSAGE_MAP()
};

// The text of a string resource, empty when it is missing.
CString LoadViewString(UINT nID);
