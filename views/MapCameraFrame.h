// The MDI child frame of a camera window.
#pragma once
#include "SECFrame.h"

class CMapCameraFrame : public SECMDIChildWnd
{
    DECLARE_DYNCREATE(CMapCameraFrame)
public:
    CMapCameraFrame();

    // The smallest size the user can drag a map window to.
    enum { MIN_TRACK_WIDTH = 250, MIN_TRACK_HEIGHT = 210 };

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    // The 2D windows' toolbar combo boxes mean nothing to a camera window.
    void OnUpdateCombo(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
