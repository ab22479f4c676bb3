// The gradient caption of the docking frames, read back from the screen.
#include "DockingFixture.h"

using afxtest::Text;

namespace docktest {
namespace {

COLORREF WindowPixel(CWnd* pWnd, int x, int y)
{
    HDC hDC = ::GetWindowDC(pWnd->m_hWnd);
    COLORREF clr = ::GetPixel(hDC, x, y);
    ::ReleaseDC(pWnd->m_hWnd, hDC);
    return clr;
}

// The colour of the last of nBands bands from black to clrEnd (each channel steps by a truncated
// share of the way).
COLORREF LastBand(COLORREF clrEnd, int nBands)
{
    auto last = [&](int v) { return v / (nBands - 1) * (nBands - 1); };
    return RGB(last(GetRValue(clrEnd)), last(GetGValue(clrEnd)), last(GetBValue(clrEnd)));
}

TEST_F(DockingFrame, TheGradientCaptionIsPaintedOverTheSystemsAndFollowsActivation)
{
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    m_pFrame->SetWindowText("Morvane - e1m1.map");
    EXPECT_FALSE(m_pFrame->EnableGradientCaption(TRUE, TRUE));
    afxtest::PumpMessages();
    CRect rectCaption = m_pFrame->m_impl.CaptionRect();
    ASSERT_GT(rectCaption.Width(), 200);
    int y = rectCaption.bottom - 1;
    // Active: black on the left, the active caption colour's last band on the right.
    EXPECT_EQ(WindowPixel(m_pFrame, rectCaption.left + 1, y), RGB(0, 0, 0));
    COLORREF clrActive = LastBand(::GetSysColor(COLOR_ACTIVECAPTION), 60);
    EXPECT_EQ(WindowPixel(m_pFrame, rectCaption.right - 2, y), clrActive);

    // Inactive (another window is active): the inactive caption colour, also after the title
    // changes.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                               nullptr));
    ASSERT_TRUE(afxtest::Activate(&other));
    COLORREF clrInactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    EXPECT_EQ(WindowPixel(m_pFrame, rectCaption.left + 1, y), clrInactive);
    m_pFrame->SetWindowText("Morvane - e1m2.map");
    EXPECT_EQ(WindowPixel(m_pFrame, rectCaption.left + 1, y), clrInactive);
    EXPECT_EQ(WindowPixel(m_pFrame, rectCaption.right - 2, y), clrInactive);
    // A repaint of the whole frame keeps the caption.
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(WindowPixel(m_pFrame, rectCaption.right - 2, y), clrInactive);
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    EXPECT_EQ(WindowPixel(m_pFrame, rectCaption.left + 1, y), RGB(0, 0, 0));
    other.DestroyWindow();

    // Switched off, the system paints its caption again.
    EXPECT_TRUE(m_pFrame->EnableGradientCaption(FALSE, TRUE));
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(WindowPixel(m_pFrame, rectCaption.left + 1, y), RGB(0, 0, 0));
}

// The title stays readable: the system's caption-text colour where it stands out from the band
// under the text, otherwise white over a dark band (black over a light one).
TEST(GradientCaption, TheTitleColourContrastsWithTheBandUnderIt)
{
    struct Case
    {
        COLORREF text, start, end, expected;
    } cases[] = {
        {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 40), RGB(255, 255, 255)},       // black on black
        {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 128), RGB(255, 255, 255)}, // kept
        {RGB(0, 0, 0), RGB(192, 192, 192), RGB(192, 192, 192), RGB(0, 0, 0)},   // kept on grey
        {RGB(0, 0, 0), RGB(0, 0, 0), RGB(200, 200, 255), RGB(255, 255, 255)},   // dark at the start
        {RGB(255, 255, 255), RGB(230, 230, 230), RGB(230, 230, 230), RGB(0, 0, 0)},
        {RGB(255, 255, 0), RGB(0, 0, 0), RGB(10, 36, 106), RGB(255, 255, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SECCaptionTextColor(c.text, c.start, c.end), c.expected) << std::hex << c.text << " " << c.start;
}

TEST_F(DockingFrame, TheActiveTitleIsDrawnInALightColourOverTheDarkBand)
{
    ASSERT_TRUE(afxtest::Activate(m_pFrame));
    m_pFrame->SetWindowText("MMMMMMMM");
    m_pFrame->EnableGradientCaption(TRUE, TRUE);
    afxtest::PumpMessages();
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    CRect rectCaption = m_pFrame->m_impl.CaptionRect();
    int nLight = 0;
    for (int x = rectCaption.left; x < rectCaption.left + 60; x++)
        for (int y = rectCaption.top; y < rectCaption.bottom; y++) {
            COLORREF clr = WindowPixel(m_pFrame, x, y);
            nLight += GetRValue(clr) + GetGValue(clr) + GetBValue(clr) > 3 * 160;
        }
    EXPECT_GT(nLight, 10) << "the title's pixels over the black end of the band";
}

// The caption buttons' glyphs come from the Marlett font (Wine's fonts package): without it they
// show as letters and digits.
TEST(GradientCaption, TheCaptionButtonFontIsInstalled)
{
    HDC hDC = ::GetDC(nullptr);
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "Marlett");
    BOOL bFound = FALSE;
    ::EnumFontFamiliesExA(
        hDC, &lf, [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lParam) -> int {
            *reinterpret_cast<BOOL*>(lParam) = TRUE;
            return 0;
        },
        reinterpret_cast<LPARAM>(&bFound), 0);
    ::ReleaseDC(nullptr, hDC);
    EXPECT_TRUE(bFound) << "install Wine's fonts (scripts/install-deps.sh)";
}

TEST(GradientCaption, BandsStepByATruncatedShareAndTheLastReachesTheRightEdge)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 605;
    bmi.bmiHeader.biHeight = 4;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(dc.m_hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    ASSERT_NE(hBitmap, nullptr);
    HGDIOBJ hOld = ::SelectObject(dc.m_hDC, hBitmap);
    dc.FillSolidRect(0, 0, 605, 4, RGB(255, 255, 255));
    SECGradientFill(&dc, CRect(0, 0, 605, 4), 60, RGB(0, 0, 0), RGB(0, 0, 128));
    // Bands of 10 pixels, blue 0, 2, 4 ... 118; the last band takes the 15 pixels left.
    for (int i = 0; i < 60; i++) {
        for (int x : {10 * i, 10 * i + 9}) {
            for (int y : {0, 3})
                EXPECT_EQ(::GetPixel(dc.m_hDC, x, y), RGB(0, 0, 2 * i)) << x << "," << y;
        }
    }
    EXPECT_EQ(::GetPixel(dc.m_hDC, 604, 3), RGB(0, 0, 118));
    ::SelectObject(dc.m_hDC, hOld);
    ::DeleteObject(hBitmap);
}

TEST(GradientCaption, TheTitleIsSplitAtItsFirstDash)
{
    struct Case
    {
        const char* title;
        const char* lead;
        const char* rest;
    } cases[] = {
        {"Morvane - e1m1.map", "Morvane ", "- e1m1.map"},
        {"Morvane", "Morvane", ""},
        {"A-B-C", "A", "-B-C"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        CString lead, rest;
        SECSplitCaption(c.title, lead, rest);
        EXPECT_STREQ(lead, c.lead) << c.title;
        EXPECT_STREQ(rest, c.rest) << c.title;
    }
}

} // namespace
} // namespace docktest
