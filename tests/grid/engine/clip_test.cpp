// Copy, cut, paste and clear through the real clipboard: the text layout, the "Grid Styles"
// block, growth, undo, aborts and damaged blocks.
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>
#include "afxarch.h"
#include "afxfile.h"
#include "afxseam.h"
#include "afxtest.h"
#include "afxwin.h"
#include "Entity.h"
#include "Tokenizer.h"
#include "grid_test_util.h"
#include "gxinit.h"
#include "gxundo.h"
#include "gxutil.h"
#include "gxwnd.h"
#include "shareddata.h"

namespace {

std::string ClipboardBytes(UINT cf)
{
    std::string s;
    if (!::OpenClipboard(nullptr))
        return "<busy>";
    if (HANDLE h = ::GetClipboardData(cf)) {
        const char* p = static_cast<const char*>(::GlobalLock(h));
        s.assign(p, ::GlobalSize(h));
        ::GlobalUnlock(h);
    } else {
        s = "<none>";
    }
    ::CloseClipboard();
    return s;
}

void PutOnClipboard(UINT cf, const std::string& bytes, HWND hOwner)
{
    ASSERT_TRUE(::OpenClipboard(hOwner));
    ::EmptyClipboard();
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(::GlobalLock(h), bytes.data(), bytes.size());
    ::GlobalUnlock(h);
    ::SetClipboardData(cf, h);
    ::CloseClipboard();
}

// The text up to the zero fill.
std::string Text(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

class ClipTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    CGXGridWnd a, b;
    void SetUp() override
    {
        AfxSeamReset();
        CGXLongOperation::SetTicksFirstTime(100000);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "clip", WS_OVERLAPPEDWINDOW, 0, 0, 700, 400, nullptr,
                                   nullptr));
        frame.ShowWindow(SW_SHOW);
        Make(a, 0);
        Make(b, 340);
    }
    void TearDown() override
    {
        CGXLongOperation::SetTicksFirstTime(0);
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    void Make(CGXGridWnd& g, int x)
    {
        ASSERT_TRUE(g.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(x, 0, x + 330, 360), &frame, 1));
        g.InitGrid();
        g.SetRowCount(8);
        g.SetColCount(4);
    }
    // A fresh grid of 8 rows and 4 columns in the frame's left half.
    std::unique_ptr<CGXGridWnd> Fresh(ROWCOL nRows = 8, ROWCOL nCols = 4)
    {
        auto g = std::make_unique<CGXGridWnd>();
        g->Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 330, 360), &frame, 2);
        g->InitGrid();
        g->SetRowCount(nRows);
        g->SetColCount(nCols);
        return g;
    }
    static void Fill(CGXGridEngine& g, std::vector<std::vector<const char*>> rows, ROWCOL top = 1, ROWCOL left = 1)
    {
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                g.SetValueRange(CGXRange(top + r, left + c), rows[r][c]);
    }
    static std::string Cells(CGXGridEngine& g)
    {
        std::string s;
        for (ROWCOL r = 1; r <= g.GetRowCount(); ++r) {
            for (ROWCOL c = 1; c <= g.GetColCount(); ++c)
                s += std::string(c > 1 ? "|" : "") + (LPCSTR)g.GetCellValue(r, c);
            s += "/";
        }
        return s;
    }
    static void Select(CGXGridEngine& g, std::vector<CGXRange> ranges)
    {
        g.SetSelectionRange(nullptr, 0, 0, 0, 0);
        for (const CGXRange& r : ranges)
            g.SelectRange(r);
    }
};
} // namespace

TEST_F(ClipTest, TextWriterTable)
{
    struct Case
    {
        const char* name;
        std::vector<std::vector<const char*>> cells;
        std::vector<CGXRange> ranges;
        const char* text;   // null: nothing written (no cell had a text)
        ROWCOL rows, cols;
    };
    const std::vector<Case> cases = {
        {"one cell is its bare text", {{"a"}}, {CGXRange(1, 1)}, "a", 1, 1},
        {"two cells of a row", {{"a", "b"}}, {CGXRange(1, 1, 1, 2)}, "a\tb\r\n", 1, 2},
        {"a column of two", {{"a"}, {"b"}}, {CGXRange(1, 1, 2, 1)}, "a\r\nb\r\n", 2, 1},
        {"line breaks become spaces", {{"x\ny"}, {"p\r\nq\rr"}}, {CGXRange(1, 1, 2, 1)}, "x y\r\np q r\r\n", 2, 1},
        {"rows 1-2 and 5-6 over columns 1-3",
         {{"11", "12", "13"}, {"21", "22", "23"}, {"31"}, {"41"}, {"51", "52", "53"}, {"61", "", "63"}},
         {CGXRange(1, 1, 2, 3), CGXRange(5, 1, 6, 3)},
         "11\t12\t13\r\n21\t22\t23\r\n51\t52\t53\r\n61\t\t63\r\n", 4, 3},
        {"empty cells write nothing", {{"", ""}}, {CGXRange(1, 1, 1, 2)}, nullptr, 1, 2},
        {"a tab inside a text stays", {{"a\tb", "c"}}, {CGXRange(1, 1, 1, 2)}, "a\tb\tc\r\n", 1, 2},
    };
    for (const Case& k : cases) {
        auto pg = Fresh();
        CGXGridWnd& g = *pg;
        Fill(g, k.cells);
        CGXRangeList list;
        for (const CGXRange& r : k.ranges)
            list.AddTail(new CGXRange(r));
        CMemFile file;
        const BOOL ok = g.WriteRangesAsText(file, list);
        const DWORD n = file.GetLength();
        BYTE* p = file.Detach();
        const std::string got(reinterpret_cast<char*>(p), n);
        free(p);
        EXPECT_EQ(ok, k.text != nullptr) << k.name;
        if (k.text != nullptr) {
            EXPECT_EQ(got, k.text) << k.name;
        }
        EXPECT_EQ(g.m_nLastCopyRows, k.rows) << k.name;
        EXPECT_EQ(g.m_nLastCopyCols, k.cols) << k.name;
    }
}

TEST_F(ClipTest, CopyPutsBothFormatsOnTheClipboard)
{
    Fill(a, {{"a"}});
    a.PlaceCurrentCell(1, 1);
    ASSERT_TRUE(a.Copy());
    EXPECT_EQ(ClipboardBytes(CF_TEXT).substr(0, 2), std::string("a\0", 2));
    // The styles block: rows and columns as two DWORDs, then the object array of one style.
    const std::string styles = ClipboardBytes(GXGetAppState()->m_cfGridStyles);
    ASSERT_GE(styles.size(), 20u);
    EXPECT_EQ(styles.substr(0, 8), Dword(1) + Dword(1));
    EXPECT_EQ(styles.substr(8, 14), std::string("\xFF\xFF\0\0\x08\0CObArray", 14));

    // Another window holding the clipboard open: Copy answers FALSE.
    ASSERT_TRUE(::OpenClipboard(frame.GetSafeHwnd()));
    EXPECT_FALSE(a.Copy());
    EXPECT_FALSE(a.CanCopy());
    ::CloseClipboard();
}

TEST_F(ClipTest, StylesBlockBytesWrittenByHand)
{
    // One cell without a style of its own, not composed: a null entry in the array.
    a.m_nClipboardFlags = GX_CLIP_STYLES;
    CSharedFile file;
    {
        CArchive ar(&file, CArchive::store);
        CGXRangeList list;
        list.AddTail(new CGXRange(2, 2));
        ASSERT_TRUE(a.WriteRangesAsStyles(ar, list, FALSE));
        ar.Close();
    }
    const std::string expected = Dword(1) + Dword(1) + std::string("\xFF\xFF\0\0\x08\0CObArray\x01\0\0\0", 18);
    HGLOBAL h = file.Detach();
    std::string got(static_cast<const char*>(::GlobalLock(h)), expected.size());
    ::GlobalUnlock(h);
    ::GlobalFree(h);
    EXPECT_EQ(got, expected);

    // The same bytes pasted into a cell that has a value clear it (the block holds no style).
    b.SetValueRange(CGXRange(3, 3), "old");
    PutOnClipboard(GXGetAppState()->m_cfGridStyles, expected, b.GetSafeHwnd());
    b.PlaceCurrentCell(3, 3);
    EXPECT_TRUE(b.Paste());
    EXPECT_EQ(std::string(b.GetCellValue(3, 3)), "");
}

TEST_F(ClipTest, PasteTextTable)
{
    struct Case
    {
        const char* name;
        std::string text;
        DWORD flags;
        ROWCOL row, col;
        BOOL ok;
        ROWCOL rows, cols;
        const char* cell34;   // the value of (4, 4) afterwards, or of (3, 3) when null
    };
    const std::vector<Case> cases = {
        {"grows rows and columns", std::string("1\t2\r\n3\t4\r\n\0", 9), 0, 3, 3, TRUE, 4, 4, "4"},
        {"no column growth drops fields, lines go on", std::string("1\t2\r\n3\t4\r\n\0", 9),
         GX_CLIP_NOGROWCOLS, 3, 3, TRUE, 4, 3, nullptr},
        {"no growth at all", std::string("1\t2\r\n3\t4\r\n\0", 9), GX_CLIP_NOGROWCOLS | GX_CLIP_NOGROWROWS, 3,
         3, TRUE, 3, 3, nullptr},
        {"CR LF NUL adds no row", std::string("7\r\n\0", 4), 0, 3, 3, TRUE, 3, 3, nullptr},
        {"last field without terminator", std::string("1\t2\r\n3\t4", 8), 0, 3, 3, TRUE, 4, 4, "4"},
        {"target below a grid that may not grow", std::string("5\0", 2), GX_CLIP_NOGROWROWS, 4, 1, FALSE, 3, 3,
         nullptr},
    };
    for (const Case& k : cases) {
        auto pg = Fresh(3, 3);
        CGXGridWnd& g = *pg;
        g.GetParam()->EmptyUndoList();
        g.m_nClipboardFlags = GX_CLIP_TEXT | k.flags;
        const BOOL ok = g.PasteTextFromBuffer(k.text.data(), static_cast<DWORD>(k.text.size()), CGXRange(k.row, k.col));
        EXPECT_EQ(ok, k.ok) << k.name;
        EXPECT_EQ(g.GetRowCount(), k.rows) << k.name;
        EXPECT_EQ(g.GetColCount(), k.cols) << k.name;
        if (k.cell34 != nullptr) {
            EXPECT_EQ(std::string(g.GetCellValue(4, 4)), k.cell34) << k.name;
        }
        else if (k.ok) {
            EXPECT_EQ(std::string(g.GetCellValue(3, 3)), std::string(1, k.text[0])) << k.name;
        }
        // A failed paste leaves no undo step behind; a successful one is one step.
        EXPECT_EQ(g.GetParam()->GetUndoList().GetCount(), k.ok ? 1 : 0) << k.name;
        EXPECT_EQ(g.GetParam()->m_nUndoCount, 0u) << k.name;
    }
    // The size a text block would fill.
    ROWCOL r = 0, c = 0;
    b.CalcTextBlockSize("1\t2\r\n3\t4\r\n", 10, r, c);
    EXPECT_EQ(r * 10 + c, 22u);
    b.CalcTextBlockSize("a", 1, r, c);
    EXPECT_EQ(r * 10 + c, 11u);
    b.CalcTextBlockSize("a\r\nb\tc\td", 9, r, c);
    EXPECT_EQ(r * 10 + c, 23u);
}

// The size a text block would fill is the block the paste writes, empty trailing lines included:
// the drop frame and the selection after a drop show what arrives.
TEST_F(ClipTest, TextBlockSizeIsWhatThePasteWrites)
{
    const std::vector<std::pair<std::string, ROWCOL>> cases = {
        {std::string("a\r\n\r\n\0", 6), 21},     {std::string("a\r\n\r\n", 5), 21},
        {std::string("\r\n\r\n\0", 5), 21},      {std::string("a\r\n\0", 4), 11},
        {std::string("a\r\n\r\nb\0", 7), 31},    {std::string("a\tb\r\n\r\n\0", 8), 22},
        {std::string("1\t2\r\n3\t4\r\n\0", 11), 22}, {std::string("a\r\n\t\0", 5), 22},
    };
    for (const auto& k : cases) {
        ROWCOL r = 0, c = 0;
        b.CalcTextBlockSize(k.first.data(), static_cast<DWORD>(k.first.size()), r, c);
        EXPECT_EQ(r * 10 + c, k.second) << k.first;
        // The cells the paste writes into a grid full of "x", from (2, 1).
        auto pg = Fresh(8, 4);
        for (ROWCOL row = 1; row <= 8; ++row)
            for (ROWCOL col = 1; col <= 4; ++col)
                pg->SetValueRange(CGXRange(row, col), "x");
        ASSERT_TRUE(pg->PasteTextFromBuffer(k.first.data(), static_cast<DWORD>(k.first.size()), CGXRange(2, 1)));
        ROWCOL rows = 0, cols = 0;
        for (ROWCOL row = 1; row <= 8; ++row)
            for (ROWCOL col = 1; col <= 4; ++col)
                if (std::string(pg->GetCellValue(row, col)) != "x") {
                    rows = std::max(rows, row - 1);
                    cols = std::max(cols, col);
                }
        EXPECT_EQ(rows * 10 + cols, k.second) << k.first;
    }
}

TEST_F(ClipTest, StylesWinOverTextInAnotherGrid)
{
    Fill(a, {{"a", "b"}, {"c", "d"}});
    CGXStyle bold;
    bold.SetInterior(RGB(255, 0, 0));
    a.SetStyleRange(CGXRange(1, 1), &bold, gxApplyNew);
    Select(a, {CGXRange(1, 1, 2, 2)});
    ASSERT_TRUE(a.Copy());
    b.PlaceCurrentCell(5, 3);
    ASSERT_TRUE(b.Paste());
    EXPECT_EQ(Cells(b), "|||/|||/|||/|||/||a|b/||c|d/|||/|||/");
    // Only the styles block carries the interior.
    EXPECT_TRUE(b.GetCellStyle(5, 3).GetIncludeInterior());
    // One undo takes the paste back.
    ASSERT_TRUE(b.Undo());
    EXPECT_EQ(Cells(b), "|||/|||/|||/|||/|||/|||/|||/|||/");

    // A size question with the ask bit: Cancel leaves the grid alone.
    b.m_nClipboardFlags |= GX_CLIP_ASKSIZE;
    AfxSeamAnswer(IDCANCEL);
    EXPECT_FALSE(b.Paste());
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(std::string(AfxSeamCalls()[0].text), "Clipboard size is different from selected range");
    EXPECT_EQ(std::string(b.GetCellValue(5, 3)), "");

    // Two selected areas cannot be pasted into.
    Select(b, {CGXRange(1, 1), CGXRange(3, 3)});
    AfxSeamAnswer(IDOK);
    EXPECT_FALSE(b.Paste());
    EXPECT_EQ(std::string(AfxSeamCalls().back().text), "Pasting is not possible for multi-area selections.");
}

// A styles paste that the cells refuse (read-only cells under the lock) fails, with no undo step.
TEST_F(ClipTest, StylesPasteRefusedByTheCellsFails)
{
    Fill(a, {{"a", "b"}});
    Select(a, {CGXRange(1, 1, 1, 2)});
    ASSERT_TRUE(a.Copy());
    CGXStyle readOnly;
    readOnly.SetReadOnly(TRUE);
    ASSERT_TRUE(b.SetStyleRange(CGXRange(3, 1, 3, 4), &readOnly, gxOverride));
    ASSERT_TRUE(b.GetParam()->m_bLockStructureReadOnly);
    b.GetParam()->EmptyUndoList();
    b.PlaceCurrentCell(3, 2);
    EXPECT_FALSE(b.Paste());
    EXPECT_EQ(Cells(b).substr(0, 12), "|||/|||/|||/");
    EXPECT_EQ(b.GetParam()->GetUndoList().GetCount(), 0);
    EXPECT_EQ(b.GetParam()->m_nUndoCount, 0u);
    // Writable cells take the same block.
    b.PlaceCurrentCell(4, 2);
    EXPECT_TRUE(b.Paste());
    EXPECT_EQ(std::string(b.GetCellValue(4, 3)), "b");
}

TEST_F(ClipTest, MultiAreaCutIsOneUndoStep)
{
    Fill(a, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
    a.GetParam()->EmptyUndoList();
    Select(a, {CGXRange(1, 1), CGXRange(3, 2)});
    ASSERT_TRUE(a.Cut());
    // The areas travel as the cross product of their rows and columns; only they are cleared.
    EXPECT_EQ(Text(ClipboardBytes(CF_TEXT)), "a\tb\r\ne\tf\r\n");
    EXPECT_EQ(Cells(a).substr(0, 16), "|b||/c|d||/e|||/");
    ASSERT_EQ(a.GetParam()->GetUndoList().GetCount(), 1);
    ASSERT_TRUE(a.Undo());
    EXPECT_EQ(Cells(a).substr(0, 18), "a|b||/c|d||/e|f||/");

    // Only the ranges given travel and are cleared, not the selection.
    CGXRangeList list;
    list.AddTail(new CGXRange(2, 2));
    ASSERT_TRUE(a.CutRanges(list, FALSE));
    EXPECT_EQ(Text(ClipboardBytes(CF_TEXT)), "d");
    EXPECT_EQ(Cells(a).substr(0, 17), "a|b||/c|||/e|f||/");
}

TEST_F(ClipTest, DamagedStylesBlocksPasteNothing)
{
    // A valid block of one style, the base of the damaged ones.
    a.SetValueRange(CGXRange(1, 1), "v");
    CSharedFile file;
    {
        CArchive ar(&file, CArchive::store);
        CGXRangeList list;
        list.AddTail(new CGXRange(1, 1));
        ASSERT_TRUE(a.WriteRangesAsStyles(ar, list, FALSE));
        ar.Close();
    }
    HGLOBAL h = file.Detach();
    const std::string valid(static_cast<const char*>(::GlobalLock(h)), ::GlobalSize(h));
    ::GlobalUnlock(h);
    ::GlobalFree(h);
    // A foreign object where a style belongs.
    CSharedFile foreignFile;
    {
        CArchive ar(&foreignFile, CArchive::store);
        ar << DWORD(1) << DWORD(1);
        CObArray arr;
        CGXRangeList ranges;
        arr.Add(&ranges);
        ar.WriteObject(&arr);
        ar.Close();
    }
    h = foreignFile.Detach();
    const std::string foreign(static_cast<const char*>(::GlobalLock(h)), ::GlobalSize(h));
    ::GlobalUnlock(h);
    ::GlobalFree(h);

    const std::vector<std::pair<const char*, std::string>> blocks = {
        {"no rows", Dword(0) + valid.substr(4)},
        {"no columns", Dword(1) + Dword(0) + valid.substr(8)},
        {"rows x columns not the array's size", Dword(2) + valid.substr(4)},
        {"too many rows", Dword(0x10000) + valid.substr(4)},
        {"a foreign class", foreign},
        {"truncated", valid.substr(0, 20)},
        {"only the header", valid.substr(0, 6)},
    };
    const UINT cf = GXGetAppState()->m_cfGridStyles;
    for (const auto& blk : blocks) {
        b.SetValueRange(CGXRange(2, 2), "keep");
        b.GetParam()->EmptyUndoList();
        PutOnClipboard(cf, blk.second, b.GetSafeHwnd());
        b.PlaceCurrentCell(2, 2);
        EXPECT_FALSE(b.Paste()) << blk.first;
        EXPECT_EQ(std::string(b.GetCellValue(2, 2)), "keep") << blk.first;
        EXPECT_EQ(b.GetParam()->GetUndoList().GetCount(), 0) << blk.first;
        EXPECT_EQ(b.GetParam()->m_nUndoCount, 0u) << blk.first;
    }
    // And the valid block pastes.
    PutOnClipboard(cf, valid, b.GetSafeHwnd());
    EXPECT_TRUE(b.Paste());
    EXPECT_EQ(std::string(b.GetCellValue(2, 2)), "v");
}

TEST_F(ClipTest, AbortedClearLeavesNoOpenBlock)
{
    CGXLongOperation::SetTicksFirstTime(0);
    CGXLongOperation::SetTicksContinued(0);
    // The user's answer to the abort question: Retry rolls back, Abort keeps what was done.
    CGXLongOperation::SetAbortConfirmation(TRUE);
    for (BOOL bRollback : {TRUE, FALSE}) {
        Fill(a, {{"a", "b"}, {"c", "d"}});
        a.GetParam()->EmptyUndoList();
        AfxSeamAnswer(bRollback ? IDRETRY : IDABORT);
        CGXRangeList list;
        list.AddTail(new CGXRange(1, 1, 2, 2));
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_FALSE(a.ClearCells(list, FALSE));
        EXPECT_EQ(a.GetParam()->m_nUndoCount, 0u);
        // Rolled back: nothing changed and nothing recorded; else the part done is one step.
        EXPECT_EQ(std::string(a.GetCellValue(1, 1)), bRollback ? "a" : "");
        EXPECT_EQ(std::string(a.GetCellValue(2, 2)), "d");
        EXPECT_EQ(a.GetParam()->GetUndoList().GetCount(), bRollback ? 0 : 1);
        if (!bRollback) {
            ASSERT_TRUE(a.Undo());
            EXPECT_EQ(std::string(a.GetCellValue(1, 1)), "a");
        }
    }
    CGXLongOperation::SetAbortConfirmation(FALSE);
    CGXLongOperation::SetTicksContinued(0);
}

// A real map by other people, when the folder is there: the key/value pairs of every entity of
// e3m5 (a row per pair) copied and pasted into an empty grid arrive identical, through the
// styles block and through the text alone.
TEST_F(ClipTest, RealMapKeyValuesCopyAndPasteIdentical)
{
    CString path = shareddata::Path("maps\\e3m5.map").c_str();
    SKIP_WITHOUT_SHARED_DATA(path);
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead)) << (LPCSTR)path;
    std::string text(file.GetLength(), '\0');
    file.Read(&text[0], static_cast<UINT>(text.size()));
    text.push_back('\0');
    text.push_back('\0');
    std::vector<std::pair<CString, CString>> pairs;
    CTokenizer tok;
    tok.Init(&text[0]);
    int depth = 0;
    while (const char* t = tok.PeekToken()) {
        if (depth == 1 && t[0] == '"') {
            CKeyValue kv(tok);
            pairs.emplace_back(kv.GetKey(), kv.GetValue());
            continue;
        }
        depth += t[0] == '{' ? 1 : t[0] == '}' ? -1 : 0;
        tok.NextToken();
    }
    ASSERT_GT(pairs.size(), 100u);
    a.SetRowCount(static_cast<ROWCOL>(pairs.size()));
    a.SetColCount(2);
    for (size_t i = 0; i < pairs.size(); ++i) {
        a.SetValueRange(CGXRange(static_cast<ROWCOL>(i + 1), 1), pairs[i].first);
        a.SetValueRange(CGXRange(static_cast<ROWCOL>(i + 1), 2), pairs[i].second);
    }
    for (DWORD flags : {DWORD(GX_CLIP_TEXT | GX_CLIP_STYLES), DWORD(GX_CLIP_TEXT)}) {
        auto pg = Fresh(0, 0);
        CGXGridWnd& g = *pg;
        g.m_nClipboardFlags = flags;
        Select(a, {CGXRange().SetTable()});
        ASSERT_TRUE(a.Copy());
        g.PlaceCurrentCell(0, 0);
        ASSERT_TRUE(::OpenClipboard(g.GetSafeHwnd()));
        EXPECT_TRUE(g.GetClipboardBuffer(CGXRange(1, 1)));
        ::CloseClipboard();
        ASSERT_EQ(g.GetRowCount(), a.GetRowCount()) << flags;
        ASSERT_EQ(g.GetColCount(), 2u) << flags;
        size_t differ = 0;
        for (ROWCOL r = 1; r <= a.GetRowCount(); ++r)
            for (ROWCOL c = 1; c <= 2; ++c)
                differ += a.GetCellValue(r, c) != g.GetCellValue(r, c);
        EXPECT_EQ(differ, 0u) << flags;
    }
}
