// The main frame's docking bars: where they start, that their places survive a restart, and that
// showing, hiding and moving them acts and repaints at once.
#include "afxtest.h"
#include "shell_fixture.h"
#include "afxwndtest.h"
#include "EditorApp.h"
#include "MainFrame.h"
#include "SECDockBar.h"
#include "../../res/resource.h"
#include "TextureBrowser.h"
#include "SECRes.h"
#include "ShellRes.h"
#include <functional>
#include <string>
#include <vector>

namespace {

class MainFrameBars : public testing::Test
{
protected:
    CMainFrame* Start()
    {
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
        shelltest::QuietStart(m_app);
        if (!m_app.InitInstance())
            return nullptr;
        m_app.GetMainFrame()->RecalcLayout();
        afxtest::PumpMessages();
        return m_app.GetMainFrame();
    }
    void Close()
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::PumpMessages();
        afxtest::DrainQuit();
    }
    void TearDown() override { Close(); }
    CEditorApp m_app;
};

TEST_F(MainFrameBars, TheOutputWindowStartsDockedLeftAndComesBackWhereItWasLeft)
{
    CMainFrame* pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    SECControlBar& bar = pFrame->m_wndOutputBar;
    ASSERT_NE(bar.m_hWnd, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(bar.m_hWnd), IDW_OUTPUT_WINDOW);
    CString strTitle;
    bar.GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "Output Window");
    ASSERT_NE(bar.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(bar.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(bar.IsWindowVisible());
    CRect rect;
    EXPECT_TRUE(pFrame->m_impl.m_bGradientCaption);

    // Moved to the right side and made wider, then the editor ends.
    pFrame->DockControlBarEx(&bar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 210);
    pFrame->RecalcLayout();
    Close();

    // The next start puts it there again.
    pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    ASSERT_NE(pFrame->m_wndOutputBar.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(pFrame->m_wndOutputBar.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_RIGHT);
    pFrame->m_wndOutputBar.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 210);

    // Floated, it floats again after a restart, and still docks back to the right.
    pFrame->FloatControlBar(&pFrame->m_wndOutputBar, CPoint(200, 200));
    Close();
    pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    EXPECT_TRUE(pFrame->m_wndOutputBar.IsFloating());
    pFrame->m_wndOutputBar.m_pDockContext->ToggleDocking();
    ASSERT_NE(pFrame->m_wndOutputBar.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(pFrame->m_wndOutputBar.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_RIGHT);
}

// At the first start the docked windows fit what they show: the Output window a whole build line
// of 80 characters, the Resource window's texture browser a column of 64-pixel thumbnails.
TEST_F(MainFrameBars, TheFirstSizesFitTheContent)
{
    CMainFrame* pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    COutputTabBar& output = pFrame->m_wndOutputBar;
    ASSERT_NE(output.m_pDockBar, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(output.m_pDockBar->m_hWnd), AFX_IDW_DOCKBAR_LEFT);
    const std::string line = "Processing start.map: 1432 brushes, 8754 faces, 212 entities; wrote start.bsp ok";
    ASSERT_EQ(80u, line.size());
    output.ActivateTab("Build");
    output.PrintToTab("Build", line.c_str());
    afxtest::PumpMessages();
    COutputEdit& pane = output.m_build;
    ASSERT_TRUE(pane.IsWindowVisible());
    CRect client;
    pane.GetClientRect(&client);
    // The line's first and last characters are inside the pane, the pane not scrolled sideways.
    LRESULT first = pane.SendMessage(EM_POSFROMCHAR, 0);
    LRESULT last = pane.SendMessage(EM_POSFROMCHAR, 79);
    EXPECT_GE(static_cast<short>(LOWORD(first)), 0);
    CClientDC dc(&pane);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, reinterpret_cast<HGDIOBJ>(pane.SendMessage(WM_GETFONT)));
    SIZE end = {};
    ::GetTextExtentPoint32A(dc.m_hDC, line.c_str() + 79, 1, &end);
    ::SelectObject(dc.m_hDC, old);
    EXPECT_LE(static_cast<short>(LOWORD(last)) + end.cx, client.right) << "the line's end is cut";
    // The window keeps most of the frame to the maps.
    CRect frame, bar;
    pFrame->GetClientRect(&frame);
    output.GetWindowRect(&bar);
    EXPECT_LT(bar.Width(), frame.Width() / 2);

    // The texture browser at its thumbnail size of 64 shows a column of them.
    CProjectBar& resource = pFrame->m_wndResourceBar;
    CTextureBrowser& browser = resource.m_textureBrowser;
    resource.m_tabWnd.ActivateTab(2);
    afxtest::PumpMessages();
    ASSERT_TRUE(browser.IsWindowVisible());
    EXPECT_EQ(64, browser.GetThumbnailSize());
    EXPECT_GE(browser.GetGrid().columns, 1);
    EXPECT_EQ(64, browser.GetGrid().size);
    CRect textures;
    browser.GetTextureWnd()->GetClientRect(&textures);
    EXPECT_GE(textures.Width(), 64 + 18);

    // A narrower window shows one column of smaller thumbnails.
    pFrame->DockControlBarEx(&resource, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 100);
    pFrame->RecalcLayout();
    afxtest::PumpMessages();
    EXPECT_EQ(1, browser.GetGrid().columns);
    EXPECT_LT(browser.GetGrid().size, 64);
    EXPECT_EQ(browser.GetGrid().size, browser.GetTextureWnd()->m_size);
}

} // namespace

static void PrintTo(const CRect& rect, std::ostream* os)
{
    *os << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
}

namespace {

CRect RectInFrame(CWnd* pFrame, HWND hWnd)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    pFrame->ScreenToClient(&rect);
    return rect;
}

// What the screen showed in a part of the frame's client area before a command: a colour painted
// over the frame and its windows on the screen, without any window knowing of it (but for the
// rectangles kept).
void PaintOverScreen(CWnd* pFrame, const CRect& rect, COLORREF clr, const std::vector<CRect>& keep = {})
{
    HDC hDC = ::GetDCEx(pFrame->m_hWnd, nullptr, DCX_CACHE);
    for (const CRect& rectKeep : keep)
        ::ExcludeClipRect(hDC, rectKeep.left, rectKeep.top, rectKeep.right, rectKeep.bottom);
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    ::FillRect(hDC, &rect, hBrush);
    ::DeleteObject(hBrush);
    ::ReleaseDC(pFrame->m_hWnd, hDC);
}

// In the open View > Toolbars box: a toolbar's box checked or cleared.
void TickToolbar(HWND hDlg, UINT nBarID, BOOL bCheck)
{
    HWND hList = ::GetDlgItem(hDlg, IDC_SEC_TOOLBARLIST);
    auto* pList = dynamic_cast<CCheckListBox*>(CWnd::FromHandlePermanent(hList));
    ASSERT_NE(pList, nullptr);
    for (int i = 0; i < pList->GetCount(); i++) {
        if (pList->GetItemData(i) != nBarID)
            continue;
        pList->SetCheck(i, bCheck);
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBARLIST, CLBN_CHKCHANGE), (LPARAM)hList);
    }
}

// View > Toolbars: a toolbar's box checked or cleared, then the box closed.
void CheckToolbarInDialog(CMainFrame* pFrame, UINT nBarID, BOOL bCheck)
{
    AfxSeamDrive([=](AfxModalCall& call) {
        TickToolbar(call.hWnd, nBarID, bCheck);
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
}

} // namespace

// The docked windows and toolbars that the View menu and the keys show and hide (F3 the Output
// window, F4 the Resource window, the Toolbars box) act at once: after the command and the idle
// that follows, the bar is shown or hidden as asked, the map area gives or takes back the bar's
// strip, and what the screen showed in the strip is drawn over.
TEST_F(MainFrameBars, ShowingAndHidingABarActsAtOnce)
{
    CMainFrame* pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    shelltest::TolerateLoadReports();
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    const CString project = shelltest::OpenEmptyProject(m_app, "morvane_bars_fixture.prj", dir);
    ASSERT_FALSE(project.IsEmpty());
    const CString path = CString(dir) + "morvane_bars.map";
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(shelltest::CubeMap(), f);
    std::fclose(f);
    ASSERT_TRUE(pFrame->OpenMap(path, 255));
    m_app.OnIdle(0);
    afxtest::PumpMessages();

    const COLORREF clrBefore = RGB(254, 1, 253);
    CControlBar* pTools = pFrame->GetControlBar(IDW_TOOLBAR_TOOLS);
    ASSERT_NE(pTools, nullptr);
    const struct
    {
        const char* name;
        CControlBar* pBar;
        std::function<void(BOOL bShow)> toggle;
    } cases[] = {
        {"Output Window", &pFrame->m_wndOutputBar,
         [&](BOOL) { pFrame->SendMessage(WM_COMMAND, ID_VIEW_OUTPUT_WINDOW); }},
        {"Resource Window", &pFrame->m_wndResourceBar,
         [&](BOOL) { pFrame->SendMessage(WM_COMMAND, ID_VIEW_RESOURCE_WINDOW); }},
        // Hidden by its own Hide command, shown as a build (Ctrl+B) shows it.
        {"Output Window by Hide and a build", &pFrame->m_wndOutputBar,
         [&](BOOL bShow) {
             if (bShow)
                 pFrame->m_wndOutputBar.ShowOutput();
             else
                 pFrame->m_wndOutputBar.SendMessage(WM_COMMAND, ID_SEC_HIDE);
         }},
        {"Tools toolbar", pTools, [&](BOOL bShow) { CheckToolbarInDialog(pFrame, IDW_TOOLBAR_TOOLS, bShow); }},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.pBar->m_pDockBar, nullptr) << c.name;
        const BOOL bFirstShown = c.pBar->IsWindowVisible();
        const CRect mapArea = RectInFrame(pFrame, pFrame->m_hWndMDIClient);
        const CRect barRect = RectInFrame(pFrame, c.pBar->m_hWnd);
        for (int nStep = 0; nStep < 2; nStep++) {
            const BOOL bShow = nStep == 0 ? !bFirstShown : bFirstShown;
            const std::string step = std::string(c.name) + (bShow ? " shown" : " hidden");
            const CRect dockBefore = RectInFrame(pFrame, c.pBar->m_pDockBar->m_hWnd);
            const CRect mapBefore = RectInFrame(pFrame, pFrame->m_hWndMDIClient);
            CRect client;
            pFrame->GetClientRect(&client);
            // The screen as the windows draw it; then painted over where the bar goes, or over
            // the strip it leaves (only: the map area's windows move their pixels with them).
            pFrame->RedrawWindow(nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            PaintOverScreen(pFrame, bShow ? client : dockBefore, clrBefore);
            c.toggle(bShow);
            m_app.OnIdle(0);
            const afxtest::ScreenShot screen(pFrame);

            EXPECT_EQ(bShow, c.pBar->IsWindowVisible()) << step;
            const CRect dockAfter = RectInFrame(pFrame, c.pBar->m_pDockBar->m_hWnd);
            CRect strip;
            strip.SubtractRect(bShow ? dockAfter : dockBefore, bShow ? dockBefore : dockAfter);
            EXPECT_FALSE(strip.IsRectEmpty()) << step;
            CRect expected = mapArea;
            if (nStep == 0 && bShow)
                expected.SubtractRect(mapBefore, strip);
            else if (nStep == 0)
                expected.UnionRect(mapBefore, strip);
            EXPECT_EQ(expected, RectInFrame(pFrame, pFrame->m_hWndMDIClient)) << step;
            if (nStep == 1 && bShow) {
                EXPECT_EQ(barRect, RectInFrame(pFrame, c.pBar->m_hWnd)) << step;
            }
            EXPECT_EQ(CRect(), screen.Find(strip, clrBefore)) << step << ": the screen still shows what was there";
        }
    }
    m_app.CloseAllDocuments(FALSE);
    ::DeleteFileA(path);
    ::DeleteFileA(project);
}

// The Toolbars box (View > Toolbars) shows a toolbar on a new row, and moves a shown one to a row
// of its own when another takes its place, while the box stays open: the rows of the dock bar,
// the toolbars moved or shown into them and the docked windows they push aside are painted at
// once, and nothing of what the screen showed there before stays, neither with the box open nor
// after its Close.
TEST_F(MainFrameBars, TheToolbarsBoxRepaintsWhatItsTicksUncover)
{
    const COLORREF clrBefore = RGB(254, 1, 253);
    const struct
    {
        const char* name;
        BOOL bRestartBefore;    // the editor starts again first, with the bars as they were left
        UINT nBarID;
        BOOL bCheck;
    } steps[] = {
        {"Tools ticked: shown on a row of its own", FALSE, IDW_TOOLBAR_TOOLS, TRUE},
        {"Project ticked: Tools moves to a new row", TRUE, IDW_TOOLBAR_PROJECT, TRUE},
        {"Project cleared: Tools moves back", FALSE, IDW_TOOLBAR_PROJECT, FALSE},
        {"Tools cleared", FALSE, IDW_TOOLBAR_TOOLS, FALSE},
    };
    CMainFrame* pFrame = Start();
    ASSERT_NE(pFrame, nullptr);
    for (const auto& step : steps) {
        if (step.bRestartBefore) {
            Close();
            pFrame = Start();
            ASSERT_NE(pFrame, nullptr);
        }
        ASSERT_TRUE(pFrame->m_wndOutputBar.IsWindowVisible()) << step.name;
        CControlBar* pBar = pFrame->GetControlBar(step.nBarID);
        CControlBar* pDock = pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
        CControlBar* pLeft = pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
        CControlBar* pRight = pFrame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT);
        ASSERT_TRUE(pBar != nullptr && pDock != nullptr && pLeft != nullptr && pRight != nullptr) << step.name;
        ASSERT_EQ(pBar->m_pDockBar, pDock) << step.name;
        ASSERT_NE(step.bCheck, pBar->IsWindowVisible()) << step.name;
        const CRect dockBefore = RectInFrame(pFrame, pDock->m_hWnd);
        // The toolbars that stay shown keep their own pixels (moved with them or left in place).
        std::vector<CRect> staying;
        auto* pDockBar = static_cast<CDockBar*>(pDock);
        for (int i = 0; i < pDockBar->m_arrBars.GetSize(); i++) {
            CControlBar* pDocked = pDockBar->GetDockedControlBar(i);
            if (pDocked != nullptr && pDocked != pBar && pDocked->IsWindowVisible())
                staying.push_back(RectInFrame(pFrame, pDocked->m_hWnd));
        }
        CControlBar* pTools = pFrame->GetControlBar(IDW_TOOLBAR_TOOLS);
        ASSERT_NE(pTools, nullptr);
        const CRect toolsBefore = RectInFrame(pFrame, pTools->m_hWnd);
        CRect client;
        pFrame->GetClientRect(&client);
        // The screen as the windows draw it; then painted over the toolbar rows and over what they
        // grow into (the windows below, whose pixels move down with them out of the rows).
        pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PaintOverScreen(pFrame, step.bCheck ? client : dockBefore, clrBefore, staying);

        // What must be painted afresh: the toolbar rows as they were and as they are, and the
        // docked windows at the sides, moved with them.
        auto expectPainted = [&](const afxtest::ScreenShot& screen, const char* when) {
            const CRect areas[] = {dockBefore, RectInFrame(pFrame, pDock->m_hWnd), RectInFrame(pFrame, pLeft->m_hWnd),
                                   RectInFrame(pFrame, pRight->m_hWnd)};
            for (const CRect& area : areas) {
                EXPECT_EQ(CRect(), screen.Find(area, clrBefore))
                    << step.name << ", " << when << ": the screen still shows what was there in " << afxtest::Text(area);
            }
        };
        BOOL bDriven = FALSE;
        AfxSeamDrive([&](AfxModalCall& call) {
            bDriven = TRUE;
            TickToolbar(call.hWnd, step.nBarID, step.bCheck);
            EXPECT_EQ(step.bCheck, pBar->IsWindowVisible()) << step.name;
            expectPainted(afxtest::ScreenShot(pFrame), "with the box open");
            AfxSeamPressButton(call.hWnd, IDOK);    // Close
        });
        pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
        ASSERT_TRUE(bDriven) << step.name;
        expectPainted(afxtest::ScreenShot(pFrame), "after Close");
        m_app.OnIdle(0);
        afxtest::PumpMessages();

        // Each step adds or takes away a row; Project takes the row Tools had.
        const CRect dockAfter = RectInFrame(pFrame, pDock->m_hWnd);
        EXPECT_EQ(step.bCheck != FALSE, dockAfter.bottom > dockBefore.bottom) << step.name;
        EXPECT_NE(dockAfter.bottom, dockBefore.bottom) << step.name;
        if (step.nBarID == IDW_TOOLBAR_PROJECT) {
            EXPECT_NE(toolsBefore.top, RectInFrame(pFrame, pTools->m_hWnd).top) << step.name;
        }
    }
}
