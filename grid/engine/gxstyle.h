// The style of a grid cell: include bits plus attribute values, merged in
// layers (cell, row, column, table, base styles, headers, standard).
#pragma once
#include "afx.h"
#include "gxfont.h"

class CGXStylesMap;

enum GXBorderSide
{
    gxBorderLeft = 0,
    gxBorderRight = 1,
    gxBorderTop = 2,
    gxBorderBottom = 3,
    gxBorderAll = -1,
};

// Control ids the engine itself uses.
enum
{
    GX_IDS_CTRL_EDIT_ID = 52512,
    GX_IDS_CTRL_HEADER_ID = 52520,
};

class CGXStyle : public CObject
{
    DECLARE_SERIAL(CGXStyle)
public:
    // Include bits, as the include masks number them.
    enum : DWORD
    {
        incHorzAlign = 1u << 0,
        incVertAlign = 1u << 1,
        incReadOnly = 1u << 2,
        incControl = 1u << 3,
        incInterior = 1u << 4,
        incTextColor = 1u << 5,
        incWrapText = 1u << 6,
        incAllowEnter = 1u << 7,
        incBorders = 1u << 8,
        incFont = 1u << 9,
        incValue = 1u << 10,
        incChoiceList = 1u << 11,
        incVertScrollbar = 1u << 12,
        incMaxLength = 1u << 13,
        incBaseStyle = 1u << 14,
        incEnabled = 1u << 15,
        incTriState = 1u << 16,
        incDraw3dFrame = 1u << 17,
        incUserAttr = 1u << 18,
        incAutoSize = 1u << 19,
        incItemData = 1u << 20,
        incFloatCell = 1u << 21,
        incFloodCell = 1u << 22,
        incMergeCell = 1u << 23,
        incAll = 0xFFFFFFu,
    };

    CGXStyle() { Init(); }
    CGXStyle(const CGXStyle& src);
    ~CGXStyle() override;

    virtual CGXStyle* Clone() const;
    virtual CGXStyle& SetValue(LPCSTR lpszValue);
    virtual CGXStyle& operator=(const CGXStyle& src);
    virtual CGXStyle& SetDefault();
    virtual BOOL IsSubSet(const CGXStyle& style) const;
    // The archive form; without a map the archive's context object is used
    // when it is a styles map.
    virtual void Serialize(CArchive& ar, const CGXStylesMap* pStylesMap);
    virtual void WriteProfile(LPCSTR lpszSection, const CGXStylesMap* pStylesMap) const;
    virtual BOOL ReadProfile(LPCSTR lpszSection, const CGXStylesMap* pStylesMap);
    virtual void ResolveBaseStyle(const CGXStylesMap* pStylesMap);
    virtual void ChangeStyle(const CGXStyle& src, int nMode);
    virtual void FreeMembers();

    void Serialize(CArchive& ar) override;

    void Init();
    DWORD GetIncludeMask() const { return m_nInclude; }
    void SetIncludeMask(DWORD mask) { m_nInclude = mask & incAll; }
    BOOL IsEmpty() const { return m_nInclude == 0; }

    // Alignment (text drawing flags)
    CGXStyle& SetHorizontalAlignment(DWORD n) { m_nHorzAlign = n; m_nInclude |= incHorzAlign; return *this; }
    DWORD GetHorizontalAlignment() const { return m_nHorzAlign; }
    BOOL GetIncludeHorizontalAlignment() const { return Has(incHorzAlign); }
    CGXStyle& SetIncludeHorizontalAlignment(BOOL b) { return Include(incHorzAlign, b); }
    CGXStyle& SetVerticalAlignment(DWORD n) { m_nVertAlign = n; m_nInclude |= incVertAlign; return *this; }
    DWORD GetVerticalAlignment() const { return m_nVertAlign; }
    BOOL GetIncludeVerticalAlignment() const { return Has(incVertAlign); }
    CGXStyle& SetIncludeVerticalAlignment(BOOL b) { return Include(incVertAlign, b); }

    CGXStyle& SetMaxLength(WORD n) { m_nMaxLength = n; m_nInclude |= incMaxLength; return *this; }
    WORD GetMaxLength() const { return m_nMaxLength; }
    BOOL GetIncludeMaxLength() const { return Has(incMaxLength); }
    CGXStyle& SetIncludeMaxLength(BOOL b) { return Include(incMaxLength, b); }

    CGXStyle& SetControl(UINT nID) { m_nControl = nID; m_nInclude |= incControl; return *this; }
    UINT GetControl() const { return m_nControl; }
    BOOL GetIncludeControl() const { return Has(incControl); }
    CGXStyle& SetIncludeControl(BOOL b) { return Include(incControl, b); }

    CGXStyle& SetInterior(const GXBrushRecord& br) { m_brInterior = br; m_nInclude |= incInterior; return *this; }
    CGXStyle& SetInterior(COLORREF color) { return SetInterior(GXBrushRecord(BS_SOLID, color)); }
    const GXBrushRecord& GetInterior() const { return m_brInterior; }
    BOOL GetIncludeInterior() const { return Has(incInterior); }
    CGXStyle& SetIncludeInterior(BOOL b) { return Include(incInterior, b); }

    CGXStyle& SetTextColor(COLORREF c) { m_clrText = c; m_nInclude |= incTextColor; return *this; }
    COLORREF GetTextColor() const { return m_clrText; }
    BOOL GetIncludeTextColor() const { return Has(incTextColor); }
    CGXStyle& SetIncludeTextColor(BOOL b) { return Include(incTextColor, b); }

    // Flags and small values packed in one word.
    CGXStyle& SetReadOnly(BOOL b) { return SetFlag(flagReadOnly, incReadOnly, b); }
    BOOL GetReadOnly() const { return Flag(flagReadOnly); }
    BOOL GetIncludeReadOnly() const { return Has(incReadOnly); }
    CGXStyle& SetIncludeReadOnly(BOOL b) { return Include(incReadOnly, b); }
    CGXStyle& SetVerticalScrollbar(BOOL b) { return SetFlag(flagVertScroll, incVertScrollbar, b); }
    BOOL GetVerticalScrollbar() const { return Flag(flagVertScroll); }
    BOOL GetIncludeVerticalScrollbar() const { return Has(incVertScrollbar); }
    CGXStyle& SetIncludeVerticalScrollbar(BOOL b) { return Include(incVertScrollbar, b); }
    CGXStyle& SetWrapText(BOOL b) { return SetFlag(flagWrapText, incWrapText, b); }
    BOOL GetWrapText() const { return Flag(flagWrapText); }
    BOOL GetIncludeWrapText() const { return Has(incWrapText); }
    CGXStyle& SetIncludeWrapText(BOOL b) { return Include(incWrapText, b); }
    CGXStyle& SetAllowEnter(BOOL b) { return SetFlag(flagAllowEnter, incAllowEnter, b); }
    BOOL GetAllowEnter() const { return Flag(flagAllowEnter); }
    BOOL GetIncludeAllowEnter() const { return Has(incAllowEnter); }
    CGXStyle& SetIncludeAllowEnter(BOOL b) { return Include(incAllowEnter, b); }
    CGXStyle& SetEnabled(BOOL b) { return SetFlag(flagEnabled, incEnabled, b); }
    BOOL GetEnabled() const { return Flag(flagEnabled); }
    BOOL GetIncludeEnabled() const { return Has(incEnabled); }
    CGXStyle& SetIncludeEnabled(BOOL b) { return Include(incEnabled, b); }
    CGXStyle& SetTriState(BOOL b) { return SetFlag(flagTriState, incTriState, b); }
    BOOL GetTriState() const { return Flag(flagTriState); }
    BOOL GetIncludeTriState() const { return Has(incTriState); }
    CGXStyle& SetIncludeTriState(BOOL b) { return Include(incTriState, b); }
    CGXStyle& SetAutoSize(BOOL b) { return SetFlag(flagAutoSize, incAutoSize, b); }
    BOOL GetAutoSize() const { return Flag(flagAutoSize); }
    BOOL GetIncludeAutoSize() const { return Has(incAutoSize); }
    CGXStyle& SetIncludeAutoSize(BOOL b) { return Include(incAutoSize, b); }
    CGXStyle& SetFloodCell(BOOL b) { return SetFlag(flagFloodCell, incFloodCell, b); }
    BOOL GetFloodCell() const { return Flag(flagFloodCell); }
    BOOL GetIncludeFloodCell() const { return Has(incFloodCell); }
    CGXStyle& SetIncludeFloodCell(BOOL b) { return Include(incFloodCell, b); }
    CGXStyle& SetFloatCell(BOOL b) { return SetFlag(flagFloatCell, incFloatCell, b); }
    BOOL GetFloatCell() const { return Flag(flagFloatCell); }
    BOOL GetIncludeFloatCell() const { return Has(incFloatCell); }
    CGXStyle& SetIncludeFloatCell(BOOL b) { return Include(incFloatCell, b); }
    // 0 none, 1 raised, 2 inset
    CGXStyle& SetDraw3dFrame(int n) { return SetField(0, 0x3, incDraw3dFrame, n); }
    int GetDraw3dFrame() const { return static_cast<int>(m_dwFlags & 0x3); }
    BOOL GetIncludeDraw3dFrame() const { return Has(incDraw3dFrame); }
    CGXStyle& SetIncludeDraw3dFrame(BOOL b) { return Include(incDraw3dFrame, b); }
    CGXStyle& SetMergeCell(int n) { return SetField(11, 0x7, incMergeCell, n); }
    int GetMergeCell() const { return static_cast<int>((m_dwFlags >> 11) & 0x7); }
    BOOL GetIncludeMergeCell() const { return Has(incMergeCell); }
    CGXStyle& SetIncludeMergeCell(BOOL b) { return Include(incMergeCell, b); }

    // Borders: sides 0 left, 1 right, 2 top, 3 bottom, or gxBorderAll.
    CGXStyle& SetBorders(int nSide, const GXPenRecord& pen);
    const GXPenRecord& GetBorders(int nSide) const;
    BOOL HasBorder(int nSide) const;
    BOOL GetIncludeBorders() const { return Has(incBorders); }
    CGXStyle& SetIncludeBorders(BOOL b);

    // Font: created on first use, otherwise changed by the mode.
    CGXStyle& SetFont(const CGXFont& font, int nMode = gxOverride);
    const CGXFont& GetFont() const;
    CGXFont* GetFontPtr() const { return m_pFont; }
    BOOL GetIncludeFont() const { return Has(incFont); }
    CGXStyle& SetIncludeFont(BOOL b);

    CGXStyle& SetValueNumber(unsigned long n);
    const CString& GetValue() const { return m_strValue; }
    CString& GetValueRef() { return m_strValue; }
    BOOL GetIncludeValue() const { return Has(incValue); }
    CGXStyle& SetIncludeValue(BOOL b);

    CGXStyle& SetChoiceList(LPCSTR lpszChoices);
    const CString& GetChoiceList() const { return m_strChoices; }
    BOOL GetIncludeChoiceList() const { return Has(incChoiceList); }
    CGXStyle& SetIncludeChoiceList(BOOL b);

    CGXStyle& SetBaseStyle(WORD nID) { m_wBaseStyle = nID; m_nInclude |= incBaseStyle; return *this; }
    WORD GetBaseStyle() const { return m_wBaseStyle; }
    BOOL GetIncludeBaseStyle() const { return Has(incBaseStyle); }
    CGXStyle& SetIncludeBaseStyle(BOOL b) { return Include(incBaseStyle, b); }

    CGXStyle& SetItemDataPtr(DWORD_PTR n) { m_dwItemData = n; m_nInclude |= incItemData; return *this; }
    DWORD_PTR GetItemDataPtr() const { return m_dwItemData; }
    BOOL GetIncludeItemDataPtr() const { return Has(incItemData); }
    CGXStyle& SetIncludeItemDataPtr(BOOL b) { return Include(incItemData, b); }

    // User attributes by 16-bit id.
    CGXStyle& SetUserAttribute(WORD nID, LPCSTR lpszValue);
    CString GetUserAttribute(WORD nID) const;
    BOOL LookupUserAttribute(WORD nID, CString& rValue) const;
    BOOL HasUserAttribute(WORD nID) const;
    CGXStyle& RemoveUserAttribute(WORD nID);
    const CGXCollMapDWordToString* GetUserAttributeMap() const { return m_pUserAttributes; }
    BOOL GetIncludeUserAttributes() const { return Has(incUserAttr); }
    CGXStyle& SetIncludeUserAttributes(BOOL b);

    DWORD GetValueFlags() const { return m_dwFlags; }

protected:
    enum : DWORD
    {
        flagReadOnly = 1u << 2,
        flagVertScroll = 1u << 3,
        flagWrapText = 1u << 4,
        flagAllowEnter = 1u << 5,
        flagEnabled = 1u << 6,
        flagTriState = 1u << 7,
        flagAutoSize = 1u << 8,
        flagFloodCell = 1u << 9,
        flagFloatCell = 1u << 10,
    };
    BOOL Has(DWORD bit) const { return (m_nInclude & bit) != 0; }
    BOOL Flag(DWORD f) const { return (m_dwFlags & f) != 0; }
    CGXStyle& Include(DWORD bit, BOOL b)
    {
        if (b)
            m_nInclude |= bit;
        else
            m_nInclude &= ~bit;
        return *this;
    }
    CGXStyle& SetFlag(DWORD f, DWORD bit, BOOL b)
    {
        if (b)
            m_dwFlags |= f;
        else
            m_dwFlags &= ~f;
        m_nInclude |= bit;
        return *this;
    }
    CGXStyle& SetField(int shift, DWORD mask, DWORD bit, int n)
    {
        m_dwFlags = (m_dwFlags & ~(mask << shift)) | ((static_cast<DWORD>(n) & mask) << shift);
        m_nInclude |= bit;
        return *this;
    }
    GXPenRecord* Borders();

    DWORD m_nInclude;
    DWORD m_nHorzAlign;
    DWORD m_nVertAlign;
    WORD m_nMaxLength;
    UINT m_nControl;
    GXBrushRecord m_brInterior;
    COLORREF m_clrText;
    DWORD m_dwFlags;
    GXPenRecord* m_pBorders = nullptr;   // four sides, allocated on first use
    CGXFont* m_pFont = nullptr;
    CString m_strValue;
    CString m_strChoices;
    WORD m_wBaseStyle;
    CGXCollMapDWordToString* m_pUserAttributes = nullptr;
    DWORD_PTR m_dwItemData;
};

// Column header letters: 1 -> A, 26 -> Z, 27 -> AA, 676 -> YZ, 677 -> AAA.
CString GXGetColumnLetters(DWORD nCol);
