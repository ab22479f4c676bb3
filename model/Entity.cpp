#include "Entity.h"
#include "Brush.h"
#include "BrushBatch.h"
#include "Map.h"
#include "MapText.h"
#include "Reporter.h"
#include "Services.h"
#include "Tokenizer.h"
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

static const char kNoClassName[] = "(no classname defined)";

CUnknownClassReport::~CUnknownClassReport()
{
    if (Close())
        ReportNow();
}

// "4" or "4: lines 3, 5, 9, 12": a class's count and, when known, the first lines of its entities.
static CString CountText(const UnknownClassCount& c)
{
    CString text;
    text.Format("%d", c.count);
    if (!c.lines.empty())
        text += (c.count == 1 ? ": line " : ": lines ") + FirstLines(c.lines, c.count);
    return text;
}

void CUnknownClassReport::ReportNow()
{
    if (m_counts.empty())
        return;
    std::vector<UnknownClassCount> counts;
    counts.swap(m_counts);
    if (counts.size() == 1) {
        Report().Box(MB_OK,
                     "The classname: %s (%s)\ncould not be found in any of the .qc files in the current project.",
                     static_cast<LPCSTR>(counts[0].name), static_cast<LPCSTR>(CountText(counts[0])));
        return;
    }
    CString list;
    for (const UnknownClassCount& c : counts) {
        CString line;
        line.Format("  %s (%s)\n", static_cast<LPCSTR>(c.name), static_cast<LPCSTR>(CountText(c)));
        list += line;
    }
    Report().Box(MB_OK, "The classnames:\n%scould not be found in any of the .qc files in the current project.",
                 static_cast<LPCSTR>(list));
}

void CUnknownClassReport::Count(const CString& name, int line)
{
    CUnknownClassReport* open = Open();
    if (!open) {
        Report().Box(MB_OK, "The classname: %s\ncould not be found in any of the .qc files in the current project.",
                     static_cast<LPCSTR>(name));
        return;
    }
    for (UnknownClassCount& c : open->m_counts)
        if (c.name == name) {
            ++c.count;
            if (line > 0 && c.lines.size() < READ_LINES_LISTED)
                c.lines.push_back(line);
            return;
        }
    UnknownClassCount c{name, 1, {}};
    if (line > 0)
        c.lines.push_back(line);
    open->m_counts.push_back(c);
}

// ---------------------------------------------------------------------------
// Pairs

// The contents of the next quoted string, without the NUL bytes it may hold (no key or value
// holds one); lost is set when there were any.
static CString NextQuotedText(CTokenizer& tok, bool& lost, const char** pStart = nullptr)
{
    size_t length = 0;
    const char* text = tok.NextQuoted(&length);
    if (pStart)
        *pStart = text;
    if (!text)
        return CString();
    if (std::memchr(text, 0, length) == nullptr)
        return CString(text, static_cast<int>(length));
    lost = true;
    CString kept;
    for (size_t i = 0; i < length; ++i)
        if (text[i] != 0)
            kept += text[i];
    return kept;
}

// Whether bytes that the map text reads as words lie between from and to.
static bool HoldsWords(const char* from, const char* to)
{
    for (const char* p = from; p < to; ++p)
        if (static_cast<unsigned char>(*p) > ' ' && static_cast<unsigned char>(*p) < 128)
            return true;
    return false;
}

// A value without quotes: the one word that stands after the key on its line, with nothing after it
// but blanks or a comment, which the compilers read as the value. False (nothing taken) for any
// other line.
static bool TakeUnquotedValue(CTokenizer& tok, CString& value)
{
    char* p = tok.GetPosition();
    const char* const end = tok.GetEnd();
    auto skipBlanks = [&](char*& q) {
        while (q < end && *q != 0 && CTokenizer::IsSeparator(*q) && !CTokenizer::IsLineEnd(q, end))
            ++q;
    };
    skipBlanks(p);
    if (p >= end || CTokenizer::IsSeparator(*p) || *p == '"' || (p[0] == '/' && p[1] == '/'))
        return false;
    char* word = p;
    while (p < end && !CTokenizer::IsSeparator(*p))
        if (*p++ == '"')
            return false; // a word against a value in quotes: the words are passed over, and told
    char* after = p;
    skipBlanks(after);
    if (after < end && !CTokenizer::IsLineEnd(after, end) && !(after[0] == '/' && after[1] == '/'))
        return false;
    value = CString(word, static_cast<int>(p - word));
    tok.SetPosition(p);
    return true;
}

CKeyValue::CKeyValue(CTokenizer& tok)
{
    const int line = tok.GetLine();
    bool lost = false;
    m_key = NextQuotedText(tok, lost);
    // Words between the key and its value are passed over, and told: the line is written without them.
    const char* afterKey = tok.GetPosition();
    const char* valueStart = nullptr;
    // A value in quotes may start on a later line (its key's line damaged); one without them
    // stands on its key's line. Looked for as a quoted one, it would take in the text up to the next
    // quote, brushes and all.
    if (!TakeUnquotedValue(tok, m_value))
        m_value = NextQuotedText(tok, lost, &valueStart);
    if (valueStart && HoldsWords(afterKey, valueStart - 1))
        lost = true;
    if (m_key == "classname")
        m_value.MakeLower();
    // A quoted string that runs over a line end (its closing quote lost, most often): the writer
    // puts blanks for the line breaks, so the read says so; one that held NUL bytes; and words
    // between the two.
    if (lost || !IsWritableKeyText(m_key) || !IsWritableKeyText(m_value))
        CMapReadReport::Note(READ_NOT_READ, line);
}

const char kUnwritableKeyText[] =
    "A key or value cannot hold a double quote (\") or a line break: the map file has no way to write them.";

bool IsWritableKeyText(LPCSTR text)
{
    for (const char* p = text; p && *p; ++p)
        if (*p == '"' || *p == '\r' || *p == '\n')
            return false;
    return true;
}

// The last guard of the file: a double quote becomes a single one and a line break a blank, so that
// the pairs of the file read back in line.
static void AppendWritable(CString& out, const CString& text)
{
    if (IsWritableKeyText(text)) {
        out += text;
        return;
    }
    CString safe(text);
    safe.Replace('"', '\'');
    safe.Replace('\r', ' ');
    safe.Replace('\n', ' ');
    out += safe;
}

void CKeyValue::Write(CString& out) const
{
    out += "  \"";
    AppendWritable(out, m_key);
    out += "\" \"";
    // The one class whose name the game spells with a capital.
    if (m_key == "classname" && m_value == "item_armorinv")
        out += "item_armorInv";
    else
        AppendWritable(out, m_value);
    out += "\"\r\n";
}

bool ParseOrigin(LPCSTR text, int* xyz, bool* pInRange)
{
    if (pInRange)
        *pInRange = true;
    if (!text)
        return false;
    char* p = const_cast<char*>(text);
    for (int i = 0; i < 3; ++i) {
        while (*p == ' ' || *p == '\t')
            ++p;
        double v;
        if (!ParseNumber(&p, v))
            return false;
        if (pInRange && !RoundsToMapCoordinate(v))
            *pInRange = false;
        xyz[i] = RoundCoord(v);
    }
    return true;
}

static const short kDefaultSize[6] = {-16, 16, -16, 16, -16, 16};

// The box of a point entity at the origin: its class's size around it, within the coordinate
// range (an entity at the range's end has its box end there, not wrap to the far side of the map).
static void BoxAround(const long long* origin, const short* size, short* box)
{
    for (int i = 0; i < 6; ++i)
        box[i] = ClampToMapCoordinate(origin[i / 2] + size[i]);
}

// ---------------------------------------------------------------------------
// Construction

Entity::Entity() : SThing(1, true, false) {}

Entity::Entity(Map* pMap) : SThing(1, true, false), m_pMap(pMap) {}

Entity::Entity(const Entity& other) : SThing(1, true, false), m_pMap(other.m_pMap)
{
    for (POSITION pos = other.m_pairs.GetHeadPosition(); pos;) {
        const CKeyValue* kv = static_cast<const CKeyValue*>(other.m_pairs.GetNext(pos));
        m_pairs.AddTail(new CKeyValue(*kv));
    }
}

Entity::Entity(Map* pMap, CTokenizer& tok, CBrushBatch* pBatch) : SThing(1, true, false), m_pMap(pMap)
{
    ReadBlock(tok, nullptr, pBatch);
}

Entity::Entity(CTokenizer& tok, const short* offset) : SThing(1, true, false)
{
    ReadBlock(tok, offset, nullptr);
}

Entity::~Entity()
{
    m_destroying = true;
    DeleteKeyValues();
    // Brushes are detached first, so that their deletion does not come back here.
    while (!m_brushes.IsEmpty()) {
        Brush* b = static_cast<Brush*>(m_brushes.RemoveHead());
        b->SetOwner(nullptr);
        if (m_pMap)
            m_pMap->ForgetObject(b);
        delete b;
    }
    if (m_pMap) {
        if (m_pMap->GetWorldEntity() != this)
            m_pMap->RemoveEntity(this);
        m_pMap->ForgetObject(this);
    }
}

Entity* Entity::CopyFrom(Map* pMap, CPtrList& objects, CPtrList& pairs)
{
    Entity* e = new Entity(pMap);
    e->SetSelected(true);
    // The pairs first: taking the last brush from its owner may delete that owner,
    // and the pairs may be its own.
    for (POSITION pos = pairs.GetHeadPosition(); pos;) {
        const CKeyValue* kv = static_cast<const CKeyValue*>(pairs.GetNext(pos));
        e->m_pairs.AddTail(new CKeyValue(*kv));
    }
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(objects.GetNext(pos));
        if (t->GetKind() != 0)
            continue;
        Brush* b = static_cast<Brush*>(t);
        if (b->GetOwner())
            b->GetOwner()->RemoveBrush(b);
        b->SetOwner(e);
        e->m_brushes.AddTail(b);
    }
    return e;
}

void Entity::CopyKeyValues(const Entity& other)
{
    if (&other == this)
        return;
    DeleteKeyValues();
    for (POSITION pos = other.m_pairs.GetHeadPosition(); pos;) {
        const CKeyValue* kv = static_cast<const CKeyValue*>(other.m_pairs.GetNext(pos));
        m_pairs.AddTail(new CKeyValue(*kv));
    }
    m_pMap = other.m_pMap;
}

// ---------------------------------------------------------------------------
// Pairs

bool Entity::AddKeyValue(LPCSTR key, LPCSTR value)
{
    if (!IsWritableKeyText(key) || !IsWritableKeyText(value))
        return false;
    m_pairs.AddTail(new CKeyValue(key, value));
    return true;
}

const CString* Entity::FindValue(LPCSTR key) const
{
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
        const CKeyValue* kv = static_cast<const CKeyValue*>(m_pairs.GetNext(pos));
        if (kv->GetKey() == key)
            return &kv->GetValue();
    }
    return nullptr;
}

LPCSTR Entity::ValueForKey(LPCSTR key) const
{
    const CString* v = FindValue(key);
    return v ? static_cast<LPCSTR>(*v) : "";
}

Entity::SetResult Entity::SetValueForKey(LPCSTR key, LPCSTR value)
{
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
        CKeyValue* kv = static_cast<CKeyValue*>(m_pairs.GetNext(pos));
        if (kv->GetKey() == key) {
            if (!IsWritableKeyText(value))
                return VALUE_REFUSED;
            kv->SetValue(value);
            return VALUE_SET;
        }
    }
    return IsWritableKeyText(key) && IsWritableKeyText(value) ? KEY_MISSING : VALUE_REFUSED;
}

BOOL Entity::RemoveKey(LPCSTR key)
{
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
        POSITION here = pos;
        CKeyValue* kv = static_cast<CKeyValue*>(m_pairs.GetNext(pos));
        if (kv->GetKey() == key) {
            m_pairs.RemoveAt(here);
            delete kv;
            return TRUE;
        }
    }
    return FALSE;
}

void Entity::DeleteKeyValues()
{
    while (!m_pairs.IsEmpty())
        delete static_cast<CKeyValue*>(m_pairs.RemoveHead());
}

// ---------------------------------------------------------------------------
// Brushes

void Entity::AddBrush(Brush* pBrush)
{
    m_brushes.AddTail(pBrush);
}

void Entity::RemoveBrush(Brush* pBrush)
{
    POSITION pos = m_brushes.Find(pBrush);
    if (!pos)
        return;
    m_brushes.RemoveAt(pos);
    if (m_pMap)
        m_pMap->RemoveFromVisible(pBrush);
    if (m_destroying)
        return;
    // The entity goes with its last brush, unless it still holds brushes kept as text.
    if (m_brushes.IsEmpty() && m_kept.empty() && (!m_pMap || m_pMap->GetWorldEntity() != this))
        delete this;
}

void Entity::RemoveAllBrushes()
{
    m_brushes.RemoveAll();
}

void Entity::TakeBrushes(Entity& other, bool select)
{
    for (KeptBrush k : other.m_kept) {
        k.before += m_brushes.GetCount();
        m_kept.push_back(k);
    }
    other.m_kept.clear();
    for (POSITION pos = other.m_brushes.GetHeadPosition(); pos;) {
        Brush* b = static_cast<Brush*>(other.m_brushes.GetNext(pos));
        m_brushes.AddTail(b);
        b->SetOwner(this);
        if (select)
            b->SetSelected(true);
    }
}

void Entity::Select()
{
    if (m_brushes.IsEmpty()) {
        SetSelected(true);
        return;
    }
    for (POSITION pos = m_brushes.GetHeadPosition(); pos;)
        static_cast<Brush*>(m_brushes.GetNext(pos))->SetSelected(true);
}

BOOL Entity::IsSelected() const
{
    if (m_brushes.IsEmpty())
        return SThing::IsSelected();
    for (POSITION pos = m_brushes.GetHeadPosition(); pos;)
        if (static_cast<const Brush*>(m_brushes.GetNext(pos))->IsSelected())
            return TRUE;
    return FALSE;
}

BOOL Entity::IsVisible() const
{
    if (m_brushes.IsEmpty())
        return SThing::IsVisible();
    for (POSITION pos = m_brushes.GetHeadPosition(); pos;)
        if (static_cast<const Brush*>(m_brushes.GetNext(pos))->IsVisible())
            return TRUE;
    return FALSE;
}

// ---------------------------------------------------------------------------
// Reading

CString Entity::ClassNameForReport() const
{
    const CString* cls = FindValue("classname");
    return cls ? *cls : CString(kNoClassName);
}

// Deletes what a block read so far holds, when the whole read stops.
void Entity::DropWhatWasRead()
{
    m_destroying = true;
    DeleteKeyValues();
    while (!m_brushes.IsEmpty()) {
        Brush* b = static_cast<Brush*>(m_brushes.RemoveHead());
        b->SetOwner(nullptr);
        delete b;
    }
    m_kept.clear();
}

Entity::KeptBrush Entity::MakeKeptBrush(int before, int line, int kind, const char* text, int length, bool brace,
                                        bool endedInside)
{
    KeptBrush kept;
    kept.before = before;
    kept.line = line;
    kept.fromPoints = kind != CBrushGeometryError::BAD_NUMBER && kind != CBrushGeometryError::NOT_CLOSED &&
                      kind != CBrushGeometryError::UNREADABLE_FACE;
    kept.text = CString(text, length);
    if (!brace)
        kept.text = "{\r\n" + kept.text;
    if (endedInside) {
        // Written back closed, so that the braces of the saved file balance.
        kept.text.TrimRight();
        kept.text += "\r\n}";
    }
    return kept;
}

void Entity::FinishRead(CBrushBatch& batch)
{
    std::vector<const CBrushBatch::Entry*> failed;
    batch.TakeFailures(this, failed);
    if (!failed.empty()) {
        // The failed brushes leave the list, and each is kept at its place among the brushes
        // that remain and the ones kept while the block was read (counted with all the brushes
        // read before them).
        std::vector<KeptBrush> kept;
        kept.reserve(m_kept.size() + failed.size());
        size_t k = 0, f = 0;
        int index = 0;
        for (POSITION pos = m_brushes.GetHeadPosition(); pos && f < failed.size(); ++index) {
            POSITION here = pos;
            Brush* b = static_cast<Brush*>(m_brushes.GetNext(pos));
            const CBrushBatch::Entry& e = *failed[f];
            if (e.index != index)
                continue;
            for (; k < m_kept.size() && m_kept[k].before <= index; ++k) {
                kept.push_back(m_kept[k]);
                kept.back().before -= static_cast<int>(f);
            }
            kept.push_back(MakeKeptBrush(index - static_cast<int>(f), e.line, e.result, e.text, e.length, e.brace,
                                         e.endedInside));
            ++f;
            m_brushes.RemoveAt(here);
            b->SetOwner(nullptr);
            delete b;
        }
        for (; k < m_kept.size(); ++k) {
            kept.push_back(m_kept[k]);
            kept.back().before -= static_cast<int>(f);
        }
        m_kept.swap(kept);
    }
    SizeFromClass(nullptr);
}

void Entity::ReadBlock(CTokenizer& tok, const short* offset, CBrushBatch* pBatch)
{
    char* first = tok.NextToken();
    const int blockLine = tok.GetLine();
    // A "{" in quotes begins the entity as well, as the compilers read it.
    if (!first || (first[0] != '{' && !CTokenizer::IsQuotedMark(first, '{'))) {
        Report().Box(MB_OK, offset ? "Entity doesn't start with {\n" : "Entity doesn't start with {.");
        throw CEntityReadError("Entity doesn't start with {.", true);
    }
    m_line = blockLine;
    bool shift = offset && (offset[0] || offset[1] || offset[2]);
    bool endedInside = false; // a brush was cut off by the end of the text
    bool closed = false;
    try {
        for (;;) {
            char* t = tok.PeekToken();
            if (!t)
                break;
            // A "{" in quotes begins a brush as the compilers read it, and a "}" in quotes ends the
            // entity: neither is a key.
            const bool quotedEnd = CTokenizer::IsQuotedMark(t, '}');
            if (t[0] == '"' && !CTokenizer::IsQuotedMark(t, '{') && !quotedEnd) {
                m_pairs.AddTail(new CKeyValue(tok));
            } else if (t[0] == '{' || t[0] == '(' || CTokenizer::IsQuotedMark(t, '{')) {
                // A face line here belongs to a brush whose "{" is missing: it is read as one.
                const bool brace = t[0] != '(';
                Brush* b = nullptr;
                char* start = tok.GetPosition();
                int startLine = tok.GetLine();
                if (!brace)
                    CMapReadReport::Note(READ_INVALID_TOKEN, startLine, t);
                try {
                    b = new Brush(tok, brace, &endedInside, pBatch != nullptr);
                } catch (CBrushGeometryError& e) {
                    endedInside = endedInside || e.endedInside;
                    if (e.endedInside)
                        CMapReadReport::NoteEndsInside("brush", startLine);
                    if (!offset) {
                        // An open keeps the brush as the file has it; the map reports them together.
                        m_kept.push_back(MakeKeptBrush(m_brushes.GetCount(), startLine, e.kind, start,
                                                       static_cast<int>(tok.GetPosition() - start), brace,
                                                       e.endedInside));
                        continue;
                    }
                    if (e.kind == CBrushGeometryError::NO_PLANE)
                        Report().Box(MB_OK,
                                     "The three points of the face on line %d lie on one line.\n\n"
                                     "The brush will be skipped.",
                                     e.line);
                    else
                        Report().Box(MB_OK,
                                     "An error occured while creating the brush\nwhich ended at line %d.\n\n"
                                     "The brush will be skipped.",
                                     tok.GetLine());
                    continue;
                }
                if (endedInside)
                    CMapReadReport::NoteEndsInside("brush", startLine);
                b->SetOwner(this);
                if (pBatch) {
                    // Its windings are built by the batch; a brush whose text ended early is the
                    // last one of the text.
                    CBrushBatch::Entry entry;
                    entry.brush = b;
                    entry.owner = this;
                    entry.index = m_brushes.GetCount();
                    entry.text = start;
                    entry.length = static_cast<int>(tok.GetPosition() - start);
                    entry.line = startLine;
                    entry.brace = brace;
                    entry.endedInside = endedInside;
                    m_brushes.AddTail(b);
                    pBatch->Add(entry);
                    continue;
                }
                m_brushes.AddTail(b);
                if (offset) {
                    try {
                        if (shift)
                            b->Translate(offset[0], offset[1], offset[2]);
                    } catch (CBrushGeometryError&) {
                        // Left where it was: a translation keeps a valid brush valid.
                    }
                    b->SetSelected(true);
                }
            } else if (t[0] == '}' || quotedEnd) {
                tok.NextToken();
                closed = true;
                break;
            } else {
                // What the entity holds so far is kept; the rest up to the next "}" is passed over.
                CMapReadReport::Note(READ_INVALID_TOKEN, tok.GetLine(), t);
                for (;;) {
                    char* s = tok.NextToken();
                    if (!s || s[0] == '}')
                        break;
                }
                closed = true;
                break;
            }
        }
    } catch (CMapFormatError&) {
        // No worker may still be building a brush that is deleted.
        if (pBatch)
            pBatch->Abandon();
        DropWhatWasRead();
        throw;
    }
    if (!closed && !endedInside)
        CMapReadReport::NoteEndsInside("entity", blockLine);
    if (!pBatch)
        SizeFromClass(offset);
}

// A message about the size of an entity read from text: told once per read for all the entities
// it concerns, with their lines (see CMapReadReport).
void Entity::TellEntity(LPCSTR format, const CString& className) const
{
    CString text;
    text.Format(format, static_cast<LPCSTR>(className));
    CMapReadReport::NoteMessage(text, m_line);
}

void Entity::SizeFromClass(const short* offset)
{
    const CString* origin = FindValue("origin");
    if (origin && !m_brushes.IsEmpty())
        TellEntity("The entity %s contains an origin and brushes,\nthe origin will be ignored.", ClassNameForReport());
    if (!origin)
        return;
    int o[3];
    short off[3] = {0, 0, 0};
    if (offset)
        for (int a = 0; a < 3; ++a)
            off[a] = offset[a];
    bool inRange = true;
    if (!ParseOrigin(*origin, o, &inRange)) {
        if (offset)
            TellEntity("The entity %s contains an invalid origin statement.\nDefaulting to 32x32x32 entity size.",
                       ClassNameForReport());
        else
            TellEntity("The entity %s contains an invalid origin statement.\n"
                       "Defaulting to 32x32x32 entity size centered at the origin.",
                       ClassNameForReport());
        const long long at[3] = {off[0], off[1], off[2]};
        BoxAround(at, kDefaultSize, m_box);
        for (int a = 0; a < 3; ++a)
            m_centre[a] = off[a];
        return;
    }
    for (int a = 0; a < 3; ++a) {
        o[a] += off[a];
        if (!IsMapCoordinate(o[a])) {
            inRange = false;
            o[a] = ClampToMapCoordinate(o[a]);
        }
    }
    const CString* cls = FindValue("classname");
    const short* size = kDefaultSize;
    if (!cls) {
        TellEntity("The origin for an entity was found, but the entity didn't have\n"
                   "a classname associated with it.  Defaulting to a size of 32x32x32\n"
                   "centered at the origin",
                   CString());
        if (!offset)
            o[0] = o[1] = o[2] = 0;
    } else {
        const EntityClass* rec = nullptr;
        if (!GetEditorServices()->LookupEntityClass(*cls, rec))
            CUnknownClassReport::Count(*cls, m_line);
        else if (!rec)
            TellEntity("The entity %s appears to contain an invalid size.\nDefaulting to 32x32x32 size.", *cls);
        else
            size = rec->size;
    }
    // Drawn, picked and moved from the range's end, where its box stops: the read says so, as it
    // does of the brushes whose points lie past the range. A read into the map places it there.
    if (!inRange && m_brushes.IsEmpty() && (cls || offset))
        TellEntity(offset ? "The origin of the entity %s lies outside the map's coordinate range (-32768 to 32767).\n"
                            "It was placed at the range's end."
                          : "The origin of the entity %s lies outside the map's coordinate range (-32768 to 32767).\n"
                            "It is shown at the range's end and moved from there; unless it is moved, its origin is "
                            "written back as read.",
                   ClassNameForReport());
    const long long at[3] = {o[0], o[1], o[2]};
    BoxAround(at, size, m_box);
    ComputeCentre();
    if (offset) {
        for (int a = 0; a < 3; ++a)
            m_centre[a] = static_cast<short>(o[a]);
        CString text;
        text.Format("%d %d %d", o[0], o[1], o[2]);
        SetValueForKey("origin", text);
    }
}

// ---------------------------------------------------------------------------
// Moving

bool Entity::PlanMove(MoveKind kind, int a, int b, int c, int viewType, long long* from, long long* to,
                      const short*& size, bool& known, bool tell) const
{
    int o[3];
    const CString* origin = FindValue("origin");
    if (!origin || !ParseOrigin(*origin, o)) {
        if (tell)
            Report().Box(MB_OK, "The entity %s contains an invalid origin statement.\nMove not performed.",
                         static_cast<LPCSTR>(ClassNameForReport()));
        return false;
    }
    for (int i = 0; i < 3; ++i)
        from[i] = to[i] = o[i];
    if (!MovedPoint(kind, a, b, c, viewType, to) && tell)
        Report().Box(MB_OK, "Call to Move entity with unsupported type of %d\n", viewType);
    const CString* cls = FindValue("classname");
    if (!cls) {
        if (tell)
            Report().Box(MB_OK, "The origin for an entity was found, but the entity didn't have\n"
                                "a classname associated with it. Move not performed.");
        return false;
    }
    const EntityClass* rec = nullptr;
    known = GetEditorServices()->LookupEntityClass(*cls, rec) != FALSE;
    if (known && !rec) {
        if (tell)
            Report().Box(MB_OK, "The entity %s appears to contain an invalid size.\nMove not performed.",
                         static_cast<LPCSTR>(*cls));
        return false;
    }
    size = rec ? rec->size : kDefaultSize;
    return true;
}

bool Entity::MoveFits(MoveKind kind, int a, int b, int c, int viewType) const
{
    long long from[3], to[3];
    const short* size = nullptr;
    bool known = false;
    if (!PlanMove(kind, a, b, c, viewType, from, to, size, known, false))
        return true;
    return IsMapCoordinate(to[0]) && IsMapCoordinate(to[1]) && IsMapCoordinate(to[2]);
}

bool Entity::CanMove() const
{
    long long from[3], to[3];
    const short* size = nullptr;
    bool known = false;
    return PlanMove(TRANSLATE, 0, 0, 0, 0, from, to, size, known, false);
}

void Entity::MoveOrigin(MoveKind kind, int a, int b, int c, int viewType)
{
    long long from[3], to[3];
    const short* size = nullptr;
    bool known = false;
    if (!PlanMove(kind, a, b, c, viewType, from, to, size, known, true))
        return;
    if (!IsMapCoordinate(to[0]) || !IsMapCoordinate(to[1]) || !IsMapCoordinate(to[2])) {
        CMoveRangeReport::Count(true);
        return;
    }
    int h = 0, v = 1, d = 2;
    const bool placed = kind == MOVE_TO && ViewAxes(viewType, h, v, d); // MoveTo sets two axes outright
    for (int i = 0; i < 3; ++i)
        m_centre[i] = ClampToMapCoordinate(placed && (i == h || i == v) ? to[i] : m_centre[i] + (to[i] - from[i]));
    BoxAround(to, size, m_box);
    CString text;
    text.Format("%d %d %d", static_cast<int>(to[0]), static_cast<int>(to[1]), static_cast<int>(to[2]));
    SetValueForKey("origin", text);
    // A move of many entities tells once, with the counts (see CUnknownClassReport).
    const CString* cls = FindValue("classname");
    if (!known && kind != MOVE_TO)
        CUnknownClassReport::Count(*cls);
    if (known && kind != MOVE_TO)
        GetEditorServices()->UpdateEntityOrigin(text);
}

bool Entity::FitToOrigin()
{
    long long from[3], to[3];
    const short* size = nullptr;
    bool known = false;
    if (!PlanMove(TRANSLATE, 0, 0, 0, 0, from, to, size, known, true))
        return false;
    BoxAround(from, size, m_box);
    ComputeCentre();
    if (!known)
        CUnknownClassReport::Count(*FindValue("classname"));
    return true;
}

void Entity::MoveTo(int x, int y, int viewType)
{
    MoveOrigin(MOVE_TO, x, y, 0, viewType);
}

void Entity::Move(int dx, int dy, int viewType)
{
    MoveOrigin(MOVE, dx, dy, 0, viewType);
}

void Entity::MoveDepth(int d, int viewType)
{
    MoveOrigin(MOVE_DEPTH, d, 0, 0, viewType);
}

void Entity::Translate(int dx, int dy, int dz)
{
    MoveOrigin(TRANSLATE, dx, dy, dz, 0);
}

void Entity::Scale(int, int, int)
{
    Report().Box(MB_OK, "A brushless entity cannot be scaled.");
}

bool Entity::PlanTurn(int cx, int cy, double angle, short* centre, long long* origin, bool& hasOrigin) const
{
    const float c = static_cast<float>(std::cos(angle)), s = static_cast<float>(std::sin(angle));
    auto turn = [&](long long& x, long long& y) {
        const float u = static_cast<float>(x - cx), v = static_cast<float>(y - cy);
        const double nx = std::floor(cx + u * c - v * s + 0.5f);
        const double ny = std::floor(cy + u * s + v * c + 0.5f);
        if (!(nx >= -32768 && nx <= 32767 && ny >= -32768 && ny <= 32767))
            return false;
        x = static_cast<long long>(nx);
        y = static_cast<long long>(ny);
        return true;
    };
    long long x = m_centre[0], y = m_centre[1];
    if (!turn(x, y))
        return false;
    centre[0] = static_cast<short>(x);
    centre[1] = static_cast<short>(y);
    centre[2] = m_centre[2];
    // The box keeps its half extents around the new centre.
    for (int a = 0; a < 3; ++a) {
        const int half = (m_box[a * 2 + 1] - m_box[a * 2]) / 2;
        if (!IsMapCoordinate(centre[a] - half) || !IsMapCoordinate(centre[a] + half))
            return false;
    }
    int o[3];
    const CString* text = FindValue("origin");
    hasOrigin = text && ParseOrigin(*text, o);
    if (!hasOrigin)
        return true;
    for (int a = 0; a < 3; ++a)
        origin[a] = o[a];
    return turn(origin[0], origin[1]);
}

bool Entity::RotateFits(int cx, int cy, double angle, int viewType) const
{
    if (!m_brushes.IsEmpty() || viewType != VIEW_XY)
        return true;
    short centre[3];
    long long origin[3];
    bool hasOrigin = false;
    return PlanTurn(cx, cy, angle, centre, origin, hasOrigin);
}

// A point entity turns about a point of the top view; its "origin" turns with it, so
// that the rotation survives saving and the next move.
void Entity::Rotate(int cx, int cy, double angle, int viewType)
{
    if (!m_brushes.IsEmpty() || viewType != VIEW_XY)
        return;
    short centre[3];
    long long origin[3];
    bool hasOrigin = false;
    if (!PlanTurn(cx, cy, angle, centre, origin, hasOrigin)) {
        CMoveRangeReport::Count(true);
        return;
    }
    m_centre[0] = centre[0];
    m_centre[1] = centre[1];
    RecenterBounds();
    if (hasOrigin) {
        CString text;
        text.Format("%d %d %d", static_cast<int>(origin[0]), static_cast<int>(origin[1]), static_cast<int>(origin[2]));
        SetValueForKey("origin", text);
    }
}

bool Entity::OriginInRange() const
{
    int o[3];
    bool inRange = true;
    const CString* text = FindValue("origin");
    return !text || !ParseOrigin(*text, o, &inRange) || inRange;
}

// ---------------------------------------------------------------------------
// Writing

bool HoldsNulByte(const CString& text)
{
    return std::memchr(static_cast<LPCSTR>(text), 0, static_cast<size_t>(text.GetLength())) != nullptr;
}

// A brush kept as its text is written as read, but for its NUL bytes, which are written as blanks:
// the map compilers take a NUL for the end of the file and would read no further.
static void AppendKeptText(CString& out, const CString& text)
{
    if (!HoldsNulByte(text)) {
        out += text;
        return;
    }
    CString safe(text);
    for (int i = 0; i < safe.GetLength(); ++i)
        if (safe[i] == 0)
            safe.SetAt(i, ' ');
    out += safe;
}

void Entity::Write(CString& out, bool includeInvalid) const
{
    out += "{\r\n";
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;)
        static_cast<const CKeyValue*>(m_pairs.GetNext(pos))->Write(out);
    size_t kept = 0;
    auto writeKept = [&](int before) {
        for (; kept < m_kept.size() && m_kept[kept].before <= before; ++kept) {
            out += "  ";
            AppendKeptText(out, m_kept[kept].text);
            out += "\r\n";
        }
    };
    int index = 0;
    for (POSITION pos = m_brushes.GetHeadPosition(); pos; ++index) {
        writeKept(index);
        const Brush* b = static_cast<const Brush*>(m_brushes.GetNext(pos));
        // A brush that fails its validity test is left out, not written empty.
        if (!includeInvalid && !b->IsValid())
            continue;
        out += "  {\r\n";
        // Its validity is known by now: the brush does not test it again.
        b->Write(out, true);
        out += "  }\r\n";
    }
    writeKept(INT_MAX);
    out += "}\r\n";
}
