// qla erase-player: a person's names removed from a statistics database for good, in one write
// transaction. Every log's stored lines are written again with a pseudonym ("erased player N")
// in place of the names and the log's statistics rebuilt from them; the aliases and hidden
// players that name him follow; the names themselves are kept only as salted hashes
// (erased_table.h), so that later imports pseudonymise his new lines before storing them.
#pragma once

#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qla::db {

struct ErasureResult {
    bool Ok = false;
    std::string Error;
    std::string Pseudonym;
    std::vector<LogId> Logs; // the logs whose lines were rewritten
    std::uint64_t LinesRewritten = 0;
    bool AliasesChanged = false;
    bool HiddenChanged = false;
};

// Erases every name whose identity key is that of one of `names`: they are one person, under
// one pseudonym. Refused, with nothing changed, for a name the database holds no player of, a
// name erased before, a pseudonym, and a log imported with --no-archive whose statistics name
// him (it has no lines to rebuild them from).
ErasureResult ErasePlayers(StatsDatabase& database, const std::vector<std::string>& names);

} // namespace qla::db
