// WAD loading: N loads of each WAD into a fresh texture map; the last loader stays
// installed so that the map phases look their textures up in it.
#pragma once
#include "TextureLoader.h"
#include <memory>

inline int BenchTextures(const std::vector<const char*>& wads, int runs, bool& quiet,
                         std::unique_ptr<CTextureLoader>& kept)
{
    if (wads.empty())
        return 0;
    size_t bytes = 0;
    for (const char* w : wads) {
        std::vector<char> data;
        if (!ReadFile(w, data)) {
            std::fprintf(stderr, "cannot read %s\n", w);
            return 1;
        }
        bytes += data.size();
    }
    double total = 0;
    for (int r = 0; r < runs; ++r) {
        quiet = r > 0;
        kept.reset();
        SetTextureSource(nullptr);
        double t0 = Now();
        kept.reset(new CTextureLoader);
        for (const char* w : wads)
            if (!kept->LoadWad(w)) {
                std::fprintf(stderr, "cannot load %s\n", w);
                return 1;
            }
        total += Now() - t0;
    }
    quiet = false;
    SetTextureSource(kept.get());
    std::printf("wads: %zu file(s), %zu bytes, %d textures, %d runs\n", wads.size(), bytes,
                kept->GetTextureMap().GetCount(), runs);
    PrintPhase("wad load", total, runs, bytes);
    return 0;
}
