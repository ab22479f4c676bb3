// Editing with the mouse in the plane view: picking with cycling, moving the selection, the
// rubber band that makes a box brush, handle points, camera glyphs, rotate by hand, the right
// button's pan and context menu, and the cursors of these operations.
#include "Brush.h"
#include "Entity.h"
#include "IniFile.h"
#include "Map.h"
#include "MapEditing.h"
#include "MapFrame.h"
#include "MapXYView.h"
#include "MapZView.h"
#include "Reporter.h"
#include "Texture.h"
#include "ViewServices.h"
#include "ViewsRes.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int MoveMargin()
{
    return GetEditorServices()->GetProfileIntInRange("Map Window", "Move Margin", 2, 0, 15);
}

bool IsArmed(int state)
{
    return state == CMapXYView::STATE_ROTATE_ARMED || state == CMapXYView::STATE_ROTATE_CENTRE ||
           state == CMapXYView::STATE_ARRAY_ARMED;
}

} // namespace

// ---------------------------------------------------------------------------
// Picking

void CMapXYView::InsertCandidate(CPtrList& list, CycleCandidate* pCandidate, BOOL bAscending)
{
    const int key = pCandidate->key;
    if (list.IsEmpty()) {
        list.AddTail(pCandidate);
        return;
    }
    const int first = static_cast<CycleCandidate*>(list.GetHead())->key;
    if (list.GetCount() == 1) {
        if (bAscending ? key <= first : key > first)
            list.AddHead(pCandidate);
        else
            list.AddTail(pCandidate);
        return;
    }
    if (bAscending ? key < first : key >= first) {
        list.AddHead(pCandidate);
        return;
    }
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION at = pos;
        const int here = static_cast<CycleCandidate*>(list.GetNext(pos))->key;
        if (!pos)
            break;
        const int next = static_cast<CycleCandidate*>(list.GetAt(pos))->key;
        if (bAscending ? (here <= key && key <= next) : (here >= key && key >= next)) {
            list.InsertAfter(at, pCandidate);
            return;
        }
    }
    list.AddTail(pCandidate);
}

void CMapXYView::PickAtPoint(int x, int y)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    while (!m_entityCandidates.IsEmpty())
        delete static_cast<CycleCandidate*>(m_entityCandidates.RemoveHead());
    while (!m_worldCandidates.IsEmpty())
        delete static_cast<CycleCandidate*>(m_worldCandidates.RemoveHead());
    const int type = GetPlaneType();
    const CPoint at(x, y);
    CPtrList& objects = GetDrawList();
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(objects.GetNext(pos));
        const short* b = t->GetBounds();
        // The projected box holds its top and left edges, not its bottom and right ones.
        if (!ProjectBox(b).PtInRect(at))
            continue;
        auto* c = new CycleCandidate;
        c->thing = t;
        c->key = type == VIEW_XZ ? b[BOX_MINY] : type == VIEW_YZ ? b[BOX_MAXX] : b[BOX_MAXZ];
        bool world = false;
        if (t->GetKind() == 0) {
            Entity* owner = static_cast<Brush*>(t)->GetOwner();
            world = owner && lstrcmpA(owner->ValueForKey("classname"), "worldspawn") == 0;
        }
        InsertCandidate(world ? m_worldCandidates : m_entityCandidates, c, type == VIEW_XZ);
    }
    pMap->ClearCycleList();
    CPtrList& cycle = pMap->GetCycleList();
    cycle.AddTail(&m_entityCandidates);
    cycle.AddTail(&m_worldCandidates);
    m_entityCandidates.RemoveAll();
    m_worldCandidates.RemoveAll();
}

SThing* CMapXYView::NextCandidate()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetCycleList().IsEmpty())
        return nullptr;
    POSITION pos = pMap->GetCycleCursor();
    if (!pos)
        return nullptr;
    pMap->SetCyclePosition(pos);
    auto* c = static_cast<CycleCandidate*>(pMap->GetCycleList().GetNext(pos));
    pMap->SetCycleCursor(pos);
    return c->thing;
}

// ---------------------------------------------------------------------------
// Moving and rotating

void CMapXYView::MoveSelection(int dx, int dy)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    // A step that would take one object past the coordinate range moves none: one box for the step.
    CObjectEdit edit;
    edit.AddSelectionMove(pMap, SThing::MOVE, dx, dy, 0, GetPlaneType());
    if (edit.Apply())
        pMap->SetModifiedFlag(TRUE);
}

void CMapXYView::RestrictMove(CPoint& anchor, CPoint point)
{
    int h = 0, v = 1, d = 2;
    ViewAxes(GetPlaneType(), h, v, d);
    if (m_axisRestrict[h])
        anchor.x = point.x;
    if (m_axisRestrict[v])
        anchor.y = point.y;
}

void CMapXYView::UpdateCursor()
{
    int h = 0, v = 1, d = 2;
    ViewAxes(GetPlaneType(), h, v, d);
    const bool lockH = m_axisRestrict[h] != 0, lockV = m_axisRestrict[v] != 0;
    UINT id = lockH && lockV ? IDC_VIEW_MOVE_LOCKED
              : lockV        ? IDC_VIEW_MOVE_HORIZONTAL
              : lockH        ? IDC_VIEW_MOVE_VERTICAL
                             : IDC_VIEW_MOVE;
    ::SetCursor(LoadViewCursor(id));
}

void CMapXYView::HoldSelectionForRotation(bool hold)
{
    m_rotateHeld.clear();
    m_rotateTurned = 0;
    Map* pMap = GetMap();
    if (!hold || !pMap)
        return;
    for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(pMap->GetSelection().GetNext(pos));
        if (t->GetKind() != 0)
            continue;
        Brush* b = static_cast<Brush*>(t);
        m_rotateHeld.emplace_back(b, Brush::Geometry());
        b->HoldGeometry(m_rotateHeld.back().second);
    }
}

BOOL CMapXYView::RotateSelection(double angle)
{
    Map* pMap = GetMap();
    if (!pMap)
        return FALSE;
    const int type = GetPlaneType();
    const int cx = m_ptRotateCentre.x, cy = m_ptRotateCentre.y;
    // A step that would turn one object past the coordinate range turns none.
    CObjectEdit edit;
    for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(pMap->GetSelection().GetNext(pos));
        const Brush::Geometry* held = nullptr;
        for (const auto& h : m_rotateHeld)
            if (h.first == t)
                held = &h.second;
        if (held) {
            // Small turns summed would round the corners again at every step, and the brush
            // would lose its shape on the way: each step turns the held brush.
            Brush* b = static_cast<Brush*>(t);
            edit.Add(
                t, [=] { return b->RotateFits(cx, cy, angle, type, held); },
                [=] {
                    b->RestoreGeometry(*held);
                    if (angle != 0)
                        b->Rotate(cx, cy, angle, type);
                });
        } else if (angle != m_rotateTurned) {
            edit.AddRotate(t, cx, cy, angle - m_rotateTurned, type);
        }
    }
    if (!edit.Apply())
        return FALSE;
    m_rotateTurned = angle;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Commands that arm or end an operation

void CMapXYView::OnRotateByHand()
{
    m_nState = STATE_ROTATE_ARMED;
    ::SetCursor(LoadViewCursor(IDC_VIEW_PICK_CENTRE));
    Report().Status("Click and release the left mouse button to select the rotation point");
}

void CMapXYView::OnUpdateRotateByHand(CCmdUI* pCmdUI)
{
    Map* pMap = GetMap();
    pCmdUI->Enable(pMap && pMap->GetSelectionCount() > 0 && !pMap->SelectionHasEntity());
}

void CMapXYView::OnCancelOperation()
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    // Every plane view of the map that waits for a click goes back to idle.
    for (POSITION pos = pMap->GetFirstViewPosition(); pos;) {
        CView* pView = pMap->GetNextView(pos);
        if (!pView || !pView->IsKindOf(RUNTIME_CLASS(CMapXYView)))
            continue;
        CMapXYView* pXY = static_cast<CMapXYView*>(pView);
        if (!IsArmed(pXY->m_nState))
            continue;
        pXY->m_nState = -1;
        pXY->m_rotateAngle = -100.0;
        if (pXY->m_hWnd)
            pXY->Invalidate(FALSE); // the rotate line goes
        Report().Status("");
    }
    pMap->OnCancelOperation();
}

void CMapXYView::OnUpdatePaneSizeOrAngle(CCmdUI* pCmdUI)
{
    if (m_nState != STATE_ROTATE_CENTRE && m_nState != STATE_ROTATING) {
        OnUpdatePaneSize(pCmdUI);
        return;
    }
    CPoint w = m_ptLastMouse;
    DeviceToWorld(w);
    double a = std::atan2(static_cast<double>(w.y - m_ptRotateCentre.y), static_cast<double>(w.x - m_ptRotateCentre.x));
    double degrees = IsSnapToAngle() ? RadiansToSnappedDegrees(a) : a * 57.29577791868205;
    if (degrees < 0)
        degrees += 360.0;
    CString text;
    text.Format("Angle = %4.1f", degrees);
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(text);
}

// ---------------------------------------------------------------------------
// Left button

void CMapXYView::OnLButtonDown(UINT, CPoint point)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    CEditorServices* services = GetEditorServices();
    if (services->HasUnappliedEntityChanges()) {
        Report().BoxId(MB_OK, IDS_ENTITY_NOT_APPLIED);
        return;
    }
    const CPoint p = point + GetDeviceScrollPosition();
    if (g_faceMode)
        pMap->UpdateAllViews(nullptr, HINT_VIEW_CLICKED, nullptr);
    CPoint snapped = p;
    if (IsSnapToGrid())
        SnapToGrid(snapped);
    CPoint ws = snapped;
    DeviceToWorld(ws);

    switch (m_nState) {
    case STATE_ROTATE_ARMED:
        m_ptRotateCentre = ws;
        m_ptRotateStart = m_ptRotateEnd = ws;
        m_nState = STATE_ROTATE_CENTRE;
        SetCapture();
        return;
    case STATE_ROTATE_CENTRE: {
        double a = std::atan2(static_cast<double>(ws.y - m_ptRotateCentre.y),
                              static_cast<double>(ws.x - m_ptRotateCentre.x));
        if (IsSnapToAngle())
            a = SnapAngle(a);
        m_rotateAngle = a;
        m_rotateBase = a;
        HoldSelectionForRotation(true);
        m_nState = STATE_ROTATING;
        SetCapture();
        return;
    }
    case STATE_ARRAY_ARMED:
        m_ptRotateCentre = ws;
        m_nState = STATE_ARRAY_CENTRE;
        SetCapture();
        return;
    default:
        break;
    }
    if (GetCapture() == this)
        return; // another button's operation holds the mouse

    int h = 0, v = 1, d = 2;
    const int type = GetPlaneType();
    ViewAxes(type, h, v, d);

    // A camera glyph wins over everything under it, handle points included.
    for (POSITION pos = pMap->GetCameras().GetHeadPosition(); pos;) {
        CameraRecord* cam = static_cast<CameraRecord*>(pMap->GetCameras().GetNext(pos));
        CPoint c = ProjectPoint(cam->tx, -cam->tz, -cam->ty);
        if (std::abs(p.x - c.x) < 16 && std::abs(p.y - c.y) < 8) {
            m_nState = STATE_CAMERA;
            pMap->m_pDraggedCamera = cam;
            pMap->m_draggedCameraSaved[0] = cam->tx;
            pMap->m_draggedCameraSaved[1] = cam->ty;
            pMap->m_draggedCameraSaved[2] = cam->tz;
            SetCapture();
            return;
        }
    }

    // Handle points of the one selected brush: face points, then edge points, then vertices.
    BOOL handle = FALSE;
    CPtrList& sel = pMap->GetSelection();
    if (sel.GetCount() == 1 && static_cast<SThing*>(sel.GetHead())->GetKind() == 0) {
        Brush* b = static_cast<Brush*>(sel.GetHead());
        pMap->RebuildHandlePoints(b);
        const int tolH = 3, tolV = type == VIEW_YZ ? 2 : 3;
        CPtrList* lists[3] = {&pMap->GetFacePoints(), &pMap->GetEdgePoints(), &pMap->GetVertexPoints()};
        for (int k = 0; k < 3 && !handle; ++k) {
            const short* best = nullptr;
            for (POSITION pos = lists[k]->GetHeadPosition(); pos;) {
                const short* q = static_cast<const short*>(lists[k]->GetNext(pos));
                CPoint c = ProjectPoint(q[0], q[1], q[2]);
                if (std::abs(c.x - p.x) > tolH || std::abs(c.y - p.y) > tolV)
                    continue;
                // Nearest the viewer: the top in XY, the front in XZ, the right side in YZ.
                if (!best || (type == VIEW_XZ ? q[1] < best[1] : type == VIEW_YZ ? q[0] > best[0] : q[2] > best[2]))
                    best = q;
            }
            if (!best)
                continue;
            const short at[3] = {best[0], best[1], best[2]};
            if (k == 0)
                b->PickFaceVertices(at);
            else if (k == 1)
                b->PickEdgeVertices(at);
            else
                b->PickVertex(at);
            m_ptHandlePress = ws;
            m_pHandleBrush = b;
            m_nState = STATE_HANDLE;
            handle = TRUE;
        }
    }

    m_ptAnchor = snapped;
    if (!handle) {
        if (sel.IsEmpty()) {
            m_nState = STATE_BAND;
            pMap->m_bRubberBand = 1;
        } else {
            m_nState = STATE_PRESSED;
        }
        short* band = pMap->m_rubberBand;
        band[h * 2] = band[h * 2 + 1] = ClampToMapCoordinate(ws.x);
        band[v * 2] = band[v * 2 + 1] = ClampToMapCoordinate(ws.y);
        band[d * 2] = pMap->m_newBrushRange[d * 2];
        band[d * 2 + 1] = pMap->m_newBrushRange[d * 2 + 1];
        // An empty depth range takes one grid step of the world.
        if (band[d * 2] == band[d * 2 + 1])
            band[d * 2 + 1] = ClampToMapCoordinate(band[d * 2] + (m_nGrid > 1 ? m_nGrid : 1));
        GetViewServices()->GetAxisRestrictions(m_axisRestrict[0], m_axisRestrict[1], m_axisRestrict[2]);
    }
    SetCapture();
}

void CMapXYView::OnMouseMove(UINT nFlags, CPoint point)
{
    const CPoint p = point + GetDeviceScrollPosition();
    m_ptLastMouse = p;
    if (CMapFrame* pFrame = GetMapFrame())
        pFrame->ActivateXYView();
    Map* pMap = GetMap();
    if (!pMap)
        return;

    if (m_nState == STATE_ROTATE_CENTRE) {
        CPoint w = p;
        DeviceToWorld(w);
        const CPoint oldEnd = m_ptRotateEnd;
        m_ptRotateEnd = w;
        if (m_hWnd) {
            int h = 0, v = 1, d = 2;
            ViewAxes(GetPlaneType(), h, v, d);
            auto project = [&](CPoint world) {
                int xyz[3] = {0, 0, 0};
                xyz[h] = world.x;
                xyz[v] = world.y;
                return ProjectPoint(xyz[0], xyz[1], xyz[2]);
            };
            const CPoint a = project(m_ptRotateStart), b = project(oldEnd), c = project(w);
            CRect r;
            r.left = std::min({a.x, b.x, c.x});
            r.right = std::max({a.x, b.x, c.x});
            r.top = std::min({a.y, b.y, c.y});
            r.bottom = std::max({a.y, b.y, c.y});
            r.InflateRect(1, 1);
            r.right += 1;
            r.bottom += 1;
            r.OffsetRect(-GetDeviceScrollPosition());
            m_rcUpdate = r;
            DrawUpdateRectNow();
        }
        return;
    }
    if (GetCapture() != this)
        return;
    if (m_nState == STATE_DRAG_PENDING) {
        // The system's drag loop takes the mouse from here: this view lets it go first, so that a
        // box of the drag's start comes up with the mouse free.
        EndDrag();
        StartDragDrop();
        return;
    }
    DragStep([&] { MouseMoveStep(nFlags, p); });
}

void CMapXYView::MouseMoveStep(UINT nFlags, CPoint p)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    CPoint snapped = p;
    if (IsSnapToGrid())
        SnapToGrid(snapped);
    int h = 0, v = 1, d = 2;
    ViewAxes(GetPlaneType(), h, v, d);

    switch (m_nState) {
    case 0: {
        CSize by(m_ptAnchor.x - p.x, m_ptAnchor.y - p.y);
        OnScrollBy(by, TRUE);
        UpdateWindow();
        break;
    }
    case STATE_PRESSED:
    case STATE_MOVING: {
        const BOOL first = m_nState == STATE_PRESSED;
        if (first) {
            const int margin = MoveMargin();
            if (std::abs(snapped.x - m_ptAnchor.x) <= margin && std::abs(snapped.y - m_ptAnchor.y) <= margin)
                break;
            if (nFlags & MK_CONTROL) {
                m_nState = STATE_DRAG_PENDING;
                break;
            }
        }
        RestrictMove(m_ptAnchor, snapped);
        CPoint a = m_ptAnchor, c = snapped;
        DeviceToWorld(a);
        DeviceToWorld(c);
        short before[6], after[6], both[6];
        pMap->GetSelectionBounds(before);
        MoveSelection(c.x - a.x, c.y - a.y);
        pMap->GetSelectionBounds(after);
        if (!first && pMap->GetSelectionCount() == 1)
            for (int i = 0; i < 6; ++i)
                pMap->m_newBrushRange[i] = after[i];
        m_ptAnchor = snapped;
        Map::UnionBounds(both, before, after);
        RedrawNow(both, HINT_MOVED);
        if (first) {
            m_nState = STATE_MOVING;
            UpdateCursor();
        }
        break;
    }
    case STATE_BAND: {
        CPoint a = m_ptAnchor, c = snapped;
        DeviceToWorld(a);
        DeviceToWorld(c);
        short* band = pMap->m_rubberBand;
        short before[6], both[6];
        for (int i = 0; i < 6; ++i)
            before[i] = band[i];
        band[h * 2] = ClampToMapCoordinate(std::min(a.x, c.x));
        band[h * 2 + 1] = ClampToMapCoordinate(std::max(a.x, c.x));
        band[v * 2] = ClampToMapCoordinate(std::min(a.y, c.y));
        band[v * 2 + 1] = ClampToMapCoordinate(std::max(a.y, c.y));
        Map::UnionBounds(both, before, band);
        RedrawNow(both, HINT_MOVED);
        break;
    }
    case STATE_ROTATING: {
        CPoint w = p;
        DeviceToWorld(w);
        double angle = std::atan2(static_cast<double>(w.y - m_ptRotateCentre.y),
                                  static_cast<double>(w.x - m_ptRotateCentre.x));
        if (IsSnapToAngle())
            angle = SnapAngle(angle);
        m_ptRotateEnd = w;
        short before[6], after[6], both[6];
        pMap->GetSelectionBounds(before);
        if (angle != m_rotateAngle) {
            if (RotateSelection(angle - m_rotateBase))
                pMap->SetModifiedFlag(TRUE);
            m_rotateAngle = angle;
        }
        Invalidate(TRUE);
        UpdateWindow();
        pMap->GetSelectionBounds(after);
        Map::UnionBounds(both, before, after);
        CUpdateHint update(both);
        pMap->UpdateAllViews(this, HINT_DRAGGED, &update);
        break;
    }
    case STATE_HANDLE: {
        if (!m_pHandleBrush)
            break;
        CPoint w = snapped;
        DeviceToWorld(w);
        const int dx = w.x - m_ptHandlePress.x, dy = w.y - m_ptHandlePress.y;
        if (dx == 0 && dy == 0)
            break;
        short before[6], after[6], both[6];
        pMap->GetSelectionBounds(before);
        if (!m_pHandleBrush->Shear(dx, dy, GetPlaneType()))
            break;
        GetEditorServices()->UpdateSelectionIndicator();
        pMap->GetSelectionBounds(after);
        if (pMap->GetSelectionCount() == 1)
            for (int i = 0; i < 6; ++i)
                pMap->m_newBrushRange[i] = after[i];
        m_ptHandlePress = w;
        pMap->SetModifiedFlag(TRUE);
        Map::UnionBounds(both, before, after);
        RedrawNow(both, HINT_DRAGGED);
        // The first handle move is followed by a warning: the drag ends at this step, the brush as
        // the user left it, and the warning comes up after.
        Brush::ShowShearWarning();
        break;
    }
    case STATE_CAMERA: {
        CameraRecord* cam = pMap->m_pDraggedCamera;
        if (!cam)
            break;
        CPoint w = p;
        DeviceToWorld(w);
        // The record keeps the eye as (x, -z, -y) of the map.
        const int type = GetPlaneType();
        if (type == VIEW_XZ) {
            cam->tx = ClampToMapCoordinate(w.x);
            cam->ty = ClampToMapCoordinate(-w.y);
        } else if (type == VIEW_YZ) {
            cam->tz = ClampToMapCoordinate(-w.x);
            cam->ty = ClampToMapCoordinate(-w.y);
        } else {
            cam->tx = ClampToMapCoordinate(w.x);
            cam->tz = ClampToMapCoordinate(-w.y);
        }
        pMap->CameraChanged();
        pMap->m_draggedCameraSaved[0] = cam->tx;
        pMap->m_draggedCameraSaved[1] = cam->ty;
        pMap->m_draggedCameraSaved[2] = cam->tz;
        break;
    }
    default:
        break;
    }
}

void CMapXYView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (GetCapture() != this)
        return;
    const int state = m_nState;
    ReleaseMouse();
    Map* pMap = GetMap();
    if (!pMap) {
        m_nState = -1;
        return;
    }
    CEditorServices* services = GetEditorServices();
    const CPoint p = point + GetDeviceScrollPosition();

    // A click: the candidates under the point (a fresh pick unless Shift walks the last one).
    auto pick = [&]() -> SThing* {
        if (!(nFlags & MK_SHIFT)) {
            pMap->ClearCycleList();
            PickAtPoint(p.x, p.y);
            pMap->SetCycleCursor(pMap->GetCycleList().GetHeadPosition());
        }
        return NextCandidate();
    };

    switch (state) {
    case STATE_BAND: {
        short* band = pMap->m_rubberBand;
        Entity* world = pMap->GetWorldEntity();
        if (band[0] < band[1] && band[2] < band[3] && band[4] < band[5] && world) {
            short box[6];
            for (int i = 0; i < 6; ++i)
                box[i] = band[i];
            Brush* pBrush = nullptr;
            try {
                pBrush = new Brush(world, box);
            } catch (CBrushGeometryError& err) {
                Report().Box(MB_OK, "%s", static_cast<LPCSTR>(err.message));
            }
            if (pBrush) {
                for (int i = 0; i < 6; ++i)
                    pMap->m_newBrushRange[i] = box[i];
                CIniFile* project = services->GetProject();
                const CString* name = project ? project->GetString("Texture", "Default") : nullptr;
                CString texture = name ? *name : CString();
                if (texture.IsEmpty()) {
                    Report().Box(MB_OK, "A texture has not yet been selected.\nA false texture name of \"DEFAULT\" "
                                        "will be assigned.");
                    texture = "DEFAULT";
                }
                pBrush->SetTextureByName(texture);
                world->AddBrush(pBrush);
                pMap->SetCurrentEntity(world);
                services->SetCurrentEntity(world);
                pBrush->SetSelected(true);
                m_nState = -1;
                pMap->m_bRubberBand = 0;
                pMap->SelectionChanged();
                pMap->SelectObject(pBrush, TRUE);
                pMap->SetModifiedFlag(TRUE);
            }
        } else {
            // Flat on an axis: a click.
            pMap->m_bRubberBand = 0;
            if (SThing* t = pick()) {
                pMap->SelectObject(t, TRUE);
                Entity* current = nullptr;
                if (t->GetKind() == 0) {
                    Brush* b = static_cast<Brush*>(t);
                    Texture* common = b->GetCommonTexture();
                    pMap->SetCurrentTexture(common);
                    services->ShowTexture(common);
                    current = b->GetOwner();
                } else {
                    current = static_cast<Entity*>(t);
                }
                pMap->SetCurrentEntity(current);
                services->SetCurrentEntity(current);
            }
        }
        // A drawn band lay where the new brush is now; a flat one was never drawn.
        pMap->m_bRubberBand = 0;
        break;
    }
    case STATE_PRESSED: {
        if (!(nFlags & MK_CONTROL))
            RefreshAfterPaste();
        SThing* t = pick();
        if (!t)
            break;
        if (t->IsSelected())
            pMap->DeselectObject(t);
        else
            pMap->SelectObject(t, TRUE);
        pMap->UpdateCurrentTexture();
        pMap->UpdateCurrentEntity();
        break;
    }
    case STATE_ROTATE_CENTRE:
        Report().Status("Click and drag the left mouse button to rotate");
        break;
    case STATE_ARRAY_CENTRE:
        Report().Status("");
        // The point is taken: the view is idle again while the array's copies are made.
        m_nState = -1;
        PasteClipboardAt();
        break;
    default:
        // Idle first: the repaint of a turn's end would otherwise draw the rotate line once more.
        m_nState = -1;
        FinishDrag(state);
        break;
    }
    if (state != STATE_ROTATE_CENTRE)
        m_nState = -1;
}

void CMapXYView::FinishDrag(int state)
{
    switch (state) {
    case 0:
        // A pan: the operation that it interrupted waits for its click again.
        m_nState = m_nStateBeforePan;
        m_nStateBeforePan = -1;
        ::SetCursor(LoadViewCursor(IDC_VIEW_NORMAL));
        break;
    case STATE_MOVING:
        ::SetCursor(LoadViewCursor(IDC_VIEW_NORMAL));
        break;
    case STATE_ROTATING:
        Report().Status("");
        m_rotateAngle = -100.0;
        HoldSelectionForRotation(false);
        Invalidate(TRUE);
        UpdateWindow();
        break;
    case STATE_HANDLE:
        // The handles are drawn where the brush has them.
        m_pHandleBrush = nullptr;
        Invalidate(TRUE);
        UpdateWindow();
        if (Map* pMap = GetMap())
            pMap->UpdateAllViews(this, HINT_REDRAW, nullptr);
        break;
    case STATE_CAMERA:
        if (Map* pMap = GetMap())
            pMap->m_pDraggedCamera = nullptr;
        break;
    // The ends that no release brings (a command given during the press): a band makes no
    // brush, and a point pressed for a turn or an array is not taken, the operation waiting for
    // its click again as after a pan. A press that has not moved picks nothing.
    case STATE_BAND:
        DropBand();
        break;
    case STATE_ROTATE_CENTRE:
        m_nState = STATE_ROTATE_ARMED;
        Invalidate(FALSE); // the rotate line goes
        break;
    case STATE_ARRAY_CENTRE:
        m_nState = STATE_ARRAY_ARMED;
        break;
    default:
        break;
    }
}

void CMapXYView::DropBand()
{
    Map* pMap = GetMap();
    if (!pMap || !pMap->m_bRubberBand)
        return;
    pMap->m_bRubberBand = 0;
    // Every plane view of the map drew the band.
    pMap->UpdateAllViews(nullptr, HINT_REDRAW, nullptr);
}

void CMapXYView::OnLButtonDblClk(UINT, CPoint) {}

void CMapXYView::OnCaptureChanged(CWnd*)
{
    if (m_bReleasing || m_nState == -1 || m_nState == STATE_ROTATE_ARMED || m_nState == STATE_ARRAY_ARMED)
        return;
    Map* pMap = GetMap();
    const int state = m_nState;
    m_nState = state == 0 && m_nStateBeforePan != -1 ? m_nStateBeforePan : -1;
    m_nStateBeforePan = -1;
    m_pHandleBrush = nullptr;
    m_rotateAngle = -100.0;
    HoldSelectionForRotation(false);
    if (!pMap)
        return;
    if (state == STATE_CAMERA)
        pMap->m_pDraggedCamera = nullptr;
    if (pMap->m_bRubberBand) {
        DropBand();
    } else if (m_hWnd) {
        Invalidate(FALSE);
        if (CMapFrame* pFrame = GetMapFrame())
            if (CMapZView* pZ = pFrame->GetZView())
                pZ->Invalidate(FALSE);
    }
}

// ---------------------------------------------------------------------------
// Right button

void CMapXYView::OnRButtonDown(UINT, CPoint point)
{
    if (GetCapture() == this)
        return; // a left-button operation holds the mouse
    m_nStateBeforePan = IsArmed(m_nState) ? m_nState : -1;
    m_ptAnchor = point + GetDeviceScrollPosition();
    m_ptScrollAtPress = GetDeviceScrollPosition();
    SetCapture();
    m_nState = 0;
    ::SetCursor(LoadViewCursor(IDC_VIEW_PAN));
}

void CMapXYView::OnRButtonUp(UINT, CPoint point)
{
    if (GetCapture() != this || m_nState != 0)
        return;
    EndDrag();
    const int margin = MoveMargin();
    const CPoint moved = GetDeviceScrollPosition() - m_ptScrollAtPress;
    if (std::abs(moved.x) > margin || std::abs(moved.y) > margin)
        return; // that was a pan
    Map* pMap = GetMap();
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->ActivateFrame();
    CMenu menu;
    if (!menu.LoadMenu(IDR_PLANE_VIEW_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(pMap && pMap->GetSelectionCount() > 0 ? 0 : 1);
    if (!pPopup)
        return;
    // At the mouse on the screen, whatever the scroll position.
    CPoint screen = point;
    ClientToScreen(&screen);
    CWnd* pOwner = AfxGetMainWnd();
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, pOwner ? pOwner : this);
}

// ---------------------------------------------------------------------------
// Cursor

BOOL CMapXYView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest != HTCLIENT)
        return CMapView::OnSetCursor(pWnd, nHitTest, message);
    UINT id = IDC_VIEW_NORMAL;
    Map* pMap = GetMap();
    if (IsArmed(m_nState)) {
        id = IDC_VIEW_PICK_CENTRE;
    } else if (pMap && pMap->GetSelectionCount() == 1 && pMap->SelectionHasBrush()) {
        const int type = GetPlaneType();
        const int tolH = 4, tolV = type == VIEW_YZ ? 3 : 4;
        CPtrList* lists[3] = {&pMap->GetVertexPoints(), &pMap->GetEdgePoints(), &pMap->GetFacePoints()};
        for (CPtrList* list : lists)
            for (POSITION pos = list->GetHeadPosition(); pos && id == IDC_VIEW_NORMAL;) {
                const short* q = static_cast<const short*>(list->GetNext(pos));
                CPoint c = ProjectPoint(q[0], q[1], q[2]);
                if (std::abs(c.x - m_ptLastMouse.x) <= tolH && std::abs(c.y - m_ptLastMouse.y) <= tolV)
                    id = IDC_VIEW_HANDLE;
            }
    }
    ::SetCursor(LoadViewCursor(id));
    return TRUE;
}
