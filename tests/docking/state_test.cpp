// The saved docking layout: destroyed and restored frames, the records in the settings, the
// archive form, and the bar manager's hooks.
#include "DockingFixture.h"

using afxtest::Text;

namespace docktest {
namespace {

int Int(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault = -12345)
{
    return (int)AfxGetApp()->GetProfileInt(lpszSection, lpszKey, nDefault);
}

// Everything a user sees of the layout, as text.
std::vector<std::string> Snapshot(DockingFrame* pTest, CFrameWnd* pFrame, const std::vector<SECControlBar*>& bars,
                                  const std::vector<std::vector<std::vector<UINT>>>& rows)
{
    std::vector<std::string> s;
    for (auto& side : rows) {
        std::string text;
        for (auto& row : side) {
            text += "[";
            for (UINT id : row)
                text += std::to_string(id) + " ";
            text += "]";
        }
        s.push_back(text);
    }
    for (SECControlBar* pBar : bars) {
        std::string text = std::to_string(::GetDlgCtrlID(pBar->m_hWnd)) + ": ";
        if (!pBar->IsVisible())
            text += "hidden sizes " + Text(pBar->m_szHorz) + " " + Text(pBar->m_szVert);
        else if (pBar->IsMDIChild()) {
            CRect rect, rectClient;
            pBar->GetParentFrame()->GetWindowRect(&rect);
            pBar->GetParentFrame()->GetClientRect(&rectClient);
            text += "mdi " + Text(rect);
        }
        else if (pBar->IsFloating())
            text += "floating " + Text(DockingFrame::ScreenRect(pBar->GetParentFrame()));
        else
            text += "docked " + Text(DockingFrame::RectIn(pBar, pFrame));

        char sz[32];
        snprintf(sz, sizeof sz, " %.3f", pBar->IsFloating() ? pBar->m_fSavedPctWidth : pBar->m_fPctWidth);
        s.push_back(text + sz);
    }
    (void)pTest;
    return s;
}

class DockingLayout : public DockingFrame
{
protected:
    std::vector<SECControlBar*> MakeBars()
    {
        std::vector<SECControlBar*> bars;
        for (UINT nID = 101; nID <= 106; nID++) {
            bars.push_back(AddBar(nID, "Bar"));
            m_pFrame->DockControlBarEx(bars.back(), AFX_IDW_DOCKBAR_LEFT, 0, (int)nID - 101, 1.0f, 120);
        }
        Layout();
        return bars;
    }
    std::vector<std::vector<std::vector<UINT>>> AllRows()
    {
        std::vector<std::vector<std::vector<UINT>>> rows;
        for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
            rows.push_back(Rows(Side(nID)));
        return rows;
    }
};

TEST_F(DockingLayout, TheLayoutSurvivesSavingDestroyingAndRestoring)
{
    afxtest::RegistryProfile profile;
    std::vector<SECControlBar*> bars = MakeBars();
    // 101 and 102 share the right side's row 0.3 to 0.7; 103 across the top; 104 floating;
    // 105 floating in the main window; 106 hidden at the bottom.
    m_pFrame->DockControlBarEx(bars[0], AFX_IDW_DOCKBAR_RIGHT, 0, 0, 0.3f, 140);
    m_pFrame->DockControlBarEx(bars[1], AFX_IDW_DOCKBAR_RIGHT, 1, 0, 0.7f, 140);
    m_pFrame->DockControlBarEx(bars[2], AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 70);
    m_pFrame->DockControlBarEx(bars[5], AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 60);
    Layout();
    m_pFrame->FloatControlBar(bars[3], CPoint(420, 300));
    bars[4]->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT);
    m_pFrame->ShowControlBar(bars[5], FALSE, FALSE);
    Layout();
    std::vector<std::string> before = Snapshot(this, m_pFrame, bars, AllRows());
    m_pFrame->SaveBarState("ToolBarState");
    // The share goes to the settings in millionths.
    EXPECT_STREQ(AfxGetApp()->GetProfileString("ToolBarState-Bar4", "PctWidth"), "300000");
    DestroyFrame();

    MakeFrame();
    bars = MakeBars();
    m_pFrame->LoadBarState("ToolBarState");
    Layout();
    EXPECT_EQ(Snapshot(this, m_pFrame, bars, AllRows()), before);
    // The floating bar still knows where it was docked and docks back there.
    bars[3]->m_pDockContext->ToggleDocking();
    Layout();
    EXPECT_EQ(bars[3]->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
}

TEST(DockStateRecords, SharesSizesAndStylesGoToTheSettingsAndComeBack)
{
    afxtest::RegistryProfile profile;
    CWinApp* pApp = AfxGetApp();
    SECDockState state;
    auto* pInfo = new SECControlBarInfo;
    pInfo->m_nBarID = 101;
    pInfo->m_bVisible = TRUE;
    pInfo->m_fPctWidth = 0.375f;
    pInfo->m_szHorz = CSize(300, 80);
    pInfo->m_szVert = CSize(150, 400);
    pInfo->m_szFloat = CSize(250, 180);
    pInfo->m_dwStyle = 0x50002804;
    pInfo->m_dwExStyle = dwBarExStyle;
    pInfo->m_dwDockStyle = CBRS_ALIGN_ANY;
    pInfo->m_dwMRUDockingState = CBRS_ALIGN_LEFT;
    pInfo->m_bPrevFloating = TRUE;
    pInfo->m_bMDIChild = TRUE;
    state.m_arrBarInfo.Add(pInfo);
    state.SaveState("Layout");
    struct Key
    {
        const char* key;
        int value;
    } keys[] = {
        {"BarID", 101},           {"Style", 0x50002804},     {"ExStyle", (int)dwBarExStyle},
        {"PrevFloating", 1},      {"MDIChild", 1},           {"MRUFloatCX", 250},
        {"MRUFloatCY", 180},      {"MRUHorzDockCX", 300},    {"MRUHorzDockCY", 80},
        {"MRUVertDockCX", 150},   {"MRUVertDockCY", 400},    {"MRUDockingState", CBRS_ALIGN_LEFT},
        {"DockingStyle", CBRS_ALIGN_ANY}, {"TypeID", 0},
    };
    for (const Key& k : keys)
        EXPECT_EQ(Int("Layout-Bar0", k.key), k.value) << k.key;
    EXPECT_STREQ(pApp->GetProfileString("Layout-Bar0", "PctWidth"), "375000");

    SECDockState loaded;
    loaded.LoadState("Layout");
    ASSERT_EQ(loaded.m_arrBarInfo.GetSize(), 1);
    auto* pBack = dynamic_cast<SECControlBarInfo*>(static_cast<CControlBarInfo*>(loaded.m_arrBarInfo[0]));
    ASSERT_NE(pBack, nullptr);
    EXPECT_FLOAT_EQ(pBack->m_fPctWidth, 0.375f);
    EXPECT_EQ(Text(pBack->m_szVert), Text(CSize(150, 400)));
    EXPECT_EQ(pBack->m_dwExStyle, dwBarExStyle);
    EXPECT_TRUE(pBack->m_bMDIChild);

    // Damaged or missing values: no share, negative sizes, keys of other programs.
    pApp->WriteProfileString("Layout-Bar0", "PctWidth", nullptr);
    pApp->WriteProfileInt("Layout-Bar0", "MRUFloatCX", -40);
    pApp->WriteProfileString("Layout-Bar0", "ExStyle", nullptr);
    SECDockState damaged;
    damaged.LoadState("Layout");
    ASSERT_EQ(damaged.m_arrBarInfo.GetSize(), 1);
    auto* pDamaged = static_cast<SECControlBarInfo*>(static_cast<CControlBarInfo*>(damaged.m_arrBarInfo[0]));
    EXPECT_FLOAT_EQ(pDamaged->m_fPctWidth, 0.0f);
    EXPECT_EQ(pDamaged->m_szFloat.cx, 0);
    EXPECT_EQ(pDamaged->m_dwExStyle, 0u);
    struct Share
    {
        const char* text;
        float value;
    } shares[] = {{"375000", 0.375f}, {"1000000", 1.0f}, {"-5", 0.0f}, {"junk", 0.0f}, {"", 0.0f}};
    for (const Share& c : shares)
        EXPECT_FLOAT_EQ(SECControlBarInfo::ShareFromText(c.text), c.value) << c.text;
}

// A manager that numbers bars 7, attaches an extension with a key of its own and makes bars the
// frame is missing.
class CTestInfoEx : public SECControlBarInfoEx
{
public:
    CString m_strValue;
    BOOL SaveState(LPCSTR lpszSection) override
    {
        return AfxGetApp()->WriteProfileString(lpszSection, "Extra", m_strValue);
    }
    BOOL LoadState(LPCSTR lpszSection, SECDockState*) override
    {
        m_strValue = AfxGetApp()->GetProfileString(lpszSection, "Extra");
        return TRUE;
    }
};

class CTestManager : public SECControlBarManager
{
public:
    CTestManager(CFrameWnd* pFrame, DockingFrame* pTest) : SECControlBarManager(pFrame), m_pTest(pTest) {}
    DWORD GetBarTypeID(CControlBar*) override { return 7; }
    SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo) override
    {
        return pInfo->m_dwTypeID == 7 ? new CTestInfoEx : nullptr;
    }
    CControlBar* CreateBar(SECControlBarInfo* pInfo) override;
    DockingFrame* m_pTest;
    int m_nCreated = 0;
};

class CExtendedBar : public SECControlBar
{
public:
    SECControlBarInfoEx* GetBarInfoEx() override
    {
        auto* pEx = new CTestInfoEx;
        pEx->m_strValue = "kept";
        return pEx;
    }
};

CControlBar* CTestManager::CreateBar(SECControlBarInfo* pInfo)
{
    ++m_nCreated;
    auto* pBar = new CExtendedBar;
    pBar->m_bAutoDelete = TRUE;
    if (!pBar->Create(m_pFrameWnd, "made", WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC, dwBarExStyle,
                      pInfo->m_nBarID))
        return nullptr;
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}

TEST_F(DockingFrame, TheManagerNumbersBarsExtendsTheirRecordsAndMakesMissingBars)
{
    afxtest::RegistryProfile profile;
    CTestManager manager(m_pFrame, this);
    m_pFrame->SetControlBarManager(&manager);
    auto* pBar = new CExtendedBar;
    pBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(pBar->Create(m_pFrame, "user", WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_SIZE_DYNAMIC, dwBarExStyle,
                             0xE820));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 60);
    Layout();
    m_pFrame->SaveBarState("Layout");
    // The bar's section: its type and its extension's key.
    int nSection = -1;
    for (int i = 0; i < Int("Layout-Summary", "Bars"); i++) {
        CString section;
        section.Format("Layout-Bar%d", i);
        if (Int(section, "BarID") == 0xE820)
            nSection = i;
    }
    ASSERT_GE(nSection, 0);
    CString section;
    section.Format("Layout-Bar%d", nSection);
    EXPECT_EQ(Int(section, "TypeID"), 7);
    EXPECT_STREQ(AfxGetApp()->GetProfileString(section, "Extra"), "kept");
    DestroyFrame();

    // A frame without that bar: the manager makes it, and it goes where it was.
    MakeFrame();
    CTestManager manager2(m_pFrame, this);
    m_pFrame->SetControlBarManager(&manager2);
    m_pFrame->LoadBarState("Layout");
    Layout();
    EXPECT_EQ(manager2.m_nCreated, 1);
    CControlBar* pMade = m_pFrame->GetControlBar(0xE820);
    ASSERT_NE(pMade, nullptr);
    EXPECT_EQ(pMade->m_pDockBar, Side(AFX_IDW_DOCKBAR_TOP));
    m_pFrame->SetControlBarManager(nullptr);
}

// An extension that carries one number in the archive form.
class CNumberInfoEx : public SECControlBarInfoEx
{
public:
    DWORD m_dwNumber = 0;
    void Serialize(CArchive& ar, SECDockState*) override
    {
        if (ar.IsStoring())
            ar << m_dwNumber;
        else
            ar >> m_dwNumber;
    }
};

class CNumberManager : public SECControlBarManager
{
public:
    SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo) override
    {
        return pInfo->m_dwTypeID == 9 ? new CNumberInfoEx : nullptr;
    }
};

// The extended record of a bar in the archive form of the layout, against bytes written out by
// hand: style, extended style, the two flags, the share as text, the floating, horizontal and
// vertical sizes, docking state, docking style, type number, then the extension's own fields.
TEST(DockStateRecords, TheExtendedRecordsArchiveBytes)
{
    const std::vector<BYTE> expected = {
        0x00, 0x20, 0x00, 0x50, // style 0x50002000
        0x34, 0x00, 0x00, 0x00, // extended style 0x34
        0x01, 0x00, 0x00, 0x00, // floated in a mini frame before
        0x00, 0x00, 0x00, 0x00, // not an MDI child
        0x06, '3', '7', '5', '0', '0', '0', // the share 0.375 in millionths
        0xC8, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, // floating 200 x 100
        0x2C, 0x01, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, // horizontal 300 x 80
        0x96, 0x00, 0x00, 0x00, 0x90, 0x01, 0x00, 0x00, // vertical 150 x 400
        0x00, 0xE8, 0x00, 0x00, // docking state 0xE800
        0x00, 0xF0, 0x00, 0x00, // docking style 0xF000
        0x09, 0x00, 0x00, 0x00, // type 9
        0xEF, 0xBE, 0xAD, 0xDE, // the extension's number
    };
    CNumberManager manager;
    SECControlBarInfo info(&manager);
    info.m_dwStyle = 0x50002000;
    info.m_dwExStyle = 0x34;
    info.m_bPrevFloating = TRUE;
    info.m_bMDIChild = FALSE;
    info.m_fPctWidth = 0.375f;
    info.m_szFloat = CSize(200, 100);
    info.m_szHorz = CSize(300, 80);
    info.m_szVert = CSize(150, 400);
    info.m_dwMRUDockingState = 0xE800;
    info.m_dwDockStyle = 0xF000;
    info.m_dwTypeID = 9;
    auto* pEx = new CNumberInfoEx;
    pEx->m_dwNumber = 0xDEADBEEF;
    info.m_pInfoEx = pEx;

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        info.SerializeEx(ar, nullptr);
    }
    DWORD n = file.GetLength();
    BYTE* p = file.Detach();
    std::vector<BYTE> stored(p, p + n);
    std::free(p);
    EXPECT_EQ(stored, expected);

    SECControlBarInfo back(&manager);
    CMemFile in(const_cast<BYTE*>(expected.data()), static_cast<UINT>(expected.size()));
    {
        CArchive ar(&in, CArchive::load);
        back.SerializeEx(ar, nullptr);
    }
    EXPECT_EQ(back.m_dwStyle, 0x50002000u);
    EXPECT_EQ(back.m_dwExStyle, 0x34u);
    EXPECT_TRUE(back.m_bPrevFloating);
    EXPECT_FALSE(back.m_bMDIChild);
    EXPECT_FLOAT_EQ(back.m_fPctWidth, 0.375f);
    EXPECT_EQ(back.m_szFloat, CSize(200, 100));
    EXPECT_EQ(back.m_szHorz, CSize(300, 80));
    EXPECT_EQ(back.m_szVert, CSize(150, 400));
    EXPECT_EQ(back.m_dwMRUDockingState, 0xE800u);
    EXPECT_EQ(back.m_dwDockStyle, 0xF000u);
    EXPECT_EQ(back.m_dwTypeID, 9u);
    auto* pBackEx = dynamic_cast<CNumberInfoEx*>(back.m_pInfoEx);
    ASSERT_NE(pBackEx, nullptr);
    EXPECT_EQ(pBackEx->m_dwNumber, 0xDEADBEEFu);
}

} // namespace
} // namespace docktest
