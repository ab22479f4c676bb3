#include "gxdata.h"
#include <algorithm>
#include <climits>
#include <new>
#include <vector>

namespace {
// Moves nCount slots of a pointer array so that they start at nDest in the
// new order; the pointers themselves are kept.
void MovePointerSlots(CPtrArray& a, int nFrom, int nCount, int nDest)
{
    int size = a.GetSize();
    if (nDest == nFrom || nCount <= 0 || (nFrom >= size && nDest >= size))
        return;
    if (nDest < nFrom)
        nFrom += nCount;
    else
        nDest += nCount;
    a.InsertAt(nDest, static_cast<void*>(nullptr), nCount);
    size = a.GetSize();
    for (int i = 0; i < nCount; ++i)
        a.SetAt(nDest + i, nFrom + i < size ? a.GetAt(nFrom + i) : nullptr);
    if (nFrom < size)
        a.RemoveAt(nFrom, std::min(nCount, size - nFrom));
}

void TrimTrailingNulls(CPtrArray& a)
{
    int n = a.GetSize();
    while (n > 0 && a.GetAt(n - 1) == nullptr)
        --n;
    if (n != a.GetSize())
        a.SetSize(n);
}
} // namespace

// ---------------------------------------------------------------------------

namespace {
// Arrays that own their elements: T is the element type.
template <class T>
void DeleteOwned(CPtrArray& a, int nIndex, int nCount)
{
    if (nIndex < 0 || nIndex >= a.GetSize() || nCount <= 0)
        return;
    nCount = std::min(nCount, a.GetSize() - nIndex);
    for (int i = nIndex; i < nIndex + nCount; ++i)
        delete static_cast<T*>(a.GetAt(i));
    a.RemoveAt(nIndex, nCount);
}

template <class T, class Copy>
void CopyOwned(CPtrArray& dst, const CPtrArray& src, Copy copy)
{
    DeleteOwned<T>(dst, 0, dst.GetSize());
    dst.SetSize(src.GetSize());
    for (int i = 0; i < src.GetSize(); ++i) {
        const T* p = static_cast<const T*>(src.GetAt(i));
        dst.SetAt(i, p != nullptr ? copy(*p) : nullptr);
    }
}
} // namespace

CGXStylePtrArray& CGXStylePtrArray::operator=(const CGXStylePtrArray& src)
{
    if (&src != this)
        CopyOwned<CGXStyle>(*this, src, [](const CGXStyle& s) { return s.Clone(); });
    return *this;
}

void CGXStylePtrArray::DeleteAll() { DeleteOwned<CGXStyle>(*this, 0, GetSize()); }
void CGXStylePtrArray::DeleteAt(int nIndex, int nCount) { DeleteOwned<CGXStyle>(*this, nIndex, nCount); }
void CGXStylePtrArray::MoveSlots(int nFrom, int nCount, int nDest) { MovePointerSlots(*this, nFrom, nCount, nDest); }

CGXStylePtrArrayPtrArray& CGXStylePtrArrayPtrArray::operator=(const CGXStylePtrArrayPtrArray& src)
{
    if (&src != this) {
        CopyOwned<CGXStylePtrArray>(*this, src, [](const CGXStylePtrArray& row) {
            CGXStylePtrArray* copy = new CGXStylePtrArray;
            *copy = row;
            return copy;
        });
    }
    return *this;
}

void CGXStylePtrArrayPtrArray::DeleteAll() { DeleteOwned<CGXStylePtrArray>(*this, 0, GetSize()); }
void CGXStylePtrArrayPtrArray::DeleteAt(int nIndex, int nCount) { DeleteOwned<CGXStylePtrArray>(*this, nIndex, nCount); }
void CGXStylePtrArrayPtrArray::MoveSlots(int nFrom, int nCount, int nDest)
{
    MovePointerSlots(*this, nFrom, nCount, nDest);
}

// ---------------------------------------------------------------------------

void CGXData::DeleteContents()
{
    m_apapCellStyle.DeleteAll();
    m_apRowBaseStyles.DeleteAll();
    m_apColBaseStyles.DeleteAll();
}

CGXData& CGXData::operator=(const CGXData& src)
{
    if (&src == this)
        return *this;
    m_nRows = src.m_nRows;
    m_nCols = src.m_nCols;
    m_apRowBaseStyles = src.m_apRowBaseStyles;
    m_apColBaseStyles = src.m_apColBaseStyles;
    m_apapCellStyle = src.m_apapCellStyle;
    return *this;
}

BOOL CGXData::StoreRowCount(ROWCOL nRows)
{
    if (nRows < m_nRows)
        return StoreRemoveRows(nRows + 1, m_nRows);
    if (nRows > m_nRows)
        return StoreInsertRows(m_nRows + 1, nRows - m_nRows);
    return TRUE;
}

BOOL CGXData::StoreColCount(ROWCOL nCols)
{
    if (nCols < m_nCols)
        return StoreRemoveCols(nCols + 1, m_nCols);
    if (nCols > m_nCols)
        return StoreInsertCols(m_nCols + 1, nCols - m_nCols);
    return TRUE;
}

namespace {
// Slots only exist up to the last stored style, so an insertion beyond the end changes no array.
// FALSE, with the array as it was, when it cannot index that many slots; a failed allocation
// throws before the array changed.
BOOL InsertSlots(CPtrArray& a, ROWCOL nAt, ROWCOL nCount)
{
    if (nAt >= static_cast<ROWCOL>(a.GetSize()) || nCount == 0)
        return TRUE;
    if (nCount > static_cast<ROWCOL>(INT_MAX - a.GetSize()))
        return FALSE;
    a.InsertAt(static_cast<int>(nAt), static_cast<void*>(nullptr), static_cast<int>(nCount));
    return TRUE;
}

// Takes back what InsertSlots put in: the slots are there exactly when nAt lies in the array.
void RemoveSlots(CPtrArray& a, ROWCOL nAt, ROWCOL nCount)
{
    if (nAt < static_cast<ROWCOL>(a.GetSize()) && nCount > 0)
        a.RemoveAt(static_cast<int>(nAt), static_cast<int>(nCount));
}

// Every array makes room, or none does: FALSE, with all of them as they were, when one cannot
// (too many slots, or no memory left for them).
BOOL InsertSlotsInAll(const std::vector<CPtrArray*>& arrays, ROWCOL nAt, ROWCOL nCount)
{
    size_t done = 0;
    try {
        while (done < arrays.size() && InsertSlots(*arrays[done], nAt, nCount))
            ++done;
    } catch (CMemoryException* e) {
        e->Delete();
    } catch (std::bad_alloc&) {
    }
    if (done == arrays.size())
        return TRUE;
    while (done > 0)
        RemoveSlots(*arrays[--done], nAt, nCount);
    return FALSE;
}

int Index(ROWCOL n) { return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n); }
} // namespace

BOOL CGXData::StoreInsertRows(ROWCOL nRow, ROWCOL nCount)
{
    if (!CountFits(m_nRows, nCount) || !InsertSlotsInAll({&m_apRowBaseStyles, &m_apapCellStyle}, nRow, nCount))
        return FALSE;
    m_nRows += nCount;
    return TRUE;
}

BOOL CGXData::StoreInsertCols(ROWCOL nCol, ROWCOL nCount)
{
    if (!CountFits(m_nCols, nCount))
        return FALSE;
    std::vector<CPtrArray*> arrays;
    try {
        arrays.reserve(static_cast<size_t>(m_apapCellStyle.GetSize()) + 1);
    } catch (std::bad_alloc&) {
        return FALSE;
    }
    arrays.push_back(&m_apColBaseStyles);
    for (int r = 0; r < m_apapCellStyle.GetSize(); ++r)
        if (CGXStylePtrArray* row = m_apapCellStyle.GetRow(r))
            arrays.push_back(row);
    if (!InsertSlotsInAll(arrays, nCol, nCount))
        return FALSE;
    m_nCols += nCount;
    return TRUE;
}

BOOL CGXData::StoreRemoveRows(ROWCOL nFromRow, ROWCOL nToRow)
{
    if (nToRow < nFromRow)
        return TRUE;
    int count = Index(nToRow - nFromRow + 1);
    m_apRowBaseStyles.DeleteAt(Index(nFromRow), count);
    m_apapCellStyle.DeleteAt(Index(nFromRow), count);
    // Only rows 1 to the count are counted: the header row and rows past the end were never in it.
    ROWCOL nFirst = std::max<ROWCOL>(nFromRow, 1), nLast = std::min(nToRow, m_nRows);
    if (nFirst <= nLast)
        m_nRows -= nLast - nFirst + 1;
    return TRUE;
}

BOOL CGXData::StoreRemoveCols(ROWCOL nFromCol, ROWCOL nToCol)
{
    if (nToCol < nFromCol)
        return TRUE;
    int count = Index(nToCol - nFromCol + 1);
    m_apColBaseStyles.DeleteAt(Index(nFromCol), count);
    for (int r = 0; r < m_apapCellStyle.GetSize(); ++r)
        if (CGXStylePtrArray* row = m_apapCellStyle.GetRow(r))
            row->DeleteAt(Index(nFromCol), count);
    ROWCOL nFirst = std::max<ROWCOL>(nFromCol, 1), nLast = std::min(nToCol, m_nCols);
    if (nFirst <= nLast)
        m_nCols -= nLast - nFirst + 1;
    return TRUE;
}

BOOL CGXData::StoreMoveRows(ROWCOL nFromRow, ROWCOL nToRow, ROWCOL nDestRow)
{
    if (nToRow < nFromRow)
        return TRUE;
    int count = Index(nToRow - nFromRow + 1);
    m_apRowBaseStyles.MoveSlots(Index(nFromRow), count, Index(nDestRow));
    m_apapCellStyle.MoveSlots(Index(nFromRow), count, Index(nDestRow));
    return TRUE;
}

BOOL CGXData::StoreMoveCols(ROWCOL nFromCol, ROWCOL nToCol, ROWCOL nDestCol)
{
    if (nToCol < nFromCol)
        return TRUE;
    int count = Index(nToCol - nFromCol + 1);
    m_apColBaseStyles.MoveSlots(Index(nFromCol), count, Index(nDestCol));
    for (int r = 0; r < m_apapCellStyle.GetSize(); ++r)
        if (CGXStylePtrArray* row = m_apapCellStyle.GetRow(r))
            row->MoveSlots(Index(nFromCol), count, Index(nDestCol));
    return TRUE;
}

BOOL CGXData::SetStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType)
{
    return StoreStyleRowCol(nRow, nCol, pStyle, nMode, nType);
}

namespace {
// Stores into one slot of an owned style array by the change rules.
void StoreInto(CGXStylePtrArray& a, int nIndex, const CGXStyle* pStyle, int nMode)
{
    CGXStyle* cur = a.GetStyle(nIndex);
    if (pStyle == nullptr || nMode == gxRemove) {
        if (cur != nullptr) {
            delete cur;
            a.SetAt(nIndex, nullptr);
        }
        return;
    }
    if (cur == nullptr) {
        if (nMode == gxExclude)
            return;
        a.SetAtGrow(nIndex, pStyle->Clone());
        return;
    }
    cur->ChangeStyle(*pStyle, nMode);
}
} // namespace

BOOL CGXData::StoreStyleRowCol(ROWCOL nRow, ROWCOL nCol, const CGXStyle* pStyle, int nMode, int nType)
{
    m_nRows = std::max(m_nRows, nRow);
    m_nCols = std::max(m_nCols, nCol);
    const bool remove = pStyle == nullptr || nMode == gxRemove;
    if (nType == -1) {
        if (nRow != 0)
            StoreInto(m_apRowBaseStyles, Index(nRow), pStyle, nMode);
        else
            StoreInto(m_apColBaseStyles, Index(nCol), pStyle, nMode);
        return TRUE;
    }
    CGXStylePtrArray* row = m_apapCellStyle.GetRow(Index(nRow));
    if (row == nullptr) {
        if (remove || nMode == gxExclude)
            return TRUE;
        row = new CGXStylePtrArray;
        m_apapCellStyle.SetAtGrow(Index(nRow), row);
    }
    StoreInto(*row, Index(nCol), pStyle, nMode);
    return TRUE;
}

BOOL CGXData::GetStyleRowCol(ROWCOL nRow, ROWCOL nCol, CGXStyle& style, int nMode, int nType) const
{
    if (nRow > m_nRows || nCol > m_nCols)
        return FALSE;
    const CGXStyle* p = nullptr;
    if (nType == -1) {
        p = nRow != 0 ? m_apRowBaseStyles.GetStyle(Index(nRow)) : m_apColBaseStyles.GetStyle(Index(nCol));
    } else if (const CGXStylePtrArray* row = m_apapCellStyle.GetRow(Index(nRow))) {
        p = row->GetStyle(Index(nCol));
    }
    if (p == nullptr)
        return FALSE;
    if (nMode == gxCopy)
        style = *p;
    else
        style.ChangeStyle(*p, nMode);
    return TRUE;
}

namespace {
// The new slot top + i receives what slot top + order[i] held.
void Reorder(CPtrArray& a, int nTop, const CDWordArray& order)
{
    int n = order.GetSize();
    if (n == 0)
        return;
    if (a.GetSize() < nTop + n + 1)
        a.SetSize(nTop + n + 1);
    std::vector<void*> old(static_cast<size_t>(n), nullptr);
    for (int i = 0; i < n; ++i)
        old[static_cast<size_t>(i)] = a.GetAt(nTop + i);
    for (int i = 0; i < n; ++i) {
        DWORD k = order[i];
        a.SetAt(nTop + i, k < static_cast<DWORD>(n) ? old[k] : nullptr);
    }
    TrimTrailingNulls(a);
}
} // namespace

// Every index must name a distinct row (column) of the block, or styles
// would be shared or lost.
static bool IsPermutation(const CDWordArray& order)
{
    std::vector<bool> used(static_cast<size_t>(order.GetSize()), false);
    for (int i = 0; i < order.GetSize(); ++i) {
        DWORD k = order[i];
        if (k >= used.size() || used[k])
            return false;
        used[k] = true;
    }
    return true;
}

BOOL CGXData::StoreMoveDataRows(const CGXRange& sortRange, const CDWordArray& order)
{
    if (!IsPermutation(order))
        return FALSE;
    Reorder(m_apRowBaseStyles, Index(sortRange.top), order);
    Reorder(m_apapCellStyle, Index(sortRange.top), order);
    return TRUE;
}

BOOL CGXData::StoreMoveDataCols(const CGXRange& sortRange, const CDWordArray& order)
{
    if (!IsPermutation(order))
        return FALSE;
    Reorder(m_apColBaseStyles, Index(sortRange.left), order);
    for (int r = 0; r < m_apapCellStyle.GetSize(); ++r)
        if (CGXStylePtrArray* row = m_apapCellStyle.GetRow(r))
            Reorder(*row, Index(sortRange.left), order);
    return TRUE;
}

// ---------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CGXStylePtrArray, CPtrArray)
IMPLEMENT_DYNAMIC(CGXStylePtrArrayPtrArray, CPtrArray)
IMPLEMENT_SERIAL(CGXData, CObject, 0)

namespace {
const DWORD kEndMarker = 0xFFFFFFFF;

// Schema and size of an array form; refuses sizes no grid can have.
int ReadArrayHeader(CArchive& ar)
{
    WORD wSchema;
    ar >> wSchema;
    if (wSchema != 1)
        AfxThrowArchiveException(CArchiveException::badSchema);
    DWORD n;
    ar >> n;
    if (n > CGXData::nMaxArchiveCount)
        AfxThrowArchiveException(CArchiveException::generic);
    return static_cast<int>(n);
}

// The next index of an array form, or -1 at the end marker.
int ReadIndex(CArchive& ar, int nSize)
{
    DWORD i;
    ar >> i;
    if (i == kEndMarker)
        return -1;
    if (i >= static_cast<DWORD>(nSize))
        AfxThrowArchiveException(CArchiveException::badIndex);
    return static_cast<int>(i);
}
} // namespace

void CGXStylePtrArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(1) << static_cast<DWORD>(GetSize());
        for (int i = 0; i < GetSize(); ++i) {
            if (const CGXStyle* p = GetStyle(i)) {
                ar << static_cast<DWORD>(i);
                ar.WriteObject(p);
            }
        }
        ar << kEndMarker;
        return;
    }
    DeleteAll();
    int n = ReadArrayHeader(ar);
    SetSize(n);
    for (int i; (i = ReadIndex(ar, n)) >= 0;) {
        CGXStyle* p = static_cast<CGXStyle*>(ar.ReadObject(RUNTIME_CLASS(CGXStyle)));
        delete GetStyle(i);   // a repeated index replaces the earlier style
        SetAt(i, p);
    }
}

void CGXStylePtrArrayPtrArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(1) << static_cast<DWORD>(GetSize());
        for (int i = 0; i < GetSize(); ++i) {
            if (CGXStylePtrArray* row = GetRow(i)) {
                ar << static_cast<DWORD>(i);
                row->Serialize(ar);
            }
        }
        ar << kEndMarker;
        return;
    }
    DeleteAll();
    int n = ReadArrayHeader(ar);
    SetSize(n);
    for (int i; (i = ReadIndex(ar, n)) >= 0;) {
        CGXStylePtrArray* row = new CGXStylePtrArray;
        try {
            row->Serialize(ar);
        } catch (...) {
            delete row;
            throw;
        }
        delete GetRow(i);
        SetAt(i, row);
    }
}

void CGXData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(1) << static_cast<DWORD>(m_nRows) << static_cast<DWORD>(m_nCols);
        m_apapCellStyle.Serialize(ar);
        m_apRowBaseStyles.Serialize(ar);
        m_apColBaseStyles.Serialize(ar);
        return;
    }
    WORD wSchema;
    ar >> wSchema;
    if (wSchema != 1)
        AfxThrowArchiveException(CArchiveException::badSchema);
    DWORD rows, cols;
    ar >> rows >> cols;
    if (rows > nMaxArchiveCount || cols > nMaxArchiveCount)
        AfxThrowArchiveException(CArchiveException::generic);
    m_nRows = rows;
    m_nCols = cols;
    m_apapCellStyle.Serialize(ar);
    m_apRowBaseStyles.Serialize(ar);
    m_apColBaseStyles.Serialize(ar);
}
