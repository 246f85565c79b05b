// One log's part of qla erase-player, inside the caller's write transaction: its stored lines
// written again with the erased players' pseudonyms and its statistics rebuilt from them, as
// qla reanalyze rebuilds them; or, for a log that keeps no lines, whether its statistics name an
// erased player at all.
#pragma once

#include "db/erased_names.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qla::db {

// Rewrites a log that keeps its lines: the number of lines changed (0: its lines name no erased
// player, and nothing was written). The log's identification (fingerprint, hashes and CRC of
// the file's bytes) stays that of the file. Refuses, with the reason in `error`, when the
// rebuilt statistics would differ in anything but the erased players: the log's totals and every
// other player's counters stay as they were.
std::optional<std::uint64_t> RewriteErasedLog(StatsDatabase& database, const LogEntry& log,
                                              const ErasedNames& names, std::string& error);

// Whether the stored statistics of a log name an erased player: a player, a rename, a cut
// obituary name, or a chat's or other line's text that holds an erased key.
std::optional<bool> StatisticsNameErased(StatsDatabase& database, LogId log,
                                         const ErasedNames& names, std::string& error);

} // namespace qla::db
