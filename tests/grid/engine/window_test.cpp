#include <gtest/gtest.h>
#include "afxseam.h"
#include "grid_test_util.h"
#include "grid_tests_res.h"
#include "gxinit.h"
#include "gxwnd.h"

namespace {
// A grid that records what the window hands to its engine.
class CRecordingGrid : public CGXGridWnd
{
public:
    std::vector<std::string> calls;
    BOOL DispatchKeyMessage(CWnd* pWnd, UINT nMessage, UINT nChar, UINT, UINT) override
    {
        calls.push_back("key " + std::to_string(nMessage) + " " + std::to_string(nChar) +
                        (pWnd == this ? " self" : " other"));
        return TRUE;
    }
    BOOL HandleLButtonDown(UINT, CPoint pt) override
    {
        calls.push_back("lbuttondown " + std::to_string(pt.x) + "," + std::to_string(pt.y));
        return TRUE;
    }
    BOOL HandleSize(UINT, int cx, int cy) override
    {
        calls.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
        return FALSE;
    }
    void LockSizeRedraw(WPARAM w) override
    {
        calls.push_back("lock " + std::to_string(w));
        CGXGridWnd::LockSizeRedraw(w);
    }
};

// A top-level window to hold grids.
class WindowTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    void SetUp() override
    {
        AfxSeamReset();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "grid tests", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr));
    }
    void TearDown() override
    {
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
    }
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }
} // namespace

TEST_F(WindowTest, StartUpRegistersEachClassOnce)
{
    WNDCLASSA wc;
    HINSTANCE hInst = AfxGetInstanceHandle();
    for (LPCSTR name : {"CGXGridWnd", "GXWND", "GXNDBLCLKSWND", "GxMdiFrame", "GXEDIT", "GXLISTBOX", "GXCOMBOBOX"})
        EXPECT_TRUE(::GetClassInfoA(hInst, name, &wc)) << name;
    ::GetClassInfoA(hInst, "GXWND", &wc);
    EXPECT_EQ(wc.style, (UINT)(CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    // Again: nothing is registered twice, the texts are loaded again.
    GXGetAppState()->sProcessing.Empty();
    EXPECT_NO_THROW(GXInitLibrary(0x421, nullptr));
    EXPECT_EQ(GXGetAppState()->sProcessing, "Processing...");
    EXPECT_NE(GXGetAppState()->m_cfGridStyles, 0u);
    EXPECT_EQ(GXGetSysColor(5), GXGetSysData()->GetAt(5));
    EXPECT_EQ(GXGetSysColor(30), ::GetSysColor(30));
}

// Started without a control factory, the library still has its grid window class.
TEST_F(WindowTest, StartUpWithoutAFactoryRegistersTheGridWindowClass)
{
    GX_APP_STATE* s = GXGetAppState();
    CGXAbstractControlFactory* pFactory = s->m_pControlFactory;
    HINSTANCE hInst = AfxGetInstanceHandle();
    ASSERT_TRUE(::UnregisterClassA("CGXGridWnd", hInst));
    s->m_pControlFactory = nullptr;
    GXInitLibrary(0x421, nullptr);
    WNDCLASSA wc;
    EXPECT_TRUE(::GetClassInfoA(hInst, "CGXGridWnd", &wc));
    {
        CGXGridWnd grid;
        EXPECT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 1));
    }
    s->m_pControlFactory = pFactory;
    GXInitLibrary(0x421, nullptr);
    EXPECT_TRUE(::GetClassInfoA(hInst, "CGXGridWnd", &wc));
}

TEST_F(WindowTest, ScrollParentsAndParentLookup)
{
    GXRegisterScrollParentClass(RUNTIME_CLASS(CWnd));
    GXRegisterScrollParentClass(RUNTIME_CLASS(CWnd));
    int n = 0;
    CPtrList& list = GXGetAppState()->m_scrollParentClasses;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        n += list.GetNext(pos) == RUNTIME_CLASS(CWnd);
    EXPECT_EQ(n, 1);

    CGXGridWnd grid;
    ASSERT_TRUE(grid.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 1));
    // Its parent (a CWnd) is now a scroll-sharing parent: both bars get mode 12.
    grid.InitGrid();
    EXPECT_EQ(grid.GetScrollBarMode(SB_VERT), 12);
    EXPECT_EQ(grid.GetScrollBarMode(SB_HORZ), 12);
    list.RemoveAt(list.Find(RUNTIME_CLASS(CWnd)));

    EXPECT_EQ(GXGetParentOfClass(&grid, RUNTIME_CLASS(CWnd), FALSE), &frame);

    // Inside a minimised frame only bEvenIfIconic finds the parent.
    CWnd iconic;
    ASSERT_TRUE(iconic.CreateEx(0, AfxRegisterWndClass(0), "iconic", WS_OVERLAPPEDWINDOW | WS_MINIMIZE, 0, 0, 100, 100,
                                nullptr, nullptr));
    CWnd holder;
    ASSERT_TRUE(holder.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD, CRect(0, 0, 50, 50), &iconic, 1));
    CGXGridWnd inner;
    ASSERT_TRUE(inner.Create("CGXGridWnd", nullptr, WS_CHILD, CRect(0, 0, 10, 10), &holder, 2));
    ASSERT_TRUE(iconic.IsIconic());
    EXPECT_EQ(GXGetParentOfClass(&inner, RUNTIME_CLASS(CWnd), FALSE), nullptr);
    EXPECT_EQ(GXGetParentOfClass(&inner, RUNTIME_CLASS(CWnd), TRUE), &holder);
    inner.DestroyWindow();
    holder.DestroyWindow();
    iconic.DestroyWindow();
}

TEST_F(WindowTest, GridCreatedInCode)
{
    const int liveBefore = CRecordingControl::s_nLive;
    CRecordingGrid* grid = new CRecordingGrid;
    ASSERT_TRUE(grid->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 200, 100), &frame, 7));
    EXPECT_EQ(CWnd::FromHandlePermanent(grid->GetSafeHwnd()), grid);   // no second object
    EXPECT_FALSE(CGXGridWnd::IsSelfDeleting(grid));

    // Painting before InitGrid validates and goes on.
    grid->Invalidate();
    grid->UpdateWindow();
    CRect update;
    EXPECT_FALSE(grid->GetUpdateRect(&update));

    grid->InitGrid();
    EXPECT_EQ(grid->GetScrollBarMode(SB_VERT), 10);
    EXPECT_EQ(grid->GetScrollBarMode(SB_HORZ), 0);
    EXPECT_TRUE(grid->IsInitDone());
    grid->Invalidate();
    grid->UpdateWindow();

    // Messages reach the engine's operations.
    grid->calls.clear();
    for (UINT msg : {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR})
        grid->SendMessage(msg, 'A', 0);
    ASSERT_EQ(grid->calls.size(), 6u);
    EXPECT_EQ(grid->calls[0], "key 256 65 self");
    EXPECT_EQ(grid->calls[5], "key 262 65 self");
    grid->calls.clear();
    grid->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 6));
    EXPECT_EQ(grid->calls.back(), "lbuttondown 5,6");
    EXPECT_EQ(::GetFocus(), grid->GetSafeHwnd());
    // A cell control's window inside the grid keeps the focus through a click.
    HWND hEdit = ::CreateWindowA("edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, grid->GetSafeHwnd(), nullptr,
                                 AfxGetInstanceHandle(), nullptr);
    ::SetFocus(hEdit);
    grid->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(50, 6));
    EXPECT_EQ(::GetFocus(), hEdit);
    ::DestroyWindow(hEdit);
    grid->SetWindowPos(nullptr, 0, 0, 150, 80, SWP_NOZORDER | SWP_NOMOVE);
    CRect client;
    grid->GetClientRect(&client);
    EXPECT_EQ(grid->calls.back(), "size " + std::to_string(client.Width()) + "x80");
    EXPECT_EQ(grid->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(::GetDC(nullptr)), 0), 1);
    grid->GetParam()->SetOptionF(42);
    EXPECT_EQ(grid->SendMessage(GXWM_GETPARAMOPTIONF), 42);
    grid->SendMessage(GXWM_LOCKSIZEREDRAW, 1);
    EXPECT_TRUE(grid->m_bSizeLock);
    grid->SendMessage(GXWM_LOCKSIZEREDRAW, 0);
    EXPECT_FALSE(grid->m_bSizeLock);
    EXPECT_EQ(grid->SendMessage(GXWM_VALIDATE, 0), 0);
    EXPECT_EQ(grid->SendMessage(WM_GETDLGCODE) & (DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS),
              DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);

    // Destroying the window leaves the object to its owner; deleting the
    // object with a live window destroys the window first.
    HWND hWnd = grid->GetSafeHwnd();
    grid->DestroyWindow();
    EXPECT_FALSE(::IsWindow(hWnd));
    ASSERT_TRUE(grid->Create("CGXGridWnd", nullptr, WS_CHILD, CRect(0, 0, 50, 50), &frame, 8));
    hWnd = grid->GetSafeHwnd();
    grid->InitGrid();
    delete grid;
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CRecordingControl::s_nLive, liveBefore);
}

TEST_F(WindowTest, GridFromADialogTemplateOwnsItself)
{
    HWND hDlg = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDD_GRID_TEST), frame.GetSafeHwnd(),
                                     PlainDialogProc, 0);
    ASSERT_NE(hDlg, nullptr);
    HWND hCtl = ::GetDlgItem(hDlg, IDC_GRID);
    ASSERT_NE(hCtl, nullptr);
    CGXGridWnd* grid = dynamic_cast<CGXGridWnd*>(CWnd::FromHandlePermanent(hCtl));
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(CGXGridWnd::IsSelfDeleting(grid));
    grid->InitGrid();
    EXPECT_EQ(grid->GetScrollBarMode(SB_VERT), 10);
    grid->SetValueRange(CGXRange(1, 1), "in a dialog");
    EXPECT_EQ(grid->GetCellValue(1, 1), "in a dialog");
    grid->Invalidate();
    grid->UpdateWindow();
    Pump();

    // The grid's objects (its controls among them) go exactly once with the dialog.
    int live = CRecordingControl::s_nLive;
    EXPECT_GT(live, 0);
    ::DestroyWindow(hDlg);
    EXPECT_EQ(CRecordingControl::s_nLive, live - 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hCtl), nullptr);
}

TEST_F(WindowTest, ClientEdgeFrameIsDrawnOnTheParent)
{
    frame.ShowWindow(SW_SHOW);
    Pump();
    // The sunken frame lies just outside the grid, on the parent's client area.
    auto frameDrawn = [&](DWORD exStyle, DWORD style) {
        CGXGridWnd grid;
        EXPECT_TRUE(grid.CreateEx(exStyle, "CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE | style,
                                  CRect(20, 20, 120, 120), &frame, 9));
        grid.InitGrid();
        Pump();
        HDC hdc = ::GetDC(frame.GetSafeHwnd());
        const COLORREF probe = RGB(1, 2, 3);
        RECT outside = {10, 10, 19, 19};
        HBRUSH br = ::CreateSolidBrush(probe);
        ::FillRect(hdc, &outside, br);
        ::DeleteObject(br);
        EXPECT_EQ(::GetPixel(hdc, 18, 18), probe);
        grid.SendMessage(WM_NCPAINT, 1);
        COLORREF after = ::GetPixel(hdc, 18, 18);
        ::ReleaseDC(frame.GetSafeHwnd(), hdc);
        return after != probe;
    };
    EXPECT_TRUE(frameDrawn(WS_EX_CLIENTEDGE, 0));
    // The same bit in the ordinary style word is not the client edge.
    EXPECT_FALSE(frameDrawn(0, 0x200));
}
