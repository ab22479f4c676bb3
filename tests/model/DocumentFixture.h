// A map document with one view that records every update hint, for the document's tests.
#pragma once
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "RecordingServices.h"
#include "Texture.h"
#include "shareddata.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The names of the real maps, or none when the folder is absent.
inline std::vector<CString> RealMaps(CString& folder)
{
    folder = CString(shareddata::Path("maps\\").c_str());
    std::vector<CString> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA(folder + "*.map", &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(fd.cFileName);
    while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return names;
}

// The map text of a 64-unit box brush from x0 to x1 (y and z from 0 to 64), with the texture on
// every face.
inline std::string BoxText(int x0, int x1, const char* tex = "WALL1")
{
    char buf[1024];
    std::snprintf(buf, sizeof buf,
                  "{\r\n"
                  "( %d 0 64 ) ( %d 64 64 ) ( %d 64 64 ) %s 0 0 0 1 1\r\n"
                  "( %d 0 0 ) ( %d 0 0 ) ( %d 64 0 ) %s 0 0 0 1 1\r\n"
                  "( %d 64 0 ) ( %d 64 64 ) ( %d 0 64 ) %s 0 0 0 1 1\r\n"
                  "( %d 64 0 ) ( %d 0 0 ) ( %d 0 64 ) %s 0 0 0 1 1\r\n"
                  "( %d 0 0 ) ( %d 0 64 ) ( %d 0 64 ) %s 0 0 0 1 1\r\n"
                  "( %d 64 0 ) ( %d 64 0 ) ( %d 64 64 ) %s 0 0 0 1 1\r\n"
                  "}\r\n",
                  x0, x0, x1, tex, x0, x1, x1, tex, x0, x0, x0, tex, x1, x1, x1, tex, x0, x0, x1, tex, x0, x1, x1,
                  tex);
    return buf;
}

class HintView : public CView
{
public:
    struct Hint
    {
        LPARAM hint;
        bool hasBox;
        std::vector<int> box;
    };
    std::vector<Hint> hints;

    void OnUpdate(CView*, LPARAM hint, CObject* pHint) override
    {
        Hint h{hint, pHint != nullptr, {}};
        if (pHint)
            h.box.assign(static_cast<CUpdateHint*>(pHint)->box, static_cast<CUpdateHint*>(pHint)->box + 6);
        hints.push_back(h);
    }
    std::vector<LPARAM> Numbers() const
    {
        std::vector<LPARAM> n;
        for (const Hint& h : hints)
            n.push_back(h.hint);
        return n;
    }
};

class DocumentTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        map = new Map;
        map->m_bAutoDelete = FALSE;
        ASSERT_TRUE(map->OnNewDocument());
        map->AddView(&view);
        world = map->GetWorldEntity();
    }
    void TearDown() override
    {
        map->RemoveView(&view);
        delete map;
        ModelTest::TearDown();
    }

    static short* Box(short x0, short x1, short y0, short y1, short z0, short z1)
    {
        return TestBox(x0, x1, y0, y1, z0, z1);
    }
    Brush* AddBrush(Entity* owner, short x0, short x1, short y0, short y1, short z0, short z1)
    {
        Brush* b = new Brush(owner, Box(x0, x1, y0, y1, z0, z1));
        owner->AddBrush(b);
        return b;
    }
    Entity* AddEntity(LPCSTR classname, LPCSTR origin = nullptr)
    {
        Entity* e = new Entity(map);
        e->AddKeyValue("classname", classname);
        if (origin) {
            e->AddKeyValue("origin", origin);
            e->Translate(0, 0, 0); // box and centre from the origin
        }
        map->AddEntity(e);
        return e;
    }
    // Selects as the views do: the flag and the selection list.
    void Select(SThing* t)
    {
        t->SetSelected(true);
        map->GetSelection().AddTail(t);
    }
    bool InList(CPtrList& list, void* p) { return list.Find(p) != nullptr; }

    Map* map = nullptr;
    HintView view;
    Entity* world = nullptr;
};

// A map read from and written to files of a temporary folder, with its textures from a source
// of the test's own.
template <class Source>
class MapFileTest : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        SetTextureSource(&textures);
    }
    void TearDown() override
    {
        SetTextureSource(nullptr);
        DocumentTest::TearDown();
    }
    CString Path(LPCSTR name) { return dir.Path(name); }
    std::string Read(LPCSTR name) { return dir.ReadFile(name); }
    BOOL Open(LPCSTR name, const std::string& text)
    {
        dir.WriteFile(name, text);
        return map->OnOpenDocument(Path(name));
    }
    Source textures;
    CTempDir dir;
};
