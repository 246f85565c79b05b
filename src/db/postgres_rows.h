// Rows sent to PostgreSQL with COPY ... FROM STDIN on the connection Qt SQL opened: one stream
// for all rows of a table instead of a statement (and a round trip) per few hundred rows, which
// made an import into PostgreSQL several times slower than into SQLite. Only inside the
// caller's transaction, and nothing else may use the connection between the first row and
// Finish.
#pragma once

#include <QSqlDatabase>
#include <QVariant>

#include <memory>
#include <string>

struct pg_conn;

namespace qla::db {

class PostgresRows {
  public:
    // Nullptr when the connection is no PostgreSQL connection.
    static std::unique_ptr<PostgresRows> For(QSqlDatabase& connection, const std::string& table,
                                             const std::string& columns, int columnCount);
    ~PostgresRows();
    PostgresRows(const PostgresRows&) = delete;
    PostgresRows& operator=(const PostgresRows&) = delete;

    // The next value (a whole number, bytes or a text); the COPY starts with the first one.
    bool Add(const QVariant& value);
    // Ends the COPY and takes the server's answer; false with the reason in Error().
    bool Finish();
    const std::string& Error() const { return error_; }

  private:
    PostgresRows(pg_conn* connection, std::string copy, int columnCount)
        : connection_(connection), copy_(std::move(copy)), columnCount_(columnCount) {}
    bool Send();
    bool Fail(const std::string& what);

    pg_conn* connection_;
    std::string copy_; // the COPY statement
    int columnCount_;
    int column_ = 0;
    bool copying_ = false;
    std::string buffer_; // rows in COPY's text format, sent about a megabyte at a time
    std::string error_;
};

} // namespace qla::db
