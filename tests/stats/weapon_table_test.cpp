// The weapon table: 15 rows always, totals, shares, best players with ties, and its keys.
#include "stats/detail_tables.h"
#include "test_store.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

using test::AddKill;
using test::Column;
using test::Texts;

const Texts kWeaponNames = {"Knife",    ".45ACP 1911",  "Luger 9mm",        "MP40",
                            "Thompson", "Sten",         "Grenade",          "Sniper Rifle",
                            "Venom",    "Flamethrower", "Crew-served MG42", "Panzerfaust",
                            "Dynamite", "Airstrike",    "Unknown"};

// Ann and Cy tie on MP40 kills (Ann came first); Bo is the only knife victim; one kill of
// "unknown"; a teamkill, which is no weapon kill.
AnalysisStore Match() {
    AnalysisStore store;
    AddKill(store, "Ann", "Bo", "MP40");
    AddKill(store, "Bo", "Cy", "Knife");
    AddKill(store, "Cy", "Bo", "MP40");
    AddKill(store, "Ann", "Bo", "Knife");
    AddKill(store, "Cy", "Ann", "unknown");
    AddKill(store, "Cy", "Ann", "Teamkill");
    return store;
}

TEST(WeaponTableTest, HasFifteenRowsWithTotalsSharesAndBestPlayers) {
    const SortTable table = BuildWeaponTable(Match(), WeaponOrder::StandardOrder);
    ASSERT_EQ(table.size(), 16u);
    EXPECT_EQ(Column(table, 0), (Texts{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
                                       "12", "13", "14", "15"}));
    EXPECT_EQ(Column(table, 1), kWeaponNames);
    // Knife: 2 of the 5 weapon kills, 40 %.
    const auto& knife = table[1].Cells;
    EXPECT_EQ(knife[2].Text, "2");
    EXPECT_EQ(knife[3].Text, "40");
    EXPECT_EQ(knife[4].Text, "Ann"); // Ann and Bo have one knife kill each: lower index
    EXPECT_EQ(knife[5].Text, "Bo");  // Bo (index 2) and Cy (3) one knife death each
    EXPECT_EQ(knife[6].Text, "1");
    EXPECT_EQ(knife[7].Text, "1");
    const auto& mp40 = table[4].Cells;
    EXPECT_EQ(mp40[2].Text, "2");
    EXPECT_EQ(mp40[3].Text, "40");
    EXPECT_EQ(mp40[4].Text, "Ann");
    EXPECT_EQ(mp40[5].Text, "Bo");
    EXPECT_EQ(mp40[7].Text, "2");
    const auto& unknown = table[15].Cells;
    EXPECT_EQ(unknown[2].Text, "1");
    EXPECT_EQ(unknown[3].Text, "20");
    EXPECT_EQ(unknown[4].Text, "Cy");
    EXPECT_EQ(unknown[5].Text, "Ann");
    // Every other weapon: nobody.
    const auto& venom = table[9].Cells;
    EXPECT_EQ(venom[2].Text, "0");
    EXPECT_EQ(venom[3].Text, "0");
    EXPECT_EQ(venom[4].Text, "^1N/A");
    EXPECT_EQ(venom[5].Text, "^1N/A");
    EXPECT_EQ(venom[6].Text, "0");
    EXPECT_EQ(venom[7].Text, "0");
    for (const SortRow& row : std::span(table).subspan(1)) {
        const bool kinds[8] = {true, false, true, true, false, false, true, true};
        for (int c = 0; c < 8; ++c)
            EXPECT_EQ(row.Cells[c].IsNumber, kinds[c]) << row.Cells[1].Text << " " << c;
    }
}

struct WeaponKeyCase {
    int weaponOrderKey;
    Texts firstNames; // the first four weapons read ascending
};

class WeaponOrderKeyTest : public ::testing::TestWithParam<WeaponKeyCase> {};

TEST_P(WeaponOrderKeyTest, OrdersByTheChosenKey) {
    const WeaponKeyCase& c = GetParam();
    const SortTable table = BuildWeaponTable(Match(), static_cast<WeaponOrder>(c.weaponOrderKey));
    const Texts names = Column(table, 1);
    ASSERT_EQ(names.size(), 15u);
    EXPECT_EQ(Texts(names.begin(), names.begin() + 4), c.firstNames);
    if (c.weaponOrderKey >= 0 && c.weaponOrderKey <= 4) {
        for (std::size_t r = 1; r < table.size(); ++r)
            EXPECT_EQ(table[r].Cells[0].Text, table[r].Cells[c.weaponOrderKey + 1].Text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WeaponOrderKeyTest,
    ::testing::Values(
        WeaponKeyCase{0, {".45ACP 1911", "Airstrike", "Crew-served MG42", "Dynamite"}},
        // Twelve weapons with 0 kills in code order, then Unknown (1), Knife and MP40 (2).
        WeaponKeyCase{1, {".45ACP 1911", "Luger 9mm", "Thompson", "Sten"}},
        WeaponKeyCase{2, {".45ACP 1911", "Luger 9mm", "Thompson", "Sten"}},
        // "^1N/A" strips to "N/A": after "Ann" and "Cy".
        WeaponKeyCase{3, {"Knife", "MP40", "Unknown", ".45ACP 1911"}},
        WeaponKeyCase{4, {"Unknown", "Knife", "MP40", ".45ACP 1911"}},
        WeaponKeyCase{5, {"Knife", ".45ACP 1911", "Luger 9mm", "MP40"}},
        WeaponKeyCase{8, {"Knife", ".45ACP 1911", "Luger 9mm", "MP40"}}));

TEST(WeaponTableTest, TopCountsAreReadAcrossKeys) {
    const SortTable byKills = BuildWeaponTable(Match(), WeaponOrder::Kills);
    const Texts names = Column(byKills, 1, false);
    EXPECT_EQ(Texts(names.begin(), names.begin() + 3), (Texts{"MP40", "Knife", "Unknown"}));
}

TEST(WeaponTableTest, StoreWithoutKillsGivesFifteenRowsOfNobody) {
    AnalysisStore store;
    const PlayerIndex ann = store.FindOrAddPlayer("Ann");
    store.RecordSuicide(ann, kFirstSuicideCause); // suicides are no weapon kills
    store.RecordSuicide(ann, kFirstSuicideCause);
    for (int key = 0; key <= 5; ++key) {
        const SortTable table = BuildWeaponTable(store, static_cast<WeaponOrder>(key));
        ASSERT_EQ(table.size(), 16u);
        EXPECT_EQ(Column(table, 2), Texts(15, "0"));
        EXPECT_EQ(Column(table, 3), Texts(15, "0"));
        EXPECT_EQ(Column(table, 4), Texts(15, "^1N/A"));
        EXPECT_EQ(Column(table, 5), Texts(15, "^1N/A"));
        EXPECT_EQ(Column(table, 6), Texts(15, "0"));
        EXPECT_EQ(Column(table, 7), Texts(15, "0"));
    }
    EXPECT_EQ(Column(BuildWeaponTable(AnalysisStore{}, WeaponOrder::StandardOrder), 1),
              kWeaponNames);
}

TEST(WeaponTableTest, SharesRoundHalvesToEvenInWholeNumbers) {
    AnalysisStore store;
    const PlayerIndex a = store.FindOrAddPlayer("a");
    const PlayerIndex b = store.FindOrAddPlayer("b");
    // 40 kills: 1 Knife (2.5 % -> 2), 3 Luger (7.5 % -> 8), 36 MP40 (90 %).
    AddKill(store, a, b, "Knife");
    for (int k = 0; k < 3; ++k)
        AddKill(store, a, b, "Luger 9mm");
    for (int k = 0; k < 36; ++k)
        AddKill(store, b, a, "MP40");
    const SortTable table = BuildWeaponTable(store, WeaponOrder::StandardOrder);
    EXPECT_EQ(table[1].Cells[3].Text, "2");
    EXPECT_EQ(table[3].Cells[3].Text, "8");
    EXPECT_EQ(table[4].Cells[3].Text, "90");
}

TEST(WeaponTableTest, FortyThousandKillsNeedNoSixteenBitTotal) {
    AnalysisStore store;
    const PlayerIndex a = store.FindOrAddPlayer("a");
    const PlayerIndex b = store.FindOrAddPlayer("b");
    const PlayerIndex c = store.FindOrAddPlayer("c");
    for (int k = 0; k < 40000; ++k) {
        if (k < 30000)
            AddKill(store, a, k % 2 == 0 ? b : c, "Thompson");
        else if (k < 39999)
            AddKill(store, b, a, "Sten");
        else
            AddKill(store, c, a, "Sten");
    }
    const SortTable table = BuildWeaponTable(store, WeaponOrder::Kills);
    const auto& top = table[15].Cells; // most kills: Thompson
    EXPECT_EQ(top[1].Text, "Thompson");
    EXPECT_EQ(top[2].Text, "30000");
    EXPECT_EQ(top[3].Text, "75");
    EXPECT_EQ(top[4].Text, "a");
    EXPECT_EQ(top[5].Text, "b"); // b and c 15000 deaths each: b first
    EXPECT_EQ(top[6].Text, "30000");
    EXPECT_EQ(top[7].Text, "15000");
    const auto& sten = table[14].Cells;
    EXPECT_EQ(sten[2].Text, "10000");
    EXPECT_EQ(sten[3].Text, "25");
    EXPECT_EQ(sten[4].Text, "b");
    EXPECT_EQ(sten[6].Text, "9999");
    EXPECT_EQ(sten[5].Text, "a");
    EXPECT_EQ(sten[7].Text, "10000");
}

} // namespace
} // namespace qla
