// A project in a temporary root with one small WAD, the program's texture loader, a map with a
// selected brush as the active map, and the texture browser as a child panel of a test window.
#pragma once
#include "Brush.h"
#include "Entity.h"
#include "IniFile.h"
#include "Map.h"
#include "RecordingServices.h"
#include "TextureBrowser.h"
#include "WadBuilder.h"
#include "afxtest.h"
#include "afxwndtest.h"
#include <string>
#include <set>
#include <vector>

// Services whose browser shows what the map makes current, as the shell's do.
class BrowserServices : public CRecordingServices
{
public:
    CTextureBrowser* browser = nullptr;
    std::vector<Texture*> shown;
    void ShowTexture(Texture* t) override
    {
        shown.push_back(t);
        if (browser)
            browser->SelectTexture(t);
    }
};

// Records every update with the texture its hint carries.
class TextureSpyView : public CView
{
public:
    struct Update
    {
        LPARAM hint;
        Texture* texture;
    };
    std::vector<Update> updates;
    void OnUpdate(CView*, LPARAM hint, CObject* pHint) override
    {
        updates.push_back({hint, pHint ? static_cast<CUpdateHint*>(pHint)->texture : nullptr});
    }
    void OnDraw(CDC*) override {}
};

// A 32-bit top-down memory bitmap to draw into and read back.
class Canvas
{
public:
    Canvas(int width, int height) : w(width), h(height)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = ::CreateCompatibleDC(nullptr);
        bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = ::SelectObject(dc, bmp);
    }
    ~Canvas()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bmp);
        ::DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    // Red, green, blue as one number.
    DWORD At(int x, int y) const { return bits[y * w + x] & 0xFFFFFF; }
    int w, h;
    DWORD* bits = nullptr;
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

// What a palette index becomes on screen: its colour through the brightness table.
inline DWORD Expected(int index)
{
    const BYTE* pal = GetPaletteTable();
    return static_cast<DWORD>(BrightnessOf(pal[index * 3])) << 16 |
           static_cast<DWORD>(BrightnessOf(pal[index * 3 + 1])) << 8 | BrightnessOf(pal[index * 3 + 2]);
}

// Every colour of a texture's 24-bit bitmap.
inline std::set<DWORD> ColoursOf(const Texture* t)
{
    std::set<DWORD> c;
    int stride = (t->p2width * 3 + 3) & ~3;
    for (int y = 0; y < t->p2height; ++y)
        for (int x = 0; x < t->p2width; ++x) {
            const BYTE* p = t->bits + y * stride + x * 3;
            c.insert(static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[1]) << 8 | p[0]);
        }
    return c;
}

using Names = std::vector<std::string>;

class BrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        services = new BrowserServices;
        SetEditorServices(services);
        reporter = new CReporter(services);
        CReporter::Set(reporter);
        services->WriteProfileString("Project Settings", "Root Path", dir.Path());
        dir.WriteFile("t.wad", BuildWad({MipLump("SQUARE", 64, 64, 3), MipLump("SMALL", 16, 16, 40),
                                         MipLump("ODD", 100, 40, 90), MipLump("BRICK", 32, 32, 7),
                                         MipLump("METAL", 128, 64, 20)}));
        project = new CIniFile(dir.Path("p.mpj"));
        project->WriteString("Wads", "File1", "t.wad", TRUE);
        services->SetProject(project);
        loader = new CTextureLoader;
        SetTextureSource(loader);
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Textures", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                  700, nullptr, nullptr));
        browser = new CTextureBrowser(loader);
        ASSERT_TRUE(browser->Create(&host));
        CRect rc;
        host.GetClientRect(&rc);
        browser->MoveWindow(0, 0, rc.Width(), rc.Height());
        browser->ShowWindow(SW_SHOW);
        services->browser = browser;
    }
    void TearDown() override
    {
        services->browser = nullptr;
        delete browser;
        host.DestroyWindow();
        CloseMap();
        delete loader;
        SetTextureSource(nullptr);
        services->SetProject(nullptr);
        delete project;
        delete reporter;
        SetEditorServices(nullptr);
        delete services;
    }

    // A map with one brush of the "DEFAULT" texture, selected, as the active map.
    void OpenMap()
    {
        map = new Map;
        map->m_bAutoDelete = FALSE;
        ASSERT_TRUE(map->OnNewDocument());
        map->AddView(&spy);
        short box[6] = {0, 64, 0, 64, 0, 64};
        brush = new Brush(map->GetWorldEntity(), box);
        map->GetWorldEntity()->AddBrush(brush);
        brush->SetTexture(nullptr);
        brush->SetSelected(true);
        map->GetSelection().AddTail(brush);
        map->SetModifiedFlag(FALSE);
        services->SetActiveMap(map);
    }
    void CloseMap()
    {
        if (!map)
            return;
        services->SetActiveMap(nullptr);
        map->RemoveView(&spy);
        delete map;
        map = nullptr;
        brush = nullptr;
    }
    void InitAndLoad()
    {
        ASSERT_EQ(browser->SendMessage(WM_TEXTURE_INIT), 0);
        ASSERT_EQ(browser->SendMessage(WM_TEXTURE_LOAD), 0);
    }
    CComboBox* List() { return static_cast<CComboBox*>(browser->GetDlgItem(IDC_TEXTURE_LIST)); }
    CComboBox* Recent() { return static_cast<CComboBox*>(browser->GetDlgItem(IDC_RECENT_TEXTURES)); }
    std::vector<std::string> ListNames(CComboBox* combo)
    {
        std::vector<std::string> names;
        for (int i = 0; i < combo->GetCount(); ++i) {
            CString s;
            combo->GetLBText(i, s);
            names.push_back(static_cast<LPCSTR>(s));
        }
        return names;
    }
    std::string Selected(CComboBox* combo)
    {
        int i = combo->GetCurSel();
        if (i < 0)
            return "";
        CString s;
        combo->GetLBText(i, s);
        return static_cast<LPCSTR>(s);
    }
    std::string ProjectValue(LPCSTR section, LPCSTR key)
    {
        const CString* v = project->GetString(section, key);
        return v ? static_cast<LPCSTR>(*v) : "<none>";
    }
    // Where the texture window draws the visible item.
    CRect CellOf(int visibleIndex)
    {
        const CTextureWnd* w = browser->GetTextureWnd();
        Texture* t = static_cast<Texture*>(browser->GetVisibleList().GetAt(browser->GetVisibleList().FindIndex(visibleIndex)));
        int s = w->m_size;
        int x = 6 + (visibleIndex % w->m_columns) * (s + 6);
        int y = 6 + (visibleIndex / w->m_columns) * (s + 6);
        return ThumbnailRect(x, y, s, t->width, t->height);
    }
    int VisibleIndexOf(LPCSTR name)
    {
        int i = 0;
        for (POSITION pos = browser->GetVisibleList().GetHeadPosition(); pos; ++i)
            if (static_cast<Texture*>(browser->GetVisibleList().GetNext(pos))->name == name)
                return i;
        return -1;
    }
    void ClickThumbnail(LPCSTR name)
    {
        int i = VisibleIndexOf(name);
        ASSERT_GE(i, 0) << name;
        CPoint c = CellOf(i).CenterPoint();
        browser->GetTextureWnd()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
    }
    int CountFaces(Texture* t)
    {
        int n = 0;
        for (const Face& f : brush->GetFaces())
            n += f.texture == t;
        return n;
    }

    CTempDir dir;
    BrowserServices* services = nullptr;
    CReporter* reporter = nullptr;
    CIniFile* project = nullptr;
    CTextureLoader* loader = nullptr;
    CWnd host;
    CTextureBrowser* browser = nullptr;
    Map* map = nullptr;
    Brush* brush = nullptr;
    TextureSpyView spy;
};
