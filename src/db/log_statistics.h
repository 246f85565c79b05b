// Storing what the analysis of a log's lines found, in the caller's write transaction: its
// players, its chats and other lines as rows, the tables other tools query, and its digest.
// The import, the upgrade and a new reading of stored lines all store through it.
#pragma once

#include "db/log_catalog.h"
#include "db/log_digest.h"
#include "db/stats_database.h"

#include <string>

namespace qla::db {

// `digest` is the log's digest before these lines (empty for a new log) and becomes the one
// after them; `piece` was analysed with the digest's names filed first (StreamOptions::
// KnownPlayers, and KnownHoldings when it tracks holders). A piece that tracks holders gives
// the digest its holdings and is then filed by name. False with the reason in `error`.
bool StoreLogStatistics(StatsDatabase& database, LogId id, LogDigest& digest, AnalysisStore& piece,
                        const AnalysisTotals& totals, std::string& error);

} // namespace qla::db
