// Primitives inscribed in box brushes, and the two cuts: subtract and intersect.
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "Reporter.h"
#include "Services.h"
#include <cmath>
#include <memory>

static const float kEpsilon = 0.01f;

static float PlaneDistance(const Face& f, const CVector& p)
{
    return static_cast<float>(VectorDot(f.normal, p)) - f.dist;
}

static void SetPoint(short* p, int x, int y, int z)
{
    p[0] = static_cast<short>(x);
    p[1] = static_cast<short>(y);
    p[2] = static_cast<short>(z);
}

static void SetFace(Face& f, const short* a, const short* b, const short* c)
{
    for (int i = 0; i < 3; ++i) {
        f.pt[0][i] = a[i];
        f.pt[1][i] = b[i];
        f.pt[2][i] = c[i];
    }
}

// The map of the brush's owner, if any: the document whose picked face, handles and
// object lists must forget faces that are rebuilt.
static Map* MapOf(const Brush& b)
{
    return b.GetOwner() ? b.GetOwner()->GetMap() : nullptr;
}

void Brush::TakeGeometry(Brush& from)
{
    m_faces.swap(from.m_faces);
    m_isothetic = from.m_isothetic;
    for (int i = 0; i < 6; ++i)
        m_box[i] = from.m_box[i];
}

// A cut or a primitive that yields a brush that is not convex and closed has failed.
void Brush::RequireValid() const
{
    if (!IsValid())
        throw CBrushGeometryError(CBrushGeometryError::OVER_CONSTRAINED, -1, "The new brush is not valid");
}

template <class Setter> BOOL Brush::Reshape(int count, Setter setPoints)
{
    Texture* texture = m_faces.empty() ? GetEditorServices()->GetDefaultTexture() : m_faces[0].texture;
    // Built on a copy: this brush, its faces and their addresses stay as they are
    // unless the whole build succeeds.
    Brush work(*this);
    work.m_pOwner = nullptr;
    try {
        work.m_faces.assign(static_cast<size_t>(count), Face());
        setPoints(work.m_faces);
        for (Face& f : work.m_faces) {
            f.xScale = f.yScale = 1.0f;
            f.texture = texture;
        }
        work.BuildWindings();
        work.FinishTransform();
        work.RequireValid();
    } catch (CBrushGeometryError&) {
        return FALSE;
    }
    TakeGeometry(work);
    if (Map* map = MapOf(*this))
        map->ObjectsRebuilt();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Primitives

BOOL Brush::MakePyramid(int viewType)
{
    const short* m = m_box;
    const int x0 = m[BOX_MINX], x1 = m[BOX_MAXX], y0 = m[BOX_MINY], y1 = m[BOX_MAXY], z0 = m[BOX_MINZ],
              z1 = m[BOX_MAXZ];
    auto half = [](int a, int b) { return static_cast<int>(std::floor((a + b) / 2.0)); };
    // The base corners of each view: the base face, then the four side edges in turn.
    short base[4][3], A[3];
    switch (viewType) {
    case VIEW_XY:
        SetPoint(A, half(x0, x1), half(y0, y1), z1);
        SetPoint(base[0], x0, y1, z0); SetPoint(base[1], x0, y0, z0);
        SetPoint(base[2], x1, y0, z0); SetPoint(base[3], x1, y1, z0);
        break;
    case VIEW_XZ:
        SetPoint(A, half(x0, x1), y0, half(z0, z1));
        SetPoint(base[0], x0, y1, z1); SetPoint(base[1], x0, y1, z0);
        SetPoint(base[2], x1, y1, z0); SetPoint(base[3], x1, y1, z1);
        break;
    case VIEW_YZ:
        SetPoint(A, x1, half(y0, y1), half(z0, z1));
        SetPoint(base[0], x0, y0, z1); SetPoint(base[1], x0, y0, z0);
        SetPoint(base[2], x0, y1, z0); SetPoint(base[3], x0, y1, z1);
        break;
    default:
        return FALSE;
    }
    return Reshape(5, [&](std::vector<Face>& f) {
        SetFace(f[0], base[0], base[1], base[2]);
        SetFace(f[1], base[1], base[0], A);
        SetFace(f[2], base[0], base[3], A);
        SetFace(f[3], base[3], base[2], A);
        SetFace(f[4], base[2], base[1], A);
    });
}

// The wedge's faces per view, each point as the ends of the box it takes on the x, y
// and z axes ('0' the minimum, '1' the maximum); face 3 is the slope.
static const char* const kWedge[3][5][3] = {
    {{"010", "000", "100"}, {"000", "010", "011"}, {"010", "110", "011"}, {"001", "011", "110"}, {"000", "001", "100"}},
    {{"011", "010", "110"}, {"010", "011", "001"}, {"011", "111", "001"}, {"000", "001", "111"}, {"010", "000", "110"}},
    {{"001", "000", "010"}, {"000", "001", "101"}, {"001", "011", "101"}, {"100", "101", "011"}, {"000", "100", "010"}},
};

BOOL Brush::MakeWedge(int viewType)
{
    if (viewType < VIEW_XY || viewType > VIEW_YZ)
        return FALSE;
    const short* box = m_box;
    const auto& faces = kWedge[viewType - VIEW_XY];
    return Reshape(5, [&](std::vector<Face>& f) {
        for (int i = 0; i < 5; ++i)
            for (int k = 0; k < 3; ++k)
                for (int a = 0; a < 3; ++a)
                    f[static_cast<size_t>(i)].pt[k][a] = box[a * 2 + (faces[i][k][a] - '0')];
    });
}

// The ring of a cone or cylinder: n points round the box's centre in the view plane,
// starting three quarters of a turn round and going counter-clockwise. The depth
// coordinate is left for the caller.
static bool Ring(const short* box, int viewType, int n, std::vector<std::array<short, 3>>& ring, int centre[2])
{
    int a, b, d;
    if (!ViewAxes(viewType, a, b, d))
        return false;
    int r[2], c[2];
    const int axes[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
        int mn = box[axes[i] * 2], mx = box[axes[i] * 2 + 1];
        r[i] = (mx - mn) >> 1;
        c[i] = viewType == VIEW_XY ? (mn + mx) / 2 : (mn + mx) >> 1;
        centre[i] = c[i];
    }
    ring.assign(static_cast<size_t>(n), std::array<short, 3>{0, 0, 0});
    double angle = static_cast<double>(4.712389f);
    const double step = static_cast<double>(6.2831855f) / n;
    for (int i = 0; i < n; ++i) {
        auto& p = ring[static_cast<size_t>(i)];
        p[static_cast<size_t>(a)] = static_cast<short>(std::floor(std::cos(angle) * r[0] + c[0] + 0.5));
        p[static_cast<size_t>(b)] = static_cast<short>(std::floor(std::sin(angle) * r[1] + c[1] + 0.5));
        angle += step;
    }
    return true;
}

BOOL Brush::MakeCone(int viewType, int sides)
{
    if (sides < 3 || sides > 254)
        return TRUE;
    int a, b, d;
    std::vector<std::array<short, 3>> ring;
    int c[2];
    if (!ViewAxes(viewType, a, b, d) || !Ring(m_box, viewType, sides, ring, c))
        return FALSE;
    // The base lies on one end of the depth axis and the apex on the other.
    const bool baseAtMin = viewType != VIEW_XZ;
    const short base = m_box[d * 2 + (baseAtMin ? 0 : 1)];
    const short tip = m_box[d * 2 + (baseAtMin ? 1 : 0)];
    for (auto& p : ring)
        p[static_cast<size_t>(d)] = base;
    short A[3];
    A[a] = static_cast<short>(c[0]);
    A[b] = static_cast<short>(c[1]);
    A[d] = tip;
    const int n = sides;
    return Reshape(n + 1, [&](std::vector<Face>& f) {
        SetFace(f[0], ring[0].data(), ring[1].data(), ring[2].data());
        for (int j = 1; j < n; ++j)
            SetFace(f[static_cast<size_t>(j)], A, ring[static_cast<size_t>(j)].data(),
                    ring[static_cast<size_t>(j - 1)].data());
        SetFace(f[static_cast<size_t>(n)], A, ring[0].data(), ring[static_cast<size_t>(n - 1)].data());
    });
}

BOOL Brush::MakeCylinder(int viewType, int sides)
{
    if (sides < 3 || sides > 16)
        return TRUE;
    int a, b, d;
    std::vector<std::array<short, 3>> top, bottom;
    int c[2];
    if (!ViewAxes(viewType, a, b, d) || !Ring(m_box, viewType, sides, top, c))
        return FALSE;
    // Ring T lies on the depth end that the view looks from, ring B on the other.
    const bool topAtMax = viewType != VIEW_XZ;
    const short tz = m_box[d * 2 + (topAtMax ? 1 : 0)];
    const short bz = m_box[d * 2 + (topAtMax ? 0 : 1)];
    bottom = top;
    for (size_t i = 0; i < top.size(); ++i) {
        top[i][static_cast<size_t>(d)] = tz;
        bottom[i][static_cast<size_t>(d)] = bz;
    }
    const int n = sides;
    auto T = [&](int i) { return top[static_cast<size_t>(i)].data(); };
    auto B = [&](int i) { return bottom[static_cast<size_t>(i)].data(); };
    return Reshape(n + 2, [&](std::vector<Face>& f) {
        SetFace(f[0], T(2), T(1), T(0));
        SetFace(f[1], B(0), B(1), B(2));
        for (int i = 0; i + 1 < n; ++i)
            SetFace(f[static_cast<size_t>(2 + i)], T(i), T(i + 1), B(i + 1));
        SetFace(f[static_cast<size_t>(n + 1)], T(n - 1), T(0), B(0));
    });
}

BOOL Brush::MakeSphere()
{
    std::vector<Face> faces = m_faces;
    return Reshape(static_cast<int>(faces.size()), [&](std::vector<Face>& f) { f = faces; });
}

// ---------------------------------------------------------------------------
// Cutting

void Brush::AddFace(const Face& face, bool flip)
{
    if (m_faces.size() >= MAX_FACES)
        throw CBrushGeometryError(CBrushGeometryError::TOO_MANY_FACES, -1, "A brush has more than 255 faces");
    Face added = face;
    if (flip) {
        added.normal.Negate();
        added.dist = -added.dist;
        for (int a = 0; a < 3; ++a) {
            short t = added.pt[0][a];
            added.pt[0][a] = added.pt[2][a];
            added.pt[2][a] = t;
        }
    }
    m_faces.insert(m_faces.begin(), added);
    const Face& f0 = m_faces[0];
    for (size_t j = 1; j < m_faces.size();) {
        const Face& fj = m_faces[j];
        bool same = fj.normal.x == f0.normal.x && fj.normal.y == f0.normal.y && fj.normal.z == f0.normal.z &&
                    fj.dist == f0.dist;
        bool opposite = fj.normal.x == -f0.normal.x && fj.normal.y == -f0.normal.y &&
                        fj.normal.z == -f0.normal.z && fj.dist == -f0.dist;
        // A face on the outer side to within the geometry tolerance goes too: kept, it
        // would lie wholly in front of the new plane when the windings are rebuilt.
        bool outside = true;
        for (const CVector& p : fj.winding)
            if (!(VectorDot(f0.normal, p) - f0.dist >= -kEpsilon)) {
                outside = false;
                break;
            }
        if (same || opposite || outside) {
            // The last face takes the removed one's place; the same index is examined again.
            if (j != m_faces.size() - 1)
                m_faces[j] = std::move(m_faces.back());
            m_faces.pop_back();
            continue;
        }
        ++j;
    }
}

void Brush::RebuildAfterCut()
{
    ComputePlanes();
    ClassifyAll();
    BuildWindings();
}

BOOL Brush::IsCutByFace(const Face& f) const
{
    if (m_faces.empty())
        return FALSE;
    bool splits = false;
    for (const Face& face : m_faces) {
        int first = 0;
        for (const CVector& p : face.winding) {
            float s = PlaneDistance(f, p);
            int side = s < -kEpsilon ? -1 : s > kEpsilon ? 1 : 0;
            if (side == 0)
                continue;
            if (first == 0)
                first = side;
            else if (side != first) {
                splits = true;
                break;
            }
        }
        if (splits)
            break;
    }
    if (!splits)
        return FALSE;
    for (const Face& face : m_faces) {
        if (FacesCoplanar(f, face))
            return FALSE;
        bool allInFront = true;
        for (const CVector& p : f.winding)
            if (!(VectorDot(face.normal, p) >= face.dist)) {
                allInFront = false;
                break;
            }
        if (allInFront)
            return FALSE;
    }
    return TRUE;
}

static bool BoxesOverlap(const short* a, const short* b)
{
    for (int axis = 0; axis < 3; ++axis)
        if (!(a[axis * 2] < b[axis * 2 + 1] && b[axis * 2] < a[axis * 2 + 1]))
            return false;
    return true;
}

// How far a point of what remains of a cut brush may lie outside a plane of the cutter and
// still count as inside it: the remaining part is deleted, so nothing larger may go with it.
static const float kCutterTolerance = 0.1f;

// The least and the greatest distance of the brush's winding points from the face's plane.
static void PlaneSpan(const std::vector<Face>& faces, const Face& plane, float& lo, float& hi)
{
    lo = 3.0e38f;
    hi = -3.0e38f;
    for (const Face& f : faces)
        for (const CVector& p : f.winding) {
            const float d = PlaneDistance(plane, p);
            lo = d < lo ? d : lo;
            hi = d > hi ? d : hi;
        }
}

BOOL Brush::Subtract(CPtrList& objects)
{
    // What becomes of each brush the cutter touches, decided before anything changes.
    struct Cut
    {
        Brush* object;
        std::vector<std::unique_ptr<Brush>> pieces; // none: the object lies wholly inside
    };
    std::vector<Cut> cuts;
    auto liesWithin = [this](const Brush& rest) {
        for (const Face& s : m_faces) {
            float lo, hi;
            PlaneSpan(rest.m_faces, s, lo, hi);
            if (hi > kCutterTolerance)
                return false;
        }
        return true;
    };
    try {
        // A piece that cannot be built refuses the whole cut: the command says so, once.
        QuietGeometry quiet;
        for (POSITION pos = objects.GetHeadPosition(); pos;) {
            SThing* t = static_cast<SThing*>(objects.GetNext(pos));
            if (t == this || t->GetKind() != 0)
                continue;
            Brush* object = static_cast<Brush*>(t);
            if (!BoxesOverlap(m_box, object->m_box))
                continue;
            if (ContainsBrush(*object)) {
                cuts.push_back(Cut{object, {}});
                continue;
            }
            // The rest of the object, cut down face by face until it lies inside the cutter;
            // each part cut off lies in front of a cutter plane and stays as a piece.
            Brush rest(*object);
            rest.m_pOwner = nullptr;
            Cut cut{object, {}};
            auto split = [&](const Face& s) {
                std::unique_ptr<Brush> piece(new Brush(rest));
                piece->SetSelected(false);
                piece->AddFace(s, true);
                piece->RebuildAfterCut();
                piece->RequireValid();
                rest.AddFace(s, false);
                rest.RebuildAfterCut();
                cut.pieces.push_back(std::move(piece));
            };
            for (const Face& s : m_faces)
                if (rest.IsCutByFace(s))
                    split(s);
            if (!liesWithin(rest)) {
                // The faces passed over leave part of the rest outside the cutter (a plane the
                // object shares with the cutter, or a cutter face beside a slanted brush): cut
                // by every plane the rest still crosses. A rest wholly in front of a plane lies
                // outside the cutter, and so did the whole object: it stays as it is.
                bool outside = false;
                for (const Face& s : m_faces) {
                    float lo, hi;
                    PlaneSpan(rest.m_faces, s, lo, hi);
                    if (hi <= kCutterTolerance)
                        continue;
                    if (lo >= -kCutterTolerance) {
                        outside = true;
                        break;
                    }
                    split(s);
                }
                if (outside)
                    continue;
                // Never delete what may lie outside the cutter: the whole subtract is refused.
                if (!liesWithin(rest))
                    throw CBrushGeometryError(CBrushGeometryError::OVER_CONSTRAINED, -1,
                                              "A part of a cut brush would be lost");
            }
            cuts.push_back(std::move(cut));
        }
    } catch (CBrushGeometryError&) {
        return FALSE; // the pieces built so far go with the plan
    }
    if (cuts.empty())
        return TRUE;
    Map* map = MapOf(*this);
    for (Cut& cut : cuts) {
        Entity* owner = cut.object->GetOwner();
        for (auto& piece : cut.pieces) {
            Brush* p = piece.release();
            p->m_pOwner = owner;
            if (owner)
                owner->AddBrush(p);
            else
                delete p;
        }
        delete cut.object; // leaves its entity and the map's lists
    }
    if (map)
        map->ObjectsRebuilt();
    return TRUE;
}

BOOL Brush::Intersect(Map* pMap)
{
    CPtrList& selection = pMap->GetSelection();
    std::vector<Brush*> others;
    Brush work(*this);
    work.m_pOwner = nullptr;
    try {
        for (POSITION pos = selection.GetHeadPosition(); pos;) {
            SThing* t = static_cast<SThing*>(selection.GetNext(pos));
            if (t == this || t->GetKind() != 0)
                continue;
            Brush* other = static_cast<Brush*>(t);
            for (const Face& s : other->m_faces) {
                if (!work.IsCutByFace(s))
                    continue;
                work.AddFace(s, false);
                work.RebuildAfterCut();
            }
            others.push_back(other);
        }
        work.RequireValid();
    } catch (CBrushGeometryError&) {
        return FALSE;
    }
    TakeGeometry(work);
    for (Brush* other : others) {
        other->SetSelected(false);
        pMap->RemoveFromSelection(other);
        pMap->ReportSelectionCount();
        delete other;
    }
    pMap->ObjectsRebuilt();
    return TRUE;
}
