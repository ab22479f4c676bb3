#include <gtest/gtest.h>
#include "afxseam.h"
#include "afxwin.h"
#include "grid_test_util.h"
#include "gxinit.h"
#include "gxresrc.h"
#include "gxutil.h"

namespace {
// An engine without a window, its objects made.
class EngineTest : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CGXGridEngine grid{nullptr};
    void SetUp() override
    {
        AfxSeamReset();
        // Progress would pump messages after every cell of the large ranges.
        CGXLongOperation::SetTicksFirstTime(2000);
        CGXLongOperation::SetTicksContinued(500);
        grid.InitObjects();
        grid.GetParam()->GetData()->StoreRowCount(10);
        grid.GetParam()->GetData()->StoreColCount(5);
    }
    CGXStyle Value(LPCSTR v)
    {
        CGXStyle s;
        s.SetValue(v);
        return s;
    }
    CGXStylesMap* Map() { return grid.GetParam()->GetStylesMap(); }
};
} // namespace

TEST_F(EngineTest, InitObjectsMakesOnlyWhatIsMissing)
{
    CGXGridParam* param = grid.GetParam();
    ASSERT_NE(param, nullptr);
    CGXStylesMap* map = param->GetStylesMap();
    CGXData* data = param->GetData();
    CGXProperties* props = param->GetProperties();
    ASSERT_TRUE(map && data && props);
    EXPECT_TRUE(param->m_bInitialised);
    EXPECT_EQ(props->GetUserProperty(51005).GetValue(), "Invert Thin.");
    grid.PlaceCurrentCell(2, 3);
    grid.InitObjects();
    EXPECT_EQ(param->GetStylesMap(), map);
    EXPECT_EQ(param->GetData(), data);
    EXPECT_EQ(param->GetProperties(), props);
    EXPECT_TRUE(grid.IsCurrentCellAt(2, 3));
    // The standard style's control came from the factory.
    EXPECT_NE(grid.GetDefaultControl(), nullptr);
}

TEST_F(EngineTest, SharedParameterObjectsAreUsedUnchanged)
{
    CGXGridParam* shared = new CGXGridParam;
    CGXData* data = new CGXData;
    shared->SetData(data, TRUE);
    shared->m_nFrozenRows = 2;
    CGXGridEngine other(nullptr);
    other.SetParam(shared, TRUE);
    other.InitObjects();
    EXPECT_EQ(shared->GetData(), data);
    EXPECT_NE(shared->GetStylesMap(), nullptr);
    EXPECT_EQ(other.m_nTopRow, 3u);
}

TEST_F(EngineTest, GridRectZoomAndReadOnly)
{
    CRect r;
    grid.SetGridRect(TRUE, CRect(10, 10, 5, 5));
    grid.GetGridRect(&r);
    EXPECT_TRUE(r.IsRectNull());
    grid.SetGridRect(FALSE);

    grid.SetZoom(150);
    EXPECT_EQ(grid.GetZoom(), 150);
    grid.SetPrinting(TRUE);
    EXPECT_EQ(grid.GetZoom(), 100);
    EXPECT_TRUE(grid.GetParam()->GetProperties()->GetPrinting());
    grid.SetPrinting(FALSE);
    grid.GetParam()->m_bNoZoom = TRUE;
    EXPECT_EQ(grid.GetZoom(), 100);

    EXPECT_FALSE(grid.IsReadOnly());
    grid.SetReadOnly(TRUE);
    EXPECT_TRUE(grid.IsReadOnly());
    EXPECT_FALSE(grid.SetValueRange(CGXRange(1, 1), "x"));   // the read-only lock refuses
    grid.GetParam()->m_bLockStructureReadOnly = FALSE;
    EXPECT_TRUE(grid.SetValueRange(CGXRange(1, 1), "x"));
}

TEST_F(EngineTest, SetParamWithTheSameObjectOnlyChangesOwnership)
{
    CGXGridParam* param = grid.GetParam();
    grid.SetParam(param, FALSE);
    EXPECT_EQ(grid.GetParam(), param);
    EXPECT_NO_THROW(param->GetStylesMap()->GetStyleCount());   // still alive
    grid.SetParam(param, TRUE);

    // A new parameter object brings its own base styles into composition.
    CGXGridParam* other = new CGXGridParam;
    CGXStylesMap* map = new CGXStylesMap;
    map->CreateStandardStyles();
    CGXStyle* std = nullptr;
    map->LookupStyle(map->GetStandardStyleId(), std);
    std->SetValue("from the new map");
    other->SetStylesMap(map);
    other->SetData(new CGXData);
    grid.SetParam(other, TRUE);
    EXPECT_EQ(grid.GetCellValue(1, 1), "from the new map");
}

TEST_F(EngineTest, LoadingTheParametersBringsTheirBaseStyles)
{
    // Parameters stored with a standard style of their own...
    CGXGridParam stored;
    CGXStylesMap* map = new CGXStylesMap;
    map->CreateStandardStyles();
    CGXStyle* std = nullptr;
    map->LookupStyle(map->GetStandardStyleId(), std);
    std->SetValue("loaded");
    stored.SetStylesMap(map);
    stored.SetData(new CGXData);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        stored.Serialize(ar);
    }
    EXPECT_EQ(grid.GetCellValue(1, 1), "");
    // ...loaded into the grid's own parameter object replace its styles map.
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        grid.GetParam()->Serialize(ar);
    }
    EXPECT_EQ(grid.GetCellValue(1, 1), "loaded");
    EXPECT_EQ(grid.GetCellStyle(2, 2).GetValue(), "loaded");
}

// A styles map replaced by another at the very address the engine saw (here the same object,
// refilled while it was out of the parameters) is noticed: the engine compares the parameter's
// change stamp, so its base style pointers never stay on freed styles.
TEST_F(EngineTest, AStylesMapReplacedAtTheSameAddressIsNoticed)
{
    CGXGridParam* param = grid.GetParam();
    CGXStylesMap* own = param->GetStylesMap();
    EXPECT_EQ(grid.GetCellValue(1, 1), "");   // the base style pointers are read
    param->SetStylesMap(own, FALSE);           // held by the test for a moment
    CGXStylesMap other;
    other.CreateStandardStyles();
    param->SetStylesMap(&other, FALSE);
    CGXStylesMap changed;
    changed.CreateStandardStyles();
    CGXStyle* pChanged = nullptr;
    changed.LookupStyle(changed.GetStandardStyleId(), pChanged);
    pChanged->SetValue("replaced");
    *own = changed;                            // its old styles are freed
    param->SetStylesMap(own, TRUE);            // back where the engine saw a map before
    EXPECT_EQ(grid.GetCellValue(1, 1), "replaced");
    CGXStyle* pStandard = nullptr;
    own->LookupStyle(own->GetStandardStyleId(), pStandard);
    EXPECT_EQ(grid.GetStandardStyle(), pStandard);

    // Loading parameters replaces the map too; the loaded one's styles are the ones used.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        param->Serialize(ar);
    }
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        param->Serialize(ar);
    }
    ASSERT_NE(param->GetStylesMap(), nullptr);
    param->GetStylesMap()->LookupStyle(param->GetStylesMap()->GetStandardStyleId(), pStandard);
    EXPECT_EQ(grid.GetCellValue(1, 1), "replaced");
    EXPECT_EQ(grid.GetStandardStyle(), pStandard);
}

TEST_F(EngineTest, CompositionOrder)
{
    CGXStyle table = Value("table"), col = Value("col"), row = Value("row"), cell = Value("cell");
    grid.SetStyleRange(CGXRange().SetTable(), &table, gxOverride);
    EXPECT_EQ(grid.GetCellValue(3, 3), "table");
    grid.SetStyleRange(CGXRange().SetCols(3), &col, gxOverride);
    EXPECT_EQ(grid.GetCellValue(3, 3), "col");
    grid.SetStyleRange(CGXRange().SetRows(3), &row, gxOverride);
    EXPECT_EQ(grid.GetCellValue(3, 3), "row");
    grid.SetValueRange(CGXRange(3, 3), "cell");
    EXPECT_EQ(grid.GetCellValue(3, 3), "cell");

    // Base styles come after the stored layers, the standard style last.
    CGXStyle base;
    base.SetTextColor(RGB(1, 2, 3)).SetValue("base");
    WORD id = Map()->RegisterStyle("Base", base);
    CGXStyle useBase;
    useBase.SetBaseStyle(id);
    grid.SetStyleRange(CGXRange(4, 4), &useBase, gxOverride);
    const CGXStyle& s = grid.GetCellStyle(4, 4);
    EXPECT_EQ(s.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(s.GetValue(), "table");   // the table's value came before the base style
    EXPECT_EQ(s.GetControl(), 52512u);  // from the standard style

    // Header cells: letters and numbers, none for the corner, header styles.
    EXPECT_EQ(grid.GetCellValue(0, 27), "AA");
    EXPECT_EQ(grid.GetCellValue(7, 0), "7");
    EXPECT_EQ(grid.GetCellValue(0, 0), "");
    EXPECT_EQ(grid.GetCellStyle(0, 2).GetControl(), 52520u);
    EXPECT_EQ(grid.GetCellStyle(0, 2).GetHorizontalAlignment(), (DWORD)DT_CENTER);
    grid.GetParam()->m_bLetterColHeaders = FALSE;
    EXPECT_EQ(grid.GetCellValue(0, 27), "");
    // The table style does not reach the headers.
    EXPECT_EQ(grid.GetCellValue(7, 0), "7");

    // Header rows are composed like row 0: no column or table style.
    EXPECT_EQ(grid.GetCellValue(2, 3), "col");
    grid.GetParam()->m_nFrozenRowsExtra = 3;
    EXPECT_EQ(grid.GetCellValue(2, 3), "");
    EXPECT_EQ(grid.GetCellStyle(2, 3).GetControl(), 52520u);
}

TEST_F(EngineTest, StylesGoThroughTheCellsControl)
{
    CGXStyle s = Value("v");
    s.SetControl(52513);
    ASSERT_TRUE(grid.SetStyleRange(CGXRange(1, 1, 1, 2), &s, gxOverride));
    auto* c = static_cast<CRecordingControl*>(grid.GetControlForId(52513));
    ASSERT_NE(c, nullptr);
    ASSERT_GE(c->m_calls.size(), 2u);
    EXPECT_EQ(c->m_calls[0], "StoreStyle 1,1 mode 0");
    EXPECT_EQ(c->m_calls[1], "StoreStyle 1,2 mode 0");
}

TEST_F(EngineTest, UndoStylesRestoreCellsWithoutStyles)
{
    grid.SetValueRange(CGXRange(1, 1), "was");
    CPtrArray styles;
    CGXStyle old = Value("restored");
    styles.Add(&old);      // (1, 1) gets its old style back
    styles.Add(nullptr);   // (1, 2) had none
    grid.SetValueRange(CGXRange(1, 2), "new");
    grid.SetStyleRange(CGXRange(1, 1, 1, 2), nullptr, gxCopy, 0, &styles, GX_UPDATENOW, gxUndo);
    EXPECT_EQ(grid.GetCellValue(1, 1), "restored");
    CGXStyle stored;
    EXPECT_FALSE(grid.ReadCellStyle(1, 2, stored));
}

TEST_F(EngineTest, TooLargeForUndoAsksFirst)
{
    CGXStyle v = Value("x");
    AfxSeamAnswer(IDCANCEL);
    EXPECT_FALSE(grid.SetStyleRange(CGXRange().SetRows(1, 40000), &v, gxOverride));
    ASSERT_EQ(AfxSeamCalls().size(), 1u);
    EXPECT_EQ(AfxSeamCalls()[0].text, "Operation is too large for the undo buffer. Do you want to continue?");
    CGXStyle stored;
    EXPECT_FALSE(grid.ReadCellStyle(1, 0, stored, gxCopy, -1));
    AfxSeamAnswer(IDOK);
    EXPECT_TRUE(grid.SetStyleRange(CGXRange().SetRows(1, 40000), &v, gxOverride));
    EXPECT_TRUE(grid.ReadCellStyle(39999, 0, stored, gxCopy, -1));
    // Without undo nothing is asked.
    grid.GetParam()->EnableUndo(FALSE);
    EXPECT_TRUE(grid.SetStyleRange(CGXRange().SetRows(1, 40000), &v, gxOverride));
    EXPECT_EQ(AfxSeamCalls().size(), 2u);
}

TEST_F(EngineTest, ControlRegistry)
{
    CGXControl* def = grid.GetDefaultControl();
    EXPECT_EQ(grid.GetControlForId(0), def);
    EXPECT_EQ(grid.GetControlForId(60000), def);   // neither registered nor made
    CGXControl* c13 = grid.GetControlForId(52513);
    ASSERT_NE(c13, def);
    EXPECT_EQ(grid.GetControlForId(52513), c13);

    // Replacing the cached control gives the new one and forgets the old everywhere.
    grid.m_pCurrentControl = c13;
    int live = CRecordingControl::s_nLive;
    CRecordingControl* repl = new CRecordingControl(&grid, 52513);
    grid.SetControlForId(52513, repl);
    EXPECT_EQ(CRecordingControl::s_nLive, live);   // one made, one deleted
    EXPECT_EQ(grid.GetControlForId(52513), repl);
    EXPECT_EQ(grid.m_pCurrentControl, nullptr);

    // The same object again only changes its flags.
    grid.SetControlForId(52513, repl, TRUE);
    EXPECT_EQ(CRecordingControl::s_nLive, live);
    EXPECT_EQ(grid.GetDefaultControl(), repl);
    // Replacing the default control leaves no dangling default.
    grid.SetControlForId(52513, new CRecordingControl(&grid, 52513));
    EXPECT_NE(grid.GetDefaultControl(), repl);
    EXPECT_NE(grid.GetDefaultControl(), nullptr);
}

TEST_F(EngineTest, BaseStylesMapsAndProperties)
{
    EXPECT_THROW(
        {
            try {
                grid.ChangeBaseStyle(999, CGXStyle());
            } catch (CNotSupportedException* e) {
                e->Delete();
                throw 1;
            }
        },
        int);
    CGXStyle blue;
    blue.SetTextColor(RGB(0, 0, 255));
    EXPECT_TRUE(grid.ChangeBaseStyle(Map()->GetStandardStyleId(), blue));
    EXPECT_EQ(grid.GetCellStyle(2, 2).GetTextColor(), RGB(0, 0, 255));

    CGXStylesMap replacement;
    replacement.CreateStandardStyles();
    EXPECT_TRUE(grid.ChangeStylesMap(replacement));
    EXPECT_NE(grid.GetCellStyle(2, 2).GetTextColor(), RGB(0, 0, 255));

    CGXProperties props;
    props.SetZoom(120);
    EXPECT_TRUE(grid.ChangeProperties(props));
    EXPECT_EQ(grid.GetParam()->GetProperties()->GetZoom(), 120);
    grid.SetReadOnly(TRUE);
    EXPECT_FALSE(grid.ChangeProperties(props));
    EXPECT_FALSE(grid.ChangeStylesMap(replacement));
}

TEST_F(EngineTest, MaxLengthCutsTypedText)
{
    CGXStyle limit;
    limit.SetMaxLength(3);
    grid.SetStyleRange(CGXRange(2, 2), &limit, gxOverride);
    CGXControl* c = grid.GetControlForId(52513);
    EXPECT_TRUE(c->SetCellText(2, 2, "abcdef", GX_UPDATENOW, nullptr));
    EXPECT_EQ(grid.GetCellValue(2, 2), "abc");
    EXPECT_EQ(grid.GetPreparedStyle(), nullptr);
}

namespace {
// A control that holds an editing state: active, modified, with typed text.
class CEditingControl : public CRecordingControl
{
public:
    explicit CEditingControl(CGXGridEngine* pGrid) : CRecordingControl(pGrid, 52513) {}
    void SetActive(BOOL bActive) override { m_bActive = bActive; }
    BOOL IsActive() override { return m_bActive; }
    void SetModify(BOOL bModified) override { m_bModified = bModified; }
    BOOL GetModify() override { return m_bModified; }
    void GetValue(CString& strResult) override { strResult = m_strText; }
    BOOL m_bActive = FALSE;
    BOOL m_bModified = FALSE;
    CString m_strText;
};
} // namespace

// Removing the current cell's style starts its control over; a reset control leaves no composed
// style of the cell behind; a refused value leaves the cell's warning for the user.
TEST_F(EngineTest, ControlsStartOverForgetTheComposedStyleAndLeaveTheirWarning)
{
    auto* pControl = new CEditingControl(&grid);
    grid.SetControlForId(52513, pControl);
    CGXStyle cell;
    cell.SetValue("5").SetUserAttribute(GX_IDS_UA_VALID_MIN, "10").SetUserAttribute(GX_IDS_UA_VALID_MSG,
                                                                                      "At least 10, please.");
    grid.SetStyleRange(CGXRange(2, 2), &cell, gxOverride);
    grid.PlaceCurrentCell(2, 2);
    pControl->Init(2, 2);
    pControl->SetActive(TRUE);

    // A value below the minimum is refused and the warning text is set.
    pControl->m_bModified = TRUE;
    pControl->m_strText = "5";
    EXPECT_FALSE(pControl->OnValidate());
    EXPECT_EQ(grid.GetWarningText(), "At least 10, please.");
    pControl->m_strText = "12";
    grid.SetTextField(nullptr);
    EXPECT_TRUE(pControl->OnValidate());
    EXPECT_EQ(grid.GetWarningText(), "");

    // The style of the current cell removed while the control holds it: Init.
    pControl->m_calls.clear();
    EXPECT_TRUE(pControl->StoreStyle(2, 2, nullptr, gxRemove, 0, &cell));
    ASSERT_FALSE(pControl->m_calls.empty());
    EXPECT_EQ(pControl->m_calls.back(), "Init 2,2");

    // Reset: the engine composes the current cell's style afresh afterwards.
    EXPECT_EQ(grid.GetCellStyle(2, 2).GetValue(), "");
    CGXStyle stored = Value("stored behind the engine's back");
    grid.GetParam()->GetData()->StoreStyleRowCol(2, 2, &stored, gxOverride);
    pControl->Reset();
    EXPECT_EQ(grid.GetCellStyle(2, 2).GetValue(), "stored behind the engine's back");
}
