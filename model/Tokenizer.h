// The in-place tokenizer every reader of map text uses, and small shared helpers.
#pragma once
#include "afx.h"

// The text is read to its length, not to a NUL byte: a NUL inside it separates tokens as the other
// control bytes do. A line ends at LF, or at a CR that no LF follows (CR LF is one line end, its CR
// part of the line). A comment ("//") runs to the LF, as the map compilers read it: a CR alone
// inside it is a blank to them, and the text after it on the line is comment too. Only a text that
// holds no LF at all, whose every line ends with a CR alone, ends its comments at a CR.
class CTokenizer
{
public:
    // The text runs to the buffer's first NUL.
    void Init(char* buffer);
    // The text is the length bytes of the buffer, NUL bytes and all. The byte after them must be
    // there and writable: a token that ends the text is cut there.
    void Init(char* buffer, size_t length);
    void SkipWhite(bool countLines);
    // Tokens point into the buffer and stay valid until the next call.
    char* NextToken(bool countLines = true);
    char* PeekToken();
    // The contents of the next quoted string; *pLength (when given) is their length, which counts
    // the NUL bytes the contents may hold.
    char* NextQuoted(size_t* pLength = nullptr);
    char* RestOfLine(bool countLine = true);
    int GetLine() const { return m_line; }
    // Where the next scan starts (the first byte not yet consumed).
    char* GetPosition() const { return reinterpret_cast<char*>(m_pos); }
    void SetPosition(char* pos);
    // The end of the text (the byte after its last one).
    char* GetEnd() const { return reinterpret_cast<char*>(m_end); }
    // Moves on to pos (not before the position), counting the line ends passed over: for a reader
    // that went over some of the text on its own.
    void SkipTo(char* pos);

    // Whether a byte separates tokens: every byte up to the blank's code, and every one from 0x80
    // on, as the map compilers compare bytes as signed.
    static bool IsSeparator(char c) { return static_cast<signed char>(c) <= 32; }

    // Whether the byte at p (before end) ends its line.
    static bool IsLineEnd(const char* p, const char* end)
    {
        return *p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'));
    }

    // Whether the token at p is the one byte c in double quotes: the map compilers take a quoted
    // token by its contents, so that "}" ends a brush and "(" begins a face as } and ( do. The
    // byte after p must be there to be read (the text is followed by a NUL).
    static bool IsQuotedMark(const char* p, char c) { return p[0] == '"' && p[1] == c && p[2] == '"'; }

private:
    void Restore();
    // The first double quote from p on (or the text's end), counting the line ends passed over.
    BYTE* ToQuote(BYTE* p, int& lines) const;
    bool AtLineEnd(const BYTE* p) const
    {
        return IsLineEnd(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(m_end));
    }
    void SkipSeparators(bool countLines);
    BYTE* TokenEnd(BYTE* p) const;
    const BYTE* CommentEnd(const BYTE* p, int& lines) const;

    BYTE* m_pos = nullptr;
    BYTE* m_end = nullptr;
    BYTE* m_tokenStart = nullptr;
    BYTE* m_term = nullptr;
    BYTE m_saved = 0;
    int m_line = 1;
    bool m_crOnly = false; // the text holds no LF: its lines, comments too, end with a CR alone
};

short ParseShort(char** pp);
void SkipPunctuation(char** pp);
void SwapShort(short& a, short& b);
float SignWithTolerance(float v);
void MakeRootRelative(CString& path);
void MakeRootAbsolute(CString& path);
void PumpMessages(HWND hWnd);
int FloorPowerOfTwo(int n);

// A decimal number with an optional sign, fraction and exponent, its value the C library's strtod
// gives for those bytes; false (pointer unchanged) when no digit stands there.
bool ParseNumber(char** pp, double& value);
// The nearest 16-bit map coordinate of a value: floor(v + 0.5) as the exact sum would give it (a
// double just below a half is not carried up by the sum's rounding), clamped. Inline and without a
// library call: a map's load rounds every number it reads and every winding point.
inline short RoundCoord(double v)
{
    if (!(v >= -32768.5)) // NaN too
        return -32768;
    if (v >= 32766.5)
        return 32767;
    int t = static_cast<int>(v); // toward zero
    if (t > v)
        --t;
    // v - t is exact: t is v's whole part and |v| is far below 2^52.
    if (v - t >= 0.5)
        ++t;
    return static_cast<short>(t);
}
// RoundCoord(ParseNumber): what ParseCoord gives any number that is not a plain integer; *pInRange
// (when given) tells whether the value lay inside the 16-bit range, unclamped.
bool ParseCoordGeneral(char** pp, short& value, bool* pInRange = nullptr);
// A number read as RoundCoord(ParseNumber) gives it, with a plain integer (nearly every number of
// a map) read as one: its value is ready at once, not after a chain of double multiplications.
// Inline: a map's load reads fourteen numbers a face line.
inline bool ParseCoord(char** pp, short& value)
{
    char* p = *pp;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    char* digits = p;
    long long v = 0;
    while (*p >= '0' && *p <= '9' && p - digits < 18)
        v = v * 10 + (*p++ - '0');
    const bool fraction = *p == '.' || (*p >= '0' && *p <= '9') ||
                          ((*p == 'e' || *p == 'E') && ((p[1] >= '0' && p[1] <= '9') || p[1] == '-' || p[1] == '+'));
    if (p == digits || fraction) // no digit, a fraction, an exponent or a very long number
        return ParseCoordGeneral(pp, value);
    if (negative)
        v = -v;
    value = static_cast<short>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
    *pp = p;
    return true;
}
