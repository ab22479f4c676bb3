// The combo boxes' value modes, drop-down placement and check-list masks.
#include <gtest/gtest.h>
#include "gxctrli.h"
#include "gxfactry.h"
#include "gxresrc.h"

namespace {
// Red ends with a line feed, Green with CR LF: three choices.
const char* const kColors = "Red\nGreen\r\nBlue";
const UINT kZeroShow = GXCOMBO_DISPLAYCHOICE | GXCOMBO_ZEROBASED;
const UINT kOneShow = GXCOMBO_DISPLAYCHOICE | GXCOMBO_ONEBASED;
} // namespace

TEST(ComboRules, ValueShownPerMode)
{
    const struct
    {
        UINT mode;
        const char* value;
        const char* shown;
    } cases[] = {
        {kZeroShow, "1", "Green"},    {kZeroShow, "7", ""},        {kZeroShow, "", ""},
        {kZeroShow, "abc", ""},       {kZeroShow, "-1", ""},       {kZeroShow, "65537", ""},   // no 16-bit wrap to 1
        {kZeroShow, "4294967297", ""}, {kOneShow, "3", "Blue"},    {kOneShow, "0", ""},
        {kOneShow, "1", "Red"},       {GXCOMBO_TEXTFIT, "x", "x"}, {GXCOMBO_ZEROBASED, "2", "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GXComboDisplayText(c.mode, c.value, kColors), c.shown) << c.mode << " " << c.value;
}

TEST(ComboRules, TypedTextStoredOrRefused)
{
    const struct
    {
        UINT mode;
        const char* typed;
        BOOL ok;
        const char* stored;
    } cases[] = {
        {GXCOMBO_TEXTFIT, "gr", TRUE, "Green"}, {GXCOMBO_TEXTFIT, "BLUE", TRUE, "Blue"},
        {GXCOMBO_TEXTFIT, "x", FALSE, ""},      {GXCOMBO_TEXTFIT, "", TRUE, ""},
        {kZeroShow, "Blue", TRUE, "2"},         {kOneShow, "blue", TRUE, "3"},
        {kOneShow, "Purple", FALSE, ""},        {GXCOMBO_NOTEXTFIT, "Purple", TRUE, "Purple"},
        {GXCOMBO_ZEROBASED, "9", TRUE, "9"},
    };
    for (const auto& c : cases) {
        CString stored;
        const BOOL ok = GXComboStoredText(c.mode, c.typed, kColors, stored);
        EXPECT_EQ(ok, c.ok) << c.mode << " " << c.typed;
        if (ok) {
            EXPECT_EQ(stored, c.stored) << c.mode << " " << c.typed;
        }
    }
}

TEST(ComboRules, DropDownPlacement)
{
    const CRect desktop(0, 0, 800, 600);
    const struct
    {
        const char* name;
        CRect cell;
        int content;
        CRect expected;
    } cases[] = {
        {"below, shorter than the limit", CRect(100, 100, 200, 120), 40, CRect(100, 120, 200, 160)},
        {"below, cut to the limit", CRect(100, 100, 200, 120), 300, CRect(100, 120, 200, 220)},
        {"at the bottom edge: above", CRect(100, 560, 200, 580), 300, CRect(100, 460, 200, 560)},
        {"a cell wider than the list at the right edge", CRect(700, 100, 900, 120), 40, CRect(700, 120, 800, 160)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GXComboDropDownRect(c.cell, 100, c.content, desktop), c.expected) << c.name;
}

TEST(ComboRules, CheckListMask)
{
    const char* values[] = {"5", "", "abc", "4294967295"};
    const int items[] = {0, 3, 32, 33};
    for (const char* v : values) {
        for (int item : items) {
            BOOL expected = FALSE;
            if (item < 32) {
                const unsigned long m = strtoul(v, nullptr, 10);
                expected = (m >> item) & 1;
            }
            EXPECT_EQ(GXCheckListIsChecked(v, item), expected) << v << " item " << item;
        }
    }
    EXPECT_TRUE(GXCheckListIsChecked("5", 0));
    EXPECT_FALSE(GXCheckListIsChecked("5", 1));
    EXPECT_TRUE(GXCheckListIsChecked("5", 2));
    EXPECT_TRUE(GXCheckListIsChecked("4294967295", 31));
    EXPECT_FALSE(GXCheckListIsChecked("4294967295", 32));
}

TEST(ComboRules, FactoryModesPerId)
{
    GXControlFactory factory;
    const struct
    {
        UINT id;
        UINT mode;
    } ids[] = {{GX_IDS_CTRL_COMBOBOX, GXCOMBO_NOTEXTFIT}, {GX_IDS_CTRL_ZEROBASED, GXCOMBO_ZEROBASED},
               {GX_IDS_CTRL_ONEBASED, GXCOMBO_ONEBASED},  {GX_IDS_CTRL_TEXTFIT, GXCOMBO_TEXTFIT},
               {GX_IDS_CTRL_ONEBASED_EX, kOneShow},        {GX_IDS_CTRL_ZEROBASED_EX, kZeroShow},
               {GX_IDS_CTRL_CHECKLISTCOMBO, GXCOMBO_NOTEXTFIT}};
    for (const auto& e : ids) {
        CGXControl* control = factory.CreateControl(e.id, nullptr);
        auto* combo = dynamic_cast<CGXComboBox*>(control);
        ASSERT_NE(combo, nullptr) << e.id;
        EXPECT_EQ(combo->GetValueMode(), e.mode) << e.id;
        EXPECT_TRUE(combo->m_bFillFromChoiceList);
        EXPECT_FALSE(combo->m_bButtonInInactiveCells);
        delete control;
    }
}

TEST(TabbedRules, EntryLookups)
{
    const char* list = "No\tName\n1\tRed\r\n2\tGreen\r3\tgreenish";
    const struct
    {
        const char* key;
        int column;
        BOOL skipTitle, exact;
        int index;
        const char* entry;
    } cases[] = {
        {"2", 0, TRUE, TRUE, 1, "2\tGreen"},
        {"Green", 1, TRUE, TRUE, 1, "2\tGreen"},
        {"green", 1, TRUE, TRUE, -1, ""},          // exact is case-sensitive
        {"gr", 1, TRUE, FALSE, 1, "2\tGreen"},      // prefix ignores case, first wins
        {"Name", 1, TRUE, FALSE, -1, ""},          // the title is never an entry
        {"Name", 1, FALSE, TRUE, 0, "No\tName"},
        {"x", 3, TRUE, FALSE, -1, ""},             // a missing field is empty
    };
    for (const auto& c : cases) {
        CString entry;
        EXPECT_EQ(GXFindTabEntry(c.key, c.column, list, c.skipTitle, c.exact, entry), c.index) << c.key;
        EXPECT_EQ(entry, c.entry) << c.key;
    }
    EXPECT_EQ(GXTabField("a\tb\tc", 2), "c");
    EXPECT_EQ(GXTabField("a\tb", 5), "");
    EXPECT_EQ(GXTabField(CString('x', 200), 0).GetLength(), 127);
}
