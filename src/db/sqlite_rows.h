// Rows inserted through SQLite's own interface on the connection Qt SQL opened: Qt's binding
// of a value costs several times what SQLite's storing of it costs, and an import binds
// millions. Only for inserts inside the caller's transaction; everything else goes through Qt.
#pragma once

#include "db/engine_libraries.h"

#include <QSqlDatabase>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

// SQLite's own handle of a connection Qt SQL opened; nullptr for a connection of another engine.
sqlite3* SqliteHandleOf(QSqlDatabase& connection);

// `statementStart` ("INSERT INTO t (a, b) VALUES ") followed by `rows` rows of `columnCount`
// placeholders each.
std::string MultiRowInsert(std::string_view statementStart, int columnCount, int rows);

// Rows are gathered and stored kRowsPerStatement at a time by one multi-row INSERT: a statement
// per row cost SQLite a third more than the storing itself (a run of the statement for each).
class SqliteRows {
  public:
    static constexpr int kRowsPerStatement = 128;

    // `statementStart`: "INSERT INTO t (a, b) VALUES ". Nullptr when the connection is no SQLite
    // connection.
    static std::unique_ptr<SqliteRows> For(QSqlDatabase& connection,
                                           const std::string& statementStart, int columnCount);
    ~SqliteRows();
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    // Gather the next value; bytes and texts are copied. False with the engine's message in
    // Error() on failure.
    bool AddNumber(std::int64_t value);
    bool AddBytes(std::string_view bytes); // a blob, never NULL (empty stays empty)
    bool AddText(std::string_view utf8);
    // Stores the rows gathered since the last statement; every row is stored only then.
    bool Finish();
    const std::string& Error() const { return error_; }

  private:
    enum class Kind : std::uint8_t { Number, Bytes, Text };
    struct Value {
        Kind Of = Kind::Number;
        std::int64_t Number = 0; // or, for bytes and texts, their place in bytes_
        std::size_t Size = 0;
    };

    SqliteRows(sqlite3* handle, int columnCount) : handle_(handle), columnCount_(columnCount) {}
    bool Check(int code);
    bool Gathered(Value value);
    // Binds the values from `first` on, one row's or kRowsPerStatement rows', and stores them.
    bool Store(sqlite3_stmt* statement, std::size_t first, std::size_t count);

    SqliteLibrary sqlite_;
    sqlite3* handle_;
    sqlite3_stmt* many_ = nullptr;
    sqlite3_stmt* one_ = nullptr;
    int columnCount_;
    std::vector<Value> values_;
    std::string bytes_;
    std::string error_;
};

} // namespace qla::db
