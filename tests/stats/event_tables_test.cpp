// The kills, deaths, teamkills and teamdeaths tables, the event index behind them, and their
// agreement with a per-event linear search over rows on a random store.
#include "stats/detail_tables.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <random>

namespace qla {
namespace {

using test::AddKill;
using test::Column;
using test::Texts;

// Events 1-9; players in order of appearance: Ann, Bo, Cy, ann, ^1Bo.
AnalysisStore Skirmish() {
    AnalysisStore store;
    AddKill(store, "Ann", "Bo", "MP40");      // 1
    AddKill(store, "Ann", "Cy", "unknown");   // 2
    AddKill(store, "Bo", "Ann", "Knife");     // 3
    AddKill(store, "Ann", "Bo", "Teamkill");  // 4
    AddKill(store, "Ann", "ann", "Sten");     // 5
    AddKill(store, "Ann", "^1Bo", "Grenade"); // 6
    AddKill(store, "Ann", "Cy", "MP40");      // 7
    AddKill(store, "Cy", "Ann", "Teamkill");  // 8
    AddKill(store, "Ann", "Cy", "Venom");     // 9
    return store;
}

PlayerIndex Find(const AnalysisStore& store, std::string_view name) {
    const auto index = store.FindPlayer(name);
    EXPECT_TRUE(index) << name;
    return index.value_or(0);
}

TEST(KillEventIndexTest, ListsEachPlayersEventsInOrder) {
    const AnalysisStore store = Skirmish();
    const KillEventIndex index(store);
    const auto list = [](std::span<const std::int32_t> s) {
        return std::vector<std::int32_t>(s.begin(), s.end());
    };
    using Positions = std::vector<std::int32_t>;
    EXPECT_EQ(list(index.AsKiller(Find(store, "Ann"))), (Positions{1, 2, 4, 5, 6, 7, 9}));
    EXPECT_EQ(list(index.AsVictim(Find(store, "Ann"))), (Positions{3, 8}));
    EXPECT_EQ(list(index.AsVictim(Find(store, "Cy"))), (Positions{2, 7, 9}));
    EXPECT_EQ(list(index.AsKiller(Find(store, "ann"))), Positions{});
    EXPECT_TRUE(index.AsKiller(0).empty()); // the placeholder record
    EXPECT_TRUE(index.AsVictim(store.PlayerCount() + 1).empty());
    EXPECT_TRUE(index.AsKiller(-1).empty());
}

struct TableCase {
    const char* title;
    SortTable (*build)(const AnalysisStore&, const KillEventIndex&, PlayerIndex, PlayerDetailOrder);
    const char* player;
    int detailOrderKey;
    Texts items;  // cell 1, read ascending
    Texts counts; // cell 2, read ascending
    Texts keys;   // cell 0, read ascending
};

class EventTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(EventTableTest, CountsOpponentsInKeyOrder) {
    const TableCase& c = GetParam();
    const AnalysisStore store = Skirmish();
    const KillEventIndex index(store);
    const SortTable table = c.build(store, index, Find(store, c.player),
                                    static_cast<PlayerDetailOrder>(c.detailOrderKey));
    EXPECT_EQ(Column(table, 1), c.items);
    EXPECT_EQ(Column(table, 2), c.counts);
    EXPECT_EQ(Column(table, 0), c.keys);
    for (std::size_t r = 1; r < table.size(); ++r) {
        EXPECT_FALSE(table[r].Cells[1].IsNumber);
        EXPECT_TRUE(table[r].Cells[2].IsNumber);
        EXPECT_EQ(table[r].Cells[0].IsNumber, c.detailOrderKey == 1 || c.detailOrderKey == 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, EventTableTest,
    ::testing::Values(
        // "unknown" counts like any weapon; "ann" and "^1Bo" are opponents of their own.
        TableCase{"KillsByName",
                  BuildKillsTable,
                  "Ann",
                  0,
                  {"Bo", "^1Bo", "Cy", "ann"},
                  {"1", "1", "3", "1"},
                  {"Bo", "^1Bo", "Cy", "ann"}},
        TableCase{"KillsByNumber",
                  BuildKillsTable,
                  "Ann",
                  1,
                  {"Bo", "ann", "^1Bo", "Cy"},
                  {"1", "1", "1", "3"},
                  {"1", "1", "1", "3"}},
        // Cy was first met in event 2, ann in 5, ^1Bo in 6, whatever the counts.
        TableCase{"KillsByAppearance",
                  BuildKillsTable,
                  "Ann",
                  2,
                  {"Bo", "Cy", "ann", "^1Bo"},
                  {"1", "3", "1", "1"},
                  {"1", "2", "5", "6"}},
        TableCase{"KillsWithUnknownKey",
                  BuildKillsTable,
                  "Ann",
                  7,
                  {"Bo", "Cy", "ann", "^1Bo"},
                  {"1", "3", "1", "1"},
                  {"", "", "", ""}},
        TableCase{"DeathsByAppearance", BuildDeathsTable, "Cy", 2, {"Ann"}, {"3"}, {"2"}},
        TableCase{"DeathsLeaveOutTeamkills", BuildDeathsTable, "Ann", 0, {"Bo"}, {"1"}, {"Bo"}},
        TableCase{"Teamkills", BuildTeamkillsTable, "Ann", 2, {"Bo"}, {"1"}, {"4"}},
        TableCase{"Teamdeaths", BuildTeamdeathsTable, "Ann", 1, {"Cy"}, {"1"}, {"1"}},
        TableCase{"NobodyKilled", BuildKillsTable, "ann", 0, {}, {}, {}},
        TableCase{"NoTeamdeaths", BuildTeamdeathsTable, "Cy", 2, {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(EventTablesTest, UnknownPlayerGivesOnlyRowZero) {
    const AnalysisStore store = Skirmish();
    const KillEventIndex index(store);
    for (PlayerIndex player : {0, -4, 99}) {
        EXPECT_EQ(BuildKillsTable(store, index, player, PlayerDetailOrder::ItemNames).size(), 1u);
        EXPECT_EQ(BuildDeathsTable(store, index, player, PlayerDetailOrder::Numbers).size(), 1u);
        EXPECT_EQ(BuildTeamkillsTable(store, index, player, PlayerDetailOrder::Appearance).size(),
                  1u);
        EXPECT_EQ(BuildTeamdeathsTable(store, index, player, PlayerDetailOrder::ItemNames).size(),
                  1u);
    }
}

// The per-event procedure written out: scan all events, search rows 1.. for the opponent's name.
SortTable LinearEventTable(const AnalysisStore& store, PlayerIndex player, bool asKiller,
                           bool teamkills, int key) {
    SortTable table(1);
    const std::string& name = store.Players[player].Name;
    for (std::size_t i = 1; i < store.KillEvents.size(); ++i) {
        const KillEvent& e = store.KillEvents[i];
        const std::string& self = store.Players[asKiller ? e.Killer : e.Victim].Name;
        if (self != name || (e.Weapon() == "Teamkill") != teamkills)
            continue;
        const std::string& item = store.Players[asKiller ? e.Victim : e.Killer].Name;
        std::size_t row = 1;
        while (row < table.size() && table[row].Cells[1].Text != item)
            ++row;
        if (row < table.size()) {
            const auto count = std::stoll(table[row].Cells[2].Text) + 1;
            table[row].Cells[2] = NumberCell(count);
            if (key == 1)
                table[row].Cells[0] = NumberCell(count);
            continue;
        }
        SortRow added;
        added.Cells[1] = TextCell(item);
        added.Cells[2] = NumberCell(1);
        if (key == 0)
            added.Cells[0] = TextCell(item);
        if (key == 1)
            added.Cells[0] = NumberCell(1);
        if (key == 2)
            added.Cells[0] = NumberCell(static_cast<std::int64_t>(i));
        table.push_back(added);
    }
    SortRows(table);
    return table;
}

TEST(EventTablesTest, AgreeWithTheLinearProcedureOnARandomStore) {
    std::mt19937 random(77);
    AnalysisStore store;
    const std::vector<std::string> names = {"a", "A", "^1a", "b", "^2b", "c", "dd", "d"};
    for (int e = 0; e < 600; ++e) {
        const auto killer = names[random() % names.size()];
        const auto victim = names[random() % names.size()];
        AddKill(store, killer, victim, random() % 5 == 0 ? "Teamkill" : "MP40");
    }
    const KillEventIndex index(store);
    for (PlayerIndex p = 1; p <= store.PlayerCount(); ++p) {
        for (int key = 0; key <= 3; ++key) {
            const auto order = static_cast<PlayerDetailOrder>(key);
            const auto same = [](const SortTable& a, const SortTable& b) {
                return Column(a, 0) == Column(b, 0) && Column(a, 1) == Column(b, 1) &&
                       Column(a, 2) == Column(b, 2);
            };
            EXPECT_TRUE(same(BuildKillsTable(store, index, p, order),
                             LinearEventTable(store, p, true, false, key)));
            EXPECT_TRUE(same(BuildDeathsTable(store, index, p, order),
                             LinearEventTable(store, p, false, false, key)));
            EXPECT_TRUE(same(BuildTeamkillsTable(store, index, p, order),
                             LinearEventTable(store, p, true, true, key)));
            EXPECT_TRUE(same(BuildTeamdeathsTable(store, index, p, order),
                             LinearEventTable(store, p, false, true, key)));
        }
    }
}

} // namespace
} // namespace qla
