// The cell controls of the library.
#pragma once
#include "gxcontrol.h"

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

protected:
    BOOL IsBlackWhite() const;
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
