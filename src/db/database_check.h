// `qla check`: everything that can tell a damaged statistics database from a sound one. The
// engine's own check of its pages, each stored chunk against its checksum, each log's recorded
// sizes and line count against its chunks, and each log's stored statistics against a fresh
// analysis of its stored lines (a log without lines: against each other).
#pragma once

#include "db/stats_database.h"

#include <functional>
#include <string>
#include <vector>

namespace qla::db {

struct CheckReport {
    std::string Error;               // the check itself could not run (nothing found then)
    std::vector<std::string> Damage; // "the database DB is damaged: ..." each
    // What could not be checked: a log imported with --no-archive keeps no lines to read again.
    std::vector<std::string> Notes;
    std::size_t Logs = 0;
    std::int64_t Chunks = 0;
};

// `progress` is told each log as it is checked: its place (from 1) and the number of logs.
CheckReport CheckDatabase(StatsDatabase& database,
                          const std::function<void(std::size_t, std::size_t)>& progress = {});

} // namespace qla::db
