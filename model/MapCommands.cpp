// The map document's own commands: camera motion, CSG, handle-point toggles, Apply Marked and
// cycling through the candidates of the last click.
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "MapCommands.h"
#include "Reporter.h"
#include "Services.h"
#include <cmath>

BEGIN_MESSAGE_MAP(Map, CDocument)
    ON_COMMAND(ID_CAMERA_FORWARD, OnCameraForward)
    ON_COMMAND(ID_CAMERA_BACKWARD, OnCameraBackward)
    ON_COMMAND(ID_CAMERA_TURN_LEFT, OnCameraTurnLeft)
    ON_COMMAND(ID_CAMERA_TURN_RIGHT, OnCameraTurnRight)
    ON_COMMAND(ID_CAMERA_UP, OnCameraUp)
    ON_COMMAND(ID_CAMERA_DOWN, OnCameraDown)
    ON_COMMAND(ID_CAMERA_PITCH_UP, OnCameraPitchUp)
    ON_COMMAND(ID_CAMERA_PITCH_DOWN, OnCameraPitchDown)
    ON_COMMAND(ID_MAP_SUBTRACT, OnSubtract)
    ON_COMMAND(ID_MAP_INTERSECT, OnIntersect)
    ON_COMMAND(ID_TOGGLE_FACE_POINTS, OnToggleFacePoints)
    ON_COMMAND(ID_TOGGLE_EDGE_POINTS, OnToggleEdgePoints)
    ON_COMMAND(ID_TOGGLE_VERTEX_POINTS, OnToggleVertexPoints)
    ON_COMMAND(ID_APPLY_MARKED, OnApplyMarked)
    ON_COMMAND(ID_CYCLE_SELECTION_UP, OnCycleSelectionUp)
    ON_COMMAND(ID_CYCLE_SELECTION_DOWN, OnCycleSelectionDown)
    ON_COMMAND(ID_KEEP_CYCLE_UP, OnKeepCycleSelectionUp)
    ON_COMMAND(ID_KEEP_CYCLE_DOWN, OnKeepCycleSelectionDown)
    ON_UPDATE_COMMAND_UI(ID_MAP_SUBTRACT, OnUpdateSubtract)
    ON_UPDATE_COMMAND_UI(ID_MAP_INTERSECT, OnUpdateIntersect)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_FACE_POINTS, OnUpdateTogglePoints)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_EDGE_POINTS, OnUpdateTogglePoints)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_VERTEX_POINTS, OnUpdateTogglePoints)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Camera motion

void Map::CameraChanged()
{
    // A camera dragged in a plane view need not be the current one.
    CameraRecord* c = m_pDraggedCamera ? m_pDraggedCamera : m_pCurrentCamera;
    const short* prev = m_pDraggedCamera ? m_draggedCameraSaved : m_prevEye;
    if (!c)
        return;
    auto span = [](short* out, int a, int b) {
        out[0] = static_cast<short>(a < b ? a : b);
        out[1] = static_cast<short>(a < b ? b : a);
    };
    short box[6];
    span(box, prev[0], c->tx);
    span(box + 2, -prev[2], -c->tz);
    span(box + 4, -prev[1], -c->ty);
    UpdateViews(HINT_CAMERA, box);
}

void Map::MoveCamera(int dx, int dy, int dz, int dPitch, int dYaw, BOOL bStep, int sign)
{
    CameraRecord* c = m_pCurrentCamera;
    if (!c)
        return;
    m_prevEye[0] = c->tx;
    m_prevEye[1] = c->ty;
    m_prevEye[2] = c->tz;
    if (bStep) {
        // 15 units along the view direction on the ground plane.
        const double a = ((-90.0 - c->yaw) * 2.0) * 3.1415927 * (1.0 / 360.0);
        dx = static_cast<int>(std::floor(sign * 15.0 * std::cos(a) + 0.5));
        dz = static_cast<int>(std::floor(-sign * 15.0 * std::sin(a) + 0.5));
    }
    c->tx = static_cast<short>(c->tx + dx);
    c->ty = static_cast<short>(c->ty + dy);
    c->tz = static_cast<short>(c->tz + dz);
    c->pitch += dPitch;
    c->yaw += dYaw;
    CameraChanged();
}

void Map::OnCameraForward() { MoveCamera(0, 0, 0, 0, 0, TRUE, 1); }
void Map::OnCameraBackward() { MoveCamera(0, 0, 0, 0, 0, TRUE, -1); }
void Map::OnCameraTurnLeft() { MoveCamera(0, 0, 0, 0, -5, FALSE, 0); }
void Map::OnCameraTurnRight() { MoveCamera(0, 0, 0, 0, 5, FALSE, 0); }
void Map::OnCameraUp() { MoveCamera(0, -5, 0, 0, 0, FALSE, 0); }
void Map::OnCameraDown() { MoveCamera(0, 5, 0, 0, 0, FALSE, 0); }
void Map::OnCameraPitchUp() { MoveCamera(0, 0, 0, -5, 0, FALSE, 0); }
void Map::OnCameraPitchDown() { MoveCamera(0, 0, 0, 5, 0, FALSE, 0); }

// ---------------------------------------------------------------------------
// CSG

void Map::AfterEditRedraw()
{
    SetModifiedFlag(TRUE);
    SelectionChanged();
}

namespace {

Brush* FirstSelectedBrush(Map* map)
{
    if (map->GetSelectionCount() == 0)
        return nullptr;
    SThing* t = static_cast<SThing*>(map->GetSelection().GetHead());
    return t->GetKind() == 0 ? static_cast<Brush*>(t) : nullptr;
}

} // namespace

void Map::OnSubtract()
{
    Brush* cutter = FirstSelectedBrush(this);
    if (!cutter || GetSelectionCount() != 1)
        return;
    BOOL ok = FALSE;
    // The brush operations are all or nothing: a geometry error leaves the brushes as read.
    try {
        ok = cutter->Subtract(GetObjectList());
    } catch (CBrushGeometryError&) {
        ok = FALSE;
    }
    if (!ok) {
        Report().Box(MB_OK, "%s", "An error occured while subtracting");
        return;
    }
    AfterEditRedraw();
    UpdateViews(HINT_REDRAW);
}

void Map::OnIntersect()
{
    Brush* keep = FirstSelectedBrush(this);
    if (!keep || GetSelectionCount() < 2 || SelectionHasEntity())
        return;
    BOOL ok = FALSE;
    try {
        ok = keep->Intersect(this);
    } catch (CBrushGeometryError&) {
        ok = FALSE;
    }
    if (!ok) {
        Report().Box(MB_OK, "%s", "An error occured while subtracting");
        return;
    }
    AfterEditRedraw();
    UpdateViews(HINT_REDRAW);
}

void Map::OnUpdateSubtract(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectionCount() == 1 && !SelectionHasEntity());
}

void Map::OnUpdateIntersect(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectionCount() > 1 && !SelectionHasEntity());
}

// ---------------------------------------------------------------------------
// Handle points, marked texture

void Map::OnUpdateTogglePoints(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectionCount() == 1 && !SelectionHasEntity());
    BYTE flag = pCmdUI->m_nID == ID_TOGGLE_FACE_POINTS   ? m_showFacePoints
                : pCmdUI->m_nID == ID_TOGGLE_EDGE_POINTS ? m_showEdgePoints
                                                         : m_showVertexPoints;
    pCmdUI->SetCheck(flag ? 1 : 0);
}

static void ToggleAndRedraw(Map* map, BYTE& flag)
{
    flag = flag ? 0 : 1;
    short box[6];
    map->GetSelectionBounds(box);
    map->UpdateViews(HINT_CHANGED, box);
}

void Map::OnToggleFacePoints() { ToggleAndRedraw(this, m_showFacePoints); }
void Map::OnToggleEdgePoints() { ToggleAndRedraw(this, m_showEdgePoints); }
void Map::OnToggleVertexPoints() { ToggleAndRedraw(this, m_showVertexPoints); }

void Map::OnApplyMarked()
{
    GetMarkedTexture();
    // The views show the new textures at once.
    UpdateViews(HINT_DEFAULT_TEXTURE);
}

// ---------------------------------------------------------------------------
// Selection of one object, cycling

void Map::DeselectObject(SThing* pThing)
{
    // An object that is not selected (the user deselected it before cycling) is left alone.
    if (!pThing || !m_selection.Find(pThing))
        return;
    pThing->SetSelected(false);
    m_selection.RemoveAt(m_selection.Find(pThing));
    ReportSelectionCount();
    short box[6];
    const short* own = pThing->GetBounds();
    if (m_selection.GetCount() == 1)
        UnionBounds(box, static_cast<SThing*>(m_selection.GetHead())->GetBounds(), own);
    else
        for (int i = 0; i < 6; ++i)
            box[i] = own[i];
    UpdateViews(HINT_CHANGED, box);
}

void Map::CycleSelection(BOOL bUp, BOOL bKeep)
{
    if (m_cycle.IsEmpty())
        return;
    if (!bKeep && m_cyclePos)
        DeselectObject(static_cast<CycleCandidate*>(m_cycle.GetAt(m_cyclePos))->thing);
    POSITION pos = m_cyclePos;
    if (bUp) {
        if (pos)
            m_cycle.GetPrev(pos);
        if (!pos)
            pos = m_cycle.GetTailPosition();
    } else {
        if (pos)
            m_cycle.GetNext(pos);
        if (!pos)
            pos = m_cycle.GetHeadPosition();
    }
    m_cyclePos = pos;
    SThing* t = static_cast<CycleCandidate*>(m_cycle.GetAt(pos))->thing;
    if (!t)
        return;
    SelectObject(t, TRUE);
    UpdateCurrentTexture();
    UpdateCurrentEntity();
}

void Map::CycleSelectionUp(BOOL bKeep) { CycleSelection(TRUE, bKeep); }
void Map::CycleSelectionDown(BOOL bKeep) { CycleSelection(FALSE, bKeep); }
