// The entity classes of the open project: read from the "/*QUAKED " comments of the game's .qc
// files, kept in a map by lower-cased class name.
#pragma once
#include "Services.h"
#include "afxcoll.h"
#include <functional>
#include <string>
#include <unordered_map>

// Messages of the class reader (the "Messages" pane).
enum
{
    IDS_ENTITY_NO_NAME = 1730,
    IDS_ENTITY_BAD_COLOR = 1731,
    IDS_ENTITY_BAD_SIZE = 1732,
    IDS_ENTITY_BAD_MIN_SIZE = 1733,
    IDS_ENTITY_BAD_MAX_SIZE = 1734,
    IDS_QC_CANT_OPEN = 1735,
    IDS_NO_ENTITY_PATHS = 1736,
};

// Owns its records; the first record of a name wins.
class CEntityClassMap
{
public:
    CEntityClassMap() = default;
    ~CEntityClassMap();
    CEntityClassMap(const CEntityClassMap&) = delete;
    CEntityClassMap& operator=(const CEntityClassMap&) = delete;

    EntityClass* Lookup(LPCSTR name) const;
    // Takes the record; FALSE (the record not taken) when its name is already there.
    BOOL Add(EntityClass* pClass);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_map.GetCount()); }
    POSITION GetStartPosition() const { return m_map.GetStartPosition(); }
    EntityClass* GetNext(POSITION& pos) const;

private:
    CMapStringToPtr m_map;
};

// Grows a string map's hash table once it holds twice as many entries as buckets (the contents
// stay), so that filling it with many names takes time in proportion to their number.
void GrowHashTable(CMapStringToPtr& map);

class CEntityClassReader
{
public:
    explicit CEntityClassReader(CEntityClassMap& classes) : m_classes(classes) {}

    // Whether the line starts a definition: "/*QUAKED" and a blank or a tab, blanks before it
    // allowed.
    static BOOL IsDefinitionLine(LPCSTR line);
    // One line of a .qc file (its number in the file counts from 1). A definition line of a new
    // class gives its record, already in the map, whose help text the following lines fill;
    // anything else gives null (a faulty definition, or a class defined again, is reported to
    // "Messages" first, naming the file and the line).
    EntityClass* ReadDefinition(LPCSTR line, LPCSTR path, int lineNumber);
    // The lines of one file, line ends removed.
    void ReadLines(const CStringArray& lines, LPCSTR path);
    // FALSE when the path is empty or the file cannot be opened (reported).
    BOOL ReadQcFile(LPCSTR path);
    // Every .qc file of the project's "Entities" directories, each directory's files in name
    // order ignoring case. FALSE, with the classes kept, when the project names no directory.
    BOOL ScanEntityDirectories();

private:
    CEntityClassMap& m_classes;
    std::unordered_map<std::string, CString> m_defined; // class name -> where this reader read it
};

// The load of a project's classes: the status lines around the scan; afterScan (the Entity
// Editor's pens and tree) runs before the count is shown. Returns the number of classes loaded.
int LoadEntityClasses(CEntityClassMap& classes, const std::function<void()>& afterScan = nullptr);
