// Moving, scaling, rotating and shearing brushes, and their handle points.
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "Reporter.h"
#include "Services.h"
#include "Tokenizer.h"
#include <cmath>
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

static float Coord(const CVector& v, int axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

static void SetCoord(CVector& v, int axis, float value)
{
    (axis == 0 ? v.x : axis == 1 ? v.y : v.z) = value;
}

void Brush::SetWindingCoord(Face& face, int k, int axis, float v)
{
    SetCoord(face.winding[static_cast<size_t>(k)], axis, v);
    face.rounded[static_cast<size_t>(k)][static_cast<size_t>(axis)] = RoundCoord(v);
}

void Brush::FinishTransform()
{
    ResetFacePoints();
    ComputePlanes();
    ClassifyAll();
    ComputePlanes();
    ComputeBounds();
    CheckFaces();
}


// Moves shift the plane points by whole units and rebuild the windings, as Translate does:
// resetting the points to rounded corners would tilt a brush whose corners are not whole.
// The shift of one of the moves (a brush's MoveTo places the centre of its box); false for a
// view type that is no plane.
static bool MoveShift(const short* box, SThing::MoveKind kind, int a, int b, int c, int viewType, long long* delta)
{
    long long centre[3], moved[3];
    for (int i = 0; i < 3; ++i)
        centre[i] = moved[i] = box[i * 2] + (box[i * 2 + 1] - box[i * 2]) / 2;
    if (!MovedPoint(kind, a, b, c, viewType, moved))
        return false;
    for (int i = 0; i < 3; ++i)
        delta[i] = moved[i] - centre[i];
    return true;
}

void Brush::MoveBy(MoveKind kind, int a, int b, int c, int viewType, LPCSTR lpszWhat)
{
    long long delta[3];
    if (!MoveShift(m_box, kind, a, b, c, viewType, delta)) {
        Report().Box(MB_OK, "Call to %s with unsupported type of %d\n", lpszWhat, viewType);
        return;
    }
    if (!FitsAfterShift(delta)) {
        CMoveRangeReport::Count();
        return;
    }
    Shift(delta);
}

void Brush::MoveTo(int x, int y, int viewType)
{
    MoveBy(MOVE_TO, x, y, 0, viewType, "MoveTo");
}

void Brush::Move(int dx, int dy, int viewType)
{
    MoveBy(MOVE, dx, dy, 0, viewType, "MoveBrush");
}

void Brush::MoveDepth(int depth, int viewType)
{
    MoveBy(MOVE_DEPTH, depth, 0, 0, viewType, "Move Brush");
}

bool Brush::MoveFits(MoveKind kind, int a, int b, int c, int viewType) const
{
    long long delta[3];
    return !MoveShift(m_box, kind, a, b, c, viewType, delta) || FitsAfterShift(delta);
}

// ---------------------------------------------------------------------------
// Edits past the coordinate range

CMoveRangeReport::~CMoveRangeReport()
{
    if (Close())
        ReportNow();
}

// "A moved brush would lie outside ...", "3 pasted objects would lie outside ...", and what
// came of it.
static void TellPastTheRange(LPCSTR verb, int brushes, int entities, LPCSTR outcome)
{
    const int n = brushes + entities;
    const char* noun = entities == 0  ? (n == 1 ? "brush" : "brushes")
                       : brushes == 0 ? (n == 1 ? "entity" : "entities")
                                      : "objects";
    CString first;
    if (n == 1)
        first.Format("A %s %s would lie outside the map's coordinate range.", verb, noun);
    else
        first.Format("%d %s %s would lie outside the map's coordinate range.", n, verb, noun);
    Report().Box(MB_OK, "%s\n%s", static_cast<LPCSTR>(first), outcome);
}

static void TellRefusedMoves(int brushes, int entities, int others)
{
    const int n = brushes + entities;
    TellPastTheRange("moved", brushes, entities,
                     others > 0 ? "The whole selection stays where it was."
                     : n == 1   ? "It stays where it was."
                                : "They stay where they were.");
}

void CMoveRangeReport::TellRefusedPlacement(LPCSTR verb, int brushes, int entities)
{
    CString outcome;
    outcome.Format("Nothing was %s.", verb);
    TellPastTheRange(verb, brushes, entities, outcome);
}

void CMoveRangeReport::ReportNow()
{
    const int brushes = m_brushes, entities = m_entities, others = m_others;
    m_brushes = m_entities = m_others = 0;
    if (brushes + entities > 0)
        TellRefusedMoves(brushes, entities, others);
}

void CMoveRangeReport::Add(int brushes, int entities, int others)
{
    m_brushes += brushes;
    m_entities += entities;
    m_others += others;
}

void CMoveRangeReport::Count(bool entity)
{
    CountEdit(entity ? 0 : 1, entity ? 1 : 0, 0);
}

void CMoveRangeReport::CountEdit(int brushes, int entities, int others)
{
    if (brushes + entities <= 0)
        return;
    if (CMoveRangeReport* open = Open())
        open->Add(brushes, entities, others);
    else
        TellRefusedMoves(brushes, entities, others);
}

bool Brush::FitsAfterShift(const long long* delta) const
{
    for (int a = 0; a < 3; ++a) {
        if (!delta[a])
            continue;
        if (!IsMapCoordinate(m_box[a * 2] + delta[a]) || !IsMapCoordinate(m_box[a * 2 + 1] + delta[a]))
            return false;
        for (const Face& f : m_faces)
            for (int k = 0; k < 3; ++k)
                if (!IsMapCoordinate(f.pt[k][a] + delta[a]))
                    return false;
    }
    return true;
}

void Brush::Translate(int dx, int dy, int dz)
{
    const long long delta[3] = {dx, dy, dz};
    if (!FitsAfterShift(delta)) {
        CMoveRangeReport::Count();
        return;
    }
    Shift(delta);
}

void Brush::Shift(const long long* delta)
{
    Transform([&] {
        for (Face& f : m_faces)
            for (int k = 0; k < 3; ++k)
                for (int a = 0; a < 3; ++a)
                    if (delta[a])
                        f.pt[k][a] = static_cast<short>(f.pt[k][a] + delta[a]);
        BuildWindings();
    });
}

bool Brush::ScaleFits(int atMax, int delta, int viewType) const
{
    int a, b, d;
    if (!ViewAxes(viewType, a, b, d))
        return true;
    const long long mn = m_box[d * 2], mx = m_box[d * 2 + 1];
    const long long size = mx - mn, newSize = atMax ? size + delta : size - delta;
    if (size <= 0 || newSize <= 0)
        return true; // no stretch is made
    return IsMapCoordinate(atMax ? mn + newSize : mx - newSize);
}

// Stretches the depth axis; a scale that would collapse or turn the brush inside out, or take it
// past the coordinate range, is refused and leaves it unchanged.
void Brush::Scale(int atMax, int delta, int viewType)
{
    int a, b, d;
    if (!ViewAxes(viewType, a, b, d))
        return;
    if (!ScaleFits(atMax, delta, viewType)) {
        CMoveRangeReport::Count();
        return;
    }
    short mn = 0, mx = 0;
    GetDepthExtents(mn, mx, viewType);
    const long long size = mx - mn, newSize = atMax ? size + delta : size - delta;
    if (size <= 0 || newSize <= 0)
        return;
    Transform([&] {
        double factor = static_cast<double>(newSize) / static_cast<double>(size);
        double anchor = atMax ? mn : mx;
        // The rounded coordinates are scaled, in every view: the box is made of them, so its moved
        // end lands where it was asked to, wherever the corners lie between whole units.
        for (Face& f : m_faces)
            for (size_t k = 0; k < f.winding.size(); ++k) {
                double c = f.rounded[k][static_cast<size_t>(d)];
                SetWindingCoord(f, static_cast<int>(k), d, static_cast<float>(anchor + (c - anchor) * factor));
            }
        TakeScaledFacePoints();
        ComputePlanes();
        ClassifyAll();
        ComputeBounds();
        CheckFaces();
        // The windings were stretched, not clipped: rebuilt from the new planes, they lie on them
        // again and the brush stays valid. The box stays the one of the stretched windings: the
        // planes go through whole points only, and a corner where they meet may lie a little off.
        short scaled[6];
        for (int i = 0; i < 6; ++i)
            scaled[i] = m_box[i];
        BuildWindings();
        for (int i = 0; i < 6; ++i)
            m_box[i] = scaled[i];
    });
}

// Plane points from a stretched face: three of its rounded points, chosen so that their plane
// lies nearest to the whole stretched face (the rebuilt windings come from these planes). The
// first such triple wins, so a face whose first three points carry its plane keeps them, as
// ResetFacePoints takes them.
void Brush::TakeScaledFacePoints()
{
    // A face of many points is rare; its first three points are taken, as by ResetFacePoints.
    enum { kMostPointsWeighed = 16 };
    // Only a plane clearly nearer than the first points' replaces them.
    const double kBetter = 1e-3;
    for (Face& f : m_faces) {
        const size_t n = f.rounded.size();
        size_t chosen[3] = {0, 1, 2};
        if (n > 3 && n <= kMostPointsWeighed) {
            double best = -1;
            for (size_t i = 0; i < n; ++i)
                for (size_t j = i + 1; j < n; ++j)
                    for (size_t k = j + 1; k < n; ++k) {
                        const auto& p = f.rounded[i];
                        const auto& q = f.rounded[j];
                        const auto& r = f.rounded[k];
                        // The normal as ComputePlanes makes it, from whole numbers: exact in double.
                        const double ax = p[0] - q[0], ay = p[1] - q[1], az = p[2] - q[2];
                        const double bx = r[0] - q[0], by = r[1] - q[1], bz = r[2] - q[2];
                        const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
                        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
                        // Three points on a line carry no plane; a plane facing the other way
                        // (rounding can fold a thin face) would turn the brush inside out.
                        if (length == 0 || nx * f.normal.x + ny * f.normal.y + nz * f.normal.z <= 0)
                            continue;
                        double error = 0;
                        for (const CVector& v : f.winding)
                            error = std::max(error, std::fabs(nx * (v.x - p[0]) + ny * (v.y - p[1]) + nz * (v.z - p[2])) /
                                                        length);
                        if (best < 0 || error < best - kBetter) {
                            best = error;
                            chosen[0] = i;
                            chosen[1] = j;
                            chosen[2] = k;
                        }
                    }
        }
        for (size_t k = 0; k < 3 && chosen[k] < n; ++k)
            for (size_t a = 0; a < 3; ++a)
                f.pt[k][a] = f.rounded[chosen[k]][a];
    }
}

void Brush::HoldGeometry(Geometry& held) const
{
    held.faces = m_faces;
    for (int i = 0; i < 6; ++i)
        held.box[i] = m_box[i];
    held.isothetic = m_isothetic;
}

void Brush::RestoreGeometry(const Geometry& held)
{
    const bool sameCount = held.faces.size() == m_faces.size();
    m_faces = held.faces; // assigned in place when the count is the same
    for (int i = 0; i < 6; ++i)
        m_box[i] = held.box[i];
    m_isothetic = held.isothetic;
    if (!sameCount && m_pOwner && m_pOwner->GetMap())
        m_pOwner->GetMap()->ObjectsRebuilt(); // the faces were made anew
}

// The whole number of quarter turns (0 to 3) of the angle, or -1 when it is no such turn.
static int QuarterTurns(double angle)
{
    const double turns = angle / (std::acos(-1.0) / 2);
    const double whole = std::floor(turns + 0.5);
    // Not a number, no whole number of quarter turns, or so many that they cannot be counted.
    if (!(std::fabs(turns - whole) < 1e-9) || std::fabs(whole) > 1e6)
        return -1;
    return static_cast<int>(((static_cast<long long>(whole) % 4) + 4) % 4);
}

// A point (u, v) of the view plane turned exactly by quarter turns about (cx, cy).
static void TurnQuarters(long long cx, long long cy, int quarter, long long& u, long long& v)
{
    const long long du = u - cx, dv = v - cy;
    const long long us[4] = {cx + du, cx - dv, cx - du, cx + dv};
    const long long vs[4] = {cy + dv, cy + du, cy - dv, cy - du};
    u = us[quarter];
    v = vs[quarter];
}

// A winding point turned about (cx, cy) on the view's axes a and b, as the turn stores it.
static void TurnWindingPoint(const CVector& p, int a, int b, int cx, int cy, double c, double s, float& u2, float& v2)
{
    double u = Coord(p, a) - cx, v = Coord(p, b) - cy;
    u2 = static_cast<float>(cx + u * c - v * s);
    v2 = static_cast<float>(cy + u * s + v * c);
}

BOOL Brush::TurnPlanePoints(int cx, int cy, double angle, int viewType)
{
    int a, b, d;
    if (!ViewAxes(viewType, a, b, d))
        return FALSE;
    const int quarter = QuarterTurns(angle);
    if (quarter < 0)
        return FALSE;
    std::vector<std::array<long long, 6>> turned; // u, v of the three points of each face
    turned.reserve(m_faces.size());
    for (const Face& f : m_faces) {
        std::array<long long, 6> t;
        for (int k = 0; k < 3; ++k) {
            long long u = f.pt[k][a], v = f.pt[k][b];
            TurnQuarters(cx, cy, quarter, u, v);
            t[static_cast<size_t>(k * 2)] = u;
            t[static_cast<size_t>(k * 2 + 1)] = v;
            if (!IsMapCoordinate(u) || !IsMapCoordinate(v))
                return FALSE;
        }
        turned.push_back(t);
    }
    for (size_t i = 0; i < m_faces.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            m_faces[i].pt[k][a] = static_cast<short>(turned[i][static_cast<size_t>(k * 2)]);
            m_faces[i].pt[k][b] = static_cast<short>(turned[i][static_cast<size_t>(k * 2 + 1)]);
        }
    return TRUE;
}

bool Brush::RotateFits(int cx, int cy, double angle, int viewType, const Geometry* pFrom) const
{
    int a, b, d;
    if (!ViewAxes(viewType, a, b, d))
        return true;
    const std::vector<Face>& faces = pFrom ? pFrom->faces : m_faces;
    const short* box = pFrom ? pFrom->box : m_box;
    const int quarter = QuarterTurns(angle);
    if (quarter >= 0) {
        // Exact: the turned box is the box of the turned brush, whose plane points may lie well
        // inside the range while a corner where the planes meet does not.
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) {
                long long u = box[a * 2 + i], v = box[b * 2 + j];
                TurnQuarters(cx, cy, quarter, u, v);
                if (!IsMapCoordinate(u) || !IsMapCoordinate(v))
                    return false;
            }
        return true;
    }
    const double c = std::cos(angle), s = std::sin(angle);
    for (const Face& f : faces)
        for (const CVector& p : f.winding) {
            float u, v;
            TurnWindingPoint(p, a, b, cx, cy, c, s, u, v);
            if (!RoundsToMapCoordinate(u) || !RoundsToMapCoordinate(v))
                return false;
        }
    return true;
}

void Brush::Rotate(int cx, int cy, double angle, int viewType)
{
    if (!RotateFits(cx, cy, angle, viewType)) {
        CMoveRangeReport::Count();
        return;
    }
    Transform([&] {
        m_isothetic = 0;
        // Whole quarter turns keep the brush's own points, fractions of its corners included: four
        // of them give the brush back.
        if (TurnPlanePoints(cx, cy, angle, viewType)) {
            ComputePlanes();
            ClassifyAll();
            BuildWindings();
            CheckFaces();
            return;
        }
        int a, b, d;
        if (ViewAxes(viewType, a, b, d)) {
            const double c = std::cos(angle), s = std::sin(angle);
            for (Face& f : m_faces)
                for (size_t k = 0; k < f.winding.size(); ++k) {
                    float u, v;
                    TurnWindingPoint(f.winding[k], a, b, cx, cy, c, s, u, v);
                    SetWindingCoord(f, static_cast<int>(k), a, u);
                    SetWindingCoord(f, static_cast<int>(k), b, v);
                }
        }
        FinishTransform();
        // The windings were turned, not clipped: rebuild them from the new planes so
        // that they lie on them again.
        BuildWindings();
    });
}

// ---------------------------------------------------------------------------
// Handles

static HandlePick s_picks[MAX_HANDLE_PICKS];
static int s_pickCount = 0;

int GetHandlePickCount()
{
    return s_pickCount;
}

const HandlePick& GetHandlePick(int i)
{
    return s_picks[i];
}

void ClearHandlePicks()
{
    s_pickCount = 0;
}

static void AddPick(Face& f, size_t k)
{
    if (s_pickCount >= MAX_HANDLE_PICKS)
        return;
    s_picks[s_pickCount].rounded = f.rounded[k].data();
    s_picks[s_pickCount].point = &f.winding[k];
    ++s_pickCount;
}

static bool SamePoint(const std::array<short, 3>& a, const short* p)
{
    return a[0] == p[0] && a[1] == p[1] && a[2] == p[2];
}

static void FacePoint(const Face& f, short* out)
{
    int sum[3] = {0, 0, 0};
    for (const auto& p : f.rounded)
        for (int a = 0; a < 3; ++a)
            sum[a] += p[static_cast<size_t>(a)];
    int n = f.GetPointCount();
    for (int a = 0; a < 3; ++a)
        out[a] = static_cast<short>(n ? sum[a] / n : 0);
}

static void Midpoint(const std::array<short, 3>& a, const std::array<short, 3>& b, short* out)
{
    for (size_t i = 0; i < 3; ++i)
        out[i] = static_cast<short>((a[i] + b[i]) / 2);
}

static CString PointKey(const short* p)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d %d %d", p[0], p[1], p[2]);
    return CString(buf);
}

void Brush::GetFacePoints(CPtrList& list) const
{
    for (const Face& f : m_faces) {
        short* p = new short[3];
        FacePoint(f, p);
        list.AddTail(p);
    }
}

void Brush::GetEdgePoints(CPtrList& list) const
{
    CMapStringToPtr seen;
    CPtrList order;
    for (const Face& f : m_faces) {
        size_t n = f.rounded.size();
        for (size_t k = 0; k < n; ++k) {
            short mid[3];
            Midpoint(f.rounded[k], f.rounded[(k + 1) % n], mid);
            CString key = PointKey(mid);
            void* old;
            if (seen.Lookup(key, old))
                continue;
            short* p = new short[3]{mid[0], mid[1], mid[2]};
            seen.SetAt(key, p);
            order.AddTail(p);
        }
    }
    list.AddTail(&order);
}

void Brush::GetVertexPoints(CPtrList& list)
{
    CMapStringToPtr seen;
    CPtrList order;
    for (Face& f : m_faces)
        for (auto& p : f.rounded) {
            CString key = PointKey(p.data());
            void* pos;
            if (seen.Lookup(key, pos)) // the last point seen under a key is the one listed
                order.SetAt(static_cast<POSITION>(pos), p.data());
            else
                seen.SetAt(key, order.AddTail(p.data()));
        }
    list.AddTail(&order);
}

void Brush::PickVertex(const short* p)
{
    ClearHandlePicks();
    for (Face& f : m_faces)
        for (size_t k = 0; k < f.rounded.size(); ++k)
            if (SamePoint(f.rounded[k], p))
                AddPick(f, k);
}

// Adds every rounded point of every face equal to the given one.
static void PickAllEqual(std::vector<Face>& faces, const short* p)
{
    for (Face& f : faces)
        for (size_t k = 0; k < f.rounded.size(); ++k)
            if (SamePoint(f.rounded[k], p))
                AddPick(f, k);
}

void Brush::PickEdgeVertices(const short* p)
{
    ClearHandlePicks();
    for (Face& f : m_faces) {
        size_t n = f.rounded.size();
        bool found = false;
        for (size_t k = 0; k < n; ++k) {
            short mid[3];
            Midpoint(f.rounded[k], f.rounded[(k + 1) % n], mid);
            if (mid[0] == p[0] && mid[1] == p[1] && mid[2] == p[2]) {
                short a[3] = {f.rounded[k][0], f.rounded[k][1], f.rounded[k][2]};
                short b[3] = {f.rounded[(k + 1) % n][0], f.rounded[(k + 1) % n][1], f.rounded[(k + 1) % n][2]};
                PickAllEqual(m_faces, a);
                PickAllEqual(m_faces, b);
                found = true;
            }
        }
        if (found)
            return;
    }
}

void Brush::PickFaceVertices(const short* p)
{
    ClearHandlePicks();
    for (Face& f : m_faces) {
        short fp[3];
        FacePoint(f, fp);
        if (fp[0] != p[0] || fp[1] != p[1] || fp[2] != p[2])
            continue;
        const auto points = f.rounded;
        for (const auto& q : points)
            PickAllEqual(m_faces, q.data());
        return;
    }
}

static void MovePicks(int a, int b, int dx, int dy)
{
    for (int i = 0; i < s_pickCount; ++i) {
        short* r = s_picks[i].rounded;
        r[a] = static_cast<short>(r[a] + dx);
        r[b] = static_cast<short>(r[b] + dy);
        SetCoord(*s_picks[i].point, a, r[a]);
        SetCoord(*s_picks[i].point, b, r[b]);
    }
}

// Every picked point stays a map coordinate when shifted.
static bool PicksFitAfter(int a, int b, int dx, int dy)
{
    for (int i = 0; i < s_pickCount; ++i) {
        const short* r = s_picks[i].rounded;
        if (!IsMapCoordinate(static_cast<long long>(r[a]) + dx) || !IsMapCoordinate(static_cast<long long>(r[b]) + dy))
            return false;
    }
    return true;
}

BOOL Brush::Shear(int dx, int dy, int viewType)
{
    int a, b, d;
    bool plane = ViewAxes(viewType, a, b, d);
    if (plane && !PicksFitAfter(a, b, dx, dy)) {
        CMoveRangeReport::Count();
        return FALSE;
    }
    if (plane)
        MovePicks(a, b, dx, dy);
    BOOL result = TRUE;
    try {
        FinishTransform();
    } catch (CBrushGeometryError&) {
        if (plane)
            MovePicks(a, b, -dx, -dy);
        FinishTransform();
        result = FALSE;
    }
    return result;
}

bool Brush::IsShearWarningDue()
{
    return GetEditorServices()->GetProfileInt("Brush", "Shear Warning", 0) == 0;
}

void Brush::ShowShearWarning()
{
    if (!IsShearWarningDue())
        return;
    Report().Box(MB_OK | MB_ICONSTOP,
                 "Moving a vertex, edge, or face on a brush can result in an invalid (concave)\n"
                 "brush being created.  Use this function with caution, and verify all brushes\n"
                 "are convex.  In the bottom right hand corner of the Morvane window is a green\n"
                 "light, if it turns red, then the currently selected brush is invalid and will\n"
                 "need to be fixed before the map is saved to disk.\n\n"
                 "This message will not be displayed again.");
    GetEditorServices()->WriteProfileInt("Brush", "Shear Warning", 1);
}
