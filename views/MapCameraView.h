// The camera window's view: the map in 3D from a camera record that the map's camera commands
// move, in wireframe, flat shaded or textured mode, with picking of objects and, in textured
// face mode, of single faces.
#pragma once
#include "OpenGLView.h"
#include "Map.h"
#include "Vector.h"
#include <map>
#include <vector>

class Map;
class SThing;
class Brush;
struct Face;
struct Texture;

enum
{
    RENDER_WIREFRAME = 258,
    RENDER_FLAT = 259,
    RENDER_TEXTURED = 260,
};

class CMapCameraView : public COpenGLView
{
    DECLARE_DYNCREATE(CMapCameraView)
public:
    CMapCameraView();
    ~CMapCameraView() override;

    Map* GetMap() const;
    CameraRecord& GetCamera() { return m_camera; }
    int GetRenderMode() const { return m_renderMode; }
    BOOL GetAccurateMapping() const { return m_accurate; }
    const float* GetFaceColor(int n) const { return m_colors[n % 16]; }
    // The GL texture name of the record in this view's context; 0 when it has none.
    GLuint GetTextureName(Texture* pTexture) const;

    // Where the random face colours are seeded from (the current time).
    static unsigned (*s_pfnColorSeed)();

    // One named thing of a pick: an object, or a face with its brush in face mode.
    struct PickEntry
    {
        SThing* thing;
        Face* face;
    };
    // The hit of a selection buffer: the record with the smallest minimum depth (the first of
    // equals; a depth of 0xFFFFFFFF does not count) whose name is an index into a table of
    // tableSize entries. -1 when no record qualifies.
    static int ChooseHit(const GLuint* buffer, int bufferSize, int hits, size_t tableSize);
    // The eye of a camera placed at the map's first "info_player_start" (its "origin" and
    // "angle"), 22 units above it.
    static void PlaceAtPlayerStart(Map* pMap, CameraRecord& camera);
    // "<file name without directory and extension> - (@: x, y, z)"; empty without a path.
    static CString MakeTitle(LPCSTR pathName, const CameraRecord& camera);
    // The texture coordinate of a winding point by the face's class; FALSE for class 0.
    static BOOL TextureCoord(BYTE faceClass, const CVector& p, int width, int height, int xOffset, int yOffset,
                             float& s, float& t);
    // Face mode can be switched in textured mode with nothing selected or one object that is
    // not a point entity.
    static BOOL CanToggleFaceMode(int renderMode, int selectionCount, BOOL selectionHasEntity);

    // Picks at a client point as a click does; ctrl adds to the selection.
    void Pick(CPoint point, BOOL ctrl);
    void SetRenderMode(int mode);
    void ToggleFaceMode();

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    BOOL SetupViewingFrustum() override;
    BOOL SetupViewingTransform() override;
    void RenderFloor() override {}
    BOOL RenderScene() override;

protected:
    void UpdateTitle();
    // The states of the render mode (textures, culling, depth test, polygon mode).
    void ApplyModeStates();
    void SetQualityHints(GLenum hint);
    // Binds the record's texture, uploading it into this context first when it has no name
    // here yet. Null binds the "DEFAULT" record.
    Texture* BindTexture(Texture* pTexture);
    GLuint UploadTexture(Texture* pTexture);
    void UploadTextureMap();
    void DeleteTextures();
    void DrawBrushes(BOOL faceMode);
    void DrawEntities(BOOL faceMode);
    void DrawSelection(BOOL faceMode);
    void TurnFaceModeOff();
    BOOL InTexturedFaceMode() const;

    void OnDestroy();
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnWireframe();
    void OnFlat();
    void OnTextured();
    void OnFastMapping();
    void OnAccurateMapping();
    void OnToggleFaceMode();
    void OnUpdateWireframe(CCmdUI* pCmdUI);
    void OnUpdateFlat(CCmdUI* pCmdUI);
    void OnUpdateTextured(CCmdUI* pCmdUI);
    void OnUpdateFastMapping(CCmdUI* pCmdUI);
    void OnUpdateAccurateMapping(CCmdUI* pCmdUI);
    void OnUpdateToggleFaceMode(CCmdUI* pCmdUI);

    float m_colors[16][4];
    float m_near = 1.0f, m_far = 1024.0f;
    double m_verticalAngle = 90.0;
    int m_renderMode = RENDER_WIREFRAME;
    BOOL m_accurate = TRUE;
    CameraRecord m_camera;
    BOOL m_uploaded = FALSE;
    // Each record bound in this view: the name in this view's context and the record whose
    // pixels it holds (the default record's for a record that has no usable pixels).
    struct BoundTexture
    {
        GLuint name;
        Texture* drawn;
    };
    std::map<Texture*, BoundTexture> m_textureNames;
    BOOL m_picking = FALSE;
    std::vector<PickEntry> m_pickTable;
    BOOL m_axisFailed = FALSE;                 // a face failed its axis checks in this paint
    BOOL m_registered = FALSE;                 // the record is in the map's camera list
    Map* m_pRegisteredMap = nullptr;

    DECLARE_MESSAGE_MAP()
};
