// The toolbar's layout on a small model of button widths, its button list, the saved "Buttons"
// bytes and the toolbar resource.
#include "afxtest.h"
#include "afxwndtest.h"
#include "SECToolBarMgr.h"
#include "toolbar_test_ids.h"

using afxtest::Text;

namespace {

typedef SECCustomToolBar::Row Row;

// A toolbar without a window whose buttons have the given widths (8: a separator).
class ModelBar : public SECCustomToolBar
{
public:
    explicit ModelBar(std::vector<int> widths = {})
    {
        m_cxImage = 16;
        m_cyImage = 15;
        m_dwStyle = CBRS_SIZE_DYNAMIC;
        SetWidths(widths);
    }
    void SetWidths(const std::vector<int>& widths)
    {
        std::vector<UINT> ids;
        for (size_t i = 0; i < widths.size(); i++)
            ids.push_back(widths[i] == 8 ? 0 : (UINT)(100 + i));
        SetButtons(ids.data(), (int)ids.size());
        for (size_t i = 0; i < widths.size(); i++)
            m_btns[i]->m_cx = widths[i];
    }
    std::vector<UINT> IDs() const
    {
        std::vector<UINT> ids;
        for (auto* pBtn : m_btns)
            ids.push_back(pBtn->m_nID);
        return ids;
    }
};

std::string RowsText(const std::vector<Row>& rows)
{
    std::string s;
    for (const Row& row : rows)
        s += "[" + std::to_string(row.nLast) + (row.bSeparator ? "s " : " ") + std::to_string(row.nWidth) + "]";
    return s;
}

TEST(ToolBarLayout, WrappingBreaksAtSeparatorsAndKeepsOversizeButtons)
{
    struct Case
    {
        std::vector<int> widths;
        int nWrap;
        const char* rows;
        int cy;     // height of the rows
    } cases[] = {
        {{}, 50, "", 0},
        {{23, 23, 23}, 100, "[2 69]", 22},
        {{23, 23, 8, 23, 23}, 50, "[2s 46][4 46]", 22 + 5 + 22},        // the next row never starts with it
        {{23, 23, 23}, 50, "[1 46][2 23]", 44},                          // no separator: before the button
        {{23, 8, 23, 23, 23}, 70, "[1s 23][4 69]", 49},                  // back to the last separator
        {{60, 23}, 30, "[1 83]", 22},                                    // oversize first button stays
        {{23, 23, 8}, 46, "[2s 46]", 27},                                 // a last separator ends the row
    };
    for (const Case& c : cases) {
        ModelBar bar(c.widths);
        std::vector<Row> rows;
        bar.WrapToolBar(c.nWrap, rows);
        EXPECT_EQ(RowsText(rows), c.rows) << c.nWrap;
        EXPECT_EQ(bar.SizeOfRows(rows).cy, c.cy) << c.rows;
    }
}

TEST(ToolBarLayout, VerticalSizingFindsTheRowsThatFitTheLength)
{
    struct Case
    {
        int nLength;
        const char* size;
        const char* rows;
    } cases[] = {
        {44, "69x44", "[2 69][5 69]"},      // two rows of three
        {30, "138x22", "[5 138]"},          // narrowing would need a second row
        {100, "46x66", "[1 46][3 46][5 46]"},   // widened until it fits
        {0, "138x22", "[5 138]"},           // no row count: one row
    };
    for (const Case& c : cases) {
        ModelBar bar({23, 23, 23, 23, 23, 23});
        std::vector<Row> rows;
        EXPECT_EQ(Text(bar.SizeToolBar(c.nLength, TRUE, &rows)), c.size) << c.nLength;
        EXPECT_EQ(RowsText(rows), c.rows) << c.nLength;
        // Every row but the last ends with a wrapped button.
        int nWrapped = 0;
        for (int i = 0; i < bar.GetButtonCount(); i++)
            nWrapped += (bar.GetButtonStyle(i) & TBBS_WRAPPED) ? 1 : 0;
        EXPECT_EQ(nWrapped, (int)rows.size() - 1);
    }
}

TEST(ToolBarLayout, RowBalancing)
{
    struct Case
    {
        std::vector<int> widths;
        int nWrap;
        const char* rows;
    } cases[] = {
        {{23, 23, 23, 23, 23}, 95, "[2 69][4 46]"},                 // four and one become three and two
        {{23, 8, 23, 23, 8, 23}, 85, "[1s 23][5 77]"},              // a group goes on with its separator
        {{23, 23, 23, 23}, 46, "[1 46][3 46]"},                     // already even
    };
    for (const Case& c : cases) {
        ModelBar bar(c.widths);
        std::vector<Row> rows;
        bar.WrapToolBar(c.nWrap, rows);
        bar.AdjustRowWidths(rows);
        EXPECT_EQ(RowsText(rows), c.rows) << c.nWrap;
    }
    // The palette never balances.
    SECCustomizeToolBar palette;
    std::vector<Row> rows = {{3, FALSE, 92}, {4, FALSE, 23}};
    palette.AdjustRowWidths(rows);
    EXPECT_EQ(RowsText(rows), "[3 92][4 23]");
}

TEST(ToolBarLayout, EachModeHasItsCache)
{
    ModelBar empty;
    EXPECT_EQ(Text(empty.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK)), "23x22");

    ModelBar bar({23, 23, 23});
    EXPECT_EQ(Text(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK)), "69x22");
    EXPECT_EQ(Text(bar.CalcDynamicLayout(-1, LM_VERTDOCK)), "23x66");
    EXPECT_EQ(Text(bar.m_sizeHorz), "69x22");
    EXPECT_EQ(Text(bar.m_sizeVert), "23x66");
    EXPECT_FALSE(bar.m_bDirtyHorz);
    EXPECT_FALSE(bar.m_bDirtyVert);
    // Floating: two less each way, and its width becomes the most recent one.
    EXPECT_EQ(Text(bar.CalcDynamicLayout(46, LM_HORZ | LM_COMMIT)), "44x42");
    EXPECT_EQ(Text(bar.m_sizeFloat), "46x44");
    EXPECT_EQ(bar.m_nMRUWidth, 46u);
    EXPECT_EQ(Text(bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH)), "44x42");
    // The last layout placed the buttons in two rows.
    CRect rect;
    bar.GetButtonRect(2, &rect);
    EXPECT_EQ(Text(rect), Text(CRect(0, 22, 23, 44)));
    // A changed button list lays out again.
    UINT id = 7;
    bar.SetButtons(&id, 1);
    EXPECT_TRUE(bar.m_bDirtyHorz && bar.m_bDirtyVert && bar.m_bDirtyFloat);
    EXPECT_EQ(Text(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK)), "23x22");
    // A fixed-size bar floats in one row whatever width it is given.
    ModelBar fixed({23, 23, 23});
    fixed.m_dwStyle = CBRS_SIZE_FIXED;
    EXPECT_EQ(Text(fixed.CalcDynamicLayout(46, LM_HORZ | LM_COMMIT)), "67x20");
}

TEST(ToolBarButtons, RemovingAButtonCleansUpSeparators)
{
    struct Case
    {
        std::vector<UINT> ids;
        int nRemove;
        std::vector<UINT> after;
    } cases[] = {
        {{1, 0, 2, 0, 3}, 2, {1, 0, 3}},    // between two separators: one stays
        {{1, 0, 3}, 0, {3}},                // never first
        {{1, 0, 3}, 2, {1}},                // never last
        {{1, 2}, 5, {1, 2}},                // no such button
        {{1}, 0, {}},                       // a default toolbar may be empty
    };
    for (const Case& c : cases) {
        ModelBar bar;
        bar.SetButtons(c.ids.data(), (int)c.ids.size());
        EXPECT_TRUE(bar.RemoveButton(c.nRemove));
        EXPECT_EQ(bar.IDs(), c.after);
    }
}

TEST(ToolBarButtons, ImagesOutsideTheStripDrawNothing)
{
    ModelBar bar;
    UINT images[] = {10, 11};
    bar.SetBitmap(nullptr, images, 2, 16, 15);
    EXPECT_EQ(bar.GetImageIndex(11), 1);
    EXPECT_EQ(bar.GetImageIndex(99), 2);    // the count: no image
    UINT ids[] = {11, 0, 99};
    bar.SetButtons(ids, 3);
    EXPECT_EQ(bar.GetButton(0)->m_nImage, 1);
    EXPECT_EQ(bar.GetButton(2)->m_nImage, 2);
    EXPECT_EQ(bar.GetButton(1)->m_cx, 8);     // (16 + 8) / 3
    EXPECT_EQ(bar.GetButton(0)->m_cx, 23);
}

// ---- The saved "Buttons" bytes ---------------------------------------------------------------

std::string RecordsText(const std::vector<SECCustomToolBarInfoEx::Record>& records)
{
    std::string s;
    for (const auto& record : records) {
        s += std::to_string(record.nID) + ":";
        for (BYTE b : record.state)
            s += std::to_string(b) + ",";
        s += " ";
    }
    return s;
}

TEST(ToolBarState, ButtonBytesAreReadOnlyAsWholeRecords)
{
    struct Case
    {
        std::vector<BYTE> bytes;
        bool whole;             // false: the value is damaged
        const char* records;    // the whole records read (before the damage)
    } cases[] = {
        {{0x41, 0x9C, 0, 0, 0}, true, "40001: "},                                   // plain
        {{0, 0, 0, 0, 0}, true, "0: "},                                              // separator
        {{0x41, 0x9C, 0, 0, 2, 0x50, 0x00}, true, "40001:80,0, "},                    // n = 2
        {{1, 0, 0, 0, 3, 7, 8, 9, 2, 0, 0, 0, 0}, true, "1:7,8,9, 2: "},              // n = 3
        {{1, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0x50}, false, "1: "},                         // a state cut short
        {{1, 0, 0, 0, 0, 2, 0, 0}, false, "1: "},                                     // a record cut short
        {{0x41, 0x9C, 0, 0, 0, 0}, false, "40001: "},                                 // a byte after the last
        {{0x41}, false, ""},
        {{}, true, ""},                                                               // an empty toolbar
    };
    for (const Case& c : cases) {
        std::vector<SECCustomToolBarInfoEx::Record> records = {{7, {}}};
        BOOL bWhole = SECCustomToolBarInfoEx::ButtonsFromBytes(c.bytes.data(), c.bytes.size(), records);
        EXPECT_EQ(bWhole != FALSE, c.whole) << c.bytes.size();
        EXPECT_EQ(RecordsText(records), c.records) << c.bytes.size();
    }

    SECCustomToolBarInfoEx info;
    info.m_records = {{40001, {}}, {0, {}}, {40002, {0x50, 0x00}}};
    EXPECT_EQ(info.ButtonsToBytes(), (std::vector<BYTE>{0x41, 0x9C, 0, 0, 0, 0, 0, 0, 0, 0, 0x42, 0x9C, 0, 0, 2,
                                                        0x50, 0x00}));
}

TEST(ToolBarState, TheArchiveFormRefusesACountItsDataCannotHold)
{
    // Title "T", then a count of 1000 records of which one is present.
    BYTE data[] = {1, 'T', 0xE8, 0x03, 0, 0, 0x41, 0x9C, 0, 0, 0};
    CMemFile file(data, sizeof data);
    CArchive ar(&file, CArchive::load);
    SECCustomToolBarInfoEx info;
    info.m_strTitle = "Old";
    bool bThrown = false;
    try {
        info.Serialize(ar, nullptr);
    }
    catch (CArchiveException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_STREQ((LPCSTR)info.m_strTitle, "Old");
    EXPECT_TRUE(info.m_records.empty());

    // The same bytes with a count of 1 load.
    data[2] = 1;
    data[3] = 0;
    CMemFile file2(data, sizeof data);
    CArchive ar2(&file2, CArchive::load);
    info.Serialize(ar2, nullptr);
    EXPECT_STREQ((LPCSTR)info.m_strTitle, "T");
    EXPECT_EQ(RecordsText(info.m_records), "40001: ");
}

// ---- The toolbar resource --------------------------------------------------------------------

TEST(ToolBarResource, TheBuiltResourceReadsBackAndAShortOneLoadsNothing)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(IDR_TEST_TOOLBAR), MAKEINTRESOURCEA(241));
    ASSERT_NE(hRes, nullptr);
    const BYTE* p = (const BYTE*)::LockResource(::LoadResource(hInst, hRes));
    std::vector<BYTE> bytes(p, p + ::SizeofResource(hInst, hRes));
    EXPECT_EQ(bytes, (std::vector<BYTE>{1, 0, 16, 0, 15, 0, 5, 0, 0x41, 0x9C, 0x42, 0x9C, 0, 0, 0x43, 0x9C, 0x44, 0x9C}));

    SECToolBarResource res;
    ASSERT_TRUE(res.Load(MAKEINTRESOURCEA(IDR_TEST_TOOLBAR)));
    EXPECT_EQ(res.m_imageIDs, (std::vector<UINT>{ID_TB_A, ID_TB_B, ID_TB_CHECK, ID_TB_OFF}));
    EXPECT_EQ(res.m_cxImage, 16);
    EXPECT_EQ(res.m_cyImage, 15);

    ModelBar bar;
    ASSERT_TRUE(bar.LoadToolBar(IDR_TEST_TOOLBAR));
    HBITMAP hOld = bar.m_hbmImages;
    EXPECT_NE(hOld, nullptr);
    EXPECT_EQ(bar.m_nImages, 4u);
    EXPECT_FALSE(bar.LoadToolBar(IDR_TEST_SHORTBAR));
    EXPECT_EQ(bar.m_hbmImages, hOld);
    EXPECT_EQ(bar.m_nImages, 4u);
}

} // namespace
