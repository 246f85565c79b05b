// The event tables' player-to-row map against a std::map fed the same keys.
#include "stats/row_of_player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

namespace qla {
namespace {

TEST(RowOfPlayerTest, KeepsTheFirstRowOfEachPlayer) {
    RowOfPlayer rows(4);
    EXPECT_EQ(rows.FindOrAdd(7, 0), (std::pair<std::size_t, bool>{0, true}));
    EXPECT_EQ(rows.FindOrAdd(3, 1), (std::pair<std::size_t, bool>{1, true}));
    EXPECT_EQ(rows.FindOrAdd(7, 2), (std::pair<std::size_t, bool>{0, false}));
    EXPECT_EQ(rows.FindOrAdd(0, 2), (std::pair<std::size_t, bool>{2, true}));
    EXPECT_EQ(rows.FindOrAdd(-1, 3), (std::pair<std::size_t, bool>{3, true}));
    EXPECT_EQ(rows.FindOrAdd(3, 4), (std::pair<std::size_t, bool>{1, false}));
    EXPECT_EQ(rows.size(), 4u);
}

// Far more players than expected (the map must grow and keep every row), keys that share hash
// slots (multiples of the table size) and negative keys, checked against std::map.
TEST(RowOfPlayerTest, AgreesWithAnOrderedMapBeyondItsExpectedSize) {
    for (const std::size_t expected : {std::size_t{0}, std::size_t{1}, std::size_t{100}}) {
        RowOfPlayer rows(expected);
        std::map<PlayerIndex, std::size_t> reference;
        std::uint64_t state = 12345;
        for (int i = 0; i < 20000; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            const auto draw = static_cast<std::uint32_t>(state >> 33);
            PlayerIndex player = static_cast<PlayerIndex>(draw % 3000);
            if (draw % 5 == 0)
                player = static_cast<PlayerIndex>((draw % 40) * 1024); // same low bits
            if (draw % 11 == 0)
                player = -player;
            const auto [it, isNew] = reference.try_emplace(player, reference.size());
            const auto [row, added] = rows.FindOrAdd(player, reference.size() - (isNew ? 1 : 0));
            ASSERT_EQ(added, isNew) << "player " << player << " at draw " << i;
            ASSERT_EQ(row, it->second) << "player " << player << " at draw " << i;
        }
        EXPECT_EQ(rows.size(), reference.size());
    }
}

} // namespace
} // namespace qla
