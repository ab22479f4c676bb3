// The texture record that faces point at, and the name lookup the texture loader provides.
#pragma once
#include "afx.h"

class CWad;
struct WadLump;

// Texture flags kept for the browser.
enum
{
    TEXTURE_CURRENT = 0x01,
    TEXTURE_MARKED = 0x02,
    TEXTURE_USED = 0x04,
};

struct Texture
{
    CWad* wad = nullptr;
    WadLump* lump = nullptr;        // only while the record is being built
    CString name;
    WORD width = 0, height = 0;     // size of the mip texture
    HBITMAP bitmap = nullptr;       // the record's DIB section (24-bit once built)
    BYTE* bits = nullptr;           // its pixels; null: nothing to draw
    WORD p2width = 0, p2height = 0; // power-of-two size of the 24-bit bitmap
    UINT glName = 0;
    RECT cell = {0, 0, 0, 0};
    BYTE flags = 0;
    // A stand-in for a name that no WAD supplies: drawn with the default pixels,
    // never listed by the browser, written back under its own name.
    bool placeholder = false;
};

// Fills the built-in 16 x 16 checkerboard record named "DEFAULT"; the record keeps
// the pixel buffer, which the caller frees with FreeDefaultTexture.
void FillDefaultTexture(Texture& tex);
void FreeDefaultTexture(Texture& tex);

// Where faces find their textures. Names are compared without regard to case.
// This base holds no textures: every name gets a placeholder record, one per name
// (kept with the case it was first asked for), drawn with the default pixels.
class CTextureSource
{
public:
    CTextureSource();
    virtual ~CTextureSource();

    // The loaded texture of that name, or null.
    virtual Texture* FindTexture(LPCSTR name);
    // The placeholder record for a name that has no texture.
    Texture* GetPlaceholder(LPCSTR name);
    void FreePlaceholders();
    int GetPlaceholderCount() const { return m_placeholders.GetCount(); }

private:
    CMapStringToPtr m_placeholders; // upper-case name -> Texture*
};

// The source installed by the texture loader; a built-in placeholder source otherwise.
CTextureSource* GetTextureSource();
void SetTextureSource(CTextureSource* pSource); // null restores the built-in one

// The record a face gets for a name: the loaded texture, else the name's placeholder.
// *pMissing (when given) tells whether the name was missing.
Texture* TextureForName(LPCSTR name, bool* pMissing = nullptr);

// Upper-cases a texture name into a key for the name maps.
CString TextureKey(LPCSTR name);
