#include "MapCameraFrame.h"
#include "CameraRes.h"
#include "MapFrame.h"
#include "ViewServices.h"

IMPLEMENT_DYNCREATE(CMapCameraFrame, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(CMapCameraFrame, SECMDIChildWnd)
    ON_WM_GETMINMAXINFO()
    ON_UPDATE_COMMAND_UI_RANGE(ID_COMBO_FIRST, ID_COMBO_LAST, OnUpdateCombo)
END_MESSAGE_MAP()

CMapCameraFrame::CMapCameraFrame() = default;

BOOL CMapCameraFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.cx = 320;
    cs.cy = 240;
    // The view writes the title itself: the map's name and the eye position.
    cs.style &= ~FWS_ADDTOTITLE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return SECMDIChildWnd::PreCreateWindow(cs);
}

void CMapCameraFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    SECMDIChildWnd::OnGetMinMaxInfo(lpMMI);
    lpMMI->ptMinTrackSize.x = MIN_TRACK_WIDTH;
    lpMMI->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
}

void CMapCameraFrame::OnUpdateCombo(CCmdUI* pCmdUI)
{
    // The boxes too: a map window active before this one left them enabled.
    UINT nCombo = CMapFrame::ComboId(static_cast<int>(pCmdUI->m_nID - ID_COMBO_FIRST));
    if (nCombo != 0)
        GetViewServices()->EnableCombos(nCombo, FALSE);
    pCmdUI->Enable(FALSE);
}
