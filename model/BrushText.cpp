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

// A blank within the line: a CR counts only before its LF, as a CR alone ends the line. The byte
// after p is there to be read (the text is followed by a NUL). Most bytes asked about are digits,
// letters and parentheses: one test sends them back.
static inline bool IsBlankAt(const char* p)
{
    const char c = *p;
    if (static_cast<unsigned char>(c) > ' ')
        return false;
    return c == ' ' || c == '\t' || (c == '\r' && p[1] == '\n');
}

// Inline: a face line's reader passes over its blanks fifteen times.
static inline void SkipBlanks(char*& p)
{
    while (IsBlankAt(p))
        ++p;
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

// Whether the CR at p ends its line: before its LF, or alone where what follows it can begin a
// line of a brush.
static bool CarriageReturnEndsLine(const char* p, const char* textEnd)
{
    const char* q = p + 1;
    while (q < textEnd && (*q == ' ' || *q == '\t'))
        ++q;
    return q >= textEnd || *q == '\r' || *q == '\n' || *q == '(' || *q == '}' ||
           (textEnd - q >= 2 && q[0] == '/' && q[1] == '/');
}

// Whether nothing of a face line's fields is left at p (after its blanks): the line's end, the
// text's end, a comment, or the "}" that ends the brush. A CR alone ends the line only where what
// follows it can begin a line of the brush (a face, its "}", a comment, a blank line): a file whose
// lines end so has nothing else there, while a stray CR with the numbers after it cut the fields
// short, and the compilers, which take it for a blank, read them. So does a "}" with more of the
// line after it.
static bool EndsFaceFields(const char* p, const char* textEnd)
{
    if (p >= textEnd)
        return true;
    if (*p == '\r')
        return CarriageReturnEndsLine(p, textEnd);
    if (*p == '}')
        return OnlyBracesLeftOnLine(p + 1, textEnd);
    return *p == '\n' || (p[0] == '/' && p[1] == '/');
}

// Whether the compilers take the byte for a blank between tokens: any byte up to the blank's code,
// and any from 0x80 on (they compare bytes as signed).
static bool SeparatesTokens(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u <= ' ' || u >= 0x80;
}

// The "}" that ends the brush of a damaged face line (one that cannot be read, or one with more
// text after its five numbers), looked for from p (where the read of the line stopped) as the
// compilers read the line: its tokens run to its LF, parted by the bytes they take for blanks (a
// CR alone among the fields too, unless what follows it begins a line), and a "//" before a token
// starts a comment. A "}" that is a token of its own, with nothing after it on the line but blanks,
// braces or a comment, ends the brush; a "}" against other bytes is part of their token, and one
// with more of the line after it is some of the line's damage. Null when the line holds no such
// brace; crossed counts the CRs alone passed over on the way to it, each of which the tokenizer
// counts as a line end.
static char* BraceEndingDamagedLine(char* p, const char* textEnd, int& crossed)
{
    crossed = 0;
    while (p < textEnd) {
        const char c = *p;
        if (c == '\n' || (c == '\r' && CarriageReturnEndsLine(p, textEnd)))
            return nullptr;
        if (SeparatesTokens(c)) {
            crossed += c == '\r';
            ++p;
            continue;
        }
        if (textEnd - p >= 2 && p[0] == '/' && p[1] == '/')
            return nullptr;
        // The read may have stopped inside a token: a byte before p that is no separator is of it.
        char* token = p;
        while (p < textEnd && !SeparatesTokens(*p))
            ++p;
        if (p - token == 1 && *token == '}' && SeparatesTokens(token[-1]) && OnlyBracesLeftOnLine(p, textEnd))
            return token;
    }
    return nullptr;
}

// The rest of a face line after its first "(": three points, the texture name (the
// whole token after the third ")"), offsets, rotation and scales. Coordinates and
// texture attributes may carry fractions; they are rounded to the nearest integer.
// The line ends at its line end or the end of the text: it is read straight from the text, so
// that its bytes are gone over once, not first searched for the line end. A line whose points or
// texture name cannot be read, or whose numbers after the name stop short of the line's end,
// sets unreadable: its brush is kept as the text has it.
char* Brush::ReadFaceLine(Face& face, char* line, const Face* pPrevious, int lineNumber, const char* textEnd,
                          bool& badNumber, bool& unreadable)
{
    char* p = line;
    bool ok = true;
    bool fits = true;
    for (int k = 0; k < 3 && ok; ++k) {
        if (k > 0) {
            SkipBlanks(p);
            if (*p != '(') {
                ok = false;
                break;
            }
            ++p;
        }
        for (int a = 0; a < 3; ++a) {
            SkipBlanks(p);
            char* end = ShortField(p, face.pt[k][a], fits);
            if (!end) {
                ok = false;
                break;
            }
            p = end;
        }
        SkipBlanks(p);
        if (ok && *p != ')')
            ok = false;
        if (ok)
            ++p;
    }
    char* name = p;
    if (ok) {
        SkipBlanks(p);
        name = p;
        while (*p && *p != '\n' && !IsBlank(*p))
            ++p;
    }
    const int nameLength = static_cast<int>(p - name);
    // No name; a "}" where the name would be (it ends the brush); a name cut by a NUL byte of the
    // text. The face would be made of what was read, and written back short of what the file holds.
    if (!ok || nameLength == 0 || name[0] == '}' || (*p == 0 && p < textEnd)) {
        face.texture = GetEditorServices()->GetDefaultTexture();
        unreadable = true;
        if (!fits)
            badNumber = true;
        return ok ? name : p;
    }
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
    int read = 0;
    for (; read < 5; ++read) {
        char* before = p;
        SkipBlanks(p);
        char* end = read < 3 ? ShortField(p, whole[read], fits) : FloatField(p, scales[read - 3], fits);
        if (!end) {
            p = before;
            break;
        }
        p = end;
    }
    // Texture axes in square brackets after the name: the Valve 220 format, whose numbers this
    // reader would take for others.
    char* next = p;
    SkipBlanks(next);
    if (read == 0 && *next == '[')
        throw CMapFormatError(lineNumber);
    // Fields cut short by a byte that is no number (a NUL, a control byte, a letter) with more of
    // the line after it: the face would be made of the fields before it and written back without
    // the rest, which the compilers then find incomplete. The brush is kept as the text has it.
    // Fields that simply end with their line build the face with zeros for the missing ones.
    // A "}" against the last number with more of the line after it cut that number too (the
    // compilers read it as part of the number): it ends no brush.
    if ((read < 5 && !EndsFaceFields(next, textEnd)) || (*p == '}' && !OnlyBracesLeftOnLine(p + 1, textEnd))) {
        unreadable = true;
        if (!fits)
            badNumber = true;
        return p;
    }
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

// Thrown when the geometry of a read brush fails; carries the line of the face.
Brush::Brush(CTokenizer& tok, bool brace, bool* pEndedInside, bool clipLater) : SThing(0, true, false)
{
    if (brace) {
        tok.NextToken();
        const int braceLine = tok.GetLine();
        // Anything after the "{" on its line is not read.
        char* rest = tok.RestOfLine();
        const char* lineEnd = rest ? tok.GetPosition() - 1 : tok.GetEnd();
        if (!rest) {
            rest = tok.GetPosition();
            tok.SetPosition(tok.GetEnd());
        }
        if (!OnlyBlanksOrComment(rest, lineEnd))
            CMapReadReport::Note(READ_NOT_READ, braceLine);
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
    auto readFace = [&](char* text, int line, bool& unreadable) {
        m_faces.emplace_back();
        const size_t count = m_faces.size();
        Face& f = m_faces[count - 1];
        bool bad = false;
        unreadable = false;
        char* end = ReadFaceLine(f, text + 1, count > 1 ? &m_faces[count - 2] : nullptr, line, tok.GetEnd(), bad,
                                 unreadable);
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
        if (t[0] == '}') {
            closed = true;
            break;
        }
        int line = tok.GetLine();
        char* more;
        if (t[0] == '(') {
            // The face line is read from the token on with the text as it is (the byte after the
            // token put back); the line end is then looked for from where the read stopped, which
            // is nearly always at it.
            tok.SetPosition(tok.GetPosition());
            bool unreadable = false;
            char* stop = readFace(t, line, unreadable);
            // A "}" after the last field read ends the brush as on a line of its own; what follows
            // it is read as if it began a line ("} }" ends the entity too, "} {" starts a block).
            // A damaged line ends its brush only at a "}" that the compilers, too, read as the
            // brush's end, so that the braces of the file stay paired: a brush kept as text takes
            // the line to that brace; of a line whose fields were read, what lies between them and
            // the brace is not read. Any other "}" of the line is some of its damage, and the brush
            // goes on to its own "}".
            char* after = stop;
            SkipBlanks(after);
            char* brace = nullptr;
            int crossed = 0;
            if (!unreadable && *after == '}' && after < tok.GetEnd())
                brace = after;
            else if (*after != '\n' && after < tok.GetEnd())
                brace = BraceEndingDamagedLine(stop, tok.GetEnd(), crossed);
            if (brace) {
                if (!unreadable && !OnlyBlanksOrComment(stop, brace))
                    notRead.push_back(line);
                tok.SetPosition(stop);
                for (; crossed > 0; --crossed)
                    tok.RestOfLine(true);
                tok.SetPosition(brace + 1);
                closed = true;
                break;
            }
            tok.SetPosition(stop);
            more = tok.RestOfLine(true);
            // A brush kept as text for its unreadable line loses nothing of the line.
            if (!unreadable && !OnlyBlanksOrComment(stop, more ? tok.GetPosition() - 1 : tok.GetEnd()))
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
