// Reading logs' stored lines again: after a recognition improvement, or to read a log in another
// mode or language. Each chosen log's statistics are rebuilt from its own lines, all in one
// transaction, so the database holds either the old statistics or the new ones.
#pragma once

#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qla::db {

struct ReanalysisOptions {
    std::vector<LogId> Ids;                     // empty: every log
    std::optional<Recognition> LineRecognition; // unset: each log keeps its own
    std::optional<LogLanguage> Language;        // unset: each log keeps its own
};

struct ReanalysisResult {
    bool Ok = false;
    std::string Error;
    std::vector<LogEntry> Logs; // as they are now
};

// Rebuilds one log's statistics from its stored lines, read in the log's language and
// recognition, inside the caller's write transaction; `log` is then as the database holds it.
// False with the reason in `error`.
bool RebuildLogStatistics(StatsDatabase& database, LogEntry& log, std::string& error);

// `progress` is told each log as it begins (position, count).
ReanalysisResult ReanalyzeLogs(StatsDatabase& database, const ReanalysisOptions& options,
                               const std::function<void(std::size_t, std::size_t)>& progress = {});

} // namespace qla::db
