#include "Tokenizer.h"
#include "Services.h"
#include <cmath>
#include <cstdlib>

void CTokenizer::Init(char* buffer)
{
    m_pos = reinterpret_cast<BYTE*>(buffer);
    m_tokenStart = nullptr;
    m_term = nullptr;
    m_saved = 0;
    m_line = 1;
}

void CTokenizer::SetPosition(char* pos)
{
    Restore();
    m_pos = reinterpret_cast<BYTE*>(pos);
}

void CTokenizer::Restore()
{
    if (m_term) {
        *m_term = m_saved;
        m_term = nullptr;
    }
}

void CTokenizer::SkipSeparators(bool countLines)
{
    while (IsSeparator(*m_pos)) {
        if (*m_pos == '\n' && countLines)
            ++m_line;
        ++m_pos;
    }
}

void CTokenizer::SkipWhite(bool countLines)
{
    Restore();
    if (*m_pos == 0)
        return;
    SkipSeparators(countLines);
    while (m_pos[0] == '/' && m_pos[1] == '/') {
        while (*m_pos && *m_pos != '\n')
            ++m_pos;
        if (*m_pos == 0)
            return;
        ++m_pos;
        if (countLines)
            ++m_line;
        SkipSeparators(countLines);
    }
}

char* CTokenizer::NextToken(bool countLines)
{
    SkipWhite(countLines);
    if (*m_pos == 0)
        return nullptr;
    m_tokenStart = m_pos;
    BYTE* end = m_pos;
    while (*end && !IsSeparator(*end))
        ++end;
    m_term = end;
    m_saved = *end;
    *end = 0;
    m_pos = end;
    return reinterpret_cast<char*>(m_tokenStart);
}

char* CTokenizer::PeekToken()
{
    SkipWhite(true);
    if (*m_pos == 0)
        return nullptr;
    BYTE* end = m_pos;
    while (*end && !IsSeparator(*end))
        ++end;
    m_term = end;
    m_saved = *end;
    *end = 0;
    return reinterpret_cast<char*>(m_pos);
}

char* CTokenizer::NextQuoted()
{
    SkipWhite(true);
    // The line ends passed over, before the quotes and inside them, count as any others: the
    // lines told after a value that runs over a line end are the file's.
    while (*m_pos && *m_pos != '"') {
        if (*m_pos == '\n')
            ++m_line;
        ++m_pos;
    }
    if (*m_pos == 0)
        return nullptr;
    BYTE* start = ++m_pos;
    BYTE* end = start;
    int lines = 0;
    while (*end && *end != '"') {
        if (*end == '\n')
            ++lines;
        ++end;
    }
    if (*end == 0)
        return nullptr;
    m_line += lines;
    m_term = end;
    m_saved = *end;
    *end = 0;
    m_pos = end + 1;
    return reinterpret_cast<char*>(start);
}

char* CTokenizer::RestOfLine(bool countLine)
{
    Restore();
    BYTE* start = m_pos;
    BYTE* end = start;
    while (*end && *end != '\n')
        ++end;
    if (*end == 0)
        return nullptr;
    m_term = end;
    m_saved = *end;
    *end = 0;
    m_pos = end + 1;
    if (countLine)
        ++m_line;
    return reinterpret_cast<char*>(start);
}

short ParseShort(char** pp)
{
    char* p = *pp;
    if (*p == 0)
        return 0;
    unsigned short value = 0;
    bool negative = false;
    for (;;) {
        char c = *p;
        if (c >= '0' && c <= '9')
            value = static_cast<unsigned short>(value * 10 + (c - '0'));
        else if (c == '-')
            negative = true;
        else
            break;
        ++p;
        if (*p == 0)
            break;
    }
    *pp = p;
    short result = static_cast<short>(value);
    return negative ? static_cast<short>(-result) : result;
}

void SkipPunctuation(char** pp)
{
    char* p = *pp;
    while (*p == ' ' || *p == '\t' || *p == '(' || *p == ')')
        ++p;
    *pp = p;
}

void SwapShort(short& a, short& b)
{
    short t = a;
    a = b;
    b = t;
}

float SignWithTolerance(float v)
{
    const float tolerance = 0.01f;
    if (v > tolerance)
        return 1.0f;
    if (v >= -tolerance && v <= tolerance)
        return 0.0f;
    return -1.0f; // below the tolerance, or not a number
}

// A path starts with the root when the root is followed by a separator (or ends in one).
void MakeRootRelative(CString& path)
{
    CString root = GetEditorServices()->GetProfileString("Project Settings", "Root Path", "");
    int n = root.GetLength();
    if (n == 0 || path.GetLength() < n || path.Left(n).CompareNoCase(root) != 0)
        return;
    char last = root[n - 1];
    if (last == '\\' || last == '/') {
        path = path.Mid(n);
        return;
    }
    if (path.GetLength() == n) {
        path.Empty();
        return;
    }
    char next = path[n];
    if (next == '\\' || next == '/')
        path = path.Mid(n + 1);
}

void MakeRootAbsolute(CString& path)
{
    if (path.Find(':') >= 0 || (path.GetLength() > 0 && path[0] == '\\'))
        return;
    CString root = GetEditorServices()->GetProfileString("Project Settings", "Root Path", "");
    if (root.IsEmpty())
        return;
    path = root + "\\" + path;
}

void PumpMessages(HWND hWnd)
{
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

int FloorPowerOfTwo(int n)
{
    if (n < 1)
        return 0;
    int p = 1;
    while (p <= n / 2)
        p *= 2;
    return p;
}

bool ParseNumber(char** pp, double& value)
{
    char* p = *pp;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    if (!((*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9')))
        return false;
    double v = 0;
    while (*p >= '0' && *p <= '9')
        v = v * 10 + (*p++ - '0');
    if (*p == '.') {
        ++p;
        // Zeros alone after the point (a map writes its scales as 1.000000) add nothing: the
        // value stays as its whole digits made it, the same bits as after the loop below.
        char* q = p;
        while (*q == '0')
            ++q;
        if (!(*q >= '1' && *q <= '9'))
            p = q;
        double scale = 0.1;
        while (*p >= '0' && *p <= '9') {
            v += (*p++ - '0') * scale;
            scale *= 0.1;
        }
    }
    if ((*p == 'e' || *p == 'E') && ((p[1] >= '0' && p[1] <= '9') || p[1] == '-' || p[1] == '+')) {
        char* end = nullptr;
        long e = std::strtol(p + 1, &end, 10);
        if (end != p + 1) {
            v *= std::pow(10.0, static_cast<double>(e));
            p = end;
        }
    }
    value = negative ? -v : v;
    *pp = p;
    return true;
}


bool ParseCoordGeneral(char** pp, short& value)
{
    double d;
    if (!ParseNumber(pp, d))
        return false;
    value = RoundCoord(d);
    return true;
}
