// The stored styles of a grid: one optional style per cell, per whole row,
// per whole column and one for the table.
#pragma once
#include "gxrange.h"
#include "gxstyle.h"

// An array of owned styles; a null element means nothing is stored there.
class CGXStylePtrArray : public CPtrArray
{
    DECLARE_DYNAMIC(CGXStylePtrArray)
public:
    CGXStylePtrArray() = default;
    ~CGXStylePtrArray() override { DeleteAll(); }
    CGXStylePtrArray& operator=(const CGXStylePtrArray& src);

    CGXStyle* GetStyle(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetSize() ? static_cast<CGXStyle*>(GetAt(nIndex)) : nullptr;
    }
    // Deletes the elements and empties the array.
    void DeleteAll();
    // Deletes and removes up to nCount elements from nIndex on.
    void DeleteAt(int nIndex, int nCount = 1);
    // Moves nCount slots from nFrom so that they start at nDest in the new order.
    void MoveSlots(int nFrom, int nCount, int nDest);
    void Serialize(CArchive& ar) override;
};

// Rows of cells: element r is the owned style array of row r, or null.
class CGXStylePtrArrayPtrArray : public CPtrArray
{
    DECLARE_DYNAMIC(CGXStylePtrArrayPtrArray)
public:
    CGXStylePtrArrayPtrArray() = default;
    ~CGXStylePtrArrayPtrArray() override { DeleteAll(); }
    CGXStylePtrArrayPtrArray& operator=(const CGXStylePtrArrayPtrArray& src);

    CGXStylePtrArray* GetRow(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetSize() ? static_cast<CGXStylePtrArray*>(GetAt(nIndex)) : nullptr;
    }
    void DeleteAll();
    void DeleteAt(int nIndex, int nCount = 1);
    void MoveSlots(int nFrom, int nCount, int nDest);
    void Serialize(CArchive& ar) override;
};

class CGXData : public CObject
{
    DECLARE_SERIAL(CGXData)
public:
    CGXData() = default;
    ~CGXData() override = default;
    CGXData(const CGXData&) = delete;

    virtual void DeleteContents();
    virtual CGXData& operator=(const CGXData& src);
    virtual ROWCOL GetRowCount() const { return m_nRows; }
    virtual ROWCOL GetColCount() const { return m_nCols; }
    virtual BOOL StoreRowCount(ROWCOL nRows);
    virtual BOOL StoreColCount(ROWCOL nCols);
    // FALSE, with nothing changed, for a count the grid cannot hold or room that cannot be had.
    virtual BOOL StoreInsertRows(ROWCOL nRow, ROWCOL nCount);
    virtual BOOL StoreInsertCols(ROWCOL nCol, ROWCOL nCount);
    virtual BOOL StoreRemoveRows(ROWCOL nFromRow, ROWCOL nToRow);
    virtual BOOL StoreRemoveCols(ROWCOL nFromCol, ROWCOL nToCol);
    virtual BOOL StoreMoveRows(ROWCOL nFromRow, ROWCOL nToRow, ROWCOL nDestRow);
    virtual BOOL StoreMoveCols(ROWCOL nFromCol, ROWCOL nToCol, ROWCOL nDestCol);
    // nType -1 addresses the whole row (row != 0) or column (row 0; (0, 0) the table).
    virtual BOOL SetStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType = 0);
    virtual BOOL StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType = 0);
    virtual BOOL GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, int nMode, int nType = 0) const;
    // The new row top + i receives what row top + order[i] held.
    virtual BOOL StoreMoveDataRows(const CGXRange& sortRange, const CDWordArray& order);
    virtual BOOL StoreMoveDataCols(const CGXRange& sortRange, const CDWordArray& order);

    void Serialize(CArchive& ar) override;

    // Loading refuses counts above this (archives may come from the clipboard).
    static const DWORD nMaxArchiveCount = 0x00FFFFFF;
    // The most rows (columns) a grid holds: their numbers stay signed 32-bit indexes.
    static const ROWCOL nMaxCount = 0x7FFFFFFF;
    // Whether nMore lines can be added to nCount without passing nMaxCount.
    static BOOL CountFits(ROWCOL nCount, ROWCOL nMore) { return nCount <= nMaxCount && nMore <= nMaxCount - nCount; }

protected:
    CGXStyle* const* Slot(ROWCOL nRow, ROWCOL nCol, int nType) const;

    ROWCOL m_nRows = 0;
    ROWCOL m_nCols = 0;
    CGXStylePtrArray m_apRowBaseStyles;      // index r: whole row r
    CGXStylePtrArray m_apColBaseStyles;      // index c: whole column c; 0 the table
    CGXStylePtrArrayPtrArray m_apapCellStyle;
};
