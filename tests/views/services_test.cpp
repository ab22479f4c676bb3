// The views' services: pens and brushes from "Colors", entity colours, the main frame's switches.
#include "ViewsFixture.h"

namespace {

COLORREF PenColor(CPen* pen)
{
    LOGPEN lp = {};
    ::GetObjectA(pen->m_hObject, sizeof lp, &lp);
    return lp.lopnColor;
}

COLORREF BrushColor(CBrush* brush)
{
    LOGBRUSH lb = {};
    ::GetObjectA(brush->m_hObject, sizeof lb, &lb);
    return lb.lbColor;
}

} // namespace

TEST_F(ViewsTest, PensAndBrushesComeFromColorsWithTheirDefaults)
{
    struct
    {
        int pen;
        COLORREF expected;
    } defaults[] = {
        {CViewServices::PEN_GRID, RGB(0xE0, 0xE0, 0xE0)},   {CViewServices::PEN_TILE, RGB(0xC0, 0xC0, 0xC0)},
        {CViewServices::PEN_BRUSH, RGB(0, 0, 0)},           {CViewServices::PEN_ENTITY, RGB(0, 0, 0xFF)},
        {CViewServices::PEN_SELECTED, RGB(0xFF, 0, 0)},     {CViewServices::PEN_ROTATE, RGB(0, 0x80, 0)},
        {CViewServices::PEN_CAMERA_EYE, RGB(0xFF, 0x80, 0)}, {CViewServices::PEN_TEX_BACKGROUND, RGB(0, 0, 0)},
    };
    for (auto& d : defaults)
        EXPECT_EQ(PenColor(services->GetPen(d.pen)), d.expected) << d.pen;
    EXPECT_EQ(BrushColor(services->GetBrush(CViewServices::BRUSH_SELECTED)), RGB(0xFF, 0, 0));
    EXPECT_EQ(BrushColor(services->GetBrush(CViewServices::BRUSH_SCALE)), RGB(0, 0, 0));

    // Red is stored in bits 16 to 23; a changed setting takes effect when the colours are made.
    services->WriteProfileInt("Colors", "Grid", 0x123456);
    services->WriteProfileInt("Colors", "Brush Scale", 0x0000AB);
    services->CreateColors();
    EXPECT_EQ(PenColor(services->GetPen(CViewServices::PEN_GRID)), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(services->GetPenColor(CViewServices::PEN_GRID), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(BrushColor(services->GetBrush(CViewServices::BRUSH_SCALE)), RGB(0, 0, 0xAB));
    LOGPEN lp = {};
    ::GetObjectA(services->GetPen(CViewServices::PEN_TEX_SELECTED_DOTTED)->m_hObject, sizeof lp, &lp);
    EXPECT_EQ(lp.lopnStyle, (UINT)PS_DOT);
    // One set of pens: the texture browser's are the same objects.
    EXPECT_EQ(services->GetTexturePen(CEditorServices::PEN_TEXTURE_BACKGROUND),
              services->GetPen(CViewServices::PEN_TEX_BACKGROUND)->m_hObject);
}

TEST_F(ViewsTest, EntityColorsFallBackToTheColorsSettingsUntilClassesHavePens)
{
    EXPECT_EQ(services->GetEntityPen("light"), nullptr);
    EXPECT_EQ(services->GetEntityColor("worldspawn"), RGB(0, 0, 0));
    EXPECT_EQ(services->GetEntityColor("light"), RGB(0, 0, 0xFF));
    services->WriteProfileInt("Colors", "Brush", 0x010203);
    services->WriteProfileInt("Colors", "Entity", 0xA0B0C0);
    EXPECT_EQ(services->GetEntityColor("worldspawn"), RGB(1, 2, 3));
    EXPECT_EQ(services->GetEntityColor("func_door"), RGB(0xA0, 0xB0, 0xC0));
}

TEST_F(ViewsTest, MainFrameSwitchesAndActiveMap)
{
    // Link Clipping Planes starts on, as the main frame's does.
    EXPECT_TRUE(services->IsLinkClipping());
    EXPECT_FALSE(services->IsClipToObject());
    services->SetAxisRestrictions(1, 0, 5);
    int x, y, z;
    services->GetAxisRestrictions(x, y, z);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 1);
    Map* map = NewMap();
    services->SetActiveMap(map);
    EXPECT_EQ(GetEditorServices()->GetActiveMap(), map);
    EXPECT_EQ(GetViewServices(), services);
    // No main window: no active 2D window, and no combo boxes.
    EXPECT_EQ(services->GetActiveObjectOrder(map), nullptr);
    EXPECT_EQ(services->FindCombo(1075), nullptr);
    services->SetActiveMap(nullptr);
    delete map;
}
