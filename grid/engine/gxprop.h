// Settings of a grid a user would change in a properties dialog: lines and
// header marks, colours, user properties, printing, zoom, header and footer.
#pragma once
#include "gxdata.h"

class CGXGridParam;
class CDC;
class CDocument;
struct CPrintInfo;

class CGXProperties : public CObject
{
    DECLARE_SERIAL(CGXProperties)
public:
    struct UserPropertyEntry
    {
        DWORD nID = 0;
        CString sName;
        CGXStyle* pStyle = nullptr;
    };

    CGXProperties();
    ~CGXProperties() override;
    CGXProperties(const CGXProperties&) = delete;
    CGXProperties& operator=(const CGXProperties& src);

    void Serialize(CArchive& ar) override;
    virtual void AddDefaultUserProperties();
    virtual void SaveToProfile();
    virtual BOOL LoadFromProfile();
    virtual CString ExpandTokens(LPCSTR lpszText);
    // The text of token nToken; rest is the text after the token and may be shortened.
    virtual CString GetTokenValue(int nToken, CString& rest);

    // Fills the token values of the page and draws the page header and footer around the print
    // information's drawing rectangle (without information: the whole page).
    virtual void PrintHeaderFooter(CDC* pDC, CPrintInfo* pInfo, CDocument* pDocument, CGXGridParam* pParam);
    // The height of the footer: per column, the "X" heights of its rows that hold a value.
    int CalcFooterHeight(CDC* pDC, CGXGridParam* pParam);

    int AddColorProperty(UINT nNameID, COLORREF color);
    int AddColor(LPCSTR lpszName, COLORREF color);
    COLORREF GetColor(int nIndex) const;
    void SetColor(int nIndex, COLORREF color);
    int GetColorCount() const { return m_ColorValues.GetSize(); }
    CString GetColorName(int nIndex) const;

    void AddUserProperty(DWORD nID, const CGXStyle& style);
    const CGXStyle& GetUserProperty(DWORD nID) const;
    const CGXCollMapDWordToPtr& GetUserPropertyMap() const { return m_UserProperties; }

    int AddToken(LPCSTR lpszToken);
    void SetTokenValue(int nToken, LPCSTR lpszValue);

    BOOL GetDisplayHorzLines() const { return m_bPrinting ? m_bPrintHorzLines : m_bHorzLines; }
    BOOL GetDisplayVertLines() const { return m_bPrinting ? m_bPrintVertLines : m_bVertLines; }
    BOOL GetDisplay3dHeader() const { return m_b3dHeader; }
    BOOL GetPrintRowHeaders() const { return m_bPrinting ? m_bPrintRowHeaders : TRUE; }
    BOOL GetPrintColHeaders() const { return m_bPrinting ? m_bPrintColHeaders : TRUE; }
    BOOL GetBlackWhite() const { return m_bPrinting && m_bBlackWhite; }
    BOOL GetMarkRowHeader() const { return m_bMarkRowHeader; }
    BOOL GetMarkColHeader() const { return m_bMarkColHeader; }
    int GetZoom() const { return m_nZoom; }
    void SetZoom(int nZoom) { m_nZoom = nZoom; }
    void GetMargins(int& top, int& left, int& bottom, int& right) const;
    void SetMargins(int top, int left, int bottom, int right);
    void GetDistances(int& nHeader, int& nFooter) const;
    void SetDistances(int nHeader, int nFooter);
    int GetFirstPage() const { return m_nFirstPage; }
    void SetFirstPage(int n) { m_nFirstPage = n; }
    void SetPrinting(BOOL b) { m_bPrinting = b; }
    BOOL GetPrinting() const { return m_bPrinting; }
    const CString& GetSection() const { return m_sSection; }
    void SetSection(LPCSTR lpszSection) { m_sSection = lpszSection; }

    CGXData& GetHeader() { return m_dataHeader; }
    CGXData& GetFooter() { return m_dataFooter; }

    // Settings, as the profile and the archive name them.
    BOOL m_b3dHeader = TRUE;
    BOOL m_bVertLines = TRUE;
    BOOL m_bHorzLines = TRUE;
    BOOL m_bMarkRowHeader = TRUE;
    BOOL m_bMarkColHeader = TRUE;
    BOOL m_bCenterHorizontal = TRUE;
    BOOL m_bCenterVertical = FALSE;
    BOOL m_bPrintColHeaders = TRUE;
    BOOL m_bPrintHorzLines = TRUE;
    BOOL m_bPrintRowHeaders = TRUE;
    BOOL m_bPrintVertLines = TRUE;
    int m_nPageOrder = 0;
    BOOL m_bBlackWhite = TRUE;
    BOOL m_bPrintFrame = TRUE;

protected:
    void DeleteUserProperties();

    CString m_sChoices[5];            // the current-cell frame choices
    CGXStyle m_styleDefaultUserProperty;
    CStringArray m_TokenNames;
    CStringArray m_TokenValues;
    CGXCollMapDWordToPtr m_UserProperties{10};   // id -> UserPropertyEntry
    BOOL m_bPrinting = FALSE;
    CString m_sSection;
    CStringArray m_ColorNames;
    CDWordArray m_ColorValues;
    int m_nZoom = 100;
    int m_nBottomMargin = 144;
    int m_nLeftMargin = 96;
    int m_nTopMargin = 144;
    int m_nRightMargin = 96;
    int m_nHeaderDistance = 38;
    int m_nFooterDistance = 38;
    int m_nFirstPage = -1;
    CGXData m_dataFooter;
    CGXData m_dataHeader;
    WORD m_wArchiveA = 0;
    WORD m_wArchiveB = 0;
};

// Token numbers of the header and footer texts.
enum { GX_TOKEN_FILE = 0, GX_TOKEN_APP = 1, GX_TOKEN_PAGE = 2, GX_TOKEN_PAGES = 3, GX_TOKEN_DATE = 4, GX_TOKEN_REPORT = 5 };

// strftime of the local time; an empty text for a format the runtime would reject.
CString GXFormatTimeSafe(LPCSTR lpszFormat);
