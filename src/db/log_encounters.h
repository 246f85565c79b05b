// Each selected log's kills by weapon between named players, read from the statistics stored at
// import (the digests' encounters): the weapons that a store built from those statistics no
// longer keeps, as it holds one entry for all kills of one killer on one victim in a log.
#pragma once

#include "db/log_catalog.h"
#include "db/log_digest.h"
#include "db/stats_database.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qla::db {

struct NamedEncounter {
    std::string Killer, Victim; // the names as the log's digest files them
    EventWeapon WeaponText = 0;
    std::uint64_t Count = 0;
};

struct LogEncounters {
    LogId Id = 0;
    std::optional<std::string> DateKey;
    std::vector<NamedEncounter> Encounters; // those between two names `keep` chose
};

// The selected logs in the order a store is built from them, in one read transaction; nullopt
// with the reason in `error`, also for a database from before stored statistics.
std::optional<std::vector<LogEncounters>>
ReadLogEncounters(StatsDatabase& database, const LogSelection& selection,
                  const std::function<bool(const std::string&)>& keep, std::string& error);

} // namespace qla::db
