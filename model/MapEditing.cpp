// Edits of the selection behind the plane views' commands.
#include "MapEditing.h"
#include "Brush.h"
#include "Entity.h"
#include "Map.h"

namespace {

Entity* OwnerEntity(SThing* t)
{
    if (!t)
        return nullptr;
    return t->GetKind() == 1 ? static_cast<Entity*>(t) : static_cast<Brush*>(t)->GetOwner();
}

void SetOrAddValue(Entity* e, LPCSTR key, LPCSTR value)
{
    if (e->SetValueForKey(key, value) == Entity::KEY_MISSING)
        e->AddKeyValue(key, value);
}

} // namespace

// ---------------------------------------------------------------------------
// Edits made whole or not at all

void CObjectEdit::Add(SThing* t, std::function<bool()> fits, std::function<void()> make)
{
    m_changes.push_back(Change{t, std::move(fits), std::move(make)});
}

void CObjectEdit::AddMove(SThing* t, SThing::MoveKind kind, int a, int b, int c, int viewType)
{
    Add(
        t,
        [=] {
            if (t->GetKind() == 0)
                return static_cast<const Brush*>(t)->MoveFits(kind, a, b, c, viewType);
            if (t->GetKind() == 1)
                return static_cast<const Entity*>(t)->MoveFits(kind, a, b, c, viewType);
            return true;
        },
        [=] {
            switch (kind) {
            case SThing::MOVE_TO: t->MoveTo(a, b, viewType); break;
            case SThing::MOVE: t->Move(a, b, viewType); break;
            case SThing::MOVE_DEPTH: t->MoveDepth(a, viewType); break;
            case SThing::TRANSLATE: t->Translate(a, b, c); break;
            }
        });
}

void CObjectEdit::AddSelectionMove(Map* pMap, SThing::MoveKind kind, int a, int b, int c, int viewType)
{
    for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;)
        AddMove(static_cast<SThing*>(pMap->GetSelection().GetNext(pos)), kind, a, b, c, viewType);
}

void CObjectEdit::AddRotate(SThing* t, int cx, int cy, double angle, int viewType)
{
    Add(
        t,
        [=] {
            if (t->GetKind() == 0)
                return static_cast<const Brush*>(t)->RotateFits(cx, cy, angle, viewType);
            if (t->GetKind() == 1)
                return static_cast<const Entity*>(t)->RotateFits(cx, cy, angle, viewType);
            return true;
        },
        [=] { t->Rotate(cx, cy, angle, viewType); });
}

int CObjectEdit::CountRefused(int* brushes, int* entities) const
{
    int b = 0, e = 0, other = 0;
    for (const Change& c : m_changes)
        if (!c.fits())
            ++(c.object->GetKind() == 0 ? b : c.object->GetKind() == 1 ? e : other);
    if (brushes)
        *brushes = b;
    if (entities)
        *entities = e;
    return b + e + other;
}

BOOL CObjectEdit::Apply()
{
    int brushes = 0, entities = 0;
    const int refused = CountRefused(&brushes, &entities);
    if (refused > 0) {
        CMoveRangeReport::CountEdit(brushes, entities, static_cast<int>(m_changes.size()) - brushes - entities);
        return FALSE;
    }
    for (const Change& c : m_changes) {
        try {
            c.make();
        } catch (CBrushGeometryError&) {
            // The brush's transform has put it back as it was.
        }
    }
    return TRUE;
}

int AssignSelectionToWorld(Map* pMap)
{
    Entity* world = pMap ? pMap->GetWorldEntity() : nullptr;
    if (!world)
        return 0;
    int moved = 0;
    // A copy: removing a brush may delete its entity, which never changes the selection list
    // itself, but the walk must not depend on it.
    CPtrList selected;
    selected.AddTail(&pMap->GetSelection());
    for (POSITION pos = selected.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(selected.GetNext(pos));
        if (t->GetKind() != 0)
            continue; // point entities have no brushes to give
        Brush* b = static_cast<Brush*>(t);
        Entity* owner = b->GetOwner();
        if (owner == world)
            continue;
        if (owner)
            owner->RemoveBrush(b); // an entity left without brushes goes
        world->AddBrush(b);
        b->SetOwner(world);
        pMap->SetModifiedFlag(TRUE);
        ++moved;
    }
    if (moved)
        pMap->ObjectsRebuilt(); // the moved brushes left the visible lists with their owners
    return moved;
}

void AlignOffset(AlignKind kind, int viewType, const short* ref, const short* box, int* delta)
{
    int h, v, d;
    if (!ViewAxes(viewType, h, v, d))
        ViewAxes(VIEW_XY, h, v, d);
    delta[0] = delta[1] = delta[2] = 0;
    // Integer division truncates toward zero, as the centres are defined.
    auto centre = [](const short* b, int axis) { return (b[axis * 2] + b[axis * 2 + 1]) / 2; };
    switch (kind) {
    case ALIGN_LEFT: delta[h] = ref[h * 2] - box[h * 2]; break;
    case ALIGN_RIGHT: delta[h] = ref[h * 2 + 1] - box[h * 2 + 1]; break;
    case ALIGN_TOP: delta[v] = ref[v * 2 + 1] - box[v * 2 + 1]; break;
    case ALIGN_BOTTOM: delta[v] = ref[v * 2] - box[v * 2]; break;
    case ALIGN_HORIZONTALLY: delta[h] = centre(ref, h) - centre(box, h); break;
    case ALIGN_VERTICALLY: delta[v] = centre(ref, v) - centre(box, v); break;
    }
}

BOOL AlignSelection(Map* pMap, AlignKind kind, int viewType, short* unionBox)
{
    if (!pMap || pMap->GetSelectionCount() < 2)
        return FALSE;
    short before[6];
    pMap->GetSelectionBounds(before);
    CPtrList& sel = pMap->GetSelection();
    POSITION pos = sel.GetHeadPosition();
    short ref[6];
    const short* r = static_cast<SThing*>(sel.GetNext(pos))->GetBounds();
    for (int i = 0; i < 6; ++i)
        ref[i] = r[i];
    CObjectEdit edit;
    while (pos) {
        SThing* t = static_cast<SThing*>(sel.GetNext(pos));
        int delta[3];
        AlignOffset(kind, viewType, ref, t->GetBounds(), delta);
        if (delta[0] || delta[1] || delta[2])
            edit.AddMove(t, SThing::TRANSLATE, delta[0], delta[1], delta[2]);
    }
    if (!edit.Apply())
        return FALSE;
    short after[6];
    pMap->GetSelectionBounds(after);
    if (unionBox)
        Map::UnionBounds(unionBox, before, after);
    pMap->SetModifiedFlag(TRUE);
    return TRUE;
}

void FindObjectsInside(const Brush& selector, CPtrList& objects, BOOL bFully, CPtrList& found)
{
    const short* s = selector.GetBounds();
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(objects.GetNext(pos));
        if (t == &selector || found.Find(t))
            continue;
        const short* b = t->GetBounds();
        bool pass = true;
        if (bFully) {
            for (int axis = 0; axis < 3 && pass; ++axis)
                pass = b[axis * 2] >= s[axis * 2] && b[axis * 2 + 1] <= s[axis * 2 + 1];
            if (pass && t->GetKind() == 0)
                pass = selector.ContainsBrush(*static_cast<Brush*>(t)) != FALSE;
        } else {
            if (t->GetKind() == 1 && !static_cast<Entity*>(t)->FindValue("origin"))
                continue;
            for (int axis = 0; axis < 3 && pass; ++axis)
                pass = !(b[axis * 2 + 1] < s[axis * 2] || b[axis * 2] > s[axis * 2 + 1]);
            if (pass && t->GetKind() == 0)
                pass = selector.PartlyContainsBrush(*static_cast<Brush*>(t)) != FALSE;
        }
        if (pass)
            found.AddTail(t);
    }
}

BOOL CreateTargetChain(Map* pMap, LPCSTR base, BOOL bCircular)
{
    if (!pMap || pMap->GetSelectionCount() == 0 || !base)
        return FALSE;
    Entity* first = nullptr;
    Entity* last = nullptr;
    int k = 1;
    for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;) {
        Entity* e = OwnerEntity(static_cast<SThing*>(pMap->GetSelection().GetNext(pos)));
        if (!e)
            continue;
        if (!first)
            first = e;
        last = e;
        CString value;
        value.Format("%s%d", base, k);
        SetOrAddValue(e, "targetname", value);
        ++k;
        value.Format("%s%d", base, k);
        SetOrAddValue(e, "target", value);
        pMap->SetModifiedFlag(TRUE);
    }
    if (!last)
        return FALSE;
    if (bCircular) {
        CString value;
        value.Format("%s%d", base, 1);
        SetOrAddValue(last, "target", value);
    } else {
        last->RemoveKey("target");
        first->RemoveKey("targetname");
    }
    return TRUE;
}

BOOL ComputeRoomWalls(const short* box, int w, BOOL bInward, short walls[6][6])
{
    if (w < 0)
        return FALSE;
    const int x0 = box[0], x1 = box[1], y0 = box[2], y1 = box[3], z0 = box[4], z1 = box[5];
    int in[6][6] = {
        {x0, x1, y0, y1, z1 - w, z1},
        {x0, x1, y0, y1, z0, z0 + w},
        {x0, x0 + w, y0, y1, z0 + w, z1 - w},
        {x1 - w, x1, y0, y1, z0 + w, z1 - w},
        {x0 + w, x1 - w, y0, y0 + w, z0 + w, z1 - w},
        {x0 + w, x1 - w, y1 - w, y1, z0 + w, z1 - w},
    };
    int out[6][6] = {
        {x0 - w, x1 + w, y0 - w, y1 + w, z1, z1 + w},
        {x0 - w, x1 + w, y0 - w, y1 + w, z0 - w, z0},
        {x0 - w, x0, y0 - w, y1 + w, z0, z1},
        {x1, x1 + w, y0 - w, y1 + w, z0, z1},
        {x0, x1, y0 - w, y0, z0, z1},
        {x0, x1, y1, y1 + w, z0, z1},
    };
    int (*src)[6] = bInward ? in : out;
    // Computed wide and checked: 16-bit arithmetic would wrap a wall to the far side of the map.
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            if (!IsMapCoordinate(src[i][j]))
                return FALSE;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            walls[i][j] = static_cast<short>(src[i][j]);
    return TRUE;
}

BOOL RoomFitsInside(const short* box, int w)
{
    for (int axis = 0; axis < 3; ++axis)
        if (box[axis * 2 + 1] - box[axis * 2] <= 2 * w)
            return FALSE;
    return TRUE;
}

BOOL BuildRoom(Map* pMap, Brush* pSource, int thickness, BOOL bInward)
{
    Entity* world = pMap ? pMap->GetWorldEntity() : nullptr;
    if (!world || !pSource)
        return FALSE;
    short walls[6][6];
    if (!ComputeRoomWalls(pSource->GetBounds(), thickness, bInward, walls))
        return FALSE;
    Texture* texture = pSource->GetFaceCount() > 0 ? pSource->GetFace(0).texture : nullptr;
    // The source goes through the normal deletion path first (it is the only selected object),
    // so that an emptied brush entity and the current entity are cleared as for any deletion.
    if (pMap->GetSelectionCount() != 1 || pMap->GetSelection().GetHead() != pSource) {
        if (!pMap->DeselectAll())
            return FALSE;
        pMap->SelectObject(pSource, FALSE);
    }
    if (!pMap->DeleteSelection(TRUE))
        return FALSE;
    for (auto& wall : walls) {
        Brush* b = new Brush(world, wall);
        if (texture)
            b->SetTexture(texture);
        world->AddBrush(b);
        pMap->SelectObject(b, FALSE);
    }
    pMap->SetModifiedFlag(TRUE);
    pMap->RebuildVisibleList();
    return TRUE;
}

int ArrayRound(double v)
{
    double f = v + 0.5;
    int i = static_cast<int>(f);
    if (i > f)
        --i; // floor for negative values
    return i;
}
