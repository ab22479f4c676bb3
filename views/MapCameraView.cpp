#include "MapCameraView.h"
#include "Brush.h"
#include "CameraRes.h"
#include "Entity.h"
#include "Reporter.h"
#include "Services.h"
#include "Texture.h"
#include "Tokenizer.h"
#include "TextureLoader.h"
#include "ViewServices.h"
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

namespace {

const int kSelectBufferSize = 16384;
const GLuint kNoName = 0xFFFFFFFF;

unsigned TimeSeed()
{
    return static_cast<unsigned>(std::time(nullptr));
}

// The texture names handed out to every camera view: a context binds only names it created.
GLuint s_nextTextureName = 1;

// A map point in OpenGL coordinates: (-x, z, y).
inline void Vertex(float x, float y, float z)
{
    ::glVertex3f(-x, z, y);
}

// The GL-space box of map bounds: X from -max x to -min x, Y from min z to max z, Z from min y
// to max y.
struct GLBox
{
    float x0, x1, y0, y1, z0, z1;
    explicit GLBox(const short* b)
        : x0(-b[BOX_MAXX]), x1(-b[BOX_MINX]), y0(b[BOX_MINZ]), y1(b[BOX_MAXZ]), z0(b[BOX_MINY]), z1(b[BOX_MAXY])
    {
    }
};

// Six quads facing outwards (counter-clockwise seen from outside): the map's x sides, y sides
// and top and bottom in three shades of the colour.
void SolidBox(const short* bounds, const float rgb[3])
{
    GLBox b(bounds);
    auto shade = [&](float f) { ::glColor3f(rgb[0] * f, rgb[1] * f, rgb[2] * f); };
    ::glBegin(GL_QUADS);
    shade(0.7f);
    ::glVertex3f(b.x1, b.y0, b.z1); ::glVertex3f(b.x1, b.y0, b.z0); ::glVertex3f(b.x1, b.y1, b.z0); ::glVertex3f(b.x1, b.y1, b.z1);
    ::glVertex3f(b.x0, b.y0, b.z0); ::glVertex3f(b.x0, b.y0, b.z1); ::glVertex3f(b.x0, b.y1, b.z1); ::glVertex3f(b.x0, b.y1, b.z0);
    shade(0.85f);
    ::glVertex3f(b.x0, b.y0, b.z1); ::glVertex3f(b.x1, b.y0, b.z1); ::glVertex3f(b.x1, b.y1, b.z1); ::glVertex3f(b.x0, b.y1, b.z1);
    ::glVertex3f(b.x0, b.y0, b.z0); ::glVertex3f(b.x0, b.y1, b.z0); ::glVertex3f(b.x1, b.y1, b.z0); ::glVertex3f(b.x1, b.y0, b.z0);
    shade(1.0f);
    ::glVertex3f(b.x0, b.y1, b.z0); ::glVertex3f(b.x0, b.y1, b.z1); ::glVertex3f(b.x1, b.y1, b.z1); ::glVertex3f(b.x1, b.y1, b.z0);
    ::glVertex3f(b.x0, b.y0, b.z0); ::glVertex3f(b.x1, b.y0, b.z0); ::glVertex3f(b.x1, b.y0, b.z1); ::glVertex3f(b.x0, b.y0, b.z1);
    ::glEnd();
}

// The twelve edges of the box as lines.
void WireBox(const short* bounds)
{
    GLBox b(bounds);
    float xs[2] = {b.x0, b.x1}, ys[2] = {b.y0, b.y1}, zs[2] = {b.z0, b.z1};
    ::glBegin(GL_LINES);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            ::glVertex3f(xs[0], ys[i], zs[j]); ::glVertex3f(xs[1], ys[i], zs[j]);
            ::glVertex3f(xs[i], ys[0], zs[j]); ::glVertex3f(xs[i], ys[1], zs[j]);
            ::glVertex3f(xs[i], ys[j], zs[0]); ::glVertex3f(xs[i], ys[j], zs[1]);
        }
    ::glEnd();
}

} // namespace

unsigned (*CMapCameraView::s_pfnColorSeed)() = TimeSeed;

IMPLEMENT_DYNCREATE(CMapCameraView, COpenGLView)

BEGIN_MESSAGE_MAP(CMapCameraView, COpenGLView)
    ON_WM_DESTROY()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_CAMERA_WIREFRAME, OnWireframe)
    ON_COMMAND(ID_CAMERA_FLAT, OnFlat)
    ON_COMMAND(ID_CAMERA_TEXTURED, OnTextured)
    ON_COMMAND(ID_CAMERA_FAST_TMAPPING, OnFastMapping)
    ON_COMMAND(ID_CAMERA_ACCURATE_TMAPPING, OnAccurateMapping)
    ON_COMMAND(ID_TOGGLE_FACE_MODE, OnToggleFaceMode)
    ON_UPDATE_COMMAND_UI(ID_CAMERA_WIREFRAME, OnUpdateWireframe)
    ON_UPDATE_COMMAND_UI(ID_CAMERA_FLAT, OnUpdateFlat)
    ON_UPDATE_COMMAND_UI(ID_CAMERA_TEXTURED, OnUpdateTextured)
    ON_UPDATE_COMMAND_UI(ID_CAMERA_FAST_TMAPPING, OnUpdateFastMapping)
    ON_UPDATE_COMMAND_UI(ID_CAMERA_ACCURATE_TMAPPING, OnUpdateAccurateMapping)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_FACE_MODE, OnUpdateToggleFaceMode)
END_MESSAGE_MAP()

CMapCameraView::CMapCameraView()
{
    m_viewportError = "Error on viewport";
    std::srand(s_pfnColorSeed());
    for (auto& c : m_colors) {
        for (int k = 0; k < 3; ++k)
            c[k] = static_cast<float>(std::rand() * 3.051851e-5);
        c[3] = 0.0f;
    }
}

CMapCameraView::~CMapCameraView()
{
    Map* map = GetMap();
    if (map && m_registered) {
        m_registered = FALSE;
        map->RemoveCamera(&m_camera);
        // The camera commands go on moving one of the windows still open.
        if (!map->GetCurrentCamera() && !map->GetCameras().IsEmpty())
            map->SetCurrentCamera(static_cast<CameraRecord*>(map->GetCameras().GetTail()));
    }
}

Map* CMapCameraView::GetMap() const
{
    return static_cast<Map*>(GetDocument());
}

GLuint CMapCameraView::GetTextureName(Texture* pTexture) const
{
    auto it = m_textureNames.find(pTexture);
    return it == m_textureNames.end() ? 0 : it->second.name;
}

// ---------------------------------------------------------------------------
// Pure steps

int CMapCameraView::ChooseHit(const GLuint* buffer, int bufferSize, int hits, size_t tableSize)
{
    int best = -1;
    GLuint bestDepth = 0;
    size_t p = 0, size = bufferSize > 0 ? static_cast<size_t>(bufferSize) : 0;
    // A negative count (the buffer overflowed) reads the complete records that fit.
    for (int h = 0; (hits < 0 || h < hits) && p + 3 <= size; ++h) {
        GLuint count = buffer[p], depth = buffer[p + 1];
        if (count > size - p - 3)
            break;
        if (count > 0 && depth != 0xFFFFFFFF) {
            GLuint name = buffer[p + 2 + count]; // the top of the name stack
            if (name < tableSize && (best < 0 || depth < bestDepth)) {
                best = static_cast<int>(name);
                bestDepth = depth;
            }
        }
        p += 3 + count;
    }
    return best;
}

void CMapCameraView::PlaceAtPlayerStart(Map* pMap, CameraRecord& camera)
{
    short x = 0, y = 0, z = 0;
    int angle = 0;
    CPtrList* entities = pMap ? &pMap->GetEntities() : nullptr;
    for (POSITION pos = entities ? entities->GetHeadPosition() : nullptr; pos;) {
        Entity* e = static_cast<Entity*>(entities->GetNext(pos));
        const CString* cls = e->FindValue("classname");
        if (!cls || *cls != "info_player_start")
            continue;
        // Other editors write "origin" and "angle" with decimals: read them as numbers and
        // round, as every coordinate of the map is read.
        int o[3] = {0, 0, 0};
        const CString* origin = e->FindValue("origin");
        if (origin && ParseOrigin(*origin, o)) {
            x = static_cast<short>(o[0]);
            y = static_cast<short>(o[1]);
            z = static_cast<short>(o[2]);
        }
        if (const CString* a = e->FindValue("angle")) {
            CString text(*a);
            char* p = text.GetBuffer(text.GetLength());
            while (*p == ' ' || *p == '\t')
                ++p;
            double v = 0;
            if (ParseNumber(&p, v))
                angle = RoundCoord(v);
            text.ReleaseBuffer();
        }
        break;
    }
    // A start at the ends of the coordinate range puts the eye at them, not on the far side.
    camera.tx = x;
    camera.ty = ClampToMapCoordinate(-z - 22);
    camera.tz = ClampToMapCoordinate(-y);
    camera.mx = x;
    camera.my = ClampToMapCoordinate(-z);
    camera.mz = ClampToMapCoordinate(-y - 40);
    camera.yaw = -90 - angle;
}

CString CMapCameraView::MakeTitle(LPCSTR pathName, const CameraRecord& camera)
{
    CString path(pathName ? pathName : "");
    if (path.IsEmpty())
        return CString();
    int cut = -1;
    for (int i = 0; i < path.GetLength(); ++i)
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':')
            cut = i;
    CString name = path.Mid(cut + 1);
    int dot = name.ReverseFind('.');
    if (dot >= 0)
        name = name.Left(dot);
    CString title;
    title.Format("%s - (@: %d, %d, %d)", (LPCSTR)name, camera.tx, -camera.tz, -camera.ty);
    return title;
}

BOOL CMapCameraView::TextureCoord(BYTE faceClass, const CVector& p, int width, int height, int xOffset, int yOffset,
                                  float& s, float& t)
{
    float w = width > 0 ? static_cast<float>(width) : 1.0f;
    float h = height > 0 ? static_cast<float>(height) : 1.0f;
    switch (faceClass) {
    case 1:
    case 4: s = (p.y + xOffset) / w; t = (p.z - yOffset) / h; return TRUE;
    case 2:
    case 5: s = (p.x + xOffset) / w; t = (p.z - yOffset) / h; return TRUE;
    case 3:
    case 6: s = (p.x + xOffset) / w; t = (p.y - yOffset) / h; return TRUE;
    default: return FALSE;
    }
}

BOOL CMapCameraView::CanToggleFaceMode(int renderMode, int selectionCount, BOOL selectionHasEntity)
{
    if (renderMode != RENDER_TEXTURED)
        return FALSE;
    return selectionCount == 0 || (selectionCount == 1 && !selectionHasEntity);
}

BOOL CMapCameraView::InTexturedFaceMode() const
{
    return g_faceMode && m_renderMode == RENDER_TEXTURED;
}

// ---------------------------------------------------------------------------
// Set-up and updates

void CMapCameraView::OnInitialUpdate()
{
    COpenGLView::OnInitialUpdate();
    Map* map = GetMap();
    PlaceAtPlayerStart(map, m_camera);
    if (MakeCurrent()) {
        ::glMatrixMode(GL_MODELVIEW);
        ::glLoadIdentity();
        SetupViewingTransform();
    }
    UpdateTitle();
    if (MakeCurrent()) {
        ApplyModeStates();
        ::glEnable(GL_LINE_SMOOTH);
        ::glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    }
    if (map && !m_registered) {
        m_registered = TRUE;
        map->AddCamera(&m_camera);
    }
}

BOOL CMapCameraView::SetupViewingTransform()
{
    // The camera record as it is now: a resize keeps where the camera has been moved to.
    ::glRotatef(static_cast<float>(m_camera.pitch), 1.0f, 0.0f, 0.0f);
    ::glRotatef(static_cast<float>(m_camera.yaw), 0.0f, 1.0f, 0.0f);
    ::glRotatef(static_cast<float>(m_camera.roll), 0.0f, 0.0f, 1.0f);
    ::glTranslatef(m_camera.tx, m_camera.ty, m_camera.tz);
    return TRUE;
}

BOOL CMapCameraView::SetupViewingFrustum()
{
    CheckFieldOfView(m_fieldOfView);
    m_eyeDistance = ComputeEyeDistance(m_width, m_fieldOfView);
    m_verticalAngle = m_fieldOfView / m_aspect;
    ::gluPerspective(m_verticalAngle, m_aspect, m_near, m_far);
    GLenum error = ::glGetError();
    if (error != GL_NO_ERROR) {
        ReportGLError("Error setting frustum", error);
        return FALSE;
    }
    return TRUE;
}

void CMapCameraView::UpdateTitle()
{
    Map* map = GetMap();
    CFrameWnd* frame = m_hWnd ? GetParentFrame() : nullptr;
    if (!map || !frame)
        return;
    CString title = MakeTitle(map->GetPathName(), m_camera);
    frame->SetTitle(title);
    frame->SetWindowText(title);
}

void CMapCameraView::OnUpdate(CView*, LPARAM lHint, CObject*)
{
    if (lHint == HINT_VIEW_TYPE) {
        UpdateTitle();
        return;
    }
    if (MakeCurrent()) {
        ::glMatrixMode(GL_MODELVIEW);
        ::glLoadIdentity();
        SetupViewingTransform();
    }
    switch (lHint) {
    case HINT_CHANGED:
    case HINT_DELETED:
    case HINT_MOVED:
    case HINT_DRAGGED:
    case HINT_SELECTION:
    case HINT_DEFAULT_TEXTURE:
    case HINT_TEXTURE_ADJUST:
        if (m_hWnd)
            Invalidate(FALSE);
        break;
    case HINT_OPENED:
    case HINT_DEPTH_CLIP:
    case HINT_LINKED_SELECTION:
    case HINT_CLIP_TO_OBJECT:
    case HINT_UNCLIP_TO_OBJECT:
    case HINT_DOCUMENTS:
    case HINT_TEXTURE_BROWSER:
    case HINT_TARGET_PATHS:
        break;
    case HINT_CAMERA:
        if (m_hWnd) {
            UpdateTitle();
            Invalidate(FALSE);
        }
        break;
    case HINT_VIEW_CLICKED:
        // A click in a plane view ends face mode; it never starts it.
        if (g_faceMode)
            ToggleFaceMode();
        break;
    default:
        if (m_hWnd) {
            Invalidate(FALSE);
            UpdateWindow();
        }
        break;
    }
}

void CMapCameraView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    COpenGLView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    Map* map = GetMap();
    if (bActivate && pActivateView == this && map && m_registered && map->GetCurrentCamera() != &m_camera)
        map->SetCurrentCamera(&m_camera);
}

BOOL CMapCameraView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMapCameraView::OnDestroy()
{
    DeleteTextures();
    COpenGLView::OnDestroy();
}

// ---------------------------------------------------------------------------
// Render modes

void CMapCameraView::ApplyModeStates()
{
    switch (m_renderMode) {
    case RENDER_FLAT:
    case RENDER_TEXTURED:
        if (m_renderMode == RENDER_TEXTURED)
            ::glEnable(GL_TEXTURE_2D);
        else
            ::glDisable(GL_TEXTURE_2D);
        ::glEnable(GL_CULL_FACE);
        ::glEnable(GL_DEPTH_TEST);
        ::glPolygonMode(GL_FRONT, GL_FILL);
        break;
    default:
        ::glDisable(GL_TEXTURE_2D);
        ::glDisable(GL_CULL_FACE);
        ::glDisable(GL_DEPTH_TEST);
        ::glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        break;
    }
}

void CMapCameraView::SetRenderMode(int mode)
{
    m_renderMode = mode;
    if (MakeCurrent())
        ApplyModeStates();
    Invalidate(FALSE);
    UpdateWindow();
}

void CMapCameraView::SetQualityHints(GLenum hint)
{
    if (!MakeCurrent())
        return;
    ::glHint(GL_PERSPECTIVE_CORRECTION_HINT, hint);
    ::glHint(GL_LINE_SMOOTH_HINT, hint);
    ::glHint(GL_POLYGON_SMOOTH_HINT, hint);
}

void CMapCameraView::OnWireframe()
{
    Report().Status("Switching to wireframe");
    SetRenderMode(RENDER_WIREFRAME);
}

void CMapCameraView::OnFlat()
{
    Report().Status("Switching to flat shade");
    SetRenderMode(RENDER_FLAT);
}

void CMapCameraView::OnTextured()
{
    Report().Status("Switching to textured");
    SetRenderMode(RENDER_TEXTURED);
}

void CMapCameraView::OnFastMapping()
{
    SetQualityHints(GL_FASTEST);
    m_accurate = FALSE;
    Invalidate(FALSE);
    UpdateWindow();
}

void CMapCameraView::OnAccurateMapping()
{
    SetQualityHints(GL_NICEST);
    m_accurate = TRUE;
    Invalidate(FALSE);
    UpdateWindow();
}

void CMapCameraView::OnUpdateWireframe(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_renderMode == RENDER_WIREFRAME);
}

void CMapCameraView::OnUpdateFlat(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_renderMode == RENDER_FLAT);
}

void CMapCameraView::OnUpdateTextured(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_renderMode == RENDER_TEXTURED);
}

void CMapCameraView::OnUpdateFastMapping(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(!m_accurate);
}

void CMapCameraView::OnUpdateAccurateMapping(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_accurate ? 1 : 0);
}

// ---------------------------------------------------------------------------
// Face mode

void CMapCameraView::TurnFaceModeOff()
{
    g_faceMode = 0;
    GetEditorServices()->UpdateTextureAdjustment(nullptr);
    if (Map* map = GetMap())
        map->SetPickedFace(nullptr);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CMapCameraView::ToggleFaceMode()
{
    BOOL wasOn = g_faceMode != 0;
    g_faceMode = wasOn ? 0 : 1;
    Map* map = GetMap();
    if (wasOn) {
        GetEditorServices()->UpdateTextureAdjustment(nullptr);
        if (map)
            map->SetPickedFace(nullptr);
    }
    if (map && map->GetSelectionCount() > 0)
        map->DeselectAll();
    else if (m_hWnd)
        Invalidate(FALSE);
}

void CMapCameraView::OnToggleFaceMode()
{
    ToggleFaceMode();
}

void CMapCameraView::OnUpdateToggleFaceMode(CCmdUI* pCmdUI)
{
    if (m_renderMode != RENDER_TEXTURED && g_faceMode)
        TurnFaceModeOff();
    Map* map = GetMap();
    pCmdUI->Enable(map && CanToggleFaceMode(m_renderMode, map->GetSelectionCount(), map->SelectionHasEntity()));
    pCmdUI->SetCheck(g_faceMode ? 1 : 0);
}

// ---------------------------------------------------------------------------
// Textures

GLuint CMapCameraView::UploadTexture(Texture* tex)
{
    GLuint name = s_nextTextureName++;
    // Each DIB row is padded to four bytes; the default record's rows are packed.
    int alignment = tex->bitmap ? 4 : 1;
    ::glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    ::glBindTexture(GL_TEXTURE_2D, name);
    ::glTexImage2D(GL_TEXTURE_2D, 0, 3, tex->p2width, tex->p2height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, tex->bits);
    ::glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    ::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    ::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    ::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    ::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    ::glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    m_textureNames[tex] = {name, tex};
    return name;
}

// A record without usable 24-bit pixels is drawn with the default record's. A record whose
// bitmap is not its 24-bit power-of-two one (its conversion failed) would be read past its end.
static bool Drawable(const Texture* tex)
{
    if (!tex || !tex->bits || tex->p2width == 0 || tex->p2height == 0)
        return false;
    if (!tex->bitmap)
        return true;
    DIBSECTION ds;
    if (::GetObjectA(tex->bitmap, sizeof ds, &ds) != sizeof ds)
        return false;
    return ds.dsBm.bmBitsPixel == 24 && ds.dsBm.bmWidth == tex->p2width &&
           (ds.dsBm.bmHeight == tex->p2height || ds.dsBm.bmHeight == -tex->p2height);
}

void CMapCameraView::UploadTextureMap()
{
    auto* loader = dynamic_cast<CTextureLoader*>(GetTextureSource());
    if (!loader)
        return;
    CTextureMap& textures = loader->GetTextureMap();
    CString key;
    void* p = nullptr;
    for (POSITION pos = textures.GetStartPosition(); pos;) {
        textures.GetNextAssoc(pos, key, p);
        Texture* tex = static_cast<Texture*>(p);
        if (m_textureNames.find(tex) == m_textureNames.end() && Drawable(tex))
            UploadTexture(tex);
    }
}

Texture* CMapCameraView::BindTexture(Texture* tex)
{
    Texture* def = GetEditorServices()->GetDefaultTexture();
    if (!tex)
        tex = def;
    auto it = m_textureNames.find(tex);
    if (it != m_textureNames.end()) {
        ::glBindTexture(GL_TEXTURE_2D, it->second.name);
        return it->second.drawn;
    }
    if (Drawable(tex)) {
        UploadTexture(tex); // leaves it bound
        return tex;
    }
    // Drawn with the default pixels; remembered, so that the record is looked at once.
    if (tex != def && def) {
        BindTexture(def);
        auto d = m_textureNames.find(def);
        if (d != m_textureNames.end())
            m_textureNames[tex] = d->second;
        else
            return nullptr;
        return def;
    }
    ::glBindTexture(GL_TEXTURE_2D, 0);
    return nullptr;
}

void CMapCameraView::DeleteTextures()
{
    if (!m_textureNames.empty() && MakeCurrent())
        for (const auto& entry : m_textureNames)
            if (entry.second.drawn == entry.first) // a record drawn with the default's shares its name
                ::glDeleteTextures(1, &entry.second.name);
    m_textureNames.clear();
    m_uploaded = FALSE;
}

// ---------------------------------------------------------------------------
// The scene

void CMapCameraView::DrawBrushes(BOOL faceMode)
{
    Map* map = GetMap();
    BOOL textured = m_renderMode == RENDER_TEXTURED;
    int n = 0;
    CPtrList& visible = map->GetVisibleList();
    for (POSITION pos = visible.GetHeadPosition(); pos;) {
        SThing* thing = static_cast<SThing*>(visible.GetNext(pos));
        if (thing->GetKind() != 0)
            continue;
        Brush* brush = static_cast<Brush*>(thing);
        if (m_picking && !faceMode) {
            ::glLoadName(static_cast<GLuint>(m_pickTable.size()));
            m_pickTable.push_back({brush, nullptr});
        }
        ::glDisable(GL_BLEND);
        for (Face& face : brush->GetFaces()) {
            if (m_picking && faceMode) {
                ::glLoadName(static_cast<GLuint>(m_pickTable.size()));
                m_pickTable.push_back({brush, &face});
            }
            Texture* tex = nullptr;
            if (textured) {
                if (!m_picking)
                    tex = BindTexture(face.texture);
            } else {
                ::glColor4fv(m_colors[n % 16]);
            }
            ++n;
            int count = face.GetPointCount();
            if (count == 0)
                continue;
            BOOL coords = tex != nullptr;
            if (coords && face.cls == 0) {
                coords = FALSE;
                m_axisFailed = TRUE;
            }
            ::glBegin(GL_POLYGON);
            for (int k = count - 1; k >= 0; --k) {
                const CVector& p = face.winding[static_cast<size_t>(k)];
                float s, t;
                if (coords && TextureCoord(face.cls, p, tex->p2width, tex->p2height, face.xOffset, face.yOffset, s, t))
                    ::glTexCoord2f(s, t);
                Vertex(p.x, p.y, p.z);
            }
            ::glEnd();
        }
    }
}

void CMapCameraView::DrawEntities(BOOL faceMode)
{
    if (faceMode)
        return;
    if (m_renderMode != RENDER_FLAT) {
        ::glDisable(GL_TEXTURE_2D);
        ::glEnable(GL_CULL_FACE);
        ::glEnable(GL_DEPTH_TEST);
        ::glPolygonMode(GL_FRONT, GL_FILL);
    }
    Map* map = GetMap();
    CViewServices* services = GetViewServices();
    CPtrList& visible = map->GetVisibleList();
    for (POSITION pos = visible.GetHeadPosition(); pos;) {
        SThing* thing = static_cast<SThing*>(visible.GetNext(pos));
        if (thing->GetKind() != 1)
            continue;
        Entity* entity = static_cast<Entity*>(thing);
        COLORREF color = services->GetEntityColor(entity->ValueForKey("classname"));
        float rgb[3] = {GetRValue(color) / 255.0f, GetGValue(color) / 255.0f, GetBValue(color) / 255.0f};
        if (m_picking) {
            ::glLoadName(static_cast<GLuint>(m_pickTable.size()));
            m_pickTable.push_back({entity, nullptr});
        }
        SolidBox(entity->GetBounds(), rgb);
    }
}

void CMapCameraView::DrawSelection(BOOL faceMode)
{
    Map* map = GetMap();
    CPtrList& selection = map->GetSelection();
    if (selection.IsEmpty())
        return;
    ::glDisable(GL_TEXTURE_2D);
    ::glDisable(GL_CULL_FACE);
    ::glDisable(GL_DEPTH_TEST);
    ::glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    COLORREF selected = GetViewServices()->GetSettingColor("Selected Object", 0xFF0000);
    ::glColor3f(GetRValue(selected) / 255.0f, GetGValue(selected) / 255.0f, GetBValue(selected) / 255.0f);
    Face* picked = map->GetPickedFace();
    for (POSITION pos = selection.GetHeadPosition(); pos;) {
        SThing* thing = static_cast<SThing*>(selection.GetNext(pos));
        if (thing->GetKind() == 0) {
            for (Face& face : static_cast<Brush*>(thing)->GetFaces()) {
                if (picked && &face != picked)
                    continue;
                ::glBegin(GL_POLYGON);
                for (const CVector& p : face.winding)
                    Vertex(p.x, p.y, p.z);
                ::glEnd();
            }
        } else if (thing->GetKind() == 1 && !faceMode) {
            WireBox(thing->GetBounds());
        }
    }
}

BOOL CMapCameraView::RenderScene()
{
    Map* map = GetMap();
    ::glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!map)
        return TRUE;
    BOOL faceMode = InTexturedFaceMode();
    if (m_renderMode == RENDER_TEXTURED) {
        ::glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        if (!m_uploaded) {
            ::glEnable(GL_TEXTURE_2D);
            UploadTextureMap();
            m_uploaded = TRUE;
        }
    }
    ::glDisable(GL_LIGHTING);
    m_axisFailed = FALSE;
    DrawBrushes(faceMode);
    DrawEntities(faceMode);
    // A pick names only what the click can mean: the outlines would carry the last loaded name.
    if (!m_picking)
        DrawSelection(faceMode);
    ApplyModeStates();
    if (m_axisFailed)
        Report().Message("face fails axis checks!");
    return TRUE;
}

// ---------------------------------------------------------------------------
// Picking and the mouse

void CMapCameraView::Pick(CPoint point, BOOL ctrl)
{
    Map* map = GetMap();
    if (!map || !MakeCurrent())
        return;
    if (!ctrl)
        map->DeselectAll(); // a Cancel to the unapplied-edits question still picks
    map->ClearCycleList();
    map->SetCyclePosition(nullptr);

    std::vector<GLuint> buffer(kSelectBufferSize, 0);
    ::glSelectBuffer(kSelectBufferSize, buffer.data());
    ::glRenderMode(GL_SELECT);
    ::glEnable(GL_CULL_FACE);
    ::glPolygonMode(GL_FRONT, GL_FILL);
    ::glInitNames();
    ::glPushName(kNoName);

    GLint viewport[4];
    ::glGetIntegerv(GL_VIEWPORT, viewport);
    ::glMatrixMode(GL_PROJECTION);
    ::glPushMatrix();
    ::glLoadIdentity();
    ::gluPickMatrix(point.x, m_height - point.y, 4.0, 4.0, viewport);
    ::gluPerspective(m_verticalAngle, m_aspect, m_near, m_far);
    ::glMatrixMode(GL_MODELVIEW);
    m_pickTable.clear();
    m_picking = TRUE;
    ::glPushMatrix();
    RenderScene();
    ::glPopMatrix();
    m_picking = FALSE;
    ::glMatrixMode(GL_PROJECTION);
    ::glPopMatrix();
    ::glMatrixMode(GL_MODELVIEW);
    ::glFlush();
    int hits = ::glRenderMode(GL_RENDER);
    ApplyModeStates();

    std::vector<PickEntry> table;
    table.swap(m_pickTable);
    if (hits == 0) {
        map->UpdateViews(HINT_REDRAW);
        return;
    }
    int index = ChooseHit(buffer.data(), kSelectBufferSize, hits, table.size());
    if (index < 0) {
        Report().Status("Nothing was selected in the 3D view");
        return;
    }
    const PickEntry& entry = table[static_cast<size_t>(index)];
    CEditorServices* services = GetEditorServices();
    if (entry.face) {
        map->SetPickedFace(entry.face);
        services->UpdateTextureAdjustment(entry.face);
    } else {
        services->UpdateTextureAdjustment(nullptr);
    }
    map->SelectObject(entry.thing, TRUE);
    if (entry.thing->GetKind() == 0) {
        Brush* brush = static_cast<Brush*>(entry.thing);
        GLuint name = brush->GetFaceCount() > 0 ? GetTextureName(brush->GetFace(0).texture) : 0;
        Report().Status("selected brush with name %d", static_cast<int>(name));
    }
    map->UpdateCurrentTexture();
    map->UpdateCurrentEntity();
}

void CMapCameraView::OnLButtonUp(UINT nFlags, CPoint point)
{
    Pick(point, (nFlags & MK_CONTROL) != 0);
}

void CMapCameraView::OnRButtonUp(UINT, CPoint point)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_CAMERA_MENU))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return;
    ClientToScreen(&point);
    CWnd* owner = AfxGetMainWnd();
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner ? owner : this);
}
