// Stepping through rows with sqlite3_step and sqlite3_column_*.
#include "db/sqlite_reader.h"

#include "db/sqlite_rows.h"

namespace qla::db {

std::unique_ptr<SqliteReader> SqliteReader::For(QSqlDatabase& connection, const std::string& select,
                                                const std::vector<std::int64_t>& numbers) {
    sqlite3* database = SqliteHandleOf(connection);
    if (database == nullptr)
        return nullptr;
    std::unique_ptr<SqliteReader> reader(new SqliteReader(database));
    const auto library = LoadSqliteLibrary(reader->error_);
    if (!library)
        return reader;
    const SqliteLibrary& sqlite = reader->sqlite_ = *library;
    if (sqlite.PrepareV2(database, select.c_str(), -1, &reader->statement_, nullptr) != SQLITE_OK) {
        reader->error_ = sqlite.ErrorMessage(database);
        return reader;
    }
    for (std::size_t i = 0; i < numbers.size(); ++i)
        sqlite.BindInt64(reader->statement_, static_cast<int>(i + 1), numbers[i]);
    return reader;
}

SqliteReader::~SqliteReader() {
    if (sqlite_.Finalize != nullptr)
        sqlite_.Finalize(statement_);
}

bool SqliteReader::Next() {
    if (!error_.empty())
        return false;
    const int code = sqlite_.Step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE)
        error_ = sqlite_.ErrorMessage(handle_);
    return false;
}

std::int64_t SqliteReader::Number(int column) const {
    return sqlite_.ColumnInt64(statement_, column);
}

std::string_view SqliteReader::Bytes(int column) const {
    const void* data = sqlite_.ColumnBlob(statement_, column);
    const int size = sqlite_.ColumnBytes(statement_, column);
    return data == nullptr
               ? std::string_view()
               : std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

} // namespace qla::db
