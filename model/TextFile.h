// Writing a whole text file so that a failure never leaves a half-written target.
#pragma once
#include "afx.h"

enum TextFileResult
{
    TEXTFILE_WRITTEN,
    TEXTFILE_CANT_CREATE, // the temporary file could not be made: nothing was touched
    TEXTFILE_CANT_WRITE,  // writing or replacing failed: the target is as it was
};

// Writes the bytes to a temporary file beside the target and replaces the target only
// once everything is on disk. On failure *pError (when given) holds the system error.
TextFileResult WriteTextFileReplacing(LPCSTR path, const char* data, size_t size, DWORD* pError = nullptr);
