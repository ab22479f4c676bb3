// Sorting rows and columns and the data moves that apply a sort's order.
#include "gxsort.h"
#include "afxdate.h"
#include "afxwin.h"
#include "afxexcept.h"
#include "gxengine.h"
#include "gxdata.h"
#include "gxhint.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxstyle.h"
#include "gxundo.h"
#include "gxutil.h"
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>

// ---------------------------------------------------------------------------
// Sort keys

IMPLEMENT_DYNAMIC(CGXSortInfoArray, CObject)

// ---------------------------------------------------------------------------
// Comparison

double GXSortKeyNumber(LPCSTR lpszText)
{
    if (lpszText == nullptr)
        return 0;
    const char* p = lpszText;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '+')
        ++p;
    double v = 0;
    const char* end = p + std::strlen(p);
    // from_chars reads the "C" notation whatever locale the program runs in.
    if (std::from_chars(p, end, v, std::chars_format::general).ec != std::errc())
        return 0;
    return v;
}

namespace {
// A date on one line with the calendar: before 1899-12-30 the stored value's fraction still
// counts forwards from its (negative) day.
double DateLine(double d)
{
    const double day = std::trunc(d);
    return day + std::fabs(d - day);
}
} // namespace

int GXCompareSortRecords(const CGXSortRecord& a, const CGXSortRecord& b)
{
    const CGXSortInfoArray* keys = a.pSortInfo;
    const int n = keys != nullptr ? keys->GetSize() : 0;
    for (int i = 0; i < n; ++i) {
        const CGXSortInfo& key = keys->GetData()[i];
        int r = 0;
        if (key.sortType == CGXSortInfo::numeric || key.sortType == CGXSortInfo::date) {
            const double x = a.pValues != nullptr ? a.pValues[i] : 0, y = b.pValues != nullptr ? b.pValues[i] : 0;
            if (x != y)
                r = x < y ? -1 : 1;
        } else {
            const CString x = i < a.keys.GetSize() ? a.keys.GetAt(i) : CString();
            const CString y = i < b.keys.GetSize() ? b.keys.GetAt(i) : CString();
            // Byte order, with the letters folded unless the key is case-sensitive: the order does
            // not change with the user's language.
            r = key.bCase ? std::strcmp(x, y) : _stricmp(x, y);
            r = r < 0 ? -1 : (r > 0 ? 1 : 0);
        }
        if (r != 0)
            return key.sortOrder ? -r : r;
    }
    // Equal keys keep their initial order, whichever the direction: the sort is stable.
    if (a.nInitialPos != b.nInitialPos)
        return a.nInitialPos < b.nInitialPos ? -1 : 1;
    return 0;
}

// ---------------------------------------------------------------------------
// Sorting

namespace {
// Rows (bRows) or columns of a range sorted by the keys; the common part of the twins.
void SortLines(CGXGridEngine& e, BOOL bRows, CGXRange range, CGXSortInfoArray& keys, UINT nFlags)
{
    CGXGridParam* p = e.GetParam();
    if (p == nullptr || keys.GetSize() == 0)
        return;
    const ROWCOL nCount = bRows ? e.GetRowCount() : e.GetColCount();
    const ROWCOL nHeader = bRows ? e.GetHeaderRows() : e.GetHeaderCols();
    ROWCOL first = bRows ? range.top : range.left, last = bRows ? range.bottom : range.right;
    if (range.IsTable() || (bRows ? range.IsCols() : range.IsRows()))
        first = nHeader + 1, last = nCount;
    // The header rows (columns) never move.
    first = std::max(first, nHeader + 1);
    last = std::min(last, nCount);
    if (first > last)
        return;
    if (bRows)
        range.SetRows(first, last);
    else
        range.SetCols(first, last);

    e.MoveCurrentCell(7, 1, TRUE);
    e.TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE);

    CGXLongOperation theOp;
    CString sTitle;
    sTitle.LoadString(bRows ? GX_IDS_SORTROWS : GX_IDS_SORTCOLS);
    theOp.SetStatusText(sTitle);
    CGXLongOperation::SetCanAbort(TRUE);
    CGXLongOperation::SetCanRollback(FALSE);

    const ROWCOL n = last - first + 1;
    const int nKeys = keys.GetSize();
    CGXSortRecord** records = nullptr;
    int nMade = 0;
    BOOL bAborted = FALSE, bNoMemory = FALSE;
    CDWordArray order;
    try {
        if (n > 0x7FFFFFFEu)
            AfxThrowMemoryException();
        records = new CGXSortRecord*[n]();
        for (int k = 0; k < nKeys; ++k)
            keys[k].bAllNumeric = keys[k].bAllDates = TRUE;
        for (ROWCOL i = 0; i < n && !bAborted; ++i) {
            CGXSortRecord* rec = new CGXSortRecord;
            records[nMade++] = rec;
            rec->pSortInfo = &keys;
            rec->nInitialPos = i;
            if (bRows)
                e.GetSortKeys(first + i, keys, *rec);
            else
                e.GetSortKeysCol(first + i, keys, *rec);
            for (int k = 0; k < nKeys; ++k) {
                CGXSortInfo& key = keys[k];
                if (key.sortType != CGXSortInfo::autodetect || k >= rec->keys.GetSize())
                    continue;
                const CString& text = rec->keys[k];
                if (text.IsEmpty())
                    continue;
                if (key.bAllDates) {
                    COleDateTime dt;
                    if (!dt.ParseDateTime(text, 0, 0x400))
                        key.bAllDates = FALSE;
                }
                if (key.bAllNumeric && std::strspn(text, "0123456789,.- ") != static_cast<size_t>(text.GetLength()))
                    key.bAllNumeric = FALSE;
            }
            BOOL bAbort = FALSE;
            theOp.SetPercentDone(static_cast<int>(static_cast<unsigned long long>(i + 1) * 100 / n));
            if (theOp.ShowProgress(bAbort) && bAbort)
                bAborted = TRUE;
        }
        if (!bAborted) {
            for (int k = 0; k < nKeys; ++k) {
                CGXSortInfo& key = keys[k];
                int type = key.sortType;
                if (type == CGXSortInfo::autodetect)
                    type = key.bAllDates ? CGXSortInfo::date
                                         : (key.bAllNumeric ? CGXSortInfo::numeric : CGXSortInfo::alphanumeric);
                key.sortType = type;
                if (type != CGXSortInfo::numeric && type != CGXSortInfo::date)
                    continue;
                for (int i = 0; i < nMade; ++i) {
                    CGXSortRecord* rec = records[i];
                    if (rec->pValues == nullptr) {
                        rec->pValues = new double[nKeys];
                        std::fill(rec->pValues, rec->pValues + nKeys, 0.0);
                    }
                    CString& text = rec->keys[k];
                    if (type == CGXSortInfo::numeric) {
                        rec->pValues[k] = GXSortKeyNumber(text);
                    } else {
                        // An empty or unreadable date is the lowest value.
                        COleDateTime dt;
                        rec->pValues[k] = !text.IsEmpty() && dt.ParseDateTime(text, 0, 0x400)
                                              ? DateLine(static_cast<double>(dt.m_dt))
                                              : -HUGE_VAL;
                    }
                    text.Empty();
                }
            }
            e.SortRecords(keys, records, nMade);
            order.SetSize(nMade);
            for (int i = 0; i < nMade; ++i)
                order[i] = records[i]->nInitialPos;
        }
    }
    catch (CMemoryException* ex) {
        ex->Delete();
        bNoMemory = TRUE;
    }
    catch (std::bad_alloc&) {
        bNoMemory = TRUE;
    }
    if (records != nullptr) {
        for (int i = 0; i < nMade; ++i)
            delete records[i];
        delete[] records;
    }
    if (bNoMemory) {
        AfxMessageBox(GX_IDS_NOTENOUGHMEMORY, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (bAborted) {
        CString sCanceled;
        sCanceled.LoadString(GX_IDS_CANCELED);
        theOp.SetStatusText(sCanceled);
        return;
    }
    const CGXSortInfo& firstKey = keys[0];
    if (bRows) {
        p->m_nSortedRow = -1;
        p->m_nSortedCol = static_cast<long>(firstKey.nRC);
    } else {
        p->m_nSortedRow = static_cast<long>(firstKey.nRC);
        p->m_nSortedCol = -1;
    }
    p->m_bSortedAscending = !firstKey.sortOrder;
    if (bRows)
        e.MoveDataRows(range, order, nFlags, gxDo);
    else
        e.MoveDataCols(range, order, nFlags, gxDo);
}

// The key texts of one row (bRows) or column.
void GetLineKeys(CGXGridEngine& e, BOOL bRows, ROWCOL nLine, const CGXSortInfoArray& keys, CGXSortRecord& rec)
{
    CGXStyle* pStyle = e.CreateStyle();
    rec.keys.SetSize(keys.GetSize());
    for (int k = 0; k < keys.GetSize(); ++k) {
        const ROWCOL nRow = bRows ? nLine : keys[k].nRC, nCol = bRows ? keys[k].nRC : nLine;
        pStyle->FreeMembers();
        e.ComposeCellStyle(nRow, nCol, *pStyle);
        CGXControl* pControl = e.GetControlForId(static_cast<WORD>(pStyle->GetControl()));
        CString text;
        e.GetSortKeyText(pControl, nRow, nCol, keys[k], *pStyle, text);
        rec.keys[k] = text;
    }
    e.RecycleStyle(pStyle);
}

// The data moves: the store permutes, the view follows, the inverse order is recorded.
BOOL MoveLines(CGXGridEngine& e, BOOL bRows, const CGXRange& range, const CDWordArray& order, UINT nFlags,
               int nCommand)
{
    if (e.GetParam() == nullptr)
        return FALSE;
    // What is being typed, here and in the other views, is stored before the data moves, as for
    // the sort itself: undo and redo of a sort come this way without it.
    if (!e.TransferCurrentCell(TRUE, GX_UPDATENOW, TRUE))
        return FALSE;
    if (!(bRows ? e.StoreMoveDataRows(range, order) : e.StoreMoveDataCols(range, order)))
        return FALSE;
    e.SetSelectionRange(nullptr, 0, 0, 0, 0);
    // Floated and merged spans follow the values: everything is looked at again.
    CGXRange lines, table;
    if (bRows)
        lines.SetRows(1, e.GetRowCount());
    else
        lines.SetCols(1, e.GetColCount());
    table.SetTable();
    for (const CGXRange* r : {&lines, &table}) {
        e.DelaySpanRecalcA(*r);
        e.DelaySpanRecalcB(*r);
    }
    if (bRows)
        e.UpdateMoveDataRows(range, nFlags, TRUE);
    else
        e.UpdateMoveDataCols(range, nFlags, TRUE);
    if (e.IsRecording(nCommand)) {
        CDWordArray* pInverse = new CDWordArray;
        pInverse->SetSize(order.GetSize());
        for (INT_PTR i = 0; i < order.GetSize(); ++i)
            (*pInverse)[order[i]] = static_cast<DWORD>(i);
        if (bRows)
            e.PushCommand(new CGXMoveDataRowsCmd(pInverse, range), nCommand);
        else
            e.PushCommand(new CGXMoveDataColsCmd(pInverse, range), nCommand);
    }
    return TRUE;
}

void UpdateLines(CGXGridEngine& e, BOOL bRows, const CGXRange& range, UINT nFlags, BOOL bCreateHint)
{
    // The current cell's control shows the value that moved to its cell, not the old one.
    e.TransferCurrentCell(FALSE, 0, TRUE);
    e.FreeStyleCache();
    CGXGridParam* p = e.GetParam();
    if (p != nullptr && !p->m_bLockUpdate)
        e.Redraw(nFlags, FALSE);
    if (bCreateHint) {
        CGXGridHint hint(bRows ? 31 : 32, e.m_nHintTag);
        hint.m_range = range;
        hint.flags = nFlags;
        e.SendHint(hint);
    }
}
} // namespace

void CGXGridEngine::SortRows(CGXRange sortRange, CGXSortInfoArray& sortInfo, UINT nFlags)
{
    SortLines(*this, TRUE, sortRange, sortInfo, nFlags);
}

void CGXGridEngine::SortCols(CGXRange sortRange, CGXSortInfoArray& sortInfo, UINT nFlags)
{
    SortLines(*this, FALSE, sortRange, sortInfo, nFlags);
}

void CGXGridEngine::SortRecords(const CGXSortInfoArray&, CGXSortRecord** ppRecords, int nCount)
{
    if (ppRecords == nullptr || nCount <= 1)
        return;
    std::sort(ppRecords, ppRecords + nCount,
              [](const CGXSortRecord* a, const CGXSortRecord* b) { return GXCompareSortRecords(*a, *b) < 0; });
}

void CGXGridEngine::GetSortKeys(ROWCOL nRow, const CGXSortInfoArray& sortInfo, CGXSortRecord& record)
{
    GetLineKeys(*this, TRUE, nRow, sortInfo, record);
}

void CGXGridEngine::GetSortKeysCol(ROWCOL nCol, const CGXSortInfoArray& sortInfo, CGXSortRecord& record)
{
    GetLineKeys(*this, FALSE, nCol, sortInfo, record);
}

void CGXGridEngine::GetSortKeyText(CGXControl* pControl, ROWCOL nRow, ROWCOL nCol, const CGXSortInfo& sortInfo,
                                   const CGXStyle& style, CString& sKey)
{
    if (pControl != nullptr)
        pControl->GetSortKey(nRow, nCol, sortInfo, style, sKey);
    else
        sKey = style.GetValue();
}

BOOL CGXGridEngine::MoveDataRows(const CGXRange& sortRange, const CDWordArray& order, UINT nFlags, int nCommand)
{
    return MoveLines(*this, TRUE, sortRange, order, nFlags, nCommand);
}

BOOL CGXGridEngine::MoveDataCols(const CGXRange& sortRange, const CDWordArray& order, UINT nFlags, int nCommand)
{
    return MoveLines(*this, FALSE, sortRange, order, nFlags, nCommand);
}

BOOL CGXGridEngine::StoreMoveDataRows(const CGXRange& sortRange, const CDWordArray& order)
{
    return m_pParam != nullptr && m_pParam->GetData() != nullptr &&
           m_pParam->GetData()->StoreMoveDataRows(sortRange, order);
}

BOOL CGXGridEngine::StoreMoveDataCols(const CGXRange& sortRange, const CDWordArray& order)
{
    return m_pParam != nullptr && m_pParam->GetData() != nullptr &&
           m_pParam->GetData()->StoreMoveDataCols(sortRange, order);
}

void CGXGridEngine::UpdateMoveDataRows(const CGXRange& sortRange, UINT nFlags, BOOL bCreateHint)
{
    UpdateLines(*this, TRUE, sortRange, nFlags, bCreateHint);
}

void CGXGridEngine::UpdateMoveDataCols(const CGXRange& sortRange, UINT nFlags, BOOL bCreateHint)
{
    UpdateLines(*this, FALSE, sortRange, nFlags, bCreateHint);
}

// ---------------------------------------------------------------------------
// Sorting by a double click on a header: the first click on a header sorts ascending, the next
// one on the same header descending, and so on.

BOOL CGXGridEngine::OnLButtonDblClkRowCol(ROWCOL nRow, ROWCOL nCol, UINT, CPoint)
{
    CGXGridParam* p = m_pParam;
    if (p == nullptr)
        return FALSE;
    const BOOL bRowSort = nRow == 0 && nCol != 0 && p->m_bSortRowsByHeader;
    const BOOL bColSort = nCol == 0 && nRow != 0 && p->m_bSortColsByHeader;
    if (!bRowSort && !bColSort)
        return FALSE;
    CGXSortInfoArray keys;
    keys.SetSize(1);
    keys[0].nRC = bRowSort ? nCol : nRow;
    keys[0].sortType = CGXSortInfo::autodetect;
    const BOOL bLastKey = bRowSort ? (p->m_nSortedRow == -1 && p->m_nSortedCol == static_cast<long>(nCol))
                                   : (p->m_nSortedCol == -1 && p->m_nSortedRow == static_cast<long>(nRow));
    keys[0].sortOrder = bLastKey && p->m_bSortedAscending != 0 ? CGXSortInfo::descending : CGXSortInfo::ascending;
    CGXRange table;
    table.SetTable();
    if (bRowSort) {
        SortRows(table, keys);
        MoveCurrentCell(7, 1, TRUE);
    } else {
        SortCols(table, keys);
        MoveCurrentCell(2, 1, TRUE);
    }
    return TRUE;
}
