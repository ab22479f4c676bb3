// Reading and writing whole text files: a write never leaves a half-written target, and lines
// are split as people's editors end them.
#pragma once
#include "afx.h"
#include <vector>

enum TextFileResult
{
    TEXTFILE_WRITTEN,
    TEXTFILE_CANT_CREATE, // the temporary file could not be made: nothing was touched
    TEXTFILE_CANT_WRITE,  // writing or replacing failed: the target is as it was
    TEXTFILE_READ_ONLY,   // the target is marked read-only: nothing was touched
};

// Writes the bytes to a temporary file beside the target ("NAME.tmp", or "NAME.2.tmp", ... when
// that name holds a file already, which stays as it is) and replaces the target only once
// everything is on disk. A target marked read-only is never replaced (some systems let a
// rename take one, and the mark would go with it). On failure *pError (when given) holds the
// system error.
TextFileResult WriteTextFileReplacing(LPCSTR path, const char* data, size_t size, DWORD* pError = nullptr);

// Reads the whole file; FALSE with the system error in *pError (when given) when it cannot be
// opened or read. A missing file is never created.
BOOL ReadWholeFile(LPCSTR path, std::vector<char>& data, DWORD* pError = nullptr);

// One line of a text: its first byte, its length without the line end, and the line end's length
// (0 for a last line without one).
struct TextLine
{
    size_t start;
    size_t length;
    size_t endLength;
};

// Splits a text into lines. CR LF, LF and CR end a line, and so do the doubled forms LF CR and
// CR CR LF that some tools write, each as one line end.
void SplitTextLines(const char* data, size_t size, std::vector<TextLine>& lines);

// The length of a UTF-8 byte-order mark at the start of the text: 3, or 0 when there is none.
size_t ByteOrderMarkLength(const char* data, size_t size);
