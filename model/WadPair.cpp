// Worldspawn's "wad" value for the map compilers.
#include "WadPair.h"
#include <string>

BOOL IsAbsolutePath(const CString& path)
{
    return (!path.IsEmpty() && (path[0] == '\\' || path[0] == '/')) || path.Find(':') >= 0;
}

CString FoldSeparators(const CString& path)
{
    const int length = path.GetLength();
    std::string out;
    out.reserve(static_cast<size_t>(length));
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    int i = 0;
    if (length >= 2 && separator(path[0]) && separator(path[1])) {
        out = "\\\\";
        while (i < length && separator(path[i]))
            ++i;
    }
    for (; i < length; ++i) {
        const char c = path[i];
        if (!separator(c))
            out += c;
        else if (out.empty() || out.back() != '\\')
            out += '\\';
    }
    return CString(out.data(), static_cast<int>(out.size()));
}

CString WholePath(const CString& path)
{
    CString p = FoldSeparators(path);
    char full[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(p, sizeof full, full, nullptr);
    if (n > 0 && n < sizeof full)
        p = full;
    // One cut, however many separators end the path; a drive's root keeps its own.
    int end = p.GetLength();
    while (end > 3 && p[end - 1] == '\\')
        --end;
    return end < p.GetLength() ? p.Left(end) : p;
}

namespace {

// The rest of path after folder and its separator; FALSE when path does not lie under folder. A
// drive's root ("Q:\\") ends in its separator already.
BOOL PathUnder(const CString& path, const CString& folder, CString& rest)
{
    if (folder.IsEmpty())
        return FALSE;
    const bool root = folder.Right(1) == "\\";
    const int prefix = root ? folder.GetLength() : folder.GetLength() + 1;
    if (path.GetLength() <= prefix || path.Left(folder.GetLength()).CompareNoCase(folder) != 0 ||
        (!root && path[folder.GetLength()] != '\\'))
        return FALSE;
    rest = path.Mid(prefix);
    return TRUE;
}

} // namespace

CString MapGameFolder(const CString& mapPath, const CString& quakePath)
{
    if (quakePath.IsEmpty() || mapPath.IsEmpty())
        return CString();
    CString quake = WholePath(quakePath);
    CString rest;
    if (!PathUnder(WholePath(mapPath), quake, rest))
        return CString();
    // rest is "<game>\maps\...\x.map".
    int slash = rest.Find('\\');
    if (slash <= 0)
        return CString();
    CString after = rest.Mid(slash + 1);
    if (after.GetLength() <= 5 || after.Left(5).CompareNoCase("maps\\") != 0)
        return CString();
    return JoinPath(quake, rest.Left(slash));
}

CString JoinPath(const CString& folder, const CString& name)
{
    if (folder.IsEmpty())
        return name;
    const char last = folder[folder.GetLength() - 1];
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

CString WadPairEntry(const CString& wadPath, const CString& gameFolder)
{
    CString rest;
    if (gameFolder.IsEmpty() || !PathUnder(WholePath(wadPath), WholePath(gameFolder), rest))
        return wadPath;
    rest.Replace('\\', '/');
    return rest;
}

CString MakeWadPairValue(const CStringList& wadPaths, const CString& gameFolder)
{
    CString value;
    for (POSITION pos = wadPaths.GetHeadPosition(); pos;) {
        if (!value.IsEmpty())
            value += ";";
        value += WadPairEntry(wadPaths.GetNext(pos), gameFolder);
    }
    return value;
}

CString WadPairWarning(const CString& value, const CString& gameFolder)
{
    int count = 0;
    CString absolute;
    for (int start = 0; start <= value.GetLength();) {
        int end = value.Find(';', start);
        if (end < 0)
            end = value.GetLength();
        CString entry = value.Mid(start, end - start);
        entry.TrimLeft();
        entry.TrimRight();
        if (!entry.IsEmpty()) {
            ++count;
            if (absolute.IsEmpty() && IsAbsolutePath(entry))
                absolute = entry;
        }
        start = end + 1;
    }
    const char* reads = "id's qbsp reads one WAD only, named relative to the game folder";
    CString text;
    if (count > 1)
        text.Format("Warning: worldspawn's \"wad\" names %d WADs: %s\n%s; newer compilers read the list.\n", count,
                    (LPCSTR)value, reads);
    else if (!absolute.IsEmpty()) {
        CString where = gameFolder.IsEmpty() ? CString() : " " + gameFolder;
        text.Format("Warning: worldspawn's \"wad\" names a WAD outside the game folder%s: %s\n%s.\n",
                    (LPCSTR)where, (LPCSTR)absolute, reads);
    }
    return text;
}
