// The editor's main window: an MDI frame.
#pragma once
#include "afxwin.h"

class CMainFrame : public CMDIFrameWnd
{
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();

    // The caption is the editor's own business: no automatic document titles.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    int OnCreate(LPCREATESTRUCT lpcs);

    DECLARE_MESSAGE_MAP()
};
