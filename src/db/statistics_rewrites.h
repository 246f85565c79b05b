// How many times any log's statistics rows were removed to be written again (a reanalysis, an
// erased player, an upgrade), counted in the `statistics_rewrites` row of qla_meta. Between
// two such counts a log's rows are only ever added to, so a reader that keeps rows it read
// (ChatRowsCache) needs to read only those after them while the count stays the same.
#pragma once

#include "db/stats_database.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qla::db {

inline constexpr const char* kStatisticsRewritesRow = "statistics_rewrites";

// The count; nullopt when the database keeps none (read before an upgrade brought it in) or it
// cannot be read, `error` then set only for a failure.
std::optional<std::int64_t> StatisticsRewrites(StatsDatabase& database, std::string& error);

// Adds one to the count, inside the caller's write transaction.
bool CountStatisticsRewrite(StatsDatabase& database, std::string& error);

} // namespace qla::db
