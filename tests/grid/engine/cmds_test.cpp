// The command classes: each executes its one grid operation with the values it saved, redraw
// flags 2 and its mode; descriptions; a command frees what it saved.
#include <gtest/gtest.h>
#include <string>
#include "afxseam.h"
#include "afxwin.h"
#include "grid_test_util.h"
#include "gxprop.h"
#include "gxstymap.h"
#include "gxundo.h"

namespace {
std::string g_call;

// An engine that records which operation a command calls, with its arguments.
class CRecordingEngine : public CGXGridEngine
{
public:
    CRecordingEngine() : CGXGridEngine(nullptr) {}
    static std::string N(ROWCOL n) { return std::to_string(n); }
    BOOL Rec(const std::string& s)
    {
        g_call = s;
        return TRUE;
    }
    static std::string Tail(UINT f, int m) { return " f" + std::to_string(f) + " m" + std::to_string(m); }
    BOOL SetRowHeight(ROWCOL a, ROWCOL b, int n, const int* p, UINT f, int m) override
    {
        return Rec("SetRowHeight " + N(a) + "-" + N(b) + " " + std::to_string(n) + " " + std::to_string(p[0]) + Tail(f, m));
    }
    BOOL SetColWidth(ROWCOL a, ROWCOL b, int n, const int* p, UINT f, int m) override
    {
        return Rec("SetColWidth " + N(a) + "-" + N(b) + " " + std::to_string(n) + " " + std::to_string(p[1]) + Tail(f, m));
    }
    BOOL HideRows(ROWCOL a, ROWCOL b, BOOL h, const BOOL* p, UINT f, int m) override
    {
        return Rec("HideRows " + N(a) + "-" + N(b) + " " + std::to_string(h) + " " + std::to_string(p[0]) + Tail(f, m));
    }
    BOOL HideCols(ROWCOL a, ROWCOL b, BOOL h, const BOOL* p, UINT f, int m) override
    {
        return Rec("HideCols " + N(a) + "-" + N(b) + " " + std::to_string(h) + " " + std::to_string(p[0]) + Tail(f, m));
    }
    BOOL SetDefaultRowHeight(int n, UINT f, int m) override { return Rec("SetDefaultRowHeight " + std::to_string(n) + Tail(f, m)); }
    BOOL SetDefaultColWidth(int n, UINT f, int m) override { return Rec("SetDefaultColWidth " + std::to_string(n) + Tail(f, m)); }
    BOOL MoveRows(ROWCOL a, ROWCOL b, ROWCOL d, UINT f, int m) override
    {
        return Rec("MoveRows " + N(a) + "-" + N(b) + ">" + N(d) + Tail(f, m));
    }
    BOOL MoveCols(ROWCOL a, ROWCOL b, ROWCOL d, UINT f, int m) override
    {
        return Rec("MoveCols " + N(a) + "-" + N(b) + ">" + N(d) + Tail(f, m));
    }
    BOOL RemoveRows(ROWCOL a, ROWCOL b, UINT f, int m) override { return Rec("RemoveRows " + N(a) + "-" + N(b) + Tail(f, m)); }
    BOOL RemoveCols(ROWCOL a, ROWCOL b, UINT f, int m) override { return Rec("RemoveCols " + N(a) + "-" + N(b) + Tail(f, m)); }
    BOOL InsertRows(ROWCOL a, ROWCOL n, const int* p, const CObArray* c, const CObArray* r, ROWCOL w, UINT f,
                    int m) override
    {
        return Rec("InsertRows " + N(a) + "+" + N(n) + " " + std::to_string(p[0]) + " " + N(c->GetSize()) + " " +
                   N(r->GetSize()) + " " + N(w) + Tail(f, m));
    }
    BOOL InsertCols(ROWCOL a, ROWCOL n, const int* p, const CObArray* c, const CObArray* r, ROWCOL w, UINT f,
                    int m) override
    {
        return Rec("InsertCols " + N(a) + "+" + N(n) + " " + std::to_string(p[0]) + " " + N(c->GetSize()) + " " +
                   N(r->GetSize()) + " " + N(w) + Tail(f, m));
    }
    BOOL SetCoveredCells(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r, UINT f, int m) override
    {
        return Rec("SetCoveredCells " + N(t) + "," + N(l) + "-" + N(b) + "," + N(r) + Tail(f, m));
    }
    BOOL SetStyleRange(const CGXRange& range, const CGXStyle* pStyle, int nMode, int nType, const CPtrArray* p,
                       UINT f, int m) override
    {
        return Rec("SetStyleRange " + N(range.top) + "," + N(range.left) + (pStyle ? " style" : " none") + " op" +
                   std::to_string(nMode) + " t" + std::to_string(nType) + " n" + N(p->GetSize()) + Tail(f, m));
    }
    BOOL SetFrozenRows(ROWCOL n, ROWCOL h, UINT f, int m) override { return Rec("SetFrozenRows " + N(n) + "/" + N(h) + Tail(f, m)); }
    BOOL SetFrozenCols(ROWCOL n, ROWCOL h, UINT f, int m) override { return Rec("SetFrozenCols " + N(n) + "/" + N(h) + Tail(f, m)); }
    BOOL MoveDataRows(const CGXRange& r, const CDWordArray& o, UINT f, int m) override
    {
        return Rec("MoveDataRows " + N(r.top) + " " + N(o.GetSize()) + Tail(f, m));
    }
    BOOL MoveDataCols(const CGXRange& r, const CDWordArray& o, UINT f, int m) override
    {
        return Rec("MoveDataCols " + N(r.left) + " " + N(o.GetSize()) + Tail(f, m));
    }
    BOOL ChangeStylesMap(const CGXStylesMap& map, UINT f, int m) override
    {
        return Rec("ChangeStylesMap " + N(map.GetStyleCount()) + Tail(f, m));
    }
    BOOL ChangeProperties(const CGXProperties& p, UINT f, int m) override
    {
        return Rec("ChangeProperties " + N(p.GetColorCount() > 0) + Tail(f, m));
    }
    BOOL ChangeBaseStyle(WORD id, const CGXStyle& s, int op, UINT f, int m) override
    {
        return Rec("ChangeBaseStyle " + N(id) + " " + std::string((LPCSTR)s.GetValue()) + " op" + std::to_string(op) + Tail(f, m));
    }
};

// A style that counts the live objects of its class.
class CCountedStyle : public CGXStyle
{
public:
    CCountedStyle() { ++s_nLive; }
    ~CCountedStyle() override { --s_nLive; }
    static int s_nLive;
};
int CCountedStyle::s_nLive = 0;

template <class T> T* Array(std::initializer_list<T> v)
{
    T* a = new T[v.size()];
    std::copy(v.begin(), v.end(), a);
    return a;
}

CObArray* Styles(int n)
{
    auto* a = new CObArray;
    for (int i = 0; i < n; ++i)
        a->Add(i % 2 == 0 ? new CCountedStyle : nullptr);
    return a;
}
} // namespace

TEST(CommandClasses, EachExecutesItsOperationWithItsValues)
{
    CProfileTestRoot root;
    AfxSeamReset();
    CRecordingEngine e;
    e.InitObjects();
    CGXStyle base;
    base.SetValue("old");
    CDWordArray order;
    order.SetSize(3);
    auto* styles = new CPtrArray;
    styles->Add(new CGXStyle);
    styles->Add(nullptr);
    struct Row
    {
        CGXCommand* cmd;
        const char* call;
        const char* description;
    } rows[] = {
        {new CGXSetRowHeightCmd(2, 3, Array<int>({25, 30})), "SetRowHeight 2-3 0 25 f2 m2", "Change Row Heights"},
        {new CGXSetColWidthCmd(4, 5, Array<int>({60, 70})), "SetColWidth 4-5 0 70 f2 m2", "Change Column Widths"},
        {new CGXHideRowsCmd(1, 1, Array<BOOL>({TRUE})), "HideRows 1-1 0 1 f2 m2", "Hide Rows"},
        {new CGXHideColsCmd(2, 2, Array<BOOL>({FALSE})), "HideCols 2-2 0 0 f2 m2", "Hide Columns"},
        {new CGXSetDefaultRowHeightCmd(22), "SetDefaultRowHeight 22 f2 m2", "Change Default Row Height"},
        {new CGXSetDefaultColWidthCmd(77), "SetDefaultColWidth 77 f2 m2", "Change Default Column Width"},
        {new CGXMoveRowsCmd(5, 6, 2), "MoveRows 5-6>2 f2 m2", "Move Rows"},
        {new CGXMoveColsCmd(1, 1, 3), "MoveCols 1-1>3 f2 m2", "Move Columns"},
        {new CGXRemoveRowsCmd(3, 4), "RemoveRows 3-4 f2 m2", "Removing rows ..."},
        {new CGXRemoveColsCmd(2, 3), "RemoveCols 2-3 f2 m2", "Removing columns ..."},
        {new CGXInsertRowsCmd(3, 2, Array<int>({19, 20}), Styles(12), Styles(2), 6), "InsertRows 3+2 19 12 2 6 f2 m2",
         "Insert Rows"},
        {new CGXInsertColsCmd(2, 1, Array<int>({50}), Styles(9), Styles(1), 9), "InsertCols 2+1 50 9 1 9 f2 m2",
         "Insert Columns"},
        {new CGXSetCoveredCellsCmd(1, 2, 3, 4), "SetCoveredCells 1,2-3,4 f2 m2", "Cover Cells"},
        {new CGXSetStyleRangeCmd(CGXRange(2, 3, 2, 4), 0, styles), "SetStyleRange 2,3 none op2 t0 n2 f2 m2", "Cells"},
        {new CGXSetFrozenRowsCmd(2, 1), "SetFrozenRows 2/1 f2 m2", "Freeze Rows"},
        {new CGXSetFrozenColsCmd(3, 0), "SetFrozenCols 3/0 f2 m2", "Freeze Columns"},
        {new CGXMoveDataRowsCmd(new CDWordArray, CGXRange(4, 1, 6, 5)), "MoveDataRows 4 0 f2 m2", "Sort Rows"},
        {new CGXMoveDataColsCmd(new CDWordArray, CGXRange(1, 2, 5, 3)), "MoveDataCols 2 0 f2 m2", "Sort Columns"},
        {new CGXChangeStylesMapCmd(*e.GetParam()->GetStylesMap()), "ChangeStylesMap 3 f2 m2", "Styles Map Changes"},
        {new CGXChangePropertiesCmd(*e.GetParam()->GetProperties()), "ChangeProperties 1 f2 m2", "Property Settings"},
        {new CGXChangeBaseStyleCmd(7, base, "My Style"), "ChangeBaseStyle 7 old op2 f2 m2", "My Style"},
    };
    EXPECT_EQ(sizeof(rows) / sizeof(rows[0]), 21u);
    for (const Row& r : rows) {
        g_call.clear();
        EXPECT_TRUE(r.cmd->Execute(&e, gxUndo)) << r.call;
        EXPECT_EQ(g_call, r.call);
        EXPECT_STREQ((LPCSTR)r.cmd->GetDescription(), r.description);
        delete r.cmd;
    }
    EXPECT_EQ(CCountedStyle::s_nLive, 0);
    // An unnamed block is "Block".
    CGXBlockCmd block(nullptr);
    EXPECT_STREQ((LPCSTR)block.GetDescription(), "Block");
}

// A command that never ran frees every style it saved.
TEST(CommandClasses, ANeverExecutedInsertFreesWhatItSaved)
{
    {
        CGXInsertRowsCmd cmd(1, 3, Array<int>({1, 2, 3}), Styles(18), Styles(3), 6);
        EXPECT_EQ(CCountedStyle::s_nLive, 9 + 2);
    }
    EXPECT_EQ(CCountedStyle::s_nLive, 0);
}
