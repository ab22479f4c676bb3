// The tip-of-the-day dialog (through the seam's live driver) and the workbook's sheet tabs.
#include "DockingFixture.h"
#include "SECTipOfDay.h"
#include "SECWorkbook.h"
#include "afxdc.h"
#include <cstdio>
#include <string>

using afxtest::Text;

namespace {

// A tips file in the temporary folder, removed at the end.
struct TipsFile
{
    CString strPath;
    explicit TipsFile(const std::string& text)
    {
        char dir[MAX_PATH], name[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        ::GetTempFileNameA(dir, "tip", 0, name);
        strPath = name;
        FILE* f = fopen(name, "wb");
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }
    ~TipsFile() { ::DeleteFileA(strPath); }
};

// Runs the dialog through the seam's live driver: drive(dlg, hWnd) presses buttons; then OK.
void RunTips(SECTipOfDay& dlg, const std::function<void(SECTipOfDay&, HWND)>& drive)
{
    AfxSeamDrive([&](AfxModalCall& call) {
        drive(dlg, call.hWnd);
        AfxSeamPressButton(call.hWnd, IDC_SEC_TIP_OK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(TipOfDay, NextAndPreviousStepAndWrapAndTheCheckBoxIsReadBack)
{
    TipsFile file("first\nsecond\nthird\n");
    struct Case
    {
        int nStart;
        std::vector<int> steps;     // +1 next, -1 previous
        std::vector<int> tips;      // the tip shown after each step
        const char* text;           // the last tip's text
    } cases[] = {
        {1, {+1, +1, +1}, {2, 3, 1}, "first\n"},
        {1, {-1, -1}, {3, 2}, "second\n"},
        {0, {}, {}, "third\n"},     // 0 or less: the last
        {-4, {+1}, {1}, "first\n"},
        {9, {}, {}, "first\n"},     // past the count: the first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nStart);
        SECTipOfDay dlg(file.strPath, c.nStart, FALSE);
        RunTips(dlg, [&](SECTipOfDay& d, HWND hWnd) {
            EXPECT_EQ(d.m_nTipCount, 3);
            for (size_t i = 0; i < c.steps.size(); i++) {
                AfxSeamPressButton(hWnd, c.steps[i] > 0 ? IDC_SEC_TIP_NEXT : IDC_SEC_TIP_PREV);
                EXPECT_EQ(d.m_nTip, c.tips[i]) << i;
            }
            if (c.nStart == 1) {
                // The box is clicked by the user: its state is kept.
                ::SendDlgItemMessageA(hWnd, IDC_SEC_TIP_SHOW, BM_CLICK, 0, 0);
            }
        });
        EXPECT_EQ(std::string(dlg.m_strText), c.text);
        EXPECT_EQ(dlg.m_bShowAtStartup, c.nStart == 1);
    }
}

TEST(TipOfDay, LongLinesEmptyFilesAndMissingFiles)
{
    {
        // A line of 600 characters is two tips.
        TipsFile file(std::string(600, 'x') + "\nlast\n");
        SECTipOfDay dlg(file.strPath, 2, TRUE);
        RunTips(dlg, [](SECTipOfDay& d, HWND) { EXPECT_EQ(d.m_nTipCount, 3); });
        EXPECT_EQ(std::string(dlg.m_strText), std::string(89, 'x') + "\n");
        EXPECT_TRUE(dlg.m_bShowAtStartup);
    }
    {
        TipsFile file("");
        SECTipOfDay dlg(file.strPath, 1, TRUE);
        RunTips(dlg, [](SECTipOfDay& d, HWND hWnd) {
            EXPECT_EQ(d.m_nTipCount, 0);
            AfxSeamPressButton(hWnd, IDC_SEC_TIP_NEXT);
        });
        EXPECT_EQ(std::string(dlg.m_strText), "");
    }
    {
        // A missing file with a long path: the whole warning, and the buttons change nothing.
        std::string path = "C:\\" + std::string(600, 'p') + ".tip";
        SECTipOfDay dlg(path.c_str(), 1, TRUE);
        RunTips(dlg, [&](SECTipOfDay& d, HWND hWnd) {
            EXPECT_EQ(d.m_nTipCount, -1);
            AfxSeamPressButton(hWnd, IDC_SEC_TIP_NEXT);
            AfxSeamPressButton(hWnd, IDC_SEC_TIP_PREV);
            EXPECT_EQ(d.m_nTip, 1);
        });
        EXPECT_EQ(std::string(dlg.m_strText), "WARNING: Could not find: \"" + path + "\"...");
    }
}

// ---- Workbook -------------------------------------------------------------------------------

class Workbook : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pBook = new SECWorkbook;
        ASSERT_TRUE(m_pBook->LoadFrame(IDR_DOCK_MAIN, WS_OVERLAPPEDWINDOW));
        m_pBook->SetWindowPos(nullptr, 60, 40, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
        m_pBook->EnableDocking(CBRS_ALIGN_ANY);
        m_pBook->ShowWindow(SW_SHOW);
        m_pBook->RecalcLayout();
        afxtest::PumpMessages();
    }
    void TearDown() override
    {
        if (m_pBook != nullptr && ::IsWindow(m_pBook->m_hWnd))
            m_pBook->DestroyWindow();
        afxtest::PumpMessages();
        afxtest::DrainQuit();
    }
    SECWorksheet* AddSheet(LPCSTR lpszTitle)
    {
        auto* pSheet = new SECWorksheet;
        EXPECT_TRUE(pSheet->LoadFrame(IDR_SEC_MDIFLOAT, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_pBook));
        pSheet->SetWindowText(lpszTitle);
        pSheet->ShowWindow(SW_SHOW);
        return pSheet;
    }
    CPoint TabPoint(SECSheetInfo* pSheet)
    {
        POINT pts[7];
        EXPECT_TRUE(m_pBook->GetTabPolygon(pSheet, pts, 7));
        return CPoint((pts[0].x + pts[5].x) / 2, pts[0].y + 10);
    }
    SECWorkbook* m_pBook = nullptr;
};

TEST_F(Workbook, TabWidthsShareTheClientUpToNinetyAndHiddenSheetsLeaveNoGap)
{
    m_pBook->SetWorkbookMode(TRUE);
    int nClient = m_pBook->MDIClientRect().Width();
    EXPECT_EQ(m_pBook->m_nTabWidth, 100);   // no sheets: as it was
    std::vector<SECWorksheet*> sheets;
    sheets.push_back(AddSheet("one"));
    EXPECT_EQ(m_pBook->m_nTabWidth, 90);
    for (int i = 0; i < 11; i++)
        sheets.push_back(AddSheet("more"));
    EXPECT_EQ(m_pBook->m_nTabWidth, std::min(90, (nClient + 5) / 12));
    ASSERT_LT(m_pBook->m_nTabWidth, 90);
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(sheets[i]->m_nIndex, i);

    // Hidden sheets take no place; the ones after close up.
    sheets[1]->ShowWindow(SW_HIDE);
    POINT pts[7];
    EXPECT_FALSE(m_pBook->GetTabPolygon(sheets[1], pts, 7));
    m_pBook->MDIActivate(sheets[11]);
    ASSERT_TRUE(m_pBook->GetTabPolygon(sheets[2], pts, 7));
    CRect rectClient = m_pBook->MDIClientRect();
    int w = m_pBook->m_nTabWidth;
    EXPECT_EQ(pts[0].x, rectClient.left + w);
    EXPECT_EQ(pts[0].y, rectClient.bottom + 1);
    EXPECT_EQ(pts[2].y, rectClient.bottom + 1 + 23);
    // The active sheet's tab is 4 wider and 2 deeper.
    ASSERT_TRUE(m_pBook->GetTabPolygon(sheets[11], pts, 7));
    EXPECT_EQ(pts[0].x, rectClient.left + 10 * w - 2);
    EXPECT_EQ(pts[5].x - pts[0].x, w + 4);
    EXPECT_EQ(pts[2].y, rectClient.bottom + 1 + 25);

    // Closing sheets renumbers the rest and widens the tabs.
    for (int i = 11; i >= 1; i--)
        sheets[i]->DestroyWindow();
    EXPECT_EQ(m_pBook->m_sheets.size(), 1u);
    EXPECT_EQ(m_pBook->m_nTabWidth, 90);
}

TEST_F(Workbook, LongTitlesAreCutToTheirStartAndDots)
{
    CClientDC dc(m_pBook);
    CFont* pOld = dc.SelectObject(&m_pBook->m_fontTab);
    int nWidth = dc.GetTextExtent("Mapping").cx;
    EXPECT_EQ(std::string(SECWorkbook::ShortenTitle(&dc, "Map", nWidth)), "Map");
    std::string strShort = SECWorkbook::ShortenTitle(&dc, "Mapping the start of everything", nWidth).GetString();
    ASSERT_GE(strShort.size(), 4u);
    EXPECT_EQ(strShort.substr(strShort.size() - 3), "...");
    EXPECT_EQ(std::string("Mapping the start of everything").rfind(strShort.substr(0, strShort.size() - 3), 0), 0u);
    EXPECT_LE(dc.GetTextExtent(strShort.c_str()).cx, nWidth);
    // Too narrow for anything: stops at fewer than 4 characters.
    EXPECT_EQ(std::string(SECWorkbook::ShortenTitle(&dc, "Mapping", 1)), "...");
    dc.SelectObject(pOld);
}

TEST_F(Workbook, ClicksOnTabsActivateSheetsOnlyInWorkbookMode)
{
    SECWorksheet* a = AddSheet("alpha");
    SECWorksheet* b = AddSheet("beta");
    SECWorksheet* c = AddSheet("A title far too long for a tab of ninety pixels");
    m_pBook->MDIActivate(c);
    afxtest::PumpMessages();
    // Mode off: the place under the MDI client is the client itself; nothing is painted there.
    CRect rectClient = m_pBook->MDIClientRect(), rectFrame;
    m_pBook->GetClientRect(&rectFrame);
    EXPECT_EQ(rectClient.bottom, rectFrame.bottom);
    m_pBook->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(rectClient.left + 20, rectClient.bottom - 8));
    EXPECT_EQ(m_pBook->MDIGetActive(), c);

    m_pBook->SetWorkbookMode(TRUE);
    afxtest::PumpMessages();
    rectClient = m_pBook->MDIClientRect();
    EXPECT_GE(rectFrame.bottom - rectClient.bottom, 23);
    CPoint pt = TabPoint(a);
    m_pBook->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(m_pBook->MDIGetActive(), a);
    EXPECT_TRUE(a->m_bPressed);
    m_pBook->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(a->m_bPressed);

    // Painted: the tabs show the button face under the client, an inactive tab's label in black.
    m_pBook->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    {
        CClientDC dc(m_pBook);
        CPoint ptB = TabPoint(b);
        EXPECT_EQ(dc.GetPixel(ptB.x, rectClient.bottom + 3), ::GetSysColor(COLOR_BTNFACE));
        int nInk = 0;
        for (int x = ptB.x - 30; x < ptB.x + 30; x++)
            for (int y = rectClient.bottom + 4; y < rectClient.bottom + 20; y++)
                nInk += dc.GetPixel(x, y) == RGB(0, 0, 0);
        EXPECT_GT(nInk, 5);
    }

    // Tips: only for the cut title.
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    EXPECT_EQ(m_pBook->OnToolHitTest(TabPoint(b), &ti), -1);
    EXPECT_EQ(m_pBook->OnToolHitTest(TabPoint(c), &ti), 3);
    ASSERT_NE(ti.lpszText, nullptr);
    EXPECT_STREQ(ti.lpszText, "A title far too long for a tab of ninety pixels");
    free(ti.lpszText);

    // Off again: clicks there do nothing.
    m_pBook->SetWorkbookMode(FALSE);
    afxtest::PumpMessages();
    m_pBook->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(m_pBook->MDIGetActive(), a);
    EXPECT_FALSE(a->m_bPressed);
}

TEST_F(Workbook, ABarFloatedInTheMainWindowLivesInASheetWhoseCloseHidesTheBar)
{
    auto* pBar = new SECControlBar;
    pBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(pBar->Create(m_pBook, "Output", WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC,
                             docktest::dwBarExStyle, 0xE801));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    m_pBook->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_LEFT);
    m_pBook->RecalcLayout();
    pBar->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT);
    afxtest::PumpMessages();
    CWnd* pSheetWnd = pBar->GetParentFrame();
    auto* pSheet = dynamic_cast<SECControlBarWorksheet*>(pSheetWnd);
    ASSERT_NE(pSheet, nullptr);
    EXPECT_FALSE(pSheet->GetExStyle() & WS_EX_CLIENTEDGE);
    ASSERT_EQ(m_pBook->m_sheets.size(), 1u);
    EXPECT_EQ(m_pBook->m_sheets[0], static_cast<SECSheetInfo*>(pSheet));
    pSheet->SendMessage(WM_CLOSE);
    afxtest::PumpMessages();
    EXPECT_TRUE(::IsWindow(pSheet->m_hWnd));
    EXPECT_FALSE(pBar->IsVisible());
}

} // namespace
