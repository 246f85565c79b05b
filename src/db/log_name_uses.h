// The uses of the names in each log's chains (NameKeyUses: how many chains use a name, how many
// play it most), stored beside the chains at import (log_chains.name_uses, schema version 13).
// A reading by name that fits the skill rating sums them over the chosen logs to tell the names
// many people pass through, instead of filing every log's chains again: over a hundred logs
// that was a quarter of `qla ratings`.
#pragma once

#include "analysis/holder_identity.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

std::string EncodeNameUses(const std::vector<NameKeyUse>& uses);
// Nullopt when the bytes are damaged.
std::optional<std::vector<NameKeyUse>> DecodeNameUses(std::string_view bytes);

// The stored uses of log `id`. Nullopt with `error` empty when none are stored (a database
// before version 13 not yet upgraded, a log without chains); with `error` set on a failure or
// damage.
std::optional<std::vector<NameKeyUse>> ReadNameUses(StatsDatabase& database, LogId id,
                                                    std::string& error);

// The uses of log `id`: those stored, or where none are, worked out from its stored chains.
// Nullopt with `error` set on a failure or damage.
std::optional<std::vector<NameKeyUse>> NameUsesOfStoredLog(StatsDatabase& database, LogId id,
                                                           std::string& error);

// Works out and stores the uses of every log whose chains have none (an upgrade to version 13),
// inside the caller's write transaction; false with `error` set.
bool FillNameUses(StatsDatabase& database, std::string& error);

} // namespace qla::db
