// Commands: the records grid changes leave behind so that they can be taken back.
#pragma once
#include "afx.h"
#include "gxaxis.h"
#include "gxrange.h"

class CGXGridEngine;

// One change that can be executed again with the values saved before it. The engine fills the
// current cell when the command is filed.
class CGXCommand : public CObject
{
    DECLARE_DYNAMIC(CGXCommand)
public:
    CGXCommand() = default;
    // nMode: 1 rollback, 2 undo, 3 redo.
    virtual BOOL Execute(CGXGridEngine* pEngine, int nMode) = 0;
    virtual CString GetDescription() const = 0;

    ROWCOL m_nRow = 0;
    ROWCOL m_nCol = 0;
    BOOL m_bCurrentCellValid = FALSE;
};

// Several commands taken back and redone as one step (members newest first).
class CGXBlockCmd : public CGXCommand
{
    DECLARE_DYNAMIC(CGXBlockCmd)
public:
    explicit CGXBlockCmd(LPCSTR lpszName = nullptr);
    ~CGXBlockCmd() override;
    BOOL Execute(CGXGridEngine* pEngine, int nMode) override;
    CString GetDescription() const override { return m_strName; }

    CObList m_members{10};
    CString m_strName;
};

class CGXStyle;
class CGXStylesMap;
class CGXProperties;

// The single-operation commands. Each is executed by calling its one grid operation again with
// the values saved before the change, redraw flags 2 and the command's mode; that call files the
// command for the opposite direction. A command owns everything it saved.
#define GX_DECLARE_SIMPLE_CMD(name)                                                                                   \
    DECLARE_DYNAMIC(name)                                                                                             \
public:                                                                                                               \
    BOOL Execute(CGXGridEngine* pEngine, int nMode) override;                                                         \
    CString GetDescription() const override;

// Sizes and hidden states of rows first..last (columns for the twins). A size of -1 stands for
// "no height of its own", so that undo puts the default back rather than a copy of it.
class CGXSetRowHeightCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetRowHeightCmd)
    CGXSetRowHeightCmd(ROWCOL nFrom, ROWCOL nTo, int* pHeights) : m_nFrom(nFrom), m_nTo(nTo), m_pSizes(pHeights) {}
    ~CGXSetRowHeightCmd() override { delete[] m_pSizes; }
    ROWCOL m_nFrom, m_nTo;
    int* m_pSizes;
};
class CGXSetColWidthCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetColWidthCmd)
    CGXSetColWidthCmd(ROWCOL nFrom, ROWCOL nTo, int* pWidths) : m_nFrom(nFrom), m_nTo(nTo), m_pSizes(pWidths) {}
    ~CGXSetColWidthCmd() override { delete[] m_pSizes; }
    ROWCOL m_nFrom, m_nTo;
    int* m_pSizes;
};
class CGXHideRowsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXHideRowsCmd)
    CGXHideRowsCmd(ROWCOL nFrom, ROWCOL nTo, BOOL* pHides) : m_nFrom(nFrom), m_nTo(nTo), m_pHides(pHides) {}
    ~CGXHideRowsCmd() override { delete[] m_pHides; }
    ROWCOL m_nFrom, m_nTo;
    BOOL* m_pHides;
};
class CGXHideColsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXHideColsCmd)
    CGXHideColsCmd(ROWCOL nFrom, ROWCOL nTo, BOOL* pHides) : m_nFrom(nFrom), m_nTo(nTo), m_pHides(pHides) {}
    ~CGXHideColsCmd() override { delete[] m_pHides; }
    ROWCOL m_nFrom, m_nTo;
    BOOL* m_pHides;
};
class CGXSetDefaultRowHeightCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetDefaultRowHeightCmd)
    explicit CGXSetDefaultRowHeightCmd(int nHeight) : m_nSize(nHeight) {}
    int m_nSize;
};
class CGXSetDefaultColWidthCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetDefaultColWidthCmd)
    explicit CGXSetDefaultColWidthCmd(int nWidth) : m_nSize(nWidth) {}
    int m_nSize;
};
class CGXMoveRowsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXMoveRowsCmd)
    CGXMoveRowsCmd(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest) : m_nFrom(nFrom), m_nTo(nTo), m_nDest(nDest) {}
    ROWCOL m_nFrom, m_nTo, m_nDest;
};
class CGXMoveColsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXMoveColsCmd)
    CGXMoveColsCmd(ROWCOL nFrom, ROWCOL nTo, ROWCOL nDest) : m_nFrom(nFrom), m_nTo(nTo), m_nDest(nDest) {}
    ROWCOL m_nFrom, m_nTo, m_nDest;
};
class CGXRemoveRowsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXRemoveRowsCmd)
    CGXRemoveRowsCmd(ROWCOL nFrom, ROWCOL nTo) : m_nFrom(nFrom), m_nTo(nTo) {}
    ROWCOL m_nFrom, m_nTo;
};
class CGXRemoveColsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXRemoveColsCmd)
    CGXRemoveColsCmd(ROWCOL nFrom, ROWCOL nTo) : m_nFrom(nFrom), m_nTo(nTo) {}
    ROWCOL m_nFrom, m_nTo;
};
// Rows (columns) that a removal took: their sizes, their cell styles (one entry per cell,
// null where none), their whole-row (whole-column) styles and which of them were hidden (null
// when none was), all owned.
class CGXInsertRowsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXInsertRowsCmd)
    CGXInsertRowsCmd(ROWCOL nRow, ROWCOL nCount, int* pSizes, CObArray* pCellStyles, CObArray* pRowStyles,
                     ROWCOL nColumns, BOOL* pHides = nullptr)
        : m_nRow(nRow), m_nCount(nCount), m_pSizes(pSizes), m_pCellStyles(pCellStyles), m_pRowStyles(pRowStyles),
          m_nColumns(nColumns), m_pHides(pHides)
    {
    }
    ~CGXInsertRowsCmd() override;
    ROWCOL m_nRow, m_nCount;
    int* m_pSizes;
    CObArray* m_pCellStyles;
    CObArray* m_pRowStyles;
    ROWCOL m_nColumns;
    BOOL* m_pHides;
};
class CGXInsertColsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXInsertColsCmd)
    CGXInsertColsCmd(ROWCOL nCol, ROWCOL nCount, int* pSizes, CObArray* pCellStyles, CObArray* pColStyles,
                     ROWCOL nRows, BOOL* pHides = nullptr)
        : m_nCol(nCol), m_nCount(nCount), m_pSizes(pSizes), m_pCellStyles(pCellStyles), m_pColStyles(pColStyles),
          m_nRows(nRows), m_pHides(pHides)
    {
    }
    ~CGXInsertColsCmd() override;
    ROWCOL m_nCol, m_nCount;
    int* m_pSizes;
    CObArray* m_pCellStyles;
    CObArray* m_pColStyles;
    ROWCOL m_nRows;
    BOOL* m_pHides;
};
class CGXSetCoveredCellsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetCoveredCellsCmd)
    CGXSetCoveredCellsCmd(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r) : m_nTop(t), m_nLeft(l), m_nBottom(b), m_nRight(r) {}
    ROWCOL m_nTop, m_nLeft, m_nBottom, m_nRight;
};
// The former styles of a range's cells, row by row (null where a cell had none); nType as in
// SetStyleRange.
class CGXSetStyleRangeCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetStyleRangeCmd)
    CGXSetStyleRangeCmd(const CGXRange& range, int nType, CPtrArray* pStyles)
        : m_range(range), m_nType(nType), m_pStyles(pStyles)
    {
    }
    ~CGXSetStyleRangeCmd() override;
    CGXRange m_range;
    int m_nType;
    CPtrArray* m_pStyles;
};
class CGXSetFrozenRowsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetFrozenRowsCmd)
    CGXSetFrozenRowsCmd(ROWCOL nFrozen, ROWCOL nHeader) : m_nFrozen(nFrozen), m_nHeader(nHeader) {}
    ROWCOL m_nFrozen, m_nHeader;
};
class CGXSetFrozenColsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXSetFrozenColsCmd)
    CGXSetFrozenColsCmd(ROWCOL nFrozen, ROWCOL nHeader) : m_nFrozen(nFrozen), m_nHeader(nHeader) {}
    ROWCOL m_nFrozen, m_nHeader;
};
// The order a sort gave the rows (columns) of a range, owned.
class CGXMoveDataRowsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXMoveDataRowsCmd)
    CGXMoveDataRowsCmd(CDWordArray* pOrder, const CGXRange& range) : m_pOrder(pOrder), m_range(range) {}
    ~CGXMoveDataRowsCmd() override;
    CDWordArray* m_pOrder;
    CGXRange m_range;
};
class CGXMoveDataColsCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXMoveDataColsCmd)
    CGXMoveDataColsCmd(CDWordArray* pOrder, const CGXRange& range) : m_pOrder(pOrder), m_range(range) {}
    ~CGXMoveDataColsCmd() override;
    CDWordArray* m_pOrder;
    CGXRange m_range;
};
class CGXChangeStylesMapCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXChangeStylesMapCmd)
    explicit CGXChangeStylesMapCmd(const CGXStylesMap& map);
    ~CGXChangeStylesMapCmd() override;
    CGXStylesMap* m_pStylesMap;
};
class CGXChangePropertiesCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXChangePropertiesCmd)
    explicit CGXChangePropertiesCmd(const CGXProperties& properties);
    ~CGXChangePropertiesCmd() override;
    CGXProperties* m_pProperties;
};
class CGXChangeBaseStyleCmd : public CGXCommand
{
    GX_DECLARE_SIMPLE_CMD(CGXChangeBaseStyleCmd)
    CGXChangeBaseStyleCmd(WORD nID, const CGXStyle& style, LPCSTR lpszName);
    ~CGXChangeBaseStyleCmd() override;
    CGXStyle* m_pStyle;
    CString m_strName;
    WORD m_nID;
};
