// Inserting through sqlite3_bind_* and sqlite3_step, many rows a statement.
#include "db/sqlite_rows.h"

#include <QSqlDriver>
#include <QVariant>

#include <cstring>

namespace qla::db {

sqlite3* SqliteHandleOf(QSqlDatabase& connection) {
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

std::string MultiRowInsert(std::string_view statementStart, int columnCount, int rows) {
    std::string row = "(?";
    for (int c = 1; c < columnCount; ++c)
        row += ", ?";
    row += ')';
    std::string sql(statementStart);
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            sql += ", ";
        sql += row;
    }
    return sql;
}

std::unique_ptr<SqliteRows> SqliteRows::For(QSqlDatabase& connection,
                                            const std::string& statementStart, int columnCount) {
    sqlite3* database = SqliteHandleOf(connection);
    if (database == nullptr)
        return nullptr;
    std::unique_ptr<SqliteRows> rows(new SqliteRows(database, columnCount));
    const auto library = LoadSqliteLibrary(rows->error_);
    if (!library)
        return rows; // the failure is reported by the first Add
    rows->sqlite_ = *library;
    const std::string many = MultiRowInsert(statementStart, columnCount, kRowsPerStatement);
    const std::string one = MultiRowInsert(statementStart, columnCount, 1);
    // A failure is kept and reported by the first Add.
    rows->Check(rows->sqlite_.PrepareV2(database, many.c_str(), -1, &rows->many_, nullptr)) &&
        rows->Check(rows->sqlite_.PrepareV2(database, one.c_str(), -1, &rows->one_, nullptr));
    rows->values_.reserve(static_cast<std::size_t>(kRowsPerStatement * columnCount));
    return rows;
}

SqliteRows::~SqliteRows() {
    if (sqlite_.Finalize != nullptr) {
        sqlite_.Finalize(many_);
        sqlite_.Finalize(one_);
    }
}

bool SqliteRows::Check(int code) {
    if (code == SQLITE_OK || code == SQLITE_DONE || code == SQLITE_ROW)
        return true;
    if (error_.empty())
        error_ = sqlite_.ErrorMessage(handle_);
    return false;
}

bool SqliteRows::AddNumber(std::int64_t value) {
    return Gathered({Kind::Number, value, 0});
}

bool SqliteRows::AddBytes(std::string_view bytes) {
    const auto at = static_cast<std::int64_t>(bytes_.size());
    bytes_.append(bytes);
    return Gathered({Kind::Bytes, at, bytes.size()});
}

bool SqliteRows::AddText(std::string_view utf8) {
    const auto at = static_cast<std::int64_t>(bytes_.size());
    bytes_.append(utf8);
    return Gathered({Kind::Text, at, utf8.size()});
}

bool SqliteRows::Gathered(Value value) {
    if (!error_.empty())
        return false;
    values_.push_back(value);
    if (values_.size() < static_cast<std::size_t>(kRowsPerStatement * columnCount_))
        return true;
    const bool stored = Store(many_, 0, values_.size());
    values_.clear();
    bytes_.clear();
    return stored;
}

bool SqliteRows::Finish() {
    if (!error_.empty())
        return false;
    bool stored = true;
    const auto columns = static_cast<std::size_t>(columnCount_);
    for (std::size_t first = 0; stored && first + columns <= values_.size(); first += columns)
        stored = Store(one_, first, columns);
    values_.clear();
    bytes_.clear();
    return stored;
}

bool SqliteRows::Store(sqlite3_stmt* statement, std::size_t first, std::size_t count) {
    int column = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        const Value& value = values_[i];
        // A null pointer would bind NULL: an empty value is bound as an empty blob or text.
        const char* data = value.Size == 0 ? "" : bytes_.data() + value.Number;
        int code = SQLITE_OK;
        switch (value.Of) {
        case Kind::Number:
            code = sqlite_.BindInt64(statement, ++column, value.Number);
            break;
        case Kind::Bytes:
            code = sqlite_.BindBlob64(statement, ++column, data, value.Size, SQLITE_STATIC);
            break;
        case Kind::Text:
            code = sqlite_.BindText64(statement, ++column, data, value.Size, SQLITE_STATIC,
                                      SQLITE_UTF8);
            break;
        }
        if (!Check(code))
            return false;
    }
    const bool stepped = Check(sqlite_.Step(statement));
    sqlite_.Reset(statement);
    return stepped;
}

} // namespace qla::db
