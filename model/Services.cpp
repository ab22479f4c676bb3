#include "Services.h"
#include "Texture.h"
#include "afxwin.h"
#include <cstdlib>

CDefaultEditorServices::CDefaultEditorServices() : m_pDefault(new Texture)
{
    FillDefaultTexture(*m_pDefault);
}

CDefaultEditorServices::~CDefaultEditorServices()
{
    RemoveAllEntityClasses();
    for (HPEN& pen : m_texturePens)
        if (pen)
            ::DeleteObject(pen);
    FreeDefaultTexture(*m_pDefault);
    delete m_pDefault;
}

void CDefaultEditorServices::PrintMessage(LPCSTR text)
{
    CString line(text ? text : "");
    line += "\r\n";
    ::OutputDebugStringA(line);
}

void CDefaultEditorServices::SetStatusAndMessage(LPCSTR text)
{
    PrintMessage(text);
}

int CDefaultEditorServices::MessageBox(LPCSTR text, UINT type)
{
    // The framework's box: owned by the main window, titled by the application,
    // and answerable by tests.
    return AfxMessageBox(text, type);
}

void CDefaultEditorServices::Quit(int exitCode)
{
    ::PostQuitMessage(exitCode);
}

BOOL CDefaultEditorServices::LookupEntityClass(LPCSTR name, const EntityClass*& pClass)
{
    void* p = nullptr;
    if (!m_classes.Lookup(name, p))
        return FALSE;
    pClass = static_cast<const EntityClass*>(p);
    return TRUE;
}

int CDefaultEditorServices::IsEntityVisible(LPCSTR className)
{
    CString name(className ? className : "");
    for (;;) {
        void* p;
        if (m_classes.Lookup(name, p))
            return 1;
        int cut = name.ReverseFind('_');
        if (cut < 0)
            return -1;
        name = name.Left(cut);
    }
}

void CDefaultEditorServices::AddEntityClass(LPCSTR name, const short* size)
{
    EntityClass* rec = nullptr;
    if (size) {
        rec = new EntityClass;
        rec->name = name;
        for (int i = 0; i < 6; ++i)
            rec->size[i] = size[i];
    }
    void* old = nullptr;
    if (m_classes.Lookup(name, old))
        delete static_cast<EntityClass*>(old);
    m_classes.SetAt(name, rec);
}

void CDefaultEditorServices::RemoveAllEntityClasses()
{
    CString key;
    void* p;
    for (POSITION pos = m_classes.GetStartPosition(); pos;) {
        m_classes.GetNextAssoc(pos, key, p);
        delete static_cast<EntityClass*>(p);
    }
    m_classes.RemoveAll();
}

static CString ProfileKey(LPCSTR section, LPCSTR key)
{
    return CString(section) + "\n" + key;
}

CString CDefaultEditorServices::GetProfileString(LPCSTR section, LPCSTR key, LPCSTR def)
{
    CString value;
    if (m_profile.Lookup(ProfileKey(section, key), value))
        return value;
    return CString(def ? def : "");
}

int CDefaultEditorServices::GetProfileInt(LPCSTR section, LPCSTR key, int def)
{
    CString value;
    if (m_profile.Lookup(ProfileKey(section, key), value))
        return std::atoi(value);
    return def;
}

void CDefaultEditorServices::WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    m_profile.SetAt(ProfileKey(section, key), value ? value : "");
}

void CDefaultEditorServices::WriteProfileInt(LPCSTR section, LPCSTR key, int value)
{
    CString text;
    text.Format("%d", value);
    m_profile.SetAt(ProfileKey(section, key), text);
}

COLORREF ColorFromSetting(DWORD value)
{
    return PALETTERGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

HPEN CDefaultEditorServices::GetTexturePen(TexturePen which)
{
    int i = static_cast<int>(which);
    if (i < 0 || i > 2)
        return nullptr;
    if (!m_texturePens[i]) {
        // The same keys and defaults that the shell makes its pens from.
        bool selected = which != PEN_TEXTURE_BACKGROUND;
        DWORD value = static_cast<DWORD>(GetProfileInt("Colors", selected ? "Selected Texture" : "Texture Background",
                                                       selected ? 0xFF0000 : 0));
        m_texturePens[i] = ::CreatePen(which == PEN_SELECTED_TEXTURE_DOTTED ? PS_DOT : PS_SOLID, 0,
                                       ColorFromSetting(value));
    }
    return m_texturePens[i];
}

static CEditorServices* s_pServices = nullptr;

CEditorServices* GetEditorServices()
{
    static CDefaultEditorServices builtin;
    return s_pServices ? s_pServices : &builtin;
}

void SetEditorServices(CEditorServices* pServices)
{
    s_pServices = pServices;
}
