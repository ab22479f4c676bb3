// Convex brushes: faces given by three integer points, windings clipped from the
// planes, bounds, face classes, textures, validity, transforms and handles.
#pragma once
#include "Pool.h"
#include "Reporter.h"
#include "Thing.h"
#include "Vector.h"
#include "Winding.h"
#include <array>
#include <memory>
#include <vector>

struct Texture;
class Entity;
class Map;
class CTokenizer;

// A failed geometry step of an edit or a read. The command that started the edit
// catches it; the brush is left as it was before the edit.
class CBrushGeometryError
{
public:
    // BAD_NUMBER: a number of a face line that is not a finite value or does not fit its field;
    // NOT_CLOSED: faces that do not enclose a volume; UNREADABLE_FACE: a face line whose points,
    // texture name or later numbers cannot be read.
    enum Kind { OVER_CONSTRAINED, POINT_OVERFLOW, NO_PLANE, TOO_FEW_POINTS, TOO_FEW_FACES, TOO_MANY_FACES, BAD_NUMBER,
                NOT_CLOSED, UNREADABLE_FACE };
    CBrushGeometryError(Kind k, int faceIndex, LPCSTR text) : kind(k), face(faceIndex), message(text) {}
    Kind kind;
    int face;        // the face concerned, or -1
    int line = 0;    // its line in the map text, when it was read
    CString message;
    bool endedInside = false; // the text ended before the brush's "}"
};

typedef short CPoint3[3];

// Map coordinates are 16-bit: a move, turn or stretch that would take an object past their range
// is refused and the object stays where it is (it would wrap to the far side of the map). An edit
// of many objects is refused whole when one of them would leave the range (see CObjectEdit). While
// a report lives, the refusals of one edit are counted and told in one box when it ends; without
// one, each refusal is told at once.
class CMoveRangeReport : public CCollectingReport<CMoveRangeReport>
{
public:
    ~CMoveRangeReport();
    // Tells what was counted so far.
    void ReportNow();
    // One object refused on its own (a brush, or a point entity): counted by the open report,
    // else told at once.
    static void Count(bool entity = false);
    // An edit refused whole: the brushes and entities that would have left the range, and the
    // other objects of the edit, which stay with them.
    static void CountEdit(int brushes, int entities, int others);
    // New objects (pasted, dropped: the verb) that would lie past the range where they were to
    // go, so that none was added: told at once.
    static void TellRefusedPlacement(LPCSTR verb, int brushes, int entities);

private:
    void Add(int brushes, int entities, int others);
    int m_brushes = 0;
    int m_entities = 0;
    int m_others = 0;
};

// What a face line of the map text gave a face. While a brush keeps the points it was read with,
// each face that still holds these values is written with its line as read; the others are
// written from their values.
struct FaceAsRead
{
    short pt[3][3];
    short xOffset, yOffset, rotation;
    float xScale, yScale;
    const Texture* texture;
    unsigned line; // where the face's line starts in the brush's lines
};
struct BrushAsRead
{
    // The face lines, each as far as it was read, with four blanks before and CR LF after: in the
    // record itself for nearly every brush of a map (six lines take some 600 bytes). A face's line
    // runs from its start to the next face's, the last one to the end.
    CInlineArray<char, 768> lines;
    CInlineArray<FaceAsRead, 8> faces; // in the record itself for a brush of up to eight faces
};

struct Face
{
    // Made by hand, so that a new face (a map's load makes thousands) does not first clear the
    // room of its windings: every member below starts with its own value.
    Face() {}
    CVector normal;
    float dist = 0;
    short pt[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}; // p1, p2, p3 of the map text
    CInlineArray<CVector, 8> winding;
    CInlineArray<std::array<short, 3>, 8> rounded;      // the winding rounded to map units
    short xOffset = 0, yOffset = 0, rotation = 0;
    float xScale = 0, yScale = 0;
    BYTE cls = 0;
    Texture* texture = nullptr;

    int GetPointCount() const { return static_cast<int>(winding.size()); }
};

class Brush : public SThing, public CPooled<Brush>
{
public:
    enum { MAX_FACES = 255 };

    Brush(Entity* pOwner, short* box); // the isothetic box; the box is ordered in place
    Brush(const Brush& other);
    // Reads one brush block; throws CBrushGeometryError when its geometry fails or a number
    // does not fit, CMapFormatError for a face in a format that is not read. Names missing from
    // the texture map go into the open's missing-texture set. Without the brace the block starts
    // at a face line (its "{" is missing). A text that ends inside the block sets *pEndedInside.
    // With clipLater the planes and windings are left for BuildReadWindings (a map's open has them
    // built on other threads): the brush is read and its faces classed.
    explicit Brush(CTokenizer& tok, bool brace = true, bool* pEndedInside = nullptr, bool clipLater = false);
    ~Brush() override;
    Brush& operator=(const Brush&) = delete;

    void MoveTo(int x, int y, int viewType) override;
    void MoveDepth(int d, int viewType) override;
    void Move(int dx, int dy, int viewType) override;
    void Translate(int dx, int dy, int dz) override;
    void Scale(int atMax, int delta, int viewType) override;
    void Rotate(int cx, int cy, double angle, int viewType) override;

    // The faces, box and flag as they are now, to come back to: an edit that starts again from
    // the geometry of its press on every step rounds once, not once per step.
    struct Geometry
    {
        std::vector<Face> faces;
        short box[6] = {0, 0, 0, 0, 0, 0};
        BOOL isothetic = 0;
    };

    // Whether an edit keeps the brush within the coordinate range (an edit that would not is
    // refused by the brush). A move, turn or stretch that the brush does not make (a view type
    // that is no plane, a stretch to nothing) fits.
    // The plane points and the box shifted by the amounts, and those of a move.
    bool FitsAfterShift(const long long* delta) const;
    bool MoveFits(MoveKind kind, int a, int b, int c, int viewType) const;
    // Its box corners and, for the turns that are no whole quarter turns, its corners as they
    // turn; of the held geometry when one is given (a turn that starts from it again).
    bool RotateFits(int cx, int cy, double angle, int viewType, const Geometry* pFrom = nullptr) const;
    // The box stretched on the view's depth axis.
    bool ScaleFits(int atMax, int delta, int viewType) const;
    void HoldGeometry(Geometry& held) const;
    // Back to the held geometry; the faces keep their addresses when their count is the same.
    void RestoreGeometry(const Geometry& held);

    void ComputePlanes();
    void BuildWindings();
    // The same windings, bit for bit, by the general clip alone: BuildWindings takes shorter ways
    // for planes along an axis and for quadrilaterals cut across. The benchmark and the tests
    // compare the two.
    void BuildWindingsGeneral();
    // While one lives, geometry failures throw without a message box (a map's reader).
    struct QuietGeometry
    {
        QuietGeometry();
        ~QuietGeometry();
    };
    void ComputeBounds();
    // The planes and windings of a brush read with clipLater, and the check that its faces close a volume:
    // the kind of the failure (CBrushGeometryError::Kind) or -1. Without a message or an exception
    // (but std::bad_alloc), and touching nothing but this brush: another thread may run it.
    int BuildReadWindings();
    void ResetFacePoints();
    BYTE ClassifyFace(Face& face);
    void CheckFaces();
    void SetTextureByName(LPCSTR name);
    void SetTexture(Texture* pTexture);
    Texture* GetCommonTexture() const;
    BOOL IsValid() const;
    BOOL ContainsBrush(const Brush& other) const;
    BOOL PartlyContainsBrush(const Brush& other) const;
    static BOOL FacesCoplanar(const Face& a, const Face& b);

    // Writes the face lines (map text), nothing when the brush is not valid unless evenInvalid.
    void Write(CString& out, bool evenInvalid = false) const;

    // Handle points of the views.
    void GetFacePoints(CPtrList& list) const;   // new short[3] each, owned by the list's holder
    void GetEdgePoints(CPtrList& list) const;   // new short[3] each
    void GetVertexPoints(CPtrList& list);       // references into the rounded windings
    void PickFaceVertices(const short* p);
    void PickEdgeVertices(const short* p);
    void PickVertex(const short* p);
    BOOL Shear(int dx, int dy, int viewType);
    // Moving a vertex, edge or face can leave a brush concave: after the user's first such move
    // a warning says so, once across runs. Shear itself shows nothing: it runs in the middle of a
    // handle drag, and a box that comes up while a view holds the mouse takes no clicks. The view
    // ends the drag first and then shows the warning.
    static bool IsShearWarningDue();
    static void ShowShearWarning(); // when due; it will not be due again

    // Primitives inscribed in this box brush, oriented by a view plane. Each either
    // succeeds or leaves the brush exactly as it was and returns FALSE, for the
    // command to report. Cone and cylinder side counts out of range change nothing.
    BOOL MakePyramid(int viewType);
    BOOL MakeWedge(int viewType);
    BOOL MakeCone(int viewType, int sides);
    BOOL MakeCylinder(int viewType, int sides);
    BOOL MakeSphere();

    // Carves this brush out of the brushes of the list that it overlaps; the pieces
    // join their source's entity, unselected. All or nothing: FALSE (nothing changed,
    // for the command to report) when a piece cannot be built or would not be valid.
    BOOL Subtract(CPtrList& objects);
    // Reduces this brush to its common part with the other selected brushes of the
    // map, which are deselected and deleted; selected point entities are passed over.
    // All or nothing, as Subtract.
    BOOL Intersect(Map* pMap);
    // True when the plane of the face splits this brush and leaves part of the face
    // on its inner side.
    BOOL IsCutByFace(const Face& face) const;
    // Adds the face (its plane turned round with flip) as face 0 and drops the faces
    // that lie wholly on its outer side. The windings are left for the caller to
    // rebuild. A brush that already has the most faces refuses with the geometry error.
    void AddFace(const Face& face, bool flip);

    int GetFaceCount() const { return static_cast<int>(m_faces.size()); }
    Face& GetFace(int i) { return m_faces[static_cast<size_t>(i)]; }
    const Face& GetFace(int i) const { return m_faces[static_cast<size_t>(i)]; }
    std::vector<Face>& GetFaces() { return m_faces; }
    const std::vector<Face>& GetFaces() const { return m_faces; }
    // The face lines as read, while the faces hold the values those lines gave them.
    const BrushAsRead* GetAsRead() const { return m_asRead.get(); }
    // Every face holds the points and values that its line gave it.
    bool HoldsValuesAsRead() const;
    Entity* GetOwner() const { return m_pOwner; }
    void SetOwner(Entity* pOwner) { m_pOwner = pOwner; }
    BOOL IsIsothetic() const { return m_isothetic; }
    BOOL HasStarTexture() const { return m_starTexture; }

private:
    // Clips every face's winding from the planes as they are (BuildWindings computes them first);
    // general: without the shorter ways.
    void ClipWindings(bool general = false);
    // The same clip without a message or an exception: the kind of its failure (and the face) or
    // -1. It touches nothing but this brush, so that another thread may run it.
    int ClipWindingsOrFail(bool general, int& failedFace);
    // Returns the end of what was read; badNumber is set for a number that does not fit;
    // otherBlanks when the read went over blanks other than spaces or over line ends.
    char* ReadFaceLine(Face& face, char* line, const Face* pPrevious, int lineNumber, const char* textEnd,
                       bool& badNumber, bool& unreadable, bool& otherBlanks);
    // Every winding point lies on two planes besides its own: the faces close a volume.
    bool EnclosesVolume() const;
    void ClassifyAll();
    // The classes of a brush read with its windings left for later: the planes only of the faces
    // that need one for their class (BuildReadWindings makes them all).
    void ClassifyFacesAsRead();
    // The faces are those that were read, each with the points its line gave it (no move or
    // reshape since): the faces whose other values are unchanged may be written with their lines.
    bool HoldsPointsAsRead() const;
    void FinishTransform();
    // The plane points of every face from its scaled winding (see Scale).
    void TakeScaledFacePoints();
    // A whole number of quarter turns: the plane points turned exactly. FALSE when the angle is
    // no such turn or a turned point would leave the coordinate range.
    BOOL TurnPlanePoints(int cx, int cy, double angle, int viewType);
    // One of the moves, refused when it would take the brush past the coordinate range; lpszWhat
    // names the move in the box that tells of a view type that is no plane.
    void MoveBy(MoveKind kind, int a, int b, int c, int viewType, LPCSTR lpszWhat);
    void Shift(const long long* delta);
    // Runs an edit on the winding points; the brush is restored when the finish fails.
    template <class Edit> void Transform(Edit edit);
    // Replaces the faces by new zeroed ones built by the setter, all with scales 1 and
    // the texture of face 0, and rebuilds; FALSE (brush unchanged) on a geometry error.
    template <class Setter> BOOL Reshape(int count, Setter setPoints);
    void RebuildAfterCut();
    void RequireValid() const;
    // Takes the faces, flag and box of a brush built as a copy of this one.
    void TakeGeometry(Brush& from);
    void SetWindingCoord(Face& face, int k, int axis, float v);

    BOOL m_isothetic = 0;
    BOOL m_starTexture = 0;
    std::vector<Face> m_faces;
    Entity* m_pOwner = nullptr;
    std::shared_ptr<const BrushAsRead> m_asRead; // shared by copies; never changed
};

template <class Edit> void Brush::Transform(Edit edit)
{
    std::vector<Face> saved = m_faces;
    BOOL isothetic = m_isothetic;
    short box[6];
    for (int i = 0; i < 6; ++i)
        box[i] = m_box[i];
    try {
        edit();
    } catch (...) {
        // Assigned back in place, so that pointers to the faces stay good.
        m_faces = saved;
        m_isothetic = isothetic;
        for (int i = 0; i < 6; ++i)
            m_box[i] = box[i];
        throw;
    }
}

// The program-wide set of picked winding points that a shear moves together.
struct HandlePick
{
    short* rounded;
    CVector* point;
};
enum { MAX_HANDLE_PICKS = 258 };
int GetHandlePickCount();
const HandlePick& GetHandlePick(int i);
void ClearHandlePicks();
