#include "gxstyle.h"
#include "gxstymap.h"
#include "gxprofile.h"
#include "gxutil.h"
#include <cstdlib>
#include <set>

namespace {
const GXPenRecord kNoPen;
const CGXFont kNoFont;
} // namespace

CGXStyle::CGXStyle(const CGXStyle& src) : CObject()
{
    Init();
    *this = src;
}

CGXStyle::~CGXStyle() { FreeMembers(); }

void CGXStyle::Init()
{
    delete[] m_pBorders;
    m_pBorders = nullptr;
    delete m_pFont;
    m_pFont = nullptr;
    delete m_pUserAttributes;
    m_pUserAttributes = nullptr;
    m_nInclude = 0;
    m_nHorzAlign = 0;
    m_nVertAlign = 0;
    m_nMaxLength = 0;
    m_nControl = 0;
    m_brInterior = GXBrushRecord();
    m_clrText = 0;
    m_dwFlags = 0;
    m_strValue.Empty();
    m_strChoices.Empty();
    m_wBaseStyle = 0;
    m_dwItemData = 0;
}

void CGXStyle::FreeMembers() { Init(); }

CGXStyle* CGXStyle::Clone() const
{
    CGXStyle* p = static_cast<CGXStyle*>(GetRuntimeClass()->CreateObject());
    if (p == nullptr)
        p = new CGXStyle;
    *p = *this;
    return p;
}

CGXStyle& CGXStyle::operator=(const CGXStyle& src)
{
    if (&src == this)
        return *this;
    // An exact copy: members the source lacks are dropped here too.
    FreeMembers();
    m_nInclude = src.m_nInclude;
    m_nHorzAlign = src.m_nHorzAlign;
    m_nVertAlign = src.m_nVertAlign;
    m_nMaxLength = src.m_nMaxLength;
    m_nControl = src.m_nControl;
    m_brInterior = src.m_brInterior;
    m_clrText = src.m_clrText;
    m_dwFlags = src.m_dwFlags;
    m_strValue = src.m_strValue;
    m_strChoices = src.m_strChoices;
    m_wBaseStyle = src.m_wBaseStyle;
    m_dwItemData = src.m_dwItemData;
    if (src.m_pBorders != nullptr) {
        m_pBorders = new GXPenRecord[4];
        for (int i = 0; i < 4; ++i)
            m_pBorders[i] = src.m_pBorders[i];
    }
    if (src.m_pFont != nullptr)
        m_pFont = new CGXFont(*src.m_pFont);
    if (src.m_pUserAttributes != nullptr) {
        m_pUserAttributes = new CGXCollMapDWordToString(10);
        m_pUserAttributes->CopyFrom(*src.m_pUserAttributes);
    }
    return *this;
}

CGXStyle& CGXStyle::SetValue(LPCSTR lpszValue)
{
    m_strValue = lpszValue;
    m_nInclude |= incValue;
    return *this;
}

CGXStyle& CGXStyle::SetValueNumber(unsigned long n)
{
    CString s;
    s.Format("%lu", n);
    return SetValue(s);
}

CGXStyle& CGXStyle::SetIncludeValue(BOOL b)
{
    if (!b)
        m_strValue.Empty();
    return Include(incValue, b);
}

CGXStyle& CGXStyle::SetChoiceList(LPCSTR lpszChoices)
{
    m_strChoices = lpszChoices;
    m_nInclude |= incChoiceList;
    return *this;
}

CGXStyle& CGXStyle::SetIncludeChoiceList(BOOL b)
{
    if (!b)
        m_strChoices.Empty();
    return Include(incChoiceList, b);
}

GXPenRecord* CGXStyle::Borders()
{
    if (m_pBorders == nullptr)
        m_pBorders = new GXPenRecord[4];
    return m_pBorders;
}

CGXStyle& CGXStyle::SetBorders(int nSide, const GXPenRecord& pen)
{
    GXPenRecord* b = Borders();
    GXPenRecord p = pen;
    p.bSet = TRUE;
    if (nSide == gxBorderAll) {
        for (int i = 0; i < 4; ++i)
            b[i] = p;
    } else if (nSide >= 0 && nSide < 4) {
        b[nSide] = p;
    }
    m_nInclude |= incBorders;
    return *this;
}

const GXPenRecord& CGXStyle::GetBorders(int nSide) const
{
    if (m_pBorders == nullptr || nSide < 0 || nSide > 3)
        return kNoPen;
    return m_pBorders[nSide];
}

BOOL CGXStyle::HasBorder(int nSide) const
{
    return Has(incBorders) && m_pBorders != nullptr && nSide >= 0 && nSide < 4 && m_pBorders[nSide].bSet;
}

CGXStyle& CGXStyle::SetIncludeBorders(BOOL b)
{
    if (!b) {
        delete[] m_pBorders;
        m_pBorders = nullptr;
    } else {
        Borders();
    }
    return Include(incBorders, b);
}

CGXStyle& CGXStyle::SetFont(const CGXFont& font, int nMode)
{
    if (m_pFont == nullptr) {
        if (nMode == gxExclude)
            return *this;
        m_pFont = new CGXFont(font);
    } else {
        m_pFont->ChangeFont(font, nMode);
    }
    if (m_pFont->IsEmpty())
        return SetIncludeFont(FALSE);
    m_nInclude |= incFont;
    return *this;
}

const CGXFont& CGXStyle::GetFont() const { return m_pFont != nullptr ? *m_pFont : kNoFont; }

CGXStyle& CGXStyle::SetIncludeFont(BOOL b)
{
    if (!b) {
        delete m_pFont;
        m_pFont = nullptr;
    } else if (m_pFont == nullptr) {
        m_pFont = new CGXFont;
    }
    return Include(incFont, b);
}

CGXStyle& CGXStyle::SetUserAttribute(WORD nID, LPCSTR lpszValue)
{
    if (m_pUserAttributes == nullptr)
        m_pUserAttributes = new CGXCollMapDWordToString(10);
    m_pUserAttributes->SetAt(nID, lpszValue ? lpszValue : "");
    m_nInclude |= incUserAttr;
    return *this;
}

CString CGXStyle::GetUserAttribute(WORD nID) const
{
    CString s;
    LookupUserAttribute(nID, s);
    return s;
}

BOOL CGXStyle::LookupUserAttribute(WORD nID, CString& rValue) const
{
    if (!Has(incUserAttr) || m_pUserAttributes == nullptr)
        return FALSE;
    return m_pUserAttributes->Lookup(nID, rValue);
}

BOOL CGXStyle::HasUserAttribute(WORD nID) const
{
    CString s;
    return LookupUserAttribute(nID, s);
}

CGXStyle& CGXStyle::RemoveUserAttribute(WORD nID)
{
    if (m_pUserAttributes != nullptr) {
        m_pUserAttributes->RemoveKey(nID);
        if (m_pUserAttributes->IsEmpty())
            SetIncludeUserAttributes(FALSE);
    }
    return *this;
}

CGXStyle& CGXStyle::SetIncludeUserAttributes(BOOL b)
{
    if (!b) {
        delete m_pUserAttributes;
        m_pUserAttributes = nullptr;
    } else if (m_pUserAttributes == nullptr) {
        m_pUserAttributes = new CGXCollMapDWordToString(10);
    }
    return Include(incUserAttr, b);
}

CGXStyle& CGXStyle::SetDefault()
{
    FreeMembers();
    SetHorizontalAlignment(0);
    SetVerticalAlignment(0);
    SetReadOnly(FALSE);
    SetControl(GX_IDS_CTRL_EDIT_ID);
    SetInterior(GXBrushRecord(BS_SOLID, GXSysColorCode(COLOR_WINDOW)));
    SetTextColor(GXSysColorCode(COLOR_WINDOWTEXT));
    SetWrapText(TRUE);
    SetAllowEnter(FALSE);
    CGXFont font;
    font.SetDefault();
    SetFont(font);
    SetValue("");
    SetChoiceList("");
    SetVerticalScrollbar(FALSE);
    SetMaxLength(0);
    SetEnabled(TRUE);
    SetTriState(FALSE);
    SetDraw3dFrame(0);
    SetAutoSize(FALSE);
    SetItemDataPtr(0);
    SetFloatCell(TRUE);
    SetFloodCell(TRUE);
    SetMergeCell(0);
    return *this;
}

namespace {
// The attributes that live in a scalar field or in the flags word, with the
// flag bits each one owns.
struct FlagAttr
{
    DWORD inc;
    DWORD flagMask;
};
const FlagAttr kFlagAttrs[] = {
    {CGXStyle::incDraw3dFrame, 0x3},        {CGXStyle::incReadOnly, 1u << 2},
    {CGXStyle::incVertScrollbar, 1u << 3},  {CGXStyle::incWrapText, 1u << 4},
    {CGXStyle::incAllowEnter, 1u << 5},     {CGXStyle::incEnabled, 1u << 6},
    {CGXStyle::incTriState, 1u << 7},       {CGXStyle::incAutoSize, 1u << 8},
    {CGXStyle::incFloodCell, 1u << 9},      {CGXStyle::incFloatCell, 1u << 10},
    {CGXStyle::incMergeCell, 0x7u << 11},
};
} // namespace

void CGXStyle::ChangeStyle(const CGXStyle& src, int nMode)
{
    if (&src == this)
        return;
    if (nMode == gxCopy || (nMode != gxExclude && m_nInclude == 0)) {
        *this = src;
        return;
    }
    if (src.m_nInclude == 0)
        return;

    if (nMode == gxExclude) {
        DWORD plain = src.m_nInclude & ~(incBorders | incFont | incUserAttr);
        m_nInclude &= ~plain;
        if (plain & incValue)
            m_strValue.Empty();
        if (plain & incChoiceList)
            m_strChoices.Empty();
        if ((src.m_nInclude & incBorders) && src.m_pBorders != nullptr && m_pBorders != nullptr) {
            bool any = false;
            for (int i = 0; i < 4; ++i) {
                if (src.m_pBorders[i].bSet)
                    m_pBorders[i].bSet = FALSE;
                any = any || m_pBorders[i].bSet;
            }
            if (!any)
                SetIncludeBorders(FALSE);
        }
        if ((src.m_nInclude & incFont) && src.m_pFont != nullptr && m_pFont != nullptr)
            SetFont(*src.m_pFont, gxExclude);
        if ((src.m_nInclude & incUserAttr) && src.m_pUserAttributes != nullptr && m_pUserAttributes != nullptr) {
            for (POSITION pos = src.m_pUserAttributes->GetStartPosition(); pos;) {
                DWORD id;
                CString v;
                src.m_pUserAttributes->GetNextAssoc(pos, id, v);
                m_pUserAttributes->RemoveKey(id);
            }
            if (m_pUserAttributes->IsEmpty())
                SetIncludeUserAttributes(FALSE);
        }
        return;
    }

    const bool over = nMode == gxOverride;
    auto take = [&](DWORD bit) { return (src.m_nInclude & bit) && (over || !(m_nInclude & bit)); };

    if (take(incHorzAlign))
        SetHorizontalAlignment(src.m_nHorzAlign);
    if (take(incVertAlign))
        SetVerticalAlignment(src.m_nVertAlign);
    for (const FlagAttr& a : kFlagAttrs) {
        if (take(a.inc)) {
            m_dwFlags = (m_dwFlags & ~a.flagMask) | (src.m_dwFlags & a.flagMask);
            m_nInclude |= a.inc;
        }
    }
    if (take(incControl))
        SetControl(src.m_nControl);
    if (take(incInterior))
        SetInterior(src.m_brInterior);
    if (take(incTextColor))
        SetTextColor(src.m_clrText);
    if (take(incMaxLength))
        SetMaxLength(src.m_nMaxLength);
    if (take(incValue))
        SetValue(src.m_strValue);
    if (take(incChoiceList))
        SetChoiceList(src.m_strChoices);
    if (take(incBaseStyle))
        SetBaseStyle(src.m_wBaseStyle);
    if (take(incItemData))
        SetItemDataPtr(src.m_dwItemData);

    if ((src.m_nInclude & incBorders) && src.m_pBorders != nullptr) {
        bool hadBorders = Has(incBorders) && m_pBorders != nullptr;
        for (int i = 0; i < 4; ++i) {
            if (!src.m_pBorders[i].bSet)
                continue;
            if (over || !hadBorders || !m_pBorders[i].bSet)
                SetBorders(i, src.m_pBorders[i]);
        }
    }
    if ((src.m_nInclude & incFont) && src.m_pFont != nullptr) {
        if (m_pFont == nullptr || !Has(incFont)) {
            delete m_pFont;
            m_pFont = new CGXFont(*src.m_pFont);
            m_nInclude |= incFont;
        } else {
            m_pFont->ChangeFont(*src.m_pFont, nMode);
        }
    }
    if ((src.m_nInclude & incUserAttr) && src.m_pUserAttributes != nullptr) {
        for (POSITION pos = src.m_pUserAttributes->GetStartPosition(); pos;) {
            DWORD id;
            CString v;
            src.m_pUserAttributes->GetNextAssoc(pos, id, v);
            if (over || !HasUserAttribute(static_cast<WORD>(id)))
                SetUserAttribute(static_cast<WORD>(id), v);
        }
    }
}

BOOL CGXStyle::IsSubSet(const CGXStyle& s) const
{
    DWORD need = s.m_nInclude;
    if ((m_nInclude & need) != need)
        return FALSE;
    if ((need & incHorzAlign) && m_nHorzAlign != s.m_nHorzAlign)
        return FALSE;
    if ((need & incVertAlign) && m_nVertAlign != s.m_nVertAlign)
        return FALSE;
    for (const FlagAttr& a : kFlagAttrs)
        if ((need & a.inc) && (m_dwFlags & a.flagMask) != (s.m_dwFlags & a.flagMask))
            return FALSE;
    if ((need & incControl) && m_nControl != s.m_nControl)
        return FALSE;
    if ((need & incInterior) && m_brInterior != s.m_brInterior)
        return FALSE;
    if ((need & incTextColor) && m_clrText != s.m_clrText)
        return FALSE;
    if ((need & incMaxLength) && m_nMaxLength != s.m_nMaxLength)
        return FALSE;
    if ((need & incValue) && m_strValue != s.m_strValue)
        return FALSE;
    if ((need & incChoiceList) && m_strChoices != s.m_strChoices)
        return FALSE;
    if ((need & incBaseStyle) && m_wBaseStyle != s.m_wBaseStyle)
        return FALSE;
    if ((need & incItemData) && m_dwItemData != s.m_dwItemData)
        return FALSE;
    if ((need & incBorders) && s.m_pBorders != nullptr) {
        for (int i = 0; i < 4; ++i) {
            if (!s.m_pBorders[i].bSet)
                continue;
            if (!HasBorder(i) || m_pBorders[i] != s.m_pBorders[i])
                return FALSE;
        }
    }
    if ((need & incFont) && s.m_pFont != nullptr && (m_pFont == nullptr || !m_pFont->IsSubSet(*s.m_pFont)))
        return FALSE;
    if ((need & incUserAttr) && s.m_pUserAttributes != nullptr) {
        for (POSITION pos = s.m_pUserAttributes->GetStartPosition(); pos;) {
            DWORD id;
            CString v, mine;
            s.m_pUserAttributes->GetNextAssoc(pos, id, v);
            if (!LookupUserAttribute(static_cast<WORD>(id), mine) || mine != v)
                return FALSE;
        }
    }
    return TRUE;
}

void CGXStyle::ResolveBaseStyle(const CGXStylesMap* pStylesMap)
{
    if (pStylesMap == nullptr)
        return;
    // A chain that leads back to a style already applied stops there.
    std::set<WORD> seen;
    WORD id = m_wBaseStyle;
    bool more = Has(incBaseStyle);
    while (more && seen.insert(id).second) {
        const CGXStyle* pBase = nullptr;
        if (!pStylesMap->LookupStyle(id, pBase) || pBase == nullptr)
            break;
        ChangeStyle(*pBase, gxApplyNew);
        more = pBase->GetIncludeBaseStyle() != 0;
        id = pBase->GetBaseStyle();
    }
}

CString GXGetColumnLetters(DWORD nCol)
{
    if (nCol == 0)
        return CString();
    char digits[10];
    int n = 0;
    DWORD v = nCol - 1;
    do {
        digits[n++] = static_cast<char>('A' + v % 26);
        v /= 26;
    } while (v != 0 && n < 9);
    CString s;
    for (int i = n - 1; i >= 0; --i)
        s += digits[i];
    if (n >= 2)
        s.SetAt(0, static_cast<char>(s[0] - 1));
    return s;
}

// ---------------------------------------------------------------------------
IMPLEMENT_SERIAL(CGXStyle, CObject, 0)

void CGXStyle::Serialize(CArchive& ar) { Serialize(ar, nullptr); }

void CGXStyle::Serialize(CArchive& ar, const CGXStylesMap* pStylesMap)
{
    if (pStylesMap == nullptr && ar.m_pDocument != nullptr && ar.m_pDocument->IsKindOf(RUNTIME_CLASS(CGXStylesMap)))
        pStylesMap = static_cast<const CGXStylesMap*>(ar.m_pDocument);
    auto flagByte = [this](DWORD f) { return static_cast<BYTE>((m_dwFlags & f) ? 1 : 0); };

    if (ar.IsStoring()) {
        ar << static_cast<WORD>(3) << m_nInclude;
        if (Has(incHorzAlign))
            ar << m_nHorzAlign;
        if (Has(incVertAlign))
            ar << m_nVertAlign;
        if (Has(incReadOnly))
            ar << flagByte(flagReadOnly);
        if (Has(incControl))
            ar << static_cast<DWORD>(m_nControl);
        if (Has(incInterior))
            ar << m_brInterior;
        if (Has(incTextColor))
            ar << static_cast<DWORD>(m_clrText);
        if (Has(incWrapText))
            ar << flagByte(flagWrapText);
        if (Has(incAllowEnter))
            ar << flagByte(flagAllowEnter);
        if (Has(incFont))
            ar.WriteObject(m_pFont);
        if (Has(incValue))
            ar << m_strValue;
        if (Has(incChoiceList))
            ar << m_strChoices;
        if (Has(incVertScrollbar))
            ar << flagByte(flagVertScroll);
        if (Has(incMaxLength))
            ar << m_nMaxLength;
        if (Has(incEnabled))
            ar << flagByte(flagEnabled);
        if (Has(incTriState))
            ar << flagByte(flagTriState);
        if (Has(incDraw3dFrame))
            ar << static_cast<BYTE>(GetDraw3dFrame());
        if (Has(incAutoSize))
            ar << flagByte(flagAutoSize);
        const bool borders = Has(incBorders) && m_pBorders != nullptr;
        ar << static_cast<WORD>(borders ? 1 : 0);
        if (borders) {
            for (int i = 0; i < 4; ++i) {
                if (m_pBorders[i].bSet)
                    ar << static_cast<WORD>(1) << m_pBorders[i].GetDescription();
                else
                    ar << static_cast<WORD>(0);
            }
        }
        if (Has(incBaseStyle)) {
            UINT nResourceID = 0;
            CString name;
            if (pStylesMap != nullptr)
                name = pStylesMap->GetStyleName(m_wBaseStyle, nResourceID);
            ar << static_cast<DWORD>(nResourceID);
            if (nResourceID == 0)
                ar << name;
        }
        ar.WriteObject(Has(incUserAttr) ? m_pUserAttributes : nullptr);
        if (Has(incFloatCell))
            ar << flagByte(flagFloatCell);
        if (Has(incFloodCell))
            ar << flagByte(flagFloodCell);
        if (Has(incMergeCell))
            ar << static_cast<BYTE>(GetMergeCell());
        if (Has(incItemData))
            ar << static_cast<DWORD>(m_dwItemData);
        return;
    }

    WORD wSchema;
    ar >> wSchema;
    if (wSchema > 3)
        AfxThrowArchiveException(CArchiveException::badSchema);
    DWORD mask;
    ar >> mask;
    FreeMembers();
    m_nInclude = mask & incAll;
    auto readFlag = [&](DWORD f) {
        BYTE b;
        ar >> b;
        if (b)
            m_dwFlags |= f;
        else
            m_dwFlags &= ~f;
    };
    if (Has(incHorzAlign))
        ar >> m_nHorzAlign;
    if (Has(incVertAlign))
        ar >> m_nVertAlign;
    if (Has(incReadOnly))
        readFlag(flagReadOnly);
    if (Has(incControl)) {
        DWORD n;
        ar >> n;
        m_nControl = n;
    }
    if (Has(incInterior))
        ar >> m_brInterior;
    if (Has(incTextColor)) {
        DWORD c;
        ar >> c;
        m_clrText = c;
    }
    if (Has(incWrapText))
        readFlag(flagWrapText);
    if (Has(incAllowEnter))
        readFlag(flagAllowEnter);
    if (Has(incFont)) {
        m_pFont = static_cast<CGXFont*>(ar.ReadObject(RUNTIME_CLASS(CGXFont)));
        if (m_pFont == nullptr)
            m_nInclude &= ~incFont;
    }
    if (Has(incValue))
        ar >> m_strValue;
    if (Has(incChoiceList))
        ar >> m_strChoices;
    if (Has(incVertScrollbar))
        readFlag(flagVertScroll);
    if (Has(incMaxLength))
        ar >> m_nMaxLength;
    if (Has(incEnabled))
        readFlag(flagEnabled);
    if (Has(incTriState))
        readFlag(flagTriState);
    if (Has(incDraw3dFrame)) {
        BYTE b;
        ar >> b;
        SetDraw3dFrame(b);
    }
    if (Has(incAutoSize))
        readFlag(flagAutoSize);
    WORD wBorders;
    ar >> wBorders;
    if (wBorders != 0) {
        GXPenRecord* b = Borders();
        for (int i = 0; i < 4; ++i) {
            WORD wSet;
            ar >> wSet;
            b[i] = GXPenRecord();
            if (wSet != 0) {
                CString text;
                ar >> text;
                b[i].SetDescription(text);
            }
        }
    } else {
        m_nInclude &= ~incBorders;
    }
    if (Has(incBaseStyle)) {
        DWORD nResourceID;
        ar >> nResourceID;
        CString name;
        if (nResourceID == 0)
            ar >> name;
        WORD id = 0;
        if (pStylesMap != nullptr) {
            if (nResourceID != 0) {
                id = pStylesMap->GetBaseStyleIdFromResource(nResourceID);
                CString resName;
                if (id == 0 && resName.LoadString(nResourceID))
                    id = pStylesMap->GetBaseStyleId(resName);
            } else if (!name.IsEmpty()) {
                id = pStylesMap->GetBaseStyleId(name);
            }
        }
        m_wBaseStyle = id;
        if (id == 0)
            m_nInclude &= ~incBaseStyle;
    }
    m_pUserAttributes =
        static_cast<CGXCollMapDWordToString*>(ar.ReadObject(RUNTIME_CLASS(CGXCollMapDWordToString)));
    if (m_pUserAttributes == nullptr)
        m_nInclude &= ~incUserAttr;
    else if (!Has(incUserAttr))
        SetIncludeUserAttributes(FALSE);
    if (wSchema >= 2) {
        if (Has(incFloatCell))
            readFlag(flagFloatCell);
        if (Has(incFloodCell))
            readFlag(flagFloodCell);
        if (Has(incMergeCell)) {
            BYTE b;
            ar >> b;
            SetMergeCell(b);
        }
    } else {
        m_nInclude &= ~(incFloatCell | incFloodCell | incMergeCell);
    }
    if (wSchema >= 3 && Has(incItemData)) {
        DWORD n;
        ar >> n;
        m_dwItemData = n;
    } else {
        m_nInclude &= ~incItemData;
    }
}
// ---------------------------------------------------------------------------
// Profile form: one entry per attribute, every value as text.

namespace {
CString EscapeChoices(const CString& s)
{
    CString out;
    for (int i = 0; i < s.GetLength(); ++i) {
        char c = s[i];
        if (c == '\r')
            continue;
        if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

CString UnescapeChoices(const CString& s)
{
    CString out;
    for (int i = 0; i < s.GetLength(); ++i) {
        char c = s[i];
        if (c == '\\' && i + 1 < s.GetLength() && s[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (c == '\\' && i + 1 < s.GetLength() && s[i + 1] == 'n') {
            out += "\r\n";
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

const char* const kSideEntries[4] = {"Top", "Left", "Bottom", "Right"};

// "UA" followed by decimal digits only.
BOOL IsUserAttributeEntry(const CString& name, DWORD& nID)
{
    if (name.GetLength() < 3 || name.Left(2).CompareNoCase("UA") != 0)
        return FALSE;
    for (int i = 2; i < name.GetLength(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return FALSE;
    nID = std::strtoul(name.Mid(2), nullptr, 10);
    return TRUE;
}
} // namespace

void CGXStyle::WriteProfile(LPCSTR lpszSection, const CGXStylesMap* pStylesMap) const
{
    CProfileStore* prof = GXGetProfile();
    if (prof == nullptr || lpszSection == nullptr)
        return;
    // An attribute the style lacks deletes its entry, so the section mirrors the style.
    auto put = [&](LPCSTR entry, DWORD bit, const CString& text) {
        prof->WriteProfileString(lpszSection, entry, Has(bit) ? static_cast<LPCSTR>(text) : nullptr);
    };
    auto num = [](unsigned long n) {
        CString s;
        s.Format("%lu", n);
        return s;
    };
    auto flag = [this](DWORD f) { return CString(Flag(f) ? "1" : "0"); };

    put("HorizontalAlignment", incHorzAlign, num(m_nHorzAlign));
    put("VerticalAlignment", incVertAlign, num(m_nVertAlign));
    put("ReadOnly", incReadOnly, flag(flagReadOnly));
    put("FloatCell", incFloatCell, flag(flagFloatCell));
    put("FloodCell", incFloodCell, flag(flagFloodCell));
    put("MergeCell", incMergeCell, num(static_cast<unsigned long>(GetMergeCell())));
    put("Draw3dFrame", incDraw3dFrame, num(static_cast<unsigned long>(GetDraw3dFrame())));
    put("ControlId", incControl, num(m_nControl));
    put("MaxLength", incMaxLength, num(m_nMaxLength));
    put("VerticalScrollbar", incVertScrollbar, flag(flagVertScroll));
    CString base;
    if (Has(incBaseStyle) && pStylesMap != nullptr) {
        UINT nResourceID = 0;
        CString name = pStylesMap->GetStyleName(m_wBaseStyle, nResourceID);
        if (nResourceID != 0)
            base.Format("#%u", nResourceID);
        else
            base = name;
    }
    prof->WriteProfileString(lpszSection, "BaseStyle", base.IsEmpty() ? nullptr : static_cast<LPCSTR>(base));
    COLORREF text = ResolveSysColor(m_clrText);
    CString rgb;
    rgb.Format("%d %d %d", GetRValue(text), GetGValue(text), GetBValue(text));
    put("TextColor", incTextColor, rgb);
    put("WrapText", incWrapText, flag(flagWrapText));
    put("AutoSize", incAutoSize, flag(flagAutoSize));
    put("AllowEnter", incAllowEnter, flag(flagAllowEnter));
    put("Enabled", incEnabled, flag(flagEnabled));
    put("TriState", incTriState, flag(flagTriState));
    put("Value", incValue, m_strValue);
    put("Interior", incInterior, m_brInterior.GetDescription());
    put("ChoicesList", incChoiceList, EscapeChoices(m_strChoices));
    const bool font = Has(incFont) && m_pFont != nullptr;
    prof->WriteProfileString(lpszSection, "Font", font ? static_cast<LPCSTR>(m_pFont->GetDescription()) : nullptr);
    const bool borders = Has(incBorders) && m_pBorders != nullptr;
    prof->WriteProfileString(lpszSection, "Borders", borders ? "1" : nullptr);
    for (int i = 0; i < 4; ++i) {
        CString pen;
        if (borders && m_pBorders[i].bSet)
            pen = m_pBorders[i].GetDescription();
        prof->WriteProfileString(lpszSection, kSideEntries[i], pen.IsEmpty() ? nullptr : static_cast<LPCSTR>(pen));
    }

    // User attributes: remove the entries of ids the style no longer has.
    CStringArray entries;
    GXGetProfileEntryNames(lpszSection, entries);
    for (int i = 0; i < entries.GetSize(); ++i) {
        DWORD id;
        if (IsUserAttributeEntry(entries[i], id) && !HasUserAttribute(static_cast<WORD>(id)))
            prof->WriteProfileString(lpszSection, entries[i], nullptr);
    }
    if (Has(incUserAttr) && m_pUserAttributes != nullptr) {
        for (POSITION pos = m_pUserAttributes->GetStartPosition(); pos;) {
            DWORD id;
            CString v;
            m_pUserAttributes->GetNextAssoc(pos, id, v);
            CString entry;
            entry.Format("UA%lu", static_cast<unsigned long>(id));
            prof->WriteProfileString(lpszSection, entry, v);
        }
    }
}

BOOL CGXStyle::ReadProfile(LPCSTR lpszSection, const CGXStylesMap* pStylesMap)
{
    CProfileStore* prof = GXGetProfile();
    if (prof == nullptr || lpszSection == nullptr)
        return FALSE;
    FreeMembers();
    auto get = [&](LPCSTR entry) { return prof->GetProfileString(lpszSection, entry, ""); };
    auto number = [&](LPCSTR entry, long& n) {
        CString s = get(entry);
        if (s.IsEmpty())
            return false;
        n = std::atol(s);
        return true;
    };
    long n;
    if (number("VerticalAlignment", n))
        SetVerticalAlignment(static_cast<DWORD>(n));
    if (number("HorizontalAlignment", n))
        SetHorizontalAlignment(static_cast<DWORD>(n));
    if (number("ReadOnly", n))
        SetReadOnly(n & 1);
    if (number("FloatCell", n))
        SetFloatCell(n & 1);
    if (number("FloodCell", n))
        SetFloodCell(n & 1);
    if (number("MergeCell", n))
        SetMergeCell(static_cast<int>(n & 7));
    if (number("Draw3dFrame", n))
        SetDraw3dFrame(static_cast<int>(n & 3));
    if (number("MaxLength", n))
        SetMaxLength(static_cast<WORD>(n));
    if (number("VerticalScrollbar", n))
        SetVerticalScrollbar(n & 1);
    if (number("ControlId", n))
        SetControl(static_cast<UINT>(n));
    CString color = get("TextColor");
    if (!color.IsEmpty()) {
        long rgb[4];
        if (GXReadNumbers(color, rgb, 4) == 3)
            SetTextColor(RGB(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF));
    }
    if (number("WrapText", n))
        SetWrapText(n & 1);
    if (number("AutoSize", n))
        SetAutoSize(n & 1);
    if (number("AllowEnter", n))
        SetAllowEnter(n & 1);
    if (number("Enabled", n))
        SetEnabled(n & 1);
    if (number("TriState", n))
        SetTriState(n & 1);
    CString value = get("Value");
    if (!value.IsEmpty())
        SetValue(value);
    CString base = get("BaseStyle");
    if (!base.IsEmpty() && pStylesMap != nullptr) {
        WORD id = base[0] == '#' ? pStylesMap->GetBaseStyleIdFromResource(static_cast<UINT>(std::atol(base.Mid(1))))
                                 : pStylesMap->GetBaseStyleId(base);
        if (id != 0)
            SetBaseStyle(id);
    }
    CString choices = get("ChoicesList");
    if (!choices.IsEmpty())
        SetChoiceList(UnescapeChoices(choices));
    CString font = get("Font");
    if (!font.IsEmpty())
        SetFont(CGXFont(font), gxOverride);
    CString interior = get("Interior");
    if (!interior.IsEmpty()) {
        GXBrushRecord br;
        br.SetDescription(interior);
        SetInterior(br);
    }
    if (get("Borders") == "1") {
        for (int i = 0; i < 4; ++i) {
            CString text = get(kSideEntries[i]);
            if (text.IsEmpty())
                continue;
            GXPenRecord pen;
            pen.SetDescription(text);
            if (pen.bSet)
                SetBorders(i, pen);
        }
    }
    if (pStylesMap != nullptr) {
        for (POSITION pos = pStylesMap->GetFirstUserAttributePosition(); pos;) {
            const CGXStylesMap::UserAttrEntry* e = pStylesMap->GetNextUserAttribute(pos);
            CString entry;
            entry.Format("UA%lu", static_cast<unsigned long>(e->nID));
            CString v = get(entry);
            if (!v.IsEmpty())
                SetUserAttribute(e->nID, v);
        }
    }
    return TRUE;
}
