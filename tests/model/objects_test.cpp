#include "RecordingServices.h"
#include "Thing.h"
#include "afxseam.h"
#include <functional>
#include <string>
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

// Boxes held back come up, in order, when the outermost holder closes; a holder's Forget drops,
// unseen, only what was held since it opened, nested or not.
TEST_F(Objects, HeldBoxesComeUpAtTheEndOrAreForgotten)
{
    {
        CHeldBoxes outer;
        reporter->Box(MB_OK, "kept");
        {
            CHeldBoxes inner;
            reporter->Box(MB_OK, "forgotten");
            inner.Forget();
            reporter->Box(MB_OK, "after");
        }
        EXPECT_TRUE(services->boxes.empty());
    }
    {
        CHeldBoxes alone;
        reporter->Box(MB_OK, "dropped");
        alone.Forget();
    }
    ASSERT_EQ(services->boxes.size(), 2u);
    EXPECT_EQ(services->boxes[0].text, "kept");
    EXPECT_EQ(services->boxes[1].text, "after");
}

// A very long path quoted by any kind of report keeps its beginning and its end: a box of a
// 40,000-character line shows no text at all. Every line stays within the limit; short lines and
// the line ends are kept as they are.
TEST_F(Objects, AVeryLongPathIsShortenedInEveryKindOfReport)
{
    const std::string path = "C:\\" + std::string(40000, 'a') + "\\x.wad";
    const struct
    {
        const char* kind;
        std::function<void()> report;
        std::function<std::string()> shown;
    } cases[] = {
        {"Box", [&] { reporter->Box(MB_OK, "Couldn't open %s", path.c_str()); },
         [&] { return services->boxes.back().text; }},
        {"BoxId", [&] { reporter->BoxId(MB_OK, 720, path.c_str(), "gone"); },
         [&] { return services->boxes.back().text; }},
        {"Message", [&] { reporter->Message("Couldn't open %s", path.c_str()); },
         [&] { return services->lines.back(); }},
        {"MessageId", [&] { reporter->MessageId(720, path.c_str(), "gone"); },
         [&] { return services->lines.back(); }},
        {"Status", [&] { reporter->Status("Couldn't open %s", path.c_str()); },
         [&] { return services->statuses.back(); }},
        {"Fatal", [&] { reporter->Fatal("Couldn't open %s", path.c_str()); },
         [&] { return services->boxes.back().text; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        c.report();
        const std::string shown = c.shown();
        size_t start = 0;
        for (size_t end; (end = shown.find_first_of("\r\n", start)) != std::string::npos; start = end + 1)
            EXPECT_LE(end - start, static_cast<size_t>(REPORT_MAX_LINE));
        EXPECT_LE(shown.size() - start, static_cast<size_t>(REPORT_MAX_LINE));
        EXPECT_NE(shown.find("C:\\aaaa"), std::string::npos) << shown;
        EXPECT_NE(shown.find("aaa...aaa"), std::string::npos) << shown;
        EXPECT_NE(shown.find("aaaa\\x.wad"), std::string::npos) << shown;
    }
    EXPECT_EQ(services->boxes[1].text.substr(0, 28), "Could not open the ini file ");
    const std::string ending = "aaaa\\x.wad\nReason: gone";
    EXPECT_EQ(services->boxes[1].text.substr(services->boxes[1].text.size() - ending.size()), ending);

    const struct
    {
        std::string text, shown;
    } lines[] = {
        {std::string(509, 'b'), std::string(509, 'b')},
        {std::string(510, 'b'), std::string(253, 'b') + "..." + std::string(253, 'b')},
        {"short\r\n" + std::string(600, 'c') + "\nend", "short\r\n" + std::string(253, 'c') + "..." +
                                                           std::string(253, 'c') + "\nend"},
        {"", ""},
    };
    for (const auto& l : lines)
        EXPECT_EQ(std::string(ShortenLongLines(l.text.c_str())), l.shown);
}

// A cut never parts a double-byte character: the lead byte stays with its second byte.
TEST_F(Objects, ShorteningKeepsDoubleByteCharactersWhole)
{
    AfxSeamSetLeadByte([](BYTE b) { return b == 0x81 ? TRUE : FALSE; });
    std::string text = "x";
    for (int i = 0; i < 400; ++i)
        text += "\x81\x40";
    const std::string shown(ShortenLongLines(text.c_str()));
    AfxSeamSetLeadByte(nullptr);
    const size_t dots = shown.find("...");
    ASSERT_NE(dots, std::string::npos);
    // "x" then whole pairs before the dots; whole pairs after them.
    EXPECT_EQ(dots % 2, 1u);
    EXPECT_EQ(shown[dots - 2], '\x81');
    EXPECT_EQ((shown.size() - dots - 3) % 2, 0u);
    EXPECT_EQ(shown[dots + 3], '\x81');
    EXPECT_LE(shown.size(), static_cast<size_t>(REPORT_MAX_LINE));
}

} // namespace
