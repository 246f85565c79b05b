// The logs a database holds: listing them, choosing some, and forgetting them.
#pragma once

#include "analysis/analysis.h"
#include "db/stats_database.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qla::db {

using LogId = std::int64_t;

struct LogEntry {
    LogId Id = 0;
    std::string Path; // as given to the last import that read it
    std::string Fingerprint;
    std::int64_t FingerprintBytes = 0;
    std::int64_t FileSize = 0;      // the file's size when last read
    std::int64_t ImportedBytes = 0; // just past the last imported line end
    std::int64_t StoredBytes = 0;   // what the chunks hold (a finished last line gains an LF)
    std::optional<std::string> DateHeader;
    std::optional<std::string> DateKey; // "YYYY-MM-DD HH:MM:SS" when the header reads as a date
    LogLanguage Language = LogLanguage::English;
    Recognition LineRecognition = Recognition::Classic; // how the log's lines are recognised
    std::int64_t Lines = 0;
    AnalysisTotals Totals;                   // of this log read alone
    std::string FirstImported, LastImported; // UTC, "YYYY-MM-DDTHH:MM:SSZ"
    // What proves a file continues this log (see import_keys.h); unknown for a log whose
    // file's bytes an upgrade could not see (a UTF-16 log imported before version 4).
    std::optional<std::string> HeadHash;
    std::optional<std::string> TailHash;
    std::optional<std::uint32_t> ContentCrc;
    // The server the log was played on, as qla import --server tagged it.
    std::optional<std::string> Server;

    std::int64_t HeldBackBytes() const { return FileSize - ImportedBytes; }
};

// Which logs a reading command takes: all, or those listed, further narrowed by date.
struct LogSelection {
    std::vector<LogId> Ids;           // empty: every log
    std::optional<std::string> Since; // date keys, both inclusive
    std::optional<std::string> Until;
    std::optional<std::string> Server; // only the logs tagged with this server
};

// These logs alone, whatever their dates and servers.
inline LogSelection LogsWithIds(std::vector<LogId> ids) {
    LogSelection selection;
    selection.Ids = std::move(ids);
    return selection;
}

std::string LanguageName(LogLanguage language);

// Every log in import order; nullopt with the reason in `error`.
std::optional<std::vector<LogEntry>> ListLogs(StatsDatabase& database, std::string& error);

// The logs a file whose first line hashes to `headHash` may continue or copy, newest first,
// found through the index: those of that first line and those whose first line is unknown.
std::optional<std::vector<LogEntry>>
ImportCandidates(StatsDatabase& database, const std::string& headHash, std::string& error);

// The newest log last read from `path`; nullopt when none (or on failure, with `error` set).
std::optional<LogEntry> LatestLogAt(StatsDatabase& database, const std::string& path,
                                    std::string& error);

// The recognition of logs new to the database (schema.h); nullopt with the reason in `error`.
// A database that records none (before version 4, read without upgrading) is classic.
std::optional<Recognition> DefaultRecognition(StatsDatabase& database, std::string& error);

// "the database DB is damaged: ..." when the log's recorded sizes contradict each other, as no
// import writes them; empty when they are consistent.
std::string RecordDamage(const LogEntry& log, const std::string& databasePath);

// The selected logs in import order. A listed id the database does not hold is an error; with a
// date bound, a log whose header is no date is left out.
std::optional<std::vector<LogEntry>> SelectLogs(StatsDatabase& database,
                                                const LogSelection& selection, std::string& error);

// Removes every trace of the listed logs in one transaction; none is removed when one of them is
// not in the database.
bool ForgetLogs(StatsDatabase& database, const std::vector<LogId>& ids, std::string& error);

} // namespace qla::db
