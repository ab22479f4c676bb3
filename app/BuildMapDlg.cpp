#include "BuildMapDlg.h"
#include "BuildRes.h"

IMPLEMENT_DYNAMIC(CBuildMapDlg, CToolTipDialog)

BEGIN_MESSAGE_MAP(CBuildMapDlg, CToolTipDialog)
    ON_BN_CLICKED(IDC_BUILD_QBSP, OnGroup)
    ON_BN_CLICKED(IDC_BUILD_VIS, OnGroup)
    ON_BN_CLICKED(IDC_BUILD_LIGHT, OnGroup)
    ON_BN_CLICKED(IDC_BUILD_RUN_QUAKE, OnGroup)
END_MESSAGE_MAP()

namespace {

// Each group's check box and the controls it governs.
struct Group
{
    int nCheck;
    int controls[8];
};
const Group groups[] = {
    {IDC_BUILD_QBSP,
     {IDC_BUILD_QBSP_VERBOSE, IDC_BUILD_QBSP_NOFILL, IDC_BUILD_QBSP_ONLYENTS, IDC_BUILD_QBSP_EXTRA_LABEL,
      IDC_BUILD_QBSP_EXTRA}},
    {IDC_BUILD_VIS,
     {IDC_BUILD_VIS_VERBOSE, IDC_BUILD_VIS_FAST, IDC_BUILD_VIS_LEVEL0, IDC_BUILD_VIS_LEVEL1, IDC_BUILD_VIS_LEVEL2,
      IDC_BUILD_VIS_LEVEL3, IDC_BUILD_VIS_LEVEL4, IDC_BUILD_VIS_EXTRA_LABEL}},
    {IDC_BUILD_VIS, {IDC_BUILD_VIS_EXTRA}},
    {IDC_BUILD_LIGHT, {IDC_BUILD_LIGHT_EXTRA_SAMPLING, IDC_BUILD_LIGHT_EXTRA_LABEL, IDC_BUILD_LIGHT_EXTRA}},
    {IDC_BUILD_RUN_QUAKE, {IDC_BUILD_QUAKE_EXTRA_LABEL, IDC_BUILD_QUAKE_EXTRA}},
};

} // namespace

CBuildMapDlg::CBuildMapDlg(CWnd* pParent) : CToolTipDialog(IDD_BUILD_MAP, pParent)
{
}

void CBuildMapDlg::DoDataExchange(CDataExchange* pDX)
{
    CToolTipDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_BUILD_QBSP, m_options.bQbsp);
    DDX_Check(pDX, IDC_BUILD_QBSP_VERBOSE, m_options.bQbspVerbose);
    DDX_Check(pDX, IDC_BUILD_QBSP_NOFILL, m_options.bQbspNoFill);
    DDX_Check(pDX, IDC_BUILD_QBSP_ONLYENTS, m_options.bQbspOnlyEnts);
    DDX_Text(pDX, IDC_BUILD_QBSP_EXTRA, m_options.strQbspExtra);
    DDX_Check(pDX, IDC_BUILD_VIS, m_options.bVis);
    DDX_Check(pDX, IDC_BUILD_VIS_VERBOSE, m_options.bVisVerbose);
    DDX_Check(pDX, IDC_BUILD_VIS_FAST, m_options.bVisFast);
    DDX_Radio(pDX, IDC_BUILD_VIS_LEVEL0, m_options.nVisLevel);
    DDX_Text(pDX, IDC_BUILD_VIS_EXTRA, m_options.strVisExtra);
    DDX_Check(pDX, IDC_BUILD_LIGHT, m_options.bLight);
    DDX_Check(pDX, IDC_BUILD_LIGHT_EXTRA_SAMPLING, m_options.bLightExtra);
    DDX_Text(pDX, IDC_BUILD_LIGHT_EXTRA, m_options.strLightExtra);
    DDX_Check(pDX, IDC_BUILD_RUN_QUAKE, m_options.bRunQuake);
    DDX_Text(pDX, IDC_BUILD_QUAKE_EXTRA, m_options.strQuakeExtra);
    DDX_Check(pDX, IDC_BUILD_ONLY_VISIBLE, m_options.bOnlyVisible);
}

BOOL CBuildMapDlg::OnInitDialog()
{
    BOOL bResult = CToolTipDialog::OnInitDialog();
    EnableGroups();
    return bResult;
}

void CBuildMapDlg::OnGroup()
{
    UpdateData(TRUE);
    EnableGroups();
}

void CBuildMapDlg::EnableGroups()
{
    for (const Group& group : groups) {
        BOOL bOn = IsDlgButtonChecked(group.nCheck) == BST_CHECKED;
        for (int nID : group.controls) {
            if (nID == 0)
                break;
            CWnd* pControl = GetDlgItem(nID);
            if (pControl != nullptr)
                pControl->EnableWindow(bOn);
        }
    }
}
