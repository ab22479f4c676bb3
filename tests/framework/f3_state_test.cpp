// Saved docking layouts: the records in the settings, their defaults and limits, scaling to another
// screen size, and the archive form.
#include "afxtest.h"
#include "afxwndtest.h"

namespace {

CString Section(int n)
{
    CString s;
    s.Format("Layout-Bar%d", n);
    return s;
}

int Int(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault = -12345)
{
    return (int)AfxGetApp()->GetProfileInt(lpszSection, lpszKey, nDefault);
}

// A dock bar's record: its id and list (row ends 0, placeholders with 0x10000).
CControlBarInfo* DockBarInfo(UINT nID, std::initializer_list<UINT> ids)
{
    auto* pInfo = new CControlBarInfo;
    pInfo->m_nBarID = nID;
    pInfo->m_bDockBar = TRUE;
    pInfo->m_bVisible = TRUE;
    for (UINT id : ids)
        pInfo->m_arrBarID.Add((void*)(UINT_PTR)id);
    return pInfo;
}

class DockStateProfile : public testing::Test
{
protected:
    afxtest::RegistryProfile m_profile;
};

TEST_F(DockStateProfile, RecordsAreNumberedWithoutGapsAndEmptyDockBarsDecline)
{
    CDockState state;
    state.m_arrBarInfo.Add(DockBarInfo(AFX_IDW_DOCKBAR_TOP, {0, 101, 0, 0x10000 | 104, 0}));
    state.m_arrBarInfo.Add(DockBarInfo(AFX_IDW_DOCKBAR_BOTTOM, {0}));   // empty: no record
    auto* pBar = new CControlBarInfo;
    pBar->m_nBarID = 101;
    pBar->m_bVisible = TRUE;
    pBar->m_pointPos = CPoint(-2, -2);
    pBar->m_bDocking = TRUE;
    pBar->m_uMRUDockID = AFX_IDW_DOCKBAR_TOP;
    pBar->m_rectMRUDockPos.SetRect(-2, -2, 98, 24);
    pBar->m_dwMRUFloatStyle = CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI;
    pBar->m_ptMRUFloatPos = CPoint(300, 400);
    state.m_arrBarInfo.Add(pBar);
    auto* pFloat = DockBarInfo(AFX_IDW_DOCKBAR_FLOAT, {0, 104, 0});
    pFloat->m_bFloating = TRUE;
    pFloat->m_bHorz = TRUE;
    pFloat->m_bVisible = FALSE;
    pFloat->m_pointPos = CPoint(500, 420);
    state.m_arrBarInfo.Add(pFloat);

    // A stale record of an earlier save beyond the new count stays unread.
    AfxGetApp()->WriteProfileInt(Section(3), "BarID", 999);
    AfxGetApp()->WriteProfileInt(Section(1), "Stale", 1);
    AfxSeamSetDisplayResolution([] { return SIZE{1280, 1024}; });
    state.SaveState("Layout");

    EXPECT_EQ(Int("Layout-Summary", "Bars"), 3);
    EXPECT_EQ(Int("Layout-Summary", "ScreenCX"), 1280);
    EXPECT_EQ(Int("Layout-Summary", "ScreenCY"), 1024);
    struct Key
    {
        int nSection;
        const char* key;
        int value;
    } keys[] = {
        {0, "BarID", AFX_IDW_DOCKBAR_TOP}, {0, "Bars", 5}, {0, "Bar#0", 0}, {0, "Bar#1", 101}, {0, "Bar#3", 0x10068},
        {0, "Visible", -12345}, {0, "XPos", -12345}, {0, "Docking", -12345},
        {1, "BarID", 101}, {1, "XPos", -2}, {1, "YPos", -2}, {1, "Docking", 1},
        {1, "MRUDockID", AFX_IDW_DOCKBAR_TOP}, {1, "MRUDockLeftPos", -2}, {1, "MRUDockTopPos", -2},
        {1, "MRUDockRightPos", 98}, {1, "MRUDockBottomPos", 24}, {1, "MRUFloatStyle", 0x2040},
        {1, "MRUFloatXPos", 300}, {1, "MRUFloatYPos", 400}, {1, "Stale", -12345}, {1, "Bars", -12345},
        {1, "MRUWidth", -12345}, {1, "Floating", -12345},
        {2, "BarID", AFX_IDW_DOCKBAR_FLOAT}, {2, "Floating", 1}, {2, "Horz", 1}, {2, "Visible", 0},
        {2, "XPos", 500}, {2, "YPos", 420}, {2, "Bars", 3}, {2, "Bar#1", 104},
    };
    for (const Key& k : keys)
        EXPECT_EQ(Int(Section(k.nSection), k.key), k.value) << k.nSection << " " << k.key;

    CDockState loaded;
    loaded.LoadState("Layout");
    ASSERT_EQ(loaded.m_arrBarInfo.GetSize(), 3);
    auto* p1 = static_cast<CControlBarInfo*>(loaded.m_arrBarInfo[1]);
    EXPECT_EQ(p1->m_nBarID, 101u);
    EXPECT_TRUE(p1->m_bVisible);
    EXPECT_FALSE(p1->m_bFloating);
    EXPECT_EQ(afxtest::Text(p1->m_rectMRUDockPos), afxtest::Text(CRect(-2, -2, 98, 24)));
    EXPECT_EQ(p1->m_nMRUWidth, 32767u);
    EXPECT_EQ(p1->m_arrBarID.GetSize(), 0);
    auto* p2 = static_cast<CControlBarInfo*>(loaded.m_arrBarInfo[2]);
    EXPECT_TRUE(p2->m_bFloating);
    EXPECT_FALSE(p2->m_bVisible);
    EXPECT_EQ(afxtest::Text(p2->m_pointPos), afxtest::Text(CPoint(500, 420)));
    EXPECT_FALSE(p2->m_bDocking);
}

TEST_F(DockStateProfile, DamagedCountsReadOnlyWhatIsThere)
{
    CWinApp* pApp = AfxGetApp();
    struct Case
    {
        int nBars;          // the summary's count
        int nSections;      // sections that exist
        int nListCount;     // the first record's "Bars"
        int nRecords;       // records read
        int nList;          // ids read for the first record
    } cases[] = {
        {2, 2, 3, 2, 3},
        {5000, 3, 3, 3, 3},         // the count goes past the sections: the missing ones give no record
        {-7, 2, 3, 0, 0},
        {2, 2, 1000000, 2, CControlBarInfo::nMaxBarIDs},
    };
    for (const Case& c : cases) {
        pApp->WriteProfileString("Layout-Summary", nullptr, nullptr);
        for (int i = 0; i < 4; i++)
            pApp->WriteProfileString(Section(i), nullptr, nullptr);
        pApp->WriteProfileInt("Layout-Summary", "Bars", c.nBars);
        for (int i = 0; i < c.nSections; i++)
            pApp->WriteProfileInt(Section(i), "BarID", 200 + i);
        pApp->WriteProfileInt(Section(0), "Bars", c.nListCount);
        CDockState state;
        state.LoadState("Layout");
        ASSERT_EQ(state.m_arrBarInfo.GetSize(), c.nRecords) << c.nBars;
        if (c.nRecords > 0) {
            EXPECT_EQ(static_cast<CControlBarInfo*>(state.m_arrBarInfo[0])->m_arrBarID.GetSize(), c.nList);
        }
    }
}

// A section without its bar's id, or one that is not there, drops its own record only: the
// records saved after it are still read.
TEST_F(DockStateProfile, ADamagedSectionDropsItsOwnRecordOnly)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileInt("Layout-Summary", "Bars", 5);
    pApp->WriteProfileInt(Section(0), "BarID", 101);
    pApp->WriteProfileInt(Section(1), "Visible", 1);        // no "BarID"
    pApp->WriteProfileInt(Section(1), "Docking", 1);
    pApp->WriteProfileInt(Section(2), "BarID", 0);
    // Section 3 is not there.
    pApp->WriteProfileInt(Section(4), "BarID", 104);
    pApp->WriteProfileInt(Section(4), "Visible", 0);
    CDockState state;
    state.LoadState("Layout");
    ASSERT_EQ(state.m_arrBarInfo.GetSize(), 2);
    EXPECT_EQ(static_cast<CControlBarInfo*>(state.m_arrBarInfo[0])->m_nBarID, 101u);
    auto* pLast = static_cast<CControlBarInfo*>(state.m_arrBarInfo[1]);
    EXPECT_EQ(pLast->m_nBarID, 104u);
    EXPECT_FALSE(pLast->m_bVisible);
}

TEST_F(DockStateProfile, PositionsScaleToAnotherScreenSize)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileInt("Layout-Summary", "Bars", 1);
    pApp->WriteProfileInt("Layout-Summary", "ScreenCX", 800);
    pApp->WriteProfileInt("Layout-Summary", "ScreenCY", 600);
    pApp->WriteProfileInt(Section(0), "BarID", 101);
    pApp->WriteProfileInt(Section(0), "XPos", 400);
    pApp->WriteProfileInt(Section(0), "YPos", 300);
    pApp->WriteProfileInt(Section(0), "Docking", 1);
    pApp->WriteProfileInt(Section(0), "MRUDockLeftPos", 100);
    pApp->WriteProfileInt(Section(0), "MRUDockTopPos", 60);
    pApp->WriteProfileInt(Section(0), "MRUDockRightPos", 150);
    pApp->WriteProfileInt(Section(0), "MRUDockBottomPos", 90);
    pApp->WriteProfileInt(Section(0), "MRUFloatXPos", 200);
    pApp->WriteProfileInt(Section(0), "MRUFloatYPos", 150);
    struct Case
    {
        SIZE screen;
        CPoint pos, floatPos;
        CRect dockPos;
    } cases[] = {
        {{1600, 1200}, CPoint(800, 600), CPoint(400, 300), CRect(200, 120, 250, 150)},
        {{800, 600}, CPoint(400, 300), CPoint(200, 150), CRect(100, 60, 150, 90)},
    };
    for (const Case& c : cases) {
        AfxSeamSetDisplayResolution([&] { return c.screen; });
        CDockState state;
        state.LoadState("Layout");
        ASSERT_EQ(state.m_arrBarInfo.GetSize(), 1);
        auto* pInfo = static_cast<CControlBarInfo*>(state.m_arrBarInfo[0]);
        EXPECT_EQ(afxtest::Text(pInfo->m_pointPos), afxtest::Text(c.pos));
        EXPECT_EQ(afxtest::Text(pInfo->m_ptMRUFloatPos), afxtest::Text(c.floatPos));
        // The remembered dock rectangle moves and keeps its size.
        EXPECT_EQ(afxtest::Text(pInfo->m_rectMRUDockPos), afxtest::Text(c.dockPos));
    }
}

TEST(DockStateArchive, RoundTripAndForeignVersions)
{
    CDockState state;
    state.m_arrBarInfo.Add(DockBarInfo(AFX_IDW_DOCKBAR_LEFT, {0, 102, 0, 0x10000 | 103, 0}));
    auto* pBar = new CControlBarInfo;
    pBar->m_nBarID = 102;
    pBar->m_bVisible = TRUE;
    pBar->m_pointPos = CPoint(-2, 40);
    pBar->m_bDocking = TRUE;
    pBar->m_uMRUDockID = AFX_IDW_DOCKBAR_LEFT;
    pBar->m_rectMRUDockPos.SetRect(1, 2, 3, 4);
    pBar->m_ptMRUFloatPos = CPoint(5, 6);
    state.m_arrBarInfo.Add(pBar);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        state.Serialize(ar);
    }
    file.SeekToBegin();
    CDockState loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    ASSERT_EQ(loaded.m_arrBarInfo.GetSize(), 2);
    auto* p0 = static_cast<CControlBarInfo*>(loaded.m_arrBarInfo[0]);
    ASSERT_EQ(p0->m_arrBarID.GetSize(), 5);
    EXPECT_EQ((UINT_PTR)p0->m_arrBarID[3], 0x10000u | 103);
    auto* p1 = static_cast<CControlBarInfo*>(loaded.m_arrBarInfo[1]);
    EXPECT_EQ(p1->m_nBarID, 102u);
    EXPECT_EQ(afxtest::Text(p1->m_pointPos), afxtest::Text(CPoint(-2, 40)));
    EXPECT_EQ(afxtest::Text(p1->m_rectMRUDockPos), afxtest::Text(CRect(1, 2, 3, 4)));
    EXPECT_EQ(afxtest::Text(p1->m_ptMRUFloatPos), afxtest::Text(CPoint(5, 6)));
    EXPECT_EQ(loaded.GetVersion(), 2u);

    // A version this program never wrote is refused, not guessed at.
    CMemFile bad;
    {
        CArchive ar(&bad, CArchive::store);
        ar << (DWORD)7 << (WORD)0;
    }
    bad.SeekToBegin();
    CArchive ar(&bad, CArchive::load);
    CDockState refused;
    EXPECT_THROW(
        {
            try {
                refused.Serialize(ar);
            }
            catch (CArchiveException* e) {
                e->Delete();
                throw 1;
            }
        },
        int);
}

} // namespace
