// The record window: a grid that shows one record per row, with scroll bars
// and, at the bottom left, a record beam: first, previous, next and last
// buttons around a field showing "Record" and the current record number. A
// click into the field opens an edit for a record number.
//
// The beam does not move the grid itself: it sends its notify window
// GXWM_RECORDNAVIGATE (gxwnd.h) with wParam 0 first, 1 previous, 2 next,
// 3 last (lParam 0), or 4 with the typed number in lParam. The grid moves and
// brings the beam up to date.
#pragma once
#include "afxwin.h"
#include "gxtabwnd.h"

class CGXRecordInfoBeam;

// The beam's number edit: Enter sends the typed number, the focus selects it
// all.
class CGXRecordInfoEdit : public CEdit
{
public:
    CGXRecordInfoBeam* m_pBeam = nullptr;

protected:
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSetFocus(CWnd* pOldWnd);
    UINT OnGetDlgCode();
    DECLARE_MESSAGE_MAP()
};

class CGXRecordInfoBeam : public CWnd
{
    DECLARE_DYNCREATE(CGXRecordInfoBeam)
public:
    CGXRecordInfoBeam();
    ~CGXRecordInfoBeam() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetRecordCount(long n) { m_nRecordCount = n; }
    void SetCurrentRecord(long n) { m_nCurrentRecord = n; }
    long GetCurrentRecord() const { return m_nCurrentRecord; }
    long GetRecordCount() const { return m_nRecordCount; }

    virtual int GetBeamWidth();
    virtual BOOL IsFirstRecord();
    virtual BOOL IsLastRecord();
    virtual CString GetRecordText();
    virtual void DrawButton(CDC* pDC, int nButton, BOOL bPressed);
    virtual void OnButton(int nButton);

    // The button at (x, y): 0 first, 1 previous, 2 next, 3 last, or -1 (in the
    // field or the pixel before it, outside the beam, or refused at the first
    // or last record). With nExpected >= 0 only that button counts.
    int HitTest(int x, int y, int nExpected);
    CRect GetButtonRect(int nButton) const;
    CEdit* GetEdit() { return &m_wndEdit; }

    CFont* m_pFont = nullptr;
    COLORREF m_clrText = 0, m_clrFieldFace = 0, m_clrButtonFace = 0, m_clrEditFace = 0;
    long m_nRecordCount = 1;
    long m_nCurrentRecord = 1;
    CString m_strLabel;
    int m_cyBeam;
    int m_cxButton;
    CRect m_rcField;
    CRect m_rcEditArea;
    int m_nFieldWidthFactor = 8;
    int m_nPressedButton = -1;
    BOOL m_bButtonDown = FALSE, m_bTracking = FALSE;
    CWnd* m_pNotifyWnd = nullptr;
    HCURSOR m_hCursor;

protected:
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

    void LoadColors();
    void CreateFont();
    void CalcRects();
    void TrackButton(int nButton, CPoint ptPress);

    CGXRecordInfoEdit m_wndEdit;
    CBrush m_brEdit;
};

class CGXRecordInfoWnd : public CWnd
{
    DECLARE_DYNCREATE(CGXRecordInfoWnd)
public:
    explicit CGXRecordInfoWnd(CRuntimeClass* pBeamClass = nullptr);
    ~CGXRecordInfoWnd() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    virtual void RecalcLayout();
    virtual void GetInsideRect(CRect& rect);

    CGXRecordInfoBeam* GetBeam() const { return m_pBeam; }
    // The grid: the pane set here, else the child with id 0xE900.
    CWnd* GetPane();

    CRuntimeClass* m_pBeamClass;
    CGXRecordInfoBeam* m_pBeam = nullptr;
    CWnd* m_pPane = nullptr;
    BOOL m_bHScroll = TRUE, m_bVScroll = TRUE;
    int m_cxVScroll, m_cyHScroll;
    int m_nBeamWidth = 163;
    int m_nLastWidth = 0;
    int m_nSplitterWidth = 6;
    int m_cyBottom;
    BOOL m_bLaidOut = FALSE;
    HCURSOR m_hCursor;
    CBrush m_brBackground;

protected:
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnSetFocus(CWnd* pOldWnd);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcPaint();
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

    BOOL CreateChildren();
    GXBottomStrip Strip();
    CScrollBar m_wndHScroll, m_wndVScroll, m_wndSizeBox;
    BOOL m_bChildren = FALSE;
};
