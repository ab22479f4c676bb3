// The browser, Select Wads and the Texture Adjustment window on the real WADs and maps of the
// shared data folder (skipped when it is absent).
#include "BrowserFixture.h"
#include "SelectWadsDlg.h"
#include "TextureAdjustDlg.h"
#include "shareddata.h"
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

namespace {

CString DataRoot()
{
    CString root = shareddata::Root().c_str();
    DWORD a = ::GetFileAttributesA(root);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
        return "";
    return root;
}

// The mip pixels of every texture of a WAD file, by upper-case name.
std::map<std::string, std::vector<BYTE>> ReadMipPixels(const CString& path)
{
    std::map<std::string, std::vector<BYTE>> out;
    std::ifstream f(static_cast<LPCSTR>(path), std::ios::binary);
    std::vector<char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    auto i32 = [&](size_t at) {
        return static_cast<int>(static_cast<BYTE>(d[at]) | static_cast<BYTE>(d[at + 1]) << 8 |
                                static_cast<BYTE>(d[at + 2]) << 16 | static_cast<DWORD>(static_cast<BYTE>(d[at + 3])) << 24);
    };
    if (d.size() < 12)
        return out;
    int n = i32(4), dir = i32(8);
    for (int k = 0; k < n; ++k) {
        size_t e = static_cast<size_t>(dir) + static_cast<size_t>(k) * 32;
        if (static_cast<BYTE>(d[e + 12]) != 0x44)
            continue;
        size_t at = static_cast<size_t>(i32(e));
        std::string name(&d[e + 16], strnlen(&d[e + 16], 16));
        for (char& c : name)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        int w = i32(at + 16), h = i32(at + 20), off = i32(at + 24);
        out[name].assign(d.begin() + static_cast<long>(at) + off, d.begin() + static_cast<long>(at) + off + w * h);
    }
    return out;
}



class RealData : public BrowserTest
{
protected:
    void SetUp() override
    {
        // The browser first: a skipped test is still torn down, and the teardown takes the
        // browser's objects apart.
        BrowserTest::SetUp();
        root = DataRoot();
        if (root.IsEmpty())
            GTEST_SKIP() << "no shared data folder at " << shareddata::Root();
        services->WriteProfileString("Project Settings", "Root Path", root);
        project->RemoveSection("Wads");
        project->WriteString("Paths", "Wads", "wads", TRUE);
    }
    void UseWads(std::initializer_list<const char*> wads)
    {
        project->RemoveSection("Wads");
        int n = 1;
        for (const char* w : wads) {
            CString key;
            key.Format("File%d", n++);
            project->WriteString("Wads", key, w, TRUE);
        }
    }
    int Statuses(const char* part)
    {
        int n = 0;
        for (const std::string& s : services->statuses)
            n += s.find(part) != std::string::npos;
        return n;
    }
    // Every texture shown while scrolling line by line from the top to the bottom at size s.
    std::set<Texture*> ScrollThrough(UINT sizeCommand, int& pages)
    {
        browser->SendMessage(WM_COMMAND, sizeCommand);
        HWND bar = ::GetDlgItem(browser->m_hWnd, IDC_TEXTURE_SCROLL);
        browser->SendMessage(WM_VSCROLL, SB_TOP, (LPARAM)bar);
        std::set<Texture*> seen;
        pages = 0;
        for (int last = -1; browser->GetScrollPosition() != last;) {
            last = browser->GetScrollPosition();
            for (POSITION pos = browser->GetVisibleList().GetHeadPosition(); pos;)
                seen.insert(static_cast<Texture*>(browser->GetVisibleList().GetNext(pos)));
            ++pages;
            browser->SendMessage(WM_VSCROLL, SB_LINEDOWN, (LPARAM)bar);
        }
        return seen;
    }
    CString root;
};

TEST_F(RealData, ListsEveryTextureAndScrollsWithoutGaps)
{
    UseWads({"wads/lq_dev.wad"});
    InitAndLoad();
    EXPECT_EQ(List()->GetCount(), 453);
    UseWads({"wads/lq_dev.wad", "wads/lq_liquidsky.wad", "wads/lq_mayan.wad", "wads/lq_utility.wad"});
    services->statuses.clear();
    browser->SendMessage(WM_TEXTURE_UNLOAD);
    browser->SendMessage(WM_TEXTURE_LOAD);
    int listed = List()->GetCount();
    int duplicates = Statuses("found more than once");
    EXPECT_EQ(listed, 620);
    EXPECT_EQ(duplicates, 453 + 79 + 96 + 11 - 620);
    EXPECT_TRUE(services->boxes.empty());
    printf("[  DATA    ] four WADs: %d names listed, %d duplicate reports\n", listed, duplicates);
    for (UINT cmd : {ID_TEXTURE_SIZE_32, ID_TEXTURE_SIZE_48, ID_TEXTURE_SIZE_64, ID_TEXTURE_SIZE_128, ID_TEXTURE_SIZE_256}) {
        int steps = 0;
        std::set<Texture*> seen = ScrollThrough(cmd, steps);
        EXPECT_EQ(static_cast<int>(seen.size()), 620) << cmd;
        // The last position shows the last row at the bottom.
        EXPECT_FALSE(browser->GetVisibleList().IsEmpty());
        EXPECT_EQ(static_cast<Texture*>(browser->GetVisibleList().GetTail()),
                  static_cast<Texture*>(List()->GetItemDataPtr(619)));
        printf("[  DATA    ] size %d: %d columns, %d rows, %d scroll positions\n", browser->GetThumbnailSize(),
               browser->GetGrid().columns, browser->GetGrid().totalRows, steps);
    }
}

TEST_F(RealData, PictureWadAloneListsNothing)
{
    UseWads({"wads/other/gfx.wad"});
    InitAndLoad();
    EXPECT_EQ(List()->GetCount(), 0);
    EXPECT_TRUE(services->boxes.empty());
    EXPECT_GT(Statuses("CONCHARS"), 0);
    for (const std::string& s : services->statuses)
        printf("[  DATA    ] gfx.wad: %s\n", s.c_str());
}

TEST_F(RealData, ThumbnailsAreTheTexturesOwnColours)
{
    for (const char* wad : {"wads\\lq_dev.wad", "wads\\lq_liquidsky.wad"}) {
        UseWads({wad});
        browser->SendMessage(WM_TEXTURE_INIT);
        browser->SendMessage(WM_TEXTURE_UNLOAD);
        browser->SendMessage(WM_TEXTURE_LOAD);
        auto pixels = ReadMipPixels(root + "\\" + wad);
        int exact = 0, stretched = 0;
        for (UINT cmd : {ID_TEXTURE_SIZE_64, ID_TEXTURE_SIZE_256}) {
            browser->SendMessage(WM_COMMAND, cmd);
            HWND bar = ::GetDlgItem(browser->m_hWnd, IDC_TEXTURE_SCROLL);
            browser->SendMessage(WM_VSCROLL, SB_TOP, (LPARAM)bar);
            int s = browser->GetThumbnailSize();
            CTextureWnd* wnd = browser->GetTextureWnd();
            for (int last = -1; browser->GetScrollPosition() != last;) {
                last = browser->GetScrollPosition();
                CRect rc;
                wnd->GetClientRect(&rc);
                Canvas canvas(rc.Width(), rc.Height());
                wnd->DrawTextures(canvas.dc);
                ::GdiFlush();
                for (POSITION pos = browser->GetVisibleList().GetHeadPosition(); pos;) {
                    Texture* t = static_cast<Texture*>(browser->GetVisibleList().GetNext(pos));
                    const CRect& r = t->cell;
                    std::set<DWORD> own = ColoursOf(t);
                    const std::vector<BYTE>& mip = pixels[std::string(TextureKey(t->name))];
                    bool copy = ThumbnailIsCopy(s, t->width, t->height);
                    int bad = 0;
                    for (int y = r.top; y < r.bottom; ++y)
                        for (int x = r.left; x < r.right; ++x) {
                            DWORD c = canvas.At(x, y);
                            if (copy)
                                bad += c != Expected(mip[static_cast<size_t>((y - r.top) * t->width + x - r.left)]);
                            else
                                bad += own.count(c) == 0;
                        }
                    EXPECT_EQ(bad, 0) << t->name << " at " << s;
                    (copy ? exact : stretched)++;
                }
                browser->SendMessage(WM_VSCROLL, SB_PAGEDOWN, (LPARAM)bar);
            }
        }
        printf("[  DATA    ] %s: %d thumbnails pixel for pixel, %d stretched with their own colours\n", wad, exact,
               stretched);
    }
}

struct MapCount
{
    const char* map;
    int used;
};

TEST_F(RealData, UsedListsTheMapsTexturesThatTheWadsHold)
{
    UseWads({"wads/lq_dev.wad", "wads/lq_liquidsky.wad", "wads/lq_mayan.wad", "wads/lq_utility.wad"});
    InitAndLoad();
    for (MapCount m : {MapCount{"librequake_e2m2.map", 40}, MapCount{"librequake_e0m8.map", 34}}) {
        Map* doc = new Map;
        doc->m_bAutoDelete = FALSE;
        ASSERT_TRUE(doc->OnOpenDocument(root + "\\maps\\" + m.map)) << m.map;
        services->SetActiveMap(doc);
        CMapStringToPtr all;
        doc->CollectUsedTextures(all);
        browser->OnUsed();
        int listed = List()->GetCount();
        EXPECT_EQ(listed, m.used) << m.map;
        printf("[  DATA    ] %s: Used lists %d of the %d texture names its faces use\n", m.map, listed, all.GetCount());
        browser->OnUsed();
        EXPECT_EQ(List()->GetCount(), 620);
        services->SetActiveMap(nullptr);
        delete doc;
    }
}

TEST_F(RealData, SelectWadsListsTheTextureWads)
{
    UseWads({"wads/lq_dev.wad"});
    services->GetWadList().AddTail("wads/lq_dev.wad");
    CSelectWadsDlg dlg(nullptr);
    std::vector<std::string> texts, selected;
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND list = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
        int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char t[MAX_PATH] = "";
            ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t));
            texts.push_back(t);
            if (::SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
                selected.push_back(t);
        }
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    dlg.DoModal();
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"lq_dev", "lq_liquidsky", "lq_mayan", "lq_utility"}));
    EXPECT_EQ(selected, (std::vector<std::string>{"lq_dev"}));
}

TEST_F(RealData, TextureAdjustmentShowsEveryFaceWithoutChangingIt)
{
    UseWads({"wads/lq_dev.wad", "wads/lq_liquidsky.wad", "wads/lq_mayan.wad", "wads/lq_utility.wad"});
    InitAndLoad();
    CTextureAdjustDlg* dlg = new CTextureAdjustDlg(&host);
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA(root + "\\maps\\*.map", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    int maps = 0, faces = 0, shown = 0, outside = 0;
    do {
        Map* doc = new Map;
        doc->m_bAutoDelete = FALSE;
        ASSERT_TRUE(doc->OnOpenDocument(root + "\\maps\\" + fd.cFileName)) << fd.cFileName;
        services->SetActiveMap(doc);
        doc->SetModifiedFlag(FALSE);
        services->boxes.clear();
        ++maps;
        // What the window shows depends only on the five values: each distinct set of them is
        // shown once (through a face that holds it), and every face is checked afterwards.
        std::set<std::string> seen;
        std::vector<std::pair<Face*, Face>> all;
        for (Entity* e = doc->FirstEntity(); e; e = doc->NextEntity())
            for (Brush* b = doc->FirstBrush(); b; b = doc->NextBrush())
                for (Face& f : b->GetFaces()) {
                    all.push_back({&f, f});
                    ++faces;
                    outside += f.xOffset < 0 || f.xOffset > 511 || f.yOffset < 0 || f.yOffset > 511 || f.rotation < 0 ||
                               f.rotation > 359;
                    CString key;
                    key.Format("%d %d %d %.9g %.9g", f.xOffset, f.yOffset, f.rotation, f.xScale, f.yScale);
                    if (!seen.insert(static_cast<LPCSTR>(key)).second)
                        continue;
                    doc->SetPickedFace(&f);
                    dlg->Update(&f);
                    ++shown;
                }
        int changed = 0;
        for (const auto& p : all) {
            const Face& f = *p.first;
            const Face& before = p.second;
            changed += !(f.xOffset == before.xOffset && f.yOffset == before.yOffset && f.rotation == before.rotation &&
                         f.xScale == before.xScale && f.yScale == before.yScale && f.texture == before.texture);
        }
        EXPECT_EQ(changed, 0) << fd.cFileName;
        doc->SetPickedFace(nullptr);
        dlg->Update(nullptr);
        EXPECT_TRUE(services->boxes.empty()) << fd.cFileName;
        EXPECT_FALSE(doc->IsModified()) << fd.cFileName;
        services->SetActiveMap(nullptr);
        delete doc;
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    dlg->DestroyWindow();
    printf("[  DATA    ] Texture Adjustment: %d faces of %d maps, %d distinct value sets shown, %d faces with values "
           "outside the edit ranges\n",
           faces, maps, shown, outside);
}

} // namespace
