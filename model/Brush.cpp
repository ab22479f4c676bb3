#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "MapText.h"
#include "Reporter.h"
#include "Services.h"
#include "Texture.h"
#include "Tokenizer.h"
#include <cmath>
#include <cstdio>
#include <utility>

static const float kEpsilon = 0.01f;

static void SetPoint(short* p, short x, short y, short z)
{
    p[0] = x;
    p[1] = y;
    p[2] = z;
}

Brush::Brush(Entity* pOwner, short* box) : SThing(0, true, false), m_pOwner(pOwner)
{
    for (int a = 0; a < 3; ++a)
        if (box[a * 2] > box[a * 2 + 1])
            SwapShort(box[a * 2], box[a * 2 + 1]);
    short x0 = box[BOX_MINX], x1 = box[BOX_MAXX], y0 = box[BOX_MINY], y1 = box[BOX_MAXY];
    short z0 = box[BOX_MINZ], z1 = box[BOX_MAXZ];
    m_faces.resize(6);
    Texture* def = GetEditorServices()->GetDefaultTexture();
    for (Face& f : m_faces) {
        f.xScale = f.yScale = 1.0f;
        f.texture = def;
    }
    SetPoint(m_faces[0].pt[0], x0, y0, z1); SetPoint(m_faces[0].pt[1], x0, y1, z1); SetPoint(m_faces[0].pt[2], x1, y1, z1);
    SetPoint(m_faces[1].pt[0], x0, y0, z0); SetPoint(m_faces[1].pt[1], x1, y0, z0); SetPoint(m_faces[1].pt[2], x1, y1, z0);
    SetPoint(m_faces[2].pt[0], x0, y1, z0); SetPoint(m_faces[2].pt[1], x0, y1, z1); SetPoint(m_faces[2].pt[2], x0, y0, z1);
    SetPoint(m_faces[3].pt[0], x1, y1, z0); SetPoint(m_faces[3].pt[1], x1, y0, z0); SetPoint(m_faces[3].pt[2], x1, y0, z1);
    SetPoint(m_faces[4].pt[0], x0, y0, z0); SetPoint(m_faces[4].pt[1], x0, y0, z1); SetPoint(m_faces[4].pt[2], x1, y0, z1);
    SetPoint(m_faces[5].pt[0], x0, y1, z0); SetPoint(m_faces[5].pt[1], x1, y1, z0); SetPoint(m_faces[5].pt[2], x1, y1, z1);
    static const BYTE classes[6] = {3, 3, 1, 1, 2, 2};
    for (int i = 0; i < 6; ++i)
        m_faces[static_cast<size_t>(i)].cls = classes[i];
    ComputePlanes();
    ClassifyAll();
    BuildWindings();
}

Brush::Brush(const Brush& other)
    : SThing(other), m_isothetic(other.m_isothetic), m_starTexture(other.m_starTexture),
      m_faces(other.m_faces), m_pOwner(other.m_pOwner), m_asRead(other.m_asRead)
{
    // The counter still advances for every object made, copies included.
    GetEditorServices()->NextObjectSerial();
}

Brush::~Brush()
{
    m_faces.clear();
    if (!m_pOwner)
        return;
    // A deleted brush leaves the map's selection as well as its entity.
    if (Map* map = m_pOwner->GetMap())
        map->ForgetObject(this);
    m_pOwner->RemoveBrush(this);
}

// The plane through a face's three points.
static void ComputePlane(Face& f)
{
    CVector p1(f.pt[0][0], f.pt[0][1], f.pt[0][2]);
    CVector p2(f.pt[1][0], f.pt[1][1], f.pt[1][2]);
    CVector p3(f.pt[2][0], f.pt[2][1], f.pt[2][2]);
    CVector a, b;
    VectorSubtract(a, p1, p2);
    VectorSubtract(b, p3, p2);
    VectorCross(f.normal, a, b);
    f.normal.Normalize();
    f.dist = static_cast<float>(VectorDot(f.normal, p1));
}

void Brush::ComputePlanes()
{
    for (Face& f : m_faces)
        ComputePlane(f);
}

// The axis of the coordinate that a face's three points share, or -1: such a face is classed by
// its points alone.
static int SharedAxis(const Face& f)
{
    for (int a = 0; a < 3; ++a)
        if (f.pt[0][a] == f.pt[1][a] && f.pt[1][a] == f.pt[2][a])
            return a;
    return -1;
}

void Brush::ClassifyFacesAsRead()
{
    for (Face& f : m_faces)
        if (SharedAxis(f) < 0)
            ComputePlane(f);
    ClassifyAll();
}

static short Round16(float v)
{
    return RoundCoord(v);
}

static void RoundWinding(Face& f)
{
    f.rounded.resize(f.winding.size());
    for (size_t k = 0; k < f.winding.size(); ++k) {
        f.rounded[k][0] = Round16(f.winding[k].x);
        f.rounded[k][1] = Round16(f.winding[k].y);
        f.rounded[k][2] = Round16(f.winding[k].z);
    }
}

// Reports of geometry failures are held back while a map is read: the reader keeps such brushes
// as text and tells about them once.
static int s_quietGeometry = 0;

Brush::QuietGeometry::QuietGeometry() { ++s_quietGeometry; }
Brush::QuietGeometry::~QuietGeometry() { --s_quietGeometry; }

void Brush::BuildWindings()
{
    ComputePlanes();
    ClipWindings();
}

// The same sum as VectorDot, inline: the clip loop runs it for every point against every plane.
static inline float PlaneSide(const CVector& n, const CVector& p, float dist)
{
    return static_cast<float>(static_cast<double>(n.x) * p.x + static_cast<double>(n.y) * p.y +
                              static_cast<double>(n.z) * p.z) -
           dist;
}

void Brush::BuildWindingsGeneral()
{
    ComputePlanes();
    ClipWindings(true);
}

// Where the edge from a to b (at distances da and db from a plane, on its two sides) crosses it.
static inline CVector Crossing(const CVector& a, const CVector& b, float da, float db)
{
    const float frac = da / (da - db);
    return CVector(a.x + (b.x - a.x) * frac, a.y + (b.y - a.y) * frac, a.z + (b.z - a.z) * frac);
}

// The axis of a plane whose normal lies along one (0, 1, 2), or -1.
static inline int PlaneAxis(const CVector& n)
{
    if (n.y == 0 && n.z == 0 && n.x != 0)
        return 0;
    if (n.x == 0 && n.z == 0 && n.y != 0)
        return 1;
    if (n.x == 0 && n.y == 0 && n.z != 0)
        return 2;
    return -1;
}

// The texts of the failures that the clip finds, by their kinds.
static const char* ClipFailureText(int kind)
{
    switch (kind) {
    case CBrushGeometryError::NO_PLANE:
        return "The three points of a face lie on one line";
    case CBrushGeometryError::OVER_CONSTRAINED:
        return "Over-constrained face detected";
    case CBrushGeometryError::POINT_OVERFLOW:
        return "bogo point count allocated";
    default:
        return "A face has too few points";
    }
}

void Brush::ClipWindings(bool general)
{
    int face = -1;
    const int kind = ClipWindingsOrFail(general, face);
    if (kind < 0)
        return;
    if (!s_quietGeometry &&
        (kind == CBrushGeometryError::OVER_CONSTRAINED || kind == CBrushGeometryError::POINT_OVERFLOW))
        Report().Box(MB_OK, "%s", ClipFailureText(kind));
    throw CBrushGeometryError(static_cast<CBrushGeometryError::Kind>(kind), face, ClipFailureText(kind));
}

int Brush::ClipWindingsOrFail(bool general, int& failedFace)
{
    const size_t n = m_faces.size();
    // Most planes of a map lie along an axis. Their side of a point is the one product: the
    // other two terms of PlaneSide are zeros, and a product of two floats is exact in double, so
    // its float is the float product. The sides, and so every point, come out with the same bits.
    int axes[MAX_FACES + 1];
    for (size_t j = 0; j < n && j <= MAX_FACES; ++j)
        axes[j] = general ? -1 : PlaneAxis(m_faces[j].normal);
    // A winding starts with four points and the room check lets it gain at most two per clip
    // (one on a convex face), so it never holds more than this: the clip works in fixed arrays
    // (a map's load clips tens of thousands of windings).
    enum { kMaxPoints = 4 + 2 * MAX_FACES + 2, kSmall = 48 };
    // A vector's members start at zero, and clearing room for the most points on every call cost
    // more than clipping a box brush: brushes of up to 21 faces (all but a few) use a small
    // buffer, the others one on the heap.
    const size_t points = 4 + 2 * n + 2;
    CVector small[2][kSmall];
    std::vector<CVector> large;
    CVector* buffers[2] = {small[0], small[1]};
    if (points > kSmall) {
        large.resize(2 * points);
        buffers[0] = large.data();
        buffers[1] = large.data() + points;
    }
    float dists[kMaxPoints + 1];
    int sides[kMaxPoints + 1];
    for (size_t i = 0; i < n; ++i) {
        Face& f = m_faces[i];
        const CVector& nrm = f.normal;
        if (nrm.x == 0 && nrm.y == 0 && nrm.z == 0) {
            failedFace = static_cast<int>(i);
            return CBrushGeometryError::NO_PLANE;
        }
        CVector p1(f.pt[0][0], f.pt[0][1], f.pt[0][2]);
        CVector p2(f.pt[1][0], f.pt[1][1], f.pt[1][2]);
        CVector d, u, c;
        VectorSubtract(d, p1, p2);
        VectorCross(u, d, nrm);
        d.Normalize();
        u.Normalize();
        d = CVector(d.x * 16000.0f, d.y * 16000.0f, d.z * 16000.0f);
        u = CVector(u.x * 16000.0f, u.y * 16000.0f, u.z * 16000.0f);
        VectorAdd(c, p1, d);
        CVector* w = buffers[0];
        CVector* clipped = buffers[1];
        size_t count = 4;
        CVector d2(d.x * 2, d.y * 2, d.z * 2), t;
        VectorSubtract(w[0], c, u);
        VectorAdd(w[1], c, u);
        VectorSubtract(t, c, d2);
        VectorAdd(w[2], t, u);
        VectorSubtract(w[3], t, u);

        for (size_t j = 0; j < n; ++j) {
            if (j == i)
                continue;
            const Face& cf = m_faces[j];
            const int axis = j <= MAX_FACES ? axes[j] : -1;
            const float axisNormal = axis == 0 ? cf.normal.x : axis == 1 ? cf.normal.y : cf.normal.z;
            int front = 0, back = 0;
            for (size_t k = 0; k < count; ++k) {
                float s;
                if (axis >= 0) {
                    const float coord = axis == 0 ? w[k].x : axis == 1 ? w[k].y : w[k].z;
                    s = axisNormal * coord - cf.dist;
                } else {
                    s = PlaneSide(cf.normal, w[k], cf.dist);
                }
                dists[k] = s;
                // Without branches: which side a point lies on is what the processor cannot guess.
                const int isFront = s > kEpsilon, isBack = s < -kEpsilon;
                sides[k] = isFront - isBack;
                front += isFront;
                back += isBack;
            }
            const int on = static_cast<int>(count) - front - back;
            dists[count] = dists[0];
            sides[count] = sides[0];
            if (on == static_cast<int>(count))
                continue;
            if (back == 0 && front > 0) {
                failedFace = static_cast<int>(i);
                return CBrushGeometryError::OVER_CONSTRAINED;
            }
            if (front == 0)
                continue;
            if (!general && count == 4 && front == 2 && back == 2) {
                // A quadrilateral cut across (nearly every clip of a box brush): the loop below
                // would keep the two back points and put at each front point the crossing of its
                // edge towards the back, starting one point later when the front pair is the first
                // two. The same crossings in the same order, without the loop.
                size_t f = 4;
                for (size_t k = 0; k < 4; ++k)
                    if (sides[k] == 1 && sides[(k + 1) & 3] == 1)
                        f = k;
                if (f < 4) {
                    const size_t p = (f + 3) & 3, q = (f + 1) & 3, r = (f + 2) & 3;
                    const CVector in = Crossing(w[p], w[f], dists[p], dists[f]);
                    const CVector out = Crossing(w[q], w[r], dists[q], dists[r]);
                    w[f] = in;
                    w[q] = out;
                    if (f == 0) {
                        const CVector first = w[0];
                        w[0] = w[1];
                        w[1] = w[2];
                        w[2] = w[3];
                        w[3] = first;
                    }
                    continue;
                }
            }
            // Points on the plane are kept as well, so they need room too.
            const size_t room = static_cast<size_t>(back + on) + 2;
            size_t out = 0;
            for (size_t k = 0; k < count; ++k) {
                if (sides[k] != 1)
                    clipped[out++] = w[k];
                if (sides[k] != 0 && sides[k + 1] != 0 && sides[k + 1] != sides[k])
                    clipped[out++] = Crossing(w[k], w[k + 1 < count ? k + 1 : 0], dists[k], dists[k + 1]);
                if (out > room) {
                    failedFace = static_cast<int>(i);
                    return CBrushGeometryError::POINT_OVERFLOW;
                }
            }
            std::swap(w, clipped);
            count = out;
        }
        if (count > 255 || count < 3) {
            failedFace = static_cast<int>(i);
            return CBrushGeometryError::TOO_FEW_POINTS;
        }
        f.winding.assign(w, w + count);
        RoundWinding(f);
    }
    ComputeBounds();
    return -1;
}

void Brush::ComputeBounds()
{
    short box[6] = {32767, -32768, 32767, -32768, 32767, -32768};
    for (const Face& f : m_faces)
        for (const auto& p : f.rounded)
            for (int a = 0; a < 3; ++a) {
                if (p[static_cast<size_t>(a)] < box[a * 2])
                    box[a * 2] = p[static_cast<size_t>(a)];
                if (p[static_cast<size_t>(a)] > box[a * 2 + 1])
                    box[a * 2 + 1] = p[static_cast<size_t>(a)];
            }
    for (int i = 0; i < 6; ++i)
        m_box[i] = box[i];
}

void Brush::ResetFacePoints()
{
    for (Face& f : m_faces)
        for (size_t k = 0; k < 3 && k < f.rounded.size(); ++k)
            for (size_t a = 0; a < 3; ++a)
                f.pt[k][a] = f.rounded[k][a];
}

BYTE Brush::ClassifyFace(Face& f)
{
    const int axis = SharedAxis(f);
    if (axis >= 0)
        return static_cast<BYTE>(axis + 1);
    float nx = std::fabs(f.normal.x), ny = std::fabs(f.normal.y), nz = std::fabs(f.normal.z);
    if (nx >= ny && nx >= nz)
        return 4;
    if (ny >= nz && ny >= nx)
        return 5;
    if (nz >= nx && nz >= ny)
        return 6;
    Report().Box(MB_OK, "unable to classify face!!\n");
    return 0;
}

void Brush::ClassifyAll()
{
    m_isothetic = m_faces.size() == 6;
    for (Face& f : m_faces) {
        f.cls = ClassifyFace(f);
        if (f.cls == 0 || f.cls > 3)
            m_isothetic = 0;
    }
}

void Brush::CheckFaces()
{
    for (size_t i = 0; i < m_faces.size(); ++i) {
        int n = m_faces[i].GetPointCount();
        if (n < 3) {
            CString text;
            text.Format("%d points in face\n", n);
            throw CBrushGeometryError(CBrushGeometryError::TOO_FEW_POINTS, static_cast<int>(i), text);
        }
    }
    if (m_isothetic && m_faces.size() != 6)
        Report().Box(MB_OK, "isothetic brush with %d faces\n", static_cast<int>(m_faces.size()));
}

void Brush::SetTextureByName(LPCSTR name)
{
    Texture* tex = GetTextureSource()->FindTexture(name);
    if (tex)
        SetTexture(tex);
}

void Brush::SetTexture(Texture* pTexture)
{
    if (!pTexture)
        pTexture = GetEditorServices()->GetDefaultTexture();
    for (Face& f : m_faces)
        f.texture = pTexture;
}

Texture* Brush::GetCommonTexture() const
{
    if (m_faces.empty())
        return nullptr;
    Texture* t = m_faces[0].texture;
    for (const Face& f : m_faces)
        if (f.texture != t)
            return nullptr;
    return t;
}

static float PlaneDistance(const Face& f, const CVector& p)
{
    return static_cast<float>(VectorDot(f.normal, p)) - f.dist;
}

BOOL Brush::IsValid() const
{
    for (size_t i = 0; i < m_faces.size(); ++i) {
        const Face& fi = m_faces[i];
        for (const CVector& p : fi.winding)
            if (std::fabs(PlaneDistance(fi, p)) >= kEpsilon)
                return FALSE;
        for (size_t j = 0; j < m_faces.size(); ++j) {
            if (j == i)
                continue;
            for (const CVector& p : m_faces[j].winding)
                if (!(PlaneDistance(fi, p) < kEpsilon))
                    return FALSE;
        }
    }
    return TRUE;
}

BOOL Brush::ContainsBrush(const Brush& other) const
{
    for (const Face& plane : m_faces)
        for (const Face& f : other.m_faces)
            for (const CVector& p : f.winding)
                if (!(PlaneDistance(plane, p) < kEpsilon))
                    return FALSE;
    return TRUE;
}

BOOL Brush::PartlyContainsBrush(const Brush& other) const
{
    for (const Face& plane : m_faces)
        for (const Face& f : other.m_faces)
            for (const CVector& p : f.winding)
                if (PlaneDistance(plane, p) <= kEpsilon)
                    return TRUE;
    return FALSE;
}

BOOL Brush::FacesCoplanar(const Face& a, const Face& b)
{
    if (a.normal.x == b.normal.x && a.normal.y == b.normal.y && a.normal.z == b.normal.z && a.dist == b.dist)
        return TRUE;
    return a.normal.x == -b.normal.x && a.normal.y == -b.normal.y && a.normal.z == -b.normal.z &&
           a.dist == -b.dist;
}
