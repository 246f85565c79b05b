// The hidden players kept in a statistics database (table hidden_players): the identity keys
// of the names that reading commands leave out of every list (analysis/hidden_players.h).
#pragma once

#include "db/stats_database.h"

#include <optional>
#include <string>
#include <vector>

namespace qla::db {

// The hidden identity keys in their order; none in a database without the table. Nullopt with
// the reason in `error`.
std::optional<std::vector<std::string>> ReadHiddenKeys(StatsDatabase& database, std::string& error);

// Adds (or, with `hide` false, removes) the keys of `names`, inside the caller's write
// transaction; a key already so is left as it is.
bool ChangeHiddenKeys(StatsDatabase& database, const std::vector<std::string>& names, bool hide,
                      std::string& error);

} // namespace qla::db
