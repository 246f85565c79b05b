// Inserting through sqlite3_bind_* and sqlite3_step.
#include "db/sqlite_rows.h"

#include <QByteArray>
#include <QSqlDriver>

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
    if (!rows->Check(sqlite3_prepare_v2(database, insert.c_str(), -1, &rows->statement_, nullptr)))
        return rows; // the error is kept and reported by the first Add
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

bool SqliteRows::Add(const QVariant& value) {
    if (!error_.empty())
        return false;
    const int at = ++column_;
    int code = SQLITE_OK;
    switch (value.metaType().id()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        code = sqlite3_bind_int64(statement_, at, value.toLongLong());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        code = sqlite3_bind_blob64(statement_, at, bytes.constData(),
                                   static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QString: {
        const QByteArray text = value.toString().toUtf8();
        code = sqlite3_bind_text64(statement_, at, text.constData(),
                                   static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
        break;
    }
    default:
        code = value.isNull() ? sqlite3_bind_null(statement_, at)
                              : sqlite3_bind_int64(statement_, at, value.toLongLong());
    }
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
