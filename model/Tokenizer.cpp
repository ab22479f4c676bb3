#include "Tokenizer.h"
#include "Services.h"
#include "WadPair.h"
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdlib.h>
#include <string>
#include <xmmintrin.h>

void CTokenizer::Init(char* buffer)
{
    Init(buffer, std::strlen(buffer));
}

void CTokenizer::Init(char* buffer, size_t length)
{
    m_pos = reinterpret_cast<BYTE*>(buffer);
    m_end = m_pos + length;
    m_tokenStart = nullptr;
    m_term = nullptr;
    m_saved = 0;
    m_line = 1;
    m_crOnly = length > 0 && std::memchr(buffer, '\n', length) == nullptr;
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

// The scans below go through local pointers, stored back once: a byte read through the buffer
// may, for all the compiler knows, be one of the tokenizer's own, which would make it store the
// position before every read.

// The first LF or CR from p on, or end. Eight bytes at a time: a word has a byte of value v when
// (w ^ v·ones) has a zero byte, and the lowest such byte of the test below is always a true one.
static const BYTE* NextLfOrCr(const BYTE* p, const BYTE* end)
{
    const unsigned long long ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    while (end - p >= 8) {
        unsigned long long w;
        std::memcpy(&w, p, 8);
        const unsigned long long lf = w ^ (ones * '\n'), cr = w ^ (ones * '\r');
        const unsigned long long found = (((lf - ones) & ~lf) | ((cr - ones) & ~cr)) & highs;
        if (found)
            return p + (__builtin_ctzll(found) >> 3);
        p += 8;
    }
    while (p < end && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

// The line end from p on (the LF of a CR LF), or end.
static const BYTE* NextLineEnd(const BYTE* p, const BYTE* end)
{
    for (;;) {
        p = NextLfOrCr(p, end);
        if (p == end || CTokenizer::IsLineEnd(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(end)))
            return p;
        ++p; // a CR before its LF
    }
}

void CTokenizer::SkipTo(char* pos)
{
    Restore();
    const BYTE* const to = reinterpret_cast<BYTE*>(pos);
    // Nearly always within one line: the search for a line end goes eight bytes at a time.
    for (const BYTE* p = m_pos; (p = NextLfOrCr(p, to)) < to; ++p)
        if (AtLineEnd(p))
            ++m_line;
    if (to > m_pos)
        m_pos = const_cast<BYTE*>(to);
}

inline void CTokenizer::SkipSeparators(bool countLines)
{
    BYTE* p = m_pos;
    const BYTE* const end = m_end;
    int lines = 0;
    while (p < end && IsSeparator(static_cast<char>(*p))) {
        if ((*p == '\n' || *p == '\r') && IsLineEnd(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(end)))
            ++lines;
        ++p;
    }
    m_pos = p;
    if (countLines)
        m_line += lines;
}

// The end of a comment from p on (its LF, or end); lines counts the CRs alone passed over in it,
// which the lines told count as line ends. In a text without LF, its first CR.
const BYTE* CTokenizer::CommentEnd(const BYTE* p, int& lines) const
{
    if (m_crOnly)
        return NextLfOrCr(p, m_end);
    for (;;) {
        p = NextLfOrCr(p, m_end);
        if (p == m_end || *p == '\n')
            return p;
        if (AtLineEnd(p))
            ++lines;
        ++p;
    }
}

void CTokenizer::SkipWhite(bool countLines)
{
    Restore();
    if (m_pos >= m_end)
        return;
    SkipSeparators(countLines);
    while (m_end - m_pos >= 2 && m_pos[0] == '/' && m_pos[1] == '/') {
        int lines = 0;
        m_pos = const_cast<BYTE*>(CommentEnd(m_pos + 2, lines));
        if (countLines)
            m_line += lines;
        if (m_pos >= m_end)
            return;
        ++m_pos;
        if (countLines)
            ++m_line;
        SkipSeparators(countLines);
    }
}

BYTE* CTokenizer::TokenEnd(BYTE* p) const
{
    while (p < m_end && !IsSeparator(static_cast<char>(*p)))
        ++p;
    return p;
}

char* CTokenizer::NextToken(bool countLines)
{
    SkipWhite(countLines);
    if (m_pos >= m_end)
        return nullptr;
    m_tokenStart = m_pos;
    BYTE* end = TokenEnd(m_pos);
    m_term = end;
    m_saved = *end;
    *end = 0;
    m_pos = end;
    return reinterpret_cast<char*>(m_tokenStart);
}

char* CTokenizer::PeekToken()
{
    SkipWhite(true);
    if (m_pos >= m_end)
        return nullptr;
    BYTE* end = TokenEnd(m_pos);
    m_term = end;
    m_saved = *end;
    *end = 0;
    return reinterpret_cast<char*>(m_pos);
}

BYTE* CTokenizer::ToQuote(BYTE* p, int& lines) const
{
    for (; p < m_end && *p != '"'; ++p)
        if (static_cast<unsigned>(*p - 10) <= 3 && AtLineEnd(p))
            ++lines;
    return p;
}

char* CTokenizer::NextQuoted(size_t* pLength)
{
    SkipWhite(true);
    // The line ends passed over, before the quotes and inside them, count as any others: the
    // lines told after a value that runs over a line end are the file's.
    int before = 0;
    m_pos = ToQuote(m_pos, before);
    m_line += before;
    if (m_pos >= m_end)
        return nullptr;
    BYTE* start = ++m_pos;
    int lines = 0;
    BYTE* end = ToQuote(start, lines);
    if (end >= m_end)
        return nullptr;
    m_line += lines;
    m_term = end;
    m_saved = *end;
    *end = 0;
    m_pos = end + 1;
    if (pLength)
        *pLength = static_cast<size_t>(end - start);
    return reinterpret_cast<char*>(start);
}

char* CTokenizer::RestOfLine(bool countLine)
{
    Restore();
    BYTE* start = m_pos;
    BYTE* end = const_cast<BYTE*>(NextLineEnd(start, m_end));
    if (end >= m_end)
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
    if (IsAbsolutePath(path))
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

// The C library's conversion. mingw's own on the old system runtime, whose strtod may be off in the
// last place: it gives the nearest double on every system.
static double LibraryStrtod(const char* text)
{
#if defined(__MINGW32__) && !defined(_UCRT)
    return __mingw_strtod(text, nullptr);
#else
    return std::strtod(text, nullptr);
#endif
}

namespace {
// A decimal number as its text gives it: value = digits x 10^exponent, exactly when exact (every
// significant digit is in digits), else a little more in magnitude (digits past the nineteenth
// left out).
struct DecimalNumber
{
    char* start = nullptr;
    char* end = nullptr;
    bool negative = false;
    unsigned long long digits = 0;
    int exponent = 0;
    bool exact = true;
};

const unsigned long long kPow10[20] = {1ull,
                                       10ull,
                                       100ull,
                                       1000ull,
                                       10000ull,
                                       100000ull,
                                       1000000ull,
                                       10000000ull,
                                       100000000ull,
                                       1000000000ull,
                                       10000000000ull,
                                       100000000000ull,
                                       1000000000000ull,
                                       10000000000000ull,
                                       100000000000000ull,
                                       1000000000000000ull,
                                       10000000000000000ull,
                                       100000000000000000ull,
                                       1000000000000000000ull,
                                       10000000000000000000ull};

// A sign, digits with a point among or before them (a digit after a lone point), and an exponent
// when "e" or "E" is followed by digits (with a sign or not). False when no number stands at p.
bool ScanDecimal(char* p, DecimalNumber& n)
{
    n = DecimalNumber();
    n.start = p;
    if (*p == '-' || *p == '+') {
        n.negative = *p == '-';
        ++p;
    }
    if (!((*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9')))
        return false;
    int significant = 0;
    auto digit = [&](char c, bool fraction) {
        if (significant == 0 && c == '0') { // a leading zero
            if (fraction)
                --n.exponent;
            return;
        }
        if (significant < 19) {
            n.digits = n.digits * 10 + static_cast<unsigned>(c - '0');
            ++significant;
            if (fraction)
                --n.exponent;
        } else {
            if (c != '0')
                n.exact = false;
            if (!fraction)
                ++n.exponent;
        }
    };
    while (*p >= '0' && *p <= '9')
        digit(*p++, false);
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9')
            digit(*p++, true);
    }
    if (*p == 'e' || *p == 'E') {
        char* q = p + 1;
        const bool negative = *q == '-';
        if (*q == '-' || *q == '+')
            ++q;
        if (*q >= '0' && *q <= '9') {
            int e = 0;
            while (*q >= '0' && *q <= '9') {
                if (e < 100000)
                    e = e * 10 + (*q - '0');
                ++q;
            }
            n.exponent += negative ? -e : e;
            p = q;
        }
    }
    n.end = p;
    return true;
}

// The nearest double, as strtod gives it.
double DecimalValue(const DecimalNumber& n)
{
    if (n.exact && n.digits == 0)
        return n.negative ? -0.0 : 0.0;
    // Both the digits and the power of ten are doubles exactly, so that one product or quotient,
    // rounded to the nearest, is the nearest double to the number (under the default rounding).
    static const double kExact[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n.exact && n.digits <= (1ull << 53) && n.exponent >= -22 && n.exponent <= 22 &&
        (_mm_getcsr() & 0x6000) == 0) {
        const double d = static_cast<double>(n.digits);
        const double v = n.exponent >= 0 ? d * kExact[n.exponent] : d / kExact[-n.exponent];
        return n.negative ? -v : v;
    }
    // The library is handed exactly the number's bytes: after them it might read on (a
    // hexadecimal "0x" after a zero).
    const size_t length = static_cast<size_t>(n.end - n.start);
    char local[64];
    std::string longer;
    const char* text = local;
    if (length < sizeof local) {
        std::memcpy(local, n.start, length);
        local[length] = 0;
    } else {
        longer.assign(n.start, length);
        text = longer.c_str();
    }
    return LibraryStrtod(text);
}

// floor(v + 0.5) of the nearest double v, clamped to 16 bits; inRange tells whether it needed no
// clamp. From the digits themselves where the double's rounding cannot move v across a half.
short DecimalCoord(const DecimalNumber& n, bool& inRange)
{
    long long whole = 0; // floor(v + 0.5) before the clamp, or a value beyond the range
    bool known = n.exact;
    if (known && n.digits == 0) {
        whole = 0;
    } else if (known && n.exponent >= 0) {
        // A whole number: beyond the range from 10^5 on.
        const unsigned long long m = n.exponent > 5 || n.digits > 100000 ? 100000 : n.digits * kPow10[n.exponent];
        whole = n.negative ? -static_cast<long long>(m) : static_cast<long long>(m);
    } else if (known && n.exponent < -19) {
        whole = 0; // below 0.1
    } else if (known) {
        const unsigned long long p = kPow10[-n.exponent];
        const unsigned long long q = n.digits / p, r = n.digits % p;
        // The fraction r / p against a half; within 2^-30 of it (and not on it) the double's
        // rounding may carry it across: left to the double.
        const unsigned long long rest = p - r;
        const unsigned long long distance = r > rest ? r - rest : rest - r;
        if (distance != 0 && distance <= (p >> 30)) {
            known = false;
        } else {
            const long long m = static_cast<long long>(q > 100000 ? 100000 : q);
            // A half goes up: to q + 1 from above zero, to -q below it.
            if (n.negative)
                whole = -(m + (r > rest ? 1 : 0));
            else
                whole = m + (r >= rest && r != 0 ? 1 : 0);
        }
    }
    if (!known) {
        const double d = DecimalValue(n);
        inRange = std::isfinite(d) && d >= -32768.5 && d < 32767.5;
        return RoundCoord(d);
    }
    inRange = whole >= -32768 && whole <= 32767;
    return static_cast<short>(whole < -32768 ? -32768 : whole > 32767 ? 32767 : whole);
}
} // namespace

bool ParseNumber(char** pp, double& value)
{
    DecimalNumber n;
    if (!ScanDecimal(*pp, n))
        return false;
    value = DecimalValue(n);
    *pp = n.end;
    return true;
}

bool ParseCoordGeneral(char** pp, short& value, bool* pInRange)
{
    DecimalNumber n;
    if (!ScanDecimal(*pp, n))
        return false;
    bool inRange = true;
    value = DecimalCoord(n, inRange);
    if (pInRange)
        *pInRange = inRange;
    *pp = n.end;
    return true;
}
