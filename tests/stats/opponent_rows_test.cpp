// The numeric event-table rows must come out in exactly the order of the text tables that
// SortRows orders, for every section and key, ties and colour-coded names included.
#include "stats/opponent_rows.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace qla {
namespace {

using test::AddKill;
using test::Column;

TEST(OpponentRowsTest, MatchTheBuiltTablesRowForRow) {
    // Few names, so counts tie often; codes and case make stripped names collide and differ.
    const char* const names[] = {"Ann",   "^1Ann", "ann", "Bo",  "^2Bo^7", "^^3x", "Zed",
                                 "^1Zed", "Cy",    "c^y", "Dee", "Eve",    "^4",   "Ümit"};
    const char* const weapons[] = {"MP40", "Knife", "unknown", "Teamkill", "Sten"};
    AnalysisStore store;
    std::uint64_t state = 17;
    const auto draw = [&](std::size_t bound) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>((state >> 33) % bound);
    };
    for (int e = 0; e < 3000; ++e)
        AddKill(store, names[draw(std::size(names))], names[draw(std::size(names))],
                weapons[draw(std::size(weapons))]);

    const KillEventIndex index(store);
    const std::vector<std::string> keys = NameSortKeys(store);
    const std::vector<std::uint32_t> places = NameSortPlaces(keys);
    using Builder =
        SortTable (*)(const AnalysisStore&, const KillEventIndex&, PlayerIndex, PlayerDetailOrder);
    const std::pair<std::size_t, Builder> sections[] = {{0, BuildKillsTable},
                                                        {1, BuildDeathsTable},
                                                        {3, BuildTeamkillsTable},
                                                        {4, BuildTeamdeathsTable}};
    for (PlayerIndex player = 0; player <= store.PlayerCount() + 1; ++player) {
        for (const auto& [section, build] : sections) {
            for (const int key : {-1, 0, 1, 2, 3}) {
                const auto order = static_cast<PlayerDetailOrder>(key);
                std::vector<OpponentRow> rows = CountOpponents(store, index, section, player);
                std::vector<OpponentRow> byPlace = rows;
                OrderOpponents(rows, order, keys);
                OrderOpponentsByPlace(byPlace, order, places);
                ASSERT_EQ(byPlace.size(), rows.size());
                for (std::size_t r = 0; r < rows.size(); ++r)
                    ASSERT_EQ(byPlace[r].Opponent, rows[r].Opponent)
                        << "player " << player << " section " << section << " key " << key;
                std::vector<std::string> rowNames, counts;
                for (const OpponentRow& row : rows) {
                    rowNames.push_back(store.Players[row.Opponent].Name);
                    counts.push_back(std::to_string(row.Count));
                }
                const SortTable table = build(store, index, player, order);
                ASSERT_EQ(rowNames, Column(table, 1))
                    << "player " << player << " section " << section << " key " << key;
                ASSERT_EQ(counts, Column(table, 2))
                    << "player " << player << " section " << section << " key " << key;
            }
        }
    }
}

TEST(OpponentRowsTest, PlacesFollowTheKeysAndShareTies) {
    const std::vector<std::string> keys{"", "b", "a", "", "b", "B", "\xC3\xBC", "a"};
    EXPECT_EQ(NameSortPlaces(keys), (std::vector<std::uint32_t>{0, 3, 2, 0, 3, 1, 4, 2}));
}

} // namespace
} // namespace qla
