// Shared pieces of map text reading and writing.
#pragma once
#include "afx.h"
#include "Reporter.h"
#include <utility>
#include <vector>

// The open's missing-texture set (upper-case name -> first spelling as a CString*),
// published while a map is being opened; null otherwise.
CMapStringToPtr* GetMissingTextureSet();
void SetMissingTextureSet(CMapStringToPtr* pSet);
// Frees the spellings kept in a missing-texture set and empties it.
void FreeMissingTextureSet(CMapStringToPtr& set);

// The kinds of read errors that a map's read counts, each told in one box.
enum MapReadKind
{
    READ_INVALID_TOKEN, // a token in an entity that is no pair, brush or end, or a stray one between entities
    READ_FACE_ERROR,    // a face line read only in part
    READ_NOT_READ,      // text of a brush or a face line left unread, a text that ends inside a block
    READ_KIND_COUNT
};

// The read errors of one read of map text (an open, a paste), so that a damaged map gives one box
// of each kind with the count and the first lines, not one box per error. While one lives, errors
// are counted into it; without one each is told in a box of its own. Nested ones count into the
// outermost, which tells when it ends or at ReportNow.
class CMapReadReport : public CCollectingReport<CMapReadReport>
{
public:
    // The name is the file (or "the pasted map text") that the boxes name.
    explicit CMapReadReport(LPCSTR name);
    ~CMapReadReport();

    static void Note(MapReadKind kind, int line, LPCSTR what = nullptr);
    // The text ends inside a brush or an entity that starts on the line: told once, with the lines
    // not read.
    static void NoteEndsInside(LPCSTR block, int line);
    // The name of the text being read: the outermost report's, or "the map text".
    static CString CurrentName();
    // A message about one entity of the text (an origin or size that cannot be used): while a
    // report lives, told once with the count and the first lines of the entities it concerns.
    static void NoteMessage(const CString& text, int line);
    void ReportNow();
    void Forget();

private:
    struct Kind
    {
        int count = 0;
        std::vector<int> lines; // the first ones
        CString first;          // the first error's text (the token)
    };
    static void Tell(MapReadKind kind, const Kind& k, const CString& name, const CString& endsInside);
    Kind m_kinds[READ_KIND_COUNT];
    std::vector<std::pair<CString, Kind>> m_messages; // in the order of their first note
    CString m_name;
    CString m_endsInside;
};

class CTokenizer;

// Every reader of map text (an open, an import of an object file, a paste, a drop) refuses text in
// UTF-16, by its byte-order mark: read as 8-bit text it would be words cut apart by zero bytes.
// What the refusal says of the text; empty for any other text.
CString Utf16Reason(const char* text, size_t length);
// Whether the text holds nothing but blanks and "//" comments (after a UTF-8 byte-order mark).
bool OnlyBlanksAndComments(const char* text, const char* end);
// Where an entity block should begin, before the first one or between two: a line that does not
// begin with "{" is passed over and told as an invalid token, and true is returned. False, with
// nothing passed over, at a "{" or at the end of the text.
bool PassOverTextOutsideEntities(CTokenizer& tok);

// Whether the text holds a NUL byte. A brush kept as its text writes its NUL bytes as blanks.
bool HoldsNulByte(const CString& text);

// How many lines the read-error boxes list.
enum { READ_LINES_LISTED = 10 };
// "12, 38" or "1, 2, ... 10 and 1790 more": the first lines of a list of read errors.
CString FirstLines(const std::vector<int>& lines, int total);

// The number fields of a face line, from p on: false (p unchanged) when no number stands there,
// else p is moved past it. fits is cleared when the number is not a finite value or does not fit
// the field (a 16-bit field is then clamped, a float one set to 0).
bool ReadShortField(char*& p, short& value, bool& fits);
bool ReadFloatField(char*& p, float& value, bool& fits);
// The same fields with every number read through ParseNumber's rules: what the two above give,
// bit for bit, for every text (they read the common forms by a shorter way).
bool ReadShortFieldGeneral(char*& p, short& value, bool& fits);
bool ReadFloatFieldGeneral(char*& p, float& value, bool& fits);

// A map text in a format that is not read (the Valve 220 texture axes): the whole read stops.
class CMapFormatError
{
public:
    explicit CMapFormatError(int textLine) : line(textLine) {}
    int line;
};
