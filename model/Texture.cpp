#include "Texture.h"
#include "Services.h"

void FillDefaultTexture(Texture& tex)
{
    FreeDefaultTexture(tex);
    tex = Texture();
    tex.name = "DEFAULT";
    tex.width = tex.height = 16;
    tex.p2width = tex.p2height = 16;
    tex.bits = new BYTE[16 * 16 * 3];
    for (int i = 0; i < 256; ++i) {
        bool white = (i & 8) != 0;
        if (i >= 128)
            white = !white;
        BYTE* p = tex.bits + i * 3;
        if (white) {
            p[0] = p[1] = p[2] = 255;
        } else {
            p[0] = 0;
            p[1] = 0;
            p[2] = 255;
        }
    }
}

void FreeDefaultTexture(Texture& tex)
{
    delete[] tex.bits;
    tex.bits = nullptr;
}

CString TextureKey(LPCSTR name)
{
    CString key(name ? name : "");
    key.MakeUpper();
    return key;
}

CTextureSource::CTextureSource() : m_placeholders(10)
{
    m_placeholders.InitHashTable(413);
}

CTextureSource::~CTextureSource()
{
    FreePlaceholders();
}

Texture* CTextureSource::FindTexture(LPCSTR)
{
    return nullptr;
}

Texture* CTextureSource::GetPlaceholder(LPCSTR name)
{
    CString key = TextureKey(name);
    void* p = nullptr;
    if (m_placeholders.Lookup(key, p))
        return static_cast<Texture*>(p);
    Texture* def = GetEditorServices()->GetDefaultTexture();
    Texture* tex = new Texture;
    tex->name = name;
    tex->width = tex->height = 16;
    tex->p2width = def->p2width;
    tex->p2height = def->p2height;
    tex->bits = def->bits; // borrowed: the default record owns them
    tex->placeholder = true;
    m_placeholders.SetAt(key, tex);
    return tex;
}

void CTextureSource::FreePlaceholders()
{
    CString key;
    void* p;
    for (POSITION pos = m_placeholders.GetStartPosition(); pos;) {
        m_placeholders.GetNextAssoc(pos, key, p);
        delete static_cast<Texture*>(p);
    }
    m_placeholders.RemoveAll();
    m_placeholders.InitHashTable(413);
}

static CTextureSource* s_pTextureSource = nullptr;

CTextureSource* GetTextureSource()
{
    static CTextureSource builtin;
    return s_pTextureSource ? s_pTextureSource : &builtin;
}

void SetTextureSource(CTextureSource* pSource)
{
    s_pTextureSource = pSource;
}

Texture* TextureForName(LPCSTR name, bool* pMissing)
{
    CTextureSource* src = GetTextureSource();
    Texture* tex = src->FindTexture(name);
    if (pMissing)
        *pMissing = tex == nullptr;
    if (tex)
        return tex;
    // New brushes carry the built-in record; its name comes back as itself.
    Texture* def = GetEditorServices()->GetDefaultTexture();
    if (def->name.CompareNoCase(name) == 0)
        return def;
    return src->GetPlaceholder(name);
}
