// The editor's tip of the day: the library's tip window without its Help button, in the
// system's dialog font.
#pragma once
#include "SECTipOfDay.h"

class CTipDlg : public SECTipOfDay
{
    DECLARE_DYNAMIC(CTipDlg)
public:
    CTipDlg(LPCSTR lpszTipFile, int nTip, BOOL bShowAtStartup, CWnd* pParent = nullptr);
    ~CTipDlg() override;
    BOOL OnInitDialog() override;

protected:
    CFont m_guiFont;
};
