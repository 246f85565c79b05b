// Reading a statistics database: the logs chosen (by id and date) and the store built from them,
// as `qla --db DB --log ... --since ... --until ...` and the window's database selection read it.
// Messages go to `err` as "qla: <reason>" lines, as the command line prints them.
#pragma once

#include "analysis/alias_list.h"
#include "analysis/analysis.h"
#include "analysis/log_names.h"
#include "analysis/merge_players.h"
#include "core/store.h"
#include "db/dashboard_history.h"
#include "db/database_lines.h"
#include "db/log_catalog.h"
#include "db/store_from_database.h"
#include "db/transaction.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::db {

struct DatabaseSource {
    std::string Path;
    LogSelection Selection;
};

// What a reading command stands on once its source is read: the totals of the run and the
// date header of the first line.
struct LoadedStore {
    AnalysisTotals Totals;
    std::optional<std::string> DateText;
    LogSpans Logs; // from a database's stored statistics; empty for a log file
    // The identity keys the database hides (HidePlayers joins them once the players are
    // merged); none for a log file.
    std::vector<std::string> HiddenKeys;
};

// A reader of the names and counts of every log merged into persons: the persons the database
// keeps (kept_persons.h) when they were merged with `aliases`, the store filled as merging
// leaves it. its Names are empty when none are kept (the caller merges); nullopt after printing
// "qla: <reason>" to err.
struct KeptPersonsRead {
    LoadedStore Store;
    std::optional<MergedNames> Names;
};
std::optional<KeptPersonsRead> LoadKeptPersons(const DatabaseSource& source,
                                               const AliasList& aliases, AnalysisStore& store,
                                               std::ostream& err);

// The aliases kept in the database; nullopt after printing "qla: <reason>" to err.
std::optional<AliasList> ReadDatabaseAliases(const std::string& path, std::ostream& err);

// The names, lines and renames of each selected log, each log's store built alone; nullopt
// after printing "qla: <reason>" to err.
std::optional<std::vector<LogNames>> NamesOfDatabaseLogs(const DatabaseSource& source,
                                                         std::ostream& err);

// A database read for a view of its chats or other lines: the store is built without those
// texts, and the rows are streamed from the database, which stays open, in the one read
// transaction the store was read in, as long as this lives.
class DatabaseReading {
  public:
    // Nullopt after printing "qla: <reason>" to err; an empty reading when the database cannot
    // stream (one from before stored statistics, or a speaker the store does not file): the
    // caller then reads the texts into the store with LoadFromDatabase. `killOrder`: as
    // StoreParts::KillOrder; `killFiguresOnly`: as StoreParts::KillFiguresOnly (the caller
    // merges no players), unless the database hides players, who are joined after;
    // `passingNames`: as StoreParts::PassingNames.
    static std::optional<std::unique_ptr<DatabaseReading>>
    Open(const DatabaseSource& source, AnalysisStore& store, std::ostream& err,
         bool killOrder = false, bool killFiguresOnly = false, bool passingNames = false);

    // What was read, handed over once: its spans hold each log's kills in order (the site's
    // streaks), hundreds of megabytes for a long history, which are never copied.
    LoadedStore TakeLoaded() { return std::move(loaded_); }
    // The rows, their players filed as `playerOf` files names (after a merge, its records).
    DatabaseLines Lines(PlayerOfName playerOf) const;

  private:
    DatabaseReading() = default;
    std::unique_ptr<StatsDatabase> database_;
    std::unique_ptr<Transaction> unit_;
    LoadedStore loaded_;
    std::vector<LogLines> logs_;
};

// Builds the store from the database, with the texts `parts` asks for; nullopt after printing
// "qla: <reason>" to err.
std::optional<LoadedStore> LoadFromDatabase(const DatabaseSource& source, AnalysisStore& store,
                                            std::ostream& err, StoreParts parts = {});

// The statistics site's per-log figures of the selected logs; nullopt after printing
// "qla: <reason>" to err.
std::optional<DashboardHistory> ReadDashboardHistory(const DatabaseSource& source,
                                                     std::ostream& err);

} // namespace qla::db
