// The tip of the day.
#include "TipDlg.h"
#include "SECRes.h"

IMPLEMENT_DYNAMIC(CTipDlg, SECTipOfDay)

CTipDlg::CTipDlg(LPCSTR lpszTipFile, int nTip, BOOL bShowAtStartup, CWnd* pParent)
    : SECTipOfDay(lpszTipFile, nTip, bShowAtStartup, pParent)
{
}

CTipDlg::~CTipDlg()
{
    // The library must not free the stock font.
    if (m_pTextFont == &m_guiFont)
        m_pTextFont = nullptr;
    m_guiFont.Detach();
}

BOOL CTipDlg::OnInitDialog()
{
    SECTipOfDay::OnInitDialog();
    if (m_guiFont.GetSafeHandle() != nullptr || m_guiFont.Attach(::GetStockObject(DEFAULT_GUI_FONT)))
        m_pTextFont = &m_guiFont;
    if (CWnd* pHelp = GetDlgItem(IDC_SEC_TIP_HELP))
        pHelp->ShowWindow(SW_HIDE);
    return TRUE;
}
