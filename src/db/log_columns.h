// The columns of the logs table, named once: the catalogue reads a LogEntry through them and an
// import writes one through them, so a column is never listed twice with its place counted by
// hand.
#pragma once

#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <QString>

#include <string>

namespace qla::db {

// "SELECT <every column> FROM logs": a column an older schema version lacks is read as the
// value that version implies.
QString SelectLogColumns(StatsDatabase& database);
// A row read by SelectLogColumns.
LogEntry LogEntryOfRow(const class QSqlQuery& query);

// Writes `log` as a new row, or over the row of its id; false with the reason in `error`.
bool InsertLog(StatsDatabase& database, const LogEntry& log, std::string& error);
bool UpdateLog(StatsDatabase& database, const LogEntry& log, std::string& error);

} // namespace qla::db
