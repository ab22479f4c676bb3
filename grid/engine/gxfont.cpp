#include "gxfont.h"
#include "gxprofile.h"
#include "gxutil.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// ---------------------------------------------------------------------------
// Font table

namespace {
int CALLBACK EnumFamilyProc(const LOGFONTA* lf, const TEXTMETRICA*, DWORD fontType, LPARAM lParam)
{
    GXFontTable* table = reinterpret_cast<GXFontTable*>(lParam);
    table->m_faces.SetAt(lf->lfFaceName, static_cast<WORD>(((fontType & 0xFF) << 8) | lf->lfCharSet));
    return 1;
}
} // namespace

void GXFontTable::Fill()
{
    m_bFilled = TRUE;
    HDC hdc = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (hdc == nullptr)
        return;
    ::EnumFontFamiliesA(hdc, nullptr, EnumFamilyProc, reinterpret_cast<LPARAM>(this));
    m_nLogPixelsY = ::GetDeviceCaps(hdc, LOGPIXELSY);
    m_nLogPixelsX = ::GetDeviceCaps(hdc, LOGPIXELSX);
    if (m_nLogPixelsY <= 0)
        m_nLogPixelsY = 96;
    if (m_nLogPixelsX <= 0)
        m_nLogPixelsX = 96;
    ::DeleteDC(hdc);
}

BYTE GXFontTable::GetCharSet(LPCSTR lpszFace) const
{
    WORD w = 0;
    if (lpszFace != nullptr && m_faces.Lookup(lpszFace, w))
        return static_cast<BYTE>(w & 0xFF);
    return 0;
}

GXFontTable& GXGetFontTable()
{
    static GXFontTable table;
    if (!table.m_bFilled)
        table.Fill();
    return table;
}

// ---------------------------------------------------------------------------
// CGXFont

CGXFont::CGXFont(LPCSTR lpszDescription)
{
    Init();
    SetDescription(lpszDescription);
}

CGXFont::CGXFont(const LOGFONT& lf)
{
    Init();
    m_lf = lf;
    m_nInclude = incAll;
    m_lf.lfCharSet = GXGetFontTable().GetCharSet(m_lf.lfFaceName);
}

CGXFont& CGXFont::operator=(const CGXFont& src)
{
    if (&src != this) {
        m_lf = src.m_lf;
        m_nInclude = src.m_nInclude;
    }
    return *this;
}

void CGXFont::Init()
{
    std::memset(&m_lf, 0, sizeof(m_lf));
    m_nInclude = 0;
}

CGXFont& CGXFont::SetDefault()
{
    Init();
    m_lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(m_lf.lfFaceName, "Arial");
    if (::GetSystemMetrics(SM_DBCSENABLED)) {
        HGDIOBJ h = ::GetStockObject(DEFAULT_GUI_FONT);
        if (h == nullptr || ::GetObjectA(h, sizeof(LOGFONTA), &m_lf) == 0)
            ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof(LOGFONTA), &m_lf);
    }
    m_lf.lfItalic = 0;
    m_lf.lfUnderline = 0;
    m_lf.lfHeight = -11;
    m_lf.lfWeight = FW_NORMAL;
    m_nInclude = incAll;
    return *this;
}

CGXFont& CGXFont::SetLogFont(const LOGFONT& lf)
{
    m_lf = lf;
    m_nInclude = incAll;
    return *this;
}

CGXFont& CGXFont::SetFaceName(LPCSTR lpszFace)
{
    std::memset(m_lf.lfFaceName, 0, sizeof(m_lf.lfFaceName));
    if (lpszFace != nullptr)
        std::strncpy(m_lf.lfFaceName, lpszFace, LF_FACESIZE - 1);
    m_lf.lfCharSet = GXGetFontTable().GetCharSet(m_lf.lfFaceName);
    m_nInclude |= incFaceName;
    return *this;
}

CGXFont& CGXFont::SetSize(int nPoints)
{
    m_lf.lfHeight = -::MulDiv(nPoints, GXGetFontTable().m_nLogPixelsY, 72);
    m_nInclude |= incSize;
    return *this;
}

int CGXFont::GetSize() const { return -::MulDiv(m_lf.lfHeight, 72, GXGetFontTable().m_nLogPixelsY); }

CGXFont& CGXFont::SetWeight(LONG nWeight)
{
    m_lf.lfWeight = nWeight;
    m_nInclude |= incWeight;
    return *this;
}

CGXFont& CGXFont::SetItalic(BOOL b)
{
    m_lf.lfItalic = b ? 1 : 0;
    m_nInclude |= incItalic;
    return *this;
}

CGXFont& CGXFont::SetUnderline(BOOL b)
{
    m_lf.lfUnderline = b ? 1 : 0;
    m_nInclude |= incUnderline;
    return *this;
}

CGXFont& CGXFont::SetStrikeOut(BOOL b)
{
    m_lf.lfStrikeOut = b ? 1 : 0;
    m_nInclude |= incStrikeOut;
    return *this;
}

void CGXFont::ChangeFont(const CGXFont& src, int nMode)
{
    if (nMode == gxExclude) {
        m_nInclude &= ~src.m_nInclude;
        return;
    }
    if (nMode == gxCopy) {
        Init();
        nMode = gxOverride;
    }
    DWORD take = src.m_nInclude;
    if (nMode == gxApplyNew)
        take &= ~m_nInclude;
    if (take & incWeight)
        SetWeight(src.m_lf.lfWeight);
    if (take & incItalic)
        SetItalic(src.m_lf.lfItalic);
    if (take & incUnderline)
        SetUnderline(src.m_lf.lfUnderline);
    if (take & incStrikeOut)
        SetStrikeOut(src.m_lf.lfStrikeOut);
    if (take & incSize)
        SetSize(src.GetSize());
    if (take & incFaceName)
        SetFaceName(src.m_lf.lfFaceName);
}

BOOL CGXFont::IsSubSet(const CGXFont& src) const
{
    DWORD need = src.m_nInclude;
    if ((m_nInclude & need) != need)
        return FALSE;
    if ((need & incWeight) && m_lf.lfWeight != src.m_lf.lfWeight)
        return FALSE;
    if ((need & incItalic) && (m_lf.lfItalic != 0) != (src.m_lf.lfItalic != 0))
        return FALSE;
    if ((need & incUnderline) && (m_lf.lfUnderline != 0) != (src.m_lf.lfUnderline != 0))
        return FALSE;
    if ((need & incStrikeOut) && (m_lf.lfStrikeOut != 0) != (src.m_lf.lfStrikeOut != 0))
        return FALSE;
    if ((need & incSize) && GetSize() != src.GetSize())
        return FALSE;
    if ((need & incFaceName) && std::strcmp(m_lf.lfFaceName, src.m_lf.lfFaceName) != 0)
        return FALSE;
    return TRUE;
}

CString CGXFont::GetDescription() const
{
    CString s;
    if (m_nInclude & incFaceName)
        s += m_lf.lfFaceName;
    s += ',';
    CString n;
    if (m_nInclude & incSize) {
        n.Format("%d", GetSize());
        s += n;
    }
    s += ',';
    if (m_nInclude & incWeight) {
        n.Format("%d", static_cast<int>(m_lf.lfWeight));
        s += n;
    }
    s += ',';
    if (m_nInclude & incItalic)
        s += m_lf.lfItalic ? "1" : "0";
    s += ',';
    if (m_nInclude & incUnderline)
        s += m_lf.lfUnderline ? "1" : "0";
    s += ',';
    if (m_nInclude & incStrikeOut)
        s += m_lf.lfStrikeOut ? "1" : "0";
    return s;
}

CGXFont& CGXFont::SetDescription(LPCSTR lpszDescription)
{
    Init();
    if (lpszDescription == nullptr)
        return *this;
    const char* p = lpszDescription;
    const char* comma = std::strchr(p, ',');
    CString face = comma ? CString(p, static_cast<int>(comma - p)) : CString(p);
    if (!face.IsEmpty())
        SetFaceName(face);
    for (int field = 0; field < 5 && comma != nullptr; ++field) {
        p = comma + 1;
        comma = std::strchr(p, ',');
        CString text = comma ? CString(p, static_cast<int>(comma - p)) : CString(p);
        if (text.IsEmpty())
            continue;
        long v = std::atol(text);
        switch (field) {
        case 0: SetSize(static_cast<int>(v)); break;
        case 1: SetWeight(v); break;
        case 2: SetItalic(v != 0); break;
        case 3: SetUnderline(v != 0); break;
        case 4: SetStrikeOut(v != 0); break;
        }
    }
    return *this;
}

// ---------------------------------------------------------------------------
// Brush and pen records

GXBrushRecord& GXBrushRecord::SetPattern(int nPattern)
{
    lbStyle = BS_PATTERN;
    lbPattern = nPattern;
    lbHatch = reinterpret_cast<LONG_PTR>(GXGetPatternBitmap(nPattern));
    return *this;
}

bool GXBrushRecord::operator==(const GXBrushRecord& b) const
{
    return lbStyle == b.lbStyle && lbColor == b.lbColor && lbHatch == b.lbHatch && lbPattern == b.lbPattern &&
           lbBkColor == b.lbBkColor;
}

namespace {
BYTE R(COLORREF c) { return GetRValue(c); }
BYTE G(COLORREF c) { return GetGValue(c); }
BYTE B(COLORREF c) { return GetBValue(c); }
int Top(COLORREF c) { return static_cast<int>(c >> 24); }
} // namespace

CString GXBrushRecord::GetDescription() const
{
    CString s;
    long hatch = lbStyle == BS_PATTERN ? lbPattern : static_cast<long>(lbHatch);
    s.Format("%lu %ld %d %d %d %d %d %d %d", static_cast<unsigned long>(lbStyle), hatch, R(lbColor), G(lbColor),
             B(lbColor), R(lbBkColor), G(lbBkColor), B(lbBkColor), Top(lbColor));
    return s;
}

void GXBrushRecord::SetDescription(LPCSTR lpszText)
{
    long v[9];
    int n = GXReadNumbers(lpszText, v, 9);
    if (n < 5)
        return;
    lbStyle = static_cast<UINT>(v[0]);
    lbColor = RGB(v[2] & 0xFF, v[3] & 0xFF, v[4] & 0xFF);
    if (lbStyle == BS_PATTERN) {
        lbPattern = static_cast<int>(v[1]);
        lbHatch = reinterpret_cast<LONG_PTR>(GXGetPatternBitmap(lbPattern));
    } else {
        lbHatch = v[1];
    }
    if (n >= 8)
        lbBkColor = RGB(v[5] & 0xFF, v[6] & 0xFF, v[7] & 0xFF);
    if (n >= 9) {
        // The top byte keeps system colours and palette entries apart from RGB.
        DWORD top = static_cast<DWORD>(v[8] & 0xFF);
        if (top == 1)
            lbColor = 0x01000000 | ((v[3] & 0xFF) << 8) | (v[2] & 0xFF);
        else
            lbColor = (top << 24) | (lbColor & 0xFFFFFF);
    }
}

void GXPenRecord::GetDescription(LPSTR pszBuffer, size_t nSize) const
{
    std::snprintf(pszBuffer, nSize, "%lu %ld %d %d %d %d", static_cast<unsigned long>(lopnStyle),
                  static_cast<long>(lopnWidth), R(lopnColor), G(lopnColor), B(lopnColor), Top(lopnColor));
}

CString GXPenRecord::GetDescription() const
{
    char buf[80];
    GetDescription(buf, sizeof(buf));
    return CString(buf);
}

void GXPenRecord::SetDescription(LPCSTR lpszText)
{
    long v[6];
    int n = GXReadNumbers(lpszText, v, 6);
    if (n < 5) {
        bSet = FALSE;
        return;
    }
    lopnStyle = static_cast<UINT>(v[0]);
    lopnWidth = static_cast<int>(v[1]);
    lopnColor = RGB(v[2] & 0xFF, v[3] & 0xFF, v[4] & 0xFF);
    if (n >= 6)
        lopnColor |= static_cast<COLORREF>(v[5] & 0xFF) << 24;
    bSet = TRUE;
}

BOOL GXGetBorderBrush(const GXPenRecord& pen, const GXBrushRecord& interior, BOOL bSecondSet, BOOL bBlackWhite,
                      GXBrushRecord& brOut)
{
    if (pen.lopnStyle == PS_NULL) {
        brOut = interior;
        return TRUE;
    }
    if (pen.lopnStyle >= 1 && pen.lopnStyle <= 4) {
        brOut = GXBrushRecord();
        brOut.SetPattern(static_cast<int>(pen.lopnStyle) + (bSecondSet ? 36 : 32));
        if (bBlackWhite) {
            brOut.lbColor = RGB(0, 0, 0);
            brOut.lbBkColor = RGB(255, 255, 255);
        } else {
            brOut.lbColor = pen.lopnColor;
            brOut.lbBkColor = interior.lbStyle == BS_SOLID ? interior.lbColor : interior.lbBkColor;
        }
        return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
IMPLEMENT_SERIAL(CGXFont, CObject, 0)

// Schema 1 had no strike-out; schema 2 appends it.
void CGXFont::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(2) << static_cast<DWORD>(m_lf.lfHeight) << static_cast<DWORD>(m_lf.lfWeight)
           << static_cast<BYTE>(m_lf.lfItalic) << static_cast<BYTE>(m_lf.lfUnderline)
           << static_cast<BYTE>(m_lf.lfPitchAndFamily) << CString(m_lf.lfFaceName) << m_nInclude
           << static_cast<BYTE>(m_lf.lfStrikeOut);
        return;
    }
    WORD wSchema;
    ar >> wSchema;
    if (wSchema != 1 && wSchema != 2)
        AfxThrowArchiveException(CArchiveException::badSchema);
    DWORD height, weight, include;
    BYTE italic, underline, pitch, strike = 0;
    CString face;
    ar >> height >> weight >> italic >> underline >> pitch >> face >> include;
    if (wSchema >= 2)
        ar >> strike;
    Init();
    m_lf.lfHeight = static_cast<LONG>(height);
    m_lf.lfWeight = static_cast<LONG>(weight);
    m_lf.lfItalic = italic;
    m_lf.lfUnderline = underline;
    m_lf.lfPitchAndFamily = pitch;
    m_lf.lfStrikeOut = strike;
    SetFaceName(face);
    m_nInclude = include & incAll;
}

CArchive& operator<<(CArchive& ar, const GXBrushRecord& br)
{
    ar << static_cast<DWORD>(br.lbStyle) << static_cast<DWORD>(br.lbColor) << static_cast<DWORD>(br.lbHatch)
       << static_cast<LONG>(br.lbPattern) << static_cast<DWORD>(br.lbBkColor);
    return ar;
}

CArchive& operator>>(CArchive& ar, GXBrushRecord& br)
{
    DWORD style, color, hatch, bk;
    LONG pattern;
    ar >> style >> color >> hatch >> pattern >> bk;
    br.lbStyle = style;
    br.lbColor = color;
    br.lbHatch = static_cast<LONG_PTR>(hatch);
    br.lbPattern = static_cast<int>(pattern);
    br.lbBkColor = bk;
    if (br.lbStyle == BS_PATTERN) {
        if (br.lbPattern < 0 || br.lbPattern >= GX_PATTERN_COUNT)
            br.lbStyle = BS_HOLLOW;
        else
            br.lbHatch = reinterpret_cast<LONG_PTR>(GXGetPatternBitmap(br.lbPattern));
    }
    return ar;
}
void CGXFont::WriteProfile(LPCSTR lpszSection, LPCSTR lpszEntry) const
{
    CProfileStore* p = GXGetProfile();
    if (p == nullptr || lpszSection == nullptr || lpszEntry == nullptr)
        return;
    p->WriteProfileString(lpszSection, lpszEntry, GetDescription());
}
