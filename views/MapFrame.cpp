#include "MapFrame.h"
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "MapXYView.h"
#include "MapZView.h"
#include "Reporter.h"
#include "ViewServices.h"
#include "ViewsRes.h"
#include "EditCommands.h"
#include <algorithm>
#include <cstdio>
#include <vector>

// ---------------------------------------------------------------------------
// The splitter: the mouse goes to default processing, so the bar neither moves nor shows a
// split cursor.

IMPLEMENT_DYNAMIC(CMapSplitter, CSplitterWnd)

BEGIN_MESSAGE_MAP(CMapSplitter, CSplitterWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CMapSplitter::CMapSplitter() = default;

void CMapSplitter::OnLButtonDown(UINT, CPoint)
{
    Default();
}

void CMapSplitter::OnLButtonUp(UINT, CPoint)
{
    Default();
}

void CMapSplitter::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CMapSplitter::OnMouseMove(UINT, CPoint)
{
    Default();
}

BOOL CMapSplitter::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMapFrame, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(CMapFrame, SECMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_MDIACTIVATE()
    ON_WM_MBUTTONUP()
    ON_CBN_SELCHANGE(IDC_COMBO_SNAP_ANGLE, OnSelChangeSnapAngle)
    ON_CBN_SELCHANGE(IDC_COMBO_GRID, OnSelChangeGrid)
    ON_CBN_SELCHANGE(IDC_COMBO_PLANE_SCALE, OnSelChangePlaneScale)
    ON_CBN_SELCHANGE(IDC_COMBO_DEPTH_SCALE, OnSelChangeDepthScale)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_EDIT_CLONE, OnEditClone)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLONE, OnUpdateEditSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_COMMAND(ID_ROTATE_BY_HAND, OnRotateByHand)
    ON_COMMAND(ID_ASSIGN_TO_WORLD, OnAssignToWorld)
    ON_COMMAND(ID_IMPORT_FROM_FILE, OnImportFromFile)
    ON_COMMAND(ID_EXPORT_TO_FILE, OnExportToFile)
    ON_COMMAND(ID_DUMP_BRUSH, OnDumpBrush)
    ON_COMMAND(ID_CREATE_ARRAY, OnCreateArray)
    ON_COMMAND(ID_CREATE_ROOM, OnCreateRoom)
    ON_COMMAND(ID_SELECT_FULLY_INSIDE, OnSelectFullyInside)
    ON_COMMAND(ID_SELECT_PARTIALLY_INSIDE, OnSelectPartiallyInside)
    ON_COMMAND_RANGE(ID_ALIGN_LEFT, ID_ALIGN_HORIZONTALLY, OnAlign)
    ON_UPDATE_COMMAND_UI(ID_ROTATE_BY_HAND, OnUpdateNeedNoPointEntity)
    ON_UPDATE_COMMAND_UI(ID_ASSIGN_TO_WORLD, OnUpdateNeedNoPointEntity)
    ON_UPDATE_COMMAND_UI(ID_ROTATE_BY_DIALOG, OnUpdateNeverEnabled)
    ON_UPDATE_COMMAND_UI(ID_IMPORT_FROM_FILE, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_RESTRICT_AXIS_PLANE, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_EXPORT_TO_FILE, OnUpdateEditSelection)
    ON_UPDATE_COMMAND_UI(ID_CREATE_ARRAY, OnUpdateEditSelection)
    ON_UPDATE_COMMAND_UI(ID_CREATE_ROOM, OnUpdateCreateRoom)
    ON_UPDATE_COMMAND_UI(ID_SELECT_FULLY_INSIDE, OnUpdateOneBrush)
    ON_UPDATE_COMMAND_UI(ID_SELECT_PARTIALLY_INSIDE, OnUpdateOneBrush)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ALIGN_LEFT, ID_ALIGN_HORIZONTALLY, OnUpdateAlign)
    ON_COMMAND(ID_ZOOM_IN_PLANE, OnZoomInPlane)
    ON_COMMAND(ID_ZOOM_OUT_PLANE, OnZoomOutPlane)
    ON_COMMAND(ID_ZOOM_IN_DEPTH, OnZoomInDepth)
    ON_COMMAND(ID_ZOOM_OUT_DEPTH, OnZoomOutDepth)
    ON_COMMAND(ID_GRID_SIZE_UP, OnGridSizeUp)
    ON_COMMAND(ID_GRID_SIZE_DOWN, OnGridSizeDown)
    ON_COMMAND(ID_SNAP_ANGLE_UP, OnSnapAngleUp)
    ON_COMMAND(ID_SNAP_ANGLE_DOWN, OnSnapAngleDown)
    ON_COMMAND(ID_TOGGLE_GRID, OnToggleGrid)
    ON_COMMAND(ID_TOGGLE_SNAP_TO_GRID, OnToggleSnapToGrid)
    ON_COMMAND(ID_TOGGLE_SNAP_TO_ANGLE, OnToggleSnapToAngle)
    ON_COMMAND(ID_CLIP_TO_OBJECT, OnClipToObject)
    ON_COMMAND(ID_LINK_CLIPPING_PLANES, OnLinkClippingPlanes)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_GRID, OnUpdateToggleGrid)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_SNAP_TO_GRID, OnUpdateToggleSnapToGrid)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_SNAP_TO_ANGLE, OnUpdateToggleSnapToAngle)
    ON_UPDATE_COMMAND_UI(ID_CLIP_TO_OBJECT, OnUpdateClipToObject)
    ON_UPDATE_COMMAND_UI(ID_LINK_CLIPPING_PLANES, OnUpdateLinkClippingPlanes)
    ON_UPDATE_COMMAND_UI_RANGE(ID_COMBO_SNAP_ANGLE_UI, ID_COMBO_DEPTH_SCALE_UI, OnUpdateComboUI)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_ZOOM_WINDOW, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_PAN_WINDOW, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_ZOOM_ITEMS, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_SELECT_ITEM, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_MOVE_ITEM, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI(ID_MOUSE_ZOOM_SELECTION, OnUpdateMouseMode)
    ON_UPDATE_COMMAND_UI_RANGE(ID_RESTRICT_Y, ID_RESTRICT_X, OnUpdateRestrictAxis)
END_MESSAGE_MAP()

static const UINT kComboIds[CMapFrame::COMBO_COUNT] = {IDC_COMBO_SNAP_ANGLE, IDC_COMBO_GRID, IDC_COMBO_PLANE_SCALE,
                                                       IDC_COMBO_DEPTH_SCALE};

CMapFrame::CMapFrame()
    : m_bPanesCreated(0), m_bGridShown(1), m_bSnapToGrid(1), m_bSnapToAngle(1)
{
    // Snap angle "22.5" (the plane view's own starting angle), grid "16", scales "37.5%".
    m_comboIndex[COMBO_SNAP_ANGLE] = 3;
    m_comboIndex[COMBO_GRID] = 4;
    m_comboIndex[COMBO_PLANE_SCALE] = 2;
    m_comboIndex[COMBO_DEPTH_SCALE] = 2;
}

CMapFrame::~CMapFrame()
{
    m_objectOrder.RemoveAll();
}

UINT CMapFrame::ComboId(int which)
{
    return which >= 0 && which < COMBO_COUNT ? kComboIds[which] : 0;
}

int CMapFrame::ComboFromId(UINT nID)
{
    for (int i = 0; i < COMBO_COUNT; ++i)
        if (kComboIds[i] == nID)
            return i;
    return -1;
}

void CMapFrame::OnFilePrint()
{
    if (CMapXYView* v = GetXYView())
        v->OnFilePrint();
}

void CMapFrame::OnFilePrintPreview()
{
    if (CMapXYView* v = GetXYView())
        v->OnFilePrintPreview();
}

void CMapFrame::OnEditCut()
{
    if (CMapXYView* v = GetXYView())
        v->Cut();
}

void CMapFrame::OnEditCopy()
{
    if (CMapXYView* v = GetXYView())
        v->Copy();
}

void CMapFrame::OnEditPaste()
{
    if (CMapXYView* v = GetXYView())
        v->Paste();
}

void CMapFrame::OnEditClone()
{
    if (CMapXYView* v = GetXYView())
        v->Clone();
}

void CMapFrame::OnUpdateEditSelection(CCmdUI* pCmdUI)
{
    CMapXYView* v = GetXYView();
    if (v)
        v->OnUpdateNeedSelection(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

void CMapFrame::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    CMapXYView* v = GetXYView();
    if (v)
        v->OnUpdateEditPaste(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

CMapXYView* CMapFrame::GetXYView() const
{
    if (!m_wndSplitter.m_hWnd)
        return nullptr;
    CWnd* p = m_wndSplitter.GetPane(0, 0);
    return p && p->IsKindOf(RUNTIME_CLASS(CMapXYView)) ? static_cast<CMapXYView*>(p) : nullptr;
}

CMapZView* CMapFrame::GetZView() const
{
    if (!m_wndSplitter.m_hWnd)
        return nullptr;
    CWnd* p = m_wndSplitter.GetPane(0, 1);
    return p && p->IsKindOf(RUNTIME_CLASS(CMapZView)) ? static_cast<CMapZView*>(p) : nullptr;
}

BOOL CMapFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Every command of the window comes this way, menus' and accelerators' alike, the main
    // frame's own ones too (the main frame asks the active window first). One given during a drag
    // would act, and show its boxes, while a pane holds the mouse: a box under a held mouse takes
    // no clicks. The drag ends first, as its release would end it; a command that is only asked
    // about (an update, a probe for a handler) leaves it.
    if (nCode == CN_COMMAND && !pHandlerInfo) {
        if (CMapXYView* pXY = GetXYView())
            pXY->EndDragBeforeCommand();
        if (CMapZView* pZ = GetZView())
            pZ->EndDragBeforeCommand();
    }
    return SECMDIChildWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMapFrame::ActivateXYView()
{
    CMapXYView* pView = GetXYView();
    if (pView && GetActiveView() != pView)
        SetActiveView(pView, TRUE);
}

void CMapFrame::ActivateZView()
{
    CMapZView* pView = GetZView();
    if (pView && GetActiveView() != pView)
        SetActiveView(pView, TRUE);
}

void CMapFrame::RebuildObjectOrder()
{
    if (CMapXYView* pView = GetXYView())
        pView->RebuildVisibleList(TRUE);
    else
        m_objectOrder.RemoveAll();
}

BOOL CMapFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    // The plane view writes the caption itself.
    cs.style &= ~FWS_ADDTOTITLE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return SECMDIChildWnd::PreCreateWindow(cs);
}

BOOL CMapFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) {
        Report().BoxId(MB_OK, IDS_NO_SPLITTER);
        return FALSE;
    }
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CMapXYView), CSize(1, 1), pContext)) {
        Report().BoxId(MB_OK, IDS_NO_FIRST_PANE);
        return FALSE;
    }
    if (!m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CMapZView), CSize(1, 1), pContext)) {
        Report().BoxId(MB_OK, IDS_NO_SECOND_PANE);
        return FALSE;
    }
    SetActiveView(GetXYView(), FALSE);
    RecalcLayout();
    m_bPanesCreated = 1;
    return TRUE;
}

void CMapFrame::OnSize(UINT nType, int cx, int cy)
{
    SECMDIChildWnd::OnSize(nType, cx, cy);
    if (!m_bPanesCreated || !m_wndSplitter.m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.Width() < 1 || client.Height() < 1)
        return;
    // The depth view keeps its width; the plane view takes the rest.
    m_wndSplitter.SetColumnInfo(0, client.Width() - 61, 0);
    m_wndSplitter.SetColumnInfo(1, 50, 0);
    m_wndSplitter.RecalcLayout();
}

void CMapFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    Default();
    lpMMI->ptMinTrackSize.x = 250;
    lpMMI->ptMinTrackSize.y = 210;
}

void CMapFrame::OnMButtonUp(UINT, CPoint)
{
    CMDIFrameWnd* pMain = GetMDIFrame();
    if (pMain && pMain->m_hWndMDIClient)
        ::SendMessageA(pMain->m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

// ---------------------------------------------------------------------------
// The combo boxes

void CMapFrame::OnComboChanged(UINT nID)
{
    int which = ComboFromId(nID);
    std::vector<HWND> combos;
    GetViewServices()->FindCombos(nID, combos);
    if (which < 0 || combos.empty())
        return;
    // The box chosen in is the one whose notification this is: Customize can put a second box of
    // the command on another toolbar, and that one shows the old entry until it follows. A step
    // of a command sets the first box.
    HWND hCombo = combos.front();
    const MSG* pMsg = GetCurrentMessage();
    if (pMsg && pMsg->message == WM_COMMAND && HIWORD(pMsg->wParam) == CBN_SELCHANGE &&
        std::find(combos.begin(), combos.end(), reinterpret_cast<HWND>(pMsg->lParam)) != combos.end())
        hCombo = reinterpret_cast<HWND>(pMsg->lParam);
    int sel = static_cast<int>(::SendMessageA(hCombo, CB_GETCURSEL, 0, 0));
    if (sel < 0)
        return;
    m_comboIndex[which] = sel;
    for (HWND h : combos) {
        if (h != hCombo)
            ::SendMessageA(h, CB_SETCURSEL, sel, 0);
    }
    char text[64] = "";
    int len = static_cast<int>(::SendMessageA(hCombo, CB_GETLBTEXTLEN, sel, 0));
    if (len < 0 || len >= static_cast<int>(sizeof text))
        return;
    ::SendMessageA(hCombo, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text));
    CMapXYView* pXY = GetXYView();
    CMapZView* pZ = GetZView();
    switch (which) {
    case COMBO_PLANE_SCALE:
    case COMBO_DEPTH_SCALE: {
        float v = 0;
        if (sscanf(text, "%f%%", &v) != 1)
            return;
        float scale = v * 0.01f;
        if (which == COMBO_PLANE_SCALE && pXY)
            pXY->SetPlaneScale(scale);
        if (which == COMBO_DEPTH_SCALE && pZ)
            pZ->UpdateScrollSizes(scale);
        break;
    }
    case COMBO_GRID: {
        int g = 0;
        if (sscanf(text, "%d", &g) != 1)
            return;
        if (pXY)
            pXY->ApplyGridSize(g);
        if (pZ)
            pZ->ApplyGridSize(g);
        break;
    }
    case COMBO_SNAP_ANGLE: {
        float a = 0;
        if (sscanf(text, "%f%%", &a) != 1)
            return;
        if (pXY)
            pXY->ApplySnapAngle(static_cast<double>(a));
        break;
    }
    default:
        break;
    }
}

void CMapFrame::StepCombo(int which, int delta)
{
    UINT nID = ComboId(which);
    HWND hCombo = GetViewServices()->FindCombo(nID);
    if (!hCombo)
        return;
    int count = static_cast<int>(::SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    int index = m_comboIndex[which];
    if (delta > 0 && index >= count - 1)
        return;
    if (delta < 0 && index <= 0)
        return;
    index += delta > 0 ? 1 : -1;
    ::SendMessageA(hCombo, CB_SETCURSEL, index, 0);
    OnComboChanged(nID);
}

void CMapFrame::OnZoomInPlane()
{
    CMapXYView* pXY = GetXYView();
    if (pXY && pXY->IsIdle())
        StepCombo(COMBO_PLANE_SCALE, 1);
}

void CMapFrame::OnZoomOutPlane()
{
    CMapXYView* pXY = GetXYView();
    if (pXY && pXY->IsIdle())
        StepCombo(COMBO_PLANE_SCALE, -1);
}

void CMapFrame::RestoreComboEntries()
{
    static const int kOrder[COMBO_COUNT] = {COMBO_SNAP_ANGLE, COMBO_PLANE_SCALE, COMBO_DEPTH_SCALE, COMBO_GRID};
    // Every activation of a map window comes here: the bars are searched once for all four.
    UINT ids[COMBO_COUNT];
    for (int i = 0; i < COMBO_COUNT; ++i)
        ids[i] = ComboId(kOrder[i]);
    std::vector<HWND> combos[COMBO_COUNT];
    GetViewServices()->FindCombos(ids, COMBO_COUNT, combos);
    for (int i = 0; i < COMBO_COUNT; ++i)
        for (HWND h : combos[i])
            ::SendMessageA(h, CB_SETCURSEL, m_comboIndex[kOrder[i]], 0);
}

void CMapFrame::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    SECMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    CViewServices* services = GetViewServices();
    if (!bActivate || pActivateWnd != this) {
        services->ApplyEntityChanges();
        return;
    }
    Map* pMap = static_cast<Map*>(GetActiveDocument());
    if (!pMap) {
        if (CMapXYView* pXY = GetXYView())
            pMap = pXY->GetMap();
    }
    if (pMap && services->GetCachedActiveMap() != pMap) {
        services->SetActiveMap(pMap);
        services->SetCurrentEntity(pMap->GetCurrentEntity());
    }
    RestoreComboEntries();
}

// ---------------------------------------------------------------------------
// Switches and clipping

void CMapFrame::OnToggleGrid()
{
    m_bGridShown = !m_bGridShown;
    Report().Status("Grid Turned %s", m_bGridShown ? "On" : "Off");
    if (CDocument* pDoc = GetActiveDocument())
        pDoc->UpdateAllViews(nullptr, HINT_REDRAW);
}

void CMapFrame::OnToggleSnapToGrid()
{
    m_bSnapToGrid = !m_bSnapToGrid;
    Report().Status("Snap-To-Grid Turned %s", m_bSnapToGrid ? "On" : "Off");
}

void CMapFrame::OnToggleSnapToAngle()
{
    m_bSnapToAngle = !m_bSnapToAngle;
    Report().Status("Snap-To-Angle Turned %s", m_bSnapToAngle ? "On" : "Off");
}

void CMapFrame::OnClipToObject()
{
    CMapXYView* pXY = GetXYView();
    Map* pMap = pXY ? pXY->GetMap() : nullptr;
    if (!pMap)
        return;
    CViewServices* services = GetViewServices();
    services->SetClipToObject(!services->IsClipToObject());
    if (services->IsClipToObject()) {
        pMap->UpdateAllViews(nullptr, HINT_CLIP_TO_OBJECT);
        pMap->ResetDepthClip();
        pMap->UpdateAllViews(nullptr, HINT_LINKED_SELECTION);
    } else {
        pMap->ResetDepthClip();
        pMap->UpdateAllViews(nullptr, HINT_UNCLIP_TO_OBJECT);
    }
    pMap->RebuildVisibleList();
    pMap->UpdateAllViews(nullptr, HINT_REDRAW);
}

void CMapFrame::OnLinkClippingPlanes()
{
    CMapXYView* pXY = GetXYView();
    Map* pMap = pXY ? pXY->GetMap() : nullptr;
    CViewServices* services = GetViewServices();
    services->SetLinkClipping(!services->IsLinkClipping());
    if (!pMap)
        return;
    if (services->IsLinkClipping()) {
        pMap->ResetDepthClip();
        pMap->UpdateAllViews(nullptr, HINT_LINKED_SELECTION);
        pMap->RebuildVisibleList();
        pMap->UpdateAllViews(nullptr, HINT_REDRAW);
    } else {
        pMap->UpdateAllViews(nullptr, HINT_SELECTION);
        pMap->UpdateAllViews(nullptr, HINT_REDRAW);
    }
}

// ---------------------------------------------------------------------------
// Update rules

void CMapFrame::OnUpdateToggleGrid(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_bGridShown ? 1 : 0);
}

void CMapFrame::OnUpdateToggleSnapToGrid(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_bSnapToGrid ? 1 : 0);
}

void CMapFrame::OnUpdateToggleSnapToAngle(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_bSnapToAngle ? 1 : 0);
}

void CMapFrame::OnUpdateClipToObject(CCmdUI* pCmdUI)
{
    CViewServices* services = GetViewServices();
    if (services->IsClipToObject()) {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
        return;
    }
    CMapXYView* pXY = GetXYView();
    Map* pMap = pXY ? pXY->GetMap() : nullptr;
    BOOL oneBrush = pMap && pMap->GetSelectionCount() == 1 &&
                    static_cast<SThing*>(pMap->GetSelection().GetHead())->GetKind() == 0;
    pCmdUI->Enable(oneBrush && services->IsLinkClipping());
    pCmdUI->SetCheck(0);
}

void CMapFrame::OnUpdateLinkClippingPlanes(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(GetViewServices()->IsLinkClipping() ? 1 : 0);
}

void CMapFrame::OnUpdateComboUI(CCmdUI* pCmdUI)
{
    // The update comes here only while this map window is the active one, so its combos are
    // enabled: the boxes themselves too, which the main frame disabled while no map window was
    // active.
    UINT nCombo = ComboId(static_cast<int>(pCmdUI->m_nID - ID_COMBO_SNAP_ANGLE_UI));
    if (nCombo != 0)
        GetViewServices()->EnableCombos(nCombo, TRUE);
    pCmdUI->Enable(TRUE);
}

void CMapFrame::OnUpdateMouseMode(CCmdUI* pCmdUI)
{
    int mode;
    switch (pCmdUI->m_nID) {
    case ID_MOUSE_PAN_WINDOW: mode = CViewServices::MOUSE_PAN; break;
    case ID_MOUSE_SELECT_ITEM: mode = CViewServices::MOUSE_SELECT; break;
    case ID_MOUSE_MOVE_ITEM: mode = CViewServices::MOUSE_MOVE; break;
    case ID_MOUSE_ZOOM_WINDOW: mode = CViewServices::MOUSE_ZOOM; break;
    case ID_MOUSE_ZOOM_SELECTION: mode = CViewServices::MOUSE_ZOOM_SELECTION; break;
    case ID_MOUSE_ZOOM_ITEMS: mode = CViewServices::MOUSE_ZOOM_ITEMS; break;
    default: return;
    }
    BOOL enable = TRUE;
    if (pCmdUI->m_nID == ID_MOUSE_MOVE_ITEM) {
        CMapXYView* pXY = GetXYView();
        Map* pMap = pXY ? pXY->GetMap() : nullptr;
        enable = pMap && pMap->GetCurrentEntity();
    }
    pCmdUI->Enable(enable);
    pCmdUI->SetRadio(GetViewServices()->GetMouseMode() == mode);
}

void CMapFrame::OnUpdateRestrictAxis(CCmdUI* pCmdUI)
{
    int x, y, z;
    GetViewServices()->GetAxisRestrictions(x, y, z);
    int flag = pCmdUI->m_nID == ID_RESTRICT_X ? x : pCmdUI->m_nID == ID_RESTRICT_Y ? y : z;
    pCmdUI->Enable(TRUE);
    pCmdUI->SetRadio(flag != 0);
}
