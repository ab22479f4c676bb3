#include "DocumentFixture.h"
#include "Texture.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>

namespace {

const double kPi = std::acos(-1.0);

// The volume of a convex brush: a pyramid from an inner point over every face.
double Volume(const Brush& b)
{
    CVector centre;
    int n = 0;
    for (const Face& f : b.GetFaces())
        for (const CVector& p : f.winding) {
            VectorAdd(centre, centre, p);
            ++n;
        }
    centre = CVector(centre.x / n, centre.y / n, centre.z / n);
    double volume = 0;
    for (const Face& f : b.GetFaces()) {
        CVector sum;
        for (size_t k = 1; k + 1 < f.winding.size(); ++k) {
            CVector a, c, cross;
            VectorSubtract(a, f.winding[k], f.winding[0]);
            VectorSubtract(c, f.winding[k + 1], f.winding[0]);
            VectorCross(cross, a, c);
            VectorAdd(sum, sum, cross);
        }
        double area = std::sqrt(VectorDot(sum, sum)) / 2;
        double height = std::fabs(VectorDot(f.normal, centre) - f.dist);
        volume += area * height / 3;
    }
    return volume;
}

double TotalVolume(Entity* e)
{
    double v = 0;
    for (POSITION pos = e->GetBrushes().GetHeadPosition(); pos;)
        v += Volume(*static_cast<Brush*>(e->GetBrushes().GetNext(pos)));
    return v;
}

std::vector<Face> FacesOf(const Brush& b)
{
    return b.GetFaces();
}

bool SameFaces(const std::vector<Face>& a, const Brush& b)
{
    if (static_cast<int>(a.size()) != b.GetFaceCount())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        for (int k = 0; k < 3; ++k)
            for (int c = 0; c < 3; ++c)
                if (a[i].pt[k][c] != b.GetFace(static_cast<int>(i)).pt[k][c])
                    return false;
    return true;
}

class Csg : public DocumentTest
{
protected:
    // Selects the cutter and cuts the map's objects with it.
    BOOL SubtractWith(Brush* cutter)
    {
        Select(cutter);
        CPtrList objects;
        map->CollectObjects(objects);
        return cutter->Subtract(objects);
    }
};

TEST_F(Csg, PrimitivesInEveryView)
{
    Texture tex;
    tex.name = "stone";
    struct Kind
    {
        const char* name;
        int faces;
        BOOL (*make)(Brush&, int view);
    } kinds[] = {
        {"pyramid", 5, [](Brush& b, int v) { return b.MakePyramid(v); }},
        {"wedge", 5, [](Brush& b, int v) { return b.MakeWedge(v); }},
        {"cone", 9, [](Brush& b, int v) { return b.MakeCone(v, 8); }},
        {"cylinder", 10, [](Brush& b, int v) { return b.MakeCylinder(v, 8); }},
        {"sphere", 6, [](Brush& b, int) { return b.MakeSphere(); }},
    };
    for (const Kind& k : kinds)
        for (int view : {VIEW_XY, VIEW_XZ, VIEW_YZ}) {
            Brush* b = AddBrush(world, -64, 64, 0, 96, 0, 128);
            b->SetTexture(&tex);
            b->GetFace(3).xScale = 4;
            ASSERT_TRUE(k.make(*b, view)) << k.name << " " << view;
            EXPECT_TRUE(b->IsValid()) << k.name << " " << view;
            EXPECT_EQ(b->GetFaceCount(), k.faces) << k.name << " " << view;
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(b->GetBounds()[i], Box(-64, 64, 0, 96, 0, 128)[i]) << k.name << " " << view << " " << i;
            for (const Face& f : b->GetFaces()) {
                EXPECT_EQ(f.texture, &tex);
                EXPECT_EQ(f.xScale, 1.0f);
                EXPECT_EQ(f.xOffset, 0);
            }
        }
}

TEST_F(Csg, PrimitivePoints)
{
    // The corners at the top of a pyramid: its apex alone.
    auto top = [](const Brush* b) {
        std::set<std::array<short, 3>> points;
        for (const Face& f : b->GetFaces())
            for (const auto& q : f.rounded)
                if (q[2] == 64)
                    points.insert(q);
        return points;
    };
    Brush* p = AddBrush(world, 0, 64, 0, 64, 0, 64);
    ASSERT_TRUE(p->MakePyramid(VIEW_XY));
    EXPECT_EQ(top(p), (std::set<std::array<short, 3>>{{32, 32, 64}}));
    Brush* n = AddBrush(world, -63, 0, 0, 64, 0, 64);
    ASSERT_TRUE(n->MakePyramid(VIEW_XY));
    EXPECT_EQ(top(n), (std::set<std::array<short, 3>>{{-32, 32, 64}})); // the floor of -31.5

    // A four-sided cone starts its ring at (32, 0) and turns counter-clockwise.
    Brush* c = AddBrush(world, 0, 64, 0, 64, 0, 64);
    ASSERT_TRUE(c->MakeCone(VIEW_XY, 4));
    std::vector<std::array<short, 3>> base(c->GetFace(0).rounded.begin(), c->GetFace(0).rounded.end());
    ASSERT_EQ(base.size(), 4u);
    std::set<std::array<short, 3>> ring(base.begin(), base.end());
    EXPECT_EQ(ring, (std::set<std::array<short, 3>>{{32, 0, 0}, {64, 32, 0}, {32, 64, 0}, {0, 32, 0}}));
    EXPECT_LT(c->GetFace(0).normal.z, -0.99f); // the base faces down
}

TEST_F(Csg, PrimitiveSideCountsOutOfRangeChangeNothing)
{
    Brush* b = AddBrush(world, 0, 64, 0, 64, 0, 64);
    std::vector<Face> before = FacesOf(*b);
    EXPECT_TRUE(b->MakeCylinder(VIEW_XY, 17));
    EXPECT_TRUE(b->MakeCone(VIEW_XY, 255));
    EXPECT_TRUE(b->MakeCone(VIEW_XZ, 2));
    EXPECT_TRUE(SameFaces(before, *b));
    EXPECT_TRUE(b->IsIsothetic());
}

TEST_F(Csg, FailingPrimitiveRestoresTheBrush)
{
    // A ring of 254 points in a box two units wide rounds onto itself: no face can be built.
    Brush* b = AddBrush(world, 0, 2, 0, 2, 0, 2);
    map->SetPickedFace(&b->GetFace(0));
    std::vector<Face> before = FacesOf(*b);
    EXPECT_FALSE(b->MakeCone(VIEW_XY, 254));
    EXPECT_TRUE(SameFaces(before, *b));
    EXPECT_TRUE(b->IsIsothetic());
    EXPECT_TRUE(b->IsValid());
    EXPECT_EQ(b->GetBounds()[BOX_MAXX], 2);
    EXPECT_EQ(map->GetPickedFace(), &b->GetFace(0)); // nothing was rebuilt
    EXPECT_FALSE(services->quit);

    // A primitive that succeeds drops the picked face, whose record is gone.
    ASSERT_TRUE(b->MakeWedge(VIEW_XY));
    EXPECT_EQ(map->GetPickedFace(), nullptr);
}

TEST_F(Csg, SubtractCarvesFivePiecesOutOfABox)
{
    Brush* big = AddBrush(world, 0, 128, 0, 128, 0, 128);
    Brush* cutter = AddBrush(world, 32, 96, 32, 96, 96, 160);
    Brush* distant = AddBrush(world, 500, 564, 0, 64, 0, 64);
    Brush* touching = AddBrush(world, 128, 192, 0, 128, 0, 128);
    double before = Volume(*big);
    ASSERT_TRUE(SubtractWith(cutter));
    EXPECT_EQ(world->GetBrushCount(), 3 + 5);
    EXPECT_EQ(world->GetBrushes().Find(big), nullptr);
    EXPECT_NE(world->GetBrushes().Find(distant), nullptr);
    EXPECT_NE(world->GetBrushes().Find(touching), nullptr);
    double pieces = 0;
    int count = 0;
    for (POSITION pos = world->GetBrushes().GetHeadPosition(); pos;) {
        Brush* b = static_cast<Brush*>(world->GetBrushes().GetNext(pos));
        if (b == cutter || b == distant || b == touching)
            continue;
        ++count;
        EXPECT_TRUE(b->IsValid());
        EXPECT_FALSE(b->IsSelected()); // pieces start unselected
        EXPECT_EQ(b->GetOwner(), world);
        EXPECT_FALSE(cutter->ContainsBrush(*b));
        pieces += Volume(*b);
    }
    EXPECT_EQ(count, 5);
    EXPECT_NEAR(pieces, before - 64.0 * 64 * 32, before * 1e-5);
    EXPECT_TRUE(cutter->IsSelected());
    EXPECT_EQ(map->GetSelectionCount(), 1);
    EXPECT_GE(services->objectOrderRebuilds, 1);
}

TEST_F(Csg, SubtractDeletesWhatLiesWhollyInside)
{
    Entity* door = AddEntity("func_door");
    AddBrush(door, 40, 50, 40, 50, 40, 50);
    Brush* cutter = AddBrush(world, 0, 128, 0, 128, 0, 128);
    ASSERT_TRUE(SubtractWith(cutter));
    EXPECT_EQ(map->GetEntities().GetCount(), 1); // the emptied door went with its brush
    EXPECT_EQ(world->GetBrushCount(), 1);
}

TEST_F(Csg, SubtractWithARotatedCutter)
{
    Entity* scratch = AddEntity("func_wall");
    Brush* big = AddBrush(world, 0, 256, 0, 256, 0, 128);
    // Turned so that a cutter face meets an edge of the box to within rounding.
    Brush* cutter = AddBrush(world, 0, 128, 0, 128, -64, 192);
    cutter->Rotate(20, 64, 34 * kPi / 180, VIEW_XY);
    ASSERT_TRUE(cutter->IsValid());

    // What the cutter takes away, for the volume check: the intersection of copies.
    Brush* common = AddBrush(scratch, 0, 256, 0, 256, 0, 128);
    Brush* cutterCopy = new Brush(*cutter);
    cutterCopy->SetOwner(scratch);
    scratch->AddBrush(cutterCopy);
    Select(common);
    Select(cutterCopy);
    ASSERT_TRUE(common->Intersect(map));
    EXPECT_TRUE(common->IsValid());
    double taken = Volume(*common);
    double before = Volume(*big);
    EXPECT_GT(taken, 1000.0);
    map->DeselectAll();
    delete common; // the scratch entity goes with it

    ASSERT_TRUE(SubtractWith(cutter));
    double pieces = 0;
    for (POSITION pos = world->GetBrushes().GetHeadPosition(); pos;) {
        Brush* b = static_cast<Brush*>(world->GetBrushes().GetNext(pos));
        if (b == cutter)
            continue;
        EXPECT_TRUE(b->IsValid());
        pieces += Volume(*b);
    }
    EXPECT_GE(world->GetBrushCount(), 3);
    EXPECT_NEAR(pieces + taken, before, before * 0.002);
}

// Signed distance of a point from a face's plane: positive in front (outside the brush).
double Distance(const Face& f, const CVector& p)
{
    return VectorDot(f.normal, p) - f.dist;
}

// Behind every plane of the brush by at least the margin (a negative margin allows as much outside).
bool Inside(const Brush& b, const CVector& p, double margin)
{
    for (const Face& f : b.GetFaces())
        if (Distance(f, p) > -margin)
            return false;
    return true;
}

// In front of one plane of the brush by more than the margin.
bool Outside(const Brush& b, const CVector& p, double margin)
{
    for (const Face& f : b.GetFaces())
        if (Distance(f, p) > margin)
            return true;
    return false;
}

// The whole brush lies on the outer side of one of the cutter's planes (to within the tolerance).
bool SeparatedBy(const Brush& cutter, const Brush& b, double tolerance)
{
    for (const Face& s : cutter.GetFaces()) {
        bool all = true;
        for (const Face& f : b.GetFaces())
            for (const CVector& p : f.winding)
                if (Distance(s, p) < -tolerance)
                    all = false;
        if (all)
            return true;
    }
    return false;
}

// The integer plane points of every face: what a brush is, as the map file keeps it.
std::vector<short> Shape(const Brush& b)
{
    std::vector<short> out;
    for (const Face& f : b.GetFaces())
        for (int k = 0; k < 3; ++k)
            out.insert(out.end(), f.pt[k], f.pt[k] + 3);
    return out;
}

// Points spread over the brush's box that lie inside the brush and well outside the cutter.
std::vector<CVector> KeptPoints(const Brush& b, const Brush& cutter)
{
    std::vector<CVector> out;
    const short* bb = b.GetBounds();
    const int n = 9;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k) {
                CVector p(static_cast<float>(bb[0] + (bb[1] - bb[0]) * (i + 0.37) / n),
                          static_cast<float>(bb[2] + (bb[3] - bb[2]) * (j + 0.41) / n),
                          static_cast<float>(bb[4] + (bb[5] - bb[4]) * (k + 0.43) / n));
                if (Inside(b, p, 0.05) && Outside(cutter, p, 0.5))
                    out.push_back(p);
            }
    return out;
}

// The points that none of the brushes covers.
int Uncovered(const std::vector<CVector>& points, const std::vector<Brush*>& brushes)
{
    int lost = 0;
    for (const CVector& p : points) {
        bool covered = false;
        for (size_t k = 0; k < brushes.size() && !covered; ++k)
            covered = Inside(*brushes[k], p, -0.02);
        lost += !covered;
    }
    return lost;
}

bool BoxesOverlap(const short* a, const short* b)
{
    for (int axis = 0; axis < 3; ++axis)
        if (!(a[axis * 2] < b[axis * 2 + 1] && b[axis * 2] < a[axis * 2 + 1]))
            return false;
    return true;
}

// A brush made of faces given by their three points each.
Brush* BrushOfFaces(Entity* owner, const std::vector<std::array<short, 9>>& points)
{
    short box[6] = {0, 64, 0, 64, 0, 64};
    Brush* b = new Brush(owner, box);
    std::vector<Face>& faces = b->GetFaces();
    faces.resize(points.size(), faces[0]);
    for (size_t i = 0; i < points.size(); ++i)
        for (int k = 0; k < 9; ++k)
            faces[i].pt[k / 3][k % 3] = points[i][static_cast<size_t>(k)];
    b->BuildWindings();
    owner->AddBrush(b);
    return b;
}

// Two pairs from the real maps, each a map brush and a cutter made from a neighbour moved by a
// third of its size, their boxes overlapping: a pyramid beside a sloped cutter, a slanted beam
// beside a triangular one. Neither brush reaches into its cutter, and neither is changed.
TEST_F(Csg, SubtractKeepsWhatLiesOutsideTheCutter)
{
    struct Case
    {
        const char* name;
        std::vector<std::array<short, 9>> brush, cutter;
    } cases[] = {
        {"pyramid beside a sloped cutter",
         {{-192, -40, 448, -184, -48, 528, -192, -56, 448},
          {-184, -48, 528, -176, -56, 448, -192, -56, 448},
          {-176, -56, 456, -176, -40, 456, -192, -40, 456},
          {-192, -40, 448, -176, -40, 448, -184, -48, 528},
          {-184, -48, 528, -176, -40, 448, -176, -56, 448}},
         {{-320, -22, 330, -320, -22, 362, -320, -54, 362},
          {-192, -22, 426, -192, -54, 426, -320, -54, 362},
          {-320, -54, 362, -192, -54, 426, -192, -54, 394},
          {-192, -22, 394, -192, -22, 426, -320, -22, 362},
          {-192, -54, 394, -192, -22, 394, -320, -22, 330},
          {-128, -54, 394, -128, -54, 426, -128, -22, 426}}},
        {"slanted beam beside a triangular cutter",
         {{640, -2656, -1336, 640, -2640, -1336, 640, -2640, -1288},
          {704, -2592, -1288, 704, -2592, -1528, 640, -2656, -1528},
          {704, -2576, -1528, 704, -2576, -1288, 640, -2640, -1288},
          {704, -2608, -256, 704, -2624, -256, 640, -2688, -256},
          {672, -2608, -1288, 672, -2608, -1336, 688, -2608, -1336},
          {640, -2688, -1192, 656, -2688, -1192, 656, -2440, -1192}},
         {{656, -2640, -971, 704, -2640, -971, 704, -2640, -987},
          {704, -2640, -971, 704, -2592, -971, 704, -2592, -987},
          {704, -2640, -971, 656, -2640, -971, 656, -2592, -971},
          {656, -2592, -987, 656, -2640, -987, 704, -2640, -987},
          {656, -2640, -987, 704, -2592, -987, 656, -2640, -971}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Brush* brush = BrushOfFaces(world, c.brush);
        Brush* cutter = BrushOfFaces(world, c.cutter);
        ASSERT_TRUE(brush->IsValid());
        ASSERT_TRUE(cutter->IsValid());
        const std::vector<short> shape = Shape(*brush);
        const std::vector<CVector> keep = KeptPoints(*brush, *cutter);
        ASSERT_GT(keep.size(), 100u);
        ASSERT_TRUE(SubtractWith(cutter));
        std::vector<Brush*> now;
        for (POSITION pos = world->GetBrushes().GetHeadPosition(); pos;) {
            Brush* b = static_cast<Brush*>(world->GetBrushes().GetNext(pos));
            if (b == cutter)
                continue;
            now.push_back(b);
            EXPECT_TRUE(b->IsValid());
            EXPECT_TRUE(SeparatedBy(*cutter, *b, 0.1)) << "a piece reaches into the cutter";
        }
        EXPECT_EQ(0, Uncovered(keep, now));
        ASSERT_EQ(1u, now.size());
        ASSERT_EQ(brush, now[0]);
        EXPECT_TRUE(Shape(*brush) == shape);
        map->DeselectAll();
        while (world->GetBrushCount())
            delete static_cast<Brush*>(world->GetBrushes().GetHead());
    }
}

// Cutters made from map brushes, copied and moved by a third of their size, cut every real map:
// a point that a brush covered and that lies outside the cutter is still covered by that brush
// or its pieces; no piece reaches into the cutter; a brush that lies beside the cutter (its box
// apart, or a cutter plane between them) is not touched; a refused subtract changes nothing.
TEST_F(Csg, RealMapsSubtractKeepsEverythingOutsideTheCutter)
{
    CString folder;
    std::vector<CString> names = RealMaps(folder);
    if (names.empty())
        GTEST_SKIP() << "no real maps in " << (LPCSTR)folder;
    int cutters = 0, reached = 0, refused = 0, sampled = 0, lostBrushes = 0, intruding = 0;
    double worst = 0; // the largest share of a brush's points lost
    for (const CString& name : names) {
        SCOPED_TRACE((LPCSTR)name);
        ASSERT_TRUE(map->OnOpenDocument(folder + name));
        world = map->GetWorldEntity();
        std::vector<Brush*> sources;
        for (POSITION pos = world->GetBrushes().GetHeadPosition(); pos;) {
            Brush* b = static_cast<Brush*>(world->GetBrushes().GetNext(pos));
            if (b->IsValid())
                sources.push_back(b);
        }
        // About a dozen cutters spread over each map, each from a brush still as read.
        const size_t stride = std::max<size_t>(1, sources.size() / 13);
        std::vector<std::vector<short>> shapes;
        for (size_t i = 0; i < sources.size(); i += stride)
            shapes.push_back(Shape(*sources[i]));
        std::vector<Brush*> picks;
        for (size_t i = 0; i < sources.size(); i += stride)
            picks.push_back(sources[i]);
        for (size_t c = 0; c < picks.size() && c < 13; ++c) {
            // The source may have been cut by an earlier cutter: then it is gone or changed.
            CPtrList before;
            map->CollectObjects(before);
            if (!before.Find(picks[c]) || Shape(*picks[c]) != shapes[c])
                continue;
            Brush* cutter = new Brush(*picks[c]);
            cutter->SetOwner(world);
            world->AddBrush(cutter);
            const short* sb = cutter->GetBounds();
            cutter->Translate((sb[1] - sb[0]) / 3, (sb[3] - sb[2]) / 3, (sb[5] - sb[4]) / 3);
            if (!cutter->IsValid()) {
                delete cutter;
                continue;
            }
            ++cutters;
            // Every brush as it was, and where each touched one covered ground outside the cutter.
            struct Old
            {
                Brush* brush;
                Entity* owner;
                std::vector<short> shape;
                bool apart;
                std::vector<CVector> keep; // covered and outside the cutter
                short at[6];               // its box, for the report
            };
            std::vector<std::unique_ptr<Brush>> copies;
            std::vector<Old> olds;
            for (POSITION pos = before.GetHeadPosition(); pos;) {
                SThing* t = static_cast<SThing*>(before.GetNext(pos));
                if (t->GetKind() != 0)
                    continue;
                Brush* b = static_cast<Brush*>(t);
                const bool boxesMeet = BoxesOverlap(b->GetBounds(), cutter->GetBounds());
                Old o{b, b->GetOwner(), Shape(*b), !boxesMeet || SeparatedBy(*cutter, *b, 0.01), {}, {}};
                const short* bb0 = b->GetBounds();
                const short order[6] = {bb0[0], bb0[2], bb0[4], bb0[1], bb0[3], bb0[5]};
                std::copy(order, order + 6, o.at);
                if (boxesMeet)
                    o.keep = KeptPoints(*b, *cutter);
                olds.push_back(std::move(o));
            }
            Select(cutter);
            CPtrList objects;
            map->CollectObjects(objects);
            const BOOL ok = cutter->Subtract(objects);
            CPtrList after;
            map->CollectObjects(after);
            if (!ok) {
                ++refused;
                for (const Old& o : olds) {
                    ASSERT_TRUE(after.Find(o.brush));
                    EXPECT_EQ(Shape(*o.brush), o.shape);
                }
                EXPECT_EQ(after.GetCount(), before.GetCount() + 1);
            } else {
                // The pieces: brushes that were not there before.
                std::vector<Brush*> pieces;
                for (POSITION pos = after.GetHeadPosition(); pos;) {
                    SThing* t = static_cast<SThing*>(after.GetNext(pos));
                    if (t != cutter && t->GetKind() == 0 && !before.Find(t))
                        pieces.push_back(static_cast<Brush*>(t));
                }
                for (Brush* p : pieces) {
                    EXPECT_TRUE(p->IsValid());
                    if (!SeparatedBy(*cutter, *p, 0.1))
                        ++intruding;
                }
                for (const Old& o : olds) {
                    const bool present = after.Find(o.brush) != nullptr;
                    if (o.apart) {
                        EXPECT_TRUE(present && Shape(*o.brush) == o.shape) << "a brush beside the cutter was changed";
                    } else if (!o.keep.empty()) {
                        ++reached;
                    }
                    std::vector<Brush*> now;
                    if (present)
                        now.push_back(o.brush);
                    for (Brush* p : pieces)
                        if (p->GetOwner() == o.owner)
                            now.push_back(p);
                    sampled += static_cast<int>(o.keep.size());
                    const int lost = Uncovered(o.keep, now);
                    if (lost) {
                        ++lostBrushes;
                        worst = std::max(worst, static_cast<double>(lost) / static_cast<double>(o.keep.size()));
                        ADD_FAILURE() << lost << " of " << o.keep.size() << " points outside the cutter lost, brush "
                                      << o.at[0] << " " << o.at[1] << " " << o.at[2] << " .. " << o.at[3] << " "
                                      << o.at[4] << " " << o.at[5];
                    }
                }
            }
            map->DeselectAll();
            delete cutter;
        }
    }
    EXPECT_EQ(intruding, 0);
    EXPECT_EQ(lostBrushes, 0) << "at worst " << worst * 100 << "% of a brush";
    std::printf("[ figures  ] %d cutters, %d brushes reached, %d points outside the cutters kept, "
                "%d subtracts refused\n",
                cutters, reached, sampled, refused);
}

TEST_F(Csg, IntersectKeepsTheCommonPart)
{
    Brush* kept = AddBrush(world, 0, 64, 0, 64, 0, 64);
    Brush* other = AddBrush(world, 32, 96, 0, 64, -32, 32);
    Brush* apart = AddBrush(world, 500, 564, 0, 64, 0, 64);
    Entity* light = AddEntity("light", "0 0 0");
    Select(kept);
    Select(other);
    Select(light);
    Select(apart);
    ASSERT_TRUE(kept->Intersect(map));
    EXPECT_TRUE(kept->IsValid());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(kept->GetBounds()[i], Box(32, 64, 0, 64, 0, 32)[i]) << i;
    EXPECT_EQ(world->GetBrushCount(), 1); // both others consumed, the apart one too
    // The point entity was passed over: still there and selected.
    EXPECT_EQ(map->GetSelectionCount(), 2);
    EXPECT_TRUE(light->IsSelected());
    EXPECT_NE(map->GetEntities().Find(light), nullptr);
    EXPECT_EQ(services->statuses.back(), "2 objects selected");
}

TEST_F(Csg, IntersectWithARotatedBrush)
{
    Brush* kept = AddBrush(world, 0, 128, 0, 128, 0, 128);
    Brush* other = AddBrush(world, 0, 128, 0, 128, 0, 128);
    other->Rotate(64, 64, kPi / 4, VIEW_XY);
    Select(kept);
    Select(other);
    ASSERT_TRUE(kept->Intersect(map));
    EXPECT_TRUE(kept->IsValid());
    EXPECT_EQ(kept->GetFaceCount(), 10); // an octagonal prism
    EXPECT_EQ(map->GetSelectionCount(), 1);
}

// A ball of 255 faces, the most a brush holds: planes touching a sphere of radius
// 1000, their normals spread evenly, each through three integer points.
Brush* FullBall(Entity* owner)
{
    const int count = Brush::MAX_FACES;
    short box[6] = {0, 64, 0, 64, 0, 64};
    Brush* b = new Brush(owner, box);
    std::vector<Face>& faces = b->GetFaces();
    faces.resize(count, faces[0]);
    for (int k = 0; k < count; ++k) {
        double z = 1 - 2 * (k + 0.5) / count, r = std::sqrt(1 - z * z), phi = k * kPi * (3 - std::sqrt(5.0));
        double n[3] = {r * std::cos(phi), r * std::sin(phi), z};
        double a[3] = {0, 0, 1};
        if (std::fabs(z) > 0.9)
            a[0] = 1, a[2] = 0;
        double u[3] = {n[1] * a[2] - n[2] * a[1], n[2] * a[0] - n[0] * a[2], n[0] * a[1] - n[1] * a[0]};
        double ul = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
        double v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
        Face& f = faces[static_cast<size_t>(k)];
        for (int c = 0; c < 3; ++c) {
            double t = 1000 * n[c];
            f.pt[0][c] = static_cast<short>(std::floor(t + 0.5));
            f.pt[1][c] = static_cast<short>(std::floor(t + 300 * u[c] / ul + 0.5));
            f.pt[2][c] = static_cast<short>(std::floor(t + 300 * v[c] / ul + 0.5));
        }
        // p1 and p3 change places when the points' normal would point inwards.
        double d1[3], d3[3];
        for (int c = 0; c < 3; ++c) {
            d1[c] = f.pt[0][c] - f.pt[1][c];
            d3[c] = f.pt[2][c] - f.pt[1][c];
        }
        double cx = d1[1] * d3[2] - d1[2] * d3[1], cy = d1[2] * d3[0] - d1[0] * d3[2];
        double cz = d1[0] * d3[1] - d1[1] * d3[0];
        if (cx * n[0] + cy * n[1] + cz * n[2] < 0)
            for (int c = 0; c < 3; ++c)
                std::swap(f.pt[0][c], f.pt[2][c]);
    }
    b->BuildWindings();
    owner->AddBrush(b);
    return b;
}

TEST_F(Csg, CutsAreAllOrNothing)
{
    Brush* full = FullBall(world);
    ASSERT_TRUE(full->IsValid());
    ASSERT_EQ(full->GetFaceCount(), 255);
    Face extra = full->GetFace(0);
    try {
        full->AddFace(extra, true);
        ADD_FAILURE() << "no geometry error";
    } catch (CBrushGeometryError& e) {
        EXPECT_EQ(e.kind, CBrushGeometryError::TOO_MANY_FACES);
    }
    EXPECT_EQ(full->GetFaceCount(), 255);

    // Subtract meets a plain box first, then the full cone: nothing changes at all.
    Brush* box = AddBrush(world, 0, 200, 0, 200, 0, 200);
    Brush* cutter = AddBrush(world, 50, 150, 50, 150, 100, 1200);
    std::vector<Face> coneFaces = FacesOf(*full);
    world->GetBrushes().RemoveAt(world->GetBrushes().Find(full));
    world->GetBrushes().AddTail(full);
    EXPECT_FALSE(SubtractWith(cutter));
    EXPECT_EQ(world->GetBrushCount(), 3);
    EXPECT_NE(world->GetBrushes().Find(box), nullptr);
    EXPECT_TRUE(SameFaces(coneFaces, *full));
    EXPECT_FALSE(services->quit);

    // Intersect likewise keeps every brush when one cut fails.
    map->DeselectAll();
    Select(full);
    Select(cutter);
    EXPECT_FALSE(full->Intersect(map));
    EXPECT_EQ(world->GetBrushCount(), 3);
    EXPECT_EQ(map->GetSelectionCount(), 2);
    EXPECT_TRUE(SameFaces(coneFaces, *full));
}

} // namespace

// A face keeps up to eight winding points in itself and more in a block of its own: the caps of
// a sixteen-sided cylinder take the second form through building, copying and moving.
TEST_F(Csg, WindingsOfManyPoints)
{
    Brush* b = AddBrush(world, -64, 64, -64, 64, 0, 128);
    ASSERT_TRUE(b->MakeCylinder(VIEW_XY, 16));
    ASSERT_TRUE(b->IsValid());
    auto caps = [](const Brush& brush) {
        std::vector<const Face*> out;
        for (const Face& f : brush.GetFaces())
            if (f.GetPointCount() == 16)
                out.push_back(&f);
        return out;
    };
    ASSERT_EQ(caps(*b).size(), 2u);
    for (const Face* f : caps(*b))
        for (size_t k = 0; k < 16; ++k) {
            EXPECT_LT(std::fabs(f->winding[k].z - f->rounded[k][2]), 0.01f);
            EXPECT_TRUE(f->rounded[k][2] == 0 || f->rounded[k][2] == 128);
        }

    Brush copy(*b);
    copy.SetOwner(nullptr);
    for (size_t i = 0; i < b->GetFaces().size(); ++i) {
        const Face& a = b->GetFace(static_cast<int>(i));
        const Face& c = copy.GetFace(static_cast<int>(i));
        ASSERT_EQ(a.GetPointCount(), c.GetPointCount());
        EXPECT_NE(a.winding.data(), c.winding.data());
        for (size_t k = 0; k < a.rounded.size(); ++k)
            EXPECT_EQ(a.rounded[k], c.rounded[k]);
    }

    b->Translate(16, 0, 0);
    EXPECT_TRUE(b->IsValid());
    ASSERT_EQ(caps(*b).size(), 2u);
    EXPECT_EQ(b->GetBounds()[0], -48);
    EXPECT_EQ(b->GetBounds()[1], 80);
}
