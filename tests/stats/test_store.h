// Small helpers that fill an analysis store directly, the way the kill parsers file events.
#pragma once

#include "core/store.h"
#include "core/weapons.h"
#include "stats/sort_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace qla::test {

// Files a kill with a weapon name as the logs spell it ("MP40", "unknown"), or a teamkill with
// "Teamkill", and raises the counters the parsers would raise.
inline void AddKill(AnalysisStore& store, PlayerIndex killer, PlayerIndex victim,
                    std::string_view weapon) {
    store.KillEvents.push_back({killer, victim, weapon});
    if (weapon == "Teamkill") {
        store.Players[killer].Teamkills += 1;
        store.Players[victim].Deaths[kWeaponTeamkill] += 1;
        return;
    }
    const WeaponId id = WeaponIdFromName(weapon);
    store.Players[killer].Kills[0] += 1;
    store.Players[killer].Kills[id] += 1;
    store.Players[victim].Deaths[0] += 1;
    store.Players[victim].Deaths[id] += 1;
}

inline void AddKill(AnalysisStore& store, std::string_view killer, std::string_view victim,
                    std::string_view weapon) {
    const PlayerIndex k = store.FindOrAddPlayer(killer);
    const PlayerIndex v = store.FindOrAddPlayer(victim);
    AddKill(store, k, v, weapon);
}

// Cell `cell` of rows 1..n in the reading direction.
inline std::vector<std::string> Column(const SortTable& table, int cell, bool ascending = true) {
    std::vector<std::string> texts;
    ReadRows(table, ascending,
             [&](const SortRow& row, std::size_t) { texts.push_back(row.Cells[cell].Text); });
    return texts;
}

using Texts = std::vector<std::string>;

} // namespace qla::test
