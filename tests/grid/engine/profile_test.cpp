#include <gtest/gtest.h>
#include "gxprofile.h"
#include "gxprop.h"
#include "gxstymap.h"
#include "gxutil.h"
#include <cstdlib>
#include <cstring>

// Every test runs once on the registry and once on a private profile file.
class ProfileTest : public ::testing::TestWithParam<bool>
{
protected:
    CProfileTestRoot root;
    CProfileStore store{"GridTests"};
    char iniPath[MAX_PATH] = {};

    void SetUp() override
    {
        if (GetParam()) {
            store.SetRegistryKey("Morvane");
        } else {
            char dir[MAX_PATH];
            ::GetTempPathA(MAX_PATH, dir);
            ::GetTempFileNameA(dir, "gxp", 0, iniPath);
            store.m_pszProfileName = _strdup(iniPath);
        }
        map.CreateStandardStyles();
        map.AddUserAttribute(51011);
        map.AddUserAttribute(51013);
    }
    void TearDown() override
    {
        if (iniPath[0])
            ::DeleteFileA(iniPath);
    }
    CString Get(LPCSTR section, LPCSTR entry) { return store.GetProfileString(section, entry, "<none>"); }

    CGXStylesMap map;
};

TEST_P(ProfileTest, StyleRoundTrip)
{
    CGXStyle s;
    s.SetHorizontalAlignment(DT_CENTER).SetReadOnly(TRUE).SetMergeCell(5).SetDraw3dFrame(1).SetControl(52513);
    s.SetValue("text").SetTextColor(RGB(10, 20, 30)).SetInterior(GXBrushRecord(BS_HATCHED, RGB(1, 2, 3), 2));
    s.SetFont(CGXFont("Arial,12,700,1,0,0")).SetChoiceList("a\r\nb\\c");
    s.SetBorders(gxBorderLeft, GXPenRecord(PS_DOT, 1, RGB(4, 5, 6)));
    s.SetBaseStyle(map.GetStandardStyleId()).SetUserAttribute(51011, "3").SetUserAttribute(999, "unregistered");
    LPCSTR section = GetParam() ? "Styles\\Probe" : "Styles.Probe";
    s.WriteProfile(section, &map);
    EXPECT_EQ(Get(section, "BaseStyle"), "#52768");
    EXPECT_EQ(Get(section, "ChoicesList"), "a\\nb\\\\c");
    EXPECT_EQ(Get(section, "Top"), "2 1 4 5 6 0");   // side 0, the left border
    EXPECT_EQ(Get(section, "WrapText"), "<none>");

    CGXStyle back;
    ASSERT_TRUE(back.ReadProfile(section, &map));
    EXPECT_EQ(back.GetValue(), "text");
    EXPECT_EQ(back.GetChoiceList(), "a\r\nb\\c");
    EXPECT_EQ(back.GetBaseStyle(), map.GetStandardStyleId());
    EXPECT_EQ(back.GetUserAttribute(51011), "3");
    EXPECT_FALSE(back.HasUserAttribute(999));   // only registered ids are read
    s.RemoveUserAttribute(999);
    EXPECT_TRUE(back.IsSubSet(s) && s.IsSubSet(back));
}

TEST_P(ProfileTest, StyleReadingRules)
{
    LPCSTR section = "Rules";
    store.WriteProfileString(section, "Value", "");
    store.WriteProfileString(section, "TextColor", "1 2");
    store.WriteProfileString(section, "Borders", "0");
    store.WriteProfileString(section, "Top", "0 1 0 0 0");
    store.WriteProfileString(section, "BaseStyle", "Standard");
    store.WriteProfileString(section, "ReadOnly", "3");
    store.WriteProfileString(section, "MergeCell", "15");
    CGXStyle s;
    s.SetValue("old");
    ASSERT_TRUE(s.ReadProfile(section, &map));
    EXPECT_FALSE(s.GetIncludeValue());
    EXPECT_FALSE(s.GetIncludeTextColor());
    EXPECT_FALSE(s.GetIncludeBorders());
    EXPECT_EQ(s.GetBaseStyle(), map.GetStandardStyleId());
    EXPECT_TRUE(s.GetReadOnly());
    EXPECT_EQ(s.GetMergeCell(), 7);
    EXPECT_FALSE(s.ReadProfile(nullptr, &map));
}

TEST_P(ProfileTest, WritingDropsUserAttributesTheStyleNoLongerHas)
{
    CGXStyle s;
    s.SetUserAttribute(51011, "1").SetUserAttribute(51013, "warn");
    s.WriteProfile("UA", &map);
    s.RemoveUserAttribute(51013);
    s.WriteProfile("UA", &map);
    EXPECT_EQ(Get("UA", "UA51011"), "1");
    EXPECT_EQ(Get("UA", "UA51013"), "<none>");
    CGXStyle back;
    back.ReadProfile("UA", &map);
    EXPECT_FALSE(back.HasUserAttribute(51013));
}

TEST_P(ProfileTest, StylesMapSaveAndRestore)
{
    CGXStyle total;
    total.SetValue("sum").SetBaseStyle(map.GetColHeaderStyleId());
    map.RegisterStyle("Total", total);
    map.SaveToProfile();
    CStringArray keys;
    if (GetParam())
        GXGetProfileSubkeyNames("Styles", keys);
    else
        GXGetProfileEntryNames("Styles", keys);
    CString all;
    for (int i = 0; i < keys.GetSize(); ++i)
        all += keys[i] + ";";
    for (LPCSTR k : {"#52768;", "#52769;", "#52770;", "Total;"})
        EXPECT_NE(all.Find(k), -1) << all;

    // The standard style lost its font in the profile: it gets the default one back.
    CString stdSection = map.GetStyleSection("#52768");
    store.WriteProfileString(stdSection, "Font", nullptr);
    store.WriteProfileString(stdSection, "Value", "std");
    CGXStylesMap loaded;
    ASSERT_TRUE(loaded.LoadFromProfile());
    const CGXStyle* std = nullptr;
    ASSERT_TRUE(loaded.LookupStyle(loaded.GetStandardStyleId(), std));
    EXPECT_EQ(std->GetValue(), "std");
    EXPECT_TRUE(std->GetIncludeFont());
    EXPECT_STREQ(std->GetFont().GetFaceName(), "Arial");
    const CGXStyle* t = nullptr;
    ASSERT_TRUE(loaded.LookupStyle(loaded.GetBaseStyleId("Total"), t));
    EXPECT_EQ(t->GetValue(), "sum");
    EXPECT_EQ(t->GetBaseStyle(), loaded.GetColHeaderStyleId());

    // Saving again without "Total" leaves nothing of it behind.
    CString totalSection = map.GetStyleSection("Total");
    CGXStylesMap plain;
    plain.CreateStandardStyles();
    plain.SaveToProfile();
    EXPECT_EQ(Get(totalSection, "Value"), "<none>");
    CGXStylesMap empty;
    empty.SetSection("Nothing");
    EXPECT_FALSE(empty.LoadFromProfile());
    EXPECT_EQ(empty.GetStyleCount(), 0);
}

TEST_P(ProfileTest, PropertiesRoundTrip)
{
    CGXProperties p;
    p.AddDefaultUserProperties();
    EXPECT_FALSE(p.LoadFromProfile());   // no section yet
    p.SaveToProfile();
    EXPECT_EQ(Get("Grid", "Margins"), "144,96,144,96");
    EXPECT_EQ(Get("Grid", "Distances"), "38,38");
    EXPECT_EQ(Get("Grid", "UP51005"), "Invert Thin.");
    CString gridLines;
    gridLines.Format("%lu", static_cast<unsigned long>(p.GetColor(0)));
    EXPECT_EQ(Get("Grid", "Grid Lines"), gridLines);

    // A colour above 0x7FFFFFFF survives, and a short margin list keeps the rest.
    store.WriteProfileString("Grid", "Tracking Line", "4278190335");
    store.WriteProfileString("Grid", "Margins", " 10, 20");
    store.WriteProfileString("Grid", "VerticalLines", "0");
    CGXProperties back;
    back.AddDefaultUserProperties();
    ASSERT_TRUE(back.LoadFromProfile());
    EXPECT_EQ(back.GetColor(2), 4278190335u);
    EXPECT_EQ(back.GetColor(0), p.GetColor(0));
    int t, l, b, r;
    back.GetMargins(t, l, b, r);
    EXPECT_EQ(t, 10);
    EXPECT_EQ(l, 20);
    EXPECT_EQ(b, 144);
    EXPECT_EQ(r, 96);
    EXPECT_FALSE(back.m_bVertLines);
    EXPECT_EQ(back.GetUserProperty(51005).GetValue(), "Invert Thin.");
}

TEST_P(ProfileTest, ManyStylesAndUnknownResourceKeys)
{
    // More names than fit a first buffer of the entry list.
    for (int i = 0; i < 50; ++i) {
        CString name;
        name.Format("A rather long style name, long enough to fill a list %03d", i);
        map.RegisterStyle(name, CGXStyle().SetValueNumber(static_cast<unsigned long>(i)));
    }
    map.SaveToProfile();
    // A key naming a string resource that does not exist is passed over.
    if (GetParam())
        store.WriteProfileString(map.GetStyleSection("#99999"), "Value", "lost");
    else
        store.WriteProfileString("Styles", "#99999", "1");
    CGXStylesMap loaded;
    ASSERT_TRUE(loaded.LoadFromProfile());
    EXPECT_EQ(loaded.GetStyleCount(), 53);
    const CGXStyle* s = nullptr;
    ASSERT_TRUE(loaded.LookupStyle(loaded.GetBaseStyleId("A rather long style name, long enough to fill a list 049"), s));
    EXPECT_EQ(s->GetValue(), "49");
}

INSTANTIATE_TEST_SUITE_P(Stores, ProfileTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Registry" : "File"; });
