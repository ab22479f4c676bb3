// What the map model and the texture loader need of the application shell. The shell
// implements this interface; the default works without any window, and tests install
// a recording one so that nothing they run shows a box.
#pragma once
#include "afx.h"

struct Texture;
struct Face;
class Entity;
class Map;
class CIniFile;
class CDocTemplate;

// A class of entities from the project's .qc files. The model reads only its size box.
struct EntityClass
{
    CString name;                                // lower case; the key of the class map
    short size[6] = {-16, 16, -16, 16, -16, 16}; // min x, max x, min y, max y, min z, max z
    CString color;                               // "%d %d %d", each 0..255
    CString help;                                // the comment's further lines, each ending CR LF
    char flagNames[8][32] = {};                  // spawn flags in bit order; "" for no name
    int hasSize = 1;                             // 0: a class built from brushes
    void* treeItem = nullptr;                    // the class tree's item, once the tree is filled
};

class CEditorServices
{
public:
    virtual ~CEditorServices() = default;

    // The application's 16-bit object counter: returns the next serial and advances.
    virtual WORD NextObjectSerial() = 0;
    // The built-in "DEFAULT" texture record.
    virtual Texture* GetDefaultTexture() = 0;

    // Output window, status bar and message boxes.
    virtual BOOL HasMainFrame() = 0;
    virtual void PrintMessage(LPCSTR text) = 0;        // one line of "Messages"
    virtual void SetStatusAndMessage(LPCSTR text) = 0; // status bar, then PrintMessage
    virtual int MessageBox(LPCSTR text, UINT type) = 0;
    virtual void Quit(int exitCode) = 0;              // ends the message loop

    // The Entity Editor.
    virtual BOOL HasUnappliedEntityChanges() = 0;
    virtual void ApplyEntityChanges() = 0;
    virtual void UpdateEntityOrigin(LPCSTR origin) = 0;

    // The Entity Editor shows the entity (none clears it).
    virtual void SetCurrentEntity(Entity* pEntity) = 0;
    // The status-bar light of the selected brush's validity.
    virtual void UpdateSelectionIndicator() = 0;
    // The Texture Adjustment window shows the face, or is cleared by null.
    virtual void UpdateTextureAdjustment(Face* pFace) = 0;
    // The texture browser shows the texture as current (null clears it); it never
    // applies it to a selection.
    virtual void ShowTexture(Texture* pTexture) = 0;
    // The pens of the texture browser's frames, from the "Colors" settings.
    enum TexturePen { PEN_SELECTED_TEXTURE, PEN_SELECTED_TEXTURE_DOTTED, PEN_TEXTURE_BACKGROUND };
    virtual HPEN GetTexturePen(TexturePen which) = 0;

    // Map windows. The main frame's Link Clipping Planes flag.
    virtual BOOL IsLinkClipping() = 0;
    // The object list of the active 2D map window when it shows this map, else null.
    virtual CPtrList* GetActiveObjectOrder(Map* pMap) = 0;
    // Every 2D map window of the map rebuilds its object list (objects were deleted
    // or rebuilt).
    virtual void RebuildObjectOrders(Map* pMap) = 0;

    virtual Map* GetActiveMap() = 0;
    virtual void GetAxisRestrictions(int& x, int& y, int& z) = 0;
    // The project's WAD paths in order.
    virtual CStringList& GetWadList() = 0;

    // Entity classes: FALSE when the class is unknown; a known class may have no record.
    virtual BOOL LookupEntityClass(LPCSTR name, const EntityClass*& pClass) = 0;
    // 1 shown, 0 hidden, -1 no class found for the name.
    virtual int IsEntityVisible(LPCSTR className) = 0;

    // The open project, or null.
    virtual CIniFile* GetProject() = 0;

    // The user's settings ("Project Settings"/"Root Path", "Brush"/"Shear Warning", ...).
    virtual CString GetProfileString(LPCSTR section, LPCSTR key, LPCSTR def) = 0;
    virtual int GetProfileInt(LPCSTR section, LPCSTR key, int def) = 0;
    virtual void WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value) = 0;
    virtual void WriteProfileInt(LPCSTR section, LPCSTR key, int value) = 0;
    // A stored integer brought into [lo, hi]: the settings may have been written by anyone.
    int GetProfileIntInRange(LPCSTR section, LPCSTR key, int def, int lo, int hi)
    {
        int value = GetProfileInt(section, key, def);
        return value < lo ? lo : value > hi ? hi : value;
    }

    // The folders where the map and the object file dialogs open (empty at start: the project's
    // first directory is used then).
    enum { DIR_MAPS, DIR_OBJECTS };
    virtual CString GetRememberedDirectory(int which) { return m_remembered[which == DIR_MAPS ? 0 : 1]; }
    virtual void SetRememberedDirectory(int which, LPCSTR dir) { m_remembered[which == DIR_MAPS ? 0 : 1] = dir; }
    // A map was saved under a new name (the project's lists may show it).
    virtual void MapSavedAs(LPCSTR /*path*/) {}
    // The template of the camera windows, null when there is none.
    virtual CDocTemplate* GetCameraTemplate() { return nullptr; }
    // The plane view code of the active 2D map window (255 without one).
    virtual int GetActivePlaneType() { return 255; }
    // The number of sides of a cylinder (or a cone): FALSE when the user cancelled.
    virtual BOOL AskPrimitiveSides(BOOL /*bCone*/, int& sides)
    {
        sides = 8;
        return TRUE;
    }

private:
    CString m_remembered[2];
};

// Works without a main window: lines go to the debugger output, boxes are the
// system's own, settings and entity classes are kept in memory.
class CDefaultEditorServices : public CEditorServices
{
public:
    CDefaultEditorServices();
    ~CDefaultEditorServices() override;

    WORD NextObjectSerial() override { return m_nextSerial++; }
    Texture* GetDefaultTexture() override { return m_pDefault; }
    BOOL HasMainFrame() override { return FALSE; }
    void PrintMessage(LPCSTR text) override;
    void SetStatusAndMessage(LPCSTR text) override;
    int MessageBox(LPCSTR text, UINT type) override;
    void Quit(int exitCode) override;
    BOOL HasUnappliedEntityChanges() override { return FALSE; }
    void ApplyEntityChanges() override {}
    void UpdateEntityOrigin(LPCSTR) override {}
    void SetCurrentEntity(Entity*) override {}
    void UpdateSelectionIndicator() override {}
    void UpdateTextureAdjustment(Face*) override {}
    void ShowTexture(Texture*) override {}
    HPEN GetTexturePen(TexturePen which) override;
    BOOL IsLinkClipping() override { return m_linkClipping; }
    CPtrList* GetActiveObjectOrder(Map*) override { return nullptr; }
    void RebuildObjectOrders(Map*) override {}
    Map* GetActiveMap() override { return m_pActiveMap; }
    void GetAxisRestrictions(int& x, int& y, int& z) override { x = y = z = 0; }
    CStringList& GetWadList() override { return m_wads; }
    BOOL LookupEntityClass(LPCSTR name, const EntityClass*& pClass) override;
    int IsEntityVisible(LPCSTR className) override;
    CIniFile* GetProject() override { return m_pProject; }
    CString GetProfileString(LPCSTR section, LPCSTR key, LPCSTR def) override;
    int GetProfileInt(LPCSTR section, LPCSTR key, int def) override;
    void WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value) override;
    void WriteProfileInt(LPCSTR section, LPCSTR key, int value) override;

    // Setting up the state the shell would hold.
    void SetActiveMap(Map* pMap) { m_pActiveMap = pMap; }
    void SetLinkClipping(BOOL link) { m_linkClipping = link; }
    void SetProject(CIniFile* pProject) { m_pProject = pProject; }
    // Adds a class; a null size makes a class without a record.
    void AddEntityClass(LPCSTR name, const short* size);
    void RemoveAllEntityClasses();
    void SetSerialCounter(WORD next) { m_nextSerial = next; }

protected:
    WORD m_nextSerial = 0;
    Texture* m_pDefault;
    Map* m_pActiveMap = nullptr;
    BOOL m_linkClipping = FALSE;
    CIniFile* m_pProject = nullptr;
    CStringList m_wads;
    CMapStringToPtr m_classes;          // name -> EntityClass*, or null for no record
    CMapStringToString m_profile;       // "section\nkey" -> value
    HPEN m_texturePens[3] = {nullptr, nullptr, nullptr}; // made on first use
};

// A "Colors" value (red in bits 16 to 23, blue in bits 0 to 7) as a display colour.
COLORREF ColorFromSetting(DWORD value);

CEditorServices* GetEditorServices();
// Installs the shell's services; null restores the built-in default.
void SetEditorServices(CEditorServices* pServices);
