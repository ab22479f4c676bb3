// The map document's own commands: camera motion, CSG, handle-point toggles, Apply Marked and
// cycling through the candidates of the last click.
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "MapCommands.h"
#include "Reporter.h"
#include "Services.h"
#include "afxdlgs.h"
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
    ON_COMMAND(ID_MAP_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_MAP_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_MAP_FILE_SAVE_AS, OnFileSaveAs)
    ON_COMMAND(ID_MAP_FILE_SAVE_ALL, OnFileSaveAll)
    ON_UPDATE_COMMAND_UI(ID_MAP_FILE_SAVE, OnUpdateFileSave)
    ON_UPDATE_COMMAND_UI(ID_MAP_FILE_SAVE_ALL, OnUpdateFileSaveAll)
    ON_COMMAND(ID_NEW_XY_WINDOW, OnNewXYWindow)
    ON_COMMAND(ID_NEW_XZ_WINDOW, OnNewXZWindow)
    ON_COMMAND(ID_NEW_YZ_WINDOW, OnNewYZWindow)
    ON_COMMAND(ID_NEW_CAMERA_WINDOW, OnNewCameraWindow)
    ON_COMMAND(ID_MAP_CYLINDER, OnCylinder)
    ON_COMMAND(ID_MAP_PYRAMID, OnPyramid)
    ON_COMMAND(ID_MAP_WEDGE, OnWedge)
    ON_COMMAND(ID_MAP_CONE, OnCone)
    ON_COMMAND(ID_MAP_SPHERE, OnSphere)
    ON_UPDATE_COMMAND_UI(ID_MAP_CYLINDER, OnUpdatePrimitive)
    ON_UPDATE_COMMAND_UI(ID_MAP_PYRAMID, OnUpdatePrimitive)
    ON_UPDATE_COMMAND_UI(ID_MAP_WEDGE, OnUpdatePrimitive)
    ON_UPDATE_COMMAND_UI(ID_MAP_CONE, OnUpdatePrimitive)
    ON_UPDATE_COMMAND_UI(ID_MAP_SPHERE, OnUpdateSphere)
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
    // The eye stops at the ends of the coordinate range: wrapped, it would stand on the far side.
    c->tx = ClampToMapCoordinate(c->tx + dx);
    c->ty = ClampToMapCoordinate(c->ty + dy);
    c->tz = ClampToMapCoordinate(c->tz + dz);
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

// ---------------------------------------------------------------------------
// File commands

void Map::OnFileClose()
{
    // The framework's save-if-modified question decides; the map then closes.
    CDocument::OnFileClose();
}

void Map::OnFileSave()
{
    if (GetPathName().IsEmpty()) {
        OnFileSaveAs();
        return;
    }
    // A file marked read-only is kept: the framework's save says so and offers a new name.
    const DWORD attributes = ::GetFileAttributesA(GetPathName());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        DoFileSave();
        return;
    }
    OnSaveDocument(GetPathName());
}

BOOL Map::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    // A new name is asked for as Save As asks it (the maps' folder, another open map refused).
    if (bReplace && (lpszPathName == nullptr || *lpszPathName == '\0'))
        return SaveAsFromDialog();
    return CDocument::DoSave(lpszPathName, bReplace);
}

void Map::OnFileSaveAll()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->SaveAllModified();
}

void Map::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    // A map whose "wad" no longer names the project's WADs can be saved to bring it up to date.
    pCmdUI->Enable(IsModified() || HasStaleWadValue());
}

void Map::OnUpdateFileSaveAll(CCmdUI* pCmdUI)
{
    BOOL any = FALSE;
    if (CDocTemplate* pTemplate = GetDocTemplate()) {
        for (POSITION pos = pTemplate->GetFirstDocPosition(); pos && !any;) {
            CDocument* pDoc = pTemplate->GetNextDoc(pos);
            any = pDoc && pDoc->IsKindOf(RUNTIME_CLASS(Map)) && pDoc->IsModified();
        }
    } else {
        any = IsModified();
    }
    pCmdUI->Enable(any);
}

BOOL Map::IsOpenElsewhere(LPCSTR lpszPathName)
{
    CDocTemplate* pTemplate = GetDocTemplate();
    CDocument* pOpen = nullptr;
    return pTemplate && pTemplate->MatchDocType(lpszPathName, pOpen) == CDocTemplate::yesAlreadyOpen && pOpen != this;
}

BOOL Map::SaveAs(LPCSTR lpszPathName)
{
    if (IsOpenElsewhere(lpszPathName)) {
        CString format;
        if (!format.LoadString(IDS_MAP_IS_OPEN))
            format = "The map %s is already open.";
        Report().Box(MB_OK | MB_ICONEXCLAMATION, format, lpszPathName);
        return FALSE;
    }
    if (!OnSaveDocument(lpszPathName))
        return FALSE;
    SetPathName(lpszPathName, FALSE);
    UpdateAllViews(nullptr, HINT_VIEW_TYPE); // the windows' titles name the new file
    if (CWinApp* pApp = AfxGetApp())
        pApp->AddToRecentFileList(lpszPathName);
    GetEditorServices()->MapSavedAs(lpszPathName);
    return TRUE;
}

void Map::OnFileSaveAs()
{
    SaveAsFromDialog();
}

BOOL Map::SaveAsFromDialog()
{
    CString filter;
    if (!filter.LoadString(IDS_MAP_FILE_FILTER))
        filter = "Morvane Map Files|*.map|All Files|*.*|";
    CEditorServices* services = GetEditorServices();
    CString initial = services->GetRememberedDirectory(CEditorServices::DIR_MAPS);
    // No "file must exist": saving under a new name is the point of the command.
    CFileDialog dlg(FALSE, "map", GetPathName(), OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, filter);
    if (!initial.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = initial;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    CString path = dlg.GetPathName();
    int cut = path.ReverseFind('\\');
    if (cut > 0)
        services->SetRememberedDirectory(CEditorServices::DIR_MAPS, path.Left(cut));
    return SaveAs(path);
}

// ---------------------------------------------------------------------------
// New windows

BOOL Map::OpenNewWindow(int viewType)
{
    CDocTemplate* pTemplate = viewType == VIEW_CAMERA ? GetEditorServices()->GetCameraTemplate() : GetDocTemplate();
    if (!pTemplate)
        return FALSE;
    CFrameWnd* pFrame = pTemplate->CreateNewFrame(this, nullptr);
    if (!pFrame)
        return FALSE;
    // The new view takes its plane from the pending type at its first update.
    SetViewType(viewType);
    UpdateAllViews(nullptr, HINT_VIEW_TYPE);
    pTemplate->InitialUpdateFrame(pFrame, this, TRUE);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Primitives

void Map::OnUpdatePrimitive(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectionCount() == 1 && static_cast<SThing*>(m_selection.GetHead())->GetKind() == 0);
}

void Map::OnUpdateSphere(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

BOOL Map::MakePrimitive(UINT nID, int sides)
{
    Brush* b = FirstSelectedBrush(this);
    if (!b || GetSelectionCount() != 1)
        return FALSE;
    int viewType = GetEditorServices()->GetActivePlaneType();
    if (viewType < VIEW_XY || viewType > VIEW_YZ)
        viewType = VIEW_XY;
    short before[6];
    for (int i = 0; i < 6; ++i)
        before[i] = b->GetBounds()[i];
    BOOL ok = FALSE;
    try {
        switch (nID) {
        case ID_MAP_CYLINDER: ok = b->MakeCylinder(viewType, sides); break;
        case ID_MAP_PYRAMID: ok = b->MakePyramid(viewType); break;
        case ID_MAP_WEDGE: ok = b->MakeWedge(viewType); break;
        case ID_MAP_CONE: ok = b->MakeCone(viewType, sides); break;
        case ID_MAP_SPHERE: ok = b->MakeSphere(); break;
        }
    } catch (CBrushGeometryError&) {
        ok = FALSE; // the brush operations leave the brush as it was
    }
    if (!ok) {
        // The brush stays as it was: a failed shape is no reason to lose the user's brush.
        const char* name = nID == ID_MAP_CYLINDER ? "Cylinder"
                           : nID == ID_MAP_PYRAMID ? "Pyramid"
                           : nID == ID_MAP_WEDGE   ? "Wedge"
                           : nID == ID_MAP_CONE    ? "Cone"
                                                   : "Sphere";
        Report().Box(MB_OK, "An error occured while creating the %s", name);
        return FALSE;
    }
    AfterEditRedraw();
    const BOOL boxBefore = nID == ID_MAP_CYLINDER || nID == ID_MAP_CONE;
    UpdateViews(HINT_CHANGED, boxBefore ? before : b->GetBounds());
    return TRUE;
}

namespace {

BOOL CheckIsothetic(Map* map)
{
    Brush* b = FirstSelectedBrush(map);
    if (!b || map->GetSelectionCount() != 1)
        return FALSE;
    if (!b->IsIsothetic()) {
        Report().Box(MB_OK, "%s", "Primitives must be inscribed in isothetic brushes");
        return FALSE;
    }
    return TRUE;
}

} // namespace

void Map::OnCylinder()
{
    int sides = 0;
    if (CheckIsothetic(this) && GetEditorServices()->AskPrimitiveSides(FALSE, sides))
        MakePrimitive(ID_MAP_CYLINDER, sides);
}

void Map::OnCone()
{
    int sides = 0;
    if (CheckIsothetic(this) && GetEditorServices()->AskPrimitiveSides(TRUE, sides))
        MakePrimitive(ID_MAP_CONE, sides);
}

void Map::OnPyramid()
{
    if (CheckIsothetic(this))
        MakePrimitive(ID_MAP_PYRAMID, 0);
}

void Map::OnWedge()
{
    if (CheckIsothetic(this))
        MakePrimitive(ID_MAP_WEDGE, 0);
}

void Map::OnSphere()
{
    if (CheckIsothetic(this))
        MakePrimitive(ID_MAP_SPHERE, 0);
}
