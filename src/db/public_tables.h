// The per-log tables other tools read with plain SQL: each player's kills and deaths by weapon or
// cause, and each killer's kills and teamkills of each victim. Players are their places in the
// log (1 for the first to appear), as log_players.first_seen holds them.
#pragma once

#include "db/log_catalog.h"
#include "db/log_digest.h"
#include "db/stats_database.h"

#include <string>

namespace qla::db {

// Adds what `piece` found to the log's rows of log_player_weapons and log_encounters. `before`
// tells whether the log had players before this import: the piece's first records are then its
// players in the digest's order, its later records the log's new players.
bool WritePublicTables(StatsDatabase& database, LogId id, const RowsBefore& before,
                       const AnalysisStore& piece, std::string& error);

} // namespace qla::db
