// Sort keys and the records a sort works on.
//
// A sort computes a new order of the rows (columns) of a range from the texts of one or more key
// columns (rows); moving the data then applies that order as one undoable step.
#pragma once
#include "afx.h"
#include "afxcoll.h"
#include "gxrange.h"

// One sort key.
struct CGXSortInfo
{
    enum SortType { numeric = 0, alphanumeric = 1, date = 2, autodetect = 3 };
    enum SortOrder { ascending = 0, descending = 1 };

    DWORD nRC;          // the key column (row sort) or key row (column sort)
    int sortType;       // SortType
    BOOL sortOrder;     // 0 ascending, else descending
    BOOL bCase;         // text keys: compare with regard to case
    DWORD nReserved;    // not read by the sort
    BOOL bAllNumeric;   // working flags of the automatic type
    BOOL bAllDates;
};

// A growable array of sort keys; new entries are zero (column 0, numeric, ascending). Not archived.
class CGXSortInfoArray : public CArray<CGXSortInfo, const CGXSortInfo&>
{
    DECLARE_DYNAMIC(CGXSortInfoArray)
public:
    CGXSortInfoArray() = default;
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

// One row (column) while it is sorted: its key texts, the numbers or dates read from them, and
// where it stood (0-based within the range).
struct CGXSortRecord
{
    CGXSortRecord() = default;
    CGXSortRecord(const CGXSortRecord&) = delete;
    CGXSortRecord& operator=(const CGXSortRecord&) = delete;
    ~CGXSortRecord() { delete[] pValues; }

    CStringArray keys;
    double* pValues = nullptr;   // one per key, made on first use
    DWORD nInitialPos = 0;
    const CGXSortInfoArray* pSortInfo = nullptr;
};

// The comparison of the sort: key by key, each negated when descending; equal records keep their
// initial order. Numbers are compared for equality first; an unreadable date is the lowest value.
int GXCompareSortRecords(const CGXSortRecord& a, const CGXSortRecord& b);
// A number as the sort reads it: the leading number of the text in the "C" notation ("-1,5" is
// -1), 0 when there is none; independent of the program's locale.
double GXSortKeyNumber(LPCSTR lpszText);
