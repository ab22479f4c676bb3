#include "EntityClasses.h"
#include "IniFile.h"
#include "PathIterator.h"
#include "Reporter.h"
#include "TextFile.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

CEntityClassMap::~CEntityClassMap()
{
    RemoveAll();
}

EntityClass* CEntityClassMap::Lookup(LPCSTR name) const
{
    void* p = nullptr;
    return name && m_map.Lookup(name, p) ? static_cast<EntityClass*>(p) : nullptr;
}

BOOL CEntityClassMap::Add(EntityClass* pClass)
{
    void* p = nullptr;
    if (!pClass || m_map.Lookup(pClass->name, p))
        return FALSE;
    GrowHashTable(m_map);
    m_map.SetAt(pClass->name, pClass);
    return TRUE;
}

void CEntityClassMap::RemoveAll()
{
    CString key;
    void* p;
    for (POSITION pos = m_map.GetStartPosition(); pos;) {
        m_map.GetNextAssoc(pos, key, p);
        delete static_cast<EntityClass*>(p);
    }
    m_map.RemoveAll();
}

void GrowHashTable(CMapStringToPtr& map)
{
    // A map keeps the table it was given; once its chains grow past a few entries each, every
    // lookup walks them, and a load of thousands of names would take time by their square.
    const UINT size = map.GetHashTableSize();
    if (static_cast<UINT>(map.GetCount()) < 2 * size)
        return;
    std::vector<std::pair<CString, void*>> entries;
    entries.reserve(static_cast<size_t>(map.GetCount()));
    CString key;
    void* value;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        entries.emplace_back(key, value);
    }
    map.RemoveAll();
    map.InitHashTable(size * 4 + 1);
    for (const auto& e : entries)
        map.SetAt(e.first, e.second);
}

EntityClass* CEntityClassMap::GetNext(POSITION& pos) const
{
    CString key;
    void* p = nullptr;
    m_map.GetNextAssoc(pos, key, p);
    return static_cast<EntityClass*>(p);
}

// ---------------------------------------------------------------------------
// One definition line

static const char kPrefix[] = "/*QUAKED ";
static const size_t kPrefixLength = sizeof kPrefix - 1;

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

static const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// "(" then three numbers, as a formatted scan reads them (blanks before each number). Returns
// how many numbers were read; *pEnd is where the closing ")" should stand.
static int ScanTriple(const char* p, double* values, bool integers, const char** pEnd)
{
    *pEnd = p;
    if (*p != '(')
        return 0;
    ++p;
    for (int i = 0; i < 3; ++i) {
        const char* start = p;
        while (std::isspace(static_cast<unsigned char>(*start)))
            ++start;
        char* end = nullptr;
        errno = 0;
        if (integers) {
            long v = std::strtol(start, &end, 10);
            // Out of the long's range counts as out of the 16-bit range.
            values[i] = errno == ERANGE ? 1e9 : static_cast<double>(v);
        } else {
            values[i] = std::strtod(start, &end);
        }
        if (end == start)
            return i;
        p = end;
        *pEnd = p;
    }
    return 3;
}

static int ColorComponent(double v)
{
    double scaled = v * 255.0;
    if (!(scaled > 0.0))  // NaN as well
        return 0;
    if (scaled >= 255.0)
        return 255;
    return static_cast<int>(scaled);
}

static bool InShortRange(double v)
{
    return v >= -32768.0 && v <= 32767.0;
}

BOOL CEntityClassReader::IsDefinitionLine(LPCSTR line)
{
    if (!line)
        return FALSE;
    const char* p = SkipBlanks(line);
    return std::strncmp(p, kPrefix, kPrefixLength - 1) == 0 && IsBlank(p[kPrefixLength - 1]);
}

// A name a map can carry in its quoted "classname" value: printable, without blanks, quotes
// or braces.
static bool IsPlaceableName(const CString& name)
{
    for (int i = 0; i < name.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '{' || c == '}')
            return false;
    }
    return true;
}

// A word of a flag list: printable, no brackets, quotes or braces.
static bool IsFlagWord(const char* start, const char* end)
{
    for (const char* p = start; p < end; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c <= 0x20 || c >= 0x7F || std::strchr("()\"{}", c))
            return false;
    }
    return true;
}

EntityClass* CEntityClassReader::ReadDefinition(LPCSTR line, LPCSTR path, int lineNumber)
{
    if (!IsDefinitionLine(line))
        return nullptr;
    CString where;
    where.Format("%s, line %d", path ? path : "", lineNumber);
    const char* rest = SkipBlanks(line) + kPrefixLength;
    const char* endOfLine = rest + std::strlen(rest);
    const char* nameStart = SkipBlanks(rest);
    const char* nameEnd = nameStart;
    while (*nameEnd && !IsBlank(*nameEnd))
        ++nameEnd;
    if (nameEnd == nameStart) {
        Report().MessageId(IDS_ENTITY_NO_NAME, static_cast<LPCSTR>(where));
        return nullptr;
    }
    CString name(nameStart, static_cast<int>(nameEnd - nameStart));
    name.MakeLower();
    const CString shown = PrintableText(name);
    if (!IsPlaceableName(name)) {
        Report().Message("The class name %s in %s holds a quote, a brace or a byte that is not printable; a map "
                         "could not be read with it.\nThe entity will be skipped.",
                         static_cast<LPCSTR>(shown), static_cast<LPCSTR>(where));
        return nullptr;
    }
    if (m_classes.Lookup(name)) {
        auto first = m_defined.find(std::string(name));
        if (first != m_defined.end())
            Report().Message("The class %s is defined again in %s.\nThe definition in %s is used.",
                             static_cast<LPCSTR>(shown), static_cast<LPCSTR>(where),
                             static_cast<LPCSTR>(first->second));
        else
            Report().Message("The class %s is defined again in %s.\nThe earlier definition is used.",
                             static_cast<LPCSTR>(shown), static_cast<LPCSTR>(where));
        return nullptr;
    }

    // The colour begins one character after the name's length, counted from the prefix: a
    // name that does not start right after the prefix's blank misses it.
    size_t colorOffset = static_cast<size_t>(nameEnd - nameStart) + 1;
    const char* p = colorOffset <= static_cast<size_t>(endOfLine - rest) ? rest + colorOffset : endOfLine;
    double rgb[3];
    const char* close = nullptr;
    if (ScanTriple(p, rgb, false, &close) < 3 || *close != ')') {
        Report().MessageId(IDS_ENTITY_BAD_COLOR, static_cast<LPCSTR>(shown), static_cast<LPCSTR>(where));
        return nullptr;
    }
    p = SkipBlanks(close + 1);
    // After the colour: the size box, or "?" for a class built from brushes.
    if (!*p || (*p != '(' && *p != '?')) {
        Report().MessageId(IDS_ENTITY_BAD_SIZE, static_cast<LPCSTR>(shown), static_cast<LPCSTR>(where));
        return nullptr;
    }

    std::unique_ptr<EntityClass> rec(new EntityClass);
    rec->name = name;
    rec->color.Format("%d %d %d", ColorComponent(rgb[0]), ColorComponent(rgb[1]), ColorComponent(rgb[2]));
    const char* flags;
    if (*p == '(') {
        rec->hasSize = 1;
        double lo[3], hi[3];
        UINT fault = 0;
        int n = ScanTriple(p, lo, true, &close);
        if (n < 3)
            fault = IDS_ENTITY_BAD_SIZE;
        else if (*close != ')')
            fault = IDS_ENTITY_BAD_MIN_SIZE;
        else {
            // The format's blank between the boxes matches any run of white space.
            const char* second = close + 1;
            while (std::isspace(static_cast<unsigned char>(*second)))
                ++second;
            n = ScanTriple(second, hi, true, &close);
            if (n < 3)
                fault = IDS_ENTITY_BAD_SIZE;
            else if (*close != ')')
                fault = IDS_ENTITY_BAD_MAX_SIZE;
        }
        if (!fault)
            for (int a = 0; a < 3; ++a)
                if (!InShortRange(lo[a]) || !InShortRange(hi[a]))
                    fault = IDS_ENTITY_BAD_SIZE;
        if (fault) {
            Report().MessageId(fault, static_cast<LPCSTR>(shown), static_cast<LPCSTR>(where));
            return nullptr;
        }
        for (int a = 0; a < 3; ++a) {
            rec->size[a * 2] = static_cast<short>(lo[a]);
            rec->size[a * 2 + 1] = static_cast<short>(hi[a]);
        }
        flags = close + 1;
    } else {
        rec->hasSize = 0;
        flags = p + 1;
    }

    // The flag names stand apart from what comes before them, each a plain word.
    bool listOk = !*flags || IsBlank(*flags);
    for (const char* w = SkipBlanks(flags); listOk && *w; w = SkipBlanks(w)) {
        const char* start = w;
        while (*w && !IsBlank(*w))
            ++w;
        listOk = IsFlagWord(start, w);
    }
    if (!listOk) {
        CString list = PrintableText(flags);
        list.TrimLeft();
        Report().Message("The flag names %s of entity %s could not be parsed in %s.\nThe entity will be skipped.",
                         static_cast<LPCSTR>(list), static_cast<LPCSTR>(shown), static_cast<LPCSTR>(where));
        return nullptr;
    }
    int slot = 0;
    for (const char* w = SkipBlanks(flags); *w && slot < 8; w = SkipBlanks(w)) {
        const char* start = w;
        while (*w && !IsBlank(*w))
            ++w;
        size_t length = std::min<size_t>(static_cast<size_t>(w - start), sizeof rec->flagNames[0] - 1);
        std::memcpy(rec->flagNames[slot], start, length);
        rec->flagNames[slot][length] = '\0';
        ++slot;
    }
    m_defined[std::string(name)] = where;
    EntityClass* added = rec.release();
    m_classes.Add(added);
    return added;
}

void CEntityClassReader::ReadLines(const CStringArray& lines, LPCSTR path)
{
    const INT_PTR count = lines.GetSize();
    for (INT_PTR i = 0; i < count; ++i) {
        EntityClass* rec = ReadDefinition(lines[i], path, static_cast<int>(i + 1));
        if (!rec)
            continue;
        const INT_PTR header = i;
        while (++i < count && lines[i] != "*/") {
            // A definition without its end stops at the next one, which is read as its own.
            if (IsDefinitionLine(lines[i])) {
                Report().Message("The definition of %s in %s, line %d has no closing \"*/\" before the next "
                                 "\"/*QUAKED\" at line %d; its help text ends there.",
                                 static_cast<LPCSTR>(PrintableText(rec->name)), path, static_cast<int>(header + 1),
                                 static_cast<int>(i + 1));
                --i;
                break;
            }
            rec->help += lines[i];
            rec->help += "\r\n";
        }
    }
}

BOOL CEntityClassReader::ReadQcFile(LPCSTR path)
{
    if (!path || !*path)
        return FALSE;
    std::vector<char> data;
    DWORD error = ERROR_SUCCESS;
    if (!ReadWholeFile(path, data, &error)) {
        CString reason = SystemErrorText(error);
        Report().MessageId(IDS_QC_CANT_OPEN, path, static_cast<LPCSTR>(reason.Left(255)));
        return FALSE;
    }
    // Whatever line ends the file's editor wrote, and a byte-order mark before the first line.
    const size_t bom = ByteOrderMarkLength(data.data(), data.size());
    std::vector<TextLine> split;
    SplitTextLines(data.data() + bom, data.size() - bom, split);
    CStringArray lines;
    lines.SetSize(static_cast<INT_PTR>(split.size()));
    for (size_t i = 0; i < split.size(); ++i)
        lines[static_cast<INT_PTR>(i)] =
            CString(data.data() + bom + split[i].start, static_cast<int>(split[i].length));
    ReadLines(lines, path);
    return TRUE;
}

BOOL CEntityClassReader::ScanEntityDirectories()
{
    CPathIterator it;
    if (!it.Init("Entities", IDS_NO_ENTITY_PATHS, "qc"))
        return FALSE;
    HCURSOR old = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    m_classes.RemoveAll();
    m_defined.clear();
    for (CString dir = it.NextDirectory(); !dir.IsEmpty(); dir = it.NextDirectory()) {
        std::vector<CString> files;
        for (CString file = it.NextFile(); !file.IsEmpty(); file = it.NextFile())
            files.push_back(file);
        // The first definition of a name wins, so the order may not be the host's listing order.
        std::sort(files.begin(), files.end(),
                  [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });
        for (const CString& file : files)
            ReadQcFile(file);
    }
    ::SetCursor(old);
    return TRUE;
}

int LoadEntityClasses(CEntityClassMap& classes, const std::function<void()>& afterScan)
{
    Report().Status("Loading Entities...");
    CEntityClassReader(classes).ScanEntityDirectories();
    if (afterScan)
        afterScan();
    Report().Status("Loaded %d entities", classes.GetCount());
    Report().Status("Entities Loaded");
    return classes.GetCount();
}
