// Map objects on the clipboard and in drops: the "Morvane Data" block, Cut, Copy, Paste and
// Clone through the real clipboard, and the plane view's drop target fed by a data source.
#include <atomic>
#include "EditDialogs.h"
#include "MapData.h"
#include "ViewsRes.h"
#include "WindowFixture.h"
#include "afxwndtest.h"
#include "shareddata.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

HGLOBAL RawBlock(const void* bytes, SIZE_T n)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n ? n : 1);
    if (n)
        memcpy(::GlobalLock(h), bytes, n), ::GlobalUnlock(h);
    return h;
}

std::string BlockBytes(HGLOBAL h)
{
    const char* p = static_cast<const char*>(::GlobalLock(h));
    std::string s(p, ::GlobalSize(h));
    ::GlobalUnlock(h);
    return s;
}

} // namespace

TEST(MapData, PackWritesTheTextAndOneNul)
{
    const char text[] = "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n";
    HGLOBAL h = PackMapData(text, strlen(text));
    ASSERT_NE(nullptr, h);
    ASSERT_EQ(strlen(text) + 1, ::GlobalSize(h));
    EXPECT_EQ(std::string(text, sizeof text), BlockBytes(h)); // the text, then one 0
    ::GlobalFree(h);

    EXPECT_EQ(nullptr, PackMapData("x{}", 3));  // must begin with "{"
    EXPECT_EQ(nullptr, PackMapData("", 0));
    EXPECT_EQ(nullptr, PackMapData(nullptr, 4));
}

TEST(MapData, UnpackReadsOnlyWellFormedBlocksWithinTheirSize)
{
    struct
    {
        const char* bytes;
        size_t n;
        bool ok;
        const char* text;
    } cases[] = {
        {"{ a }\0", 6, true, "{ a }"},
        {"{\0", 2, true, "{"},
        {"{ a }\0junk", 10, true, "{ a }"},  // the text ends at the first NUL
        {"{ a }", 5, false, nullptr},         // no NUL inside the block: never read beyond
        {"x{ }\0", 5, false, nullptr},        // not map text
        {"\0", 1, false, nullptr},            // too short
        {"", 0, false, nullptr},              // empty
    };
    for (auto& c : cases) {
        HGLOBAL h = RawBlock(c.bytes, c.n);
        CString text = "unchanged";
        EXPECT_EQ(c.ok, UnpackMapData(h, text) != FALSE) << c.n;
        EXPECT_STREQ(c.ok ? c.text : "unchanged", text) << c.n;
        ::GlobalFree(h);
    }
    CString text = "unchanged";
    EXPECT_FALSE(UnpackMapData(nullptr, text));
}

TEST(MapData, PasteLandsOneGridStepRightAndBelow)
{
    struct
    {
        int type, dx, dy, dz;
    } cases[] = {{VIEW_XY, 16, -16, 0}, {VIEW_XZ, 16, 0, -16}, {VIEW_YZ, 0, 16, -16}};
    for (auto& c : cases) {
        int dx, dy, dz;
        CMapXYView::PasteOffset(c.type, 16, dx, dy, dz);
        EXPECT_EQ(c.dx, dx) << c.type;
        EXPECT_EQ(c.dy, dy) << c.type;
        EXPECT_EQ(c.dz, dz) << c.type;
    }
}

namespace {

class ClipboardTest : public WindowTest
{
protected:
    static void Fill(Map* map)
    {
        AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
        AddBrush(map->GetWorldEntity(), 128, 192, 0, 32, 0, 32);
        AddEntity(map, "light", "32 32 96");
    }
    static Brush* WorldBrush(Map* map, int i)
    {
        CPtrList& l = map->GetWorldEntity()->GetBrushes();
        POSITION pos = l.FindIndex(i);
        return pos ? static_cast<Brush*>(l.GetAt(pos)) : nullptr;
    }
    static int CountObjects(Map* map)
    {
        int n = map->GetWorldEntity()->GetBrushCount();
        return n + map->GetEntities().GetCount() - 1;
    }
    static std::string Box(const short* b)
    {
        char buf[96];
        snprintf(buf, sizeof buf, "%d %d %d %d %d %d", b[0], b[1], b[2], b[3], b[4], b[5]);
        return buf;
    }
    // A map with two brushes and a light, and an empty one, each in a window.
    void OpenTwo(Map*& a, CMapFrame*& fa, Map*& b, CMapFrame*& fb)
    {
        fa = OpenNew(&a, Fill);
        fb = OpenNew(&b);
        ASSERT_NE(nullptr, fa);
        ASSERT_NE(nullptr, fb);
    }
    // Selects, in a, a brush at the range's low end and a light near its high end: together they
    // span the whole range, so that centred on any point but the middle one end passes it.
    void SelectSpanningGroup(Map* a)
    {
        const short lightSize[6] = {-8, 8, -8, 8, -8, 8};
        services->AddEntityClass("light", lightSize);
        Brush* low = AddBrush(a->GetWorldEntity(), -32768, -32704, 0, 64, 0, 64);
        Entity* high = AddEntity(a, "light", "32760 32 32");
        a->RebuildVisibleList();
        a->DeselectAll();
        a->SelectObject(low, FALSE);
        a->SelectObject(high, FALSE);
    }
    // Drags a top corner of the brush, as a vertex handle does: its faces are no longer flat, and
    // the brush is not valid.
    Brush* MakeInvalid(Brush* b)
    {
        services->WriteProfileInt("Brush", "Shear Warning", 1);
        const short* box = b->GetBounds();
        const short corner[3] = {box[BOX_MINX], box[BOX_MINY], box[BOX_MAXZ]};
        b->PickVertex(corner);
        EXPECT_TRUE(b->Shear(16, 8, VIEW_XY));
        EXPECT_FALSE(b->IsValid());
        return b;
    }
    static void ClearClipboard(CWnd* owner)
    {
        if (::OpenClipboard(owner->m_hWnd)) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
    }
    // How text comes into a map: File > Import of an object file, an object dragged out of the
    // object list (its file, with its map data beside it), map data dragged from another window,
    // a paste from the clipboard.
    enum How { IMPORT, DROP_FILE, DROP_DATA, PASTE };
    // Brings the text into the frame's plane view as the user would (a drop at the client point;
    // a file at the path), and expects it refused: the import fails, the drop has no effect.
    void BringRefused(How how, CMapFrame* pFrame, const std::string& text, const std::string& path, CPoint at)
    {
        CMapXYView* xy = pFrame->GetXYView();
        if (how == IMPORT || how == DROP_FILE) {
            FILE* f = fopen(path.c_str(), "wb");
            ASSERT_NE(nullptr, f);
            fwrite(text.data(), 1, text.size(), f);
            fclose(f);
        }
        switch (how) {
        case IMPORT: EXPECT_FALSE(xy->ImportObjectFile(path.c_str())); break;
        case DROP_FILE:
        case DROP_DATA: {
            COleDataSource* src = new COleDataSource;
            src->CacheGlobalData(static_cast<CLIPFORMAT>(GetMapDataFormat()),
                                 PackMapData(text.data(), static_cast<SIZE_T>(text.size())));
            if (how == DROP_FILE)
                src->CacheGlobalData(static_cast<CLIPFORMAT>(GetObjectFileFormat()), PackObjectFilePath(path.c_str()));
            IDropTarget* t = xy->m_dropTarget.GetInterface();
            xy->ClientToScreen(&at);
            DWORD eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            EXPECT_EQ(S_OK, t->DragEnter(src->GetIDataObject(FALSE), MK_LBUTTON, POINTL{at.x, at.y}, &eff));
            eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            EXPECT_EQ(S_OK, t->Drop(src->GetIDataObject(FALSE), MK_LBUTTON, POINTL{at.x, at.y}, &eff));
            EXPECT_EQ(DROPEFFECT_NONE, eff);
            src->InternalRelease();
            break;
        }
        case PASTE:
            ASSERT_TRUE(::OpenClipboard(m_pMain->m_hWnd));
            ::EmptyClipboard();
            ::SetClipboardData(GetMapDataFormat(), PackMapData(text.data(), static_cast<SIZE_T>(text.size())));
            ::CloseClipboard();
            Command(pFrame, ID_EDIT_PASTE);
            break;
        }
    }
    // What a refused command must leave as it was: the map's objects and text, its one selected
    // brush, its current entity, its modified flag and the messages.
    struct MapAsItWas
    {
        CString text;
        Brush* selected = nullptr;
        Entity* current = nullptr;
        std::vector<std::string> statuses;
    };
    // Selects the brush alone, marks the map unmodified and clears the boxes; then takes the map
    // as it is.
    void Keep(Map* map, Brush* selected, MapAsItWas& was)
    {
        map->DeselectAll();
        map->SelectObject(selected, TRUE);
        map->UpdateCurrentEntity();
        map->SetModifiedFlag(FALSE);
        ASSERT_TRUE(map->WriteMap(was.text));
        was.selected = selected;
        was.current = map->GetCurrentEntity();
        ASSERT_NE(nullptr, was.current);
        was.statuses = services->statuses;
        services->boxes.clear();
    }
    void ExpectAsItWas(Map* map, const MapAsItWas& was)
    {
        CString after;
        ASSERT_TRUE(map->WriteMap(after));
        EXPECT_STREQ(was.text, after);
        ASSERT_EQ(1, map->GetSelectionCount());
        EXPECT_EQ(was.selected, map->GetSelection().GetHead());
        EXPECT_TRUE(was.selected->IsSelected());
        EXPECT_EQ(was.current, map->GetCurrentEntity());
        EXPECT_FALSE(map->IsModified());
        EXPECT_EQ(was.statuses, services->statuses);
    }
};

} // namespace

TEST_F(ClipboardTest, CopyPutsTheBlockOnTheClipboardAndPasteImportsItOffset)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    ASSERT_NE(nullptr, pFrame);
    CMapXYView* xy = pFrame->GetXYView();
    ASSERT_NE(nullptr, xy);
    ClearClipboard(m_pMain);
    map->SelectObject(WorldBrush(map, 0), FALSE);

    CString expected;
    ASSERT_TRUE(map->WritePartialMap(expected));
    Command(pFrame, ID_EDIT_COPY);
    const UINT cf = GetMapDataFormat();
    ASSERT_TRUE(::IsClipboardFormatAvailable(cf));
    ASSERT_TRUE(::OpenClipboard(m_pMain->m_hWnd));
    HGLOBAL h = ::GetClipboardData(cf);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(static_cast<SIZE_T>(expected.GetLength()) + 1, ::GlobalSize(h));
    EXPECT_EQ(std::string(expected, expected.GetLength() + 1), BlockBytes(h));
    ::CloseClipboard();

    const int before = CountObjects(map);
    Command(pFrame, ID_EDIT_PASTE);
    EXPECT_EQ(before + 1, CountObjects(map));
    ASSERT_EQ(1, map->GetSelectionCount());
    Brush* pasted = static_cast<Brush*>(map->GetSelection().GetHead());
    EXPECT_NE(WorldBrush(map, 0), pasted);
    const int g = xy->m_nGrid;
    const short want[6] = {short(g), short(64 + g), short(-g), short(64 - g), 0, 64};
    EXPECT_EQ(Box(want), Box(pasted->GetBounds()));
    EXPECT_FALSE(WorldBrush(map, 0)->IsSelected());
}

TEST_F(ClipboardTest, PasteBetweenTwoMapsAndCloneAndCut)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    ClearClipboard(m_pMain);

    // A brush and the light from one map into the other.
    a->SelectObject(WorldBrush(a, 1), FALSE);
    a->SelectObject(static_cast<SThing*>(a->GetEntities().GetTail()), FALSE);
    Command(fa, ID_EDIT_COPY);
    Command(fb, ID_EDIT_PASTE);
    EXPECT_EQ(1, b->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(2, b->GetEntities().GetCount());
    EXPECT_EQ(2, b->GetSelectionCount());
    EXPECT_EQ(3, CountObjects(a)); // the source keeps its objects

    // Clone with nothing selected does nothing, and leaves the clipboard as it was.
    b->DeselectAll();
    const int nb = CountObjects(b);
    Command(fb, ID_EDIT_CLONE);
    EXPECT_EQ(nb, CountObjects(b));
    // Clone copies and pastes at once.
    b->SelectObject(WorldBrush(b, 0), FALSE);
    Command(fb, ID_EDIT_CLONE);
    EXPECT_EQ(nb + 1, CountObjects(b));

    // Cut whose copy fails (another window holds the clipboard open) deletes nothing.
    a->DeselectAll();
    a->SelectObject(WorldBrush(a, 0), FALSE);
    ASSERT_TRUE(::OpenClipboard(m_pMain->m_hWnd));
    Command(fa, ID_EDIT_CUT);
    ::CloseClipboard();
    EXPECT_EQ(3, CountObjects(a));
    // A working cut deletes the selection, and it can be pasted back.
    Command(fa, ID_EDIT_CUT);
    EXPECT_EQ(2, CountObjects(a));
    EXPECT_EQ(0, a->GetSelectionCount());
    Command(fa, ID_EDIT_PASTE);
    EXPECT_EQ(3, CountObjects(a));
}

// A brush that a vertex drag made invalid (the status light's red) cannot be written into map
// text, so the copy leaves it out; Cut deletes only what it copied: the invalid brush stays in
// the map, selected, and a box says so. Nothing is lost between the two maps.
TEST_F(ClipboardTest, CutKeepsTheBrushesItsCopyLeftOut)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    ClearClipboard(m_pMain);
    Brush* bent = MakeInvalid(WorldBrush(a, 0));
    a->SelectObject(bent, FALSE);
    a->SelectObject(WorldBrush(a, 1), FALSE);
    a->SelectObject(static_cast<SThing*>(a->GetEntities().GetTail()), FALSE);
    ASSERT_EQ(3, CountObjects(a));
    services->boxes.clear();

    Command(fa, ID_EDIT_CUT);
    ASSERT_EQ(1, CountObjects(a));
    EXPECT_EQ(bent, WorldBrush(a, 0));
    ASSERT_EQ(1, a->GetSelectionCount());
    EXPECT_EQ(bent, a->GetSelection().GetHead());
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("A selected brush is not valid and was not copied.\nIt stays in the map, selected.",
              services->boxes[0]);
    Command(fb, ID_EDIT_PASTE);
    EXPECT_EQ(2, CountObjects(b));
    EXPECT_EQ(3, CountObjects(a) + CountObjects(b));

    // Only invalid brushes: nothing is deleted, the count is told.
    Brush* other = MakeInvalid(WorldBrush(b, 0));
    b->DeselectAll();
    b->SelectObject(other, FALSE);
    Entity* world = b->GetWorldEntity();
    Brush* second = AddBrush(world, 512, 576, 0, 64, 0, 64);
    b->SelectObject(MakeInvalid(second), FALSE);
    services->boxes.clear();
    Command(fb, ID_EDIT_CUT);
    EXPECT_EQ(3, CountObjects(b));
    EXPECT_EQ(2, b->GetSelectionCount());
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("2 selected brushes are not valid and were not copied.\nThey stay in the map, selected.",
              services->boxes[0]);

    // A door whose one brush is not valid, copied beside a good brush: the door's keys alone do
    // not travel, so the paste brings no door without a brush.
    b->DeselectAll();
    Entity* door = AddEntity(b, "func_door");
    Brush* leaf = MakeInvalid(AddBrush(door, 640, 704, 0, 64, 0, 64));
    Brush* good = AddBrush(world, 768, 832, 0, 64, 0, 64);
    b->SelectObject(leaf, FALSE);
    b->SelectObject(good, FALSE);
    const int entitiesBefore = static_cast<int>(a->GetEntities().GetCount());
    const int brushesBefore = a->GetWorldEntity()->GetBrushCount();
    services->boxes.clear();
    Command(fb, ID_EDIT_COPY);
    Command(fa, ID_EDIT_PASTE);
    EXPECT_EQ(brushesBefore + 1, a->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(entitiesBefore, static_cast<int>(a->GetEntities().GetCount()));
}

// A selection of brushes that are none of them valid copies nothing, however it is copied: Copy,
// Clone, Create Array. Its text would hold a world alone, which adds nothing where it comes. The
// map's objects and text, its selection, modified flag and messages, and the clipboard, stay as
// they were; one box says why.
TEST_F(ClipboardTest, ACopyOfBrushesThatAreNotValidCopiesNothing)
{
    const struct
    {
        const char* what;
        UINT nCommand;
    } cases[] = {{"Copy", ID_EDIT_COPY}, {"Clone", ID_EDIT_CLONE}, {"Create Array", ID_CREATE_ARRAY}};
    const std::string held = "{\r\n\"classname\" \"light\"\r\n\"origin\" \"8 8 8\"\r\n}\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Map* map = nullptr;
        CMapFrame* pFrame = OpenNew(&map, Fill);
        ASSERT_NE(nullptr, pFrame);
        Brush* bent = MakeInvalid(WorldBrush(map, 0));
        map->DeselectAll();
        map->SelectObject(bent, FALSE);
        map->SetModifiedFlag(FALSE);
        CString before;
        ASSERT_TRUE(map->WriteMap(before));
        ASSERT_TRUE(::OpenClipboard(m_pMain->m_hWnd));
        ::EmptyClipboard();
        ::SetClipboardData(GetMapDataFormat(), PackMapData(held.data(), static_cast<SIZE_T>(held.size())));
        ::CloseClipboard();
        const std::vector<std::string> messages = services->statuses;
        services->boxes.clear();

        if (c.nCommand == ID_CREATE_ARRAY) {
            AfxSeamScript([](AfxModalCall& call) {
                auto* pDlg = static_cast<CArrayDlg*>(call.pObject);
                pDlg->m_nTotal = 2;
                pDlg->m_move[0] = 128.0f;
                return (INT_PTR)IDOK;
            });
        }
        Command(pFrame, c.nCommand);
        CString after;
        ASSERT_TRUE(map->WriteMap(after));
        EXPECT_STREQ(before, after);
        ASSERT_EQ(1, map->GetSelectionCount());
        EXPECT_EQ(bent, map->GetSelection().GetHead());
        EXPECT_FALSE(map->IsModified());
        EXPECT_EQ(messages, services->statuses);
        EXPECT_EQ(std::vector<std::string>{"A selected brush is not valid and was not copied.\nIt stays in the map, selected."},
                  services->boxes);
        ASSERT_TRUE(::OpenClipboard(m_pMain->m_hWnd));
        CString text;
        EXPECT_TRUE(UnpackMapData(::GetClipboardData(GetMapDataFormat()), text));
        ::CloseClipboard();
        EXPECT_EQ(held, std::string(text));
        pFrame->DestroyWindow();
    }
}

// A paste or a clone lands one grid step away, all of it or none: when the step would take one
// object past the 16-bit coordinate range (a light at the range's end, a brush up to its last
// unit), nothing is added: the map's objects and text, its selection, its modified flag and the
// messages stay as they were, with one box.
TEST_F(ClipboardTest, APasteOrCloneThatWouldLeaveTheRangeAddsNothing)
{
    const short lightSize[6] = {-8, 8, -8, 8, -8, 8};
    services->AddEntityClass("light", lightSize);
    const char* const lightBox = "A pasted entity would lie outside the map's coordinate range.\nNothing was pasted.";
    const char* const brushBox = "A pasted brush would lie outside the map's coordinate range.\nNothing was pasted.";
    struct Case
    {
        const char* what;
        UINT command;
        short edge[6];      // a brush
        const char* light;  // the origin of a light
        const char* box;
    } cases[] = {
        {"a paste, a light at the end", ID_EDIT_PASTE, {0, 64, 128, 192, 0, 64}, "32760 0 0", lightBox},
        {"a clone, a light at the end", ID_EDIT_CLONE, {0, 64, 128, 192, 0, 64}, "32760 0 0", lightBox},
        {"a paste, a brush to the end", ID_EDIT_PASTE, {32704, 32767, 0, 64, 0, 64}, "64 64 32", brushBox},
        {"a clone, a brush to the end", ID_EDIT_CLONE, {32704, 32767, 0, 64, 0, 64}, "64 64 32", brushBox},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Map* map = nullptr;
        CMapFrame* pFrame = OpenNew(&map);
        ASSERT_NE(nullptr, pFrame);
        ClearClipboard(m_pMain);
        Brush* edge = AddBrush(map->GetWorldEntity(), c.edge[0], c.edge[1], c.edge[2], c.edge[3], c.edge[4], c.edge[5]);
        Brush* inside = AddBrush(map->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
        Entity* light = AddEntity(map, "light", c.light);
        map->RebuildVisibleList();
        map->SelectObject(edge, FALSE);
        map->SelectObject(inside, FALSE);
        map->SelectObject(light, FALSE);
        if (c.command == ID_EDIT_PASTE)
            Command(pFrame, ID_EDIT_COPY);
        map->SetModifiedFlag(FALSE);
        CString before;
        ASSERT_TRUE(map->WriteMap(before));
        const std::vector<void*> selected = {edge, inside, light};
        const std::vector<std::string> messages = services->statuses;
        services->boxes.clear();

        Command(pFrame, c.command);
        EXPECT_EQ(2, map->GetWorldEntity()->GetBrushCount());
        EXPECT_EQ(2, map->GetEntities().GetCount());
        CString after;
        ASSERT_TRUE(map->WriteMap(after));
        EXPECT_STREQ(before, after);
        std::vector<void*> now;
        for (POSITION pos = map->GetSelection().GetHeadPosition(); pos;)
            now.push_back(map->GetSelection().GetNext(pos));
        EXPECT_EQ(selected, now);
        EXPECT_FALSE(map->IsModified());
        EXPECT_EQ(messages, services->statuses);
        EXPECT_EQ(std::vector<std::string>{c.box}, services->boxes);
        pFrame->DestroyWindow();
    }
}

TEST_F(ClipboardTest, CommandsAreEnabledBySelectionAndClipboard)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    ASSERT_NE(nullptr, pFrame);
    ClearClipboard(m_pMain);
    struct UI : CCmdUI
    {
        BOOL on = TRUE;
        void Enable(BOOL bOn) override
        {
            on = bOn;
            m_bEnableChanged = TRUE;
        }
    };
    auto enabled = [&](UINT id) {
        UI ui;
        ui.m_nID = id;
        pFrame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.on;
    };
    EXPECT_FALSE(enabled(ID_EDIT_COPY));
    EXPECT_FALSE(enabled(ID_EDIT_CUT));
    EXPECT_FALSE(enabled(ID_EDIT_CLONE));
    EXPECT_FALSE(enabled(ID_EDIT_PASTE));
    map->SelectObject(WorldBrush(map, 0), FALSE);
    EXPECT_TRUE(enabled(ID_EDIT_COPY));
    EXPECT_TRUE(enabled(ID_EDIT_CUT));
    EXPECT_TRUE(enabled(ID_EDIT_CLONE));
    Command(pFrame, ID_EDIT_COPY);
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
}

namespace {

// A drag's data as another map window offers it.
COleDataSource* SourceOf(Map* map)
{
    CString text;
    if (!map->WritePartialMap(text))
        return nullptr;
    COleDataSource* src = new COleDataSource;
    src->CacheGlobalData(static_cast<CLIPFORMAT>(GetMapDataFormat()),
                         PackMapData(text, static_cast<SIZE_T>(text.GetLength())));
    return src;
}

} // namespace

TEST_F(ClipboardTest, TheDropTargetTakesOnlyMapDataAndCentresItOnTheDropPoint)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    CMapXYView* xy = fb->GetXYView();
    ASSERT_NE(nullptr, xy);
    a->SelectObject(WorldBrush(a, 0), FALSE);
    a->SelectObject(WorldBrush(a, 1), FALSE);
    COleDataSource* src = SourceOf(a);
    ASSERT_NE(nullptr, src);
    COleDataSource* foreign = new COleDataSource;
    foreign->CacheGlobalData(CF_TEXT, RawBlock("{ }", 4));

    IDropTarget* t = xy->m_dropTarget.GetInterface();
    auto screen = [&](CPoint p) {
        xy->ClientToScreen(&p);
        return POINTL{p.x, p.y};
    };
    DWORD eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(foreign->GetIDataObject(FALSE), MK_LBUTTON, screen(CPoint(20, 20)), &eff);
    EXPECT_EQ(DROPEFFECT_NONE, eff);
    eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON, screen(CPoint(25, 20)), &eff); // not after the first movement either
    EXPECT_EQ(DROPEFFECT_NONE, eff);
    t->DragLeave();
    COleDataObject foreignData;
    foreignData.Attach(foreign->GetIDataObject(FALSE), FALSE);
    EXPECT_FALSE(xy->OnDrop(&foreignData, DROPEFFECT_COPY, CPoint(20, 20)));
    EXPECT_EQ(0, b->GetWorldEntity()->GetBrushCount());
    foreignData.Release();
    foreign->InternalRelease();

    eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(src->GetIDataObject(FALSE), MK_LBUTTON, screen(CPoint(20, 20)), &eff);
    EXPECT_EQ(DROPEFFECT_MOVE, eff);
    eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON | MK_CONTROL, screen(CPoint(20, 20)), &eff);
    EXPECT_EQ(DROPEFFECT_COPY, eff);

    // The drop point: the client point of world (256, -128).
    CPoint target = xy->ProjectPoint(256, -128, 0) - xy->GetDeviceScrollPosition();
    CHintRecorder recorder;
    b->AddView(&recorder);
    eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, t->Drop(src->GetIDataObject(FALSE), MK_LBUTTON | MK_CONTROL, screen(target), &eff));
    b->RemoveView(&recorder);
    EXPECT_EQ(DROPEFFECT_COPY, eff);
    ASSERT_EQ(2, b->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(2, b->GetSelectionCount());
    EXPECT_NE(recorder.hints.end(), std::find(recorder.hints.begin(), recorder.hints.end(), LPARAM(HINT_CHANGED)));

    // Centred on the drop point (snapped to the grid), the arrangement kept.
    short box[6];
    b->GetSelectionBounds(box);
    const int cx = box[0] + (box[1] - box[0]) / 2, cy = box[2] + (box[3] - box[2]) / 2;
    EXPECT_LE(std::abs(cx - 256), xy->m_nGrid);
    EXPECT_LE(std::abs(cy + 128), xy->m_nGrid);
    const short* b0 = WorldBrush(b, 0)->GetBounds();
    const short* b1 = WorldBrush(b, 1)->GetBounds();
    EXPECT_EQ(128, b1[0] - b0[0]);
    EXPECT_EQ(0, b1[2] - b0[2]);
    EXPECT_EQ(64, b0[1] - b0[0]);
    src->InternalRelease();
}

// A drop centres the dropped objects on its point, all of them or none: when that would take one
// past the coordinate range, nothing is dropped. The target map's objects, text, selection and
// messages stay as they were, one box says so, and the drop reports no effect, so that a moving
// drag keeps its objects. Map data from another window and an object dragged out of the object
// list (read from its file) alike.
TEST_F(ClipboardTest, ADropThatWouldLeaveTheRangeAddsNothing)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    SelectSpanningGroup(a);
    CString text;
    ASSERT_TRUE(a->WritePartialMap(text));
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "morvane_drop_past_range.map";
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fwrite(static_cast<LPCSTR>(text), 1, static_cast<size_t>(text.GetLength()), f);
    fclose(f);

    Brush* mine = AddBrush(b->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    b->RebuildVisibleList();
    b->SelectObject(mine, FALSE);
    b->SetModifiedFlag(FALSE);
    CMapXYView* xy = fb->GetXYView();
    IDropTarget* t = xy->m_dropTarget.GetInterface();
    CPoint target = xy->ProjectPoint(256, -128, 0) - xy->GetDeviceScrollPosition();
    xy->ClientToScreen(&target);
    for (bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "an object file" : "map data");
        COleDataSource* src = new COleDataSource;
        src->CacheGlobalData(static_cast<CLIPFORMAT>(GetMapDataFormat()),
                             PackMapData(text, static_cast<SIZE_T>(text.GetLength())));
        if (fromFile)
            src->CacheGlobalData(static_cast<CLIPFORMAT>(GetObjectFileFormat()), PackObjectFilePath(path.c_str()));
        CString before;
        ASSERT_TRUE(b->WriteMap(before));
        const std::vector<std::string> messages = services->statuses;
        DWORD eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(S_OK, t->DragEnter(src->GetIDataObject(FALSE), MK_LBUTTON, POINTL{target.x, target.y}, &eff));
        EXPECT_EQ(DROPEFFECT_MOVE, eff);
        services->boxes.clear();
        eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(S_OK, t->Drop(src->GetIDataObject(FALSE), MK_LBUTTON, POINTL{target.x, target.y}, &eff));
        EXPECT_EQ(DROPEFFECT_NONE, eff);
        EXPECT_EQ(1, b->GetWorldEntity()->GetBrushCount());
        EXPECT_EQ(1, b->GetEntities().GetCount());
        CString after;
        ASSERT_TRUE(b->WriteMap(after));
        EXPECT_STREQ(before, after);
        ASSERT_EQ(1, b->GetSelectionCount());
        EXPECT_EQ(mine, b->GetSelection().GetHead());
        EXPECT_FALSE(b->IsModified());
        EXPECT_EQ(messages, services->statuses);
        EXPECT_EQ(std::vector<std::string>{"A dropped entity would lie outside the map's coordinate range.\n"
                                           "Nothing was dropped."},
                  services->boxes);
        src->InternalRelease();
    }
    ::DeleteFileA(path.c_str());
}

// Text of which nothing can be read is refused whole, however it comes: an object file imported
// or dragged out of the object list, map text dragged or pasted. So is text whose every block
// yields nothing (its words passed over, or no classname, so that the entity is dropped; a world
// with no brush, whose keys stay the map's own), and text of blanks and comments only. The map's
// objects and text, its selection, current entity, modified flag and messages stay as they were;
// only the box says why.
TEST_F(ClipboardTest, TextThatCannotBeReadIsRefusedWithTheMapAsItWas)
{
    const std::string valve = "{\r\n\"classname\" \"worldspawn\"\r\n{\r\n"
                              "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL [ 0 1 0 0 ] [ 0 0 -1 0 ] 0 1 1\r\n}\r\n}\r\n";
    const std::string words = "{ hello these are plain words }";
    const std::string classless = "{\r\n\"origin\" \"8 8 8\"\r\n}\r\n{\r\nstray words\r\n}\r\n";
    const char* const noEntity = " holds no entity that this editor can read";
    // A world alone, with keys of its own, and one whose one brush cannot be built.
    const std::string world = "{\r\n\"classname\" \"worldspawn\"\r\n\"wad\" \"other.wad\"\r\n}\r\n";
    const std::string brushless = "{\r\n\"classname\" \"worldspawn\"\r\n{\r\n"
                                  "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\r\n}\r\n}\r\n";
    const char* const bareWorld = " holds nothing to import: only a world with no brush that this editor can read.";
    const struct
    {
        const char* what;
        How how;
        std::string text;
        const char* told;
    } cases[] = {
        {"an import, no map text", IMPORT, "garbage here\r\n", noEntity},
        {"an import, the Valve 220 format", IMPORT, valve, " is in the Valve 220 format"},
        {"a drop, the Valve 220 format", DROP_FILE, valve, " is in the Valve 220 format"},
        {"a paste, the Valve 220 format", PASTE, valve, "The pasted map text is in the Valve 220 format"},
        {"an import, words in a block", IMPORT, words, noEntity},
        {"an object file dragged, words in a block", DROP_FILE, words, noEntity},
        {"map data dragged, words in a block", DROP_DATA, words, noEntity},
        {"a paste, words in a block", PASTE, words, "The pasted map text holds no entity that this editor can read"},
        {"a paste, blocks without a classname", PASTE, classless, noEntity},
        {"an import, comments only", IMPORT, "// an object\r\n\r\n", " holds nothing but blanks and comments"},
        {"a stop after a block that yields nothing", DROP_DATA, words + "\r\n" + valve,
         " is in the Valve 220 format"},
        {"an import, a world alone", IMPORT, world, bareWorld},
        {"an object file dragged, a world alone", DROP_FILE, world, bareWorld},
        {"map data dragged, a world alone", DROP_DATA, world, bareWorld},
        {"a paste, a world alone", PASTE, world, "The pasted map text holds nothing to import"},
        {"a paste, a world whose brush cannot be built and a block without a classname", PASTE,
         brushless + classless, bareWorld},
        {"a stop after a world alone", IMPORT, world + valve, " is in the Valve 220 format"},
    };
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "morvane_unreadable.map";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Map* map = nullptr;
        CMapFrame* pFrame = OpenNew(&map, Fill);
        ASSERT_NE(nullptr, pFrame);
        MapAsItWas was;
        ASSERT_NO_FATAL_FAILURE(Keep(map, WorldBrush(map, 1), was));

        BringRefused(c.how, pFrame, c.text, path, CPoint(40, 40));
        ExpectAsItWas(map, was);
        ASSERT_EQ(1u, services->boxes.size());
        EXPECT_NE(std::string::npos, services->boxes[0].find(c.told)) << services->boxes[0];
        pFrame->DestroyWindow();
    }
    ::DeleteFileA(path.c_str());
}

// A paste or a drop refused at its placement tells only the refusal, however it comes: what the
// read of its text would tell (an unknown class, a brush that cannot be built, an entity without a
// classname, text not read) is dropped with the objects. The map's objects and text, its
// selection, current entity, modified flag and messages stay as they were; one box says why.
TEST_F(ClipboardTest, ARefusedPasteOrDropTellsOnlyTheRefusal)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    // A group that fits nowhere but where it is, and what its read has to tell.
    SelectSpanningGroup(a);
    CString group;
    ASSERT_TRUE(a->WritePartialMap(group));
    const std::string text = std::string(group) +
                             "{\r\n\"classname\" \"worldspawn\"\r\n{\r\n"
                             "( 0 0 0 ) ( 0 64 0 ) ( 0 0 64 ) WALL 0 0 0 1 1\r\n}\r\n}\r\n"
                             "{\r\n\"classname\" \"monster_unknown\"\r\n\"origin\" \"0 0 0\"\r\nstray\r\n}\r\n"
                             "{\r\n\"origin\" \"8 8 8\"\r\n}\r\n";
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "morvane_refused_read.map";
    const struct
    {
        const char* what;
        How how;
        const char* box;
    } cases[] = {
        {"a paste", PASTE, "A pasted entity would lie outside the map's coordinate range.\nNothing was pasted."},
        {"map data dragged", DROP_DATA,
         "A dropped entity would lie outside the map's coordinate range.\nNothing was dropped."},
        {"an object file dragged", DROP_FILE,
         "A dropped entity would lie outside the map's coordinate range.\nNothing was dropped."},
    };
    CMapXYView* xy = fb->GetXYView();
    Brush* mine = AddBrush(b->GetWorldEntity(), 0, 64, 0, 64, 0, 64);
    b->RebuildVisibleList();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MapAsItWas was;
        ASSERT_NO_FATAL_FAILURE(Keep(b, mine, was));

        BringRefused(c.how, fb, text, path, xy->ProjectPoint(256, -128, 0) - xy->GetDeviceScrollPosition());
        ExpectAsItWas(b, was);
        EXPECT_EQ(std::vector<std::string>{c.box}, services->boxes);
    }
    ::DeleteFileA(path.c_str());

    // Read where it is, the same text tells all that.
    services->boxes.clear();
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    EXPECT_TRUE(xy->ImportMapText(buffer.data(), text.size()));
    for (const char* told : {"An error occured while creating the brush", "The classname: monster_unknown\n",
                             "Invalid token 'stray' parsing entity.", "Entity doesn't have a classname!"}) {
        EXPECT_EQ(1, std::count_if(services->boxes.begin(), services->boxes.end(),
                                   [&](const std::string& box) { return box.find(told) == 0; }))
            << told;
    }
}

TEST_F(ClipboardTest, AMoveDeletesTheDraggedObjectsNotTheDroppedCopy)
{
    Map* map = nullptr;
    CMapFrame* pFrame = OpenNew(&map, Fill);
    ASSERT_NE(nullptr, pFrame);
    CMapXYView* xy = pFrame->GetXYView();
    Brush* original = WorldBrush(map, 0);
    map->SelectObject(original, FALSE);
    CPtrList dragged;
    dragged.AddTail(&map->GetSelection());

    // The drop back into the same map, as the drop target does it during the drag.
    COleDataSource* src = SourceOf(map);
    ASSERT_NE(nullptr, src);
    COleDataObject data;
    data.Attach(src->GetIDataObject(FALSE), FALSE);
    ASSERT_TRUE(xy->OnDrop(&data, DROPEFFECT_MOVE, CPoint(40, 40)));
    data.Release();
    src->InternalRelease();
    ASSERT_EQ(1, map->GetSelectionCount());
    SThing* copy = static_cast<SThing*>(map->GetSelection().GetHead());
    EXPECT_NE(original, copy);
    EXPECT_EQ(4, CountObjects(map));

    xy->DeleteDraggedObjects(dragged);
    EXPECT_EQ(3, CountObjects(map));
    EXPECT_EQ(nullptr, map->GetWorldEntity()->GetBrushes().Find(original));
    EXPECT_NE(nullptr, map->GetWorldEntity()->GetBrushes().Find(copy));

    // Objects no longer in the map are passed over.
    xy->DeleteDraggedObjects(dragged);
    EXPECT_EQ(3, CountObjects(map));
}

namespace {
CMapXYView* g_pDragView = nullptr;
DROPEFFECT g_dragEffect = 0xFFFF;
std::atomic<bool> g_bDragStarting{false};
std::atomic<bool> g_bDragEnded{false};
void CALLBACK StartDragTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_pDragView) {
        g_bDragStarting = true;
        g_dragEffect = g_pDragView->StartDragDrop();
        g_bDragEnded = true;
    }
}
} // namespace

namespace {

// Drags from the centre of one view to the centre of the other by the system's drag loop, driven
// by synthesized input, without Ctrl. The drag starts while the button is down, as the
// press-and-move code starts it: once the press was taken in, and the moves come only when the
// drag's loop is there to take them (however slow the machine). The effect, or 0xFFFF when the
// script failed.
DROPEFFECT DragBetween(CMapXYView* from, CMapXYView* to)
{
    CRect ra, rb;
    from->GetWindowRect(&ra);
    to->GetWindowRect(&rb);
    afxtest::InputScript press;
    press.MoveTo(ra.CenterPoint()).Down();
    if (!press.Run())
        return 0xFFFF;
    g_pDragView = from;
    g_dragEffect = 0xFFFF;
    g_bDragStarting = false;
    g_bDragEnded = false;
    ::SetTimer(nullptr, 0, 10, StartDragTimer);
    // The release ends the drag loop; the checks come once it has returned.
    afxtest::InputScript script;
    script.WaitUntil([] { return g_bDragStarting.load(); })
        .MoveInSteps(rb.CenterPoint(), 8)
        .Pause(200)
        .Up()
        .WaitUntil([] { return g_bDragEnded.load(); });
    const bool ran = script.Run();
    g_pDragView = nullptr;
    return ran ? g_dragEffect : 0xFFFF;
}

} // namespace

// A drag between two map windows by the system's drag loop, driven by synthesized input:
// without Ctrl the objects move. (Wine's drag loop does not see a synthesized Ctrl, so the
// copy is tested through the drop target's interface above.)
TEST_F(ClipboardTest, ADragMovesObjectsBetweenTwoMapWindows)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    m_pMain->MDITile(MDITILE_VERTICAL);
    afxtest::PumpMessages();
    a->SelectObject(WorldBrush(a, 0), FALSE);
    EXPECT_EQ(DROPEFFECT_MOVE, DragBetween(fa->GetXYView(), fb->GetXYView()));
    EXPECT_EQ(1, b->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(1, a->GetWorldEntity()->GetBrushCount());
}

// A moving drag whose drop is refused (the dragged objects, centred on the drop point, would pass
// the coordinate range) moves nothing: the target gets nothing and the source keeps its objects.
TEST_F(ClipboardTest, ARefusedMovingDragKeepsItsObjects)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    m_pMain->MDITile(MDITILE_VERTICAL);
    afxtest::PumpMessages();
    SelectSpanningGroup(a);
    // The target shows world x 8000 in its middle, where the group cannot be centred.
    CMapXYView* to = fb->GetXYView();
    CRect client;
    to->GetClientRect(&client);
    const CPoint middle = to->ProjectPoint(8000, 0, 0);
    to->ScrollToPosition(CPoint(middle.x - client.CenterPoint().x, middle.y - client.CenterPoint().y));
    afxtest::PumpMessages();
    services->boxes.clear();
    EXPECT_EQ(DROPEFFECT_NONE, DragBetween(fa->GetXYView(), to));
    EXPECT_EQ(0, b->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(1, b->GetEntities().GetCount());
    EXPECT_EQ(3, a->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(3, a->GetEntities().GetCount());
    EXPECT_EQ(2, a->GetSelectionCount());
    EXPECT_EQ(std::vector<std::string>{"A dropped entity would lie outside the map's coordinate range.\n"
                                       "Nothing was dropped."},
              services->boxes);
}

// A moving drag deletes only what its data holds: a brush made invalid by a vertex drag, which
// the map text leaves out, stays in the source map, selected, and a box says so.
TEST_F(ClipboardTest, AMovingDragKeepsTheBrushesItsDataLeftOut)
{
    Map* a = nullptr;
    Map* b = nullptr;
    CMapFrame* fa = nullptr;
    CMapFrame* fb = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenTwo(a, fa, b, fb));
    m_pMain->MDITile(MDITILE_VERTICAL);
    afxtest::PumpMessages();
    Brush* bent = MakeInvalid(WorldBrush(a, 0));
    Brush* sound = WorldBrush(a, 1);
    a->SelectObject(bent, FALSE);
    a->SelectObject(sound, FALSE);
    services->boxes.clear();
    EXPECT_EQ(DROPEFFECT_MOVE, DragBetween(fa->GetXYView(), fb->GetXYView()));
    EXPECT_EQ(1, b->GetWorldEntity()->GetBrushCount());
    ASSERT_EQ(1, a->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(bent, WorldBrush(a, 0));
    ASSERT_EQ(1, a->GetSelectionCount());
    EXPECT_EQ(bent, a->GetSelection().GetHead());
    ASSERT_EQ(1u, services->boxes.size());
    EXPECT_EQ("A selected brush is not valid and was not copied.\nIt stays in the map, selected.",
              services->boxes[0]);
}

// Real maps by other people, when the folder is there: objects copied from one map and pasted
// into another arrive once and keep their boxes (moved one grid step).
TEST_F(ClipboardTest, RealMapsCopyAndPasteBetweenThem)
{
    CString data = shareddata::Root().c_str();
    CString from = data + "\\maps\\e3m5.map", to = data + "\\maps\\librequake_e2m2.map";
    SKIP_WITHOUT_SHARED_DATA(from, to);
    Map* a = static_cast<Map*>(m_pTemplate->OpenDocumentFile(from));
    ASSERT_NE(nullptr, a);
    afxtest::PumpMessages();
    CMapFrame* fa = dynamic_cast<CMapFrame*>(m_pMain->MDIGetActive());
    Map* b = static_cast<Map*>(m_pTemplate->OpenDocumentFile(to));
    ASSERT_NE(nullptr, b);
    afxtest::PumpMessages();
    CMapFrame* fb = dynamic_cast<CMapFrame*>(m_pMain->MDIGetActive());
    ASSERT_NE(nullptr, fa);
    ASSERT_NE(nullptr, fb);
    ASSERT_NE(a, b);
    ClearClipboard(m_pMain);

    // Five world brushes and the first point entity.
    std::vector<std::string> boxes;
    for (int i = 0; i < 5; ++i) {
        Brush* br = WorldBrush(a, i);
        ASSERT_NE(nullptr, br);
        a->SelectObject(br, FALSE);
        boxes.push_back(Box(br->GetBounds()));
    }
    for (POSITION pos = a->GetEntities().GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(a->GetEntities().GetNext(pos));
        if (e != a->GetWorldEntity() && e->GetBrushCount() == 0) {
            a->SelectObject(e, FALSE);
            break;
        }
    }
    const int worldB = b->GetWorldEntity()->GetBrushCount(), entitiesB = b->GetEntities().GetCount();
    Command(fa, ID_EDIT_COPY);
    Command(fb, ID_EDIT_PASTE);
    EXPECT_EQ(worldB + 5, b->GetWorldEntity()->GetBrushCount());
    EXPECT_EQ(entitiesB + 1, b->GetEntities().GetCount());
    EXPECT_EQ(6, b->GetSelectionCount());
    const int g = fb->GetXYView()->m_nGrid;
    for (int i = 0; i < 5; ++i) {
        const short* p = WorldBrush(b, worldB + i)->GetBounds();
        const short back[6] = {short(p[0] - g), short(p[1] - g), short(p[2] + g), short(p[3] + g), p[4], p[5]};
        EXPECT_EQ(boxes[i], Box(back)) << i;
    }
}
