// The drop target a grid window registers when cells may be dropped on it: it hands the
// framework's drop-target calls to the grid engine's drag-and-drop operations.
#pragma once
#include "afxole.h"

class CGXGridEngine;

// The rows and columns a "Grid Styles" block announces in its two leading counts; FALSE with 0 x 0
// when the block is too short or announces a size the paste refuses (none, or a side past 32767).
BOOL GXStylesBlockSize(HGLOBAL hBlock, DWORD& nRows, DWORD& nCols);

class CGXGridDropTarget : public COleDropTarget
{
public:
    CGXGridDropTarget() = default;
    // pWnd is the grid's window, pGrid its engine.
    BOOL Register(CWnd* pWnd, CGXGridEngine* pGrid);
    CGXGridEngine* GetGrid() const { return m_pGrid; }

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        CPoint point) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

private:
    CGXGridEngine* m_pGrid = nullptr;
};
