// Windows: the creation hook, lifetime, subclassing and exceptions in window procedures.
#include "afxtest.h"
#include <string>
#include <vector>

namespace {

// Records the first message its object sees and whether it was attached by then.
class CFirstMessageWnd : public CWnd
{
public:
    UINT m_nFirstMsg = 0;
    HWND m_hWndAtFirst = nullptr;
    BOOL m_bMappedAtFirst = FALSE;
    int m_nCreates = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (m_nFirstMsg == 0) {
            m_nFirstMsg = message;
            m_hWndAtFirst = m_hWnd;
            m_bMappedAtFirst = CWnd::FromHandlePermanent(m_hWnd) == this;
        }
        if (message == WM_CREATE)
            ++m_nCreates;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(CreationHook, AttachesTheObjectBeforeTheFirstMessage)
{
    CFirstMessageWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "first", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr));
    EXPECT_NE(wnd.m_nFirstMsg, 0u);
    EXPECT_EQ(wnd.m_hWndAtFirst, wnd.m_hWnd);
    EXPECT_TRUE(wnd.m_bMappedAtFirst);
    EXPECT_EQ(wnd.m_nCreates, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(::SendMessageA(wnd.m_hWnd, WM_QUERYAFXWNDPROC, 0, 0), 1);
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

// The system's own class for an owner-drawn combo box: the parent measures its items while the
// combo box is being created, before CreateWindowEx returns.
class COwnerDrawCombo : public CWnd
{
public:
    int m_nMeasured = 0;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_MEASUREITEM) {
            auto* pmis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
            pmis->itemHeight = 21;
            ++m_nMeasured;
            return TRUE;
        }
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
};

TEST(CreationHook, OwnerDrawMeasuringDuringCreationReachesTheControl)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr));
    COwnerDrawCombo combo;
    ASSERT_TRUE(combo.CreateEx(0, "COMBOBOX", nullptr,
                               WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                               CRect(10, 10, 150, 200), &parent, 1001));
    EXPECT_GE(combo.m_nMeasured, 1);
    EXPECT_EQ(::SendMessageA(combo.m_hWnd, CB_GETITEMHEIGHT, 0, 0), 21);
    parent.DestroyWindow();
    EXPECT_EQ(combo.m_hWnd, nullptr);   // children go with their parent and are detached
}

// ---- Lifetime -------------------------------------------------------------------------------

class CSelfDeletingWnd : public CWnd
{
public:
    static int s_nDeleted;
    ~CSelfDeletingWnd() override { ++s_nDeleted; }
    void PostNcDestroy() override { delete this; }
};
int CSelfDeletingWnd::s_nDeleted = 0;

TEST(Lifetime, PostNcDestroyDeletesOnceAndDestructorDestroysALiveWindow)
{
    CSelfDeletingWnd::s_nDeleted = 0;
    CSelfDeletingWnd* pWnd = new CSelfDeletingWnd;
    ASSERT_TRUE(pWnd->CreateEx(0, AfxRegisterWndClass(0), "self", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = pWnd->m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_EQ(CSelfDeletingWnd::s_nDeleted, 1);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    HWND hLive;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "live", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hLive = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hLive));
    EXPECT_EQ(CWnd::FromHandlePermanent(hLive), nullptr);
}

TEST(Lifetime, AnObjectCanBeCreatedAgainAfterItsWindowWasDestroyed)
{
    CFirstMessageWnd wnd;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
    ASSERT_TRUE(wnd.CreateEx(0, lpszClass, "one", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hFirst = wnd.m_hWnd;
    wnd.DestroyWindow();
    ASSERT_TRUE(wnd.CreateEx(0, lpszClass, "two", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_NE(wnd.m_hWnd, nullptr);
    EXPECT_NE(wnd.m_hWnd, hFirst);
    EXPECT_EQ(wnd.m_nCreates, 2);
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(text, "two");
}

// ---- Handle maps and subclassing ------------------------------------------------------------

TEST(HandleMaps, ForeignWindowsGetTemporaryWrappersFreedAtIdle)
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    CWnd* pTemp = CWnd::FromHandle(hWnd);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);   // the same wrapper until idle time
    AfxGetApp()->OnIdle(1);
    EXPECT_TRUE(::IsWindow(hWnd));              // freeing a wrapper leaves the window alone
    ::DestroyWindow(hWnd);
}

// Answers WM_GETTEXTLENGTH itself and leaves everything else to the control's own procedure.
class CSubclassedEdit : public CWnd
{
public:
    int m_nLengthQueries = 0;
    LRESULT OnGetTextLength(WPARAM, LPARAM)
    {
        ++m_nLengthQueries;
        return Default() + 100;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSubclassedEdit, CWnd)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

TEST(HandleMaps, SubclassingRoutesThroughTheMapAndDefaultReachesTheOldProcedure)
{
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "abc", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    WNDPROC pfnOriginal = (WNDPROC)::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    CSubclassedEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &edit);
    EXPECT_EQ(::GetWindowTextLengthA(hEdit), 103);  // the edit's own answer plus ours
    EXPECT_EQ(edit.m_nLengthQueries, 1);
    EXPECT_EQ(edit.UnsubclassWindow(), hEdit);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), pfnOriginal);
    EXPECT_EQ(::GetWindowTextLengthA(hEdit), 3);
    ::DestroyWindow(hEdit);
}

// ---- Exceptions never leave a window procedure ----------------------------------------------

class CThrowingWnd : public CWnd
{
public:
    enum What { none, onCreate, onPaint, onTimer, foreign } m_what = none;
    int m_nPaints = 0;

    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (m_what == onCreate)
            AfxThrowResourceException();
        return CWnd::OnCreate(lpcs);
    }
    void OnPaint()
    {
        ++m_nPaints;
        if (m_what == onPaint)
            throw std::runtime_error("paint failed");
        CWnd::OnPaint();
    }
    void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        if (m_what == onTimer)
            AfxThrowMemoryException();
    }
    LRESULT OnForeign(WPARAM, LPARAM)
    {
        throw 42;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_MESSAGE(WM_USER + 1, OnForeign)
END_MESSAGE_MAP()

TEST(Exceptions, ThrowInOnCreateFailsTheCreationAndIsReportedOnce)
{
    CThrowingWnd wnd;
    wnd.m_what = CThrowingWnd::onCreate;
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].kind, AFX_MODAL_MESSAGEBOX);
}

TEST(Exceptions, ThrowInOnPaintValidatesTheWindowSoPaintingDoesNotRepeat)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    wnd.m_what = CThrowingWnd::onPaint;
    wnd.m_nPaints = 0;
    AfxSeamAnswer(IDOK);
    wnd.Invalidate();
    wnd.UpdateWindow();
    afxtest::PumpMessages();
    afxtest::PumpMessages();
    EXPECT_EQ(wnd.m_nPaints, 1);
    RECT rc;
    EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, &rc, FALSE));
    auto texts = afxtest::MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].Find("paint failed"), -1);
}

TEST(Exceptions, ThrowInATimerMessageAndAForeignThrowAreCaught)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.m_what = CThrowingWnd::onTimer;
    AfxSeamAnswer(IDOK);
    AfxSeamAnswer(IDOK);
    wnd.SetTimer(1, 1);
    EXPECT_TRUE(afxtest::WaitFor([] { return AfxSeamCalls().size() >= 1; }));
    EXPECT_EQ(::SendMessageA(wnd.m_hWnd, WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(AfxSeamCalls().size(), 2u);
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
}

// A failure while the report of an earlier failure is on screen is not reported again.
TEST(Exceptions, FailuresDuringAReportAreNotReportedAgain)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = wnd.m_hWnd;
    int nNested = 0;
    AfxSeamScript([&](AfxModalCall&) {
        // While the box is up the window keeps failing.
        for (int i = 0; i < 3; i++) {
            ::SendMessageA(hWnd, WM_USER + 1, 0, 0);
            ++nNested;
        }
        return (INT_PTR)IDOK;
    });
    ::SendMessageA(hWnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(nNested, 3);
    EXPECT_EQ(AfxSeamCalls().size(), 1u);
}

TEST(Exceptions, GuardedCallbacksReportInsteadOfUnwindingThroughTheSystem)
{
    static bool s_bAfter = false;
    AfxSeamAnswer(IDOK);
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        AfxGuardCallback([] { AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "x.map"); });
        s_bAfter = true;
    });
    ASSERT_NE(nTimer, 0u);
    EXPECT_TRUE(afxtest::WaitFor([] { return s_bAfter; }));
    EXPECT_EQ(AfxSeamCalls().size(), 1u);
}

} // namespace

namespace {

// ---- Device contexts of windows -------------------------------------------------------------

class CPaintingWnd : public CWnd
{
public:
    int m_nPaints = 0;
    CRect m_rcPaint;
    void OnPaint()
    {
        CPaintDC dc(this);
        ++m_nPaints;
        m_rcPaint = dc.m_ps.rcPaint;
        dc.FillSolidRect(0, 0, 40, 40, RGB(255, 0, 0));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPaintingWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(WindowDCs, PaintClientAndWholeWindowContexts)
{
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "paint", WS_POPUP | WS_BORDER, 10, 10, 60, 60, nullptr,
                             nullptr));
    wnd.ShowWindow(SW_SHOWNA);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.m_nPaints, 1);
    EXPECT_FALSE(wnd.m_rcPaint.IsRectEmpty());
    RECT rcUpdate;
    EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, &rcUpdate, FALSE));   // EndPaint validated the window

    {
        CClientDC dc(&wnd);
        ASSERT_NE(dc.GetSafeHdc(), nullptr);
        EXPECT_EQ(dc.GetPixel(5, 5), RGB(255, 0, 0));
    }
    // Kept on the heap as a view does with its own context.
    CClientDC* pKept = new CClientDC(&wnd);
    EXPECT_EQ(pKept->GetPixel(10, 10), RGB(255, 0, 0));
    delete pKept;

    CWindowDC windowDC(&wnd);
    ASSERT_NE(windowDC.GetSafeHdc(), nullptr);
    CRect rcClip;
    windowDC.GetClipBox(&rcClip);
    CRect rcWindow;
    wnd.GetWindowRect(&rcWindow);
    EXPECT_EQ(rcClip.Width(), rcWindow.Width());   // the frame belongs to this context

    CClientDC screen(nullptr);
    EXPECT_EQ(screen.GetDeviceCaps(HORZRES), ::GetSystemMetrics(SM_CXSCREEN));
}

// A missing window, menu, GDI object or DC is asked for its handle through the free helpers, and
// framework calls that take an optional pointer accept null without calling through it (the build
// traps any member call through null).
TEST(NullPointers, OptionalObjectsGiveNullHandlesWithoutAMemberCall)
{
    CWnd* volatile pNoWnd = nullptr;
    CMenu* volatile pNoMenu = nullptr;
    CRgn* volatile pNoRgn = nullptr;
    CImageList* volatile pNoList = nullptr;
    EXPECT_EQ(AfxGetSafeHwnd(pNoWnd), nullptr);
    EXPECT_EQ(AfxGetSafeHmenu(pNoMenu), nullptr);
    EXPECT_EQ(AfxGetSafeHandle(pNoRgn), nullptr);
    EXPECT_EQ(AfxGetSafeHandle(pNoList), nullptr);

    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "null", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
    EXPECT_EQ(AfxGetSafeHwnd(&wnd), wnd.m_hWnd);
    CRect rc(0, 0, 1, 1);
    wnd.MapWindowPoints(pNoWnd, &rc);   // to the screen
    wnd.InvalidateRgn(pNoRgn);                        // the whole client area
    EXPECT_FALSE(wnd.IsChild(pNoWnd));
    CWnd* pOwner = CWnd::GetSafeOwner(pNoWnd, nullptr);
    EXPECT_TRUE(pOwner == nullptr || pOwner->m_hWnd != nullptr);
    CClientDC dc(&wnd);
    CDC* volatile pNoDC = nullptr;
    CDC mem;
    EXPECT_TRUE(mem.CreateCompatibleDC(pNoDC));   // compatible with the screen
    wnd.DestroyWindow();
}

} // namespace
