#include "RecordingServices.h"
#include "Tokenizer.h"
#include <string>
#include <vector>

namespace {

// All tokens of a text, read with NextToken.
std::vector<std::string> Tokens(std::string text)
{
    text.push_back(0);
    CTokenizer tok;
    tok.Init(&text[0]);
    std::vector<std::string> out;
    while (char* t = tok.NextToken())
        out.push_back(t);
    return out;
}

TEST(Tokenizer, TokensCommentsAndHighBytesSeparate)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens("a//b"), V({"a//b"}));
    EXPECT_EQ(Tokens("a //b\nc"), V({"a", "c"}));
    EXPECT_EQ(Tokens("ab\xC8" "cd"), V({"ab", "cd"}));
    EXPECT_EQ(Tokens("  // only a comment"), V());
    EXPECT_EQ(Tokens("x\r\n{ }"), V({"x", "{", "}"}));
}

TEST(Tokenizer, PeekCountsLinesOnceAndQuotedAndRestOfLine)
{
    std::string text = "\n\n tok rest\r\nx \"word\" \"\" y";
    text.push_back(0);
    CTokenizer tok;
    tok.Init(&text[0]);
    EXPECT_STREQ(tok.PeekToken(), "tok");
    EXPECT_EQ(tok.GetLine(), 3);
    EXPECT_STREQ(tok.NextToken(), "tok");
    EXPECT_EQ(tok.GetLine(), 3);
    EXPECT_STREQ(tok.RestOfLine(), " rest\r");
    EXPECT_EQ(tok.GetLine(), 4);
    EXPECT_STREQ(tok.NextQuoted(), "word"); // passes over the x
    EXPECT_STREQ(tok.NextQuoted(), "");
    EXPECT_STREQ(tok.NextToken(), "y");
    EXPECT_EQ(tok.RestOfLine(), nullptr); // no final newline
    EXPECT_EQ(tok.NextToken(), nullptr);
    // The buffer is whole again after the scan.
    EXPECT_EQ(std::string(text.c_str()), "\n\n tok rest\r\nx \"word\" \"\" y");
}

TEST(Tokenizer, SkipWhiteWithoutCountingKeepsTheLine)
{
    std::string text = "\n// c\n\n  a";
    text.push_back(0);
    CTokenizer tok;
    tok.Init(&text[0]);
    tok.SkipWhite(false);
    EXPECT_EQ(tok.GetLine(), 1);
    EXPECT_STREQ(tok.NextToken(true), "a");
    CTokenizer counted;
    counted.Init(&text[0]);
    counted.SkipWhite(true);
    EXPECT_EQ(counted.GetLine(), 4);
    std::string open = "\"unterminated";
    open.push_back(0);
    tok.Init(&open[0]);
    EXPECT_EQ(tok.NextQuoted(), nullptr);
}

// Tokens of a text with the line each was found on.
std::vector<std::pair<std::string, int>> TokensAndLines(std::string text)
{
    const size_t length = text.size();
    text.push_back(0);
    CTokenizer tok;
    tok.Init(&text[0], length);
    std::vector<std::pair<std::string, int>> out;
    while (char* t = tok.NextToken())
        out.emplace_back(t, tok.GetLine());
    return out;
}

// A CR that no LF follows ends a line as LF does: for tokens, comments, quoted values and
// RestOfLine, and in the line count. CR LF is one line end, its CR part of the line.
TEST(Tokenizer, EveryKindOfLineEndEndsALine)
{
    using V = std::vector<std::pair<std::string, int>>;
    const char* ends[] = {"\n", "\r\n", "\r"};
    for (const char* e : ends) {
        SCOPED_TRACE(e[0] == '\n' ? "LF" : e[1] ? "CR LF" : "CR");
        const std::string n = e;
        // A comment on the first line, blank lines, a comment after a token, a value over two lines.
        EXPECT_EQ(TokensAndLines("// first line" + n + "a b" + n + n + "c // d e" + n + "\"x" + n + "y\" f" + n + "g"),
                  V({{"a", 2}, {"b", 2}, {"c", 4}, {"\"x", 5}, {"y\"", 6}, {"f", 6}, {"g", 7}}));

        std::string text = "  tok rest" + n + "// c" + n + "\"v" + n + "w\" next" + n + "last";
        text.push_back(0);
        CTokenizer tok;
        tok.Init(&text[0]);
        EXPECT_STREQ(tok.NextToken(), "tok");
        EXPECT_STREQ(tok.RestOfLine(), n == "\r\n" ? " rest\r" : " rest");
        EXPECT_EQ(tok.GetLine(), 2);
        EXPECT_STREQ(tok.NextQuoted(), ("v" + n + "w").c_str());
        EXPECT_EQ(tok.GetLine(), 4);
        EXPECT_STREQ(tok.PeekToken(), "next");
        EXPECT_STREQ(tok.NextToken(), "next");
        EXPECT_STREQ(tok.RestOfLine(), n == "\r\n" ? "\r" : "");
        EXPECT_EQ(tok.GetLine(), 5);
        EXPECT_STREQ(tok.NextToken(), "last");
        EXPECT_EQ(tok.RestOfLine(), nullptr);
        CTokenizer uncounted;
        uncounted.Init(&text[0]);
        uncounted.NextToken(false);
        uncounted.RestOfLine(false);
        uncounted.SkipWhite(false);
        EXPECT_EQ(uncounted.GetLine(), 1);
    }
    // A CR alone, then CR LF: two line ends. A CR at the very end of the text ends its line too.
    EXPECT_EQ(TokensAndLines("a\r\r\nb\n\rc\r"), V({{"a", 1}, {"b", 3}, {"c", 5}}));
    std::string text = "// only a comment\r";
    text.push_back(0);
    CTokenizer tok;
    tok.Init(&text[0]);
    tok.SkipWhite(true);
    EXPECT_EQ(tok.GetLine(), 2);
}

// The text is read to its length: a NUL byte inside it separates tokens as the other control
// bytes do (in a comment it is part of the comment), never ends the text. A quoted string's
// contents hold it, with their length. The byte after the text ends its last token, whatever it held.
TEST(Tokenizer, ANulByteIsASeparatorNotTheEnd)
{
    using V = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(TokensAndLines(std::string("a\0b\n\0\0c", 7)), V({{"a", 1}, {"b", 1}, {"c", 2}}));
    EXPECT_EQ(TokensAndLines(std::string("// x\0y\nz\0", 10)), V({{"z", 2}}));
    EXPECT_EQ(TokensAndLines(std::string("\0\0\0", 3)), V());

    const std::string source("{ \"k\0y\" \"v\" }\nrest\0of line\nend", 30);
    std::string text = source + "XY"; // beyond the text
    CTokenizer tok;
    tok.Init(&text[0], source.size());
    EXPECT_STREQ(tok.NextToken(), "{");
    size_t length = 0;
    const char* key = tok.NextQuoted(&length);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(std::string(key, length), std::string("k\0y", 3));
    EXPECT_STREQ(tok.NextQuoted(&length), "v");
    EXPECT_EQ(length, 1u);
    EXPECT_STREQ(tok.NextToken(), "}");
    tok.RestOfLine();
    char* rest = tok.RestOfLine(); // the NUL is inside the line, which ends at its LF
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(tok.GetPosition() - rest, 13);
    EXPECT_EQ(tok.GetLine(), 3);
    EXPECT_STREQ(tok.NextToken(), "end");
    EXPECT_EQ(tok.NextToken(), nullptr);
    EXPECT_EQ(tok.GetEnd(), &text[source.size()]);
    // Whole again, the bytes beyond the text included.
    EXPECT_EQ(text, source + "XY");
}

TEST(Tokenizer, ParseShortTable)
{
    struct Case
    {
        const char* text;
        short value;
        int consumed;
    } cases[] = {
        {"-12", -12, 3}, {"1-2", -12, 3}, {"+5", 0, 0}, {"7.5", 7, 1}, {"70000", 4464, 5}, {"", 0, 0}, {"12 3", 12, 2},
    };
    for (const Case& c : cases) {
        std::string s = c.text;
        char* p = &s[0];
        EXPECT_EQ(ParseShort(&p), c.value) << c.text;
        EXPECT_EQ(p - &s[0], c.consumed) << c.text;
    }
    std::string s = " (\t) x";
    char* p = &s[0];
    SkipPunctuation(&p);
    EXPECT_EQ(*p, 'x');
}

TEST(Tokenizer, NumbersAndRounding)
{
    struct Case
    {
        const char* text;
        double value;
    } cases[] = {{"12.5", 12.5}, {"-0", 0}, {"-1285.65685", -1285.65685}, {".25", 0.25}, {"1e2", 100}};
    for (const Case& c : cases) {
        std::string s = c.text;
        char* p = &s[0];
        double v = 0;
        ASSERT_TRUE(ParseNumber(&p, v)) << c.text;
        EXPECT_NEAR(v, c.value, 1e-9) << c.text;
        EXPECT_EQ(*p, 0) << c.text;
    }
    std::string word = "x1";
    char* p = &word[0];
    double v;
    EXPECT_FALSE(ParseNumber(&p, v));
    EXPECT_EQ(p, &word[0]);
    EXPECT_EQ(RoundCoord(15.5), 16);
    EXPECT_EQ(RoundCoord(-15.5), -15);
    EXPECT_EQ(RoundCoord(40000), 32767);
}

// A coordinate is what RoundCoord makes of ParseNumber's value, and the reading stops at the same
// place: integers (read as integers), fractions, exponents, clamped and overlong numbers, signs
// without digits and words.
TEST(Tokenizer, CoordinatesAsRoundedNumbers)
{
    const char* cases[] = {"12 ",     "-0)",     "+7",       "-32768",  "-32769",   "32767",  "32768",
                           "99999",   "-99999",  "12.5",     "-12.5",   "-1285.6x", ".25",    "1e2",
                           "3e",      "4E+1 ",   "5e-1",     "7.",      "-",        "+",      "x1",
                           "-.5",     "0001",    "123456789012345678901234", "-123456789012345678", ""};
    for (const char* text : cases) {
        std::string a = text, b = text;
        char* pa = &a[0];
        char* pb = &b[0];
        double v = 0;
        short coord = 1234;
        const bool number = ParseNumber(&pa, v);
        EXPECT_EQ(ParseCoord(&pb, coord), number) << text;
        EXPECT_EQ(pb - &b[0], pa - &a[0]) << text;
        if (number)
            EXPECT_EQ(coord, RoundCoord(v)) << text;
        else
            EXPECT_EQ(coord, 1234) << text;
    }
}

TEST(Tokenizer, SmallHelpers)
{
    EXPECT_EQ(FloorPowerOfTwo(0), 0);
    EXPECT_EQ(FloorPowerOfTwo(1), 1);
    EXPECT_EQ(FloorPowerOfTwo(5), 4);
    EXPECT_EQ(FloorPowerOfTwo(64), 64);
    EXPECT_EQ(FloorPowerOfTwo(255), 128);
    EXPECT_EQ(FloorPowerOfTwo(-3), 0);
    EXPECT_EQ(SignWithTolerance(0.01f), 0.0f);
    EXPECT_EQ(SignWithTolerance(-0.01f), 0.0f);
    EXPECT_EQ(SignWithTolerance(0.02f), 1.0f);
    EXPECT_EQ(SignWithTolerance(-0.02f), -1.0f);
    EXPECT_EQ(SignWithTolerance(std::numeric_limits<float>::quiet_NaN()), -1.0f);
    short a = 1, b = 2;
    SwapShort(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
}

class RootPaths : public ModelTest
{
};

TEST_F(RootPaths, RelativeOnlyAtASeparatorAndIgnoringCase)
{
    struct Case
    {
        const char* root;
        const char* path;
        const char* result;
    } cases[] = {
        {"C:\\game", "C:\\game\\maps\\a.map", "maps\\a.map"},
        {"C:\\game", "c:\\GAME\\wads", "wads"},
        {"C:\\game", "C:\\gamedata\\x.wad", "C:\\gamedata\\x.wad"}, // a longer name, not below the root
        {"C:\\game", "C:\\game", ""},
        {"C:\\game\\", "C:\\game\\id1", "id1"},
        {"C:\\game", "D:\\other", "D:\\other"},
        {"", "C:\\game\\x", "C:\\game\\x"},
    };
    for (const Case& c : cases) {
        services->WriteProfileString("Project Settings", "Root Path", c.root);
        CString path = c.path;
        MakeRootRelative(path);
        EXPECT_STREQ(path, c.result) << c.root << " | " << c.path;
    }
}

TEST_F(RootPaths, AbsoluteLeavesDrivesAndRootedPaths)
{
    services->WriteProfileString("Project Settings", "Root Path", "C:\\game");
    struct Case
    {
        const char* path;
        const char* result;
    } cases[] = {
        {"maps\\a.map", "C:\\game\\maps\\a.map"}, {"D:\\x", "D:\\x"}, {"\\net\\x", "\\net\\x"},
        // A share and a device path, with "\\" or "/".
        {"\\\\srv\\share\\x", "\\\\srv\\share\\x"}, {"//srv/share/x", "//srv/share/x"},
        {"\\\\?\\D:\\x", "\\\\?\\D:\\x"}, {"/net/x", "/net/x"}};
    for (const Case& c : cases) {
        CString path = c.path;
        MakeRootAbsolute(path);
        EXPECT_STREQ(path, c.result) << c.path;
    }
    services->WriteProfileString("Project Settings", "Root Path", "");
    CString path = "maps";
    MakeRootAbsolute(path);
    EXPECT_STREQ(path, "maps");
}

} // namespace
