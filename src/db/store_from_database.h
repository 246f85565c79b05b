// Building the analysis store from a database. A database of this version answers from the
// statistics stored at import (store_from_statistics.h); one from before them, and the checks
// that compare those statistics with the lines, read the stored lines again: the selected
// logs' lines one after the other as one log, each with its own language.
#pragma once

#include "analysis/analysis.h"
#include "core/store.h"
#include "db/chat_rows_cache.h"
#include "db/database_lines.h"
#include "db/kill_figures_cache.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"
#include "stats/kill_streaks.h"

#include <optional>
#include <string>

namespace qla::db {

// From the stored statistics: each selected log's id, file path and date key (as LogEntry), the
// end of its entries in the store's KillEvents and, when the chats were read, the end of its
// messages in the store's VoiceChats and TextChats; the logs in the order they were filed; empty
// when the logs were read again as one.
struct LogSpans {
    std::vector<LogId> Ids;
    std::vector<std::string> Paths;
    std::vector<std::optional<std::string>> Dates;
    std::vector<std::size_t> KillEntriesEnd;
    // With StoreParts::KillOrder: each log's kills in the order they were made; with
    // KillFiguresOnly instead each log's streaks and first blood, the order let go.
    KillOrder Order;
    std::vector<LogKillFigures> KillFigures;
    std::vector<std::size_t> VoiceChatsEnd, TextChatsEnd;

    // A log filed, its kill entries ending at `killEntriesEnd`.
    void Add(const LogEntry& log, std::size_t killEntriesEnd) {
        Ids.push_back(log.Id);
        Paths.push_back(log.Path);
        Dates.push_back(log.DateKey);
        KillEntriesEnd.push_back(killEntriesEnd);
    }
};

struct DatabaseStoreResult {
    bool Ok = false;
    std::string Error;
    AnalysisTotals Totals;
    std::optional<std::string> DateText; // the date header of the first line, as for one log
    std::size_t LogCount = 0;
    // Logs whose cut obituary names made their lines be read again (store_from_statistics.h).
    std::size_t LogsReadAgain = 0;
    // From the stored statistics: each selected log's rows as DatabaseLines streams them; empty
    // from a database whose lines were read again as one log.
    std::vector<LogLines> Lines;
    LogSpans Logs;
};

// Fills `store` as the analysis fills it from the single log made of the selected logs' bytes
// in import order. The store's lines are replaced.
DatabaseStoreResult BuildStoreFromDatabase(StatsDatabase& database, const LogSelection& selection,
                                           AnalysisStore& store);

// What of the lines' texts a reader needs: the chats' and the other lines' texts are read from
// their rows only when a view shows them.
struct StoreParts {
    bool Chats = true;
    bool UnknownLines = true;
    // The renames of a store that does not track holders: only the names' suggestions read
    // them, and a hundred logs hold millions (most of such a store's memory).
    bool Renames = true;
    // Each log's kills in their order (LogSpans::Order), which the streaks need.
    bool KillOrder = false;
    // With KillOrder, for a reader that merges no players after (their streaks would join):
    // each log's streaks and first blood are worked out as it is filed (LogSpans::KillFigures)
    // and its order let go, which for a long history would take hundreds of megabytes. Not for
    // a store that tracks holders.
    bool KillFiguresOnly = false;
    // With KillFiguresOnly: the streaks start again at a session begun inside a log too, as
    // qla awards reads a stored log (the site reads a log whole). No figures are kept across
    // readings then (KeptKillFigures).
    bool FiguresBySession = false;
    // The kills between players (KillEvents): a reader of the counters and names only leaves
    // them out, and reads a few kilobytes of a log.
    bool Kills = true;
    // With Kills, only those that merging players weighs: a record's kills of itself (they
    // count one line, not two) and the kills between names of one identity key (two people).
    // For a reader that merges and then shows counters and names alone: a long history's
    // millions of entries come to a few thousand.
    bool KillsForPersonsOnly = false;
    // A store that tracks holders is filled with each log's chains instead of its holdings
    // (AnalysisStore::HoldersChained): far fewer records, the same persons. Not with KillOrder,
    // which places each kill's holding.
    bool Chains = false;
    // For a reading by name that fits the skill rating: the names many people pass through
    // (AnalysisStore::PassingKeys), worked out from the selected logs' chains as one history.
    // Not for a store that tracks holders: its persons pass through no name.
    bool PassingNames = false;
    // The chats read before by a reader that fills stores again and again (qla watch): only
    // the rows after those kept are read, and kept too.
    ChatRowsCache* KeptChats = nullptr;
    // With KillFiguresOnly, the figures worked out before by such a reader: a log whose figures
    // are kept is not read for its order (nor its holdings and renames) again.
    KillFiguresCache* KeptKillFigures = nullptr;
};
DatabaseStoreResult BuildStoreFromDatabase(StatsDatabase& database, const LogSelection& selection,
                                           AnalysisStore& store, StoreParts parts);

// The same inside a read transaction the caller began.
DatabaseStoreResult BuildStoreInTransaction(StatsDatabase& database, const LogSelection& selection,
                                            AnalysisStore& store, StoreParts parts = {});

// Reads the selected logs' stored lines again as one log, whatever the version.
DatabaseStoreResult AnalyzeStoredLines(StatsDatabase& database, const LogSelection& selection,
                                       AnalysisStore& store);

// Analyses one log's stored lines alone into `store`, `knownNames` filed first (see
// StreamOptions::KnownPlayers); nullopt with the reason in `error`.
std::optional<AnalysisTotals> AnalyzeStoredLog(StatsDatabase& database, const LogEntry& log,
                                               std::vector<std::string> knownNames,
                                               AnalysisStore& store, std::string& error);

} // namespace qla::db
