// Writes small WAD files for the tests.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct TestLump
{
    std::string name;
    int type;
    std::vector<uint8_t> data;
};

inline void PutInt(std::vector<uint8_t>& v, size_t at, int32_t x)
{
    for (int i = 0; i < 4; ++i)
        v[at + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i));
}

// A mip texture lump whose pixel at (x, y) is (x + y * w + seed) & 255.
inline TestLump MipLump(const std::string& name, int w, int h, int seed = 0)
{
    TestLump l{name, 68, std::vector<uint8_t>(40 + static_cast<size_t>(w * h))};
    std::memcpy(l.data.data(), name.c_str(), name.size() < 16 ? name.size() : 16);
    PutInt(l.data, 16, w);
    PutInt(l.data, 20, h);
    PutInt(l.data, 24, 40);
    for (int i = 0; i < w * h; ++i)
        l.data[40 + static_cast<size_t>(i)] = static_cast<uint8_t>((i + seed) & 255);
    return l;
}

// Header, lump data, then the directory at the end.
inline std::string BuildWad(const std::vector<TestLump>& lumps)
{
    std::vector<uint8_t> v(12);
    std::memcpy(v.data(), "WAD2", 4);
    std::vector<int> offsets;
    for (const TestLump& l : lumps) {
        offsets.push_back(static_cast<int>(v.size()));
        v.insert(v.end(), l.data.begin(), l.data.end());
    }
    size_t dir = v.size();
    PutInt(v, 4, static_cast<int>(lumps.size()));
    PutInt(v, 8, static_cast<int>(dir));
    for (size_t i = 0; i < lumps.size(); ++i) {
        size_t e = v.size();
        v.resize(e + 32);
        PutInt(v, e, offsets[i]);
        PutInt(v, e + 4, static_cast<int>(lumps[i].data.size()));
        PutInt(v, e + 8, static_cast<int>(lumps[i].data.size()));
        v[e + 12] = static_cast<uint8_t>(lumps[i].type);
        std::memcpy(&v[e + 16], lumps[i].name.c_str(), lumps[i].name.size() < 16 ? lumps[i].name.size() : 16);
    }
    return std::string(v.begin(), v.end());
}
