#include "TextFile.h"

TextFileResult WriteTextFileReplacing(LPCSTR path, const char* data, size_t size, DWORD* pError)
{
    CString temp = CString(path) + ".tmp";
    HANDLE h = ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (pError)
            *pError = ::GetLastError();
        return TEXTFILE_CANT_CREATE;
    }
    bool ok = true;
    DWORD error = 0;
    while (ok && size > 0) {
        DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        ok = ::WriteFile(h, data, chunk, &written, nullptr) && written == chunk;
        if (!ok)
            error = ::GetLastError();
        data += written;
        size -= written;
    }
    if (!::CloseHandle(h) && ok) {
        ok = false;
        error = ::GetLastError();
    }
    if (ok && !::MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = ::GetLastError();
    }
    if (!ok) {
        ::DeleteFileA(temp);
        if (pError)
            *pError = error;
        return TEXTFILE_CANT_WRITE;
    }
    return TEXTFILE_WRITTEN;
}
