// Rows inserted through SQLite's own interface on the connection Qt SQL opened: Qt's binding
// of a value costs several times what SQLite's storing of it costs, and an import binds
// millions. Only for inserts inside the caller's transaction; everything else goes through Qt.
#pragma once

#include <QSqlDatabase>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace qla::db {

// SQLite's own handle of a connection Qt SQL opened; nullptr for a connection of another engine.
sqlite3* SqliteHandleOf(QSqlDatabase& connection);

class SqliteRows {
  public:
    // Nullptr when the connection is no SQLite connection.
    static std::unique_ptr<SqliteRows> For(QSqlDatabase& connection, const std::string& insert,
                                           int columnCount);
    ~SqliteRows();
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    // Bind the next value; the row is stored when its last value is bound. Bytes and texts are
    // not copied: they must stay valid until the row's last value is added. False with the
    // engine's message in Error() on failure.
    bool AddNumber(std::int64_t value);
    bool AddBytes(std::string_view bytes); // a blob, never NULL (empty stays empty)
    bool AddText(std::string_view utf8);
    const std::string& Error() const { return error_; }

  private:
    SqliteRows(sqlite3* handle, int columnCount) : handle_(handle), columnCount_(columnCount) {}
    bool Check(int code);
    // Stores the row once its last value is bound.
    bool Bound(int code);

    sqlite3* handle_;
    sqlite3_stmt* statement_ = nullptr;
    int columnCount_;
    int column_ = 0;
    std::string error_;
};

} // namespace qla::db
