#include "IniFile.h"
#include "Map.h"
#include "RecordingServices.h"
#include "TextureLoader.h"
#include "Wad.h"
#include "WadBuilder.h"
#include <random>

namespace {

class Loader : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        loader = new CTextureLoader;
        SetTextureSource(loader);
    }
    void TearDown() override
    {
        delete loader; // uninstalls itself
        ModelTest::TearDown();
    }
    CString Write(LPCSTR name, const std::vector<TestLump>& lumps)
    {
        dir.WriteFile(name, BuildWad(lumps));
        return dir.Path(name);
    }
    // The 24-bit pixel (x, y from the top) as blue, green, red.
    static std::vector<int> Pixel24(const Texture* t, int x, int y)
    {
        int stride = (t->p2width * 3 + 3) & ~3;
        const BYTE* p = t->bits + (t->p2height - 1 - y) * stride + x * 3;
        return {p[0], p[1], p[2]};
    }
    // What the palette index becomes: its colour through the brightness table.
    static std::vector<int> Expected(int index)
    {
        const BYTE* pal = GetPaletteTable();
        return {BrightnessOf(pal[index * 3 + 2]), BrightnessOf(pal[index * 3 + 1]), BrightnessOf(pal[index * 3])};
    }
    CTextureLoader* loader = nullptr;
    CTempDir dir;
};

TEST(Brightness, Table)
{
    EXPECT_EQ(BrightnessOf(0), 0);
    EXPECT_EQ(BrightnessOf(1), 8);
    EXPECT_EQ(BrightnessOf(128), 165);
    EXPECT_EQ(BrightnessOf(255), 255);
}

TEST_F(Loader, SizesPixelsAndPaddedRows)
{
    ASSERT_TRUE(loader->LoadWad(Write("a.wad", {MipLump("SQUARE", 64, 64, 3), MipLump("WIDE", 96, 40),
                                                   MipLump("ODD", 6, 3, 10), MipLump("*LAVA1", 8, 8, 7),
                                                   MipLump("NARROW", 2, 4, 20)})));
    struct Case
    {
        const char* name;
        int w, h, p2w, p2h;
    } cases[] = {{"SQUARE", 64, 64, 64, 64}, {"WIDE", 96, 40, 64, 32}, {"ODD", 6, 3, 4, 2}, {"*LAVA1", 8, 8, 8, 8}};
    for (const Case& c : cases) {
        Texture* t = loader->FindTexture(c.name);
        ASSERT_NE(t, nullptr) << c.name;
        EXPECT_EQ(t->width, c.w);
        EXPECT_EQ(t->height, c.h);
        EXPECT_EQ(t->p2width, c.p2w);
        EXPECT_EQ(t->p2height, c.p2h);
        EXPECT_NE(t->bits, nullptr);
        EXPECT_EQ(t->lump, nullptr);
        EXPECT_EQ(t->wad != nullptr, true);
    }
    // Unscaled textures: every pixel is its palette colour through the brightness table,
    // rows from the bottom, each padded to four bytes.
    Texture* lava = loader->FindTexture("*lava1");
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(Pixel24(lava, x, y), Expected((x + y * 8 + 7) & 255)) << x << "," << y;
    Texture* narrow = loader->FindTexture("narrow"); // 2 wide: every row is padded
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            ASSERT_EQ(Pixel24(narrow, x, y), Expected(x + y * 2 + 20)) << x << "," << y;
    Texture* odd = loader->FindTexture("odd"); // 6 wide: rows not a multiple of 4
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            std::vector<int> px = Pixel24(odd, x, y);
            bool fromItsRow = false;
            for (int sy = 0; sy < 3; ++sy)
                for (int sx = 0; sx < 6; ++sx)
                    if (px == Expected(sx + sy * 6 + 10) && (sy == y || sy == y + 1))
                        fromItsRow = true;
            EXPECT_TRUE(fromItsRow) << x << "," << y;
        }
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 5);
}

TEST_F(Loader, FirstWadWinsAndLookupsIgnoreCase)
{
    ASSERT_TRUE(loader->LoadWad(Write("1.wad", {MipLump("BRICK1", 8, 8, 1)})));
    ASSERT_TRUE(loader->LoadWad(Write("2.wad", {MipLump("brick1", 8, 8, 2), MipLump("OTHER", 8, 8)})));
    Texture* t = loader->FindTexture("Brick1");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Pixel24(t, 0, 0), Expected(1));
    EXPECT_TRUE(services->LineContains("Texture BRICK1 found more than once."));
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 2);
    EXPECT_EQ(loader->GetWadCount(), 2);

    // Faces find the loaded record; missing names get one placeholder each.
    bool missing = true;
    EXPECT_EQ(TextureForName("other", &missing), loader->FindTexture("OTHER"));
    EXPECT_FALSE(missing);
    Texture* p1 = TextureForName("gone", &missing);
    EXPECT_TRUE(missing);
    EXPECT_EQ(TextureForName("GONE"), p1);
    EXPECT_STREQ(p1->name, "gone");
    EXPECT_TRUE(p1->placeholder);
    EXPECT_EQ(loader->GetPlaceholderCount(), 1);
}

TEST_F(Loader, MipHeadersOutsideTheirLumpAreSkipped)
{
    TestLump noHeader{"CONCHARS", 68, std::vector<uint8_t>(20, 0)};
    TestLump tooBig = MipLump("BIG", 8, 8);
    PutInt(tooBig.data, 16, 4096);
    TestLump badOffset = MipLump("OFS", 8, 8);
    PutInt(badOffset.data, 24, 1000);
    // Sizes past 16 bits are no texture (cut to 16 bits, 65552 would load as 16).
    TestLump tall = MipLump("TALL", 16, 16);
    PutInt(tall.data, 20, 65552);
    TestLump wide = MipLump("WIDE", 16, 16);
    PutInt(wide.data, 16, 65536 + 16);
    ASSERT_TRUE(loader->LoadWad(Write("b.wad", {noHeader, tooBig, badOffset, MipLump("FINE", 8, 8), tall, wide})));
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 1);
    EXPECT_TRUE(services->LineContains("The texture CONCHARS has no valid mip texture"));
    EXPECT_TRUE(services->LineContains("The texture BIG"));
    EXPECT_TRUE(services->LineContains("The texture OFS"));
    const std::string path(dir.Path("b.wad"));
    EXPECT_EQ(services->statuses[services->statuses.size() - 2],
              "Lump 4 (TALL) of " + path + " is 16x65552, too large for a texture, and is skipped.");
    EXPECT_EQ(services->statuses.back(),
              "Lump 5 (WIDE) of " + path + " is 65552x16, too large for a texture, and is skipped.");
    EXPECT_EQ(loader->FindTexture("TALL"), nullptr);
}

TEST_F(Loader, ProjectWadList)
{
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    CIniFile project("");
    services->SetProject(&project);
    EXPECT_FALSE(loader->LoadTextures());
    EXPECT_TRUE(services->BoxContains("No wads are currently selected"));

    project.WriteString("Wads", "File1", "missing.wad", TRUE);
    services->boxes.clear();
    EXPECT_TRUE(loader->LoadTextures());
    EXPECT_EQ(services->statuses[services->statuses.size() - 1], "Loaded 0 textures");
    EXPECT_TRUE(services->BoxContains("No valid wads were found"));

    Write("good.wad", {MipLump("A", 8, 8), MipLump("B", 8, 8)});
    project.WriteString("Wads", "File2", "good.wad", TRUE); // relative to the root
    services->boxes.clear();
    EXPECT_TRUE(loader->LoadTextures());
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 2);
    EXPECT_EQ(services->statuses.back(), "Textures Loaded");
    project.SetDirty(FALSE);
    services->SetProject(nullptr);

    // Faces point at the records: no unload while a map is open, active or not.
    {
        Map map;
        services->SetActiveMap(&map);
        EXPECT_FALSE(loader->UnloadTextures());
        EXPECT_EQ(loader->GetTextureMap().GetCount(), 2);
        services->SetActiveMap(nullptr);
        Map second;
        EXPECT_FALSE(loader->UnloadTextures()) << "open maps that are not active hold faces too";
        EXPECT_EQ(loader->GetTextureMap().GetCount(), 2);
    }
    EXPECT_TRUE(loader->UnloadTextures());
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 0);
    EXPECT_EQ(loader->GetWadCount(), 0);
}

// A WAD on a network share or named by a device path is that file: its leading pair stays, written
// "\\" or "/", and a doubled separator after it folds. The project's WADs there are read.
TEST_F(Loader, AWadOnAShareOrADevicePathIsThatFile)
{
    services->WriteProfileString("Project Settings", "Root Path", "C:\\game");
    const struct
    {
        const char* path;
        const char* normal;
    } cases[] = {
        {"\\\\srv\\share\\q.wad", "\\\\srv\\share\\q.wad"},
        {"//srv/share//gfx///q.wad", "\\\\srv\\share\\gfx\\q.wad"},
        {"\\\\?\\D:\\wads\\\\q.wad", "\\\\?\\D:\\wads\\q.wad"},
        {"\\srv\\\\q.wad", "\\srv\\q.wad"},
        {"wads//q.wad", "C:\\game\\wads\\q.wad"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(NormalizeWadPath(c.path), c.normal) << c.path;
    EXPECT_FALSE(SameWadPath("\\\\srv\\share\\q.wad", "\\srv\\share\\q.wad"));
    EXPECT_TRUE(SameWadPath("\\\\SRV\\share\\\\q.wad", "//srv/share/Q.WAD"));

    CTempShare share;
    if (!share.Reachable())
        GTEST_SKIP() << share.Why();
    share.WriteFile("s.wad", BuildWad({MipLump("SHARED", 8, 8)}));
    Write("d.wad", {MipLump("DEVICE", 8, 8)});
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    CString slashes = share.Path("s.wad");
    slashes.Replace('\\', '/');
    CIniFile project("");
    project.WriteString("Wads", "File1", slashes, TRUE);
    project.WriteString("Wads", "File2", "\\\\?\\" + dir.Path("d.wad"), TRUE);
    services->SetProject(&project);
    EXPECT_TRUE(loader->LoadTextures());
    EXPECT_EQ(loader->GetWadCount(), 2);
    EXPECT_NE(loader->FindTexture("SHARED"), nullptr);
    EXPECT_NE(loader->FindTexture("DEVICE"), nullptr);
    EXPECT_TRUE(loader->UnloadTextures());
    project.SetDirty(FALSE);
    services->SetProject(nullptr);
}

// A WAD the project names many times, in any spelling, is opened and mapped once: every further
// mapping would cost one of the process's few thousand, and past them each entry raised a box.
TEST_F(Loader, AWadNamedManyTimesIsOpenedOnce)
{
    services->WriteProfileString("Project Settings", "Root Path", dir.Path());
    ::CreateDirectoryA(dir.Path("wads"), nullptr);
    Write("wads\\one.wad", {MipLump("ONE", 8, 8, 1), MipLump("SAME", 8, 8, 1)});
    Write("wads\\two.wad", {MipLump("TWO", 8, 8, 2), MipLump("SAME", 8, 8, 2)});
    const char* spellings[] = {"wads\\one.wad", nullptr, "WADS/ONE.WAD", "wads\\\\one.wad"};
    const std::string absolute(dir.Path("wads\\one.wad"));
    std::string text = "[Wads]\r\nFile1=wads\\one.wad\r\nFile2=wads\\two.wad\r\n";
    for (int i = 0; i < 20000; ++i)
        text += "File" + std::to_string(i + 3) + "=" + (spellings[i % 4] ? spellings[i % 4] : absolute) + "\r\n";
    // A WAD that cannot be opened, named three times by a path of 40,000 characters: one box, whose
    // text shows the path's beginning and end.
    const std::string gone = "C:\\" + std::string(40000, 'g') + "\\gone.wad";
    for (int i = 0; i < 3; ++i)
        text += "File" + std::to_string(20003 + i) + "=" + gone + "\r\n";
    dir.WriteFile("p.prj", text);
    CIniFile project(dir.Path("p.prj"));
    ASSERT_TRUE(project.Read());
    services->SetProject(&project);
    services->lines.clear();
    services->statuses.clear();
    EXPECT_TRUE(loader->LoadTextures());
    EXPECT_EQ(loader->GetWadCount(), 2);
    ASSERT_EQ(services->boxes.size(), 1u);
    const std::string box = services->boxes[0].text;
    EXPECT_LE(box.size(), static_cast<size_t>(REPORT_MAX_LINE));
    EXPECT_EQ(box.find("Couldn't open C:\\ggg"), 0u) << box;
    EXPECT_EQ(box.substr(box.size() - 12), "ggg\\gone.wad") << box;
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 3);
    // The first WAD named holds the name both WADs have.
    EXPECT_EQ(Pixel24(loader->FindTexture("SAME"), 0, 0), Expected(1));
    // Said once, not once an entry.
    EXPECT_LT(services->lines.size(), 10u);
    EXPECT_TRUE(services->LineContains("The project names the WAD wads\\one.wad more than once; it is read once."));
    services->SetProject(nullptr);
}

TEST_F(Loader, PaletteFileOrTheBuiltInOne)
{
    char old[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, old);
    ::SetCurrentDirectoryA(dir.Path());

    ASSERT_TRUE(loader->LoadPalette()); // no file: the built-in Quake palette
    const BYTE* pal = GetPaletteTable();
    EXPECT_EQ(std::vector<int>({pal[3], pal[4], pal[5]}), std::vector<int>({15, 15, 15}));
    EXPECT_EQ(std::vector<int>({pal[765], pal[766], pal[767]}), std::vector<int>({159, 91, 83}));

    std::string custom(768, '\x10');
    dir.WriteFile("Morvane.pal", custom);
    ASSERT_TRUE(loader->LoadPalette());
    EXPECT_EQ(GetPaletteTable()[3], 0x10);
    EXPECT_EQ(loader->GetBitmapInfo8()->bmiColors[1].rgbRed, 0x10);

    dir.WriteFile("Morvane.pal", std::string(100, '\x20'));
    ASSERT_TRUE(loader->LoadPalette());
    EXPECT_EQ(GetPaletteTable()[3], 15);
    EXPECT_TRUE(services->LineContains("shorter than 768 bytes"));
    ::SetCurrentDirectoryA(old);
}

// Mutated WADs: truncations and random bytes in the header, directory and mip
// headers. Every load must end, and every lump and texture must lie inside the file.
TEST_F(Loader, MutatedWadsNeverReadOutsideTheFile)
{
    std::vector<TestLump> lumps = {MipLump("ONE", 16, 16), MipLump("TWO", 8, 24), {"PAL", 64, std::vector<uint8_t>(20)},
                                   MipLump("THREE", 32, 8)};
    std::string base = BuildWad(lumps);
    const size_t dirOfs = base.size() - 32 * lumps.size();
    std::vector<size_t> mipHeaders = {12, 12 + lumps[0].data.size(), 12 + lumps[0].data.size() + lumps[1].data.size() + 20};
    std::mt19937 rng(12345);
    CTextureLoader local;
    for (int i = 0; i < 2500; ++i) {
        std::string bytes = base;
        int kind = i % 4;
        if (kind == 0) {
            bytes.resize(rng() % base.size());
        } else {
            int changes = 1 + static_cast<int>(rng() % 4);
            for (int c = 0; c < changes; ++c) {
                size_t at;
                if (kind == 1)
                    at = rng() % 12;
                else if (kind == 2)
                    at = dirOfs + rng() % (32 * lumps.size());
                else
                    at = mipHeaders[rng() % mipHeaders.size()] + 16 + rng() % 24;
                bytes[at] = static_cast<char>(rng() % 4 == 0 ? 0xFF : rng());
            }
        }
        dir.WriteFile("m.wad", bytes);
        CWad* wad = new CWad;
        wad->OnNewDocument();
        if (wad->OnOpenDocument(dir.Path("m.wad"))) {
            for (POSITION pos = wad->GetLumps().GetHeadPosition(); pos;) {
                WadLump* l = static_cast<WadLump*>(wad->GetLumps().GetNext(pos));
                ASSERT_GE(l->offset, 0);
                ASSERT_LE(static_cast<long long>(l->offset) + l->size, static_cast<long long>(bytes.size())) << i;
            }
            wad->OnCloseDocument();
        } else {
            delete wad;
        }
        local.LoadWad(dir.Path("m.wad"));
        CString key;
        void* p;
        for (POSITION pos = local.GetTextureMap().GetStartPosition(); pos;) {
            local.GetTextureMap().GetNextAssoc(pos, key, p);
            Texture* t = static_cast<Texture*>(p);
            ASSERT_LE(static_cast<size_t>(t->width) * t->height, bytes.size()) << i;
        }
        local.UnloadTextures();
    }
    EXPECT_TRUE(::DeleteFileA(dir.Path("m.wad"))); // nothing left open
}

// A loader whose 24-bit sections cannot be made, as when the memory runs out.
class CNoMemoryLoader : public CTextureLoader
{
protected:
    HBITMAP CreateSection24(const BITMAPINFO&, void** ppBits) override
    {
        *ppBits = nullptr;
        return nullptr;
    }
};

// A texture whose 24-bit bitmap cannot be made keeps no power-of-two sizes and no pixels, so
// nothing reads the 8-bit pixels as if they had those sizes.
TEST_F(Loader, A24BitBitmapThatCannotBeMadeLeavesNothingToDraw)
{
    CNoMemoryLoader noMemory;
    SetTextureSource(&noMemory);
    ASSERT_TRUE(noMemory.LoadWad(Write("a.wad", {MipLump("A", 8, 8)})));
    Texture* t = noMemory.FindTexture("A");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->p2width, 0);
    EXPECT_EQ(t->p2height, 0);
    EXPECT_EQ(t->bits, nullptr);
    EXPECT_EQ(t->bitmap, nullptr);
    EXPECT_TRUE(services->BoxContains("Couldn't create DIB section"));
    SetTextureSource(loader);
}

// A palette that cannot be made is reported once per load, not once per texture.
TEST_F(Loader, PaletteFailureIsReportedOncePerLoad)
{
    char old[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, old);
    ::SetCurrentDirectoryA(dir.Path()); // no palette file here
    HINSTANCE resources = AfxGetResourceHandle();
    AfxSetResourceHandle(::GetModuleHandleA("kernel32.dll")); // and no palette resource
    CString wad = Write("p.wad", {MipLump("A", 8, 8), MipLump("B", 8, 8), MipLump("C", 8, 8)});
    EXPECT_TRUE(loader->LoadWad(wad));
    EXPECT_EQ(services->boxes.size(), 1u);
    EXPECT_TRUE(services->BoxContains("Couldn't find the palette in resources"));
    EXPECT_EQ(loader->FindTexture("B")->bits, nullptr);

    loader->FreeAllTextures();
    EXPECT_TRUE(loader->LoadWad(wad)); // the next load tries again and tells again, once
    EXPECT_EQ(services->boxes.size(), 2u);

    AfxSetResourceHandle(resources);
    ::SetCurrentDirectoryA(old);
}

} // namespace
