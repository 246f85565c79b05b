// The standard player table: its cells, each order key, ties and appearance order.
#include "stats/sort_table.h"
#include "test_store.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

using test::Column;
using test::Texts;

// Players in order of appearance: ^1Zed, alpha, Adam, bob. Their counters are set by hand: 429
// kills against 12 deaths among four players is no store an analysis can build, but the rows
// read each counter on its own.
AnalysisStore FourPlayers() {
    AnalysisStore store;
    const auto add = [&](std::string_view name, std::int64_t kills, std::int64_t deaths,
                         std::int64_t teamkills) {
        PlayerRecord& p = store.Players[store.FindOrAddPlayer(name)];
        p.Kills[0] = kills;
        p.Deaths[0] = deaths;
        p.Teamkills = teamkills;
    };
    add("^1Zed", 10, 4, 1);
    add("alpha", 9, 0, 0);
    add("Adam", 10, 8, 2);
    add("bob", 400, 0, 0);
    return store;
}

TEST(StandardOrderTest, RowsHoldNameCountsRatioAndTeamkills) {
    const SortTable table = BuildStandardOrder(FourPlayers(), StandardOrder::Appearance);
    ASSERT_EQ(table.size(), 5u);
    const auto& cells = table[1].Cells;
    EXPECT_EQ(cells[1].Text, "^1Zed");
    EXPECT_FALSE(cells[1].IsNumber);
    for (int c = 2; c <= 5; ++c)
        EXPECT_TRUE(cells[c].IsNumber) << c;
    EXPECT_EQ(Column(table, 2), (Texts{"10", "9", "10", "400"}));
    EXPECT_EQ(Column(table, 3), (Texts{"4", "0", "8", "0"}));
    EXPECT_EQ(Column(table, 4), (Texts{"250", "900", "125", "40000"})); // 10/8 = 1.25
    EXPECT_EQ(Column(table, 5), (Texts{"1", "0", "2", "0"}));
    EXPECT_EQ(Column(table, 6), (Texts{"", "", "", ""}));
    EXPECT_EQ(Column(table, 7), (Texts{"", "", "", ""}));
}

struct OrderCase {
    int orderKey;
    bool keyIsNumber;
    Texts ascendingNames;
};

class StandardOrderKeyTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(StandardOrderKeyTest, OrdersByTheChosenKey) {
    const OrderCase& c = GetParam();
    const SortTable table =
        BuildStandardOrder(FourPlayers(), static_cast<StandardOrder>(c.orderKey));
    EXPECT_EQ(Column(table, 1), c.ascendingNames);
    const Texts reversed(c.ascendingNames.rbegin(), c.ascendingNames.rend());
    EXPECT_EQ(Column(table, 1, false), reversed);
    for (std::size_t r = 1; r < table.size(); ++r)
        EXPECT_EQ(table[r].Cells[0].IsNumber, c.keyIsNumber) << r;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StandardOrderKeyTest,
    ::testing::Values(
        OrderCase{0, false, {"Adam", "^1Zed", "alpha", "bob"}},
        // 9 before 10 as numbers; the two players with 10 kills in order of appearance.
        OrderCase{1, true, {"alpha", "^1Zed", "Adam", "bob"}},
        OrderCase{2, true, {"alpha", "bob", "^1Zed", "Adam"}},
        OrderCase{3, true, {"Adam", "^1Zed", "alpha", "bob"}},
        OrderCase{4, true, {"alpha", "bob", "^1Zed", "Adam"}},
        OrderCase{5, true, {"^1Zed", "alpha", "Adam", "bob"}},
        // Unknown keys leave every key empty: appearance order.
        OrderCase{6, false, {"^1Zed", "alpha", "Adam", "bob"}},
        OrderCase{-1, false, {"^1Zed", "alpha", "Adam", "bob"}}));

TEST(StandardOrderTest, KeyCellCopiesTheChosenDisplayCell) {
    const AnalysisStore store = FourPlayers();
    for (int key = 0; key <= 4; ++key) {
        const SortTable table = BuildStandardOrder(store, static_cast<StandardOrder>(key));
        for (std::size_t r = 1; r < table.size(); ++r)
            EXPECT_EQ(table[r].Cells[0].Text, table[r].Cells[key + 1].Text) << key << " " << r;
    }
    const SortTable byAppearance = BuildStandardOrder(store, StandardOrder::Appearance);
    EXPECT_EQ(Column(byAppearance, 0), (Texts{"1", "2", "3", "4"}));
    const SortTable noKey = BuildStandardOrder(store, static_cast<StandardOrder>(9));
    EXPECT_EQ(Column(noKey, 0), (Texts{"", "", "", ""}));
}

TEST(StandardOrderTest, TiesReadBothWays) {
    AnalysisStore store;
    // Each kills the next three times: four players with 3 kills and 3 deaths each.
    const PlayerIndex c = store.FindOrAddPlayer("c"), a = store.FindOrAddPlayer("a"),
                      d = store.FindOrAddPlayer("d"), b = store.FindOrAddPlayer("b");
    for (int i = 0; i < 3; ++i) {
        store.RecordKill(c, a, 4, "MP40");
        store.RecordKill(a, d, 4, "MP40");
        store.RecordKill(d, b, 4, "MP40");
        store.RecordKill(b, c, 4, "MP40");
    }
    const SortTable table = BuildStandardOrder(store, StandardOrder::Kills);
    EXPECT_EQ(Column(table, 1), (Texts{"c", "a", "d", "b"}));
    EXPECT_EQ(Column(table, 1, false), (Texts{"b", "d", "a", "c"}));
}

TEST(StandardOrderTest, NoPlayersGiveOnlyRowZero) {
    const AnalysisStore store;
    for (int key = 0; key <= 6; ++key) {
        const SortTable table = BuildStandardOrder(store, static_cast<StandardOrder>(key));
        ASSERT_EQ(table.size(), 1u);
        int visited = 0;
        ReadRows(table, true, [&](const SortRow&, std::size_t) { ++visited; });
        EXPECT_EQ(visited, 0);
    }
}

TEST(StandardOrderTest, ReadRowsPassesTheRowIndex) {
    const SortTable table = BuildStandardOrder(FourPlayers(), StandardOrder::Appearance);
    std::vector<std::size_t> down;
    ReadRows(table, false, [&](const SortRow& row, std::size_t index) {
        EXPECT_EQ(&row, &table[index]);
        down.push_back(index);
    });
    EXPECT_EQ(down, (std::vector<std::size_t>{4, 3, 2, 1}));
}

} // namespace
} // namespace qla
