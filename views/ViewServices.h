// What the map views read of the application shell: the display pens and brushes made from the
// "Colors" settings, the entity classes' pens, the main frame's Link Clipping Planes and Clip to
// Object flags, its mouse mode and axis restrictions, the active map, the toolbar combo boxes and
// the 2D map windows' object lists. One object serves both the model and the views: the shell
// installs a derived one at start-up; tests install their own (SetViewServices).
#pragma once
#include "Services.h"
#include "afxwin.h"
#include <vector>

class CMapFrame;

class CViewServices : public CDefaultEditorServices
{
public:
    // The display pens, in the order the shell creates them.
    enum
    {
        PEN_GRID,                       // "Grid"
        PEN_TILE,                       // "Tile"
        PEN_BRUSH,                      // "Brush"
        PEN_ENTITY,                     // "Entity"
        PEN_SELECTED,                   // "Selected Object"
        PEN_ROTATE,                     // "Rotate"
        PEN_CAMERA_EYE,                 // "Camera Eye"
        PEN_TEX_BACKGROUND,             // "Texture Background"
        PEN_TEX_SELECTED,               // "Selected Texture", solid
        PEN_TEX_SELECTED_DOTTED,        // "Selected Texture", dotted
        PEN_TEX_RECENT,                 // unselected recent-texture items
        PEN_COUNT
    };
    enum
    {
        BRUSH_SELECTED,                 // "Selected Object"
        BRUSH_SCALE,                    // "Brush Scale"
        BRUSH_COUNT
    };
    // The main frame's mouse modes.
    enum
    {
        MOUSE_PAN,
        MOUSE_SELECT,
        MOUSE_MOVE,
        MOUSE_ZOOM,
        MOUSE_ZOOM_SELECTION,
        MOUSE_ZOOM_ITEMS,
    };

    CViewServices();
    ~CViewServices() override;
    CViewServices(const CViewServices&) = delete;
    CViewServices& operator=(const CViewServices&) = delete;

    // A "Colors" setting (red in bits 16 to 23) in the platform's colour order.
    COLORREF GetSettingColor(LPCSTR key, DWORD def);
    // (Re)makes every display pen and brush from the "Colors" settings. Called at start-up and
    // whenever the user changes the colours; the views ask for the pens when they paint.
    virtual void CreateColors();
    CPen* GetPen(int which);
    // The texture browser's pens are the same objects.
    HPEN GetTexturePen(TexturePen which) override;
    CBrush* GetBrush(int which);
    // The colour a pen or brush was made with.
    COLORREF GetPenColor(int which);
    COLORREF GetBrushColor(int which);

    // The pen of an entity class, trying the name cut before its last "_" until a class is
    // found; null when none is (the views then use the "Entity" pen). No classes have pens until
    // the Entity Editor holds them.
    virtual CPen* GetEntityPen(LPCSTR className);
    // The colour of the class's pen (red in the low byte), else "Colors"/"Brush" for
    // "worldspawn" and "Colors"/"Entity" for every other class.
    virtual COLORREF GetEntityColor(LPCSTR className);

    // ---- The main frame's switches (Link Clipping Planes starts on)
    BOOL IsLinkClipping() override { return m_bLinkClipping; }
    virtual void SetLinkClipping(BOOL bLink) { m_bLinkClipping = bLink; }
    virtual BOOL IsClipToObject() { return m_bClipToObject; }
    virtual void SetClipToObject(BOOL bClip) { m_bClipToObject = bClip; }
    virtual int GetMouseMode() { return m_nMouseMode; }
    virtual void SetMouseMode(int nMode) { m_nMouseMode = nMode; }
    void GetAxisRestrictions(int& x, int& y, int& z) override;
    virtual void SetAxisRestrictions(int x, int y, int z);

    // ---- The active map: the one the main frame remembers as active.
    Map* GetActiveMap() override;
    virtual void SetActiveMap(Map* pMap) { m_pViewActiveMap = pMap; }
    // The map last stored as active, without asking the main window again.
    Map* GetCachedActiveMap() const { return m_pViewActiveMap; }

    // ---- The 2D map windows
    // The object list of the active 2D map window when it shows this map, else null.
    CPtrList* GetActiveObjectOrder(Map* pMap) override;
    // Every 2D map window of the map rebuilds its object list at once.
    void RebuildObjectOrders(Map* pMap) override;
    // The active MDI child of the main window when it is a 2D map window, else null.
    virtual CMapFrame* GetActiveMapFrame();
    // The plane view code of the active 2D map window (255 without one).
    int GetActivePlaneType() override;
    // The Create Cylinder or Create Cone dialog.
    BOOL AskPrimitiveSides(BOOL bCone, int& sides) override;

    // ---- The toolbar combo boxes (plane scale 1075, depth scale 1076, grid 1058, snap 1060)
    // Every combo box with the id in the main frame's bars, docked or floating. Empty when the
    // main frame or the bar holding them does not exist.
    virtual void FindCombos(UINT nID, std::vector<HWND>& combos);
    // The same for several ids in one walk through the bars' windows (there are many): combos[i]
    // gets the boxes of ids[i].
    void FindCombos(const UINT* ids, int count, std::vector<HWND>* combos);
    HWND FindCombo(UINT nID);
    // Enables or disables every combo box with the id, docked or floating.
    void EnableCombos(UINT nID, BOOL bEnable);

protected:
    void DeleteColors();

    CPen* m_pens[PEN_COUNT];
    CBrush* m_brushes[BRUSH_COUNT];
    COLORREF m_penColors[PEN_COUNT];
    COLORREF m_brushColors[BRUSH_COUNT];
    BOOL m_bColors;
    BOOL m_bLinkClipping;
    BOOL m_bClipToObject;
    int m_nMouseMode;
    int m_axis[3];
    Map* m_pViewActiveMap;
};

// The installed view services: the editor services when they are view services, else a
// built-in default that works without any window.
CViewServices* GetViewServices();
// Installs the services for both the model and the views; null restores the defaults.
void SetViewServices(CViewServices* pServices);
