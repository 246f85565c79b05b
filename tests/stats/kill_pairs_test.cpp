// Sorting kill entries by pair: the order of the pairs, each pair's entries kept in their order,
// over keys whose every 16-bit digit varies (players numbered past 65,535).
#include "stats/kill_pairs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace qla {
namespace {

TEST(KillPairs, SortsByPairAndKeepsEachPairsEntriesInOrder) {
    std::mt19937 random(7);
    // Few players, so pairs repeat; some numbered far apart, so every digit of the key varies.
    const std::vector<std::uint32_t> players{0, 1, 2, 70000, 70001, 5000000, 4000000000U};
    std::vector<PairEntry> entries;
    for (std::uint32_t i = 0; i < 2000; ++i) {
        std::uint32_t a = players[random() % players.size()];
        std::uint32_t b = players[random() % players.size()];
        if (a == b)
            continue;
        entries.push_back({PairKey(std::min(a, b), std::max(a, b)), i});
    }
    std::vector<PairEntry> expected = entries;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const PairEntry& x, const PairEntry& y) { return x.Key() < y.Key(); });
    SortByPair(entries);
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Key(), expected[i].Key()) << i;
        EXPECT_EQ(entries[i].Entry, expected[i].Entry) << i;
    }
    EXPECT_EQ(LowerOf(PairKey(70000, 4000000000U)), 70000U);
    EXPECT_EQ(HigherOf(PairKey(70000, 4000000000U)), 4000000000U);

    // One pair alone, and nothing: left as they are.
    std::vector<PairEntry> one{{PairKey(1, 2), 5}, {PairKey(1, 2), 3}};
    SortByPair(one);
    EXPECT_EQ(one[0].Entry, 5U);
    std::vector<PairEntry> none;
    SortByPair(none);
    EXPECT_TRUE(none.empty());
}

} // namespace
} // namespace qla
