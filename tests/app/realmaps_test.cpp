// Every real map of the shared data opens through File > Open into a 2D map window, with the
// four texture WADs loaded and without, and its XY, XZ and YZ windows draw it. Each plane view
// is captured from the screen (the images are kept beside the test program, in "realmaps") and
// checked: something drawn inside the world's box and the player start's box, only background
// and grid colours outside the map's box, the origin cross when in view, and no box raised by
// the views themselves. Skipped when the data folder is absent.
#include "EditorApp.h"
#include "Brush.h"
#include "Entity.h"
#include "MainFrame.h"
#include "shell_fixture.h"
#include "Map.h"
#include "MapFrame.h"
#include "MapCameraFrame.h"
#include "MapXYView.h"
#include "TextureLoader.h"
#include "Thing.h"
#include "afxtest.h"
#include "../../res/resource.h"
#include "shareddata.h"
#include <string>
#include <vector>

namespace {

const CString kData = shareddata::Root().c_str();

void Union(short* into, const short* b)
{
    for (int a = 0; a < 3; ++a) {
        if (b[a * 2] < into[a * 2])
            into[a * 2] = b[a * 2];
        if (b[a * 2 + 1] > into[a * 2 + 1])
            into[a * 2 + 1] = b[a * 2 + 1];
    }
}

struct Capture
{
    int w = 0, h = 0;
    std::vector<DWORD> px; // 0x00RRGGBB
    DWORD At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }

    void Take(CWnd* pWnd)
    {
        CRect client;
        pWnd->GetClientRect(&client);
        w = client.Width();
        h = client.Height();
        CClientDC dc(pWnd);
        CDC mem;
        mem.CreateCompatibleDC(&dc);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP hBmp = ::CreateDIBSection(mem.m_hDC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(mem.m_hDC, hBmp);
        ::BitBlt(mem.m_hDC, 0, 0, w, h, dc.m_hDC, 0, 0, SRCCOPY);
        ::GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        px.assign(p, p + static_cast<size_t>(w) * h);
        ::SelectObject(mem.m_hDC, old);
        ::DeleteObject(hBmp);
    }

    void Save(const CString& path) const
    {
        FILE* f = fopen(path, "wb");
        if (!f)
            return;
        BITMAPFILEHEADER fh = {};
        BITMAPINFOHEADER ih = {};
        ih.biSize = sizeof ih;
        ih.biWidth = w;
        ih.biHeight = -h;
        ih.biPlanes = 1;
        ih.biBitCount = 32;
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof ih;
        fh.bfSize = fh.bfOffBits + static_cast<DWORD>(px.size() * 4);
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&ih, sizeof ih, 1, f);
        fwrite(px.data(), 4, px.size(), f);
        fclose(f);
    }
};

class RealMaps : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SHARED_DATA(kData);
        AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWMAXIMIZED);
        shelltest::QuietStart(m_app);
        shelltest::TolerateLoadReports();
        ASSERT_TRUE(m_app.InitInstance());
        // File Open works inside a project: one rooted at the shared data, naming nothing.
        m_project = shelltest::OpenEmptyProject(m_app, "morvane_realmaps.prj", kData);
        ASSERT_FALSE(m_project.IsEmpty());
        // The open reports missing textures and unknown classes in boxes: answered with OK and
        // counted, as a user would click them away.
        AfxSeamSetUnexpectedHandler([this](const AfxModalCall& c) { m_boxes.push_back(c.text); });
        char exe[MAX_PATH];
        ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        m_outDir = exe;
        m_outDir = m_outDir.Left(m_outDir.ReverseFind('\\')) + "\\realmaps";
        ::CreateDirectoryA(m_outDir, nullptr);
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        afxtest::DrainQuit();
        ::DeleteFileA(m_project);
        if (m_pLoader) {
            SetTextureSource(nullptr);
            delete m_pLoader;
        }
    }

    void LoadWads()
    {
        m_pLoader = new CTextureLoader;
        SetTextureSource(m_pLoader);
        for (const char* wad : {"lq_dev.wad", "lq_liquidsky.wad", "lq_mayan.wad", "lq_utility.wad"})
            EXPECT_TRUE(m_pLoader->LoadWad(CString(kData) + "\\wads\\" + wad)) << wad;
    }

    // Opens the map by File > Open, then XZ and YZ windows of it; checks and saves each view.
    void CheckMap(const char* name, const char* tag)
    {
        CString path = CString(kData) + "\\maps\\" + name;
        AfxSeamScript([path](AfxModalCall& call) {
            call.text = path;
            return (INT_PTR)IDOK;
        });
        m_boxes.clear();
        m_app.m_pMainWnd->SendMessage(WM_COMMAND, ID_MAP_OPEN);
        afxtest::PumpMessages();
        // The shell opens the map into its four windows: the three plan windows are checked.
        CMainFrame* pMain = m_app.GetMainFrame();
        std::vector<CMapFrame*> frames;
        Map* map = nullptr;
        for (int type : {VIEW_XY, VIEW_XZ, VIEW_YZ}) {
            for (HWND h = ::GetWindow(pMain->m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
                auto* pFrame = dynamic_cast<CMapFrame*>(CWnd::FromHandlePermanent(h));
                if (pFrame && pFrame->GetXYView() && pFrame->GetXYView()->GetViewType() == type)
                    frames.push_back(pFrame);
            }
        }
        ASSERT_EQ(frames.size(), 3u) << name;
        // The camera window goes: its eye, drawn in the plan views, is not part of the map.
        for (HWND h = ::GetWindow(pMain->m_hWndMDIClient, GW_CHILD); h;) {
            HWND next = ::GetWindow(h, GW_HWNDNEXT);
            CWnd* pWnd = CWnd::FromHandlePermanent(h);
            if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CMapCameraFrame)))
                pWnd->SendMessage(WM_CLOSE);
            h = next;
        }
        map = static_cast<Map*>(frames[0]->GetActiveDocument());
        ASSERT_NE(map, nullptr);
        size_t openBoxes = m_boxes.size();
        int textureBoxes = 0, classBoxes = 0;
        for (const CString& b : m_boxes) {
            textureBoxes += b.Find("textures were not found") >= 0;
            classBoxes += b.Find("could not be found in any of the .qc files") >= 0;
        }

        if (m_pLoader)
            printf("[  MAP     ] %-24s %d textures loaded, %d names without a texture\n", name,
                   m_pLoader->GetTextureMap().GetCount(), m_pLoader->GetPlaceholderCount());

        // Boxes of the world and of the whole map; the player start.
        short world[6] = {32767, -32768, 32767, -32768, 32767, -32768};
        short all[6] = {32767, -32768, 32767, -32768, 32767, -32768};
        const short* start = nullptr;
        int brushes = 0;
        CPtrList objects;
        map->CollectObjects(objects);
        for (POSITION pos = objects.GetHeadPosition(); pos;) {
            SThing* t = static_cast<SThing*>(objects.GetNext(pos));
            Union(all, t->GetBounds());
            if (t->GetKind() == 0) {
                ++brushes;
                if (static_cast<Brush*>(t)->GetOwner() == map->GetWorldEntity())
                    Union(world, t->GetBounds());
            }
        }
        for (POSITION pos = map->GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(map->GetEntities().GetNext(pos));
            const CString* cls = e->FindValue("classname");
            if (!start && cls && *cls == "info_player_start")
                start = e->GetBounds();
        }

        for (CMapFrame* pFrame : frames) {
            pMain->MDIActivate(pFrame);
            pFrame->MDIMaximize();
            afxtest::PumpMessages();
            CMapXYView* xy = pFrame->GetXYView();
            xy->Invalidate(FALSE);
            xy->UpdateWindow();
            Capture cap;
            cap.Take(xy);
            const char* plane = xy->GetViewType() == VIEW_XZ ? "xz" : xy->GetViewType() == VIEW_YZ ? "yz" : "xy";
            CString file;
            file.Format("%s\\%s_%s_%s.bmp", static_cast<LPCSTR>(m_outDir), name, plane, tag);
            cap.Save(file);
            // The whole window too, depth view and bars included, for a person to look at.
            Capture whole;
            whole.Take(pFrame);
            file.Format("%s\\%s_%s_%s_window.bmp", static_cast<LPCSTR>(m_outDir), name, plane, tag);
            whole.Save(file);

            CPoint scroll = xy->GetDeviceScrollPosition();
            CRect client(0, 0, cap.w, cap.h);
            auto toClient = [&](const short* b) {
                CRect r = xy->ProjectBox(b);
                r.OffsetRect(-scroll);
                return r;
            };
            auto isPlain = [](DWORD c) { return c == 0xFFFFFF || c == 0xE0E0E0 || c == 0xC0C0C0; };
            auto drawnIn = [&](CRect r) {
                r.InflateRect(1, 1);
                r.IntersectRect(&r, &client);
                int n = 0;
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        n += !isPlain(cap.At(x, y));
                return n;
            };
            CRect worldRect = toClient(world), mapRect = toClient(all);
            mapRect.InflateRect(2, 2);
            CPoint origin = xy->ProjectPoint(0, 0, 0) - scroll;
            CRect cross(origin.x - 10, origin.y - 10, origin.x + 11, origin.y + 11);
            int outside = 0;
            for (int y = 0; y < cap.h; ++y)
                for (int x = 0; x < cap.w; ++x)
                    if (!mapRect.PtInRect(CPoint(x, y)) && !cross.PtInRect(CPoint(x, y)) && !isPlain(cap.At(x, y)))
                        ++outside;
            int inWorld = drawnIn(worldRect);
            int inStart = start ? drawnIn(toClient(start)) : -1;
            bool crossShown = client.PtInRect(origin) ? cap.At(origin.x, origin.y) == 0xFF0000 : true;
            printf("[  MAP     ] %-24s %s %-6s %4d brushes  world %7d px  start %5d px  outside %d  cross %s  "
                   "boxes %zu (%d textures, %d classes)\n",
                   name, plane, tag, brushes, inWorld, inStart, outside, crossShown ? "ok" : "MISSING",
                   openBoxes, textureBoxes, classBoxes);
            EXPECT_GT(inWorld, 0) << name << " " << plane;
            if (start) {
                EXPECT_GT(inStart, 0) << name << " " << plane;
            }
            EXPECT_EQ(outside, 0) << name << " " << plane;
            EXPECT_TRUE(crossShown) << name << " " << plane;
        }
        EXPECT_EQ(m_boxes.size(), openBoxes) << name << ": a box from the views";
        m_app.CloseAllDocuments(FALSE);
        afxtest::PumpMessages();
    }

    CEditorApp m_app;
    CTextureLoader* m_pLoader = nullptr;
    std::vector<CString> m_boxes;
    CString m_outDir;
    CString m_project;
};

const char* const kMaps[] = {"e3m5.map", "jrbase1.map", "librequake_b_explob.map", "librequake_e0m8.map",
                             "librequake_e2m2.map", "lq_greenwood.map", "spirit1dm3.map"};

} // namespace

TEST_F(RealMaps, OpenAndDrawWithoutTextures)
{
    for (const char* m : kMaps)
        CheckMap(m, "bare");
}

TEST_F(RealMaps, OpenAndDrawWithTheFourWads)
{
    LoadWads();
    for (const char* m : kMaps)
        CheckMap(m, "wads");
}
