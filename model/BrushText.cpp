// Brush blocks of the map text: the face-line reader and writer.
#include "Brush.h"
#include "MapText.h"
#include "Reporter.h"
#include "Services.h"
#include "Texture.h"
#include "Tokenizer.h"
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

static CMapStringToPtr* s_pMissing = nullptr;

CMapStringToPtr* GetMissingTextureSet()
{
    return s_pMissing;
}

void SetMissingTextureSet(CMapStringToPtr* pSet)
{
    s_pMissing = pSet;
}

void FreeMissingTextureSet(CMapStringToPtr& set)
{
    CString key;
    void* p;
    for (POSITION pos = set.GetStartPosition(); pos;) {
        set.GetNextAssoc(pos, key, p);
        delete static_cast<CString*>(p);
    }
    set.RemoveAll();
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// A blank between the tokens of a face line, as the map compilers take it: any byte up to the
// blank's code and any from 0x80 on (a CR too, alone or not), but the LF that ends the line and a
// NUL (for the compilers the end of the file; the reader takes it for damage). The byte after p is
// there to be read (the text is followed by a NUL). Most bytes asked about are digits, letters and
// parentheses: the first test sends them back.
static inline bool IsBlankAt(const char* p)
{
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c - 1u < static_cast<unsigned>(' '))
        return c != '\n';
    return c >= 0x80;
}

// Inline: a face line's reader passes over its blanks fifteen times. Nearly all are one space;
// others (a tab, a CR, a control byte) set others, as a CR alone among them is a line end that the
// reader's caller counts.
static inline void SkipBlanks(char*& p, bool& others)
{
    while (*p == ' ')
        ++p;
    if (IsBlankAt(p)) {
        others = true;
        do
            ++p;
        while (IsBlankAt(p));
    }
}

// Equal when the bytes are equal or differ only in the case of ASCII letters.
static bool SameLettersIgnoringCase(const char* a, const char* b, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        if (x == y)
            continue;
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// A 16-bit field read the long way round: every form ParseNumber takes. False when no number
// stands there; fits is cleared when the number is not a finite value or lies outside the 16-bit
// range (the parse clamps such a number).
bool ReadShortFieldGeneral(char*& p, short& value, bool& fits)
{
    char* start = p;
    if (!ParseCoord(&p, value))
        return false;
    if (value == 32767 || value == -32768) {
        // A value at the range's end may have been clamped there.
        short v;
        bool inRange = true;
        char* q = start;
        if (!ParseCoordGeneral(&q, v, &inRange) || !inRange)
            fits = false;
    }
    return true;
}

// A float field the long way round: fits is cleared when the number is not a finite
// single-precision value.
bool ReadFloatFieldGeneral(char*& p, float& value, bool& fits)
{
    double d;
    if (!ParseNumber(&p, d))
        return false;
    if (!std::isfinite(d) || std::fabs(d) > static_cast<double>(FLT_MAX)) {
        fits = false;
        value = 0;
        return true;
    }
    value = static_cast<float>(d);
    return true;
}

// Nearly every number of a face line is a sign and at most four digits, and nearly every scale
// such a number with a point and zeros after it. Those are read here at once: the value is the
// whole number (no rounding, no clamp, no range to check, the same bits as the long way gives).
// Null for any other form, which the long way reads from the start. The byte after a digit is
// looked at only while the digits go on, so that nothing past the text's end is read.
static inline char* ReadWhole(char* p, int& whole, bool& negative)
{
    negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    unsigned d = static_cast<unsigned char>(*p) - '0';
    if (d > 9)
        return nullptr;
    int v = static_cast<int>(d);
    for (int n = 1;; ++n) {
        d = static_cast<unsigned char>(*++p) - '0';
        if (d > 9)
            break;
        if (n == 4)
            return nullptr; // five digits or more
        v = v * 10 + static_cast<int>(d);
    }
    whole = v;
    return p;
}

// The byte after a number read by ReadWhole: a point, a digit or an exponent's letter makes it
// some other form.
static inline bool EndsPlainNumber(char c)
{
    return c != '.' && c != 'e' && c != 'E' && !(c >= '0' && c <= '9');
}

// The fields with the text position passed by value and returned (null when no number stands
// there), so that the reader keeps it in a register across a line's numbers.
static inline char* ShortField(char* p, short& value, bool& fits)
{
    int whole;
    bool negative;
    char* end = ReadWhole(p, whole, negative);
    if (end && EndsPlainNumber(*end)) {
        value = static_cast<short>(negative ? -whole : whole);
        return end;
    }
    char* q = p;
    return ReadShortFieldGeneral(q, value, fits) ? q : nullptr;
}

static inline char* FloatField(char* p, float& value, bool& fits)
{
    int whole;
    bool negative;
    char* end = ReadWhole(p, whole, negative);
    if (end) {
        // Zeros alone after the point add nothing (a map writes its scales as 1.000000).
        if (*end == '.') {
            char* q = end + 1;
            while (*q == '0')
                ++q;
            end = q;
        }
        if (EndsPlainNumber(*end)) {
            const double d = static_cast<double>(whole);
            value = static_cast<float>(negative ? -d : d);
            return end;
        }
    }
    char* q = p;
    return ReadFloatFieldGeneral(q, value, fits) ? q : nullptr;
}

bool ReadShortField(char*& p, short& value, bool& fits)
{
    char* end = ShortField(p, value, fits);
    if (!end)
        return false;
    p = end;
    return true;
}

bool ReadFloatField(char*& p, float& value, bool& fits)
{
    char* end = FloatField(p, value, fits);
    if (!end)
        return false;
    p = end;
    return true;
}

// Whether the line holds nothing more to read from p on: blanks and braces up to its end (a CR
// alone ends it too), the text's end or a comment.
static bool OnlyBracesLeftOnLine(const char* p, const char* textEnd)
{
    for (; p < textEnd; ++p)
        if (*p != ' ' && *p != '\t' && *p != '{' && *p != '}')
            return *p == '\r' || *p == '\n' || (textEnd - p >= 2 && p[0] == '/' && p[1] == '/');
    return true;
}

// Whether a face line's fields end at p (after their blanks): at the line's end, the text's end or
// a comment, the map compilers find the line incomplete.
static inline bool EndsFields(const char* p, const char* textEnd)
{
    return p >= textEnd || *p == '\n' || (p[0] == '/' && p[1] == '/');
}

// Passes over blanks within the line; a NUL among them is damage.
static inline void SkipFieldBlanks(char*& p, const char* textEnd, bool& damaged, bool& others)
{
    for (;;) {
        SkipBlanks(p, others);
        if (*p != 0 || p >= textEnd)
            return;
        damaged = true;
        ++p;
    }
}

// The end of the token at p, as the map compilers split it: a quoted token runs to its closing
// quote, any other to the next separator.
static char* TokenEnd(char* p, const char* textEnd)
{
    if (*p == '"') {
        ++p;
        while (p < textEnd && *p != '"')
            ++p;
        return p < textEnd ? p + 1 : p;
    }
    while (p < textEnd && !CTokenizer::IsSeparator(*p))
        ++p;
    return p;
}

// Where the map compilers' read of a face ends, from p on, where token `from` of the face stands
// (0: the first number after its first "("). They read three numbers and ")", then "(" (looked for
// over line ends and comments), three numbers and ")" twice, then the texture name and five numbers,
// each in whatever bytes its token holds, all within the line. The read stops before a "(" or ")"
// that is not there, and at a line end, a comment or the text's end where a token of the line
// should stand: there the compilers give up, and what follows is the brush's to read.
static char* EndOfFaceAsCompiled(char* p, const char* textEnd, int from)
{
    for (int k = from; k < 20; ++k) {
        const bool open = k == 4 || k == 9, close = k == 3 || k == 8 || k == 13;
        char* q = p;
        bool nul = false, others = false;
        for (;;) {
            SkipFieldBlanks(q, textEnd, nul, others);
            if (!open || q >= textEnd)
                break;
            if (*q == '\n') {
                ++q;
            } else if (q[0] == '/' && q[1] == '/') {
                while (q < textEnd && *q != '\n')
                    ++q;
            } else {
                break;
            }
        }
        if (EndsFields(q, textEnd))
            return p;
        char* end = TokenEnd(q, textEnd);
        const char mark = open ? '(' : ')';
        if ((open || close) && !((end - q == 1 && *q == mark) || (end - q == 3 && CTokenizer::IsQuotedMark(q, mark))))
            return p;
        p = end;
    }
    return p;
}

// The "}" that ends the brush on a line that holds some text after a face that is no face: a "}"
// token of its own with nothing after it on the line but blanks, braces or a comment. The map
// compilers refuse such a line; a brace there is taken for the brush's end so that the braces of
// the file stay paired. Null when the line (to its LF or a CR alone) holds no such brace.
static char* BraceEndingLine(char* p, const char* textEnd)
{
    while (p < textEnd && !CTokenizer::IsLineEnd(p, textEnd)) {
        if (CTokenizer::IsSeparator(*p)) {
            ++p;
            continue;
        }
        if (p[0] == '/' && p[1] == '/')
            return nullptr;
        char* token = p;
        while (p < textEnd && !CTokenizer::IsSeparator(*p))
            ++p;
        if (p - token == 1 && *token == '}' && OnlyBracesLeftOnLine(p, textEnd))
            return token;
    }
    return nullptr;
}

// Whether the line goes on from p with a texture axis of the Valve 220 format: "[", four numbers
// and "]". The map compilers refuse such a line (they read the "]" as the next face's start); a
// "[" among the five numbers of a line that they read is damage, as any other token that is no
// number.
static bool BeginsTextureAxis(char* p, const char* textEnd)
{
    for (int k = 0; k < 6; ++k) {
        bool nul = false, others = false;
        SkipFieldBlanks(p, textEnd, nul, others);
        if (EndsFields(p, textEnd))
            return false;
        char* end = TokenEnd(p, textEnd);
        if ((k == 0 || k == 5) && (end - p != 1 || *p != (k == 0 ? '[' : ']')))
            return false;
        p = end;
    }
    return true;
}

// The rest of a face line after its first "(": three points, the texture name and five numbers:
// offsets, rotation and scales. Coordinates and texture attributes may carry fractions; they are
// rounded to the nearest integer. The line is read straight from the text, so that its bytes are
// gone over once.
// The face ends where the map compilers' read of it ends: after the name, the five tokens that
// follow are its numbers, whatever bytes they hold, split as the compilers split them (a CR and a
// control byte part them as a blank does). A token that is no number (a "}" among them) makes the
// face one that cannot be read, and sets unreadable: its brush is kept as the text has it, and what
// follows the fifth token is read as the compilers read it. So is a face whose points, or whose
// name, cannot be read, or one that holds a NUL. Numbers that simply end with their line (or a
// comment) build the face with zeros for the missing ones.
char* Brush::ReadFaceLine(Face& face, char* line, const Face* pPrevious, int lineNumber, const char* textEnd,
                          bool& badNumber, bool& unreadable, bool& otherBlanks)
{
    char* p = line;
    bool& others = otherBlanks;
    bool ok = true;
    bool fits = true;
    for (int k = 0; k < 3 && ok; ++k) {
        if (k > 0) {
            SkipBlanks(p, others);
            if (*p != '(') {
                ok = false;
                break;
            }
            ++p;
        }
        for (int a = 0; a < 3; ++a) {
            SkipBlanks(p, others);
            char* end = ShortField(p, face.pt[k][a], fits);
            if (!end) {
                ok = false;
                break;
            }
            p = end;
        }
        SkipBlanks(p, others);
        if (ok && *p != ')')
            ok = false;
        if (ok)
            ++p;
    }
    auto damaged = [&](char* end) {
        face.texture = GetEditorServices()->GetDefaultTexture();
        unreadable = true;
        others = true; // the compilers' read may have gone over line ends
        if (!fits)
            badNumber = true;
        return end;
    };
    if (!ok)
        return damaged(EndOfFaceAsCompiled(line, textEnd, 0));
    char* const afterPoints = p;
    bool nul = false;
    SkipFieldBlanks(p, textEnd, nul, others);
    if (EndsFields(p, textEnd))
        return damaged(afterPoints);
    char* const name = p;
    while (!CTokenizer::IsSeparator(*p))
        ++p;
    const int nameLength = static_cast<int>(p - name);
    // A quoted name, or a "}" where the name would be: the face would be made of other bytes than
    // the compilers read, and written back so.
    if (nul || *name == '"' || *name == '}')
        return damaged(EndOfFaceAsCompiled(afterPoints, textEnd, 14));
    // The faces of a brush mostly share their texture: the same name as the face before gets
    // its record without another lookup. Records are found by the upper-case name, and a WAD's
    // names are upper case while maps mostly write them in lower case: letters are compared
    // without their case (a name equal so has the same key, so the lookup would give the same
    // record).
    const Texture* prev = pPrevious != nullptr ? pPrevious->texture : nullptr;
    if (prev != nullptr && prev->name.GetLength() == nameLength &&
        SameLettersIgnoringCase(static_cast<LPCSTR>(prev->name), name, static_cast<size_t>(nameLength))) {
        face.texture = pPrevious->texture;
    } else {
        CString texName(name, nameLength);
        bool missing = false;
        face.texture = TextureForName(texName, &missing);
        if (missing && s_pMissing) {
            CString key = TextureKey(texName);
            void* old;
            if (!s_pMissing->Lookup(key, old))
                s_pMissing->SetAt(key, new CString(texName));
        }
    }
    if (nameLength == 1 && name[0] == '*')
        m_starTexture = 1;

    short whole[3] = {0, 0, 0}; // the offsets and the rotation
    float scales[2] = {0, 0};
    bool damage = false;
    int read = 0;
    for (; read < 5; ++read) {
        char* q = p;
        SkipFieldBlanks(q, textEnd, damage, others);
        char* end = read < 3 ? ShortField(q, whole[read], fits) : FloatField(q, scales[read - 3], fits);
        if (!end) {
            if (EndsFields(q, textEnd))
                break;
            // Texture axes in square brackets after the name: the Valve 220 format, whose numbers
            // this reader would take for others.
            if (read == 0 && BeginsTextureAxis(q, textEnd))
                throw CMapFormatError(lineNumber);
        }
        // The number must be the whole token: "1}" or "8x" is a token the compilers read as one.
        if (!end || !CTokenizer::IsSeparator(*end)) {
            damage = true;
            end = TokenEnd(q, textEnd);
        }
        p = end;
    }
    if (damage)
        return damaged(p);
    face.xOffset = whole[0];
    face.yOffset = whole[1];
    face.rotation = whole[2];
    face.xScale = scales[0];
    face.yScale = scales[1];
    if (!fits)
        badNumber = true;
    if (read < 5)
        CMapReadReport::Note(READ_FACE_ERROR, lineNumber);
    return p;
}

// A face line's bytes (some 60 to 100) copied in blocks of 16 that the compiler does without a
// library call: a map's load copies tens of thousands of lines, and the call for each cost more
// than the copy. Only the n bytes of the source are read.
static inline void CopyBytes(char* to, const char* from, size_t n)
{
    if (n >= 16) {
        const size_t last = n - 16;
        for (size_t i = 0; i < last; i += 16)
            std::memcpy(to + i, from + i, 16);
        std::memcpy(to + last, from + last, 16); // the end, over what was copied when n is no multiple of 16
        return;
    }
    size_t i = 0;
    if (n & 8) {
        std::memcpy(to, from, 8);
        i = 8;
    }
    if (n & 4) {
        std::memcpy(to + i, from + i, 4);
        i += 4;
    }
    if (n & 2) {
        std::memcpy(to + i, from + i, 2);
        i += 2;
    }
    if (n & 1)
        to[i] = from[i];
}

// Whether the text from p to the line's end (end: its terminator, or the end of the text) holds
// nothing but blanks or a comment.
static bool OnlyBlanksOrComment(const char* p, const char* end)
{
    while (p < end && IsBlank(*p))
        ++p;
    return p == end || (end - p >= 2 && p[0] == '/' && p[1] == '/');
}

// Passes over the blanks that the line holds from p on (a CR alone ends it, as a NUL ends them).
static void SkipBlanksInLine(char*& p, const char* textEnd)
{
    while (p < textEnd && *p != 0 && CTokenizer::IsSeparator(*p) && !CTokenizer::IsLineEnd(p, textEnd))
        ++p;
}

// Whether a "(" of its own, or one in quotes, stands at p (before the text's end), as the compilers'
// faces begin.
static bool BeginsFace(const char* p)
{
    return (p[0] == '(' && CTokenizer::IsSeparator(p[1])) || CTokenizer::IsQuotedMark(p, '(');
}

// Whether a "}" stands at p (before the text's end), or one in quotes, which ends a brush as well.
static bool BeginsBrace(const char* p)
{
    return p[0] == '}' || CTokenizer::IsQuotedMark(p, '}');
}

// The byte after the "}" at p, or after its closing quote.
static char* AfterBrace(char* p)
{
    return p + (p[0] == '"' ? 3 : 1);
}

// Whether a comment begins at p (before the text's end): it runs to its LF, as the tokenizer and
// the compilers read it, whatever the line holds after a CR alone.
static bool BeginsComment(const char* p)
{
    return p[0] == '/' && p[1] == '/';
}

// Whether the line ends at p: its line end, the text's end or a comment.
static bool EndsLine(const char* p, const char* textEnd)
{
    return p >= textEnd || CTokenizer::IsLineEnd(p, textEnd) || (p[0] == '/' && p[1] == '/');
}

// Thrown when the geometry of a read brush fails; carries the line of the face.
Brush::Brush(CTokenizer& tok, bool brace, bool* pEndedInside, bool clipLater) : SThing(0, true, false)
{
    char* const textEnd = tok.GetEnd();
    if (brace) {
        char* open = tok.NextToken();
        const int braceLine = tok.GetLine();
        // A face, the "}" or a comment after the "{" on its line is read as the compilers read it;
        // anything else there is not read. A "{" in quotes ends at its closing quote.
        tok.SetPosition(open && CTokenizer::IsQuotedMark(open, '{') ? open + 3 : tok.GetPosition());
        char* next = tok.GetPosition();
        SkipBlanksInLine(next, textEnd);
        if (next >= textEnd || (!BeginsFace(next) && !BeginsBrace(next) && !BeginsComment(next))) {
            char* rest = tok.RestOfLine();
            const char* lineEnd = rest ? tok.GetPosition() - 1 : textEnd;
            if (!rest) {
                rest = tok.GetPosition();
                tok.SetPosition(textEnd);
            }
            if (!OnlyBlanksOrComment(rest, lineEnd))
                CMapReadReport::Note(READ_NOT_READ, braceLine);
        }
    }
    // The face lines are read straight into the brush: room for eight faces (nearly every brush
    // of a map has six) is made once, and each face is built in place, not copied.
    m_faces.reserve(8);
    int lines[MAX_FACES + 1]; // the line of each face, for the report of a brush that fails
    size_t filled = 0;
    bool badNumber = false;
    int badFace = -1;
    int unreadableFace = -1;
    // The lines as far as they were read, for a save that finds the faces unchanged: kept as
    // spans of the text while the brush is read, copied into one string once its size is known.
    struct Span
    {
        const char* text;
        int length;
    };
    Span spans[MAX_FACES + 1];
    // Returns where the read of the line stopped; unreadable tells whether its points or name
    // could not be read.
    auto readFace = [&](char* text, int line, bool& unreadable, bool& otherBlanks) {
        m_faces.emplace_back();
        const size_t count = m_faces.size();
        Face& f = m_faces[count - 1];
        bool bad = false;
        unreadable = false;
        otherBlanks = false;
        char* end;
        if (text[0] == '"') {
            // A face begun with a "(" in quotes: framed as the compilers frame it, and kept with
            // its brush as the text has it.
            f.texture = GetEditorServices()->GetDefaultTexture();
            unreadable = true;
            otherBlanks = true;
            end = EndOfFaceAsCompiled(text + 3, textEnd, 0);
        } else {
            end = ReadFaceLine(f, text + 1, count > 1 ? &m_faces[count - 2] : nullptr, line, textEnd, bad, unreadable,
                               otherBlanks);
        }
        if (bad && !badNumber) {
            badNumber = true;
            badFace = static_cast<int>(count - 1);
        }
        if (unreadable && unreadableFace < 0)
            unreadableFace = static_cast<int>(count - 1);
        char* stop = end;
        while (end > text && IsBlank(end[-1]))
            --end;
        if (filled <= MAX_FACES) {
            lines[filled] = line;
            spans[filled] = {text, static_cast<int>(end - text)};
        }
        ++filled;
        return stop;
    };
    // The lines of the brush that are no face, or hold more than a face, told once the brush is read.
    std::vector<int> notRead;
    bool closed = false;
    for (;;) {
        char* t = tok.NextToken(true);
        if (!t)
            break;
        if (BeginsBrace(t)) {
            if (t[0] == '"')
                tok.SetPosition(AfterBrace(t));
            closed = true;
            break;
        }
        int line = tok.GetLine();
        char* more;
        if (t[0] == '(' || CTokenizer::IsQuotedMark(t, '(')) {
            // The face line is read from the token on with the text as it is (the byte after the
            // token put back); the line end is then looked for from where the read stopped, which
            // is nearly always at it.
            tok.SetPosition(tok.GetPosition());
            bool unreadable = false, otherBlanks = false;
            char* stop = readFace(t, line, unreadable, otherBlanks);
            // The face ends where the compilers' read of it ends, on its line or past line ends,
            // which only blanks other than spaces can hold.
            if (otherBlanks)
                tok.SkipTo(stop);
            else
                tok.SetPosition(stop);
            // What follows the face on its line: a "}" ends the brush as on a line of its own, and
            // what follows it is read as if it began a line ("} }" ends the entity too, "} {"
            // starts a block); a "(" begins the brush's next face. Text of any other kind is not
            // read (a brush kept as text keeps it) and the line is passed over, unless a "}" ends
            // it (see BraceEndingLine).
            char* after = stop;
            SkipBlanksInLine(after, textEnd);
            char* brace = nullptr;
            if (after < textEnd && BeginsBrace(after)) {
                brace = after;
            } else if (after < textEnd && BeginsFace(after)) {
                if (!unreadable && !OnlyBlanksOrComment(stop, after))
                    notRead.push_back(line);
                tok.SetPosition(after);
                continue;
            } else if (after < textEnd && BeginsComment(after)) {
                // The comment runs on past a CR alone to its LF; the tokenizer passes over it.
                if (!unreadable && !OnlyBlanksOrComment(stop, after + 2))
                    notRead.push_back(line);
                tok.SetPosition(after);
                continue;
            } else if (!EndsLine(after, textEnd)) {
                brace = BraceEndingLine(after, textEnd);
            }
            if (brace) {
                if (!unreadable && !OnlyBlanksOrComment(stop, brace))
                    notRead.push_back(line);
                tok.SetPosition(AfterBrace(brace));
                closed = true;
                break;
            }
            more = tok.RestOfLine(true);
            // A brush kept as text for its unreadable line loses nothing of the line.
            if (!unreadable && !OnlyBlanksOrComment(stop, more ? tok.GetPosition() - 1 : textEnd))
                notRead.push_back(line);
        } else {
            more = tok.RestOfLine(true);
            notRead.push_back(line);
        }
        if (!more) {
            // The last line of the text, without a line end.
            tok.SetPosition(tok.GetEnd());
            break;
        }
    }
    if (!closed && pEndedInside)
        *pEndedInside = true;
    // A brush kept as text for an unreadable line keeps its other lines too: none is lost.
    if (unreadableFace < 0)
        for (int line : notRead)
            CMapReadReport::Note(READ_NOT_READ, line);
    auto fail = [&](CBrushGeometryError e) {
        e.endedInside = !closed;
        if (e.face >= 0 && static_cast<size_t>(e.face) < filled && e.face <= MAX_FACES)
            e.line = lines[static_cast<size_t>(e.face)];
        throw e;
    };
    if (unreadableFace >= 0)
        fail(CBrushGeometryError(CBrushGeometryError::UNREADABLE_FACE, unreadableFace,
                                 "The points, the texture name or the numbers of a face line cannot be read"));
    if (badNumber)
        fail(CBrushGeometryError(CBrushGeometryError::BAD_NUMBER, badFace, "A number of a face does not fit"));
    if (m_faces.size() > MAX_FACES)
        fail(CBrushGeometryError(CBrushGeometryError::TOO_MANY_FACES, -1, "A brush has more than 255 faces"));
    if (m_faces.size() < 4)
        fail(CBrushGeometryError(CBrushGeometryError::TOO_FEW_FACES, -1, "A brush has fewer than four faces"));
    // The values as read, taken before the geometry is built from them.
    // From a pool, as the brushes are: a map's load makes thousands.
    auto asRead = std::allocate_shared<BrushAsRead>(CPoolAllocator<BrushAsRead>());
    int length = 0;
    for (size_t i = 0; i < filled; ++i)
        length += 4 + spans[i].length + 2;
    char* const start = asRead->lines.resize_for_overwrite(static_cast<size_t>(length));
    char* to = start;
    asRead->faces.resize(m_faces.size());
    for (size_t i = 0; i < filled; ++i) {
        asRead->faces[i].line = static_cast<unsigned>(to - start);
        std::memcpy(to, "    ", 4);
        CopyBytes(to + 4, spans[i].text, static_cast<size_t>(spans[i].length));
        to += 4 + spans[i].length;
        to[0] = '\r';
        to[1] = '\n';
        to += 2;
    }
    for (size_t i = 0; i < m_faces.size(); ++i) {
        const Face& f = m_faces[i];
        FaceAsRead& v = asRead->faces[i];
        std::memcpy(v.pt, f.pt, sizeof v.pt);
        v.xOffset = f.xOffset;
        v.yOffset = f.yOffset;
        v.rotation = f.rotation;
        v.xScale = f.xScale;
        v.yScale = f.yScale;
        v.texture = f.texture;
    }
    if (clipLater) {
        ClassifyFacesAsRead();
        m_asRead = std::move(asRead);
        return;
    }
    try {
        // A brush that cannot be built is the reader's to report (it keeps it as text).
        QuietGeometry quiet;
        ComputePlanes();
        ClassifyAll();
        ClipWindings();
    } catch (CBrushGeometryError& e) {
        fail(e);
    }
    if (!EnclosesVolume())
        fail(CBrushGeometryError(CBrushGeometryError::NOT_CLOSED, -1, "The faces of a brush do not close a volume"));
    m_asRead = std::move(asRead);
}

int Brush::BuildReadWindings()
{
    ComputePlanes();
    int face = -1;
    int kind = ClipWindingsOrFail(false, face);
    if (kind < 0 && !EnclosesVolume())
        kind = CBrushGeometryError::NOT_CLOSED;
    return kind;
}

// A vertex of a closed convex solid lies on three planes at least; a point of a face that no
// other face cut away lies on fewer. The tolerance is loose, as such points lie thousands of
// units off every other plane.
bool Brush::EnclosesVolume() const
{
    const size_t n = m_faces.size();
    for (size_t i = 0; i < n; ++i) {
        const Face& f = m_faces[i];
        for (int k = 0; k < f.GetPointCount(); ++k) {
            const CVector& p = f.winding[static_cast<size_t>(k)];
            int on = 0;
            for (size_t j = 0; j < n && on < 2; ++j) {
                if (j == i)
                    continue;
                const Face& g = m_faces[j];
                const double s = static_cast<double>(g.normal.x) * p.x + static_cast<double>(g.normal.y) * p.y +
                                 static_cast<double>(g.normal.z) * p.z - g.dist;
                if (std::fabs(s) < 0.1)
                    ++on;
            }
            if (on < 2)
                return false;
        }
    }
    return true;
}

// The texture and its alignment as the face's line gave them.
static bool SameValues(const Face& f, const FaceAsRead& r)
{
    return f.xOffset == r.xOffset && f.yOffset == r.yOffset && f.rotation == r.rotation && f.xScale == r.xScale &&
           f.yScale == r.yScale && f.texture == r.texture;
}

bool Brush::HoldsPointsAsRead() const
{
    if (!m_asRead || m_asRead->faces.size() != m_faces.size())
        return false;
    for (size_t i = 0; i < m_faces.size(); ++i)
        if (std::memcmp(m_faces[i].pt, m_asRead->faces[i].pt, sizeof m_faces[i].pt) != 0)
            return false;
    return true;
}

bool Brush::HoldsValuesAsRead() const
{
    if (!HoldsPointsAsRead())
        return false;
    for (size_t i = 0; i < m_faces.size(); ++i)
        if (!SameValues(m_faces[i], m_asRead->faces[i]))
            return false;
    return true;
}

// The face lines are formatted by hand into one buffer per line: a save writes tens of thousands
// of them, and a formatted print per number made the writer slower than the reader. The text is
// what printf gives for the same numbers (" %4d" for a point coordinate, " %d" for offsets and
// rotation, " %1.6f" for the scales).

// Appends n bytes; the string grows as its appends do, by doubling.
static void AppendBytes(CString& out, const char* p, size_t n)
{
    const int old = out.GetLength();
    char* to = out.GetBufferSetLength(old + static_cast<int>(n));
    std::memcpy(to + old, p, n);
}

// A blank and the number, right-aligned in at least width characters: " %*d".
static char* PutInt(char* p, int v, int width)
{
    char digits[12];
    int n = 0;
    unsigned u = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    do {
        digits[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    *p++ = ' ';
    for (int pad = width - n - (v < 0 ? 1 : 0); pad > 0; --pad)
        *p++ = ' ';
    if (v < 0)
        *p++ = '-';
    while (n)
        *p++ = digits[--n];
    return p;
}

// A blank and the scale as " %1.6f" prints it. A float times a million is exact in a double (24
// and 20 bits of mantissa); when that product is a whole number, its digits are the exact
// decimal value, which is what printf rounds to six places, so they are written by hand. Other
// values (a fraction beyond six places, one too large) go through printf; room: 64 characters.
static char* PutScale(char* p, float value)
{
    const double m = static_cast<double>(value) * 1e6;
    if (std::fabs(m) < 9007199254740992.0 && m == std::floor(m)) {
        unsigned long long u = static_cast<unsigned long long>(std::fabs(m));
        *p++ = ' ';
        if (std::signbit(value))
            *p++ = '-';
        unsigned long long whole = u / 1000000;
        unsigned fraction = static_cast<unsigned>(u % 1000000);
        char digits[20];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole);
        while (n)
            *p++ = digits[--n];
        *p++ = '.';
        for (int k = 5; k >= 0; --k) {
            p[k] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        return p + 6;
    }
    return p + std::snprintf(p, 64, " %1.6f", static_cast<double>(value));
}

// One face line from the face's values.
static void WriteFaceLine(CString& out, const Face& f)
{
    // The longest line without its name: the points 78, the offsets and rotation 21, the
    // scales 2 x 64, the line end 2.
    char line[256];
    char* p = line;
    std::memcpy(p, "    (", 5);
    p += 5;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            std::memcpy(p, " (", 2);
            p += 2;
        }
        for (int a = 0; a < 3; ++a)
            p = PutInt(p, f.pt[k][a], 4);
        std::memcpy(p, " )", 2);
        p += 2;
    }
    *p++ = ' ';
    AppendBytes(out, line, static_cast<size_t>(p - line));
    out += f.texture ? static_cast<LPCSTR>(f.texture->name) : "DEFAULT";
    p = line;
    p = PutInt(p, f.xOffset, 0);
    p = PutInt(p, f.yOffset, 0);
    p = PutInt(p, f.rotation, 0);
    p = PutScale(p, f.xScale);
    p = PutScale(p, f.yScale);
    *p++ = '\r';
    *p++ = '\n';
    AppendBytes(out, line, static_cast<size_t>(p - line));
}

void Brush::Write(CString& out, bool evenInvalid) const
{
    if (!evenInvalid && !IsValid())
        return;
    // What the user did not change goes back as the file had it: fractions, spelling and all.
    // While the points are those read, that holds face by face: a texture put on one face, or one
    // face's alignment changed, leaves the other faces' lines as they were. A move or a reshape
    // writes every face from its values.
    if (!HoldsPointsAsRead()) {
        for (const Face& f : m_faces)
            WriteFaceLine(out, f);
        return;
    }
    const BrushAsRead& r = *m_asRead;
    const size_t n = m_faces.size();
    size_t i = 0;
    while (i < n) {
        if (!SameValues(m_faces[i], r.faces[i])) {
            WriteFaceLine(out, m_faces[i]);
            ++i;
            continue;
        }
        // This face's line and those of the unchanged faces after it, in one append.
        size_t j = i + 1;
        while (j < n && SameValues(m_faces[j], r.faces[j]))
            ++j;
        const size_t end = j < n ? r.faces[j].line : r.lines.size();
        AppendBytes(out, r.lines.data() + r.faces[i].line, end - r.faces[i].line);
        i = j;
    }
}
