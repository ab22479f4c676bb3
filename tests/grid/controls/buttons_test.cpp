// Cell buttons: clicks through the control's mouse slots, the repeat schedule,
// glyphs, and the current-cell marks.
#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxtest.h"
#include "afxwin.h"
#include "gxctrli.h"
#include "gxengine.h"
#include "gxparam.h"
#include "gxprop.h"
#include "gxresrc.h"
#include "gxstyle.h"

namespace {
// A white canvas a drawing goes into; counts what is not white.
struct Canvas
{
    CClientDC screen{nullptr};
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
    Canvas()
    {
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, 60, 60);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 60, 60, RGB(255, 255, 255));
    }
    ~Canvas() { dc.SelectObject(old); }
    int Ink(const CRect& within = CRect(0, 0, 60, 60))
    {
        int n = 0;
        for (int y = within.top; y < within.bottom; ++y)
            for (int x = within.left; x < within.right; ++x)
                n += dc.GetPixel(x, y) != RGB(255, 255, 255);
        return n;
    }
};

// A control with one button at a fixed place that counts its clicks.
template <class TButton>
class ButtonHost : public CGXControl
{
public:
    explicit ButtonHost(CGXGridEngine* pGrid) : CGXControl(pGrid)
    {
        m_pButton = new TButton(this);
        AppendChild(m_pButton);
    }
    void LayoutChildren(ROWCOL, ROWCOL, const CRect&) override { m_pButton->SetRect(CRect(10, 10, 30, 30)); }
    void OnClickedButton(GXCellChild* pChild) override
    {
        ++m_nClicks;
        CGXControl::OnClickedButton(pChild);
    }
    TButton* m_pButton;
    int m_nClicks = 0;
};
} // namespace

TEST(CellButtons, APressBelongsToTheButtonItHits)
{
    CGXGridEngine grid(nullptr);
    grid.InitObjects();
    ButtonHost<GXCellButton> host(&grid);
    host.Init(1, 1);
    const CPoint in(20, 20), out(50, 50);
    struct Step
    {
        char what;   // d down, m move, u up
        CPoint pt;
    };
    const struct
    {
        const char* name;
        std::vector<Step> steps;
        int clicks;
    } scripts[] = {
        {"press, out, back in, release", {{'d', in}, {'m', out}, {'m', in}, {'u', in}}, 1},
        {"press and release outside", {{'d', in}, {'m', out}, {'u', out}}, 0},
        {"press outside the button", {{'d', out}, {'m', in}, {'u', in}}, 0},
    };
    for (const auto& s : scripts) {
        host.m_nClicks = 0;
        for (const Step& st : s.steps) {
            if (st.what == 'd')
                host.OnLButtonDown(0, st.pt);
            else if (st.what == 'm')
                host.OnMouseMove(0, st.pt);
            else
                host.OnLButtonUp(0, st.pt);
        }
        EXPECT_EQ(host.m_nClicks, s.clicks) << s.name;
        EXPECT_FALSE(host.m_pButton->IsPressed()) << s.name;
    }
    // Space on the captured button clicks on its release; other keys are not its own.
    host.OnLButtonDown(0, in);
    host.OnLButtonUp(0, CPoint(50, 50));
    host.SetCapturedChild(host.m_pButton);
    host.m_nClicks = 0;
    EXPECT_FALSE(host.HandleGridKey(WM_KEYDOWN, 'A', 1, 0));
    EXPECT_TRUE(host.HandleGridKey(WM_KEYDOWN, ' ', 1, 0));
    EXPECT_TRUE(host.m_pButton->IsPressed());
    EXPECT_TRUE(host.HandleGridKey(WM_KEYUP, ' ', 1, 0));
    EXPECT_EQ(host.m_nClicks, 1);
    // A new cell leaves nothing pressed.
    host.HandleGridKey(WM_KEYDOWN, ' ', 1, 0);
    host.Init(2, 1);
    EXPECT_FALSE(host.m_pButton->IsPressed());
}

TEST(CellButtons, HeldSpinButtonRepeatsOnItsScheduleAlsoWithoutMoves)
{
    AfxSeamReset();
    DWORD now = 0xFFFFFF00;   // the schedule runs across the tick count's wrap
    AfxSeamSetTickCount([&now]() { return now; });
    CGXGridEngine grid(nullptr);
    grid.InitObjects();
    ButtonHost<CGXSpinUpButton> host(&grid);
    host.Init(1, 1);
    host.OnLButtonDown(0, CPoint(20, 20));
    EXPECT_EQ(host.m_nClicks, 1);   // at the press
    const struct
    {
        DWORD after;
        int clicks;
    } schedule[] = {{499, 1}, {500, 2}, {649, 2}, {650, 3}, {794, 3}, {795, 4}};
    const DWORD start = now;
    for (const auto& s : schedule) {
        now = start + s.after;
        host.m_pButton->CheckRepeat();
        EXPECT_EQ(host.m_nClicks, s.clicks) << s.after;
    }
    // Held still: the button's own timer finds the next repeat due.
    now = start + 2000;
    for (int i = 0; i < 200 && host.m_nClicks == 4; ++i) {
        afxtest::PumpMessages();
        ::Sleep(5);
    }
    EXPECT_EQ(host.m_nClicks, 5);
    // Released (or cancelled): no more repeats.
    host.OnLButtonUp(0, CPoint(20, 20));
    now += 5000;
    host.m_pButton->CheckRepeat();
    EXPECT_EQ(host.m_nClicks, 5);
    AfxSeamReset();
}

TEST(CellButtons, SpinAndHotSpotGlyphs)
{
    const struct
    {
        int height;
        int ink;   // black pixels of the glyph
    } spins[] = {{4, 0}, {5, 9}, {7, 9}, {8, 16}, {12, 16}};
    for (const auto& s : spins) {
        for (BOOL up : {TRUE, FALSE}) {
            Canvas c;
            GXDrawSpinGlyph(&c.dc, CRect(5, 5, 20, 5 + s.height), up);
            EXPECT_EQ(c.Ink(), s.ink) << s.height << (up ? " up" : " down");
            EXPECT_EQ(c.Ink(CRect(5, 5, 20, 5 + s.height)), s.ink);
        }
    }
    // The up glyph's tip is its top row, the down glyph's its bottom row.
    Canvas up, down;
    GXDrawSpinGlyph(&up.dc, CRect(0, 0, 15, 12), TRUE);
    GXDrawSpinGlyph(&down.dc, CRect(0, 0, 15, 12), FALSE);
    EXPECT_EQ(up.Ink(CRect(0, 3, 15, 4)), 1);
    EXPECT_EQ(down.Ink(CRect(0, 4, 15, 5)), 7);

    Canvas low, high;
    GXDrawHotSpotGlyph(&low.dc, CRect(0, 0, 13, 11));
    GXDrawHotSpotGlyph(&high.dc, CRect(0, 0, 13, 12));
    EXPECT_EQ(low.Ink(), 0);
    // Six rectangles; the first two share three pixels.
    EXPECT_EQ(high.Ink(), 12 + 9 + 7 + 5 + 3 + 1 - 3);
}

TEST(CurrentCellMark, FourKindsOfMark)
{
    CGXGridEngine grid(nullptr);
    grid.InitObjects();
    CGXControl control(&grid);
    const CRect cell(10, 10, 50, 30);
    const int thinBand = 2 * cell.Width() + 2 * cell.Height() - 4;
    const int thickBand = cell.Width() * cell.Height() - (cell.Width() - 4) * (cell.Height() - 4);
    const struct
    {
        UINT nameId;
        int width;
    } kinds[] = {{GX_IDS_CHOICE_INVERTTHIN, 1}, {GX_IDS_CHOICE_INVERTTHICK, 2},
                 {GX_IDS_CHOICE_THINBORDER, 1}, {GX_IDS_CHOICE_THICKBORDER, 2}};
    for (const auto& k : kinds) {
        CString name;
        ASSERT_TRUE(name.LoadString(k.nameId));
        grid.GetParam()->GetProperties()->AddUserProperty(GX_IDS_UA_CURRENTCELL, CGXStyle().SetValue(name));
        Canvas c;
        control.InvertArea(&c.dc, cell);
        const CRect inner(cell.left + k.width, cell.top + k.width, cell.right - k.width, cell.bottom - k.width);
        EXPECT_EQ(c.Ink(inner), 0) << name;
        EXPECT_EQ(c.Ink(), c.Ink(cell)) << name;   // nothing outside the cell
        if (k.nameId == GX_IDS_CHOICE_INVERTTHIN || k.nameId == GX_IDS_CHOICE_INVERTTHICK)
            EXPECT_EQ(c.Ink(), k.width == 1 ? thinBand : thickBand) << name;
        else
            EXPECT_GT(c.Ink(), k.width == 1 ? thinBand / 2 : thinBand) << name;
    }
}
