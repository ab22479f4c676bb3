#include "EntityCellControls.h"
#include "EntityEditorDlg.h"
#include "Entity.h"
#include "Map.h"
#include "Reporter.h"
#include "Services.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CGridAngleComboBox, CGXComboBox)
GX_IMPLEMENT_CONTROL(CGridAngleComboBox, CGXComboBox)
IMPLEMENT_DYNAMIC(CGridTargetComboBox, CGXComboBox)
GX_IMPLEMENT_CONTROL(CGridTargetComboBox, CGXComboBox)
IMPLEMENT_DYNAMIC(CGridSpawnFlagsComboBox, CGXCheckListComboBox)
GX_IMPLEMENT_CONTROL(CGridSpawnFlagsComboBox, CGXCheckListComboBox)
IMPLEMENT_DYNAMIC(CGridNumberEdit, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGridNumberEdit, CGXEditControl)
IMPLEMENT_DYNAMIC(CGridNegativeNumberEdit, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGridNegativeNumberEdit, CGXEditControl)
IMPLEMENT_DYNAMIC(CGridMangleControl, CGXEditControl)
GX_IMPLEMENT_CONTROL(CGridMangleControl, CGXEditControl)
IMPLEMENT_DYNAMIC(CGridMangle, CGXGridWnd)

namespace {

// The value-mode flags the entity grid gives its own combo boxes.
const UINT kEntityComboFlags = 0x15;

// The two options of the entity grid's combo cells: the arrow shows in every cell, and the
// cells fill their lists themselves instead of from a choice list.
void SetEntityComboOptions(CGXComboBox& combo)
{
    combo.m_bFullWidthWhenInactive = TRUE;
    combo.m_bButtonInInactiveCells = TRUE;
    combo.m_bFillFromChoiceList = FALSE;
    // The list fills its drop-down to the bottom instead of leaving a strip of the pop-up's
    // background below its last whole item.
    combo.m_dwListBoxStyle = WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
}

// The text a list opens with: what is being typed, else the stored value.
CString CurrentComboText(CGXComboBox& combo)
{
    if (combo.IsActive() && combo.GetSafeHwnd() != nullptr)
        return combo.GetEditText();
    return combo.IsInit() ? combo.GetStyle().GetValue() : CString();
}

// Selects the first entry equal to the text; LB_ERR (nothing selected) when none is.
int SelectEqualEntry(CListBox* pList, const CString& text)
{
    if (text.IsEmpty())
        return LB_ERR;
    CString item;
    for (int i = 0; i < pList->GetCount(); ++i) {
        pList->GetText(i, item);
        if (item == text) {
            pList->SetCurSel(i);
            return i;
        }
    }
    return LB_ERR;
}

// The base opening selects the first entry when nothing is selected; these lists show a text
// that is not among their entries by leaving the selection empty.
void ClearUnmatchedSelection(CGXComboBox& combo, BOOL bMatched)
{
    if (!bMatched && combo.GetListBox() != nullptr && combo.GetListBox()->GetSafeHwnd() != nullptr)
        combo.GetListBox()->SetCurSel(-1);
}

// The chosen entry's text becomes the edit's text; the cell stores it as any typed text.
void TakeEntryText(CGXComboBox& combo, CListBox* pList)
{
    const int sel = pList->GetCurSel();
    if (sel == LB_ERR)
        return;
    CString text;
    pList->GetText(sel, text);
    if (!combo.IsActive())
        combo.SetActive(TRUE);
    combo.SetEditText(text);
    combo.SetSel(0, -1);
    combo.SendMessage(EM_SCROLLCARET);
    combo.SetModify(TRUE);
    combo.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

// The editor's working entity, asked of the main frame.
Entity* WorkingEntity()
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || pMain->GetSafeHwnd() == nullptr)
        return nullptr;
    return reinterpret_cast<Entity*>(pMain->SendMessage(WM_ENTITY_QUERY, 0, 0));
}

const EntityClass* ClassOf(const Entity* pEntity)
{
    const CString* name = pEntity != nullptr ? pEntity->FindValue("classname") : nullptr;
    CEditorServices* services = GetEditorServices();
    if (name == nullptr || name->IsEmpty() || services == nullptr)
        return nullptr;
    // The class map's keys are lower case.
    CString key = *name;
    key.MakeLower();
    const EntityClass* pClass = nullptr;
    return services->LookupEntityClass(key, pClass) ? pClass : nullptr;
}

void Beep()
{
    ::MessageBeep(MB_ICONEXCLAMATION);
}

} // namespace

void RegisterEntityCellControls(CGXGridEngine* pGrid)
{
    if (pGrid == nullptr)
        return;
    pGrid->SetControlForId(GX_IDS_CTRL_ENTITY_ANGLE, new CGridAngleComboBox(pGrid, 2005, 2006, kEntityComboFlags));
    pGrid->SetControlForId(GX_IDS_CTRL_ENTITY_TARGET, new CGridTargetComboBox(pGrid, 2007, 2008, kEntityComboFlags));
    pGrid->SetControlForId(GX_IDS_CTRL_ENTITY_SPAWNFLAGS, new CGridSpawnFlagsComboBox(pGrid, 2009, 2010));
    pGrid->SetControlForId(GX_IDS_CTRL_ENTITY_NUMBER, new CGridNumberEdit(pGrid, GX_IDS_CTRL_ENTITY_NUMBER));
    pGrid->SetControlForId(GX_IDS_CTRL_ENTITY_NEGATIVE,
                           new CGridNegativeNumberEdit(pGrid, GX_IDS_CTRL_ENTITY_NEGATIVE));
    pGrid->SetControlForId(GX_IDS_CTRL_ENTITY_MANGLE, new CGridMangleControl(pGrid, 2011, 2012));
}

// ---------------------------------------------------------------------------
// Angles

CGridAngleComboBox::CGridAngleComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags)
    : CGXComboBox(pGrid, nEditID, nListBoxID, nFlags)
{
    SetEntityComboOptions(*this);
}

void CGridAngleComboBox::FillDropList(CListBox* pList)
{
    static const char* const angles[] = {"0", "45", "90", "135", "180", "225", "270", "315", "-1", "-2"};
    for (const char* a : angles)
        pList->AddString(a);
    const CString text = CurrentComboText(*this);
    m_bMatched = text.IsEmpty() || SelectEqualEntry(pList, text) != LB_ERR;
}

void CGridAngleComboBox::ShowDropList(BOOL bShow)
{
    const BOOL opening = bShow && !IsDropListVisible();
    CGXComboBox::ShowDropList(bShow);
    if (opening)
        ClearUnmatchedSelection(*this, m_bMatched);
}

void CGridAngleComboBox::TakeListSelection(CListBox* pList) { TakeEntryText(*this, pList); }

// ---------------------------------------------------------------------------
// Target names

CGridTargetComboBox::CGridTargetComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID, UINT nFlags)
    : CGXComboBox(pGrid, nEditID, nListBoxID, nFlags)
{
    SetEntityComboOptions(*this);
}

void CGridTargetComboBox::CollectNames()
{
    m_names.clear();
    CEditorServices* services = GetEditorServices();
    Map* pMap = services != nullptr ? services->GetActiveMap() : nullptr;
    if (pMap == nullptr) {
        Report().Box(MB_OK | MB_ICONINFORMATION, "A map is not currently loaded.");
        return;
    }
    CStringList names;
    pMap->CollectTargetNames(names);
    for (POSITION pos = names.GetHeadPosition(); pos != nullptr;)
        m_names.push_back(names.GetNext(pos));
    if (m_names.empty())
        Report().Box(MB_OK | MB_ICONINFORMATION, "The current map doesn't contain any targetnames");
    const CString value = CurrentComboText(*this);
    if (!value.IsEmpty() && std::find(m_names.begin(), m_names.end(), value) == m_names.end())
        Report().Box(MB_OK | MB_ICONINFORMATION, "%s", (LPCSTR)("The current value: " + value + " is not a known targetname"));
}

void CGridTargetComboBox::ShowDropList(BOOL bShow)
{
    const BOOL opening = bShow && !IsDropListVisible() && m_bInit && GetGridWindow() != nullptr;
    if (opening) {
        CollectNames();
        // A box may have moved the focus away and back: the list opens only for a cell that is
        // still being edited.
        if (!m_bInit)
            return;
    }
    CGXComboBox::ShowDropList(bShow);
    if (opening)
        ClearUnmatchedSelection(*this, m_bMatched);
}

void CGridTargetComboBox::FillDropList(CListBox* pList)
{
    for (const CString& name : m_names)
        pList->AddString(name);
    const CString text = CurrentComboText(*this);
    m_bMatched = text.IsEmpty() || SelectEqualEntry(pList, text) != LB_ERR;
}

void CGridTargetComboBox::TakeListSelection(CListBox* pList) { TakeEntryText(*this, pList); }

// ---------------------------------------------------------------------------
// Spawn flags

CGridSpawnFlagsComboBox::CGridSpawnFlagsComboBox(CGXGridEngine* pGrid, UINT nEditID, UINT nListBoxID)
    : CGXCheckListComboBox(pGrid, nEditID, nListBoxID)
{
    SetEntityComboOptions(*this);
}

BOOL CGridSpawnFlagsComboBox::GetDisplayText(CString& strResult, ROWCOL, ROWCOL, LPCSTR lpszValue,
                                             const CGXStyle* pStyle)
{
    if (lpszValue != nullptr)
        strResult = lpszValue;
    else if (pStyle != nullptr && pStyle->GetIncludeValue())
        strResult = pStyle->GetValue();
    else
        strResult.Empty();
    return TRUE;
}

void CGridSpawnFlagsComboBox::FillDropList(CListBox* pList)
{
    m_nCheckCount = 0;
    auto* pCheck = dynamic_cast<CCheckListBox*>(pList);
    if (pCheck == nullptr)
        return;
    CString labels[kItems];
    SpawnFlagLabels(ClassOf(WorkingEntity()), labels);
    for (const CString& label : labels)
        pCheck->AddString(label);
    m_nCheckCount = m_nItems;
    m_strShownValue = m_bInit ? GetStyle().GetValue() : CString();
    const DWORD ticks = SpawnFlagTicks(m_strShownValue);
    for (int i = 0; i < m_nItems; ++i)
        pCheck->SetCheck(i, (ticks >> i) & 1 ? 1 : 0);
}

void CGridSpawnFlagsComboBox::TakeListSelection(CListBox* pList)
{
    auto* pCheck = dynamic_cast<CCheckListBox*>(pList);
    if (pCheck == nullptr || !m_bInit)
        return;
    DWORD ticked = 0;
    for (int i = 0; i < m_nCheckCount && i < m_nItems; ++i)
        if (pCheck->GetCheck(i) == 1)
            ticked |= 1u << i;
    // Closing the list without a change stores nothing and tells no one, whatever the value
    // reads as (a value the list cannot show stays as it was).
    if (ticked == SpawnFlagTicks(m_strShownValue))
        return;
    const CString value = SpawnFlagValue(m_strShownValue, ticked);
    m_pGrid->SetValueRange(CellRange(), value, gxOverride);
    m_strShownValue = value;
    if (CWnd* pMain = AfxGetMainWnd())
        if (pMain->GetSafeHwnd() != nullptr)
            pMain->SendMessage(WM_ENTITY_MODIFIED);
}

CRect CGridSpawnFlagsComboBox::GetDropDownRect(const CRect& rectCell)
{
    CRect cell = rectCell;
    if (CWnd* pGrid = GetGridWindow())
        pGrid->ClientToScreen(&cell);
    CRect desktop;
    ::GetClientRect(::GetDesktopWindow(), &desktop);
    // Below the cell as wide as it; moved to stay on the screen like every drop-down.
    return GXComboDropDownRect(cell, kListHeight, kListHeight, desktop);
}

// ---------------------------------------------------------------------------
// Numbers

BOOL CGridNumberEdit::ValidateString(const CString& sEdit)
{
    if (IsValidEntityNumber(sEdit, FALSE))
        return TRUE;
    Beep();
    return FALSE;
}

BOOL CGridNegativeNumberEdit::ValidateString(const CString& sEdit)
{
    if (IsValidEntityNumber(sEdit, TRUE))
        return TRUE;
    Beep();
    return FALSE;
}

// ---------------------------------------------------------------------------
// The mangle pop-up

void CGridMangle::Initialize()
{
    CGXGridWnd::Initialize();
    if (CGXGridParam* param = GetParam())
        param->EnableUndo(FALSE);
    SetControlForId(GX_IDS_CTRL_ENTITY_ANGLE, new CGridAngleComboBox(this, 2005, 2006, kEntityComboFlags));
    SetRowCount(3);
    SetColCount(2);
    HideRows(0, 0);
    HideCols(0, 0);
    static const char* const names[] = {"Roll", "Pitch", "Yaw"};
    for (ROWCOL row = 1; row <= 3; ++row)
        SetStyleRange(CGXRange(row, 1),
                      &CGXStyle().SetControl(GX_IDS_CTRL_STATIC).SetValue(names[row - 1]).SetInterior(RGB(192, 192, 192)),
                      gxOverride);
    SetStyleRange(CGXRange(1, 2, 3, 2), &CGXStyle().SetControl(GX_IDS_CTRL_ENTITY_ANGLE).SetValue("0"), gxOverride);
    CRect client;
    GetClientRect(&client);
    SetColWidth(1, 1, 60);
    SetColWidth(2, 2, std::max(40, client.Width() - 60));
}

CString CGridMangle::GetMangleText()
{
    // One at a time: the engine answers every value in the same scratch text.
    CString text = GetCellValue(kPitch, 2);
    text += " ";
    text += GetCellValue(kYaw, 2);
    text += " ";
    text += GetCellValue(kRoll, 2);
    return text;
}

void CGridMangle::SetMangleText(LPCSTR text)
{
    static const ROWCOL order[] = {kPitch, kYaw, kRoll};
    CString rest(text != nullptr ? text : "");
    for (ROWCOL row : order) {
        rest.TrimLeft();
        int end = rest.Find(' ');
        CString word = end < 0 ? rest : rest.Left(end);
        rest = end < 0 ? CString() : rest.Mid(end);
        SetValueRange(CGXRange(row, 2), word.IsEmpty() ? "0" : (LPCSTR)word, gxOverride);
    }
}

void CGridMangle::PostToOwner(UINT message)
{
    if (m_pOwner != nullptr && m_pOwner->GetSafeHwnd() != nullptr)
        m_pOwner->PostMessage(message, 0, 0);
}

BOOL CGridMangle::OnCellLeftClick(ROWCOL nStartRow, ROWCOL nStartCol, ROWCOL nRow, ROWCOL nCol, CPoint pt, UINT nFlags,
                                  WORD nHitState)
{
    const BOOL r = CGXGridWnd::OnCellLeftClick(nStartRow, nStartCol, nRow, nCol, pt, nFlags, nHitState);
    // A click on the names takes the angles; the angle cells take clicks for themselves (their
    // arrows open the lists the angles are chosen from).
    if ((nHitState & 0x10) && nCol != 2)
        PostToOwner(GXM_LISTCHOOSE);
    return r;
}

BOOL CGridMangle::DispatchKeyMessage(CWnd* pWnd, UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if ((nMessage == WM_KEYDOWN || nMessage == WM_CHAR) && (nChar == 13 || nChar == 10)) {
        if (nMessage == WM_KEYDOWN)
            PostToOwner(GXM_LISTCHOOSE);
        return TRUE;
    }
    // Escape leaves the cell as it was, as it does for every drop-down.
    if ((nMessage == WM_KEYDOWN || nMessage == WM_CHAR) && nChar == VK_ESCAPE) {
        if (nMessage == WM_KEYDOWN)
            PostToOwner(GXM_LISTCLOSE);
        return TRUE;
    }
    return CGXGridWnd::DispatchKeyMessage(pWnd, nMessage, nChar, nRepCnt, nFlags);
}

LRESULT CGridMangle::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
        // Activation that goes to a window of the grid's own (a drop-down of the angle cells) or
        // back to the owner keeps the pop-up; anything else closes it unchanged.
        const HWND hOther = reinterpret_cast<HWND>(lParam);
        const HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        if (hOther == nullptr || (hOther != hOwner && ::GetWindow(hOther, GW_OWNER) != m_hWnd))
            PostToOwner(GXM_LISTCLOSE);
    }
    return CGXGridWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The mangle control

CGridMangleControl::CGridMangleControl(CGXGridEngine* pGrid, UINT nID, DWORD dwFlags)
    : CGXEditControl(pGrid, nID), m_dwMangleFlags(dwFlags)
{
    m_pButton = new GXCellButton(this);
    m_pButton->SetText("...");
    AppendChild(m_pButton);
}

CGridMangleControl::~CGridMangleControl() { ClosePopup(FALSE); }

void CGridMangleControl::Init(ROWCOL nRow, ROWCOL nCol)
{
    CGXEditControl::Init(nRow, nCol);
    m_pButton->Refresh();
}

void CGridMangleControl::Reset()
{
    // The pop-up belongs to the cell the control held.
    ClosePopup(FALSE);
    CGXEditControl::Reset();
}

CRect CGridMangleControl::GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem, const CGXStyle* pStyle)
{
    CRect r = CGXEditControl::GetCellRect(nRow, nCol, rectItem, pStyle);
    r.right -= 15;
    return r;
}

void CGridMangleControl::LayoutChildren(ROWCOL, ROWCOL, const CRect& rect)
{
    CRect cell = rect;
    cell.right += 15;
    m_pButton->SetRect(CRect(std::max<int>(cell.right - 16, cell.left + 1), cell.top + 1, cell.right - 1,
                             std::min<int>(cell.top + 18, cell.bottom - 1)));
}

BOOL CGridMangleControl::OnMouseActivate(CWnd*, UINT, UINT, int& retval)
{
    if (m_pPopup == nullptr)
        return FALSE;
    SendMessage(GXM_LISTCHOOSE, 0, 1);
    retval = MA_ACTIVATEANDEAT;
    return TRUE;
}

void CGridMangleControl::OnClickedButton(GXCellChild*)
{
    if (m_pPopup != nullptr)
        SendMessage(GXM_LISTCHOOSE, 0, 0);
    else
        OpenPopup();
}

void CGridMangleControl::OpenPopup()
{
    CWnd* pGridWnd = GetGridWindow();
    if (m_pPopup != nullptr || !m_bInit || pGridWnd == nullptr || pGridWnd->GetSafeHwnd() == nullptr)
        return;
    CRect cell = m_pGrid->CalcCellRect(m_nRow, m_nCol);
    pGridWnd->ClientToScreen(&cell);
    CString text;
    GetCurrentText(text);
    auto* pPopup = new CGridMangle(this);
    if (!pPopup->CreateEx(0, CGXGridWnd::RegisterClass(AfxGetInstanceHandle()), nullptr,
                          WS_POPUP | WS_BORDER | WS_VSCROLL, CRect(CPoint(cell.left - 1, cell.bottom), CSize(201, 200)),
                          pGridWnd, 0)) {
        delete pPopup;
        return;
    }
    m_pPopup = pPopup;
    m_pPopup->InitGrid();
    // The angles the cell holds now; the pop-up starts from "0" for each missing one.
    m_pPopup->SetMangleText(text);
    m_pPopup->ShowWindow(SW_SHOW);
    m_pPopup->SetFocus();
    m_pPopup->UpdateWindow();
}

void CGridMangleControl::ClosePopup(BOOL bStore)
{
    CGridMangle* pPopup = m_pPopup;
    if (pPopup == nullptr)
        return;
    m_pPopup = nullptr;
    // A pop-up whose window went with its owner has no angles to give.
    const BOOL store = bStore && pPopup->GetSafeHwnd() != nullptr;
    const BOOL hadFocus = pPopup->GetSafeHwnd() != nullptr && pPopup->IsGridOrChildWnd(::GetFocus());
    CString text;
    if (store) {
        pPopup->TransferCurrentCell();
        text = pPopup->GetMangleText();
    }
    if (pPopup->GetSafeHwnd() != nullptr)
        pPopup->DestroyWindow();
    delete pPopup;
    if (!m_bInit || GetSafeHwnd() == nullptr)
        return;
    CString current;
    GetCurrentText(current);
    // The same angles again are no change of the cell.
    if (store && text != current && (m_bActive || OnStartEditing())) {
        if (!m_bActive)
            SetActive(TRUE);
        SetEditText(text);
        SetSel(0, -1);
        SetModify(TRUE);
        OnModifyCell();
        Invalidate();
    }
    if (hadFocus || ::GetFocus() == nullptr) {
        if (m_bActive && IsWindowVisible())
            SetFocus();
        else if (CWnd* pGridWnd = GetGridWindow())
            pGridWnd->SetFocus();
    }
}

LRESULT CGridMangleControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case GXM_LISTCHOOSE: ClosePopup(TRUE); return 0;
    case GXM_LISTCLOSE: ClosePopup(FALSE); return 0;
    case GXM_LISTSELCHANGE: return 0;
    default: return CGXEditControl::WindowProc(message, wParam, lParam);
    }
}
