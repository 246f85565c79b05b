// Two players' kills on each other, in stretches of the history, and every player's top
// opponents with the tie rule the site states.
#include "stats/detail_tables.h"
#include "stats/top_opponents.h"
#include "stats/versus.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace qla {
namespace {

using test::AddKill;

TEST(Versus, CountsBothWaysLeavesTeamkillsOutAndSplitsIntoStretches) {
    AnalysisStore store;
    AddKill(store, "Al", "Bob", "MP40");     // entry 1
    AddKill(store, "Bob", "Al", "Thompson"); // 2
    AddKill(store, "Al", "Cid", "MP40");     // 3: another pair
    AddKill(store, "Al", "Bob", "Teamkill"); // 4: not counted
    AddKill(store, "Al", "Bob", "Sten");     // 5
    const PlayerIndex al = *store.FindPlayer("Al"), bob = *store.FindPlayer("Bob");
    const std::vector<std::size_t> ends{3, 6}; // entries 1-2, then 3-5
    const VersusTally tally = CountVersus(store, al, bob, ends);
    EXPECT_EQ(tally.Total.Kills, 2);
    EXPECT_EQ(tally.Total.Deaths, 1);
    ASSERT_EQ(tally.Stretches.size(), 2u);
    EXPECT_EQ(tally.Stretches[0].Kills, 1);
    EXPECT_EQ(tally.Stretches[0].Deaths, 1);
    EXPECT_EQ(tally.Stretches[1].Kills, 1);
    EXPECT_EQ(tally.Stretches[1].Deaths, 0);
    // The other side sees the same kills turned round.
    const VersusTally turned = CountVersus(store, bob, al);
    EXPECT_EQ(turned.Total.Kills, 1);
    EXPECT_EQ(turned.Total.Deaths, 2);

    ASSERT_TRUE(StoreKeepsWeapons(store));
    const std::vector<WeaponVersus> weapons = CountWeaponsVersus(WeaponKillsOf(store), al, bob);
    ASSERT_EQ(weapons.size(), 3u); // one kill each: ties ordered by the weapon's text
    EXPECT_EQ(kEventWeaponTexts[weapons[0].WeaponText], "MP40");
    EXPECT_EQ(kEventWeaponTexts[weapons[1].WeaponText], "Sten");
    EXPECT_EQ(kEventWeaponTexts[weapons[2].WeaponText], "Thompson");
    EXPECT_EQ(weapons[2].Counts.Deaths, 1);
}

TEST(Versus, AStoreOfCountedEntriesCountsEachEntrysKillsButKeepsNoWeapons) {
    AnalysisStore store;
    AddKill(store, "Al", "Bob", "MP40");
    const PlayerIndex al = *store.FindPlayer("Al"), bob = *store.FindPlayer("Bob");
    store.RecordKillEvents(bob, al, store.KillEvents[1].WeaponText, 7);
    EXPECT_FALSE(StoreKeepsWeapons(store));
    const VersusTally tally = CountVersus(store, al, bob);
    EXPECT_EQ(tally.Total.Kills, 1);
    EXPECT_EQ(tally.Total.Deaths, 7);
}

TEST(Versus, TheChanceNeedsBothRatedAndIsTheNextEncounterChance) {
    AnalysisStore store;
    for (int k = 0; k < 6; ++k)
        AddKill(store, "Al", "Bob", "MP40");
    AddKill(store, "Bob", "Al", "MP40");
    store.FindOrAddPlayer("Lurker"); // never in a kill
    const PlayerIndex al = *store.FindPlayer("Al"), bob = *store.FindPlayer("Bob");
    const std::vector<SkillRating> fit = FitSkill(EncountersOf(store));
    const VersusChance chance = ChanceOf(fit, al, bob);
    ASSERT_TRUE(chance.PlayerWins);
    EXPECT_GT(*chance.PlayerWins, 0.5);
    EXPECT_DOUBLE_EQ(*chance.PlayerWins, NextEncounterChance(fit[al - 1], fit[bob - 1]));
    const VersusChance unrated = ChanceOf(fit, al, *store.FindPlayer("Lurker"));
    EXPECT_TRUE(unrated.Player);
    EXPECT_FALSE(unrated.Other);
    EXPECT_FALSE(unrated.PlayerWins);
}

TEST(TopOpponents, MostMetFirstTiesInOrderOfAppearanceAtMostTheLimit) {
    AnalysisStore store;
    store.FindOrAddPlayer("Hub");
    // Cid, Bob and Dan appear in that order; Bob and Dan meet Hub twice, Cid once, Eve three
    // times.
    AddKill(store, "Cid", "Hub", "MP40");
    AddKill(store, "Hub", "Bob", "MP40");
    AddKill(store, "Dan", "Hub", "Sten");
    AddKill(store, "Bob", "Hub", "Sten");
    AddKill(store, "Hub", "Dan", "MP40");
    for (int k = 0; k < 3; ++k)
        AddKill(store, "Eve", "Hub", "Knife");
    AddKill(store, "Hub", "Bob", "Teamkill"); // left out
    const auto top = TopOpponents(store, KillEventIndex(store), 3);
    const auto name = [&](const TopOpponent& o) { return store.Players[o.Opponent].Name; };
    const auto& hub = top[static_cast<std::size_t>(*store.FindPlayer("Hub"))];
    ASSERT_EQ(hub.size(), 3u);
    EXPECT_EQ(name(hub[0]), "Eve");
    EXPECT_EQ(name(hub[1]), "Bob"); // Bob (index 3) appeared before Dan (index 4)
    EXPECT_EQ(name(hub[2]), "Dan");
    EXPECT_EQ(hub[1].Counts.Kills, 1);
    EXPECT_EQ(hub[1].Counts.Deaths, 1);
    ASSERT_EQ(hub[1].Weapons.size(), 2u);
    // Eve's list has Hub alone, from her side.
    const auto& eve = top[static_cast<std::size_t>(*store.FindPlayer("Eve"))];
    ASSERT_EQ(eve.size(), 1u);
    EXPECT_EQ(eve[0].Counts.Kills, 3);
    EXPECT_EQ(eve[0].Counts.Deaths, 0);
    EXPECT_EQ(kEventWeaponTexts[eve[0].Weapons[0].WeaponText], "Knife");
}

TEST(TopOpponents, AListCutWhileItFillsKeepsTheSameFirstOpponentsAndTheirWeapons) {
    // Hub meets sixty opponents, far more than a list keeps while it fills: P<k> kills him
    // (k % 7) + 1 times with an MP40, and he kills every fifth once with a Sten.
    AnalysisStore store;
    store.FindOrAddPlayer("Hub");
    std::vector<std::pair<std::int64_t, int>> met; // kills either way, k
    for (int k = 0; k < 60; ++k) {
        const std::string other = "P" + std::to_string(k);
        for (int kill = 0; kill <= k % 7; ++kill)
            AddKill(store, other, "Hub", "MP40");
        if (k % 5 == 0)
            AddKill(store, "Hub", other, "Sten");
        met.emplace_back(k % 7 + 1 + (k % 5 == 0 ? 1 : 0), k);
    }
    std::sort(met.begin(), met.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    const auto top = TopOpponents(store, KillEventIndex(store), 3);
    const auto& hub = top[static_cast<std::size_t>(*store.FindPlayer("Hub"))];
    ASSERT_EQ(hub.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(store.Players[hub[i].Opponent].Name, "P" + std::to_string(met[i].second));
        EXPECT_EQ(hub[i].Counts.EitherWay(), met[i].first);
    }
    // P20 (7 kills of Hub, killed once; P55 too, but later) is first: both weapons, from Hub's
    // side.
    ASSERT_EQ(hub[0].Weapons.size(), 2u);
    EXPECT_EQ(kEventWeaponTexts[hub[0].Weapons[0].WeaponText], "MP40");
    EXPECT_EQ(hub[0].Weapons[0].Counts.Deaths, 7);
    EXPECT_EQ(hub[0].Weapons[1].Counts.Kills, 1);
    // A pair no list of Hub's keeps is still in the other's list, with its weapons.
    const auto& p1 = top[static_cast<std::size_t>(*store.FindPlayer("P1"))];
    ASSERT_EQ(p1.size(), 1u);
    EXPECT_EQ(p1[0].Counts.Kills, 2);
    ASSERT_EQ(p1[0].Weapons.size(), 1u);
    EXPECT_EQ(p1[0].Weapons[0].Counts.Kills, 2);
}

} // namespace
} // namespace qla
