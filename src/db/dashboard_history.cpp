// Each log's figures are those of its own statistics (the analysis of that log alone), so a
// player's figures per log are the ones the analysis of that log alone gives.
#include "db/dashboard_history.h"

#include "db/schema.h"
#include "db/statistics_rows.h"
#include "db/store_from_database.h"

#include <unordered_map>

namespace qla::db {
namespace {

// The log's date as the history shows it; its id when the header is no date.
std::string LogLabel(const LogEntry& log) {
    if (log.DateKey)
        return *log.DateKey;
    return "log " + std::to_string(log.Id);
}

} // namespace

std::optional<DashboardHistory>
ReadDashboardHistory(StatsDatabase& database, const LogSelection& selection, std::string& error) {
    const auto logs = SelectLogs(database, selection, error);
    if (!logs)
        return std::nullopt;
    DashboardHistory history;
    history.LogCount = static_cast<std::int64_t>(logs->size());
    std::unordered_map<std::string, std::size_t> rowOf;
    for (std::size_t place = 0; place < logs->size(); ++place) {
        const LogEntry& log = (*logs)[place];
        history.HeldBackBytes += log.HeldBackBytes();
        std::vector<PlayerRecord> players;
        if (database.StoredVersion() >= kStatisticsVersion) {
            auto digest = ReadDigest(database, log.Id, error,
                                     {.Encounters = false, .Holdings = false, .Renames = false});
            if (!digest)
                return std::nullopt;
            players = std::move(digest->Players);
        } else {
            AnalysisStore store;
            const DatabaseStoreResult built =
                BuildStoreFromDatabase(database, LogsWithIds({log.Id}), store);
            if (!built.Ok) {
                error = built.Error;
                return std::nullopt;
            }
            players.assign(store.Players.begin() + 1, store.Players.end());
        }
        const std::string label = LogLabel(log);
        for (const PlayerRecord& player : players) {
            const auto [at, added] = rowOf.try_emplace(player.Name, history.Players.size());
            if (added)
                history.Players.push_back({player.Name, {}});
            history.Players[at->second].Logs.push_back(
                {label, log.DateKey.value_or(""), player.Kills[0], player.Deaths[0],
                 player.Teamkills, place, log.Server.value_or("")});
        }
    }
    return history;
}

} // namespace qla::db
