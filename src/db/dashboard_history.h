// What a statistics database adds to the statistics site: how many logs it was built from, the
// bytes held back after their last whole lines, and every player's figures log by log.
#pragma once

#include "db/log_catalog.h"
#include "db/stats_database.h"
#include "stats/player_history.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qla::db {

struct DashboardHistory {
    std::int64_t LogCount = 0;
    std::int64_t HeldBackBytes = 0;
    // In order of first appearance; each player's logs in import order, only those he is in.
    std::vector<PlayerHistory> Players;
};

// Reads each selected log alone, as qla would read its file. Nullopt with the reason in `error`.
std::optional<DashboardHistory>
ReadDashboardHistory(StatsDatabase& database, const LogSelection& selection, std::string& error);

} // namespace qla::db
