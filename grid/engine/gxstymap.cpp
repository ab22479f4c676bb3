#include "gxstymap.h"
#include "gxinit.h"
#include "gxprofile.h"
#include "gxutil.h"
#include <cstdlib>
#include <vector>

namespace {
// The string of a resource id; a missing one is a broken installation.
CString LoadResourceName(UINT nID)
{
    CString s;
    if (!s.LoadString(nID))
        AfxThrowResourceException();
    return s;
}
} // namespace

CGXStylesMap::CGXStylesMap(CRuntimeClass* pStyleClass)
    : m_pStyleClass(pStyleClass != nullptr ? pStyleClass : RUNTIME_CLASS(CGXStyle)), m_sSection("Styles")
{
}

CGXStylesMap::CGXStylesMap(const CGXStylesMap& src) : CObject(), m_pStyleClass(src.m_pStyleClass)
{
    CopyFrom(src);
}

CGXStylesMap& CGXStylesMap::operator=(const CGXStylesMap& src)
{
    if (&src != this) {
        RemoveAll();
        CopyFrom(src);
    }
    return *this;
}

CGXStylesMap::~CGXStylesMap() { RemoveAll(); }

CGXStyle* CGXStylesMap::NewStyle() const
{
    CObject* p = m_pStyleClass->CreateObject();
    if (p != nullptr && p->IsKindOf(RUNTIME_CLASS(CGXStyle)))
        return static_cast<CGXStyle*>(p);
    delete p;
    return new CGXStyle;
}

void CGXStylesMap::RemoveAll()
{
    GXDeleteStyleEntries<StyleEntry>(m_mapStyles);
    GXDeleteStyleEntries<UserAttrEntry>(m_mapUserAttributes);
    m_mapNames.RemoveAll();
    m_mapResourceIds.RemoveAll();
    m_mapControlNames.RemoveAll();
    m_wNextId = 1;
    m_wStyleStandard = m_wStyleColHeader = m_wStyleRowHeader = 0;
}

void CGXStylesMap::CopyFrom(const CGXStylesMap& src)
{
    m_pStyleClass = src.m_pStyleClass;
    m_wStyleStandard = src.m_wStyleStandard;
    m_wStyleColHeader = src.m_wStyleColHeader;
    m_wStyleRowHeader = src.m_wStyleRowHeader;
    m_mapNames.CopyFrom(src.m_mapNames);
    m_mapResourceIds.CopyFrom(src.m_mapResourceIds);
    m_mapControlNames.CopyFrom(src.m_mapControlNames);
    m_wNextId = src.m_wNextId;
    m_sSection = src.m_sSection;
    GXCopyStyleEntries<StyleEntry>(m_mapStyles, src.m_mapStyles);
    GXCopyStyleEntries<UserAttrEntry>(m_mapUserAttributes, src.m_mapUserAttributes);
}

CGXStylesMap::StyleEntry* CGXStylesMap::EntryFor(WORD nID) const
{
    void* p = nullptr;
    if (!m_mapStyles.Lookup(nID, p))
        return nullptr;
    return static_cast<StyleEntry*>(p);
}

WORD CGXStylesMap::Register(UINT nResourceID, const CString& sName, const CGXStyle& style, BOOL bSystem)
{
    WORD id = 0;
    if (nResourceID != 0)
        id = GetBaseStyleIdFromResource(nResourceID);
    if (id == 0)
        id = GetBaseStyleId(sName);
    if (id == 0) {
        id = m_wNextId++;
        if (m_wNextId == 0)
            m_wNextId = 1;
    }
    if (nResourceID != 0)
        m_mapResourceIds.SetAt(nResourceID, id);
    m_mapNames.SetAt(sName, id);
    StyleEntry* e = EntryFor(id);
    if (e == nullptr) {
        e = new StyleEntry;
        m_mapStyles.SetAt(id, e);
    }
    CGXStyle* pNew = style.Clone();
    delete e->pStyle;
    e->pStyle = pNew;
    e->nID = id;
    e->nResourceID = nResourceID;
    e->sName = sName;
    e->bSystem = bSystem;
    return id;
}

WORD CGXStylesMap::RegisterStyle(UINT nResourceID, const CGXStyle& style, BOOL bSystem)
{
    return Register(nResourceID, LoadResourceName(nResourceID), style, bSystem);
}

WORD CGXStylesMap::RegisterStyle(LPCSTR lpszName, const CGXStyle& style, BOOL bSystem)
{
    return Register(0, CString(lpszName), style, bSystem);
}

WORD CGXStylesMap::GetBaseStyleId(LPCSTR lpszName) const
{
    WORD id = 0;
    if (lpszName == nullptr || !m_mapNames.Lookup(lpszName, id))
        return 0;
    return id;
}

WORD CGXStylesMap::GetBaseStyleIdFromResource(UINT nResourceID) const
{
    LONG id = 0;
    if (!m_mapResourceIds.Lookup(nResourceID, id))
        return 0;
    return static_cast<WORD>(id);
}

BOOL CGXStylesMap::LookupStyle(WORD nID, const CGXStyle*& pStyle) const
{
    StyleEntry* e = EntryFor(nID);
    pStyle = e != nullptr ? e->pStyle : nullptr;
    return e != nullptr;
}

BOOL CGXStylesMap::LookupStyle(WORD nID, CGXStyle*& pStyle)
{
    StyleEntry* e = EntryFor(nID);
    pStyle = e != nullptr ? e->pStyle : nullptr;
    return e != nullptr;
}

CString CGXStylesMap::GetStyleName(WORD nID, UINT& nResourceID) const
{
    StyleEntry* e = EntryFor(nID);
    nResourceID = e != nullptr ? e->nResourceID : 0;
    return e != nullptr ? e->sName : CString();
}

const CGXStylesMap::StyleEntry* CGXStylesMap::GetNextStyle(POSITION& pos) const
{
    DWORD id;
    void* p;
    m_mapStyles.GetNextAssoc(pos, id, p);
    return static_cast<const StyleEntry*>(p);
}

void CGXStylesMap::AddControl(UINT nControlID) { m_mapControlNames.SetAt(nControlID, LoadResourceName(nControlID)); }

BOOL CGXStylesMap::LookupControlName(UINT nControlID, CString& sName) const
{
    return m_mapControlNames.Lookup(nControlID, sName);
}

CGXStylesMap::UserAttrEntry* CGXStylesMap::AddUserAttribute(WORD nID, const CGXStyle* pStyle)
{
    void* p = nullptr;
    if (m_mapUserAttributes.Lookup(nID, p))
        return static_cast<UserAttrEntry*>(p);
    CString name = LoadResourceName(nID);
    UserAttrEntry* e = new UserAttrEntry;
    e->nID = nID;
    e->sName = name;
    e->pStyle = NewStyle();
    if (pStyle != nullptr)
        *e->pStyle = *pStyle;
    m_mapUserAttributes.SetAt(nID, e);
    return e;
}

const CGXStylesMap::UserAttrEntry* CGXStylesMap::LookupUserAttribute(WORD nID) const
{
    void* p = nullptr;
    if (!m_mapUserAttributes.Lookup(nID, p))
        return nullptr;
    return static_cast<const UserAttrEntry*>(p);
}

const CGXStylesMap::UserAttrEntry* CGXStylesMap::GetNextUserAttribute(POSITION& pos) const
{
    DWORD id;
    void* p;
    m_mapUserAttributes.GetNextAssoc(pos, id, p);
    return static_cast<const UserAttrEntry*>(p);
}

void CGXStylesMap::LookupStandardIds()
{
    m_wStyleStandard = GetBaseStyleIdFromResource(GX_IDS_STYLE_STANDARD);
    m_wStyleColHeader = GetBaseStyleIdFromResource(GX_IDS_STYLE_COLHEADER);
    m_wStyleRowHeader = GetBaseStyleIdFromResource(GX_IDS_STYLE_ROWHEADER);
}

void CGXStylesMap::CreateStandardStyles()
{
    CGXStyle* style = NewStyle();
    try {
        style->SetDefault();
        CGXFont font;
        font.SetDefault();
        font.SetSize(8);
        style->SetFont(font);
        m_wStyleStandard = RegisterStyle(GX_IDS_STYLE_STANDARD, *style, TRUE);

        // Header cells draw no borders of their own on the new shell.
        GX_APP_STATE* state = GXGetAppState();
        const BOOL bNoBorders = state->m_bNewShell && !state->m_bWin32s;
        style->Init();
        if (bNoBorders)
            style->SetBorders(gxBorderAll, GXPenRecord(PS_NULL, 1, 0));
        style->SetFont(CGXFont().SetWeight(FW_BOLD));
        style->SetInterior(GXBrushRecord(BS_SOLID, GXSysColorCode(COLOR_BTNFACE)));
        style->SetHorizontalAlignment(DT_CENTER);
        style->SetVerticalAlignment(DT_VCENTER);
        style->SetControl(GX_IDS_CTRL_HEADER_ID);
        m_wStyleColHeader = RegisterStyle(GX_IDS_STYLE_COLHEADER, *style, TRUE);

        style->Init();
        if (bNoBorders)
            style->SetBorders(gxBorderAll, GXPenRecord(PS_NULL, 1, 0));
        style->SetControl(GX_IDS_CTRL_HEADER_ID);
        style->SetInterior(GXBrushRecord(BS_SOLID, GXSysColorCode(COLOR_BTNFACE)));
        m_wStyleRowHeader = RegisterStyle(GX_IDS_STYLE_ROWHEADER, *style, TRUE);
    } catch (...) {
        delete style;
        throw;
    }
    delete style;
}

// ---------------------------------------------------------------------------
IMPLEMENT_SERIAL(CGXStylesMap, CObject, 0)

void CGXStylesMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(2) << m_sSection;
        ar << static_cast<WORD>(m_mapControlNames.GetCount());
        for (POSITION pos = m_mapControlNames.GetStartPosition(); pos;) {
            DWORD id;
            CString name;
            m_mapControlNames.GetNextAssoc(pos, id, name);
            ar << id << name;
        }
        ar << static_cast<WORD>(m_mapNames.GetCount());
        for (POSITION pos = m_mapNames.GetStartPosition(); pos;) {
            CString name;
            WORD id;
            m_mapNames.GetNextAssoc(pos, name, id);
            ar << id << name;
        }
        ar << static_cast<WORD>(m_mapStyles.GetCount());
        for (POSITION pos = m_mapStyles.GetStartPosition(); pos;) {
            const StyleEntry* e = GetNextStyle(pos);
            ar << e->nID << static_cast<DWORD>(e->nResourceID) << e->sName << static_cast<BYTE>(e->bSystem ? 1 : 0);
            e->pStyle->Serialize(ar, this);
        }
        ar << m_wNextId;
        ar << static_cast<WORD>(m_mapUserAttributes.GetCount());
        for (POSITION pos = m_mapUserAttributes.GetStartPosition(); pos;) {
            const UserAttrEntry* e = GetNextUserAttribute(pos);
            ar << static_cast<DWORD>(e->nID);
            e->pStyle->Serialize(ar, this);
        }
        return;
    }

    WORD wSchema;
    ar >> wSchema;
    if (wSchema > 2)
        AfxThrowArchiveException(CArchiveException::badSchema);
    RemoveAll();
    ar >> m_sSection;
    WORD n;
    ar >> n;
    for (; n > 0; --n) {
        DWORD id;
        CString name;
        ar >> id >> name;
        m_mapControlNames.SetAt(id, name);
    }
    ar >> n;
    for (; n > 0; --n) {
        WORD id;
        CString name;
        ar >> id >> name;
        m_mapNames.SetAt(name, id);
    }
    WORD nMaxId = 0;
    ar >> n;
    for (; n > 0; --n) {
        StyleEntry e;
        DWORD nResourceID;
        BYTE bSystem;
        ar >> e.nID >> nResourceID >> e.sName >> bSystem;
        e.nResourceID = nResourceID;
        e.bSystem = bSystem;
        CString resName;
        if (nResourceID != 0 && resName.LoadString(nResourceID))
            e.sName = resName;
        CGXStyle* pStyle = NewStyle();
        try {
            pStyle->Serialize(ar, this);
        } catch (...) {
            delete pStyle;
            throw;
        }
        if (nResourceID != 0)
            m_mapResourceIds.SetAt(nResourceID, e.nID);
        m_mapNames.SetAt(e.sName, e.nID);
        StyleEntry* old = EntryFor(e.nID);
        if (old != nullptr) {
            delete old->pStyle;
            delete old;
        }
        StyleEntry* entry = new StyleEntry(e);
        entry->pStyle = pStyle;
        m_mapStyles.SetAt(e.nID, entry);
        if (e.nID > nMaxId)
            nMaxId = e.nID;
    }
    ar >> m_wNextId;
    // New ids must not collide with loaded ones; 0 stays "no base style".
    if (m_wNextId <= nMaxId)
        m_wNextId = static_cast<WORD>(nMaxId + 1);
    if (m_wNextId == 0)
        m_wNextId = 1;
    if (wSchema >= 2) {
        ar >> n;
        for (; n > 0; --n) {
            DWORD id;
            ar >> id;
            CGXStyle* pStyle = NewStyle();
            try {
                pStyle->Serialize(ar, this);
            } catch (...) {
                delete pStyle;
                throw;
            }
            void* p = nullptr;
            if (m_mapUserAttributes.Lookup(id, p)) {
                delete static_cast<UserAttrEntry*>(p)->pStyle;
                delete static_cast<UserAttrEntry*>(p);
            }
            UserAttrEntry* e = new UserAttrEntry;
            e->nID = static_cast<WORD>(id);
            e->sName.LoadString(id);
            e->pStyle = pStyle;
            m_mapUserAttributes.SetAt(id, e);
        }
    }
    LookupStandardIds();
}
// ---------------------------------------------------------------------------
// Profile: one subkey (registry) or section (profile file) per base style.

namespace {
CString StyleKeyName(const CGXStylesMap::StyleEntry* e)
{
    CString key;
    if (e->nResourceID != 0)
        key.Format("#%u", e->nResourceID);
    else
        key = e->sName;
    return key;
}
} // namespace

CString CGXStylesMap::GetStyleSection(LPCSTR lpszKeyName) const
{
    return m_sSection + (GXProfileUsesRegistry() ? "\\" : ".") + lpszKeyName;
}

void CGXStylesMap::SaveToProfile()
{
    CProfileStore* prof = GXGetProfile();
    if (prof == nullptr)
        return;
    const BOOL bRegistry = GXProfileUsesRegistry();
    if (bRegistry) {
        GXDeleteProfileSubkeys(m_sSection);
    } else {
        // The sections of the styles listed now go too, so removed styles leave nothing behind.
        CStringArray old;
        GXGetProfileEntryNames(m_sSection, old);
        for (int i = 0; i < old.GetSize(); ++i)
            prof->WriteProfileString(GetStyleSection(old[i]), nullptr, nullptr);
        prof->WriteProfileString(m_sSection, nullptr, nullptr);
    }
    for (POSITION pos = GetFirstStylePosition(); pos;) {
        const StyleEntry* e = GetNextStyle(pos);
        CString key = StyleKeyName(e);
        if (!bRegistry)
            prof->WriteProfileString(m_sSection, key, "1");
        e->pStyle->WriteProfile(GetStyleSection(key), this);
    }
}

BOOL CGXStylesMap::LoadFromProfile()
{
    if (GXGetProfile() == nullptr)
        return FALSE;
    CStringArray keys;
    if (GXProfileUsesRegistry())
        GXGetProfileSubkeyNames(m_sSection, keys);
    else
        GXGetProfileEntryNames(m_sSection, keys);
    if (keys.GetSize() == 0)
        return FALSE;

    // Every key's id first, so base styles named by other keys resolve.
    CGXStyle* pStyle = NewStyle();
    std::vector<bool> usable(static_cast<size_t>(keys.GetSize()), false);
    try {
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < keys.GetSize(); ++i) {
                const CString& key = keys[i];
                if (pass == 1 && !usable[static_cast<size_t>(i)])
                    continue;
                if (pass == 0) {
                    pStyle->Init();
                    const StyleEntry* existing = nullptr;
                    WORD id = key[0] == '#' ? GetBaseStyleIdFromResource(static_cast<UINT>(std::atol(key.Mid(1))))
                                            : GetBaseStyleId(key);
                    if (id != 0 && (existing = EntryFor(id)) != nullptr)
                        *pStyle = *existing->pStyle;
                } else {
                    pStyle->ReadProfile(GetStyleSection(key), this);
                }
                if (key[0] == '#') {
                    // A resource id whose string is missing names no style.
                    UINT nResourceID = static_cast<UINT>(std::atol(key.Mid(1)));
                    CString name;
                    if (nResourceID == 0 || !name.LoadString(nResourceID))
                        continue;
                    Register(nResourceID, name, *pStyle, FALSE);
                } else {
                    Register(0, key, *pStyle, FALSE);
                }
                usable[static_cast<size_t>(i)] = true;
            }
        }
    } catch (...) {
        delete pStyle;
        throw;
    }
    delete pStyle;

    LookupStandardIds();
    CGXStyle* pStandard = nullptr;
    if (m_wStyleStandard != 0 && LookupStyle(m_wStyleStandard, pStandard)) {
        CGXStyle defaults;
        defaults.SetDefault();
        pStandard->ChangeStyle(defaults, gxApplyNew);
    }
    return TRUE;
}
