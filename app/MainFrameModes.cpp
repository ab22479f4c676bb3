// The main frame's Texture Adjustment window and the editing modes the views consult: the mouse
// mode of the plane views and the axes that moves are kept off.
#include "MainFrame.h"
#include "../res/resource.h"
#include "EntityEditorDlg.h"
#include "TextureAdjustDlg.h"
#include "ViewServices.h"
#include "ViewsRes.h"
#include "CameraRes.h"
#include <vector>

void CMainFrame::CreateTextureAdjust()
{
    if (m_pTextureAdjust)
        return;
    auto* pDlg = new CTextureAdjustDlg(this);
    if (!pDlg->m_hWnd) {
        // No window: nothing will delete it on destruction.
        delete pDlg;
        return;
    }
    m_pTextureAdjust = pDlg;
}

void CMainFrame::DestroyTextureAdjust()
{
    CTextureAdjustDlg* pDlg = m_pTextureAdjust;
    m_pTextureAdjust = nullptr;
    if (pDlg && pDlg->m_hWnd)
        pDlg->DestroyWindow(); // deletes the object
}

void CMainFrame::OnTextureAdjustments()
{
    if (!m_pTextureAdjust || !m_pTextureAdjust->m_hWnd)
        return;
    m_pTextureAdjust->ShowWindow(m_pTextureAdjust->IsWindowVisible() ? SW_HIDE : SW_SHOW);
}

// The command of a key-down message in an accelerator table (virtual keys with the modifiers
// held now), 0 when the table has none.
static UINT AcceleratorCommandOf(HACCEL hAccel, const MSG* pMsg)
{
    const int n = hAccel ? ::CopyAcceleratorTableA(hAccel, nullptr, 0) : 0;
    if (n <= 0)
        return 0;
    std::vector<ACCEL> table(static_cast<size_t>(n));
    ::CopyAcceleratorTableA(hAccel, table.data(), n);
    BYTE mods = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        mods |= FSHIFT;
    if (::GetKeyState(VK_CONTROL) < 0)
        mods |= FCONTROL;
    if (::GetKeyState(VK_MENU) < 0)
        mods |= FALT;
    for (const ACCEL& a : table)
        if ((a.fVirt & FVIRTKEY) && a.key == pMsg->wParam && (a.fVirt & (FSHIFT | FCONTROL | FALT)) == mods)
            return a.cmd;
    return 0;
}

BOOL CMainFrame::TranslateToolWindowKey(const MSG* pMsg)
{
    if (!pMsg || !pMsg->hwnd || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN) || m_bPreviewMode)
        return FALSE;
    const struct
    {
        CWnd* pTool;
        UINT nCommand;
    } tools[] = {{m_pTextureAdjust, ID_VIEW_TEXTURE_ADJUST}, {m_pEntityEditor.get(), ID_VIEW_ENTITY_EDITOR}};
    HWND hRoot = ::GetAncestor(pMsg->hwnd, GA_ROOT);
    for (const auto& t : tools) {
        if (!t.pTool || !t.pTool->m_hWnd || t.pTool->m_hWnd != hRoot)
            continue;
        // The tables the frame translates with: the active map window's, then its own.
        CMDIChildWnd* pChild = MDIGetActive();
        HACCEL hChild = pChild ? pChild->GetDefaultAccelerator() : nullptr;
        UINT nCommand = AcceleratorCommandOf(hChild, pMsg);
        if (!nCommand)
            nCommand = AcceleratorCommandOf(m_hAccelTable, pMsg);
        if (nCommand != t.nCommand)
            return FALSE;
        SendMessage(WM_COMMAND, nCommand);
        return TRUE;
    }
    return FALSE;
}

void CMainFrame::OnUpdateTextureAdjustments(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pTextureAdjust != nullptr);
    pCmdUI->SetCheck(m_pTextureAdjust && m_pTextureAdjust->m_hWnd && m_pTextureAdjust->IsWindowVisible());
}

void CMainFrame::OnUpdateEntityEditor(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_pEntityEditor && m_pEntityEditor->m_hWnd && m_pEntityEditor->IsWindowVisible());
}

void CMainFrame::OnPanWindow()
{
    GetViewServices()->SetMouseMode(CViewServices::MOUSE_PAN);
}

void CMainFrame::OnSelectItem()
{
    GetViewServices()->SetMouseMode(CViewServices::MOUSE_SELECT);
}

void CMainFrame::OnMoveItem()
{
    GetViewServices()->SetMouseMode(CViewServices::MOUSE_MOVE);
}

void CMainFrame::OnZoomWindow()
{
    GetViewServices()->SetMouseMode(CViewServices::MOUSE_ZOOM);
}

void CMainFrame::OnZoomWindowToSelection()
{
    GetViewServices()->SetMouseMode(CViewServices::MOUSE_ZOOM_SELECTION);
}

void CMainFrame::OnZoomWindowToItems()
{
    GetViewServices()->SetMouseMode(CViewServices::MOUSE_ZOOM_ITEMS);
}

void CMainFrame::OnUpdateMouseMode(CCmdUI* pCmdUI)
{
    int mode;
    switch (pCmdUI->m_nID) {
    case ID_MOUSE_PAN_WINDOW: mode = CViewServices::MOUSE_PAN; break;
    case ID_MOUSE_SELECT_ITEM: mode = CViewServices::MOUSE_SELECT; break;
    case ID_MOUSE_MOVE_ITEM: mode = CViewServices::MOUSE_MOVE; break;
    case ID_MOUSE_ZOOM_WINDOW: mode = CViewServices::MOUSE_ZOOM; break;
    case ID_MOUSE_ZOOM_SELECTION: mode = CViewServices::MOUSE_ZOOM_SELECTION; break;
    default: mode = CViewServices::MOUSE_ZOOM_ITEMS; break;
    }
    // The current mode is marked and cannot be chosen again.
    BOOL bCurrent = GetViewServices()->GetMouseMode() == mode;
    pCmdUI->Enable(!bCurrent);
    pCmdUI->SetRadio(bCurrent);
}

static void ToggleAxis(int index)
{
    int axis[3];
    GetViewServices()->GetAxisRestrictions(axis[0], axis[1], axis[2]);
    axis[index] = !axis[index];
    GetViewServices()->SetAxisRestrictions(axis[0], axis[1], axis[2]);
}

void CMainFrame::OnRestrictXAxis()
{
    ToggleAxis(0);
}

void CMainFrame::OnRestrictYAxis()
{
    ToggleAxis(1);
}

void CMainFrame::OnRestrictZAxis()
{
    ToggleAxis(2);
}
