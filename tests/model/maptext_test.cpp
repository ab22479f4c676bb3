#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "MapText.h"
#include "RecordingServices.h"
#include "Texture.h"
#include "Tokenizer.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

const char kBox[] =
    "{\r\n"
    "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) WALL1 0 0 0 1 1\r\n"
    "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) wall1 0 0 0 1 1\r\n"
    "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) 1floor 16 -8 90 0.5 2\r\n"
    "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) *lava1 0 0 0 1 1\r\n"
    "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) +0slime 0 0 0 1 1\r\n"
    "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) {fence 0 0 0 1 1\r\n"
    "}\r\n";

// A texture source that knows one texture, under its upper-case WAD name.
class OneTexture : public CTextureSource
{
public:
    OneTexture() { wall.name = "WALL1"; }
    Texture* FindTexture(LPCSTR name) override
    {
        ++lookups;
        return TextureKey(name) == "WALL1" ? &wall : nullptr;
    }
    Texture wall;
    int lookups = 0;
};

class MapText : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        SetTextureSource(&textures);
    }
    void TearDown() override
    {
        SetTextureSource(nullptr);
        ModelTest::TearDown();
    }
    BOOL Parse(const std::string& text) { return map.ParseMapText(text.c_str(), static_cast<int>(text.size())); }
    CString Written()
    {
        CString out;
        map.WriteEntities(out);
        return out;
    }
    Brush* FirstBrush(Entity* e) { return static_cast<Brush*>(e->GetBrushes().GetHead()); }
    OneTexture textures;
    Map map;
};

// The number fields of a face line read the common forms by a shorter way: for every form the
// reader takes (signs, leading zeros, points, exponents, long fractions, huge and malformed
// numbers) they give the same bits, stop at the same byte and judge the fit alike as the long way.
TEST(FaceLineNumbers, ShortWayGivesTheBitsOfTheLongWay)
{
    const char* cases[] = {"0",         "-0",        "+0",        "7 ",        "-7)",       "+7",
                           "0001",      "00000",     "1234",      "-1234\r\n", "12345",     "32767",
                           "-32768",    "32768",     "-32769",    "99999",     "1.000000",  "-1.000000 ",
                           "-0.000000", "1.",        "1. ",       "1.0",       "1.05",      "0.5",
                           ".5",        "-.5",       "1e2",       "1E+2",      "1e-2",      "3e",
                           "3ex",       "1.000e5",   "1.0.5",     "1.0000001", "7.5e",      "4096.000000",
                           "1e400",     "-1e400",    "1e39",      "3.4028235e38", "-3.4028236e38", "1e-50",
                           "123456789012345678901234", "0.1234567890123456789", "-",  "+",  "x1",  "",
                           " 1",        "1x",        "1\n",       "2147483648", "-9999.",    "12)"};
    for (const char* text : cases) {
        std::string a = text, b = text;
        char* pa = &a[0];
        char* pb = &b[0];
        short sa = 1234, sb = 1234;
        bool fitsA = true, fitsB = true;
        EXPECT_EQ(ReadShortField(pa, sa, fitsA), ReadShortFieldGeneral(pb, sb, fitsB)) << text;
        EXPECT_EQ(pa - &a[0], pb - &b[0]) << text;
        EXPECT_EQ(sa, sb) << text;
        EXPECT_EQ(fitsA, fitsB) << text;

        pa = &a[0];
        pb = &b[0];
        float fa = 1234.5f, fb = 1234.5f;
        fitsA = fitsB = true;
        EXPECT_EQ(ReadFloatField(pa, fa, fitsA), ReadFloatFieldGeneral(pb, fb, fitsB)) << text;
        EXPECT_EQ(pa - &a[0], pb - &b[0]) << text;
        unsigned bitsA, bitsB;
        std::memcpy(&bitsA, &fa, sizeof bitsA);
        std::memcpy(&bitsB, &fb, sizeof bitsB);
        EXPECT_EQ(bitsA, bitsB) << text;
        EXPECT_EQ(fitsA, fitsB) << text;
    }
}

// Every number field gives the value strtod gives, rounded as the field is: a 16-bit field to
// floor(v + 0.5) of that exact value, clamped (and judged not to fit outside the range), a float
// field to the nearest float of strtod's double. The expected doubles are the compiler's own
// reading of the same digits.
TEST(FaceLineNumbers, EveryFormReadsAsStrtodRoundedAsTheField)
{
    struct Case
    {
        const char* text;
        short coord;
        double value;
        bool fits;
    } cases[] = {
        // signs and leading zeros
        {"+5", 5, 5.0, true},
        {"-0", 0, -0.0, true},
        {"007", 7, 7.0, true},
        {"-0012.5", -12, -12.5, true},
        {"00000.25", 0, 0.25, true},
        // halves: up at a half, whatever the sign
        {".5", 1, 0.5, true},
        {"-.5", 0, -0.5, true},
        {"+.5", 1, 0.5, true},
        {"1.5", 2, 1.5, true},
        {"-1.5", -1, -1.5, true},
        {"-2.5", -2, -2.5, true},
        {"0.49999999999999994", 0, 0.49999999999999994, true}, // below a half, though v + 0.5 rounds to 1
        {"100.49999999999999", 100, 100.49999999999999, true},
        {"0.499999999999999999999", 1, 0.499999999999999999999, true}, // strtod's double is 0.5
        // exponents, as "%e" writes them and others
        {"6.119500e+03", 6120, 6119.5, true},
        {"-3.273350e+04", -32733, -32733.5, true},
        {"611.95e1", 6120, 6119.5, true},
        {"61195E-1", 6120, 6119.5, true},
        {"8718.6045e3", 32767, 8718.6045e3, false}, // a float field: 8718604, the even neighbour
        {"1e2", 100, 100.0, true},
        {"25e-1", 3, 2.5, true},
        {"0001e1", 10, 10.0, true},
        {"0e999", 0, 0.0, true},
        {"1e-400", 0, 0.0, true},
        {"-1e-400", 0, -0.0, true},
        {"2.5e-310", 0, 2.5e-310, true},
        // long fractions and runs of digits
        {"0.1234567890123456789", 0, 0.1234567890123456789, true},
        {"-286.13953488372107", -286, -286.13953488372107, true},
        {"101.33333333333331", 101, 101.33333333333331, true},
        {"32766.4999999999999999999", 32767, 32766.4999999999999999999, true}, // strtod: 32766.5
        {"32767.4999999999999999999", 32767, 32767.4999999999999999999, false}, // strtod's double is 32767.5
        {"-32768.5", -32768, -32768.5, true},
        {"12345678901234567890123456", 32767, 12345678901234567890123456.0, false},
        {"-12345678901234567890123456", -32768, -12345678901234567890123456.0, false},
        {"1234.5678901234567890123456", 1235, 1234.5678901234567890123456, true},
        {"0.00000000000000000000000001", 0, 0.00000000000000000000000001, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string a = c.text, b = c.text, d = c.text;
        char* p = &a[0];
        short coord = 1234;
        bool fits = true;
        ASSERT_TRUE(ReadShortField(p, coord, fits));
        EXPECT_EQ(p, &a[0] + a.size());
        EXPECT_EQ(coord, c.coord);
        EXPECT_EQ(fits, c.fits);
        char* q = &d[0];
        short parsed = 1234;
        ASSERT_TRUE(ParseCoord(&q, parsed));
        EXPECT_EQ(parsed, c.coord);

        p = &b[0];
        float scale = 1234.5f;
        fits = true;
        ASSERT_TRUE(ReadFloatField(p, scale, fits));
        EXPECT_EQ(p, &b[0] + b.size());
        const float expected = static_cast<float>(c.value);
        unsigned got, want;
        std::memcpy(&got, &scale, sizeof got);
        std::memcpy(&want, &expected, sizeof want);
        EXPECT_EQ(got, want) << scale << " for " << expected;
        EXPECT_TRUE(fits);
    }
    // The float step that a product of a scale and a power of ten misses.
    std::string scale = "8718.6045e3";
    char* p = &scale[0];
    float value = 0;
    bool fits = true;
    ASSERT_TRUE(ReadFloatField(p, value, fits));
    EXPECT_EQ(value, 8718604.0f);
}

// The C library's conversion, as the reader falls back on it.
double LibraryValue(const std::string& text)
{
#if defined(__MINGW32__) && !defined(_UCRT)
    return __mingw_strtod(text.c_str(), nullptr);
#else
    return std::strtod(text.c_str(), nullptr);
#endif
}

// The reader takes most numbers by shorter ways than the library's conversion (the digits times an
// exact power of ten, the coordinate from the digits themselves): over numbers of every form, the
// ones just off a half among them, they give the library's double bit for bit and its rounded
// coordinate, and judge its range alike.
TEST(FaceLineNumbers, ShortcutsGiveTheLibrarysValues)
{
    unsigned long long seed = 0x2545F4914F6CDD1Dull;
    auto next = [&seed](unsigned n) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>((seed >> 33) % n);
    };
    std::vector<std::string> texts;
    for (int i = 0; i < 200000; ++i) {
        std::string t = next(2) ? "-" : "";
        const unsigned whole = next(6), fraction = next(24);
        for (unsigned k = 0; k < whole; ++k)
            t += static_cast<char>('0' + next(10));
        if (whole == 0 || fraction > 0)
            t += "." + std::string(fraction > 0 ? 0 : 1, '0');
        for (unsigned k = 0; k < fraction; ++k)
            t += static_cast<char>('0' + next(10));
        if (next(4) == 0)
            t += "e" + std::to_string(static_cast<int>(next(50)) - 25);
        texts.push_back(t);
    }
    // Just below, on and just above halves, across the range and at its ends.
    for (int k : {0, 1, 7, 100, 4095, 32765, 32766, 32767, 32768, 99999}) {
        for (const char* sign : {"", "-"}) {
            const std::string base = sign + std::to_string(k);
            for (const char* tail : {".5", ".4999999999", ".49999999999999", ".4999999999999999", ".49999999999999999",
                                     ".499999999999999999", ".5000000000000001", ".50000000000000001",
                                     ".4999999999999999999999", ".5000000000000000000001", ".49999999999998",
                                     ".499999999999999", ".500000000001"})
                texts.push_back(base + tail);
        }
    }
    int values = 0, coords = 0;
    for (const std::string& text : texts) {
        std::string a = text, b = text;
        char* p = &a[0];
        double v = 0;
        ASSERT_TRUE(ParseNumber(&p, v)) << text;
        ASSERT_EQ(p, &a[0] + a.size()) << text;
        const double library = LibraryValue(text);
        if (std::memcmp(&v, &library, sizeof v) != 0 && values++ < 10)
            ADD_FAILURE() << text << ": " << v << " for " << library;
        char* q = &b[0];
        short coord = 0;
        bool inRange = false;
        ASSERT_TRUE(ParseCoordGeneral(&q, coord, &inRange)) << text;
        ASSERT_EQ(q, &b[0] + b.size()) << text;
        const bool libraryInRange = library >= -32768.5 && library < 32767.5;
        if ((coord != RoundCoord(library) || inRange != libraryInRange) && coords++ < 10)
            ADD_FAILURE() << text << ": " << coord << (inRange ? "" : " (out of range)") << " for "
                          << RoundCoord(library);
    }
    EXPECT_EQ(values, 0);
    EXPECT_EQ(coords, 0);
}

// Every half-unit coordinate written as "%e" writes it reads back as the unit above it (a half
// rounds up), and as itself in a float field.
TEST(FaceLineNumbers, HalfUnitsWrittenWithPercentEReadBackExactly)
{
    int coordsOff = 0, floatsOff = 0, first = 0;
    for (int k = -32768; k <= 32766; ++k) {
        const double v = k + 0.5;
        char text[64];
        std::snprintf(text, sizeof text, "%e", v);
        char* p = text;
        short coord = 0;
        bool fits = true;
        float f = 0;
        bool read = ReadShortField(p, coord, fits);
        p = text;
        read = ReadFloatField(p, f, fits) && read;
        if (!read || coord != k + 1) {
            if (coordsOff++ == 0)
                first = k;
        }
        floatsOff += !read || f != static_cast<float>(v);
    }
    EXPECT_EQ(coordsOff, 0) << "the first at " << first + 0.5;
    EXPECT_EQ(floatsOff, 0);
}

TEST_F(MapText, NamesAreKeptAndLookupsIgnoreCase)
{
    CMapStringToPtr missing;
    SetMissingTextureSet(&missing);
    ASSERT_TRUE(Parse(std::string("{ \"classname\" \"worldspawn\" \"wad\" \"a.wad\"\r\n") + kBox + "}\r\n"));
    SetMissingTextureSet(nullptr);
    Brush* b = FirstBrush(map.GetWorldEntity());
    EXPECT_EQ(b->GetFace(0).texture, &textures.wall);
    EXPECT_EQ(b->GetFace(1).texture, &textures.wall);
    // "wall1" after "WALL1" is the same record, found without another lookup.
    EXPECT_EQ(textures.lookups, 5);
    EXPECT_STREQ(b->GetFace(2).texture->name, "1floor");
    EXPECT_TRUE(b->GetFace(2).texture->placeholder);
    EXPECT_EQ(b->GetFace(2).texture->bits, services->GetDefaultTexture()->bits);
    EXPECT_EQ(b->GetFace(2).xOffset, 16);
    EXPECT_EQ(b->GetFace(2).yOffset, -8);
    EXPECT_EQ(b->GetFace(2).rotation, 90);
    EXPECT_EQ(b->GetFace(2).xScale, 0.5f);
    EXPECT_EQ(b->GetFace(2).yScale, 2.0f);
    EXPECT_EQ(missing.GetCount(), 4); // 1floor, *lava1, +0slime, {fence
    FreeMissingTextureSet(missing);
    EXPECT_TRUE(services->boxes.empty());

    // Unchanged, the brush is written with its lines as read.
    CString out = Written();
    EXPECT_NE(out.Find("    ( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) WALL1 0 0 0 1 1\r\n"), -1);
    EXPECT_NE(out.Find("    ( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) wall1 0 0 0 1 1\r\n"), -1);
    EXPECT_NE(out.Find(") 1floor 16 -8 90 0.5 2\r\n"), -1);
    EXPECT_NE(out.Find(") *lava1 "), -1);
    EXPECT_NE(out.Find(") {fence "), -1);
    EXPECT_EQ(out.Find("DEFAULT"), -1);
}

TEST_F(MapText, WriteReadWriteIsStable)
{
    ASSERT_TRUE(Parse(std::string("// comment\n{\n\"classname\" \"worldspawn\"\n\"wad\" \"x.wad\"\n") + kBox +
                      "}\n{\n\"classname\" \"item_armorInv\"\n\"origin\" \"-1024 0 12.5\"\n}\n"));
    CString first = Written();
    EXPECT_NE(first.Find("\"item_armorInv\""), -1);
    ASSERT_TRUE(map.ParseMapText(first, first.GetLength()));
    EXPECT_STREQ(Written(), first);
}

TEST_F(MapText, FaceLinesBetweenBlankLinesCommentsAndWords)
{
    std::string text = "{ \"classname\" \"worldspawn\" \"wad\" \"w\"\n{ ignored ( 9 9 9 ) on the brace line\n\n"
                       "// a comment line\n( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) WALL1 0 0 0 1 1\nsomeword ( 1 2 3 )\n"
                       "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\n\n"
                       "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\n"
                       "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\n"
                       "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) WALL1 0 0 0 1 1\n"
                       "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) WALL1 0 0 0\n}\n}\n";
    ASSERT_TRUE(Parse(text));
    Brush* b = FirstBrush(map.GetWorldEntity());
    EXPECT_EQ(b->GetFaceCount(), 6);
    EXPECT_TRUE(b->IsIsothetic());
    EXPECT_TRUE(services->BoxContains("Error reading in a brush's face")); // the last face has no scales
    EXPECT_EQ(b->GetFace(5).xScale, 0.0f);
}

// Fractional plane points are rounded to the nearest integer; a brush with a face that then has
// no plane is kept as its text and reported with its line.
TEST_F(MapText, FractionalPointsRoundAndDegenerateFacesSkipTheBrush)
{
    std::string text = "{ \"classname\" \"worldspawn\" \"wad\" \"w\"\n"
                       "{\n( 0.4 0 64 ) ( 0 63.6 64 ) ( 64 64 64.2 ) WALL1 19.4723 31.9999 26.565 1 0.894428\n"
                       "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\n( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\n"
                       "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\n( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) WALL1 0 0 0 1 1\n"
                       "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) WALL1 0 0 0 1 1\n}\n"
                       "{\n( 0 0 64 ) ( 0.3 0.3 64 ) ( 0.6 0.6 64.1 ) WALL1 0 0 0 1 1\n"
                       "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) WALL1 0 0 0 1 1\n( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) WALL1 0 0 0 1 1\n"
                       "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) WALL1 0 0 0 1 1\n}\n}\n";
    ASSERT_TRUE(Parse(text));
    ASSERT_EQ(map.GetWorldEntity()->GetBrushCount(), 1);
    Brush* b = FirstBrush(map.GetWorldEntity());
    const Face& f = b->GetFace(0);
    EXPECT_EQ(f.pt[1][1], 64);
    EXPECT_EQ(f.pt[2][2], 64);
    EXPECT_EQ(f.xOffset, 19);
    EXPECT_EQ(f.yOffset, 32);
    EXPECT_EQ(f.rotation, 27);
    EXPECT_FLOAT_EQ(f.yScale, 0.894428f);
    EXPECT_TRUE(b->IsIsothetic());
    EXPECT_EQ(map.GetWorldEntity()->GetKeptBrushCount(), 1);
    EXPECT_TRUE(services->BoxContains("1 brush of the map cannot be built from its points (line 10)."))
        << (services->boxes.empty() ? "" : services->boxes[0].text);
}

TEST_F(MapText, BrokenBlocksAndEmptyTexts)
{
    // An empty text opens as an empty map with a world entity.
    ASSERT_TRUE(Parse("   // nothing\n"));
    ASSERT_NE(map.GetWorldEntity(), nullptr);
    EXPECT_STREQ(map.GetWorldEntity()->ValueForKey("classname"), "worldspawn");

    // A text whose only line does not start an entity is passed over whole: no entity is read,
    // and the open fails.
    EXPECT_FALSE(Parse("foo { \"classname\" \"worldspawn\" }"));
    EXPECT_TRUE(services->BoxContains("holds no entity that this editor can read"));
    EXPECT_EQ(map.GetEntities().GetCount(), 0);
    EXPECT_EQ(map.GetWorldEntity(), nullptr);

    // Damage after the first entity keeps what was read: the stray line is told and passed over
    // whole, the text's last line as any other.
    services->boxes.clear();
    EXPECT_TRUE(Parse("{ \"classname\" \"worldspawn\" }\nfoo { }"));
    EXPECT_TRUE(services->BoxContains("Invalid token 'foo' parsing entity."));
    EXPECT_EQ(map.GetEntities().GetCount(), 1);
    services->boxes.clear();
    EXPECT_TRUE(Parse("{ \"classname\" \"worldspawn\" }\nfoo\n{ }"));
    EXPECT_EQ(map.GetEntities().GetCount(), 2);

    // An invalid token ends its entity, which keeps what came before it; a missing wad key is
    // reported.
    services->boxes.clear();
    ASSERT_TRUE(Parse("{ \"classname\" \"worldspawn\" }\n{ \"classname\" \"light\" bogus \"x\" }\n"
                      "{ \"classname\" \"info_null\" }"));
    EXPECT_EQ(map.GetEntities().GetCount(), 3);
    POSITION at = map.GetEntities().FindIndex(1);
    ASSERT_NE(at, nullptr);
    EXPECT_STREQ(static_cast<Entity*>(map.GetEntities().GetAt(at))->ValueForKey("classname"), "light");
    EXPECT_EQ(static_cast<Entity*>(map.GetEntities().GetAt(at))->GetKeyValues().GetCount(), 1);
    EXPECT_TRUE(services->BoxContains("Invalid token 'bogus' parsing entity."));
    EXPECT_TRUE(services->BoxContains("doesn't have a wad key"));

    // A first block that is not the world is reported.
    services->boxes.clear();
    ASSERT_TRUE(Parse("{ \"classname\" \"light\" \"wad\" \"x\" }"));
    EXPECT_TRUE(services->BoxContains("not the world entity"));
}

TEST_F(MapText, InvalidBrushesAreLeftOutWhenWritten)
{
    ASSERT_TRUE(Parse(std::string("{ \"classname\" \"worldspawn\" \"wad\" \"w\"\n") + kBox + "}\n"));
    Brush* b = FirstBrush(map.GetWorldEntity());
    b->GetFace(0).winding[0].z += 5; // off its own plane
    ASSERT_FALSE(b->IsValid());
    CString out = Written();
    EXPECT_STREQ(out, "{\r\n  \"classname\" \"worldspawn\"\r\n  \"wad\" \"w\"\r\n}\r\n");
}

TEST_F(MapText, PartialMapHoldsTheSelection)
{
    ASSERT_TRUE(Parse(std::string("{ \"classname\" \"worldspawn\" \"wad\" \"q.wad\"\n") + kBox + kBox +
                      "}\n{ \"classname\" \"func_door\" \"speed\" \"5\"\n" + kBox + kBox + "}\n"
                      "{ \"classname\" \"light\" \"origin\" \"0 0 0\" }\n"));
    CString out;
    EXPECT_FALSE(map.WritePartialMap(out)); // nothing selected
    POSITION pos = map.GetEntities().GetHeadPosition();
    Entity* world = static_cast<Entity*>(map.GetEntities().GetNext(pos));
    Entity* door = static_cast<Entity*>(map.GetEntities().GetNext(pos));
    FirstBrush(world)->SetSelected(true);
    static_cast<Brush*>(door->GetBrushes().GetTail())->SetSelected(true);

    services->unapplied = TRUE;
    services->answers = {IDCANCEL};
    EXPECT_FALSE(map.WritePartialMap(out));
    EXPECT_TRUE(out.IsEmpty());
    services->answers = {IDOK};
    ASSERT_TRUE(map.WritePartialMap(out));
    EXPECT_EQ(services->applied, 1);

    Map partial;
    ASSERT_TRUE(partial.ParseMapText(out, out.GetLength()));
    ASSERT_EQ(partial.GetEntities().GetCount(), 2);
    Entity* pw = partial.GetWorldEntity();
    EXPECT_STREQ(pw->ValueForKey("message"), "Morvane Partial Map");
    EXPECT_STREQ(pw->ValueForKey("wad"), "q.wad");
    EXPECT_EQ(pw->GetBrushCount(), 1);
    Entity* pd = static_cast<Entity*>(partial.GetEntities().GetTail());
    EXPECT_STREQ(pd->ValueForKey("speed"), "5");
    EXPECT_EQ(pd->GetBrushCount(), 1);
    // The map itself is unchanged.
    EXPECT_EQ(world->GetBrushCount(), 2);
    EXPECT_EQ(door->GetBrushCount(), 2);
    EXPECT_EQ(FirstBrush(door)->GetOwner(), door);
}

// Classes that the project does not define are told in one box, each once with its count and the
// first lines of its entities; the entities stay, with the default size.
TEST_F(MapText, UnknownClassesAreToldOnceWithTheirCounts)
{
    std::string text = "{ \"classname\" \"worldspawn\" \"wad\" \"w\" }\n";
    for (int i = 0; i < 3; ++i)
        text += "{ \"classname\" \"monster_zombie\" \"origin\" \"0 0 0\" }\n";
    text += "{ \"classname\" \"misc_bob\" \"origin\" \"64 0 0\" }\n";
    text += "{ \"classname\" \"monster_zombie\" \"origin\" \"0 0 0\" }\n";
    services->boxes.clear();
    ASSERT_TRUE(Parse(text));
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text, "The classnames:\n  monster_zombie (4: lines 2, 3, 4, 6)\n  misc_bob (1: line 5)\n"
                                       "could not be found in any of the .qc files in the current project.");
    EXPECT_EQ(map.GetEntities().GetCount(), 6);
    const short* box = static_cast<Entity*>(map.GetEntities().GetTail())->GetBounds();
    EXPECT_EQ(box[0], -16);
    EXPECT_EQ(box[1], 16);

    services->boxes.clear();
    ASSERT_TRUE(Parse("{ \"classname\" \"worldspawn\" \"wad\" \"w\" }\n{ \"classname\" \"misc_bob\" \"origin\" \"0 0 0\" }\n"));
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text,
              "The classname: misc_bob (1: line 2)\ncould not be found in any of the .qc files in the current project.");
}

} // namespace
