#include "TextureLoader.h"
#include "IniFile.h"
#include "Map.h"
#include "Reporter.h"
#include "Services.h"
#include "Tokenizer.h"
#include "Wad.h"
#include "WadPair.h"
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

static BYTE s_palette[768];

const BYTE* GetPaletteTable()
{
    return s_palette;
}

BYTE BrightnessOf(int i)
{
    int v = static_cast<int>(std::pow(i / 256.0, 0.625) * 256);
    return static_cast<BYTE>(v > 255 ? 255 : v);
}

static int ReadInt(const BYTE* p)
{
    return static_cast<int>(static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
                            static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24);
}

// DIB rows are padded to 4 bytes.
static int Stride(int width, int bytesPerPixel)
{
    return (width * bytesPerPixel + 3) & ~3;
}

CTextureLoader::CTextureLoader()
{
    for (int i = 0; i < 256; ++i)
        m_brightness[i] = BrightnessOf(i);
}

CTextureLoader::~CTextureLoader()
{
    if (GetTextureSource() == this)
        SetTextureSource(nullptr);
    FreeAllTextures();
    while (!m_wads.IsEmpty())
        static_cast<CWad*>(m_wads.RemoveHead())->OnCloseDocument();
    DeleteDCs();
    if (m_hPalette)
        ::DeleteObject(m_hPalette);
    delete[] reinterpret_cast<BYTE*>(m_pInfo8);
}

Texture* CTextureLoader::FindTexture(LPCSTR name)
{
    void* p = nullptr;
    if (m_textures.Lookup(TextureKey(name), p))
        return static_cast<Texture*>(p);
    return nullptr;
}

CString NormalizeWadPath(LPCSTR path)
{
    // A share's or a device path's leading pair stays: folded to one "\\", it names a folder of
    // the current drive.
    CString p(path ? path : "");
    MakeRootAbsolute(p);
    return FoldSeparators(p);
}

BOOL SameWadPath(LPCSTR a, LPCSTR b)
{
    return NormalizeWadPath(a).CompareNoCase(NormalizeWadPath(b)) == 0;
}

BOOL CTextureLoader::LoadTextures()
{
    m_setupFailed = false;
    ++m_loading;
    HCURSOR old = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    Report().Status("Loading Textures...");
    CIniFile* project = GetEditorServices()->GetProject();
    bool any = false;
    if (m_textures.IsEmpty()) {
        CStringArray values;
        if (project)
            project->GetNumberedValues("Wads", "File", values);
        if (values.IsEmpty()) {
            --m_loading;
            Report().BoxId(MB_OK, IDS_NO_WADS_SELECTED);
            ::SetCursor(old);
            return FALSE;
        }
        // A WAD is opened once, however often the list names it: each opening maps the file
        // again, and the process has room for only a few thousand mappings.
        std::set<std::string> named, told;
        for (INT_PTR i = 0; i < values.GetSize(); ++i) {
            CString path = values[i];
            MakeRootAbsolute(path);
            CString same = NormalizeWadPath(path);
            same.MakeUpper();
            if (!named.insert(static_cast<LPCSTR>(same)).second) {
                if (told.insert(static_cast<LPCSTR>(same)).second)
                    Report().Message("The project names the WAD %s more than once; it is read once.",
                                     static_cast<LPCSTR>(values[i]));
                continue;
            }
            if (LoadWad(path))
                any = true;
        }
    } else {
        any = true; // already loaded: a load runs only on an empty map
    }
    Report().Status("Loaded %d textures", m_textures.GetCount());
    if (any)
        Report().Status("Textures Loaded");
    else
        Report().BoxId(MB_OK, IDS_NO_VALID_WADS);
    --m_loading;
    ::SetCursor(old);
    return TRUE;
}

BOOL CTextureLoader::LoadWad(LPCSTR path)
{
    if (m_loading == 0)
        m_setupFailed = false; // a load of its own
    CWad* wad = new CWad;
    if (!wad->OnNewDocument() || !wad->OnOpenDocument(path)) {
        delete wad;
        return FALSE;
    }
    CPtrList& lumps = wad->GetLumps();
    for (POSITION pos = lumps.GetHeadPosition(); pos;) {
        WadLump* lump = static_cast<WadLump*>(lumps.GetNext(pos));
        if (lump->type != WAD_TYPE_MIPTEX)
            continue;
        // The first WAD's texture keeps the name; a later one is not even built.
        void* existing;
        if (m_textures.Lookup(TextureKey(lump->name), existing)) {
            Report().Status("Texture %s found more than once.", static_cast<LPCSTR>(lump->name));
            wad->RemoveLump(lump);
            delete lump;
            continue;
        }
        Texture* tex = CreateTexture(wad, lump);
        if (!tex)
            continue;
        m_textures.SetAt(TextureKey(tex->name), tex);
    }
    m_wads.AddTail(wad);
    return TRUE;
}

Texture* CTextureLoader::CreateTexture(CWad* pWad, WadLump* pLump)
{
    const BYTE* d = pLump->data;
    bool ok = pLump->size >= 40;
    long long width = 0, height = 0, offset0 = 0;
    if (ok) {
        width = static_cast<unsigned int>(ReadInt(d + 16));
        height = static_cast<unsigned int>(ReadInt(d + 20));
        offset0 = ReadInt(d + 24);
        // A size past 16 bits is no texture: cut down, it would show as another one.
        if (width > 0xFFFF || height > 0xFFFF) {
            Report().Status("Lump %d (%s) of %s is %lldx%lld, too large for a texture, and is skipped.", pLump->index,
                            static_cast<LPCSTR>(pLump->name), static_cast<LPCSTR>(pWad->GetPathName()), width,
                            height);
            pWad->RemoveLump(pLump);
            delete pLump;
            return nullptr;
        }
        ok = width > 0 && height > 0 && offset0 >= 0 && offset0 + width * height <= pLump->size;
    }
    if (!ok) {
        Report().Status("The texture %s has no valid mip texture and is skipped.", static_cast<LPCSTR>(pLump->name));
        pWad->RemoveLump(pLump);
        delete pLump;
        return nullptr;
    }
    Texture* tex = new Texture;
    tex->wad = pWad;
    tex->lump = pLump;
    tex->name = pLump->name;
    tex->width = static_cast<WORD>(width);
    tex->height = static_cast<WORD>(height);
    if (CreateDib8(tex))
        CreateDib24(tex);
    pWad->RemoveLump(pLump);
    delete pLump;
    tex->lump = nullptr;
    return tex;
}

BOOL CTextureLoader::CreateDib8(Texture* tex)
{
    // A palette or DC that could not be made is reported once; the load's other textures
    // are left without pixels silently.
    if (m_setupFailed)
        return FALSE;
    if ((!m_pInfo8 && !LoadPalette()) || (!m_dc8 && !CreateDCs())) {
        m_setupFailed = true;
        return FALSE;
    }
    m_pInfo8->bmiHeader.biWidth = tex->width;
    m_pInfo8->bmiHeader.biHeight = -static_cast<int>(tex->height);
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(m_dc8, m_pInfo8, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) {
        Report().Box(MB_OK, "Couldn't create DIB section");
        return FALSE;
    }
    const BYTE* src = tex->lump->data + ReadInt(tex->lump->data + 24);
    int stride = Stride(tex->width, 1);
    for (int y = 0; y < tex->height; ++y)
        std::memcpy(static_cast<BYTE*>(bits) + y * stride, src + y * tex->width, tex->width);
    tex->bitmap = bmp;
    tex->bits = static_cast<BYTE*>(bits);
    return TRUE;
}

BOOL CTextureLoader::CreateDib24(Texture* tex)
{
    tex->p2width = static_cast<WORD>(FloorPowerOfTwo(tex->width));
    tex->p2height = static_cast<WORD>(FloorPowerOfTwo(tex->height));
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = tex->p2width;
    info.bmiHeader.biHeight = tex->p2height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateSection24(info, &bits);
    if (!bmp || !bits) {
        // Nothing to draw: the 8-bit pixels do not fit the power-of-two sizes an upload reads.
        if (bmp)
            ::DeleteObject(bmp);
        if (tex->bitmap)
            ::DeleteObject(tex->bitmap);
        tex->bitmap = nullptr;
        tex->bits = nullptr;
        tex->p2width = tex->p2height = 0;
        Report().Box(MB_OK, "Couldn't create DIB section");
        return FALSE;
    }
    HGDIOBJ old = ::SelectObject(m_dc24, bmp);
    m_pInfo8->bmiHeader.biWidth = tex->width;
    m_pInfo8->bmiHeader.biHeight = -static_cast<int>(tex->height);
    ::StretchDIBits(m_dc24, 0, 0, tex->p2width, tex->p2height, 0, 0, tex->width, tex->height, tex->bits, m_pInfo8,
                    DIB_RGB_COLORS, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(m_dc24, old);
    ::DeleteObject(tex->bitmap);
    tex->bitmap = bmp;
    tex->bits = static_cast<BYTE*>(bits);
    // The whole padded rows, so the pass covers every stored byte.
    size_t total = static_cast<size_t>(Stride(tex->p2width, 3)) * tex->p2height;
    BYTE* p = tex->bits;
    for (size_t i = 0; i < total; ++i)
        p[i] = m_brightness[p[i]];
    return TRUE;
}

HBITMAP CTextureLoader::CreateSection24(const BITMAPINFO& info, void** ppBits)
{
    return ::CreateDIBSection(m_dc24, &info, DIB_RGB_COLORS, ppBits, nullptr, 0);
}

BOOL ReadPaletteData(BYTE data[768])
{
    bool haveFile = false;
    HANDLE h = ::CreateFileA("Morvane.pal", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD got = 0;
        haveFile = ::ReadFile(h, data, 768, &got, nullptr) && got == 768;
        ::CloseHandle(h);
        if (!haveFile)
            Report().Message("The palette file Morvane.pal is shorter than 768 bytes; the built-in palette is used.");
    }
    if (!haveFile) {
        HMODULE module = AfxGetResourceHandle();
        HRSRC res = ::FindResourceA(module, "PALETTE", "Palette");
        if (!res) {
            Report().Box(MB_OK, "Couldn't find the palette in resources");
            return FALSE;
        }
        HGLOBAL mem = ::LoadResource(module, res);
        if (!mem) {
            Report().Box(MB_OK, "Couldn't load the palette from resources");
            return FALSE;
        }
        const void* p = ::LockResource(mem);
        if (!p || ::SizeofResource(module, res) < 768) {
            Report().Box(MB_OK, "Couldn't lock memory for palette");
            return FALSE;
        }
        std::memcpy(data, p, 768);
    }
    return TRUE;
}

HPALETTE CreatePaletteOf(const BYTE data[768])
{
    std::vector<BYTE> logBuf(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    LOGPALETTE* log = reinterpret_cast<LOGPALETTE*>(logBuf.data());
    log->palVersion = 0x300;
    log->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
        log->palPalEntry[i].peRed = data[i * 3];
        log->palPalEntry[i].peGreen = data[i * 3 + 1];
        log->palPalEntry[i].peBlue = data[i * 3 + 2];
        log->palPalEntry[i].peFlags = 0;
    }
    return ::CreatePalette(log);
}

BOOL CTextureLoader::LoadPalette()
{
    BYTE data[768];
    if (!ReadPaletteData(data))
        return FALSE;
    std::memcpy(s_palette, data, sizeof data);
    HPALETTE pal = CreatePaletteOf(data);
    if (!pal) {
        Report().Box(MB_OK, "Couldn't create new palette");
        return FALSE;
    }
    if (m_hPalette) {
        DeleteDCs(); // they hold the old palette
        ::DeleteObject(m_hPalette);
    }
    m_hPalette = pal;

    if (!m_pInfo8)
        m_pInfo8 = reinterpret_cast<BITMAPINFO*>(new BYTE[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)]());
    BITMAPINFOHEADER& hdr = m_pInfo8->bmiHeader;
    hdr.biSize = sizeof(BITMAPINFOHEADER);
    hdr.biPlanes = 1;
    hdr.biBitCount = 8;
    hdr.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i) {
        m_pInfo8->bmiColors[i].rgbRed = data[i * 3];
        m_pInfo8->bmiColors[i].rgbGreen = data[i * 3 + 1];
        m_pInfo8->bmiColors[i].rgbBlue = data[i * 3 + 2];
        m_pInfo8->bmiColors[i].rgbReserved = 0;
    }
    return TRUE;
}

BOOL CTextureLoader::CreateDCs()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen) {
        Report().Message("Couldn't create a new DC from the main window");
        return FALSE;
    }
    HDC dc8 = ::CreateCompatibleDC(screen);
    if (!dc8) {
        ::ReleaseDC(nullptr, screen);
        Report().Box(MB_OK, "Couldn't create compatible DC for the texture list window");
        return FALSE;
    }
    HDC dc24 = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (!dc24) {
        ::DeleteDC(dc8);
        Report().Box(MB_OK, "Couldn't create a new DC");
        return FALSE;
    }
    DeleteDCs();
    m_dc8 = dc8;
    m_dc24 = dc24;
    if (m_hPalette) {
        m_oldPalette8 = ::SelectPalette(m_dc8, m_hPalette, FALSE);
        ::RealizePalette(m_dc8);
        m_oldPalette24 = ::SelectPalette(m_dc24, m_hPalette, FALSE);
        ::RealizePalette(m_dc24);
    }
    ::SetStretchBltMode(m_dc8, COLORONCOLOR);
    ::SetStretchBltMode(m_dc24, COLORONCOLOR);
    return TRUE;
}

void CTextureLoader::DeleteDCs()
{
    if (m_dc8) {
        if (m_oldPalette8)
            ::SelectPalette(m_dc8, static_cast<HPALETTE>(m_oldPalette8), FALSE);
        ::DeleteDC(m_dc8);
    }
    if (m_dc24) {
        if (m_oldPalette24)
            ::SelectPalette(m_dc24, static_cast<HPALETTE>(m_oldPalette24), FALSE);
        ::DeleteDC(m_dc24);
    }
    m_dc8 = m_dc24 = nullptr;
    m_oldPalette8 = m_oldPalette24 = nullptr;
}

void CTextureLoader::DeleteRecord(Texture* tex)
{
    if (tex->bitmap)
        ::DeleteObject(tex->bitmap);
    delete tex;
}

void CTextureLoader::FreeAllTextures()
{
    CString key;
    void* p;
    for (POSITION pos = m_textures.GetStartPosition(); pos;) {
        m_textures.GetNextAssoc(pos, key, p);
        DeleteRecord(static_cast<Texture*>(p));
    }
    m_textures.RemoveAll();
    m_textures.InitHashTable(413);
}

BOOL CTextureLoader::CanUnload() const
{
    // Any map's faces, not only the active map's, point at the records.
    return Map::GetOpenCount() == 0;
}

BOOL CTextureLoader::UnloadTextures()
{
    if (!CanUnload())
        return FALSE;
    FreeAllTextures();
    while (!m_wads.IsEmpty())
        static_cast<CWad*>(m_wads.RemoveHead())->OnCloseDocument();
    return TRUE;
}
