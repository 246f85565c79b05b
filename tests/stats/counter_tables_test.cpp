// The self kills and used weapons tables read from a player's counters.
#include "stats/detail_tables.h"
#include "test_store.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

using test::Column;
using test::Texts;

// Counters set by hand: Ann's two grenade deaths have no killer among the players, which no
// analysis builds, so that Bo stays without a counter.
AnalysisStore OnePlayer() {
    AnalysisStore store;
    PlayerRecord& p = store.Players[store.FindOrAddPlayer("Ann")];
    p.Kills[0] = 12;
    p.Kills[4] = 5;  // MP40
    p.Kills[1] = 2;  // Knife
    p.Kills[15] = 5; // Unknown
    p.Deaths[0] = 9;
    p.Deaths[22] = 1; // Fell to his death
    p.Deaths[16] = 3; // Killed himself
    p.Deaths[20] = 3; // Died
    p.Deaths[23] = 4; // killed by a teammate: not a self kill
    p.Deaths[7] = 2;  // a grenade death by someone else: not a self kill either
    store.FindOrAddPlayer("Bo");
    return store;
}

struct CounterCase {
    const char* title;
    SortTable (*build)(const AnalysisStore&, PlayerIndex, PlayerDetailOrder);
    int detailOrderKey;
    Texts items;
    Texts counts;
    Texts keys;
};

class CounterTableTest : public ::testing::TestWithParam<CounterCase> {};

TEST_P(CounterTableTest, ListsCountersAboveZero) {
    const CounterCase& c = GetParam();
    const SortTable table =
        c.build(OnePlayer(), 1, static_cast<PlayerDetailOrder>(c.detailOrderKey));
    EXPECT_EQ(Column(table, 1), c.items);
    EXPECT_EQ(Column(table, 2), c.counts);
    EXPECT_EQ(Column(table, 0), c.keys);
    for (std::size_t r = 1; r < table.size(); ++r)
        EXPECT_EQ(table[r].Cells[0].IsNumber, c.detailOrderKey == 1 || c.detailOrderKey == 2);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CounterTableTest,
    ::testing::Values(CounterCase{"UsedWeaponsByName",
                                  BuildUsedWeaponsTable,
                                  0,
                                  {"Knife", "MP40", "Unknown"},
                                  {"2", "5", "5"},
                                  {"Knife", "MP40", "Unknown"}},
                      // Equal counts keep code order: MP40 (4) before Unknown (15).
                      CounterCase{"UsedWeaponsByNumber",
                                  BuildUsedWeaponsTable,
                                  1,
                                  {"Knife", "MP40", "Unknown"},
                                  {"2", "5", "5"},
                                  {"2", "5", "5"}},
                      CounterCase{"UsedWeaponsByCode",
                                  BuildUsedWeaponsTable,
                                  2,
                                  {"Knife", "MP40", "Unknown"},
                                  {"2", "5", "5"},
                                  {"1", "4", "15"}},
                      CounterCase{"SelfKillsByName",
                                  BuildSelfKillsTable,
                                  0,
                                  {"Died", "Fell to his death", "Killed himself"},
                                  {"3", "1", "3"},
                                  {"Died", "Fell to his death", "Killed himself"}},
                      CounterCase{"SelfKillsByNumber",
                                  BuildSelfKillsTable,
                                  1,
                                  {"Fell to his death", "Killed himself", "Died"},
                                  {"1", "3", "3"},
                                  {"1", "3", "3"}},
                      CounterCase{"SelfKillsByCode",
                                  BuildSelfKillsTable,
                                  2,
                                  {"Killed himself", "Died", "Fell to his death"},
                                  {"3", "3", "1"},
                                  {"16", "20", "22"}},
                      CounterCase{"SelfKillsWithUnknownKey",
                                  BuildSelfKillsTable,
                                  3,
                                  {"Killed himself", "Died", "Fell to his death"},
                                  {"3", "3", "1"},
                                  {"", "", ""}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(CounterTablesTest, PlayerWithoutCountersOrUnknownIndexGivesOnlyRowZero) {
    const AnalysisStore store = OnePlayer();
    for (PlayerIndex player : {2, 0, 3, -1}) {
        EXPECT_EQ(BuildUsedWeaponsTable(store, player, PlayerDetailOrder::ItemNames).size(), 1u)
            << player;
        EXPECT_EQ(BuildSelfKillsTable(store, player, PlayerDetailOrder::Appearance).size(), 1u)
            << player;
    }
}

} // namespace
} // namespace qla
