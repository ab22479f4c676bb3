// Docking bars in a docking main frame: the sides, shared rows and their splitters, dragging,
// floating and docking back, the gripper's buttons, the context menu and floating in the main
// window, all with real windows and synthesized input.
#include "DockingFixture.h"

using afxtest::Text;

namespace docktest {
namespace {

TEST_F(DockingFrame, BarsDockToEachSideAndTheMDIClientGetsTheRest)
{
    // Each side: its bar across the whole side, a 2-pixel line towards the frame's edge and a
    // 6-pixel splitter towards the client area (the far sides start one pixel further in).
    struct Case
    {
        UINT nSide;
        int nThickness;
        int nBarOffset;     // where the bar starts across its dock bar
    } cases[] = {
        {AFX_IDW_DOCKBAR_TOP, 100, 2},
        {AFX_IDW_DOCKBAR_BOTTOM, 90, 7},
        {AFX_IDW_DOCKBAR_LEFT, 150, 2},
        {AFX_IDW_DOCKBAR_RIGHT, 130, 7},
    };
    std::vector<SECControlBar*> bars;
    for (const Case& c : cases) {
        bars.push_back(AddBar(100 + (UINT)bars.size()));
        m_pFrame->DockControlBarEx(bars.back(), c.nSide, 0, 0, 1.0f, c.nThickness);
    }
    Layout();
    CRect rectFree = FrameClient();
    for (size_t i = 0; i < bars.size(); i++) {
        const Case& c = cases[i];
        SECDockBar* pSide = Side(c.nSide);
        SCOPED_TRACE(c.nSide);
        ASSERT_EQ(bars[i]->m_pDockBar, pSide);
        CRect rectSide = RectIn(pSide, m_pFrame);
        CRect rectClient;
        pSide->GetClientRect(&rectClient);
        CRect rectBar = RectIn(bars[i], pSide);
        BOOL bHorz = c.nSide == AFX_IDW_DOCKBAR_TOP || c.nSide == AFX_IDW_DOCKBAR_BOTTOM;
        // The bar lies across the whole length of its side.
        if (bHorz) {
            EXPECT_EQ(Text(rectBar), Text(CRect(0, c.nBarOffset, rectClient.right, c.nBarOffset + c.nThickness)));
            EXPECT_EQ(rectSide.Height(), c.nBarOffset + c.nThickness + (c.nBarOffset == 2 ? 6 : 2) + 2);
        }
        else {
            EXPECT_EQ(Text(rectBar), Text(CRect(c.nBarOffset, 0, c.nBarOffset + c.nThickness, rectClient.bottom)));
            EXPECT_EQ(rectSide.Width(), c.nBarOffset + c.nThickness + (c.nBarOffset == 2 ? 6 : 2) + 2);
        }
        EXPECT_EQ(bars[i]->GetBarStyle() & CBRS_ALIGN_ANY, pSide->m_dwStyle & CBRS_ALIGN_ANY);
        EXPECT_EQ(pSide->m_arrSplitters.GetSize(), 1);
        switch (c.nSide) {
        case AFX_IDW_DOCKBAR_TOP: rectFree.top = rectSide.bottom; break;
        case AFX_IDW_DOCKBAR_BOTTOM: rectFree.bottom = rectSide.top; break;
        case AFX_IDW_DOCKBAR_LEFT: rectFree.left = rectSide.right; break;
        case AFX_IDW_DOCKBAR_RIGHT: rectFree.right = rectSide.left; break;
        }
    }
    EXPECT_EQ(Text(MDIClientRect()), Text(rectFree));
}

} // namespace
} // namespace docktest
