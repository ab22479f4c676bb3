// The texture browser as a child panel of a test window, driven with its own messages.
#include "BrowserFixture.h"
#include "SECBar.h"
#include <set>

namespace {

TEST_F(BrowserTest, LoadsListsAndUnloadsOnlyWithoutMaps)
{
    OpenMap();
    InitAndLoad();
    EXPECT_TRUE(browser->IsInitialised());
    EXPECT_EQ(ListNames(List()), (Names{"BRICK", "METAL", "ODD", "SMALL", "SQUARE"}));
    // Without a "Default" key the first item is shown; nothing is applied.
    EXPECT_EQ(Selected(List()), "BRICK");
    EXPECT_EQ(browser->GetCurrentTexture(), loader->FindTexture("BRICK"));
    char size[16] = "";
    ::GetDlgItemTextA(browser->m_hWnd, IDC_TEXTURE_SIZE, size, sizeof size);
    EXPECT_STREQ(size, "32x32");
    EXPECT_FALSE(map->IsModified());
    EXPECT_EQ(CountFaces(loader->FindTexture("BRICK")), 0);

    // A map is open: nothing is unloaded, the status line says so.
    EXPECT_EQ(browser->SendMessage(WM_TEXTURE_UNLOAD), 1);
    EXPECT_EQ(List()->GetCount(), 5);
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 5);
    ASSERT_FALSE(services->statuses.empty());
    EXPECT_EQ(services->statuses.back(), "The textures stay loaded while a map is open.");

    CloseMap();
    EXPECT_EQ(browser->SendMessage(WM_TEXTURE_UNLOAD), 0);
    EXPECT_EQ(List()->GetCount(), 0);
    EXPECT_EQ(Recent()->GetCount(), 0);
    EXPECT_EQ(loader->GetTextureMap().GetCount(), 0);
    EXPECT_EQ(browser->GetCurrentTexture(), nullptr);
    EXPECT_TRUE(browser->GetVisibleList().IsEmpty());

    // Loaded again, the project's default is shown.
    project->WriteString("Texture", "Default", "small", TRUE);
    EXPECT_EQ(browser->SendMessage(WM_TEXTURE_LOAD), 0);
    EXPECT_EQ(Selected(List()), "SMALL");
    // Loaded by someone else while the browser was empty: the load message lists them.
    browser->SendMessage(WM_TEXTURE_UNLOAD);
    EXPECT_TRUE(loader->LoadTextures());
    EXPECT_EQ(List()->GetCount(), 0);
    EXPECT_EQ(browser->SendMessage(WM_TEXTURE_LOAD), 0);
    EXPECT_EQ(List()->GetCount(), 5);
    EXPECT_EQ(Selected(List()), "SMALL");
    // No project: nothing loads.
    services->SetProject(nullptr);
    EXPECT_EQ(browser->SendMessage(WM_TEXTURE_LOAD), 1);
}

TEST_F(BrowserTest, ClickingAThumbnailAppliesShowingDoesNot)
{
    OpenMap();
    InitAndLoad();
    Texture* odd = loader->FindTexture("ODD");
    spy.updates.clear();
    ClickThumbnail("ODD");
    EXPECT_EQ(browser->GetCurrentTexture(), odd);
    EXPECT_EQ(Selected(List()), "ODD");
    EXPECT_EQ(ProjectValue("Texture", "Default"), "ODD");
    ASSERT_FALSE(browser->GetRecentNames().empty());
    EXPECT_EQ(std::string(browser->GetRecentNames()[0]), "ODD");
    EXPECT_EQ(Selected(Recent()), "ODD");
    EXPECT_EQ(CountFaces(odd), 6);
    EXPECT_TRUE(map->IsModified());
    bool sawHint = false;
    for (const auto& u : spy.updates)
        sawHint |= u.hint == HINT_TEXTURE_BROWSER && u.texture == odd;
    EXPECT_TRUE(sawHint);
    EXPECT_EQ(odd->flags & TEXTURE_CURRENT, TEXTURE_CURRENT);

    // Shown as a pick shows it: no face changes, the map stays unmodified.
    map->SetModifiedFlag(FALSE);
    Texture* metal = loader->FindTexture("METAL");
    browser->SelectTexture(metal);
    EXPECT_EQ(browser->GetCurrentTexture(), metal);
    EXPECT_EQ(odd->flags & TEXTURE_CURRENT, 0);
    EXPECT_EQ(CountFaces(odd), 6);
    EXPECT_FALSE(map->IsModified());

    // The map's own pick: the brush's texture becomes current through the services.
    map->UpdateCurrentTexture();
    EXPECT_EQ(services->shown.back(), odd);
    EXPECT_EQ(browser->GetCurrentTexture(), odd);
    EXPECT_FALSE(map->IsModified());

    // A texture not listed clears the selection.
    browser->SelectTexture(nullptr);
    EXPECT_EQ(List()->GetCurSel(), -1);
    EXPECT_EQ(browser->GetCurrentTexture(), nullptr);

    // The user's choice in the list applies it too.
    List()->SetCurSel(List()->FindStringExact(-1, "SQUARE"));
    browser->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEXTURE_LIST, CBN_SELCHANGE), (LPARAM)List()->m_hWnd);
    EXPECT_EQ(CountFaces(loader->FindTexture("SQUARE")), 6);
    EXPECT_TRUE(map->IsModified());

    // Choosing a recent item: back at the top, selected and applied.
    EXPECT_EQ(ListNames(Recent()), (Names{"SQUARE", "ODD", "METAL", "BRICK"}));
    map->SetModifiedFlag(FALSE);
    Recent()->SetCurSel(1);
    browser->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_RECENT_TEXTURES, CBN_SELCHANGE), (LPARAM)Recent()->m_hWnd);
    EXPECT_EQ(ListNames(Recent()), (Names{"ODD", "SQUARE", "METAL", "BRICK"}));
    EXPECT_EQ(Selected(List()), "ODD");
    EXPECT_EQ(CountFaces(odd), 6);
    EXPECT_TRUE(map->IsModified());
}

TEST_F(BrowserTest, ThumbnailsShowThePaletteColoursAndFrames)
{
    InitAndLoad();
    project->WriteString("Texture", "Default", "SQUARE", TRUE);
    browser->SelectTextureByName("ODD");
    browser->OnMarkTexture();
    EXPECT_EQ(ProjectValue("Texture", "Marked"), "ODD");
    browser->SelectTextureByName("SQUARE");
    ASSERT_EQ(browser->GetThumbnailSize(), 64);
    ASSERT_EQ(browser->GetVisibleList().GetCount(), 5);
    // The thumbnails as the texture window paints them, read back.
    CRect client;
    browser->GetTextureWnd()->GetClientRect(&client);
    Canvas canvas(client.Width(), client.Height());
    browser->GetTextureWnd()->DrawTextures(canvas.dc);
    ::GdiFlush();
    std::vector<bool> covered(static_cast<size_t>(canvas.w * canvas.h), false);
    for (int i = 0; i < 5; ++i) {
        Texture* t = static_cast<Texture*>(browser->GetVisibleList().GetAt(browser->GetVisibleList().FindIndex(i)));
        CRect r = CellOf(i);
        EXPECT_EQ(afxtest::Text(r), afxtest::Text(t->cell)) << t->name;
        std::set<DWORD> own = ColoursOf(t);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                covered[static_cast<size_t>(y * canvas.w + x)] = true;
                if (t->name == "SQUARE") // copied: the palette through the brightness table
                    ASSERT_EQ(canvas.At(x, y), Expected((x - r.left + (y - r.top) * 64 + 3) & 255))
                        << x - r.left << "," << y - r.top;
                else
                    ASSERT_TRUE(own.count(canvas.At(x, y))) << t->name << " " << x << "," << y;
            }
        // Frames 3 and 2 pixels outside the cell: solid for the current texture, dotted for the
        // marked one.
        int red = 0, other = 0;
        for (int d = 2; d <= 3; ++d)
            for (int y = r.top - d; y < r.bottom + d; ++y) {
                for (int x : {static_cast<int>(r.left) - d, static_cast<int>(r.right) + d - 1}) {
                    covered[static_cast<size_t>(y * canvas.w + x)] = true;
                    (canvas.At(x, y) == 0xFF0000 ? red : other)++;
                }
            }
        for (int d = 2; d <= 3; ++d)
            for (int x = r.left - d; x < r.right + d; ++x)
                for (int y : {static_cast<int>(r.top) - d, static_cast<int>(r.bottom) + d - 1}) {
                    covered[static_cast<size_t>(y * canvas.w + x)] = true;
                    (canvas.At(x, y) == 0xFF0000 ? red : other)++;
                }
        if (t->name == "SQUARE") {
            EXPECT_EQ(other, 0);
        } else if (t->name == "ODD") {
            EXPECT_GT(red, 0);
            EXPECT_GT(other, 0);
        } else {
            EXPECT_EQ(red, 0) << t->name;
        }
    }
    // The rest is the background.
    int stray = 0;
    for (int y = 0; y < canvas.h; ++y)
        for (int x = 0; x < canvas.w; ++x)
            if (!covered[static_cast<size_t>(y * canvas.w + x)] && canvas.At(x, y) != 0)
                ++stray;
    EXPECT_EQ(stray, 0);
}

TEST_F(BrowserTest, RecentItemsShowTheirThumbnails)
{
    InitAndLoad();
    browser->SelectTextureByName("SQUARE");
    Canvas canvas(200, 64);
    auto draw = [&](UINT state) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = IDC_RECENT_TEXTURES;
        dis.itemID = 0;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = Recent()->m_hWnd;
        dis.hDC = canvas.dc;
        dis.rcItem = {0, 0, 200, 64};
        browser->SendMessage(WM_DRAWITEM, IDC_RECENT_TEXTURES, (LPARAM)&dis);
        ::GdiFlush();
    };
    auto at = [&](int x, int y) { return canvas.At(x, y); };
    draw(ODS_SELECTED);
    // A 64 x 64 texture is copied into the square at the left (inside the frame).
    int bad = 0;
    for (int y = 1; y < 63; ++y)
        for (int x = 1; x < 63; ++x)
            bad += at(x, y) != Expected((x + y * 64 + 3) & 255);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(at(0, 30), 0xFF0000u);   // the selected item's frame
    EXPECT_EQ(at(199, 30), 0xFF0000u);
    EXPECT_EQ(at(120, 2), 0u);         // the background
    draw(0);
    EXPECT_EQ(at(0, 30), 0u);          // the unselected item's frame is the background pen
}

TEST_F(BrowserTest, MarkApplyUsedAndSelectBrushes)
{
    OpenMap();
    InitAndLoad();
    // Mark without a current texture does nothing; Apply Marked without a mark says so.
    browser->SelectTexture(nullptr);
    browser->OnMarkTexture();
    EXPECT_EQ(ProjectValue("Texture", "Marked"), "<none>");
    browser->OnApplyMarked();
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text, "A texture is not currently marked.");

    browser->SelectTextureByName("METAL");
    browser->OnMarkTexture();
    EXPECT_EQ(ProjectValue("Texture", "Marked"), "METAL");
    Texture* metal = loader->FindTexture("METAL");
    EXPECT_EQ(browser->GetMarkedTexture(), metal);
    browser->OnApplyMarked();
    EXPECT_EQ(CountFaces(metal), 6);
    EXPECT_TRUE(map->IsModified());

    // Select Brushes: the brush with the current texture.
    map->GetSelection().RemoveAll();
    brush->SetSelected(false);
    browser->OnSelectBrushes();
    EXPECT_EQ(map->GetSelectionCount(), 1);

    // Used: only the map's textures; the old frames go.
    Texture* brick = loader->FindTexture("BRICK");
    // No current texture is needed: the active map decides.
    browser->SelectTexture(nullptr);
    browser->OnUsed();
    EXPECT_EQ(ListNames(List()), (Names{"METAL"}));
    browser->OnUsed();
    browser->SelectTextureByName("BRICK");
    browser->OnUsed();
    EXPECT_TRUE(browser->IsUsedOnly());
    EXPECT_EQ(ListNames(List()), (Names{"METAL"}));
    EXPECT_EQ(brick->flags & (TEXTURE_CURRENT | TEXTURE_MARKED), 0);
    EXPECT_EQ(browser->GetMarkedTexture(), metal);
    EXPECT_EQ(browser->GetVisibleList().GetCount(), 1);
    browser->OnUsed();
    EXPECT_EQ(List()->GetCount(), 5);

    // Used without an active map lists nothing.
    CloseMap();
    browser->OnUsed();
    EXPECT_EQ(List()->GetCount(), 0);
    EXPECT_TRUE(browser->GetVisibleList().IsEmpty());
    EXPECT_EQ(browser->GetCurrentTexture(), nullptr);
    browser->OnUsed();
    EXPECT_EQ(List()->GetCount(), 5);
}

// A Resource window stand-in: records the commands that reach it.
class SpyBar : public SECControlBar
{
public:
    std::vector<UINT> commands;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override
    {
        if (nCode == CN_COMMAND && nID >= ID_SEC_ALLOWDOCKING && nID <= ID_SEC_MDIFLOAT) {
            commands.push_back(nID);
            return TRUE;
        }
        return SECControlBar::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
};

UINT StateOf(const AfxModalCall& call, UINT id)
{
    for (const AfxModalMenuItem& item : call.menuItems)
        if (item.nID == id)
            return item.nState;
    return static_cast<UINT>(-1);
}

TEST_F(BrowserTest, ContextMenu)
{
    InitAndLoad();
    CRect r;
    browser->GetWindowRect(&r);
    auto openMenu = [&](INT_PTR choice) {
        AfxSeamAnswer(choice);
        browser->SendMessage(WM_CONTEXTMENU, (WPARAM)browser->m_hWnd, MAKELPARAM(r.left + 20, r.top + 20));
        afxtest::PumpMessages();
        return AfxSeamCalls().back();
    };
    const UINT projectItems[] = {ID_TEXTURE_SIZE_32, ID_TEXTURE_SIZE_48, ID_TEXTURE_SIZE_64, ID_TEXTURE_SIZE_128,
                                 ID_TEXTURE_SIZE_256, ID_TEXTURE_MARK, ID_TEXTURE_APPLY_MARKED, ID_TEXTURE_USED,
                                 ID_TEXTURE_SELECT_BRUSHES};
    AfxModalCall call = openMenu(0);
    ASSERT_EQ(call.kind, AFX_MODAL_POPUPMENU);
    for (UINT id : projectItems)
        EXPECT_EQ(StateOf(call, id) & MF_GRAYED, 0u) << id;
    EXPECT_TRUE(StateOf(call, ID_TEXTURE_SIZE_64) & MF_CHECKED);
    EXPECT_FALSE(StateOf(call, ID_TEXTURE_SIZE_128) & MF_CHECKED);
    // No bar holds the browser: its commands are disabled.
    for (UINT id : {ID_SEC_ALLOWDOCKING, ID_SEC_HIDE, ID_SEC_MDIFLOAT})
        EXPECT_TRUE(StateOf(call, id) & MF_GRAYED) << id;

    int columns64 = browser->GetGrid().columns;
    openMenu(ID_TEXTURE_SIZE_128);
    EXPECT_EQ(browser->GetThumbnailSize(), 128);
    EXPECT_LT(browser->GetGrid().columns, columns64);
    EXPECT_EQ(browser->GetTextureWnd()->m_size, 128);
    call = openMenu(0);
    EXPECT_TRUE(StateOf(call, ID_TEXTURE_SIZE_128) & MF_CHECKED);

    services->SetProject(nullptr);
    call = openMenu(0);
    for (UINT id : projectItems)
        EXPECT_TRUE(StateOf(call, id) & MF_GRAYED) << id;
    EXPECT_FALSE(StateOf(call, ID_TEXTURE_SELECT_WADS) & MF_GRAYED);
    services->SetProject(project);
}

TEST_F(BrowserTest, BarCommandsReachTheHoldingBar)
{
    SpyBar bar;
    ASSERT_TRUE(bar.Create(&host, "Resource", WS_CHILD | WS_VISIBLE | CBRS_LEFT, CBRS_EX_CONTEXTMENU));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    browser->SetParent(&bar);
    EXPECT_EQ(browser->FindOwningBar(), &bar);
    AfxSeamAnswer(ID_SEC_HIDE);
    browser->SendMessage(WM_CONTEXTMENU, (WPARAM)browser->m_hWnd, MAKELPARAM(10, 10));
    afxtest::PumpMessages();
    const AfxModalCall& call = AfxSeamCalls().back();
    EXPECT_FALSE(StateOf(call, ID_SEC_ALLOWDOCKING) & MF_GRAYED);
    EXPECT_TRUE(StateOf(call, ID_SEC_ALLOWDOCKING) & MF_CHECKED);
    EXPECT_FALSE(StateOf(call, ID_SEC_MDIFLOAT) & MF_CHECKED);
    browser->SendMessage(WM_COMMAND, ID_SEC_ALLOWDOCKING);
    EXPECT_EQ(bar.commands, (std::vector<UINT>{ID_SEC_HIDE, ID_SEC_ALLOWDOCKING}));
    browser->SetParent(&host);
    bar.DestroyWindow();
}

TEST_F(BrowserTest, ScrollingShowsEveryTextureOnce)
{
    InitAndLoad();
    CRect rc;
    host.GetClientRect(&rc);
    // A short panel: the grid needs the scroll bar.
    browser->MoveWindow(0, 0, 120, 260);
    const TextureGrid& g = browser->GetGrid();
    ASSERT_TRUE(g.scrollEnabled);
    ASSERT_EQ(g.columns, 1);
    std::set<Texture*> seen;
    browser->SendMessage(WM_VSCROLL, SB_TOP, (LPARAM)::GetDlgItem(browser->m_hWnd, IDC_TEXTURE_SCROLL));
    for (int step = 0; step < 10; ++step) {
        for (POSITION pos = browser->GetVisibleList().GetHeadPosition(); pos;)
            seen.insert(static_cast<Texture*>(browser->GetVisibleList().GetNext(pos)));
        EXPECT_FALSE(browser->GetVisibleList().IsEmpty());
        browser->SendMessage(WM_VSCROLL, SB_LINEDOWN, (LPARAM)::GetDlgItem(browser->m_hWnd, IDC_TEXTURE_SCROLL));
    }
    EXPECT_EQ(seen.size(), 5u);
    // At the bottom, the last row is shown.
    browser->SendMessage(WM_VSCROLL, SB_BOTTOM, (LPARAM)::GetDlgItem(browser->m_hWnd, IDC_TEXTURE_SCROLL));
    EXPECT_EQ(browser->GetVisibleList().GetTail(), loader->FindTexture("SQUARE"));
    // Showing a texture scrolls it into view.
    browser->SelectTextureByName("BRICK");
    EXPECT_EQ(browser->GetScrollPosition(), 0);
    EXPECT_EQ(browser->GetVisibleList().GetHead(), loader->FindTexture("BRICK"));
}

} // namespace
