#include "MapXYView.h"
#include "afxprint.h"
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "MapData.h"
#include "MapEditing.h"
#include "MapFrame.h"
#include "MapZView.h"
#include "Reporter.h"
#include "ViewServices.h"
#include "ViewsRes.h"
#include "EditCommands.h"
#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_DYNCREATE(CMapXYView, CMapView)

BEGIN_MESSAGE_MAP(CMapXYView, CMapView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_UPDATE_COMMAND_UI(ID_PANE_POSITION, OnUpdatePanePosition)
    ON_COMMAND(ID_CREATE_TARGETS, OnCreateTargets)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_CAPTURECHANGED()
    ON_COMMAND(ID_ROTATE_BY_HAND, OnRotateByHand)
    ON_UPDATE_COMMAND_UI(ID_ROTATE_BY_HAND, OnUpdateRotateByHand)
    ON_COMMAND(ID_CANCEL_OPERATION, OnCancelOperation)
    ON_UPDATE_COMMAND_UI(ID_PANE_SIZE, OnUpdatePaneSizeOrAngle)
END_MESSAGE_MAP()

namespace {

// The two view axes and the depth axis of a plane (0 x, 1 y, 2 z).
void PlaneAxes(int type, int& h, int& v, int& d)
{
    if (!ViewAxes(type, h, v, d)) {
        h = 0;
        v = 1;
        d = 2;
    }
}

bool IsWorldBrush(Map* pMap, Brush* b)
{
    return b->GetOwner() == nullptr || b->GetOwner() == pMap->GetWorldEntity();
}

// The entity whose keys an object's target line goes by: a point entity its own, a brush its
// owner's.
Entity* TargetKeysOf(SThing* t)
{
    return t->GetKind() == 0 ? static_cast<Brush*>(t)->GetOwner() : static_cast<Entity*>(t);
}

// The centre of an object's box (per axis, truncated toward zero), where its target lines end.
void TargetLineEnd(SThing* t, int c[3])
{
    const short* b = t->GetBounds();
    for (int i = 0; i < 3; ++i)
        c[i] = (b[i * 2] + b[i * 2 + 1]) / 2;
}

// The arrow strokes at a target line's middle reach this far from it, in world units.
const int kTargetStrokeLength = 16;

} // namespace

void CMapXYView::CollectTargetLines(std::vector<TargetLine>& lines) const
{
    lines.clear();
    Map* pMap = GetMap();
    if (!pMap || GetPlaneType() != VIEW_XY || !pMap->GetShowTargetPaths())
        return;
    // Selected objects and objects outside the paint's clip count as well.
    std::vector<SThing*> sources, destinations;
    CPtrList& list = const_cast<CMapXYView*>(this)->GetDrawList();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(list.GetNext(pos));
        Entity* e = TargetKeysOf(t);
        if (e && (t->GetKind() != 0 || e != pMap->GetWorldEntity())) {
            if (e->FindValue("target"))
                sources.push_back(t);
            if (e->FindValue("targetname"))
                destinations.push_back(t);
        }
    }
    for (SThing* s : sources) {
        CString target = TargetKeysOf(s)->ValueForKey("target");
        for (SThing* dt : destinations) {
            Entity* de = TargetKeysOf(dt);
            if (target != de->ValueForKey("targetname"))
                continue;
            const CString* cls = de->FindValue("classname");
            // A destination without a class name ends the search for this source.
            if (!cls)
                break;
            lines.push_back({s, dt, *cls});
        }
    }
}

void CMapXYView::WidenForTargetLines(short box[6]) const
{
    std::vector<TargetLine> lines;
    CollectTargetLines(lines);
    // A moved object's line, old and new, runs from a point inside the box (the box holds the
    // object before and after) to its other end; the strokes stand round the line's middle.
    BOOL widened = FALSE;
    int r[6] = {box[0], box[1], box[2], box[3], box[4], box[5]};
    auto inside = [box](const int c[3]) {
        for (int i = 0; i < 3; ++i)
            if (c[i] < box[i * 2] || c[i] > box[i * 2 + 1])
                return false;
        return true;
    };
    for (const TargetLine& line : lines) {
        int a[3], b[3];
        TargetLineEnd(line.source, a);
        TargetLineEnd(line.destination, b);
        if (!inside(a) && !inside(b))
            continue;
        widened = TRUE;
        for (int i = 0; i < 3; ++i) {
            r[i * 2] = std::min({r[i * 2], a[i], b[i]});
            r[i * 2 + 1] = std::max({r[i * 2 + 1], a[i], b[i]});
        }
    }
    if (!widened)
        return;
    for (int i = 0; i < 6; ++i) {
        int v = r[i] + (i % 2 ? kTargetStrokeLength : -kTargetStrokeLength);
        box[i] = static_cast<short>(std::max(-32768, std::min(32767, v)));
    }
}

CMapXYView::CMapXYView()
    : m_bFirstScale(1), m_rcUpdate(0, 0, 0, 0), m_rcCanvas(0, 0, 0, 0), m_sizePaintCanvas(0, 0),
      m_ptRotateStart(0, 0), m_ptRotateEnd(0, 0), m_ptRotateCentre(0, 0), m_rotateAngle(-100.0),
      m_nResizeGuard(0), m_bRotatePenReported(FALSE), m_ptHandlePress(0, 0), m_pHandleBrush(nullptr),
      m_nStateBeforePan(-1)
{
    m_axisRestrict[0] = m_axisRestrict[1] = m_axisRestrict[2] = 0;
    // "Scroll Bars" off: the view still scrolls by code, without bars.
    SetShowScrollBars(GetEditorServices()->GetProfileInt("Map Window", "Scroll Bars", 1) != 0);
}

CMapXYView::~CMapXYView()
{
    // Candidates of an unfinished pick (normally handed to the map at once).
    while (!m_entityCandidates.IsEmpty())
        delete static_cast<CycleCandidate*>(m_entityCandidates.RemoveHead());
    while (!m_worldCandidates.IsEmpty())
        delete static_cast<CycleCandidate*>(m_worldCandidates.RemoveHead());
}

void CMapXYView::OnInitialUpdate()
{
    CMapView::OnInitialUpdate();
    SetPlaneScale(m_scale);
    ApplySnapAngle(m_snapAngle);
    UpdateTitle();
    CenterOnPlayerStart();
    CollectDrawList();
}

// ---------------------------------------------------------------------------
// Scale, grid and angle

void CMapXYView::SetPlaneScale(float scale)
{
    CSize oldCanvas = GetTotalSize();
    CMapView::SetScale(scale);
    double fx = 0.5, fy = 0.5;
    CRect client(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&client);
    if (!m_bFirstScale && oldCanvas.cx > 0 && oldCanvas.cy > 0) {
        CPoint pos = GetDeviceScrollPosition();
        fx = (pos.x + client.Width() / 2) / static_cast<double>(oldCanvas.cx);
        fy = (pos.y + client.Height() / 2) / static_cast<double>(oldCanvas.cy);
    }
    int n = static_cast<int>(static_cast<double>(m_scale) * 8192.0);
    SetScrollSizes(MM_TEXT, CSize(n, n));
    if (!m_bFirstScale) {
        CPoint pos(static_cast<int>(n * fx) - client.Width() / 2, static_cast<int>(n * fy) - client.Height() / 2);
        if (pos.x < 0)
            pos.x = 0;
        if (pos.y < 0)
            pos.y = 0;
        ScrollToDevicePosition(pos);
    }
    m_nGridPixels = ComputeGridPixels(m_nGrid, m_scale, n);
    m_bFirstScale = 0;
    if (m_hWnd) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void CMapXYView::ApplyGridSize(int grid)
{
    SetGrid(grid);
    m_nGridPixels = ComputeGridPixels(m_nGrid, m_scale, GetTotalSize().cy);
    if (m_hWnd) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void CMapXYView::ApplySnapAngle(double degrees)
{
    SetSnapAngle(degrees);
}

// ---------------------------------------------------------------------------
// Projection

void CMapXYView::ProjectOnCanvas(int h, int v, CPoint& p) const
{
    CSize c = m_sizePaintCanvas.cx ? m_sizePaintCanvas : GetTotalSize();
    p.x = static_cast<int>(h * static_cast<double>(m_scale)) + (c.cx >> 1);
    p.y = (c.cy >> 1) - static_cast<int>(v * static_cast<double>(m_scale));
}

CPoint CMapXYView::ProjectPoint(int x, int y, int z) const
{
    int a[3] = {x, y, z};
    int h, v, d;
    PlaneAxes(GetPlaneType(), h, v, d);
    CPoint p;
    ProjectOnCanvas(a[h], a[v], p);
    return p;
}

CRect CMapXYView::ProjectBox(const short* box) const
{
    int h, v, d;
    PlaneAxes(GetPlaneType(), h, v, d);
    CPoint a, b;
    ProjectOnCanvas(box[h * 2], box[v * 2], a);
    ProjectOnCanvas(box[h * 2 + 1], box[v * 2 + 1], b);
    CRect r(a.x, a.y, b.x, b.y);
    r.NormalizeRect();
    return r;
}

// ---------------------------------------------------------------------------
// Painting

void CMapXYView::OnPaint()
{
    CPaintDC dc(this);
    CRect box;
    ::GetUpdateRect(m_hWnd, &box, FALSE);
    if (box.IsRectEmpty())
        box = dc.m_ps.rcPaint;
    m_rcUpdate = box;
    m_rcUpdate.InflateRect(1, 1);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CMapXYView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMapXYView::OnDraw(CDC* pDC)
{
    DrawMap(pDC);
}

BOOL CMapXYView::OnPreparePrinting(CPrintInfo* pInfo)
{
    pInfo->SetMaxPage(1);
    return DoPreparePrinting(pInfo);
}

void CMapXYView::OnPrint(CDC* pDC, CPrintInfo*)
{
    // The visible client area, set here: the last paint's update rect says nothing about a page.
    CRect canvas(0, 0, 0, 0);
    if (m_hWnd != nullptr)
        GetClientRect(&canvas);
    canvas.OffsetRect(GetDeviceScrollPosition());
    if (!canvas.IsRectEmpty())
        DrawCanvas(pDC, canvas);
}

void CMapXYView::DrawMap(CDC* pDC)
{
    CFrameWnd* pFrame = m_hWnd ? GetParentFrame() : nullptr;
    if (pFrame && pFrame->IsIconic())
        return;
    CRect canvas = m_rcUpdate;
    canvas.OffsetRect(GetDeviceScrollPosition());
    canvas.NormalizeRect();
    if (canvas.IsRectEmpty())
        return;
    CDC mem;
    if (!mem.CreateCompatibleDC(pDC))
        return;
    CBitmap bmp;
    if (!bmp.CreateCompatibleBitmap(pDC, canvas.Width(), canvas.Height()))
        return;
    CBitmap* pOld = mem.SelectObject(&bmp);
    DrawCanvas(&mem, canvas);
    pDC->BitBlt(canvas.left, canvas.top, canvas.Width(), canvas.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
}

void CMapXYView::DrawCanvas(CDC* pDC, const CRect& rcCanvas)
{
    CViewServices* services = GetViewServices();
    m_rcCanvas = rcCanvas;
    m_rcCanvas.NormalizeRect();
    m_sizePaintCanvas = GetTotalSize();
    int width = m_rcCanvas.Width(), height = m_rcCanvas.Height();

    pDC->FillSolidRect(0, 0, width, height, services->GetSettingColor("Map Background", 0xFFFFFF));

    int g = m_nGridPixels;
    if (IsGridShown() && g > 0) {
        int t = static_cast<int>(static_cast<double>(m_scale) * 64.0);
        BOOL tiles = t > g;
        CPen* pOld = pDC->SelectObject(services->GetPen(CViewServices::PEN_GRID));
        auto down = [](int v, int step) { return v - ((v % step) + step) % step; };
        for (int y = down(m_rcCanvas.top, g); y <= m_rcCanvas.bottom + g; y += g) {
            if (tiles && y % t == 0)
                continue;
            pDC->MoveTo(0, y - m_rcCanvas.top);
            pDC->LineTo(width, y - m_rcCanvas.top);
        }
        for (int x = down(m_rcCanvas.left, g); x <= m_rcCanvas.right + g; x += g) {
            if (tiles && x % t == 0)
                continue;
            pDC->MoveTo(x - m_rcCanvas.left, 0);
            pDC->LineTo(x - m_rcCanvas.left, height);
        }
        if (tiles) {
            pDC->SelectObject(services->GetPen(CViewServices::PEN_TILE));
            for (int y = down(m_rcCanvas.top, t); y <= m_rcCanvas.bottom + g; y += t) {
                pDC->MoveTo(0, y - m_rcCanvas.top);
                pDC->LineTo(width, y - m_rcCanvas.top);
            }
            for (int x = down(m_rcCanvas.left, t); x <= m_rcCanvas.right + g; x += t) {
                pDC->MoveTo(x - m_rcCanvas.left, 0);
                pDC->LineTo(x - m_rcCanvas.left, height);
            }
        }
        pDC->SelectObject(pOld);
    }

    DrawObjects(pDC);
    DrawCameras(pDC);
    DrawOrigin(pDC);

    Map* pMap = GetMap();
    if (pMap && pMap->m_bRubberBand) {
        const short* b = pMap->m_rubberBand;
        if (b[0] != b[1] && b[2] != b[3] && b[4] != b[5]) {
            CRect r = ProjectBox(b);
            CPen* pOld = pDC->SelectObject(services->GetPen(CViewServices::PEN_SELECTED));
            DrawBoxOutline(pDC, &r);
            pDC->SelectObject(pOld);
        }
    } else if (m_nState == 10 || m_nState == 11) {
        CPen* pRotate = services->GetPen(CViewServices::PEN_ROTATE);
        CPen* pOld = pDC->SelectObject(pRotate);
        if (!pOld && !m_bRotatePenReported) {
            // Painting repeats; one box tells the user.
            m_bRotatePenReported = TRUE;
            Report().Box(MB_OK, "Couldn't select Rotate pen!\n");
        }
        int h, v, d;
        PlaneAxes(GetPlaneType(), h, v, d);
        CPoint a, b;
        ProjectOnCanvas(m_ptRotateStart.x, m_ptRotateStart.y, a);
        ProjectOnCanvas(m_ptRotateEnd.x, m_ptRotateEnd.y, b);
        pDC->MoveTo(ToBitmap(a));
        pDC->LineTo(ToBitmap(b));
        if (pOld)
            pDC->SelectObject(pOld);
    }
    m_sizePaintCanvas = CSize(0, 0);
}

void CMapXYView::DrawBoxOutline(CDC* pDC, RECT* pRect)
{
    CPoint pts[5] = {ToBitmap(CPoint(pRect->left, pRect->top)), ToBitmap(CPoint(pRect->right, pRect->top)),
                     ToBitmap(CPoint(pRect->right, pRect->bottom)), ToBitmap(CPoint(pRect->left, pRect->bottom)),
                     ToBitmap(CPoint(pRect->left, pRect->top))};
    pDC->Polyline(pts, 5);
}

void CMapXYView::DrawAngleMark(CDC* pDC, RECT* pRect, LPCSTR angle)
{
    static const char* const kAngles[8] = {"0", "45", "90", "135", "180", "225", "270", "315"};
    int which = -1;
    for (int i = 0; i < 8; ++i)
        if (lstrcmpA(angle, kAngles[i]) == 0)
            which = i;
    if (which < 0)
        return;
    int a = which * 45;
    int cx = (pRect->left + pRect->right) / 2, cy = (pRect->top + pRect->bottom) / 2;
    int x = a == 0 || a == 45 || a == 315 ? pRect->right - 2 : a == 90 || a == 270 ? cx : pRect->left + 2;
    int y = a == 45 || a == 90 || a == 135 ? pRect->top + 2 : a == 0 || a == 180 ? cy : pRect->bottom - 2;
    CPoint p = ToBitmap(CPoint(x, y));
    pDC->Ellipse(p.x - 2, p.y - 2, p.x + 2, p.y + 2);
}

void CMapXYView::SelectPenIfNew(CDC* pDC, CPen* pPen, CPen*& pCurrent)
{
    if (pPen != pCurrent) {
        pDC->SelectObject(pPen);
        pCurrent = pPen;
    }
}

CPen* CMapXYView::PenForThing(SThing* pThing)
{
    CViewServices* services = GetViewServices();
    Map* pMap = GetMap();
    Entity* owner = nullptr;
    if (pThing->GetKind() == 0) {
        Brush* b = static_cast<Brush*>(pThing);
        if (IsWorldBrush(pMap, b))
            return services->GetPen(CViewServices::PEN_BRUSH);
        owner = b->GetOwner();
    } else {
        owner = static_cast<Entity*>(pThing);
    }
    const CString* cls = owner->FindValue("classname");
    CPen* pen = cls ? services->GetEntityPen(*cls) : nullptr;
    return pen ? pen : services->GetPen(CViewServices::PEN_ENTITY);
}

BOOL CMapXYView::Culled(const short* box, const CRect& clipWorld) const
{
    int h, v, d;
    PlaneAxes(GetPlaneType(), h, v, d);
    return box[h * 2 + 1] < clipWorld.left || box[h * 2] > clipWorld.right || box[v * 2 + 1] < clipWorld.top ||
           box[v * 2] > clipWorld.bottom;
}

void CMapXYView::DrawBrush(CDC* pDC, Brush* pBrush, const CRect& clipWorld, BOOL bAsBox, void* pOnlyFace)
{
    if (bAsBox && !pOnlyFace && pBrush->IsIsothetic() && pBrush->GetFaceCount() == 6) {
        CRect r = ProjectBox(pBrush->GetBounds());
        DrawBoxOutline(pDC, &r);
        return;
    }
    int h, v, d;
    PlaneAxes(GetPlaneType(), h, v, d);
    std::vector<POINT> run;
    auto flush = [&]() {
        if (run.size() >= 2)
            pDC->Polyline(run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (Face& f : pBrush->GetFaces()) {
        if (pOnlyFace && &f != pOnlyFace)
            continue;
        size_t n = f.rounded.size();
        if (n < 2)
            continue;
        // Consecutive edges that pass the cull go out as one polyline: the same pixels as
        // one line per edge, with far fewer calls.
        for (size_t i = 0; i < n; ++i) {
            const auto& a = f.rounded[i];
            const auto& b = f.rounded[(i + 1) % n];
            int h0 = a[h], h1 = b[h], v0 = a[v], v1 = b[v];
            if (h0 > h1)
                std::swap(h0, h1);
            if (v0 > v1)
                std::swap(v0, v1);
            if (h1 + 1 < clipWorld.left || h0 - 1 > clipWorld.right || v1 + 1 < clipWorld.top ||
                v0 - 1 > clipWorld.bottom) {
                flush();
                continue;
            }
            if (run.empty()) {
                CPoint p;
                ProjectOnCanvas(a[h], a[v], p);
                run.push_back(ToBitmap(p));
            }
            CPoint p;
            ProjectOnCanvas(b[h], b[v], p);
            run.push_back(ToBitmap(p));
        }
        flush();
    }
}

void CMapXYView::DrawObjects(CDC* pDC)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    CViewServices* services = GetViewServices();
    int type = GetPlaneType();

    CRect clip = m_rcCanvas;
    int grow = m_scale > 1.0f ? static_cast<int>(std::ceil(m_scale)) : 1;
    clip.InflateRect(grow, grow);
    DeviceRectToWorld(clip);
    // World y grows upwards: top holds the larger value.
    clip.NormalizeRect();

    CPen* pStart = pDC->SelectObject(services->GetPen(CViewServices::PEN_BRUSH));
    CPen* pCurrent = services->GetPen(CViewServices::PEN_BRUSH);
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);

    // The camera's face mode draws selected objects in the first pass too.
    BOOL faceMode = g_faceMode;

    CPtrList& list = GetDrawList();
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(list.GetNext(pos));
        if (t->IsSelected() && !faceMode)
            continue;
        if (Culled(t->GetBounds(), clip))
            continue;
        SelectPenIfNew(pDC, PenForThing(t), pCurrent);
        if (t->GetKind() != 0) {
            CRect r = ProjectBox(t->GetBounds());
            DrawBoxOutline(pDC, &r);
            if (type == VIEW_XY) {
                const CString* angle = static_cast<Entity*>(t)->FindValue("angle");
                if (angle)
                    DrawAngleMark(pDC, &r, *angle);
            }
        } else {
            DrawBrush(pDC, static_cast<Brush*>(t), clip, TRUE, nullptr);
        }
    }

    // Target lines from each source to every destination its "target" names.
    std::vector<TargetLine> lines;
    CollectTargetLines(lines);
    for (const TargetLine& line : lines) {
        CPen* pen = services->GetEntityPen(line.destinationClass);
        SelectPenIfNew(pDC, pen ? pen : services->GetPen(CViewServices::PEN_ENTITY), pCurrent);
        int sc[3], dc[3], m[3];
        TargetLineEnd(line.source, sc);
        TargetLineEnd(line.destination, dc);
        for (int i = 0; i < 3; ++i)
            m[i] = (sc[i] + dc[i]) / 2;
        pDC->MoveTo(ToBitmap(ProjectPoint(sc[0], sc[1], sc[2])));
        pDC->LineTo(ToBitmap(ProjectPoint(dc[0], dc[1], dc[2])));
        double a = std::atan2(static_cast<double>(sc[1] - dc[1]), static_cast<double>(dc[0] - sc[0]));
        for (int k = 0; k < 2; ++k) {
            double b = k == 0 ? a + 0.7853981852531433 - 1.5707963705062866
                              : a - 0.7853981852531433 - 1.5707963705062866;
            pDC->MoveTo(ToBitmap(ProjectPoint(m[0], m[1], m[2])));
            pDC->LineTo(ToBitmap(ProjectPoint(m[0] + static_cast<int>(kTargetStrokeLength * std::cos(b)),
                                              m[1] + static_cast<int>(kTargetStrokeLength * std::sin(b)), m[2])));
        }
    }

    CPtrList& sel = pMap->GetSelection();
    if (!sel.IsEmpty()) {
        SelectPenIfNew(pDC, services->GetPen(CViewServices::PEN_SELECTED), pCurrent);
        pMap->m_selectionMaxZ = -2147483647;
        pMap->m_selectionMinZ = 2147483647;
        Face* picked = pMap->GetPickedFace();
        for (POSITION pos = sel.GetHeadPosition(); pos;) {
            SThing* t = static_cast<SThing*>(sel.GetNext(pos));
            const short* b = t->GetBounds();
            if (b[BOX_MAXZ] > pMap->m_selectionMaxZ)
                pMap->m_selectionMaxZ = b[BOX_MAXZ];
            if (b[BOX_MINZ] < pMap->m_selectionMinZ)
                pMap->m_selectionMinZ = b[BOX_MINZ];
            if (Culled(b, clip))
                continue;
            if (t->GetKind() != 0) {
                CRect r = ProjectBox(b);
                DrawBoxOutline(pDC, &r);
            } else {
                DrawBrush(pDC, static_cast<Brush*>(t), clip, !faceMode, picked);
            }
        }
        if (sel.GetCount() == 1 && static_cast<SThing*>(sel.GetHead())->GetKind() == 0) {
            pMap->RebuildHandlePoints(static_cast<Brush*>(sel.GetHead()));
            struct
            {
                CPtrList* list;
                LPCSTR key;
                DWORD def;
            } kinds[3] = {{&pMap->GetVertexPoints(), "Vertex Point", 0xFFFF00},
                          {&pMap->GetEdgePoints(), "Edge Point", 0x00FF00},
                          {&pMap->GetFacePoints(), "Face Point", 0x0000FF}};
            for (auto& k : kinds) {
                COLORREF color = services->GetSettingColor(k.key, k.def);
                for (POSITION pos = k.list->GetHeadPosition(); pos;) {
                    const short* p = static_cast<const short*>(k.list->GetNext(pos));
                    CPoint c = ToBitmap(ProjectPoint(p[0], p[1], p[2]));
                    pDC->FillSolidRect(c.x - 2, c.y - 2, 5, 5, color);
                }
            }
        }
    }

    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pStart);
}

void CMapXYView::DrawCameras(CDC* pDC)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    CPen* pOld = pDC->SelectObject(GetViewServices()->GetPen(CViewServices::PEN_CAMERA_EYE));
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    for (POSITION pos = pMap->GetCameras().GetHeadPosition(); pos;) {
        CameraRecord* cam = static_cast<CameraRecord*>(pMap->GetCameras().GetNext(pos));
        CPoint c = ToBitmap(ProjectPoint(cam->tx, -cam->tz, -cam->ty));
        pDC->Ellipse(c.x - 15, c.y - 7, c.x + 15, c.y + 7);
        pDC->Ellipse(c.x - 7, c.y - 7, c.x + 7, c.y + 7);
        if (GetPlaneType() == VIEW_XY) {
            for (int k = 0; k < 2; ++k) {
                double deg = (-90.0 - cam->yaw) + (k == 0 ? 45.0 : -45.0);
                double t = (2 * deg) * 3.1415927 * 0.002777777777777778;
                pDC->MoveTo(c);
                pDC->LineTo(c.x + static_cast<int>(std::floor(35 * std::cos(t) + 0.5)),
                            c.y - static_cast<int>(std::floor(35 * std::sin(t) + 0.5)));
            }
        }
    }
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOld);
}

void CMapXYView::DrawOrigin(CDC* pDC)
{
    CSize c = m_sizePaintCanvas;
    CPoint centre(c.cx >> 1, c.cy >> 1);
    CRect square(centre.x - 10, centre.y - 10, centre.x + 10, centre.y + 10);
    CRect meet;
    if (!meet.IntersectRect(&square, &m_rcCanvas))
        return;
    CPen* pOld = pDC->SelectObject(GetViewServices()->GetPen(CViewServices::PEN_SELECTED));
    CPoint p = ToBitmap(centre);
    pDC->MoveTo(p.x - 10, p.y);
    pDC->LineTo(p.x + 10, p.y);
    pDC->MoveTo(p.x, p.y - 10);
    pDC->LineTo(p.x, p.y + 10);
    pDC->SelectObject(pOld);
}

// ---------------------------------------------------------------------------
// Updates

void CMapXYView::InvalidateBounds(const short* box)
{
    CRect r = ProjectBox(box);
    r.InflateRect(3, 3);
    CRect visible(CPoint(0, 0), GetTotalSize());
    if (m_hWnd) {
        CRect client;
        GetClientRect(&client);
        client.OffsetRect(GetDeviceScrollPosition());
        visible.IntersectRect(&visible, &client);
    }
    r.IntersectRect(&r, &visible);
    r.right += 1;
    r.bottom += 1;
    r.OffsetRect(-GetDeviceScrollPosition());
    m_rcUpdate = r;
}

void CMapXYView::DrawUpdateRectNow()
{
    if (!m_hWnd)
        return;
    // Invalid first, so that a paint already pending there does not draw it again afterwards.
    InvalidateRect(&m_rcUpdate, FALSE);
    CClientDC dc(this);
    OnPrepareDC(&dc);
    DrawMap(&dc);
    ValidateRect(&m_rcUpdate);
}

void CMapXYView::RedrawNow(const short* box)
{
    if (!m_hWnd)
        return;
    short area[6] = {box[0], box[1], box[2], box[3], box[4], box[5]};
    WidenForTargetLines(area);
    InvalidateBounds(area);
    DrawUpdateRectNow();
}

void CMapXYView::RedrawNow(const short* box, LPARAM hint)
{
    RedrawNow(box);
    if (Map* pMap = GetMap()) {
        CUpdateHint update(box);
        pMap->UpdateAllViews(this, hint, &update);
    }
}

void CMapXYView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CMapView::OnUpdate(pSender, lHint, pHint);
    // A view that draws without a window (printing, the benchmark) has nothing to invalidate.
    if (!m_hWnd)
        return;
    const short* box = pHint && pHint->IsKindOf(RUNTIME_CLASS(CUpdateHint)) ? static_cast<CUpdateHint*>(pHint)->box
                                                                            : nullptr;
    CMapFrame* pFrame = GetMapFrame();
    Map* pMap = GetMap();
    switch (lHint) {
    case HINT_REDRAW:
        Invalidate(TRUE);
        UpdateWindow();
        break;
    case HINT_VIEW_TYPE:
        Invalidate(TRUE);
        UpdateWindow();
        break;
    case HINT_DELETED:
        if (pMap)
            pMap->ClearHandlePoints();
        // A deleted object's target lines can no longer be found to be redrawn: the view is
        // drawn whole, or pieces of them stay on the screen.
        if (pMap && pMap->GetShowTargetPaths() && GetPlaneType() == VIEW_XY) {
            Invalidate(TRUE);
            UpdateWindow();
            break;
        }
        // fall through
    case HINT_CHANGED:
    case HINT_MOVED:
    case HINT_DRAGGED:
        if (!box) {
            Invalidate(TRUE);
            UpdateWindow();
            break;
        }
        {
            short area[6] = {box[0], box[1], box[2], box[3], box[4], box[5]};
            WidenForTargetLines(area);
            InvalidateBounds(area);
        }
        InvalidateRect(&m_rcUpdate, FALSE);
        UpdateWindow();
        break;
    case HINT_OPENED:
        CenterOnPlayerStart();
        Invalidate(TRUE);
        UpdateWindow();
        break;
    case HINT_SELECTION:
        RebuildVisibleList(TRUE);
        break;
    case HINT_DEPTH_CLIP:
        if (pFrame && pSender == static_cast<CView*>(pFrame->GetZView())) {
            RebuildVisibleList(FALSE);
            Invalidate(TRUE);
        }
        break;
    case HINT_LINKED_SELECTION:
        IntersectDepthClip();
        break;
    case HINT_CLIP_TO_OBJECT:
    case HINT_UNCLIP_TO_OBJECT:
    case HINT_DEFAULT_TEXTURE:
    case HINT_TEXTURE_BROWSER:
    case HINT_TEXTURE_ADJUST:
    case HINT_VIEW_CLICKED:
        break;
    case HINT_CAMERA:
    case 15: {
        if (!box) {
            Invalidate(FALSE);
            UpdateWindow();
            break;
        }
        CRect r = ProjectBox(box);
        r.InflateRect(35, 35);
        r.OffsetRect(-GetDeviceScrollPosition());
        CRect client;
        GetClientRect(&client);
        r.IntersectRect(&r, &client);
        r.right += 1;
        r.bottom += 1;
        m_rcUpdate = r;
        InvalidateRect(&r, FALSE);
        UpdateWindow();
        break;
    }
    case HINT_DOCUMENTS:
        Invalidate(TRUE);
        break;
    case HINT_TARGET_PATHS:
        if (GetPlaneType() == VIEW_XY)
            Invalidate(TRUE);
        break;
    default:
        Invalidate(TRUE);
        UpdateWindow();
        break;
    }
}

void CMapXYView::CenterOnPlayerStart()
{
    Map* pMap = GetMap();
    CSize total = GetTotalSize();
    CRect client(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&client);
    CPoint centre(total.cx / 2, total.cy / 2);
    if (pMap) {
        for (POSITION pos = pMap->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(pMap->GetEntities().GetNext(pos));
            const CString* cls = e->FindValue("classname");
            if (cls && *cls == "info_player_start") {
                const short* b = e->GetBounds();
                centre = ProjectPoint((b[0] + b[1]) / 2, (b[2] + b[3]) / 2, (b[4] + b[5]) / 2);
                break;
            }
        }
    }
    ScrollToDevicePosition(CPoint(centre.x - client.Width() / 2, centre.y - client.Height() / 2));
}

void CMapXYView::CollectDrawList()
{
    // The window's own list: the map's visible list is built when the map is read or made.
    CMapFrame* pFrame = GetMapFrame();
    Map* pMap = GetMap();
    if (!pFrame || !pMap)
        return;
    pFrame->ClearObjectOrder();
    pMap->CollectObjects(pFrame->GetObjectOrder());
}

void CMapXYView::RebuildVisibleList(BOOL bIncludeSelected)
{
    CMapFrame* pFrame = GetMapFrame();
    Map* pMap = GetMap();
    if (!pFrame || !pMap)
        return;
    CPtrList& order = pFrame->GetObjectOrder();
    order.RemoveAll();
    int upper = 4096, lower = -4096;
    if (CMapZView* pZ = pFrame->GetZView())
        pZ->GetClipRange(upper, lower);
    int h, v, d;
    PlaneAxes(GetPlaneType(), h, v, d);
    CEditorServices* services = GetEditorServices();
    CPtrList all;
    pMap->CollectObjects(all);
    for (POSITION pos = all.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(all.GetNext(pos));
        if (bIncludeSelected && t->IsSelected()) {
            t->SetVisible(true);
            order.AddTail(t);
            continue;
        }
        Entity* e = t->GetKind() == 0 ? static_cast<Brush*>(t)->GetOwner() : static_cast<Entity*>(t);
        if (e)
            e->SThing::SetVisible(false);
        if (e && services->IsEntityVisible(e->ValueForKey("classname")) == 0)
            continue;
        const short* b = t->GetBounds();
        if (b[d * 2] >= lower && b[d * 2 + 1] <= upper) {
            t->SetVisible(true);
            order.AddTail(t);
        }
    }
}

void CMapXYView::IntersectDepthClip()
{
    CMapFrame* pFrame = GetMapFrame();
    Map* pMap = GetMap();
    if (!pFrame || !pMap)
        return;
    CMapZView* pZ = pFrame->GetZView();
    if (!pZ)
        return;
    int upper, lower;
    pZ->GetClipRange(upper, lower);
    int h, v, d;
    PlaneAxes(GetPlaneType(), h, v, d);
    short* clip = pMap->GetDepthClip();
    if (lower > clip[d * 2])
        clip[d * 2] = static_cast<short>(lower);
    if (upper < clip[d * 2 + 1])
        clip[d * 2 + 1] = static_cast<short>(upper);
}

// ---------------------------------------------------------------------------
// Status panes

CString CMapXYView::PositionPaneText()
{
    CPoint p = m_ptLastMouse;
    if (IsSnapToGrid())
        SnapToGrid(p);
    DeviceToWorld(p);
    CString text;
    text.Format("@: %d, %d", p.x, p.y);
    return text;
}

void CMapXYView::OnUpdatePanePosition(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(PositionPaneText());
}

// ---------------------------------------------------------------------------
// Clipboard and drag and drop

int CMapXYView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CMapView::OnCreate(lpcs) == -1)
        return -1;
    // A plane view that cannot take drops is not made: the editor initialises OLE first.
    if (!m_dropTarget.Register(this))
        return -1;
    return 0;
}

void CMapXYView::OnDestroy()
{
    m_dropTarget.Revoke();
    CMapView::OnDestroy();
}

HGLOBAL CMapXYView::PackSelection()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() == 0 || GetMapDataFormat() == 0)
        return nullptr;
    // Brushes that are not valid stay out of the text: with nothing else selected it would hold a
    // world alone, which a paste, a clone or a drop refuses as holding nothing. Nothing is copied,
    // and the box says why.
    CPtrList left;
    CollectUncopied(pMap, left);
    if (left.GetCount() == pMap->GetSelectionCount()) {
        TellUncopied(left.GetCount());
        return nullptr;
    }
    CString text;
    if (!pMap->WritePartialMap(text))
        return nullptr;
    if (text.IsEmpty()) {
        Report().Box(MB_OK, "%s", "No brushes were copied");
        return nullptr;
    }
    if (text[0] != '{') {
        Report().Box(MB_OK, "%s", "An error occured while attempting to copy\nthe objects.  Please retry the operation.");
        return nullptr;
    }
    HGLOBAL h = PackMapData(text, static_cast<SIZE_T>(text.GetLength()));
    if (!h)
        Report().Box(MB_OK, "%s", "Couldn't allocate memory for Drag and Drop brushes");
    return h;
}

BOOL CMapXYView::Copy()
{
    // The block is made before the clipboard is emptied: a failed copy keeps the user's data.
    HGLOBAL h = PackSelection();
    if (!h)
        return FALSE;
    const UINT cf = GetMapDataFormat();
    if (!::OpenClipboard(m_hWnd)) {
        ::GlobalFree(h);
        return FALSE;
    }
    ::EmptyClipboard();
    BOOL ok = ::SetClipboardData(cf, h) != nullptr;
    if (!ok)
        ::GlobalFree(h); // the clipboard took nothing
    ::CloseClipboard();
    return ok;
}

void CMapXYView::CollectUncopied(Map* pMap, CPtrList& left)
{
    for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(pMap->GetSelection().GetNext(pos));
        if (t->GetKind() == 0 && !static_cast<Brush*>(t)->IsValid())
            left.AddTail(t);
    }
}

void CMapXYView::KeepUncopied(Map* pMap, const CPtrList& left)
{
    // Only objects still in the map: the pointers are compared, never followed, until found.
    CPtrList present;
    pMap->CollectObjects(present);
    int kept = 0;
    for (POSITION pos = left.GetHeadPosition(); pos;) {
        void* p = left.GetNext(pos);
        if (!present.Find(p))
            continue;
        pMap->SelectObject(static_cast<SThing*>(p), FALSE);
        ++kept;
    }
    if (kept == 0)
        return;
    pMap->UpdateCurrentEntity();
    pMap->SelectionChanged();
    TellUncopied(kept);
}

void CMapXYView::TellUncopied(int count)
{
    if (count == 1)
        Report().Box(MB_OK, "%s", "A selected brush is not valid and was not copied.\nIt stays in the map, selected.");
    else
        Report().Box(MB_OK, "%d selected brushes are not valid and were not copied.\nThey stay in the map, selected.",
                     count);
}

void CMapXYView::Cut()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() == 0 || !Copy())
        return;
    short box[6];
    pMap->GetSelectionBounds(box);
    // What the copy left out is not deleted: it leaves the selection before the deletion.
    CPtrList left;
    CollectUncopied(pMap, left);
    for (POSITION pos = left.GetHeadPosition(); pos;)
        pMap->DeselectObject(static_cast<SThing*>(left.GetNext(pos)));
    // The normal deletion path: emptied owners go, the current entity and lists are cleared.
    if (pMap->GetSelectionCount() > 0 && !pMap->DeleteSelection(TRUE)) {
        KeepUncopied(pMap, left);
        return;
    }
    KeepUncopied(pMap, left);
    pMap->SelectionChanged();
    RedrawNow(box);
}

void CMapXYView::RefreshAfterPaste()
{
    Map* pMap = GetMap();
    if (!pMap || pMap->GetSelectionCount() == 0)
        return;
    pMap->ClearHandlePoints();
    short box[6];
    pMap->GetSelectionBounds(box);
    pMap->DeselectAll();
    pMap->SelectionChanged();
    RedrawNow(box, HINT_CHANGED);
}

void CMapXYView::PasteOffset(int viewType, int grid, int& dx, int& dy, int& dz)
{
    dx = dy = dz = 0;
    switch (viewType) {
    case 256:
        dx = grid;
        dz = -grid;
        break;
    case 257:
        dy = grid;
        dz = -grid;
        break;
    default:
        dx = grid;
        dy = -grid;
        break;
    }
}

// Whether an object that was just read moves with the others when they are placed: an entity
// that no move can place (its origin unreadable, its class without a size) has been told of by
// the read, and stays where the read put it.
static bool MovesWhenPlaced(SThing* t)
{
    return t->GetKind() != 1 || static_cast<Entity*>(t)->CanMove();
}

namespace {

// A paste lands one grid step away from the copied objects.
class CPastePlacement : public CImportPlacement
{
public:
    CPastePlacement(CMapXYView* pView, int dx, int dy, int dz) : m_pView(pView), m_d{dx, dy, dz} {}
    void AddMoves(const CPtrList& objects, CObjectEdit& edit) override
    {
        if (!m_d[0] && !m_d[1] && !m_d[2])
            return;
        for (POSITION pos = objects.GetHeadPosition(); pos;) {
            SThing* t = static_cast<SThing*>(objects.GetNext(pos));
            if (MovesWhenPlaced(t))
                edit.AddMove(t, SThing::TRANSLATE, m_d[0], m_d[1], m_d[2]);
        }
    }
    LPCSTR Verb() const override { return "pasted"; }
    void Joining() override { m_pView->RefreshAfterPaste(); }

private:
    CMapXYView* m_pView;
    int m_d[3];
};

// A drop centres the dropped objects on its point.
class CDropPlacement : public CImportPlacement
{
public:
    CDropPlacement(CMapXYView* pView, CPoint point) : m_pView(pView), m_point(point) {}
    void AddMoves(const CPtrList& objects, CObjectEdit& edit) override
    {
        m_pView->GetDropOffset(objects, m_point, m_pView->GetPlaneType(), edit);
    }
    LPCSTR Verb() const override { return "dropped"; }
    void Joining() override { m_pView->RefreshAfterPaste(); }

private:
    CMapXYView* m_pView;
    CPoint m_point;
};

} // namespace

BOOL CMapXYView::ImportAndShow(CString& text, CImportPlacement& place)
{
    if (!GetMap())
        return FALSE;
    // The importer reads a buffer of its own: the text is not touched.
    std::vector<char> buffer(static_cast<size_t>(text.GetLength()) + 1);
    memcpy(buffer.data(), static_cast<LPCSTR>(text), buffer.size());
    return ImportMapText(buffer.data(), static_cast<size_t>(text.GetLength()), nullptr, &place);
}

void CMapXYView::Paste()
{
    Map* pMap = GetMap();
    UINT cf = GetMapDataFormat();
    if (!pMap || !pMap->ApplyPendingEntityEdits() || cf == 0 || !::IsClipboardFormatAvailable(cf))
        return;
    if (!::OpenClipboard(m_hWnd))
        return;
    CString text;
    BOOL ok = UnpackMapData(::GetClipboardData(cf), text);
    ::CloseClipboard();
    if (!ok)
        return;
    int dx, dy, dz;
    PasteOffset(GetPlaneType(), m_nGrid, dx, dy, dz);
    CPastePlacement place(this, dx, dy, dz);
    if (!ImportAndShow(text, place))
        return;
    pMap->SelectionChanged();
    short box[6];
    pMap->GetSelectionBounds(box);
    RedrawNow(box, HINT_CHANGED);
}

void CMapXYView::Clone()
{
    if (Copy())
        Paste();
}

void CMapXYView::GetDropOffset(const CPtrList& objects, CPoint point, int viewType, CObjectEdit& edit)
{
    CPoint drop = point + GetDeviceScrollPosition();
    if (IsSnapToGrid())
        SnapToGrid(drop);
    DeviceToWorld(drop);
    int h, v, d;
    PlaneAxes(viewType, h, v, d);
    short box[6];
    Map::GetBounds(objects, box);
    const int ch = box[h * 2] + (box[h * 2 + 1] - box[h * 2]) / 2;
    const int cv = box[v * 2] + (box[v * 2 + 1] - box[v * 2]) / 2;
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(objects.GetNext(pos));
        const short* b = t->GetBounds();
        const int th = b[h * 2] + (b[h * 2 + 1] - b[h * 2]) / 2;
        const int tv = b[v * 2] + (b[v * 2 + 1] - b[v * 2]) / 2;
        if (MovesWhenPlaced(t))
            edit.AddMove(t, SThing::MOVE_TO, drop.x + th - ch, drop.y + tv - cv, 0, viewType);
    }
}

DROPEFFECT CMapXYView::StartDragDrop()
{
    Map* pMap = GetMap();
    HGLOBAL h = PackSelection();
    if (!pMap || !h)
        return DROPEFFECT_NONE;
    const UINT cf = GetMapDataFormat();
    // The objects dragged, remembered now: a drop back into this map changes the selection. A
    // move deletes only what the data holds: what the copy left out stays.
    CPtrList left, dragged;
    CollectUncopied(pMap, left);
    for (POSITION pos = pMap->GetSelection().GetHeadPosition(); pos;) {
        void* p = pMap->GetSelection().GetNext(pos);
        if (!left.Find(p))
            dragged.AddTail(p);
    }
    COleDataSource* pSource = new COleDataSource;
    pSource->CacheGlobalData(static_cast<CLIPFORMAT>(cf), h); // the source owns the block
    DROPEFFECT effect = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    pSource->InternalRelease();
    if ((effect & DROPEFFECT_MOVE) && !(effect & DROPEFFECT_COPY)) {
        DeleteDraggedObjects(dragged);
        KeepUncopied(pMap, left);
    }
    return effect;
}

void CMapXYView::DeleteDraggedObjects(const CPtrList& dragged)
{
    Map* pMap = GetMap();
    if (!pMap)
        return;
    // Only objects still in the map: the pointers are compared, never followed, until found.
    CPtrList present;
    pMap->CollectObjects(present);
    CPtrList doomed;
    for (POSITION pos = present.GetHeadPosition(); pos;) {
        void* p = present.GetNext(pos);
        if (dragged.Find(p))
            doomed.AddTail(p);
    }
    if (doomed.IsEmpty())
        return;
    pMap->DeselectAll();
    for (POSITION pos = doomed.GetHeadPosition(); pos;)
        pMap->SelectObject(static_cast<SThing*>(doomed.GetNext(pos)), FALSE);
    pMap->DeleteSelection(TRUE);
}

DROPEFFECT CMapXYView::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return OnDragOver(pDataObject, dwKeyState, point);
}

DROPEFFECT CMapXYView::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint)
{
    UINT cf = GetMapDataFormat();
    // Foreign data gets no effect, on entry and on every movement.
    if (!pDataObject || cf == 0 || !pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(cf)))
        return DROPEFFECT_NONE;
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CMapXYView::OnDragLeave()
{
    CMapView::OnDragLeave();
}

BOOL CMapXYView::OnDrop(COleDataObject* pDataObject, DROPEFFECT, CPoint point)
{
    OnDragLeave();
    Map* pMap = GetMap();
    UINT cf = GetMapDataFormat();
    if (!pMap || !pDataObject || cf == 0)
        return FALSE;
    // An object dragged out of the object list is read from its file, whole: the map data beside
    // it holds the text only to a first NUL byte.
    CString file;
    const UINT cfFile = GetObjectFileFormat();
    if (cfFile != 0 && pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(cfFile))) {
        HGLOBAL hFile = pDataObject->GetGlobalData(static_cast<CLIPFORMAT>(cfFile));
        UnpackObjectFilePath(hFile, file);
        if (hFile)
            ::GlobalFree(hFile);
    }
    // A drop whose place is refused adds nothing and reports no effect: a moving drag keeps its
    // objects.
    CDropPlacement place(this, point);
    if (!file.IsEmpty()) {
        if (!ReadObjectFile(file, &place))
            return FALSE;
    } else {
        HGLOBAL h = pDataObject->GetGlobalData(static_cast<CLIPFORMAT>(cf));
        CString text;
        BOOL ok = UnpackMapData(h, text);
        if (h)
            ::GlobalFree(h);
        if (!ok || !ImportAndShow(text, place))
            return FALSE;
    }
    short box[6];
    pMap->SelectionChanged();
    pMap->GetSelectionBounds(box);
    RedrawNow(box, HINT_CHANGED);
    return TRUE;
}

void CMapXYView::OnUpdateNeedSelection(CCmdUI* pCmdUI)
{
    Map* pMap = GetMap();
    pCmdUI->Enable(pMap && pMap->GetSelectionCount() > 0);
}

void CMapXYView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    UINT cf = GetMapDataFormat();
    pCmdUI->Enable(cf != 0 && ::IsClipboardFormatAvailable(cf));
}
