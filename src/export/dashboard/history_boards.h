// Boards summed from the players' log by log figures: who killed most in the logs of one server,
// so that a community of several servers sees each one's regulars, and in the latest week and
// month, so that the overview tells who is strong now and not only over the whole history.
#pragma once

#include "export/dashboard/dashboard_model.h"
#include "stats/award_periods.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace qla {

// One board per server the histories name, in the servers' name order, each of at most `size`
// players with kills there (more kills first, then the player who appeared first). Empty unless
// the logs come from two servers or more: one server's board is the overview's own.
std::vector<KillBoard> ServerBoardsOf(const std::vector<const PlayerHistory*>& histories,
                                      std::size_t size);

// The board of the week or month (`kind`) of the newest dated log, named by its period key
// ("2026-W50", "2026-12"), ranked as above. None when no log has a date, or when every log lies
// in that period (the board would be the overview's own).
std::optional<KillBoard> LatestPeriodBoard(const std::vector<const PlayerHistory*>& histories,
                                           AwardPeriodKind kind, std::size_t size);

} // namespace qla
