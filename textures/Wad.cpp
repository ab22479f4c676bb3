#include "Wad.h"
#include "Reporter.h"
#include <cstring>

IMPLEMENT_DYNCREATE(CWad, CDocument)

CWad::CWad() : m_lumps(10) {}

CWad::~CWad()
{
    while (!m_lumps.IsEmpty())
        delete static_cast<WadLump*>(m_lumps.RemoveHead());
    CloseHandles();
}

BOOL CWad::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_hFile = m_hMapping = nullptr;
    m_pView = nullptr;
    return TRUE;
}

BOOL CWad::OnSaveDocument(LPCSTR)
{
    return TRUE;
}

void CWad::CloseHandles()
{
    if (m_pView)
        ::UnmapViewOfFile(m_pView);
    if (m_hMapping)
        ::CloseHandle(m_hMapping);
    if (m_hFile && m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_pView = nullptr;
    m_hMapping = m_hFile = nullptr;
}

static int ReadInt(const BYTE* p)
{
    return static_cast<int>(static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
                            static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24);
}

// A lump name a map can carry: printable, without blanks.
static bool IsPrintableName(const CString& name)
{
    if (name.IsEmpty())
        return false;
    for (int i = 0; i < name.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c <= 0x20 || c >= 0x7F)
            return false;
    }
    return true;
}

BOOL CWad::OnOpenDocument(LPCSTR path)
{
    m_strPathName = path;
    m_hFile = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_READONLY,
                            nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        m_hFile = nullptr;
        Report().Box(MB_OK, "Couldn't open %s", path);
        return FALSE;
    }
    DWORD high = 0;
    m_size = ::GetFileSize(m_hFile, &high);
    // An empty file cannot be mapped; it is simply no WAD.
    if (m_size == 0 && high == 0) {
        CloseHandles();
        Report().Box(MB_OK, "The file %s is not a texture WAD: it is empty.", path);
        return FALSE;
    }
    m_hMapping = high ? nullptr : ::CreateFileMappingA(m_hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!m_hMapping) {
        CloseHandles();
        Report().Box(MB_OK, "Couldn't Create Mapping File for %s", path);
        return FALSE;
    }
    m_pView = static_cast<const BYTE*>(::MapViewOfFile(m_hMapping, FILE_MAP_READ, 0, 0, 0));
    if (!m_pView) {
        CloseHandles();
        Report().Box(MB_OK, "Couldn't Create Mapping View for %s", path);
        return FALSE;
    }
    if (m_size < 12) {
        CloseHandles();
        Report().Box(MB_OK, "The WAD file %s is damaged: it is too short for its header.", path);
        return FALSE;
    }
    // Quake's textures come in "WAD2" files; a pack, a Doom "IWAD" or a Half-Life "WAD3" holds
    // nothing this editor can show.
    if (std::memcmp(m_pView, "WAD2", 4) != 0) {
        CString id = PrintableText(reinterpret_cast<const char*>(m_pView), 4);
        CloseHandles();
        Report().Box(MB_OK, "The file %s is not a texture WAD: it starts with \"%s\", not \"WAD2\".", path,
                     static_cast<LPCSTR>(id));
        return FALSE;
    }
    int count = ReadInt(m_pView + 4);
    if (count < 1) {
        CloseHandles();
        Report().Box(MB_OK, "The WAD file %s is damaged: its lump count is %d, so it holds no texture.", path, count);
        return FALSE;
    }
    int dir = ReadInt(m_pView + 8);
    if (dir < 12 || static_cast<long long>(dir) + static_cast<long long>(count) * 32 > m_size) {
        CloseHandles();
        Report().Box(MB_OK, "The WAD file %s is damaged: its directory lies outside the file.", path);
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        const BYTE* e = m_pView + dir + i * 32;
        char name[17];
        std::memcpy(name, e + 16, 16);
        name[16] = 0;
        WadLump lump;
        lump.name = name;
        lump.name.MakeUpper();
        lump.index = i;
        lump.offset = ReadInt(e);
        lump.size = ReadInt(e + 8);
        lump.type = static_cast<signed char>(e[12]);
        const int compression = e[13];
        if (!IsPrintableName(lump.name)) {
            Report().Status("Lump %d of %s has no printable name and is skipped.", i, path);
            continue;
        }
        if (compression != 0) {
            Report().Status("Lump %d (%s) of %s is compressed and is skipped.", i, static_cast<LPCSTR>(lump.name),
                            path);
            continue;
        }
        if (lump.offset < 0 || lump.size < 0 ||
            static_cast<long long>(lump.offset) + lump.size > static_cast<long long>(m_size)) {
            Report().Status("The lump %s of %s lies outside the file and is skipped.",
                            static_cast<LPCSTR>(lump.name), path);
            continue;
        }
        lump.data = m_pView + lump.offset;
        m_lumps.AddTail(new WadLump(lump));
    }
    return TRUE;
}

void CWad::RemoveLump(WadLump* pLump)
{
    POSITION pos = m_lumps.Find(pLump);
    if (pos)
        m_lumps.RemoveAt(pos);
}

void CWad::OnCloseDocument()
{
    while (!m_lumps.IsEmpty())
        delete static_cast<WadLump*>(m_lumps.RemoveHead());
    CloseHandles();
    CDocument::OnCloseDocument(); // no frames: the framework's close deletes the document
}
