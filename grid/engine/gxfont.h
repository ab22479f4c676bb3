// Font, interior brush and border pen records of cell styles, and the
// process-wide font table (face -> font type and character set).
#pragma once
#include "afx.h"
#include "gxcoll.h"

// Style change modes shared by fonts and styles.
enum GXModifyType
{
    gxOverride = 0,   // the source's attributes replace ours
    gxApplyNew = 1,   // only attributes we do not have yet
    gxCopy = 2,       // become a copy of the source
    gxExclude = 3,    // remove the attributes the source has
    gxRemove = 4,     // stores only: remove the stored style
};

// The font table: filled once from the display.
struct GXFontTable
{
    CGXCollMapStringToWord m_faces;   // high byte font type, low byte character set
    int m_nLogPixelsY = 96;
    int m_nLogPixelsX = 96;
    BOOL m_bFilled = FALSE;
    void Fill();
    // Character set of a face, 0 when the face is unknown.
    BYTE GetCharSet(LPCSTR lpszFace) const;
};
GXFontTable& GXGetFontTable();

class CGXFont : public CObject
{
    DECLARE_SERIAL(CGXFont)
public:
    enum IncludeBits : DWORD
    {
        incWeight = 0x01,
        incItalic = 0x02,
        incUnderline = 0x04,
        incStrikeOut = 0x08,
        incSize = 0x10,
        incFaceName = 0x20,
        incAll = 0x3F,
    };

    CGXFont() { Init(); }
    explicit CGXFont(LPCSTR lpszDescription);
    explicit CGXFont(const LOGFONT& lf);
    CGXFont(const CGXFont& src) : CObject() { *this = src; }
    CGXFont& operator=(const CGXFont& src);

    void Init();
    CGXFont& SetDefault();

    const LOGFONT& GetLogFont() const { return m_lf; }
    CGXFont& SetLogFont(const LOGFONT& lf);
    DWORD GetIncludeBits() const { return m_nInclude; }
    void SetIncludeBits(DWORD n) { m_nInclude = n & incAll; }
    BOOL IsEmpty() const { return m_nInclude == 0; }

    CGXFont& SetFaceName(LPCSTR lpszFace);
    LPCSTR GetFaceName() const { return m_lf.lfFaceName; }
    CGXFont& SetSize(int nPoints);
    int GetSize() const;   // points
    CGXFont& SetWeight(LONG nWeight);
    LONG GetWeight() const { return m_lf.lfWeight; }
    CGXFont& SetBold(BOOL b) { return SetWeight(b ? FW_BOLD : FW_NORMAL); }
    BOOL GetBold() const { return m_lf.lfWeight >= FW_BOLD; }
    CGXFont& SetItalic(BOOL b);
    BOOL GetItalic() const { return m_lf.lfItalic != 0; }
    CGXFont& SetUnderline(BOOL b);
    BOOL GetUnderline() const { return m_lf.lfUnderline != 0; }
    CGXFont& SetStrikeOut(BOOL b);
    BOOL GetStrikeOut() const { return m_lf.lfStrikeOut != 0; }

    BOOL GetIncludeWeight() const { return (m_nInclude & incWeight) != 0; }
    BOOL GetIncludeItalic() const { return (m_nInclude & incItalic) != 0; }
    BOOL GetIncludeUnderline() const { return (m_nInclude & incUnderline) != 0; }
    BOOL GetIncludeStrikeOut() const { return (m_nInclude & incStrikeOut) != 0; }
    BOOL GetIncludeSize() const { return (m_nInclude & incSize) != 0; }
    BOOL GetIncludeFaceName() const { return (m_nInclude & incFaceName) != 0; }

    void ChangeFont(const CGXFont& src, int nMode);
    BOOL IsSubSet(const CGXFont& src) const;

    // "face,size,weight,italic,underline,strikeout"; absent fields stay empty.
    CString GetDescription() const;
    CGXFont& SetDescription(LPCSTR lpszDescription);
    void WriteProfile(LPCSTR lpszSection, LPCSTR lpszEntry) const;

    void Serialize(CArchive& ar) override;

protected:
    LOGFONT m_lf;
    DWORD m_nInclude;
};

// The interior of a cell.
struct GXBrushRecord
{
    UINT lbStyle = BS_SOLID;       // 0 solid, 1 hollow, 2 hatched, 3 pattern
    COLORREF lbColor = 0;
    LONG_PTR lbHatch = 0;          // hatch style; for patterns the pattern bitmap
    int lbPattern = -1;            // pattern index, -1 none
    COLORREF lbBkColor = RGB(255, 255, 255);

    GXBrushRecord() = default;
    GXBrushRecord(UINT style, COLORREF color, LONG_PTR hatch = 0) : lbStyle(style), lbColor(color), lbHatch(hatch) {}

    GXBrushRecord& SetPattern(int nPattern);
    bool operator==(const GXBrushRecord& b) const;
    bool operator!=(const GXBrushRecord& b) const { return !(*this == b); }

    CString GetDescription() const;
    // Fewer than five numbers leave the record unchanged.
    void SetDescription(LPCSTR lpszText);
};

// One border side of a cell.
struct GXPenRecord
{
    UINT lopnStyle = PS_SOLID;     // 0 solid .. 4 dash-dot-dot, 5 none
    int lopnWidth = 1;
    BOOL bSet = FALSE;
    COLORREF lopnColor = 0;

    GXPenRecord() = default;
    GXPenRecord(UINT style, int width, COLORREF color) : lopnStyle(style), lopnWidth(width), bSet(TRUE), lopnColor(color) {}
    bool operator==(const GXPenRecord& p) const
    {
        return lopnStyle == p.lopnStyle && lopnWidth == p.lopnWidth && (bSet != 0) == (p.bSet != 0) &&
               lopnColor == p.lopnColor;
    }
    bool operator!=(const GXPenRecord& p) const { return !(*this == p); }

    void GetDescription(LPSTR pszBuffer, size_t nSize) const;
    CString GetDescription() const;
    // At least five numbers set the side; fewer clear it.
    void SetDescription(LPCSTR lpszText);
};

CArchive& operator<<(CArchive& ar, const GXBrushRecord& br);
CArchive& operator>>(CArchive& ar, GXBrushRecord& br);

// The brush that draws a patterned or invisible border: FALSE for solid pens.
BOOL GXGetBorderBrush(const GXPenRecord& pen, const GXBrushRecord& interior, BOOL bSecondSet, BOOL bBlackWhite,
                      GXBrushRecord& brOut);
