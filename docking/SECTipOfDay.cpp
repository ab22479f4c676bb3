// The tip-of-the-day dialog.
#include "SECTipOfDay.h"
#include "afxdc.h"
#include <cstdio>

IMPLEMENT_DYNAMIC(SECTipOfDay, CDialog)

BEGIN_MESSAGE_MAP(SECTipOfDay, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_SEC_TIP_OK, OnOKButton)
    ON_BN_CLICKED(IDC_SEC_TIP_NEXT, OnNextTip)
    ON_BN_CLICKED(IDC_SEC_TIP_PREV, OnPrevTip)
    ON_BN_CLICKED(IDC_SEC_TIP_HELP, OnHelp)
    ON_BN_CLICKED(IDC_SEC_TIP_SHOW, OnShowAtStartup)
END_MESSAGE_MAP()

SECTipOfDay::SECTipOfDay(LPCSTR lpszTipFile, int nTip, BOOL bShowAtStartup, CWnd* pParentWnd)
    : CDialog(IDD_SEC_TIPOFDAY, pParentWnd), m_bShowAtStartup(bShowAtStartup), m_nTip(nTip), m_nTipCount(-1),
      m_strFile(lpszTipFile != nullptr ? lpszTipFile : ""), m_rectText(0, 0, 0, 0), m_strHeader("Did you know..."),
      m_pTextFont(nullptr), m_pHeaderFont(nullptr), m_nIDIcon(IDI_SEC_TIPOFDAY)
{
}

SECTipOfDay::~SECTipOfDay() = default;

BOOL SECTipOfDay::Create()
{
    return CDialog::Create(IDD_SEC_TIPOFDAY, nullptr);
}

void SECTipOfDay::OnHelp() {}

int SECTipOfDay::CountTips() const
{
    FILE* pFile = fopen(m_strFile, "rt");
    if (pFile == nullptr)
        return -1;
    char line[nTipChars];
    int n = 0;
    while (fgets(line, sizeof line, pFile) != nullptr)
        n++;
    fclose(pFile);
    return n;
}

void SECTipOfDay::LoadTip(int nTip)
{
    if (m_nTipCount == -1)
        return;
    FILE* pFile = fopen(m_strFile, "rt");
    if (pFile == nullptr)
        return;
    if (nTip < 1)
        nTip = m_nTipCount;
    else if (nTip > m_nTipCount)
        nTip = 1;
    m_nTip = nTip;
    // Emptied first: a file shorter than counted shows an empty tip, not the one before.
    m_strText.Empty();
    char line[nTipChars];
    for (int i = 0; i < nTip && fgets(line, sizeof line, pFile) != nullptr; i++)
        m_strText = line;
    fclose(pFile);
}

BOOL SECTipOfDay::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_SEC_TIP_SHOW, BM_SETCHECK, m_bShowAtStartup ? BST_CHECKED : BST_UNCHECKED);
    m_nTipCount = CountTips();
    if (m_nTipCount != -1)
        LoadTip(m_nTip);
    else
        m_strText = CString("WARNING: Could not find: \"") + m_strFile + "\"...";
    CenterWindow();
    return TRUE;
}

void SECTipOfDay::OnOKButton()
{
    OnOK();
}

void SECTipOfDay::OnNextTip()
{
    if (m_nTipCount == -1)
        return;
    LoadTip(m_nTip + 1);
    InvalidateRect(&m_rectText, FALSE);
}

void SECTipOfDay::OnPrevTip()
{
    if (m_nTipCount == -1)
        return;
    LoadTip(m_nTip - 1);
    InvalidateRect(&m_rectText, FALSE);
}

void SECTipOfDay::OnShowAtStartup()
{
    m_bShowAtStartup = SendDlgItemMessage(IDC_SEC_TIP_SHOW, BM_GETCHECK) == BST_CHECKED;
}

void SECTipOfDay::OnPaint()
{
    CPaintDC dc(this);
    CWnd* pFrame = GetDlgItem(IDC_SEC_TIP_FRAME);
    if (pFrame == nullptr)
        return;
    CRect box;
    pFrame->GetWindowRect(&box);
    ScreenToClient(&box);
    box.DeflateRect(5, 10);
    box.OffsetRect(0, 5);
    CRect rectUpdate = dc.m_ps.rcPaint;

    CFont fontHeader, fontText;
    CFont* pHeaderFont = m_pHeaderFont;
    CFont* pTextFont = m_pTextFont;
    if (pHeaderFont == nullptr) {
        fontHeader.CreateFont(19, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        pHeaderFont = &fontHeader;
    }
    if (pTextFont == nullptr) {
        fontText.CreateFont(17, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        pTextFont = &fontText;
    }
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    CRect rectText(box.left + 10, box.top + 56, box.right - 10, box.bottom - 10);
    if (!m_rectText.IsRectEmpty() && rectUpdate == m_rectText)
        dc.FillSolidRect(&m_rectText, RGB(255, 255, 255));
    else {
        CBrush white(RGB(255, 255, 255));
        CBrush* pOldBrush = dc.SelectObject(&white);
        dc.Rectangle(&box);
        dc.SelectObject(pOldBrush);
        HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDIcon));
        if (hIcon != nullptr)
            dc.DrawIcon(box.left + 10, box.top + 10, hIcon);
        CFont* pOld = dc.SelectObject(pHeaderFont);
        CRect rectHeader(box.left + 50, box.top + 26, box.right - 10, box.bottom - 10);
        dc.DrawText(m_strHeader, &rectHeader, DT_WORDBREAK);
        dc.SelectObject(pOld);
    }
    m_rectText = rectText;
    CString strTip = m_strText;
    if (!strTip.IsEmpty() && strTip[strTip.GetLength() - 1] == '\n')
        strTip = strTip.Left(strTip.GetLength() - 1);
    CFont* pOld = dc.SelectObject(pTextFont);
    dc.DrawText(strTip, &rectText, DT_WORDBREAK);
    dc.SelectObject(pOld);
}
