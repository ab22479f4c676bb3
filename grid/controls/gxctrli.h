// The cell controls of the library.
#pragma once
#include "gxcontrol.h"
#include "gxctllogic.h"
#include <vector>

// Shared by the controls' drawing.
// Whether the grid prints in black and white.
BOOL GXIsBlackWhite(CGXGridEngine* pGrid);
// The DrawText format of a cell's text: the style's alignments, word breaks
// when it wraps text, else one line; no prefix characters.
UINT GXCellTextFormat(const CGXStyle& style);
// Saves the device context (the caller restores it with RestoreDC and the
// answer) and sets it up for a cell's text: the style's font, the colour,
// transparent background.
int GXBeginCellText(CGXGridEngine* pGrid, CDC* pDC, const CGXStyle& style, COLORREF clrText);

// Shows a cell's text with the style's font, colours, alignment and wrapping;
// the drawing base of the editing controls.
class CGXStatic : public CGXControl
{
    GX_DECLARE_CONTROL(CGXStatic)
public:
    explicit CGXStatic(CGXGridEngine* pGrid) : CGXControl(pGrid) {}

    CRect GetCellRect(ROWCOL nRow, ROWCOL nCol, LPRECT rectItem = nullptr, const CGXStyle* pStyle = nullptr) override;
    CSize AddBorders(CSize size, const CGXStyle& style) override;
    BOOL CanFloatCell(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style, BOOL bFloatCell) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;

    // The text margin: half the window frame, at least 3, else 2.
    static int TextMargin();
};

// Draws the cell's number as a bar between two bounds (user attributes) with
// a caption made from the number.
class CGXProgressCtrl : public CGXControl
{
    GX_DECLARE_CONTROL(CGXProgressCtrl)
public:
    explicit CGXProgressCtrl(CGXGridEngine* pGrid) : CGXControl(pGrid) {}

    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;

    virtual CString GetCaption(const CGXStyle& style);
    // The bar's colour (TRUE) or the background's (FALSE).
    virtual COLORREF GetBarColor(const CGXStyle& style, BOOL bBar);
    // The caption's colour over the bar (TRUE) or beside it (FALSE).
    virtual COLORREF GetCaptionColor(const CGXStyle& style, BOOL bOverBar);
};

// Draws the header cells of a grid: raised, or pressed while the row or
// column is shown selected.
class CGXHeader : public CGXStatic
{
    GX_DECLARE_CONTROL(CGXHeader)
public:
    explicit CGXHeader(CGXGridEngine* pGrid) : CGXStatic(pGrid) {}

    void InvertArea(CDC* pDC, const CRect& rect) override;
    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
};

// A check box drawn from a strip of box images, with the cell's choice list
// as its label; a click or the space bar toggles the cell's value between the
// checked and unchecked texts (user attributes, "1" and "0" by default).
class CGXCheckBox : public CGXControl
{
    GX_DECLARE_CONTROL(CGXCheckBox)
public:
    CGXCheckBox(CGXGridEngine* pGrid, BOOL bDraw3d = FALSE, UINT nStripId = 0, UINT nPrintStripId = 0);
    ~CGXCheckBox() override;

    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    BOOL OnMouseMove(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDown(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL OnLButtonDblClk(UINT nFlags, CPoint pt) override;
    BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnClickedButton(GXCellChild* pChild) override;
    void OnGridSysColorChange() override;

    virtual UINT GetState(ROWCOL nRow, ROWCOL nCol, const CGXStyle& style);
    virtual void DrawCheckBox(CDC* pDC, const CRect& rectCell, UINT nState, const CString& sLabel, const CGXStyle& style);
    virtual CRect GetCheckBoxRect(CDC* pDC, const CRect& rectCell, const CString& sLabel, const CGXStyle& style);
    virtual COLORREF MapStripColor(COLORREF color, BOOL bPrint);
    virtual BOOL LoadStrips();

    BOOL IsPressed() const { return m_button.Pressed(); }
    UINT GetStripId() const { return m_nStripId; }
    // Where the box was drawn last in the control's cell.
    const CRect& GetLastBoxRect() const { return m_rectBox; }

protected:
    void FreeStrips();
    HGLOBAL LoadStrip(UINT nID, BOOL bPrint);
    void CheckedTexts(CString& sChecked, CString& sUnchecked);

    BOOL m_bDraw3d;
    HGLOBAL m_hStrip = nullptr;
    HGLOBAL m_hPrintStrip = nullptr;
    UINT m_nStripId;
    UINT m_nPrintStripId;
    int m_nBoxSize = 13;
    GXButtonState m_button;   // a press that began in the box
    CRect m_rectBox;
};

// One round button per non-empty line of the cell's choice list; the value is
// the chosen line's index among them, empty for none.
class CGXRadioButton : public CGXControl
{
    GX_DECLARE_CONTROL(CGXRadioButton)
public:
    CGXRadioButton(CGXGridEngine* pGrid, BOOL bDraw3d = FALSE) : CGXControl(pGrid), m_bDraw3d(bDraw3d) {}

    void Draw(CDC* pDC, CRect rect, ROWCOL nRow, ROWCOL nCol, const CGXStyle& style,
              const CGXStyle* pStandardStyle) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint pt) override;
    BOOL HandleGridKey(UINT nMessage, UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // The line under the point as drawn last in the control's cell, or -1.
    int HitTest(CPoint pt) const;
    int GetChoiceCount() const { return m_nCount; }

protected:
    void Choose(int nIndex);

    BOOL m_bDraw3d;
    int m_nCount = 0;
    std::vector<CRect> m_lineRects;   // per choice: button and text, drawn last in the control's cell
};
