// One kill line and what both languages' kill parsers must store and count for it.
#pragma once

#include "core/store.h"
#include "core/weapons.h"
#include "store_view.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace qla::test {

struct KillCase {
    const char* name;
    std::string line;
    std::string killer;
    std::string victim;
    std::string_view weapon;
    WeaponId id;
};

// Parses the case's line into a fresh store and checks the event and the four counters.
template <class Parse> void ExpectKillStored(const KillCase& c, Parse&& parse) {
    AnalysisStore store;
    parse(store, c.line);
    ASSERT_EQ(store.KillEvents.size(), 2u);
    EXPECT_EQ(KillerName(store, 1), c.killer);
    EXPECT_EQ(VictimName(store, 1), c.victim);
    EXPECT_EQ(store.KillEvents[1].Weapon(), c.weapon);

    const PlayerRecord& killer = store.Players[store.KillEvents[1].Killer];
    const PlayerRecord& victim = store.Players[store.KillEvents[1].Victim];
    if (c.killer != c.victim) {
        EXPECT_EQ(killer.Kills[c.id], 1);
        EXPECT_EQ(killer.Kills[0], 1);
        EXPECT_EQ(CounterSum(killer), 2);
        EXPECT_EQ(victim.Deaths[c.id], 1);
        EXPECT_EQ(victim.Deaths[0], 1);
        EXPECT_EQ(CounterSum(victim), 2);
        // The victim is looked up first.
        EXPECT_LT(store.KillEvents[1].Victim, store.KillEvents[1].Killer);
    } else {
        EXPECT_EQ(CounterSum(killer), 4);
    }
}

} // namespace qla::test
