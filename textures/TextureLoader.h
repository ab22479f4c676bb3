// Loads the project's WAD textures into the global texture map: 8-bit images through
// the palette, 24-bit power-of-two bitmaps through the brightness table. The texture
// browser window delegates its loading to this object.
#pragma once
#include "Texture.h"

class CWad;
struct WadLump;

enum
{
    IDS_NO_VALID_WADS = 788,
    IDS_NO_WADS_SELECTED = 789,
    IDS_NO_WAD_MEMORY = 792,
};

// Texture name (upper case) -> Texture*.
class CTextureMap : public CMapStringToPtr
{
public:
    CTextureMap() : CMapStringToPtr(10) { InitHashTable(413); }
};

class CTextureLoader : public CTextureSource
{
public:
    CTextureLoader();
    ~CTextureLoader() override;

    // Every WAD of the project's "Wads" section; TRUE when its first key existed.
    BOOL LoadTextures();
    // One WAD; TRUE when it opened.
    BOOL LoadWad(LPCSTR path);
    // Null when the lump holds no usable mip texture (reported on the status line).
    Texture* CreateTexture(CWad* pWad, WadLump* pLump);
    BOOL CreateDib8(Texture* pTexture);
    BOOL CreateDib24(Texture* pTexture);
    BOOL LoadPalette();
    BOOL CreateDCs();
    // Deletes every record and empties the map.
    void FreeAllTextures();
    // Frees the textures and closes the WADs; refused (FALSE) while any map is open,
    // since its faces point at the records.
    BOOL UnloadTextures();
    // Whether an unload would go ahead now: whoever points at the records lets go first.
    BOOL CanUnload() const;

    Texture* FindTexture(LPCSTR name) override;
    CTextureMap& GetTextureMap() { return m_textures; }
    int GetWadCount() const { return m_wads.GetCount(); }
    const BYTE* GetBrightnessTable() const { return m_brightness; }
    HPALETTE GetPalette() const { return m_hPalette; }
    const BITMAPINFO* GetBitmapInfo8() const { return m_pInfo8; }

protected:
    // Makes the 24-bit DIB section of a texture (the memory can run out for large ones).
    virtual HBITMAP CreateSection24(const BITMAPINFO& info, void** ppBits);

private:
    void DeleteRecord(Texture* pTexture);
    void DeleteDCs();

    CTextureMap m_textures;
    CPtrList m_wads; // open CWad*
    BYTE m_brightness[256];
    HPALETTE m_hPalette = nullptr;
    BITMAPINFO* m_pInfo8 = nullptr;
    HDC m_dc8 = nullptr, m_dc24 = nullptr;
    HGDIOBJ m_oldPalette8 = nullptr, m_oldPalette24 = nullptr;
    bool m_setupFailed = false; // the palette or the DCs failed during this load
    int m_loading = 0;          // inside LoadTextures
};

// A WAD path made absolute against the project's root, its separators folded (FoldSeparators: "/"
// as "\", a run as one, a leading pair kept).
CString NormalizeWadPath(LPCSTR path);
// Whether two WAD paths name the same file (normalised, without regard to case).
BOOL SameWadPath(LPCSTR a, LPCSTR b);

// The editor's palette: "Morvane.pal" in the current directory when it holds 768 bytes, else the
// built-in one (resource "PALETTE" of type "Palette"); FALSE, after its message, when neither.
BOOL ReadPaletteData(BYTE data[768]);
// A 256-entry palette of the triples; null when the system refused.
HPALETTE CreatePaletteOf(const BYTE data[768]);
// The palette as last loaded: 256 red, green, blue triples in file order.
const BYTE* GetPaletteTable();
// The brightness of a byte: min(255, trunc(pow(i / 256, 1 / 1.6) * 256)).
BYTE BrightnessOf(int i);
