#include "EntityClasses.h"
#include "IniFile.h"
#include "PathIterator.h"
#include "Reporter.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
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

EntityClass* CEntityClassReader::ReadDefinition(LPCSTR line, LPCSTR path)
{
    if (!line || std::strncmp(line, kPrefix, kPrefixLength) != 0)
        return nullptr;
    const char* rest = line + kPrefixLength;
    const char* endOfLine = rest + std::strlen(rest);
    const char* nameStart = SkipBlanks(rest);
    const char* nameEnd = nameStart;
    while (*nameEnd && !IsBlank(*nameEnd))
        ++nameEnd;
    if (nameEnd == nameStart) {
        Report().MessageId(IDS_ENTITY_NO_NAME, path);
        return nullptr;
    }
    CString name(nameStart, static_cast<int>(nameEnd - nameStart));
    name.MakeLower();
    if (m_classes.Lookup(name))
        return nullptr;

    // The colour begins one character after the name's length, counted from the prefix: a
    // name that does not start right after the prefix's blank misses it.
    size_t colorOffset = static_cast<size_t>(nameEnd - nameStart) + 1;
    const char* p = colorOffset <= static_cast<size_t>(endOfLine - rest) ? rest + colorOffset : endOfLine;
    double rgb[3];
    const char* close = nullptr;
    if (ScanTriple(p, rgb, false, &close) < 3 || *close != ')') {
        Report().MessageId(IDS_ENTITY_BAD_COLOR, static_cast<LPCSTR>(name), path);
        return nullptr;
    }
    p = SkipBlanks(close + 1);
    if (!*p) {
        Report().MessageId(IDS_ENTITY_BAD_SIZE, static_cast<LPCSTR>(name), path);
        return nullptr;
    }

    EntityClass* rec = new EntityClass;
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
            Report().MessageId(fault, static_cast<LPCSTR>(name), path);
            delete rec;
            return nullptr;
        }
        for (int a = 0; a < 3; ++a) {
            rec->size[a * 2] = static_cast<short>(lo[a]);
            rec->size[a * 2 + 1] = static_cast<short>(hi[a]);
        }
        // The names begin after the character that follows the box; a box that ends the line
        // has none.
        flags = close[1] ? close + 2 : close + 1;
    } else {
        rec->hasSize = 0;
        flags = p + 1;
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
    m_classes.Add(rec);
    return rec;
}

void CEntityClassReader::ReadLines(const CStringArray& lines, LPCSTR path)
{
    const INT_PTR count = lines.GetSize();
    for (INT_PTR i = 0; i < count; ++i) {
        EntityClass* rec = ReadDefinition(lines[i], path);
        if (!rec)
            continue;
        while (++i < count && lines[i] != "*/") {
            rec->help += lines[i];
            rec->help += "\r\n";
        }
    }
}

BOOL CEntityClassReader::ReadQcFile(LPCSTR path)
{
    if (!path || !*path)
        return FALSE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    std::vector<char> data;
    DWORD error = ERROR_SUCCESS;
    if (file == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
    } else {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(file, &size) || size.QuadPart > 0x7fffffff) {
            error = ::GetLastError();
            if (error == ERROR_SUCCESS)
                error = ERROR_FILE_TOO_LARGE;
        } else {
            data.resize(static_cast<size_t>(size.QuadPart));
            DWORD got = 0;
            if (!data.empty() && (!::ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) ||
                                  got != data.size()))
                error = ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_READ_FAULT;
        }
        ::CloseHandle(file);
    }
    if (error != ERROR_SUCCESS) {
        CString reason = SystemErrorText(error);
        Report().MessageId(IDS_QC_CANT_OPEN, path, static_cast<LPCSTR>(reason.Left(255)));
        return FALSE;
    }

    // Text mode: lines end at LF, a CR before it belongs to the line end.
    CStringArray lines;
    size_t start = 0;
    for (size_t i = 0; i <= data.size(); ++i) {
        if (i < data.size() && data[i] != '\n')
            continue;
        if (i == data.size() && start == i)
            break;
        size_t end = i;
        if (end > start && data[end - 1] == '\r')
            --end;
        lines.Add(CString(data.data() + start, static_cast<int>(end - start)));
        start = i + 1;
    }
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
