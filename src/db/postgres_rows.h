// Rows sent to PostgreSQL with COPY ... FROM STDIN on the connection Qt SQL opened: one stream
// for all rows of a table instead of a statement (and a round trip) per few hundred rows, which
// made an import into PostgreSQL several times slower than into SQLite. Only inside the
// caller's transaction, and nothing else may use the connection between the first row and
// Finish.
#pragma once

#include "db/engine_libraries.h"

#include <QSqlDatabase>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qla::db {

class PostgresRows {
  public:
    // Nullptr when the connection is no PostgreSQL connection.
    static std::unique_ptr<PostgresRows> For(QSqlDatabase& connection, const std::string& table,
                                             const std::string& columns, int columnCount);
    ~PostgresRows();
    PostgresRows(const PostgresRows&) = delete;
    PostgresRows& operator=(const PostgresRows&) = delete;

    // The next value of the row; the COPY starts with the first one.
    bool AddNumber(std::int64_t value);
    bool AddBytes(std::string_view bytes); // a BYTEA value
    bool AddText(std::string_view utf8);
    // Ends the COPY and takes the server's answer; false with the reason in Error().
    bool Finish();
    const std::string& Error() const { return error_; }

  private:
    PostgresRows(PostgresLibrary pq, pg_conn* connection, std::string copy, int columnCount)
        : pq_(pq), connection_(connection), copy_(std::move(copy)), columnCount_(columnCount) {}
    // Starts the COPY before the first value and puts the separator before each later one.
    bool Begin();
    // Ends the row after its last value, sending the rows once about a megabyte is gathered.
    bool Next();
    bool Send();
    bool Fail(const std::string& what);

    PostgresLibrary pq_;
    pg_conn* connection_;
    std::string copy_; // the COPY statement
    int columnCount_;
    int column_ = 0;
    bool copying_ = false;
    std::string buffer_; // rows in COPY's text format, sent about a megabyte at a time
    std::string error_;
};

} // namespace qla::db
