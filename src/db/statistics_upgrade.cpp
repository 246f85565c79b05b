// The upgrade step that stores every log's statistics.
#include "db/statistics_upgrade.h"

#include "db/log_catalog.h"
#include "db/log_statistics.h"
#include "db/statistics_rows.h"
#include "db/store_from_database.h"

namespace qla::db {

bool StoreStatisticsOfEveryLog(StatsDatabase& database, std::string& error) {
    const auto logs = ListLogs(database, error);
    if (!logs)
        return false;
    for (const LogEntry& log : *logs) {
        AnalysisStore store;
        store.TracksHolders = true;
        const auto totals = AnalyzeStoredLog(database, log, {}, store, error);
        // Every statistics row is written anew from the whole log, its log_players rows too (an
        // older import numbered them with gaps, and may have read the cut names of a log that
        // grew otherwise than the whole log reads them).
        LogDigest digest;
        if (!totals || !DeleteStatisticsRows(database, log.Id, error) ||
            !StoreLogStatistics(database, log.Id, digest, store, *totals, error))
            return false;
    }
    return true;
}

} // namespace qla::db
