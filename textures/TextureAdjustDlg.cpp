#include "TextureAdjustDlg.h"
#include "Brush.h"
#include "Map.h"
#include "Reporter.h"
#include "Services.h"
#include <cerrno>
#include <climits>
#include <cmath>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static CString Trimmed(LPCSTR text)
{
    CString s(text ? text : "");
    s.TrimLeft();
    s.TrimRight();
    return s;
}

EditVerdict CheckIntegerEdit(LPCSTR text, int minValue, int maxValue, int& value)
{
    CString s = Trimmed(text);
    if (s == "-" || s == "+")
        return EDIT_IGNORE;
    // Converted in 32 bits first: "65541" is out of range, not 5.
    errno = 0;
    long long v = s.IsEmpty() ? 0 : std::strtoll(s, nullptr, 10);
    if (v > INT_MAX)
        v = static_cast<long long>(INT_MAX) + 1;
    if (v < INT_MIN)
        v = static_cast<long long>(INT_MIN) - 1;
    if (v < minValue)
        return EDIT_TOO_LOW;
    if (v > maxValue)
        return EDIT_TOO_HIGH;
    value = static_cast<int>(v);
    return EDIT_STORE;
}

EditVerdict CheckScaleEdit(LPCSTR text, float& value)
{
    CString s = Trimmed(text);
    char* end = nullptr;
    double v = std::strtod(s, &end);
    if (s.IsEmpty() || end == static_cast<LPCSTR>(s) || v == 0)
        return EDIT_IGNORE; // the window never stores a zero scale
    // "nan" fails every comparison below: it may not reach the face (the map would be written
    // with "nan").
    if (std::isnan(v))
        return EDIT_NO_SCALE;
    if (v < -100.0)
        return EDIT_TOO_LOW;
    if (v > 100.0)
        return EDIT_TOO_HIGH;
    // "1e-50" is no zero for a double but one for the face's float, and "0.0000004" is a float
    // that the map text's six decimals write as zero: the map would read either back as 0.
    char written[32];
    std::snprintf(written, sizeof written, "%1.6f", static_cast<double>(static_cast<float>(v)));
    if (std::strtod(written, nullptr) == 0)
        return EDIT_NO_SCALE;
    value = static_cast<float>(v);
    return EDIT_STORE;
}

static const int kControls[] = {IDC_X_OFFSET, IDC_X_OFFSET_SPIN, IDC_Y_OFFSET, IDC_Y_OFFSET_SPIN,
                                IDC_ROTATE,   IDC_ROTATE_SPIN,   IDC_X_SCALE,  IDC_Y_SCALE};

enum { FIELD_X_OFFSET, FIELD_Y_OFFSET, FIELD_ROTATION, FIELD_X_SCALE, FIELD_Y_SCALE };

IMPLEMENT_DYNAMIC(CTextureAdjustDlg, CDialog)

BEGIN_MESSAGE_MAP(CTextureAdjustDlg, CDialog)
    ON_EN_CHANGE(IDC_ROTATE, OnChangeRotate)
    ON_EN_CHANGE(IDC_X_OFFSET, OnChangeXOffset)
    ON_EN_CHANGE(IDC_Y_OFFSET, OnChangeYOffset)
    ON_EN_CHANGE(IDC_X_SCALE, OnChangeXScale)
    ON_EN_CHANGE(IDC_Y_SCALE, OnChangeYScale)
END_MESSAGE_MAP()

CTextureAdjustDlg::CTextureAdjustDlg(CWnd* pMainFrame) : CDialog(IDD_TEXTURE_ADJUST, pMainFrame)
{
    Create(IDD_TEXTURE_ADJUST, pMainFrame);
}

BOOL CTextureAdjustDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // No face is picked: no scale is shown (a "0.00" would read as a face's flattened texture).
    m_filling = TRUE;
    SetText(IDC_X_SCALE, "");
    SetText(IDC_Y_SCALE, "");
    m_filling = FALSE;
    EnableControls(FALSE);
    return TRUE;
}

void CTextureAdjustDlg::PostNcDestroy()
{
    delete this;
}

void CTextureAdjustDlg::OnCancel()
{
    // Escape or the close box hide the window; the main frame keeps it.
    ShowWindow(SW_HIDE);
}

void CTextureAdjustDlg::EnableControls(BOOL enable)
{
    for (int id : kControls)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enable);
}

void CTextureAdjustDlg::SetText(int id, LPCSTR text)
{
    ::SetDlgItemTextA(m_hWnd, id, text);
}

void CTextureAdjustDlg::Update(Face* pFace)
{
    if (!pFace) {
        m_pMap = nullptr;
        m_filling = TRUE;
        SetText(IDC_X_SCALE, "");
        SetText(IDC_Y_SCALE, "");
        m_filling = FALSE;
        EnableControls(FALSE);
        return;
    }
    m_pMap = GetEditorServices()->GetActiveMap();
    // Showing the face's values writes nothing back: the change handlers stand still.
    m_filling = TRUE;
    EnableControls(TRUE);
    struct Spin
    {
        int id, max, pos;
    } spins[] = {{IDC_X_OFFSET_SPIN, 511, pFace->xOffset},
                 {IDC_Y_OFFSET_SPIN, 511, pFace->yOffset},
                 {IDC_ROTATE_SPIN, 359, pFace->rotation}};
    // Range and position before the texts: the spins set their edits, the texts then follow.
    for (const Spin& s : spins) {
        ::SendDlgItemMessageA(m_hWnd, s.id, UDM_SETRANGE32, 0, s.max);
        ::SendDlgItemMessageA(m_hWnd, s.id, UDM_SETPOS32, 0, s.pos);
    }
    m_xOffset = pFace->xOffset;
    m_yOffset = pFace->yOffset;
    m_rotation = pFace->rotation;
    CString text;
    text.Format("%d", m_xOffset);
    SetText(IDC_X_OFFSET, text);
    text.Format("%d", m_yOffset);
    SetText(IDC_Y_OFFSET, text);
    text.Format("%d", m_rotation);
    SetText(IDC_ROTATE, text);
    text.Format("%4.2f", pFace->xScale);
    SetText(IDC_X_SCALE, text);
    text.Format("%4.2f", pFace->yScale);
    SetText(IDC_Y_SCALE, text);
    m_filling = FALSE;
}

Face* CTextureAdjustDlg::TargetFace(Map*& pMap) const
{
    pMap = GetEditorServices()->GetActiveMap();
    if (!m_pMap || pMap != m_pMap)
        return nullptr;
    return pMap->GetPickedFace();
}

void CTextureAdjustDlg::IntegerChanged(int id, int maxValue, LPCSTR message, int field)
{
    if (m_filling)
        return;
    CString text;
    GetDlgItemText(id, text);
    int value = 0;
    EditVerdict verdict = CheckIntegerEdit(text, 0, maxValue, value);
    if (verdict == EDIT_IGNORE)
        return;
    if (verdict != EDIT_STORE) {
        Report().Box(MB_OK, "%s", message);
        CString limit;
        limit.Format("%d", verdict == EDIT_TOO_LOW ? 0 : maxValue);
        m_filling = TRUE;
        SetText(id, limit);
        m_filling = FALSE;
        return;
    }
    short v = static_cast<short>(value);
    short* mine = field == FIELD_X_OFFSET ? &m_xOffset : field == FIELD_Y_OFFSET ? &m_yOffset : &m_rotation;
    *mine = v;
    Map* map = nullptr;
    Face* face = TargetFace(map);
    if (!face)
        return;
    short* target = field == FIELD_X_OFFSET ? &face->xOffset : field == FIELD_Y_OFFSET ? &face->yOffset : &face->rotation;
    if (*target == v)
        return;
    *target = v;
    map->UpdateViews(HINT_TEXTURE_ADJUST);
    map->SetModifiedFlag(TRUE);
}

void CTextureAdjustDlg::ScaleChanged(int id, LPCSTR message, int field)
{
    if (m_filling)
        return;
    CString text;
    GetDlgItemText(id, text);
    float value = 0;
    EditVerdict verdict = CheckScaleEdit(text, value);
    if (verdict == EDIT_IGNORE)
        return;
    if (verdict != EDIT_STORE) {
        Report().Box(MB_OK, "%s", message);
        m_filling = TRUE;
        SetText(id, verdict == EDIT_TOO_LOW ? "-100.00" : "100.00");
        m_filling = FALSE;
        return;
    }
    Map* map = nullptr;
    Face* face = TargetFace(map);
    if (!face)
        return;
    float* target = field == FIELD_X_SCALE ? &face->xScale : &face->yScale;
    if (*target == value)
        return;
    *target = value;
    map->UpdateViews(HINT_TEXTURE_ADJUST);
    map->SetModifiedFlag(TRUE);
}

void CTextureAdjustDlg::OnChangeRotate()
{
    IntegerChanged(IDC_ROTATE, 359, "The rotate value must be between 0 and 359", FIELD_ROTATION);
}

void CTextureAdjustDlg::OnChangeXOffset()
{
    IntegerChanged(IDC_X_OFFSET, 511, "The x offset value must be between 0 and 511", FIELD_X_OFFSET);
}

void CTextureAdjustDlg::OnChangeYOffset()
{
    IntegerChanged(IDC_Y_OFFSET, 511, "The y offset value must be between 0 and 511", FIELD_Y_OFFSET);
}

void CTextureAdjustDlg::OnChangeXScale()
{
    ScaleChanged(IDC_X_SCALE, "The x scale value must be between -100.00 and 100.00", FIELD_X_SCALE);
}

void CTextureAdjustDlg::OnChangeYScale()
{
    ScaleChanged(IDC_Y_SCALE, "The y scale value must be between -100.00 and 100.00", FIELD_Y_SCALE);
}
