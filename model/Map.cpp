#include "Map.h"
#include "Brush.h"
#include "Entity.h"
#include "Reporter.h"
#include "Services.h"
#include "Tokenizer.h"
#include <vector>

Map::Map() = default;

Map::~Map()
{
    DeleteContents();
}

void Map::DeleteContents()
{
    m_clearing = true;
    m_visible.RemoveAll();
    // Entities are detached before deletion so that none searches the list for itself.
    while (!m_entities.IsEmpty()) {
        Entity* e = static_cast<Entity*>(m_entities.RemoveTail());
        e->SetMap(nullptr);
        delete e;
    }
    m_pWorld = nullptr;
    m_clearing = false;
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

BOOL Map::ParseMapText(char* buffer)
{
    DeleteContents();
    CTokenizer tok;
    tok.Init(buffer);
    while (tok.PeekToken()) {
        Entity* e = nullptr;
        try {
            e = new Entity(this, tok);
        } catch (CEntityReadError& err) {
            if (err.stopReading) {
                DeleteContents();
                return FALSE;
            }
            continue;
        }
        m_entities.AddTail(e);
        if (!m_pWorld)
            m_pWorld = e;
    }
    if (!m_pWorld) {
        // An empty or brushless text opens as an empty map.
        CreateWorldEntity();
        return TRUE;
    }
    if (m_pWorld->ValueForKey("classname") != CString("worldspawn"))
        Report().Box(MB_OK, "The first entity of the map is not the world entity (\"classname\" \"worldspawn\").");
    if (!m_pWorld->FindValue("wad"))
        Report().Box(MB_OK, "The map file doesn't have a wad key in it.\nThe default wad for this project will be assumed.");
    return TRUE;
}

BOOL Map::ParseMapText(LPCSTR text, int length)
{
    std::vector<char> buffer(text, text + length);
    buffer.push_back(0);
    buffer.push_back(0);
    return ParseMapText(buffer.data());
}

void Map::WriteMap(CString& out) const
{
    for (POSITION pos = m_entities.GetHeadPosition(); pos;)
        static_cast<const Entity*>(m_entities.GetNext(pos))->Write(out);
}

BOOL Map::WritePartialMap(CString& out)
{
    CEditorServices* services = GetEditorServices();
    if (services->HasUnappliedEntityChanges()) {
        int answer = Report().Box(MB_OKCANCEL,
                                  "The current entity had been changed, without being applied.\n\n"
                                  "Press OK to apply the changes and continue.\n"
                                  "Press Cancel to cancel the operation.");
        if (answer == IDCANCEL)
            return FALSE;
        services->ApplyEntityChanges();
    }
    bool any = false;
    for (POSITION pos = m_entities.GetHeadPosition(); pos && !any;)
        any = static_cast<Entity*>(m_entities.GetNext(pos))->IsSelected() != FALSE;
    if (!any)
        return FALSE;

    // Temporary entities borrow the selected brushes and give them back.
    auto writeBorrowing = [&out](Entity& temp, Entity& source) {
        for (POSITION pos = source.GetBrushes().GetHeadPosition(); pos;) {
            Brush* b = static_cast<Brush*>(source.GetBrushes().GetNext(pos));
            if (b->IsSelected())
                temp.GetBrushes().AddTail(b);
        }
        temp.Write(out);
        temp.RemoveAllBrushes();
    };

    Entity world;
    world.AddKeyValue("classname", "worldspawn");
    world.AddKeyValue("message", "Morvane Partial Map");
    const CString* wad = m_pWorld ? m_pWorld->FindValue("wad") : nullptr;
    world.AddKeyValue("wad", wad ? static_cast<LPCSTR>(*wad) : "unknown");
    if (m_pWorld)
        writeBorrowing(world, *m_pWorld);
    else
        world.Write(out);

    for (POSITION pos = m_entities.GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(m_entities.GetNext(pos));
        if (e == m_pWorld || !e->IsSelected())
            continue;
        if (e->GetBrushCount() == 0) {
            e->Write(out);
            continue;
        }
        Entity temp(*e);
        temp.SetMap(nullptr);
        writeBorrowing(temp, *e);
    }
    return TRUE;
}
