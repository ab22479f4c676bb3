// The editing dialogs and the About box.
#include "EditDialogs.h"
#include "EditDialogsRes.h"
#include "Entity.h"
#include "MapView.h"
#include "Services.h"
#include <commctrl.h>
#include <cstdio>

// ---------------------------------------------------------------------------
// About

IMPLEMENT_DYNAMIC(CAboutDlg, CDialog)

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

CString CAboutDlg::FreeMemoryText(unsigned long long availableBytes)
{
    // The number is formatted on its own: a machine's free memory no longer fits 32 bits.
    char number[32];
    snprintf(number, sizeof number, "%llu", availableBytes / 1024ull);
    CString format = LoadViewString(IDS_FREE_MEMORY);
    if (format.IsEmpty())
        format = "Free Memory: %lu KB";
    format.Replace("%lu", "%s");
    CString text;
    text.Format(format, number);
    return text;
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    unsigned long long avail = ::GlobalMemoryStatusEx(&status) ? status.ullAvailPhys : 0;
    SetDlgItemText(IDC_FREE_MEMORY, FreeMemoryText(avail));
    return TRUE;
}

// ---------------------------------------------------------------------------
// Array

IMPLEMENT_DYNAMIC(CArrayDlg, CDialog)

BEGIN_MESSAGE_MAP(CArrayDlg, CDialog)
    ON_BN_CLICKED(IDC_ARRAY_RESET, OnReset)
    ON_NOTIFY_EX_RANGE(UDN_DELTAPOS, IDC_SPIN_MOVE_X, IDC_SPIN_SCALE_Z, OnSpin)
END_MESSAGE_MAP()

CArrayDlg::CArrayDlg(CWnd* pParent) : CDialog(IDD_ARRAY, pParent)
{
    SetDefaults();
}

void CArrayDlg::SetDefaults()
{
    for (int i = 0; i < 3; ++i) {
        m_move[i] = 0.0f;
        m_rotate[i] = 0.0f;
        m_scale[i] = 100.0f;
    }
    m_nTotal = 4;
}

BOOL CArrayDlg::OnInitDialog()
{
    SetDefaults();
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_SPIN_TOTAL, UDM_SETRANGE32, 1, 32768);
    ::SendDlgItemMessageA(m_hWnd, IDC_SPIN_TOTAL, UDM_SETPOS32, 0, m_nTotal);
    return TRUE;
}

void CArrayDlg::OnReset()
{
    SetDefaults();
    UpdateData(FALSE);
}

BOOL CArrayDlg::OnSpin(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
{
    static const struct
    {
        UINT spin, edit;
    } pairs[] = {{IDC_SPIN_MOVE_X, IDC_MOVE_X},     {IDC_SPIN_MOVE_Y, IDC_MOVE_Y},     {IDC_SPIN_MOVE_Z, IDC_MOVE_Z},
                 {IDC_SPIN_ROTATE_X, IDC_ROTATE_X}, {IDC_SPIN_ROTATE_Y, IDC_ROTATE_Y}, {IDC_SPIN_ROTATE_Z, IDC_ROTATE_Z},
                 {IDC_SPIN_SCALE_X, IDC_SCALE_X},   {IDC_SPIN_SCALE_Y, IDC_SCALE_Y},   {IDC_SPIN_SCALE_Z, IDC_SCALE_Z}};
    for (const auto& p : pairs) {
        if (p.spin != nID)
            continue;
        const NMUPDOWN* pUD = reinterpret_cast<const NMUPDOWN*>(pNMHDR);
        char text[64] = "";
        ::GetDlgItemTextA(m_hWnd, static_cast<int>(p.edit), text, sizeof text);
        double v = atof(text) + pUD->iDelta;
        CString s;
        s.Format("%g", v);
        SetDlgItemText(static_cast<int>(p.edit), s);
        if (pResult)
            *pResult = 1; // the control keeps no position of its own
        return TRUE;
    }
    return FALSE;
}

void CArrayDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    static const int moveIds[3] = {IDC_MOVE_X, IDC_MOVE_Y, IDC_MOVE_Z};
    static const int rotateIds[3] = {IDC_ROTATE_X, IDC_ROTATE_Y, IDC_ROTATE_Z};
    static const int scaleIds[3] = {IDC_SCALE_X, IDC_SCALE_Y, IDC_SCALE_Z};
    for (int i = 0; i < 3; ++i) {
        DDX_Text(pDX, moveIds[i], m_move[i]);
        DDV_MinMaxFloat(pDX, m_move[i], -8192.0f, 8192.0f);
    }
    for (int i = 0; i < 3; ++i) {
        DDX_Text(pDX, rotateIds[i], m_rotate[i]);
        DDV_MinMaxFloat(pDX, m_rotate[i], -359.9f, 359.9f);
    }
    for (int i = 0; i < 3; ++i) {
        DDX_Text(pDX, scaleIds[i], m_scale[i]);
        DDV_MinMaxFloat(pDX, m_scale[i], 0.1f, 10000.0f);
    }
    DDX_Text(pDX, IDC_ARRAY_TOTAL, m_nTotal);
    DDV_MinMaxInt(pDX, m_nTotal, 1, 32768);
}

int CArrayDlg::GetMove(float& x, float& y, float& z) const
{
    x = m_move[0];
    y = m_move[1];
    z = m_move[2];
    return (x == 0.0f && y == 0.0f && z == 0.0f) ? 0 : 1;
}

int CArrayDlg::GetRotate(float& x, float& y, float& z) const
{
    x = m_rotate[0];
    y = m_rotate[1];
    z = m_rotate[2];
    return (x == 0.0f && y == 0.0f && z == 0.0f) ? 0 : 1;
}

int CArrayDlg::GetScale(float& x, float& y, float& z) const
{
    x = m_scale[0];
    y = m_scale[1];
    z = m_scale[2];
    return (x == 100.0f && y == 100.0f && z == 100.0f) ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Create Cone, Create Cylinder

IMPLEMENT_DYNAMIC(CSidesDlg, CDialog)
IMPLEMENT_DYNAMIC(CConeDlg, CSidesDlg)
IMPLEMENT_DYNAMIC(CCylinderDlg, CSidesDlg)

CSidesDlg::CSidesDlg(UINT nIDTemplate, LPCSTR section, int maxSides, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_strSection(section), m_nMaxSides(maxSides)
{
    m_nSides = GetEditorServices()->GetProfileIntInRange(section, "Sides", 8, 3, maxSides);
}

BOOL CSidesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_SIDES_SPIN, UDM_SETRANGE32, 3, m_nMaxSides);
    ::SendDlgItemMessageA(m_hWnd, IDC_SIDES_SPIN, UDM_SETPOS32, 0, m_nSides);
    SetDlgItemInt(IDC_SIDES, static_cast<UINT>(m_nSides), TRUE);
    return TRUE;
}

void CSidesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // The field is filled by the initialisation; only its reading goes through here.
    if (pDX->m_bSaveAndValidate)
        DDX_Text(pDX, IDC_SIDES, m_nTyped);
}

void CSidesDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const int sides = m_nTyped;
    // The shapes are built for this range only: anything else would be refused later while the
    // command answered success, so the dialog keeps it.
    if (sides < 3 || sides > m_nMaxSides) {
        CString text;
        text.Format("The number of sides must be between 3 and %d", m_nMaxSides);
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_SIDES));
        return;
    }
    m_nSides = sides;
    GetEditorServices()->WriteProfileInt(m_strSection, "Sides", m_nSides);
    EndDialog(IDOK);
}

CConeDlg::CConeDlg(CWnd* pParent) : CSidesDlg(IDD_CREATE_CONE, "Create Cone", 254, pParent) {}

CCylinderDlg::CCylinderDlg(CWnd* pParent) : CSidesDlg(IDD_CREATE_CYLINDER, "Create Cylinder", 16, pParent) {}

// ---------------------------------------------------------------------------
// Create Room

IMPLEMENT_DYNAMIC(CRoomDlg, CToolTipDialog)

CRoomDlg::CRoomDlg(CWnd* pParent) : CToolTipDialog(IDD_CREATE_ROOM, pParent)
{
    CEditorServices* s = GetEditorServices();
    m_nThickness = s->GetProfileIntInRange("Create Room", "Wall Thickness", 16, 0, 512);
    m_nDirection = s->GetProfileInt("Create Room", "Inward", 0) ? 1 : 0;
}

BOOL CRoomDlg::OnInitDialog()
{
    CToolTipDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_ROOM_SPIN, UDM_SETRANGE32, 0, 512);
    ::SendDlgItemMessageA(m_hWnd, IDC_ROOM_SPIN, UDM_SETPOS32, 0, m_nThickness);
    return TRUE;
}

void CRoomDlg::DoDataExchange(CDataExchange* pDX)
{
    CToolTipDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ROOM_THICKNESS, m_nThickness);
    DDV_MinMaxInt(pDX, m_nThickness, 0, 512);
    DDX_Radio(pDX, IDC_ROOM_INWARD, m_nDirection);
}

void CRoomDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CEditorServices* s = GetEditorServices();
    s->WriteProfileInt("Create Room", "Wall Thickness", m_nThickness);
    s->WriteProfileInt("Create Room", "Inward", m_nDirection);
    EndDialog(IDOK);
}

// ---------------------------------------------------------------------------
// Create Targets

IMPLEMENT_DYNAMIC(CCreateTargetsDlg, CDialog)

BEGIN_MESSAGE_MAP(CCreateTargetsDlg, CDialog)
    ON_EN_UPDATE(IDC_TARGET_NAME, OnNameUpdate)
END_MESSAGE_MAP()

CCreateTargetsDlg::CCreateTargetsDlg(CWnd* pParent) : CDialog(IDD_CREATE_TARGETS, pParent), m_bCircular(0) {}

BOOL CCreateTargetsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // An empty name makes no chain: OK waits for the first character.
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !m_strName.IsEmpty());
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_TARGET_NAME));
    return FALSE;
}

void CCreateTargetsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TARGET_NAME, m_strName);
    DDX_Check(pDX, IDC_MAKE_CIRCULAR, m_bCircular);
}

void CCreateTargetsDlg::OnNameUpdate()
{
    UpdateData(TRUE);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !m_strName.IsEmpty());
}

void CCreateTargetsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (!IsWritableKeyText(m_strName)) {
        AfxMessageBox(kUnwritableKeyText, MB_OK | MB_ICONEXCLAMATION);
        HWND edit = ::GetDlgItem(m_hWnd, IDC_TARGET_NAME);
        ::SetFocus(edit);
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        return;
    }
    EndDialog(IDOK);
}
