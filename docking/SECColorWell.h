// Colour wells: a grid of colour cells (by default the 20 static system colours, 4 columns by 5
// rows) picked with the mouse or the arrow keys, with an optional "&Other..." button for the colour
// dialog whose colour then shows in a custom cell under the last column. The popup well is the
// same grid as a popup with mouse capture, opened by a well button.
#pragma once
#include "SECButton.h"
#include "afxgdi.h"

#define SEC_IDC_OTHERCOLOR  59953   // the "&Other..." button

// The "&Other..." push button inside a well.
class SECColorWellButton : public CButton
{
    DECLARE_DYNAMIC(SECColorWellButton)
public:
    SECColorWellButton() = default;

    UINT OnGetDlgCode();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);

protected:
    DECLARE_MESSAGE_MAP()
};

class SECColorWell : public CWnd
{
    DECLARE_DYNAMIC(SECColorWell)
public:
    SECColorWell();
    ~SECColorWell() override;

    // How a cell was picked.
    enum { selKeyboard = 0, selMouseMove = 1, selClick = 2 };

    using CWnd::Create;
    virtual BOOL Create(DWORD dwStyle, int x, int y, CWnd* pParentWnd, UINT nID, BOOL bDialogUnits = FALSE,
                        BOOL bShowOther = FALSE, LPVOID lpParam = nullptr);
    virtual void DrawCell(CDC* pDC, CDC* pPaintDC, const CRect& rectInner, int nCol, int nRow);
    virtual void DrawSelectedCell(CDC* pDC, CDC* pPaintDC, const CRect& rectInner, int nCol, int nRow);
    virtual void OnColorChosen();
    virtual void SelectCell(int nCol, int nRow, int nHow);
    virtual void CreatePalette();
    virtual void SetDefaults();
    virtual void OnPaletteFilled(PALETTEENTRY* pEntries, int nCount, int nFilled);
    virtual DWORD GetColorDialogFlags() const;
    virtual UINT GetClassStyle() const;
    virtual void Reset();
    virtual BOOL HasFocusFrame() const;

    void SetColor(COLORREF clr);
    COLORREF GetColor() const;
    void SetTracking(BOOL bTrack) { m_bTracking = bTrack; }
    void SetUsePalette(BOOL bUse);
    COLORREF GetCellColor(int nCol, int nRow) const;
    BOOL HitTest(CPoint point, int& nCol, int& nRow) const;
    using CWnd::CalcWindowRect;
    void CalcWindowRect(CRect& rect, CWnd* pParentWnd, int x, int y, BOOL bDialogUnits);

    // ---- Geometry and keyboard, for the drawing and the tests
    CRect InnerRect() const;
    CRect CellRect(int nCol, int nRow) const;
    BOOL IsCustomCell(int nCol, int nRow) const { return nCol == m_nCustomCol && nRow == m_nCustomRow; }
    // The cell an arrow key leads to from the selected one.
    void NextCell(UINT nVK, int& nCol, int& nRow) const;

    CPalette m_palette;
    int m_nRows, m_nCols;
    int m_nCustomCol, m_nCustomRow;
    int m_nCellHeight, m_nCellWidth;
    int m_nMarginX, m_nMarginY;
    int m_nButtonHeight;
    int m_nSelRow, m_nSelCol;
    int m_nCustomIndex;
    BOOL m_bHasFocus;
    BOOL m_bTracking;
    BOOL m_bShowOther;
    BOOL m_bCustomInUse;
    BOOL m_bUsePalette;
    CBrush m_brBackground;
    SECColorWellButton* m_pOtherButton;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    UINT OnGetDlgCode();
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnSysColorChange();
    void OnOtherColor();

protected:
    BOOL CreateOtherButton(const CRect& rectClient);
    void InvalidateCell(int nCol, int nRow);
    // The inside of a cell in its colour (its palette index with the palette in use).
    void FillCell(CDC* pDC, const CRect& rect, int nCol, int nRow);
    // Selects without reporting.
    void MoveSelection(int nCol, int nRow);

    DECLARE_MESSAGE_MAP()
};

class SECPopupColorWell : public SECColorWell
{
    DECLARE_DYNAMIC(SECPopupColorWell)
public:
    SECPopupColorWell();

    using SECColorWell::Create;
    // Placed at the button's left, below it, or above when it would leave the screen.
    virtual BOOL Create(DWORD dwStyle, const CRect& rectButton, CWnd* pParentWnd, BOOL bShowOther,
                        CWnd* pNotifyWnd);
    BOOL IsUp() const { return m_bUp; }
    void SetNotifyWindow(CWnd* pWnd) { m_pNotifyWnd = pWnd; }

    void OnColorChosen() override;
    void SelectCell(int nCol, int nRow, int nHow) override;
    UINT GetClassStyle() const override;
    void Reset() override;
    BOOL HasFocusFrame() const override;

    // Closes without a choice.
    void Close();

    CWnd* m_pNotifyWnd;
    BOOL m_bUp;

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    void OnDestroy();
    void OnOtherColor();

protected:
    DECLARE_MESSAGE_MAP()
};
