// The user's aliases kept in a statistics database (table player_aliases). They are read when
// a view is built and never touch the stored logs, so removing one restores the numbers.
#pragma once

#include "analysis/alias_list.h"
#include "db/stats_database.h"

#include <functional>
#include <optional>
#include <string>

namespace qla::db {

// The aliases in the order they were made; a version 1 database has none. Nullopt with the
// reason in `error`.
std::optional<AliasList> ReadAliases(StatsDatabase& database, std::string& error);

// Replaces the stored aliases with `aliases`, inside the caller's write transaction.
bool WriteAliases(StatsDatabase& database, const AliasList& aliases, std::string& error);

// Opens the database at `path`, applies `change` (which returns its refusal, or nothing) to its
// aliases and stores them, in one write transaction, so that two changes at once both land.
// `aliases` holds the list as changed; the error, or empty.
std::string ChangeStoredAliases(const std::string& path,
                                const std::function<std::string(AliasList&)>& change,
                                AliasList& aliases);

} // namespace qla::db
