#include "gxrange.h"
#include <algorithm>

CGXRange::CGXRange(const CGXRange* pRange)
{
    if (pRange != nullptr)
        *this = *pRange;
}

CGXRange& CGXRange::SetCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    type = GX_RANGE_CELLS;
    top = std::min(nTop, nBottom);
    bottom = std::max(nTop, nBottom);
    left = std::min(nLeft, nRight);
    right = std::max(nLeft, nRight);
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::SetRows(ROWCOL nFirst, ROWCOL nLast)
{
    type = GX_RANGE_ROWS;
    top = std::min(nFirst, nLast);
    bottom = std::max(nFirst, nLast);
    left = right = 0;
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::SetCols(ROWCOL nFirst, ROWCOL nLast)
{
    type = GX_RANGE_COLS;
    left = std::min(nFirst, nLast);
    right = std::max(nFirst, nLast);
    top = bottom = 0;
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::SetTable()
{
    type = GX_RANGE_TABLE;
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::ExpandToCells(ROWCOL nTop, ROWCOL nLeft, ROWCOL nBottom, ROWCOL nRight)
{
    switch (type) {
    case GX_RANGE_ROWS:
        left = nLeft;
        right = nRight;
        break;
    case GX_RANGE_COLS:
        top = nTop;
        bottom = nBottom;
        break;
    case GX_RANGE_TABLE:
        top = nTop;
        left = nLeft;
        bottom = nBottom;
        right = nRight;
        break;
    default:
        break;
    }
    type = GX_RANGE_CELLS;
    return *this;
}

BOOL CGXRange::Contains(ROWCOL nRow, ROWCOL nCol) const
{
    if (!valid)
        return FALSE;
    switch (type) {
    case GX_RANGE_TABLE:
        return TRUE;
    case GX_RANGE_ROWS:
        return top <= nRow && nRow <= bottom;
    case GX_RANGE_COLS:
        return left <= nCol && nCol <= right;
    default:
        return top <= nRow && nRow <= bottom && left <= nCol && nCol <= right;
    }
}

BOOL CGXRange::Intersect(const CGXRange& a, const CGXRange& b)
{
    ROWCOL t = std::max(a.top, b.top), l = std::max(a.left, b.left);
    ROWCOL btm = std::min(a.bottom, b.bottom), r = std::min(a.right, b.right);
    top = t;
    left = l;
    bottom = btm;
    right = r;
    valid = left <= right && top <= bottom;
    return valid;
}

BOOL CGXRange::Union(const CGXRange& a, const CGXRange& b)
{
    ROWCOL t = std::min(a.top, b.top), l = std::min(a.left, b.left);
    ROWCOL btm = std::max(a.bottom, b.bottom), r = std::max(a.right, b.right);
    top = t;
    left = l;
    bottom = btm;
    right = r;
    valid = left <= right && top <= bottom;
    return valid;
}

// ---------------------------------------------------------------------------

CGXRangeList::~CGXRangeList() { DeleteAll(); }

void CGXRangeList::CopyFrom(const CGXRangeList& src)
{
    if (&src == this)
        return;
    DeleteAll();
    for (POSITION pos = src.GetHeadPosition(); pos;)
        AddTail(new CGXRange(*static_cast<const CGXRange*>(src.GetNext(pos))));
}

void CGXRangeList::DeleteAll()
{
    for (POSITION pos = GetHeadPosition(); pos;)
        delete static_cast<CGXRange*>(GetNext(pos));
    RemoveAll();
}

POSITION CGXRangeList::FindRange(ROWCOL nRow, ROWCOL nCol) const
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION cur = pos;
        if (static_cast<const CGXRange*>(GetNext(pos))->Contains(nRow, nCol))
            return cur;
    }
    return nullptr;
}

BOOL CGXRangeList::AnyRangeContains(ROWCOL nRow, ROWCOL nCol, POSITION posSkip) const
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION cur = pos;
        const CGXRange* r = static_cast<const CGXRange*>(GetNext(pos));
        if (cur != posSkip && r->Contains(nRow, nCol))
            return TRUE;
    }
    return FALSE;
}

namespace {
// The row operations work on top/bottom, the column ones on left/right.
struct Axis
{
    ROWCOL CGXRange::*lo;
    ROWCOL CGXRange::*hi;
};
const Axis kRows = {&CGXRange::top, &CGXRange::bottom};
const Axis kCols = {&CGXRange::left, &CGXRange::right};

void InsertOn(CGXRangeList& list, const Axis& ax, ROWCOL nFirst, ROWCOL nCount)
{
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGXRange* r = static_cast<CGXRange*>(list.GetNext(pos));
        if (r->*ax.lo >= nFirst)
            r->*ax.lo += nCount;
        if (r->*ax.hi >= nFirst)
            r->*ax.hi += nCount;
    }
}

void RemoveOn(CGXRangeList& list, const Axis& ax, ROWCOL nFirst, ROWCOL nLast, ROWCOL nMax)
{
    ROWCOL n = nLast - nFirst + 1;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGXRange* r = static_cast<CGXRange*>(list.GetNext(pos));
        if (!r->valid)
            continue;
        ROWCOL& lo = r->*ax.lo;
        ROWCOL& hi = r->*ax.hi;
        if (lo >= nFirst && hi <= nLast) {
            r->valid = FALSE;
            hi = std::min(hi, nMax);
            continue;
        }
        if (lo >= nFirst)
            lo = lo <= nLast ? nFirst : lo - n;
        if (hi >= nFirst)
            hi = std::max(hi, nLast) - n;
        r->valid = hi >= lo;
        hi = std::min(hi, nMax);
    }
}

void MoveOn(CGXRangeList& list, const Axis& ax, ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest, ROWCOL nMax)
{
    ROWCOL n = nLast - nFirst + 1;
    ROWCOL D = nDest > nFirst ? nDest + n : nDest;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGXRange* r = static_cast<CGXRange*>(list.GetNext(pos));
        ROWCOL& lo = r->*ax.lo;
        ROWCOL& hi = r->*ax.hi;
        // Shifts are done in unsigned arithmetic; a negative shift wraps back.
        ROWCOL shift = 0;
        if (lo >= nFirst && lo <= nLast && nLast < D)
            shift = nDest - nFirst;
        else if (lo >= nFirst && lo <= nLast && D < nFirst)
            shift = D - nFirst;
        else if (lo > nLast && lo < D)
            shift = static_cast<ROWCOL>(0) - n;
        else if (lo < nFirst && lo >= D)
            shift = n;
        lo += shift;
        hi += shift;
        hi = std::min(hi, nMax);
    }
}

BOOL GetSpans(const CGXRangeList& list, BOOL bRows, ROWCOL nCount, CDWordArray& starts, CDWordArray& ends,
              BOOL bAnyKind)
{
    starts.RemoveAll();
    ends.RemoveAll();
    BOOL bAny = FALSE;
    // The kind whose extent reaches across the whole other axis.
    DWORD wholeKind = bRows ? GX_RANGE_ROWS : GX_RANGE_COLS;
    DWORD crossKind = bRows ? GX_RANGE_COLS : GX_RANGE_ROWS;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CGXRange* r = static_cast<const CGXRange*>(list.GetNext(pos));
        if (!r->valid)
            continue;
        if (!bAnyKind && r->type != wholeKind && r->type != GX_RANGE_TABLE)
            continue;
        DWORD s = bRows ? r->top : r->left;
        DWORD e = bRows ? r->bottom : r->right;
        if (r->type == crossKind || r->type == GX_RANGE_TABLE)
            e = nCount;
        bAny = TRUE;
        int i = 0;
        bool placed = false;
        for (; i < starts.GetSize(); ++i) {
            DWORD si = starts[i], ei = ends[i];
            bool overlap = (si <= s && s <= ei) || (si <= e && e <= ei) || (s <= si && si <= e) ||
                           (s <= ei && ei <= e);
            if (overlap) {
                starts[i] = std::min(si, s);
                ends[i] = std::max(ei, e);
                placed = true;
                break;
            }
            if (e < si) {
                starts.InsertAt(i, s);
                ends.InsertAt(i, e);
                placed = true;
                break;
            }
        }
        if (!placed) {
            starts.Add(s);
            ends.Add(e);
        }
    }
    if (bAny) {
        for (int i = 1; i < starts.GetSize();) {
            if (ends[i - 1] + 1 >= starts[i]) {
                ends[i - 1] = std::max(ends[i - 1], ends[i]);
                starts.RemoveAt(i);
                ends.RemoveAt(i);
            } else {
                ++i;
            }
        }
    }
    return bAny;
}
} // namespace

void CGXRangeList::InsertRows(ROWCOL nFirst, ROWCOL nCount) { InsertOn(*this, kRows, nFirst, nCount); }
void CGXRangeList::InsertCols(ROWCOL nFirst, ROWCOL nCount) { InsertOn(*this, kCols, nFirst, nCount); }
void CGXRangeList::RemoveRows(ROWCOL nFirst, ROWCOL nLast, ROWCOL nMaxRow) { RemoveOn(*this, kRows, nFirst, nLast, nMaxRow); }
void CGXRangeList::RemoveCols(ROWCOL nFirst, ROWCOL nLast, ROWCOL nMaxCol) { RemoveOn(*this, kCols, nFirst, nLast, nMaxCol); }
void CGXRangeList::MoveRows(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest, ROWCOL nMaxRow)
{
    MoveOn(*this, kRows, nFirst, nLast, nDest, nMaxRow);
}
void CGXRangeList::MoveCols(ROWCOL nFirst, ROWCOL nLast, ROWCOL nDest, ROWCOL nMaxCol)
{
    MoveOn(*this, kCols, nFirst, nLast, nDest, nMaxCol);
}

BOOL CGXRangeList::GetRowSpans(ROWCOL nRowCount, CDWordArray& starts, CDWordArray& ends, BOOL bAnyKind) const
{
    return GetSpans(*this, TRUE, nRowCount, starts, ends, bAnyKind);
}

BOOL CGXRangeList::GetColSpans(ROWCOL nColCount, CDWordArray& starts, CDWordArray& ends, BOOL bAnyKind) const
{
    return GetSpans(*this, FALSE, nColCount, starts, ends, bAnyKind);
}

// ---------------------------------------------------------------------------
IMPLEMENT_SERIAL(CGXRangeList, CPtrList, 1)

CArchive& operator<<(CArchive& ar, const CGXRange& range)
{
    ar << static_cast<DWORD>(range.top) << static_cast<DWORD>(range.left) << static_cast<DWORD>(range.bottom)
       << static_cast<DWORD>(range.right) << static_cast<BYTE>(range.type) << static_cast<BYTE>(range.valid ? 1 : 0);
    return ar;
}

CArchive& operator>>(CArchive& ar, CGXRange& range)
{
    DWORD t, l, b, r;
    BYTE type, valid;
    ar >> t >> l >> b >> r >> type >> valid;
    range.top = t;
    range.left = l;
    range.bottom = b;
    range.right = r;
    range.type = type;
    range.valid = valid;
    return ar;
}

void CGXRangeList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        DWORD n = 0;
        for (POSITION pos = GetHeadPosition(); pos;)
            if (static_cast<const CGXRange*>(GetNext(pos))->valid)
                ++n;
        ar << static_cast<WORD>(1) << n;
        for (POSITION pos = GetHeadPosition(); pos;) {
            const CGXRange* r = static_cast<const CGXRange*>(GetNext(pos));
            if (r->valid)
                ar << *r;
        }
        return;
    }
    WORD wSchema;
    ar >> wSchema;
    if (wSchema != 1)
        AfxThrowArchiveException(CArchiveException::badSchema);
    LONG n;
    ar >> n;
    for (LONG i = 0; i < n; ++i) {
        CGXRange r;
        ar >> r;
        AddTail(new CGXRange(r));
    }
}
