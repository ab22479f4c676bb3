// morvane_bench: times the map model and the texture loader on real files.
//
//   morvane_bench [-n N] [-k] [-p] [-g] [-G] [-o out.map] [-w file.wad]... [-b file.wad] [-S datadir [-F WC]] [map.map]
//
// -p: after the timed phases, N more full loads sampled (BenchProfile.h), and N formatted writes;
// the program addresses where the load, its windings and the write spend their time are printed
// with their counts.
// -G: after the map phases, the grid figure with the map's entity texts (BenchGrid.h).
// -k: every entity class is known (32-unit size), so class reports stay quiet.
//
// For a map: N runs each of tokenise+parse only, full load (windings and texture
// lookups; its heap allocations, its windings alone and the clearing that starts each run after
// the first) and write, as read and with every brush moved (every face line formatted); with -o
// the loaded map is written there as map text.
// For each WAD: N loads into the texture map (8-bit and 24-bit bitmaps).
// Then N full redraws of the plane view in XY, XZ and YZ (median milliseconds).
// -g: then N camera frames of the map in each render mode (OpenGL, 800 x 600).
// -b: the texture browser filled with the WAD's textures and its thumbnails painted.
// -S datadir: the editor's project load and map open in its own windows, beside the load of the
// project's WADs alone and the map's own full load, and the close of the editor with two maps
// open; with -p the first open is sampled; -F W adds a project of 200 entries of one WAD (the
// Messages pane's lines), -F C the load of 1,000, 3,000 and 10,000 entity classes.
#include "Brush.h"
#include "Entity.h"
#include "Map.h"
#include "Reporter.h"
#include "Services.h"
#include "Tokenizer.h"
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

// Heap allocations made through operator new, counted to show where a phase's work goes (on any
// thread: a map's open builds windings on worker threads).
static std::atomic<size_t> g_allocations{0};
void* operator new(size_t n)
{
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

// Lines and boxes go to the console; every box is answered with its first button.
class CConsoleServices : public CDefaultEditorServices
{
public:
    int boxes = 0;
    int lines = 0;
    bool quiet = false;
    bool classesKnown = false;
    EntityClass anyClass;
    // With -k every class name is known, with the default 32-unit size.
    int IsEntityVisible(LPCSTR name) override
    {
        return classesKnown ? 1 : CDefaultEditorServices::IsEntityVisible(name);
    }
    BOOL LookupEntityClass(LPCSTR name, const EntityClass*& pClass) override
    {
        if (!classesKnown)
            return CDefaultEditorServices::LookupEntityClass(name, pClass);
        pClass = &anyClass;
        return TRUE;
    }
    void PrintMessage(LPCSTR text) override
    {
        ++lines;
        if (!quiet)
            std::fprintf(stderr, "%s\n", text);
    }
    int MessageBox(LPCSTR text, UINT type) override
    {
        ++boxes;
        if (!quiet)
            std::fprintf(stderr, "[box] %s\n", text);
        UINT buttons = type & 0xF;
        return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
    }
};

double Now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// The processor time of this thread: on a machine that others share, the wall clock also counts
// the time the thread waited for a processor.
double CpuNow()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (value(kernel) + value(user)) * 1e-7;
}

bool ReadFile(const char* path, std::vector<char>& data)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    data.resize(static_cast<size_t>(size));
    size_t got = size > 0 ? std::fread(data.data(), 1, data.size(), f) : 0;
    std::fclose(f);
    return got == data.size();
}

// Walks the text the way the reader does, without building geometry.
size_t TokeniseAndParse(std::vector<char>& buffer)
{
    CTokenizer tok;
    tok.Init(buffer.data(), buffer.size() - 2); // the text, without the two NULs after it
    size_t pairs = 0, faces = 0;
    int depth = 0;
    while (char* t = tok.NextToken()) {
        if (t[0] == '{') {
            ++depth;
        } else if (t[0] == '}') {
            --depth;
        } else if (t[0] == '"') {
            // Back up: the pair starts at the quote.
            tok.SetPosition(t);
            CKeyValue kv(tok);
            ++pairs;
        } else if (t[0] == '(' && depth == 2) {
            char* rest = tok.RestOfLine();
            if (!rest)
                break;
            short v;
            char* p = rest;
            for (int i = 0; i < 9; ++i) {
                while (*p == ' ' || *p == '(' || *p == ')' || *p == '\t')
                    ++p;
                ParseCoord(&p, v);
            }
            ++faces;
        }
    }
    return pairs + faces;
}

// The map text and the two zeros after it that the reader expects, in the block it had.
void FillBuffer(std::vector<char>& buffer, const std::vector<char>& text)
{
    buffer.assign(text.begin(), text.end());
    buffer.push_back(0);
    buffer.push_back(0);
}

void PrintPhase(const char* name, double seconds, int runs, size_t bytes)
{
    double per = seconds / runs;
    std::printf("%-22s %9.2f ms/run  %8.1f MB/s\n", name, per * 1000.0, bytes / per / 1e6);
}

} // namespace

#include "BenchTextures.h"
#include "BenchViews.h"
#include "BenchCamera.h"
#include "BenchBrowser.h"
#include "BenchGrid.h"
#include "BenchShell.h"
#include "BenchProfile.h"

int main(int argc, char** argv)
{
    int runs = 10;
    const char* out = nullptr;
    const char* mapPath = nullptr;
    std::vector<const char*> wads;
    const char* browserWad = nullptr;
    bool known = false;
    bool camera = false;
    bool gridFigure = false;
    const char* shellData = nullptr;
    const char* shellFigures = "";
    bool profile = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-n") && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "-o") && i + 1 < argc)
            out = argv[++i];
        else if (!std::strcmp(argv[i], "-k"))
            known = true;
        else if (!std::strcmp(argv[i], "-p"))
            profile = true;
        else if (!std::strcmp(argv[i], "-g"))
            camera = true;
        else if (!std::strcmp(argv[i], "-G"))
            gridFigure = true;
        else if (!std::strcmp(argv[i], "-w") && i + 1 < argc)
            wads.push_back(argv[++i]);
        else if (!std::strcmp(argv[i], "-b") && i + 1 < argc)
            browserWad = argv[++i];
        else if (!std::strcmp(argv[i], "-S") && i + 1 < argc)
            shellData = argv[++i];
        else if (!std::strcmp(argv[i], "-F") && i + 1 < argc)
            shellFigures = argv[++i];
        else
            mapPath = argv[i];
    }
    if (runs < 1)
        runs = 1;
    // The editor's project load and map open, in its own windows.
    if (shellData)
        return BenchShell(shellData, mapPath, runs, shellFigures, profile);
    if (!mapPath && wads.empty() && !browserWad) {
        std::fprintf(stderr, "usage: morvane_bench [-n N] [-k] [-p] [-g] [-G] [-o out.map] [-w file.wad]... [-b file.wad] [-S datadir [-F WC]] [map.map]\n");
        return 2;
    }
    CConsoleServices services;
    SetEditorServices(&services);
    CReporter reporter(&services);
    CReporter::Set(&reporter);
    services.classesKnown = known;

    std::unique_ptr<CTextureLoader> loader;
    int rc = BenchTextures(wads, runs, services.quiet, loader);
    if (rc)
        return rc;
    rc = BenchBrowser(browserWad, runs, services.quiet);
    if (rc)
        return rc;
    if (!mapPath)
        return 0;

    std::vector<char> text;
    if (!ReadFile(mapPath, text)) {
        std::fprintf(stderr, "cannot read %s\n", mapPath);
        return 1;
    }
    std::printf("map %s: %zu bytes, %d runs\n", mapPath, text.size(), runs);
    // The text each run reads (the reader writes into it), in one block made once: its room is
    // not part of the times.
    std::vector<char> buffer;
    buffer.reserve(text.size() + 2);

    double t0 = Now();
    double c0 = CpuNow();
    size_t items = 0;
    for (int r = 0; r < runs; ++r) {
        FillBuffer(buffer, text);
        items = TokeniseAndParse(buffer);
    }
    const double parseTime = Now() - t0;
    const double parseCpu = CpuNow() - c0;
    PrintPhase("tokenise+parse", parseTime, runs, text.size());

    Map map;
    BOOL ok = FALSE;
    const size_t allocationsBefore = g_allocations;
    t0 = Now();
    c0 = CpuNow();
    for (int r = 0; r < runs; ++r) {
        services.quiet = r > 0; // report the load's messages once
        FillBuffer(buffer, text);
        ok = map.ParseMapText(buffer.data(), text.size());
    }
    const double loadTime = Now() - t0;
    const double loadCpu = CpuNow() - c0;
    PrintPhase("full load", loadTime, runs, text.size());
    std::printf("%-22s %9.2f times tokenise+parse\n", "", loadTime / parseTime);
    if (parseCpu > 0)
        std::printf("%-22s %9.2f times tokenise+parse in processor time (%.2f and %.2f ms/run)\n", "",
                    loadCpu / parseCpu, parseCpu * 1000.0 / runs, loadCpu * 1000.0 / runs);
    std::printf("%-22s %9zu per run\n", "  allocations", (g_allocations - allocationsBefore) / runs);
    services.quiet = false;

    // The parts of the full load: the windings alone (every brush rebuilt from its planes) and
    // the clearing of the previous load that each run after the first begins with.
    {
        std::vector<Brush*> all;
        for (POSITION pos = map.GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(map.GetEntities().GetNext(pos));
            for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;)
                all.push_back(static_cast<Brush*>(e->GetBrushes().GetNext(bp)));
        }
        t0 = Now();
        for (int r = 0; r < runs; ++r)
            for (Brush* b : all)
                b->BuildWindings();
        PrintPhase("  of it windings", Now() - t0, runs, text.size());
        t0 = Now();
        for (int r = 0; r < runs; ++r)
            for (Brush* b : all)
                b->BuildWindingsGeneral();
        PrintPhase("  (general clip)", Now() - t0, runs, text.size());
        double cleared = 0;
        for (int r = 0; r < runs; ++r) {
            Map scratch;
            services.quiet = true;
            FillBuffer(buffer, text);
            scratch.ParseMapText(buffer.data(), text.size());
            services.quiet = false;
            double c0 = Now();
            scratch.DeleteContents();
            cleared += Now() - c0;
        }
        PrintPhase("  of it clearing", cleared, runs, text.size());
    }

    if (profile) {
        services.quiet = true;
        Map scratch;
        CBenchProfile sampler;
        for (int r = 0; r < runs; ++r) {
            FillBuffer(buffer, text);
            scratch.ParseMapText(buffer.data(), text.size());
        }
        sampler.Stop();
        services.quiet = false;
        std::printf("full load ");
        sampler.Print(stdout, 400);
        CBenchProfile windings;
        for (int r = 0; r < runs; ++r)
            for (POSITION pos = scratch.GetEntities().GetHeadPosition(); pos;) {
                Entity* e = static_cast<Entity*>(scratch.GetEntities().GetNext(pos));
                for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;)
                    static_cast<Brush*>(e->GetBrushes().GetNext(bp))->BuildWindings();
            }
        windings.Stop();
        std::printf("windings ");
        windings.Print(stdout, 400);
    }

    CString written;
    t0 = Now();
    for (int r = 0; r < runs; ++r) {
        written.Empty();
        map.WriteEntities(written);
    }
    PrintPhase("write", Now() - t0, runs, static_cast<size_t>(written.GetLength()));

    // The same map with every brush moved by 8 units: no face holds its values as read any
    // more, so every face line is formatted from the numbers. The sums of both texts show that a
    // change of the writer keeps its bytes.
    {
        Map moved;
        services.quiet = true;
        FillBuffer(buffer, text);
        moved.ParseMapText(buffer.data(), text.size());
        services.quiet = false;
        for (POSITION pos = moved.GetEntities().GetHeadPosition(); pos;) {
            Entity* e = static_cast<Entity*>(moved.GetEntities().GetNext(pos));
            for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;) {
                Brush* b = static_cast<Brush*>(e->GetBrushes().GetNext(bp));
                try {
                    b->Translate(8, 0, 0);
                } catch (CBrushGeometryError&) {
                }
            }
        }
        CString formatted;
        t0 = Now();
        for (int r = 0; r < runs; ++r) {
            formatted.Empty();
            moved.WriteEntities(formatted);
        }
        PrintPhase("write formatted", Now() - t0, runs, static_cast<size_t>(formatted.GetLength()));
        if (profile) {
            CBenchProfile sampler;
            for (int r = 0; r < runs; ++r) {
                formatted.Empty();
                moved.WriteEntities(formatted);
            }
            sampler.Stop();
            std::printf("write formatted ");
            sampler.Print(stdout, 40);
        }
        auto sum = [](const CString& s) {
            unsigned long long h = 14695981039346656037ull;
            for (int i = 0; i < s.GetLength(); ++i)
                h = (h ^ static_cast<unsigned char>(s[i])) * 1099511628211ull;
            return h;
        };
        std::printf("written sums %016llx (as read) %016llx (formatted)\n", sum(written), sum(formatted));
    }

    int entities = map.GetEntities().GetCount(), brushes = 0, faces = 0, invalid = 0;
    unsigned long long geometrySum = 14695981039346656037ull;
    for (POSITION pos = map.GetEntities().GetHeadPosition(); pos;) {
        Entity* e = static_cast<Entity*>(map.GetEntities().GetNext(pos));
        brushes += e->GetBrushCount();
        for (POSITION bp = e->GetBrushes().GetHeadPosition(); bp;) {
            Brush* b = static_cast<Brush*>(e->GetBrushes().GetNext(bp));
            faces += b->GetFaceCount();
            if (!b->IsValid())
                ++invalid;
            // Every bit of the geometry goes into one sum, so that a change of the load can be
            // seen to keep it (FNV-1a over planes, winding points, rounded points and boxes).
            auto add = [&geometrySum](const void* p, size_t n) {
                for (size_t i = 0; i < n; ++i)
                    geometrySum = (geometrySum ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ull;
            };
            for (const Face& f : b->GetFaces()) {
                add(&f.normal, sizeof f.normal);
                add(&f.dist, sizeof f.dist);
                add(f.winding.data(), f.winding.size() * sizeof(CVector));
                add(f.rounded.data(), f.rounded.size() * sizeof f.rounded[0]);
            }
            add(b->GetBounds(), 6 * sizeof(short));
        }
    }
    std::printf("geometry sum %016llx\n", geometrySum);
    std::printf("read %s: %d entities, %d brushes (%d not valid), %d faces, %zu items parsed, %d boxes\n",
                ok ? "ok" : "FAILED", entities, brushes, invalid, faces, items, services.boxes);

    if (out) {
        FILE* f = std::fopen(out, "wb");
        if (!f || std::fwrite(written.GetString(), 1, static_cast<size_t>(written.GetLength()), f) !=
                      static_cast<size_t>(written.GetLength())) {
            std::fprintf(stderr, "cannot write %s\n", out);
            return 1;
        }
        std::fclose(f);
    }
    BenchRedraw(map, runs);
    if (loader)
        std::printf("placeholders for missing texture names: %d\n", loader->GetPlaceholderCount());
    if (gridFigure && benchgrid::BenchGrid(map, runs) != 0)
        return 1;
    if (ok && camera)
        return BenchCamera(map, runs);
    return ok ? 0 : 1;
}
