// Test services for the views: settings in memory, every status line and box recorded, the main
// frame's switches as plain fields; and helpers to build small maps.
#pragma once
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "MapXYView.h"
#include "ViewServices.h"
#include "afxtest.h"
#include <cstdio>
#include <map>
#include <memory>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The whole content of a file, empty when it cannot be read.
inline std::string FileBytes(LPCSTR path)
{
    std::string s;
    if (FILE* f = fopen(path, "rb")) {
        char buf[65536];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0)
            s.append(buf, n);
        fclose(f);
    }
    return s;
}

class CTestViewServices : public CViewServices
{
public:
    std::vector<std::string> statuses;
    std::vector<std::string> boxes;
    std::vector<HWND> boxCaptures; // the window that held the mouse as each box came up
    int applied = 0;
    BOOL unapplied = FALSE; // the Entity Editor holds changes not applied
    std::vector<Entity*> currentEntities;
    std::map<std::string, CPen*> classPens; // the Entity Editor's pens, by class

    CPen* GetEntityPen(LPCSTR className) override
    {
        auto it = classPens.find(className ? className : "");
        return it != classPens.end() ? it->second : nullptr;
    }

    void SetStatusAndMessage(LPCSTR text) override { statuses.push_back(text); }
    void PrintMessage(LPCSTR) override {}
    int MessageBox(LPCSTR text, UINT) override
    {
        boxes.push_back(text);
        boxCaptures.push_back(::GetCapture());
        return IDOK;
    }
    void ApplyEntityChanges() override { ++applied; }
    BOOL HasUnappliedEntityChanges() override { return unapplied; }
    void SetCurrentEntity(Entity* pEntity) override { currentEntities.push_back(pEntity); }
    bool HasStatus(const char* text) const
    {
        for (const std::string& s : statuses)
            if (s == text)
                return true;
        return false;
    }
};

// A plane view over a document without a window, with a canvas size.
struct PlaneView : CMapXYView
{
    PlaneView(Map* map, int viewType, int canvas = 3072)
    {
        map->AddView(this);
        m_nViewType = viewType;
        SetScrollSizes(MM_TEXT, CSize(canvas, canvas));
    }
    ~PlaneView() override
    {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
    }
};

// A 32-bit bitmap the size of a canvas rectangle, selected into a memory DC.
class Canvas
{
public:
    Canvas(int w, int h) : m_w(w), m_h(h)
    {
        m_dc.CreateCompatibleDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_hBmp = ::CreateDIBSection(m_dc.m_hDC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_pBits = static_cast<const DWORD*>(bits);
        m_hOld = ::SelectObject(m_dc.m_hDC, m_hBmp);
    }
    // The window's client area as the screen shows it: read from the screen, not from the window.
    static Canvas FromScreen(CWnd* pWnd)
    {
        CRect r;
        pWnd->GetClientRect(&r);
        CPoint origin(0, 0);
        pWnd->ClientToScreen(&origin);
        Canvas c(r.Width(), r.Height());
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(c.m_dc.m_hDC, 0, 0, r.Width(), r.Height(), screen, origin.x, origin.y, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
        ::GdiFlush();
        return c;
    }
    // The same once what was drawn has reached the screen (Wine copies a window's drawing to the
    // screen when its thread waits): two reads in a row, a wait between them, agree.
    static std::unique_ptr<Canvas> Settled(CWnd* pWnd)
    {
        auto last = std::make_unique<Canvas>(FromScreen(pWnd));
        for (int tries = 0; tries < 100; ++tries) {
            afxtest::PumpMessages();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            auto now = std::make_unique<Canvas>(FromScreen(pWnd));
            const bool same = now->Differences(*last) == 0;
            last = std::move(now);
            if (same)
                break;
        }
        return last;
    }
    Canvas(Canvas&& other) noexcept
        : m_hBmp(other.m_hBmp), m_hOld(other.m_hOld), m_pBits(other.m_pBits), m_w(other.m_w), m_h(other.m_h)
    {
        m_dc.Attach(other.m_dc.Detach());
        other.m_hBmp = nullptr;
        other.m_hOld = nullptr;
    }
    // Pixels that differ from the other canvas of the same size.
    int Differences(const Canvas& other) const
    {
        if (other.m_w != m_w || other.m_h != m_h || !m_pBits || !other.m_pBits)
            return -1;
        int n = 0;
        for (int i = 0; i < m_w * m_h; ++i)
            n += (m_pBits[i] & 0xFFFFFF) != (other.m_pBits[i] & 0xFFFFFF);
        return n;
    }
    ~Canvas()
    {
        if (!m_hBmp)
            return;
        ::SelectObject(m_dc.m_hDC, m_hOld);
        ::DeleteObject(m_hBmp);
    }
    CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    // Pixels of the colour inside the rectangle (bitmap coordinates).
    int Count(COLORREF c, CRect r = CRect(0, 0, 0, 0))
    {
        if (r.IsRectEmpty())
            r.SetRect(0, 0, m_w, m_h);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += At(x, y) == c;
        return n;
    }

private:
    CDC m_dc;
    HBITMAP m_hBmp;
    HGDIOBJ m_hOld;
    const DWORD* m_pBits = nullptr;
    int m_w, m_h;
};

class ViewsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        services = new CTestViewServices;
        SetViewServices(services);
    }
    void TearDown() override
    {
        SetViewServices(nullptr);
        delete services;
    }

    // A new map with its world entity; the caller owns it.
    static Map* NewMap()
    {
        Map* map = new Map;
        map->m_bAutoDelete = FALSE;
        map->OnNewDocument();
        return map;
    }
    static Brush* AddBrush(Entity* owner, short x0, short x1, short y0, short y1, short z0, short z1)
    {
        short box[6] = {x0, x1, y0, y1, z0, z1};
        Brush* b = new Brush(owner, box);
        owner->AddBrush(b);
        return b;
    }
    static Entity* AddEntity(Map* map, LPCSTR classname, LPCSTR origin = nullptr)
    {
        Entity* e = new Entity(map);
        e->AddKeyValue("classname", classname);
        if (origin) {
            e->AddKeyValue("origin", origin);
            e->Translate(0, 0, 0);
        }
        map->AddEntity(e);
        return e;
    }
    static void Select(Map* map, SThing* t)
    {
        t->SetSelected(true);
        map->GetSelection().AddTail(t);
    }

    CTestViewServices* services = nullptr;
};
