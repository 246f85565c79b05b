// The players of every stored log merged into persons (--merge-players with the database's
// aliases), kept by the command that last changed the statistics (the kept_persons table), so
// that the names and counts of the whole history merged read in about the time of one log
// instead of merging every log's chains again. Any write of a log's statistics removes them in
// its transaction; a command that wrote keeps them anew at its end (KeepPersons).
#pragma once

#include "analysis/alias_list.h"
#include "analysis/merge_players.h"
#include "db/store_from_database.h"

#include <optional>
#include <string>

namespace qla::db {

class StatsDatabase;

// Removes the kept persons (a log's statistics change or go), inside the caller's write.
bool ForgetKeptPersons(StatsDatabase& database, std::string& error);

// In a write transaction of its own: merges the whole history with the database's aliases and
// keeps the result, unless it is kept already for these aliases. A database without logs, or
// of an older version read without upgrading, keeps none.
bool KeepPersons(StatsDatabase& database, std::string& error);

// Inside the caller's transaction: whether the kept persons are those merging every log with
// the database's aliases gives (true when none are kept for them); nullopt on failure.
std::optional<bool> KeptPersonsAreCurrent(StatsDatabase& database, std::string& error);

// Inside the caller's read transaction: the kept persons when they were merged with `aliases`,
// the store filled as merging every log's counters leaves it (its kill entries apart: a reader
// of the names and counts); nullopt when none are kept (the caller merges), or on failure with
// `result.Error` set.
std::optional<MergedNames> ReadKeptPersons(StatsDatabase& database, const AliasList& aliases,
                                           AnalysisStore& store, DatabaseStoreResult& result);

} // namespace qla::db
