#include <gtest/gtest.h>
#include "gxprndev.h"
#include "gxprop.h"
#include <ctime>

TEST(Properties, Defaults)
{
    CGXProperties p;
    EXPECT_EQ(p.GetColorCount(), 5);
    EXPECT_EQ(p.GetColorName(3), "Dragging Line");
    EXPECT_EQ(p.GetColor(2), RGB(255, 0, 0));
    EXPECT_EQ(p.GetColor(0) >> 24, 0xEDu);
    EXPECT_EQ(p.GetColor(99), 0u);
    int t, l, b, r;
    p.GetMargins(t, l, b, r);
    EXPECT_EQ(t, 144);
    EXPECT_EQ(l, 96);
    EXPECT_TRUE(p.GetPrintRowHeaders());
    EXPECT_FALSE(p.GetBlackWhite());
    p.m_bPrintRowHeaders = FALSE;
    p.SetPrinting(TRUE);
    EXPECT_FALSE(p.GetPrintRowHeaders());
    EXPECT_TRUE(p.GetBlackWhite());
    EXPECT_TRUE(p.GetUserProperty(51005).IsEmpty());
    p.AddDefaultUserProperties();
    EXPECT_EQ(p.GetUserProperty(51005).GetValue(), "Invert Thin.");
    EXPECT_EQ(p.GetUserProperty(51005).GetControl(), 52529u);
    CGXStyle s;
    p.GetFooter().GetStyleRowCol(1, 3, s, gxCopy);
    EXPECT_EQ(s.GetValue(), "$P/$N");
}

TEST(Properties, Tokens)
{
    CGXProperties p;
    p.SetTokenValue(GX_TOKEN_PAGE, "3");
    p.SetTokenValue(GX_TOKEN_PAGES, "7");
    EXPECT_EQ(p.ExpandTokens("$P/$N"), "3/7");
    EXPECT_EQ(p.ExpandTokens("a$Xb"), "a$Xb");
    char year[8];
    std::time_t now = std::time(nullptr);
    std::strftime(year, sizeof(year), "%Y", std::localtime(&now));
    EXPECT_EQ(p.ExpandTokens("[$D{%Y}]"), CString("[") + year + "]");
    EXPECT_FALSE(p.ExpandTokens("$D").IsEmpty());
    EXPECT_EQ(p.ExpandTokens("x$D{%Y"), "x{%Y");   // no closing brace: empty date, text kept
    // A format the runtime would reject gives the empty value, not an abort.
    EXPECT_EQ(p.ExpandTokens("<$D{%Q}>"), "<>");
    EXPECT_EQ(p.ExpandTokens("<$D{%}>"), "<>");
}

TEST(PrintDevice, BlocksAreCopiedAndChecked)
{
    CGXPrintDevice dev;
    DEVMODEA dm = {};
    dm.dmSize = sizeof(dm);
    lstrcpyA(reinterpret_cast<char*>(dm.dmDeviceName), "Printer");
    BYTE names[64] = {};
    DEVNAMES* dn = reinterpret_cast<DEVNAMES*>(names);
    dn->wDriverOffset = sizeof(DEVNAMES);
    dn->wDeviceOffset = sizeof(DEVNAMES) + 8;
    dn->wOutputOffset = sizeof(DEVNAMES) + 20;
    lstrcpyA(reinterpret_cast<char*>(names) + dn->wDriverOffset, "drv");
    lstrcpyA(reinterpret_cast<char*>(names) + dn->wDeviceOffset, "dev");
    lstrcpyA(reinterpret_cast<char*>(names) + dn->wOutputOffset, "out");
    dev.SetDeviceInfo(&dm, sizeof(dm), names, sizeof(names));
    BYTE *pm, *pn;
    DWORD nm, nn;
    dev.GetDeviceInfo(pm, nm, pn, nn);
    ASSERT_EQ(nm, sizeof(dm));
    ASSERT_EQ(nn, sizeof(names));
    EXPECT_EQ(memcmp(pm, &dm, nm), 0);
    EXPECT_EQ(memcmp(pn, names, nn), 0);
    delete[] pm;
    delete[] pn;

    // A block whose sizes or offsets point outside itself is never kept.
    DEVMODEA bad = dm;
    bad.dmDriverExtra = 4000;
    BYTE badNames[64];
    memcpy(badNames, names, sizeof(names));
    reinterpret_cast<DEVNAMES*>(badNames)->wDeviceOffset = 500;
    dev.SetDeviceInfo(&bad, sizeof(bad), badNames, sizeof(badNames));
    EXPECT_EQ(dev.GetDevMode(), nullptr);
    EXPECT_EQ(dev.GetDevNames(), nullptr);
}
