#include "RecordingServices.h"
#include "Thing.h"
#include "Vector.h"

namespace {

class Thing : public SThing
{
public:
    explicit Thing(int kind) : SThing(kind, true, false) {}
    void MoveTo(int, int, int) override {}
    void MoveDepth(int, int) override {}
    void Move(int, int, int) override {}
    void Translate(int, int, int) override {}
    void Scale(int, int, int) override {}
    void Rotate(int, int, double, int) override {}
};

class Objects : public ModelTest
{
};

TEST_F(Objects, KindsFlagsAndSerials)
{
    services->SetSerialCounter(65535);
    Thing brush(0), entity(1), other(2);
    EXPECT_EQ(brush.GetKind(), 0);
    EXPECT_EQ(entity.GetKind(), 1);
    EXPECT_EQ(other.GetKind(), -1);
    EXPECT_EQ(brush.GetSerial(), 65535);
    EXPECT_EQ(entity.GetSerial(), 0); // the 16-bit counter wraps
    EXPECT_TRUE(brush.IsVisible());
    EXPECT_FALSE(brush.IsSelected());
    brush.SetSelected(true);
    brush.SetVisible(false);
    EXPECT_EQ(brush.GetFlags(), SThing::FLAG_BRUSH | SThing::FLAG_SELECTED);
}

TEST_F(Objects, BoundsCentreAndDepth)
{
    Thing t(0);
    short box[6] = {-5, 4, 0, 33, -1, 2};
    t.SetBounds(box);
    EXPECT_EQ(t.GetCentre()[0], -1);
    EXPECT_EQ(t.GetCentre()[1], 16);
    EXPECT_EQ(t.GetCentre()[2], 0);
    t.RecenterBounds();
    EXPECT_EQ(t.GetBounds()[BOX_MINY], 0);
    EXPECT_EQ(t.GetBounds()[BOX_MAXY], 32);
    EXPECT_EQ(t.GetBounds()[BOX_MINZ], -1);
    EXPECT_EQ(t.GetBounds()[BOX_MAXZ], 1);

    short mn = 99, mx = 99;
    t.GetDepthExtents(mn, mx, VIEW_XZ);
    EXPECT_EQ(mn, 0);
    EXPECT_EQ(mx, 32);
    mn = mx = 99;
    t.GetDepthExtents(mn, mx, VIEW_CAMERA);
    EXPECT_EQ(mn, 99);
    EXPECT_TRUE(services->BoxContains("Call to GetDepthExtents with unsupported type of 258"));
}

TEST(Vectors, Operations)
{
    CVector v(3, 0, 4);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    CVector zero;
    zero.Normalize();
    EXPECT_EQ(zero.x, 0.0f);
    CVector a(1, 0, 0), b(0, 1, 0), c;
    VectorCross(c, a, b);
    EXPECT_EQ(c.z, 1.0f);
    VectorCross(a, a, b); // output may be an input
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_EQ(a.z, 1.0f);
    VectorSubtract(c, c, b);
    EXPECT_EQ(c.y, -1.0f);
    EXPECT_DOUBLE_EQ(VectorDot(CVector(1, 2, 3), CVector(4, 5, 6)), 32.0);
    c.Negate();
    EXPECT_EQ(c.y, 1.0f);
}

TEST_F(Objects, ReporterRoutesEveryKindOfReport)
{
    reporter->Message("a %d", 1);
    reporter->Message("b");
    ASSERT_EQ(services->lines.size(), 2u);
    EXPECT_EQ(services->lines[0], "a 1\r\n");
    reporter->Status("s");
    EXPECT_EQ(services->statuses.back(), "s");
    services->answers = {IDYES, IDNO};
    EXPECT_EQ(reporter->Box(MB_YESNO, "q"), IDYES);
    EXPECT_EQ(reporter->Box(MB_YESNO, "q"), IDNO);
    EXPECT_EQ(reporter->BoxId(MB_OK, 4242), IDCANCEL); // no such string: no box
    EXPECT_EQ(services->boxes.size(), 2u);
    reporter->MessageId(720, "p.prj", "gone");
    EXPECT_EQ(services->lines.back(), "Could not open the ini file p.prj\nReason: gone\r\n");
    services->mainFrame = FALSE;
    size_t n = services->lines.size();
    reporter->StatusId(746);
    EXPECT_EQ(services->lines.size(), n);
    reporter->Fatal("bad %s", "thing");
    EXPECT_TRUE(services->quit);
    EXPECT_EQ(services->quitCode, -1);
    EXPECT_EQ(services->boxes.back().type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

} // namespace
