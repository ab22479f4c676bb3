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
