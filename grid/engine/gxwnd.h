// The grid window: a framework window that carries a whole grid engine and
// hands every message of interest to it. Made in code (construct, Create
// with class "CGXGridWnd", InitGrid) or by a dialog control of class
// "CGXGridWnd", whose object deletes itself when the window goes.
#pragma once
#include "afxwin.h"
#include "gxengine.h"

class CGXGridWnd : public CWnd, public CGXGridEngine
{
    DECLARE_DYNCREATE(CGXGridWnd)
public:
    CGXGridWnd();
    ~CGXGridWnd() override;

    // Sets the scroll-bar modes and creates the engine's objects.
    void InitGrid();
    // Creates the engine's objects; derived grids set up their cells here.
    virtual void Initialize();

    CScrollBar* GetScrollBarCtrl(int nBar) const override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;

    virtual void OnGridBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnGridEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnGridPrint(CDC* pDC, CPrintInfo* pInfo);

    // Registers the window class "CGXGridWnd" once; returns its name.
    static LPCSTR RegisterClass(HINSTANCE hInstance);
    // Whether the object was made by the class window procedure.
    static BOOL IsSelfDeleting(CGXGridWnd* pGrid);

    BOOL m_bDrawFrame = FALSE;

protected:
    static LRESULT CALLBACK ClassWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    void OnNcPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSize(UINT nType, int cx, int cy);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    UINT OnGetDlgCode();
    void OnCancelMode();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    void OnSysColorChange();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnGetParamOptionF(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateTabName(WPARAM wParam, LPARAM lParam);
    LRESULT OnValidateMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecordNavigate(WPARAM wParam, LPARAM lParam);
    LRESULT OnLockSizeRedraw(WPARAM wParam, LPARAM lParam);
    LRESULT OnFindReplaceMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bReportedUninitialised = FALSE;
    // Handles one key message through the engine; FALSE lets Default run.
    void KeyMessage(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags);
};

// Private messages of the grid window.
enum
{
    GXWM_GETPARAMOPTIONF = 0x790,
    GXWM_UPDATETABNAME = 0x791,
    GXWM_VALIDATE = 0x792,
    GXWM_RECORDNAVIGATE = 0x7A3,   // a record beam asks for the first, previous, next, last or a typed record
    GXWM_LOCKSIZEREDRAW = 0x7CB,
};

// A pop-up window that hosts the drop-down list of a cell control.
class GXBrushWnd : public CWnd
{
public:
    GXBrushWnd(CWnd* pControlWnd, CWnd* pParentWnd, const RECT& rectScreen);
    ~GXBrushWnd() override;
    void SetChild(CWnd* pWnd) { m_pChild = pWnd; }
    CWnd* GetChild() const { return m_pChild; }
    void SetBkColor(COLORREF crText, COLORREF crBack);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pControlWnd;
    CWnd* m_pChild = nullptr;
    COLORREF m_crText = 0;
    COLORREF m_crBack = 0;
    HBRUSH m_hBrush = nullptr;
    BOOL m_bColors = FALSE;
};

// A 1 x 1 child window moved over a line to show it (the current-cell frame).
class GXFrameLineWnd : public CWnd
{
public:
    explicit GXFrameLineWnd(CGXGridEngine* pGrid);
    BOOL Create(CWnd* pParent);
    LOGPEN m_logPen;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
    CGXGridEngine* m_pGrid;
};
