// Brush blocks of the map text: the face-line reader and writer.
#include "Brush.h"
#include "MapText.h"
#include "Reporter.h"
#include "Services.h"
#include "Texture.h"
#include "Tokenizer.h"
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

// The rest of a face line after its first "(": three points, the texture name (the
// whole token after the third ")"), offsets, rotation and scales. Coordinates and
// texture attributes may carry fractions; they are rounded to the nearest integer.
void Brush::ReadFaceLine(Face& face, char* line, const Face* pPrevious)
{
    char* p = line;
    bool ok = true;
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
            if (!ParseCoord(&p, face.pt[k][a])) {
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
        Report().Box(MB_OK, "Error reading in a brush's face");
        return;
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
    double scales[2] = {0, 0};
    int read = 0;
    for (; read < 5; ++read) {
        SkipBlanks(p);
        if (!(read < 3 ? ParseCoord(&p, whole[read]) : ParseNumber(&p, scales[read - 3])))
            break;
    }
    face.xOffset = whole[0];
    face.yOffset = whole[1];
    face.rotation = whole[2];
    face.xScale = static_cast<float>(scales[0]);
    face.yScale = static_cast<float>(scales[1]);
    if (read < 5)
        Report().Box(MB_OK, "Error reading in a brush's face");
}

// Thrown when the geometry of a read brush fails; carries the line of the face.
Brush::Brush(CTokenizer& tok) : SThing(0, true, false)
{
    tok.NextToken();
    tok.RestOfLine();
    // The face lines are read straight into the brush: room for eight faces (nearly every brush
    // of a map has six) is made once, and each face is built in place, not copied.
    m_faces.reserve(8);
    int lines[MAX_FACES + 1]; // the line of each face, for the report of a brush that fails
    size_t filled = 0;
    auto readFace = [&](char* text, int line) {
        m_faces.emplace_back();
        const size_t count = m_faces.size();
        ReadFaceLine(m_faces[count - 1], text, count > 1 ? &m_faces[count - 2] : nullptr);
        if (filled <= MAX_FACES)
            lines[filled] = line;
        ++filled;
    };
    for (;;) {
        char* t = tok.NextToken(true);
        if (!t)
            break;
        if (t[0] == '}')
            break;
        int line = tok.GetLine();
        // The face line continues after the "(" token.
        char* rest = t + 1;
        bool face = t[0] == '(';
        if (face && *rest) {
            // A "(" glued to the first number: read the token and the line together.
            char* more = tok.RestOfLine(true);
            CString joined(rest);
            if (more) {
                joined += " ";
                joined += more;
            }
            std::vector<char> buf(joined.GetString(), joined.GetString() + joined.GetLength() + 1);
            readFace(buf.data(), line);
            continue;
        }
        char* more = tok.RestOfLine(true);
        if (face)
            readFace(more ? more : const_cast<char*>(""), line);
        if (!more)
            break;
    }
    if (m_faces.size() > MAX_FACES)
        throw CBrushGeometryError(CBrushGeometryError::TOO_FEW_FACES, -1, "A brush has more than 255 faces");
    if (m_faces.size() < 4)
        throw CBrushGeometryError(CBrushGeometryError::TOO_FEW_FACES, -1, "A brush has fewer than four faces");
    try {
        // A brush that cannot be built is the reader's to report (it keeps it as text).
        QuietGeometry quiet;
        ComputePlanes();
        ClassifyAll();
        ClipWindings();
    } catch (CBrushGeometryError& e) {
        if (e.face >= 0 && static_cast<size_t>(e.face) < filled && e.face <= MAX_FACES)
            e.line = lines[static_cast<size_t>(e.face)];
        throw;
    }
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
