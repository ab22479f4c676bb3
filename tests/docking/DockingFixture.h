// A docking main frame with docking bars, for the docking library's tests.
#pragma once
#include "afxtest.h"
#include "afxwndtest.h"
#include "SECBar.h"
#include "SECDockBar.h"
#include "SECDockContext.h"
#include "SECDockState.h"
#include "SECFrame.h"
#include <string>
#include <vector>

#define IDR_DOCK_MAIN 400

namespace docktest {

// The main frame; it records the prompts it is sent.
class CTestMainFrame : public SECMDIFrameWnd
{
public:
    std::vector<UINT> m_prompts;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING)
            m_prompts.push_back((UINT)wParam);
        return SECMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

// The extended style of the editor's bars: context menu, flat look, gripper with both buttons,
// floating in the main window.
const DWORD dwBarExStyle = CBRS_EX_CONTEXTMENU | CBRS_EX_FLATLOOK | CBRS_EX_GRIPPER | CBRS_EX_HIDEBUTTON |
                           CBRS_EX_EXPANDBUTTON | CBRS_EX_MDIFLOAT;

class DockingFrame : public testing::Test
{
public:
    // A window's rectangle in another window's client coordinates, and on the screen.
    static CRect RectIn(CWnd* pWnd, CWnd* pParent);
    static CRect ScreenRect(CWnd* pWnd);

protected:
    void SetUp() override { MakeFrame(); }
    void TearDown() override { DestroyFrame(); }

    void MakeFrame();
    void DestroyFrame();
    // A docking bar with the editor's styles, docking to every side.
    SECControlBar* AddBar(UINT nID, LPCSTR lpszTitle = "Bar", DWORD dwExStyle = dwBarExStyle);
    SECDockBar* Side(UINT nID);
    CRect FrameClient();
    CRect MDIClientRect();
    // The rows of a dock bar, bars and placeholders as their ids.
    static std::vector<std::vector<UINT>> Rows(CDockBar* pDockBar);
    // The bar's gripper button rectangle in screen coordinates (drawn once first).
    CRect ButtonRect(SECControlBar* pBar, BOOL bHide);
    // A point of a floating frame's caption that is not one of its buttons.
    static bool CaptionPoint(CWnd* pFrame, CPoint& pt);
    void Layout();

    CTestMainFrame* m_pFrame = nullptr;
};

} // namespace docktest
