// Owner-draw buttons, bitmap and menu buttons, colour wells and well buttons with their popup.
#include "afxtest.h"
#include "afxwndtest.h"
#include "SECButton.h"
#include "SECColorWell.h"
#include "afxdc.h"
#include "afxdlg.h"
#include "afxdlgs.h"
#include <vector>

using afxtest::Text;

namespace {

#define IDR_BUTTON_MENU 401     // the menu of the menu-button test (docking_tests.rc)
#define ID_BUTTON_FIRST 0x9F01
#define ID_BUTTON_SECOND 0x9F02

// A top-level window that records colour reports, commands and clicks.
class CButtonParent : public CWnd
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> m_colours;
    std::vector<UINT> m_commands;
    int m_nClicks = 0;
    BOOL Make(CRect rect = CRect(60, 60, 460, 360))
    {
        return CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                        "Buttons", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                        rect.Height(), nullptr, nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SEC_WM_COLORCHOSEN)
            m_colours.push_back({wParam, lParam});
        else if (message == WM_COMMAND && lParam == 0)
            m_commands.push_back(LOWORD(wParam));
        else if (message == WM_LBUTTONDOWN)
            m_nClicks++;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

COLORREF ScreenPixel(CWnd* pWnd, int x, int y)
{
    CClientDC dc(pWnd);
    return dc.GetPixel(x, y);
}

struct Parent
{
    CButtonParent wnd;
    Parent(CRect rect = CRect(60, 60, 460, 360))
    {
        EXPECT_TRUE(wnd.Make(rect));
        afxtest::Activate(&wnd);
    }
    ~Parent()
    {
        wnd.DestroyWindow();
        afxtest::PumpMessages();
    }
};

TEST(BitmapButton, TheBitmapAndCaptionShareTheButtonByAlignment)
{
    Parent p;
    const int W = 120, H = 40, bm = 9;    // the arrow bitmaps are 9 x 9
    struct Case
    {
        int nAlign;
        CRect bitmap, text;
    } cases[] = {
        // The area is the client less 3 at the right and bottom: 117 x 37.
        {SEC_BMP_LEFT, CRect(5, 14, 5 + bm, 14 + bm), CRect(5 + bm + 1, 0, 117, 37)},
        {SEC_BMP_RIGHT, CRect(117 - 5 - bm, 14, 117 - 5, 14 + bm), CRect(0, 0, 117 - 5 - bm - 1, 37)},
        {SEC_BMP_TOP, CRect(54, 5, 54 + bm, 5 + bm), CRect(0, 5 + bm + 1, 117, 37)},
        {SEC_BMP_BOTTOM, CRect(54, 37 - 5 - bm, 54 + bm, 37 - 5), CRect(0, 0, 117, 37 - 5 - bm - 1)},
        {SEC_BMP_CENTER, CRect(54, 14, 54 + bm, 14 + bm), CRect(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nAlign);
        SECBitmapButton button;
        ASSERT_TRUE(button.Create("Go", WS_CHILD | WS_VISIBLE, c.nAlign, IDB_SEC_MENUDOWN, CRect(10, 10, 10 + W, 10 + H),
                                  &p.wnd, 100));
        EXPECT_EQ(Text(button.m_rectBitmap), Text(c.bitmap));
        EXPECT_EQ(Text(button.m_rectText), Text(c.text));
        EXPECT_EQ(button.GetButtonStyle(), (UINT)BS_OWNERDRAW);
    }
    SECBitmapButton missing;
    EXPECT_FALSE(missing.Create("Go", WS_CHILD, SEC_BMP_LEFT, 1234u, CRect(0, 0, 50, 20), &p.wnd, 101));
    // A menu button without a caption centres its arrow; with one, the arrow goes right.
    SECMenuButton bare, titled;
    ASSERT_TRUE(bare.Create("", WS_CHILD | WS_VISIBLE, IDR_BUTTON_MENU, 0, CRect(10, 60, 40, 80), &p.wnd, 102));
    EXPECT_EQ(bare.m_nAlign, SEC_BMP_CENTER);
    ASSERT_TRUE(titled.Create("Tools", WS_CHILD | WS_VISIBLE, IDR_BUTTON_MENU, 1, CRect(50, 60, 130, 80), &p.wnd, 103));
    EXPECT_EQ(titled.m_nAlign, SEC_BMP_RIGHT);
}

TEST(BitmapButton, AfterASystemColourChangeTheButtonFaceFollows)
{
    Parent p;
    SECBitmapButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, SEC_BMP_CENTER, IDB_SEC_MENUDOWN, CRect(10, 10, 50, 40), &p.wnd,
                              100));
    button.UpdateWindow();
    CPoint ptBitmapGrey = button.m_rectBitmap.TopLeft();    // the arrow's light grey corner
    EXPECT_EQ(ScreenPixel(&button, ptBitmapGrey.x, ptBitmapGrey.y), ::GetSysColor(COLOR_BTNFACE));
    INT nIndex = COLOR_BTNFACE;
    COLORREF clrOld = ::GetSysColor(COLOR_BTNFACE), clrNew = RGB(200, 180, 120);
    ASSERT_TRUE(::SetSysColors(1, &nIndex, &clrNew));
    button.SendMessage(WM_SYSCOLORCHANGE);
    button.UpdateWindow();
    EXPECT_EQ(ScreenPixel(&button, 20, 3), clrNew);
    EXPECT_EQ(ScreenPixel(&button, ptBitmapGrey.x, ptBitmapGrey.y), clrNew);
    ::SetSysColors(1, &nIndex, &clrOld);
    button.SendMessage(WM_SYSCOLORCHANGE);
    afxtest::PumpMessages();
}

TEST(MenuButton, TheChosenCommandReachesTheParent)
{
    Parent p;
    SECMenuButton button;
    ASSERT_TRUE(button.Create("Tools", WS_CHILD | WS_VISIBLE, IDR_BUTTON_MENU, 0, CRect(10, 10, 100, 34), &p.wnd, 104));
    AfxSeamScript([&](AfxModalCall& call) {
        EXPECT_EQ(call.kind, AFX_MODAL_POPUPMENU);
        EXPECT_TRUE(call.nType & TPM_RETURNCMD);
        CRect rect;
        button.GetWindowRect(&rect);
        EXPECT_EQ(Text(call.pt), Text(CPoint(rect.left, rect.bottom)));
        EXPECT_FALSE(button.m_bDrawEnabled);
        return (INT_PTR)ID_BUTTON_SECOND;
    });
    button.OnClicked();
    ASSERT_EQ(p.wnd.m_commands.size(), 1u);
    EXPECT_EQ(p.wnd.m_commands[0], (UINT)ID_BUTTON_SECOND);
    EXPECT_TRUE(button.m_bDrawEnabled);
    // Dismissed: nothing is sent.
    AfxSeamAnswer(0);
    button.OnClicked();
    EXPECT_EQ(p.wnd.m_commands.size(), 1u);
}

// ---- Colour wells -----------------------------------------------------------------------------

TEST(ColorWell, SettingColoursUsesTheGridOrTheCustomCell)
{
    Parent p;
    SECColorWell plain, other;
    ASSERT_TRUE(plain.Create(WS_VISIBLE, 10, 10, &p.wnd, 200));
    ASSERT_TRUE(other.Create(WS_VISIBLE, 150, 10, &p.wnd, 201, FALSE, TRUE));
    COLORREF clrGrid = plain.GetCellColor(2, 3);
    plain.SetColor(clrGrid);
    EXPECT_EQ(plain.GetColor(), clrGrid);
    EXPECT_FALSE(plain.m_bCustomInUse);
    // Not in the grid, no "&Other...": nothing changes.
    COLORREF clrForeign = RGB(12, 34, 56);
    plain.SetColor(clrForeign);
    EXPECT_EQ(plain.GetColor(), clrGrid);
    EXPECT_FALSE(plain.m_bCustomInUse);

    CRect rectButton;
    ASSERT_NE(other.m_pOtherButton, nullptr);
    other.m_pOtherButton->GetWindowRect(&rectButton);
    CString strCaption;
    other.m_pOtherButton->GetWindowText(strCaption);
    EXPECT_EQ(std::string(strCaption), "&Other...");
    other.SetColor(clrGrid);
    EXPECT_FALSE(other.m_bCustomInUse);
    other.SetColor(clrForeign);
    EXPECT_TRUE(other.m_bCustomInUse);
    EXPECT_EQ(other.GetColor(), clrForeign);
    EXPECT_EQ(other.m_nSelRow, 5);
    CRect rectNarrow;
    other.m_pOtherButton->GetWindowRect(&rectNarrow);
    EXPECT_EQ(rectNarrow.Width(), rectButton.Width() - (other.m_nCellWidth + 2));
    // A second custom colour reuses the cell; the button stays as it is.
    other.SetColor(RGB(99, 98, 97));
    EXPECT_EQ(other.GetColor(), RGB(99, 98, 97));
    other.m_pOtherButton->GetWindowRect(&rectButton);
    EXPECT_EQ(rectButton.Width(), rectNarrow.Width());
    other.SetColor(clrGrid);
    EXPECT_EQ(other.m_nSelRow, 3);
}

TEST(ColorWell, ArrowKeysWalkTheGridAndTheCustomCellOnlyWhenInUse)
{
    Parent p;
    SECColorWell well;
    ASSERT_TRUE(well.Create(WS_VISIBLE, 10, 10, &p.wnd, 200, FALSE, TRUE));
    struct Case
    {
        int c, r;
        UINT vk;
        BOOL bCustom;
        int c2, r2;
    } cases[] = {
        {1, 1, VK_LEFT, FALSE, 0, 1},   {0, 1, VK_LEFT, FALSE, 3, 0},   {0, 0, VK_LEFT, FALSE, 3, 4},
        {0, 0, VK_LEFT, TRUE, 3, 5},    {3, 5, VK_LEFT, TRUE, 3, 4},    {3, 1, VK_RIGHT, FALSE, 0, 2},
        {3, 4, VK_RIGHT, FALSE, 0, 0},  {3, 4, VK_RIGHT, TRUE, 3, 5},   {3, 5, VK_RIGHT, TRUE, 0, 0},
        {3, 0, VK_UP, FALSE, 3, 4},     {3, 0, VK_UP, TRUE, 3, 5},      {2, 0, VK_UP, TRUE, 2, 4},
        {3, 5, VK_UP, TRUE, 3, 4},      {3, 4, VK_DOWN, FALSE, 3, 0},   {3, 4, VK_DOWN, TRUE, 3, 5},
        {1, 4, VK_DOWN, TRUE, 1, 0},    {3, 5, VK_DOWN, TRUE, 3, 0},    {2, 2, VK_DOWN, FALSE, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.c << "," << c.r << " key " << c.vk << " custom " << c.bCustom);
        well.m_bCustomInUse = c.bCustom;
        well.m_nSelCol = c.c;
        well.m_nSelRow = c.r;
        int c2, r2;
        well.NextCell(c.vk, c2, r2);
        EXPECT_EQ(c2, c.c2);
        EXPECT_EQ(r2, c.r2);
    }
    // A key moves the selection and reports the colour.
    well.m_bCustomInUse = FALSE;
    well.m_nSelCol = well.m_nSelRow = 1;
    well.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(well.m_nSelCol, 2);
    ASSERT_EQ(p.wnd.m_colours.size(), 1u);
    EXPECT_EQ(p.wnd.m_colours[0].first, 200u);
    EXPECT_EQ((COLORREF)p.wnd.m_colours[0].second, well.GetCellColor(2, 1));
}

TEST(ColorWell, TheWindowSizeFollowsTheCellsMarginsAndTheOtherButton)
{
    Parent p;
    SECColorWell well;
    LONG nBase = ::GetDialogBaseUnits();
    int cw = LOWORD(nBase) * 10 / 4, ch = HIWORD(nBase) * 10 / 8;
    CRect rect;
    well.m_nMarginX = well.m_nMarginY = 3;
    well.CalcWindowRect(rect, &p.wnd, 7, 9, FALSE);
    EXPECT_EQ(Text(rect), Text(CRect(7, 9, 7 + 4 * (cw + 2) + 4, 9 + 5 * (ch + 2) + 4)));
    well.m_bShowOther = TRUE;
    well.CalcWindowRect(rect, &p.wnd, 0, 0, FALSE);
    EXPECT_EQ(rect.Height(), 5 * (ch + 2) + 4 + ch + 2 + 6);
    // The created well: margins 2 plus the focus frame's pixel, 4 + 1 with the raised border.
    SECColorWell made, raised;
    ASSERT_TRUE(made.Create(WS_VISIBLE, 0, 0, &p.wnd, 1));
    EXPECT_EQ(made.m_nMarginX, 3);
    ASSERT_TRUE(raised.Create(WS_VISIBLE | 0x1, 100, 0, &p.wnd, 2));
    EXPECT_EQ(raised.m_nMarginY, 5);
    // More cells than the system's colours: the extra cells are black.
    class CBigWell : public SECColorWell
    {
    public:
        void SetDefaults() override
        {
            m_nRows = 6;
            m_nCols = 5;
        }
    } big;
    ASSERT_TRUE(big.Create(WS_VISIBLE, 200, 0, &p.wnd, 3));
    for (int i = 20; i < 30; i++)
        EXPECT_EQ(big.GetCellColor(i % 5, i / 5), RGB(0, 0, 0)) << i;
}

// ---- Well buttons -------------------------------------------------------------------------------

struct WellButton : Parent
{
    SECWellButton button;
    WellButton(CRect rect = CRect(60, 60, 460, 360)) : Parent(rect)
    {
        EXPECT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 20, 90, 44), &wnd, 300));
        button.SetColor(RGB(200, 30, 40));
        afxtest::PumpMessages();
    }
    SECPopupColorWell* Popup() { return button.m_pPopup; }
    // A cell's centre in the popup's client coordinates.
    LPARAM CellPoint(int c, int r)
    {
        CPoint pt = Popup()->CellRect(c, r).CenterPoint();
        return MAKELPARAM(pt.x, pt.y);
    }
};

TEST(WellButton, ASwatchWhenEnabledArrowAndSeparatorAlways)
{
    WellButton w;
    w.button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CRect rect;
    w.button.GetClientRect(&rect);
    // The content rectangle of an unpushed new-look button is the client less 2 and 1 more right/bottom.
    CRect content(2, 2, rect.right - 3, rect.bottom - 3);
    int cy = rect.Height() / 2;
    EXPECT_EQ(ScreenPixel(&w.button, content.left + 8, cy), RGB(200, 30, 40));
    EXPECT_EQ(ScreenPixel(&w.button, content.left + 3, cy), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(&w.button, content.right - 10, cy), ::GetSysColor(COLOR_BTNSHADOW));
    w.button.EnableWindow(FALSE);
    w.button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(&w.button, content.left + 8, cy), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(&w.button, content.right - 10, cy), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ScreenPixel(&w.button, content.right - 9, cy), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    // The arrow's ink is embossed: shadow, not black.
    int nArrow = 0;
    for (int x = content.right - 8; x < content.right; x++)
        for (int y = cy - 3; y < cy + 4; y++)
            nArrow += ScreenPixel(&w.button, x, y) == ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_GT(nArrow, 3);

    // With the palette: PALETTEINDEX(0) of the realised one-entry palette, on a true-colour display.
    w.button.EnableWindow(TRUE);
    w.button.SetUsePalette(TRUE);
    w.button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(&w.button, content.left + 8, cy), RGB(200, 30, 40));
}

TEST(WellButton, AttachedToADialogsButtonItDrawsItsSwatchAndWellsUseDialogUnits)
{
    // Any dialog with buttons serves: the library's tip dialog.
    CDialog dlg(IDD_SEC_TIPOFDAY);
    ASSERT_TRUE(dlg.Create(IDD_SEC_TIPOFDAY));
    dlg.ShowWindow(SW_SHOW);
    SECWellButton button;
    ASSERT_TRUE(button.AttachButton(IDC_SEC_TIP_HELP, &dlg));
    EXPECT_EQ(button.GetButtonStyle(), (UINT)BS_OWNERDRAW);
    button.SetShowOtherButton(TRUE);
    button.SetColor(RGB(20, 160, 60));
    button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CRect rect;
    button.GetClientRect(&rect);
    EXPECT_EQ(ScreenPixel(&button, 2 + 8, rect.Height() / 2), RGB(20, 160, 60));

    // A well in the dialog: cells of 10 x 10 dialog units, placed in dialog units.
    SECColorWell well;
    ASSERT_TRUE(well.Create(WS_VISIBLE, 10, 20, &dlg, 900, TRUE));
    CRect rectCell(0, 0, 10, 10), rectUnits(10, 20, 10, 20);
    dlg.MapDialogRect(&rectCell);
    dlg.MapDialogRect(&rectUnits);
    EXPECT_EQ(well.m_nCellWidth, rectCell.Width());
    EXPECT_EQ(well.m_nCellHeight, rectCell.Height());
    CRect rectWell;
    well.GetWindowRect(&rectWell);
    dlg.ScreenToClient(&rectWell);
    EXPECT_EQ(Text(rectWell.TopLeft()), Text(rectUnits.TopLeft()));
    dlg.DestroyWindow();
}

TEST(WellButton, APickedCellIsReportedAndAFurtherClickOpensNoSecondPopup)
{
    WellButton w;
    w.button.OnClicked();
    ASSERT_TRUE(w.button.IsPopupUp());
    HWND hWndPopup = w.Popup()->m_hWnd;
    w.button.OnClicked();
    EXPECT_EQ(w.Popup()->m_hWnd, hWndPopup);
    // Below the button, at its left.
    CRect rectButton, rectPopup;
    w.button.GetWindowRect(&rectButton);
    w.Popup()->GetWindowRect(&rectPopup);
    EXPECT_EQ(Text(rectPopup.TopLeft()), Text(CPoint(rectButton.left, rectButton.bottom)));
    // The popup opened on the button's colour when it is in the grid.
    COLORREF clrCell = w.Popup()->GetCellColor(2, 4);
    w.Popup()->SendMessage(WM_LBUTTONDOWN, 0, w.CellPoint(2, 4));
    EXPECT_FALSE(w.button.IsPopupUp());
    EXPECT_EQ(::IsWindow(hWndPopup), FALSE);
    ASSERT_EQ(w.wnd.m_colours.size(), 1u);
    EXPECT_EQ(w.wnd.m_colours[0].first, 300u);
    EXPECT_EQ((COLORREF)w.wnd.m_colours[0].second, clrCell);
    EXPECT_EQ(w.button.GetColor(), clrCell);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST(WellButton, ARealClickDropsThePopupAndAClickOnACellPicksIt)
{
    WellButton w;
    ASSERT_TRUE(afxtest::Activate(&w.wnd));
    CRect rectButton;
    w.button.GetWindowRect(&rectButton);
    afxtest::InputScript script;
    script.MoveTo(rectButton.CenterPoint()).Click();
    ASSERT_TRUE(script.Run());
    ASSERT_TRUE(afxtest::WaitFor([&] { return w.button.IsPopupUp(); }, 2000));
    EXPECT_EQ(CWnd::GetCapture(), w.Popup());
    CPoint pt = w.Popup()->CellRect(0, 2).CenterPoint();
    COLORREF clrCell = w.Popup()->GetCellColor(0, 2);
    w.Popup()->ClientToScreen(&pt);
    script.MoveTo(pt).Click();
    ASSERT_TRUE(script.Run());
    EXPECT_TRUE(afxtest::WaitFor([&] { return !w.button.IsPopupUp(); }, 2000));
    ASSERT_EQ(w.wnd.m_colours.size(), 1u);
    EXPECT_EQ((COLORREF)w.wnd.m_colours[0].second, clrCell);
    EXPECT_EQ(w.button.GetColor(), clrCell);
}

TEST(WellButton, EscapeAnOutsideClickAndFocusElsewhereCloseWithoutAChoice)
{
    WellButton w;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(200, 150, 300, 175), &w.wnd, 500));
    COLORREF clr = w.button.GetColor();

    w.button.OnClicked();
    ASSERT_TRUE(w.button.IsPopupUp());
    w.Popup()->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);    // keys only move the selection
    EXPECT_TRUE(w.button.IsPopupUp());
    w.Popup()->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(w.button.IsPopupUp());
    EXPECT_TRUE(w.wnd.m_colours.empty());
    EXPECT_EQ(w.button.GetColor(), clr);

    // A click outside: closed, and the click goes on to the window under it.
    w.button.OnClicked();
    ASSERT_TRUE(w.button.IsPopupUp());
    CPoint pt(300, 250);    // in the parent, clear of button, popup and edit
    w.wnd.ClientToScreen(&pt);
    w.Popup()->ScreenToClient(&pt);
    w.Popup()->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(w.button.IsPopupUp());
    afxtest::PumpMessages();
    EXPECT_EQ(w.wnd.m_nClicks, 1);
    // A click on the well button itself is ignored (the button's own click handles it).
    w.button.OnClicked();
    CPoint ptButton(30, 30);
    w.wnd.ClientToScreen(&ptButton);
    w.Popup()->ScreenToClient(&ptButton);
    w.Popup()->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(ptButton.x, ptButton.y));
    EXPECT_TRUE(w.button.IsPopupUp());

    // Focus moving away closes it, with no window manager around.
    EXPECT_EQ(CWnd::GetFocus(), w.Popup());
    edit.SetFocus();
    afxtest::PumpMessages();
    EXPECT_FALSE(w.button.IsPopupUp());
    EXPECT_TRUE(w.wnd.m_colours.empty());
    EXPECT_EQ(w.button.GetColor(), clr);
}

TEST(WellButton, NearTheBottomOfTheDisplayThePopupOpensAbove)
{
    WellButton w(CRect(60, 500, 460, 800));
    CRect rectButton;
    w.button.GetWindowRect(&rectButton);
    AfxSeamSetDisplayResolution([&] { return CSize(1280, rectButton.bottom + 40); });
    w.button.OnClicked();
    AfxSeamSetDisplayResolution(nullptr);
    ASSERT_TRUE(w.button.IsPopupUp());
    CRect rectPopup;
    w.Popup()->GetWindowRect(&rectPopup);
    EXPECT_EQ(rectPopup.bottom, rectButton.top);
    EXPECT_EQ(rectPopup.left, rectButton.left);
    w.Popup()->Close();
}

TEST(WellButton, OtherRunsTheColourDialogAndAppliesOnlyOK)
{
    WellButton w;
    COLORREF clrStart = w.button.GetColor();
    w.button.OnClicked();
    ASSERT_TRUE(w.button.IsPopupUp());
    ASSERT_NE(w.Popup()->m_pOtherButton, nullptr);
    CRect rectOther;
    w.Popup()->m_pOtherButton->GetWindowRect(&rectOther);
    w.Popup()->ScreenToClient(&rectOther);
    AfxSeamScript([&](AfxModalCall& call) {
        EXPECT_EQ(call.kind, AFX_MODAL_COMMONDIALOG);
        auto* pDlg = static_cast<CColorDialog*>(call.pObject);
        EXPECT_EQ(pDlg->m_cc.rgbResult & 0xFFFFFF, clrStart);
        EXPECT_EQ(pDlg->m_cc.Flags & (CC_RGBINIT | CC_FULLOPEN), (DWORD)(CC_RGBINIT | CC_FULLOPEN));
        pDlg->m_cc.rgbResult = RGB(1, 2, 3);
        return (INT_PTR)IDOK;
    });
    w.Popup()->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(rectOther.CenterPoint().x, rectOther.CenterPoint().y));
    EXPECT_FALSE(w.button.IsPopupUp());
    afxtest::PumpMessages();    // the request to the button is posted
    EXPECT_EQ(AfxSeamPendingSteps(), 0);
    EXPECT_EQ(w.button.GetColor(), RGB(1, 2, 3));
    ASSERT_EQ(w.wnd.m_colours.size(), 1u);
    EXPECT_EQ((COLORREF)w.wnd.m_colours[0].second, RGB(1, 2, 3));

    // Cancel changes nothing.
    AfxSeamAnswer(IDCANCEL);
    w.button.SendMessage(SEC_WM_MORECOLORS);
    EXPECT_EQ(w.button.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(w.wnd.m_colours.size(), 1u);
}

TEST(ColorWell, OtherInAnEmbeddedWellSetsTheColourWithoutAMessage)
{
    Parent p;
    SECColorWell well;
    ASSERT_TRUE(well.Create(WS_VISIBLE, 10, 10, &p.wnd, 200, FALSE, TRUE));
    AfxSeamScript([](AfxModalCall& call) {
        static_cast<CColorDialog*>(call.pObject)->m_cc.rgbResult = RGB(7, 8, 9);
        return (INT_PTR)IDOK;
    });
    well.SendMessage(WM_COMMAND, MAKEWPARAM(SEC_IDC_OTHERCOLOR, BN_CLICKED), (LPARAM)well.m_pOtherButton->m_hWnd);
    EXPECT_EQ(well.GetColor(), RGB(7, 8, 9));
    EXPECT_TRUE(well.m_bCustomInUse);
    EXPECT_TRUE(p.wnd.m_colours.empty());
}

} // namespace
