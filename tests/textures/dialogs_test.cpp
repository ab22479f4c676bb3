// The Select Wads dialog through the seam's live driver, and the Texture Adjustment window.
#include "BrowserFixture.h"
#include "SelectWadsDlg.h"
#include "TextureAdjustDlg.h"
#include "Tokenizer.h"
#include "Wad.h"

namespace {

class SelectWads : public BrowserTest
{
protected:
    void SetUp() override
    {
        BrowserTest::SetUp();
        ::CreateDirectoryA(dir.Path("wads"), nullptr);
        for (const char* name : {"a.wad", "b.wad", "c.wad"})
            dir.WriteFile((std::string("wads\\") + name).c_str(), BuildWad({MipLump(std::string("T_") + name[0], 16, 16)}));
        project->WriteString("Paths", "Wads", "wads", TRUE);
        project->RemoveSection("Wads");
        // One stored with other case and "/", one as written, one gone from the disk.
        const char* stored[] = {"wads/A.WAD", "wads\\b.wad", "wads\\gone.wad"};
        int n = 1;
        for (const char* s : stored) {
            CString key;
            key.Format("File%d", n++);
            project->WriteString("Wads", key, s, TRUE);
            services->GetWadList().AddTail(s);
        }
    }
    static CString ItemPath(HWND list, int i)
    {
        return *reinterpret_cast<CString*>(::SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    }
    static std::string ItemText(HWND list, int i)
    {
        char text[MAX_PATH] = "";
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The selected items' texts, sorted.
    static std::vector<std::string> SelectedTexts(HWND list)
    {
        std::vector<std::string> s;
        int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i)
            if (::SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
                s.push_back(ItemText(list, i));
        std::sort(s.begin(), s.end());
        return s;
    }
    std::vector<std::string> WadKeys()
    {
        std::vector<std::string> keys;
        CStringArray names;
        if (!project->GetKeys("Wads", names))
            return keys;
        for (INT_PTR i = 0; i < names.GetSize(); ++i)
            keys.push_back(std::string(names[i]) + "=" + static_cast<LPCSTR>(*project->GetString("Wads", names[i])));
        std::sort(keys.begin(), keys.end());
        return keys;
    }
};

TEST_F(SelectWads, PreselectsCompactsAndRewritesTheProject)
{
    CSelectWadsDlg dlg(nullptr);
    std::vector<std::string> compact, full, afterToggle;
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND list = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
        EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
        compact = SelectedTexts(list);
        EXPECT_EQ(::IsDlgButtonChecked(call.hWnd, IDC_COMPACT_NAMES), 1u);
        ::SendMessageA(::GetDlgItem(call.hWnd, IDC_COMPACT_NAMES), BM_CLICK, 0, 0);
        full = SelectedTexts(list);
        ::SendMessageA(list, LB_SETSEL, TRUE, -1);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(compact, (std::vector<std::string>{"a", "b"}));
    ASSERT_EQ(full.size(), 2u);
    EXPECT_TRUE(SameWadPath(full[0].c_str(), dir.Path("wads\\a.wad"))) << full[0];
    EXPECT_TRUE(SameWadPath(full[1].c_str(), dir.Path("wads\\b.wad"))) << full[1];
    EXPECT_EQ(services->GetProfileInt("Wad List", "Compact Names", 1), 0);
    EXPECT_TRUE(services->LineContains("could no longer be found"));
    EXPECT_TRUE(services->LineContains("gone.wad"));
    EXPECT_EQ(WadKeys(), (std::vector<std::string>{"File1=wads\\a.wad", "File2=wads\\b.wad", "File3=wads\\c.wad"}));
    EXPECT_EQ(services->GetWadList().GetCount(), 3);
    EXPECT_STREQ(services->GetWadList().GetHead(), "wads\\a.wad");
    // Written to disk as well.
    CIniFile reread(dir.Path("p.mpj"));
    ASSERT_TRUE(reread.Read());
    ASSERT_NE(reread.GetString("Wads", "File3"), nullptr);
    EXPECT_STREQ(*reread.GetString("Wads", "File3"), "wads\\c.wad");
}

// The project's own WAD list: c.wad before a.wad (both hold SAME: c's wins) and a WAD outside
// the Wads folder. The same choice confirmed leaves the list and the file as they were; another
// choice keeps the project's order and the outside WAD while it stays chosen.
TEST_F(SelectWads, TheProjectsOrderAndItsWadsFromElsewhereAreKept)
{
    ::CreateDirectoryA(dir.Path("other"), nullptr);
    dir.WriteFile("wads\\c.wad", BuildWad({MipLump("T_C", 16, 16), MipLump("SAME", 16, 16, 3)}));
    dir.WriteFile("wads\\a.wad", BuildWad({MipLump("T_A", 16, 16), MipLump("SAME", 16, 16, 1)}));
    dir.WriteFile("other\\x.wad", BuildWad({MipLump("T_X", 16, 16)}));
    const std::string original = "[Paths]\r\nWads=wads\r\n\r\n[Wads]\r\nFile1=wads\\c.wad\r\n"
                                 "File2=wads/A.WAD\r\nFile3=other\\x.wad\r\n";
    const CString outside = dir.Path("other\\x.wad");
    enum Change { NONE, UNSELECT_A, SELECT_B, UNSELECT_X };
    const struct
    {
        Change change;
        std::vector<std::string> wads; // the section afterwards; empty: the file as it was
    } cases[] = {
        {NONE, {}},
        {UNSELECT_A, {"wads\\c.wad", "other\\x.wad"}},
        {SELECT_B, {"wads\\c.wad", "wads\\a.wad", "other\\x.wad", "wads\\b.wad"}},
        {UNSELECT_X, {"wads\\c.wad", "wads\\a.wad"}},
    };
    CIniFile* fixtureProject = project;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        dir.WriteFile("own.prj", original);
        CIniFile own(dir.Path("own.prj"));
        ASSERT_TRUE(own.Read());
        services->SetProject(&own);
        // The application's list as a project load makes it: absolute paths in the project's order.
        CStringList& list = services->GetWadList();
        list.RemoveAll();
        for (const char* w : {"wads\\c.wad", "wads/A.WAD", "other\\x.wad"}) {
            CString path = w;
            MakeRootAbsolute(path);
            list.AddTail(path);
        }
        const std::vector<std::string> listBefore = {static_cast<LPCSTR>(list.GetAt(list.FindIndex(0))),
                                                     static_cast<LPCSTR>(list.GetAt(list.FindIndex(1))),
                                                     static_cast<LPCSTR>(list.GetAt(list.FindIndex(2)))};
        services->lines.clear();
        std::vector<std::string> compact, selected;
        CSelectWadsDlg dlg(nullptr);
        AfxSeamDrive([&](AfxModalCall& call) {
            HWND hList = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
            int n = static_cast<int>(::SendMessageA(hList, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i)
                compact.push_back(ItemText(hList, i));
            selected = SelectedTexts(hList);
            for (int i = 0; i < n; ++i) {
                const std::string name(CompactWadName(ItemPath(hList, i)));
                if ((c.change == UNSELECT_A && name == "a") || (c.change == UNSELECT_X && name == "x"))
                    ::SendMessageA(hList, LB_SETSEL, FALSE, i);
                if (c.change == SELECT_B && name == "b")
                    ::SendMessageA(hList, LB_SETSEL, TRUE, i);
            }
            AfxSeamPressButton(call.hWnd, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        // Listed: the folder's WADs by name, then the outside one with its path.
        EXPECT_EQ(compact, (std::vector<std::string>{"a", "b", "c", static_cast<LPCSTR>(outside)}));
        EXPECT_EQ(selected, (std::vector<std::string>{static_cast<LPCSTR>(outside), "a", "c"}));
        EXPECT_FALSE(services->LineContains("could no longer be found"));
        EXPECT_TRUE(own.Write());
        if (c.wads.empty()) {
            EXPECT_EQ(dir.ReadFile("own.prj"), original);
            std::vector<std::string> listAfter;
            for (POSITION pos = list.GetHeadPosition(); pos;)
                listAfter.push_back(static_cast<LPCSTR>(list.GetNext(pos)));
            EXPECT_EQ(listAfter, listBefore);
            // The first WAD of the list gives the name both hold.
            loader->UnloadTextures();
            ASSERT_TRUE(loader->LoadTextures());
            ASSERT_NE(loader->FindTexture("SAME"), nullptr);
            EXPECT_TRUE(SameWadPath(loader->FindTexture("SAME")->wad->GetPathName(), dir.Path("wads\\c.wad")));
        } else {
            CIniFile reread(dir.Path("own.prj"));
            ASSERT_TRUE(reread.Read());
            CStringArray values;
            EXPECT_EQ(reread.GetNumberedValues("Wads", "File", values), 0);
            std::vector<std::string> wads;
            for (INT_PTR i = 0; i < values.GetSize(); ++i)
                wads.push_back(static_cast<LPCSTR>(values[i]));
            EXPECT_EQ(wads, c.wads);
            EXPECT_EQ(list.GetCount(), static_cast<INT_PTR>(c.wads.size()));
        }
        loader->UnloadTextures();
        services->SetProject(fixtureProject);
    }
}

// The project's WADs on a network share (its path written with "\\" or "/") and one named by a
// device path ("\\?\") are found where they are: listed with their paths, chosen, and kept in the
// project when another WAD is chosen too.
TEST_F(SelectWads, WadsOnAShareOrADevicePathStayInTheProject)
{
    CTempShare share;
    if (!share.Reachable())
        GTEST_SKIP() << share.Why();
    share.WriteFile("s.wad", BuildWad({MipLump("T_S", 16, 16)}));
    share.WriteFile("t.wad", BuildWad({MipLump("T_T", 16, 16)}));
    ::CreateDirectoryA(dir.Path("other"), nullptr);
    dir.WriteFile("other\\x.wad", BuildWad({MipLump("T_X", 16, 16)}));
    CString slashes = share.Path("t.wad");
    slashes.Replace('\\', '/');
    const std::vector<std::string> stored = {static_cast<LPCSTR>(share.Path("s.wad")),
                                             static_cast<LPCSTR>("\\\\?\\" + dir.Path("other\\x.wad")),
                                             static_cast<LPCSTR>(slashes)};
    project->RemoveSection("Wads");
    CStringList& list = services->GetWadList();
    list.RemoveAll();
    for (size_t n = 0; n < stored.size(); ++n) {
        CString key;
        key.Format("File%d", static_cast<int>(n + 1));
        project->WriteString("Wads", key, stored[n].c_str(), TRUE);
        CString path = stored[n].c_str();
        MakeRootAbsolute(path);
        list.AddTail(path);
    }
    std::vector<std::string> selected;
    CSelectWadsDlg dlg(nullptr);
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND hList = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
        selected = SelectedTexts(hList);
        int n = static_cast<int>(::SendMessageA(hList, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i)
            if (ItemText(hList, i) == "b")
                ::SendMessageA(hList, LB_SETSEL, TRUE, i);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    std::vector<std::string> shown = {static_cast<LPCSTR>(share.Path("s.wad")),
                                      static_cast<LPCSTR>(share.Path("t.wad")),
                                      static_cast<LPCSTR>("\\\\?\\" + dir.Path("other\\x.wad"))};
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(selected, shown);
    EXPECT_FALSE(services->LineContains("could no longer be found"));
    CStringArray values;
    EXPECT_EQ(project->GetNumberedValues("Wads", "File", values), 0);
    std::vector<std::string> wads;
    for (INT_PTR i = 0; i < values.GetSize(); ++i)
        wads.push_back(static_cast<LPCSTR>(values[i]));
    // Rewritten as listed: the share's path with "\\".
    std::vector<std::string> expected = {stored[0], stored[1], static_cast<LPCSTR>(share.Path("t.wad")), "wads\\b.wad"};
    EXPECT_EQ(wads, expected);
}

// The files of every WAD folder are listed together in name order (case ignored), whatever
// order the folders and the disk give them in.
TEST_F(SelectWads, TheFilesAreSortedByName)
{
    ::CreateDirectoryA(dir.Path("more"), nullptr);
    for (const char* name : {"z.wad", "B2.wad"})
        dir.WriteFile((std::string("more\\") + name).c_str(), BuildWad({MipLump("T_Z", 16, 16)}));
    project->WriteString("Paths", "Wads", "more;wads", TRUE);
    std::vector<std::string> compact, full;
    CSelectWadsDlg dlg(nullptr);
    AfxSeamDrive([&](AfxModalCall& call) {
        HWND list = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
        for (int i = 0; i < static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)); ++i)
            compact.push_back(ItemText(list, i));
        ::SendMessageA(::GetDlgItem(call.hWnd, IDC_COMPACT_NAMES), BM_CLICK, 0, 0);
        for (int i = 0; i < static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)); ++i)
            full.push_back(static_cast<LPCSTR>(CompactWadName(ItemText(list, i).c_str())));
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(compact, (std::vector<std::string>{"a", "b", "B2", "c", "z"}));
    EXPECT_EQ(full, compact);
}

TEST_F(SelectWads, CancelChangesNothing)
{
    std::vector<std::string> before = WadKeys();
    CSelectWadsDlg dlg(nullptr);
    AfxSeamDrive([&](AfxModalCall& call) {
        ::SendMessageA(::GetDlgItem(call.hWnd, IDC_WAD_LIST), LB_SETSEL, TRUE, -1);
        AfxSeamPressButton(call.hWnd, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(WadKeys(), before);
    EXPECT_EQ(services->GetWadList().GetCount(), 3);
}

TEST_F(SelectWads, NothingFoundOrNoProject)
{
    ::CreateDirectoryA(dir.Path("empty"), nullptr);
    project->WriteString("Paths", "Wads", "empty", TRUE);
    CSelectWadsDlg dlg(nullptr);
    AfxSeamDrive([&](AfxModalCall& call) {
        // Nothing in the folder: only the project's two WADs that are still there, now outside it.
        HWND list = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
        EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SelectedTexts(list).size(), 2u);
        ::SendMessageA(list, LB_SETSEL, FALSE, -1);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(services->LineContains("No wads were found in the wad path(s)"));
    EXPECT_EQ(WadKeys(), std::vector<std::string>{}); // OK with nothing selected empties the list

    // Without a project: an empty list, and OK writes nothing.
    project->WriteString("Wads", "File1", "wads\\a.wad", TRUE);
    services->SetProject(nullptr);
    CSelectWadsDlg none(nullptr);
    AfxSeamDrive([&](AfxModalCall& call) {
        EXPECT_EQ(::SendDlgItemMessageA(call.hWnd, IDC_WAD_LIST, LB_GETCOUNT, 0, 0), 0);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    EXPECT_EQ(none.DoModal(), IDOK);
    services->SetProject(project);
    EXPECT_EQ(WadKeys(), (std::vector<std::string>{"File1=wads\\a.wad"}));
}

TEST_F(SelectWads, FromTheBrowser)
{
    InitAndLoad();
    EXPECT_EQ(ListNames(List()), (Names{"T_A", "T_B"}));
    services->boxes.clear(); // the stored WAD that is gone was reported
    OpenMap();
    browser->OnSelectWads();
    ASSERT_EQ(services->boxes.size(), 1u);
    EXPECT_EQ(services->boxes[0].text, "In order to select new wads, you\nmust close all current maps first.");
    EXPECT_TRUE(AfxSeamCalls().empty());
    CloseMap();

    AfxSeamDrive([&](AfxModalCall& call) {
        HWND list = ::GetDlgItem(call.hWnd, IDC_WAD_LIST);
        ::SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (int i = 0; i < 3; ++i)
            if (CompactWadName(ItemPath(list, i)) != "b")
                ::SendMessageA(list, LB_SETSEL, TRUE, i);
        AfxSeamPressButton(call.hWnd, IDOK);
    });
    browser->OnSelectWads();
    EXPECT_EQ(ListNames(List()), (Names{"T_A", "T_C"}));
    EXPECT_EQ(loader->GetWadCount(), 2);
}

// ---------------------------------------------------------------------------

class TextureAdjust : public BrowserTest
{
protected:
    void SetUp() override
    {
        BrowserTest::SetUp();
        OpenMap();
        dlg = new CTextureAdjustDlg(&host);
        ASSERT_NE(dlg->m_hWnd, nullptr);
        face = &brush->GetFaces()[2];
        face->xOffset = -16;
        face->yOffset = 600;
        face->rotation = 400;
        face->xScale = 0.5f;
        face->yScale = -2;
        map->SetPickedFace(face);
    }
    void TearDown() override
    {
        dlg->DestroyWindow(); // deletes itself
        BrowserTest::TearDown();
    }
    std::string Text(int id)
    {
        char t[64] = "";
        ::GetDlgItemTextA(dlg->m_hWnd, id, t, sizeof t);
        return t;
    }
    void Type(int id, LPCSTR text) { ::SetDlgItemTextA(dlg->m_hWnd, id, text); }
    std::string FaceValues()
    {
        CString s;
        s.Format("%d %d %d %.2f %.2f", face->xOffset, face->yOffset, face->rotation, face->xScale, face->yScale);
        return static_cast<LPCSTR>(s);
    }
    CTextureAdjustDlg* dlg = nullptr;
    Face* face = nullptr;
};

TEST_F(TextureAdjust, FillingShowsTheFaceAndWritesNothing)
{
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg->m_hWnd, IDC_X_OFFSET)));
    // No face picked: the scales are empty, not "0.00".
    EXPECT_EQ(Text(IDC_X_SCALE), "");
    EXPECT_EQ(Text(IDC_Y_SCALE), "");
    dlg->Update(face);
    EXPECT_EQ(Text(IDC_X_OFFSET), "-16");
    EXPECT_EQ(Text(IDC_Y_OFFSET), "600");
    EXPECT_EQ(Text(IDC_ROTATE), "400");
    EXPECT_EQ(Text(IDC_X_SCALE), "0.50");
    EXPECT_EQ(Text(IDC_Y_SCALE), "-2.00");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg->m_hWnd, IDC_ROTATE_SPIN)));
    EXPECT_TRUE(services->boxes.empty());
    EXPECT_EQ(FaceValues(), "-16 600 400 0.50 -2.00");
    EXPECT_FALSE(map->IsModified());

    dlg->Update(nullptr);
    for (int id : {IDC_X_OFFSET, IDC_X_OFFSET_SPIN, IDC_Y_OFFSET, IDC_Y_OFFSET_SPIN, IDC_ROTATE, IDC_ROTATE_SPIN,
                   IDC_X_SCALE, IDC_Y_SCALE})
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg->m_hWnd, id))) << id;
    EXPECT_EQ(Text(IDC_Y_OFFSET), "600");
    EXPECT_EQ(Text(IDC_X_SCALE), "");
    EXPECT_EQ(Text(IDC_Y_SCALE), "");
    EXPECT_EQ(FaceValues(), "-16 600 400 0.50 -2.00");
    EXPECT_FALSE(map->IsModified());
}

TEST_F(TextureAdjust, TypedValues)
{
    dlg->Update(face);
    struct Case
    {
        int id;
        const char* text;
        const char* box;     // "" for none
        const char* shown;   // the edit's text afterwards
        const char* face;    // the face afterwards
    } cases[] = {
        {IDC_X_OFFSET, "512", "The x offset value must be between 0 and 511", "511", "-16 600 400 0.50 -2.00"},
        {IDC_ROTATE, "-5", "The rotate value must be between 0 and 359", "0", "-16 600 400 0.50 -2.00"},
        {IDC_Y_OFFSET, "65541", "The y offset value must be between 0 and 511", "511", "-16 600 400 0.50 -2.00"},
        {IDC_X_SCALE, "100.00", "", "100.00", "-16 600 400 100.00 -2.00"},
        {IDC_Y_SCALE, "-100.00", "", "-100.00", "-16 600 400 100.00 -100.00"},
        {IDC_Y_SCALE, "-100.5", "The y scale value must be between -100.00 and 100.00", "-100.00",
         "-16 600 400 100.00 -100.00"},
        {IDC_X_SCALE, "", "", "", "-16 600 400 100.00 -100.00"},
        {IDC_X_SCALE, "-", "", "-", "-16 600 400 100.00 -100.00"},
        {IDC_ROTATE, "37", "", "37", "-16 600 37 100.00 -100.00"},
        {IDC_X_OFFSET, "8", "", "8", "8 600 37 100.00 -100.00"},
    };
    for (const Case& c : cases) {
        services->boxes.clear();
        Type(c.id, c.text);
        SCOPED_TRACE(c.text);
        if (*c.box) {
            ASSERT_EQ(services->boxes.size(), 1u);
            EXPECT_EQ(services->boxes[0].text, c.box);
        } else {
            EXPECT_TRUE(services->boxes.empty());
        }
        EXPECT_EQ(Text(c.id), c.shown);
        EXPECT_EQ(FaceValues(), c.face);
    }
    EXPECT_TRUE(map->IsModified());
    bool hint18 = false;
    for (const auto& u : spy.updates)
        hint18 |= u.hint == HINT_TEXTURE_ADJUST;
    EXPECT_TRUE(hint18);
}

// A scale is a number a float holds as other than zero: not a number (which fails every range
// comparison) and a value too small for a float get the range message, and the face keeps its
// scale; the map would be written with "nan" or a 0. The valid forms are stored.
TEST_F(TextureAdjust, NotANumberOrAScaleWrittenAsZeroIsNoScale)
{
    dlg->Update(face);
    const char* const kX = "The x scale value must be between -100.00 and 100.00";
    const char* const kY = "The y scale value must be between -100.00 and 100.00";
    struct Case
    {
        int id;
        const char* text;
        const char* box;   // "" for none
        const char* shown; // the edit's text afterwards
        float x, y;        // the face's scales afterwards
    } cases[] = {
        {IDC_X_SCALE, "nan", kX, "100.00", 0.5f, -2},    {IDC_X_SCALE, "NaN", kX, "100.00", 0.5f, -2},
        {IDC_Y_SCALE, "-nan", kY, "100.00", 0.5f, -2},   {IDC_X_SCALE, "nan(1)", kX, "100.00", 0.5f, -2},
        {IDC_Y_SCALE, "1e-50", kY, "100.00", 0.5f, -2},  {IDC_X_SCALE, "-1e-50", kX, "100.00", 0.5f, -2},
        // A float, but one that the map text's six decimals write as zero.
        {IDC_X_SCALE, "0.0000004", kX, "100.00", 0.5f, -2}, {IDC_Y_SCALE, "-4e-7", kY, "100.00", 0.5f, -2},
        {IDC_X_SCALE, "0.25", "", "0.25", 0.25f, -2},    {IDC_Y_SCALE, "-1e1", "", "-1e1", 0.25f, -10},
        {IDC_X_SCALE, "1e-3", "", "1e-3", 0.001f, -10},  {IDC_Y_SCALE, " 7 ", "", " 7 ", 0.001f, 7},
        {IDC_X_SCALE, "0", "", "0", 0.001f, 7},          {IDC_Y_SCALE, "-100", "", "-100", 0.001f, -100},
        {IDC_X_SCALE, "0.000001", "", "0.000001", 0.000001f, -100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        services->boxes.clear();
        Type(c.id, c.text);
        if (*c.box) {
            ASSERT_EQ(services->boxes.size(), 1u);
            EXPECT_EQ(services->boxes[0].text, c.box);
        } else {
            EXPECT_TRUE(services->boxes.empty());
        }
        EXPECT_EQ(Text(c.id), c.shown);
        EXPECT_EQ(face->xScale, c.x);
        EXPECT_EQ(face->yScale, c.y);
    }
}

// A typed or pasted text may hold any bytes: the byte 0x98 after a digit, a punctuation mark or a
// symbol makes Wine 8's edit controls fault in some fonts. The fields show it as typed and
// take its number.
TEST_F(TextureAdjust, TextThatTripsTheLayoutShowsAsTypedAndGivesItsNumber)
{
    dlg->ShowWindow(SW_SHOW);
    dlg->Update(face);
    const struct
    {
        int id;
        const char* text;
        const char* face;
    } cases[] = {
        {IDC_X_OFFSET, "1\x98", "1 600 400 0.50 -2.00"},      {IDC_Y_OFFSET, "=\x98", "1 0 400 0.50 -2.00"},
        {IDC_ROTATE, "\xbf\x98", "1 0 0 0.50 -2.00"},          {IDC_X_SCALE, "2.\x98", "1 0 0 2.00 -2.00"},
        {IDC_Y_SCALE, "\x98", "1 0 0 2.00 -2.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Type(c.id, c.text);
        dlg->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_EQ(Text(c.id), c.text);
        EXPECT_EQ(FaceValues(), c.face);
    }
    EXPECT_TRUE(services->boxes.empty());
}

TEST_F(TextureAdjust, EscapeHidesTheWindowTheFrameKeeps)
{
    dlg->ShowWindow(SW_SHOW);
    dlg->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(::IsWindow(dlg->m_hWnd));
    EXPECT_FALSE(dlg->IsWindowVisible());
}

TEST_F(TextureAdjust, WritesOnlyIntoThePickedFaceOfItsOwnActiveMap)
{
    dlg->Update(face);
    // No picked face: nothing stored, the map stays unmodified.
    map->SetPickedFace(nullptr);
    Type(IDC_ROTATE, "90");
    EXPECT_EQ(FaceValues(), "-16 600 400 0.50 -2.00");
    EXPECT_FALSE(map->IsModified());
    map->SetPickedFace(face);

    // Another map became active: nothing goes into either map.
    Map other;
    other.m_bAutoDelete = FALSE;
    ASSERT_TRUE(other.OnNewDocument());
    short box[6] = {0, 32, 0, 32, 0, 32};
    Brush* b = new Brush(other.GetWorldEntity(), box);
    other.GetWorldEntity()->AddBrush(b);
    other.SetPickedFace(&b->GetFaces()[0]);
    services->SetActiveMap(&other);
    Type(IDC_ROTATE, "45");
    Type(IDC_X_SCALE, "3");
    EXPECT_EQ(FaceValues(), "-16 600 400 0.50 -2.00");
    EXPECT_EQ(b->GetFaces()[0].rotation, 0);
    EXPECT_FALSE(map->IsModified());
    EXPECT_FALSE(other.IsModified());
    other.SetPickedFace(nullptr);
    services->SetActiveMap(map);

    // The same value again changes nothing and marks nothing.
    Type(IDC_ROTATE, "400");
    services->boxes.clear();
    Type(IDC_X_OFFSET, "0");
    EXPECT_EQ(face->xOffset, 0);
    EXPECT_TRUE(map->IsModified());
    map->SetModifiedFlag(FALSE);
    Type(IDC_X_OFFSET, "0");
    EXPECT_FALSE(map->IsModified());
}


// A texture put on some faces of a brush read from a file, from the browser or the Texture
// Adjustment window, leaves the other faces' lines as the file has them (a fraction where the
// editor holds a whole number, "-0", the name's case, a name no WAD holds); the changed faces are
// written from their values.
TEST_F(BrowserTest, FacesAChangeDidNotTouchAreSavedAsRead)
{
    const std::vector<std::string> lines = {
        "( 0 0 64 ) ( 0 64 64 ) ( 64 64 64 ) DIRBRI2 32 -1.67285 -0 1 1.00438",
        "( 0 0 0 ) ( 64 0 0 ) ( 64 64 0 ) metal 0.5 16 0 0.5 0.5",
        "( 0 64 0 ) ( 0 64 64 ) ( 0 0 64 ) brick 0 0 0 1 1",
        "( 64 64 0 ) ( 64 0 0 ) ( 64 0 64 ) brick 0 0 0 1 1",
        "( 0 0 0 ) ( 0 0 64 ) ( 64 0 64 ) brick 0 0 0 1 1",
        "( 0 64 0 ) ( 64 64 0 ) ( 64 64 64 ) brick 0 0 0 1 1",
    };
    std::string text = "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"t.wad\"\r\n{\r\n";
    for (const std::string& l : lines)
        text += l + "\r\n";
    text += "}\r\n}\r\n";
    dir.WriteFile("a.map", text);
    InitAndLoad();

    enum How { BROWSER_ON_BRUSH, BROWSER_ON_FACE, ADJUST_FACE };
    const struct
    {
        const char* what;
        How how;
        std::vector<bool> changed; // per face
    } cases[] = {
        // The face that has the texture already keeps its line.
        {"the browser's texture on the brush", BROWSER_ON_BRUSH, {true, false, true, true, true, true}},
        {"the browser's texture on one face", BROWSER_ON_FACE, {false, false, false, true, false, false}},
        {"one face's offset typed", ADJUST_FACE, {false, false, false, true, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        map = new Map;
        map->m_bAutoDelete = FALSE;
        ASSERT_TRUE(map->OnOpenDocument(dir.Path("a.map")));
        map->AddView(&spy);
        brush = static_cast<Brush*>(map->GetWorldEntity()->GetBrushes().GetHead());
        brush->SetSelected(true);
        map->GetSelection().AddTail(brush);
        services->SetActiveMap(map);
        Face* face = &brush->GetFaces()[3];
        if (c.how == BROWSER_ON_BRUSH) {
            ClickThumbnail("METAL");
        } else if (c.how == BROWSER_ON_FACE) {
            g_faceMode = 1;
            map->SetPickedFace(face);
            ClickThumbnail("METAL");
            map->SetPickedFace(nullptr);
            g_faceMode = 0;
        } else {
            CTextureAdjustDlg* dlg = new CTextureAdjustDlg(&host);
            map->SetPickedFace(face);
            dlg->Update(face);
            ::SetDlgItemTextA(dlg->m_hWnd, IDC_X_OFFSET, "8");
            dlg->DestroyWindow(); // deletes itself
            map->SetPickedFace(nullptr);
        }
        ASSERT_TRUE(map->IsModified());
        ASSERT_TRUE(map->OnSaveDocument(dir.Path("b.map")));

        std::string expected = "  {\r\n";
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!c.changed[i]) {
                expected += "    " + lines[i] + "\r\n";
                continue;
            }
            const Face& f = brush->GetFaces()[i];
            CString line;
            line.Format("    ( %4d %4d %4d ) ( %4d %4d %4d ) ( %4d %4d %4d ) %s %d %d %d %1.6f %1.6f\r\n", f.pt[0][0],
                        f.pt[0][1], f.pt[0][2], f.pt[1][0], f.pt[1][1], f.pt[1][2], f.pt[2][0], f.pt[2][1],
                        f.pt[2][2], static_cast<LPCSTR>(f.texture->name), f.xOffset, f.yOffset, f.rotation,
                        static_cast<double>(f.xScale), static_cast<double>(f.yScale));
            expected += static_cast<LPCSTR>(line);
        }
        expected += "  }\r\n";
        const std::string saved = dir.ReadFile("b.map");
        EXPECT_NE(saved.find(expected), std::string::npos) << "expected\n" << expected << "saved\n" << saved;
        CloseMap();
    }
}

} // namespace
