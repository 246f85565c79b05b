// Importing one log into a statistics database: its new complete lines, once, in one
// transaction.
#pragma once

#include "analysis/analysis.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qla::db {

enum class ImportOutcome {
    Added,     // a log the database did not know
    Grew,      // a known log with new complete lines
    Unchanged, // nothing new (an unfinished last line may still be waiting)
    Copy,      // a shorter copy of a known log's start (or that log truncated): nothing new
    Replaced,  // a path seen before that no longer continues its log: rotated, a new log
    Empty,     // a file without a byte: nothing to remember
    Waiting,   // a log not yet known whose first line has no line end yet: nothing stored
    Failed,
};

struct ImportOptions {
    LogLanguage Language = LogLanguage::English; // for a new log; a known log keeps its own
    bool GuessLanguage = false; // a new log is read in the language its first lines are written in
    // The same; unset: the database's default (DefaultRecognition).
    std::optional<Recognition> LineRecognition;
    bool Finished = false; // the log is complete: a last line without line end is a line
    // False (--no-archive): the new lines' chunks keep only the sums of their blocks, so the
    // database holds statistics without the log's bytes.
    bool KeepLines = true;
    // Tags the log with the server it was played on (a new log, a grown one, or an unchanged
    // one whose tag differs); unset: a log keeps its tag, a new one has none.
    std::optional<std::string> Server;
};

struct ImportResult {
    ImportOutcome Outcome = ImportOutcome::Failed;
    std::string Error;
    LogId Id = 0;
    LogId PreviousId = 0;   // the log read from the same path before (Replaced)
    bool Retagged = false;  // an unchanged log given another server tag
    std::string CopiedPath; // the path the copied log was last read from (Copy)
    // The file's last bytes that could not be compared with a log that keeps no lines (Copy):
    // the block sums cover whole blocks only.
    std::int64_t UncomparedBytes = 0;
    std::uint64_t LinesAdded = 0;
    std::uint64_t HeldBackBytes = 0;
    LogLanguage Language = LogLanguage::English; // what the log is read in
    bool LanguageGuessed = false;                // chosen now from the log's first lines
    // The recognition a log imported before keeps, when the import asked for another one.
    std::optional<Recognition> KeptRecognition;
};

// Fraction done, 0 to 1.
using ImportProgressCallback = std::function<void(double)>;

// Stored chunks hold about this many bytes of whole lines.
inline constexpr std::size_t kChunkBytes = 1 << 20;

// Reads `localPath` (shown and remembered as `pathAsGiven`) and adds what is new. Everything
// happens in one write transaction: the database holds all of this import or none of it.
ImportResult ImportLog(StatsDatabase& database, const std::string& pathAsGiven,
                       const std::string& localPath, const ImportOptions& options,
                       const ImportProgressCallback& progress = {});

struct LogToImport {
    std::string PathAsGiven; // shown and remembered
    std::string LocalPath;   // read: the file, or an open descriptor's /proc path
};

struct BatchResult {
    bool Ok = false;
    std::string Error;              // when not Ok: nothing of the batch was stored
    std::vector<ImportResult> Logs; // when Ok: one per log, in order
};

// Imports several logs in one write transaction: the database holds all of the batch or none
// of it. A log that cannot be read fails the whole batch.
BatchResult ImportBatch(StatsDatabase& database, const std::vector<LogToImport>& logs,
                        const ImportOptions& options);

} // namespace qla::db
