// The tables of a statistics database (docs/database.md describes them) and its version.
#pragma once

#include <QSqlDatabase>

#include <string>

namespace qla::db {

inline constexpr int kSchemaVersion = 1;

// Creates every table and the version row in an empty database, inside the caller's write
// transaction. False with the engine's message on failure.
bool CreateSchema(QSqlDatabase& connection, std::string& error);

// Checks the version row: empty when this program reads the database, else why not.
std::string SchemaProblem(QSqlDatabase& connection, const std::string& path);

// True when the database holds no tables at all (a new file).
bool IsEmptyDatabase(QSqlDatabase& connection);

} // namespace qla::db
