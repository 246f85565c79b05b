// Reading a statistics database instead of a log: the values of the --db, --log, --since and
// --until options of the reading commands (described in commands.cpp), and the store they build.
#pragma once

#include "analysis/alias_list.h"
#include "analysis/analysis.h"
#include "analysis/log_names.h"
#include "core/store.h"
#include "db/dashboard_history.h"
#include "db/log_catalog.h"
#include "db/store_from_database.h"

#include <QCommandLineParser>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::cli {

struct DatabaseSource {
    std::string Path;
    db::LogSelection Selection;
};

// What a reading command stands on once its source is read: the totals of the run and the
// date header of the first line.
struct LoadedStore {
    AnalysisTotals Totals;
    std::optional<std::string> DateText;
};

// The database part of the command line. Nullopt without --db; on a usage error (such as
// --since without --db) the message goes to `err` and `usageError` is set.
std::optional<DatabaseSource> ReadDatabaseOptions(const QCommandLineParser& parser,
                                                  std::string& usageError);

// The aliases kept in the database; nullopt after printing "qla: <reason>" to err.
std::optional<AliasList> ReadDatabaseAliases(const std::string& path, std::ostream& err);

// The names, lines and renames of each selected log, each log's store built alone; nullopt
// after printing "qla: <reason>" to err.
std::optional<std::vector<LogNames>> NamesOfDatabaseLogs(const DatabaseSource& source,
                                                         std::ostream& err);

// Builds the store from the database, with the texts `parts` asks for; nullopt after printing
// "qla: <reason>" to err.
std::optional<LoadedStore> LoadFromDatabase(const DatabaseSource& source, AnalysisStore& store,
                                            std::ostream& err, db::StoreParts parts = {});

// The statistics site's per-log figures of the selected logs; nullopt after printing
// "qla: <reason>" to err.
std::optional<db::DashboardHistory> ReadDashboardHistory(const DatabaseSource& source,
                                                         std::ostream& err);

} // namespace qla::cli
