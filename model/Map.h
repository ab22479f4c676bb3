// The entities of one map: reading and writing its text. The document, its views,
// selection and commands build on this.
#pragma once
#include "afx.h"

class Entity;
class SThing;

class Map
{
public:
    Map();
    virtual ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // Reads a whole map text from a writable buffer that ends in two NUL bytes.
    // False when the text cannot be read; what was read is freed and the map is empty.
    BOOL ParseMapText(char* buffer);
    // Reads a map text into a fresh map, copying the text first.
    BOOL ParseMapText(LPCSTR text, int length);

    // The whole map as map text.
    void WriteMap(CString& out) const;
    // The selected objects as a partial map; false (nothing written) when nothing is
    // selected or the user cancelled.
    BOOL WritePartialMap(CString& out);

    // Deletes every entity, the world entity last.
    void DeleteContents();
    // An empty world entity ("classname" "worldspawn") for a map that has none.
    Entity* CreateWorldEntity();

    CPtrList& GetEntities() { return m_entities; }
    Entity* GetWorldEntity() const { return m_pWorld; }
    void AddEntity(Entity* pEntity);
    void RemoveEntity(Entity* pEntity);
    CPtrList& GetVisibleList() { return m_visible; }
    void RemoveFromVisible(SThing* pThing);

private:
    CPtrList m_entities; // Entity*, owned; the world entity first
    Entity* m_pWorld = nullptr;
    CPtrList m_visible;  // SThing*, not owned
    bool m_clearing = false;
};
