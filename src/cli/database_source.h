// Reading a statistics database instead of a log: the values of the --db, --log, --since and
// --until options of the reading commands (described in commands.cpp). The store they build is
// read by db/database_reading.h, which the window shares.
#pragma once

#include "db/database_reading.h"

#include <QCommandLineParser>

#include <optional>
#include <string>

namespace qla::cli {

using db::DatabaseReading;
using db::DatabaseSource;
using db::LoadedStore;
using db::LoadFromDatabase;
using db::LoadKeptPersons;
using db::NamesOfDatabaseLogs;
using db::ReadDashboardHistory;
using db::ReadDatabaseAliases;

// The database part of the command line. Nullopt without --db; on a usage error (such as
// --since without --db) the message goes to `err` and `usageError` is set.
std::optional<DatabaseSource> ReadDatabaseOptions(const QCommandLineParser& parser,
                                                  std::string& usageError);

} // namespace qla::cli
