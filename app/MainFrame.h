// The editor's main window: an MDI frame with docking bars.
#pragma once
#include "afxwin.h"
#include "SECBar.h"
#include "SECFrame.h"

class CMainFrame : public SECMDIFrameWnd
{
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();

    // The caption is the editor's own business: no automatic document titles.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // The docking layout is kept under this name in the settings.
    static const char szBarState[];

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();

    // The Output window (its panes come with the shell's windows).
    SECControlBar m_wndOutputBar;

    DECLARE_MESSAGE_MAP()
};
