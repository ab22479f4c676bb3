// The strip of tabs at the bottom left of a tab window: one slanted tab per
// view, the current one in front, scroll buttons at the left end. Clicks go to
// the notify window (the tab window) as private messages:
//   0x787 (sent, wParam tab): may the view change? non-zero refuses
//   0x785 (posted, wParam current tab): the current tab changed
//   0x786 (posted, wParam current tab): a double click asks for label editing
//   0x79A (sent to the parent before the tabs scroll): close a label editor
#pragma once
#include "afxwin.h"
#include <functional>

enum
{
    GXWM_TABCHOSEN = 0x785,
    GXWM_TABEDITLABEL = 0x786,
    GXWM_TABCANSWITCH = 0x787,
    GXWM_TABATTACHED = 0x78F,
    GXWM_EDITLABELDONE = 0x799,
    GXWM_EDITLABELCANCEL = 0x79A,
};

// The repeat schedule of a held beam button: the first repeat after a start
// delay, then shorter delays down to a floor. The delay drops by a big step
// while it is at least a threshold, then by a small step. Tick counts wrap
// safely.
class GXBeamRepeat
{
public:
    GXBeamRepeat(DWORD dwStart, DWORD dwBigStep, DWORD dwThreshold, DWORD dwSmallStep, DWORD dwFloor)
        : m_dwStart(dwStart), m_dwBigStep(dwBigStep), m_dwThreshold(dwThreshold), m_dwSmallStep(dwSmallStep),
          m_dwFloor(dwFloor), m_dwDelay(dwStart)
    {
    }
    void Start(DWORD dwNow)
    {
        m_dwLast = dwNow;
        m_dwDelay = m_dwStart;
    }
    // Milliseconds until the next repeat is due (0: due now).
    DWORD Remaining(DWORD dwNow) const
    {
        const DWORD elapsed = dwNow - m_dwLast;
        return elapsed >= m_dwDelay ? 0 : m_dwDelay - elapsed;
    }
    // Marks a repeat done at dwNow and shortens the delay.
    void Acted(DWORD dwNow)
    {
        m_dwLast = dwNow;
        const DWORD step = m_dwDelay >= m_dwThreshold ? m_dwBigStep : m_dwSmallStep;
        m_dwDelay = m_dwDelay > m_dwFloor + step ? m_dwDelay - step : m_dwFloor;
    }
    DWORD Delay() const { return m_dwDelay; }

private:
    DWORD m_dwStart, m_dwBigStep, m_dwThreshold, m_dwSmallStep, m_dwFloor;
    DWORD m_dwDelay;
    DWORD m_dwLast = 0;
};

// The modal loop of a held beam button, with the mouse captured by hWnd: while
// no message waits and a repeat is due, onRepeat runs with the cursor's last
// position (from the press on, as the loop's mouse moves report it); moves
// over hWnd go to onMove; other messages are dispatched. It ends at
// nEndMessage for hWnd (taken from the queue, its point in *pptEnd; answers
// TRUE) or when the capture or the window goes (FALSE).
BOOL GXTrackHeldButton(HWND hWnd, UINT nEndMessage, GXBeamRepeat& repeat, CPoint ptPress,
                       const std::function<void(CPoint)>& onRepeat, const std::function<void(CPoint)>& onMove,
                       CPoint* pptEnd);

// Draws a beam button: a 3D face in the system colours, sunken when pressed,
// with an arrow. nArrow: 0 to the first (bar and arrow left), 1 left, 2 right,
// 3 to the last (arrow and bar right).
void GXDrawBeamButton(CDC* pDC, const CRect& rect, int nArrow, BOOL bPressed);

// One tab of the beam.
class CGXTabInfo : public CObject
{
public:
    CGXTabInfo() = default;
    int nWidth = 60;          // label extent in the bold font plus the tab gap; 60 until measured
    CString sLabel;
    BOOL bSel = FALSE;        // selected with Ctrl or Shift
    CWnd* pExtra = nullptr;   // the view of the tab
    LPARAM lUser1 = 0, lUser2 = 0;
    // The view's scroll state while it is hidden.
    SCROLLINFO sbVert{}, sbHorz{};
    int nVertPos = 0, nHorzPos = 0;
    COLORREF clrFace = 0, clrFaceCurrent = 0;
    CBrush brFace, brFaceCurrent;
    UINT nFlags = 0;          // 1 own normal face, 2 own current face
};

class CGXTabBeam : public CWnd
{
    DECLARE_DYNCREATE(CGXTabBeam)
public:
    CGXTabBeam();
    ~CGXTabBeam() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    virtual void DrawTab(CDC* pDC, int nTab);
    virtual void DrawButton(CDC* pDC, int nButton, BOOL bPressed);
    virtual int GetTabX(int nTab);
    virtual int HitTestTab(int x);
    virtual int GetLastVisibleTab();
    virtual void TrackButton(UINT nEndMessage);
    virtual void SelectTabAt(int x, int y);
    virtual int HitTestButton(int x, int y, int nExpected);
    virtual void ScrollTabs(int nButton);
    virtual int InsertTab(BOOL bBeforeCurrent, LPCSTR lpszLabel, CWnd* pView, LPARAM lUser1, int nWidth,
                          LPARAM lUser2);
    virtual void DeleteTab(int nTab);
    virtual void CalcTabWidth(int nTab);
    virtual int FindTab(const CWnd* pView);

    CGXTabInfo& GetTab(int nTab) { return *static_cast<CGXTabInfo*>(m_arrTabs.GetAt(nTab)); }
    int GetTabCount() const { return m_nTabs; }
    void ScrollToTab(int nTab);

    // The x where the tabs start (after the buttons when they are shown).
    int GetTabsStart() const { return m_bShowButtons ? m_cxButtons + 1 : 0; }
    // The first tab from which the remaining tabs fit the beam's width.
    int GetMaxFirstVisible();
    // The four corners of tab nTab.
    void GetTabPolygon(int nTab, POINT pts[4]);

    static LPCSTR RegisterClass(HINSTANCE hInstance);

    CFont* m_pFontBold = nullptr;
    CFont* m_pFontNormal = nullptr;
    COLORREF m_clrText = 0, m_clrTextCurrent = 0;
    COLORREF m_clrFace = 0, m_clrFaceCurrent = 0;
    COLORREF m_clrBackground = 0;
    CBrush m_brFace, m_brFaceCurrent, m_brFrame;
    CPen m_penShadow;
    CObArray m_arrTabs;
    int m_nTabs = 0;
    int m_nCurrent = -1;
    int m_nFirstVisible = 0;
    int m_nTabGap = 7;
    int m_cxButtons;
    int m_cyBeam;
    int m_cxButton;
    BOOL m_bShowButtons = TRUE;
    int m_nButtons = 2;
    HCURSOR m_hCursor;
    int m_nPressedButton = -1;
    BOOL m_bButtonDown = FALSE, m_bTrackingButton = FALSE;
    int m_nRedrawX = -1;
    CWnd* m_pNotifyWnd = nullptr;

protected:
    void PostNcDestroy() override;
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    void LoadColors();
    void CreateFonts();
    void DeleteFonts();
    CWnd* NotifyWnd();
    int ClientWidth() const;
    void InvalidateTabs();
    void DrawButtons(CDC* pDC);
    // The button a point lies on, before the refusals and without acting.
    int ButtonAt(int x, int y) const;
    BOOL TabsReachRightEdge();
    CRect ButtonRect(int nButton) const;
    CPoint m_ptPress;   // where the tracked button was pressed
};

// Window classes made by dialog templates: the class's procedure makes the
// object on the window's first message and the object deletes itself when the
// window goes.
template <class T>
class GXSelfCreatingClass
{
public:
    static LPCSTR Register(HINSTANCE hInstance, LPCSTR lpszName, UINT nStyle);
    static BOOL IsSelfDeleting(const T* p);
    static void Forget(const T* p);

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static CMapPtrToWord& Objects()
    {
        static CMapPtrToWord map(10);
        return map;
    }
};

template <class T>
LPCSTR GXSelfCreatingClass<T>::Register(HINSTANCE hInstance, LPCSTR lpszName, UINT nStyle)
{
    WNDCLASSA wc;
    if (::GetClassInfoA(hInstance, lpszName, &wc))
        return lpszName;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = nStyle;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = lpszName;
    return ::RegisterClassA(&wc) ? lpszName : nullptr;
}

template <class T>
BOOL GXSelfCreatingClass<T>::IsSelfDeleting(const T* p)
{
    WORD w = 0;
    return Objects().Lookup(const_cast<T*>(p), w);
}

template <class T>
void GXSelfCreatingClass<T>::Forget(const T* p)
{
    Objects().RemoveKey(const_cast<T*>(p));
}

template <class T>
LRESULT CALLBACK GXSelfCreatingClass<T>::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // A window made in code is attached to its object before its first message
    // and comes here only for its default handling.
    if (CWnd::FromHandlePermanent(hWnd) != nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    T* p = nullptr;
    try {
        p = new T;
    } catch (...) {
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
    p->Attach(hWnd);
    Objects().SetAt(p, 1);
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc()));
    return ::CallWindowProcA(AfxGetAfxWndProc(), hWnd, nMsg, wParam, lParam);
}
