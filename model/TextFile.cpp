#include "TextFile.h"

TextFileResult WriteTextFileReplacing(LPCSTR path, const char* data, size_t size, DWORD* pError)
{
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (pError)
            *pError = ERROR_ACCESS_DENIED;
        return TEXTFILE_READ_ONLY;
    }
    // The temporary is a file no one else had: a file of its name may be the user's, and a failed
    // write deletes it.
    CString temp;
    HANDLE h = AfxCreateFileBeside(path, ".tmp", temp, pError);
    if (h == INVALID_HANDLE_VALUE)
        return TEXTFILE_CANT_CREATE;
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

BOOL ReadWholeFile(LPCSTR path, std::vector<char>& data, DWORD* pError)
{
    data.clear();
    HANDLE h = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    DWORD error = ERROR_SUCCESS;
    if (h == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
    } else {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(h, &size)) {
            error = ::GetLastError();
        } else if (size.QuadPart > 0x7fffffff) {
            error = ERROR_FILE_TOO_LARGE;
        } else {
            data.resize(static_cast<size_t>(size.QuadPart));
            DWORD got = 0;
            if (!data.empty() &&
                (!::ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) || got != data.size())) {
                error = ::GetLastError();
                if (error == ERROR_SUCCESS)
                    error = ERROR_READ_FAULT;
            }
        }
        ::CloseHandle(h);
    }
    if (error == ERROR_SUCCESS)
        return TRUE;
    data.clear();
    if (pError)
        *pError = error;
    return FALSE;
}

// The line end at data[i] (a CR or an LF): the longest of the forms that stands there.
static size_t LineEndLength(const char* data, size_t size, size_t i)
{
    const size_t left = size - i;
    if (data[i] == '\r') {
        if (left >= 3 && data[i + 1] == '\r' && data[i + 2] == '\n')
            return 3;
        if (left >= 2 && data[i + 1] == '\n')
            return 2;
        return 1;
    }
    if (left >= 2 && data[i + 1] == '\r')
        return 2;
    return 1;
}

void SplitTextLines(const char* data, size_t size, std::vector<TextLine>& lines)
{
    lines.clear();
    size_t start = 0;
    for (size_t i = 0; i < size;) {
        if (data[i] != '\r' && data[i] != '\n') {
            ++i;
            continue;
        }
        size_t end = LineEndLength(data, size, i);
        lines.push_back({start, i - start, end});
        i += end;
        start = i;
    }
    if (start < size)
        lines.push_back({start, size - start, 0});
}

size_t ByteOrderMarkLength(const char* data, size_t size)
{
    return size >= 3 && static_cast<unsigned char>(data[0]) == 0xEF && static_cast<unsigned char>(data[1]) == 0xBB &&
                   static_cast<unsigned char>(data[2]) == 0xBF
               ? 3
               : 0;
}
