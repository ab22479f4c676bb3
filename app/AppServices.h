// The editor's services to the map model and the map views: settings from the registry, the
// active map from the main window's active 2D window, and the rest of what the views read of the
// main frame (the view services hold its switches until the shell's toolbars hold them).
#pragma once
#include "ViewServices.h"

class CEntityClassMap;

class CAppServices : public CViewServices
{
public:
    BOOL HasMainFrame() override;
    // The map of the active MDI child, cached as the active map; none when no child is active.
    Map* GetActiveMap() override;
    // A line of the Output window's "Messages" pane; the status bar's text. Neither dispatches
    // waiting messages: only the status bar repaints, so nothing else runs inside a load or save.
    void PrintMessage(LPCSTR text) override;
    void SetStatusAndMessage(LPCSTR text) override;
    // The lines waiting in a held "Messages" pane, and the newest status line, are shown before
    // the box.
    int MessageBox(LPCSTR text, UINT type) override;
    // The status bar's selection pane follows the active map's selection.
    void UpdateSelectionIndicator() override;

    CString GetProfileString(LPCSTR section, LPCSTR key, LPCSTR def) override;
    int GetProfileInt(LPCSTR section, LPCSTR key, int def) override;
    void WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value) override;
    void WriteProfileInt(LPCSTR section, LPCSTR key, int value) override;

    // The application's remembered map and object folders, and its camera template.
    CString GetRememberedDirectory(int which) override;
    void SetRememberedDirectory(int which, LPCSTR dir) override;
    CDocTemplate* GetCameraTemplate() override;

    // Entity classes come from the project's class map once one is attached.
    void SetEntityClasses(CEntityClassMap* pClasses) { m_pEntityClasses = pClasses; }
    BOOL LookupEntityClass(LPCSTR name, const EntityClass*& pClass) override;
    int IsEntityVisible(LPCSTR className) override;
    // The Entity Editor's pens, switches and editing, once the main frame holds one.
    CPen* GetEntityPen(LPCSTR className) override;
    // The class's pen colour, else the "Brush" or "Entity" colour as the display pens were last
    // made (read once per change of the colours, not per entity drawn).
    COLORREF GetEntityColor(LPCSTR className) override;
    BOOL HasUnappliedEntityChanges() override;
    void ApplyEntityChanges() override;
    void UpdateEntityOrigin(LPCSTR origin) override;
    void SetCurrentEntity(Entity* pEntity) override;
    // The picked face into the frame's Texture Adjustment window.
    void UpdateTextureAdjustment(Face* pFace) override;
    // A map saved into one of the project's map folders joins the Resource window's map list.
    void MapSavedAs(LPCSTR path) override;

private:
    CEntityClassMap* m_pEntityClasses = nullptr;
};
