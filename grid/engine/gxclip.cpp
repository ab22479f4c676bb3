// Copy, cut, paste and clear of cell blocks: the text layout (cells separated by a tab, rows by
// CR LF) and the grid's own "Grid Styles" stream, on the clipboard and for drag and drop.
#include "afxwin.h"
#include "afxapp.h"
#include "afxcmd.h"
#include "afxexcept.h"
#include "afxfile.h"
#include "afxarch.h"
#include "afxseam.h"
#include "gxdragdrop.h"
#include "gxengine.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxstymap.h"
#include "gxutil.h"
#include <algorithm>

namespace {

// The two ends of a clipboard block that must always be undone: the archive is closed first,
// then the memory handle is given back to its owner (the clipboard or a drop medium).
class CDetachGuard
{
public:
    explicit CDetachGuard(CSharedFile& file) : m_file(file) {}
    ~CDetachGuard() { m_file.Detach(); }
    CDetachGuard(const CDetachGuard&) = delete;
    CDetachGuard& operator=(const CDetachGuard&) = delete;

private:
    CSharedFile& m_file;
};

// Restores an archive's context pointer on every path.
class CArchiveDocument
{
public:
    CArchiveDocument(CArchive& ar, CObject* pDoc) : m_ar(ar), m_pOld(ar.m_pDocument) { ar.m_pDocument = pDoc; }
    ~CArchiveDocument() { m_ar.m_pDocument = m_pOld; }
    CArchiveDocument(const CArchiveDocument&) = delete;
    CArchiveDocument& operator=(const CArchiveDocument&) = delete;

private:
    CArchive& m_ar;
    CObject* m_pOld;
};

// The largest block the styles stream carries in each direction.
const DWORD kMaxBlockSide = 0x7FFF;

// The ranges of a list as cells inside the grid, none starting before the first row and column.
void CellRanges(const CGXRangeList& in, CGXRangeList& out, ROWCOL nFirstRow, ROWCOL nFirstCol, ROWCOL nRows,
                ROWCOL nCols)
{
    for (POSITION pos = in.GetHeadPosition(); pos != nullptr;) {
        CGXRange r = *in.GetRangeAt(pos);
        in.GetNext(pos);
        if (!r.IsValid())
            continue;
        r.ExpandToCells(nFirstRow, nFirstCol, nRows, nCols);
        r.top = std::max(r.top, nFirstRow);
        r.left = std::max(r.left, nFirstCol);
        r.bottom = std::min(r.bottom, nRows);
        r.right = std::min(r.right, nCols);
        if (r.top <= r.bottom && r.left <= r.right)
            out.AddTail(new CGXRange(r));
    }
}

ROWCOL SpanCount(const CDWordArray& starts, const CDWordArray& ends)
{
    ROWCOL n = 0;
    for (INT_PTR i = 0; i < starts.GetSize(); ++i)
        n += ends[i] - starts[i] + 1;
    return n;
}

// A cell text as the text layout writes it: every CR, LF or CR LF becomes one space; a
// double-byte character is kept whole.
CString FlattenLines(const CString& s)
{
    CString out;
    const int n = s.GetLength();
    for (int i = 0; i < n; ++i) {
        const char ch = s[i];
        if (AfxIsLeadByte(static_cast<BYTE>(ch)) && i + 1 < n) {
            out += ch;
            out += s[++i];
        } else if (ch == '\r') {
            if (i + 1 < n && s[i + 1] == '\n')
                ++i;
            out += ' ';
        } else if (ch == '\n') {
            out += ' ';
        } else {
            out += ch;
        }
    }
    return out;
}

// Walks a text block field by field by the paste rules: a field ends at NUL, CR, LF or a
// separator; CR LF is one line end; the end of the block counts as a NUL (so a last field
// without terminator is still seen), and a NUL or the end right after a line end adds no row.
// fn(row offset, column offset, field) answers FALSE to stop.
template <class Fn> void WalkTextFields(LPCSTR p, DWORD dwSize, const CString& seps, Fn fn)
{
    ROWCOL row = 0, col = 0;
    DWORD i = 0;
    for (;;) {
        DWORD j = i;
        while (j < dwSize) {
            const char ch = p[j];
            if (ch == 0 || ch == '\r' || ch == '\n' || seps.Find(ch) >= 0)
                break;
            j += (AfxIsLeadByte(static_cast<BYTE>(ch)) && j + 1 < dwSize) ? 2 : 1;
        }
        if (!fn(row, col, CString(p + i, static_cast<int>(j - i)), j))
            return;
        const char end = j < dwSize ? p[j] : 0;
        if (end == 0)
            return;
        if (end == '\r' || end == '\n') {
            if (end == '\r' && j + 1 < dwSize && p[j + 1] == '\n')
                ++j;
            ++row;
            col = 0;
            i = j + 1;
            if (i >= dwSize || p[i] == 0)
                return;
        } else {
            ++col;
            i = j + 1;
        }
    }
}

CString PasteSeparators(const CString& s) { return s.IsEmpty() ? CString("\t") : s; }

} // namespace

BOOL GXIsPasteFormatAvailable()
{
    const UINT cf = GXGetAppState()->m_cfGridStyles;
    return ::IsClipboardFormatAvailable(CF_TEXT) || ::IsClipboardFormatAvailable(CF_OEMTEXT) ||
           (cf != 0 && ::IsClipboardFormatAvailable(cf));
}

// ---------------------------------------------------------------------------------------------
// Writing

BOOL CGXGridEngine::WriteRangesAsText(CFile& file, const CGXRangeList& list)
{
    const ROWCOL nRowCount = GetRowCount(), nColCount = GetColCount();
    CGXRangeList cells;
    CellRanges(list, cells, 0, 0, nRowCount, nColCount);
    CDWordArray rs, re, cs, ce;
    cells.GetRowSpans(nRowCount, rs, re, TRUE);
    cells.GetColSpans(nColCount, cs, ce, TRUE);
    const double total = static_cast<double>(SpanCount(rs, re)) * SpanCount(cs, ce);

    CGXLongOperation op;
    op.SetStatusText(GXGetAppState()->sCopyingText, FALSE);
    const CString sep = m_strCopySeparator.IsEmpty() ? CString("\t") : m_strCopySeparator;
    BOOL bAny = FALSE, bAbort = FALSE;
    ROWCOL nRows = 0, nLastCols = 0;
    double done = 0;
    for (INT_PTR a = 0; a < rs.GetSize() && !bAbort; ++a) {
        for (ROWCOL r = rs[a]; r <= re[a] && !bAbort; ++r) {
            if (nRows > 0)
                file.Write("\r\n", 2);
            ++nRows;
            nLastCols = 0;
            for (INT_PTR b = 0; b < cs.GetSize() && !bAbort; ++b) {
                for (ROWCOL c = cs[b]; c <= ce[b]; ++c) {
                    if (nLastCols > 0)
                        file.Write(static_cast<LPCSTR>(sep), static_cast<UINT>(sep.GetLength()));
                    ++nLastCols;
                    CGXStyle* pStyle = CreateStyle();
                    ComposeCellStyle(r, c, *pStyle);
                    CString text;
                    CGXControl* pControl =
                        pStyle->GetIncludeControl() ? GetControlForId(static_cast<WORD>(pStyle->GetControl())) : nullptr;
                    if (pControl != nullptr)
                        pControl->GetDisplayText(text, r, c, nullptr, pStyle);
                    else if (pStyle->GetIncludeValue())
                        text = pStyle->GetValue();
                    RecycleStyle(pStyle);
                    text = FlattenLines(text);
                    if (!text.IsEmpty()) {
                        bAny = TRUE;
                        file.Write(static_cast<LPCSTR>(text), static_cast<UINT>(text.GetLength()));
                    }
                    ++done;
                    if (total > 1) {
                        CGXLongOperation::SetPercentDone(static_cast<int>(std::min(100.0, done * 100 / total)));
                        op.ShowProgress(bAbort);
                        if (bAbort)
                            break;
                    }
                }
            }
        }
    }
    if (!bAbort && (nRows > 1 || nLastCols > 1))
        file.Write("\r\n", 2);
    m_nLastCopyRows = nRows;
    m_nLastCopyCols = nLastCols;
    return !bAbort && bAny;
}

BOOL CGXGridEngine::WriteRangesAsStyles(CArchive& ar, const CGXRangeList& list, BOOL bComposed)
{
    const ROWCOL nRowCount = GetRowCount(), nColCount = GetColCount();
    CGXRangeList cells;
    CellRanges(list, cells, 0, 0, nRowCount, nColCount);
    CDWordArray rs, re, cs, ce;
    cells.GetRowSpans(nRowCount, rs, re, TRUE);
    cells.GetColSpans(nColCount, cs, ce, TRUE);
    const ROWCOL R = SpanCount(rs, re), C = SpanCount(cs, ce);

    CGXLongOperation op;
    op.SetStatusText(GXGetAppState()->sCopyingInternal, FALSE);
    CArchiveDocument doc(ar, m_pParam != nullptr ? m_pParam->GetStylesMap() : nullptr);
    CWaitCursor wait;
    CObArray styles;
    BOOL ok = TRUE;
    try {
        if (static_cast<double>(R) * C > 2147483646.0 || R > kMaxBlockSide || C > kMaxBlockSide)
            AfxThrowMemoryException();
        ar << static_cast<DWORD>(R) << static_cast<DWORD>(C);
        styles.SetSize(static_cast<INT_PTR>(R) * C);
        const double total = static_cast<double>(R) * C;
        INT_PTR i = 0;
        for (INT_PTR a = 0; a < rs.GetSize(); ++a)
            for (ROWCOL r = rs[a]; r <= re[a]; ++r)
                for (INT_PTR b = 0; b < cs.GetSize(); ++b)
                    for (ROWCOL c = cs[b]; c <= ce[b]; ++c, ++i) {
                        CGXStyle* pStyle = CreateStyle();
                        if (bComposed) {
                            ComposeCellStyle(r, c, *pStyle);
                            styles.SetAt(i, pStyle);
                        } else if (ReadCellStyle(r, c, *pStyle)) {
                            styles.SetAt(i, pStyle);
                        } else {
                            RecycleStyle(pStyle);
                        }
                        if (total > 1) {
                            CGXLongOperation::SetPercentDone(static_cast<int>(std::min(100.0, (i + 1) * 100 / total)));
                            BOOL bAbort = FALSE;
                            op.ShowProgress(bAbort);
                            if (bAbort)
                                AfxThrowUserException();
                        }
                    }
        ar.WriteObject(&styles);
    } catch (CMemoryException* e) {
        e->Delete();
        AfxMessageBox(GX_IDS_RANGETOOBIG, MB_OK | MB_ICONEXCLAMATION);
        ok = FALSE;
    } catch (CUserException* e) {
        e->Delete();
        ok = FALSE;
    }
    for (INT_PTR i = 0; i < styles.GetSize(); ++i)
        if (CObject* p = styles.GetAt(i))
            RecycleStyle(static_cast<CGXStyle*>(p));
    styles.RemoveAll();
    m_nLastCopyRows = R;
    m_nLastCopyCols = C;
    return ok;
}

// ---------------------------------------------------------------------------------------------
// The clipboard

HGLOBAL CGXGridEngine::WriteTextBlock(const CGXRangeList& list)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 4096);
    if (!WriteRangesAsText(file, list))
        return nullptr;
    file.Write("", 1);
    return file.Detach();
}

BOOL GXStylesBlockSize(HGLOBAL hBlock, DWORD& nRows, DWORD& nCols)
{
    nRows = nCols = 0;
    if (hBlock == nullptr || ::GlobalSize(hBlock) < 2 * sizeof(DWORD))
        return FALSE;
    const DWORD* p = static_cast<const DWORD*>(::GlobalLock(hBlock));
    if (p == nullptr)
        return FALSE;
    const DWORD R = p[0], C = p[1];
    ::GlobalUnlock(hBlock);
    if (R == 0 || C == 0 || R > kMaxBlockSide || C > kMaxBlockSide)
        return FALSE;
    nRows = R;
    nCols = C;
    return TRUE;
}

HGLOBAL CGXGridEngine::WriteStylesBlock(const CGXRangeList& list, BOOL bComposed)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 4096);
    BOOL ok;
    {
        CArchive ar(&file, CArchive::store, 4096);
        ok = WriteRangesAsStyles(ar, list, bComposed);
        if (ok)
            ar.Close();
        else
            ar.Abort();
    }
    return ok ? file.Detach() : nullptr;
}

BOOL CGXGridEngine::PasteStylesFromHandle(HGLOBAL hBlock, const CGXRange& target, BOOL bNoAsk)
{
    if (hBlock == nullptr)
        return FALSE;
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, 4096);
    file.SetHandle(hBlock, FALSE);
    CDetachGuard detach(file);
    CArchive ar(&file, CArchive::load, 4096);
    return PasteStylesFromArchive(ar, target, bNoAsk);
}

namespace {
BOOL SetClipboardBlock(HWND hOwner, UINT cf, HGLOBAL h)
{
    if (h == nullptr)
        return FALSE;
    BOOL ok = FALSE;
    if (::OpenClipboard(hOwner)) {
        ok = ::SetClipboardData(cf, h) != nullptr;
        ::CloseClipboard();
    }
    if (!ok)
        ::GlobalFree(h);
    return ok;
}
} // namespace

BOOL CGXGridEngine::CopyTextToClipboard(const CGXRangeList& list)
{
    return SetClipboardBlock(GetGridHwnd(), CF_TEXT, WriteTextBlock(list));
}

BOOL CGXGridEngine::CopyStylesToClipboard(const CGXRangeList& list, BOOL bComposed)
{
    return SetClipboardBlock(GetGridHwnd(), GXGetAppState()->m_cfGridStyles, WriteStylesBlock(list, bComposed));
}

BOOL CGXGridEngine::CopyRangesToClipboard(const CGXRangeList& list)
{
    // What another copy left there must not stay beside the new block.
    if (!::OpenClipboard(GetGridHwnd()))
        return FALSE;
    const BOOL bEmptied = ::EmptyClipboard();
    ::CloseClipboard();
    if (!bEmptied)
        return FALSE;
    BOOL ok = FALSE;
    if (m_nClipboardFlags & GX_CLIP_TEXT)
        ok |= CopyTextToClipboard(list);
    if (m_nClipboardFlags & GX_CLIP_STYLES)
        ok |= CopyStylesToClipboard(list, (m_nClipboardFlags & GX_CLIP_COMPOSED) != 0);
    return ok;
}

BOOL CGXGridEngine::CopyCellRange(const CGXRange& range)
{
    CGXRangeList list;
    list.AddTail(new CGXRange(range));
    return CopyRangesToClipboard(list);
}

BOOL CGXGridEngine::CutCellRange(const CGXRange& range, BOOL bStyles)
{
    CGXRangeList list;
    list.AddTail(new CGXRange(range));
    return CutRanges(list, bStyles);
}

BOOL CGXGridEngine::Copy()
{
    if (m_pParam == nullptr || ::GetOpenClipboardWindow() != nullptr)
        return FALSE;
    if (!::OpenClipboard(GetGridHwnd()))
        return FALSE;
    const BOOL bEmptied = ::EmptyClipboard();
    ::CloseClipboard();
    if (!bEmptied)
        return FALSE;
    CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr;
    const BOOL bActive = pControl != nullptr && pControl->IsActive();
    CGXRangeList list;
    CopySelectedRanges(list, FALSE);
    if ((list.IsEmpty() || bActive) && pControl != nullptr && pControl->Copy())
        return TRUE;
    if (list.IsEmpty() && !CopySelectedRanges(list, TRUE))
        return FALSE;
    CGXLongOperation op;
    const DWORD hdr = GX_CLIP_ROWHEADERS | GX_CLIP_COLHEADERS;
    const ROWCOL nFirstRow = (m_nClipboardFlags & GX_CLIP_ROWHEADERS) ? 0 : GetHeaderRows() + 1;
    const ROWCOL nFirstCol = (m_nClipboardFlags & GX_CLIP_COLHEADERS) ? 0 : GetHeaderCols() + 1;
    if ((m_nClipboardFlags & hdr) == hdr)
        return CopyRangesToClipboard(list);
    CGXRangeList cells;
    CellRanges(list, cells, nFirstRow, nFirstCol, GetRowCount(), GetColCount());
    return !cells.IsEmpty() && CopyRangesToClipboard(cells);
}

BOOL CGXGridEngine::Cut()
{
    if (m_pParam == nullptr)
        return FALSE;
    if (::OpenClipboard(GetGridHwnd())) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
    CGXLongOperation op;
    CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr;
    CGXRangeList list;
    CopySelectedRanges(list, FALSE);
    if ((list.IsEmpty() || (pControl != nullptr && pControl->IsActive())) && pControl != nullptr &&
        pControl->Cut())
        return TRUE;
    if (list.IsEmpty() && !CopySelectedRanges(list, TRUE))
        return FALSE;
    return CutRanges(list, (m_nClipboardFlags & GX_CLIP_STYLES) != 0);
}

BOOL CGXGridEngine::CutRanges(const CGXRangeList& list, BOOL bStyles)
{
    if (m_pParam == nullptr)
        return FALSE;
    // Only the ranges given travel and are cleared: the selection may differ from them.
    const ROWCOL nFirstRow = (m_nClipboardFlags & GX_CLIP_ROWHEADERS) ? 0 : GetHeaderRows() + 1;
    const ROWCOL nFirstCol = (m_nClipboardFlags & GX_CLIP_COLHEADERS) ? 0 : GetHeaderCols() + 1;
    CGXRangeList cells;
    CellRanges(list, cells, nFirstRow, nFirstCol, GetRowCount(), GetColCount());
    OpenBlockCommand(GXGetAppState()->sCutData);
    if (!cells.IsEmpty() && CopyRangesToClipboard(cells) && ClearCells(cells, bStyles)) {
        CloseBlockCommand();
        return TRUE;
    }
    RollbackBlockCommand();
    return FALSE;
}

BOOL CGXGridEngine::ClearCells(const CGXRangeList& list, BOOL bStyles)
{
    if (m_pParam == nullptr)
        return FALSE;
    OpenBlockCommand(GXGetAppState()->sClearCells);
    CGXLongOperation op;
    op.SetStatusText(GXGetAppState()->sCutting, FALSE);
    CGXLongOperation::SetCanRollback(TRUE);
    const ROWCOL nRowCount = GetRowCount(), nColCount = GetColCount();
    // Headers are never cleared, whatever the clipboard's header bits say. Each range is
    // cleared by itself: the cross product of their rows and columns would empty cells that
    // were never selected.
    CGXRangeList cells;
    CellRanges(list, cells, GetHeaderRows() + 1, GetHeaderCols() + 1, nRowCount, nColCount);
    CWaitCursor wait;
    BOOL bAbort = FALSE;
    double total = 0, done = 0;
    for (POSITION pos = cells.GetHeadPosition(); pos != nullptr; cells.GetNext(pos))
        total += static_cast<double>(cells.GetRangeAt(pos)->GetHeight()) * cells.GetRangeAt(pos)->GetWidth();
    for (POSITION pos = cells.GetHeadPosition(); pos != nullptr && !bAbort; cells.GetNext(pos)) {
        const CGXRange& range = *cells.GetRangeAt(pos);
        if (bStyles) {
            SetStyleRange(range, nullptr, gxRemove);
            bAbort = CGXLongOperation::GetAbortState();
            continue;
        }
        for (ROWCOL r = range.top; r <= range.bottom && !bAbort; ++r)
            for (ROWCOL c = range.left; c <= range.right; ++c) {
                PasteTextToCell(r, c, CString(), GX_INVALIDATE, nullptr);
                ++done;
                if (total > 1) {
                    CGXLongOperation::SetPercentDone(static_cast<int>(std::min(100.0, done * 100 / total)));
                    op.ShowProgress(bAbort);
                    if (bAbort)
                        break;
                }
            }
    }
    if (bAbort) {
        // Taken back when the user confirmed the rollback, else the part done stays as one step.
        if (CGXLongOperation::GetRollbackConfirmedState())
            RollbackBlockCommand();
        else
            CloseBlockCommand();
        return FALSE;
    }
    CloseBlockCommand();
    return TRUE;
}

BOOL CGXGridEngine::ClearSelection(BOOL bStyles)
{
    CGXLongOperation op;
    CGXRangeList list;
    if (!CopySelectedRanges(list, TRUE))
        return FALSE;
    return ClearCells(list, bStyles);
}

// ---------------------------------------------------------------------------------------------
// Reading

BOOL CGXGridEngine::PasteTextToCell(ROWCOL nRow, ROWCOL nCol, const CString& str, UINT nFlags,
                                    const CGXStyle* pStyle)
{
    CGXStyle* pComposed = nullptr;
    if (pStyle == nullptr) {
        pComposed = CreateStyle();
        ComposeCellStyle(nRow, nCol, *pComposed);
        pStyle = pComposed;
    }
    CGXControl* pControl =
        pStyle->GetIncludeControl() ? GetControlForId(static_cast<WORD>(pStyle->GetControl())) : nullptr;
    const BOOL ok = pControl != nullptr ? pControl->SetCellText(nRow, nCol, str, nFlags, pStyle)
                                        : SetValueRange(CGXRange(nRow, nCol), str, gxOverride, 0, nFlags);
    if (pComposed != nullptr)
        RecycleStyle(pComposed);
    return ok;
}

BOOL CGXGridEngine::CalcTextBlockSize(LPCSTR lpszText, DWORD dwSize, ROWCOL& nRows, ROWCOL& nCols)
{
    nRows = 0;
    nCols = 1;
    if (lpszText == nullptr || dwSize == 0)
        return TRUE;
    // Every line end counts a row, empty lines too, since the paste writes their empty cell; a
    // last line without an end counts when it holds a field.
    ROWCOL nLineEnds = 0;
    BOOL bOpenLine = FALSE;
    WalkTextFields(lpszText, dwSize, PasteSeparators(m_strPasteSeparators),
                   [&](ROWCOL r, ROWCOL c, const CString& field, DWORD pos) {
                       nCols = std::max(nCols, c + 1);
                       const char end = pos < dwSize ? lpszText[pos] : 0;
                       if (end == '\r' || end == '\n') {
                           nLineEnds = r + 1;
                           bOpenLine = FALSE;
                       } else {
                           bOpenLine = bOpenLine || !field.IsEmpty() || c > 0;
                       }
                       return TRUE;
                   });
    nRows = nLineEnds + (bOpenLine ? 1 : 0);
    return TRUE;
}

BOOL CGXGridEngine::PasteTextFromBuffer(LPCSTR lpszText, DWORD dwSize, const CGXRange& target)
{
    if (m_pParam == nullptr || lpszText == nullptr || !target.IsValid())
        return FALSE;
    CGXLongOperation op;
    op.SetStatusText(GXGetAppState()->sPasting, FALSE);
    CGXLongOperation::SetCanRollback(TRUE);
    TransferCurrentCell();
    OpenBlockCommand(GXGetAppState()->sPaste);
    const BOOL bOldLock = m_pParam->m_bLockUpdate;
    m_pParam->m_bLockUpdate = TRUE;
    CWaitCursor wait;

    const ROWCOL top = target.top, left = target.left;
    ROWCOL lastRow = top, widest = left;
    BOOL bFailed = FALSE, bAbort = FALSE, bStored = FALSE;
    // A target outside a grid that may not grow fails at once.
    if ((top > GetRowCount() && (m_nClipboardFlags & GX_CLIP_NOGROWROWS)) ||
        (left > GetColCount() && (m_nClipboardFlags & GX_CLIP_NOGROWCOLS)))
        bFailed = TRUE;
    else
        WalkTextFields(lpszText, dwSize, PasteSeparators(m_strPasteSeparators),
                       [&](ROWCOL dr, ROWCOL dc, const CString& field, DWORD pos) {
                           const ROWCOL row = top + dr, col = left + dc;
                           if (row > GetRowCount()) {
                               if ((m_nClipboardFlags & GX_CLIP_NOGROWROWS) || !SetRowCount(row, 0)) {
                                   bFailed = !bStored;
                                   return FALSE;
                               }
                           }
                           BOOL bCell = TRUE;
                           if (col > GetColCount())
                               bCell = !(m_nClipboardFlags & GX_CLIP_NOGROWCOLS) && SetColCount(col, 0);
                           if (bCell) {
                               CGXStyle* pStyle = CreateStyle();
                               ComposeCellStyle(row, col, *pStyle);
                               const BOOL ok = PasteTextToCell(row, col, field, GX_INVALIDATE, pStyle);
                               RecycleStyle(pStyle);
                               if (!ok) {
                                   bFailed = TRUE;
                                   return FALSE;
                               }
                               bStored = TRUE;
                               widest = std::max(widest, col);
                           }
                           lastRow = row;
                           CGXLongOperation::SetPercentDone(
                               static_cast<int>(std::min<double>(100.0, static_cast<double>(pos) * 100 / dwSize)));
                           op.ShowProgress(bAbort);
                           if (bAbort) {
                               bFailed = TRUE;
                               return FALSE;
                           }
                           return TRUE;
                       });
    m_pParam->m_bLockUpdate = bOldLock;
    if (bFailed && (!bAbort || CGXLongOperation::GetRollbackConfirmedState()))
        RollbackBlockCommand();
    else
        CloseBlockCommand();
    RedrawRange(top, left, std::max(lastRow, top), widest, GX_INVALIDATE);
    return !bFailed;
}

BOOL CGXGridEngine::PasteStylesFromArchive(CArchive& ar, const CGXRange& target, BOOL bNoAsk)
{
    if (m_pParam == nullptr || !target.IsValid())
        return FALSE;
    CArchiveDocument doc(ar, m_pParam->GetStylesMap());
    // The block comes from outside (the clipboard, another program's drop): it is checked
    // whole before anything changes.
    DWORD R = 0, C = 0;
    CObArray* pArray = nullptr;
    try {
        ar >> R >> C;
        if (R == 0 || C == 0 || R > kMaxBlockSide || C > kMaxBlockSide)
            return FALSE;
        CObject* pOb = ar.ReadObject(RUNTIME_CLASS(CObArray));
        pArray = static_cast<CObArray*>(pOb);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    auto freeArray = [&pArray]() {
        if (pArray == nullptr)
            return;
        for (INT_PTR i = 0; i < pArray->GetSize(); ++i)
            delete pArray->GetAt(i);
        delete pArray;
        pArray = nullptr;
    };
    BOOL bValid = pArray != nullptr && pArray->GetSize() == static_cast<INT_PTR>(R) * C;
    for (INT_PTR i = 0; bValid && i < pArray->GetSize(); ++i) {
        CObject* p = pArray->GetAt(i);
        bValid = p == nullptr || p->IsKindOf(RUNTIME_CLASS(CGXStyle));
    }
    if (!bValid) {
        freeArray();
        return FALSE;
    }
    ROWCOL top = target.top, left = target.left;
    ROWCOL bottom = top + R - 1, right = left + C - 1;
    if (!bNoAsk && (bottom != target.bottom || right != target.right) && !ConfirmPasteSizeMismatch()) {
        freeArray();
        return FALSE;
    }
    OpenBlockCommand(GXGetAppState()->sPaste);
    CGXLongOperation op;
    op.SetStatusText(GXGetAppState()->sPasting, FALSE);
    CGXLongOperation::SetCanRollback(TRUE);
    TransferCurrentCell();

    BOOL ok = TRUE;
    if (bottom > GetRowCount()) {
        if ((m_nClipboardFlags & GX_CLIP_NOGROWROWS) || !SetRowCount(bottom, 0))
            bottom = GetRowCount();
    }
    CPtrArray cellStyles;
    if (right > GetColCount()) {
        if ((m_nClipboardFlags & GX_CLIP_NOGROWCOLS) || !SetColCount(right, 0))
            right = GetColCount();
    }
    if (top > GetRowCount() || left > GetColCount() || bottom < top || right < left) {
        ok = FALSE;
    } else {
        // Row by row, without the entries of cut-off rows and columns.
        const ROWCOL nRows = bottom - top + 1, nCols = right - left + 1;
        cellStyles.SetSize(static_cast<INT_PTR>(nRows) * nCols);
        for (ROWCOL r = 0; r < nRows; ++r)
            for (ROWCOL c = 0; c < nCols; ++c)
                cellStyles.SetAt(static_cast<INT_PTR>(r) * nCols + c, pArray->GetAt(static_cast<INT_PTR>(r) * C + c));
        // Cells that take none of the styles (read-only ones, a store that fails) fail the paste,
        // so that a drag source keeps what did not arrive.
        ok = SetStyleRange(CGXRange(top, left, bottom, right), nullptr, gxCopy, 0, &cellStyles);
    }
    freeArray();
    if (ok) {
        CloseBlockCommand();
    } else if (CGXLongOperation::GetAbortState() && !CGXLongOperation::GetRollbackConfirmedState()) {
        CloseBlockCommand();
    } else {
        RollbackBlockCommand();
    }
    return ok;
}

BOOL CGXGridEngine::GetClipboardBuffer(const CGXRange& target)
{
    const ROWCOL nFirstRow = (m_nClipboardFlags & GX_CLIP_ROWHEADERS) ? 0 : GetHeaderRows() + 1;
    const ROWCOL nFirstCol = (m_nClipboardFlags & GX_CLIP_COLHEADERS) ? 0 : GetHeaderCols() + 1;
    CGXRange range(target);
    range.top = std::max(range.top, nFirstRow);
    range.left = std::max(range.left, nFirstCol);
    const UINT cf = GXGetAppState()->m_cfGridStyles;
    if ((m_nClipboardFlags & GX_CLIP_STYLES) && cf != 0 && ::IsClipboardFormatAvailable(cf)) {
        return PasteStylesFromHandle(::GetClipboardData(cf), range, (m_nClipboardFlags & GX_CLIP_ASKSIZE) == 0);
    }
    if (!(m_nClipboardFlags & GX_CLIP_TEXT))
        return FALSE;
    HANDLE h = ::GetClipboardData(CF_TEXT);
    if (h == nullptr)
        h = ::GetClipboardData(CF_OEMTEXT);
    if (h == nullptr)
        return FALSE;
    LPCSTR p = static_cast<LPCSTR>(::GlobalLock(h));
    if (p == nullptr)
        return FALSE;
    const BOOL ok = PasteTextFromBuffer(p, static_cast<DWORD>(::GlobalSize(h)), range);
    ::GlobalUnlock(h);
    return ok;
}

BOOL CGXGridEngine::ConfirmPasteSizeMismatch()
{
    return AfxMessageBox(GX_IDS_CLIPBOARDSIZE, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

BOOL CGXGridEngine::Paste()
{
    if (!CanPaste())
        return FALSE;
    CGXRangeList list;
    if (!CopySelectedRanges(list, TRUE))
        return FALSE;
    CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr;
    if (pControl != nullptr && pControl->CanPaste() && pControl->Paste())
        return TRUE;
    if (list.GetCount() > 1) {
        AfxMessageBox(GX_IDS_MULTIAREAPASTE, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CGXRange range = *list.GetRangeAt(list.GetHeadPosition());
    range.ExpandToCells(0, 0, GetRowCount(), GetColCount());
    if (!::OpenClipboard(GetGridHwnd()))
        return FALSE;
    const BOOL ok = GetClipboardBuffer(range);
    ::CloseClipboard();
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Command states

BOOL CGXGridEngine::CanCopy()
{
    if (m_pParam == nullptr || ::GetOpenClipboardWindow() != nullptr)
        return FALSE;
    if (!m_pParam->m_selRanges.IsEmpty())
        return TRUE;
    CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr;
    return pControl != nullptr && pControl->CanCopy();
}

BOOL CGXGridEngine::CanCut()
{
    if (m_pParam == nullptr || ::GetOpenClipboardWindow() != nullptr || IsReadOnly())
        return FALSE;
    if (!m_pParam->m_selRanges.IsEmpty())
        return TRUE;
    CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr;
    return pControl != nullptr && pControl->CanCut();
}

BOOL CGXGridEngine::CanPaste()
{
    if (m_pParam == nullptr || (IsReadOnly() && m_pParam->IsLockReadOnly()))
        return FALSE;
    CGXControl* pControl = m_bCurrentCellValid ? GetCurrentCellControl() : nullptr;
    if (pControl != nullptr && pControl->CanPaste())
        return TRUE;
    return GXIsPasteFormatAvailable();
}

BOOL CGXGridEngine::CanClear()
{
    if (m_pParam == nullptr || IsReadOnly())
        return FALSE;
    ROWCOL r, c;
    return !m_pParam->m_selRanges.IsEmpty() || GetCurrentCellPos(r, c);
}
