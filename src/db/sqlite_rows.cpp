// Inserting through sqlite3_bind_* and sqlite3_step.
#include "db/sqlite_rows.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <cstring>

namespace qla::db {

sqlite3* SqliteHandleOf(QSqlDatabase& connection) {
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

std::unique_ptr<SqliteRows> SqliteRows::For(QSqlDatabase& connection, const std::string& insert,
                                            int columnCount) {
    sqlite3* database = SqliteHandleOf(connection);
    if (database == nullptr)
        return nullptr;
    std::unique_ptr<SqliteRows> rows(new SqliteRows(database, columnCount));
    // A failure is kept and reported by the first Add.
    rows->Check(sqlite3_prepare_v2(database, insert.c_str(), -1, &rows->statement_, nullptr));
    return rows;
}

SqliteRows::~SqliteRows() {
    sqlite3_finalize(statement_);
}

bool SqliteRows::Check(int code) {
    if (code == SQLITE_OK || code == SQLITE_DONE || code == SQLITE_ROW)
        return true;
    if (error_.empty())
        error_ = sqlite3_errmsg(handle_);
    return false;
}

bool SqliteRows::AddNumber(std::int64_t value) {
    if (!error_.empty())
        return false;
    return Bound(sqlite3_bind_int64(statement_, ++column_, value));
}

bool SqliteRows::AddBytes(std::string_view bytes) {
    if (!error_.empty())
        return false;
    // A null pointer would bind NULL: an empty value is bound as an empty blob.
    return Bound(sqlite3_bind_blob64(statement_, ++column_, bytes.empty() ? "" : bytes.data(),
                                     bytes.size(), SQLITE_STATIC));
}

bool SqliteRows::AddText(std::string_view utf8) {
    if (!error_.empty())
        return false;
    return Bound(sqlite3_bind_text64(statement_, ++column_, utf8.empty() ? "" : utf8.data(),
                                     utf8.size(), SQLITE_STATIC, SQLITE_UTF8));
}

bool SqliteRows::Bound(int code) {
    if (!Check(code))
        return false;
    if (column_ < columnCount_)
        return true;
    column_ = 0;
    const bool stepped = Check(sqlite3_step(statement_));
    sqlite3_reset(statement_);
    return stepped;
}

} // namespace qla::db
