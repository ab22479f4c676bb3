#include "Map.h"
#include "Brush.h"
#include "Entity.h"
#include "IniFile.h"
#include "MapText.h"
#include "Reporter.h"
#include "Services.h"
#include "TextFile.h"
#include "Texture.h"
#include "Tokenizer.h"
#include <vector>

static const char kUnappliedQuestion[] =
    "The current entity had been changed, without being applied.\n\n"
    "Press OK to apply the changes and continue.\n"
    "Press Cancel to cancel the operation.";

static const short kNoClip[6] = {-8192, 8192, -8192, 8192, -8192, 8192};

BYTE g_faceMode = 0;

IMPLEMENT_DYNAMIC(CUpdateHint, CObject)

CUpdateHint::CUpdateHint() : box{0, 0, 0, 0, 0, 0} {}

CUpdateHint::CUpdateHint(const short* b)
{
    for (int i = 0; i < 6; ++i)
        box[i] = b ? b[i] : 0;
}

IMPLEMENT_DYNCREATE(Map, CDocument)

static int s_openMaps = 0;

int Map::GetOpenCount()
{
    return s_openMaps;
}

Map::Map()
{
    ++s_openMaps;
    static const short kFirst[6] = {0, 128, 0, 128, 0, 128};
    for (int i = 0; i < 6; ++i) {
        m_lastSelection[i] = kFirst[i];
        m_secondBox[i] = kFirst[i];
        m_depthClip[i] = kNoClip[i];
    }
}

Map::~Map()
{
    --s_openMaps;
    DeleteEntities();
    ClearCycleList();
    m_cameras.RemoveAll();
    m_pCurrentCamera = nullptr;
    ClearHandlePoints();
    GetEditorServices()->UpdateSelectionIndicator();
}

// ---------------------------------------------------------------------------
// Entities

void Map::DeleteEntities()
{
    // The Entity Editor must not keep showing an entity that goes with all the others (the
    // removal of one, below, is not told while the map clears): it is told as RemoveEntity tells it.
    if (m_pCurrentEntity) {
        m_pCurrentEntity = nullptr;
        GetEditorServices()->SetCurrentEntity(nullptr);
    }
    m_clearing = true;
    m_visible.RemoveAll();
    m_selection.RemoveAll();
    // Entities are detached before deletion so that none searches the lists for itself.
    while (!m_entities.IsEmpty()) {
        Entity* e = static_cast<Entity*>(m_entities.RemoveTail());
        e->SetMap(nullptr);
        delete e;
    }
    m_pWorld = nullptr;
    m_pCurrentEntity = nullptr;
    m_pWalkEntity = nullptr;
    m_entityPos = m_brushPos = nullptr;
    m_clearing = false;
}

void Map::DeleteContents()
{
    DeleteEntities();
    ClearCycleList();
    ClearHandlePoints();
    if (m_pPickedFace) {
        m_pPickedFace = nullptr;
        GetEditorServices()->UpdateTextureAdjustment(nullptr);
    }
}

void Map::AddEntity(Entity* pEntity)
{
    m_entities.AddTail(pEntity);
    pEntity->SetMap(this);
    if (!m_pWorld)
        m_pWorld = pEntity;
}

void Map::RemoveEntity(Entity* pEntity)
{
    if (m_clearing)
        return;
    POSITION pos = m_entities.Find(pEntity);
    if (pos)
        m_entities.RemoveAt(pos);
    if (m_pWorld == pEntity)
        m_pWorld = nullptr;
    if (m_pWalkEntity == pEntity) {
        m_pWalkEntity = nullptr;
        m_brushPos = nullptr;
    }
    // The Entity Editor must not keep showing an entity that is gone.
    if (m_pCurrentEntity == pEntity) {
        m_pCurrentEntity = nullptr;
        GetEditorServices()->SetCurrentEntity(nullptr);
    }
}

void Map::ForgetObject(SThing* pThing)
{
    if (m_clearing)
        return;
    POSITION pos = m_visible.IsEmpty() ? nullptr : m_visible.Find(pThing);
    if (pos)
        m_visible.RemoveAt(pos);
    pos = m_selection.IsEmpty() ? nullptr : m_selection.Find(pThing);
    if (pos)
        m_selection.RemoveAt(pos);
}

void Map::RemoveFromVisible(SThing* pThing)
{
    if (m_clearing || m_visible.IsEmpty())
        return;
    POSITION pos = m_visible.Find(pThing);
    if (pos)
        m_visible.RemoveAt(pos);
}

Entity* Map::CreateWorldEntity()
{
    Entity* world = new Entity(this);
    world->AddKeyValue("classname", "worldspawn");
    m_entities.AddHead(world);
    m_pWorld = world;
    return world;
}

Entity* Map::FirstEntity()
{
    m_entityPos = m_entities.GetHeadPosition();
    return NextEntity();
}

Entity* Map::NextEntity()
{
    m_pWalkEntity = m_entityPos ? static_cast<Entity*>(m_entities.GetNext(m_entityPos)) : nullptr;
    m_brushPos = nullptr;
    return m_pWalkEntity;
}

Brush* Map::FirstBrush()
{
    m_brushPos = m_pWalkEntity ? m_pWalkEntity->GetBrushes().GetHeadPosition() : nullptr;
    return NextBrush();
}

Brush* Map::NextBrush()
{
    if (!m_pWalkEntity || !m_brushPos)
        return nullptr;
    return static_cast<Brush*>(m_pWalkEntity->GetBrushes().GetNext(m_brushPos));
}

void Map::CollectObjects(CPtrList& list)
{
    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(m_entities.GetNext(pos));
        // An entity whose brushes were all kept as text is no point entity: it has no object.
        if (e->GetBrushCount() == 0 && e->GetKeptBrushCount() == 0)
            list.AddTail(e);
        else
            list.AddTail(&e->GetBrushes());
    }
}

void Map::CollectUsedTextures(CMapStringToPtr& names)
{
    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(m_entities.GetNext(pos));
        for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;) {
            Brush* b = static_cast<Brush*>(e->GetBrushes().GetNext(bp));
            for (const Face& f : b->GetFaces()) {
                void* old;
                if (f.texture && !names.Lookup(f.texture->name, old))
                    names.SetAt(f.texture->name, f.texture);
            }
        }
    }
}

void Map::CollectTargetNames(CStringList& names)
{
    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        const CString* name = static_cast<Entity*>(m_entities.GetNext(pos))->FindValue("targetname");
        if (name && !names.Find(*name))
            names.AddTail(*name);
    }
}

// ---------------------------------------------------------------------------
// Selection

BOOL Map::SelectionHasBrush() const
{
    for (POSITION pos = m_selection.GetHeadPosition(); pos;)
        if (static_cast<SThing*>(m_selection.GetNext(pos))->GetKind() == 0)
            return TRUE;
    return FALSE;
}

BOOL Map::SelectionHasEntity() const
{
    for (POSITION pos = m_selection.GetHeadPosition(); pos;)
        if (static_cast<SThing*>(m_selection.GetNext(pos))->GetKind() == 1)
            return TRUE;
    return FALSE;
}

void Map::UnionBounds(short* out, const short* a, const short* b)
{
    short r[6];
    for (int axis = 0; axis < 3; ++axis) {
        r[axis * 2] = a[axis * 2] < b[axis * 2] ? a[axis * 2] : b[axis * 2];
        r[axis * 2 + 1] = a[axis * 2 + 1] > b[axis * 2 + 1] ? a[axis * 2 + 1] : b[axis * 2 + 1];
    }
    for (int i = 0; i < 6; ++i)
        out[i] = r[i];
}

void Map::GetSelectionBounds(short* box) const
{
    GetBounds(m_selection, box);
}

void Map::GetBounds(const CPtrList& objects, short* box)
{
    static const short kEmpty[6] = {32767, -32768, 32767, -32768, 32767, -32768};
    for (int i = 0; i < 6; ++i)
        box[i] = kEmpty[i];
    for (POSITION pos = objects.GetHeadPosition(); pos;)
        UnionBounds(box, box, static_cast<SThing*>(objects.GetNext(pos))->GetBounds());
}

// The entity a selected object belongs to: a point entity is its own.
static Entity* EntityOf(SThing* t)
{
    if (t->GetKind() == 0)
        return static_cast<Brush*>(t)->GetOwner();
    if (t->GetKind() == 1)
        return static_cast<Entity*>(t);
    return nullptr;
}

void Map::UpdateCurrentEntity()
{
    Entity* result = nullptr;
    for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
        Entity* e = EntityOf(static_cast<SThing*>(m_selection.GetNext(pos)));
        if (!e || (result && e != result)) {
            result = nullptr;
            break;
        }
        result = e;
    }
    m_pCurrentEntity = result;
    GetEditorServices()->SetCurrentEntity(result);
}

void Map::SelectionChanged()
{
    if (!GetEditorServices()->IsLinkClipping()) {
        UpdateViews(HINT_SELECTION);
        return;
    }
    ResetDepthClip();
    UpdateViews(HINT_LINKED_SELECTION);
    RebuildVisibleList();
}

void Map::SelectionChangedRedraw(BOOL full)
{
    SelectionChanged();
    if (full)
        UpdateViews(HINT_REDRAW);
}

BOOL Map::ApplyPendingEntityEdits()
{
    CEditorServices* services = GetEditorServices();
    if (!services->HasUnappliedEntityChanges())
        return TRUE;
    if (Report().Box(MB_OKCANCEL, kUnappliedQuestion) == IDCANCEL)
        return FALSE;
    services->ApplyEntityChanges();
    return TRUE;
}

void Map::ReportSelectionCount()
{
    int n = m_selection.GetCount();
    Report().Status(n == 1 ? "%d object selected" : "%d objects selected", n);
    GetEditorServices()->UpdateSelectionIndicator();
}

BOOL Map::RemoveFromSelection(SThing* pThing)
{
    POSITION pos = m_selection.Find(pThing);
    if (!pos)
        return FALSE;
    m_selection.RemoveAt(pos);
    return TRUE;
}

BOOL Map::DeselectAll()
{
    if (m_selection.IsEmpty())
        return TRUE;
    if (!ApplyPendingEntityEdits())
        return FALSE;
    short box[6];
    GetSelectionBounds(box);
    for (POSITION pos = m_selection.GetHeadPosition(); pos;)
        static_cast<SThing*>(m_selection.GetNext(pos))->SetSelected(false);
    m_pCurrentEntity = nullptr;
    GetEditorServices()->SetCurrentEntity(nullptr);
    m_selection.RemoveAll();
    ReportSelectionCount();
    SelectionChanged();
    UpdateViews(HINT_CHANGED, box);
    return TRUE;
}

void Map::OnCancelOperation()
{
    DeselectAll();
}

BOOL Map::DeleteSelection(BOOL ask)
{
    if (ask && !ApplyPendingEntityEdits())
        return FALSE;
    short box[6];
    GetSelectionBounds(box);
    ClearCycleList();
    CPtrList doomed;
    doomed.AddTail(&m_selection);
    m_selection.RemoveAll();
    for (POSITION pos = doomed.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(doomed.GetNext(pos));
        t->SetSelected(false);
        if (t->GetKind() == 0) {
            delete static_cast<Brush*>(t);
        } else if (t->GetKind() == 1) {
            // The world stays, whatever is selected: the map cannot be without it.
            Entity* e = static_cast<Entity*>(t);
            if (e == m_pWorld || !m_entities.Find(e))
                continue;
            delete e; // leaves the entity list and the object lists on its way
        }
        SetModifiedFlag();
    }
    m_selection.RemoveAll();
    ObjectsRebuilt();
    if (!ask)
        return TRUE;
    m_pCurrentEntity = nullptr;
    GetEditorServices()->SetCurrentEntity(nullptr);
    ReportSelectionCount();
    SelectionChanged();
    UpdateViews(HINT_DELETED, box);
    return TRUE;
}

void Map::OnDeleteSelection()
{
    DeleteSelection(TRUE);
}

void Map::SelectObject(SThing* pThing, BOOL redraw)
{
    if (!pThing || m_selection.Find(pThing))
        return;
    pThing->SetSelected(true);
    const short* box = pThing->GetBounds();
    for (int i = 0; i < 6; ++i)
        m_lastSelection[i] = box[i];
    m_selection.AddTail(pThing);
    ReportSelectionCount();
    if (!redraw)
        return;
    short hintBox[6];
    if (m_selection.GetCount() == 2)
        UnionBounds(hintBox, static_cast<SThing*>(m_selection.GetHead())->GetBounds(), box);
    else
        for (int i = 0; i < 6; ++i)
            hintBox[i] = box[i];
    UpdateViews(HINT_CHANGED, hintBox);
}

void Map::SelectObjects(CPtrList& things, BOOL redraw)
{
    for (POSITION pos = m_selection.GetHeadPosition(); pos;)
        static_cast<SThing*>(m_selection.GetNext(pos))->SetSelected(false);
    m_selection.RemoveAll();
    for (POSITION pos = things.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(things.GetNext(pos));
        t->SetSelected(true);
        m_selection.AddTail(t);
    }
    UpdateCurrentEntity();
    ReportSelectionCount();
    SelectionChangedRedraw(redraw);
}

void Map::SelectBrushesByTexture(Texture* pTexture)
{
    CPtrList gathered;
    CPtrList& objects = GetObjectList();
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(objects.GetNext(pos));
        if (t->GetKind() != 0 || !t->IsVisible())
            continue;
        for (const Face& f : static_cast<Brush*>(t)->GetFaces())
            if (f.texture == pTexture) {
                gathered.AddTail(t);
                break;
            }
    }
    if (gathered.IsEmpty())
        UpdateViews(HINT_REDRAW);
    else
        SelectObjects(gathered, TRUE);
}

// Whether the template carries the entity's origin as it was read past the coordinate range.
static bool OriginLeftAsRead(const Entity& e, const Entity& from)
{
    const CString* read = e.FindValue("origin");
    const CString* kept = from.FindValue("origin");
    return read && kept && *read == *kept && !e.OriginInRange();
}

// Copies of the template's pairs replace the entity's own.
static void ReplacePairs(Entity& e, Entity& from)
{
    // The entity as its own template already holds the pairs (and would delete its source).
    if (&e == &from)
        return;
    e.DeleteKeyValues();
    for (POSITION pos = from.GetKeyValues().GetHeadPosition(); pos;) {
        const CKeyValue* kv = static_cast<const CKeyValue*>(from.GetKeyValues().GetNext(pos));
        e.GetKeyValues().AddTail(new CKeyValue(*kv));
    }
}

BOOL Map::MakeEntityFromSelection(Entity* pTemplate)
{
    CEditorServices* services = GetEditorServices();
    const bool pointClass = pTemplate->FindValue("origin") != nullptr;
    auto finish = [this] {
        SetModifiedFlag();
        ObjectsRebuilt();
        UpdateViews(HINT_REDRAW);
        return TRUE;
    };
    auto makeBrushEntity = [&](bool tellEditor) {
        Entity* e = Entity::CopyFrom(this, m_selection, pTemplate->GetKeyValues());
        AddEntity(e);
        m_pCurrentEntity = e;
        if (tellEditor)
            services->SetCurrentEntity(e);
        return finish();
    };

    if (!m_pCurrentEntity) {
        if (pointClass) {
            Report().Box(MB_OK, "Cannot create a brushless entity from multiple objects.\n"
                                "Select only one object, then retry the operation.");
            return FALSE;
        }
        if (!SelectionHasBrush()) {
            Report().Box(MB_OK, "A brush is not selected");
            return FALSE;
        }
        return makeBrushEntity(false);
    }

    if (CString(m_pCurrentEntity->ValueForKey("classname")) == pTemplate->ValueForKey("classname")) {
        // An origin read past the coordinate range is drawn and moved from the range's end and
        // written back as read until the entity is moved: an Apply that leaves it as it is keeps
        // it so, without the move by nothing that would clamp it.
        const bool originAsRead = OriginLeftAsRead(*m_pCurrentEntity, *pTemplate);
        // A typed origin past the coordinate range would be clamped without a word: refused before
        // anything changes, so that it can be mended.
        if (!originAsRead && !pTemplate->OriginInRange()) {
            Report().Box(MB_OK,
                         "The origin \"%s\" lies outside the map's coordinate range (-32768 to 32767).\n"
                         "The entity was not changed.",
                         static_cast<LPCSTR>(PrintableText(pTemplate->ValueForKey("origin"))));
            return FALSE;
        }
        ReplacePairs(*m_pCurrentEntity, *pTemplate);
        if (!originAsRead && m_pCurrentEntity->FindValue("origin"))
            m_pCurrentEntity->Translate(0, 0, 0);
        return finish();
    }

    if (!pointClass) {
        if (SelectionHasEntity()) {
            Report().Box(MB_OK, "A brushless entity is part of the selection group.\nThe new entity was not created.");
            return FALSE;
        }
        if (!SelectionHasBrush()) {
            Report().Box(MB_OK, "A brush is not selected");
            return FALSE;
        }
        return makeBrushEntity(true);
    }

    // A point entity at the centre of the first selected object (or of the current
    // entity when nothing is selected) takes the selection's place.
    SThing* first = m_selection.IsEmpty() ? m_pCurrentEntity : static_cast<SThing*>(m_selection.GetHead());
    int centre[3];
    for (int a = 0; a < 3; ++a) {
        int mn = first->GetBounds()[a * 2], mx = first->GetBounds()[a * 2 + 1];
        centre[a] = mn + (mx - mn) / 2;
    }
    // A point entity read past the coordinate range has its box cut at the range's end: the new
    // one takes its place at its origin as read, not at the middle of that box.
    const bool originAsRead =
        first->GetKind() == 1 && OriginLeftAsRead(*static_cast<Entity*>(first), *pTemplate);
    Entity* e = new Entity(*pTemplate);
    e->SetMap(this);
    DeleteSelection(FALSE);
    CString origin;
    origin.Format("%d %d %d", centre[0], centre[1], centre[2]);
    if (!originAsRead)
        e->SetValueForKey("origin", origin);
    AddEntity(e);
    e->SetSelected(true);
    m_selection.AddTail(e);
    m_pCurrentEntity = e;
    services->SetCurrentEntity(e);
    if (originAsRead)
        e->FitToOrigin();
    else
        e->Translate(0, 0, 0);
    return finish();
}

// ---------------------------------------------------------------------------
// Visible list

void Map::ResetDepthClip()
{
    for (int i = 0; i < 6; ++i)
        m_depthClip[i] = kNoClip[i];
    m_clipFlag = 0;
}

void Map::RebuildVisibleList()
{
    m_visible.RemoveAll();
    CEditorServices* services = GetEditorServices();
    // Every object is looked at once, and the class of an entity is asked once.
    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(m_entities.GetNext(pos));
        int shown = -2; // not asked yet
        auto place = [&](SThing* t) {
            if (t->IsSelected()) {
                t->SetVisible(true);
                m_visible.AddTail(t);
                return;
            }
            e->SThing::SetVisible(false);
            t->SetVisible(false);
            if (shown == -2)
                shown = services->IsEntityVisible(e->ValueForKey("classname"));
            // Only a class whose visibility was switched off hides its objects; an
            // unknown class stays visible.
            if (shown == 0)
                return;
            const short* b = t->GetBounds();
            for (int a = 0; a < 3; ++a)
                if (b[a * 2] < m_depthClip[a * 2] || b[a * 2 + 1] > m_depthClip[a * 2 + 1])
                    return;
            t->SetVisible(true);
            m_visible.AddTail(t);
        };
        if (e->GetBrushCount() == 0) {
            if (e->GetKeptBrushCount() == 0)
                place(e);
            continue;
        }
        for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;)
            place(static_cast<Brush*>(e->GetBrushes().GetNext(bp)));
    }
}

CPtrList& Map::GetObjectList()
{
    CEditorServices* services = GetEditorServices();
    if (!services->IsLinkClipping()) {
        if (CPtrList* order = services->GetActiveObjectOrder(this))
            return *order;
        RebuildVisibleList();
    }
    return m_visible;
}

void Map::ObjectsRebuilt()
{
    CEditorServices* services = GetEditorServices();
    if (m_pPickedFace) {
        m_pPickedFace = nullptr;
        services->UpdateTextureAdjustment(nullptr);
    }
    ClearCycleList();
    ClearHandlePoints();
    RebuildVisibleList();
    services->RebuildObjectOrders(this);
}

// ---------------------------------------------------------------------------
// Views

void Map::SetViewType(int viewType)
{
    m_pendingViewType = viewType;
}

void Map::RefreshAllViews()
{
    UpdateViews(HINT_VIEW_TYPE);
}

void Map::UpdateViews(LPARAM hint, const short* box)
{
    CUpdateHint h(box);
    UpdateAllViews(nullptr, hint, box ? &h : nullptr);
}

// ---------------------------------------------------------------------------
// Cameras

static void CameraBox(const CameraRecord& c, short* box)
{
    auto span = [](short* out, int a, int b) {
        out[0] = static_cast<short>(a < b ? a : b);
        out[1] = static_cast<short>(a < b ? b : a);
    };
    span(box, c.tx, c.mx);
    span(box + 2, -c.tz, -c.mz);
    span(box + 4, -c.ty, -c.my);
}

void Map::AddCamera(CameraRecord* pCamera)
{
    m_cameras.AddTail(pCamera);
    SetCurrentCamera(pCamera);
}

void Map::SetCurrentCamera(CameraRecord* pCamera)
{
    m_pCurrentCamera = pCamera;
    if (!pCamera)
        return;
    short box[6];
    CameraBox(*pCamera, box);
    UpdateViews(HINT_CAMERA, box);
}

void Map::RemoveCamera(CameraRecord* pCamera)
{
    POSITION pos = m_cameras.Find(pCamera);
    if (!pos)
        return;
    m_cameras.RemoveAt(pos);
    if (m_pCurrentCamera == pCamera)
        m_pCurrentCamera = nullptr;
    if (m_pDraggedCamera == pCamera)
        m_pDraggedCamera = nullptr;
    short box[6];
    CameraBox(*pCamera, box);
    UpdateViews(HINT_CAMERA, box);
}

// ---------------------------------------------------------------------------
// Cycling and handles

void Map::ClearCycleList()
{
    while (!m_cycle.IsEmpty())
        delete static_cast<CycleCandidate*>(m_cycle.RemoveHead());
    m_cyclePos = nullptr;
    m_cycleCursor = nullptr;
}

void Map::ClearEdgePoints()
{
    while (!m_edgePoints.IsEmpty())
        delete[] static_cast<short*>(m_edgePoints.RemoveHead());
}

void Map::ClearHandlePoints()
{
    while (!m_facePoints.IsEmpty())
        delete[] static_cast<short*>(m_facePoints.RemoveHead());
    ClearEdgePoints();
    m_vertexPoints.RemoveAll();
}

void Map::RebuildHandlePoints(Brush* pBrush)
{
    ClearHandlePoints();
    if (m_showFacePoints)
        pBrush->GetFacePoints(m_facePoints);
    if (m_showEdgePoints)
        pBrush->GetEdgePoints(m_edgePoints);
    if (m_showVertexPoints)
        pBrush->GetVertexPoints(m_vertexPoints);
}
