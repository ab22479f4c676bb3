// Helpers for tests of windows: synthesized mouse and keyboard input, geometry as text, and the
// application's settings in the registry.
//
// Synthesized input goes through the system's queue as a user's would, so that capture,
// activation, double clicks and modal mouse loops behave as they do for a user.
//
// A modal loop (a drag, a tracker) runs inside the dispatch of the button press, on the test's
// thread. Input played from the test's thread would all be queued before the loop starts, and
// the system merges queued mouse moves, so steps are played by a helper thread with pauses while
// the test's thread pumps messages:
//
//   afxtest::InputScript script;
//   script.MoveTo(ptStart).Down().MoveTo(ptMid).MoveTo(ptEnd).Up();
//   script.Run();      // returns when every step was played and the queue is empty
#pragma once
#include "afxwin.h"
#include "afxprint.h"
#include <functional>
#include <string>
#include <vector>

namespace afxtest {

class InputScript
{
public:
    InputScript& MoveTo(CPoint ptScreen);
    // A move in nSteps even steps from the current end of the script to ptScreen.
    InputScript& MoveInSteps(CPoint ptScreen, int nSteps);
    InputScript& Down(bool bRight = false);
    InputScript& Up(bool bRight = false);
    InputScript& Click() { return Down().Up(); }
    InputScript& DoubleClick() { return Down().Up().Down().Up(); }
    InputScript& KeyDown(BYTE vk);
    InputScript& KeyUp(BYTE vk);
    InputScript& Key(BYTE vk) { return KeyDown(vk).KeyUp(vk); }
    // Time for the program to take in the last step.
    InputScript& Pause(DWORD nMs);
    // The steps after this one wait until pred holds (it is asked on the player's thread: read
    // only atomics in it), e.g. until the test's thread has entered a modal loop that is to take
    // them. The wait ends with the script's timeout.
    InputScript& WaitUntil(std::function<bool()> pred);

    // Plays the steps on a helper thread, pumping this thread's messages meanwhile; then pumps
    // until the queue is empty. FALSE when the steps did not finish within nTimeoutMs.
    BOOL Run(DWORD nStepMs = 25, DWORD nTimeoutMs = 10000);

private:
    struct Step
    {
        enum Kind { move, down, up, keyDown, keyUp, pause, until } kind;
        CPoint pt;
        bool bRight;
        BYTE vk;
        DWORD nMs;
        std::function<bool()> pred;
    };
    std::vector<Step> m_steps;
    CPoint m_ptEnd{-1, -1};
};

// A drag with the left button from ptFrom to ptTo (screen), in nSteps moves.
BOOL Drag(CPoint ptFrom, CPoint ptTo, int nSteps = 6);
// A double click at ptScreen.
BOOL DoubleClick(CPoint ptScreen);

// Rectangles, points and sizes as text, for comparisons whose failures show the values:
// EXPECT_EQ(Text(rect), Text(CRect(0, 0, 10, 10))).
std::string Text(const RECT& rect);
std::string Text(const POINT& pt);
std::string Text(const SIZE& size);

// For its lifetime the application's settings go to the registry (below the test's own root) as a
// program that chose its registry key; afterwards the settings store is as it was.
class RegistryProfile
{
public:
    RegistryProfile();
    ~RegistryProfile();
    RegistryProfile(const RegistryProfile&) = delete;
    RegistryProfile& operator=(const RegistryProfile&) = delete;

private:
    CString m_strKey, m_strProfile;
    bool m_bHadKey, m_bHadProfile;
};

// Brings a top-level window to the front and makes it active, waiting until it is.
BOOL Activate(CWnd* pWnd);

// A shown frame whose pane (and active view) is pView; null when a window could not be made.
// pFrame: a frame object of the test's own class to create (deleted with its window).
CFrameWnd* MakeFrameWithView(CView* pView, CRect rect = CRect(0, 0, 640, 480), CFrameWnd* pFrame = nullptr);

// The GDI objects (pens, brushes, fonts, bitmaps, regions, device contexts...) this process holds
// now. The system's count where it keeps one; Wine answers 0 there, so the process's GDI handle
// table is walked instead (every live handle answers its object type).
int LiveGdiObjects();
// The windows of this thread, top-level ones and all their descendants (the system's input
// method window, which comes and goes with the others, not counted).
int LiveWindows();

// What a view's OnDraw paints, drawn over a white page of the view's client size.
CStandInPrinter::Page DrawViewPage(CView* pView);

// A window's client area as the screen shows it: read from the screen (what the user sees, not
// the window's own drawing), once what was drawn has reached it. Wine copies a window's drawing to
// the screen when its thread waits, so the screen is read again, with messages handled between
// the reads, until two reads in a row agree.
class ScreenShot
{
public:
    explicit ScreenShot(CWnd* pWnd);
    // The dark pixels (the ink of text) in a rectangle of the client area, cut to their bounding
    // box, a line of text per row ('#' dark, '.' light); empty without ink. Compared as text, a
    // failure shows both pictures.
    std::string Ink(const CRect& rect) const;
    // The bounding box of the pixels of colour clr in a rectangle of the client area; empty when
    // there are none.
    CRect Find(const CRect& rect, COLORREF clr) const;

private:
    std::vector<COLORREF> m_pixels;
    int m_w = 0, m_h = 0;
};

// The ink of a text as an edit control shows it in one line in a font, black on white, in the form
// of ScreenShot::Ink.
std::string TextInk(CFont* pFont, LPCSTR lpszText);

// A window that runs its tracker's modal loop when the left button goes down in it and keeps
// what the loop returned.
template <class TTracker>
class TrackingWnd : public CWnd
{
public:
    template <class... TArgs>
    explicit TrackingWnd(TArgs... args) : m_tracker(args...)
    {
    }
    TTracker m_tracker;
    BOOL m_bChanged = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_LBUTTONDOWN)
            return CWnd::WindowProc(message, wParam, lParam);
        m_bChanged = m_tracker.Track(this, CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        return 0;
    }
};

} // namespace afxtest
