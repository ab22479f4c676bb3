// LibreQuake's classes and one of its maps from the shared data, for the Entity Editor's tests.
#pragma once
#include "EntityClasses.h"
#include "EntityEditorDlg.h"
#include "IniFile.h"
#include "Map.h"
#include "RecordingServices.h"
#include "shareddata.h"

const CString kLibreQuakeMap = shareddata::Path("maps\\librequake_e2m2.map").c_str();

// The project names LibreQuake's three class folders; the editor reads them and the map model
// sizes entities from the same classes. Returns the number of classes read.
inline int LoadLibreQuakeClasses(CEntityEditorDlg& editor, CEntityClassMap& classes, CRecordingServices& services,
                                 CIniFile& project)
{
    services.WriteProfileString("Project Settings", "Root Path", shareddata::Path("qc").c_str());
    project.RemoveKey("Paths", "Entities");
    project.AddString("Paths", "Entities", "librequake;librequake\\monsters;librequake\\lq1");
    int count = editor.LoadEntityClasses();
    services.RemoveAllEntityClasses();
    for (POSITION pos = classes.GetStartPosition(); pos;) {
        EntityClass* pClass = classes.GetNext(pos);
        services.AddEntityClass(pClass->name, pClass->size);
    }
    return count;
}

// The map's first entity of the class, or null.
inline Entity* FindEntityOfClass(Map& map, LPCSTR name)
{
    for (POSITION pos = map.GetEntities().GetHeadPosition(); pos;) {
        auto* e = static_cast<Entity*>(map.GetEntities().GetNext(pos));
        if (CString(e->ValueForKey("classname")) == name)
            return e;
    }
    return nullptr;
}
