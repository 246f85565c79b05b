// Stepping through rows with sqlite3_step and sqlite3_column_*.
#include "db/sqlite_reader.h"

#include "db/sqlite_rows.h"

#include <sqlite3.h>

namespace qla::db {

std::unique_ptr<SqliteReader> SqliteReader::For(QSqlDatabase& connection, const std::string& select,
                                                const std::vector<std::int64_t>& numbers) {
    sqlite3* database = SqliteHandleOf(connection);
    if (database == nullptr)
        return nullptr;
    std::unique_ptr<SqliteReader> reader(new SqliteReader(database));
    if (sqlite3_prepare_v2(database, select.c_str(), -1, &reader->statement_, nullptr) !=
        SQLITE_OK) {
        reader->error_ = sqlite3_errmsg(database);
        return reader;
    }
    for (std::size_t i = 0; i < numbers.size(); ++i)
        sqlite3_bind_int64(reader->statement_, static_cast<int>(i + 1), numbers[i]);
    return reader;
}

SqliteReader::~SqliteReader() {
    sqlite3_finalize(statement_);
}

bool SqliteReader::Next() {
    if (!error_.empty())
        return false;
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE)
        error_ = sqlite3_errmsg(handle_);
    return false;
}

std::int64_t SqliteReader::Number(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string_view SqliteReader::Bytes(int column) const {
    const void* data = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return data == nullptr
               ? std::string_view()
               : std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

} // namespace qla::db
