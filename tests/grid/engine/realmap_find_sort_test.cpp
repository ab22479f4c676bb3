// A real map's entity key/value pairs in a grid, a row per pair: sorted by key and replaced, as a
// user of the entity lists would. Skips when the shared maps are not there.
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include "Tokenizer.h"
#include "afxseam.h"
#include "grid_test_util.h"
#include "gxsort.h"
#include "gxutil.h"
#include "shareddata.h"

namespace {
struct Pair
{
    int entity;
    std::string key, value;
};

// The pairs of every entity in file order; brushes are skipped.
std::vector<Pair> ReadPairs(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    text.append(2, '\0');
    CTokenizer tok;
    tok.Init(&text[0]);
    std::vector<Pair> pairs;
    int entity = -1, depth = 0;
    while (char* p = tok.PeekToken()) {
        if (depth == 1 && p[0] == '"') {
            std::string key = tok.NextQuoted();
            const char* value = tok.NextQuoted();
            pairs.push_back({entity, key, value != nullptr ? value : ""});
            continue;
        }
        tok.NextToken();
        if (std::string(p) == "{" && ++depth == 1)
            ++entity;
        else if (std::string(p) == "}")
            --depth;
    }
    return pairs;
}

class RealMapGrid : public ::testing::Test
{
protected:
    CProfileTestRoot root;
    CGXGridEngine grid{nullptr};
    std::vector<Pair> pairs;
    void SetUp() override
    {
        const std::string path = shareddata::Path("maps\\e3m5.map");
        SKIP_WITHOUT_SHARED_DATA(path);
        pairs = ReadPairs(path);
        ASSERT_FALSE(pairs.empty()) << path;
        AfxSeamReset();
        CGXLongOperation::SetTicksFirstTime(100000);
        CGXLongOperation::SetTicksContinued(100000);
        grid.InitObjects();
        grid.SetRowCount(static_cast<ROWCOL>(pairs.size()), 0);
        grid.SetColCount(3, 0);
        for (size_t i = 0; i < pairs.size(); ++i) {
            const ROWCOL r = static_cast<ROWCOL>(i + 1);
            grid.SetValueRange(CGXRange(r, 1), std::to_string(pairs[i].entity).c_str(), gxOverride, 0, 0);
            grid.SetValueRange(CGXRange(r, 2), pairs[i].key.c_str(), gxOverride, 0, 0);
            grid.SetValueRange(CGXRange(r, 3), pairs[i].value.c_str(), gxOverride, 0, 0);
        }
        grid.GetParam()->EmptyUndoList();
    }
    void TearDown() override
    {
        CGXLongOperation::SetTicksFirstTime(0);
        CGXLongOperation::SetTicksContinued(0);
    }
    std::vector<std::string> Column(ROWCOL c)
    {
        std::vector<std::string> v;
        for (ROWCOL r = 1; r <= grid.GetRowCount(); ++r)
            v.push_back((LPCSTR)grid.GetCellValue(r, c));
        return v;
    }
};
} // namespace

TEST_F(RealMapGrid, SortedByKeyThePairsOfOneKeyKeepMapOrder)
{
    CGXSortInfoArray keys;
    keys.SetSize(1);
    keys[0].nRC = 2;
    keys[0].sortType = CGXSortInfo::autodetect;
    grid.SortRows(CGXRange().SetTable(), keys);
    const auto entity = Column(1), key = Column(2), value = Column(3);
    std::map<std::string, std::vector<std::pair<int, std::string>>> want, got;
    for (const Pair& p : pairs)
        want[p.key].push_back({p.entity, p.value});
    for (size_t i = 0; i < key.size(); ++i) {
        if (i > 0) {
            EXPECT_LE(_stricmp(key[i - 1].c_str(), key[i].c_str()), 0) << i;
        }
        got[key[i]].push_back({std::atoi(entity[i].c_str()), value[i]});
    }
    // Each key's pairs are the map's, in the map's order.
    EXPECT_EQ(got, want);
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(Column(2)[0], pairs[0].key);
    EXPECT_EQ(Column(3).back(), pairs.back().value);
}

TEST_F(RealMapGrid, ReplaceAllOfAClassnameAndOneUndoRestoresEveryCell)
{
    const auto before = Column(3);
    size_t lights = 0;
    for (const Pair& p : pairs)
        lights += p.key == "classname" && p.value == "light";
    ASSERT_GT(lights, 0u);
    ASSERT_TRUE(grid.PlaceCurrentCell(1, 3));
    ASSERT_TRUE(grid.ReplaceAll("light", "lamp", TRUE));
    const auto after = Column(3);
    size_t lamps = 0, changed = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        lamps += pairs[i].key == "classname" && after[i] == "lamp";
        changed += after[i] != before[i];
    }
    EXPECT_EQ(lamps, lights);
    EXPECT_GE(changed, lights);
    EXPECT_EQ(grid.GetParam()->GetUndoList().GetCount(), 1);
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(Column(3), before);
    std::printf("e3m5: %zu pairs, %zu light entities, %zu cells replaced\n", pairs.size(), lights, changed);
}
