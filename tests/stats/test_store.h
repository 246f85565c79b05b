// Small helpers that fill an analysis store through its Record operations, as the parsers do.
#pragma once

#include "core/store.h"
#include "stats/sort_table.h"
#include "support/record_kill.h"

#include <string>
#include <string_view>
#include <vector>

namespace qla::test {

// Files a kill with a weapon name as the logs spell it ("MP40", "unknown"), or a teamkill with
// "Teamkill".
inline void AddKill(AnalysisStore& store, PlayerIndex killer, PlayerIndex victim,
                    std::string_view weapon) {
    RecordKillByName(store, killer, victim, weapon);
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
