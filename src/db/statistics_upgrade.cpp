// The upgrade step that stores every log's statistics.
#include "db/statistics_upgrade.h"

#include "db/log_catalog.h"
#include "db/public_tables.h"
#include "db/statistics_rows.h"
#include "db/store_from_database.h"

namespace qla::db {

bool StoreStatisticsOfEveryLog(StatsDatabase& database, std::string& error) {
    const auto logs = ListLogs(database, error);
    if (!logs)
        return false;
    for (const LogEntry& log : *logs) {
        AnalysisStore store;
        const auto totals = AnalyzeStoredLog(database, log, {}, store, error);
        // A database written by a later qla and marked older keeps no stale rows.
        if (!totals || !DeleteStatisticsRows(database, log.Id, error, StatisticsRows::kDerived))
            return false;
        const LogDigest digest = DigestOfStore(store, *totals);
        if (!WriteDigest(database, log.Id, digest, error) ||
            !WriteTextRows(database, log.Id, LogDigest{}, store, error) ||
            !NumberPlayersByPlace(database, log.Id, store, error) ||
            !WritePublicTables(database, log.Id, LogDigest{}, store, error))
            return false;
    }
    return true;
}

} // namespace qla::db
