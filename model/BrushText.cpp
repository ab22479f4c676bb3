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

static void SkipBlanks(char*& p)
{
    while (IsBlank(*p))
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

// A 16-bit field: false when no number stands there; fits is cleared when the number is not a
// finite value or lies outside the 16-bit range (the parse clamps such a number).
static bool ReadShortField(char*& p, short& value, bool& fits)
{
    char* start = p;
    if (!ParseCoord(&p, value))
        return false;
    if (value == 32767 || value == -32768) {
        double d;
        char* q = start;
        if (!ParseNumber(&q, d) || !std::isfinite(d) || d + 0.5 < -32768.0 || d + 0.5 >= 32768.0)
            fits = false;
    }
    return true;
}

// A float field: fits is cleared when the number is not a finite single-precision value.
static bool ReadFloatField(char*& p, float& value, bool& fits)
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

// The rest of a face line after its first "(": three points, the texture name (the
// whole token after the third ")"), offsets, rotation and scales. Coordinates and
// texture attributes may carry fractions; they are rounded to the nearest integer.
char* Brush::ReadFaceLine(Face& face, char* line, const Face* pPrevious, int lineNumber, bool& badNumber)
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
            if (!ReadShortField(p, face.pt[k][a], fits)) {
                ok = false;
                break;
            }
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
        while (*p && !IsBlank(*p))
            ++p;
    }
    const int nameLength = static_cast<int>(p - name);
    if (!ok || nameLength == 0) {
        face.texture = GetEditorServices()->GetDefaultTexture();
        CMapReadReport::Note(READ_FACE_ERROR, lineNumber);
        if (!fits)
            badNumber = true;
        return p;
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
        if (!(read < 3 ? ReadShortField(p, whole[read], fits) : ReadFloatField(p, scales[read - 3], fits))) {
            p = before;
            break;
        }
    }
    // Texture axes in square brackets after the name: the Valve 220 format, whose numbers this
    // reader would take for others.
    char* next = p;
    SkipBlanks(next);
    if (read == 0 && *next == '[')
        throw CMapFormatError(lineNumber);
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

static bool OnlyBlanksOrComment(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return *p == 0 || *p == '\n' || (p[0] == '/' && p[1] == '/');
}

// Thrown when the geometry of a read brush fails; carries the line of the face.
Brush::Brush(CTokenizer& tok, bool brace, bool* pEndedInside) : SThing(0, true, false)
{
    if (brace) {
        tok.NextToken();
        const int braceLine = tok.GetLine();
        // Anything after the "{" on its line is not read.
        char* rest = tok.RestOfLine();
        if (!rest) {
            rest = tok.GetPosition();
            tok.SetPosition(rest + std::strlen(rest));
        }
        if (!OnlyBlanksOrComment(rest))
            CMapReadReport::Note(READ_NOT_READ, braceLine);
    }
    // The face lines are read straight into the brush: room for eight faces (nearly every brush
    // of a map has six) is made once, and each face is built in place, not copied.
    m_faces.reserve(8);
    int lines[MAX_FACES + 1]; // the line of each face, for the report of a brush that fails
    size_t filled = 0;
    bool badNumber = false;
    int badFace = -1;
    auto asRead = std::make_shared<BrushAsRead>();
    auto readFace = [&](char* text, int line) {
        m_faces.emplace_back();
        const size_t count = m_faces.size();
        Face& f = m_faces[count - 1];
        bool bad = false;
        char* end = ReadFaceLine(f, text + 1, count > 1 ? &m_faces[count - 2] : nullptr, line, bad);
        if (bad && !badNumber) {
            badNumber = true;
            badFace = static_cast<int>(count - 1);
        }
        if (!OnlyBlanksOrComment(end))
            CMapReadReport::Note(READ_NOT_READ, line);
        while (end > text && IsBlank(end[-1]))
            --end;
        // The line as far as it was read, for a save that finds the face unchanged.
        asRead->lines += "    ";
        asRead->lines += CString(text, static_cast<int>(end - text));
        asRead->lines += "\r\n";
        FaceAsRead v;
        std::memcpy(v.pt, f.pt, sizeof v.pt);
        v.xOffset = f.xOffset;
        v.yOffset = f.yOffset;
        v.rotation = f.rotation;
        v.xScale = f.xScale;
        v.yScale = f.yScale;
        v.texture = f.texture;
        asRead->faces.push_back(v);
        if (filled <= MAX_FACES)
            lines[filled] = line;
        ++filled;
    };
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
        // After the rest of the line is taken, the whole line runs from the token on.
        char* more = tok.RestOfLine(true);
        if (t[0] == '(')
            readFace(t, line);
        else
            CMapReadReport::Note(READ_NOT_READ, line);
        if (!more) {
            // The last line of the text, without a line end.
            tok.SetPosition(t + std::strlen(t));
            break;
        }
    }
    if (!closed && pEndedInside)
        *pEndedInside = true;
    auto fail = [&](CBrushGeometryError e) {
        e.endedInside = !closed;
        if (e.face >= 0 && static_cast<size_t>(e.face) < filled && e.face <= MAX_FACES)
            e.line = lines[static_cast<size_t>(e.face)];
        throw e;
    };
    if (badNumber)
        fail(CBrushGeometryError(CBrushGeometryError::BAD_NUMBER, badFace, "A number of a face does not fit"));
    if (m_faces.size() > MAX_FACES)
        fail(CBrushGeometryError(CBrushGeometryError::TOO_MANY_FACES, -1, "A brush has more than 255 faces"));
    if (m_faces.size() < 4)
        fail(CBrushGeometryError(CBrushGeometryError::TOO_FEW_FACES, -1, "A brush has fewer than four faces"));
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

bool Brush::HoldsValuesAsRead() const
{
    if (!m_asRead || m_asRead->faces.size() != m_faces.size())
        return false;
    for (size_t i = 0; i < m_faces.size(); ++i) {
        const Face& f = m_faces[i];
        const FaceAsRead& r = m_asRead->faces[i];
        if (std::memcmp(f.pt, r.pt, sizeof r.pt) != 0 || f.xOffset != r.xOffset || f.yOffset != r.yOffset ||
            f.rotation != r.rotation || f.xScale != r.xScale || f.yScale != r.yScale || f.texture != r.texture)
            return false;
    }
    return true;
}

static void AppendInt(CString& out, int v, int width)
{
    char buf[16];
    int n = std::snprintf(buf, sizeof buf, "%*d", width, v);
    out += CString(buf, n);
}

void Brush::Write(CString& out, bool evenInvalid) const
{
    if (!evenInvalid && !IsValid())
        return;
    // What the user did not change goes back as the file had it: fractions, spelling and all.
    if (HoldsValuesAsRead()) {
        out += m_asRead->lines;
        return;
    }
    char buf[64];
    for (const Face& f : m_faces) {
        out += "    (";
        for (int k = 0; k < 3; ++k) {
            if (k > 0)
                out += " (";
            for (int a = 0; a < 3; ++a) {
                out += ' ';
                AppendInt(out, f.pt[k][a], 4);
            }
            out += " )";
        }
        out += ' ';
        out += f.texture ? static_cast<LPCSTR>(f.texture->name) : "DEFAULT";
        int n = std::snprintf(buf, sizeof buf, " %d %d %d %1.6f %1.6f\r\n", f.xOffset, f.yOffset, f.rotation,
                              static_cast<double>(f.xScale), static_cast<double>(f.yScale));
        out += CString(buf, n);
    }
}
