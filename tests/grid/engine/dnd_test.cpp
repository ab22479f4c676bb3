// Cell drag and drop: where a block lands, moves and copies inside one grid through the target
// operations with a real data source, refusals, the drop-target adapter, and one drag between
// two grid windows by synthesized input through the system's drag loop.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "afxole.h"
#include "afxseam.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include "afxwin.h"
#include "grid_test_util.h"
#include "gxdragdrop.h"
#include "gxinit.h"
#include "gxutil.h"
#include "gxwnd.h"

namespace {

const DWORD kBoth = GX_DND_TEXT | GX_DND_STYLES;

class DndTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CWnd frame;
    CGXGridWnd a, b;
    void SetUp() override
    {
        AfxSeamReset();
        CGXLongOperation::SetTicksFirstTime(100000);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "dnd", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 420,
                                   nullptr, nullptr));
        ::SetForegroundWindow(frame.GetSafeHwnd());
        Make(a, 0);
        Make(b, 490);
    }
    void TearDown() override
    {
        CGXLongOperation::SetTicksFirstTime(0);
        g_bDndInProgress = FALSE;
        g_nDndRows = g_nDndCols = 0;
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        afxtest::PumpMessages();
    }
    void Make(CGXGridWnd& g, int x)
    {
        ASSERT_TRUE(g.Create("CGXGridWnd", nullptr, WS_CHILD | WS_VISIBLE, CRect(x, 0, x + 480, 380), &frame, 1));
        g.InitGrid();
        g.SetRowCount(20);
        g.SetColCount(10);
        // The default width follows the font, which differs from system to system: the cells the
        // tests point at lie inside the window with a width of the tests' own.
        g.SetDefaultColWidth(80);
        g.GetParam()->EmptyUndoList();
        g.m_nDndSourceFlags = kBoth;
        g.m_nDndTargetFlags = kBoth;
    }
    static CPoint Center(CGXGridEngine& g, ROWCOL r, ROWCOL c) { return g.CalcCellRect(r, c).CenterPoint(); }
    // What StartDragDrop sets before the system's drag loop: the block, its ranges and the grab.
    static COleDataSource* BeginDrag(CGXGridEngine& g, CGXRangeList& ranges, const CGXRange& block, ROWCOL grabRow,
                                     ROWCOL grabCol)
    {
        ranges.AddTail(new CGXRange(block));
        COleDataSource* src = new COleDataSource;
        ROWCOL rows = 0, cols = 0;
        EXPECT_TRUE(g.FillDragDataSource(src, ranges, rows, cols));
        CGXGridParam* p = g.GetParam();
        p->m_bDndFromHere = TRUE;
        p->m_pDndRanges = &ranges;
        p->m_nDndBlockTop = block.top;
        p->m_nDndBlockLeft = block.left;
        p->m_nDndGrabRow = grabRow - block.top;
        p->m_nDndGrabCol = grabCol - block.left;
        g_nDndRows = rows;
        g_nDndCols = cols;
        g_bDndInProgress = TRUE;
        return src;
    }
    static void EndDrag(CGXGridEngine& g, COleDataSource* src)
    {
        CGXGridParam* p = g.GetParam();
        p->m_bDndFromHere = FALSE;
        p->m_pDndRanges = nullptr;
        p->m_nDndGrabRow = p->m_nDndGrabCol = 0;
        g_bDndInProgress = FALSE;
        src->InternalRelease();
    }
    static std::string Block(CGXGridEngine& g, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right)
    {
        std::string s;
        for (ROWCOL r = top; r <= bottom; ++r) {
            for (ROWCOL c = left; c <= right; ++c)
                s += std::string(c > left ? "|" : "") + (LPCSTR)g.GetCellValue(r, c);
            s += "/";
        }
        return s;
    }
};
} // namespace

TEST_F(DndTest, TargetGeometryTable)
{
    struct Case
    {
        const char* name;
        BOOL fromHere;
        ROWCOL rows, cols, grabRow, grabCol, rowLock, colLock;
        DWORD flags;
        ROWCOL row, col;      // the cell under the mouse
        BOOL ok;
        ROWCOL outRow, outCol;
    };
    const ROWCOL F = 0xFFFFFFFE;
    const std::vector<Case> cases = {
        {"2x2 grabbed by its lower right", TRUE, 2, 2, 1, 1, F, F, 0, 10, 10, TRUE, 9, 9},
        {"grab larger than the cell: not below 0, raised to 1", TRUE, 3, 3, 2, 2, F, F, 0, 1, 1, TRUE, 1, 1},
        {"whole rows move only vertically", TRUE, 2, 10, 0, 3, F, 1, 0, 7, 6, TRUE, 7, 1},
        {"whole columns only horizontally", TRUE, 20, 2, 0, 0, 1, F, 0, 9, 4, TRUE, 1, 4},
        {"no row growth: 5 rows on the last row", TRUE, 5, 1, 0, 0, F, F, GX_DND_NOGROWROWS, 20, 2, TRUE, 16, 2},
        {"no growth: a block taller than the grid", FALSE, 25, 1, 0, 0, F, F, GX_DND_NOGROWROWS, 20, 2, TRUE, 1, 2},
        {"no column growth", FALSE, 1, 4, 0, 0, F, F, GX_DND_NOGROWCOLS, 3, 9, TRUE, 3, 7},
        {"another grid's block: no grab", FALSE, 2, 2, 1, 1, F, F, 0, 10, 10, TRUE, 10, 10},
        {"header row raised to the first", FALSE, 1, 1, 0, 0, F, F, 0, 0, 3, TRUE, 1, 3},
        {"header row allowed", FALSE, 1, 1, 0, 0, F, F, GX_DND_ROWHEADERS, 0, 3, TRUE, 0, 3},
        {"beyond the rows", FALSE, 1, 1, 0, 0, F, F, 0, 21, 3, FALSE, 0, 0},
    };
    CGXGridParam* p = a.GetParam();
    for (const Case& k : cases) {
        p->m_bDndFromHere = k.fromHere;
        p->m_nDndGrabRow = k.grabRow;
        p->m_nDndGrabCol = k.grabCol;
        p->m_nDndRowLock = k.rowLock;
        p->m_nDndColLock = k.colLock;
        a.m_nDndRows = k.rows;
        a.m_nDndCols = k.cols;
        a.m_nDndTargetFlags = kBoth | k.flags;
        ROWCOL r = k.row, c = k.col;
        EXPECT_EQ(a.CalcDropTarget(r, c), k.ok) << k.name;
        if (k.ok) {
            EXPECT_EQ(std::to_string(r) + "," + std::to_string(c), std::to_string(k.outRow) + "," + std::to_string(k.outCol))
                << k.name;
        }
    }
    // A point gives the feedback's top-left through the drawing of the frame.
    p->m_bDndFromHere = TRUE;
    p->m_nDndGrabRow = p->m_nDndGrabCol = 1;
    p->m_nDndRowLock = p->m_nDndColLock = F;
    a.m_nDndTargetFlags = kBoth;
    a.m_nDndRows = a.m_nDndCols = 2;
    const CPoint pt = Center(a, 6, 3);
    ASSERT_TRUE(a.DrawDragFeedback(pt.x, pt.y, TRUE, TRUE));
    EXPECT_EQ(a.m_nDndRow * 100 + a.m_nDndCol, 502u);
    EXPECT_FALSE(a.m_rcDndFeedback.IsRectEmpty());
    ASSERT_TRUE(a.DrawDragFeedback(0, 0, TRUE, FALSE));
    EXPECT_TRUE(a.m_rcDndFeedback.IsRectEmpty());
    EXPECT_EQ(a.m_nDndRow, 0xFFFFFFFFu);
    p->m_bDndFromHere = FALSE;
    a.m_nDndRows = a.m_nDndCols = 0;
}

TEST_F(DndTest, MoveAndCopyInOneGridAreEachOneUndoStep)
{
    a.SetValueRange(CGXRange(2, 2), "a");
    a.SetValueRange(CGXRange(2, 3), "b");
    a.SetValueRange(CGXRange(3, 2), "c");
    a.SetValueRange(CGXRange(3, 3), "d");
    a.GetParam()->EmptyUndoList();
    for (DWORD keys : {DWORD(0), DWORD(MK_CONTROL)}) {
        CGXRangeList ranges;
        COleDataSource* src = BeginDrag(a, ranges, CGXRange(2, 2, 3, 3), 3, 3);
        COleDataObject data;
        data.Attach(src->GetIDataObject(TRUE));
        // Grabbed by its lower right, the block lands with its top-left one cell up and left.
        const CPoint pt = Center(a, 8, 5);
        const DROPEFFECT over = a.OnDragEnter(&data, keys, pt);
        EXPECT_EQ(over, keys ? DROPEFFECT_COPY : DROPEFFECT_MOVE);
        EXPECT_EQ(a.OnDragScroll(keys, pt), over);
        EXPECT_EQ(a.OnDropEx(), static_cast<DROPEFFECT>(-1));
        // The move is done by the target: the source must not empty the cells again.
        EXPECT_EQ(a.OnDrop(&data, over, pt), DROPEFFECT_NONE);
        EXPECT_EQ(Block(a, 7, 4, 8, 5), "a|b/c|d/");
        EXPECT_EQ(Block(a, 2, 2, 3, 3), keys ? "a|b/c|d/" : "|/|/");
        ROWCOL r, c;
        ASSERT_TRUE(a.GetCurrentCellPos(r, c));
        EXPECT_EQ(r * 100 + c, 704u);
        EXPECT_EQ(a.GetParam()->GetUndoList().GetCount(), 1);
        ASSERT_TRUE(a.Undo());
        EXPECT_EQ(Block(a, 2, 2, 3, 3), "a|b/c|d/");
        EXPECT_EQ(Block(a, 7, 4, 8, 5), "|/|/");
        a.GetParam()->EmptyUndoList();
        EndDrag(a, src);
    }

    // Dropped on its own place: nothing changes and nothing is recorded.
    CGXRangeList ranges;
    COleDataSource* src = BeginDrag(a, ranges, CGXRange(2, 2, 3, 3), 2, 2);
    COleDataObject data;
    data.Attach(src->GetIDataObject(TRUE));
    const CPoint pt = Center(a, 2, 2);
    EXPECT_EQ(a.OnDragEnter(&data, 0, pt), DROPEFFECT_MOVE);
    EXPECT_EQ(a.OnDrop(&data, DROPEFFECT_MOVE, pt), DROPEFFECT_NONE);
    EXPECT_EQ(Block(a, 2, 2, 3, 3), "a|b/c|d/");
    EXPECT_EQ(a.GetParam()->GetUndoList().GetCount(), 0);
    EndDrag(a, src);
}

TEST_F(DndTest, RefusedFormatAnswersScrollAndTheAdapterForwards)
{
    // A format the grid does not take: the enter refuses and every drag-over answers scroll.
    COleDataSource* foreign = new COleDataSource;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, 4);
    foreign->CacheGlobalData(CF_UNICODETEXT, h);
    COleDataObject data;
    data.Attach(foreign->GetIDataObject(TRUE));
    const CPoint pt = Center(b, 3, 3);
    EXPECT_EQ(b.OnDragEnter(&data, 0, pt), DROPEFFECT_NONE);
    EXPECT_EQ(b.OnDragOver(&data, 0, pt), DROPEFFECT_SCROLL);
    EXPECT_EQ(b.OnDragScroll(0, pt), DROPEFFECT_SCROLL);
    EXPECT_EQ(b.OnDrop(&data, DROPEFFECT_MOVE, pt), DROPEFFECT_NONE);
    b.OnDragLeave();
    EXPECT_EQ(b.m_dwDndForcedEffect, 0u);

    // Text from another program through the adapter's drop-target interface, as the system calls it.
    CGXGridDropTarget target;
    ASSERT_TRUE(target.Register(&b, &b));
    IDropTarget* it = target.GetInterface();
    COleDataSource* text = new COleDataSource;
    const char sz[] = "x\ty\r\n";
    HGLOBAL ht = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(sz));
    memcpy(::GlobalLock(ht), sz, sizeof(sz));
    ::GlobalUnlock(ht);
    text->CacheGlobalData(CF_TEXT, ht);
    CPoint screen = Center(b, 4, 2);
    b.ClientToScreen(&screen);
    POINTL ptl = {screen.x, screen.y};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    it->DragEnter(text->GetIDataObject(FALSE), 0, ptl, &effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    it->DragOver(MK_CONTROL, ptl, &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    it->Drop(text->GetIDataObject(FALSE), 0, ptl, &effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(Block(b, 4, 2, 4, 3), "x|y/");
    // The foreign data refused through the adapter too.
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    it->DragEnter(foreign->GetIDataObject(FALSE), 0, ptl, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    it->DragOver(0, ptl, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    it->DragLeave();
    target.Revoke();
    text->InternalRelease();
    foreign->InternalRelease();
}

// Another grid's block that the target's cells refuse does not arrive: the drop answers no
// effect, so the source keeps its cells.
TEST_F(DndTest, ABlockTheTargetRefusesStaysWithTheSource)
{
    a.SetValueRange(CGXRange(2, 2), "a");
    CGXStyle readOnly;
    readOnly.SetReadOnly(TRUE);
    ASSERT_TRUE(b.SetStyleRange(CGXRange(1, 1, 20, 10), &readOnly, gxOverride));
    CGXRangeList ranges;
    COleDataSource* src = BeginDrag(a, ranges, CGXRange(2, 2), 2, 2);
    COleDataObject data;
    data.Attach(src->GetIDataObject(TRUE));
    const CPoint pt = Center(b, 5, 3);
    EXPECT_EQ(b.OnDragEnter(&data, 0, pt), DROPEFFECT_MOVE);
    EXPECT_EQ(b.OnDrop(&data, DROPEFFECT_MOVE, pt), DROPEFFECT_NONE);
    EXPECT_EQ(std::string(b.GetCellValue(5, 3)), "");
    EXPECT_EQ(std::string(a.GetCellValue(2, 2)), "a");
    EndDrag(a, src);
}

// The leading counts of a foreign styles block are bounded as the paste bounds them before they
// size the drop frame: a block the paste would refuse is refused on entering.
TEST_F(DndTest, ForeignBlockSizesAreBoundedLikeThePaste)
{
    const struct
    {
        DWORD rows, cols;
        BOOL ok;
    } cases[] = {{0xFFFFFFFF, 2, FALSE}, {2, 40000, FALSE}, {32768, 1, FALSE}, {32767, 3, TRUE}, {2, 2, TRUE}};
    const CLIPFORMAT cf = static_cast<CLIPFORMAT>(GXGetAppState()->m_cfGridStyles);
    const CPoint pt = Center(b, 3, 3);
    for (const auto& k : cases) {
        COleDataSource* src = new COleDataSource;
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, 8);
        DWORD* p = static_cast<DWORD*>(::GlobalLock(h));
        p[0] = k.rows;
        p[1] = k.cols;
        ::GlobalUnlock(h);
        src->CacheGlobalData(cf, h);
        COleDataObject data;
        data.Attach(src->GetIDataObject(TRUE));
        ROWCOL r = 9, c = 9;
        EXPECT_EQ(b.GetDropBlockSize(&data, r, c), k.ok) << k.rows << "x" << k.cols;
        EXPECT_EQ(std::to_string(r) + "x" + std::to_string(c),
                  k.ok ? std::to_string(k.rows) + "x" + std::to_string(k.cols) : std::string("0x0"));
        if (!k.ok) {
            EXPECT_EQ(b.OnDragEnter(&data, 0, pt), DROPEFFECT_NONE) << k.rows << "x" << k.cols;
            b.OnDragLeave();
        }
        src->InternalRelease();
    }
}

// The system's drag loop with synthesized input: a block dragged by its selection edge from
// one grid window to another moves there; one Undo in each grid takes it back.
TEST_F(DndTest, DragBetweenTwoGridWindowsByInput)
{
    a.SetValueRange(CGXRange(2, 2), "p");
    a.SetValueRange(CGXRange(3, 2), "q");
    a.GetParam()->EmptyUndoList();
    a.m_bDragEnabled = TRUE;
    a.SetDragDataSource(new COleDataSource);
    a.SelectRange(CGXRange(2, 2, 3, 2));
    CGXGridDropTarget ta, tb;
    ASSERT_TRUE(ta.Register(&a, &a));
    ASSERT_TRUE(tb.Register(&b, &b));
    const CRect cell = a.CalcCellRect(2, 2);
    CPoint from(cell.left + 2, cell.CenterPoint().y);
    a.ClientToScreen(&from);
    CPoint to = Center(b, 5, 4);
    b.ClientToScreen(&to);
    afxtest::PumpMessages();
    afxtest::InputScript script;
    script.MoveTo(from).Pause(50).Down().Pause(50).MoveInSteps(CPoint(from.x + 30, from.y), 3).MoveInSteps(to, 8)
        .Pause(100).Up().Pause(100);
    ASSERT_TRUE(script.Run());
    EXPECT_EQ(Block(b, 5, 4, 6, 4), "p/q/");
    EXPECT_EQ(Block(a, 2, 2, 3, 2), "//");
    EXPECT_FALSE(g_bDndInProgress);
    ASSERT_TRUE(b.Undo());
    ASSERT_TRUE(a.Undo());
    EXPECT_EQ(Block(a, 2, 2, 3, 2), "p/q/");
    EXPECT_EQ(Block(b, 5, 4, 6, 4), "//");
    ta.Revoke();
    tb.Revoke();
}

// The start delay of a drag with a start rectangle: a release inside the rectangle cancels, a
// held button starts the drag once the delay has passed on the seam's clock.
TEST_F(DndTest, DragStartWaitsForTheMouseToLeaveOrTheDelay)
{
    a.SetFocus();
    CRect rect(100, 100, 120, 120);
    ::SetCursorPos(110, 110);
    afxtest::PumpMessages();
    ::PostMessageA(a.GetSafeHwnd(), WM_LBUTTONUP, 0, 0);
    DWORD now = 1000;
    AfxSeamSetTickCount([&now]() { return now; });
    EXPECT_FALSE(COleDataSource::WaitForDragStart(rect));
    EXPECT_EQ(::GetCapture(), nullptr);
    AfxSeamSetTickCount([&now]() { return now += 50; });
    EXPECT_TRUE(COleDataSource::WaitForDragStart(rect));
    AfxSeamSetTickCount(nullptr);
}
