#include "Brush.h"
#include "DocumentFixture.h"
#include "Entity.h"
#include "Tokenizer.h"
#include "RecordingServices.h"
#include "Texture.h"
#include "WindingCheck.h"
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

const double kPi = std::acos(-1.0);

class Brushes : public ModelTest
{
protected:
    Brush* MakeBox(short x0, short x1, short y0, short y1, short z0, short z1)
    {
        short box[6] = {x0, x1, y0, y1, z0, z1};
        return new Brush(nullptr, box);
    }
    void ExpectBox(const Brush& b, std::initializer_list<int> box)
    {
        int i = 0;
        for (int v : box)
            EXPECT_EQ(b.GetBounds()[i++], v) << "box value " << i - 1;
    }
};

TEST_F(Brushes, BoxBrushFacesClassesAndBounds)
{
    std::unique_ptr<Brush> b(MakeBox(64, 0, 0, 64, 64, 0)); // unordered: swapped per axis
    ASSERT_EQ(b->GetFaceCount(), 6);
    const BYTE classes[6] = {3, 3, 1, 1, 2, 2};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(b->GetFace(i).GetPointCount(), 4);
        EXPECT_EQ(b->GetFace(i).cls, classes[i]);
        EXPECT_EQ(b->GetFace(i).texture, services->GetDefaultTexture());
        EXPECT_EQ(b->GetFace(i).xScale, 1.0f);
    }
    EXPECT_TRUE(b->IsIsothetic());
    EXPECT_TRUE(b->IsValid());
    ExpectBox(*b, {0, 64, 0, 64, 0, 64});
    EXPECT_FLOAT_EQ(b->GetFace(0).normal.z, 1.0f); // normals point out
    EXPECT_FLOAT_EQ(b->GetFace(0).dist, 64.0f);
    EXPECT_EQ(b->GetCommonTexture(), services->GetDefaultTexture());
}

TEST_F(Brushes, CopyIsDeepAndKeepsSerialOwnerAndFlags)
{
    std::unique_ptr<Brush> a(MakeBox(0, 8, 0, 8, 0, 8));
    a->SetSelected(true);
    Brush copy(*a);
    EXPECT_EQ(copy.GetSerial(), a->GetSerial());
    EXPECT_TRUE(copy.IsSelected());
    copy.Move(16, 0, VIEW_XY);
    EXPECT_EQ(a->GetBounds()[BOX_MINX], 0);
    EXPECT_EQ(copy.GetBounds()[BOX_MINX], 16);
}

TEST_F(Brushes, GeometryTests)
{
    std::unique_ptr<Brush> big(MakeBox(0, 64, 0, 64, 0, 64));
    std::unique_ptr<Brush> inner(MakeBox(8, 16, 8, 16, 8, 16));
    std::unique_ptr<Brush> across(MakeBox(60, 80, 0, 8, 0, 8));
    std::unique_ptr<Brush> away(MakeBox(100, 120, 0, 8, 0, 8));
    EXPECT_TRUE(big->ContainsBrush(*inner));
    EXPECT_FALSE(big->ContainsBrush(*across));
    EXPECT_TRUE(big->PartlyContainsBrush(*across));
    EXPECT_TRUE(big->PartlyContainsBrush(*away)); // one point behind one plane is enough
    EXPECT_TRUE(Brush::FacesCoplanar(big->GetFace(0), inner->GetFace(0)) == FALSE);
    EXPECT_TRUE(Brush::FacesCoplanar(big->GetFace(1), inner->GetFace(1) ) == FALSE);
    EXPECT_TRUE(Brush::FacesCoplanar(big->GetFace(1), across->GetFace(1)));   // both z = 0, facing down
    EXPECT_TRUE(Brush::FacesCoplanar(away->GetFace(2), away->GetFace(2)));

    // A sloped face: classes by the dominant axis, x winning ties, then y.
    Face f;
    f.pt[0][0] = 0; f.pt[0][1] = 0; f.pt[0][2] = 0;
    f.pt[1][0] = 1; f.pt[1][1] = 1; f.pt[1][2] = 0;
    f.pt[2][0] = 0; f.pt[2][1] = 1; f.pt[2][2] = 1;
    f.normal = CVector(0.7f, 0.7f, 0.1f);
    EXPECT_EQ(big->ClassifyFace(f), 4);
    f.normal = CVector(0.1f, 0.7f, 0.7f);
    EXPECT_EQ(big->ClassifyFace(f), 5);
    f.normal = CVector(NAN, NAN, NAN);
    EXPECT_EQ(big->ClassifyFace(f), 0);
    EXPECT_TRUE(services->BoxContains("unable to classify face!!"));
}

TEST_F(Brushes, WindingsOfAPyramidWithAVertexOnManyPlanes)
{
    // Four sloped faces meet in one apex: the apex lies on every sloped plane, so
    // clipping meets points on the plane beside points behind and in front.
    std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
    auto& faces = b->GetFaces();
    faces.resize(5);
    short apex[3] = {32, 32, 64};
    short base[4][3] = {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}};
    faces[0] = b->GetFace(1); // bottom
    for (int s = 0; s < 4; ++s) {
        Face& f = faces[static_cast<size_t>(s + 1)];
        f = faces[0];
        const short* p = base[s];
        const short* q = base[(s + 1) % 4];
        for (int a = 0; a < 3; ++a) {
            f.pt[0][a] = apex[a];
            f.pt[1][a] = q[a];
            f.pt[2][a] = p[a];
        }
    }
    b->BuildWindings();
    EXPECT_TRUE(b->IsValid());
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(b->GetFace(i).GetPointCount(), 3) << i;
    ExpectBox(*b, {0, 64, 0, 64, 0, 64});
}

// The shorter ways of BuildWindings (planes along an axis, quadrilaterals cut across) give the
// general clip's bits: boxes whose face points run along either axis or across, far from the
// origin, thin, with a vertex on a plane, sloped and turned, and ones that fail.
TEST_F(Brushes, BoxWindingsMatchTheGeneralClipBitForBit)
{
    std::vector<std::unique_ptr<Brush>> cases;
    const short boxes[][6] = {{0, 64, 0, 64, 0, 64},       {-4096, 4095, 17, 18, -3, 1000},
                              {-32000, 32000, -7, 9, 5, 6}, {1001, 1333, -2047, -1013, 7, 2900},
                              {-16000, 16000, 0, 1, -1, 0}};
    for (const auto& box : boxes) {
        short copy[6];
        std::copy(box, box + 6, copy);
        cases.emplace_back(MakeBox(copy[0], copy[1], copy[2], copy[3], copy[4], copy[5]));
        // The same box with each face's points turned round (p1-p2 along the other axis of the
        // face) and with the points spread across the face (p1-p2 not along an axis).
        for (int turn = 1; turn <= 2; ++turn) {
            std::unique_ptr<Brush> b(new Brush(*cases.back()));
            for (Face& f : b->GetFaces()) {
                short pt[3][3];
                std::memcpy(pt, f.pt, sizeof pt);
                for (int k = 0; k < 3; ++k)
                    for (int a = 0; a < 3; ++a)
                        f.pt[k][a] = turn == 1 ? pt[(k + 1) % 3][a] : pt[k][a];
                if (turn == 2)
                    for (int a = 0; a < 3; ++a) // p1 halfway between p1 and p3: still on the face
                        f.pt[0][a] = static_cast<short>((pt[0][a] + pt[2][a]) / 2);
            }
            cases.push_back(std::move(b));
        }
    }
    // Sloped and turned brushes, a pyramid (its apex on four planes) and an over-constrained box.
    cases.emplace_back(MakeBox(0, 64, 0, 64, 0, 64));
    cases.back()->Rotate(32, 32, kPi / 7, VIEW_XY);
    cases.emplace_back(MakeBox(-100, 300, 0, 64, 0, 64));
    cases.back()->GetFace(0).pt[0][2] = 80;
    cases.emplace_back(MakeBox(0, 64, 0, 64, 0, 64));
    {
        auto& faces = cases.back()->GetFaces();
        faces.resize(5);
        const short apex[3] = {32, 32, 64}, base[4][3] = {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}};
        faces[0] = cases.back()->GetFace(1);
        for (int s = 0; s < 4; ++s)
            for (int a = 0; a < 3; ++a) {
                Face& f = faces[static_cast<size_t>(s + 1)];
                f.pt[0][a] = apex[a];
                f.pt[1][a] = base[(s + 1) % 4][a];
                f.pt[2][a] = base[s][a];
            }
    }
    cases.emplace_back(MakeBox(0, 64, 0, 64, 0, 64));
    for (int k = 0; k < 3; ++k)
        cases.back()->GetFace(0).pt[k][2] = -100;
    for (size_t c = 0; c < cases.size(); ++c) {
        SCOPED_TRACE(c);
        ExpectSameWindingsBothWays(*cases[c]);
    }
}

// An axis-aligned vector is normalised by its one component, with the bits of the long double
// length that every other vector gets: units, signed zeros, tiny and huge components.
TEST(VectorNormalize, AxisAlignedGivesTheLongDoubleBits)
{
    const float cases[][3] = {{0, 0, 64},     {0, -64, 0},     {-0.0f, 0, 5},  {0, -0.0f, -3},
                              {1e-40f, 0, 0}, {3.5f, -0.0f, 0}, {32767, 0, 0}, {0, 0, -1e30f},
                              {0, 0, 0},      {3, 4, 0},       {0, -INFINITY, 0}};
    for (const auto& c : cases) {
        CVector v(c[0], c[1], c[2]);
        v.Normalize();
        long double len = std::sqrt(static_cast<long double>(c[0]) * c[0] + static_cast<long double>(c[1]) * c[1] +
                                    static_cast<long double>(c[2]) * c[2]);
        CVector expected(c[0], c[1], c[2]);
        if (len != 0)
            expected = CVector(static_cast<float>(c[0] / len), static_cast<float>(c[1] / len),
                               static_cast<float>(c[2] / len));
        EXPECT_EQ(0, std::memcmp(&v, &expected, sizeof v)) << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST_F(Brushes, OverConstrainedFaceThrows)
{
    std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
    // Move the top plane far below the bottom: it lies wholly in front of it.
    for (int k = 0; k < 3; ++k)
        b->GetFace(0).pt[k][2] = -100;
    EXPECT_THROW(b->BuildWindings(), CBrushGeometryError);
    EXPECT_TRUE(services->BoxContains("Over-constrained face detected"));
}

TEST_F(Brushes, MovesPerViewPlane)
{
    std::unique_ptr<Brush> b(MakeBox(0, 63, 0, 64, 0, 64));
    b->MoveTo(100, 0, VIEW_XY); // the centre 31 lands on 100
    ExpectBox(*b, {69, 132, -32, 32, 0, 64});
    b->Move(16, 0, VIEW_YZ);
    ExpectBox(*b, {69, 132, -16, 48, 0, 64});
    b->MoveDepth(-8, VIEW_XZ);
    ExpectBox(*b, {69, 132, -24, 40, 0, 64});
    b->Translate(1, 2, 3);
    ExpectBox(*b, {70, 133, -22, 42, 3, 67});
    EXPECT_EQ(b->GetFace(0).pt[0][2], 67); // the map text points moved too
    EXPECT_TRUE(b->IsValid());
    b->Move(1, 1, 300);
    EXPECT_TRUE(services->BoxContains("Call to MoveBrush with unsupported type of 300"));
    ExpectBox(*b, {70, 133, -22, 42, 3, 67});
}

TEST_F(Brushes, ScaleAlongTheDepthAxis)
{
    struct Case
    {
        int atMax, delta;
        int min, max;
    } cases[] = {{1, 32, 0, 96}, {0, 32, 32, 64}, {1, -64, 0, 64}, {0, 64, 0, 64}, {0, 100, 0, 64}};
    // The last three would collapse or turn the brush inside out: refused.
    for (const Case& c : cases) {
        std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
        b->Scale(c.atMax, c.delta, VIEW_XY);
        EXPECT_EQ(b->GetBounds()[BOX_MINZ], c.min) << c.atMax << " " << c.delta;
        EXPECT_EQ(b->GetBounds()[BOX_MAXZ], c.max) << c.atMax << " " << c.delta;
        EXPECT_TRUE(b->IsValid());
    }
    std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
    b->Scale(1, 64, VIEW_YZ); // the x axis
    ExpectBox(*b, {0, 128, 0, 64, 0, 64});
}

TEST_F(Brushes, RotatedBoxStaysValid)
{
    std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
    b->Rotate(32, 32, kPi / 4, VIEW_XY);
    EXPECT_TRUE(b->IsValid());
    EXPECT_FALSE(b->IsIsothetic());
    EXPECT_EQ(b->GetFaceCount(), 6);
    EXPECT_NEAR(b->GetBounds()[BOX_MINX], 32 - 45, 1);
    EXPECT_NEAR(b->GetBounds()[BOX_MAXX], 32 + 45, 1);
    CString out;
    b->Write(out);
    EXPECT_FALSE(out.IsEmpty());

    std::unique_ptr<Brush> q(MakeBox(0, 64, 0, 64, 0, 64));
    q->Rotate(32, 32, kPi / 2, VIEW_XY);
    EXPECT_TRUE(q->IsIsothetic());
    ExpectBox(*q, {0, 64, 0, 64, 0, 64});
    q->Rotate(0, 0, kPi / 6, VIEW_XZ);
    EXPECT_TRUE(q->IsValid());
}

TEST_F(Brushes, FailedEditRestoresTheBrush)
{
    std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
    // The top plane far below the bottom: the move's rebuild fails, and the move is undone.
    for (int k = 0; k < 3; ++k)
        b->GetFace(0).pt[k][2] = -100;
    services->boxes.clear();
    EXPECT_THROW(b->Translate(8, 0, 0), CBrushGeometryError);
    ExpectBox(*b, {0, 64, 0, 64, 0, 64});
    EXPECT_EQ(b->GetFace(3).pt[0][0], 64);
    EXPECT_EQ(b->GetFace(0).pt[0][2], -100);
    EXPECT_TRUE(services->BoxContains("Over-constrained face detected"));
}

// Coordinates are 16-bit: a move whose plane points or box would pass the range (and wrap to the
// far side of the map, or turn the brush inside out) is refused, the brush left as it was, and
// said in a box; up to the range's last unit it goes.
TEST_F(Brushes, AMovePastTheCoordinateRangeIsRefused)
{
    const char* const kOne = "A moved brush would lie outside the map's coordinate range.\nIt stays where it was.";
    struct Case
    {
        const char* what;
        short box[6];
        std::function<void(Brush&)> move;
        bool refused;
        short after[6];
    };
    const Case cases[] = {
        {"x +128 at the high end", {32640, 32704, 0, 64, 0, 64}, [](Brush& b) { b.Translate(128, 0, 0); }, true,
         {32640, 32704, 0, 64, 0, 64}},
        {"to the last unit", {32640, 32704, 0, 64, 0, 64}, [](Brush& b) { b.Translate(63, 0, 0); }, false,
         {32703, 32767, 0, 64, 0, 64}},
        {"a view's move", {32640, 32704, 0, 64, 0, 64}, [](Brush& b) { b.Move(128, 0, VIEW_XZ); }, true,
         {32640, 32704, 0, 64, 0, 64}},
        {"a depth move", {0, 64, 0, 64, -32704, -32640}, [](Brush& b) { b.MoveDepth(-65, VIEW_XY); }, true,
         {0, 64, 0, 64, -32704, -32640}},
        {"a move to a point", {0, 64, 0, 64, 0, 64}, [](Brush& b) { b.MoveTo(32767, 32, VIEW_XZ); }, true,
         {0, 64, 0, 64, 0, 64}},
        {"a whole int away", {0, 64, 0, 64, 0, 64}, [](Brush& b) { b.Translate(0, 0, 65536); }, true,
         {0, 64, 0, 64, 0, 64}},
        {"the low end", {-32704, -32640, 0, 64, 0, 64}, [](Brush& b) { b.Translate(-64, 0, 0); }, false,
         {-32768, -32704, 0, 64, 0, 64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        short box[6];
        std::copy(c.box, c.box + 6, box);
        std::unique_ptr<Brush> b(MakeBox(box[0], box[1], box[2], box[3], box[4], box[5]));
        services->boxes.clear();
        c.move(*b);
        ExpectBox(*b, {c.after[0], c.after[1], c.after[2], c.after[3], c.after[4], c.after[5]});
        EXPECT_EQ(b->GetFace(0).pt[0][0], c.after[0]); // the plane points went, or stayed, with it
        EXPECT_EQ(b->GetFace(0).pt[0][2], c.after[5]);
        EXPECT_TRUE(b->IsValid());
        if (c.refused) {
            ASSERT_EQ(services->boxes.size(), 1u);
            EXPECT_EQ(services->boxes[0].text, kOne);
        } else {
            EXPECT_TRUE(services->boxes.empty());
        }
    }

    // Plane points beyond the box (as far as a winding reaches): the box would fit, a point would wrap.
    std::unique_ptr<Brush> beyond(MakeBox(16000, 16064, 0, 64, 0, 64));
    for (int k = 0; k < 3; ++k)
        beyond->GetFace(0).pt[k][0] = static_cast<short>(beyond->GetFace(0).pt[k][0] + 15000); // still z = 64
    beyond->BuildWindings();
    ASSERT_TRUE(beyond->IsValid());
    services->boxes.clear();
    beyond->Translate(2000, 0, 0);
    ExpectBox(*beyond, {16000, 16064, 0, 64, 0, 64});
    EXPECT_EQ(beyond->GetFace(0).pt[0][0], 31000);
    EXPECT_EQ(services->boxes.size(), 1u);

    // One edit of many brushes tells once, with the count.
    std::unique_ptr<Brush> a(MakeBox(32700, 32760, 0, 8, 0, 8)), b(MakeBox(-8, 8, 0, 8, 0, 8)),
        c(MakeBox(32000, 32767, 0, 8, 0, 8));
    services->boxes.clear();
    {
        CMoveRangeReport report;
        for (Brush* t : {a.get(), b.get(), c.get()})
            t->Translate(16, 0, 0);
        EXPECT_TRUE(services->boxes.empty());
    }
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text,
              "2 moved brushes would lie outside the map's coordinate range.\nThey stay where they were.");
    ExpectBox(*b, {8, 24, 0, 8, 0, 8});
    ExpectBox(*a, {32700, 32760, 0, 8, 0, 8});
}

// A brush read from map text (face lines only), with its lines kept as read.
std::unique_ptr<Brush> ReadBrush(const std::vector<std::string>& lines)
{
    std::string text = "{\r\n";
    for (const std::string& l : lines)
        text += l + " WALL 0 0 0 1 1\r\n";
    text += "}\r\n";
    text.push_back(0);
    text.push_back(0);
    CTokenizer tok;
    tok.Init(&text[0]);
    return std::unique_ptr<Brush>(new Brush(tok));
}

// A prism whose apex (2048, 12000) is a corner where its two slanted faces meet: every plane point
// of its faces lies far from it, at the base or beyond it.
const std::vector<std::string> kFarApex = {
    "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 )",          "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 )",
    "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 )",             "( 4096 0 64 ) ( 4096 0 0 ) ( 6144 -12000 0 )",
    "( 0 0 0 ) ( 0 0 64 ) ( -2048 -12000 0 )",
};

// Turns, stretches and handle moves keep a brush within the 16-bit coordinate range: one that
// would take a corner past it (where it would be clamped, the brush squashed against the range's
// end, or wrap to the far side of the map) is refused, the brush left as it was, with one box. A
// quarter turn looks at the brush's corners, not only at its plane points; up to the range's end
// the edits go.
TEST_F(Brushes, TurnsStretchesAndHandlesPastTheCoordinateRangeAreRefused)
{
    services->WriteProfileInt("Brush", "Shear Warning", 1);
    const char* const kOne = "A moved brush would lie outside the map's coordinate range.\nIt stays where it was.";
    const double kQuarter = kPi / 2;
    struct Case
    {
        const char* what;
        std::function<std::unique_ptr<Brush>()> make;
        std::function<void(Brush&)> edit;
        bool refused;
        std::vector<int> after; // the box when the edit goes
    };
    auto box = [this](short x0, short x1, short y0, short y1, short z0, short z1) {
        return [=] { return std::unique_ptr<Brush>(MakeBox(x0, x1, y0, y1, z0, z1)); };
    };
    auto prism = [] { return ReadBrush(kFarApex); };
    const Case cases[] = {
        // The plane points turn to x from -22064 to -10000, the apex to -34000.
        {"a quarter turn taking the apex past the range", prism,
         [&](Brush& b) { b.Rotate(-11000, -11000, kQuarter, VIEW_XY); }, true, {}},
        {"a quarter turn the other way", prism, [&](Brush& b) { b.Rotate(0, 0, -kQuarter, VIEW_XY); }, false,
         {0, 12000, -4096, 0, 0, 64}},
        {"an eighth turn far from the centre", box(32600, 32700, -32700, -32600, 0, 64),
         [&](Brush& b) { b.Rotate(128, 128, kPi / 8, VIEW_XY); }, true, {}},
        {"a stretch past the top", box(0, 64, 0, 64, 0, 32000), [](Brush& b) { b.Scale(1, 1000, VIEW_XY); }, true,
         {}},
        {"a stretch to the last unit", box(0, 64, 0, 64, 0, 32000), [](Brush& b) { b.Scale(1, 767, VIEW_XY); },
         false, {0, 64, 0, 64, 0, 32767}},
        {"a stretch past the bottom", box(0, 64, -32000, 0, 0, 64), [](Brush& b) { b.Scale(0, -1000, VIEW_XZ); },
         true, {}},
        {"a vertex moved past the range", box(32700, 32760, 0, 64, 0, 64),
         [](Brush& b) {
             const short corner[3] = {32760, 0, 0};
             b.PickVertex(corner);
             EXPECT_FALSE(b.Shear(100, 0, VIEW_XY));
         },
         true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<Brush> b = c.make();
        ASSERT_TRUE(b->IsValid());
        std::vector<int> before(b->GetBounds(), b->GetBounds() + 6);
        std::vector<short> points;
        for (const Face& f : b->GetFaces())
            points.insert(points.end(), &f.pt[0][0], &f.pt[0][0] + 9);
        services->boxes.clear();
        c.edit(*b);
        EXPECT_TRUE(b->IsValid());
        std::vector<int> now(b->GetBounds(), b->GetBounds() + 6);
        if (c.refused) {
            EXPECT_EQ(now, before);
            std::vector<short> still;
            for (const Face& f : b->GetFaces())
                still.insert(still.end(), &f.pt[0][0], &f.pt[0][0] + 9);
            EXPECT_EQ(still, points);
            ASSERT_EQ(services->boxes.size(), 1u);
            EXPECT_EQ(services->boxes[0].text, kOne);
        } else {
            EXPECT_EQ(now, c.after);
            EXPECT_TRUE(services->boxes.empty());
        }
    }
}

// The same brush with two axes swapped (the point order turned round, so that it stays the
// same solid, mirrored): a brush of one view's depth axis for another view.
std::vector<std::string> SwapAxes(const std::vector<std::string>& lines, int a, int b)
{
    std::vector<std::string> out;
    for (const std::string& l : lines) {
        int v[9];
        if (std::sscanf(l.c_str(), "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                        &v[6], &v[7], &v[8]) != 9)
            return {};
        for (int k = 0; k < 3; ++k)
            std::swap(v[k * 3 + a], v[k * 3 + b]);
        char buf[128];
        std::snprintf(buf, sizeof buf, "( %d %d %d ) ( %d %d %d ) ( %d %d %d )", v[6], v[7], v[8], v[3], v[4], v[5],
                      v[0], v[1], v[2]);
        out.push_back(buf);
    }
    return out;
}

// A ramp: its sloped faces meet at whole corners, yet a stretch of its height by 6/5 puts most of
// them between whole units.
const std::vector<std::string> kRamp = {
    "( 0 16 16 ) ( 0 0 32 ) ( 0 0 0 )",       "( 64 0 64 ) ( 0 16 48 ) ( 64 16 80 )",
    "( 0 0 0 ) ( 64 0 64 ) ( 64 0 32 )",      "( 0 16 48 ) ( 64 16 48 ) ( 64 16 80 )",
    "( 64 16 48 ) ( 0 0 0 ) ( 64 0 32 )",     "( 64 0 64 ) ( 64 16 48 ) ( 64 0 32 )",
};
// A column whose sloped foot has corners half a unit below whole ones (15.5 and 31.5).
const std::vector<std::string> kHalfFoot = {
    "( 0 32 288 ) ( 0 0 288 ) ( 0 0 0 )",     "( -96 0 0 ) ( -96 0 288 ) ( 32 0 288 )",
    "( 32 0 256 ) ( -96 0 256 ) ( -96 32 256 )", "( 32 32 64 ) ( 32 32 288 ) ( -96 32 288 )",
    "( 45 0 38 ) ( 45 32 38 ) ( -83 32 -26 )", "( 32 0 64 ) ( 32 0 288 ) ( 32 32 288 )",
};

// A stretch by the depth view's handle moves the brush's end by the asked amount and no other,
// a sloped brush as a box: its box comes from the stretched points, not from where the rebuilt
// corners happen to round. The brush stays valid.
TEST_F(Brushes, AStretchOfASlopedBrushLandsOnTheGrid)
{
    struct Case
    {
        const char* what;
        const std::vector<std::string>* lines;
        int swapA, swapB; // the axes swapped to make the brush for the view
        int view, atMax, delta;
    };
    const Case cases[] = {
        {"ramp, top", &kRamp, 0, 0, VIEW_XY, 1, 16},       {"ramp, bottom", &kRamp, 0, 0, VIEW_XY, 0, -16},
        {"ramp in y", &kRamp, 1, 2, VIEW_XZ, 1, 16},       {"ramp in x", &kRamp, 0, 2, VIEW_YZ, 1, 16},
        {"half foot, top", &kHalfFoot, 0, 0, VIEW_XY, 1, 16}, {"half foot in x", &kHalfFoot, 0, 2, VIEW_YZ, 1, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<Brush> b = ReadBrush(c.swapA == c.swapB ? *c.lines : SwapAxes(*c.lines, c.swapA, c.swapB));
        ASSERT_TRUE(b->IsValid());
        int a, h, d;
        ASSERT_TRUE(ViewAxes(c.view, a, h, d));
        short want[6];
        std::copy(b->GetBounds(), b->GetBounds() + 6, want);
        // The handle's end moves by the amount: at max the top, else the bottom.
        short& end = want[d * 2 + (c.atMax ? 1 : 0)];
        end = static_cast<short>(end + c.delta);
        b->Scale(c.atMax, c.delta, c.view);
        ExpectBox(*b, {want[0], want[1], want[2], want[3], want[4], want[5]});
        EXPECT_TRUE(b->IsValid());
        // The rebuilt corners lie within the box.
        for (const Face& f : b->GetFaces())
            for (const auto& p : f.rounded)
                for (int ax = 0; ax < 3; ++ax) {
                    EXPECT_GE(p[static_cast<size_t>(ax)], b->GetBounds()[ax * 2]);
                    EXPECT_LE(p[static_cast<size_t>(ax)], b->GetBounds()[ax * 2 + 1]);
                }
    }
}

// Four quarter turns give a brush back: its plane points are turned, so a brush whose corners lie
// between whole units keeps them, and one kept as read is written as read again.
TEST_F(Brushes, FourQuarterTurnsGiveABrushBack)
{
    // A box whose low x side slopes: its corners at x 143 and 144.5.
    const std::vector<std::string> lines = {
        "( 143 0 32 ) ( 143 64 32 ) ( 192 64 32 )", "( 143 0 0 ) ( 192 0 0 ) ( 192 64 0 )",
        "( 146 64 0 ) ( 146 64 32 ) ( 143 0 32 )",  "( 192 64 0 ) ( 192 0 0 ) ( 192 0 32 )",
        "( 143 0 0 ) ( 143 0 32 ) ( 192 0 32 )",    "( 143 32 0 ) ( 192 32 0 ) ( 192 32 32 )",
    };
    const double kQuarter = kPi / 2;
    for (int view : {VIEW_XY, VIEW_XZ, VIEW_YZ})
        for (double angle : {kQuarter, -kQuarter, 2 * kQuarter}) {
            SCOPED_TRACE(testing::Message() << "view " << view << ", angle " << angle);
            std::unique_ptr<Brush> b = ReadBrush(lines);
            ASSERT_TRUE(b->IsValid());
            CString before;
            b->Write(before);
            std::vector<short> box(b->GetBounds(), b->GetBounds() + 6);
            int a, h, d;
            ASSERT_TRUE(ViewAxes(view, a, h, d));
            const int cx = box[a * 2] + (box[a * 2 + 1] - box[a * 2]) / 2;
            const int cy = box[h * 2] + (box[h * 2 + 1] - box[h * 2]) / 2;
            const int turns = angle == 2 * kQuarter ? 2 : 4;
            for (int i = 0; i < turns; ++i) {
                b->Rotate(cx, cy, angle, view);
                EXPECT_TRUE(b->IsValid()) << i;
            }
            EXPECT_EQ(box, std::vector<short>(b->GetBounds(), b->GetBounds() + 6));
            EXPECT_TRUE(b->HoldsValuesAsRead());
            CString after;
            b->Write(after);
            EXPECT_STREQ(before, after);
        }
}

class RealMapBrushes : public DocumentTest
{
};

// Every valid world brush of two real maps, sloped ones and ones whose corners lie between whole
// units among them: a grid step's stretch from either end in each view moves that end by the step
// and no other, and four quarter turns give each brush its own plane points and box back. All stay
// valid.
TEST_F(RealMapBrushes, StretchesLandOnTheGridAndQuarterTurnsGiveBrushesBack)
{
    for (const char* name : {"librequake_e2m2.map", "jrbase1.map"}) {
        SCOPED_TRACE(name);
        const std::string path = shareddata::Path(std::string("maps\\") + name);
        SKIP_WITHOUT_SHARED_DATA(path);
        ASSERT_TRUE(map->OnOpenDocument(path.c_str()));
        Brush::QuietGeometry quiet;
        int brushes = 0, missedStretches = 0, missedTurns = 0, invalid = 0;
        for (POSITION pos = map->GetWorldEntity()->GetBrushes().GetHeadPosition(); pos;) {
            const Brush* original = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetNext(pos));
            if (!original->IsValid())
                continue;
            ++brushes;
            const std::vector<short> box(original->GetBounds(), original->GetBounds() + 6);
            for (int view : {VIEW_XY, VIEW_XZ, VIEW_YZ}) {
                int a, b, d;
                ASSERT_TRUE(ViewAxes(view, a, b, d));
                for (int atMax : {1, 0}) {
                    Brush stretched(*original);
                    stretched.SetOwner(nullptr);
                    const int delta = atMax ? 16 : -16; // the top up, or the bottom down, one step
                    stretched.Scale(atMax, delta, view);
                    std::vector<short> want = box;
                    want[static_cast<size_t>(d * 2 + atMax)] = static_cast<short>(want[static_cast<size_t>(d * 2 + atMax)] + delta);
                    missedStretches += std::vector<short>(stretched.GetBounds(), stretched.GetBounds() + 6) != want;
                    invalid += !stretched.IsValid();
                }
                Brush turned(*original);
                turned.SetOwner(nullptr);
                // About the brush's centre, as a turn by hand goes about one point.
                const int cx = box[static_cast<size_t>(a * 2)] + (box[static_cast<size_t>(a * 2 + 1)] - box[static_cast<size_t>(a * 2)]) / 2;
                const int cy = box[static_cast<size_t>(b * 2)] + (box[static_cast<size_t>(b * 2 + 1)] - box[static_cast<size_t>(b * 2)]) / 2;
                for (int i = 0; i < 4; ++i) {
                    turned.Rotate(cx, cy, kPi / 2, view);
                    invalid += !turned.IsValid();
                }
                bool same = std::vector<short>(turned.GetBounds(), turned.GetBounds() + 6) == box;
                for (int i = 0; i < turned.GetFaceCount(); ++i)
                    same = same && std::memcmp(turned.GetFace(i).pt, original->GetFace(i).pt, sizeof original->GetFace(i).pt) == 0;
                missedTurns += !same;
            }
        }
        EXPECT_GT(brushes, 1000);
        EXPECT_EQ(0, missedStretches);
        EXPECT_EQ(0, missedTurns);
        EXPECT_EQ(0, invalid);
    }
}

TEST_F(Brushes, HandlePointsAndPicks)
{
    std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
    CPtrList facePts, edgePts, vertexPts;
    b->GetFacePoints(facePts);
    b->GetEdgePoints(edgePts);
    b->GetVertexPoints(vertexPts);
    EXPECT_EQ(facePts.GetCount(), 6);
    EXPECT_EQ(edgePts.GetCount(), 12);
    EXPECT_EQ(vertexPts.GetCount(), 8);
    const short* top = static_cast<short*>(facePts.GetHead());
    EXPECT_EQ(top[0], 32);
    EXPECT_EQ(top[2], 64);
    for (CPtrList* l : {&facePts, &edgePts})
        while (!l->IsEmpty())
            delete[] static_cast<short*>(l->RemoveHead());

    short vertex[3] = {0, 0, 0}, edge[3] = {32, 0, 0}, face[3] = {32, 32, 64}, none[3] = {1, 2, 3};
    b->PickVertex(vertex);
    EXPECT_EQ(GetHandlePickCount(), 3);
    b->PickEdgeVertices(edge);
    EXPECT_EQ(GetHandlePickCount(), 6);
    b->PickFaceVertices(face);
    EXPECT_EQ(GetHandlePickCount(), 12);
    b->PickFaceVertices(none);
    EXPECT_EQ(GetHandlePickCount(), 0);
}

// The shear shows nothing itself (it runs in the middle of a drag); the warning that follows the
// first one is shown once, across runs.
TEST_F(Brushes, ShearMovesPickedPointsAndTheWarningShowsOnce)
{
    std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
    short face[3] = {32, 32, 64};
    b->PickFaceVertices(face); // the top face
    EXPECT_TRUE(Brush::IsShearWarningDue());
    EXPECT_TRUE(b->Shear(16, 0, VIEW_XY));
    EXPECT_EQ(b->GetFace(0).pt[0][0], 16);
    EXPECT_EQ(b->GetBounds()[BOX_MAXX], 80);
    EXPECT_FALSE(b->IsIsothetic());
    EXPECT_TRUE(services->boxes.empty());
    Brush::ShowShearWarning();
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_NE(services->boxes[0].text.find("This message will not be displayed again."), std::string::npos);
    EXPECT_EQ(services->GetProfileInt("Brush", "Shear Warning", 0), 1);
    EXPECT_FALSE(Brush::IsShearWarningDue());
    Brush::ShowShearWarning();
    EXPECT_EQ(services->boxes.size(), 1u);
}

TEST_F(Brushes, TexturesByNameAndPointer)
{
    std::unique_ptr<Brush> b(MakeBox(0, 8, 0, 8, 0, 8));
    Texture t;
    t.name = "BRICK";
    b->SetTexture(&t);
    EXPECT_EQ(b->GetCommonTexture(), &t);
    b->GetFace(2).texture = services->GetDefaultTexture();
    EXPECT_EQ(b->GetCommonTexture(), nullptr);
    b->SetTextureByName("NOT_LOADED"); // nothing changes for a name without a texture
    EXPECT_EQ(b->GetFace(0).texture, &t);
    b->SetTexture(nullptr);
    EXPECT_EQ(b->GetCommonTexture(), services->GetDefaultTexture());
}

TEST(DefaultTexture, Checkerboard)
{
    Texture t;
    FillDefaultTexture(t);
    EXPECT_STREQ(t.name, "DEFAULT");
    EXPECT_EQ(t.p2width, 16);
    auto pixel = [&](int i) { return std::vector<int>{t.bits[i * 3], t.bits[i * 3 + 1], t.bits[i * 3 + 2]}; };
    std::vector<int> white = {255, 255, 255}, blue = {0, 0, 255};
    EXPECT_EQ(pixel(0), blue);
    EXPECT_EQ(pixel(8), white);
    EXPECT_EQ(pixel(128), white);
    EXPECT_EQ(pixel(136), blue);
    FreeDefaultTexture(t);
}

// A changed face is written from its numbers: coordinates right-aligned in four places, offsets
// and rotation as they are, scales with six places, the largest values in full.
TEST_F(Brushes, FaceLineNumbersAsWritten)
{
    struct Case
    {
        short pt[3][3];
        short xOffset, yOffset, rotation;
        float xScale, yScale;
        const char* line;
    };
    const Case cases[] = {
        {{{0, 0, 64}, {0, 64, 64}, {64, 64, 64}}, 0, 0, 0, 1.0f, 1.0f,
         "    (    0    0   64 ) (    0   64   64 ) (   64   64   64 ) DEFAULT 0 0 0 1.000000 1.000000\r\n"},
        {{{-32768, 32767, -1}, {12345, -4096, 0}, {7, -12, 999}}, -32768, 32767, -5, -0.5f, 0.125f,
         "    ( -32768 32767   -1 ) ( 12345 -4096    0 ) (    7  -12  999 ) DEFAULT -32768 32767 -5 -0.500000 "
         "0.125000\r\n"},
        {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0, 0, 0, 0.1f, -0.0f,
         "    (    0    0    0 ) (    0    0    0 ) (    0    0    0 ) DEFAULT 0 0 0 0.100000 -0.000000\r\n"},
        {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0, 0, 0, 0.894428f, 123.456f,
         "    (    0    0    0 ) (    0    0    0 ) (    0    0    0 ) DEFAULT 0 0 0 0.894428 123.456001\r\n"},
        {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0, 0, 0, 16777216.0f, 1e12f,
         "    (    0    0    0 ) (    0    0    0 ) (    0    0    0 ) DEFAULT 0 0 0 16777216.000000 "
         "999999995904.000000\r\n"},
        {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 0, 0, 0, 2.5e-7f, -3.4028234663852886e38f,
         "    (    0    0    0 ) (    0    0    0 ) (    0    0    0 ) DEFAULT 0 0 0 0.000000 "
         "-340282346638528859811704183484516925440.000000\r\n"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Brush> b(MakeBox(0, 64, 0, 64, 0, 64));
        Face& f = b->GetFace(0);
        std::memcpy(f.pt, c.pt, sizeof f.pt);
        f.xOffset = c.xOffset;
        f.yOffset = c.yOffset;
        f.rotation = c.rotation;
        f.xScale = c.xScale;
        f.yScale = c.yScale;
        CString out;
        b->Write(out, true);
        const std::string text(out.GetString());
        EXPECT_EQ(text.substr(0, text.find('\n') + 1), c.line);
    }
}

} // namespace
