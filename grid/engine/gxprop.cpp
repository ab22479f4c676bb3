#include "gxprop.h"
#include "gxresrc.h"
#include "gxprofile.h"
#include "gxutil.h"
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <ctime>

CGXProperties::CGXProperties() : m_sSection("Grid")
{
    const UINT choices[5] = {GX_IDS_CHOICE_INVERTTHIN, GX_IDS_CHOICE_INVERTTHICK, GX_IDS_CHOICE_THINBORDER,
                             GX_IDS_CHOICE_THICKBORDER, GX_IDS_CHOICE_NOBORDER};
    for (int i = 0; i < 5; ++i)
        m_sChoices[i].LoadString(choices[i]);

    for (LPCSTR token : {"$F", "$A", "$P", "$N", "$D", "$R"})
        AddToken(token);

    AddColorProperty(GX_IDS_COLOR_GRIDLINES, GXSysColorCode(COLOR_GRAYTEXT));
    AddColorProperty(GX_IDS_COLOR_FIXEDLINES, GXSysColorCode(COLOR_ACTIVECAPTION));
    AddColorProperty(GX_IDS_COLOR_TRACKING, RGB(255, 0, 0));
    AddColorProperty(GX_IDS_COLOR_DRAGGING, RGB(255, 0, 0));
    AddColorProperty(GX_IDS_COLOR_BACKGROUND, GXSysColorCode(COLOR_BTNFACE));

    m_dataFooter.StoreRowCount(10);
    m_dataFooter.StoreColCount(3);
    CGXStyle s;
    s.SetValue("$D");
    m_dataFooter.StoreStyleRowCol(1, 1, &s, gxCopy);
    s.SetValue("$P/$N");
    m_dataFooter.StoreStyleRowCol(1, 3, &s, gxCopy);

    m_dataHeader.StoreRowCount(10);
    m_dataHeader.StoreColCount(3);
    s.Init();
    s.SetValue("$R");
    s.SetFont(CGXFont().SetWeight(FW_BOLD).SetSize(16));
    m_dataHeader.StoreStyleRowCol(1, 2, &s, gxCopy);
}

CGXProperties::~CGXProperties() { DeleteUserProperties(); }

void CGXProperties::DeleteUserProperties() { GXDeleteStyleEntries<UserPropertyEntry>(m_UserProperties); }

CGXProperties& CGXProperties::operator=(const CGXProperties& src)
{
    if (&src == this)
        return *this;
    for (int i = 0; i < 5; ++i)
        m_sChoices[i] = src.m_sChoices[i];
    m_styleDefaultUserProperty = src.m_styleDefaultUserProperty;
    m_TokenNames.Copy(src.m_TokenNames);
    m_TokenValues.Copy(src.m_TokenValues);
    GXCopyStyleEntries<UserPropertyEntry>(m_UserProperties, src.m_UserProperties);
    m_b3dHeader = src.m_b3dHeader;
    m_bVertLines = src.m_bVertLines;
    m_bHorzLines = src.m_bHorzLines;
    m_bMarkRowHeader = src.m_bMarkRowHeader;
    m_bMarkColHeader = src.m_bMarkColHeader;
    m_bPrinting = src.m_bPrinting;
    m_sSection = src.m_sSection;
    m_ColorNames.Copy(src.m_ColorNames);
    m_ColorValues.Copy(src.m_ColorValues);
    m_nZoom = src.m_nZoom;
    m_nBottomMargin = src.m_nBottomMargin;
    m_nLeftMargin = src.m_nLeftMargin;
    m_nTopMargin = src.m_nTopMargin;
    m_nRightMargin = src.m_nRightMargin;
    m_bCenterHorizontal = src.m_bCenterHorizontal;
    m_bCenterVertical = src.m_bCenterVertical;
    m_bPrintColHeaders = src.m_bPrintColHeaders;
    m_bPrintHorzLines = src.m_bPrintHorzLines;
    m_bPrintRowHeaders = src.m_bPrintRowHeaders;
    m_bPrintVertLines = src.m_bPrintVertLines;
    m_nPageOrder = src.m_nPageOrder;
    m_bBlackWhite = src.m_bBlackWhite;
    m_bPrintFrame = src.m_bPrintFrame;
    m_nHeaderDistance = src.m_nHeaderDistance;
    m_nFooterDistance = src.m_nFooterDistance;
    m_nFirstPage = src.m_nFirstPage;
    m_dataFooter = src.m_dataFooter;
    m_dataHeader = src.m_dataHeader;
    m_wArchiveA = src.m_wArchiveA;
    m_wArchiveB = src.m_wArchiveB;
    return *this;
}

void CGXProperties::AddDefaultUserProperties()
{
    CGXStyle style;
    style.SetControl(GX_IDS_CTRL_CBS_DROPDOWNLIST);
    CString choices;
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            choices += "\n";
        choices += m_sChoices[i];
    }
    style.SetChoiceList(choices);
    style.SetValue(m_sChoices[0]);
    AddUserProperty(GX_IDS_UA_CURRENTCELL, style);
}

int CGXProperties::AddColorProperty(UINT nNameID, COLORREF color)
{
    CString name;
    name.LoadString(nNameID);
    return AddColor(name, color);
}

int CGXProperties::AddColor(LPCSTR lpszName, COLORREF color)
{
    m_ColorNames.Add(lpszName);
    return m_ColorValues.Add(color);
}

COLORREF CGXProperties::GetColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_ColorValues.GetSize() ? m_ColorValues[nIndex] : 0;
}

void CGXProperties::SetColor(int nIndex, COLORREF color)
{
    if (nIndex >= 0 && nIndex < m_ColorValues.GetSize())
        m_ColorValues[nIndex] = color;
}

CString CGXProperties::GetColorName(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_ColorNames.GetSize() ? m_ColorNames[nIndex] : CString();
}

void CGXProperties::AddUserProperty(DWORD nID, const CGXStyle& style)
{
    void* p = nullptr;
    if (m_UserProperties.Lookup(nID, p)) {
        UserPropertyEntry* e = static_cast<UserPropertyEntry*>(p);
        CGXStyle* pNew = style.Clone();
        delete e->pStyle;
        e->pStyle = pNew;
        return;
    }
    UserPropertyEntry* e = new UserPropertyEntry;
    e->nID = nID;
    e->sName.LoadString(nID);
    e->pStyle = style.Clone();
    m_UserProperties.SetAt(nID, e);
}

const CGXStyle& CGXProperties::GetUserProperty(DWORD nID) const
{
    void* p = nullptr;
    if (m_UserProperties.Lookup(nID, p))
        return *static_cast<UserPropertyEntry*>(p)->pStyle;
    return m_styleDefaultUserProperty;
}

int CGXProperties::AddToken(LPCSTR lpszToken)
{
    m_TokenValues.Add("");
    return m_TokenNames.Add(lpszToken);
}

void CGXProperties::SetTokenValue(int nToken, LPCSTR lpszValue)
{
    if (nToken < 0)
        return;
    if (nToken >= m_TokenValues.GetSize())
        m_TokenValues.SetSize(nToken + 1);
    m_TokenValues[nToken] = lpszValue;
}

void CGXProperties::GetMargins(int& top, int& left, int& bottom, int& right) const
{
    top = m_nTopMargin;
    left = m_nLeftMargin;
    bottom = m_nBottomMargin;
    right = m_nRightMargin;
}

void CGXProperties::SetMargins(int top, int left, int bottom, int right)
{
    m_nTopMargin = top;
    m_nLeftMargin = left;
    m_nBottomMargin = bottom;
    m_nRightMargin = right;
}

void CGXProperties::GetDistances(int& nHeader, int& nFooter) const
{
    nHeader = m_nHeaderDistance;
    nFooter = m_nFooterDistance;
}

void CGXProperties::SetDistances(int nHeader, int nFooter)
{
    m_nHeaderDistance = nHeader;
    m_nFooterDistance = nFooter;
}

CString CGXProperties::ExpandTokens(LPCSTR lpszText)
{
    CString out;
    CString rest = lpszText != nullptr ? lpszText : "";
    while (!rest.IsEmpty()) {
        int token = -1;
        for (int i = 0; i < m_TokenNames.GetSize(); ++i) {
            const CString& name = m_TokenNames[i];
            if (!name.IsEmpty() && std::strncmp(rest, name, static_cast<size_t>(name.GetLength())) == 0) {
                token = i;
                break;
            }
        }
        if (token < 0) {
            out += rest[0];
            rest = rest.Mid(1);
            continue;
        }
        rest = rest.Mid(m_TokenNames[token].GetLength());
        out += GetTokenValue(token, rest);
    }
    return out;
}

CString CGXProperties::GetTokenValue(int nToken, CString& rest)
{
    if (nToken >= 0 && nToken < m_TokenNames.GetSize() && m_TokenNames[nToken] == "$D") {
        CString format;
        if (!rest.IsEmpty() && rest[0] == '{') {
            int close = rest.Find('}');
            if (close < 0)
                return CString();
            format = rest.Mid(1, close - 1);
            rest = rest.Mid(close + 1);
        }
        if (format.IsEmpty())
            format = "%c";
        return GXFormatTimeSafe(format);
    }
    if (nToken >= 0 && nToken < m_TokenValues.GetSize())
        return m_TokenValues[nToken];
    return CString();
}

CString GXFormatTimeSafe(LPCSTR lpszFormat)
{
    // The runtime aborts on an unknown conversion instead of failing.
    static const char kAllowed[] = "aAbBcdHIjmMpSUwWxXyYzZ%";
    for (const char* p = lpszFormat; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '#')
            ++p;
        if (*p == 0 || std::strchr(kAllowed, *p) == nullptr)
            return CString();
    }
    std::time_t now = std::time(nullptr);
    std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return CString();
    char buf[256];
    size_t n = std::strftime(buf, sizeof(buf) - 1, lpszFormat, local);
    if (n == 0)
        return CString();
    return CString(buf, static_cast<int>(n));
}

// ---------------------------------------------------------------------------
IMPLEMENT_SERIAL(CGXProperties, CObject, 0)

void CGXProperties::Serialize(CArchive& ar)
{
    auto dw = [&ar](auto& v) {
        if (ar.IsStoring()) {
            ar << static_cast<DWORD>(v);
        } else {
            DWORD d;
            ar >> d;
            v = static_cast<std::remove_reference_t<decltype(v)>>(d);
        }
    };
    WORD nSchema = 2;
    if (ar.IsStoring()) {
        ar << nSchema;
    } else {
        ar >> nSchema;
        if (nSchema > 2)
            AfxThrowArchiveException(CArchiveException::badSchema);
    }

    m_ColorValues.Serialize(ar);
    m_ColorNames.Serialize(ar);
    if (ar.IsLoading() && m_ColorNames.GetSize() != m_ColorValues.GetSize()) {
        // Names and values stay parallel.
        int n = std::min(m_ColorNames.GetSize(), m_ColorValues.GetSize());
        m_ColorNames.SetSize(n);
        m_ColorValues.SetSize(n);
    }
    dw(m_bVertLines);
    dw(m_bHorzLines);
    dw(m_b3dHeader);
    dw(m_bMarkRowHeader);
    dw(m_bMarkColHeader);
    if (ar.IsStoring())
        ar << m_sSection;
    else
        ar >> m_sSection;
    dw(m_nZoom);

    if (ar.IsStoring()) {
        for (POSITION pos = m_UserProperties.GetStartPosition(); pos;) {
            DWORD id;
            void* p;
            m_UserProperties.GetNextAssoc(pos, id, p);
            const UserPropertyEntry* e = static_cast<const UserPropertyEntry*>(p);
            if (id == 0)
                continue;
            ar << id << e->sName;
            ar.WriteObject(e->pStyle);
        }
        ar << static_cast<DWORD>(0);
    } else {
        for (;;) {
            DWORD id;
            ar >> id;
            if (id == 0)
                break;
            CString name;
            ar >> name;
            CGXStyle* pStyle = static_cast<CGXStyle*>(ar.ReadObject(RUNTIME_CLASS(CGXStyle)));
            void* p = nullptr;
            UserPropertyEntry* e;
            if (m_UserProperties.Lookup(id, p)) {
                e = static_cast<UserPropertyEntry*>(p);
                delete e->pStyle;
            } else {
                e = new UserPropertyEntry;
                m_UserProperties.SetAt(id, e);
            }
            e->nID = id;
            e->sName = name;
            e->pStyle = pStyle != nullptr ? pStyle : new CGXStyle;
        }
    }

    dw(m_bPrintVertLines);
    dw(m_bPrintHorzLines);
    dw(m_nPageOrder);
    dw(m_bBlackWhite);
    dw(m_bPrintRowHeaders);
    dw(m_bCenterVertical);
    dw(m_bCenterHorizontal);
    dw(m_nTopMargin);
    dw(m_nLeftMargin);
    dw(m_nRightMargin);
    dw(m_nBottomMargin);
    dw(m_bPrintFrame);
    dw(m_nHeaderDistance);
    dw(m_nFooterDistance);
    dw(m_nFirstPage);
    if (ar.IsStoring())
        ar << m_wArchiveA << m_wArchiveB;
    else
        ar >> m_wArchiveA >> m_wArchiveB;
    m_dataFooter.Serialize(ar);
    m_dataHeader.Serialize(ar);
    if (nSchema >= 2)
        dw(m_bPrintColHeaders);
}
// ---------------------------------------------------------------------------
// Profile

void CGXProperties::SaveToProfile()
{
    CProfileStore* prof = GXGetProfile();
    if (prof == nullptr)
        return;
    LPCSTR section = m_sSection;
    auto putLong = [&](LPCSTR entry, long v) {
        CString s;
        s.Format("%ld", v);
        prof->WriteProfileString(section, entry, s);
    };
    for (int i = 0; i < m_ColorValues.GetSize(); ++i) {
        CString s;
        s.Format("%lu", static_cast<unsigned long>(m_ColorValues[i]));
        prof->WriteProfileString(section, m_ColorNames[i], s);
    }
    putLong("MarkColumnHeader", m_bMarkColHeader);
    putLong("MarkRowHeader", m_bMarkRowHeader);
    putLong("3dHeader", m_b3dHeader);
    putLong("HorizontalLines", m_bHorzLines);
    putLong("VerticalLines", m_bVertLines);
    for (POSITION pos = m_UserProperties.GetStartPosition(); pos;) {
        DWORD id;
        void* p;
        m_UserProperties.GetNextAssoc(pos, id, p);
        const UserPropertyEntry* e = static_cast<const UserPropertyEntry*>(p);
        if (!e->pStyle->GetIncludeValue())
            continue;
        CString entry;
        entry.Format("UP%u", static_cast<unsigned>(id));
        prof->WriteProfileString(section, entry, e->pStyle->GetValue());
    }
    putLong("Page Order", m_nPageOrder);
    putLong("Print Vertical Lines", m_bPrintVertLines);
    putLong("Print Horizontal Lines", m_bPrintHorzLines);
    putLong("Print Only Black&White", m_bBlackWhite);
    putLong("Print Row Headers", m_bPrintRowHeaders);
    putLong("Print Column Headers", m_bPrintColHeaders);
    putLong("Center Vertical", m_bCenterVertical);
    putLong("Center Horizontal", m_bCenterHorizontal);
    putLong("Print Frame", m_bPrintFrame);
    CString s;
    s.Format("%ld,%ld,%ld,%ld", static_cast<long>(m_nTopMargin), static_cast<long>(m_nLeftMargin),
             static_cast<long>(m_nBottomMargin), static_cast<long>(m_nRightMargin));
    prof->WriteProfileString(section, "Margins", s);
    putLong("Start Page Numbering", m_nFirstPage);
    s.Format("%ld,%ld", static_cast<long>(m_nHeaderDistance), static_cast<long>(m_nFooterDistance));
    prof->WriteProfileString(section, "Distances", s);
}

namespace {
// Numbers separated by commas, each after optional blanks; a missing comma
// ends the list and leaves the remaining values as they were.
void ParseNumberList(const CString& text, int* const* values, int nValues)
{
    const char* p = text;
    for (int i = 0; i < nValues; ++i) {
        while (*p == ' ' || *p == '\t')
            ++p;
        *values[i] = static_cast<int>(std::atol(p));
        const char* comma = std::strchr(p, ',');
        if (comma == nullptr)
            return;
        p = comma + 1;
    }
}
} // namespace

BOOL CGXProperties::LoadFromProfile()
{
    CProfileStore* prof = GXGetProfile();
    if (prof == nullptr || !GXProfileSectionExists(m_sSection))
        return FALSE;
    LPCSTR section = m_sSection;
    auto get = [&](LPCSTR entry) { return prof->GetProfileString(section, entry, ""); };
    auto getInt = [&](LPCSTR entry, auto& v) {
        CString s = get(entry);
        if (!s.IsEmpty())
            v = static_cast<std::remove_reference_t<decltype(v)>>(std::atol(s));
    };
    // Colours were written unsigned; a signed conversion would clip system colours.
    for (int i = 0; i < m_ColorValues.GetSize(); ++i) {
        CString s = get(m_ColorNames[i]);
        if (!s.IsEmpty())
            m_ColorValues[i] = static_cast<DWORD>(std::strtoul(s, nullptr, 10));
    }
    getInt("VerticalLines", m_bVertLines);
    getInt("HorizontalLines", m_bHorzLines);
    getInt("3dHeader", m_b3dHeader);
    getInt("MarkRowHeader", m_bMarkRowHeader);
    getInt("MarkColumnHeader", m_bMarkColHeader);
    for (POSITION pos = m_UserProperties.GetStartPosition(); pos;) {
        DWORD id;
        void* p;
        m_UserProperties.GetNextAssoc(pos, id, p);
        CString entry;
        entry.Format("UP%u", static_cast<unsigned>(id));
        static_cast<UserPropertyEntry*>(p)->pStyle->SetValue(get(entry));
    }
    getInt("Page Order", m_nPageOrder);
    getInt("Print Vertical Lines", m_bPrintVertLines);
    getInt("Print Horizontal Lines", m_bPrintHorzLines);
    getInt("Print Only Black&White", m_bBlackWhite);
    getInt("Print Row Headers", m_bPrintRowHeaders);
    getInt("Print Column Headers", m_bPrintColHeaders);
    getInt("Center Vertical", m_bCenterVertical);
    getInt("Center Horizontal", m_bCenterHorizontal);
    getInt("Print Frame", m_bPrintFrame);
    CString margins = get("Margins");
    if (!margins.IsEmpty()) {
        int* const values[4] = {&m_nTopMargin, &m_nLeftMargin, &m_nBottomMargin, &m_nRightMargin};
        ParseNumberList(margins, values, 4);
    }
    getInt("Start Page Numbering", m_nFirstPage);
    CString distances = get("Distances");
    if (!distances.IsEmpty()) {
        int* const values[2] = {&m_nHeaderDistance, &m_nFooterDistance};
        ParseNumberList(distances, values, 2);
    }
    return TRUE;
}
