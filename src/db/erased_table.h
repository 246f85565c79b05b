// What qla erase-player keeps in a statistics database, created by its first erase without a
// change of schema version: erased_players (the salted hashes of the erased identity keys, each
// with its pseudonym), erased_logs (the logs whose stored lines an erase or a later import wrote
// otherwise than the file held them) and the salt (the erase_salt row of qla_meta).
#pragma once

#include "db/erased_names.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qla::db {

// The erased names; none in a database that never erased one. Nullopt with the reason in
// `error`.
std::optional<ErasedNames> ReadErasedNames(StatsDatabase& database, std::string& error);

// Inside the caller's write transaction: creates the tables and the salt where missing, then
// adds `keys` (identity keys not erased yet) under `pseudonym`. The names as they are then.
std::optional<ErasedNames> AddErasedKeys(StatsDatabase& database,
                                         const std::vector<std::string>& keys,
                                         const std::string& pseudonym, std::string& error);

// Notes that the log's stored lines are not the file's bytes (inside the caller's write
// transaction; the tables exist once a name was erased).
bool MarkErasedLog(StatsDatabase& database, LogId log, std::string& error);

// The logs so noted; none in a database that never erased a name.
std::optional<std::set<LogId>> ReadErasedLogs(StatsDatabase& database, std::string& error);

// Whether the database has the tables: a log's rows in them are then removed with the log.
bool HasErasedTables(StatsDatabase& database);

} // namespace qla::db
