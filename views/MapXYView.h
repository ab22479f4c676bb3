// The plane view of a 2D map window: the map projected on one axis plane (XY top, XZ front,
// YZ right), drawn through an off-screen bitmap, and its reaction to document updates.
#pragma once
#include "Brush.h"
#include "MapView.h"
#include "afxole.h"
#include <utility>
#include <vector>

class SThing;
class Entity;
struct CycleCandidate;

class CMapXYView : public CMapView
{
    DECLARE_DYNCREATE(CMapXYView)
public:
    CMapXYView();
    ~CMapXYView() override;

    int m_bFirstScale;
    CRect m_rcUpdate;       // area to redraw, client coordinates
    CRect m_rcCanvas;       // the same on the canvas, during a paint
    CSize m_sizePaintCanvas;
    int m_axisRestrict[3];
    CPoint m_ptRotateStart, m_ptRotateEnd; // world points of the rotate line
    CPoint m_ptRotateCentre;
    double m_rotateAngle;
    // A rotate-by-hand drag: the angle of its press and what the objects turned so far; the
    // selected brushes as they were at the press, turned afresh by the whole angle each step.
    double m_rotateBase = 0;
    double m_rotateTurned = 0;
    std::vector<std::pair<Brush*, Brush::Geometry>> m_rotateHeld;
    int m_nResizeGuard;
    BOOL m_bRotatePenReported; // the rotate-pen failure is shown once

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // Printing: one page holding what the window shows, drawn unscaled.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

    void SetPlaneScale(float scale);
    void ApplyGridSize(int grid);
    void ApplySnapAngle(double degrees);
    int& GetViewType() { return m_nViewType; }

    // Paints the update rect into the (prepared) device context through an off-screen bitmap.
    void DrawMap(CDC* pDC);
    // Draws the canvas rectangle onto a device context whose pixel (0, 0) stands for the
    // rectangle's top-left corner; needs no window (printing, the benchmark, tests).
    void DrawCanvas(CDC* pDC, const CRect& rcCanvas);
    void DrawObjects(CDC* pDC);
    void DrawCameras(CDC* pDC);
    void DrawOrigin(CDC* pDC);
    void DrawBoxOutline(CDC* pDC, RECT* pRect);
    void DrawAngleMark(CDC* pDC, RECT* pRect, LPCSTR angle);

    // Canvas position of a world point and canvas rectangle of a box (normalised).
    CPoint ProjectPoint(int x, int y, int z) const;
    CRect ProjectBox(const short* box) const;

    // ---- What drawing and the frame call of the edit commands
    void CenterOnPlayerStart();
    BOOL IsIdle() const { return m_nState == -1; }
    // The screen area of a box, as the update rect (client coordinates).
    void InvalidateBounds(const short* box);
    // Every place that shows an edit at once: the box's screen area is drawn now, on the screen,
    // through a client DC prepared as a paint's (the map draws at canvas coordinates); with a
    // hint the other views are then told, with the box and this view as the sender.
    void RedrawNow(const short* box);
    void RedrawNow(const short* box, LPARAM hint);
    // A target line (XY view with target paths shown): from the centre of the source's box to
    // the centre of the destination's, in the pen of the destination's class.
    struct TargetLine
    {
        SThing* source;
        SThing* destination;
        CString destinationClass;
    };
    // The target lines the view draws, in drawing order; none in the other planes or while the
    // map's target paths are hidden.
    void CollectTargetLines(std::vector<TargetLine>& lines) const;
    // Widens a box of changed objects over every target line with an end inside it, strokes
    // included: the lines of objects that moved within the box, before and after the move.
    void WidenForTargetLines(short box[6]) const;
    // The same for the update rect as it is (client coordinates).
    void DrawUpdateRectNow();
    void CollectDrawList();
    // The window's own list from the depth view's range; bIncludeSelected keeps the selection.
    void RebuildVisibleList(BOOL bIncludeSelected);
    // Narrows the map's depth clip to the depth view's range on this view's depth axis.
    void IntersectDepthClip();

    CString PositionPaneText();

    // ---- Clipboard and drag and drop ("Morvane Data")
    COleDropTarget m_dropTarget;
    // Copies the selection to the clipboard; FALSE (the clipboard untouched) when nothing was
    // copied.
    BOOL Copy();
    // The selection as a "Morvane Data" block (reported and null when it cannot be made, or when
    // every selected object is a brush that is not valid, which the text leaves out).
    HGLOBAL PackSelection();
    void Cut();
    void Paste();
    void Clone();
    // Deselects the selection with a redraw, before new objects become the selection.
    void RefreshAfterPaste();
    // The moves that place the objects so that the centre of their common box lands on the
    // client point, the group keeping its arrangement.
    void GetDropOffset(const CPtrList& objects, CPoint point, int viewType, CObjectEdit& edit);
    // The offset of a paste: one grid step right of and below the copied objects.
    static void PasteOffset(int viewType, int grid, int& dx, int& dy, int& dz);
    // Imports the map text where the placement puts it, as the new selection; FALSE when nothing
    // was imported (a refused placement adds nothing).
    BOOL ImportAndShow(CString& text, CImportPlacement& place);

    // Drags the selection out of this view (copy with Ctrl, move without); the effect done.
    DROPEFFECT StartDragDrop();
    // After a move: deletes the dragged objects that are still in the map (not the current
    // selection, which after a drop back into this map is the dropped copy).
    void DeleteDraggedObjects(const CPtrList& dragged);
    // The selected objects that a copy leaves out: brushes that are not valid (the map text holds
    // only valid brushes). Cut and a moving drag delete only what was copied; these stay.
    static void CollectUncopied(Map* pMap, CPtrList& left);
    // Selects again those of the objects left out of a copy that are still in the map, and says so.
    static void KeepUncopied(Map* pMap, const CPtrList& left);
    // The box that says how many selected brushes a copy left out.
    static void TellUncopied(int count);

    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave() override;
    BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

    // ---- Editing commands (MapViewCommands.cpp)
    // Create Array's values, kept from the dialog for the copy routine, which may run after a
    // rotation point was clicked.
    int m_nArrayCount = 0;
    float m_arrayMove[3] = {0, 0, 0};
    float m_arrayRotate[3] = {0, 0, 0};
    float m_arrayScale[3] = {100, 100, 100};
    int m_bArrayMove = 0, m_bArrayRotate = 0, m_bArrayScale = 0;

    void ImportBrushFile();
    void ExportBrushFile();
    // Reads an object file into the map as the import does after its dialog; FALSE when
    // nothing was imported (reported).
    BOOL ImportObjectFile(LPCSTR path);
    // Reads an object file, whole, into the map as the selection (no redraw), where the
    // placement, if any, puts it.
    BOOL ReadObjectFile(LPCSTR path, CImportPlacement* place = nullptr);
    // Writes the selection as an object file; FALSE when it could not be written (reported).
    BOOL ExportObjectFile(LPCSTR path);
    void OnAssignToWorld();
    void SelectFullyInside() { SelectInside(TRUE); }
    void SelectPartiallyInside() { SelectInside(FALSE); }
    void SelectInside(BOOL bFully);
    void AlignLeft();
    void AlignRight();
    void AlignTop();
    void AlignBottom();
    void AlignHorizontally();
    void AlignVertically();
    void DumpBrush();
    void OnCreateTargets();
    void CreateArray();
    // The copies of Create Array, through the clipboard; FALSE when nothing was copied.
    BOOL PasteClipboardAt();
    void CreateRoom();

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnUpdateNeedSelection(CCmdUI* pCmdUI);
    void OnUpdateEditPaste(CCmdUI* pCmdUI);

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnUpdatePanePosition(CCmdUI* pCmdUI);

    // ---- Mouse editing
    // Interaction states of this pane (the base's m_nState): 1 pressed on a selection, 2 moving
    // it, 3 rubber band, 8 drag pending, 9 rotate armed, 10 rotation centre set, 11 rotating,
    // 13 dragging a handle, 14 array centre armed, 15 array centre picked, 16 dragging a camera.
    enum
    {
        STATE_PRESSED = 1, STATE_MOVING = 2, STATE_BAND = 3, STATE_DRAG_PENDING = 8, STATE_ROTATE_ARMED = 9,
        STATE_ROTATE_CENTRE = 10, STATE_ROTATING = 11, STATE_HANDLE = 13, STATE_ARRAY_ARMED = 14,
        STATE_ARRAY_CENTRE = 15, STATE_CAMERA = 16
    };
    CPtrList m_entityCandidates;    // CycleCandidate*, during a pick
    CPtrList m_worldCandidates;
    CPoint m_ptHandlePress;         // world point of the last handle step
    Brush* m_pHandleBrush;
    int m_nStateBeforePan;          // an armed state that a right-button pan keeps

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    // Alt+Tab, a box or another window took the mouse: the operation ends.
    void OnCaptureChanged(CWnd* pWnd);

    // The objects under a canvas point become the map's cycle list, nearest the viewer first,
    // the entity candidates before the world brushes.
    void PickAtPoint(int x, int y);
    // The candidate under the map's cycle cursor (which advances), or null at the end.
    SThing* NextCandidate();
    // Puts a candidate into a list ordered by depth key: descending for XY and YZ, ascending
    // for XZ, so that the object nearest the viewer comes first.
    static void InsertCandidate(CPtrList& list, CycleCandidate* pCandidate, BOOL bAscending);
    void MoveSelection(int dx, int dy);
    // A restricted axis of the view copies the point's coordinate into the anchor.
    void RestrictMove(CPoint& anchor, CPoint point);
    void UpdateCursor();
    // Turns the selection about the rotation point to the angle from the press: the held
    // brushes from their geometry at the press, anything else by the rest of the turn. FALSE
    // when the turn would take an object past the coordinate range: none turns (told).
    BOOL RotateSelection(double angle);
    // Holds the selected brushes' geometry at the press of a rotate-by-hand drag (empty: ended).
    void HoldSelectionForRotation(bool hold);
    // Arms rotate by hand: the next click sets the rotation centre.
    void OnRotateByHand();
    void OnUpdateRotateByHand(CCmdUI* pCmdUI);
    // Returns an armed view of the map to idle and deselects everything.
    void OnCancelOperation();
    void OnUpdatePaneSizeOrAngle(CCmdUI* pCmdUI);

protected:
    // The end of a pan, a move, a turn, a handle drag or a camera drag, as its release makes it;
    // of a band, a press or a pressed point, as no release makes it.
    void FinishDrag(int state) override;
    // One mouse move of the operation that holds the mouse.
    void MouseMoveStep(UINT nFlags, CPoint p);
    // The rubber band goes from every plane view of the map, making no brush.
    void DropBand();

    // The canvas rect in bitmap coordinates.
    CPoint ToBitmap(CPoint p) const { return CPoint(p.x - m_rcCanvas.left, p.y - m_rcCanvas.top); }
    void SelectPenIfNew(CDC* pDC, CPen* pPen, CPen*& pCurrent);
    CPen* PenForThing(SThing* pThing);
    void DrawBrush(CDC* pDC, Brush* pBrush, const CRect& clipWorld, BOOL bAsBox, void* pOnlyFace);
    BOOL Culled(const short* box, const CRect& clipWorld) const;
    void ProjectOnCanvas(int h, int v, CPoint& p) const;

    DECLARE_MESSAGE_MAP()
};
