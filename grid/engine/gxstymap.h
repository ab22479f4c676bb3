// Named base styles of a grid (with "Standard", "Row Header" and "Column
// Header"), the names of the cell controls and the user-attribute registry.
#pragma once
#include "gxstyle.h"
#include "gxresrc.h"

class CGXStylesMap : public CObject
{
    DECLARE_SERIAL(CGXStylesMap)
public:
    struct StyleEntry
    {
        WORD nID = 0;
        UINT nResourceID = 0;   // 0 when the style is named by text
        CString sName;
        CGXStyle* pStyle = nullptr;
        BOOL bSystem = FALSE;
    };
    struct UserAttrEntry
    {
        WORD nID = 0;           // also the string that names it
        CString sName;
        CGXStyle* pStyle = nullptr;
    };

    explicit CGXStylesMap(CRuntimeClass* pStyleClass = nullptr);
    CGXStylesMap(const CGXStylesMap& src);
    CGXStylesMap& operator=(const CGXStylesMap& src);
    ~CGXStylesMap() override;

    void CreateStandardStyles();

    // Registering an existing name or resource id reuses its id and replaces the style.
    WORD RegisterStyle(UINT nResourceID, const CGXStyle& style, BOOL bSystem = FALSE);
    WORD RegisterStyle(LPCSTR lpszName, const CGXStyle& style, BOOL bSystem = FALSE);

    WORD GetBaseStyleId(LPCSTR lpszName) const;
    WORD GetBaseStyleIdFromResource(UINT nResourceID) const;
    BOOL LookupStyle(WORD nID, const CGXStyle*& pStyle) const;
    BOOL LookupStyle(WORD nID, CGXStyle*& pStyle);
    CString GetStyleName(WORD nID, UINT& nResourceID) const;
    int GetStyleCount() const { return m_mapStyles.GetCount(); }

    POSITION GetFirstStylePosition() const { return m_mapStyles.GetStartPosition(); }
    const StyleEntry* GetNextStyle(POSITION& pos) const;

    // The control's name is the string of its id.
    void AddControl(UINT nControlID);
    BOOL LookupControlName(UINT nControlID, CString& sName) const;
    const CGXCollMapDWordToString& GetControlNames() const { return m_mapControlNames; }

    UserAttrEntry* AddUserAttribute(WORD nID, const CGXStyle* pStyle = nullptr);
    const UserAttrEntry* LookupUserAttribute(WORD nID) const;
    POSITION GetFirstUserAttributePosition() const { return m_mapUserAttributes.GetStartPosition(); }
    const UserAttrEntry* GetNextUserAttribute(POSITION& pos) const;

    WORD GetStandardStyleId() const { return m_wStyleStandard; }
    WORD GetColHeaderStyleId() const { return m_wStyleColHeader; }
    WORD GetRowHeaderStyleId() const { return m_wStyleRowHeader; }
    CRuntimeClass* GetStyleClass() const { return m_pStyleClass; }

    const CString& GetSection() const { return m_sSection; }
    void SetSection(LPCSTR lpszSection) { m_sSection = lpszSection; }

    virtual void SaveToProfile();
    virtual BOOL LoadFromProfile();
    void Serialize(CArchive& ar) override;

    // The profile section of one base style's key name.
    CString GetStyleSection(LPCSTR lpszKeyName) const;
    // A new, empty style of the map's style class.
    CGXStyle* NewStyle() const;

protected:
    void RemoveAll();
    void CopyFrom(const CGXStylesMap& src);
    StyleEntry* EntryFor(WORD nID) const;
    WORD Register(UINT nResourceID, const CString& sName, const CGXStyle& style, BOOL bSystem);
    void LookupStandardIds();

    WORD m_wStyleStandard = 0;
    WORD m_wStyleColHeader = 0;
    WORD m_wStyleRowHeader = 0;
    CRuntimeClass* m_pStyleClass;
    CGXCollMapStringToWord m_mapNames{10};
    CGXCollMapDWordToPtr m_mapStyles{10};            // id -> StyleEntry
    CGXCollMapDWordToLong m_mapResourceIds{10};      // resource id -> id
    WORD m_wNextId = 1;                              // 0 means "no base style"
    CGXCollMapDWordToString m_mapControlNames{10};
    CGXCollMapDWordToPtr m_mapUserAttributes{10};    // id -> UserAttrEntry
    CString m_sSection;
};
