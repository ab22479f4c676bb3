#include <gtest/gtest.h>
#include "archive_util.h"
#include "gxparam.h"
#include <algorithm>
#include <cstring>

TEST(Archive, RangeListStoresOnlyValidRanges)
{
    CGXRangeList list;
    list.AddTail(new CGXRange(1, 2, 3, 4));
    CGXRange* bad = new CGXRange(5, 5, 6, 6);
    bad->valid = FALSE;
    list.AddTail(bad);
    CGXRange* rows = new CGXRange;
    rows->SetRows(7, 9);
    list.AddTail(rows);
    auto bytes = StoreBytes([&](CArchive& ar) { list.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 2u + 4u + 2 * 18u);
    EXPECT_EQ(bytes[2], 2);   // the count
    CGXRangeList back;
    back.AddTail(new CGXRange(9, 9, 9, 9));   // loading appends
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetCount(), 3);
    POSITION pos = back.GetHeadPosition();
    back.GetNext(pos);
    EXPECT_EQ(*static_cast<CGXRange*>(back.GetNext(pos)), CGXRange(1, 2, 3, 4));
    EXPECT_EQ(*static_cast<CGXRange*>(back.GetNext(pos)), *rows);

    bytes[0] = 2;
    CGXRangeList refused;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(bytes, [&](CArchive& ar) { refused.Serialize(ar); }); }),
              CArchiveException::badSchema);
    EXPECT_TRUE(refused.IsEmpty());
}

TEST(Archive, StyleRoundTripWithEveryAttribute)
{
    CGXStylesMap map;
    map.CreateStandardStyles();
    WORD total = map.RegisterStyle("Total", CGXStyle().SetValue("t"));

    CGXStyle s;
    s.SetHorizontalAlignment(DT_RIGHT).SetVerticalAlignment(DT_BOTTOM).SetReadOnly(TRUE).SetControl(52513);
    s.SetInterior(GXBrushRecord(BS_HATCHED, RGB(1, 2, 3), HS_CROSS)).SetTextColor(RGB(4, 5, 6));
    s.SetWrapText(FALSE).SetAllowEnter(TRUE).SetFont(CGXFont("Arial,12,700,1,1,1"));
    s.SetValue("value").SetChoiceList("a\r\nb").SetVerticalScrollbar(TRUE).SetMaxLength(40);
    s.SetEnabled(FALSE).SetTriState(TRUE).SetDraw3dFrame(2).SetAutoSize(TRUE);
    s.SetBorders(gxBorderTop, GXPenRecord(PS_DOT, 2, RGB(7, 8, 9)));
    s.SetBaseStyle(total).SetUserAttribute(51011, "10").SetItemDataPtr(0x1234);
    s.SetFloatCell(FALSE).SetFloodCell(TRUE).SetMergeCell(6);

    auto bytes = StoreBytes([&](CArchive& ar) { s.Serialize(ar, &map); });
    CGXStyle back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar, &map); });
    EXPECT_EQ(back.GetIncludeMask(), s.GetIncludeMask());
    EXPECT_TRUE(back.IsSubSet(s));
    EXPECT_TRUE(s.IsSubSet(back));
    EXPECT_TRUE(back.GetFont().GetStrikeOut());   // kept by the current font form
    EXPECT_FALSE(back.HasBorder(gxBorderLeft));

    // Through the archive's context object, and by resource id for standard styles.
    CGXStyle std;
    std.SetBaseStyle(map.GetStandardStyleId());
    bytes = StoreBytes([&](CArchive& ar) { ar.WriteObject(&std); }, &map);
    CGXStylesMap other;   // same names, other ids
    other.RegisterStyle("Other", CGXStyle());
    other.CreateStandardStyles();
    CObject* p = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { p = ar.ReadObject(RUNTIME_CLASS(CGXStyle)); }, &other);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(static_cast<CGXStyle*>(p)->GetBaseStyle(), other.GetStandardStyleId());
    delete p;

    // Without a map a base style cannot be named: it is left out.
    LoadBytes(bytes, [&](CArchive& ar) { p = ar.ReadObject(RUNTIME_CLASS(CGXStyle)); });
    EXPECT_FALSE(static_cast<CGXStyle*>(p)->GetIncludeBaseStyle());
    delete p;
}

TEST(Archive, FontSchemas)
{
    CGXFont f("Arial,10,700,0,0,1");
    auto bytes = StoreBytes([&](CArchive& ar) { f.Serialize(ar); });
    CGXFont back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_TRUE(back.IsSubSet(f) && f.IsSubSet(back));

    // The older form without strike-out still loads.
    std::vector<BYTE> old(bytes.begin(), bytes.end() - 1);
    old[0] = 1;
    CGXFont oldFont;
    LoadBytes(old, [&](CArchive& ar) { oldFont.Serialize(ar); });
    EXPECT_EQ(oldFont.GetWeight(), 700);
    EXPECT_FALSE(oldFont.GetStrikeOut());
    bytes[0] = 3;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); }); }),
              CArchiveException::badSchema);

    GXBrushRecord pattern;
    pattern.SetPattern(40);
    pattern.lbPattern = 77;   // outside the pattern set
    GXBrushRecord loaded;
    LoadBytes(StoreBytes([&](CArchive& ar) { ar << pattern; }), [&](CArchive& ar) { ar >> loaded; });
    EXPECT_EQ(loaded.lbStyle, (UINT)BS_HOLLOW);
}

TEST(Archive, ReadObjectRefusesForeignClasses)
{
    // A class record naming a class that does not exist.
    std::vector<BYTE> bytes;
    PutWord(bytes, 0xFFFF);
    PutWord(bytes, 0);
    PutWord(bytes, 7);
    for (char c : std::string("CNoSuch"))
        bytes.push_back(static_cast<BYTE>(c));
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(bytes, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CGXStyle)); }); }),
              CArchiveException::badClass);
    // A real class that is not a style.
    CGXFont f;
    auto font = StoreBytes([&](CArchive& ar) { ar.WriteObject(&f); });
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(font, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CGXStyle)); }); }),
              CArchiveException::badClass);
}

TEST(Archive, StylesMapRoundTrip)
{
    CGXStylesMap map;
    map.CreateStandardStyles();
    WORD total = map.RegisterStyle("Total", CGXStyle().SetValue("sum"));
    map.AddControl(52513);
    map.AddUserAttribute(51011, &CGXStyle().SetControl(52519));
    auto bytes = StoreBytes([&](CArchive& ar) { map.Serialize(ar); });
    CGXStylesMap back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetStyleCount(), 4);
    EXPECT_EQ(back.GetBaseStyleId("Total"), total);
    EXPECT_EQ(back.GetStandardStyleId(), map.GetStandardStyleId());
    EXPECT_EQ(back.GetColHeaderStyleId(), map.GetColHeaderStyleId());
    const CGXStyle* p = nullptr;
    ASSERT_TRUE(back.LookupStyle(total, p));
    EXPECT_EQ(p->GetValue(), "sum");
    CString name;
    EXPECT_TRUE(back.LookupControlName(52513, name));
    EXPECT_EQ(name, "Static Text");
    ASSERT_NE(back.LookupUserAttribute(51011), nullptr);
    EXPECT_EQ(back.LookupUserAttribute(51011)->sName, "Valid: Min. Value");
    // A new style gets a fresh id, never one of the loaded ones.
    WORD fresh = back.RegisterStyle("Fresh", CGXStyle());
    EXPECT_NE(fresh, 0);
    EXPECT_GT(fresh, total);

    bytes[0] = 3;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); }); }),
              CArchiveException::badSchema);
}

TEST(Archive, DataFormsAndDamagedInput)
{
    CGXData empty;
    empty.StoreRowCount(3);
    empty.StoreColCount(2);
    auto bytes = StoreBytes([&](CArchive& ar) { empty.Serialize(ar); });
    std::vector<BYTE> expect;
    PutWord(expect, 1);
    PutDWord(expect, 3);
    PutDWord(expect, 2);
    for (int i = 0; i < 3; ++i) {
        PutWord(expect, 1);
        PutDWord(expect, 0);
        PutDWord(expect, 0xFFFFFFFF);
    }
    EXPECT_EQ(bytes, expect);

    CGXData d;
    CGXStyle v;
    v.SetValue("x");
    d.StoreStyleRowCol(2, 3, &v, gxCopy);
    d.StoreStyleRowCol(0, 0, &v, gxCopy, -1);
    bytes = StoreBytes([&](CArchive& ar) { d.Serialize(ar); });
    CGXData back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    CGXStyle got;
    EXPECT_TRUE(back.GetStyleRowCol(2, 3, got, gxCopy));
    EXPECT_EQ(got.GetValue(), "x");
    EXPECT_TRUE(back.GetStyleRowCol(0, 0, got, gxCopy, -1));

    // The row index of the cells lies beyond its array's declared size.
    std::vector<BYTE> damaged = bytes;
    size_t rowIndexAt = 2 + 4 + 4 + 2 + 4;
    damaged[rowIndexAt] = 200;
    CGXData refused;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(damaged, [&](CArchive& ar) { refused.Serialize(ar); }); }),
              CArchiveException::badIndex);
    // An absurd array size is refused before anything is allocated.
    damaged = bytes;
    damaged[2 + 4 + 4 + 2 + 3] = 0x7F;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(damaged, [&](CArchive& ar) { refused.Serialize(ar); }); }),
              CArchiveException::generic);
}

TEST(Archive, PrintDeviceKeepsExactBytes)
{
    CGXPrintDevice dev;
    DEVMODEA dm = {};
    dm.dmSize = sizeof(dm);
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    BYTE names[40] = {};
    DEVNAMES* dn = reinterpret_cast<DEVNAMES*>(names);
    dn->wDriverOffset = 8;
    dn->wDeviceOffset = 12;
    dn->wOutputOffset = 16;
    dev.SetDeviceInfo(&dm, sizeof(dm), names, sizeof(names));
    auto bytes = StoreBytes([&](CArchive& ar) { dev.Serialize(ar); });
    CGXPrintDevice back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    auto again = StoreBytes([&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(bytes, again);
    bytes[0] = 2;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); }); }),
              CArchiveException::badSchema);
}

TEST(Archive, PropertiesRoundTrip)
{
    CGXProperties p;
    p.AddDefaultUserProperties();
    p.SetMargins(1, 2, 3, 4);
    p.m_bPrintColHeaders = FALSE;
    p.SetZoom(150);
    p.SetColor(2, RGB(0, 0, 1));
    auto bytes = StoreBytes([&](CArchive& ar) { p.Serialize(ar); });
    CGXProperties back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    int t, l, b, r;
    back.GetMargins(t, l, b, r);
    EXPECT_EQ(t * 1000 + l * 100 + b * 10 + r, 1234);
    EXPECT_FALSE(back.m_bPrintColHeaders);
    EXPECT_EQ(back.GetZoom(), 150);
    EXPECT_EQ(back.GetColor(2), RGB(0, 0, 1));
    EXPECT_EQ(back.GetUserProperty(51005).GetValue(), "Invert Thin.");
    bytes[0] = 3;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); }); }),
              CArchiveException::badSchema);
}

TEST(Archive, ParamVersionsAndOwnedObjects)
{
    CGXGridParam p;
    p.SetOptionB(0x100);
    p.m_wOptionG = 2;
    p.m_strName = "grid";
    p.m_nMaxUndo = 7;
    auto bytes = StoreBytes([&](CArchive& ar) { p.Serialize(ar); });
    CGXGridParam back;
    back.SetData(new CGXData, TRUE);
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetOptionB(), 0u);   // only the low byte is kept
    EXPECT_EQ(back.m_wOptionG, 2);
    EXPECT_EQ(back.m_strName, "grid");
    EXPECT_EQ(back.GetData(), nullptr);   // not owned in the archive: left for the engine
    EXPECT_EQ(back.GetStylesMap(), nullptr);

    // Owned objects travel along, and styles in the data resolve through the map.
    CGXGridParam full;
    CGXStylesMap* map = new CGXStylesMap;
    map->CreateStandardStyles();
    full.SetStylesMap(map);
    CGXData* data = new CGXData;
    CGXStyle cell;
    cell.SetBaseStyle(map->GetColHeaderStyleId());
    data->StoreStyleRowCol(1, 1, &cell, gxCopy);
    full.SetData(data);
    full.SetProperties(new CGXProperties);
    bytes = StoreBytes([&](CArchive& ar) { full.Serialize(ar); });
    CGXGridParam fullBack;
    LoadBytes(bytes, [&](CArchive& ar) { fullBack.Serialize(ar); });
    ASSERT_NE(fullBack.GetStylesMap(), nullptr);
    ASSERT_NE(fullBack.GetData(), nullptr);
    ASSERT_NE(fullBack.GetProperties(), nullptr);
    CGXStyle got;
    ASSERT_TRUE(fullBack.GetData()->GetStyleRowCol(1, 1, got, gxCopy));
    EXPECT_EQ(got.GetBaseStyle(), fullBack.GetStylesMap()->GetColHeaderStyleId());

    // A version 2 archive: the later members keep their defaults.
    bytes = StoreBytes([&](CArchive& ar) { p.Serialize(ar); });
    const size_t laterMembers = 14 + 2 + 7 + 21;   // what versions 3 to 6 add
    std::vector<BYTE> v2bytes(bytes.begin(), bytes.end() - static_cast<long>(laterMembers));
    v2bytes[0] = 2;
    CGXGridParam v2;
    LoadBytes(v2bytes, [&](CArchive& ar) { v2.Serialize(ar); });
    EXPECT_EQ(v2.m_strName, "grid");
    EXPECT_EQ(v2.m_wOptionG, 0);
    EXPECT_EQ(v2.m_nMaxUndo, 512u);
    bytes[0] = 7;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(bytes, [&](CArchive& ar) { v2.Serialize(ar); }); }),
              CArchiveException::badSchema);
}

namespace {
std::vector<BYTE> Le16(unsigned v) { return {BYTE(v), BYTE(v >> 8)}; }
std::vector<BYTE> Le32(unsigned long v) { return {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)}; }
std::vector<BYTE> Str(const char* s)
{
    std::vector<BYTE> v{BYTE(std::strlen(s))};
    v.insert(v.end(), s, s + std::strlen(s));
    return v;
}
std::vector<BYTE> Cat(std::initializer_list<std::vector<BYTE>> parts)
{
    std::vector<BYTE> v;
    for (const auto& p : parts)
        v.insert(v.end(), p.begin(), p.end());
    return v;
}

// A style with a horizontal alignment, a text colour and a value, in the style's archive form:
// schema 3, the include mask (bits 0, 5 and 10), the fields in table order, the borders word,
// and no user-attribute object.
const std::vector<BYTE> kStyleBytes = Cat({Le16(3), Le32(0x421), Le32(DT_RIGHT), Le32(RGB(1, 2, 3)), Str("sum"),
                                           Le16(0), Le16(0)});
} // namespace

// The archive forms against bytes written out by hand from their tables: a field order that is
// wrong the same way in storing and loading shows here, not in a round trip.
TEST(ArchiveBytes, Style)
{
    CGXStyle s;
    s.SetHorizontalAlignment(DT_RIGHT).SetTextColor(RGB(1, 2, 3)).SetValue("sum");
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { s.Serialize(ar); }), kStyleBytes);
    CGXStyle back;
    LoadBytes(kStyleBytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetIncludeMask(), s.GetIncludeMask());
    EXPECT_EQ(back.GetHorizontalAlignment(), (DWORD)DT_RIGHT);
    EXPECT_EQ(back.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(back.GetValue(), "sum");
}

// The font: schema, height, weight, italic, underline, pitch and family, face, include bits.
// The form stored carries schema 2 and the strike-out byte behind them, so that strike-out is
// not lost; the table's schema 1 form loads field by field.
TEST(ArchiveBytes, Font)
{
    CGXFont f;
    f.SetFaceName("Arial").SetWeight(700).SetItalic(TRUE);
    const LOGFONT& lf = f.GetLogFont();
    std::vector<BYTE> body = Cat({Le32((unsigned long)lf.lfHeight), Le32(700), {1, 0, lf.lfPitchAndFamily}, Str("Arial"),
                                  Le32(f.GetIncludeBits())});
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { f.Serialize(ar); }), Cat({Le16(2), body, {0}}));
    CGXFont back;
    LoadBytes(Cat({Le16(1), body}), [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetWeight(), 700);
    EXPECT_TRUE(back.GetItalic());
    EXPECT_FALSE(back.GetUnderline());
    EXPECT_STREQ(back.GetFaceName(), "Arial");
    EXPECT_EQ(back.GetIncludeBits(), f.GetIncludeBits());
}

// The styles map: schema 2, section, control names, names, base styles (id, resource id, name,
// system flag, the style's form), next id, user attributes.
TEST(ArchiveBytes, StylesMap)
{
    CGXStylesMap map;
    CGXStyle total;
    total.SetHorizontalAlignment(DT_RIGHT).SetTextColor(RGB(1, 2, 3)).SetValue("sum");
    WORD id = map.RegisterStyle("Total", total);
    ASSERT_EQ(id, 1);
    const std::vector<BYTE> expected = Cat({Le16(2), Str("Styles"), Le16(0), Le16(1), Le16(1), Str("Total"), Le16(1),
                                            Le16(1), Le32(0), Str("Total"), {0}, kStyleBytes, Le16(2), Le16(0)});
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { map.Serialize(ar); }), expected);
    CGXStylesMap back;
    LoadBytes(expected, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetBaseStyleId("Total"), 1);
    const CGXStyle* p = nullptr;
    ASSERT_TRUE(back.LookupStyle(1, p));
    EXPECT_EQ(p->GetValue(), "sum");
}

// The parameter object, version 6, with every archived member set to a value of its own (the
// owned flags set without objects, so that each object is a null tag): the bytes, the words and
// the 32-bit members in the table's order, the range lists, the size maps, the hidden-state
// arrays and the later versions' members.
TEST(ArchiveBytes, Param)
{
    CGXGridParam p;
    p.m_bOptionH = 0x11;
    p.m_nOptionF = 0x12;
    p.m_bReadOnly = 0x13;
    p.m_bUndoEnabled = 0x14;
    p.m_bNumberRowHeaders = 0x15;
    p.m_bLetterColHeaders = 0x16;
    p.m_dwOptionB = 0x117;   // only the low byte is written
    p.m_dwOptionC = 0x18;
    p.m_bOwnData = 0x19;
    p.m_bOwnPrintDevice = 0x1A;
    p.m_bOwnProperties = 0x1B;
    p.m_bOwnStylesMap = 0x1C;
    p.m_bViewFocusOnClick = 0x1D;
    p.m_bAreaBackground = 0x1E;
    p.m_bLockStructureReadOnly = 0x1F;
    p.m_bSmartResize = 0x20;
    p.m_wOptionA = 0x101;
    p.m_wOptionD = 0x102;
    p.m_wOptionE = 0x103;
    p.m_nFrozenRows = 0x201;
    p.m_nFrozenCols = 0x202;
    p.m_nDefaultColWidth = 0x203;
    p.m_nDefaultRowHeight = 0x204;
    p.m_strName = "grid";
    p.m_wValueE = 0x301;
    p.m_wCurrentCellMarking = 0x302;
    p.m_nTrackMinY = 0x303;
    p.m_nTrackMinX = 0x304;
    p.m_wComposeAhead = 0x305;
    p.m_nFrozenRowsExtra = 0x401;
    p.m_nFrozenColsExtra = 0x402;
    p.m_selRanges.AddTail(new CGXRange(1, 2, 3, 4));
    p.m_hiddenRows.Add(0);
    p.m_hiddenRows.Add(1);
    p.m_bScrollPastFrozen = 0x31;
    p.m_bRememberCurrentCell = 0x32;
    p.m_bInitialised = 0x33;
    p.m_nValueH = 0x501;
    p.m_nValueI = 0x502;
    p.m_nValueJ = 0x503;
    p.m_wOptionG = 0x601;
    p.m_bNoZoom = 0x34;
    p.m_wEnterDirection = 0x602;
    p.m_nMaxUndo = 0x504;
    p.m_bSortColsByHeader = 0x35;
    p.m_bSortRowsByHeader = 0x36;
    p.m_bSelectionFollowsCell = 0x37;
    p.m_bSelectionFrame = 0x38;
    p.m_bLinesAtRightBottom = 0x39;
    p.m_wFloatCells = 0x603;
    p.m_wMergeCells = 0x604;
    p.m_wLibraryValue = 0x605;

    const std::vector<BYTE> expected = Cat({
        Le16(6),
        {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x13, 0x12, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20},
        Le16(0x101), Le16(0x102), Le16(0x103), Le32(0x201), Le32(0x202), Le32(0x203), Le32(0x204), Str("grid"),
        Le16(0x301), Le16(0x302), Le16(0x303), Le16(0x304), Le16(0x305), Le32(0x401), Le32(0x402),
        Le16(0), Le16(0), Le16(0), Le16(0),   // styles map, data, properties, print device: null objects
        Le16(1), Le32(1), Le32(1), Le32(2), Le32(3), Le32(4), {0, 1},   // the selection: one cell range
        Le16(1), Le32(0),                                                 // no covered cells
        Le16(1), Le32(0), Le32(1400), Le16(1), Le32(0), Le32(6000),       // row heights, column widths
        Le16(2), {0, 1}, Le16(0),                                         // hidden rows, hidden columns
        {0x31},                                                           // version 2
        {0x32, 0x33}, Le32(0x501), Le32(0x502), Le32(0x503),              // version 3
        Le16(0x601),                                                      // version 4
        {0x34}, Le16(0x602), Le32(0x504),                                 // version 5
        {0x35, 0x36, 0x37, 0x38, 0x39}, Le16(0x603), Le16(0), Le16(0), Le16(0x604), Le16(0), Le16(0), Le16(0),
        Le16(0x605),                                                      // version 6
    });
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { p.Serialize(ar); }), expected);

    CGXGridParam back;
    LoadBytes(expected, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_bOptionH, 0x11);
    EXPECT_EQ(back.m_nOptionF, 0x12);
    EXPECT_EQ(back.m_bUndoEnabled, 0x14);
    EXPECT_EQ(back.m_dwOptionB, 0x17u);
    EXPECT_EQ(back.m_bOwnStylesMap, 0x1C);
    EXPECT_EQ(back.m_bSmartResize, 0x20);
    EXPECT_EQ(back.m_wOptionE, 0x103);
    EXPECT_EQ(back.m_nDefaultRowHeight, 0x204);
    EXPECT_EQ(back.m_strName, "grid");
    EXPECT_EQ(back.m_nTrackMinX, 0x304);
    EXPECT_EQ(back.m_nFrozenColsExtra, 0x402u);
    ASSERT_EQ(back.m_selRanges.GetCount(), 1);
    EXPECT_EQ(*static_cast<CGXRange*>(back.m_selRanges.GetHead()), CGXRange(1, 2, 3, 4));
    ASSERT_EQ(back.m_hiddenRows.GetSize(), 2);
    EXPECT_EQ(back.m_hiddenRows[1], 1);
    EXPECT_EQ(back.m_nValueJ, 0x503u);
    EXPECT_EQ(back.m_wEnterDirection, 0x602);
    EXPECT_EQ(back.m_bSelectionFrame, 0x38);
    EXPECT_EQ(back.m_wMergeCells, 0x604);
    EXPECT_EQ(back.m_wLibraryValue, 0x605);
}

// The properties, schema 2: the colour arrays, the display settings, section and zoom, the user
// properties ended by id 0, the printing settings with the margins in the order top, left,
// right, bottom, the two words, footer and header data, and Print Column Headers last.
TEST(ArchiveBytes, Properties)
{
    CGXProperties p;
    p.m_bVertLines = 0x11;
    p.m_bHorzLines = 0x12;
    p.m_b3dHeader = 0x13;
    p.m_bMarkRowHeader = 0x14;
    p.m_bMarkColHeader = 0x15;
    p.SetSection("S");
    p.SetZoom(0x16);
    CGXStyle up;
    up.SetHorizontalAlignment(DT_RIGHT).SetTextColor(RGB(1, 2, 3)).SetValue("sum");
    p.AddUserProperty(7, up);
    CString upName;   // a user property is named by the string resource of its id
    upName.LoadString(7);
    p.m_bPrintVertLines = 0x21;
    p.m_bPrintHorzLines = 0x22;
    p.m_nPageOrder = 0x23;
    p.m_bBlackWhite = 0x24;
    p.m_bPrintRowHeaders = 0x25;
    p.m_bCenterVertical = 0x26;
    p.m_bCenterHorizontal = 0x27;
    p.SetMargins(0x31, 0x32, 0x33, 0x34);   // top, left, bottom, right
    p.m_bPrintFrame = 0x28;
    p.SetDistances(0x41, 0x42);
    p.SetFirstPage(0x43);
    p.m_bPrintColHeaders = 0x29;

    std::vector<BYTE> colours = Le16(static_cast<unsigned>(p.GetColorCount()));
    for (int i = 0; i < p.GetColorCount(); ++i)
        colours = Cat({colours, Le32(p.GetColor(i))});
    colours = Cat({colours, Le16(static_cast<unsigned>(p.GetColorCount()))});
    for (int i = 0; i < p.GetColorCount(); ++i)
        colours = Cat({colours, Str(p.GetColorName(i))});
    // The footer and header data (their own form, tested with the data store) come after the
    // user property's style, so their styles refer back to the class record it wrote.
    const std::vector<BYTE> styleObject =
        Cat({Le16(0xFFFF), Le16(0), Le16(8), {'C', 'G', 'X', 'S', 't', 'y', 'l', 'e'}, kStyleBytes});
    std::vector<BYTE> footerHeader = StoreBytes([&](CArchive& ar) {
        ar.WriteObject(&up);
        p.GetFooter().Serialize(ar);
        p.GetHeader().Serialize(ar);
    });
    ASSERT_TRUE(std::equal(styleObject.begin(), styleObject.end(), footerHeader.begin()));
    footerHeader.erase(footerHeader.begin(), footerHeader.begin() + static_cast<long>(styleObject.size()));
    const std::vector<BYTE> expected = Cat({
        Le16(2), colours, Le32(0x11), Le32(0x12), Le32(0x13), Le32(0x14), Le32(0x15), Str("S"), Le32(0x16),
        Le32(7), Str(upName), styleObject, Le32(0),
        Le32(0x21), Le32(0x22), Le32(0x23), Le32(0x24), Le32(0x25), Le32(0x26), Le32(0x27),
        Le32(0x31), Le32(0x32), Le32(0x34), Le32(0x33), Le32(0x28), Le32(0x41), Le32(0x42), Le32(0x43),
        Le16(0), Le16(0), footerHeader, Le32(0x29),
    });
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { p.Serialize(ar); }), expected);

    CGXProperties back;
    LoadBytes(expected, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_b3dHeader, 0x13);
    EXPECT_EQ(back.GetSection(), "S");
    EXPECT_EQ(back.GetZoom(), 0x16);
    EXPECT_EQ(back.GetUserProperty(7).GetValue(), "sum");
    EXPECT_EQ(back.m_nPageOrder, 0x23);
    EXPECT_EQ(back.m_bCenterHorizontal, 0x27);
    int t, l, b, r;
    back.GetMargins(t, l, b, r);
    EXPECT_EQ(std::vector<int>({t, l, b, r}), std::vector<int>({0x31, 0x32, 0x33, 0x34}));
    int h, f;
    back.GetDistances(h, f);
    EXPECT_EQ(h * 0x100 + f, 0x4142);
    EXPECT_EQ(back.GetFirstPage(), 0x43);
    EXPECT_EQ(back.m_bPrintColHeaders, 0x29);
}
