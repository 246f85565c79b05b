// Inserting many rows with few statements: rows are gathered and written as one multi-row
// INSERT of up to kRowsPerStatement rows, prepared once, which both engines take far faster
// than a statement per row (PostgreSQL pays a round trip for each statement). On SQLite the rows
// go through SQLite's own interface instead (sqlite_rows.h), and on PostgreSQL all rows go in
// one COPY (postgres_rows.h): nothing else may use the connection between the first Add and
// Flush, and rows not flushed are not stored.
#pragma once

#include "db/postgres_rows.h"
#include "db/sqlite_rows.h"
#include "db/stats_database.h"

#include <memory>

#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

class RowBatch {
  public:
    static constexpr int kRowsPerStatement = 256;

    // `columns`: "log_id, seq, line"; `what` names the failure ("cannot store ...").
    RowBatch(StatsDatabase& database, const char* table, const char* columns, int columnCount,
             std::string what);

    // One value of the row being gathered; a row is complete after `columnCount` values.
    // Bytes and texts are not copied: they must stay valid until the row's last value is
    // added. False once a write failed, with the reason in Error().
    bool Add(std::int64_t number);
    bool AddBytes(std::string_view bytes); // stored as bytes (BYTEA), never NULL
    bool AddText(std::string_view utf8);   // stored as a text
    // Writes the rows gathered so far.
    bool Flush();
    const std::string& Error() const { return error_; }

  private:
    // Takes the outcome of a value given to SQLite or PostgreSQL.
    template <typename Rows> bool Took(bool ok, const Rows& rows);
    // Gathers a value for the multi-row INSERT.
    bool Gather(QVariant value);
    bool Write(int rows, QSqlQuery& query, bool& prepared);

    StatsDatabase& database_;
    std::string statementStart_; // "INSERT INTO t (a, b) VALUES "
    int columnCount_;
    std::string what_;
    std::vector<QVariant> values_;
    QSqlQuery full_;
    bool fullPrepared_ = false;
    std::unique_ptr<SqliteRows> sqlite_;
    std::unique_ptr<PostgresRows> postgres_;
    std::string error_;
};

} // namespace qla::db
