// A new reading of stored lines.
#include "db/log_reanalysis.h"

#include "db/chunk_reader.h"
#include "db/kept_persons.h"
#include "db/log_columns.h"
#include "db/log_statistics.h"
#include "db/statistics_rows.h"
#include "db/store_from_database.h"
#include "db/transaction.h"

namespace qla::db {

bool RebuildLogStatistics(StatsDatabase& database, LogEntry& log, std::string& error) {
    AnalysisStore store;
    store.TracksHolders = true;
    const auto totals = AnalyzeStoredLog(database, log, {}, store, error);
    if (!totals || !DeleteStatisticsRows(database, log.Id, error))
        return false;
    LogDigest digest;
    if (!StoreLogStatistics(database, log.Id, digest, store, *totals, error))
        return false;
    log.Lines = totals->Total;
    log.Totals = *totals;
    return UpdateLog(database, log, error);
}

ReanalysisResult ReanalyzeLogs(StatsDatabase& database, const ReanalysisOptions& options,
                               const std::function<void(std::size_t, std::size_t)>& progress) {
    ReanalysisResult result;
    Transaction unit(database, Transaction::Kind::Write, result.Error);
    if (!unit.Open())
        return result;
    const auto logs = SelectLogs(database, LogsWithIds(options.Ids), result.Error);
    if (!logs)
        return result;
    // Refused before any work when a chosen log keeps only the sums of its lines.
    for (const LogEntry& log : *logs) {
        const auto keepsLines = KeepsAllLines(database, log.Id, result.Error);
        if (!keepsLines)
            return result;
        if (!*keepsLines) {
            result.Error = KeepsNoLinesText(log.Id) + ", so its statistics cannot be rebuilt";
            return result;
        }
    }
    for (std::size_t i = 0; i < logs->size(); ++i) {
        if (progress)
            progress(i + 1, logs->size());
        LogEntry log = (*logs)[i];
        log.LineRecognition = options.LineRecognition.value_or(log.LineRecognition);
        log.Language = options.Language.value_or(log.Language);
        if (!RebuildLogStatistics(database, log, result.Error))
            return result;
        result.Logs.push_back(std::move(log));
    }
    if (!unit.Commit(result.Error) || !KeepPersons(database, result.Error))
        return result;
    result.Ok = true;
    return result;
}

} // namespace qla::db
