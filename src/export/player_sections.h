// The six tables of a player's details, by section number, for the text and HTML writers.
#pragma once

#include "stats/detail_tables.h"

#include <cstddef>

namespace qla {

// Section 0 kills, 1 deaths, 2 self kills, 3 teamkills, 4 teamdeaths, 5 used weapons.
SortTable BuildPlayerSection(const AnalysisStore& store, const KillEventIndex& events,
                             std::size_t section, PlayerIndex player, PlayerDetailOrder order);

} // namespace qla
