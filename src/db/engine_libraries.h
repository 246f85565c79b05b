// The few functions of the engines' own client libraries that qla calls itself: SQLite's
// interface (the import's rows, the chat views' rows, telling a database file), libpq's COPY.
// They are looked up in the library when a writer or reader is made, not linked into qla:
// linked, libpq and the fifteen libraries it needs took 7 MB of every process and time at every
// start, commands that open no database included. When a database is open, Qt's driver for it
// has loaded its engine's library already, and the lookup finds that one.
#pragma once

#include <libpq-fe.h>
#include <sqlite3.h>

#include <optional>
#include <string>

namespace qla::db {

struct SqliteLibrary {
    decltype(&sqlite3_open_v2) OpenV2 = nullptr;
    decltype(&sqlite3_close) Close = nullptr;
    decltype(&sqlite3_prepare_v2) PrepareV2 = nullptr;
    decltype(&sqlite3_step) Step = nullptr;
    decltype(&sqlite3_reset) Reset = nullptr;
    decltype(&sqlite3_finalize) Finalize = nullptr;
    decltype(&sqlite3_errmsg) ErrorMessage = nullptr;
    decltype(&sqlite3_bind_int64) BindInt64 = nullptr;
    decltype(&sqlite3_bind_blob64) BindBlob64 = nullptr;
    decltype(&sqlite3_bind_text64) BindText64 = nullptr;
    decltype(&sqlite3_column_int64) ColumnInt64 = nullptr;
    decltype(&sqlite3_column_blob) ColumnBlob = nullptr;
    decltype(&sqlite3_column_bytes) ColumnBytes = nullptr;
};

struct PostgresLibrary {
    decltype(&PQexec) Exec = nullptr;
    decltype(&PQputCopyData) PutCopyData = nullptr;
    decltype(&PQputCopyEnd) PutCopyEnd = nullptr;
    decltype(&PQgetResult) GetResult = nullptr;
    decltype(&PQresultStatus) ResultStatus = nullptr;
    decltype(&PQresultErrorMessage) ResultErrorMessage = nullptr;
    decltype(&PQerrorMessage) ErrorMessage = nullptr;
    decltype(&PQclear) Clear = nullptr;
};

// The functions, from the library loaded already or loaded now (and kept loaded: the functions
// handed out stay valid); nothing, with the reason in `error`, when it cannot be loaded.
std::optional<SqliteLibrary> LoadSqliteLibrary(std::string& error);
std::optional<PostgresLibrary> LoadPostgresLibrary(std::string& error);

} // namespace qla::db
