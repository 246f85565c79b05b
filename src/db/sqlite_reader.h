// Reading many rows through SQLite's own interface on the connection Qt SQL opened, without a
// QVariant and a copy for each value: the chat views stream hundreds of thousands of rows.
#pragma once

#include "db/engine_libraries.h"

#include <QSqlDatabase>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

class SqliteReader {
  public:
    // Nullptr when the connection is no SQLite connection; otherwise a reader whose Error()
    // says why the statement could not be prepared, if it could not.
    static std::unique_ptr<SqliteReader> For(QSqlDatabase& connection, const std::string& select,
                                             const std::vector<std::int64_t>& numbers);
    ~SqliteReader();
    SqliteReader(const SqliteReader&) = delete;
    SqliteReader& operator=(const SqliteReader&) = delete;

    // The next row; false at the end or on failure (then Error() is set).
    bool Next();
    std::int64_t Number(int column) const;
    // Valid until the next call of Next.
    std::string_view Bytes(int column) const;
    const std::string& Error() const { return error_; }

  private:
    explicit SqliteReader(sqlite3* handle) : handle_(handle) {}

    SqliteLibrary sqlite_;
    sqlite3* handle_;
    sqlite3_stmt* statement_ = nullptr;
    std::string error_;
};

} // namespace qla::db
