// The tip-of-the-day dialog: one tip at a time from a text file of one tip per line, with buttons
// that step forwards and backwards (wrapping at both ends) and a check box the caller reads back
// to decide whether tips appear at start-up.
#pragma once
#include "SECData.h"
#include "afxdlg.h"

class SECTipOfDay : public CDialog
{
    DECLARE_DYNAMIC(SECTipOfDay)
public:
    // nTip: the 1-based tip to show first (wrapped into the file's tips).
    SECTipOfDay(LPCSTR lpszTipFile, int nTip = 1, BOOL bShowAtStartup = TRUE, CWnd* pParentWnd = nullptr);
    ~SECTipOfDay() override;

    // Modeless, without a parent.
    virtual BOOL Create();
    virtual void OnHelp();

    // Lines of the tips file (a line longer than a tip counts as several), -1 when it cannot be read.
    int CountTips() const;
    // Shows tip n (n < 1: the last, past the count: the first); nothing without a file.
    void LoadTip(int nTip);

    BOOL OnInitDialog() override;
    void OnPaint();
    void OnOKButton();
    void OnNextTip();
    void OnPrevTip();
    void OnShowAtStartup();

    BOOL m_bShowAtStartup;
    int m_nTip;
    int m_nTipCount;
    CString m_strFile;
    CString m_strText;          // the tip shown, or the warning
    CRect m_rectText;
    CString m_strHeader;
    CFont* m_pTextFont;         // null: made while painting
    CFont* m_pHeaderFont;
    UINT m_nIDIcon;

protected:
    // A tip line read from the file may end with the line end: it is not drawn.
    static const int nTipChars = 512;

    DECLARE_MESSAGE_MAP()
};
