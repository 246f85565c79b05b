// Reading the digests' encounters of the selected logs.
#include "db/log_encounters.h"

#include "db/schema.h"
#include "db/statistics_rows.h"
#include "db/transaction.h"

namespace qla::db {

std::optional<std::vector<LogEncounters>>
ReadLogEncounters(StatsDatabase& database, const LogSelection& selection,
                  const std::function<bool(const std::string&)>& keep, std::string& error) {
    if (database.StoredVersion() < kStatisticsVersion) {
        error = "the database keeps no statistics per log (qla upgrade --db stores them)";
        return std::nullopt;
    }
    Transaction unit(database, Transaction::Kind::Read, error);
    if (!unit.Open())
        return std::nullopt;
    const auto logs = SelectLogs(database, selection, error);
    if (!logs)
        return std::nullopt;
    std::vector<LogEncounters> found;
    found.reserve(logs->size());
    for (const LogEntry& log : *logs) {
        const auto digest = ReadDigest(database, log.Id, error,
                                       {.Encounters = true, .Holdings = false, .Renames = false});
        if (!digest)
            return std::nullopt;
        LogEncounters here{log.Id, log.DateKey, {}};
        std::vector<bool> kept(digest->Players.size());
        for (std::size_t k = 0; k < kept.size(); ++k)
            kept[k] = keep(digest->Players[k].Name);
        for (const DigestEncounter& e : digest->Encounters)
            if (e.Killer < kept.size() && e.Victim < kept.size() && kept[e.Killer] &&
                kept[e.Victim])
                here.Encounters.push_back({digest->Players[e.Killer].Name,
                                           digest->Players[e.Victim].Name, e.WeaponText, e.Count});
        found.push_back(std::move(here));
    }
    if (!unit.Commit(error))
        return std::nullopt;
    return found;
}

} // namespace qla::db
