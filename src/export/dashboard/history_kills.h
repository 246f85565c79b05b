// The statistics site's histories given each log's streaks and first blood: worked out from the
// store the site shows (its players merged or not) and the order of each log's kills.
#pragma once

#include "core/store.h"
#include "stats/kill_streaks.h"
#include "stats/player_history.h"

#include <span>
#include <vector>

namespace qla {

// `history` names the store's players (as stored, or merged as the store was) and counts its
// logs in the store's order, the log i ending at killEntriesEnd[i] in KillEvents and at
// order.LogEnds[i] in the order. A log is read whole, as the site reads a log file: its streaks
// run on over a session begun inside it. Nothing changes without an order (none was read).
void AddKillFigures(std::vector<PlayerHistory>& history, const AnalysisStore& store,
                    std::span<const std::size_t> killEntriesEnd, const KillOrder& order);
// The same from each log's figures, worked out as the logs were read.
void AddKillFigures(std::vector<PlayerHistory>& history, const AnalysisStore& store,
                    std::span<const LogKillFigures> logs);

} // namespace qla
