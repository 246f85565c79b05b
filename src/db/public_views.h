// The views other tools query with plain SQL: each player's figures per log and over all logs,
// his weapons and who killed whom, by exact player name. docs/database.md describes them.
#pragma once

#include <QSqlDatabase>

#include <string>

namespace qla::db {

// Creates the views, or recreates them where they exist, so that an upgrade brings them to this
// version's definitions; false with the reason in `error`.
bool CreatePublicViews(QSqlDatabase& connection, std::string& error);

} // namespace qla::db
