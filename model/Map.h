// The document of one map: its entities (the world first), the selection and the
// visible-object list that the views draw and the build writes, the depth clip, the
// camera records, the handle points of the selected brush, and the file operations.
#pragma once
#include "afxwin.h"
#include <vector>

class Entity;
class SThing;
class Brush;
struct Face;
struct Texture;

// View update hints: the number passed with UpdateAllViews.
enum
{
    HINT_REDRAW = 0,           // redraw everything
    HINT_VIEW_TYPE = 1,        // take the document's pending view type
    HINT_CHANGED = 3,          // objects changed within the box
    HINT_DELETED = 4,          // objects deleted within the box
    HINT_MOVED = 5,            // objects moved within the box (drag, align)
    HINT_DRAGGED = 6,          // objects moved within the box during a drag
    HINT_OPENED = 7,           // a map was opened or created
    HINT_SELECTION = 8,        // the selection changed
    HINT_DEPTH_CLIP = 9,       // a depth view's clipping changed
    HINT_LINKED_SELECTION = 10, // the selection changed and the linked depth clip was reset
    HINT_CLIP_TO_OBJECT = 11,
    HINT_UNCLIP_TO_OBJECT = 12,
    HINT_DEFAULT_TEXTURE = 13,
    HINT_CAMERA = 14,          // the camera moved (box of the old and new eye)
    HINT_DOCUMENTS = 16,
    HINT_TEXTURE_BROWSER = 17,
    HINT_TEXTURE_ADJUST = 18,
    HINT_TARGET_PATHS = 19,
    HINT_VIEW_CLICKED = 20,
};

// The box that goes with an update hint: min x, max x, min y, max y, min z, max z.
class CUpdateHint : public CObject
{
    DECLARE_DYNAMIC(CUpdateHint)
public:
    CUpdateHint();
    explicit CUpdateHint(const short* box);
    short box[6];
    Texture* texture = nullptr; // hint 17: the texture the browser made current
};

// The camera of one camera view. The eye is at map position (tx, -tz, -ty).
struct CameraRecord
{
    short tx = 0, ty = 0, tz = 0;
    short mx = 0, my = 0, mz = 0;
    int roll = 0, pitch = 0, yaw = 0;
};

// Face mode: camera clicks pick single faces (textured camera views only). One flag for
// the whole program, switched by the camera views and read by the map, the plane views
// and the Texture Adjustment window.
extern BYTE g_faceMode;

// One object under the mouse, for selection cycling.
struct CycleCandidate
{
    SThing* thing = nullptr;
    int key = 0; // the depth of the object towards the viewer of the view that picked it
};

class Map : public CDocument
{
    DECLARE_DYNCREATE(Map)
    DECLARE_MESSAGE_MAP()
public:
    Map();
    ~Map() override;
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;
    // How many map documents exist: their faces point at the loaded textures.
    static int GetOpenCount();

    // ---- Entities
    CPtrList& GetEntities() { return m_entities; }
    Entity* GetWorldEntity() const { return m_pWorld; }
    void AddEntity(Entity* pEntity);
    // Takes the entity out of the list (it is not deleted).
    void RemoveEntity(Entity* pEntity);
    // An empty world entity ("classname" "worldspawn") at the head of the list.
    Entity* CreateWorldEntity();
    Entity* FirstEntity();
    Entity* NextEntity();
    // The brushes of the entity last returned by the entity walk.
    Brush* FirstBrush();
    Brush* NextBrush();
    // Every brush of each entity that has brushes and every entity without brushes.
    void CollectObjects(CPtrList& list);
    // Name and record of every face texture of every brush that the map lacks.
    void CollectUsedTextures(CMapStringToPtr& names);
    // Each entity's "targetname" value that the list does not hold yet.
    void CollectTargetNames(CStringList& names);

    // ---- Selection
    CPtrList& GetSelection() { return m_selection; }
    int GetSelectionCount() const { return m_selection.GetCount(); }
    BOOL SelectionHasBrush() const;
    BOOL SelectionHasEntity() const;
    // Union of the selected objects' boxes; min 32767 and max -32768 when empty.
    void GetSelectionBounds(short* box) const;
    // The box around the objects of the list (SThing*), as the selection's bounds are taken.
    static void GetBounds(const CPtrList& objects, short* box);
    static void UnionBounds(short* out, const short* a, const short* b);
    Entity* GetCurrentEntity() const { return m_pCurrentEntity; }
    void SetCurrentEntity(Entity* pEntity) { m_pCurrentEntity = pEntity; }
    // The one entity to which the whole selection belongs, or none; the Entity
    // Editor shows it.
    void UpdateCurrentEntity();
    // Hint 8, or with linked clipping planes: reset the depth clip, hint 10 and a new
    // visible list.
    void SelectionChanged();
    void SelectionChangedRedraw(BOOL full);
    // FALSE when the user kept unapplied Entity Editor changes (nothing deselected).
    BOOL DeselectAll();
    void OnCancelOperation();
    // TRUE when the Entity Editor holds no unapplied changes or the user applied them.
    BOOL ApplyPendingEntityEdits();
    // Deletes the selected objects; with ask, after the unapplied-changes question and
    // with the views told. FALSE when the user cancelled.
    BOOL DeleteSelection(BOOL ask);
    void OnDeleteSelection();
    // Selects the visible brushes with a face of the texture.
    void SelectBrushesByTexture(Texture* pTexture);
    // Turns the selection into an entity of the template's class (the Entity Editor's Apply).
    BOOL MakeEntityFromSelection(Entity* pTemplate);
    // Adds the object to the selection (nothing when it is there already), reports the
    // count and, with redraw, updates the views with hint 3 and its box (with two
    // selected, the union of both boxes).
    void SelectObject(SThing* pThing, BOOL redraw);
    // Takes an object out of the selection (its flag is left alone); FALSE when missing.
    BOOL RemoveFromSelection(SThing* pThing);
    // "%d object selected" / "%d objects selected" and the selection indicator.
    void ReportSelectionCount();

    // ---- Visible list and depth clip
    CPtrList& GetVisibleList() { return m_visible; }
    void RebuildVisibleList();
    void ResetDepthClip();
    short* GetDepthClip() { return m_depthClip; }
    int GetClipFlag() const { return m_clipFlag; }
    void SetClipFlag(int flag) { m_clipFlag = flag; }
    // The objects that the build writes and Subtract cuts: with linked clipping planes
    // the visible list; otherwise the active 2D map window's list when it shows this
    // map, else the visible list (rebuilt first).
    CPtrList& GetObjectList();
    // A deleted object leaves the visible list and the selection.
    void ForgetObject(SThing* pThing);
    // A brush that leaves its entity leaves the visible list.
    void RemoveFromVisible(SThing* pThing);
    // After objects were deleted or rebuilt: the picked face, the cycle candidates and
    // the handle points are dropped, and every map window rebuilds its object list.
    void ObjectsRebuilt();

    // ---- Views
    void SetViewType(int viewType);
    int GetViewType() const { return m_pendingViewType; }
    void RefreshAllViews();
    // UpdateAllViews from no sender, with the box when one is given.
    void UpdateViews(LPARAM hint, const short* box = nullptr);
    short* GetLastSelectionBox() { return m_lastSelection; }
    short* GetSecondBox() { return m_secondBox; }
    int GetShowTargetPaths() const { return m_showTargetPaths; }
    void SetShowTargetPaths(int show) { m_showTargetPaths = show; }

    // ---- Cameras
    CPtrList& GetCameras() { return m_cameras; }
    CameraRecord* GetCurrentCamera() const { return m_pCurrentCamera; }
    void AddCamera(CameraRecord* pCamera);
    void SetCurrentCamera(CameraRecord* pCamera);
    void RemoveCamera(CameraRecord* pCamera);
    // Hint 14 with the box the current camera's eye swept since its previous position.
    void CameraChanged();
    // The camera a plane view drags by its glyph and its position before the last step (tx, ty,
    // tz); while one is dragged, CameraChanged tells the views about it instead of the current one.
    CameraRecord* m_pDraggedCamera = nullptr;
    short m_draggedCameraSaved[3] = {0, 0, 0};
    short* GetPreviousEye() { return m_prevEye; }

    // ---- Picking, cycling and handles
    Face* GetPickedFace() const { return m_pPickedFace; }
    void SetPickedFace(Face* pFace) { m_pPickedFace = pFace; }
    CPtrList& GetCycleList() { return m_cycle; }
    POSITION GetCyclePosition() const { return m_cyclePos; }
    void SetCyclePosition(POSITION pos) { m_cyclePos = pos; }
    // The next candidate a plane view's click takes (the current record stays where it was).
    POSITION GetCycleCursor() const { return m_cycleCursor; }
    void SetCycleCursor(POSITION pos) { m_cycleCursor = pos; }
    void ClearCycleList();
    // Selects the previous (up) or next (down) candidate of the last click, wrapping;
    // without keep the current one is deselected first.
    void CycleSelectionUp(BOOL bKeep);
    void CycleSelectionDown(BOOL bKeep);
    // Takes one object out of the selection with a redraw; an object not selected is left.
    void DeselectObject(SThing* pThing);
    BYTE m_showFacePoints = 1, m_showEdgePoints = 1, m_showVertexPoints = 1;
    CPtrList& GetFacePoints() { return m_facePoints; }
    CPtrList& GetEdgePoints() { return m_edgePoints; }
    CPtrList& GetVertexPoints() { return m_vertexPoints; }
    void RebuildHandlePoints(Brush* pBrush);
    void ClearHandlePoints();
    void ClearEdgePoints();
    Texture* GetCurrentTexture() const { return m_pCurrentTexture; }
    void SetCurrentTexture(Texture* pTexture) { m_pCurrentTexture = pTexture; }
    // The texture common to the picked face or the whole selection becomes current and
    // the texture browser shows it; no face changes.
    void UpdateCurrentTexture();
    // The project's default texture goes onto the selected brushes (the picked face
    // only while one is picked); the map is modified only when a face changed.
    void GetDefaultTexture();
    // The same with the project's marked texture (a box when none is marked).
    void GetMarkedTexture();

    // ---- Editing in the 2D views
    int m_bRubberBand = 0;                     // a box is being dragged in a 2D view
    short m_rubberBand[6] = {0, 0, 0, 0, 0, 0}; // its box
    short m_newBrushRange[6] = {0, 0, 0, 0, 0, 0}; // x, y, z ranges of new brushes
    int m_selectionMaxZ = -2147483647;         // z range of the selection at the last paint
    int m_selectionMinZ = 2147483647;

    // ---- Files
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCSTR lpszPathName) override;
    void DeleteContents() override;
    // Reads a whole map text, the length bytes of a writable buffer that ends in two NUL bytes
    // after them (a NUL byte inside the text is read as a separator, not as its end); the read
    // messages name the text by the name (the file's path). False when the text cannot be read;
    // what was read is freed and the map is empty.
    BOOL ParseMapText(char* buffer, size_t length, LPCSTR name = nullptr);
    // Reads a map text into a fresh map, copying the text first.
    BOOL ParseMapText(LPCSTR text, int length);
    // Every entity in list order, as the save and the auto save write them; the auto save
    // includes the brushes that are not valid.
    void WriteEntities(CString& out, bool includeInvalid = false) const;
    // The map text for a build: the world first, then the entities of the objects the
    // views show, each once. FALSE when the user cancelled or the map has no view. The path of
    // the file the text goes to places its "wad" value (null: the WADs' full paths).
    BOOL WriteMap(CString& out, LPCSTR lpszPathName = nullptr);
    // Writes the build's map file; FALSE (reported) when cancelled or not written. Its "wad"
    // value is placed from the map at lpszWadPlace (null: the file itself): a temporary file has
    // no game folder of its own, the map it stands for has.
    BOOL WriteMapFile(LPCSTR lpszPathName, LPCSTR lpszWadPlace = nullptr);
    // The "wad" value a save or a build writes into a map file at the path: the project's WADs,
    // else the value the map has.
    CString WadValueFor(LPCSTR lpszPathName) const;
    // The world's "wad" value is not what a save of the map would write now (the project's WAD
    // list changed since, or the map names none): the file on disk is out of date.
    BOOL HasStaleWadValue() const;
    // The selected objects as a partial map; false (nothing written) when nothing is
    // selected or the user cancelled.
    BOOL WritePartialMap(CString& out);
    // Writes the selected objects as a partial map to an object file, as a save writes a map: the
    // file is replaced only once the text is whole on disk. FALSE when nothing was written (a box
    // said why, or nothing is selected).
    BOOL WriteObjectFile(LPCSTR lpszPathName);
    // Writes a modified map to the auto-save directory, under the map's name unless that names a
    // file other than this map's own auto save of this run (then "name.autosave", "name.autosave2",
    // ... and a line in "Messages", once per map). The tick tells the timer's rounds apart: a
    // missing auto-save path is reported once per round; a failure to write in a box when the map's
    // auto save starts failing (one per round, never over another), else in a line.
    void AutoSave(DWORD tick = static_cast<DWORD>(::GetMessageTime()));
    // An auto-save extension: letters and digits only (no wildcard, dot or path character).
    static bool IsPlainExtension(LPCSTR extension);
    // The files this run's auto save made (full paths) that still hold what it wrote last and
    // that nothing else of the program has written since: the clean-up at exit takes these only.
    static void GetAutoSaveFiles(CStringArray& paths);
    static void ForgetAutoSaveFiles();

    // ---- The document's commands
    void OnCameraForward();
    void OnCameraBackward();
    void OnCameraTurnLeft();
    void OnCameraTurnRight();
    void OnCameraUp();
    void OnCameraDown();
    void OnCameraPitchUp();
    void OnCameraPitchDown();
    void OnSubtract();
    void OnIntersect();
    void OnToggleFacePoints();
    void OnToggleEdgePoints();
    void OnToggleVertexPoints();
    void OnApplyMarked();
    void OnCycleSelectionUp() { CycleSelectionUp(FALSE); }
    void OnCycleSelectionDown() { CycleSelectionDown(FALSE); }
    void OnKeepCycleSelectionUp() { CycleSelectionUp(TRUE); }
    void OnKeepCycleSelectionDown() { CycleSelectionDown(TRUE); }
    void OnUpdateSubtract(CCmdUI* pCmdUI);
    void OnUpdateIntersect(CCmdUI* pCmdUI);
    void OnUpdateTogglePoints(CCmdUI* pCmdUI);
    // File commands and new windows.
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileSaveAll();
    void OnUpdateFileSave(CCmdUI* pCmdUI);
    void OnUpdateFileSaveAll(CCmdUI* pCmdUI);
    // Saves under a new name: FALSE when cancelled, refused (another open map has the name)
    // or not written.
    BOOL SaveAs(LPCSTR lpszPathName);
    // Save As: asks for the name, then SaveAs.
    BOOL SaveAsFromDialog();
    // Without a name (the framework's save of an untitled or read-only map), the name is asked
    // for as Save As asks it.
    BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE) override;
    // Another open map of the same template has this path.
    BOOL IsOpenElsewhere(LPCSTR lpszPathName);
    void OnNewXYWindow() { OpenNewWindow(VIEW_XY_CODE); }
    void OnNewXZWindow() { OpenNewWindow(VIEW_XY_CODE + 1); }
    void OnNewYZWindow() { OpenNewWindow(VIEW_XY_CODE + 2); }
    void OnNewCameraWindow() { OpenNewWindow(VIEW_XY_CODE + 3); }
    // A new 2D (255-257) or camera (258) window on this map; FALSE when none was made.
    BOOL OpenNewWindow(int viewType);
    // The primitives: the selected box brush becomes the shape (a failure changes nothing).
    void OnCylinder();
    void OnPyramid();
    void OnWedge();
    void OnCone();
    void OnSphere();
    BOOL MakePrimitive(UINT nID, int sides);
    void OnUpdatePrimitive(CCmdUI* pCmdUI);
    void OnUpdateSphere(CCmdUI* pCmdUI);
    enum { VIEW_XY_CODE = 255 };
    // Hint 8, or the linked clipping planes' reset, after a CSG edit; the map is modified.
    void AfterEditRedraw();

private:
    void MoveCamera(int dx, int dy, int dz, int dPitch, int dYaw, BOOL bStep, int sign);
    void CycleSelection(BOOL bUp, BOOL bKeep);
    void DeleteEntities();
    void ReportKeptBrushes();
    void SelectObjects(CPtrList& things, BOOL redraw);
    // The project's WAD list as worldspawn's "wad" names it in a map file at the path (see
    // WadPair.h; null: the full paths); FALSE when the list is empty.
    static BOOL JoinedWadList(CString& wads, LPCSTR lpszPathName);
    static void SetWadPair(Entity& world, LPCSTR lpszPathName);
    BOOL CheckBeforeSave(LPCSTR lpszPathName);
    BOOL WriteFileReporting(LPCSTR lpszPathName, const CString& text);
    // What an auto-save file name is to this map.
    enum AutoSaveTarget
    {
        AUTOSAVE_FREE,      // missing, or this map's own auto save of this run, unchanged since
        AUTOSAVE_OWN_FILE,  // the map's own file
        AUTOSAVE_OPEN_MAP,  // another open map's file
        AUTOSAVE_READ_ONLY, // marked read-only
        AUTOSAVE_TAKEN,     // any other file
    };
    AutoSaveTarget AutoSaveCandidate(const CString& candidate, const CString& ownFile);
    static UINT NextAutoSaveOwner();

    short m_lastSelection[6];
    int m_pendingViewType = -1;
    CPtrList m_entities;  // Entity*, owned; the world entity first
    CPtrList m_selection; // SThing*, not owned
    Entity* m_pWorld = nullptr;
    Entity* m_pCurrentEntity = nullptr;
    Face* m_pPickedFace = nullptr;
    short m_depthClip[6];
    CPtrList m_visible;   // SThing*, not owned
    CPtrList m_cycle;     // CycleCandidate*, owned
    POSITION m_cyclePos = nullptr;
    POSITION m_cycleCursor = nullptr;
    short m_secondBox[6];
    int m_clipFlag = 0;
    CPtrList m_cameras;   // CameraRecord*, each owned by its camera view
    CameraRecord* m_pCurrentCamera = nullptr;
    short m_prevEye[3] = {0, 0, 0};
    POSITION m_entityPos = nullptr;
    Entity* m_pWalkEntity = nullptr;
    POSITION m_brushPos = nullptr;
    CPtrList m_facePoints;   // short[3], owned
    CPtrList m_edgePoints;   // short[3], owned
    CPtrList m_vertexPoints; // short*, into the brush's windings
    int m_showTargetPaths = 0;
    Texture* m_pCurrentTexture = nullptr;
    bool m_clearing = false;
    // The auto save: the mark of this map on the files it writes, the reasons for another name
    // already told (bits of AutoSaveTarget), and whether its last round failed.
    UINT m_autoSaveOwner = NextAutoSaveOwner();
    unsigned m_autoSaveTold = 0;
    bool m_autoSaveFailing = false;
    // The last answer of HasStaleWadValue and what it was worked out from.
    struct WadCheck
    {
        bool known = false;
        CString path, quake, value; // quake: the Quake path and the root path
        bool hasValue = false;
        std::vector<CString> wads;
        BOOL stale = FALSE;
    };
    mutable WadCheck m_wadCheck;
};
